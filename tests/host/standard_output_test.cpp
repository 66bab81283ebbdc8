// A printout that standard output does not take fails the command.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";

class StandardOutputTest : public testsupport::ScratchDirTest {};

// Every command, on a full disk and on a closed descriptor: exit 1 with one
// line on standard error, and a run changes no output.
TEST_F(StandardOutputTest, EveryCommandFailsWhenItsPrintoutIsLost) {
    const std::string out = path("out");
    const std::vector<std::vector<std::string>> commands = {
        {"--help"},
        {"forms"},
        {"fields", "GA70"},
        {"items"},
        {"check", kExample},
        {"interview", kExample},
        {"run", kExample, "--out", out},
    };
    const struct {
        std::string target;
        std::string message;
    } outputs[] = {
        {"/dev/full", "gahost: cannot write the standard output: No space left on device"},
        {"-", "gahost: the standard output is closed"},
    };
    for (const auto& target : outputs) {
        for (const std::vector<std::string>& args : commands) {
            SCOPED_TRACE(target.target + " " + args[0]);
            const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir, {}, 0, target.target);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err.rfind(target.message, 0), 0u) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_FALSE(fs::exists(out + "/single-wages.xml"));
        }
    }
}

}  // namespace
