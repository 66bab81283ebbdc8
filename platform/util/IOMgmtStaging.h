// Writing files so that each is always the old or the new file, and the
// outputs of a job all or nothing, whatever moment the job is killed at
// (docs/outputs.md says what a user sees of it).
//
// The run's folder. A job keeps everything but its outputs (staged files,
// the records, the earlier outputs' second names and copies, the lock
// file) in one folder of its user's inside the output folder
// (".staged-outputs.UID"), made private (0700) and opened without following
// a link; a folder by that name of another user, or wider than 0700, is
// never used. So no other user can stand at any of its names. The output
// folder and the run's folder are held by the descriptors that were
// checked, and every file of the job is reached relative to them
// (detail::RunFolder): a folder renamed or replaced meanwhile leads nowhere
// else. The folder is removed once empty; a killed job's folder is found by
// the next job of the same user.
//
// One file. A new version of a file is written under a temporary name in
// the run's folder (".NAME.staged-XXXXXX"), private to its user, with the
// group a file made in the output folder gets, synced, and moved into
// place only when complete: exchanged with the file it replaces, which is
// checked once displaced (another file is put back and named, and what
// comes back must be the run's own file, by its device and number: another
// that comes instead is named and left, never removed), or renamed where
// no file stood without replacing one made there meanwhile
// (detail::placeFile). Just before, it gets the permission bits that the
// umask gives a new file, or, replacing a regular file of its user with
// one name, that file's read and write bits (no execute or special bit)
// less the umask. A link, a pipe, a
// folder or another user's file at the name is refused, naming it and its
// owner. Every temporary file is locked by the process that writes it: one
// whose writer is gone is abandoned, and the next process to write into
// the folder removes it. A long name is cut in temporary names
// (detail::temporaryStem); one too long for the file system with its
// temporary names is refused before anything is made (nameTooLong).
//
// A job's outputs. An output batch holds the outputs of one job (gahost
// run: the e-file, the print file and the saved return), each staged as
// above, and moves them into place together, only when every one is
// complete. One job of a user at a time writes outputs into a folder: the
// first staged write takes the lock file of the run's folder, an advisory
// lock held until the commit is over. The commit, in each output folder:
//  1. every staged file is synced;
//  2. each earlier output is looked at again, held open, and given a
//     second name to come (".NAME.kept-XXXXXX");
//  3. the commit record is written (detail::writeCommitRecord) and synced
//     in the run's folder, and the run's folder in the output folder;
//  4. each earlier output gets its second name, made of the file held in
//     step 2: a link of it, or a copy of its bytes (detail::keepEarlierFile);
//  5. each staged file is put in place over its earlier output (above);
//  6. the output folder is synced;
//  7. the second names and the record are removed, the run's folder
//     synced, and the lock file removed.
// A failure in step 4 or 5 rolls the commit back: the record becomes the
// roll-back record; each output moved in step 5 gets its earlier file back
// by its second name, put in place as above over the new file (a new
// output that had no earlier file is removed); the rest goes, and the
// folders are synced as in steps 6 and 7. An earlier file that cannot be
// put back stays under its second name, named in the failure.
//
// A job killed at any step. Whoever takes the lock next (a job of the same
// user, of any return) first finishes what the killed job left
// (detail::finishKilledCommit): forward, as the job would have, by the
// same steps, when every output of the record is staged or in place as
// the job wrote it, else back as a roll-back. A file at a name of the
// run's folder that is not the job's own (an exchange back brought it)
// stays, and the roll-back record with it. A placement killed between
// its exchange and its look at what it displaced is finished first: that
// file goes only when it is the recorded earlier file, else it is given
// its name back. A file is known by its number in the folder the record
// was written for, and by its size and bytes in a copy of the folder (cp
// -a, a backup restored), which is finished as the folder itself. A finish
// that can go neither forward nor back is left as it is, and the job
// fails before it writes, saying what the folder holds. Then the job
// removes the abandoned staged files of its run's folder.
//
// Several folders. Each folder has its own run's folder, lock, record and
// finish. Every folder's record is written before any second name is made,
// so an error rolls back every folder; a kill leaves each folder's outputs
// all old or all new, and the folders agree unless the kill falls while
// the records are being written.
#pragma once

#include <stdio.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace IOMgmt {

namespace detail {
struct CommitEntry;
struct JobFile;
class RunFolder;
}  // namespace detail

// A new version of a file, staged in the run's folder. Failures throw
// Exceptions::QuarloException (class "IOMgmt") naming the file and the cause.
class StagedFile {
public:
    // Removes the abandoned temporary files of the target (at the process's
    // first write of it; for an output of the current batch, the batch
    // claims its folder first), then makes and locks a temporary file.
    explicit StagedFile(std::string target);
    // Removes the temporary file unless it was moved into place.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    void write(std::string_view bytes);
    // Starts writing the bytes to the disk without waiting for them.
    void startWriteback();
    // Syncs the bytes to the disk; the file is complete.
    void finish();
    // The size of what was written and the hash of its bytes, read back
    // through the file's own descriptor, whatever the mode it is to have.
    void readBack(unsigned long long& size, std::string& hash) const;
    // Takes what stands at the target, held open as it was looked at, as
    // the earlier file that the new one replaces (none: nothing there): its
    // permission bits, and its number (detail::placeFile).
    void recordEarlier(detail::JobFile earlier);
    // Gives the earlier file its second name `kept` in the run's folder
    // (detail::keepEarlierFile); the errno of a failure.
    int keepEarlier(const std::string& kept) const;
    // Gives the file, private to its user until then, the permissions it is
    // to have in place, and renames it over the target (the folder is not
    // synced).
    void moveIntoPlace();
    // finish(), moveIntoPlace(), then syncs the folder: the new file is in
    // place for good.
    void putInPlace();

    // Removes the temporary file now; the errno of a failed removal, else 0.
    int discard();

    const std::string& target() const { return target_; }
    // The temporary file: its name in the run's folder, its path (for a
    // message), and its file number on the disk.
    const std::string& temporary() const { return temporary_; }
    std::string temporaryPath() const;
    unsigned long long fileNumber() const { return fileNumber_; }

private:
    [[noreturn]] void fail(const std::string& what, int error = 0) const;
    // A failure while the file is staged: for an output of the current
    // batch, the message ends as every failure before any output is moved.
    [[noreturn]] void failStaging(const std::string& what, int error) const;
    // Makes and locks the temporary file, private to its user.
    void makeTemporary();

    std::string target_;
    std::string name_;
    std::shared_ptr<detail::RunFolder> folder_;
    std::string temporary_;
    unsigned long long fileNumber_ = 0;
    int fd_ = -1;
    // The permissions the file is to have in place, and the earlier file.
    mode_t mode_ = 0600;
    std::unique_ptr<detail::JobFile> earlier_;
    bool finished_ = false;
    bool moved_ = false;
    bool ofBatch_ = false;
};

// How long a job waits for another process's job that writes outputs into
// the same folder before it gives up.
inline constexpr std::chrono::milliseconds kOutputLockWait{30000};

// The outputs of one job, moved into place together. While it lives it is
// the I/O manager's current batch: the file writer and writeFileAtomically
// stage a file it holds into it instead of moving the file into place.
class OutputBatch {
public:
    // Declares the outputs; every one must be staged before commit(). An
    // output that may not replace what stands at its name (outputRefused)
    // is refused at once, and again before any output is moved. Only one
    // batch lives at a time. `lockWait` bounds the wait for another job
    // that holds an output folder (claimOutputs).
    explicit OutputBatch(const std::vector<std::string>& outputs, std::chrono::milliseconds lockWait = kOutputLockWait);
    // Removes whatever was staged and not committed (the old files stay)
    // and gives the output folders up; a lock file that a failure left is
    // named now, after the failure (see releaseOutputs).
    ~OutputBatch();
    OutputBatch(const OutputBatch&) = delete;
    OutputBatch& operator=(const OutputBatch&) = delete;

    // A file the job reads, which no write of the process may replace;
    // `role` names it in the refusal ("the return file being run").
    void addInput(const std::string& path, const std::string& role);

    // Whether the path names one of the outputs (the same file, however
    // the path is written).
    bool holds(const std::string& path) const;
    // See IOMgr::reservedUse.
    std::string reservedUse(const std::string& path) const;

    // Takes a staged file of an output, all of it written, and starts its
    // writeback; one staged before for the same output is removed (a note
    // names it when it cannot be).
    void adopt(std::unique_ptr<StagedFile> file);

    // Takes the output folders for this job, once; the first staged write
    // of an output (`target`) does it: enters each run's folder and takes
    // its lock, waiting up to the batch's bound for another process's job,
    // then finishes the commit a killed job left and removes what killed
    // jobs left. The run's folder of the target's folder; throws, naming the
    // target and leaving every output as it was, when any of it fails.
    std::shared_ptr<detail::RunFolder> claimOutputs(const std::string& target);

    // Commits the outputs (the steps above): throws, leaving every output as
    // it was, when a step fails (the outputs moved before it are put back;
    // one that cannot be is named, with its earlier file's second name), or
    // when a folder cannot be synced after the renames (the outputs are in
    // place, but may not survive a power failure). A file that cannot be
    // removed once they are in place is named in a note, and the next job
    // into the folder removes it: the commit succeeds.
    void commit();

private:
    struct Output {
        std::string path;
        std::unique_ptr<StagedFile> staged{};
        // The output's folder, as a place in folders_.
        std::size_t folder = 0;
        // While the batch commits: the staged file's size and the hash of
        // its bytes, and the earlier file's second name, a name within the
        // folder (empty when there was no earlier file).
        unsigned long long stagedSize = 0;
        std::string stagedHash{};
        std::string kept{};
        unsigned long long earlierNumber = 0;
    };
    struct Input {
        std::string path;
        std::string role;
    };
    // An output folder this batch holds, with its run's folder.
    struct Folder {
        std::shared_ptr<detail::RunFolder> run;
        int lockFd = -1;
        // Second names an earlier job could not remove, which the commit
        // record lists again.
        std::vector<std::string> carried{};
    };
    // The place of the output the path names; outputs_.size() for none.
    std::size_t indexOf(const std::string& path) const;
    // The output the path names; throws for none.
    Output& outputAt(const std::string& path);
    // Removes the output's staged file; one that cannot be removed is
    // named in a note, and the next job into the folder removes it.
    void dropStaged(Output& output);
    // Finishes what a killed job left in the folder, then removes the
    // abandoned staged files of its run's folder.
    void tidyFolder(Folder& folder, const std::string& target);
    // The lines of the folder's commit record (the folder as a place in
    // folders_).
    std::vector<detail::CommitEntry> entriesOf(std::size_t folder) const;
    // Chooses the second names and writes every folder's commit record;
    // throws, with every output as it was, when a record cannot be written.
    void recordCommit();
    // Gives each earlier output its second name, then moves every output
    // into place; throws at the first failure.
    void keepAndMove();
    // Rolls every folder back after `failure` and throws it, with what
    // could not be put back.
    [[noreturn]] void rollBack(const std::string& failure);
    // Removes the second names and records once every output is in place.
    void finishCommit();
    // Removes the lock files and gives the folders up. A lock file that
    // cannot be removed is named in a note once the commit is over, or,
    // after a failure, when the batch ends (after the failure is told).
    void releaseOutputs();
    void noteUnreleased();

    std::vector<Output> outputs_;
    std::vector<Input> inputs_;
    std::chrono::milliseconds lockWait_;
    // The folders held: none until the outputs are claimed.
    std::vector<Folder> folders_;
    // The notes of lock files that could not be removed, still to give.
    std::vector<std::string> unreleased_;
};

// Opens a file as openat(2) does, with the mode a new file gets.
int openFile(int folder, const char* name, int flags, mode_t mode);
// Gives the open file `fd` (O_PATH too) the name `name` in the folder: a
// hard link of that very file, whatever stands at its names meanwhile.
int linkOpenFile(int fd, int folder, const char* name);
// Removes a file as unlinkat(2) does.
int unlinkFile(int folder, const char* name);

// The system calls by which a staged file reaches the disk, an earlier
// output keeps a second name, an output is moved into place (or put back),
// a folder reaches the disk, what a commit leaves is removed and the files
// it knows by their bytes are read; each names its files within a folder
// held open. A test puts in one that fails to see what the failure leaves.
struct StagingCalls {
    int (*sync)(int fd) = ::fdatasync;
    int (*link)(int fd, int folder, const char* name) = linkOpenFile;
    // With the flags RENAME_EXCHANGE, RENAME_NOREPLACE or none.
    int (*rename)(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) = ::renameat2;
    int (*syncFolder)(int fd) = ::fsync;
    // The removal of a temporary file, second name, record or lock file.
    int (*unlink)(int folder, const char* name) = unlinkFile;
    // Every write of writeAll (staged files, copies, records, lock files).
    ssize_t (*write)(int fd, const void* bytes, size_t count) = ::write;
    // Every read of a staged file or an output whose bytes are hashed.
    ssize_t (*read)(int fd, void* bytes, size_t count) = ::read;
    // Every open of a folder's lock file.
    int (*open)(int folder, const char* name, int flags, mode_t mode) = openFile;
};
// Puts the calls in place; returns those they replace.
StagingCalls setStagingCalls(StagingCalls calls);

// Completes a staged file, all of it written: into the current batch when
// the batch holds its target, else put in place at once, its folder synced.
// Throws as StagedFile does.
void completeStagedFile(std::unique_ptr<StagedFile> file);

// Writes the bytes so that the file is the old or the new one: staged and
// completed (completeStagedFile), with the signals that end a process from
// the terminal held back meanwhile (no temporary file is left by them).
// Throws Exceptions::QuarloException naming the file and the cause.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// Writes every byte to the descriptor, again after an interrupted write;
// the errno of a write that failed (EIO for one that took nothing), else 0.
int writeAll(int fd, std::string_view bytes);

// Appends the bytes to a regular file in one write (the file is made when
// missing); never waits on a pipe. Throws as writeFileAtomically does.
void appendToFile(const std::string& path, std::string_view bytes);

// The path with its folders resolved, for comparing two paths of one file.
std::string canonicalPath(const std::string& path);

// Whether the two paths name one file: the same file on disk (a hard link
// or a symbolic link too) or, when neither exists, the same place once their
// folders are resolved.
bool namesSameFile(const std::string& a, const std::string& b);

}  // namespace IOMgmt
