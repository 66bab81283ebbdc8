// The review of the Georgia schedules and credit forms other than the main
// form, the information form and the individual credit worksheets: the
// underpayment form 71, the amended return, the donation credits, the
// additions and subtractions, the pass-through business credits, the
// part-year and nonresident schedule and the other-state credit.
//
// "Of this copy" is read on the audited copy; a form named without a copy is
// read on its copy 1 through the Georgia return.

#include <algorithm>
#include <array>
#include <string>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form203811Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/review/GATaxFormAuditor.h"
#include "platform/util/Utils.h"

namespace GAAuditMgmt {

using namespace StateAuditMgmt;
namespace TaxYear = GACalculationMgmt::TaxYear;

namespace {

// The states (and DC) whose code form 189217 accepts for income earned
// outside Georgia.
constexpr std::array<const char*, 50> kOtherStateCodes{
    "AK", "SD", "TX", "WA", "WY", "AL", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FL", "HI", "ID", "IL",
    "IN", "IA", "KS", "KY", "LA", "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ",
    "NM", "NY", "NC", "ND", "OH", "OK", "OR", "PA", "RI", "SC", "TN", "UT", "VT", "VA", "WV", "WI"};

bool isOtherStateCode(const std::string& code) {
    for (const char* valid : kOtherStateCodes) {
        if (Utils::QVStringUtils::stricmp(code, valid) == 0) {
            return true;
        }
    }
    return false;
}

const char* const kOtherStateReturns = "attach a copy of other state(s) tax returns to your Georgia return";

}  // namespace

// Form 71: the quarterly W-2 withholding and the dates of the payments.
void GATaxFormAuditor::auditWithholdingQuarters(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form71Lines& l = kForm71Lines;
    const std::array<Form71Lines::Column, 4>& quarters = l.columns;
    report(kClassReview,
           copy->getIN(l.withholding) > copy->sumOf4(quarters[0].withholdingShare, quarters[1].withholdingShare,
                                                     quarters[2].withholdingShare, quarters[3].withholdingShare),
           kTypeInconsistent, kGAForm71ID, copyNumber, quarters[0].withholdingShare,
           "The quarterly totals from your W-2 withholding do not equal the total amount withheld.");
    // A quarter's amount bearing interest asks for the date of its payment.
    const std::array<const char*, 4> texts{"first quarter, date of payment", "second quarter, date of payment",
                                           "third quarter, date of payment", "fourth quarter, date of payment"};
    for (std::size_t q = 0; q < quarters.size(); ++q) {
        const Form71Lines::Column& c = quarters[q];
        report(kClassReview, gaReturn->getIN(kGAForm71ID, 1, c.bearingInterest) > 0 && copy->isNull(c.paidDate),
               kTypeMissingEntry, kGAForm71ID, copyNumber, c.paidDate, texts[q]);
    }
}

// Form 189219: what an amendment must say, and what to attach to it.
void GATaxFormAuditor::auditAmendedReturn(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form189219Lines& amended = kForm189219Lines;
    if (gaReturn->formYes(kGAForm69ID, 1, kForm69Lines.questions.amended)) {
        // The payments made on the original return, and the refunds
        // received on it.
        const bool payments = copy->nonNull(amended.settlement.paidWithOriginal);
        const bool refunds = copy->nonNull(amended.settlement.refundsReceived);
        report(kClassReview, !refunds && !payments, kTypeWarning, kGAForm189219ID, copyNumber,
               amended.settlement.paidWithOriginal,
               "Neither previous refunds nor previous payments have been entered on your amendment. Be sure this is "
               "correct.");
        report(kClassReview, refunds && payments, kTypeWarning, kGAForm189219ID, copyNumber,
               amended.settlement.paidWithOriginal,
               "Both previous refunds and previous payments have been entered on your amendment. Be sure this is "
               "correct.");
        const bool noExplanation = std::all_of(amended.explanation.begin(), amended.explanation.end(),
                                               [&](const FieldID& line) { return copy->isNull(line); });
        report(kClassReview, noExplanation, kTypeMissingEntry, kGAForm189219ID, copyNumber, amended.explanation[0],
               "Explanation of changes on the amendment");
    }
    const auto attach = [&](const FieldID& amount, const char* text) {
        report(kClassAttachment, gaReturn->getIN(kGAForm189219ID, 1, amount) > 0, kTypeWarning, kGAForm189219ID,
               copyNumber, FieldID(0), text);
    };
    attach(amended.otherStateCredit, kOtherStateReturns);
    attach(amended.individualCredits,
           "attach the GA IND-CR if amending and changing a value on this schedule to your Georgia amended "
           "return");
    attach(amended.settlement.otherWithheld,
           "attach a copy of G2-A, G2-FL, G2-LP and/or G2-RP showing Georgia withholding to your Georgia amended "
           "return");
}

// A donation credit claimed with both its boxes marked, while the donation
// is not added back to income and the federal box 133 of form 1 says yes.
void GATaxFormAuditor::checkDonationAddedBack(const DataMgmt::TaxForm& copy, const FormID& form,
                                              std::uint16_t copyNumber, const ExpenseCreditLines& l) {
    const bool missing = (copy.gtZero(l.individual.first) || copy.gtZero(l.individual.second)) &&
                         copy.xMarked(l.secondRequiredBox) && copy.xMarked(l.thirdBox) &&
                         !copy.xMarked(l.addedBackBox) &&
                         federalReturn->formYes(kForm1ID, 1, kForm1Lines.deductionAnswer);
    report(kClassReview, missing, kTypeWarning, form, copyNumber, l.addedBackBox,
           "To claim the credit, you need to add your donation back to your income. Review what you told us. ");
}

// Form 187981: its attachments, and the donation added back to income.
void GATaxFormAuditor::auditQeeCredit(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const ExpenseCreditLines& l = kForm187981Lines;
    report(kClassAttachment,
           gaReturn->getIN(kGAForm187981ID, 1, l.individual.result) > 0 ||
               gaReturn->getIN(kGAForm187981ID, 1, l.sixPercent.result) > 0,
           kTypeWarning, kGAForm187981ID, copyNumber, FieldID(0),
           "attach the GA IT-QEE-SSO1 and IT-QEE-TP2 to your Georgia return");
    checkDonationAddedBack(*copy, kGAForm187981ID, copyNumber, l);
}

// Form 203638: the donation added back to income.
void GATaxFormAuditor::auditDonationAddBack(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    checkDonationAddedBack(*copy, kGAForm203638ID, copyNumber, kForm203638Lines);
}

// Form 189215: lump sums beside a retirement exclusion, the disability
// entries, the refund's state, and the limited deductions.
void GATaxFormAuditor::auditAdjustments(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form189215Lines& l = kForm189215Lines;
    const Form189215Lines::RetirementWorksheet& taxpayer = l.taxpayerRetirement;
    const Form189215Lines::RetirementWorksheet& spouse = l.spouseRetirement;
    const auto check = [&](int cls, bool fires, char type, const FieldID& field, const std::string& text) {
        report(cls, fires, type, kGAForm189215ID, copyNumber, field, text);
    };
    const std::string lumpSum =
        "We see you have a lump sum addition and you are eligible for a retirement exclusion.You need to contact the "
        "Georgia Department of Revenue to determine the amount of your exclusion.";
    for (const Form189215Lines::RetirementWorksheet* filer : {&taxpayer, &spouse}) {
        check(kClassReview, copy->gtZero(l.lumpSumDistributions) && copy->gtZero(filer->exclusion), kTypeWarning,
              filer->exclusion, lumpSum);
    }

    const bool taxpayerDisabled = copy->gtZero(taxpayer.exclusion) && copy->xMarked(taxpayer.qualifiesByDisability);
    check(kClassBoth, taxpayerDisabled && copy->isNull(taxpayer.disabilityType), kTypeMissingEntry,
          taxpayer.disabilityType, "your type of disability");
    check(kClassBoth, taxpayerDisabled && copy->isNull(taxpayer.disabilityDate), kTypeMissingEntry,
          taxpayer.disabilityDate, "your date of disability");
    const bool spouseDisabled = federalReturn->getFilingStatusNumber() == FederalFilingStatus::kJoint &&
                                copy->xMarked(spouse.qualifiesByDisability);
    check(kClassBoth, spouseDisabled && copy->isNull(spouse.disabilityType), kTypeMissingEntry, spouse.disabilityType,
          "Missing spouse's type of disability");
    check(kClassBoth, spouseDisabled && copy->isNull(spouse.disabilityDate), kTypeMissingEntry, spouse.disabilityDate,
          "Missing spouse's date of disability");

    check(kClassReview, copy->isNull(l.byStateCodes[0]) && copy->gtZero(l.byStateTotal), kTypeMissingEntry,
          l.byStateCodes[0], "name of state from which refund was received");
    check(kClassBoth, copy->getIN(l.minorityContractors) > TaxYear::kMinorityContractorLimit, kTypeInconsistent,
          l.minorityContractors,
          "The deduction for payments to minority contractors is limited to $100,000. Reduce your entry to $100,000 "
          "or less.");
    check(kClassBoth, copy->getIN(l.organDonor) > TaxYear::kOrganDonorLimit, kTypeInconsistent, l.organDonor,
          "The deduction for organ donor expenses is limited to $10,000. Reduce your entry to $10,000 or less.");
    check(kClassAttachment, eFileCheckMode == 0 && copy->getIN(l.physicianClerks) > 0, kTypeWarning, FieldID(0),
          "attach a copy the certification received from the Statewide Area Health Education Centers Program Office "
          "to your Georgia return");
}

// Form 203811: the first business credit row needs its payer, name and
// share, and the credit its code.
void GATaxFormAuditor::auditPassThroughCredits(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form203811Lines& l = kForm203811Lines;
    const Form203811Lines::BusinessRow& row = l.rows[0];
    const auto missing = [&](bool fires, const FieldID& field, const char* text) {
        report(kClassEFile, fires, kTypeMissingEntry, kGAForm203811ID, copyNumber, field, text);
    };
    missing(copy->isNull(row.payerId), row.payerId, "FEIN/SSN");
    missing(copy->isNull(row.name), row.name, "COMPANY/INDIVIDUAL NAME");
    missing(copy->eqZero(row.share), row.share, "% OF CREDIT");
    // The code comes from the credit chosen by name.
    missing(copy->isNull(l.code), l.name, "Credit Code");
}

// Form 189217: Schedule A of a part-year return, the state of the income
// earned elsewhere, and the state codes.
void GATaxFormAuditor::auditNonresidentIncome(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form189217Lines& l = kForm189217Lines;
    const bool fullYear = gaReturn->formYes(kGAForm69ID, 1, kForm69Lines.residency.fullYear);
    report(kClassAttachment, eFileCheckMode == 0 && gaReturn->getIN(kGAForm189217ID, 1, l.itemized) > 0 && !fullYear,
           kTypeWarning, kGAForm189217ID, copyNumber, FieldID(0),
           "attach a copy of your federal Schedule A to your Georgia return");
    const FieldID& firstState = l.otherStateCodes[0];
    report(kClassBoth, copy->gtZero(l.taxableIncome) && copy->isNull(firstState), kTypeMissingEntry, kGAForm189217ID,
           copyNumber, firstState, "name of state where the nonresident income was earned");
    for (const FieldID& field : l.otherStateCodes) {
        const std::string code = gaReturn->formString(kGAForm189217ID, 1, field);
        report(kClassBoth, !code.empty() && !isOtherStateCode(code), kTypeEFileBlocker, kGAForm189217ID, 1, field,
               "You have entered an invalid State code. Please enter a valid two-letter official state-abbreviation "
               "code.");
    }
}

// Form 73: each column's tax and income go together; the state's code and
// the other states' returns.
void GATaxFormAuditor::auditOtherStateCredit(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form73Lines& f73 = kForm73Lines;
    const Form69Lines::Residency& residency = kForm69Lines.residency;
    const char* const taxText = "The tax shown on return(s) filed with the other state.";
    const char* const incomeText = "Other state adjusted gross income.";
    const auto column = [&](const FieldID& residency, const FieldID& income, const FieldID& tax) {
        const bool open = gaReturn->formYes(kGAForm69ID, 1, residency);
        report(kClassReview, open && copy->gtZero(income) && copy->eqZero(tax), kTypeMissingEntry, kGAForm73ID,
               copyNumber, tax, taxText);
        report(kClassReview, open && copy->eqZero(income) && copy->gtZero(tax), kTypeMissingEntry, kGAForm73ID,
               copyNumber, income, incomeText);
    };
    column(residency.fullYear, f73.fullYear.otherStateIncome, f73.fullYear.limit);
    column(residency.partYear, f73.partYear.otherStateIncome, f73.partYear.limit);
    report(kClassEFile, copy->gtZero(f73.fullYear.limit) && copy->isNull(f73.stateAbbreviation), kTypeMissingEntry,
           kGAForm73ID, copyNumber, f73.stateAbbreviation, "Other state abbreviation.");
    for (const FieldID& credit : {f73.fullYear.credit, f73.partYear.credit}) {
        report(kClassAttachment, gaReturn->getIN(kGAForm73ID, 1, credit) > 0, kTypeWarning, kGAForm73ID, copyNumber,
               FieldID(0), "attach copy of other state(s) tax returns");
    }
}

}  // namespace GAAuditMgmt
