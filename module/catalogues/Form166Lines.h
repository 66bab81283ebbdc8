// Federal form 166's lines by what they hold: the interest statement
// (1099-INT), amounts in hundredths. The interest statement of the state
// return takes its amounts by category; its state rows stand in
// SourceStateRowLines.h.
#pragma once

#include "module/catalogues/Form166FieldIds.h"
#include "platform/Primitives.h"

struct Form166Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The payer's name, or the one used instead when the box is marked.
    Line payer, otherPayer, otherPayerBox;
    Line interest;    // box 1
    Line usTreasury;  // box 3
    Line otherRegular, furtherRegular;
    Line otherUsObligations;
    // Tax-exempt interest: municipal when the second amount is above 0 too,
    // else regular, with the U.S. obligations' part of the regular interest.
    Line taxExempt, municipal, usPartOfRegular;
    Line furtherMunicipal;
    Line inStateMunicipal1, inStateMunicipal2;
    Line adjustment;               // taken off the interest
    Line adjustmentAgainstUsOnly;  // box: the adjustment comes off the U.S. obligations only
    Line spouse, joint;            // boxes: whose statement it is
};

inline constexpr Form166Lines kForm166Lines = [] {
    const auto& f166 = kForm166FieldIds;
    return Form166Lines{
        .payer = f166.f9,
        .otherPayer = f166.f78,
        .otherPayerBox = f166.f77,
        .interest = f166.f10,
        .usTreasury = f166.f12,
        .otherRegular = f166.f17,
        .furtherRegular = f166.f79,
        .otherUsObligations = f166.f54,
        .taxExempt = f166.f18,
        .municipal = f166.f197490,
        .usPartOfRegular = f166.f53,
        .furtherMunicipal = f166.f48,
        .inStateMunicipal1 = f166.f83,
        .inStateMunicipal2 = f166.f84,
        .adjustment = f166.f27,
        .adjustmentAgainstUsOnly = f166.f25,
        .spouse = f166.f3,
        .joint = f166.f4,
    };
}();
