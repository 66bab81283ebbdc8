// The tree of the Georgia interview: its shape, its ownership, and that a
// build interrupted by a failed allocation gives back everything it took.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "module/interview/InterviewHierarchy.h"
#include "tests/interview/interview_fixture.h"

// Every allocation of this test program goes through these, so that a test
// can count what is still allocated and make the n-th allocation fail.
namespace {
std::atomic<long> gLiveAllocations{0};
std::atomic<long> gAllocations{0};
std::atomic<long> gFailingAllocation{-1};  // counts down to the one that fails; -1: none
}  // namespace

void* operator new(std::size_t size) {
    if (gFailingAllocation.load() >= 0 && gFailingAllocation.fetch_sub(1) == 0) {
        throw std::bad_alloc();
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    ++gLiveAllocations;
    ++gAllocations;
    return p;
}
void operator delete(void* p) noexcept {
    if (p != nullptr) {
        --gLiveAllocations;
        std::free(p);
    }
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using TopicMgmt::TopicDesc;
using TopicList = std::vector<TopicDesc*>;

std::vector<std::string> keys(const std::vector<TopicDesc*>& topics) {
    std::vector<std::string> out;
    for (const TopicDesc* t : topics) out.push_back(t->getKey());
    return out;
}

std::vector<std::string> childKeys(const TopicDesc& topic) {
    std::vector<std::string> out;
    for (const auto& child : topic.getChildren()) out.push_back(child->getKey());
    return out;
}

// Every topic and every handler of a tree.
void collect(const TopicDesc& topic, std::set<const void*>& objects, std::vector<const TopicDesc*>& topics) {
    objects.insert(&topic);
    objects.insert(topic.getScriptQueryHandler());
    topics.push_back(&topic);
    for (const auto& child : topic.getChildren()) collect(*child, objects, topics);
}

class TreeTest : public interviewtest::StoreFixture {};

TEST_F(TreeTest, SevenTopLevelTopicsWithTheirChildrenInDisplayOrder) {
    TopicList* tree = GATopicMgmt::buildInterviewHierarchy(store_);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(keys(*tree), (std::vector<std::string>{"gags", "gaincsection", "Credits", "TaxPayPen", "gamisc", "Endgrp",
                                                     "GASecondaryNavs"}));
    const std::vector<std::vector<std::string>> children = {
        {"UpdateState", "gainfo"},
        {"gaincome", "gaadd", "gasub", "gaincsum", "gadeduct"},
        {"lowinctc", "gastcr", "sched2", "gacredsum"},
        {"gaextpay", "gaunder", "gapaypensum"},
        {"garefapp", "gacontrib", "extoftim", "gaamend", "gaest"},
        {},
        {},
    };
    std::set<const void*> objects;
    std::vector<const TopicDesc*> all;
    for (std::size_t i = 0; i < tree->size() && i < children.size(); ++i) {
        EXPECT_EQ(childKeys(*(*tree)[i]), children[i]) << (*tree)[i]->getKey();
        collect(*(*tree)[i], objects, all);
    }
    EXPECT_EQ(all.size(), 26u);
    for (const TopicDesc* topic : all) {
        EXPECT_NE(topic->getKey(), "miscbus");
        EXPECT_TRUE(childKeys(*topic).empty() || std::find(tree->begin(), tree->end(), topic) != tree->end())
            << topic->getKey() << " is two levels down and has children";
        EXPECT_EQ(topic->getReturnType(), DataMgmt::kGeorgiaReturnType) << topic->getKey();
    }
    EXPECT_EQ((*tree)[2]->getTitle(), "Georgia Credits");
    TopicMgmt::deleteTopicList(tree);
}

TEST_F(TreeTest, EachCallBuildsATreeOfItsOwn) {
    TopicList* first = GATopicMgmt::buildInterviewHierarchy(store_);
    TopicList* second = GATopicMgmt::buildInterviewHierarchy(store_);
    std::set<const void*> a, b;
    std::vector<const TopicDesc*> ignored;
    for (const TopicDesc* t : *first) collect(*t, a, ignored);
    for (const TopicDesc* t : *second) collect(*t, b, ignored);
    EXPECT_EQ(a.size(), 52u);  // 26 topics and 26 handlers
    for (const void* object : b) EXPECT_EQ(a.count(object), 0u);
    TopicMgmt::deleteTopicList(first);
    TopicMgmt::deleteTopicList(second);
}

TEST_F(TreeTest, DestroyingTheTreeOrAFailedBuildGivesBackEverything) {
    TopicMgmt::deleteTopicList(GATopicMgmt::buildInterviewHierarchy(store_));  // first-use statics

    const long live = gLiveAllocations;
    const long before = gAllocations;
    TopicList* tree = GATopicMgmt::buildInterviewHierarchy(store_);
    const long allocations = gAllocations - before;
    TopicMgmt::deleteTopicList(tree);
    EXPECT_EQ(gLiveAllocations, live);
    ASSERT_GT(allocations, 26);

    // Fail each allocation of the build in turn.
    for (long n = 0; n < allocations; ++n) {
        bool failed = false;
        gFailingAllocation = n;
        try {
            TopicMgmt::deleteTopicList(GATopicMgmt::buildInterviewHierarchy(store_));
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        gFailingAllocation = -1;
        const long after = gLiveAllocations;
        EXPECT_TRUE(failed) << "allocation " << n;
        EXPECT_EQ(after, live) << "allocation " << n;
    }
}

}  // namespace
