// gahost run --autotest DIR: the module's automated testing on a real run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";

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

TEST_F(AutoTestRunTest, TheRootMustBeADirectory) {
    const testsupport::GahostResult r = run({"run", kExample, "--out", path("out"), "--autotest", path("none")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--autotest"), std::string::npos);
    EXPECT_EQ(run({"check", kExample, "--autotest", dir}).status, 2);
}

}  // namespace
