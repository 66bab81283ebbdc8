// Text helpers of the return file, and amounts as text.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

using DataMgmt::FieldValue;

namespace detail {

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string showText(const std::string& s) { return "\"" + Utils::QVStringUtils::escapeForMessage(s) + "\""; }

bool parseBox(const std::string& text, bool& out) {
    const std::string t = Utils::QVStringUtils::upperCased(trim(text));
    if (t == "X") {
        out = true;
        return true;
    }
    if (t == "NO") {
        out = false;
        return true;
    }
    return false;
}

std::string xmlTextProblem(const std::string& s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        std::uint32_t cp = 0;
        std::size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            len = 0;
        }
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = (cp << 6) | (p[i + k] & 0x3F);
            }
        }
        // Overlong forms and surrogates are not UTF-8.
        if (ok && ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
                   (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)) {
            ok = false;
        }
        if (!ok) {
            char buf[80];
            std::snprintf(buf, sizeof buf, "is not valid UTF-8 (byte 0x%02X at offset %zu)", c, i);
            return buf;
        }
        const bool allowed = cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
                             (cp >= 0xE000 && cp <= 0xFFFD) || cp >= 0x10000;
        if (!allowed) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "holds a character that XML cannot carry (U+%04X at offset %zu)",
                          static_cast<unsigned>(cp), i);
            return buf;
        }
        i += len;
    }
    return std::string();
}

std::string controlCharacterProblem(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto byte = static_cast<unsigned char>(s[i]);
        unsigned cp = byte;
        if (byte == 0xC2 && i + 1 < s.size()) {
            // U+0080 to U+00BF: the byte 0xC2, then the code point's own.
            cp = static_cast<unsigned char>(s[i + 1]);
            if (cp < 0x80 || cp > 0x9F) continue;
        } else if (byte == 0xE2 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(s[i + 2]) | 1) == 0xA9) {
            // U+2028 and U+2029, the line and paragraph separators.
            cp = 0x2000 + static_cast<unsigned char>(s[i + 2]) - 0x80;
        } else if (byte >= 0x20 && byte != 0x7F) {
            continue;
        }
        const bool lineBreak = cp == 0x0A || cp == 0x0B || cp == 0x0C || cp == 0x0D || cp == 0x85 || cp >= 0x2028;
        char where[48];
        std::snprintf(where, sizeof where, " (U+%04X at offset %zu)", cp, i);
        return std::string(lineBreak ? "holds a line break" : "holds a control character") + where +
               ": a value is one line, without control characters";
    }
    return std::string();
}

std::string errnoText(int e) { return std::strerror(e); }

std::string fieldListHint(const DataMgmt::TaxFormDesc& form) {
    return " (gahost fields " + form.getDevName() + " lists its fields)";
}

std::string dateProblem(const std::string& text, DataMgmt::FieldDomain domain) {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(std::string_view(text), year, month, day)) {
        int y = 0;
        int m = 0;
        int d = 0;
        if (Utils::readDateParts(text, y, m, d) && y < Utils::kFirstDateYear) {
            return "is before " + std::to_string(Utils::kFirstDateYear) + " (dates run from 01/01/" +
                   std::to_string(Utils::kFirstDateYear) + ")";
        }
        return "is not a calendar date written MM/DD/YYYY, MM-DD-YYYY or YYYY-MM-DD";
    }
    const std::string taxYear = std::to_string(kTaxYear);
    if (domain == DataMgmt::FieldDomain::InTaxYear && year != kTaxYear) {
        return "is not in " + taxYear + " (the field takes a date of the tax year)";
    }
    if (domain == DataMgmt::FieldDomain::NotAfterTaxYear && year > kTaxYear) {
        return "is after the tax year " + taxYear + " (the field takes a date up to 12/31/" + taxYear + ")";
    }
    // The tax year's payments: its estimated payments, the last of them due
    // in January, and what is paid up to the return's April.
    if (domain == DataMgmt::FieldDomain::InPaymentPeriod &&
        (year < kTaxYear || year > kTaxYear + 1 || (year == kTaxYear + 1 && month > kLastPaymentMonth))) {
        return "is outside the payments of the tax year " + taxYear + " (the field takes a date from 01/01/" + taxYear +
               " to 04/30/" + std::to_string(kTaxYear + 1) + ")";
    }
    return std::string();
}

FieldValue::Kind naturalKind(const DataMgmt::FormFieldDesc& field) {
    if (field.isText()) return FieldValue::Kind::Text;
    if (field.isBoolean()) return FieldValue::Kind::Box;
    return FieldValue::Kind::Number;
}

const char* kindWord(FieldValue::Kind kind) {
    switch (kind) {
        case FieldValue::Kind::Text:
            return "text";
        case FieldValue::Kind::Box:
            return "box";
        default:
            return "amount";
    }
}

std::optional<FieldValue::Kind> kindOfWord(const std::string& word) {
    const std::string w = Utils::QVStringUtils::upperCased(trim(word));
    for (FieldValue::Kind k : {FieldValue::Kind::Number, FieldValue::Kind::Text, FieldValue::Kind::Box}) {
        if (w == Utils::QVStringUtils::upperCased(kindWord(k))) return k;
    }
    return std::nullopt;
}

std::string whatTheFieldTakes(const DataMgmt::FormFieldDesc& field) {
    if (const std::string takes = DataMgmt::fieldTakes(field); !takes.empty()) return takes;
    if (field.isBoolean()) return "a box mark (X or NO)";
    if (field.isDate()) return "a date";
    return field.isText() ? "a text" : "an amount";
}

int amountPlaces(const DataMgmt::FormFieldDesc& field) {
    return naturalKind(field) == FieldValue::Kind::Number
               ? DataMgmt::editCodeDecimalPlaces(field.getValidator()->getEditCode())
               : 0;
}

const char* returnTypeWord(DataMgmt::TaxReturnType type) {
    return type == DataMgmt::kFederalReturnType ? "federal" : "Georgia";
}

[[noreturn]] void fail(const std::vector<std::string>& problems, const char* operation) {
    std::string message;
    const std::size_t shown = std::min(problems.size(), kMaxReportedProblems);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) message += "\n";
        message += problems[i];
    }
    if (problems.size() > shown) {
        message += "\n... and " + std::to_string(problems.size() - shown) + " more problems";
    }
    throw Exceptions::QuarloException(message, "ReturnFile", operation);
}

}  // namespace detail

// ------------------------------------------------------------ amounts as text

bool parseAmount(const std::string& text, int places, double& out) {
    const std::string t = detail::trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    std::string whole;
    std::string fraction;
    bool grouped = false;
    std::size_t groupLength = 0;
    for (; i < t.size() && (std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == ','); ++i) {
        if (t[i] == ',') {
            // Thousands separators: 1 to 3 digits first, then groups of 3.
            if (whole.empty() || (grouped ? groupLength != 3 : groupLength > 3)) return false;
            grouped = true;
            groupLength = 0;
            continue;
        }
        whole += t[i];
        ++groupLength;
    }
    if (grouped && groupLength != 3) return false;
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) fraction += t[i];
    }
    if (i != t.size() || (whole.empty() && fraction.empty())) return false;

    // Shift the decimal point right by `places` digits.
    if (places > 0) {
        if (fraction.size() < static_cast<std::size_t>(places)) fraction.append(places - fraction.size(), '0');
        whole += fraction.substr(0, places);
        fraction.erase(0, places);
    }
    std::string digits = (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction);
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(v)) return false;
    out = negative ? -v : v;
    return true;
}

}  // namespace PersistanceMgmt
