#include "platform/TaxDataMgr.h"

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

void TaxDataMgr::reset() {
    userInterface_ = nullptr;
    eFileMgr_.reset();
}

}  // namespace DataMgmt
