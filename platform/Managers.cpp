#include "platform/Managers.h"

namespace BusinessMgmt {

BusinessMgr::BusinessMgr() : productVersion_(kDefaultVersion), moduleVersion_(kDefaultVersion) {}

BusinessMgr& BusinessMgr::getInstance() {
    static BusinessMgr instance;
    return instance;
}

std::string BusinessMgr::getVersion() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return productVersion_;
}

std::string BusinessMgr::getVersion(DataMgmt::TaxReturnDescPtr desc) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!desc.isNull()) {
        const auto it = moduleVersions_.find(desc->getReturnType());
        if (it != moduleVersions_.end()) {
            return it->second;
        }
    }
    return moduleVersion_;
}

void BusinessMgr::setVersion(const std::string& productVersion) {
    std::lock_guard<std::mutex> lock(mutex_);
    productVersion_ = productVersion;
}

void BusinessMgr::setModuleVersion(const std::string& version) {
    std::lock_guard<std::mutex> lock(mutex_);
    moduleVersion_ = version;
}

void BusinessMgr::setModuleVersion(DataMgmt::TaxReturnType type, const std::string& version) {
    std::lock_guard<std::mutex> lock(mutex_);
    moduleVersions_[type] = version;
}

void BusinessMgr::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    productVersion_ = kDefaultVersion;
    moduleVersion_ = kDefaultVersion;
    moduleVersions_.clear();
}

}  // namespace BusinessMgmt

namespace SystemMgmt {

SystemMgr& SystemMgr::getInstance() {
    static SystemMgr instance;
    return instance;
}

void SystemMgr::getIRSDeviceID(std::string& id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    id = deviceID_;
}

void SystemMgr::setIRSDeviceID(const std::string& id) {
    std::lock_guard<std::mutex> lock(mutex_);
    deviceID_ = id;
}

void SystemMgr::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    deviceID_.clear();
}

}  // namespace SystemMgmt
