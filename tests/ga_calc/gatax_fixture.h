// A federal return and a Georgia return on the generated form definitions,
// and the Georgia calculation engine on them, for the tests of the Georgia
// form routines.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "module/catalogues/AllFieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/DataMgmt.h"
#include "platform/FormDefinitions.h"
#include "platform/StateDataMgmt.h"

namespace gataxtest {

using DataMgmt::FieldValue;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

inline const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(FormDefinitions::defaultDirectory());
    return lib;
}

class GaTaxTest : public ::testing::Test {
protected:
    GaTaxTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(library().federal, pool)),
          ga(new GADataMgmt::GATaxReturn(federal, library().georgia, pool)),
          engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(),
                 TaxFormPrintMgmt::TaxFormPrinterPtr()) {}

    GADataMgmt::GATaxReturn* gaReturn() { return static_cast<GADataMgmt::GATaxReturn*>(ga.get()); }

    DataMgmt::TaxFormPtr gaCopy(const FormId& form, std::uint16_t copy = 1) {
        return ga->getFormUVPtr(form, copy, true);
    }
    DataMgmt::TaxFormPtr fedCopy(const FormId& form, std::uint16_t copy = 1) {
        return federal->getFormUVPtr(form, copy, true);
    }
    static void setText(const DataMgmt::TaxFormPtr& copy, const FieldId& field, const std::string& text) {
        copy->setValue(field, FieldValue::text(text));
    }
    static void setBox(const DataMgmt::TaxFormPtr& copy, const FieldId& field, bool yes = true) {
        copy->setValue(field, FieldValue::box(yes));
    }
    static void setNumber(const DataMgmt::TaxFormPtr& copy, const FieldId& field, double value) {
        copy->setValue(field, FieldValue::number(value));
    }
    static std::string text(const DataMgmt::TaxFormPtr& copy, const FieldId& field) {
        return copy->getValue(field).getText();
    }
    void setCommon(int item, std::int64_t value, const FormId& fedForm = kForm1ID) {
        gaReturn()->setPullCommon(fedForm, Utils::PCTypes{item}, value);
    }
    // The filing-status letter of form 70 and the matching federal status.
    void setFilingStatus(int status) {
        static const char* const letters[] = {"A", "A", "B", "C", "D"};
        setText(gaCopy(kGAForm70ID), kGAForm70FieldIds.f44, letters[status]);
        setCommon(1, status);
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr ga;
    GACalculationMgmt::GATaxReturnCalcEngine engine;
};

}  // namespace gataxtest
