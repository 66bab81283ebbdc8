// Federal form 133618's lines by what they hold: a state return of the
// federal return, one a copy. The other-state credit (form 73) takes the
// income and the tax of a nonresident return in another state, and the
// frame maps the residency, the income and the tax onto state form 32783.
#pragma once

#include "module/catalogues/Form133618FieldIds.h"
#include "platform/Primitives.h"

struct Form133618Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line state;      // the state's two-letter code
    Line residency;  // "Nonresident" for the returns that form 73 takes
    Line income;     // the income that state taxed
    Line tax;        // the tax paid to it
};

inline constexpr Form133618Lines kForm133618Lines = [] {
    const auto& f = kForm133618FieldIds;
    return Form133618Lines{
        .state = f.f133651,
        .residency = f.f133652,
        .income = f.f133653,
        .tax = f.f133654,
    };
}();
