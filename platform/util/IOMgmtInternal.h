// What the staging of outputs (IOMgmtStaging.cpp), the output batch
// (OutputBatch.cpp), its commit record (CommitRecord.cpp) and the lock of an
// output folder (OutputFolderLock.cpp) share; not for use outside them.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
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

// The 64-bit FNV-1a hash of bytes given in pieces: the same in every
// process, so that each finds the temporary names of another and knows the
// files and records that another wrote.
class ByteHash {
public:
    void add(std::string_view bytes) {
        for (const char c : bytes) {
            value_ ^= static_cast<unsigned char>(c);
            value_ *= 0x100000001b3ULL;
        }
    }
    // Sixteen hexadecimal digits.
    std::string text() const {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text(16, '0');
        std::uint64_t rest = value_;
        for (std::size_t i = text.size(); i-- > 0; rest >>= 4) text[i] = kDigits[rest & 0xf];
        return text;
    }

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

// The hash of the bytes, in sixteen hexadecimal digits.
inline std::string hashText(std::string_view bytes) {
    ByteHash hash;
    hash.add(bytes);
    return hash.text();
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
// The umask, read where the system tells it without changing it.
mode_t currentUmask();

// A descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// ------------------------------------------------------------ a job's own files

// The names of a folder's commit record, of the record being written, of
// its roll-back record and of the lock file.
inline constexpr const char* kRecordName = ".staged-outputs.commit";
inline constexpr const char* kNewRecordName = ".staged-outputs.commit-new";
inline constexpr const char* kRollBackName = ".staged-outputs.rollback";
inline constexpr const char* kLockFileName = ".staged-outputs.lock";

// The user a message names: by name, else by number ("user 1001").
std::string userName(uid_t uid);

// The folder of the run's own files in the output folder `folder`
// (".staged-outputs.UID"): every name inside it is the run's.
std::string runFolderOf(const std::string& folder);

// What stands at an output's name and whether a run may replace it: only
// a regular file of the run's user; anything else is refused, naming it and
// its owner. Looked at in a run's folders, it is held open as checked.
struct JobFile {
    // ENOENT when nothing is there, else that of a look that failed.
    int error = 0;
    struct stat st {};
    // Why the run may not replace it ("is owned by alice, not by bob (the
    // user of this run)"), and what the user can do; empty when it may.
    std::string problem{};
    std::string advice{};
    Descriptor fd{};
    // "PROBLEM, and is not replaced; ADVICE" (or `what` else); empty when
    // the run may.
    std::string refusal(const char* what = "replaced") const {
        return problem.empty() ? problem : problem + ", and is not " + what + "; " + advice;
    }
};
// The file as `st` describes it (the file opened), checked.
JobFile checkOutput(const struct stat& st);
// The file at `path`, opened without following a link, checked.
JobFile lookAtOutput(const std::string& path);
// The permission bits a new output takes, less the umask: 0666, or, over a
// regular file of the run's user with one name, its read and write bits
// (never an execute bit, set-user-ID, set-group-ID or sticky).
mode_t outputMode(const JobFile& earlier);

// Where a name of a run is: in the output folder (an output) or in the
// run's folder (everything else).
enum class In : std::uint8_t { Outputs, Own };

// An output folder and the run's folder in it, each held by the descriptor
// that was checked: every file of a run is reached relative to one of them
// (a name, never a path), so a folder renamed or replaced once checked
// leads nowhere else. Paths serve messages only.
class RunFolder {
public:
    // Opens the output folder `path`, then enters its run's folder (enter).
    RunFolder(std::string path, const std::string& target, const std::string& outcome);
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Makes the run's folder (0700) when missing, and opens it without
    // following a link: it is the run's only when it is a folder of the
    // run's user no wider than 0700 (another user's is never looked into).
    // Throws, naming `target`, what stands there and its owner, ending with
    // `outcome`. Called again where a run of the user's that let the folder
    // go removed it (a file made in it met ENOENT).
    void enter(const std::string& target, const std::string& outcome);
    // Removes the run's folder when it is empty and the one entered.
    void leave() const;

    const std::string& path() const { return path_; }
    // The path of a name, for a message.
    std::string pathOf(In in, const std::string& name) const;
    int fd(In in) const { return (in == In::Own ? own_ : outputs_).get(); }
    // The output folder as it was opened.
    const struct stat& folderStat() const { return folderStat_; }
    // The group that a file made in the output folder gets: the folder's
    // own where it is set-group-ID, else the run's.
    gid_t newFileGroup() const;

    // Each call on a name, a link never followed; those that return an int
    // give the errno of a failure, else 0 (a removal: also when nothing was
    // there), but open (a descriptor, or -1). `link` makes the open file
    // `fd` a name of the run's folder; `look` holds an output as checked.
    int stat(In in, const std::string& name, struct stat& st) const {
        return ::fstatat(fd(in), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
    }
    bool present(In in, const std::string& name) const {
        struct stat st {};
        return stat(in, name, st) == 0;
    }
    int open(In in, const std::string& name, int flags, mode_t mode = 0) const {
        return ::openat(fd(in), name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
    }
    JobFile look(const std::string& output) const;
    int remove(In in, const std::string& name) const {
        return stagingCalls().unlink(fd(in), name.c_str()) == 0 || errno == ENOENT ? 0 : errno;
    }
    int rename(In fromIn, const std::string& from, In toIn, const std::string& to, unsigned flags = 0) const {
        return stagingCalls().rename(fd(fromIn), from.c_str(), fd(toIn), to.c_str(), flags) == 0 ? 0 : errno;
    }
    int link(int fd, const std::string& name) const {
        return stagingCalls().link(fd, own_.get(), name.c_str()) == 0 ? 0 : errno;
    }
    int sync(In in) const { return stagingCalls().syncFolder(fd(in)) == 0 ? 0 : errno; }
    std::vector<std::string> names(In in) const;

private:
    std::string path_;
    std::string name_;
    Descriptor outputs_;
    Descriptor own_;
    struct stat folderStat_ {};
    struct stat ownStat_ {};
};

// Whether the file (as `st` describes it, at the name that now holds it)
// is the one a placement is to displace.
using Displaces = std::function<bool(In in, const std::string& name, const struct stat& st)>;
// What a placement did: the errno of a failure (EEXIST, with `problem`
// saying what stands at the output's name, whose, and what to do), and,
// where the exchange back brought another file than the run's own into the
// run's folder, `cameIn` naming it (cameInText): it is left there.
struct Placed {
    int error = 0;
    std::string problem{};
    std::string cameIn{};
};
// Puts the file `from` of the run's folder at the output's name `to`: with
// `displaces`, the two are exchanged, and what `from` then holds is removed
// when it is the file to displace, else exchanged back, and `from` must
// hold again the file it held, by its device and number; without, the
// rename replaces nothing. Where the file system has no exchange, `to` is
// looked at just before a plain rename.
Placed placeFile(const RunFolder& run, const std::string& from, const std::string& to, const Displaces& displaces);
// "DIR/.staged-outputs.1000/NAME is a file of alice that came from DIR/OUTPUT
// by an exchange, not the run's own, and is left as it is: move it out of
// DIR/.staged-outputs.1000": what stands at a name of the run's folder
// that no run of the user made.
std::string cameInText(const RunFolder& run, const std::string& name, const std::string& output, const struct stat& st);
// A regular file of the run's user: the only kind a run removes from its
// folder, or takes for an earlier output.
inline bool isOwnFile(const struct stat& st) { return S_ISREG(st.st_mode) && st.st_uid == ::geteuid(); }

// A file's device and number.
using FileId = std::pair<unsigned long long, unsigned long long>;
inline FileId idOf(const struct stat& st) {
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

// Removes the staged files in the run's folder whose writer is gone (a
// live writer holds its file locked), except those named in `kept`; one
// that cannot be removed is named in a note.
void removeAbandonedStagedFiles(const RunFolder& run, const std::set<std::string>& kept);

// The note of a temporary file that a job cannot remove.
inline std::string unremovedTemporaryNote(const std::string& path, int error) {
    return "cannot remove " + shownPath(path) + ", a temporary file that is no longer needed: " + causeOf(error) +
           "; a later run into the folder tries again";
}

// ------------------------------------------------------------ the lock

// Takes the lock file of the run's folder for a write of `target`, waiting
// up to `wait` while the job of another process holds it, and writes in it
// `holder` (a line for a job that waits next); its descriptor. Throws when
// the wait runs out, or when the lock file cannot be made, opened or
// locked.
int lockFolder(RunFolder& run, const std::string& target, std::chrono::milliseconds wait, const std::string& holder);

// ------------------------------------------------------------ the record

// One line of a commit record: an output (a name in the output folder) with
// its staged file's name, number, size and hash (hashText), and its earlier
// file's second name (empty for none) and number; or, with `output` empty,
// only a name of the run's folder (`kept`) left to remove.
struct CommitEntry {
    std::string output{};
    std::string staged{};
    unsigned long long stagedNumber = 0;
    unsigned long long stagedSize = 0;
    std::string stagedHash{};
    std::string kept{};
    // The earlier file's number, by which it is known as it is displaced.
    unsigned long long earlierNumber = 0;
    // The number of the copy of the earlier file that is its second name,
    // recorded by a roll-back before it puts the copy back (0: none), by
    // which the output is known for the earlier file once it is back.
    unsigned long long copyNumber = 0;
};

// The folders of a commit record, and whether the file numbers the record
// gives still name its files: true in the folder the record was written
// in, false in a copy of it (cp -a, a backup restored, a move to another
// disk), whose files are known by their names, sizes and bytes only. A
// record of the version before holds no copy's number (`copiesKnown`
// false): a copy it put back is known by its owner alone.
struct RecordFolder {
    const RunFolder& run;
    bool numbersHold = true;
    bool copiesKnown = true;
};

// The name of the copy that is to become the second name `kept` of `output`.
std::string copyNameOf(const std::string& output, const std::string& kept);

// Gives the earlier output `earlier` (a regular file held open as it was
// checked) its second name `kept` in the run's folder: a link of that very
// file, or, where none can be made, a copy of its bytes written whole to
// its copy's name, synced and renamed. The errno of a failure.
int keepEarlierFile(const RunFolder& run, const JobFile& earlier, const std::string& output, const std::string& kept);

// Opens anew the file that `fd` holds (O_PATH too), with the flags: that
// very file, whatever stands at its names meanwhile.
int reopen(int fd, int flags);

// The size of a regular file of the run's user and the hash of its bytes,
// read once the file opened is found to be one; the errno of a failure
// (EINVAL for another file). Of a file open to read, from where it stands.
int contentOf(const RunFolder& run, In in, const std::string& name, unsigned long long& size, std::string& hash);
int contentOfDescriptor(int fd, unsigned long long& size, std::string& hash);

// Writes the folder's commit record, durable in the run's folder before it
// returns (and the run's folder in the output folder); throws, leaving no
// record, when it cannot.
void writeCommitRecord(const RunFolder& run, const std::vector<CommitEntry>& entries);

// A record file as found: none, or its lines and whether its file numbers
// hold, or what is wrong with it and what to do (it cannot be read; it is
// not a regular file of the user's that a run wrote).
struct FoundRecord {
    bool exists = false;
    std::vector<CommitEntry> entries;
    bool numbersHold = false;
    bool copiesKnown = true;
    std::string problem;
};
// Reads the folder's commit record, or its roll-back record.
FoundRecord readRecord(const RunFolder& run, bool rollBack);

// Turns the folder's commit record into its roll-back record, synced: a
// job killed from then on is rolled back. The errno of a failed rename,
// else 0.
int beginRollBack(const RunFolder& run);

// Writes the roll-back record anew with the lines given (the numbers of the
// copies it is to put back), synced; the errno of a failure, with the
// record there as it was.
int rewriteRollBack(const RunFolder& run, const std::vector<CommitEntry>& entries);

// An output that a roll-back could not give its earlier file back: `what`
// says why ("is the new file, it cannot be put back"), `cause` that of the
// failed call, `kept` the earlier file's second name (each may be empty).
struct NotPutBack {
    std::string output;
    std::string kept;
    std::string what;
    std::string cause;
};

// What finishing a commit or a roll-back did, and did not manage.
struct Unfinished {
    // After a roll-back: the outputs whose earlier file is in place, and
    // those that had none and are not there.
    std::vector<std::string> back;
    std::vector<std::string> none;
    std::vector<NotPutBack> notPutBack;
    // Names that could not be removed, listed again in a record, and the
    // message parts that say so.
    std::vector<std::string> leftover;
    std::string unremoved;
    // The first step that failed ("cannot remove DIR/NAME: cause").
    std::string firstFailure;
    void noteFailure(const std::string& failure) {
        if (firstFailure.empty()) firstFailure = failure;
    }
    // The errno of a failed sync of a folder, else 0.
    int syncError = 0;
    // A displaced file that is not the one to go could not be given its
    // name back: the roll-back record stays, for a later job.
    bool keepRecord = false;
    // The roll-back record is still there: a later job finishes it again.
    bool recordStays = false;
};

// Removes the folder's records (the output folder synced before), or
// writes one that lists only the names left over, and syncs the run's
// folder; notes in `unfinished` what it could not do, and whether the
// roll-back record stays.
void settleRecord(const RunFolder& run, Unfinished& unfinished);

// "; DIR/NAME is the new file, it cannot be put back (cause): the earlier
// file is DIR/.NAME.kept-XXXXXX, which stays until you move it back or
// remove it" for each output that a roll-back could not put back.
std::string notPutBackText(const RunFolder& run, const Unfinished& unfinished);

// Once every output of the record is in place: syncs the output folder,
// removes the second names, copies and names left over, then the record
// (or writes one that lists what is left).
Unfinished finishCommitted(const RecordFolder& folder, const std::vector<CommitEntry>& entries);

// Puts back each output of the record that was moved into place (an output
// that had no earlier file is removed), removes the rest, then the records
// as finishCommitted does. The caller turns the record into the roll-back
// record first (beginRollBack).
Unfinished rollBackFolder(const RecordFolder& folder, const std::vector<CommitEntry>& entries);

// What a job finds in a folder it has just locked, once it has finished
// what a killed job left: the names a record still lists (not to be removed
// as abandoned, nor named as kept) and those its own record lists again.
struct FolderFound {
    std::set<std::string> listed;
    std::vector<std::string> carried;
};

// Finishes the commit or roll-back a killed job left in the folder, with
// one note saying which; throws, naming `target`, when a record cannot be
// read, or cannot be finished (the message says what the folder holds).
FolderFound finishKilledCommit(const RunFolder& run, const std::string& target);

// The names the folder's records list, read without the folder's lock;
// none when there is no record, and `readable` false when one cannot be
// read.
std::set<std::string> namesListedInRecords(const RunFolder& run, bool& readable);

// Names in a note each second name in the folder that a run chose and no
// record lists: the earlier file of an output that a roll-back could not
// put back.
void noteKeptEarlierFiles(const RunFolder& run, const std::set<std::string>& listed);

}  // namespace IOMgmt::detail
