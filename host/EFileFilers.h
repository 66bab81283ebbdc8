// What gahost requires of a return it e-files: the return must name its
// filers, since the e-file's header line T and its Georgia return header are
// made of the federal personal information (form F92, copy 1), and name them
// as the federal main form does, whose names and numbers form 70 carries;
// and the main form must give the filers' numbers, without which form 70
// names nobody, and each dependent listed its first name and number. The
// e-file check of gahost run --efile blocks the e-file while one of these
// entries is missing or disagrees, or while a further copy of a form taken
// from copy 1 alone holds an entry, beside the module's own findings, and
// gahost check tells that check's verdict (reviewGeorgiaReturn for both);
// check without the Georgia module lists these entries alone. A paper run
// notes a missing number of the main form or of a dependent, and a
// disagreement.
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
    // Why the entry is needed where the label alone does not tell it: the
    // spouse's entries on a separate return, a dependent's (naming it).
    std::string reason;
};

// The entries that the e-file needs and the session's return, as loaded
// from its file, leaves without a value, in the order a preparer meets them:
// the taxpayer's social security number on the federal main form (form F1,
// unless form 69 names another), the spouse's too where the e-file writes a
// spouse (a joint and a separate return: the e-file of a separate return
// writes the spouse of form F92, who must be the one the main form names);
// then of the federal personal information the taxpayer's first and last
// name and number, and birth date where the return says the taxpayer is 65
// or over (form 1040's box 121, or the item taxpayer-aged-65), on a joint
// or a separate return the spouse's first and last name and number (and on
// a joint return the birth date: box 123, spouse-aged-65), the street and
// city, and at home the state and ZIP code (an address abroad varies by
// country, and its further lines are not required); then the first name and
// number of each dependent the federal return lists (form F113's box, a
// copy a dependent; none on form 1040EZ), under which the e-file writes the
// dependent and which form 70 or the document list carries. The filing
// status is the one the file states (PersistanceMgmt::statedFilingStatus):
// 2 joint, 3 separate. A file without a federal return (a single return,
// which gahost only validates) gives none.
std::vector<MissingFilerEntry> missingFilerEntries(HostSession& session);

// A filer's name or number that the e-file takes from form F92 and the
// federal main form gives otherwise: the entry of each, with its line label
// and its value as entered.
struct DisagreeingFilerEntry {
    struct Entry {
        std::string form;
        std::uint16_t copy = 1;
        Primitives::QVImmutableIdentifier field;
        std::string label;
        std::string value;
    };
    Entry eFile;
    Entry mainForm;
};

// The taxpayer's last name and number on form F92 that disagree with those
// of the federal main form the Georgia return is prepared from (form F1,
// the federal form 1040, unless form 69 names another); on a joint or a
// separate return, whose e-file writes the spouse's from form F92, the
// spouse's first and last name and number too. They compare as the
// e-file writes them: the numbers by their digits, the names without regard
// to case or to the blanks at either end. An entry that either form leaves
// empty disagrees with nothing: form F92's is missing, and an empty entry of
// the main form leaves form F92's the only one. A file without a federal
// return gives none.
std::vector<DisagreeingFilerEntry> disagreeingFilerEntries(HostSession& session);

// An entry that the last write of the Georgia e-file (its preparation, as
// run and check make it) could not carry as entered: a social security
// number without nine digits, a character without a plain letter; with the
// form's dev name and the field's line label (empty for a line that is not
// a field's).
struct WrongFilerEntry {
    StateDataMgmt::EFileWrongEntry entry;
    std::string form;
    std::string label;
};
std::vector<WrongFilerEntry> wrongEFileEntries(HostSession& session);

// The further copies of the forms the calculation takes from copy 1 alone
// (GAOutput::kSingleCopyForms) that hold an entry in the return file, one
// for each copy, named by its first entry: the e-file carries copy 1 of
// such a form alone, and the copy counts in no figure of the return. An
// empty further copy gives none; so does a return without the module.
std::vector<WrongFilerEntry> furtherCopyEntries(HostSession& session);

// What the e-file check of the host finds of the filers' entries and of the
// entries the e-file writes.
struct FilerFindings {
    std::vector<MissingFilerEntry> missing;
    std::vector<DisagreeingFilerEntry> disagreeing;
    std::vector<WrongFilerEntry> wrong;  // the e-file's wrong entries, then the further copies
    bool any() const { return !missing.empty() || !disagreeing.empty() || !wrong.empty(); }
};
FilerFindings filerFindings(HostSession& session);

// One line for each missing entry, then one for each disagreeing one
// (naming both entries and both values), then one for each wrong one
// (naming the field, its value and the fault), indented by two blanks.
void printFilerFindings(std::ostream& out, const FilerFindings& findings);

// The notes for a return on paper (gahost run without --efile, and check's
// calculation; the e-file check tells them itself): one that names every
// number of the main form that is missing, which form 70 then goes without,
// one that names every dependent's first name or number that is missing,
// and one that names every disagreeing entry with both values; each says
// that run --efile blocks the e-file until they are mended. None when
// nothing is found.
std::vector<std::string> filersOnPaperNotes(HostSession& session);

}  // namespace GAHost
