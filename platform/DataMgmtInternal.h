// Inner workings of the data store shared by its source files; not for use
// outside platform/DataMgmt*.cpp and StateDataMgmt.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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
// it.
struct CopyData {
    std::shared_ptr<ReturnState> returnState;
    TaxFormDescPtr desc;
    FormID form;
    std::uint16_t copy = 0;
    bool attached = true;
    bool dataEntered = false;
    bool dataEnteredFromImport = false;
    bool calculated = false;
    std::unordered_map<std::int32_t, Slot> slots;

    void markChanged() const { returnState->saveNeeded = true; }
    const Slot* findSlot(const FieldID& x) const {
        auto found = slots.find(x.getNumber());
        return found == slots.end() ? nullptr : &found->second;
    }
};

void recordKindMismatch(const std::string& what);
bool kindAgrees(const FormFieldDesc& desc, const FieldValue& value);
const char* kindName(FieldValue::Kind kind);
const char* fieldKindName(const FormFieldDesc& desc);

// A text's leading decimal number ("12.5 acres" -> 12.5); 0 when it has none.
double leadingNumber(const std::string& text);
// A value read as a number: the number, a text's leading number, a box 1
// (yes) or 0, null 0.
double numericValue(const FieldValue& value);
// The same rounded half away from zero.
std::int64_t wholeValue(const FieldValue& value);
// The value as the field shows it (see FormField::getValueText).
std::string renderValue(const FieldValue& value, const FormFieldDesc* desc);
bool isBlank(const std::string& text);
// A number not 0, a non-blank text or a box marked yes.
bool significant(const FieldValue& value);
// The text cut to at most maxBytes bytes without splitting a UTF-8 character.
std::string cutText(const std::string& text, std::size_t maxBytes);
// Copies text into a caller's buffer of cap bytes, cut to fit and always
// zero-terminated (nothing is written when cap is 0).
void copyToBuffer(char* buf, std::size_t cap, std::string_view text);

}  // namespace DataMgmt::detail
