#include "module/interview/StateScriptQueryHandler.h"

#include "module/frame/SessionPropertyNames.h"

namespace StateTopicMgmt {

StateScriptQueryHandler::StateScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : TopicMgmt::ScriptQueryHandler(store, type) {
    // The base does not register; the override runs once the object is
    // complete.
    registerHandlers();
}

StateScriptQueryHandler::~StateScriptQueryHandler() = default;

void StateScriptQueryHandler::registerHandlers() {
    insertHandler(kImportStatusQuery, static_cast<Handler>(&StateScriptQueryHandler::checkImportStatus));
    insertHandler(kLlyStatusQuery, static_cast<Handler>(&StateScriptQueryHandler::checkLlyStatus));
}

long StateScriptQueryHandler::stateQuery1(const Primitives::QVImmutableIdentifier& query,
                                          const TopicMgmt::TopicPath& path) {
    return noStateQuery(query, path);
}

long StateScriptQueryHandler::stateQuery2(const Primitives::QVImmutableIdentifier& query,
                                          const TopicMgmt::TopicPath& path) {
    return noStateQuery(query, path);
}

long StateScriptQueryHandler::checkLlyStatus(const Primitives::QVImmutableIdentifier&, const TopicMgmt::TopicPath&) {
    const DataMgmt::SessionPropertiesPtr properties = federalSessionProperties();
    if (properties.isNull() || !properties->propertyExists(kUiPropLlyStatus)) {
        return 0;
    }
    return properties->getQVInt8Property(kUiPropLlyStatus) != 0 ? 1 : 0;
}

long StateScriptQueryHandler::checkImportStatus(const Primitives::QVImmutableIdentifier&, const TopicMgmt::TopicPath&) {
    const DataMgmt::SessionPropertiesPtr properties = federalSessionProperties();
    if (properties.isNull() || !properties->propertyExists(kUiPropImportStatus)) {
        return 1;
    }
    return properties->getQVInt8Property(kUiPropImportStatus) == 0 ? 1 : 0;
}

long StateScriptQueryHandler::noStateQuery(const Primitives::QVImmutableIdentifier&, const TopicMgmt::TopicPath&) {
    return 0;
}

DataMgmt::SessionPropertiesPtr StateScriptQueryHandler::federalSessionProperties() const {
    const DataMgmt::TaxReturnPtr federal = getTaxDataStore().getTaxReturn(DataMgmt::kFederalReturnType);
    return federal.isNull() ? DataMgmt::SessionPropertiesPtr() : federal->getSessionProperties();
}

}  // namespace StateTopicMgmt
