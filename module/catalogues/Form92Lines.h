// Federal form 92's lines by what they hold: the personal information of the
// federal return that the state calculation carries into the information
// form, that the review compares with it, that the frame maps and that the
// e-file's records write.
#pragma once

#include <array>

#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/LicenceLines.h"
#include "platform/Primitives.h"

struct Form92Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // A state the filers lived in, and each filer's residency there
    // ("Full-year resident", "Part-year resident" or "Nonresident").
    struct ResidencyRow {
        Line state, taxpayer, spouse;
    };
    // One filer: name parts, social security number (a text, so that a
    // leading zero survives) and birth date.
    struct Filer {
        Line firstName, middleName, lastName, suffix;
        Line number;
        Line birthDate;
        Line disabled;  // box: qualifies the filer for the retirement exclusion
    };
    // The filers' address: at home, or abroad when the box says so.
    struct Address {
        Line street, apartment, city, state, zipCode;
        Line abroad;  // box: the address is a foreign one
        Line foreignProvince, foreignPostalCode;
        Line foreignRegion, fallbackRegion;  // the second where the first does not fit
    };
    // The state return's result as the e-file's return information carries
    // it: the refund, or the balance due.
    struct StateResult {
        Line refund, balanceDue;
    };
    // The refund's bank account: deposit asked for (two boxes, either one),
    // and the account's details.
    struct Deposit {
        Line wanted, wantedToo;
        Line federalOnly;  // the account is not carried to the state return
        Line routingNumber, accountNumber;
        Line checking, savings;
    };

    std::array<ResidencyRow, 3> residencyRows;
    Line careOf;  // the care-of line of the filers' address
    // A filer's death: an entry each, and a box each.
    Line taxpayerDeceased, spouseDeceased;
    Line taxpayerDeceasedBox, spouseDeceasedBox;
    Deposit deposit;
    FilerLicenceLines licence;
    Filer taxpayer, spouse;
    Address address;
    Line signatureDate;
    StateResult stateResult;
    // A text of the federal return that form 70, both vouchers and the
    // e-file's return header repeat; the return header of an address abroad
    // takes the second one.
    Line reference, referenceAbroad;
    // The texts, numbers and boxes that common items 117 to 124 copy: two
    // texts joined, a text, a number, and a box marked by the first box or by
    // the other two together.
    struct CommonItems {
        Line item117First, item117Second, item118, item120Number;
        Line item124Box, item124BoxA, item124BoxB;
    };
    CommonItems commonItems;
    // Marked on a separate return: the spouse's exemption counts.
    Line spouseExemption;
    // Lines the information form carries as they stand, and its first filing
    // choice.
    std::array<Primitives::QVImmutableIdentifier, 3> carried;
    Line filingChoice;
    // The return information of the e-file: a line of the taxpayer and one
    // of the spouse (the return header's, of a joint return), each with two
    // lines written only beside it, and a line the state return record
    // leaves empty.
    struct ReturnInformation {
        Line taxpayerLine, spouseLine;
        std::array<Primitives::QVImmutableIdentifier, 2> withTaxpayerLine, withSpouseLine;
        Line emptiedInStateRecord;
    };
    ReturnInformation returnInformation;
    Line preparerNamed;  // a value: the office record carries the preparer's identifier
    // The authentication header's answers: yes gives its line 00200 the
    // value 1; no, or federal form 183's signature answer yes, lets it carry
    // the two further signature lines.
    Line authenticationAnswer, signatureAnswer;
    std::array<Primitives::QVImmutableIdentifier, 2> furtherSignature;
    // The lines of the authentication header that the form fills, each by
    // the header line it fills.
    struct AuthenticationLines {
        Line line00120, line00123, line00124, line00143, line00147, line00245, line00255;
    };
    AuthenticationLines authentication;
};

inline constexpr Form92Lines kForm92Lines = [] {
    const auto& f92 = kForm92FieldIds;
    return Form92Lines{
        .residencyRows = {{
            {.state = f92.f675, .taxpayer = f92.f43844, .spouse = f92.f43845},
            {.state = f92.f679, .taxpayer = f92.f43846, .spouse = f92.f43847},
            {.state = f92.f683, .taxpayer = f92.f43848, .spouse = f92.f43849},
        }},
        .careOf = f92.f736,
        .taxpayerDeceased = f92.f557,
        .spouseDeceased = f92.f558,
        .taxpayerDeceasedBox = f92.f1108,
        .spouseDeceasedBox = f92.f1109,
        .deposit =
            {
                .wanted = f92.f536,
                .wantedToo = f92.f765,
                .federalOnly = f92.f70126,
                .routingNumber = f92.f392,
                .accountNumber = f92.f391,
                .checking = f92.f393,
                .savings = f92.f394,
            },
        .licence =
            {
                .taxpayer =
                    {
                        .firstIdBox = f92.f195137,
                        .secondIdBox = f92.f195138,
                        .firstOtherAnswer = f92.f195615,
                        .secondOtherAnswer = f92.f199001,
                        .number = f92.f184582,
                        .issuingState = f92.f184584,
                        .issueDate = f92.f184586,
                        .expirationDate = f92.f184588,
                        .noExpirationBox = f92.f195613,
                    },
                .spouse =
                    {
                        .firstIdBox = f92.f195139,
                        .secondIdBox = f92.f195140,
                        .firstOtherAnswer = f92.f195616,
                        .secondOtherAnswer = f92.f199002,
                        .number = f92.f184583,
                        .issuingState = f92.f184585,
                        .issueDate = f92.f184587,
                        .expirationDate = f92.f184589,
                        .noExpirationBox = f92.f195614,
                    },
            },
        .taxpayer =
            {
                .firstName = f92.f1,
                .middleName = f92.f477,
                .lastName = f92.f3,
                .suffix = f92.f5,
                .number = f92.f7,
                .birthDate = f92.f9,
                .disabled = f92.f490,
            },
        .spouse =
            {
                .firstName = f92.f2,
                .middleName = f92.f478,
                .lastName = f92.f4,
                .suffix = f92.f6,
                .number = f92.f8,
                .birthDate = f92.f10,
                .disabled = f92.f491,
            },
        .address =
            {
                .street = f92.f20,
                .apartment = f92.f21,
                .city = f92.f22,
                .state = f92.f23,
                .zipCode = f92.f24,
                .abroad = f92.f545,
                .foreignProvince = f92.f81524,
                .foreignPostalCode = f92.f81525,
                .foreignRegion = f92.f81523,
                .fallbackRegion = f92.f150739,
            },
        .signatureDate = f92.f843,
        .stateResult =
            {
                .refund = f92.f17994,
                .balanceDue = f92.f17995,
            },
        .reference = f92.f671,
        .referenceAbroad = f92.f151513,
        .commonItems =
            {
                .item117First = f92.f27,
                .item117Second = f92.f13447,
                .item118 = f92.f486,
                .item120Number = f92.f28,
                .item124Box = f92.f29,
                .item124BoxA = f92.f493,
                .item124BoxB = f92.f450,
            },
        .spouseExemption = f92.f30,
        .carried = {f92.f624, f92.f625, f92.f626},
        .filingChoice = f92.f766,
        .returnInformation =
            {
                .taxpayerLine = f92.f711,
                .spouseLine = f92.f712,
                .withTaxpayerLine = {f92.f789, f92.f790},
                .withSpouseLine = {f92.f791, f92.f792},
                .emptiedInStateRecord = f92.f715,
            },
        .preparerNamed = f92.f158035,
        .authenticationAnswer = f92.f537,
        .signatureAnswer = f92.f1076,
        .furtherSignature = {f92.f20464, f92.f20467},
        .authentication =
            {
                .line00120 = f92.f200212,
                .line00123 = f92.f201312,
                .line00124 = f92.f201311,
                .line00143 = f92.f185998,
                .line00147 = f92.f199166,
                .line00245 = f92.f195233,
                .line00255 = f92.f191269,
            },
    };
}();
