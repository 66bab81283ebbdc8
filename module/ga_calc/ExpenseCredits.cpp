// The qualified education expense credit (form 187981) and the qualified
// rural hospital expense tax credit (form 203638).
//
// The two forms share one layout: the filer's heading, filing-status boxes,
// three boxes for the kind of donor, two boxes the credit requires, and three
// ways to compute the credit: the individual part (the smaller of two
// amounts), the 6 % part and the 75 % part (the smallest of two amounts and
// that share of a third). The kind of donor chooses the part; the other parts
// are locked. A summary block carries the credit's code, the credit of the
// year, what is added to it, what is used and what remains; the credit
// summary (form 189216) copies it.
//
// Every copy is one credit. A copy that yields a credit is marked entered
// and calculated, so that the credit index links a summary copy to it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "module/catalogues/Form1FieldIds.h"
#include "module/catalogues/GAForm187981FieldIds.h"
#include "module/catalogues/GAForm203638FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
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

const auto& f187981 = kGAForm187981FieldIds;
const auto& f203638 = kGAForm203638FieldIds;

// The smaller of two amounts, and the smallest of two amounts and a share of
// a third.
struct IndividualPart {
    FieldId first, second, result;
};
struct SharePart {
    FieldId first, second, base, share, result;
};

struct ExpenseCreditLines {
    // Copies of the information form's fields 21 to 25.
    std::array<FieldId, 5> filer;
    // Filing status 1 or 4, 2, 3.
    FieldId singleBox, jointBox, separateBox;
    // The kinds of donor, in the order of their one-box rule: the two of the
    // 75 % part, then that of the 6 % part.
    FieldId seventyFiveBoxA, seventyFiveBoxB, sixPercentBox;
    // The two boxes the credit requires; the first is marked from the federal
    // return.
    FieldId firstRequired, secondRequired;
    IndividualPart individual;
    SharePart sixPercent;
    SharePart seventyFive;
    // Summary block.
    FieldId code, limitLine, yearCredit;
    std::array<FieldId, 3> added;
    FieldId total, firstUsed, secondUsed, remaining;
};

constexpr ExpenseCreditLines kEducation{
    .filer = {f187981.f188007, f187981.f188008, f187981.f188010, f187981.f188011, f187981.f188009},
    .singleBox = f187981.f188367,
    .jointBox = f187981.f188368,
    .separateBox = f187981.f188369,
    .seventyFiveBoxA = f187981.f188366,
    .seventyFiveBoxB = f187981.f188370,
    .sixPercentBox = f187981.f188371,
    .firstRequired = f187981.f188372,
    .secondRequired = f187981.f188373,
    .individual =
        {
            .first = f187981.f188375,
            .second = f187981.f188376,
            .result = f187981.f188377,
        },
    .sixPercent =
        {
            .first = f187981.f188378,
            .second = f187981.f188379,
            .base = f187981.f188380,
            .share = f187981.f188381,
            .result = f187981.f188382,
        },
    .seventyFive =
        {
            .first = f187981.f188383,
            .second = f187981.f188384,
            .base = f187981.f188385,
            .share = f187981.f188386,
            .result = f187981.f188387,
        },
    .code = f187981.f203928,
    .limitLine = f187981.f203931,
    .yearCredit = f187981.f203934,
    .added = {f187981.f203929, f187981.f203935, f187981.f203936},
    .total = f187981.f203937,
    .firstUsed = f187981.f203938,
    .secondUsed = f187981.f203939,
    .remaining = f187981.f203940,
};

constexpr ExpenseCreditLines kRuralHospital{
    .filer = {f203638.f203644, f203638.f203645, f203638.f203647, f203638.f203648, f203638.f203646},
    .singleBox = f203638.f203650,
    .jointBox = f203638.f203651,
    .separateBox = f203638.f203652,
    .seventyFiveBoxA = f203638.f203649,
    .seventyFiveBoxB = f203638.f203653,
    .sixPercentBox = f203638.f205382,
    .firstRequired = f203638.f203654,
    .secondRequired = f203638.f203655,
    .individual =
        {
            .first = f203638.f203657,
            .second = f203638.f203659,
            .result = f203638.f203660,
        },
    .sixPercent =
        {
            .first = f203638.f205383,
            .second = f203638.f205384,
            .base = f203638.f205385,
            .share = f203638.f205386,
            .result = f203638.f205387,
        },
    .seventyFive =
        {
            .first = f203638.f203661,
            .second = f203638.f203663,
            .base = f203638.f203664,
            .share = f203638.f203662,
            .result = f203638.f203666,
        },
    .code = f203638.f203941,
    .limitLine = f203638.f203944,
    .yearCredit = f203638.f203947,
    .added = {f203638.f203942, f203638.f203948, f203638.f203949},
    .total = f203638.f203950,
    .firstUsed = f203638.f203951,
    .secondUsed = f203638.f203952,
    .remaining = f203638.f203953,
};
// The rural hospital summary also shows the filer's last name and number.
const FieldId kRuralHospitalNameLine = f203638.f203943;
const FieldId kRuralHospitalNumberLine = f203638.f203946;

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
    const auto& f69 = kGAForm69FieldIds;
    const std::array<FieldId, 5> info{f69.f21, f69.f22, f69.f23, f69.f24, f69.f25};
    for (std::size_t i = 0; i < info.size(); ++i) {
        ga.getII(kGAForm69ID, info[i], handle, l.filer[i]);
    }

    clearFilingBoxes(sheet, l);
    sheet.oneX(l.seventyFiveBoxA, l.seventyFiveBoxB, l.sixPercentBox);
    if (openDonorBoxes) {
        open(sheet, {l.seventyFiveBoxA, l.seventyFiveBoxB, l.sixPercentBox});
    }

    // The first required box is marked and fixed unless the federal return
    // answers its question yes; then it is the filer's to mark.
    if (!ga.formYes(kForm1ID, 1, kForm1FieldIds.f133)) {
        sheet.setX(l.firstRequired);
        sheet.makeProtected(l.firstRequired);
    } else {
        sheet.unProtect(l.firstRequired);
    }

    markFilingBox(sheet, l, ga.getFilingStatusNumber());
    if (anyDonorKind(sheet, l)) {
        clearFilingBoxes(sheet, l);
    }
}

// The individual part, open only with a filing box: the smaller of its two
// amounts, at most the limit. It locks both donor parts. Whether it is open.
bool individualPart(DataMgmt::TaxForm& sheet, const ExpenseCreditLines& l, double limit) {
    const IndividualPart& p = l.individual;
    if (!anyFilingBox(sheet, l)) {
        lockIndividual(sheet, p);
        return false;
    }
    open(sheet, {p.first, p.second});
    store(sheet, p.result, std::min({sheet.getIR(p.first), sheet.getIR(p.second), limit}));
    lockShare(sheet, l.sixPercent);
    lockShare(sheet, l.seventyFive);
    return true;
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
    return sheet.xMarked(l.firstRequired) && sheet.xMarked(l.secondRequired);
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

    // The individual part fills the summary block: the credit of the year is
    // its result, and what remains is the total less both amounts used.
    if (individualPart(sheet, l, kEducationCreditLimit.of(gaReturn_->getFilingStatusNumber()))) {
        fixText(sheet, l.code, "125");
        fix(sheet, l.limitLine, kExpenseCreditLimitLine);
        fix(sheet, l.yearCredit, sheet.getIR(l.individual.result));
        const double total = summaryTotal(sheet, l);
        store(sheet, l.remaining, atLeastZero(total - (sheet.getIR(l.secondUsed) + sheet.getIR(l.firstUsed))));
    }
    donorParts(sheet, l);

    if (!bothRequired(sheet, l)) {
        sheet.setNull(l.individual.result);
        sheet.setNull(l.sixPercent.result);
        sheet.setNull(l.seventyFive.result);
    }

    if (sheet.getIR(l.individual.result) > 0.0 || sheet.getIR(l.sixPercent.result) > 0.0 ||
        sheet.getIR(l.remaining) > 0.0) {
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

    // Without both required boxes there is no credit of the individual or
    // the 75 % part; the 6 % part keeps its result.
    if (!bothRequired(sheet, l)) {
        sheet.setNull(l.individual.result);
        sheet.setNull(l.seventyFive.result);
    }

    // The summary block, on every calculation: the filer's last name and
    // number, the limit line and the individual part's credit; the second
    // amount used is at most the total available.
    fixText(sheet, l.code, "136");
    sheet.assignII(kRuralHospitalNameLine, l.filer[2]);
    sheet.makeProtected(kRuralHospitalNameLine);
    fix(sheet, l.limitLine, kExpenseCreditLimitLine);
    sheet.assignII(kRuralHospitalNumberLine, l.filer[4]);
    sheet.makeProtected(kRuralHospitalNumberLine);
    fix(sheet, l.yearCredit, sheet.getIR(l.individual.result));
    const double total = summaryTotal(sheet, l);
    const double secondUsed = store(sheet, l.secondUsed, std::min(sheet.getIR(l.secondUsed), total));
    store(sheet, l.remaining, atLeastZero(total - (secondUsed + sheet.getIR(l.firstUsed))));

    if (sheet.getIR(l.individual.result) > 0.0 || sheet.getIR(l.remaining) > 0.0 ||
        sheet.getIR(l.seventyFive.result) > 0.0) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
