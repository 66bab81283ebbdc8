// What a field of a return file may hold: the checks of one value against
// its field, which the reader makes of every value it reads and the test
// facility of every value it sets.
#include <cmath>

#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

using namespace detail;

std::string amountProblem(const DataMgmt::FormFieldDesc& field, double stored, const std::string& written) {
    if (!std::isfinite(stored)) return "amount " + showText(written) + " is not a finite number";
    return DataMgmt::amountRefusal(field, stored, written);
}

std::string valueProblem(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value) {
    if (!value.isNull() && value.kind() != naturalKind(field)) {
        return std::string("holds ") +
               (value.isText()  ? "a text"
                : value.isBox() ? "a box mark"
                                : "an amount") +
               ", which is not " + whatTheFieldTakes(field);
    }
    switch (value.kind()) {
        case DataMgmt::FieldValue::Kind::Number:
            // (The store holds finite amounts only.)
            return amountProblem(field, value.getNumber(),
                                 DataMgmt::formatDisplayAmount(value.getNumber(), amountPlaces(field)));
        case DataMgmt::FieldValue::Kind::Text:
            return textProblem(field, value.getText());
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
