// A Georgia module whose return never settles: the module of this build,
// whose engine counts each of its whole-return calculations into form 70
// line 106 (the balance due) after calculating, so that no calculation
// leaves the return as the one before left it. gahost check and run must
// say that the return did not settle.

// Every header of the module's entry points, read before the engine's
// name is taken over below.
#include "module/catalogues/Form70Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/ModuleExports.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/interview/InterviewHierarchy.h"
#include "module/interview/StateMacroExpander.h"
#include "module/output/GATaxSummaryReport.h"
#include "module/output/GATifFileWriter.h"
#include "module/review/GATaxFormAuditor.h"
#include "platform/Exceptions.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StringPool.h"

namespace GACalculationMgmt {

class RestlessCalcEngine : public GATaxReturnCalcEngine {
public:
    RestlessCalcEngine(DataMgmt::USTaxReturn* federalReturn, GADataMgmt::GATaxReturn* gaReturn,
                       TaxFormPrintMgmt::TaxFormPrinterPtr printer)
        : GATaxReturnCalcEngine(federalReturn, gaReturn, printer), gaReturn_(gaReturn) {}

    void calculateReturn(int value) override {
        GATaxReturnCalcEngine::calculateReturn(value);
        gaReturn_->getFormUVPtr(kGAForm70ID, 1, true)->assignIR(kForm70Lines.result.balanceDue, ++calculations_);
    }

private:
    GADataMgmt::GATaxReturn* gaReturn_;
    int calculations_ = 0;
};

}  // namespace GACalculationMgmt

// The module's own entry points, which build this engine in place of theirs.
#define GATaxReturnCalcEngine RestlessCalcEngine
#include "module/frame/ModuleExports.cpp"
#undef GATaxReturnCalcEngine
