// The forms of the Georgia return, one row each: how the calculation reaches
// a form's copies, which check the review runs on them, where the form
// stands in the print list and how its fields print, and what the 2-D
// barcode and the e-file take of it. The calculation's dispatch, the review's
// dispatch, the print list, the print texts, the amounts that leave in whole
// dollars, the barcode, the IND-CR summary (form 74), the review of credits
// above the tax and the e-file's IND-CR record all read their forms from
// this table: a new Georgia form is a row here and its routines.
//
// Every aspect of a row is written out: a row that leaves one out does not
// compile (missing initialiser). Two lists of forms stay apart, for their
// order is their own: the calculation order GACalcOrder, which calculates
// some forms more than once, and the group of identifiers GAFormIdentifiers;
// a test names every row either of them lacks.
//
// The rows stand in the print order of the Georgia return; the forms that do
// not print follow.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "module/catalogues/Form74Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/review/GATaxFormAuditor.h"

namespace GAForms {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;
using Engine = GACalculationMgmt::GATaxReturnCalcEngine;
using Auditor = GAAuditMgmt::GATaxFormAuditor;

// An operation of the engine that takes the form (one of the host's per-form
// slots), and a routine that calculates one copy.
using CalcOperation = void (Engine::*)(const FormId&, DataMgmt::TaxFormPtr, int, int);
using CalcRoutine = void (Engine::*)(DataMgmt::TaxFormPtr, std::uint16_t, int);

// How the dispatcher reaches a copy: through an operation that takes the
// form, which calls the row's routine where the row names one (the grouped
// forms) or knows its own; or, without an operation, straight to the
// routine.
struct Calculation {
    CalcOperation operation;
    CalcRoutine routine;
};
constexpr Calculation calculatedBy(CalcRoutine routine) { return {nullptr, routine}; }
constexpr Calculation calculatedThrough(CalcOperation operation, CalcRoutine routine = nullptr) {
    return {operation, routine};
}

// The check a copy gets after the checks every state form shares;
// auditNoChecks where those are all.
using ReviewRoutine = void (Auditor::*)(DataMgmt::TaxFormPtr, std::uint16_t);

// Where a form stands in the print list, by the host's kinds of entry.
enum class PrintPlace : std::uint8_t {
    OwnForm = 0,        // printed on its own
    WithPreceding = 1,  // printed with the form before it
    OnRequest = 3,      // printed when asked for
    NotPrinted = 255,   // not in the list
};

// How the fields of a form print, besides the date layout of every form.
enum class PrintText : std::uint8_t {
    AsEntered,        // as they stand
    Schedule,         // texts and boxes upper-cased, amounts without commas
                      // (the main form and its schedules)
    EstimatedTax,     // texts and boxes upper-cased, amounts with cents
    Voucher,          // texts upper-cased, boxes as they stand, amounts
                      // with cents
    Worksheet,        // texts upper-cased, boxes and amounts without commas
    TextsUpperCased,  // texts upper-cased, the rest as it stands
};

// An individual credit worksheet (IND-CR 201 to 209): its credit line, the
// line of the summary form 74 that takes it, and whether the review names it
// among the credits a filer can reduce when the credits exceed the tax.
struct IndividualCredit {
    FieldId credit;
    FieldId summaryLine;
    bool reducible;
};

struct GeorgiaForm {
    FormId form;
    Calculation calculation;
    ReviewRoutine review;
    PrintPlace printPlace;
    PrintText printText;
    // Its amounts print and leave in whole dollars (else in cents).
    bool wholeDollars;
    // The 2-D barcode carries a copy's values only when the calculation has
    // marked the copy as calculated.
    bool barcodeWhenCalculated;

    // ---- what only some forms have
    // In the print list of a nonresident (the other-state credit is a
    // resident's).
    bool printedForNonresident = true;
    // The one field of a worksheet that prints as it stands.
    FieldId printedAsEntered{};
    std::optional<IndividualCredit> individualCredit{};
};

// How the rows below are written.
namespace rows {

using E = Engine;
using A = Auditor;
inline constexpr PrintPlace kOwn = PrintPlace::OwnForm;

// An IND-CR worksheet: calculated through the grouped forms' operation,
// printed on its own with its texts upper-cased, in the barcode only when
// calculated, its credit taken by form 74.
constexpr GeorgiaForm indCr(const FormId& form, CalcRoutine routine, ReviewRoutine review, IndividualCredit credit,
                            const FieldId& printedAsEntered = FieldId()) {
    return {.form = form,
            .calculation = calculatedThrough(&E::calcGroupedForm, routine),
            .review = review,
            .printPlace = kOwn,
            .printText = PrintText::Worksheet,
            .wholeDollars = false,
            .barcodeWhenCalculated = true,
            .printedAsEntered = printedAsEntered,
            .individualCredit = credit};
}

// A form that neither prints nor leaves: a worksheet of the calculation.
constexpr GeorgiaForm worksheet(const FormId& form, Calculation calculation) {
    return {.form = form,
            .calculation = calculation,
            .review = &A::auditNoChecks,
            .printPlace = PrintPlace::NotPrinted,
            .printText = PrintText::AsEntered,
            .wholeDollars = false,
            .barcodeWhenCalculated = false};
}

}  // namespace rows

inline constexpr std::array kGeorgiaForms = [] {
    using namespace rows;
    using enum PrintText;
    constexpr const Form74Lines& f74 = kForm74Lines;
    return std::array{
        GeorgiaForm{.form = kGAForm77ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::calcPaymentVoucher),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = Voucher,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm70ID,
                    .calculation = calculatedBy(&E::calcMainForm),
                    .review = &A::auditMainForm,
                    .printPlace = kOwn,
                    .printText = Schedule,
                    .wholeDollars = true,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm189215ID,
                    .calculation = calculatedBy(&E::calcAdjustmentsForm),
                    .review = &A::auditAdjustments,
                    .printPlace = kOwn,
                    .printText = Schedule,
                    .wholeDollars = true,
                    .barcodeWhenCalculated = true},
        GeorgiaForm{.form = kGAForm189216ID,
                    .calculation = calculatedBy(&E::calcCreditSummaryForm),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = Schedule,
                    .wholeDollars = true,
                    .barcodeWhenCalculated = true},
        GeorgiaForm{.form = kGAForm203811ID,
                    .calculation = calculatedThrough(&E::calcBusinessCreditForm),
                    .review = &A::auditPassThroughCredits,
                    .printPlace = PrintPlace::WithPreceding,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm189217ID,
                    .calculation = calculatedBy(&E::calcPartYearForm),
                    .review = &A::auditNonresidentIncome,
                    .printPlace = kOwn,
                    .printText = Schedule,
                    .wholeDollars = true,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm189218ID,
                    .calculation = calculatedBy(&E::calcSourceLinksForm),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = Schedule,
                    .wholeDollars = true,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm71ID,
                    .calculation = calculatedThrough(&E::calcUnderpaymentForm),
                    .review = &A::auditWithholdingQuarters,
                    .printPlace = kOwn,
                    .printText = TextsUpperCased,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm76ID,
                    .calculation = calculatedThrough(&E::calcDocumentListForm),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm72ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::calcForm72),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = TextsUpperCased,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm74ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::sumIndCrParts),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        indCr(kGAForm190054ID, &E::calcIndCr201, &A::auditIndCr201,
              {.credit = kIndCr201.credit, .summaryLine = f74.indCr201, .reducible = true}),
        indCr(kGAForm190055ID, &E::calcIndCr202, &A::auditIndCr202,
              {.credit = kIndCr202.credit, .summaryLine = f74.indCr202, .reducible = false}, kIndCr202.rateShown),
        indCr(kGAForm190056ID, &E::calcIndCr203, &A::auditIndCr203,
              {.credit = kIndCr203.credit, .summaryLine = f74.indCr203, .reducible = true}),
        indCr(kGAForm190057ID, &E::calcIndCr204, &A::auditIndCr204,
              {.credit = kIndCr204.credit, .summaryLine = f74.indCr204, .reducible = false}, kIndCr204.rateShown),
        indCr(kGAForm190058ID, &E::calcIndCr205, &A::auditIndCr205,
              {.credit = kIndCr205.credit, .summaryLine = f74.indCr205, .reducible = false}),
        indCr(kGAForm190059ID, &E::calcIndCr206, &A::auditIndCr206,
              {.credit = kIndCr206.credit, .summaryLine = f74.indCr206, .reducible = true}),
        indCr(kGAForm190060ID, &E::calcIndCr207, &A::auditIndCr207,
              {.credit = kIndCr207.credit, .summaryLine = f74.indCr207, .reducible = false},
              kIndCr207.taxpayerPractice.beds),
        indCr(kGAForm190061ID, &E::calcIndCr208, &A::auditIndCr208,
              {.credit = kIndCr208.credit, .summaryLine = f74.indCr208, .reducible = true}),
        indCr(kGAForm190062ID, &E::calcIndCr209, &A::auditIndCr209,
              {.credit = kIndCr209.credit, .summaryLine = f74.indCr209, .reducible = true}),
        GeorgiaForm{.form = kGAForm187981ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::calcEducationExpenseCredit),
                    .review = &A::auditQeeCredit,
                    .printPlace = kOwn,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm203638ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::calcRuralHospitalCredit),
                    .review = &A::auditDonationAddBack,
                    .printPlace = kOwn,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm203639ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::calcConservationCredit),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm69ID,
                    .calculation = calculatedBy(&E::calcInfoForm),
                    .review = &A::auditInfoForm,
                    .printPlace = PrintPlace::WithPreceding,
                    .printText = AsEntered,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm73ID,
                    .calculation = calculatedThrough(&E::calcOtherStateCreditForm),
                    .review = &A::auditOtherStateCredit,
                    .printPlace = PrintPlace::WithPreceding,
                    .printText = AsEntered,
                    .wholeDollars = true,
                    .barcodeWhenCalculated = false,
                    .printedForNonresident = false},
        GeorgiaForm{.form = kGAForm75ID,
                    .calculation = calculatedBy(&E::calcEstimatedTax),
                    .review = &A::auditNoChecks,
                    .printPlace = kOwn,
                    .printText = EstimatedTax,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm187982ID,
                    .calculation = calculatedThrough(&E::calcGroupedForm, &E::calcExtensionVoucher),
                    .review = &A::auditNoChecks,
                    .printPlace = PrintPlace::OnRequest,
                    .printText = Voucher,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        GeorgiaForm{.form = kGAForm189219ID,
                    .calculation = calculatedThrough(&E::calcAmendedReturnForm),
                    .review = &A::auditAmendedReturn,
                    .printPlace = PrintPlace::OnRequest,
                    .printText = TextsUpperCased,
                    .wholeDollars = false,
                    .barcodeWhenCalculated = false},
        // The credit index, and the shared state worksheets of interest,
        // dividends and wages.
        worksheet(kGAForm204111ID, calculatedThrough(&E::calcGroupedForm, &E::indexCreditForms)),
        worksheet(kStateForm2ID, calculatedThrough(&E::calcStateSharedForm)),
        worksheet(kStateForm3ID, calculatedThrough(&E::calcStateSharedForm)),
        worksheet(kStateForm4ID, calculatedThrough(&E::calcStateSharedForm)),
    };
}();

namespace index {

static_assert(std::all_of(kGeorgiaForms.begin(), kGeorgiaForms.end(),
                          [](const GeorgiaForm& row) { return row.form.isState() && row.form.getNumber() > 0; }),
              "every row is a form of the state return");

constexpr std::size_t slotOf(std::int32_t number, std::size_t slots) {
    return static_cast<std::uint32_t>(number) % slots;
}

// Whether the slot count gives every row a slot of its own.
constexpr bool slotsApart(std::size_t slots) {
    for (std::size_t i = 0; i < kGeorgiaForms.size(); ++i) {
        for (std::size_t j = i + 1; j < kGeorgiaForms.size(); ++j) {
            if (slotOf(kGeorgiaForms[i].form.getNumber(), slots) == slotOf(kGeorgiaForms[j].form.getNumber(), slots)) {
                return false;
            }
        }
    }
    return true;
}

// The rows by form number: the row of a form stands in the slot of its
// number modulo the slot count, the smallest count up to 4096 that gives
// every row a slot of its own; 0 when none does (two rows of one form).
inline constexpr std::size_t kSlotCount = [] {
    constexpr std::size_t kMostSlots = 4096;
    for (std::size_t slots = kGeorgiaForms.size(); slots <= kMostSlots; ++slots) {
        if (slotsApart(slots)) {
            return slots;
        }
    }
    return std::size_t{0};
}();
static_assert(kSlotCount > 0, "no two rows may name the same form");
inline constexpr std::uint8_t kNoRow = 0xFF;
static_assert(kGeorgiaForms.size() < kNoRow);
inline constexpr auto kSlots = [] {
    std::array<std::uint8_t, kSlotCount> slots{};
    slots.fill(kNoRow);
    for (std::size_t i = 0; i < kGeorgiaForms.size(); ++i) {
        slots[slotOf(kGeorgiaForms[i].form.getNumber(), kSlotCount)] = static_cast<std::uint8_t>(i);
    }
    return slots;
}();

}  // namespace index

// The row of a form of the Georgia return; null for any other form (a
// federal form of a Georgia form's number included).
constexpr const GeorgiaForm* findGeorgiaForm(const FormId& form) {
    const std::uint8_t row = index::kSlots[index::slotOf(form.getNumber(), index::kSlotCount)];
    return row != index::kNoRow && kGeorgiaForms[row].form == form ? &kGeorgiaForms[row] : nullptr;
}

}  // namespace GAForms
