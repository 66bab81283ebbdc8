// Georgia form 76, the document list: the filers' names and one row of four
// fields (first name, last name, number, relationship) for every dependent
// that federal form 113 lists with box 1136 marked.
//
// The rows start at field 9, four fields apart in the form's field order,
// and end before field 108, which closes the row area: the form holds 24
// rows. Dependents beyond the last row are not written (the main form says
// "WORKSHEET ATTACHED" for more than four dependents).

#include <vector>

#include "module/catalogues/Form113FieldIds.h"
#include "module/catalogues/GAForm76FieldIds.h"
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
    const auto& f76 = kGAForm76FieldIds;
    DataMgmt::TaxForm& list = *handle;

    // The row layout, from the form's field order.
    const DataMgmt::TaxFormDescPtr desc = list.getTaxFormDescriptor();
    if (desc.isNull()) {
        return;
    }
    const int firstRow = desc->positionOf(f76.f9);
    const int secondRow = desc->positionOf(f76.f13);
    const int closing = desc->positionOf(f76.f108);
    const int width = secondRow - firstRow;
    if (firstRow < 0 || secondRow < 0 || closing < 0 || width < 4 || closing < firstRow) {
        return;  // not the layout this routine knows how to fill
    }
    const int rowCapacity = (closing - firstRow) / width;

    // A return filed on the federal form without dependents lists none.
    if (getFederalForm() == kForm87ID) {
        clearFieldRange(kGAForm76ID, copy, f76.f9, f76.f108);
        return;
    }

    // The filers' names.
    assignOwnerName(handle, kGAForm69ID, gaReturn_->getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1}, f76.f5,
                    f76.f6, Primitives::kNullFieldID, Primitives::kNullFieldID, f76.f7, f76.f8,
                    Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID, 0);

    // One row per marked copy of form 113, no gaps, at most the form's
    // rows.
    const auto& f113 = kForm113FieldIds;
    const FieldId sources[4] = {f113.f1103, f113.f1105, f113.f1106, f113.f1108};
    DataMgmt::QVFieldIDIter position = desc->getFieldIDs();
    position = f76.f9;
    int rows = 0;
    for (const std::uint16_t number : listedDependents(static_cast<std::size_t>(rowCapacity))) {
        for (int k = 0; k < 4; ++k) {
            federalReturn()->getIIM(kForm113ID, sources[k], number, handle, (position + k).getFieldID());
        }
        ++rows;
        position += width;
    }

    // The rest of the row area, up to field 108 (not included), is empty.
    for (; position < f76.f108 && !position.atEOL(); position.next()) {
        list.setNull(position.getFieldID());
    }

    // The number of rows written. The list counts as entered and calculated
    // only when the federal return lists more than three dependents; its
    // box says it has been filled, whatever the count.
    list.assignIR(f76.f2, rows);
    if (gaReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kDependents) > 3) {
        gaReturn_->setDataEntered(kGAForm76ID, copy, true, false);
        list.setCalculatedFlag(true);
    }
    list.setX(f76.f1);
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
        if (federal.formYes(kForm113ID, number, kForm113FieldIds.f1136)) {
            copies.push_back(number);
        }
    }
    return copies;
}

}  // namespace GACalculationMgmt
