// gahost run's outputs, all or nothing, and the federal e-file it reads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Users.h"

namespace {

namespace fs = std::filesystem;

const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";
const std::string kBlock = "D FDF1040    001 X T  \r\n00010.000 001 FED\r\n";

class RunOutputsTest : public testsupport::ScratchDirTest {
protected:
    // The three outputs of single-wages.xml in out/, with texts of an
    // earlier run that no failed run may change.
    void SetUp() override {
        ScratchDirTest::SetUp();
        for (const char* name : kOutputs) writeFile(std::string("out/") + name, std::string("earlier ") + name);
    }
    testsupport::GahostResult run(std::vector<std::string> extra, rlim_t fileSizeLimit = 0) {
        std::vector<std::string> args = {"run", kExample, "--out", path("out")};
        args.insert(args.end(), extra.begin(), extra.end());
        return testsupport::runGahost(args, {}, dir, {}, fileSizeLimit);
    }
    // The files of out/, by name.
    std::vector<std::string> outFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir + "/out")) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void expectEarlierOutputs() const {
        for (const char* name : kOutputs) {
            EXPECT_EQ(readFile(path(std::string("out/") + name)), std::string("earlier ") + name);
        }
        EXPECT_EQ(outFiles().size(), 3u) << "a temporary file was left";
    }

    static constexpr const char* kOutputs[] = {"GA-efile.txt", "single-wages.print.txt", "single-wages.xml"};
};

TEST_F(RunOutputsTest, AFederalEFileItCannotUseIsRefusedBeforeAnyOutputIsTouched) {
    ::mkfifo(path("fifo").c_str(), 0644);
    const std::string large = writeFile("large.txt", "D FDF1040\r\n");
    fs::resize_file(large, 1024 * 1024 + 1);
    const struct {
        std::string file;
        std::string problem;
    } cases[] = {
        {path("missing.txt"), "cannot open it: No such file or directory"},
        {dir, "is a directory"},
        {"/dev/null", "is not a regular file"},
        {"/dev/zero", "is not a regular file"},
        {path("fifo"), "is not a regular file"},
        {large, "is larger than the limit of 1 MiB"},
        {writeFile("empty.txt", ""), "is empty"},
        {writeFile("binary.bin", std::string("\x7f"
                                             "ELF\0\0\x01\xff",
                                             8)),
         "has no federal data block"},
        {writeFile("plain.txt", "H FEDERAL\r\nD FDOTHER\r\n"), "has no federal data block"},
        {writeFile("nul.txt", "H\r\n" + kBlock + "0001" + std::string(1, '\0') + "\r\n"),
         "the federal data block is refused: line 4 holds a NUL byte"},
        {writeFile("crcr.txt", "D FDBKDATA\r\r\n"), "the federal data block is refused: line 1 ends with CR CR LF"},
        {path("out/GA-efile.txt"), "is the e-file that this run writes"},
        {path("out/../out/single-wages.xml"), "is the saved return that this run writes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const testsupport::GahostResult r = run({"--federal-efile", c.file});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.find("gahost: --federal-efile " + c.file + ": " + c.problem), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        expectEarlierOutputs();
    }
    // Before the block, what a federal e-file holds is not copied, and not
    // refused.
    const std::string good = writeFile("good.txt", std::string("H \0\r\r\n", 6) + kBlock);
    const testsupport::GahostResult r = run({"--federal-efile", good});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string efile = readFile(path("out/GA-efile.txt"));
    EXPECT_EQ(efile.substr(efile.size() - kBlock.size()), kBlock);
}

TEST_F(RunOutputsTest, AStepThatCannotWriteLeavesEveryOutputAsItWas) {
    // A file-size limit fails the writes past it, as a full disk does: the
    // e-file first (a federal data block makes it larger than the print
    // file, which passes), past both the saved return (33 kB).
    const testsupport::EFileSizeLimit eFileSize = testsupport::eFileSizeLimit(kExample, dir);
    const struct {
        std::vector<std::string> options;
        rlim_t limit;
        std::string message;
    } cases[] = {
        {eFileSize.options, eFileSize.limit, "the Georgia e-file " + path("out/GA-efile.txt") + " was not written"},
        {{}, 8192, path("out/single-wages.xml") + ": cannot write the temporary file: File too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        const testsupport::GahostResult r = run(c.options, c.limit);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        expectEarlierOutputs();
    }
    ASSERT_EQ(run({}).status, 0);
    EXPECT_NE(readFile(path("out/single-wages.xml")).find("<RETURNFILE"), std::string::npos);
}

// A run whose printout is lost (a full disk, a pipe whose reader has gone)
// fails after every output is written, just before the commit: no file it
// writes may be in place by then, in a folder of earlier outputs or in a
// new one, which goes with the folders made above it, deepest first.
TEST_F(RunOutputsTest, EveryFileARunWritesWaitsForItsCommit) {
    for (const char* printout : {"/dev/full", "|"}) {
        for (const char* folder : {"out", "new/y/z"}) {
            SCOPED_TRACE(std::string(printout) + " " + folder);
            const testsupport::GahostResult r =
                testsupport::runGahost({"run", kExample, "--out", path(folder)}, {}, dir, {}, 0, printout);
            EXPECT_EQ(r.status, 1);
            EXPECT_NE(r.err.find("; no output of the run is changed"), std::string::npos) << r.err;
        }
    }
    expectEarlierOutputs();
    EXPECT_FALSE(fs::exists(path("new"))) << "a failed run leaves no folder it made";
}

// The test facility's whole-return dump, asked to go into a folder named as
// the print file, makes that folder while the run calculates.
TEST_F(RunOutputsTest, AnOutputThatATestDumpMadeAFolderIsRefusedBeforeAnyIsReplaced) {
    const std::string printFile = path("out/single-wages.print.txt");
    fs::remove(printFile);
    writeFile("root/AutoTest_QV/QuarloAutoTest_QVQA.xml",
              "<AUTOTESTOPTIONS><GAGENERATECYCLE>Yes</GAGENERATECYCLE><GAOUTPUTDIR>" + printFile +
                  "</GAOUTPUTDIR></AUTOTESTOPTIONS>");
    const testsupport::GahostResult r = run({"--autotest", path("root")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "gahost: " + printFile + ": is a folder (of " + testsupport::thisUser() +
                         "), and is not replaced; remove it, or write the outputs into another folder; no output of "
                         "the run is changed\n");
    EXPECT_TRUE(fs::exists(printFile + "/single-wages.xml"));
    EXPECT_EQ(readFile(path("out/GA-efile.txt")), "earlier GA-efile.txt");
    EXPECT_EQ(readFile(path("out/single-wages.xml")), "earlier single-wages.xml");
    EXPECT_EQ(outFiles().size(), 3u) << "a temporary file was left";
}

// Two versions of one return, on paper and e-filed, run into one folder at
// once, again and again: the outputs are always all of one run.
TEST_F(RunOutputsTest, RunsIntoOneFolderAtOnceLeaveTheOutputsOfOne) {
    const std::vector<std::string> versions[] = {{}, {"--efile", "--device-id", "3F2A9C01D4E5"}};
    const auto runVersion = [&](int version, const std::string& folder) {
        std::vector<std::string> args = {"run", GA_SOURCE_DIR "/examples/balance-due.xml", "--out", path(folder)};
        args.insert(args.end(), versions[version].begin(), versions[version].end());
        const std::string capture = path("capture" + std::to_string(version));
        fs::create_directories(capture);
        return testsupport::runGahost(args, {}, capture);
    };
    const auto outputsIn = [&](const std::string& folder) {
        std::vector<std::string> texts;
        for (const char* name : {"GA-efile.txt", "balance-due.print.txt", "balance-due.xml"}) {
            texts.push_back(readFile(path(folder + "/" + name)));
        }
        return texts;
    };
    std::vector<std::string> alone[2];
    for (int version : {0, 1}) {
        ASSERT_EQ(runVersion(version, "alone" + std::to_string(version)).status, 0);
        alone[version] = outputsIn("alone" + std::to_string(version));
    }
    for (std::size_t i = 0; i < alone[0].size(); ++i) ASSERT_NE(alone[0][i], alone[1][i]) << "output " << i;
    for (int round = 0; round < 30; ++round) {
        testsupport::GahostResult results[2];
        std::thread second([&] { results[1] = runVersion(1, "together"); });
        results[0] = runVersion(0, "together");
        second.join();
        for (const testsupport::GahostResult& r : results) ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> found = outputsIn("together");
        ASSERT_TRUE(found == alone[0] || found == alone[1]) << "round " << round << ": the outputs of both runs";
    }
}

// In the run's private folder: what killed runs left goes (every name
// there is a run's), what a live writer holds and an earlier output that a
// failed run could not put back stay, and so does a file of another user
// that an exchange back brought there (only root can give one); in the
// shared folder every file is the user's, whatever its name.
TEST_F(RunOutputsTest, TheNextRunRemovesWhatKilledRunsLeftInItsFolder) {
    const std::string own = "out/.staged-outputs." + std::to_string(::geteuid()) + "/";
    fs::create_directories(path(own));
    fs::permissions(path(own), fs::perms::owner_all);
    const std::string abandoned[] = {own + ".single-wages.xml.staged-a1B2c3", own + ".GA-efile.txt.staged-zzzzzz",
                                     own + ".other.xml.staged-000000", own + "..single-wages.xml.staged-abc123",
                                     own + ".staged-outputs.lock"};
    for (const std::string& name : abandoned) writeFile(name, "cut");
    // A run still writing holds its temporary file locked.
    const std::string live = writeFile(own + ".single-wages.print.txt.staged-LIVE01", "busy");
    const int fd = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    // Names not of that form, and an earlier output that a failed run could
    // not put back; the user's own files named like the run's.
    const std::string others[] = {own + ".x.staged-12345",
                                  own + ".single-wages.xml.staged-abc1234",
                                  own + ".single-wages.xml.staged-abc12!",
                                  own + ".single-wages.print.txt.kept-Q9w8E7",
                                  "out/.single-wages.xml.staged-a1B2c3",
                                  "out/.staged-outputs.lock",
                                  "out/.staged-outputs.commit"};
    for (const std::string& name : others) writeFile(name, "mine");
    const std::string theirs = writeFile(own + ".single-wages.xml.staged-Th31r5", "theirs");
    const bool given = !testsupport::leftOutUnlessRoot("a file of another user in the run's folder");
    if (given) {
        ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    }

    ASSERT_EQ(run({}).status, 0);
    for (const std::string& name : abandoned) EXPECT_FALSE(fs::exists(path(name))) << name;
    EXPECT_TRUE(fs::exists(live));
    for (const std::string& name : others) EXPECT_EQ(readFile(path(name)), "mine") << name;
    EXPECT_EQ(fs::exists(theirs), given);
    ::close(fd);
}

}  // namespace
