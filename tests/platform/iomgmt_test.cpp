#include "platform/util/IOMgmt.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;
using IOMgmt::FileName;
using IOMgmt::FileNamePtr;
using IOMgmt::FileReader;
using IOMgmt::FileWriter;

class IOFiles : public testsupport::ScratchDirTest {
protected:
    FileNamePtr name(const std::string& n) const { return FileNamePtr(new FileName(path(n))); }

    std::vector<std::string> readAll(const std::string& n) const {
        FileReader r;
        EXPECT_TRUE(r.open(name(n)));
        std::vector<std::string> lines;
        std::string line;
        while (!r.eof()) {
            EXPECT_TRUE(r.readPCLine(line));
            lines.push_back(line);
        }
        r.close();
        return lines;
    }
};

using Lines = std::vector<std::string>;

TEST_F(IOFiles, WriterEndsEveryLineWithCrLf) {
    FileWriter w;
    ASSERT_TRUE(w.open(name("out.txt")));
    EXPECT_TRUE(w.putPCLine("V 2018"));
    EXPECT_TRUE(w.putPCLine(""));
    EXPECT_TRUE(w.putPCLine("D SYPCRTN    001 X T  "));
    EXPECT_TRUE(w.close());
    EXPECT_EQ(readFile(path("out.txt")), "V 2018\r\n\r\nD SYPCRTN    001 X T  \r\n");
}

TEST_F(IOFiles, WriterOpenStartsTheFileEmpty) {
    writeFile("out.txt", "old line 1\r\nold line 2\r\n");
    FileWriter w;
    ASSERT_TRUE(w.open(name("out.txt")));
    EXPECT_TRUE(w.putPCLine("new"));
    EXPECT_TRUE(w.close());
    EXPECT_EQ(readFile(path("out.txt")), "new\r\n");
}

TEST_F(IOFiles, WriterReportsFailures) {
    FileWriter w;
    EXPECT_FALSE(w.putPCLine("nowhere"));
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.open(name("no-such-dir/out.txt")));
    EXPECT_FALSE(w.open(FileNamePtr()));
    EXPECT_FALSE(w.isOpen());
}

TEST_F(IOFiles, ReaderStripsLfAndOneCrBeforeIt) {
    writeFile("in.txt", "one\r\ntwo\nthree\r\r\n\r\nlast");
    EXPECT_EQ(readAll("in.txt"), (Lines{"one", "two", "three\r", "", "last"}));
}

TEST_F(IOFiles, FinalLineEndAddsNoEmptyLine) {
    writeFile("in.txt", "a\r\nb\r\n");
    EXPECT_EQ(readAll("in.txt"), (Lines{"a", "b"}));
    writeFile("in2.txt", "\r\n");
    EXPECT_EQ(readAll("in2.txt"), (Lines{""}));
}

TEST_F(IOFiles, EofLooksAhead) {
    writeFile("in.txt", "first\r\nsecond\r\n");
    FileReader r;
    ASSERT_TRUE(r.open(name("in.txt")));
    std::string line;
    EXPECT_FALSE(r.eof());
    EXPECT_TRUE(r.readPCLine(line));
    EXPECT_EQ(line, "first");
    EXPECT_FALSE(r.eof());
    EXPECT_TRUE(r.readLine(line));
    EXPECT_EQ(line, "second");
    EXPECT_TRUE(r.eof());
    EXPECT_FALSE(r.readPCLine(line));
    EXPECT_EQ(line, "");
    r.close();
    EXPECT_TRUE(r.eof());
}

TEST_F(IOFiles, EmptyAndMissingFiles) {
    writeFile("empty.txt", "");
    FileReader r;
    ASSERT_TRUE(r.open(name("empty.txt")));
    EXPECT_TRUE(r.eof());
    EXPECT_FALSE(r.open(name("missing.txt")));
    EXPECT_TRUE(r.eof());
    EXPECT_FALSE(r.open(FileNamePtr()));
    EXPECT_FALSE(r.open(std::string()));
}

TEST_F(IOFiles, ReopeningStartsOver) {
    writeFile("a.txt", "a1\r\na2\r\n");
    writeFile("b.txt", "b1\r\n");
    FileReader r;
    std::string line;
    ASSERT_TRUE(r.open(name("a.txt")));
    ASSERT_TRUE(r.readPCLine(line));
    ASSERT_TRUE(r.open(name("b.txt")));
    ASSERT_TRUE(r.readPCLine(line));
    EXPECT_EQ(line, "b1");
    EXPECT_TRUE(r.eof());
}

TEST_F(IOFiles, WrittenLinesReadBackIdentically) {
    const Lines lines = {"Y 2018", "", "  spaced  ", "tab\there", std::string(5000, 'x'), "end"};
    {
        FileWriter w;
        ASSERT_TRUE(w.open(name("rt.txt")));
        for (const auto& l : lines) {
            ASSERT_TRUE(w.putPCLine(l));
        }
        ASSERT_TRUE(w.close());
    }
    EXPECT_EQ(readAll("rt.txt"), lines);
}

TEST_F(IOFiles, FileNameServices) {
    writeFile("ga.tif", "x");
    FileName f(path("ga.tif"));
    EXPECT_TRUE(f.fileExist());
    EXPECT_EQ(f.getDisplayName(-1), path("ga.tif"));
    EXPECT_EQ(f.getShortName(), "ga.tif");
    EXPECT_EQ(f.getDisplayName(1000), path("ga.tif"));
    const std::string shortened = f.getDisplayName(10);
    EXPECT_EQ(shortened.size(), 10u);
    EXPECT_EQ(shortened, ".../ga.tif");
    EXPECT_TRUE(f.deleteFile());
    EXPECT_FALSE(f.fileExist());
    EXPECT_FALSE(f.deleteFile());

    EXPECT_FALSE(FileName(dir).fileExist());  // a directory is not a file
    EXPECT_FALSE(FileName(dir).deleteFile());
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(FileName("plain").getShortName(), "plain");
    EXPECT_FALSE(FileName("").fileExist());
}

TEST_F(IOFiles, ReaderReadsOnlyARegularFileWithinItsLimit) {
    ::mkfifo(path("fifo").c_str(), 0644);
    writeFile("four.txt", "abcd");
    writeFile("five.txt", "abcde");
    const struct {
        std::string path;
        std::string problem;  // empty: read
    } cases[] = {
        {path("four.txt"), ""},
        {path("five.txt"), "is larger than the limit of 4 bytes"},
        {dir, "is a directory"},
        {path("fifo"), "is not a regular file (a device, pipe or socket)"},
        {"/dev/zero", "is not a regular file (a device, pipe or socket)"},
        {path("missing.txt"), "cannot open it: No such file or directory"},
    };
    for (const auto& c : cases) {
        FileReader r;
        r.setSizeLimit(4);
        EXPECT_EQ(r.open(c.path), c.problem.empty()) << c.path;
        EXPECT_EQ(r.problem(), c.problem);
    }
}

// A write left unfinished, by a writer destroyed while open or by one that
// discards it, leaves the old file and no temporary file; so does a write
// closed while writes go nowhere.
TEST_F(IOFiles, WriterKeepsTheOldFileUntilItCloses) {
    writeFile("out.txt", "old\r\n");
    enum class End { NeverClosed, Discarded, ClosedNowhere };
    for (const End end : {End::NeverClosed, End::Discarded, End::ClosedNowhere}) {
        SCOPED_TRACE(static_cast<int>(end));
        {
            std::optional<IOMgmt::WritesNowhere> nowhere;
            if (end == End::ClosedNowhere) nowhere.emplace();
            FileWriter w;
            ASSERT_TRUE(w.open(name("out.txt")));
            EXPECT_TRUE(w.putPCLine(std::string(100000, 'n')));  // past the write buffer: on disk
            EXPECT_EQ(readFile(path("out.txt")), "old\r\n");
            if (end == End::Discarded) {
                w.discard();
                EXPECT_FALSE(w.isOpen());
            }
            EXPECT_TRUE(end == End::NeverClosed || w.close());  // nothing put in place
        }
        EXPECT_EQ(readFile(path("out.txt")), "old\r\n");
        EXPECT_EQ(namesIn(""), Names{"out.txt"}) << "a temporary file was left";
    }
}

TEST_F(IOFiles, ABatchMovesItsOutputsIntoPlaceOnlyTogether) {
    const std::string a = writeFile("a.txt", "old a");
    const std::string b = writeFile("b.txt", "old b");
    const std::string in = writeFile("in.xml", "input");
    {
        IOMgmt::OutputBatch batch({a, path("./b.txt")});
        EXPECT_THROW(IOMgmt::OutputBatch({path("c.txt")}), Exceptions::QuarloException);  // one at a time
        batch.addInput(in, "the return file being run");
        auto& io = IOMgmt::IOMgr::getInstance();
        EXPECT_EQ(io.reservedUse(dir + "/./in.xml"), "is the return file being run");
        EXPECT_EQ(io.reservedUse(b), "is an output of this run");
        EXPECT_EQ(io.reservedUse(path("c.txt")), "");
        IOMgmt::writeFileAtomically(a, "new a");
        EXPECT_THROW(batch.commit(), Exceptions::QuarloException);  // b is missing
        EXPECT_EQ(readFile(a), "old a");
    }
    EXPECT_EQ(readFile(a), "old a");
    EXPECT_EQ(namesIn(""), (Names{"a.txt", "b.txt", "in.xml"})) << "a temporary file was left";
    {
        IOMgmt::OutputBatch batch({a, b});
        IOMgmt::writeFileAtomically(a, "new a");
        FileWriter w;
        ASSERT_TRUE(w.open(b));
        ASSERT_TRUE(w.putPCLine("new b"));
        ASSERT_TRUE(w.close());
        EXPECT_EQ(readFile(b), "old b");
        batch.commit();
    }
    EXPECT_EQ(readFile(a), "new a");
    EXPECT_EQ(readFile(b), "new b\r\n");
    EXPECT_EQ(namesIn(""), (Names{"a.txt", "b.txt", "in.xml"}));
    fs::create_directory(path("d"));
    EXPECT_THROW(IOMgmt::OutputBatch({path("d")}), Exceptions::QuarloException);
}

// A message shows a path whole, for the user to type (a long second name:
// Staging tests); only what no path can be is cut.
TEST(IOMgr, APathIsShownWhole) {
    EXPECT_EQ(IOMgmt::shownPath(std::string(4096, 'p')), std::string(4096, 'p'));
    EXPECT_EQ(IOMgmt::shownPath(std::string(4097, 'p')), std::string(4096, 'p') + "...");
}

TEST(IOMgr, HandsOutAndTakesBackReadersAndWriters) {
    auto& mgr = IOMgmt::IOMgr::getInstance();
    EXPECT_EQ(&mgr, &IOMgmt::IOMgr::getInstance());
    FileReader* r = mgr.allocateFileReader();
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->eof());
    EXPECT_TRUE(mgr.deallocateFileReader(r));
    EXPECT_FALSE(mgr.deallocateFileReader(r));  // given back twice: ignored
    EXPECT_FALSE(mgr.deallocateFileReader(nullptr));
    FileReader own;
    EXPECT_FALSE(mgr.deallocateFileReader(&own));  // not the manager's

    FileWriter* w = mgr.allocateFileWriter();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(mgr.deallocateFileWriter(w));
    EXPECT_FALSE(mgr.deallocateFileWriter(w));
}

}  // namespace
