// No entry is told to count nowhere while it counts: on each example, on a
// retiree's return with a keyed 1099-R, on joint returns with the spouse's
// statements (whose lists form 70 fills on a later pass of the
// calculation), on a 1099-R line without its state and beside an item that
// form 1040's box gives too, every entry that the check tells is taken out
// of the return file, each alone and then all together, and gahost run
// without it prints the same and writes the same print file and e-file as
// with it, gahost check tells the same of the e-file, and both give the
// same notes but the check's own lines: an entry that a note reads counts
// (a source held to a figure, a spouse's 1099-R box that moves the note of
// a missing birth date), and so does one that the review reads.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/EntriesCountingNowhere.h"
#include "platform/returnfile/ReturnFile.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/module_calculation.h"
#include "tests/host/preparer_edits.h"
#include "tests/support/ScratchDir.h"

namespace {

using PersistanceMgmt::ReturnFileContents;
using preparer::entry;

const std::string kAgi = "<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">";

struct SweptReturn {
    std::string name;
    std::string example;
    std::string added;   // federal forms added to the example
    std::string seeded;  // items seeded before the example's federal AGI
};

std::vector<SweptReturn> sweptReturns() {
    std::vector<SweptReturn> rows;
    for (const std::string& name : testsupport::exampleNames()) rows.push_back({name, name, "", ""});
    // A spouse's 1099-R with a Georgia line (its state distribution, field
    // 134) and a spouse's 1099-INT with Georgia tax withheld.
    const std::string spouses1099R = "<FORM DEVNAME=\"F84\" COPY=\"1\">" + entry(4, "9000.00") + entry(2, "X") +
                                     entry(33, "GA") + entry(134, "9000.00") + entry(30, "300.00") + "</FORM>";
    const std::string spouses1099Int = "<FORM DEVNAME=\"F166\" COPY=\"7\">" + entry(9, "Spouse Bank") + entry(3, "X") +
                                       entry(10, "100.00") + entry(133633, "GA") + entry(133635, "20") + "</FORM>";
    // A 1099-R keyed 12 beside the item that gives its distribution: one
    // calculation of the saved return without the key does not show that
    // it counts, the run without it does. Not keyed, its gross distribution
    // counts only as the item's source.
    rows.push_back({"single-retiree-1099-R", "single-retiree", preparer::kRetirementStatement, ""});
    rows.push_back({"single-retiree-unkeyed-1099-R", "single-retiree",
                    preparer::replaced(preparer::kRetirementStatement, entry(425, "12"), ""), ""});
    for (const char* joint : {"retired-couple", "joint-two-dependents"}) {
        rows.push_back({std::string(joint) + "-spouse-1099-R", joint, spouses1099R, ""});
        rows.push_back({std::string(joint) + "-spouse-1099-INT", joint, spouses1099Int, ""});
    }
    // A state distribution on a 1099-R line without its state, which blocks
    // the e-file; the item that form 1040's box 121 gives, beside it.
    rows.push_back({"single-wages-1099-R-without-state", "single-wages",
                    "<FORM DEVNAME=\"F84\" COPY=\"1\">" + entry(134, "777") + "</FORM>", ""});
    rows.push_back({"aged-65-item", "aged-65", "", "<PULLCOMMON FORM=\"F1\" ITEM=\"taxpayer-aged-65\">1</PULLCOMMON>"});
    return rows;
}

class CountsNowhereSweep : public testsupport::ScratchDirOn<::testing::TestWithParam<SweptReturn>> {
protected:
    // What gahost run prints (its folder aside), its print file, its e-file,
    // what gahost check tells of the e-file, and the notes of both but the
    // check's own lines, which name an entry ("form F84 copy 1 field 2 ...
    // holds X", "the item itemizes 1") or count those left unjudged.
    std::vector<std::string> runOutputs(const std::string& file, const std::string& out) {
        const testsupport::GahostResult r = testsupport::runGahost({"run", file, "--out", out}, {}, dir);
        EXPECT_EQ(r.status, 0) << r.err;
        const testsupport::GahostResult checked = testsupport::runGahost({"check", file}, {}, dir);
        EXPECT_EQ(checked.status, 0) << checked.err;
        std::string printed = r.out;
        for (std::size_t at = 0; (at = printed.find(out, at)) != std::string::npos;)
            printed.replace(at, out.size(), "");
        const std::size_t verdict = checked.out.find("\nif e-filed");
        EXPECT_NE(verdict, std::string::npos) << checked.out;
        std::vector<std::string> outputs = {printed, readFile(out + "/return.print.txt"),
                                            readFile(out + "/GA-efile.txt"),
                                            verdict == std::string::npos ? "" : checked.out.substr(verdict)};
        const std::regex checkedEntry(
            "gahost: note: (form \\S+ copy \\d+ field \\d+ |the item [^ ,]+ -?\\d|"
            "\\d+ more entr(y|ies) of the return file may count nowhere)");
        std::istringstream err(r.err + checked.err);
        for (std::string line; std::getline(err, line);) {
            if (line.starts_with("gahost: note: ") && !std::regex_search(line, checkedEntry)) outputs.push_back(line);
        }
        return outputs;
    }
};

TEST_P(CountsNowhereSweep, AnEntryToldToCountNowhereChangesNoOutput) {
    const SweptReturn& row = GetParam();
    std::string text = readFile((testsupport::kExamples / (row.example + ".xml")).string());
    if (!row.added.empty()) text = preparer::withFederalForm(text, row.added);
    if (!row.seeded.empty()) text = preparer::replaced(text, kAgi, row.seeded + kAgi);
    const std::string file = writeFile("return.xml", text);
    const auto with = runOutputs(file, dir + "/with");
    testsupport::calculateAsGahost(file, testsupport::Calculation::Run, dir, nullptr, [&](GAHost::HostSession& s) {
        const ReturnFileContents& loaded = s.loaded();
        const std::vector<GAHost::FileEntry> told = GAHost::entriesCountingNowhere(testsupport::buildModule(), s).told;
        // The file without the entries, the last first so that each leaves
        // those before it in place.
        const auto runWithout = [&](const std::vector<GAHost::FileEntry>& entries) {
            ReturnFileContents without = loaded;
            for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
                if (e->item != nullptr) {
                    auto& items = without.georgia->seeds.commonItems;
                    items.erase(items.begin() + (e->item - loaded.georgia->seeds.commonItems.data()));
                } else {
                    const auto& part = e->federal ? *loaded.federal : *loaded.georgia;
                    auto& copy =
                        (e->federal ? *without.federal : *without.georgia).copies[e->copy - part.copies.data()];
                    copy.fields.erase(copy.fields.begin() + (e->field - e->copy->fields.data()));
                }
            }
            const std::string reduced =
                writeFile("reduced/return.xml", PersistanceMgmt::ReturnFile::serialize(without));
            EXPECT_EQ(runOutputs(reduced, dir + "/without"), with);
        };
        for (const GAHost::FileEntry& e : told) {
            SCOPED_TRACE(GAHost::countsNowhereLine(s, e));
            runWithout({e});
        }
        SCOPED_TRACE("all the entries told");
        if (told.size() > 1) runWithout(told);
    });
}

// Past the most entries that the check judges as run does, the rest that
// one calculation does not show to count are counted in one line: copies of
// form F190 after the first, whose payment rows the calculation does not
// read, one more than that most. An entry judged so that counts takes its
// place among them: the key 12 of a 1099-R beside the item of its
// distribution, which only a run without it shows to count.
using CountsNowhereBound = testsupport::ScratchDirTest;

TEST_F(CountsNowhereBound, TheEntriesPastTheMostJudgedAreCountedInOneLine) {
    std::string copies;
    for (std::size_t copy = 2; copy <= GAHost::kMostEntriesJudgedAsRun + 2; ++copy) {
        copies += "<FORM DEVNAME=\"F190\" COPY=\"" + std::to_string(copy) + "\">" + entry(11, "500") + "</FORM>";
    }
    const struct {
        std::string before;  // forms before the copies
        std::size_t told;
        const char* more;
    } rows[] = {
        {"", GAHost::kMostEntriesJudgedAsRun, "1 more entry"},
        {preparer::kRetirementStatement, GAHost::kMostEntriesJudgedAsRun - 1, "2 more entries"},
    };
    const std::string text = readFile((testsupport::kExamples / "single-retiree.xml").string());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.more);
        const std::string file = writeFile("return.xml", preparer::withFederalForm(text, row.before + copies));
        const testsupport::GahostResult r = testsupport::runGahost({"check", file}, {}, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        std::size_t told = 0;
        for (std::size_t at = 0; (at = r.err.find("counts nowhere on this return", at)) != std::string::npos; ++at) {
            ++told;
        }
        EXPECT_EQ(told, row.told);
        EXPECT_NE(r.err.find("gahost: note: " + std::string(row.more) +
                             " of the return file may count nowhere: one calculation without each changes nothing, "
                             "but the check calculates at most 25 returns"),
                  std::string::npos)
            << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Returns, CountsNowhereSweep, ::testing::ValuesIn(sweptReturns()),
                         [](const ::testing::TestParamInfo<SweptReturn>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
