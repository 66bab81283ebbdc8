// Form 74's lines by what they hold: the IND-CR summary, which takes the
// credit of each individual credit worksheet (IND-CR 201 to 209) and totals
// them for form 70. The review reads the credits that can be reduced.
#pragma once

#include "module/catalogues/GAForm74FieldIds.h"
#include "platform/Primitives.h"

struct Form74Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line taxpayerNumber;
    // The credit of each worksheet, IND-CR 201 to 209 (lines 1 to 9).
    Line indCr201, indCr202, indCr203, indCr204, indCr205, indCr206, indCr207, indCr208, indCr209;
    Line total;
};

inline constexpr Form74Lines kForm74Lines = [] {
    const auto& f74 = kGAForm74FieldIds;
    return Form74Lines{
        .taxpayerNumber = f74.f4,
        .indCr201 = f74.f19,
        .indCr202 = f74.f35455,
        .indCr203 = f74.f23520,
        .indCr204 = f74.f27,
        .indCr205 = f74.f33,
        .indCr206 = f74.f43,
        .indCr207 = f74.f39,
        .indCr208 = f74.f49777,
        .indCr209 = f74.f69767,
        .total = f74.f44,
    };
}();
