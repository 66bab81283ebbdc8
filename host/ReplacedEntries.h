// The entries that the calculation replaces: a return file may give a field
// that the form definitions mark calculated any value, but the calculation
// fills such a field itself, so an entry there is lost unless the file marks
// it as overridden. gahost check and gahost run tell the preparer of each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "platform/store/DataMgmt.h"

namespace GAHost {

// One entry of the return file in a calculated field whose value differs
// from the one the calculation left there (an entry that the file marks as
// overridden keeps its value).
struct ReplacedEntry {
    const DataMgmt::TaxFormDesc* form = nullptr;
    std::uint16_t copy = 0;
    const DataMgmt::FormFieldDesc* field = nullptr;
    DataMgmt::FieldValue entry;
    DataMgmt::FieldValue used;  // null when the field was left empty
    bool copyRemoved = false;   // the calculation removed the entry's copy
};

// The entries of the return file the session loaded (both returns, in file
// order) that the calculated returns of the session no longer hold. A saved
// return holds the calculation's own values in its calculated fields, so a
// settled calculation of it replaces none.
std::vector<ReplacedEntry> replacedEntries(HostSession& session);

// The note of one: the form (dev name and business name), the copy, the
// field (number and line label), the entry and the value the calculation
// uses, and how to keep an entry.
std::string replacedEntryNote(const ReplacedEntry& replaced);

// Gives the note of each replaced entry to the host's notes
// (IOMgmt::IOMgr::notice), which gahost prints on standard error; returns
// how many there are.
std::size_t noteReplacedEntries(HostSession& session);

}  // namespace GAHost
