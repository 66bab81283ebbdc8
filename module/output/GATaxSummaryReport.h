// The Georgia lines of the host's tax summary report: eight labelled amounts
// of the Georgia return, from the federal adjusted gross income to the
// refund and the amount owed.
#pragma once

#include "module/frame/GATaxReturn.h"
#include "platform/framework/TaxSummaryReport.h"

namespace GAReportMgmt {

class GATaxSummaryReport : public ReportMgmt::TaxSummaryReport {
public:
    // Builds the report's lines at once. A return that is missing or not the
    // Georgia return is refused with Exceptions::QuarloException.
    explicit GATaxSummaryReport(DataMgmt::TaxReturnPtr taxReturn);
    ~GATaxSummaryReport() override;

    // Adds the eight lines, in the report's order, each time it is called.
    void buildReport() override;

protected:
    GADataMgmt::GATaxReturn* georgiaReturn;  // not owned
};

}  // namespace GAReportMgmt
