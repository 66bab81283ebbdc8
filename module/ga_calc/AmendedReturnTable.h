// The figures of form 70 that the amended return (form 189219) repeats.
#pragma once

#include <array>

#include "platform/Primitives.h"

namespace GACalculationMgmt {

// One figure: its line on form 70 and its line on form 189219.
struct AmendedCopy {
    Primitives::QVImmutableIdentifier mainForm;
    Primitives::QVImmutableIdentifier amended;
};

// In the order they are copied.
extern const std::array<AmendedCopy, 164> kAmendedReturnCopies;

}  // namespace GACalculationMgmt
