// The module's script-query handler: every Georgia and cross-state topic
// answers its scripts' numbered queries through one of these.
//
// Query 1 asks whether the last-year carry-over is under way, query 2
// whether no data import is; both read the session properties of the
// federal return (type 1) of the topic's store, whatever return the topic
// itself is built on. The two state questions of the host get 0.
#pragma once

#include "platform/Primitives.h"
#include "platform/framework/TopicMgmt.h"
#include "platform/store/DataMgmt.h"

namespace StateTopicMgmt {

class StateScriptQueryHandler : public TopicMgmt::ScriptQueryHandler {
public:
    // Query codes this handler registers.
    static constexpr int kLlyStatusQuery = 1;
    static constexpr int kImportStatusQuery = 2;

    // Builds the host's handler on the store and return type, then registers
    // the two queries.
    StateScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~StateScriptQueryHandler() override;

    // Registers query 2 (checkImportStatus), then query 1 (checkLlyStatus).
    void registerHandlers() override;
    long stateQuery1(const Primitives::QVImmutableIdentifier& query, const TopicMgmt::TopicPath& path) override;
    long stateQuery2(const Primitives::QVImmutableIdentifier& query, const TopicMgmt::TopicPath& path) override;

    // 1 when "ui_prop_lly_status" is set to a value other than 0; 0 when it
    // is 0 or not set.
    virtual long checkLlyStatus(const Primitives::QVImmutableIdentifier& query, const TopicMgmt::TopicPath& path);
    // 1 when "ui_prop_import_status" is not set or set to 0; 0 otherwise.
    virtual long checkImportStatus(const Primitives::QVImmutableIdentifier& query, const TopicMgmt::TopicPath& path);

    // The answer to the host's state questions that Georgia does not use: 0.
    long noStateQuery(const Primitives::QVImmutableIdentifier& query, const TopicMgmt::TopicPath& path);

private:
    // The session properties of the store's federal return; null when the
    // store holds no federal return.
    DataMgmt::SessionPropertiesPtr federalSessionProperties() const;
};

}  // namespace StateTopicMgmt
