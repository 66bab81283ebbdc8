#include "host/ReviewPrintout.h"

#include <string>

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

const char* blockedWord(const GeorgiaReview& review) { return review.blocked ? "blocked" : "not blocked"; }

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

GeorgiaReview reviewGeorgiaReturn(const ModuleLoader& module, HostSession& session,
                                  CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                  TaxFormPrintMgmt::TaxFormPrinterPtr& printer, bool eFileCheck) {
    GeorgiaReview review;
    review.eFileCheck = eFileCheck;
    review.auditor = AuditMgmt::TaxFormAuditorPtr(module.createAuditorInstance()(
        session.federal(), session.georgia(), DataMgmt::QuarloConfiguration::getInstance(), engine, printer));
    review.auditor->setEFileCheckMode(eFileCheck ? 1 : 0);
    review.auditor->setMessageClassMask(0);
    review.report = review.auditor->auditReturn(eFileCheck ? kEFileCheck : kOrdinaryAudit);
    if (eFileCheck) {
        // The host blocks an e-file whose header would not name the filers,
        // or name them otherwise than form 70 does, beside what the module's
        // own check blocks.
        review.blockedByModule = session.georgiaState()->eFileBlocked != 0;
        review.filers = filerFindings(session);
        if (review.filers.any()) session.georgiaState()->eFileBlocked = 1;
        review.blocked = session.georgiaState()->eFileBlocked != 0;
    }
    return review;
}

void printReview(std::ostream& out, const GeorgiaReview& review) {
    const std::size_t shown = review.report->shown().size();
    out << "Georgia review (" << (review.eFileCheck ? "e-file check" : "ordinary audit") << "): " << shown
        << (shown == 1 ? " finding" : " findings") << '\n';
    printAuditReport(out, *review.report);
    if (review.eFileCheck) {
        out << "Georgia e-file: " << blockedWord(review) << '\n';
        printFilerFindings(out, review.filers);
    }
}

void printEFileVerdict(std::ostream& out, const GeorgiaReview& review) {
    const bool reasons = !review.report->shown().empty() || review.filers.any();
    out << "if e-filed (run --efile): Georgia e-file " << blockedWord(review)
        << (reasons ? "; the e-file check finds:" : "") << '\n';
    printAuditReport(out, *review.report);
    printFilerFindings(out, review.filers);
}

}  // namespace GAHost
