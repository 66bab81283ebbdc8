// What a field holds beyond its storage kind: the one reading of a value by
// it, and what it takes.
#include "platform/store/FieldContent.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "platform/store/DataMgmt.h"
#include "platform/store/Descriptions.h"
#include "platform/util/Utils.h"

namespace DataMgmt {

namespace {

// The codes of the states, the District of Columbia, the territories and the
// freely associated states, and the armed forces' codes of the postal list.
constexpr std::array<const char*, 62> kPostalCodes{
    "AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FL", "GA", "HI", "ID", "IL", "IN", "IA",
    "KS", "KY", "LA", "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM",
    "NY", "NC", "ND", "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VA", "WA",
    "WV", "WI", "WY", "AS", "GU", "MP", "PR", "VI", "FM", "MH", "PW", "AA", "AE", "AP"};

constexpr std::size_t kMaxAccountCharacters = 17;

bool isDigitChar(char c) { return c >= '0' && c <= '9'; }
bool isLetterChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The digits of a number written with blanks or hyphens between them (and
// `also` besides); none when it holds another character.
std::optional<std::string> digitsOf(const std::string& text, const char* also = "") {
    std::string digits;
    for (const char c : text) {
        if (isDigitChar(c)) {
            digits += c;
        } else if (c != ' ' && c != '-' && std::string_view(also).find(c) == std::string_view::npos) {
            return std::nullopt;
        }
    }
    return digits;
}

// The bank routing number's check: 3, 7 and 1 times its digits in turn add
// up to a multiple of 10.
bool routingCheckHolds(const std::string& digits) {
    static constexpr int kWeights[3] = {3, 7, 1};
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) sum += kWeights[i % 3] * (digits[i] - '0');
    return sum % 10 == 0;
}

// A choice as it is compared: lower case, without blanks and hyphens.
std::string choiceKey(std::string_view text) {
    std::string key;
    for (const char c : text) {
        if (c == ' ' || c == '-') continue;
        key += isLetterChar(c) ? static_cast<char>(c | 0x20) : c;
    }
    return key;
}

// The named choice the text stands for, as the field spells it.
std::optional<std::string> choiceOf(const std::string& choices, const std::string& text) {
    const std::string key = choiceKey(text);
    for (std::size_t at = 0; at <= choices.size();) {
        const std::size_t bar = std::min(choices.find('|', at), choices.size());
        const std::string_view choice = std::string_view(choices).substr(at, bar - at);
        if (choiceKey(choice) == key) return std::string(choice);
        at = bar + 1;
    }
    return std::nullopt;
}

std::string shownChoices(const std::string& choices) {
    std::string shown;
    for (std::size_t at = 0; at <= choices.size();) {
        const std::size_t bar = std::min(choices.find('|', at), choices.size());
        shown += (at == 0 ? "" : bar == choices.size() ? " or " : ", ") + choices.substr(at, bar - at);
        at = bar + 1;
    }
    return shown;
}

std::optional<std::string> nineDigitNumber(const std::string& t) {
    const std::optional<std::string> digits = digitsOf(t);
    return digits && digits->size() == 9 ? digits : std::nullopt;
}

std::optional<std::string> accountNumber(const std::string& t) {
    std::string kept;
    for (const char c : t) {
        if (c != ' ' && c != '-') kept += c;
    }
    const bool ok = !kept.empty() && kept.size() <= kMaxAccountCharacters &&
                    std::all_of(kept.begin(), kept.end(), [](char c) { return isDigitChar(c) || isLetterChar(c); });
    return ok ? std::optional<std::string>(Utils::QVStringUtils::upperCased(kept)) : std::nullopt;
}

}  // namespace

std::optional<std::string> readByContent(const FormFieldDesc& field, const std::string& t) {
    switch (field.getContent()) {
        case FieldContent::Any:
        case FieldContent::Address:
        case FieldContent::Count:
            return t;
        case FieldContent::Name:
            return std::any_of(t.begin(), t.end(), isLetterChar) ? std::optional<std::string>(t) : std::nullopt;
        case FieldContent::PersonNumber:
        case FieldContent::EmployerNumber:
        case FieldContent::EitherNumber:
            return nineDigitNumber(t);
        case FieldContent::WrittenNumber:
            return nineDigitNumber(t) ? std::optional<std::string>(t) : std::nullopt;
        case FieldContent::Zip: {
            const std::optional<std::string> digits = digitsOf(t);
            return digits && (digits->size() == 5 || digits->size() == 9) ? digits : std::nullopt;
        }
        case FieldContent::StateCode: {
            const std::string code = Utils::QVStringUtils::upperCased(t);
            const bool ok =
                std::any_of(kPostalCodes.begin(), kPostalCodes.end(), [&](const char* c) { return code == c; });
            return ok ? std::optional<std::string>(code) : std::nullopt;
        }
        case FieldContent::Phone: {
            const std::optional<std::string> digits = digitsOf(t, "().");
            return digits && digits->size() == 10 ? digits : std::nullopt;
        }
        case FieldContent::Routing: {
            const std::optional<std::string> digits = digitsOf(t);
            return digits && digits->size() == 9 && routingCheckHolds(*digits) ? digits : std::nullopt;
        }
        case FieldContent::Account:
            return accountNumber(t);
        case FieldContent::Choice:
            return choiceOf(field.attributes().choices, t);
    }
    return t;
}

bool countTakes(const FormFieldDesc& field, double amount) {
    if (field.getContent() != FieldContent::Count) return true;
    const FormFieldDesc::Attributes& a = field.attributes();
    const bool ranged = a.countLow != 0 || a.countHigh != 0;
    return amount == std::floor(amount) && amount >= (ranged ? a.countLow : 0) && (!ranged || amount <= a.countHigh);
}

std::string fieldTakes(const FormFieldDesc& field) {
    switch (field.getContent()) {
        case FieldContent::Any:
        case FieldContent::Address:
            break;
        case FieldContent::Name:
            return "a name, which holds a letter";
        case FieldContent::PersonNumber:
            return "a social security or taxpayer number of nine digits";
        case FieldContent::EmployerNumber:
            return "an employer identification number of nine digits";
        case FieldContent::EitherNumber:
        case FieldContent::WrittenNumber:
            return "an employer identification or social security number of nine digits";
        case FieldContent::Zip:
            return "a ZIP code of five or nine digits";
        case FieldContent::StateCode:
            return "a state or territory code such as GA";
        case FieldContent::Phone:
            return "a telephone number of ten digits";
        case FieldContent::Routing:
            return "a bank routing number of nine digits whose check digit is right";
        case FieldContent::Account:
            return "a bank account number of 1 to 17 letters and digits";
        case FieldContent::Count: {
            const FormFieldDesc::Attributes& a = field.attributes();
            if (a.countLow == 0 && a.countHigh == 0) return "a whole count of 0 or more";
            return "a whole count from " + std::to_string(a.countLow) + " to " + std::to_string(a.countHigh);
        }
        case FieldContent::Choice:
            return "one of " + shownChoices(field.attributes().choices);
    }
    return {};
}

// ---------------------------------------------------------------- amounts

namespace {

std::string shown(const std::string& written) { return "\"" + Utils::QVStringUtils::escapeForMessage(written) + "\""; }

// An amount with a range (a percent) lies within it, in dollars as written.
std::string rangeRefusal(const FormFieldDesc& field, double stored, const std::string& written) {
    const FormFieldDesc::Attributes& a = field.attributes();
    if (a.content == FieldContent::Count || (a.countLow == 0 && a.countHigh == 0)) return {};
    const double dollars = displayAmount(stored, field.getEditCode());
    if (dollars >= a.countLow && dollars <= a.countHigh) return {};
    return "amount " + shown(written) + " is not from " + std::to_string(a.countLow) + " to " +
           std::to_string(a.countHigh);
}

}  // namespace

double withoutBinaryNoise(double stored, int places) {
    const double cents = roundedToTheCent(stored, places);
    const double unit = detail::kPowersOfTen[places];
    const double dollars = std::fabs(stored) / unit;
    const double noise = std::min(1e-3, std::max(1e-8, 64 * (std::nextafter(dollars, INFINITY) - dollars)));
    return std::fabs(stored - cents) / unit <= noise ? cents : stored;
}

bool toTheCent(double stored, int places) {
    // The shortest decimal that reads back to the amount, in dollars.
    const std::string dollars = formatDisplayAmount(withoutBinaryNoise(stored, places), places);
    const std::size_t point = dollars.find('.');
    return point == std::string::npos || dollars.size() - point - 1 <= 2;
}

std::string beyondTheAmountLimit(const std::string& written) {
    return "amount " + shown(written) + " is beyond the limit of " + kAmountLimitText + " dollars either way";
}

std::string beyondTheCent(const std::string& written) {
    return "amount " + shown(written) + " is given to more than the cent (the field takes at most two decimals)";
}

std::string amountRefusal(const FormFieldDesc& field, double stored, const std::string& written) {
    if (!countTakes(field, stored)) return "value " + shown(written) + " is not " + fieldTakes(field);
    const int places = editCodeDecimalPlaces(field.getEditCode());
    if (!withinTheAmountLimit(stored, places)) return beyondTheAmountLimit(written);
    if (!field.keepsFractions() && !toTheCent(stored, places)) return beyondTheCent(written);
    if (stored < 0 && field.getDomain() == FieldDomain::NotNegative) {
        return "amount " + shown(written) + " is below 0 (the field takes 0 or more)";
    }
    return rangeRefusal(field, stored, written);
}

}  // namespace DataMgmt
