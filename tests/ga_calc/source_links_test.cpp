// Withholding source-document links: the list over form 70 and form 189218,
// and the refill of an entry from its link.
#include <gtest/gtest.h>

#include <map>

#include "gatax_fixture.h"
#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "platform/store/StatementForms.h"

namespace gataxtest {
namespace {

const auto& c = kGAForm189218FieldIds;
// The first entries of form 70 and of form 189218, and form 70's first two
// withholding rows.
const WithholdingEntryLines& entry1 = kForm70WithholdingEntries[0];
const WithholdingEntryLines& slot1 = kForm189218WithholdingEntries[0];
const auto& row1 = kForm70Lines.payments.incomeStatements[0];
const auto& row2 = kForm70Lines.payments.incomeStatements[1];
const auto& w2 = kForm52FieldIds;
const SourceStateRow& w2Row1 = kForm52StateRows[0];
const SourceStateRow& w2Row2 = kForm52StateRows[1];

class SourceLinks : public GaTaxTest {
protected:
    // A wage statement with one Georgia row: tax withheld and state wages,
    // in dollars.
    DataMgmt::TaxFormPtr wageStatement(std::uint16_t copy, double withheld, double wages, const char* code = "GA") {
        auto form = fedCopy(kForm52ID, copy);
        setText(form, w2.f7, "12-3456789");
        setText(form, w2Row1.state, code);
        setNumber(form, w2Row1.withheld, withheld * 100);
        setNumber(form, w2Row1.amount, wages * 100);
        setText(form, w2Row1.stateId, "GA-ID-" + std::to_string(copy));
        return form;
    }
    std::vector<std::string> form70Links() {
        std::vector<std::string> links;
        for (const WithholdingEntryLines& entry : kForm70WithholdingEntries) {
            links.push_back(ga->getFieldAsString(kGAForm70ID, 1, entry.link));
        }
        return links;
    }
    int refill(const std::string& link) {
        auto form = gaCopy(kGAForm189218ID);
        setText(form, slot1.link, link);
        return engine.checkSourceLink(kGAForm189218ID, 1, slot1);
    }
};

TEST_F(SourceLinks, SevenDocumentsFillForm70AndTheFirstContinuationSlot) {
    for (std::uint16_t n = 1; n <= 7; ++n) {
        wageStatement(n, 40 * n, 1000 * n);
    }
    engine.beforeCalc();
    EXPECT_EQ(form70Links(), (std::vector<std::string>{"52/1/0", "52/2/0", "52/3/0", "52/4/0", "52/5/0", "52/6/0"}));
    EXPECT_EQ(ga->getFieldAsString(kGAForm189218ID, 1, slot1.link), "52/7/0");
    EXPECT_TRUE(ga->isNull(kGAForm189218ID, 1, kForm189218WithholdingEntries[1].link));
}

TEST_F(SourceLinks, SixteenthDocumentOpensASecondContinuationCopy) {
    for (std::uint16_t n = 1; n <= 16; ++n) {
        wageStatement(n, 1, 100);
    }
    engine.beforeCalc();
    EXPECT_EQ(ga->getFieldAsString(kGAForm189218ID, 1, kForm189218WithholdingEntries[8].link), "52/15/0");
    EXPECT_EQ(ga->getFieldAsString(kGAForm189218ID, 2, slot1.link), "52/16/0");

    // When the list shrinks, the links are rebuilt: the second copy stays,
    // emptied, and its entries go null when it is calculated.
    federal->deleteForm(kForm52ID, 16);
    engine.beforeCalc();
    EXPECT_TRUE(ga->formExists(kGAForm189218ID, 2));
    EXPECT_TRUE(ga->isNull(kGAForm189218ID, 2, slot1.link));
    engine.calcSourceLinksForm(gaCopy(kGAForm189218ID, 2), 2, 1);
    EXPECT_FALSE(ga->isDataEntered(kGAForm189218ID, 2));
}

TEST_F(SourceLinks, WhichDocumentsQualify) {
    // A wage statement qualifies with any Georgia withholding but 0; an
    // information return only with a positive one; the state code names
    // Georgia in any letter case, as the host's Georgia tax withheld reads
    // it.
    wageStatement(1, -50, 1000);
    wageStatement(2, 0, 1000);
    wageStatement(3, 5, 500, " ga");
    wageStatement(4, 7, 500, "GAX");
    for (std::uint16_t copy : {1, 2}) {
        auto info = fedCopy(kForm110ID, copy);
        setText(info, kForm110StateRows[0].state, "GA");
        setNumber(info, kForm110StateRows[0].withheld, copy == 1 ? -5000 : 0);
    }
    engine.beforeCalc();
    EXPECT_EQ(form70Links(), (std::vector<std::string>{"52/1/0", "52/3/0", "", "", "", ""}));
    EXPECT_DOUBLE_EQ(gaReturn()->getStateTaxWithheldNoLocal('1'), -45.0);
}

// Every statement form with a state line: the last of its lines naming
// Georgia with 50.00 withheld makes one entry of form 70's list holding the
// 50.00 that the host's Georgia tax withheld counts; a second Georgia line
// counts in both alike, and a spouse's statement on a single return in
// neither.
TEST_F(SourceLinks, EveryStatementFormIsCountedAndListedAlike) {
    // The box that marks a statement as the spouse's, as its form's lines
    // name it (the 1099-G, the 1099-R, the 1099-INT and the 1099-DIV; a W-2
    // names its owner).
    const std::map<std::int32_t, FieldId> spouseBoxes = {{kForm165ID.getNumber(), kForm165Lines.spousesStatement},
                                                         {kForm84ID.getNumber(), kForm84Lines.spouse},
                                                         {kForm166ID.getNumber(), kForm166Lines.spouse},
                                                         {kForm164ID.getNumber(), kForm164Lines.spouse}};
    for (const StatementForm& statement : kStatementForms) {
        SCOPED_TRACE(statement.name);
        auto copy = fedCopy(statement.form, 1);
        const SourceStateRow& last = statement.lines.back();
        setText(copy, last.state, "GA");
        setNumber(copy, last.withheld, 5000);
        engine.beforeCalc();
        EXPECT_EQ(form70Links()[0], std::to_string(statement.form.getNumber()) + "/1/0");
        EXPECT_DOUBLE_EQ(gaReturn()->getStateTaxWithheldNoLocal('1'), 50.0);
        engine.calcMainForm(gaCopy(kGAForm70ID), 1, 1);
        EXPECT_EQ(ga->getIR(kGAForm70ID, 1, entry1.withheld), 50);
        EXPECT_EQ(ga->getIR(kGAForm70ID, 1, kForm70Lines.payments.withheld), 50);

        if (statement.lines.size() > 1) {
            setText(copy, statement.lines.front().state, "ga");
            setNumber(copy, statement.lines.front().withheld, 1000);
            engine.calcMainForm(gaCopy(kGAForm70ID), 1, 1);
            EXPECT_EQ(ga->getIR(kGAForm70ID, 1, entry1.withheld), 60);
            EXPECT_EQ(ga->getIR(kGAForm70ID, 1, kForm70Lines.payments.withheld), 60);
        }
        // The spouse's statement on a return that is not joint: in neither.
        if (const auto box = spouseBoxes.find(statement.form.getNumber()); box != spouseBoxes.end()) {
            copy->setX(box->second);
            engine.beforeCalc();
            engine.calcMainForm(gaCopy(kGAForm70ID), 1, 1);
            EXPECT_EQ(form70Links()[0], "");
            EXPECT_EQ(ga->getIR(kGAForm70ID, 1, kForm70Lines.payments.withheld), 0);
        }
        federal->deleteForm(statement.form, 1);
    }
}

TEST_F(SourceLinks, AWageStatementQualifiesThroughItsSecondGeorgiaRow) {
    auto form = wageStatement(1, 0, 0);
    setText(form, w2Row2.state, "GA");
    setNumber(form, w2Row2.withheld, 90 * 100);
    setNumber(form, w2Row2.amount, 2500 * 100);
    setText(form, w2Row2.stateId, "SECOND");
    engine.beforeCalc();
    EXPECT_EQ(form70Links()[0], "52/1/0");
    engine.calcMainForm(gaCopy(kGAForm70ID), 1, 1);
    EXPECT_EQ(ga->getIR(kGAForm70ID, 1, entry1.withheld), 90);       // tax withheld
    EXPECT_EQ(ga->getIR(kGAForm70ID, 1, entry1.stateAmount), 2500);  // wages
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, entry1.stateId), "SECOND");
    EXPECT_TRUE(ga->formYes(kGAForm70ID, 1, entry1.wageBox));                      // wage box
    EXPECT_TRUE(ga->formYes(kGAForm70ID, 1, entry1.id1Box));                       // id 1
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, entry1.payerId), "123456789");  // its nine digits
}

TEST_F(SourceLinks, ContinuationFormIsMarkedOnlyForKnownDocuments) {
    for (std::uint16_t n = 1; n <= 7; ++n) {
        wageStatement(n, 100, 2500);
    }
    engine.beforeCalc();
    auto cont = gaCopy(kGAForm189218ID);
    setText(gaCopy(kGAForm69ID), kForm69Lines.heading.taxpayerNumber, "400001234");
    engine.calcSourceLinksForm(cont, 1, 1);
    EXPECT_TRUE(ga->isDataEntered(kGAForm189218ID, 1));
    EXPECT_TRUE(cont->calculatedFlag());
    EXPECT_EQ(text(cont, c.f189901), "400001234");
    EXPECT_EQ(cont->getIR(slot1.withheld), 100);
}

TEST_F(SourceLinks, PayerNumberDashesChooseTheIdentificationBox) {
    auto info = fedCopy(kForm110ID);
    setText(info, kForm110StateRows[0].state, "GA");
    setNumber(info, kForm110StateRows[0].withheld, 5000);
    setNumber(info, kForm110StateRows[0].amount, 100000);
    const struct {
        const char* payer;
        bool id1;
    } cases[] = {{"12-3456789", true}, {"12-345-6789", false}, {"123456789", false}};
    for (const auto& k : cases) {
        setText(info, kForm110FieldIds.f20, k.payer);
        EXPECT_EQ(refill("110/1/0"), 1);
        auto cont = gaCopy(kGAForm189218ID);
        EXPECT_EQ(cont->xMarked(slot1.id1Box), k.id1) << k.payer;
        EXPECT_EQ(cont->xMarked(slot1.id2Box), !k.id1) << k.payer;
        EXPECT_TRUE(cont->xMarked(slot1.infoBox));  // information return
        EXPECT_FALSE(cont->xMarked(slot1.wageBox));
        EXPECT_EQ(cont->getIR(slot1.withheld), 50);       // tax withheld
        EXPECT_EQ(cont->getIR(slot1.stateAmount), 1000);  // state amount
    }
}

TEST_F(SourceLinks, LinksThatNameNoDocumentEmptyTheirEntry) {
    wageStatement(1, 1, 100);
    auto cont = gaCopy(kGAForm189218ID);
    for (const char* link : {"999/1/0", "52/2/0", "52/0/0", "52/-1/0", "abc", "52/1", "52/1/0/4", "52 /1/0", "52/1/x",
                             "70/1/4", "70/1/-1", "-52/1/0", "99999999999/1/0"}) {
        setNumber(cont, slot1.withheld, 7);
        setBox(cont, slot1.wageBox);
        EXPECT_EQ(refill(link), 0) << link;
        EXPECT_TRUE(cont->isNull(slot1.withheld)) << link;
        EXPECT_TRUE(cont->isNull(slot1.wageBox)) << link;
    }
    EXPECT_EQ(refill("52/1/0"), 1);
    EXPECT_EQ(refill(" 52/1/0 "), 1);  // blanks around the text are no part of it
    // An empty link empties the entry too.
    EXPECT_EQ(refill(""), 0);
    EXPECT_TRUE(cont->isNull(slot1.withheld));
    // A copy that does not exist: nothing to refill, nothing changed.
    EXPECT_EQ(engine.checkSourceLink(kGAForm189218ID, 5, slot1), 0);
    EXPECT_FALSE(ga->formExists(kGAForm189218ID, 5));
}

TEST_F(SourceLinks, Form70RowsBecomeEntriesAndMarkEveryRowOfTheSameWithholding) {
    auto m = gaCopy(kGAForm70ID);
    setText(m, row1.payerId, "11-1111111");
    setNumber(m, row1.withheld, 300);
    setNumber(m, row1.georgiaWages, 3000);  // the row's Georgia amount
    setText(m, row2.payerId, "22-222-2222");
    setNumber(m, row2.withheld, 300);
    engine.beforeCalc();
    EXPECT_EQ(form70Links(), (std::vector<std::string>{"70/1/0", "70/1/1", "", "", "", ""}));

    EXPECT_EQ(refill("70/1/0"), 1);
    auto cont = gaCopy(kGAForm189218ID);
    EXPECT_TRUE(cont->xMarked(slot1.row1Box));   // row 1
    EXPECT_TRUE(cont->xMarked(slot1.row2Box));   // row 2
    EXPECT_FALSE(cont->xMarked(slot1.row3Box));  // row 3
    // The entry's own row, not another withholding alike, gives the payer,
    // as its nine digits; its dashes as typed give the kind of number.
    EXPECT_EQ(text(cont, slot1.payerId), "111111111");
    EXPECT_TRUE(cont->xMarked(slot1.id1Box));  // typed with one dash
    EXPECT_FALSE(cont->xMarked(slot1.id2Box));
    EXPECT_EQ(refill("70/1/1"), 1);
    EXPECT_EQ(text(cont, slot1.payerId), "222222222");
    EXPECT_TRUE(cont->xMarked(slot1.id2Box));
    EXPECT_TRUE(cont->xMarked(slot1.row1Box));
    EXPECT_EQ(refill("70/1/0"), 1);
    EXPECT_EQ(cont->getIR(slot1.stateAmount), 3000);
    EXPECT_EQ(cont->getIR(slot1.withheld), 300);

    // Past form 70's four rows, or copy 0 of it: no entry.
    for (const char* link : {"70/1/4", "70/0/0"}) {
        EXPECT_EQ(refill(link), 0) << link;
        EXPECT_TRUE(cont->isNull(slot1.withheld)) << link;
        EXPECT_TRUE(cont->isNull(slot1.row1Box)) << link;
        refill("70/1/0");
    }
}

TEST_F(SourceLinks, DocumentsWithoutAPayerNumberKeepOneTypedIn) {
    auto div = fedCopy(kForm164ID);
    setText(div, kForm164StateRows[0].state, "GA");
    setNumber(div, kForm164StateRows[0].withheld, 20000);
    setNumber(div, kForm164FieldIds.f6, 300);
    setNumber(div, kForm164FieldIds.f7, 200);
    EXPECT_EQ(refill("164/1/0"), 1);
    auto cont = gaCopy(kGAForm189218ID);
    EXPECT_EQ(cont->getIR(slot1.stateAmount), 5);  // fields 6 + 7, in dollars
    EXPECT_FALSE(cont->xMarked(slot1.id1Box));
    setText(cont, slot1.payerId, "98-7654321");
    EXPECT_EQ(refill("164/1/0"), 1);
    EXPECT_EQ(text(cont, slot1.payerId), "98-7654321");
    EXPECT_TRUE(cont->xMarked(slot1.id1Box));
}

TEST_F(SourceLinks, OtherStateRowsOfAFullYearResident) {
    const auto& state = kForm73Lines;
    const auto& fullYear = kForm73Lines.fullYear;
    const auto& info = kForm69Lines;
    const auto& stateReturn = kForm133618FieldIds;
    setBox(gaCopy(kGAForm69ID), info.residency.taxpayerFullYear);
    auto nr = fedCopy(kForm133618ID);
    setText(nr, stateReturn.f133651, "al");
    setText(nr, stateReturn.f133652, "NONRESIDENT");
    setNumber(nr, stateReturn.f133653, 12000);
    setNumber(nr, stateReturn.f133654, 400);
    engine.updateOtherStateRows();
    ASSERT_TRUE(ga->formExists(kGAForm73ID, 1));
    auto row = gaCopy(kGAForm73ID);
    EXPECT_EQ(text(row, state.stateAbbreviation), "AL");  // a state code as its field holds one
    EXPECT_EQ(row->getIR(fullYear.otherStateIncome), 12000);
    EXPECT_EQ(row->getIR(fullYear.limit), 400);
    EXPECT_TRUE(row->isProtected(fullYear.otherStateIncome));

    // A second state finds no row of its own: the information form says so.
    auto nr2 = fedCopy(kForm133618ID, 2);
    setText(nr2, stateReturn.f133651, "SC");
    setText(nr2, stateReturn.f133652, "Nonresident");
    engine.updateOtherStateRows();
    EXPECT_EQ(ga->getFormCount(kGAForm73ID), 1);
    EXPECT_TRUE(ga->formYes(kGAForm69ID, 1, info.otherStateWithoutRow));

    // A row no longer marked as filled from the federal return is opened for
    // entry again.
    row->setXNo(state.fromFederalReturn);
    engine.updateOtherStateRows();
    EXPECT_FALSE(row->isProtected(state.stateAbbreviation));
    EXPECT_FALSE(row->isProtected(fullYear.otherStateIncome));
    EXPECT_FALSE(row->isProtected(fullYear.limit));

    // No residency box marked yet (form 69 gives its default later in the
    // calculation): the rows stay as they are. A part-year resident: the
    // boxes are cleared and closed.
    gaCopy(kGAForm69ID)->setXNo(info.residency.taxpayerFullYear);
    row->setX(state.fromFederalReturn);
    engine.updateOtherStateRows();
    EXPECT_TRUE(row->xMarked(state.fromFederalReturn));
    setBox(gaCopy(kGAForm69ID), info.residency.taxpayerPartYear);
    engine.updateOtherStateRows();
    EXPECT_FALSE(row->xMarked(state.fromFederalReturn));
    EXPECT_TRUE(row->isProtected(state.fromFederalReturn));
}

// Each of form 70's four withholding rows becomes an entry of its own, and
// the entry's row box is that row's.
TEST_F(SourceLinks, EachOfForm70sFourRowsBecomesAnEntry) {
    const auto& rows = kForm70Lines.payments.incomeStatements;
    auto m = gaCopy(kGAForm70ID);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        setText(m, rows[r].stateId, "ROW-" + std::to_string(r + 1));
        setNumber(m, rows[r].withheld, 100.0 * static_cast<double>(r + 1));
    }
    engine.beforeCalc();
    EXPECT_EQ(form70Links(), (std::vector<std::string>{"70/1/0", "70/1/1", "70/1/2", "70/1/3", "", ""}));

    auto cont = gaCopy(kGAForm189218ID);
    const FieldId boxes[] = {slot1.row1Box, slot1.row2Box, slot1.row3Box, slot1.row4Box};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string link = "70/1/" + std::to_string(r);
        EXPECT_EQ(refill(link), 1) << link;
        for (std::size_t b = 0; b < rows.size(); ++b) {
            EXPECT_EQ(cont->xMarked(boxes[b]), b == r) << link << " row box " << b + 1;
        }
        EXPECT_EQ(text(cont, slot1.stateId), "ROW-" + std::to_string(r + 1)) << link;
        EXPECT_EQ(cont->getIR(slot1.withheld), 100.0 * static_cast<double>(r + 1)) << link;
    }
}

}  // namespace
}  // namespace gataxtest
