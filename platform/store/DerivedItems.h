// The common items that the host answers from the federal return itself,
// where the federal return states the same fact: the filing status, the
// dependents it lists, the "65 or over" boxes and the amounts held whole in
// one field of the main form filed (form 1040, 1040A or 1040EZ), each
// filer's W-2 wages, the taxable interest of the 1099-INT statements, the
// ordinary dividends of the 1099-DIV statements (each copy's adjustment
// taken off as the interest and dividend statements take it,
// IntDivCopyAmounts.h); and the W-2 split between
// the filers. A seed that disagrees with the federal return is refused, and
// so is a federal return that contradicts itself (a "65 or over" box against
// the filer's birth date, a W-2 of the spouse or a 1099-R marked as the
// spouse's on a return that is not joint, one dependent's number on two
// copies of form 113), and a Georgia return whose part-year residency period
// ends before it begins.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/CommonItems.h"
#include "platform/returnfile/ReturnFile.h"

namespace PersistanceMgmt {

// The federal forms a return may be filed on; the items derived from the
// federal return are answered for each of them.
constexpr std::int32_t kFederalMainForms[] = {1, 55, 87};
// Whether the federal form is one of them. A seeded item is the answer of
// the main form filed, whichever of them the seed names.
bool isFederalMainForm(const Primitives::QVImmutableFormIdentifier& form);

// An item that a federal main form holds whole in one field, read as the
// calculation reads the item. A split item is each filer's own: on a return
// that is not joint the field is the taxpayer's item; on a joint return (or
// one whose filing status is not given) it is the couple's, which the two
// filers' items split, so both stay seeds.
struct MainFormItem {
    std::int32_t field;
    Utils::PCTypes item;                       // the taxpayer's, of a split item
    std::optional<Utils::PCTypes> spouseItem;  // a split item's only
};
// Form 1040's.
inline constexpr MainFormItem kForm1040Items[] = {
    // Taxable refunds of state and local income taxes (Schedule 1 line 10).
    {.field = 80, .item = Utils::kTaxableRefunds, .spouseItem = {}},
    // Business income or loss (Schedule 1 line 12).
    {.field = 82, .item = Utils::kBusinessIncomeTaxpayer, .spouseItem = Utils::kBusinessIncomeSpouse},
    // Capital gain or loss (Schedule 1 line 13).
    {.field = 83, .item = Utils::kCapitalGains, .spouseItem = {}},
    // Other gains or losses (Schedule 1 line 14).
    {.field = 85, .item = Utils::kOtherGains, .spouseItem = {}},
    // Taxable IRA distributions (form 1040 line 4b, the part from IRAs).
    {.field = 87, .item = Utils::kIraDistributionsTaxpayer, .spouseItem = Utils::kIraDistributionsSpouse},
    // Taxable pensions and annuities (form 1040 line 4b, the rest).
    {.field = 89, .item = Utils::kPensionsTaxpayer, .spouseItem = Utils::kPensionsSpouse},
    // Rents, royalties, partnerships, S corporations, trusts (Schedule 1
    // line 17).
    {.field = 90, .item = Utils::kRentsAndRoyalties, .spouseItem = {}},
    // Taxable social security benefits (form 1040 line 5b).
    {.field = 94, .item = Utils::kTaxableSocialSecurity, .spouseItem = {}},
    // Other income (Schedule 1 line 21).
    {.field = 99, .item = Utils::kOtherIncome, .spouseItem = {}},
};
// Form 1040A's: the lines of the same income that it has.
inline constexpr MainFormItem kForm1040AItems[] = {
    // Capital gain distributions.
    {.field = 286, .item = Utils::kCapitalGains, .spouseItem = {}},
    // Taxable IRA distributions.
    {.field = 125, .item = Utils::kIraDistributionsTaxpayer, .spouseItem = Utils::kIraDistributionsSpouse},
    // Taxable pensions and annuities.
    {.field = 127, .item = Utils::kPensionsTaxpayer, .spouseItem = Utils::kPensionsSpouse},
    // Taxable social security benefits.
    {.field = 129, .item = Utils::kTaxableSocialSecurity, .spouseItem = {}},
};

// A federal main form: its number and name, the items it holds whole, and
// its boxes "65 or over" of the taxpayer and the spouse (0 where it has
// none: form 1040EZ holds neither the items nor the boxes).
struct MainForm {
    std::int32_t form;
    const char* name;  // as <FORM DEVNAME> names it
    const char* title;
    std::span<const MainFormItem> items;
    std::int32_t taxpayerAged65Box;
    std::int32_t spouseAged65Box;
};
inline constexpr MainForm kForm1040{1, "F1", "form 1040", kForm1040Items, 121, 123};
inline constexpr MainForm kForm1040A{55, "F55", "form 1040A", kForm1040AItems, 82, 84};
inline constexpr MainForm kForm1040EZ{87, "F87", "form 1040EZ", {}, 0, 0};

// The main form the return is filed on: form 1040A or 1040EZ where federal
// form 104 marks it (box 181, 183), else form 1040. The items and the boxes
// of that form answer the items, whichever other main form the return holds
// (a return filed on form 1040A may hold form 1040 for the filers' names).
const MainForm& filedMainForm(const ReturnFileContents& contents);

// The row of the main form's items of the item (either filer's of a split
// item); null for an item that the form does not hold.
const MainFormItem* mainFormItemOf(const MainForm& form, std::int32_t type);

// What marks a filer 65 or over, or not: the box of the main form filed
// where the return holds that form and the form has the box (the item then
// follows the box), else a seed of the item taxpayer-aged-65
// (spouse-aged-65). `where` names it for a preparer ("form 1040A (form
// F55) box 82", "the item taxpayer-aged-65"); empty where nothing marks the
// filer (no box, no seed).
struct Aged65Mark {
    bool marked = false;
    std::string where;
    const MainForm* form = nullptr;  // the main form filed, where its box marks
    std::int32_t box = 0;
};
Aged65Mark aged65Mark(const ReturnFileContents& contents, bool spouse);

// Where the federal return says each of them is the item's answeredBy in the
// common item table.
struct DerivedItem {
    std::int32_t type = 0;
    std::int64_t value = 0;
    std::string from;  // where, when not the item's answeredBy
};

// The federal filing status the file states: the federal return's
// <FILINGSTATUS>, else the Georgia return's seed of the common item
// federal-filing-status (a seed that disagrees with <FILINGSTATUS> is
// refused); nullopt when it states neither. The items below take the return
// as joint when it states 2 or nothing.
std::optional<int> statedFilingStatus(const ReturnFileContents& contents);

// The items the staged federal return (contents.federal, which must be
// there) answers. An item whose source the federal return does not hold (no
// <FILINGSTATUS>, no form 1040, no W-2, a W-2 of a joint return without its
// owner, no 1099-INT, no 1099-DIV, an empty field of form 1040, a split item
// on a joint return) is left out.
std::vector<DerivedItem> deriveCommonItems(const ReturnFileContents& contents);

// On a joint return (or one whose filing status is not given), the amount
// of the main form filed of each split item whose field holds one, in whole
// dollars: the couple's, which the two filers' items split. None on another
// return, where deriveCommonItems gives the amount as the taxpayer's item.
struct CoupleAmount {
    const MainForm* form = nullptr;
    const MainFormItem* row = nullptr;
    std::int64_t amount = 0;
};
std::vector<CoupleAmount> coupleAmountsToSplit(const ReturnFileContents& contents);

// The split of the W-2 wages (federal form 52 box 1) between the taxpayer
// and the spouse, when the federal return says whose every W-2 is (see
// deriveCommonItems).
std::optional<W2Split> deriveW2Split(const ReturnFileContents& contents);

// Form 69's part-year residency period of the Georgia return: from the date
// of field 113 to that of field 114 (each a date of the tax year).
inline constexpr std::int32_t kResidencyPeriodForm = 69;
inline constexpr std::int32_t kResidencyFrom = 113;
inline constexpr std::int32_t kResidencyTo = 114;
// What keeps the two dates, as a return file gives them, from being the
// period: "the part-year residency period 12/31/2018 to 07/01/2018 ends
// before it begins (...)". Empty when either is no calendar date, or when the
// period ends on or after the day it begins: a period of one day, the same
// date at both ends, is a filer's who moved in on 12/31 (and what the
// calculation makes of a period entered from 12/31 without its end).
std::string residencyPeriodProblem(const std::string& from, const std::string& to);

// One problem for every common item or W-2 split seeded in the Georgia
// return that disagrees with what the federal return says, naming both
// values: "<file>:<line>: form F1: common item 1 (federal-filing-status) is
// 1, but the federal return says 2 (the federal return's <FILINGSTATUS>)";
// and for every contradiction within the federal return, and a part-year
// residency period of the Georgia return that ends before it begins ("<file>:
// <line>: form GA69 copy 1 field 114: the part-year residency period ...").
std::vector<std::string> seedsContradictingTheFederalReturn(const ReturnFileContents& contents,
                                                            const std::string& displayName);

// ---- the owner of a statement (FORM OWNER="taxpayer|spouse")

// True for the federal forms whose copies state their owner: the W-2.
bool statesItsOwner(const Primitives::QVImmutableFormIdentifier& form);
// "taxpayer" or "spouse".
const char* ownerWord(Filer owner);
// The owner a word names (any letter case); nullopt for another word.
std::optional<Filer> ownerNamed(const std::string& word);

}  // namespace PersistanceMgmt
