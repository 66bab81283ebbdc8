// Federal form 2's lines by what they hold: the itemized deductions. Form 70
// and the part-year schedule take their income-tax adjustment from it, form
// 70 one amount as it stands, and the health-plan subtraction shares the
// medical deduction.
#pragma once

#include <array>

#include "module/catalogues/Form2FieldIds.h"
#include "platform/Primitives.h"

struct Form2Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line medicalExpenses, medicalDeducted;
    Line form70Amount;  // copied into form 70 as it stands
    // The income-tax adjustment of the itemized deductions: asked for (a
    // box), the income tax deducted, and the amount its share applies to,
    // less two further lines.
    Line incomeTaxAdjustmentBox;
    Line incomeTaxDeducted;
    Line adjustmentBase;
    std::array<Primitives::QVImmutableIdentifier, 2> takenOffBase;
};

inline constexpr Form2Lines kForm2Lines = [] {
    const auto& f2 = kForm2FieldIds;
    return Form2Lines{
        .medicalExpenses = f2.f7,
        .medicalDeducted = f2.f9,
        .form70Amount = f2.f32,
        .incomeTaxAdjustmentBox = f2.f14405,
        .incomeTaxDeducted = f2.f10,
        .adjustmentBase = f2.f203981,
        .takenOffBase = {f2.f17, f2.f188},
    };
}();
