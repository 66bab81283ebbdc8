#include "platform/framework/TopicMgmt.h"

#include <utility>

#include "platform/Exceptions.h"

namespace TopicMgmt {

// ------------------------------------------------------------ script queries

ScriptQueryHandler::ScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : store_(&store), type_(type) {}

ScriptQueryHandler::~ScriptQueryHandler() = default;

void ScriptQueryHandler::registerHandlers() {}

long ScriptQueryHandler::stateQuery1(const Primitives::QVImmutableIdentifier&, const TopicPath&) { return -1; }

long ScriptQueryHandler::stateQuery2(const Primitives::QVImmutableIdentifier&, const TopicPath&) { return -1; }

void ScriptQueryHandler::insertHandler(int code, Handler handler) {
    if (handler == nullptr) {
        throw Exceptions::QuarloException("no handler given for script query " + std::to_string(code),
                                          "ScriptQueryHandler", "insertHandler");
    }
    handlers_[code] = handler;
}

long ScriptQueryHandler::query(int code, const Primitives::QVImmutableIdentifier& query, const TopicPath& path) {
    const auto found = handlers_.find(code);
    return found == handlers_.end() ? 0 : (this->*(found->second))(query, path);
}

// ------------------------------------------------------------ topics

TopicDesc::TopicDesc(const Primitives::QVImmutableTopicIdentifier& id, DataMgmt::TaxDataStore& store, const char* key,
                     const char* title, bool flag5, TopicGatewayStrategy gateway, bool flag7,
                     const Primitives::QVImmutableFormIdentifier& statusForm,
                     const Primitives::QVImmutableIdentifier& statusField, TopicStatus status,
                     const Primitives::QVImmutableFormIdentifier& secondForm,
                     const Primitives::QVImmutableIdentifier& secondField, DataMgmt::TaxReturnType returnType,
                     EnabledPlatformType platform, short number15, const Primitives::QVImmutableIdentifier& field16,
                     const Primitives::QVImmutableIdentifier& field17, long number18, bool flag19, bool flag20,
                     bool flag21, bool flag22)
    : store_(&store) {
    row_.id = id;
    row_.key = key == nullptr ? "" : key;
    row_.title = title == nullptr ? "" : title;
    row_.flag5 = flag5;
    row_.gateway = gateway;
    row_.flag7 = flag7;
    row_.statusForm = statusForm;
    row_.statusField = statusField;
    row_.status = status;
    row_.secondForm = secondForm;
    row_.secondField = secondField;
    row_.returnType = returnType;
    row_.platform = platform;
    row_.number15 = number15;
    row_.field16 = field16;
    row_.field17 = field17;
    row_.number18 = number18;
    row_.flag19 = flag19;
    row_.flag20 = flag20;
    row_.flag21 = flag21;
    row_.flag22 = flag22;
    handler_ = std::make_unique<ScriptQueryHandler>(store, returnType);
    handler_->registerHandlers();
}

TopicDesc::~TopicDesc() = default;

TopicStatus TopicDesc::getTopicStatus() { return row_.status; }

bool TopicDesc::handleUserEvent(const Primitives::QVImmutableIdentifier&, const TopicPath&) { return false; }

void TopicDesc::createScriptQueryHandler() {
    setScriptQueryHandler(nullptr);
    auto handler = std::make_unique<ScriptQueryHandler>(*store_, row_.returnType);
    handler->registerHandlers();
    handler_ = std::move(handler);
}

DataMgmt::TaxReturnPtr TopicDesc::getTaxReturn() const { return store_->getTaxReturn(row_.returnType); }

void TopicDesc::setScriptQueryHandler(ScriptQueryHandler* handler) {
    handler_.reset();
    handler_.reset(handler);
}

void TopicDesc::addChild(TopicDesc* child) {
    std::unique_ptr<TopicDesc> owned(child);
    if (owned == nullptr) {
        throw Exceptions::QuarloException("no child topic given to topic \"" + row_.key + "\"", "TopicDesc",
                                          "addChild");
    }
    children_.push_back(std::move(owned));
}

void deleteTopicList(std::vector<TopicDesc*>* topics) {
    if (topics == nullptr) {
        return;
    }
    for (TopicDesc* topic : *topics) {
        delete topic;
    }
    delete topics;
}

}  // namespace TopicMgmt
