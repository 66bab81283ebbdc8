// Federal form 165's lines by what they hold: the government payments
// statement (1099-G), amounts in hundredths. The calculation takes its
// Georgia withholding into the withholding entries, the review checks what
// an e-file needs of it and the e-file writes it.
#pragma once

#include <array>

#include "module/catalogues/Form165FieldIds.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "platform/Primitives.h"

struct Form165Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // A state row: the state's code, its tax withheld and the payer's state
    // identification number; its amount stands outside the rows.
    using StateRow = SourceStateRow;

    Line recipientNumber;
    Line payerName, payerId, payerStreet, payerCity, payerState, payerZipCode, payerTelephone;
    Line recipientStreet, recipientCity, recipientState, recipientZipCode;
    Line recipientApartment;
    std::array<Field, 4> recipientName;         // first, middle, last, suffix
    Line taxpayersStatement, spousesStatement;  // boxes: whose statement it is
    Line unemployment;                          // unemployment compensation
    // The statement's kind: unemployment compensation, or taxable grants and
    // payments (the sum of the three grant amounts).
    Line unemploymentBox, grantsBox;
    std::array<Field, 3> grants;
    // The amounts the e-file needs not below 0.
    std::array<Field, 7> amounts;
    std::array<SourceStateRow, 2> stateRows;
};

inline constexpr Form165Lines kForm165Lines = [] {
    const auto& f = kForm165FieldIds;
    return Form165Lines{
        .recipientNumber = f.f5,
        .payerName = f.f10,
        .payerId = f.f26,
        .payerStreet = f.f30,
        .payerCity = f.f31,
        .payerState = f.f32,
        .payerZipCode = f.f33,
        .payerTelephone = f.f34,
        .recipientStreet = f.f35,
        .recipientCity = f.f37,
        .recipientState = f.f38,
        .recipientZipCode = f.f39,
        .recipientApartment = f.f36,
        .recipientName = {f.f20719, f.f20720, f.f20721, f.f20722},
        .taxpayersStatement = f.f22,
        .spousesStatement = f.f23,
        .unemployment = f.f11,
        .unemploymentBox = f.f20717,
        .grantsBox = f.f20718,
        .grants = {f.f24555, f.f18, f.f19},
        .amounts = {f.f11, f.f12, f.f15, f.f16, f.f24555, f.f18, f.f19},
        .stateRows = {{
            {.state = f.f17, .withheld = f.f16, .stateId = f.f28},
            {.state = f.f144118, .withheld = f.f144120, .stateId = f.f144119},
        }},
    };
}();
