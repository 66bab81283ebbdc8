// Form 189217's lines by what they hold: named references to the members
// of its catalogue (kGAForm189217FieldIds). Form 189217, schedule 3, the
// income of a part-year resident or a nonresident, is filled by the
// calculation and read by the summary lines, the other-state credit, the
// review and the e-file records.
#pragma once

#include <array>

#include "module/catalogues/GAForm189217FieldIds.h"
#include "platform/Primitives.h"

struct Form189217Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;
    // One line of the schedule in its three columns.
    struct Columns {
        Field total, notGeorgia, georgia;
    };
    Line taxpayerNumber, federalInterest, federalDividends;
    // The Georgia parts of the interest and dividends, entered.
    std::array<Field, 4> georgiaInterestParts;
    Line georgiaWagesReduction;  // entered
    Columns wages, interestAndDividends, businessIncome, otherIncome, totalIncome;
    Columns federalAdjustments, georgiaAdjustments, incomeAfterAdjustments;
    Line georgiaAdjustmentsReduction;  // entered
    Line ratio;
    // The deduction: itemized (less the income-tax adjustment and an
    // entered reduction) or standard.
    Line itemized, incomeTaxAdjustment, itemizedReduction, itemizedAllowed, itemizesBox;
    Line standardBox, deduction;
    std::array<Field, 4> agedOrBlindBoxes;
    Line agedOrBlindCount, agedOrBlindAmount, filers, filerExemptions, dependents;
    Line dependentExemptions, exemptions, deductionsAndExemptions, georgiaShare, taxableIncome;
    // The states where the income outside Georgia was earned, two-letter
    // codes, in the order the review checks them.
    std::array<Field, 4> otherStateCodes;
};

inline constexpr Form189217Lines kForm189217Lines = [] {
    const auto& f217 = kGAForm189217FieldIds;
    return Form189217Lines{
        .taxpayerNumber = f217.f189426,
        .federalInterest = f217.f189419,
        .federalDividends = f217.f189420,
        .georgiaInterestParts = {f217.f189422, f217.f189423, f217.f189424, f217.f189425},
        .georgiaWagesReduction = f217.f189430,
        .wages = {.total = f217.f189427, .notGeorgia = f217.f189428, .georgia = f217.f189429},
        .interestAndDividends = {.total = f217.f189431, .notGeorgia = f217.f189432, .georgia = f217.f189433},
        .businessIncome = {.total = f217.f189434, .notGeorgia = f217.f189435, .georgia = f217.f189436},
        .otherIncome = {.total = f217.f189437, .notGeorgia = f217.f189438, .georgia = f217.f189439},
        .totalIncome = {.total = f217.f189440, .notGeorgia = f217.f189441, .georgia = f217.f189442},
        .federalAdjustments = {.total = f217.f189443, .notGeorgia = f217.f189444, .georgia = f217.f189445},
        .georgiaAdjustments = {.total = f217.f189446, .notGeorgia = f217.f189447, .georgia = f217.f189448},
        .incomeAfterAdjustments = {.total = f217.f189449, .notGeorgia = f217.f189450, .georgia = f217.f189451},
        .georgiaAdjustmentsReduction = f217.f189452,
        .ratio = f217.f189453,
        .itemized = f217.f189454,
        .incomeTaxAdjustment = f217.f189455,
        .itemizedReduction = f217.f189456,
        .itemizedAllowed = f217.f189457,
        .itemizesBox = f217.f189458,
        .standardBox = f217.f189459,
        .deduction = f217.f189460,
        .agedOrBlindBoxes = {f217.f189461, f217.f189462, f217.f189463, f217.f189464},
        .agedOrBlindCount = f217.f189465,
        .agedOrBlindAmount = f217.f189466,
        .filers = f217.f189467,
        .filerExemptions = f217.f189468,
        .dependents = f217.f189469,
        .dependentExemptions = f217.f189470,
        .exemptions = f217.f189471,
        .deductionsAndExemptions = f217.f189472,
        .georgiaShare = f217.f189473,
        .taxableIncome = f217.f189474,
        .otherStateCodes = {f217.f189475, f217.f189477, f217.f189476, f217.f189478},
    };
}();
