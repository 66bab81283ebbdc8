// Transfers from the federal return into the information form (Georgia form
// 69): heading rows, federal form filed, owner information, residency,
// filing options, heading choice block, driver licence block and the state
// rows of federal form 190.
#include <gtest/gtest.h>

#include "module/catalogues/Form104FieldIds.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form190FieldIds.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "state_calc_fixture.h"

namespace statecalctest {
namespace {

const auto& f69 = kGAForm69FieldIds;
const auto& f92 = kForm92FieldIds;
const FieldId none = Primitives::kNullFieldID;

class TransfersTest : public StateCalcTest {
protected:
    TransfersTest() : info(stateCopy(kGAForm69ID)), fed92(federalCopy(kForm92ID)) {}

    void transferHeading(const FormId& federalForm = kForm1ID) {
        engine.transferHeadingRows(info, federalForm, kStateForm15ID, kStateForm14ID,
                                   {f69.f21, f69.f22, f69.f23, f69.f24, f69.f25, f69.f26, f69.f27, f69.f28, f69.f29,
                                    f69.f30, f69.f31, f69.f32, f69.f33, f69.f34, f69.f35},
                                   none, f69.f46, f69.f47, f69.f48);
    }
    void filingOptions() {
        engine.transferFilingOptions(info, f69.f77, f69.f12, f69.f78, none, f69.f79, f69.f80, f69.f81, f69.f82, none,
                                     none, none, none);
    }
    void setFed92Text(const FieldId& field, const std::string& t) { fed92->setValue(field, FieldValue::text(t)); }
    void setFed92Box(const FieldId& field, bool yes) { fed92->setValue(field, FieldValue::box(yes)); }

    DataMgmt::TaxFormPtr info;
    DataMgmt::TaxFormPtr fed92;
};

// ------------------------------------------------------------ heading rows

TEST_F(TransfersTest, HeadingFromFederalForm1) {
    auto f1 = federalCopy(kForm1ID);
    setText(f1, 1, "John");
    setText(f1, 2, "Smith");
    setText(f1, 11, "123456789");
    setText(f1, 4, "Mary");
    setText(f1, 5, "Smith");
    setText(f1, 7, "12 Peachtree St");
    setText(f1, 8, "Atlanta");
    setText(f1, 9, "GA");
    setText(f1, 10, "30301");
    setText(info, 22, "stale middle name");
    st().setEnabledType(3);

    transferHeading();

    EXPECT_TRUE(info->xMarked(f69.f46));
    EXPECT_FALSE(info->xMarked(f69.f47));
    EXPECT_FALSE(info->xMarked(f69.f48));
    EXPECT_EQ(text(info, 21), "John");
    EXPECT_TRUE(info->isNull(f69.f22));  // an empty federal field empties the row
    EXPECT_EQ(text(info, 25), "123456789");
    EXPECT_EQ(text(info, 31), "12 Peachtree St");
    EXPECT_EQ(text(info, 35), "30301");
    // Column 4 now names the information form's fields.
    EXPECT_EQ(kFieldTripleTable[0 * 4 + 3], f69.f21);
    EXPECT_EQ(kFieldTripleTable[14 * 4 + 3], f69.f35);
    EXPECT_TRUE(kFieldTripleTable[15 * 4 + 3].isNullID());

    // Owner information on state form 15, both filers, marked and calculated.
    auto owner = state->getForm(kStateForm15ID, 1);
    ASSERT_FALSE(owner.isNull());
    EXPECT_EQ(text(owner, 1), "John");
    EXPECT_EQ(text(owner, 5), "123456789");
    EXPECT_EQ(text(owner, 6), "Mary");
    EXPECT_TRUE(state->isDataEntered(kStateForm15ID, 1));
    EXPECT_TRUE(owner->calculatedFlag());
    // The enabled type on state form 14.
    EXPECT_EQ(state->getIN(kStateForm14ID, 1, kStateForm14FieldIds.f23), 3);
}

TEST_F(TransfersTest, HeadingFromFederalForm55) {
    federalCopy(kForm104ID)->setValue(kForm104FieldIds.f181, FieldValue::box(true));
    auto f55 = federalCopy(kForm55ID);
    setText(f55, 1, "Ann");
    setText(f55, 178, "Q");
    setText(f55, 123, "4B");

    transferHeading();

    EXPECT_TRUE(info->xMarked(f69.f47));
    EXPECT_FALSE(info->xMarked(f69.f46));
    EXPECT_EQ(text(info, 21), "Ann");
    EXPECT_EQ(text(info, 22), "Q");
    EXPECT_EQ(text(info, 32), "4B");
}

TEST_F(TransfersTest, AFederalFormBoxTheUserFixedStands) {
    // The form-55 box is overridden: unmarking it is refused, so the caller's
    // federal form stands and its column is used.
    setBox(info, 47, true);
    info->setOverridden(f69.f47, true);
    setText(federalCopy(kForm55ID), 1, "Ann");
    setText(federalCopy(kForm1ID), 1, "John");

    transferHeading(kForm55ID);

    EXPECT_TRUE(info->xMarked(f69.f47));
    EXPECT_FALSE(info->xMarked(f69.f46));
    EXPECT_EQ(text(info, 21), "Ann");
}

// ------------------------------------------------------------ residency

TEST_F(TransfersTest, ResidencyFromTheFederalStateRows) {
    setFed92Text(f92.f675, "ga");
    setFed92Text(f92.f43844, "full-year resident");
    setFed92Text(f92.f43845, "Nonresident");
    EXPECT_EQ(engine.getResidencyStatus(false), 1);
    EXPECT_EQ(engine.getResidencyStatus(true), 3);
}

TEST_F(TransfersTest, ResidencyRowWithAnUnknownStatusDefersToTheNextRow) {
    setFed92Text(f92.f675, "GA");
    setFed92Text(f92.f43844, "");
    setFed92Text(f92.f679, "FL");
    setFed92Text(f92.f43846, "Nonresident");
    setFed92Text(f92.f683, "GA");
    setFed92Text(f92.f43848, "Part-year resident");
    EXPECT_EQ(engine.getResidencyStatus(false), 2);
}

TEST_F(TransfersTest, ResidencyFallsBackToTheHomeState) {
    fillInfoColumn();
    EXPECT_EQ(engine.getResidencyStatus(false), 3);  // no home state
    setText(info, 34, "Ga");
    EXPECT_EQ(engine.getResidencyStatus(false), 1);
    EXPECT_EQ(engine.getResidencyStatus(true), 1);
    setText(info, 34, "FL");
    EXPECT_EQ(engine.getResidencyStatus(false), 3);
}

// ------------------------------------------------------------ filing options

TEST_F(TransfersTest, FilingOptionsAreDefaultedOnTheFirstCallOnly) {
    setFed92Box(f92.f536, true);
    filingOptions();
    EXPECT_TRUE(info->xMarked(f69.f77));
    EXPECT_FALSE(info->xMarked(f69.f12));

    // Later calls never default again, whatever the boxes hold.
    info->setValue(f69.f77, FieldValue());
    info->setValue(f69.f12, FieldValue());
    filingOptions();
    EXPECT_FALSE(info->xMarked(f69.f77));
    EXPECT_FALSE(info->xMarked(f69.f12));
}

TEST_F(TransfersTest, FilingOptionsDefaultToTheSecondChoiceWithoutTheFederalAnswer) {
    filingOptions();
    EXPECT_FALSE(info->xMarked(f69.f77));
    EXPECT_TRUE(info->xMarked(f69.f12));
    // Without the first choice the details stay protected with their values.
    EXPECT_TRUE(info->isProtected(f69.f78));
    EXPECT_TRUE(info->isProtected(f69.f79));
    EXPECT_TRUE(info->isProtected(f69.f82));
}

TEST_F(TransfersTest, FilingOptionDetailsFromTheFederalReturn) {
    setFed92Box(f92.f536, true);
    setFed92Text(f92.f392, "061000104");
    setFed92Text(f92.f391, "123456789012");
    setFed92Box(f92.f393, true);
    filingOptions();
    EXPECT_TRUE(info->xMarked(f69.f78));
    EXPECT_EQ(text(info, 79), "061000104");
    EXPECT_EQ(text(info, 80), "123456789012");
    EXPECT_TRUE(info->xMarked(f69.f81));
    EXPECT_TRUE(info->isProtected(f69.f79));
    EXPECT_TRUE(info->isProtected(f69.f81));
}

TEST_F(TransfersTest, FilingOptionDetailsAreTheUsersWhenTheFederalReturnDeclines) {
    setBox(info, 77, true);
    setBox(info, 78, true);
    setFed92Box(f92.f70126, true);
    setText(info, 79, "mine");
    filingOptions();
    EXPECT_FALSE(info->xMarked(f69.f78));
    EXPECT_TRUE(info->isProtected(f69.f78));
    EXPECT_EQ(text(info, 79), "mine");
    EXPECT_FALSE(info->isProtected(f69.f79));
    EXPECT_FALSE(info->isProtected(f69.f82));
    EXPECT_TRUE(info->xMarked(f69.f81));  // the type group's default
}

// ------------------------------------------------------------ heading choice block

TEST_F(TransfersTest, HeadingChoiceKeepsYesOverNo) {
    setBox(info, 187983, true);
    setBox(info, 187984, true);
    setBox(info, 189221, true);
    auto f183 = federalCopy(kForm183ID);
    f183->setValue(kForm183FieldIds.f188832, FieldValue::text("061000104"));
    engine.protectHeadingFields(info, f69.f187983, f69.f187984, f69.f189221, none, f69.f187987, f69.f187988,
                                f69.f187985, f69.f187986, none, none, none);
    EXPECT_TRUE(info->xMarked(f69.f187983));
    EXPECT_FALSE(info->xMarked(f69.f187984));
    EXPECT_EQ(text(info, 187987), "061000104");
    EXPECT_TRUE(info->isProtected(f69.f187987));

    // Without yes, the details are protected and keep their values.
    info->setValue(f69.f187983, FieldValue());
    engine.protectHeadingFields(info, f69.f187983, f69.f187984, f69.f189221, none, f69.f187987, f69.f187988,
                                f69.f187985, f69.f187986, none, none, none);
    EXPECT_TRUE(info->isProtected(f69.f189221));
    EXPECT_EQ(text(info, 187987), "061000104");
}

// ------------------------------------------------------------ driver licence

class LicenseTest : public TransfersTest {
protected:
    const FilerLicenceLines& licence = kForm69Lines.licence;
    const LicenceLines& taxpayer = licence.taxpayer;
    const LicenceLines& spouse = licence.spouse;
    const FilerLicenceLines& federal = kForm92Lines.licence;
};

TEST_F(LicenseTest, TaxpayerLicenceFromTheFederalReturn) {
    setFed92Box(federal.taxpayer.firstIdBox, true);
    setFed92Text(federal.taxpayer.number, "D1234567");
    setFed92Text(federal.taxpayer.issuingState, "GA");
    setText(info, taxpayer.issueDate.getNumber(), "kept");
    setFed92Text(federal.taxpayer.issueDate, "ignored");
    engine.transferDriverLicenseInfo(info, licence);
    EXPECT_TRUE(info->xMarked(taxpayer.firstIdBox));
    EXPECT_EQ(text(info, 193209), "D1234567");
    EXPECT_EQ(text(info, 193210), "GA");
    EXPECT_EQ(text(info, 193211), "kept");  // a text on the form is never overwritten
    EXPECT_FALSE(info->isProtected(taxpayer.number));
    EXPECT_FALSE(info->isProtected(taxpayer.noExpirationBox));  // no expiry text: the box is the user's
}

TEST_F(LicenseTest, SingleFilerHasNoSpouseBlock) {
    st().filingStatus = FilingStatus::kSingle;
    setText(info, spouse.number.getNumber(), "S123");
    setBox(info, spouse.firstIdBox.getNumber(), true);
    engine.transferDriverLicenseInfo(info, licence);
    for (const FieldId& f :
         {spouse.secondOtherAnswer, spouse.firstOtherAnswer, spouse.number, spouse.issuingState, spouse.issueDate,
          spouse.expirationDate, spouse.noExpirationBox, spouse.firstIdBox, spouse.secondIdBox}) {
        EXPECT_TRUE(info->isNull(f)) << f.getNumber();
        EXPECT_TRUE(info->isProtected(f)) << f.getNumber();
    }
}

TEST_F(LicenseTest, NoLicenceEmptiesAndProtectsTheDetails) {
    st().filingStatus = FilingStatus::kJoint;
    setBox(info, taxpayer.secondOtherAnswer.getNumber(), true);
    setText(info, taxpayer.number.getNumber(), "D1");
    setText(info, taxpayer.expirationDate.getNumber(), "12/31/2020");
    setBox(info, taxpayer.noExpirationBox.getNumber(), true);
    setFed92Text(federal.spouse.number, "S99");
    engine.transferDriverLicenseInfo(info, licence);
    for (const FieldId& f : {taxpayer.number, taxpayer.issuingState, taxpayer.issueDate, taxpayer.expirationDate,
                             taxpayer.noExpirationBox}) {
        EXPECT_TRUE(info->isNull(f)) << f.getNumber();
        EXPECT_TRUE(info->isProtected(f)) << f.getNumber();
    }
    EXPECT_EQ(text(info, 193217), "S99");
}

TEST_F(LicenseTest, AnExpiryDateEmptiesTheBox) {
    st().filingStatus = FilingStatus::kSingle;
    setBox(info, taxpayer.firstIdBox.getNumber(), true);
    setText(info, taxpayer.expirationDate.getNumber(), "12/31/2020");
    setBox(info, taxpayer.noExpirationBox.getNumber(), true);
    engine.transferDriverLicenseInfo(info, licence);
    EXPECT_TRUE(info->isNull(taxpayer.noExpirationBox));
    EXPECT_FALSE(info->isProtected(taxpayer.noExpirationBox));
}

// ------------------------------------------------------------ state rows of form 190

class StateRowsTest : public TransfersTest {
protected:
    StateRowsTest() : fed190(federalCopy(kForm190ID)) {}

    // Sets first-group row r (0-9): fields 10 + 3r (first), 11 + 3r (amount),
    // 12 + 3r (state), 127 + r (exclusion).
    void firstRow(int r, const std::string& first, double amount, const std::string& stateText, bool excluded = false) {
        setText(fed190, 10 + 3 * r, first);
        setNumber(fed190, 11 + 3 * r, amount);
        setText(fed190, 12 + 3 * r, stateText);
        setBox(fed190, 127 + r, excluded);
    }
    // Second-group row r (0-3): fields 72 + 3r, 73 + 3r, 74 + 3r.
    void secondRow(int r, double amount, const std::string& stateText) {
        setNumber(fed190, 73 + 3 * r, amount);
        setText(fed190, 74 + 3 * r, stateText);
    }
    void transfer() {
        engine.transferStateRows(info, f69.f49, f69.f74, f69.f75,
                                 {f69.f51, f69.f53, f69.f55, f69.f57, f69.f59, f69.f61, f69.f63, f69.f65, f69.f67,
                                  f69.f69, f69.f71, f69.f73});
    }
    std::vector<double> amounts() {
        std::vector<double> out;
        for (int f = 51; f <= 73; f += 2) {
            out.push_back(info->isNull(FieldId(f)) ? -999 : info->getIR(FieldId(f)));
        }
        return out;
    }

    DataMgmt::TaxFormPtr fed190;
};

TEST_F(StateRowsTest, RowsOfThisStateFillTheOutputRowsInOrder) {
    firstRow(0, "01/15/2018", 100, "ga");
    firstRow(1, "02/15/2018", 200, "FL");
    firstRow(2, "03/15/2018", 300, "");
    firstRow(3, "04/15/2018", 0, "");
    firstRow(4, "05/15/2018", -50, "");
    firstRow(5, "06/15/2018", 20, "GA");
    firstRow(6, "07/15/2018", 700, "GA", true);
    firstRow(7, "08/15/2018", 0, "GA");
    transfer();

    EXPECT_EQ(amounts(), (std::vector<double>{100, 300, 20, 0, -999, -999, -999, -999, -999, -999, -999, -999}));
    EXPECT_EQ(text(info, 50), "01/15/2018");
    EXPECT_EQ(text(info, 52), "03/15/2018");
    EXPECT_EQ(text(info, 56), "08/15/2018");
    EXPECT_TRUE(info->isProtected(f69.f51));
    EXPECT_TRUE(info->isProtected(f69.f50));
    EXPECT_FALSE(info->isProtected(f69.f59));
    EXPECT_EQ(info->getIR(f69.f74), 420);
    EXPECT_TRUE(info->isNull(f69.f49));
    EXPECT_EQ(info->getIR(f69.f75), 420);
}

TEST_F(StateRowsTest, SecondGroupIsOnlyTotalled) {
    secondRow(0, 40, "GA");
    secondRow(1, 60, "");
    secondRow(2, -10, "ga");
    secondRow(3, 500, "AL");
    transfer();
    EXPECT_EQ(info->getIR(f69.f49), 90);
    EXPECT_TRUE(info->isProtected(f69.f49));
    EXPECT_EQ(info->getIR(f69.f74), 0);
    EXPECT_FALSE(info->isNull(f69.f74));
    EXPECT_EQ(info->getIR(f69.f75), 90);
}

TEST_F(StateRowsTest, RowsNoLongerNeededAreEmptiedAndGivenBack) {
    firstRow(0, "01/15/2018", 100, "GA");
    firstRow(1, "02/15/2018", 200, "GA");
    secondRow(0, 40, "GA");
    transfer();
    EXPECT_EQ(info->getIR(f69.f53), 200);

    firstRow(1, "02/15/2018", 200, "FL");
    secondRow(0, -40, "GA");
    transfer();
    EXPECT_TRUE(info->isNull(f69.f53));
    EXPECT_TRUE(info->isNull(f69.f52));
    EXPECT_FALSE(info->isProtected(f69.f53));
    EXPECT_TRUE(info->isNull(f69.f49));
    EXPECT_FALSE(info->isProtected(f69.f49));
    EXPECT_EQ(info->getIR(f69.f75), 100);
}

TEST_F(StateRowsTest, WithoutForm190EveryOutputRowIsEmptied) {
    federal->deleteForm(kForm190ID, 1);
    setNumber(info, 51, 5);
    transfer();
    EXPECT_EQ(amounts(), std::vector<double>(12, -999));
    EXPECT_EQ(info->getIR(f69.f74), 0);
    EXPECT_EQ(info->getIR(f69.f75), 0);
}

}  // namespace
}  // namespace statecalctest
