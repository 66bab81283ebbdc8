// The lines of federal forms 51 and 89, the other sources of the interest
// and dividend statements, which hold the same amounts in whole dollars:
// interest with its U.S.-obligation part and its municipal part (with the
// in-state part of that), dividends with their U.S.-obligation part, and
// whether the source is the spouse's.
#pragma once

#include "module/catalogues/Form51FieldIds.h"
#include "module/catalogues/Form89FieldIds.h"
#include "platform/Primitives.h"

struct OtherIntDivSourceLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line payer;
    Line interest, interestUsObligations, municipalInterest, inStateMunicipalInterest;
    Line dividends, dividendsUsObligations;
    Line spouse;  // box
};

inline constexpr OtherIntDivSourceLines kForm51Lines = [] {
    const auto& f51 = kForm51FieldIds;
    return OtherIntDivSourceLines{
        .payer = f51.f5,
        .interest = f51.f17,
        .interestUsObligations = f51.f341,
        .municipalInterest = f51.f209,
        .inStateMunicipalInterest = f51.f383,
        .dividends = f51.f18,
        .dividendsUsObligations = f51.f381,
        .spouse = f51.f367,
    };
}();

inline constexpr OtherIntDivSourceLines kForm89Lines = [] {
    const auto& f89 = kForm89FieldIds;
    return OtherIntDivSourceLines{
        .payer = f89.f9,
        .interest = f89.f15,
        .interestUsObligations = f89.f139,
        .municipalInterest = f89.f130,
        .inStateMunicipalInterest = f89.f153,
        .dividends = f89.f16,
        .dividendsUsObligations = f89.f151,
        .spouse = f89.f146,
    };
}();
