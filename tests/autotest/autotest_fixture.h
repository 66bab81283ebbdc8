// The test facility's fixture: the Georgia engine on the generated form
// definitions, a scratch directory for the test files, and a small return of
// its own whose forms carry every kind of field and edit code the test-value
// setter tells apart.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/ga_calc/engine_fixture.h"
#include "tests/support/ScratchDir.h"

namespace autotesttest {

using DataMgmt::FieldValue;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

// FormA (at most 3 copies): Whole 'F', Tenths 'G', Cents 'H', Plain 'P',
// Whole170 and Whole172 (edit codes 170 and 172), Box, YesNo (a box with
// edit code 1), Label (text, line "Name & title"), FieldX (a number
// without edit code), Paid (cents of 0 or more) and MovedIn (a date of the
// tax year). FormB, first in display order: Done and Busy (boxes)
// and Amount. FormC: one text field.
inline const FormId kFormA{900, true};
inline const FormId kFormB{901, true};
inline const FormId kFormC{902, true};
enum FormAField {
    kWhole = 1,
    kTenths,
    kCents,
    kPlain,
    kWhole170,
    kWhole172,
    kBox,
    kYesNo,
    kLabel,
    kFieldX,
    kPaid,
    kMovedIn
};
inline const FieldId kDone{1};
inline const FieldId kAmount{2};
inline const FieldId kBusy{3};

inline DataMgmt::TaxReturnDescPtr testDescription() {
    using Kind = DataMgmt::FieldKind;
    struct Row {
        int number;
        Kind kind;
        std::uint8_t editCode;
        const char* name;
        const char* line;
        DataMgmt::FieldDomain domain = DataMgmt::FieldDomain::Any;
    };
    const auto addFields = [](DataMgmt::TaxFormDesc& form, std::initializer_list<Row> rows) {
        for (const Row& row : rows) {
            DataMgmt::FormFieldDesc::Attributes attributes;
            attributes.id = FieldId(row.number);
            attributes.kind = row.kind;
            attributes.editCode = row.editCode;
            attributes.shortName = row.name;
            attributes.lineID = row.line;
            attributes.domain = row.domain;
            form.addField(attributes);
        }
    };
    DataMgmt::TaxFormDescPtr a(new DataMgmt::TaxFormDesc(kFormA, "FormA", "Form A", 3));
    addFields(*a, {{kWhole, Kind::Number, 'F', "Whole", "1"},
                   {kTenths, Kind::Number, 'G', "Tenths", "2"},
                   {kCents, Kind::Number, 'H', "Cents", "3"},
                   {kPlain, Kind::Number, 'P', "Plain", "4"},
                   {kWhole170, Kind::Number, 170, "Whole170", "5"},
                   {kWhole172, Kind::Number, 172, "Whole172", "6"},
                   {kBox, Kind::Boolean, 0, "Box", "7"},
                   {kYesNo, Kind::Boolean, 1, "YesNo", "8"},
                   {kLabel, Kind::Text, 0, "Label", "Name & title"},
                   {kFieldX, Kind::Number, 0, "FieldX", "10"},
                   {kPaid, Kind::Number, 'H', "Paid", "11", DataMgmt::FieldDomain::NotNegative},
                   {kMovedIn, Kind::Text, 'D', "MovedIn", "12", DataMgmt::FieldDomain::InTaxYear}});
    DataMgmt::TaxFormDescPtr b(new DataMgmt::TaxFormDesc(kFormB, "FormB", "Form B & Co", 99, 1));
    addFields(*b, {{kDone.getNumber(), Kind::Boolean, 0, "Done", ""},
                   {kAmount.getNumber(), Kind::Number, 0, "Amount", ""},
                   {kBusy.getNumber(), Kind::Boolean, 0, "Busy", ""}});
    DataMgmt::TaxFormDescPtr c(new DataMgmt::TaxFormDesc(kFormC, "FormC", "Form C"));
    addFields(*c, {{1, Kind::Text, 0, "Note", ""}});
    DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc("Georgia", "GA", DataMgmt::kGeorgiaReturnType));
    desc->addForm(a);
    desc->addForm(b);
    desc->addForm(c);
    return desc;
}

class AutoTestFixture : public testsupport::ScratchDirOn<gaenginetest::EngineTest> {
protected:
    AutoTestFixture() : small(new DataMgmt::TaxReturn(testDescription(), pool)) {}

    FieldValue value(const FormId& form, std::uint16_t copy, int field) const {
        return small->getValue(form, copy, FieldId(field));
    }
    // Sets one field of the small return as the host loads it.
    void seed(const FormId& form, std::uint16_t copy, int field, const FieldValue& v) {
        small->getFormOrCreate(form, copy)->setValue(FieldId(field), v);
    }

    DataMgmt::TaxReturnPtr small;
};

}  // namespace autotesttest
