// Rows of the interest and dividend statements: the row-information text,
// payer names, drawing and clearing a row, and the allocation columns of the
// total lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "statements_fixture.h"

namespace stmtstest {
namespace {

using Exceptions::QuarloException;

class RowInfoTest : public StatementsTest {
protected:
    RowInfoTest() : sheet(stateCopy(kStateForm2ID)) {}

    struct Parsed {
        std::string name;
        FormId form;
        std::uint16_t copy = 99;
        int lineType = 99;
    };
    Parsed parse(const std::string& stored) {
        setText(sheet, infoField(0), stored);
        Parsed p;
        p.form = FormId(77, true);
        engine.parseIntDivInfo(sheet, infoField(0), p.name, p.form, p.copy, p.lineType);
        return p;
    }

    DataMgmt::TaxFormPtr sheet;
};

TEST_F(RowInfoTest, ParsesTheFourParts) {
    Parsed p = parse("ACME SAVINGS||51||3||2");
    EXPECT_EQ(p.name, "ACME SAVINGS");
    EXPECT_EQ(p.form, kForm51ID);
    EXPECT_EQ(p.copy, 3);
    EXPECT_EQ(p.lineType, 2);

    p = parse("||51||3||2");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.form, kForm51ID);
    EXPECT_EQ(p.copy, 3);
}

TEST_F(RowInfoTest, IncompleteTextsGiveZerosForTheMissingParts) {
    Parsed p = parse("ACME SAVINGS");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.form.getNumber(), 0);
    EXPECT_TRUE(p.form.isState()) << "the state flag of the output is left as it was";
    EXPECT_EQ(p.copy, 0);
    EXPECT_EQ(p.lineType, 0);

    p = parse("ACME SAVINGS||51");
    EXPECT_EQ(p.name, "ACME SAVINGS");
    EXPECT_EQ(p.form, kForm51ID);
    EXPECT_EQ(p.copy, 0);
    EXPECT_EQ(p.lineType, 0);

    p = parse("ACME SAVINGS||51||3");
    EXPECT_EQ(p.form, kForm51ID);
    EXPECT_EQ(p.copy, 0) << "a text of three parts names no copy";
    EXPECT_EQ(p.lineType, 0);
}

TEST_F(RowInfoTest, NumbersAreReadLikeAtoi) {
    Parsed p = parse("ACME SAVINGS||51||3||2||X");
    EXPECT_EQ(p.lineType, 2);
    p = parse("ACME|| 51x||+3||B");
    EXPECT_EQ(p.form, kForm51ID);
    EXPECT_EQ(p.copy, 3);
    EXPECT_EQ(p.lineType, 0);
    // A copy number beyond 16 bits is no link, not a wrapped one.
    p = parse("ACME||51||65537||2");
    EXPECT_EQ(p.copy, 0);
    p = parse("ACME||166||-1||2");
    EXPECT_EQ(p.copy, 0) << "a negative copy number is no copy, not 65535";
}

TEST_F(RowInfoTest, SetKeepsTheStoredPartsThatAreNotGiven) {
    setText(sheet, infoField(0), "ACME SAVINGS||51");
    engine.setIntDivInfo(sheet, infoField(0), "", FormId(0), 0, 0);
    EXPECT_EQ(text(sheet, infoField(0)), "ACME SAVINGS||51||0||0");

    engine.setIntDivInfo(sheet, infoField(0), "", kForm89ID, 4, 5);
    EXPECT_EQ(text(sheet, infoField(0)), "ACME SAVINGS||89||4||5");
    engine.setIntDivInfo(sheet, infoField(0), "FIRST BANK", FormId(-1), 0, -3);
    EXPECT_EQ(text(sheet, infoField(0)), "FIRST BANK||89||4||5");
}

TEST_F(RowInfoTest, SetRefusesAStateSourceFirstAndAnOutOfRangeLineType) {
    setText(sheet, infoField(0), "ACME SAVINGS||51||3||2");
    try {
        engine.setIntDivInfo(sheet, infoField(0), "X", kStateForm4ID, 1, 12);
        FAIL() << "a state source form must be refused";
    } catch (const QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "FedFormId > First StateForm");
        EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
        EXPECT_EQ(e.getOperationName(), "setIntDivInfo");
    }
    try {
        engine.setIntDivInfo(sheet, infoField(0), "X", kForm51ID, 1, 10);
        FAIL() << "line type 10 must be refused";
    } catch (const QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "LineType out of range");
        EXPECT_EQ(e.getOperationName(), "setIntDivInfo");
    }
    EXPECT_EQ(text(sheet, infoField(0)), "ACME SAVINGS||51||3||2") << "a refused call writes nothing";
}

TEST_F(RowInfoTest, ALongPayerNameIsShortenedToKeepTheTextWithin79Characters) {
    const std::string longName(120, 'N');
    engine.setIntDivInfo(sheet, infoField(0), longName, kForm166ID, 65535, 9);
    const std::string stored = text(sheet, infoField(0));
    EXPECT_EQ(stored.size(), 79U);
    EXPECT_EQ(stored.substr(stored.size() - 15), "||166||65535||9");

    Parsed p;
    engine.parseIntDivInfo(sheet, infoField(0), p.name, p.form, p.copy, p.lineType);
    EXPECT_EQ(p.form, kForm166ID);
    EXPECT_EQ(p.copy, 65535);
    EXPECT_EQ(p.lineType, 9);

    // A name of multi-byte characters is never cut inside a character.
    const std::string accented = std::string(60, 'A') + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    engine.setIntDivInfo(sheet, infoField(1), accented, kForm51ID, 1, 2);
    const std::string kept = text(sheet, infoField(1));
    EXPECT_LE(kept.size(), 79U);
    EXPECT_EQ(kept.substr(kept.size() - 10), "||51||1||2");
    const std::string namePart = kept.substr(0, kept.size() - 10);
    EXPECT_EQ(namePart.size() % 2, 0U) << "60 letters then whole two-byte characters: " << namePart;
}

TEST_F(StatementsTest, BankNameComesFromTheSourceFormsPayerField) {
    DataMgmt::TaxFormPtr interest = federalCopy(kForm166ID, 2);
    setText(interest, kForm166FieldIds.f9, "FIRST BANK");
    setText(interest, kForm166FieldIds.f78, "NOMINEE TRUST");
    setText(federalCopy(kForm164ID), kForm164FieldIds.f5, "BIG FUND");
    setText(federalCopy(kForm51ID), kForm51FieldIds.f5, "K1 PARTNERSHIP");
    setText(federalCopy(kForm89ID), kForm89FieldIds.f9, "ESTATE");

    std::string name = "old";
    engine.getBankName(name, kForm166ID, 2);
    EXPECT_EQ(name, "FIRST BANK");
    setBox(interest, kForm166FieldIds.f77);
    engine.getBankName(name, kForm166ID, 2);
    EXPECT_EQ(name, "NOMINEE TRUST");
    engine.getBankName(name, kForm164ID, 1);
    EXPECT_EQ(name, "BIG FUND");
    engine.getBankName(name, kForm51ID, 1);
    EXPECT_EQ(name, "K1 PARTNERSHIP");
    engine.getBankName(name, kForm89ID, 1);
    EXPECT_EQ(name, "ESTATE");

    try {
        engine.getBankName(name, kForm52ID, 1);
        FAIL() << "form 52 is no interest or dividend source";
    } catch (const QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "Invalid FedFormID");
        EXPECT_EQ(e.getOperationName(), "getBankName");
    }
    EXPECT_EQ(name, "") << "the buffer is emptied before the refusal";
}

// Drawing rows of copy 1 of the interest statement.
class DisplayLineTest : public StatementsTest {
protected:
    DisplayLineTest() : sheet(stateCopy(kStateForm2ID)) {
        row = sheet->getTaxFormDescriptor()->getFieldIDs();
        row = rowField(0, 0);
    }
    void draw(int lineType, const IntDivCategoryAmounts& a, const std::string& payer = "ACME") {
        engine.fillDisplayLine(sheet, kStateForm2ID, 1, row, lineType, payer, a);
    }

    DataMgmt::TaxFormPtr sheet;
    DataMgmt::QVFieldIDIter row;
};

TEST_F(DisplayLineTest, PayerAndCategoryRowsShowTheirAmountsAndFeedTheTotals) {
    IntDivCategoryAmounts a;
    a.sourceTotal = 1000.4;
    a.regularAmount = 600.6;
    a.usObligationAmount = 150;
    a.municipalTotal = 250;
    a.inStateMunicipal = 100;
    a.outOfStateMunicipal = 150;

    draw(1, a);
    EXPECT_EQ(text(sheet, rowField(0, 0)), "ACME");
    EXPECT_DOUBLE_EQ(number(sheet, rowField(0, 1)), 1000.4) << "the source's amount to the cent";
    EXPECT_TRUE(isNull(sheet, rowField(0, 2)));

    draw(2, a);
    EXPECT_EQ(text(sheet, rowField(1, 0)), "- Regular Interest");
    EXPECT_EQ(number(sheet, rowField(1, 2)), 1);
    EXPECT_EQ(number(sheet, rowField(1, 3)), 601) << "the whole amount read back";
    EXPECT_DOUBLE_EQ(number(sheet, rowField(1, 4)), 600.6) << "the amount as stored";

    draw(3, a);
    EXPECT_EQ(text(sheet, rowField(2, 0)), "- U.S. Obligations");
    EXPECT_EQ(number(sheet, rowField(2, 2)), 2);
    EXPECT_EQ(number(sheet, rowField(2, 3)), 150);
    EXPECT_FALSE(isNull(sheet, rowField(2, 4)));
    EXPECT_EQ(number(sheet, rowField(2, 4)), 0);

    draw(4, a);
    EXPECT_EQ(text(sheet, rowField(3, 0)), "- Muni Bonds - In State");
    EXPECT_EQ(number(sheet, rowField(3, 2)), 3);
    EXPECT_EQ(number(sheet, rowField(3, 3)), 100);
    EXPECT_EQ(number(sheet, rowField(3, 4)), 0);

    draw(5, a);
    EXPECT_EQ(text(sheet, rowField(4, 0)), "- Muni Bonds - Out of State");
    EXPECT_EQ(number(sheet, rowField(4, 2)), 4);
    EXPECT_EQ(number(sheet, rowField(4, 3)), 150);
    EXPECT_EQ(number(sheet, rowField(4, 4)), 150);

    draw(9, a);
    EXPECT_EQ(text(sheet, rowField(5, 0)), "- Restricted Stock");
    EXPECT_TRUE(isNull(sheet, rowField(5, 2)));
    EXPECT_DOUBLE_EQ(number(sheet, rowField(5, 3)), 1000.4);

    EXPECT_EQ(row.getFieldID(), rowField(6, 0)) << "six rows drawn, six strides";
    const auto& layout = engine.summaryRowLayout();
    EXPECT_DOUBLE_EQ(layout.regularTotal, 601);
    EXPECT_DOUBLE_EQ(layout.usObligationTotal, 150);
    EXPECT_DOUBLE_EQ(layout.inStateMunicipalTotal, 100);
    EXPECT_DOUBLE_EQ(layout.outOfStateMunicipalTotal, 150) << "restricted stock feeds no total";
}

TEST_F(DisplayLineTest, DividendRowsCarryTheirOwnTexts) {
    IntDivCategoryAmounts a;
    a.regularAmount = 40;
    a.municipalTotal = 30;
    a.inStateMunicipal = 10;
    a.outOfStateMunicipal = 20;
    draw(6, a);
    draw(7, a);
    draw(8, a);
    EXPECT_EQ(text(sheet, rowField(0, 0)), "- Regular Dividends");
    EXPECT_EQ(number(sheet, rowField(0, 2)), 1);
    EXPECT_EQ(text(sheet, rowField(1, 0)), "- Muni Bond Fund - In State");
    EXPECT_EQ(number(sheet, rowField(1, 2)), 3);
    EXPECT_EQ(text(sheet, rowField(2, 0)), "- Muni Bond Fund - Out of State");
    EXPECT_EQ(number(sheet, rowField(2, 2)), 4);
    const auto& layout = engine.summaryRowLayout();
    EXPECT_DOUBLE_EQ(layout.regularTotal, 40);
    EXPECT_DOUBLE_EQ(layout.inStateMunicipalTotal, 10);
    EXPECT_DOUBLE_EQ(layout.outOfStateMunicipalTotal, 20);
}

TEST_F(DisplayLineTest, ANegativeAmountIsShownButLeavesTheTotal) {
    IntDivCategoryAmounts a;
    a.regularAmount = -50;
    draw(2, a);
    EXPECT_EQ(number(sheet, rowField(0, 3)), -50);
    EXPECT_DOUBLE_EQ(engine.summaryRowLayout().regularTotal, 0);
}

TEST_F(DisplayLineTest, AnInvalidLineTypeClearsTheRowAndStays) {
    setText(sheet, rowField(0, 0), "STALE");
    setNumber(sheet, rowField(0, 3), 12);
    for (int lineType : {0, 10}) {
        draw(lineType, IntDivCategoryAmounts{});
        EXPECT_TRUE(isNull(sheet, rowField(0, 0)));
        EXPECT_TRUE(isNull(sheet, rowField(0, 3)));
        EXPECT_EQ(row.getFieldID(), rowField(0, 0));
    }
}

TEST_F(DisplayLineTest, AStateFormIsRequired) {
    try {
        engine.fillDisplayLine(sheet, kForm166ID, 1, row, 2, "", IntDivCategoryAmounts{});
        FAIL();
    } catch (const QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "Invalid State FormID");
        EXPECT_EQ(e.getOperationName(), "fillDisplayLine");
    }
    EXPECT_TRUE(isNull(sheet, rowField(0, 0)));
}

TEST_F(DisplayLineTest, MunicipalRowsTakeTheSourcesPartsOverAnyEntry) {
    IntDivCategoryAmounts a;
    a.sourceTotal = 1000;
    a.regularAmount = 500;
    a.usObligationAmount = 100;
    a.municipalTotal = 400;
    a.inStateMunicipal = 150;
    a.outOfStateMunicipal = 250;
    // The interest rows, then the dividend rows, drawn over the same rows:
    // the totals run on.
    double drawn = 0;
    for (const int lineType : {4, 7}) {
        row = rowField(0, 0);
        setNumber(sheet, rowField(0, 3), 300);  // typed over the in-state part
        setNumber(sheet, rowField(1, 4), 9);
        ++drawn;
        draw(lineType, a);
        draw(lineType + 1, a);
        EXPECT_EQ(number(sheet, rowField(0, 3)), 150) << lineType;
        EXPECT_EQ(number(sheet, rowField(0, 4)), 0) << lineType;
        EXPECT_TRUE(sheet->isProtected(rowField(0, 3))) << lineType;
        EXPECT_EQ(number(sheet, rowField(1, 3)), 250) << lineType;
        EXPECT_EQ(number(sheet, rowField(1, 4)), 250) << lineType;
        EXPECT_DOUBLE_EQ(engine.summaryRowLayout().inStateMunicipalTotal, 150 * drawn) << lineType;
        EXPECT_DOUBLE_EQ(engine.summaryRowLayout().outOfStateMunicipalTotal, 250 * drawn) << lineType;
    }
}

// The allocation columns of the dividend statement's total lines.
class AllocationTest : public StatementsTest {
protected:
    AllocationTest() : sheet(stateCopy(kStateForm3ID)) {}
    void allocate(int option, double total, double a, double b) {
        setNumber(sheet, FieldId(151), total);
        setNumber(sheet, FieldId(152), a);
        setNumber(sheet, FieldId(153), b);
        StateCalculationMgmt::StateTaxReturnCalcEngine::intDivSummaryAllocation1(
            sheet, option, {FieldId(151), FieldId(154), Primitives::kNullFieldID});
    }
    double a() { return number(sheet, FieldId(152)); }
    double b() { return number(sheet, FieldId(153)); }

    DataMgmt::TaxFormPtr sheet;
};

TEST_F(AllocationTest, OptionTwoOpensTheFirstColumnWithinTheTotal) {
    allocate(2, 500, 700, 9);
    EXPECT_EQ(a(), 500);
    EXPECT_TRUE(isNull(sheet, FieldId(153)));
    EXPECT_TRUE(sheet->isProtected(FieldId(153)));
    EXPECT_FALSE(sheet->isProtected(FieldId(152)));
    allocate(2, 500, -20, 0);
    EXPECT_EQ(a(), 0);
    allocate(2, -300, -400, 0);
    EXPECT_EQ(a(), -300);
    allocate(2, 0, 40, 0);
    EXPECT_TRUE(isNull(sheet, FieldId(152)));
}

TEST_F(AllocationTest, OptionFourKeepsBothColumnsTogetherWithinTheTotal) {
    allocate(4, 500, 300, 400);
    EXPECT_EQ(a(), 300);
    EXPECT_EQ(b(), 200);
    allocate(4, 500, 600, 100);
    EXPECT_EQ(a(), 500);
    EXPECT_EQ(b(), 0);
    allocate(4, 0, 10, 10);
    EXPECT_TRUE(isNull(sheet, FieldId(152)));
    EXPECT_TRUE(isNull(sheet, FieldId(153)));
    // A loss is split the same way, on the other side of 0.
    allocate(4, -300, -200, -250);
    EXPECT_EQ(a(), -200);
    EXPECT_EQ(b(), -100);
    allocate(4, -300, -100, 50);
    EXPECT_EQ(b(), 0);
}

TEST_F(AllocationTest, LinesThatAreNotThreeColumnsApartAreRefused) {
    setNumber(sheet, FieldId(152), 700);
    try {
        StateCalculationMgmt::StateTaxReturnCalcEngine::intDivSummaryAllocation1(
            sheet, 2, {FieldId(151), FieldId(155), Primitives::kNullFieldID});
        FAIL();
    } catch (const QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "Summary is not 3 cols wide");
        EXPECT_EQ(e.getOperationName(), "intDivSummaryAllocation1");
    }
    EXPECT_EQ(a(), 700) << "nothing changes";
}

}  // namespace
}  // namespace stmtstest
