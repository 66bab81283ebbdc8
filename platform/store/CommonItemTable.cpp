#include "platform/store/CommonItemTable.h"

#include <algorithm>

namespace PersistanceMgmt {

namespace {

constexpr std::int64_t kMaxCount = 99;  // copies of a federal form listing people
constexpr std::int64_t kAmount = kAmountLimitDollars;
constexpr bool kNeeded = true;
constexpr const char* kListedDependents = "the copies of federal form 113 marked in box 1136";

}  // namespace

const std::vector<CommonItemInfo>& commonItemTable() {
    using namespace Utils;
    static const std::vector<CommonItemInfo> table = {
        {kFederalFilingStatus, "federal-filing-status",
         "federal filing status: 1 single, 2 married filing jointly, 3 married filing separately, "
         "4 head of household, 5 qualifying widow(er)",
         1, 5, false, "the federal return's <FILINGSTATUS>"},
        {kDependents, "dependents", "number of dependents listed on the federal return", 0, kMaxCount, false,
         kListedDependents},
        {kLowIncomeCreditDependents, "low-income-credit-dependents",
         "dependents the low-income credit counts besides the filers", 0, kMaxCount, false, kListedDependents},
        {kTaxpayerAged65, "taxpayer-aged-65", "1 when the taxpayer is 65 or over", 0, 1, false,
         "box 121 of federal form 1 (taxpayer 65 or over), or box 82 of federal form 55 on a return filed on form "
         "1040A"},
        {kSpouseAged65, "spouse-aged-65", "1 when the spouse of a joint return is 65 or over", 0, 1, false,
         "box 123 of federal form 1 (spouse 65 or over), or box 84 of federal form 55 on a return filed on form "
         "1040A"},
        // Wages and the worksheet's adjustments take 0 or more, as their
        // lines of the state wages worksheet do: a full-year resident's
        // Georgia column is a copy of the federal amount.
        {kOtherWagesTaxpayer, "other-wages-taxpayer", "the taxpayer's wages beyond the W-2 wages", 0, kAmount},
        {kOtherWagesSpouse, "other-wages-spouse", "the spouse's wages beyond the W-2 wages", 0, kAmount},
        {kWagesTaxpayer, "wages-taxpayer", "the taxpayer's wages", -kAmount, kAmount, false,
         "box 1 of the taxpayer's W-2s: every copy of federal form 52 on a return that is not joint, the copies of "
         "OWNER=\"taxpayer\" on a joint return"},
        {kWagesSpouse, "wages-spouse", "the spouse's wages", -kAmount, kAmount, false,
         "box 1 of the spouse's W-2s: the copies of federal form 52 of OWNER=\"spouse\" on a joint return"},
        {kTaxableInterest, "taxable-interest", "federal taxable interest", -kAmount, kAmount, false,
         "boxes 1 and 3 of the filers' 1099-INT copies, federal form 166, less the part of each copy's adjustment "
         "(field 27) that the interest statement takes off them (a copy marked the spouse's in its field 3 counts on "
         "a joint return only)"},
        {kOrdinaryDividends, "ordinary-dividends", "federal ordinary dividends", -kAmount, kAmount, false,
         "box 1a of the filers' 1099-DIV copies, federal form 164, less the part of each copy's adjustment (field 32) "
         "that the dividend statement takes off it (a copy marked the spouse's in its field 3 counts on a joint "
         "return only)"},
        {kTaxableRefunds, "taxable-refunds", "taxable refunds of state and local income taxes", 0, kAmount, false,
         "field 80 of federal form 1 (federal Schedule 1 line 10)"},
        {kCapitalGains, "capital-gains", "capital gains", -kAmount, kAmount, false,
         "field 83 of federal form 1 (federal Schedule 1 line 13)"},
        {kOtherEarnedTaxpayer, "other-earned-taxpayer",
         "the taxpayer's earned income besides wages and business income", -kAmount, kAmount},
        {kOtherEarnedSpouse, "other-earned-spouse", "the spouse's earned income besides wages and business income",
         -kAmount, kAmount},
        {kRentsAndRoyalties, "rents-and-royalties", "rents, royalties and pass-through income", -kAmount, kAmount,
         false, "field 90 of federal form 1 (federal Schedule 1 line 17)"},
        {kOtherIncome, "other-income", "other income", -kAmount, kAmount, false,
         "field 99 of federal form 1 (federal Schedule 1 line 21)"},
        {kIraDistributionsTaxpayer, "ira-distributions-taxpayer", "the taxpayer's taxable IRA distributions", 0,
         kAmount, false,
         "field 87 of federal form 1 (federal form 1040 line 4b, the part from IRAs) on a return that is not joint"},
        {kIraDistributionsSpouse, "ira-distributions-spouse", "the spouse's taxable IRA distributions", 0, kAmount},
        {kPensionsTaxpayer, "pensions-taxpayer", "the taxpayer's taxable pensions and annuities", 0, kAmount, false,
         "field 89 of federal form 1 (federal form 1040 line 4b, the part from pensions and annuities) on a return "
         "that is not joint"},
        {kPensionsSpouse, "pensions-spouse", "the spouse's taxable pensions and annuities", 0, kAmount},
        {kOtherUnearned, "other-unearned", "further unearned income of the retirement exclusion", -kAmount, kAmount},
        {kBusinessIncomeTaxpayer, "business-income-taxpayer", "the taxpayer's business income", -kAmount, kAmount,
         false, "field 82 of federal form 1 (federal Schedule 1 line 12) on a return that is not joint"},
        {kBusinessIncomeSpouse, "business-income-spouse", "the spouse's business income", -kAmount, kAmount},
        {kTaxableSocialSecurity, "taxable-social-security", "taxable social security benefits", 0, kAmount, false,
         "field 94 of federal form 1 (federal form 1040 line 5b)"},
        {kOtherGains, "other-gains", "other gains", -kAmount, kAmount, false,
         "field 85 of federal form 1 (federal Schedule 1 line 14)"},
        {kWorksheetAdjustmentTaxpayer, "adjustment-taxpayer",
         "the taxpayer's adjustment that the state wage worksheet allocates", 0, kAmount},
        {kWorksheetAdjustmentSpouse, "adjustment-spouse",
         "the spouse's adjustment that the state wage worksheet allocates", 0, kAmount},
        {kFederalAgi, "federal-agi", "federal adjusted gross income", -kAmount, kAmount, kNeeded},
        {kClaimedAsDependent, "claimed-as-dependent", "1 when someone else may claim the filer as a dependent", 0, 1},
        {kItemizedDeductions, "itemized-deductions", "federal itemized deductions", 0, kAmount},
        {kItemizes, "itemizes", "1 when the federal return itemizes, 0 for the standard deduction", 0, 1},
        {kFederalChildCareCredit, "federal-child-care-credit", "federal credit for child and dependent care expenses",
         0, kAmount},
        {kDepreciationItemA, "depreciation-item-a", "a depreciation amount that Georgia adds back", -kAmount, kAmount},
        {kDepreciationItemB, "depreciation-item-b", "a depreciation amount that the review marks", -kAmount, kAmount},
        {kDepreciationItemC, "depreciation-item-c", "a depreciation amount that Georgia adds back", -kAmount, kAmount},
    };
    return table;
}

const CommonItemInfo* findCommonItem(std::int32_t type) {
    const auto& table = commonItemTable();
    const auto it = std::find_if(table.begin(), table.end(), [&](const CommonItemInfo& i) { return i.type == type; });
    return it == table.end() ? nullptr : &*it;
}

const CommonItemInfo* findCommonItem(std::string_view name) {
    for (const CommonItemInfo& i : commonItemTable()) {
        if (Utils::QVStringUtils::stricmp(name, i.name) == 0) return &i;
    }
    return nullptr;
}

bool isFederalFieldItem(std::int32_t type) { return type >= Utils::kFirstTextItem && type <= Utils::kLastTextItem; }

std::string describeCommonItem(std::int32_t type) {
    const CommonItemInfo* item = findCommonItem(type);
    return "item " + std::to_string(type) + (item != nullptr ? std::string(" (") + item->name + ")" : "");
}

std::string commonItemDomain(const CommonItemInfo& item) {
    if (item.min == 0 && item.max == 1) return "0 or 1";
    if (item.max == kAmount) {
        return item.min == 0 ? std::string("a whole amount from 0 to ") + kAmountLimitText + " dollars"
                             : std::string("a whole amount of at most ") + kAmountLimitText + " dollars either way";
    }
    return "a whole number from " + std::to_string(item.min) + " to " + std::to_string(item.max);
}

}  // namespace PersistanceMgmt
