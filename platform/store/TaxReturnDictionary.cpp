#include "platform/store/TaxReturnDictionary.h"

#include "platform/util/Utils.h"

namespace DataMgmt {

TaxReturnDictionary& TaxReturnDictionary::getInstance() {
    static TaxReturnDictionary instance;
    return instance;
}

TaxReturnDescPtr TaxReturnDictionary::getTaxReturnDescriptor(const std::string& code) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = byCode_.find(Utils::QVStringUtils::upperCased(code));
    return it == byCode_.end() ? TaxReturnDescPtr() : it->second;
}

void TaxReturnDictionary::addTaxReturnDescriptor(const TaxReturnDescPtr& desc) {
    if (desc.isNull()) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    byCode_[Utils::QVStringUtils::upperCased(desc->getAbbreviation())] = desc;
}

void TaxReturnDictionary::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    byCode_.clear();
}

}  // namespace DataMgmt
