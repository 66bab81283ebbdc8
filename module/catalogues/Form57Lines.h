// Federal form 57's lines by what they hold: a loss whose absolute value the
// additions add back (a loss below 0 also calls for a review), the amounts
// the retirement exclusion takes off the other gains and the other income,
// and two amounts whose sum above 0 calls for a review.
#pragma once

#include <array>

#include "module/catalogues/Form57FieldIds.h"
#include "platform/Primitives.h"

struct Form57Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line loss;
    Line gainsTakenOff, incomeTakenOff;
    std::array<Primitives::QVImmutableIdentifier, 2> reviewedPair;
};

inline constexpr Form57Lines kForm57Lines = [] {
    const auto& f57 = kForm57FieldIds;
    return Form57Lines{
        .loss = f57.f100,
        .gainsTakenOff = f57.f75,
        .incomeTakenOff = f57.f79,
        .reviewedPair = {f57.f329, f57.f330},
    };
}();
