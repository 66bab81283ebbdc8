// The lines of federal forms 31 and 126, which hold an amount and its date
// alike: the state calculation adds the amounts by year for the review
// indicators of the additions and subtractions.
#pragma once

#include "module/catalogues/Form126FieldIds.h"
#include "module/catalogues/Form31FieldIds.h"
#include "platform/Primitives.h"

struct DatedAmountLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line date, amount;
};

inline constexpr DatedAmountLines kForm31Lines = [] {
    const auto& f31 = kForm31FieldIds;
    return DatedAmountLines{.date = f31.f3, .amount = f31.f135};
}();

inline constexpr DatedAmountLines kForm126Lines = [] {
    const auto& f126 = kForm126FieldIds;
    return DatedAmountLines{.date = f126.f33, .amount = f126.f36};
}();
