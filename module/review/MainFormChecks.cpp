// The review of form 70, the main Georgia return form: reminders of what to
// attach, notes, the underpayment-penalty e-file blocker, Georgia wages,
// credits above the tax, payer identification numbers of the linked source
// documents and the Georgia income-statement rows.
//
// Form 70's values are read on copy 1 through the Georgia return; the
// audited copy is that copy.

#include <array>
#include <cstdint>
#include <string>

#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/catalogues/GAForm74FieldIds.h"
#include "module/catalogues/StateForm4FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/SourceDocumentLink.h"
#include "module/review/GATaxFormAuditor.h"

namespace GAAuditMgmt {

using namespace StateAuditMgmt;

namespace {

const auto& f70 = kGAForm70FieldIds;

// The lines of form 70 the review reads.
struct MainFormLines {
    FieldID federalAgi = f70.f62;
    FieldID otherStateTaxes = f70.f74;
    FieldID itemizedDeductions = f70.f77;
    FieldID tax = f70.f84;
    FieldID creditSummaryCredits = f70.f85;
    FieldID georgiaTaxWithheld = f70.f87;
    FieldID lowIncomeCredit = f70.f97;
    FieldID underpaymentPenalty = f70.f105;
    FieldID otherStateCredit = f70.f189482;
    FieldID georgiaWages = f70.f185987;
    FieldID loanOutWithholding = f70.f148018;
    FieldID disasterExtension = f70.f42815;
    FieldID creditsExceedTax = f70.f195593;
};
const MainFormLines kLines;

// A federal return at or above this adjusted gross income is attached to a
// full-year resident's Georgia return.
constexpr std::int64_t kAttachFederalReturnFrom = 40000;
// Common items of the federal form filed whose sum is compared with the
// federal adjusted gross income.
constexpr Utils::PCTypes kCommonIncomeA{16};
constexpr Utils::PCTypes kCommonIncomeB{17};

// Federal source forms that name a payer in a link.
constexpr std::int32_t kForm1099Div = 164;
constexpr std::int32_t kForm1099B = 135;
constexpr std::int32_t kForm1099Misc = 110;

// A payer identification field and the link field of its entry.
struct PayerPair {
    FieldID payerId;
    FieldID link;
};

const std::array<PayerPair, 6> kForm70PayerPairs{{
    {f70.f189509, f70.f190488},
    {f70.f189510, f70.f190489},
    {f70.f189511, f70.f190490},
    {f70.f189545, f70.f190491},
    {f70.f189546, f70.f190492},
    {f70.f189547, f70.f190493},
}};

const auto& f189218 = kGAForm189218FieldIds;
const std::array<PayerPair, 9> kForm189218PayerPairs{{
    {f189218.f189926, f189218.f190506},
    {f189218.f189927, f189218.f190507},
    {f189218.f189928, f189218.f190508},
    {f189218.f189962, f189218.f190509},
    {f189218.f189963, f189218.f190510},
    {f189218.f189964, f189218.f190511},
    {f189218.f189998, f189218.f190512},
    {f189218.f189999, f189218.f190513},
    {f189218.f190000, f189218.f190514},
}};

// One Georgia income-statement row of form 70: the payer's identification,
// a second entry only tested for a value, the Georgia wages and the Georgia
// tax withheld.
struct IncomeStatementRow {
    FieldID payerId;
    FieldID second;
    FieldID wages;
    FieldID withheld;
};

const std::array<IncomeStatementRow, 4> kIncomeStatementRows{{
    {f70.f190494, f70.f190495, f70.f190496, f70.f243},
    {f70.f190497, f70.f190498, f70.f190499, f70.f244},
    {f70.f190500, f70.f190501, f70.f190502, f70.f140462},
    {f70.f190503, f70.f190504, f70.f190505, f70.f148018},
}};

const char* const kAttachFederalReturn = "attach a copy of your federal Form 1040 or 1040A to your Georgia return";

std::string payerLabel(std::int32_t sourceForm) {
    if (sourceForm == kForm1099Div) {
        return "1099DIV";
    }
    if (sourceForm == kForm1099B) {
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
    const bool fullYear = gaReturn->formYes(kGAForm69ID, 1, kGAForm69FieldIds.f110);
    const std::int64_t federalAgi = main(kLines.federalAgi);
    const bool bigIncome = federalAgi >= kAttachFederalReturnFrom && fullYear;
    const FormID federalForm = gaReturn->getFederalFormID();
    const std::int64_t commonIncome = Utils::addSaturated(gaReturn->pullCommon(federalForm, 1, kCommonIncomeB),
                                                          gaReturn->pullCommon(federalForm, 1, kCommonIncomeA));

    const auto remind = [&](bool fires, const char* text) {
        report(kClassAttachment, fires, kTypeWarning, kGAForm70ID, copyNumber, FieldID(0), text);
    };
    remind(paper && bigIncome, kAttachFederalReturn);
    remind(false, kAttachFederalReturn);
    remind(paper && commonIncome > federalAgi && fullYear && !bigIncome, kAttachFederalReturn);
    remind(paper && commonIncome > federalAgi && !fullYear, kAttachFederalReturn);
    remind(paper && main(kLines.itemizedDeductions) > 0 && fullYear,
           "attach a copy of your federal Schedule A to your Georgia return");
    remind(paper && main(kLines.georgiaTaxWithheld) > 0,
           "attach state copies of your W-2, W-2G or 1099s to your Georgia return");
    remind(main(kLines.otherStateCredit) > 0, "attach a copy of other state(s) tax returns to your Georgia return");

    report(kClassBoth, main(kLines.otherStateTaxes) < 0, kTypeWarning, kGAForm70ID, copyNumber, FieldID(0),
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
    report(kClassAttachment, paper && copy->gtZero(kLines.loanOutWithholding), kTypeWarning, kGAForm70ID, copyNumber,
           kLines.loanOutWithholding,
           "attach a copy of your G-2FL allocated withholding on employees of loan out company to your return.");
    report(kClassAttachment, paper && copy->xMarked(kLines.disasterExtension), kTypeWarning, kGAForm70ID, copyNumber,
           kLines.disasterExtension,
           "attach a copy of your federal extension. If you did not request a federal extension, file Georgia Form "
           "IT 303 to request a Georgia extension based on your presidentially declared disaster area");
    reportEFileFailure(AuditMgmt::kNoAuditHelpID, TopicID(0), false, kClassEFileRecorded,
                       copy->gtZero(kLines.underpaymentPenalty), kTypeEFileBlocker, kGAForm70ID, copyNumber, FieldID(0),
                       "You Cannot E-file your GA return because an Underpayment Penalty amount was added to your "
                       "return.To E-file your return,Uncheck the check box (Add to tax /subtract from refund) on the "
                       "Underpayment Penalty screen",
                       kStateOnlySentence);
}

// The Georgia wages of form 70 against the state wage worksheet's.
void GATaxFormAuditor::checkGeorgiaWages(DataMgmt::TaxFormPtr& copy) {
    const FieldID worksheetWages = kStateForm4FieldIds.f28;
    const bool differ =
        copy->getIR(kLines.georgiaWages) != static_cast<double>(gaReturn->getIN(kStateForm4ID, 1, worksheetWages));
    report(kClassBoth, differ && gaReturn->formYes(kGAForm69ID, 1, kGAForm69FieldIds.f37), kTypeWarning, kStateForm4ID,
           1, worksheetWages,
           "Please check the amount of Georgia wages to make sure it's correct. Usually your Georgia wages will be "
           "the total of your W-2 Box 16 amounts that are for Georgia.");
}

// Credits claimed beyond the tax, when the calculation marked them so and a
// credit that can be reduced is claimed.
void GATaxFormAuditor::checkCreditsAboveTax() {
    const auto& f73 = kGAForm73FieldIds;
    const auto& f74 = kGAForm74FieldIds;
    const auto value = [this](const FormID& form, const FieldID& field) {
        return static_cast<double>(gaReturn->getIN(form, 1, field));
    };
    const double excess = value(kGAForm70ID, kLines.lowIncomeCredit) + value(kGAForm73ID, f73.f17) +
                          value(kGAForm73ID, f73.f26) + value(kGAForm74ID, f74.f44) +
                          value(kGAForm189216ID, kGAForm189216FieldIds.f189825) - value(kGAForm70ID, kLines.tax);
    bool reducibleCredit = value(kGAForm70ID, kLines.creditSummaryCredits) > 0;
    for (const FieldID& credit : {f74.f19, f74.f23520, f74.f43, f74.f49777, f74.f69767}) {
        reducibleCredit = reducibleCredit || value(kGAForm74ID, credit) > 0;
    }
    const bool fires = gaReturn->formYes(kGAForm70ID, 1, kLines.creditsExceedTax) && excess > 0 && reducibleCredit;
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
    const auto checkPairs = [this](const FormID& form, std::uint16_t copyNumber, const DataMgmt::TaxFormPtr& copy,
                                   const auto& pairs) {
        for (const PayerPair& pair : pairs) {
            const std::string link = gaReturn->formString(form, copyNumber, pair.link);
            int sourceForm = 0;
            int sourceCopy = 0;
            int entry = 0;
            if (link.empty() || !GADataMgmt::parseSourceDocumentLink(link, sourceForm, sourceCopy, entry) ||
                !gaReturn->isNull(form, copyNumber, pair.payerId)) {
                continue;
            }
            if (!copy->getField(pair.payerId)->isCalculated()) {
                report(kClassBoth, true, kTypeMissingEntry, form, copyNumber, pair.payerId,
                       "We need the FEIN number from your Form " + payerLabel(sourceForm) + " copy " +
                           std::to_string(sourceCopy) + ".");
            } else if (sourceForm == kForm1099Misc) {
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
        checkPairs(kGAForm70ID, 1, mainForms.getTaxForm(), kForm70PayerPairs);
    }
    for (DataMgmt::TaxFormIter it = gaReturn->getForms(kGAForm189218ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr continuation = it.getTaxForm();
        checkPairs(kGAForm189218ID, continuation->getCopyNumber(), continuation, kForm189218PayerPairs);
    }
}

// Each Georgia income-statement row in use needs its payer, wages and tax
// withheld.
void GATaxFormAuditor::checkIncomeStatementRows() {
    for (const IncomeStatementRow& row : kIncomeStatementRows) {
        const bool inUse = gaReturn->hasSigValue(kGAForm70ID, 1, row.payerId) ||
                           gaReturn->hasSigValue(kGAForm70ID, 1, row.second) ||
                           gaReturn->greaterThanZero(kGAForm70ID, 1, row.wages) ||
                           gaReturn->greaterThanZero(kGAForm70ID, 1, row.withheld);
        if (!inUse) {
            continue;
        }
        report(kClassBoth, gaReturn->isNull(kGAForm70ID, 1, row.payerId), kTypeMissingEntry, kGAForm70ID, 1,
               row.payerId, "Payer Fed ID Number");
        report(kClassBoth, gaReturn->zeroVal(kGAForm70ID, 1, row.wages), kTypeWarning, kGAForm70ID, 1, row.wages,
               "Georgia Wages on your Georgia income statement have been left blank. Please check your documents.");
        report(kClassBoth, gaReturn->zeroVal(kGAForm70ID, 1, row.withheld), kTypeMissingEntry, kGAForm70ID, 1,
               row.withheld, "Georga Tax Withheld");
    }
}

}  // namespace GAAuditMgmt
