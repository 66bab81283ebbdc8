// The Georgia tax table and the tax-table check against the calculation of
// form 70.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "autotest_fixture.h"
#include "module/autotest/GeorgiaTaxTable.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "platform/util/Crt.h"

namespace autotesttest {
namespace {

using GACalculationMgmt::GeorgiaTaxTable;

TEST(GeorgiaTaxTable, TellingRows) {
    const std::vector<GACalculationMgmt::GeorgiaTaxTableRow> telling = {{"0", "0", "0", "0"},
                                                                        {"100", "1", "1", "1"},
                                                                        {"700", "7", "7", "10"},
                                                                        {"2200", "37", "35", "47"},
                                                                        {"7000", "233", "192", "293"},
                                                                        {"10000", "413", "343", "473"},
                                                                        {"50000", "2813", "2743", "2873"},
                                                                        {"99900", "5807", "5737", "5867"},
                                                                        {"100000", "5810", "5740", "5870"}};
    for (const auto& row : telling) {
        EXPECT_EQ(GeorgiaTaxTable[std::stoul(row[0]) / 100], row) << row[0];
    }
    // Every row meets the calculation in TaxTableCheckTest below.
}

// One line of the check file: income, computed tax, table amount, result.
struct CheckLine {
    long income;
    long computed;
    long table;
    std::string result;
};

class TaxTableCheckTest : public AutoTestFixture {
protected:
    void SetUp() override {
        AutoTestFixture::SetUp();
        DataMgmt::QuarloConfiguration::getInstance()->autoTestRoot = dir;
    }
    void TearDown() override {
        DataMgmt::QuarloConfiguration::getInstance()->resetToDefaults();
        AutoTestFixture::TearDown();
    }
    // Runs the check for the federal filing status (1 to 4: A to D) and
    // reads its lines back; the heading is checked on the way.
    std::vector<CheckLine> check(int status, int floor, int ceiling, int increment, bool random = false) {
        gaReturn()->setPullCommon(kForm1ID, Utils::PCTypes::kFederalFilingStatus, status);
        engine.calculateReturn(0);
        engine.runTaxTableTest(floor, ceiling, increment, random);
        std::istringstream in(readFile(path("temp/OrvaneTables.doc")));
        std::string line;
        std::getline(in, line);
        EXPECT_EQ(line, "INCOME\tVANTER CO\t\tTABLE\t\tSTATUS");
        std::getline(in, line);
        EXPECT_EQ(line, "");
        std::vector<CheckLine> lines;
        CheckLine l;
        while (in >> l.income >> l.computed >> l.table >> l.result) lines.push_back(l);
        return lines;
    }
    static std::vector<long> incomes(const std::vector<CheckLine>& lines) {
        std::vector<long> out;
        for (const auto& l : lines) out.push_back(l.income);
        return out;
    }
    bool marked(const FieldId& field) const { return ga->formYes(kGAForm69ID, 1, field); }
};

TEST_F(TaxTableCheckTest, IncomesRowsAndColumns) {
    std::vector<CheckLine> lines = check(1, 0, 300, 100);
    EXPECT_EQ(incomes(lines), (std::vector<long>{100, 200, 300}));  // none for 0
    EXPECT_EQ(lines[0].table, 1);
    EXPECT_EQ(lines[2].table, 3);
    lines = check(1, 99950, 250000, 50);  // the ceiling stops at 100,000
    EXPECT_EQ(incomes(lines), (std::vector<long>{99950, 100000}));
    EXPECT_EQ(lines[1].table, 5810);
    EXPECT_EQ(check(1, 150, 150, 1)[0].table, 1);      // the row of 100
    EXPECT_EQ(check(4, 7000, 7000, 1)[0].table, 192);  // head of household: the second schedule
    EXPECT_EQ(check(3, 7000, 7000, 1)[0].table, 293);
    EXPECT_TRUE(marked(kGAForm69FieldIds.f72404));
    EXPECT_FALSE(marked(kGAForm69FieldIds.f72403));
    EXPECT_FALSE(ga->getForm(kGAForm70ID, 1)->isOverridden(kGAForm70FieldIds.f83));
}

TEST_F(TaxTableCheckTest, StepsThatWouldNeverEnd) {
    EXPECT_TRUE(check(1, 0, 300, 0).empty());  // heading only
    EXPECT_TRUE(marked(kGAForm69FieldIds.f72404));
    EXPECT_EQ(incomes(check(1, -500, 200, 100)), (std::vector<long>{100, 200}));
    crt::srand(3);
    const std::vector<long> random = incomes(check(1, 0, 400, 0, true));
    ASSERT_GT(random.size(), 8u);
    EXPECT_EQ(random[0], 1);
    for (std::size_t i = 1; i < random.size(); ++i) {
        EXPECT_GE(random[i] - random[i - 1], 0);
        EXPECT_LE(random[i] - random[i - 1], 50);
    }
}

// A recalculation that fails leaves neither the busy mark nor the override.
TEST_F(TaxTableCheckTest, AFailedRecalculationPutsTheMarksBack) {
    struct FailingEngine : GACalculationMgmt::GATaxReturnCalcEngine {
        using GATaxReturnCalcEngine::GATaxReturnCalcEngine;
        void calculateAllCopies(const FormId&) override { throw Exceptions::QuarloException("failed", "test", "calc"); }
    } failing(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(), TaxFormPrintMgmt::TaxFormPrinterPtr());
    EXPECT_THROW(failing.runTaxTableTest(0, 100, 100, false), Exceptions::QuarloException);
    EXPECT_FALSE(marked(kGAForm69FieldIds.f72403));
    EXPECT_FALSE(marked(kGAForm69FieldIds.f72404));
    EXPECT_FALSE(ga->getForm(kGAForm70ID, 1)->isOverridden(kGAForm70FieldIds.f83));
}

// The table cuts the half dollars that the calculation rounds up: filing
// status A differs on every bracket from 100 to 6,999, and nowhere else.
TEST_F(TaxTableCheckTest, TheCalculationAgreesButForSingleFilersBelow7000) {
    for (int status : {1, 2, 3, 4}) {
        for (const CheckLine& line : check(status, 0, 100000, 100)) {
            const bool expectError = status == 1 && line.income >= 100 && line.income < 7000;
            ASSERT_EQ(line.result, expectError ? "ERROR" : "OK") << "status " << status << " income " << line.income;
        }
    }
    const std::vector<CheckLine> edge = check(1, 6998, 7001, 1);
    EXPECT_EQ(edge[1].result, "ERROR");
    EXPECT_EQ(edge[2].result, "OK");
}

}  // namespace
}  // namespace autotesttest
