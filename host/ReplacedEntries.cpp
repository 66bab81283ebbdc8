#include "host/ReplacedEntries.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "host/EFileRun.h"
#include "host/EntryRules.h"
#include "host/SettleReturn.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;

// The loaded part's changed entries, added to `out`.
void collectReplaced(const PersistanceMgmt::ReturnPart& part, const DataMgmt::TaxReturn& taxReturn,
                     std::vector<ReplacedEntry>& out) {
    for (const PersistanceMgmt::CopyEntry& c : part.copies) {
        const DataMgmt::FormID& form = c.desc->getTypeID();
        const bool exists = taxReturn.formExists(form, c.copy);
        for (const PersistanceMgmt::FieldEntry& f : c.fields) {
            // (An entry marked as overridden keeps its value: no calculation
            // writes over it. An empty field is no entry: filling it changes
            // nothing the preparer entered.)
            if (f.value.isNull()) continue;
            const DataMgmt::FieldValue used =
                exists ? taxReturn.getValue(form, c.copy, f.desc->getID()) : DataMgmt::FieldValue();
            if (used != f.value) {
                out.push_back({c.desc.get(), c.copy, f.desc.get(), f.value, used, !exists, &taxReturn});
            }
        }
    }
}

// Whether the session's Georgia return is filed otherwise than the loaded
// file states (no e-file status in the file: on paper).
bool filedOtherwise(HostSession& session) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    return loaded.georgia && loaded.georgia->seeds.inElf.value_or(false) != session.georgiaState()->InElf();
}

// Whether the loaded copy of the form holds the value that `kept` holds in
// each calculated field of the copy: a copy that a calculation saved. A copy
// that a preparer wrote holds less (the voucher's box of a return on paper,
// without the voucher's name, amount and scan line).
bool holdsCalculatedValues(const PersistanceMgmt::ReturnPart& part, const DataMgmt::TaxFormDesc& form,
                           std::uint16_t copy, const DataMgmt::TaxReturn& kept) {
    const auto loaded = std::find_if(part.copies.begin(), part.copies.end(), [&](const PersistanceMgmt::CopyEntry& c) {
        return c.desc.get() == &form && c.copy == copy;
    });
    if (loaded == part.copies.end()) return false;
    for (DataMgmt::QVFieldIDIter it = form.getFieldIDs(); !it.atEOL(); it.next()) {
        if (!form.getFieldDesc(it.getFieldID())->isCalculated()) continue;
        const DataMgmt::FieldValue value = kept.getValue(form.getTypeID(), copy, it.getFieldID());
        if (value.isNull()) continue;
        const auto entry =
            std::find_if(loaded->fields.begin(), loaded->fields.end(),
                         [&](const PersistanceMgmt::FieldEntry& f) { return f.desc->getID() == it.getFieldID(); });
        if (entry == loaded->fields.end() || entry->value != value) return false;
    }
    return true;
}

// Drops the entries in calculated fields of the Georgia return that the
// calculation of the return filed as the file states leaves in place, in a
// copy that holds that calculation's values: a value that a calculation
// filed that way wrote (the scan line of a paper return's voucher, run as
// e-filed).
void dropEarlierCalculations(HostSession& session, const ModuleLoader& module, std::vector<ReplacedEntry>& replaced) {
    const auto inCalculatedGeorgiaField = [](const ReplacedEntry& r) {
        return r.field->isCalculated() && r.form->getTypeID().isState();
    };
    if (std::none_of(replaced.begin(), replaced.end(), inCalculatedGeorgiaField)) return;
    HostSession asFiled(session.library());
    asFiled.openReturns(&module);
    PersistanceMgmt::ReturnFile::apply(session.loaded(), asFiled.federal().get(), asFiled.georgiaState());
    {
        // Calculated as run calculates it, the e-file prepared too.
        const CurrentSession current(asFiled);
        ModuleCalculation calculation(module, asFiled, session.loaded().georgia->name);
        settlePreparedInMemory(calculation);
    }
    StateDataMgmt::StateTaxReturn& kept = *asFiled.georgiaState();
    std::erase_if(replaced, [&](const ReplacedEntry& r) {
        const DataMgmt::FormID& form = r.form->getTypeID();
        return inCalculatedGeorgiaField(r) && kept.formExists(form, r.copy) &&
               kept.getValue(form, r.copy, r.field->getID()) == r.entry &&
               holdsCalculatedValues(*session.loaded().georgia, *r.form, r.copy, kept);
    });
}

// A value as the return file writes it, quoted where it is a text; an
// amount in dollars to the cent (the calculation keeps some unrounded), and
// whole where it has no cents.
std::string shown(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value) {
    if (value.isNull()) return "nothing";
    const std::string text = PersistanceMgmt::valueText(field, value);
    if (value.isText()) return "\"" + text + "\"";
    if (!value.isNumber() || text.find('.') == std::string::npos) return text;
    return Utils::nStr(std::round(std::strtod(text.c_str(), nullptr) * 100.0) / 100.0);
}

// Whether `used` is the amount `entry` held towards 0: of the same sign,
// and nearer 0.
bool heldTowardsZero(const DataMgmt::FieldValue& entry, const DataMgmt::FieldValue& used) {
    if (!entry.isNumber() || !used.isNumber()) return false;
    const double was = entry.getNumber();
    const double now = used.getNumber();
    return was > 0 ? 0 <= now && now < was : was < now && now <= 0;
}

// Whether what a reason asks holds on the entry's copy of the calculated
// return; on a return not known, it does.
bool holds(const Holds& when, const ReplacedEntry& r) {
    if (r.calculated == nullptr) return true;
    const DataMgmt::TaxReturn& calculated = *r.calculated;
    const DataMgmt::FormID& form = r.form->getTypeID();
    const auto marked = [&](std::int32_t box) { return calculated.formYes(form, r.copy, FieldId(box)); };
    if (!std::all_of(when.marked.begin(), when.marked.end(), marked) ||
        std::any_of(when.unmarked.begin(), when.unmarked.end(), marked)) {
        return false;
    }
    if (when.zero != 0 && calculated.getIR(form, r.copy, FieldId(when.zero)) != 0.0) return false;
    if (when.notZero != 0 && calculated.getIR(form, r.copy, FieldId(when.notZero)) == 0.0) return false;
    if (when.one != 0 && calculated.getIR(form, r.copy, FieldId(when.one)) != 1.0) return false;
    const auto amount = [&](std::int32_t field) { return calculated.getIR(form, r.copy, FieldId(field)); };
    if (when.sameAs != 0 &&
        (!r.used.isNumber() ||
         std::abs(amount(when.sameAs) - (when.less != 0 ? amount(when.less) : 0.0) - r.used.getNumber()) > 0.005)) {
        return false;
    }
    const double entry = r.entry.isNumber() ? r.entry.getNumber() : 0.0;
    if (when.entrySign != 0 && entry * when.entrySign <= 0) return false;
    if (when.otherSign != 0 && amount(when.otherSign) * entry >= 0) return false;
    if (when.residency.empty()) return true;
    const std::int64_t residency = calculated.getIN(kGAForm69ID, 1, kForm69Lines.residency.code);
    return std::find(when.residency.begin(), when.residency.end(), residency) != when.residency.end();
}

// The reason a note gives: the first that holds on the calculated return
// (the first of all where the return is not known); null when none does.
const std::string* reasonOf(const Reasons& reasons, const ReplacedEntry& r) {
    for (const Reason& reason : reasons.alternatives()) {
        if (holds(reason.when, r)) return &reason.text;
    }
    return nullptr;
}

// How a rule tells the change of an entry; Unexplained when it does not.
EntryChange ruledChange(const ReplacedEntry& r, const EntryRule* rule) {
    if (rule == nullptr) return EntryChange::Unexplained;
    if (r.used.isNull()) return reasonOf(rule->emptied, r) == nullptr ? EntryChange::Unexplained : EntryChange::Emptied;
    if (heldTowardsZero(r.entry, r.used) && reasonOf(rule->limit, r) != nullptr) return EntryChange::HeldToLimit;
    return reasonOf(rule->replaced, r) == nullptr ? EntryChange::Unexplained : EntryChange::Replaced;
}

}  // namespace

std::vector<ReplacedEntry> replacedEntries(HostSession& session, const ModuleLoader& module) {
    std::vector<ReplacedEntry> out;
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (loaded.federal) collectReplaced(*loaded.federal, *session.federal(), out);
    if (loaded.georgia) collectReplaced(*loaded.georgia, *session.georgiaState(), out);
    if (filedOtherwise(session)) dropEarlierCalculations(session, module, out);
    return out;
}

EntryChange entryChange(const ReplacedEntry& r) {
    const EntryRule* rule = entryRuleOf(r.form->getDevName(), r.field->getID().getNumber());
    if (r.field->isCalculated()) {
        const EntryChange ruled = r.copyRemoved ? EntryChange::Unexplained : ruledChange(r, rule);
        return ruled == EntryChange::Unexplained ? EntryChange::Calculated : ruled;
    }
    if (r.copyRemoved) return EntryChange::CopyRemoved;
    return ruledChange(r, rule);
}

std::string replacedEntryNote(const ReplacedEntry& r) {
    const std::string number = std::to_string(r.field->getID().getNumber());
    const std::string label = r.field->getLineID();
    const std::string entry = shown(*r.field, r.entry);
    const std::string used = shown(*r.field, r.used);
    const std::string note = "form " + r.form->getDevName() + " (" + r.form->getBusinessName() + ") copy " +
                             std::to_string(r.copy) + ", field " + number +
                             (label == number ? "" : " \"" + label + "\"") + ", ";
    const EntryRule* rule = entryRuleOf(r.form->getDevName(), r.field->getID().getNumber());
    const std::string kind = r.field->isCalculated() ? "is calculated" : "is an entry";
    switch (entryChange(r)) {
        case EntryChange::Calculated:
            return note + "is calculated" + (rule == nullptr || rule->source.empty() ? "" : " from " + rule->source) +
                   ": the calculation " +
                   (r.copyRemoved ? "removed the copy, and with it the entry " + entry
                                  : "replaced the entry " + entry + " with " + used) +
                   " (an entry marked OVERRIDDEN=\"1\" is kept)";
        case EntryChange::CopyRemoved:
            return note + "is an entry: the calculation removed the copy, and with it the entry " + entry;
        case EntryChange::Emptied:
            return note + kind + ": the calculation emptied the entry " + entry +
                   ", which counts nowhere on this return: " + *reasonOf(rule->emptied, r);
        case EntryChange::HeldToLimit:
            return note + kind + ": the calculation held the entry " + entry + " to " + used + ", " +
                   *reasonOf(rule->limit, r);
        case EntryChange::Replaced:
            return note + kind + ": the calculation replaced the entry " + entry + " with " + used + ": " +
                   *reasonOf(rule->replaced, r);
        case EntryChange::Unexplained:
            break;
    }
    return note + "is an entry: the calculation replaced the entry " + entry + " with " + used;
}

}  // namespace GAHost
