// The preparer's notes of the retirement exclusion's inputs (form 189215):
// entries that the exclusion needs and the return leaves out or holds where
// the exclusion does not look, which would otherwise change its result
// without a word. A part of preparerNotes (PreparerNotes.h).
#pragma once

#include <string>
#include <vector>

#include "host/HostSession.h"
#include "platform/store/StateDataMgmt.h"

namespace GAHost {

// Whether the retirement exclusion is worked out for a filer of the
// calculated return, by age or by disability: then the common items of each
// filer's income count.
bool anExclusionIsWorkedOut(const StateDataMgmt::StateTaxReturn& georgia);

// Whether `earned` more earned income (a loss when below 0, in whole
// dollars) would change the retirement exclusion of a filer of the
// calculated return whose exclusion is worked out, were it that filer's:
// earned income counts from 0 up to 4,000, and the exclusion stays within
// the filer's limit.
bool earnedIncomeWouldChangeAnExclusion(const StateDataMgmt::StateTaxReturn& georgia, double earned);

// Adds to `notes`, for the session's calculated return (none without a
// federal return):
// - a filer's birth date (form F92 field 9, the spouse's 10 on a joint
//   return) left empty where the return marks the filer 65 or over (the box
//   of the main form filed, or the item), or gives the filer retirement
//   income (a 1099-R of the filer, the filer's pension or IRA item, the main
//   form's couple's amount of them on a joint return that gives neither
//   filer's item), or gives the filer a share of the unearned income that
//   the exclusion's shared lines count (the spouse's column of form 189215;
//   the taxpayer's, the rest, while no filer gives a birth date): the
//   exclusion takes the age from the birth date alone;
// - W-2s that do not say whose they are on a return the host takes as joint,
//   whose wages then reach neither filer's item, unless the two wages items
//   add up to the W-2s' wages;
// - farm income (or a loss) on form 1040 (field 91), which is earned income
//   that the exclusion takes from the items of other earned income alone,
//   when the return gives neither of them;
// each of the last two only where the earned income that reaches no item
// would change the exclusion of a filer whose exclusion is worked out.
void retirementExclusionNotes(HostSession& session, std::vector<std::string>& notes);

}  // namespace GAHost
