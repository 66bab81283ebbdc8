// What a field of a return file may hold: the checks of one value against
// its field, which the reader makes of every value it reads and the test
// facility of every value it sets.
#include <cmath>

#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

using namespace detail;

namespace {

// An amount with a range (a percent) lies within it, in dollars as written.
std::string rangeProblem(const DataMgmt::FormFieldDesc& field, double stored, const std::string& written) {
    const DataMgmt::FormFieldDesc::Attributes& a = field.attributes();
    if (a.content == DataMgmt::FieldContent::Count || (a.countLow == 0 && a.countHigh == 0)) return {};
    const double shown = DataMgmt::displayAmount(stored, field.getEditCode());
    if (shown >= a.countLow && shown <= a.countHigh) return {};
    return "amount " + showText(written) + " is not from " + std::to_string(a.countLow) + " to " +
           std::to_string(a.countHigh);
}

}  // namespace

std::string amountProblem(const DataMgmt::FormFieldDesc& field, double stored, bool entry, const std::string& written) {
    if (!std::isfinite(stored)) return "amount " + showText(written) + " is not a finite number";
    // A count is one whether entered or calculated.
    if (!DataMgmt::countTakes(field, stored)) {
        return "value " + showText(written) + " is not " + DataMgmt::fieldTakes(field);
    }
    if (!entry) return {};
    if (!withinTheAmountLimit(stored, amountPlaces(field))) return beyondTheAmountLimit(written);
    if (!toTheCent(stored, amountPlaces(field))) return beyondTheCent(written);
    if (stored < 0 && field.getDomain() == DataMgmt::FieldDomain::NotNegative) {
        return "amount " + showText(written) + " is below 0 (the field takes 0 or more)";
    }
    return rangeProblem(field, stored, written);
}

std::string valueProblem(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value, bool entry) {
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
