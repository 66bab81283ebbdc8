#include "module/autotest/TestFieldNames.h"

#include <cmath>

#include "platform/returnfile/ReturnFile.h"
#include "platform/util/Utils.h"

namespace StateCalculationMgmt {

void buildFormNameMap(const DataMgmt::TaxReturn& taxReturn, FormNameMap& map) {
    for (DataMgmt::TaxFormDescIter it = taxReturn.getTaxReturnDesc()->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormDescPtr desc = it.getTaxFormDescriptor();
        map.emplace(Utils::QVStringUtils::upperCased(desc->getDevName()), desc->getTypeID());
    }
}

DataMgmt::FormFieldDescPtr describedField(const DataMgmt::TaxReturn& taxReturn,
                                          const Primitives::QVImmutableFormIdentifier& form,
                                          const Primitives::QVImmutableIdentifier& field) {
    if (form.getNumber() <= 0 || field.isNullID() || form.isState() != taxReturn.isStateReturn()) {
        return DataMgmt::FormFieldDescPtr();
    }
    DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
    return formDesc.isNull() ? DataMgmt::FormFieldDescPtr() : formDesc->getFieldDesc(field);
}

std::optional<std::uint16_t> readCopyNumber(const DataMgmt::TaxReturn& taxReturn,
                                            const Primitives::QVImmutableFormIdentifier& form, const std::string& text,
                                            std::string& problem) {
    const std::uint16_t limit = taxReturn.getMaxCopies(form);
    double number = 0.0;
    if (PersistanceMgmt::parseAmount(text, 0, number) && number == std::floor(number) && number >= 1 &&
        number <= limit) {
        return static_cast<std::uint16_t>(number);
    }
    problem = "the copy number \"" + Utils::QVStringUtils::escapeForMessage(text, 40) +
              "\" is no copy of the form (a whole number from 1 to " + std::to_string(limit) + ")";
    return std::nullopt;
}

TestFieldNames::TestFieldNames(const DataMgmt::TaxReturn& taxReturn) : taxReturn_(taxReturn) {
    buildFormNameMap(taxReturn, forms_);
}

const Primitives::QVImmutableFormIdentifier* TestFieldNames::findForm(const std::string& name) const {
    auto it = forms_.find(Utils::QVStringUtils::upperCased(name));
    return it == forms_.end() ? nullptr : &it->second;
}

bool TestFieldNames::addFormFields(const std::string& formName) {
    const Primitives::QVImmutableFormIdentifier* form = findForm(formName);
    if (form == nullptr) {
        return false;
    }
    if (!addedForms_.insert(Utils::QVStringUtils::upperCased(formName)).second) {
        return true;
    }
    DataMgmt::TaxFormDescPtr desc = taxReturn_.getTaxFormDescriptor(*form);
    for (DataMgmt::QVFieldIDIter it = desc->getFieldIDs(); !it.atEOL(); it.next()) {
        const Primitives::QVImmutableIdentifier field = it.getFieldID();
        fields_.emplace(desc->getFieldDesc(field)->getSymbolicName(), field);
    }
    return true;
}

const Primitives::QVImmutableIdentifier* TestFieldNames::findField(const std::string& symbolicName) const {
    auto it = fields_.find(symbolicName);
    return it == fields_.end() ? nullptr : &it->second;
}

std::string TestFieldNames::fieldKey(const std::string& formName, const std::string& fieldName) {
    return "k" + Utils::QVStringUtils::upperCased(formName) + "_" + fieldName;
}

}  // namespace StateCalculationMgmt
