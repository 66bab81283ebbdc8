// The staged writes: permissions, failed syncs and renames, one job at a
// time per output folder, a folder that cannot be synced, an earlier file
// that cannot be put back, and what each failure of the lock file says.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/staging_fixture.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A sync that fails at the call numbered gFailingSync (from 1), after
// gBeforeSync looked at the outputs.
int gSyncs = 0;
int gFailingSync = 0;
std::function<void()> gBeforeSync;
int failingSync(int fd) {
    gBeforeSync();
    if (++gSyncs == gFailingSync) return errno = EIO, -1;
    return ::fdatasync(fd);
}
int refusedLink(const char*, const char*) { return errno = EPERM, -1; }
// A rename that fails for a file whose name begins with one of
// gFailingRenames: ".second.txt.staged-" fails its move into place,
// ".first.txt.kept-" the putting back of the earlier first.txt.
std::vector<std::string> gFailingRenames;
int failingRename(const char* from, const char* to) {
    const std::string name = fs::path(from).filename().string();
    for (const std::string& start : gFailingRenames) {
        if (name.rfind(start, 0) == 0) return errno = EIO, -1;
    }
    return ::rename(from, to);
}
// A folder sync that fails after the first (the commit record's).
int gFolderSyncs = 0;
int failingFolderSync(int fd) {
    if (++gFolderSyncs > 1) return errno = EIO, -1;
    return ::fsync(fd);
}

class Staging : public testsupport::StagingTest {};

TEST_F(Staging, AnOutputIsNoWiderThanTheUmaskOrTheFileItReplaces) {
    enum class Before { None, Regular0640, LinkToA0777File, NoneAppended };
    const struct {
        mode_t umask;
        Before before;
        fs::perms expected;
    } rows[] = {
        {077, Before::None, fs::perms(0600)},
        {022, Before::None, fs::perms(0644)},
        {077, Before::Regular0640, fs::perms(0640)},
        {022, Before::Regular0640, fs::perms(0640)},
        {077, Before::LinkToA0777File, fs::perms(0600)},
        {022, Before::LinkToA0777File, fs::perms(0644)},
        {077, Before::NoneAppended, fs::perms(0600)},
        {022, Before::NoneAppended, fs::perms(0644)},
    };
    const std::string out = path("out.txt");
    const std::string target = writeFile("target.txt", "target");
    fs::permissions(target, fs::perms::all);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "umask " << std::oct << row.umask << ", before " << int(row.before));
        fs::remove(out);
        if (row.before == Before::Regular0640) fs::permissions(writeFile("out.txt", "old"), fs::perms(0640));
        if (row.before == Before::LinkToA0777File) fs::create_symlink(target, out);
        const mode_t previous = ::umask(row.umask);
        if (row.before == Before::NoneAppended) {
            IOMgmt::appendToFile(out, "new");
        } else {
            IOMgmt::OutputBatch batch({out});
            IOMgmt::writeFileAtomically(out, "new");
            batch.commit();
        }
        ::umask(previous);
        EXPECT_EQ(fs::symlink_status(out).permissions(), row.expected);
        EXPECT_EQ(readFile(out), "new");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms::all);
        EXPECT_EQ(readFile(target), "target");
    }
}

TEST_F(Staging, NoOutputIsReplacedBeforeEveryOneIsSynced) {
    const Names outputs = {path("a.txt"), path("b.txt"), path("c.txt")};
    bool replacedEarly = false;
    gBeforeSync = [&] {
        for (const std::string& output : outputs) replacedEarly = replacedEarly || readFile(output) != "earlier";
    };
    IOMgmt::setStagingCalls({.sync = failingSync});
    // The sync that fails; none in the last row.
    for (const int failing : {1, 2, 3, 0}) {
        SCOPED_TRACE(failing);
        for (const std::string& output : outputs) writeFile(fs::path(output).filename(), "earlier");
        IOMgmt::OutputBatch batch(outputs);
        for (const std::string& output : outputs) IOMgmt::writeFileAtomically(output, "new");
        gSyncs = 0;
        gFailingSync = failing;
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
// succeeded.
TEST_F(Staging, AFailedRenamePutsBackTheOutputsMovedBeforeIt) {
    const std::string renameFailed = "b/second.txt: cannot move the new file into place: Input/output error";
    const struct {
        bool firstExisted;
        bool firstIsLink;
        bool linksRefused;  // the earlier file is kept as a copy; a link cannot be
        std::string problem;
    } rows[] = {
        {true, false, false, renameFailed},
        {false, false, false, renameFailed},
        {true, true, false, renameFailed},
        {true, false, true, renameFailed},
        {true, true, true,
         "a/first.txt: cannot keep the earlier file to put back should the run fail: "
         "Operation not permitted"},
    };
    const std::string first = path("a/first.txt");
    gFailingRenames = {".second.txt.staged-"};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.firstExisted << row.firstIsLink << row.linksRefused);
        fs::remove_all(path("a"));
        writeFile("a/elsewhere.txt", "earlier first");
        if (row.firstIsLink) fs::create_symlink("elsewhere.txt", first);
        if (row.firstExisted && !row.firstIsLink) fs::copy_file(path("a/elsewhere.txt"), first);
        IOMgmt::setStagingCalls({.link = row.linksRefused ? refusedLink : ::link, .rename = failingRename});
        {
            IOMgmt::OutputBatch batch({first, writeFile("b/second.txt", "earlier second")});
            IOMgmt::writeFileAtomically(first, "new first");
            IOMgmt::writeFileAtomically(path("b/second.txt"), "new second");
            EXPECT_EQ(failure([&] { batch.commit(); }), path(row.problem) + "; no output of the run is changed");
        }
        EXPECT_EQ(fs::is_symlink(first), row.firstIsLink);
        EXPECT_EQ(readFile(first), row.firstExisted ? "earlier first" : "");
        EXPECT_EQ(namesIn("a"), row.firstExisted ? (Names{"elsewhere.txt", "first.txt"}) : Names{"elsewhere.txt"});
        EXPECT_EQ(namesIn("b"), Names{"second.txt"});
    }
}

TEST_F(Staging, OneJobAtATimeWritesOutputsIntoAFolder) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string lockFile = path(".staged-outputs.lock");
    {
        IOMgmt::OutputBatch batch({out, path("other.txt")});
        IOMgmt::writeFileAtomically(out, "first");
        // A line for a job that waits, and the outputs for the next job.
        EXPECT_EQ(readFile(lockFile), "process " + std::to_string(::getpid()) + ", writing out.txt, other.txt\n" +
                                          std::string("out.txt\0other.txt\0", 18));
    }
    // Another process's job holds the folder (a lock of another open file
    // conflicts in this process too).
    writeFile(".staged-outputs.lock", "process 4242, writing GA-efile.txt\n");
    const int held = ::open(lockFile.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::string other = "another run is writing its outputs in " + dir + " (process 4242, writing GA-efile.txt)";
    Names notes;
    IOMgmt::IOMgr::getInstance().setNoticeSink([&notes](const std::string& text) { notes.push_back(text); });
    {
        IOMgmt::OutputBatch batch({out}, std::chrono::milliseconds(100));
        EXPECT_EQ(failure([&] { IOMgmt::writeFileAtomically(out, "second"); }),
                  out + ": " + other + " and has not finished after 100 ms; no output of the run is changed");
    }
    EXPECT_EQ(notes, Names{other + "; waiting up to 100 ms for it to finish"});
    // The other job ends while this one waits: it lets the folder go when
    // the waiting job says it waits.
    notes.clear();
    IOMgmt::IOMgr::getInstance().setNoticeSink([&notes, held](const std::string& text) {
        notes.push_back(text);
        ::close(held);
    });
    {
        IOMgmt::OutputBatch batch({out}, std::chrono::seconds(30));
        IOMgmt::writeFileAtomically(out, "third");
        batch.commit();
    }
    IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr);
    EXPECT_EQ(notes, Names{other + "; waiting up to 30 seconds for it to finish"});
    EXPECT_EQ(readFile(out), "third");
    EXPECT_EQ(namesIn(""), Names{"out.txt"}) << "the lock file was left";
}

// The folder cannot be synced after the renames: the outputs are in place
// and the commit says they may not survive a power failure. When a rename
// failed first, what was put back may not either.
TEST_F(Staging, AFolderThatCannotBeSyncedFailsTheCommit) {
    const struct {
        bool renameFails;
        std::string problem;
        std::string second;
    } rows[] = {
        {false,
         dir + ": cannot sync the output folder to the disk: Input/output error; the outputs are in place, but may "
               "not survive a power failure",
         "new second"},
        {true,
         path("second.txt") +
             ": cannot move the new file into place: Input/output error; no output of the run is "
             "changed; the folder " +
             dir + " cannot be synced to the disk (Input/output error): a power failure may undo what was put back",
         "earlier second"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.renameFails);
        const Names outputs = {writeFile("first.txt", "earlier first"), writeFile("second.txt", "earlier second")};
        gFolderSyncs = 0;
        gFailingRenames = row.renameFails ? Names{".second.txt.staged-"} : Names{};
        IOMgmt::setStagingCalls({.rename = failingRename, .syncFolder = failingFolderSync});
        {
            IOMgmt::OutputBatch batch(outputs);
            IOMgmt::writeFileAtomically(outputs[0], "new first");
            IOMgmt::writeFileAtomically(outputs[1], "new second");
            EXPECT_EQ(failure([&] { batch.commit(); }), row.problem);
        }
        EXPECT_EQ(readFile(outputs[0]), row.renameFails ? "earlier first" : "new first");
        EXPECT_EQ(readFile(outputs[1]), row.second);
        EXPECT_EQ(namesIn(""), (Names{"first.txt", "second.txt"})) << "a temporary, kept or lock file was left";
    }
}

// The second output's rename fails, and so does putting the first one
// back: the earlier first file is left under its second name, which the
// message names and no later batch removes.
TEST_F(Staging, AnEarlierFileThatCouldNotBePutBackIsKeptUntilTheUserActs) {
    const Names outputs = {writeFile("first.txt", "earlier first"), writeFile("second.txt", "earlier second")};
    gFailingRenames = {".second.txt.staged-", ".first.txt.kept-"};
    IOMgmt::setStagingCalls({.rename = failingRename});
    std::string problem;
    {
        IOMgmt::OutputBatch batch(outputs);
        IOMgmt::writeFileAtomically(outputs[0], "new first");
        IOMgmt::writeFileAtomically(outputs[1], "new second");
        problem = failure([&] { batch.commit(); });
    }
    const Names left = namesIn("");
    ASSERT_EQ(left.size(), 3u) << "no second name was left";
    const std::string kept = path(left[0]);
    ASSERT_EQ(left[0].rfind(".first.txt.kept-", 0), 0u) << left[0];
    EXPECT_EQ(problem, path("second.txt") + ": cannot move the new file into place: Input/output error; " + outputs[0] +
                           " is the new file, it cannot be put back (Input/output error): the earlier file is " + kept +
                           ", which stays until you move it back or remove it");
    EXPECT_EQ(readFile(kept), "earlier first");

    // Every later batch into the folder names it, one of other outputs too.
    Names notes;
    IOMgmt::IOMgr::getInstance().setNoticeSink([&notes](const std::string& text) { notes.push_back(text); });
    IOMgmt::setStagingCalls({});
    for (const Names& later : {outputs, Names{path("other.txt")}}) {
        IOMgmt::OutputBatch batch(later);
        for (const std::string& output : later) IOMgmt::writeFileAtomically(output, "newer");
        batch.commit();
    }
    EXPECT_EQ(readFile(kept), "earlier first");
    const std::string note = kept + " is an earlier " + outputs[0] +
                             " that a run could not put back; it stays until you move it back or remove it";
    EXPECT_EQ(notes, (Names{note, note}));
}

// A folder this process may not write: read-only and, for root, who writes
// there all the same, with the rights of another user while it lives.
class ReadOnlyFolder {
public:
    ReadOnlyFolder(const std::string& folder, const std::string& above) : folder_(folder) {
        fs::permissions(folder, fs::perms(0555));
        if (::geteuid() != 0) return;
        fs::permissions(above, fs::perms(0755));
        asOther_ = ::seteuid(kNobody) == 0;
        EXPECT_TRUE(asOther_) << "cannot take another user's rights";
    }
    ~ReadOnlyFolder() {
        if (asOther_) {
            EXPECT_EQ(::seteuid(0), 0);
        }
        fs::permissions(folder_, fs::perms(0755));
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    std::string folder_;
    bool asOther_ = false;
};

// What stands at the lock file's name, or a folder the lock file cannot be
// made in: each failure names the output and the lock file with the true
// cause, and says what to do about what is in the way.
TEST_F(Staging, EveryFailureOfTheLockFileNamesItAndItsCause) {
    enum class AtLock { ReadOnlyFolder, Folder, Pipe, Link, DanglingLink };
    const std::string lockFile = path("out/.staged-outputs.lock");
    const std::string named = "the lock file of the outputs " + lockFile;
    const struct {
        AtLock atLock;
        std::string problem;
    } rows[] = {
        {AtLock::ReadOnlyFolder, "cannot create " + named + ": Permission denied"},
        {AtLock::Folder, named + " is a folder, not a file that a run can lock: remove it"},
        {AtLock::Pipe, named + " is a pipe (FIFO), not a file that a run can lock: remove it"},
        {AtLock::Link, named + " is a symbolic link, not a file that a run can lock: remove it"},
        {AtLock::DanglingLink, named + " is a symbolic link, not a file that a run can lock: remove it"},
    };
    const std::string out = path("out/out.txt");
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.atLock));
        fs::remove_all(path("out"));
        writeFile("out/out.txt", "earlier");
        if (row.atLock == AtLock::Folder) fs::create_directory(lockFile);
        if (row.atLock == AtLock::Pipe) ::mkfifo(lockFile.c_str(), 0644);
        if (row.atLock == AtLock::Link) fs::create_symlink("out.txt", lockFile);
        if (row.atLock == AtLock::DanglingLink) fs::create_symlink("nowhere", lockFile);
        std::string problem;
        {
            std::unique_ptr<ReadOnlyFolder> readOnly;
            if (row.atLock == AtLock::ReadOnlyFolder) readOnly = std::make_unique<ReadOnlyFolder>(path("out"), dir);
            IOMgmt::OutputBatch batch({out});
            problem = failure([&] { IOMgmt::writeFileAtomically(out, "new"); });
        }
        EXPECT_EQ(problem, out + ": " + row.problem + "; no output of the run is changed");
        EXPECT_EQ(readFile(out), "earlier");
    }
}

// Two files are one only on one device: the roots of two file systems
// often share a file number.
TEST_F(Staging, TwoFilesOnTwoDevicesAreNeverOneFile) {
    const Names roots = {"/proc", "/sys", "/dev", "/dev/shm", "/dev/pts", "/sys/fs/cgroup", "/"};
    Names pair;
    for (const std::string& a : roots) {
        for (const std::string& b : roots) {
            struct stat first {};
            struct stat second {};
            if (pair.empty() && ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
                first.st_ino == second.st_ino && first.st_dev != second.st_dev) {
                pair = {a, b};
            }
        }
    }
    ASSERT_EQ(pair.size(), 2u) << "no two file systems here share a file number";
    EXPECT_FALSE(IOMgmt::namesSameFile(pair[0], pair[1]));
    EXPECT_TRUE(IOMgmt::namesSameFile(pair[0], pair[0] + "/."));
}

}  // namespace
