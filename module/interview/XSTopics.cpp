#include "module/interview/XSTopics.h"

#include <cstdint>
#include <string>

#include "module/catalogues/StateForm14Lines.h"
#include "module/interview/TopicRows.h"
#include "platform/store/StoreHandles.h"
#include "platform/store/TaxDataMgr.h"

namespace XSTopicMgmt {

namespace {

constexpr std::uint16_t kFirstCopy = 1;

// A section topic (credits; taxes, payments and penalties) is not needed once
// state form 14 says the sections are done.
TopicMgmt::TopicStatus sectionStatus(const DataMgmt::TaxReturnPtr& taxReturn) {
    const bool done = taxReturn->formYes(kStateForm14ID, kFirstCopy, kStateForm14Lines.sectionsDone);
    return done ? TopicMgmt::kTopicStatusNotNeeded : TopicMgmt::kTopicStatusNeeded;
}

// Titles a section topic with the state's name (as the return's description
// gives it) and the section's words. When the store holds no return of the
// topic's type, the title stays.
void titleWithStateName(TopicMgmt::TopicDesc& topic, const char* words) {
    const DataMgmt::TaxReturnPtr taxReturn = topic.getTaxReturn();
    if (!taxReturn.isNull()) {
        topic.setTitle(taxReturn->getTaxReturnDesc()->getName() + words);
    }
}

}  // namespace

// Every topic installs the module's script-query handler last.

CreditsTopicDesc::CreditsTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : XSTopicDesc(InterviewRows::kCreditsRow, store, type) {
    createScriptQueryHandler();
}
CreditsTopicDesc::~CreditsTopicDesc() = default;
TopicMgmt::TopicStatus CreditsTopicDesc::getTopicStatus() { return sectionStatus(requireTaxReturn("getTopicStatus")); }
void CreditsTopicDesc::createScriptQueryHandler() {
    titleWithStateName(*this, " Credits");
    XSTopicDesc::createScriptQueryHandler();
}

TaxPayPenTopicDesc::TaxPayPenTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : XSTopicDesc(InterviewRows::kTaxPayPenRow, store, type) {
    createScriptQueryHandler();
}
TaxPayPenTopicDesc::~TaxPayPenTopicDesc() = default;
TopicMgmt::TopicStatus TaxPayPenTopicDesc::getTopicStatus() {
    return sectionStatus(requireTaxReturn("getTopicStatus"));
}
void TaxPayPenTopicDesc::createScriptQueryHandler() {
    titleWithStateName(*this, " Taxes, Payments and Penalties");
    XSTopicDesc::createScriptQueryHandler();
}

EndgrpTopicDesc::EndgrpTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : XSTopicDesc(InterviewRows::kEndgrpRow, store, type) {
    createScriptQueryHandler();
}
EndgrpTopicDesc::~EndgrpTopicDesc() = default;
bool EndgrpTopicDesc::handleUserEvent(const Primitives::QVImmutableIdentifier& event,
                                      const TopicMgmt::TopicPath& path) {
    // Only Next on the gateway finishes the interview.
    if (!path.isGateway() || event != TopicMgmt::kUserEvent_NEXT) {
        return false;
    }
    DataMgmt::TaxDataMgr::getInstance().finishInterview(0, 0);
    return true;
}
void EndgrpTopicDesc::createScriptQueryHandler() {
    const DataMgmt::TaxReturnPtr taxReturn = getTaxReturn();
    if (!taxReturn.isNull()) {
        setTitle("Finished " + taxReturn->getDisplayName() + " Interview");
    }
    XSTopicDesc::createScriptQueryHandler();
}

UpdateStateTopicDesc::UpdateStateTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : XSTopicDesc(InterviewRows::kUpdateStateRow, store, type) {
    createScriptQueryHandler();
}
UpdateStateTopicDesc::~UpdateStateTopicDesc() = default;
bool UpdateStateTopicDesc::handleUserEvent(const Primitives::QVImmutableIdentifier& event,
                                           const TopicMgmt::TopicPath&) {
    DataMgmt::TaxDataMgr& manager = DataMgmt::TaxDataMgr::getInstance();
    DataMgmt::TaxDataStoreHandle store = manager.getStoreHandle(getTaxDataStore());
    DataMgmt::TaxReturnHandle taxReturn = store.getTaxReturn(getReturnType());

    // Next goes on to the updates when the user said yes to them.
    if (event == TopicMgmt::kUserEvent_NEXT) {
        const DataMgmt::TaxReturnPtr current = getTaxDataStore().getTaxReturn(getReturnType());
        if (!current.isNull() && current->formYes(kStateForm14ID, kFirstCopy, kStateForm14Lines.updatesYes)) {
            manager.updateState(store, taxReturn);
            return true;
        }
        return false;
    }
    // Back leaves the topic with the answer reset to yes.
    if (event == TopicMgmt::kUserEvent_BACK) {
        taxReturn.setFieldValueBool(kStateForm14ID, kFirstCopy, kStateForm14Lines.updatesYes, true);
        taxReturn.setFieldValueBool(kStateForm14ID, kFirstCopy, kStateForm14Lines.updatesNo, false);
        return false;
    }
    // Update now takes the updates at once and clears the yes box.
    if (event == TopicMgmt::kUserEvent_UPDATE_NOW) {
        taxReturn.setFieldValueBool(kStateForm14ID, kFirstCopy, kStateForm14Lines.updatesYes, false);
        manager.updateState(store, taxReturn);
        return true;
    }
    return false;
}

}  // namespace XSTopicMgmt
