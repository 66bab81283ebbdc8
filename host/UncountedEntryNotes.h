// Notes of entries that the calculation takes in full and that count
// nowhere, or count beyond what the return holds, without the calculation
// changing them (which the replaced entries' notes tell):
// - a copy of form 73 after the first that computes a credit for tax paid to
//   another state: form 70 takes copy 1's credit only (a copy for copy 1's
//   state is told to join copy 1, the credit being one for each state);
// - on a full-year resident's return, a nonresident return of another state
//   in the federal return (federal form 133618) whose form 73 row is not
//   filled from it: a copy of form 73 for that state, not marked to be
//   filled from it (box 138856), that holds neither amount, or, with form 73
//   already holding a copy, no copy for that state at all;
// - on a joint return, a spouse's part of a couple's amount on the
//   retirement exclusion's shared lines of form 189215 (fields 189304 to
//   189318) that does not lie between 0 and the couple's amount, read
//   where the taxpayer's column holds the rest of it;
// - form 71's installment parts of the withholding entered (box 23) that
//   add up to less than it: the rest is in no installment's payments;
// - a copy after the first, holding an entry, of a form that the
//   calculation reads from copy 1 alone (forms 69, 70, 189215, 189217 and
//   189219, the IND-CR worksheets, the state wages worksheet).
#pragma once

#include <string>
#include <vector>

#include "host/EntriesCountingNowhere.h"
#include "host/HostSession.h"
#include "module/output/SingleCopyForms.h"

namespace GAHost {

// Adds one text for each such entry of the session's calculated return.
void uncountedEntryNotes(HostSession& session, std::vector<std::string>& notes);

// Why the entry, which the calculation counts nowhere on the session's
// return (EntriesCountingNowhere.h), counts nowhere: the reason of the first
// rule that knows one; empty when none does.
std::string uncountedReason(HostSession& session, const FileEntry& entry);

// Why the entry, which the calculation counts, counts where the preparer
// would not mean it to (a box that says the return is amended where it is
// not, a dependent left unlisted): told whatever the calculation gives;
// empty when no rule speaks of the entry.
std::string miscountedReason(HostSession& session, const FileEntry& entry);

// A copy after the first, in the return file, of a form taken from copy 1
// alone, with the fields that hold an entry (a box marked no holds none).
struct FurtherCopy {
    const PersistanceMgmt::CopyEntry& copy;
    const GAOutput::SingleCopyForm& row;
    std::vector<const PersistanceMgmt::FieldEntry*> entries;
};

// Each further copy that holds an entry.
std::vector<FurtherCopy> furtherCopiesWithEntries(HostSession& session);

// "; form GA189219 counts only with form 69 box 108 marked (...), which it
// is not", where the form counts only with a box of form 69 that the
// calculated return leaves unmarked; else empty.
std::string countsOnlyWithText(HostSession& session, const FurtherCopy& further);

}  // namespace GAHost
