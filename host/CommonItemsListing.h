// gahost items: the common federal items a return file may seed.
#pragma once

#include <ostream>

namespace GAHost {

// One line for each named item, tab-separated: number, name (for
// <PULLCOMMON ITEM="...">), the values it takes, what it holds, and where
// gahost takes it from ("seed", "seed, needed" or the federal return's part
// that answers it; for a field of form 1040, ", else seed" and, for an item
// split between the filers, what splits it on a joint return).
void printCommonItems(std::ostream& out);

}  // namespace GAHost
