// Federal form 84's lines by what they hold: the retirement distribution
// statement (1099-R), amounts in hundredths. The withholding list names its
// payer, the additions take its lump-sum amount, the subtractions its gross
// distribution under one key, the review checks its amounts, and the notes
// hold the pension and IRA items to its taxable amount; its state
// rows stand in SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form84FieldIds.h"
#include "platform/Primitives.h"

struct Form84Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line payerId;
    Line grossDistribution;
    // Box 2a, what of the gross distribution is taxable: each filer's pension
    // and IRA items are held to it, or to the gross distribution of a copy
    // that leaves it empty.
    Line taxableAmount;
    Line distributionKey;  // the key under which the gross distribution counts
    Line spouse;           // box: the spouse's statement, which a return not joint holds none of
    // A lump-sum amount, added when either box says yes.
    Line lumpSumBox1, lumpSumBox2, lumpSum;
};

inline constexpr Form84Lines kForm84Lines = [] {
    const auto& f84 = kForm84FieldIds;
    return Form84Lines{
        .payerId = f84.f11,
        .grossDistribution = f84.f4,
        .taxableAmount = f84.f6,
        .distributionKey = f84.f425,
        .spouse = f84.f2,
        .lumpSumBox1 = f84.f67,
        .lumpSumBox2 = f84.f68,
        .lumpSum = f84.f8,
    };
}();
