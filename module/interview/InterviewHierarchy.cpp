#include "module/interview/InterviewHierarchy.h"

#include <memory>
#include <type_traits>
#include <utility>

#include "module/interview/GATopics.h"
#include "module/interview/XSTopics.h"

namespace GATopicMgmt {

namespace {

using TopicPtr = std::unique_ptr<TopicMgmt::TopicDesc>;
using MakeTopic = TopicPtr (*)(DataMgmt::TaxDataStore&);

// A Georgia topic takes the store alone; a cross-state topic also the type of
// the Georgia return.
template <class Topic>
TopicPtr make(DataMgmt::TaxDataStore& store) {
    if constexpr (std::is_base_of_v<XSTopicMgmt::XSTopicDesc, Topic>) {
        return std::make_unique<Topic>(store, DataMgmt::kGeorgiaReturnType);
    } else {
        return std::make_unique<Topic>(store);
    }
}

// One top-level topic and its children, in display order.
struct Branch {
    MakeTopic parent;
    std::vector<MakeTopic> children;
};

// The Georgia interview, top to bottom.
const Branch kInterview[] = {
    {make<gagsTopicDesc>, {make<XSTopicMgmt::UpdateStateTopicDesc>, make<gainfoTopicDesc>}},
    {make<gaincsectionTopicDesc>,
     {make<gaincomeTopicDesc>, make<gaaddTopicDesc>, make<gasubTopicDesc>, make<gaincsumTopicDesc>,
      make<gadeductTopicDesc>}},
    {make<XSTopicMgmt::CreditsTopicDesc>,
     {make<lowinctcTopicDesc>, make<gastcrTopicDesc>, make<sched2TopicDesc>, make<gacredsumTopicDesc>}},
    {make<XSTopicMgmt::TaxPayPenTopicDesc>,
     {make<gaextpayTopicDesc>, make<gaunderTopicDesc>, make<gapaypensumTopicDesc>}},
    {make<gamiscTopicDesc>,
     {make<garefappTopicDesc>, make<gacontribTopicDesc>, make<extoftimTopicDesc>, make<gaamendTopicDesc>,
      make<gaestTopicDesc>}},
    {make<XSTopicMgmt::EndgrpTopicDesc>, {}},
    {make<GASecondaryNavsTopicDesc>, {}},
};

}  // namespace

std::vector<TopicMgmt::TopicDesc*>* buildInterviewHierarchy(DataMgmt::TaxDataStore& store) {
    // The topics stay owned here until the whole tree is built, so that a
    // failure part of the way destroys what was built.
    std::vector<TopicPtr> topLevel;
    for (const Branch& branch : kInterview) {
        TopicPtr parent = branch.parent(store);
        for (MakeTopic makeChild : branch.children) {
            // The parent owns the child from this call on.
            parent->addChild(makeChild(store).release());
        }
        topLevel.push_back(std::move(parent));
    }

    // Hand the tree over: the list is made before any topic leaves the
    // owning pointers, so nothing below can throw.
    auto list = std::make_unique<std::vector<TopicMgmt::TopicDesc*>>();
    list->reserve(topLevel.size());
    for (TopicPtr& topic : topLevel) {
        list->push_back(topic.release());
    }
    return list.release();
}

}  // namespace GATopicMgmt
