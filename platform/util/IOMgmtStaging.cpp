#include "platform/util/IOMgmtStaging.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>
#include <system_error>
#include <thread>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"
#include "platform/util/Utils.h"

namespace IOMgmt {

namespace {

namespace fs = std::filesystem;
using namespace detail;

// ".NAME" + a mark + six letters or digits: a new version of NAME being
// staged, or the earlier NAME's second name while a batch commits.
constexpr const char* kStagedMark = ".staged-";
constexpr const char* kKeptMark = ".kept-";
constexpr std::size_t kRandomPartLength = 6;
// A longer file name is cut in the temporary name, which must stay within
// the file system's 255 bytes.
constexpr std::size_t kLongestKeptName = 200;
// Tries at a name no file has, and at making a temporary file that a
// concurrent cleaner removed first.
constexpr int kNameTries = 100;
constexpr int kTemporaryFileTries = 5;
// What becomes of the second name of an earlier output that a batch could
// not put back: no later batch removes it.
constexpr const char* kKeptUntil = "stays until you move it back or remove it";

StagingCalls gCalls;

// Holds back the signals that end a process from the terminal or from
// another process (SIGINT, SIGTERM, SIGHUP, SIGQUIT) while it lives; one that
// arrived meanwhile is delivered when it ends.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, s);
        ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

bool isLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Six letters or digits for a temporary name.
std::string randomPart() {
    static constexpr char kChoices[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mutex mutex;
    static std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChoices - 2);
    const std::lock_guard<std::mutex> lock(mutex);
    std::string part;
    for (std::size_t i = 0; i < kRandomPartLength; ++i) part += kChoices[pick(generator)];
    return part;
}

std::string folderOf(const std::string& path) {
    const fs::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

// ".NAME", the start of the temporary names of a file (NAME cut to
// kLongestKeptName).
std::string temporaryStem(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    if (name.size() > kLongestKeptName) name.resize(kLongestKeptName);
    return "." + name;
}

// "FOLDER/.NAME" + the mark: a temporary name of the file without its six
// letters or digits.
std::string temporaryPrefix(const std::string& path, const char* mark) {
    return (fs::path(folderOf(path)) / temporaryStem(path)).string() + mark;
}

// Whether the name is stem + mark + six letters or digits, exactly.
bool isTemporaryName(const std::string& name, const std::string& stem, const std::string& mark) {
    const std::size_t head = stem.size() + mark.size();
    if (name.size() != head + kRandomPartLength || name.compare(0, stem.size(), stem) != 0 ||
        name.compare(stem.size(), mark.size(), mark) != 0) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(head), name.end(), isLetterOrDigit);
}

// Whether the second name `kept` in the folder is another name of the file
// `target` names there: a batch that did not finish kept it before it
// replaced the file, and removing it loses nothing.
bool namesTheTarget(int dirFd, const std::string& kept, const std::string& target) {
    struct stat keptStat {};
    struct stat targetStat {};
    return ::fstatat(dirFd, kept.c_str(), &keptStat, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(dirFd, target.c_str(), &targetStat, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(keptStat, targetStat);
}

// Removes the temporary files of the target in its folder whose writer is
// gone: a live writer holds the lock on its file. With `withKept`, also the
// second names of the target's earlier versions that a batch which did not
// finish left, while they are other names of the target itself; one that
// is all that is left of an earlier file stays, named in a note, until the
// user moves it back or removes it. Only a job that holds the folder's lock
// file may look at second names (no live job has one then).
void removeLeftovers(const std::string& target, bool withKept) {
    const std::string directory = folderOf(target);
    const std::string stem = temporaryStem(target);
    const std::string targetName = fs::path(target).filename().string();
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (withKept && isTemporaryName(name, stem, kKeptMark)) {
            if (namesTheTarget(dirFd, name, targetName)) {
                ::unlinkat(dirFd, name.c_str(), 0);
            } else {
                IOMgr::getInstance().notice(shownPath((fs::path(directory) / name).string()) + " is an earlier " +
                                            shownPath(target) + " that a run which did not finish replaced; it " +
                                            kKeptUntil);
            }
            continue;
        }
        if (!isTemporaryName(name, stem, kStagedMark)) continue;
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(dirFd, name.c_str(), 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// The first write of the process to a file clears its folder of the file's
// abandoned temporary files; later ones find none that a process killed
// before this one left.
void clearLeftoversOnce(const std::string& target) {
    static std::mutex mutex;
    static std::set<std::string> cleared;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!cleared.insert(folderOf(target) + '/' + temporaryStem(target)).second) return;
    }
    removeLeftovers(target, false);
}

// Makes the renames in the folder durable; the errno of a failure to open
// or to sync the folder, else 0. A folder removed meanwhile holds nothing
// to sync.
int syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? 0 : errno;
    const int error = gCalls.syncFolder(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// Syncs each folder (every one, whatever the others do); the first that
// failed, with its errno, or an empty folder and 0.
std::pair<std::string, int> syncDirectories(const std::set<std::string>& directories) {
    std::pair<std::string, int> failed{std::string(), 0};
    for (const std::string& directory : directories) {
        const int error = syncDirectory(directory);
        if (error != 0 && failed.second == 0) failed = {directory, error};
    }
    return failed;
}

// Gives the file a second name beside it (".NAME.kept-XXXXXX"): a link, or,
// for a regular file that the file system or its owner lets nobody link, a
// copy. The errno of the failure, else 0.
int keepSecondName(const std::string& path, bool regular, std::string& kept) {
    const std::string stem = temporaryPrefix(path, kKeptMark);
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        std::string candidate = stem + randomPart();
        if (gCalls.link(path.c_str(), candidate.c_str()) == 0) {
            kept = std::move(candidate);
            return 0;
        }
        if (errno == EEXIST) continue;
        if (!regular) return errno;
        std::error_code error;
        if (fs::copy_file(path, candidate, error)) {
            kept = std::move(candidate);
            return 0;
        }
        if (error != std::errc::file_exists) return error.value();
    }
    return EEXIST;
}

}  // namespace

StagingCalls setStagingCalls(StagingCalls calls) {
    const StagingCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

// ------------------------------------------------------------ StagedFile

StagedFile::StagedFile(std::string target) : target_(std::move(target)) {
    if (target_.empty()) throw Exceptions::QuarloException("no file name given", "IOMgmt", "write");
    directory_ = folderOf(target_);
    OutputBatch* batch = IOMgr::getInstance().outputBatch();
    if (batch != nullptr && batch->holds(target_)) {
        batch->claimOutputs(target_);
    } else {
        clearLeftoversOnce(target_);
    }
    try {
        makeTemporary();
        // A replaced regular file keeps its permissions. A new file keeps
        // those the umask gave it, and so does one that replaces a link:
        // the link's target lends none.
        struct stat old {};
        if (::lstat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode) && ::fchmod(fd_, old.st_mode & 07777) != 0) {
            fail("cannot set the temporary file's permissions", errno);
        }
    } catch (...) {
        if (fd_ >= 0) {
            ::unlink(temporary_.c_str());
            ::close(fd_);
            fd_ = -1;
        }
        throw;
    }
}

void StagedFile::makeTemporary() {
    const std::string stem = temporaryPrefix(target_, kStagedMark);
    for (int attempt = 0, made = 0; fd_ < 0 && attempt < kNameTries && made < kTemporaryFileTries; ++attempt) {
        std::string candidate = stem + randomPart();
        // Made new, with the permissions the umask gives a new file.
        const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) fail("cannot create a temporary file in " + shownPath(directory_), errno);
        ++made;
        // Locked, the file is this writer's; a cleaner that locked it first
        // has removed it (no link is left), and another is made.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat mine {};
        if (::fstat(fd, &mine) == 0 && mine.st_nlink > 0) {
            fd_ = fd;
            temporary_ = std::move(candidate);
        } else {
            ::close(fd);
        }
    }
    if (fd_ < 0) fail("cannot keep a temporary file in " + shownPath(directory_), EAGAIN);
}

StagedFile::~StagedFile() {
    if (fd_ < 0) return;
    if (!moved_) ::unlink(temporary_.c_str());
    ::close(fd_);
}

void StagedFile::fail(const std::string& what, int error) const { failOn(target_, what, error); }

void StagedFile::write(std::string_view bytes) {
    if (const int error = writeAll(fd_, bytes); error != 0) fail("cannot write the temporary file", error);
}

void StagedFile::startWriteback() {
    // Only a head start for finish(): a failure here shows there.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

void StagedFile::finish() {
    if (gCalls.sync(fd_) != 0) fail("cannot write the temporary file to the disk", errno);
    finished_ = true;
}

void StagedFile::moveIntoPlace() {
    if (!finished_) fail("the new file is not complete");
    if (gCalls.rename(temporary_.c_str(), target_.c_str()) != 0) fail("cannot move the new file into place", errno);
    moved_ = true;
    ::close(fd_);
    fd_ = -1;
}

void StagedFile::putInPlace() {
    finish();
    moveIntoPlace();
    // A single file has no caller that could tell "in place, not synced"
    // from "not written"; only the batch reports a folder it cannot sync.
    syncDirectory(directory_);
}

// ------------------------------------------------------------ OutputBatch

OutputBatch::OutputBatch(const std::vector<std::string>& outputs, std::chrono::milliseconds lockWait)
    : lockWait_(lockWait) {
    IOMgr& io = IOMgr::getInstance();
    if (io.outputBatch() != nullptr) {
        throw Exceptions::QuarloException("another output batch is in progress", "IOMgmt", "OutputBatch");
    }
    for (const std::string& path : outputs) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            failOn(path, "is a directory; the output cannot be written there");
        }
        outputs_.push_back({path, nullptr, {}});
    }
    io.setOutputBatch(this);
}

OutputBatch::~OutputBatch() {
    for (Output& output : outputs_) output.staged.reset();
    releaseOutputs();
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
    for (const Output& output : outputs_) {
        if (namesSameFile(lockFileOf(folderOf(output.path)), path)) return "is the lock file of this run's outputs";
    }
    return std::string();
}

void OutputBatch::adopt(std::unique_ptr<StagedFile> file) {
    Output& output = outputAt(file->target());
    file->startWriteback();
    output.staged = std::move(file);
}

void OutputBatch::claimOutputs(const std::string& target) {
    if (!locks_.empty()) return;
    // Who holds the folders, for a job that waits: "process 4242, writing
    // GA-efile.txt, return.print.txt, return.xml".
    std::string holder = "process " + std::to_string(::getpid()) + ", writing ";
    std::set<std::string> folders;
    for (const Output& output : outputs_) {
        if (&output != &outputs_.front()) holder += ", ";
        holder += fs::path(output.path).filename().string();
        folders.insert(canonicalPath(folderOf(output.path)));
    }
    try {
        // In one order, so that two jobs never each hold what the other waits for.
        for (const std::string& folder : folders)
            locks_.emplace_back(folder, lockFolder(folder, target, lockWait_, holder));
    } catch (...) {
        releaseOutputs();
        throw;
    }
    for (const Output& output : outputs_) removeLeftovers(output.path, true);
}

void OutputBatch::releaseOutputs() {
    for (const auto& [folder, fd] : locks_) {
        ::unlink(lockFileOf(folder).c_str());
        ::close(fd);
    }
    locks_.clear();
}

void OutputBatch::keepEarlierOutputs() {
    for (Output& output : outputs_) {
        struct stat st {};
        int error = ::lstat(output.path.c_str(), &st) == 0 ? 0 : errno;
        if (error == ENOENT) continue;  // a new output: nothing to put back
        if (error == 0) error = keepSecondName(output.path, S_ISREG(st.st_mode), output.kept);
        if (error != 0) {
            dropEarlierOutputs();
            failOn(output.path, "cannot keep the earlier file to put back should the run fail", error, kNothingChanged);
        }
    }
}

std::string OutputBatch::putBackEarlierOutputs(std::size_t moved) {
    std::string lost;
    for (std::size_t i = moved; i-- > 0;) {
        Output& output = outputs_[i];
        const bool back = output.kept.empty() ? ::unlink(output.path.c_str()) == 0
                                              : gCalls.rename(output.kept.c_str(), output.path.c_str()) == 0;
        if (!back) {
            lost += "; " + shownPath(output.path) + " is the new file, it cannot be put back (" +
                    std::generic_category().message(errno) + ")";
            if (!output.kept.empty())
                lost += ": the earlier file is " + shownPath(output.kept) + ", which " + kKeptUntil;
        }
        output.kept.clear();
    }
    return lost;
}

void OutputBatch::dropEarlierOutputs() {
    for (Output& output : outputs_) {
        if (!output.kept.empty()) ::unlink(output.kept.c_str());
        output.kept.clear();
    }
}

void OutputBatch::commit() {
    for (const Output& output : outputs_) {
        if (output.staged == nullptr) failOn(output.path, "was not written", 0, kNothingChanged);
        struct stat st {};
        if (::lstat(output.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            failOn(output.path, "is a directory", 0, kNothingChanged);
        }
    }
    // All on the disk before any is renamed; their writeback started when
    // each was staged, so the syncs mostly overlap.
    try {
        for (Output& output : outputs_) output.staged->finish();
    } catch (const Exceptions::QuarloException& e) {
        throw Exceptions::QuarloException(e.getMessage() + "; " + kNothingChanged, "IOMgmt", "write");
    }
    // The renames go together: a signal from the terminal waits for them.
    const SignalsHeld held;
    keepEarlierOutputs();
    std::set<std::string> directories;
    for (const Output& output : outputs_) directories.insert(output.staged->directory());
    std::size_t moved = 0;
    try {
        for (; moved < outputs_.size(); ++moved) outputs_[moved].staged->moveIntoPlace();
    } catch (const Exceptions::QuarloException& e) {
        // The outputs moved before it are put back.
        const std::string lost = putBackEarlierOutputs(moved);
        dropEarlierOutputs();
        std::string message = e.getMessage() + (lost.empty() ? std::string("; ") + kNothingChanged : lost);
        if (const auto [folder, error] = syncDirectories(directories); error != 0) {
            message += "; the folder " + shownPath(folder) + " cannot be synced to the disk (" +
                       std::generic_category().message(error) + "): a power failure may undo what was put back";
        }
        throw Exceptions::QuarloException(message, "IOMgmt", "write");
    }
    // The second names go at once, before the folders' syncs, which take
    // most of the commit's time: a batch killed meanwhile leaves no earlier
    // file that later batches would have to keep. The syncs make the renames
    // and these removals durable together.
    dropEarlierOutputs();
    const auto [unsynced, error] = syncDirectories(directories);
    for (Output& output : outputs_) output.staged.reset();
    releaseOutputs();
    if (error != 0) {
        failOn(unsynced, "cannot sync the output folder to the disk", error,
               "the outputs are in place, but may not survive a power failure");
    }
}

// ------------------------------------------------------------ single files

void completeStagedFile(std::unique_ptr<StagedFile> file) {
    OutputBatch* batch = IOMgr::getInstance().outputBatch();
    if (batch != nullptr && batch->holds(file->target())) {
        batch->adopt(std::move(file));
    } else {
        file->putInPlace();
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    // An interrupt or a termination while the temporary file exists waits
    // until the file is in place (or in the batch) or removed.
    const SignalsHeld held;
    auto file = std::make_unique<StagedFile>(path);
    file->write(bytes);
    completeStagedFile(std::move(file));
}

int writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

void appendToFile(const std::string& path, std::string_view bytes) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        failOn(path, "is not a regular file (a directory, device, pipe or socket)");
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) failOn(path, "cannot open it", errno);
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) failOn(path, "is not a regular file");
    if (const int error = writeAll(fd, bytes); error != 0) failOn(path, "cannot write it", error);
}

std::string canonicalPath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) return fs::path(path).lexically_normal().string();
    const fs::path canonical = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal().string() : canonical.string();
}

bool namesSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists || secondExists) return firstExists && secondExists && sameFile(first, second);
    // Two files to come: the same when their places are.
    return canonicalPath(a) == canonicalPath(b);
}

}  // namespace IOMgmt
