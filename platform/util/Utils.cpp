#include "platform/util/Utils.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

#include "platform/store/Descriptions.h"
#include "platform/util/Crt.h"
#include "platform/util/UtilsInternal.h"

namespace Utils {

using detail::clampWidth;
using detail::copyOut;
using detail::isDigit;
using detail::isSpace;
using detail::pad;
using detail::trimView;
using detail::view;

namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(lower(a[i]));
        const auto cb = static_cast<unsigned char>(lower(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

// Half tolerance of roundR: binary noise around a decimal half.
constexpr double kHalfTolerance = 1e-7;

// Rounds a non-negative magnitude half up, with the tolerance. The slack of a
// few units in the last place keeps a value written as exactly 1e-7 below a
// half (5581.4999999) inside the tolerance despite its binary representation.
double roundMagnitude(double a) {
    const double whole = std::floor(a);
    const double frac = a - whole;
    const double slack = 8.0 * std::numeric_limits<double>::epsilon() * (a > 1.0 ? a : 1.0);
    return (0.5 - frac) <= kHalfTolerance + slack ? whole + 1.0 : whole;
}

// Days since 1970-01-01 of a proleptic Gregorian date (valid input only).
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool isLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr std::int64_t kFirstYear = 1900;
constexpr std::int64_t kLastYear = 9999;

bool validDate(std::int64_t month, std::int64_t day, std::int64_t year) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1) {
        return false;
    }
    const std::int64_t last = kDays[month - 1] + ((month == 2 && isLeap(year)) ? 1 : 0);
    return day <= last;
}

// Reads 1..maxDigits digits at pos; advances pos.
bool readNumber(std::string_view s, std::size_t& pos, std::size_t minDigits, std::size_t maxDigits, int& value) {
    std::size_t n = 0;
    int v = 0;
    while (pos + n < s.size() && isDigit(s[pos + n]) && n < maxDigits) {
        v = v * 10 + (s[pos + n] - '0');
        ++n;
    }
    if (n < minDigits || (pos + n < s.size() && isDigit(s[pos + n]))) {
        return false;
    }
    pos += n;
    value = v;
    return true;
}

}  // namespace

bool readDateParts(std::string_view text, int& year, int& month, int& day) {
    const std::string_view s = trimView(text, true, true);
    if (s.empty()) {
        return false;
    }
    int a = 0;
    int b = 0;
    int c = 0;
    std::size_t pos = 0;
    // YYYY-MM-DD
    if (s.size() >= 4 && isDigit(s[0]) && isDigit(s[1]) && isDigit(s[2]) && isDigit(s[3])) {
        if (!readNumber(s, pos, 4, 4, a) || pos >= s.size() || s[pos] != '-') {
            return false;
        }
        ++pos;
        if (!readNumber(s, pos, 1, 2, b) || pos >= s.size() || s[pos] != '-') {
            return false;
        }
        ++pos;
        if (!readNumber(s, pos, 1, 2, c) || pos != s.size()) {
            return false;
        }
        year = a;
        month = b;
        day = c;
        return true;
    }
    // MM/DD/YYYY or MM-DD-YYYY, one separator throughout.
    if (!readNumber(s, pos, 1, 2, a) || pos >= s.size() || (s[pos] != '/' && s[pos] != '-')) {
        return false;
    }
    const char sep = s[pos++];
    if (!readNumber(s, pos, 1, 2, b) || pos >= s.size() || s[pos] != sep) {
        return false;
    }
    ++pos;
    if (!readNumber(s, pos, 4, 4, c) || pos != s.size()) {
        return false;
    }
    month = a;
    day = b;
    year = c;
    return true;
}

namespace {

bool parseDate(std::string_view text, int& year, int& month, int& day) {
    return readDateParts(text, year, month, day) && validDate(month, day, year);
}

// Keeps the characters that keep() accepts; white space becomes a blank;
// then blank runs shrink to one and the ends are trimmed.
template <class Keep>
std::string cleanText(std::string_view in, Keep keep) {
    std::string out;
    out.reserve(in.size());
    bool pendingBlank = false;
    for (char c : in) {
        if (isSpace(c)) {
            pendingBlank = true;
            continue;
        }
        if (!keep(c)) {
            continue;
        }
        if (pendingBlank && !out.empty()) {
            out.push_back(' ');
        }
        pendingBlank = false;
        out.push_back(c);
    }
    return out;
}

bool keepAddress(char c) { return isAlpha(c) || isDigit(c) || c == '-' || c == '/'; }

bool keepName(char c) { return isAlpha(c) || c == '-' || c == '&'; }

// Longest decimal text of a 64-bit number, sign included.
constexpr std::size_t kMaxDigits = 20;

}  // namespace

// ---------------------------------------------------------------- numbers

std::int64_t roundR(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = roundReal(value);
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double kLimit = 9223372036854775808.0;
    if (r >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (r < -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(r);
}

double roundReal(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    // From 2^52 on every double is a whole number.
    if (std::fabs(value) >= 4503599627370496.0) {
        return value;
    }
    const double r = roundMagnitude(std::fabs(value));
    return value < 0 ? -r : r;
}

short countLines(double regular, double usObligations, double /*inStateMunicipal*/, double /*outOfStateMunicipal*/,
                 double municipalTotal) {
    short lines = 1;
    // The regular line is written when the regular amount is not 0, or when
    // the three amounts add up to 0; all three 0 is a payer with nothing to
    // list, which stays at 1.
    const bool allZero = regular == 0 && usObligations == 0 && municipalTotal == 0;
    if (regular != 0 || (!allZero && regular + usObligations + municipalTotal == 0)) {
        ++lines;
    }
    if (usObligations != 0) {
        ++lines;
    }
    if (municipalTotal != 0) {
        lines += 2;
    }
    return lines;
}

std::string nStr(double value) {
    const double r = std::round(value);
    const bool whole = std::isfinite(value) && std::fabs(value - r) < 1e-9;
    // Whole: no decimals, and no "-0".
    const double shown = whole ? (r == 0 ? 0.0 : r) : value;
    const char* format = whole ? "%.0f" : "%.2f";
    // Sized by a first call: a huge value has hundreds of digits.
    const int n = std::snprintf(nullptr, 0, format, shown);
    if (n <= 0) {
        return std::string();
    }
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, shown);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

void nStr(char* out, std::size_t cap, double value) { copyOut(out, cap, nStr(value)); }

std::string xstr(std::int64_t n, int minWidth) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(n));
    return pad(buf, minWidth, true);
}

void xstr(char* out, std::size_t cap, std::int64_t n, int minWidth) {
    copyOut(out, cap, xstr(n, clampWidth(minWidth, cap, kMaxDigits)));
}

std::string xstrPadLeftZeros(std::int64_t n, int width) {
    // The number's own text at most 20 characters plus sign; the width is
    // applied here rather than by printf so that no width can overflow.
    // (to_chars: the calculation writes dates and scan lines with this, and
    // a formatted print costs ten times as much.)
    char buf[32];
    const char* end = std::to_chars(buf, buf + sizeof buf, n).ptr;
    const bool negative = n < 0;
    const std::string_view digits(buf + (negative ? 1 : 0), static_cast<std::size_t>(end - buf) - (negative ? 1 : 0));
    const std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
    const std::size_t used = digits.size() + (negative ? 1 : 0);
    std::string out = negative ? "-" : "";
    if (used < w) {
        out.append(w - used, '0');
    }
    out += digits;
    return out;
}

void xstrPadLeftZeros(char* out, std::size_t cap, std::int64_t n, int width) {
    copyOut(out, cap, xstrPadLeftZeros(n, clampWidth(width, cap, kMaxDigits)));
}

// ------------------------------------------------------------------ dates

std::int64_t dateToNumber(std::int64_t month, std::int64_t day, std::int64_t year) {
    if (!validDate(month, day, year)) {
        return 0;
    }
    return daysFromCivil(year, month, day) - daysFromCivil(kFirstYear, 1, 1) + 1;
}

std::int64_t strDateToNumber(std::string_view text) {
    int y = 0;
    int m = 0;
    int d = 0;
    if (!parseDate(text, y, m, d)) {
        return 0;
    }
    return dateToNumber(m, d, y);
}

std::int64_t strDateToNumber(const char* text) { return strDateToNumber(view(text)); }

bool convertDateStr(std::string_view text, std::uint16_t& year, std::uint8_t& month, std::uint8_t& day) {
    int y = 0;
    int m = 0;
    int d = 0;
    if (!parseDate(text, y, m, d)) {
        return false;
    }
    year = static_cast<std::uint16_t>(y);
    month = static_cast<std::uint8_t>(m);
    day = static_cast<std::uint8_t>(d);
    return true;
}

bool convertDateStr(const char* text, std::uint16_t& year, std::uint8_t& month, std::uint8_t& day) {
    return convertDateStr(view(text), year, month, day);
}

void getCurrentDate(int& year, int& month, int& day, int& spare, bool /*flag*/) {
    std::tm tm{};
    if (!crt::gmtime(crt::now(), tm)) {
        year = 0;
        month = 0;
        day = 0;
        spare = 0;
        return;
    }
    year = tm.tm_year + 1900;
    month = tm.tm_mon + 1;
    day = tm.tm_mday;
    spare = tm.tm_wday;
}

bool isDateCode(std::uint8_t editCode) { return editCode == Validation::kDateEditCode; }

// ------------------------------------------------------------------- text

std::string strip(std::string_view src) { return std::string(trimView(src, true, true)); }

std::string_view stripView(std::string_view src) { return trimView(src, true, true); }

char* strip(char* dest, std::size_t cap, const char* src) {
    const std::string s = strip(view(src));
    copyOut(dest, cap, s);
    return dest;
}

void setUpCase(std::string& text) {
    for (char& c : text) {
        c = upper(c);
    }
}

void setUpCase(char* text) {
    if (text == nullptr) {
        return;
    }
    for (char* p = text; *p != '\0'; ++p) {
        *p = upper(*p);
    }
}

std::string removeChars(std::string_view in, char ch) {
    std::string out;
    out.reserve(in.size());
    for (char c : in) {
        if (c != ch) {
            out.push_back(c);
        }
    }
    return out;
}

void removeChars(char* out, std::size_t cap, const char* in, char ch) { copyOut(out, cap, removeChars(view(in), ch)); }

std::string removeBlanks(std::string_view src, bool trimOnly, bool includeTabs) {
    auto blank = [includeTabs](char c) { return c == ' ' || (includeTabs && c == '\t'); };
    if (trimOnly) {
        std::size_t b = 0;
        std::size_t e = src.size();
        while (b < e && blank(src[b])) {
            ++b;
        }
        while (e > b && blank(src[e - 1])) {
            --e;
        }
        return std::string(src.substr(b, e - b));
    }
    std::string out;
    out.reserve(src.size());
    for (char c : src) {
        if (!blank(c)) {
            out.push_back(c);
        }
    }
    return out;
}

void removeBlanks(char* dst, std::size_t cap, const char* src, bool trimOnly, bool includeTabs) {
    copyOut(dst, cap, removeBlanks(view(src), trimOnly, includeTabs));
}

std::string padStr(std::string_view text, int width) { return pad(text, width, false); }

void padStr(char* out, std::size_t cap, const char* text, int width) {
    copyOut(out, cap, padStr(view(text), clampWidth(width, cap, view(text).size())));
}

std::string padStrLeft(std::string_view text, int width) { return pad(text, width, true); }

void padStrLeft(char* out, std::size_t cap, const char* text, int width) {
    copyOut(out, cap, padStrLeft(view(text), clampWidth(width, cap, view(text).size())));
}

std::string strsub(std::string_view text, int start1, int len) {
    const std::size_t start = start1 > 1 ? static_cast<std::size_t>(start1) - 1 : 0;
    if (start >= text.size() || len == 0) {
        return std::string();
    }
    const std::size_t n = len < 0 ? std::string_view::npos : static_cast<std::size_t>(len);
    return std::string(text.substr(start, n));
}

void strsub(char* out, std::size_t cap, const char* text, int start1, int len) {
    copyOut(out, cap, strsub(view(text), start1, len));
}

std::string readNextWord(std::string& text) {
    std::size_t b = 0;
    while (b < text.size() && isSpace(text[b])) {
        ++b;
    }
    std::size_t e = b;
    while (e < text.size() && !isSpace(text[e])) {
        ++e;
    }
    std::string word = text.substr(b, e - b);
    while (e < text.size() && isSpace(text[e])) {
        ++e;
    }
    text.erase(0, e);
    return word;
}

void readNextWord(char* word, std::size_t cap, char* text) {
    if (text == nullptr) {
        copyOut(word, cap, std::string_view());
        return;
    }
    std::string rest = text;
    const std::string w = readNextWord(rest);
    // The rest is never longer than the text it came from.
    std::memmove(text, rest.c_str(), rest.size() + 1);
    copyOut(word, cap, w);
}

std::string buildNameS(std::string_view first, std::string_view middle, std::string_view last, std::string_view suffix,
                       DISPLAY_NAME /*display*/) {
    std::string out;
    for (std::string_view part : {first, middle, last, suffix}) {
        const std::string_view p = trimView(part, true, true);
        if (p.empty()) {
            continue;
        }
        if (!out.empty()) {
            out.push_back(' ');
        }
        out.append(p);
    }
    return out;
}

char* buildNameS(char* dest, std::size_t cap, const char* first, const char* middle, const char* last,
                 const char* suffix, DISPLAY_NAME display) {
    copyOut(dest, cap, buildNameS(view(first), view(middle), view(last), view(suffix), display));
    return dest;
}

int strcmpiXC(const char* a, const char* b) { return compareNoCase(view(a), view(b)); }

void tifCleanAddressString(std::string& text) { text = cleanText(text, keepAddress); }

void tifCleanAddressString(char* text) {
    if (text == nullptr) {
        return;
    }
    const std::string s = cleanText(text, keepAddress);
    std::memcpy(text, s.c_str(), s.size() + 1);
}

void tifCleanNameString(std::string& text) { text = cleanText(text, keepName); }

void tifCleanNameString(char* text) {
    if (text == nullptr) {
        return;
    }
    const std::string s = cleanText(text, keepName);
    std::memcpy(text, s.c_str(), s.size() + 1);
}

namespace QVStringUtils {

int stricmp(std::string_view a, std::string_view b) { return compareNoCase(a, b); }

int stricmp(const char* a, const char* b) { return compareNoCase(view(a), view(b)); }

void toUpperCase(char* text) { setUpCase(text); }

void toUpperCase(std::string& text) { setUpCase(text); }

std::string upperCased(std::string_view text) {
    std::string out(text);
    setUpCase(out);
    return out;
}

Primitives::StringPtr trimString(const std::string& text, bool leading, bool trailing) {
    return Primitives::StringPtr(new std::string(trimView(text, leading, trailing)));
}

void removeAllInstanceOf(std::string& text, char ch) { text = removeChars(text, ch); }

std::string escapeForMessage(std::string_view text, std::size_t shown) {
    std::size_t end = std::min(text.size(), shown);
    // Back off to the first byte of a UTF-8 character.
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    std::string out;
    out.reserve(end + 8);
    for (std::size_t i = 0; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    static const char kHex[] = "0123456789ABCDEF";
                    out += "\\x";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    if (end < text.size()) out += "...";
    return out;
}

}  // namespace QVStringUtils

}  // namespace Utils
