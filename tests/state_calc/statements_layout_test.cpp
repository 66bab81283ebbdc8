// Laying the interest and dividend statements out over their copies: which
// line of which copy each source's entry takes, entries never split over two
// copies, and leftover lines nulled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "statements_fixture.h"

namespace stmtstest {
namespace {

class LayoutTest : public StatementsTest {
protected:
    // The row-information texts of the 24 lines of a statement copy ("-" for
    // a null line).
    std::vector<std::string> lines(const FormId& form, std::uint16_t copy) {
        std::vector<std::string> out;
        DataMgmt::TaxFormPtr sheet = state->getFormUVPtr(form, copy, false);
        for (int i = 0; i < 24; ++i) {
            out.push_back(sheet.isNull() || isNull(sheet, infoField(i)) ? "-" : text(sheet, infoField(i)));
        }
        return out;
    }
    std::string line(const FormId& form, std::uint16_t copy, int index) { return lines(form, copy)[index]; }

    // n copies of form 166 from `first` on, each with regular interest only.
    void regularInterestPayers(std::uint16_t first, int n) {
        for (int i = 0; i < n; ++i) {
            interestPayer(static_cast<std::uint16_t>(first + i), "BANK " + std::to_string(first + i), 10);
        }
    }
};

TEST_F(LayoutTest, EachSourceGetsAPayerLineAndItsAmountLines) {
    DataMgmt::TaxFormPtr full = interestPayer(1, "FIRST BANK", 100);
    setNumber(full, kForm166FieldIds.f12, 2000);      // U.S. obligations 20
    setNumber(full, kForm166FieldIds.f197490, 5000);  // municipal 50, all of it in state
    setNumber(full, kForm166FieldIds.f83, 5000);
    interestPayer(2, "SECOND BANK", 30);

    layOut();
    const std::vector<std::string> expected = {
        "||166||1||1", "||166||1||2", "||166||1||3", "||166||1||4", "||166||1||5", "||166||2||1", "||166||2||2",
    };
    const std::vector<std::string> got = lines(kStateForm2ID, 1);
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + 7), expected);
    EXPECT_EQ(got[7], "-");
    EXPECT_TRUE(state->getFormUVPtr(kStateForm3ID, 1, false).isNull()) << "no dividend source, no dividend copy";
}

TEST_F(LayoutTest, NoEntriesLeaveEarlierLinesAndStillCalculateInfoAndWorksheet) {
    DataMgmt::TaxFormPtr sheet = stateCopy(kStateForm2ID);
    setText(sheet, infoField(0), "OLD||166||1||1");
    layOut();
    EXPECT_EQ(line(kStateForm2ID, 1, 0), "OLD||166||1||1");
    const std::vector<statecalctest::CopyCall> expected = {{kGAForm69ID, 1, 0, 0, 0}, {kStateForm4ID, 1, 0, 0, 0}};
    EXPECT_EQ(engine.copies, expected) << "with the recalculation flag 0 only these two copies are calculated";
    EXPECT_TRUE(state->isDataEntered(kGAForm69ID, 1));
    EXPECT_TRUE(state->getFormUVPtr(kStateForm4ID, 1, false)->calculatedFlag());
}

TEST_F(LayoutTest, AnEntryThatTheLineCountUnderstatesStillStaysWithinTheCopy) {
    // One three-line entry and ten two-line entries fill 23 lines. The next
    // source's interest is wholly taken off by an adjustment: every category
    // is 0, yet it had income, so it gets an entry of a payer line and a
    // regular line. The line count says one line, but the entry writes two,
    // so it moves to copy 2 rather than run into the heading after line 24.
    DataMgmt::TaxFormPtr first = interestPayer(1, "BANK 1", 10);
    setNumber(first, kForm166FieldIds.f12, 500);
    regularInterestPayers(2, 10);
    DataMgmt::TaxFormPtr zeroed = interestPayer(12, "ZEROED", 100);
    setNumber(zeroed, kForm166FieldIds.f27, 10000);
    DataMgmt::TaxFormPtr sheet = stateCopy(kStateForm2ID);
    setText(sheet, FieldId(27), "HEADING");

    layOut();
    EXPECT_EQ(line(kStateForm2ID, 1, 22), "||166||11||2");
    EXPECT_EQ(line(kStateForm2ID, 1, 23), "-");
    EXPECT_EQ(text(sheet, FieldId(27)), "HEADING");
    EXPECT_EQ(line(kStateForm2ID, 2, 0), "||166||12||1");
    EXPECT_EQ(line(kStateForm2ID, 2, 1), "||166||12||2");
}

TEST_F(LayoutTest, AnEntryEndingOnTheLastLineStaysAndTheNextStartsTheNextCopy) {
    // Four five-line entries and two two-line entries fill exactly 24 lines.
    for (std::uint16_t n = 1; n <= 4; ++n) {
        DataMgmt::TaxFormPtr f = interestPayer(n, "FULL", 100);
        setNumber(f, kForm166FieldIds.f12, 1000);
        setNumber(f, kForm166FieldIds.f197490, 1000);
    }
    regularInterestPayers(5, 3);

    layOut();
    const std::vector<std::string> copy1 = lines(kStateForm2ID, 1);
    EXPECT_EQ(copy1[20], "||166||5||1");
    EXPECT_EQ(copy1[23], "||166||6||2") << "the second two-line entry ends on line 24";
    EXPECT_EQ(line(kStateForm2ID, 2, 0), "||166||7||1");
    EXPECT_EQ(line(kStateForm2ID, 2, 1), "||166||7||2");
}

TEST_F(LayoutTest, AnEntryThatDoesNotFitMovesWholeAndTheFreeLinesAreNulled) {
    // Ten two-line entries end on line 20; a five-line entry does not fit
    // the four lines left.
    regularInterestPayers(1, 10);
    DataMgmt::TaxFormPtr big = interestPayer(11, "BIG", 100);
    setNumber(big, kForm166FieldIds.f12, 1000);
    setNumber(big, kForm166FieldIds.f197490, 1000);
    DataMgmt::TaxFormPtr sheet = stateCopy(kStateForm2ID);
    for (int i = 20; i < 24; ++i) {
        setText(sheet, infoField(i), "STALE||166||99||2");
    }

    layOut();
    const std::vector<std::string> copy1 = lines(kStateForm2ID, 1);
    for (int i = 20; i < 24; ++i) {
        EXPECT_EQ(copy1[i], "-") << "line " << i + 1;
    }
    EXPECT_EQ(line(kStateForm2ID, 2, 0), "||166||11||1");
    EXPECT_EQ(line(kStateForm2ID, 2, 4), "||166||11||5");
}

TEST_F(LayoutTest, AStatementThatShrinksFromThreeCopiesToOneIsCleared) {
    regularInterestPayers(1, 30);
    layOut();
    ASSERT_EQ(line(kStateForm2ID, 3, 10), "||166||30||1");

    for (std::uint16_t n = 3; n <= 30; ++n) {
        federal->deleteForm(kForm166ID, n);
    }
    layOut();
    EXPECT_EQ(line(kStateForm2ID, 1, 3), "||166||2||2");
    for (int i = 4; i < 24; ++i) {
        EXPECT_EQ(line(kStateForm2ID, 1, i), "-") << "copy 1 line " << i + 1;
    }
    for (std::uint16_t copy : {2, 3}) {
        ASSERT_FALSE(state->getFormUVPtr(kStateForm2ID, copy, false).isNull()) << "copies stay";
        for (int i = 0; i < 24; ++i) {
            EXPECT_EQ(line(kStateForm2ID, copy, i), "-") << "copy " << copy << " line " << i + 1;
        }
    }
}

TEST_F(LayoutTest, CopiesAboveAGapAreLaidOutAndCleared) {
    // Source copies 1 and 3 (copy 2 deleted) give consecutive entries, and
    // a statement copy above a missing copy 2 has its lines nulled.
    regularInterestPayers(1, 3);
    federal->deleteForm(kForm166ID, 2);
    DataMgmt::TaxFormPtr third = stateCopy(kStateForm2ID, 3);
    setText(third, infoField(0), "STALE||166||99||1");

    layOut();
    EXPECT_EQ(line(kStateForm2ID, 1, 2), "||166||3||1");
    EXPECT_EQ(line(kStateForm2ID, 1, 4), "-");
    EXPECT_TRUE(state->getFormUVPtr(kStateForm2ID, 2, false).isNull());
    EXPECT_EQ(line(kStateForm2ID, 3, 0), "-");
}

TEST_F(LayoutTest, RestrictedStockTakesExactlyTwoLines) {
    DataMgmt::TaxFormPtr f164 = dividendPayer(1, "GROWTH FUND", 1000);
    setNumber(f164, kForm164FieldIds.f40, 5000);
    setNumber(f164, kForm164FieldIds.f41, 20000);
    setBox(f164, kForm164FieldIds.f19);
    DataMgmt::TaxFormPtr f51 = federalCopy(kForm51ID);
    setNumber(f51, kForm51FieldIds.f18, 70);
    setNumber(f51, kForm51FieldIds.f381, 20);

    layOut();
    const std::vector<std::string> expected = {"||164||1||1", "||164||1||9", "||51||1||1",
                                               "||51||1||6",  "||51||1||3",  "-"};
    const std::vector<std::string> got = lines(kStateForm3ID, 1);
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + 6), expected);
}

}  // namespace
}  // namespace stmtstest
