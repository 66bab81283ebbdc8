#include "platform/framework/TaxSummaryReport.h"

namespace ReportMgmt {

TaxSummaryReport::TaxSummaryReport(DataMgmt::TaxReturnPtr& /*taxReturn*/) {}

TaxSummaryReport::~TaxSummaryReport() = default;

std::string TaxSummaryReport::getTaxSummaryHint() { return std::string(); }

int TaxSummaryReport::getHintType() { return 0; }

void TaxSummaryReport::addHeaderPara(const std::string& text) { addParagraph(text); }

void TaxSummaryReport::addField(const std::string& label, std::int64_t amount) { lines_.emplace_back(label, amount); }

}  // namespace ReportMgmt
