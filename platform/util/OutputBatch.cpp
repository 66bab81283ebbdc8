// The outputs of one job, moved into place together: the folders' locks,
// the commit with its record, the roll-back after a failure (the steps are
// described in IOMgmtStaging.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/util/Utils.h"

namespace IOMgmt {

namespace {

using namespace detail;

// Tries at a second name that no file has.
constexpr int kSecondNameTries = 100;
constexpr std::size_t kCopyBuffer = 64 * 1024;
constexpr const char* kCannotKeep = "cannot keep the earlier file to put back should the run fail";
// Whether there is an earlier file cannot be told (a name the file system
// refuses): a message must not claim one.
constexpr const char* kCannotLook = "cannot look for an earlier file to put back should the run fail";

// A second name for the earlier output NAME in the folder that no file
// has, nor its copy's name.
std::string chooseSecondName(const std::string& folder, const std::string& output, const std::string& path) {
    const std::string stem = temporaryStem(output);
    const std::string own = runFolderOf(folder);
    for (int attempt = 0; attempt < kSecondNameTries; ++attempt) {
        std::string kept = stem + kKeptMark + randomPart();
        if (!present(inFolder(own, kept)) && !present(inFolder(own, copyNameOf(output, kept)))) return kept;
    }
    failOn(path, kCannotKeep, EEXIST, kNothingChanged);
}

// Copies the earlier output to its second name: written whole to the
// copy's name, synced, then renamed. The errno of a failure (that of the
// write itself: a disk that is full says so); the roll-back that follows
// removes the copy.
int copyToSecondName(const std::string& output, const std::string& copy, const std::string& kept, mode_t mode) {
    const int in = ::open(output.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (in < 0) return errno;
    const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    int error = out < 0 ? errno : 0;
    std::string buffer(kCopyBuffer, '\0');
    while (error == 0) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        error = writeAll(out, std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    // Its permissions once its bytes are written: never a special bit.
    if (error == 0 && ::fchmod(out, mode & 0777) != 0) error = errno;
    if (error == 0 && stagingCalls().sync(out) != 0) error = errno;
    ::close(in);
    if (out >= 0) ::close(out);
    return error == 0 ? renameFile(copy, kept) : error;
}

// Gives an earlier symbolic link its second name as a new link with the
// same target; made in one call, it needs no copy's name. The errno of a
// failure.
int relinkToSecondName(const std::string& output, const std::string& kept) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(output, error);
    if (error) return error.value();
    return ::symlink(target.c_str(), kept.c_str()) == 0 ? 0 : errno;
}

// The part of a message that says the folder could not be synced after
// what was put back.
std::string unsyncedText(const std::string& folder, int error) {
    return "; the folder " + shownPath(folder) + " cannot be synced to the disk (" + causeOf(error) +
           "): a power failure may undo what was put back";
}

// Refuses what the output may not replace (outputRefused), before any
// output is moved; what is there (error ENOENT: nothing).
JobFile refuseOutput(const std::string& path) {
    JobFile file = lookAtOutput(path);
    if (!file.problem.empty()) failOn(path, file.problem + ", and is not replaced; " + file.advice, 0, kNothingChanged);
    return file;
}

}  // namespace

int detail::keepEarlierFile(const std::string& folder, const std::string& output, const std::string& secondName) {
    const std::string own = runFolderOf(folder);
    const std::string kept = inFolder(own, secondName);
    struct stat st {};
    if (::lstat(output.c_str(), &st) != 0) return errno;
    if (stagingCalls().link(output.c_str(), kept.c_str()) == 0) return 0;
    const int error = errno;
    if (error == EEXIST || error == ENOENT) return error;
    if (S_ISREG(st.st_mode)) {
        return copyToSecondName(output, inFolder(own, copyNameOf(fileNameOf(output), secondName)), kept, st.st_mode);
    }
    return S_ISLNK(st.st_mode) ? relinkToSecondName(output, kept) : error;
}

OutputBatch::OutputBatch(const std::vector<std::string>& outputs, std::chrono::milliseconds lockWait)
    : lockWait_(lockWait) {
    IOMgr& io = IOMgr::getInstance();
    if (io.outputBatch() != nullptr) {
        throw Exceptions::QuarloException("another output batch is in progress", "IOMgmt", "OutputBatch");
    }
    for (const std::string& path : outputs) {
        refuseOutput(path);
        outputs_.push_back({.path = path});
    }
    io.setOutputBatch(this);
}

OutputBatch::~OutputBatch() {
    for (Output& output : outputs_) dropStaged(output);
    releaseOutputs();
    noteUnreleased();
    IOMgr::getInstance().setOutputBatch(nullptr);
}

void OutputBatch::addInput(const std::string& path, const std::string& role) { inputs_.push_back({path, role}); }

std::size_t OutputBatch::indexOf(const std::string& path) const {
    // The outputs' own paths first: the writers are given them.
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        if (outputs_[i].path == path) return i;
    }
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        if (namesSameFile(outputs_[i].path, path)) return i;
    }
    return outputs_.size();
}

OutputBatch::Output& OutputBatch::outputAt(const std::string& path) {
    const std::size_t i = indexOf(path);
    if (i == outputs_.size()) failOn(path, "is not an output of the run");
    return outputs_[i];
}

bool OutputBatch::holds(const std::string& path) const { return indexOf(path) < outputs_.size(); }

std::string OutputBatch::reservedUse(const std::string& path) const {
    for (const Input& input : inputs_) {
        if (namesSameFile(input.path, path)) return "is " + input.role;
    }
    if (holds(path)) return "is an output of this run";
    const std::string within = canonicalPath(folderOf(path));
    for (const Output& output : outputs_) {
        if (canonicalPath(runFolderOf(folderOf(output.path))) == within)
            return "is in the folder of this run's own files";
    }
    return std::string();
}

void OutputBatch::dropStaged(Output& output) {
    if (output.staged == nullptr) return;
    const std::string dropped = output.staged->temporary();
    if (const int error = output.staged->discard(); error != 0) {
        IOMgr::getInstance().notice(unremovedTemporaryNote(dropped, error));
    }
    output.staged.reset();
}

void OutputBatch::adopt(std::unique_ptr<StagedFile> file) {
    Output& output = outputAt(file->target());
    file->startWriteback();
    dropStaged(output);
    output.staged = std::move(file);
}

void OutputBatch::claimOutputs(const std::string& target) {
    if (!folders_.empty()) return;
    // Who holds the folders, for a job that waits: "process 4242, writing
    // GA-efile.txt, return.print.txt, return.xml".
    std::string holder = "process " + std::to_string(::getpid()) + ", writing ";
    // The folders in one order, so that two jobs never each hold what the
    // other waits for.
    std::map<std::string, std::vector<std::size_t>> byFolder;
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        holder += (i == 0 ? "" : ", ") + Utils::QVStringUtils::escapeForMessage(fileNameOf(outputs_[i].path), 255);
        byFolder[canonicalPath(folderOf(outputs_[i].path))].push_back(i);
    }
    for (const auto& [canonical, members] : byFolder) {
        for (std::size_t i : members) outputs_[i].folder = folders_.size();
        folders_.push_back({.path = folderOf(outputs_[members.front()].path)});
    }
    try {
        for (const auto& [canonical, members] : byFolder) {
            Folder& folder = folders_[outputs_[members.front()].folder];
            folder.lockFd = lockFolder(folder.path, target, lockWait_, holder);
            tidyFolder(folder, target);
        }
    } catch (...) {
        releaseOutputs();
        throw;
    }
}

void OutputBatch::tidyFolder(Folder& folder, const std::string& target) {
    const FolderFound found = finishKilledCommit(folder.path, target);
    folder.carried = found.carried;
    removeAbandonedStagedFiles(folder.path, found.listed);
    noteKeptEarlierFiles(folder.path, found.listed);
}

void OutputBatch::releaseOutputs() {
    for (const Folder& folder : folders_) {
        if (folder.lockFd < 0) continue;
        const std::string lock = lockFileOf(folder.path);
        if (const int error = removeFile(lock); error != 0) {
            unreleased_.push_back(shownPath(lock) + ": cannot remove the lock file of the outputs: " + causeOf(error) +
                                  "; a later run into the folder takes it over");
        }
        ::close(folder.lockFd);
        leaveRunFolder(folder.path);
    }
    folders_.clear();
}

void OutputBatch::noteUnreleased() {
    for (const std::string& note : unreleased_) IOMgr::getInstance().notice(note);
    unreleased_.clear();
}

std::vector<CommitEntry> OutputBatch::entriesOf(std::size_t folder) const {
    std::vector<CommitEntry> entries;
    for (const Output& output : outputs_) {
        if (output.folder != folder) continue;
        entries.push_back({.output = fileNameOf(output.path),
                           .staged = fileNameOf(output.staged->temporary()),
                           .stagedNumber = output.staged->fileNumber(),
                           .stagedSize = output.stagedSize,
                           .stagedHash = output.stagedHash,
                           .kept = output.kept,
                           .earlierNumber = output.earlierNumber});
    }
    for (const std::string& name : folders_[folder].carried) entries.push_back({.kept = name});
    return entries;
}

void OutputBatch::recordCommit() {
    for (Output& output : outputs_) {
        // What a copy of the folder keeps of the staged file, by which the
        // next job knows it there.
        output.staged->readBack(output.stagedSize, output.stagedHash);
        // Checked again: in a folder others may write, what stands at an
        // output's name may have changed since the batch began. What is
        // there now is the earlier file that the record names.
        const JobFile earlier = refuseOutput(output.path);
        if (earlier.error != 0 && earlier.error != ENOENT)
            failOn(output.path, kCannotLook, earlier.error, kNothingChanged);
        output.staged->recordEarlier(earlier);
        if (earlier.error != 0) continue;  // a new output: nothing to put back
        output.earlierNumber = earlier.st.st_ino;
        output.kept = chooseSecondName(folders_[output.folder].path, fileNameOf(output.path), output.path);
    }
    std::size_t written = 0;
    try {
        for (; written < folders_.size(); ++written) writeCommitRecord(folders_[written].path, entriesOf(written));
    } catch (...) {
        // Nothing was moved: the records already written go.
        for (std::size_t f = 0; f < written; ++f) removeFile(recordFilesOf(folders_[f].path).record);
        throw;
    }
}

void OutputBatch::keepAndMove() {
    for (const Output& output : outputs_) {
        if (output.kept.empty()) continue;
        Folder& folder = folders_[output.folder];
        const int error = keepEarlierFile(folder.path, output.path, output.kept);
        if (error != 0) failOn(output.path, kCannotKeep, error);
    }
    for (Output& output : outputs_) output.staged->moveIntoPlace();
}

void OutputBatch::rollBack(const std::string& failure) {
    std::string lost;
    std::string unremoved;
    std::string unsynced;
    for (std::size_t f = 0; f < folders_.size(); ++f) {
        // Should the record keep its name, the batch puts back all the
        // same; killed meanwhile, it leaves a commit that the next job
        // finishes either way, as the staged files it finds say.
        beginRollBack(folders_[f].path);
        const Unfinished unfinished = rollBackFolder({folders_[f].path, true}, entriesOf(f));
        lost += notPutBackText(folders_[f].path, unfinished);
        unremoved += unfinished.unremoved;
        if (unfinished.syncError != 0 && unsynced.empty()) {
            unsynced = unsyncedText(folders_[f].path, unfinished.syncError);
        }
    }
    // The failure names a staged file that stays, which a record lists.
    for (Output& output : outputs_) output.staged.reset();
    const std::string outcome = lost.empty() ? std::string("; ") + kNothingChanged : lost;
    throw Exceptions::QuarloException(failure + outcome + unsynced + unremoved, "IOMgmt", "write");
}

void OutputBatch::finishCommit() {
    std::string unsynced;
    int syncError = 0;
    for (std::size_t f = 0; f < folders_.size(); ++f) {
        const Unfinished unfinished = finishCommitted({folders_[f].path, true}, entriesOf(f));
        if (!unfinished.unremoved.empty()) {
            IOMgr::getInstance().notice(shownPath(folders_[f].path) + ": the outputs are in place" +
                                        unfinished.unremoved);
        }
        if (unfinished.syncError != 0 && syncError == 0) {
            unsynced = folders_[f].path;
            syncError = unfinished.syncError;
        }
    }
    for (Output& output : outputs_) output.staged.reset();
    releaseOutputs();
    if (syncError != 0) {
        failOn(unsynced, "cannot sync the output folder to the disk", syncError,
               "the outputs are in place, but may not survive a power failure");
    }
    noteUnreleased();
}

void OutputBatch::commit() {
    for (const Output& output : outputs_) {
        if (output.staged == nullptr) failOn(output.path, "was not written", 0, kNothingChanged);
    }
    // All on the disk before any is renamed; their writeback started when
    // each was staged, so the syncs mostly overlap.
    try {
        for (Output& output : outputs_) output.staged->finish();
    } catch (const Exceptions::QuarloException& e) {
        throw Exceptions::QuarloException(e.getMessage() + "; " + kNothingChanged, "IOMgmt", "write");
    }
    // The commit goes on to its end: a signal from the terminal waits.
    const SignalsHeld held;
    recordCommit();
    try {
        keepAndMove();
    } catch (const Exceptions::QuarloException& e) {
        rollBack(e.getMessage());
    }
    finishCommit();
}

}  // namespace IOMgmt
