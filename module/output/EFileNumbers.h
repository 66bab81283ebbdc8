// The social security numbers that the e-file writes: as their nine digits,
// whichever way they were entered ("400-00-1234", "400 00 1234"), and for
// each filer one number, the federal return's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Primitives.h"

namespace GAOutput {

// Whose social security number a field holds.
enum class NumberOf { Taxpayer, Spouse, Other };

// Whose social security number the field of the form holds, when it is one
// that the e-file writes: form F92's numbers of the header, form 69's, and
// the numbers that the Georgia forms take from them or that the filer
// enters on them (a dependent's, a qualifying person's: Other). None for any
// other field; numbers that may be an employer's identification number (the
// credit forms' "FEIN or SSN" rows) are not among them.
std::optional<NumberOf> socialSecurityNumberOf(const Primitives::QVImmutableFormIdentifier& form,
                                               const Primitives::QVImmutableIdentifier& field);

// The field of the federal main form (form 1, 55 or 87: `mainForm`) that
// holds the filer's number; the null field for Other.
Primitives::QVImmutableIdentifier mainFormNumberField(const Primitives::QVImmutableFormIdentifier& mainForm,
                                                      NumberOf whose);

// The nine digits of a number written with blanks or hyphens between them or
// none; none when the text holds another character, or other than nine
// digits.
std::optional<std::string> nineDigits(std::string_view number);

// The fault of a number without nine digits, as the e-file check names it.
inline const char* const kNotNineDigits = "a social security number of nine digits is what the e-file takes";
// The same of a payer's number on a withholding statement.
inline const char* const kNotNineDigitsPayer =
    "an identification number of nine digits (an employer's or a social security number) is what the e-file takes";

}  // namespace GAOutput
