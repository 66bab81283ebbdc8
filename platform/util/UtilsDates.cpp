// The utility library's dates: date texts, day numbers and today's date.
#include <ctime>

#include "platform/store/Descriptions.h"
#include "platform/util/Crt.h"
#include "platform/util/Utils.h"
#include "platform/util/UtilsInternal.h"

namespace Utils {

using detail::isDigit;
using detail::trimView;
using detail::view;

namespace {

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

bool validDate(std::int64_t month, std::int64_t day, std::int64_t year) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < kFirstDateYear || year > kLastDateYear || month < 1 || month > 12 || day < 1) {
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

bool parseDate(std::string_view text, int& year, int& month, int& day) {
    return readDateParts(text, year, month, day) && validDate(month, day, year);
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

std::int64_t dateToNumber(std::int64_t month, std::int64_t day, std::int64_t year) {
    if (!validDate(month, day, year)) {
        return 0;
    }
    return daysFromCivil(year, month, day) - daysFromCivil(kFirstDateYear, 1, 1) + 1;
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

}  // namespace Utils
