// The common items that the host answers from the federal return itself,
// where the federal return states the same fact: the filing status, the
// dependents it lists, and the "65 or over" boxes of its form 1040.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/returnfile/ReturnFile.h"

namespace PersistanceMgmt {

// The federal forms a return may be filed on; the items derived from the
// federal return are answered for each of them.
constexpr std::int32_t kFederalMainForms[] = {1, 55, 87};

// Where the federal return says each of them is the item's answeredBy in the
// common item table.
struct DerivedItem {
    std::int32_t type = 0;
    std::int64_t value = 0;
};

// The items the staged federal return answers. An item whose source the
// federal return does not hold (no <FILINGSTATUS>, no form 1040) is left out.
std::vector<DerivedItem> deriveCommonItems(const ReturnPart& federal);

// One problem for every common item seeded in the Georgia return that
// disagrees with what the federal return says, naming both values:
// "<file>:<line>: form F1: common item 1 (federal-filing-status) is 1, but the
// federal return says 2 (the federal return's <FILINGSTATUS>)".
std::vector<std::string> seedsContradictingTheFederalReturn(const ReturnFileContents& contents,
                                                            const std::string& displayName);

}  // namespace PersistanceMgmt
