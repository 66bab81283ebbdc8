#include "module/interview/StateTopicDesc.h"

#include <string>

#include "module/interview/StateScriptQueryHandler.h"
#include "platform/Exceptions.h"

namespace StateTopicMgmt {

namespace {

// The host's arguments that are the same for every topic of the module.
constexpr TopicMgmt::EnabledPlatformType kEnabledPlatform{2};
constexpr Primitives::QVImmutableIdentifier kNoField{0};
constexpr long kNoNumber = 0;

}  // namespace

StateTopicDesc::StateTopicDesc(const TopicArguments& row, DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : TopicMgmt::TopicDesc(row.topic, store, row.key, row.title, row.flag5,
                           TopicMgmt::TopicGatewayStrategy{row.gateway}, row.flag7, row.statusForm, row.statusField,
                           row.status, row.secondForm, row.secondField, type, kEnabledPlatform, row.number15, kNoField,
                           kNoField, kNoNumber, false, false, row.flag21, row.flag22) {}

StateTopicDesc::~StateTopicDesc() = default;

void StateTopicDesc::createScriptQueryHandler() {
    // The old handler goes before the new one is made.
    setScriptQueryHandler(nullptr);
    setScriptQueryHandler(new StateScriptQueryHandler(getTaxDataStore(), getReturnType()));
}

DataMgmt::TaxReturnPtr StateTopicDesc::requireTaxReturn(const char* operation) const {
    DataMgmt::TaxReturnPtr taxReturn = getTaxReturn();
    if (taxReturn.isNull()) {
        throw Exceptions::QuarloException("the data store holds no return of type " + std::to_string(getReturnType()) +
                                              " for topic \"" + getKey() + "\"",
                                          "StateTopicDesc", operation);
    }
    return taxReturn;
}

}  // namespace StateTopicMgmt

namespace GATopicMgmt {

GATopicDesc::GATopicDesc(const StateTopicMgmt::TopicArguments& row, DataMgmt::TaxDataStore& store)
    : StateTopicMgmt::StateTopicDesc(row, store, DataMgmt::kGeorgiaReturnType) {}

GATopicDesc::~GATopicDesc() = default;

}  // namespace GATopicMgmt

namespace XSTopicMgmt {

XSTopicDesc::XSTopicDesc(const StateTopicMgmt::TopicArguments& row, DataMgmt::TaxDataStore& store,
                         DataMgmt::TaxReturnType type)
    : StateTopicMgmt::StateTopicDesc(row, store, type) {}

XSTopicDesc::~XSTopicDesc() = default;

}  // namespace XSTopicMgmt
