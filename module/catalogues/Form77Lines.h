// Form 77's lines by what they hold: the payment voucher of a balance due,
// of a return on paper or filed electronically, or of the amended return's
// amount owed. The calculation fills it and the result printout reads the
// amount and the scan line.
#pragma once

#include "module/catalogues/GAForm77FieldIds.h"
#include "module/catalogues/VoucherLines.h"
#include "platform/Primitives.h"

struct Form77Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    VoucherLines voucher;
    Line always;               // a box every voucher marks
    Line onPaper, electronic;  // boxes: how the return is filed
    Line forAmendedReturn;     // box: the voucher pays the amended return's amount owed
    Line formCode;
};

inline constexpr Form77Lines kForm77Lines = [] {
    const auto& f77 = kGAForm77FieldIds;
    return Form77Lines{
        .voucher =
            {
                .name = f77.f5,
                .number = f77.f1,
                .spouseNumber = f77.f4,
                .street = f77.f7,
                .city = f77.f8,
                .state = f77.f9,
                .zipCode = f77.f10,
                .federalReference = f77.f11,
                .taxYear = f77.f155789,
                .amount = f77.f3,
                .scanLine = f77.f12,
            },
        .always = f77.f133317,
        .onPaper = f77.f24016,
        .electronic = f77.f24017,
        .forAmendedReturn = f77.f148019,
        .formCode = f77.f13,
    };
}();
