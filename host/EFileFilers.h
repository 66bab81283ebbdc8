// What gahost requires of a return it e-files: the return must name its
// filers, since the e-file's header line T and its Georgia return header are
// made of the federal personal information (form F92, copy 1). The e-file
// check of gahost run --efile blocks the e-file while an entry of it is
// missing, beside the module's own findings, and gahost check tells that
// check's verdict (reviewGeorgiaReturn for both); check without the Georgia
// module lists the missing entries alone.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "platform/Primitives.h"

namespace GAHost {

// An entry the e-file needs and the return leaves empty, as a preparer
// enters it: the form's dev name, the copy, the field and its line label
// (as gahost fields lists them).
struct MissingFilerEntry {
    std::string form;
    std::uint16_t copy = 1;
    Primitives::QVImmutableIdentifier field;
    std::string label;
};

// The entries of the federal personal information that the e-file needs and
// the session's return, as loaded from its file, leaves without a value, in
// the order a preparer meets them: the taxpayer's first and last name and
// social security number; on a joint return the spouse's too; the street and
// city, and at home the state and ZIP code (an address abroad varies by
// country, and its further lines are not required). The return is joint
// when the file states federal filing status 2 (the federal return's
// <FILINGSTATUS>, else the Georgia return's seeded common item). A file
// without a federal return (a single return, which gahost only validates)
// gives none.
std::vector<MissingFilerEntry> missingFilerEntries(HostSession& session);

// One line for each entry, indented by two blanks.
void printMissingFilerEntries(std::ostream& out, const std::vector<MissingFilerEntry>& missing);

}  // namespace GAHost
