// The filers' social security numbers that the e-file writes: for each
// filer one number, the federal return's. (Every number is read as its nine
// digits when the return is read; what is left to the e-file is that the
// Georgia forms carry the same number as the federal main form.)
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/Primitives.h"

namespace GAOutput {

// Whose social security number a field holds.
enum class NumberOf { Taxpayer, Spouse };

// A field that holds a filer's number: whose, and where in the field's text
// (the whole text, or a part of a longer text such as a voucher's scan
// line).
struct FilerNumberField {
    NumberOf whose;
    std::size_t at = 0;
    std::size_t length = std::string::npos;

    // The number as the text carries it; the whole text when it is too short
    // to hold one.
    std::string numberIn(const std::string& text) const {
        const bool holdsOne = length == std::string::npos ? at <= text.size() : at + length <= text.size();
        return holdsOne ? text.substr(at, length) : text;
    }
};

// The filer's number that the field of the form holds, when it is one that
// the e-file writes: form F92's numbers of the header, form 69's, the
// numbers that the Georgia forms take from them, and the taxpayer's number
// inside the vouchers' scan lines. None for any other field (a dependent's,
// a qualifying person's, a payer's).
std::optional<FilerNumberField> filerNumberOf(const Primitives::QVImmutableFormIdentifier& form,
                                              const Primitives::QVImmutableIdentifier& field);

// The field of the federal main form (form 1, 55 or 87: `mainForm`) that
// holds the filer's number.
Primitives::QVImmutableIdentifier mainFormNumberField(const Primitives::QVImmutableFormIdentifier& mainForm,
                                                      NumberOf whose);

}  // namespace GAOutput
