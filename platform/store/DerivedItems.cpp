#include "platform/store/DerivedItems.h"

#include "platform/store/CommonItemTable.h"

namespace PersistanceMgmt {

namespace {

// Federal form 1040 and its boxes "65 or over" of the taxpayer and the spouse.
constexpr std::int32_t kForm1040 = 1;
constexpr std::int32_t kTaxpayer65Box = 121;
constexpr std::int32_t kSpouse65Box = 123;
// Federal form 113, one copy for each dependent; its box 1136 lists the
// dependent on the return.
constexpr std::int32_t kDependentForm = 113;
constexpr std::int32_t kListedBox = 1136;

bool boxMarked(const CopyEntry& copy, std::int32_t field) {
    for (const FieldEntry& f : copy.fields) {
        if (f.desc->getID().getNumber() == field) return f.value.isBox() && f.value.boxYes();
    }
    return false;
}

}  // namespace

std::vector<DerivedItem> deriveCommonItems(const ReturnPart& federal) {
    std::vector<DerivedItem> items;
    if (federal.seeds.filingStatus) {
        items.push_back({Utils::kFederalFilingStatus, *federal.seeds.filingStatus});
    }
    std::int64_t dependents = 0;
    const CopyEntry* form1040 = nullptr;
    for (const CopyEntry& c : federal.copies) {
        const std::int32_t form = c.desc->getTypeID().getNumber();
        if (form == kDependentForm && boxMarked(c, kListedBox)) ++dependents;
        if (form == kForm1040 && c.copy == 1) form1040 = &c;
    }
    items.push_back({Utils::kDependents, dependents});
    // Every dependent listed counts for the low-income credit.
    items.push_back({Utils::kLowIncomeCreditDependents, dependents});
    if (form1040 != nullptr) {
        items.push_back({Utils::kTaxpayerAged65, boxMarked(*form1040, kTaxpayer65Box) ? 1 : 0});
        items.push_back({Utils::kSpouseAged65, boxMarked(*form1040, kSpouse65Box) ? 1 : 0});
    }
    return items;
}

std::vector<std::string> seedsContradictingTheFederalReturn(const ReturnFileContents& contents,
                                                            const std::string& displayName) {
    std::vector<std::string> problems;
    if (!contents.federal || !contents.georgia) return problems;
    const std::vector<DerivedItem> derived = deriveCommonItems(*contents.federal);
    for (const CommonItem& seed : contents.georgia->seeds.commonItems) {
        for (const DerivedItem& d : derived) {
            if (d.type != seed.type || d.value == seed.value) continue;
            problems.push_back(displayName + ":" + std::to_string(seed.line) + ": form " +
                               (seed.formName.empty() ? std::to_string(seed.form.getNumber()) : seed.formName) +
                               ": common " + describeCommonItem(seed.type) + " is " + std::to_string(seed.value) +
                               ", but the federal return says " + std::to_string(d.value) + " (" +
                               findCommonItem(d.type)->answeredBy + ")");
        }
    }
    return problems;
}

}  // namespace PersistanceMgmt
