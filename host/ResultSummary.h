// The Georgia result of a calculated return, as a person reads it: filing
// status and residency, income, deductions and exemptions, taxable income,
// tax and credits, payments, and the refund or the amount owed.
#pragma once

#include <ostream>

#include "platform/store/StateDataMgmt.h"

namespace GAHost {

// Writes the result of the Georgia return's main form (form 70, copy 1) and
// the return's own e-file summary item. A return whose main form does not
// exist yet (not calculated) gets one line that says so.
void printGeorgiaResult(std::ostream& out, StateDataMgmt::StateTaxReturn& georgia);

}  // namespace GAHost
