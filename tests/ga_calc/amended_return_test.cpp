// Georgia form 189219, the amended return, on a seeded form 70.
#include <gtest/gtest.h>

#include <set>

#include "gatax_fixture.h"
#include "module/catalogues/AmendedCopyLines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"

namespace gataxtest {
namespace {

const Form189219Lines::Settlement& s = kForm189219Lines.settlement;
const Form189219Lines::Deposit& d = kForm189219Lines.deposit;
const Form70Lines& f70 = kForm70Lines;

TEST(AmendedReturnTable, EveryPairNamesAFieldOfItsForm) {
    const auto& georgia = *gaenginetest::definitions().georgia;
    const auto main = georgia.getTaxFormDescriptor(kGAForm70ID);
    const auto amended = georgia.getTaxFormDescriptor(kGAForm189219ID);
    std::set<int> targets;
    for (const auto& c : kAmendedReturnCopies) {
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
        setNumber(gaCopy(kGAForm70ID), f70.credits.netTax, tax);
        setNumber(gaCopy(kGAForm70ID), f70.payments.withheld, withheld);
    }
    void calc() { engine.calcAmendedReturn(form(), 1); }
    double v(const FieldId& x) { return ga->getIR(kGAForm189219ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm189219ID, 1, x); }
};

TEST_F(AmendedReturn, PaymentsAddingToZeroLeaveTheTaxAndRefundsDue) {
    mainForm(900, 0);
    setNumber(form(), s.refundsReceived, 100);
    calc();
    EXPECT_TRUE(blank(s.totalPayments));
    EXPECT_EQ(v(s.netPayments), -100);
    EXPECT_EQ(v(s.balanceBeforeAdditions), 1000);
    EXPECT_EQ(v(s.amountOwed), 1000);
    EXPECT_TRUE(blank(s.refund));
    EXPECT_FALSE(ga->isDataEntered(kGAForm189219ID, 1));  // the return is not marked as amended
    setBox(gaCopy(kGAForm69ID), kForm69Lines.questions.amended);
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
        setNumber(form(), s.creditedToNextYear, r.credited);
        setNumber(gaCopy(kGAForm70ID), f70.result.penalty, r.penalty);
        calc();
        EXPECT_EQ(v(s.overpayment), 500);
        EXPECT_EQ(v(s.creditedToNextYear), r.creditedAfter);
        EXPECT_EQ(blank(s.refund), r.refund < 0) << r.credited;
        EXPECT_EQ(blank(s.amountOwed), r.owed < 0) << r.credited;
        EXPECT_EQ(v(s.refund), r.refund < 0 ? 0 : r.refund);
        EXPECT_EQ(v(s.amountOwed), r.owed < 0 ? 0 : r.owed);
    }
}

TEST_F(AmendedReturn, BalanceDueWithTheFirstAdditionClosed) {
    mainForm(1000, 600);
    setNumber(gaCopy(kGAForm70ID), f70.result.penalty, 10);
    setNumber(form(), s.addition1, 20);
    setNumber(form(), s.addition2, 30);
    calc();
    EXPECT_EQ(v(s.amountOwed), 400 + 10 + 20 + 30);
    setBox(form(), s.closeAddition1);
    calc();
    EXPECT_TRUE(blank(s.addition1));
    EXPECT_TRUE(form()->isProtected(s.addition1));
    EXPECT_EQ(v(s.amountOwed), 400 + 10 + 30);
}

TEST_F(AmendedReturn, EnteredAccountMustBeRepeatedAlikeLetterCaseAside) {
    mainForm(1000, 1500);  // refund 500
    setBox(form(), d.useEntered);
    setBox(form(), d.enteredSavings);
    setText(form(), d.enteredRouting, "061000104");
    setText(form(), d.repeatedRouting, "061000104");
    setText(form(), d.enteredAccount, "ab12345");
    setText(form(), d.repeatedAccount, "AB12345");
    calc();
    EXPECT_FALSE(form()->xMarked(d.entriesDiffer));
    EXPECT_EQ(text(form(), d.accountNumber), "AB12345");  // in an account number's one form
    EXPECT_TRUE(form()->xMarked(d.savings));

    setText(form(), d.repeatedAccount, "AB12346");
    calc();
    EXPECT_TRUE(form()->xMarked(d.entriesDiffer));
    for (const FieldId& x : {d.checking, d.savings, d.routingNumber, d.accountNumber}) {
        EXPECT_TRUE(blank(x)) << x;
    }
    // The account of the information form; without a refund no account is
    // shown, whatever an earlier calculation left.
    form()->setXNo(d.useEntered);
    setBox(form(), d.useInformationForm);
    auto info = gaCopy(kGAForm69ID);
    setBox(info, kForm69Lines.options.directDeposit);
    setText(info, kForm69Lines.options.depositRouting, "111000025");
    setText(info, kForm69Lines.options.depositAccount, "999");
    calc();
    EXPECT_EQ(text(form(), d.routingNumber), "111000025");
    EXPECT_TRUE(form()->isProtected(d.enteredRouting));
    mainForm(2000, 1500);
    calc();
    EXPECT_TRUE(blank(d.routingNumber));
    EXPECT_TRUE(blank(d.accountNumber));
}

}  // namespace
}  // namespace gataxtest
