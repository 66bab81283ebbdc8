// Federal form 186662's lines by what they hold: an information return with
// a state row, whose payer the withholding list names; its state row stands
// in SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form186662FieldIds.h"
#include "platform/Primitives.h"

struct Form186662Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line payerId;
};

inline constexpr Form186662Lines kForm186662Lines = [] {
    const auto& f186662 = kForm186662FieldIds;
    return Form186662Lines{
        .payerId = f186662.f186685,
    };
}();
