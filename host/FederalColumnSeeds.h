// What gahost requires of a calculated part-year or nonresident return: the
// federal column of the part-year schedule (form 189217) takes form 1040's
// income through the state wage worksheet, which reads the main form's own
// fields and not the common items. An item that form 1040 holds (the rows of
// PersistanceMgmt::kForm1040Items), given only as a seed, would count in the
// retirement exclusion and not in that column, which would then fall short
// of the federal adjusted gross income: such a seed is refused, and so is
// form 1040's field on a return filed on form 1040A or 1040EZ (whose own
// fields the worksheet reads), where it gives the item alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/HostSession.h"

namespace GAHost {

// One line for each item (either filer's of a split item) seeded with an
// amount other than 0 in the Georgia return of the session's calculated
// return, while the return is part-year or nonresident and the main form
// filed leaves the item's field empty or has no such line: "<path>:<line>:
// form F1: common item 40 (pensions-taxpayer) is 30000, but ..." naming the
// field; without such a seed, form 1040's field holding an amount on a
// return filed on another form: "<path>: form F1 field 89 holds 30000, but
// ...". Empty on a full-year return.
std::vector<std::string> seedsMissingFromTheFederalColumn(HostSession& session, const std::string& path);

// Whether the Georgia return seeds an item that form 1040 holds (either
// filer's of a split item) while the main form filed leaves its field empty
// or has no such line: the federal column of the state wages worksheet then
// lacks income that the federal return has, on any residency.
bool itemsOutsideTheFederalColumn(HostSession& session);

// Throws Exceptions::QuarloException with the lines of
// seedsMissingFromTheFederalColumn, when there are any.
void refuseSeedsMissingFromTheFederalColumn(HostSession& session, const std::string& path);

}  // namespace GAHost
