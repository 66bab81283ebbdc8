// A batch killed at every step of its writes and its commit, each followed
// by a batch of other outputs into the same folder: the killed batch's
// outputs are all earlier or all new, and nothing of it is left. Also what
// a copy that fails, a removal that fails and a long name leave.
#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/staging_fixture.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Every call of the seam is counted; the call numbered gKillAt (from 1)
// kills the process before it is made.
int gCallsMade = 0;
int gKillAt = 0;
bool gRefuseLinks = false;
std::function<void()> gAtFolderSync;
void step() {
    if (++gCallsMade == gKillAt) ::raise(SIGKILL);
}
int countedSync(int fd) { return step(), ::fdatasync(fd); }
int countedLink(const char* from, const char* to) {
    step();
    return gRefuseLinks ? (errno = EPERM, -1) : ::link(from, to);
}
// A rename of a file whose name begins with gFailingMove fails.
std::string gFailingMove;
int countedRename(const char* from, const char* to) {
    step();
    const std::string name = fs::path(from).filename().string();
    return !gFailingMove.empty() && name.rfind(gFailingMove, 0) == 0 ? (errno = EIO, -1) : ::rename(from, to);
}
int countedFolderSync(int fd) {
    step();
    if (gAtFolderSync) gAtFolderSync();
    return ::fsync(fd);
}
int countedUnlink(const char* path) { return step(), ::unlink(path); }
ssize_t countedWrite(int fd, const void* bytes, size_t count) { return step(), ::write(fd, bytes, count); }
const IOMgmt::StagingCalls kCounted{countedSync,       countedLink,   countedRename,
                                    countedFolderSync, countedUnlink, countedWrite};

// The name of the file a descriptor is open on.
std::string fileOf(int fd) {
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    return n > 0 ? fs::path(std::string(target, static_cast<std::size_t>(n))).filename().string() : std::string();
}

// Fails a call on a file whose name begins with gFailing.
std::string gFailing;
bool failsOn(const std::string& name) { return !gFailing.empty() && name.rfind(gFailing, 0) == 0; }
int gCopyWrites = 0;
// A write to the copy stops half way, then finds the disk full.
ssize_t fullDiskWrite(int fd, const void* bytes, size_t count) {
    if (!failsOn(fileOf(fd))) return ::write(fd, bytes, count);
    if (gCopyWrites++ == 0) return ::write(fd, bytes, count / 2);
    return errno = ENOSPC, -1;
}
int failingSync(int fd) { return failsOn(fileOf(fd)) ? (errno = EIO, -1) : ::fdatasync(fd); }
int failingRename(const char* from, const char* to) {
    return failsOn(fs::path(from).filename().string()) ? (errno = EIO, -1) : ::rename(from, to);
}
int failingUnlink(const char* path) {
    return failsOn(fs::path(path).filename().string()) ? (errno = EIO, -1) : ::unlink(path);
}

class CommitKill : public testsupport::StagingTest {
protected:
    void SetUp() override {
        // In memory where there is such a folder: the suite's hundreds of
        // commits wait for no disk, and rename, link and kill alike.
        const char* previous = ::getenv("TMPDIR");
        const std::string kept = previous != nullptr ? previous : "";
        if (fs::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
        StagingTest::SetUp();
        previous != nullptr ? ::setenv("TMPDIR", kept.c_str(), 1) : ::unsetenv("TMPDIR");
        IOMgmt::IOMgr::getInstance().setNoticeSink([this](const std::string& text) { notes.push_back(text); });
    }
    void TearDown() override {
        gRefuseLinks = false;
        gAtFolderSync = nullptr;
        gFailing.clear();
        fs::current_path(GA_BINARY_DIR);
        StagingTest::TearDown();
    }
    static void runBatch(const Names& outputs, const Names& texts) {
        IOMgmt::OutputBatch batch(outputs);
        for (std::size_t i = 0; i < outputs.size(); ++i) IOMgmt::writeFileAtomically(outputs[i], texts[i]);
        batch.commit();
    }
    // Runs the batch in a child process killed at the call numbered
    // killAt (0: none); the calls it made when it ended by itself, else -1.
    // A move whose name begins with failingMove fails in the child.
    static int runKilled(const Names& outputs, const Names& texts, int killAt, const std::string& failingMove) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            IOMgmt::setStagingCalls(kCounted);
            gCallsMade = 0;
            gKillAt = killAt;
            gFailingMove = failingMove;
            try {
                runBatch(outputs, texts);
            } catch (const Exceptions::QuarloException&) {
                // the failed move: rolled back
            }
            ::_exit(std::min(gCallsMade, 250));
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
    }
    static Names textsOf(const Names& paths) {
        Names texts;
        for (const std::string& p : paths) texts.push_back(fs::exists(p) ? readFile(p) : "(none)");
        return texts;
    }
    Names notes;
};

// Killed at each call in turn, from its first staged write to the removal
// of its lock file; then a batch of another return's outputs (sharing the
// e-file's name) finishes the killed commit as it claims the folder.
TEST_F(CommitKill, ABatchKilledAtAnyStepLeavesOneWholeSetAfterTheNextBatch) {
    const std::string longName(210, 'r');
    enum class Fault { None, MoveFails, StagedFileLost };
    const struct {
        bool relative;
        bool earlier;
        bool linksRefused;
        std::string name;
        Fault fault;
    } rows[] = {
        {false, true, false, "a", Fault::None},           {true, true, true, "a", Fault::None},
        {false, false, false, "a", Fault::None},          {false, true, false, longName, Fault::None},
        {false, true, false, "a", Fault::MoveFails},      {true, false, true, "a", Fault::MoveFails},
        {false, true, false, "a", Fault::StagedFileLost},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.relative << row.earlier << row.linksRefused << row.name.size()
                                        << static_cast<int>(row.fault));
        const std::string failingMove = row.fault == Fault::MoveFails ? "." + row.name + ".xml.staged-" : "";
        fs::current_path(row.relative ? dir : std::string(GA_BINARY_DIR));
        const std::string folder = row.relative ? std::string("out") : path("out");
        const Names killed = {folder + "/GA-efile.txt", folder + "/" + row.name + ".print.txt",
                              folder + "/" + row.name + ".xml"};
        const Names other = {folder + "/GA-efile.txt", folder + "/b.print.txt", folder + "/b.xml"};
        const Names earlier = {"earlier e-file", "earlier print", "earlier xml"};
        const Names fresh = {"new e-file", "new print", "new xml"};
        const auto reset = [&] {
            fs::remove_all(folder);
            fs::create_directories(folder);
            if (row.earlier) runBatch(killed, earlier);
            notes.clear();
        };
        gRefuseLinks = row.linksRefused;
        reset();
        // The second names go before the folder's sync that follows the renames.
        gAtFolderSync = [&] {
            if (textsOf(killed) != fresh) return;
            for (const std::string& name : namesIn(folder)) EXPECT_EQ(name.find(".kept-"), std::string::npos) << name;
        };
        IOMgmt::setStagingCalls(kCounted);
        runBatch(killed, fresh);
        IOMgmt::setStagingCalls({});
        gAtFolderSync = nullptr;
        reset();
        const int calls = runKilled(killed, fresh, 0, failingMove);
        ASSERT_GT(calls, 10);
        ASSERT_LT(calls, 250);
        for (int killAt = 1; killAt <= calls; ++killAt) {
            SCOPED_TRACE(killAt);
            reset();
            ASSERT_EQ(runKilled(killed, fresh, killAt, failingMove), -1);
            // A staged file of the killed commit that someone removed.
            if (row.fault == Fault::StagedFileLost && fs::exists(folder + "/.staged-outputs.commit")) {
                for (const std::string& name : namesIn(folder)) {
                    if (name.find(".staged-") != std::string::npos && name.rfind(".staged-outputs", 0) != 0) {
                        fs::remove(folder + "/" + name);
                        break;
                    }
                }
            }
            {
                IOMgmt::OutputBatch batch(other);
                IOMgmt::writeFileAtomically(other[0], "other e-file");
                const Names found = textsOf(killed);
                EXPECT_TRUE(found == fresh || found == (row.earlier ? earlier : Names(3, "(none)")))
                    << found[0] << ", " << found[1] << ", " << found[2];
                IOMgmt::writeFileAtomically(other[1], "other print");
                IOMgmt::writeFileAtomically(other[2], "other xml");
                batch.commit();
            }
            EXPECT_LE(notes.size(), 1u) << notes.front();
            for (const std::string& name : namesIn(folder)) EXPECT_NE(name[0], '.') << name;
            notes.clear();
            runBatch(other, {"e", "p", "x"});
            EXPECT_EQ(notes, Names{});
        }
    }
}

// A batch killed with its outputs staged, then one of other outputs killed
// as it writes the lock file's list: the list of the first stays, and a
// third batch removes its staged files.
TEST_F(CommitKill, ABatchKilledAsItTakesTheLockKeepsTheListBeforeIt) {
    const auto outputsOf = [&](const std::string& name) {
        return Names{path("GA-efile.txt"), path(name + ".print.txt"), path(name + ".xml")};
    };
    const Names texts = {"e-file", "print", "xml"};
    const auto stagedFiles = [&] {
        Names staged;
        for (const std::string& name : namesIn(dir)) {
            if (name.find(".staged-") != std::string::npos && name.rfind(".staged-outputs", 0) != 0)
                staged.push_back(name);
        }
        return staged;
    };
    // The first call at which all three outputs are staged and none moved.
    int killAt = 1;
    for (; stagedFiles().size() < 3; ++killAt) {
        ASSERT_LT(killAt, 100);
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_EQ(runKilled(outputsOf("a"), texts, killAt, ""), -1);
    }
    // The second batch's first call is the write of its lock file's list.
    ASSERT_EQ(runKilled(outputsOf("b"), texts, 1, ""), -1);
    runBatch(outputsOf("c"), texts);
    EXPECT_EQ(stagedFiles(), Names{});
}

// The earlier output cannot be linked, and its copy fails: it is removed,
// and the message gives the true cause.
TEST_F(CommitKill, ACopyThatFailsIsRemovedAndNamedWithItsCause) {
    const struct {
        IOMgmt::StagingCalls calls;
        std::string cause;
    } rows[] = {
        {{.link = countedLink, .write = fullDiskWrite}, "No space left on device"},
        {{.sync = failingSync, .link = countedLink}, "Input/output error"},
        {{.link = countedLink, .rename = failingRename}, "Input/output error"},
    };
    const Names outputs = {writeFile("first.txt", std::string(100000, 'e')), writeFile("second.txt", "earlier")};
    gRefuseLinks = true;
    gFailing = ".first.txt.copy-";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cause);
        gCopyWrites = 0;
        IOMgmt::setStagingCalls(row.calls);
        IOMgmt::OutputBatch batch(outputs);
        for (const std::string& output : outputs) IOMgmt::writeFileAtomically(output, "new");
        EXPECT_EQ(failure([&] { batch.commit(); }),
                  outputs[0] + ": cannot keep the earlier file to put back should the run fail: " + row.cause +
                      "; no output of the run is changed");
        EXPECT_EQ(readFile(outputs[0]), std::string(100000, 'e'));
        EXPECT_EQ(readFile(outputs[1]), "earlier");
        EXPECT_EQ(namesIn(dir), (Names{".staged-outputs.lock", "first.txt", "second.txt"}));
    }
    EXPECT_EQ(notes, Names{});
}

// A file that cannot be removed once the outputs are in place: the commit
// succeeds with a note naming it, and the next batch into the folder (of
// other outputs too) removes it.
TEST_F(CommitKill, AFileThatCannotBeRemovedIsNamedAndTheNextBatchRemovesIt) {
    const struct {
        std::string failing;
        bool finishedNext;  // the next batch finishes the record, with a note
    } rows[] = {{".first.txt.kept-", true}, {".first.txt.staged-", false}, {".staged-outputs.lock", false}};
    const Names outputs = {path("first.txt"), path("second.txt")};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failing);
        runBatch(outputs, {"earlier first", "earlier second"});
        notes.clear();
        gFailing = row.failing;
        IOMgmt::setStagingCalls({.unlink = failingUnlink});
        {
            // The first output is written twice, as the e-file is.
            IOMgmt::OutputBatch batch(outputs);
            IOMgmt::writeFileAtomically(outputs[0], "dropped first");
            IOMgmt::writeFileAtomically(outputs[0], "new first");
            IOMgmt::writeFileAtomically(outputs[1], "new second");
            batch.commit();
        }
        IOMgmt::setStagingCalls({});
        EXPECT_EQ(textsOf(outputs), (Names{"new first", "new second"}));
        Names left;
        for (const std::string& name : namesIn(dir)) {
            if (name.rfind(row.failing, 0) == 0) left.push_back(name);
        }
        ASSERT_EQ(left.size(), 1u);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find(path(left[0])), std::string::npos) << notes[0];
        EXPECT_NE(notes[0].find("Input/output error"), std::string::npos) << notes[0];
        notes.clear();
        runBatch({outputs[0], path("third.txt")}, {"newer first", "third"});
        EXPECT_EQ(notes.size(), row.finishedNext ? 1u : 0u);
        EXPECT_EQ(namesIn(dir), (Names{"first.txt", "second.txt", "third.txt"}));
        notes.clear();
        runBatch({path("third.txt")}, {"newer third"});
        EXPECT_EQ(notes, Names{});
    }
}

// Two outputs whose names share their first 200 bytes: an earlier file
// that could not be put back is named as the earlier file of its own
// output, and stays.
TEST_F(CommitKill, LongNamesThatBeginAlikeKeepTheirSecondNamesApart) {
    const std::string stem(210, 'r');
    const Names outputs = {path(stem + ".print.txt"), path(stem + ".xml")};
    runBatch(outputs, {"earlier print", "earlier xml"});
    // The xml's move fails, then so does putting the print file back.
    IOMgmt::setStagingCalls({.rename = [](const char* from, const char* to) {
        const std::string target = to;
        const bool putBack = std::string(from).find(".kept-") != std::string::npos;
        if (target.size() > 4 && (target.substr(target.size() - 4) == ".xml" || putBack)) return errno = EIO, -1;
        return ::rename(from, to);
    }});
    std::string problem;
    {
        IOMgmt::OutputBatch batch(outputs);
        for (const std::string& output : outputs) IOMgmt::writeFileAtomically(output, "new");
        problem = failure([&] { batch.commit(); });
    }
    IOMgmt::setStagingCalls({});
    Names kept;
    for (const std::string& name : namesIn(dir)) {
        if (name.find(".kept-") != std::string::npos) kept.push_back(path(name));
    }
    ASSERT_EQ(kept.size(), 1u) << problem;
    EXPECT_EQ(readFile(kept[0]), "earlier print");
    EXPECT_NE(problem.find(IOMgmt::shownPath(outputs[0]) + " is the new file, it cannot be put back"),
              std::string::npos)
        << problem;
    notes.clear();
    runBatch(outputs, {"newer print", "newer xml"});
    EXPECT_EQ(notes, Names{IOMgmt::shownPath(kept[0]) + " is an earlier " + IOMgmt::shownPath(outputs[0]) +
                           " that a run could not put back; it stays until you move it back or remove it"});
    EXPECT_EQ(readFile(kept[0]), "earlier print");
}

// A commit record that no run wrote (damaged, or made by hand) is not
// acted on: every batch into the folder fails before it changes anything,
// naming the record.
TEST_F(CommitKill, ACommitRecordThatNoRunWroteStopsEveryBatch) {
    const auto record = [](std::vector<std::string> fields) {
        std::string text;
        for (const std::string& field : fields) text += field + '\0';
        return text;
    };
    const std::string heading = "staged outputs commit record 1";
    const std::string good[] = {"out.txt", ".out.txt.staged-AAAAAA", "12", ".out.txt.kept-BBBBBB"};
    const std::string rows[] = {
        "garbage",
        record({heading, good[0], good[1], good[2], good[3]}),  // cut short: no end
        record({heading, "../out.txt", "..out.txt.staged-AAAAAA", good[2], "", "end"}),
        record({heading, good[0], ".other.txt.staged-AAAAAA", good[2], good[3], "end"}),
        record({heading, good[0], good[1], "99999999999999999999", good[3], "end"}),
        record({heading, good[0], good[1], "-1", good[3], "end"}),
        record({heading, good[0], good[1], good[2], ".out.txt.kept-BBB", "end"}),
        record({heading, "", "", "0", "notes.txt", "end"}),
    };
    const std::string out = writeFile("out.txt", "earlier");
    const std::string recordFile = path(".staged-outputs.commit");
    for (const std::string& row : rows) {
        SCOPED_TRACE(row);
        writeFile(".staged-outputs.commit", row);
        writeFile("notes.txt", "mine");
        IOMgmt::OutputBatch batch({out});
        EXPECT_EQ(failure([&] { IOMgmt::writeFileAtomically(out, "new"); }),
                  out + ": the commit record " + recordFile +
                      " is not a commit record that a run wrote: see that each output is whole, then remove it; no "
                      "output of the run is changed");
        EXPECT_EQ(readFile(out), "earlier");
        EXPECT_EQ(readFile(path("notes.txt")), "mine");
        EXPECT_EQ(readFile(recordFile), row);
    }
    // A whole record is finished.
    writeFile(".staged-outputs.commit", record({heading, "end"}));
    runBatch({out}, {"new"});
    EXPECT_EQ(namesIn(dir), (Names{"notes.txt", "out.txt"}));
}

}  // namespace
