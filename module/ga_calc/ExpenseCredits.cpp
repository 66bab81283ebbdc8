// The qualified education expense credit (form 187981) and the qualified
// rural hospital expense tax credit (form 203638).
//
// The two forms share one layout: the filer's heading, filing-status boxes,
// three boxes for the kind of donor, two boxes the credit requires, and three
// ways to compute the credit: the individual part (the smaller of two
// amounts), the 6 % part and the 75 % part (the smallest of two amounts and
// that share of a third). The kind of donor chooses the part; the other parts
// are locked. A summary block, filled on every path, carries the credit's
// code, the credit of the year, what is added to it, what is used and what
// remains; the credit summary (form 189216) copies it, and form 70 takes the
// credit used from there.
//
// Every copy is one credit. A copy that yields a credit is marked entered
// and calculated, so that the credit index links a summary copy to it. A
// credit used this year is such a credit too, also when it was all carried
// in from earlier years and nothing remains.

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "module/catalogues/ExpenseCreditLines.h"
#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using namespace TaxYear;

// The rural hospital credit's individual part has no limit of its own.
constexpr double kNoLimit = std::numeric_limits<double>::max();

using IndividualPart = ExpenseCreditLines::IndividualPart;
using SharePart = ExpenseCreditLines::SharePart;
const ExpenseCreditLines& kEducation = kForm187981Lines;
const ExpenseCreditLines& kRuralHospital = kForm203638Lines;

void lockIndividual(DataMgmt::TaxForm& sheet, const IndividualPart& p) { lock(sheet, {p.first, p.second, p.result}); }
void lockShare(DataMgmt::TaxForm& sheet, const SharePart& p) {
    lock(sheet, {p.first, p.second, p.base, p.share, p.result});
}

void clearFilingBoxes(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    sheet.setXNo(l.singleBox);
    sheet.setXNo(l.jointBox);
    sheet.setXNo(l.separateBox);
}

bool anyDonorKind(const DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    return sheet.xMarked(l.seventyFiveBoxA) || sheet.xMarked(l.seventyFiveBoxB) || sheet.xMarked(l.sixPercentBox);
}

bool anyFilingBox(const DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    return sheet.xMarked(l.singleBox) || sheet.xMarked(l.jointBox) || sheet.xMarked(l.separateBox);
}

// Marks the box of the filing status; any other status marks none.
void markFilingBox(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l, int status) {
    switch (status) {
        case FilingStatus::kSingle:
        case FilingStatus::kHeadOfHousehold:
            sheet.setX(l.singleBox);
            break;
        case FilingStatus::kJoint:
            sheet.setX(l.jointBox);
            break;
        case FilingStatus::kSeparate:
            sheet.setX(l.separateBox);
            break;
        default:
            break;
    }
}

// The filer's heading, the filing and donor boxes, and the first required
// box. A filer who gives as a donor of some kind uses that kind's part, not
// the individual part, so no filing box stays marked.
void setBoxes(GADataMgmt::GATaxReturn& ga, DataMgmt::TaxFormPtr& handle, const ExpenseCreditLines& l,
              bool openDonorBoxes) {
    DataMgmt::TaxForm& sheet = *handle;
    const Form69Lines::Heading& h = kForm69Lines.heading;
    const std::array<FieldId, 5> info{h.taxpayerFirstName, h.taxpayerMiddleName, h.taxpayerLastName, h.taxpayerSuffix,
                                      h.taxpayerNumber};
    for (std::size_t i = 0; i < info.size(); ++i) {
        ga.getII(kGAForm69ID, info[i], handle, l.filer[i]);
    }

    clearFilingBoxes(sheet, l);
    sheet.oneX(l.seventyFiveBoxA, l.seventyFiveBoxB, l.sixPercentBox);
    if (openDonorBoxes) {
        open(sheet, {l.seventyFiveBoxA, l.seventyFiveBoxB, l.sixPercentBox});
    }

    // The box of the donation added back to income is marked and fixed
    // unless the federal return answers its question yes; then it is the
    // filer's to mark.
    if (!ga.formYes(kForm1ID, 1, kForm1Lines.deductionAnswer)) {
        sheet.setX(l.addedBackBox);
        sheet.makeProtected(l.addedBackBox);
    } else {
        sheet.unProtect(l.addedBackBox);
    }

    markFilingBox(sheet, l, ga.getFilingStatusNumber());
    if (anyDonorKind(sheet, l)) {
        clearFilingBoxes(sheet, l);
    }
}

// The individual part, open only with a filing box: the smaller of its two
// amounts, at most the limit. It locks both donor parts.
void individualPart(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l, double limit) {
    const IndividualPart& p = l.individual;
    if (!anyFilingBox(sheet, l)) {
        lockIndividual(sheet, p);
        return;
    }
    open(sheet, {p.first, p.second});
    store(sheet, p.result, std::min({sheet.getIR(p.first), sheet.getIR(p.second), limit}));
    lockShare(sheet, l.sixPercent);
    lockShare(sheet, l.seventyFive);
}

// A donor part: the smallest of its two amounts and the share of its third.
void sharePart(DataMgmt::TaxForm& sheet, const SharePart& p, double rate) {
    open(sheet, {p.first, p.second, p.base});
    const double share = store(sheet, p.share, sheet.getIR(p.base) * rate);
    store(sheet, p.result, std::min({sheet.getIR(p.first), sheet.getIR(p.second), share}));
}

// The 6 % and 75 % parts, each open only for its kind of donor; the part in
// use locks the other two.
void donorParts(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    if (!sheet.xMarked(l.sixPercentBox)) {
        lockShare(sheet, l.sixPercent);
    } else {
        sharePart(sheet, l.sixPercent, kDonorSixPercentRate);
        lockIndividual(sheet, l.individual);
        lockShare(sheet, l.seventyFive);
    }
    if (!sheet.xMarked(l.seventyFiveBoxA) && !sheet.xMarked(l.seventyFiveBoxB)) {
        lockShare(sheet, l.seventyFive);
    } else {
        sharePart(sheet, l.seventyFive, kDonorSeventyFivePercentRate);
        lockIndividual(sheet, l.individual);
        lockShare(sheet, l.sixPercent);
    }
}

// The two amounts used are credits used: never below 0.
void usedNotBelowZero(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    creditNotBelowZero(sheet, l.firstUsed);
    creditNotBelowZero(sheet, l.secondUsed);
}

bool bothRequired(const DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    return sheet.xMarked(l.addedBackBox) && sheet.xMarked(l.secondRequiredBox);
}

// The total available: the credit of the year and what is added to it, not
// below 0.
double summaryTotal(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l) {
    double total = sheet.getIR(l.yearCredit);
    for (const FieldId& x : l.added) {
        total += sheet.getIR(x);
    }
    return store(sheet, l.total, atLeastZero(total));
}

// The credit used this year is at most the total available; what remains
// is the total less both amounts used, not below 0.
void holdUsedToTotal(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l, double total) {
    const double secondUsed = store(sheet, l.secondUsed, std::min(sheet.getIR(l.secondUsed), total));
    store(sheet, l.remaining, atLeastZero(total - (secondUsed + sheet.getIR(l.firstUsed))));
}

// The summary block, after the parts and the rule of the required boxes, on
// every path: the credit's code, the limit line, the credit of the year and
// the amounts used and remaining. The credit of the year is the individual
// part's result; a donor part locks that result, so on a donor's path only
// the amounts added to the credit are available, and the credit used is held
// to them like any other.
void fillSummary(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l, const char* code) {
    fixText(sheet, l.code, code);
    fix(sheet, l.limitLine, kExpenseCreditLimitLine);
    fix(sheet, l.yearCredit, sheet.getIR(l.individual.result));
    holdUsedToTotal(sheet, l, summaryTotal(sheet, l));
}

// Without both required boxes the parts whose results are given have no
// credit.
void nullWithoutRequiredBoxes(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l,
                              std::initializer_list<FieldId> results) {
    if (!bothRequired(sheet, l)) {
        for (const FieldId& x : results) {
            sheet.setNull(x);
        }
    }
}

}  // namespace

void GATaxReturnCalcEngine::calcEducationExpenseCredit(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/,
                                                       int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const ExpenseCreditLines& l = kEducation;
    setBoxes(*gaReturn_, handle, l, false);
    usedNotBelowZero(sheet, l);

    individualPart(sheet, l, kEducationCreditLimit.of(gaReturn_->getFilingStatusNumber()));
    donorParts(sheet, l);

    nullWithoutRequiredBoxes(sheet, l, {l.individual.result, l.sixPercent.result, l.seventyFive.result});
    fillSummary(sheet, l, "125");

    if (yieldsCredit(sheet, {l.individual.result, l.sixPercent.result, l.remaining, l.secondUsed})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

void GATaxReturnCalcEngine::calcRuralHospitalCredit(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/,
                                                    int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const ExpenseCreditLines& l = kRuralHospital;
    setBoxes(*gaReturn_, handle, l, true);
    usedNotBelowZero(sheet, l);

    individualPart(sheet, l, kNoLimit);
    donorParts(sheet, l);

    // The 6 % part keeps its result without the required boxes.
    nullWithoutRequiredBoxes(sheet, l, {l.individual.result, l.seventyFive.result});

    // The summary block also shows the filer's last name and number.
    sheet.assignII(l.lastNameLine, l.filer[2]);
    sheet.makeProtected(l.lastNameLine);
    sheet.assignII(l.numberLine, l.filer[4]);
    sheet.makeProtected(l.numberLine);
    fillSummary(sheet, l, "136");

    if (yieldsCredit(sheet, {l.individual.result, l.remaining, l.seventyFive.result, l.secondUsed})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
