// Which Georgia field receives a field of a federal form: the federal form
// chooses the receiving form and the rows of its table (FederalMappingRows.h)
// the receiving field.

#include <array>
#include <cstdint>

#include "module/catalogues/FederalMappingRows.h"
#include "module/catalogues/Form131Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"

namespace GADataMgmt {

namespace {

using FieldRow = FederalMappingRow;

// Place numbers reported to the host's diagnostic.
constexpr std::uint32_t kPlaceForm92 = 187;
constexpr std::uint32_t kPlaceForm43 = 197;
constexpr std::uint32_t kPlaceForm136 = 203;
constexpr std::uint32_t kPlaceForm183 = 268;
constexpr std::uint32_t kPlaceForm131 = 281;
constexpr std::uint32_t kPlaceForm133618 = 298;
constexpr std::uint32_t kPlaceNoForm = 302;

template <std::size_t N>
const FieldRow* findRow(const std::array<FieldRow, N>& rows, const Primitives::QVImmutableIdentifier& field) {
    for (const FieldRow& row : rows) {
        if (row.federal == field) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

void GATaxReturn::mapFederalField(const FormID& federalForm, const FieldID& federalField, FormID& stateForm,
                                  FieldID& stateField) {
    // Start from the null answers before anything is read: a caller that
    // passes one identifier as both federalField and stateField asks for the
    // form.
    stateForm = Primitives::QVImmutableFormIdentifier(0);
    stateField = Primitives::QVImmutableIdentifier(0);

    const FormID federalFormCopy = federalForm;
    const FieldID field = federalField;

    const FieldRow* row = nullptr;
    FormID receivingForm;
    std::uint32_t place = 0;
    if (federalFormCopy == kForm92ID) {
        receivingForm = kGAForm69ID;
        place = kPlaceForm92;
        row = findRow(kForm92MappingRows, field);
    } else if (federalFormCopy == kForm43ID || federalFormCopy == kForm155ID) {
        receivingForm = kGAForm72ID;
        place = kPlaceForm43;
        row = findRow(kForm43MappingRows, field);
    } else if (federalFormCopy == kForm136ID) {
        receivingForm = kGAForm77ID;  // the form has no field rows
        place = kPlaceForm136;
    } else if (federalFormCopy == kForm183ID) {
        receivingForm = kGAForm69ID;
        place = kPlaceForm183;
        row = findRow(kForm183MappingRows, field);
    } else if (federalFormCopy == kForm131ID) {
        receivingForm = kGAForm69ID;
        place = kPlaceForm131;
        if (field == kForm131Lines.mappedAnswer) {
            // The office's field marks its Georgia box on the information
            // form. Without a copy 1 of form 69 there is nothing to mark; the
            // receiving field is answered all the same.
            DataMgmt::TaxFormPtr info = getFormUVPtr(kGAForm69ID, 1, false);
            if (!info.isNull()) {
                info->setX(kForm69Lines.officeBox);
            }
            stateField = kForm69Lines.officeBox;
            return;
        }
    } else if (federalFormCopy == kForm133618ID) {
        receivingForm = kStateForm32783ID;
        place = kPlaceForm133618;
        row = findRow(kForm133618MappingRows, field);
    } else {
        debugStateField(federalFormCopy, field, StateDataMgmt::kDebugNoFormMatch, kPlaceNoForm);
        return;
    }

    if (field.getNumber() <= 0) {
        stateForm = receivingForm;
        return;
    }
    if (row != nullptr) {
        stateField = row->receiving;
        return;
    }
    debugStateField(federalFormCopy, field, StateDataMgmt::kDebugNoFieldRow, place);
}

}  // namespace GADataMgmt
