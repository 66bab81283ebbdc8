// The Georgia amounts of tax year 2018, in one table, each beside the rule
// that applies it. The form routines read them here, never as literals of
// their own; a new year changes this file.
//
// Amounts are whole dollars unless said otherwise. A routine that brings
// amounts of its own adds them under the heading of its form, in the same
// way: the amount, its name, and the rule in a comment beside it.
#pragma once

#include <array>
#include <cstdint>

#include "module/frame/FilingCodes.h"

namespace GACalculationMgmt::TaxYear {

inline constexpr int kYear = 2018;

// An amount that depends on the Georgia filing status; a status outside 1 to
// 4 takes the single filer's amount.
struct ByFilingStatus {
    double single;
    double joint;
    double separate;
    double headOfHousehold;

    constexpr double of(int status) const {
        switch (status) {
            case FilingStatus::kJoint:
                return joint;
            case FilingStatus::kSeparate:
                return separate;
            case FilingStatus::kHeadOfHousehold:
                return headOfHousehold;
            default:
                return single;
        }
    }
};

// ---- form 70: deductions and exemptions

// The standard deduction of a return whose federal return takes the standard
// deduction (form 70 line 65).
inline constexpr ByFilingStatus kStandardDeduction{4600, 6000, 3000, 4600};
// Added to the standard deduction for each box "65 or over" or "blind" marked
// on the federal return (form 70 line 71).
inline constexpr double kAgedOrBlindAddition = 1300;
// The personal exemption of each filer (form 70 line 82).
inline constexpr ByFilingStatus kFilerExemption{2700, 3700, 3700, 2700};
// The exemption of each dependent (form 70 line 331).
inline constexpr double kDependentExemption = 3000;
// Georgia withholding that falls short of the federal deduction for income
// taxes by no more than this counts as all of it (form 70 line 74).
inline constexpr double kWithholdingTolerance = 5.00;

// ---- form 70: low-income credit

// The credit per person by federal adjusted gross income: an income up to and
// including upTo takes perPerson. Above the last band there is no credit.
struct LowIncomeBand {
    double upTo;
    double perPerson;
};
inline constexpr std::array<LowIncomeBand, 5> kLowIncomeCreditBands{{
    {5999, 26},
    {7999, 20},
    {9999, 14},
    {14999, 8},
    {19999, 5},
}};
// The highest federal adjusted gross income that takes the credit.
inline constexpr double kLowIncomeCreditIncomeLimit = kLowIncomeCreditBands.back().upTo;

constexpr double lowIncomeCreditPerPerson(double federalAgi) {
    for (const LowIncomeBand& band : kLowIncomeCreditBands) {
        if (federalAgi <= band.upTo) {
            return band.perPerson;
        }
    }
    return 0;
}

// ---- the rate schedule (form 70 line 84, and the other-state credit)

// Below this taxable income the tax is that of the midpoint of the income's
// $100 bracket; from it on, that of the income itself.
inline constexpr double kMidpointIncomeLimit = 100000;
inline constexpr double kBracketWidth = 100;
// A single filer whose working amount stays below this owes no tax.
inline constexpr double kSingleNoTaxBelow = 100;

// One column of the rate schedule: the lower edge of each bracket in dollars
// (the edge itself belongs to the bracket below) and the tax at that edge.
// The rate is 1 % in the first bracket and one point more in each next one.
struct RateColumn {
    std::int64_t over[6];
    std::int64_t base[6];
};
// Single (status 1).
inline constexpr RateColumn kSingleRates{{0, 750, 2250, 3750, 5250, 7000}, {0, 8, 38, 83, 143, 230}};
// Married filing separately (status 3).
inline constexpr RateColumn kSeparateRates{{0, 500, 1500, 2500, 3500, 5000}, {0, 5, 25, 55, 95, 170}};
// Married filing jointly, head of household, and any other status.
inline constexpr RateColumn kJointRates{{0, 1000, 3000, 5000, 7000, 10000}, {0, 10, 50, 110, 190, 340}};

// ---- form 189215: additions, subtractions and the retirement exclusion

// ---- form 189217: part-year and nonresident schedule

// ---- credits: IND-CR worksheets, forms 74 and 73, credit summary

// ---- payments: estimated tax, vouchers, underpayment penalty, amended return

}  // namespace GACalculationMgmt::TaxYear
