// The state's rows of federal form 190 on the information form.
//
// Federal form 190 holds two groups of repeating rows, each with an amount
// and a state text. A row belongs to this state when its state text is the
// state's abbreviation (any case), or when it names no state and its amount
// is positive. Rows of the first group are copied into up to twelve output
// rows of the information form; rows of the second group are only totalled.
// Rows and columns are found by position in the forms' field order.
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "module/catalogues/Form190Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

namespace {

constexpr std::size_t kOutputRows = 12;
constexpr const char* kClassName = "StateTaxReturnCalcEngine";

using OutputFields = std::array<FieldId, kOutputRows>;

// Column `offset` of the row the iterator stands on.
FieldId column(const DataMgmt::QVFieldIDIter& row, int offset) { return (row + offset).getFieldID(); }

// The rows of federal form 190 (copy 1) as the state reads them: the column
// offsets of a row, measured on the first row of the first group, the
// distance from one row to the next in each group, and which rows count.
class Form190Rows {
public:
    Form190Rows(const DataMgmt::TaxReturn& federal, std::string abbreviation)
        : federal_(federal), abbreviation_(std::move(abbreviation)) {
        const Form190Lines& f190 = kForm190Lines;
        DataMgmt::TaxFormDescPtr desc = federal.getTaxFormDescriptor(kForm190ID);
        if (desc.isNull()) {
            throw Exceptions::QuarloException("federal form 190 is not described", kClassName, "transferStateRows");
        }
        fields_ = desc->getFieldIDs();
        const int rowStart = fields_.positionOf(f190.datedRows.firstRow);
        amountOffset_ = fields_.positionOf(f190.firstAmount) - rowStart;
        stateOffset_ = fields_.positionOf(f190.firstState) - rowStart;
        exclusionOffset_ = fields_.positionOf(f190.firstExclusion) - rowStart;
        firstStride_ = fields_.positionOf(f190.datedRows.secondRow) - rowStart;
        secondStride_ = fields_.positionOf(f190.secondGroup.secondRow) - fields_.positionOf(f190.secondGroup.firstRow);
        if (firstStride_ <= 0 || secondStride_ <= 0) {
            throw Exceptions::QuarloException("the rows of federal form 190 are not in row order", kClassName,
                                              "transferStateRows");
        }
    }

    // An iterator over the form's fields, to be set on a row.
    DataMgmt::QVFieldIDIter walker() const { return fields_; }
    int firstStride() const { return firstStride_; }
    int secondStride() const { return secondStride_; }

    // The row's amount when the row belongs to this state.
    std::optional<double> stateAmount(const DataMgmt::QVFieldIDIter& row) const {
        const auto amount = static_cast<double>(federal_.getIN(kForm190ID, 1, column(row, amountOffset_)));
        const std::string state = federal_.formString(kForm190ID, 1, column(row, stateOffset_));
        if (StateTaxReturnCalcEngine::isStateRow(state, amount, abbreviation_)) return amount;
        return std::nullopt;
    }
    // Whether the row's exclusion box is marked.
    bool excluded(const DataMgmt::QVFieldIDIter& row) const {
        return federal_.formYes(kForm190ID, 1, column(row, exclusionOffset_));
    }

private:
    const DataMgmt::TaxReturn& federal_;
    std::string abbreviation_;
    DataMgmt::QVFieldIDIter fields_;
    int amountOffset_ = 0;
    int stateOffset_ = 0;
    int exclusionOffset_ = 0;
    int firstStride_ = 0;
    int secondStride_ = 0;
};

// The paired field of each output row, which stands just before its amount.
OutputFields pairedFieldsOf(const DataMgmt::TaxForm& form, const OutputFields& outputAmounts) {
    OutputFields paired;
    DataMgmt::QVFieldIDIter infoFields = form.description().getFieldIDs();
    for (std::size_t i = 0; i < kOutputRows; ++i) {
        infoFields = outputAmounts[i];
        paired[i] = (infoFields - 1).getFieldID();
    }
    return paired;
}

// The second group is only totalled: the total of its counting rows, kept
// from the user when there is one, else emptied and given back to the user.
void totalSecondGroup(const Form190Rows& rows, DataMgmt::TaxForm& form, const FieldId& secondGroupTotal) {
    const Form190Lines::RowGroup& group = kForm190Lines.secondGroup;
    double total = 0.0;
    DataMgmt::QVFieldIDIter row = rows.walker();
    for (row = group.firstRow; !row.atEOL() && row <= group.lastRow; row += rows.secondStride()) {
        if (const std::optional<double> amount = rows.stateAmount(row)) {
            total += *amount;
        }
    }
    if (total > 0) {
        form.makeProtected(secondGroupTotal);
        form.assignIR(secondGroupTotal, total);
    } else {
        form.unProtect(secondGroupTotal);
        form.setNull(secondGroupTotal);
    }
}

// The first group: each counting row, unless excluded, fills the next
// output row (its first field into the paired field, its amount into the
// amount), kept from the user. Gives back the number of rows filled.
std::size_t copyFirstGroup(const Form190Rows& rows, const DataMgmt::TaxReturn& federal, DataMgmt::TaxFormPtr& info,
                           const OutputFields& pairedFields, const OutputFields& outputAmounts) {
    const Form190Lines::RowGroup& group = kForm190Lines.datedRows;
    DataMgmt::TaxForm& form = *info;
    std::size_t filled = 0;
    DataMgmt::QVFieldIDIter row = rows.walker();
    for (row = group.firstRow; filled < kOutputRows && !row.atEOL() && row <= group.lastRow;
         row += rows.firstStride()) {
        const std::optional<double> amount = rows.stateAmount(row);
        if (!amount || rows.excluded(row)) {
            continue;
        }
        federal.getII(kForm190ID, row.getFieldID(), info, pairedFields[filled]);
        form.assignIR(outputAmounts[filled], *amount);
        form.makeProtected(pairedFields[filled]);
        form.makeProtected(outputAmounts[filled]);
        ++filled;
    }
    return filled;
}

// Output rows no longer needed are emptied and given back to the user.
void freeUnusedRows(DataMgmt::TaxForm& form, const OutputFields& pairedFields, const OutputFields& outputAmounts,
                    std::size_t filled) {
    for (std::size_t i = filled; i < kOutputRows; ++i) {
        form.unProtect(pairedFields[i]);
        form.unProtect(outputAmounts[i]);
        form.setNull(pairedFields[i]);
        form.setNull(outputAmounts[i]);
    }
}

}  // namespace

bool StateTaxReturnCalcEngine::isStateRow(const std::string& rowState, double amount, const std::string& abbreviation) {
    return Utils::QVStringUtils::stricmp(rowState, abbreviation) == 0 || (amount > 0 && rowState.empty());
}

void StateTaxReturnCalcEngine::transferStateRows(DataMgmt::TaxFormPtr info, FieldId secondGroupTotal, FieldId outputSum,
                                                 FieldId grandTotal, const std::array<FieldId, 12>& outputAmounts) {
    if (info.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *info;
    const Form190Rows rows(*taxReturn, stateReturn_->getAbbreviation());
    const OutputFields pairedFields = pairedFieldsOf(form, outputAmounts);

    totalSecondGroup(rows, form, secondGroupTotal);
    const std::size_t filled = copyFirstGroup(rows, *taxReturn, info, pairedFields, outputAmounts);
    freeUnusedRows(form, pairedFields, outputAmounts, filled);

    // The output rows' sum, and with the second group's total the grand
    // total.
    double sum = 0.0;
    for (const FieldId& amount : outputAmounts) {
        sum += form.getIR(amount);
    }
    form.assignIR(outputSum, sum);
    form.plus2(grandTotal, secondGroupTotal, outputSum);
}

}  // namespace StateCalculationMgmt
