#include "module/ga_calc/FederalReview.h"

#include <algorithm>

#include "module/catalogues/FederalReviewLines.h"

namespace GACalculationMgmt {

bool federalEntriesCallForReview(GADataMgmt::GATaxReturn& ga) {
    const FederalReviewLines& r = kFederalReviewLines;
    auto amount = [&](const FederalLine& line) { return ga.getIR(line.form, 1, line.field); };
    return ga.hasSigValue(r.entry.form, 1, r.entry.field) ||
           std::any_of(r.losses.begin(), r.losses.end(), [&](const FederalLine& l) { return amount(l) < 0; }) ||
           std::any_of(r.amounts.begin(), r.amounts.end(), [&](const FederalLine& l) { return amount(l) > 0; });
}

}  // namespace GACalculationMgmt
