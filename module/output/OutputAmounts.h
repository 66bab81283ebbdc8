// How an amount of the Georgia return leaves it, in the print file and the
// e-file: as the form shows it. The calculation keeps the part-year ratio,
// the other-state ratio and their products unrounded, and a few of its
// results carry binary noise (138.9000000000001); what leaves carries at
// most two decimals (cents), and whole dollars on the forms whose lines are
// whole dollars (so marked in the forms' table, module/frame/GeorgiaForms.h):
// the main return form 70, its schedules 1 to 3 and their continuation
// (forms 189215 to 189218) and the other-state credit worksheet (form 73). The ratios of schedule 3 and form 73, held
// in ten-thousandths, so leave as whole ten-thousandths: a percentage with two decimals, as the e-file writes schedule
// 3's (075.00).
#pragma once

#include <string>

#include "platform/Primitives.h"

namespace GAOutput {

// The decimal places of the lines of the form: 0 for the whole-dollar forms
// above, 2 for every other form.
int amountPlaces(const Primitives::QVImmutableFormIdentifier& form);

// An amount's text as it leaves: a plain decimal number ("1,234.5678",
// "-0.004") with more decimals than the form's lines carry is rounded half
// away from zero to them and written without separators or trailing zeros
// (29648.923 on form 70 gives 29649, 7.2675 on form 71 gives 7.27), binary
// noise too (45037.020000000004 gives 45037.02). A text with no more
// decimals than that ("1,234", "14.5"), or that is not a plain decimal
// number ("X", a date), comes back as it is.
std::string amountAsShown(const std::string& text, const Primitives::QVImmutableFormIdentifier& form);

}  // namespace GAOutput
