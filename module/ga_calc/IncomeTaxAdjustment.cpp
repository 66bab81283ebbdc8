// Form 70 line 74: the share of the federal deduction for income taxes that
// Georgia adds back to the itemized deductions.

#include <algorithm>
#include <string>

#include "module/catalogues/Form190Lines.h"
#include "module/catalogues/Form2Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"

namespace GACalculationMgmt {

// The part of the federal deduction for state and local income tax that is
// Georgia's own or another state's tax of the year: the income tax paid
// (estimated and extension payments, other states' withholding, Georgia
// withholding above what the federal return deducts) over the income tax
// deducted, applied to the federal deduction beyond its limit.
double GATaxReturnCalcEngine::incomeTaxAdjustment(char filingStatus) {
    GADataMgmt::GATaxReturn& ga = *gaReturn_;
    const Form190Lines& f190 = kForm190Lines;
    const Form2Lines& f2 = kForm2Lines;

    double otherStates = 0.0;
    double paid = 0.0;
    DataMgmt::TaxFormPtr form190 = ga.getFormUVPtr(kForm190ID, 1, false);
    std::string georgia;
    ga.getStateCode(georgia);
    if (!form190.isNull()) {
        const DataMgmt::TaxFormDescPtr desc = form190->getTaxFormDescriptor();
        const std::int64_t yearStart = Utils::dateToNumber(1, 1, TaxYear::kYear);
        const std::int64_t yearEnd = Utils::dateToNumber(12, 31, TaxYear::kYear);
        // Rows of (date, amount, state) whose date lies in the tax year, and
        // rows of (-, amount, state) whatever the date.
        auto addRows = [&](const Form190Lines::RowGroup& group, bool dated) {
            DataMgmt::QVFieldIDIter row = desc->getFieldIDs();
            const int step = desc->positionOf(group.secondRow) - desc->positionOf(group.firstRow);
            if (desc->positionOf(group.firstRow) < 0 || step <= 0) {
                return;
            }
            for (row = group.firstRow; !row.atEOL() && row <= group.lastRow; row += step) {
                const FieldId dateField = row.getFieldID();
                const FieldId amountField = (row + 1).getFieldID();
                const FieldId stateField = (row + 2).getFieldID();
                if (amountField.isNullID() || stateField.isNullID()) {
                    break;
                }
                // Georgia's own rows (a row naming no state among them, as
                // the estimated payments take it) are paid rather than
                // another state's.
                const std::string state = ga.getFieldAsString(kForm190ID, 1, stateField);
                const auto amount = static_cast<double>(ga.getIN(kForm190ID, 1, amountField));
                if (isStateRow(state, amount, georgia)) {
                    continue;
                }
                if (dated) {
                    const std::int64_t day = Utils::strDateToNumber(ga.getFieldAsString(kForm190ID, 1, dateField));
                    if (day < yearStart || day > yearEnd) {
                        continue;
                    }
                }
                otherStates += amount;
            }
        };
        addRows(f190.datedRows, true);
        addRows(f190.rowsByState, false);
        const auto federal = [&](const FieldId& x) { return static_cast<double>(ga.getIN(kForm190ID, 1, x)); };
        paid = federal(f190.paid[0]) + federal(f190.paid[1]) + federal(f190.paid[2]) + federal(f190.paid[3]) -
               static_cast<double>(ga.getIN(kGAForm69ID, 1, kForm69Lines.estimatedPayments.undated));
    }

    const double withheld = ga.getStateTaxWithheld(filingStatus);
    const double deducted = static_cast<double>(ga.getIN(kForm2ID, 1, f2.incomeTaxDeducted));
    double allowedWithholding = std::min(withheld, deducted);
    if (deducted - allowedWithholding <= TaxYear::kWithholdingTolerance) {
        allowedWithholding = deducted;
    }
    const double incomeTax = paid + otherStates + deducted - allowedWithholding;
    const auto form2 = [&](const FieldId& x) { return static_cast<double>(ga.getIN(kForm2ID, 1, x)); };
    const double base = form2(f2.adjustmentBase) - form2(f2.takenOffBase[0]) - form2(f2.takenOffBase[1]);
    return proportionalShare(incomeTax, deducted, base);
}

}  // namespace GACalculationMgmt
