// The review of the calculated Georgia return, as gahost runs and prints it.
#pragma once

#include <ostream>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"

namespace GAHost {

// Builds the module's auditor on the session's returns, the engine and the
// printer, audits the return (the e-file check when eFileCheck, else an
// ordinary audit) and prints the report with printAuditReport; after an
// e-file check, also whether the Georgia return may be e-filed: not while the
// module's check blocks it, nor while the return leaves an entry empty that
// the e-file's header needs (missingFilerEntries, each printed). Findings are
// not failures. The auditor is returned to the host, which must release it
// before the engine and the printer.
AuditMgmt::TaxFormAuditorPtr reviewGeorgiaReturn(std::ostream& out, const ModuleLoader& module, HostSession& session,
                                                 CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                                 TaxFormPrintMgmt::TaxFormPrinterPtr& printer, bool eFileCheck);

// One line per entry the host shows: the message type, the form (its number,
// "federal" before a federal one, 0 for the return as a whole), the copy,
// the field and the text.
void printAuditReport(std::ostream& out, const AuditMgmt::AuditReport& report);

}  // namespace GAHost
