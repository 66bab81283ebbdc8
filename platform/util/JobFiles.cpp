// The folder of a run's own files, and the gate of an output's name. A run
// keeps everything but its outputs (staged files, the commit record and the
// record being written, the roll-back record, the earlier outputs' second
// names and copies, the lock file) in one folder of its user's inside the
// output folder, private to that user: so no other user can stand at any
// of its names, and every name inside it is the run's. The folder is
// checked once, as it is opened, never through a symbolic link; a folder of
// another user by that name is never looked into. What the shared folder
// holds of a run is its outputs, and an output replaces only the file the
// run recorded there (placeFile).
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/util/IOMgmtInternal.h"

namespace IOMgmt::detail {

namespace {

// Tries at making and opening the run's folder.
constexpr int kFolderTries = 100;

// What a message tells a user who may do nothing with the file of another.
constexpr const char* kTheirs = "have its owner remove it, or write the outputs into another folder";

// What stands where a file was expected, as a message names it.
std::string kindOfFile(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISLNK(st.st_mode)) return "a symbolic link";
    if (S_ISFIFO(st.st_mode)) return "a pipe";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return S_ISREG(st.st_mode) ? "a file" : "a device";
}

// The mode of a file as a message shows it: "0755".
std::string modeText(mode_t mode) {
    std::string text(4, '0');
    for (std::size_t i = text.size(); i-- > 0; mode >>= 3) text[i] = static_cast<char>('0' + (mode & 7));
    return text;
}

// "is owned by alice, not by bob (the user of this run)", or what else
// keeps the run off the file at an output's name; empty for a regular file
// of the run's user.
std::string outputProblem(const struct stat& st) {
    const uid_t me = ::geteuid();
    if (!S_ISREG(st.st_mode)) return "is " + kindOfFile(st) + " (of " + userName(st.st_uid) + ")";
    if (st.st_uid != me)
        return "is owned by " + userName(st.st_uid) + ", not by " + userName(me) + " (the user of this run)";
    return std::string();
}

std::string adviceFor(const struct stat& st) {
    return st.st_uid != ::geteuid() ? kTheirs : "remove it, or write the outputs into another folder";
}

// Why a file found at an output's name is not replaced: what it is, whose,
// and what to do.
std::string refusal(const struct stat& st) {
    const std::string problem = outputProblem(st);
    return (problem.empty() ? "is a file of " + userName(st.st_uid) + " made there since the run began" : problem) +
           ", and is not replaced; " + adviceFor(st);
}

// The file at `path`, opened without following a link (O_PATH); the errno
// of a failure.
int lookAt(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fstat(fd, &st) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// Why the folder opened as `st` is not the run's own (another user's, a
// wider mode), else empty.
std::string notOwnFolder(const struct stat& st) {
    const uid_t me = ::geteuid();
    if (st.st_uid != me) {
        return "is owned by " + userName(st.st_uid) + ", not by " + userName(me) +
               " (the user of this run), and is not looked into; " + kTheirs;
    }
    if ((st.st_mode & 077) != 0) {
        return "is a folder of " + userName(me) + " that others can reach (mode " + modeText(st.st_mode & 07777) +
               "), and is not used; see that each output is whole, then remove it";
    }
    return std::string();
}

}  // namespace

std::string userName(uid_t uid) {
    const passwd* user = ::getpwuid(uid);
    return user != nullptr && user->pw_name != nullptr ? user->pw_name : "user " + std::to_string(uid);
}

std::string runFolderOf(const std::string& folder) {
    return inFolder(folder, ".staged-outputs." + std::to_string(::geteuid()));
}

void enterRunFolder(const std::string& folder, const std::string& target, const std::string& outcome) {
    const std::string own = runFolderOf(folder);
    const std::string named = "the folder of the run's own files " + shownPath(own);
    bool made = false;
    int fd = -1;
    // A run of the user's that lets the folder go removes it once empty:
    // one removed between its making and its opening is made again.
    for (int attempt = 0; fd < 0 && attempt < kFolderTries; ++attempt) {
        made = ::mkdir(own.c_str(), 0700) == 0;
        if (!made && errno != EEXIST) failOn(target, "cannot create " + named, errno, outcome);
        fd = ::open(own.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno != ENOENT) break;
    }
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        // A link, a file: what it is and whose, never what it leads to; a
        // folder that the user may not open, whose.
        if (lookAt(own, st) == 0 && !S_ISDIR(st.st_mode)) {
            failOn(target,
                   named + " is " + kindOfFile(st) + " (of " + userName(st.st_uid) + "), and is not used; " +
                       adviceFor(st),
                   0, outcome);
        }
        if (const std::string why = notOwnFolder(st); S_ISDIR(st.st_mode) && !why.empty()) {
            failOn(target, named + " " + why, 0, outcome);
        }
        failOn(target, "cannot open " + named, error, outcome);
    }
    // Made now, its mode is 0700 whatever the umask took from it.
    if (made && st.st_uid == ::geteuid() && ::fchmod(fd, 0700) == 0) st.st_mode = S_IFDIR | 0700;
    ::close(fd);
    if (const std::string why = notOwnFolder(st); !why.empty()) failOn(target, named + " " + why, 0, outcome);
}

void leaveRunFolder(const std::string& folder) { ::rmdir(runFolderOf(folder).c_str()); }

JobFile checkOutput(const struct stat& st) {
    JobFile file{.st = st, .problem = outputProblem(st)};
    if (!file.problem.empty()) file.advice = adviceFor(st);
    return file;
}

JobFile lookAtOutput(const std::string& path) {
    struct stat st {};
    const int error = lookAt(path, st);
    return error != 0 ? JobFile{.error = error} : checkOutput(st);
}

mode_t outputMode(const JobFile& earlier, mode_t fresh) {
    const bool keeps = earlier.error == 0 && earlier.problem.empty() && earlier.st.st_nlink == 1;
    return keeps ? earlier.st.st_mode & 0777 : fresh;
}

int removeFile(const std::string& path) {
    return stagingCalls().unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

int renameFile(const std::string& from, const std::string& to) {
    return stagingCalls().rename(from.c_str(), to.c_str(), 0) == 0 ? 0 : errno;
}

int placeFile(const std::string& from, const std::string& to, const Displaces& displaces, std::string& problem) {
    const StagingCalls& calls = stagingCalls();
    const unsigned flags = displaces ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    struct stat st {};
    if (calls.rename(from.c_str(), to.c_str(), flags) != 0) {
        if (errno != EINVAL) {
            const int error = errno;
            if (error == EEXIST && lookAt(to, st) == 0) problem = refusal(st);
            return error;
        }
        // A file system without the flags: the name is looked at just
        // before a plain rename.
        const int error = lookAt(to, st);
        if (displaces ? error != 0 || !displaces(to, st) : error != ENOENT) {
            if (error == 0) problem = refusal(st);
            return error != 0 && displaces ? error : EEXIST;
        }
        return renameFile(from, to);
    }
    if (!displaces) return 0;
    // `from` holds what stood at `to`: the file that was to go, or another
    // made there meanwhile, which is put back.
    if (lookAt(from, st) == 0 && displaces(from, st)) {
        removeFile(from);
        return 0;
    }
    problem = refusal(st);
    calls.rename(from.c_str(), to.c_str(), RENAME_EXCHANGE);
    return EEXIST;
}

}  // namespace IOMgmt::detail
