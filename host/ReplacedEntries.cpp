#include "host/ReplacedEntries.h"

#include "platform/returnfile/ReturnFile.h"
#include "platform/util/IOMgmt.h"

namespace GAHost {

namespace {

// The loaded part's replaced entries, added to `out`.
void collectReplaced(const PersistanceMgmt::ReturnPart& part, const DataMgmt::TaxReturn& taxReturn,
                     std::vector<ReplacedEntry>& out) {
    for (const PersistanceMgmt::CopyEntry& c : part.copies) {
        const DataMgmt::FormID& form = c.desc->getTypeID();
        const bool exists = taxReturn.formExists(form, c.copy);
        for (const PersistanceMgmt::FieldEntry& f : c.fields) {
            // (An entry marked as overridden keeps its value: no calculation
            // writes over it.)
            if (!f.desc->isCalculated() || f.value.isNull()) continue;
            const DataMgmt::FieldValue used =
                exists ? taxReturn.getValue(form, c.copy, f.desc->getID()) : DataMgmt::FieldValue();
            if (used != f.value) out.push_back({c.desc.get(), c.copy, f.desc.get(), f.value, used, !exists});
        }
    }
}

// A value as the return file writes it, quoted where it is a text.
std::string shown(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value) {
    if (value.isNull()) return "nothing";
    const std::string text = PersistanceMgmt::valueText(field, value);
    return value.isText() ? "\"" + text + "\"" : text;
}

}  // namespace

std::vector<ReplacedEntry> replacedEntries(HostSession& session) {
    std::vector<ReplacedEntry> out;
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (loaded.federal) collectReplaced(*loaded.federal, *session.federal(), out);
    if (loaded.georgia) collectReplaced(*loaded.georgia, *session.georgiaState(), out);
    return out;
}

std::string replacedEntryNote(const ReplacedEntry& r) {
    const std::string number = std::to_string(r.field->getID().getNumber());
    const std::string label = r.field->getLineID();
    std::string note = "form " + r.form->getDevName() + " (" + r.form->getBusinessName() + ") copy " +
                       std::to_string(r.copy) + ", field " + number + (label == number ? "" : " \"" + label + "\"") +
                       ", is calculated: ";
    const std::string entry = shown(*r.field, r.entry);
    if (r.copyRemoved) {
        note += "the calculation removed the copy, and with it the entry " + entry;
    } else {
        note += "the calculation replaced the entry " + entry + " with " + shown(*r.field, r.used);
    }
    return note + " (an entry marked OVERRIDDEN=\"1\" is kept)";
}

std::size_t noteReplacedEntries(HostSession& session) {
    const std::vector<ReplacedEntry> replaced = replacedEntries(session);
    for (const ReplacedEntry& r : replaced) IOMgmt::IOMgr::getInstance().notice(replacedEntryNote(r));
    return replaced.size();
}

}  // namespace GAHost
