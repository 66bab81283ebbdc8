// Form 73's lines by what they hold: the credit for tax paid to another
// state, one copy per state, with a computation for the full-year resident
// and one for the part-year resident. The calculation fills it (and adds a
// copy for a state of the federal return's nonresident returns); the review
// asks for each column's tax and income and for the state's abbreviation;
// the print list attaches the other state's return by its abbreviation.
#pragma once

#include "module/catalogues/GAForm73FieldIds.h"
#include "platform/Primitives.h"

struct Form73Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The lines of one computation, full-year or part-year.
    struct Computation {
        Line otherStateIncome;  // income that the other state also taxed
        Line georgiaIncome;     // the denominator of the ratio
        Line ratio;
        Line deductions;
        Line deductionShare;
        Line taxedIncome;  // the other state's income less the deduction share
        Line tax;
        Line limit;  // entered: the tax paid to the other state
        Line credit;
    };

    Line taxpayerName, taxpayerNumber, spouseName, spouseNumber;
    Line stateAbbreviation;  // open only for a full-year or part-year resident
    // A copy made for a state in which the federal return holds a
    // nonresident return: the state as written there, and the box that marks
    // the copy as filled from that return.
    Line federalState, fromFederalReturn;
    Line standardAndItemized, exemptions;
    Computation fullYear, partYear;
};

inline constexpr Form73Lines kForm73Lines = [] {
    const auto& f73 = kGAForm73FieldIds;
    return Form73Lines{
        .taxpayerName = f73.f3,
        .taxpayerNumber = f73.f4,
        .spouseName = f73.f5,
        .spouseNumber = f73.f6,
        .stateAbbreviation = f73.f138855,
        .federalState = f73.f138854,
        .fromFederalReturn = f73.f138856,
        .standardAndItemized = f73.f10,
        .exemptions = f73.f11,
        .fullYear =
            {
                .otherStateIncome = f73.f7,
                .georgiaIncome = f73.f8,
                .ratio = f73.f9,
                .deductions = f73.f12,
                .deductionShare = f73.f13,
                .taxedIncome = f73.f14,
                .tax = f73.f15,
                .limit = f73.f16,
                .credit = f73.f17,
            },
        .partYear =
            {
                .otherStateIncome = f73.f18,
                .georgiaIncome = f73.f19,
                .ratio = f73.f20,
                .deductions = f73.f21,
                .deductionShare = f73.f22,
                .taxedIncome = f73.f23,
                .tax = f73.f24,
                .limit = f73.f25,
                .credit = f73.f26,
            },
    };
}();
