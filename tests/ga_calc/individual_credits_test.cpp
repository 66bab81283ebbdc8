// The IND-CR worksheets 201 to 209 and their summary, form 74.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

constexpr double kNull = std::numeric_limits<double>::quiet_NaN();

// One worksheet case: entries (a NaN marks a box), expected lines (NaN:
// empty) and whether the copy is marked as entered.
struct WorksheetCase {
    const char* name;
    FormId form;
    std::vector<std::pair<int, double>> entries;
    std::vector<std::pair<int, double>> expected;
    bool marked;
    int filingStatus = 1;
    std::int64_t federalAmount = 0;  // the common item that IND-CR 202 takes
};

class IndCrWorksheets : public GaTaxTest, public ::testing::WithParamInterface<WorksheetCase> {};

TEST_P(IndCrWorksheets, ApplyTheirCapsAndRates) {
    const WorksheetCase& c = GetParam();
    setFilingStatus(c.filingStatus);
    setCommon(Utils::PCTypes::kFederalChildCareCredit, c.federalAmount);
    auto sheet = gaCopy(c.form);
    for (const auto& [field, value] : c.entries) {
        if (std::isnan(value)) {
            setBox(sheet, FieldId(field));
        } else {
            setNumber(sheet, FieldId(field), value);
        }
    }
    engine.calcGroupedForm(c.form, sheet, 1, 1);
    for (const auto& [field, value] : c.expected) {
        if (std::isnan(value)) {
            EXPECT_TRUE(sheet->isNull(FieldId(field))) << field;
        } else {
            EXPECT_FALSE(sheet->isNull(FieldId(field))) << field;  // 0 is stored, not left empty
            EXPECT_DOUBLE_EQ(sheet->getIR(FieldId(field)), value) << field;
        }
    }
    EXPECT_EQ(sheet->isDataEntered(), c.marked);
    EXPECT_EQ(sheet->calculatedFlag(), c.marked);
}

const double X = kNull;  // a marked box among the entries

INSTANTIATE_TEST_SUITE_P(
    Cases, IndCrWorksheets,
    ::testing::Values(
        // 201: the first box gives 500, lines above 125 are capped, the
        // credit claimed leaves the rest.
        WorksheetCase{"Ind201FirstBox",
                      kGAForm190054ID,
                      {{190148, X}, {190153, 200}, {190154, 200}, {190155, 200}, {190156, 100}, {190159, 600}},
                      {{190152, 500}, {190153, 125}, {190156, 100}, {190158, 975}, {190160, 375}},
                      true},
        // Lines left empty are capped all the same: they become 0.
        WorksheetCase{"Ind201EmptyLinesCappedToZero",
                      kGAForm190054ID,
                      {{190148, X}, {190155, 90}},
                      {{190153, 0}, {190154, 0}, {190155, 90}, {190156, 0}, {190158, 590}},
                      true},
        // The credit claimed is at most what is available: the worksheet's
        // sum and the amount carried in.
        WorksheetCase{"Ind201ClaimHeldToTheAvailable",
                      kGAForm190054ID,
                      {{190148, X}, {190159, 2000}},
                      {{190158, 500}, {190159, 500}, {190160, 0}},
                      true},
        WorksheetCase{"Ind201ClaimOfAllTheAvailable",
                      kGAForm190054ID,
                      {{190148, X}, {190151, 300}, {190159, 800}},
                      {{190159, 800}, {190160, 0}},
                      true},
        WorksheetCase{"Ind201ClaimJustAboveTheAvailable",
                      kGAForm190054ID,
                      {{190148, X}, {190151, 300}, {190159, 800.01}},
                      {{190159, 800}, {190160, 0}},
                      true},
        WorksheetCase{"Ind201SecondBoxNothingToClaim",
                      kGAForm190054ID,
                      {{190148, X}, {190149, X}, {190159, 50}},
                      {{190152, X}, {190158, 0}, {190159, X}, {190160, 0}},
                      false},
        WorksheetCase{"Ind202", kGAForm190055ID, {}, {{190163, 30}, {190164, 300}, {190165, 300}}, true, 1, 1000},
        WorksheetCase{"Ind202None", kGAForm190055ID, {}, {{190165, 0}}, false},
        WorksheetCase{"Ind203",
                      kGAForm190056ID,
                      {{190167, 100}, {190168, 50}, {190169, 400}},
                      {{190169, 150}, {190170, 0}},
                      true},
        WorksheetCase{"Ind204Capped",
                      kGAForm190057ID,
                      {{190186, 2000}, {190191, 500}},
                      {{190187, 10}, {190188, 200}, {190189, 150}, {190190, 150}, {190191, 150}},
                      true},
        // Without expenses the filer's entry is kept.
        WorksheetCase{"Ind204KeepsEntry", kGAForm190057ID, {{190191, 77}}, {{190190, 0}, {190191, 77}}, true},
        WorksheetCase{"Ind205", kGAForm190058ID, {{190205, 500}}, {{190207, 500}, {190208, 150}, {190210, 150}}, true},
        WorksheetCase{"Ind206NothingBelowZero",
                      kGAForm190059ID,
                      {{190215, 700}, {190213, -800}, {190218, 300}},
                      {{190216, 500}, {190217, 500}, {190218, 0}, {190219, 0}},
                      false},
        WorksheetCase{"Ind207HundredBeds", kGAForm190060ID, {{190225, 100}}, {{190231, 5000}, {190232, 5000}}, true},
        WorksheetCase{"Ind207HundredAndOneBeds", kGAForm190060ID, {{190225, 101}}, {{190232, 0}}, false},
        // The count is compared as entered, not rounded to 101.
        WorksheetCase{"Ind207BedsNotRounded", kGAForm190060ID, {{190225, 100.6}}, {{190232, 5000}}, true},
        WorksheetCase{"Ind207Joint", kGAForm190060ID, {{190225, 50}, {190230, 50}}, {{190232, 10000}}, true, 2},
        WorksheetCase{"Ind207SpouseEmptiedWhenNotJoint",
                      kGAForm190060ID,
                      {{190225, 50}, {190230, 50}},
                      {{190230, X}, {190232, 5000}},
                      true,
                      1},
        WorksheetCase{"Ind208NotAMultiple",
                      kGAForm190061ID,
                      {{190235, 3000}, {190236, 900}},
                      {{190235, 0}, {190236, 0}, {190237, 0}},
                      false},
        WorksheetCase{"Ind208Multiple",
                      kGAForm190061ID,
                      {{190234, 500}, {190235, 4000}, {190236, 1000}},
                      {{190235, 4000}, {190236, 1000}, {190237, 3500}},
                      true},
        WorksheetCase{
            "Ind208EmptyCreditCappedToZero", kGAForm190061ID, {{190234, 500}}, {{190236, 0}, {190237, 500}}, true},
        WorksheetCase{"Ind209",
                      kGAForm190062ID,
                      {{190239, 3000}, {190241, 5000}, {190243, 2000}},
                      {{190240, 999.9}, {190242, 999.9}, {190243, 999.9}, {190244, 4000.1}},
                      true},
        WorksheetCase{"Ind209NothingAllowed", kGAForm190062ID, {{190243, 50}}, {{190243, X}, {190244, 0}}, false},
        // A credit claimed is never below 0: a negative one becomes 0 and
        // leaves nothing extra to carry forward.
        WorksheetCase{"Ind201NegativeCredit",
                      kGAForm190054ID,
                      {{190148, X}, {190159, -1000000}},
                      {{190159, 0}, {190160, 500}},
                      true},
        WorksheetCase{"Ind203NegativeCredit",
                      kGAForm190056ID,
                      {{190167, 100}, {190168, 50}, {190169, -1000000}},
                      {{190169, 0}, {190170, 150}},
                      true},
        WorksheetCase{"Ind204NegativeKeptEntry", kGAForm190057ID, {{190191, -50}}, {{190191, 0}}, false},
        WorksheetCase{"Ind206NegativeCredit",
                      kGAForm190059ID,
                      {{190215, 300}, {190218, -100}},
                      {{190218, 0}, {190219, 300}},
                      true},
        // Below 0 also where the amounts available are below 0.
        WorksheetCase{"Ind209NegativeCredit",
                      kGAForm190062ID,
                      {{190239, 3000}, {190241, 5000}, {190243, -100}},
                      {{190243, 0}, {190244, 5000}},
                      true}),
    [](const ::testing::TestParamInfo<WorksheetCase>& info) { return std::string(info.param.name); });

TEST_F(GaTaxTest, IndCrSummaryTotalsTheWorksheetsOfThePreviousCalculation) {
    // Form 74 stands before the worksheets in the calculation order: the
    // first calculation finds no credit yet, the second the capped total.
    setFilingStatus(1);
    setCommon(Utils::PCTypes::kFederalAgi, 60000);
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f36);
    setNumber(gaCopy(kGAForm190057ID), kGAForm190057FieldIds.f190186, 2000);
    setNumber(gaCopy(kGAForm190058ID), kGAForm190058FieldIds.f190205, 500);
    engine.calculateReturn(0);
    EXPECT_EQ(ga->getIR(kGAForm74ID, 1, kGAForm74FieldIds.f44), 0);
    EXPECT_TRUE(ga->isDataEntered(kGAForm74ID, 1));  // the worksheets exist
    setNumber(gaCopy(kGAForm190057ID), kGAForm190057FieldIds.f190191, 400);
    engine.calculateReturn(0);
    engine.calculateReturn(0);
    EXPECT_EQ(ga->getIR(kGAForm74ID, 1, kGAForm74FieldIds.f27), 150);
    EXPECT_EQ(ga->getIR(kGAForm74ID, 1, kGAForm74FieldIds.f33), 150);
    EXPECT_EQ(ga->getIR(kGAForm74ID, 1, kGAForm74FieldIds.f44), 300);
    EXPECT_EQ(ga->getIR(kGAForm70ID, 1, kGAForm70FieldIds.f189483), 300);
}

// Each worksheet's credit line goes to its own line of form 74, and the
// total adds all nine.
TEST_F(GaTaxTest, IndCrSummaryTakesEachWorksheetsCreditOnItsLine) {
    struct Row {
        FormId worksheet;
        int credit;   // the worksheet's credit line
        int summary;  // the line of form 74 that takes it
    };
    const Row rows[] = {
        {kGAForm190054ID, 190159, 19}, {kGAForm190055ID, 190165, 35455}, {kGAForm190056ID, 190169, 23520},
        {kGAForm190057ID, 190191, 27}, {kGAForm190058ID, 190210, 33},    {kGAForm190059ID, 190218, 43},
        {kGAForm190060ID, 190232, 39}, {kGAForm190061ID, 190236, 49777}, {kGAForm190062ID, 190243, 69767}};
    double amount = 0;
    for (const Row& r : rows) {
        setNumber(gaCopy(r.worksheet), FieldId(r.credit), amount += 100);
    }
    auto summary = gaCopy(kGAForm74ID);
    engine.sumIndCrParts(summary, 1, 1);
    amount = 0;
    for (const Row& r : rows) {
        EXPECT_EQ(summary->getIR(FieldId(r.summary)), amount += 100) << r.worksheet.getNumber();
    }
    EXPECT_EQ(summary->getIR(kGAForm74FieldIds.f44), 4500);
    EXPECT_TRUE(summary->isDataEntered());
}

TEST_F(GaTaxTest, IndCrSummaryWithoutWorksheetsIsNotEntered) {
    setText(gaCopy(kGAForm69ID), kGAForm69FieldIds.f25, "400001234");
    auto summary = gaCopy(kGAForm74ID);
    engine.sumIndCrParts(summary, 1, 1);
    EXPECT_EQ(text(summary, kGAForm74FieldIds.f4), "400001234");
    EXPECT_EQ(summary->getIR(kGAForm74FieldIds.f44), 0);
    EXPECT_FALSE(summary->isDataEntered());
}

}  // namespace
}  // namespace gataxtest
