#include "host/EFileFilers.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <optional>

#include "host/UncountedEntryNotes.h"
#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form113Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/SingleCopyForms.h"
#include "platform/CommonItems.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

// Whose entry a line is, and when the e-file needs it.
enum class NeededOn {
    EveryReturn,
    SpouseWritten,  // the spouse's: the return header names the spouse of a joint or a separate return
    HomeAddress,    // not with an address abroad (form F92's foreign-address box)
    // A filer's birth date, where the return says the filer is 65 or over
    // (form 1040's box, the item taxpayer-aged-65 or spouse-aged-65): the
    // retirement exclusion takes the filer's age from it alone.
    TaxpayerAged65,
    SpouseAged65,  // on a joint return
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
    {.field = taxpayer.birthDate, .needed = NeededOn::TaxpayerAged65},
    {.field = spouse.firstName, .needed = NeededOn::SpouseWritten},
    {.field = spouse.lastName, .needed = NeededOn::SpouseWritten},
    {.field = spouse.number, .needed = NeededOn::SpouseWritten},
    {.field = spouse.birthDate, .needed = NeededOn::SpouseAged65},
    {.field = address.street, .needed = NeededOn::EveryReturn},
    {.field = address.city, .needed = NeededOn::EveryReturn},
    {.field = address.state, .needed = NeededOn::HomeAddress},
    {.field = address.zipCode, .needed = NeededOn::HomeAddress},
};

constexpr std::uint16_t kCopy = 1;

// Whom the e-file writes: the spouse of a joint and of a separate return
// (the return header's lines 00520 to 00540, on a separate return also the
// signature lines 01240 to 01280). `named` is the spouse that form F92
// names, `mainFormNamed` the one the main form names (empty where the form
// names none).
struct WrittenSpouse {
    bool joint = false;
    bool separate = false;
    std::string named;
    std::string mainFormNamed;
    std::string mainForm = "F1";  // the federal main form's dev name
    bool written() const { return joint || separate; }
    // Why the main form's spouse's number is needed on a separate return.
    std::string mainFormReason() const {
        if (!separate) return "";
        if (named.empty()) return "this married-separate return names the spouse, on form 70 and in the e-file";
        return "the e-file of this married-separate return writes the spouse that form F92 names, \"" +
               Utils::QVStringUtils::escapeForMessage(named, 80) + "\", who must be the one form " + mainForm +
               " names";
    }
    // Why an entry of form F92's spouse is needed on a separate return.
    std::string form92Reason() const {
        if (!separate) return "";
        const std::string reason = "the e-file of this married-separate return writes the spouse from form F92";
        if (mainFormNamed.empty()) return reason;
        return reason + ", who must be the one form " + mainForm + " names, \"" +
               Utils::QVStringUtils::escapeForMessage(mainFormNamed, 80) + "\"";
    }
};

// What decides whether the return needs an entry.
struct Circumstances {
    WrittenSpouse spouseOf;
    bool abroad = false;
    bool taxpayerAged65 = false;
    bool spouseAged65 = false;
};

bool needed(NeededOn when, const Circumstances& c) {
    switch (when) {
        case NeededOn::EveryReturn:
            return true;
        case NeededOn::SpouseWritten:
            return c.spouseOf.written();
        case NeededOn::HomeAddress:
            return !c.abroad;
        case NeededOn::TaxpayerAged65:
            return c.taxpayerAged65;
        case NeededOn::SpouseAged65:
            return c.spouseOf.joint && c.spouseAged65;
    }
    return true;
}

// The field of copy 1 of the form when the form definitions define it and
// `federal` leaves it without a value: the entry as missing; none else.
std::optional<MissingFilerEntry> missingEntry(const DataMgmt::TaxReturn& federal, const DataMgmt::TaxFormDesc& form,
                                              const FieldId& field) {
    if (field.isNullID()) return std::nullopt;
    const DataMgmt::FormFieldDescPtr desc = form.getFieldDesc(field);
    if (desc.isNull() || federal.hasSigValue(form.getTypeID(), kCopy, field)) return std::nullopt;
    return MissingFilerEntry{
        .form = form.getDevName(), .copy = kCopy, .field = field, .label = desc->getLineID(), .reason = {}};
}

// The entries of form F92 that `federal` leaves without a value and the
// e-file needs; `c` without `abroad`, which form F92 tells.
void addMissingForm92Entries(const DataMgmt::TaxReturn& federal, Circumstances c,
                             std::vector<MissingFilerEntry>& missing) {
    // Form definitions without the personal information (other than the
    // year's) are not those of an e-file: nothing to ask of them.
    const DataMgmt::TaxFormDescPtr form = federal.getTaxReturnDesc()->getTaxFormDescriptor(kForm92ID);
    if (form.isNull()) return;
    c.abroad = !form->getFieldDesc(address.abroad).isNull() && federal.formYes(kForm92ID, kCopy, address.abroad);
    for (const FilerEntry& entry : kFilerEntries) {
        if (!needed(entry.needed, c)) continue;
        if (auto m = missingEntry(federal, *form, entry.field)) {
            if (entry.needed == NeededOn::SpouseWritten) m->reason = c.spouseOf.form92Reason();
            missing.push_back(std::move(*m));
        }
    }
}

// The federal filing status the session's file states; 0 when it states
// none.
int filingStatusOf(HostSession& session) { return PersistanceMgmt::statedFilingStatus(session.loaded()).value_or(0); }

bool jointReturn(HostSession& session) { return filingStatusOf(session) == FederalFilingStatus::kJoint; }

// ---- form F92 beside the federal main form

// How the e-file's entry and the main form's compare: a number by its
// digits (the main form's is usually entered with dashes), a name without
// regard to case or to the blanks at either end; a first name so too, alone
// or followed by the middle initial that form F92 keeps apart and the main
// form's first name may hold.
enum class Compared { Number, Name, FirstName };

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
    {.eFile = spouse.firstName, .mainForm = Row::kSpouseFirstName, .how = Compared::FirstName, .spouse = true},
    {.eFile = spouse.lastName, .mainForm = Row::kSpouseLastName, .how = Compared::Name, .spouse = true},
    {.eFile = spouse.number, .mainForm = Row::kSpouseNumber, .how = Compared::Number, .spouse = true},
};

// The federal main form the Georgia return is prepared from, and its lines.
struct MainForm {
    const FormId& form;
    const FederalMainFormLines& lines;
};

MainForm mainFormOf(const StateDataMgmt::StateTaxReturn& georgia) {
    const FormId& filed = georgia.getFederalFormID();
    return {filed == kForm55ID ? kForm55ID : filed == kForm87ID ? kForm87ID : kForm1ID, federalMainFormLines(filed)};
}

// The entries of the fields of the copy of the form that hold a value, joined
// by blanks; empty where the form is not defined.
std::string joinedEntries(const DataMgmt::TaxReturn& federal, const FormId& form, std::initializer_list<FieldId> fields,
                          std::uint16_t copy = kCopy) {
    std::string joined;
    if (federal.getTaxReturnDesc()->getTaxFormDescriptor(form).isNull()) return joined;
    for (const FieldId& field : fields) {
        if (field.isNullID() || !federal.hasSigValue(form, copy, field)) continue;
        const std::string value(Utils::stripView(federal.formString(form, copy, field)));
        joined += (joined.empty() ? "" : " ") + value;
    }
    return joined;
}

// The spouse that the e-file of the session's return writes, and on a
// separate return the names and numbers of the spouse on form F92 and on
// the main form.
WrittenSpouse writtenSpouse(HostSession& session) {
    WrittenSpouse spouseOf;
    spouseOf.joint = jointReturn(session);
    spouseOf.separate = filingStatusOf(session) == FederalFilingStatus::kSeparate;
    if (!spouseOf.separate || !session.loaded().federal) return spouseOf;
    const DataMgmt::TaxReturn& federal = *session.federal();
    const MainForm main = mainFormOf(*session.georgiaState());
    const DataMgmt::TaxFormDescPtr mainForm = federal.getTaxReturnDesc()->getTaxFormDescriptor(main.form);
    if (!mainForm.isNull()) spouseOf.mainForm = mainForm->getDevName();
    spouseOf.named = joinedEntries(
        federal, kForm92ID, {spouse.firstName, spouse.middleName, spouse.lastName, spouse.suffix, spouse.number});
    const auto& row = main.lines.heading;
    spouseOf.mainFormNamed =
        joinedEntries(federal, main.form,
                      {row[Row::kSpouseFirstName], row[Row::kSpouseMiddleName], row[Row::kSpouseLastName],
                       row[Row::kSpouseSuffix], row[Row::kSpouseNumber]});
    return spouseOf;
}

// The filers' numbers of the main form, which form 70 carries and takes from
// nowhere else, that the session's return leaves empty: the taxpayer's, and
// the spouse's where the e-file writes a spouse (as form F92's are needed).
std::vector<MissingFilerEntry> missingMainFormNumbers(HostSession& session) {
    if (!session.loaded().federal) return {};
    const DataMgmt::TaxReturn& federal = *session.federal();
    const MainForm main = mainFormOf(*session.georgiaState());
    const DataMgmt::TaxFormDescPtr form = federal.getTaxReturnDesc()->getTaxFormDescriptor(main.form);
    if (form.isNull()) return {};
    const WrittenSpouse spouseOf = writtenSpouse(session);
    std::vector<MissingFilerEntry> missing;
    for (const Row::HeadingRow row : {Row::kTaxpayerNumber, Row::kSpouseNumber}) {
        if (row == Row::kSpouseNumber && !spouseOf.written()) continue;
        if (auto m = missingEntry(federal, *form, main.lines.heading[row])) {
            if (row == Row::kSpouseNumber) m->reason = spouseOf.mainFormReason();
            missing.push_back(std::move(*m));
        }
    }
    return missing;
}

// ---- the dependents

// A dependent's entry that the e-file needs, and why: the e-file writes a
// dependent's lines (04003 to 04006: name, number, relationship) only under
// a first name, and Georgia takes a dependent with its number.
struct DependentEntry {
    std::size_t column;  // in form 70's and the document list's row
    const char* why;
};
constexpr DependentEntry kDependentEntries[] = {
    {.column = 0, .why = "the e-file writes a dependent's lines only under a first name"},
    {.column = 2, .why = "the Georgia return (form 70 or the document list) and its e-file carry the number"},
};

// The entries of each dependent that the return lists (form F113's box)
// that its copy of form F113 leaves empty: form 70's rows, the document list
// (form 76) and the e-file take each dependent from that copy alone. A
// return filed on form 1040EZ lists no dependents.
std::vector<MissingFilerEntry> missingDependentEntries(HostSession& session) {
    std::vector<MissingFilerEntry> missing;
    if (!session.loaded().federal || mainFormOf(*session.georgiaState()).form == kForm87ID) return missing;
    const DataMgmt::TaxReturn& federal = *session.federal();
    const DataMgmt::TaxFormDescPtr form = federal.getTaxReturnDesc()->getTaxFormDescriptor(kForm113ID);
    if (form.isNull()) return missing;
    const auto& dependent = kForm113Lines;
    for (const std::uint16_t copy : federal.copyNumbers(kForm113ID)) {
        if (!federal.formYes(kForm113ID, copy, dependent.listed)) continue;
        const std::string name = joinedEntries(federal, kForm113ID, {dependent.row[0], dependent.row[1]}, copy);
        const std::string whose = name.empty() ? "of the dependent of this copy, whose name it leaves empty"
                                               : "of \"" + Utils::QVStringUtils::escapeForMessage(name, 80) + "\"";
        for (const DependentEntry& entry : kDependentEntries) {
            const FieldId& field = dependent.row[entry.column];
            const DataMgmt::FormFieldDescPtr desc = form->getFieldDesc(field);
            if (desc.isNull() || federal.hasSigValue(kForm113ID, copy, field)) continue;
            missing.push_back({.form = form->getDevName(),
                               .copy = copy,
                               .field = field,
                               .label = desc->getLineID(),
                               .reason = whose + ", a dependent the return lists (box " +
                                         std::to_string(dependent.listed.getNumber()) + "): " + entry.why});
        }
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

// "form F92 copy 1, field 7: Taxpayer's social security number", and its
// reason after a colon where it has one.
std::string missingText(const MissingFilerEntry& m) {
    return "form " + m.form + " copy " + std::to_string(m.copy) + ", field " + std::to_string(m.field.getNumber()) +
           ": " + m.label + (m.reason.empty() ? "" : ": " + m.reason);
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

// ---- further copies of the forms taken from copy 1 alone

// Why the e-file cannot carry the further copy, and what the preparer does.
std::string furtherCopyFault(HostSession& session, const FurtherCopy& further) {
    const std::string copy = std::to_string(further.copy.copy);
    const std::size_t entries = further.entries.size();
    const std::string others = entries == 1   ? ""
                               : entries == 2 ? " with its other entry"
                                              : " with its " + std::to_string(entries - 1) + " other entries";
    return "the e-file carries form " + further.copy.desc->getDevName() +
           " from copy 1 alone, one for each return, and the calculation takes no figure from copy " + copy +
           ", so copy " + copy + others + " counts in nothing: enter on copy 1 what of it belongs to the return, " +
           "and remove copy " + copy + countsOnlyWithText(session, further);
}

// The texts joined by "; ".
template <class Entry, class Text>
std::string joined(const std::vector<Entry>& entries, Text text) {
    std::string out;
    for (const Entry& e : entries) out += (out.empty() ? "" : "; ") + text(e);
    return out;
}

// A wrong value the e-file takes from a field the calculation fills (form
// GA76's dependents, from form F113) is named where it was typed: the one
// entry of the return file that holds it, the e-file's field said in the
// fault. Where the field was typed itself, or no entry or several hold the
// value, the e-file's field stands.
StateDataMgmt::EFileWrongEntry whereTyped(HostSession& session, const StateDataMgmt::EFileWrongEntry& e) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    const std::string value = Utils::strip(e.value);
    if (e.form.isNullID() || value.empty()) return e;
    std::optional<StateDataMgmt::EFileWrongEntry> typed;
    int holding = 0;
    for (const std::optional<PersistanceMgmt::ReturnPart>* part : {&loaded.federal, &loaded.georgia}) {
        if (!part->has_value()) continue;
        for (const PersistanceMgmt::CopyEntry& c : (*part)->copies) {
            for (const PersistanceMgmt::FieldEntry& f : c.fields) {
                if (c.desc->getTypeID() == e.form && c.copy == e.copy && f.desc->getID() == e.field) {
                    return e;  // typed where the e-file takes it
                }
                if (!f.value.isText() || Utils::strip(f.value.getText()) != value) continue;
                ++holding;
                typed = StateDataMgmt::EFileWrongEntry{.form = c.desc->getTypeID(),
                                                       .copy = c.copy,
                                                       .field = f.desc->getID(),
                                                       .key = e.key,
                                                       .value = e.value,
                                                       .fault = {}};
            }
        }
    }
    if (holding != 1) return e;
    const DataMgmt::TaxReturnPtr& holder = e.form.isState() ? session.georgia() : session.federal();
    const DataMgmt::TaxFormDescPtr form =
        holder.isNull() ? DataMgmt::TaxFormDescPtr() : holder->getTaxReturnDesc()->getTaxFormDescriptor(e.form);
    typed->fault = "the e-file takes it into " +
                   (form.isNull() ? "form " + std::to_string(e.form.getNumber()) : "form " + form->getDevName()) +
                   " copy " + std::to_string(e.copy) + ", field " + std::to_string(e.field.getNumber()) + ", and " +
                   e.fault;
    return *typed;
}

}  // namespace

std::vector<MissingFilerEntry> missingFilerEntries(HostSession& session) {
    std::vector<MissingFilerEntry> missing = missingMainFormNumbers(session);
    if (!session.loaded().federal) return missing;
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const auto aged65 = [&](Utils::PCTypes item) {
        return georgia.pullCommon(georgia.getFederalFormID(), 1, item) == 1;
    };
    addMissingForm92Entries(*session.federal(),
                            {.spouseOf = writtenSpouse(session),
                             .taxpayerAged65 = aged65(Utils::kTaxpayerAged65),
                             .spouseAged65 = aged65(Utils::kSpouseAged65)},
                            missing);
    for (MissingFilerEntry& m : missingDependentEntries(session)) missing.push_back(std::move(m));
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
        const auto middle =
            compared.how == Compared::FirstName ? entryOf(federal, kForm92ID, spouse.middleName) : std::nullopt;
        // The initial may end in a full stop on either form ("Casey J.").
        const auto withoutStop = [](std::string name) {
            while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
            return name;
        };
        if (middle &&
            agree(eFile->value + " " + withoutStop(middle->value), withoutStop(mainForm->value), Compared::Name)) {
            continue;
        }
        disagreeing.push_back({.eFile = *eFile, .mainForm = *mainForm});
    }
    return disagreeing;
}

std::vector<WrongFilerEntry> wrongEFileEntries(HostSession& session) {
    std::vector<WrongFilerEntry> wrong;
    if (session.georgiaState() == nullptr) return wrong;
    for (const StateDataMgmt::EFileWrongEntry& found : session.georgiaState()->eFileWrongEntries) {
        const StateDataMgmt::EFileWrongEntry e = whereTyped(session, found);
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

std::vector<WrongFilerEntry> furtherCopyEntries(HostSession& session) {
    std::vector<WrongFilerEntry> wrong;
    const StateDataMgmt::StateTaxReturn* ga = session.georgiaState();
    if (ga == nullptr || dynamic_cast<const StateReturnWithoutModule*>(ga) != nullptr) return wrong;
    for (const FurtherCopy& further : furtherCopiesWithEntries(session)) {
        const PersistanceMgmt::FieldEntry& first = *further.entries.front();
        wrong.push_back({.entry = {.form = further.copy.desc->getTypeID(),
                                   .copy = further.copy.copy,
                                   .field = first.desc->getID(),
                                   .key = {},
                                   .value = PersistanceMgmt::valueText(*first.desc, first.value),
                                   .fault = furtherCopyFault(session, further)},
                         .form = further.copy.desc->getDevName(),
                         .label = first.desc->getLineID()});
    }
    return wrong;
}

FilerFindings filerFindings(HostSession& session) {
    FilerFindings findings{.missing = missingFilerEntries(session),
                           .disagreeing = disagreeingFilerEntries(session),
                           .wrong = wrongEFileEntries(session)};
    for (WrongFilerEntry& w : furtherCopyEntries(session)) findings.wrong.push_back(std::move(w));
    return findings;
}

void printFilerFindings(std::ostream& out, const FilerFindings& findings) {
    for (const MissingFilerEntry& m : findings.missing) out << "  missing for the e-file: " << missingText(m) << '\n';
    for (const DisagreeingFilerEntry& d : findings.disagreeing) {
        out << "  disagrees for the e-file: " << disagreementText(d) << '\n';
    }
    for (const WrongFilerEntry& w : findings.wrong) out << "  wrong for the e-file: " << wrongText(w) << '\n';
}

std::vector<std::string> filersOnPaperNotes(HostSession& session) {
    std::vector<std::string> notes;
    // Form F92's missing entries matter to the e-file alone; the main form's
    // numbers and the dependents' to form 70 (or the document list) too.
    const std::vector<MissingFilerEntry> missing = missingMainFormNumbers(session);
    if (!missing.empty()) {
        notes.push_back("missing for form 70 and the e-file: " + joined(missing, missingText) +
                        "; form 70 takes the filers' numbers from form " + missing.front().form +
                        " only, and an e-file of this return (run --efile) is blocked until each is entered");
    }
    const std::vector<MissingFilerEntry> dependents = missingDependentEntries(session);
    if (!dependents.empty()) {
        notes.push_back("missing for form 70 and the e-file: " + joined(dependents, missingText) +
                        "; the Georgia return takes a dependent's name and number from its copy of form " +
                        dependents.front().form +
                        " only, and an e-file of this return (run --efile) is blocked until each is entered");
    }
    const std::vector<DisagreeingFilerEntry> disagreeing = disagreeingFilerEntries(session);
    if (disagreeing.empty()) return notes;
    const DisagreeingFilerEntry& first = disagreeing.front();
    notes.push_back("form " + first.eFile.form + ", whose names and numbers the e-file carries, disagrees with form " +
                    first.mainForm.form +
                    ", whose names and numbers form 70 carries (numbers compared by their digits, names without "
                    "regard to case): " +
                    joined(disagreeing, disagreementText) +
                    "; an e-file of this return (run --efile) is blocked until they agree");
    return notes;
}

}  // namespace GAHost
