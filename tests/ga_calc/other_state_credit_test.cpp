// Form 73, the credit for tax paid to another state, one copy at a time on
// seeded lines of forms 70 and 189217.
#include <gtest/gtest.h>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& f73 = kGAForm73FieldIds;
const auto& f69 = kGAForm69FieldIds;
const auto& f70 = kGAForm70FieldIds;

class OtherStateCredit : public GaTaxTest {
protected:
    // Georgia income 60,000, deductions 4,600 and 2,700 exemptions (form 70),
    // and on the part-year schedule Georgia income 40,000 and deductions
    // 7,300.
    void SetUp() override {
        setFilingStatus(1);
        auto main = gaCopy(kGAForm70ID);
        setNumber(main, f70.f64, 60000);
        setNumber(main, f70.f72, 4600);
        setNumber(main, f70.f332, 2700);
        auto partYear = gaCopy(kGAForm189217ID);
        setNumber(partYear, kGAForm189217FieldIds.f189451, 40000);
        setNumber(partYear, kGAForm189217FieldIds.f189473, 7300);
    }
    void answer(const FieldId& x) { setBox(gaCopy(kGAForm69ID), x); }
    DataMgmt::TaxFormPtr state(std::uint16_t copy, double income, double taxPaid, bool partYear = false) {
        auto sheet = ga->getFormUVPtr(kGAForm73ID, copy, true);
        setNumber(sheet, partYear ? f73.f18 : f73.f7, income);
        setNumber(sheet, partYear ? f73.f25 : f73.f16, taxPaid);
        return sheet;
    }
    void calculate(DataMgmt::TaxFormPtr sheet) { engine.calcOtherStateCredit(sheet, sheet->getCopyNumber(), 1); }
};

TEST_F(OtherStateCredit, FullYearShareOfTheDeductionsAndTheCredit) {
    answer(f69.f36);
    auto first = state(1, 30000, 5000);
    auto second = state(2, 90000, 2000);
    auto third = state(3, 30000, 0);
    setText(first, f73.f5, "stale spouse");
    setText(first, f73.f6, "000-00-0000");
    for (const auto& sheet : {third, second, first}) {
        calculate(sheet);
    }
    // 30,000 of 60,000: half the deductions of 7,300 come off; the tax of
    // 26,350 is 1,391, below the 5,000 paid.
    EXPECT_EQ(first->getIR(f73.f9), 5000);
    EXPECT_EQ(first->getIR(f73.f12), 7300);
    EXPECT_EQ(first->getIR(f73.f13), 3650);
    EXPECT_EQ(first->getIR(f73.f14), 26350);
    EXPECT_EQ(first->getIR(f73.f15), 1391);
    EXPECT_EQ(first->getIR(f73.f17), 1391);
    EXPECT_TRUE(first->isDataEntered());
    EXPECT_TRUE(first->isNull(f73.f5));  // not a joint return
    EXPECT_TRUE(first->isNull(f73.f6));
    // Each copy its own ratio: more income than Georgia's is the whole, and
    // the credit is held to the tax paid.
    EXPECT_EQ(second->getIR(f73.f9), 10000);
    EXPECT_EQ(second->getIR(f73.f14), 82700);
    EXPECT_EQ(second->getIR(f73.f17), 2000);
    // Nothing paid: no credit.
    EXPECT_EQ(third->getIR(f73.f17), 0);
    EXPECT_FALSE(third->isDataEntered());
}

TEST_F(OtherStateCredit, NoGeorgiaIncomeGivesNoShare) {
    answer(f69.f36);
    setNumber(gaCopy(kGAForm70ID), f70.f64, 0);
    auto sheet = state(1, 30000, 5000);
    calculate(sheet);
    EXPECT_EQ(sheet->getIR(f73.f9), 0);
    EXPECT_EQ(sheet->getIR(f73.f13), 0);
    EXPECT_EQ(sheet->getIR(f73.f14), 30000);
}

TEST_F(OtherStateCredit, SpouseFullYearComesBeforeTaxpayerPartYear) {
    setFilingStatus(2);
    answer(f69.f38);
    answer(f69.f96);
    auto sheet = state(1, 30000, 5000);
    setNumber(sheet, f73.f18, 123);
    calculate(sheet);
    EXPECT_GT(sheet->getIR(f73.f17), 0);
    EXPECT_TRUE(sheet->isNull(f73.f18));
    EXPECT_FALSE(sheet->isProtected(f73.f138855));
}

TEST_F(OtherStateCredit, PartYearTakesTheScheduleAndEmptiesTheFullYearLines) {
    answer(f69.f38);
    auto sheet = state(1, 20000, 25, true);
    setNumber(sheet, f73.f7, 999);
    calculate(sheet);
    EXPECT_TRUE(sheet->isNull(f73.f7));
    EXPECT_EQ(sheet->getIR(f73.f19), 40000);
    EXPECT_EQ(sheet->getIR(f73.f20), 5000);
    EXPECT_EQ(sheet->getIR(f73.f22), 3650);
    EXPECT_EQ(sheet->getIR(f73.f23), 16350);
    EXPECT_EQ(sheet->getIR(f73.f24), 791);
    EXPECT_EQ(sheet->getIR(f73.f26), 25);
    EXPECT_TRUE(sheet->isDataEntered());
}

TEST_F(OtherStateCredit, NoResidencyAnswerEmptiesTheWorksheet) {
    auto first = state(1, 30000, 5000);
    auto second = state(2, 30000, 5000);
    setNumber(first, f73.f17, 400);
    calculate(second);
    // Only the copy calculated is emptied.
    EXPECT_TRUE(second->isNull(f73.f7));
    EXPECT_TRUE(second->isNull(f73.f16));
    EXPECT_EQ(first->getIR(f73.f17), 400);
    EXPECT_TRUE(second->isProtected(f73.f138855));
    EXPECT_FALSE(second->isDataEntered());
}

}  // namespace
}  // namespace gataxtest
