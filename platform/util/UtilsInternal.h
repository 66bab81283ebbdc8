// Small text helpers shared by the utility library's source files
// (platform/util/Utils*.cpp); not for use outside them.
#pragma once

#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace Utils::detail {

// Copies text into a caller's buffer of cap bytes: cut at cap - 1 characters
// and zero-terminated. memmove, because the text may come from the buffer.
inline void copyOut(char* out, std::size_t cap, std::string_view text) {
    if (out == nullptr || cap == 0) {
        return;
    }
    const std::size_t n = text.size() < cap - 1 ? text.size() : cap - 1;
    if (n > 0) {
        std::memmove(out, text.data(), n);
    }
    out[n] = '\0';
}

inline std::string_view view(const char* text) { return text == nullptr ? std::string_view() : std::string_view(text); }

inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline std::string_view trimView(std::string_view s, bool leading, bool trailing) {
    std::size_t b = 0;
    std::size_t e = s.size();
    if (leading) {
        while (b < e && isSpace(s[b])) {
            ++b;
        }
    }
    if (trailing) {
        while (e > b && isSpace(s[e - 1])) {
            --e;
        }
    }
    return s.substr(b, e - b);
}

// A padded text written into a buffer of cap bytes shows the same first
// cap - 1 characters for every width beyond cap + the text's length, so the
// width is clamped there: a wild width never builds a huge text only to cut it.
inline int clampWidth(int width, std::size_t cap, std::size_t textLength) {
    const std::size_t limit = cap > std::numeric_limits<std::size_t>::max() - textLength
                                  ? std::numeric_limits<std::size_t>::max()
                                  : cap + textLength;
    return width > 0 && static_cast<std::size_t>(width) > limit ? static_cast<int>(limit) : width;
}

inline std::string pad(std::string_view text, int width, bool left) {
    std::string out;
    const std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (text.size() >= w) {
        out.assign(text);
        return out;
    }
    if (left) {
        out.assign(w - text.size(), ' ');
        out.append(text);
    } else {
        out.assign(text);
        out.append(w - text.size(), ' ');
    }
    return out;
}

}  // namespace Utils::detail
