// The driver's licence or state ID answers of the state information form
// against the federal return and today's date, and the federal 1099-G
// copies an e-file needs complete.

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/review/AuditText.h"
#include "module/review/StateTaxFormAuditor.h"
#include "platform/util/Utils.h"

namespace StateAuditMgmt {

namespace {

// A state without an expiration rule.
const char* const kStateWithoutExpirationRule = "NY";

// The texts that name what is missing of one filer's answers.
struct FilerLicenceTexts {
    const char* number;
    const char* state;
    const char* issueDate;
    const char* expiration;
    const char* option;
    const char* issuedAfterToday;
    const char* expiredBeforeToday;
};

const FilerLicenceTexts kTaxpayerTexts{
    "Your driver's license or state ID number",
    "State your ID was issued in",
    "Issue date of your ID",
    "Enter the expiration date or tell us your driver's license or ID doesn't have one",
    "Select one of the options for your driver's license or state-issued ID.",
    "The issue date of your ID must be on or before today's date",
    "The expiration date of your ID must be on or after today's date",
};

const FilerLicenceTexts kSpouseTexts{
    "Spouse's driver's license or state ID number",
    "State your spouse's ID was issued in",
    "Issue date of your spouse's ID",
    "Enter the expiration date or tell us your spouse's driver's license or ID doesn't have one",
    "Select one of the options for your spouse's driver's license or state-issued ID.",
    "The issue date of your spouse's ID must be on or before today's date",
    "The expiration date of your spouse's ID must be on or after today's date",
};

// The return types whose 1099-G copies need their state name and their
// unemployment compensation beside state withholding.
bool checksCompensation(DataMgmt::TaxReturnType type) {
    constexpr std::array<int, 10> kTypes{7, 8, 12, 13, 22, 23, 39, 42, 49, 16};
    for (int t : kTypes) {
        if (t == type) {
            return true;
        }
    }
    return false;
}

}  // namespace

// ------------------------------------------------------------ driver's licence

void StateTaxFormAuditor::auditDriverLicense(const std::string& helpId, TopicID topic, bool spare, const FormID& form,
                                             int messageClass, const FilerLicenceLines& licence) {
    const DataMgmt::TaxFormPtr info = stateReturn->getForm(form, 1);
    if (info.isNull()) {
        return;
    }
    const bool expirationRule = stateCode() != kStateWithoutExpirationRule;
    const auto report = [&](bool fires, char type, const FieldID& field, const std::string& text) {
        reportAuditMessage(helpId, topic, spare, messageClass, fires, type, form, 1, field, text, kNoSentence);
    };
    const auto date = [](const std::string& text) { return Utils::strDateToNumber(text); };
    std::int64_t today = 0;

    const auto checkFiler = [&](const LicenceLines& own, const LicenceLines& fed, const FilerLicenceTexts& texts) {
        const auto stateText = [&](const FieldID& f) { return stateReturn->formString(form, 1, f); };
        const auto federalText = [&](const FieldID& f) { return federalReturn->formString(kForm92ID, 1, f); };
        const bool hasId = info->xMarked(own.firstIdBox) || info->xMarked(own.secondIdBox);
        // Entries are compared only when both returns hold them.
        const auto differ = [&](const FieldID& ownField, const FieldID& fedField, bool asDates) {
            const std::string a = stateText(ownField);
            const std::string b = federalText(fedField);
            if (a.empty() || b.empty()) {
                return false;
            }
            return asDates ? date(a) != date(b) : Utils::QVStringUtils::stricmp(a, b) != 0;
        };
        const bool noExpiration = info->xMarked(own.noExpirationBox);

        report(hasId && differ(own.number, fed.number, false), kTypeWarning, own.number,
               "The driver's license or state ID number doesn't match the number on your federal return. Please "
               "make sure your state entry is correct.");
        report(hasId && differ(own.issuingState, fed.issuingState, false), kTypeWarning, own.issuingState,
               "The issuing state doesn't match the issuing state on your federal return. Please make sure your "
               "state entry is correct.");
        report(hasId && differ(own.issueDate, fed.issueDate, true), kTypeWarning, own.issueDate,
               "The issue date doesn't match the issue date on your federal return. Please make sure your state "
               "entry is correct.");
        report(hasId && (federalReturn->formYes(kForm92ID, 1, fed.noExpirationBox) != noExpiration ||
                         differ(own.expirationDate, fed.expirationDate, true)),
               kTypeWarning, own.expirationDate,
               "The expiration date doesn't match the expiration date on your federal return. Please make sure your "
               "state entry is correct.");
        report(hasId && info->isNull(own.number), kTypeMissingEntry, own.number, texts.number);
        report(hasId && info->isNull(own.issuingState), kTypeMissingEntry, own.issuingState, texts.state);
        report(hasId && info->isNull(own.issueDate), kTypeMissingEntry, own.issueDate, texts.issueDate);
        report(hasId && !noExpiration && info->isNull(own.expirationDate), kTypeMissingEntry, own.expirationDate,
               texts.expiration);
        const bool secondAnswer = own.secondOtherAnswer.getNumber() > 0 && info->xMarked(own.secondOtherAnswer);
        report(!info->xMarked(own.firstOtherAnswer) && !hasId && !secondAnswer, kTypeMissingEntry, own.firstIdBox,
               texts.option);

        // Today is read once, before the taxpayer's date checks.
        if (today == 0) {
            int year = 0;
            int month = 0;
            int day = 0;
            int weekday = 0;
            Utils::getCurrentDate(year, month, day, weekday, false);
            today = Utils::dateToNumber(month, day, year);
        }
        report(hasId && info->nonNull(own.issueDate) && date(stateText(own.issueDate)) > today, kTypeEFileBlocker,
               own.issueDate, texts.issuedAfterToday);
        if (expirationRule) {
            report(hasId && !noExpiration && info->nonNull(own.expirationDate) &&
                       date(stateText(own.expirationDate)) < today,
                   kTypeEFileBlocker, own.expirationDate, texts.expiredBeforeToday);
        }
    };

    checkFiler(licence.taxpayer, kForm92Lines.licence.taxpayer, kTaxpayerTexts);
    if (FilingStatus::carriesSpouseId(stateReturn->getFilingStatusNumber())) {
        checkFiler(licence.spouse, kForm92Lines.licence.spouse, kSpouseTexts);
    }
}

// ------------------------------------------------------------ 1099-G copies

void StateTaxFormAuditor::auditForm1099GEFile(const std::string& helpId, TopicID topic, bool spare,
                                              bool otherStateAllowed, int totalCopyLimit, int markedCopyLimit,
                                              int otherCopyLimit, int /*unused*/) {
    const Form165Lines& g = kForm165Lines;
    const bool separate = stateReturn->getFilingStatusNumber() == FilingStatus::kSeparate;
    const Form1099GReport report = [&](bool fires, std::uint16_t copy, const std::string& text) {
        appendForm1099GHelp(helpId, topic, spare, kClassEFile, fires, kTypeEFileBlocker, stateReturn->getInfoForm(),
                            copy, FieldID(0), text, kNoSentence);
    };

    // The copies with state tax withheld, by the box that decides their kind.
    std::int16_t marked = 0;
    std::int16_t others = 0;
    for (DataMgmt::TaxFormIter it = federalReturn->getForms(kForm165ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (!hasNonZeroKeyField(copy)) {
            continue;
        }
        if (copy->xMarked(g.taxpayersStatement)) {
            ++marked;
        } else if (!separate) {
            ++others;
        }
    }
    const int counted = marked + others;
    const bool exceeded =
        (markedCopyLimit != 0 && otherCopyLimit != 0 && (marked > markedCopyLimit || others > otherCopyLimit)) ||
        (totalCopyLimit > 0 && counted > totalCopyLimit);
    if (Utils::QVStringUtils::stricmp(stateReturn->getAbbreviation(), "CT") != 0) {
        const std::string name = stateName();
        report(exceeded, 1,
               "You have " + std::to_string(counted) +
                   " copies of the federal 1099G which exceeds the amount allowed by " + name +
                   " for electronic filing. You will have to file your " + name + " return by paper.");
    }

    // Each copy's entries, numbered in walking order.
    std::uint16_t n = 0;
    for (DataMgmt::TaxFormIter it = federalReturn->getForms(kForm165ID); !it.atEOL(); it.next()) {
        ++n;
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (copy->xMarked(g.spousesStatement) && separate) {
            continue;
        }
        checkForm1099GCopy(report, copy, n, otherStateAllowed);
    }
}

// The entries that one 1099-G copy needs for an e-file.
void StateTaxFormAuditor::checkForm1099GCopy(const Form1099GReport& report, const DataMgmt::TaxFormPtr& copy,
                                             std::uint16_t n, bool otherStateAllowed) {
    const Form165Lines& g = kForm165Lines;
    const std::string name = stateName();
    const bool key = hasNonZeroKeyField(copy);
    const auto text = [&](const FieldID& f) { return copy->valueString(f); };
    const std::array<std::pair<const FieldID&, const char*>, 9> required{{
        {g.payerName, "payer's name"},
        {g.payerStreet, "payer's street address"},
        {g.payerCity, "payer's city"},
        {g.payerState, "payer's state"},
        {g.payerZipCode, "payer's zipcode"},
        {g.recipientStreet, "recipient's street address"},
        {g.recipientCity, "recipient's city"},
        {g.recipientState, "recipient's state"},
        {g.recipientZipCode, "recipient's zipcode"},
    }};
    for (const auto& [field, what] : required) {
        report(key && text(field).empty(), n,
               "To electronically file your " + name + " tax return complete the " + what + " on federal form 1099G.");
    }
    const bool negative =
        std::any_of(g.amounts.begin(), g.amounts.end(), [&](const FieldID& amount) { return copy->getIN(amount) < 0; });
    report(
        key && negative, n,
        "To electronically file your " + name + " tax return all entries on your federal form 1099G must be positive.");
    const Form165Lines::StateRow& row = g.stateRows[0];
    if (!otherStateAllowed) {
        report(key && text(row.state) != stateReturn->getAbbreviation(), n,
               "You cannot electronically file your state return because you have taxes paid to a state other than " +
                   name + " on your federal 1099G");
    }
    const std::string payer = bareNumber(text(g.payerId));
    const std::string recipient = bareNumber(text(g.recipientNumber));
    report(key && !payer.empty() && !recipient.empty() && Utils::strcmpiXC(payer.c_str(), recipient.c_str()) == 0, n,
           "The payer's employer identification number (EIN) cannot match the recipient's Social Security number on "
           "federal form 1099G.");
    const bool typeChecked = checksCompensation(stateReturn->getReturnType());
    const double compensation = copy->getIR(g.unemployment);
    const double withheld = copy->getIR(row.withheld);
    report(typeChecked && compensation > 0 && withheld > 0 && text(row.state).empty(), n,
           "You have entered unemployment compensation and state tax withholding on copy " + std::to_string(n) +
               " of your form 1099-G without entering the state name on line " +
               federalReturn->getLineID(kForm165ID, row.state) + " of the form.");
    report(typeChecked && compensation == 0 && withheld > 0 && copy->xMarked(g.unemploymentBox), n,
           "You have entered state withholding on copy " + std::to_string(n) +
               " of your form 1099-G without any unemployment compensation.");
}

}  // namespace StateAuditMgmt
