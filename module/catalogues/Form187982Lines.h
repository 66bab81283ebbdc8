// Form 187982's lines by what they hold: the voucher of a payment with an
// extension of time to file, of the amount owed or of an amount the filer
// enters. The calculation fills it.
#pragma once

#include "module/catalogues/GAForm187982FieldIds.h"
#include "module/catalogues/VoucherLines.h"
#include "platform/Primitives.h"

struct Form187982Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    VoucherLines voucher;
    Line always;  // a box every voucher marks
    Line formCode;
    Line amountEntered;  // box: the filer enters the amount paid
};

inline constexpr Form187982Lines kForm187982Lines = [] {
    const auto& f187982 = kGAForm187982FieldIds;
    return Form187982Lines{
        .voucher =
            {
                .name = f187982.f187991,
                .number = f187982.f187998,
                .spouseNumber = f187982.f187999,
                .street = f187982.f187992,
                .city = f187982.f187994,
                .state = f187982.f187995,
                .zipCode = f187982.f187996,
                .federalReference = f187982.f188002,
                .taxYear = f187982.f188000,
                .amount = f187982.f188005,
                .scanLine = f187982.f188006,
            },
        .always = f187982.f187997,
        .formCode = f187982.f188001,
        .amountEntered = f187982.f188004,
    };
}();
