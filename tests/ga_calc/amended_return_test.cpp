// Georgia form 189219, the amended return, on a seeded form 70.
#include <gtest/gtest.h>

#include <set>

#include "gatax_fixture.h"
#include "module/ga_calc/AmendedReturnTable.h"

namespace gataxtest {
namespace {

const auto& a = kGAForm189219FieldIds;
const auto& f70 = kGAForm70FieldIds;

TEST(AmendedReturnTable, EveryPairNamesAFieldOfItsForm) {
    const auto& georgia = *gaenginetest::definitions().georgia;
    const auto main = georgia.getTaxFormDescriptor(kGAForm70ID);
    const auto amended = georgia.getTaxFormDescriptor(kGAForm189219ID);
    std::set<int> targets;
    for (const auto& c : GACalculationMgmt::kAmendedReturnCopies) {
        EXPECT_GE(main->positionOf(c.mainForm), 0) << c.mainForm;
        EXPECT_GE(amended->positionOf(c.amended), 0) << c.amended;
        targets.insert(c.amended.getNumber());
    }
    EXPECT_EQ(targets.size(), 164u);  // no field receives two figures
}

class AmendedReturn : public GaTaxTest {
protected:
    DataMgmt::TaxFormPtr form() { return gaCopy(kGAForm189219ID); }
    // Tax and withholding of form 70.
    void mainForm(double tax, double withheld) {
        setNumber(gaCopy(kGAForm70ID), f70.f86, tax);
        setNumber(gaCopy(kGAForm70ID), f70.f87, withheld);
    }
    void calc() { engine.calcAmendedReturn(form(), 1); }
    double v(const FieldId& x) { return ga->getIR(kGAForm189219ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm189219ID, 1, x); }
};

TEST_F(AmendedReturn, PaymentsAddingToZeroLeaveTheTaxAndRefundsDue) {
    mainForm(900, 0);
    setNumber(form(), a.f189645, 100);  // refunds already received
    calc();
    EXPECT_TRUE(blank(a.f189644));
    EXPECT_EQ(v(a.f189646), -100);
    EXPECT_EQ(v(a.f189647), 1000);
    EXPECT_EQ(v(a.f189654), 1000);
    EXPECT_TRUE(blank(a.f189655));
    EXPECT_FALSE(ga->isDataEntered(kGAForm189219ID, 1));  // the return is not marked as amended
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f108);
    calc();
    EXPECT_TRUE(ga->isDataEntered(kGAForm189219ID, 1));
}

// An overpayment of 500, less the part credited to next year (at most the
// overpayment) and the penalty.
TEST_F(AmendedReturn, OverpaymentSettlesAsRefundOrAmountOwed) {
    mainForm(1000, 1500);
    const struct {
        double credited;
        double penalty;
        double creditedAfter;
        double refund;  // -1: empty
        double owed;    // -1: empty
    } rows[] = {{100, 0, 100, 400, -1}, {800, 0, 500, -1, 0}, {300, 250, 300, -1, 50}};
    for (const auto& r : rows) {
        setNumber(form(), a.f189650, r.credited);
        setNumber(gaCopy(kGAForm70ID), f70.f105, r.penalty);
        calc();
        EXPECT_EQ(v(a.f189648), 500);
        EXPECT_EQ(v(a.f189650), r.creditedAfter);
        EXPECT_EQ(blank(a.f189655), r.refund < 0) << r.credited;
        EXPECT_EQ(blank(a.f189654), r.owed < 0) << r.credited;
        EXPECT_EQ(v(a.f189655), r.refund < 0 ? 0 : r.refund);
        EXPECT_EQ(v(a.f189654), r.owed < 0 ? 0 : r.owed);
    }
}

TEST_F(AmendedReturn, BalanceDueWithTheFirstAdditionClosed) {
    mainForm(1000, 600);
    setNumber(gaCopy(kGAForm70ID), f70.f105, 10);
    setNumber(form(), a.f189652, 20);
    setNumber(form(), a.f189653, 30);
    calc();
    EXPECT_EQ(v(a.f189654), 400 + 10 + 20 + 30);
    setBox(form(), a.f190064);
    calc();
    EXPECT_TRUE(blank(a.f189652));
    EXPECT_TRUE(form()->isProtected(a.f189652));
    EXPECT_EQ(v(a.f189654), 400 + 10 + 30);
}

TEST_F(AmendedReturn, EnteredAccountMustBeRepeatedAlikeLetterCaseAside) {
    mainForm(1000, 1500);  // refund 500
    setBox(form(), a.f191046);
    setBox(form(), a.f191330);
    setText(form(), a.f191331, "061000104");
    setText(form(), a.f191050, "061000104");
    setText(form(), a.f191332, "ab12345");
    setText(form(), a.f191051, "AB12345");
    calc();
    EXPECT_FALSE(form()->xMarked(a.f191049));
    EXPECT_EQ(text(form(), a.f189659), "ab12345");
    EXPECT_TRUE(form()->xMarked(a.f189657));

    setText(form(), a.f191051, "AB12346");
    calc();
    EXPECT_TRUE(form()->xMarked(a.f191049));
    for (const FieldId& x : {a.f189656, a.f189657, a.f189658, a.f189659}) {
        EXPECT_TRUE(blank(x)) << x;
    }
    // The account of the information form; without a refund no account is
    // shown, whatever an earlier calculation left.
    form()->setXNo(a.f191046);
    setBox(form(), a.f191048);
    auto info = gaCopy(kGAForm69ID);
    setBox(info, kGAForm69FieldIds.f77);
    setText(info, kGAForm69FieldIds.f79, "111000025");
    setText(info, kGAForm69FieldIds.f80, "999");
    calc();
    EXPECT_EQ(text(form(), a.f189658), "111000025");
    EXPECT_TRUE(form()->isProtected(a.f191331));
    mainForm(2000, 1500);
    calc();
    EXPECT_TRUE(blank(a.f189658));
    EXPECT_TRUE(blank(a.f189659));
}

}  // namespace
}  // namespace gataxtest
