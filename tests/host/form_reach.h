// Returns that reach every form of the Georgia return (its GA and ST forms):
// for each form, an example return and the entries that make the form used,
// so that a test can print, fill or sweep a form that no example uses on its
// own. The table is data, in tests/data/reach: forms.txt names each form's
// example and what makes the form used, <form>.xml the return-file elements
// added to the example.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/returnfile/ReturnFile.h"

namespace testsupport {

// One form and the return that reaches it: examples/<example>.xml with the
// return-file elements of `federal` added inside its federal RETURN and
// those of `georgia` inside its Georgia RETURN (FORM elements, and a HOST
// element of the host's answers), as mergeReturn adds them.
struct FormReach {
    std::string devName;  // GA<n> or ST<n>
    std::string example;
    std::string federal;
    std::string georgia;
    // What makes the form used, for the reader of a failing test.
    std::string why;
};

// For test names and messages: the row's form.
void PrintTo(const FormReach& row, std::ostream* out);

// Every form of the Georgia return, one row each, in the order of
// tests/data/reach/forms.txt.
const std::vector<FormReach>& formReaches();

// The row of the form (by dev name, any letter case); fails the test and
// throws when the table has none.
const FormReach& reachOf(const std::string& devName);

// Adds the copies and host answers of `added` to the return part: a copy
// that `into` already has takes the fields given beside its own, in form
// order (a field given in both takes the value of `added`); a common item or
// another answer of `added` replaces the one of `into`.
void mergeReturn(std::optional<PersistanceMgmt::ReturnPart>& into,
                 const std::optional<PersistanceMgmt::ReturnPart>& added);

// The return file that reaches the form: the example with the row's
// elements, as one document. Throws when either does not read.
std::string reachingReturn(const FormReach& row);

// Writes reachingReturn(row) to dir/<devName>.xml; that path.
std::filesystem::path writeReachingReturn(const FormReach& row, const std::filesystem::path& dir);

// A return file calculated in this process as gahost run calculates it (on
// paper, or as `gahost run --efile` when efiled; its e-file prepared in
// workDir), then printed as gahost run prints it.
struct PrintedReturn {
    std::string printFile;               // the print file's text
    std::vector<std::string> printList;  // the printer's print list of this return, by dev name
    std::set<std::string> formsHeld;     // every form the calculated Georgia return holds a copy of
};
PrintedReturn printAsGahostRun(const std::filesystem::path& returnFile, const std::filesystem::path& workDir,
                               bool efiled = false);

// The dev names of the forms of which the print file prints a copy.
std::set<std::string> formsPrinted(const std::string& printFile);

}  // namespace testsupport
