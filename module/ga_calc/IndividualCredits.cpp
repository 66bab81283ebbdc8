// The individual credit worksheets IND-CR 201 to 209 (forms 190054 to
// 190062) and their summary, form 74.
//
// Each worksheet applies its credit's caps and rates to the amounts entered,
// and a worksheet that yields a credit or an amount left over is marked as
// entered. Form 74 gathers each worksheet's credit line and totals them; the
// main form takes the total. Form 74 comes before the worksheets in the
// calculation order, so it takes the worksheets' lines as the previous
// calculation left them.

#include <algorithm>
#include <cstdint>

#include "module/catalogues/Form74Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/GeorgiaForms.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using namespace TaxYear;

// The line stays as entered, but never above the limit; a line within it is
// not written.
double capAt(DataMgmt::TaxForm& sheet, const FieldId& x, double limit) {
    if (sheet.getIR(x) > limit) {
        return store(sheet, x, limit);
    }
    return sheet.getIR(x);
}

// The line becomes the smaller of itself and the limit, written in every
// case: an empty line becomes 0 (or the limit, when that is below 0).
double capInPlace(DataMgmt::TaxForm& sheet, const FieldId& x, double limit) {
    sheet.minIR(x, x, limit);
    return sheet.getIR(x);
}

}  // namespace

void GATaxReturnCalcEngine::sumIndCrParts(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& summary = *handle;
    copyTaxpayerNumber(*gaReturn_, handle, kForm74Lines.taxpayerNumber);

    // Each worksheet's credit line on its line of the summary, in the order
    // of the worksheets.
    double total = 0.0;
    bool anyWorksheet = false;
    for (const GAForms::GeorgiaForm& row : GAForms::kGeorgiaForms) {
        if (!row.individualCredit) {
            continue;
        }
        const GAForms::IndividualCredit& credit = *row.individualCredit;
        gaReturn_->getII(row.form, credit.credit, handle, credit.summaryLine);
        total += summary.getIR(credit.summaryLine);
        anyWorksheet = anyWorksheet || gaReturn_->formExists(row.form, 1);
    }
    store(summary, kForm74Lines.total, total);

    // The summary counts as entered once any worksheet exists, even one
    // without a credit.
    if (summary.getIR(kForm74Lines.total) > 0.0 || anyWorksheet) {
        markEnteredAndCalculated(summary.getFormID(), summary.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr201(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr201Lines& l = kIndCr201;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // One box of the pair is always marked, the second by default. The first
    // gives the fixed amount, the second none.
    Utils::setDefaultX(handle, l.noAmountBox, l.amountBox, l.noAmountBox);
    if (sheet.xMarked(l.amountBox)) {
        store(sheet, l.boxAmount, kIndCr201BoxAmount);
    }
    if (sheet.xMarked(l.noAmountBox)) {
        sheet.setNull(l.boxAmount);
    }

    double sum = sheet.getIR(l.boxAmount);
    for (const FieldId& line : l.cappedLines) {
        sum += capInPlace(sheet, line, kIndCr201LineCap);
    }
    store(sheet, l.sum, sum);
    const double available = store(sheet, l.total, sheet.getIR(l.sum)) + sheet.getIR(l.carriedIn);

    // The credit claimed is the filer's entry, open only when there is
    // something to claim, and at most what is available.
    if (available > 0.0) {
        open(sheet, {l.credit});
        capAt(sheet, l.credit, available);
    } else {
        lock(sheet, {l.credit});
    }
    store(sheet, l.remaining, atLeastZero(available - creditNotBelowZero(sheet, l.credit)));

    if (yieldsCredit(sheet, {l.credit, l.remaining})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr202(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr202Lines& l = kIndCr202;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // A share of a common amount of the federal return.
    const auto federal = gaReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kFederalChildCareCredit);
    store(sheet, l.federalAmount, static_cast<double>(federal));
    store(sheet, l.rateShown, kIndCr202RateShown);
    const double share = store(sheet, l.share, sheet.getIR(l.federalAmount) * kIndCr202Rate);
    store(sheet, l.credit, share);

    if (yieldsCredit(sheet, {l.credit})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr203(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr203Lines& l = kIndCr203;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // The credit claimed never exceeds the two amounts together.
    const double available = sheet.getIR(l.firstAmount) + sheet.getIR(l.secondAmount);
    capAt(sheet, l.credit, atLeastZero(available));
    const double credit = creditNotBelowZero(sheet, l.credit);
    store(sheet, l.remaining, atLeastZero(available - credit));

    if (yieldsCredit(sheet, {l.credit, l.remaining})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr204(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr204Lines& l = kIndCr204;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // A share of the expenses, up to the limit.
    store(sheet, l.rateShown, kIndCr204RateShown);
    const double share = store(sheet, l.share, sheet.getIR(l.expenses) * kIndCr204Rate);
    store(sheet, l.limitShown, kIndCr204Limit);
    const double allowed = store(sheet, l.allowed, std::min(share, kIndCr204Limit));

    // The credit claimed is the filer's entry, up to what the expenses
    // allow. Without expenses the entry is kept as it stands.
    if (allowed > 0.0) {
        open(sheet, {l.credit});
        capAt(sheet, l.credit, allowed);
    }
    creditNotBelowZero(sheet, l.credit);

    if (yieldsCredit(sheet, {l.credit})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr205(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr205Lines& l = kIndCr205;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // Each of the two amount lines that is above 0 brings its own limit.
    double limit = 0.0;
    for (const FieldId& line : {l.firstAmount, l.secondAmount}) {
        if (sheet.getIR(line) > 0.0) {
            limit += kIndCr205LimitPerLine;
        }
    }
    const double sum = store(sheet, l.sum, sheet.getIR(l.firstAmount) + sheet.getIR(l.secondAmount));
    store(sheet, l.limit, limit);
    const double smaller = store(sheet, l.smaller, std::min(sum, limit));
    store(sheet, l.credit, smaller);

    if (yieldsCredit(sheet, {l.credit})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr206(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr206Lines& l = kIndCr206;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // The assistance counts up to the limit.
    store(sheet, l.limitShown, kIndCr206Limit);
    const double assistance = sheet.getIR(l.assistance);
    const double allowed = store(sheet, l.assistanceAllowed, std::min(assistance, kIndCr206Limit));

    // The credit claimed never exceeds the assistance and the amount carried
    // in together, held between 0 and the limit.
    const double ceiling = std::clamp(assistance + sheet.getIR(l.carriedIn), 0.0, kIndCr206Limit);
    capAt(sheet, l.credit, ceiling);
    const double credit = creditNotBelowZero(sheet, l.credit);
    store(sheet, l.remaining, atLeastZero(allowed + sheet.getIR(l.carriedIn) - credit));

    if (yieldsCredit(sheet, {l.credit, l.remaining})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr207(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr207Lines& l = kIndCr207;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // A practice qualifies with more than 0 and fewer than 101 beds, the
    // count compared as entered (100.6 is fewer than 101).
    auto qualifies = [&](const FieldId& beds) {
        const double count = sheet.getIR(beds);
        return count > 0.0 && count < static_cast<double>(kIndCr207BedLimit);
    };
    double limit = qualifies(l.taxpayerPractice.beds) ? kIndCr207CreditPerPractice : 0.0;

    // The spouse's practice counts on a joint return only.
    if (gaReturn_->getFilingStatusNumber() == FilingStatus::kJoint) {
        open(sheet, l.spousePractice.lines());
        if (qualifies(l.spousePractice.beds)) {
            limit += kIndCr207CreditPerPractice;
        }
    } else {
        lock(sheet, l.spousePractice.lines());
    }
    store(sheet, l.credit, store(sheet, l.limit, limit));

    if (yieldsCredit(sheet, {l.credit})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr208(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr208Lines& l = kIndCr208;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // A positive amount that is not a whole multiple of 2,000 is dropped; a
    // negative one stays.
    if (sheet.getIN(l.amount) % kIndCr208Multiple > 0) {
        store(sheet, l.amount, 0.0);
    }
    const double available = sheet.getIR(l.carriedIn) + sheet.getIR(l.amount);
    capInPlace(sheet, l.credit, available);
    const double credit = creditNotBelowZero(sheet, l.credit);
    store(sheet, l.remaining, atLeastZero(available - credit));

    if (yieldsCredit(sheet, {l.credit, l.remaining})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr209(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr209Lines& l = kIndCr209;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    const double share = store(sheet, l.share, sheet.getIR(l.base) * kIndCr209Rate);
    const double allowed = store(sheet, l.allowed, std::min(share, sheet.getIR(l.available)));

    // The credit claimed is the filer's entry, open only when something is
    // allowed, and never above it.
    if (allowed > 0.0) {
        open(sheet, {l.credit});
        capAt(sheet, l.credit, allowed);
    } else {
        lock(sheet, {l.credit});
    }
    store(sheet, l.remaining, atLeastZero(sheet.getIR(l.available) - creditNotBelowZero(sheet, l.credit)));

    if (yieldsCredit(sheet, {l.credit, l.remaining})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
