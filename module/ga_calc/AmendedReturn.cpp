// Georgia form 189219, the amended return.
//
// The schedule repeats 164 figures of form 70, adds the payments to the
// payments made with the original return, takes off the refunds already
// received, and settles the result against the tax: an overpayment (less the
// amounts applied from it, the rest refunded) or a balance due (with the
// amounts added to it). A refund goes by direct deposit into the account of
// the information form or into one entered here twice alike.

#include <cstdint>
#include <string>

#include "module/catalogues/AmendedCopyLines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

const Form189219Lines::Settlement& lines = kForm189219Lines.settlement;
const Form189219Lines::Deposit& deposit = kForm189219Lines.deposit;

// The account entered on the schedule, each text entered twice.
const FieldId kEnteredAccount[] = {deposit.enteredChecking, deposit.enteredSavings,  deposit.enteredRouting,
                                   deposit.enteredAccount,  deposit.repeatedRouting, deposit.repeatedAccount};

// The calculation of one copy of form 189219, in named steps.
class AmendedReturnForm {
public:
    AmendedReturnForm(GATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr handle)
        : ga_(*engine.gaReturn()), handle_(handle), form_(*handle) {}

    void calculate();

private:
    void copyMainForm();
    void payments();
    void overpayment();
    void balanceDue();
    void depositAccount();
    void checkEnteredAccount();

    GADataMgmt::GATaxReturn& ga_;
    DataMgmt::TaxFormPtr handle_;
    DataMgmt::TaxForm& form_;
};

}  // namespace

void GATaxReturnCalcEngine::calcAmendedReturnForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                  int /*passThrough*/) {
    if (form == kGAForm189219ID) {
        calcAmendedReturn(handle, static_cast<std::uint16_t>(copy));
    }
}

void GATaxReturnCalcEngine::calcAmendedReturn(DataMgmt::TaxFormPtr handle, std::uint16_t copy) {
    if (handle.isNull()) {
        return;
    }
    AmendedReturnForm(*this, handle).calculate();
    // The schedule counts only on a return marked as amended.
    if (gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.questions.amended)) {
        markEnteredAndCalculated(kGAForm189219ID, copy);
    }
}

namespace {

void AmendedReturnForm::calculate() {
    DataMgmt::TaxForm& form = form_;
    form.oneX(deposit.checking, deposit.savings, deposit.checking);
    form.oneX(deposit.enteredChecking, deposit.enteredSavings, deposit.enteredChecking);
    copyMainForm();
    Utils::setDefaultX(handle_, lines.pairFirst, lines.pairSecond, lines.pairSecond);
    Utils::setDefaultX(handle_, lines.openAddition1, lines.closeAddition1, lines.closeAddition1);
    payments();
    if (form.getIR(lines.overpayment) > 0) {
        overpayment();
    } else {
        balanceDue();
    }
    depositAccount();
    form.setXNo(deposit.entriesDiffer);
    if (form.xMarked(deposit.useEntered) && !form.xMarked(deposit.useInformationForm)) {
        checkEnteredAccount();
    }
}

void AmendedReturnForm::copyMainForm() {
    for (const AmendedCopy& c : kAmendedReturnCopies) {
        ga_.getII(kGAForm70ID, c.mainForm, handle_, c.amended);
    }
}

// Payments with those made with the original return, less the refunds
// already received, against the tax.
void AmendedReturnForm::payments() {
    DataMgmt::TaxForm& form = form_;
    form.setValueToSumOf(lines.totalPayments, lines.withheld, lines.otherWithheld, lines.estimatedPaid,
                         lines.paidWithOriginal, Primitives::kNullFieldID);
    if (form.getIR(lines.totalPayments) == 0) {
        form.setNull(lines.totalPayments);
    }
    form.minusII(lines.netPayments, lines.totalPayments, lines.refundsReceived);
    form.minusIIge0(lines.balanceBeforeAdditions, lines.tax, lines.netPayments);
    form.minusIIge0(lines.overpayment, lines.netPayments, lines.tax);
}

// An overpayment, less the part credited to next year (at most the
// overpayment) and the penalty: a refund, or an amount owed when they take
// more than the overpayment.
void AmendedReturnForm::overpayment() {
    DataMgmt::TaxForm& form = form_;
    form.setNull(lines.balanceBeforeAdditions);
    form.makeProtectedAndSetNull(lines.addition1);
    form.makeProtectedAndSetNull(lines.addition2);
    form.setNull(lines.amountOwed);
    form.unProtect(lines.overpaymentNote);
    form.unProtect(lines.creditedToNextYear);

    const double over = form.getIR(lines.overpayment);
    form.minIR(lines.creditedToNextYear, lines.creditedToNextYear, over);
    const double rest = over - (form.getIR(lines.penalty) + form.getIR(lines.creditedToNextYear));
    if (rest > 0) {
        form.assignIR(lines.refund, rest);
        form.makeProtectedAndSetNull(lines.amountOwed);
    } else {
        form.makeProtectedAndSetNull(lines.refund);
        form.assignIR(lines.amountOwed, -rest);
    }
}

// A balance due, with the penalty and the additions (the first one only
// while its closing box is not marked).
void AmendedReturnForm::balanceDue() {
    DataMgmt::TaxForm& form = form_;
    form.setNull(lines.overpayment);
    form.makeProtectedAndSetNull(lines.creditedToNextYear);
    form.makeProtectedAndSetNull(lines.overpaymentNote);
    form.setNull(lines.refund);
    if (form.xMarked(lines.closeAddition1)) {
        form.makeProtectedAndSetNull(lines.addition1);
    } else {
        form.unProtect(lines.addition1);
    }
    form.unProtect(lines.addition2);
    form.plus4(lines.amountOwed, lines.balanceBeforeAdditions, lines.penalty, lines.addition1, lines.addition2);
}

// Where a refund goes: the account of the information form, one entered on
// the schedule, or none. Without a refund, or with no direct
// deposit asked, no account is shown.
void AmendedReturnForm::depositAccount() {
    DataMgmt::TaxForm& form = form_;
    const bool refund = form.getIR(lines.refund) > 0;
    const bool noDeposit = form.xMarked(deposit.noDeposit);
    const bool fromInformationForm = form.xMarked(deposit.useInformationForm);
    if (refund && fromInformationForm && !noDeposit) {
        const Form69Lines::Options& info = kForm69Lines.options;
        if (ga_.hasSigValue(kGAForm69ID, 1, info.directDeposit)) {
            ga_.getII(kGAForm69ID, info.depositChecking, handle_, deposit.checking);
            ga_.getII(kGAForm69ID, info.depositSavings, handle_, deposit.savings);
            ga_.getII(kGAForm69ID, info.depositRouting, handle_, deposit.routingNumber);
            ga_.getII(kGAForm69ID, info.depositAccount, handle_, deposit.accountNumber);
            for (const FieldId& x : kEnteredAccount) {
                form.makeProtectedAndSetNull(x);
            }
            form.makeProtectedAndSetNull(deposit.noDeposit);
        }
    } else if (refund && !noDeposit && !fromInformationForm) {
        for (const FieldId& x : kEnteredAccount) {
            form.unProtect(x);
        }
    } else {
        for (const FieldId& x :
             {deposit.checking, deposit.savings, deposit.routingNumber, deposit.accountNumber, deposit.enteredRouting,
              deposit.enteredAccount, deposit.repeatedRouting, deposit.repeatedAccount}) {
            form.makeProtectedAndSetNull(x);
        }
    }
}

// An account entered on the schedule is taken when each text and its
// repeated entry agree (letter case aside); otherwise the schedule says they
// differ and shows no account.
void AmendedReturnForm::checkEnteredAccount() {
    DataMgmt::TaxForm& form = form_;
    auto agree = [&](const FieldId& a, const FieldId& b) {
        return Utils::QVStringUtils::stricmp(form.valueString(a), form.valueString(b)) == 0;
    };
    if (agree(deposit.enteredRouting, deposit.repeatedRouting) &&
        agree(deposit.enteredAccount, deposit.repeatedAccount)) {
        form.assignII(deposit.checking, deposit.enteredChecking);
        form.assignII(deposit.savings, deposit.enteredSavings);
        form.assignII(deposit.routingNumber, deposit.enteredRouting);
        form.assignII(deposit.accountNumber, deposit.enteredAccount);
        return;
    }
    form.setX(deposit.entriesDiffer);
    for (const FieldId& x : {deposit.checking, deposit.savings, deposit.routingNumber, deposit.accountNumber}) {
        form.makeProtectedAndSetNull(x);
    }
}

}  // namespace

}  // namespace GACalculationMgmt
