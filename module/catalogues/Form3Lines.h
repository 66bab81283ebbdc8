// Federal form 3's lines by what they hold: the interest it reports, which
// the interest statement of a return filed on form 1 or 55 takes off its
// U.S. obligations.
#pragma once

#include "module/catalogues/Form3FieldIds.h"
#include "platform/Primitives.h"

struct Form3Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line interest;
};

inline constexpr Form3Lines kForm3Lines = [] {
    const auto& f3 = kForm3FieldIds;
    return Form3Lines{
        .interest = f3.f68,
    };
}();
