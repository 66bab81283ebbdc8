// Inner workings of the data store shared by its source files; not for use
// outside platform/store/DataMgmt*.cpp and StateDataMgmt.cpp.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/store/DataMgmt.h"
#include "platform/util/Utils.h"

namespace DataMgmt::detail {

// What a return shares with its copies: the copies outlive nothing they need.
struct ReturnState {
    bool saveNeeded = false;
    Utils::StringPoolPtr pool;
    // Where the calculation's changes are recorded; null when they are not.
    std::vector<CalculationWrite>* writeLog = nullptr;
};

// One field slot in 16 bytes: the value (null, a number, a box state, or a
// text kept apart on the heap) and the field's attributes. Small slots keep
// a form copy's fields on few cache lines. A slot reads like a FieldValue
// (kind(), getNumber(), getText(), boxYes(), ...).
class Slot {
public:
    Slot() noexcept : number_(0.0) {}
    ~Slot() { dropText(); }
    Slot(Slot&& other) noexcept { takeFrom(other); }
    Slot& operator=(Slot&& other) noexcept {
        if (this != &other) {
            dropText();
            takeFrom(other);
        }
        return *this;
    }
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;

    FieldValue::Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == FieldValue::Kind::Null; }
    bool isNumber() const { return kind_ == FieldValue::Kind::Number; }
    bool isText() const { return kind_ == FieldValue::Kind::Text; }
    bool isBox() const { return kind_ == FieldValue::Kind::Box; }
    double getNumber() const { return isNumber() ? number_ : 0.0; }
    const std::string& getText() const { return isText() ? *text_ : emptyText(); }
    bool boxYes() const { return isBox() && yes_; }
    bool boxNo() const { return isBox() && !yes_; }

    FieldValue value() const;
    bool holds(const FieldValue& value) const;
    // The writes keep FieldValue's rules: an empty text is null, -0 is 0.
    void set(const FieldValue& value);
    void setNull() { becomeKind(FieldValue::Kind::Null); }
    void setNumber(double v) {
        becomeKind(FieldValue::Kind::Number);
        number_ = v + 0.0;
    }
    void setText(std::string_view text);
    void setBox(bool yes) {
        becomeKind(FieldValue::Kind::Box);
        yes_ = yes;
    }

private:
    static const std::string& emptyText();
    void dropText() noexcept {
        if (kind_ == FieldValue::Kind::Text) {
            delete text_;
        }
    }
    void takeFrom(Slot& other) noexcept;
    void becomeKind(FieldValue::Kind kind) {
        dropText();
        kind_ = kind;
    }

    union {
        double number_;
        std::string* text_;
        bool yes_;
    };
    FieldValue::Kind kind_ = FieldValue::Kind::Null;

public:
    bool overridden = false;
    bool tentative = false;
    bool noEntry = false;
    bool protectedField = false;
    std::int8_t calculated = -1;  // -1: the description's attribute; else 0 or 1
};

static_assert(sizeof(Slot) == 16, "a slot takes 16 bytes");

// One form copy's data, shared by its TaxForm and every FormField taken from
// it. It holds its description directly and its slots by place in the form,
// so a field access costs the place lookup and an index.
struct CopyData {
    std::shared_ptr<ReturnState> returnState;
    TaxFormDescPtr descHandle;  // keeps the description as long as the copy
    const TaxFormDesc* desc = nullptr;
    FormID form;
    std::uint16_t copy = 0;
    bool attached = true;
    bool dataEntered = false;
    bool dataEnteredFromImport = false;
    bool calculated = false;
    // By place, up to the last place written so far: the places past the
    // end read as empty slots until written. A copy of a form of thousands
    // of fields that holds a few costs no more than the places up to them.
    // (Writes may move the slots; a text stays where it is on the heap.)
    std::vector<Slot> slots;

    void markChanged() const { returnState->saveNeeded = true; }
    const Slot* readSlot(int place) const {
        return static_cast<std::size_t>(place) < slots.size() ? &slots[static_cast<std::size_t>(place)] : nullptr;
    }
    Slot& writeSlot(int place) {
        const auto at = static_cast<std::size_t>(place);
        if (at >= slots.size()) {
            growTo(at);
        }
        return slots[at];
    }
    // Room up to the place at least, doubling, at most the form's fields.
    [[gnu::noinline]] void growTo(std::size_t at) {
        const std::size_t wanted = std::max({at + 1, slots.size() * 2, std::size_t{16}});
        slots.resize(std::max(at + 1, std::min(wanted, desc->fieldCount())));
    }
};

// Sets a flag of the copy, marking the return changed when it changes.
inline void setFlag(CopyData& data, bool& flag, bool on) {
    if (flag != on) {
        flag = on;
        data.markChanged();
    }
}

void recordKindMismatch(const std::string& what);
void recordRoundedWrite(const std::string& what);
// Whether a value of the kind may be stored in the field as its description
// has it (null fits every field).
inline bool kindAgrees(const FieldTraits& field, FieldValue::Kind kind) {
    switch (kind) {
        case FieldValue::Kind::Number:
            return field.kind == FieldKind::Number;
        case FieldValue::Kind::Text:
            return field.kind == FieldKind::Text;
        case FieldValue::Kind::Box:
            return field.kind == FieldKind::Boolean;
        case FieldValue::Kind::Null:
            break;
    }
    return true;
}
const char* kindName(FieldValue::Kind kind);
const char* fieldKindName(const FieldTraits& desc);

// A text's leading decimal number ("12.5 acres" -> 12.5); 0 when it has none.
double leadingNumber(const std::string& text);
// A value (a FieldValue or a Slot) read as a number: the number, a text's
// leading number, a box 1 (yes) or 0, null 0.
template <class Value>
double numericValue(const Value& value) {
    switch (value.kind()) {
        case FieldValue::Kind::Number:
            return value.getNumber();
        case FieldValue::Kind::Text:
            return leadingNumber(value.getText());
        case FieldValue::Kind::Box:
            return value.boxYes() ? 1.0 : 0.0;
        case FieldValue::Kind::Null:
            break;
    }
    return 0.0;
}
// The same rounded half away from zero.
template <class Value>
std::int64_t wholeValue(const Value& value) {
    return Utils::roundR(numericValue(value));
}
// The value token of a slot (see FormField::getLongValue): a text's key in
// the shared pool, else the whole value; 0 for a slot not yet made.
inline std::int64_t valueToken(const CopyData& data, const Slot* slot) {
    if (slot == nullptr) {
        return 0;
    }
    if (slot->isText()) {
        return data.returnState->pool->intern(slot->getText());
    }
    return wholeValue(*slot);
}
bool isBlank(const std::string& text);
// The value as the field shows it (see FormField::getValueText).
template <class Value>
std::string renderValue(const Value& value, std::uint8_t editCode) {
    switch (value.kind()) {
        case FieldValue::Kind::Number:
            return formatDisplayAmount(value.getNumber(), editCodeDecimalPlaces(editCode));
        case FieldValue::Kind::Text:
            return value.getText();
        case FieldValue::Kind::Box:
            return value.boxYes() ? "X" : "";
        case FieldValue::Kind::Null:
            break;
    }
    return std::string();
}
// A number not 0, a non-blank text or a box marked yes.
template <class Value>
bool significant(const Value& value) {
    switch (value.kind()) {
        case FieldValue::Kind::Number:
            return value.getNumber() != 0.0;
        case FieldValue::Kind::Text:
            return !isBlank(value.getText());
        case FieldValue::Kind::Box:
            return value.boxYes();
        case FieldValue::Kind::Null:
            break;
    }
    return false;
}
// The text cut to at most maxBytes bytes without splitting a UTF-8 character.
std::string_view cutText(std::string_view text, std::size_t maxBytes);
// Copies text into a caller's buffer of cap bytes, cut to fit and always
// zero-terminated (nothing is written when cap is 0).
void copyToBuffer(char* buf, std::size_t cap, std::string_view text);

}  // namespace DataMgmt::detail
