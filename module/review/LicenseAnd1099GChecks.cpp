// The driver's licence or state ID answers of the state information form
// against the federal return and today's date, and the federal 1099-G
// copies an e-file needs complete.

#include <array>
#include <string>

#include "module/catalogues/Form165FieldIds.h"
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
    const auto& f165 = kForm165FieldIds;
    const std::string abbreviation = stateReturn->getAbbreviation();
    const std::string name = stateName();
    const FormID infoForm = stateReturn->getInfoForm();
    const bool separate = stateReturn->getFilingStatusNumber() == FilingStatus::kSeparate;
    const auto report = [&](bool fires, std::uint16_t copy, const std::string& text) {
        appendForm1099GHelp(helpId, topic, spare, kClassEFile, fires, kTypeEFileBlocker, infoForm, copy, FieldID(0),
                            text, kNoSentence);
    };

    // The copies with state tax withheld, by the box that decides their kind.
    std::int16_t marked = 0;
    std::int16_t others = 0;
    for (DataMgmt::TaxFormIter it = federalReturn->getForms(kForm165ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (!hasNonZeroKeyField(copy)) {
            continue;
        }
        if (copy->xMarked(f165.f22)) {
            ++marked;
        } else if (!separate) {
            ++others;
        }
    }
    const int counted = marked + others;
    const bool exceeded =
        (markedCopyLimit != 0 && otherCopyLimit != 0 && (marked > markedCopyLimit || others > otherCopyLimit)) ||
        (totalCopyLimit > 0 && counted > totalCopyLimit);
    if (Utils::QVStringUtils::stricmp(abbreviation, "CT") != 0) {
        report(exceeded, 1,
               "You have " + std::to_string(counted) +
                   " copies of the federal 1099G which exceeds the amount allowed by " + name +
                   " for electronic filing. You will have to file your " + name + " return by paper.");
    }

    // Each copy's entries, numbered in walking order.
    struct Required {
        FieldID field;
        const char* what;
    };
    const std::array<Required, 9> required{{
        {f165.f10, "payer's name"},
        {f165.f30, "payer's street address"},
        {f165.f31, "payer's city"},
        {f165.f32, "payer's state"},
        {f165.f33, "payer's zipcode"},
        {f165.f35, "recipient's street address"},
        {f165.f37, "recipient's city"},
        {f165.f38, "recipient's state"},
        {f165.f39, "recipient's zipcode"},
    }};
    const std::string stateLine = federalReturn->getLineID(kForm165ID, f165.f17);
    std::uint16_t n = 0;
    for (DataMgmt::TaxFormIter it = federalReturn->getForms(kForm165ID); !it.atEOL(); it.next()) {
        ++n;
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (copy->xMarked(f165.f23) && separate) {
            continue;
        }
        const bool key = hasNonZeroKeyField(copy);
        const auto text = [&](const FieldID& f) { return copy->valueString(f); };
        for (const Required& r : required) {
            report(key && text(r.field).empty(), n,
                   "To electronically file your " + name + " tax return complete the " + r.what +
                       " on federal form 1099G.");
        }
        bool negative = false;
        for (const FieldID& amount : {f165.f11, f165.f12, f165.f15, f165.f16, f165.f24555, f165.f18, f165.f19}) {
            negative = negative || copy->getIN(amount) < 0;
        }
        report(key && negative, n,
               "To electronically file your " + name +
                   " tax return all entries on your federal form 1099G must be "
                   "positive.");
        if (!otherStateAllowed) {
            report(key && text(f165.f17) != abbreviation, n,
                   "You cannot electronically file your state return because you have taxes paid to a state other "
                   "than " +
                       name + " on your federal 1099G");
        }
        const std::string payer = bareNumber(text(f165.f26));
        const std::string recipient = bareNumber(text(f165.f5));
        report(key && !payer.empty() && !recipient.empty() && Utils::strcmpiXC(payer.c_str(), recipient.c_str()) == 0,
               n,
               "The payer's employer identification number (EIN) cannot match the recipient's Social Security number "
               "on federal form 1099G.");
        const bool typeChecked = checksCompensation(stateReturn->getReturnType());
        const double compensation = copy->getIR(f165.f11);
        const double withheld = copy->getIR(f165.f16);
        report(typeChecked && compensation > 0 && withheld > 0 && text(f165.f17).empty(), n,
               "You have entered unemployment compensation and state tax withholding on copy " + std::to_string(n) +
                   " of your form 1099-G without entering the state name on line " + stateLine + " of the form.");
        report(typeChecked && compensation == 0 && withheld > 0 && copy->xMarked(f165.f20717), n,
               "You have entered state withholding on copy " + std::to_string(n) +
                   " of your form 1099-G without any unemployment compensation.");
    }
}

}  // namespace StateAuditMgmt
