// The interest statement (state form 2) and the dividend statement (state
// form 3): the amounts of one federal source copy by category (a 1099-INT's
// and a 1099-DIV's by the store's arithmetic, IntDivCopyAmounts.h, which the
// items derived from them share), and the recalculation of one statement
// copy from the rows that the layout over all copies gave it.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "module/catalogues/Form3Lines.h"
#include "module/catalogues/OtherIntDivSourceLines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "module/state_calc/StatementLines.h"
#include "platform/Exceptions.h"
#include "platform/store/IntDivCopyAmounts.h"

namespace StateCalculationMgmt {

// The fixed parts of one of the two statements. Both forms have the same
// layout (StatementFormLines): row information, headings, display rows and
// total lines.
struct StatementTraits {
    FormId statementForm;  // S
    FormId mainSource;     // M: federal form 166 (interest) or 164 (dividends)
    FieldId mainSpouseBox;
    void (StateTaxReturnCalcEngine::*mainAmounts)(FormId, std::uint16_t, IntDivCategoryAmounts&);
    void (StateTaxReturnCalcEngine::*otherAmounts)(FormId, std::uint16_t, IntDivCategoryAmounts&);
    const StatementFormLines& lines;
    // First fields of the total lines, in list order.
    std::vector<FieldId> totalLines;
    bool interest;          // the line from federal form 3 and the net U.S.-obligation line
    const char* operation;  // the builder's name, for a refusal
};

namespace {

constexpr const char* kClassName = "StateTaxReturnCalcEngine";

// Payer names are compared and shown at most this long, whatever the
// description field allows.
constexpr std::size_t kMaxPayerNameLength = 127;

const StatementTraits& interestTraits() {
    const StatementFormLines& interest = kStateForm2Lines.statement;
    static const StatementTraits traits{
        .statementForm = kStateForm2ID,
        .mainSource = kForm166ID,
        .mainSpouseBox = kForm166Lines.spouse,
        .mainAmounts = &StateTaxReturnCalcEngine::getInterestSourceAmounts,
        .otherAmounts = &StateTaxReturnCalcEngine::getOtherInterestAmounts,
        .lines = interest,
        .totalLines = {interest.regular.total, interest.usObligations.total, kStateForm2Lines.fromFederalForm3.total,
                       interest.outOfStateMunicipal.total, interest.inStateMunicipal.total},
        .interest = true,
        .operation = "buildInterestStatement",
    };
    return traits;
}

const StatementTraits& dividendTraits() {
    const StatementFormLines& dividends = kStateForm3Lines.statement;
    static const StatementTraits traits{
        .statementForm = kStateForm3ID,
        .mainSource = kForm164ID,
        .mainSpouseBox = kForm164Lines.spouse,
        .mainAmounts = &StateTaxReturnCalcEngine::getDividendSourceAmounts,
        .otherAmounts = &StateTaxReturnCalcEngine::getOtherDividendAmounts,
        .lines = dividends,
        .totalLines = {dividends.regular.total, dividends.usObligations.total, dividends.outOfStateMunicipal.total,
                       dividends.inStateMunicipal.total},
        .interest = false,
        .operation = "buildDividendStatement",
    };
    return traits;
}

// The spouse's check box of a source copy.
FieldId spouseBox(const StatementTraits& traits, const FormId& source) {
    if (source == traits.mainSource) {
        return traits.mainSpouseBox;
    }
    return source == kForm51ID ? kForm51Lines.spouse : kForm89Lines.spouse;
}

double raiseToZero(double amount) { return amount < 0.0 ? 0.0 : amount; }

// The fields of form 51 or 89 that one statement reads: the amount, its U.S.
// obligation part, and the municipal total and its in-state part (null where
// the statement has none).
struct OtherSourceFields {
    FieldId amount;
    FieldId usObligations;
    FieldId municipal;
    FieldId inState;
};

OtherSourceFields interestFields(const OtherIntDivSourceLines& l) {
    return {.amount = l.interest,
            .usObligations = l.interestUsObligations,
            .municipal = l.municipalInterest,
            .inState = l.inStateMunicipalInterest};
}

// Dividends of forms 51 and 89 have no municipal part.
OtherSourceFields dividendFields(const OtherIntDivSourceLines& l) {
    const FieldId none = Primitives::kNullFieldID;
    return {.amount = l.dividends, .usObligations = l.dividendsUsObligations, .municipal = none, .inState = none};
}

// The category amounts of a copy of form 51 or 89, from the fields that
// fieldsOf gives the statement; any other form gives zeros. These forms keep
// whole amounts: used as they are, not rounded.
void otherSourceAmounts(const DataMgmt::TaxReturn& federal, const FormId& sourceForm, std::uint16_t sourceCopy,
                        OtherSourceFields (*fieldsOf)(const OtherIntDivSourceLines&), IntDivCategoryAmounts& out) {
    out = IntDivCategoryAmounts{};
    const OtherIntDivSourceLines* lines = sourceForm == kForm51ID   ? &kForm51Lines
                                          : sourceForm == kForm89ID ? &kForm89Lines
                                                                    : nullptr;
    if (lines == nullptr) {
        return;
    }
    const OtherSourceFields fields = fieldsOf(*lines);
    auto amount = [&](const FieldId& field) {
        return field.isNullID() ? 0.0 : static_cast<double>(federal.getIN(sourceForm, sourceCopy, field));
    };
    const double x = amount(fields.amount);
    out.usObligationAmount = amount(fields.usObligations);
    out.municipalTotal = amount(fields.municipal);
    out.inStateMunicipal = amount(fields.inState);
    out.sourceTotal = out.municipalTotal + x;
    out.regularAmount = x - out.usObligationAmount;
    out.outOfStateMunicipal = raiseToZero(out.municipalTotal - out.inStateMunicipal);
    out.hasIncome = out.sourceTotal > 0.0;
    out.ownerCode = federal.formYes(sourceForm, sourceCopy, lines->spouse) ? 1 : 0;
}

// The amounts of one copy of a federal source form in dollars: the forms
// keep hundredths, and the edit code of each field says so. A missing copy
// reads 0.
struct SourceCopyAmounts {
    const StateDataMgmt::StateTaxReturn& state;
    DataMgmt::TaxFormPtr copy;

    double operator()(const FieldId& field) const {
        return copy.isNull() ? 0.0 : state.federalDisplayAmount(*copy, field.getNumber());
    }
};

// 1 when the source copy is the spouse's, 2 when it is joint, else 0.
int ownerCode(const DataMgmt::TaxReturn& federal, const FormId& form, std::uint16_t copy, const FieldId& spouseBox,
              const FieldId& jointBox) {
    if (federal.formYes(form, copy, spouseBox)) {
        return 1;
    }
    return federal.formYes(form, copy, jointBox) ? 2 : 0;
}

// The width of a row's description, which bounds the payer names compared.
std::size_t payerNameWidth(const StateDataMgmt::StateTaxReturn& state, const StatementTraits& traits) {
    std::size_t width = kMaxPayerNameLength;
    if (DataMgmt::TaxFormDescPtr desc = state.getTaxFormDescriptor(traits.statementForm); !desc.isNull()) {
        if (DataMgmt::FormFieldDescPtr field = desc->getFieldDesc(traits.lines.firstRow);
            !field.isNull() && field->getMaxLength() > 0 && field->getMaxLength() < width) {
            width = field->getMaxLength();
        }
    }
    return width;
}

// The interest that federal form 3 reports, on a return filed on
// form 1 or 55; nothing otherwise or when it is not above 0.
std::optional<double> form3Interest(const DataMgmt::TaxReturn& federal, const FormId& federalForm) {
    if (federalForm != kForm1ID && federalForm != kForm55ID) {
        return std::nullopt;
    }
    const std::int64_t value = federal.getIN(kForm3ID, 1, kForm3Lines.interest);
    return value > 0 ? std::optional<double>(static_cast<double>(value)) : std::nullopt;
}

// The interest statement's U.S. obligations net of the line from federal
// form 3, column by column as the allocation option opens them.
void netUsObligations(DataMgmt::TaxForm& statement, int allocationOption) {
    const StatementTotalLine& net = kStateForm2Lines.netUsObligations;
    const StatementTotalLine& all = kStateForm2Lines.statement.usObligations;
    const StatementTotalLine& fromForm3 = kStateForm2Lines.fromFederalForm3;
    statement.minusII(net.total, all.total, fromForm3.total);
    // The part-year column is open to a part-year return, the nonresident
    // column to a nonresident one, both to a return of both kinds.
    const bool partYearColumn = allocationOption == Residency::kBothColumns || allocationOption == Residency::kPartYear;
    const bool nonresidentColumn =
        allocationOption == Residency::kBothColumns || allocationOption == Residency::kNonresident;
    if (partYearColumn) {
        statement.minusII(net.partYear, all.partYear, fromForm3.partYear);
    } else {
        statement.setNull(net.partYear);
    }
    if (nonresidentColumn) {
        statement.minusII(net.nonresident, all.nonresident, fromForm3.nonresident);
    } else {
        statement.setNull(net.nonresident);
    }
}

// The total lines: the category totals, on the interest statement's first
// copy the line from federal form 3 (emptied on the other copies), their
// allocation columns, and the net U.S. obligations.
void writeTotalLines(const StatementTraits& traits, DataMgmt::TaxFormPtr form, const SummaryRowLayout& layout,
                     int allocationOption, bool firstCopy, std::optional<double> fromForm3) {
    DataMgmt::TaxForm& statement = *form;
    for (const FieldId& total : traits.totalLines) {
        statement.zero(total);
    }
    statement.assignIR(traits.lines.regular.total, layout.regularTotal);
    statement.assignIR(traits.lines.usObligations.total, layout.usObligationTotal);
    statement.assignIR(traits.lines.outOfStateMunicipal.total, layout.outOfStateMunicipalTotal);
    statement.assignIR(traits.lines.inStateMunicipal.total, layout.inStateMunicipalTotal);
    if (traits.interest) {
        if (!firstCopy) {
            statement.setNull(kStateForm2Lines.fromFederalForm3.total);
        } else if (fromForm3) {
            statement.assignIR(kStateForm2Lines.fromFederalForm3.total, *fromForm3);
        }
    }

    std::vector<FieldId> groups = traits.totalLines;
    groups.push_back(Primitives::kNullFieldID);
    StateTaxReturnCalcEngine::intDivSummaryAllocation1(form, allocationOption, groups);
    if (traits.interest) {
        netUsObligations(statement, allocationOption);
    }
}

// One copy of a statement while its rows are drawn: each row-information
// field names a source copy and a line type, and the display row level with
// it shows that source's amounts.
class StatementRows {
public:
    StatementRows(StateTaxReturnCalcEngine& engine, const StatementTraits& traits, DataMgmt::TaxFormPtr form,
                  DataMgmt::TaxForm& statement, std::uint16_t copy, bool jointReturn)
        : engine_(engine),
          traits_(traits),
          form_(form),
          statement_(statement),
          copy_(copy),
          width_(payerNameWidth(*engine.stateReturn(), traits)),
          jointReturn_(jointReturn),
          rowStride_(engine.summaryRowLayout().rowStride) {}

    // Draws a row for each row-information field and clears the rows left
    // over at the end of the copy.
    void draw() {
        DataMgmt::QVFieldIDIter info = statement_.description().getFieldIDs();
        info = traits_.lines.firstRowInfo;
        DataMgmt::QVFieldIDIter row = statement_.description().getFieldIDs();
        row = traits_.lines.firstRow;
        for (; !info.atEOL() && info <= traits_.lines.lastRowInfo; info.next()) {
            drawRow(info.getFieldID(), row);
        }
        while (!row.atEOL() && row <= traits_.lines.lastRow) {
            clearRow(row);
        }
    }

private:
    // Draws the display row of one row-information field and moves the row
    // on, or leaves the row to the next source.
    void drawRow(const FieldId& infoField, DataMgmt::QVFieldIDIter& row) {
        std::string storedName;
        FormId source;
        std::uint16_t sourceCopy = 0;
        int lineType = 0;
        engine_.parseIntDivInfo(form_, infoField, storedName, source, sourceCopy, lineType);

        const bool knownSource = source == traits_.mainSource || source == kForm51ID || source == kForm89ID;
        if (source.getNumber() <= 0 || sourceCopy == 0 || !knownSource) {
            // No row here: the display row is cleared so that rows stay
            // level with their information fields.
            clearRow(row);
            return;
        }
        // A spouse's source is left off a return that is not joint; the
        // next source takes its display row.
        if (!jointReturn_ && engine_.federalReturn()->formYes(source, sourceCopy, spouseBox(traits_, source))) {
            return;
        }

        std::string payerName;
        engine_.getBankName(payerName, source, sourceCopy);
        payerName = intdiv::cutText(payerName, width_);
        storedName = intdiv::cutText(storedName, width_);

        // The stored name is the one the row-information text can hold.
        if (intdiv::rowInfoName(payerName) != storedName) {
            // The row passes to another payer.
            engine_.setIntDivInfo(form_, infoField, payerName, source, sourceCopy, lineType);
            statement_.assignText((row + engine_.summaryRowLayout().descriptionColumn).getFieldID(), payerName);
        }

        IntDivCategoryAmounts amounts;
        if (source == traits_.mainSource) {
            (engine_.*traits_.mainAmounts)(source, sourceCopy, amounts);
        } else {
            (engine_.*traits_.otherAmounts)(source, sourceCopy, amounts);
        }
        engine_.fillDisplayLine(form_, traits_.statementForm, copy_, row, lineType, payerName, amounts);
    }

    // Clears the whole display row and moves on to the next.
    void clearRow(DataMgmt::QVFieldIDIter& row) {
        engine_.nullSummaryRow(form_, row.getFieldID(), true);
        row += rowStride_;
    }

    StateTaxReturnCalcEngine& engine_;
    const StatementTraits& traits_;
    DataMgmt::TaxFormPtr form_;
    DataMgmt::TaxForm& statement_;
    std::uint16_t copy_;
    std::size_t width_;  // of a row's description, which bounds the payer names compared
    bool jointReturn_;
    int rowStride_;
};

}  // namespace

// ------------------------------------------------------------ source amounts

void StateTaxReturnCalcEngine::getDividendSourceAmounts(FormId /*sourceForm*/, std::uint16_t sourceCopy,
                                                        IntDivCategoryAmounts& out) {
    const DataMgmt::TaxReturn& federal = *federalReturn();
    const Form164Lines& f164 = kForm164Lines;
    out = IntDivCategoryAmounts{};
    static_cast<PersistanceMgmt::IntDivCategories&>(out) = PersistanceMgmt::dividendCategories(
        SourceCopyAmounts{*stateReturn_, federalReturn()->getFormUVPtr(kForm164ID, sourceCopy, false)},
        federal.formYes(kForm164ID, sourceCopy, f164.restrictedStock));
    out.ownerCode = ownerCode(federal, kForm164ID, sourceCopy, f164.spouse, f164.joint);
}

void StateTaxReturnCalcEngine::getInterestSourceAmounts(FormId /*sourceForm*/, std::uint16_t sourceCopy,
                                                        IntDivCategoryAmounts& out) {
    const DataMgmt::TaxReturn& federal = *federalReturn();
    const Form166Lines& f166 = kForm166Lines;
    out = IntDivCategoryAmounts{};
    static_cast<PersistanceMgmt::IntDivCategories&>(out) = PersistanceMgmt::interestCategories(
        SourceCopyAmounts{*stateReturn_, federalReturn()->getFormUVPtr(kForm166ID, sourceCopy, false)},
        federal.formYes(kForm166ID, sourceCopy, f166.adjustmentAgainstUsOnly));
    out.ownerCode = ownerCode(federal, kForm166ID, sourceCopy, f166.spouse, f166.joint);
}

void StateTaxReturnCalcEngine::getOtherDividendAmounts(FormId sourceForm, std::uint16_t sourceCopy,
                                                       IntDivCategoryAmounts& out) {
    otherSourceAmounts(*federalReturn(), sourceForm, sourceCopy, dividendFields, out);
}

void StateTaxReturnCalcEngine::getOtherInterestAmounts(FormId sourceForm, std::uint16_t sourceCopy,
                                                       IntDivCategoryAmounts& out) {
    otherSourceAmounts(*federalReturn(), sourceForm, sourceCopy, interestFields, out);
}

// ------------------------------------------------------------ one copy

void StateTaxReturnCalcEngine::buildInterestStatement(DataMgmt::TaxFormPtr form, std::uint16_t copy,
                                                      std::int16_t /*extraValue*/, FormId infoForm,
                                                      std::int16_t filingStatus, int nameFormat, int allocationOption) {
    recalculateStatement(interestTraits(), form, copy, infoForm, filingStatus, nameFormat, allocationOption);
}

void StateTaxReturnCalcEngine::buildDividendStatement(DataMgmt::TaxFormPtr form, std::uint16_t copy,
                                                      std::int16_t /*extraValue*/, FormId infoForm,
                                                      std::int16_t filingStatus, int nameFormat, int allocationOption) {
    recalculateStatement(dividendTraits(), form, copy, infoForm, filingStatus, nameFormat, allocationOption);
}

void StateTaxReturnCalcEngine::recalculateStatement(const StatementTraits& traits, DataMgmt::TaxFormPtr form,
                                                    std::uint16_t copy, FormId infoForm, std::int16_t filingStatus,
                                                    int nameFormat, int allocationOption) {
    DataMgmt::TaxForm& statement = DataMgmt::requireForm(form, kClassName, traits.operation);
    const FormId& s = traits.statementForm;
    rowLayout_ = SummaryRowLayout{};

    // Headings: the taxpayer, and the spouse on a joint return.
    assignOwnerName(form, infoForm, filingStatus, Utils::DISPLAY_NAME{nameFormat}, traits.lines.taxpayerHeading1,
                    traits.lines.taxpayerHeading2, Primitives::kNullFieldID, Primitives::kNullFieldID,
                    traits.lines.spouseHeading1, traits.lines.spouseHeading2, Primitives::kNullFieldID,
                    Primitives::kNullFieldID, Primitives::kNullFieldID, 0);

    // The rows add up the category totals in the layout as they are drawn.
    const bool jointReturn = FilingStatus::namesBothFilers(filingStatus);
    StatementRows(*this, traits, form, statement, copy, jointReturn).draw();

    const bool firstCopy = copy == 1;
    writeTotalLines(traits, form, rowLayout_, allocationOption, firstCopy,
                    firstCopy ? form3Interest(*federalReturn(), getFederalForm()) : std::optional<double>());

    // A copy that shows anything counts as entered.
    double sum = 0.0;
    for (const FieldId& total : traits.totalLines) {
        sum += statement.getIR(total);
    }
    if (sum != 0.0 || stateReturn_->hasSigValue(s, copy, traits.lines.firstRow)) {
        stateReturn_->setDataEntered(s, copy, true, false);
        statement.setCalculatedFlag(true);
    }
}

}  // namespace StateCalculationMgmt
