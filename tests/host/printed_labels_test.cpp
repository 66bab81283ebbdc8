// Every field of a print file says what it holds: each example return and
// each return of the reach table (which print every Georgia form that can
// print) is printed as gahost run prints it, on paper and e-filed, and
// every field printed has a label of its own, neither its number nor the
// label of another field printed on the same copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/example_returns.h"
#include "tests/host/form_reach.h"
#include "tests/platform/scratch_dir.h"

namespace {

// The fields of a print file whose label is a bare number (the field's own,
// as the definitions give a field without a label) or repeats another
// field's label on the same copy: "<copy heading>: <line>". A copy
// starts with "<dev name> copy <n>: <name>", its fields follow as
// "  <symbolic name><TAB><label><TAB><value>".
std::vector<std::string> unlabelledFields(const std::string& printFile) {
    std::vector<std::string> found;
    std::istringstream lines(printFile);
    std::string copy;
    std::map<std::string, std::string> labelsOfCopy;  // label -> the first field that has it
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) != 0) {
            copy = line;
            labelsOfCopy.clear();
            continue;
        }
        const std::size_t tab = line.find('\t');
        const std::size_t secondTab = line.find('\t', tab + 1);
        const std::string name = line.substr(2, tab - 2);
        const std::string label = line.substr(tab + 1, secondTab - tab - 1);
        if (label.find_first_not_of("0123456789") == std::string::npos) {
            found.push_back(copy + ": " + name + " is labelled by its number");
        } else if (const auto [first, added] = labelsOfCopy.emplace(label, name); !added) {
            found.push_back(copy + ": " + name + " repeats the label of " + first->second + " (" + label + ")");
        }
    }
    return found;
}

// A return to print: an example as it stands, or the return of the reach
// table that reaches a form.
struct PrintedCase {
    std::string name;
    std::string example;  // empty for a row of the reach table
    std::string form;
};

std::vector<PrintedCase> cases() {
    std::vector<PrintedCase> all;
    for (const std::string& example : testsupport::exampleNames()) all.push_back({example, example, ""});
    for (const testsupport::FormReach& row : testsupport::formReaches()) {
        all.push_back({"reaching_" + row.devName, "", row.devName});
    }
    return all;
}

void PrintTo(const PrintedCase& c, std::ostream* out) { *out << c.name; }

class PrintedLabels : public testsupport::ScratchDirOn<::testing::TestWithParam<PrintedCase>> {};

TEST_P(PrintedLabels, EveryPrintedFieldHasALabelOfItsOwn) {
    const PrintedCase& c = GetParam();
    const std::filesystem::path returnFile = c.example.empty()
                                                 ? testsupport::writeReachingReturn(testsupport::reachOf(c.form), dir)
                                                 : testsupport::kExamples / (c.example + ".xml");
    for (const bool efiled : {false, true}) {
        SCOPED_TRACE(efiled ? "e-filed" : "on paper");
        const testsupport::PrintedReturn printed = testsupport::printAsGahostRun(returnFile, dir, efiled);
        ASSERT_FALSE(printed.printFile.empty());
        EXPECT_EQ(unlabelledFields(printed.printFile), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(Returns, PrintedLabels, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<PrintedCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
