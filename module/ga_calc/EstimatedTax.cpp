// Georgia form 75, the estimated tax of 2019 and its vouchers.
//
// The worksheet projects next year's Georgia income (by default this year's
// figures: box 7), its deduction and exemptions, taxes the projected taxable
// income with the 2019 rate schedule, takes off this year's withholding and
// the overpayment credited to 2019, divides the rest over the installments
// left and fills the voucher due next with its scan line.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form75Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYear2019Amounts.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

namespace year2019 = TaxYear2019;

const Form75Lines& lines = kForm75Lines;
const Form75Lines::Voucher& voucher = kForm75Lines.voucher;

using GADataMgmt::SummaryLine;

// The line number that pullProtectedLineValue takes for no line: the field
// is only protected.
constexpr std::int32_t kProtectOnly = 28;

// The calculation of one copy of form 75, in named steps.
class EstimatedTaxForm {
public:
    EstimatedTaxForm(GATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr handle, std::uint16_t copy)
        : engine_(engine), ga_(*engine.gaReturn()), handle_(handle), form_(*handle), copy_(copy) {}

    void calculate(int passThrough);

private:
    void pull(const FieldId& x, SummaryLine line) {
        engine_.pullProtectedLineValue(handle_, prefill_, x, static_cast<std::int32_t>(line));
    }
    void protectOnly(const FieldId& x) { engine_.pullProtectedLineValue(handle_, prefill_, x, kProtectOnly); }
    double residency();
    void filingStatus();
    void income();
    void retirementExclusion();
    void exemptionsAndDeduction(double ratio);
    double enteredDeduction();
    void tax();
    int filingStatusOfBoxes() const;

    GATaxReturnCalcEngine& engine_;
    GADataMgmt::GATaxReturn& ga_;
    DataMgmt::TaxFormPtr handle_;
    DataMgmt::TaxForm& form_;
    std::uint16_t copy_;
    bool prefill_ = false;
};

}  // namespace

void GATaxReturnCalcEngine::calcEstimatedTax(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough) {
    if (!handle.isNull()) {
        EstimatedTaxForm(*this, handle, copy).calculate(passThrough);
    }
}

// The 2019 tax of a projected taxable income, rounded to whole dollars, on
// the schedule of single filers, of married filing separately, or of every
// other status.
double GATaxReturnCalcEngine::computeEstimatedTax2019(double income, int filingStatus) {
    const year2019::RateColumn& schedule = filingStatus == FilingStatus::kSingle     ? year2019::kSingleRates
                                           : filingStatus == FilingStatus::kSeparate ? year2019::kSeparateRates
                                                                                     : year2019::kJointRates;
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        const TaxYear::RateBand& band = schedule[i];
        // The top band has no limit; an infinite income, or one that is not
        // a number, falls in no band and is taxed nothing.
        const double upTo =
            i + 1 < schedule.size() ? static_cast<double>(schedule[i + 1].over) : std::numeric_limits<double>::max();
        if (income <= upTo) {
            const double rate = static_cast<double>(band.rate) / TaxYear::kRateUnitsPerWhole;
            return static_cast<double>(
                Utils::roundR(static_cast<double>(band.base) + rate * (income - static_cast<double>(band.over))));
        }
    }
    return 0.0;
}

void GATaxReturnCalcEngine::pullProtectedLineValue(DataMgmt::TaxFormPtr handle, bool prefill, FieldId field,
                                                   std::int32_t line) {
    if (!prefill) {
        handle->unProtect(field);
        return;
    }
    handle->makeProtected(field);
    if (line != kProtectOnly) {
        handle->assignIR(field, static_cast<double>(gaReturn_->getLineValue(getMainForm(), 1, line)));
    }
}

void GATaxReturnCalcEngine::setDefaultYesNo(DataMgmt::TaxFormPtr handle, FieldId first, FieldId second) {
    handle->setXNo(first);
    handle->setXNo(second);
    if (!handle->xMarked(first) && !handle->xMarked(second)) {
        handle->setX(second);
    }
}

// The voucher due next: the estimated tax divided over the installments left
// (four when the count is empty or outside 1 to 4), the filers and their
// address, and the scan line. No tax due leaves the voucher area empty.
void GATaxReturnCalcEngine::fillEstimatedVouchers(DataMgmt::TaxFormPtr handle, std::uint16_t copy,
                                                  int /*passThrough*/) {
    DataMgmt::TaxForm& form = *handle;
    defaultOrClampField(kGAForm75ID, copy, lines.tax.installmentsLeft, year2019::kInstallments, 1,
                        year2019::kInstallments);
    const std::int64_t left = form.getIN(lines.tax.installmentsLeft);
    // The installment due next: an equal part of the estimated tax, rounded
    // to the cent (half away from zero).
    const double installment =
        left > 0 ? DataMgmt::roundedToTheCent(form.getIR(lines.tax.estimatedTax) / static_cast<double>(left), 0) : 0.0;

    std::string name;
    getOwnerName(name, kGAForm69ID, 1);
    Utils::QVStringUtils::toUpperCase(name);
    form.assignText(voucher.payerName, name);
    form.assignII(voucher.taxpayerNumber, lines.heading.taxpayerNumber);
    form.assignII(voucher.spouseNumber, lines.heading.spouseNumber);
    if (form.getIR(lines.tax.estimatedTax) <= 0) {
        clearFieldRange(kGAForm75ID, copy, voucher.first, voucher.scanLine);
        return;
    }

    assignAddressLine(handle, voucher.street, 1);
    assignAddressFields(handle, voucher.city, voucher.state, voucher.zipCode, 1);
    setDefaultYesNo(handle, voucher.no, voucher.yes);
    form.assignIR(voucher.installment, installment);
    form.assignText(voucher.formCode, TaxYear::kVoucherFormCode);

    for (const year2019::Voucher& v : year2019::kVouchers) {
        if (v.installmentsLeft != left) {
            continue;
        }
        form.assignText(voucher.dueDate, v.dueDate);
        form.assignIR(voucher.number, v.number);
        buildScanLine(handle, lines.heading.taxpayerNumber, voucher.installment, year2019::kVoucherDocumentCode,
                      year2019::kVoucherFiller, v.scanDate, year2019::kVoucherYearCode,
                      form.xMarked(voucher.codeBox) ? v.codeBoxMarked : v.codeBoxUnmarked, voucher.scanLine);
    }
}

namespace {

void EstimatedTaxForm::calculate(int passThrough) {
    DataMgmt::TaxForm& form = form_;
    engine_.assignOwnerName(handle_, kGAForm69ID, ga_.getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1},
                            lines.heading.taxpayerName, lines.heading.taxpayerNumber, Primitives::kNullFieldID,
                            Primitives::kNullFieldID, lines.heading.spouseName, lines.heading.spouseNumber,
                            Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
    Utils::setDefaultX(handle_, lines.projection.fromThisYear, lines.projection.notFromThisYear,
                       lines.projection.notFromThisYear);
    prefill_ = form.xMarked(lines.projection.fromThisYear);

    const double ratio = residency();
    filingStatus();
    income();
    exemptionsAndDeduction(ratio);
    tax();
    engine_.fillEstimatedVouchers(handle_, copy_, passThrough);

    Utils::setDefaultX(handle_, lines.heading.inUseOther, lines.heading.inUse, lines.heading.inUseOther);
    if (form.xMarked(lines.heading.inUse)) {
        engine_.markEnteredAndCalculated(kGAForm75ID, copy_);
    }
}

// Full-year or part-year projection; the Georgia share of a part-year
// projection (1 for a full year).
double EstimatedTaxForm::residency() {
    DataMgmt::TaxForm& form = form_;
    protectOnly(lines.projection.fullYear);
    protectOnly(lines.projection.partYear);
    form.oneX(lines.projection.fullYear, lines.projection.partYear, lines.projection.partYear);
    if (prefill_) {
        // This year's residency decides.
        form.setXNo(lines.projection.fullYear);
        form.setXNo(lines.projection.partYear);
        const bool fullYear = ga_.formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerFullYear);
        form.setX(fullYear ? lines.projection.fullYear : lines.projection.partYear);
    } else if (!form.xMarked(lines.projection.fullYear) && !form.xMarked(lines.projection.partYear)) {
        form.setX(lines.projection.fullYear);
    }
    if (form.xMarked(lines.projection.partYear)) {
        pull(lines.projection.incomeRatio, SummaryLine::kGeorgiaShare);
        return form.getIR(lines.projection.incomeRatio) / TaxYear::kWholeRatio;
    }
    form.makeProtectedAndSetNull(lines.projection.incomeRatio);
    return 1.0;
}

// The filing-status box and the dependents: this year's, or as entered
// (single by default).
void EstimatedTaxForm::filingStatus() {
    DataMgmt::TaxForm& form = form_;
    const FieldId boxes[] = {lines.status.single, lines.status.joint, lines.status.separate,
                             lines.status.headOfHousehold};
    form.oneX9(lines.status.single, lines.status.single, lines.status.single, lines.status.single, lines.status.single,
               lines.status.single, lines.status.joint, lines.status.separate, lines.status.headOfHousehold);
    if (prefill_) {
        for (const FieldId& x : boxes) {
            form.makeProtectedAndSetNull(x);
        }
        form.makeProtectedAndSetNull(lines.status.dependents);
        const std::string letter =
            Utils::strip(ga_.getFieldAsString(kGAForm70ID, 1, kForm70Lines.heading.filingStatus));
        const char* const letters[] = {"A", "B", "C", "D"};
        for (int k = 0; k < 4; ++k) {
            if (letter == letters[k]) {
                form.setX(boxes[k]);
            }
        }
        const std::int64_t dependents = ga_.pullCommon(engine_.getFederalForm(), 1, Utils::PCTypes::kDependents);
        form.assignIR(lines.status.dependents, static_cast<double>(dependents));
        return;
    }
    form.makeProtectedAndSetNull(lines.status.exemptions);
    for (const FieldId& x : boxes) {
        form.unProtect(x);
    }
    form.unProtect(lines.status.dependents);
    if (std::none_of(std::begin(boxes), std::end(boxes), [&](const FieldId& x) { return form.xMarked(x); })) {
        form.setX(lines.status.single);
    }
}

// Federal income with the Georgia additions, less the subtractions and the
// retirement exclusion: the projected Georgia income.
void EstimatedTaxForm::income() {
    DataMgmt::TaxForm& form = form_;
    pull(lines.income.federalIncome, SummaryLine::kFederalAgi);
    pull(lines.income.addition1, SummaryLine::kMunicipalInterest);
    pull(lines.income.addition2, SummaryLine::kLumpSumDistributions);
    pull(lines.income.addition3, SummaryLine::kOtherAdditions);
    form.plus3(lines.income.additions, lines.income.addition1, lines.income.addition2, lines.income.addition3);
    form.assignII(lines.income.additionsRepeated, lines.income.additions);
    form.plus2(lines.income.incomeWithAdditions, lines.income.federalIncome, lines.income.additionsRepeated);
    pull(lines.income.socialSecurity, SummaryLine::kSocialSecurity);
    if (prefill_) {
        form.makeProtected(lines.income.enteredSubtraction);
    } else {
        form.unProtect(lines.income.enteredSubtraction);
    }
    pull(lines.income.remainingSubtractions, SummaryLine::kRemainingSubtractions);
    if (prefill_) {
        form.makeProtected(lines.income.retirementExclusion);
        retirementExclusion();
    } else {
        form.unProtect(lines.income.retirementExclusion);
    }
    form.assignIR(lines.income.georgiaIncome,
                  form.getIR(lines.income.incomeWithAdditions) -
                      (form.getIR(lines.income.enteredSubtraction) + form.getIR(lines.income.socialSecurity) +
                       form.getIR(lines.income.retirementExclusion) + form.getIR(lines.income.remainingSubtractions)));
}

// This year's retirement exclusion of each filer (the spouse's on a joint
// return only), held to the 2019 limit of that filer's age.
void EstimatedTaxForm::retirementExclusion() {
    const Form92Lines& f92 = kForm92Lines;
    const Form189215Lines& schedule1 = kForm189215Lines;
    auto limitFor = [&](const FieldId& birthDate) {
        const bool aged =
            engine_.federalReturn()->reachedAge(year2019::kRetirementAgedAgeBy2018, 0, kForm92ID, birthDate);
        return aged ? year2019::kRetirementLimitAged : year2019::kRetirementLimit;
    };
    double exclusion =
        std::min(ga_.getIR(kGAForm189215ID, 1, schedule1.taxpayerRetirement.total), limitFor(f92.taxpayer.birthDate));
    if (ga_.getFilingStatusNumber() == FilingStatus::kJoint) {
        exclusion +=
            std::min(ga_.getIR(kGAForm189215ID, 1, schedule1.spouseRetirement.total), limitFor(f92.spouse.birthDate));
    }
    form_.assignIR(lines.income.retirementExclusion, exclusion);
}

// The filing status of the boxes: single, separate, head of household; a
// joint return or no box marked takes the joint return's exemption and
// schedule.
int EstimatedTaxForm::filingStatusOfBoxes() const {
    if (form_.xMarked(lines.status.single)) {
        return FilingStatus::kSingle;
    }
    if (form_.xMarked(lines.status.separate)) {
        return FilingStatus::kSeparate;
    }
    if (form_.xMarked(lines.status.headOfHousehold)) {
        return FilingStatus::kHeadOfHousehold;
    }
    return FilingStatus::kJoint;
}

// Exemptions by filing status and dependents; the deduction (standard by
// status with the additions for age and blindness, or itemized); the
// projected taxable income, the Georgia share of it for a part-year
// projection.
void EstimatedTaxForm::exemptionsAndDeduction(double ratio) {
    DataMgmt::TaxForm& form = form_;
    form.assignIR(lines.status.exemptions, year2019::kPersonalExemption.of(filingStatusOfBoxes()) +
                                               form.getIR(lines.status.dependents) * year2019::kDependentExemption);

    if (prefill_) {
        // The deduction is the one entered.
        engine_.clearFieldRange(kGAForm75ID, copy_, lines.deduction.standardBox, lines.deduction.itemizedAmount);
        for (const FieldId& x :
             {lines.deduction.standardBox, lines.deduction.itemizedBox, lines.deduction.itemizedAmount}) {
            form.makeProtected(x);
        }
        for (const FieldId& x : lines.deduction.additionBoxes) {
            form.makeProtected(x);
        }
        form.unProtect(lines.deduction.used);
    } else {
        form.makeProtectedAndSetNull(lines.deduction.used);
        form.assignIR(lines.deduction.used, enteredDeduction());
    }

    const double taxable = std::max(0.0, form.getIR(lines.income.georgiaIncome) -
                                             (form.getIR(lines.deduction.used) + form.getIR(lines.status.exemptions)));
    form.assignIR(lines.deduction.taxableIncome, form.xMarked(lines.projection.fullYear) ? taxable : taxable * ratio);
}

// The deduction of a worksheet not projected from this year: the standard
// deduction of the filing status with 1,300 for each box "65 or over" and
// "blind" marked, or the itemized amount (this year's deduction when left
// empty).
double EstimatedTaxForm::enteredDeduction() {
    DataMgmt::TaxForm& form = form_;
    for (const FieldId& x :
         {lines.deduction.standardBox, lines.deduction.itemizedBox, lines.deduction.itemizedAmount}) {
        form.unProtect(x);
    }
    for (const FieldId& x : lines.deduction.additionBoxes) {
        form.unProtect(x);
    }
    form.oneX(lines.deduction.standardBox, lines.deduction.itemizedBox, lines.deduction.itemizedBox);
    if (form.xMarked(lines.deduction.standardBox)) {
        form.makeProtectedAndSetNull(lines.deduction.itemizedAmount);
        double deduction = year2019::kStandardDeduction.of(filingStatusOfBoxes());
        for (const FieldId& x : lines.deduction.additionBoxes) {
            if (form.xMarked(x)) {
                deduction += year2019::kAgedOrBlindAddition;
            }
        }
        return deduction;
    }
    if (form.isNull(lines.deduction.itemizedAmount)) {
        form.assignIR(lines.deduction.itemizedAmount,
                      static_cast<double>(ga_.getLineValue(engine_.getMainForm(), 1, SummaryLine::kDeductions)));
    }
    for (const FieldId& x : lines.deduction.additionBoxes) {
        form.makeProtectedAndSetNull(x);
    }
    return form.getIR(lines.deduction.itemizedAmount);
}

// The 2019 tax, less this year's withholding and the overpayment credited
// to 2019: the estimated tax, not below 0.
void EstimatedTaxForm::tax() {
    DataMgmt::TaxForm& form = form_;
    form.assignIR(lines.tax.tax, GATaxReturnCalcEngine::computeEstimatedTax2019(
                                     form.getIR(lines.deduction.taxableIncome), filingStatusOfBoxes()));
    pull(lines.tax.withholding, SummaryLine::kWithheld);
    pull(lines.tax.creditedOverpayment, SummaryLine::kCreditedToEstimatedTax);
    form.assignIR(lines.tax.estimatedTax,
                  std::max(0.0, form.getIR(lines.tax.tax) -
                                    (form.getIR(lines.tax.withholding) + form.getIR(lines.tax.creditedOverpayment))));
}

}  // namespace

}  // namespace GACalculationMgmt
