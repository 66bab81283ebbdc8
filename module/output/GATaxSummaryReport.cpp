#include "module/output/GATaxSummaryReport.h"

#include "module/output/RequireGeorgiaReturn.h"
#include "platform/Exceptions.h"

namespace GAReportMgmt {

namespace {

// The report's lines: the label and the Georgia return's summary line
// (21 and 22 are the totals of the additions and subtractions of form
// 189215).
struct SummaryLine {
    const char* label;
    GADataMgmt::SummaryLine line;
};

using Line = GADataMgmt::SummaryLine;
constexpr SummaryLine kSummaryLines[] = {
    {"Federal AGI", Line::kFederalAgi},
    {"Georgia Additions", Line::kAdditions},
    {"Georgia Subtractions", Line::kSubtractions},
    {"Georgia AGI", Line::kGeorgiaAgi},
    {"Total Tax", Line::kTotalTax},
    {"Tax Payments", Line::kPayments},
    {"Georgia Refund", Line::kRefund},
    {"Amount You Owe ", Line::kAmountOwed},
};

}  // namespace

GATaxSummaryReport::GATaxSummaryReport(DataMgmt::TaxReturnPtr taxReturn)
    : ReportMgmt::TaxSummaryReport(taxReturn),
      georgiaReturn(GAOutput::requireGeorgiaReturn(taxReturn, "GATaxSummaryReport")) {
    buildReport();
}

GATaxSummaryReport::~GATaxSummaryReport() = default;

void GATaxSummaryReport::buildReport() {
    const Primitives::QVImmutableFormIdentifier main = georgiaReturn->getMainFormID();
    for (const SummaryLine& row : kSummaryLines) {
        addField(row.label, georgiaReturn->getLineValue(main, 1, row.line));
    }
}

}  // namespace GAReportMgmt
