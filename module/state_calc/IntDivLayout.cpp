// Lays the interest statement (state form 2) and the dividend statement
// (state form 3) out over their copies at the start of every whole-return
// calculation.
//
// Every copy of a federal interest or dividend form that has something to
// list gets an entry: a payer line followed by one line per kind of amount.
// A statement copy has 24 lines; an entry that does not fit on the current
// copy goes whole to the first line of the next copy. The layout writes only
// the row-information text of each line; the per-copy recalculation draws
// the rows from those texts later in the same calculation.
#include <algorithm>
#include <string>

#include "module/catalogues/Form164Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "module/state_calc/StatementLines.h"
#include "platform/util/Utils.h"

namespace StateCalculationMgmt {

namespace {

using AmountGetter = void (StateTaxReturnCalcEngine::*)(FormId, std::uint16_t, IntDivCategoryAmounts&);

struct SourceForm {
    FormId form;
    AmountGetter amounts;
};

// The lines an entry writes: the payer line, the regular line (also when the
// three amounts add up to 0), the U.S.-obligations line, and the in-state
// and out-of-state lines of a municipal total.
short linesWritten(const IntDivCategoryAmounts& a) {
    short lines = 1;
    if (a.regularAmount != 0.0 || a.regularAmount + a.usObligationAmount + a.municipalTotal == 0.0) {
        ++lines;
    }
    if (a.usObligationAmount != 0.0) {
        ++lines;
    }
    if (a.municipalTotal != 0.0) {
        lines += 2;
    }
    return lines;
}

// The first field after the line area of a copy.
FieldId lineAreaEnd(DataMgmt::QVFieldIDIter it, const FieldId& firstLine) {
    it = firstLine;
    return (it + intdiv::kLinesPerCopy).getFieldID();
}

}  // namespace

void StateTaxReturnCalcEngine::buildIntDivSummaries(int recalculate, FormId infoForm, FormId closingForm,
                                                    FormId interestForm, FieldId interestFirstLine, FormId dividendForm,
                                                    FieldId dividendFirstLine) {
    const bool recalc = recalculate != 0;

    // The information form first: the statements' headings and options come
    // from it.
    if (DataMgmt::TaxFormPtr info = stateReturn_->getFormUVPtr(infoForm, 1, true); !info.isNull()) {
        calcFormCopy(infoForm, 1, 0, 0, 0, info);
        stateReturn_->setDataEntered(infoForm, 1, true, false);
        info->setCalculatedFlag(true);
    }

    layOutStatement(interestForm, interestFirstLine, intdiv::kInterestKind, recalc);
    layOutStatement(dividendForm, dividendFirstLine, intdiv::kDividendKind, recalc);

    if (DataMgmt::TaxFormPtr closing = stateReturn_->getFormUVPtr(closingForm, 1, true); !closing.isNull()) {
        calcFormCopy(closingForm, 1, 0, 0, 0, closing);
        stateReturn_->setDataEntered(closingForm, 1, true, false);
        closing->setCalculatedFlag(true);
    }
}

void StateTaxReturnCalcEngine::layOutStatement(const FormId& statementForm, FieldId firstLine, int kind,
                                               bool recalculate) {
    const bool dividends = kind != intdiv::kInterestKind;
    const SourceForm sources[] = {
        dividends ? SourceForm{kForm164ID, &StateTaxReturnCalcEngine::getDividendSourceAmounts}
                  : SourceForm{kForm166ID, &StateTaxReturnCalcEngine::getInterestSourceAmounts},
        {kForm51ID, dividends ? &StateTaxReturnCalcEngine::getOtherDividendAmounts
                              : &StateTaxReturnCalcEngine::getOtherInterestAmounts},
        {kForm89ID, dividends ? &StateTaxReturnCalcEngine::getOtherDividendAmounts
                              : &StateTaxReturnCalcEngine::getOtherInterestAmounts},
    };

    DataMgmt::TaxFormDescPtr desc = stateReturn_->getTaxFormDescriptor(statementForm);
    if (desc.isNull()) {
        return;
    }
    DataMgmt::QVFieldIDIter position = desc->getFieldIDs();
    position = firstLine;
    std::uint16_t statementCopy = 1;
    DataMgmt::TaxFormPtr lastUsed;

    DataMgmt::TaxReturn& federal = *federalReturn();
    for (const SourceForm& source : sources) {
        // The copies that exist, ascending (walked by their numbers rather
        // than over every number the form allows).
        for (const std::uint16_t sourceCopy : federal.copyNumbers(source.form)) {
            IntDivCategoryAmounts amounts;
            (this->*source.amounts)(source.form, sourceCopy, amounts);
            const short counted =
                Utils::countLines(amounts.regularAmount, amounts.usObligationAmount, amounts.inStateMunicipal,
                                  amounts.outOfStateMunicipal, amounts.municipalTotal);
            if (counted <= 1 && !amounts.hasIncome) {
                continue;  // nothing to list
            }
            const bool restrictedStock = dividends && source.form == kForm164ID &&
                                         federal.formYes(kForm164ID, sourceCopy, kForm164Lines.restrictedStock);
            // The entry is laid out by the lines it really writes when the
            // count says fewer, so that it never runs past the line area.
            const short written = restrictedStock ? short{2} : linesWritten(amounts);
            clearUnusedSummaryLines(statementForm, statementCopy, position, firstLine, std::max(counted, written),
                                    recalculate);

            DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(statementForm, statementCopy, true);
            if (handle.isNull()) {
                continue;  // the host gives no further copy: the entry is dropped
            }
            lastUsed = handle;

            setIntDivInfo(handle, position.getFieldID(), std::string(), source.form, sourceCopy, intdiv::kPayerLine);
            if (restrictedStock) {
                position.next();
                setIntDivInfo(handle, position.getFieldID(), std::string(), kForm164ID, sourceCopy,
                              intdiv::kRestrictedStock);
                position.next();
                continue;
            }
            setIntDivInfoAllRows(handle, position, std::string(), source.form, sourceCopy, amounts.regularAmount,
                                 amounts.usObligationAmount, amounts.municipalTotal, kind);
        }
    }

    if (!lastUsed.isNull()) {
        clearUnusedSummaryLinesAllCopies(lastUsed, statementForm, statementCopy, position.getFieldID(), firstLine,
                                         recalculate);
    }
}

void StateTaxReturnCalcEngine::clearUnusedSummaryLines(FormId statementForm, std::uint16_t& copy,
                                                       DataMgmt::QVFieldIDIter& position, FieldId firstLine,
                                                       short lineCount, bool recalculate) {
    DataMgmt::TaxFormDescPtr desc = stateReturn_->getTaxFormDescriptor(statementForm);
    if (desc.isNull()) {
        return;
    }
    const FieldId end = lineAreaEnd(desc->getFieldIDs(), firstLine);
    if (!(position + static_cast<int>(lineCount) > end)) {
        return;  // the entry fits
    }
    // The free lines of this copy are nulled and the walk moves on to the
    // next copy. A copy that has gone missing has nothing to null, but the
    // walk moves on all the same: the entry must not start past the area.
    if (DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(statementForm, copy, false); !handle.isNull()) {
        while (!position.atEOL() && position < end) {
            handle->setNull(position.getFieldID());
            position.next();
        }
        if (recalculate) {
            calcFormCopy(statementForm, copy, 0, 1, 0, handle);
        }
    }
    position = firstLine;
    ++copy;
}

void StateTaxReturnCalcEngine::setIntDivInfoAllRows(DataMgmt::TaxFormPtr statement, DataMgmt::QVFieldIDIter& position,
                                                    const std::string& payerName, const FormId& sourceForm,
                                                    std::uint16_t sourceCopy, double regularAmount,
                                                    double usObligationAmount, double municipalTotal, int kind) {
    const bool dividends = kind != intdiv::kInterestKind;
    auto writeLine = [&](int lineType) {
        position.next();
        setIntDivInfo(statement, position.getFieldID(), payerName, sourceForm, sourceCopy, lineType);
    };
    if (regularAmount != 0.0 || regularAmount + usObligationAmount + municipalTotal == 0.0) {
        writeLine(dividends ? intdiv::kRegularDividends : intdiv::kRegularInterest);
    }
    if (usObligationAmount != 0.0) {
        writeLine(intdiv::kUSObligations);
    }
    if (municipalTotal != 0.0) {
        writeLine(dividends ? intdiv::kMuniFundInState : intdiv::kMuniBondsInState);
        writeLine(dividends ? intdiv::kMuniFundOutOfState : intdiv::kMuniBondsOutOfState);
    }
    position.next();  // the next entry's payer line
}

void StateTaxReturnCalcEngine::clearUnusedSummaryLinesAllCopies(DataMgmt::TaxFormPtr lastUsed, FormId statementForm,
                                                                std::uint16_t copy, FieldId firstFree,
                                                                FieldId firstLine, bool recalculate) {
    if (lastUsed.isNull()) {
        return;
    }
    if (recalculate) {
        calcFormCopy(statementForm, copy, 0, 1, 0, lastUsed);
    }
    DataMgmt::QVFieldIDIter it = lastUsed->description().getFieldIDs();
    const FieldId end = lineAreaEnd(it, firstLine);
    // The rest of the copy that took the last entry, then the whole line
    // area of every later copy that exists.
    for (const std::uint16_t number : stateReturn_->copyNumbers(statementForm)) {
        if (number < copy) {
            continue;
        }
        it = number == copy ? firstFree : firstLine;
        const DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(statementForm, number, false);
        while (!it.atEOL() && it < end) {
            handle->setNull(it.getFieldID());
            it.next();
        }
    }
}

}  // namespace StateCalculationMgmt
