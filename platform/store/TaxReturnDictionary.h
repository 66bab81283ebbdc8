// The host's dictionary of the return types it knows, by state code ("GA")
// or abbreviation: the state modules installed beside the federal one.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/store/Descriptions.h"

namespace DataMgmt {

class TaxReturnDictionary {
public:
    static TaxReturnDictionary& getInstance();

    // The description of the return the code names (compared without regard
    // to case); an empty handle when the host knows no such return.
    TaxReturnDescPtr getTaxReturnDescriptor(const std::string& code) const;

    // Registers a description under its abbreviation (a later one of the same
    // abbreviation replaces it); an empty handle is ignored.
    void addTaxReturnDescriptor(const TaxReturnDescPtr& desc);
    void clear();

    TaxReturnDictionary(const TaxReturnDictionary&) = delete;
    TaxReturnDictionary& operator=(const TaxReturnDictionary&) = delete;

private:
    TaxReturnDictionary() = default;

    mutable std::mutex mutex_;
    std::map<std::string, TaxReturnDescPtr> byCode_;  // upper-case code
};

}  // namespace DataMgmt
