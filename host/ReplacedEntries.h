// The entries that the calculation changes. A return file may give any field
// a value, but the calculation fills a field that the form definitions mark
// calculated itself, so an entry there is lost unless the file marks it as
// overridden; and it empties, holds to a limit or replaces an entry in
// another field by a rule of its own (EntryRules.h). gahost check and
// gahost run tell the preparer of each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "platform/store/DataMgmt.h"

namespace GAHost {

// One entry of the return file whose value differs from the one the
// calculation left in its field (an entry that the file marks as overridden
// keeps its value; an empty field is no entry).
struct ReplacedEntry {
    const DataMgmt::TaxFormDesc* form = nullptr;
    std::uint16_t copy = 0;
    const DataMgmt::FormFieldDesc* field = nullptr;
    DataMgmt::FieldValue entry;
    DataMgmt::FieldValue used;  // null when the field was left empty
    bool copyRemoved = false;   // the calculation removed the entry's copy
    // The return the calculation left, on which a rule's reason for the
    // change is chosen (null: not known, and each rule's first reason is
    // taken to hold).
    const DataMgmt::TaxReturn* calculated = nullptr;
};

// How the calculation changed the entry, as its note tells it. An entry in a
// calculated field is Calculated unless a rule of the field empties it or
// holds it to a limit.
enum class EntryChange {
    Calculated,   // the field is calculated: the calculation's value stands
    CopyRemoved,  // the calculation removed the entry's copy
    Emptied,      // a rule emptied it: it counts nowhere on this return
    HeldToLimit,  // a rule held the amount to a limit
    Replaced,     // a rule put another value in its place
    Unexplained,  // no rule of the field tells this change
};
EntryChange entryChange(const ReplacedEntry& replaced);

// The entries of the return file the session loaded (both returns, in file
// order) that the calculated returns of the session no longer hold. A saved
// return holds the calculation's own values in its calculated fields, so a
// settled calculation of it replaces none; where the session is filed
// otherwise than the file states (a paper return run as e-filed), a value in
// a calculated field that the calculation of the return as the file states
// it leaves in place is the earlier calculation's, and is no entry either,
// where its copy holds that calculation's value in each calculated field
// (a copy that a preparer wrote holds less): the module calculates that
// return once more to tell.
std::vector<ReplacedEntry> replacedEntries(HostSession& session, const ModuleLoader& module);

// The note of one: the form (dev name and business name), the copy, the
// field (number and line label), the entry and what the calculation did
// with it: the value used, where a calculated field takes its value from
// (where its label does not say) and how to keep an entry there, or the rule
// that changed it.
std::string replacedEntryNote(const ReplacedEntry& replaced);

}  // namespace GAHost
