// Writing files so that each is always the old or the new file.
//
// A new version of a file is written under a temporary name in the file's
// own folder (".NAME.staged-XXXXXX"), synced, and renamed over the old file
// only when complete. It gets the permissions of the file it replaces when
// that is a regular file, else those the umask gives a new file (0666 less
// the umask); a symbolic link is replaced, and its target lends nothing. A
// process killed meanwhile leaves the old file and a temporary file, which
// the first write of a later process to the same file removes: every
// temporary file is locked by the process that writes it, so only those
// whose writer is gone are removed, and only those of that file's name.
//
// An output batch holds the outputs of one job (gahost run: the e-file, the
// print file and the saved return): each is staged as above, and all of
// them are moved into place together, only when every one is complete. One
// job at a time writes outputs into a folder: the first staged write of an
// output takes the folder's lock file (".staged-outputs.lock"), which the
// commit removes. While the renames go on, each replaced output keeps a
// second name (".NAME.kept-XXXXXX"), by which it is put back when a later
// rename fails. A second name that is the only name of an earlier output
// (one that could not be put back, or that a killed batch had replaced) is
// never removed by a later batch: each one names it in a note until the
// user moves it back or removes it.
#pragma once

#include <stdio.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace IOMgmt {

// A new version of a file, staged beside it. Failures throw
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
    // Renames the finished file over the target (the folder is not synced).
    void moveIntoPlace();
    // finish(), moveIntoPlace(), then syncs the folder: the new file is in
    // place for good.
    void putInPlace();

    const std::string& target() const { return target_; }
    const std::string& directory() const { return directory_; }

private:
    [[noreturn]] void fail(const std::string& what, int error = 0) const;
    // Makes and locks the temporary file, with the mode it is to have.
    void makeTemporary();

    std::string target_;
    std::string directory_;
    std::string temporary_;
    int fd_ = -1;
    bool finished_ = false;
    bool moved_ = false;
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
    // output that is an existing directory is refused at once. Only one
    // batch lives at a time. `lockWait` bounds the wait for another job
    // that holds an output folder (claimOutputs).
    explicit OutputBatch(const std::vector<std::string>& outputs, std::chrono::milliseconds lockWait = kOutputLockWait);
    // Removes whatever was staged and not committed (the old files stay)
    // and gives the output folders up.
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
    // writeback; one staged before for the same output is dropped.
    void adopt(std::unique_ptr<StagedFile> file);

    // Takes the output folders for this job, once; the first staged write
    // of an output (`target`) does it. Waits, up to the batch's bound, while
    // another process's job holds one (an advisory lock on its lock file),
    // then removes what killed jobs left of these outputs. Throws, naming the
    // target and leaving every output as it was, when the wait runs out (the
    // message names the process that holds the folder and the outputs it
    // writes) or when the lock file cannot be made, opened or locked, or is
    // not a file (a folder, a link, a pipe: the message says to remove it).
    void claimOutputs(const std::string& target);

    // Syncs every output to the disk, then moves them into place and syncs
    // their folders. Throws, leaving every output as it was, when an output
    // was not staged or is a directory, cannot be synced, or cannot be moved
    // into place (the outputs moved before it are put back; one that cannot
    // be is named, with its earlier file's second name). Throws too when a
    // folder cannot be synced after the renames: the outputs are then in
    // place, but may not survive a power failure.
    void commit();

private:
    struct Output {
        std::string path;
        std::unique_ptr<StagedFile> staged;
        // While the batch commits: the earlier file's second name (a link,
        // or a copy where no link can be made); empty when there was none.
        std::string kept;
    };
    struct Input {
        std::string path;
        std::string role;
    };
    // The place of the output the path names; outputs_.size() for none.
    std::size_t indexOf(const std::string& path) const;
    // The output the path names; throws for none.
    Output& outputAt(const std::string& path);
    // Gives every earlier output a second name, before any is replaced;
    // throws, keeping none, when one cannot be kept.
    void keepEarlierOutputs();
    // Puts back the earlier files of the first `moved` outputs after a
    // rename failed; what could not be put back, for the message.
    std::string putBackEarlierOutputs(std::size_t moved);
    // Removes the second names left; the files stand under their own.
    void dropEarlierOutputs();
    // Removes the lock files and gives the folders up.
    void releaseOutputs();

    std::vector<Output> outputs_;
    std::vector<Input> inputs_;
    std::chrono::milliseconds lockWait_;
    // The lock files held, by folder: none until the outputs are claimed.
    std::vector<std::pair<std::string, int>> locks_;
};

// The system calls by which a staged file reaches the disk, an earlier
// output keeps a second name, an output is moved into place (or put back)
// and the renames in a folder reach the disk. A test puts in one that fails
// to see what the failure leaves.
struct StagingCalls {
    int (*sync)(int fd) = ::fdatasync;
    int (*link)(const char* existing, const char* newName) = ::link;
    int (*rename)(const char* from, const char* to) = ::rename;
    int (*syncFolder)(int fd) = ::fsync;
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
