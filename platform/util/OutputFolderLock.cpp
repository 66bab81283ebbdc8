// The lock of a folder that a job writes outputs into: one job of a user at
// a time holds the lock file (".staged-outputs.lock") in the user's run
// folder (JobFiles.cpp), an advisory lock that a job waiting for the
// folder tries again and again; a job of another user has its own. The
// file holds a line naming its holder, for a job that waits.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/util/IOMgmtInternal.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/util/Utils.h"

namespace IOMgmt::detail {

namespace {

// How often a job waiting for the folder tries again.
constexpr std::chrono::milliseconds kLockRetry{20};
// The most of a lock file's holder that a message shows.
constexpr std::size_t kHolderShown = 300;

// The process that holds a lock on the file, as the system lists its
// locks; 0 when none is listed (or the list cannot be read).
pid_t lockingProcess(const struct stat& st) {
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        // "1: FLOCK  ADVISORY  WRITE 4242 08:01:1234 0 EOF"; a waiter's
        // line has "->" after its number.
        std::istringstream fields(line);
        std::string number, kind, advisory, access, file;
        long pid = 0;
        if (!(fields >> number >> kind >> advisory >> access >> pid >> file) || kind != "FLOCK") continue;
        unsigned devMajor = 0;
        unsigned devMinor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%llu", &devMajor, &devMinor, &inode) == 3 &&
            devMajor == major(st.st_dev) && devMinor == minor(st.st_dev) && inode == st.st_ino) {
            return static_cast<pid_t>(pid);
        }
    }
    return 0;
}

// "process 4242" with its user when that is not the run's ("process 4242
// of alice").
std::string processText(pid_t pid) {
    struct stat st {};
    const bool another = ::stat(("/proc/" + std::to_string(pid)).c_str(), &st) == 0 && st.st_uid != ::geteuid();
    return "process " + std::to_string(pid) + (another ? " of " + userName(st.st_uid) : "");
}

// Whether the process still runs (another user's, which may not be
// signalled, too).
bool stillRuns(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

// The lock file of the run's folder, open for a write of `target`, made
// when missing, private to its user; the run's folder is made again when a
// run that let the folder go removed it meanwhile (a lock file removed
// since it was opened is let go by lockFolder). Throws, naming the target
// and the lock file, when the file cannot be made or opened.
int openLockFile(RunFolder& run, const std::string& target) {
    constexpr int kFlags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    constexpr int kTries = 100;
    int error = ENOENT;
    for (int attempt = 0; attempt < kTries && error == ENOENT; ++attempt) {
        const int fd = stagingCalls().open(run.fd(In::Own), kLockFileName, kFlags, 0600);
        error = errno;
        if (fd >= 0) return fd;
        if (error == ENOENT) run.enter(target, kNothingChanged);
    }
    failOn(target, "cannot create the lock file of the outputs " + shownPath(run.pathOf(In::Own, kLockFileName)), error,
           kNothingChanged);
}

// What the holder of a lock file wrote in its line ("process 4242, writing
// ...").
std::string lockHolder(int fd) {
    std::string text(kHolderShown, '\0');
    const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    text.resize(std::min(text.size(), text.find('\n')));
    return text.empty() ? "a process that does not say which"
                        : Utils::QVStringUtils::escapeForMessage(text, kHolderShown);
}

// Who holds the lock file that `fd` has open, for a job that waits: the run
// its line names ("another run is writing its outputs in DIR (process 4242,
// writing ...)"), or another process that holds it in that run's stead, and
// whether that run still runs. `byRun` is false for the latter: it is not
// let go when a run finishes.
std::string heldText(int fd, const std::string& path, const std::string& folder, bool& byRun) {
    const std::string line = lockHolder(fd);
    const pid_t named = line.rfind("process ", 0) == 0 ? static_cast<pid_t>(std::atol(line.c_str() + 8)) : 0;
    struct stat st {};
    const pid_t holder = ::fstat(fd, &st) == 0 ? lockingProcess(st) : 0;
    byRun = holder == 0 || holder == named;
    const std::string gone = named != 0 && !stillRuns(named) ? ", which no longer runs" : "";
    if (byRun) {
        const std::size_t comma = line.find(',');
        const std::string who =
            holder != 0 && comma != std::string::npos ? processText(holder) + line.substr(comma) : line;
        return "another run is writing its outputs in " + shownPath(folder) + " (" + who + gone + ")";
    }
    return "the lock file of the outputs " + shownPath(path) + " is held by " + processText(holder) +
           ", not by the run it names (" + line + gone + ")";
}

// Writes the holder's line over what the lock file holds.
void writeHolder(int fd, const std::string& holder) {
    const std::string line = holder + '\n';
    if (writeAll(fd, line) == 0) ::ftruncate(fd, static_cast<off_t>(line.size()));
}

std::string durationText(std::chrono::milliseconds wait) {
    const auto ms = wait.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " seconds" : std::to_string(ms) + " ms";
}

}  // namespace

// A holder removes the file before it lets it go, so a lock taken on a
// file no longer there is let go and the new file's is taken.
int lockFolder(RunFolder& run, const std::string& target, std::chrono::milliseconds wait, const std::string& holder) {
    const std::string path = run.pathOf(In::Own, kLockFileName);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (bool noted = false;;) {
        const int fd = openLockFile(run, target);
        struct stat opened {};
        struct stat named {};
        int error = EWOULDBLOCK;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (::fstat(fd, &opened) == 0 && run.stat(In::Own, kLockFileName, named) == 0 && sameFile(opened, named)) {
                writeHolder(fd, holder);
                return fd;
            }
            ::close(fd);
            continue;
        }
        error = errno;
        bool byRun = true;
        const std::string held = heldText(fd, path, run.path(), byRun);
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR) {
            failOn(target, "cannot lock the lock file of the outputs " + shownPath(path), error, kNothingChanged);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            failOn(target,
                   held + (!byRun ? ", and is not let go after " + durationText(wait) +
                                        ": end that process, or remove the lock file"
                                  : " and has not finished after " + durationText(wait)),
                   0, kNothingChanged);
        }
        if (!noted) {
            IOMgr::getInstance().notice(held + "; waiting up to " + durationText(wait) + " for it to " +
                                        (byRun ? "finish" : "be let go"));
        }
        noted = true;
        std::this_thread::sleep_for(kLockRetry);
    }
}

}  // namespace IOMgmt::detail
