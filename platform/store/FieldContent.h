// What a field holds beyond its storage kind (DataMgmt::FieldKind), as the
// form definitions say it (forms/README.md).
#pragma once

#include <cstdint>

namespace DataMgmt {

// It decides how an entry is read and the one form it is stored in
// (PersistanceMgmt::readEntryText): free text; a person's name (which holds
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
