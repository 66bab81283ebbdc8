// A batch killed at every step of its writes and its commit, each followed
// by a batch of other outputs into the same folder: the killed batch's
// outputs are all earlier or all new, and nothing of it is left. Also a
// removal that fails, a finish that cannot finish, the commit records that
// the next batch finishes (only those a run wrote), and a single-file write
// beside a record. A record that cannot be written: Staging tests.
#include <gtest/gtest.h>
#include <pwd.h>
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

namespace {

namespace fs = std::filesystem;
using testsupport::gFails;
using testsupport::StagingCall;

const std::string kHeading = "staged outputs commit record 2";

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
        const bool recorded = fs::exists(folder + "/.staged-outputs.commit");
        const std::string first = recorded && !staged.empty() ? staged[0] : "";
        if (!first.empty() && row.fault == Fault::StagedFileLost) fs::remove(folder + "/" + first);
        if (!first.empty() && row.fault == Fault::StagedFileCut) fs::resize_file(folder + "/" + first, 3);
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
    // A record that a run writes in the folder (its numbers), of lines of
    // six fields: output, staged file, its number, size and hash, second name.
    static std::string recordOf(const Names& folder, const std::vector<Names>& lines) {
        Names fields = {kHeading, folder[0], folder[1]};
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
                {".first.txt.staged-", false, 1, 0},
                {".staged-outputs.lock", false, 1, 0},
                {".second.txt.staged-", true, 2, 1},
                {".gone.txt.staged-", false, 1, 0}};
    const Names outputs = {path("first.txt"), path("second.txt")};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failing);
        runBatch(outputs, {"earlier first", "earlier second"});
        // A killed batch of gone.txt left its staged file, which the lock file lists.
        const std::string gone = writeFile(".gone.txt.staged-Ab12Cd", "cut");
        writeFile(".staged-outputs.lock", std::string("process 1, writing gone.txt\ngone.txt\0", 37));
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
        ASSERT_EQ(std::ranges::count_if(namesIn(""), [&](const auto& name) { return name.starts_with(left); }), 1);
        ASSERT_EQ(notes.size(), row.rolledBack ? 0u : 1u) << said;
        if (!row.rolledBack) said = notes[0];
        EXPECT_NE(said.find(path(row.failing)), std::string::npos) << said;
        EXPECT_NE(said.find("Input/output error"), std::string::npos) << said;
        if (row.failing == ".gone.txt.staged-") {
            EXPECT_EQ(said, "cannot remove " + gone +
                                ", a temporary file that is no longer needed: Input/output error; a later run into "
                                "the folder tries again");
        }
        for (const std::size_t expected : {row.notesOfNext, row.notesOfLast}) {
            notes.clear();
            runBatch({path("third.txt")}, {"third"});
            EXPECT_EQ(notes.size(), expected);
            gFails = nullptr;
        }
        EXPECT_EQ(namesIn(""), (Names{"first.txt", "second.txt", "third.txt"}));
    }
}

// A finish that cannot finish, in a folder where every staged write, rename
// and removal fails (a read-only folder), fails the next batch with what the
// folder holds and leaves the record for a later batch, which finishes it
// once it can, with a note in the words of what it did. Every read fails
// too: an earlier output of the new one's size is known only by its bytes.
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
         "Input/output error): the folder holds the new a.txt and b.txt, which cannot be read",
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
        if (at != std::string::npos) text.replace(at, 6, stagedFilesIn("").at(0));
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
            EXPECT_EQ(notes, (Names{named(row.cannot), path(".staged-outputs.lock") +
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
// earlier version without a checksum) is not acted on: every batch into the
// folder fails before it changes anything, naming the record; no file it
// names is removed.
TEST_F(CommitRecord, OnlyARecordThatARunWroteIsFinished) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string notes = writeFile("notes.txt", "mine");
    const Names folder = numbersOf(dir);
    const std::string hash = "0123456789abcdef";
    // A whole record of out.txt, but for the field at `at`.
    const auto whole = [&](std::size_t at, const std::string& value) {
        Names fields = {kHeading, folder[0], folder[1], "out.txt", ".out.txt.staged-AAAAAA"};
        fields.insert(fields.end(), {"12", "7", hash, ".out.txt.kept-BBBBBB", "end"});
        fields[at] = value;
        return record(fields);
    };
    // A name that is not plain, another output's staged file, numbers too
    // large, signed or empty, a hash and a second name that are not one's.
    const std::pair<std::size_t, std::string> changes[] = {
        {3, "../out.txt"}, {4, ".other.txt.staged-AAAAAA"}, {5, "99999999999999999999"}, {5, "-1"}, {5, ""},
        {6, ""},           {7, "0123456789abcdeg"},         {8, ".out.txt.kept-BBB"},    {1, ""}};
    const std::string sealed = whole(0, kHeading);
    Names texts = {
        sealed.substr(0, sealed.size() - 1),                                 // cut short
        sealed.substr(0, sealed.size() - 17) + std::string(16, '0') + '\0',  // another checksum
        record({"staged outputs commit record 1", "out.txt", ".out.txt.staged-AAAAAA", "12", "", "end"}, false),
        record({kHeading, folder[0], folder[1], "", "", "0", "0", "", "notes.txt", "end"})};
    for (const auto& [at, value] : changes) texts.push_back(whole(at, value));
    // Last, a hand-made roll-back record that names a user's file.
    texts.push_back(record({kHeading, folder[0], folder[1], "notes.txt", ".notes.txt.staged-AAAAAA",
                            numbersOf(notes)[1], "4", hash, "", "end", hash},
                           false));
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string recordFile =
            writeFile(&text == &texts.back() ? ".staged-outputs.rollback" : ".staged-outputs.commit", text);
        IOMgmt::OutputBatch batch({out});
        EXPECT_EQ(failure([&] { IOMgmt::writeFileAtomically(out, "new"); }),
                  out + ": the commit record " + recordFile +
                      " is not a commit record that a run wrote: see that each output is whole, then remove it; no "
                      "output of the run is changed");
        EXPECT_EQ(textsOf({out, notes, recordFile}), (Names{"earlier", "mine", text}));
        fs::remove(recordFile);
    }
}

// A record that the user of the run could not have written (a symbolic
// link, or another user's file: anyone may make one in a shared folder) is
// refused, naming it and its owner; the notes it would remove or replace
// stay. So is one that cannot be opened, which the user is told to leave
// (root opens any file: it runs that row as another user). So too one of
// two names, one that others can write, root's, one naming another user's
// file, and another user's record being written (root's rows, from kRoots).
TEST_F(CommitRecord, ARecordThatCannotBeTrustedOrOpenedIsRefused) {
    using IOMgmt::detail::hashText;
    const Names files = {writeFile("out.txt", "earlier"), writeFile("notes.txt", "mine"),
                         writeFile(".notes.txt.staged-AAAAAA", "forged"),
                         writeFile(".notes.txt.kept-CCCCCC", "forged")};
    // A commit moves the forged file over notes.txt; a roll-back finds notes.txt its new file, puts the forged back.
    const std::string records[] = {
        recordOf(numbersOf(dir), {{"notes.txt", ".notes.txt.staged-AAAAAA", "1", "6", hashText("forged"), ""}}),
        recordOf(numbersOf(dir),
                 {{"notes.txt", ".notes.txt.staged-BBBBBB", "1", "4", hashText("mine"), ".notes.txt.kept-CCCCCC"}})};
    const bool root = ::geteuid() == 0;
    const std::string me = ::getpwuid(::geteuid())->pw_name;
    const std::string other = ::getpwuid(65534)->pw_name;
    const std::string untouched = ", and is not acted on: no file it names is touched; ";
    const std::string theirs = "have its owner remove it, or write the outputs into another folder";
    enum Kind { kLink, kUnreadable, kLinked, kWritable, kRoots, kForeign, kForeignKept, kForeignFresh };
    const std::string problems[] = {
        " is a symbolic link (of " + (root ? other : me) + ")" + untouched + (root ? theirs : "remove it"),
        " cannot be opened: Permission denied; until a run reads it, the folder may hold some outputs of the run that "
        "wrote it new and others earlier: leave it, and run again once it can be read (that run finishes the commit)",
        " is a file of " + me + " with 2 names (hard links)" + untouched + "remove it",
        " is a file of " + me + " that others can write (mode 0" + untouched +
            "see that each output is whole, then remove it",
        " is owned by root, not by " + other + " (the user of this run)" + untouched + theirs,
        " is owned by " + other + ", not by " + me + " (the user of this run)" + untouched + theirs,
        " names " + files[3] + ", which is owned by " + other + ", not by " + me +
            " (the user of this run), and is not acted on: no file the record names is touched; " + theirs +
            "; the folder holds the new notes.txt",
        " is a folder (of " + other + "), and is not acted on; " + theirs};
    // Writable by its group or by others, the commit record or the roll-back record.
    const std::tuple<bool, Kind, std::string> rows[] = {
        {true, kLink, ""},        {false, kUnreadable, ""},  {true, kLinked, ""},  {false, kWritable, "606"},
        {true, kWritable, "660"}, {false, kRoots, ""},       {true, kForeign, ""}, {false, kForeign, ""},
        {true, kForeignKept, ""}, {false, kForeignFresh, ""}};
    const std::string fresh = path(".staged-outputs.commit-new");
    for (const auto& [rollBack, kind, mode] : rows) {
        SCOPED_TRACE(problems[kind] + mode);
        if (kind >= kRoots && !root) GTEST_SKIP() << "only root can give a file to another user or take their rights";
        const std::string recordFile = path(rollBack ? ".staged-outputs.rollback" : ".staged-outputs.commit");
        fs::permissions(writeFile(kind == kLink ? "elsewhere" : recordFile.substr(dir.size() + 1), records[rollBack]),
                        fs::perms(kind == kUnreadable ? 0 : 0600));
        if (kind == kLink) fs::create_symlink("elsewhere", recordFile);
        if (kind == kLinked) fs::create_hard_link(recordFile, path("second name"));
        if (kind == kWritable) fs::permissions(recordFile, fs::perms(std::stoi(mode, nullptr, 8)));
        if (kind == kForeignFresh) fs::create_directory(fresh);
        std::string problem = problems[kind];
        if (kind == kWritable) problem.insert(problem.find("(mode 0") + 7, mode + ")");
        const std::string given = kind == kForeignKept ? files[3] : kind == kForeignFresh ? fresh : recordFile;
        ASSERT_TRUE(!root || (kind >= kLinked && kind <= kRoots) || ::lchown(given.c_str(), 65534, 65534) == 0);
        ASSERT_TRUE(!root || (kind != kUnreadable && kind != kRoots) ||
                    (::chown(dir.c_str(), 65534, 65534) == 0 && ::chown(files[0].c_str(), 65534, 65534) == 0 &&
                     ::seteuid(65534) == 0));
        EXPECT_EQ(failure([&] { runBatch({files[0]}, {"new"}); }),
                  files[0] + ": the commit record " + (kind == kForeignFresh ? "being written " + fresh : recordFile) +
                      problem + "; no output of the run is changed");
        ASSERT_TRUE(::geteuid() == ::getuid() || ::seteuid(::getuid()) == 0);
        ASSERT_TRUE(!root || ::chown(files[0].c_str(), 0, 0) == 0);
        EXPECT_EQ(textsOf(files), (Names{"earlier", "mine", "forged", "forged"}));
        fs::remove(recordFile);
    }
}

// A whole roll-back record is finished, with one note that says what is
// true: an output it finds moved into place or gone cannot have its earlier
// file back here, one that is neither the new file nor the earlier is not
// taken for the earlier, a new file without a second name has none to get
// back, and every earlier file stays. A name it cannot remove is listed in
// a record of its own, the roll-back record goes, and the batch goes on.
// An output that cannot be read is left as it is, with its second name;
// another user's file at a copy's name (root's row), named and left.
TEST_F(CommitRecord, ARollBackThatCannotPutBackSaysWhatStays) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string fresh = writeFile("fresh.txt", "new");
    const std::string h(16, '0');
    writeFile(
        ".staged-outputs.rollback",
        recordOf(numbersOf(dir),
                 {{"out.txt", ".out.txt.staged-AAAAAA", numbersOf(out)[1], "7", h, ".out.txt.kept-BBBBBB"},
                  {"gone.txt", ".gone.txt.staged-AAAAAA", "1", "3", h, ".gone.txt.kept-CCCCCC"},
                  {"mine.txt", ".mine.txt.staged-AAAAAA", "1", "7", h, ".mine.txt.kept-DDDDDD"},
                  {"odd.txt", ".odd.txt.staged-AAAAAA", "1", "3", h, ".odd.txt.kept-FFFFFF"},
                  {"fresh.txt", ".fresh.txt.staged-AAAAAA", numbersOf(fresh)[1], "3", h, ".fresh.txt.kept-EEEEEE"},
                  {"left.txt", ".left.txt.staged-AAAAAA", "1", "3", h, ""}}));
    const Names kept = {writeFile(".out.txt.kept-BBBBBB", "kept"), writeFile(".gone.txt.kept-CCCCCC", "kept"),
                        writeFile(".mine.txt.kept-DDDDDD", "kept"), writeFile(".odd.txt.kept-FFFFFF", "kept")};
    const std::string mine = writeFile("mine.txt", "mine");
    const std::string odd = writeFile("odd.txt", "odd");
    const std::string left = writeFile(".left.txt.staged-AAAAAA", "cut");
    const bool root = ::geteuid() == 0;
    const std::string copy = writeFile(".out.txt.copy-BBBBBB", "theirs");
    ASSERT_EQ(root ? ::chown(copy.c_str(), 65534, 65534) : ::unlink(copy.c_str()), 0);
    gFails = [leftOnce = true](StagingCall call, const std::string& name) mutable {
        if (call == StagingCall::Unlink && name == ".left.txt.staged-AAAAAA") return std::exchange(leftOnce, false);
        if (call == StagingCall::Read) return name == "odd.txt";
        return call == StagingCall::Rename && name.find(".kept-") != std::string::npos;
    };
    runBatch({out}, {"new"});
    const std::string stays = ", which stays until you move it back or remove it; ";
    const std::string cannot = ", it cannot be put back (Input/output error): the earlier file is ";
    EXPECT_EQ(notes,
              Names{dir +
                    ": finished the roll-back of an earlier run into the folder that failed: left.txt is "
                    "not there, as before that run; " +
                    out + " is the new file" + cannot + kept[0] + stays + path("gone.txt") + " is missing" + cannot +
                    kept[1] + stays + mine + " is not the file the run wrote: the earlier file is " + kept[2] + stays +
                    odd + " cannot be read, it is left as it is (Input/output error): the earlier file is " + kept[3] +
                    stays + fresh + " is the new file, and no second name keeps its earlier file" + "; cannot remove " +
                    left + " (Input/output error)" +
                    (root ? "; " + copy + " is owned by " + ::getpwuid(65534)->pw_name +
                                ", not by root (the user of this run), and is left as it is"
                          : "") +
                    "; a later run into the folder tries again"});
    EXPECT_EQ(textsOf({out, kept[0], kept[1], mine, kept[2]}), (Names{"new", "kept", "kept", "mine", "kept"}));
    Names stay = namesIn("");
    EXPECT_EQ(std::erase(stay, ".out.txt.copy-BBBBBB"), root ? 1u : 0u);
    EXPECT_EQ(stay, (Names{".gone.txt.kept-CCCCCC", ".mine.txt.kept-DDDDDD", ".odd.txt.kept-FFFFFF",
                           ".out.txt.kept-BBBBBB", "fresh.txt", "mine.txt", "odd.txt", "out.txt"}));
}

// A write of a single file, outside any batch, removes the staged files of
// its target that a killed writer left, unless a commit record lists them
// or a record there cannot be read (it may list them). Each in a folder of
// its own: a process clears a target's folder once.
// Another user's staged file (only root can make one) stays, named in a note.
TEST_F(CommitRecord, ASingleFileWriteClearsOnlyStagedFilesNoRecordMayList) {
    for (const std::string folder : {"no record", "unreadable", "listing", "another's"}) {
        SCOPED_TRACE(folder);
        if (folder == "another's" && ::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
        const std::string abandoned = writeFile(folder + "/.dump.xml.staged-Ab12Cd", "cut");
        ASSERT_TRUE(folder != "another's" || ::chown(abandoned.c_str(), 65534, 65534) == 0);
        if (folder == "unreadable") writeFile(folder + "/.staged-outputs.commit", "garbage");
        if (folder == "listing") {
            IOMgmt::detail::writeCommitRecord(path(folder), {{.output = "dump.xml",
                                                              .staged = ".dump.xml.staged-Ab12Cd",
                                                              .stagedSize = 3,
                                                              .stagedHash = std::string(16, '0')}});
        }
        IOMgmt::writeFileAtomically(path(folder + "/dump.xml"), "dump");
        EXPECT_EQ(textsOf({path(folder + "/dump.xml"), abandoned}),
                  (Names{"dump", folder == "no record" ? "(none)" : "cut"}));
    }
    EXPECT_EQ(notes, Names{path("another's/.dump.xml.staged-Ab12Cd") + " is owned by " + ::getpwuid(65534)->pw_name +
                           ", not by root (the user of this run), and is not acted on; have its owner remove it, or "
                           "write the outputs into another folder"});
}

}  // namespace
