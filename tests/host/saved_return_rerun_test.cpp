// What a run prints and writes is the return it saves: every example return
// run through gahost run, on paper and as being e-filed, and then the return
// that the run saved run again with the same options, gives the same print
// file, e-file and printout, byte for byte; it holds the calculation's own
// values, so calculated again as gahost check and gahost run calculate it,
// it replaces no entry (and neither command notes one); and every field of
// its print file stands beside a label of its own, not its number alone.
// The e-file's preparation, which the run makes before any output for this,
// fails as the e-file's write does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/ReplacedEntries.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/module_calculation.h"
#include "tests/platform/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

using testsupport::kExamples;

// The fields of a print file ("  <symbolic name><TAB><label><TAB><value>")
// whose label is only the field's number, one line each.
std::string fieldsLabelledByNumber(const std::string& printFile) {
    std::string out;
    std::size_t start = 0;
    while (start < printFile.size()) {
        const std::size_t end = std::min(printFile.find('\n', start), printFile.size());
        const std::string line = printFile.substr(start, end - start);
        start = end + 1;
        const std::size_t first = line.find('\t');
        const std::size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (line.rfind("  k", 0) != 0 || second == std::string::npos) continue;
        const std::string label = line.substr(first + 1, second - first - 1);
        if (!label.empty() && label.find_first_not_of("0123456789") == std::string::npos) out += line + "\n";
    }
    return out;
}

class SavedReturnRerun : public testsupport::ScratchDirOn<::testing::TestWithParam<std::string>> {
protected:
    // What one run gave: its printout and the print file and e-file it
    // wrote.
    struct Outputs {
        std::string printout;
        std::string printFile;
        std::string eFile;
    };

    // Runs the return file with the options from the folder `work` of the
    // scratch directory into its folder out/: the printout names the outputs
    // as out/..., whichever run it is.
    Outputs run(const std::string& returnFile, const std::vector<std::string>& options, const std::string& work) {
        fs::create_directories(path(work));
        std::vector<std::string> args = {"run", returnFile, "--out", "out"};
        args.insert(args.end(), options.begin(), options.end());
        const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir, path(work));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string out = path(work + "/out/");
        return {r.out, readFile(out + GetParam() + ".print.txt"), readFile(out + "GA-efile.txt")};
    }
};

TEST_P(SavedReturnRerun, TheSavedReturnRunAgainGivesTheSameOutputs) {
    const std::string name = GetParam();
    const struct {
        const char* mode;
        std::vector<std::string> options;
        testsupport::Calculation run;
    } modes[] = {
        {"paper", {}, testsupport::Calculation::Run},
        {"e-file", {"--efile"}, testsupport::Calculation::RunEFiled},
    };
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        const std::string first = std::string(m.mode) + "-first";
        const Outputs once = run((kExamples / (name + ".xml")).string(), m.options, first);
        const Outputs again = run(path(first + "/out/" + name + ".xml"), m.options, std::string(m.mode) + "-again");
        ASSERT_FALSE(once.printFile.empty() || once.eFile.empty()) << "the first run wrote no print file or e-file";
        EXPECT_EQ(fieldsLabelledByNumber(once.printFile), "") << "fields printed without a label";
        EXPECT_EQ(again.printout, once.printout);
        EXPECT_EQ(again.printFile, once.printFile);
        EXPECT_EQ(again.eFile, once.eFile);
        for (const auto how : {testsupport::Calculation::Check, m.run}) {
            testsupport::calculateAsGahost(path(first + "/out/" + name + ".xml"), how, path(first), nullptr,
                                           [](GAHost::HostSession& session) {
                                               for (const GAHost::ReplacedEntry& r : GAHost::replacedEntries(session)) {
                                                   ADD_FAILURE() << GAHost::replacedEntryNote(r);
                                               }
                                           });
        }
    }
}

class EFilePreparation : public testsupport::ScratchDirTest {};

// A file-size limit below the e-file's size fails its preparation, as a full
// disk would, before anything is printed or written.
TEST_F(EFilePreparation, AFailureIsReportedAsTheEFilesAndPrintsNothing) {
    const std::string out = path("out");
    const testsupport::GahostResult r =
        testsupport::runGahost({"run", (kExamples / "single-wages.xml").string(), "--out", out}, {}, dir, {}, 2048);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "gahost: the Georgia e-file " + out +
                         "/GA-efile.txt was not written: cannot write the temporary file: File too large\n");
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(fs::is_empty(out));
}

INSTANTIATE_TEST_SUITE_P(Examples, SavedReturnRerun, ::testing::ValuesIn(testsupport::exampleNames()),
                         testsupport::exampleCaseName);

}  // namespace
