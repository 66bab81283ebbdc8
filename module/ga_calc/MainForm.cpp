// Georgia form 70, the main return form, first half: the heading (filing
// status, names, address), residency, dependents, exemptions and
// deductions, Georgia adjusted gross income and taxable income. The tax,
// credits, payments and result follow in MainFormTax.cpp. Every value is
// recomputed from its sources on each call.
//
// Reads of form 70's own results go to copy 1 through the Georgia return;
// writes go to the copy being calculated. An amount line said to be "blank
// when 0" is left empty rather than showing 0.

#include <string>
#include <vector>

#include "module/catalogues/Form113Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form2Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/MainFormCalculation.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/util/Utils.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

using Item = Utils::PCTypes;
const Form70Lines& lines = kForm70Lines;
const Form69Lines& info = kForm69Lines;

// The fields of a form from first to last, both included, in the form's
// field order; empty when either is not on the form.
std::vector<FieldId> fieldsFromTo(const DataMgmt::TaxForm& form, const FieldId& first, const FieldId& last) {
    std::vector<FieldId> fields;
    const DataMgmt::TaxFormDesc& desc = form.description();
    const int from = desc.positionOf(first);
    const int to = desc.positionOf(last);
    if (from < 0 || to < 0) {
        return fields;
    }
    fields.reserve(to >= from ? static_cast<std::size_t>(to - from + 1) : 0);
    DataMgmt::QVFieldIDIter it = desc.getFieldIDs();
    for (it = first; !it.atEOL() && it <= last; it.next()) {
        fields.push_back(it.getFieldID());
    }
    return fields;
}

// What the filer enters on form 70 among the lines that its rules empty.
bool isEntry(const FieldId& x) {
    return x == lines.deductions.otherAdjustment || x == lines.lowIncome.dependentsNotCounted ||
           x == lines.result.credited;
}

// The Georgia filing-status letter of a federal filing status; null for a
// number that has none.
const char* filingStatusLetter(std::int64_t federalStatus) {
    if (federalStatus < 0 || federalStatus > FederalFilingStatus::kHighest) {
        return nullptr;
    }
    if (federalStatus <= FederalFilingStatus::kSingle) {
        return "A";
    }
    if (federalStatus == FederalFilingStatus::kJoint) {
        return "B";
    }
    return federalStatus == FederalFilingStatus::kSeparate ? "C" : "D";
}

}  // namespace

void MainFormCalculation::emptyLine(const FieldId& x) {
    if (finalPass_ || !isEntry(x)) {
        form_.setNull(x);
    }
}

void MainFormCalculation::clearRange(const FieldId& first, const FieldId& last) {
    for (const FieldId& x : fieldsFromTo(form_, first, last)) {
        emptyLine(x);
    }
}

// The filing-status letter from the federal filing status (the Georgia
// filing status is read back from it), the Georgia wages, the filers' names
// and identifying numbers, and the address block.
void MainFormCalculation::fillHeading() {
    const auto& h = lines.heading;
    federalStatus_ = common(Item::kFederalFilingStatus);
    if (const char* letter = filingStatusLetter(federalStatus_)) {
        form_.assignText(h.filingStatus, letter);
    }
    status_ = ga_.getFilingStatusNumber();
    form_.assignIR(h.georgiaWages, ga_.getStateWages(static_cast<char>(status_)));

    ga_.getII(kGAForm69ID, info.licence.taxpayer.number, handle_, h.licenceNumber);
    ga_.getII(kGAForm69ID, info.licence.taxpayer.issuingState, handle_, h.licenceState);
    engine_.assignOwnerInfo(handle_, kGAForm69ID, static_cast<std::int16_t>(status_), h.taxpayerFirstName,
                            h.taxpayerMiddleName, h.taxpayerLastName, h.taxpayerSuffix, Primitives::kNullFieldID,
                            h.spouseFirstName, h.spouseMiddleName, h.spouseLastName, h.spouseSuffix,
                            Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
    ga_.getII(kGAForm69ID, info.heading.spouseNumber, handle_, h.spouseNumber);
    form_.assignII(h.spouseNumberRepeated, h.spouseNumber);
    ga_.getII(kGAForm69ID, info.heading.taxpayerNumber, handle_, h.taxpayerNumber);
    for (const FieldId& x : h.numberOnLaterPages) {
        form_.assignII(x, h.taxpayerNumber);
    }
    fillAddress();
}

// The street from the information form, the city, state and ZIP code (or the
// foreign address) from the federal return, the marks of a deceased filer
// and the date of signing.
void MainFormCalculation::fillAddress() {
    const auto& h = lines.heading;
    const Form92Lines& f92 = kForm92Lines;
    ga_.getII(kGAForm69ID, info.heading.street, handle_, h.street);
    ga_.getII(kGAForm69ID, info.heading.apartment, handle_, h.apartment);
    if (ga_.formYes(kForm92ID, 1, f92.address.abroad)) {
        engine_.assignAddress(handle_, h.city, h.state, h.zipCode, h.foreignRegion, h.zipCode, 1);
    } else {
        engine_.assignAddressFields(handle_, h.city, h.state, h.zipCode, 1);
    }
    Utils::setDefaultX(handle_, h.defaultChoice, h.otherChoice, h.otherChoice);
    // A filer with a date of death on the federal return.
    auto markByText = [&](const FieldId& box, const FieldId& federalField) {
        if (!Utils::strip(ga_.getFieldAsString(kForm92ID, 1, federalField)).empty()) {
            form_.setX(box);
        } else {
            form_.setXNo(box);
        }
    };
    markByText(h.taxpayerDeceasedMark, f92.taxpayerDeceased);
    markByText(h.spouseDeceasedMark, f92.spouseDeceased);
    if (ga_.hasSigValue(kForm92ID, 1, f92.signatureDate)) {
        form_.makeProtected(h.signatureDate);
        form_.assignText(h.signatureDate, ga_.getFieldAsString(kForm92ID, 1, f92.signatureDate));
    } else {
        form_.unprotectAndMaybeSetNull(h.signatureDate);
    }
}

// The residency code from the information form's residency boxes. A joint
// return is full-year when both filers are, part-year when either is part
// year, and nonresident otherwise; any other return follows the taxpayer, and
// a taxpayer with no box marked counts as part year.
void MainFormCalculation::fillResidency() {
    auto marked = [&](const FieldId& x) { return ga_.formYes(kGAForm69ID, 1, x); };
    Residency::Code code = Residency::kPartYear;
    if (joint()) {
        if (marked(info.residency.taxpayerFullYear) && marked(info.residency.spouseFullYear)) {
            code = Residency::kFullYear;
        } else if (marked(info.residency.taxpayerPartYear) || marked(info.residency.spousePartYear)) {
            code = Residency::kPartYear;
        } else {
            code = Residency::kNonresident;
        }
    } else if (marked(info.residency.taxpayerFullYear)) {
        code = Residency::kFullYear;
    } else if (marked(info.residency.taxpayerNonresident)) {
        code = Residency::kNonresident;
    }
    form_.assignText(lines.residency.code, std::to_string(code));
    fillResidencyDates(code);
}

// A part-year return shows its residency period as MM-DD-2018; a period date
// that does not read as a date leaves its line blank. A date outside the tax
// year shows as the end of the year it lies beyond (before it 01-01-2018,
// after it 12-31-2018), so the line is always a date of the year: the month
// and day of another year may not exist in 2018 (02-29). Other returns show
// no period.
void MainFormCalculation::fillResidencyDates(Residency::Code code) {
    const auto& r = lines.residency;
    if (code != Residency::kPartYear) {
        setNull({r.from, r.to});
        return;
    }
    ga_.getII(kGAForm69ID, info.residency.periodFrom, handle_, r.periodFrom);
    ga_.getII(kGAForm69ID, info.residency.periodTo, handle_, r.periodTo);
    auto writeDate = [&](const FieldId& source, const FieldId& target) {
        const short year = ga_.dateParse(handle_, source, Utils::kDateParseYear);
        short month = ga_.dateParse(handle_, source, Utils::kDateParseMonth);
        short day = ga_.dateParse(handle_, source, Utils::kDateParseDay);
        if (month <= 0 || day <= 0) {
            form_.setNull(target);
            return;
        }
        if (year < TaxYear::kYear) {
            month = 1;
            day = 1;
        } else if (year > TaxYear::kYear) {
            month = 12;
            day = 31;
        }
        form_.assignText(target, Utils::xstrPadLeftZeros(month, 2) + "-" + Utils::xstrPadLeftZeros(day, 2) + "-" +
                                     std::to_string(TaxYear::kYear));
    };
    writeDate(r.periodFrom, r.from);
    writeDate(r.periodTo, r.to);
}

// Four rows of first name, last name, number and relationship of the
// dependents the federal return lists; from five dependents on, the list
// goes on the attached worksheet (form 76), which always exists.
void MainFormCalculation::fillDependents() {
    const auto& d = lines.dependents;
    if (common(Item::kDependents) <= 4) {
        const std::vector<FieldId> area = fieldsFromTo(form_, d.firstRowStart, d.lastRowEnd);
        DataMgmt::TaxReturn& federal = *engine_.federalReturn();
        std::size_t row = 0;
        for (const std::uint16_t number : engine_.listedDependents(area.size() / 4)) {
            auto upper = [&](const FieldId& x) {
                std::string text = federal.getFieldAsString(kForm113ID, number, x);
                Utils::QVStringUtils::toUpperCase(text);
                return text;
            };
            const auto& dependent = kForm113Lines.row;
            form_.assignText(area[row * 4], upper(dependent[0]));
            form_.assignText(area[row * 4 + 1], upper(dependent[1]));
            federal.getIIM(kForm113ID, dependent[2], number, handle_, area[row * 4 + 2]);
            form_.assignText(area[row * 4 + 3], upper(dependent[3]));
            ++row;
        }
        for (std::size_t k = row * 4; k < area.size(); ++k) {
            form_.setNull(area[k]);
        }
    } else {
        clearRange(d.firstRowStart, d.lastRowEnd);
        form_.assignText(d.worksheetText1, "WORKSHEET");
        form_.assignText(d.worksheetText2, "ATTACHED");
    }
    ga_.getFormUVPtr(kGAForm76ID, 1, true);
}

// The exemption boxes: the taxpayer always; the spouse on a joint return,
// and on a separate return that claims the spouse.
void MainFormCalculation::fillExemptionBoxes() {
    const auto& e = lines.exemptions;
    form_.setX(e.taxpayerBox);
    const bool spouseClaimed =
        federalStatus_ == FederalFilingStatus::kJoint ||
        (federalStatus_ == FederalFilingStatus::kSeparate && ga_.formYes(kForm92ID, 1, kForm92Lines.spouseExemption));
    if (spouseClaimed) {
        form_.setX(e.spouseBox);
        form_.assignIR(e.filers, 2);
    } else {
        form_.setXNo(e.spouseBox);
        form_.assignIR(e.filers, 1);
    }
    form_.assignIR(e.dependents, static_cast<double>(common(Item::kDependents)));
}

// When the federal return takes the standard deduction: the Georgia standard
// deduction of the filing status, and an addition for each box "65 or over"
// or "blind" of the federal return (the spouse's boxes on a joint return
// only).
void MainFormCalculation::fillStandardDeduction() {
    if (common(Item::kItemizes) != 0) {
        return;
    }
    const auto& d = lines.deductions;
    form_.assignIR(d.standard, TaxYear::kStandardDeduction.of(status_));
    auto fromFederal = [&](const FieldId& box, Item item) {
        engine_.pullCommonText(federalForm_, kGAForm70ID, copy_, box, item);
    };
    fromFederal(d.taxpayerAged65, Item::kTaxpayerAged65Box);
    fromFederal(d.taxpayerBlind, Item::kTaxpayerBlindBox);
    if (joint()) {
        fromFederal(d.spouseAged65, Item::kSpouseAged65Box);
        fromFederal(d.spouseBlind, Item::kSpouseBlindBox);
    } else {
        form_.setXNo(d.spouseAged65);
        form_.setXNo(d.spouseBlind);
    }
    double boxes = 0;
    for (const FieldId& box : {d.taxpayerAged65, d.taxpayerBlind, d.spouseAged65, d.spouseBlind}) {
        boxes += form_.xMarked(box) ? 1 : 0;
    }
    engine_.storeScaledAmount(kGAForm70ID, copy_, d.agedOrBlindBoxes, boxes, 0);
    blankIfZero(d.agedOrBlindBoxes);
    assignOrBlank(d.agedOrBlindAmount, boxes * TaxYear::kAgedOrBlindAddition);
    form_.plus2(d.totalStandard, d.standard, d.agedOrBlindAmount);
    clearRange(d.itemized, d.totalItemized);
}

// The federal adjusted gross income, then the taxable income: a full-year
// return computes it on this form, a part-year or nonresident return takes
// it from its schedule (form 189217).
void MainFormCalculation::fillIncome() {
    const auto& i = lines.income;
    assignOrBlank(i.federalAgi, static_cast<double>(common(Item::kFederalAgi)));
    ga_.getII(kForm2ID, kForm2Lines.form70Amount, handle_, i.federalForm2Amount);
    setNull({i.negativeFederalAgi, i.negativeGeorgiaAgi, i.negativeAfterDeductions, i.negativeTaxable});

    fullYear_ = ga_.formYes(kGAForm69ID, 1, info.residency.fullYear);
    if (!fullYear_) {
        fillPartYearIncome();
        return;
    }
    fillGeorgiaIncome();
    fillItemizedDeductions();
    fillExemptionsAndTaxableIncome();
}

// The schedule of a part-year or nonresident return replaces the lines from
// the Georgia adjustments to the exemptions.
void MainFormCalculation::fillPartYearIncome() {
    const auto& i = lines.income;
    const auto& d = lines.deductions;
    const auto& e = lines.exemptions;
    setNull({i.georgiaAdjustments, i.georgiaAgi, d.standard});
    for (const FieldId& x : {d.taxpayerAged65, d.taxpayerBlind, d.spouseAged65, d.spouseBlind}) {
        form_.setXNo(x);
    }
    setNull({d.agedOrBlindBoxes, d.agedOrBlindAmount, d.totalStandard, d.totalItemized, d.itemized,
             d.incomeTaxAdjustment, d.otherAdjustment, d.itemizedRepeated, d.adjustments, i.afterDeductions,
             e.filersCounted, e.filerAmount, e.dependentAmount, e.total});
    ga_.getII(kGAForm189217ID, kForm189217Lines.taxableIncome, handle_, i.taxable);
}

// Georgia adjusted gross income: the federal one plus the Georgia
// adjustments of form 189215.
void MainFormCalculation::fillGeorgiaIncome() {
    const auto& i = lines.income;
    ga_.getII(kGAForm189215ID, kForm189215Lines.netAdjustment, handle_, i.georgiaAdjustments);
    blankIfZero(i.georgiaAdjustments);
    form_.plus2(i.georgiaAgi, i.federalAgi, i.georgiaAdjustments);
    blankIfZero(i.georgiaAgi);
    if (form_.ltZero(i.georgiaAgi)) {
        form_.setX(i.negativeGeorgiaAgi);
    }
}

// When the federal return itemizes: the federal itemized deductions, less
// the income tax deducted federally that Georgia does not allow.
void MainFormCalculation::fillItemizedDeductions() {
    if (common(Item::kItemizes) != 1) {
        return;
    }
    const auto& d = lines.deductions;
    clearRange(d.standard, d.totalStandard);
    form_.assignIR(d.itemized, static_cast<double>(common(Item::kItemizedDeductions)));
    if (!ga_.formYes(kForm2ID, 1, kForm2Lines.incomeTaxAdjustmentBox)) {
        form_.setNull(d.incomeTaxAdjustment);
    } else {
        form_.assignIR(d.incomeTaxAdjustment, engine_.incomeTaxAdjustment(static_cast<char>(status_)));
    }
    form_.assignII(d.itemizedRepeated, d.itemized);
    form_.plus2(d.adjustments, d.otherAdjustment, d.incomeTaxAdjustment);
    form_.minusIIge0(d.totalItemized, d.itemizedRepeated, d.adjustments);
}

// Income after deductions, the exemptions of each filer and each dependent,
// and the taxable income; a negative amount is marked.
void MainFormCalculation::fillExemptionsAndTaxableIncome() {
    const auto& i = lines.income;
    const auto& d = lines.deductions;
    const auto& e = lines.exemptions;
    form_.assignIR(i.afterDeductions,
                   form_.getIR(i.georgiaAgi) - (form_.getIR(d.totalStandard) + form_.getIR(d.totalItemized)));
    blankIfZero(i.afterDeductions);
    if (form_.ltZero(i.afterDeductions)) {
        form_.setX(i.negativeAfterDeductions);
    }

    form_.assignII(e.filersCounted, e.filers);
    form_.timesIR(e.filerAmount, e.filersCounted, TaxYear::kFilerExemption.of(status_));
    form_.assignII(e.dependentsCounted, e.dependents);
    form_.timesIR(e.dependentAmount, e.dependentsCounted, TaxYear::kDependentExemption);
    form_.plus2(e.total, e.dependentAmount, e.filerAmount);

    form_.minusII(i.taxable, i.afterDeductions, e.total);
    blankIfZero(i.taxable);
    if (form_.ltZero(i.taxable)) {
        form_.setX(i.negativeTaxable);
    }
}

void GATaxReturnCalcEngine::calcMainForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    MainFormCalculation(*this, handle, copy).run();
}

}  // namespace GACalculationMgmt
