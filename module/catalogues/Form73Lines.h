// Form 73's lines by what they hold: named references to the members of its
// catalogue (kGAForm73FieldIds). Form 73, the credit for tax paid to another
// state, has one copy per state; the calculation fills it, the review checks
// its credits and the print list attaches the other state's return by its
// state.
#pragma once

#include "module/catalogues/GAForm73FieldIds.h"
#include "platform/Primitives.h"

namespace GACalculationMgmt {

struct Form73Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The filers; the spouse's name and number on a joint return only.
    struct Filers {
        Line taxpayerName, taxpayerNumber, spouseName, spouseNumber;
    };
    // The other state of the copy.
    struct OtherState {
        Line code;  // open only to a full-year or part-year resident
        // A copy made for a state in which the federal return holds a
        // nonresident return: the state as written there, and the box that
        // marks the copy as filled from that return.
        Line federalState, fromFederalReturn;
    };
    // One computation of the credit, full-year or part-year; the other is
    // emptied.
    struct Computation {
        Line otherStateIncome;  // entered: income that the other state also taxed
        Line georgiaIncome;     // the denominator of the ratio
        Line ratio;             // in ten-thousandths, never above the whole
        Line deductions;
        Line deductionShare;  // the deductions times the ratio
        Line taxedIncome;     // the other state's income less the deduction share
        Line tax;             // the Georgia tax of the taxed income
        Line limit;           // entered: the tax paid to the other state
        Line credit;          // the smaller of the tax and the limit
    };
    // The parts of the full-year computation's deductions.
    struct FullYearDeductions {
        Line standardAndItemized, exemptions;
    };

    Filers filers;
    OtherState state;
    Computation fullYear;
    FullYearDeductions fullYearDeductions;
    Computation partYear;
};

inline constexpr Form73Lines kForm73Lines = [] {
    const auto& f73 = kGAForm73FieldIds;
    return Form73Lines{
        .filers =
            {
                .taxpayerName = f73.f3,
                .taxpayerNumber = f73.f4,
                .spouseName = f73.f5,
                .spouseNumber = f73.f6,
            },
        .state =
            {
                .code = f73.f138855,
                .federalState = f73.f138854,
                .fromFederalReturn = f73.f138856,
            },
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
        .fullYearDeductions =
            {
                .standardAndItemized = f73.f10,
                .exemptions = f73.f11,
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

}  // namespace GACalculationMgmt
