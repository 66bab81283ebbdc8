// What gahost run refuses before any work, and what it says when a step
// fails: the federal e-file, read once; outputs that would be one file; the
// cause of an e-file that cannot be written; a lock file that is a folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

#include "host/RunFiles.h"
#include "platform/util/IOMgmt.h"
#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Users.h"

namespace {

namespace fs = std::filesystem;

const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";
const std::string kBlock = "D FDF1040    001 X T  \r\n00010.000 001 FED\r\n";

class RunChecksTest : public testsupport::ScratchDirTest {
protected:
    testsupport::GahostResult run(const std::string& input, std::vector<std::string> extra, rlim_t sizeLimit = 0) {
        std::vector<std::string> args = {"run", input, "--out", path("out")};
        args.insert(args.end(), extra.begin(), extra.end());
        return testsupport::runGahost(args, {}, dir, {}, sizeLimit);
    }
    // Refused with one line before anything is calculated or written.
    void expectRefused(const testsupport::GahostResult& r, const std::string& message) const {
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("gahost: " + message, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
};

// A block that the e-file cannot carry as it stands is refused by its line:
// a lone carriage return, or any byte but printable ASCII and the line end.
TEST_F(RunChecksTest, AFederalEFileThatIsAnOutputOrHoldsWhatTheEFileCannotCarryIsRefused) {
    writeFile("out/single-wages.print.txt", "earlier print file");
    const struct {
        std::string file;
        std::string problem;
    } rows[] = {
        {path("out/single-wages.print.txt"), "is the print file that this run writes"},
        {writeFile("cr.txt", "H\r\n" + kBlock + "00020.000 001 A\rB\r\n"),
         "the federal data block is refused: line 4 holds a carriage return that does not end it"},
        {writeFile("tab.txt", kBlock + "00020.000 001\tA\r\n"),
         "the federal data block is refused: line 3 holds a tab"},
        {writeFile("ff.txt", kBlock + "\f\r\n"), "the federal data block is refused: line 3 holds a form feed"},
        {writeFile("del.txt", kBlock + "A\x7f\r\n"),
         "the federal data block is refused: line 3 holds the control character 0x7F"},
        {writeFile("nbsp.txt", "D FDF1040 \u00a0\r\n"),
         "the federal data block is refused: line 1 holds the byte 0xC2, which is not ASCII; the e-file carries "
         "printable ASCII alone"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        expectRefused(run(kExample, {"--federal-efile", row.file}), "--federal-efile " + row.file + ": " + row.problem);
        EXPECT_EQ(readFile(path("out/single-wages.print.txt")), "earlier print file");
        EXPECT_FALSE(fs::exists(path("out/GA-efile.txt")));
    }
}

// The federal e-file is named through the options folder of the test
// facility, which removes that folder (empty) during the calculation: the
// name leads nowhere when the e-file is written, and the block comes from
// the copy read before.
TEST_F(RunChecksTest, TheFederalBlockIsTheOneReadAndCheckedBeforeTheRun) {
    writeFile("root/federal.txt", "H FED\r\n" + kBlock);
    fs::create_directories(path("root/AutoTest_QV"));
    const std::string federal = path("root/AutoTest_QV/../federal.txt");
    const testsupport::GahostResult r = run(kExample, {"--federal-efile", federal, "--autotest", path("root")});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(fs::exists(path("root/AutoTest_QV")));
    const std::string efile = readFile(path("out/GA-efile.txt"));
    ASSERT_GE(efile.size(), kBlock.size());
    EXPECT_EQ(efile.substr(efile.size() - kBlock.size()), kBlock);
}

// A link at the e-file's name to the print file is refused as a link: two outputs are not one name.
TEST_F(RunChecksTest, AReturnFileSavedUnderAnOutputsNameIsRefusedBeforeAnyWork) {
    const std::string input = writeFile("in/GA-efile.txt", readFile(kExample));
    expectRefused(run(input, {}), "the saved return and the e-file of this run would both be " +
                                      path("out/GA-efile.txt") + ": rename the return file");
    EXPECT_FALSE(fs::exists(path("out")));
    writeFile("out/single-wages.print.txt", "earlier");
    fs::create_symlink("single-wages.print.txt", path("out/GA-efile.txt"));
    expectRefused(run(kExample, {}), path("out/GA-efile.txt") + ": is a symbolic link (of " + testsupport::thisUser() +
                                         "), and is not replaced; remove it, or write the outputs into another "
                                         "folder; no output of the run is changed");
    EXPECT_EQ(readFile(path("out/single-wages.print.txt")), "earlier");
}

TEST_F(RunChecksTest, AnEFileThatCannotBeWrittenSaysWhy) {
    // The e-file meets a file-size limit, as it would a full disk.
    const testsupport::EFileSizeLimit size = testsupport::eFileSizeLimit(kExample, dir);
    const testsupport::GahostResult r = run(kExample, size.options, size.limit);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("gahost: the Georgia e-file " + path("out/GA-efile.txt") +
                         " was not written: cannot write the temporary file: File too large; no output of the "
                         "run is changed\n"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(path("out/GA-efile.txt")));
}

// The first output written, the e-file's preparation, takes the run's
// folder: it fails as the e-file's write, before anything is printed, and
// the message names what stands at the folder's name, and what to do.
TEST_F(RunChecksTest, ARunFolderThatIsNotAFolderIsNamed) {
    const std::string runFolder = path("out/.staged-outputs." + std::to_string(::geteuid()));
    writeFile(runFolder.substr(dir.size() + 1), "mine");
    const testsupport::GahostResult r = run(kExample, {});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "gahost: the Georgia e-file " + path("out/GA-efile.txt") +
                  " was not written: the folder of the run's own files " + runFolder + " is a file (of " +
                  testsupport::thisUser() +
                  "), and is not used; remove it, or write the outputs into another folder; no output of the run "
                  "is changed\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(path("out")), fs::directory_iterator()), 1);
}

// The print file's name is the return file's with ".print.txt": one of 256
// bytes is refused before any work, naming the output and the limit.
TEST_F(RunChecksTest, AnOutputNameTooLongIsRefusedBeforeAnyWork) {
    const std::string stem(246, 'n');
    expectRefused(run(writeFile("in/" + stem + ".xml", readFile(kExample)), {}),
                  "the print file " + path("out/" + stem + ".print.txt") +
                      " cannot be written: its name is 256 bytes, longer than the 255 bytes that a file written in " +
                      path("out") + " may have; give the return file a shorter name");
    EXPECT_FALSE(fs::exists(path("out")));
}

// Each note goes out in one piece, with gahost's prefix or without.
TEST(Notes, EachNoteIsWrittenInOnePiece) {
    struct Pieces : std::streambuf {
        std::vector<std::string> pieces;
        std::streamsize xsputn(const char* text, std::streamsize count) override {
            pieces.emplace_back(text, static_cast<std::size_t>(count));
            return count;
        }
        int_type overflow(int_type c) override { return pieces.emplace_back(1, static_cast<char>(c)), c; }
    };
    for (const std::string prefix : {"note: ", "gahost: note: "}) {
        Pieces err;
        std::streambuf* const previous = std::cerr.rdbuf(&err);
        std::optional<GAHost::NotesPrinted> notes;
        if (prefix != "note: ") notes.emplace(std::cerr);
        IOMgmt::IOMgr::getInstance().notice("DIR: a note");
        notes.reset();
        std::cerr.rdbuf(previous);
        EXPECT_EQ(err.pieces, std::vector<std::string>{prefix + "DIR: a note\n"});
    }
}

}  // namespace
