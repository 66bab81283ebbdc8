#include "host/EFileFilers.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/CommonItems.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

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

// The field of copy 1 of the form when the form definitions define it and
// `federal` leaves it without a value: the entry as missing; none else.
std::optional<MissingFilerEntry> missingEntry(const DataMgmt::TaxReturn& federal, const DataMgmt::TaxFormDesc& form,
                                              const FieldId& field) {
    if (field.isNullID()) return std::nullopt;
    const DataMgmt::FormFieldDescPtr desc = form.getFieldDesc(field);
    if (desc.isNull() || federal.hasSigValue(form.getTypeID(), kCopy, field)) return std::nullopt;
    return MissingFilerEntry{.form = form.getDevName(), .copy = kCopy, .field = field, .label = desc->getLineID()};
}

// The entries of form F92 that `federal` leaves without a value and the
// e-file needs.
void addMissingForm92Entries(const DataMgmt::TaxReturn& federal, bool joint, std::vector<MissingFilerEntry>& missing) {
    // Form definitions without the personal information (other than the
    // year's) are not those of an e-file: nothing to ask of them.
    const DataMgmt::TaxFormDescPtr form = federal.getTaxReturnDesc()->getTaxFormDescriptor(kForm92ID);
    if (form.isNull()) return;
    const bool abroad =
        !form->getFieldDesc(address.abroad).isNull() && federal.formYes(kForm92ID, kCopy, address.abroad);
    for (const FilerEntry& entry : kFilerEntries) {
        if (!needed(entry.needed, joint, abroad)) continue;
        if (auto m = missingEntry(federal, *form, entry.field)) missing.push_back(std::move(*m));
    }
}

// The federal filing status the session's file states; 0 when it states
// none.
int filingStatusOf(HostSession& session) { return statedFilingStatus(session.loaded()).value_or(0); }

bool jointReturn(HostSession& session) { return filingStatusOf(session) == FederalFilingStatus::kJoint; }

// ---- form F92 beside the federal main form

// How the e-file's entry and the main form's compare: a number by its
// digits (the main form's is usually entered with dashes), a name without
// regard to case or to the blanks at either end.
enum class Compared { Number, Name };

struct ComparedEntry {
    const FieldId& eFile;
    FederalMainFormLines::HeadingRow mainForm;
    Compared how;
    bool spouse;  // compared where the e-file writes the spouse
};

using Row = FederalMainFormLines;
constexpr ComparedEntry kComparedEntries[] = {
    {.eFile = taxpayer.lastName, .mainForm = Row::kTaxpayerLastName, .how = Compared::Name, .spouse = false},
    {.eFile = taxpayer.number, .mainForm = Row::kTaxpayerNumber, .how = Compared::Number, .spouse = false},
    {.eFile = spouse.lastName, .mainForm = Row::kSpouseLastName, .how = Compared::Name, .spouse = true},
    {.eFile = spouse.number, .mainForm = Row::kSpouseNumber, .how = Compared::Number, .spouse = true},
};

// The federal main form the Georgia return is prepared from, and its lines.
struct MainForm {
    const FormId& form;
    const FederalMainFormLines& lines;
};

MainForm mainFormOf(const StateDataMgmt::StateTaxReturn& georgia) {
    const FormId filed = georgia.getFederalFormID();
    if (filed == kForm55ID) return {kForm55ID, kForm55Lines};
    if (filed == kForm87ID) return {kForm87ID, kForm87Lines};
    return {kForm1ID, kForm1Lines};
}

// The filers' numbers of the main form, which form 70 carries and takes from
// nowhere else, that the session's return leaves empty: the taxpayer's, and
// on a joint return the spouse's (as form F92's are needed).
std::vector<MissingFilerEntry> missingMainFormNumbers(HostSession& session) {
    if (!session.loaded().federal) return {};
    const DataMgmt::TaxReturn& federal = *session.federal();
    const MainForm main = mainFormOf(*session.georgiaState());
    const DataMgmt::TaxFormDescPtr form = federal.getTaxReturnDesc()->getTaxFormDescriptor(main.form);
    if (form.isNull()) return {};
    std::vector<MissingFilerEntry> missing;
    for (const Row::HeadingRow row : {Row::kTaxpayerNumber, Row::kSpouseNumber}) {
        if (row == Row::kSpouseNumber && !jointReturn(session)) continue;
        if (auto m = missingEntry(federal, *form, main.lines.heading[row])) missing.push_back(std::move(*m));
    }
    return missing;
}

std::string digitsOf(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    }
    return digits;
}

bool agree(const std::string& a, const std::string& b, Compared how) {
    if (how == Compared::Number) return digitsOf(a) == digitsOf(b);
    return Utils::QVStringUtils::stricmp(Utils::stripView(a), Utils::stripView(b)) == 0;
}

// The entry of a field of copy 1 of `form`; none when the field is not
// defined or holds no value.
std::optional<DisagreeingFilerEntry::Entry> entryOf(const DataMgmt::TaxReturn& federal, const FormId& form,
                                                    const FieldId& field) {
    const DataMgmt::TaxFormDescPtr desc = federal.getTaxReturnDesc()->getTaxFormDescriptor(form);
    if (desc.isNull() || field.isNullID() || desc->getFieldDesc(field).isNull() ||
        !federal.hasSigValue(form, kCopy, field)) {
        return std::nullopt;
    }
    return DisagreeingFilerEntry::Entry{.form = desc->getDevName(),
                                        .copy = kCopy,
                                        .field = field,
                                        .label = desc->getFieldDesc(field)->getLineID(),
                                        .value = federal.formString(form, kCopy, field)};
}

// "form F92 copy 1, field 7 "400001234""
std::string entryText(const DisagreeingFilerEntry::Entry& e) {
    return "form " + e.form + " copy " + std::to_string(e.copy) + ", field " + std::to_string(e.field.getNumber()) +
           " \"" + Utils::QVStringUtils::escapeForMessage(e.value, 80) + "\"";
}

// Both entries, then form F92's line label.
std::string disagreementText(const DisagreeingFilerEntry& d) {
    return entryText(d.eFile) + " but " + entryText(d.mainForm) + ": " + d.eFile.label;
}

// "form F92 copy 1, field 7: Taxpayer's social security number"
std::string missingText(const MissingFilerEntry& m) {
    return "form " + m.form + " copy " + std::to_string(m.copy) + ", field " + std::to_string(m.field.getNumber()) +
           ": " + m.label;
}

// "form GA69 copy 1, field 25 "N/A" (Taxpayer's social security number):
// a social security number ..."; a line that is not a field's by its key.
std::string wrongText(const WrongFilerEntry& w) {
    const StateDataMgmt::EFileWrongEntry& e = w.entry;
    const std::string value = " \"" + Utils::QVStringUtils::escapeForMessage(e.value, 80) + "\"";
    if (e.form.isNullID()) return "the e-file's line " + e.key + value + ": " + e.fault;
    return "form " + w.form + " copy " + std::to_string(e.copy) + ", field " + std::to_string(e.field.getNumber()) +
           value + (w.label.empty() ? "" : " (" + w.label + ")") + ": " + e.fault;
}

// The texts joined by "; ".
template <class Entry, class Text>
std::string joined(const std::vector<Entry>& entries, Text text) {
    std::string out;
    for (const Entry& e : entries) out += (out.empty() ? "" : "; ") + text(e);
    return out;
}

}  // namespace

std::vector<MissingFilerEntry> missingFilerEntries(HostSession& session) {
    std::vector<MissingFilerEntry> missing = missingMainFormNumbers(session);
    if (session.loaded().federal) addMissingForm92Entries(*session.federal(), jointReturn(session), missing);
    return missing;
}

std::vector<DisagreeingFilerEntry> disagreeingFilerEntries(HostSession& session) {
    if (!session.loaded().federal) return {};
    const DataMgmt::TaxReturn& federal = *session.federal();
    const MainForm main = mainFormOf(*session.georgiaState());
    const bool spouseWritten = FederalFilingStatus::listsSpouse(filingStatusOf(session));
    std::vector<DisagreeingFilerEntry> disagreeing;
    for (const ComparedEntry& compared : kComparedEntries) {
        if (compared.spouse && !spouseWritten) continue;
        const auto eFile = entryOf(federal, kForm92ID, compared.eFile);
        const auto mainForm = entryOf(federal, main.form, main.lines.heading[compared.mainForm]);
        if (!eFile || !mainForm || agree(eFile->value, mainForm->value, compared.how)) continue;
        disagreeing.push_back({.eFile = *eFile, .mainForm = *mainForm});
    }
    return disagreeing;
}

std::vector<WrongFilerEntry> wrongEFileEntries(HostSession& session) {
    std::vector<WrongFilerEntry> wrong;
    if (session.georgiaState() == nullptr) return wrong;
    for (const StateDataMgmt::EFileWrongEntry& e : session.georgiaState()->eFileWrongEntries) {
        WrongFilerEntry w{.entry = e, .form = {}, .label = {}};
        const DataMgmt::TaxReturnPtr& holder = e.form.isState() ? session.georgia() : session.federal();
        const DataMgmt::TaxFormDescPtr form = e.form.isNullID() || holder.isNull()
                                                  ? DataMgmt::TaxFormDescPtr()
                                                  : holder->getTaxReturnDesc()->getTaxFormDescriptor(e.form);
        if (!form.isNull()) {
            w.form = form->getDevName();
            const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(e.field);
            if (!field.isNull()) w.label = field->getLineID();
        } else if (!e.form.isNullID()) {
            w.form = std::to_string(e.form.getNumber());
        }
        wrong.push_back(std::move(w));
    }
    return wrong;
}

FilerFindings filerFindings(HostSession& session) {
    return {.missing = missingFilerEntries(session),
            .disagreeing = disagreeingFilerEntries(session),
            .wrong = wrongEFileEntries(session)};
}

void printFilerFindings(std::ostream& out, const FilerFindings& findings) {
    for (const MissingFilerEntry& m : findings.missing) out << "  missing for the e-file: " << missingText(m) << '\n';
    for (const DisagreeingFilerEntry& d : findings.disagreeing) {
        out << "  disagrees for the e-file: " << disagreementText(d) << '\n';
    }
    for (const WrongFilerEntry& w : findings.wrong) out << "  wrong for the e-file: " << wrongText(w) << '\n';
}

void noteFilersOnPaper(HostSession& session) {
    IOMgmt::IOMgr& io = IOMgmt::IOMgr::getInstance();
    // Form F92's missing entries matter to the e-file alone; the main form's
    // numbers to form 70 too.
    const std::vector<MissingFilerEntry> missing = missingMainFormNumbers(session);
    if (!missing.empty()) {
        io.notice("missing for form 70 and the e-file: " + joined(missing, missingText) +
                  "; form 70 takes the filers' numbers from form " + missing.front().form +
                  " only, and an e-file of this return (run --efile) is blocked until each is entered");
    }
    const std::vector<DisagreeingFilerEntry> disagreeing = disagreeingFilerEntries(session);
    if (disagreeing.empty()) return;
    const DisagreeingFilerEntry& first = disagreeing.front();
    io.notice("form " + first.eFile.form + ", whose names and numbers the e-file carries, disagrees with form " +
              first.mainForm.form +
              ", whose names and numbers form 70 carries (numbers compared by their digits, names without regard to "
              "case): " +
              joined(disagreeing, disagreementText) +
              "; an e-file of this return (run --efile) is blocked until they agree");
}

}  // namespace GAHost
