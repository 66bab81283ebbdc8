// The text an e-file may carry: printable ASCII. A letter written with a
// mark (é, Ñ, ø) becomes its plain letter (e, N, o), a ligature its letters
// (æ as ae, ß as ss); what has no plain letter (a no-break space, a
// byte-order mark, a line separator, any other character outside ASCII,
// a control character, bytes that are not UTF-8) cannot be carried.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Utils {

struct PlainText {
    // The text with each letter written plainly and each character that has
    // no plain form left out.
    std::string text;
    // The first character left out, as its code point ("U+00A0"); none when
    // every character was carried. Bytes that are not UTF-8 read as their
    // byte value.
    std::optional<char32_t> leftOut;
};

PlainText plainText(std::string_view utf8);

// "U+00A0"
std::string codePointName(char32_t c);

}  // namespace Utils
