// A whole-dollar line is the rounding of the exact figure it comes from, and
// lines that subtract on paper subtract: a share, a ratio or interest to the
// day keeps its fractions of a cent through every line that follows from
// it, so that no line rounds a figure the store already rounded. Each row is
// an example edited so that an exact figure ends just short of half a
// dollar (form 71's penalty 58.4993, IND-CR 209's share 1,170.5049, the
// part-year income-tax adjustment 1,898.4962), run through gahost run.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/preparer_edits.h"
#include "tests/support/ScratchDir.h"

namespace {

using preparer::entry;

// The lines a-b=c of the print file, by symbolic name, and what each prints.
struct Difference {
    const char* from;
    const char* less;
    const char* gives;
};

struct WholeDollarRow {
    const char* what;
    const char* example;
    preparer::Edit edit;
    std::map<std::string, std::string> printed;
    std::vector<Difference> differences;
};

const std::string kGA = "\t<RETURN TYPE=\"GA\">";

std::vector<WholeDollarRow> wholeDollarRows() {
    return {
        {"Penalty",
         "underpaid-estimated",
         preparer::replacing({{"<ID>32</ID><VALUE>1000.00<", "<ID>32</ID><VALUE>694.54<"},
                              {entry(90, "X"), entry(90, "X") + entry(7, "X")}}),
         {{"kGA70_Penalty", "58"}, {"kGA71_F87", "58.5"}},
         {}},
        {"IndividualCredits",
         "individual-credits",
         preparer::withGeorgiaForm("GA190062", 1,
                                   entry(190239, "3511.86") + entry(190241, "5000") + entry(190243, "5000")),
         {{"kGA70_TotalCredits", "1821"}, {"kGA70_NetTax", "434"}, {"kGA70_Refund", "1866"}},
         {{"kGA70_Tax", "kGA70_TotalCredits", "kGA70_NetTax"}}},
        {"PartYearAdjustment",
         "part-year-resident",
         preparer::replacing(
             {{"\t</RETURN>\n" + kGA, "<FORM DEVNAME=\"F2\" COPY=\"1\">" + entry(14405, "X") + entry(10, "2128") +
                                          entry(203981, "10000") + entry(17, "5000") + "</FORM>\n\t</RETURN>\n" + kGA},
              {"ITEM=\"federal-agi\">55420</PULLCOMMON>",
               "ITEM=\"federal-agi\">55420</PULLCOMMON><PULLCOMMON FORM=\"F1\" "
               "ITEM=\"itemized-deductions\">18000</PULLCOMMON><PULLCOMMON FORM=\"F1\" "
               "ITEM=\"itemizes\">1</PULLCOMMON>"}}),
         {{"kGA189217_F189455", "1898"}, {"kGA189217_F189457", "16102"}},
         {{"kGA189217_F189454", "kGA189217_F189455", "kGA189217_F189457"}}},
    };
}

void PrintTo(const WholeDollarRow& row, std::ostream* out) { *out << row.what; }

class WholeDollarLines : public testsupport::ScratchDirOn<::testing::TestWithParam<WholeDollarRow>> {};

// Each line of the print file's forms ("  kGA70_NetTax<TAB>Net tax<TAB>434"),
// by symbolic name.
std::map<std::string, std::string> printedLines(const std::string& printFile) {
    std::map<std::string, std::string> lines;
    std::istringstream in(printFile);
    for (std::string line; std::getline(in, line);) {
        const std::size_t name = line.find_first_not_of(' ');
        const std::size_t tab = line.find('\t');
        const std::size_t last = line.rfind('\t');
        if (name == std::string::npos || tab == std::string::npos || last == tab) continue;
        lines[line.substr(name, tab - name)] = line.substr(last + 1);
    }
    return lines;
}

TEST_P(WholeDollarLines, FollowTheirExactFigures) {
    const WholeDollarRow& row = GetParam();
    const std::string example = readFile((testsupport::kExamples / (std::string(row.example) + ".xml")).string());
    const std::string edited = row.edit(example);
    ASSERT_NE(edited, example);
    const std::string name = row.example;
    writeFile("in/" + name + ".xml", edited);
    const testsupport::GahostResult r =
        testsupport::runGahost({"run", path("in/" + name + ".xml"), "--out", "out"}, {}, dir, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::map<std::string, std::string> lines = printedLines(readFile(path("out/" + name + ".print.txt")));
    for (const auto& [field, printed] : row.printed) {
        EXPECT_EQ(lines.count(field) ? lines.at(field) : "(not printed)", printed) << field;
    }
    for (const Difference& d : row.differences) {
        ASSERT_TRUE(lines.count(d.from) && lines.count(d.less) && lines.count(d.gives)) << d.gives;
        EXPECT_EQ(std::stol(lines.at(d.from)) - std::stol(lines.at(d.less)), std::stol(lines.at(d.gives))) << d.gives;
    }
}

INSTANTIATE_TEST_SUITE_P(Returns, WholeDollarLines, ::testing::ValuesIn(wholeDollarRows()),
                         [](const ::testing::TestParamInfo<WholeDollarRow>& info) { return info.param.what; });

}  // namespace
