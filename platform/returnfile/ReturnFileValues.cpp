// What a field of a return file may hold: the checks of one value against
// its field, which the reader makes of every value it reads and the test
// facility of every value it sets.
#include <cmath>

#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

using namespace detail;

std::string amountProblem(const DataMgmt::FormFieldDesc& field, double stored, bool entry, const std::string& written) {
    if (!std::isfinite(stored)) return "amount " + showText(written) + " is not a finite number";
    if (!entry) return {};
    if (!withinTheAmountLimit(stored, amountPlaces(field))) return beyondTheAmountLimit(written);
    if (stored < 0 && naturalKind(field) == DataMgmt::FieldValue::Kind::Number &&
        field.getDomain() == DataMgmt::FieldDomain::NotNegative) {
        return "amount " + showText(written) + " is below 0 (the field takes 0 or more)";
    }
    return {};
}

std::string textProblem(const DataMgmt::FormFieldDesc& field, const std::string& text, bool entry) {
    // The limit counts bytes of UTF-8. A text that the file marks as the
    // value of an amount or box field keeps to the length of a text field.
    const std::size_t maxLength = field.isText() ? field.getMaxLength() : kTextLengthInAnotherKind;
    if (maxLength > 0 && text.size() > maxLength) {
        return "text of " + std::to_string(text.size()) + " bytes is longer than the field's maximum of " +
               std::to_string(maxLength) + " bytes";
    }
    if (const std::string why = xmlTextProblem(text); !why.empty()) return "text " + showText(text) + " " + why;
    if (const std::string why = controlCharacterProblem(text); !why.empty()) {
        return "text " + showText(text) + " " + why;
    }
    if (field.isDate()) {
        const std::string why = dateProblem(text, entry ? field.getDomain() : DataMgmt::FieldDomain::Any);
        if (!why.empty()) return "date " + showText(text) + " " + why;
    }
    return {};
}

std::string valueProblem(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value, bool entry) {
    switch (value.kind()) {
        case DataMgmt::FieldValue::Kind::Number:
            // (The store holds finite amounts only.)
            return amountProblem(field, value.getNumber(), entry,
                                 DataMgmt::formatDisplayAmount(value.getNumber(), amountPlaces(field)));
        case DataMgmt::FieldValue::Kind::Text:
            return textProblem(field, value.getText(), entry);
        case DataMgmt::FieldValue::Kind::Box:
        case DataMgmt::FieldValue::Kind::Null:
            break;
    }
    return {};
}

std::string valueText(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value) {
    switch (value.kind()) {
        case DataMgmt::FieldValue::Kind::Box:
            return value.boxYes() ? "X" : "NO";
        case DataMgmt::FieldValue::Kind::Text:
            return value.getText();
        case DataMgmt::FieldValue::Kind::Number:
            return DataMgmt::formatDisplayAmount(value.getNumber(), amountPlaces(field));
        case DataMgmt::FieldValue::Kind::Null:
            break;
    }
    return {};
}

}  // namespace PersistanceMgmt
