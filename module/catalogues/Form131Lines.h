// Federal form 131's lines by what they hold: named references to the
// members of its catalogue (kForm131FieldIds). Form 131, the office and
// preparer data, is the office record of the e-file and part of the state
// return record; the e-file writer converts these lines, and the frame maps
// the answer line to the information form.
#pragma once

#include <array>

#include "module/catalogues/Form131FieldIds.h"
#include "platform/Primitives.h"

struct Form131Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The office numbers the host fills in: district, office and service
    // center.
    Line districtNumber, officeNumber, serviceCenter;
    // The two office values of the authentication header, texts whose
    // leading zeros a state may keep.
    Line officeValue1, officeValue2;
    Line preparerIdNext;  // the office record's line the preparer's identifier goes before
    Line stateCode, refundCode;
    Line infoFormAnswer;  // "Y" when the information form holds the mapped answer
    Line signatureAnswer;
    Line directDeposit;  // "Y" when the refund goes to the bank
    Line mappedAnswer;   // "1" or "2": whether the information form holds the answer
    // Lines the state return record leaves empty.
    std::array<Primitives::QVImmutableIdentifier, 5> emptiedInStateRecord;
    Line authenticationValue;  // a value of the authentication header
};

inline constexpr Form131Lines kForm131Lines = [] {
    const auto& f131 = kForm131FieldIds;
    return Form131Lines{
        .districtNumber = f131.f126,
        .officeNumber = f131.f127,
        .serviceCenter = f131.f336,
        .officeValue1 = f131.f181908,
        .officeValue2 = f131.f189012,
        .preparerIdNext = f131.f80,
        .stateCode = f131.f328,
        .refundCode = f131.f111,
        .infoFormAnswer = f131.f333,
        .signatureAnswer = f131.f325,
        .directDeposit = f131.f334,
        .mappedAnswer = f131.f72481,
        .emptiedInStateRecord = {f131.f370, f131.f371, f131.f372, f131.f72480, f131.f140456},
        .authenticationValue = f131.f195234,
    };
}();
