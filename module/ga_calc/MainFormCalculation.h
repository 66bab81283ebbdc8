// The calculation of one copy of form 70, the main return form, as a
// sequence of named steps. The steps that fill the heading and the income
// live in MainForm.cpp, those of the tax, credits, payments and result in
// MainFormTax.cpp.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

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
          federalForm_(engine.getFederalForm()),
          finalPass_(engine.onFinalMainFormPass()) {}

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
    std::int64_t common(Utils::PCTypes item) const { return ga_.pullCommon(federalForm_, 1, item); }
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
    // Lines that a rule empties. Among them may be what the filer enters on
    // form 70 (the other adjustment of the itemized deductions, the
    // dependents not counted for the low-income credit, the overpayment
    // credited to next year): only the final pass empties those, on the
    // figures the rule is about; an earlier pass keeps them.
    void emptyLine(const FieldId& x);
    void setNull(std::initializer_list<FieldId> fields) {
        for (const FieldId& x : fields) {
            emptyLine(x);
        }
    }
    // Empties the lines from first to last in the form's field order as
    // emptyLine does.
    void clearRange(const FieldId& first, const FieldId& last);
    // Closes the line to entry and empties it as emptyLine does.
    void protectAndEmpty(const FieldId& x) {
        form_.makeProtected(x);
        emptyLine(x);
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
    const bool finalPass_;  // the engine's last pass of form 70, or one outside the walk
    std::int64_t federalStatus_ = 0;
    int status_ = FilingStatus::kSingle;
    bool fullYear_ = false;
    double remainder_ = 0;
};

}  // namespace GACalculationMgmt
