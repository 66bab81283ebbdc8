// The filers' social security numbers that the e-file writes: for each
// filer one number, the federal return's. (Every number is read as its nine
// digits when the return is read; what is left to the e-file is that the
// Georgia forms carry the same number as the federal main form.)
#pragma once

#include <optional>

#include "platform/Primitives.h"

namespace GAOutput {

// Whose social security number a field holds.
enum class NumberOf { Taxpayer, Spouse };

// Whose number the field of the form holds, when it is a filer's number
// that the e-file writes: form F92's numbers of the header, form 69's, and
// the numbers that the Georgia forms take from them. None for any other
// field (a dependent's, a qualifying person's, a payer's).
std::optional<NumberOf> filerNumberOf(const Primitives::QVImmutableFormIdentifier& form,
                                      const Primitives::QVImmutableIdentifier& field);

// The field of the federal main form (form 1, 55 or 87: `mainForm`) that
// holds the filer's number.
Primitives::QVImmutableIdentifier mainFormNumberField(const Primitives::QVImmutableFormIdentifier& mainForm,
                                                      NumberOf whose);

}  // namespace GAOutput
