// What a run prints and writes is the return it saves: every example run
// through gahost run, on paper and e-filed, and the return that the run saved
// run again with the same options, give the same print file, e-file and
// printout, byte for byte; no example, and no return that a run saved (it
// holds the calculation's own values), calculated as gahost check and
// gahost run calculate it, on paper or e-filed, has an entry replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/module_calculation.h"
#include "tests/support/ScratchDir.h"

namespace {

class SavedReturnRerun : public testsupport::ScratchDirOn<::testing::TestWithParam<std::string>> {
protected:
    // Runs the return file from the folder `work` into work/out, so that the
    // printout names the outputs alike in every run: the printout, the print
    // file and the e-file.
    std::vector<std::string> run(const std::string& returnFile, const std::vector<std::string>& options,
                                 const std::string& work) {
        std::filesystem::create_directories(path(work));
        std::vector<std::string> args = {"run", returnFile, "--out", "out"};
        args.insert(args.end(), options.begin(), options.end());
        const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir, path(work));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string out = path(work + "/out/");
        return {r.out, readFile(out + GetParam() + ".print.txt"), readFile(out + "GA-efile.txt")};
    }
};

TEST_P(SavedReturnRerun, TheSavedReturnRunAgainGivesTheSameOutputs) {
    using testsupport::Calculation;
    const struct {
        const char* mode;
        std::vector<std::string> options;
        Calculation how;
    } modes[] = {{"paper", {}, Calculation::Run}, {"e-file", {"--efile"}, Calculation::RunEFiled}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        const std::string first = std::string(m.mode) + "-first";
        const std::string saved = path(first + "/out/" + GetParam() + ".xml");
        const std::string example = (testsupport::kExamples / (GetParam() + ".xml")).string();
        const auto once = run(example, m.options, first);
        ASSERT_FALSE(once[1].empty() || once[2].empty()) << "the first run wrote no print file or e-file";
        // An example's entries are what the calculation keeps: it shows no
        // note of a changed entry.
        EXPECT_EQ(testsupport::calculateAsGahost(example, m.how, path(first)), std::vector<std::string>{});
        EXPECT_EQ(run(saved, m.options, std::string(m.mode) + "-again"), once);
        // Filed either way, the saved return holds the values an earlier
        // calculation wrote, not entries (a paper return's scan line, run as
        // e-filed).
        for (const Calculation how : {Calculation::Check, Calculation::Run, Calculation::RunEFiled}) {
            EXPECT_EQ(testsupport::calculateAsGahost(saved, how, path(first)), std::vector<std::string>{});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, SavedReturnRerun, ::testing::ValuesIn(testsupport::exampleNames()),
                         testsupport::exampleCaseName);

}  // namespace
