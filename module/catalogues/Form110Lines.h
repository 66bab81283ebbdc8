// Federal form 110's lines by what they hold: the 1099-MISC, whose payer the
// withholding list names; its state rows stand in SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form110FieldIds.h"
#include "platform/Primitives.h"

struct Form110Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line payerId;
};

inline constexpr Form110Lines kForm110Lines = [] {
    const auto& f110 = kForm110FieldIds;
    return Form110Lines{
        .payerId = f110.f20,
    };
}();
