// The individual credit worksheets IND-CR 201 to 209 (forms 190054 to
// 190062) by what their lines hold: named members of their catalogues. The
// calculation fills them; the review reads each worksheet's credit (and the
// amount left for later years) and the people and practices that IND-CR
// 204, 205, 206 and 207 ask for; the printout and the e-file's IND-CR
// record write them. Each worksheet's heading holds the taxpayer's number,
// copied from the information form. Their summary, form 74, has
// Form74Lines.
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
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;
    Line taxpayerNumber;
    Line amountBox, noAmountBox;  // a pair: the fixed amount, or none
    Line carriedIn, boxAmount;
    std::array<Field, 4> cappedLines;
    Line sum, total;
    Line credit;     // entered: the credit claimed
    Line remaining;  // left for later years
};
inline constexpr IndCr201Lines kIndCr201 = [] {
    const auto& f = kGAForm190054FieldIds;
    return IndCr201Lines{
        .taxpayerNumber = f.f190150,
        .amountBox = f.f190148,
        .noAmountBox = f.f190149,
        .carriedIn = f.f190151,
        .boxAmount = f.f190152,
        .cappedLines = {f.f190153, f.f190154, f.f190155, f.f190156},
        .sum = f.f190157,
        .total = f.f190158,
        .credit = f.f190159,
        .remaining = f.f190160,
    };
}();

// IND-CR 202, form 190055: a share of the federal child care credit.
struct IndCr202Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line taxpayerNumber, federalAmount, rateShown, share, credit;
};
inline constexpr IndCr202Lines kIndCr202 = [] {
    const auto& f = kGAForm190055FieldIds;
    return IndCr202Lines{
        .taxpayerNumber = f.f190161,
        .federalAmount = f.f190162,
        .rateShown = f.f190163,
        .share = f.f190164,
        .credit = f.f190165,
    };
}();

// IND-CR 203, form 190056.
struct IndCr203Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line taxpayerNumber, firstAmount, secondAmount, credit, remaining;
};
inline constexpr IndCr203Lines kIndCr203 = [] {
    const auto& f = kGAForm190056FieldIds;
    return IndCr203Lines{
        .taxpayerNumber = f.f190166,
        .firstAmount = f.f190167,
        .secondAmount = f.f190168,
        .credit = f.f190169,
        .remaining = f.f190170,
    };
}();

// IND-CR 204, form 190057: up to two qualifying family members, 62 or over
// or disabled, and their expenses.
struct IndCr204Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    struct FamilyMember {
        Line firstName, middleInitial, lastName, number, relationship;
        Line age;  // an amount
        Line disabilityDate;
    };
    Line taxpayerNumber;
    std::array<FamilyMember, 2> familyMembers;
    Line expenses, rateShown, share, limitShown;
    Line allowed;  // the share of the expenses, up to the limit
    Line credit;   // entered: the credit claimed, up to what is allowed
};
inline constexpr IndCr204Lines kIndCr204 = [] {
    const auto& f = kGAForm190057FieldIds;
    return IndCr204Lines{
        .taxpayerNumber = f.f190171,
        .familyMembers = {{
            {.firstName = f.f190172,
             .middleInitial = f.f190173,
             .lastName = f.f190174,
             .number = f.f190175,
             .relationship = f.f190176,
             .age = f.f190177,
             .disabilityDate = f.f190178},
            {.firstName = f.f190179,
             .middleInitial = f.f190180,
             .lastName = f.f190181,
             .number = f.f190182,
             .relationship = f.f190183,
             .age = f.f190184,
             .disabilityDate = f.f190185},
        }},
        .expenses = f.f190186,
        .rateShown = f.f190187,
        .share = f.f190188,
        .limitShown = f.f190189,
        .allowed = f.f190190,
        .credit = f.f190191,
    };
}();

// IND-CR 205, form 190058: up to two qualifying children and their driver
// training.
struct IndCr205Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    struct Child {
        Line school, firstName, lastName, birthDate, number, completionDate;
    };
    Line taxpayerNumber;
    std::array<Child, 2> children;
    Line firstAmount, secondAmount;  // each child's amount
    Line sum, limit, smaller, credit;
};
inline constexpr IndCr205Lines kIndCr205 = [] {
    const auto& f = kGAForm190058FieldIds;
    return IndCr205Lines{
        .taxpayerNumber = f.f190192,
        .children = {{
            {.school = f.f190193,
             .firstName = f.f190194,
             .lastName = f.f190195,
             .birthDate = f.f190196,
             .number = f.f190197,
             .completionDate = f.f190198},
            {.school = f.f190199,
             .firstName = f.f190200,
             .lastName = f.f190201,
             .birthDate = f.f190202,
             .number = f.f190203,
             .completionDate = f.f190204},
        }},
        .firstAmount = f.f190205,
        .secondAmount = f.f190206,
        .sum = f.f190207,
        .limit = f.f190208,
        .smaller = f.f190209,
        .credit = f.f190210,
    };
}();

// IND-CR 206, form 190059: disaster assistance.
struct IndCr206Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line taxpayerNumber, disasterAgency, disasterDate;
    Line carriedIn;  // added to the assistance (may be below 0)
    Line assistance, limitShown, assistanceAllowed;
    Line credit;  // entered: the credit claimed
    Line remaining;
};
inline constexpr IndCr206Lines kIndCr206 = [] {
    const auto& f = kGAForm190059FieldIds;
    return IndCr206Lines{
        .taxpayerNumber = f.f190211,
        .disasterAgency = f.f190212,
        .disasterDate = f.f190214,
        .carriedIn = f.f190213,
        .assistance = f.f190215,
        .limitShown = f.f190216,
        .assistanceAllowed = f.f190217,
        .credit = f.f190218,
        .remaining = f.f190219,
    };
}();

// IND-CR 207, form 190060: a rural physician's practice, the taxpayer's and
// the spouse's.
struct IndCr207Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;
    struct Practice {
        Line residenceCounty, practiceCounty, practiceType, startDate;
        Line beds;  // an amount

        constexpr std::array<Field, 5> lines() const {
            return {residenceCounty, practiceCounty, practiceType, startDate, beds};
        }
    };
    Line taxpayerNumber;
    Practice taxpayerPractice, spousePractice;
    Line limit, credit;
};
inline constexpr IndCr207Lines kIndCr207 = [] {
    const auto& f = kGAForm190060FieldIds;
    return IndCr207Lines{
        .taxpayerNumber = f.f190220,
        .taxpayerPractice = {.residenceCounty = f.f190221,
                             .practiceCounty = f.f190222,
                             .practiceType = f.f190223,
                             .startDate = f.f190224,
                             .beds = f.f190225},
        .spousePractice = {.residenceCounty = f.f190226,
                           .practiceCounty = f.f190227,
                           .practiceType = f.f190228,
                           .startDate = f.f190229,
                           .beds = f.f190230},
        .limit = f.f190231,
        .credit = f.f190232,
    };
}();

// IND-CR 208, form 190061: an amount counted in whole multiples.
struct IndCr208Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line taxpayerNumber, carriedIn, amount, credit, remaining;
};
inline constexpr IndCr208Lines kIndCr208 = [] {
    const auto& f = kGAForm190061FieldIds;
    return IndCr208Lines{
        .taxpayerNumber = f.f190233,
        .carriedIn = f.f190234,
        .amount = f.f190235,
        .credit = f.f190236,
        .remaining = f.f190237,
    };
}();

// IND-CR 209, form 190062: a share of a base amount, up to what is
// available.
struct IndCr209Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line taxpayerNumber, base, share, available, allowed, credit, remaining;
};
inline constexpr IndCr209Lines kIndCr209 = [] {
    const auto& f = kGAForm190062FieldIds;
    return IndCr209Lines{
        .taxpayerNumber = f.f190238,
        .base = f.f190239,
        .share = f.f190240,
        .available = f.f190241,
        .allowed = f.f190242,
        .credit = f.f190243,
        .remaining = f.f190244,
    };
}();
