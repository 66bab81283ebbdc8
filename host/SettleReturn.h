// The settle step of gahost run and gahost interview: the Georgia return is
// calculated again until a calculation changes no field of it. The order in
// which the module calculates its forms lets some fields read others of the
// previous calculation (form 69's withdrawal amount reads form 70's amount
// owed before form 70 is calculated); once the return has settled, the
// printed, reviewed, reported, e-filed and saved figures are the same.
#pragma once

#include <ostream>
#include <string>

#include "platform/framework/CalcEngine.h"
#include "platform/store/StateDataMgmt.h"

namespace GAHost {

// The most whole-return calculations the step makes.
constexpr int kMaxCalculations = 5;

struct Settling {
    int calculations = 0;  // whole-return calculations made
    bool settled = false;  // the last one changed no Georgia field
    // When it did not settle: a field that the last calculation changed,
    // "form GA70 copy 1 field 106 (5 before, 7 after)".
    std::string stillChanging;
};

// Calculates the whole return with the engine until a calculation leaves
// every field of the Georgia return as it was, at most kMaxCalculations
// times.
Settling settleReturn(CalculationMgmt::TaxReturnCalcEngine& engine, StateDataMgmt::StateTaxReturn& georgia);

// "calculated the Georgia return", and when the return did not settle, a
// line that says so and names a field that still changed.
void reportCalculation(std::ostream& out, const Settling& settling);

}  // namespace GAHost
