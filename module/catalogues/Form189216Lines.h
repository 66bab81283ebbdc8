// Form 189216's lines by what they hold: the credit summary (schedule 2),
// one copy per credit-form copy with a result. The calculation fills a copy
// from its credit form; the review reads the credit used, the barcode and
// the e-file write the copy. The lines carry the calculation's names.
#pragma once

#include <array>

#include "module/catalogues/Form203811Lines.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "platform/Primitives.h"

struct Form189216Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // One row of a pass-through business credit, as form 203811 has it.
    using BusinessRow = Form203811Lines::BusinessRow;

    Line linkedForm, linkedCopy;  // the credit-form copy the summary copy stands for
    Line name, code, taxpayerNumber, copyKind;
    Line added;  // the amount added in the year
    std::array<BusinessRow, 6> rows;
    Line total, firstUsed, creditUsed, remaining;
};

inline constexpr Form189216Lines kForm189216Lines = [] {
    const auto& f = kGAForm189216FieldIds;
    return Form189216Lines{
        .linkedForm = f.f204113,
        .linkedCopy = f.f204114,
        .name = f.f203018,
        .code = f.f199426,
        .taxpayerNumber = f.f189805,
        .copyKind = f.f207108,
        .added = f.f189807,
        .rows = {{
            {.name = f.f189808, .share = f.f189809, .amount = f.f189810, .payerId = f.f189811, .rowTotal = f.f189812},
            {.name = f.f189813, .share = f.f189814, .amount = f.f189815, .payerId = f.f189816, .rowTotal = f.f189817},
            {.name = f.f189818, .share = f.f189819, .amount = f.f189820, .payerId = f.f189821, .rowTotal = f.f189822},
            {.name = f.f204115, .share = f.f204116, .amount = f.f204117, .payerId = f.f204118, .rowTotal = f.f204119},
            {.name = f.f204120, .share = f.f204121, .amount = f.f204122, .payerId = f.f204123, .rowTotal = f.f204124},
            {.name = f.f204125, .share = f.f204126, .amount = f.f204127, .payerId = f.f204128, .rowTotal = f.f204129},
        }},
        .total = f.f189823,
        .firstUsed = f.f189824,
        .creditUsed = f.f189825,
        .remaining = f.f189826,
    };
}();
