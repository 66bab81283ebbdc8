// The education expense, rural hospital, conservation and business credit
// forms, one copy calculated at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gatax_fixture.h"
#include "module/ga_calc/TaxYearAmounts.h"

namespace gataxtest {
namespace {

const auto& ed = kGAForm187981FieldIds;
const auto& rh = kGAForm203638FieldIds;
const auto& co = kGAForm203639FieldIds;
const auto& bu = kGAForm203811FieldIds;

class CreditForms : public GaTaxTest {
protected:
    DataMgmt::TaxFormPtr education(std::uint16_t copy = 1) {
        auto sheet = ga->getFormUVPtr(kGAForm187981ID, copy, true);
        setBox(sheet, ed.f188373);
        setNumber(sheet, ed.f188375, 3000);
        setNumber(sheet, ed.f188376, 2600);
        return sheet;
    }
};

TEST_F(CreditForms, EducationIndividualPartIsLimitedByFilingStatus) {
    const struct {
        int status;
        FieldId box;
        double credit;
    } cases[] = {{1, ed.f188367, 1000}, {4, ed.f188367, 1000}, {2, ed.f188368, 2500}, {3, ed.f188369, 1250}};
    for (const auto& c : cases) {
        setFilingStatus(c.status);
        auto sheet = education();
        engine.calcEducationExpenseCredit(sheet, 1, 1);
        EXPECT_TRUE(sheet->xMarked(c.box)) << c.status;
        EXPECT_TRUE(sheet->xMarked(ed.f188372)) << c.status;  // the federal return does not answer yes
        EXPECT_EQ(sheet->getIR(ed.f188377), c.credit) << c.status;
        EXPECT_EQ(sheet->getIR(ed.f203934), c.credit) << c.status;
    }
}

TEST_F(CreditForms, EducationDonorPartTakesSixPercent) {
    setFilingStatus(1);
    auto sheet = education();
    setNumber(sheet, ed.f203934, 42);
    setBox(sheet, ed.f188371);
    setNumber(sheet, ed.f188378, 900);
    setNumber(sheet, ed.f188379, 800);
    setNumber(sheet, ed.f188380, 10000);
    engine.calcEducationExpenseCredit(sheet, 1, 1);
    EXPECT_FALSE(sheet->xMarked(ed.f188367));
    EXPECT_TRUE(sheet->isNull(ed.f188375));
    EXPECT_TRUE(sheet->isProtected(ed.f188375));
    EXPECT_EQ(sheet->getIR(ed.f188381), 600);
    EXPECT_EQ(sheet->getIR(ed.f188382), 600);
    // The summary is filled on this path too: the 6 % part is no credit of
    // the year.
    EXPECT_EQ(sheet->getIR(ed.f203934), 0);
    EXPECT_EQ(text(sheet, ed.f203928), "125");
    EXPECT_EQ(sheet->getIR(ed.f203931), GACalculationMgmt::TaxYear::kExpenseCreditLimitLine);
    EXPECT_TRUE(sheet->isDataEntered());
}

TEST_F(CreditForms, EducationWithoutTheSecondRequiredBoxHasNoCredit) {
    setFilingStatus(1);
    auto sheet = education();
    sheet->setXNo(ed.f188373);
    engine.calcEducationExpenseCredit(sheet, 1, 1);
    EXPECT_TRUE(sheet->isNull(ed.f188377));
    // The summary takes the emptied credit: nothing remains, nothing marks
    // the copy.
    EXPECT_EQ(sheet->getIR(ed.f203934), 0);
    EXPECT_EQ(sheet->getIR(ed.f203940), 0);
    EXPECT_FALSE(sheet->isDataEntered());
}

// The credit used this year is at most the total available, on both forms
// of the individual part: a joint return's education credit of 2,500 (its
// limit) and a rural hospital credit of 2,800 (the smaller amount).
TEST_F(CreditForms, CreditUsedIsHeldToTheTotalAvailable) {
    const struct {
        FormId form;
        double used;
        double heldUsed;
        double remaining;
    } rows[] = {
        {kGAForm187981ID, 2499, 2499, 1}, {kGAForm187981ID, 2500, 2500, 0}, {kGAForm187981ID, 4000, 2500, 0},
        {kGAForm203638ID, 2799, 2799, 1}, {kGAForm203638ID, 2800, 2800, 0}, {kGAForm203638ID, 4000, 2800, 0},
    };
    setFilingStatus(2);
    std::uint16_t copy = 1;
    for (const auto& r : rows) {
        const bool isEducation = r.form == kGAForm187981ID;
        auto sheet = isEducation ? education(copy) : ga->getFormUVPtr(kGAForm203638ID, copy, true);
        const FieldId used = isEducation ? ed.f203939 : rh.f203952;
        if (!isEducation) {
            setBox(sheet, rh.f203655);
            setNumber(sheet, rh.f203657, 3000);
            setNumber(sheet, rh.f203659, 2800);
        }
        setNumber(sheet, used, r.used);
        engine.calcGroupedForm(r.form, sheet, copy, 1);
        EXPECT_EQ(sheet->getIR(used), r.heldUsed) << r.form.getNumber() << " " << r.used;
        EXPECT_EQ(sheet->getIR(isEducation ? ed.f203940 : rh.f203953), r.remaining)
            << r.form.getNumber() << " " << r.used;
        ++copy;
    }
}

TEST_F(CreditForms, RuralHospitalHasNoLimitAndKeepsTheSixPercentResult) {
    setFilingStatus(2);
    auto sheet = gaCopy(kGAForm203638ID);
    setBox(sheet, rh.f203655);
    setNumber(sheet, rh.f203657, 3000);
    setNumber(sheet, rh.f203659, 2800);
    engine.calcRuralHospitalCredit(sheet, 1, 1);
    EXPECT_TRUE(sheet->xMarked(rh.f203651));
    EXPECT_EQ(sheet->getIR(rh.f203660), 2800);
    EXPECT_EQ(sheet->getIR(rh.f203947), 2800);
    EXPECT_EQ(text(sheet, rh.f203941), "136");
    EXPECT_TRUE(sheet->isDataEntered());

    // Without both required boxes: no individual or 75 % credit; the 6 %
    // result stays as it is.
    sheet->setXNo(rh.f203655);
    setBox(sheet, rh.f205382);
    setNumber(sheet, rh.f205383, 900);
    setNumber(sheet, rh.f205384, 800);
    setNumber(sheet, rh.f205385, 10000);
    engine.calcRuralHospitalCredit(sheet, 1, 1);
    EXPECT_FALSE(sheet->xMarked(rh.f203651));
    EXPECT_TRUE(sheet->isNull(rh.f203660));
    EXPECT_TRUE(sheet->isNull(rh.f203666));
    EXPECT_EQ(sheet->getIR(rh.f205387), 600);
}

// The credit used is held to the smallest of the total available (the two
// amounts), the entity type's limit and the tax, under either limit and with
// the entity block closed.
TEST_F(CreditForms, ConservationCreditUsedIsHeldToTotalLimitAndTax) {
    const struct {
        const char* type;
        bool blockOpen;
        FieldId box;
        double amount;  // each of the two
        double tax;
        double used;
    } cases[] = {{"Trust or Estate", true, co.f203674, 300000, 900000, 250000},
                 {"partnership or llc", true, co.f203673, 300000, 900000, 250000},
                 {"Partnership or LLC", true, co.f203671, 300000, 900000, 500000},
                 {"S Corporation", true, co.f203670, 300000, 900000, 500000},
                 {"", true, co.f203673, 300000, 100000, 100000},
                 {"S Corporation", true, co.f203670, 750, 900000, 1500},
                 {"Trust or Estate", true, co.f203674, 750, 900000, 1500},
                 {"S Corporation", false, co.f203673, 750, 900000, 1500},
                 {"Trust or Estate", false, co.f203673, 750, 0, 0}};
    std::uint16_t copy = 1;
    for (const auto& c : cases) {
        // Each copy reads its own entity type.
        setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f84, c.tax);
        auto sheet = ga->getFormUVPtr(kGAForm203639ID, copy, true);
        setBox(sheet, co.f203792, c.blockOpen);
        setText(sheet, co.f203793, c.type);
        setNumber(sheet, co.f203683, c.amount);
        setNumber(sheet, co.f203684, c.amount);
        setNumber(sheet, co.f203926, 900000);
        engine.calcConservationCredit(sheet, copy, 1);
        EXPECT_EQ(sheet->isProtected(co.f203793), !c.blockOpen) << c.type;
        EXPECT_TRUE(sheet->xMarked(c.box)) << c.type;
        EXPECT_EQ(sheet->getIR(co.f203687), std::max(0.0, 2 * c.amount - c.tax)) << c.type;
        EXPECT_EQ(sheet->getIR(co.f203924), 2 * c.amount) << c.type;
        EXPECT_EQ(sheet->getIR(co.f203926), c.used) << c.type << " " << c.amount;
        EXPECT_EQ(sheet->getIR(co.f203927), 2 * c.amount - c.used) << c.type << " " << c.amount;
        EXPECT_TRUE(sheet->isDataEntered());
        ++copy;
    }
}

TEST_F(CreditForms, BusinessCreditCodeFollowsTheName) {
    auto sheet = gaCopy(kGAForm203811ID);
    const struct {
        const char* name;
        const char* code;
    } cases[] = {{"Film Tax Credit", "122"},
                 {"FILM TAX CREDIT", "122"},
                 {"Port Activity Job Tax Credit", "114J"},
                 {"Port Activity Investment Tax Credit", "114M"},
                 {"No Such Credit", "114M"},  // an unknown name keeps the code
                 {"", ""}};
    for (const auto& c : cases) {
        setText(sheet, bu.f203840, c.name);
        engine.calcBusinessCredits(sheet, 1, 1);
        EXPECT_EQ(text(sheet, bu.f203841), c.code) << c.name;
    }
    EXPECT_TRUE(sheet->isNull(bu.f203841));
}

TEST_F(CreditForms, BusinessRowsAndTheSplitOfTheTotal) {
    auto sheet = gaCopy(kGAForm203811ID);
    setNumber(sheet, bu.f203848, 12000);
    setNumber(sheet, bu.f203842, 3000);
    setNumber(sheet, bu.f203850, 25000);
    setNumber(sheet, bu.f203853, 4000);
    // Without box 203843 rows 2 to 6 are emptied and locked.
    setNumber(sheet, bu.f203860, 20000);
    setNumber(sheet, bu.f203861, 3000);
    engine.calcBusinessCredits(sheet, 1, 1);
    EXPECT_TRUE(sheet->isNull(bu.f203853));
    EXPECT_TRUE(sheet->isProtected(bu.f203850));
    EXPECT_EQ(sheet->getIR(bu.f203859), 15000);
    EXPECT_EQ(sheet->getIR(bu.f203860), 15000);
    EXPECT_EQ(sheet->getIR(bu.f203861), 0);
    EXPECT_EQ(sheet->getIR(bu.f203862), 0);
    EXPECT_FALSE(sheet->isDataEntered());  // the first part alone marks nothing

    setBox(sheet, bu.f203843);
    setNumber(sheet, bu.f203850, 25000);
    setNumber(sheet, bu.f203853, 5000);
    setNumber(sheet, bu.f203860, 5000);
    sheet->setNull(bu.f203861);
    engine.calcBusinessCredits(sheet, 1, 1);
    EXPECT_EQ(sheet->getIR(bu.f203850), 10000);
    EXPECT_FALSE(sheet->isProtected(bu.f203853));
    EXPECT_EQ(sheet->getIR(bu.f203859), 20000);
    EXPECT_EQ(sheet->getIR(bu.f203861), 0);
    EXPECT_EQ(sheet->getIR(bu.f203862), 15000);
    EXPECT_TRUE(sheet->isDataEntered());
    EXPECT_TRUE(sheet->calculatedFlag());
}

// The amounts used of every credit form are credits used: an entry below 0
// becomes 0 and adds nothing to what remains.
TEST_F(CreditForms, AmountsUsedAreNeverBelowZero) {
    const struct {
        FormId form;
        FieldId first, second, remaining;
    } rows[] = {
        {kGAForm187981ID, ed.f203938, ed.f203939, ed.f203940},
        {kGAForm203638ID, rh.f203951, rh.f203952, rh.f203953},
        {kGAForm203639ID, co.f203925, co.f203926, co.f203927},
        {kGAForm203811ID, bu.f203860, bu.f203861, bu.f203862},
    };
    for (const auto& r : rows) {
        auto sheet = r.form == kGAForm187981ID ? education() : gaCopy(r.form);
        setNumber(sheet, r.first, -5000);
        setNumber(sheet, r.second, -5000);
        engine.calcGroupedForm(r.form, sheet, 1, 1);
        engine.calcBusinessCreditForm(r.form, sheet, 1, 1);
        EXPECT_EQ(sheet->getIR(r.first), 0) << r.form.getNumber();
        EXPECT_EQ(sheet->getIR(r.second), 0) << r.form.getNumber();
        EXPECT_GE(sheet->getIR(r.remaining), 0) << r.form.getNumber();
        EXPECT_LT(sheet->getIR(r.remaining), 5000) << r.form.getNumber();
    }
}

}  // namespace
}  // namespace gataxtest
