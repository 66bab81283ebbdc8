// A printout that standard output does not take fails the command; each
// line on standard error goes out whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "host/StandardOutput.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";

class StandardOutputTest : public testsupport::ScratchDirTest {};

// Every command, on a full disk, on a closed descriptor and on a pipe whose
// reader has gone: exit 1 with one line on standard error, and a run leaves
// nothing in its output folder (no output, temporary file or lock file).
TEST_F(StandardOutputTest, EveryCommandFailsWhenItsPrintoutIsLost) {
    const std::string out = path("out");
    const std::vector<std::vector<std::string>> commands = {
        {"--help"},
        {"forms"},
        {"fields", "GA70"},
        {"items"},
        {"check", kExample},
        {"interview", kExample},
        {"run", kExample, "--out", out},
    };
    const struct {
        std::string target;
        std::string message;
    } outputs[] = {
        {"/dev/full", "gahost: cannot write the standard output: No space left on device"},
        {"-", "gahost: the standard output is closed"},
        {"|", "gahost: cannot write the standard output: Broken pipe"},
    };
    for (const auto& target : outputs) {
        for (const std::vector<std::string>& args : commands) {
            SCOPED_TRACE(target.target + " " + args[0]);
            const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir, {}, 0, target.target);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err.rfind(target.message, 0), 0u) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out));
        }
    }
}

// A write to standard output fails (a full non-blocking pipe), and the
// next ones would go through (the pipe emptied): the command still learns
// of the failure when it checks.
TEST(StandardOutput, AFailedWriteIsRememberedWhenALaterOneWouldSucceed) {
    std::cout.flush();
    const int saved = ::dup(STDOUT_FILENO);
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
    char block[4096] = {};
    while (::write(ends[1], block, sizeof block) > 0) {
    }
    ::dup2(ends[1], STDOUT_FILENO);
    std::string lost;
    {
        GAHost::StandardOutput printout;
        std::cout << "first" << std::flush;
        while (::read(ends[0], block, sizeof block) > 0) {
        }
        std::cout << "second" << std::flush;
        std::cout << "third";
        lost = printout.flush();
    }
    ::dup2(saved, STDOUT_FILENO);
    for (const int fd : {saved, ends[0], ends[1]}) ::close(fd);
    EXPECT_EQ(lost, "Resource temporarily unavailable");
}

// A line printed in pieces (a failure: "gahost: ", the text, the line end)
// reaches standard error in one write, so that a kill leaves all of it or
// none; what follows the last line end waits for the next, or for the end.
TEST(StandardError, EachLineGoesOutInOneWrite) {
    static std::vector<std::string> writes;
    const IOMgmt::StagingCalls previous = IOMgmt::setStagingCalls({.write = [](int fd, const void* bytes, size_t n) {
        if (fd != STDERR_FILENO) return ::write(fd, bytes, n);
        writes.emplace_back(static_cast<const char*>(bytes), n);
        return static_cast<ssize_t>(n);
    }});
    {
        const GAHost::StandardError errors;
        std::cerr << "gahost: " << std::string("the cause") << '\n' << "gahost: note: " << 2 << " notes\nunended";
    }
    IOMgmt::setStagingCalls(previous);
    EXPECT_EQ(writes, (std::vector<std::string>{"gahost: the cause\n", "gahost: note: 2 notes\n", "unended"}));
}

// So does gahost itself, in a line it prints in pieces: its standard error
// is a socket of packets, where each write arrives as one packet.
TEST(StandardError, GahostWritesEachLineInOneWrite) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(ends[1], STDERR_FILENO);
        ::execl(GAHOST_PATH, GAHOST_PATH, "fields", "NOSUCH", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[1]);
    std::vector<std::string> packets;
    char packet[4096];
    for (ssize_t n; (n = ::recv(ends[0], packet, sizeof packet, 0)) > 0;) packets.emplace_back(packet, n);
    ::close(ends[0]);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(packets,
              std::vector<std::string>{"gahost: unknown form \"NOSUCH\" (gahost forms lists the dev names)\n"});
}

}  // namespace
