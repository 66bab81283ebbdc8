// Georgia form 70 through whole-return calculations on seeded returns.
#include <gtest/gtest.h>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& f = kGAForm70FieldIds;
const auto& f69 = kGAForm69FieldIds;

class MainForm : public GaTaxTest {
protected:
    // A full-year resident with the given federal filing status and federal
    // adjusted gross income.
    void resident(int federalStatus, double agi) {
        setCommon(Utils::PCTypes::kFederalFilingStatus, federalStatus);
        setCommon(Utils::PCTypes::kFederalAgi, static_cast<std::int64_t>(agi));
        auto info = gaCopy(kGAForm69ID);
        setBox(info, f69.f36);
        if (federalStatus == 2) {
            setBox(info, f69.f96);
        }
    }
    void calculate() { engine.calculateReturn(0); }
    DataMgmt::TaxFormPtr main() { return gaCopy(kGAForm70ID); }
    double amount(const FieldId& x) { return ga->getIR(kGAForm70ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm70ID, 1, x); }
    bool marked(const FieldId& x) { return ga->formYes(kGAForm70ID, 1, x); }
};

TEST_F(MainForm, FilingStatusLetterFollowsTheFederalStatus) {
    const struct {
        int federal;
        const char* letter;
    } cases[] = {{0, "A"}, {1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "D"}, {9, "D"}};
    for (const auto& c : cases) {
        setCommon(Utils::PCTypes::kFederalFilingStatus, c.federal);
        engine.calcMainForm(main(), 1, 1);
        EXPECT_EQ(text(main(), f.f44), c.letter) << c.federal;
    }
    // A status outside 0 to 9 leaves the letter as it was.
    setCommon(Utils::PCTypes::kFederalFilingStatus, 12);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_EQ(text(main(), f.f44), "D");
}

TEST_F(MainForm, SeparateReturnClaimingTheSpouseTakesTwoExemptions) {
    resident(3, 30000);
    setBox(fedCopy(kForm92ID), kForm92FieldIds.f30);
    calculate();
    EXPECT_EQ(text(main(), f.f44), "C");
    EXPECT_EQ(amount(f.f326), 2);
    EXPECT_EQ(amount(f.f65), 3000);
    EXPECT_EQ(amount(f.f82), 7400);
    // Without the spouse claimed: one exemption of 3,700.
    fedCopy(kForm92ID)->setXNo(kForm92FieldIds.f30);
    calculate();
    EXPECT_EQ(amount(f.f326), 1);
    EXPECT_EQ(amount(f.f82), 3700);
}

TEST_F(MainForm, AgedAndBlindBoxesAddToTheStandardDeduction) {
    // Federal form 1 boxes 121 to 124: taxpayer 65 or over, blind; spouse
    // 65 or over, blind.
    resident(2, 50000);
    auto form1 = fedCopy(kForm1ID);
    setBox(form1, kForm1FieldIds.f121);
    setBox(form1, kForm1FieldIds.f123);
    calculate();
    EXPECT_TRUE(marked(f.f66));
    EXPECT_TRUE(marked(f.f68));
    EXPECT_EQ(amount(f.f70), 2);
    EXPECT_EQ(amount(f.f71), 2600);
    EXPECT_EQ(amount(f.f72), 8600);

    // Only a joint return has spouse boxes.
    resident(1, 50000);
    calculate();
    EXPECT_FALSE(marked(f.f68));
    EXPECT_EQ(amount(f.f70), 1);
    EXPECT_EQ(amount(f.f72), 5900);

    // None marked: the lines stay blank, not 0.
    form1->setXNo(kForm1FieldIds.f121);
    calculate();
    EXPECT_TRUE(blank(f.f70));
    EXPECT_TRUE(blank(f.f71));
    EXPECT_EQ(amount(f.f72), 4600);
}

// Filed on form 1040A or 1040EZ (form 104 box 181, 183), a filer is 65 or over by the item, which the host answers
// from the filed form's box; a mark of an earlier calculation does not stay. Each row: the box of form 104, the item,
// the boxes counted.
TEST_F(MainForm, AFilerAgedSixtyFiveIsCountedOnEveryFederalForm) {
    const int rows[][3] = {{181, 1, 1}, {181, 0, 0}, {183, 1, 1}, {183, 0, 0}};
    for (const auto& [filedOn, item, aged] : rows) {
        const FormId filed = filedOn == 181 ? kForm55ID : kForm87ID;
        fedCopy(kForm104ID)->setValue(FieldId(filedOn), FieldValue::box(true));
        setCommon(Utils::PCTypes::kFederalAgi, 19999, filed);
        setCommon(Utils::PCTypes::kTaxpayerAged65, item, filed);
        setBox(gaCopy(kGAForm69ID), f69.f36);
        calculate();
        EXPECT_EQ(amount(f.f72), 4600 + 1300 * aged) << filedOn << " " << item;
        EXPECT_EQ(amount(f.f91), aged) << "the low-income credit, " << filedOn << " " << item;
        fedCopy(kForm104ID)->setValue(FieldId(filedOn), FieldValue::box(false));
    }
}

TEST_F(MainForm, PartYearReturnTakesTaxableIncomeFromItsSchedule) {
    setCommon(Utils::PCTypes::kFederalFilingStatus, 1);
    setCommon(Utils::PCTypes::kFederalAgi, 15000);
    auto info = gaCopy(kGAForm69ID);
    setBox(info, f69.f38);
    setText(info, f69.f113, "07/01/2018");
    calculate();
    EXPECT_EQ(text(main(), f.f41), "2");
    EXPECT_EQ(text(main(), f.f42), "07-01-2018");
    EXPECT_EQ(text(main(), f.f43), "12-31-2018");
    EXPECT_TRUE(marked(f.f6));  // resident at the end of the year, low income
    EXPECT_TRUE(blank(f.f64));
    EXPECT_TRUE(blank(f.f82));
    EXPECT_TRUE(ga->formExists(kGAForm189217ID, 1));
}

// The period shows as dates of the tax year: one outside it as the end of
// the year it lies beyond, never a day the year lacks.
TEST_F(MainForm, ResidencyDatesOutsideTheYearShowTheYearsEnds) {
    setCommon(Utils::PCTypes::kFederalFilingStatus, 1);
    auto info = gaCopy(kGAForm69ID);
    setBox(info, f69.f38);
    const struct {
        const char* from;
        const char* to;
        const char* shownFrom;
        const char* shownTo;
    } rows[] = {
        {"02/29/2020", "03/01/2020", "12-31-2018", "12-31-2018"},
        {"07/01/2017", "02/28/2018", "01-01-2018", "02-28-2018"},
        {"12/31/2018", "01/01/2019", "12-31-2018", "12-31-2018"},
    };
    for (const auto& r : rows) {
        setText(info, f69.f113, r.from);
        setText(info, f69.f114, r.to);
        calculate();
        EXPECT_EQ(text(main(), f.f42), r.shownFrom) << r.from;
        EXPECT_EQ(text(main(), f.f43), r.shownTo) << r.to;
    }
}

TEST_F(MainForm, ResidencyDatesOnlyForAPartYearReturn) {
    resident(1, 30000);
    auto m = main();
    setText(m, f.f42, "01-01-2018");
    calculate();
    EXPECT_TRUE(blank(f.f42));
    EXPECT_TRUE(blank(f.f43));
}

TEST_F(MainForm, NonresidentResidencyCode) {
    setCommon(Utils::PCTypes::kFederalFilingStatus, 1);
    setBox(gaCopy(kGAForm69ID), f69.f37);
    calculate();
    EXPECT_EQ(text(main(), f.f41), "3");
    EXPECT_TRUE(blank(f.f97));
}

TEST_F(MainForm, LowIncomeCreditBands) {
    const struct {
        std::int64_t agi;
        double perPerson;
    } bands[] = {{3000, 26}, {5999, 26}, {6000, 20}, {7999, 20}, {8000, 14},
                 {9999, 14}, {10000, 8}, {14999, 8}, {15000, 5}, {19999, 5}};
    setCommon(Utils::PCTypes::kItemizes, 1);  // itemized deductions of 0, so that there is tax
    for (const auto& band : bands) {
        resident(1, static_cast<double>(band.agi));
        calculate();
        EXPECT_TRUE(marked(f.f6)) << band.agi;
        EXPECT_EQ(amount(f.f93), band.perPerson) << band.agi;
        EXPECT_EQ(amount(f.f92), 1) << band.agi;
        // The credit never exceeds the tax.
        EXPECT_EQ(amount(f.f97), std::min(band.perPerson, amount(f.f84))) << band.agi;
    }
}

TEST_F(MainForm, LowIncomeCreditCountsPeopleAndStopsAtTwentyThousand) {
    setCommon(Utils::PCTypes::kItemizes, 1);  // itemized deductions of 0, so that there is tax
    resident(2, 19999);
    setCommon(Utils::PCTypes::kLowIncomeCreditDependents, 1);
    // The aged items are added as the federal return gives them; the
    // spouse's only on a joint return.
    setCommon(Utils::PCTypes::kTaxpayerAged65, 2);
    setCommon(Utils::PCTypes::kSpouseAged65, 1);
    setCommon(Utils::PCTypes::kDependents, 3);
    calculate();
    // 2 filers + 1 dependent, less field 350 (empty, so 0).
    EXPECT_EQ(amount(f.f90), 3);
    EXPECT_EQ(amount(f.f91), 3);
    EXPECT_EQ(amount(f.f92), 6);
    EXPECT_EQ(amount(f.f93), 5);
    EXPECT_EQ(amount(f.f94), 30);

    resident(2, 20000);
    calculate();
    EXPECT_FALSE(marked(f.f6));
    for (const FieldId& x : {f.f90, f.f91, f.f92, f.f93, f.f94, f.f95, f.f96, f.f97}) {
        EXPECT_TRUE(blank(x)) << x.getNumber();
    }
}

TEST_F(MainForm, LowIncomeCreditIsCappedAtTheTax) {
    // 19,999 single: taxable 12,699, tax well above; with 3 people at 5 each
    // the credit is 15.
    resident(1, 19999);
    setCommon(Utils::PCTypes::kTaxpayerAged65, 2);
    calculate();
    EXPECT_EQ(amount(f.f92), 3);
    EXPECT_EQ(amount(f.f97), 15);
    EXPECT_EQ(amount(f.f86), amount(f.f84) - 15);

    // 5,999 single: taxable income 0 or below, no tax, so no credit is left.
    resident(1, 5999);
    calculate();
    EXPECT_EQ(amount(f.f84), 0);
    EXPECT_TRUE(blank(f.f97));
    EXPECT_TRUE(blank(f.f86));
}

TEST_F(MainForm, DependentOfAnotherFilerGetsNoLowIncomeCredit) {
    resident(1, 9000);
    setCommon(Utils::PCTypes::kClaimedAsDependent, 1);
    calculate();
    EXPECT_FALSE(marked(f.f6));
    EXPECT_TRUE(blank(f.f93));
}

TEST_F(MainForm, CreditsStopAtTheTax) {
    resident(1, 60000);  // tax 3,035
    calculate();
    const double tax = amount(f.f84);
    ASSERT_GT(tax, 1000);
    // Tax of 1,000 paid to another state on all the income, and an IND-CR
    // credit of 5,000 beyond the tax: the credit takes what is left. Form 74
    // takes the worksheet's credit on the second calculation.
    auto otherState = gaCopy(kGAForm73ID);
    setNumber(otherState, kGAForm73FieldIds.f7, 60000);
    setNumber(otherState, kGAForm73FieldIds.f16, 1000);
    setNumber(gaCopy(kGAForm190060ID), kGAForm190060FieldIds.f190225, 50);
    calculate();
    calculate();
    EXPECT_EQ(amount(f.f189482), 1000);
    EXPECT_EQ(amount(f.f189483), tax - 1000);
    EXPECT_EQ(amount(f.f189484), tax);
    EXPECT_TRUE(blank(f.f86));
    EXPECT_TRUE(marked(f.f195593));  // more credit than tax
}

// A credit below 0 would raise the tax: each credit used is at least 0, on
// its worksheet and on form 70, also where the user overrode a line.
// A credit below 0 (which no return file gives: the reader refuses it)
// stops the calculation at the first line of 0 or more that would hold it,
// naming the form, the field and the amount.
TEST_F(MainForm, NegativeCreditsStopTheCalculation) {
    resident(1, 60000);
    setNumber(gaCopy(kGAForm190056ID), kGAForm190056FieldIds.f190169, -1000000);
    try {
        calculate();
        ADD_FAILURE() << "a credit of -1,000,000 was taken";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("form GA74 copy 1 field 23520 (kGA74_F23520), as the calculation wrote it: "
                                      "amount \"-1000000\" is below 0 (the field takes 0 or more)"),
                  std::string::npos)
            << e.getMessage();
    }
}

TEST_F(MainForm, OverpaymentAppliedToNextYearAndRefunded) {
    resident(1, 52000);  // tax 2,495
    gaReturn()->setStateTaxWithheldNoLocal(3495);
    setNumber(main(), f.f101, 800);
    calculate();
    EXPECT_EQ(amount(f.f100), 1000);
    EXPECT_EQ(amount(f.f101), 800);
    EXPECT_EQ(amount(f.f107), 200);
    EXPECT_TRUE(blank(f.f106));

    // More applied than overpaid: field 101 is held to the overpayment.
    setNumber(main(), f.f101, 1500);
    calculate();
    EXPECT_EQ(amount(f.f101), 1000);
    EXPECT_EQ(amount(f.f107), 0);
    EXPECT_FALSE(blank(f.f107));
    EXPECT_TRUE(blank(f.f106));

    // Contributions beyond the overpayment turn it into an amount owed.
    setNumber(main(), f.f101, 900);
    setNumber(main(), f.f102, 150);
    calculate();
    EXPECT_EQ(amount(f.f106), 50);
    EXPECT_TRUE(blank(f.f107));
}

TEST_F(MainForm, BalanceDueAddsContributionsAndThePenalty) {
    resident(1, 52000);  // tax 2,495
    gaReturn()->setStateTaxWithheldNoLocal(2395);
    setNumber(main(), f.f102, 10);
    setNumber(main(), f.f101, 300);
    calculate();
    // The penalty as form 71 leaves it, read by the main form's last pass.
    auto penalty = gaCopy(kGAForm71ID);
    setBox(penalty, kGAForm71FieldIds.f7);
    setNumber(penalty, kGAForm71FieldIds.f87, 7);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_EQ(amount(f.f99), 100);
    EXPECT_TRUE(blank(f.f101));
    EXPECT_TRUE(main()->isProtected(f.f101));
    EXPECT_EQ(amount(f.f105), 7);
    EXPECT_TRUE(marked(f.f74353));
    EXPECT_EQ(amount(f.f106), 117);
}

TEST_F(MainForm, ThePenaltyComesOutOfARefundAndOtherStateTaxStopsAtTheTax) {
    resident(1, 52000);  // tax 2,495
    gaReturn()->setStateTaxWithheldNoLocal(3495);
    calculate();
    auto penalty = gaCopy(kGAForm71ID);
    setBox(penalty, kGAForm71FieldIds.f7);
    setNumber(penalty, kGAForm71FieldIds.f87, 7);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_EQ(amount(f.f100), 1000);
    EXPECT_EQ(amount(f.f107), 993);
    EXPECT_TRUE(blank(f.f106));

    // Tax paid to another state beyond the tax: the line takes the tax.
    setNumber(gaCopy(kGAForm73ID), kGAForm73FieldIds.f17, 5000);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_EQ(amount(f.f189482), 2495);
    EXPECT_TRUE(blank(f.f86));
}

TEST_F(MainForm, NeitherOwedNorOverpaidLeavesOnlyContributions) {
    resident(1, 52000);
    gaReturn()->setStateTaxWithheldNoLocal(2495);
    calculate();
    EXPECT_TRUE(blank(f.f99));
    EXPECT_TRUE(blank(f.f100));
    EXPECT_TRUE(blank(f.f106));
    EXPECT_TRUE(blank(f.f107));
    setNumber(main(), f.f103, 25);
    calculate();
    EXPECT_EQ(amount(f.f106), 25);
}

TEST_F(MainForm, DependentRowsAndTheWorksheetFromFiveOn) {
    resident(2, 90000);
    const char* names[] = {"ann", "bob", "cy", "di", "ed", "flo"};
    for (std::uint16_t c = 1; c <= 6; ++c) {
        auto dep = fedCopy(kForm113ID, c);
        setText(dep, kForm113FieldIds.f1103, names[c - 1]);
        setText(dep, kForm113FieldIds.f1105, "lee");
        setText(dep, kForm113FieldIds.f1108, "child");
        setBox(dep, kForm113FieldIds.f1136, c != 2);  // the second is not listed
    }
    setCommon(Utils::PCTypes::kDependents, 4);
    calculate();
    auto m = main();
    EXPECT_EQ(text(m, f.f45), "ANN");
    EXPECT_EQ(text(m, f.f46), "LEE");
    EXPECT_EQ(text(m, f.f48), "CHILD");
    EXPECT_EQ(text(m, f.f49), "CY");
    EXPECT_EQ(text(m, f.f53), "DI");
    EXPECT_EQ(text(m, f.f57), "ED");  // the fourth row; flo has no place
    EXPECT_EQ(text(m, f.f60), "CHILD");
    EXPECT_TRUE(ga->formExists(kGAForm76ID, 1));

    setCommon(Utils::PCTypes::kDependents, 5);
    calculate();
    EXPECT_EQ(text(m, f.f45), "WORKSHEET");
    EXPECT_EQ(text(m, f.f49), "ATTACHED");
    EXPECT_TRUE(m->isNull(f.f46));
    EXPECT_TRUE(m->isNull(f.f53));

    // Fewer dependents than before: the rows left over are emptied.
    setCommon(Utils::PCTypes::kDependents, 1);
    for (std::uint16_t c = 3; c <= 6; ++c) {
        fedCopy(kForm113ID, c)->setXNo(kForm113FieldIds.f1136);
    }
    calculate();
    EXPECT_EQ(text(m, f.f45), "ANN");
    EXPECT_TRUE(m->isNull(f.f49));
    EXPECT_TRUE(m->isNull(f.f60));
}

TEST_F(MainForm, ItemizedDeductionsLessTheIncomeTaxAdjustment) {
    resident(1, 100000);
    setCommon(Utils::PCTypes::kItemizes, 1);
    setCommon(Utils::PCTypes::kItemizedDeductions, 20000);
    auto sa = fedCopy(kForm2ID);
    setBox(sa, kForm2FieldIds.f14405);
    // No state income tax deducted, yet 800 of estimated tax paid and a
    // federal deduction above its limit: the share of nothing deducted is
    // 0, never infinity.
    setNumber(sa, kForm2FieldIds.f10, 0);
    setNumber(sa, kForm2FieldIds.f203981, 2000);
    auto payments = fedCopy(kForm190ID);
    setNumber(payments, kForm190FieldIds.f71, 800);
    calculate();
    EXPECT_EQ(amount(f.f73), 20000);
    EXPECT_EQ(amount(f.f74), 0);
    EXPECT_FALSE(blank(f.f74));
    EXPECT_EQ(amount(f.f79), 20000);
    EXPECT_TRUE(blank(f.f65));
    EXPECT_EQ(amount(f.f81), 80000);
    payments->setNull(kForm190FieldIds.f71);

    // 4,000 deducted, of which 1,000 is Georgia withholding; 2,000 of the
    // federal deduction is above its limit: three quarters of it is added
    // back.
    setNumber(sa, kForm2FieldIds.f10, 4000);
    gaReturn()->setStateTaxWithheld(1000);
    calculate();
    EXPECT_EQ(amount(f.f74), 1500);
    EXPECT_EQ(amount(f.f78), 1500);
    EXPECT_EQ(amount(f.f79), 18500);

    // Withholding within $5 of the deduction counts as all of it.
    gaReturn()->setStateTaxWithheld(3995);
    calculate();
    EXPECT_EQ(amount(f.f74), 0);
    gaReturn()->setStateTaxWithheld(3994);
    calculate();
    EXPECT_EQ(amount(f.f74), 3);  // 6 / 4,000 x 2,000

    // Without the federal mark, no adjustment at all.
    sa->setXNo(kForm2FieldIds.f14405);
    calculate();
    EXPECT_TRUE(blank(f.f74));
    EXPECT_EQ(amount(f.f79), 20000);
}

TEST_F(MainForm, OtherStatesTaxIsThatPaidWithinTheYear) {
    // 400 paid to another state on the date of the row; 4,000 deducted,
    // all of it Georgia withholding, 2,000 of it beyond the federal limit:
    // a payment of the year adds 400 / 4,000 x 2,000 = 200.
    resident(1, 100000);
    setCommon(Utils::PCTypes::kItemizes, 1);
    auto sa = fedCopy(kForm2ID);
    setBox(sa, kForm2FieldIds.f14405);
    setNumber(sa, kForm2FieldIds.f10, 4000);
    setNumber(sa, kForm2FieldIds.f203981, 2000);
    gaReturn()->setStateTaxWithheld(4000);
    auto payments = fedCopy(kForm190ID);
    setNumber(payments, kForm190FieldIds.f11, 400);
    setText(payments, kForm190FieldIds.f12, "NC");
    const struct {
        const char* date;
        double added;
    } rows[] = {{"12/31/2017", 0}, {"01/01/2018", 200}, {"01/02/2018", 200}, {"12/31/2018", 200}, {"01/01/2019", 0}};
    for (const auto& row : rows) {
        setText(payments, kForm190FieldIds.f10, row.date);
        calculate();
        EXPECT_EQ(amount(f.f74), row.added) << row.date;
    }
    // A row that names no state is Georgia's, as the estimated payments
    // count it, and no other state's.
    for (const char* state : {"GA", ""}) {
        setText(payments, kForm190FieldIds.f10, "06/15/2018");
        setText(payments, kForm190FieldIds.f12, state);
        calculate();
        EXPECT_EQ(amount(f.f74), 0) << '"' << state << '"';
    }
}

TEST_F(MainForm, ReviewMarkAndTheMarksOfNegativeAmounts) {
    resident(1, -5000);
    calculate();
    EXPECT_TRUE(blank(f.f33441)) << "nothing calls for a review";
    for (const FieldId& x : {f.f44949, f.f44950, f.f44951}) {
        EXPECT_TRUE(marked(x)) << x.getNumber();
    }
    EXPECT_TRUE(blank(f.f44948));

    setNumber(fedCopy(kForm75ID), kForm75FieldIds.f66, -1);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_TRUE(marked(f.f33441)) << "federal form 75 line 66";
    fedCopy(kForm75ID)->setNull(kForm75FieldIds.f66);

    // A part-year return with a part-year adjustment.
    setNumber(gaCopy(kGAForm189215ID), kGAForm189215FieldIds.f189266, 100);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_TRUE(blank(f.f33441)) << "the adjustment alone";
    setBox(gaCopy(kGAForm69ID), f69.f111);
    engine.calcMainForm(main(), 1, 1);
    EXPECT_TRUE(marked(f.f33441));
}

// Each federal entry that calls for a closer look marks both form 70 and the
// additions and subtractions (form 189215); the amount at the limit does
// not.
TEST_F(MainForm, FederalEntriesMarkBothFormsForReview) {
    const struct {
        FormId form;
        FieldId field;
        double pastLimit;
    } rows[] = {
        {kForm104ID, kForm104FieldIds.f102, 1},  // any entry
        {kForm8ID, kForm8FieldIds.f69, -1},      // losses
        {kForm8ID, kForm8FieldIds.f142, -1},    {kForm57ID, kForm57FieldIds.f100, -1},
        {kForm44ID, kForm44FieldIds.f19, 1},  // amounts
        {kForm103ID, kForm103FieldIds.f51, 1},  {kForm103ID, kForm103FieldIds.f57, 1},
    };
    resident(1, 40000);
    auto schedule1Marked = [&] { return ga->formYes(kGAForm189215ID, 1, kGAForm189215FieldIds.f189232); };
    for (const auto& row : rows) {
        // A box (form 104's) is an entry when marked.
        const bool box = fedCopy(row.form)->getTaxFormDescriptor()->getFieldDesc(row.field)->isBoolean();
        if (!box) setNumber(fedCopy(row.form), row.field, 0);
        calculate();
        EXPECT_FALSE(marked(f.f33441)) << row.form.getNumber() << " " << row.field.getNumber();
        EXPECT_FALSE(schedule1Marked()) << row.form.getNumber() << " " << row.field.getNumber();
        if (box) {
            setBox(fedCopy(row.form), row.field);
        } else {
            setNumber(fedCopy(row.form), row.field, row.pastLimit);
        }
        calculate();
        EXPECT_TRUE(marked(f.f33441)) << row.form.getNumber() << " " << row.field.getNumber();
        EXPECT_TRUE(schedule1Marked()) << row.form.getNumber() << " " << row.field.getNumber();
        fedCopy(row.form)->setNull(row.field);
    }
}

TEST_F(MainForm, DeceasedTaxpayerAndSpouse) {
    resident(2, 50000);
    // The names reach form 69 from the federal return.
    auto form1 = fedCopy(kForm1ID);
    setText(form1, kForm1FieldIds.f1, "Pat");
    setText(form1, kForm1FieldIds.f2, "Lee");
    setText(form1, kForm1FieldIds.f4, "Sam");
    setText(form1, kForm1FieldIds.f5, "Lee");
    setText(fedCopy(kForm92ID), kForm92FieldIds.f558, "03/02/2018");
    calculate();
    auto m = main();
    EXPECT_EQ(text(m, f.f17), "DECEASED");
    EXPECT_EQ(text(m, f.f18), "03/02/2018");
    EXPECT_EQ(text(m, f.f19), text(m, f.f29));
    EXPECT_TRUE(marked(f.f209));
    EXPECT_FALSE(marked(f.f333));
    EXPECT_EQ(text(m, f.f29), "Sam");

    // Both died: the taxpayer's date and name stand on the form.
    setText(fedCopy(kForm92ID), kForm92FieldIds.f557, "01/05/2018");
    calculate();
    EXPECT_EQ(text(m, f.f18), "01/05/2018");
    EXPECT_EQ(text(m, f.f19), text(m, f.f24));
    EXPECT_EQ(text(m, f.f20), text(m, f.f27));

    // Neither: the block is empty.
    fedCopy(kForm92ID)->setNull(kForm92FieldIds.f557);
    fedCopy(kForm92ID)->setNull(kForm92FieldIds.f558);
    calculate();
    for (const FieldId& x : {f.f17, f.f18, f.f19, f.f20}) {
        EXPECT_TRUE(blank(x)) << x.getNumber();
    }
}

// A credit line that the user overrode below 0 takes nothing off the tax:
// the other-state credit (form 73 line 17) and the credit summary (form
// 189216 line 189825), each overridden to -5,000.
TEST_F(MainForm, CreditsOverriddenBelowZeroTakeNothingOffTheTax) {
    resident(1, 60000);
    const struct {
        FormId form;
        FieldId source;
        FieldId credit;
    } rows[] = {
        {kGAForm73ID, kGAForm73FieldIds.f17, f.f189482},
        {kGAForm189216ID, kGAForm189216FieldIds.f189825, f.f85},
    };
    for (const auto& r : rows) {
        auto source = gaCopy(r.form);
        setNumber(source, r.source, -5000);
        source->setOverridden(r.source, true);
        calculate();
        ASSERT_EQ(ga->getIR(r.form, 1, r.source), -5000) << r.source.getNumber();
        ASSERT_GT(amount(f.f84), 0);
        EXPECT_EQ(amount(r.credit), 0) << r.source.getNumber();
        EXPECT_EQ(amount(f.f189484), 0) << r.source.getNumber();
        EXPECT_EQ(amount(f.f86), amount(f.f84)) << r.source.getNumber();
        source->setOverridden(r.source, false);
        source->setNull(r.source);
    }
}

}  // namespace
}  // namespace gataxtest
