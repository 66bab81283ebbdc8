// The e-file step of gahost run: the Georgia e-file text file written by the
// module's e-file writer, and the data store that the module's output code
// reaches through the host's data manager while it runs.
#pragma once

#include <optional>
#include <ostream>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "host/SettleReturn.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/FederalEFile.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/store/TaxDataMgr.h"

namespace GAHost {

// Makes the session the one the host's data manager sees for as long as it
// lives: its store is the current store (the PDF register of the output code
// belongs to it), and its returns' descriptions are in the host's dictionary
// of return types (they stay there). The store current before it is current
// again after it, so that a session may be calculated within another's.
class CurrentSession {
public:
    explicit CurrentSession(HostSession& session);
    ~CurrentSession();
    CurrentSession(const CurrentSession&) = delete;
    CurrentSession& operator=(const CurrentSession&) = delete;

private:
    DataMgmt::TaxDataStore* previous_;
};

// How gahost run calculates the return before any output: settled; then
// the e-file's preparation, since the e-file's write changes the return (it
// marks the answers it maps onto Georgia forms, and makes and calculates the
// electronic filing summary): the module's e-file writer writes the e-file
// once, staged in the run's output batch, where the e-file's own write
// (writeGeorgiaEFile) supersedes it, so that it is never kept and nothing is
// printed of it; then settled again, so that every output shows the return
// that the run saves. gahost check calculates so too for the e-file's
// verdict, its preparation written nowhere (IOMgmt::WritesNowhere). None
// when the writer answers that the preparation was not written (reported on
// `err` as writeGeorgiaEFile reports it).
// A calculation that stops (an amount that its field does not hold) throws
// one line, as check and run tell it: "the Georgia module cannot calculate
// the return: " and why, with kCalculationStopped as its operation.
std::optional<Settling> settleWithEFilePrepared(ModuleCalculation& calculation,
                                                const std::optional<TifWriteMgmt::FederalEFile>& federalEFile,
                                                std::ostream& err);
inline constexpr const char* kCalculationStopped = "calculate";

// settleWithEFilePrepared with the e-file's preparation written nowhere,
// for a calculation that writes no file (gahost check); throws
// Exceptions::QuarloException when it was not prepared.
Settling settlePreparedInMemory(ModuleCalculation& calculation);

// Builds the module's e-file writer on the session's returns, the engine,
// the printer and the auditor (which may be empty), gives it the checked
// copy of the federal e-file (when there is one), writes the Georgia return
// as the first state of the e-file, and reports the file written. False
// (reported on `err` with the cause) when the writer answers that the file
// was not written.
bool writeGeorgiaEFile(const ModuleLoader& module, HostSession& session,
                       const CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                       const TaxFormPrintMgmt::TaxFormPrinterPtr& printer, const AuditMgmt::TaxFormAuditorPtr& auditor,
                       const std::optional<TifWriteMgmt::FederalEFile>& federalEFile, std::ostream& out,
                       std::ostream& err);

}  // namespace GAHost
