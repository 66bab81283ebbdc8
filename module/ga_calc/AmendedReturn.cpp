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

#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/AmendedReturnTable.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {
const auto& f70 = kGAForm70FieldIds;
const auto& f189219 = kGAForm189219FieldIds;
}  // namespace

const std::array<AmendedCopy, 164> kAmendedReturnCopies{{
    {f70.f21, f189219.f189563},     {f70.f22, f189219.f189564},     {f70.f189480, f189219.f190066},
    {f70.f189481, f189219.f190067}, {f70.f24, f189219.f189565},     {f70.f25, f189219.f189566},
    {f70.f26, f189219.f189567},     {f70.f27, f189219.f189568},     {f70.f28, f189219.f189569},
    {f70.f29, f189219.f189571},     {f70.f30, f189219.f189572},     {f70.f31, f189219.f189573},
    {f70.f32, f189219.f189574},     {f70.f33, f189219.f189575},     {f70.f35, f189219.f189577},
    {f70.f36, f189219.f189578},     {f70.f37, f189219.f189579},     {f70.f38, f189219.f189580},
    {f70.f39, f189219.f189581},     {f70.f40, f189219.f189582},     {f70.f74353, f189219.f189583},
    {f70.f41, f189219.f189584},     {f70.f42, f189219.f189585},     {f70.f43, f189219.f189586},
    {f70.f44, f189219.f189587},     {f70.f324, f189219.f189588},    {f70.f325, f189219.f189589},
    {f70.f326, f189219.f189590},    {f70.f80, f189219.f189591},     {f70.f327, f189219.f189592},
    {f70.f45, f189219.f189594},     {f70.f46, f189219.f189595},     {f70.f47, f189219.f189596},
    {f70.f48, f189219.f189597},     {f70.f49, f189219.f189598},     {f70.f50, f189219.f189599},
    {f70.f51, f189219.f189600},     {f70.f52, f189219.f189601},     {f70.f53, f189219.f189602},
    {f70.f54, f189219.f189603},     {f70.f55, f189219.f189604},     {f70.f56, f189219.f189605},
    {f70.f57, f189219.f189606},     {f70.f58, f189219.f189607},     {f70.f59, f189219.f189608},
    {f70.f60, f189219.f189609},     {f70.f111, f189219.f189614},    {f70.f62, f189219.f189615},
    {f70.f63, f189219.f189616},     {f70.f64, f189219.f189617},     {f70.f65, f189219.f189618},
    {f70.f66, f189219.f189619},     {f70.f67, f189219.f189620},     {f70.f68, f189219.f189621},
    {f70.f69, f189219.f189622},     {f70.f70, f189219.f189623},     {f70.f71, f189219.f189624},
    {f70.f72, f189219.f189625},     {f70.f77, f189219.f189626},     {f70.f78, f189219.f189627},
    {f70.f79, f189219.f189628},     {f70.f81, f189219.f189629},     {f70.f329, f189219.f189630},
    {f70.f82, f189219.f189631},     {f70.f330, f189219.f189632},    {f70.f331, f189219.f189633},
    {f70.f332, f189219.f189634},    {f70.f83, f189219.f189635},     {f70.f84, f189219.f189636},
    {f70.f95, f189219.f190068},     {f70.f96, f189219.f190069},     {f70.f97, f189219.f190070},
    {f70.f189482, f189219.f190071}, {f70.f189483, f189219.f190072}, {f70.f85, f189219.f189637},
    {f70.f189484, f189219.f190073}, {f70.f86, f189219.f189638},     {f70.f87, f189219.f189639},
    {f70.f140463, f189219.f189640}, {f70.f173, f189219.f189641},    {f70.f189485, f189219.f190074},
    {f70.f189486, f189219.f190075}, {f70.f189487, f189219.f190076}, {f70.f189488, f189219.f190077},
    {f70.f189489, f189219.f190078}, {f70.f189490, f189219.f190079}, {f70.f189491, f189219.f190080},
    {f70.f189492, f189219.f190081}, {f70.f189493, f189219.f190082}, {f70.f189494, f189219.f190083},
    {f70.f189495, f189219.f190084}, {f70.f189496, f189219.f190085}, {f70.f189497, f189219.f190086},
    {f70.f189498, f189219.f190087}, {f70.f189499, f189219.f190088}, {f70.f189500, f189219.f190089},
    {f70.f189501, f189219.f190090}, {f70.f189502, f189219.f190091}, {f70.f189503, f189219.f190092},
    {f70.f189504, f189219.f190093}, {f70.f189505, f189219.f190094}, {f70.f189506, f189219.f190095},
    {f70.f189507, f189219.f190096}, {f70.f189508, f189219.f190097}, {f70.f189509, f189219.f190098},
    {f70.f189510, f189219.f190099}, {f70.f189511, f189219.f190100}, {f70.f189512, f189219.f190101},
    {f70.f189513, f189219.f190102}, {f70.f189514, f189219.f190103}, {f70.f189515, f189219.f190104},
    {f70.f189516, f189219.f190105}, {f70.f189517, f189219.f190106}, {f70.f189518, f189219.f190107},
    {f70.f189519, f189219.f190108}, {f70.f189520, f189219.f190109}, {f70.f189521, f189219.f190110},
    {f70.f189522, f189219.f190111}, {f70.f189523, f189219.f190112}, {f70.f189524, f189219.f190113},
    {f70.f189525, f189219.f190114}, {f70.f189526, f189219.f190115}, {f70.f189527, f189219.f190116},
    {f70.f189528, f189219.f190117}, {f70.f189529, f189219.f190118}, {f70.f189530, f189219.f190119},
    {f70.f189531, f189219.f190120}, {f70.f189532, f189219.f190121}, {f70.f189533, f189219.f190122},
    {f70.f189534, f189219.f190123}, {f70.f189535, f189219.f190124}, {f70.f189536, f189219.f190125},
    {f70.f189537, f189219.f190126}, {f70.f189538, f189219.f190127}, {f70.f189539, f189219.f190128},
    {f70.f189540, f189219.f190129}, {f70.f189541, f189219.f190130}, {f70.f189542, f189219.f190131},
    {f70.f189543, f189219.f190132}, {f70.f189544, f189219.f190133}, {f70.f189545, f189219.f190134},
    {f70.f189546, f189219.f190135}, {f70.f189547, f189219.f190136}, {f70.f189548, f189219.f190137},
    {f70.f189549, f189219.f190138}, {f70.f189550, f189219.f190139}, {f70.f189551, f189219.f190140},
    {f70.f189552, f189219.f190141}, {f70.f189553, f189219.f190142}, {f70.f189554, f189219.f190143},
    {f70.f189555, f189219.f190144}, {f70.f189556, f189219.f190145}, {f70.f88, f189219.f189642},
    {f70.f105, f189219.f189651},    {f70.f107, f189219.f189655},    {f70.f110, f189219.f189662},
    {f70.f108, f189219.f189663},    {f70.f333, f189219.f189664},    {f70.f109, f189219.f189665},
    {f70.f209, f189219.f189666},    {f70.f49773, f189219.f189667},  {f70.f132303, f189219.f189668},
    {f70.f74354, f189219.f189669},  {f70.f44953, f189219.f189670},
}};

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
