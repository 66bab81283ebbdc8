// Federal form 183's lines by what they hold: the e-file answers of the
// federal return. The frame maps the bank data and the withdrawal of the
// amount owed onto the information form, the state calculation copies the
// withdrawal's details, the review records the first reason the state return
// cannot be e-filed, and the e-file writes the preparer and reads the
// signature answer.
#pragma once

#include <array>

#include "module/catalogues/Form183FieldIds.h"
#include "platform/Primitives.h"

struct Form183Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // The withdrawal of the amount owed from a bank account: asked (a yes
    // and no pair), the account and the amount and date, whether its
    // details come from the federal return, and those details (two texts and
    // two further fields).
    struct Withdrawal {
        Line yes, no;
        Line routingNumber, accountNumber, checking, savings;
        Line amountOwed, date;
        Line fromFederal;
        std::array<Field, 4> details;
    };

    Line depositFromFederal;  // the refund's bank data carried from the federal return
    Withdrawal withdrawal;
    // Lines the information form carries as they stand.
    std::array<Field, 7> carried;
    // Lines the field mapping knows without a Georgia field.
    std::array<Field, 2> known;
    // The first e-file failure of the state return: 1 while none is
    // recorded, and its text.
    Line failurePending, failure;
    Line signatureAnswer;  // yes: the authentication header carries two further signature lines
    Line preparerId;       // of the office record
};

inline constexpr Form183Lines kForm183Lines = [] {
    const auto& f183 = kForm183FieldIds;
    return Form183Lines{
        .depositFromFederal = f183.f33,
        .withdrawal =
            {
                .yes = f183.f155,
                .no = f183.f154,
                .routingNumber = f183.f158,
                .accountNumber = f183.f160,
                .checking = f183.f156,
                .savings = f183.f157,
                .amountOwed = f183.f162,
                .date = f183.f164,
                .fromFederal = f183.f188831,
                .details = {f183.f188832, f183.f188833, f183.f188834, f183.f188835},
            },
        .carried = {f183.f79766, f183.f79767, f183.f79768, f183.f79769, f183.f142796, f183.f142797, f183.f142798},
        .known = {f183.f34, f183.f69705},
        .failurePending = f183.f28906,
        .failure = f183.f28907,
        .signatureAnswer = f183.f202,
        .preparerId = f183.f158073,
    };
}();
