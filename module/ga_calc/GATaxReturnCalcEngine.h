// The Georgia calculation engine.
//
// GATaxReturnCalcEngine fills the state layer's per-form operations: the
// whole-return calculation over the fixed Georgia order GACalcOrder, the
// per-copy dispatcher that sends each copy to the routine of its form and
// the second-level dispatcher of the credit and voucher forms (both read
// the routines from the forms' table, module/frame/GeorgiaForms.h), the
// hooks before and after a whole-return calculation, the shared state
// worksheets 2, 3 and 4, and the payment-voucher scan line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "module/autotest/GeorgiaTaxTable.h"
#include "module/autotest/TestFieldNames.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace GADataMgmt {
class GATaxReturn;
}  // namespace GADataMgmt

namespace GACalculationMgmt {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

// The Georgia calculation order: 38 forms, closed by form 0. Form 70 stands
// four times, forms 189215, 189216 and 189217 twice each, so that later
// forms see the main form's results and the main form sees theirs. Every
// form of the forms' table (GeorgiaForms.h) stands here, and every form here
// has its row there.
inline constexpr std::array<FormId, 39> GACalcOrder{{
    kGAForm69ID,     kGAForm70ID,     kGAForm189215ID, kGAForm189216ID, kGAForm189217ID, kStateForm2ID,
    kStateForm3ID,   kStateForm4ID,   kGAForm76ID,     kGAForm70ID,     kGAForm189218ID, kGAForm74ID,
    kGAForm190054ID, kGAForm190055ID, kGAForm190056ID, kGAForm190057ID, kGAForm190058ID, kGAForm190059ID,
    kGAForm190060ID, kGAForm190061ID, kGAForm190062ID, kGAForm187981ID, kGAForm203638ID, kGAForm203639ID,
    kGAForm203811ID, kGAForm73ID,     kGAForm204111ID, kGAForm189215ID, kGAForm189216ID, kGAForm189217ID,
    kGAForm70ID,     kGAForm71ID,     kGAForm70ID,     kGAForm72ID,     kGAForm77ID,     kGAForm75ID,
    kGAForm187982ID, kGAForm189219ID, FormId{0, true},
}};

// The place in GACalcOrder of form 70's last entry: its calculation there
// works on the final figures of the return.
inline constexpr std::size_t kLastMainFormEntry = [] {
    std::size_t last = 0;
    for (std::size_t i = 0; i < GACalcOrder.size(); ++i) {
        if (GACalcOrder[i] == kGAForm70ID) {
            last = i;
        }
    }
    return last;
}();

class GATaxReturnCalcEngine : public StateCalculationMgmt::StateTaxReturnCalcEngine {
public:
    GATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, GADataMgmt::GATaxReturn* gaReturn,
                          TaxFormPrintMgmt::TaxFormPrinterPtr printer);
    ~GATaxReturnCalcEngine() override;

    // ---- the state layer's per-form operations
    void calcAllForms() override;
    void calcFormCopy(const FormId& form, int copy, int markEntered, int passThrough, int unused,
                      DataMgmt::TaxFormPtr handle) override;
    FormId getMainForm() override;
    FormId getFederalForm() override;
    char getFilingStatus() override;
    void calcStateSharedForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook1(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook2(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook3(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook4(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook5(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook6(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void calcUnderpaymentForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void calcOtherStateCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void calcDocumentListForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void calcGroupedForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void calcAmendedReturnForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void calcBusinessCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void spareFormHook7(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) override;
    void beforeCalc() override;
    void afterCalc() override;

    // The body of the seven spare hooks: nothing.
    void emptyFormHook(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough);

    // ---- state form 4: residency, wage allocation, sums and common amounts
    void calcStateForm4(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);

    // ---- payment-voucher scan line
    // Writes into resultField of the copy: document code, "00", the nine
    // digits of the number field and their check digit, period code, year
    // code, voucher code, filler, "075", the amount in eight digits, "00",
    // and a final check digit over every digit of the line.
    void buildScanLine(DataMgmt::TaxFormPtr form, FieldId numberField, FieldId amountField, const char* documentCode,
                       const char* filler, const char* periodCode, const char* yearCode, const char* voucherCode,
                       FieldId resultField);
    // Cleans the number text (strips it) and gives its nine digits and their
    // check digit. Hyphens are skipped. A text that is empty, holds any other
    // non-digit, or holds more than nine digits gives "000000000" and check
    // digit 0.
    static void computeSsnCheckDigit(std::string& number, std::string& digits, short& checkDigit);

    GADataMgmt::GATaxReturn* gaReturn() const { return gaReturn_; }
    // Whether the calculation of form 70 now running sees the final figures:
    // its last entry in the calculation order, or a calculation outside the
    // whole-return walk. An earlier pass runs before the information form,
    // the schedules and the credits have their figures for this calculation,
    // so a rule that empties what the filer entered waits for the last one.
    bool onFinalMainFormPass() const { return !orderEntry_ || *orderEntry_ == kLastMainFormEntry; }
    // Marks a copy of a Georgia form as data entered, then as calculated.
    void markEnteredAndCalculated(const FormId& form, std::uint16_t copy);

    // ---- per-form routines, reached through the dispatchers
    void calcInfoForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcMainForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    // Form 70 line 74: the share of the federal deduction for income taxes
    // that Georgia adds back (0 when the federal return deducts none).
    double incomeTaxAdjustment(char filingStatus);
    void calcAdjustmentsForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcCreditSummaryForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcPartYearForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcSourceLinksForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcEstimatedTax(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    // Form 75: the voucher due next, with its scan line.
    void fillEstimatedVouchers(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    // With prefill, protects the field and writes summary line `line` of this
    // year's return into it (line 28 only protects); without, opens it.
    void pullProtectedLineValue(DataMgmt::TaxFormPtr handle, bool prefill, FieldId field, std::int32_t line);
    // Sets both boxes to "no", then marks the second when neither is marked.
    void setDefaultYesNo(DataMgmt::TaxFormPtr handle, FieldId first, FieldId second);
    // The 2019 tax of a projected taxable income in whole dollars, on the
    // schedule of the filing status (1 to 4; 2 and 4 share one).
    static double computeEstimatedTax2019(double income, int filingStatus);
    void calcUnderpaymentPenalty(DataMgmt::TaxFormPtr handle, std::uint16_t copy);
    // Form 71: the amount of one installment column that bears interest,
    // from its first exception amount, cumulative payments and underpayment.
    void calcInstallmentColumn(DataMgmt::TaxFormPtr handle, FieldId firstException, FieldId cumulative,
                               FieldId underpaid, FieldId target);
    // Form 71: the days from the due date to the payment date of a column.
    void computeLatePaymentDays(DataMgmt::TaxFormPtr handle, FieldId dateField, FieldId daysField, int month, int day,
                                int year);
    void calcOtherStateCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcDocumentList(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    // The copy numbers of federal form 113 whose box 1136 lists the dependent
    // on the return, in the host's order; at most limit of them.
    std::vector<std::uint16_t> listedDependents(std::size_t limit);
    void calcAmendedReturn(DataMgmt::TaxFormPtr handle, std::uint16_t copy);
    void calcBusinessCredits(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcForm72(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcPaymentVoucher(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcExtensionVoucher(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void sumIndCrParts(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr201(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr202(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr203(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr204(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr205(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr206(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr207(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr208(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcIndCr209(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcEducationExpenseCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcRuralHospitalCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void calcConservationCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);
    void indexCreditForms(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int passThrough);

    // ---- the Georgia tax-rate schedule and the shared amount helpers
    // The Georgia tax of an income for filing status 1 to 4 (2, 4 and any
    // other status share one column), in whole dollars.
    static double computeTaxFromRateSchedule(double income, int filingStatus);
    // numerator / divisor x base, floored at 0; 0 when the numerator or the
    // divisor is not above 0 (never infinity or NaN).
    static double proportionalShare(double numerator, double divisor, double base);
    // Status 2: opens the other field and stores amount minus the other
    // form's value of it (copy 1) into the target; any other status: nulls
    // and protects the other field and stores the amount.
    void storeComputedAmount(DataMgmt::TaxFormPtr copy, const FormId& otherForm, double amount, FieldId target,
                             FieldId other, int filingStatus);
    // Copies a field of the given copy of a Georgia form into the target by
    // the source field's kind; nothing when that copy does not exist.
    void copyLinkedField(const FormId& sourceForm, FieldId sourceField, std::uint16_t copy,
                         DataMgmt::TaxFormPtr& target, FieldId targetField);

    // ---- source-document links, rebuilt before each whole-return calculation
    void updateOtherStateRows();
    // Empties every link field, then writes the links of the federal source
    // documents and of form 70's withholding rows, numbered in that order.
    void rebuildSourceLinks();
    void collectStateSourceLinks(const FormId& source, int& counter, int pass);
    // Writes the link text of entry n (from 1) into its link field.
    void writeLink(int n, const std::string& link);
    // Refills one entry from its link text; 1 when the link names a known
    // source document, else 0 (the entry's fields nulled).
    int checkSourceLink(const FormId& form, std::uint16_t copy, const WithholdingEntryLines& entry);
    // Refills the six entries of form 70 from their links.
    void checkForm70SourceLinks(std::uint16_t copy);
    // "1" when the text holds exactly one '-', else "2".
    static void countSeparators(std::string& out, const std::string& in);

    // ---- test facility (runs only when the configuration allows automated
    // testing; module/autotest). Its marks are fields 72404 (done: a test
    // pass has run) and 72403 (busy: a feature is recalculating) of copy 1
    // of form 69.
    // The test driver: reads its clear file and, unless a pass has run, the
    // options file, and runs the features chosen there.
    void runAutoTest();
    // Clears the done mark and writes the driver's clear file with CLEAR No.
    void clearAutoTest();
    // Field-name lists: of every form, or of the form with that dev name (in
    // any case; an empty list when none has it), one symbolic name a line,
    // into directory/fileName. Each sets the done mark.
    void writeAllFieldNames(std::string fileName, std::string directory);
    void writeFormFieldNames(std::string formName, std::string fileName, std::string directory);
    // The whole-return XML (after the Georgia calculation) and the
    // field-values XML (after the whole calculation) into
    // directory/<return name>.xml. Each sets the done mark.
    void writeReturnXml(std::string directory);
    void writeFieldValuesXml(std::string directory);
    void buildFormNameMap(StateCalculationMgmt::FormNameMap& map);
    // Compares the tax of form 70 with the Georgia tax table for incomes
    // from floor to ceiling (at most 100,000), a line each, in the
    // configuration's tax-table check file; sets the done mark.
    void runTaxTableTest(int floor, int ceiling, int increment, bool random);
    void testTaxTable(int floor, int ceiling, int increment, bool random, const GeorgiaTaxTableRows& table);

private:
    // The residency code of the information form's return-residency boxes:
    // 4 both columns open, 3 nonresident, 2 part-year, 1 full-year.
    int residencyCode(DataMgmt::TaxFormPtr handle);

    GADataMgmt::GATaxReturn* gaReturn_;  // not owned
    // The entry of GACalcOrder that the whole-return calculation is at; none
    // outside it.
    std::optional<std::size_t> orderEntry_;
};

// Nulls the target when the source field of the copy is 0, else copies the
// source into it: a zero amount leaves the target blank.
void copyFieldOrNull(DataMgmt::TaxFormPtr copy, FieldId target, FieldId source);

}  // namespace GACalculationMgmt
