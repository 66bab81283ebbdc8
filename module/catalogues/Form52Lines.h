// Federal form 52's lines by what they hold: the wage statement (W-2). The
// state wages worksheet takes the wages of box 1, the withholding list the
// employer's number; the state rows stand in SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form52FieldIds.h"
#include "platform/Primitives.h"

struct Form52Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line employerId;  // box b
    Line wages;       // box 1
};

inline constexpr Form52Lines kForm52Lines = [] {
    const auto& w2 = kForm52FieldIds;
    return Form52Lines{
        .employerId = w2.f7,
        .wages = w2.f21,
    };
}();
