#include "host/SettleReturn.h"

#include <cstdint>
#include <vector>

namespace GAHost {

namespace {

// One field of the Georgia return that holds a value.
struct HeldValue {
    const DataMgmt::TaxFormDesc* form;
    std::uint16_t copy;
    std::int32_t field;
    DataMgmt::FieldValue value;

    bool sameField(const HeldValue& o) const { return form == o.form && copy == o.copy && field == o.field; }
    bool operator==(const HeldValue& o) const { return sameField(o) && value == o.value; }
};

// Every field of the Georgia return that holds a value, form by form in
// number order, copy by copy.
std::vector<HeldValue> heldValues(StateDataMgmt::StateTaxReturn& georgia) {
    std::vector<HeldValue> values;
    const DataMgmt::TaxReturnDescPtr desc = georgia.getTaxReturnDesc();
    for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptors(); !forms.atEOL(); forms.next()) {
        const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
        for (const std::uint16_t copy : georgia.copyNumbers(form->getTypeID())) {
            georgia.getForm(form->getTypeID(), copy)
                ->forEachSetField(
                    [&](const Primitives::QVImmutableIdentifier& field, const DataMgmt::FieldValue& value, bool) {
                        values.push_back({form.get(), copy, field.getNumber(), value});
                    });
        }
    }
    return values;
}

std::string shownValue(const DataMgmt::FieldValue& v) {
    switch (v.kind()) {
        case DataMgmt::FieldValue::Kind::Number:
            return DataMgmt::formatDisplayAmount(v.getNumber(), 0);
        case DataMgmt::FieldValue::Kind::Text:
            return "\"" + v.getText() + "\"";
        case DataMgmt::FieldValue::Kind::Box:
            return v.boxYes() ? "X" : "NO";
        case DataMgmt::FieldValue::Kind::Null:
            break;
    }
    return "empty";
}

std::string fieldName(const HeldValue& v) {
    return "form " + v.form->getDevName() + " copy " + std::to_string(v.copy) + " field " + std::to_string(v.field);
}

// The first field whose value differs between the two lists, with both values.
std::string firstDifference(const std::vector<HeldValue>& before, const std::vector<HeldValue>& after) {
    std::size_t i = 0;
    while (i < before.size() && i < after.size() && before[i] == after[i]) ++i;
    if (i < before.size() && i < after.size() && before[i].sameField(after[i])) {
        return fieldName(after[i]) + " (" + shownValue(before[i].value) + " before, " + shownValue(after[i].value) +
               " after)";
    }
    // A field that one of the two lists lacks: it became empty or was filled.
    if (i < before.size()) return fieldName(before[i]) + " (" + shownValue(before[i].value) + " before, empty after)";
    if (i < after.size()) return fieldName(after[i]) + " (empty before, " + shownValue(after[i].value) + " after)";
    return {};
}

}  // namespace

Settling settleReturn(CalculationMgmt::TaxReturnCalcEngine& engine, StateDataMgmt::StateTaxReturn& georgia) {
    Settling settling;
    std::vector<HeldValue> before = heldValues(georgia);
    while (settling.calculations < kMaxCalculations) {
        engine.calculateReturn(0);
        ++settling.calculations;
        std::vector<HeldValue> after = heldValues(georgia);
        if (after == before) {
            settling.settled = true;
            settling.stillChanging.clear();
            return settling;
        }
        settling.stillChanging = firstDifference(before, after);
        before = std::move(after);
    }
    return settling;
}

void reportCalculation(std::ostream& out, const Settling& settling) {
    out << "calculated the Georgia return\n";
    if (!settling.settled) {
        out << "the Georgia return did not settle in " << settling.calculations
            << " calculations: the last still changed " << settling.stillChanging
            << "; the figures below are those of the last calculation\n";
    }
}

}  // namespace GAHost
