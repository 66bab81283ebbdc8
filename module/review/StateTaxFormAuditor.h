// The state layer of the return review.
//
// StateTaxFormAuditor walks every copy of every form the printer lists for
// audit and hands each to the state's per-copy check (auditStateForms). It
// performs the checks every state form shares (the Form 2555 e-file block,
// e-file copy limits, overridden and tentative fields) and the return-level
// checks a state's information form asks for, and it owns the one message
// layer through which every check reports into the host's audit report.
//
// A finding travels: a check calls reportAuditMessage (or reportEFileFailure
// for e-file blockers) with its class bits, whether its condition holds
// (fires), a type, the form, copy and field it concerns and its text. The
// layer reports ordinary review messages (class bit 1) in an ordinary audit
// and e-file messages (class bit 2) in an e-file check; when the host sets a
// message-class mask, only the classes in the mask, as a list. A fired
// message of a blocking type in an e-file check marks the state return as
// not e-fileable; the first e-file failure of class 32 is recorded on
// federal form 183 for the host.
//
// Texts are data everywhere: no text is ever used as a format.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "module/catalogues/LicenceLines.h"
#include "platform/Configuration.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"

namespace StateAuditMgmt {

using FormID = Primitives::QVImmutableFormIdentifier;
using FieldID = Primitives::QVImmutableIdentifier;
using TopicID = Primitives::QVImmutableTopicIdentifier;

// Class bits of a message.
enum MessageClass : int {
    kClassReview = 1,         // ordinary review message
    kClassEFile = 2,          // e-file eligibility message
    kClassBoth = 3,           // reported in both kinds of audit
    kClassAttachment = 8,     // attachment reminder: reported in list mode only
    kClassNote = 16,          // note: reported in list mode only
    kClassFirstFailure = 32,  // recorded as the first e-file failure
    kClassEFileRecorded = kClassEFile | kClassFirstFailure,
};

// Message types, the host's categories. Types 1, 3, 4, 6, 9, 10, 11 and 12
// block e-file when they fire in an e-file check.
enum MessageType : char {
    kTypeOverridden = 1,
    kTypeTentative = 2,
    kTypeInconsistent = 3,
    kTypeMissingEntry = 4,
    kTypeEFileBlocker = 6,
    kTypeWarning = 7,
    // Blocking types of the host's own checks: no check of the module sends
    // them, the layer blocks e-file on them all the same.
    kTypeHostBlocker9 = 9,
    kTypeHostBlocker10 = 10,
    kTypeCopyLimit = 11,
    kTypeNotEFileable = 12,
};

// The sentence a message may have added to its text.
enum AddedSentence : int {
    kNoSentence = 0,
    kStateOnlySentence = 1,  // e-file check only
    kFaqSentence = 2,
};

class StateTaxFormAuditor : public AuditMgmt::TaxFormAuditor {
public:
    // Refuses (Exceptions::QuarloException) a missing federal return, a state
    // return that is not a state return and a printer that is not a state
    // printer. Keeps plain pointers; no handle count changes.
    StateTaxFormAuditor(DataMgmt::TaxReturn* federalReturn, DataMgmt::TaxReturn& stateReturn,
                        DataMgmt::QuarloConfiguration*& configuration, CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                        TaxFormPrintMgmt::TaxFormPrinterPtr& printer);
    ~StateTaxFormAuditor() override;

    // ---- slots, in the host's order after the destructor
    // Starts a new report and audits every copy of every listed form.
    AuditMgmt::AuditReportPtr auditReturn(AuditMgmt::AuditType type) override;
    // Whether field 16 of the copy (the state tax withheld of a 1099-G) is
    // not 0.
    virtual bool hasNonZeroKeyField(DataMgmt::TaxFormPtr copy);
    // Marks the state return as not e-fileable when a blocking type fires,
    // then shows the message.
    virtual void showStateAuditMsg(const std::string& helpId, TopicID topic, bool spare, bool fires, char type,
                                   char category, const FormID& form, std::uint16_t copy, FieldID field,
                                   const char* text);
    // Reports a form that has more copies than may be e-filed.
    virtual void checkEFileCopyLimit(const std::string& helpId, TopicID topic, bool flag, const FormID& form);
    // The state's check of one form copy.
    virtual void auditStateForms(const std::string& helpId, TopicID topic, bool flag, const FormID& formType,
                                 DataMgmt::TaxFormPtr copyHandle, std::uint16_t copy) = 0;
    // How many copies of the form may be e-filed.
    virtual std::uint16_t maxEFileCopies(const FormID& form) = 0;

    // ---- the message layer
    void reportAuditMessage(const std::string& helpId, TopicID topic, bool spare, int messageClass, bool fires,
                            char type, const FormID& form, std::uint16_t copy, FieldID field, const std::string& text,
                            int addedSentence);
    void reportEFileFailure(const std::string& helpId, TopicID topic, bool spare, int messageClass, bool fires,
                            char type, const FormID& form, std::uint16_t copy, FieldID field, const std::string& text,
                            int addedSentence);

    // ---- checks every state form shares
    void auditFormCommon(const std::string& helpId, TopicID topic, bool flag, const FormID& formType,
                         DataMgmt::TaxFormPtr copyHandle, std::uint16_t copy);
    bool stateBlocksForm2555EFile();
    void checkOverriddenFields(const std::string& helpId, TopicID topic, bool flag, const FormID& form,
                               std::uint16_t copy);

    // ---- return-level checks that a state's information form calls
    virtual void auditResidencyAddress(const std::string& helpId, TopicID topic, bool spare, const FormID& form,
                                       const FieldID& fullYearBox, const FieldID& nonresidentBox,
                                       const FieldID& addressState);
    virtual void auditDirectDeposit(const std::string& helpId, TopicID topic, bool spare, const FormID& form,
                                    int messageClass, bool refundPositive, FieldID depositBox,
                                    FieldID carryFromFederalBox, FieldID bankName, FieldID routingNumber,
                                    FieldID accountNumber, FieldID checkingBox, FieldID savingsBox,
                                    FieldID thirdTypeBox, FieldID fourthTypeBox, FieldID fifthTypeBox);
    virtual void auditForm1099GPayer(const std::string& helpId, TopicID topic, bool spare, std::uint16_t checks);
    virtual void auditCareOf(const std::string& helpId, TopicID topic, bool spare, int mode);
    virtual void checkBalanceDuePayment(int messageClass);
    virtual void auditMissingStateInfo(int residencyNumber);
    // The list ends at its first form 0 (or at its end).
    virtual void auditNonFinalForms(std::span<const FormID> notFinalForms);
    // The filers' answers on the form (copy 1) against federal form 92; a
    // second other answer that names the null field is not read.
    virtual void auditDriverLicense(const std::string& helpId, TopicID topic, bool spare, const FormID& form,
                                    int messageClass, const FilerLicenceLines& licence);
    virtual void auditForm1099GEFile(const std::string& helpId, TopicID topic, bool spare, bool otherStateAllowed,
                                     int totalCopyLimit, int markedCopyLimit, int otherCopyLimit, int unused);
    virtual void auditStateWageData(const std::string& helpId, TopicID topic, bool spare, const FormID& form,
                                    std::uint16_t checkMask, bool reportAsAudit);
    // Adds the 1099-G help sentence and reports an e-file failure on form 0,
    // copy 1.
    void appendForm1099GHelp(const std::string& helpId, TopicID topic, bool spare, int messageClass, bool fires,
                             char type, const FormID& form, std::uint16_t copy, FieldID field, const std::string& text,
                             int addedSentence);

protected:
    // One message on its way through the layer.
    struct Message {
        std::string helpId;
        TopicID topic;
        bool spare = false;
        int messageClass = 0;
        bool fires = false;
        char type = 0;
        char category = 0;
        FormID form;
        std::uint16_t copy = 0;
        FieldID field;
        std::string text;
        int addedSentence = kNoSentence;
    };

    // Decides from the class bits, the mask and the mode whether the message
    // is reported, and emits it.
    void routeAuditMessage(Message message);
    // Finishes the text and hands it to the host.
    void emitAuditMessage(Message message);
    // Routes like routeAuditMessage (always as copy 1) and records the first
    // class-32 failure on federal form 183.
    void emitEFileFailure(Message message);

    // The state's name ("Georgia") and code ("GA").
    std::string stateName() const;
    std::string stateCode() const;

    DataMgmt::TaxReturn* federalReturn;                   // not owned
    StateDataMgmt::StateTaxReturn* stateReturn;           // not owned
    StateTaxFormPrintMgmt::StateTaxFormPrinter* printer;  // not owned

private:
    // How a 1099-G check reports: whether it fires, the copy's number and
    // the text.
    using Form1099GReport = std::function<void(bool fires, std::uint16_t copy, const std::string& text)>;
    // The entries that one 1099-G copy needs for an e-file.
    void checkForm1099GCopy(const Form1099GReport& report, const DataMgmt::TaxFormPtr& copy, std::uint16_t n,
                            bool otherStateAllowed);
    void recordFirstEFileFailure(const std::string& text);
    // Whether a user interface is attached that marks every finding.
    bool userInterfaceMarksFindings() const;
};

}  // namespace StateAuditMgmt
