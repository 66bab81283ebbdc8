// Every figure of a calculated return that a source on the same return
// gives, held to that source on every residency and filing status. One
// table (kSourceRules in SourceFigures.cpp) names each figure, its source
// and how the two must agree, and one check reads it:
// - the federal adjusted gross income (the item federal-agi) is the federal
//   column of the state wages worksheet (form ST4: box 1 of the W-2s, the
//   items of the interest, the dividends and the other wages, the income
//   and adjustment lines of the main form filed), wherever the federal
//   return's own figures give it: on form 1040EZ (its W-2s, interest and
//   unemployment compensation), on a part-year or nonresident return (whose
//   Georgia ratio divides by that column, and which refuses an item that
//   the column lacks), and on form 1040 or 1040A where an income or
//   adjustment line is entered and no item is seeded that their lines leave
//   out; never on a return that gives its income as items alone;
// - the Georgia part of each line of the state wages worksheet (in the
//   column of the return's residency), and the part-year schedule's Georgia
//   interest and dividends (form 189217), lie between 0 and the federal
//   amount beside them (on the loss side for a loss);
// - each filer's pension and IRA items are the taxable amounts of the
//   filer's own 1099-Rs (box 2a, form 84 field 6; the gross distribution of
//   a copy that leaves it empty; box 2 marks the spouse's copies, which
//   count on a joint return only), beyond or short by a dollar or more (the
//   items are whole dollars), where the return holds a 1099-R and gives such
//   an item (the 1099-Rs stay the items' source where it gives none: a note
//   of the 1099-Rs asks for the items then, and the table tells nothing of
//   them);
// - each 1099-R's taxable amount, where it gives one, lies between 0 and
//   its gross distribution;
// - on a return of any residency where a filer's retirement exclusion is
//   worked out, the items taxable-interest and ordinary-dividends are at
//   most the taxable amounts of the statement of their own kind (the
//   interest statement, the dividend statement: their regular amounts and
//   those of U.S. obligations), from which alone the exclusion takes them.
// A figure that does not agree with its source is told in one note naming
// both, their fields and their amounts.
#pragma once

#include <string>
#include <vector>

#include "host/HostSession.h"

namespace GAHost {

// Adds one note for each figure of the session's calculated return that
// does not agree with its source.
void sourceFigureNotes(HostSession& session, std::vector<std::string>& notes);

// A figure of the return and its source, each named with its fields, as the
// return gives them.
struct SourcePairing {
    std::string figure;
    double amount = 0.0;
    std::string source;
    double sourceAmount = 0.0;
    // Whether the return gives the figure: where it does not, another note
    // asks for it, and a disagreement is not told.
    bool given = true;
    bool operator==(const SourcePairing&) const = default;
};

// What the table reads of the session's calculated return: each figure
// that it holds to a source on this return, with that source, in the
// table's order (none without a federal return). The check of entries
// (EntriesCountingNowhere.h) counts an entry without which these change.
std::vector<SourcePairing> sourcePairings(HostSession& session);

}  // namespace GAHost
