// Federal form 165's lines by what they hold: named references to the
// members of its catalogue (kForm165FieldIds). Form 165, the government
// payments statement (1099-G), feeds the withholding statements, is checked
// by the review and goes into the e-file's 1099-G records. Amounts are kept
// in hundredths.
#pragma once

#include <array>

#include "module/catalogues/Form165FieldIds.h"
#include "platform/Primitives.h"

namespace GACalculationMgmt {

struct Form165Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // One of the two state rows: the state's code, its tax withheld and the
    // payer's state identification number.
    struct StateRow {
        Line code, withheld, stateId;
    };
    struct Address {
        Line street, apartment, city, state, zipCode;
    };

    Line recipientIsTaxpayer;            // box: the taxpayer's statement, else the spouse's
    std::array<Field, 4> recipientName;  // first, middle, last, suffix
    Line recipientNumber;
    Address recipientAddress;
    Line payerName, payerNumber;
    Line payerStreet, payerCity, payerState, payerZipCode, payerPhone;
    Line compensation;
    std::array<StateRow, 2> stateRows;
};

inline constexpr Form165Lines kForm165Lines = [] {
    const auto& f165 = kForm165FieldIds;
    return Form165Lines{
        .recipientIsTaxpayer = f165.f22,
        .recipientName = {f165.f20719, f165.f20720, f165.f20721, f165.f20722},
        .recipientNumber = f165.f5,
        .recipientAddress =
            {
                .street = f165.f35,
                .apartment = f165.f36,
                .city = f165.f37,
                .state = f165.f38,
                .zipCode = f165.f39,
            },
        .payerName = f165.f10,
        .payerNumber = f165.f26,
        .payerStreet = f165.f30,
        .payerCity = f165.f31,
        .payerState = f165.f32,
        .payerZipCode = f165.f33,
        .payerPhone = f165.f34,
        .compensation = f165.f11,
        .stateRows = {{
            {.code = f165.f17, .withheld = f165.f16, .stateId = f165.f28},
            {.code = f165.f144118, .withheld = f165.f144120, .stateId = f165.f144119},
        }},
    };
}();

}  // namespace GACalculationMgmt
