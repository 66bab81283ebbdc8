// The host's summary report bases: ReportMgmt::ParagraphBasedReport and
// ReportMgmt::TaxSummaryReport, a list of labelled amounts that a state
// module fills in buildReport.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/store/DataMgmt.h"

namespace ReportMgmt {

// A report made of paragraphs: the header paragraphs the host adds.
class ParagraphBasedReport {
public:
    ParagraphBasedReport() = default;
    virtual ~ParagraphBasedReport() = default;
    ParagraphBasedReport(const ParagraphBasedReport&) = delete;
    ParagraphBasedReport& operator=(const ParagraphBasedReport&) = delete;

    const std::vector<std::string>& paragraphs() const { return paragraphs_; }

protected:
    void addParagraph(const std::string& text) { paragraphs_.push_back(text); }

private:
    std::vector<std::string> paragraphs_;
};

class TaxSummaryReport : public ParagraphBasedReport {
public:
    using Line = std::pair<std::string, std::int64_t>;

    // The report of the return the handle holds (the base keeps no handle).
    explicit TaxSummaryReport(DataMgmt::TaxReturnPtr& taxReturn);
    ~TaxSummaryReport() override;

    // Slots, in the host's order.
    virtual std::string getTaxSummaryHint();  // "" in the host
    virtual int getHintType();                // 0 in the host
    virtual void buildReport() = 0;
    virtual void addHeaderPara(const std::string& text);

    // Adds one line, after the lines added before.
    void addField(const std::string& label, std::int64_t amount);
    const std::vector<Line>& lines() const { return lines_; }

private:
    std::vector<Line> lines_;
};

}  // namespace ReportMgmt
