// Returns on the generated form definitions and an engine whose federal main
// form can be chosen, for the tests of the interest and dividend statements,
// the state wage worksheet, the common items and the dated amounts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "module/catalogues/AllFieldIds.h"
#include "module/catalogues/FieldTripleTable.h"
#include "module/frame/FormIdentifiers.h"
#include "state_calc_fixture.h"
#include "tests/support/FieldSetters.h"

namespace stmtstest {

using DataMgmt::FieldValue;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;
using StateCalculationMgmt::IntDivCategoryAmounts;

class StatementsEngine : public statecalctest::RecordingEngine {
public:
    using RecordingEngine::RecordingEngine;

    FormId federalForm = kForm1ID;
    FormId getFederalForm() override { return federalForm; }
};

class StatementsTest : public ::testing::Test, protected testsupport::FieldSetters {
protected:
    StatementsTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(statecalctest::library().federal, pool)),
          state(new statecalctest::TestStateReturn(federal, statecalctest::library().georgia, pool)),
          engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), state.get(),
                 TaxFormPrintMgmt::TaxFormPrinterPtr()) {
        for (auto& id : kFieldTripleTable) {
            id = Primitives::kNullFieldID;
        }
    }

    statecalctest::TestStateReturn& st() { return static_cast<statecalctest::TestStateReturn&>(*state); }
    DataMgmt::TaxFormPtr stateCopy(const FormId& form, std::uint16_t copy = 1) {
        return state->getFormUVPtr(form, copy, true);
    }
    DataMgmt::TaxFormPtr federalCopy(const FormId& form, std::uint16_t copy = 1) {
        return federal->getFormUVPtr(form, copy, true);
    }

    static double number(const DataMgmt::TaxFormPtr& copy, const FieldId& field) { return copy->getIR(field); }
    static bool isNull(const DataMgmt::TaxFormPtr& copy, const FieldId& field) { return copy->isNull(field); }

    // Copy n of federal form 166 with regular interest (field 10) in dollars.
    DataMgmt::TaxFormPtr interestPayer(std::uint16_t n, const std::string& payer, double interest) {
        DataMgmt::TaxFormPtr copy = federalCopy(kForm166ID, n);
        setText(copy, kForm166FieldIds.f9, payer);
        setNumber(copy, kForm166FieldIds.f10, interest * 100.0);
        return copy;
    }
    // Copy n of federal form 164 with ordinary dividends (field 6) in
    // dollars.
    DataMgmt::TaxFormPtr dividendPayer(std::uint16_t n, const std::string& payer, double dividends) {
        DataMgmt::TaxFormPtr copy = federalCopy(kForm164ID, n);
        setText(copy, kForm164FieldIds.f5, payer);
        setNumber(copy, kForm164FieldIds.f6, dividends * 100.0);
        return copy;
    }

    // The row-information field of line `index` (0 to 23) of a statement.
    static FieldId infoField(int index) { return FieldId(3 + index); }
    // Field `column` (0 to 4) of display row `index` (0 to 23).
    static FieldId rowField(int index, int column) { return FieldId(31 + 5 * index + column); }

    void layOut() {
        engine.buildIntDivSummaries(0, kGAForm69ID, kStateForm4ID, kStateForm2ID, kStateForm2FieldIds.f3, kStateForm3ID,
                                    kStateForm3FieldIds.f3);
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr state;
    StatementsEngine engine;
};

}  // namespace stmtstest
