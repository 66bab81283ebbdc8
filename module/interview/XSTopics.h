// The interview topics shared across states: the credits and the taxes,
// payments and penalties sections, the end of the state interview and the
// program-update topic. Each is built for the return type it is given (the
// Georgia interview passes 12).
#pragma once

#include "module/interview/StateTopicDesc.h"
#include "platform/Primitives.h"
#include "platform/framework/TopicMgmt.h"
#include "platform/store/DataMgmt.h"

namespace XSTopicMgmt {

// The credits section, titled with the state's name ("Georgia Credits").
class CreditsTopicDesc : public XSTopicDesc {
public:
    CreditsTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~CreditsTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
    // Sets the title from the return, then installs the module's handler.
    void createScriptQueryHandler() override;
};

// The taxes, payments and penalties section, titled with the state's name.
class TaxPayPenTopicDesc : public XSTopicDesc {
public:
    TaxPayPenTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~TaxPayPenTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
    void createScriptQueryHandler() override;
};

// The end of the state interview ("Finished Georgia Interview"): Next at its
// gateway tells the data manager that the interview is finished.
class EndgrpTopicDesc : public XSTopicDesc {
public:
    EndgrpTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~EndgrpTopicDesc() override;
    bool handleUserEvent(const Primitives::QVImmutableIdentifier& event, const TopicMgmt::TopicPath& path) override;
    void createScriptQueryHandler() override;
};

// The program-update topic: the user's answer to "get the program updates"
// is the pair of boxes 9015 (yes) and 9016 (no) of state form 14.
class UpdateStateTopicDesc : public XSTopicDesc {
public:
    UpdateStateTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
    ~UpdateStateTopicDesc() override;
    bool handleUserEvent(const Primitives::QVImmutableIdentifier& event, const TopicMgmt::TopicPath& path) override;
};

}  // namespace XSTopicMgmt
