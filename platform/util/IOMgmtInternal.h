// What the staging of outputs (IOMgmtStaging.cpp), the output batch
// (OutputBatch.cpp), its commit record (CommitRecord.cpp) and the lock of an
// output folder (OutputFolderLock.cpp) share; not for use outside them.
#pragma once

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstddef>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"

namespace IOMgmt::detail {

// How a failed commit ends its message when every output is as it was.
inline constexpr const char* kNothingChanged = "no output of the run is changed";

// ".NAME" + a mark + six letters or digits: a new version of NAME being
// staged, the earlier NAME's second name while a batch commits, and a copy
// being made to become that second name (which ends as the second name does).
inline constexpr const char* kStagedMark = ".staged-";
inline constexpr const char* kKeptMark = ".kept-";
inline constexpr const char* kCopyMark = ".copy-";
inline constexpr std::size_t kRandomPartLength = 6;

// Throws "PATH: what: cause; outcome", without the parts not given.
[[noreturn]] inline void failOn(const std::string& path, const std::string& what, int error = 0,
                                const std::string& outcome = {}) {
    std::string message = shownPath(path) + ": " + what;
    if (error != 0) message += ": " + std::generic_category().message(error);
    if (!outcome.empty()) message += "; " + outcome;
    throw Exceptions::QuarloException(message, "IOMgmt", "write");
}

// The cause of an errno, as a message shows it.
inline std::string causeOf(int error) { return std::generic_category().message(error); }

// Two stats of one file: the same device and the same file number on it.
inline bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Holds back the signals that end a process from the terminal or from
// another process (SIGINT, SIGTERM, SIGHUP, SIGQUIT) while it lives; one that
// arrived meanwhile is delivered when it ends.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// The calls in place (setStagingCalls).
const StagingCalls& stagingCalls();

// Six letters or digits for a temporary name.
std::string randomPart();
// The folder of a path ("." for a bare name).
std::string folderOf(const std::string& path);
// The last part of a path.
std::string fileNameOf(const std::string& path);
// "FOLDER/NAME".
std::string inFolder(const std::string& folder, const std::string& name);
// ".NAME", the start of the temporary names of the file named NAME: a name
// of more than 200 bytes cut there and followed by "~" and a hash of it all.
std::string temporaryStem(const std::string& name);
// Whether the name is stem + mark + six letters or digits, exactly.
bool isTemporaryName(const std::string& name, const std::string& stem, const std::string& mark);
// The stem of a name that is some stem + mark + six letters or digits;
// empty when the name is not of that form.
std::string stemOfTemporaryName(const std::string& name, const std::string& mark);
// Whether the name can name a file within a folder: not empty, no "/",
// not "." or "..".
bool isPlainFileName(const std::string& name);
// Whether something stands at the path (a link is not followed).
bool present(const std::string& path);
// Removes the file through the staging calls; the errno of a failure, 0
// when it is gone (or was).
int removeFile(const std::string& path);

// Makes the renames in the folder durable; the errno of a failure to open
// or to sync the folder, else 0. A folder removed meanwhile holds nothing
// to sync.
int syncFolder(const std::string& folder);

// Removes, in the folder, the staged files of the files whose stems are
// given and whose writer is gone (a live writer holds its file locked),
// except those named in `kept`.
void removeAbandonedStagedFiles(const std::string& folder, const std::set<std::string>& stems,
                                const std::set<std::string>& kept);

// ------------------------------------------------------------ the lock

// The lock file of a folder that a batch writes outputs into.
std::string lockFileOf(const std::string& folder);

// The lock of an output folder, held: its descriptor, and the names of the
// outputs whose temporary files its holder may leave (its own, and those
// the holder before it listed).
struct HeldFolder {
    int fd = -1;
    std::vector<std::string> listed;
};

// Takes the folder's lock file for a write of `target`, waiting up to
// `wait` while the job of another process holds it, and writes in it
// `holder` (a line for a job that waits next) and the list (`outputs`, the
// names of the job's outputs there, with those listed before). Throws when
// the wait runs out, or when the lock file cannot be made, opened or
// locked.
HeldFolder lockFolder(const std::string& folder, const std::string& target, std::chrono::milliseconds wait,
                      const std::string& holder, const std::vector<std::string>& outputs);

// ------------------------------------------------------------ the record

// One line of a commit record, by names within its folder: an output with
// its staged file's name and file number and its earlier file's second name
// (empty for none); or, with `output` empty, only a second name or other
// temporary name (`kept`) that is left to remove.
struct CommitEntry {
    std::string output;
    std::string staged;
    unsigned long long stagedNumber = 0;
    std::string kept;
};

// The names of the folder's commit record files: the record, the record
// being written and the roll-back record.
std::vector<std::string> commitRecordFilesOf(const std::string& folder);

// The name of the copy that is to become the second name `kept` of `output`.
std::string copyNameOf(const std::string& output, const std::string& kept);

// Writes the folder's commit record (durable when it returns); throws,
// leaving no record, when it cannot.
void writeCommitRecord(const std::string& folder, const std::vector<CommitEntry>& entries);

// What finishing a commit or a roll-back did not manage.
struct Unfinished {
    // "; DIR/NAME is the new file, it cannot be put back (...)...": an
    // earlier file that stays under its second name until the user acts,
    // and those second names.
    std::string lost;
    std::vector<std::string> keptEarlier;
    // Names that could not be removed, listed again in a record, and the
    // message parts that say so.
    std::vector<std::string> leftover;
    std::string unremoved;
    // The errno of a failed sync of the folder, else 0.
    int syncError = 0;
};

// Moves into place the outputs of a killed job's commit record that are
// still staged; why it cannot (an output neither staged nor in place, whose
// staged file was lost; a rename that fails), else empty.
std::string moveStagedIntoPlace(const std::string& folder, const std::vector<CommitEntry>& entries);

// Once every output of the record is in place: removes the second names,
// copies and names left over, syncs the folder, then removes the record
// (or writes one that lists what is left).
Unfinished finishCommitted(const std::string& folder, const std::vector<CommitEntry>& entries);

// Turns the folder's commit record into its roll-back record, then puts
// back each output that was moved, removes the rest, syncs the folder and
// removes the record (or lists in it what is left).
Unfinished rollBackFolder(const std::string& folder, const std::vector<CommitEntry>& entries);

// What a job finds in a folder it has just locked, once it has finished
// what a killed job left: the names a record still lists (not to be
// removed as abandoned, nor named as kept by a failed roll-back) and those
// of them that the job's own record must list again.
struct FolderFound {
    std::set<std::string> listed;
    std::vector<std::string> carried;
};

// Finishes the commit or roll-back a killed job left in the folder, with
// one note saying which; throws, naming `target`, when a record cannot be
// read.
FolderFound finishKilledCommit(const std::string& folder, const std::string& target);

// The names the folder's records list, read without the folder's lock;
// none when there is no record, and `readable` false when one cannot be
// read.
std::set<std::string> namesListedInRecords(const std::string& folder, bool& readable);

// Names in a note each second name in the folder that no record lists: the
// earlier file of an output that a roll-back could not put back.
void noteKeptEarlierFiles(const std::string& folder, const std::set<std::string>& listed);

}  // namespace IOMgmt::detail
