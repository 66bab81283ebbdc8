// Return-level checks of the state auditor: the residency address, the
// direct-deposit data, the 1099-G payer data, the care-of address, the
// balance-due payment note, the state information the federal return must
// carry, and the forms the tax office does not accept yet.

#include <algorithm>
#include <string>

#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/review/AuditText.h"
#include "module/review/StateTaxFormAuditor.h"
#include "platform/Exceptions.h"
#include "platform/store/TaxDataMgr.h"
#include "platform/util/Utils.h"

namespace StateAuditMgmt {

namespace {

namespace TaxYear = GACalculationMgmt::TaxYear;
constexpr int kFilingYear = TaxYear::kYear + 1;

const char* const kCarryFromFederal =
    ". Since you have elected to carry the information from your federal return, you must close the state program "
    "and make the change in the federal program.";

// Letters, digits and hyphens only: what the address cleaning keeps, without
// blanks and slashes.
bool accountNumberIsClean(const std::string& entered) {
    std::string cleaned = entered;
    Utils::tifCleanAddressString(cleaned);
    cleaned = Utils::removeChars(Utils::removeChars(cleaned, ' '), '/');
    return cleaned == entered;
}

}  // namespace

// ------------------------------------------------------------ residency address

void StateTaxFormAuditor::auditResidencyAddress(const std::string& helpId, TopicID topic, bool spare,
                                                const FormID& form, const FieldID& fullYearBox,
                                                const FieldID& nonresidentBox, const FieldID& addressState) {
    // Without the information form there is no residency to compare.
    const DataMgmt::TaxFormPtr info = stateReturn->getForm(form, 1);
    if (info.isNull()) {
        return;
    }
    const std::string state = stateReturn->formString(form, 1, addressState);
    const std::string code = stateCode();
    const std::string name = stateName();
    const std::string fullYearText =
        "Your mailing address appears to be inconsistent with your full-year resident status. To file as a "
        "full-year resident, you must have lived in " +
        name + " for the entire year in " + std::to_string(TaxYear::kYear) +
        ". If this inconsistency is due to a move in " + std::to_string(kFilingYear) +
        ", you can disregard this warning. Otherwise, please check your residency status and make sure it's "
        "correct.";
    const std::string nonresidentText =
        "Your mailing address appears to be inconsistent with your nonresident status. To file as a nonresident, "
        "you must have lived outside of " +
        name + " for the entire year in " + std::to_string(TaxYear::kYear) +
        ". If this inconsistency is due to a move in " + std::to_string(kFilingYear) +
        ", you can disregard this warning. Otherwise, please check your residency status and make sure it's correct";

    routeAuditMessage(Message{helpId, topic, spare, kClassReview, state != code && info->xMarked(fullYearBox),
                              kTypeWarning, 0, form, 1, fullYearBox, fullYearText, kNoSentence});
    routeAuditMessage(Message{helpId, topic, spare, kClassReview, state == code && info->xMarked(nonresidentBox),
                              kTypeWarning, 0, form, 1, nonresidentBox, nonresidentText, kNoSentence});
}

// ------------------------------------------------------------ direct deposit

void StateTaxFormAuditor::auditDirectDeposit(const std::string& helpId, TopicID topic, bool spare, const FormID& form,
                                             int messageClass, bool refundPositive, FieldID depositBox,
                                             FieldID carryFromFederalBox, FieldID bankName, FieldID routingNumber,
                                             FieldID accountNumber, FieldID checkingBox, FieldID savingsBox,
                                             FieldID thirdTypeBox, FieldID /*fourthTypeBox*/,
                                             FieldID /*fifthTypeBox*/) {
    // A null field identifier switches off every check that would use it;
    // without a deposit box there is nothing to check.
    const DataMgmt::TaxFormPtr info = stateReturn->getForm(form, 1);
    if (info.isNull() || depositBox.isNullID()) {
        return;
    }
    const bool wanted = info->xMarked(depositBox) && refundPositive;
    // Data carried from the federal return is changed there.
    const bool carriedFromFederal = !carryFromFederalBox.isNullID() && info->xMarked(carryFromFederalBox);
    const std::string carried = carriedFromFederal ? kCarryFromFederal : "";
    const auto missing = [&](const FieldID& field) { return wanted && !stateReturn->hasSigValue(form, 1, field); };
    const auto check = [&](bool fires, char type, const FieldID& field, const std::string& text) {
        reportAuditMessage(helpId, topic, spare, messageClass, fires, type, form, 1, field, text, kNoSentence);
    };

    if (!bankName.isNullID()) {
        check(missing(bankName), kTypeMissingEntry, bankName, "bank name must be filled in");
    }
    if (!routingNumber.isNullID()) {
        check(missing(routingNumber), kTypeMissingEntry, routingNumber,
              "routing transit number must be filled in" + carried);
    }
    if (!accountNumber.isNullID()) {
        check(missing(accountNumber), kTypeMissingEntry, accountNumber, "account number must be filled in" + carried);
        const std::string account = stateReturn->formString(form, 1, accountNumber);
        check(wanted && !account.empty() && !accountNumberIsClean(account), kTypeEFileBlocker, accountNumber,
              "Account numbers may only contain letters, numbers and dashes (-).  Spaces and other characters are "
              "not allowed.");
    }

    // The account types of a state that asks for two boxes; a state with
    // further account types has no rule of its own here.
    if (thirdTypeBox.isNullID() && !checkingBox.isNullID() && !savingsBox.isNullID()) {
        const bool checking = info->xMarked(checkingBox);
        const bool savings = info->xMarked(savingsBox);
        check(wanted && !checking && !savings, kTypeMissingEntry, checkingBox,
              "the checking or savings account check box must be checked" + carried);
        check(wanted && checking && savings, kTypeInconsistent, checkingBox,
              "Type of account must either be checking or savings. Both boxes cannot be checked" + carried);
    }
}

// ------------------------------------------------------------ 1099-G payer

void StateTaxFormAuditor::appendForm1099GHelp(const std::string& helpId, TopicID topic, bool spare, int messageClass,
                                              bool fires, char type, const FormID& /*form*/, std::uint16_t /*copy*/,
                                              FieldID field, const std::string& text, int /*addedSentence*/) {
    reportEFileFailure(helpId, topic, spare, messageClass, fires, type, FormID(0), 1, field,
                       text +
                           " To access this information, close Proofwalk, click Take Me To..., scroll to the Income "
                           "section, go to the State Refund and Unemployment Benefits (1099-G) topic, and make the "
                           "necessary changes.",
                       kNoSentence);
}

void StateTaxFormAuditor::auditForm1099GPayer(const std::string& helpId, TopicID topic, bool spare,
                                              std::uint16_t checks) {
    enum : std::uint16_t {
        kIdMatchesRecipient = 1,
        kStateNameMissing = 2,
        kWithholdingWithoutCompensation = 4,
        kPayerPhoneMissing = 8,
        kPayerIdMissing = 16,
        kWithholdingAboveCompensation = 32,
    };
    const Form165Lines& g = kForm165Lines;
    const Form165Lines::StateRow& row = g.stateRows[0];
    const std::string abbreviation = stateReturn->getAbbreviation();
    const std::string stateLine = federalReturn->getLineID(kForm165ID, row.state);
    int n = 0;
    for (DataMgmt::TaxFormIter it = federalReturn->getForms(kForm165ID); !it.atEOL(); it.next()) {
        ++n;
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (copy->xMarked(g.spousesStatement) && stateReturn->getFilingStatusNumber() == FilingStatus::kSeparate) {
            continue;
        }
        const bool withheld = hasNonZeroKeyField(copy);
        const double compensation = copy->getIR(g.unemployment);
        const double stateWithheld = copy->getIR(row.withheld);
        const std::string payerId = copy->valueString(g.payerId);
        const std::string stateOnCopy = copy->valueString(row.state);
        const std::string copyText = std::to_string(n);
        const auto report = [&](std::uint16_t bit, bool fires, const std::string& text) {
            if ((checks & bit) != 0) {
                appendForm1099GHelp(helpId, topic, spare, kClassEFile, fires, kTypeEFileBlocker, FormID(0), 1,
                                    FieldID(0), text, kNoSentence);
            }
        };
        const std::string payer = bareNumber(payerId);
        const std::string recipient = bareNumber(copy->valueString(g.recipientNumber));
        report(kIdMatchesRecipient,
               withheld && !payer.empty() && !recipient.empty() && Utils::QVStringUtils::stricmp(payer, recipient) == 0,
               "The payer's employer identification number (EIN) cannot match the recipient's Social Security "
               "number on federal form 1099G.");
        report(kStateNameMissing, compensation > 0 && stateWithheld > 0 && stateOnCopy.empty(),
               "You have entered unemployment compensation and state tax withholding on copy " + copyText +
                   " of your form 1099-G without entering the state name on line " + stateLine + " of the form.");
        report(kWithholdingWithoutCompensation,
               compensation == 0 && stateWithheld > 0 && copy->xMarked(g.unemploymentBox),
               "You have entered state withholding on copy " + copyText +
                   " of your form 1099-G without any unemployment compensation.");
        report(kWithholdingAboveCompensation, stateWithheld > compensation,
               "You have entered state withholding on copy " + copyText +
                   " of your form 1099-G which exceeds your unemployment compensation.");
        report(kPayerPhoneMissing,
               compensation > 0 && copy->valueString(g.payerTelephone).empty() &&
                   Utils::QVStringUtils::stricmp(stateOnCopy, abbreviation) == 0,
               "To efile your state return, complete the payer's telephone number on federal form 1099G.");
        report(kPayerIdMissing, withheld && payerId.empty(),
               "To electronically file your " + stateName() +
                   " tax return complete the payer's ID on the federal form 1099G.");
    }
}

// ------------------------------------------------------------ care-of address

void StateTaxFormAuditor::auditCareOf(const std::string& helpId, TopicID topic, bool spare, int mode) {
    const bool fires = federalReturn->hasSigValue(kForm92ID, 1, kForm92Lines.careOf);
    const std::string careOf = federalReturn->formString(kForm92ID, 1, kForm92Lines.careOf);
    const std::string name = stateName();
    const std::string handWrite = "Your federal return contains a \"Care Of\" address and Our " + name +
                                  " program does not print this information on your paper return automatically.  You "
                                  "must hand write \"" +
                                  careOf + "\" on your paper return in order to file it correctly.";
    if (mode == 2) {
        reportAuditMessage(helpId, topic, spare, kClassReview, fires, kTypeWarning, FormID(0), 0, FieldID(0), handWrite,
                           kNoSentence);
    } else if ((mode == 1 || mode == 3) && stateReturn->InElf()) {
        const std::string text =
            mode == 1 ? "\"" + name +
                            "\" does not allow returns with a \"Care of\" address to be filed "
                            "electronically. To e-file your \"" +
                            name +
                            "\" return, you will need to go back to the federal interview and remove your \"Care "
                            "of\" address"
                      : "\"Our " + name +
                            " program\" does not allow returns with a \"Care Of\" address to be filed electronically. "
                            "To e-file your " +
                            name +
                            " return, you will need to go back to the federal interview and remove your \"Care Of\" "
                            "address";
        reportEFileFailure(helpId, topic, spare, kClassEFile, fires, kTypeEFileBlocker, stateReturn->getInfoForm(), 0,
                           FieldID(0), text, kFaqSentence);
    } else if (mode == 1 || mode == 3) {
        reportEFileFailure(helpId, topic, spare, kClassReview, fires, kTypeWarning, FormID(0), 0, FieldID(0),
                           handWrite + " To e-file your " + name +
                               " return, you will need to go back to the federal interview and remove your \"Care "
                               "Of\" address on the background worksheet",
                           kFaqSentence);
    } else {
        throw Exceptions::QuarloException("Unexpected case", "StateAuditMgmt", "auditCareOf");
    }
}

// ------------------------------------------------------------ balance due

void StateTaxFormAuditor::checkBalanceDuePayment(int messageClass) {
    FormID paymentForm;
    FieldID paymentField;
    stateReturn->mapFederalField(kForm136ID, FieldID(0), paymentForm, paymentField);
    if (paymentForm.getNumber() <= 0 || stateReturn->getForm(paymentForm, 1).isNull() ||
        stateReturn->taxBalance() <= 0) {
        return;
    }
    const bool asked = stateReturn->InElf() ? (messageClass & kClassEFile) != 0 : (messageClass & kClassReview) != 0;
    if (asked) {
        char cleanName[256];
        stateReturn->buildCleanFormName(cleanName, sizeof cleanName, paymentForm, 1);
        reportAuditMessage(AuditMgmt::kNoAuditHelpID, TopicID(0), false, kClassAttachment, true, kTypeWarning,
                           paymentForm, 0, FieldID(0),
                           std::string("your payment must be submitted with your ") + cleanName, kNoSentence);
    }
}

// ------------------------------------------------------------ state information

void StateTaxFormAuditor::auditMissingStateInfo(int residencyNumber) {
    const std::string code = stateCode();
    bool fires = true;
    bool named = false;
    bool anyEmpty = false;
    for (const Form92Lines::ResidencyRow& row : kForm92Lines.residencyRows) {
        const std::string state = federalReturn->formString(kForm92ID, 1, row.state);
        if (state.empty()) {
            anyEmpty = true;
        } else if (!named && Utils::QVStringUtils::stricmp(state, code) == 0) {
            named = true;
        }
    }
    if (named || !anyEmpty) {
        fires = false;
    }
    if (!named) {
        // Whether the state e-files returns of this residency at all.
        const int kind = DataMgmt::TaxDataMgrHandle::getInstance().getEFileMgrHandle().getStateResEfileType(
            stateReturn->getReturnType());
        const bool filedElectronically =
            kind == 2 || kind == 3 ||
            (kind == 1 && (residencyNumber == Residency::kPartYear || residencyNumber == Residency::kBothColumns));
        fires = fires && residencyNumber != Residency::kFullYear && filedElectronically;
    }
    reportEFileFailure(AuditMgmt::kNoAuditHelpID, TopicID(0), false, kClassBoth, fires, kTypeWarning, FormID(0), 1,
                       FieldID(0),
                       "It looks like you didn't fill in all your state return information in your federal return. "
                       "Close Proofwalk and click the Federal tab. Then, click Personal Information to go back to that "
                       "topic and fill in your state return information. We'll use this information for state "
                       "e-filing.",
                       kStateOnlySentence);
}

// ------------------------------------------------------------ forms not final

void StateTaxFormAuditor::auditNonFinalForms(std::span<const FormID> notFinalForms) {
    if (notFinalForms.empty() || notFinalForms.front().getNumber() <= 0) {
        return;
    }
    const auto listEnd =
        std::find_if(notFinalForms.begin(), notFinalForms.end(), [](const FormID& f) { return f.getNumber() == 0; });
    StateTaxFormPrintMgmt::FormIdList printed;
    signed char count = 0;
    signed char second = 0;
    printer->formsToPrint(printed, count, second, 1);
    const auto entries = static_cast<std::size_t>(
        std::clamp(static_cast<int>(count) + static_cast<int>(second), 0, static_cast<int>(printed.size())));
    std::string text;
    for (std::size_t i = 0; i < entries; ++i) {
        if (std::find(notFinalForms.begin(), listEnd, printed[i]) == listEnd) {
            continue;
        }
        const DataMgmt::TaxFormDescPtr desc = stateReturn->getTaxFormDescriptor(printed[i]);
        const std::string name = desc.isNull() ? stateReturn->formName(printed[i]) : desc->getBusinessName();
        text += text.empty() ? "The " + stateName() +
                                   " tax office isn't ready to accept returns with the following forms you have in "
                                   "your return. The final versions of these forms will be available in an update. "
                                   "To check for an update select Update The Program from the Tools menu.    Draft "
                                   "forms in your return include: " +
                                   name
                             : ", " + name;
    }
    reportAuditMessage(AuditMgmt::kNoAuditHelpID, TopicID(0), false, kClassEFile, !text.empty(), kTypeEFileBlocker,
                       FormID(0), 1, FieldID(0), text, kNoSentence);
}

}  // namespace StateAuditMgmt
