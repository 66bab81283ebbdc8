// Georgia form 76, the document list: the filers' names and one row of four
// fields (first name, last name, number, relationship) for every dependent
// that federal form 113 lists with box 1136 marked.
//
// The rows start at field 9, four fields apart in the form's field order,
// and end before field 108, which closes the row area: the form holds 24
// rows. Dependents beyond the last row are not written (the main form says
// "WORKSHEET ATTACHED" for more than four dependents).

#include <vector>

#include "module/catalogues/Form113Lines.h"
#include "module/catalogues/Form76Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcDocumentListForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                 int passThrough) {
    if (form == kGAForm76ID) {
        calcDocumentList(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcDocumentList(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    const Form76Lines& f76 = kForm76Lines;
    DataMgmt::TaxForm& list = *handle;

    // The row layout, from the form's field order.
    const DataMgmt::TaxFormDescPtr desc = list.getTaxFormDescriptor();
    if (desc.isNull()) {
        return;
    }
    const int firstRow = desc->positionOf(f76.firstRow);
    const int secondRow = desc->positionOf(f76.secondRow);
    const int closing = desc->positionOf(f76.rowsEnd);
    const int width = secondRow - firstRow;
    if (firstRow < 0 || secondRow < 0 || closing < 0 || width < 4 || closing < firstRow) {
        return;  // not the layout this routine knows how to fill
    }
    const int rowCapacity = (closing - firstRow) / width;

    // A return filed on the federal form without dependents lists none.
    if (getFederalForm() == kForm87ID) {
        clearFieldRange(kGAForm76ID, copy, f76.firstRow, f76.rowsEnd);
        return;
    }

    // The filers' names.
    assignOwnerName(handle, kGAForm69ID, gaReturn_->getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1},
                    f76.taxpayerName, f76.taxpayerNumber, Primitives::kNullFieldID, Primitives::kNullFieldID,
                    f76.spouseName, f76.spouseNumber, Primitives::kNullFieldID, Primitives::kNullFieldID,
                    Primitives::kNullFieldID, 0);

    // One row per marked copy of form 113, no gaps, at most the form's
    // rows.
    const auto& sources = kForm113Lines.row;
    DataMgmt::QVFieldIDIter position = desc->getFieldIDs();
    position = f76.firstRow;
    int rows = 0;
    for (const std::uint16_t number : listedDependents(static_cast<std::size_t>(rowCapacity))) {
        for (int k = 0; k < 4; ++k) {
            federalReturn()->getIIM(kForm113ID, sources[k], number, handle, (position + k).getFieldID());
        }
        ++rows;
        position += width;
    }

    // The rest of the row area, up to field 108 (not included), is empty.
    for (; position < f76.rowsEnd && !position.atEOL(); position.next()) {
        list.setNull(position.getFieldID());
    }

    // The number of rows written. The list counts as entered and calculated
    // only when the federal return lists more than three dependents; its
    // box says it has been filled, whatever the count.
    list.assignIR(f76.rowCount, rows);
    if (gaReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kDependents) > 3) {
        gaReturn_->setDataEntered(kGAForm76ID, copy, true, false);
        list.setCalculatedFlag(true);
    }
    list.setX(f76.mark);
}

std::vector<std::uint16_t> GATaxReturnCalcEngine::listedDependents(std::size_t limit) {
    std::vector<std::uint16_t> copies;
    DataMgmt::TaxReturn& federal = *federalReturn();
    for (DataMgmt::TaxFormIter it = federal.getForms(kForm113ID); !it.atEOL() && copies.size() < limit; it.next()) {
        DataMgmt::TaxFormPtr dependent = it.getTaxForm();
        if (dependent.isNull()) {
            continue;
        }
        const std::uint16_t number = dependent->getCopyNumber();
        if (federal.formYes(kForm113ID, number, kForm113Lines.listed)) {
            copies.push_back(number);
        }
    }
    return copies;
}

}  // namespace GACalculationMgmt
