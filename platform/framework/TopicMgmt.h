// The host's interview framework: the topic base TopicMgmt::TopicDesc, the
// script-query handler base TopicMgmt::ScriptQueryHandler, the path an event
// arrives by and the user events.
//
// The interview is a tree of topics. A state module derives one small class
// per topic from TopicDesc and hands the host the top-level topics; each topic
// owns its children (addChild) and its script-query handler, and destroying a
// topic destroys both. The host asks a topic for its status and passes it the
// user's events; a topic answers its scripts' numbered queries through its
// handler.
//
// The host keeps every value of a topic's row as it was given. The meaning of
// the gateway strategies, the platform type, the short, the long and the flags
// is the host's own; this host keeps them for whoever reads the row (the
// command-line host prints key, title and status only).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/Descriptions.h"

namespace TopicMgmt {

// How the host opens a topic from its gateway (values 0, 1, 2 and 4 occur).
enum TopicGatewayStrategy : std::int32_t {};
// The platforms on which a topic is shown (2 in every row of the module).
enum EnabledPlatformType : std::int32_t {};

// The user events a topic may handle.
inline constexpr Primitives::QVImmutableIdentifier kUserEvent_NEXT{1};
inline constexpr Primitives::QVImmutableIdentifier kUserEvent_BACK{2};
inline constexpr Primitives::QVImmutableIdentifier kUserEvent_UPDATE_NOW{3};

// Where an event comes from: the topic's gateway screen or a screen inside
// the topic.
class TopicPath {
public:
    TopicPath() = default;
    explicit TopicPath(bool gateway) : gateway_(gateway) {}
    bool isGateway() const { return gateway_; }

private:
    bool gateway_ = false;
};

// What the host keeps of the 22 arguments of a topic, by position.
struct TopicRow {
    Primitives::QVImmutableTopicIdentifier id;         // 1
    std::string key;                                   // 3
    std::string title;                                 // 4
    bool flag5 = false;                                // 5
    TopicGatewayStrategy gateway{};                    // 6
    bool flag7 = false;                                // 7
    Primitives::QVImmutableFormIdentifier statusForm;  // 8
    Primitives::QVImmutableIdentifier statusField;     // 9
    TopicStatus status = kTopicStatusNeeded;           // 10
    Primitives::QVImmutableFormIdentifier secondForm;  // 11
    Primitives::QVImmutableIdentifier secondField;     // 12
    DataMgmt::TaxReturnType returnType{};              // 13
    EnabledPlatformType platform{};                    // 14
    short number15 = 0;                                // 15
    Primitives::QVImmutableIdentifier field16;         // 16
    Primitives::QVImmutableIdentifier field17;         // 17
    long number18 = 0;                                 // 18
    bool flag19 = false;                               // 19
    bool flag20 = false;                               // 20
    bool flag21 = false;                               // 21
    bool flag22 = false;                               // 22
};

class TopicDesc;

// The table of a topic's numbered script queries. A query code is answered
// by the member registered for it with insertHandler; the call goes through
// the member pointer, so a state handler's override answers.
class ScriptQueryHandler {
public:
    using Handler = long (ScriptQueryHandler::*)(const Primitives::QVImmutableIdentifier& query, const TopicPath& path);

    // Keeps the store (not owned) and the type of the topic's return.
    ScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    virtual ~ScriptQueryHandler();
    ScriptQueryHandler(const ScriptQueryHandler&) = delete;
    ScriptQueryHandler& operator=(const ScriptQueryHandler&) = delete;

    // Fills the table. The host's own handler has no numbered queries; a
    // state handler registers its own.
    virtual void registerHandlers();
    // Two questions the host asks the state directly (not through the
    // table). Without a state answer the host's handler gives -1.
    virtual long stateQuery1(const Primitives::QVImmutableIdentifier& query, const TopicPath& path);
    virtual long stateQuery2(const Primitives::QVImmutableIdentifier& query, const TopicPath& path);

    // Registers (or replaces) the member that answers the query code.
    void insertHandler(int code, Handler handler);
    bool hasHandler(int code) const { return handlers_.count(code) != 0; }
    std::size_t handlerCount() const { return handlers_.size(); }
    // The answer of the member registered for the code; 0 when none is.
    long query(int code, const Primitives::QVImmutableIdentifier& query, const TopicPath& path);

    DataMgmt::TaxDataStore& getTaxDataStore() const { return *store_; }
    DataMgmt::TaxReturnType getReturnType() const { return type_; }

private:
    DataMgmt::TaxDataStore* store_;
    DataMgmt::TaxReturnType type_;
    std::map<int, Handler> handlers_;
};

// One interview topic: its row, its children and its script-query handler.
class TopicDesc {
public:
    // The 22 arguments of a topic's row, in the host's order. The texts are
    // copied; the store is kept (not owned) and must outlive the topic. The
    // topic starts with the host's own script-query handler.
    TopicDesc(const Primitives::QVImmutableTopicIdentifier& id, DataMgmt::TaxDataStore& store, const char* key,
              const char* title, bool flag5, TopicGatewayStrategy gateway, bool flag7,
              const Primitives::QVImmutableFormIdentifier& statusForm,
              const Primitives::QVImmutableIdentifier& statusField, TopicStatus status,
              const Primitives::QVImmutableFormIdentifier& secondForm,
              const Primitives::QVImmutableIdentifier& secondField, DataMgmt::TaxReturnType returnType,
              EnabledPlatformType platform, short number15, const Primitives::QVImmutableIdentifier& field16,
              const Primitives::QVImmutableIdentifier& field17, long number18, bool flag19, bool flag20, bool flag21,
              bool flag22);
    // Destroys the children and the script-query handler.
    virtual ~TopicDesc();
    TopicDesc(const TopicDesc&) = delete;
    TopicDesc& operator=(const TopicDesc&) = delete;

    // Slots, in the host's order.
    // The topic's status; the host's answer is the status of the row.
    virtual TopicStatus getTopicStatus();
    // Whether the topic handled the user's event; the host's topic handles
    // none.
    virtual bool handleUserEvent(const Primitives::QVImmutableIdentifier& event, const TopicPath& path);
    // Replaces the topic's script-query handler with a new one of the host.
    virtual void createScriptQueryHandler();

    const TopicRow& getRow() const { return row_; }
    const Primitives::QVImmutableTopicIdentifier& getTopicID() const { return row_.id; }
    const std::string& getKey() const { return row_.key; }
    const std::string& getTitle() const { return row_.title; }
    void setTitle(const std::string& title) { row_.title = title; }
    DataMgmt::TaxDataStore& getTaxDataStore() const { return *store_; }
    DataMgmt::TaxReturnType getReturnType() const { return row_.returnType; }
    // The topic's return: the store's return of the topic's type (an empty
    // handle when the store has none).
    DataMgmt::TaxReturnPtr getTaxReturn() const;

    // The topic's handler (null when it has none). setScriptQueryHandler
    // destroys the current handler, then keeps the new one (may be null),
    // which the topic owns from then on.
    ScriptQueryHandler* getScriptQueryHandler() const { return handler_.get(); }
    void setScriptQueryHandler(ScriptQueryHandler* handler);

    // Appends a child; the topic owns it from the call on, also when the
    // call throws. A null child is refused with Exceptions::QuarloException.
    void addChild(TopicDesc* child);
    const std::vector<std::unique_ptr<TopicDesc>>& getChildren() const { return children_; }

private:
    DataMgmt::TaxDataStore* store_;
    TopicRow row_;
    std::unique_ptr<ScriptQueryHandler> handler_;
    std::vector<std::unique_ptr<TopicDesc>> children_;
};

// Destroys a list of top-level topics as a state module hands it over: every
// topic (with its children and handlers), then the list. Null is ignored.
void deleteTopicList(std::vector<TopicDesc*>* topics);

}  // namespace TopicMgmt
