// The field-relation tester's records and the working state of one run.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "module/autotest/TestFieldNames.h"
#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"

namespace StateCalculationMgmt {

// One FIELD of a relation: the form (empty when FORM names no form), the
// copy, the field (empty when the field key names no field), and VALUE and
// TYPE as written.
struct FieldRelationRecord {
    FieldRelationRecord(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy,
                        const Primitives::QVImmutableIdentifier& field, std::string value, std::string type)
        : form(form), copy(copy), field(field), value(std::move(value)), type(std::move(type)) {}

    Primitives::QVImmutableFormIdentifier form;
    std::uint16_t copy;
    Primitives::QVImmutableIdentifier field;
    std::string value;
    std::string type;
};

// What one run of the tester works with: the name maps, the input and
// expected fields of the relation at hand, the result file, the return and
// the trigger box ticked during the recalculations.
struct FieldRelationRun {
    TestFieldNames& names;
    std::ostream& result;
    DataMgmt::TaxReturn* taxReturn;
    Primitives::QVImmutableFormIdentifier triggerForm;
    Primitives::QVImmutableIdentifier triggerField;
    std::vector<FieldRelationRecord> inputs;
    std::vector<FieldRelationRecord> expected;
    // On while the current result line has no entry yet.
    bool firstEntry = true;
};

}  // namespace StateCalculationMgmt
