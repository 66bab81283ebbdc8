// Form 189219's lines by what they hold: the amended return. The
// calculation repeats form 70's figures on it (a table of its own, beside
// the calculation), settles the payments against the tax and fills the
// refund's direct deposit; the review asks for the explanation and the
// attachments, the payment voucher takes the amount owed, and the barcode
// writes the explanation and the identification numbers copied from form 70
// (without dashes).
#pragma once

#include <array>

#include "module/catalogues/GAForm189219FieldIds.h"
#include "platform/Primitives.h"

struct Form189219Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The payments against the tax, and the result: an overpayment (less the
    // part credited to next year and the penalty, the rest refunded) or a
    // balance due with the amounts added to it.
    struct Settlement {
        Line tax;  // form 70's net tax, repeated
        Line withheld, otherWithheld, estimatedPaid;
        Line paidWithOriginal;  // entered: the payments made with the original return
        Line totalPayments;
        Line refundsReceived;  // entered: the refunds already received
        Line netPayments, balanceBeforeAdditions, overpayment;
        Line overpaymentNote;  // entered on an overpayment; not part of the arithmetic
        Line creditedToNextYear;
        Line penalty;  // form 70's underpayment penalty, repeated
        Line addition1, addition2, amountOwed, refund;
        // A pair of boxes, the second marked by default: the second closes
        // addition 1.
        Line openAddition1, closeAddition1;
        Line pairFirst, pairSecond;  // a further pair, the second marked by default
    };
    // The direct deposit of the refund: the account shown, from the
    // information form or entered here with each text entered twice.
    struct Deposit {
        Line checking, savings, routingNumber, accountNumber;
        Line enteredChecking, enteredSavings;
        Line enteredRouting, repeatedRouting, enteredAccount, repeatedAccount;
        Line useEntered, useInformationForm, noDeposit;
        Line entriesDiffer;  // marked when a text and its repetition differ
    };

    Line otherStateCredit, individualCredits;  // form 70's, repeated
    Settlement settlement;
    Deposit deposit;
    // The explanation of the changes, over up to four lines.
    std::array<Primitives::QVImmutableIdentifier, 4> explanation;
    Line federalReference;  // form 70's reference from federal form 92
    // The state identification numbers of form 70's six withholding
    // entries.
    std::array<Primitives::QVImmutableIdentifier, 6> entryStateIds;
};

inline constexpr Form189219Lines kForm189219Lines = [] {
    const auto& f = kGAForm189219FieldIds;
    return Form189219Lines{
        .otherStateCredit = f.f190071,
        .individualCredits = f.f190072,
        .settlement =
            {
                .tax = f.f189638,
                .withheld = f.f189639,
                .otherWithheld = f.f189640,
                .estimatedPaid = f.f189642,
                .paidWithOriginal = f.f189643,
                .totalPayments = f.f189644,
                .refundsReceived = f.f189645,
                .netPayments = f.f189646,
                .balanceBeforeAdditions = f.f189647,
                .overpayment = f.f189648,
                .overpaymentNote = f.f189649,
                .creditedToNextYear = f.f189650,
                .penalty = f.f189651,
                .addition1 = f.f189652,
                .addition2 = f.f189653,
                .amountOwed = f.f189654,
                .refund = f.f189655,
                .openAddition1 = f.f190063,
                .closeAddition1 = f.f190064,
                .pairFirst = f.f189558,
                .pairSecond = f.f189576,
            },
        .deposit =
            {
                .checking = f.f189656,
                .savings = f.f189657,
                .routingNumber = f.f189658,
                .accountNumber = f.f189659,
                .enteredChecking = f.f191329,
                .enteredSavings = f.f191330,
                .enteredRouting = f.f191331,
                .repeatedRouting = f.f191050,
                .enteredAccount = f.f191332,
                .repeatedAccount = f.f191051,
                .useEntered = f.f191046,
                .useInformationForm = f.f191048,
                .noDeposit = f.f191328,
                .entriesDiffer = f.f191049,
            },
        .explanation = {f.f189660, f.f189661, f.f190146, f.f190147},
        .federalReference = f.f189662,
        .entryStateIds = {f.f190101, f.f190102, f.f190103, f.f190137, f.f190138, f.f190139},
    };
}();
