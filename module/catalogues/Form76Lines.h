// Form 76's lines by what they hold: the document list, the filers' names
// and a row of four fields (first name, last name, number, relationship) for
// every dependent that the federal return lists. The calculation fills it and
// the e-file writes its rows.
#pragma once

#include "module/catalogues/GAForm76FieldIds.h"
#include "platform/Primitives.h"

struct Form76Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line mark;  // a box set on every calculation
    Line rowCount;
    Line taxpayerName, taxpayerNumber, spouseName, spouseNumber;
    // The rows start at the first, the second gives the distance from row to
    // row in the form's field order, and the last closes the row area.
    Line firstRow, secondRow, rowsEnd;
};

inline constexpr Form76Lines kForm76Lines = [] {
    const auto& f76 = kGAForm76FieldIds;
    return Form76Lines{
        .mark = f76.f1,
        .rowCount = f76.f2,
        .taxpayerName = f76.f5,
        .taxpayerNumber = f76.f6,
        .spouseName = f76.f7,
        .spouseNumber = f76.f8,
        .firstRow = f76.f9,
        .secondRow = f76.f13,
        .rowsEnd = f76.f108,
    };
}();
