// The host's auditor base, AuditMgmt::TaxFormAuditor, and the report it
// records.
//
// A state module derives its auditor from this class and fills auditReturn.
// The base owns the current report, carries the mode and the message-class
// mask that the host sets before it asks for an audit, and records every
// message the state layer hands it:
//   - showAuditMsg and epFailMsg record one message with its fired mark; the
//     host shows only the messages that fire;
//   - addMessageToReport records one line that is always shown;
//   - overrideCheckOneForm records that the host's override check of one copy
//     was asked for (this host has no override rules of its own).
// No text is ever used as a format: texts are kept as they are given.
//
// Modes the host sets (setEFileCheckMode, setMessageClassMask):
//   ordinary audit   mode 0, mask 0
//   e-file check     mode 1, mask 0
//   list mode        a non-zero mask (8 for attachment reminders, 16 for
//                    notes), whatever the mode
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Configuration.h"
#include "platform/Primitives.h"
#include "platform/framework/CalcEngine.h"
#include "platform/store/DataMgmt.h"

namespace AuditMgmt {

// The host's kind of audit; passed through unchanged.
using AuditType = std::int32_t;

// Help identifiers that check routines pass with their messages.
extern const std::string kNoAuditHelpID;
extern const std::string kStateAudit_HowToGoBackToFedInterview;

// One recorded entry of a report.
struct AuditEntry {
    enum class Kind : std::uint8_t {
        Show,    // showAuditMsg
        EpFail,  // epFailMsg
        Line,    // addMessageToReport
    };
    Kind kind = Kind::Show;
    std::string helpId;
    Primitives::QVImmutableTopicIdentifier topic;
    bool spare = false;
    bool fires = false;  // always true for a Line entry
    char type = 0;       // message type (0 for a Line entry)
    char category = 0;
    Primitives::QVImmutableFormIdentifier form;
    std::uint16_t copy = 0;
    Primitives::QVImmutableIdentifier field;
    std::string text;    // Show/EpFail: the text; Line: the first string
    std::string second;  // Line: the second string
    bool last = false;   // Line: the last flag
};

// One recorded request of the host's override check of a form copy.
struct OverrideCheck {
    std::string helpId;
    Primitives::QVImmutableFormIdentifier form;
    std::uint16_t copy = 0;
    Primitives::QVImmutableFormIdentifier secondForm;
};

// The result of one audit: its entries in call order.
class AuditReport {
public:
    explicit AuditReport(AuditType type = 0) : type_(type) {}

    AuditType getAuditType() const { return type_; }
    const std::vector<AuditEntry>& entries() const { return entries_; }
    const std::vector<OverrideCheck>& overrideChecks() const { return overrideChecks_; }
    // What the host shows: the fired Show and EpFail entries and every Line
    // entry, in call order.
    std::vector<AuditEntry> shown() const;

    void add(AuditEntry entry) { entries_.push_back(std::move(entry)); }
    void addOverrideCheck(OverrideCheck check) { overrideChecks_.push_back(std::move(check)); }

private:
    AuditType type_;
    std::vector<AuditEntry> entries_;
    std::vector<OverrideCheck> overrideChecks_;
};

using AuditReportPtr = SmartPointers::CountedPtr<AuditReport>;

class TaxFormAuditor {
public:
    using FormID = Primitives::QVImmutableFormIdentifier;
    using FieldID = Primitives::QVImmutableIdentifier;
    using TopicID = Primitives::QVImmutableTopicIdentifier;

    // Keeps plain pointers to the state return, the configuration and the
    // engine (the host keeps them alive while the auditor lives); no handle
    // count changes. Starts with an empty report of type 0.
    TaxFormAuditor(DataMgmt::TaxReturn& stateReturn, DataMgmt::QuarloConfiguration*& configuration,
                   CalculationMgmt::TaxReturnCalcEnginePtr& engine);
    virtual ~TaxFormAuditor();

    TaxFormAuditor(const TaxFormAuditor&) = delete;
    TaxFormAuditor& operator=(const TaxFormAuditor&) = delete;

    // Slots, in the host's order after the destructor.
    // Audits the return and gives the report.
    virtual AuditReportPtr auditReturn(AuditType type) = 0;
    // The host's interest and dividend type check: nothing in this host.
    virtual void auditIntDivTypesBase();

    // ---- the host's side
    void setEFileCheckMode(std::uint8_t mode) { eFileCheckMode = mode; }
    void setMessageClassMask(std::uint16_t mask) { messageClassMask = mask; }
    std::uint8_t getEFileCheckMode() const { return eFileCheckMode; }
    std::uint16_t getMessageClassMask() const { return messageClassMask; }
    std::uint16_t getFiredCount() const { return firedCount; }
    std::uint16_t getLastMessageClass() const { return lastMessageClass; }
    AuditType getAuditType() const { return auditType; }

    // ---- the report
    // Starts a new, empty report of the given type; the previous report stays
    // valid for whoever holds its handle.
    void createNewReport(AuditType type);
    AuditReportPtr getAuditReport() const { return report_; }

    // ---- messages (a null text is taken as empty)
    void showAuditMsg(const std::string& helpId, TopicID topic, bool spare, bool fires, char type, char category,
                      const FormID& form, std::uint16_t copy, FieldID field, const char* text);
    void epFailMsg(const std::string& helpId, TopicID topic, bool spare, bool fires, char type, char category,
                   const FormID& form, std::uint16_t copy, FieldID field, const char* text);
    void addMessageToReport(const std::string& helpId, TopicID topic, bool spare, char category, const FormID& form,
                            std::uint16_t copy, FieldID field, const std::string& first, const std::string& second,
                            bool last);
    void overrideCheckOneForm(const std::string& helpId, TopicID topic, bool spare, DataMgmt::TaxFormPtr copyHandle,
                              const FormID& form, std::uint16_t copy, const FormID& secondForm);

protected:
    DataMgmt::TaxReturn& auditedReturn() const { return *stateReturn_; }
    DataMgmt::QuarloConfiguration* configuration() const { return configuration_; }
    CalculationMgmt::TaxReturnCalcEngine* engine() const { return engine_; }

    // Set by the host.
    std::uint8_t eFileCheckMode = 0;
    std::uint16_t messageClassMask = 0;
    // Kept by the state layer.
    std::uint16_t firedCount = 0;
    std::uint16_t lastMessageClass = 0;
    AuditType auditType = 0;

private:
    void record(AuditEntry::Kind kind, const std::string& helpId, TopicID topic, bool spare, bool fires, char type,
                char category, const FormID& form, std::uint16_t copy, FieldID field, const char* text);

    DataMgmt::TaxReturn* stateReturn_;
    DataMgmt::QuarloConfiguration* configuration_;
    CalculationMgmt::TaxReturnCalcEngine* engine_;
    AuditReportPtr report_;
};

SMARTPOINTERS_NAMED_HANDLE(TaxFormAuditorPtr, TaxFormAuditor);

}  // namespace AuditMgmt
