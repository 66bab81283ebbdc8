// The check that every entry of a return counts on it: each entry of the
// return file in a field that the module reads in some return (a field that
// its catalogues name, of a Georgia or a federal form) and each seeded
// common item is taken out of the file's contents, the return calculated
// again in memory without it as gahost run calculates it (settled, the
// e-file prepared and settled again), and its calculated Georgia forms
// compared with those of the return calculated so with it (an entry whose
// absence changes the return with it as saved, calculated once, counts
// without more; past kMostEntriesJudgedAsRun of the others, the rest are
// counted, not judged); a return that does not settle is not checked. An
// entry without which the file is refused
// (the reader holds a seed to what the federal return says: the item
// taxpayer-aged-65 of 1 without form 1040's box 121 is refused, so the box
// counts, while the item stands for it) or run refuses the calculated
// return counts. An
// entry without which no field of the Georgia forms changes (its own field
// aside), nor anything that the source table reads of the return (a figure
// or the source it is held to, SourceFigures.h: a 1099-R's gross
// distribution beside the pension items counts there), nor any note that
// the run gives after the check's own lines (ReturnNotes.h: a 1099-R's box
// of the spouse counts in the note of a missing birth date), nor the review
// that run prints (ReviewPrintout.h: the data checks, or the e-file check
// of a return being e-filed) nor, on a return on paper, the e-file's
// verdict that gahost check tells (a 1099-R's state distribution on a line
// that names no state blocks the e-file), counts nowhere on this return,
// and is told in one line, with the reason where a rule of
// UncountedEntryNotes.h knows one. The check's own lines are not held to:
// they tell of each entry as it stands, and one entry's line may stand for
// another's gap (form F2's field 10 without field 203981 is told, and
// without field 10 the box that asks for both is); nor are the review's
// findings on a further copy of a form taken from copy 1 alone, which tell
// of such a copy what the check's lines tell of its entries.
//
// Left out of the check, as what the return reports as it stands rather
// than reckons with: the texts and dates of the Georgia forms (names,
// numbers, addresses), which print and are e-filed as entered, and the
// federal forms whose fields the e-file and the printout copy as they stand
// (the filers' personal information, the preparer's, the office's); left out
// too, as what the notes of replaced entries tell, an entry that the
// calculation replaced or emptied, and one in a calculated Georgia field
// that is not marked overridden.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"

namespace GAHost {

// One entry of the loaded return file: a field of a copy, or a seeded
// common item of the Georgia return.
struct FileEntry {
    bool federal = false;  // of the federal return (else the Georgia one)
    const PersistanceMgmt::CopyEntry* copy = nullptr;
    const PersistanceMgmt::FieldEntry* field = nullptr;  // null for an item
    const PersistanceMgmt::CommonItem* item = nullptr;   // null for a field
};

// The most returns without an entry that the check calculates as run does.
// An entry whose absence one calculation of the saved return does not show
// (see the top) takes a whole run's calculations to judge, some five times
// those of an entry shown to count, and on a return on paper a second run
// as e-filed for the e-file's verdict; a return with more such entries than
// this (a file of every field filled) has the rest counted, not judged, so
// that the check's time stays within a few times the run's.
inline constexpr std::size_t kMostEntriesJudgedAsRun = 25;

// The entries of the session's loaded return file that count nowhere on it,
// in file order (the federal return's, the Georgia return's, the items),
// and how many more may, left unjudged past kMostEntriesJudgedAsRun; none
// while the module's automated tests run (gahost run --autotest), which run
// with every calculation. The session must have been calculated.
struct EntriesCountingNowhere {
    std::vector<FileEntry> told;
    std::size_t unjudged = 0;
};
EntriesCountingNowhere entriesCountingNowhere(const ModuleLoader& module, HostSession& session);

// "form F190 copy 2 field 3 (...) holds 500, which counts nowhere on this
// return: calculated again without it, the return is the same", with the
// reason of the first rule that knows one.
std::string countsNowhereLine(HostSession& session, const FileEntry& entry);

// "the item itemizes 1: the return itemizes, but ...": a line for each
// entry that a rule of UncountedEntryNotes.h tells whatever the calculation
// gives (miscountedReason), in file order.
std::vector<std::string> miscountedEntryLines(HostSession& session);

// The lines of the check of entries, which gahost run and gahost check give
// before the other notes of the return (ReturnNotes.h): those of
// miscountedEntryLines, then those of the entries that count nowhere
// (countsNowhereLine), and where entries were left unjudged a line that
// says how many.
std::vector<std::string> checkedEntryLines(const ModuleLoader& module, HostSession& session);

}  // namespace GAHost
