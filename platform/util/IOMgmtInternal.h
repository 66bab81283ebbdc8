// What the staging of outputs (IOMgmtStaging.cpp) shares with the lock of
// an output folder (OutputFolderLock.cpp); not for use outside them.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <system_error>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"

namespace IOMgmt::detail {

// How a failed commit ends its message when every output is as it was.
inline constexpr const char* kNothingChanged = "no output of the run is changed";

// Throws "PATH: what: cause; outcome", without the parts not given.
[[noreturn]] inline void failOn(const std::string& path, const std::string& what, int error = 0,
                                const std::string& outcome = {}) {
    std::string message = shownPath(path) + ": " + what;
    if (error != 0) message += ": " + std::generic_category().message(error);
    if (!outcome.empty()) message += "; " + outcome;
    throw Exceptions::QuarloException(message, "IOMgmt", "write");
}

inline bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The lock file of a folder that a batch writes outputs into.
std::string lockFileOf(const std::string& folder);

// Takes the folder's lock file for a write of `target`, waiting up to
// `wait` while the job of another process holds it, and writes `holder` in
// it for a job that waits next. Its descriptor; throws when the wait runs
// out, or when the lock file cannot be made, opened or locked.
int lockFolder(const std::string& folder, const std::string& target, std::chrono::milliseconds wait,
               const std::string& holder);

}  // namespace IOMgmt::detail
