// The interest statement (state form 2) and the dividend statement (state
// form 3): the amounts of one federal source copy by category, and the
// recalculation of one statement copy from the rows that the layout over all
// copies gave it.
#include <string>
#include <vector>

#include "module/catalogues/Form164FieldIds.h"
#include "module/catalogues/Form166FieldIds.h"
#include "module/catalogues/Form3FieldIds.h"
#include "module/catalogues/Form51FieldIds.h"
#include "module/catalogues/Form89FieldIds.h"
#include "module/catalogues/StateForm2FieldIds.h"
#include "module/catalogues/StateForm3FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "module/state_calc/StatementLines.h"
#include "platform/Exceptions.h"

namespace StateCalculationMgmt {

// The fixed parts of one of the two statements. Both forms have the same
// layout: row information in fields 3 to 26, headings 27 to 30, display rows
// from field 31 (the last one at field 146), total lines from field 151.
struct StatementTraits {
    FormId statementForm;  // S
    FormId mainSource;     // M: federal form 166 (interest) or 164 (dividends)
    FieldId mainSpouseBox;
    void (StateTaxReturnCalcEngine::*mainAmounts)(FormId, std::uint16_t, IntDivCategoryAmounts&);
    void (StateTaxReturnCalcEngine::*otherAmounts)(FormId, std::uint16_t, IntDivCategoryAmounts&);
    FieldId firstInfoField;
    FieldId lastInfoField;
    FieldId taxpayerHeading1;
    FieldId taxpayerHeading2;
    FieldId spouseHeading1;
    FieldId spouseHeading2;
    FieldId firstRowField;
    FieldId lastRowField;
    // First fields of the total lines, in list order.
    std::vector<FieldId> totalLines;
    FieldId regularTotalField;
    FieldId usObligationTotalField;
    FieldId outOfStateTotalField;
    FieldId inStateTotalField;
    bool interest;          // the line from federal form 3 and the net U.S.-obligation line
    const char* operation;  // the builder's name, for a refusal
};

namespace {

constexpr const char* kClassName = "StateTaxReturnCalcEngine";

// Payer names are compared and shown at most this long, whatever the
// description field allows.
constexpr std::size_t kMaxPayerNameLength = 127;

const StatementTraits& interestTraits() {
    static const StatementTraits traits{
        kStateForm2ID,
        kForm166ID,
        kForm166FieldIds.f3,
        &StateTaxReturnCalcEngine::getInterestSourceAmounts,
        &StateTaxReturnCalcEngine::getOtherInterestAmounts,
        kStateForm2FieldIds.f3,
        kStateForm2FieldIds.f26,
        kStateForm2FieldIds.f27,
        kStateForm2FieldIds.f28,
        kStateForm2FieldIds.f29,
        kStateForm2FieldIds.f30,
        kStateForm2FieldIds.f31,
        kStateForm2FieldIds.f146,
        {kStateForm2FieldIds.f151, kStateForm2FieldIds.f154, kStateForm2FieldIds.f157, kStateForm2FieldIds.f163,
         kStateForm2FieldIds.f166},
        kStateForm2FieldIds.f151,
        kStateForm2FieldIds.f154,
        kStateForm2FieldIds.f163,
        kStateForm2FieldIds.f166,
        true,
        "buildInterestStatement",
    };
    return traits;
}

const StatementTraits& dividendTraits() {
    static const StatementTraits traits{
        kStateForm3ID,
        kForm164ID,
        kForm164FieldIds.f3,
        &StateTaxReturnCalcEngine::getDividendSourceAmounts,
        &StateTaxReturnCalcEngine::getOtherDividendAmounts,
        kStateForm3FieldIds.f3,
        kStateForm3FieldIds.f26,
        kStateForm3FieldIds.f27,
        kStateForm3FieldIds.f28,
        kStateForm3FieldIds.f29,
        kStateForm3FieldIds.f30,
        kStateForm3FieldIds.f31,
        kStateForm3FieldIds.f146,
        {kStateForm3FieldIds.f151, kStateForm3FieldIds.f154, kStateForm3FieldIds.f157, kStateForm3FieldIds.f160},
        kStateForm3FieldIds.f151,
        kStateForm3FieldIds.f154,
        kStateForm3FieldIds.f157,
        kStateForm3FieldIds.f160,
        false,
        "buildDividendStatement",
    };
    return traits;
}

// The spouse's check box of a source copy.
FieldId spouseBox(const StatementTraits& traits, const FormId& source) {
    if (source == traits.mainSource) {
        return traits.mainSpouseBox;
    }
    return source == kForm51ID ? kForm51FieldIds.f367 : kForm89FieldIds.f146;
}

double raiseToZero(double amount) { return amount < 0.0 ? 0.0 : amount; }

double rounded(double amount) { return static_cast<double>(Utils::roundR(amount)); }

// The fields of form 51 or 89 that one statement reads: the amount, its U.S.
// obligation part, the municipal total and its in-state part (null where the
// statement has none), and the spouse's box.
struct OtherSourceFields {
    FieldId amount;
    FieldId usObligations;
    FieldId municipal;
    FieldId inState;
    FieldId spouse;
};

// The category amounts of a copy of form 51 or 89; any other form gives
// zeros. These forms keep whole amounts: used as they are, not rounded.
void otherSourceAmounts(const DataMgmt::TaxReturn& federal, const FormId& sourceForm, std::uint16_t sourceCopy,
                        const OtherSourceFields& form51, const OtherSourceFields& form89, IntDivCategoryAmounts& out) {
    out = IntDivCategoryAmounts{};
    const OtherSourceFields* fields = sourceForm == kForm51ID ? &form51 : sourceForm == kForm89ID ? &form89 : nullptr;
    if (fields == nullptr) {
        return;
    }
    auto amount = [&](const FieldId& field) {
        return field.isNullID() ? 0.0 : static_cast<double>(federal.getIN(sourceForm, sourceCopy, field));
    };
    const double x = amount(fields->amount);
    out.usObligationAmount = amount(fields->usObligations);
    out.municipalTotal = amount(fields->municipal);
    out.inStateMunicipal = amount(fields->inState);
    out.sourceTotal = out.municipalTotal + x;
    out.regularAmount = x - out.usObligationAmount;
    out.outOfStateMunicipal = raiseToZero(out.municipalTotal - out.inStateMunicipal);
    out.hasIncome = out.sourceTotal > 0.0;
    out.ownerCode = federal.formYes(sourceForm, sourceCopy, fields->spouse) ? 1 : 0;
}

}  // namespace

// ------------------------------------------------------------ source amounts

void StateTaxReturnCalcEngine::getDividendSourceAmounts(FormId /*sourceForm*/, std::uint16_t sourceCopy,
                                                        IntDivCategoryAmounts& out) {
    const DataMgmt::TaxReturn& federal = *federalReturn();
    // Form 164 keeps its amounts in hundredths; field 40 is the U.S.
    // obligation share in hundredths of a percent.
    auto amount = [&](const FieldId& field) {
        return static_cast<double>(federal.getIN(kForm164ID, sourceCopy, field)) / 100.0;
    };
    const double a = amount(kForm164FieldIds.f6);
    const double c = amount(kForm164FieldIds.f41);
    const double d = amount(kForm164FieldIds.f52);
    const double e = amount(kForm164FieldIds.f7);
    const double f = amount(kForm164FieldIds.f11);
    const double g = amount(kForm164FieldIds.f32);
    const double b = a * static_cast<double>(federal.getIN(kForm164ID, sourceCopy, kForm164FieldIds.f40)) / 10000.0;

    out = IntDivCategoryAmounts{};
    out.sourceTotal = raiseToZero(a + c - g);
    out.hasIncome = a + c > 0.0;

    double further = 0.0;  // H: amounts that are neither regular nor municipal
    if (!federal.formYes(kForm164ID, sourceCopy, kForm164FieldIds.f19)) {
        out.usObligationAmount = rounded(b);
        out.regularAmount = a - out.usObligationAmount;
        out.municipalTotal = rounded(c);
        out.inStateMunicipal = rounded(d);
        if (out.inStateMunicipal > out.municipalTotal) {
            out.inStateMunicipal = out.municipalTotal;
        }
        out.outOfStateMunicipal = out.municipalTotal - out.inStateMunicipal;
        further = e + f;
    }
    out.regularAmount = raiseToZero(out.regularAmount);
    out.municipalTotal = raiseToZero(out.municipalTotal);
    out.inStateMunicipal = raiseToZero(out.inStateMunicipal);
    out.outOfStateMunicipal = raiseToZero(out.outOfStateMunicipal);

    // The adjustment is spread in proportion over the regular, U.S.
    // obligation, further and municipal amounts. Where there is nothing to
    // spread it over, the amounts stay as they are.
    const double spreadBase = out.municipalTotal + a + further;
    if (g != 0.0 && spreadBase != 0.0) {
        const double t1 = rounded(out.regularAmount / spreadBase * g);
        out.regularAmount -= t1;
        const double t2 = rounded(out.usObligationAmount / spreadBase * g);
        out.usObligationAmount -= t2;
        const double t3 = rounded(further / spreadBase * g);
        const double municipalShare = g - t1 - t2 - t3;
        const double municipalBase = out.outOfStateMunicipal + out.inStateMunicipal;
        if (municipalBase != 0.0) {
            const double t4 = rounded(out.inStateMunicipal / municipalBase * municipalShare);
            out.inStateMunicipal -= t4;
            out.outOfStateMunicipal -= municipalShare - t4;
        }
        out.sourceTotal = a - t1 - t2;
    }
    out.outOfStateMunicipal = raiseToZero(out.outOfStateMunicipal);

    if (federal.formYes(kForm164ID, sourceCopy, kForm164FieldIds.f3)) {
        out.ownerCode = 1;
    } else if (federal.formYes(kForm164ID, sourceCopy, kForm164FieldIds.f4)) {
        out.ownerCode = 2;
    }
}

void StateTaxReturnCalcEngine::getInterestSourceAmounts(FormId /*sourceForm*/, std::uint16_t sourceCopy,
                                                        IntDivCategoryAmounts& out) {
    const DataMgmt::TaxReturn& federal = *federalReturn();
    // Form 166 keeps its amounts in hundredths.
    auto raw = [&](const FieldId& field) { return federal.getIN(kForm166ID, sourceCopy, field); };
    auto amount = [&](const FieldId& field) { return static_cast<double>(raw(field)) / 100.0; };

    const double ia = amount(kForm166FieldIds.f10);
    const double ib = amount(kForm166FieldIds.f12);
    const double ic = amount(kForm166FieldIds.f17);
    const double id = amount(kForm166FieldIds.f54);
    double ie = 0.0;
    double iF = 0.0;
    double ig = 0.0;
    if (raw(kForm166FieldIds.f18) > 0 && raw(kForm166FieldIds.f197490) > 0) {
        iF = amount(kForm166FieldIds.f18) + amount(kForm166FieldIds.f197490) + amount(kForm166FieldIds.f48);
    } else {
        ie = amount(kForm166FieldIds.f18);
        iF = amount(kForm166FieldIds.f197490) + amount(kForm166FieldIds.f48);
        ig = amount(kForm166FieldIds.f53);
    }
    const double ih = amount(kForm166FieldIds.f83) + amount(kForm166FieldIds.f84);
    const double ii = amount(kForm166FieldIds.f79);
    const double j = amount(kForm166FieldIds.f27);

    out = IntDivCategoryAmounts{};
    out.sourceTotal = raiseToZero(ib + ia + iF + ic + id + ie + ii - j);
    out.hasIncome = ia + ib + ic + id + ie + iF + ii > 0.0;

    out.usObligationAmount = id + ib + ig;
    out.municipalTotal = rounded(iF);
    out.regularAmount = ic + ia + ie + ii - ig;
    out.inStateMunicipal = rounded(ih);
    out.outOfStateMunicipal = out.municipalTotal - out.inStateMunicipal;

    out.regularAmount = raiseToZero(out.regularAmount);
    out.municipalTotal = raiseToZero(out.municipalTotal);
    out.inStateMunicipal = raiseToZero(out.inStateMunicipal);
    out.outOfStateMunicipal = raiseToZero(out.outOfStateMunicipal);

    if (j != 0.0) {
        if (federal.formYes(kForm166ID, sourceCopy, kForm166FieldIds.f25)) {
            // The whole adjustment goes against the U.S. obligations.
            out.usObligationAmount -= j;
        } else {
            // Spread in proportion; with nothing to spread it over, the
            // amounts stay as they are.
            const double spreadBase = out.usObligationAmount + out.regularAmount + out.municipalTotal;
            if (spreadBase != 0.0) {
                const double t2 = rounded(out.regularAmount / spreadBase * j);
                out.regularAmount -= t2;
                const double t3 = rounded(out.usObligationAmount / spreadBase * j);
                out.usObligationAmount -= t3;
                const double municipalShare = j - t2 - t3;
                const double municipalBase = out.inStateMunicipal + out.outOfStateMunicipal;
                if (municipalBase != 0.0) {
                    const double t5 = rounded(municipalShare * out.inStateMunicipal / municipalBase);
                    out.inStateMunicipal -= t5;
                    out.outOfStateMunicipal -= municipalShare - t5;
                }
            }
        }
    }

    if (federal.formYes(kForm166ID, sourceCopy, kForm166FieldIds.f3)) {
        out.ownerCode = 1;
    } else if (federal.formYes(kForm166ID, sourceCopy, kForm166FieldIds.f4)) {
        out.ownerCode = 2;
    }
}

void StateTaxReturnCalcEngine::getOtherDividendAmounts(FormId sourceForm, std::uint16_t sourceCopy,
                                                       IntDivCategoryAmounts& out) {
    // Dividends of forms 51 and 89 have no municipal part.
    const FieldId none = Primitives::kNullFieldID;
    const OtherSourceFields form51{kForm51FieldIds.f18, kForm51FieldIds.f381, none, none, kForm51FieldIds.f367};
    const OtherSourceFields form89{kForm89FieldIds.f16, kForm89FieldIds.f151, none, none, kForm89FieldIds.f146};
    otherSourceAmounts(*federalReturn(), sourceForm, sourceCopy, form51, form89, out);
}

void StateTaxReturnCalcEngine::getOtherInterestAmounts(FormId sourceForm, std::uint16_t sourceCopy,
                                                       IntDivCategoryAmounts& out) {
    const OtherSourceFields form51{kForm51FieldIds.f17, kForm51FieldIds.f341, kForm51FieldIds.f209,
                                   kForm51FieldIds.f383, kForm51FieldIds.f367};
    const OtherSourceFields form89{kForm89FieldIds.f15, kForm89FieldIds.f139, kForm89FieldIds.f130,
                                   kForm89FieldIds.f153, kForm89FieldIds.f146};
    otherSourceAmounts(*federalReturn(), sourceForm, sourceCopy, form51, form89, out);
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
    const SummaryRowLayout& layout = rowLayout_;

    // Headings: the taxpayer, and the spouse on a joint return.
    assignOwnerName(form, infoForm, filingStatus, Utils::DISPLAY_NAME{nameFormat}, traits.taxpayerHeading1,
                    traits.taxpayerHeading2, Primitives::kNullFieldID, Primitives::kNullFieldID, traits.spouseHeading1,
                    traits.spouseHeading2, Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
                    0);

    // The width of a row's description bounds the payer names compared.
    std::size_t width = kMaxPayerNameLength;
    if (DataMgmt::TaxFormDescPtr desc = stateReturn_->getTaxFormDescriptor(s); !desc.isNull()) {
        if (DataMgmt::FormFieldDescPtr field = desc->getFieldDesc(traits.firstRowField);
            !field.isNull() && field->getMaxLength() > 0 && field->getMaxLength() < width) {
            width = field->getMaxLength();
        }
    }

    DataMgmt::QVFieldIDIter info = statement.getTaxFormDescriptor()->getFieldIDs();
    info = traits.firstInfoField;
    DataMgmt::QVFieldIDIter row = statement.getTaxFormDescriptor()->getFieldIDs();
    row = traits.firstRowField;

    const bool jointReturn = filingStatus == FilingStatus::kJoint || filingStatus == 0;
    for (; !info.atEOL() && info <= traits.lastInfoField; info.next()) {
        const FieldId infoField = info.getFieldID();
        std::string storedName;
        FormId source;
        std::uint16_t sourceCopy = 0;
        int lineType = 0;
        parseIntDivInfo(form, infoField, storedName, source, sourceCopy, lineType);

        const bool knownSource = source == traits.mainSource || source == kForm51ID || source == kForm89ID;
        if (source.getNumber() <= 0 || sourceCopy == 0 || !knownSource) {
            // No row here: the display row is cleared so that rows stay
            // level with their information fields.
            nullSummaryRow(form, row.getFieldID(), true, true);
            row += layout.rowStride;
            continue;
        }
        // A spouse's source is left off a return that is not joint; the
        // next source takes its display row.
        if (!jointReturn && federalReturn()->formYes(source, sourceCopy, spouseBox(traits, source))) {
            continue;
        }

        std::string payerName;
        getBankName(payerName, source, sourceCopy);
        payerName = intdiv::cutText(payerName, width);
        storedName = intdiv::cutText(storedName, width);

        bool resetAmounts = false;
        // The stored name is the one the row-information text can hold.
        if (intdiv::rowInfoName(payerName) != storedName) {
            // The row passes to another payer: its amounts start afresh.
            setIntDivInfo(form, infoField, payerName, source, sourceCopy, lineType);
            statement.assignText((row + layout.descriptionColumn).getFieldID(), payerName);
            resetAmounts = true;
        }

        IntDivCategoryAmounts amounts;
        if (source == traits.mainSource) {
            (this->*traits.mainAmounts)(source, sourceCopy, amounts);
        } else {
            (this->*traits.otherAmounts)(source, sourceCopy, amounts);
        }
        fillDisplayLine(form, s, copy, row, lineType, payerName, amounts, allocationOption, resetAmounts);
    }

    // Rows left over at the end of the copy.
    while (!row.atEOL() && row <= traits.lastRowField) {
        nullSummaryRow(form, row.getFieldID(), true, true);
        row += layout.rowStride;
    }

    // Total lines.
    for (const FieldId& total : traits.totalLines) {
        statement.zero(total);
    }
    statement.assignIR(traits.regularTotalField, layout.regularTotal);
    statement.assignIR(traits.usObligationTotalField, layout.usObligationTotal);
    statement.assignIR(traits.outOfStateTotalField, layout.outOfStateMunicipalTotal);
    statement.assignIR(traits.inStateTotalField, layout.inStateMunicipalTotal);

    if (traits.interest) {
        // The interest that federal form 3 reports on line 68 of a return
        // filed on form 1 or 55; on the first copy only.
        const FieldId fromForm3 = kStateForm2FieldIds.f157;
        if (copy == 1) {
            const FormId federalForm = getFederalForm();
            if (federalForm == kForm1ID || federalForm == kForm55ID) {
                const std::int64_t value = federalReturn()->getIN(kForm3ID, 1, kForm3FieldIds.f68);
                if (value > 0) {
                    statement.assignIR(fromForm3, static_cast<double>(value));
                }
            }
        } else {
            statement.setNull(fromForm3);
        }
    }

    std::vector<FieldId> groups = traits.totalLines;
    groups.push_back(Primitives::kNullFieldID);
    intDivSummaryAllocation1(form, allocationOption, groups);

    if (traits.interest) {
        // U.S. obligations net of the line from federal form 3, column by
        // column as the allocation option opens them.
        statement.minusII(kStateForm2FieldIds.f160, kStateForm2FieldIds.f154, kStateForm2FieldIds.f157);
        switch (allocationOption) {
            case 4:
                statement.minusII(kStateForm2FieldIds.f161, kStateForm2FieldIds.f155, kStateForm2FieldIds.f158);
                statement.minusII(kStateForm2FieldIds.f162, kStateForm2FieldIds.f156, kStateForm2FieldIds.f159);
                break;
            case 3:
                statement.setNull(kStateForm2FieldIds.f161);
                statement.minusII(kStateForm2FieldIds.f162, kStateForm2FieldIds.f156, kStateForm2FieldIds.f159);
                break;
            case 2:
                statement.minusII(kStateForm2FieldIds.f161, kStateForm2FieldIds.f155, kStateForm2FieldIds.f158);
                statement.setNull(kStateForm2FieldIds.f162);
                break;
            default:
                statement.setNull(kStateForm2FieldIds.f161);
                statement.setNull(kStateForm2FieldIds.f162);
                break;
        }
    }

    double sum = 0.0;
    for (const FieldId& total : traits.totalLines) {
        sum += statement.getIR(total);
    }
    if (sum != 0.0 || stateReturn_->hasSigValue(s, copy, traits.firstRowField)) {
        stateReturn_->setDataEntered(s, copy, true, false);
        statement.setCalculatedFlag(true);
    }
}

}  // namespace StateCalculationMgmt
