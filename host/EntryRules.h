// The rules by which the calculation changes an entry in a field that the
// form definitions do not mark calculated: it empties an entry that counts
// nowhere on the return, holds an amount to a limit, or puts another value
// in its place. Each rule says so in a preparer's words, for the note that
// gahost check and gahost run give of such an entry. (An empty field that
// the calculation fills, and an answer's default that it marks, change no
// entry and need no rule.)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GAHost {

struct EntryRule {
    const char* form;                  // the form's dev name ("ST4")
    std::vector<std::int32_t> fields;  // the fields the rule covers
    const char* emptied = nullptr;     // why an emptied entry counts nowhere, and where it belongs
    const char* limit = nullptr;       // the limit an amount is held to
    const char* replaced = nullptr;    // what takes an entry's place
};

// Every rule, form by form.
const std::vector<EntryRule>& entryRules();

// The rule of a field of a form (by dev name, any letter case); null when
// none covers it.
const EntryRule* entryRuleOf(const std::string& form, std::int32_t field);

}  // namespace GAHost
