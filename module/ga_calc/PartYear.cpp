// Georgia form 189217, the income of part-year residents and nonresidents.
//
// Income stands in three columns: the total (federal), the part not taxed by
// Georgia, and the Georgia part. The Georgia income after adjustments over
// the total income after adjustments is the Georgia ratio, in ten-thousandths
// of the whole; the deduction (standard or itemized), the additional amount
// for filers aged 65 or over or blind, and the exemptions are taken off the
// Georgia income in that ratio, giving the taxable income that form 70 takes.
//
// A full-year resident's copy is emptied. The routine reads and writes the
// copy it is given; every line is recomputed on each call.

#include <algorithm>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form2Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"

namespace GACalculationMgmt {

namespace {

const StateForm4Lines& st4 = kStateForm4Lines;

using Columns = Form189217Lines::Columns;
const Form189217Lines& kLines = kForm189217Lines;

// What every step of the schedule works with.
struct PartYearSchedule {
    GATaxReturnCalcEngine& engine;
    GADataMgmt::GATaxReturn& ga;
    mutable DataMgmt::TaxFormPtr handle;  // the host passes it on by reference
    DataMgmt::TaxForm& form;
    std::uint16_t copy;
    int filingStatus;
    FormId federalForm;

    double line(const FieldId& x) const { return form.getIR(x); }
    double worksheet(const FieldId& x) const { return ga.getIR(kStateForm4ID, 1, x); }
    double common(Utils::PCTypes item, std::uint16_t at = 1) const {
        return static_cast<double>(ga.pullCommon(federalForm, at, item));
    }
    void assignOrBlank(const FieldId& x, double value) const {
        form.assignIR(x, value);
        if (value == 0.0) {
            form.setNull(x);
        }
    }
};

// Income lines 1 to 5 from the state wage worksheet (state form 4), whose
// columns B and C hold the Georgia part of each income line.
void fillIncome(const PartYearSchedule& s) {
    const Form189217Lines& l = kLines;
    DataMgmt::TaxForm& form = s.form;
    s.ga.getII(kStateForm4ID, st4.wagesTotal.federal, s.handle, l.wages.total);
    form.assignIR(l.wages.georgia,
                  std::max(0.0, s.worksheet(st4.wagesTotal.resident) + s.worksheet(st4.wagesTotal.nonresident) -
                                    s.line(l.georgiaWagesReduction)));
    form.minusIIge0(l.wages.notGeorgia, l.wages.total, l.wages.georgia);

    form.assignIR(l.interestAndDividends.total,
                  s.common(Utils::kOrdinaryDividends, s.copy) + s.common(Utils::kTaxableInterest, s.copy));
    form.assignIR(l.federalInterest, s.common(Utils::kTaxableInterest));
    form.assignIR(l.federalDividends, s.common(Utils::kOrdinaryDividends));
    form.plus4(l.interestAndDividends.georgia, l.georgiaInterestParts[1], l.georgiaInterestParts[0],
               l.georgiaInterestParts[2], l.georgiaInterestParts[3]);
    form.minusIIge0(l.interestAndDividends.notGeorgia, l.interestAndDividends.total, l.interestAndDividends.georgia);

    s.ga.getII(kStateForm4ID, st4.businessIncome.federal, s.handle, l.businessIncome.total);
    form.assignIR(l.businessIncome.georgia,
                  s.worksheet(st4.businessIncome.resident) + s.worksheet(st4.businessIncome.nonresident));
    form.minusII(l.businessIncome.notGeorgia, l.businessIncome.total, l.businessIncome.georgia);

    // Other income: the worksheet's totals less the lines above.
    form.assignIR(l.otherIncome.total, s.worksheet(st4.incomeTotal.federal) - s.worksheet(st4.wagesTotal.federal) -
                                           s.worksheet(st4.taxableInterest) - s.worksheet(st4.ordinaryDividends) -
                                           s.worksheet(st4.businessIncome.federal));
    form.assignIR(l.otherIncome.georgia,
                  s.worksheet(st4.incomeTotal.resident) + s.worksheet(st4.incomeTotal.nonresident) -
                      (s.worksheet(st4.wagesTotal.resident) + s.worksheet(st4.wagesTotal.nonresident)) -
                      (s.worksheet(st4.businessIncome.resident) + s.worksheet(st4.businessIncome.nonresident)));
    form.minusII(l.otherIncome.notGeorgia, l.otherIncome.total, l.otherIncome.georgia);

    for (auto column : {&Columns::total, &Columns::notGeorgia, &Columns::georgia}) {
        form.plus4(l.totalIncome.*column, l.wages.*column, l.interestAndDividends.*column, l.businessIncome.*column,
                   l.otherIncome.*column);
    }
}

// Lines 6 to 8: the federal adjustments, the Georgia adjustments of form
// 189215 and the income after adjustments. The Georgia column takes the
// additions less the subtractions of the Georgia period, less the share of
// the filers' retirement exclusions that its income bears.
void fillAdjustments(const PartYearSchedule& s) {
    const Form189217Lines& l = kLines;
    DataMgmt::TaxForm& form = s.form;
    auto schedule1 = [&](const FieldId& x) { return s.ga.getIR(kGAForm189215ID, 1, x); };
    const double periodAdjustments =
        schedule1(kForm189215Lines.partYearAdditions) - schedule1(kForm189215Lines.partYearSubtractions);
    const double exclusions = schedule1(kForm189215Lines.taxpayerRetirement.exclusion) +
                              schedule1(kForm189215Lines.spouseRetirement.exclusion);
    const double federalTotal = s.worksheet(st4.adjustmentTotal.federal);
    const double federalGeorgia =
        s.worksheet(st4.adjustmentTotal.resident) + s.worksheet(st4.adjustmentTotal.nonresident);

    form.assignIR(l.federalAdjustments.total, federalTotal);
    form.assignIR(l.federalAdjustments.georgia, federalGeorgia);
    form.assignIR(l.federalAdjustments.notGeorgia, federalTotal - federalGeorgia);

    form.assignIR(l.georgiaAdjustments.total,
                  schedule1(kForm189215Lines.netAdjustment) - s.line(l.georgiaAdjustmentsReduction));
    const double georgiaIncome = s.line(l.totalIncome.georgia) - federalGeorgia + periodAdjustments;
    const double wholeIncome =
        s.line(l.totalIncome.total) - federalTotal + s.line(l.georgiaAdjustments.total) + exclusions;
    const double exclusionShare =
        Utils::roundReal(GATaxReturnCalcEngine::proportionalShare(georgiaIncome, wholeIncome, exclusions));
    form.assignIR(l.georgiaAdjustments.georgia, periodAdjustments - exclusionShare);
    form.minusII(l.georgiaAdjustments.notGeorgia, l.georgiaAdjustments.total, l.georgiaAdjustments.georgia);

    form.assignIR(l.incomeAfterAdjustments.total,
                  s.line(l.totalIncome.total) - federalTotal + s.line(l.georgiaAdjustments.total));
    form.assignIR(l.incomeAfterAdjustments.notGeorgia, s.line(l.totalIncome.notGeorgia) -
                                                           s.line(l.federalAdjustments.notGeorgia) +
                                                           s.line(l.georgiaAdjustments.notGeorgia));
    form.assignIR(l.incomeAfterAdjustments.georgia,
                  s.line(l.totalIncome.georgia) - federalGeorgia + s.line(l.georgiaAdjustments.georgia));
}

// Line 9, the Georgia ratio: the Georgia income after adjustments over the
// whole, in ten-thousandths and kept unrounded; the whole when either income
// is not above 0, and never more than the whole.
void fillRatio(const PartYearSchedule& s) {
    const Form189217Lines& l = kLines;
    const double whole = static_cast<double>(s.form.getIN(l.incomeAfterAdjustments.total));
    const double georgia = static_cast<double>(s.form.getIN(l.incomeAfterAdjustments.georgia));
    double ratio = TaxYear::kWholeRatio;
    if (whole > 0 && georgia > 0) {
        ratio = std::min(georgia / whole * TaxYear::kWholeRatio, TaxYear::kWholeRatio);
    }
    s.form.assignIR(l.ratio, ratio);
}

// Line 10, the deduction: the standard deduction by filing status with the
// additional amount of form 70; or the federal itemized deductions less the
// income-tax adjustment that form 70 computes and an entered reduction.
void fillDeduction(const PartYearSchedule& s) {
    const Form189217Lines& l = kLines;
    DataMgmt::TaxForm& form = s.form;
    if (s.common(Utils::kItemizes) == 0) {
        form.setNull(l.itemizesBox);
        form.setX(l.standardBox);
        form.assignIR(l.deduction, TaxYear::kStandardDeduction.of(s.filingStatus) +
                                       s.ga.getIR(kGAForm70ID, 1, kForm70Lines.deductions.agedOrBlindAmount));
        return;
    }
    form.setX(l.itemizesBox);
    form.setNull(l.standardBox);
    form.assignIR(l.itemized, s.common(Utils::kItemizedDeductions));
    if (s.ga.formYes(kForm2ID, 1, kForm2Lines.incomeTaxAdjustmentBox)) {
        form.assignIR(l.incomeTaxAdjustment, s.engine.incomeTaxAdjustment(static_cast<char>(s.filingStatus)));
    } else {
        form.setNull(l.incomeTaxAdjustment);
    }
    form.assignIR(l.itemizedAllowed,
                  std::max(0.0, s.line(l.itemized) - s.line(l.incomeTaxAdjustment) - s.line(l.itemizedReduction)));
    form.assignII(l.deduction, l.itemizedAllowed);
}

// Line 11, the additional amount for each box "65 or over" and "blind"
// (the spouse's only on a joint return), with the standard deduction only.
void fillAgedOrBlindAmount(const PartYearSchedule& s) {
    const Form189217Lines& l = kLines;
    DataMgmt::TaxForm& form = s.form;
    if (!form.xMarked(l.standardBox)) {
        for (const FieldId& x : l.agedOrBlindBoxes) {
            form.setNull(x);
        }
        form.setNull(l.agedOrBlindCount);
        form.setNull(l.agedOrBlindAmount);
        return;
    }
    const Utils::PCTypes boxItems[] = {Utils::kTaxpayerAged65Box, Utils::kTaxpayerBlindBox, Utils::kSpouseAged65Box,
                                       Utils::kSpouseBlindBox};
    const std::size_t boxes = s.filingStatus == FilingStatus::kJoint ? 4 : 2;
    for (std::size_t k = 0; k < l.agedOrBlindBoxes.size(); ++k) {
        if (k < boxes) {
            s.engine.pullCommonText(s.federalForm, kGAForm189217ID, s.copy, l.agedOrBlindBoxes[k], boxItems[k]);
        } else {
            form.setXNo(l.agedOrBlindBoxes[k]);
        }
    }
    double count = 0;
    for (const FieldId& x : l.agedOrBlindBoxes) {
        count += form.xMarked(x) ? 1 : 0;
    }
    s.engine.storeScaledAmount(kGAForm189217ID, s.copy, l.agedOrBlindCount, count, 0);
    if (count == 0.0) {
        form.setNull(l.agedOrBlindCount);
    }
    s.assignOrBlank(l.agedOrBlindAmount, count * TaxYear::kAgedOrBlindAddition);
}

// Lines 12 to 15: the exemptions of form 70's filers and dependents, the
// Georgia share of the deduction and exemptions by the ratio, and the
// taxable income.
void fillTaxableIncome(const PartYearSchedule& s) {
    const Form189217Lines& l = kLines;
    DataMgmt::TaxForm& form = s.form;
    s.ga.getII(kGAForm70ID, kForm70Lines.exemptions.filers, s.handle, l.filers);
    form.timesIR(l.filerExemptions, l.filers, TaxYear::kFilerExemption.of(s.filingStatus));
    s.ga.getII(kGAForm70ID, kForm70Lines.exemptions.dependents, s.handle, l.dependents);
    form.timesIR(l.dependentExemptions, l.dependents, TaxYear::kDependentExemption);
    form.plus2(l.exemptions, l.dependentExemptions, l.filerExemptions);
    form.plus3(l.deductionsAndExemptions, l.deduction, l.agedOrBlindAmount, l.exemptions);
    form.assignIR(l.georgiaShare, s.line(l.deductionsAndExemptions) * (s.line(l.ratio) / TaxYear::kWholeRatio));
    form.minusII(l.taxableIncome, l.incomeAfterAdjustments.georgia, l.georgiaShare);
}

}  // namespace

void GATaxReturnCalcEngine::calcPartYearForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    const PartYearSchedule s{*this,           *gaReturn_, handle, *handle, copy, gaReturn_->getFilingStatusNumber(),
                             getFederalForm()};
    gaReturn_->getII(kGAForm69ID, kForm69Lines.heading.taxpayerNumber, s.handle, kLines.taxpayerNumber);

    if (gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.residency.fullYear)) {
        // A full-year resident has no Georgia part to compute.
        clearFieldRange(kGAForm189217ID, copy, kLines.wages.total, Primitives::kNullFieldID);
    } else {
        fillIncome(s);
        fillAdjustments(s);
        fillRatio(s);
        fillDeduction(s);
        fillAgedOrBlindAmount(s);
        fillTaxableIncome(s);
    }

    if (gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerNonresident) ||
        gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerPartYear)) {
        gaReturn_->setDataEntered(kGAForm189217ID, copy, true, false);
        handle->setCalculatedFlag(true);
    }
}

}  // namespace GACalculationMgmt
