// Which Georgia field receives a field of a federal form.
//
// The rows are a table transcribed federal field by federal field. A
// Georgia field that the module reads goes by its name; the others, which
// the module only carries, keep their numbers, with what they receive beside
// them.

#include <array>
#include <cstdint>

#include "module/catalogues/FederalMapFieldIds.h"
#include "module/catalogues/Form131Lines.h"
#include "module/catalogues/Form133618Lines.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/Form92Lines.h"
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

const Form69Lines& kInfo = kForm69Lines;
const Form92Lines::Deposit& kFederalDeposit = kForm92Lines.deposit;

// Federal form 92, the personal information: three fields the information
// form carries as they stand, the first filing choice, and the refund's
// bank account.
constexpr std::array<FieldRow, 10> kForm92Rows{{
    {kForm92FieldIds.f624, kGAForm69FieldIds.f9},   // carried
    {kForm92FieldIds.f625, kGAForm69FieldIds.f10},  // carried
    {kForm92FieldIds.f626, kGAForm69FieldIds.f11},  // carried
    {kFederalDeposit.wanted, kInfo.options.directDeposit},
    {kForm92FieldIds.f766, kInfo.filing.choiceA},
    {kForm92FieldIds.f711, Primitives::QVImmutableIdentifier(0)},  // the return header's line 00515
    {kFederalDeposit.routingNumber, kInfo.options.depositRouting},
    {kFederalDeposit.accountNumber, kInfo.options.depositAccount},
    {kFederalDeposit.checking, kInfo.options.depositChecking},
    {kFederalDeposit.savings, kInfo.options.depositSavings},
}};

// Federal forms 43 and 155 share one row, carried onto form 72.
constexpr std::array<FieldRow, 1> kForm43Rows{{
    {kFederalMapFieldIds.f41, kGAForm72FieldIds.f1},
}};

// Federal form 183: the bank data carried from the federal return, the
// withdrawal of the amount owed, and seven fields the information form
// carries as they stand.
constexpr std::array<FieldRow, 19> kForm183Rows{{
    {kForm183FieldIds.f33, kInfo.options.depositFromFederal},
    {kForm183FieldIds.f188831, kInfo.withdrawal.fromFederal},
    {kForm183FieldIds.f34, Primitives::QVImmutableIdentifier(0)},  // known, without a Georgia field
    {kForm183FieldIds.f155, kInfo.withdrawal.yes},
    {kForm183FieldIds.f154, kInfo.withdrawal.no},
    {kForm183FieldIds.f158, kInfo.withdrawal.routingNumber},
    {kForm183FieldIds.f160, kInfo.withdrawal.accountNumber},
    {kForm183FieldIds.f156, kInfo.withdrawal.checking},
    {kForm183FieldIds.f157, kInfo.withdrawal.savings},
    {kForm183FieldIds.f162, kInfo.withdrawal.amountOwed},
    {kForm183FieldIds.f164, kInfo.withdrawal.date},
    {kForm183FieldIds.f79766, kGAForm69FieldIds.f81572},
    {kForm183FieldIds.f79767, kGAForm69FieldIds.f81573},
    {kForm183FieldIds.f79768, kGAForm69FieldIds.f81574},
    {kForm183FieldIds.f79769, kGAForm69FieldIds.f81575},
    {kForm183FieldIds.f142796, kGAForm69FieldIds.f142824},
    {kForm183FieldIds.f142797, kGAForm69FieldIds.f142825},
    {kForm183FieldIds.f142798, kGAForm69FieldIds.f142826},
    {kForm183FieldIds.f69705, Primitives::QVImmutableIdentifier(0)},  // known, without a Georgia field
}};

// Federal form 133618, another state of residence, onto state form 32783:
// the residency there, the income the other state taxed and the tax paid to
// it.
constexpr std::array<FieldRow, 3> kForm133618Rows{{
    {kForm133618Lines.residency, kStateForm32783FieldIds.f133645},
    {kForm133618Lines.income, kStateForm32783FieldIds.f133646},
    {kForm133618Lines.tax, kStateForm32783FieldIds.f133647},
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
        if (field == kForm131Lines.mappedAnswer) {
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
