// Federal form 78's lines by what they hold: two boxes, either of which on a
// copy marks the information form's box of that copy and calls for a review
// of form 70.
#pragma once

#include <array>

#include "module/catalogues/Form78FieldIds.h"
#include "platform/Primitives.h"

struct Form78Lines {
    std::array<Primitives::QVImmutableIdentifier, 2> reviewedBoxes;
};

inline constexpr Form78Lines kForm78Lines = [] {
    const auto& f78 = kForm78FieldIds;
    return Form78Lines{
        .reviewedBoxes = {f78.f11981, f78.f120},
    };
}();
