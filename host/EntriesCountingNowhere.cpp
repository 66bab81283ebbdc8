#include "host/EntriesCountingNowhere.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>
#include <utility>

#include "host/EFileRun.h"
#include "host/SettleReturn.h"
#include "host/UncountedEntryNotes.h"
#include "module/output/SingleCopyForms.h"
#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/store/CommonItemTable.h"
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
// (settleWithEFilePrepared): settled, which its first `passes` calculations
// reach (one at least: a file saved by a run holds a settled return, which
// its first calculation only confirms), then the e-file prepared, written
// nowhere, and settled again.
struct Calculated {
    int passes = 0;
    std::vector<Held> settled, prepared;
};

// Calculates the contents in a session of their own, filed as the session
// is, with `calculate`; false when the calculation refuses them.
template <class Calculate>
bool inScratch(const ModuleLoader& module, const HostSession& session, PersistanceMgmt::ReturnFileContents contents,
               const std::string& returnName, Calculate calculate) {
    HostSession scratch(session.library());
    scratch.openReturns(&module);
    try {
        // The host's clock and random seed stay as the session set them.
        contents.host = {};
        scratch.apply(std::move(contents));
        // Filed as the session is (run --efile marks it after loading).
        scratch.georgiaState()->setInElf(session.georgiaState()->InElf());
        const CurrentSession current(scratch);
        ModuleCalculation calculation(module, scratch, returnName);
        return calculate(calculation, *scratch.georgiaState());
    } catch (const Exceptions::QuarloException&) {
        return false;
    }
}

// The e-file prepared, written nowhere, and the return settled again, as
// run does once the return has settled; false when the e-file was not
// prepared.
bool prepared(ModuleCalculation& calculation) {
    const IOMgmt::WritesNowhere nowhere;
    std::ostringstream unwritten;  // why not: the check takes it as a refusal
    return settleWithEFilePrepared(calculation, std::nullopt, unwritten).has_value();
}

// The return as the file gives it; none where the calculation refuses it,
// or where it does not settle, which leaves no figures that a calculation
// without an entry could be held to.
std::optional<Calculated> calculatedWith(const ModuleLoader& module, const HostSession& session,
                                         const PersistanceMgmt::ReturnFileContents& contents,
                                         const std::string& returnName) {
    Calculated with;
    const bool calculated =
        inScratch(module, session, contents, returnName, [&](ModuleCalculation& c, StateDataMgmt::StateTaxReturn& ga) {
            const Settling settling = c.settle();
            // The last calculation only confirms what the one before it reached.
            with.passes = std::max(1, settling.calculations - 1);
            with.settled = heldValues(ga);
            if (!settling.settled || !prepared(c)) return false;
            with.prepared = heldValues(ga);
            return true;
        });
    return calculated ? std::optional<Calculated>(std::move(with)) : std::nullopt;
}

// Whether the return without the entry, calculated as run calculates it,
// is the return with it. It is first calculated as many times as the
// return with it took to settle: where that differs, the entry is taken to
// count, and the rest (the e-file's preparation, which takes the settled
// return as it stands and adds to it, the answers it maps and the
// electronic filing summary, and the settling after it) is not made. Only
// an entry whose absence made the return settle later than it does could
// still reach the same return, and it goes untold: the check errs towards
// silence, never towards a false line. Where it does not differ, the
// calculation goes on as run's does: settled (the entry's absence may take
// a calculation more), prepared and settled again, and that is compared.
bool countsNowhere(const ModuleLoader& module, const HostSession& session, PersistanceMgmt::ReturnFileContents without,
                   const std::string& returnName, const Calculated& with, const FileEntry& entry) {
    return inScratch(module, session, std::move(without), returnName,
                     [&](ModuleCalculation& c, StateDataMgmt::StateTaxReturn& ga) {
                         for (int pass = 0; pass < with.passes; ++pass) c.engine()->calculateReturn(0);
                         return !differs(with.settled, heldValues(ga), entry) && prepared(c) &&
                                !differs(with.prepared, heldValues(ga), entry);
                     });
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

std::vector<FileEntry> entriesCountingNowhere(const ModuleLoader& module, HostSession& session) {
    std::vector<FileEntry> found;
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    // The automated tests (gahost run --autotest) run with every
    // calculation, writing their own files: no calculation is made again.
    if (!loaded.federal || !loaded.georgia || DataMgmt::QuarloConfiguration::getInstance()->AllowAutoTest()) {
        return found;
    }
    const std::string& returnName = loaded.georgia->name;
    const std::string state = session.georgiaState()->getAbbreviation();
    const std::optional<Calculated> with = calculatedWith(module, session, loaded, returnName);
    if (!with) return found;
    const auto judge = [&](const FileEntry& entry, PersistanceMgmt::ReturnFileContents without) {
        if (countsNowhere(module, session, std::move(without), returnName, *with, entry)) found.push_back(entry);
    };
    for (const bool federal : {true, false}) {
        const PersistanceMgmt::ReturnPart& part = federal ? *loaded.federal : *loaded.georgia;
        for (std::size_t c = 0; c < part.copies.size(); ++c) {
            const PersistanceMgmt::CopyEntry& copy = part.copies[c];
            for (std::size_t f = 0; f < copy.fields.size(); ++f) {
                const FileEntry entry{.federal = federal, .copy = &copy, .field = &copy.fields[f], .item = nullptr};
                if (!miscountedReason(session, entry).empty()) continue;
                if (federal
                        ? !checkedFederal(copy, copy.fields[f], state)
                        : !checkedGeorgia(copy, copy.fields[f], session) || uncountedReason(session, entry).empty()) {
                    continue;
                }
                PersistanceMgmt::ReturnFileContents without = loaded;
                auto& fields = (federal ? *without.federal : *without.georgia).copies[c].fields;
                fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(f));
                judge(entry, std::move(without));
            }
        }
    }
    const std::vector<PersistanceMgmt::CommonItem>& items = loaded.georgia->seeds.commonItems;
    for (std::size_t k = 0; k < items.size(); ++k) {
        // An item of 0 is what the return takes of an item not given.
        const FileEntry entry{.federal = false, .copy = nullptr, .field = nullptr, .item = &items[k]};
        if (items[k].value == 0 || !miscountedReason(session, entry).empty()) continue;
        PersistanceMgmt::ReturnFileContents without = loaded;
        auto& seeded = without.georgia->seeds.commonItems;
        seeded.erase(seeded.begin() + static_cast<std::ptrdiff_t>(k));
        judge(entry, std::move(without));
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

std::size_t noteEntriesCountingNowhere(const ModuleLoader& module, HostSession& session) {
    std::vector<std::string> lines = miscountedEntryLines(session);
    for (const FileEntry& entry : entriesCountingNowhere(module, session)) {
        lines.push_back(countsNowhereLine(session, entry));
    }
    for (const std::string& line : lines) IOMgmt::IOMgr::getInstance().notice(line);
    return lines.size();
}

}  // namespace GAHost
