// Form 69's lines by what they hold: named references to the members of its
// catalogue (kGAForm69FieldIds). Form 69, the information form, is read by
// most Georgia routines (the return's residency above all), so its lines
// stand in a header of their own, in the pattern of Form70Lines.h.
#pragma once

#include <array>

#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/LicenceLines.h"
#include "platform/Primitives.h"

struct Form69Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;

    // The filers' heading: first, middle and last name, suffix and number of
    // the taxpayer, then of the spouse; street, apartment, city, state and
    // ZIP code.
    struct Heading {
        std::array<Field, 15> rows;
        Line taxpayerFirstName, taxpayerMiddleName, taxpayerLastName, taxpayerSuffix, taxpayerNumber;
        Line spouseFirstName, spouseMiddleName, spouseLastName, spouseSuffix, spouseNumber;
        Line street, apartment, city, state, zipCode;
        Line filedForm1, filedForm55, filedForm87;  // the federal main form filed
    };
    // Each filer's residency: one of three boxes, kept to one mark; a third
    // trio of the same kind; the return's residency, exactly one marked.
    struct Residency {
        Line taxpayerFullYear, taxpayerPartYear, taxpayerNonresident;
        Line spouseFullYear, spousePartYear, spouseNonresident;
        Line thirdFullYear, thirdPartYear, thirdNonresident;
        Line fullYear, partYear, nonresident;
        Line periodFrom, periodTo;  // the part-year period, MM/DD/YYYY
        Line code;                  // the state wage worksheet's residency code
    };
    // The estimated tax paid to Georgia, from the Georgia rows of federal
    // form 190: the total of the payments without a date, twelve rows of
    // date and amount from the first date on, their sum and the total of
    // all; and a further amount paid, which form 70 adds to the total.
    struct EstimatedPayments {
        Line undated;
        Line firstDate;
        std::array<Field, 12> amounts;
        Line datedTotal, total;
        Line further;
        Line undatedMark, datedTotalMark, furtherMark;  // marked when above 0
    };
    struct Filing {
        Line mainForm;  // the main form's number
        Line filingStatus;
        Line choiceA, choiceB;
        Line firstMark;  // marked no on every calculation
    };
    // Refund and bank options.
    struct Options {
        // Direct deposit of the refund, or the other choice; the account's
        // details taken from the federal return, or entered.
        Line directDeposit, otherRefundChoice, depositFromFederal;
        Line depositRouting, depositAccount, depositChecking, depositSavings;
        Line option83, option84;
        Line paperNoDeposit;
        // Pairs of boxes, the second of each pair marked by default.
        std::array<std::array<Field, 3>, 6> defaults;  // (box, pair box, default)
        Line choice33436, choice33437;
    };
    // Payment of the amount owed by withdrawal from a bank account: asked
    // for or not, the account's details carried from the federal return or
    // entered, the account, and the amount owed (the summary's line 27).
    struct Withdrawal {
        Line yes, no;
        Line fromFederal;
        Line routingNumber, accountNumber, checking, savings;
        Line amountOwed;
        Line date;
    };
    struct Form78Marks {
        Line anyCopy, anyCopyMarked;
    };
    // The interview's questions, each a box answered yes, which switch its
    // topics on.
    struct Questions {
        Line extension;     // an extension of time to file
        Line estimatedTax;  // estimated tax for next year
        Line amended;       // the return amends one filed before
        Line appliesRefund;
        Line contributes;  // contributions out of the refund
    };
    // The automated test facility's marks: a feature running, and the
    // features done.
    struct AutoTestMarks {
        Line busy, done;
    };

    Heading heading;
    Residency residency;
    EstimatedPayments estimatedPayments;
    Line otherStateWithoutRow;  // an other-state return with no row on form 73
    Filing filing;
    Options options;
    Withdrawal withdrawal;
    FilerLicenceLines licence;
    Form78Marks form78;
    Questions questions;
    AutoTestMarks autoTest;
    // Lines carried as they stand from federal forms 92 and 183, and the box
    // that federal form 131's mapped answer marks.
    std::array<Field, 3> carriedFromForm92;
    std::array<Field, 7> carriedFromForm183;
    Line officeBox;
};

inline constexpr Form69Lines kForm69Lines = [] {
    const auto& f69 = kGAForm69FieldIds;
    return Form69Lines{
        .heading =
            {
                .rows = {f69.f21, f69.f22, f69.f23, f69.f24, f69.f25, f69.f26, f69.f27, f69.f28, f69.f29, f69.f30,
                         f69.f31, f69.f32, f69.f33, f69.f34, f69.f35},
                .taxpayerFirstName = f69.f21,
                .taxpayerMiddleName = f69.f22,
                .taxpayerLastName = f69.f23,
                .taxpayerSuffix = f69.f24,
                .taxpayerNumber = f69.f25,
                .spouseFirstName = f69.f26,
                .spouseMiddleName = f69.f27,
                .spouseLastName = f69.f28,
                .spouseSuffix = f69.f29,
                .spouseNumber = f69.f30,
                .street = f69.f31,
                .apartment = f69.f32,
                .city = f69.f33,
                .state = f69.f34,
                .zipCode = f69.f35,
                .filedForm1 = f69.f46,
                .filedForm55 = f69.f47,
                .filedForm87 = f69.f48,
            },
        .residency =
            {
                .taxpayerFullYear = f69.f36,
                .taxpayerPartYear = f69.f38,
                .taxpayerNonresident = f69.f37,
                .spouseFullYear = f69.f96,
                .spousePartYear = f69.f97,
                .spouseNonresident = f69.f98,
                .thirdFullYear = f69.f99,
                .thirdPartYear = f69.f100,
                .thirdNonresident = f69.f101,
                .fullYear = f69.f110,
                .partYear = f69.f111,
                .nonresident = f69.f112,
                .periodFrom = f69.f113,
                .periodTo = f69.f114,
                .code = f69.f8,
            },
        .estimatedPayments =
            {
                .undated = f69.f49,
                .firstDate = f69.f50,
                .amounts = {f69.f51, f69.f53, f69.f55, f69.f57, f69.f59, f69.f61, f69.f63, f69.f65, f69.f67, f69.f69,
                            f69.f71, f69.f73},
                .datedTotal = f69.f74,
                .total = f69.f75,
                .further = f69.f76,
                .undatedMark = f69.f16,
                .datedTotalMark = f69.f17,
                .furtherMark = f69.f18,
            },
        .otherStateWithoutRow = f69.f142705,
        .filing =
            {
                .mainForm = f69.f6,
                .filingStatus = f69.f7,
                .choiceA = f69.f13,
                .choiceB = f69.f14,
                .firstMark = f69.f1,
            },
        .options =
            {
                .directDeposit = f69.f77,
                .otherRefundChoice = f69.f12,
                .depositFromFederal = f69.f78,
                .depositRouting = f69.f79,
                .depositAccount = f69.f80,
                .depositChecking = f69.f81,
                .depositSavings = f69.f82,
                .option83 = f69.f83,
                .option84 = f69.f84,
                .paperNoDeposit = f69.f197644,
                .defaults = {{{f69.f83, f69.f84, f69.f83},
                              {f69.f93, f69.f92, f69.f93},
                              {f69.f105, f69.f104, f69.f105},
                              {f69.f106, f69.f106, f69.f107},
                              {f69.f109, f69.f108, f69.f109},
                              {f69.f95, f69.f94, f69.f95}}},
                .choice33436 = f69.f33436,
                .choice33437 = f69.f33437,
            },
        .withdrawal =
            {
                .yes = f69.f187983,
                .no = f69.f187984,
                .fromFederal = f69.f189221,
                .routingNumber = f69.f187987,
                .accountNumber = f69.f187988,
                .checking = f69.f187985,
                .savings = f69.f187986,
                .amountOwed = f69.f187989,
                .date = f69.f187990,
            },
        .licence =
            {
                .taxpayer =
                    {
                        .firstIdBox = f69.f193214,
                        .secondIdBox = f69.f193215,
                        .firstOtherAnswer = f69.f193208,
                        .secondOtherAnswer = f69.f199053,
                        .number = f69.f193209,
                        .issuingState = f69.f193210,
                        .issueDate = f69.f193211,
                        .expirationDate = f69.f193212,
                        .noExpirationBox = f69.f193213,
                    },
                .spouse =
                    {
                        .firstIdBox = f69.f193222,
                        .secondIdBox = f69.f193223,
                        .firstOtherAnswer = f69.f193216,
                        .secondOtherAnswer = f69.f199054,
                        .number = f69.f193217,
                        .issuingState = f69.f193218,
                        .issueDate = f69.f193219,
                        .expirationDate = f69.f193220,
                        .noExpirationBox = f69.f193221,
                    },
            },
        .form78 =
            {
                .anyCopy = f69.f199731,
                .anyCopyMarked = f69.f196259,
            },
        .questions =
            {
                .extension = f69.f104,
                .estimatedTax = f69.f94,
                .amended = f69.f108,
                .appliesRefund = f69.f33438,
                .contributes = f69.f33439,
            },
        .autoTest =
            {
                .busy = f69.f72403,
                .done = f69.f72404,
            },
        .carriedFromForm92 = {f69.f9, f69.f10, f69.f11},
        .carriedFromForm183 = {f69.f81572, f69.f81573, f69.f81574, f69.f81575, f69.f142824, f69.f142825, f69.f142826},
        .officeBox = f69.f133617,
    };
}();
