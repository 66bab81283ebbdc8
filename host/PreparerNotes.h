// Notes for the person preparing a return: what a calculated return still
// needs where the return file holds a federal document whose amount the
// Georgia calculation takes from elsewhere, so that a result that looks
// complete is not silently short.
#pragma once

#include <string>
#include <vector>

#include "host/HostSession.h"

namespace GAHost {

// One text for each gap of the session's calculated return, none when it
// has none:
// - the federal return holds 1099-R copies (federal form 84) and the Georgia
//   return seeds none of the common items of pensions and IRA distributions,
//   nor does form 1040 give one (a return that is not joint: DerivedItems.h),
//   from which alone the retirement exclusion takes them (the note says what
//   the calculation does read of a 1099-R: its Georgia tax withheld, a lump
//   sum and a gross distribution keyed for form 189215);
// - the return is part-year or nonresident, a W-2 carries a Georgia state
//   line, and the state wages worksheet (state form 4) holds no Georgia
//   wages in the column of the return's residency;
// - federal form 2 holds an entry of the income-tax adjustment of the
//   itemized deductions that counts nowhere without another: the return
//   does not itemize, box 14405 is not answered yes, or one of fields 10
//   and 203981 is empty;
// - the Georgia share of the interest and dividends on the statements
//   (state forms 2 and 3) is more than the part-year schedule (form 189217)
//   holds in its Georgia interest and dividends, from which alone the
//   schedule takes them;
// - on a full-year return, an amount in the part-year schedule's Georgia
//   interest and dividends or in what it takes off the Georgia wages (form
//   189217), which counts nowhere there;
// - on a joint return, form 1040's amount of an item split between the
//   filers (IRA distributions, pensions, business income) that the two
//   filers' items do not add up to (a return that gives neither item: only
//   where a filer's retirement exclusion is worked out);
// - the retirement exclusion's inputs left out or entered where it does not
//   look: a birth date, the W-2s' owners, farm income
//   (RetirementExclusionNotes.h);
// - a source document or payment row entered twice, or tax withheld on a
//   state line that counts twice or nowhere (SourceDocumentNotes.h);
// - a figure that disagrees with its source on the return: the federal
//   adjusted gross income, a Georgia part of a line, a filer's pension and
//   IRA items, an item of interest or dividends (SourceFigures.h).
std::vector<std::string> preparerNotes(HostSession& session);

}  // namespace GAHost
