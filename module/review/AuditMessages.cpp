// The message layer of the state auditor: routing by class bits, mode and
// mask, the finishing of texts, and the hand-over to the host's report.

#include <cctype>
#include <string>
#include <utility>

#include "module/catalogues/Form183Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/review/StateTaxFormAuditor.h"
#include "platform/store/TaxDataMgr.h"

namespace StateAuditMgmt {

namespace {

const char* const kStateOnlyText =
    "  This issue only affects your state return. You can still e-file your federal return and file your state "
    "return on paper. We'll guide you step-by-step through the process when you finish checking your return.";
const char* const kFaqText =
    "  For instructions on how to make this change, click the FAQ \"How can I go back to an Interview topic?\"";
const char* const kListBullet = "    - ";

bool isBlockingType(char type) {
    switch (type) {
        case kTypeOverridden:
        case kTypeInconsistent:
        case kTypeMissingEntry:
        case kTypeEFileBlocker:
        case kTypeHostBlocker9:
        case kTypeHostBlocker10:
        case kTypeCopyLimit:
        case kTypeNotEFileable:
            return true;
        default:
            return false;
    }
}

// The text with a full stop at its end; an empty text stays empty.
std::string withFullStop(std::string text) {
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    return text;
}

}  // namespace

void StateTaxFormAuditor::reportAuditMessage(const std::string& helpId, TopicID topic, bool spare, int messageClass,
                                             bool fires, char type, const FormID& form, std::uint16_t copy,
                                             FieldID field, const std::string& text, int addedSentence) {
    routeAuditMessage(
        Message{helpId, topic, spare, messageClass, fires, type, 0, form, copy, field, text, addedSentence});
}

void StateTaxFormAuditor::reportEFileFailure(const std::string& helpId, TopicID topic, bool spare, int messageClass,
                                             bool fires, char type, const FormID& form, std::uint16_t copy,
                                             FieldID field, const std::string& text, int addedSentence) {
    emitEFileFailure(
        Message{helpId, topic, spare, messageClass, fires, type, 0, form, copy, field, text, addedSentence});
}

bool StateTaxFormAuditor::userInterfaceMarksFindings() const {
    UIBridgeMgmt::UserInterface* ui = DataMgmt::TaxDataMgrHandle::getInstance().getUserInterface();
    return ui != nullptr && ui->marksFindings();
}

void StateTaxFormAuditor::routeAuditMessage(Message message) {
    if (message.copy == 0) {
        message.copy = 1;
    }
    bool reported = false;
    if (messageClassMask != 0) {
        // List mode: the classes of the mask, without added sentences.
        reported = (messageClassMask & message.messageClass) != 0;
        message.addedSentence = kNoSentence;
    } else {
        reported = (message.messageClass & (eFileCheckMode != 0 ? kClassEFile : kClassReview)) != 0;
    }
    if (!reported) {
        return;
    }
    message.spare = false;
    message.category = 1;
    emitAuditMessage(std::move(message));
}

void StateTaxFormAuditor::emitAuditMessage(Message message) {
    if (messageClassMask != 0 && message.fires) {
        ++firedCount;
    }
    std::string text = withFullStop(std::move(message.text));
    lastMessageClass = static_cast<std::uint16_t>(message.messageClass);
    const bool marksFindings = userInterfaceMarksFindings();

    if (messageClassMask != 0) {
        // List mode: one bulleted line, lower-case first, marked Y or N when
        // the user interface marks every finding; otherwise fired lines only.
        if (!text.empty()) {
            text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        }
        text.insert(0, kListBullet);
        if (marksFindings) {
            text.insert(0, message.fires ? "Y" : "N");
        } else if (!message.fires) {
            return;
        }
        addMessageToReport(message.helpId, message.topic, false, 0, FormID(0), 1, FieldID(0), "", text, true);
        return;
    }

    const bool eFileCheck = eFileCheckMode != 0;
    if (message.addedSentence == kStateOnlySentence && eFileCheck) {
        text += kStateOnlyText;
    } else if (message.addedSentence == kFaqSentence) {
        text += kFaqText;
    }
    if (eFileCheck && !(marksFindings && !message.fires)) {
        showStateAuditMsg(message.helpId, message.topic, false, message.fires, message.type, message.category,
                          message.form, message.copy, message.field, text.c_str());
    } else {
        showAuditMsg(message.helpId, message.topic, false, message.fires, message.type, message.category, message.form,
                     message.copy, message.field, text.c_str());
    }
    if (marksFindings) {
        addMessageToReport(message.helpId, message.topic, false, 0, FormID(0), 1, FieldID(0), "",
                           message.fires ? "--Yes--" : "--No--", true);
    }
}

void StateTaxFormAuditor::showStateAuditMsg(const std::string& helpId, TopicID topic, bool spare, bool fires, char type,
                                            char category, const FormID& form, std::uint16_t copy, FieldID field,
                                            const char* text) {
    if (fires && isBlockingType(type)) {
        stateReturn->eFileBlocked = 1;
    }
    showAuditMsg(helpId, topic, spare, fires, type, category, form, copy, field, text);
}

void StateTaxFormAuditor::emitEFileFailure(Message message) {
    const bool record = (message.messageClass & kClassFirstFailure) != 0 && message.fires;
    const std::string text = message.text;
    message.copy = 1;
    routeAuditMessage(std::move(message));
    if (record) {
        recordFirstEFileFailure(text);
    }
}

// The host sets form 183's pending mark to 1 before an e-file; the first
// blocking reason after that takes its place in the form's failure text.
void StateTaxFormAuditor::recordFirstEFileFailure(const std::string& text) {
    EFileMgmt::EFileMgrHandle& eFileMgr = DataMgmt::TaxDataMgrHandle::getInstance().getEFileMgrHandle();
    if (eFileMgr.getCurFileReturnType() != stateReturn->getReturnType()) {
        return;
    }
    const DataMgmt::TaxFormPtr form183 = federalReturn->getForm(kForm183ID, 1);
    const Form183Lines& f183 = kForm183Lines;
    if (form183.isNull() || form183->getIN(f183.failurePending) != 1) {
        return;
    }
    form183->assignIR(f183.failurePending, 0);
    form183->assignText(f183.failure, withFullStop(text));
}

}  // namespace StateAuditMgmt
