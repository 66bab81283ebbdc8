// The Georgia amounts of tax year 2019 that the estimated-tax worksheet
// (form 75) projects this year's return with, each beside its rule; the
// year's own amounts stand in TaxYearAmounts.h.
#pragma once

#include <array>
#include <cstdint>

#include "module/ga_calc/TaxYearAmounts.h"

namespace GACalculationMgmt::TaxYear2019 {

using TaxYear::ByFilingStatus;

// The standard deduction by filing status (form 75 box 31), and the addition
// for each box "65 or over" and "blind" marked (boxes 32 to 35).
inline constexpr ByFilingStatus kStandardDeduction{4600, 6000, 3000, 4600};
inline constexpr double kAgedOrBlindAddition = 1300;
// The personal exemption of the return (form 75 line 40): a single filer or
// head of household 2,700, a joint return 7,400, and each spouse filing
// separately 3,700, as on form 70; each dependent 3,000.
inline constexpr ByFilingStatus kPersonalExemption{2700, 7400, 3700, 2700};
inline constexpr double kDependentExemption = 3000;

// The retirement income excluded per filer (form 75 line 42), more for a
// filer who is 65 or over in 2019, that is 64 or over by the end of 2018.
inline constexpr double kRetirementLimit = 35000;
inline constexpr double kRetirementLimitAged = 65000;
inline constexpr int kRetirementAgedAgeBy2018 = 64;

// The 2019 rate schedule, in the bands of this year's (TaxYear::RateBand):
// the same edges and bases, and a top rate of 5.75 %. An income up to and
// including the next band's edge is taxed in its band.
using TaxYear::RateColumn;
inline constexpr std::int64_t kTopRate = 575;
// Single (box 26).
inline constexpr RateColumn kSingleRates{{
    {0, 0, 100},
    {750, 8, 200},
    {2250, 38, 300},
    {3750, 83, 400},
    {5250, 143, 500},
    {7000, 230, kTopRate},
}};
// Married filing separately (box 28).
inline constexpr RateColumn kSeparateRates{{
    {0, 0, 100},
    {500, 5, 200},
    {1500, 25, 300},
    {2500, 55, 400},
    {3500, 95, 500},
    {5000, 170, kTopRate},
}};
// Married filing jointly, head of household, and any other status.
inline constexpr RateColumn kJointRates{{
    {0, 0, 100},
    {1000, 10, 200},
    {3000, 50, 300},
    {5000, 110, 400},
    {7000, 190, 500},
    {10000, 340, kTopRate},
}};

// The estimated tax is paid in at most four installments (form 75 line 49).
inline constexpr int kInstallments = 4;

// The voucher due next, by the installments left to pay: its number, due
// date, the date of its scan line, and its voucher code with box 57 marked
// or not.
struct Voucher {
    int installmentsLeft;
    int number;
    const char* dueDate;
    const char* scanDate;
    const char* codeBoxMarked;
    const char* codeBoxUnmarked;
};
inline constexpr std::array<Voucher, kInstallments> kVouchers{{
    {4, 1, "04-15-2019", "041519", "1091", "1092"},
    {3, 2, "06-15-2019", "061519", "2091", "2092"},
    {2, 3, "09-15-2019", "091519", "3091", "3092"},
    {1, 4, "01-15-2020", "011520", "4091", "4092"},
}};
// The document code, filler and year code of the vouchers' scan line.
inline constexpr const char* kVoucherDocumentCode = "500";
inline constexpr const char* kVoucherFiller = "000000000";
inline constexpr const char* kVoucherYearCode = "19";

}  // namespace GACalculationMgmt::TaxYear2019
