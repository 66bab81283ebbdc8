#include "host/EFileFilers.h"

#include <algorithm>
#include <optional>

#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/CommonItems.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;

// Whose entry a line is, and when the e-file needs it.
enum class NeededOn {
    EveryReturn,
    JointReturn,  // the spouse's: the return header names both filers
    HomeAddress,  // not with an address abroad (form F92's foreign-address box)
};

struct FilerEntry {
    const FieldId& field;
    NeededOn needed;
};

// What the e-file's header line T (the taxpayer's number) and the return
// header's name, number and address lines read of copy 1 of form F92.
constexpr const auto& taxpayer = kForm92Lines.taxpayer;
constexpr const auto& spouse = kForm92Lines.spouse;
constexpr const auto& address = kForm92Lines.address;
constexpr FilerEntry kFilerEntries[] = {
    {.field = taxpayer.firstName, .needed = NeededOn::EveryReturn},
    {.field = taxpayer.lastName, .needed = NeededOn::EveryReturn},
    {.field = taxpayer.number, .needed = NeededOn::EveryReturn},
    {.field = spouse.firstName, .needed = NeededOn::JointReturn},
    {.field = spouse.lastName, .needed = NeededOn::JointReturn},
    {.field = spouse.number, .needed = NeededOn::JointReturn},
    {.field = address.street, .needed = NeededOn::EveryReturn},
    {.field = address.city, .needed = NeededOn::EveryReturn},
    {.field = address.state, .needed = NeededOn::HomeAddress},
    {.field = address.zipCode, .needed = NeededOn::HomeAddress},
};

constexpr std::uint16_t kCopy = 1;

bool needed(NeededOn when, bool joint, bool abroad) {
    switch (when) {
        case NeededOn::EveryReturn:
            return true;
        case NeededOn::JointReturn:
            return joint;
        case NeededOn::HomeAddress:
            return !abroad;
    }
    return true;
}

// The federal filing status the file states: the federal return's own, else
// the one seeded as a common item (a seed that disagrees is refused on
// loading).
std::optional<int> statedFilingStatus(const PersistanceMgmt::ReturnFileContents& contents) {
    if (contents.federal && contents.federal->seeds.filingStatus) return contents.federal->seeds.filingStatus;
    if (!contents.georgia) return std::nullopt;
    const auto& seeds = contents.georgia->seeds.commonItems;
    const auto seed = std::find_if(seeds.begin(), seeds.end(), [](const PersistanceMgmt::CommonItem& item) {
        return item.type == Utils::kFederalFilingStatus;
    });
    if (seed == seeds.end()) return std::nullopt;
    return static_cast<int>(seed->value);
}

// The entries that `federal` leaves without a value and the e-file needs.
std::vector<MissingFilerEntry> missingEntries(const DataMgmt::TaxReturn& federal, bool joint) {
    // Form definitions without the personal information (other than the
    // year's) are not those of an e-file: nothing to ask of them.
    const DataMgmt::TaxFormDescPtr form = federal.getTaxReturnDesc()->getTaxFormDescriptor(kForm92ID);
    if (form.isNull()) return {};
    const bool abroad =
        !form->getFieldDesc(address.abroad).isNull() && federal.formYes(kForm92ID, kCopy, address.abroad);
    std::vector<MissingFilerEntry> missing;
    for (const FilerEntry& entry : kFilerEntries) {
        const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(entry.field);
        if (field.isNull() || !needed(entry.needed, joint, abroad) ||
            federal.hasSigValue(kForm92ID, kCopy, entry.field)) {
            continue;
        }
        missing.push_back(
            {.form = form->getDevName(), .copy = kCopy, .field = entry.field, .label = field->getLineID()});
    }
    return missing;
}

}  // namespace

std::vector<MissingFilerEntry> missingFilerEntries(HostSession& session) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (!loaded.federal) return {};
    return missingEntries(*session.federal(), statedFilingStatus(loaded) == FederalFilingStatus::kJoint);
}

void printMissingFilerEntries(std::ostream& out, const std::vector<MissingFilerEntry>& missing) {
    for (const MissingFilerEntry& m : missing) {
        out << "  missing for the e-file: form " << m.form << " copy " << m.copy << ", field " << m.field.getNumber()
            << ": " << m.label << '\n';
    }
}

}  // namespace GAHost
