// The plain C entry points of the Georgia module, as the host finds them by
// name in the loaded library, and the function types the host casts them to.
//
// Every handle argument is passed by value: the caller hands over a copy whose
// count it has raised, and the module releases that copy before it returns.
// Every object a factory returns belongs to the host, which destroys it
// through its virtual destructor. createTaxReturnInstance alone answers a
// status and gives its object through the out-parameter: 0 when it built the
// return, 1 (nothing built) when the out-parameter is null.
#pragma once

#include <vector>

namespace DataMgmt {
class TaxReturn;
class TaxReturnPtr;
class TaxReturnDescPtr;
class TaxDataStore;
class QuarloConfiguration;
}  // namespace DataMgmt
namespace Utils {
class StringPoolPtr;
}  // namespace Utils
namespace CalculationMgmt {
class TaxReturnCalcEngine;
class TaxReturnCalcEnginePtr;
}  // namespace CalculationMgmt
namespace AuditMgmt {
class TaxFormAuditor;
class TaxFormAuditorPtr;
}  // namespace AuditMgmt
namespace TaxFormPrintMgmt {
class TaxFormPrinter;
class TaxFormPrinterPtr;
}  // namespace TaxFormPrintMgmt
namespace TifWriteMgmt {
class TifFileWriter;
}  // namespace TifWriteMgmt
namespace ReportMgmt {
class TaxSummaryReport;
}  // namespace ReportMgmt
namespace MacroExpansionMgmt {
class MacroExpander;
}  // namespace MacroExpansionMgmt
namespace TopicMgmt {
class TopicDesc;
}  // namespace TopicMgmt

namespace ModuleExports {

// The compatibility version a host built with this header expects.
inline constexpr short kCompatVersion = 6101;

// Exported names, in the order the host looks them up, and all of them in
// one list.
inline constexpr const char* kCompatVersionName = "compatVersion";
inline constexpr const char* kCreateTaxReturnInstanceName = "createTaxReturnInstance";
inline constexpr const char* kCreateCalcEngineInstanceName = "createCalcEngineInstance";
inline constexpr const char* kCreateAuditorInstanceName = "createAuditorInstance";
inline constexpr const char* kCreateTaxFormPrinterInstanceName = "createTaxFormPrinterInstance";
inline constexpr const char* kCreateTifFileWriterInstanceName = "createTifFileWriterInstance";
inline constexpr const char* kCreateTaxSummaryReportName = "createTaxSummaryReport";
inline constexpr const char* kCreateMacroExpanderInstanceName = "createMacroExpanderInstance";
inline constexpr const char* kCreateInterviewHierarchyName = "createInterviewHierarchy";
inline constexpr const char* kEntryPointNames[] = {
    kCompatVersionName,          kCreateTaxReturnInstanceName,      kCreateCalcEngineInstanceName,
    kCreateAuditorInstanceName,  kCreateTaxFormPrinterInstanceName, kCreateTifFileWriterInstanceName,
    kCreateTaxSummaryReportName, kCreateMacroExpanderInstanceName,  kCreateInterviewHierarchyName,
};

using CompatVersionFn = short();
// (federal return, descriptor, string pool, out: the new Georgia return)
// -> 0, or 1 when the out-parameter is null.
using CreateTaxReturnInstanceFn = int(DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnDescPtr, Utils::StringPoolPtr,
                                      DataMgmt::TaxReturn**);
// (federal, state, printer).
using CreateCalcEngineInstanceFn = CalculationMgmt::TaxReturnCalcEngine*(DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnPtr,
                                                                         TaxFormPrintMgmt::TaxFormPrinterPtr);
// (federal, state, configuration, engine, printer).
using CreateAuditorInstanceFn = AuditMgmt::TaxFormAuditor*(DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnPtr,
                                                           DataMgmt::QuarloConfiguration*,
                                                           CalculationMgmt::TaxReturnCalcEnginePtr,
                                                           TaxFormPrintMgmt::TaxFormPrinterPtr);
// (federal, state); the federal return is not read.
using CreateTaxFormPrinterInstanceFn = TaxFormPrintMgmt::TaxFormPrinter*(DataMgmt::TaxReturnPtr,
                                                                         DataMgmt::TaxReturnPtr);
// (federal, state, engine, printer, auditor, configuration).
using CreateTifFileWriterInstanceFn = TifWriteMgmt::TifFileWriter*(DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnPtr,
                                                                   CalculationMgmt::TaxReturnCalcEnginePtr,
                                                                   TaxFormPrintMgmt::TaxFormPrinterPtr,
                                                                   AuditMgmt::TaxFormAuditorPtr,
                                                                   DataMgmt::QuarloConfiguration*);
// (state).
using CreateTaxSummaryReportFn = ReportMgmt::TaxSummaryReport*(DataMgmt::TaxReturnPtr);
// (federal, state).
using CreateMacroExpanderInstanceFn = MacroExpansionMgmt::MacroExpander*(DataMgmt::TaxReturnPtr,
                                                                         DataMgmt::TaxReturnPtr);
// (the store of the open returns) -> a new list of the top-level topics.
using CreateInterviewHierarchyFn = std::vector<TopicMgmt::TopicDesc*>*(DataMgmt::TaxDataStore&);

}  // namespace ModuleExports

// Declarations of the entry points this module defines.
#define GA_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

GA_MODULE_EXPORT short compatVersion();
GA_MODULE_EXPORT int createTaxReturnInstance(DataMgmt::TaxReturnPtr taxReturn, DataMgmt::TaxReturnDescPtr descriptor,
                                             Utils::StringPoolPtr stringPool, DataMgmt::TaxReturn** created);
GA_MODULE_EXPORT TaxFormPrintMgmt::TaxFormPrinter* createTaxFormPrinterInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                                                DataMgmt::TaxReturnPtr stateReturn);
GA_MODULE_EXPORT CalculationMgmt::TaxReturnCalcEngine* createCalcEngineInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    TaxFormPrintMgmt::TaxFormPrinterPtr printer);
GA_MODULE_EXPORT AuditMgmt::TaxFormAuditor* createAuditorInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                                  DataMgmt::TaxReturnPtr stateReturn,
                                                                  DataMgmt::QuarloConfiguration* configuration,
                                                                  CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                                                  TaxFormPrintMgmt::TaxFormPrinterPtr printer);
GA_MODULE_EXPORT TifWriteMgmt::TifFileWriter* createTifFileWriterInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    CalculationMgmt::TaxReturnCalcEnginePtr engine, TaxFormPrintMgmt::TaxFormPrinterPtr printer,
    AuditMgmt::TaxFormAuditorPtr auditor, DataMgmt::QuarloConfiguration* configuration);
GA_MODULE_EXPORT MacroExpansionMgmt::MacroExpander* createMacroExpanderInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                                                DataMgmt::TaxReturnPtr stateReturn);
GA_MODULE_EXPORT std::vector<TopicMgmt::TopicDesc*>* createInterviewHierarchy(DataMgmt::TaxDataStore& store);
GA_MODULE_EXPORT ReportMgmt::TaxSummaryReport* createTaxSummaryReport(DataMgmt::TaxReturnPtr stateReturn);
