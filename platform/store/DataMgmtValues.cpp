// Field values: the value type, reading a value as a number, rendering it as
// text, the kind-mismatch counter and the bounded buffer copy.
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/store/DataMgmt.h"
#include "platform/store/DataMgmtInternal.h"
#include "platform/util/Utils.h"

namespace DataMgmt {

// ---------------------------------------------------------------- FieldValue

FieldValue FieldValue::number(double v) {
    if (!std::isfinite(v)) {
        throw Exceptions::QuarloException("an amount must be a finite number", "FieldValue", "number");
    }
    FieldValue out;
    out.v_.emplace<1>(v + 0.0);  // + 0.0 turns -0 into 0
    return out;
}

FieldValue FieldValue::text(std::string t) {
    FieldValue out;
    if (!t.empty()) {
        out.v_.emplace<2>(std::move(t));
    }
    return out;
}

FieldValue FieldValue::box(bool yes) {
    FieldValue out;
    out.v_.emplace<3>(Box{yes});
    return out;
}

const std::string& FieldValue::emptyText() {
    static const std::string empty;
    return empty;
}

// ---------------------------------------------------------------- slots

namespace detail {

const std::string& Slot::emptyText() {
    static const std::string empty;
    return empty;
}

void Slot::takeFrom(Slot& other) noexcept {
    kind_ = other.kind_;
    switch (kind_) {
        case FieldValue::Kind::Text:
            text_ = other.text_;
            other.kind_ = FieldValue::Kind::Null;  // the text is this slot's now
            break;
        case FieldValue::Kind::Box:
            yes_ = other.yes_;
            break;
        case FieldValue::Kind::Number:
            number_ = other.number_;
            break;
        case FieldValue::Kind::Null:
            number_ = 0.0;
            break;
    }
    overridden = other.overridden;
    tentative = other.tentative;
    noEntry = other.noEntry;
    protectedField = other.protectedField;
    calculated = other.calculated;
}

FieldValue Slot::value() const {
    switch (kind_) {
        case FieldValue::Kind::Number:
            return FieldValue::number(number_);
        case FieldValue::Kind::Text:
            return FieldValue::text(*text_);
        case FieldValue::Kind::Box:
            return FieldValue::box(yes_);
        case FieldValue::Kind::Null:
            break;
    }
    return FieldValue();
}

bool Slot::holds(const FieldValue& value) const {
    if (value.kind() != kind_) {
        return false;
    }
    switch (kind_) {
        case FieldValue::Kind::Number:
            return number_ == value.getNumber();
        case FieldValue::Kind::Text:
            return *text_ == value.getText();
        case FieldValue::Kind::Box:
            return yes_ == value.boxYes();
        case FieldValue::Kind::Null:
            break;
    }
    return true;
}

void Slot::set(const FieldValue& value) {
    switch (value.kind()) {
        case FieldValue::Kind::Number:
            setNumber(value.getNumber());
            return;
        case FieldValue::Kind::Text:
            setText(value.getText());
            return;
        case FieldValue::Kind::Box:
            setBox(value.boxYes());
            return;
        case FieldValue::Kind::Null:
            break;
    }
    setNull();
}

void Slot::setText(std::string_view text) {
    if (text.empty()) {
        setNull();
    } else if (kind_ == FieldValue::Kind::Text) {
        text_->assign(text);  // the text already kept is reused
    } else {
        std::string* kept = new std::string(text);  // may fail: the slot is unchanged
        dropText();
        text_ = kept;
        kind_ = FieldValue::Kind::Text;
    }
}

}  // namespace detail

// ---------------------------------------------------------------- edit codes

int editCodeDecimalPlaces(std::uint8_t editCode) {
    switch (editCode) {
        case 'F':
        case 170:
        case 172:
        case 'H':
        case 'M':
            return 2;
        case 'G':
            return 1;
        case 'I':
            return 3;
        case 'J':
        case 'N':
        case 'O':
            return 4;
        case 'K':
            return 5;
        case 'L':
            return 6;
        default:
            return 0;
    }
}

double displayAmount(double stored, std::uint8_t editCode) {
    static constexpr double kPowersOfTen[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    return stored / kPowersOfTen[editCodeDecimalPlaces(editCode)];
}

std::string formatDisplayAmount(double stored, int places) {
    if (!std::isfinite(stored)) {
        return std::string();
    }
    // The shortest decimal that reads back to the stored value, with its
    // point moved left by `places` digits on the text itself, so that the
    // shown amount times 10^places is exactly the stored number.
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, stored + 0.0, std::chars_format::fixed);
    if (ec != std::errc()) {
        return std::string();
    }
    std::string digits(buffer, end);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative) {
        digits.erase(0, 1);
    }
    std::string whole = digits;
    std::string fraction;
    const std::size_t point = digits.find('.');
    if (point != std::string::npos) {
        whole = digits.substr(0, point);
        fraction = digits.substr(point + 1);
    }
    if (places > 0) {
        const std::size_t shift = static_cast<std::size_t>(places);
        if (whole.size() <= shift) {
            whole.insert(0, shift + 1 - whole.size(), '0');
        }
        fraction = whole.substr(whole.size() - shift) + fraction;
        whole.erase(whole.size() - shift);
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    while (whole.size() > 1 && whole[0] == '0') {
        whole.erase(0, 1);
    }
    std::string out = whole;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    if (negative && out != "0") {
        out.insert(0, 1, '-');
    }
    return out;
}

// ---------------------------------------------------------------- kind check

namespace {

// How many times a thing happened, and a description of the last.
struct Tally {
    std::int64_t count = 0;
    std::string last;

    void record(const std::string& what) {
        ++count;
        last = what;
    }
};

Tally& kindMismatches() {
    static Tally m;
    return m;
}

Tally& roundedWrites() {
    static Tally r;
    return r;
}

}  // namespace

std::int64_t kindMismatchCount() { return kindMismatches().count; }
std::string lastKindMismatch() { return kindMismatches().last; }
void resetKindMismatchCount() { kindMismatches() = Tally{}; }

std::int64_t roundedWriteCount() { return roundedWrites().count; }
std::string lastRoundedWrite() { return roundedWrites().last; }
void resetRoundedWriteCount() { roundedWrites() = Tally{}; }

namespace detail {

void recordKindMismatch(const std::string& what) { kindMismatches().record(what); }
void recordRoundedWrite(const std::string& what) { roundedWrites().record(what); }

const char* kindName(FieldValue::Kind kind) {
    switch (kind) {
        case FieldValue::Kind::Null:
            return "null";
        case FieldValue::Kind::Number:
            return "an amount";
        case FieldValue::Kind::Text:
            return "a text";
        case FieldValue::Kind::Box:
            return "a box mark";
    }
    return "a value";
}

// The field's kind with its article, as a refused write and the kind-mismatch
// report of a box read name it.
const char* fieldKindName(const FieldTraits& desc) {
    if (desc.isBoolean()) {
        return "a check-box";
    }
    return desc.isText() ? "a text" : "an amount";
}

// ---------------------------------------------------------------- numbers

double leadingNumber(const std::string& text) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t')) {
        ++p;
    }
    if (p < end && *p == '+') {
        ++p;
    }
    double value = 0.0;
    auto [stop, ec] = std::from_chars(p, end, value, std::chars_format::fixed);
    (void)stop;
    if (ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return value + 0.0;
}

bool isBlank(const std::string& text) {
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            return false;
        }
    }
    return true;
}

std::string_view cutText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t n = maxBytes;
    // Do not split a UTF-8 character: back off over continuation bytes.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        --n;
    }
    return text.substr(0, n);
}

void copyToBuffer(char* buf, std::size_t cap, std::string_view text) {
    if (buf == nullptr || cap == 0) {
        return;
    }
    const std::size_t n = text.size() < cap - 1 ? text.size() : cap - 1;
    std::memmove(buf, text.data(), n);
    buf[n] = '\0';
}

}  // namespace detail

}  // namespace DataMgmt
