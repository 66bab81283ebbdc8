// The folder of a run's own files (IOMgmtStaging.h), held with the output
// folder by the descriptors that were checked, through which every file of
// a run is reached; and the gate of an output's name: an output replaces
// only the file the run recorded there (placeFile).
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
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
    const JobFile file = checkOutput(st);
    if (!file.problem.empty()) return file.refusal();
    return JobFile{.problem = "is a file of " + userName(st.st_uid) + " made there since the run began",
                   .advice = adviceFor(st)}
        .refusal();
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

// The file opened as `fd` (O_PATH), checked and held; the errno of a
// failure to open it.
JobFile heldFile(int fd) {
    Descriptor held(fd);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) return JobFile{.error = errno};
    JobFile file = checkOutput(st);
    file.fd.reset(held.release());
    return file;
}

}  // namespace

mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string userName(uid_t uid) {
    const passwd* user = ::getpwuid(uid);
    return user != nullptr && user->pw_name != nullptr ? user->pw_name : "user " + std::to_string(uid);
}

std::string runFolderOf(const std::string& folder) {
    return inFolder(folder, ".staged-outputs." + std::to_string(::geteuid()));
}

// ------------------------------------------------------------ RunFolder

RunFolder::RunFolder(std::string path, const std::string& target, const std::string& outcome)
    : path_(std::move(path)), name_(fileNameOf(runFolderOf(path_))) {
    outputs_.reset(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (outputs_.get() < 0 || ::fstat(outputs_.get(), &folderStat_) != 0) {
        failOn(target, "cannot open the folder " + shownPath(path_), errno, outcome);
    }
    enter(target, outcome);
}

void RunFolder::enter(const std::string& target, const std::string& outcome) {
    const std::string named = "the folder of the run's own files " + shownPath(pathOf(In::Outputs, name_));
    bool made = false;
    Descriptor fd;
    // A run of the user's that lets the folder go removes it once empty:
    // one removed between its making and its opening is made again.
    for (int attempt = 0; fd.get() < 0 && attempt < kFolderTries; ++attempt) {
        made = ::mkdirat(outputs_.get(), name_.c_str(), 0700) == 0;
        if (!made && errno != EEXIST) failOn(target, "cannot create " + named, errno, outcome);
        fd.reset(::openat(outputs_.get(), name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (fd.get() < 0 && errno != ENOENT) break;
    }
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        const int error = errno;
        // What stands there now and whose (a link: never what it leads
        // to; a folder that the user may not open: whose). Nothing there:
        // the cause alone.
        const std::string why = stat(In::Outputs, name_, st) != 0 ? std::string()
                                : S_ISDIR(st.st_mode)             ? notOwnFolder(st)
                                                      : "is " + kindOfFile(st) + " (of " + userName(st.st_uid) +
                                                            "), and is not used; " + adviceFor(st);
        failOn(target, why.empty() ? "cannot open " + named : named + " " + why, why.empty() ? error : 0, outcome);
    }
    // Made now, its mode is 0700 whatever the umask took from it; made in a
    // set-group-ID folder, it keeps the folder's group for the files in it.
    if (made && st.st_uid == ::geteuid() && (st.st_mode & 0777) != 0700) {
        ::fchmod(fd.get(), (st.st_mode & S_ISGID) | 0700);
        ::fstat(fd.get(), &st);
    }
    if (const std::string why = notOwnFolder(st); !why.empty()) failOn(target, named + " " + why, 0, outcome);
    own_.reset(fd.release());
    ownStat_ = st;
}

void RunFolder::leave() const {
    // Only the folder entered: not another that stands at its name now.
    struct stat st {};
    if (stat(In::Outputs, name_, st) == 0 && sameFile(st, ownStat_)) {
        ::unlinkat(outputs_.get(), name_.c_str(), AT_REMOVEDIR);
    }
}

std::string RunFolder::pathOf(In in, const std::string& name) const {
    return inFolder(in == In::Own ? inFolder(path_, name_) : path_, name);
}

gid_t RunFolder::newFileGroup() const {
    return (folderStat_.st_mode & S_ISGID) != 0 ? folderStat_.st_gid : ::getegid();
}

JobFile RunFolder::look(const std::string& output) const { return heldFile(open(In::Outputs, output, O_PATH)); }

std::vector<std::string> RunFolder::names(In in) const {
    std::vector<std::string> names;
    // A descriptor of its own, read from the start.
    const int fd = ::openat(this->fd(in), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (dir == nullptr && fd >= 0) ::close(fd);
    while (const dirent* entry = dir != nullptr ? ::readdir(dir) : nullptr) names.push_back(entry->d_name);
    if (dir != nullptr) ::closedir(dir);
    return names;
}

int reopen(int fd, int flags) {
    return ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), flags | O_CLOEXEC | O_NOCTTY);
}

// ------------------------------------------------------------ outputs

JobFile checkOutput(const struct stat& st) {
    JobFile file{.st = st, .problem = outputProblem(st)};
    if (!file.problem.empty()) file.advice = adviceFor(st);
    return file;
}

JobFile lookAtOutput(const std::string& path) {
    return heldFile(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
}

mode_t outputMode(const JobFile& earlier) {
    const bool keeps = earlier.error == 0 && earlier.problem.empty() && earlier.st.st_nlink == 1;
    // Read and write bits only: an output is no program, whatever its
    // earlier file was.
    return (keeps ? earlier.st.st_mode & 0666 : 0666) & ~currentUmask();
}

Placed placeFile(const RunFolder& run, const std::string& from, const std::string& to, const Displaces& displaces) {
    Placed placed;
    struct stat st {};
    // The run's file, to know it again should the exchange be undone.
    struct stat own {};
    if (displaces && (placed.error = run.stat(In::Own, from, own)) != 0) return placed;
    if (const int error = run.rename(In::Own, from, In::Outputs, to, displaces ? RENAME_EXCHANGE : RENAME_NOREPLACE);
        error != 0) {
        placed.error = error;
        if (error != EINVAL) {
            if (error == EEXIST && run.stat(In::Outputs, to, st) == 0) placed.problem = refusal(st);
            return placed;
        }
        // A file system without the flags: the name is looked at just
        // before a plain rename.
        const int look = run.stat(In::Outputs, to, st);
        if (displaces ? look != 0 || !displaces(In::Outputs, to, st) : look != ENOENT) {
            if (look == 0) placed.problem = refusal(st);
            placed.error = look != 0 && displaces ? look : EEXIST;
            return placed;
        }
        placed.error = run.rename(In::Own, from, In::Outputs, to);
        return placed;
    }
    if (!displaces) return placed;
    // `from` holds what stood at `to`: the file that was to go, or another
    // made there meanwhile, which is put back.
    const int look = run.stat(In::Own, from, st);
    if (look == 0 && displaces(In::Own, from, st)) {
        run.remove(In::Own, from);
        return placed;
    }
    placed.error = EEXIST;
    placed.problem =
        look == 0 ? refusal(st) : "cannot be looked at once exchanged (" + causeOf(look) + "), and is put back";
    // What comes back must be the run's file: another moved onto `to`
    // just before (or what stays when the exchange back fails) is named,
    // and nothing removes it.
    run.rename(In::Own, from, In::Outputs, to, RENAME_EXCHANGE);
    if (run.stat(In::Own, from, st) == 0 && !sameFile(st, own)) placed.cameIn = cameInText(run, from, to, st);
    return placed;
}

std::string cameInText(const RunFolder& run, const std::string& name, const std::string& output,
                       const struct stat& st) {
    return shownPath(run.pathOf(In::Own, name)) + " is " + kindOfFile(st) + " of " + userName(st.st_uid) +
           " that came from " + shownPath(run.pathOf(In::Outputs, output)) +
           " by an exchange, not the run's own, and is left as it is: move it out of " +
           shownPath(runFolderOf(run.path()));
}

}  // namespace IOMgmt::detail
