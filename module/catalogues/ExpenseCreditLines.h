// The qualified education expense credit (form 187981) and the qualified
// rural hospital expense tax credit (form 203638) by what their lines hold:
// the two forms share one layout. The calculation fills them, the credit
// summary (form 189216) copies their summary block, and the review checks
// the donation added back to income and asks for the attachments.
#pragma once

#include <array>

#include "module/catalogues/GAForm187981FieldIds.h"
#include "module/catalogues/GAForm203638FieldIds.h"
#include "platform/Primitives.h"

struct ExpenseCreditLines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // The individual part: the smaller of two amounts.
    struct IndividualPart {
        Line first, second, result;
    };
    // A donor's part: the smallest of two amounts and a share of a third.
    struct SharePart {
        Line first, second, base, share, result;
    };

    // The filer's first, middle and last name, suffix and number, copied
    // from the information form.
    std::array<Field, 5> filer;
    // Filing status 1 or 4, 2, 3.
    Line singleBox, jointBox, separateBox;
    // The kinds of donor, in the order of their one-box rule: the two of the
    // 75 % part, then that of the 6 % part.
    Line seventyFiveBoxA, seventyFiveBoxB, sixPercentBox;
    // The two boxes the credit requires. The first says the donation is
    // added back to income: it is marked and fixed unless the federal return
    // answers its question yes. The review reads a third box with the
    // second.
    Line addedBackBox, secondRequiredBox, thirdBox;
    IndividualPart individual;
    SharePart sixPercent;
    SharePart seventyFive;
    // The summary block: the credit's code, the limit line, the credit of
    // the year and the amounts added to it, the total available, the two
    // amounts used and what remains. The rural hospital credit also shows
    // the filer's last name and number in it. The name, the limit, an
    // amount line, the number and the credit of the year are the block's
    // row in the layout of a business credit's row.
    Line code, limitLine, yearCredit;
    Line lastNameLine, numberLine;
    Line amountLine;
    std::array<Field, 3> added;
    Line total, firstUsed, secondUsed, remaining;
};

inline constexpr ExpenseCreditLines kForm187981Lines = [] {
    const auto& f = kGAForm187981FieldIds;
    return ExpenseCreditLines{
        .filer = {f.f188007, f.f188008, f.f188010, f.f188011, f.f188009},
        .singleBox = f.f188367,
        .jointBox = f.f188368,
        .separateBox = f.f188369,
        .seventyFiveBoxA = f.f188366,
        .seventyFiveBoxB = f.f188370,
        .sixPercentBox = f.f188371,
        .addedBackBox = f.f188372,
        .secondRequiredBox = f.f188373,
        .thirdBox = f.f188374,
        .individual =
            {
                .first = f.f188375,
                .second = f.f188376,
                .result = f.f188377,
            },
        .sixPercent =
            {
                .first = f.f188378,
                .second = f.f188379,
                .base = f.f188380,
                .share = f.f188381,
                .result = f.f188382,
            },
        .seventyFive =
            {
                .first = f.f188383,
                .second = f.f188384,
                .base = f.f188385,
                .share = f.f188386,
                .result = f.f188387,
            },
        .code = f.f203928,
        .limitLine = f.f203931,
        .yearCredit = f.f203934,
        .lastNameLine = f.f203930,
        .numberLine = f.f203933,
        .amountLine = f.f203932,
        .added = {f.f203929, f.f203935, f.f203936},
        .total = f.f203937,
        .firstUsed = f.f203938,
        .secondUsed = f.f203939,
        .remaining = f.f203940,
    };
}();

inline constexpr ExpenseCreditLines kForm203638Lines = [] {
    const auto& f = kGAForm203638FieldIds;
    return ExpenseCreditLines{
        .filer = {f.f203644, f.f203645, f.f203647, f.f203648, f.f203646},
        .singleBox = f.f203650,
        .jointBox = f.f203651,
        .separateBox = f.f203652,
        .seventyFiveBoxA = f.f203649,
        .seventyFiveBoxB = f.f203653,
        .sixPercentBox = f.f205382,
        .addedBackBox = f.f203654,
        .secondRequiredBox = f.f203655,
        .thirdBox = f.f203656,
        .individual =
            {
                .first = f.f203657,
                .second = f.f203659,
                .result = f.f203660,
            },
        .sixPercent =
            {
                .first = f.f205383,
                .second = f.f205384,
                .base = f.f205385,
                .share = f.f205386,
                .result = f.f205387,
            },
        .seventyFive =
            {
                .first = f.f203661,
                .second = f.f203663,
                .base = f.f203664,
                .share = f.f203662,
                .result = f.f203666,
            },
        .code = f.f203941,
        .limitLine = f.f203944,
        .yearCredit = f.f203947,
        .lastNameLine = f.f203943,
        .numberLine = f.f203946,
        .amountLine = f.f203945,
        .added = {f.f203942, f.f203948, f.f203949},
        .total = f.f203950,
        .firstUsed = f.f203951,
        .secondUsed = f.f203952,
        .remaining = f.f203953,
    };
}();
