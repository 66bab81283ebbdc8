// The Georgia layer of the return review.
//
// GATaxFormAuditor sends each audited copy, after the checks every state
// form shares, to the check routine that its form's row names (the forms'
// table, module/frame/GeorgiaForms.h). The information form's routine
// carries the return-level checks (residency address, deceased filers,
// direct deposit, W-2 state data, 1099-G, care-of address, balance-due
// payment, missing state information, driver's licence). Every Georgia form
// copy may be e-filed, so no copy limit applies.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "module/catalogues/ExpenseCreditLines.h"
#include "module/review/StateTaxFormAuditor.h"

namespace GADataMgmt {
class GATaxReturn;
}  // namespace GADataMgmt

namespace GAAuditMgmt {

using StateAuditMgmt::FieldID;
using StateAuditMgmt::FormID;
using StateAuditMgmt::TopicID;

class GATaxFormAuditor : public StateAuditMgmt::StateTaxFormAuditor {
public:
    // Refuses (Exceptions::QuarloException) a state return that is not the
    // Georgia return, as the state layer refuses other wrong arguments. The
    // two handles are released before the constructor returns.
    GATaxFormAuditor(DataMgmt::TaxReturn* federalReturn, DataMgmt::TaxReturn& stateReturn,
                     DataMgmt::QuarloConfiguration* configuration, CalculationMgmt::TaxReturnCalcEnginePtr engine,
                     TaxFormPrintMgmt::TaxFormPrinterPtr printer);
    ~GATaxFormAuditor() override;

    void auditStateForms(const std::string& helpId, TopicID topic, bool flag, const FormID& formType,
                         DataMgmt::TaxFormPtr copyHandle, std::uint16_t copy) override;
    // Every copy present: the number of copies of the form.
    std::uint16_t maxEFileCopies(const FormID& form) override;

    // ---- the check routine of each Georgia form (copy handle, copy number)
    void auditInfoForm(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditMainForm(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditWithholdingQuarters(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditAmendedReturn(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditQeeCredit(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditDonationAddBack(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditAdjustments(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditPassThroughCredits(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditNonresidentIncome(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditOtherStateCredit(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditNoChecks(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr201(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr202(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr203(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr204(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr205(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr206(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr207(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr208(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);
    void auditIndCr209(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber);

protected:
    // One finding of a Georgia check, with no help, topic 0 and no added
    // sentence.
    void report(int messageClass, bool fires, char type, const FormID& form, std::uint16_t copy, FieldID field,
                const std::string& text);

    GADataMgmt::GATaxReturn* gaReturn;  // not owned

private:
    // The information form's residency period runs forward.
    void checkResidencyPeriod(const DataMgmt::TaxForm& copy, std::uint16_t copyNumber);

    // The main form's checks, in their order.
    void remindMainFormAttachments(std::uint16_t copyNumber);
    void reportMainFormNotes(DataMgmt::TaxFormPtr& copy, std::uint16_t copyNumber);
    void checkGeorgiaWages(DataMgmt::TaxFormPtr& copy);
    void checkCreditsAboveTax();
    void checkLinkedPayerIds();
    void checkIncomeStatementRows();

    // A donation credit form (education expense or rural hospital): its
    // individual part's amounts, the boxes of the claim and the box that adds
    // the donation back to income.
    void checkDonationAddedBack(const DataMgmt::TaxForm& copy, const FormID& form, std::uint16_t copyNumber,
                                const ExpenseCreditLines& lines);

    // The individual credit worksheets' attachment reminder.
    void remindIndCr(const FormID& form, std::uint16_t copyNumber, int number, bool fires);
    bool claimsCredit(const FormID& form, std::initializer_list<FieldID> amounts);
};

}  // namespace GAAuditMgmt
