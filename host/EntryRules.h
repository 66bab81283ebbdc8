// The rules by which the calculation changes an entry in a field that the
// form definitions do not mark calculated: it empties an entry that counts
// nowhere on the return, holds an amount to a limit, or puts another value
// in its place. Each rule says so in a preparer's words, for the note that
// gahost check and gahost run give of such an entry. (An empty field that
// the calculation fills, and an answer's default that it marks, change no
// entry and need no rule.) A calculated field has a rule where its label
// does not say where its value comes from, or where it takes an entry that
// counts on some returns only (the Georgia share of a statement).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GAHost {

struct EntryRule {
    const char* form;                  // the form's dev name ("ST4")
    std::vector<std::int32_t> fields;  // the fields the rule covers
    // Each text empty where the rule has none:
    std::string emptied{};   // why an emptied entry counts nowhere, and where it belongs
    std::string limit{};     // the limit an amount is held to
    std::string replaced{};  // what takes an entry's place
    // A box of the same copy that, marked once the return is calculated,
    // puts the `replaced` value in place of the limit (0: none).
    std::int32_t limitUnlessMarked = 0;
    std::string source{};  // a calculated field's: where its value comes from
};

// Every rule, form by form.
const std::vector<EntryRule>& entryRules();

// The rules of the calculated fields (CalculatedFieldRules.cpp).
std::vector<EntryRule> calculatedFieldRules();

// The rule of a field of a form (by dev name, any letter case); null when
// none covers it.
const EntryRule* entryRuleOf(const std::string& form, std::int32_t field);

}  // namespace GAHost
