// The Georgia calculation engine on a federal and a Georgia return built on
// the generated form definitions, with an engine that records the copies the
// walk calculates.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/Configuration.h"
#include "platform/store/DataMgmt.h"
#include "tests/support/FieldSetters.h"
#include "tests/support/GeneratedDefinitions.h"

namespace gaenginetest {

using DataMgmt::FieldValue;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;
using CopyRef = std::pair<FormId, int>;

using testsupport::definitions;

// Records every copy the walk hands to calculateForm, in order, with the
// integers it passes.
class RecordingEngine : public GACalculationMgmt::GATaxReturnCalcEngine {
public:
    using GATaxReturnCalcEngine::GATaxReturnCalcEngine;

    struct Call {
        FormId form;
        int copy;
        int markEntered;
        int second;
        int third;
    };
    std::vector<Call> calls;
    // False: the walk is only recorded, no form routine runs.
    bool dispatch = true;

    void calculateForm(const FormId& form, int copy, int markEntered, int second, int third,
                       DataMgmt::TaxFormPtr handle) override {
        calls.push_back({form, copy, markEntered, second, third});
        if (dispatch) {
            GATaxReturnCalcEngine::calculateForm(form, copy, markEntered, second, third, handle);
        }
    }
};

// A federal and a Georgia return on the generated definitions, as gahost
// opens them.
struct OpenReturns {
    OpenReturns()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(definitions().federal, pool)),
          ga(new GADataMgmt::GATaxReturn(federal, definitions().georgia, pool)) {}
    DataMgmt::USTaxReturn* us() { return static_cast<DataMgmt::USTaxReturn*>(federal.get()); }
    GADataMgmt::GATaxReturn* georgia() { return static_cast<GADataMgmt::GATaxReturn*>(ga.get()); }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr ga;
};

class EngineTest : public ::testing::Test, protected testsupport::FieldSetters {
protected:
    EngineTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(definitions().federal, pool)),
          ga(new GADataMgmt::GATaxReturn(federal, definitions().georgia, pool)),
          engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(),
                 TaxFormPrintMgmt::TaxFormPrinterPtr()) {}
    ~EngineTest() override { DataMgmt::QuarloConfiguration::getInstance()->setAllowAutoTest(false); }

    GADataMgmt::GATaxReturn* gaReturn() { return static_cast<GADataMgmt::GATaxReturn*>(ga.get()); }
    DataMgmt::TaxFormPtr gaCopy(const FormId& form, std::uint16_t copy = 1) {
        return ga->getFormUVPtr(form, copy, true);
    }
    DataMgmt::TaxFormPtr fedCopy(const FormId& form, std::uint16_t copy = 1) {
        return federal->getFormUVPtr(form, copy, true);
    }
    // A home address in Georgia on federal form 1: without other residency
    // answers the filer is a full-year resident.
    void georgiaHomeAddress() { setText(fedCopy(kForm1ID), FieldId(9), "GA"); }
    // The (form, copy) pairs that the walk calculated.
    std::vector<CopyRef> walked() const {
        std::vector<CopyRef> out;
        for (const auto& call : engine.calls) {
            out.emplace_back(call.form, call.copy);
        }
        return out;
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr ga;
    RecordingEngine engine;
};

}  // namespace gaenginetest
