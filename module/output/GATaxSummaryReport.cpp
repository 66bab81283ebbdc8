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
    std::int32_t line;
};

constexpr SummaryLine kSummaryLines[] = {
    {"Federal AGI", 1}, {"Georgia Additions", 21}, {"Georgia Subtractions", 22}, {"Georgia AGI", 2},
    {"Total Tax", 23},  {"Tax Payments", 25},      {"Georgia Refund", 26},       {"Amount You Owe ", 27},
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
