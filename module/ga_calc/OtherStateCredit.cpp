// Georgia form 73, the credit for tax paid to another state.
//
// One copy per other state. The residency answers of the information form
// choose one of two computations, full-year or part-year; the other is
// emptied. Each takes the Georgia share of the income that the other state
// also taxed, as a ratio in ten-thousandths (10,000 is the whole), reduces
// the deductions by that share, computes the Georgia tax of what remains of
// the income with the rate schedule, and limits the credit to the smaller of
// that tax and the amount entered (the tax paid to the other state).

#include <algorithm>
#include <cstdint>

#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using CreditComputation = Form73Lines::Computation;
const CreditComputation& kFullYear = kForm73Lines.fullYear;
const CreditComputation& kPartYear = kForm73Lines.partYear;

// The ratio, the deduction share, the Georgia tax of what remains and the
// credit, once the income and deduction lines of the computation stand. The
// ratio and the tax are computed from whole-dollar amounts.
void computeCredit(DataMgmt::TaxForm& sheet, const CreditComputation& c, int filingStatus) {
    const auto whole = [&](const FieldId& x) { return static_cast<double>(sheet.getIN(x)); };

    // The Georgia share in ten-thousandths, never above the whole; nothing
    // without a Georgia income to divide by.
    double ratio = 0.0;
    if (whole(c.georgiaIncome) > 0.0) {
        ratio =
            std::min(TaxYear::kWholeRatio * whole(c.otherStateIncome) / whole(c.georgiaIncome), TaxYear::kWholeRatio);
    }
    store(sheet, c.ratio, ratio);

    const double share =
        store(sheet, c.deductionShare, sheet.getIR(c.deductions) * sheet.getIR(c.ratio) * TaxYear::kRatioToFraction);
    store(sheet, c.taxedIncome, atLeastZero(sheet.getIR(c.otherStateIncome) - share));
    const double tax =
        store(sheet, c.tax, GATaxReturnCalcEngine::computeTaxFromRateSchedule(whole(c.taxedIncome), filingStatus));
    store(sheet, c.credit, atLeastZero(std::min(tax, sheet.getIR(c.limit))));
}

}  // namespace

void GATaxReturnCalcEngine::calcOtherStateCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                     int passThrough) {
    if (form == kGAForm73ID) {
        calcOtherStateCredit(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcOtherStateCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const Form73Lines& l = kForm73Lines;
    const Form69Lines::Residency& residency = kForm69Lines.residency;
    const Form70Lines& f70 = kForm70Lines;
    const FieldId none = Primitives::kNullFieldID;
    auto answered = [&](const FieldId& x) { return gaReturn_->formYes(kGAForm69ID, 1, x); };

    // The filers; the spouse's name and number on a joint return only.
    assignOwnerName(handle, kGAForm69ID, gaReturn_->getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1},
                    l.taxpayerName, l.taxpayerNumber, none, none, l.spouseName, l.spouseNumber, none, none, none, 0);
    updateOtherStateRows();

    if (answered(residency.taxpayerFullYear) || answered(residency.taxpayerPartYear)) {
        sheet.unProtect(l.stateAbbreviation);
    } else {
        sheet.makeProtectedAndSetNull(l.stateAbbreviation);
    }

    // A full-year resident (taxpayer, else spouse) uses the full-year
    // computation, a part-year resident (spouse, else taxpayer) the
    // part-year one; without a residency answer the worksheet is emptied.
    if (answered(residency.taxpayerFullYear) || answered(residency.spouseFullYear)) {
        clearFieldRange(kGAForm73ID, copy, kPartYear.otherStateIncome, kPartYear.credit);
        gaReturn_->getII(kGAForm70ID, f70.income.georgiaAgi, handle, kFullYear.georgiaIncome);
        store(sheet, l.standardAndItemized,
              static_cast<double>(gaReturn_->getIN(kGAForm70ID, 1, f70.deductions.totalStandard)) +
                  static_cast<double>(gaReturn_->getIN(kGAForm70ID, 1, f70.deductions.totalItemized)));
        gaReturn_->getII(kGAForm70ID, f70.exemptions.total, handle, l.exemptions);
        store(sheet, kFullYear.deductions, sheet.getIR(l.standardAndItemized) + sheet.getIR(l.exemptions));
        computeCredit(sheet, kFullYear, gaReturn_->getFilingStatusNumber());
    } else if (answered(residency.spousePartYear) || answered(residency.taxpayerPartYear)) {
        clearFieldRange(kGAForm73ID, copy, kFullYear.otherStateIncome, kFullYear.credit);
        const Form189217Lines& schedule3 = kForm189217Lines;
        gaReturn_->getII(kGAForm189217ID, schedule3.incomeAfterAdjustments.georgia, handle, kPartYear.georgiaIncome);
        gaReturn_->getII(kGAForm189217ID, schedule3.georgiaShare, handle, kPartYear.deductions);
        computeCredit(sheet, kPartYear, gaReturn_->getFilingStatusNumber());
    } else {
        clearFieldRange(kGAForm73ID, copy, kFullYear.otherStateIncome, none);
    }

    if (sheet.sumOf2(kFullYear.credit, kPartYear.credit) > 0) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
