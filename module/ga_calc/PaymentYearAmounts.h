// The amounts, rates and dates of the payment forms: the 2018 penalty for
// underpaid estimated tax (form 71) and the 2019 estimated tax (form 75),
// each with the rule it serves.
#pragma once

#include <array>
#include <limits>

namespace GACalculationMgmt {

// The form code that every Georgia payment voucher carries.
inline constexpr const char* kVoucherFormCode = "075";

// A calendar date.
struct CalendarDate {
    int month;
    int day;
    int year;
};

// ---- underpaid estimated tax of 2018 (form 71)
struct UnderpaymentAmounts {
    int taxYear;
    // The part of the net tax that must be paid in installments.
    double requiredShare;
    // The part due when the whole is paid in one installment on 01/15/2019:
    // 66.66 %, not two thirds.
    double oneInstallmentShare;
    // Interest on each late amount: 9 % a year, counted by the day.
    double annualInterestRate;
    double daysInYear;
    // The due dates of installments A to D.
    std::array<CalendarDate, 4> dueDates;
    // Interest runs at the latest to the due date of the return.
    CalendarDate interestEnd;
    // What the form shows for a filer exempt from the penalty.
    const char* exemptText;

    constexpr double dailyInterestRate() const { return annualInterestRate / daysInYear; }
};

inline constexpr UnderpaymentAmounts kUnderpayment2018{
    2018,          0.7,
    0.6666,        0.09,
    365.0,         {{{4, 15, 2018}, {6, 15, 2018}, {9, 15, 2018}, {1, 15, 2019}}},
    {4, 15, 2019}, "Exempt,farmer/fisherman",
};

// ---- estimated tax of 2019 (form 75)

// One bracket of the 2019 rate schedule: up to `upTo` (the limit belongs to
// the bracket), base + rate × (income − over). The bases are whole dollars
// (8, not 7.50).
struct EstimatedBracket {
    double upTo;
    double base;
    double rate;
    double over;
};
using EstimatedSchedule = std::array<EstimatedBracket, 6>;

// The voucher due next, by the installments left to pay: its number, due
// date, scan-line date, and the voucher codes with box 57 marked or not.
struct EstimatedVoucher {
    int installmentsLeft;
    int number;
    const char* dueDate;
    const char* scanDate;
    const char* codeBoxMarked;
    const char* codeBoxUnmarked;
};

struct EstimatedTaxAmounts {
    // Single filers.
    EstimatedSchedule single;
    // Married filing separately.
    EstimatedSchedule separate;
    // Married filing jointly and heads of household.
    EstimatedSchedule joint;
    // Personal exemption by filing status: a single filer or head of
    // household, each spouse filing separately, a joint return.
    double exemptionSingle;
    double exemptionSeparate;
    double exemptionJoint;
    double exemptionPerDependent;
    // Standard deduction by filing status, and the addition for each filer
    // aged 65 or over and each blind filer.
    double standardJoint;
    double standardSeparate;
    double standardOther;
    double standardAddition;
    // Retirement income excluded per filer; more for a filer aged 65 or over
    // in 2019, that is 64 or over by the end of 2018.
    double retirementLimit;
    double retirementLimitAged;
    int retirementAgedAge;
    // The most installments a year.
    int installments;
    std::array<EstimatedVoucher, 4> vouchers;
    // Scan-line codes of the vouchers.
    const char* documentCode;
    const char* filler;
    const char* yearCode;
};

inline constexpr double kTopRate2019 = 0.0575;
inline constexpr double kNoLimit = std::numeric_limits<double>::max();

inline constexpr EstimatedTaxAmounts kEstimatedTax2019{
    {{{750, 0, 0.01, 0},
      {2250, 8, 0.02, 750},
      {3750, 38, 0.03, 2250},
      {5250, 83, 0.04, 3750},
      {7000, 143, 0.05, 5250},
      {kNoLimit, 230, kTopRate2019, 7000}}},
    {{{500, 0, 0.01, 0},
      {1500, 5, 0.02, 500},
      {2500, 25, 0.03, 1500},
      {3500, 55, 0.04, 2500},
      {5000, 95, 0.05, 3500},
      {kNoLimit, 170, kTopRate2019, 5000}}},
    {{{1000, 0, 0.01, 0},
      {3000, 10, 0.02, 1000},
      {5000, 50, 0.03, 3000},
      {7000, 110, 0.04, 5000},
      {10000, 190, 0.05, 7000},
      {kNoLimit, 340, kTopRate2019, 10000}}},
    2700,
    3700,
    7400,
    3000,
    6000,
    3000,
    4600,
    1300,
    35000,
    65000,
    64,
    4,
    {{{4, 1, "04-15-2019", "041519", "1091", "1092"},
      {3, 2, "06-15-2019", "061519", "2091", "2092"},
      {2, 3, "09-15-2019", "091519", "3091", "3092"},
      {1, 4, "01-15-2020", "011520", "4091", "4092"}}},
    "500",
    "000000000",
    "19",
};

}  // namespace GACalculationMgmt
