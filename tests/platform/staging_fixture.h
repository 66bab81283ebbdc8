// A fixture for the tests of staged writes and output batches: a scratch
// directory, and staging calls that a test can make fail or kill the
// process at; the calls and the notes are put back after each test.
#pragma once

#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/support/ScratchDir.h"

namespace testsupport {

enum class StagingCall { Sync, Link, Rename, FolderSync, Unlink, Write, Read };

// Every staging call is counted; the one numbered gKillAt (from 1) kills
// the process before it is made. A call fails when gFails says so for the
// name of a file it acts on (either name of a rename): a link is refused
// (EPERM), a write takes half of what it is given until the disk is full
// (ENOSPC), the others (a read too) meet an input/output error.
inline int gCallsMade = 0;
inline int gKillAt = 0;
inline std::function<bool(StagingCall, const std::string& name)> gFails;

inline std::string nameOf(const char* path) { return std::filesystem::path(path).filename().string(); }
inline std::string nameOf(int fd) {
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    return n > 0 ? nameOf(target) : std::string();
}
inline bool callFails(StagingCall call, std::initializer_list<std::string> names) {
    if (++gCallsMade == gKillAt) ::raise(SIGKILL);
    return gFails && std::any_of(names.begin(), names.end(), [call](const auto& name) { return gFails(call, name); });
}
inline int failWith(int error) { return errno = error, -1; }
inline int testSync(int fd) { return callFails(StagingCall::Sync, {nameOf(fd)}) ? failWith(EIO) : ::fdatasync(fd); }
inline int testLink(int fd, int folder, const char* name) {
    return callFails(StagingCall::Link, {nameOf(fd)}) ? failWith(EPERM) : IOMgmt::linkOpenFile(fd, folder, name);
}
// With gNoExchange, the file system takes no flags (EINVAL), as some do not.
inline bool gNoExchange = false;
inline int testRename(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    if (callFails(StagingCall::Rename, {nameOf(from), nameOf(to)})) return failWith(EIO);
    return gNoExchange && flags != 0 ? failWith(EINVAL) : ::renameat2(fromFolder, from, toFolder, to, flags);
}
inline int testSyncFolder(int fd) {
    return callFails(StagingCall::FolderSync, {nameOf(fd)}) ? failWith(EIO) : ::fsync(fd);
}
inline int testUnlink(int folder, const char* name) {
    return callFails(StagingCall::Unlink, {nameOf(name)}) ? failWith(EIO) : IOMgmt::unlinkFile(folder, name);
}
inline ssize_t testWrite(int fd, const void* bytes, size_t count) {
    if (!callFails(StagingCall::Write, {nameOf(fd)})) return ::write(fd, bytes, count);
    return count > 1 ? ::write(fd, bytes, count / 2) : failWith(ENOSPC);
}
inline ssize_t testRead(int fd, void* bytes, size_t count) {
    return callFails(StagingCall::Read, {nameOf(fd)}) ? failWith(EIO) : ::read(fd, bytes, count);
}

class StagingTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        IOMgmt::setStagingCalls({testSync, testLink, testRename, testSyncFolder, testUnlink, testWrite, testRead});
        IOMgmt::IOMgr::getInstance().setNoticeSink([this](const std::string& text) { notes.push_back(text); });
    }
    void TearDown() override {
        // A test that took another user's rights.
        if (::geteuid() != ::getuid()) ::seteuid(::getuid());
        gFails = nullptr;
        gKillAt = 0;
        gNoExchange = false;
        IOMgmt::setStagingCalls({});
        IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr);
        ScratchDirTest::TearDown();
    }
    // The run's folder in a folder of the scratch directory ("" for
    // itself), made private when missing, and a name in it: a name within
    // the scratch directory.
    std::string own(const std::string& name, const std::string& folder = "") const {
        const std::string runFolder =
            (folder.empty() ? "" : folder + "/") + ".staged-outputs." + std::to_string(::geteuid());
        std::filesystem::create_directories(path(runFolder));
        std::filesystem::permissions(path(runFolder), std::filesystem::perms::owner_all);
        return runFolder + (name.empty() ? "" : "/" + name);
    }
    // The staged files of outputs in a folder of the scratch directory.
    Names stagedFilesIn(const std::string& folder) const {
        const std::string runFolder =
            (folder.empty() ? "" : folder + "/") + ".staged-outputs." + std::to_string(::geteuid());
        if (!std::filesystem::exists(path(runFolder))) return {};
        Names staged = namesIn(runFolder);
        std::erase_if(staged, [](const std::string& name) {
            return name.find(".staged-") == std::string::npos || name.starts_with(".staged-outputs");
        });
        return staged;
    }
    // Writes each output's text in one batch and commits it.
    static void runBatch(const Names& outputs, const Names& texts) {
        IOMgmt::OutputBatch batch(outputs);
        for (std::size_t i = 0; i < outputs.size(); ++i) IOMgmt::writeFileAtomically(outputs[i], texts[i]);
        batch.commit();
    }
    // The texts of the files, "(none)" for one that does not exist.
    static Names textsOf(const Names& paths) {
        Names texts;
        for (const std::string& p : paths) texts.push_back(std::filesystem::exists(p) ? readFile(p) : "(none)");
        return texts;
    }
    // The message of the QuarloException the step throws, else "no failure".
    static std::string failure(const std::function<void()>& step) {
        try {
            step();
        } catch (const Exceptions::QuarloException& e) {
            return e.getMessage();
        }
        return "no failure";
    }

    // The notes given while the test runs.
    Names notes;
};

}  // namespace testsupport
