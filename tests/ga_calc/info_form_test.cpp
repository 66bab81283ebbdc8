// Georgia form 69 (information form) and form 76 (document list).
#include <gtest/gtest.h>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& f69 = kGAForm69FieldIds;
const auto& f76 = kGAForm76FieldIds;

class InfoForm : public GaTaxTest {
protected:
    DataMgmt::TaxFormPtr info() { return gaCopy(kGAForm69ID); }
    void calculate() { engine.calcInfoForm(info(), 1, 1); }
    bool marked(const FieldId& x) { return info()->xMarked(x); }
};

TEST_F(InfoForm, AnUnansweredSpouseFollowsAPartYearTaxpayer) {
    // No residency box entered: the federal return's Georgia row makes the
    // taxpayer a part-year resident.
    setFilingStatus(2);
    auto form92 = fedCopy(kForm92ID);
    setText(form92, kForm92FieldIds.f675, "GA");
    setText(form92, kForm92FieldIds.f43844, "Part-year resident");
    calculate();
    EXPECT_TRUE(marked(f69.f38));
    EXPECT_TRUE(marked(f69.f97));  // the spouse follows
    EXPECT_TRUE(marked(f69.f111));
    EXPECT_FALSE(marked(f69.f110));
    EXPECT_FALSE(marked(f69.f112));
}

TEST_F(InfoForm, ReturnResidencyOfAJointReturnNeedsBothFilers) {
    setFilingStatus(2);
    setBox(info(), f69.f36);
    setBox(info(), f69.f97);
    calculate();
    EXPECT_TRUE(marked(f69.f111));
    EXPECT_FALSE(marked(f69.f110));

    info()->setXNo(f69.f97);
    setBox(info(), f69.f96);
    calculate();
    EXPECT_TRUE(marked(f69.f110));
    EXPECT_FALSE(marked(f69.f111));

    // A full-year taxpayer beside a nonresident spouse: part year.
    info()->setXNo(f69.f96);
    setBox(info(), f69.f98);
    calculate();
    EXPECT_TRUE(marked(f69.f111));
    EXPECT_FALSE(marked(f69.f112));

    info()->setXNo(f69.f36);
    setBox(info(), f69.f37);
    calculate();
    EXPECT_TRUE(marked(f69.f112));
    EXPECT_FALSE(marked(f69.f110));
    EXPECT_FALSE(marked(f69.f111));
}

TEST_F(InfoForm, OtherStatusesFollowTheTaxpayerOnly) {
    setFilingStatus(1);
    setBox(info(), f69.f37);
    setBox(info(), f69.f96);  // a spouse answer on a single return is not read
    calculate();
    EXPECT_TRUE(marked(f69.f112));
    EXPECT_FALSE(marked(f69.f36));  // the trio keeps one mark
}

TEST_F(InfoForm, PartYearPeriodDefaultsToTheWholeYearAndKeepsEnteredDates) {
    setFilingStatus(1);
    setBox(info(), f69.f38);
    calculate();
    EXPECT_EQ(text(info(), f69.f113), "01/01/2018");
    EXPECT_EQ(text(info(), f69.f114), "12/31/2018");

    setText(info(), f69.f113, "06/15/2018");
    calculate();
    EXPECT_EQ(text(info(), f69.f113), "06/15/2018");

    // Full year: both dates go and are closed.
    info()->setXNo(f69.f38);
    setBox(info(), f69.f36);
    calculate();
    EXPECT_TRUE(info()->isNull(f69.f113));
    EXPECT_TRUE(info()->isNull(f69.f114));
    EXPECT_TRUE(info()->isProtected(f69.f113));
    EXPECT_TRUE(info()->isProtected(f69.f114));
}

TEST_F(InfoForm, MainFormFilingStatusAndMark) {
    setFilingStatus(3);
    setBox(info(), f69.f36);
    calculate();
    EXPECT_EQ(info()->getIR(f69.f6), 70);
    EXPECT_EQ(info()->getIR(f69.f7), 3);
    EXPECT_TRUE(ga->isDataEntered(kGAForm69ID, 1));
    // The main form was calculated first.
    EXPECT_TRUE(ga->isDataEntered(kGAForm70ID, 1));
    EXPECT_EQ(ga->getFieldAsString(kStateForm14ID, 1, kStateForm14FieldIds.f143855), "2018.2.0.5901");
}

TEST_F(InfoForm, IssuingStateOnlyBesideALicenceNumber) {
    setFilingStatus(1);
    calculate();
    EXPECT_TRUE(info()->isNull(f69.f193210));
    EXPECT_TRUE(info()->isProtected(f69.f193210));

    setText(info(), f69.f193209, "123456789");
    calculate();
    EXPECT_EQ(text(info(), f69.f193210), "GA");
    EXPECT_TRUE(info()->isNull(f69.f193218));  // the spouse has no number
}

TEST_F(InfoForm, Form78Marks) {
    setFilingStatus(1);
    calculate();
    EXPECT_FALSE(marked(f69.f199731));
    EXPECT_FALSE(marked(f69.f196259));

    fedCopy(kForm78ID, 1);
    auto second = fedCopy(kForm78ID, 2);
    setBox(second, kForm78FieldIds.f120);
    calculate();
    EXPECT_TRUE(marked(f69.f199731));
    EXPECT_TRUE(marked(f69.f196259));
}

TEST_F(InfoForm, PaperReturnWithoutDepositClosesTheBankFields) {
    setFilingStatus(1);
    setBox(info(), f69.f197644);
    setText(info(), f69.f79, "123456789");
    calculate();
    EXPECT_TRUE(info()->isNull(f69.f79));
    EXPECT_TRUE(info()->isNull(f69.f77));
    EXPECT_TRUE(info()->isProtected(f69.f77));
    EXPECT_TRUE(info()->isProtected(f69.f84));
}

// ---- form 76

class DocumentList : public GaTaxTest {
protected:
    DataMgmt::TaxFormPtr list() { return gaCopy(kGAForm76ID); }
    void dependent(std::uint16_t copy, const std::string& first, bool listed) {
        auto d = fedCopy(kForm113ID, copy);
        setText(d, kForm113FieldIds.f1103, first);
        setText(d, kForm113FieldIds.f1105, "Lee");
        setText(d, kForm113FieldIds.f1106, "123456789");
        setText(d, kForm113FieldIds.f1108, "Son");
        setBox(d, kForm113FieldIds.f1136, listed);
    }
    void calculate() { engine.calcDocumentListForm(kGAForm76ID, list(), 1, 1); }
    // The field at a place of the row area (row from 1, column 0 to 3).
    FieldId cell(int row, int column) { return FieldId(9 + (row - 1) * 4 + column); }
};

TEST_F(DocumentList, RowsWithoutGapsAndTheRestEmptied) {
    dependent(1, "Ann", true);
    dependent(2, "Bob", false);
    dependent(3, "Cy", true);
    setText(list(), cell(3, 0), "old");
    setText(list(), f76.f107, "old");
    setCommon(Utils::PCTypes::kDependents, 3);
    calculate();
    EXPECT_EQ(text(list(), cell(1, 0)), "Ann");
    EXPECT_EQ(text(list(), cell(1, 2)), "123456789");
    EXPECT_EQ(text(list(), cell(2, 0)), "Cy");
    EXPECT_TRUE(list()->isNull(cell(3, 0)));
    EXPECT_TRUE(list()->isNull(f76.f107));
    EXPECT_EQ(list()->getIR(f76.f2), 2);
    EXPECT_TRUE(list()->xMarked(f76.f1));
    EXPECT_FALSE(ga->isDataEntered(kGAForm76ID, 1));  // 3 is not more than 3

    setCommon(Utils::PCTypes::kDependents, 4);
    calculate();
    EXPECT_TRUE(ga->isDataEntered(kGAForm76ID, 1));
    EXPECT_TRUE(list()->calculatedFlag());
}

TEST_F(DocumentList, NoDependentsLeavesAnEmptyListWithItsBox) {
    calculate();
    EXPECT_EQ(list()->getIR(f76.f2), 0);
    EXPECT_FALSE(list()->isNull(f76.f2));
    EXPECT_TRUE(list()->xMarked(f76.f1));
}

TEST_F(DocumentList, MoreDependentsThanRowsStopAtTheLastRow) {
    for (std::uint16_t n = 1; n <= 30; ++n) {
        dependent(n, "Kid" + std::to_string(n), true);
    }
    setText(list(), f76.f108, "closing");
    calculate();
    EXPECT_EQ(list()->getIR(f76.f2), 24);
    EXPECT_EQ(text(list(), cell(24, 0)), "Kid24");
    EXPECT_EQ(text(list(), cell(24, 3)), "Son");  // field 104
    EXPECT_EQ(text(list(), f76.f108), "closing");
}

TEST_F(DocumentList, ShortFederalFormListsNoRows) {
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f48);  // federal form 87 filed
    dependent(1, "Ann", true);
    setText(list(), f76.f5, "NAME");
    setNumber(list(), f76.f2, 4);
    setText(list(), cell(1, 0), "old");
    setText(list(), f76.f108, "closing");
    calculate();
    EXPECT_TRUE(list()->isNull(cell(1, 0)));
    EXPECT_TRUE(list()->isNull(f76.f108));
    EXPECT_EQ(text(list(), f76.f5), "NAME");
    EXPECT_EQ(list()->getIR(f76.f2), 4);
    EXPECT_FALSE(ga->isDataEntered(kGAForm76ID, 1));
}

}  // namespace
}  // namespace gataxtest
