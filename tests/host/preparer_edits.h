// Edits of the example returns, and the rows of the notes that gahost run
// gives where a return still needs an entry, shared by the preparer's tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Primitives.h"

namespace preparer {

// The text with its first `from` replaced by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "the example lacks " << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The text without the element that begins with `start` (up to its </FORM>).
inline std::string withoutForm(std::string text, const std::string& start) {
    const std::size_t at = text.find(start);
    EXPECT_NE(at, std::string::npos) << "the example lacks " << start;
    if (at != std::string::npos) text.erase(at, text.find("</FORM>", at) + 7 - at);
    return text;
}

// The text with a form added at the end of its federal return (the first).
inline std::string withFederalForm(std::string text, const std::string& form) {
    return text.insert(text.find("</RETURN>"), form);
}

// A 1099-R of 18,000, keyed 12, with a Georgia state line that withholds
// 1,200.
inline const std::string kRetirementStatement =
    "<FORM DEVNAME=\"F84\" COPY=\"1\"><FIELD><ID>4</ID><VALUE>18000.00</VALUE></FIELD>"
    "<FIELD><ID>425</ID><VALUE>12</VALUE></FIELD>"
    "<FIELD><ID>33</ID><VALUE>GA</VALUE></FIELD><FIELD><ID>134</ID><VALUE>18000.00</VALUE></FIELD>"
    "<FIELD><ID>30</ID><VALUE>1200.00</VALUE></FIELD></FORM>\n";

inline std::string number(const Primitives::QVImmutableIdentifier& field) { return std::to_string(field.getNumber()); }

// An edit of an example's text.
using Edit = std::function<std::string(std::string)>;

// The text with each `from` replaced by its `to`, in turn.
inline Edit replacing(const std::vector<std::pair<std::string, std::string>>& changes) {
    return [changes](std::string text) {
        for (const auto& [from, to] : changes) text = replaced(text, from, to);
        return text;
    };
}

// The text with a field of its form 1040 added, and a Georgia item dropped
// ("NAME\">AMOUNT", unless empty).
inline Edit withForm1040Field(const std::string& field, const std::string& amount, const std::string& item = "") {
    const std::string form = "<FORM DEVNAME=\"F1\" COPY=\"1\">";
    std::vector<std::pair<std::string, std::string>> changes = {
        {form, form + "<FIELD><ID>" + field + "</ID><VALUE>" + amount + "</VALUE></FIELD>"}};
    if (!item.empty()) changes.push_back({"<PULLCOMMON FORM=\"F1\" ITEM=\"" + item + "</PULLCOMMON>", ""});
    return replacing(changes);
}

// The pieces of a note.
using Noted = std::vector<std::string>;

// An example, edited, that gahost run notes for an entry it still needs, or
// does not.
struct NoteCase {
    const char* what;
    const char* example;
    Edit edit;                    // none: the example as it stands
    Noted noted;                  // pieces of the one note; none: no note
    const char* shown = nullptr;  // with a 1099-R keyed: form 189215's line of the keyed amounts
    // The lines of entries that count nowhere, found by calculating again,
    // are kept (else left out but where the note is one of them).
    bool countsNowhereLines = false;
    bool eFiled = false;  // run with --efile
};

// The retiree's example without the IRA distribution it gives, with the
// 1099-R under the key.
inline std::string withoutItemsKeyed(const std::string& example, const std::string& key) {
    return withFederalForm(
        replaced(example, "<PULLCOMMON FORM=\"F1\" ITEM=\"ira-distributions-taxpayer\">18000</PULLCOMMON>", ""),
        replaced(kRetirementStatement, "<VALUE>12<", "<VALUE>" + key + "<"));
}

// A field's entry as the return file gives it.
inline std::string entry(int field, const std::string& value) {
    return "<FIELD><ID>" + std::to_string(field) + "</ID><VALUE>" + value + "</VALUE></FIELD>";
}

// The return with a copy of a Georgia form holding the entries added.
inline Edit withGeorgiaForm(const std::string& name, int copy, const std::string& entries) {
    const std::string form =
        "<FORM DEVNAME=\"" + name + "\" COPY=\"" + std::to_string(copy) + "\">" + entries + "</FORM>";
    return replacing({{"\t</RETURN>\n</RETURNFILE>", form + "\t</RETURN>\n</RETURNFILE>"}});
}

// The rows of the notes, by what they are about.
std::vector<NoteCase> worksheetNoteCases();
std::vector<NoteCase> splitItemNoteCases();
// Entries that count nowhere, or that count otherwise than meant, and the
// same entries where they count.
std::vector<NoteCase> countsNowhereNoteCases();
std::vector<NoteCase> retirementInputNoteCases();
std::vector<NoteCase> uncountedEntryNoteCases();
std::vector<NoteCase> repeatedEntryNoteCases();
// A figure against its source on the same return.
std::vector<NoteCase> sourceFigureNoteCases();

}  // namespace preparer
