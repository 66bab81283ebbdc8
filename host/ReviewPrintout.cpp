#include "host/ReviewPrintout.h"

#include <string>

#include "host/EFileFilers.h"
#include "platform/Configuration.h"

namespace GAHost {

namespace {

// Audit types this host asks for.
constexpr AuditMgmt::AuditType kOrdinaryAudit = 0;
constexpr AuditMgmt::AuditType kEFileCheck = 1;

std::string formName(const Primitives::QVImmutableFormIdentifier& form) {
    const std::string number = std::to_string(form.getNumber());
    return form.isState() || form.getNumber() == 0 ? "form " + number : "federal form " + number;
}

}  // namespace

void printAuditReport(std::ostream& out, const AuditMgmt::AuditReport& report) {
    for (const AuditMgmt::AuditEntry& e : report.shown()) {
        if (e.kind == AuditMgmt::AuditEntry::Kind::Line) {
            out << "  " << e.text << e.second << '\n';
            continue;
        }
        out << "  type " << static_cast<int>(e.type) << ", " << formName(e.form) << " copy " << e.copy << ", field "
            << e.field.getNumber() << ": " << e.text << '\n';
    }
}

AuditMgmt::TaxFormAuditorPtr reviewGeorgiaReturn(std::ostream& out, const ModuleLoader& module, HostSession& session,
                                                 CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                                 TaxFormPrintMgmt::TaxFormPrinterPtr& printer, bool eFileCheck) {
    AuditMgmt::TaxFormAuditorPtr auditor(module.createAuditorInstance()(
        session.federal(), session.georgia(), DataMgmt::QuarloConfiguration::getInstance(), engine, printer));
    auditor->setEFileCheckMode(eFileCheck ? 1 : 0);
    auditor->setMessageClassMask(0);
    const AuditMgmt::AuditReportPtr report = auditor->auditReturn(eFileCheck ? kEFileCheck : kOrdinaryAudit);

    const std::size_t shown = report->shown().size();
    out << "Georgia review (" << (eFileCheck ? "e-file check" : "ordinary audit") << "): " << shown
        << (shown == 1 ? " finding" : " findings") << '\n';
    printAuditReport(out, *report);
    if (eFileCheck) {
        // The host blocks an e-file whose header would not name the filers,
        // beside what the module's own check blocks.
        const std::vector<MissingFilerEntry> missing = missingFilerEntries(session);
        if (!missing.empty()) session.georgiaState()->eFileBlocked = 1;
        out << "Georgia e-file: " << (session.georgiaState()->eFileBlocked != 0 ? "blocked" : "not blocked") << '\n';
        printMissingFilerEntries(out, missing);
    }
    return auditor;
}

}  // namespace GAHost
