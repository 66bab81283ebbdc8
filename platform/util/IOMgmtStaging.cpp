#include "platform/util/IOMgmtStaging.h"

#include <fcntl.h>
#include <limits.h>
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

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"
#include "platform/util/Utils.h"

namespace IOMgmt {

namespace {

namespace fs = std::filesystem;
using namespace detail;

// A longer file name is cut in its temporary names, which must stay within
// the file system's 255 bytes, and followed by "~" and a hash of it all.
constexpr std::size_t kLongestNameInStem = 200;
// Tries at a name no file has, and at making a temporary file that a
// concurrent cleaner removed first.
constexpr int kNameTries = 100;
constexpr int kTemporaryFileTries = 5;
// The longest path a file call takes, without the NUL that ends it.
constexpr std::size_t kLongestPath = PATH_MAX - 1;

StagingCalls gCalls;

bool isLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// The first write of the process into a folder clears its run folder of
// abandoned staged files; later ones find none that a process killed
// before this one left. What a commit record lists is a killed job's
// commit, which only the next job into the folder finishes.
void clearLeftoversOnce(const RunFolder& run) {
    static std::mutex mutex;
    static std::set<FileId> cleared;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!cleared.insert(idOf(run.folderStat())).second) return;
    }
    bool readable = true;
    const std::set<std::string> listed = namesListedInRecords(run, readable);
    if (readable) removeAbandonedStagedFiles(run, listed);
}

// The longest temporary name of a file named NAME: its stem, the longest
// mark and the random part.
std::size_t longestTemporaryName(const std::string& name) {
    const std::size_t mark = std::max({std::strlen(kStagedMark), std::strlen(kKeptMark), std::strlen(kCopyMark)});
    return temporaryStem(name).size() + mark + kRandomPartLength;
}

// Whether a file of the name, and every temporary name of it, fit in a
// folder whose file system takes names of up to `limit` bytes.
bool fitsIn(std::size_t nameLength, std::size_t limit) {
    return nameLength <= limit && longestTemporaryName(std::string(nameLength, 'n')) <= limit;
}

// The folder, or the nearest folder above it that exists: the file system
// that a folder still to be made would be on.
std::string existingFolder(const std::string& folder) {
    fs::path at(folder);
    std::error_code error;
    while (!fs::is_directory(at, error)) {
        if (!at.has_parent_path() || at.parent_path() == at) return at.is_absolute() ? at.string() : ".";
        at = at.parent_path();
    }
    return at.string();
}

}  // namespace

std::string nameTooLong(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string name = fileNameOf(path);
    const std::size_t longestPath = inFolder(runFolderOf(folder), std::string(longestTemporaryName(name), 't')).size();
    if (longestPath > kLongestPath) {
        return "its path is " + std::to_string(path.size()) +
               " bytes, and the temporary names written beside it make " + std::to_string(longestPath) +
               ", longer than the " + std::to_string(kLongestPath) + " bytes that a path may have";
    }
    const long limit = ::pathconf(existingFolder(folder).c_str(), _PC_NAME_MAX);
    // No limit the system tells: whatever the name, the write says so.
    if (limit <= 0 || fitsIn(name.size(), static_cast<std::size_t>(limit))) return std::string();
    const auto systemLimit = static_cast<std::size_t>(limit);
    std::size_t longest = systemLimit;
    while (longest > 0 && !fitsIn(longest, systemLimit)) --longest;
    std::string why = "its name is " + std::to_string(name.size()) + " bytes, longer than the " +
                      std::to_string(longest) + " bytes that a file written in " + shownPath(folder) + " may have";
    if (longest < systemLimit) {
        why += " (its file system takes names of up to " + std::to_string(systemLimit) +
               " bytes, and the temporary names written beside a file are longer than the file's own)";
    }
    return why;
}

std::string outputRefused(const std::string& path) { return lookAtOutput(path).refusal(); }

int openFile(int folder, const char* name, int flags, mode_t mode) { return ::openat(folder, name, flags, mode); }

int linkOpenFile(int fd, int folder, const char* name) {
    // By the descriptor alone where the process may (CAP_DAC_READ_SEARCH),
    // else through the process's own view of it, which leads to that file.
    if (::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0) return 0;
    return ::linkat(AT_FDCWD, ("/proc/self/fd/" + std::to_string(fd)).c_str(), folder, name, AT_SYMLINK_FOLLOW);
}

int unlinkFile(int folder, const char* name) { return ::unlinkat(folder, name, 0); }

namespace detail {

SignalsHeld::SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, s);
    ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

SignalsHeld::~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

const StagingCalls& stagingCalls() { return gCalls; }

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

std::string fileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

std::string inFolder(const std::string& folder, const std::string& name) { return (fs::path(folder) / name).string(); }

std::string temporaryStem(const std::string& name) {
    if (name.size() <= kLongestNameInStem) return "." + name;
    return "." + name.substr(0, kLongestNameInStem) + "~" + hashText(name);
}

bool isTemporaryName(const std::string& name, const std::string& stem, const std::string& mark) {
    return stemOfTemporaryName(name, mark) == stem && !stem.empty();
}

std::string stemOfTemporaryName(const std::string& name, const std::string& mark) {
    const std::size_t tail = mark.size() + kRandomPartLength;
    // The stem is "." and at least one byte.
    if (name.size() < tail + 2 || name[0] != '.' || name.compare(name.size() - tail, mark.size(), mark) != 0) {
        return std::string();
    }
    if (!std::all_of(name.end() - static_cast<std::ptrdiff_t>(kRandomPartLength), name.end(), isLetterOrDigit)) {
        return std::string();
    }
    return name.substr(0, name.size() - tail);
}

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

void removeAbandonedStagedFiles(const RunFolder& run, const std::set<std::string>& kept) {
    for (const std::string& name : run.names(In::Own)) {
        if (stemOfTemporaryName(name, kStagedMark).empty() || kept.count(name) > 0) continue;
        const Descriptor fd(run.open(In::Own, name, O_RDONLY | O_NONBLOCK));
        // A live writer holds its file locked; a file of another user's came
        // by an exchange, and stays (it was named then).
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !isOwnFile(st)) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        if (const int error = run.remove(In::Own, name); error != 0) {
            IOMgr::getInstance().notice(unremovedTemporaryNote(run.pathOf(In::Own, name), error));
        }
    }
}

}  // namespace detail

StagingCalls setStagingCalls(StagingCalls calls) {
    const StagingCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

// ------------------------------------------------------------ StagedFile

StagedFile::StagedFile(std::string target) : target_(std::move(target)), name_(fileNameOf(target_)) {
    if (target_.empty()) throw Exceptions::QuarloException("no file name given", "IOMgmt", "write");
    OutputBatch* batch = IOMgr::getInstance().outputBatch();
    ofBatch_ = batch != nullptr && batch->holds(target_);
    // Refused before the folder is claimed: the file could never be put in
    // place.
    if (const std::string why = nameTooLong(target_); !why.empty()) failStaging("cannot be written: " + why, 0);
    if (ofBatch_) {
        folder_ = batch->claimOutputs(target_);
    } else {
        folder_ = std::make_shared<RunFolder>(folderOf(target_), target_, "");
        // A single file goes through the gate of an output (a batch's
        // outputs went through it as the batch began, and do as it commits).
        JobFile earlier = folder_->look(name_);
        if (const std::string why = earlier.refusal(); !why.empty()) {
            folder_->leave();
            fail(why);
        }
        recordEarlier(std::move(earlier));
        clearLeftoversOnce(*folder_);
    }
    try {
        makeTemporary();
    } catch (...) {
        discard();
        if (!ofBatch_) folder_->leave();
        throw;
    }
}

void StagedFile::recordEarlier(JobFile earlier) {
    mode_ = outputMode(earlier);
    earlier_ = std::make_unique<JobFile>(std::move(earlier));
}

int StagedFile::keepEarlier(const std::string& kept) const { return keepEarlierFile(*folder_, *earlier_, name_, kept); }

std::string StagedFile::temporaryPath() const { return folder_->pathOf(In::Own, temporary_); }

void StagedFile::makeTemporary() {
    const std::string stem = temporaryStem(name_) + kStagedMark;
    const std::string own = shownPath(runFolderOf(folder_->path()));
    for (int attempt = 0, made = 0; fd_ < 0 && attempt < kNameTries && made < kTemporaryFileTries; ++attempt) {
        std::string candidate = stem + randomPart();
        // Made new, private to the user until it is moved into place.
        const int fd = folder_->open(In::Own, candidate, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        // A run that let the folder go removed it meanwhile.
        if (fd < 0 && errno == ENOENT) {
            folder_->enter(target_, ofBatch_ ? kNothingChanged : "");
            continue;
        }
        if (fd < 0) failStaging("cannot create a temporary file in " + own, errno);
        ++made;
        // Locked, the file is this writer's; a cleaner that locked it first
        // has removed it (no link is left), and another is made.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat mine {};
        if (::fstat(fd, &mine) != 0 || mine.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        fileNumber_ = mine.st_ino;
        temporary_ = std::move(candidate);
        // The group that a file made in the output folder gets.
        const gid_t group = folder_->newFileGroup();
        if (mine.st_gid != group && ::fchown(fd, static_cast<uid_t>(-1), group) != 0) {
            failStaging("cannot give the temporary file the group of " + shownPath(folder_->path()), errno);
        }
    }
    if (fd_ < 0) failStaging("cannot keep a temporary file in " + own, EAGAIN);
}

StagedFile::~StagedFile() { discard(); }

int StagedFile::discard() {
    if (fd_ < 0) return 0;
    // Only the file written: another that an exchange back brought to its
    // name stays, named in the failure.
    struct stat mine {};
    struct stat named {};
    const bool written =
        !moved_ && ::fstat(fd_, &mine) == 0 && folder_->stat(In::Own, temporary_, named) == 0 && sameFile(mine, named);
    const int error = written ? folder_->remove(In::Own, temporary_) : 0;
    ::close(fd_);
    fd_ = -1;
    if (!ofBatch_) folder_->leave();
    return error;
}

void StagedFile::fail(const std::string& what, int error) const { failOn(target_, what, error); }

void StagedFile::failStaging(const std::string& what, int error) const {
    failOn(target_, what, error, ofBatch_ ? kNothingChanged : "");
}

void StagedFile::write(std::string_view bytes) {
    if (const int error = writeAll(fd_, bytes); error != 0) failStaging("cannot write the temporary file", error);
}

void StagedFile::startWriteback() {
    // Only a head start for finish(): a failure here shows there.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

void StagedFile::finish() {
    if (gCalls.sync(fd_) != 0) fail("cannot write the temporary file to the disk", errno);
    finished_ = true;
}

void StagedFile::readBack(unsigned long long& size, std::string& hash) const {
    const int error = ::lseek(fd_, 0, SEEK_SET) == 0 ? contentOfDescriptor(fd_, size, hash) : errno;
    if (error != 0) failStaging("cannot read the temporary file back", error);
}

void StagedFile::moveIntoPlace() {
    if (!finished_) fail("the new file is not complete");
    if (::fchmod(fd_, mode_) != 0) fail("cannot set the temporary file's permissions", errno);
    const bool replaces = earlier_ != nullptr && earlier_->error == 0;
    const FileId earlier = replaces ? idOf(earlier_->st) : FileId{};
    const Displaces displaces = [earlier](In, const std::string&, const struct stat& st) {
        return idOf(st) == earlier && st.st_uid == ::geteuid();
    };
    if (const Placed placed = placeFile(*folder_, temporary_, name_, replaces ? displaces : Displaces{});
        placed.error != 0) {
        if (!placed.problem.empty())
            fail(placed.cameIn.empty() ? placed.problem : placed.problem + "; " + placed.cameIn);
        fail("cannot move the new file into place", placed.error);
    }
    moved_ = true;
    ::close(fd_);
    fd_ = -1;
}

void StagedFile::putInPlace() {
    finish();
    moveIntoPlace();
    // A single file has no caller that could tell "in place, not synced"
    // from "not written"; only the batch reports a folder it cannot sync.
    folder_->sync(In::Outputs);
    if (!ofBatch_) folder_->leave();
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
        const ssize_t n = gCalls.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

void appendToFile(const std::string& path, std::string_view bytes) {
    // Opened without following a link, never waiting on a pipe: what is
    // there is checked as it was opened.
    const Descriptor fd(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    const int error = errno;
    struct stat st {};
    const JobFile file = fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 ? checkOutput(st) : lookAtOutput(path);
    if (const std::string why = file.refusal("written"); !why.empty()) failOn(path, why);
    if (fd.get() < 0) failOn(path, "cannot open it", error);
    if (const int failed = writeAll(fd.get(), bytes); failed != 0) failOn(path, "cannot write it", failed);
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
