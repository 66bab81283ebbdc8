// The state, Georgia and cross-state layers of the interview topics.
//
// Every topic of the Georgia interview is built from one fixed row (its
// identifier, key, title, status form and field, and the host's flags) and
// ends its construction by installing the module's script-query handler in
// place of the host's. The Georgia layer builds its topics on the Georgia
// return; a cross-state topic is told the type of its return.
//
// The host's topic releases the handler and the children when it is
// destroyed; these layers never do.
#pragma once

#include <cstdint>

#include "platform/Primitives.h"
#include "platform/framework/TopicMgmt.h"
#include "platform/store/DataMgmt.h"

namespace StateTopicMgmt {

// The fixed row of one topic class. The host's remaining arguments are the
// same for every topic: platform type 2, fields 0 in the 16th and 17th
// places, 0 in the 18th and false in the 19th and 20th.
struct TopicArguments {
    Primitives::QVImmutableTopicIdentifier topic;
    const char* key;
    const char* title;
    bool flag5;
    std::int32_t gateway;
    bool flag7;
    Primitives::QVImmutableFormIdentifier statusForm;
    Primitives::QVImmutableIdentifier statusField;
    TopicMgmt::TopicStatus status;
    short number15;
    bool flag21;
    bool flag22;
    // Form 0 and field 0 for every topic but one.
    Primitives::QVImmutableFormIdentifier secondForm = Primitives::QVImmutableFormIdentifier(0);
    Primitives::QVImmutableIdentifier secondField = Primitives::QVImmutableIdentifier(0);
};

class StateTopicDesc : public TopicMgmt::TopicDesc {
public:
    // The host's topic with the row's arguments and the return type.
    StateTopicDesc(const TopicArguments& row, DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~StateTopicDesc() override;

    // Destroys the topic's current handler, then gives the topic a new
    // StateScriptQueryHandler on its store and return type.
    void createScriptQueryHandler() override;

protected:
    // The topic's return; when the store holds none of the topic's type,
    // throws Exceptions::QuarloException naming the topic and the operation.
    DataMgmt::TaxReturnPtr requireTaxReturn(const char* operation) const;
};

}  // namespace StateTopicMgmt

namespace GATopicMgmt {

// A Georgia topic: its return is the Georgia return (type 12).
class GATopicDesc : public StateTopicMgmt::StateTopicDesc {
public:
    GATopicDesc(const StateTopicMgmt::TopicArguments& row, DataMgmt::TaxDataStore& store);
    ~GATopicDesc() override;
};

}  // namespace GATopicMgmt

namespace XSTopicMgmt {

// A topic shared across states, built for the return type it is given.
class XSTopicDesc : public StateTopicMgmt::StateTopicDesc {
public:
    XSTopicDesc(const StateTopicMgmt::TopicArguments& row, DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~XSTopicDesc() override;
};

}  // namespace XSTopicMgmt
