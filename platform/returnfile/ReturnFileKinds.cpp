// The one reading of a text that a return file gives a field, by the field's
// kind: what the field takes, and the one form the value is stored in, which
// every writer then writes as it is.
#include <cstdio>

#include "platform/returnfile/ReturnFileInternal.h"
#include "platform/util/PlainText.h"

namespace PersistanceMgmt {

using namespace detail;

namespace {

// The date in its one form, MM/DD/YYYY.
std::string storedDate(const std::string& text) {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    Utils::convertDateStr(std::string_view(text), year, month, day);
    char out[16];
    std::snprintf(out, sizeof out, "%02u/%02u/%04u", static_cast<unsigned>(month), static_cast<unsigned>(day),
                  static_cast<unsigned>(year));
    return out;
}

}  // namespace

EntryText readEntryText(const DataMgmt::FormFieldDesc& field, const std::string& text, bool entry) {
    // The limit counts bytes of UTF-8.
    const std::size_t maxLength = field.getMaxLength();
    if (maxLength > 0 && text.size() > maxLength) {
        return {{},
                "text of " + std::to_string(text.size()) + " bytes is longer than the field's maximum of " +
                    std::to_string(maxLength) + " bytes"};
    }
    if (const std::string why = xmlTextProblem(text); !why.empty()) return {{}, "text " + showText(text) + " " + why};
    if (const std::string why = controlCharacterProblem(text); !why.empty()) {
        return {{}, "text " + showText(text) + " " + why};
    }
    // Every letter plain (é as e); a character without a plain letter is no
    // value of any field.
    const Utils::PlainText plain = Utils::plainText(text);
    if (plain.leftOut) {
        return {{},
                "text " + showText(text) + " holds " + Utils::codePointName(*plain.leftOut) +
                    ", which has no plain letter (a field takes letters, digits and the signs of a keyboard)"};
    }
    if (field.isDate()) {
        const std::string why = dateProblem(plain.text, field.getDomain());
        if (!why.empty()) return {{}, "date " + showText(text) + " " + why};
        // Held to its domain on every path; what the calculation stored
        // stays as it wrote it.
        return {entry ? storedDate(plain.text) : plain.text, {}};
    }
    // Entered or written by the calculation, a value is read by what its
    // field holds.
    if (field.getContent() == DataMgmt::FieldContent::Any) return {plain.text, {}};
    const std::string t = trim(plain.text);
    if (t.empty()) return {};  // null
    if (const std::optional<std::string> value = DataMgmt::readByContent(field, t)) return {*value, {}};
    return {{}, "value " + showText(text) + " is not " + DataMgmt::fieldTakes(field)};
}

std::string textProblem(const DataMgmt::FormFieldDesc& field, const std::string& text) {
    // Whether a date is stored as entered or as written tells nothing of
    // what the field takes.
    return readEntryText(field, text, true).problem;
}

}  // namespace PersistanceMgmt
