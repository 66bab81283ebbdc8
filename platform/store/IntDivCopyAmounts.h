// One copy of a 1099-INT (federal form 166) or a 1099-DIV (federal form 164)
// by the categories of the interest and dividend statements of the state
// return, in dollars, with its adjustment (form 166 field 27, form 164 field
// 32) taken off as the statements take it: the one arithmetic that the
// statements and the items derived from the federal return (DerivedItems.h)
// share, so that the federal column and the statements count a copy alike.
#pragma once

#include <functional>

#include "platform/Primitives.h"

namespace PersistanceMgmt {

// What one copy gives its statement by category, and the federal item.
struct IntDivCategories {
    double sourceTotal = 0.0;
    double regularAmount = 0.0;
    double usObligationAmount = 0.0;
    double municipalTotal = 0.0;
    double inStateMunicipal = 0.0;
    double outOfStateMunicipal = 0.0;
    bool hasIncome = false;
    // The copy's part of the federal item, taxable interest (boxes 1 and 3)
    // or ordinary dividends (box 1a), less the part of the adjustment that
    // goes against the regular and U.S.-obligation amounts (the rest goes
    // against the municipal amounts), not below 0. The part is exact, as
    // the federal return takes it off; only the statement's own shares are
    // rounded to the dollar.
    double federalItem = 0.0;
};

// The amount in dollars of a field of the copy; 0 where it holds none.
using CopyAmount = std::function<double(const Primitives::QVImmutableIdentifier&)>;

// A 1099-INT: the adjustment comes off the U.S. obligations alone where the
// copy's box 25 is marked, else off every category in proportion.
IntDivCategories interestCategories(const CopyAmount& amount, bool adjustmentAgainstUsOnly);

// A 1099-DIV: the adjustment comes off every category in proportion; a copy
// of restricted stock (box 19) is shown by its total alone.
IntDivCategories dividendCategories(const CopyAmount& amount, bool restrictedStock);

}  // namespace PersistanceMgmt
