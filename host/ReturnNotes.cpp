#include "host/ReturnNotes.h"

#include <utility>

#include "host/EFileFilers.h"
#include "host/EntriesCountingNowhere.h"
#include "host/PreparerNotes.h"
#include "host/ReplacedEntries.h"
#include "platform/util/IOMgmt.h"

namespace GAHost {

ReturnNotes returnNotes(const ModuleLoader& module, HostSession& session, bool onPaper) {
    ReturnNotes notes{.texts = preparerNotes(session)};
    if (onPaper) {
        for (std::string& note : filersOnPaperNotes(session)) notes.texts.push_back(std::move(note));
    }
    const std::vector<ReplacedEntry> replaced = replacedEntries(session, module);
    for (const ReplacedEntry& r : replaced) notes.texts.push_back(replacedEntryNote(r));
    notes.replacedEntries = replaced.size();
    return notes;
}

std::size_t noteCalculatedReturn(const ModuleLoader& module, HostSession& session, bool onPaper) {
    IOMgmt::IOMgr& io = IOMgmt::IOMgr::getInstance();
    for (const std::string& line : checkedEntryLines(module, session)) io.notice(line);
    const ReturnNotes notes = returnNotes(module, session, onPaper);
    for (const std::string& note : notes.texts) io.notice(note);
    return notes.replacedEntries;
}

}  // namespace GAHost
