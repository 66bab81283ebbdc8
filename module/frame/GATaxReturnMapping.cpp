// Which Georgia field receives a field of a federal form.

#include <array>
#include <cstdint>

#include "module/catalogues/FederalMapFieldIds.h"
#include "module/catalogues/Form131FieldIds.h"
#include "module/catalogues/Form133618FieldIds.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm72FieldIds.h"
#include "module/catalogues/StateForm32783FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"

namespace GADataMgmt {

namespace {

// One row of a federal form: the federal field and the Georgia field that
// receives it (field 0: a known federal field without a Georgia counterpart).
struct FieldRow {
    Primitives::QVImmutableIdentifier federal;
    Primitives::QVImmutableIdentifier receiving;
};

// Federal form 92, the personal information: residency, address and
// identification.
constexpr std::array<FieldRow, 10> kForm92Rows{{
    {kForm92FieldIds.f624, kGAForm69FieldIds.f9},
    {kForm92FieldIds.f625, kGAForm69FieldIds.f10},
    {kForm92FieldIds.f626, kGAForm69FieldIds.f11},
    {kForm92FieldIds.f536, kGAForm69FieldIds.f77},
    {kForm92FieldIds.f766, kGAForm69FieldIds.f13},
    {kForm92FieldIds.f711, Primitives::QVImmutableIdentifier(0)},
    {kForm92FieldIds.f392, kGAForm69FieldIds.f79},
    {kForm92FieldIds.f391, kGAForm69FieldIds.f80},
    {kForm92FieldIds.f393, kGAForm69FieldIds.f81},
    {kForm92FieldIds.f394, kGAForm69FieldIds.f82},
}};

// Federal forms 43 and 155 share one row.
constexpr std::array<FieldRow, 1> kForm43Rows{{
    {kFederalMapFieldIds.f41, kGAForm72FieldIds.f1},
}};

constexpr std::array<FieldRow, 19> kForm183Rows{{
    {kForm183FieldIds.f33, kGAForm69FieldIds.f78},
    {kForm183FieldIds.f188831, kGAForm69FieldIds.f189221},
    {kForm183FieldIds.f34, Primitives::QVImmutableIdentifier(0)},
    {kForm183FieldIds.f155, kGAForm69FieldIds.f187983},
    {kForm183FieldIds.f154, kGAForm69FieldIds.f187984},
    {kForm183FieldIds.f158, kGAForm69FieldIds.f187987},
    {kForm183FieldIds.f160, kGAForm69FieldIds.f187988},
    {kForm183FieldIds.f156, kGAForm69FieldIds.f187985},
    {kForm183FieldIds.f157, kGAForm69FieldIds.f187986},
    {kForm183FieldIds.f162, kGAForm69FieldIds.f187989},
    {kForm183FieldIds.f164, kGAForm69FieldIds.f187990},
    {kForm183FieldIds.f79766, kGAForm69FieldIds.f81572},
    {kForm183FieldIds.f79767, kGAForm69FieldIds.f81573},
    {kForm183FieldIds.f79768, kGAForm69FieldIds.f81574},
    {kForm183FieldIds.f79769, kGAForm69FieldIds.f81575},
    {kForm183FieldIds.f142796, kGAForm69FieldIds.f142824},
    {kForm183FieldIds.f142797, kGAForm69FieldIds.f142825},
    {kForm183FieldIds.f142798, kGAForm69FieldIds.f142826},
    {kForm183FieldIds.f69705, Primitives::QVImmutableIdentifier(0)},
}};

constexpr std::array<FieldRow, 3> kForm133618Rows{{
    {kForm133618FieldIds.f133652, kStateForm32783FieldIds.f133645},
    {kForm133618FieldIds.f133653, kStateForm32783FieldIds.f133646},
    {kForm133618FieldIds.f133654, kStateForm32783FieldIds.f133647},
}};

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
        row = findRow(kForm92Rows, field);
    } else if (federalFormCopy == kForm43ID || federalFormCopy == kForm155ID) {
        receivingForm = kGAForm72ID;
        place = kPlaceForm43;
        row = findRow(kForm43Rows, field);
    } else if (federalFormCopy == kForm136ID) {
        receivingForm = kGAForm77ID;  // the form has no field rows
        place = kPlaceForm136;
    } else if (federalFormCopy == kForm183ID) {
        receivingForm = kGAForm69ID;
        place = kPlaceForm183;
        row = findRow(kForm183Rows, field);
    } else if (federalFormCopy == kForm131ID) {
        receivingForm = kGAForm69ID;
        place = kPlaceForm131;
        if (field == kForm131FieldIds.f72481) {
            // The office's field marks its Georgia box on the information
            // form. Without a copy 1 of form 69 there is nothing to mark; the
            // receiving field is answered all the same.
            DataMgmt::TaxFormPtr info = getFormUVPtr(kGAForm69ID, 1, false);
            if (!info.isNull()) {
                info->setX(kGAForm69FieldIds.f133617);
            }
            stateField = kGAForm69FieldIds.f133617;
            return;
        }
    } else if (federalFormCopy == kForm133618ID) {
        receivingForm = kStateForm32783ID;
        place = kPlaceForm133618;
        row = findRow(kForm133618Rows, field);
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
