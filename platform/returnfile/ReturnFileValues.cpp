// What a field of a return file may hold: the checks of one value against
// its field, which the reader makes of every value it reads and the test
// facility of every value it sets.
#include <cmath>

#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

using namespace detail;

namespace {

// A count is a whole number of 0 or more, within its field's range; an
// amount with a range (a percent) lies within it, in dollars as written.
std::string rangeProblem(const DataMgmt::FormFieldDesc& field, double stored, const std::string& written) {
    const DataMgmt::FormFieldDesc::Attributes& a = field.attributes();
    const bool ranged = a.countLow != 0 || a.countHigh != 0;
    if (a.content != DataMgmt::FieldContent::Count) {
        const double shown = DataMgmt::displayAmount(stored, field.getEditCode());
        if (!ranged || (shown >= a.countLow && shown <= a.countHigh)) return {};
        return "amount " + showText(written) + " is not from " + std::to_string(a.countLow) + " to " +
               std::to_string(a.countHigh);
    }
    const double low = ranged ? a.countLow : 0;
    if (stored == std::floor(stored) && stored >= low && (!ranged || stored <= a.countHigh)) return {};
    return "value " + showText(written) + " is not " + fieldTakes(field);
}

}  // namespace

std::string amountProblem(const DataMgmt::FormFieldDesc& field, double stored, bool entry, const std::string& written) {
    if (!std::isfinite(stored)) return "amount " + showText(written) + " is not a finite number";
    if (!entry) return {};
    if (!withinTheAmountLimit(stored, amountPlaces(field))) return beyondTheAmountLimit(written);
    if (!toTheCent(stored, amountPlaces(field))) return beyondTheCent(written);
    if (stored < 0 && naturalKind(field) == DataMgmt::FieldValue::Kind::Number &&
        field.getDomain() == DataMgmt::FieldDomain::NotNegative) {
        return "amount " + showText(written) + " is below 0 (the field takes 0 or more)";
    }
    return rangeProblem(field, stored, written);
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
