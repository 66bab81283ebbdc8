// gahost run --autotest DIR: the module's automated testing on a real run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Users.h"

namespace {

namespace fs = std::filesystem;

const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";

// How often the part stands in the text.
std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

class AutoTestRunTest : public testsupport::ScratchDirTest {
protected:
    testsupport::GahostResult run(const std::vector<std::string>& args) {
        return testsupport::runGahost(args, {}, dir);
    }
    void options() {
        writeFile("root/AutoTest_QV/QuarloAutoTest_QVQA.xml",
                  "<AUTOTESTOPTIONS><GAGENERATECYCLE>Yes</GAGENERATECYCLE><GAOUTPUTDIR>" + path("root/whole") +
                      "</GAOUTPUTDIR><GAOUTPUTFIELDVALUES>Yes</GAOUTPUTFIELDVALUES><GAOUTPUTFIELDVALUESDIR>" +
                      path("root/values") + "</GAOUTPUTFIELDVALUESDIR></AUTOTESTOPTIONS>");
    }
    bool dumped() const { return fs::exists(path("root/whole/single-wages.xml")); }
    static std::string option(const std::string& key, const std::string& value) {
        return "<" + key + ">" + value + "</" + key + ">";
    }
    std::string import(const std::string& file) const {
        return option("GAIMPORTFIELDS", "Yes") + option("GAFIELDLIST", file);
    }
    std::string relations(const std::string& forms, const std::string& result) {
        return option("GAFIELDRELATION", "Yes") + option("GAFIELDRELATIONFORMSAFFECTED", forms) +
               option("GAFIELDRELATIONINPUTFIELDS", writeFile("relations.xml", "<RELATIONS/>")) +
               option("GAFIELDRELATIONOUTPUTFIELDS", result);
    }
    static std::string names(const std::string& folder, const std::string& file) {
        return option("GAOUTPUTALLFIELDS", "Yes") + option("GAOUTPUTALLFIELDSDIR", folder) +
               option("GAOUTPUTALLFIELDSFILE", file);
    }
    // A file the facility cannot use or a value it cannot set: the options,
    // and the note the run must give.
    struct UnusableCase {
        std::string options;
        std::string note;
        bool theirs = false;  // needs another user's file
    };
    // The rows, on the return file `input`, with another user's files (or
    // the user's own, where the user is not root) `theirs` and `theirDump`.
    std::vector<UnusableCase> unusableCases(const std::string& input, const std::string& theirs,
                                            const std::string& theirDump) {
        return {
            {import(path("fifo")), "the field-value import file \"" + path("fifo") + "\": is not a regular file"},
            {import("/dev/zero"), "the field-value import file \"/dev/zero\": is not a regular file"},
            {import(dir), "the field-value import file \"" + dir + "\": is a directory"},
            {import(path("none.txt")), "\"" + path("none.txt") + "\": cannot open it: No such file or directory"},
            {relations(path("fifo"), path("result.txt")),
             "the forms list of the field-relation test \"" + path("fifo")},
            {relations(writeFile("forms.txt", "GA70\n"), path("fifo")),
             "the field-relation result file \"" + path("fifo") + "\": is a pipe (of "},
            {relations(writeFile("forms.txt", "GA70\n"), path("link.txt")),
             "the field-relation result file \"" + path("link.txt") + "\": is a symbolic link (of "},
            {relations(writeFile("forms.txt", "GA70\n"), theirs),
             "the field-relation result file \"" + theirs + "\": is owned by " + testsupport::userName(65534), true},
            {option("GAGENERATECYCLE", "Yes") + option("GAOUTPUTDIR", path("dumps")),
             "the whole-return dump: " + theirDump + ": is owned by " + testsupport::userName(65534), true},
            {relations(writeFile("forms.txt", "GA70\n"), input), ": is the return file being run; the test is skipped"},
            {option("GAGENERATECYCLE", "Yes") + option("GAOUTPUTDIR", path("in")),
             "the whole-return dump \"" + input + "\": is the return file being run; not written"},
            {names(path("names"), "../escaped.txt"), "the file name leaves the folder " + path("names")},
            {names(path("names"), "/tmp/x.txt"), "the file name leaves the folder"},
            {names("", "x.txt"), "the list of all field names \"x.txt\": no folder is given; not written"},
            // The folder of the run's own files, however spelled.
            {names(path("out/../out/.staged-outputs." + std::to_string(::geteuid())), "a.txt"),
             path("out/../out/.staged-outputs." + std::to_string(::geteuid())) +
                 "/a.txt\": is in the folder of this run's own files; not written"},
            // Values a return file could not give the field, each skipped alone.
            {import(writeFile("import1.txt", "GA70::1::GeorgiaWithheld::10,000,000,000,000.01\n")),
             "form GA70 copy 1 field 87 (kGA70_GeorgiaWithheld): amount \"10,000,000,000,000.01\" is beyond the limit "
             "of "
             "10,000,000,000,000 dollars either way; not set"},
            {import(writeFile("import2.txt", "GA69::1::F76::-5\n")),
             "form GA69 copy 1 field 76 (kGA69_F76): amount \"-5\" is below 0 (the field takes 0 or more); not set"},
            {import(writeFile("import3.txt", "GA69::1::ResidentFrom::07/01/2019\n")),
             "field 113 (kGA69_ResidentFrom): date \"07/01/2019\" is not in 2018"},
            {import(writeFile("import4.txt", "GA69::1::WithdrawalRoutingNumber::12\x01\n")),
             "field 187987 (kGA69_WithdrawalRoutingNumber): text \"12\\x01\" holds a character that XML cannot carry"},
            {import(writeFile("import5.txt", "GA69::1::WithdrawalRoutingNumber::12\xFF\n")),
             "is not valid UTF-8 (byte 0xFF at offset 2); not set"},
            {import(writeFile("import6.txt", "GA190057::1::F190186::12abc\n")),
             "form GA190057 copy 1 field 190186 (kGA190057_F190186): the value \"12abc\" is not an amount"},
            {import(writeFile("import7.txt", "GA190057::4294967297::F190186::777\n")),
             "form GA190057 copy 4294967297 field 190186 (kGA190057_F190186): the copy number \"4294967297\" is no "
             "copy of the form (a whole number from 1 to 99); not set"},
            {import(writeFile("import8.txt", "GA69::1::ResidentFrom::12/31/2018\nGA69::1::ResidentTo::07/01/2018\n")),
             "field 114 (kGA69_ResidentTo): the part-year residency period 12/31/2018 to 07/01/2018 ends before it "
             "begins"},
            {"<AUTOTESTOPTIONS><GAGENERATECYCLE>Yes", "QuarloAutoTest_QVQA.xml\": is not well-formed XML"},
        };
    }
};

TEST_F(AutoTestRunTest, DumpsOnceUntilAClearFileResetsTheMark) {
    options();
    ASSERT_EQ(run({"run", kExample, "--out", path("out")}).status, 0);
    EXPECT_FALSE(dumped());  // not without --autotest

    const testsupport::GahostResult first = run({"run", kExample, "--out", path("out"), "--autotest", path("root")});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(dumped());
    EXPECT_TRUE(fs::exists(path("root/values/single-wages.xml")));
    const testsupport::GahostResult check = run({"check", path("root/whole/single-wages.xml")});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_NE(check.out.find("Georgia return"), std::string::npos);

    // The written return carries the done mark: a run on it dumps nothing
    // until the driver's clear file resets the mark.
    fs::remove_all(path("root/whole"));
    ASSERT_EQ(run({"run", path("out/single-wages.xml"), "--out", path("again"), "--autotest", path("root")}).status, 0);
    EXPECT_FALSE(dumped());
    writeFile("root/AutoTest_QV/GAQuarloAutoTest_Clear.xml", "<AUTOTESTOPTIONS><CLEAR>Yes</CLEAR></AUTOTESTOPTIONS>");
    ASSERT_EQ(run({"run", path("out/single-wages.xml"), "--out", path("again"), "--autotest", path("root")}).status, 0);
    EXPECT_TRUE(dumped());
}

// Each row: the options, a note the run must give, and what it must leave.
TEST_F(AutoTestRunTest, FilesItCannotUseAreSkippedWithANote) {
    ::mkfifo(path("fifo").c_str(), 0644);
    // Another user's files: only root can give a file away, and the rows
    // that need them are left out for any other user.
    const std::string theirs = writeFile("theirs.txt", "theirs");
    const std::string theirDump = writeFile("dumps/single-wages.xml", "theirs");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(theirDump.c_str(), 65534, 65534), 0);
    }
    fs::create_symlink("result.txt", path("link.txt"));
    const std::string input = writeFile("in/single-wages.xml", readFile(kExample));
    for (const UnusableCase& c : unusableCases(input, theirs, theirDump)) {
        SCOPED_TRACE(c.options);
        if (c.theirs && testsupport::leftOutUnlessRoot(c.note)) continue;
        writeFile("root/AutoTest_QV/QuarloAutoTest_QVQA.xml", "<AUTOTESTOPTIONS>" + c.options + "</AUTOTESTOPTIONS>");
        const testsupport::GahostResult r = run({"run", input, "--out", path("out"), "--autotest", path("root")});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("gahost: note: test facility: "), std::string::npos) << r.err;
        // The run calculates the return more than once: each note is
        // printed once all the same.
        EXPECT_EQ(occurrences(r.err, c.note), 1u) << r.err;
        EXPECT_EQ(readFile(input), readFile(kExample));
        EXPECT_EQ(run({"check", path("out/single-wages.xml")}).status, 0);
    }
    EXPECT_FALSE(fs::exists(path("escaped.txt")));
    EXPECT_EQ(readFile(path("result.txt")) + readFile(theirs) + readFile(theirDump), "theirstheirs");
}

// An options file that is a pipe is skipped, as a file the run cannot use.
TEST_F(AutoTestRunTest, AnOptionsFileThatIsAPipeIsSkipped) {
    const std::string input = writeFile("in/single-wages.xml", readFile(kExample));
    fs::create_directories(path("root/AutoTest_QV"));
    ASSERT_EQ(::mkfifo(path("root/AutoTest_QV/QuarloAutoTest_QVQA.xml").c_str(), 0644), 0);
    const testsupport::GahostResult r = run({"run", input, "--out", path("out"), "--autotest", path("root")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("QuarloAutoTest_QVQA.xml\": is not a regular file"), std::string::npos) << r.err;
}

// A clear file that says "Yes" is written again with "No", unless it is a
// file the run reads or writes: that one is left as it is, with a note.
TEST_F(AutoTestRunTest, AClearFileThatIsAReservedFileIsNotWrittenOver) {
    const std::string clearFile = path("root/AutoTest_QV/GAQuarloAutoTest_Clear.xml");
    const std::string block = "D FDF1040    001 X T  \r\n00010.000 001 FED\r\n";
    const std::string federal = "<AUTOTESTOPTIONS><CLEAR>Yes</CLEAR>\r\n" + block + "</AUTOTESTOPTIONS>\r\n";
    const std::string earlierEFile = "<AUTOTESTOPTIONS><CLEAR>Yes</CLEAR></AUTOTESTOPTIONS>";
    const struct {
        const char* what;
        std::vector<std::string> extra;
        std::string reserved;  // the file the clear file is
        std::string use;
    } rows[] = {
        {"the federal e-file", {"--federal-efile", clearFile}, clearFile, "is the federal e-file of this run"},
        {"an output", {}, path("out/GA-efile.txt"), "is an output of this run"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(path("root"));
        fs::remove_all(path("out"));
        if (row.extra.empty()) {
            writeFile("out/GA-efile.txt", earlierEFile);
            fs::create_directories(path("root/AutoTest_QV"));
            fs::create_symlink(row.reserved, clearFile);
        } else {
            writeFile("root/AutoTest_QV/GAQuarloAutoTest_Clear.xml", federal);
        }
        std::vector<std::string> args = {"run", kExample, "--out", path("out"), "--autotest", path("root")};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const testsupport::GahostResult r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("gahost: note: test facility: the clear file \"" + clearFile + "\": " + row.use +
                             "; it is not written again"),
                  std::string::npos)
            << r.err;
        const std::string efile = readFile(path("out/GA-efile.txt"));
        EXPECT_EQ(efile.rfind("Y 2018\r\n", 0), 0u) << efile;
        if (!row.extra.empty()) {
            EXPECT_EQ(readFile(clearFile), federal);
            EXPECT_EQ(efile.substr(efile.size() - block.size() - 20), block + "</AUTOTESTOPTIONS>\r\n");
        }
    }
}

TEST_F(AutoTestRunTest, NestedOutputFoldersAreMade) {
    writeFile("root/AutoTest_QV/QuarloAutoTest_QVQA.xml",
              "<AUTOTESTOPTIONS><GAOUTPUTALLFIELDS>Yes</GAOUTPUTALLFIELDS><GAOUTPUTALLFIELDSDIR>" + path("a/b") +
                  "</GAOUTPUTALLFIELDSDIR><GAOUTPUTALLFIELDSFILE>c/names.txt</GAOUTPUTALLFIELDSFILE>"
                  "</AUTOTESTOPTIONS>");
    const testsupport::GahostResult r = run({"run", kExample, "--out", path("out"), "--autotest", path("root")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_NE(readFile(path("a/b/c/names.txt")).find("kGA70_TaxableIncome\n"), std::string::npos);
}

TEST_F(AutoTestRunTest, TheRootMustBeADirectory) {
    const testsupport::GahostResult r = run({"run", kExample, "--out", path("out"), "--autotest", path("none")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--autotest"), std::string::npos);
    EXPECT_EQ(run({"check", kExample, "--autotest", dir}).status, 2);
}

}  // namespace
