// A federal return and a state return built on the generated form
// definitions, a state return class that answers the state contract with
// settable values, and an engine that records what the walk hands it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "module/catalogues/FieldTripleTable.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"

namespace statecalctest {

using DataMgmt::FieldKind;
using DataMgmt::FieldValue;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

// A state form of the tests' own with text fields of chosen lengths: 1 (20),
// 2 (4), 3 (2), 4 (10), 5 (6), 6 (10), 7 (30), 8 to 17 (80); and boxes 18 to
// 20.
inline const FormId kTestForm(990, true);

// The form definitions of every form, loaded once, plus the test form.
inline const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = [] {
        FormDefinitions::Library l = FormDefinitions::loadDirectory(FormDefinitions::defaultDirectory());
        DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kTestForm, "ST990", "Test form", 9));
        const std::uint16_t lengths[] = {20, 4, 2, 10, 6, 10, 30};
        for (int n = 1; n <= 17; ++n) {
            DataMgmt::FormFieldDesc::Attributes a;
            a.id = FieldId(n);
            a.kind = FieldKind::Text;
            a.maxLength = n <= 7 ? lengths[n - 1] : 80;
            form->addField(a);
        }
        for (int n = 18; n <= 20; ++n) {
            DataMgmt::FormFieldDesc::Attributes a;
            a.id = FieldId(n);
            a.kind = FieldKind::Boolean;
            form->addField(a);
        }
        l.georgia->addForm(form);
        return l;
    }();
    return lib;
}

// A state return whose contract answers are settable.
class TestStateReturn : public StateDataMgmt::StateTaxReturn {
public:
    TestStateReturn(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnDescPtr desc, Utils::StringPoolPtr pool)
        : StateTaxReturn(federal, std::move(desc), std::move(pool)) {}

    std::int8_t filingStatus = 1;

    std::int8_t getFilingStatusNumber() override { return filingStatus; }
    FormId getMainForm() override { return kGAForm70ID; }
    void setStateForm14Boxes(bool) override {}
    void getStateCode(std::string& out) override { out = "GA"; }
    void getStateName(std::string& out) override { out = "Georgia"; }
    std::int32_t getStateNumber() override { return 11; }
    std::int32_t getModuleCode() override { return 1; }
    std::int32_t getModuleCodeAlt() override { return 1; }
    FormId getInfoForm() override { return kGAForm69ID; }
    FieldId getTaxpayerFirstNameField() override { return FieldId(21); }
    FieldId getTaxpayerLastNameField() override { return FieldId(23); }
    FieldId getTaxpayerSuffixField() override { return FieldId(24); }
    FieldId getTaxpayerSsnField() override { return FieldId(25); }
    FieldId getSpouseFirstNameField() override { return FieldId(26); }
    FieldId getSpouseLastNameField() override { return FieldId(28); }
    FieldId getSpouseSuffixField() override { return FieldId(29); }
    FieldId getSpouseSsnField() override { return FieldId(30); }
    FieldId getInfoKeyField() override { return FieldId(); }
    void mapFederalField(const FormId&, const FieldId&, FormId& stateForm, FieldId& stateField) override {
        stateForm = FormId();
        stateField = FieldId();
    }
    void getEFileInfo(std::string& text, long* amount, std::uint32_t) override {
        text.clear();
        *amount = 0;
    }
    void getMailingAddress(std::string& out, std::int32_t) override { out.clear(); }
    TopicMgmt::TopicStatus isForm2Needed() override { return TopicMgmt::kTopicStatusNotNeeded; }
    TopicMgmt::TopicStatus isForm3Needed() override { return TopicMgmt::kTopicStatusNotNeeded; }
    TopicMgmt::TopicStatus isInfoBoxNeeded() override { return TopicMgmt::kTopicStatusNotNeeded; }
    void formatBarcodeValue(DataMgmt::TaxFormPtr&, const FormId&, std::uint16_t, const FieldId&,
                            std::string&) override {}
};

// One call of the per-copy dispatcher.
struct CopyCall {
    FormId form;
    int copy;
    int markEntered;
    int second;
    int third;
    bool operator==(const CopyCall& o) const {
        return form == o.form && copy == o.copy && markEntered == o.markEntered && second == o.second &&
               third == o.third;
    }
};

inline std::ostream& operator<<(std::ostream& os, const CopyCall& c) {
    return os << "{" << c.form.getNumber() << (c.form.isState() ? "s" : "f") << " copy " << c.copy << ", "
              << c.markEntered << ", " << c.second << ", " << c.third << "}";
}

// An engine whose state part records the walk: calcAllForms calculates every
// copy of the forms in `order`; the hooks log themselves.
class RecordingEngine : public StateCalculationMgmt::StateTaxReturnCalcEngine {
public:
    using StateTaxReturnCalcEngine::StateTaxReturnCalcEngine;

    std::vector<FormId> order;
    std::vector<std::string> events;
    std::vector<CopyCall> copies;
    // Calculated flags of every copy, as beforeCalc found them.
    std::vector<bool> flagsAtBeforeCalc;

    void calcAllForms() override {
        events.push_back("calcAllForms");
        for (const FormId& form : order) {
            calculateAllCopies(form);
        }
    }
    void calcFormCopy(const FormId& form, int copy, int markEntered, int second, int third,
                      DataMgmt::TaxFormPtr handle) override {
        EXPECT_FALSE(handle.isNull());
        EXPECT_EQ(handle->getCopyNumber(), copy);
        copies.push_back({form, copy, markEntered, second, third});
    }
    FormId getMainForm() override { return kGAForm70ID; }
    FormId getFederalForm() override { return kForm1ID; }
    char getFilingStatus() override { return 1; }
    void calcStateSharedForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook1(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook2(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook3(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook4(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook5(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook6(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void calcUnderpaymentForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void calcOtherStateCreditForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void calcDocumentListForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void calcGroupedForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void calcAmendedReturnForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void calcBusinessCreditForm(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void spareFormHook7(const FormId&, DataMgmt::TaxFormPtr, int, int) override {}
    void beforeCalc() override {
        events.push_back("beforeCalc");
        flagsAtBeforeCalc.clear();
        for (auto kinds = stateReturn()->getForms(); !kinds.atEOL(); kinds.next()) {
            for (auto it = kinds.getTaxFormIter(); !it.atEOL(); it.next()) {
                flagsAtBeforeCalc.push_back(it.getTaxForm()->calculatedFlag());
            }
        }
    }
    void afterCalc() override { events.push_back("afterCalc"); }
};

// Both returns, sharing one string pool, and an engine on them.
class StateCalcTest : public ::testing::Test {
protected:
    StateCalcTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(library().federal, pool)),
          state(new TestStateReturn(federal, library().georgia, pool)),
          engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), state.get(),
                 TaxFormPrintMgmt::TaxFormPrinterPtr()) {
        for (auto& id : kFieldTripleTable) {
            id = Primitives::kNullFieldID;
        }
    }

    TestStateReturn& st() { return static_cast<TestStateReturn&>(*state); }
    DataMgmt::TaxFormPtr stateCopy(const FormId& form, std::uint16_t copy = 1) {
        return state->getFormUVPtr(form, copy, true);
    }
    DataMgmt::TaxFormPtr federalCopy(const FormId& form, std::uint16_t copy = 1) {
        return federal->getFormUVPtr(form, copy, true);
    }
    // Column 4 of the field-triple table as the Georgia information form
    // fills it: fields 21 to 35 of form 69.
    void fillInfoColumn() {
        StateCalculationMgmt::StateTaxReturnCalcEngine::buildFieldTripleTable();
        for (int r = 0; r < 15; ++r) {
            kFieldTripleTable[r * kFieldTripleColumns + 3] = FieldId(21 + r);
        }
    }
    void setText(const DataMgmt::TaxFormPtr& copy, int field, const std::string& text) {
        copy->setValue(FieldId(field), FieldValue::text(text));
    }
    void setBox(const DataMgmt::TaxFormPtr& copy, int field, bool yes) {
        copy->setValue(FieldId(field), FieldValue::box(yes));
    }
    void setNumber(const DataMgmt::TaxFormPtr& copy, int field, double value) {
        copy->setValue(FieldId(field), FieldValue::number(value));
    }
    std::string text(const DataMgmt::TaxFormPtr& copy, int field) { return copy->getValue(FieldId(field)).getText(); }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr state;
    RecordingEngine engine;
};

}  // namespace statecalctest
