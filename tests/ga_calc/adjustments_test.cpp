// Georgia form 189215: additions, subtractions and the retirement income
// exclusion, calculated on seeded returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& s1 = kGAForm189215FieldIds;
const auto& f69 = kGAForm69FieldIds;
const auto& f92 = kForm92FieldIds;

class Adjustments : public GaTaxTest {
protected:
    Adjustments() {
        setFilingStatus(1);
        setBox(gaCopy(kGAForm69ID), f69.f110);  // full-year resident
    }
    DataMgmt::TaxFormPtr sheet() { return gaCopy(kGAForm189215ID); }
    void calculate() { engine.calcAdjustmentsForm(sheet(), 1, 1); }
    double amount(const FieldId& x) { return ga->getIR(kGAForm189215ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm189215ID, 1, x); }
    bool closed(const FieldId& x) { return blank(x) && sheet()->isProtected(x); }
    void born(const char* taxpayer, const char* spouse = nullptr) {
        setText(fedCopy(kForm92ID), f92.f9, taxpayer);
        if (spouse != nullptr) {
            setText(fedCopy(kForm92ID), f92.f10, spouse);
        }
    }
};

// ------------------------------------------------------------ retirement exclusion

TEST_F(Adjustments, RetirementLimitByBirthYear) {
    const struct {
        const char* birthDate;
        double limit;  // 0: no exclusion by age
    } cases[] = {{"06/30/1953", 65000}, {"01/01/1954", 35000}, {"12/31/1956", 35000}, {"01/01/1957", 0}};
    setCommon(Utils::kPensionsTaxpayer, 90000);  // above either limit
    for (const auto& c : cases) {
        born(c.birthDate);
        calculate();
        EXPECT_EQ(ga->formYes(kGAForm189215ID, 1, s1.f189228), c.limit > 0) << c.birthDate;
        EXPECT_EQ(amount(s1.f189334), c.limit) << c.birthDate;
        if (c.limit > 0) {
            EXPECT_EQ(amount(s1.f189323), c.limit);
            EXPECT_EQ(text(sheet(), s1.f189331), c.birthDate);
        } else {
            // Not qualified: the worksheet lines are closed and empty, the
            // exclusion is 0 and the limit line is emptied too.
            EXPECT_TRUE(closed(s1.f189315));
            EXPECT_TRUE(closed(s1.f189321));
            EXPECT_TRUE(closed(s1.f189325));
            EXPECT_TRUE(closed(s1.f189323));
            EXPECT_FALSE(blank(s1.f189334));
        }
    }
}

TEST_F(Adjustments, DisabledFilerHasTheLowerLimitAndKeepsTheLimitLine) {
    born("05/05/1970");
    setBox(fedCopy(kForm92ID), f92.f490);
    setNumber(sheet(), s1.f189323, 12345);
    setCommon(Utils::kPensionsTaxpayer, 80000);
    calculate();
    EXPECT_TRUE(ga->formYes(kGAForm189215ID, 1, s1.f189230));
    EXPECT_FALSE(sheet()->isProtected(s1.f189332));
    EXPECT_EQ(amount(s1.f189323), 12345);
    EXPECT_EQ(amount(s1.f189321), 80000);
    EXPECT_EQ(amount(s1.f189325), 35000);

    // Disability income taken off the pensions is added to the exclusion
    // whole; the limit applies before it.
    setBox(sheet(), s1.f189329);
    setNumber(sheet(), s1.f189327, 1000);
    calculate();
    EXPECT_EQ(amount(s1.f189315), 79000);
    EXPECT_EQ(amount(s1.f189334), 36000);

    // Without the federal box the inputs close and the entry is gone.
    fedCopy(kForm92ID)->setXNo(f92.f490);
    calculate();
    EXPECT_TRUE(closed(s1.f189327));
    EXPECT_TRUE(closed(s1.f189332));
    EXPECT_EQ(amount(s1.f189334), 0);
}

TEST_F(Adjustments, EarnedIncomeCountsUpTo4000) {
    born("01/01/1950");
    const struct {
        std::int64_t wages;
        double counted;
    } cases[] = {{3999, 3999}, {5000, 4000}, {-700, 0}};
    for (const auto& c : cases) {
        setCommon(Utils::kWagesTaxpayer, c.wages);
        calculate();
        EXPECT_EQ(amount(s1.f189301), c.counted) << c.wages;
    }
}

// The other income counts the taxable refunds beyond the refunds entered by
// state (which Georgia subtracts), none of them where those are more.
TEST_F(Adjustments, OtherIncomeTakesTheTaxableRefundsBeyondThoseByState) {
    born("01/01/1950");
    setCommon(Utils::kOtherIncome, 1000);
    setText(sheet(), s1.f189387, "NY");
    const struct {
        std::int64_t refunds;
        double byState, counted;
    } cases[] = {{500, 200, 1300}, {500, 500, 1000}, {200, 500, 1000}};
    for (const auto& c : cases) {
        setCommon(Utils::kTaxableRefunds, c.refunds);
        setNumber(sheet(), s1.f189388, c.byState);
        // The exclusion comes before the subtractions, and reads their
        // total by state as the calculation before left it.
        calculate();
        calculate();
        EXPECT_EQ(amount(s1.f189311), c.counted) << c.refunds << " refunded, " << c.byState << " by state";
    }
}

TEST_F(Adjustments, JointReturnSplitsTheSharedLinesByTheSpousesEntry) {
    setFilingStatus(2);
    born("03/03/1952", "04/04/1955");
    // Interest of 1,000 on the interest statement, of which 300 is the
    // spouse's.
    setNumber(gaCopy(kStateForm2ID), kStateForm2FieldIds.f151, 1000);
    setNumber(sheet(), s1.f189304, 300);
    setCommon(Utils::kPensionsTaxpayer, 80000);
    setCommon(Utils::kPensionsSpouse, 20000);
    calculate();
    EXPECT_EQ(amount(s1.f189303), 700);
    EXPECT_EQ(amount(s1.f189304), 300);
    EXPECT_FALSE(sheet()->isProtected(s1.f189304));
    // Taxpayer: 80,700 within 65,000; spouse: 20,300 within 35,000.
    EXPECT_EQ(amount(s1.f189321), 80700);
    EXPECT_EQ(amount(s1.f189325), 65000);
    EXPECT_EQ(amount(s1.f189334), 65000);
    EXPECT_EQ(amount(s1.f189338), 20300);
    EXPECT_EQ(amount(s1.f189417), 85300);
    EXPECT_EQ(amount(s1.f189418), -85300);
}

TEST_F(Adjustments, SpouseLinesClosedUnlessJoint) {
    setFilingStatus(2);
    born("03/03/1950", "04/04/1950");
    setCommon(Utils::kPensionsSpouse, 20000);
    calculate();
    EXPECT_EQ(amount(s1.f189338), 20000);

    setFilingStatus(3);
    calculate();
    for (const FieldId& x : {s1.f189296, s1.f189304, s1.f189316, s1.f189320, s1.f189322, s1.f189326, s1.f189324}) {
        EXPECT_TRUE(closed(x)) << x.getNumber();
    }
    EXPECT_TRUE(blank(s1.f189257));
    EXPECT_EQ(amount(s1.f189338), 0);
    EXPECT_FALSE(blank(s1.f189338));
}

// ------------------------------------------------------------ additions and subtractions

TEST_F(Adjustments, NothingToAddOrSubtractLeavesTheTotalsBlank) {
    calculate();
    EXPECT_TRUE(blank(s1.f189294));
    EXPECT_TRUE(blank(s1.f189417));
    EXPECT_TRUE(blank(s1.f189418));
    EXPECT_TRUE(blank(s1.f189292));
    EXPECT_FALSE(ga->isDataEntered(kGAForm189215ID, 1));

    setNumber(gaCopy(kStateForm2ID), kStateForm2FieldIds.f163, 250);  // other states' municipal interest
    calculate();
    EXPECT_EQ(amount(s1.f189294), 250);
    EXPECT_EQ(amount(s1.f189418), 250);
    EXPECT_TRUE(ga->isDataEntered(kGAForm189215ID, 1));
}

// A fund's exempt-interest dividends, part of them from Georgia's own bonds:
// the dividend statement and form 189215 take the part from other states'
// bonds alike on every residency (a part-year return then takes the Georgia
// period's share of it on its own line).
TEST_F(Adjustments, GeorgiaBondDividendsAreAddedBackOnNoResidency) {
    const auto& f164 = kForm164FieldIds;
    const auto& st3 = kStateForm3FieldIds;
    const struct {
        const char* what;
        const FieldId& box;
        double exempt, georgia;  // fields 41 and 52 of the 1099-DIV
        double added;            // form 189215's addition
    } rows[] = {
        {"full-year", f69.f36, 600, 150, 450},
        {"part-year", f69.f38, 600, 150, 450},
        {"nonresident", f69.f37, 600, 150, 450},
        {"part-year, the Georgia part beyond the exempt dividends", f69.f38, 100, 150, 0},
        {"part-year, no Georgia part", f69.f38, 600, 0, 600},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // Each row draws its statement afresh.
        if (ga->formExists(kStateForm3ID, 1)) ga->deleteForm(kStateForm3ID, 1);
        DataMgmt::TaxFormPtr info = gaCopy(kGAForm69ID);
        for (const FieldId& box : {f69.f36, f69.f37, f69.f38, f69.f110, f69.f111, f69.f112}) {
            info->setNull(box);
        }
        setBox(info, row.box);
        DataMgmt::TaxFormPtr fund = fedCopy(kForm164ID);
        setText(fund, f164.f5, "TAX-FREE FUND");
        setNumber(fund, f164.f6, 18000);  // amounts in hundredths
        setNumber(fund, f164.f41, row.exempt * 100);
        setNumber(fund, f164.f52, row.georgia * 100);
        engine.calculateReturn(0);
        EXPECT_EQ(ga->getIR(kStateForm3ID, 1, st3.f160), std::min(row.exempt, row.georgia));
        EXPECT_EQ(ga->getIR(kStateForm3ID, 1, st3.f157), row.added);
        EXPECT_EQ(amount(s1.f189265), row.added);
        EXPECT_EQ(amount(s1.f189294), row.added);
    }
}

// Lump sums of the retirement-distribution statements, kept in hundredths;
// the spouse's counts on a joint return only.
TEST_F(Adjustments, LumpSumDistributionsInDollarsAndCents) {
    const auto& f84 = kForm84FieldIds;
    setNumber(fedCopy(kForm84ID, 1), f84.f8, 123456);
    setBox(fedCopy(kForm84ID, 1), f84.f67);
    setNumber(fedCopy(kForm84ID, 2), f84.f8, 50001);
    setBox(fedCopy(kForm84ID, 2), f84.f68);
    setBox(fedCopy(kForm84ID, 2), f84.f2);
    setNumber(fedCopy(kForm84ID, 3), f84.f8, 90000);  // not a lump sum
    calculate();
    EXPECT_DOUBLE_EQ(amount(s1.f189281), 1234.56);
    setFilingStatus(2);
    calculate();
    EXPECT_DOUBLE_EQ(amount(s1.f189281), 1734.57);
}

TEST_F(Adjustments, OtherAdditionsAreDescribed) {
    const struct {
        std::vector<FieldId> lines;
        const char* text;
    } cases[] = {
        {{s1.f189288}, "WAGES"},
        {{s1.f189284, s1.f189287, s1.f189288, s1.f199465, s1.f189290}, "NOL, DEPRECIATION, WAGES, DONATION, 529"},
        {{s1.f189291, s1.f189290}, "DONATION, 529"},
    };
    for (const auto& c : cases) {
        for (const FieldId& x : {s1.f189284, s1.f189287, s1.f189288, s1.f189289, s1.f189290, s1.f189291, s1.f199465}) {
            sheet()->setValue(x, FieldValue());
        }
        for (const FieldId& x : c.lines) {
            setNumber(sheet(), x, 100);
        }
        calculate();
        EXPECT_EQ(text(sheet(), s1.f189292), c.text);
        EXPECT_EQ(amount(s1.f189293), 100.0 * static_cast<double>(c.lines.size()));
    }
}

TEST_F(Adjustments, LargeForm28TotalIsMarkedAboveItsLimit) {
    const auto& f28 = kForm28FieldIds;
    setNumber(fedCopy(kForm28ID, 1), f28.f280, 1);
    setNumber(fedCopy(kForm28ID, 1), f28.f16, 100000);
    setNumber(fedCopy(kForm28ID, 2), f28.f280, 6);
    setNumber(fedCopy(kForm28ID, 3), f28.f280, 5);  // a key the line does not take
    setNumber(fedCopy(kForm28ID, 3), f28.f16, 50000);
    for (const auto& [second, indicator] : {std::pair{34000.0, false}, std::pair{34001.0, true}}) {
        setNumber(fedCopy(kForm28ID, 2), f28.f16, second);
        calculate();
        EXPECT_EQ(!blank(s1.f189235), indicator) << second;
    }
}

TEST_F(Adjustments, OtherSubtractionRows) {
    const FieldId sources[] = {s1.f189380, s1.f189383, s1.f189393, s1.f189398, s1.f207107};
    for (int k = 0; k < 3; ++k) {
        setNumber(sheet(), sources[k], 100 * (k + 1));
    }
    calculate();
    EXPECT_EQ(text(sheet(), s1.f189413), "FED EXEMPT");
    EXPECT_EQ(amount(s1.f189414), 300);
    EXPECT_TRUE(blank(s1.f189416));
    EXPECT_EQ(amount(s1.f189408), 600);

    // The fourth and fifth lines share the fourth row.
    setNumber(sheet(), sources[3], 40);
    setNumber(sheet(), sources[4], 5);
    calculate();
    EXPECT_EQ(amount(s1.f189416), 45);
    EXPECT_EQ(text(sheet(), s1.f189415), "COMBAT PAY, Income Vet Surv");
    EXPECT_EQ(amount(s1.f189408), 645);
    EXPECT_EQ(amount(s1.f189417), 645);
}

TEST_F(Adjustments, FourthRowTextStopsAtAWholeLineWithinTheField) {
    // After the first three rows, the fourth row's words reach 74 of the
    // field's 80 characters: "GA DIFF" does not fit, and the shorter "HDHP"
    // after it is not listed either, though both amounts count.
    for (const FieldId& x : {s1.f189380, s1.f189381, s1.f189382, s1.f189383, s1.f189384, s1.f189393, s1.f189394,
                             s1.f189395, s1.f189398, s1.f189401, s1.f189402}) {
        setNumber(sheet(), x, 10);
    }
    calculate();
    EXPECT_EQ(text(sheet(), s1.f189415), "DEPRECIATION, S CORP, FED EXEMPT, RETIRED TEACHER, FICA CREDIT, COMBAT PAY");
    EXPECT_EQ(amount(s1.f189416), 80);
}

TEST_F(Adjustments, StateListKeepsThePlacesOfTheCodes) {
    setNumber(sheet(), s1.f189390, 75);
    setText(sheet(), s1.f189389, "ny");
    calculate();
    EXPECT_EQ(text(sheet(), s1.f189409), "/NY");
    EXPECT_EQ(amount(s1.f189410), 75);
    setText(sheet(), s1.f189387, "sc");
    setText(sheet(), s1.f189391, "va");
    calculate();
    EXPECT_EQ(text(sheet(), s1.f189409), "SC/NY/VA");
}

TEST_F(Adjustments, HealthPlanShareOfThePremiumsNotDeducted) {
    setBox(fedCopy(kForm1ID), kForm1FieldIds.f133);
    const struct {
        double premiums, other, deducted, expenses;
        double subtraction;  // 189406 and, from the same amounts, 189407
    } cases[] = {
        {1000, 200, 300, 1200, 950},
        {1000, 200, 300, 0, 200},  // no medical expenses: nothing taken off, no division by 0
        {3, 0, 5, 6, 0.5},         // 3 less 3 x 5/6 is exactly half a dollar
    };
    for (const auto& c : cases) {
        setNumber(sheet(), s1.f189402, c.premiums);
        setNumber(sheet(), s1.f189403, c.other);
        setNumber(sheet(), s1.f189368, c.premiums);
        setNumber(sheet(), s1.f189369, c.other);
        setNumber(fedCopy(kForm2ID), kForm2FieldIds.f9, c.deducted);
        setNumber(fedCopy(kForm2ID), kForm2FieldIds.f7, c.expenses);
        calculate();
        EXPECT_EQ(amount(s1.f189406), c.subtraction) << c.expenses;
        EXPECT_EQ(amount(s1.f189407), c.subtraction) << c.expenses;
    }
}

// Of line 189358 at most 10,000 counts in the Georgia part of the
// subtractions; the lines before and after it count whole.
TEST_F(Adjustments, PartYearLine189358CountsUpTo10000) {
    setNumber(sheet(), s1.f189224, 100);
    setNumber(sheet(), s1.f189359, 1);
    const struct { double entered, counted; } rows[] = {{9999, 9999}, {10000, 10000}, {10001, 10000}};
    for (const auto& r : rows) {
        setNumber(sheet(), s1.f189358, r.entered);
        calculate();
        EXPECT_EQ(amount(s1.f189223), 101 + r.counted) << r.entered;
        EXPECT_EQ(amount(s1.f189358), r.entered) << "the entry stays as entered";
    }
}

// The Georgia part of the additions is the sum of its thirteen lines, each
// counted once.
TEST_F(Adjustments, PartYearAdditionsAddEveryGeorgiaPart) {
    const FieldId parts[] = {s1.f189270, s1.f189271, s1.f189272, s1.f189273, s1.f189274, s1.f189275, s1.f189276,
                             s1.f189277, s1.f189278, s1.f189279, s1.f189280, s1.f203640, s1.f203641};
    double expected = 0;
    for (std::size_t k = 0; k < std::size(parts); ++k) {
        const double amount = static_cast<double>(1 << k);
        setNumber(sheet(), parts[k], amount);
        expected += amount;
    }
    calculate();
    EXPECT_EQ(amount(s1.f189222), expected);
}

}  // namespace
}  // namespace gataxtest
