// Form 203811's lines by what they hold: a pass-through business credit,
// one credit a copy, named by its entry in the Georgia credit-code table,
// with up to six rows of the entities that pass it on. The calculation
// totals the rows, the credit summary (form 189216) copies the name, the
// code and the lines, and the review asks for each first row's entries.
#pragma once

#include <array>

#include "module/catalogues/GAForm203811FieldIds.h"
#include "platform/Primitives.h"

struct Form203811Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // One row: the entity's name, its share of the credit (in hundredths of
    // a percent, 10000 being the whole), an amount, the entity's
    // identification number and the row's amount in the total.
    struct BusinessRow {
        Line name, share, amount, payerId, rowTotal;

        constexpr std::array<Field, 5> lines() const { return {name, share, amount, payerId, rowTotal}; }
    };

    Line taxpayerNumber;
    Line name, code;   // the credit's name, and its code from the table
    Line added;        // the amount added to the total
    Line moreRowsBox;  // opens rows 2 to 6
    std::array<BusinessRow, 6> rows;
    Line total;
    Line firstUsed;   // at most the total
    Line secondUsed;  // the credit used this year, at most what the first part leaves
    Line remaining;
};

inline constexpr Form203811Lines kForm203811Lines = [] {
    const auto& f = kGAForm203811FieldIds;
    return Form203811Lines{
        .taxpayerNumber = f.f203839,
        .name = f.f203840,
        .code = f.f203841,
        .added = f.f203842,
        .moreRowsBox = f.f203843,
        .rows = {{
            {.name = f.f203844, .share = f.f203845, .amount = f.f203846, .payerId = f.f203847, .rowTotal = f.f203848},
            {.name = f.f203849, .share = f.f203850, .amount = f.f203851, .payerId = f.f203852, .rowTotal = f.f203853},
            {.name = f.f203854, .share = f.f203855, .amount = f.f203856, .payerId = f.f203857, .rowTotal = f.f203858},
            {.name = f.f204130, .share = f.f204131, .amount = f.f204132, .payerId = f.f204133, .rowTotal = f.f204134},
            {.name = f.f204135, .share = f.f204136, .amount = f.f204137, .payerId = f.f204138, .rowTotal = f.f204139},
            {.name = f.f204140, .share = f.f204141, .amount = f.f204142, .payerId = f.f204143, .rowTotal = f.f204144},
        }},
        .total = f.f203859,
        .firstUsed = f.f203860,
        .secondUsed = f.f203861,
        .remaining = f.f203862,
    };
}();
