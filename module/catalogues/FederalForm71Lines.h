// Federal form 71's lines by what they hold: an amount of the taxpayer and
// one of the spouse (added on a joint return), which the subtractions take
// onto form 189215.
#pragma once

#include "module/catalogues/Form71FieldIds.h"
#include "platform/Primitives.h"

struct FederalForm71Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line taxpayerAmount, spouseAmount;
};

inline constexpr FederalForm71Lines kFederalForm71Lines = [] {
    const auto& f71 = kForm71FieldIds;
    return FederalForm71Lines{
        .taxpayerAmount = f71.f67,
        .spouseAmount = f71.f68,
    };
}();
