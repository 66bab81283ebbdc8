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
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/GAForm75FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYear2019Amounts.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

const auto& f75 = kGAForm75FieldIds;
namespace year2019 = TaxYear2019;

// The lines of form 75.
struct EstimatedTaxLines {
    FieldId taxpayerName, taxpayerNumber, spouseName, spouseNumber;
    FieldId inUse;  // marked: the worksheet counts as entered
    FieldId inUseOther;
    FieldId fromThisYear;  // project from this year's return
    FieldId notFromThisYear, fullYear, partYear;
    FieldId incomeRatio;  // Georgia share in ten-thousandths
    FieldId addition1, addition2, addition3, additions, federalIncome, additionsCopy;
    FieldId incomeWithAdditions, subtraction, enteredSubtraction, otherSubtractions;
    FieldId retirementExclusion, georgiaIncome, single, joint, separate, headOfHousehold;
    FieldId dependents, exemptions, standard, itemized, itemizedAmount, deduction, taxableIncome;
    FieldId tax, withholding, creditedOverpayment, estimatedTax, installmentsLeft;
};
const EstimatedTaxLines lines = {
    .taxpayerName = f75.f2,
    .taxpayerNumber = f75.f3,
    .spouseName = f75.f4,
    .spouseNumber = f75.f5,
    .inUse = f75.f6,
    .inUseOther = f75.f70,
    .fromThisYear = f75.f7,
    .notFromThisYear = f75.f8,
    .fullYear = f75.f9,
    .partYear = f75.f10,
    .incomeRatio = f75.f11,
    .addition1 = f75.f12,
    .addition2 = f75.f13,
    .addition3 = f75.f14,
    .additions = f75.f15,
    .federalIncome = f75.f25,
    .additionsCopy = f75.f207528,
    .incomeWithAdditions = f75.f207529,
    .subtraction = f75.f207530,
    .enteredSubtraction = f75.f207531,
    .otherSubtractions = f75.f207532,
    .retirementExclusion = f75.f42,
    .georgiaIncome = f75.f39,
    .single = f75.f26,
    .joint = f75.f27,
    .separate = f75.f28,
    .headOfHousehold = f75.f29,
    .dependents = f75.f30,
    .exemptions = f75.f40,
    .standard = f75.f31,
    .itemized = f75.f36,
    .itemizedAmount = f75.f37,
    .deduction = f75.f207533,
    .taxableIncome = f75.f43,
    .tax = f75.f44,
    .withholding = f75.f45,
    .creditedOverpayment = f75.f47,
    .estimatedTax = f75.f48,
    .installmentsLeft = f75.f49,
};

// The voucher area of form 75.
struct VoucherLines {
    FieldId first;  // the area runs from here to the scan line
    FieldId yes, no, codeBox, number, dueDate, payerName, street, zipCode, state, city;
    FieldId taxpayerNumber, spouseNumber, installment, scanLine, formCode;
};
const VoucherLines voucher = {
    .first = f75.f54,
    .yes = f75.f51,
    .no = f75.f52,
    .codeBox = f75.f57,
    .number = f75.f58,
    .dueDate = f75.f59,
    .payerName = f75.f60,
    .street = f75.f61,
    .zipCode = f75.f64,
    .state = f75.f65,
    .city = f75.f66,
    .taxpayerNumber = f75.f62,
    .spouseNumber = f75.f67,
    .installment = f75.f68,
    .scanLine = f75.f69,
    .formCode = f75.f71,
};

// The four boxes "65 or over" and "blind" of the standard deduction, in the
// order they add.
const FieldId kAdditionBoxes[] = {f75.f35, f75.f33, f75.f34, f75.f32};

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

void GATaxReturnCalcEngine::calcEstimatedTaxForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                 int passThrough) {
    if (form == kGAForm75ID) {
        calcEstimatedTax(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

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
    defaultOrClampField(kGAForm75ID, copy, lines.installmentsLeft, year2019::kInstallments, 1, year2019::kInstallments);
    const std::int64_t left = form.getIN(lines.installmentsLeft);
    const double installment = left > 0 ? form.getIR(lines.estimatedTax) / static_cast<double>(left) : 0.0;

    std::string name;
    getOwnerName(name, kGAForm69ID, 1);
    Utils::QVStringUtils::toUpperCase(name);
    form.assignText(voucher.payerName, name);
    form.assignII(voucher.taxpayerNumber, lines.taxpayerNumber);
    form.assignII(voucher.spouseNumber, lines.spouseNumber);
    if (form.getIR(lines.estimatedTax) <= 0) {
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
        buildScanLine(handle, lines.taxpayerNumber, voucher.installment, year2019::kVoucherDocumentCode,
                      year2019::kVoucherFiller, v.scanDate, year2019::kVoucherYearCode,
                      form.xMarked(voucher.codeBox) ? v.codeBoxMarked : v.codeBoxUnmarked, voucher.scanLine);
    }
}

namespace {

void EstimatedTaxForm::calculate(int passThrough) {
    DataMgmt::TaxForm& form = form_;
    engine_.assignOwnerName(handle_, kGAForm69ID, ga_.getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1},
                            lines.taxpayerName, lines.taxpayerNumber, Primitives::kNullFieldID,
                            Primitives::kNullFieldID, lines.spouseName, lines.spouseNumber, Primitives::kNullFieldID,
                            Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
    Utils::setDefaultX(handle_, lines.fromThisYear, lines.notFromThisYear, lines.notFromThisYear);
    prefill_ = form.xMarked(lines.fromThisYear);

    const double ratio = residency();
    filingStatus();
    income();
    exemptionsAndDeduction(ratio);
    tax();
    engine_.fillEstimatedVouchers(handle_, copy_, passThrough);

    Utils::setDefaultX(handle_, lines.inUseOther, lines.inUse, lines.inUseOther);
    if (form.xMarked(lines.inUse)) {
        engine_.markEnteredAndCalculated(kGAForm75ID, copy_);
    }
}

// Full-year or part-year projection; the Georgia share of a part-year
// projection (1 for a full year).
double EstimatedTaxForm::residency() {
    DataMgmt::TaxForm& form = form_;
    protectOnly(lines.fullYear);
    protectOnly(lines.partYear);
    form.oneX(lines.fullYear, lines.partYear, lines.partYear);
    if (prefill_) {
        // This year's residency decides.
        form.setXNo(lines.fullYear);
        form.setXNo(lines.partYear);
        const bool fullYear = ga_.formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerFullYear);
        form.setX(fullYear ? lines.fullYear : lines.partYear);
    } else if (!form.xMarked(lines.fullYear) && !form.xMarked(lines.partYear)) {
        form.setX(lines.fullYear);
    }
    if (form.xMarked(lines.partYear)) {
        pull(lines.incomeRatio, SummaryLine::kGeorgiaShare);
        return form.getIR(lines.incomeRatio) / TaxYear::kWholeRatio;
    }
    form.makeProtectedAndSetNull(lines.incomeRatio);
    return 1.0;
}

// The filing-status box and the dependents: this year's, or as entered
// (single by default).
void EstimatedTaxForm::filingStatus() {
    DataMgmt::TaxForm& form = form_;
    const FieldId boxes[] = {lines.single, lines.joint, lines.separate, lines.headOfHousehold};
    form.oneX9(lines.single, lines.single, lines.single, lines.single, lines.single, lines.single, lines.joint,
               lines.separate, lines.headOfHousehold);
    if (prefill_) {
        for (const FieldId& x : boxes) {
            form.makeProtectedAndSetNull(x);
        }
        form.makeProtectedAndSetNull(lines.dependents);
        const std::string letter =
            Utils::strip(ga_.getFieldAsString(kGAForm70ID, 1, kForm70Lines.heading.filingStatus));
        const char* const letters[] = {"A", "B", "C", "D"};
        for (int k = 0; k < 4; ++k) {
            if (letter == letters[k]) {
                form.setX(boxes[k]);
            }
        }
        const std::int64_t dependents = ga_.pullCommon(engine_.getFederalForm(), 1, Utils::PCTypes::kDependents);
        form.assignIR(lines.dependents, static_cast<double>(dependents));
        return;
    }
    form.makeProtectedAndSetNull(lines.exemptions);
    for (const FieldId& x : boxes) {
        form.unProtect(x);
    }
    form.unProtect(lines.dependents);
    if (std::none_of(std::begin(boxes), std::end(boxes), [&](const FieldId& x) { return form.xMarked(x); })) {
        form.setX(lines.single);
    }
}

// Federal income with the Georgia additions, less the subtractions and the
// retirement exclusion: the projected Georgia income.
void EstimatedTaxForm::income() {
    DataMgmt::TaxForm& form = form_;
    pull(lines.federalIncome, SummaryLine::kFederalAgi);
    pull(lines.addition1, SummaryLine::kMunicipalInterest);
    pull(lines.addition2, SummaryLine::kLumpSumDistributions);
    pull(lines.addition3, SummaryLine::kOtherAdditions);
    form.plus3(lines.additions, lines.addition1, lines.addition2, lines.addition3);
    form.assignII(lines.additionsCopy, lines.additions);
    form.plus2(lines.incomeWithAdditions, lines.federalIncome, lines.additionsCopy);
    pull(lines.subtraction, SummaryLine::kSocialSecurity);
    if (prefill_) {
        form.makeProtected(lines.enteredSubtraction);
    } else {
        form.unProtect(lines.enteredSubtraction);
    }
    pull(lines.otherSubtractions, SummaryLine::kRemainingSubtractions);
    if (prefill_) {
        form.makeProtected(lines.retirementExclusion);
        retirementExclusion();
    } else {
        form.unProtect(lines.retirementExclusion);
    }
    form.assignIR(lines.georgiaIncome,
                  form.getIR(lines.incomeWithAdditions) -
                      (form.getIR(lines.enteredSubtraction) + form.getIR(lines.subtraction) +
                       form.getIR(lines.retirementExclusion) + form.getIR(lines.otherSubtractions)));
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
    form_.assignIR(lines.retirementExclusion, exclusion);
}

// The filing status of the boxes: single (26), separate (28), head of
// household (29); a joint return (27) or no box marked takes the joint
// return's exemption and schedule.
int EstimatedTaxForm::filingStatusOfBoxes() const {
    if (form_.xMarked(lines.single)) {
        return FilingStatus::kSingle;
    }
    if (form_.xMarked(lines.separate)) {
        return FilingStatus::kSeparate;
    }
    if (form_.xMarked(lines.headOfHousehold)) {
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
    form.assignIR(lines.exemptions, year2019::kPersonalExemption.of(filingStatusOfBoxes()) +
                                        form.getIR(lines.dependents) * year2019::kDependentExemption);

    if (prefill_) {
        // The deduction is the one entered on line 207533.
        engine_.clearFieldRange(kGAForm75ID, copy_, lines.standard, lines.itemizedAmount);
        for (const FieldId& x : {lines.standard, lines.itemized, lines.itemizedAmount}) {
            form.makeProtected(x);
        }
        for (const FieldId& x : kAdditionBoxes) {
            form.makeProtected(x);
        }
        form.unProtect(lines.deduction);
    } else {
        form.makeProtectedAndSetNull(lines.deduction);
        form.assignIR(lines.deduction, enteredDeduction());
    }

    const double taxable =
        std::max(0.0, form.getIR(lines.georgiaIncome) - (form.getIR(lines.deduction) + form.getIR(lines.exemptions)));
    form.assignIR(lines.taxableIncome, form.xMarked(lines.fullYear) ? taxable : taxable * ratio);
}

// The deduction of a worksheet not projected from this year: the standard
// deduction of the filing status with 1,300 for each box "65 or over" and
// "blind" marked, or the itemized amount (this year's deduction when left
// empty).
double EstimatedTaxForm::enteredDeduction() {
    DataMgmt::TaxForm& form = form_;
    for (const FieldId& x : {lines.standard, lines.itemized, lines.itemizedAmount}) {
        form.unProtect(x);
    }
    for (const FieldId& x : kAdditionBoxes) {
        form.unProtect(x);
    }
    form.oneX(lines.standard, lines.itemized, lines.itemized);
    if (form.xMarked(lines.standard)) {
        form.makeProtectedAndSetNull(lines.itemizedAmount);
        double deduction = year2019::kStandardDeduction.of(filingStatusOfBoxes());
        for (const FieldId& x : kAdditionBoxes) {
            if (form.xMarked(x)) {
                deduction += year2019::kAgedOrBlindAddition;
            }
        }
        return deduction;
    }
    if (form.isNull(lines.itemizedAmount)) {
        form.assignIR(lines.itemizedAmount,
                      static_cast<double>(ga_.getLineValue(engine_.getMainForm(), 1, SummaryLine::kDeductions)));
    }
    for (const FieldId& x : kAdditionBoxes) {
        form.makeProtectedAndSetNull(x);
    }
    return form.getIR(lines.itemizedAmount);
}

// The 2019 tax, less this year's withholding and the overpayment credited
// to 2019: the estimated tax, not below 0.
void EstimatedTaxForm::tax() {
    DataMgmt::TaxForm& form = form_;
    form.assignIR(lines.tax, GATaxReturnCalcEngine::computeEstimatedTax2019(form.getIR(lines.taxableIncome),
                                                                            filingStatusOfBoxes()));
    pull(lines.withholding, SummaryLine::kWithheld);
    pull(lines.creditedOverpayment, SummaryLine::kCreditedToEstimatedTax);
    form.assignIR(lines.estimatedTax, std::max(0.0, form.getIR(lines.tax) - (form.getIR(lines.withholding) +
                                                                             form.getIR(lines.creditedOverpayment))));
}

}  // namespace

}  // namespace GACalculationMgmt
