// The state wage worksheet (state form 4): W-2 wages and their split, the
// income lines of the federal main form with their state columns by
// residency code, the common amounts, the totals and the sums over the
// statements.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "statements_fixture.h"

namespace stmtstest {
namespace {

using Utils::PCTypes;

class WagesTest : public StatementsTest {
protected:
    WagesTest() : sheet(stateCopy(kStateForm4ID)), f1(federalCopy(kForm1ID)) {
        setNumber(f1, kForm1FieldIds.f80, 50000);  // row 1: wages, capped
        setNumber(f1, kForm1FieldIds.f81, 300);    // row 2, capped
        setNumber(f1, kForm1FieldIds.f82, 200);    // row 3, not capped
        setNumber(f1, kForm1FieldIds.f92, 1000);   // row 10, capped
        setNumber(f1, kForm1FieldIds.f689, 80);    // row 14 (10504 to 10506)
        st().setAllStateWages(45000);
        st().setStateWages(12000);
        st().setFromW2(kForm52ID, kForm52FieldIds.f21, 50000, 20000);
    }
    void allocate(int residency, std::uint16_t filingStatus = 1) {
        engine.allocateStateWages(sheet, "GA", kGAForm69ID, filingStatus, residency, 0);
    }
    double at(int field) { return number(sheet, FieldId(field)); }
    bool null(int field) { return isNull(sheet, FieldId(field)); }
    bool closed(int field) { return sheet->isProtected(FieldId(field)); }
    void enter(int field, double value) { setNumber(sheet, FieldId(field), value); }

    DataMgmt::TaxFormPtr sheet;
    DataMgmt::TaxFormPtr f1;
};

TEST_F(WagesTest, FullYearResidentTakesEveryFederalAmountIntoTheFirstStateColumn) {
    allocate(1);
    for (auto [a, b, c] : {std::tuple{37, 38, 39}, {40, 41, 42}, {43, 44, 45}, {64, 65, 66}, {10504, 10505, 10506}}) {
        EXPECT_EQ(at(b), at(a)) << "line " << a;
        EXPECT_TRUE(null(c)) << "line " << a;
        EXPECT_TRUE(closed(b) && closed(c)) << "line " << a;
    }
    EXPECT_EQ(at(37), 50000);
    EXPECT_EQ(at(26), 50000) << "the taxpayer's W-2 wages only";
    EXPECT_EQ(at(27), 45000);
    EXPECT_TRUE(null(28));
    EXPECT_TRUE(closed(27) && closed(28));
    EXPECT_EQ(at(7), 1);
}

TEST_F(WagesTest, PartYearResidentEntersTheFirstColumnWithinTheFederalAmount) {
    allocate(2);
    EXPECT_EQ(at(38), 0) << "a first allocation starts the open column from 0";
    EXPECT_TRUE(null(39));
    EXPECT_TRUE(closed(39));
    EXPECT_FALSE(closed(38));
    EXPECT_EQ(at(27), 0);
    EXPECT_FALSE(closed(27));
    EXPECT_TRUE(null(28));

    enter(38, 60000);  // above the federal amount of a capped line
    enter(44, 999);    // above the federal amount of a line that is not capped
    enter(27, 30000);
    allocate(2);
    EXPECT_EQ(at(38), 50000);
    EXPECT_EQ(at(44), 999);
    EXPECT_EQ(at(27), 30000);
    enter(27, 90000);
    allocate(2);
    EXPECT_EQ(at(27), 45000) << "held to all state wages";

    // A change of residency discards what was entered.
    allocate(4);
    EXPECT_EQ(at(38), 0);
    EXPECT_EQ(at(27), 0);
}

// A worksheet never allocated (field 7 empty, as on a return file that does
// not carry it) has no earlier residency: the amounts entered in the open
// columns stay within their limits, and an empty open column starts from 0.
// Another residency code in field 7 starts the open columns afresh.
TEST_F(WagesTest, AFirstAllocationKeepsTheAmountsEntered) {
    const struct {
        int residency;
        double earlierCode;  // 0: field 7 empty
        double wages;        // field 27
        double capped;       // column B of the wages line, federal amount 50,000
        double notCapped;    // column B of line 43, federal amount 200
    } rows[] = {
        {2, 0, 33000, 30000, 999},
        {4, 0, 33000, 30000, 999},
        {2, 4, 0, 0, 0},
        {4, 2, 0, 0, 0},
    };
    std::uint16_t copy = 1;
    for (const auto& r : rows) {
        DataMgmt::TaxFormPtr fresh = stateCopy(kStateForm4ID, copy++);
        if (r.earlierCode != 0) {
            setNumber(fresh, FieldId(7), r.earlierCode);
        }
        setNumber(fresh, FieldId(27), 33000);
        setNumber(fresh, FieldId(38), 30000);
        setNumber(fresh, FieldId(44), 999);
        engine.allocateStateWages(fresh, "GA", kGAForm69ID, 1, r.residency, 0);
        const std::string row = std::to_string(r.residency) + " after " + std::to_string(r.earlierCode);
        EXPECT_EQ(number(fresh, FieldId(27)), r.wages) << row;
        EXPECT_EQ(number(fresh, FieldId(38)), r.capped) << row;
        EXPECT_EQ(number(fresh, FieldId(44)), r.notCapped) << row;
        EXPECT_FALSE(isNull(fresh, FieldId(30))) << row << ": an empty open column starts from 0";
        EXPECT_EQ(number(fresh, FieldId(30)), 0) << row;
        EXPECT_EQ(number(fresh, FieldId(7)), r.residency) << row;
    }
}

TEST_F(WagesTest, NonresidentEntersTheSecondColumn) {
    enter(39, 70000);
    allocate(3);
    EXPECT_TRUE(null(38));
    EXPECT_TRUE(closed(38));
    EXPECT_FALSE(closed(39));
    EXPECT_EQ(at(39), 50000);
    EXPECT_TRUE(null(27));
    EXPECT_EQ(at(28), 12000) << "this state's wages";

    // An amount already on the first worksheet stands, uncapped.
    enter(28, 99999);
    st().setStateWages(11000);
    allocate(3);
    EXPECT_EQ(at(28), 99999);
}

TEST_F(WagesTest, BothColumnsOpenKeepTheirSumWithinTheFederalAmount) {
    allocate(4);
    enter(38, 30000);
    enter(39, 40000);
    enter(27, 40000);
    enter(28, 9000);
    allocate(4);
    EXPECT_EQ(at(38), 30000);
    EXPECT_EQ(at(39), 20000);
    EXPECT_EQ(at(27), 40000);
    EXPECT_EQ(at(28), 5000) << "all state wages less the first column";
    enter(27, 50000);
    allocate(4);
    EXPECT_EQ(at(27), 45000);
    EXPECT_EQ(at(28), 0);
}

// A Georgia part lies between 0 and the federal amount (line 40: 300; 52: 500), the second column within what the
// first leaves; wages not below 0. Row: residency, a field and amount entered, another, what the last is held to.
TEST_F(WagesTest, AGeorgiaPartIsHeldBetweenZeroAndTheFederalAmount) {
    setNumber(f1, kForm1FieldIds.f87, 500);  // row 6, capped
    const int rows[][6] = {{2, 41, -50, 0, 0, 0},      {2, 53, 100, 0, 0, 100}, {2, 53, 900, 0, 0, 500},
                           {3, 54, -100, 0, 0, 0},     {3, 42, -50, 0, 0, 0},   {4, 41, 100, 42, -50, 0},
                           {4, 53, 200, 54, 400, 300}, {2, 27, -100, 0, 0, 0},  {4, 27, 100, 28, -100, 0}};
    std::uint16_t copy = 1;
    for (const auto& [residency, first, amount, second, secondAmount, held] : rows) {
        DataMgmt::TaxFormPtr fresh = stateCopy(kStateForm4ID, copy++);
        setNumber(fresh, FieldId(7), residency);  // no change of residency
        setNumber(fresh, FieldId(first), amount);
        if (second != 0) setNumber(fresh, FieldId(second), secondAmount);
        engine.allocateStateWages(fresh, "GA", kGAForm69ID, 1, residency, 0);
        EXPECT_EQ(number(fresh, FieldId(second != 0 ? second : first)), held) << residency << ": " << first;
    }
    // Where no W-2 gives state wages, their wages (box 1, 50000) bound the Georgia wages.
    st().setAllStateWages(0);
    DataMgmt::TaxFormPtr fresh = stateCopy(kStateForm4ID, copy);
    setNumber(fresh, FieldId(7), 2);
    setNumber(fresh, FieldId(27), 60000);
    engine.allocateStateWages(fresh, "GA", kGAForm69ID, 1, 2, 0);
    EXPECT_EQ(number(fresh, FieldId(27)), 50000);
}

TEST_F(WagesTest, AJointReturnAddsTheSpousesAmounts) {
    st().setPullCommon(kForm1ID, PCTypes::kOtherWagesTaxpayer, 100);
    st().setPullCommon(kForm1ID, PCTypes::kOtherWagesSpouse, 40);
    st().setPullCommon(kForm1ID, PCTypes::kTaxableInterest, 7);
    st().setPullCommon(kForm1ID, PCTypes::kOrdinaryDividends, 8);
    st().setPullCommon(kForm1ID, PCTypes::kWorksheetAdjustmentTaxpayer, 9);
    st().setPullCommon(kForm1ID, PCTypes::kWorksheetAdjustmentSpouse, 10);
    setNumber(f1, kForm1FieldIds.f110, 11);
    setNumber(f1, kForm1FieldIds.f111, 12);

    allocate(1, 2);
    EXPECT_EQ(at(26), 70000);
    EXPECT_EQ(at(29), 140);
    EXPECT_EQ(at(35), 7);
    EXPECT_EQ(at(36), 8);
    EXPECT_EQ(at(97), 9);
    EXPECT_EQ(at(100), 10);
    EXPECT_EQ(at(76), 11);
    EXPECT_EQ(at(79), 12);
    EXPECT_EQ(at(30), 140) << "the fixed lines take their state columns too";

    allocate(1, 3);
    EXPECT_EQ(at(26), 50000);
    EXPECT_EQ(at(29), 100);
    EXPECT_EQ(at(100), 0);
    EXPECT_EQ(at(79), 0);
}

TEST_F(WagesTest, ShortFormFiftyFiveRefreshesItsLinesAndEmptiesTheOthers) {
    allocate(1);
    ASSERT_EQ(at(37), 50000);

    engine.federalForm = kForm55ID;
    DataMgmt::TaxFormPtr f55 = federalCopy(kForm55ID);
    setNumber(f55, kForm55FieldIds.f75, 600);  // row 10
    setNumber(f55, kForm55FieldIds.f251, 70);  // row 17
    setNumber(f55, kForm55FieldIds.f77, 13);
    allocate(1);
    EXPECT_EQ(at(64), 600);
    EXPECT_EQ(at(65), 600);
    EXPECT_EQ(at(82), 70);
    EXPECT_EQ(at(76), 13);
    for (int field : {70, 71, 72, 37, 38, 39, 40, 10504, 10505, 10506}) {
        EXPECT_TRUE(null(field)) << "field " << field << " has no line on form 55";
        EXPECT_TRUE(closed(field)) << "field " << field;
    }
}

TEST_F(WagesTest, ShortFormEightySevenHasOneLine) {
    engine.federalForm = kForm87ID;
    DataMgmt::TaxFormPtr f87 = federalCopy(kForm87ID);
    setNumber(f87, kForm87FieldIds.f91, 450);
    setNumber(f1, kForm1FieldIds.f110, 11);
    allocate(2, 2);
    EXPECT_EQ(at(64), 450);
    EXPECT_TRUE(null(37));
    EXPECT_TRUE(null(52));
    EXPECT_EQ(at(76), 0);
    EXPECT_EQ(at(79), 0);
}

TEST_F(WagesTest, WorksheetTotalsAndMarks) {
    st().setPullCommon(kForm1ID, PCTypes::kFederalAgi, 61000);
    allocate(1);
    DataMgmt::TaxFormPtr second = stateCopy(kStateForm4ID, 2);
    for (auto [field, value] :
         {std::pair{26, 100}, {27, 60},   {28, 40},   {29, 10},  {30, 5},  {31, 5}, {35, 3},  {36, 4},
          {37, 1000},         {38, 700},  {39, 300},  {76, 20},  {77, 15}, {78, 5}, {116, 9}, {117, 6},
          {118, 3},           {10504, 2}, {10505, 1}, {10506, 1}}) {
        setNumber(second, FieldId(field), value);
    }
    engine.pullCommonAmount(second);
    EXPECT_EQ(number(second, FieldId(32)), 110);
    EXPECT_EQ(number(second, FieldId(33)), 65);
    EXPECT_EQ(number(second, FieldId(34)), 45);
    EXPECT_EQ(number(second, FieldId(73)), 110 + 3 + 4 + 1000);
    EXPECT_EQ(number(second, FieldId(74)), 65 + 700);
    EXPECT_EQ(number(second, FieldId(75)), 45 + 300);
    EXPECT_EQ(number(second, FieldId(112)), 20 + 9 + 2);
    EXPECT_EQ(number(second, FieldId(113)), 15 + 6 + 1);
    EXPECT_EQ(number(second, FieldId(114)), 5 + 3 + 1);
    EXPECT_EQ(number(second, FieldId(115)), 61000);
    EXPECT_TRUE(state->isDataEntered(kStateForm4ID, 1)) << "copy 1 is marked, whichever copy was given";
    EXPECT_TRUE(second->calculatedFlag());
}

TEST_F(WagesTest, StatementTotalsOverAllCopiesInTheColumnOfTheKind) {
    for (std::uint16_t copy : {1, 2}) {
        DataMgmt::TaxFormPtr interest = stateCopy(kStateForm2ID, copy);
        DataMgmt::TaxFormPtr dividends = stateCopy(kStateForm3ID, copy);
        for (int field : {151, 152, 153, 160, 161, 162}) {
            setNumber(interest, FieldId(field), field);
        }
        for (int field : {151, 152, 153, 154, 155, 156}) {
            setNumber(dividends, FieldId(field), field * 10);
        }
    }
    enter(8, 1);
    engine.sumAllCopies(sheet, 1);
    EXPECT_EQ(at(8), 2 * (160 + 151));
    EXPECT_EQ(at(11), 2 * 10 * (154 + 151));
    EXPECT_TRUE(null(9));
    EXPECT_TRUE(null(13));

    engine.sumAllCopies(sheet, 4);
    EXPECT_TRUE(null(8));
    EXPECT_TRUE(null(11));
    EXPECT_EQ(at(9), 2 * (161 + 152));
    EXPECT_EQ(at(10), 2 * (162 + 153));
    EXPECT_EQ(at(12), 2 * 10 * (155 + 152));
    EXPECT_EQ(at(13), 2 * 10 * (156 + 153));

    engine.sumAllCopies(sheet, 3);
    EXPECT_TRUE(null(9));
    EXPECT_EQ(at(10), 2 * (162 + 153));
}

}  // namespace
}  // namespace stmtstest
