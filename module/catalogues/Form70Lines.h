// Form 70's lines by what they hold: named references to the members of its
// catalogue (kGAForm70FieldIds), grouped as the form reads, so that a routine
// writes lines.income.taxable rather than f70.f83.
//
// Every routine that writes a form keeps such a struct beside it; one that
// other routines or subsystems read as well (form 70's results are read by
// the credits, the schedules, the summary, the review and the output) has it
// in a header of its own, like this one. Like the catalogues, these headers
// stand outside every subsystem's namespace: the calculation, the review,
// the output and the frame read the same names. Catalogue members keep their
// f<number> names; only the roles are named here.
#pragma once

#include <array>

#include "module/catalogues/GAForm70FieldIds.h"
#include "platform/Primitives.h"

struct Form70Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    struct Heading {
        Line filingStatus;  // the letter "A" to "D"
        Line georgiaWages;
        Line licenceNumber;  // the taxpayer's identity document and its state
        Line licenceState;
        Line taxpayerFirstName, taxpayerMiddleName, taxpayerLastName, taxpayerSuffix;
        Line spouseFirstName, spouseMiddleName, spouseLastName, spouseSuffix;
        Line taxpayerNumber;
        Line spouseNumber, spouseNumberRepeated;
        Line street, apartment, city, state, zipCode, foreignRegion;
        Line defaultChoice, otherChoice;  // a pair of boxes, the first marked by default
        Line taxpayerDeceasedMark, spouseDeceasedMark;
        Line signatureDate;
        // The taxpayer's number repeated on the later pages.
        std::array<Primitives::QVImmutableIdentifier, 4> numberOnLaterPages;
    };
    struct Residency {
        Line code;                  // "1" full year, "2" part year, "3" nonresident
        Line from, to;              // MM-DD-2018
        Line periodFrom, periodTo;  // the information form's dates, as entered
        Line residentAtYearEnd;     // also marks a low-income credit taken
    };
    struct Dependents {
        Line firstRowStart, lastRowEnd;       // four rows of name, last name, number, relationship
        Line worksheetText1, worksheetText2;  // "WORKSHEET" / "ATTACHED" from five dependents on
    };
    struct Exemptions {
        Line taxpayerBox, spouseBox;
        Line filers, dependents;  // counts
        Line filersCounted, filerAmount;
        Line dependentsCounted, dependentAmount;
        Line total;
    };
    struct Deductions {
        Line standard;
        Line taxpayerAged65, taxpayerBlind, spouseAged65, spouseBlind;  // boxes
        Line agedOrBlindBoxes, agedOrBlindAmount;
        Line totalStandard;
        Line itemized, incomeTaxAdjustment, otherAdjustment, itemizedRepeated, adjustments;
        Line totalItemized;
    };
    struct Income {
        Line federalAgi;
        Line federalForm2Amount;
        Line georgiaAdjustments;
        Line georgiaAgi;
        Line afterDeductions;
        Line taxable;
        // Marks of a negative amount (the one of the federal AGI is kept
        // empty).
        Line negativeFederalAgi, negativeGeorgiaAgi, negativeAfterDeductions, negativeTaxable;
    };
    struct LowIncomeCredit {
        Line federalAgi;  // not below 0
        Line dependents, dependentsNotCounted;
        Line people, agedFilers, allPeople;
        Line perPerson, amount;
        Line peopleShown, perPersonShown, credit;
        // Answers that bar a filer from the credit, with their "no" boxes.
        Line taxpayerBarred, taxpayerNotBarred, spouseBarred, spouseNotBarred;
    };
    struct Credits {
        Line tax;
        Line otherState, worksheets, summary;
        Line total;
        Line netTax;
        Line exceedsTax;  // the credits entered go past the tax
    };
    // One of form 70's four withholding rows, the Georgia income statements
    // the filer enters: the payer's and the state's identification numbers,
    // the Georgia wages and the Georgia tax withheld.
    struct IncomeStatement {
        Line payerId, stateId, georgiaWages, withheld;
    };
    struct Payments {
        Line withheld;
        std::array<IncomeStatement, 4> incomeStatements;
        Line ownRowsTotal, ownRowsTotalRepeated;  // the withholding rows' total
        Line estimated;
        Line total;
    };
    struct Result {
        Line overpaid, due;
        Line credited;  // to next year's estimated tax
        // Amounts applied from an overpayment: contributions and the like.
        std::array<Primitives::QVImmutableIdentifier, 9> applied;
        Line appliedTotal;
        Line penalty, penaltyMark;
        Line balanceDue, refund;
        Line depositRouting, depositAccount, depositChecking, depositSavings;
        Line federalReference;  // copied from federal form 92 field 671
    };
    struct Deceased {
        Line text, date, firstName, lastName;
    };
    struct ReviewMarks {
        Line reviewNeeded;
        Line trigger315, trigger316;  // amounts that call for a review when above 0
        Line disasterExtension;       // filed late from a presidentially declared disaster area
    };
    // The line at which the e-file writes the Georgia records into form 70's
    // record.
    struct EFile {
        Line georgiaRecords;
    };
    // The interview's question whether other business or miscellaneous
    // credits are claimed, a box answered yes.
    struct Questions {
        Line otherCredits;
    };

    Heading heading;
    Residency residency;
    Dependents dependents;
    Exemptions exemptions;
    Deductions deductions;
    Income income;
    LowIncomeCredit lowIncome;
    Credits credits;
    Payments payments;
    Result result;
    Deceased deceased;
    ReviewMarks review;
    EFile efile;
    Questions questions;
};

inline constexpr Form70Lines kForm70Lines = [] {
    const auto& f70 = kGAForm70FieldIds;
    return Form70Lines{
        .heading =
            {
                .filingStatus = f70.f44,
                .georgiaWages = f70.f185987,
                .licenceNumber = f70.f189480,
                .licenceState = f70.f189481,
                .taxpayerFirstName = f70.f24,
                .taxpayerMiddleName = f70.f25,
                .taxpayerLastName = f70.f27,
                .taxpayerSuffix = f70.f28,
                .spouseFirstName = f70.f29,
                .spouseMiddleName = f70.f30,
                .spouseLastName = f70.f32,
                .spouseSuffix = f70.f33,
                .taxpayerNumber = f70.f26,
                .spouseNumber = f70.f31,
                .spouseNumberRepeated = f70.f3,
                .street = f70.f35,
                .apartment = f70.f36,
                .city = f70.f37,
                .state = f70.f38,
                .zipCode = f70.f39,
                .foreignRegion = f70.f40,
                .defaultChoice = f70.f208,
                .otherChoice = f70.f34,
                .taxpayerDeceasedMark = f70.f333,
                .spouseDeceasedMark = f70.f209,
                .signatureDate = f70.f74354,
                .numberOnLaterPages = {f70.f80, f70.f111, f70.f173, f70.f44953},
            },
        .residency =
            {
                .code = f70.f41,
                .from = f70.f42,
                .to = f70.f43,
                .periodFrom = f70.f347,
                .periodTo = f70.f348,
                .residentAtYearEnd = f70.f6,
            },
        .dependents =
            {
                .firstRowStart = f70.f45,
                .lastRowEnd = f70.f60,
                .worksheetText1 = f70.f45,
                .worksheetText2 = f70.f49,
            },
        .exemptions =
            {
                .taxpayerBox = f70.f324,
                .spouseBox = f70.f325,
                .filers = f70.f326,
                .dependents = f70.f327,
                .filersCounted = f70.f329,
                .filerAmount = f70.f82,
                .dependentsCounted = f70.f330,
                .dependentAmount = f70.f331,
                .total = f70.f332,
            },
        .deductions =
            {
                .standard = f70.f65,
                .taxpayerAged65 = f70.f66,
                .taxpayerBlind = f70.f67,
                .spouseAged65 = f70.f68,
                .spouseBlind = f70.f69,
                .agedOrBlindBoxes = f70.f70,
                .agedOrBlindAmount = f70.f71,
                .totalStandard = f70.f72,
                .itemized = f70.f73,
                .incomeTaxAdjustment = f70.f74,
                .otherAdjustment = f70.f75,
                .itemizedRepeated = f70.f77,
                .adjustments = f70.f78,
                .totalItemized = f70.f79,
            },
        .income =
            {
                .federalAgi = f70.f62,
                .federalForm2Amount = f70.f323,
                .georgiaAdjustments = f70.f63,
                .georgiaAgi = f70.f64,
                .afterDeductions = f70.f81,
                .taxable = f70.f83,
                .negativeFederalAgi = f70.f44948,
                .negativeGeorgiaAgi = f70.f44949,
                .negativeAfterDeductions = f70.f44950,
                .negativeTaxable = f70.f44951,
            },
        .lowIncome =
            {
                .federalAgi = f70.f89,
                .dependents = f70.f349,
                .dependentsNotCounted = f70.f350,
                .people = f70.f90,
                .agedFilers = f70.f91,
                .allPeople = f70.f92,
                .perPerson = f70.f93,
                .amount = f70.f94,
                .peopleShown = f70.f95,
                .perPersonShown = f70.f96,
                .credit = f70.f97,
                .taxpayerBarred = f70.f17405,
                .taxpayerNotBarred = f70.f17406,
                .spouseBarred = f70.f17407,
                .spouseNotBarred = f70.f17408,
            },
        .credits =
            {
                .tax = f70.f84,
                .otherState = f70.f189482,
                .worksheets = f70.f189483,
                .summary = f70.f85,
                .total = f70.f189484,
                .netTax = f70.f86,
                .exceedsTax = f70.f195593,
            },
        .payments =
            {
                .withheld = f70.f87,
                .incomeStatements = {{
                    {.payerId = f70.f190494, .stateId = f70.f190495, .georgiaWages = f70.f190496, .withheld = f70.f243},
                    {.payerId = f70.f190497, .stateId = f70.f190498, .georgiaWages = f70.f190499, .withheld = f70.f244},
                    {.payerId = f70.f190500,
                     .stateId = f70.f190501,
                     .georgiaWages = f70.f190502,
                     .withheld = f70.f140462},
                    {.payerId = f70.f190503,
                     .stateId = f70.f190504,
                     .georgiaWages = f70.f190505,
                     .withheld = f70.f148018},
                }},
                .ownRowsTotal = f70.f245,
                .ownRowsTotalRepeated = f70.f140463,
                .estimated = f70.f88,
                .total = f70.f98,
            },
        .result =
            {
                .overpaid = f70.f100,
                .due = f70.f99,
                .credited = f70.f101,
                .applied = {f70.f104, f70.f102, f70.f103, f70.f13471, f70.f24014, f70.f35452, f70.f44952, f70.f178308,
                            f70.f197058},
                .appliedTotal = f70.f351,
                .penalty = f70.f105,
                .penaltyMark = f70.f74353,
                .balanceDue = f70.f106,
                .refund = f70.f107,
                .depositRouting = f70.f132301,
                .depositAccount = f70.f132302,
                .depositChecking = f70.f132297,
                .depositSavings = f70.f132298,
                .federalReference = f70.f110,
            },
        .deceased =
            {
                .text = f70.f17,
                .date = f70.f18,
                .firstName = f70.f19,
                .lastName = f70.f20,
            },
        .review =
            {
                .reviewNeeded = f70.f33441,
                .trigger315 = f70.f315,
                .trigger316 = f70.f316,
                .disasterExtension = f70.f42815,
            },
        .efile =
            {
                .georgiaRecords = f70.f345,
            },
        .questions =
            {
                .otherCredits = f70.f178303,
            },
    };
}();
