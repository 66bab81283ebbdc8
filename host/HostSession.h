// One session of the command-line host: the form definitions, the shared
// string pool, the federal return and the Georgia return, and the return file
// they were loaded from.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/ModuleLoader.h"
#include "platform/DataMgmt.h"
#include "platform/FormDefinitions.h"
#include "platform/ReturnFile.h"
#include "platform/StateDataMgmt.h"
#include "platform/StringPool.h"

namespace GAHost {

// The Georgia return as the host holds it while no Georgia module is loaded:
// it keeps the Georgia forms and the host's seeded answers so that a return
// file can be checked and written back, and answers the state's own questions
// with "unknown" (0, empty texts, no form). Every calculation needs the module.
class StateReturnWithoutModule : public StateDataMgmt::StateTaxReturn {
public:
    StateReturnWithoutModule(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnDescPtr desc,
                             Utils::StringPoolPtr pool);

    std::int8_t getFilingStatusNumber() override { return 0; }
    Primitives::QVImmutableFormIdentifier getMainForm() override { return {}; }
    void setStateForm14Boxes(bool) override {}
    void getStateCode(std::string& out) override { out = getAbbreviation(); }
    void getStateName(std::string& out) override { out = getDisplayName(); }
    std::int32_t getStateNumber() override { return 0; }
    std::int32_t getModuleCode() override { return 0; }
    std::int32_t getModuleCodeAlt() override { return 0; }
    Primitives::QVImmutableFormIdentifier getInfoForm() override { return {}; }
    Primitives::QVImmutableIdentifier getTaxpayerFirstNameField() override { return {}; }
    Primitives::QVImmutableIdentifier getTaxpayerLastNameField() override { return {}; }
    Primitives::QVImmutableIdentifier getTaxpayerSuffixField() override { return {}; }
    Primitives::QVImmutableIdentifier getTaxpayerSsnField() override { return {}; }
    Primitives::QVImmutableIdentifier getSpouseFirstNameField() override { return {}; }
    Primitives::QVImmutableIdentifier getSpouseLastNameField() override { return {}; }
    Primitives::QVImmutableIdentifier getSpouseSuffixField() override { return {}; }
    Primitives::QVImmutableIdentifier getSpouseSsnField() override { return {}; }
    Primitives::QVImmutableIdentifier getInfoKeyField() override { return {}; }
    void mapFederalField(const FormID&, const FieldID&, FormID& stateForm, FieldID& stateField) override {
        stateForm = FormID();
        stateField = FieldID();
    }
    void getEFileInfo(std::string& text, long* amount, std::uint32_t) override {
        text.clear();
        if (amount != nullptr) *amount = 0;
    }
    void getMailingAddress(std::string& out, std::int32_t) override { out.clear(); }
    TopicMgmt::TopicStatus isForm2Needed() override { return TopicMgmt::kTopicStatusNotNeeded; }
    TopicMgmt::TopicStatus isForm3Needed() override { return TopicMgmt::kTopicStatusNotNeeded; }
    TopicMgmt::TopicStatus isInfoBoxNeeded() override { return TopicMgmt::kTopicStatusNotNeeded; }
    void formatBarcodeValue(DataMgmt::TaxFormPtr&, const FormID&, std::uint16_t, const FieldID&,
                            std::string&) override {}
};

class HostSession {
public:
    // Loads the form definitions of both returns from the directory.
    explicit HostSession(const std::string& formsDir);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    const FormDefinitions::Library& library() const { return library_; }

    // Makes the federal return and the Georgia return: the module's Georgia
    // return when a module is given, else a StateReturnWithoutModule. The
    // module must stay loaded as long as the session lives.
    void openReturns(const ModuleLoader* module);

    // Loads a return file into the open returns (nothing changes when the
    // file is refused). Throws Exceptions::QuarloException.
    const PersistanceMgmt::ReturnFileContents& load(const std::string& path);

    // Writes the returns back in the return-file layout (temporary file,
    // renamed into place).
    void save(const std::string& path) const;

    DataMgmt::TaxReturnPtr& federal() { return federal_; }
    DataMgmt::TaxReturnPtr& georgia() { return georgia_; }
    StateDataMgmt::StateTaxReturn* georgiaState() const { return georgiaState_; }
    DataMgmt::TaxDataStore& store() { return store_; }
    const PersistanceMgmt::ReturnFileContents& loaded() const { return loaded_; }

private:
    FormDefinitions::Library library_;
    Utils::StringPoolPtr pool_;
    DataMgmt::TaxReturnPtr federal_;
    DataMgmt::TaxReturnPtr georgia_;
    StateDataMgmt::StateTaxReturn* georgiaState_ = nullptr;
    DataMgmt::TaxDataStore store_;
    PersistanceMgmt::ReturnFileContents loaded_;
};

}  // namespace GAHost
