// Form 72's lines by what they hold: named references to the members of its
// catalogue (kGAForm72FieldIds). Form 72, the e-filed return's summary with
// the refund's bank account, is filled by the calculation and written into
// the e-file's 8453 record.
#pragma once

#include <array>

#include "module/catalogues/GAForm72FieldIds.h"
#include "platform/Primitives.h"

struct Form72Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The filers as the information form names them.
    Line taxpayerFirstName, taxpayerMiddleName, taxpayerLastName;
    std::array<Primitives::QVImmutableIdentifier, 3> spouseNameTexts;  // first, middle and last name
    Line taxpayerNumber, spouseNumber;
    Line street, apartment, city, state, zipCode;
    Line federalText;  // the text of federal form 92 field 671
    // Summary lines of the return.
    Line federalAgi, taxableIncome, netTax, refund, amountOwed;
    // The bank account a refund is paid into.
    Line routingNumber, accountNumber, checking, savings;
    // How the refund is paid: by check, or deposited; a third box is left
    // unmarked.
    Line refundByCheck, refundDeposited, unused;
    Line fromFederalForm43;  // carried from federal forms 43 and 155
};

inline constexpr Form72Lines kForm72Lines = [] {
    const auto& f72 = kGAForm72FieldIds;
    return Form72Lines{
        .taxpayerFirstName = f72.f3,
        .taxpayerMiddleName = f72.f4,
        .taxpayerLastName = f72.f5,
        .spouseNameTexts = {f72.f7, f72.f8, f72.f9},
        .taxpayerNumber = f72.f6,
        .spouseNumber = f72.f10,
        .street = f72.f11,
        .apartment = f72.f12,
        .city = f72.f13,
        .state = f72.f14,
        .zipCode = f72.f15,
        .federalText = f72.f16,
        .federalAgi = f72.f17,
        .taxableIncome = f72.f18,
        .netTax = f72.f19,
        .refund = f72.f20,
        .amountOwed = f72.f21,
        .routingNumber = f72.f22,
        .accountNumber = f72.f23,
        .checking = f72.f25,
        .savings = f72.f24,
        .refundByCheck = f72.f48185,
        .refundDeposited = f72.f48187,
        .unused = f72.f48186,
        .fromFederalForm43 = f72.f1,
    };
}();
