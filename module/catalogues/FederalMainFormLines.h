// The lines of the three kinds of federal main form (federal forms 1, 55 and
// 87) by what they hold, in one shape; a line that a form does not have is
// the null field. The state calculation takes the filers' heading into the
// information form, the texts and boxes of the common items, the refund's
// bank account and each filer's worksheet adjustment; the lines that fill
// the state wages worksheet stand in WageLineRows.h.
#pragma once

#include <array>

#include "module/catalogues/Form1FieldIds.h"
#include "module/catalogues/Form55FieldIds.h"
#include "module/catalogues/Form87FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Primitives.h"

struct FederalMainFormLines {
    using Field = Primitives::QVImmutableIdentifier;
    static constexpr Field kNone = Primitives::kNullFieldID;

    // The filers' heading in the order of the field-triple table's rows:
    // the taxpayer's first, middle and last name, suffix and social security
    // number, the spouse's the same, then street, apartment, city, state and
    // ZIP code.
    enum HeadingRow : std::size_t {
        kTaxpayerFirstName,
        kTaxpayerMiddleName,
        kTaxpayerLastName,
        kTaxpayerSuffix,
        kTaxpayerNumber,
        kSpouseFirstName,
        kSpouseMiddleName,
        kSpouseLastName,
        kSpouseSuffix,
        kSpouseNumber,
        kStreet,
        kApartment,
        kCity,
        kState,
        kZipCode,
        kHeadingRows
    };
    std::array<Field, kHeadingRows> heading;
    // The texts and numbers that common items 116 to 130 copy.
    struct CommonItems {
        Field item116Text = kNone, item119Number = kNone, item121Text = kNone, item122Number = kNone;
        Field item123Lead = kNone, item123Amount = kNone;  // a text and the amount shown beside it
        Field item129Text = kNone, item130Text = kNone;
    };
    CommonItems commonItems;
    // The boxes "65 or over" and "blind" of each filer.
    Field taxpayerAged65 = kNone, taxpayerBlind = kNone, spouseAged65 = kNone, spouseBlind = kNone;
    // The refund's bank account, read while the refund is above 0.
    struct RefundAccount {
        Field refund = kNone, routingNumber = kNone, accountNumber = kNone, checking = kNone, savings = kNone;
    };
    RefundAccount refundAccount;
    // Each filer's adjustment on the state wages worksheet.
    Field taxpayerAdjustment = kNone, spouseAdjustment = kNone;
    // Form 1 only: the answer (a box) that the donation credits and the
    // health-plan subtraction ask, and an amount added to those that mark
    // the additions and subtractions for a review.
    Field deductionAnswer = kNone, reviewedKeyedAmount = kNone;
};

inline constexpr FederalMainFormLines kForm1Lines = [] {
    const auto& f1 = kForm1FieldIds;
    return FederalMainFormLines{
        .heading = {f1.f1, f1.f411, f1.f2, f1.f3, f1.f11, f1.f4, f1.f412, f1.f5, f1.f6, f1.f12, f1.f7, f1.f317, f1.f8,
                    f1.f9, f1.f10},
        .commonItems =
            {
                .item116Text = f1.f21,
                .item119Number = f1.f22,
                .item121Text = f1.f98,
                .item122Number = f1.f116,
                .item123Lead = f1.f333,
                .item123Amount = f1.f334,
                .item129Text = f1.f188,
                .item130Text = f1.f189,
            },
        .taxpayerAged65 = f1.f121,
        .taxpayerBlind = f1.f122,
        .spouseAged65 = f1.f123,
        .spouseBlind = f1.f124,
        .refundAccount = {.refund = f1.f184,
                          .routingNumber = f1.f471,
                          .accountNumber = f1.f474,
                          .checking = f1.f472,
                          .savings = f1.f473},
        .taxpayerAdjustment = f1.f110,
        .spouseAdjustment = f1.f111,
        .deductionAnswer = f1.f133,
        .reviewedKeyedAmount = f1.f427,
    };
}();

inline constexpr FederalMainFormLines kForm55Lines = [] {
    const auto& f55 = kForm55FieldIds;
    return FederalMainFormLines{
        .heading = {f55.f1, f55.f178, f55.f2, f55.f3, f55.f11, f55.f4, f55.f179, f55.f5, f55.f6, f55.f12, f55.f7,
                    f55.f123, f55.f8, f55.f9, f55.f10},
        .commonItems =
            {
                .item116Text = f55.f21,
                .item119Number = f55.f22,
                .item129Text = f55.f107,
                .item130Text = f55.f108,
            },
        .taxpayerAged65 = f55.f82,
        .taxpayerBlind = f55.f83,
        .spouseAged65 = f55.f84,
        .spouseBlind = f55.f85,
        .refundAccount = {.refund = f55.f135,
                          .routingNumber = f55.f216,
                          .accountNumber = f55.f219,
                          .checking = f55.f217,
                          .savings = f55.f218},
        .taxpayerAdjustment = f55.f77,
        .spouseAdjustment = f55.f78,
    };
}();

inline constexpr FederalMainFormLines kForm87Lines = [] {
    const auto& f87 = kForm87FieldIds;
    return FederalMainFormLines{
        .heading = {f87.f31, f87.f69, f87.f32, f87.f81534, f87.f9, f87.f81535, f87.f81536, f87.f81537, f87.f81538,
                    f87.f53, f87.f33, f87.f5, f87.f6, f87.f7, f87.f8},
        .commonItems =
            {
                .item129Text = f87.f48,
                .item130Text = f87.f64,
            },
        .refundAccount = {.refund = f87.f27,
                          .routingNumber = f87.f105,
                          .accountNumber = f87.f108,
                          .checking = f87.f106,
                          .savings = f87.f107},
    };
}();

// The lines of the federal main form a return is filed on: form 1040A
// (federal form 55), 1040EZ (87), else form 1040 (federal form 1).
inline const FederalMainFormLines& federalMainFormLines(const Primitives::QVImmutableFormIdentifier& mainForm) {
    return mainForm == kForm55ID ? kForm55Lines : mainForm == kForm87ID ? kForm87Lines : kForm1Lines;
}
