// Recalculating one copy of the interest or dividend statement from the rows
// that the layout gave it: payer names, rows, totals, allocation columns and
// the copy's marks.
#include <gtest/gtest.h>

#include <string>

#include "platform/Exceptions.h"
#include "statements_fixture.h"

namespace stmtstest {
namespace {

class StatementBuildTest : public StatementsTest {
protected:
    void buildInterest(std::uint16_t copy = 1, int option = 1, std::int16_t filingStatus = 1) {
        engine.buildInterestStatement(stateCopy(kStateForm2ID, copy), copy, 0, kGAForm69ID, filingStatus, 0, option);
    }
    void buildDividends(std::uint16_t copy = 1, int option = 1, std::int16_t filingStatus = 1) {
        engine.buildDividendStatement(stateCopy(kStateForm3ID, copy), copy, 0, kGAForm69ID, filingStatus, 0, option);
    }
    DataMgmt::TaxFormPtr interestSheet(std::uint16_t copy = 1) { return stateCopy(kStateForm2ID, copy); }
    DataMgmt::TaxFormPtr dividendSheet(std::uint16_t copy = 1) { return stateCopy(kStateForm3ID, copy); }
    // A payer of municipal interest 500, 200 of it in state, laid out and
    // built under the allocation option.
    DataMgmt::TaxFormPtr municipalPayer(const std::string& name, int option = 2) {
        DataMgmt::TaxFormPtr f166 = interestPayer(1, name, 0);
        setNumber(f166, kForm166FieldIds.f197490, 50000);
        setNumber(f166, kForm166FieldIds.f83, 20000);
        layOut();
        buildInterest(1, option);
        return f166;
    }
};

TEST_F(StatementBuildTest, RowsAreDrawnFromTheSourcesTheLayoutNamed) {
    DataMgmt::TaxFormPtr f166 = interestPayer(1, "FIRST BANK", 1200);
    setNumber(f166, kForm166FieldIds.f12, 30000);  // U.S. obligations 300
    interestPayer(2, "SECOND BANK", 50);
    layOut();
    buildInterest();

    DataMgmt::TaxFormPtr sheet = interestSheet();
    EXPECT_EQ(text(sheet, infoField(0)), "FIRST BANK||166||1||1") << "the payer's name is put in";
    EXPECT_EQ(text(sheet, infoField(1)), "FIRST BANK||166||1||2");
    EXPECT_EQ(text(sheet, rowField(0, 0)), "FIRST BANK");
    EXPECT_EQ(number(sheet, rowField(0, 1)), 1500);
    EXPECT_EQ(text(sheet, rowField(1, 0)), "- Regular Interest");
    EXPECT_EQ(number(sheet, rowField(1, 3)), 1200);
    EXPECT_EQ(text(sheet, rowField(2, 0)), "- U.S. Obligations");
    EXPECT_EQ(number(sheet, rowField(2, 3)), 300);
    EXPECT_EQ(text(sheet, rowField(3, 0)), "SECOND BANK");
    EXPECT_TRUE(isNull(sheet, rowField(5, 0)));

    EXPECT_EQ(number(sheet, FieldId(151)), 1250);
    EXPECT_EQ(number(sheet, FieldId(154)), 300);
    EXPECT_FALSE(isNull(sheet, FieldId(163)));
    EXPECT_EQ(number(sheet, FieldId(163)), 0);
    EXPECT_EQ(number(sheet, FieldId(160)), 300) << "U.S. obligations less the line from form 3";
    EXPECT_TRUE(isNull(sheet, FieldId(161)));
    EXPECT_TRUE(isNull(sheet, FieldId(162)));
    EXPECT_TRUE(state->isDataEntered(kStateForm2ID, 1));
    EXPECT_TRUE(sheet->calculatedFlag());
}

TEST_F(StatementBuildTest, LeftoverRowsAndRowsWithoutASourceAreCleared) {
    interestPayer(1, "FIRST BANK", 10);
    layOut();
    DataMgmt::TaxFormPtr sheet = interestSheet();
    setText(sheet, infoField(2), "ELSEWHERE||52||1||2");  // not an interest source
    setText(sheet, infoField(3), "OTHER||166||1||2");
    for (int r = 2; r < 24; ++r) {
        setText(sheet, rowField(r, 0), "STALE");
        setNumber(sheet, rowField(r, 3), 5);
    }
    buildInterest();
    EXPECT_TRUE(isNull(sheet, rowField(2, 0))) << "the row of an unknown source is cleared";
    EXPECT_EQ(text(sheet, rowField(3, 0)), "- Regular Interest") << "rows stay level with their lines";
    for (int r = 4; r < 24; ++r) {
        EXPECT_TRUE(isNull(sheet, rowField(r, 0))) << "row " << r + 1;
        EXPECT_TRUE(isNull(sheet, rowField(r, 3))) << "row " << r + 1;
    }
}

TEST_F(StatementBuildTest, ASpouseSourceIsLeftOffAReturnThatIsNotJoint) {
    DataMgmt::TaxFormPtr spouse = interestPayer(1, "SPOUSE BANK", 40);
    setBox(spouse, kForm166FieldIds.f3);
    interestPayer(2, "OWN BANK", 60);
    layOut();

    buildInterest(1, 1, 1);
    DataMgmt::TaxFormPtr sheet = interestSheet();
    EXPECT_EQ(text(sheet, rowField(0, 0)), "OWN BANK") << "the next source moves up";
    EXPECT_TRUE(isNull(sheet, rowField(2, 0)));
    EXPECT_EQ(text(sheet, infoField(0)), "||166||1||1") << "the skipped source's line is left as it was";
    EXPECT_EQ(number(sheet, FieldId(151)), 60);

    buildInterest(1, 1, 2);
    EXPECT_EQ(text(sheet, rowField(0, 0)), "SPOUSE BANK");
    EXPECT_EQ(number(sheet, FieldId(151)), 100);
}

TEST_F(StatementBuildTest, MunicipalRowsShowTheSourcesPartsUnderEveryOption) {
    for (const int option : {1, 2, 3, 4}) {
        municipalPayer("MUNI BANK", option);
        DataMgmt::TaxFormPtr sheet = interestSheet();
        ASSERT_EQ(text(sheet, rowField(1, 0)), "- Muni Bonds - In State");
        // A figure typed over the in-state row gives way to the source's.
        setNumber(sheet, rowField(1, 3), 450);
        buildInterest(1, option);
        EXPECT_EQ(number(sheet, rowField(1, 3)), 200) << option;
        EXPECT_EQ(number(sheet, rowField(2, 3)), 300) << option;
        EXPECT_EQ(number(sheet, FieldId(166)), 200) << option;
        EXPECT_EQ(number(sheet, FieldId(163)), 300) << option;
    }
}

TEST_F(StatementBuildTest, ANewPayerNameRewritesTheRowsLink) {
    DataMgmt::TaxFormPtr f166 = municipalPayer("MUNI BANK");
    DataMgmt::TaxFormPtr sheet = interestSheet();
    setText(f166, kForm166FieldIds.f9, "RENAMED BANK");
    buildInterest(1, 2);
    EXPECT_EQ(text(sheet, infoField(0)), "RENAMED BANK||166||1||1");
    EXPECT_EQ(text(sheet, rowField(0, 0)), "RENAMED BANK");
    EXPECT_EQ(number(sheet, rowField(1, 3)), 200);
}

TEST_F(StatementBuildTest, APayerNameWithBarsKeepsItsRow) {
    municipalPayer("SMITH || JONES |");
    DataMgmt::TaxFormPtr sheet = interestSheet();
    EXPECT_EQ(text(sheet, infoField(0)), "SMITH // JONES /||166||1||1") << "no bar is taken for a separator";
    EXPECT_EQ(text(sheet, rowField(0, 0)), "SMITH || JONES |") << "the row shows the name as it is";
    EXPECT_EQ(number(sheet, FieldId(166)), 200);
}

TEST_F(StatementBuildTest, TheLineFromFederalFormThreeIsOnTheFirstCopyOfAFormOneOrFiftyFiveReturn) {
    setNumber(federalCopy(kForm3ID), kForm3FieldIds.f68, 75);
    interestPayer(1, "BANK", 500);
    setNumber(federalCopy(kForm166ID, 1), kForm166FieldIds.f12, 20000);
    layOut();

    buildInterest(1, 4);
    DataMgmt::TaxFormPtr sheet = interestSheet();
    EXPECT_EQ(number(sheet, FieldId(157)), 75);
    EXPECT_EQ(number(sheet, FieldId(160)), 125);

    engine.federalForm = kForm55ID;
    buildInterest(1, 4);
    EXPECT_EQ(number(sheet, FieldId(157)), 75);

    engine.federalForm = kForm87ID;
    buildInterest(1, 4);
    EXPECT_FALSE(isNull(sheet, FieldId(157)));
    EXPECT_EQ(number(sheet, FieldId(157)), 0);

    engine.federalForm = kForm1ID;
    buildInterest(2, 4);
    EXPECT_TRUE(isNull(interestSheet(2), FieldId(157)));
}

TEST_F(StatementBuildTest, AStoredLineTypeOutOfRangeIsRefusedWhenThePayerChanges) {
    interestPayer(1, "NEW NAME", 10);
    DataMgmt::TaxFormPtr sheet = interestSheet();
    setText(sheet, infoField(0), "OLD NAME||166||1||12");
    try {
        buildInterest();
        FAIL();
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "LineType out of range");
        EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
        EXPECT_EQ(e.getOperationName(), "setIntDivInfo");
    }
}

}  // namespace
}  // namespace stmtstest
