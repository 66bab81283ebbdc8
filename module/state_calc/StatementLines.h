// What the interest statement (state form 2) and the dividend statement
// (state form 3) share between their layout over all copies, the rows of one
// copy and the row-information texts: the line types, their texts and
// category codes, the shape of a copy, and a text cut that never splits a
// character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace StateCalculationMgmt::intdiv {

// Line types of a statement row, the last item of a row-information text.
enum LineType : int {
    kNoLine = 0,
    kPayerLine = 1,
    kRegularInterest = 2,
    kUSObligations = 3,
    kMuniBondsInState = 4,
    kMuniBondsOutOfState = 5,
    kRegularDividends = 6,
    kMuniFundInState = 7,
    kMuniFundOutOfState = 8,
    kRestrictedStock = 9,
};

inline constexpr int kFirstLineType = 1;
inline constexpr int kLastLineType = 9;

struct LineTypeRow {
    int lineType;
    const char* text;
    int categoryCode;
};

// Indexed by line type 0 to 9.
inline constexpr std::array<LineTypeRow, 10> kIntDivLineTypes{{
    {kNoLine, "", 0},
    {kPayerLine, "", 0},
    {kRegularInterest, "- Regular Interest", 1},
    {kUSObligations, "- U.S. Obligations", 2},
    {kMuniBondsInState, "- Muni Bonds - In State", 3},
    {kMuniBondsOutOfState, "- Muni Bonds - Out of State", 4},
    {kRegularDividends, "- Regular Dividends", 1},
    {kMuniFundInState, "- Muni Bond Fund - In State", 3},
    {kMuniFundOutOfState, "- Muni Bond Fund - Out of State", 4},
    {kRestrictedStock, "- Restricted Stock", 0},
}};

// Lines of one statement copy (row-information fields and display rows).
inline constexpr int kLinesPerCopy = 24;

// A row-information text is kept within 79 characters (80 with the
// terminating zero of the host's buffer) and read back as at most 80.
inline constexpr std::size_t kRowInfoMaxLength = 79;
inline constexpr std::size_t kRowInfoReadLength = 80;

// Which family of line types a statement uses.
enum StatementKind : int {
    kInterestKind = 0,
    kDividendKind = 1,
};

// The first `limit` bytes of text, shortened further so that a UTF-8
// character is never cut in two.
inline std::string cutText(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return std::string(text);
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
        --end;
    }
    return std::string(text.substr(0, end));
}

// A payer name as a row-information text holds it: every '|' becomes '/', so
// that no part of a name (a trailing '|', or "||" inside it) can be taken for
// a separator and cut the row's link to its source.
inline std::string rowInfoName(std::string_view name) {
    std::string out(name);
    for (char& ch : out) {
        if (ch == '|') {
            ch = '/';
        }
    }
    return out;
}

}  // namespace StateCalculationMgmt::intdiv
