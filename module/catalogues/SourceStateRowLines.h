// The state rows of the federal source documents by what they hold: the
// state's two-letter code, the state tax withheld, the payer's state
// identification number and the state amount (wages, winnings, income,
// distributions), with the local tax and the locality's name where the
// document has them. Amounts are held in hundredths.
//
// The statement-form table (platform/store/StatementForms.h) names each
// form's rows; the host's state tax withheld, the Georgia withholding list
// and the preparer's notes read them from there, and the review's e-file
// check of the state data walks the same rows.
#pragma once

#include <array>

#include "module/catalogues/Form110FieldIds.h"
#include "module/catalogues/Form135FieldIds.h"
#include "module/catalogues/Form164FieldIds.h"
#include "module/catalogues/Form166FieldIds.h"
#include "module/catalogues/Form186662FieldIds.h"
#include "module/catalogues/Form52FieldIds.h"
#include "module/catalogues/Form54FieldIds.h"
#include "module/catalogues/Form84FieldIds.h"
#include "platform/Primitives.h"

// One state row; a null field is one the document's row does not have.
struct SourceStateRow {
    using Field = Primitives::QVImmutableIdentifier;

    Field state;
    Field withheld;
    Field stateId;
    Field amount = Primitives::kNullFieldID;
    Field otherAmount = Primitives::kNullFieldID;  // added to the amount
    Field localTax = Primitives::kNullFieldID;
    Field locality = Primitives::kNullFieldID;
};

// The wage statement (W-2, form 52): boxes 15 to 20 of its four state rows.
inline constexpr std::array<SourceStateRow, 4> kForm52StateRows = [] {
    const auto& f = kForm52FieldIds;
    return std::array<SourceStateRow, 4>{{
        {.state = f.f34, .withheld = f.f32, .stateId = f.f8, .amount = f.f33, .localTax = f.f37, .locality = f.f35},
        {.state = f.f99, .withheld = f.f97, .stateId = f.f107, .amount = f.f98, .localTax = f.f102, .locality = f.f100},
        {.state = f.f27781,
         .withheld = f.f27784,
         .stateId = f.f27782,
         .amount = f.f27783,
         .localTax = f.f27787,
         .locality = f.f27786},
        {.state = f.f27788,
         .withheld = f.f27791,
         .stateId = f.f27789,
         .amount = f.f27790,
         .localTax = f.f27794,
         .locality = f.f27793},
    }};
}();

// The gambling statement (W-2G, form 54): the state's winnings.
inline constexpr std::array<SourceStateRow, 1> kForm54StateRows = [] {
    const auto& f = kForm54FieldIds;
    return std::array<SourceStateRow, 1>{{
        {.state = f.f28,
         .withheld = f.f25,
         .stateId = f.f24,
         .amount = f.f12,
         .localTax = f.f144140,
         .locality = f.f144139},
    }};
}();

// The 1099-MISC (form 110).
inline constexpr std::array<SourceStateRow, 2> kForm110StateRows = [] {
    const auto& f = kForm110FieldIds;
    return std::array<SourceStateRow, 2>{{
        {.state = f.f46, .withheld = f.f45, .stateId = f.f48, .amount = f.f131},
        {.state = f.f133, .withheld = f.f132, .stateId = f.f134, .amount = f.f135},
    }};
}();

// Form 186662.
inline constexpr std::array<SourceStateRow, 1> kForm186662StateRows = [] {
    const auto& f = kForm186662FieldIds;
    return std::array<SourceStateRow, 1>{{
        {.state = f.f186735, .withheld = f.f186737, .stateId = f.f186736, .amount = f.f186714},
    }};
}();

// The 1099-R (form 84): the state's distribution.
inline constexpr std::array<SourceStateRow, 2> kForm84StateRows = [] {
    const auto& f = kForm84FieldIds;
    return std::array<SourceStateRow, 2>{{
        {.state = f.f33, .withheld = f.f30, .stateId = f.f31, .amount = f.f134, .localTax = f.f65, .locality = f.f64},
        {.state = f.f169,
         .withheld = f.f168,
         .stateId = f.f170,
         .amount = f.f171,
         .localTax = f.f173,
         .locality = f.f172},
    }};
}();

// The 1099-INT (form 166): the state amount is the statement's interest,
// box 1 for the first two rows and the two further interest amounts for the
// last two.
inline constexpr std::array<SourceStateRow, 4> kForm166StateRows = [] {
    const auto& f = kForm166FieldIds;
    return std::array<SourceStateRow, 4>{{
        {.state = f.f133633, .withheld = f.f133635, .stateId = f.f133634, .amount = f.f10},
        {.state = f.f144125, .withheld = f.f144127, .stateId = f.f144126, .amount = f.f10},
        {.state = f.f133636, .withheld = f.f133638, .stateId = f.f133637, .amount = f.f17, .otherAmount = f.f18},
        {.state = f.f144130, .withheld = f.f144132, .stateId = f.f144131, .amount = f.f17, .otherAmount = f.f18},
    }};
}();

// The 1099-DIV (form 164): its state amount stands outside the rows.
inline constexpr std::array<SourceStateRow, 2> kForm164StateRows = [] {
    const auto& f = kForm164FieldIds;
    return std::array<SourceStateRow, 2>{{
        {.state = f.f133765, .withheld = f.f133767, .stateId = f.f133766},
        {.state = f.f144115, .withheld = f.f144117, .stateId = f.f144116},
    }};
}();

// The consolidated statement (form 135).
inline constexpr std::array<SourceStateRow, 2> kForm135StateRows = [] {
    const auto& f = kForm135FieldIds;
    return std::array<SourceStateRow, 2>{{
        {.state = f.f163202, .withheld = f.f163204, .stateId = f.f163203},
        {.state = f.f163205, .withheld = f.f163207, .stateId = f.f163206},
    }};
}();
