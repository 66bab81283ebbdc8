// Form 203639's lines by what they hold: the conservation tax credit, one
// credit a copy. The calculation fills its owner, the address of the
// return, the entity that passes the credit on, two amounts and the tax of
// the return, and a summary block that the credit summary (form 189216)
// copies; the interview gives the entity type its choice list.
#pragma once

#include <array>

#include "module/catalogues/Form203811Lines.h"
#include "module/catalogues/GAForm203639FieldIds.h"
#include "platform/Primitives.h"

struct Form203639Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // A row of the summary block, in the layout of a business credit's row.
    using SummaryRow = Form203811Lines::BusinessRow;

    Line taxpayerBox, spouseBox;  // the owner of the credit
    Line ownerName, ownerNumber, street;
    std::array<Field, 3> cityStateZip;
    // The entity block, open with its box: the entity type as a text, its
    // details, and the last field of the block.
    Line entityBlockBox, entityType;
    std::array<Field, 3> entityDetails;
    Line entityBlockLast;
    // The entity type as boxes, one marked.
    Line otherEntityBox, sCorporationBox, partnershipBox, spareEntityBox, trustBox;
    Line firstAmount, secondAmount, sum, tax, excess;
    // The summary block: the credit's code, the second amount added to the
    // credit of the year, three rows (the first ends in the credit of the
    // year, the first amount; the other two in amounts entered and added to
    // it), the total available, the two amounts used and what remains.
    Line code, secondAmountLine;
    std::array<SummaryRow, 3> summaryRows;
    Line total, firstUsed, secondUsed, remaining;
};

inline constexpr Form203639Lines kForm203639Lines = [] {
    const auto& f = kGAForm203639FieldIds;
    return Form203639Lines{
        .taxpayerBox = f.f203790,
        .spouseBox = f.f203791,
        .ownerName = f.f203667,
        .ownerNumber = f.f203668,
        .street = f.f203669,
        .cityStateZip = {f.f203675, f.f203676, f.f203677},
        .entityBlockBox = f.f203792,
        .entityType = f.f203793,
        .entityDetails = {f.f203678, f.f203679, f.f203794},
        .entityBlockLast = f.f203681,
        .otherEntityBox = f.f203673,
        .sCorporationBox = f.f203670,
        .partnershipBox = f.f203671,
        .spareEntityBox = f.f203672,
        .trustBox = f.f203674,
        .firstAmount = f.f203683,
        .secondAmount = f.f203684,
        .sum = f.f203685,
        .tax = f.f203686,
        .excess = f.f203687,
        .code = f.f203915,
        .secondAmountLine = f.f203916,
        .summaryRows = {{
            {.name = f.f203917, .share = f.f203918, .amount = f.f203919, .payerId = f.f203920, .rowTotal = f.f203921},
            {.name = f.f205657, .share = f.f205659, .amount = f.f205661, .payerId = f.f205663, .rowTotal = f.f203922},
            {.name = f.f205658, .share = f.f205660, .amount = f.f205662, .payerId = f.f205664, .rowTotal = f.f203923},
        }},
        .total = f.f203924,
        .firstUsed = f.f203925,
        .secondUsed = f.f203926,
        .remaining = f.f203927,
    };
}();
