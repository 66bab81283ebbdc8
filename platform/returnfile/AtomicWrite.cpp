// Writing a file so that it is either the old or the new file: a temporary
// file in the target's directory, flushed, then renamed into place.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

namespace {

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

}  // namespace

void ReturnFile::writeAtomically(const std::string& path, const std::string& bytes) {
    auto failure = [&](const std::string& what, int e) {
        throw Exceptions::QuarloException(path + ": " + what + ": " + detail::errnoText(e), "ReturnFile", "write");
    };
    if (path.empty()) throw Exceptions::QuarloException("no file name given", "ReturnFile", "write");
    const std::filesystem::path target(path);
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    // An interrupt or a termination while the temporary file exists waits
    // until the file is renamed into place or removed: the target is then
    // the old or the new file, and no temporary file is left behind.
    const SignalsHeld held;
    const int fd = ::mkstemp(name.data());
    if (fd < 0) failure("cannot create a temporary file in " + dir.string(), errno);
    const std::string tmp(name.data());
    auto abandon = [&](const std::string& what) {
        const int e = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        failure(what, e);
    };

    // Keep the permissions of the file being replaced; a new file gets the
    // usual 0644.
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) abandon("cannot set the temporary file's permissions");

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            abandon("cannot write the temporary file");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) abandon("cannot flush the temporary file");
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        failure("cannot close the temporary file", e);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        failure("cannot move the new file into place", e);
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

}  // namespace PersistanceMgmt
