// The outputs of one job, moved into place together: the folders' locks,
// the commit with its record, the roll-back after a failure (the steps are
// described in IOMgmtStaging.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>
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

// A second name for the earlier output NAME in the run's folder that no
// file has, nor its copy's name.
std::string chooseSecondName(const RunFolder& run, const std::string& output, const std::string& path) {
    const std::string stem = temporaryStem(output);
    for (int attempt = 0; attempt < kSecondNameTries; ++attempt) {
        std::string kept = stem + kKeptMark + randomPart();
        if (!run.present(In::Own, kept) && !run.present(In::Own, copyNameOf(output, kept))) return kept;
    }
    failOn(path, kCannotKeep, EEXIST, kNothingChanged);
}

// Copies the bytes of the earlier output, read through its descriptor, to
// its second name: written whole to the copy's name, given the earlier
// file's group and permission bits (no special bit; no group's where the
// group cannot be given), synced, then renamed. The errno of a failure (a
// full disk says so); the roll-back that follows removes the copy.
int copyToSecondName(const RunFolder& run, const JobFile& earlier, const std::string& copy, const std::string& kept) {
    const Descriptor in(reopen(earlier.fd.get(), O_RDONLY | O_NONBLOCK));
    if (in.get() < 0) return errno;
    const Descriptor out(run.open(In::Own, copy, O_WRONLY | O_CREAT | O_EXCL, 0600));
    int error = out.get() < 0 ? errno : 0;
    std::string buffer(kCopyBuffer, '\0');
    while (error == 0) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        error = writeAll(out.get(), std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    const bool grouped = error == 0 && ::fchown(out.get(), static_cast<uid_t>(-1), earlier.st.st_gid) == 0;
    if (error == 0 && ::fchmod(out.get(), earlier.st.st_mode & (grouped ? 0777 : 0707)) != 0) error = errno;
    if (error == 0 && stagingCalls().sync(out.get()) != 0) error = errno;
    return error == 0 ? run.rename(In::Own, copy, In::Own, kept) : error;
}

// The part of a message that says the folder could not be synced after
// what was put back.
std::string unsyncedText(const std::string& folder, int error) {
    return "; the folder " + shownPath(folder) + " cannot be synced to the disk (" + causeOf(error) +
           "): a power failure may undo what was put back";
}

// Refuses what the output `path` may not replace (outputRefused), before
// any output is moved; what is there (error ENOENT: nothing).
JobFile refused(JobFile file, const std::string& path) {
    if (const std::string why = file.refusal(); !why.empty()) failOn(path, why, 0, kNothingChanged);
    return file;
}

}  // namespace

int detail::keepEarlierFile(const RunFolder& run, const JobFile& earlier, const std::string& output,
                            const std::string& kept) {
    if (earlier.error != 0 || !S_ISREG(earlier.st.st_mode)) return earlier.error != 0 ? earlier.error : EINVAL;
    const int error = run.link(earlier.fd.get(), kept);
    if (error == 0 || error == EEXIST || error == ENOENT) return error;
    return copyToSecondName(run, earlier, copyNameOf(output, kept), kept);
}

OutputBatch::OutputBatch(const std::vector<std::string>& outputs, std::chrono::milliseconds lockWait)
    : lockWait_(lockWait) {
    IOMgr& io = IOMgr::getInstance();
    if (io.outputBatch() != nullptr) {
        throw Exceptions::QuarloException("another output batch is in progress", "IOMgmt", "OutputBatch");
    }
    for (const std::string& path : outputs) {
        refused(lookAtOutput(path), path);
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
    const std::string dropped = output.staged->temporaryPath();
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

std::shared_ptr<RunFolder> OutputBatch::claimOutputs(const std::string& target) {
    if (!folders_.empty()) return folders_.at(outputAt(target).folder).run;
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
        folders_.emplace_back();
    }
    try {
        for (const auto& [canonical, members] : byFolder) {
            Folder& folder = folders_[outputs_[members.front()].folder];
            folder.run = std::make_shared<RunFolder>(folderOf(outputs_[members.front()].path), target, kNothingChanged);
            folder.lockFd = lockFolder(*folder.run, target, lockWait_, holder);
            tidyFolder(folder, target);
        }
    } catch (...) {
        releaseOutputs();
        throw;
    }
    return folders_.at(outputAt(target).folder).run;
}

void OutputBatch::tidyFolder(Folder& folder, const std::string& target) {
    const FolderFound found = finishKilledCommit(*folder.run, target);
    folder.carried = found.carried;
    removeAbandonedStagedFiles(*folder.run, found.listed);
    noteKeptEarlierFiles(*folder.run, found.listed);
}

void OutputBatch::releaseOutputs() {
    for (const Folder& folder : folders_) {
        if (folder.lockFd >= 0) {
            if (const int error = folder.run->remove(In::Own, kLockFileName); error != 0) {
                unreleased_.push_back(shownPath(folder.run->pathOf(In::Own, kLockFileName)) +
                                      ": cannot remove the lock file of the outputs: " + causeOf(error) +
                                      "; a later run into the folder takes it over");
            }
            ::close(folder.lockFd);
        }
        if (folder.run != nullptr) folder.run->leave();
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
                           .staged = output.staged->temporary(),
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
        // there now, held open, is the earlier file that the record names,
        // and that gets the second name.
        const RunFolder& run = *folders_[output.folder].run;
        JobFile earlier = refused(run.look(fileNameOf(output.path)), output.path);
        if (earlier.error != 0 && earlier.error != ENOENT)
            failOn(output.path, kCannotLook, earlier.error, kNothingChanged);
        const bool replaces = earlier.error == 0;  // else a new output: nothing to put back
        output.earlierNumber = replaces ? earlier.st.st_ino : 0;
        output.staged->recordEarlier(std::move(earlier));
        if (replaces) output.kept = chooseSecondName(run, fileNameOf(output.path), output.path);
    }
    std::size_t written = 0;
    try {
        for (; written < folders_.size(); ++written) writeCommitRecord(*folders_[written].run, entriesOf(written));
    } catch (...) {
        // Nothing was moved: the records already written go.
        for (std::size_t f = 0; f < written; ++f) folders_[f].run->remove(In::Own, kRecordName);
        throw;
    }
}

void OutputBatch::keepAndMove() {
    for (const Output& output : outputs_) {
        if (output.kept.empty()) continue;
        if (const int error = output.staged->keepEarlier(output.kept); error != 0) {
            failOn(output.path, kCannotKeep, error);
        }
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
        const RunFolder& run = *folders_[f].run;
        beginRollBack(run);
        const Unfinished unfinished = rollBackFolder({run, true}, entriesOf(f));
        lost += notPutBackText(run, unfinished);
        unremoved += unfinished.unremoved;
        if (unfinished.syncError != 0 && unsynced.empty()) unsynced = unsyncedText(run.path(), unfinished.syncError);
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
        const RunFolder& run = *folders_[f].run;
        const Unfinished unfinished = finishCommitted({run, true}, entriesOf(f));
        if (!unfinished.unremoved.empty()) {
            IOMgr::getInstance().notice(shownPath(run.path()) + ": the outputs are in place" + unfinished.unremoved);
        }
        if (unfinished.syncError != 0 && syncError == 0) {
            unsynced = run.path();
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
