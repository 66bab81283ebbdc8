// Inner workings of the return file shared by its source files; not for use
// outside platform/returnfile/.
#pragma once

#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DataMgmt.h"
#include "platform/util/Utils.h"

namespace PersistanceMgmt::detail {

constexpr int kTaxYear = 2018;
// The last month of the year after the tax year in which a payment of the
// tax year is made (a date of FieldDomain::InPaymentPeriod).
constexpr int kLastPaymentMonth = 4;
constexpr std::size_t kMaxReportedProblems = 25;
constexpr std::size_t kMaxFileSize = 256u * 1024u * 1024u;

// ------------------------------------------------------------ text

// The text without the blanks, tabs and line ends around it.
inline std::string trim(const std::string& s) { return Utils::strip(s); }

bool allDigits(const std::string& s);

// A whole number of the given type, with an optional sign and blanks around
// it; false for anything else, a value out of the type's range included.
template <class Int>
bool parseInteger(const std::string& text, Int& out) {
    const std::string t = trim(text);
    if (t.empty()) return false;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    if (*first == '+') ++first;
    if (first == last) return false;
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

// Quotes a value for an error message, escaped and cut to a readable length
// (Utils::QVStringUtils::escapeForMessage).
std::string showText(const std::string& s);

// Reads a box mark: "X" marked, "NO" explicitly not marked (any letter case).
bool parseBox(const std::string& text, bool& out);

// What keeps a text from being carried by an XML 1.0 document (valid UTF-8
// made of characters that XML allows), as a phrase to follow the text in a
// message, naming the first bad byte ("is not valid UTF-8 (byte 0xFF at
// offset 3)"); empty for a text that XML carries.
std::string xmlTextProblem(const std::string& s);

// What keeps a text of XML from being a value of one line: a control
// character (U+0000 to U+001F, U+007F to U+009F: a line feed, a carriage
// return, a tab, a next line...) or a line or paragraph separator (U+2028,
// U+2029). The print file and the e-file write a
// value on a line of its own after its name or key, and no field holds
// several lines (an explanation takes one field a line), so a line break in
// a value would write a line of its own. A phrase to follow the text in a
// message ("holds a line break (U+000A at offset 3)"); empty for a text
// without one. The text is UTF-8 (xmlTextProblem finds it so).
std::string controlCharacterProblem(const std::string& s);

std::string errnoText(int e);

// "amount 1e20 is beyond the amount limit of 10,000,000,000,000 dollars".
using DataMgmt::beyondTheAmountLimit;
using DataMgmt::beyondTheCent;

// " (gahost fields F52 lists its fields)": where a message about an unknown
// field of the form sends the reader.
std::string fieldListHint(const DataMgmt::TaxFormDesc& form);

// What is wrong with a date, to follow the quoted date in a message ("is
// before 1900"), or "" when nothing is: it must be a calendar date from
// 1900 on, and within the domain (the tax year, or not after its end).
std::string dateProblem(const std::string& text, DataMgmt::FieldDomain domain);

// ------------------------------------------------------------ kinds of values

// The kind of value a field holds by its description, and the words of the
// FIELD KIND attribute, which may only repeat it.
DataMgmt::FieldValue::Kind naturalKind(const DataMgmt::FormFieldDesc& field);
const char* kindWord(DataMgmt::FieldValue::Kind kind);
std::optional<DataMgmt::FieldValue::Kind> kindOfWord(const std::string& word);
// What a field takes, to end a message: "a ZIP code of five or nine digits",
// "an amount", "a date", "a text", "a box mark (X or NO)".
std::string whatTheFieldTakes(const DataMgmt::FormFieldDesc& field);

// Decimal places of a number held by the field: the edit code's for an
// amount field; none for a number held by a text or box field.
int amountPlaces(const DataMgmt::FormFieldDesc& field);

// "federal" or "Georgia".
const char* returnTypeWord(DataMgmt::TaxReturnType type);

// ------------------------------------------------------------ errors

// Throws the problems found, at most kMaxReportedProblems of them, one a
// line, as a QuarloException of class "ReturnFile" and the given operation.
[[noreturn]] void fail(const std::vector<std::string>& problems, const char* operation);

}  // namespace PersistanceMgmt::detail
