// A batch killed at every step of its writes and its commit, each followed
// by a batch of other outputs into the same folder: the killed batch's
// outputs are all earlier or all new, and nothing of it is left. Also a
// removal that fails, a finish that cannot finish, the commit records that
// the next batch finishes (only those a run wrote), and a single-file write
// beside a record. A record that cannot be written: Staging tests.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
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

const std::string kHeading = "staged outputs commit record 4";
// A record of the version before: no copy's number.
const std::string kHeadingBefore = "staged outputs commit record 3";

class CommitKill : public testsupport::StagingTest {
protected:
    static inline const Names kEarlier = {"earlier e-file", "earlier print", "earlier xml"};
    static inline const Names kFresh = {"new e-file", "new print", "new xml"};
    enum class Fault { None, MoveFails, StagedFileLost, StagedFileCut, Unreadable, FinishFails };
    // A batch to kill: in a relative folder or not, over earlier outputs or
    // none, links refused or not, its outputs' name and a fault: its move, a
    // staged file it leaves lost, cut or unreadable, or the next finish's.
    struct Killed {
        bool relative;
        bool earlier;
        bool linksRefused;
        std::string name;
        Fault fault;
    };

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

    // After a staged file of the killed commit is lost, cut short or made
    // unreadable, as the row says: the next batch finds the killed outputs
    // all earlier or all new, with at most one note, which says which. A copy
    // of the folder (new file numbers, links not kept) ends as the folder.
    void expectOneWholeSet(const Killed& row, int killAt) {
        const Names staged = stagedFilesIn("out");
        const std::string runFolder = folder + "/.staged-outputs." + std::to_string(::geteuid());
        const bool recorded = fs::exists(runFolder + "/.staged-outputs.commit");
        const std::string first = recorded && !staged.empty() ? staged[0] : "";
        if (!first.empty() && row.fault == Fault::StagedFileLost) fs::remove(runFolder + "/" + first);
        if (!first.empty() && row.fault == Fault::StagedFileCut) fs::resize_file(runFolder + "/" + first, 3);
        unreadable = row.fault == Fault::Unreadable ? first : "";
        fs::remove_all(folder + ".copy");
        fs::copy(folder, folder + ".copy", fs::copy_options::recursive);
        const Names found = runNextBatch(killAt);
        EXPECT_TRUE(found == kFresh || found == (row.earlier ? kEarlier : Names(3, "(none)")))
            << found[0] << ", " << found[1] << ", " << found[2];
        // A commit whose record is in place, and that nothing prevents, is finished.
        EXPECT_TRUE(!recorded || row.fault != Fault::None || found == kFresh);
        ASSERT_LE(notes.size(), 1u) << notes.front();
        const std::string note = notes.empty() ? "" : notes[0];
        // A note of a commit finished says the new outputs are in place;
        // one of a roll-back, that the earlier ones are.
        const bool forward = note.find("finished the commit") != std::string::npos;
        if (forward || note.find("roll") != std::string::npos) {
            EXPECT_EQ(found == kFresh, forward) << note;
        }
        fs::remove_all(folder);
        fs::rename(folder + ".copy", folder);
        const Names copied = runNextBatch(killAt);
        // Only a staged file that the copy cannot read (the folder knows it
        // by its number) ends the copy otherwise, and its note says why.
        if (copied == found && notes == (note.empty() ? Names{} : Names{note})) return;
        EXPECT_EQ(copied, row.earlier ? kEarlier : Names(3, "(none)"));
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find("cannot be read (Input/output error)), and is rolled back"), std::string::npos)
            << notes[0];
    }

    // The next batch into the folder, of the other outputs, after one of
    // them killed first, before or once it has written its list into the
    // lock file (with the killed batch's list, which it hands on): what it
    // finds of the killed outputs once it holds the folder, which it leaves
    // with nothing of them. Its notes are in `notes`.
    Names runNextBatch(int killAt) {
        EXPECT_EQ(runKilled(other, {"e", "p", "x"}, 1 + killAt % 2), -1);
        notes.clear();
        IOMgmt::OutputBatch batch(other);
        finishing = true;
        IOMgmt::writeFileAtomically(other[0], "other e-file");
        finishing = false;
        const Names found = textsOf(killed);
        IOMgmt::writeFileAtomically(other[1], "other print");
        IOMgmt::writeFileAtomically(other[2], "other xml");
        batch.commit();
        for (const std::string& name : namesIn("out")) EXPECT_NE(name[0], '.') << name;
        return found;
    }

    // The fields, each ended by a NUL byte, then (when sealed) the checksum
    // that a run writes.
    static std::string record(const Names& fields, bool sealed = true) {
        std::string text;
        for (const std::string& field : fields) text += field + '\0';
        return sealed ? text + IOMgmt::detail::hashText(text) + '\0' : text;
    }
    // A record that a run of the version before wrote in the folder (its
    // numbers), of lines of seven fields: output, staged file, its number,
    // size and hash, second name and the earlier file's number.
    static std::string recordBefore(const Names& folder, const std::vector<Names>& lines) {
        Names fields = {kHeadingBefore, folder[0], folder[1]};
        for (const Names& line : lines) fields.insert(fields.end(), line.begin(), line.end());
        fields.push_back("end");
        return record(fields);
    }
    // A file's device and number, in decimal.
    static Names numbersOf(const std::string& file) {
        struct stat st {};
        EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
        return {std::to_string(st.st_dev), std::to_string(st.st_ino)};
    }

    std::string folder;      // of the killed batch's outputs
    Names killed;            // its outputs
    Names other;             // those of the next batch
    bool finishing = false;  // while the next batch finishes what the killed one left
    std::string unreadable;  // a staged file whose reads fail
};

class CommitRecord : public CommitKill {};

// Killed at each call in turn, from its first staged write to the removal
// of its lock file, each time over the folder as it was before; then a
// batch of another return's outputs (sharing the e-file's name) finishes
// the killed commit as it claims the folder, and removes what is left of
// the killed batch, with a note that says what it did.
TEST_F(CommitKill, ABatchKilledAtAnyStepLeavesOneWholeSetAfterTheNextBatch) {
    const Killed rows[] = {
        {false, true, false, "a", Fault::None},           {true, true, true, "a", Fault::None},
        {false, false, false, "a", Fault::None},          {false, true, false, std::string(210, 'r'), Fault::None},
        {false, true, false, "a", Fault::MoveFails},      {true, false, true, "a", Fault::MoveFails},
        {false, true, false, "a", Fault::StagedFileLost}, {false, true, false, "a", Fault::StagedFileCut},
        {false, true, false, "a", Fault::Unreadable},     {false, true, true, "a", Fault::FinishFails},
    };
    for (const Killed& row : rows) {
        SCOPED_TRACE(&row - rows);
        fs::current_path(row.relative ? dir : std::string(GA_BINARY_DIR));
        folder = row.relative ? std::string("out") : path("out");
        killed = {folder + "/GA-efile.txt", folder + "/" + row.name + ".print.txt", folder + "/" + row.name + ".xml"};
        other = {folder + "/GA-efile.txt", folder + "/b.print.txt", folder + "/b.xml"};
        const auto reset = [&] {
            fs::remove_all(folder);
            fs::create_directories(folder);
            if (row.earlier) runBatch(killed, kEarlier);
        };
        // The move that fails, fails in the killed batch only.
        const pid_t parent = ::getpid();
        gFails = [&row, parent, this](StagingCall call, const std::string& name) {
            const bool staged = name.starts_with("." + row.name + ".xml.staged-");
            if (call == StagingCall::Link) return row.linksRefused;
            if (row.fault == Fault::FinishFails && finishing) {  // no earlier print file kept, no new xml moved
                return call == StagingCall::Write ? name.starts_with(".a.print.txt.copy-")
                                                  : call == StagingCall::Rename && staged;
            }
            if (call == StagingCall::Read) return finishing && name == unreadable;
            return row.fault == Fault::MoveFails && ::getpid() != parent && call == StagingCall::Rename && staged;
        };
        reset();
        const int calls = runKilled(killed, kFresh, 0);
        ASSERT_GT(calls, 10);
        ASSERT_LT(calls, 250);
        for (int killAt = 1; killAt <= calls; ++killAt) {
            SCOPED_TRACE(killAt);
            reset();
            ASSERT_EQ(runKilled(killed, kFresh, killAt), -1);
            expectOneWholeSet(row, killAt);
        }
    }
}

// A file that cannot be removed once the outputs are in place, or by the
// roll-back of a commit that failed: the commit succeeds with a note naming
// it (the failure names it), the record or lock file that lists it stays,
// and a later batch into the folder (of other outputs too) finishes the
// record and removes it; so too a staged file that a killed batch left.
TEST_F(CommitKill, AFileThatCannotBeRemovedIsNamedAndTheNextBatchRemovesIt) {
    const struct {
        std::string failing;
        bool rolledBack;          // the second output cannot be moved into place: the record stays
        std::size_t notesOfNext;  // the next batch meets the failure too
        std::size_t notesOfLast;  // the one after finishes what is left
    } rows[] = {{".first.txt.kept-", false, 2, 1},
                {".first.txt.staged-", false, 3, 1},  // its exchanged name too, which the record lists
                {".staged-outputs.lock", false, 1, 0},
                {".second.txt.staged-", true, 2, 1},
                {".gone.txt.staged-", false, 1, 0}};
    const Names outputs = {path("first.txt"), path("second.txt")};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failing);
        runBatch(outputs, {"earlier first", "earlier second"});
        // A killed batch of gone.txt left its staged file, which the lock file lists.
        const std::string gone = writeFile(own(".gone.txt.staged-Ab12Cd"), "cut");
        writeFile(own(".staged-outputs.lock"), std::string("process 1, writing gone.txt\ngone.txt\0", 37));
        notes.clear();
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::Rename) return row.rolledBack && name.starts_with(".second.txt.staged-");
            return call == StagingCall::Unlink && name.starts_with(row.failing);
        };
        // The first output is written twice, as the e-file is.
        std::string said = failure([&] {
            IOMgmt::OutputBatch batch(outputs);
            IOMgmt::writeFileAtomically(outputs[0], "dropped first");
            IOMgmt::writeFileAtomically(outputs[0], "new first");
            IOMgmt::writeFileAtomically(outputs[1], "new second");
            batch.commit();
        });
        const std::string texts = row.rolledBack ? "earlier " : "new ";
        EXPECT_EQ(textsOf(outputs), (Names{texts + "first", texts + "second"}));
        const std::string left = row.rolledBack ? ".staged-outputs.commit" : row.failing;
        // The first output's dropped staged file, and the name that held its earlier file once exchanged.
        const long stay = row.failing == ".first.txt.staged-" ? 2 : 1;
        ASSERT_EQ(std::ranges::count_if(namesIn(own("")), [&](const auto& name) { return name.starts_with(left); }),
                  stay);
        ASSERT_EQ(notes.size(), row.rolledBack ? 0u : static_cast<std::size_t>(stay)) << said;
        if (!row.rolledBack) said = notes[0];
        EXPECT_NE(said.find(path(own(row.failing))), std::string::npos) << said;
        EXPECT_NE(said.find("Input/output error"), std::string::npos) << said;
        if (row.failing == ".gone.txt.staged-") {
            EXPECT_EQ(said, "cannot remove " + gone +
                                ", a temporary file that is no longer needed: Input/output error; a later run into "
                                "the folder tries again");
        }
        for (const std::size_t expected : {row.notesOfNext, row.notesOfLast}) {
            notes.clear();
            runBatch({path("third.txt")}, {"third"});
            EXPECT_EQ(notes.size(), expected) << ::testing::PrintToString(notes);
            gFails = nullptr;
        }
        EXPECT_EQ(namesIn(""), (Names{"first.txt", "second.txt", "third.txt"}));
    }
}

// A finish that cannot finish, in a folder where every staged write, rename
// and removal fails (a read-only folder), fails the next batch with what the
// folder holds and leaves the record for a later batch, which finishes it
// once it can, with a note in the words of what it did. Every read fails
// too: an earlier output of the new one's size is known by its number.
TEST_F(CommitKill, AFinishThatCannotFinishSaysOnlyWhatIsTrue) {
    const struct {
        std::string earlier;  // the earlier outputs' text; empty for none
        std::size_t outputs;  // a.txt, then b.txt
        bool rolledBack;      // the move of b.txt into place fails in the killed batch
        StagingCall killedAt;
        std::string killedOn;  // a name the call acts on
        std::string cannot;    // the next batch's failure where nothing can be written
        std::string note;      // the next note where everything can
    } rows[] = {
        {"earlier", 2, false, StagingCall::Rename, ".b.txt.staged-",
         "the commit of an earlier run into DIR cannot be finished (cannot move the new b.txt into place: "
         "Input/output error), nor rolled back (Input/output error): the folder holds the new a.txt and the "
         "earlier b.txt",
         "finished the commit of an earlier run into the folder: its a.txt, b.txt are in place"},
        {"old", 2, true, StagingCall::Rename, ".a.txt.kept-",
         "the roll-back of an earlier run into DIR cannot be finished (cannot put back the earlier DIR/a.txt: "
         "Input/output error): the folder holds the new a.txt and the earlier b.txt",
         "finished the roll-back of an earlier run into the folder that failed: the earlier a.txt, b.txt are back"},
        {"", 2, true, StagingCall::Unlink, ".b.txt.staged-",
         "the roll-back of an earlier run into DIR cannot be finished (cannot remove DIR/STAGED: Input/output "
         "error): the folder holds the new a.txt",
         "finished the roll-back of an earlier run into the folder that failed: a.txt, b.txt are not there, as "
         "before that run"},
        {"earlier", 1, false, StagingCall::Unlink, ".a.txt.kept-", "",
         "finished the commit of an earlier run into the folder: its a.txt is in place"},
    };
    // The failure of a.txt, with the folder and the staged file that the
    // killed batch left.
    const auto named = [&](std::string text) {
        for (std::size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, dir);
        const std::size_t at = text.find("STAGED");
        if (at != std::string::npos) text.replace(at, 6, own(stagedFilesIn("").at(0)));
        return path("a.txt") + ": " + text +
               "; a later run into the folder tries again to finish it; no output of the run is changed";
    };
    const pid_t parent = ::getpid();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.note);
        fs::remove_all(dir);
        fs::create_directories(dir);
        Names outputs = {path("a.txt"), path("b.txt")};
        outputs.resize(row.outputs);
        if (!row.earlier.empty()) runBatch(outputs, Names(outputs.size(), row.earlier));
        gFails = [&](StagingCall call, const std::string& name) {
            if (::getpid() == parent) return true;
            if (call == row.killedAt && name.starts_with(row.killedOn)) ::raise(SIGKILL);
            return call == StagingCall::Rename && row.rolledBack && name.starts_with(".b.txt.staged-");
        };
        ASSERT_EQ(runKilled(outputs, Names(outputs.size(), "new"), 0), -1);
        if (!row.cannot.empty()) {
            {
                IOMgmt::OutputBatch batch(outputs);
                notes.push_back(failure([&] { IOMgmt::writeFileAtomically(outputs[0], "newer"); }));
            }
            // Nor can the lock file be removed, which the batch says after
            // the failure, as it ends: the next batch takes it over.
            EXPECT_EQ(notes, (Names{named(row.cannot), path(own(".staged-outputs.lock")) +
                                                           ": cannot remove the lock file of the outputs: Input/output "
                                                           "error; a later run into the folder takes it over"}));
            notes.clear();
        }
        gFails = nullptr;
        runBatch(outputs, Names(outputs.size(), "newer"));
        EXPECT_EQ(notes, Names{dir + ": " + row.note});
        EXPECT_EQ(textsOf(outputs), Names(outputs.size(), "newer"));
        EXPECT_EQ(namesIn("").size(), outputs.size());
        notes.clear();
    }
}

// A commit record that no run wrote (damaged, made by hand, or by an
// earlier version without a checksum, or a whole one of another user's,
// which only root can give) is not acted on: every batch into the folder
// fails before it changes anything, naming the record; no file it names is
// removed.
TEST_F(CommitRecord, OnlyARecordThatARunWroteIsFinished) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string notes = writeFile("notes.txt", "mine");
    const Names folder = numbersOf(dir);
    const std::string hash = "0123456789abcdef";
    // A whole record of out.txt, but for the field at `at`.
    const auto whole = [&](std::size_t at, const std::string& value) {
        Names fields = {kHeading, folder[0], folder[1], "out.txt", ".out.txt.staged-AAAAAA"};
        fields.insert(fields.end(), {"12", "7", hash, ".out.txt.kept-BBBBBB", "1", "0", "end"});
        fields[at] = value;
        return record(fields);
    };
    // A name that is not plain, another output's staged file, numbers too
    // large, signed or empty, a hash and a second name that are not one's,
    // lines of this version under the heading of the version before.
    const std::pair<std::size_t, std::string> changes[] = {{3, "../out.txt"},
                                                           {4, ".other.txt.staged-AAAAAA"},
                                                           {5, "99999999999999999999"},
                                                           {5, "-1"},
                                                           {5, ""},
                                                           {6, ""},
                                                           {7, "0123456789abcdeg"},
                                                           {8, ".out.txt.kept-BBB"},
                                                           {1, ""},
                                                           {9, "-1"},
                                                           {10, "x"},
                                                           {0, kHeadingBefore}};
    const std::string sealed = whole(0, kHeading);
    Names texts = {
        sealed.substr(0, sealed.size() - 1),                                 // cut short
        sealed.substr(0, sealed.size() - 17) + std::string(16, '0') + '\0',  // another checksum
        record({"staged outputs commit record 1", "out.txt", ".out.txt.staged-AAAAAA", "12", "", "end"}, false),
        record({kHeading, folder[0], folder[1], "", "", "0", "0", "", "notes.txt", "0", "0", "end"})};
    for (const auto& [at, value] : changes) texts.push_back(whole(at, value));
    texts.push_back(sealed);
    const std::string* theirs = &texts.back();
    // Last, a hand-made roll-back record that names a user's file.
    texts.push_back(record({kHeading, folder[0], folder[1], "notes.txt", ".notes.txt.staged-AAAAAA",
                            numbersOf(notes)[1], "4", hash, "", "0", "0", "end", hash},
                           false));
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        if (&text == theirs && testsupport::leftOutUnlessRoot("a record of another user")) continue;
        const std::string recordFile =
            writeFile(own(&text == &texts.back() ? ".staged-outputs.rollback" : ".staged-outputs.commit"), text);
        if (&text == theirs) {
            ASSERT_EQ(::chown(recordFile.c_str(), 65534, 65534), 0);
        }
        IOMgmt::OutputBatch batch({out});
        EXPECT_EQ(failure([&] { IOMgmt::writeFileAtomically(out, "new"); }),
                  out + ": the commit record " + recordFile +
                      " is not a commit record that a run wrote: see that each output is whole, then remove it; no "
                      "output of the run is changed");
        EXPECT_EQ(textsOf({out, notes, recordFile}), (Names{"earlier", "mine", text}));
        fs::remove(recordFile);
    }
}

// What stands at the name of the run's folder and is not the user's
// private folder (a link, a file, a folder that others can reach, another
// user's folder, which only root can make) is refused, naming it and its
// owner, and nothing in it is looked at: the record planted there stays,
// and the outputs are as they were. A run of another user has its own.
TEST_F(CommitRecord, OnlyTheUsersPrivateFolderHoldsItsRunsFiles) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string runFolder = path(".staged-outputs." + std::to_string(::geteuid()));
    const std::string me = testsupport::thisUser();
    const std::string mine = "), and is not used; remove it, or write the outputs into another folder";
    const std::string theirs = "have its owner remove it, or write the outputs into another folder";
    const struct {
        std::function<void()> plant;
        std::string what;
        bool asRoot;  // needs root to give a folder to another user
    } rows[] = {
        {[&] { fs::create_symlink("elsewhere", runFolder); }, "is a symbolic link (of " + me + mine, false},
        {[&] { writeFile(fs::path(runFolder).filename(), "a file"); }, "is a file (of " + me + mine, false},
        {[&] { fs::permissions(path(own("")), fs::perms(0770)); },
         "is a folder of " + me +
             " that others can reach (mode 0770), and is not used; see that each output is "
             "whole, then remove it",
         false},
        {[&] { ASSERT_EQ(::chown(path(own("")).c_str(), 65534, 65534), 0); },
         "is owned by " + testsupport::userName(65534) + ", not by " + me +
             " (the user of this run), and is not looked into; " + theirs,
         true},
        // Root's folder, which the user (another, whose rights root takes) may not even open.
        {[&] {
             fs::permissions(dir, fs::perms(0755));
             fs::create_directory(path(".staged-outputs.65534"));
             fs::permissions(path(".staged-outputs.65534"), fs::perms(0700));
             ASSERT_TRUE(::chown(out.c_str(), 65534, 65534) == 0 && ::seteuid(65534) == 0);
         },
         "is owned by " + me + ", not by " + testsupport::userName(65534) +
             " (the user of this run), and is not looked into; " + theirs,
         true},
    };
    fs::create_directories(path("elsewhere"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.asRoot && testsupport::leftOutUnlessRoot(row.what)) continue;
        row.plant();
        const std::string planted =
            fs::is_directory(fs::symlink_status(runFolder))
                ? writeFile(fs::path(runFolder).filename().string() + "/.staged-outputs.commit", "x")
                : std::string();
        const std::string folder = path(".staged-outputs." + std::to_string(::geteuid()));
        EXPECT_EQ(failure([&] { runBatch({out}, {"new"}); }), out + ": the folder of the run's own files " + folder +
                                                                  " " + row.what + "; no output of the run is changed");
        ASSERT_TRUE(::geteuid() == ::getuid() || ::seteuid(::getuid()) == 0);
        ASSERT_EQ(::chown(out.c_str(), ::getuid(), ::getgid()), 0);
        EXPECT_EQ(readFile(out), "earlier");
        if (!planted.empty()) {
            EXPECT_EQ(readFile(planted), "x");
        }
        fs::remove_all(runFolder);
        fs::remove_all(folder);
    }
    runBatch({out}, {"new"});
    EXPECT_EQ(namesIn(""), (Names{"elsewhere", "out.txt"}));
}

// A whole roll-back record (of the version before) is finished, with one
// note that says what is true: an output it finds moved into place or gone
// cannot have its earlier file back here, one that is neither the new file
// nor the earlier is not taken for the earlier, a new file without a second
// name has none to get back, and every earlier file stays. A name it cannot
// remove is listed in a record of its own, the roll-back record goes, and
// the batch goes on. Each output is known by its number, its bytes unread;
// a file of the user's whose earlier file has no second name left is the
// copy put back, which a record of the version before does not number.
TEST_F(CommitRecord, ARollBackThatCannotPutBackSaysWhatStays) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string fresh = writeFile("fresh.txt", "new");
    const std::string left = writeFile(own(".left.txt.staged-AAAAAA"), "cut");
    // Not moved, and a file made at its name since: no output of the run's.
    const std::string made = writeFile("made.txt", "made");
    const std::string madeStaged = writeFile(own(".made.txt.staged-AAAAAA"), "new");
    const std::string h(16, '0');
    writeFile(
        own(".staged-outputs.rollback"),
        recordBefore(
            numbersOf(dir),
            {{"out.txt", ".out.txt.staged-AAAAAA", numbersOf(out)[1], "7", h, ".out.txt.kept-BBBBBB", "1"},
             {"gone.txt", ".gone.txt.staged-AAAAAA", "1", "3", h, ".gone.txt.kept-CCCCCC", "1"},
             {"mine.txt", ".mine.txt.staged-AAAAAA", "1", "7", h, ".mine.txt.kept-DDDDDD", "1"},
             {"odd.txt", ".odd.txt.staged-AAAAAA", "1", "3", h, ".odd.txt.kept-FFFFFF", "1"},
             {"fresh.txt", ".fresh.txt.staged-AAAAAA", numbersOf(fresh)[1], "3", h, ".fresh.txt.kept-EEEEEE", "1"},
             {"new.txt", ".new.txt.staged-AAAAAA", "1", "3", h, "", "0"},
             {"left.txt", ".left.txt.staged-AAAAAA", numbersOf(left)[1], "3", h, "", "0"},
             {"made.txt", ".made.txt.staged-AAAAAA", numbersOf(madeStaged)[1], "3", h, "", "0"}}));
    const Names kept = {writeFile(own(".out.txt.kept-BBBBBB"), "kept"), writeFile(own(".gone.txt.kept-CCCCCC"), "kept"),
                        writeFile(own(".mine.txt.kept-DDDDDD"), "kept")};
    const std::string mine = writeFile("mine.txt", "mine");
    const std::string odd = writeFile("odd.txt", "odd");
    const std::string unread = writeFile("new.txt", "new");
    gFails = [leftOnce = true](StagingCall call, const std::string& name) mutable {
        if (call == StagingCall::Unlink && name == ".left.txt.staged-AAAAAA") return std::exchange(leftOnce, false);
        if (call == StagingCall::Read) return name == "odd.txt" || name == "new.txt";
        return call == StagingCall::Rename && name.find(".kept-") != std::string::npos;
    };
    runBatch({out}, {"new"});
    const std::string stays = ", which stays until you move it back or remove it; ";
    const std::string cannot = ", it cannot be put back (Input/output error): the earlier file is ";
    EXPECT_EQ(notes,
              Names{dir +
                    ": finished the roll-back of an earlier run into the folder that failed: the earlier odd.txt is "
                    "back, and left.txt is not there, as before that run; " +
                    out + " is the new file" + cannot + kept[0] + stays + path("gone.txt") + " is missing" + cannot +
                    kept[1] + stays + mine + " is not the file the run wrote: the earlier file is " + kept[2] + stays +
                    fresh + " is the new file, and no second name keeps its earlier file; " + unread +
                    " is not the file the run wrote; cannot remove " + left +
                    " (Input/output error); a later run into the folder tries again"});
    EXPECT_EQ(textsOf({out, kept[0], kept[1], mine, kept[2], odd, unread, made}),
              (Names{"new", "kept", "kept", "mine", "kept", "odd", "new", "made"}));
    EXPECT_EQ(namesIn(own("")), (Names{".gone.txt.kept-CCCCCC", ".mine.txt.kept-DDDDDD", ".out.txt.kept-BBBBBB"}));
}

// A write of a single file, outside any batch, removes the staged files of
// its target that a killed writer left, unless a commit record lists them
// or a record there cannot be read (it may list them). Each in a folder of
// its own: a process clears a target's folder once. A file of another user
// at its name (only root can make one) is refused, naming its owner.
TEST_F(CommitRecord, ASingleFileWriteClearsOnlyStagedFilesNoRecordMayList) {
    for (const std::string folder : {"no record", "unreadable", "listing", "another's"}) {
        SCOPED_TRACE(folder);
        if (folder == "another's" && testsupport::leftOutUnlessRoot(folder)) continue;
        const std::string abandoned = writeFile(own(".dump.xml.staged-Ab12Cd", folder), "cut");
        const std::string dump = path(folder + "/dump.xml");
        if (folder == "another's") {
            ASSERT_EQ(::chown(writeFile(folder + "/dump.xml", "theirs").c_str(), 65534, 65534), 0);
        }
        if (folder == "unreadable") writeFile(own(".staged-outputs.commit", folder), "garbage");
        if (folder == "listing") {
            IOMgmt::detail::writeCommitRecord(IOMgmt::detail::RunFolder(path(folder), dump, ""),
                                              {{.output = "dump.xml",
                                                .staged = ".dump.xml.staged-Ab12Cd",
                                                .stagedSize = 3,
                                                .stagedHash = std::string(16, '0')}});
        }
        const std::string said = failure([&] { IOMgmt::writeFileAtomically(dump, "dump"); });
        if (folder == "another's") {
            EXPECT_EQ(said, dump + ": is owned by " + testsupport::userName(65534) + ", not by " +
                                testsupport::thisUser() +
                                " (the user of this run), and is not replaced; have its owner remove it, or write the "
                                "outputs into another folder");
            EXPECT_EQ(textsOf({dump, abandoned}), (Names{"theirs", "cut"}));
            continue;
        }
        EXPECT_EQ(textsOf({dump, abandoned}), (Names{"dump", folder == "no record" ? "(none)" : "cut"}));
    }
    EXPECT_EQ(namesIn("no record"), Names{"dump.xml"});
}

}  // namespace
