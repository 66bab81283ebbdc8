// What a job may act on among the files at its own names. A record's
// checksum guards against damage, not against a person: in a folder that
// others may write (one with the sticky bit, as the system's temporary
// folder) anyone can make a file at a name that a record lists (the record
// was readable before it was private), or link there a file of the user's
// that they can write. So every open, rename and removal of a job's own
// names goes through the one rule here, checked on the file opened, never
// through a symbolic link.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/util/IOMgmtInternal.h"

namespace IOMgmt::detail {

namespace {

// What a message tells a user who may do nothing with the file of another.
constexpr const char* kTheirs = "have its owner remove it, or write the outputs into another folder";

// What stands where a file was expected, as a message names it.
std::string kindOfFile(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISLNK(st.st_mode)) return "a symbolic link";
    if (S_ISFIFO(st.st_mode)) return "a pipe";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return "a device";
}

// The mode of a file as a message shows it: "0664".
std::string modeText(mode_t mode) {
    std::string text(4, '0');
    for (std::size_t i = text.size(); i-- > 0; mode >>= 3) text[i] = static_cast<char>('0' + (mode & 7));
    return text;
}

}  // namespace

std::string userName(uid_t uid) {
    const passwd* user = ::getpwuid(uid);
    return user != nullptr && user->pw_name != nullptr ? user->pw_name : "user " + std::to_string(uid);
}

JobFile checkJobFile(const std::string& path, const struct stat& st, const KnownFiles* known) {
    JobFile file{.st = st};
    if (known != nullptr && known->count(idOf(st)) > 0) return file;
    const std::string name = fileNameOf(path);
    const std::string owner = userName(st.st_uid);
    const uid_t me = ::geteuid();
    const bool ownLink = S_ISLNK(st.st_mode) && !stemOfTemporaryName(name, kKeptMark).empty();
    // A record that others can write may say anything.
    const bool openToOthers = (name == kRecordName || name == kRollBackName) && (st.st_mode & (S_IWGRP | S_IWOTH));
    if (!S_ISREG(st.st_mode) && !ownLink) {
        file.problem = "is " + kindOfFile(st) + " (of " + owner + ")";
    } else if (st.st_uid != me) {
        file.problem = "is owned by " + owner + ", not by " + userName(me) + " (the user of this run)";
    } else if (st.st_nlink != 1) {
        file.problem = "is a file of " + owner + " with " + std::to_string(st.st_nlink) + " names (hard links)";
    } else if (openToOthers) {
        file.problem = "is a file of " + owner + " that others can write (mode " + modeText(st.st_mode & 07777) + ")";
        file.advice = "see that each output is whole, then remove it";
    }
    if (file.problem.empty() || !file.advice.empty()) return file;
    // In a folder with the sticky bit only its owner can remove it.
    file.advice = st.st_uid != me ? kTheirs : "remove it";
    return file;
}

namespace {

// The file at `path`, opened without following a link (O_PATH); the errno
// of a failure.
int lookAt(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fstat(fd, &st) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

}  // namespace

JobFile lookAtJobFile(const std::string& path, const KnownFiles* known) {
    struct stat st {};
    const int error = lookAt(path, st);
    return error != 0 ? JobFile{.error = error} : checkJobFile(path, st, known);
}

JobFile lookAtOutput(const std::string& path) {
    JobFile file;
    file.error = lookAt(path, file.st);
    if (file.error != 0) return file;
    const uid_t me = ::geteuid();
    if (!S_ISREG(file.st.st_mode)) {
        file.problem = "is " + kindOfFile(file.st) + " (of " + userName(file.st.st_uid) + ")";
    } else if (file.st.st_uid != me) {
        file.problem =
            "is owned by " + userName(file.st.st_uid) + ", not by " + userName(me) + " (the user of this run)";
    }
    if (!file.problem.empty()) {
        file.advice = file.st.st_uid != me ? kTheirs : "remove it, or write the outputs into another folder";
    }
    return file;
}

mode_t outputMode(const JobFile& earlier, mode_t fresh) {
    const bool keeps = earlier.error == 0 && earlier.problem.empty() && earlier.st.st_nlink == 1;
    return keeps ? earlier.st.st_mode & 0777 : fresh;
}

int removeFile(const std::string& path, const KnownFiles* known) {
    const JobFile file = lookAtJobFile(path, known);
    if (file.error != 0) return file.error == ENOENT ? 0 : file.error;
    if (!file.problem.empty()) return EPERM;
    return stagingCalls().unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

int renameFile(const std::string& from, const std::string& to, const KnownFiles* known) {
    const JobFile file = lookAtJobFile(from, known);
    if (file.error != 0) return file.error;
    if (!file.problem.empty()) return EPERM;
    return stagingCalls().rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace IOMgmt::detail
