// A federal return and a Georgia return over the generated form definitions,
// for the tests of the Georgia return and the printers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "module/frame/GATaxReturn.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StringPool.h"
#include "tests/support/GeneratedDefinitions.h"

namespace frametest {

using testsupport::definitions;

class ReturnFixture : public ::testing::Test {
protected:
    ReturnFixture()
        : pool_(new Utils::StringPool),
          federal_(new DataMgmt::USTaxReturn(definitions().federal, pool_)),
          ga_(new GADataMgmt::GATaxReturn(federal_, definitions().georgia, pool_)),
          gaHandle_(ga_) {}

    // The copy, made when missing.
    DataMgmt::TaxFormPtr copy(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t n = 1) {
        DataMgmt::TaxReturn& owner = form.isState() ? static_cast<DataMgmt::TaxReturn&>(*ga_) : *federal_;
        DataMgmt::TaxFormPtr c = owner.getFormUVPtr(form, n, true);
        EXPECT_FALSE(c.isNull()) << "copy " << n << " of form " << form.getNumber();
        return c;
    }
    void setNumber(const Primitives::QVImmutableFormIdentifier& form, const Primitives::QVImmutableIdentifier& field,
                   double v, std::uint16_t n = 1) {
        copy(form, n)->setValue(field, DataMgmt::FieldValue::number(v));
    }
    void setText(const Primitives::QVImmutableFormIdentifier& form, const Primitives::QVImmutableIdentifier& field,
                 const std::string& t, std::uint16_t n = 1) {
        copy(form, n)->setValue(field, DataMgmt::FieldValue::text(t));
    }
    void setBox(const Primitives::QVImmutableFormIdentifier& form, const Primitives::QVImmutableIdentifier& field,
                bool yes, std::uint16_t n = 1) {
        copy(form, n)->setValue(field, DataMgmt::FieldValue::box(yes));
    }

    Utils::StringPoolPtr pool_;
    DataMgmt::TaxReturnPtr federal_;
    GADataMgmt::GATaxReturn* ga_;
    DataMgmt::TaxReturnPtr gaHandle_;  // owns ga_
};

}  // namespace frametest
