// Federal form 104's lines by what they hold: which main form the federal
// return was filed on, and the entries and marks that call for a review of
// form 70 (the first entry also of the additions and subtractions).
#pragma once

#include <array>

#include "module/catalogues/Form104FieldIds.h"
#include "platform/Primitives.h"

struct Form104Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // Boxes: the federal return was filed on form 87, on form 55 (asked
    // after the first).
    Line filedOnForm87, filedOnForm55;
    Line reviewedEntry;  // any value, or a mark
    std::array<Primitives::QVImmutableIdentifier, 3> reviewedMarks;
};

inline constexpr Form104Lines kForm104Lines = [] {
    const auto& f104 = kForm104FieldIds;
    return Form104Lines{
        .filedOnForm87 = f104.f183,
        .filedOnForm55 = f104.f181,
        .reviewedEntry = f104.f102,
        .reviewedMarks = {f104.f106, f104.f114, f104.f118},
    };
}();
