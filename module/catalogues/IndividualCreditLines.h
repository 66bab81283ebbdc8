// The IND-CR worksheets' lines by what they hold (forms 190054 to 190062,
// IND-CR 201 to 209), as the calculation fills them: named members of their
// catalogues. The printout and the e-file's IND-CR record read them too;
// their summary, form 74, has Form74Lines.
#pragma once

#include <array>

#include "module/catalogues/GAForm190054FieldIds.h"
#include "module/catalogues/GAForm190055FieldIds.h"
#include "module/catalogues/GAForm190056FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190058FieldIds.h"
#include "module/catalogues/GAForm190059FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/GAForm190061FieldIds.h"
#include "module/catalogues/GAForm190062FieldIds.h"
#include "platform/Primitives.h"

// IND-CR 201, form 190054.
struct IndCr201Lines {
    Primitives::QVImmutableIdentifier heading, amountBox, noAmountBox, carriedIn, boxAmount;
    std::array<Primitives::QVImmutableIdentifier, 4> cappedLines;
    Primitives::QVImmutableIdentifier sum, total, credit, remaining;
};
inline constexpr IndCr201Lines kIndCr201 = [] {
    const auto& f190054 = kGAForm190054FieldIds;
    return IndCr201Lines{
        .heading = f190054.f190150,
        .amountBox = f190054.f190148,
        .noAmountBox = f190054.f190149,
        .carriedIn = f190054.f190151,
        .boxAmount = f190054.f190152,
        .cappedLines = {f190054.f190153, f190054.f190154, f190054.f190155, f190054.f190156},
        .sum = f190054.f190157,
        .total = f190054.f190158,
        .credit = f190054.f190159,
        .remaining = f190054.f190160,
    };
}();

// IND-CR 202, form 190055.
struct IndCr202Lines {
    Primitives::QVImmutableIdentifier heading, federalAmount, rateShown, share, credit;
};
inline constexpr IndCr202Lines kIndCr202 = [] {
    const auto& f190055 = kGAForm190055FieldIds;
    return IndCr202Lines{
        .heading = f190055.f190161,
        .federalAmount = f190055.f190162,
        .rateShown = f190055.f190163,
        .share = f190055.f190164,
        .credit = f190055.f190165,
    };
}();

// IND-CR 203, form 190056.
struct IndCr203Lines {
    Primitives::QVImmutableIdentifier heading, firstAmount, secondAmount, credit, remaining;
};
inline constexpr IndCr203Lines kIndCr203 = [] {
    const auto& f190056 = kGAForm190056FieldIds;
    return IndCr203Lines{
        .heading = f190056.f190166,
        .firstAmount = f190056.f190167,
        .secondAmount = f190056.f190168,
        .credit = f190056.f190169,
        .remaining = f190056.f190170,
    };
}();

// IND-CR 204, form 190057.
struct IndCr204Lines {
    Primitives::QVImmutableIdentifier heading, expenses, rateShown, share, limitShown, allowed, credit;
};
inline constexpr IndCr204Lines kIndCr204 = [] {
    const auto& f190057 = kGAForm190057FieldIds;
    return IndCr204Lines{
        .heading = f190057.f190171,
        .expenses = f190057.f190186,
        .rateShown = f190057.f190187,
        .share = f190057.f190188,
        .limitShown = f190057.f190189,
        .allowed = f190057.f190190,
        .credit = f190057.f190191,
    };
}();

// IND-CR 205, form 190058.
struct IndCr205Lines {
    Primitives::QVImmutableIdentifier heading, firstAmount, secondAmount, sum, limit, smaller, credit;
};
inline constexpr IndCr205Lines kIndCr205 = [] {
    const auto& f190058 = kGAForm190058FieldIds;
    return IndCr205Lines{
        .heading = f190058.f190192,
        .firstAmount = f190058.f190205,
        .secondAmount = f190058.f190206,
        .sum = f190058.f190207,
        .limit = f190058.f190208,
        .smaller = f190058.f190209,
        .credit = f190058.f190210,
    };
}();

// IND-CR 206, form 190059.
struct IndCr206Lines {
    Primitives::QVImmutableIdentifier heading, carriedIn, assistance, limitShown, assistanceAllowed, credit, remaining;
};
inline constexpr IndCr206Lines kIndCr206 = [] {
    const auto& f190059 = kGAForm190059FieldIds;
    return IndCr206Lines{
        .heading = f190059.f190211,
        .carriedIn = f190059.f190213,
        .assistance = f190059.f190215,
        .limitShown = f190059.f190216,
        .assistanceAllowed = f190059.f190217,
        .credit = f190059.f190218,
        .remaining = f190059.f190219,
    };
}();

// IND-CR 207, form 190060.
struct IndCr207Lines {
    Primitives::QVImmutableIdentifier heading, taxpayerBeds;
    std::array<Primitives::QVImmutableIdentifier, 5> spousePractice;  // counties, type, start date, beds
    Primitives::QVImmutableIdentifier limit, credit;
};
inline constexpr IndCr207Lines kIndCr207 = [] {
    const auto& f190060 = kGAForm190060FieldIds;
    return IndCr207Lines{
        .heading = f190060.f190220,
        .taxpayerBeds = f190060.f190225,
        .spousePractice = {f190060.f190226, f190060.f190227, f190060.f190228, f190060.f190229, f190060.f190230},
        .limit = f190060.f190231,
        .credit = f190060.f190232,
    };
}();

// IND-CR 208, form 190061.
struct IndCr208Lines {
    Primitives::QVImmutableIdentifier heading, carriedIn, amount, credit, remaining;
};
inline constexpr IndCr208Lines kIndCr208 = [] {
    const auto& f190061 = kGAForm190061FieldIds;
    return IndCr208Lines{
        .heading = f190061.f190233,
        .carriedIn = f190061.f190234,
        .amount = f190061.f190235,
        .credit = f190061.f190236,
        .remaining = f190061.f190237,
    };
}();

// IND-CR 209, form 190062.
struct IndCr209Lines {
    Primitives::QVImmutableIdentifier heading, base, share, available, allowed, credit, remaining;
};
inline constexpr IndCr209Lines kIndCr209 = [] {
    const auto& f190062 = kGAForm190062FieldIds;
    return IndCr209Lines{
        .heading = f190062.f190238,
        .base = f190062.f190239,
        .share = f190062.f190240,
        .available = f190062.f190241,
        .allowed = f190062.f190242,
        .credit = f190062.f190243,
        .remaining = f190062.f190244,
    };
}();
