// The other-state rows of form 73: before each calculation, every state for
// which the federal return holds a nonresident return gets its row, with the
// amounts of that return, on a full-year resident's return.

#include <string>

#include "module/catalogues/Form133618Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/util/Utils.h"

namespace GACalculationMgmt {

namespace {

const Form73Lines& form73 = kForm73Lines;
// The lines that a row filled from the federal return takes from it.
const Form73Lines::Computation& kFullYear = kForm73Lines.fullYear;

bool sameState(const std::string& a, const std::string& b) { return Utils::QVStringUtils::stricmp(a, b) == 0; }

// Calls step(row) for every copy of form 73.
template <class Step>
void forEachRow(DataMgmt::TaxReturn& ga, Step step) {
    for (DataMgmt::TaxFormIter it = ga.getForms(kGAForm73ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr row = it.getTaxForm();
        if (!row.isNull()) {
            step(*row);
        }
    }
}

// The row's state and the two amounts open for entry.
void openEnteredLines(DataMgmt::TaxForm& row) {
    row.unProtect(form73.stateAbbreviation);
    row.unProtect(kFullYear.otherStateIncome);
    row.unProtect(kFullYear.limit);
}

// The copy of form 73 whose state, as entered or as the federal return
// wrote it, is the state (without regard to case); null when none is.
DataMgmt::TaxFormPtr findStateRow(DataMgmt::TaxReturn& ga, const std::string& state) {
    for (DataMgmt::TaxFormIter rows = ga.getForms(kGAForm73ID); !rows.atEOL(); rows.next()) {
        DataMgmt::TaxFormPtr row = rows.getTaxForm();
        if (row.isNull()) {
            continue;
        }
        const std::uint16_t copy = row->getCopyNumber();
        if (sameState(ga.getFieldAsString(kGAForm73ID, copy, form73.stateAbbreviation), state) ||
            sameState(ga.getFieldAsString(kGAForm73ID, copy, form73.federalState), state)) {
            return row;
        }
    }
    return DataMgmt::TaxFormPtr();
}

// A state without a row: on a return without form 73 the first copy is made
// for it, marked as filled from the federal return. When form 73 already
// has copies, the information form marks the state left without a row, and
// form 73 is left as it is (null).
DataMgmt::TaxFormPtr addStateRow(DataMgmt::TaxReturn& ga, const std::string& state) {
    DataMgmt::TaxFormPtr info = ga.getFormUVPtr(kGAForm69ID, 1, false);
    const FieldId& withoutRow = kForm69Lines.otherStateWithoutRow;
    if (ga.formExists(kGAForm73ID, 1)) {
        if (!info.isNull()) {
            info->setX(withoutRow);
        }
        return DataMgmt::TaxFormPtr();
    }
    DataMgmt::TaxFormPtr row = ga.createForm(kGAForm73ID);
    if (row.isNull()) {
        return row;
    }
    row->unProtect(form73.fromFederalReturn);
    row->setX(form73.fromFederalReturn);
    row->assignText(form73.federalState, state);
    if (!info.isNull()) {
        info->setXNo(withoutRow);
    }
    return row;
}

// A row marked as filled from the federal return takes the state and the
// two amounts of that state's return, locked; an unmarked row keeps them
// open for entry.
void fillStateRow(DataMgmt::TaxReturn& federal, std::uint16_t federalCopy, DataMgmt::TaxFormPtr& row,
                  const std::string& state) {
    row->unProtect(form73.fromFederalReturn);
    if (!row->xMarked(form73.fromFederalReturn)) {
        openEnteredLines(*row);
        return;
    }
    row->makeProtected(form73.stateAbbreviation);
    row->assignText(form73.stateAbbreviation, state);
    row->makeProtected(kFullYear.otherStateIncome);
    federal.getIIM(kForm133618ID, kForm133618Lines.income, federalCopy, row, kFullYear.otherStateIncome);
    row->makeProtected(kFullYear.limit);
    federal.getIIM(kForm133618ID, kForm133618Lines.tax, federalCopy, row, kFullYear.limit);
}

}  // namespace

void GATaxReturnCalcEngine::updateOtherStateRows() {
    DataMgmt::TaxReturn& ga = *gaReturn_;
    const Form69Lines::Residency& residency = kForm69Lines.residency;
    if (!ga.formYes(kGAForm69ID, 1, residency.taxpayerFullYear) &&
        !ga.formYes(kGAForm69ID, 1, residency.taxpayerPartYear) &&
        !ga.formYes(kGAForm69ID, 1, residency.taxpayerNonresident)) {
        // The residency is left to the default that form 69 gives when it is
        // calculated, later in this calculation (the rows are updated before
        // it): the update after it decides, as it would with the box entered.
        return;
    }
    if (!ga.formYes(kGAForm69ID, 1, residency.taxpayerFullYear)) {
        // Only a full-year resident claims credit for tax paid to another
        // state on this form.
        forEachRow(ga, [](DataMgmt::TaxForm& row) {
            row.setXNo(form73.fromFederalReturn);
            row.makeProtected(form73.fromFederalReturn);
        });
        return;
    }
    forEachRow(ga, openEnteredLines);

    // Every other state in which the federal return holds a nonresident
    // return.
    DataMgmt::TaxReturn& federal = *federalReturn();
    const std::string ownState = gaReturn_->getAbbreviation();
    for (DataMgmt::TaxFormIter it = federal.getForms(kForm133618ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr stateReturn = it.getTaxForm();
        if (stateReturn.isNull()) {
            continue;
        }
        const std::uint16_t federalCopy = stateReturn->getCopyNumber();
        const std::string state = federal.getFieldAsString(kForm133618ID, federalCopy, kForm133618Lines.state);
        if (sameState(state, ownState) ||
            !sameState(federal.getFieldAsString(kForm133618ID, federalCopy, kForm133618Lines.residency),
                       "Nonresident")) {
            continue;
        }
        DataMgmt::TaxFormPtr row = findStateRow(ga, state);
        if (row.isNull()) {
            row = addStateRow(ga, state);
        }
        if (!row.isNull()) {
            fillStateRow(federal, federalCopy, row, state);
        }
    }
}

}  // namespace GACalculationMgmt
