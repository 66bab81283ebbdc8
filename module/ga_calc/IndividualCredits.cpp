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
#include <array>
#include <cstdint>

#include "module/catalogues/GAForm190054FieldIds.h"
#include "module/catalogues/GAForm190055FieldIds.h"
#include "module/catalogues/GAForm190056FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190058FieldIds.h"
#include "module/catalogues/GAForm190059FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/GAForm190061FieldIds.h"
#include "module/catalogues/GAForm190062FieldIds.h"
#include "module/catalogues/GAForm74FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using namespace TaxYear;

const auto& f190054 = kGAForm190054FieldIds;
const auto& f190055 = kGAForm190055FieldIds;
const auto& f190056 = kGAForm190056FieldIds;
const auto& f190057 = kGAForm190057FieldIds;
const auto& f190058 = kGAForm190058FieldIds;
const auto& f190059 = kGAForm190059FieldIds;
const auto& f190060 = kGAForm190060FieldIds;
const auto& f190061 = kGAForm190061FieldIds;
const auto& f190062 = kGAForm190062FieldIds;
const auto& f74 = kGAForm74FieldIds;

// A worksheet copy yields something when its first result line, or else
// its second (where it has one), is above 0.
bool yieldsCredit(const DataMgmt::TaxForm& sheet, const FieldId& first, const FieldId& second = FieldId()) {
    return sheet.getIR(first) > 0.0 || (!second.isNullID() && sheet.getIR(second) > 0.0);
}

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

struct IndCr201Lines {
    FieldId heading, amountBox, noAmountBox, carriedIn, boxAmount;
    std::array<FieldId, 4> cappedLines;
    FieldId sum, total, credit, remaining;
};
constexpr IndCr201Lines kIndCr201{
    .heading = f190054.f190150,
    .amountBox = f190054.f190148,
    .noAmountBox = f190054.f190149,
    .carriedIn = f190054.f190151,
    .boxAmount = f190054.f190152,
    .cappedLines = {f190054.f190153, f190054.f190154, f190054.f190155, f190054.f190156},
    .sum = f190054.f190157,
    .total = f190054.f190158,
    .credit = f190054.f190159,
    .remaining = f190054.f190160,
};

struct IndCr202Lines {
    FieldId heading, federalAmount, rateShown, share, credit;
};
constexpr IndCr202Lines kIndCr202{
    .heading = f190055.f190161,
    .federalAmount = f190055.f190162,
    .rateShown = f190055.f190163,
    .share = f190055.f190164,
    .credit = f190055.f190165,
};

struct IndCr203Lines {
    FieldId heading, firstAmount, secondAmount, credit, remaining;
};
constexpr IndCr203Lines kIndCr203{
    .heading = f190056.f190166,
    .firstAmount = f190056.f190167,
    .secondAmount = f190056.f190168,
    .credit = f190056.f190169,
    .remaining = f190056.f190170,
};

struct IndCr204Lines {
    FieldId heading, expenses, rateShown, share, limitShown, allowed, credit;
};
constexpr IndCr204Lines kIndCr204{
    .heading = f190057.f190171,
    .expenses = f190057.f190186,
    .rateShown = f190057.f190187,
    .share = f190057.f190188,
    .limitShown = f190057.f190189,
    .allowed = f190057.f190190,
    .credit = f190057.f190191,
};

struct IndCr205Lines {
    FieldId heading, firstAmount, secondAmount, sum, limit, smaller, credit;
};
constexpr IndCr205Lines kIndCr205{
    .heading = f190058.f190192,
    .firstAmount = f190058.f190205,
    .secondAmount = f190058.f190206,
    .sum = f190058.f190207,
    .limit = f190058.f190208,
    .smaller = f190058.f190209,
    .credit = f190058.f190210,
};

struct IndCr206Lines {
    FieldId heading, carriedIn, assistance, limitShown, assistanceAllowed, credit, remaining;
};
constexpr IndCr206Lines kIndCr206{
    .heading = f190059.f190211,
    .carriedIn = f190059.f190213,
    .assistance = f190059.f190215,
    .limitShown = f190059.f190216,
    .assistanceAllowed = f190059.f190217,
    .credit = f190059.f190218,
    .remaining = f190059.f190219,
};

struct IndCr207Lines {
    FieldId heading, taxpayerBeds;
    std::array<FieldId, 5> spousePractice;  // counties, type, start date, beds
    FieldId limit, credit;
};
constexpr IndCr207Lines kIndCr207{
    .heading = f190060.f190220,
    .taxpayerBeds = f190060.f190225,
    .spousePractice = {f190060.f190226, f190060.f190227, f190060.f190228, f190060.f190229, f190060.f190230},
    .limit = f190060.f190231,
    .credit = f190060.f190232,
};

struct IndCr208Lines {
    FieldId heading, carriedIn, amount, credit, remaining;
};
constexpr IndCr208Lines kIndCr208{
    .heading = f190061.f190233,
    .carriedIn = f190061.f190234,
    .amount = f190061.f190235,
    .credit = f190061.f190236,
    .remaining = f190061.f190237,
};

struct IndCr209Lines {
    FieldId heading, base, share, available, allowed, credit, remaining;
};
constexpr IndCr209Lines kIndCr209{
    .heading = f190062.f190238,
    .base = f190062.f190239,
    .share = f190062.f190240,
    .available = f190062.f190241,
    .allowed = f190062.f190242,
    .credit = f190062.f190243,
    .remaining = f190062.f190244,
};

// The credit line of each worksheet and the form 74 line that takes it.
struct SummaryLine {
    FormId worksheet;
    FieldId credit;
    FieldId line;
};
constexpr std::array<SummaryLine, 9> kSummaryLines{{
    {kGAForm190054ID, kIndCr201.credit, f74.f19},
    {kGAForm190055ID, kIndCr202.credit, f74.f35455},
    {kGAForm190056ID, kIndCr203.credit, f74.f23520},
    {kGAForm190057ID, kIndCr204.credit, f74.f27},
    {kGAForm190058ID, kIndCr205.credit, f74.f33},
    {kGAForm190059ID, kIndCr206.credit, f74.f43},
    {kGAForm190060ID, kIndCr207.credit, f74.f39},
    {kGAForm190061ID, kIndCr208.credit, f74.f49777},
    {kGAForm190062ID, kIndCr209.credit, f74.f69767},
}};

}  // namespace

void GATaxReturnCalcEngine::sumIndCrParts(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& summary = *handle;
    copyTaxpayerNumber(*gaReturn_, handle, f74.f4);

    double total = 0.0;
    bool anyWorksheet = false;
    for (const SummaryLine& s : kSummaryLines) {
        gaReturn_->getII(s.worksheet, s.credit, handle, s.line);
        total += summary.getIR(s.line);
        anyWorksheet = anyWorksheet || gaReturn_->formExists(s.worksheet, 1);
    }
    store(summary, f74.f44, total);

    // The summary counts as entered once any worksheet exists, even one
    // without a credit.
    if (summary.getIR(f74.f44) > 0.0 || anyWorksheet) {
        markEnteredAndCalculated(summary.getFormID(), summary.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr201(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr201Lines& l = kIndCr201;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

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
    // something to claim.
    if (available > 0.0) {
        open(sheet, {l.credit});
    } else {
        lock(sheet, {l.credit});
    }
    store(sheet, l.remaining, atLeastZero(available - sheet.getIR(l.credit)));

    if (yieldsCredit(sheet, l.credit, l.remaining)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr202(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr202Lines& l = kIndCr202;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

    // A share of a common amount of the federal return.
    const auto federal = gaReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kFederalChildCareCredit);
    store(sheet, l.federalAmount, static_cast<double>(federal));
    store(sheet, l.rateShown, kIndCr202RateShown);
    const double share = store(sheet, l.share, sheet.getIR(l.federalAmount) * kIndCr202Rate);
    store(sheet, l.credit, share);

    if (yieldsCredit(sheet, l.credit)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr203(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr203Lines& l = kIndCr203;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

    // The credit claimed never exceeds the two amounts together.
    const double available = sheet.getIR(l.firstAmount) + sheet.getIR(l.secondAmount);
    const double credit = capAt(sheet, l.credit, atLeastZero(available));
    store(sheet, l.remaining, atLeastZero(available - credit));

    if (yieldsCredit(sheet, l.credit, l.remaining)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr204(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr204Lines& l = kIndCr204;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

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

    if (yieldsCredit(sheet, l.credit)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr205(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr205Lines& l = kIndCr205;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

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

    if (yieldsCredit(sheet, l.credit)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr206(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr206Lines& l = kIndCr206;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

    // The assistance counts up to the limit.
    store(sheet, l.limitShown, kIndCr206Limit);
    const double assistance = sheet.getIR(l.assistance);
    const double allowed = store(sheet, l.assistanceAllowed, std::min(assistance, kIndCr206Limit));

    // The credit claimed never exceeds the assistance and the amount carried
    // in together, held between 0 and the limit.
    const double ceiling = std::clamp(assistance + sheet.getIR(l.carriedIn), 0.0, kIndCr206Limit);
    const double credit = capAt(sheet, l.credit, ceiling);
    store(sheet, l.remaining, atLeastZero(allowed + sheet.getIR(l.carriedIn) - credit));

    if (yieldsCredit(sheet, l.credit, l.remaining)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr207(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr207Lines& l = kIndCr207;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

    // A practice qualifies with more than 0 and fewer than 101 beds, the
    // count compared as entered (100.6 is fewer than 101).
    auto qualifies = [&](const FieldId& beds) {
        const double count = sheet.getIR(beds);
        return count > 0.0 && count < static_cast<double>(kIndCr207BedLimit);
    };
    double limit = qualifies(l.taxpayerBeds) ? kIndCr207CreditPerPractice : 0.0;

    // The spouse's practice counts on a joint return only.
    if (gaReturn_->getFilingStatusNumber() == FilingStatus::kJoint) {
        open(sheet, l.spousePractice);
        if (qualifies(l.spousePractice.back())) {
            limit += kIndCr207CreditPerPractice;
        }
    } else {
        lock(sheet, l.spousePractice);
    }
    store(sheet, l.credit, store(sheet, l.limit, limit));

    if (yieldsCredit(sheet, l.credit)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr208(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr208Lines& l = kIndCr208;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

    // A positive amount that is not a whole multiple of 2,000 is dropped; a
    // negative one stays.
    if (sheet.getIN(l.amount) % kIndCr208Multiple > 0) {
        store(sheet, l.amount, 0.0);
    }
    const double available = sheet.getIR(l.carriedIn) + sheet.getIR(l.amount);
    const double credit = capInPlace(sheet, l.credit, available);
    store(sheet, l.remaining, atLeastZero(available - credit));

    if (yieldsCredit(sheet, l.credit, l.remaining)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcIndCr209(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const IndCr209Lines& l = kIndCr209;
    copyTaxpayerNumber(*gaReturn_, handle, l.heading);

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
    store(sheet, l.remaining, atLeastZero(sheet.getIR(l.available) - sheet.getIR(l.credit)));

    if (yieldsCredit(sheet, l.credit, l.remaining)) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
