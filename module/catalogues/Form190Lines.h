// Federal form 190's lines by what they hold: the estimated and other state
// tax payments, in rows. The first group's rows hold a date, an amount and a
// state (and, further on, a box that leaves the row off the information
// form); the second group's and the rows by state hold an amount and a
// state after their first field. The state calculation carries the Georgia
// rows onto the information form, the income-tax adjustment counts the other
// states' rows and the payments.
//
// A group is walked by position: from its first row's first field, by the
// distance to the second row's, up to its last row's first field.
#pragma once

#include <array>

#include "module/catalogues/Form190FieldIds.h"
#include "platform/Primitives.h"

struct Form190Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    struct RowGroup {
        Line firstRow, secondRow, lastRow;
    };

    RowGroup datedRows;
    // The columns of the first dated row, which give every row's offsets.
    Line firstAmount, firstState, firstExclusion;
    RowGroup secondGroup;
    RowGroup rowsByState;
    // The payments that count toward the income-tax adjustment.
    std::array<Primitives::QVImmutableIdentifier, 4> paid;
};

inline constexpr Form190Lines kForm190Lines = [] {
    const auto& f190 = kForm190FieldIds;
    return Form190Lines{
        .datedRows = {f190.f10, f190.f13, f190.f37},
        .firstAmount = f190.f11,
        .firstState = f190.f12,
        .firstExclusion = f190.f127,
        .secondGroup = {f190.f72, f190.f75, f190.f81},
        .rowsByState = {f190.f98, f190.f101, f190.f107},
        .paid = {f190.f71, f190.f84, f190.f97, f190.f123},
    };
}();
