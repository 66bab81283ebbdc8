// What a field is, as the store reads it on every access: its storage kind,
// its domain, and the traits kept per place beside a form's field order, and
// the row the compiled form tables hold of it.
#pragma once

#include <cstdint>

#include "platform/store/FieldContent.h"

namespace DataMgmt {

// Kind of a field: amount (number), text (dates are text), or check box.
enum class FieldKind : std::uint8_t { Number, Text, Boolean };

// The values a field takes beyond its kind: any; an amount of 0 or more; a
// date within the tax year; a date not after the tax year's end; a date of
// the tax year's payments (the tax year and the following January to April,
// when its last estimated payments fall). A return file that gives a value
// outside them, entered or calculated, is refused, and so is a write of an
// amount outside them by the calculation.
enum class FieldDomain : std::uint8_t { Any, NotNegative, InTaxYear, NotAfterTaxYear, InPaymentPeriod };

// What the store reads of a field's description on every access, kept per
// place beside the form's field order.
struct FieldTraits {
    FieldKind kind = FieldKind::Number;
    std::uint8_t editCode = 0;
    bool calculated = false;
    FieldContent content = FieldContent::Any;  // what the calculation's writes are read by
    std::uint16_t maxLength = 0;               // the defaults applied
    // What the calculation's amounts are held to: the domain, any decimals
    // (else the cent), and a range of amounts (a percent) to look up.
    FieldDomain domain = FieldDomain::Any;
    bool fractions = false;
    bool ranged = false;

    bool isText() const { return kind == FieldKind::Text; }
    bool isBoolean() const { return kind == FieldKind::Boolean; }
};

// A field as the compiled form tables hold it (FormTables.h): fixed-size
// numbers, and the names as places in the tables' one text of
// zero-terminated names, where place 0 holds the empty name (the default).
struct CompiledField {
    std::int32_t number;
    std::uint32_t shortName;
    std::uint32_t lineID;
    std::uint16_t maxLength;
    std::uint16_t width;
    FieldKind kind;
    std::uint8_t editCode;
    bool calculated;
    bool fractions;
    FieldDomain domain;
    FieldContent content;
    std::uint32_t choices;  // place of the choices' text
    std::uint16_t countLow;
    std::uint16_t countHigh;
};

// The traits of a field from its attributes or its compiled row alike;
// maxLength with the kind's default applied.
template <class Field>
FieldTraits traitsOf(const Field& f, std::uint16_t maxLength) {
    return FieldTraits{f.kind,    f.editCode, f.calculated, f.content,
                       maxLength, f.domain,   f.fractions,  f.countLow != 0 || f.countHigh != 0};
}

}  // namespace DataMgmt
