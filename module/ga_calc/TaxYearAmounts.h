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

// A ratio of income is kept in ten-thousandths of the whole: the Georgia
// ratio of the part-year schedule (form 189217 line 189453), the other-state
// credit's ratio of form 73 and the ratio of the estimated tax worksheet.
// 10,000 is the whole; a ratio times kRatioToFraction is the fraction it
// stands for.
inline constexpr double kWholeRatio = 10000;
inline constexpr double kRatioToFraction = 1 / kWholeRatio;
static_assert(kRatioToFraction == 0.0001);

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
// A full-year resident whose federal adjusted gross income reaches this is
// reminded to attach the federal return to a paper return (form 70 review).
inline constexpr std::int64_t kAttachFederalReturnFrom = 40000;

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

// One band of a rate schedule: the part of an income above the band's lower
// edge (in dollars; the edge itself belongs to the band below) is taxed at
// the band's rate, on top of the tax at the edge (whole dollars). The rate is
// kept in hundredths of a percent, so that 1 % is 100 and 5.75 % is 575. The
// same shape holds this year's schedule and next year's (TaxYear2019Amounts.h).
struct RateBand {
    std::int64_t over;
    std::int64_t base;
    std::int64_t rate;
};
inline constexpr std::int64_t kRateUnitsPerPercent = 100;
inline constexpr double kRateUnitsPerWhole = 100.0 * kRateUnitsPerPercent;
// One column of a schedule: its six bands from the lowest up; a band reaches
// up to the next one's edge, the last one has no limit.
using RateColumn = std::array<RateBand, 6>;

// This year's rates: 1 % in the first band and one point more in each next
// one.
// Single (status 1).
inline constexpr RateColumn kSingleRates{{
    {0, 0, 100},
    {750, 8, 200},
    {2250, 38, 300},
    {3750, 83, 400},
    {5250, 143, 500},
    {7000, 230, 600},
}};
// Married filing separately (status 3).
inline constexpr RateColumn kSeparateRates{{
    {0, 0, 100},
    {500, 5, 200},
    {1500, 25, 300},
    {2500, 55, 400},
    {3500, 95, 500},
    {5000, 170, 600},
}};
// Married filing jointly, head of household, and any other status.
inline constexpr RateColumn kJointRates{{
    {0, 0, 100},
    {1000, 10, 200},
    {3000, 50, 300},
    {5000, 110, 400},
    {7000, 190, 500},
    {10000, 340, 600},
}};

// ---- form 189215: additions, subtractions and the retirement exclusion

// A filer born in this year or before (62 or older by the end of the year)
// qualifies for the retirement income exclusion by age.
inline constexpr int kRetirementLatestBirthYear = 1956;
// A filer born in this year or before (65 or older) has the full limit of
// the exclusion; a younger one, and one who qualifies by disability, the
// lower limit.
inline constexpr int kRetirementFullLimitLatestBirthYear = 1953;
inline constexpr double kRetirementFullLimit = 65000;
inline constexpr double kRetirementLowerLimit = 35000;
// The exclusion counts a filer's earned income up to this amount.
inline constexpr double kRetirementEarnedIncomeLimit = 4000;
// Federal form 28 amounts of keys 1, 2, 3 and 6 above this total mark line
// 189235 for the review.
inline constexpr double kForm28KeyedAmountLimit = 134000;
// The review refuses a subtraction of payments to minority subcontractors
// (line 189396) or of organ donor expenses (line 189399) above these.
inline constexpr std::int64_t kMinorityContractorLimit = 100000;
inline constexpr std::int64_t kOrganDonorLimit = 10000;
// One of the part-year subtractions counts up to this amount.
inline constexpr double kPartYearSubtractionLimit = 10000;
// Box 189344 of a return that itemizes: marked when a joint return's federal
// adjusted gross income, or any other return's interest on U.S.
// obligations, is below these.
inline constexpr double kItemizedJointIncomeLimit = 105000;
inline constexpr double kItemizedOtherLimit = 55000;

// ---- credits: IND-CR worksheets, forms 74 and 73, credit summary

// IND-CR 201 (form 190054): the first line when the first of its two boxes
// is marked, and the most that each of the four further lines counts.
inline constexpr double kIndCr201BoxAmount = 500;
inline constexpr double kIndCr201LineCap = 125;
// IND-CR 202 (form 190055): the share of the federal credit for child and
// dependent care expenses, and the rate the worksheet shows (percent).
inline constexpr double kIndCr202Rate = 0.3;
inline constexpr double kIndCr202RateShown = 30;
// The most the federal credit itself can be: 35 % of at most 3,000 of
// expenses for one qualifying person, or of 6,000 for two or more. A
// larger entry is told to the preparer; the worksheet takes what is given.
inline constexpr double kFederalCareCreditMostForOne = 1050;
inline constexpr double kFederalCareCreditMostForMore = 2100;
// IND-CR 204 (form 190057): the share of the expenses for a qualifying
// family member, the rate shown (percent), and the most the credit is.
inline constexpr double kIndCr204Rate = 0.1;
inline constexpr double kIndCr204RateShown = 10;
inline constexpr double kIndCr204Limit = 150;
// A qualifying family member is this old or older, or disabled (the review
// asks for one or the other).
inline constexpr std::int64_t kIndCr204QualifyingAge = 62;
// IND-CR 205 (form 190058): the limit added by each of the two amount lines
// that is above 0.
inline constexpr double kIndCr205LimitPerLine = 150;
// IND-CR 206 (form 190059): the most of the disaster assistance that counts,
// and the most the credit is.
inline constexpr double kIndCr206Limit = 500;
// IND-CR 207 (form 190060): the credit of each filer whose practice has more
// than 0 and fewer than kIndCr207BedLimit beds (the spouse's on a joint
// return only).
inline constexpr double kIndCr207CreditPerPractice = 5000;
inline constexpr std::int64_t kIndCr207BedLimit = 101;
// IND-CR 208 (form 190061): a positive amount counts only as a whole
// multiple of this; any other is dropped.
inline constexpr std::int64_t kIndCr208Multiple = 2000;
// IND-CR 209 (form 190062): the share of its base, exactly 0.3333 (not one
// third).
inline constexpr double kIndCr209Rate = 0.3333;

// The qualified education expense credit (form 187981): the most the
// individual part gives, by filing status.
inline constexpr ByFilingStatus kEducationCreditLimit{1000, 2500, 1250, 1000};
// The education and rural hospital credits (forms 187981 and 203638): the
// share of the third amount in the part of each kind of donor.
inline constexpr double kDonorSixPercentRate = 0.06;
inline constexpr double kDonorSeventyFivePercentRate = 0.75;
// Their summary block's limit line.
inline constexpr double kExpenseCreditLimitLine = 10000;

// The conservation credit (form 203639): the most of it used in the year,
// through a trust or estate or an entity of a type not named (a partnership
// or LLC, an S corporation), and through a named one.
inline constexpr double kConservationLimitOtherEntity = 250000;
inline constexpr double kConservationLimit = 500000;

// A pass-through business credit (form 203811): the most the second field
// of each of its six rows holds.
inline constexpr double kBusinessCreditRowCap = 10000;

// ---- payments: estimated tax, vouchers, underpayment penalty, amended return

// A calendar date.
struct CalendarDate {
    int month;
    int day;
    int year;
};

// Form 71: the part of the net tax that must be paid in installments during
// the year (line 15), and the part due when the whole is paid in one
// installment on 01/15/2019: 66.66 %, not two thirds.
inline constexpr double kRequiredInstallmentShare = 0.7;
inline constexpr double kOneInstallmentShare = 0.6666;
// Form 71: interest on each late installment, 9 % a year counted by the day.
inline constexpr double kUnderpaymentInterestRate = 0.09;
inline constexpr double kDaysInYear = 365;
// Form 71: the due dates of installments A to D.
inline constexpr std::array<CalendarDate, 4> kInstallmentDueDates{{
    {4, 15, 2018},
    {6, 15, 2018},
    {9, 15, 2018},
    {1, 15, 2019},
}};
// Form 71: interest runs at the latest to the due date of the return.
inline constexpr CalendarDate kInterestEnd{4, 15, 2019};

// The form code that every Georgia payment voucher carries (forms 75, 77 and
// 187982).
inline constexpr const char* kVoucherFormCode = "075";

}  // namespace GACalculationMgmt::TaxYear
