// The host's utility library: rounding, day numbers, and the small text
// helpers that the calculation, review, print and e-file code share.
//
// Buffers: every function that writes a caller's char buffer takes the
// buffer's capacity in bytes (terminating zero included) right after the
// buffer. Nothing is ever written past the capacity; a result that does not
// fit is cut short, and the buffer is always zero-terminated when the
// capacity is above 0. Output and input may be the same buffer. A null input
// text reads as "". Each such function also has a std::string form.
//
// Dates: a date text is read in one of the forms MM/DD/YYYY, MM-DD-YYYY or
// YYYY-MM-DD (month and day of one or two digits, a four-digit year, blanks
// around the text ignored). Valid years run from 1900 to 9999. Day numbers
// count civil days with 1 January 1900 as day 1, so a later date has a larger
// number and consecutive days differ by 1; an invalid or empty date gives 0.
//
// The string pool and the marks on a form copy (setDefaultX,
// handleFilingChoice, maybeSetValue) live in StringPool.h and UtilsMarks.h,
// the numbering of the common federal items (PCTypes) in CommonItems.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "platform/CommonItems.h"
#include "platform/Primitives.h"

namespace Utils {

// How a name is displayed; a pass-through number (see buildNameS).
enum DISPLAY_NAME : std::int32_t {};

// Which part of a date dateParse returns.
enum DATEPARSE_TYPE : std::int32_t {
    kDateParseYear = 0,
    kDateParseMonth = 1,
    kDateParseDay = 2,
};

// ---------------------------------------------------------------- numbers

// Nearest whole number; halves go away from zero (2.5 -> 3, -2.5 -> -3). A
// value within 1e-7 of a half counts as that half, so 5581.4999999 (binary
// noise of 5581.5) rounds to 5582. NaN gives 0; values outside the 64-bit
// range saturate.
std::int64_t roundR(double value);

// The same rule, returned as a double (no range limit).
double roundReal(double value);

// Whole-number sum and negation that stay at the end of the 64-bit range
// instead of overflowing: a stored amount beyond the range reads (roundR) as
// the range's end, and sums and signs of such amounts go no further.
inline std::int64_t addSaturated(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    }
    return sum;
}
inline std::int64_t negateSaturated(std::int64_t a) {
    return a == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : -a;
}

// Statement lines a payer needs on the interest or dividend statement: the
// payer line, a regular line when the regular amount is not 0 (or when the
// amounts are not all 0 but add up to 0, which still writes a regular
// line), one U.S.-obligations line when that amount is not 0, and two
// municipal lines (in state, out of state) when the municipal total is not
// zero; the in-state and out-of-state parts are not consulted.
short countLines(double regular, double usObligations, double inStateMunicipal, double outOfStateMunicipal,
                 double municipalTotal);

// Plain number text: a whole value without decimals ("12", "-3"), any other
// value with two decimals ("12.50"); no digit grouping.
void nStr(char* out, std::size_t cap, double value);
std::string nStr(double value);

// Decimal text of n, padded with blanks on the left to minWidth (0: no
// padding).
void xstr(char* out, std::size_t cap, std::int64_t n, int minWidth);
std::string xstr(std::int64_t n, int minWidth = 0);

// Decimal text of n, padded with zeros on the left to width ("00007" for 7
// at width 5; "-0007" for -7). A longer number is written whole.
void xstrPadLeftZeros(char* out, std::size_t cap, std::int64_t n, int width);
std::string xstrPadLeftZeros(std::int64_t n, int width);

// ------------------------------------------------------------------ dates

// The years a date may have; day 1 is 01/01 of the first.
inline constexpr int kFirstDateYear = 1900;
inline constexpr int kLastDateYear = 9999;

// Day number of month/day/year; 0 for an invalid date (month 0, day 31 of a
// 30-day month, 29 February of a common year, a year before 1900, ...).
std::int64_t dateToNumber(std::int64_t month, std::int64_t day, std::int64_t year);

// Day number of a date text; 0 when the text is not a valid date.
std::int64_t strDateToNumber(const char* text);
std::int64_t strDateToNumber(std::string_view text);

// The numbers of a text written in one of the date forms, whether or not
// they make a valid date (02/30/2018, 01/01/1850); false for another text.
bool readDateParts(std::string_view text, int& year, int& month, int& day);

// Reads a date text into year, month and day. On failure returns false and
// leaves all three outputs as they were.
bool convertDateStr(const char* text, std::uint16_t& year, std::uint8_t& month, std::uint8_t& day);
bool convertDateStr(std::string_view text, std::uint16_t& year, std::uint8_t& month, std::uint8_t& day);

// Today's date from the host clock (crt::now(), a UTC clock that tests and
// the command-line host can set). spare receives the day of the week
// (0 = Sunday). The flag is accepted for the host's call shape and not used.
void getCurrentDate(int& year, int& month, int& day, int& spare, bool flag = false);

// True for the date edit code of the form descriptions
// (Validation::kDateEditCode).
bool isDateCode(std::uint8_t editCode);

// ------------------------------------------------------------------- text

// Copies src without its leading and trailing white space (blanks, tabs and
// line ends) and returns dest.
char* strip(char* dest, std::size_t cap, const char* src);
std::string strip(std::string_view src);
// The same without a copy: the part of src between that white space.
std::string_view stripView(std::string_view src);

// ASCII upper case in place.
void setUpCase(char* text);
void setUpCase(std::string& text);

// Copies in without any occurrence of ch.
void removeChars(char* out, std::size_t cap, const char* in, char ch);
std::string removeChars(std::string_view in, char ch);

// Copies src without blanks. With trimOnly, only the blanks at both ends go;
// otherwise every blank goes. With includeTabs, tabs count as blanks. The
// print layer calls (false, true): every blank and tab is removed.
void removeBlanks(char* dst, std::size_t cap, const char* src, bool trimOnly, bool includeTabs);
std::string removeBlanks(std::string_view src, bool trimOnly, bool includeTabs);

// Copies text padded with blanks on the right (padStr) or on the left
// (padStrLeft) up to width characters. A longer text is never shortened
// (beyond the buffer's capacity).
void padStr(char* out, std::size_t cap, const char* text, int width);
std::string padStr(std::string_view text, int width);
void padStrLeft(char* out, std::size_t cap, const char* text, int width);
std::string padStrLeft(std::string_view text, int width);

// Copies len characters of text from the 1-based position start1 (a start
// below 1 counts as 1; a negative len takes the rest; a start past the end
// gives "").
void strsub(char* out, std::size_t cap, const char* text, int start1, int len);
std::string strsub(std::string_view text, int start1, int len);

// Takes the next blank-separated word off the front of text: word receives
// it (cut at the capacity), and text loses the blanks before it, the word
// and the blanks after it. An empty or all-blank text gives an empty word.
void readNextWord(char* word, std::size_t cap, char* text);
std::string readNextWord(std::string& text);

// Joins the non-empty parts (each stripped) in the order first, middle,
// last, suffix with single blanks and returns dest. The display value is
// accepted for the host's call shape: every display value gives this form.
char* buildNameS(char* dest, std::size_t cap, const char* first, const char* middle, const char* last,
                 const char* suffix, DISPLAY_NAME display);
std::string buildNameS(std::string_view first, std::string_view middle, std::string_view last, std::string_view suffix,
                       DISPLAY_NAME display = DISPLAY_NAME{});

// ASCII case-insensitive comparison: <0, 0 or >0 like strcmp.
int strcmpiXC(const char* a, const char* b);

// E-file cleaning in place. Address: keeps ASCII letters, digits, blanks,
// '-' and '/'. Name: keeps ASCII letters, digits, blanks, '-' and '&'
// ("4th" stays 4th, O'Brien becomes OBrien). Every other
// character goes (".", "#", ",", "'", control characters, non-ASCII bytes);
// tabs and line ends become blanks; runs of blanks then shrink to one and
// blanks at both ends go, so that a dropped character leaves no double
// blank. Neither cleaning makes a text longer.
void tifCleanAddressString(char* text);
void tifCleanAddressString(std::string& text);
void tifCleanNameString(char* text);
void tifCleanNameString(std::string& text);

namespace QVStringUtils {

// ASCII case-insensitive comparison, locale-independent: <0, 0 or >0.
int stricmp(const char* a, const char* b);
int stricmp(std::string_view a, std::string_view b);

// ASCII upper case in place, or a copy in ASCII upper case; letters outside
// ASCII are left as they are, whatever the locale.
void toUpperCase(char* text);
void toUpperCase(std::string& text);
std::string upperCased(std::string_view text);

// A new text without leading (leading) and trailing (trailing) white space.
Primitives::StringPtr trimString(const std::string& text, bool leading, bool trailing);

// Removes every occurrence of ch.
void removeAllInstanceOf(std::string& text, char ch);

// The text as a message may show it, so that input can neither forge lines
// nor flood the terminal: control characters written as \n, \r, \t or
// \xNN, and a text longer than `shown` bytes cut (never inside a UTF-8
// character) and followed by "...".
std::string escapeForMessage(std::string_view text, std::size_t shown = 40);

}  // namespace QVStringUtils

}  // namespace Utils
