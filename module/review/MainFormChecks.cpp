// The review of form 70, the main Georgia return form: reminders of what to
// attach, notes, the underpayment-penalty e-file blocker, Georgia wages,
// credits above the tax, payer identification numbers of the linked source
// documents and the Georgia income-statement rows.
//
// Form 70's values are read on copy 1 through the Georgia return; the
// audited copy is that copy.

#include <cstdint>
#include <string>

#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/catalogues/Form74Lines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/GeorgiaForms.h"
#include "module/frame/SourceDocumentLink.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/review/GATaxFormAuditor.h"

namespace GAAuditMgmt {

using namespace StateAuditMgmt;

namespace {

const Form70Lines& kLines = kForm70Lines;
const Form69Lines::Residency& kResidency = kForm69Lines.residency;
// Form 70's fourth withholding row holds the G2-FL, withholding on employees
// of a loan-out company.
const FieldID& kLoanOutWithholding = kLines.payments.incomeStatements[3].withheld;

const char* const kAttachFederalReturn = "attach a copy of your federal Form 1040 or 1040A to your Georgia return";

std::string payerLabel(std::int32_t sourceForm) {
    if (sourceForm == kForm164ID.getNumber()) {
        return "1099DIV";
    }
    if (sourceForm == kForm135ID.getNumber()) {
        return "1099-B";
    }
    return "1099INT/OID";
}

}  // namespace

void GATaxFormAuditor::auditMainForm(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    remindMainFormAttachments(copyNumber);
    reportMainFormNotes(copy, copyNumber);
    checkGeorgiaWages(copy);
    checkCreditsAboveTax();
    checkLinkedPayerIds();
    checkIncomeStatementRows();
}

// Documents to attach to a paper return (an e-file attaches none), the
// other states' returns in every audit, and the other-state tax sign.
void GATaxFormAuditor::remindMainFormAttachments(std::uint16_t copyNumber) {
    const bool paper = eFileCheckMode == 0;
    const auto main = [this](const FieldID& line) { return gaReturn->getIN(kGAForm70ID, 1, line); };
    const bool fullYear = gaReturn->formYes(kGAForm69ID, 1, kResidency.fullYear);
    const std::int64_t federalAgi = main(kLines.income.federalAgi);
    const bool bigIncome = federalAgi >= GACalculationMgmt::TaxYear::kAttachFederalReturnFrom && fullYear;
    // The filers' wages together, compared with the federal adjusted gross
    // income.
    const FormID federalForm = gaReturn->getFederalFormID();
    const std::int64_t wages = Utils::addSaturated(gaReturn->pullCommon(federalForm, 1, Utils::kWagesSpouse),
                                                   gaReturn->pullCommon(federalForm, 1, Utils::kWagesTaxpayer));

    const auto remind = [&](bool fires, const char* text) {
        report(kClassAttachment, fires, kTypeWarning, kGAForm70ID, copyNumber, FieldID(0), text);
    };
    remind(paper && bigIncome, kAttachFederalReturn);
    remind(false, kAttachFederalReturn);
    remind(paper && wages > federalAgi && fullYear && !bigIncome, kAttachFederalReturn);
    remind(paper && wages > federalAgi && !fullYear, kAttachFederalReturn);
    remind(paper && main(kLines.deductions.itemizedRepeated) > 0 && fullYear,
           "attach a copy of your federal Schedule A to your Georgia return");
    remind(paper && main(kLines.payments.withheld) > 0,
           "attach state copies of your W-2, W-2G or 1099s to your Georgia return");
    remind(main(kLines.credits.otherState) > 0, "attach a copy of other state(s) tax returns to your Georgia return");

    report(kClassBoth, main(kLines.deductions.incomeTaxAdjustment) < 0, kTypeWarning, kGAForm70ID, copyNumber,
           FieldID(0),
           "Taxes paid to another state should not be negative. Make sure this amount is included in your federal "
           "Schedule A.");
}

// Notes for the list, the two attachments of this copy, and the e-file
// blocker of an underpayment penalty added to the return.
void GATaxFormAuditor::reportMainFormNotes(DataMgmt::TaxFormPtr& copy, std::uint16_t copyNumber) {
    const bool paper = eFileCheckMode == 0;
    report(kClassNote, true, kTypeWarning, kGAForm70ID, copyNumber, FieldID(0), "your Social Security number(s)");
    if (!paper) {
        report(kClassNote, true, kTypeWarning, kGAForm70ID, copyNumber, FieldID(0),
               "Don't staple or otherwise attach the payment to the voucher. Instead, just place payment loose in "
               "the envelope with the voucher.");
    }
    report(kClassAttachment, paper && copy->gtZero(kLoanOutWithholding), kTypeWarning, kGAForm70ID, copyNumber,
           kLoanOutWithholding,
           "attach a copy of your G-2FL allocated withholding on employees of loan out company to your return.");
    report(kClassAttachment, paper && copy->xMarked(kLines.review.disasterExtension), kTypeWarning, kGAForm70ID,
           copyNumber, kLines.review.disasterExtension,
           "attach a copy of your federal extension. If you did not request a federal extension, file Georgia Form "
           "IT 303 to request a Georgia extension based on your presidentially declared disaster area");
    reportEFileFailure(AuditMgmt::kNoAuditHelpID, TopicID(0), false, kClassEFileRecorded,
                       copy->gtZero(kLines.result.penalty), kTypeEFileBlocker, kGAForm70ID, copyNumber, FieldID(0),
                       "You Cannot E-file your GA return because an Underpayment Penalty amount was added to your "
                       "return.To E-file your return,Uncheck the check box (Add to tax /subtract from refund) on the "
                       "Underpayment Penalty screen",
                       kStateOnlySentence);
}

// The Georgia wages of form 70 against the state wage worksheet's.
void GATaxFormAuditor::checkGeorgiaWages(DataMgmt::TaxFormPtr& copy) {
    const FieldID& worksheetWages = kStateForm4Lines.wages.nonresident;
    const bool differ = copy->getIR(kLines.heading.georgiaWages) !=
                        static_cast<double>(gaReturn->getIN(kStateForm4ID, 1, worksheetWages));
    report(kClassBoth, differ && gaReturn->formYes(kGAForm69ID, 1, kResidency.taxpayerNonresident), kTypeWarning,
           kStateForm4ID, 1, worksheetWages,
           "Please check the amount of Georgia wages to make sure it's correct. Usually your Georgia wages will be "
           "the total of your W-2 Box 16 amounts that are for Georgia.");
}

// Credits claimed beyond the tax, when the calculation marked them so and a
// credit that can be reduced is claimed.
void GATaxFormAuditor::checkCreditsAboveTax() {
    const Form73Lines& f73 = kForm73Lines;
    const Form74Lines& f74 = kForm74Lines;
    const auto value = [this](const FormID& form, const FieldID& field) {
        return static_cast<double>(gaReturn->getIN(form, 1, field));
    };
    const double excess = value(kGAForm70ID, kLines.lowIncome.credit) + value(kGAForm73ID, f73.fullYear.credit) +
                          value(kGAForm73ID, f73.partYear.credit) + value(kGAForm74ID, f74.total) +
                          value(kGAForm189216ID, kForm189216Lines.creditUsed) - value(kGAForm70ID, kLines.credits.tax);
    // The credits that can be reduced: schedule 2, and the IND-CR worksheets
    // so marked, by their lines of form 74.
    bool reducibleCredit = value(kGAForm70ID, kLines.credits.summary) > 0;
    for (const GAForms::GeorgiaForm& row : GAForms::kGeorgiaForms) {
        if (row.individualCredit && row.individualCredit->reducible) {
            reducibleCredit = reducibleCredit || value(kGAForm74ID, row.individualCredit->summaryLine) > 0;
        }
    }
    const bool fires = gaReturn->formYes(kGAForm70ID, 1, kLines.credits.exceedsTax) && excess > 0 && reducibleCredit;
    report(kClassBoth, fires, kTypeWarning, FormID(0), 0, FieldID(0),
           "You're claiming credits which are $" + std::to_string(static_cast<long>(excess)) +
               " more than your tax. To correct this, reduce the credit(s) you're claiming on Form IND-CR line 1, "
               "3, 6, 8, or 9 or Form 500 line 20. For example, if you're claiming the foster child adoption credit "
               "open Form IND-CR 208 and reduce the amount on line 3. (Don't worry; you'll be able to claim the "
               "reduction amount on next year's Georgia return)");
}

// Every linked source document whose payer identification number is
// missing, on form 70 and on every copy of form 189218. A link that is not
// three whole numbers names no document and is passed over.
void GATaxFormAuditor::checkLinkedPayerIds() {
    const auto checkEntries = [this](const FormID& form, std::uint16_t copyNumber, const DataMgmt::TaxFormPtr& copy,
                                     const auto& entries) {
        for (const WithholdingEntryLines& entry : entries) {
            const std::string link = gaReturn->formString(form, copyNumber, entry.link);
            int sourceForm = 0;
            int sourceCopy = 0;
            int entryNumber = 0;
            if (link.empty() || !GADataMgmt::parseSourceDocumentLink(link, sourceForm, sourceCopy, entryNumber) ||
                !gaReturn->isNull(form, copyNumber, entry.payerId)) {
                continue;
            }
            if (!copy->getField(entry.payerId)->isCalculated()) {
                report(kClassBoth, true, kTypeMissingEntry, form, copyNumber, entry.payerId,
                       "We need the FEIN number from your Form " + payerLabel(sourceForm) + " copy " +
                           std::to_string(sourceCopy) + ".");
            } else if (sourceForm == kForm110ID.getNumber()) {
                const std::string copyText = std::to_string(sourceCopy);
                reportAuditMessage(AuditMgmt::kNoAuditHelpID, TopicID(0), false, kClassBoth, true, kTypeMissingEntry,
                                   FormID(0), 0, FieldID(0),
                                   "We need the FEIN number from your Form 1099-MISC copy " + copyText +
                                       ". On the Forms menu, choose the Federal tab, then open the 1099-MISC "
                                       "Worksheet. Choose copy " +
                                       copyText +
                                       ", then enter the Payer's Federal ID number in the box under the Payer's "
                                       "Address.",
                                   kFaqSentence);
            }
        }
    };

    DataMgmt::TaxFormIter mainForms = gaReturn->getForms(kGAForm70ID);
    if (!mainForms.atEOL()) {
        checkEntries(kGAForm70ID, 1, mainForms.getTaxForm(), kForm70WithholdingEntries);
    }
    for (DataMgmt::TaxFormIter it = gaReturn->getForms(kGAForm189218ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr continuation = it.getTaxForm();
        checkEntries(kGAForm189218ID, continuation->getCopyNumber(), continuation, kForm189218WithholdingEntries);
    }
}

// Each Georgia income-statement row in use needs its payer, wages and tax
// withheld.
void GATaxFormAuditor::checkIncomeStatementRows() {
    for (const Form70Lines::IncomeStatement& row : kLines.payments.incomeStatements) {
        const bool inUse = gaReturn->hasSigValue(kGAForm70ID, 1, row.payerId) ||
                           gaReturn->hasSigValue(kGAForm70ID, 1, row.stateId) ||
                           gaReturn->greaterThanZero(kGAForm70ID, 1, row.georgiaWages) ||
                           gaReturn->greaterThanZero(kGAForm70ID, 1, row.withheld);
        if (!inUse) {
            continue;
        }
        report(kClassBoth, gaReturn->isNull(kGAForm70ID, 1, row.payerId), kTypeMissingEntry, kGAForm70ID, 1,
               row.payerId, "Payer Fed ID Number");
        report(kClassBoth, gaReturn->zeroVal(kGAForm70ID, 1, row.georgiaWages), kTypeWarning, kGAForm70ID, 1,
               row.georgiaWages,
               "Georgia Wages on your Georgia income statement have been left blank. Please check your documents.");
        report(kClassBoth, gaReturn->zeroVal(kGAForm70ID, 1, row.withheld), kTypeMissingEntry, kGAForm70ID, 1,
               row.withheld, "Georga Tax Withheld");
    }
}

}  // namespace GAAuditMgmt
