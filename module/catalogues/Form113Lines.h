// Federal form 113's lines by what they hold: one dependent, a copy. Form 70
// lists the first four dependents of the return, the document list (form
// 76) every dependent listed on the return.
#pragma once

#include <array>

#include "module/catalogues/Form113FieldIds.h"
#include "platform/Primitives.h"

struct Form113Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // First name, last name, social security number and relationship, in
    // the order of a row of form 70 or form 76.
    std::array<Primitives::QVImmutableIdentifier, 4> row;
    Line listed;  // box: the dependent is listed on the return
};

inline constexpr Form113Lines kForm113Lines = [] {
    const auto& f113 = kForm113FieldIds;
    return Form113Lines{
        .row = {f113.f1103, f113.f1105, f113.f1106, f113.f1108},
        .listed = f113.f1136,
    };
}();
