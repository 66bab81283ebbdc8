#include "platform/definitions/DefinitionText.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/Exceptions.h"

namespace FormDefinitions::detail {
void fail(const Location& at, const std::string& what, const char* operation) {
    throw Exceptions::QuarloException(at.text() + ": " + what, kClass, operation);
}

// Splits a line into words: blanks separate words outside double quotes, '#'
// outside quotes starts a comment, and inside quotes \" and \\ stand for " and
// \ (any other backslash is kept as it is).
std::vector<Token> tokenize(const std::string& line, const Location& at) {
    std::vector<Token> tokens;
    Token current;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                current.text += line[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                current.text += c;
            }
            continue;
        }
        if (c == '#') {
            break;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            if (inWord) {
                tokens.push_back(std::move(current));
                current = Token();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = true;
        } else {
            if (c == '=' && current.eq == std::string::npos) {
                current.eq = current.text.size();
            }
            current.text += c;
        }
    }
    if (quoted) {
        fail(at, "quoted text is not closed", "load");
    }
    if (inWord) {
        tokens.push_back(std::move(current));
    }
    return tokens;
}

// A whole number written in decimal digits, with an optional sign.
std::optional<long> parseNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::size_t start = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (start == text.size() || !std::all_of(text.begin() + static_cast<long>(start), text.end(),
                                             [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE) {
        return std::nullopt;
    }
    return value;
}

long number(const std::string& text, const std::string& what, long low, long high, const Location& at) {
    const std::optional<long> value = parseNumber(text);
    if (!value) {
        fail(at, what + " \"" + text + "\" is not a number", "load");
    }
    if (*value <= 0 && low > 0) {
        fail(at, what + " " + text + " must be greater than 0", "load");
    }
    if (*value < low || *value > high) {
        fail(at, what + " " + text + " must be from " + std::to_string(low) + " to " + std::to_string(high), "load");
    }
    return *value;
}

bool isNameText(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

// Splits "name=value"; a token without '=' is not an attribute.
std::pair<std::string, std::string> attribute(const Token& token, const std::string& directive, const Location& at) {
    if (token.eq == std::string::npos) {
        fail(at, "unexpected \"" + token.text + "\" in a " + directive + " line (attributes are name=value)", "load");
    }
    return {token.text.substr(0, token.eq), token.text.substr(token.eq + 1)};
}

std::uint8_t editCode(const std::string& value, const Location& at) {
    if (value.size() == 1 && !(value[0] >= '0' && value[0] <= '9')) {
        return static_cast<std::uint8_t>(value[0]);
    }
    const std::optional<long> code = parseNumber(value);
    if (!code || *code < 0 || *code > 255 || value[0] == '+' || value[0] == '-') {
        fail(at, "edit code \"" + value + "\" is neither one character nor a number from 0 to 255", "load");
    }
    return static_cast<std::uint8_t>(*code);
}

namespace {

struct KindEntry {
    const char* word;
    KindWord kind;
};

using Content = DataMgmt::FieldContent;
using Kind = DataMgmt::FieldKind;

constexpr KindEntry kKindWords[] = {
    {"N", {Kind::Number, Content::Any, false}},
    {"T", {Kind::Text, Content::Any, false}},
    {"B", {Kind::Boolean, Content::Any, false}},
    {"D", {Kind::Text, Content::Any, true}},
    {"name", {Kind::Text, Content::Name, false}},
    {"address", {Kind::Text, Content::Address, false}},
    {"ssn", {Kind::Text, Content::PersonNumber, false}},
    {"ein", {Kind::Text, Content::EmployerNumber, false}},
    {"ssnorein", {Kind::Text, Content::EitherNumber, false}},
    {"writtenid", {Kind::Text, Content::WrittenNumber, false}},
    {"zip", {Kind::Text, Content::Zip, false}},
    {"state", {Kind::Text, Content::StateCode, false}},
    {"phone", {Kind::Text, Content::Phone, false}},
    {"routing", {Kind::Text, Content::Routing, false}},
    {"account", {Kind::Text, Content::Account, false}},
    {"choice", {Kind::Text, Content::Choice, false}},
    {"count", {Kind::Number, Content::Count, false}},
};

}  // namespace

std::optional<KindWord> kindOfWord(const std::string& value) {
    for (const KindEntry& entry : kKindWords) {
        if (value == entry.word) return entry.kind;
    }
    return std::nullopt;
}

std::string kindWords() {
    std::string words;
    for (const KindEntry& entry : kKindWords) {
        words += (words.empty() ? "" : ", ") + std::string(entry.word);
    }
    return words;
}

std::pair<std::uint16_t, std::uint16_t> countRange(const std::string& value, const Location& at) {
    const std::size_t dash = value.find('-');
    if (dash == std::string::npos) fail(at, "range \"" + value + "\" is not of the form <low>-<high>", "load");
    const long low = number(value.substr(0, dash), "low end of the range", 0, 65535, at);
    const long high = number(value.substr(dash + 1), "high end of the range", 0, 65535, at);
    if (low > high) fail(at, "range " + value + " goes backwards", "load");
    return {static_cast<std::uint16_t>(low), static_cast<std::uint16_t>(high)};
}

void checkContent(const DataMgmt::FormFieldDesc::Attributes& field, const Location& at) {
    const bool choice = field.content == Content::Choice;
    if (choice != !field.choices.empty()) {
        fail(at, choice ? "a choice (kind=choice) needs its choices=\"A|B\"" : "choices belong to a kind=choice field",
             "load");
    }
    if (choice && (field.choices.front() == '|' || field.choices.back() == '|' ||
                   field.choices.find("||") != std::string::npos)) {
        fail(at, "choices \"" + field.choices + "\" hold an empty choice", "load");
    }
    const bool amount = field.kind == DataMgmt::FieldKind::Number && field.content == Content::Any;
    if ((field.countLow != 0 || field.countHigh != 0) && field.content != Content::Count && !amount) {
        fail(at, "a range belongs to a count (kind=count) or an amount (kind=N)", "load");
    }
    if (field.fractions && !amount) fail(at, "fractions belong to an amount (kind=N)", "load");
}

bool flag(const std::string& name, const std::string& value, const Location& at) {
    if (value != "0" && value != "1") fail(at, name + " \"" + value + "\" is neither 0 nor 1", "load");
    return value == "1";
}

DataMgmt::FieldDomain fieldDomain(const std::string& value, const Location& at) {
    if (value == "nonnegative") {
        return DataMgmt::FieldDomain::NotNegative;
    }
    if (value == "intaxyear") {
        return DataMgmt::FieldDomain::InTaxYear;
    }
    if (value == "notaftertaxyear") {
        return DataMgmt::FieldDomain::NotAfterTaxYear;
    }
    if (value == "taxyearpayment") {
        return DataMgmt::FieldDomain::InPaymentPeriod;
    }
    fail(at, "domain \"" + value + "\" is not one of nonnegative, intaxyear, notaftertaxyear, taxyearpayment", "load");
}

void checkDomain(const DataMgmt::FormFieldDesc::Attributes& field, const Location& at) {
    switch (field.domain) {
        case DataMgmt::FieldDomain::Any:
            return;
        case DataMgmt::FieldDomain::NotNegative:
            if (field.kind != DataMgmt::FieldKind::Number) {
                fail(at, "domain nonnegative belongs to an amount (kind=N)", "load");
            }
            return;
        case DataMgmt::FieldDomain::InTaxYear:
        case DataMgmt::FieldDomain::NotAfterTaxYear:
        case DataMgmt::FieldDomain::InPaymentPeriod:
            if (field.kind != DataMgmt::FieldKind::Text || field.editCode != Validation::kDateEditCode) {
                fail(at, "a tax-year domain belongs to a date (kind=D)", "load");
            }
            return;
    }
}

}  // namespace FormDefinitions::detail
