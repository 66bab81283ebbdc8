// The plain C entry points of the Georgia module: the compatibility version
// and the factories. Everything else in the library is hidden.

#include "module/frame/ModuleExports.h"

#include <cstdlib>

#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/GATaxReturn.h"
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

short compatVersion() {
    // The version is kept as text and read as its low 16 bits.
    const char version[] = "6101";
    return static_cast<short>(std::strtol(version, nullptr, 10) & 0xFFFF);
}

int createTaxReturnInstance(DataMgmt::TaxReturnPtr taxReturn, DataMgmt::TaxReturnDescPtr descriptor,
                            Utils::StringPoolPtr stringPool, DataMgmt::TaxReturn** created) {
    // Without a place to hand the return over, nothing is built.
    int status = 1;
    if (created != nullptr) {
        *created = new GADataMgmt::GATaxReturn(taxReturn, descriptor, stringPool);
        status = 0;
    }
    // The handles given are released in argument order; the return keeps
    // copies of its own where it needs them.
    taxReturn.release();
    descriptor.release();
    stringPool.release();
    return status;
}

TaxFormPrintMgmt::TaxFormPrinter* createTaxFormPrinterInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                               DataMgmt::TaxReturnPtr stateReturn) {
    // The federal return is not read. A state return of another class leaves
    // the printer without a return.
    auto* gaReturn = dynamic_cast<GADataMgmt::GATaxReturn*>(stateReturn.get());
    auto* printer = new GATaxFormPrintMgmt::GATaxFormPrinter(gaReturn);
    federalReturn.release();
    stateReturn.release();
    return printer;
}

CalculationMgmt::TaxReturnCalcEngine* createCalcEngineInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                               DataMgmt::TaxReturnPtr stateReturn,
                                                               TaxFormPrintMgmt::TaxFormPrinterPtr printer) {
    // Returns of other classes give null pointers, which the engine refuses
    // with an exception that leaves through this call.
    auto* federal = dynamic_cast<DataMgmt::USTaxReturn*>(federalReturn.get());
    auto* gaReturn = dynamic_cast<GADataMgmt::GATaxReturn*>(stateReturn.get());
    auto* engine = new GACalculationMgmt::GATaxReturnCalcEngine(federal, gaReturn, printer);
    federalReturn.release();
    stateReturn.release();
    printer.release();
    return engine;
}

AuditMgmt::TaxFormAuditor* createAuditorInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                 DataMgmt::TaxReturnPtr stateReturn,
                                                 DataMgmt::QuarloConfiguration* configuration,
                                                 CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                                 TaxFormPrintMgmt::TaxFormPrinterPtr printer) {
    // Returns of other classes give null pointers; the auditor cannot be
    // built on them and the refusal leaves through this call.
    auto* federal = dynamic_cast<DataMgmt::USTaxReturn*>(federalReturn.get());
    auto* gaReturn = dynamic_cast<GADataMgmt::GATaxReturn*>(stateReturn.get());
    if (gaReturn == nullptr) {
        throw Exceptions::QuarloException("the state return is missing or not the Georgia return", "GATaxFormAuditor",
                                          "createAuditorInstance");
    }
    auto* auditor = new GAAuditMgmt::GATaxFormAuditor(federal, *gaReturn, configuration, engine, printer);
    federalReturn.release();
    stateReturn.release();
    engine.release();
    printer.release();
    return auditor;
}

TifWriteMgmt::TifFileWriter* createTifFileWriterInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                         DataMgmt::TaxReturnPtr stateReturn,
                                                         CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                                         TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                                                         AuditMgmt::TaxFormAuditorPtr auditor,
                                                         DataMgmt::QuarloConfiguration* configuration) {
    // The writer makes its own casts and refuses objects of other classes
    // with an exception that leaves through this call.
    auto* writer =
        new GATifWriteMgmt::GATifFileWriter(federalReturn, stateReturn, engine, printer, auditor, configuration);
    federalReturn.release();
    stateReturn.release();
    engine.release();
    printer.release();
    auditor.release();
    return writer;
}

MacroExpansionMgmt::MacroExpander* createMacroExpanderInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                               DataMgmt::TaxReturnPtr stateReturn) {
    // A second return that is not a state return is refused by the expander;
    // the refusal leaves through this call.
    auto* expander = new StateMacroExpansionMgmt::StateMacroExpander(federalReturn, stateReturn);
    federalReturn.release();
    stateReturn.release();
    return expander;
}

std::vector<TopicMgmt::TopicDesc*>* createInterviewHierarchy(DataMgmt::TaxDataStore& store) {
    return GATopicMgmt::buildInterviewHierarchy(store);
}

ReportMgmt::TaxSummaryReport* createTaxSummaryReport(DataMgmt::TaxReturnPtr stateReturn) {
    // A return of another class is refused by the report with an exception
    // that leaves through this call.
    auto* report = new GAReportMgmt::GATaxSummaryReport(stateReturn);
    stateReturn.release();
    return report;
}
