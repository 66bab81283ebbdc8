// Notes for the person preparing a return about the federal source
// documents and payment rows as the return file gives them, where an entry
// counts twice or nowhere without a word from the calculation:
// - a copy of a statement form with a state line (W-2, 1099-R, 1099-INT and
//   the others of platform/store/StatementForms.h) that repeats an earlier
//   copy in every amount and number (its payer, its owner, its amounts and
//   its state lines, each one's state, state ID number and amounts, on
//   whichever of its lines each copy gives it): both count, so what they
//   report counts twice; a copy may be real, so it is told, not refused;
// - two dependents listed (copies of federal form 113) under one first and
//   last name, one of them or both without a number: both count among the
//   dependents (a number on two copies is refused when the file is read);
// - a dated row of federal form 190 (an estimated or other state tax
//   payment) that repeats an earlier row's date, amount and state;
// - a statement that names Georgia on two of its state lines, each with tax
//   withheld: both lines count in the Georgia tax withheld;
// - a state line of a statement with tax withheld but no state: the
//   withholding counts in no state's, Georgia's included;
// - a Georgia line's tax withheld at or above the state amount it was
//   withheld from (a W-2's boxes 16 and 17 swapped): it counts as it stands.
#pragma once

#include <string>
#include <vector>

#include "host/HostSession.h"

namespace GAHost {

// Adds one text for each of the above to `notes`.
void sourceDocumentNotes(HostSession& session, std::vector<std::string>& notes);

}  // namespace GAHost
