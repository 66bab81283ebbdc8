// The utility library's texts; its numbers and dates are in UtilsNumbers.cpp
// and UtilsDates.cpp.
#include "platform/util/Utils.h"

#include <algorithm>
#include <cstring>

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

bool keepName(char c) { return isAlpha(c) || isDigit(c) || c == '-' || c == '&'; }

}  // namespace

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
