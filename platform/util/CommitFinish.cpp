// Finishing a commit or a roll-back from its commit record (CommitRecord.cpp):
// by the batch itself, or by the next job into the folder when the batch
// was killed, in the folder or in a copy of it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"

namespace IOMgmt::detail {

namespace {

// What becomes of the second name of an earlier output that a roll-back
// could not put back, once no record lists it: no later job removes it.
constexpr const char* kKeptUntil = "stays until you move it back or remove it";
// The most such files that a job names one by one; the rest are counted.
constexpr std::size_t kKeptNamed = 3;
// An output that a roll-back leaves as it is: no file that the record names.
constexpr const char* kNotTheRunsFile = "is not the file the run wrote";

// Whether the file is the regular file of the number (not 0) that the
// record gives, where the record's numbers hold: in the output folder's
// device. numbered: and the user's.
bool ofNumber(const RecordFolder& folder, const struct stat& st, unsigned long long number) {
    return folder.numbersHold && number != 0 && S_ISREG(st.st_mode) && st.st_dev == folder.run.folderStat().st_dev &&
           st.st_ino == number;
}
bool numbered(const RecordFolder& folder, const struct stat& st, unsigned long long number) {
    return isOwnFile(st) && ofNumber(folder, st, number);
}

// Whether the file at the name is the new file of the line (its staged
// file, moved or not): a regular file of the user's, of the staged file's
// size, that has its file number where the record's numbers hold, else (in
// a copy of the folder) its bytes. One whose bytes cannot be read is not
// known either way: `readError` gives the cause.
struct NewFile {
    bool is = false;
    int readError = 0;
};
NewFile newFileAt(const RecordFolder& folder, const CommitEntry& e, In in, const std::string& name) {
    struct stat st {};
    if (folder.run.stat(in, name, st) != 0 || !isOwnFile(st) ||
        static_cast<unsigned long long>(st.st_size) != e.stagedSize) {
        return {};
    }
    if (folder.numbersHold) return {numbered(folder, st, e.stagedNumber)};
    unsigned long long size = 0;
    std::string hash;
    if (const int error = contentOf(folder.run, in, name, size, hash); error != 0) return {false, error};
    return {size == e.stagedSize && hash == e.stagedHash};
}

// Whether the file at the name holds the bytes of the second name `kept`:
// both regular files of the user's.
bool sameContent(const RunFolder& run, In in, const std::string& name, const std::string& kept) {
    unsigned long long sizes[2] = {};
    std::string hashes[2];
    return contentOf(run, in, name, sizes[0], hashes[0]) == 0 &&
           contentOf(run, In::Own, kept, sizes[1], hashes[1]) == 0 && sizes[0] == sizes[1] && hashes[0] == hashes[1];
}

// Whether a file is the earlier output of a line, as a placement displaces
// it: the user's file of the number recorded, or, in a copy of the folder,
// of its second name's bytes. None for a line without an earlier file.
Displaces displacesEarlier(const RecordFolder& folder, const CommitEntry& e) {
    if (e.kept.empty()) return {};
    return [&folder, &e](In in, const std::string& name, const struct stat& st) {
        if (st.st_uid != ::geteuid()) return false;
        return folder.numbersHold ? numbered(folder, st, e.earlierNumber) : sameContent(folder.run, in, name, e.kept);
    };
}

// Whether the output (`st`) of a line that had an earlier file is that file
// in place: the user's file of the earlier file's number, or of its copy's
// that a roll-back put back, where the record's numbers hold; in a copy of
// the folder, a file of the user's that is its second name `kept` (or has
// that name's bytes), or any where no second name is left. A record of the
// version before gives no copy's number: there, a file of the user's where
// no second name is left may be the copy put back, and is taken for it.
bool earlierAt(const RecordFolder& folder, const CommitEntry& e, const struct stat& st, const struct stat* kept) {
    if (!isOwnFile(st)) return false;
    if (folder.numbersHold) {
        return numbered(folder, st, e.earlierNumber) || numbered(folder, st, e.copyNumber) ||
               (kept == nullptr && !folder.copiesKnown);
    }
    return kept == nullptr || sameFile(st, *kept) || sameContent(folder.run, In::Outputs, e.output, e.kept);
}

// A file that is not the run's own at a name of the run's folder, which
// an exchange back brought there: it stays, named, with the roll-back
// record, so that no later job removes it.
void leaveCameIn(const RunFolder& run, const std::string& name, const std::string& output, const struct stat& st,
                 Unfinished& unfinished) {
    unfinished.noteFailure(cameInText(run, name, output, st));
    unfinished.keepRecord = true;
}

// A placement killed between its exchange and its look at what it
// displaced leaves that file at the staged file's name: it goes when it is
// the recorded earlier file, else it is exchanged back; one that cannot be
// stays, named, with the roll-back record (false). What comes back for the
// new file is looked at before anything of the line is removed (notAllNew,
// rollBackLine). Putting back, the new file is left at the second name: it
// goes.
bool settleDisplaced(const RecordFolder& folder, const CommitEntry& e, Unfinished& unfinished) {
    if (e.output.empty()) return true;
    const RunFolder& run = folder.run;
    const bool placed = newFileAt(folder, e, In::Outputs, e.output).is;
    struct stat st {};
    if (placed && run.stat(In::Own, e.staged, st) == 0 && !newFileAt(folder, e, In::Own, e.staged).is) {
        if (const Displaces earlier = displacesEarlier(folder, e); earlier && earlier(In::Own, e.staged, st)) {
            run.remove(In::Own, e.staged);
        } else if (const int error = run.rename(In::Own, e.staged, In::Outputs, e.output, RENAME_EXCHANGE)) {
            const std::string stays = "the file of " + userName(st.st_uid) + " that it displaced, " +
                                      shownPath(run.pathOf(In::Own, e.staged)) + ", cannot be given its name back";
            unfinished.notPutBack.push_back({e.output, e.kept, "is the new file, and " + stays, causeOf(error)});
            unfinished.noteFailure(stays + ": " + causeOf(error));
            unfinished.keepRecord = true;
            return false;
        }
    }
    // An earlier file of the new one's bytes is not told from it.
    if (!e.kept.empty() && !placed && newFileAt(folder, e, In::Own, e.kept).is) run.remove(In::Own, e.kept);
    return true;
}

// Every name a line lists: staged file, second name and copy, or the
// name left to remove.
std::vector<std::string> namesOf(const CommitEntry& e) {
    if (e.output.empty()) return {e.kept};
    if (e.kept.empty()) return {e.staged};
    return {e.staged, e.kept, copyNameOf(e.output, e.kept)};
}

// Removes the named files of the run's folder; what is there and cannot
// be removed is left over.
void removeAll(const RecordFolder& folder, const std::vector<std::string>& names, Unfinished& unfinished) {
    for (const std::string& name : names) {
        if (const int error = folder.run.remove(In::Own, name); error != 0 && folder.run.present(In::Own, name)) {
            const std::string path = shownPath(folder.run.pathOf(In::Own, name));
            unfinished.leftover.push_back(name);
            unfinished.unremoved += "; cannot remove " + path + " (" + causeOf(error) + ")";
            unfinished.noteFailure("cannot remove " + path + ": " + causeOf(error));
        }
    }
}

// Gives the output (the new file, or none) its earlier file back by its
// second name.
void putBack(const RecordFolder& folder, const CommitEntry& e, bool there, Unfinished& unfinished) {
    const Displaces isNew = [&](In in, const std::string& name, const struct stat&) {
        return newFileAt(folder, e, in, name).is;
    };
    const Placed placed = placeFile(folder.run, e.kept, e.output, there ? isNew : Displaces{});
    if (placed.error == 0) {
        unfinished.back.push_back(e.output);
        return;
    }
    const std::string cause = placed.problem.empty() ? causeOf(placed.error) : placed.problem;
    if (!placed.cameIn.empty()) {
        // The earlier file went with the exchange: its second name holds
        // what came back, and the output what was found there.
        unfinished.notPutBack.push_back(
            {e.output, {}, "is not the new file, it cannot be put back (" + cause + "); " + placed.cameIn, {}});
        unfinished.noteFailure(placed.cameIn);
        unfinished.keepRecord = true;
        return;
    }
    const char* what = there ? "is the new file, it cannot be put back" : "is missing, it cannot be put back";
    unfinished.notPutBack.push_back({e.output, e.kept, what, cause});
    unfinished.noteFailure("cannot put back the earlier " + shownPath(folder.run.pathOf(In::Outputs, e.output)) + ": " +
                           cause);
}

// An output that a roll-back leaves as it is, since its bytes cannot be
// read: whether it is the new file is not known.
void leaveUnreadable(const CommitEntry& e, const std::string& kept, int error, Unfinished& unfinished) {
    unfinished.notPutBack.push_back({e.output, kept, "cannot be read, it is left as it is", causeOf(error)});
}

// Rolls back an output that had no earlier file: the new file, moved into
// place, is removed; any other file there is left, named where the run had
// moved its file (one where the run moved nothing is no output of its).
void removeNewOutput(const RecordFolder& folder, const CommitEntry& e, bool moved, Unfinished& unfinished) {
    const NewFile found = moved ? newFileAt(folder, e, In::Outputs, e.output) : NewFile{};
    if (found.readError != 0) return leaveUnreadable(e, {}, found.readError, unfinished);
    if (!found.is) {
        if (!folder.run.present(In::Outputs, e.output)) {
            unfinished.none.push_back(e.output);
        } else if (moved) {
            unfinished.notPutBack.push_back({e.output, {}, kNotTheRunsFile, {}});
        }
        return;
    }
    if (const int error = folder.run.remove(In::Outputs, e.output); error != 0) {
        unfinished.notPutBack.push_back({e.output, {}, "is the new file, it cannot be removed", causeOf(error)});
        unfinished.noteFailure("cannot remove the new " + shownPath(folder.run.pathOf(In::Outputs, e.output)) + ": " +
                               causeOf(error));
        return;
    }
    unfinished.none.push_back(e.output);
}

// Rolls back an output that had an earlier file: moved into place, it gets
// the earlier file back by its second name; the earlier file in place, its
// second name (a link, or a copy) goes. An output that is neither, or
// cannot be read, keeps its earlier file's second name for the user. A
// second name that is not there was put back before when the output is
// the earlier file; the new file there never had its earlier file kept.
// A second name that holds another file than the user's came by an
// exchange back, and stays, whatever stands at the output (a link of it
// too); but for the earlier file itself, by its number, that the output
// still names (its owner changed since).
void putBackEarlier(const RecordFolder& folder, const CommitEntry& e, bool moved, Unfinished& unfinished) {
    struct stat keptStat {};
    struct stat outputStat {};
    const bool there = folder.run.stat(In::Outputs, e.output, outputStat) == 0;
    const bool keptThere = folder.run.stat(In::Own, e.kept, keptStat) == 0;
    const bool linked = there && keptThere && sameFile(outputStat, keptStat);
    const bool earlierLinked = linked && ofNumber(folder, keptStat, e.earlierNumber);
    if (keptThere && !earlierLinked && !isOwnFile(keptStat)) {
        return leaveCameIn(folder.run, e.kept, e.output, keptStat, unfinished);
    }
    const NewFile found = there && moved && !linked ? newFileAt(folder, e, In::Outputs, e.output) : NewFile{};
    if (found.readError != 0) {
        leaveUnreadable(e, keptThere ? e.kept : std::string(), found.readError, unfinished);
    } else if (keptThere && (!there || found.is)) {
        putBack(folder, e, there, unfinished);
    } else if (found.is) {
        unfinished.notPutBack.push_back(
            {e.output, {}, "is the new file, and no second name keeps its earlier file", {}});
    } else if (earlierLinked || (there && earlierAt(folder, e, outputStat, keptThere ? &keptStat : nullptr))) {
        if (keptThere) removeAll(folder, {e.kept}, unfinished);
        unfinished.back.push_back(e.output);
    } else if (there) {
        unfinished.notPutBack.push_back({e.output, keptThere ? e.kept : std::string(), kNotTheRunsFile, {}});
    }
}

// Whether the file at the staged name of a line is the run's own: a
// regular file of the user's and, where the record's numbers hold, the
// staged file or the earlier one it displaced.
bool ownStagedFile(const RecordFolder& folder, const CommitEntry& e, const struct stat& st) {
    return isOwnFile(st) &&
           (!folder.numbersHold || st.st_ino == e.stagedNumber || (!e.kept.empty() && st.st_ino == e.earlierNumber));
}

// Rolls back one line of the record: an output whose staged file is still
// there was not moved, and its staged file goes; its second name goes once
// the output is found to be its earlier file (putBackEarlier). Another file
// at the staged name came by an exchange back, and stays.
void rollBackLine(const RecordFolder& folder, const CommitEntry& e, Unfinished& unfinished) {
    if (!settleDisplaced(folder, e, unfinished)) return;
    struct stat st {};
    const bool staged = !e.output.empty() && folder.run.stat(In::Own, e.staged, st) == 0;
    if (staged && !ownStagedFile(folder, e, st)) leaveCameIn(folder.run, e.staged, e.output, st, unfinished);
    const bool moved = !e.output.empty() && (!staged || !ownStagedFile(folder, e, st));
    if (!moved) removeAll(folder, {e.output.empty() ? e.kept : e.staged}, unfinished);
    if (e.output.empty()) return;
    if (e.kept.empty()) return removeNewOutput(folder, e, moved, unfinished);
    removeAll(folder, {copyNameOf(e.output, e.kept)}, unfinished);
    putBackEarlier(folder, e, moved, unfinished);
}

// A copy put back is a file whose number the record does not hold: before
// any is put back, the roll-back record is written anew with the number of
// each copy that is a second name, so that a later job knows the output
// for the earlier file once it is back. Should that record not be written,
// the copies are put back all the same.
std::vector<CommitEntry> withCopyNumbers(const RecordFolder& folder, std::vector<CommitEntry> entries) {
    if (!folder.numbersHold || !folder.copiesKnown || !folder.run.present(In::Own, kRollBackName)) return entries;
    bool copies = false;
    for (CommitEntry& e : entries) {
        struct stat st {};
        if (e.output.empty() || e.kept.empty() || e.copyNumber != 0 || folder.run.stat(In::Own, e.kept, st) != 0 ||
            !isOwnFile(st) || numbered(folder, st, e.earlierNumber) || numbered(folder, st, e.stagedNumber)) {
            continue;
        }
        e.copyNumber = st.st_ino;
        copies = true;
    }
    if (copies) rewriteRollBack(folder.run, entries);
    return entries;
}

// Why the outputs of a killed job's commit record cannot all be its new
// files once moved (an output neither staged nor in place, a staged file
// that is not the one the run wrote or cannot be read), else empty.
std::string notAllNew(const RecordFolder& folder, const std::vector<CommitEntry>& entries) {
    for (const CommitEntry& e : entries) {
        if (e.output.empty()) continue;
        const bool staged = folder.run.present(In::Own, e.staged);
        const NewFile found =
            staged ? newFileAt(folder, e, In::Own, e.staged) : newFileAt(folder, e, In::Outputs, e.output);
        if (found.readError != 0)
            return "the new " + shownPath(e.output) + " cannot be read (" + causeOf(found.readError) + ")";
        if (!found.is) return "the new " + shownPath(e.output) + (staged ? " is not as the run wrote it" : " is gone");
    }
    return std::string();
}

// Makes a line that is still staged ready to move, as the job would have
// before it moved anything (it was killed first): the earlier output gets
// its second name if it has none yet, made of the file at the output's
// name as it is checked, when that is the recorded earlier file (another
// gets none: its placement refuses it; a copy cut short goes first); the
// staged file gets the permissions the job gives it (the earlier file's,
// whose second name is no name of its own). Why it cannot, else empty.
std::string readyToMove(const RecordFolder& folder, const CommitEntry& e) {
    JobFile earlier = folder.run.look(e.output);
    struct stat kept {};
    const bool keptThere = folder.run.stat(In::Own, e.kept, kept) == 0;
    if (!e.kept.empty() && !keptThere && earlier.error == 0 && earlier.problem.empty() &&
        (!folder.numbersHold || earlier.st.st_ino == e.earlierNumber)) {
        folder.run.remove(In::Own, copyNameOf(e.output, e.kept));
        if (const int error = keepEarlierFile(folder.run, earlier, e.output, e.kept); error != 0) {
            return "cannot keep the earlier " + shownPath(e.output) + ": " + causeOf(error);
        }
    } else if (keptThere && earlier.error == 0 && sameFile(kept, earlier.st)) {
        --earlier.st.st_nlink;
    }
    if (::fchmodat(folder.run.fd(In::Own), e.staged.c_str(), outputMode(earlier), 0) != 0) {
        return "cannot set the permissions of the new " + shownPath(e.output) + ": " + causeOf(errno);
    }
    return std::string();
}

// Moves into place the outputs of a killed job's commit record that are
// still staged, in the job's own order: every earlier output that is to be
// replaced gets its second name first, then the staged files are renamed.
// Why it cannot (a displaced file that cannot be given its name back,
// notAllNew, a second name that cannot be made, a rename that fails), else
// empty: the commit is then rolled back.
std::string moveStagedIntoPlace(const RecordFolder& folder, const std::vector<CommitEntry>& entries) {
    Unfinished settled;
    for (const CommitEntry& e : entries) {
        if (!settleDisplaced(folder, e, settled)) return settled.firstFailure;
    }
    if (std::string why = notAllNew(folder, entries); !why.empty()) return why;
    std::vector<const CommitEntry*> staged;
    for (const CommitEntry& e : entries) {
        if (!e.output.empty() && folder.run.present(In::Own, e.staged)) staged.push_back(&e);
    }
    for (const CommitEntry* e : staged) {
        if (std::string why = readyToMove(folder, *e); !why.empty()) return why;
    }
    for (const CommitEntry* e : staged) {
        if (const Placed placed = placeFile(folder.run, e->staged, e->output, displacesEarlier(folder, *e));
            placed.error != 0) {
            return "cannot move the new " + shownPath(e->output) + " into place: " +
                   (placed.problem.empty()
                        ? causeOf(placed.error)
                        : shownPath(folder.run.pathOf(In::Outputs, e->output)) + " " + placed.problem) +
                   (placed.cameIn.empty() ? "" : "; " + placed.cameIn);
        }
    }
    return std::string();
}

// Names for a note: "a.txt, b.txt"; with the verb of one or of several.
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + shownPath(name);
    return text;
}
std::string listedWith(const std::vector<std::string>& names, const char* one, const char* several) {
    return listed(names) + (names.size() == 1 ? one : several);
}

std::vector<std::string> outputsOf(const std::vector<CommitEntry>& entries) {
    std::vector<std::string> outputs;
    for (const CommitEntry& e : entries) {
        if (!e.output.empty()) outputs.push_back(e.output);
    }
    return outputs;
}

// What a roll-back left: "the earlier a is back, and b is not there, as
// before that run".
std::string rolledBackText(const Unfinished& unfinished) {
    std::string text;
    if (!unfinished.back.empty()) text = "the earlier " + listedWith(unfinished.back, " is back", " are back");
    if (!unfinished.none.empty()) {
        text += (text.empty() ? "" : ", and ") + listedWith(unfinished.none, " is", " are") +
                " not there, as before that run";
    }
    return text.empty() ? text : ": " + text;
}

// Fails the job that found a record it could not finish, saying what the
// folder holds of the record's outputs: the job may write no record over
// it.
std::string holdsText(const RecordFolder& folder, const std::vector<CommitEntry>& entries) {
    std::vector<std::string> fresh;
    std::vector<std::string> earlier;
    std::vector<std::string> unknown;
    std::vector<std::string> others;
    std::vector<std::string> unwritten;
    for (const CommitEntry& e : entries) {
        if (e.output.empty()) continue;
        const NewFile found = newFileAt(folder, e, In::Outputs, e.output);
        struct stat st {};
        struct stat kept {};
        const bool keptThere = !e.kept.empty() && folder.run.stat(In::Own, e.kept, kept) == 0;
        if (found.is) {
            fresh.push_back(e.output);
        } else if (found.readError != 0) {
            unknown.push_back(e.output);
        } else if (folder.run.stat(In::Outputs, e.output, st) == 0) {
            const bool isEarlier = !e.kept.empty() && earlierAt(folder, e, st, keptThere ? &kept : nullptr);
            (isEarlier ? earlier : isOwnFile(st) ? unwritten : others).push_back(e.output);
        }
    }
    std::string holds = fresh.empty() ? "" : "the new " + listed(fresh);
    if (!earlier.empty()) holds += (holds.empty() ? "the earlier " : " and the earlier ") + listed(earlier);
    if (!unknown.empty()) holds += (holds.empty() ? "" : " and ") + listed(unknown) + ", which cannot be read";
    if (!unwritten.empty()) {
        holds += (holds.empty() ? "" : " and ") + listed(unwritten) + ", which that run did not write";
    }
    if (!others.empty()) {
        holds += (holds.empty() ? "" : " and ") +
                 listedWith(others, ", which is not the user's file", ", which are not the user's files");
    }
    return "the folder holds " + (holds.empty() ? "none of its outputs" : holds);
}
[[noreturn]] void failUnfinished(const std::string& target, const RecordFolder& folder,
                                 const std::vector<CommitEntry>& entries, const std::string& what) {
    failOn(target, what + ": " + holdsText(folder, entries) + "; a later run into the folder tries again to finish it",
           0, kNothingChanged);
}

// The note of a finished commit or roll-back.
std::string finishedNote(const RunFolder& run, const std::vector<CommitEntry>& entries, bool rollBack,
                         const std::string& failure, const Unfinished& unfinished) {
    const std::vector<std::string> outputs = outputsOf(entries);
    std::string note = shownPath(run.path()) + ": ";
    if (outputs.empty()) {
        note += "removed what an earlier run into the folder could not";
    } else if (!rollBack && failure.empty()) {
        note += "finished the commit of an earlier run into the folder: its " +
                listedWith(outputs, " is in place", " are in place");
    } else {
        note += (rollBack ? "finished the roll-back of an earlier run into the folder that failed"
                          : "the commit of an earlier run into the folder cannot be finished (" + failure +
                                "), and is rolled back") +
                rolledBackText(unfinished);
    }
    note += notPutBackText(run, unfinished) + unfinished.unremoved;
    if (unfinished.syncError != 0) {
        note += "; the folder cannot be synced to the disk (" + causeOf(unfinished.syncError) +
                "): a power failure may undo this";
    }
    return note;
}

}  // namespace

std::string notPutBackText(const RunFolder& run, const Unfinished& unfinished) {
    std::string text;
    for (const NotPutBack& n : unfinished.notPutBack) {
        text += "; " + shownPath(run.pathOf(In::Outputs, n.output)) + " " + n.what +
                (n.cause.empty() ? "" : " (" + n.cause + ")");
        if (n.kept.empty()) continue;
        text += ": the earlier file is " + shownPath(run.pathOf(In::Own, n.kept)) + ", which " +
                (unfinished.recordStays ? "a later run into the folder tries again to put back" : kKeptUntil);
    }
    return text;
}

Unfinished finishCommitted(const RecordFolder& folder, const std::vector<CommitEntry>& entries) {
    Unfinished unfinished;
    // The outputs' renames are durable before their second names go.
    unfinished.syncError = folder.run.sync(In::Outputs);
    for (const CommitEntry& e : entries) {
        // A staged file's name holds at most the earlier file it displaced.
        removeAll(folder, namesOf(e), unfinished);
    }
    settleRecord(folder.run, unfinished);
    return unfinished;
}

Unfinished rollBackFolder(const RecordFolder& folder, const std::vector<CommitEntry>& entries) {
    Unfinished unfinished;
    const std::vector<CommitEntry> lines = withCopyNumbers(folder, entries);
    for (auto e = lines.rbegin(); e != lines.rend(); ++e) rollBackLine(folder, *e, unfinished);
    // In the record's order, for the note.
    std::reverse(unfinished.back.begin(), unfinished.back.end());
    std::reverse(unfinished.none.begin(), unfinished.none.end());
    std::reverse(unfinished.notPutBack.begin(), unfinished.notPutBack.end());
    unfinished.syncError = folder.run.sync(In::Outputs);
    settleRecord(folder.run, unfinished);
    return unfinished;
}

FolderFound finishKilledCommit(const RunFolder& run, const std::string& target) {
    const SignalsHeld held;
    // Never became the record: nothing was moved.
    run.remove(In::Own, kNewRecordName);
    const bool rollBack = run.present(In::Own, kRollBackName);
    const FoundRecord record = readRecord(run, rollBack);
    if (!record.exists) return {};
    if (!record.problem.empty()) {
        failOn(target,
               "the commit record " + shownPath(run.pathOf(In::Own, rollBack ? kRollBackName : kRecordName)) + " " +
                   record.problem,
               0, kNothingChanged);
    }
    const RecordFolder place{run, record.numbersHold, record.copiesKnown};
    const std::string earlierRun = " of an earlier run into " + shownPath(run.path());
    const std::string failure = rollBack ? std::string() : moveStagedIntoPlace(place, record.entries);
    const bool forward = !rollBack && failure.empty();
    // A commit that goes neither forward nor back stays as it is, for a
    // later job.
    if (!rollBack && !forward) {
        if (const int error = beginRollBack(run); error != 0) {
            failUnfinished(target, place, record.entries,
                           "the commit" + earlierRun + " cannot be finished (" + failure + "), nor rolled back (" +
                               causeOf(error) + ")");
        }
    }
    const Unfinished unfinished =
        forward ? finishCommitted(place, record.entries) : rollBackFolder(place, record.entries);
    if (unfinished.recordStays) {
        failUnfinished(target, place, record.entries,
                       "the roll-back" + earlierRun + " cannot be finished (" + unfinished.firstFailure + ")");
    }
    IOMgr::getInstance().notice(finishedNote(run, record.entries, rollBack, failure, unfinished));
    FolderFound found;
    found.carried = unfinished.leftover;
    found.listed.insert(found.carried.begin(), found.carried.end());
    // An earlier file kept by a failed put-back is named once, above.
    for (const NotPutBack& n : unfinished.notPutBack) {
        if (!n.kept.empty()) found.listed.insert(n.kept);
    }
    return found;
}

std::set<std::string> namesListedInRecords(const RunFolder& run, bool& readable) {
    std::set<std::string> names;
    for (const bool rollBack : {false, true}) {
        const FoundRecord record = readRecord(run, rollBack);
        readable = readable && record.problem.empty();
        for (const CommitEntry& e : record.entries) {
            for (const std::string& name : namesOf(e)) names.insert(name);
        }
    }
    return names;
}

void noteKeptEarlierFiles(const RunFolder& run, const std::set<std::string>& listed) {
    std::vector<std::string> kept;
    for (const std::string& name : run.names(In::Own)) {
        if (!stemOfTemporaryName(name, kKeptMark).empty() && listed.count(name) == 0) kept.push_back(name);
    }
    if (kept.empty()) return;
    std::sort(kept.begin(), kept.end());
    // The outputs whose temporary names are cut, by their stem: a cut stem
    // names its output only through a file of the folder.
    std::map<std::string, std::string> cut;
    for (const std::string& name : run.names(In::Outputs)) {
        if (const std::string stem = temporaryStem(name); stem.size() != name.size() + 1) cut.emplace(stem, name);
    }
    for (std::size_t i = 0; i < std::min(kept.size(), kKeptNamed); ++i) {
        const std::string stem = stemOfTemporaryName(kept[i], kKeptMark);
        const auto found = cut.find(stem);
        const std::string output = found != cut.end() ? shownPath(run.pathOf(In::Outputs, found->second))
                                   : stem == temporaryStem(stem.substr(1))
                                       ? shownPath(run.pathOf(In::Outputs, stem.substr(1)))
                                       : std::string("output");
        IOMgr::getInstance().notice(shownPath(run.pathOf(In::Own, kept[i])) + " is an earlier " + output +
                                    " that a run could not put back; it " + kKeptUntil);
    }
    if (kept.size() > kKeptNamed) {
        IOMgr::getInstance().notice(shownPath(runFolderOf(run.path())) + " holds " +
                                    std::to_string(kept.size() - kKeptNamed) +
                                    " more files named like an earlier output that a run could not put back "
                                    "(.NAME.kept-XXXXXX); each stays until it is moved back or removed");
    }
}

}  // namespace IOMgmt::detail
