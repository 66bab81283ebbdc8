// Every Georgia form can be reached and every printed field says what it
// holds: every form of the Georgia return has a row of the reach table; each
// example and each row's return is calculated and printed as gahost run does
// it, on paper and e-filed; a row's return prints a copy of its form when the
// form is in the printer's print list, or else holds a copy of it; and every
// field printed has a label of its own, neither its number nor the label of
// another field printed on the same copy.
#include "tests/host/form_reach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/definitions/FormDefinitions.h"
#include "platform/store/DataMgmt.h"
#include "tests/host/example_returns.h"
#include "tests/support/ScratchDir.h"

namespace {

using testsupport::FormReach;

TEST(FormReach, EveryFormOfTheGeorgiaReturnHasOneRow) {
    const FormDefinitions::Library library = FormDefinitions::loadDefault();
    std::multiset<std::string> rows;
    for (const FormReach& row : testsupport::formReaches()) rows.insert(row.devName);
    std::set<std::string> forms;
    for (DataMgmt::TaxFormDescIter it = library.georgia->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const std::string devName = it.getTaxFormDescriptor()->getDevName();
        forms.insert(devName);
        EXPECT_EQ(rows.count(devName), 1u) << devName;
    }
    for (const std::string& row : rows) EXPECT_EQ(forms.count(row), 1u) << row << " is no form of the Georgia return";
}

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

// The returns to print: each example as it stands (no form), then each row
// of the reach table.
std::vector<FormReach> cases() {
    std::vector<FormReach> all;
    for (const std::string& example : testsupport::exampleNames()) all.push_back({"", example, "", "", "as it stands"});
    const std::vector<FormReach>& rows = testsupport::formReaches();
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

class PrintedReturns : public testsupport::ScratchDirOn<::testing::TestWithParam<FormReach>> {
protected:
    // Whether the row's form is printed where a full-year resident's return
    // lists it to print, else held.
    void expectReached(const FormReach& row, const testsupport::PrintedReturn& printed) const {
        static const std::vector<std::string> list =
            testsupport::printAsGahostRun(testsupport::kExamples / "single-wages.xml", path("list")).printList;
        ASSERT_GT(list.size(), 20u);
        if (std::find(list.begin(), list.end(), row.devName) != list.end()) {
            EXPECT_EQ(testsupport::formsPrinted(printed.printFile).count(row.devName), 1u) << printed.printFile;
        } else {
            EXPECT_EQ(printed.formsHeld.count(row.devName), 1u);
        }
    }
};

TEST_P(PrintedReturns, ReachesItsFormAndLabelsEveryPrintedField) {
    const FormReach& row = GetParam();
    SCOPED_TRACE(row.devName + " from " + row.example + ": " + row.why);
    const std::filesystem::path returnFile = row.devName.empty() ? testsupport::kExamples / (row.example + ".xml")
                                                                 : testsupport::writeReachingReturn(row, dir);
    for (const bool efiled : {false, true}) {
        SCOPED_TRACE(efiled ? "e-filed" : "on paper");
        DataMgmt::resetKindMismatchCount();
        const testsupport::PrintedReturn printed = testsupport::printAsGahostRun(returnFile, dir, efiled);
        // Every field the module reads as a box is one that a return file can
        // mark, and every write fits its field.
        EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
        ASSERT_FALSE(printed.printFile.empty());
        EXPECT_EQ(unlabelledFields(printed.printFile), std::vector<std::string>{});
        if (!row.devName.empty()) expectReached(row, printed);
    }
}

INSTANTIATE_TEST_SUITE_P(Returns, PrintedReturns, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<FormReach>& info) {
                             std::string name =
                                 info.param.devName.empty() ? info.param.example : "reaching_" + info.param.devName;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
