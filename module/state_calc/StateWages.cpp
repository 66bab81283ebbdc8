// The state wage worksheet (state form 4): the owner names, the W-2 wages
// and their split between the two state columns, the common federal amounts,
// and every income line of the federal main form (form 1, 55 or 87) with its
// state columns opened, closed, nulled and capped by the residency code.
//
// Residency codes: 1 full-year resident, 2 part-year resident, 3 nonresident,
// 4 both state columns open. Each income line has column A (the federal
// amount), column B (first state column) and column C, the field after
// column B in the form's field order.
#include <algorithm>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form52Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "module/state_calc/WageLineTable.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kClassName = "StateTaxReturnCalcEngine";

// The line's field on the federal main form that the return files; null when
// that form has no such line.
FieldId federalLineField(const WageLineRow& row, const FormId& mainForm) {
    if (mainForm == kForm1ID) {
        return row.form1Field;
    }
    if (mainForm == kForm55ID) {
        return row.form55Field;
    }
    if (mainForm == kForm87ID) {
        return row.form87Field;
    }
    return Primitives::kNullFieldID;
}

FieldId columnC(const DataMgmt::TaxForm& sheet, const FieldId& columnB) {
    DataMgmt::QVFieldIDIter it = sheet.description().getFieldIDs();
    it = columnB;
    return (it + 1).getFieldID();
}

// An open state column starts from 0 when the residency changed, so that an
// amount entered under the old residency does not stay. A worksheet never
// allocated has no old residency: the filer's amount stays, and an empty
// column starts from 0.
void startOpenColumn(DataMgmt::TaxForm& sheet, const FieldId& x, ResidencyChange change) {
    if (change == ResidencyChange::kChanged || (change == ResidencyChange::kFirstAllocation && sheet.isNull(x))) {
        sheet.zero(x);
    }
}

// Holds a Georgia part of a line between 0 and the line's federal amount
// (between the federal amount and 0 where that is below 0, a loss): a part
// beyond it counts income the line does not have, and one of the other sign
// takes off income that the line has. An empty part is held as 0.
void holdWithinLine(DataMgmt::TaxForm& sheet, const FieldId& part, double federal) {
    sheet.maxIR(part, part, std::min(federal, 0.0));
    sheet.minIR(part, part, std::max(federal, 0.0));
}

// The wages a part-year resident's state columns split: the state wages of
// the W-2s, each W-2 by box 16 of its state lines, or by its wages (box 1)
// where its state lines give none (a W-2 of a state without an income tax,
// or box 16 left empty); never below the state wages the host answers, and
// the worksheet's W-2 wages where neither gives any.
double wagesToSplit(const DataMgmt::TaxForm& sheet, const StateDataMgmt::StateTaxReturn& state, char status) {
    double wages = 0.0;
    if (const DataMgmt::TaxReturn* federal = state.getFederalReturn()) {
        federal->forEachCopy(kForm52ID, [&](const DataMgmt::TaxForm& w2) {
            double lines = 0.0;
            for (const SourceStateRow& row : kForm52StateRows) {
                if (w2.description().hasField(row.amount))
                    lines += state.federalDisplayAmount(w2, row.amount.getNumber());
            }
            wages += lines != 0.0 ? lines : state.federalDisplayAmount(w2, kForm52Lines.wages.getNumber());
        });
    }
    const double stateWages = std::max(wages, state.getAllStateWages(status));
    return stateWages != 0.0 ? stateWages : sheet.getIR(kStateForm4Lines.wages.federal);
}

// Splits the W-2 wages between the worksheet's state columns (the resident's
// and the nonresident's) by residency. A
// changed residency starts the part-year column afresh.
void splitWages(DataMgmt::TaxForm& sheet, StateDataMgmt::StateTaxReturn& state, char status, int residency,
                ResidencyChange change) {
    const StateForm4Lines& s4 = kStateForm4Lines;
    sheet.makeProtected(s4.wages.resident);
    sheet.makeProtected(s4.wages.nonresident);
    switch (residency) {
        case Residency::kNonresident:
            // A nonresident's wages from this state; an amount already on
            // the first worksheet stands.
            sheet.setNull(s4.wages.resident);
            sheet.unProtect(s4.wages.nonresident);
            if (!state.hasSigValue(kStateForm4ID, 1, s4.wages.nonresident)) {
                sheet.assignIR(s4.wages.nonresident, state.getStateWages(status));
            }
            // Wages are not below 0: an entry below is held to 0, which the
            // next calculation takes as no entry.
            sheet.maxIR(s4.wages.nonresident, s4.wages.nonresident, 0.0);
            break;
        case Residency::kPartYear:
            sheet.setNull(s4.wages.nonresident);
            sheet.unProtect(s4.wages.resident);
            startOpenColumn(sheet, s4.wages.resident, change);
            holdWithinLine(sheet, s4.wages.resident, wagesToSplit(sheet, state, status));
            break;
        case Residency::kFullYear:
            sheet.setNull(s4.wages.nonresident);
            sheet.assignIR(s4.wages.resident, state.getAllStateWages(status));
            break;
        case Residency::kBothColumns: {
            sheet.unProtect(s4.wages.resident);
            sheet.unProtect(s4.wages.nonresident);
            startOpenColumn(sheet, s4.wages.resident, change);
            const double allWages = wagesToSplit(sheet, state, status);
            holdWithinLine(sheet, s4.wages.resident, allWages);
            const double rest = std::max(allWages - sheet.getIR(s4.wages.resident), 0.0);
            holdWithinLine(sheet, s4.wages.nonresident, rest);
            break;
        }
        default:
            break;
    }
}

// The common federal amounts on their worksheet lines.
void assignCommonAmounts(DataMgmt::TaxForm& sheet, const WageCommonAmounts& common) {
    const StateForm4Lines& s4 = kStateForm4Lines;
    sheet.assignIR(s4.taxableInterest, common.taxableInterest);
    sheet.assignIR(s4.ordinaryDividends, common.ordinaryDividends);
    sheet.assignIR(s4.otherWages.federal, common.otherWages);
    sheet.assignIR(s4.taxpayerAdjustment.federal, common.ownerAmount);
    sheet.assignIR(s4.spouseAdjustment.federal, common.spouseAmount);
    sheet.assignIR(s4.taxpayerOtherAdjustment.federal, common.adjustmentTaxpayer);
    sheet.assignIR(s4.spouseOtherAdjustment.federal, common.adjustmentSpouse);
}

// The income lines of the federal main form, each with its state columns
// limited by residency. A line that the form filed does not have is emptied
// and closed, so that an amount of an earlier calculation on another form
// cannot flow into the totals.
void transferIncomeLines(StateTaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr form, DataMgmt::TaxForm& sheet,
                         int residency, ResidencyChange change) {
    const FormId mainForm = engine.getFederalForm();
    const WageLineRow* table = wageLineTable();
    for (std::size_t i = 0; table != nullptr && i < kWageLineTableRows && !table[i].form1Field.isNullID(); ++i) {
        const WageLineRow& row = table[i];
        if (row.amountField.isNullID()) {
            continue;
        }
        const FieldId federalField = federalLineField(row, mainForm);
        if (federalField.isNullID()) {
            for (const FieldId& column : {row.amountField, row.columnBField, columnC(sheet, row.columnBField)}) {
                sheet.makeProtected(column);
                sheet.setNull(column);
            }
            continue;
        }
        engine.federalReturn()->getII(mainForm, federalField, form, row.amountField);
        engine.limitWageRow(form, residency, change, row.amountField, row.columnBField, row.limitMode);
    }
}

// The state columns of the lines filled from the common amounts: those of
// the other wages as the filer enters them, the others' each within the
// line's amount.
void limitCommonLines(StateTaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr form, int residency,
                      ResidencyChange change) {
    const StateForm4Lines& s4 = kStateForm4Lines;
    engine.limitWageRow(form, residency, change, s4.otherWages.federal, s4.otherWages.resident, 2);
    engine.limitWageRow(form, residency, change, s4.taxpayerAdjustment.federal, s4.taxpayerAdjustment.resident, 1);
    engine.limitWageRow(form, residency, change, s4.spouseAdjustment.federal, s4.spouseAdjustment.resident, 1);
    engine.limitWageRow(form, residency, change, s4.taxpayerOtherAdjustment.federal,
                        s4.taxpayerOtherAdjustment.resident, 1);
    engine.limitWageRow(form, residency, change, s4.spouseOtherAdjustment.federal, s4.spouseOtherAdjustment.resident,
                        1);
}

}  // namespace

void StateTaxReturnCalcEngine::allocateStateWages(DataMgmt::TaxFormPtr form, const char* /*abbreviation*/,
                                                  FormId infoForm, std::uint16_t filingStatus, int residency,
                                                  int displayValue) {
    DataMgmt::TaxForm& sheet = DataMgmt::requireForm(form, kClassName, "allocateStateWages");
    const StateForm4Lines& s4 = kStateForm4Lines;

    assignOwnerName(form, infoForm, static_cast<std::int16_t>(filingStatus), Utils::DISPLAY_NAME{displayValue},
                    s4.taxpayerName, s4.taxpayerNumber, Primitives::kNullFieldID, Primitives::kNullFieldID,
                    s4.spouseName, s4.spouseNumber, Primitives::kNullFieldID, Primitives::kNullFieldID,
                    Primitives::kNullFieldID, 0);

    // The worksheet keeps the residency code of the last allocation. Empty, the
    // worksheet was never allocated (a return file need not carry it): that
    // is no change of residency, and what the filer entered stays.
    ResidencyChange change = ResidencyChange::kUnchanged;
    if (sheet.isNull(s4.residencyCode)) {
        change = ResidencyChange::kFirstAllocation;
    } else if (sheet.getIN(s4.residencyCode) != residency) {
        change = ResidencyChange::kChanged;
    }
    const WageCommonAmounts common = sumPullCommon(filingStatus);

    // W-2 wages, both filers' on a joint return.
    double taxpayerWages = 0.0;
    double spouseWages = 0.0;
    stateReturn_->getFromW2(kForm52ID, kForm52Lines.wages, Primitives::kNullFieldID, false, taxpayerWages, spouseWages);
    sheet.assignIR(s4.wages.federal,
                   FilingStatus::addsSpouseAmounts(filingStatus) ? taxpayerWages + spouseWages : taxpayerWages);
    splitWages(sheet, *stateReturn_, static_cast<char>(filingStatus), residency, change);

    assignCommonAmounts(sheet, common);
    transferIncomeLines(*this, form, sheet, residency, change);
    limitCommonLines(*this, form, residency, change);
    sheet.assignIR(s4.residencyCode, residency);
}

void StateTaxReturnCalcEngine::limitWageRow(DataMgmt::TaxFormPtr form, int residency, ResidencyChange change,
                                            FieldId amountField, FieldId columnBField, std::uint8_t limitMode) {
    DataMgmt::TaxForm& sheet = DataMgmt::requireForm(form, kClassName, "limitWageRow");
    const FieldId& a = amountField;
    const FieldId& b = columnBField;
    const FieldId c = columnC(sheet, b);
    const bool capped = limitMode == 1;

    switch (residency) {
        case Residency::kPartYear:
            sheet.unProtect(b);
            sheet.makeProtected(c);
            sheet.setNull(c);
            startOpenColumn(sheet, b, change);
            if (capped) {
                holdWithinLine(sheet, b, sheet.getIR(a));
            }
            break;
        case Residency::kNonresident:
            sheet.unProtect(c);
            sheet.makeProtected(b);
            sheet.setNull(b);
            if (capped) {
                holdWithinLine(sheet, c, sheet.getIR(a));
            }
            break;
        case Residency::kBothColumns:
            sheet.unProtect(b);
            sheet.unProtect(c);
            startOpenColumn(sheet, b, change);
            if (capped) {
                // The two columns together are a part of the line: the
                // second holds what the first leaves.
                holdWithinLine(sheet, b, sheet.getIR(a));
                holdWithinLine(sheet, c, sheet.getIR(a) - sheet.getIR(b));
            }
            break;
        case Residency::kFullYear:
            sheet.makeProtected(b);
            sheet.makeProtected(c);
            sheet.setNull(b);
            sheet.setNull(c);
            sheet.assignII(b, a);
            break;
        default:
            break;
    }
}

WageCommonAmounts StateTaxReturnCalcEngine::sumPullCommon(std::uint16_t filingStatus) {
    const FormId mainForm = getFederalForm();
    const bool joint = FilingStatus::addsSpouseAmounts(filingStatus);
    auto item = [&](Utils::PCTypes type) { return static_cast<double>(stateReturn_->pullCommon(mainForm, 1, type)); };
    auto federalAmount = [&](const FormId& f, const FieldId& field) {
        return static_cast<double>(federalReturn()->getIN(f, 1, field));
    };

    WageCommonAmounts out;
    out.taxableInterest = item(Utils::PCTypes::kTaxableInterest);
    out.ordinaryDividends = item(Utils::PCTypes::kOrdinaryDividends);
    if (mainForm == kForm1ID) {
        out.ownerAmount = federalAmount(kForm1ID, kForm1Lines.taxpayerAdjustment);
    } else if (mainForm == kForm55ID) {
        out.ownerAmount = federalAmount(kForm55ID, kForm55Lines.taxpayerAdjustment);
    }
    if (joint) {
        if (mainForm == kForm1ID) {
            out.spouseAmount = federalAmount(kForm1ID, kForm1Lines.spouseAdjustment);
        } else if (mainForm == kForm55ID) {
            out.spouseAmount = federalAmount(kForm55ID, kForm55Lines.spouseAdjustment);
        }
    }
    out.otherWages =
        item(Utils::PCTypes::kOtherWagesTaxpayer) + (joint ? item(Utils::PCTypes::kOtherWagesSpouse) : 0.0);
    out.adjustmentTaxpayer = item(Utils::PCTypes::kWorksheetAdjustmentTaxpayer);
    out.adjustmentSpouse = joint ? item(Utils::PCTypes::kWorksheetAdjustmentSpouse) : 0.0;
    return out;
}

}  // namespace StateCalculationMgmt
