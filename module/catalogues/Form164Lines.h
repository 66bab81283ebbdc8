// Federal form 164's lines by what they hold: the dividend statement
// (1099-DIV), amounts in hundredths. The dividend statement of the state
// return takes its amounts by category, and the source links take its
// amount; its state rows stand in SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form164FieldIds.h"
#include "platform/Primitives.h"

struct Form164Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line payer;
    Line ordinaryDividends;     // box 1a
    Line usObligationsPercent;  // the U.S.-obligation share of box 1a, in percent
    Line exemptInterestDividends, georgiaExemptInterestDividends;
    // Box 2a, and a further amount; both share the adjustment with the
    // dividends.
    Line capitalGainDividends, furtherAmount;
    Line adjustment;       // taken off the dividends in proportion
    Line restrictedStock;  // box: listed without categories
    Line spouse, joint;    // boxes: whose statement it is
};

inline constexpr Form164Lines kForm164Lines = [] {
    const auto& f164 = kForm164FieldIds;
    return Form164Lines{
        .payer = f164.f5,
        .ordinaryDividends = f164.f6,
        .usObligationsPercent = f164.f40,
        .exemptInterestDividends = f164.f41,
        .georgiaExemptInterestDividends = f164.f52,
        .capitalGainDividends = f164.f7,
        .furtherAmount = f164.f11,
        .adjustment = f164.f32,
        .restrictedStock = f164.f19,
        .spouse = f164.f3,
        .joint = f164.f4,
    };
}();
