// The host's business and system managers: the configured version texts and
// the device identifier that the return, the e-file and the dumps carry.
//
// Both are process-wide singletons; the command-line host (or a test) sets
// the texts before the module runs, and reset() restores the defaults.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/store/Descriptions.h"

namespace BusinessMgmt {

class BusinessMgr {
public:
    // Default of both the product version and every module version.
    static constexpr const char* kDefaultVersion = "2018.2.0.5901";

    static BusinessMgr& getInstance();

    // The product's version text (stored on state form 14).
    std::string getVersion() const;

    // The version of the module that handles the described return: the text
    // set for its return type, else the default module version. An empty
    // handle gives the default module version.
    std::string getVersion(DataMgmt::TaxReturnDescPtr desc) const;

    void setVersion(const std::string& productVersion);
    // The module version of every return type without a text of its own.
    void setModuleVersion(const std::string& version);
    void setModuleVersion(DataMgmt::TaxReturnType type, const std::string& version);

    // Back to the defaults.
    void reset();

    BusinessMgr(const BusinessMgr&) = delete;
    BusinessMgr& operator=(const BusinessMgr&) = delete;

private:
    BusinessMgr();

    mutable std::mutex mutex_;
    std::string productVersion_;
    std::string moduleVersion_;
    std::map<DataMgmt::TaxReturnType, std::string> moduleVersions_;
};

}  // namespace BusinessMgmt

namespace SystemMgmt {

class SystemMgr {
public:
    static SystemMgr& getInstance();

    // Replaces id by the configured device identifier (empty until one is
    // set: the host makes none up).
    void getIRSDeviceID(std::string& id) const;

    void setIRSDeviceID(const std::string& id);

    // Back to no identifier.
    void reset();

    SystemMgr(const SystemMgr&) = delete;
    SystemMgr& operator=(const SystemMgr&) = delete;

private:
    SystemMgr() = default;

    mutable std::mutex mutex_;
    std::string deviceID_;
};

}  // namespace SystemMgmt
