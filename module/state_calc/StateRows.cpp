// The state's rows of federal form 190 on the information form.
//
// Federal form 190 holds two groups of repeating rows, each with an amount
// and a state text. A row belongs to this state when its state text is the
// state's abbreviation (any case), or when it names no state and its amount
// is positive. Rows of the first group are copied into up to twelve output
// rows of the information form; rows of the second group are only totalled.
// Rows and columns are found by position in the forms' field order.
#include <array>
#include <string>

#include "module/catalogues/Form190FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

namespace {

constexpr std::size_t kOutputRows = 12;

}  // namespace

void StateTaxReturnCalcEngine::transferStateRows(DataMgmt::TaxFormPtr info, FieldId secondGroupTotal, FieldId outputSum,
                                                 FieldId grandTotal, const std::array<FieldId, 12>& outputAmounts) {
    if (info.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *info;
    const auto& f190 = kForm190FieldIds;
    const std::string abbreviation = stateReturn_->getAbbreviation();

    // Column offsets of a row, measured on the first row of the first group.
    DataMgmt::TaxFormDescPtr federalDesc = taxReturn->getTaxFormDescriptor(kForm190ID);
    if (federalDesc.isNull()) {
        throw Exceptions::QuarloException("federal form 190 is not described", "StateTaxReturnCalcEngine",
                                          "transferStateRows");
    }
    const DataMgmt::QVFieldIDIter fields = federalDesc->getFieldIDs();
    const int rowStart = fields.positionOf(f190.f10);
    const int amountOffset = fields.positionOf(f190.f11) - rowStart;
    const int stateOffset = fields.positionOf(f190.f12) - rowStart;
    const int exclusionOffset = fields.positionOf(f190.f127) - rowStart;
    const int firstStride = fields.positionOf(f190.f13) - rowStart;
    const int secondStride = fields.positionOf(f190.f75) - fields.positionOf(f190.f72);
    if (firstStride <= 0 || secondStride <= 0) {
        throw Exceptions::QuarloException("the rows of federal form 190 are not in row order",
                                          "StateTaxReturnCalcEngine", "transferStateRows");
    }

    // The paired field of each output row stands just before its amount.
    std::array<FieldId, kOutputRows> pairedFields;
    DataMgmt::QVFieldIDIter infoFields = form.description().getFieldIDs();
    for (std::size_t i = 0; i < kOutputRows; ++i) {
        infoFields = outputAmounts[i];
        pairedFields[i] = (infoFields - 1).getFieldID();
    }

    struct RowValues {
        double amount;
        std::string state;
    };
    auto readRow = [&](const DataMgmt::QVFieldIDIter& row) {
        RowValues values;
        values.amount = static_cast<double>(taxReturn->getIN(kForm190ID, 1, (row + amountOffset).getFieldID()));
        values.state = taxReturn->formString(kForm190ID, 1, (row + stateOffset).getFieldID());
        return values;
    };
    auto counts = [&](const RowValues& values) {
        return Utils::QVStringUtils::stricmp(values.state, abbreviation) == 0 ||
               (values.amount > 0 && values.state.empty());
    };

    // Second group: only the total.
    double total = 0.0;
    DataMgmt::QVFieldIDIter row = fields;
    for (row = f190.f72; !row.atEOL() && row <= f190.f81; row += secondStride) {
        const RowValues values = readRow(row);
        if (counts(values)) {
            total += values.amount;
        }
    }
    if (total > 0) {
        form.makeProtected(secondGroupTotal);
        form.assignIR(secondGroupTotal, total);
    } else {
        form.unProtect(secondGroupTotal);
        form.setNull(secondGroupTotal);
    }

    // First group: each counting row, unless excluded, fills the next output
    // row.
    std::size_t filled = 0;
    for (row = f190.f10; filled < kOutputRows && !row.atEOL() && row <= f190.f37; row += firstStride) {
        const RowValues values = readRow(row);
        if (!counts(values) || taxReturn->formYes(kForm190ID, 1, (row + exclusionOffset).getFieldID())) {
            continue;
        }
        taxReturn->getII(kForm190ID, row.getFieldID(), info, pairedFields[filled]);
        form.assignIR(outputAmounts[filled], values.amount);
        form.makeProtected(pairedFields[filled]);
        form.makeProtected(outputAmounts[filled]);
        ++filled;
    }
    // Output rows no longer needed are emptied and given back to the user.
    for (std::size_t i = filled; i < kOutputRows; ++i) {
        form.unProtect(pairedFields[i]);
        form.unProtect(outputAmounts[i]);
        form.setNull(pairedFields[i]);
        form.setNull(outputAmounts[i]);
    }

    double sum = 0.0;
    for (const FieldId& amount : outputAmounts) {
        sum += form.getIR(amount);
    }
    form.assignIR(outputSum, sum);
    form.plus2(grandTotal, secondGroupTotal, outputSum);
}

}  // namespace StateCalculationMgmt
