#include "host/EntriesCountingNowhere.h"

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "host/EFileFilers.h"
#include "host/EFileRun.h"
#include "host/FederalColumnSeeds.h"
#include "host/ReturnNotes.h"
#include "host/ReviewPrintout.h"
#include "host/SettleReturn.h"
#include "host/SourceFigures.h"
#include "host/UncountedEntryNotes.h"
#include "module/output/SingleCopyForms.h"
#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"
#include "platform/store/StatementForms.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/Utils.h"
#include "testdata/CatalogueManifest.h"

namespace GAHost {

namespace {

// The federal forms whose fields the e-file's records and the printout copy
// as they stand: the filers' personal information (F92), the office and
// preparer data (F131), the e-file answers (F183), the 1099-G statements
// (F165) and federal form 43, mapped to Georgia form 72. An entry there counts where it is
// written, whatever the calculation does.
constexpr std::array<std::string_view, 5> kCopiedAsTheyStand = {"F92", "F131", "F165", "F183", "F43"};

// Whether a catalogue of the form of that dev name names the field.
bool namedField(const std::string& devName, std::int32_t number) {
    for (const CatalogueManifest::Entry& catalogue : CatalogueManifest::kEntries) {
        std::istringstream devNames(catalogue.devNames);
        std::string name;
        bool ofForm = false;
        while (!ofForm && devNames >> name) ofForm = name == devName;
        if (ofForm && std::any_of(catalogue.given.begin(), catalogue.given.end(),
                                  [&](const CatalogueManifest::Given& g) { return g.number == number; })) {
            return true;
        }
    }
    return false;
}

// One field of the calculated Georgia return that holds a value.
struct Held {
    std::int32_t form;
    std::uint16_t copy;
    std::int32_t field;
    DataMgmt::FieldValue value;
    bool operator==(const Held&) const = default;
};

// The fields of the calculated Georgia return that hold a value, but those
// of a copy after the first of a form taken from copy 1 alone (the
// calculation fills such a copy's own lines, which no figure of the return
// takes, and the e-file carries copy 1 alone).
std::vector<Held> heldValues(StateDataMgmt::StateTaxReturn& georgia) {
    std::vector<Held> values;
    const DataMgmt::TaxReturnDescPtr desc = georgia.getTaxReturnDesc();
    for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptors(); !forms.atEOL(); forms.next()) {
        const DataMgmt::FormID form = forms.getTaxFormDescriptor()->getTypeID();
        const bool copyOneAlone = GAOutput::singleCopyForm(form) != nullptr;
        for (const std::uint16_t copy : georgia.copyNumbers(form)) {
            if (copyOneAlone && copy != 1) continue;
            georgia.getForm(form, copy)
                ->forEachSetField([&](const DataMgmt::FieldID& field, const DataMgmt::FieldValue& value, bool) {
                    values.push_back({form.getNumber(), copy, field.getNumber(), value});
                });
        }
    }
    return values;
}

// Whether the two calculated returns differ elsewhere than in the entry's
// own field (a Georgia entry stands in its field either way).
bool differs(const std::vector<Held>& with, const std::vector<Held>& without, const FileEntry& entry) {
    const auto own = [&](const Held& h) {
        return !entry.federal && entry.field != nullptr && h.form == entry.copy->desc->getTypeID().getNumber() &&
               h.copy == entry.copy->copy && h.field == entry.field->desc->getID().getNumber();
    };
    auto a = with.begin();
    auto b = without.begin();
    while (true) {
        while (a != with.end() && own(*a)) ++a;
        while (b != without.end() && own(*b)) ++b;
        if (a == with.end() || b == without.end()) return a != with.end() || b != without.end();
        if (!(*a == *b)) return true;
        ++a;
        ++b;
    }
}

// The return as the file gives it, calculated as gahost run calculates it
// (settleWithEFilePrepared: settled, the e-file prepared, written nowhere,
// and settled again): its figures, what the source table reads of it, what
// the notes tell of it, the review that run prints of it, and the contents
// that a run saves of it where a calculation of those leaves the figures as
// they are. On a return on paper, also the e-file's verdict that gahost
// check gives of it (eFileVerdict), worked out for the first entry that
// needs it: none where no entry is judged as run.
struct Calculated {
    std::vector<Held> figures;
    std::vector<SourcePairing> sources;
    ReturnNotes notes;
    std::string review;
    std::optional<PersistanceMgmt::ReturnFileContents> saved;
    std::optional<std::string> eFileVerdict;
};

// The notes of a calculated return that the check holds a return without an
// entry to: all that gahost check gives (the filers' too) after the check's
// own lines, which tell of entries whatever the others say.
ReturnNotes notesHeldTo(const ModuleLoader& module, HostSession& session) {
    return returnNotes(module, session, /*onPaper=*/true);
}

// The review of the calculated return, printed by `print`: as gahost run
// prints it (printReview), the ordinary audit or on a return being e-filed
// the e-file check, or the e-file check's verdict as check prints it
// (printEFileVerdict). The data checks and the e-file's eligibility read
// entries that no figure or note takes: a 1099-R's state distribution on a
// line that names no state blocks the e-file. Left out, as heldValues
// leaves out their fields, with the block that they alone make: the
// findings on a further copy of a form taken from copy 1 alone, the
// module's (of an amended return's copy 2 that gives no refund) and the
// host's (furtherCopyEntries), which tell of such a copy as it stands what
// the lines of this check tell of its entries: no figure takes them, and
// the e-file carries copy 1 alone.
std::string reviewPrinted(ModuleCalculation& calculation, bool eFileCheck,
                          void (*print)(std::ostream&, const GeorgiaReview&)) {
    GeorgiaReview review = reviewGeorgiaReturn(calculation.module(), calculation.session(), calculation.engine(),
                                               calculation.printer(), eFileCheck);
    const AuditMgmt::AuditReportPtr heldTo(new AuditMgmt::AuditReport(review.report->getAuditType()));
    for (const AuditMgmt::AuditEntry& finding : review.report->entries()) {
        if (!GAOutput::isFurtherCopyOfSingleCopyForm(finding.form, finding.copy)) heldTo->add(finding);
    }
    review.report = heldTo;
    if (eFileCheck) {
        // The further copies close the list of wrong entries.
        std::vector<WrongFilerEntry>& wrong = review.filers.wrong;
        const std::size_t further = std::min(furtherCopyEntries(calculation.session()).size(), wrong.size());
        wrong.erase(wrong.end() - static_cast<std::ptrdiff_t>(further), wrong.end());
        review.blocked = review.blockedByModule || review.filers.any();
    }
    std::ostringstream printed;
    print(printed, review);
    return printed.str();
}

// Whether the calculated return (of a session calculated without the entry)
// is the one calculated with it: its figures but in the entry's own field,
// and what the source table reads of it (a source that a note holds a
// figure to counts, even where the calculation does not read it).
bool sameAs(const Calculated& with, HostSession& session, const FileEntry& entry) {
    return !differs(with.figures, heldValues(*session.georgiaState()), entry) &&
           sourcePairings(session) == with.sources;
}

// Calculates the contents in a session of their own, filed as the session
// is (or as e-filed where eFiled), with `calculate`; false when the reader
// or the calculation refuses them. Without an entry the file may hold a
// seed that the federal return contradicts (the item taxpayer-aged-65 of 1
// without form 1040's box 121), which the reader refuses: an entry without
// which the file cannot be read counts.
template <class Calculate>
bool inScratch(const ModuleLoader& module, const HostSession& session, PersistanceMgmt::ReturnFileContents contents,
               const std::string& returnName, Calculate calculate, bool eFiled = false) {
    if (!PersistanceMgmt::seedsContradictingTheFederalReturn(contents, returnName).empty()) return false;
    HostSession scratch(session.library());
    scratch.openReturns(&module);
    try {
        // The host's clock and random seed stay as the session set them.
        contents.host = {};
        scratch.apply(std::move(contents));
        // Filed as the session is (run --efile marks it after loading).
        scratch.georgiaState()->setInElf(eFiled || session.georgiaState()->InElf());
        const CurrentSession current(scratch);
        ModuleCalculation calculation(module, scratch, returnName);
        return calculate(calculation, *scratch.georgiaState());
    } catch (const Exceptions::QuarloException&) {
        return false;
    }
}

// The return calculated as run calculates it; false when the e-file was
// not prepared, the return did not settle, or run refuses the calculated
// return (a seed of a part-year return that the federal column leaves out).
bool asRun(ModuleCalculation& calculation) {
    const IOMgmt::WritesNowhere nowhere;
    std::ostringstream unwritten;  // why not: the check takes it as a refusal
    const std::optional<Settling> settling = settleWithEFilePrepared(calculation, std::nullopt, unwritten);
    return settling && settling->settled && seedsMissingFromTheFederalColumn(calculation.session(), "").empty();
}

// Whether the return of the contents, calculated once, is the one
// calculated with the entry (sameAs).
bool calculatedOnceTo(const ModuleLoader& module, const HostSession& session,
                      PersistanceMgmt::ReturnFileContents contents, const Calculated& with, const FileEntry& entry) {
    const std::string returnName = contents.georgia->name;
    return inScratch(module, session, std::move(contents), returnName,
                     [&](ModuleCalculation& c, StateDataMgmt::StateTaxReturn&) {
                         c.engine()->calculateReturn(0);
                         return sameAs(with, c.session(), entry);
                     });
}

// What gahost check tells of the e-file of the contents: the return
// calculated as run --efile calculates it, then the e-file check's verdict
// as check prints it; empty where the calculation refuses the return or it
// does not settle.
std::string eFileVerdict(const ModuleLoader& module, const HostSession& session,
                         PersistanceMgmt::ReturnFileContents contents, const std::string& returnName) {
    std::string verdict;
    inScratch(
        module, session, std::move(contents), returnName,
        [&](ModuleCalculation& c, StateDataMgmt::StateTaxReturn&) {
            if (asRun(c)) verdict = reviewPrinted(c, /*eFileCheck=*/true, printEFileVerdict);
            return true;
        },
        /*eFiled=*/true);
    return verdict;
}

// The return as the file gives it; none where the calculation refuses it,
// or where it does not settle, which leaves no figures that a calculation
// without an entry could be held to.
std::optional<Calculated> calculatedWith(const ModuleLoader& module, const HostSession& session,
                                         const PersistanceMgmt::ReturnFileContents& contents) {
    Calculated with;
    const bool calculated =
        inScratch(module, session, contents, contents.georgia->name,
                  [&](ModuleCalculation& c, StateDataMgmt::StateTaxReturn& ga) {
                      if (!asRun(c)) return false;
                      with.figures = heldValues(ga);
                      with.sources = sourcePairings(c.session());
                      with.notes = notesHeldTo(module, c.session());
                      with.saved = PersistanceMgmt::ReturnFile::snapshot(c.session().federal().get(), &ga, &contents);
                      with.review = reviewPrinted(c, ga.InElf(), printReview);
                      return true;
                  });
    if (!calculated) return std::nullopt;
    if (!calculatedOnceTo(module, session, *with.saved, with, FileEntry{})) with.saved.reset();
    return with;
}

// The contents without the entry: its field, found by form, copy and field
// number, or its seeded item, at its place in the loaded file (which the
// saved contents keep); none where the contents do not hold it.
std::optional<PersistanceMgmt::ReturnFileContents> withoutEntry(PersistanceMgmt::ReturnFileContents contents,
                                                                const PersistanceMgmt::ReturnFileContents& loaded,
                                                                const FileEntry& entry) {
    if (entry.item != nullptr) {
        std::vector<PersistanceMgmt::CommonItem>& items = contents.georgia->seeds.commonItems;
        const std::size_t k = static_cast<std::size_t>(entry.item - loaded.georgia->seeds.commonItems.data());
        if (k >= items.size() || items[k].type != entry.item->type) return std::nullopt;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(k));
        return contents;
    }
    for (PersistanceMgmt::CopyEntry& copy : (entry.federal ? contents.federal : contents.georgia)->copies) {
        if (copy.desc->getTypeID() != entry.copy->desc->getTypeID() || copy.copy != entry.copy->copy) continue;
        const auto field = std::find_if(copy.fields.begin(), copy.fields.end(),
                                        [&](const auto& f) { return f.desc->getID() == entry.field->desc->getID(); });
        if (field == copy.fields.end()) return std::nullopt;
        copy.fields.erase(field);
        return contents;
    }
    return std::nullopt;
}

// Whether the return with the entry as saved, the entry taken out, keeps
// its figures and what the source table reads of it when calculated once. A
// run without the entry ends on a return that a further calculation leaves
// as it is; were that the return with the entry, this calculation would
// change nothing (the saved return does not, with the entry). So where it
// changes either, the entry counts.
bool mayCountNowhere(const ModuleLoader& module, const HostSession& session,
                     const PersistanceMgmt::ReturnFileContents& loaded, const Calculated& with,
                     const FileEntry& entry) {
    if (!with.saved) return true;
    std::optional<PersistanceMgmt::ReturnFileContents> saved = withoutEntry(*with.saved, loaded, entry);
    return !saved || calculatedOnceTo(module, session, std::move(*saved), with, entry);
}

// Whether the return without the entry, calculated from the file as run
// calculates it (settled, prepared, settled again), is the return with
// it, the notes tell the same of it and the review that run prints finds
// the same, and on a return on paper whether the e-file's verdict that
// check gives is the same: an entry that a note reads counts (a 1099-R's
// box of the spouse, which moves the note of a missing birth date from one
// filer to the other, though no figure takes it), and so does one that the
// review reads (a state distribution on a line without its state, which
// blocks the e-file). The verdict, which takes a calculation of its own, is
// worked out last.
bool countsNowhere(const ModuleLoader& module, const HostSession& session,
                   const PersistanceMgmt::ReturnFileContents& loaded, Calculated& with, const FileEntry& entry) {
    std::optional<PersistanceMgmt::ReturnFileContents> without = withoutEntry(loaded, loaded, entry);
    const bool eFiled = session.georgiaState()->InElf();
    const std::string& returnName = loaded.georgia->name;
    const bool same =
        without &&
        inScratch(module, session, *without, returnName, [&](ModuleCalculation& c, StateDataMgmt::StateTaxReturn&) {
            return asRun(c) && sameAs(with, c.session(), entry) && notesHeldTo(module, c.session()) == with.notes &&
                   reviewPrinted(c, eFiled, printReview) == with.review;
        });
    if (!same || eFiled) return same;
    if (!with.eFileVerdict) with.eFileVerdict = eFileVerdict(module, session, loaded, returnName);
    return eFileVerdict(module, session, std::move(*without), returnName) == *with.eFileVerdict;
}

// Whether the field stands on a state row of the copy that names another
// state than the Georgia return's.
bool onAnotherStatesRow(const PersistanceMgmt::CopyEntry& copy, std::int32_t field, const std::string& state) {
    const StatementForm* statement = statementFormOf(copy.desc->getTypeID().getNumber());
    if (statement == nullptr) return false;
    for (const SourceStateRow& row : statement->lines) {
        const auto held = std::find_if(copy.fields.begin(), copy.fields.end(),
                                       [&](const auto& f) { return f.desc->getID() == row.state; });
        const bool another =
            held != copy.fields.end() && !held->value.isNull() && !namesState(held->value.getText(), state);
        for (const Primitives::QVImmutableIdentifier& member :
             {row.state, row.withheld, row.stateId, row.amount, row.otherAmount, row.localTax, row.locality}) {
            if (another && member.getNumber() == field) return true;
        }
    }
    return false;
}

// Whether the check takes the field entry of the federal return: an amount
// or a marked box (a text names or identifies, and is reported as it
// stands) in a field the catalogues name, neither on a form copied as it
// stands nor on another state's row of a statement.
bool checkedFederal(const PersistanceMgmt::CopyEntry& copy, const PersistanceMgmt::FieldEntry& field,
                    const std::string& state) {
    const std::string devName = copy.desc->getDevName();
    const std::int32_t number = field.desc->getID().getNumber();
    return !field.value.isNull() && !field.value.boxNo() && field.desc->getKind() != DataMgmt::FieldKind::Text &&
           namedField(devName, number) &&
           std::find(kCopiedAsTheyStand.begin(), kCopiedAsTheyStand.end(), devName) == kCopiedAsTheyStand.end() &&
           !onAnotherStatesRow(copy, number, state);
}

// Whether the check takes the field entry of the Georgia return: one that
// a rule knows why it may count nowhere (a Georgia entry stands on the
// printed form and in the e-file as entered, which is all it may change),
// and that the calculation left as it was, in a field it does not calculate
// (unless marked overridden).
bool checkedGeorgia(const PersistanceMgmt::CopyEntry& copy, const PersistanceMgmt::FieldEntry& field,
                    HostSession& session) {
    if (field.value.isNull() || field.value.boxNo() || (field.desc->isCalculated() && !field.overridden) ||
        !namedField(copy.desc->getDevName(), field.desc->getID().getNumber())) {
        return false;
    }
    const StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const DataMgmt::FormID form = copy.desc->getTypeID();
    return georgia.formExists(form, copy.copy) &&
           georgia.getForm(form, copy.copy)->getField(field.desc->getID())->getValue() == field.value;
}

}  // namespace

EntriesCountingNowhere entriesCountingNowhere(const ModuleLoader& module, HostSession& session) {
    EntriesCountingNowhere found;
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    // The automated tests (gahost run --autotest) run with every
    // calculation, writing their own files: no calculation is made again.
    if (!loaded.federal || !loaded.georgia || DataMgmt::QuarloConfiguration::getInstance()->AllowAutoTest()) {
        return found;
    }
    const std::string state = session.georgiaState()->getAbbreviation();
    std::optional<Calculated> with = calculatedWith(module, session, loaded);
    if (!with) return found;
    std::size_t judgedAsRun = 0;
    const auto judge = [&](const FileEntry& entry) {
        if (!mayCountNowhere(module, session, loaded, *with, entry)) return;
        if (judgedAsRun == kMostEntriesJudgedAsRun) {
            ++found.unjudged;
        } else if (++judgedAsRun; countsNowhere(module, session, loaded, *with, entry)) {
            found.told.push_back(entry);
        }
    };
    for (const bool federal : {true, false}) {
        const PersistanceMgmt::ReturnPart& part = federal ? *loaded.federal : *loaded.georgia;
        for (const PersistanceMgmt::CopyEntry& copy : part.copies) {
            for (const PersistanceMgmt::FieldEntry& field : copy.fields) {
                const FileEntry entry{.federal = federal, .copy = &copy, .field = &field, .item = nullptr};
                if (!miscountedReason(session, entry).empty()) continue;
                if (federal ? !checkedFederal(copy, field, state)
                            : !checkedGeorgia(copy, field, session) || uncountedReason(session, entry).empty()) {
                    continue;
                }
                judge(entry);
            }
        }
    }
    for (const PersistanceMgmt::CommonItem& item : loaded.georgia->seeds.commonItems) {
        // An item of 0 is what the return takes of an item not given.
        const FileEntry entry{.federal = false, .copy = nullptr, .field = nullptr, .item = &item};
        if (item.value == 0 || !miscountedReason(session, entry).empty()) continue;
        judge(entry);
    }
    return found;
}

namespace {

// "form F190 copy 2 field 11 (\"...\") holds 500", "the item itemizes 1".
std::string entryNamed(const FileEntry& entry) {
    std::string named;
    if (entry.item != nullptr) {
        const PersistanceMgmt::CommonItemInfo* info =
            PersistanceMgmt::findCommonItem(static_cast<Utils::PCTypes>(entry.item->type));
        named = "the item " + std::string(info != nullptr ? info->name : std::to_string(entry.item->type)) + " " +
                std::to_string(entry.item->value);
    } else {
        const DataMgmt::FormFieldDesc& field = *entry.field->desc;
        const std::string number = std::to_string(field.getID().getNumber());
        const std::string label = field.getLineID();
        named = "form " + entry.copy->desc->getDevName() + " copy " + std::to_string(entry.copy->copy) + " field " +
                number + (label.empty() || label == number ? "" : " (\"" + label + "\")") + " holds " +
                PersistanceMgmt::valueText(field, entry.field->value);
    }
    return named;
}

// Calls `visit` with each field entry and each seeded item of the loaded
// return file, in file order.
template <class Visit>
void forEachEntry(const PersistanceMgmt::ReturnFileContents& loaded, Visit visit) {
    for (const bool federal : {true, false}) {
        const std::optional<PersistanceMgmt::ReturnPart>& part = federal ? loaded.federal : loaded.georgia;
        if (!part) continue;
        for (const PersistanceMgmt::CopyEntry& copy : part->copies) {
            for (const PersistanceMgmt::FieldEntry& field : copy.fields) {
                if (!field.value.isNull())
                    visit(FileEntry{.federal = federal, .copy = &copy, .field = &field, .item = nullptr});
            }
        }
    }
    if (!loaded.georgia) return;
    for (const PersistanceMgmt::CommonItem& item : loaded.georgia->seeds.commonItems) {
        visit(FileEntry{.federal = false, .copy = nullptr, .field = nullptr, .item = &item});
    }
}

}  // namespace

std::string countsNowhereLine(HostSession& session, const FileEntry& entry) {
    const std::string named = entryNamed(entry);
    const std::string reason = uncountedReason(session, entry);
    return named + ", which counts nowhere on this return: calculated again without it, the return is the same" +
           (reason.empty() ? "" : "; " + reason);
}

std::vector<std::string> miscountedEntryLines(HostSession& session) {
    std::vector<std::string> lines;
    forEachEntry(session.loaded(), [&](const FileEntry& entry) {
        const std::string reason = miscountedReason(session, entry);
        if (!reason.empty()) lines.push_back(entryNamed(entry) + ": " + reason);
    });
    return lines;
}

std::vector<std::string> checkedEntryLines(const ModuleLoader& module, HostSession& session) {
    std::vector<std::string> lines = miscountedEntryLines(session);
    const EntriesCountingNowhere found = entriesCountingNowhere(module, session);
    for (const FileEntry& entry : found.told) lines.push_back(countsNowhereLine(session, entry));
    if (found.unjudged > 0) {
        lines.push_back(std::to_string(found.unjudged) + " more " + (found.unjudged == 1 ? "entry" : "entries") +
                        " of the return file may count nowhere: one calculation without each changes nothing, but "
                        "the check calculates at most " +
                        std::to_string(kMostEntriesJudgedAsRun) +
                        " returns without an entry as run does; remove or correct the entries told and check again");
    }
    return lines;
}

}  // namespace GAHost
