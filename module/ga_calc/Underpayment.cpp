// Georgia form 71, the penalty for underpaid estimated tax.
//
// Three ways through the form, chosen by its boxes:
//   - an exempt farmer or fisherman (box 8): the form says so and nothing is
//     computed;
//   - one installment (box 9), due 01/15/2019, of 66.66 % of the net tax;
//   - otherwise 70 % of the net tax in up to four installment columns (A to
//     D), with the payments of each period, overpayments carried to the next
//     column, the three exception amounts that cancel or limit a column's
//     penalty, and interest on each late amount by the day up to 04/15/2019.
// Box 91 (the default of the pair 90/91) empties the form after the
// calculation; box 90 keeps it. The total penalty stands in field 87, which
// form 70 adds when field 7 is answered yes.
//
// Amounts are stored unrounded; the reader of a whole amount rounds.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

using TaxYear::CalendarDate;

const Form70Lines& form70 = kForm70Lines;
constexpr const auto& kDueDates = TaxYear::kInstallmentDueDates;

// The estimated payments as the information form holds them: the payments
// without a date count in the first period.
const Form69Lines::EstimatedPayments& estimated = kForm69Lines.estimatedPayments;

// What the form shows for a filer exempt from the penalty.
const char* const kExemptText = "Exempt,farmer/fisherman";

// Interest of one day on a late installment.
constexpr double kDailyInterestRate = TaxYear::kUnderpaymentInterestRate / TaxYear::kDaysInYear;

// The single lines and the installment columns A to D, each column due on
// its date of kDueDates.
constexpr int kColumns = 4;
using InstallmentColumn = Form71Lines::Column;
const Form71Lines& lines = kForm71Lines;
const std::array<InstallmentColumn, kColumns>& kColumnsAtoD = kForm71Lines.columns;

// The fields of every row of a column (null rows included).
std::array<FieldId, 18> columnFields(const InstallmentColumn& c) {
    return {c.requiredShare, c.priorYearShare, c.required,        c.withholdingShare, c.datedPayments, c.periodPayments,
            c.payments,      c.carriedIn,      c.available,       c.underpaid,        c.cumulative,    c.exceptions[0],
            c.exceptions[1], c.exceptions[2],  c.bearingInterest, c.paidDate,         c.daysLate,      c.penalty};
}

void setNullIfField(DataMgmt::TaxForm& form, const FieldId& x) {
    if (!x.isNullID()) {
        form.setNull(x);
    }
}

// The index of the first active column: with N installments the last N
// columns are used.
int firstActiveColumn(int installments) { return kColumns - installments; }

// A whole amount (0 or more) in equal parts over the active columns, in
// cents: every part but the last is the whole divided by their number,
// rounded down to the cent, and the last takes what they leave, so that the
// parts add up to the whole to the cent and none is below 0. `part` names
// the line of a column that holds its part.
template <class Part>
void assignEqualParts(DataMgmt::TaxForm& form, double whole, int first, Part part) {
    const int parts = kColumns - first;
    const std::int64_t cents = Utils::roundR(std::max(0.0, whole) * 100.0);
    const std::int64_t each = cents / parts;
    for (int k = first; k < kColumns; ++k) {
        const std::int64_t share = k < kColumns - 1 ? each : cents - each * (parts - 1);
        form.assignIR(part(kColumnsAtoD[k]), static_cast<double>(share) / 100.0);
    }
}

std::int64_t dayNumberOf(const DataMgmt::TaxForm& form, const FieldId& date) {
    return Utils::strDateToNumber(form.getValue(date).getText());
}

std::int64_t dayNumberOf(const CalendarDate& date) { return Utils::dateToNumber(date.month, date.day, date.year); }

// "04/15/2019": the last day that interest runs.
std::string interestEndText() {
    const CalendarDate& end = TaxYear::kInterestEnd;
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%d", end.month, end.day, end.year);
    return text;
}

// The calculation of one copy of form 71, in named steps.
class UnderpaymentForm {
public:
    UnderpaymentForm(GATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr handle, std::uint16_t copy)
        : engine_(engine), ga_(*engine.gaReturn()), handle_(handle), form_(*handle), copy_(copy) {}

    void calculate();

private:
    void fillHeading();
    void oneInstallment();
    void fourInstallments();
    void spreadWithholdingEqually(int first);
    void limitEnteredWithholding(int first);
    void fillDatedPayments(int first);
    void carryOverpayments(int first);
    void columnPenalty(const InstallmentColumn& c, const CalendarDate& due);

    GATaxReturnCalcEngine& engine_;
    GADataMgmt::GATaxReturn& ga_;
    DataMgmt::TaxFormPtr handle_;
    DataMgmt::TaxForm& form_;
    std::uint16_t copy_;
};

}  // namespace

void GATaxReturnCalcEngine::calcUnderpaymentForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                 int /*passThrough*/) {
    if (form == kGAForm71ID) {
        calcUnderpaymentPenalty(handle, static_cast<std::uint16_t>(copy));
    }
}

void GATaxReturnCalcEngine::calcUnderpaymentPenalty(DataMgmt::TaxFormPtr handle, std::uint16_t copy) {
    if (!handle.isNull()) {
        UnderpaymentForm(*this, handle, copy).calculate();
    }
}

namespace {

void UnderpaymentForm::calculate() {
    DataMgmt::TaxForm& form = form_;
    form.setNull(lines.exemptMark);
    fillHeading();

    if (form.xMarked(lines.exemptFarmer)) {
        // An exempt farmer or fisherman owes no penalty: the form says why.
        form.setX(lines.exemptMark);
        engine_.clearFieldRange(kGAForm71ID, copy_, lines.credits, lines.totalPenalty);
        form.assignText(lines.exemptText, kExemptText);
    } else {
        form.setNull(lines.exemptText);
        if (form.xMarked(lines.oneInstallment)) {
            oneInstallment();
        } else {
            fourInstallments();
        }
    }

    // Box 91 asks for the form to be left empty, whatever its path.
    if (form.xMarked(lines.emptyForm)) {
        engine_.clearFieldRange(kGAForm71ID, copy_, lines.taxYear, lines.totalPenalty);
    }
    if (form.getIN(lines.totalPenalty) > 0 || form.xMarked(lines.exemptFarmer) || form.xMarked(lines.addToReturn)) {
        engine_.markEnteredAndCalculated(kGAForm71ID, copy_);
    }
}

// Names, the tax year, the net tax of form 70 and the choice of path.
void UnderpaymentForm::fillHeading() {
    DataMgmt::TaxForm& form = form_;
    engine_.assignOwnerName(handle_, kGAForm69ID, ga_.getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1},
                            lines.taxpayerName, lines.taxpayerNumber, Primitives::kNullFieldID,
                            Primitives::kNullFieldID, lines.spouseName, lines.spouseNumber, Primitives::kNullFieldID,
                            Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
    form.assignIR(lines.taxYear, TaxYear::kYear);
    Utils::setDefaultX(handle_, lines.emptyForm, lines.keepForm, lines.emptyForm);

    ga_.getII(kGAForm70ID, form70.credits.tax, handle_, lines.tax);
    ga_.getII(kGAForm70ID, form70.credits.total, handle_, lines.credits);
    form.minusIIge0(lines.netTax, lines.tax, lines.credits);

    Utils::setDefaultX(handle_, lines.notExempt, lines.notExempt, lines.exemptFarmer);
    form.oneX(lines.exemptFarmer, lines.oneInstallment, lines.exemptFarmer);
}

// One installment of 66.66 % of the net tax, due 01/15/2019, less the
// withholding and the estimated payments, with interest from the due date to
// the payment date (at the latest 04/15/2019). A payment date left empty
// counts as 04/15/2019, as in the four columns; a date that does not read as
// a date, or one on or before the due date, counts no day late; a product
// below 0 (more paid than due) is no penalty.
void UnderpaymentForm::oneInstallment() {
    DataMgmt::TaxForm& form = form_;
    const double paid = static_cast<double>(ga_.getIN(kGAForm70ID, 1, form70.payments.withheld) +
                                            ga_.getIN(kGAForm69ID, 1, estimated.total));
    const double unpaid = form.getIR(lines.netTax) * TaxYear::kOneInstallmentShare - paid;

    const std::int64_t due = dayNumberOf(kDueDates[kColumns - 1]);
    const std::int64_t end = dayNumberOf(TaxYear::kInterestEnd);
    std::int64_t paidOn = form.isNull(lines.paidDate) ? end : dayNumberOf(form, lines.paidDate);
    paidOn = std::min(paidOn, end);
    const std::int64_t daysLate = paidOn > due ? paidOn - due : 0;

    const double amount = static_cast<double>(daysLate) * kDailyInterestRate * unpaid;
    engine_.clearFieldRange(kGAForm71ID, copy_, lines.requiredTotal, kColumnsAtoD[kColumns - 1].penalty);
    form.assignIR(lines.totalPenalty, std::max(0.0, amount));
}

// 70 % of the net tax in N installments (the last N columns).
void UnderpaymentForm::fourInstallments() {
    DataMgmt::TaxForm& form = form_;
    form.timesIR(lines.requiredTotal, lines.netTax, TaxYear::kRequiredInstallmentShare);
    engine_.defaultOrClampField(kGAForm71ID, copy_, lines.installments, kColumns, 1, kColumns);
    const int installments = static_cast<int>(std::clamp<std::int64_t>(form.getIN(lines.installments), 1, kColumns));
    const int first = firstActiveColumn(installments);

    // Columns left of the active ones carry nothing, whatever an earlier
    // calculation with more installments left there.
    for (int k = 0; k < first; ++k) {
        for (const FieldId& x : columnFields(kColumnsAtoD[k])) {
            setNullIfField(form, x);
        }
    }
    assignEqualParts(form, static_cast<double>(form.getIN(lines.requiredTotal)), first,
                     [](const InstallmentColumn& c) -> const FieldId& { return c.requiredShare; });
    assignEqualParts(form, form.getIR(lines.priorYearTax), first,
                     [](const InstallmentColumn& c) -> const FieldId& { return c.priorYearShare; });
    for (const InstallmentColumn& c : kColumnsAtoD) {
        form.minII(c.required, c.requiredShare, c.priorYearShare);
    }

    Utils::setDefaultX(handle_, lines.equalParts, lines.enteredParts, lines.enteredParts);
    ga_.getII(kGAForm70ID, form70.payments.withheld, handle_, lines.withholding);
    if (form.xMarked(lines.equalParts)) {
        spreadWithholdingEqually(first);
    } else {
        limitEnteredWithholding(first);
    }
    fillDatedPayments(first);
    carryOverpayments(first);

    for (int k = 0; k < first; ++k) {
        const InstallmentColumn& c = kColumnsAtoD[k];
        for (const FieldId& x : {c.bearingInterest, c.paidDate, c.daysLate, c.penalty}) {
            form.setNull(x);
        }
    }
    for (int k = 0; k < kColumns; ++k) {
        columnPenalty(kColumnsAtoD[k], kDueDates[k]);
    }
    form.plus4(lines.totalPenalty, kColumnsAtoD[0].penalty, kColumnsAtoD[1].penalty, kColumnsAtoD[2].penalty,
               kColumnsAtoD[3].penalty);
}

// The withholding in equal parts of whole cents over the active columns; the
// last column takes what the others leave, so that the parts add up to the
// withholding and none is below 0, as an entered part is not.
void UnderpaymentForm::spreadWithholdingEqually(int first) {
    DataMgmt::TaxForm& form = form_;
    for (const InstallmentColumn& c : kColumnsAtoD) {
        form.makeProtectedAndSetNull(c.withholdingShare);
    }
    assignEqualParts(form, form.getIR(lines.withholding), first,
                     [](const InstallmentColumn& c) -> const FieldId& { return c.withholdingShare; });
}

// Parts entered by the filer, each held to what the parts before it leave of
// the withholding; a part that would be below 0 is 0. The first part is held
// to the withholding itself, cents and all; what the later parts are held to
// is counted in whole dollars. One installment takes the whole withholding.
void UnderpaymentForm::limitEnteredWithholding(int first) {
    DataMgmt::TaxForm& form = form_;
    for (int k = 0; k < first; ++k) {
        form.makeProtectedAndSetNull(kColumnsAtoD[k].withholdingShare);
    }
    const InstallmentColumn& last = kColumnsAtoD[kColumns - 1];
    if (first == kColumns - 1) {
        form.makeProtectedAndSetNull(last.withholdingShare);
        form.assignII(last.withholdingShare, lines.withholding);
        return;
    }
    // To the cent, as the parts are entered: parts that add up to the
    // withholding are all kept.
    double earlierParts = 0.0;
    for (int k = first; k < kColumns; ++k) {
        const FieldId& part = kColumnsAtoD[k].withholdingShare;
        form.unProtect(part);
        if (k == first) {
            form.minII(part, part, lines.withholding);
        } else {
            form.minIR(part, part, form.getIR(lines.withholding) - earlierParts);
            if (form.getIR(part) < 0) {
                form.zero(part);
            }
        }
        earlierParts += form.getIR(part);
    }
}

// The estimated payments of form 69 by the period they fall in (payments
// without a date count in the first period), the periods of inactive columns
// added to the first active one; then each column's payments of the period.
void UnderpaymentForm::fillDatedPayments(int first) {
    DataMgmt::TaxForm& form = form_;
    std::array<double, kColumns> periods{};
    const auto& due = kDueDates;
    engine_.sumAmountsByPeriod(kGAForm69ID, estimated.firstDate, periods[0], periods[1], periods[2], periods[3],
                               due[0].month, due[0].day, due[1].month, due[1].day, due[2].month, due[2].day,
                               due[3].month, due[3].day, static_cast<short>(TaxYear::kYear));
    periods[0] += static_cast<double>(ga_.getIN(kGAForm69ID, 1, estimated.undated));

    double earlier = 0.0;
    for (int k = 0; k < first; ++k) {
        earlier += periods[k];
    }
    form.assignIR(kColumnsAtoD[first].datedPayments, earlier + periods[first]);
    for (int k = first + 1; k < kColumns; ++k) {
        form.assignIR(kColumnsAtoD[k].datedPayments, periods[k]);
    }
    for (const InstallmentColumn& c : kColumnsAtoD) {
        form.plus2(c.periodPayments, c.withholdingShare, c.datedPayments);
        form.assignII(c.payments, c.periodPayments);
    }
}

// Left to right: an overpayment of a column (its underpayment at 0 or below)
// is carried into the next; then the cumulative payments of every column.
void UnderpaymentForm::carryOverpayments(int first) {
    DataMgmt::TaxForm& form = form_;
    for (int k = first; k < kColumns; ++k) {
        const InstallmentColumn& c = kColumnsAtoD[k];
        if (k == 0) {
            form.assignII(c.available, c.payments);
        } else {
            const std::int64_t left = form.getIN(kColumnsAtoD[k - 1].underpaid);
            form.assignIR(c.carriedIn, left <= 0 ? -static_cast<double>(left) : 0.0);
            form.plus2(c.available, c.payments, c.carriedIn);
        }
        form.minusII(c.underpaid, c.required, c.available);
    }
    const auto& a = kColumnsAtoD;
    form.assignII(a[0].cumulative, a[0].payments);
    form.plus2(a[1].cumulative, a[0].payments, a[1].payments);
    form.plus3(a[2].cumulative, a[0].payments, a[1].payments, a[2].payments);
    form.plus4(a[3].cumulative, a[0].payments, a[1].payments, a[2].payments, a[3].payments);
}

// One column's penalty: none when the cumulative payments exceed one of the
// exception amounts entered, or when nothing is underpaid; otherwise
// interest by the day on the amount that bears it, from the due date to the
// payment date.
void UnderpaymentForm::columnPenalty(const InstallmentColumn& c, const CalendarDate& due) {
    DataMgmt::TaxForm& form = form_;
    const double cumulative = form.getIR(c.cumulative);
    const bool excepted = std::any_of(c.exceptions.begin(), c.exceptions.end(), [&](const FieldId& x) {
        return !x.isNullID() && form.nonNull(x) && cumulative > form.getIR(x);
    });
    if (excepted || form.getIN(c.underpaid) <= 0) {
        form.setNull(c.bearingInterest);
        form.setNull(c.daysLate);
        form.setNull(c.penalty);
        return;
    }
    engine_.calcInstallmentColumn(handle_, c.exceptions[0], c.cumulative, c.underpaid, c.bearingInterest);
    if (form.isNull(c.paidDate)) {
        form.assignText(c.paidDate, interestEndText());
    }
    engine_.computeLatePaymentDays(handle_, c.paidDate, c.daysLate, due.month, due.day, due.year);
    form.timesIR(c.penalty, c.bearingInterest, static_cast<double>(form.getIN(c.daysLate)) * kDailyInterestRate);
}

}  // namespace

// The amount of a column that bears interest: the underpayment, or less when
// the smallest exception amount of the column (an empty one counts as 0; of
// equal amounts the later field) is above 0: that amount less the cumulative
// payments.
void GATaxReturnCalcEngine::calcInstallmentColumn(DataMgmt::TaxFormPtr handle, FieldId firstException,
                                                  FieldId cumulative, FieldId underpaid, FieldId target) {
    DataMgmt::TaxForm& form = *handle;
    std::array<FieldId, 3> exceptions{firstException, Primitives::kNullFieldID, Primitives::kNullFieldID};
    for (const InstallmentColumn& c : kColumnsAtoD) {
        if (c.exceptions[0] == firstException) {
            exceptions = c.exceptions;
        }
    }
    FieldId smallest = exceptions[0];
    for (const FieldId& x : exceptions) {
        if (!x.isNullID() && form.getIR(x) <= form.getIR(smallest)) {
            smallest = x;
        }
    }
    const double limit = form.getIR(smallest);
    const double amount = limit > 0 ? limit - form.getIR(cumulative) : form.getIR(underpaid);
    if (amount >= form.getIR(underpaid)) {
        form.assignII(target, underpaid);
    } else {
        form.assignIR(target, amount);
    }
}

// Days from the due date to the payment date, which is held at 04/15/2019
// (a later date is rewritten so); 0 for a payment on or before the due date
// or a date that does not read as one. Empty when the date is empty.
void GATaxReturnCalcEngine::computeLatePaymentDays(DataMgmt::TaxFormPtr handle, FieldId dateField, FieldId daysField,
                                                   int month, int day, int year) {
    DataMgmt::TaxForm& form = *handle;
    const std::int64_t due = Utils::dateToNumber(month, day, year);
    const std::int64_t end = dayNumberOf(TaxYear::kInterestEnd);
    form.setNull(daysField);
    if (form.isNull(dateField)) {
        return;
    }
    std::int64_t paidOn = dayNumberOf(form, dateField);
    if (paidOn > end) {
        paidOn = end;
        form.assignText(dateField, interestEndText());
    }
    if (paidOn > 0 && paidOn > due) {
        form.assignIR(daysField, static_cast<double>(paidOn - due));
    } else {
        form.zero(daysField);
    }
}

}  // namespace GACalculationMgmt
