// The utility library's numbers: rounding and number texts.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/util/Utils.h"
#include "platform/util/UtilsInternal.h"

namespace Utils {

using detail::clampWidth;
using detail::copyOut;
using detail::pad;

namespace {

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

// Longest decimal text of a 64-bit number, sign included.
constexpr std::size_t kMaxDigits = 20;

}  // namespace

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

}  // namespace Utils
