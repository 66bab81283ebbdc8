#include "platform/store/DerivedItems.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/IntDivCopyAmounts.h"
#include "platform/util/Utils.h"

namespace PersistanceMgmt {

namespace {

// Federal form 92, personal information: the filers' birth dates.
constexpr std::int32_t kPersonalInformation = 92;
constexpr std::int32_t kTaxpayerBirthDate = 9;
constexpr std::int32_t kSpouseBirthDate = 10;
// A filer is 65 or over for 2018 when born before 2 January 1954 (one is 65
// on the day before one's 65th birthday).
constexpr std::int64_t kBornBy65 = 19540102;  // yyyymmdd, the first day too late
// Federal form 104 marks a return filed on form 1040A (form 55) or 1040EZ
// (form 87).
constexpr std::int32_t kFederalInformation = 104;
constexpr std::int32_t kFiledOnForm1040A = 181;
constexpr std::int32_t kFiledOnForm1040EZ = 183;
// Federal form 113, one copy for each dependent; its box 1136 lists the
// dependent on the return.
constexpr std::int32_t kDependentForm = 113;
constexpr std::int32_t kListedBox = 1136;
constexpr std::int32_t kDependentNumber = 1106;
// The W-2 (federal form 52) and its box 1, the wages.
constexpr std::int32_t kW2Form = 52;
constexpr std::int32_t kW2Wages = 21;
// The 1099-R (federal form 84) and its box 2, which marks the spouse's
// statement.
constexpr std::int32_t kRetirementStatement = 84;
constexpr std::int32_t kSpouseRetirementBox = 2;
// The 1099-INT (federal form 166) and the 1099-DIV (federal form 164).
constexpr std::int32_t kInterestStatement = 166;
constexpr std::int32_t kDividendStatement = 164;
// Box 3 of a 1099-INT or 1099-DIV marks the spouse's statement, which a
// return that is not joint leaves out (as the interest and dividend
// statements of the Georgia return do).
constexpr std::int32_t kSpouseStatementBox = 3;
// Federal form 133618, a state return of the federal return (one a copy):
// its residency in that state, and the income and tax that the credit for
// tax paid to other states takes from a nonresident return.
constexpr std::int32_t kOtherStateReturn = 133618;
constexpr std::int32_t kOtherStateResidency = 133652;
constexpr std::int32_t kOtherStateFigures[] = {133653, 133654};
// The federal filing status of a joint return.
constexpr int kMarriedFilingJointly = 2;

const FieldEntry* fieldOf(const CopyEntry& copy, std::int32_t field) {
    for (const FieldEntry& f : copy.fields) {
        if (f.desc->getID().getNumber() == field) return &f;
    }
    return nullptr;
}

bool boxMarked(const CopyEntry& copy, std::int32_t field) {
    const FieldEntry* f = fieldOf(copy, field);
    return f != nullptr && f->value.isBox() && f->value.boxYes();
}

// The field's amount in dollars (its stored number shifted by its edit code).
double dollars(const CopyEntry& copy, std::int32_t field) {
    const FieldEntry* f = fieldOf(copy, field);
    if (f == nullptr || !f->value.isNumber()) return 0.0;
    return DataMgmt::displayAmount(f->value.getNumber(), f->desc->getEditCode());
}

// A common item is a whole amount, rounded by the store's rule (half a
// dollar away from 0, binary noise around the half counted as the half;
// amounts past the 64-bit range at its end).
std::int64_t wholeDollars(double amount) { return Utils::roundR(amount); }

bool isForm(const CopyEntry& c, std::int32_t form) { return c.desc->getTypeID().getNumber() == form; }

const CopyEntry* firstCopy(const ReturnPart& part, std::int32_t form) {
    for (const CopyEntry& c : part.copies) {
        if (isForm(c, form) && c.copy == 1) return &c;
    }
    return nullptr;
}

bool isJoint(const ReturnFileContents& contents) {
    const std::optional<int> status = statedFilingStatus(contents);
    return !status || *status == kMarriedFilingJointly;
}

// The field's amount in whole dollars; nullopt when it holds none.
std::optional<std::int64_t> amountIn(const CopyEntry& copy, std::int32_t field) {
    const FieldEntry* f = fieldOf(copy, field);
    if (f == nullptr || !f->value.isNumber()) return std::nullopt;
    return wholeDollars(dollars(copy, field));
}

// Where an item of the main form filed comes from, for a refusal: empty for
// form 1040, whose fields the common item table names.
std::string sourceOf(const MainForm& form, std::int32_t field) {
    if (form.form == kForm1040.form) return {};
    return "field " + std::to_string(field) + " of federal form " + std::to_string(form.form) + " (" + form.title +
           ", the form the return is filed on)";
}

// The items of the fields of the main form filed that hold an amount; a
// split item on a return that is not joint only.
void addMainFormItems(bool joint, const MainForm& form, const CopyEntry& copy, std::vector<DerivedItem>& items) {
    for (const MainFormItem& row : form.items) {
        if (row.spouseItem && joint) continue;
        if (const std::optional<std::int64_t> amount = amountIn(copy, row.field)) {
            items.push_back({row.item, *amount, sourceOf(form, row.field)});
        }
    }
}

// The sum over the filers' copies of a 1099-INT or 1099-DIV of what each
// gives the federal item (taxable interest, ordinary dividends), its
// adjustment taken off as the interest and dividend statements take it
// (IntDivCopyAmounts.h); nullopt when the return has no copy of it.
std::optional<double> sumOverStatements(const ReturnPart& part, bool joint, std::int32_t form) {
    std::optional<double> sum;
    for (const CopyEntry& c : part.copies) {
        if (!isForm(c, form)) continue;
        if (!joint && boxMarked(c, kSpouseStatementBox)) continue;
        const CopyAmount amount = [&c](const Primitives::QVImmutableIdentifier& field) {
            return dollars(c, field.getNumber());
        };
        const IntDivCategories copy =
            form == kInterestStatement
                ? interestCategories(amount, boxMarked(c, kForm166Lines.adjustmentAgainstUsOnly.getNumber()))
                : dividendCategories(amount, boxMarked(c, kForm164Lines.restrictedStock.getNumber()));
        sum = sum.value_or(0.0) + copy.federalItem;
    }
    return sum;
}

// Each filer's W-2 wages, when the federal return says whose every W-2 is:
// on a return that is not joint every W-2 is the taxpayer's; on a joint
// return (or one whose filing status is not given) every copy must state its
// owner. `joint` tells whether the spouse's wages are stated too.
struct FilerWages {
    double taxpayer = 0.0;
    double spouse = 0.0;
    bool joint = false;
};

std::optional<FilerWages> wagesByFiler(const ReturnPart& federal, bool joint) {
    FilerWages wages;
    wages.joint = joint;
    bool any = false;
    for (const CopyEntry& c : federal.copies) {
        if (!isForm(c, kW2Form)) continue;
        any = true;
        if (wages.joint && !c.owner) return std::nullopt;
        (wages.joint && *c.owner == Filer::Spouse ? wages.spouse : wages.taxpayer) += dollars(c, kW2Wages);
    }
    if (!any) return std::nullopt;
    return wages;
}

// The date as yyyymmdd; nullopt when the text is no calendar date.
std::optional<std::int64_t> dateNumber(const std::string& text) {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(std::string_view(text), year, month, day)) return std::nullopt;
    return std::int64_t{year} * 10000 + month * 100 + day;
}

// The same of a field; nullopt when it holds no calendar date.
std::optional<std::int64_t> dateOf(const CopyEntry& copy, std::int32_t field) {
    const FieldEntry* f = fieldOf(copy, field);
    if (f == nullptr || !f->value.isText()) return std::nullopt;
    return dateNumber(f->value.getText());
}

// "box 82 of <FORM DEVNAME="F55" COPY="1">".
std::string boxEntry(const MainForm& form, std::int32_t box) {
    return "box " + std::to_string(box) + " of <FORM DEVNAME=\"" + form.name + "\" COPY=\"1\">";
}

// One filer's birth date as the age checks name it.
struct BirthDate {
    const FieldEntry* entry;
    std::int32_t field;
    bool aged65;  // at the end of 2018
    std::string who;
};
constexpr const char* kAgeLimit = " at the end of 2018 (65 or over: born before 01/02/1954)";

// The main form's box "65 or over" that the birth date contradicts, named
// at the box (or at the date, where the box is not entered).
std::string boxAgeProblem(const ReturnPart& federal, const std::string& displayName, const Aged65Mark& mark,
                          const BirthDate& born) {
    const FieldEntry* boxField = fieldOf(*firstCopy(federal, mark.form->form), mark.box);
    const int line = boxField != nullptr ? boxField->line : born.entry->line;
    return displayName + ":" + std::to_string(line) + ": form " + mark.form->name + " field " +
           std::to_string(mark.box) + ": " + born.who + "'s box \"65 or over\" is " +
           (mark.marked ? "marked" : "not marked") + ", but " + born.who + "'s birth date " +
           born.entry->value.getText() + " (form F92 field " + std::to_string(born.field) + ") makes " + born.who +
           (born.aged65 ? " 65 or over" : " younger than 65") + kAgeLimit;
}

// Where no box marks the filer: the item that marks a filer younger than
// 65, or the box or item to mark for one 65 or over.
std::string itemAgeProblem(const ReturnFileContents& contents, const std::string& displayName, bool spouse,
                           const BirthDate& born) {
    const MainForm& filed = filedMainForm(contents);
    const std::string itemName = findCommonItem(spouse ? Utils::kSpouseAged65 : Utils::kTaxpayerAged65)->name;
    const std::string head = displayName + ":" + std::to_string(born.entry->line) + ": form F92 field " +
                             std::to_string(born.field) + ": " + born.who + "'s birth date " +
                             born.entry->value.getText() + " makes " + born.who +
                             (born.aged65 ? " 65 or over" : " younger than 65") + kAgeLimit + ", but ";
    const std::string deduction = " 65 or over, which gives the additional standard deduction";
    if (!born.aged65) return head + "the item " + itemName + " (1) marks " + born.who + deduction;
    const std::int32_t box = spouse ? filed.spouseAged65Box : filed.taxpayerAged65Box;
    return head + "the return does not mark " + born.who + deduction + ": " +
           (box == 0 ? std::string(filed.title) + " has no such box; seed the item " + itemName + " as 1"
                     : "mark " + boxEntry(filed, box) + " (or seed the item " + itemName + " as 1)");
}

// A filer whose birth date and the mark of the return (the box of the main
// form filed, else the item) disagree on being 65 or over: the box is judged
// whatever the filing status, the item of the spouse on a joint return only.
void checkAge(const ReturnFileContents& contents, const std::string& displayName, bool spouse,
              std::vector<std::string>& problems) {
    const ReturnPart& federal = *contents.federal;
    const CopyEntry* personal = firstCopy(federal, kPersonalInformation);
    const std::int32_t field = spouse ? kSpouseBirthDate : kTaxpayerBirthDate;
    const std::optional<std::int64_t> date = personal != nullptr ? dateOf(*personal, field) : std::nullopt;
    if (!date) return;
    const BirthDate born{fieldOf(*personal, field), field, *date < kBornBy65, spouse ? "the spouse" : "the taxpayer"};
    const Aged65Mark mark = aged65Mark(contents, spouse);
    if (born.aged65 == mark.marked || (mark.box == 0 && spouse && !isJoint(contents))) return;
    problems.push_back(mark.box != 0 ? boxAgeProblem(federal, displayName, mark, born)
                                     : itemAgeProblem(contents, displayName, spouse, born));
}

// A W-2 of the spouse on a return that is not joint.
void checkW2Owners(const ReturnFileContents& contents, const std::string& displayName,
                   std::vector<std::string>& problems) {
    const std::optional<int> status = statedFilingStatus(contents);
    if (!status || *status == kMarriedFilingJointly) return;
    for (const CopyEntry& c : contents.federal->copies) {
        if (isForm(c, kW2Form) && c.owner == Filer::Spouse) {
            problems.push_back(displayName + ":" + std::to_string(c.line) + ": form F52 copy " +
                               std::to_string(c.copy) +
                               ": OWNER \"spouse\", but the federal return is not a joint return (filing status " +
                               std::to_string(*status) + "): every W-2 is the taxpayer's");
        }
    }
}

// A 1099-R marked as the spouse's on a return that is not joint, refused as
// a W-2 of the spouse is: the return holds the taxpayer's documents only.
void checkRetirementStatementOwners(const ReturnFileContents& contents, const std::string& displayName,
                                    std::vector<std::string>& problems) {
    const std::optional<int> status = statedFilingStatus(contents);
    if (!status || *status == kMarriedFilingJointly) return;
    for (const CopyEntry& c : contents.federal->copies) {
        if (!isForm(c, kRetirementStatement) || !boxMarked(c, kSpouseRetirementBox)) continue;
        problems.push_back(displayName + ":" + std::to_string(fieldOf(c, kSpouseRetirementBox)->line) +
                           ": form F84 copy " + std::to_string(c.copy) + " field " +
                           std::to_string(kSpouseRetirementBox) +
                           ": the 1099-R is marked as the spouse's, but the federal return is not a joint return "
                           "(filing status " +
                           std::to_string(*status) +
                           "): every 1099-R is the taxpayer's; the spouse's belongs on the spouse's own return");
    }
}

// The digits of a number, written with or without its dashes and blanks.
std::string digitsOf(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

// The filers' own numbers as the return gives them (form F92's, which the
// e-file carries, and the main form's, which form 70 carries), by their
// digits: whose each is, and where.
std::map<std::string, std::string> filerNumbers(const ReturnPart& federal) {
    static constexpr struct {
        std::int32_t form, field;
        const char* whose;
    } kFilerNumbers[] = {{92, 7, "taxpayer"}, {92, 8, "spouse"},    {1, 11, "taxpayer"},
                         {1, 12, "spouse"},   {55, 11, "taxpayer"}, {55, 12, "spouse"}};
    std::map<std::string, std::string> numbers;
    for (const CopyEntry& c : federal.copies) {
        for (const auto& filer : kFilerNumbers) {
            const FieldEntry* number = isForm(c, filer.form) && c.copy == 1 ? fieldOf(c, filer.field) : nullptr;
            if (number == nullptr || digitsOf(number->value.getText()).empty()) continue;
            numbers.emplace(digitsOf(number->value.getText()), std::string("the ") + filer.whose + "'s own (form F" +
                                                                   std::to_string(filer.form) + " field " +
                                                                   std::to_string(filer.field) + ")");
        }
    }
    return numbers;
}

// A dependent given twice: two copies of form 113 with one dependent's
// number, which would count the dependent twice; and a dependent's number
// that is a filer's own, which counts the filer again as a dependent.
void checkDependentNumbers(const ReturnPart& federal, const std::string& displayName,
                           std::vector<std::string>& problems) {
    const std::map<std::string, std::string> filers = filerNumbers(federal);
    std::map<std::string, const CopyEntry*> seen;  // by the number's digits
    for (const CopyEntry& c : federal.copies) {
        const FieldEntry* number = isForm(c, kDependentForm) ? fieldOf(c, kDependentNumber) : nullptr;
        if (number == nullptr || digitsOf(number->value.getText()).empty()) continue;
        if (const auto filer = filers.find(digitsOf(number->value.getText())); filer != filers.end()) {
            problems.push_back(displayName + ":" + std::to_string(number->line) + ": form F113 copy " +
                               std::to_string(c.copy) + " field " + std::to_string(kDependentNumber) +
                               ": the dependent's number " + Utils::strip(number->value.getText()) + " is " +
                               filer->second +
                               ": a filer is no dependent of the return; enter the dependent's "
                               "own number");
            continue;
        }
        const auto [first, added] = seen.emplace(digitsOf(number->value.getText()), &c);
        if (added) continue;
        problems.push_back(displayName + ":" + std::to_string(number->line) + ": form F113 copy " +
                           std::to_string(c.copy) + " field " + std::to_string(kDependentNumber) +
                           ": the dependent's number " + Utils::strip(number->value.getText()) + " is that of copy " +
                           std::to_string(first->second->copy) +
                           " too: each dependent is given once (remove one of the two copies)");
    }
}

// A state return that gives the other state's income or tax but no
// residency: the credit takes only a nonresident return's figures, so an
// empty residency would drop them without a word.
void checkOtherStateResidencies(const ReturnPart& federal, const std::string& displayName,
                                std::vector<std::string>& problems) {
    for (const CopyEntry& c : federal.copies) {
        if (!isForm(c, kOtherStateReturn)) continue;
        const FieldEntry* residency = fieldOf(c, kOtherStateResidency);
        if (residency != nullptr && residency->value.isText() && !Utils::strip(residency->value.getText()).empty()) {
            continue;
        }
        const FieldEntry* figure = nullptr;
        for (const std::int32_t field : kOtherStateFigures) {
            const FieldEntry* f = fieldOf(c, field);
            if (figure == nullptr && f != nullptr && f->value.isNumber() && f->value.getNumber() != 0) figure = f;
        }
        if (figure == nullptr) continue;
        problems.push_back(displayName + ":" + std::to_string(residency != nullptr ? residency->line : figure->line) +
                           ": form F133618 copy " + std::to_string(c.copy) + " field " +
                           std::to_string(kOtherStateResidency) + ": the residency is empty, but field " +
                           std::to_string(figure->desc->getID().getNumber()) +
                           " gives the other state's figures: the field takes Full-year resident, Part-year "
                           "resident or Nonresident");
    }
}

// Form 69's part-year residency period, which does not end before it
// begins.
void checkResidencyPeriod(const ReturnPart& georgia, const std::string& displayName,
                          std::vector<std::string>& problems) {
    for (const CopyEntry& c : georgia.copies) {
        const FieldEntry* from = isForm(c, kResidencyPeriodForm) ? fieldOf(c, kResidencyFrom) : nullptr;
        const FieldEntry* to = from != nullptr ? fieldOf(c, kResidencyTo) : nullptr;
        if (to == nullptr || !from->value.isText() || !to->value.isText()) continue;
        const std::string why = residencyPeriodProblem(from->value.getText(), to->value.getText());
        if (why.empty()) continue;
        problems.push_back(displayName + ":" + std::to_string(to->line) + ": form " + c.desc->getDevName() + " copy " +
                           std::to_string(c.copy) + " field " + std::to_string(kResidencyTo) + ": " + why);
    }
}

std::string formOfSeed(const Primitives::QVImmutableFormIdentifier& form, const std::string& formName) {
    return formName.empty() ? std::to_string(form.getNumber()) : formName;
}

// An amount in dollars to the cent: a sum of amounts in dollars carries
// binary noise (0.01 + 2.34 + 0.15 is 2.4999999999999996), which the cent
// drops.
std::int64_t cents(double dollars) { return Utils::roundR(dollars * 100); }
std::string centsText(double dollars) { return DataMgmt::formatDisplayAmount(static_cast<double>(cents(dollars)), 2); }

// A seeded W-2 split of the W-2 wages that the owners of the W-2s contradict
// (to the cent).
void checkW2Splits(const ReturnFileContents& contents, const std::string& displayName,
                   std::vector<std::string>& problems) {
    const std::optional<W2Split> derived = deriveW2Split(contents);
    if (!derived) return;
    for (const W2Split& seed : contents.georgia->seeds.w2Splits) {
        if (seed.form != derived->form || seed.field != derived->field) continue;
        if (cents(seed.taxpayer) == cents(derived->taxpayer) && cents(seed.spouse) == cents(derived->spouse)) {
            continue;
        }
        problems.push_back(
            displayName + ":" + std::to_string(seed.line) + ": form " + formOfSeed(seed.form, seed.formName) +
            ": the W-2 split of field " + std::to_string(kW2Wages) + " gives the taxpayer " + centsText(seed.taxpayer) +
            " and the spouse " + centsText(seed.spouse) + ", but the federal return's W-2s give " +
            centsText(derived->taxpayer) + " and " + centsText(derived->spouse) + " (box 1 of each W-2 by its owner)");
    }
}

}  // namespace

std::optional<int> statedFilingStatus(const ReturnFileContents& contents) {
    if (contents.federal && contents.federal->seeds.filingStatus) return contents.federal->seeds.filingStatus;
    if (!contents.georgia) return std::nullopt;
    for (const CommonItem& seed : contents.georgia->seeds.commonItems) {
        if (seed.type == Utils::kFederalFilingStatus) return static_cast<int>(seed.value);
    }
    return std::nullopt;
}

std::vector<DerivedItem> deriveCommonItems(const ReturnFileContents& contents) {
    const ReturnPart& federal = *contents.federal;
    const bool joint = isJoint(contents);
    std::vector<DerivedItem> items;
    const auto add = [&](std::int32_t type, std::int64_t value) { items.push_back({type, value, {}}); };
    if (federal.seeds.filingStatus) {
        add(Utils::kFederalFilingStatus, *federal.seeds.filingStatus);
    }
    std::int64_t dependents = 0;
    for (const CopyEntry& c : federal.copies) {
        if (isForm(c, kDependentForm) && boxMarked(c, kListedBox)) ++dependents;
    }
    add(Utils::kDependents, dependents);
    // Every dependent listed counts for the low-income credit.
    add(Utils::kLowIncomeCreditDependents, dependents);
    const MainForm& filed = filedMainForm(contents);
    if (const CopyEntry* mainForm = firstCopy(federal, filed.form)) {
        for (const bool spouse : {false, true}) {
            const std::int32_t box = spouse ? filed.spouseAged65Box : filed.taxpayerAged65Box;
            if (box == 0) continue;
            items.push_back({spouse ? Utils::kSpouseAged65 : Utils::kTaxpayerAged65, boxMarked(*mainForm, box) ? 1 : 0,
                             sourceOf(filed, box)});
        }
        addMainFormItems(joint, filed, *mainForm, items);
    }
    if (const std::optional<FilerWages> wages = wagesByFiler(federal, joint)) {
        add(Utils::kWagesTaxpayer, wholeDollars(wages->taxpayer));
        if (wages->joint) add(Utils::kWagesSpouse, wholeDollars(wages->spouse));
    }
    if (const auto interest = sumOverStatements(federal, joint, kInterestStatement)) {
        add(Utils::kTaxableInterest, wholeDollars(*interest));
    }
    if (const auto dividends = sumOverStatements(federal, joint, kDividendStatement)) {
        add(Utils::kOrdinaryDividends, wholeDollars(*dividends));
    }
    return items;
}

const MainForm& filedMainForm(const ReturnFileContents& contents) {
    const CopyEntry* filedOn =
        contents.federal ? firstCopy(*contents.federal, kFederalInformation) : static_cast<const CopyEntry*>(nullptr);
    if (filedOn != nullptr && boxMarked(*filedOn, kFiledOnForm1040EZ)) return kForm1040EZ;
    if (filedOn != nullptr && boxMarked(*filedOn, kFiledOnForm1040A)) return kForm1040A;
    return kForm1040;
}

const MainFormItem* mainFormItemOf(const MainForm& form, std::int32_t type) {
    for (const MainFormItem& row : form.items) {
        if (row.item == type || row.spouseItem == type) return &row;
    }
    return nullptr;
}

Aged65Mark aged65Mark(const ReturnFileContents& contents, bool spouse) {
    Aged65Mark mark;
    const MainForm& filed = filedMainForm(contents);
    const std::int32_t box = spouse ? filed.spouseAged65Box : filed.taxpayerAged65Box;
    const CopyEntry* mainForm = contents.federal ? firstCopy(*contents.federal, filed.form) : nullptr;
    if (box != 0 && mainForm != nullptr) {
        mark.form = &filed;
        mark.box = box;
        mark.marked = boxMarked(*mainForm, box);
        mark.where = std::string(filed.title) + " (form " + filed.name + ") box " + std::to_string(box);
        return mark;
    }
    const Utils::PCTypes item = spouse ? Utils::kSpouseAged65 : Utils::kTaxpayerAged65;
    if (!contents.georgia) return mark;
    for (const CommonItem& seed : contents.georgia->seeds.commonItems) {
        if (seed.type != item) continue;
        mark.marked = seed.value == 1;
        mark.where = std::string("the item ") + findCommonItem(item)->name;
    }
    return mark;
}

std::vector<CoupleAmount> coupleAmountsToSplit(const ReturnFileContents& contents) {
    std::vector<CoupleAmount> amounts;
    const MainForm& filed = filedMainForm(contents);
    const CopyEntry* mainForm = firstCopy(*contents.federal, filed.form);
    if (mainForm == nullptr || !isJoint(contents)) return amounts;
    for (const MainFormItem& row : filed.items) {
        if (!row.spouseItem) continue;
        if (const std::optional<std::int64_t> amount = amountIn(*mainForm, row.field)) {
            amounts.push_back({&filed, &row, *amount});
        }
    }
    return amounts;
}

std::optional<W2Split> deriveW2Split(const ReturnFileContents& contents) {
    const std::optional<FilerWages> wages = wagesByFiler(*contents.federal, isJoint(contents));
    if (!wages) return std::nullopt;
    W2Split split;
    split.form = Primitives::QVImmutableFormIdentifier(kW2Form, false);
    split.formName = "F52";
    split.field = Primitives::QVImmutableIdentifier(kW2Wages);
    split.taxpayer = wages->taxpayer;
    split.spouse = wages->spouse;
    return split;
}

std::vector<std::string> seedsContradictingTheFederalReturn(const ReturnFileContents& contents,
                                                            const std::string& displayName) {
    std::vector<std::string> problems;
    if (contents.georgia) checkResidencyPeriod(*contents.georgia, displayName, problems);
    if (!contents.federal) return problems;
    checkAge(contents, displayName, false, problems);
    checkAge(contents, displayName, true, problems);
    checkW2Owners(contents, displayName, problems);
    checkRetirementStatementOwners(contents, displayName, problems);
    checkDependentNumbers(*contents.federal, displayName, problems);
    checkOtherStateResidencies(*contents.federal, displayName, problems);
    if (!contents.georgia) return problems;
    const std::vector<DerivedItem> derived = deriveCommonItems(contents);
    for (const CommonItem& seed : contents.georgia->seeds.commonItems) {
        for (const DerivedItem& d : derived) {
            if (d.type != seed.type || d.value == seed.value) continue;
            problems.push_back(displayName + ":" + std::to_string(seed.line) + ": form " +
                               formOfSeed(seed.form, seed.formName) + ": common " + describeCommonItem(seed.type) +
                               " is " + std::to_string(seed.value) + ", but the federal return says " +
                               std::to_string(d.value) + " (" +
                               (d.from.empty() ? findCommonItem(d.type)->answeredBy : d.from) + ")");
        }
    }
    checkW2Splits(contents, displayName, problems);
    return problems;
}

std::string residencyPeriodProblem(const std::string& from, const std::string& to) {
    const std::optional<std::int64_t> first = dateNumber(from);
    const std::optional<std::int64_t> last = dateNumber(to);
    if (!first || !last || *last >= *first) return {};
    return "the part-year residency period " + Utils::strip(from) + " to " + Utils::strip(to) +
           " ends before it begins (field " + std::to_string(kResidencyFrom) +
           " gives the first day of Georgia residency, field " + std::to_string(kResidencyTo) + " the last)";
}

bool isFederalMainForm(const Primitives::QVImmutableFormIdentifier& form) {
    return !form.isState() && std::find(std::begin(kFederalMainForms), std::end(kFederalMainForms), form.getNumber()) !=
                                  std::end(kFederalMainForms);
}

bool statesItsOwner(const Primitives::QVImmutableFormIdentifier& form) {
    return !form.isState() && form.getNumber() == kW2Form;
}

const char* ownerWord(Filer owner) { return owner == Filer::Spouse ? "spouse" : "taxpayer"; }

std::optional<Filer> ownerNamed(const std::string& word) {
    for (const Filer f : {Filer::Taxpayer, Filer::Spouse}) {
        if (Utils::QVStringUtils::stricmp(word, ownerWord(f)) == 0) return f;
    }
    return std::nullopt;
}

}  // namespace PersistanceMgmt
