#include "module/state_calc/StateTaxReturnCalcEngine.h"

#include <cmath>
#include <vector>

#include "module/catalogues/StateForm14Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Exceptions.h"
#include "platform/util/UtilsMarks.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kClassName = "StateTaxReturnCalcEngine";

std::uint16_t hostCopy(int copy) { return static_cast<std::uint16_t>(copy); }

StateDataMgmt::StateTaxReturn* requireStateReturn(DataMgmt::USTaxReturn* federalReturn,
                                                  DataMgmt::TaxReturn* stateReturn) {
    if (federalReturn == nullptr) {
        throw Exceptions::QuarloException("the federal return is missing or not a federal return", kClassName,
                                          "StateTaxReturnCalcEngine");
    }
    auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(stateReturn);
    if (state == nullptr) {
        throw Exceptions::QuarloException("the state return is missing or not a state return", kClassName,
                                          "StateTaxReturnCalcEngine");
    }
    return state;
}

}  // namespace

StateTaxReturnCalcEngine::StateTaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn,
                                                   DataMgmt::TaxReturn* stateReturn,
                                                   TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : CalculationMgmt::TaxReturnCalcEngine(printer),
      stateReturn_(requireStateReturn(federalReturn, stateReturn)),
      interestForm_(kStateForm2ID),
      dividendForm_(kStateForm3ID),
      wageForm_(kStateForm4ID) {
    taxReturn = federalReturn;
    buildWageLineTable();
}

StateTaxReturnCalcEngine::~StateTaxReturnCalcEngine() = default;

// ------------------------------------------------------------ the walk

void StateTaxReturnCalcEngine::calculateReturn(int /*value*/) {
    clearCalculatedFlags();
    beforeCalc();
    calcAllForms();
    afterCalc();
}

void StateTaxReturnCalcEngine::calculateForm(const FormId& form, int copy, int markEntered, int second, int third,
                                             DataMgmt::TaxFormPtr /*handle*/) {
    // The copy is always fetched anew; the handle given is not used.
    DataMgmt::TaxFormPtr current = stateReturn_->getFormUVPtr(form, hostCopy(copy), false);
    if (form == kStateForm14ID) {
        // State form 14 is kept by the state layer itself: its copy 1 exists
        // after every calculation, whichever copy was asked for, with one of
        // its two boxes marked by default.
        DataMgmt::TaxFormPtr first = stateReturn_->getFormUVPtr(kStateForm14ID, 1, true);
        if (!first.isNull()) {
            Utils::setDefaultX(first, kStateForm14Lines.updatesYes, kStateForm14Lines.updatesNo,
                               kStateForm14Lines.updatesNo);
        }
        return;
    }
    if (!current.isNull()) {
        calcFormCopy(form, copy, markEntered, second, third, current);
    }
}

void StateTaxReturnCalcEngine::calculateAllCopies(const FormId& form) {
    // Last copy first. The copies present are walked by their numbers, so a
    // copy above a gap left by a deleted copy is calculated too.
    const std::vector<std::uint16_t> numbers = stateReturn_->copyNumbers(form);
    for (auto number = numbers.rbegin(); number != numbers.rend(); ++number) {
        DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(form, *number, false);
        if (!handle.isNull()) {
            calculateForm(form, *number, 0, 1, 1, handle);
        }
    }
}

void StateTaxReturnCalcEngine::calculateIfNeeded(int value) {
    if (stateReturn_->isSaveNeeded()) {
        calculateReturn(value);
    }
}

long StateTaxReturnCalcEngine::getRefundOrBalanceDue() {
    std::string text;
    long amount = 0;
    stateReturn_->getEFileInfo(text, &amount, 0);
    return amount;
}

void StateTaxReturnCalcEngine::clearCalculatedFlags() {
    stateReturn_->forEachCopy([](DataMgmt::TaxForm& copy) { copy.setCalculatedFlag(false); });
}

// ------------------------------------------------- field helpers of the walk

void StateTaxReturnCalcEngine::clearFieldRange(const FormId& form, int copy, FieldId first, FieldId last) {
    DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(form, hostCopy(copy), false);
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxFormDescPtr desc = handle->getTaxFormDescriptor();
    DataMgmt::QVFieldIDIter it = desc->getFieldIDs();
    if (it.atEOL()) {
        return;  // a form without fields has nothing to clear
    }
    if (first.getNumber() <= 0) {
        first = it.getFieldID();
    }
    if (last.getNumber() <= 0) {
        for (DataMgmt::QVFieldIDIter walk = it; !walk.atEOL(); walk.next()) {
            last = walk.getFieldID();
        }
    }
    for (it = first; !it.atEOL() && it <= last; it.next()) {
        handle->setNull(it.getFieldID());
    }
    handle->setNull(last);
}

void StateTaxReturnCalcEngine::storeScaledAmount(const FormId& form, int copy, FieldId field, double& amount,
                                                 char decimals) {
    DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(form, hostCopy(copy), false);
    if (handle.isNull()) {
        amount = 0.0;
        return;
    }
    double factor = 1.0;
    if (decimals >= 1 && decimals <= 6) {
        factor = std::pow(10.0, decimals);
    }
    handle->assignIR(field, amount * factor);
    amount = static_cast<double>(stateReturn_->getIN(form, hostCopy(copy), field)) / factor;
}

void StateTaxReturnCalcEngine::defaultOrClampField(const FormId& form, int copy, FieldId field, double defaultValue,
                                                   double low, double high) {
    DataMgmt::TaxFormPtr handle = stateReturn_->getFormUVPtr(form, hostCopy(copy), false);
    if (handle.isNull()) {
        return;
    }
    const double value = static_cast<double>(stateReturn_->getIN(form, hostCopy(copy), field));
    if (!handle->nonNull(field)) {
        handle->assignIR(field, defaultValue);
    } else if (value > high) {
        handle->assignIR(field, high);
    } else if (low > value) {
        handle->assignIR(field, low);
    }
}

}  // namespace StateCalculationMgmt
