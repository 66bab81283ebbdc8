// Form 75's lines by what they hold: the estimated tax of next year and its
// vouchers. The worksheet projects next year's Georgia income (by default
// from this year's return), its deduction and exemptions, and taxes it with
// next year's rates; the voucher area holds the installment due next with
// its scan line. The calculation fills it and the result printout reads the
// estimated tax and the voucher.
#pragma once

#include <array>

#include "module/catalogues/GAForm75FieldIds.h"
#include "platform/Primitives.h"

struct Form75Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The filers, from the information form.
    struct Heading {
        Line taxpayerName, taxpayerNumber, spouseName, spouseNumber;
        // A pair of boxes, the other one marked by default: the first marks
        // the worksheet as entered.
        Line inUse, inUseOther;
    };
    // Whether the worksheet is projected from this year's return (a yes and
    // no pair), and a full-year or part-year projection with the Georgia
    // share of a part-year one.
    struct Projection {
        Line fromThisYear, notFromThisYear;
        Line fullYear, partYear;
        Line incomeRatio;  // the Georgia share, in ten-thousandths
    };
    // Federal income with the Georgia additions, less the subtractions and
    // the retirement exclusion: the projected Georgia income.
    struct Income {
        Line addition1, addition2, addition3, additions;
        Line federalIncome;
        Line additionsRepeated, incomeWithAdditions;
        Line socialSecurity;         // this year's social security subtraction
        Line enteredSubtraction;     // entered on a worksheet not projected
        Line remainingSubtractions;  // this year's other subtractions
        Line retirementExclusion;
        Line georgiaIncome;
    };
    // The filing-status boxes "A" to "D", the dependents and the exemptions.
    struct Status {
        Line single, joint, separate, headOfHousehold;
        Line dependents;
        Line exemptions;
    };
    // The standard deduction with its boxes "65 or over" and "blind", or the
    // itemized amount; the deduction used and the taxable income.
    struct Deduction {
        Line standardBox, itemizedBox, itemizedAmount;
        // The four boxes of the additions for age and blindness, in the
        // order they add.
        std::array<Primitives::QVImmutableIdentifier, 4> additionBoxes;
        Line used;
        Line taxableIncome;
    };
    // Next year's tax, less this year's withholding and the overpayment
    // credited to next year: the estimated tax, paid in the installments
    // left.
    struct Tax {
        Line tax, withholding, creditedOverpayment;
        Line estimatedTax;
        Line installmentsLeft;  // 1 to 4
    };
    // The voucher due next. The area from its first line to the scan line is
    // emptied when no tax is due.
    struct Voucher {
        Line first;
        Line yes, no;  // a pair of boxes, yes marked by default
        Line codeBox;  // selects the voucher code of the scan line
        Line number, dueDate;
        Line payerName, street, city, state, zipCode;
        Line taxpayerNumber, spouseNumber;
        Line installment;
        Line scanLine;
        Line formCode;
    };

    Heading heading;
    Projection projection;
    Income income;
    Status status;
    Deduction deduction;
    Tax tax;
    Voucher voucher;
};

inline constexpr Form75Lines kForm75Lines = [] {
    const auto& f75 = kGAForm75FieldIds;
    return Form75Lines{
        .heading =
            {
                .taxpayerName = f75.f2,
                .taxpayerNumber = f75.f3,
                .spouseName = f75.f4,
                .spouseNumber = f75.f5,
                .inUse = f75.f6,
                .inUseOther = f75.f70,
            },
        .projection =
            {
                .fromThisYear = f75.f7,
                .notFromThisYear = f75.f8,
                .fullYear = f75.f9,
                .partYear = f75.f10,
                .incomeRatio = f75.f11,
            },
        .income =
            {
                .addition1 = f75.f12,
                .addition2 = f75.f13,
                .addition3 = f75.f14,
                .additions = f75.f15,
                .federalIncome = f75.f25,
                .additionsRepeated = f75.f207528,
                .incomeWithAdditions = f75.f207529,
                .socialSecurity = f75.f207530,
                .enteredSubtraction = f75.f207531,
                .remainingSubtractions = f75.f207532,
                .retirementExclusion = f75.f42,
                .georgiaIncome = f75.f39,
            },
        .status =
            {
                .single = f75.f26,
                .joint = f75.f27,
                .separate = f75.f28,
                .headOfHousehold = f75.f29,
                .dependents = f75.f30,
                .exemptions = f75.f40,
            },
        .deduction =
            {
                .standardBox = f75.f31,
                .itemizedBox = f75.f36,
                .itemizedAmount = f75.f37,
                .additionBoxes = {f75.f35, f75.f33, f75.f34, f75.f32},
                .used = f75.f207533,
                .taxableIncome = f75.f43,
            },
        .tax =
            {
                .tax = f75.f44,
                .withholding = f75.f45,
                .creditedOverpayment = f75.f47,
                .estimatedTax = f75.f48,
                .installmentsLeft = f75.f49,
            },
        .voucher =
            {
                .first = f75.f54,
                .yes = f75.f51,
                .no = f75.f52,
                .codeBox = f75.f57,
                .number = f75.f58,
                .dueDate = f75.f59,
                .payerName = f75.f60,
                .street = f75.f61,
                .city = f75.f66,
                .state = f75.f65,
                .zipCode = f75.f64,
                .taxpayerNumber = f75.f62,
                .spouseNumber = f75.f67,
                .installment = f75.f68,
                .scanLine = f75.f69,
                .formCode = f75.f71,
            },
    };
}();
