// The returns of the reach table reach their forms: every form of the
// Georgia return has a row, and its return, calculated and printed as gahost
// run does, prints a copy of the form when the form is in the printer's
// print list, or else holds a copy of it.
#include "tests/host/form_reach.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/definitions/FormDefinitions.h"
#include "platform/store/DataMgmt.h"
#include "tests/platform/scratch_dir.h"

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

class ReachingReturn : public testsupport::ScratchDirOn<::testing::TestWithParam<FormReach>> {
protected:
    // The forms that a full-year resident's return lists to print.
    static const std::vector<std::string>& fullPrintList() {
        static const std::vector<std::string> list = [] {
            const std::filesystem::path work =
                std::filesystem::temp_directory_path() / ("ga_reach_list." + std::to_string(::getpid()));
            const auto printed = testsupport::printAsGahostRun(
                testsupport::writeReachingReturn(testsupport::reachOf("GA69"), work), work);
            std::filesystem::remove_all(work);
            return printed.printList;
        }();
        return list;
    }
};

TEST_P(ReachingReturn, PrintsItsFormOrHoldsACopy) {
    const FormReach& row = GetParam();
    SCOPED_TRACE(row.devName + " from " + row.example + ": " + row.why);
    DataMgmt::resetKindMismatchCount();
    const auto printed = testsupport::printAsGahostRun(testsupport::writeReachingReturn(row, dir), dir);
    // Every field the module reads as a box is one that a return file can
    // mark, and every write fits its field.
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
    const std::vector<std::string>& list = fullPrintList();
    ASSERT_GT(list.size(), 20u);
    if (std::find(list.begin(), list.end(), row.devName) != list.end()) {
        EXPECT_EQ(testsupport::formsPrinted(printed.printFile).count(row.devName), 1u) << printed.printFile;
    } else {
        EXPECT_EQ(printed.formsHeld.count(row.devName), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, ReachingReturn, ::testing::ValuesIn(testsupport::formReaches()),
                         [](const ::testing::TestParamInfo<FormReach>& info) { return info.param.devName; });

}  // namespace
