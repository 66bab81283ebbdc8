// The staged writes: permissions, failed syncs and renames, one job at a
// time per output folder, a folder that cannot be synced, an earlier file
// that cannot be put back or is a link, what each failure of the lock file
// says, and names too long.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
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

class Staging : public testsupport::StagingTest {};

// Staged files and records are private until the mode is applied (written by a user whom a mode can stop).
// Only the user's own file of one name lends its read and write bits, less the umask.
TEST_F(Staging, AnOutputIsNoWiderThanTheUmaskOrTheFileItReplaces) {
    enum class Before { None, Regular0640, Regular04777, TwoNames0666, NoneAppended, Regular0200 };
    const struct {
        mode_t umask;
        Before before;
        fs::perms expected;
    } rows[] = {
        {077, Before::None, fs::perms(0600)},         {022, Before::None, fs::perms(0644)},
        {077, Before::Regular0640, fs::perms(0600)},  {022, Before::Regular0640, fs::perms(0640)},
        {022, Before::Regular04777, fs::perms(0644)},  // no special bit, no execute bit
        {077, Before::TwoNames0666, fs::perms(0600)}, {077, Before::NoneAppended, fs::perms(0600)},
        {022, Before::NoneAppended, fs::perms(0644)}, {0, Before::None, fs::perms(0666)},
        {022, Before::Regular0200, fs::perms(0200)},
    };
    const std::string out = path("out.txt");
    const std::string target = writeFile("target.txt", "target");
    fs::permissions(target, fs::perms::all);
    ASSERT_TRUE(::geteuid() != 0 || (::chown(dir.c_str(), 65534, 65534) == 0 && ::seteuid(65534) == 0));
    std::vector<fs::perms> synced;  // the modes in the run's folder as the staged file, then the record, is synced
    gFails = [&](StagingCall call, const std::string&) {
        if (call != StagingCall::Sync) return false;
        for (const auto& file : fs::directory_iterator(path(own("")))) {
            if (file.path().filename() != ".staged-outputs.lock") synced.push_back(file.status().permissions());
        }
        return false;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "umask " << std::oct << row.umask << ", before " << int(row.before));
        fs::remove(out);
        synced.clear();
        if (row.before == Before::Regular0640) fs::permissions(writeFile("out.txt", "old"), fs::perms(0640));
        if (row.before == Before::Regular0200) fs::permissions(writeFile("out.txt", "old"), fs::perms(0200));
        if (row.before == Before::Regular04777) fs::permissions(writeFile("out.txt", "old"), fs::perms(04777));
        if (row.before == Before::TwoNames0666) {
            fs::permissions(writeFile("out.txt", "old"), fs::perms(0666));
            fs::create_hard_link(out, path("second name"));
        }
        const mode_t previous = ::umask(row.umask);
        if (row.before == Before::NoneAppended) {
            IOMgmt::appendToFile(out, "new");
        } else {
            IOMgmt::OutputBatch batch({out});
            IOMgmt::writeFileAtomically(out, "new");
            batch.commit();
        }
        ::umask(previous);
        EXPECT_EQ(synced, std::vector<fs::perms>(row.before == Before::NoneAppended ? 0 : 3, fs::perms(0600)));
        EXPECT_EQ(fs::symlink_status(out).permissions(), row.expected);
        if (row.before == Before::Regular0200) fs::permissions(out, fs::perms(0600));  // to read it
        EXPECT_EQ(readFile(out), "new");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms::all);
        EXPECT_EQ(readFile(target), "target");
    }
}

TEST_F(Staging, NoOutputIsReplacedBeforeEveryOneIsSynced) {
    const Names outputs = {path("a.txt"), path("b.txt"), path("c.txt")};
    bool replacedEarly = false;
    int syncs = 0;
    int failingSync = 0;
    gFails = [&](StagingCall call, const std::string&) {
        if (call != StagingCall::Sync) return false;
        for (const std::string& output : outputs) replacedEarly = replacedEarly || readFile(output) != "earlier";
        return ++syncs == failingSync;
    };
    // The sync that fails; none in the last row.
    for (const int failing : {1, 2, 3, 0}) {
        SCOPED_TRACE(failing);
        for (const std::string& output : outputs) writeFile(fs::path(output).filename(), "earlier");
        IOMgmt::OutputBatch batch(outputs);
        for (const std::string& output : outputs) IOMgmt::writeFileAtomically(output, "new");
        syncs = 0;
        failingSync = failing;
        const std::string problem = failure([&] { batch.commit(); });
        EXPECT_FALSE(replacedEarly);
        if (failing == 0) {
            EXPECT_EQ(problem, "no failure");
            continue;
        }
        EXPECT_EQ(problem, outputs[failing - 1] +
                               ": cannot write the temporary file to the disk: Input/output error; no output of the "
                               "run is changed");
        for (const std::string& output : outputs) EXPECT_EQ(readFile(output), "earlier") << output;
    }
    EXPECT_EQ(namesIn(""), (Names{"a.txt", "b.txt", "c.txt"})) << "a temporary file was left";
}

// The second output's move into place fails after the first output's
// succeeded; or before any move, the copy of the earlier first file, or the
// second folder's commit record (written, synced, renamed into place, its
// folder synced, all before any output is touched), cannot be made, and
// goes, with the first folder's record. A copy is private until its bytes
// are written, and never takes a special bit.
TEST_F(Staging, AFailedRenamePutsBackTheOutputsMovedBeforeIt) {
    using Fails = std::function<bool(StagingCall, const std::string&)>;
    const std::string renameFailed = "b/second.txt: cannot move the new file into place: Input/output error";
    const std::string keepFailed = "a/first.txt: cannot keep the earlier file to put back should the run fail: ";
    const std::string recordFailed =
        own(".staged-outputs.commit: cannot write the commit record of the outputs: ", "b");
    const auto copyFails = [](StagingCall failing) -> Fails {
        return [failing](StagingCall call, const std::string& name) {
            return call == failing && name.starts_with(".first.txt.copy-");
        };
    };
    // The second call on a record fails: the second folder's.
    const auto recordFails = [](StagingCall failing) -> Fails {
        return [failing, calls = 0](StagingCall call, const std::string& name) mutable {
            return call == failing && name == ".staged-outputs.commit-new" && ++calls > 1;
        };
    };
    // The sync of a folder once the record is in it: the second output folder, or the first run's folder.
    const auto folderSyncFails = [](const std::string& folder) -> Fails {
        return [folder](StagingCall call, const std::string& name) {
            return call == StagingCall::FolderSync && name.starts_with(folder);
        };
    };
    const struct {
        bool firstExisted;
        bool linksRefused;  // the earlier file is kept as a copy; a link cannot be
        std::string problem;
        Fails fails = {};
        bool sameBytes = false;  // the earlier first file holds what the new one does
    } rows[] = {
        {true, true, keepFailed + "No space left on device", copyFails(StagingCall::Write)},
        {true, true, keepFailed + "Input/output error", copyFails(StagingCall::Sync)},
        {true, true, keepFailed + "Input/output error", copyFails(StagingCall::Rename)},
        {true, false, recordFailed + "No space left on device", recordFails(StagingCall::Write)},
        {true, false, recordFailed + "Input/output error", recordFails(StagingCall::Sync)},
        {true, false, recordFailed + "Input/output error", recordFails(StagingCall::Rename)},
        {true, false, "b: cannot sync the output folder to the disk: Input/output error", folderSyncFails("b")},
        {true, false, own("", "a") + ": cannot sync the folder of the run's own files to the disk: Input/output error",
         folderSyncFails(".staged-outputs.")},
        {true, false, renameFailed},
        {true, false, renameFailed, {}, true},
        {false, false, renameFailed},
        {true, true, renameFailed},
    };
    const std::string first = path("a/first.txt");
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        fs::remove_all(path("a"));
        fs::permissions(writeFile("a/elsewhere.txt", row.sameBytes ? "new first" : "earlier first"), fs::perms(0640));
        fs::permissions(writeFile("a/special.txt", "earlier special"), fs::perms(04750));
        if (row.firstExisted) fs::copy_file(path("a/elsewhere.txt"), first);
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::Link) return row.linksRefused;
            // A copy takes the earlier file's permissions once its bytes are written.
            if (call == StagingCall::Write && name.find(".copy-") != std::string::npos) {
                EXPECT_EQ(fs::status(path(own(name, name.starts_with(".second") ? "b" : "a"))).permissions(),
                          fs::perms(0600));
            }
            if (call == StagingCall::Sync && name.starts_with(".special.txt.copy-")) {
                EXPECT_EQ(fs::status(path(own(name, "a"))).permissions(), fs::perms(0750));
            }
            if (row.fails && row.fails(call, name)) return true;
            return call == StagingCall::Rename && name.starts_with(".second.txt.staged-");
        };
        {
            IOMgmt::OutputBatch batch({first, writeFile("b/second.txt", "earlier second"), path("a/special.txt")});
            IOMgmt::writeFileAtomically(first, "new first");
            IOMgmt::writeFileAtomically(path("a/special.txt"), "new special");
            IOMgmt::writeFileAtomically(path("b/second.txt"), "new second");
            EXPECT_EQ(failure([&] { batch.commit(); }), path(row.problem) + "; no output of the run is changed");
        }
        EXPECT_EQ(readFile(first), !row.firstExisted ? "" : row.sameBytes ? "new first" : "earlier first");
        EXPECT_EQ(fs::status(first).permissions(), row.firstExisted ? fs::perms(0640) : fs::perms::unknown);
        EXPECT_EQ(namesIn("a"), row.firstExisted ? (Names{"elsewhere.txt", "first.txt", "special.txt"})
                                                 : (Names{"elsewhere.txt", "special.txt"}));
        EXPECT_EQ(fs::status(path("a/special.txt")).permissions(), fs::perms(04750));
        EXPECT_EQ(namesIn("b"), Names{"second.txt"});
        EXPECT_EQ(readFile(path("b/second.txt")), "earlier second");
    }
}

// A held lock names its holder: the run the lock file names, or another
// process that holds it instead (that run gone). The lock file is private
// from the moment it is made, whatever the umask. A run of another user
// into the folder holds its own folder's lock (only root can make one
// here) and keeps none of this user's runs waiting.
TEST_F(Staging, OneJobAtATimeWritesOutputsIntoAFolder) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string lockFile = path(own(".staged-outputs.lock"));
    const std::string me = "process " + std::to_string(::getpid());
    {
        std::vector<fs::perms> written;
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::Write && name == ".staged-outputs.lock")
                written.push_back(fs::status(lockFile).permissions());
            return false;
        };
        const mode_t previous = ::umask(0);
        IOMgmt::OutputBatch batch({out, path("other.txt")});
        IOMgmt::writeFileAtomically(out, "first");
        ::umask(previous);
        // A line for a job that waits, and the outputs for the next job; private.
        EXPECT_EQ(readFile(lockFile), me + ", writing out.txt, other.txt\n");
        EXPECT_EQ(written, std::vector<fs::perms>{fs::perms(0600)});
        gFails = nullptr;
    }
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string named = "process " + std::to_string(gone) + ", writing GA-efile.txt";
    const std::string other = "the lock file of the outputs " + lockFile + " is held by " + me +
                              ", not by the run it names (" + named + ", which no longer runs)";
    // The lock file's line, and the failure.
    const std::pair<std::string, std::string> rows[] = {
        {me + ", x",
         "another run is writing its outputs in " + dir + " (" + me + ", x) and has not finished after 100 ms"},
        {named, other + ", and is not let go after 100 ms: end that process, or remove the lock file"}};
    for (const auto& [line, held] : rows) {
        // Another process's job holds the folder (a lock of another open file conflicts in this process too).
        writeFile(own(".staged-outputs.lock"), line + "\n");
        const int fd = ::open(lockFile.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        IOMgmt::OutputBatch batch({out}, std::chrono::milliseconds(100));
        EXPECT_EQ(failure([&] { IOMgmt::writeFileAtomically(out, "second"); }),
                  out + ": " + held + "; no output of the run is changed");
        ::close(fd);
    }
    if (!testsupport::leftOutUnlessRoot("a run of another user into the folder")) {
        const std::string theirs = path(".staged-outputs.65534");
        fs::create_directories(theirs);
        ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
        const int fd = ::open((theirs + "/.staged-outputs.lock").c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        runBatch({out}, {"beside another user's run"});
        ::close(fd);
        fs::remove_all(theirs);
    }
    writeFile(own(".staged-outputs.lock"), named + "\n");
    const int held = ::open(lockFile.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // The other job ends while this one waits: it lets the folder go when
    // the waiting job says it waits.
    notes.clear();
    IOMgmt::IOMgr::getInstance().setNoticeSink([this, held](const std::string& text) {
        notes.push_back(text);
        ::close(held);
    });
    {
        IOMgmt::OutputBatch batch({out}, std::chrono::seconds(30));
        IOMgmt::writeFileAtomically(out, "third");
        batch.commit();
    }
    IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr);
    EXPECT_EQ(notes, Names{other + "; waiting up to 30 seconds for it to be let go"});
    EXPECT_EQ(readFile(out), "third");
    EXPECT_EQ(namesIn(""), Names{"out.txt"}) << "the lock file was left";
}

// The job that holds the folder removes the lock file as it lets it go: a
// job that opened the file just before takes the folder with a new one.
TEST_F(Staging, AJobThatOpensTheLockFileAsItIsRemovedLocksANewOne) {
    const std::string out = writeFile("out.txt", "earlier");
    writeFile(own(".staged-outputs.lock"), "process 1, writing out.txt\n");
    static int opens;
    opens = 0;
    IOMgmt::StagingCalls calls = IOMgmt::setStagingCalls({});
    calls.open = [](int folder, const char* name, int flags, mode_t mode) {
        const int fd = ::openat(folder, name, flags, mode);
        if (++opens == 1) ::unlinkat(folder, name, 0);
        return fd;
    };
    IOMgmt::setStagingCalls(calls);
    runBatch({out}, {"new"});
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(readFile(out), "new");
    EXPECT_EQ(namesIn(""), Names{"out.txt"}) << "the lock file was left";
}

// The folder cannot be synced after the renames: the outputs are in place
// and the commit says they may not survive a power failure. When a rename
// failed first, what was put back may not either.
TEST_F(Staging, AFolderThatCannotBeSyncedFailsTheCommit) {
    const struct {
        bool renameFails;
        std::string problem;
    } rows[] = {
        {false,
         dir + ": cannot sync the output folder to the disk: Input/output error; the outputs are in place, but may "
               "not survive a power failure"},
        {true, path("second.txt") +
                   ": cannot move the new file into place: Input/output error; no output of the run is "
                   "changed; the folder " +
                   dir +
                   " cannot be synced to the disk (Input/output error): a power failure may undo what was put back"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.renameFails);
        const Names outputs = {writeFile("first.txt", "earlier first"), writeFile("second.txt", "earlier second")};
        int folderSyncs = 0;  // the first is the commit record's
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::Rename) return row.renameFails && name.starts_with(".second.txt.staged-");
            return call == StagingCall::FolderSync && name == fs::path(dir).filename() && ++folderSyncs > 1;
        };
        EXPECT_EQ(failure([&] { runBatch(outputs, {"new first", "new second"}); }), row.problem);
        const std::string texts = row.renameFails ? "earlier " : "new ";
        EXPECT_EQ(textsOf(outputs), (Names{texts + "first", texts + "second"}));
        EXPECT_EQ(namesIn(""), (Names{"first.txt", "second.txt"})) << "a temporary, kept or lock file was left";
    }
}

// The second output's move fails, and so does putting the first one back:
// its earlier file stays under its second name, which the failure names
// whole and every later batch into the folder, one of other outputs too,
// names as the earlier file of that output (of two whose long names begin
// alike too); a user's files named like second names are not named.
TEST_F(Staging, AnEarlierFileThatCouldNotBePutBackIsKeptUntilTheUserActs) {
    for (const std::string& stem : {std::string("first"), std::string(210, 'r')}) {
        SCOPED_TRACE(stem.size());
        const std::string folder = std::to_string(stem.size());
        const Names outputs = {writeFile(folder + "/" + stem + ".print.txt", "earlier print"),
                               writeFile(folder + "/" + stem + ".xml", "earlier xml")};
        gFails = [&](StagingCall call, const std::string& name) {
            return call == StagingCall::Rename && (name == stem + ".xml" || name.find(".kept-") != std::string::npos);
        };
        const std::string problem = failure([&] { runBatch(outputs, {"new print", "new xml"}); });
        gFails = nullptr;
        const Names left = namesIn(own("", folder));
        ASSERT_EQ(left.size(), 1u) << problem;
        ASSERT_NE(left[0].find(".kept-"), std::string::npos) << left[0];
        const std::string kept = path(own(left[0], folder));
        EXPECT_EQ(problem, outputs[1] + ": cannot move the new file into place: Input/output error; " + outputs[0] +
                               " is the new file, it cannot be put back (Input/output error): the earlier file is " +
                               kept + ", which stays until you move it back or remove it");
        notes.clear();
        runBatch(outputs, {"newer print", "newer xml"});
        runBatch({path(folder + "/other.txt")}, {"other"});
        const std::string note = kept + " is an earlier " + outputs[0] +
                                 " that a run could not put back; it stays until you move it back or remove it";
        EXPECT_EQ(notes, (Names{note, note}));
        EXPECT_EQ(readFile(kept), "earlier print");
        // Three are named one by one, and a fourth is counted.
        const std::string more = path(own("", folder)) +
                                 " holds 1 more files named like an earlier output that a run could not put back "
                                 "(.NAME.kept-XXXXXX); each stays until it is moved back or removed";
        for (const std::size_t count : {3u, 4u}) {
            while (namesIn(own("", folder)).size() < count) {
                writeFile(
                    own(IOMgmt::detail::temporaryStem(stem + ".print.txt") + ".kept-" + IOMgmt::detail::randomPart(),
                        folder),
                    "kept");
            }
            notes.clear();
            runBatch({path(folder + "/other.txt")}, {"other"});
            EXPECT_EQ(notes.size(), count == 3 ? 3u : 4u);
            EXPECT_EQ(notes.back() == more, count == 4);
        }
    }
}

// A folder the run's folder cannot be made in (read-only; root, who writes
// there all the same, takes another user's rights meanwhile), or what
// stands at the lock file's name: each failure names the output, the file
// and the true cause.
TEST_F(Staging, EveryFailureOfTheLockFileNamesItAndItsCause) {
    const std::string out = path("out/out.txt");
    const struct {
        std::function<void()> inTheWay;
        std::string problem;
    } rows[] = {
        {[&] {
             fs::permissions(path("out"), fs::perms(0555));
             fs::permissions(dir, fs::perms(0755));
             ASSERT_TRUE(::geteuid() != 0 || (::chown(out.c_str(), 65534, 65534) == 0 && ::seteuid(65534) == 0));
         },
         "cannot create the folder of the run's own files " + path("out/.staged-outputs.") + "UID: Permission denied"},
        {[&] { fs::create_directory(path(own(".staged-outputs.lock", "out"))); },
         "cannot create the lock file of the outputs " + path("out/.staged-outputs.") + "UID/.staged-outputs.lock" +
             ": Is a directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.problem);
        writeFile("out/out.txt", "earlier");
        row.inTheWay();
        std::string problem = row.problem;
        if (const std::size_t at = problem.find("UID"); at != std::string::npos) {
            problem.replace(at, 3, std::to_string(::geteuid()));
        }
        EXPECT_EQ(failure([&] { runBatch({out}, {"new"}); }),
                  out + ": " + problem + "; no output of the run is changed");
        ASSERT_TRUE(::geteuid() == ::getuid() || ::seteuid(::getuid()) == 0);
        fs::permissions(path("out"), fs::perms(0755));
        EXPECT_EQ(readFile(out), "earlier");
        fs::remove_all(path("out"));
    }
}

// What an output may not replace (a link, a folder, another user's file,
// which only root can make) is refused before any file is written, naming
// it and its owner; so is one put there once the output is staged, or as
// it is moved into place (another user's set-user-ID file, in a folder
// with the sticky bit): where no output stood, or over the earlier file,
// which the exchange finds is not the one recorded and puts back; on a
// file system without the exchange too. An append refuses alike.
TEST_F(Staging, AnOutputIsRefusedWhereItWouldReplaceWhatIsNotTheUsers) {
    const std::string out = path("out/out.txt");
    const std::string me = testsupport::thisUser();
    const std::string mine = "), and is not replaced; remove it, or write the outputs into another folder";
    const std::string theirs = "is owned by " + testsupport::userName(65534) + ", not by " + me +
                               " (the user of this run), and is not replaced; have its owner remove it, or write the "
                               "outputs into another folder";
    // Another user's file, new or (over the earlier output) of its number.
    const auto planted = [&](bool sameNumber) {
        fs::permissions(path("out"), fs::perms(01777));
        if (!sameNumber) fs::remove(out);
        ASSERT_EQ(::chown(writeFile("out/out.txt", "theirs").c_str(), 65534, 65534), 0);
        fs::permissions(out, fs::perms(04777));
    };
    enum class When { Before, Staged, AtRename };
    const struct {
        std::function<void()> inTheWay;
        std::string what;
        When when;
        bool earlier = false;     // an earlier output stood there
        bool noExchange = false;  // the file system takes no flags
    } rows[] = {{[&] { fs::create_symlink("target.txt", out); }, "is a symbolic link (of " + me + mine, When::Before},
                {[&] { fs::create_symlink("target.txt", out); }, "is a symbolic link (of " + me + mine, When::Staged},
                {[&] { planted(false); }, theirs, When::Before},
                {[&] { planted(false); }, theirs, When::Staged},
                {[&] { planted(false); }, theirs, When::AtRename},
                {[&] { planted(false); }, theirs, When::AtRename, false, true},
                {[&] { planted(true); }, theirs, When::AtRename, true},
                {[&] { planted(true); }, theirs, When::AtRename, true, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        if (&row - rows >= 2 && testsupport::leftOutUnlessRoot("row " + std::to_string(&row - rows))) continue;
        fs::remove_all(path("out"));
        writeFile("out/target.txt", "target");
        if (row.earlier) writeFile("out/out.txt", "earlier");
        if (row.when == When::Before) row.inTheWay();
        testsupport::gNoExchange = row.noExchange;
        gFails = [&, once = true](StagingCall call, const std::string& name) mutable {
            if (row.when == When::AtRename && call == StagingCall::Rename && name.starts_with(".out.txt.staged-") &&
                std::exchange(once, false)) {
                row.inTheWay();
            }
            return false;
        };
        bool began = false;  // no lock file is made before the refusal
        EXPECT_EQ(failure([&] {
                      IOMgmt::OutputBatch batch({out});
                      began = true;
                      IOMgmt::writeFileAtomically(out, "new");
                      if (row.when == When::Staged) row.inTheWay();
                      batch.commit();
                  }),
                  out + ": " + row.what + "; no output of the run is changed");
        EXPECT_EQ(began, row.when != When::Before);
        EXPECT_EQ(namesIn("out"), (Names{"out.txt", "target.txt"}));
        if (row.when != When::AtRename) continue;
        EXPECT_EQ(readFile(out), "theirs");
        struct stat st {};
        EXPECT_TRUE(::stat(out.c_str(), &st) == 0 && st.st_uid == 65534 && (st.st_mode & 07777) == 04777);
    }
    gFails = nullptr;
    // An append: through no link, into no file of another user.
    fs::create_symlink("target.txt", out + ".link");
    const std::string theirsFile = writeFile("out/theirs.txt", "theirs");
    for (const auto& [name, what] :
         {std::pair<std::string, std::string>{"out.txt.link", "is a symbolic link (of " + me + ")"},
          {"theirs.txt", theirs.substr(0, theirs.find(", and"))}}) {
        if (name == "theirs.txt") {
            if (testsupport::leftOutUnlessRoot("an append to " + name)) continue;
            ASSERT_EQ(::chown(theirsFile.c_str(), 65534, 65534), 0);
        }
        EXPECT_EQ(failure([&] { IOMgmt::appendToFile(path("out/" + name), "mine"); }),
                  path("out/" + name) + ": " + what + ", and is not written; " +
                      (name == "theirs.txt" ? "have its owner remove it, or write the outputs into another folder"
                                            : "remove it, or write the outputs into another folder"));
    }
    EXPECT_EQ(readFile(path("out/target.txt")) + readFile(path("out/theirs.txt")), "targettheirs");
}

// A name longer than the folder's file system takes, or a path longer than
// a file call takes once the temporary names are counted, is refused before
// the folder is claimed. A folder still to be made is judged by the one
// above it.
TEST_F(Staging, ANameTooLongIsRefusedBeforeAnyFileIsMade) {
    const std::string longest(255, 'n');
    std::string deep = dir;
    while (deep.size() < 4080) deep += "/" + std::string(200, 'd');
    const auto tooLong = [](const std::string& folder) {
        return "its name is 256 bytes, longer than the 255 bytes that a file written in " + folder + " may have";
    };
    const struct {
        std::string folder;  // empty: none can be made
        std::string path;
        std::string why;  // empty: written
    } rows[] = {
        {"fits", path("fits/" + longest), ""},
        {"long", path("long/" + longest + "n"), tooLong(path("long"))},
        {"to/be/made", path("to/be/made/" + longest + "n"), tooLong(path("to/be/made"))},
        {"", deep + "/x",
         "its path is " + std::to_string(deep.size() + 2) + " bytes, and the temporary names written beside it make " +
             std::to_string(deep.size() + 18 + (".staged-outputs." + std::to_string(::geteuid())).size()) +
             ", longer than the 4095 bytes that a path may have"},
    };
    fs::create_directories(path("long"));
    for (const auto& row : rows) {
        EXPECT_EQ(IOMgmt::nameTooLong(row.path), row.why);
        if (row.folder.empty()) continue;
        fs::create_directories(path(row.folder));
        EXPECT_EQ(failure([&] { runBatch({row.path}, {"text"}); }),
                  row.why.empty() ? "no failure"
                                  : row.path + ": cannot be written: " + row.why + "; no output of the run is changed");
        EXPECT_EQ(namesIn(row.folder), row.why.empty() ? Names{longest} : Names{});
    }
}

// Two files are one only on one device: the roots of two file systems
// often share a file number.
TEST_F(Staging, TwoFilesOnTwoDevicesAreNeverOneFile) {
    const Names roots = {"/proc", "/sys", "/dev", "/dev/shm", "/dev/pts", "/sys/fs/cgroup", "/"};
    for (const std::string& a : roots) {
        for (const std::string& b : roots) {
            struct stat first {};
            struct stat second {};
            if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0 || first.st_ino != second.st_ino ||
                first.st_dev == second.st_dev) {
                continue;
            }
            EXPECT_FALSE(IOMgmt::namesSameFile(a, b)) << a << ", " << b;
            EXPECT_TRUE(IOMgmt::namesSameFile(a, a + "/."));
            return;
        }
    }
    FAIL() << "no two file systems here share a file number";
}

}  // namespace
