// The lock of a folder that a job writes outputs into: one job at a time
// holds the folder's lock file (".staged-outputs.lock"), an advisory lock
// that a job waiting for the folder tries again and again.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "platform/util/IOMgmtInternal.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/util/Utils.h"

namespace IOMgmt::detail {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLockFileName = ".staged-outputs.lock";
// How often a job waiting for the folder tries again.
constexpr std::chrono::milliseconds kLockRetry{20};
// The most of a lock file's holder that a message shows.
constexpr std::size_t kHolderShown = 300;

// What stands where a file was expected, as a message names it.
std::string kindOfFile(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISLNK(st.st_mode)) return "a symbolic link";
    if (S_ISFIFO(st.st_mode)) return "a pipe (FIFO)";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return "a device";
}

// The lock file `path` of a folder, open for a write of `target`; the file
// is made when missing. One that cannot be written is opened to read (its
// lock works the same). Throws, naming the target and the lock file, when
// the lock's name holds something other than a file (to be removed), or
// when the file cannot be made or opened: the cause is that of the first
// try, which the try to read only does not change.
int openLockFile(const std::string& path, const std::string& target) {
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    int error = fd < 0 ? errno : 0;
    if (fd < 0 && (error == EACCES || error == EROFS)) fd = ::open(path.c_str(), O_RDONLY | kFlags);
    struct stat st {};
    if (fd >= 0) {
        error = ::fstat(fd, &st) == 0 ? 0 : errno;
        if (error == 0 && S_ISREG(st.st_mode)) return fd;
        ::close(fd);
    }
    const std::string lockFile = "the lock file of the outputs " + shownPath(path);
    if (::lstat(path.c_str(), &st) != 0) {
        failOn(target, "cannot create " + lockFile, error, kNothingChanged);
    }
    if (S_ISREG(st.st_mode)) failOn(target, "cannot open " + lockFile, error, kNothingChanged);
    failOn(target, lockFile + " is " + kindOfFile(st) + ", not a file that a run can lock: remove it", 0,
           kNothingChanged);
}

// What the holder of a lock file wrote in it ("process 4242, writing ...").
std::string lockHolder(int fd) {
    std::string text(kHolderShown, '\0');
    const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text.empty() ? "a process that does not say which"
                        : Utils::QVStringUtils::escapeForMessage(text, kHolderShown);
}

std::string durationText(std::chrono::milliseconds wait) {
    const auto ms = wait.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " seconds" : std::to_string(ms) + " ms";
}

}  // namespace

std::string lockFileOf(const std::string& folder) { return (fs::path(folder) / kLockFileName).string(); }

// Takes the folder's lock file for a write of `target`, waiting up to
// `wait` while the job of another process holds it, and writes `holder` in
// it for a job that waits next. Its descriptor; throws when the wait runs
// out. A holder removes the file before it lets it go, so a lock taken on a
// file no longer there is let go and the new file's is taken.
int lockFolder(const std::string& folder, const std::string& target, std::chrono::milliseconds wait,
               const std::string& holder) {
    const std::string path = lockFileOf(folder);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (bool noted = false;;) {
        const int fd = openLockFile(path, target);
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && sameFile(opened, named)) {
                if (::ftruncate(fd, 0) == 0) writeAll(fd, holder + '\n');
                return fd;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        const std::string other = lockHolder(fd);
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR) {
            failOn(target, "cannot lock the lock file of the outputs " + shownPath(path), error, kNothingChanged);
        }
        const std::string held = "another run is writing its outputs in " + shownPath(folder) + " (" + other + ")";
        if (std::chrono::steady_clock::now() >= deadline) {
            failOn(target, held + " and has not finished after " + durationText(wait), 0, kNothingChanged);
        }
        if (!noted) IOMgr::getInstance().notice(held + "; waiting up to " + durationText(wait) + " for it to finish");
        noted = true;
        std::this_thread::sleep_for(kLockRetry);
    }
}

}  // namespace IOMgmt::detail
