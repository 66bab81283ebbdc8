#include "host/SettleReturn.h"

#include <cstdint>
#include <tuple>
#include <vector>

namespace GAHost {

namespace {

// One field of the Georgia return that holds a value, with its place in the
// list of them: form by form in number order, copy by copy, field by field
// in form order.
struct HeldValue {
    const DataMgmt::TaxFormDesc* form;
    std::uint16_t copy;
    std::int32_t field;
    int position;  // the field's place in its form's field order
    DataMgmt::FieldValue value;

    std::tuple<std::int32_t, std::uint16_t, int> place() const {
        return {form->getTypeID().getNumber(), copy, position};
    }
    bool operator==(const HeldValue& o) const { return place() == o.place() && value == o.value; }
};

// Every field of the Georgia return that holds a value, in the order of
// their places.
std::vector<HeldValue> heldValues(StateDataMgmt::StateTaxReturn& georgia) {
    std::vector<HeldValue> values;
    const DataMgmt::TaxReturnDescPtr desc = georgia.getTaxReturnDesc();
    for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptors(); !forms.atEOL(); forms.next()) {
        const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
        for (const std::uint16_t copy : georgia.copyNumbers(form->getTypeID())) {
            georgia.getForm(form->getTypeID(), copy)
                ->forEachSetField(
                    [&](const Primitives::QVImmutableIdentifier& field, const DataMgmt::FieldValue& value, bool) {
                        values.push_back({form.get(), copy, field.getNumber(), form->positionOf(field), value});
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

// The first field, in the order of their places, whose value differs
// between the two lists, with both values. Past the fields they share, the
// list whose next field sorts first holds one that the other lacks: a field
// that the calculation emptied or filled.
std::string firstDifference(const std::vector<HeldValue>& before, const std::vector<HeldValue>& after) {
    std::size_t i = 0;
    while (i < before.size() && i < after.size() && before[i] == after[i]) ++i;
    const HeldValue* was = i < before.size() ? &before[i] : nullptr;
    const HeldValue* now = i < after.size() ? &after[i] : nullptr;
    if (was != nullptr && now != nullptr && was->place() == now->place()) {
        return fieldName(*now) + " (" + shownValue(was->value) + " before, " + shownValue(now->value) + " after)";
    }
    if (was != nullptr && (now == nullptr || was->place() < now->place())) {
        return fieldName(*was) + " (" + shownValue(was->value) + " before, empty after)";
    }
    if (now != nullptr) return fieldName(*now) + " (empty before, " + shownValue(now->value) + " after)";
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
    reportUnsettled(out, settling);
}

void reportUnsettled(std::ostream& out, const Settling& settling) {
    if (!settling.settled) {
        out << "the Georgia return did not settle in " << settling.calculations
            << " calculations: the last still changed " << settling.stillChanging
            << "; the figures below are those of the last calculation\n";
    }
}

ModuleCalculation::ModuleCalculation(const ModuleLoader& module, HostSession& session, const std::string& returnName)
    : module_(module),
      session_(session),
      printer_(module.createTaxFormPrinterInstance()(session.federal(), session.georgia())),
      engine_(module.createCalcEngineInstance()(session.federal(), session.georgia(), printer_)) {
    engine_->setReturnName(returnName);
}

Settling ModuleCalculation::settle() { return settleReturn(*engine_, *session_.georgiaState()); }

}  // namespace GAHost
