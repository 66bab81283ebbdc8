// Form 189216's lines by what they hold: named references to the members of
// its catalogue (kGAForm189216FieldIds). Form 189216, schedule 2, has one
// copy per credit claimed: the calculation fills it from the credit's own
// form, the main form takes its credit used, and the printout and the
// e-file's schedule 2 record read it.
#pragma once

#include <array>

#include "module/catalogues/GAForm189216FieldIds.h"
#include "platform/Primitives.h"

namespace GACalculationMgmt {

struct Form189216Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // One credit row; the e-file writes a row whose amount is above zero.
    struct Row {
        Line first;
        Line hundredths;  // written as a number with two decimals
        Line second;
        Line identification;  // a federal employer number or another
        Line amount;
    };

    Line heading;
    // The credit: its name and code, and the credit form and copy it comes
    // from (the copy kind says which).
    Line name, code, linkedForm, linkedCopy, copyKind;
    Line added;  // the credit added this year
    std::array<Row, 6> rows;
    Line total;  // the credit available
    Line firstUsed, creditUsed;
    Line remaining;  // carried forward
};

inline constexpr Form189216Lines kForm189216Lines = [] {
    const auto& f189216 = kGAForm189216FieldIds;
    return Form189216Lines{
        .heading = f189216.f189805,
        .name = f189216.f203018,
        .code = f189216.f199426,
        .linkedForm = f189216.f204113,
        .linkedCopy = f189216.f204114,
        .copyKind = f189216.f207108,
        .added = f189216.f189807,
        .rows = {{
            {.first = f189216.f189808,
             .hundredths = f189216.f189809,
             .second = f189216.f189810,
             .identification = f189216.f189811,
             .amount = f189216.f189812},
            {.first = f189216.f189813,
             .hundredths = f189216.f189814,
             .second = f189216.f189815,
             .identification = f189216.f189816,
             .amount = f189216.f189817},
            {.first = f189216.f189818,
             .hundredths = f189216.f189819,
             .second = f189216.f189820,
             .identification = f189216.f189821,
             .amount = f189216.f189822},
            {.first = f189216.f204115,
             .hundredths = f189216.f204116,
             .second = f189216.f204117,
             .identification = f189216.f204118,
             .amount = f189216.f204119},
            {.first = f189216.f204120,
             .hundredths = f189216.f204121,
             .second = f189216.f204122,
             .identification = f189216.f204123,
             .amount = f189216.f204124},
            {.first = f189216.f204125,
             .hundredths = f189216.f204126,
             .second = f189216.f204127,
             .identification = f189216.f204128,
             .amount = f189216.f204129},
        }},
        .total = f189216.f189823,
        .firstUsed = f189216.f189824,
        .creditUsed = f189216.f189825,
        .remaining = f189216.f189826,
    };
}();

}  // namespace GACalculationMgmt
