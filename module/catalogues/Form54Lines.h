// Federal form 54's lines by what they hold: the gambling statement (W-2G),
// whose payer the withholding list names; its state row stands in
// SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form54FieldIds.h"
#include "platform/Primitives.h"

struct Form54Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line payerId;
    Line payerIdOfSecondKind;  // box: the payer's number is of the list's second kind
};

inline constexpr Form54Lines kForm54Lines = [] {
    const auto& w2g = kForm54FieldIds;
    return Form54Lines{
        .payerId = w2g.f4,
        .payerIdOfSecondKind = w2g.f79884,
    };
}();
