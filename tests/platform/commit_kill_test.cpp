// A batch killed at every step of its writes and its commit, each followed
// by a batch of other outputs into the same folder: the killed batch's
// outputs are all earlier or all new, and nothing of it is left. Also what
// a removal that fails leaves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/staging_fixture.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testsupport::gFails;
using testsupport::StagingCall;

class CommitKill : public testsupport::StagingTest {
protected:
    // In memory where there is such a folder: the suite's hundreds of
    // commits wait for no disk, and rename, link and kill alike.
    fs::path scratchParent() const override {
        return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : StagingTest::scratchParent();
    }
    void TearDown() override {
        fs::current_path(GA_BINARY_DIR);
        StagingTest::TearDown();
    }
    // Runs the batch in a child process killed at the staging call
    // numbered killAt (0: none); the calls it made when it ended by itself,
    // else -1. A failed commit is rolled back.
    static int runKilled(const Names& outputs, const Names& texts, int killAt) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            testsupport::gCallsMade = 0;
            testsupport::gKillAt = killAt;
            failure([&] { runBatch(outputs, texts); });
            ::_exit(std::min(testsupport::gCallsMade, 250));
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
    }
    // The next batch into the folder, of the other outputs, after one of
    // them killed first: before it writes its list into the lock file, or
    // once it has (with the list of the batch killed before it, which it
    // hands on). What it finds of the killed outputs once it holds the
    // folder; its notes are in `notes`.
    Names runNextBatch(const Names& other, const Names& killed, int killAt) {
        EXPECT_EQ(runKilled(other, {"e", "p", "x"}, 1 + killAt % 2), -1);
        notes.clear();
        IOMgmt::OutputBatch batch(other);
        IOMgmt::writeFileAtomically(other[0], "other e-file");
        const Names found = textsOf(killed);
        IOMgmt::writeFileAtomically(other[1], "other print");
        IOMgmt::writeFileAtomically(other[2], "other xml");
        batch.commit();
        return found;
    }
};

// Killed at each call in turn, from its first staged write to the removal
// of its lock file; then a batch of another return's outputs (sharing the
// e-file's name) finishes the killed commit as it claims the folder, and
// removes what is left of the killed batch, with a note that says what it
// did. A copy of the folder (new file numbers; links not kept) is finished
// exactly as the folder itself.
TEST_F(CommitKill, ABatchKilledAtAnyStepLeavesOneWholeSetAfterTheNextBatch) {
    const std::string longName(210, 'r');
    enum class Fault { None, MoveFails, StagedFileLost, StagedFileCut };
    const struct {
        bool relative;
        bool earlier;
        bool linksRefused;
        std::string name;
        Fault fault;
        bool copied = false;
    } rows[] = {
        {false, true, false, "a", Fault::None},
        {true, true, true, "a", Fault::None},
        {false, false, false, "a", Fault::None},
        {false, true, false, longName, Fault::None},
        {false, true, false, "a", Fault::MoveFails},
        {true, false, true, "a", Fault::MoveFails},
        {false, true, false, "a", Fault::StagedFileLost},
        {false, true, false, "a", Fault::None, true},
        {true, true, true, "a", Fault::None, true},
        {false, false, false, "a", Fault::None, true},
        {false, true, false, "a", Fault::MoveFails, true},
        {false, true, false, "a", Fault::StagedFileLost, true},
        {false, true, false, "a", Fault::StagedFileCut, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.relative << row.earlier << row.linksRefused << row.name.size()
                                        << static_cast<int>(row.fault) << row.copied);
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
        };
        // The move that fails, fails in the killed batch only.
        const pid_t parent = ::getpid();
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::Link) return row.linksRefused;
            return row.fault == Fault::MoveFails && call == StagingCall::Rename && ::getpid() != parent &&
                   name.starts_with("." + row.name + ".xml.staged-");
        };
        reset();
        const int calls = runKilled(killed, fresh, 0);
        ASSERT_GT(calls, 10);
        ASSERT_LT(calls, 250);
        for (int killAt = 1; killAt <= calls; ++killAt) {
            SCOPED_TRACE(killAt);
            reset();
            ASSERT_EQ(runKilled(killed, fresh, killAt), -1);
            // A staged file of the killed commit that someone removed, or
            // that a copy cut short.
            const Names staged = stagedFilesIn("out");
            if (fs::exists(folder + "/.staged-outputs.commit") && !staged.empty()) {
                if (row.fault == Fault::StagedFileLost) fs::remove(folder + "/" + staged[0]);
                if (row.fault == Fault::StagedFileCut) fs::resize_file(folder + "/" + staged[0], 3);
            }
            fs::remove_all(folder + ".copy");
            if (row.copied) fs::copy(folder, folder + ".copy", fs::copy_options::recursive);
            const Names found = runNextBatch(other, killed, killAt);
            EXPECT_TRUE(found == fresh || found == (row.earlier ? earlier : Names(3, "(none)")))
                << found[0] << ", " << found[1] << ", " << found[2];
            ASSERT_LE(notes.size(), 1u) << notes.front();
            const std::string note = notes.empty() ? "" : notes[0];
            // A note of a commit finished says the new outputs are in place;
            // one of a roll-back, that the earlier ones are.
            const bool forward = note.find("finished the commit") != std::string::npos;
            if (forward || note.find("roll") != std::string::npos) {
                EXPECT_EQ(found == fresh, forward) << note;
            }
            for (const std::string& name : namesIn("out")) EXPECT_NE(name[0], '.') << name;
            if (!row.copied) continue;
            fs::remove_all(folder);
            fs::rename(folder + ".copy", folder);
            EXPECT_EQ(runNextBatch(other, killed, killAt), found);
            EXPECT_EQ(notes, (note.empty() ? Names{} : Names{note}));
            for (const std::string& name : namesIn("out")) EXPECT_NE(name[0], '.') << name;
        }
    }
}

// A file that cannot be removed once the outputs are in place, or by the
// roll-back of a commit that failed: the commit succeeds with a note naming
// it (the failure names it, and its staged file is gone by the batch's end,
// but the record that lists it stays), and a later batch into the folder
// (of other outputs too) finishes the record and removes it.
TEST_F(CommitKill, AFileThatCannotBeRemovedIsNamedAndTheNextBatchRemovesIt) {
    const struct {
        std::string failing;
        std::string left;         // what stays after the commit
        bool rolledBack;          // the second output cannot be moved into place
        std::size_t notesOfNext;  // the next batch meets the failure too
        std::size_t notesOfLast;  // the one after finishes what is left
    } rows[] = {{".first.txt.kept-", ".first.txt.kept-", false, 2, 1},
                {".first.txt.staged-", ".first.txt.staged-", false, 0, 0},
                {".staged-outputs.lock", ".staged-outputs.lock", false, 1, 0},
                {".second.txt.staged-", ".staged-outputs.commit", true, 1, 0}};
    const Names outputs = {path("first.txt"), path("second.txt")};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failing);
        runBatch(outputs, {"earlier first", "earlier second"});
        notes.clear();
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::Rename) return row.rolledBack && name.starts_with(".second.txt.staged-");
            return call == StagingCall::Unlink && name.starts_with(row.failing);
        };
        std::string said;
        {
            // The first output is written twice, as the e-file is.
            IOMgmt::OutputBatch batch(outputs);
            IOMgmt::writeFileAtomically(outputs[0], "dropped first");
            IOMgmt::writeFileAtomically(outputs[0], "new first");
            IOMgmt::writeFileAtomically(outputs[1], "new second");
            said = failure([&] { batch.commit(); });
        }
        const std::string texts = row.rolledBack ? "earlier " : "new ";
        EXPECT_EQ(textsOf(outputs), (Names{texts + "first", texts + "second"}));
        Names left = namesIn("");
        std::erase_if(left, [&](const std::string& name) { return !name.starts_with(row.left); });
        ASSERT_EQ(left.size(), 1u);
        ASSERT_EQ(notes.size(), row.rolledBack ? 0u : 1u) << said;
        if (!row.rolledBack) said = notes[0];
        EXPECT_NE(said.find(path(row.failing)), std::string::npos) << said;
        EXPECT_NE(said.find("Input/output error"), std::string::npos) << said;
        for (const std::size_t expected : {row.notesOfNext, row.notesOfLast}) {
            notes.clear();
            runBatch({outputs[0], path("third.txt")}, {"newer first", "third"});
            EXPECT_EQ(notes.size(), expected);
            gFails = nullptr;
        }
        EXPECT_EQ(namesIn(""), (Names{"first.txt", "second.txt", "third.txt"}));
    }
}

// A finish that cannot finish, in a folder where every staged write, rename
// and removal fails (a read-only folder), fails the next batch with what the
// folder holds and leaves the record for a later batch, which finishes it
// once it can, with a note in the words of what it did.
TEST_F(CommitKill, AFinishThatCannotFinishSaysOnlyWhatIsTrue) {
    const struct {
        bool earlier;
        Names outputs;
        std::string fails;  // the rename that fails in the killed batch
        StagingCall killedAt;
        std::string killedOn;  // a name the call acts on
        std::string cannot;    // the next batch's failure where nothing can be written
        std::string note;      // the next note where everything can
    } rows[] = {
        {true,
         {"a.txt", "b.txt"},
         "",
         StagingCall::Rename,
         ".b.txt.staged-",
         "the commit of an earlier run into DIR cannot be finished (cannot move the new b.txt into place: "
         "Input/output error), nor rolled back (Input/output error): the folder holds the new a.txt and the "
         "earlier b.txt",
         "finished the commit of an earlier run into the folder: its a.txt, b.txt are in place"},
        {true,
         {"a.txt", "b.txt"},
         ".b.txt.staged-",
         StagingCall::Rename,
         ".a.txt.kept-",
         "the roll-back of an earlier run into DIR cannot be finished (cannot put back the earlier DIR/a.txt: "
         "Input/output error): the folder holds the new a.txt and the earlier b.txt",
         "finished the roll-back of an earlier run into the folder that failed: the earlier a.txt, b.txt are back"},
        {false,
         {"a.txt", "b.txt"},
         ".b.txt.staged-",
         StagingCall::Unlink,
         ".b.txt.staged-",
         "the roll-back of an earlier run into DIR cannot be finished (cannot remove DIR/STAGED: Input/output "
         "error): the folder holds the new a.txt",
         "finished the roll-back of an earlier run into the folder that failed: a.txt, b.txt are not there, as "
         "before that run"},
        {true,
         {"a.txt"},
         "",
         StagingCall::Unlink,
         ".a.txt.kept-",
         "",
         "finished the commit of an earlier run into the folder: its a.txt is in place"},
    };
    const pid_t parent = ::getpid();
    // The folder and the staged file that the killed batch left.
    const auto named = [&](std::string text) {
        for (std::size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, dir);
        const std::size_t at = text.find("STAGED");
        return at == std::string::npos ? text : text.replace(at, 6, stagedFilesIn("").at(0));
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.note);
        fs::remove_all(dir);
        fs::create_directories(dir);
        Names outputs;
        for (const std::string& name : row.outputs) outputs.push_back(path(name));
        if (row.earlier) runBatch(outputs, Names(outputs.size(), "earlier"));
        gFails = [&](StagingCall call, const std::string& name) {
            if (::getpid() == parent) return true;
            if (call == row.killedAt && name.starts_with(row.killedOn)) ::raise(SIGKILL);
            return call == StagingCall::Rename && !row.fails.empty() && name.starts_with(row.fails);
        };
        ASSERT_EQ(runKilled(outputs, Names(outputs.size(), "new"), 0), -1);
        if (!row.cannot.empty()) {
            EXPECT_EQ(failure([&] { runBatch(outputs, Names(outputs.size(), "newer")); }),
                      outputs[0] + ": " + named(row.cannot) +
                          "; a later run into the folder tries again to finish it; no output of the run is changed");
            // Nor can the lock file be removed: the next batch takes it over.
            EXPECT_EQ(notes, Names{path(".staged-outputs.lock") +
                                   ": cannot remove the lock file of the outputs: Input/output error; a later run "
                                   "into the folder takes it over"});
            notes.clear();
        }
        gFails = nullptr;
        runBatch(outputs, Names(outputs.size(), "newer"));
        EXPECT_EQ(notes, Names{dir + ": " + row.note});
        EXPECT_EQ(textsOf(outputs), Names(outputs.size(), "newer"));
        EXPECT_EQ(namesIn(""), row.outputs);
        notes.clear();
    }
}

}  // namespace
