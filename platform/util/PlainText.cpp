#include "platform/util/PlainText.h"

#include <cstdio>

namespace Utils {

namespace {

// The plain letters of U+00C0 to U+017F, one entry each, in code-point
// order; "" where the character has no plain letter (×, ÷).
constexpr const char* kLatinLetters[] = {
    // U+00C0 to U+00FF
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",  //
    "D", "N", "O", "O", "O", "O", "O", "", "O", "U", "U", "U", "U", "Y", "TH", "ss",  //
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  //
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",   //
    // U+0100 to U+017F (Latin Extended-A)
    "A", "a", "A", "a", "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",    //
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",    //
    "G", "g", "G", "g", "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",    //
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",  //
    "l", "L", "l", "N", "n", "N", "n", "N", "n", "n", "N", "n", "O", "o", "O", "o",    //
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",  //
    "S", "s", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",    //
    "U", "u", "U", "u", "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s",    //
};
constexpr char32_t kFirstLatinLetter = 0xC0;
constexpr char32_t kLastLatinLetter = 0x17F;

// The code point that starts at `at` and the number of bytes it takes; a
// byte that does not start a well-formed sequence reads as itself, one byte.
std::pair<char32_t, std::size_t> decode(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char first = byte(at);
    std::size_t length = 0;
    char32_t c = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        c = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        c = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        c = first & 0x07;
    } else {
        return {first, 1};
    }
    if (at + length > s.size()) return {first, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return {first, 1};
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms and surrogates are not UTF-8.
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return {first, 1};
    return {c, length};
}

}  // namespace

PlainText plainText(std::string_view utf8) {
    PlainText out;
    out.text.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto [c, length] = decode(utf8, at);
        const bool multiByte = length > 1;
        at += length;
        if (!multiByte && c >= 0x20 && c < 0x7F) {
            out.text += static_cast<char>(c);
            continue;
        }
        const char* letters =
            multiByte && c >= kFirstLatinLetter && c <= kLastLatinLetter ? kLatinLetters[c - kFirstLatinLetter] : "";
        if (*letters != '\0') {
            out.text += letters;
        } else if (!out.leftOut) {
            out.leftOut = c;
        }
    }
    return out;
}

std::string codePointName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

}  // namespace Utils
