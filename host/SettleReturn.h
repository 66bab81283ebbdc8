// The settle step of gahost run, check and interview: the Georgia return is
// calculated again until a calculation changes no field of it. The order in
// which the module calculates its forms lets some fields read others of the
// previous calculation (form 69's withdrawal amount reads form 70's amount
// owed before form 70 is calculated); once the return has settled, the
// printed, reviewed, reported, e-filed and saved figures are the same.
#pragma once

#include <ostream>
#include <string>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/store/StateDataMgmt.h"

namespace GAHost {

// The most whole-return calculations the step makes.
constexpr int kMaxCalculations = 5;

struct Settling {
    int calculations = 0;  // whole-return calculations made
    bool settled = false;  // the last one changed no Georgia field
    // When it did not settle: a field that the last calculation changed,
    // "form GA70 copy 1 field 106 (5 before, 7 after)".
    std::string stillChanging;
};

// Calculates the whole return with the engine until a calculation leaves
// every field of the Georgia return as it was, at most kMaxCalculations
// times.
Settling settleReturn(CalculationMgmt::TaxReturnCalcEngine& engine, StateDataMgmt::StateTaxReturn& georgia);

// "calculated the Georgia return", and when the return did not settle, a
// line that says so and names a field that still changed.
void reportCalculation(std::ostream& out, const Settling& settling);
// That line alone, when the return did not settle.
void reportUnsettled(std::ostream& out, const Settling& settling);

// The module's printer and calculation engine on the session's returns,
// which the module loaded for the session must have made: the printer is
// made first, as the engine is built on it, and the engine goes first. The
// engine knows the return by the name given (the return file's stem).
class ModuleCalculation {
public:
    ModuleCalculation(const ModuleLoader& module, HostSession& session, const std::string& returnName);
    ModuleCalculation(const ModuleCalculation&) = delete;
    ModuleCalculation& operator=(const ModuleCalculation&) = delete;

    const ModuleLoader& module() const { return module_; }
    HostSession& session() { return session_; }
    TaxFormPrintMgmt::TaxFormPrinterPtr& printer() { return printer_; }
    CalculationMgmt::TaxReturnCalcEnginePtr& engine() { return engine_; }

    // settleReturn on the session's Georgia return.
    Settling settle();

private:
    const ModuleLoader& module_;
    HostSession& session_;
    TaxFormPrintMgmt::TaxFormPrinterPtr printer_;
    CalculationMgmt::TaxReturnCalcEnginePtr engine_;
};

}  // namespace GAHost
