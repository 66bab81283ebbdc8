// Sets and reads field values of a form copy directly, as the host does when
// it loads a return, for the tests' fixtures.
#pragma once

#include <string>

#include "platform/store/DataMgmt.h"

namespace testsupport {

struct FieldSetters {
    static void setText(const DataMgmt::TaxFormPtr& copy, const Primitives::QVImmutableIdentifier& field,
                        const std::string& text) {
        copy->setValue(field, DataMgmt::FieldValue::text(text));
    }
    static void setBox(const DataMgmt::TaxFormPtr& copy, const Primitives::QVImmutableIdentifier& field,
                       bool yes = true) {
        copy->setValue(field, DataMgmt::FieldValue::box(yes));
    }
    // The number as the host stores it (hundredths on the fields kept so).
    static void setNumber(const DataMgmt::TaxFormPtr& copy, const Primitives::QVImmutableIdentifier& field,
                          double value) {
        copy->setValue(field, DataMgmt::FieldValue::number(value));
    }
    static std::string text(const DataMgmt::TaxFormPtr& copy, const Primitives::QVImmutableIdentifier& field) {
        return copy->getValue(field).getText();
    }
};

}  // namespace testsupport
