// The host's numbering of the common federal items: the figures of the
// federal return that a state return asks for by number, amounts and counts
// through StateDataMgmt::StateTaxReturn::pullCommon, texts and boxes through
// the state layer's pullCommonText.
//
// The type is the host's pass-through number: any 32-bit value is valid
// (Utils::PCTypes{18}), so a return file may seed an item the list below does
// not name. Every item that the Georgia calculation reads has a name here;
// code asks for it by that name (Utils::PCTypes::kFederalAgi). A routine
// that needs a further item adds its enumerator here, with what the item
// holds and which Georgia lines take it.
#pragma once

#include <cstdint>

namespace Utils {

enum PCTypes : std::int32_t {
    // ---- amounts and counts (pullCommon)

    // The federal filing status: 1 single, 2 married filing jointly,
    // 3 married filing separately, 4 head of household, 5 qualifying
    // widow(er). Form 70 turns it into the Georgia filing-status letter.
    kFederalFilingStatus = 1,
    // The number of dependents the federal return lists (the marked copies
    // of federal form 113): form 70's dependent rows and exemptions, and the
    // document list.
    kDependents = 4,
    // The dependents that the low-income credit counts besides the filers
    // (form 70 line 349).
    kLowIncomeCreditDependents = 5,
    // 1 when the taxpayer, resp. the spouse of a joint return, is 65 or over:
    // the low-income credit counts such a filer once more (form 70 line 91).
    kTaxpayerAged65 = 9,
    kSpouseAged65 = 10,
    // The taxpayer's and the spouse's wages beyond the W-2 wages: the state
    // wage worksheet adds them under its wages line (state form 4 line 29).
    kOtherWagesTaxpayer = 14,
    kOtherWagesSpouse = 15,
    // The taxpayer's and the spouse's wages: the first earned-income line of
    // their retirement exclusion (form 189215 lines 189295 and 189296). The
    // review compares the two together with the federal adjusted gross
    // income when it asks for the federal return to be attached.
    kWagesTaxpayer = 16,
    kWagesSpouse = 17,
    // Taxable interest and ordinary dividends: column A of state form 4
    // lines 35 and 36, and row 2 of the part-year schedule.
    kTaxableInterest = 18,
    kOrdinaryDividends = 20,
    // Taxable refunds of state and local income taxes: the part beyond the
    // amounts subtracted by state (form 189215 line 189386) is other income
    // of the retirement exclusion.
    kTaxableRefunds = 22,
    // Capital gains: a shared line of the retirement exclusion (189307).
    kCapitalGains = 25,
    // The taxpayer's and the spouse's earned income besides wages and
    // business income: added to their business income on the exclusion's
    // second earned-income line (189297, 189298).
    kOtherEarnedTaxpayer = 27,
    kOtherEarnedSpouse = 28,
    // Rents, royalties and pass-through income: a shared line of the
    // exclusion (189309).
    kRentsAndRoyalties = 29,
    // Other income: part of the exclusion's other-income line (189311).
    kOtherIncome = 31,
    // The taxpayer's and the spouse's taxable IRA distributions (189313,
    // 189314).
    kIraDistributionsTaxpayer = 35,
    kIraDistributionsSpouse = 36,
    // The taxpayer's and the spouse's taxable pensions and annuities (189315,
    // 189316), less the disability income that the exclusion takes whole.
    kPensionsTaxpayer = 40,
    kPensionsSpouse = 41,
    // Further unearned income: a shared line of the exclusion (189317).
    kOtherUnearned = 46,
    // The taxpayer's and the spouse's business income: the second
    // earned-income line of the exclusion (189297, 189298).
    kBusinessIncomeTaxpayer = 50,
    kBusinessIncomeSpouse = 51,
    // Taxable social security benefits, which Georgia subtracts (form
    // 189215 line 189370).
    kTaxableSocialSecurity = 58,
    // Other gains: the part beyond federal form 57 line 75 is other income of
    // the exclusion.
    kOtherGains = 61,
    // The taxpayer's and the spouse's adjustment that the state wage
    // worksheet allocates on its lines 97 and 100.
    kWorksheetAdjustmentTaxpayer = 71,
    kWorksheetAdjustmentSpouse = 72,
    // Federal adjusted gross income (form 70 line 62, state form 4 line 115).
    kFederalAgi = 80,
    // 1 when someone else may claim the filer as a dependent: no low-income
    // credit then.
    kClaimedAsDependent = 82,
    // The federal itemized deductions (form 70 line 73), and 1 when the
    // federal return itemizes, 0 when it takes the standard deduction.
    kItemizedDeductions = 85,
    kItemizes = 86,
    // The federal credit for child and dependent care expenses; Georgia
    // worksheet IND-CR 202 (form 190055) takes a share of it.
    kFederalChildCareCredit = 90,
    // Depreciation items whose sum is the depreciation difference that
    // Georgia adds back (form 189215 line 189286), and a further item; each
    // marks an indicator line of form 189215 for the review.
    kDepreciationItemA = 153,
    kDepreciationItemB = 155,
    kDepreciationItemC = 161,

    // ---- texts and boxes (pullCommonText): items 116 to 150
    // The items of this range without a name are heading texts and boxes
    // that no Georgia form asks for; pullCommonText fills them by number.
    kFirstTextItem = 116,
    // The boxes "65 or over" and "blind" of the taxpayer and of the spouse
    // on the federal return: each marked box adds to the Georgia standard
    // deduction.
    kTaxpayerAged65Box = 125,
    kTaxpayerBlindBox = 126,
    kSpouseAged65Box = 127,
    kSpouseBlindBox = 128,
    // Items 131 to 140 only close the target field to entry.
    kFirstNoEntryItem = 131,
    kLastNoEntryItem = 140,
    // The taxpayer's and the spouse's date of death.
    kTaxpayerDateOfDeath = 144,
    kSpouseDateOfDeath = 145,
    // Direct deposit of the refund: whether the federal refund goes by
    // direct deposit, the routing number, the account number, and the boxes
    // of a checking or a savings account.
    kDirectDepositBox = 146,
    kRefundRoutingNumber = 147,
    kRefundAccountNumber = 148,
    kRefundToChecking = 149,
    kRefundToSavings = 150,
    kLastTextItem = 150,
};

}  // namespace Utils
