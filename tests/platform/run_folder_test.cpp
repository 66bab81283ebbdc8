// The run's folder and the output folder held by the descriptors that were
// checked: a folder swapped once checked, a second name made of the file
// checked, a file that a killed exchange displaced, the syncs of each
// folder, and the group and mode of the outputs, also of those a finish
// puts in place. Where root runs the tests, the files planted are another
// user's, as that user would plant them; else the user's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/staging_fixture.h"
#include "tests/support/Users.h"

namespace {

namespace fs = std::filesystem;
using testsupport::gFails;
using testsupport::StagingCall;
using testsupport::userName;

constexpr uid_t kOther = 65534;

// Run before the lock file's first open, once.
std::function<void()> gBeforeLockOpen;
int openAfterPlanting(int folder, const char* name, int flags, mode_t mode) {
    if (gBeforeLockOpen) std::exchange(gBeforeLockOpen, nullptr)();
    return IOMgmt::openFile(folder, name, flags, mode);
}

class RunFolder : public testsupport::StagingTest {
protected:
    void TearDown() override {
        gBeforeLockOpen = nullptr;
        StagingTest::TearDown();
    }
    // Gives the file to another user where root runs the test.
    static void giveAway(const std::string& file) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::lchown(file.c_str(), kOther, kOther), 0) << file;
        }
    }
    static struct stat statOf(const std::string& file) {
        struct stat st {};
        EXPECT_EQ(::lstat(file.c_str(), &st), 0) << file;
        return st;
    }
    // The files' numbers, in decimal.
    static Names numbersOf(const Names& files) {
        Names numbers;
        for (const std::string& file : files) numbers.push_back(std::to_string(statOf(file).st_ino));
        return numbers;
    }
    // The path of the name in the run's folder that starts so, or "none".
    std::string namedInRunFolder(const std::string& start) const {
        for (const std::string& name : namesIn(own(""))) {
            if (name.starts_with(start)) return path(own(name));
        }
        return "none";
    }
    // Runs the step in a child process, which the step kills; whether it did.
    static bool killedIn(const std::function<void()>& step) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            step();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }
};

// Once checked, the run's folder is held: renamed away and replaced by a
// link to another folder as the run takes its lock, it leads the run
// nowhere else (the staged files, the record and the second names stay in
// the folder checked; the other is left as it was). Removed, it is made
// again where a file is made in it; a file that stands at its name then is
// refused, naming it and its owner.
TEST_F(RunFolder, IsHeldByItsDescriptorOnceChecked) {
    enum class Swap { Link, File, Nothing };
    const std::string runFolder = path(own(""));
    const std::string elsewhere = path("elsewhere");
    const std::string theirs = writeFile("elsewhere/.staged-outputs.lock", "theirs");
    giveAway(theirs);
    giveAway(elsewhere);
    const std::string owner = userName(statOf(theirs).st_uid);
    const std::string advice = ::geteuid() == 0 ? "have its owner remove it" : "remove it";
    const std::pair<Swap, std::string> rows[] = {
        {Swap::Link, ""},
        {Swap::File, "the folder of the run's own files " + runFolder + " is a file (of " + owner +
                         "), and is not used; " + advice + ", or write the outputs into another folder"},
        {Swap::Nothing, ""}};
    for (const auto& [swap, refused] : rows) {
        SCOPED_TRACE(static_cast<int>(swap));
        const Names outputs = {writeFile("out.txt", "earlier"), path("new.txt")};
        gFails = [&, swap](StagingCall call, const std::string& name) {
            if (swap == Swap::Link && call == StagingCall::Write && name == ".staged-outputs.lock") {
                fs::rename(runFolder, runFolder + ".moved");
                fs::create_directory_symlink(elsewhere, runFolder);
            }
            return false;
        };
        gBeforeLockOpen = [&, swap] {
            if (swap == Swap::Link) return;
            fs::remove(runFolder);
            if (swap == Swap::File) giveAway(writeFile(fs::path(runFolder).filename(), "theirs"));
        };
        IOMgmt::StagingCalls calls = IOMgmt::setStagingCalls({});
        calls.open = openAfterPlanting;
        IOMgmt::setStagingCalls(calls);
        EXPECT_EQ(failure([&] {
                      runBatch(outputs, {"new", "new"});
                  }),
                  refused.empty() ? "no failure" : outputs[0] + ": " + refused + "; no output of the run is changed");
        EXPECT_EQ(textsOf(outputs), refused.empty() ? (Names{"new", "new"}) : (Names{"earlier", "(none)"}));
        EXPECT_EQ(namesIn("elsewhere"), Names{".staged-outputs.lock"});
        EXPECT_EQ(readFile(theirs), "theirs");
        if (swap == Swap::Link) {
            EXPECT_EQ(namesIn(fs::path(runFolder + ".moved").filename()), Names{});
        }
        fs::remove_all(runFolder + ".moved");
        fs::remove(runFolder);
        fs::remove(outputs[1]);
        EXPECT_EQ(namesIn(""), (Names{"elsewhere", "out.txt"})) << "a run's file was left";
    }
}

// The second name of an earlier output is made of the file checked,
// through its descriptor: a file swapped in at the output's name as the
// copy is made (no link can be) and swapped back before the move gives the
// copy none of its bytes, and the roll-back that follows puts back the
// earlier file's.
TEST_F(RunFolder, ASecondNameIsOfTheFileThatWasChecked) {
    const Names outputs = {writeFile("out.txt", "earlier"), writeFile("second.txt", "earlier second")};
    const std::string swapped = writeFile("swapped.txt", "theirs");
    giveAway(swapped);
    gFails = [&](StagingCall call, const std::string& name) {
        if (call == StagingCall::Link && name == "out.txt") {
            fs::rename(outputs[0], path("held.txt"));
            fs::rename(swapped, outputs[0]);
        }
        if (call == StagingCall::Sync && name.starts_with(".out.txt.copy-")) {
            fs::rename(outputs[0], swapped);
            fs::rename(path("held.txt"), outputs[0]);
        }
        return call == StagingCall::Link || (call == StagingCall::Rename && name.starts_with(".second.txt.staged-"));
    };
    EXPECT_EQ(
        failure([&] {
            runBatch(outputs, {"new", "new second"});
        }),
        outputs[1] + ": cannot move the new file into place: Input/output error; no output of the run is changed");
    EXPECT_EQ(textsOf({outputs[0], outputs[1], swapped}), (Names{"earlier", "earlier second", "theirs"}));
    EXPECT_EQ(namesIn(""), (Names{"out.txt", "second.txt", "swapped.txt"}));
}

// A run killed between the exchange that puts its new output in place and
// its look at the file it displaced, which is not the earlier output (moved
// onto the output's name meanwhile): the next run gives that file its name
// back, never removes it, and names it as it rolls the commit back; the
// earlier output stays under its second name.
TEST_F(RunFolder, AFileDisplacedByAKilledExchangeIsGivenItsNameBack) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string other = writeFile("other.txt", "other");
    giveAway(other);
    const struct stat planted = statOf(other);
    ASSERT_TRUE(killedIn([&] {
        gFails = [&, renames = 0](StagingCall call, const std::string& name) mutable {
            if (call != StagingCall::Rename || !name.starts_with(".out.txt.staged-")) return false;
            // Moved there just before the exchange; killed as it exchanges back.
            if (++renames == 1) fs::rename(other, out);
            if (renames == 2) ::raise(SIGKILL);
            return false;
        };
        failure([&] { runBatch({out}, {"new"}); });
    }));
    runBatch({path("next.txt")}, {"next"});
    const struct stat now = statOf(out);
    EXPECT_TRUE(now.st_ino == planted.st_ino && now.st_uid == planted.st_uid && readFile(out) == "other");
    const Names kept = namesIn(own(""));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(readFile(path(own(kept[0]))), "earlier");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("cannot move the new out.txt into place: " + out + " is "), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("and is rolled back; " + out + " is not the file the run wrote: the earlier file is " +
                            path(own(kept[0])) + ", which stays until you move it back or remove it"),
              std::string::npos)
        << notes[0];
}

// The text with each mark replaced by its text.
std::string filledIn(std::string text, const std::vector<std::pair<std::string, std::string>>& marks) {
    for (const auto& [mark, by] : marks) {
        for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), by);
    }
    return text;
}

// Where another member's second exchange brings a file into the run's
// folder: the batch's own placement, a killed one's placement that the next
// batch finishes, the finish forward, the put-back of a roll-back.
enum class ExchangeStep { Placement, KilledPlacement, FinishForward, PutBack };

class ExchangeBack : public RunFolder {
protected:
    // Each of `theirs` is exchanged onto `out` just before a rename of a
    // name starting `on`: the first before rename number `first` (from 0),
    // the second before the next; the second output's staging fails.
    static void plantExchanges(const Names& theirs, const std::string& out, const std::string& on, int first) {
        gFails = [theirs, out, on, first, calls = 0](StagingCall call, const std::string& name) mutable {
            const int at = call == StagingCall::Rename && name.starts_with(on) ? ++calls - first : -1;
            if (at == 0 || at == 1) ::renameat2(AT_FDCWD, theirs[at].c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE);
            return call == StagingCall::Rename && name.starts_with(".second.txt.staged-");
        };
    }
    // A batch into `out` killed once the first file of theirs is displaced
    // (a killed placement), or at its first rename of `on`.
    void killedBatch(ExchangeStep step, const std::string& on, const Names& theirs, const std::string& out) {
        ASSERT_TRUE(killedIn([&] {
            gFails = [&, calls = 0](StagingCall call, const std::string& name) mutable {
                if (call != StagingCall::Rename || !name.starts_with(on)) return false;
                if (++calls == 1 && step == ExchangeStep::KilledPlacement) fs::rename(theirs[0], out);
                if (calls == 2 || step == ExchangeStep::FinishForward) ::raise(SIGKILL);
                return false;
            };
            runBatch({out}, {"new"});
        }));
    }
    // The next batch leaves what came and names it; once it is moved out,
    // the batch after finishes the roll-back, which takes the first file
    // for no output of the run's.
    void expectLaterBatchesFinish(const std::string& cameTo, const std::string& cameIn, const std::string& out) {
        const std::string next = path("next.txt");
        EXPECT_NE(failure([&] { runBatch({next}, {"next"}); }).find("(" + cameIn + ")"), std::string::npos);
        EXPECT_EQ(readFile(cameTo), "second of theirs");
        fs::rename(cameTo, path("y.txt"));
        notes.clear();
        runBatch({next}, {"next"});
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_TRUE(notes[0].starts_with(dir + ": finished the roll-back") &&
                    notes[0].find(out + " is not the file the run wrote") != std::string::npos)
            << notes[0];
    }
};

// Another member exchanges a file onto the output's name just before an
// exchange, and a second just before the exchange back, which brings that
// second file into the run's folder at each step. What came is named with
// its owner and stays, with the roll-back record, until the user moves it
// out (a hard link of it that the member then puts at the output's name
// too); then the next batch finishes the roll-back.
TEST_F(ExchangeBack, TakesNothingButTheRunsOwnFile) {
    const std::string unfinished =
        "NEXT: the roll-back of an earlier run into DIR cannot be finished (CAME): the "
        "folder holds HOLDS; a later run into the folder tries again to finish it; no "
        "output of the run is changed";
    const struct {
        ExchangeStep step;
        std::string name;  // the name in the run's folder that the second file comes to
        std::string said;
        bool linkedAtOutput = false;  // the member links the file that came at the output's name
    } rows[] = {
        {ExchangeStep::Placement, ".out.txt.staged-",
         "OUT: REFUSED; CAME; OUT is not the file the run wrote: the earlier file is KEPT, which a later run into "
         "the folder tries again to put back"},
        {ExchangeStep::KilledPlacement, ".out.txt.staged-", unfinished},
        {ExchangeStep::FinishForward, ".out.txt.staged-", unfinished},
        {ExchangeStep::PutBack, ".out.txt.kept-",
         "SECOND: cannot move the new file into place: Input/output error; OUT is not the new file, it cannot be "
         "put back (REFUSED); CAME"},
        {ExchangeStep::PutBack, ".out.txt.kept-",
         "SECOND: cannot move the new file into place: Input/output error; OUT is not the new file, it cannot be "
         "put back (REFUSED); CAME",
         true},
    };
    const std::string out = path("out.txt");
    const std::string me = testsupport::thisUser();
    const bool root = ::geteuid() == 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.step));
        if (row.linkedAtOutput && testsupport::leftOutUnlessRoot("a hard link of another member's file")) continue;
        for (const char* name : {"out.txt", "x.txt", "y.txt", "next.txt"}) fs::remove(path(name));
        fs::remove_all(path(own("")));
        writeFile("out.txt", "earlier");
        const std::string second = writeFile("second.txt", "earlier second");
        const Names theirs = {writeFile("x.txt", "first of theirs"), writeFile("y.txt", "second of theirs")};
        for (const std::string& file : theirs) giveAway(file);
        const struct stat came = statOf(theirs[1]);
        std::string said;
        if (row.step == ExchangeStep::Placement || row.step == ExchangeStep::PutBack) {
            plantExchanges(theirs, out, row.name, 1);
            said = failure([&] { runBatch({out, second}, {"new", "new second"}); });
        } else {
            killedBatch(row.step, row.name, theirs, out);
            plantExchanges(theirs, out, row.name, row.step == ExchangeStep::KilledPlacement ? 0 : 1);
            said = failure([&] { runBatch({path("next.txt")}, {"next"}); });
        }
        gFails = nullptr;
        const std::string cameTo = namedInRunFolder(row.name);
        const struct stat now = statOf(cameTo);
        EXPECT_TRUE(now.st_ino == came.st_ino && now.st_uid == came.st_uid && readFile(cameTo) == "second of theirs");
        const std::string cameIn = cameTo + " is a file of " + userName(came.st_uid) + " that came from " + out +
                                   " by an exchange, not the run's own, and is left as it is: move it out of " +
                                   path(own(""));
        const std::string refused =
            root ? "is owned by " + userName(kOther) + ", not by " + me +
                       " (the user of this run), and is not replaced; have its owner remove it, or write the outputs "
                       "into another folder"
                 : "is a file of " + me +
                       " made there since the run began, and is not replaced; remove it, or write the outputs into "
                       "another folder";
        EXPECT_EQ(said, filledIn(row.said, {{"REFUSED", refused},
                                            {"HOLDS", root ? "out.txt, which is not the user's file"
                                                           : "out.txt, which that run did not write"},
                                            {"CAME", cameIn},
                                            {"KEPT", namedInRunFolder(".out.txt.kept-")},
                                            {"OUT", out},
                                            {"NEXT", path("next.txt")},
                                            {"SECOND", second},
                                            {"DIR", dir}}));
        // A second name may be a copy, of a number no record holds: a later
        // batch knows a file there by its owner only.
        if (!root && row.step == ExchangeStep::PutBack) continue;
        if (row.linkedAtOutput) {
            fs::remove(out);
            fs::create_hard_link(cameTo, out);
        }
        expectLaterBatchesFinish(cameTo, cameIn, out);
    }
}

// The finish and the roll-back of a killed commit know each file by the
// number the record gives, never by its bytes. A run of unchanged outputs
// whose commit fails, killed as it puts back (its earlier file linked, or
// copied where no link can be made), leaves the earlier files, which the
// next batch finds back. A killed run's folder renamed away while a later
// run writes the same outputs anew, then moved back: the next batch rolls
// it back, leaving the later run's outputs and naming the second names;
// where it can begin no roll-back, it fails, saying what the folder holds.
TEST_F(RunFolder, AFinishKnowsEachFileByTheNumberItsRecordGives) {
    enum class Killed { PuttingBack, PuttingBackACopy, FolderAway };
    const struct {
        Killed killed;
        std::string note;
    } rows[] = {
        {Killed::PuttingBack,
         "finished the roll-back of an earlier run into the folder that failed: the earlier "
         "OUT, SECOND are back"},
        {Killed::PuttingBackACopy,
         "finished the roll-back of an earlier run into the folder that failed: the earlier "
         "OUT, SECOND are back"},
        {Killed::FolderAway,
         "the commit of an earlier run into the folder cannot be finished (the new OUT is gone), "
         "and is rolled back; DIR/OUT is not the file the run wrote: the earlier file is "
         "KEPT-OUT, which stays until you move it back or remove it; DIR/SECOND is not the file "
         "the run wrote: the earlier file is KEPT-SECOND, which stays until you move it back or "
         "remove it"},
    };
    const Names outputs = {path("out.txt"), path("second.txt")};
    const Names texts = {"same", "same second"};
    const std::string away = path("away");
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.killed));
        for (const char* name : {"out.txt", "second.txt", "next.txt"}) fs::remove(path(name));
        fs::remove_all(path(own("")));
        runBatch(outputs, texts);
        const Names before = numbersOf(outputs);
        ASSERT_TRUE(killedIn([&] {
            gFails = [&](StagingCall call, const std::string& name) {
                if (call == StagingCall::Link) return row.killed == Killed::PuttingBackACopy;
                const bool second = call == StagingCall::Rename && name.starts_with(".second.txt.staged-");
                if ((second && row.killed == Killed::FolderAway) ||
                    (call == StagingCall::Unlink && name.starts_with(".out.txt.kept-"))) {
                    ::raise(SIGKILL);
                }
                return second;
            };
            runBatch(outputs, texts);
        }));
        gFails = nullptr;
        const std::string runFolder = path(own(""));
        if (row.killed == Killed::FolderAway) {
            fs::rename(runFolder, away);
            runBatch(outputs, texts);
            fs::rename(away, runFolder);
            gFails = [once = true](StagingCall call, const std::string& name) mutable {
                return call == StagingCall::Rename && name == ".staged-outputs.commit" && std::exchange(once, false);
            };
            EXPECT_EQ(failure([&] { runBatch({path("next.txt")}, {"next"}); }),
                      path("next.txt") + ": the commit of an earlier run into " + dir +
                          " cannot be finished (the new out.txt is gone), nor rolled back (Input/output error): the "
                          "folder holds out.txt, second.txt, which that run did not write; a later run into the "
                          "folder tries again to finish it; no output of the run is changed");
        }
        const Names found = numbersOf(outputs);
        notes.clear();
        runBatch({path("next.txt")}, {"next"});
        // The killed run's earlier files, or the later run's outputs, stay.
        EXPECT_EQ(textsOf(outputs), texts);
        EXPECT_EQ(numbersOf(outputs), found);
        if (row.killed == Killed::PuttingBack) {
            EXPECT_EQ(found, before);
        }
        EXPECT_EQ(notes, Names{dir + ": " +
                               filledIn(row.note, {{"KEPT-OUT", namedInRunFolder(".out.txt.kept-")},
                                                   {"KEPT-SECOND", namedInRunFolder(".second.txt.kept-")},
                                                   {"OUT", "out.txt"},
                                                   {"SECOND", "second.txt"},
                                                   {"DIR", dir}})});
    }
}

// The record's rename is durable in the run's folder, and the run's folder
// in the output folder, before any output moves; the outputs' renames
// before the record goes, and the record's removal after.
TEST_F(RunFolder, EachStepIsSyncedInTheFolderItChanges) {
    const std::string folder = fs::path(dir).filename();
    Names steps;
    gFails = [&](StagingCall call, const std::string& name) {
        if (call == StagingCall::Rename && name == ".staged-outputs.commit") steps.push_back("record");
        if (call == StagingCall::Rename && name.starts_with(".out.txt.staged-")) steps.push_back("move");
        if (call == StagingCall::Unlink && name == ".staged-outputs.commit") steps.push_back("no record");
        if (call == StagingCall::FolderSync) steps.push_back(name == folder ? "sync outputs" : "sync own");
        return false;
    };
    runBatch({writeFile("out.txt", "earlier")}, {"new"});
    EXPECT_EQ(steps, (Names{"record", "sync own", "sync outputs", "move", "sync outputs", "no record", "sync own"}));
}

// An output that a finish of a killed commit puts in place gets the mode
// the run gives it: that of its earlier file, or of a new file, less the
// umask of the run that finishes it; an earlier file whose second name the
// killed run made has that name besides its own, and still lends its mode.
TEST_F(RunFolder, AnOutputPutInPlaceByAFinishHasItsMode) {
    const struct {
        mode_t earlier;  // 0: none
        mode_t umask;
        mode_t expected;
        bool kept = false;  // killed at the move, once the earlier file has its second name
    } rows[] = {{0, 022, 0644}, {0640, 077, 0600}, {0604, 022, 0604}, {0640, 022, 0640, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        const std::string out = path("out.txt");
        fs::remove(out);
        if (row.earlier != 0) fs::permissions(writeFile("out.txt", "earlier"), fs::perms(row.earlier));
        const mode_t previous = ::umask(row.umask);
        ASSERT_TRUE(killedIn([&] {
            // Killed once its record is in place, before its staged file has its mode, or at its move.
            gFails = [&row](StagingCall call, const std::string& name) {
                if (row.kept ? call == StagingCall::Rename && name.starts_with(".out.txt.staged-")
                             : call == StagingCall::FolderSync) {
                    ::raise(SIGKILL);
                }
                return false;
            };
            runBatch({out}, {"new"});
        }));
        runBatch({path("next.txt")}, {"next"});
        ::umask(previous);
        EXPECT_EQ(readFile(out), "new");
        EXPECT_EQ(statOf(out).st_mode & 07777, row.expected);
    }
}

// Each output gets the group that a file made in the output folder gets:
// the folder's own where it is set-group-ID (a run's folder left there
// without it too), else the run's. Only root can give a folder a group of
// another user's.
TEST_F(RunFolder, AnOutputTakesTheGroupOfASetGroupIdFolder) {
    const struct {
        mode_t folderMode;
        bool runFolderBefore;  // a run's folder stands there, made without the folder's group
        gid_t expected;
    } rows[] = {{02775, false, kOther}, {02775, true, kOther}, {0775, false, ::getegid()}};
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        if (row.expected != ::getegid() && testsupport::leftOutUnlessRoot("row " + std::to_string(&row - rows))) {
            continue;
        }
        fs::remove_all(path("shared"));
        fs::create_directories(path("shared"));
        if (row.runFolderBefore) own("", "shared");
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(path("shared").c_str(), 0, kOther), 0);
        }
        ASSERT_EQ(::chmod(path("shared").c_str(), row.folderMode), 0);
        runBatch({path("shared/out.txt")}, {"new"});
        EXPECT_EQ(statOf(path("shared/out.txt")).st_gid, row.expected);
        EXPECT_EQ(namesIn("shared"), Names{"out.txt"});
    }
}

}  // namespace
