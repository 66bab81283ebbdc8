// Inner workings of the data store shared by its source files; not for use
// outside platform/DataMgmt*.cpp and StateDataMgmt.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DataMgmt.h"

namespace DataMgmt::detail {

// What a return shares with its copies: the copies outlive nothing they need.
struct ReturnState {
    bool saveNeeded = false;
    Utils::StringPoolPtr pool;
};

// One field slot: the value and the field's attributes.
struct Slot {
    FieldValue value;
    bool overridden = false;
    bool tentative = false;
    bool noEntry = false;
    bool protectedField = false;
    std::optional<bool> calculated;  // unset: the description's attribute
};

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
    // By place; a description that grew after the copy was made has places
    // past the end, which read as empty slots until written.
    std::vector<Slot> slots;

    void markChanged() const { returnState->saveNeeded = true; }
    const Slot* readSlot(int place) const {
        return static_cast<std::size_t>(place) < slots.size() ? &slots[static_cast<std::size_t>(place)] : nullptr;
    }
    Slot& writeSlot(int place) {
        if (static_cast<std::size_t>(place) >= slots.size()) {
            slots.resize(desc->fieldCount());
        }
        return slots[static_cast<std::size_t>(place)];
    }
};

void recordKindMismatch(const std::string& what);
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
// A value read as a number: the number, a text's leading number, a box 1
// (yes) or 0, null 0.
double numericValue(const FieldValue& value);
// The same rounded half away from zero.
std::int64_t wholeValue(const FieldValue& value);
// The value as the field shows it (see FormField::getValueText).
std::string renderValue(const FieldValue& value, std::uint8_t editCode);
bool isBlank(const std::string& text);
// A number not 0, a non-blank text or a box marked yes.
bool significant(const FieldValue& value);
// The text cut to at most maxBytes bytes without splitting a UTF-8 character.
std::string_view cutText(std::string_view text, std::size_t maxBytes);
// Copies text into a caller's buffer of cap bytes, cut to fit and always
// zero-terminated (nothing is written when cap is 0).
void copyToBuffer(char* buf, std::size_t cap, std::string_view text);

}  // namespace DataMgmt::detail
