// The Georgia tax-rate schedule and the shared amount helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

using Engine = GACalculationMgmt::GATaxReturnCalcEngine;

double tax(double income, int status) { return Engine::computeTaxFromRateSchedule(income, status); }

TEST(RateSchedule, WorkedExamplesAndOneHundredThousandAndAbove) {
    const struct {
        int status;
        double income;
        double tax;
    } cases[] = {
        {2, 550, 5},        // 5.50 less a cent
        {3, 550, 6},        // 6.00 less a cent
        {1, 850, 10},       // 8 + 2 % of 100
        {2, 850, 8},        // 8.50 less a cent
        {1, 50, 0},         // below 100: no tax for a single filer
        {2, 99999, 5737},   // midpoint 99,950: 5,737.00 less a cent
        {2, 100000, 5740},  // exactly 100,000 takes no midpoint
        {4, 100000, 5740}, {1, 100000, 5810}, {3, 100000, 5870}, {2, 100001, 5740},  // 5,740.06
        {2, 100025, 5742},                     // 5,741.50 less a cent plus a dollar
        {3, 100025, 5872},                     // 5,871.50 less a cent plus a dollar
        {2, 100026, 5742},                     // 5,741.56: no dollar added
        {2, 100050, 5743},                     // even multiple of 25: no dollar added
        {3, 100050, 5873}, {2, 100075, 5745},  // 5,744.50
        {4, 100075, 5745},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tax(c.income, c.status), c.tax) << "status " << c.status << " income " << c.income;
    }
}

TEST(RateSchedule, BelowOneHundredThousandTheCentsOfTheIncomeCount) {
    // The working amount keeps the cents: 4,961.85 works on 4,950.85.
    EXPECT_EQ(tax(4961.85, 4), 109);  // 50 + 3 % of 1,950.85 = 108.53 less a cent
    EXPECT_EQ(tax(3035.49, 2), 52);   // 50 + 3 % of 50.49 = 51.51 less a cent
    EXPECT_EQ(tax(1663.79, 3), 30);   // 25 + 3 % of 150.79 = 29.52 less a cent
    EXPECT_EQ(tax(4961, 4), 108);     // whole dollars: 108.50 less a cent
}

TEST(RateSchedule, NoTaxOnNothingOrALossForEveryStatus) {
    for (int status = 1; status <= 4; ++status) {
        for (double income : {0.0, 99.0, -1.0, -250000.0}) {
            EXPECT_EQ(tax(income, status), 0) << "status " << status << " income " << income;
        }
    }
}

TEST(RateSchedule, TheBracketMidpointDecidesBelowOneHundredThousand) {
    // Every income of one $100 bracket pays the tax of its midpoint.
    for (int income = 500; income <= 599; ++income) {
        EXPECT_EQ(tax(income, 2), 5) << income;
        EXPECT_EQ(tax(income, 4), 5) << income;
        EXPECT_EQ(tax(income, 3), 6) << income;
    }
    for (int income = 1000; income <= 1099; ++income) {
        EXPECT_EQ(tax(income, 2), 11) << income;
    }
    for (int income = 1500; income <= 1599; ++income) {
        EXPECT_EQ(tax(income, 3), 26) << income;  // 26.50 less a cent rounds down
    }
    for (int income = 800; income <= 899; ++income) {
        EXPECT_EQ(tax(income, 1), 10) << income;
    }
    for (int income = 7000; income <= 7099; ++income) {
        EXPECT_EQ(tax(income, 1), 233) << income;
    }
    EXPECT_EQ(tax(12345, 1), tax(12350, 1));
    EXPECT_EQ(tax(12300, 1), tax(12399, 1));
}

TEST(RateSchedule, UpperBoundsBelongToTheirBracket) {
    // Status 1: x = 750 is taxed at 1 %; the bracket of 700-799 works on 750.
    EXPECT_EQ(tax(700, 1), 8);  // 7.50 rounds half up
    // Bracket amounts at each edge of each column (midpoint just above).
    EXPECT_EQ(tax(2200, 1), 38);   // x 2,250: 8 + 2 % of 1,500 = 38
    EXPECT_EQ(tax(2300, 1), 41);   // x 2,350: 38 + 3 % of 100
    EXPECT_EQ(tax(400, 3), 4);     // x 450: 1 %, 4.50 less a cent rounds down
    EXPECT_EQ(tax(9900, 2), 337);  // x 9,950: 190 + 5 % of 2,950 = 337.50 less a cent
}

TEST(RateSchedule, ExactHalvesOfTheSingleColumnRoundUp) {
    // Status 1 keeps every exact half of a dollar: 1.50 to 7.50 for the
    // brackets of 100 to 799, and the odd multiples of 25 above 100,000.
    const int expected[] = {2, 3, 4, 5, 6, 7, 8};  // 1.50, 2.50, ... 7.50
    for (int k = 0; k < 7; ++k) {
        const int low = 100 * (k + 1);
        EXPECT_EQ(tax(low, 1), expected[k]) << low;
        EXPECT_EQ(tax(low + 99, 1), expected[k]) << low + 99;
    }
    EXPECT_EQ(tax(100025, 1), 5812);   // 5,811.50
    EXPECT_EQ(tax(100075, 1), 5815);   // 5,814.50
    EXPECT_EQ(tax(250025, 1), 14812);  // 230 + 6 % of 243,025 = 14,811.50
}

TEST(RateSchedule, TheTaxNeverFallsAsIncomeRises) {
    for (int status = 1; status <= 4; ++status) {
        double previous = 0;
        for (int income = 0; income <= 150000; income += 13) {
            const double t = tax(income, status);
            EXPECT_GE(t, previous) << "status " << status << " income " << income;
            previous = t;
        }
    }
}

TEST(RateSchedule, UnknownStatusesShareTheJointColumn) {
    EXPECT_EQ(tax(45000, 0), tax(45000, 2));
    EXPECT_EQ(tax(45000, 9), tax(45000, 2));
    EXPECT_NE(tax(45000, 1), tax(45000, 2));
}

TEST(RateSchedule, IncomesThatAreNotAmountsGiveAFiniteTax) {
    EXPECT_EQ(tax(std::numeric_limits<double>::quiet_NaN(), 2), 0);
    EXPECT_TRUE(std::isfinite(tax(std::numeric_limits<double>::infinity(), 2)));
    EXPECT_EQ(tax(-std::numeric_limits<double>::infinity(), 2), 0);
}

TEST(ProportionalShare, NoDivisorOrNothingToShareGivesZero) {
    EXPECT_EQ(Engine::proportionalShare(100, 0, 500), 0);
    EXPECT_EQ(Engine::proportionalShare(100, -10, 500), 0);
    EXPECT_EQ(Engine::proportionalShare(0, 10, 500), 0);
    EXPECT_EQ(Engine::proportionalShare(-5, 10, 500), 0);
    EXPECT_EQ(Engine::proportionalShare(50, 100, -500), 0);  // floored at 0
    EXPECT_DOUBLE_EQ(Engine::proportionalShare(50, 200, 1000), 250);
    EXPECT_EQ(Engine::proportionalShare(1e308, 1e-308, 1e308), 0);  // overflow is no share
}

// ---- the field helpers

using AmountHelpers = GaTaxTest;

TEST_F(AmountHelpers, CopyFieldOrNullLeavesZeroBlankAndCopiesAnythingElse) {
    auto form70 = gaCopy(kGAForm70ID);
    const auto& f = kGAForm70FieldIds;
    setNumber(form70, f.f92, 0);
    setNumber(form70, f.f95, 7);
    GACalculationMgmt::copyFieldOrNull(form70, f.f95, f.f92);
    EXPECT_TRUE(form70->isNull(f.f95));

    setNumber(form70, f.f92, 3);
    GACalculationMgmt::copyFieldOrNull(form70, f.f95, f.f92);
    EXPECT_EQ(form70->getIR(f.f95), 3);

    form70->setNull(f.f92);  // a null source reads as 0
    GACalculationMgmt::copyFieldOrNull(form70, f.f95, f.f92);
    EXPECT_TRUE(form70->isNull(f.f95));
}

TEST_F(AmountHelpers, StoredAmountOfAJointReturnIsWhatTheOtherColumnDoesNotTake) {
    const auto& f = kGAForm189215FieldIds;
    auto sched = gaCopy(kGAForm189215ID);
    setNumber(sched, f.f189223, 400);  // the spouse column, read from copy 1
    sched->makeProtected(f.f189223);
    engine.storeComputedAmount(sched, kGAForm189215ID, 1000, f.f189222, f.f189223, 2);
    EXPECT_EQ(sched->getIR(f.f189222), 600);
    EXPECT_FALSE(sched->isProtected(f.f189223));
    EXPECT_EQ(sched->getIR(f.f189223), 400);

    engine.storeComputedAmount(sched, kGAForm189215ID, 1000, f.f189222, f.f189223, 1);
    EXPECT_EQ(sched->getIR(f.f189222), 1000);
    EXPECT_TRUE(sched->isNull(f.f189223));
    EXPECT_TRUE(sched->isProtected(f.f189223));
}

TEST_F(AmountHelpers, LinkedFieldCopiesByKindFromTheCopyAskedFor) {
    const auto& f69 = kGAForm69FieldIds;
    const auto& f70 = kGAForm70FieldIds;
    auto target = gaCopy(kGAForm70ID);

    // The copy asked for does not exist: nothing changes. Copy 2 without a
    // copy 1 still passes its value on.
    auto second = ga->getFormUVPtr(kGAForm73ID, 2, true);
    setText(second, kGAForm73FieldIds.f138854, "AL");
    setText(target, f70.f24, "KEEP");
    engine.copyLinkedField(kGAForm73ID, kGAForm73FieldIds.f138854, 3, target, f70.f24);
    EXPECT_EQ(text(target, f70.f24), "KEEP");
    engine.copyLinkedField(kGAForm73ID, kGAForm73FieldIds.f138854, 2, target, f70.f24);
    EXPECT_EQ(text(target, f70.f24), "AL");

    auto info = gaCopy(kGAForm69ID);
    setText(info, f69.f21, "Pat");
    engine.copyLinkedField(kGAForm69ID, f69.f21, 1, target, f70.f24);
    EXPECT_EQ(text(target, f70.f24), "Pat");

    setBox(info, f69.f36);
    engine.copyLinkedField(kGAForm69ID, f69.f36, 1, target, f70.f6);
    EXPECT_TRUE(target->xMarked(f70.f6));
    info->setXNo(f69.f36);
    engine.copyLinkedField(kGAForm69ID, f69.f36, 1, target, f70.f6);
    EXPECT_FALSE(target->xMarked(f70.f6));
    EXPECT_TRUE(target->nonNull(f70.f6));  // marked no, not emptied

    setNumber(info, f69.f49, 1234);
    engine.copyLinkedField(kGAForm69ID, f69.f49, 1, target, f70.f62);
    EXPECT_EQ(target->getIR(f70.f62), 1234);
}

}  // namespace
}  // namespace gataxtest
