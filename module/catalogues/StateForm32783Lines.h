// State form 32783's lines by what they hold: the Georgia return's result as
// the federal return shows each state's, and the residency, income and tax
// of another state's return. The Georgia after-calculation step fills it and
// the federal field mapping answers with its lines.
#pragma once

#include "module/catalogues/StateForm32783FieldIds.h"
#include "platform/Primitives.h"

struct StateForm32783Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line overpaid, due, furtherEstimated, credited;
    Line residency;  // "Full-year resident", "Part-year resident" or "Nonresident"
    Line income, tax;
};

inline constexpr StateForm32783Lines kStateForm32783Lines = [] {
    const auto& s32783 = kStateForm32783FieldIds;
    return StateForm32783Lines{
        .overpaid = s32783.f32784,
        .due = s32783.f32785,
        .furtherEstimated = s32783.f32786,
        .credited = s32783.f32787,
        .residency = s32783.f133645,
        .income = s32783.f133646,
        .tax = s32783.f133647,
    };
}();
