// The example returns of examples/ calculated as gahost runs them: the
// results that docs/examples.md lists.
#include <gtest/gtest.h>

#include <string>

#include "gatax_fixture.h"
#include "platform/returnfile/ReturnFile.h"

namespace gataxtest {
namespace {

const auto& f = kGAForm70FieldIds;

struct Expected {
    const char* file;
    const char* letter;
    double agi;         // line 64, the Georgia AGI
    double deduction;   // line 72
    double exemptions;  // line 332
    double taxable;
    double tax;
    double lowIncomeCredit;
    double withheld;
    double owed;    // line 106
    double refund;  // line 107
};

class ExampleReturns : public GaTaxTest, public ::testing::WithParamInterface<Expected> {};

TEST_P(ExampleReturns, CalculatesToTheListedResult) {
    const Expected& e = GetParam();
    PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/" + e.file, federal.get(), gaReturn());
    engine.calculateReturn(0);
    auto value = [&](const FieldId& x) { return ga->getIR(kGAForm70ID, 1, x); };
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, f.f44), e.letter);
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, f.f41), "1");
    EXPECT_EQ(value(f.f64), e.agi);
    EXPECT_EQ(value(f.f72), e.deduction);
    EXPECT_EQ(value(f.f332), e.exemptions);
    EXPECT_EQ(value(f.f83), e.taxable);
    EXPECT_EQ(value(f.f84), e.tax);
    EXPECT_EQ(value(f.f97), e.lowIncomeCredit);
    EXPECT_EQ(value(f.f87), e.withheld);
    EXPECT_EQ(value(f.f106), e.owed);
    EXPECT_EQ(value(f.f107), e.refund);
    // Only one of the two result lines is filled; the other stays blank.
    EXPECT_EQ(ga->isNull(kGAForm70ID, 1, f.f106), e.owed == 0);
    EXPECT_EQ(ga->isNull(kGAForm70ID, 1, f.f107), e.refund == 0);
    EXPECT_TRUE(ga->isDataEntered(kGAForm70ID, 1));
    EXPECT_TRUE(gaCopy(kGAForm70ID)->calculatedFlag());
    // The return's own summary item agrees: owed positive, refund negative.
    std::string text;
    long answer = 0;
    gaReturn()->getEFileInfo(text, &answer, 0);
    EXPECT_EQ(answer, static_cast<long>(e.owed - e.refund));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ExampleReturns,
    ::testing::Values(Expected{"single-wages.xml", "A", 52000, 4600, 2700, 44700, 2495, 0, 2450, 45, 0},
                      Expected{"joint-two-dependents.xml", "B", 85000, 6000, 13400, 65600, 3679, 0, 3500, 179, 0},
                      Expected{"head-of-household.xml", "D", 45000, 4600, 5700, 34700, 1825, 0, 2000, 0, 175},
                      Expected{"married-separately.xml", "C", 38000, 3000, 3700, 31300, 1751, 0, 1700, 51, 0},
                      Expected{"aged-65.xml", "A", 26000, 5900, 2700, 17400, 857, 0, 1200, 0, 343},
                      Expected{"low-income-credit.xml", "A", 14000, 4600, 5700, 3700, 83, 16, 100, 0, 33}),
    [](const ::testing::TestParamInfo<Expected>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        for (char& ch : name) {
            if (ch == '-') {
                ch = '_';
            }
        }
        return name;
    });

}  // namespace
}  // namespace gataxtest
