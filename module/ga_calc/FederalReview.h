// The federal entries that call for a closer look at the Georgia return,
// which both form 70's review mark and the review mark of the additions and
// subtractions (form 189215) test.
#pragma once

#include "module/frame/GATaxReturn.h"

namespace GACalculationMgmt {

// Copy 1 of the federal return, read through the Georgia return: an entry on
// form 104, a loss (below 0) on form 8 or 57, an amount (above 0) on form 44
// or 103.
bool federalEntriesCallForReview(GADataMgmt::GATaxReturn& ga);

}  // namespace GACalculationMgmt
