// What the host knows of each common federal item (Utils::PCTypes) that a
// return file may seed: the name a return file gives it (ITEM="federal-agi"),
// what it holds, the values it may take, and whether the Georgia calculation
// cannot do without it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/returnfile/ReturnFile.h"
#include "platform/util/Utils.h"

namespace PersistanceMgmt {

struct CommonItemInfo {
    Utils::PCTypes type;
    const char* name;     // the return file's ITEM="..."
    const char* meaning;  // what the item holds, for gahost items and messages
    std::int64_t min;     // the values the item may take
    std::int64_t max;
    // The Georgia calculation cannot do without it, and the federal return
    // here cannot give it: a return file that gahost runs must seed it.
    bool needed = false;
    // Where the federal return itself says it (see DerivedItems.h); null
    // when only a seed gives it.
    const char* answeredBy = nullptr;
};

// Every named item, in number order.
const std::vector<CommonItemInfo>& commonItemTable();

// The item of that number or name (any letter case); null when the table does
// not name it.
const CommonItemInfo* findCommonItem(std::int32_t type);
const CommonItemInfo* findCommonItem(std::string_view name);

// Items the host answers from federal form fields, not from a seed: the texts
// and boxes that the state layer copies (116 to 150).
bool isFederalFieldItem(std::int32_t type);

// "item 80 (federal-agi)" or "item 7" for an item without a name.
std::string describeCommonItem(std::int32_t type);

// The domain as text: "a whole number from 1 to 5", "0 or 1", "a whole
// amount of at most 10,000,000,000,000 dollars either way".
std::string commonItemDomain(const CommonItemInfo& item);

}  // namespace PersistanceMgmt
