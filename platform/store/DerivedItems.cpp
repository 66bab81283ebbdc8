#include "platform/store/DerivedItems.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "platform/store/CommonItemTable.h"
#include "platform/util/Utils.h"

namespace PersistanceMgmt {

namespace {

// Federal form 1040 and its boxes "65 or over" of the taxpayer and the spouse.
constexpr std::int32_t kForm1040 = 1;
constexpr std::int32_t kTaxpayer65Box = 121;
constexpr std::int32_t kSpouse65Box = 123;
// Federal form 92, personal information: the filers' birth dates.
constexpr std::int32_t kPersonalInformation = 92;
constexpr std::int32_t kTaxpayerBirthDate = 9;
constexpr std::int32_t kSpouseBirthDate = 10;
// A filer is 65 or over for 2018 when born before 2 January 1954 (one is 65
// on the day before one's 65th birthday).
constexpr std::int64_t kBornBy65 = 19540102;  // yyyymmdd, the first day too late
// Federal form 104 marks a return filed on form 1040A (form 55) or 1040EZ
// (form 87); form 1040A has its own boxes "65 or over", form 1040EZ none.
constexpr std::int32_t kFederalInformation = 104;
constexpr std::int32_t kFiledOnForm1040A = 181;
constexpr std::int32_t kFiledOnForm1040EZ = 183;
constexpr std::int32_t kForm1040A = 55;
constexpr std::int32_t kTaxpayer65Box1040A = 82;
constexpr std::int32_t kSpouse65Box1040A = 84;
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
// The 1099-INT (federal form 166): box 1, interest income, and box 3,
// interest on U.S. savings bonds and Treasury obligations, both taxable.
constexpr std::int32_t kInterestStatement = 166;
constexpr std::int32_t kInterestIncome = 10;
constexpr std::int32_t kUsObligationsInterest = 12;
// The 1099-DIV (federal form 164): box 1a, ordinary dividends.
constexpr std::int32_t kDividendStatement = 164;
constexpr std::int32_t kOrdinaryDividends = 6;
// Box 3 of a 1099-INT or 1099-DIV marks the spouse's statement, which a
// return that is not joint leaves out (as the interest and dividend
// statements of the Georgia return do).
constexpr std::int32_t kSpouseStatementBox = 3;
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

// The items of the fields of form 1040 that hold an amount; a split item on
// a return that is not joint only.
void addForm1040Items(bool joint, const CopyEntry& form1040, std::vector<DerivedItem>& items) {
    for (const Form1040Item& row : kForm1040Items) {
        if (row.spouseItem && joint) continue;
        if (const std::optional<std::int64_t> amount = amountIn(form1040, row.field)) {
            items.push_back({row.item, *amount});
        }
    }
}

// The sum of the fields over the filers' copies of a 1099-INT or 1099-DIV;
// nullopt when the return has no copy of it.
std::optional<double> sumOverStatements(const ReturnPart& part, bool joint, std::int32_t form,
                                        std::initializer_list<std::int32_t> fields) {
    std::optional<double> sum;
    for (const CopyEntry& c : part.copies) {
        if (!isForm(c, form)) continue;
        if (!joint && boxMarked(c, kSpouseStatementBox)) continue;
        sum = sum.value_or(0.0);
        for (const std::int32_t f : fields) *sum += dollars(c, f);
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

// The date as yyyymmdd; nullopt when the field holds no calendar date.
std::optional<std::int64_t> dateOf(const CopyEntry& copy, std::int32_t field) {
    const FieldEntry* f = fieldOf(copy, field);
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (f == nullptr || !f->value.isText() ||
        !Utils::convertDateStr(std::string_view(f->value.getText()), year, month, day)) {
        return std::nullopt;
    }
    return std::int64_t{year} * 10000 + month * 100 + day;
}

// A "65 or over" box of form 1040 that the filer's birth date contradicts.
void checkAged65Box(const ReturnPart& federal, const std::string& displayName, const char* filer, std::int32_t box,
                    std::int32_t birthDate, std::vector<std::string>& problems) {
    const CopyEntry* form1040 = firstCopy(federal, kForm1040);
    const CopyEntry* personal = firstCopy(federal, kPersonalInformation);
    if (form1040 == nullptr || personal == nullptr) return;
    const std::optional<std::int64_t> born = dateOf(*personal, birthDate);
    if (!born) return;
    const bool aged65 = *born < kBornBy65;
    const bool marked = boxMarked(*form1040, box);
    if (aged65 == marked) return;
    const FieldEntry* boxEntry = fieldOf(*form1040, box);
    const FieldEntry* dateEntry = fieldOf(*personal, birthDate);
    const int line = boxEntry != nullptr ? boxEntry->line : dateEntry->line;
    const std::string who = std::string("the ") + filer;
    problems.push_back(displayName + ":" + std::to_string(line) + ": form F1 field " + std::to_string(box) + ": " +
                       who + "'s box \"65 or over\" is " + (marked ? "marked" : "not marked") + ", but " + who +
                       "'s birth date " + dateEntry->value.getText() + " (form F92 field " + std::to_string(birthDate) +
                       ") makes " + who + (aged65 ? " 65 or over" : " younger than 65") +
                       " at the end of 2018 (65 or over: born before 01/02/1954)");
}

// On a return without form 1040 (whose box the check above reads), a filer
// whose birth date and the marks the additional standard deduction reads
// (the item, or on a return filed on form 1040A its box) disagree on being
// 65 or over. Named with the box or item to mark, or that marks.
void checkAgeWithoutForm1040(const ReturnFileContents& contents, const std::string& displayName, bool spouse,
                             std::vector<std::string>& problems) {
    const ReturnPart& federal = *contents.federal;
    const CopyEntry* personal = firstCopy(federal, kPersonalInformation);
    if (firstCopy(federal, kForm1040) != nullptr || personal == nullptr || (spouse && !isJoint(contents))) return;
    const std::int32_t birthDate = spouse ? kSpouseBirthDate : kTaxpayerBirthDate;
    const std::optional<std::int64_t> born = dateOf(*personal, birthDate);
    if (!born) return;
    const bool aged65 = *born < kBornBy65;
    const Utils::PCTypes item = spouse ? Utils::kSpouseAged65 : Utils::kTaxpayerAged65;
    const bool itemSeeded =
        contents.georgia &&
        std::any_of(contents.georgia->seeds.commonItems.begin(), contents.georgia->seeds.commonItems.end(),
                    [&](const CommonItem& c) { return c.type == item && c.value == 1; });
    const CopyEntry* filedOn = firstCopy(federal, kFederalInformation);
    const bool form1040EZ = filedOn != nullptr && boxMarked(*filedOn, kFiledOnForm1040EZ);
    const bool form1040A = !form1040EZ && filedOn != nullptr && boxMarked(*filedOn, kFiledOnForm1040A);
    const std::int32_t box =
        form1040A ? (spouse ? kSpouse65Box1040A : kTaxpayer65Box1040A) : (spouse ? kSpouse65Box : kTaxpayer65Box);
    const CopyEntry* mainForm = firstCopy(federal, form1040A ? kForm1040A : kForm1040);
    const bool boxMarkedHere = mainForm != nullptr && boxMarked(*mainForm, box);
    if (aged65 == (itemSeeded || boxMarkedHere)) return;
    const std::string who = spouse ? "the spouse" : "the taxpayer";
    const std::string itemName = findCommonItem(item)->name;
    const std::string boxText =
        "box " + std::to_string(box) + " of <FORM DEVNAME=\"" + (form1040A ? "F55" : "F1") + "\" COPY=\"1\">";
    const std::string head = displayName + ":" + std::to_string(fieldOf(*personal, birthDate)->line) +
                             ": form F92 field " + std::to_string(birthDate) + ": " + who + "'s birth date " +
                             fieldOf(*personal, birthDate)->value.getText() + " makes " + who;
    if (!aged65) {
        problems.push_back(head + " younger than 65 at the end of 2018 (65 or over: born before 01/02/1954), but " +
                           (boxMarkedHere ? boxText : "the item " + itemName + " (1)") + " marks " + who +
                           " 65 or over, which gives the additional standard deduction");
        return;
    }
    problems.push_back(head + " 65 or over at the end of 2018, but the return does not mark " + who +
                       " 65 or over, which gives the additional standard deduction: " +
                       (form1040EZ ? "form 1040EZ has no such box; seed the item " + itemName + " as 1"
                                   : "mark " + boxText + " (or seed the item " + itemName + " as 1)"));
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
    if (federal.seeds.filingStatus) {
        items.push_back({Utils::kFederalFilingStatus, *federal.seeds.filingStatus});
    }
    std::int64_t dependents = 0;
    for (const CopyEntry& c : federal.copies) {
        if (isForm(c, kDependentForm) && boxMarked(c, kListedBox)) ++dependents;
    }
    items.push_back({Utils::kDependents, dependents});
    // Every dependent listed counts for the low-income credit.
    items.push_back({Utils::kLowIncomeCreditDependents, dependents});
    if (const CopyEntry* form1040 = firstCopy(federal, kForm1040)) {
        items.push_back({Utils::kTaxpayerAged65, boxMarked(*form1040, kTaxpayer65Box) ? 1 : 0});
        items.push_back({Utils::kSpouseAged65, boxMarked(*form1040, kSpouse65Box) ? 1 : 0});
        addForm1040Items(joint, *form1040, items);
    }
    if (const std::optional<FilerWages> wages = wagesByFiler(federal, joint)) {
        items.push_back({Utils::kWagesTaxpayer, wholeDollars(wages->taxpayer)});
        if (wages->joint) items.push_back({Utils::kWagesSpouse, wholeDollars(wages->spouse)});
    }
    if (const auto interest =
            sumOverStatements(federal, joint, kInterestStatement, {kInterestIncome, kUsObligationsInterest})) {
        items.push_back({Utils::kTaxableInterest, wholeDollars(*interest)});
    }
    if (const auto dividends = sumOverStatements(federal, joint, kDividendStatement, {kOrdinaryDividends})) {
        items.push_back({Utils::kOrdinaryDividends, wholeDollars(*dividends)});
    }
    return items;
}

const Form1040Item* form1040ItemOf(std::int32_t type) {
    for (const Form1040Item& row : kForm1040Items) {
        if (row.item == type || row.spouseItem == type) return &row;
    }
    return nullptr;
}

std::vector<CoupleAmount> coupleAmountsToSplit(const ReturnFileContents& contents) {
    std::vector<CoupleAmount> amounts;
    const CopyEntry* form1040 = firstCopy(*contents.federal, kForm1040);
    if (form1040 == nullptr || !isJoint(contents)) return amounts;
    for (const Form1040Item& row : kForm1040Items) {
        if (!row.spouseItem) continue;
        if (const std::optional<std::int64_t> amount = amountIn(*form1040, row.field)) {
            amounts.push_back({&row, *amount});
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
    if (!contents.federal) return problems;
    checkAged65Box(*contents.federal, displayName, "taxpayer", kTaxpayer65Box, kTaxpayerBirthDate, problems);
    checkAged65Box(*contents.federal, displayName, "spouse", kSpouse65Box, kSpouseBirthDate, problems);
    checkAgeWithoutForm1040(contents, displayName, false, problems);
    checkAgeWithoutForm1040(contents, displayName, true, problems);
    checkW2Owners(contents, displayName, problems);
    checkRetirementStatementOwners(contents, displayName, problems);
    checkDependentNumbers(*contents.federal, displayName, problems);
    if (!contents.georgia) return problems;
    const std::vector<DerivedItem> derived = deriveCommonItems(contents);
    for (const CommonItem& seed : contents.georgia->seeds.commonItems) {
        for (const DerivedItem& d : derived) {
            if (d.type != seed.type || d.value == seed.value) continue;
            problems.push_back(displayName + ":" + std::to_string(seed.line) + ": form " +
                               formOfSeed(seed.form, seed.formName) + ": common " + describeCommonItem(seed.type) +
                               " is " + std::to_string(seed.value) + ", but the federal return says " +
                               std::to_string(d.value) + " (" + findCommonItem(d.type)->answeredBy + ")");
        }
    }
    checkW2Splits(contents, displayName, problems);
    return problems;
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
