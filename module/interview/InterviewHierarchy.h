// The Georgia interview as the host shows it: seven top-level topics, each
// with its children in display order.
#pragma once

#include <vector>

#include "platform/framework/TopicMgmt.h"
#include "platform/store/DataMgmt.h"

namespace GATopicMgmt {

// Builds a new tree of every topic of the Georgia interview on the store and
// returns the new list of its top-level topics, which the caller owns with
// every topic in it (each topic owns its children and its handler). The
// cross-state topics are built for the Georgia return (type 12). The titles
// taken from the return are those of the return the store holds now. When a
// topic cannot be built, the exception leaves through the call and every
// topic already built is destroyed.
std::vector<TopicMgmt::TopicDesc*>* buildInterviewHierarchy(DataMgmt::TaxDataStore& store);

}  // namespace GATopicMgmt
