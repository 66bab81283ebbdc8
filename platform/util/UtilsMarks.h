// Marks and amounts that the calculation sets on a form copy through the
// host's utility library.
#pragma once

#include "platform/store/DataMgmt.h"

namespace Utils {

// Marks box x when neither box a nor box b is marked yes (x may be one of
// them: setDefaultX(copy, a, b, b) makes a the default of the pair). A null
// identifier counts as unmarked.
void setDefaultX(DataMgmt::TaxFormPtr copy, const Primitives::QVImmutableIdentifier& x,
                 const Primitives::QVImmutableIdentifier& a, const Primitives::QVImmutableIdentifier& b);

// A choice of two boxes: when both are marked, the first stays marked and the
// second is set to "no"; no default is marked.
void handleFilingChoice(DataMgmt::TaxFormPtr copy, const Primitives::QVImmutableIdentifier& a,
                        const Primitives::QVImmutableIdentifier& b);

// Stores an amount into field x as TaxForm::assignIR does: a field the user
// has overridden keeps its value, and 0 is stored as 0.
void maybeSetValue(DataMgmt::TaxFormPtr copy, const Primitives::QVImmutableIdentifier& x, double value);

}  // namespace Utils
