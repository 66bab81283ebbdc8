// The review of the calculated Georgia return, as gahost runs it and as run
// and check print it.
#pragma once

#include <ostream>
#include <vector>

#include "host/EFileFilers.h"
#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"

namespace GAHost {

// One review of the Georgia return: the auditor that made it (the host
// releases it before the engine and the printer), its report and, after an
// e-file check, the verdict.
struct GeorgiaReview {
    AuditMgmt::TaxFormAuditorPtr auditor;
    AuditMgmt::AuditReportPtr report;
    bool eFileCheck = false;
    // After an e-file check: the Georgia return may not be e-filed while the
    // module's check blocks it, nor while the return leaves empty an entry
    // that the e-file's header needs or names a filer there otherwise than
    // the federal main form does (filerFindings).
    bool blocked = false;
    bool blockedByModule = false;  // by the module's own check, whatever the host finds
    FilerFindings filers;
};

// Builds the module's auditor on the session's returns, the engine and the
// printer and audits the return: the e-file check when eFileCheck (the
// session's Georgia return marked as being e-filed), else an ordinary
// audit. After an e-file check the Georgia return is marked blocked when an
// entry the e-file's header needs is missing or disagrees with the main
// form, as the module marks it for its own findings. Findings are not
// failures.
GeorgiaReview reviewGeorgiaReturn(const ModuleLoader& module, HostSession& session,
                                  CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                  TaxFormPrintMgmt::TaxFormPrinterPtr& printer, bool eFileCheck);

// The review as gahost run prints it: "Georgia review (e-file check): 2
// findings" and each finding (printAuditReport); after an e-file check,
// "Georgia e-file: blocked" (or "not blocked") and each missing or
// disagreeing entry.
void printReview(std::ostream& out, const GeorgiaReview& review);

// The verdict of an e-file check as gahost check prints it for a return
// that may be filed on paper: "if e-filed (run --efile): Georgia e-file
// blocked" (or "not blocked"), then, after "; the e-file check finds:",
// every finding and every missing or disagreeing entry, in the lines that
// run prints.
void printEFileVerdict(std::ostream& out, const GeorgiaReview& review);

// One line per entry the host shows: the message type, the form (its number,
// "federal" before a federal one, 0 for the return as a whole), the copy,
// the field and the text.
void printAuditReport(std::ostream& out, const AuditMgmt::AuditReport& report);

}  // namespace GAHost
