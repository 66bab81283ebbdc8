// The lines that the payment voucher (form 77) and the extension voucher
// (form 187982) share: the filers, their address, a text of the federal
// return, the tax year, the amount paid and the scan line. Each voucher's
// own lines stand in Form77Lines.h and Form187982Lines.h.
#pragma once

#include "platform/Primitives.h"

struct VoucherLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line name;  // the filers, in upper case
    Line number, spouseNumber;
    Line street, city, state, zipCode;
    Line federalReference;  // the reference text of federal form 92
    Line taxYear;
    Line amount;
    Line scanLine;
};
