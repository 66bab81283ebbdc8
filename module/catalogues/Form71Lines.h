// Georgia form 71's lines by what they hold: the penalty for underpaid
// estimated tax, its single lines and its four installment columns (A to
// D). The calculation fills it, form 70 takes the penalty when the form is
// added to the return, and the review checks the quarters' withholding and
// payment dates.
#pragma once

#include <array>

#include "module/catalogues/GAForm71FieldIds.h"
#include "platform/Primitives.h"

struct Form71Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // One installment column. Column A has no carried-in overpayment and
    // column D only the first exception amount; those fields are null.
    struct Column {
        Line requiredShare;     // the 70 % amount divided among the installments
        Line priorYearShare;    // the prior-year tax divided among them
        Line required;          // the smaller of the two
        Line withholdingShare;  // the column's part of the withholding
        Line datedPayments;     // the estimated payments of the period
        Line periodPayments;    // withholding share + dated payments
        Line payments;          // the same, carried into the column's arithmetic
        Line carriedIn;         // overpayment of the column to the left
        Line available;         // payments + carried-in overpayment
        Line underpaid;         // required - available; below 0 an overpayment
        Line cumulative;        // payments of this column and those to its left
        std::array<Field, 3> exceptions;
        Line bearingInterest;  // the amount on which interest runs
        Line paidDate;
        Line daysLate;
        Line penalty;
    };

    Line taxYear, taxpayerName, taxpayerNumber, spouseName, spouseNumber;
    Line addToReturn;   // answered yes: form 70 adds the penalty
    Line exemptFarmer;  // exempt farmer or fisherman
    Line oneInstallment;
    Line notExempt;  // marked when neither it nor the exempt box is
    // A pair of boxes, the second marked by default: it empties the form
    // after the calculation.
    Line keepForm, emptyForm;
    Line paidDate;  // payment date of the one installment
    Line tax;       // form 70 tax
    Line exemptText;
    Line credits;  // form 70 total credits
    Line netTax;
    Line requiredTotal;  // 70 % of the net tax
    Line installments;
    Line priorYearTax;  // entered: the other basis of an installment
    Line withholding;   // form 70 Georgia tax withheld
    Line equalParts;    // the withholding spread in equal parts
    Line enteredParts, totalPenalty, exemptMark;
    std::array<Column, 4> columns;  // A to D
};

inline constexpr Form71Lines kForm71Lines = [] {
    const auto& f = kGAForm71FieldIds;
    const Primitives::QVImmutableIdentifier& none = Primitives::kNullFieldID;
    return Form71Lines{
        .taxYear = f.f2,
        .taxpayerName = f.f3,
        .taxpayerNumber = f.f4,
        .spouseName = f.f5,
        .spouseNumber = f.f6,
        .addToReturn = f.f7,
        .exemptFarmer = f.f8,
        .oneInstallment = f.f9,
        .notExempt = f.f89,
        .keepForm = f.f90,
        .emptyForm = f.f91,
        .paidDate = f.f10,
        .tax = f.f11,
        .exemptText = f.f12,
        .credits = f.f13,
        .netTax = f.f14,
        .requiredTotal = f.f15,
        .installments = f.f16,
        .priorYearTax = f.f55,
        .withholding = f.f21,
        .equalParts = f.f22,
        .enteredParts = f.f23,
        .totalPenalty = f.f87,
        .exemptMark = f.f79298,
        .columns = {{
            {
                .requiredShare = f.f17,
                .priorYearShare = f.f56,
                .required = f.f92,
                .withholdingShare = f.f24,
                .datedPayments = f.f28,
                .periodPayments = f.f32,
                .payments = f.f36,
                .carriedIn = none,
                .available = f.f43,
                .underpaid = f.f47,
                .cumulative = f.f51,
                .exceptions = {f.f60, f.f64, f.f67},
                .bearingInterest = f.f70,
                .paidDate = f.f75,
                .daysLate = f.f79,
                .penalty = f.f83,
            },
            {
                .requiredShare = f.f18,
                .priorYearShare = f.f57,
                .required = f.f93,
                .withholdingShare = f.f25,
                .datedPayments = f.f29,
                .periodPayments = f.f33,
                .payments = f.f37,
                .carriedIn = f.f40,
                .available = f.f44,
                .underpaid = f.f48,
                .cumulative = f.f52,
                .exceptions = {f.f61, f.f65, f.f68},
                .bearingInterest = f.f71,
                .paidDate = f.f76,
                .daysLate = f.f80,
                .penalty = f.f84,
            },
            {
                .requiredShare = f.f19,
                .priorYearShare = f.f58,
                .required = f.f94,
                .withholdingShare = f.f26,
                .datedPayments = f.f30,
                .periodPayments = f.f34,
                .payments = f.f38,
                .carriedIn = f.f41,
                .available = f.f45,
                .underpaid = f.f49,
                .cumulative = f.f53,
                .exceptions = {f.f62, f.f66, f.f69},
                .bearingInterest = f.f72,
                .paidDate = f.f77,
                .daysLate = f.f81,
                .penalty = f.f85,
            },
            {
                .requiredShare = f.f20,
                .priorYearShare = f.f59,
                .required = f.f95,
                .withholdingShare = f.f27,
                .datedPayments = f.f31,
                .periodPayments = f.f35,
                .payments = f.f39,
                .carriedIn = f.f42,
                .available = f.f46,
                .underpaid = f.f50,
                .cumulative = f.f54,
                .exceptions = {f.f63, none, none},
                .bearingInterest = f.f73,
                .paidDate = f.f78,
                .daysLate = f.f82,
                .penalty = f.f86,
            },
        }},
    };
}();
