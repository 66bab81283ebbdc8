// Georgia form 75, the estimated tax of 2019, on a seeded form 70.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

using Engine = GACalculationMgmt::GATaxReturnCalcEngine;

const auto& f75 = kGAForm75FieldIds;
const auto& f70 = kGAForm70FieldIds;

TEST(EstimatedTax2019, RateScheduleByFilingStatus) {
    const struct {
        double income;
        int status;
        double tax;
    } rows[] = {
        {750, 1, 8},      // 7.50 rounds up
        {751, 1, 8},      // 8.02
        {2250, 1, 38},    // a bracket's limit belongs to it
        {10000, 1, 403},  // 230 + 5.75 % of 3,000
        {500, 3, 5},      // separate: the 500 schedule
        {1500, 3, 25},    //
        {6000, 3, 228},   // 170 + 5.75 % of 1,000 = 227.50
        {1000, 2, 10},    // joint and head of household
        {20000, 4, 915},  // 340 + 5.75 % of 10,000
        {0, 2, 0},        //
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Engine::computeEstimatedTax2019(r.income, r.status), r.tax) << r.income;
    }
}

class EstimatedTax : public GaTaxTest {
protected:
    EstimatedTax() {
        engine.calcInfoForm(gaCopy(kGAForm69ID), 1, 1);  // the filers' fields of form 69, as the walk begins
        setBox(form(), f75.f6);                          // the worksheet is in use
    }

    DataMgmt::TaxFormPtr form() { return gaCopy(kGAForm75ID); }
    // This year's return of a full-year resident: filing-status letter,
    // federal adjusted gross income and Georgia tax withheld.
    void thisYear(const char* letter, double agi, double withheld) {
        setText(gaCopy(kGAForm70ID), f70.f44, letter);
        setNumber(gaCopy(kGAForm70ID), f70.f62, agi);
        setNumber(gaCopy(kGAForm70ID), f70.f87, withheld);
        setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f110);
        setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f36);
        setNumber(form(), f75.f207533, 4600);
    }
    void calc() { engine.calcEstimatedTax(form(), 1, 1); }
    double v(const FieldId& x) { return ga->getIR(kGAForm75ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm75ID, 1, x); }
};

TEST_F(EstimatedTax, ProjectsThisYearAndFillsTheVoucherDueNext) {
    thisYear("A", 50000, 2000);
    setText(gaCopy(kGAForm69ID), kGAForm69FieldIds.f25, "123456789");
    calc();
    EXPECT_TRUE(form()->xMarked(f75.f7));
    EXPECT_EQ(v(f75.f39), 50000);
    EXPECT_EQ(v(f75.f40), 2700);
    EXPECT_EQ(v(f75.f43), 42700);
    EXPECT_EQ(v(f75.f44), 2283);  // 230 + 5.75 % of 35,700 = 2,282.75
    EXPECT_EQ(v(f75.f48), 283);
    EXPECT_TRUE(ga->isDataEntered(kGAForm75ID, 1));

    // The installments left: empty or out of range means four, voucher 1;
    // an installment is the estimated tax divided by them, to the cent.
    const struct {
        const char* entered;  // nullptr: empty
        double number;
        const char* due;
        double installment;
    } rows[] = {{nullptr, 1, "04-15-2019", 70.75},
                {"7", 1, "04-15-2019", 70.75},
                {"3", 2, "06-15-2019", 94.33},
                {"1", 4, "01-15-2020", 283},
                {"2", 3, "09-15-2019", 141.5}};
    for (const auto& r : rows) {
        form()->setNull(f75.f49);
        if (r.entered != nullptr) {
            setNumber(form(), f75.f49, std::stod(r.entered));
        }
        calc();
        EXPECT_EQ(v(f75.f58), r.number);
        EXPECT_EQ(text(form(), f75.f59), r.due);
        EXPECT_EQ(v(f75.f68), r.installment);
    }
    EXPECT_EQ(text(form(), f75.f69).substr(0, 22), "5000012345678940915191");
    EXPECT_EQ(text(form(), f75.f69).size(), 50u);

    // No tax due: the voucher area is empty.
    setNumber(gaCopy(kGAForm70ID), f70.f87, 5000);
    calc();
    EXPECT_EQ(v(f75.f48), 0);
    for (const FieldId& x : {f75.f58, f75.f59, f75.f60, f75.f68, f75.f69}) {
        EXPECT_TRUE(blank(x)) << x;
    }
}

// Exemptions and the schedule by the filing-status box: single (26),
// joint (27) and head of household (29) on the 1,000 schedule, separate (28)
// on the 500 one.
TEST_F(EstimatedTax, ExemptionAndScheduleByFilingStatus) {
    setCommon(Utils::PCTypes::kDependents, 1);  // one dependent: 3,000
    const struct {
        const char* letter;
        double exemptions;
        double tax;
    } rows[] = {{"A", 5700, 1535}, {"B", 10400, 1203}, {"C", 6700, 1533}, {"D", 5700, 1473}};
    for (const auto& r : rows) {
        thisYear(r.letter, 40000, 0);
        calc();
        EXPECT_EQ(v(f75.f40), r.exemptions) << r.letter;
        EXPECT_EQ(v(f75.f44), r.tax) << r.letter;
    }
}

TEST_F(EstimatedTax, EnteredWorksheetTakesTheStandardDeductionOfItsBoxes) {
    thisYear("A", 40000, 0);
    setBox(form(), f75.f8);  // not projected from this year
    form()->setNull(f75.f7);
    setBox(form(), f75.f27);
    setBox(form(), f75.f31);
    setBox(form(), f75.f32);
    setBox(form(), f75.f35);
    setNumber(form(), f75.f25, 40000);
    calc();
    EXPECT_EQ(v(f75.f207533), 6000 + 2 * 1300);
    EXPECT_EQ(v(f75.f40), 7400);
    EXPECT_EQ(v(f75.f43), 40000 - 8600 - 7400);
}

TEST_F(EstimatedTax, RetirementExclusionLimitRisesForAFilerSixtyFourBy2018) {
    thisYear("A", 80000, 0);
    setNumber(gaCopy(kGAForm189215ID), kGAForm189215FieldIds.f189321, 50000);
    calc();
    EXPECT_EQ(v(f75.f42), 35000);
    // 64 on 31 December 2018, so 65 in 2019; one day younger is not.
    setText(fedCopy(kForm92ID), kForm92FieldIds.f9, "12/31/1954");
    calc();
    EXPECT_EQ(v(f75.f42), 50000);
    setText(fedCopy(kForm92ID), kForm92FieldIds.f9, "01/02/1955");
    calc();
    EXPECT_EQ(v(f75.f42), 35000);
    // The spouse's exclusion, within the spouse's limit, on a joint return
    // only.
    setNumber(gaCopy(kGAForm189215ID), kGAForm189215FieldIds.f189322, 50000);
    for (const auto& [letter, exclusion] : {std::pair{"B", 70000.0}, std::pair{"C", 35000.0}}) {
        setText(gaCopy(kGAForm70ID), f70.f44, letter);
        calc();
        EXPECT_EQ(v(f75.f42), exclusion) << letter;
    }
}

}  // namespace
}  // namespace gataxtest
