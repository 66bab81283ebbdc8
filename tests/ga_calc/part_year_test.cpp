// Georgia form 189217, the part-year and nonresident schedule, calculated on
// seeded returns.
#include <gtest/gtest.h>

#include <string>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& s3 = kGAForm189217FieldIds;
const auto& s1 = kGAForm189215FieldIds;
const auto& f69 = kGAForm69FieldIds;
const auto& st4 = kStateForm4FieldIds;

class PartYear : public GaTaxTest {
protected:
    PartYear() {
        setFilingStatus(1);
        setBox(gaCopy(kGAForm69ID), f69.f38);                       // part-year resident
        setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f326, 1);  // one filer
    }
    DataMgmt::TaxFormPtr sheet() { return gaCopy(kGAForm189217ID); }
    void calculate() { engine.calcPartYearForm(sheet(), 1, 1); }
    double amount(const FieldId& x) { return ga->getIR(kGAForm189217ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm189217ID, 1, x); }
    // Wages on the state wage worksheet: the total and the Georgia part.
    void wages(double total, double georgia) {
        setNumber(gaCopy(kStateForm4ID), st4.f32, total);
        setNumber(gaCopy(kStateForm4ID), st4.f33, georgia);
        setNumber(gaCopy(kStateForm4ID), st4.f73, total);
        setNumber(gaCopy(kStateForm4ID), st4.f74, georgia);
    }
    // The itemized path with the income-tax adjustment of federal form 2:
    // deducted state income tax t10 and withholding w.
    void itemizeIncomeTax(double t10, double withheld) {
        setCommon(Utils::kItemizes, 1);
        setBox(fedCopy(kForm2ID), kForm2FieldIds.f14405);
        setNumber(fedCopy(kForm2ID), kForm2FieldIds.f10, t10);
        setNumber(fedCopy(kForm2ID), kForm2FieldIds.f203981, 20000);
        gaReturn()->setStateTaxWithheld(withheld);
    }
};

TEST_F(PartYear, FullYearResidentHasAnEmptySchedule) {
    wages(40000, 10000);
    calculate();
    ASSERT_EQ(amount(s3.f189429), 10000);
    setBox(gaCopy(kGAForm69ID), f69.f110);
    calculate();
    for (const FieldId& x : {s3.f189427, s3.f189429, s3.f189451, s3.f189453, s3.f189474, s3.f189478}) {
        EXPECT_TRUE(blank(x)) << x.getNumber();
    }
    EXPECT_TRUE(ga->isDataEntered(kGAForm189217ID, 1));  // field 38 still says part-year
}

TEST_F(PartYear, GeorgiaRatioInTenThousandths) {
    const struct {
        double total, georgia, ratio;
    } cases[] = {{10000, 2500, 2500}, {10000, 12000, 10000}, {0, 2500, 10000}, {30000, 10000, 3333.3333333333}};
    for (const auto& c : cases) {
        wages(c.total, c.georgia);
        calculate();
        EXPECT_NEAR(amount(s3.f189453), c.ratio, 1e-6) << c.total << " " << c.georgia;
    }
    // At 2,500 of 10,000 a single filer takes a quarter of 4,600 + 2,700 off.
    wages(10000, 2500);
    calculate();
    EXPECT_EQ(amount(s3.f189472), 7300);
    EXPECT_EQ(amount(s3.f189473), 1825);
    EXPECT_EQ(amount(s3.f189474), 675);
}

TEST_F(PartYear, StandardDeductionByFilingStatus) {
    wages(10000, 10000);
    setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f71, 1300);
    for (const auto& [status, deduction] :
         {std::pair{1, 5900.0}, std::pair{2, 7300.0}, std::pair{3, 4300.0}, std::pair{4, 5900.0}}) {
        setFilingStatus(status);
        calculate();
        EXPECT_EQ(amount(s3.f189460), deduction) << status;
        EXPECT_TRUE(ga->formYes(kGAForm189217ID, 1, s3.f189459));
    }
}

TEST_F(PartYear, AgedAndBlindBoxesAddToTheDeduction) {
    setFilingStatus(2);
    for (const int column : {121, 122, 123, 124}) {
        setBox(fedCopy(kForm1ID), FieldId(column));
    }
    calculate();
    EXPECT_EQ(amount(s3.f189465), 4);
    EXPECT_EQ(amount(s3.f189466), 5200);
    for (const int column : {121, 122, 123, 124}) {
        fedCopy(kForm1ID)->setXNo(FieldId(column));
    }
    calculate();
    EXPECT_TRUE(blank(s3.f189465));
    EXPECT_TRUE(blank(s3.f189466));
}

TEST_F(PartYear, IncomeTaxAdjustmentTakesOtherStatesOfTheYear) {
    // Other states' tax on federal form 190 rows (date, amount, state): a
    // row coded "ga" is Georgia's; a row dated in 2019 is not of the year.
    const auto& f190 = kForm190FieldIds;
    auto row = [&](const FieldId& date, const FieldId& amount, const FieldId& state, const char* when, double tax,
                   const char* code) {
        setText(fedCopy(kForm190ID), date, when);
        setNumber(fedCopy(kForm190ID), amount, tax);
        setText(fedCopy(kForm190ID), state, code);
    };
    itemizeIncomeTax(1000, 1000);
    setCommon(Utils::kItemizedDeductions, 30000);
    row(f190.f10, f190.f11, f190.f12, "12/31/2018", 500, "NC");
    row(f190.f13, f190.f14, f190.f15, "04/15/2018", 700, "ga");
    row(f190.f16, f190.f17, f190.f18, "01/01/2019", 900, "SC");
    calculate();
    // (500 + 1,000 - 1,000) / 1,000 x 20,000.
    EXPECT_EQ(amount(s3.f189455), 10000);
    EXPECT_EQ(amount(s3.f189460), 20000);
    EXPECT_TRUE(ga->formYes(kGAForm189217ID, 1, s3.f189458));
}

TEST_F(PartYear, WithholdingWithinFiveDollarsOfTheDeductedTaxCountsAsAllOfIt) {
    // Deducted 1,000: withholding of 995 leaves nothing; 994.99 leaves 5.01.
    for (const auto& [withheld, adjustment] : {std::pair{995.0, 0.0}, std::pair{994.99, 100.2}}) {
        itemizeIncomeTax(1000, withheld);
        calculate();
        EXPECT_NEAR(amount(s3.f189455), adjustment, 1e-9) << withheld;
    }
    // Nothing deducted: no share, never a division by 0.
    itemizeIncomeTax(0, 0);
    setNumber(fedCopy(kForm190ID), kForm190FieldIds.f71, 400);
    calculate();
    EXPECT_EQ(amount(s3.f189455), 0);
}

TEST_F(PartYear, CouplesExclusionsComeOffTheGeorgiaAdjustmentsWhole) {
    setFilingStatus(2);
    wages(200000, 200000);
    auto schedule1 = gaCopy(kGAForm189215ID);
    setNumber(schedule1, s1.f189222, 1000);  // Georgia-period additions
    setNumber(schedule1, s1.f189223, 400);   // and subtractions
    setNumber(schedule1, s1.f189334, 65000);
    setNumber(schedule1, s1.f189338, 65000);
    setNumber(schedule1, s1.f189418, 600 - 130000);
    calculate();
    EXPECT_EQ(amount(s3.f189448), 600 - 130000);
    EXPECT_EQ(amount(s3.f189451), 200000 + 600 - 130000);
    EXPECT_EQ(amount(s3.f189453), 10000);

    // A Georgia-period loss takes no share of the exclusions.
    wages(200000, 0);
    setNumber(gaCopy(kStateForm4ID), st4.f74, -5000);
    calculate();
    EXPECT_EQ(amount(s3.f189448), 600);
}

}  // namespace
}  // namespace gataxtest
