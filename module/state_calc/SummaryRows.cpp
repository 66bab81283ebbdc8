// Rows of the interest and dividend statements: the hidden row-information
// text that ties a row to its federal source copy, the payer name of a
// source, drawing and clearing one row, and the allocation columns of the
// total lines.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "module/catalogues/OtherIntDivSourceLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "module/state_calc/StatementLines.h"
#include "platform/Exceptions.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kClassName = "StateTaxReturnCalcEngine";
constexpr std::string_view kSeparator = "||";

// A decimal number read the way atoi reads it: leading blanks and a sign
// allowed, reading stops at the first non-digit, no digits give 0. A number
// beyond the range of long is held at its end.
long readNumber(std::string_view text) {
    const std::string copy(text);
    return std::strtol(copy.c_str(), nullptr, 10);
}

// Column `offset` of the row the iterator stands on.
FieldId column(const DataMgmt::QVFieldIDIter& row, int offset) { return (row + offset).getFieldID(); }

// Only amounts above zero count towards a category total.
void addToTotal(double& total, double amount) {
    if (amount > 0.0) {
        total += amount;
    }
}

// One display row of a statement copy while fillDisplayLine draws it: its
// columns (description, the source's amount, category code, and the two
// amount columns), and the engine that clears the row and stores amounts.
class DisplayRow {
public:
    DisplayRow(StateTaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr summaryForm, const FormId& summaryFormId,
               std::uint16_t copy, const DataMgmt::QVFieldIDIter& row, const SummaryRowLayout& layout)
        : engine_(engine),
          summaryForm_(summaryForm),
          form_(DataMgmt::requireForm(summaryForm, kClassName, "fillDisplayLine")),
          formId_(summaryFormId),
          copy_(copy),
          rowField_(row.getFieldID()),
          description_(column(row, layout.descriptionColumn)),
          sourceAmount_(column(row, layout.sourceAmountColumn)),
          code_(column(row, layout.codeColumn)),
          first_(column(row, layout.firstAmountColumn)),
          second_(column(row, layout.secondAmountColumn)) {}

    // Clears the whole row, its description and amounts too.
    void clearAll() const { engine_.nullSummaryRow(summaryForm_, rowField_, true); }

    // The payer's row: the source's total, and the payer's name unless the
    // row shows it already.
    void payerLine(const IntDivCategoryAmounts& amounts, const std::string& payerName) const {
        clear();
        form_.assignIR(sourceAmount_, amounts.sourceTotal);
        if (engine_.stateReturn()->formString(formId_, copy_, description_) != payerName) {
            form_.assignText(description_, payerName);
        }
    }

    // Regular interest or dividends: the amount in both amount columns.
    void regularLine(const intdiv::LineTypeRow& type, double regularAmount, double& total) const {
        clear();
        describe(type);
        const double amount = storeAndReadBack(second_, regularAmount);
        form_.assignIR(first_, amount);
        addToTotal(total, amount);
    }

    // U.S. obligations: the amount in the first column, none in the second.
    void usObligationsLine(const intdiv::LineTypeRow& type, double usObligationAmount, double& total) const {
        clear();
        describe(type);
        form_.zero(second_);
        addToTotal(total, storeAndReadBack(first_, usObligationAmount));
    }

    // Municipal bonds or bond fund, in state and out of state: the source's
    // own parts, whatever the filer's residency. The in-state part (the
    // Georgia obligations' interest) is exempt on every return, and the
    // part-year schedule of additions takes the Georgia period's share of
    // the out-of-state total; the in-state row shows none in its second
    // column, the out-of-state row the same amount in both.
    void inStateMunicipalLine(const intdiv::LineTypeRow& type, double inStateMunicipal, double& total) const {
        clear();
        describe(type);
        addToTotal(total, storeAndReadBack(first_, inStateMunicipal));
        form_.zero(second_);
    }
    void outOfStateMunicipalLine(const intdiv::LineTypeRow& type, double outOfStateMunicipal, double& total) const {
        clear();
        describe(type);
        const double amount = storeAndReadBack(first_, outOfStateMunicipal);
        addToTotal(total, storeAndReadBack(second_, amount));
    }

    // Restricted stock: the source's total, with no category.
    void restrictedStockLine(const intdiv::LineTypeRow& type, double sourceTotal) const {
        clear();
        form_.assignText(description_, type.text);
        form_.setNull(code_);
        form_.zero(second_);
        form_.assignIR(first_, sourceTotal);
    }

private:
    // Clears the row's source amount, code and amount columns, keeping its
    // description.
    void clear() const { engine_.nullSummaryRow(summaryForm_, rowField_, false); }

    // The line type's text and category code.
    void describe(const intdiv::LineTypeRow& type) const {
        form_.assignText(description_, type.text);
        form_.assignIR(code_, type.categoryCode);
    }

    // Stores the amount as it is into the column and gives back the whole
    // amount that the column holds: the row shows the amount to the cent,
    // while the category totals add whole dollars.
    double storeAndReadBack(const FieldId& field, double amount) const {
        engine_.storeScaledAmount(formId_, copy_, field, amount, 0);
        return amount;
    }

    StateTaxReturnCalcEngine& engine_;
    DataMgmt::TaxFormPtr summaryForm_;
    DataMgmt::TaxForm& form_;
    const FormId& formId_;
    std::uint16_t copy_;
    FieldId rowField_;
    FieldId description_;
    FieldId sourceAmount_;
    FieldId code_;
    FieldId first_;
    FieldId second_;
};

}  // namespace

// ------------------------------------------------------------ row information

void StateTaxReturnCalcEngine::parseIntDivInfo(DataMgmt::TaxFormPtr summaryForm, const FieldId& infoField,
                                               std::string& nameOut, FormId& formOut, std::uint16_t& copyOut,
                                               int& lineTypeOut) {
    nameOut.clear();
    formOut = FormId(0, formOut.isState());
    copyOut = 0;
    lineTypeOut = 0;

    DataMgmt::TaxForm& form = DataMgmt::requireForm(summaryForm, kClassName, "parseIntDivInfo");
    const std::string text = intdiv::cutText(form.valueString(infoField), intdiv::kRowInfoReadLength);
    const std::string_view view(text);

    const std::size_t first = view.find(kSeparator);
    if (first == std::string_view::npos) {
        return;
    }
    nameOut = std::string(view.substr(0, first));

    const std::size_t formStart = first + kSeparator.size();
    // The form number runs to the next separator or, in a text of two
    // parts, to the end.
    const std::size_t second = view.find(kSeparator, formStart);
    const std::size_t formEnd = second == std::string_view::npos ? view.size() : second;
    long formNumber = readNumber(view.substr(formStart, formEnd - formStart));
    if (formNumber > std::numeric_limits<std::int32_t>::max() ||
        formNumber < std::numeric_limits<std::int32_t>::min()) {
        formNumber = 0;
    }
    formOut = FormId(static_cast<std::int32_t>(formNumber));
    if (second == std::string_view::npos) {
        return;
    }

    const std::size_t copyStart = second + kSeparator.size();
    const std::size_t third = view.find(kSeparator, copyStart);
    if (third == std::string_view::npos) {
        return;  // a text of three parts names no copy
    }
    // A copy number or line type that does not fit its type is no link at
    // all, rather than a link to whatever copy the cut-off bits would name.
    const long copy = readNumber(view.substr(copyStart, third - copyStart));
    const long lineType = readNumber(view.substr(third + kSeparator.size()));
    if (copy >= 0 && copy <= std::numeric_limits<std::uint16_t>::max()) {
        copyOut = static_cast<std::uint16_t>(copy);
    }
    if (lineType >= std::numeric_limits<std::int16_t>::min() && lineType <= std::numeric_limits<std::int16_t>::max()) {
        lineTypeOut = static_cast<int>(lineType);
    }
}

void StateTaxReturnCalcEngine::setIntDivInfo(DataMgmt::TaxFormPtr summaryForm, const FieldId& infoField,
                                             const std::string& payerName, FormId sourceForm, std::uint16_t copy,
                                             int lineType) {
    std::string name;
    FormId form;
    std::uint16_t storedCopy = 0;
    int storedLineType = 0;
    parseIntDivInfo(summaryForm, infoField, name, form, storedCopy, storedLineType);

    if (!payerName.empty()) {
        name = payerName;
    }
    if (sourceForm.getNumber() > 0) {
        if (sourceForm.isState()) {
            throw Exceptions::QuarloException("FedFormId > First StateForm", kClassName, "setIntDivInfo");
        }
        form = sourceForm;
    }
    if (copy != 0) {
        storedCopy = copy;
    }
    if (lineType >= 10) {
        throw Exceptions::QuarloException("LineType out of range", kClassName, "setIntDivInfo");
    }
    if (lineType >= 1) {
        storedLineType = lineType;
    }

    // The numbers are written whole; the payer name gives way so that the
    // text stays within its 79 characters, and holds no separator.
    const std::string tail = std::string(kSeparator) + std::to_string(form.getNumber()) + std::string(kSeparator) +
                             std::to_string(storedCopy) + std::string(kSeparator) + std::to_string(storedLineType);
    const std::size_t tailLength = tail.size();
    const std::size_t room = tailLength < intdiv::kRowInfoMaxLength ? intdiv::kRowInfoMaxLength - tailLength : 0;
    const std::string text = intdiv::cutText(intdiv::rowInfoName(name), room) + tail;

    DataMgmt::requireForm(summaryForm, kClassName, "setIntDivInfo").assignText(infoField, text);
}

// ------------------------------------------------------------ payer name

void StateTaxReturnCalcEngine::getBankName(std::string& nameOut, FormId sourceForm, std::uint16_t copy) {
    nameOut.clear();
    DataMgmt::TaxReturn& federal = *federalReturn();
    if (sourceForm == kForm166ID) {
        const FieldId field = federal.formYes(kForm166ID, copy, kForm166Lines.otherPayerBox) ? kForm166Lines.otherPayer
                                                                                             : kForm166Lines.payer;
        nameOut = federal.formString(kForm166ID, copy, field);
    } else if (sourceForm == kForm164ID) {
        nameOut = federal.formString(kForm164ID, copy, kForm164Lines.payer);
    } else if (sourceForm == kForm51ID) {
        nameOut = federal.formString(kForm51ID, copy, kForm51Lines.payer);
    } else if (sourceForm == kForm89ID) {
        nameOut = federal.formString(kForm89ID, copy, kForm89Lines.payer);
    } else {
        throw Exceptions::QuarloException("Invalid FedFormID", kClassName, "getBankName");
    }
}

// ------------------------------------------------------------ one row

void StateTaxReturnCalcEngine::nullSummaryRow(DataMgmt::TaxFormPtr summaryForm, const FieldId& rowFirstField,
                                              bool clearDescription) {
    DataMgmt::TaxForm& form = DataMgmt::requireForm(summaryForm, kClassName, "nullSummaryRow");
    DataMgmt::QVFieldIDIter row = form.description().getFieldIDs();
    row = rowFirstField;
    const SummaryRowLayout& layout = rowLayout_;

    form.setNull(column(row, layout.sourceAmountColumn));
    form.setNull(column(row, layout.codeColumn));
    if (clearDescription) {
        form.setNull(column(row, layout.descriptionColumn));
    }
    const FieldId first = column(row, layout.firstAmountColumn);
    const FieldId second = column(row, layout.secondAmountColumn);
    form.makeProtected(first);
    form.makeProtected(second);
    form.setNull(first);
    form.setNull(second);
}

void StateTaxReturnCalcEngine::fillDisplayLine(DataMgmt::TaxFormPtr summaryForm, const FormId& summaryFormId,
                                               std::uint16_t copy, DataMgmt::QVFieldIDIter& row, int lineType,
                                               const std::string& payerName, const IntDivCategoryAmounts& amounts) {
    if (!summaryFormId.isState()) {
        throw Exceptions::QuarloException("Invalid State FormID", kClassName, "fillDisplayLine");
    }
    SummaryRowLayout& layout = rowLayout_;
    const DisplayRow line(*this, summaryForm, summaryFormId, copy, row, layout);
    if (lineType < intdiv::kFirstLineType || lineType > intdiv::kLastLineType) {
        // No line: the whole row is cleared and the next call fills it.
        line.clearAll();
        return;
    }
    const intdiv::LineTypeRow& type = intdiv::kIntDivLineTypes[static_cast<std::size_t>(lineType)];

    switch (lineType) {
        case intdiv::kPayerLine:
            line.payerLine(amounts, payerName);
            break;
        case intdiv::kRegularInterest:
        case intdiv::kRegularDividends:
            line.regularLine(type, amounts.regularAmount, layout.regularTotal);
            break;
        case intdiv::kUSObligations:
            line.usObligationsLine(type, amounts.usObligationAmount, layout.usObligationTotal);
            break;
        case intdiv::kMuniBondsInState:
        case intdiv::kMuniFundInState:
            line.inStateMunicipalLine(type, amounts.inStateMunicipal, layout.inStateMunicipalTotal);
            break;
        case intdiv::kMuniBondsOutOfState:
        case intdiv::kMuniFundOutOfState:
            line.outOfStateMunicipalLine(type, amounts.outOfStateMunicipal, layout.outOfStateMunicipalTotal);
            break;
        case intdiv::kRestrictedStock:
            line.restrictedStockLine(type, amounts.sourceTotal);
            break;
        default:
            break;
    }
    row += layout.rowStride;
}

// ------------------------------------------------------------ total lines

void StateTaxReturnCalcEngine::intDivSummaryAllocation1(DataMgmt::TaxFormPtr summaryForm, int allocationOption,
                                                        const std::vector<FieldId>& groups) {
    DataMgmt::TaxForm& form = DataMgmt::requireForm(summaryForm, kClassName, "intDivSummaryAllocation1");
    DataMgmt::QVFieldIDIter it = form.description().getFieldIDs();

    std::size_t count = 0;
    while (count < groups.size() && !groups[count].isNullID()) {
        ++count;
    }
    // Every total line is three columns wide: its total and two allocation
    // columns. The first two lines tell.
    if (count >= 2 && it.positionOf(groups[1]) - it.positionOf(groups[0]) != 3) {
        throw Exceptions::QuarloException("Summary is not 3 cols wide", kClassName, "intDivSummaryAllocation1");
    }

    // Keeps a column between 0 and the total, on the total's side of 0.
    auto bound = [&form](const FieldId& c, double total) {
        if (total > 0.0) {
            form.minIR(c, c, total);
            form.maxIR(c, c, 0.0);
        } else if (total < 0.0) {
            form.maxIR(c, c, total);
        } else {
            form.setNull(c);
        }
    };

    for (std::size_t g = 0; g < count; ++g) {
        it = groups[g];
        const FieldId totalField = it.getFieldID();
        const FieldId a = (it + 1).getFieldID();
        const FieldId b = (it + 2).getFieldID();
        const double total = form.getIR(totalField);
        switch (allocationOption) {
            case 2:
                form.setNull(b);
                form.makeProtected(b);
                form.unProtect(a);
                bound(a, total);
                break;
            case 3:
                form.setNull(a);
                form.makeProtected(a);
                form.unProtect(b);
                bound(b, total);
                break;
            case 4:
                form.unProtect(a);
                form.unProtect(b);
                bound(a, total);
                if (total > 0.0) {
                    form.minIR(b, b, total);
                    form.maxIR(b, b, 0.0);
                    if (static_cast<double>(form.sumOf2(a, b)) > total) {
                        form.assignIR(b, std::max(total - form.getIR(a), 0.0));
                    }
                } else if (total < 0.0) {
                    // A loss is split the same way: each column between the
                    // total and 0, and together not beyond the total.
                    form.maxIR(b, b, total);
                    form.minIR(b, b, 0.0);
                    if (static_cast<double>(form.sumOf2(a, b)) < total) {
                        form.assignIR(b, std::min(total - form.getIR(a), 0.0));
                    }
                } else {
                    form.setNull(b);
                }
                break;
            default:
                form.setNull(a);
                form.setNull(b);
                form.makeProtected(a);
                form.makeProtected(b);
                break;
        }
    }
}

}  // namespace StateCalculationMgmt
