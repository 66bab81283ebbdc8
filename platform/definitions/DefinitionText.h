// The text layer of the form-definition files: locations for error
// messages, the splitting of a directive line into words, and the reading of
// numbers, names, attributes and edit codes. Every error is thrown as
// Exceptions::QuarloException "<file>:<line>: <what is wrong>" with class
// "FormDefinitions".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/store/Descriptions.h"

namespace FormDefinitions::detail {

inline constexpr const char* kClass = "FormDefinitions";

struct Location {
    std::string file;
    int line = 0;

    std::string text() const { return file + ":" + std::to_string(line); }
};

[[noreturn]] void fail(const Location& at, const std::string& what, const char* operation);

// One word of a directive line. "eq" is the place of the first '=' written
// outside quotes (npos when there is none), which separates an attribute's
// name from its value.
struct Token {
    std::string text;
    std::size_t eq = std::string::npos;
};

// Splits a line into words: blanks separate words outside double quotes, '#'
// outside quotes starts a comment, and inside quotes \" and \\ stand for " and
// \ (any other backslash is kept as it is).
std::vector<Token> tokenize(const std::string& line, const Location& at);

// A whole number written in decimal digits, with an optional sign.
std::optional<long> parseNumber(const std::string& text);

// The number of an attribute or word, which must lie from low to high.
long number(const std::string& text, const std::string& what, long low, long high, const Location& at);

// Letters, digits and '_' only, and not empty.
bool isNameText(const std::string& text);

// Splits "name=value"; a token without '=' is not an attribute.
std::pair<std::string, std::string> attribute(const Token& token, const std::string& directive, const Location& at);

// An edit or format code: one character that is not a digit, or a number from
// 0 to 255.
std::uint8_t editCode(const std::string& value, const Location& at);

// A field's kind by its word: N (amount), T (text), B (box), D (a date: a
// text with edit code D), or what the field holds (name, address, ssn, ein,
// ssnorein, zip, state, phone, routing, account, choice: texts; count: an
// amount). None for another word.
struct KindWord {
    DataMgmt::FieldKind kind;
    DataMgmt::FieldContent content;
    bool date;
};
std::optional<KindWord> kindOfWord(const std::string& value);
// Every kind word, for a message: "N, T, B, D, name, ...".
std::string kindWords();

// The range of a count or an amount, "<low>-<high>" (0 to 65535).
std::pair<std::uint16_t, std::uint16_t> countRange(const std::string& value, const Location& at);

// Refuses choices, a range or fractions on a field of another kind, a
// choice without its choices, and a content on a field of the wrong storage
// kind.
void checkContent(const DataMgmt::FormFieldDesc::Attributes& field, const Location& at);

// A yes-or-no attribute (calc, fractions): 0 or 1.
bool flag(const std::string& name, const std::string& value, const Location& at);

// A field's domain by its name: nonnegative (an amount of 0 or more),
// intaxyear (a date within the tax year), notaftertaxyear (a date not after
// the tax year's end) or taxyearpayment (a date from the tax year's first day
// to the end of the following April).
DataMgmt::FieldDomain fieldDomain(const std::string& value, const Location& at);

// Refuses a domain that the field's kind cannot take: 0 or more belongs to
// amounts, the tax-year domains to dates.
void checkDomain(const DataMgmt::FormFieldDesc::Attributes& field, const Location& at);

}  // namespace FormDefinitions::detail
