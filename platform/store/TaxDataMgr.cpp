#include "platform/store/TaxDataMgr.h"

#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/store/StoreHandles.h"

namespace UIBridgeMgmt {

bool UserInterface::marksFindings() {
    ++marksFindingsCalls_;
    return marksFindings_;
}

}  // namespace UIBridgeMgmt

namespace EFileMgmt {

int EFileMgrHandle::getStateResEfileType(int returnType) const {
    const auto it = stateResEfileTypes_.find(returnType);
    return it == stateResEfileTypes_.end() ? 0 : it->second;
}

void EFileMgrHandle::reset() {
    curFileReturnType_ = DataMgmt::kGeorgiaReturnType;
    stateResEfileTypes_.clear();
}

}  // namespace EFileMgmt

namespace DataMgmt {

TaxDataMgr& TaxDataMgr::getInstance() {
    static TaxDataMgr instance;
    return instance;
}

PdfAttachMgr& TaxDataMgr::getPdfAttachMgr() const {
    if (store_ == nullptr) {
        throw Exceptions::QuarloException("no data store is open", "TaxDataMgr", "getPdfAttachMgr");
    }
    return store_->getPdfAttachMgr();
}

IOMgmt::FileNamePtr TaxDataMgr::getMefPDFFileSpec(int /*kind*/, const Primitives::QVImmutableFormIdentifier& form,
                                                  std::uint16_t copy) const {
    return IOMgmt::FileNamePtr(new IOMgmt::FileName(QuarloConfiguration::getInstance()->eFileDir +
                                                    std::to_string(form.getNumber()) + "_" + std::to_string(copy) +
                                                    ".pdf"));
}

void TaxDataMgr::reset() {
    userInterface_ = nullptr;
    eFileMgr_.reset();
    interviewCalls_.clear();
}

TaxDataStoreHandle TaxDataMgr::getStoreHandle(TaxDataStore& store) { return TaxDataStoreHandle(&store); }

void TaxDataMgr::finishInterview(int first, int second) {
    InterviewServiceCall call;
    call.service = InterviewServiceCall::Service::FinishInterview;
    call.first = first;
    call.second = second;
    interviewCalls_.push_back(call);
}

void TaxDataMgr::updateState(TaxDataStoreHandle& store, TaxReturnHandle& taxReturn) {
    InterviewServiceCall call;
    call.service = InterviewServiceCall::Service::UpdateState;
    call.store = store.getTaxDataStore();
    call.returnType = taxReturn.getReturnType();
    call.returnPresent = !taxReturn.isNull();
    interviewCalls_.push_back(call);
}

}  // namespace DataMgmt
