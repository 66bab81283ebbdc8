// Form 189219's lines by what they hold, as the review and the barcode read
// the amended return: the payments and credits the amendment repeats, the
// explanation of the changes, and the identification numbers it copies from
// form 70 (written without dashes). The lines carry the calculation's
// names.
#pragma once

#include <array>

#include "module/catalogues/GAForm189219FieldIds.h"
#include "platform/Primitives.h"

struct Form189219Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line otherStateCredit, individualCredits;  // form 70's, repeated
    Line otherWithheld;
    Line paidWithOriginal;  // entered
    Line refundsReceived;   // entered
    // The explanation of the changes, over up to four lines.
    std::array<Primitives::QVImmutableIdentifier, 4> explanation;
    Line federalReference;  // form 70's reference from federal form 92
    // The state identification numbers of form 70's six withholding
    // entries.
    std::array<Primitives::QVImmutableIdentifier, 6> entryStateIds;
};

inline constexpr Form189219Lines kForm189219Lines = [] {
    const auto& f = kGAForm189219FieldIds;
    return Form189219Lines{
        .otherStateCredit = f.f190071,
        .individualCredits = f.f190072,
        .otherWithheld = f.f189640,
        .paidWithOriginal = f.f189643,
        .refundsReceived = f.f189645,
        .explanation = {f.f189660, f.f189661, f.f190146, f.f190147},
        .federalReference = f.f189662,
        .entryStateIds = {f.f190101, f.f190102, f.f190103, f.f190137, f.f190138, f.f190139},
    };
}();
