// The host's calculation-engine base, CalculationMgmt::TaxReturnCalcEngine.
//
// A state module derives its engine from this class. The base keeps the
// printer handle it was built with, the return pointer that the state layer
// sets to the federal return, and the name of the return (the stem of the
// file names the module's diagnostics write). The calculation slots are
// overridden by the state layer; the base versions calculate nothing, as a
// host engine without a state module has nothing of its own to calculate.
#pragma once

#include <cstdint>
#include <string>

#include "module/frame/CountedPtr.h"
#include "platform/Primitives.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/store/DataMgmt.h"

namespace CalculationMgmt {

class TaxReturnCalcEngine {
public:
    // Keeps a copy of the printer handle for as long as the engine lives.
    explicit TaxReturnCalcEngine(TaxFormPrintMgmt::TaxFormPrinterPtr& printer);
    virtual ~TaxReturnCalcEngine();

    TaxReturnCalcEngine(const TaxReturnCalcEngine&) = delete;
    TaxReturnCalcEngine& operator=(const TaxReturnCalcEngine&) = delete;

    // Slots, in the host's order.
    // The whole return; the argument is the host's and has no meaning here.
    virtual void calculateReturn(int value);
    // One form copy: form, copy, mark-entered flag, two further integers that
    // are handed on unchanged, and the copy's handle.
    virtual void calculateForm(const Primitives::QVImmutableFormIdentifier& form, int copy, int markEntered, int second,
                               int third, DataMgmt::TaxFormPtr handle);
    // Every copy of one form.
    virtual void calculateAllCopies(const Primitives::QVImmutableFormIdentifier& form);
    // The whole return, when it has changed since it was last saved.
    virtual void calculateIfNeeded(int value);
    // The federal tax-table and earned-income computations of the host. A
    // state module never calls them, and this host does not provide them:
    // both throw Exceptions::QuarloException ("not available").
    virtual long taxCalc1(char filingStatus, long a, long b, long c, long d, long e, long f, long g,
                          unsigned short flags);
    virtual void earnedIncome(double& taxpayer, double& spouse);
    // The amount owed (positive) or refunded (negative); 0 when neither.
    virtual long getRefundOrBalanceDue();

    // Name of the return, used as the stem of file names written for it.
    const std::string& getReturnName() const { return returnName_; }
    void setReturnName(const std::string& name) { returnName_ = name; }

    const TaxFormPrintMgmt::TaxFormPrinterPtr& getPrinter() const { return printer_; }

protected:
    // Set by the state layer to the federal return; not owned.
    DataMgmt::TaxReturn* taxReturn = nullptr;

private:
    TaxFormPrintMgmt::TaxFormPrinterPtr printer_;
    std::string returnName_;
};

SMARTPOINTERS_NAMED_HANDLE(TaxReturnCalcEnginePtr, TaxReturnCalcEngine);

}  // namespace CalculationMgmt
