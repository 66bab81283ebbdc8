// Amounts sorted by their dates: the installment periods of twelve dated
// rows, and the yearly test over federal forms 31 and 126.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "statements_fixture.h"

namespace stmtstest {
namespace {

class PeriodTest : public StatementsTest {
protected:
    PeriodTest() : info(stateCopy(kGAForm69ID)) {}

    // Row i (0 to 11) of the dated rows of form 69 from field 50 on.
    void row(int i, const std::string& date, double amount) {
        setText(info, FieldId(50 + 2 * i), date);
        setNumber(info, FieldId(51 + 2 * i), amount);
    }
    // The Georgia installment periods: April 15, June 15 and September 15
    // of 2018, and January 15 of 2019.
    std::array<double, 4> periods() {
        std::array<double, 4> t{-1, -1, -1, -1};
        engine.sumAmountsByPeriod(kGAForm69ID, kGAForm69FieldIds.f50, t[0], t[1], t[2], t[3], 4, 15, 6, 15, 9, 15, 1,
                                  15, 2018);
        return t;
    }

    DataMgmt::TaxFormPtr info;
};

TEST_F(PeriodTest, APaymentOnAPeriodsLastDayBelongsToThatPeriod) {
    row(0, "04/15/2018", 100);
    row(1, "04/16/2018", 200);
    row(2, "06/15/2018", 400);
    row(3, "09/15/2018", 800);
    row(4, "01/15/2019", 1600);
    row(5, "01/16/2019", 3200);
    row(6, "12/31/2017", 6400);
    row(7, "01/01/2018", 10);
    const std::array<double, 4> expected{110, 600, 800, 1600};
    EXPECT_EQ(periods(), expected);
}

TEST_F(PeriodTest, RowsWithoutADateOrWithoutAPositiveAmountAddNothing) {
    row(0, "", 100);
    row(1, "not a date", 100);
    row(2, "05/01/2018", -50);
    row(3, "05/01/2018", 0);
    row(11, "12/01/2018", 25);  // the twelfth row still counts
    const std::array<double, 4> expected{0, 0, 0, 25};
    EXPECT_EQ(periods(), expected);
}

TEST_F(PeriodTest, AFormWithoutCopyOneLeavesEveryTotalAtZero) {
    state->deleteForm(kGAForm69ID, 1);
    const std::array<double, 4> expected{0, 0, 0, 0};
    EXPECT_EQ(periods(), expected);
}

class YearlyTest : public StatementsTest {
protected:
    void form31(std::uint16_t copy, const std::string& date, double amount) {
        DataMgmt::TaxFormPtr c = federalCopy(kForm31ID, copy);
        setText(c, kForm31FieldIds.f3, date);
        setNumber(c, kForm31FieldIds.f135, amount);
    }
    void form126(std::uint16_t copy, const std::string& date, double amount) {
        DataMgmt::TaxFormPtr c = federalCopy(kForm126ID, copy);
        setText(c, kForm126FieldIds.f33, date);
        setNumber(c, kForm126FieldIds.f36, amount);
    }
};

TEST_F(YearlyTest, AnyOneYearAboveTheLimitAnswersYes) {
    form31(1, "03/01/2005", 20000);
    form31(2, "11/30/2005", 6000);
    EXPECT_TRUE(engine.scanFormDates());
}

TEST_F(YearlyTest, ExactlyTheLimitAnswersNo) {
    form31(1, "03/01/2007", 12500);
    form126(1, "07/04/2007", 12500);
    EXPECT_FALSE(engine.scanFormDates());
}

TEST_F(YearlyTest, YearsOutsideTheScannedRangeAndSeparateYearsDoNotAddUp) {
    form31(1, "03/01/2002", 30000);
    form126(1, "03/01/2011", 30000);
    form31(2, "03/01/2003", 20000);
    form31(3, "03/01/2010", 20000);
    EXPECT_FALSE(engine.scanFormDates());
}

TEST_F(YearlyTest, CopiesAreFoundWhateverTheirNumbers) {
    form31(1, "03/01/2009", 1000);
    form31(2, "03/01/2009", 1000);
    form31(3, "03/01/2009", 24500);
    federal->deleteForm(kForm31ID, 1);
    EXPECT_TRUE(engine.scanFormDates()) << "copies 2 and 3 make 25500";
}

}  // namespace
}  // namespace stmtstest
