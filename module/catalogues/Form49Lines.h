// Federal form 49's lines by what they hold: a child's interest reported by
// the parents, which the subtractions take over all copies of a return filed
// on form 1.
#pragma once

#include "module/catalogues/Form49FieldIds.h"
#include "platform/Primitives.h"

struct Form49Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line childInterest;
};

inline constexpr Form49Lines kForm49Lines = [] {
    const auto& f49 = kForm49FieldIds;
    return Form49Lines{
        .childInterest = f49.f17,
    };
}();
