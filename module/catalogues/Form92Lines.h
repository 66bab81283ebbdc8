// Federal form 92's lines by what they hold: named references to the members
// of its catalogue (kForm92FieldIds). Form 92, the federal return's personal
// information, is read by the calculation (names, dates, address), the review
// and the e-file records.
#pragma once

#include "module/catalogues/Form92FieldIds.h"
#include "platform/Primitives.h"

namespace GACalculationMgmt {

struct Form92Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // One filer: name parts, social security number (a text, so that a
    // leading zero survives), birth date and date of death.
    struct Filer {
        Line firstName, middleName, lastName, suffix;
        Line number;
        Line birthDate, dateOfDeath;
    };
    // The filers' address: at home, or abroad when the box says so.
    struct Address {
        Line street, apartment, city, state, zipCode;
        Line abroad;  // box: the address is a foreign one
        Line foreignProvince, foreignPostalCode;
    };
    // The state return's result as the e-file's return information carries
    // it: the refund, or the balance due.
    struct StateResult {
        Line refund, balanceDue;
    };

    Filer taxpayer;
    Filer spouse;
    Address address;
    Line signatureDate;
    StateResult stateResult;
};

inline constexpr Form92Lines kForm92Lines = [] {
    const auto& f92 = kForm92FieldIds;
    return Form92Lines{
        .taxpayer =
            {
                .firstName = f92.f1,
                .middleName = f92.f477,
                .lastName = f92.f3,
                .suffix = f92.f5,
                .number = f92.f7,
                .birthDate = f92.f9,
                .dateOfDeath = f92.f557,
            },
        .spouse =
            {
                .firstName = f92.f2,
                .middleName = f92.f478,
                .lastName = f92.f4,
                .suffix = f92.f6,
                .number = f92.f8,
                .birthDate = f92.f10,
                .dateOfDeath = f92.f558,
            },
        .address =
            {
                .street = f92.f20,
                .apartment = f92.f21,
                .city = f92.f22,
                .state = f92.f23,
                .zipCode = f92.f24,
                .abroad = f92.f545,
                .foreignProvince = f92.f81524,
                .foreignPostalCode = f92.f81525,
            },
        .signatureDate = f92.f843,
        .stateResult =
            {
                .refund = f92.f17994,
                .balanceDue = f92.f17995,
            },
    };
}();

}  // namespace GACalculationMgmt
