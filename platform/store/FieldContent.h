// What a field holds beyond its storage kind (DataMgmt::FieldKind), as the
// form definitions say it (forms/README.md).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace DataMgmt {

class FormFieldDesc;

// It decides how every value of the field is read and the one form it is
// stored in, whether a return file gives it or the calculation writes it
// (readByContent): free text; a person's name (which holds
// a letter) or an address; a social security or taxpayer number, an employer number, or
// either (nine digits); a ZIP code (five or nine digits); a state or
// territory code (the postal list, upper case); a telephone number (ten
// digits); a bank routing number (nine digits, its check digit right); a
// bank account number; a whole count (an amount field, within its range);
// one of the field's named choices.
enum class FieldContent : std::uint8_t {
    Any,
    Name,
    Address,
    PersonNumber,
    EmployerNumber,
    EitherNumber,
    Zip,
    StateCode,
    Phone,
    Routing,
    Account,
    Count,
    Choice,
    // Either number, nine digits, kept as written: where its dashes say
    // which of the two it is.
    WrittenNumber,
};

}  // namespace DataMgmt

namespace DataMgmt {

// The text (trimmed, its letters plain) read by what the field holds: the
// one form it is stored in, or none when the field does not take it. Free
// text is taken as it is.
std::optional<std::string> readByContent(const FormFieldDesc& field, const std::string& text);

// Whether a count field takes the amount: a whole number within its range
// (0 or more without one). Any amount for a field that holds no count.
bool countTakes(const FormFieldDesc& field, double amount);

// What a field that holds more than free text takes ("a ZIP code of five or
// nine digits", "a whole count from 1 to 4"); empty for another field.
std::string fieldTakes(const FormFieldDesc& field);

}  // namespace DataMgmt
