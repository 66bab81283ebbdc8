#include "platform/framework/TaxFormAuditor.h"

#include <utility>

namespace AuditMgmt {

const std::string kNoAuditHelpID;
const std::string kStateAudit_HowToGoBackToFedInterview = "HowToGoBackToFedInterview";

std::vector<AuditEntry> AuditReport::shown() const {
    std::vector<AuditEntry> result;
    for (const AuditEntry& entry : entries_) {
        if (entry.kind == AuditEntry::Kind::Line || entry.fires) {
            result.push_back(entry);
        }
    }
    return result;
}

TaxFormAuditor::TaxFormAuditor(DataMgmt::TaxReturn& stateReturn, DataMgmt::QuarloConfiguration*& configuration,
                               CalculationMgmt::TaxReturnCalcEnginePtr& engine)
    : stateReturn_(&stateReturn), configuration_(configuration), engine_(engine.get()), report_(new AuditReport()) {}

TaxFormAuditor::~TaxFormAuditor() = default;

void TaxFormAuditor::auditIntDivTypesBase() {}

void TaxFormAuditor::createNewReport(AuditType type) { report_ = AuditReportPtr(new AuditReport(type)); }

void TaxFormAuditor::record(AuditEntry::Kind kind, const std::string& helpId, TopicID topic, bool spare, bool fires,
                            char type, char category, const FormID& form, std::uint16_t copy, FieldID field,
                            const char* text) {
    AuditEntry entry;
    entry.kind = kind;
    entry.helpId = helpId;
    entry.topic = topic;
    entry.spare = spare;
    entry.fires = fires;
    entry.type = type;
    entry.category = category;
    entry.form = form;
    entry.copy = copy;
    entry.field = field;
    entry.text = text == nullptr ? std::string() : std::string(text);
    report_->add(std::move(entry));
}

void TaxFormAuditor::showAuditMsg(const std::string& helpId, TopicID topic, bool spare, bool fires, char type,
                                  char category, const FormID& form, std::uint16_t copy, FieldID field,
                                  const char* text) {
    record(AuditEntry::Kind::Show, helpId, topic, spare, fires, type, category, form, copy, field, text);
}

void TaxFormAuditor::epFailMsg(const std::string& helpId, TopicID topic, bool spare, bool fires, char type,
                               char category, const FormID& form, std::uint16_t copy, FieldID field, const char* text) {
    record(AuditEntry::Kind::EpFail, helpId, topic, spare, fires, type, category, form, copy, field, text);
}

void TaxFormAuditor::addMessageToReport(const std::string& helpId, TopicID topic, bool spare, char category,
                                        const FormID& form, std::uint16_t copy, FieldID field, const std::string& first,
                                        const std::string& second, bool last) {
    AuditEntry entry;
    entry.kind = AuditEntry::Kind::Line;
    entry.helpId = helpId;
    entry.topic = topic;
    entry.spare = spare;
    entry.fires = true;
    entry.category = category;
    entry.form = form;
    entry.copy = copy;
    entry.field = field;
    entry.text = first;
    entry.second = second;
    entry.last = last;
    report_->add(std::move(entry));
}

void TaxFormAuditor::overrideCheckOneForm(const std::string& helpId, TopicID /*topic*/, bool /*spare*/,
                                          DataMgmt::TaxFormPtr /*copyHandle*/, const FormID& form, std::uint16_t copy,
                                          const FormID& secondForm) {
    report_->addOverrideCheck(OverrideCheck{helpId, form, copy, secondForm});
}

}  // namespace AuditMgmt
