// What gahost run and gahost check tell the preparer of a calculated return
// beside its figures, each in a note on standard error, in this order: the
// lines of the check of entries (EntriesCountingNowhere.h: entries that
// count otherwise than meant, or nowhere), the preparer's notes
// (PreparerNotes.h), on a return on paper the filers' names and numbers
// that are missing or disagree (EFileFilers.h), and the entries that the
// calculation replaced (ReplacedEntries.h). The notes after the check's own
// lines are read off the return file and the calculated return; the check
// counts an entry without which any of them changes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"

namespace GAHost {

// The notes of a calculated return after the lines of the check of
// entries: the preparer's, the filers', the replaced entries' (the last).
struct ReturnNotes {
    std::vector<std::string> texts;
    std::size_t replacedEntries = 0;  // how many of them tell a replaced entry
    bool operator==(const ReturnNotes&) const = default;
};

// The notes of the session's calculated return; the filers' only where
// onPaper (gahost check, and gahost run without --efile, whose e-file check
// tells them otherwise).
ReturnNotes returnNotes(const ModuleLoader& module, HostSession& session, bool onPaper);

// Gives the lines of the check of entries, then the notes of the session's
// calculated return, to the host's notes (IOMgmt::IOMgr::notice); how many
// entries the calculation replaced.
std::size_t noteCalculatedReturn(const ModuleLoader& module, HostSession& session, bool onPaper);

}  // namespace GAHost
