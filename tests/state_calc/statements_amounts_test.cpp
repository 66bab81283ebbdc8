// The category amounts of one federal interest or dividend source copy.
#include <gtest/gtest.h>

#include <cmath>

#include "statements_fixture.h"

namespace stmtstest {
namespace {

class SourceAmountsTest : public StatementsTest {
protected:
    IntDivCategoryAmounts dividends(std::uint16_t copy = 1) {
        IntDivCategoryAmounts a;
        a.sourceTotal = -1;
        engine.getDividendSourceAmounts(kForm164ID, copy, a);
        return a;
    }
    IntDivCategoryAmounts interest(std::uint16_t copy = 1) {
        IntDivCategoryAmounts a;
        engine.getInterestSourceAmounts(kForm166ID, copy, a);
        return a;
    }
    // Form 164 and 166 amounts are kept in hundredths.
    static void dollars(const DataMgmt::TaxFormPtr& copy, const FieldId& field, double amount) {
        setNumber(copy, field, amount * 100.0);
    }
    static void expectFinite(const IntDivCategoryAmounts& a) {
        for (double v : {a.sourceTotal, a.regularAmount, a.usObligationAmount, a.municipalTotal, a.inStateMunicipal,
                         a.outOfStateMunicipal}) {
            EXPECT_TRUE(std::isfinite(v));
            EXPECT_LT(std::fabs(v), 1e9);
        }
    }
};

TEST_F(SourceAmountsTest, DividendsSplitIntoUSObligationsAndMunicipalPartsAndShareAnAdjustment) {
    DataMgmt::TaxFormPtr f164 = federalCopy(kForm164ID);
    dollars(f164, kForm164FieldIds.f6, 1000);
    setNumber(f164, kForm164FieldIds.f40, 2500);  // 25.00 %
    dollars(f164, kForm164FieldIds.f41, 300);
    dollars(f164, kForm164FieldIds.f52, 100);

    IntDivCategoryAmounts a = dividends();
    EXPECT_DOUBLE_EQ(a.sourceTotal, 1300);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, 250);
    EXPECT_DOUBLE_EQ(a.regularAmount, 750);
    EXPECT_DOUBLE_EQ(a.municipalTotal, 300);
    EXPECT_DOUBLE_EQ(a.inStateMunicipal, 100);
    EXPECT_DOUBLE_EQ(a.outOfStateMunicipal, 200);
    EXPECT_TRUE(a.hasIncome);
    EXPECT_EQ(a.ownerCode, 0);

    setBox(f164, kForm164FieldIds.f4);
    EXPECT_EQ(dividends().ownerCode, 2);
    setBox(f164, kForm164FieldIds.f3);
    EXPECT_EQ(dividends().ownerCode, 1) << "the spouse box wins over the joint box";

    // An adjustment of 130 is spread over 300 + 1000: regular 750 takes 75,
    // U.S. obligations 250 take 25, the municipal share 30 goes 10 in state
    // and 20 out of state.
    dollars(f164, kForm164FieldIds.f32, 130);
    a = dividends();
    EXPECT_DOUBLE_EQ(a.regularAmount, 675);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, 225);
    EXPECT_DOUBLE_EQ(a.inStateMunicipal, 90);
    EXPECT_DOUBLE_EQ(a.outOfStateMunicipal, 180);
    EXPECT_DOUBLE_EQ(a.sourceTotal, 900);
}

TEST_F(SourceAmountsTest, RestrictedStockGivesOnlyTheSourceTotal) {
    DataMgmt::TaxFormPtr f164 = federalCopy(kForm164ID);
    dollars(f164, kForm164FieldIds.f6, 1000);
    setNumber(f164, kForm164FieldIds.f40, 5000);
    dollars(f164, kForm164FieldIds.f41, 200);
    setBox(f164, kForm164FieldIds.f19);
    const IntDivCategoryAmounts a = dividends();
    EXPECT_DOUBLE_EQ(a.sourceTotal, 1200);
    EXPECT_DOUBLE_EQ(a.regularAmount, 0);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, 0);
    EXPECT_DOUBLE_EQ(a.municipalTotal, 0);
    EXPECT_DOUBLE_EQ(a.inStateMunicipal, 0);
    EXPECT_DOUBLE_EQ(a.outOfStateMunicipal, 0);
}

TEST_F(SourceAmountsTest, AnAdjustmentWithNothingToSpreadOverLeavesTheAmounts) {
    // Dividends 50 and a further amount of -50 leave no spread base.
    DataMgmt::TaxFormPtr f164 = federalCopy(kForm164ID);
    dollars(f164, kForm164FieldIds.f6, 50);
    dollars(f164, kForm164FieldIds.f7, -50);
    dollars(f164, kForm164FieldIds.f32, 10);
    IntDivCategoryAmounts a = dividends();
    expectFinite(a);
    EXPECT_DOUBLE_EQ(a.regularAmount, 50);
    EXPECT_DOUBLE_EQ(a.sourceTotal, 40);

    // Interest: U.S. obligations of -100 against regular interest of 100.
    DataMgmt::TaxFormPtr f166 = federalCopy(kForm166ID);
    dollars(f166, kForm166FieldIds.f10, 100);
    dollars(f166, kForm166FieldIds.f54, -100);
    dollars(f166, kForm166FieldIds.f27, 10);
    a = interest();
    expectFinite(a);
    EXPECT_DOUBLE_EQ(a.regularAmount, 100);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, -100);
}

TEST_F(SourceAmountsTest, InterestByCategory) {
    DataMgmt::TaxFormPtr f166 = federalCopy(kForm166ID);
    dollars(f166, kForm166FieldIds.f10, 500);  // regular
    dollars(f166, kForm166FieldIds.f12, 40);   // U.S. obligations
    dollars(f166, kForm166FieldIds.f17, 60);   // regular
    dollars(f166, kForm166FieldIds.f54, 10);   // U.S. obligations
    dollars(f166, kForm166FieldIds.f197490, 300);
    dollars(f166, kForm166FieldIds.f48, 20);
    dollars(f166, kForm166FieldIds.f53, 5);  // moves from regular to U.S. obligations
    dollars(f166, kForm166FieldIds.f18, 7);
    dollars(f166, kForm166FieldIds.f83, 100);
    dollars(f166, kForm166FieldIds.f84, 50);
    dollars(f166, kForm166FieldIds.f79, 3);

    // Fields 18 and 197490 both above 0: field 18 is municipal and field 53
    // is not read.
    IntDivCategoryAmounts a = interest();
    EXPECT_DOUBLE_EQ(a.municipalTotal, 327);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, 50);
    EXPECT_DOUBLE_EQ(a.regularAmount, 563);
    EXPECT_DOUBLE_EQ(a.inStateMunicipal, 150);
    EXPECT_DOUBLE_EQ(a.outOfStateMunicipal, 177);
    EXPECT_DOUBLE_EQ(a.sourceTotal, 500 + 40 + 60 + 10 + 327 + 3);
    EXPECT_TRUE(a.hasIncome);

    // Without field 197490, field 18 is regular and field 53 counts.
    setNumber(f166, kForm166FieldIds.f197490, 0);
    a = interest();
    EXPECT_DOUBLE_EQ(a.municipalTotal, 20);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, 55);
    EXPECT_DOUBLE_EQ(a.regularAmount, 500 + 60 + 7 + 3 - 5);
    EXPECT_DOUBLE_EQ(a.inStateMunicipal, 150);
    EXPECT_DOUBLE_EQ(a.outOfStateMunicipal, 0) << "raised to 0";
}

TEST_F(SourceAmountsTest, AnInterestAdjustmentMarkedForUSObligationsGoesAgainstThemOnly) {
    DataMgmt::TaxFormPtr f166 = federalCopy(kForm166ID);
    dollars(f166, kForm166FieldIds.f10, 500);
    dollars(f166, kForm166FieldIds.f12, 40);
    dollars(f166, kForm166FieldIds.f27, 100);
    setBox(f166, kForm166FieldIds.f25);
    IntDivCategoryAmounts a = interest();
    EXPECT_DOUBLE_EQ(a.usObligationAmount, -60);
    EXPECT_DOUBLE_EQ(a.regularAmount, 500);
    EXPECT_DOUBLE_EQ(a.sourceTotal, 440);

    setBox(f166, kForm166FieldIds.f25, false);
    a = interest();
    // Spread over 540: regular takes 93, U.S. obligations 7.
    EXPECT_DOUBLE_EQ(a.regularAmount, 407);
    EXPECT_DOUBLE_EQ(a.usObligationAmount, 33);
}

TEST_F(SourceAmountsTest, FormsFiftyOneAndEightyNineAreTakenWhole) {
    DataMgmt::TaxFormPtr f89 = federalCopy(kForm89ID, 2);
    setNumber(f89, kForm89FieldIds.f15, 250);
    setNumber(f89, kForm89FieldIds.f139, 50);
    setNumber(f89, kForm89FieldIds.f130, 80);
    setNumber(f89, kForm89FieldIds.f153, 30);
    setBox(f89, kForm89FieldIds.f146);
    IntDivCategoryAmounts a;
    engine.getOtherInterestAmounts(kForm89ID, 2, a);
    EXPECT_DOUBLE_EQ(a.sourceTotal, 330) << "not in hundredths";
    EXPECT_DOUBLE_EQ(a.regularAmount, 200);
    EXPECT_DOUBLE_EQ(a.outOfStateMunicipal, 50);
    EXPECT_EQ(a.ownerCode, 1);
    engine.getOtherInterestAmounts(kForm52ID, 2, a);
    EXPECT_DOUBLE_EQ(a.sourceTotal, 0) << "any other form gives zeros";
    EXPECT_FALSE(a.hasIncome);
}

}  // namespace
}  // namespace stmtstest
