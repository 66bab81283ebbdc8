// Georgia form 70, the main return form.
//
// Heading (filing status, names, address), residency, dependents,
// exemptions and deductions, Georgia adjusted gross income, taxable income,
// the tax from the rate schedule, the low-income credit, the credits that
// reduce the tax, payments and withholding, the refund or the amount owed
// with the amounts applied from an overpayment, the deceased-filer block and
// the review mark. Every value is recomputed from its sources on each call.
//
// Reads of form 70's own results go to copy 1 through the Georgia return;
// writes go to the copy being calculated. An amount line said to be "blank
// when 0" is left empty rather than showing 0.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "module/catalogues/Form103FieldIds.h"
#include "module/catalogues/Form104FieldIds.h"
#include "module/catalogues/Form113FieldIds.h"
#include "module/catalogues/Form190FieldIds.h"
#include "module/catalogues/Form2FieldIds.h"
#include "module/catalogues/Form44FieldIds.h"
#include "module/catalogues/Form57FieldIds.h"
#include "module/catalogues/Form75FieldIds.h"
#include "module/catalogues/Form78FieldIds.h"
#include "module/catalogues/Form8FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm71FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/catalogues/GAForm74FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/Form69Lines.h"
#include "module/ga_calc/Form70Lines.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

using Item = Utils::PCTypes;
const Form70Lines& lines = kForm70Lines;
const Form69Lines& info = kForm69Lines;

// The fields of a form from first to last, both included, in the form's
// field order; empty when either is not on the form.
std::vector<FieldId> fieldsFromTo(const DataMgmt::TaxForm& form, const FieldId& first, const FieldId& last) {
    std::vector<FieldId> fields;
    const DataMgmt::TaxFormDescPtr desc = form.getTaxFormDescriptor();
    if (desc.isNull() || desc->positionOf(first) < 0 || desc->positionOf(last) < 0) {
        return fields;
    }
    DataMgmt::QVFieldIDIter it = desc->getFieldIDs();
    for (it = first; !it.atEOL() && it <= last; it.next()) {
        fields.push_back(it.getFieldID());
    }
    return fields;
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

// One calculation of one copy of form 70: the steps in the order the form
// fills, each on the values the steps before it wrote.
class MainFormCalculation {
public:
    MainFormCalculation(GATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr handle, std::uint16_t copy)
        : engine_(engine),
          ga_(*engine.gaReturn()),
          handle_(handle),
          form_(*handle),
          copy_(copy),
          federalForm_(engine.getFederalForm()) {}

    void run() {
        fillHeading();
        fillResidency();
        fillDependents();
        fillExemptionBoxes();
        fillStandardDeduction();
        fillIncome();
        fillTax();
        fillLowIncomeCredit();
        fillCredits();
        fillPayments();
        fillResult();
        fillDeceased();
        fillReviewMark();
        ga_.setDataEntered(kGAForm70ID, copy_, true, false);
        form_.setCalculatedFlag(true);
    }

private:
    std::int64_t common(Item item) const { return ga_.pullCommon(federalForm_, 1, item); }
    // A line of form 70 as copy 1 holds it.
    std::int64_t line(const FieldId& x) const { return ga_.getIN(kGAForm70ID, 1, x); }
    bool joint() const { return status_ == FilingStatus::kJoint; }
    void blankIfZero(const FieldId& x) {
        if (form_.nonNull(x) && form_.getIR(x) == 0.0) {
            form_.setNull(x);
        }
    }
    void assignOrBlank(const FieldId& x, double value) {
        form_.assignIR(x, value);
        blankIfZero(x);
    }
    void setNull(std::initializer_list<FieldId> fields) {
        for (const FieldId& x : fields) {
            form_.setNull(x);
        }
    }
    void clearRange(const FieldId& first, const FieldId& last) {
        engine_.clearFieldRange(kGAForm70ID, copy_, first, last);
    }
    // What is left of the tax after each credit, never below 0.
    void takeFromRemainder(double credit) { remainder_ = std::max(0.0, remainder_ - credit); }

    void fillHeading();
    void fillAddress();
    void fillResidency();
    void fillResidencyDates(Residency::Code code);
    void fillDependents();
    void fillExemptionBoxes();
    void fillStandardDeduction();
    void fillIncome();
    void fillPartYearIncome();
    void fillGeorgiaIncome();
    void fillItemizedDeductions();
    void fillExemptionsAndTaxableIncome();
    void fillTax();
    void fillLowIncomeCredit();
    void fillLowIncomeCreditAmounts();
    void fillCredits();
    void fillPayments();
    void fillResult();
    void fillOverpayment(double applied);
    void fillDeceased();
    void fillReviewMark();

    GATaxReturnCalcEngine& engine_;
    GADataMgmt::GATaxReturn& ga_;
    DataMgmt::TaxFormPtr handle_;
    DataMgmt::TaxForm& form_;
    const std::uint16_t copy_;
    const FormId federalForm_;
    std::int64_t federalStatus_ = 0;
    int status_ = FilingStatus::kSingle;
    bool fullYear_ = false;
    double remainder_ = 0;
};

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

    ga_.getII(kGAForm69ID, info.licence.taxpayerNumber, handle_, h.licenceNumber);
    ga_.getII(kGAForm69ID, info.licence.taxpayerState, handle_, h.licenceState);
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
    const auto& f92 = kForm92FieldIds;
    ga_.getII(kGAForm69ID, info.heading.street, handle_, h.street);
    ga_.getII(kGAForm69ID, info.heading.apartment, handle_, h.apartment);
    if (ga_.formYes(kForm92ID, 1, f92.f545)) {
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
    markByText(h.taxpayerDeceasedMark, f92.f557);
    markByText(h.spouseDeceasedMark, f92.f558);
    if (ga_.hasSigValue(kForm92ID, 1, f92.f843)) {
        form_.makeProtected(h.signatureDate);
        form_.assignText(h.signatureDate, ga_.getFieldAsString(kForm92ID, 1, f92.f843));
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
// that does not read as a date leaves its line blank. Other returns show no
// period.
void MainFormCalculation::fillResidencyDates(Residency::Code code) {
    const auto& r = lines.residency;
    if (code != Residency::kPartYear) {
        setNull({r.from, r.to});
        return;
    }
    ga_.getII(kGAForm69ID, info.residency.periodFrom, handle_, r.periodFrom);
    ga_.getII(kGAForm69ID, info.residency.periodTo, handle_, r.periodTo);
    auto writeDate = [&](const FieldId& source, const FieldId& target) {
        const short month = ga_.dateParse(handle_, source, Utils::kDateParseMonth);
        const short day = ga_.dateParse(handle_, source, Utils::kDateParseDay);
        if (month <= 0 || day <= 0) {
            form_.setNull(target);
            return;
        }
        char text[32];
        std::snprintf(text, sizeof text, "%02d-%02d-%d", month, day, TaxYear::kYear);
        form_.assignText(target, text);
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
        const auto& f113 = kForm113FieldIds;
        DataMgmt::TaxReturn& federal = *engine_.federalReturn();
        std::size_t row = 0;
        for (const std::uint16_t number : engine_.listedDependents(area.size() / 4)) {
            auto upper = [&](const FieldId& x) {
                std::string text = federal.getFieldAsString(kForm113ID, number, x);
                Utils::QVStringUtils::toUpperCase(text);
                return text;
            };
            form_.assignText(area[row * 4], upper(f113.f1103));
            form_.assignText(area[row * 4 + 1], upper(f113.f1105));
            federal.getIIM(kForm113ID, f113.f1106, number, handle_, area[row * 4 + 2]);
            form_.assignText(area[row * 4 + 3], upper(f113.f1108));
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
        (federalStatus_ == FederalFilingStatus::kSeparate && ga_.formYes(kForm92ID, 1, kForm92FieldIds.f30));
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
    ga_.getII(kForm2ID, kForm2FieldIds.f32, handle_, i.federalForm2Amount);
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
    ga_.getII(kGAForm189217ID, kGAForm189217FieldIds.f189474, handle_, i.taxable);
}

// Georgia adjusted gross income: the federal one plus the Georgia
// adjustments of form 189215.
void MainFormCalculation::fillGeorgiaIncome() {
    const auto& i = lines.income;
    ga_.getII(kGAForm189215ID, kGAForm189215FieldIds.f189418, handle_, i.georgiaAdjustments);
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
    if (!ga_.formYes(kForm2ID, 1, kForm2FieldIds.f14405)) {
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

// The tax of the taxable income from the rate schedule; the credits below
// each take what is left of it.
void MainFormCalculation::fillTax() {
    const double tax =
        GATaxReturnCalcEngine::computeTaxFromRateSchedule(static_cast<double>(line(lines.income.taxable)), status_);
    Utils::maybeSetValue(handle_, lines.credits.tax, tax);
    remainder_ = tax;
}

// The low-income credit: for full-year residents, and for part-year
// residents who live in Georgia at the end of the year, with a federal
// adjusted gross income within the credit's bands, whom nobody else claims
// and whom neither answer bars.
void MainFormCalculation::fillLowIncomeCredit() {
    const auto& l = lines.lowIncome;
    const auto& r = lines.residency;
    Utils::setDefaultX(handle_, l.taxpayerNotBarred, l.taxpayerNotBarred, l.taxpayerBarred);
    Utils::setDefaultX(handle_, l.spouseNotBarred, l.spouseNotBarred, l.spouseBarred);
    form_.setXNo(r.residentAtYearEnd);
    if (form_.offsetUserDate(r.to) == TaxYear::kYear * 10000 + 1231) {
        form_.setX(r.residentAtYearEnd);
    }

    const bool considered = fullYear_ || (ga_.formYes(kGAForm69ID, 1, info.residency.partYear) &&
                                          ga_.formYes(kGAForm70ID, 1, r.residentAtYearEnd));
    if (!considered) {
        clearRange(l.federalAgi, l.credit);
        return;
    }
    form_.assignIR(l.federalAgi, static_cast<double>(common(Item::kFederalAgi)));
    if (form_.ltZero(l.federalAgi)) {
        form_.zero(l.federalAgi);
    }
    if (form_.getIR(l.federalAgi) > TaxYear::kLowIncomeCreditIncomeLimit || common(Item::kClaimedAsDependent) == 1 ||
        form_.xMarked(l.taxpayerBarred) || form_.xMarked(l.spouseBarred)) {
        clearRange(l.people, l.credit);
        form_.setXNo(r.residentAtYearEnd);
        return;
    }
    form_.setX(r.residentAtYearEnd);
    fillLowIncomeCreditAmounts();
}

// The credit counts each filer, each dependent the credit counts (less those
// entered as not counted) and each filer aged 65 or over, at the amount per
// person of the income's band, and never goes past the tax.
void MainFormCalculation::fillLowIncomeCreditAmounts() {
    const auto& l = lines.lowIncome;
    form_.assignIR(l.dependents, static_cast<double>(common(Item::kLowIncomeCreditDependents)));
    form_.minII(l.dependentsNotCounted, l.dependentsNotCounted, l.dependents);
    form_.assignIR(l.people, static_cast<double>(line(lines.exemptions.filers)) + form_.getIR(l.dependents) -
                                 form_.getIR(l.dependentsNotCounted));
    double aged = static_cast<double>(common(Item::kTaxpayerAged65));
    if (joint()) {
        aged += static_cast<double>(common(Item::kSpouseAged65));
    }
    form_.assignIR(l.agedFilers, aged);
    form_.plus2(l.allPeople, l.people, l.agedFilers);
    copyFieldOrNull(handle_, l.peopleShown, l.allPeople);
    form_.assignIR(l.perPerson, TaxYear::lowIncomeCreditPerPerson(form_.getIR(l.federalAgi)));
    copyFieldOrNull(handle_, l.perPersonShown, l.perPerson);
    form_.timesII(l.amount, l.allPeople, l.perPerson);
    copyFieldOrNull(handle_, l.credit, l.amount);
    if (form_.nonNull(l.credit)) {
        form_.minII(l.credit, l.credit, lines.credits.tax);
    }
    takeFromRemainder(form_.getIR(l.credit));
}

// The credits against the tax, each up to what is left of it: tax paid to
// other states (form 73), the credit worksheets (form 74) and the credit
// summary (form 189216); then the net tax. The excess mark says that the
// worksheets or the summary claim more than the tax leaves them.
void MainFormCalculation::fillCredits() {
    const auto& c = lines.credits;
    const auto& f73 = kGAForm73FieldIds;
    const double otherState =
        static_cast<double>(ga_.getIN(kGAForm73ID, 1, f73.f17) + ga_.getIN(kGAForm73ID, 1, f73.f26));
    form_.assignIR(c.otherState, std::min(otherState, remainder_));
    takeFromRemainder(form_.getIR(c.otherState));
    ga_.getII(kGAForm74ID, kGAForm74FieldIds.f44, handle_, c.worksheets);
    form_.minIR(c.worksheets, c.worksheets, remainder_);
    takeFromRemainder(form_.getIR(c.worksheets));
    const double summary = static_cast<double>(ga_.getAllCopies(kGAForm189216ID, kGAForm189216FieldIds.f189825));
    form_.assignIR(c.summary, std::min(summary, remainder_));
    form_.plus4(c.total, lines.lowIncome.credit, c.otherState, c.worksheets, c.summary);
    if (form_.getIR(c.tax) == 0.0) {
        clearRange(lines.lowIncome.federalAgi, c.summary);
    }

    form_.setXNo(c.exceedsTax);
    const double beforeCredits = form_.getIR(c.tax) - form_.getIR(lines.lowIncome.credit) - form_.getIR(c.otherState);
    if (beforeCredits > 0) {
        const double afterWorksheets =
            beforeCredits - static_cast<double>(ga_.getIN(kGAForm74ID, 1, kGAForm74FieldIds.f44));
        const double afterSummary =
            afterWorksheets - static_cast<double>(ga_.getIN(kGAForm189216ID, 1, kGAForm189216FieldIds.f189825));
        if (afterWorksheets < 0 || afterSummary < 0) {
            form_.setX(c.exceedsTax);
        }
    }
    form_.minII(c.total, c.total, c.tax);
    form_.minusIIge0(c.netTax, c.tax, c.total);
    blankIfZero(c.netTax);
}

// Payments: Georgia tax withheld on the wage and information statements and
// on form 70's own rows, each withholding entry refilled from its source
// document, and estimated tax paid; then the underpayment penalty of form 71.
void MainFormCalculation::fillPayments() {
    const auto& p = lines.payments;
    Utils::maybeSetValue(handle_, p.withheld, ga_.getStateTaxWithheldNoLocal(static_cast<char>(status_)));
    form_.plus4(p.ownRowsTotal, p.ownRowsWithheld[0], p.ownRowsWithheld[1], p.ownRowsWithheld[2], p.ownRowsWithheld[3]);
    form_.assignII(p.ownRowsTotalRepeated, p.ownRowsTotal);
    engine_.checkForm70SourceLinks(copy_);
    Utils::maybeSetValue(handle_, p.estimated,
                         static_cast<double>(ga_.getIN(kGAForm69ID, 1, info.options.estimatedPaid1) +
                                             ga_.getIN(kGAForm69ID, 1, info.options.estimatedPaid2)));
    form_.plus3(p.total, p.withheld, p.ownRowsTotalRepeated, p.estimated);
    blankIfZero(p.total);

    const auto& r = lines.result;
    const auto& f71 = kGAForm71FieldIds;
    if (ga_.formYes(kGAForm71ID, 1, f71.f7)) {
        ga_.getII(kGAForm71ID, f71.f87, handle_, r.penalty);
        form_.setX(r.penaltyMark);
    } else {
        form_.setNull(r.penalty);
        form_.setXNo(r.penaltyMark);
    }
}

// The tax due or the overpayment, and the balance due or the refund: the
// amounts applied from an overpayment (contributions and the like) and the
// penalty come out of the overpayment, or add to what is owed.
void MainFormCalculation::fillResult() {
    const auto& r = lines.result;
    const auto& a = r.applied;
    form_.setValueToSumOf(r.appliedTotal, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8],
                          Primitives::kNullFieldID);
    form_.minusIIge0(r.due, lines.credits.netTax, lines.payments.total);
    blankIfZero(r.due);
    form_.minusIIge0(r.overpaid, lines.payments.total, lines.credits.netTax);
    blankIfZero(r.overpaid);
    setNull({r.depositRouting, r.depositAccount, r.depositChecking, r.depositSavings});

    double applied = 0;
    for (const FieldId& x : a) {
        applied += static_cast<double>(form_.getIN(x));
    }
    const double penalty = static_cast<double>(form_.getIN(r.penalty));
    if (line(r.due) > 0) {
        form_.setNull(r.refund);
        form_.makeProtectedAndSetNull(r.credited);
        form_.assignIR(r.balanceDue, static_cast<double>(form_.getIN(r.due)) + applied + penalty);
    } else if (line(r.overpaid) > 0) {
        fillOverpayment(applied + penalty);
    } else {
        form_.setNull(r.refund);
        form_.makeProtectedAndSetNull(r.credited);
        form_.setNull(r.penalty);
        assignOrBlank(r.balanceDue, applied);
    }

    if (ga_.hasSigValue(kForm92ID, 1, kForm92FieldIds.f671)) {
        ga_.getII(kForm92ID, kForm92FieldIds.f671, handle_, r.federalReference);
    } else {
        form_.unProtect(r.federalReference);
    }
}

// An overpayment: the part credited to next year's estimated tax (at most
// the overpayment), then what is applied and the penalty; what remains is
// refunded, by direct deposit when the information form gives an account,
// and a shortfall is owed.
void MainFormCalculation::fillOverpayment(double appliedAndPenalty) {
    const auto& r = lines.result;
    form_.setNull(r.balanceDue);
    form_.unProtect(r.credited);
    form_.minIR(r.credited, r.credited, static_cast<double>(line(r.overpaid)));
    blankIfZero(r.credited);
    const double left = static_cast<double>(form_.getIN(r.overpaid)) -
                        (static_cast<double>(form_.getIN(r.credited)) + appliedAndPenalty);
    if (left < 0) {
        form_.setNull(r.refund);
        form_.assignIR(r.balanceDue, -left);
        return;
    }
    form_.setNull(r.balanceDue);
    form_.assignIR(r.refund, left);
    if (ga_.hasSigValue(kGAForm69ID, 1, info.options.directDeposit)) {
        ga_.getII(kGAForm69ID, info.options.depositChecking, handle_, r.depositChecking);
        ga_.getII(kGAForm69ID, info.options.depositSavings, handle_, r.depositSavings);
        ga_.getII(kGAForm69ID, info.options.depositRouting, handle_, r.depositRouting);
        ga_.getII(kGAForm69ID, info.options.depositAccount, handle_, r.depositAccount);
    }
}

// A deceased taxpayer, else a deceased spouse: the date of death from the
// federal return, "DECEASED", and that filer's first and last name.
void MainFormCalculation::fillDeceased() {
    const auto& d = lines.deceased;
    const auto& h = lines.heading;
    auto deceased = [&](const FieldId& dateOfDeath, const FieldId& firstName, const FieldId& lastName) {
        ga_.getII(kForm92ID, dateOfDeath, handle_, d.date);
        if (form_.isNull(d.date)) {
            setNull({d.date, d.text, d.firstName, d.lastName});
            return false;
        }
        form_.assignText(d.text, "DECEASED");
        form_.assignII(d.firstName, firstName);
        form_.assignII(d.lastName, lastName);
        return true;
    };
    if (!deceased(kForm92FieldIds.f557, h.taxpayerFirstName, h.taxpayerLastName)) {
        deceased(kForm92FieldIds.f558, h.spouseFirstName, h.spouseLastName);
    }
}

// The review mark: the return holds something that needs a closer look (a
// lump-sum distribution of a return not full-year, a part-year adjustment,
// federal losses and credits the module does not follow, a foreign or
// farm matter, an amount the filer entered on form 70 itself).
void MainFormCalculation::fillReviewMark() {
    const auto& f104 = kForm104FieldIds;
    const auto& f57 = kForm57FieldIds;
    const auto& f189215 = kGAForm189215FieldIds;
    const auto& f103 = kForm103FieldIds;
    const auto& rm = lines.review;
    const bool review =
        (ga_.getIN(kGAForm189215ID, 1, f189215.f189281) > 0 && ga_.formNo(kGAForm69ID, 1, info.residency.fullYear)) ||
        (ga_.getIN(kGAForm189215ID, 1, f189215.f189266) > 0 && ga_.formYes(kGAForm69ID, 1, info.residency.partYear)) ||
        ga_.hasSigValue(kForm104ID, 1, f104.f102) || ga_.getIR(kForm8ID, 1, kForm8FieldIds.f69) < 0 ||
        ga_.getIR(kForm8ID, 1, kForm8FieldIds.f142) < 0 || ga_.getIR(kForm57ID, 1, f57.f100) < 0 ||
        ga_.getIR(kForm44ID, 1, kForm44FieldIds.f19) > 0 || ga_.getIR(kForm103ID, 1, f103.f51) > 0 ||
        ga_.getIR(kForm103ID, 1, f103.f57) > 0 || ga_.formYes(kGAForm69ID, 1, info.form78.anyCopyMarked) ||
        ga_.formYes(kForm104ID, 1, f104.f106) || ga_.formYes(kForm104ID, 1, f104.f102) ||
        ga_.formYes(kForm104ID, 1, f104.f114) || ga_.formYes(kForm104ID, 1, f104.f118) ||
        ga_.getIR(kForm75ID, 1, kForm75FieldIds.f66) != 0 || form_.gtZero(rm.trigger315) ||
        form_.gtZero(rm.trigger316) || ga_.getIN(kForm57ID, 1, f57.f329) + ga_.getIN(kForm57ID, 1, f57.f330) > 0 ||
        ga_.formYes(kForm78ID, copy_, kForm78FieldIds.f11981) || ga_.formYes(kForm78ID, copy_, kForm78FieldIds.f120);
    if (review) {
        form_.setX(rm.reviewNeeded);
    } else {
        form_.setNull(rm.reviewNeeded);
    }
}

}  // namespace

void GATaxReturnCalcEngine::calcMainForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    MainFormCalculation(*this, handle, copy).run();
}

// The part of the federal deduction for state and local income tax that is
// Georgia's own or another state's tax of the year: the income tax paid
// (estimated and extension payments, other states' withholding, Georgia
// withholding above what the federal return deducts) over the income tax
// deducted, applied to the federal deduction beyond its limit.
double GATaxReturnCalcEngine::incomeTaxAdjustment(char filingStatus) {
    GADataMgmt::GATaxReturn& ga = *gaReturn_;
    const auto& f190 = kForm190FieldIds;
    const auto& f2 = kForm2FieldIds;

    double otherStates = 0.0;
    double paid = 0.0;
    DataMgmt::TaxFormPtr form190 = ga.getFormUVPtr(kForm190ID, 1, false);
    if (!form190.isNull()) {
        const DataMgmt::TaxFormDescPtr desc = form190->getTaxFormDescriptor();
        const std::int64_t yearStart = Utils::dateToNumber(1, 1, TaxYear::kYear);
        const std::int64_t yearEnd = Utils::dateToNumber(12, 31, TaxYear::kYear);
        // Rows of (date, amount, state) whose date lies in the tax year, and
        // rows of (-, amount, state) whatever the date.
        auto addRows = [&](const FieldId& first, const FieldId& second, const FieldId& lastStart, bool dated) {
            DataMgmt::QVFieldIDIter row = desc->getFieldIDs();
            const int step = desc->positionOf(second) - desc->positionOf(first);
            if (desc->positionOf(first) < 0 || step <= 0) {
                return;
            }
            for (row = first; !row.atEOL() && row <= lastStart; row += step) {
                const FieldId dateField = row.getFieldID();
                const FieldId amountField = (row + 1).getFieldID();
                const FieldId stateField = (row + 2).getFieldID();
                if (amountField.isNullID() || stateField.isNullID()) {
                    break;
                }
                std::string state = ga.getFieldAsString(kForm190ID, 1, stateField);
                Utils::QVStringUtils::toUpperCase(state);
                if (Utils::QVStringUtils::stricmp(state, "GA") == 0) {
                    continue;
                }
                if (dated) {
                    const std::int64_t day = Utils::strDateToNumber(ga.getFieldAsString(kForm190ID, 1, dateField));
                    if (day < yearStart || day > yearEnd) {
                        continue;
                    }
                }
                otherStates += static_cast<double>(ga.getIN(kForm190ID, 1, amountField));
            }
        };
        addRows(f190.f10, f190.f13, f190.f37, true);
        addRows(f190.f98, f190.f101, f190.f107, false);
        paid = static_cast<double>(ga.getIN(kForm190ID, 1, f190.f71) + ga.getIN(kForm190ID, 1, f190.f84) +
                                   ga.getIN(kForm190ID, 1, f190.f97) + ga.getIN(kForm190ID, 1, f190.f123) -
                                   ga.getIN(kGAForm69ID, 1, info.stateRows.secondGroupTotal));
    }

    const double withheld = ga.getStateTaxWithheld(filingStatus);
    const double deducted = static_cast<double>(ga.getIN(kForm2ID, 1, f2.f10));
    double allowedWithholding = std::min(withheld, deducted);
    if (deducted - allowedWithholding <= TaxYear::kWithholdingTolerance) {
        allowedWithholding = deducted;
    }
    const double incomeTax = paid + otherStates + deducted - allowedWithholding;
    const double base = static_cast<double>(ga.getIN(kForm2ID, 1, f2.f203981) - ga.getIN(kForm2ID, 1, f2.f17) -
                                            ga.getIN(kForm2ID, 1, f2.f188));
    return proportionalShare(incomeTax, deducted, base);
}

}  // namespace GACalculationMgmt
