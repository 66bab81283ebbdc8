// The rules by which the calculation changes an entry in a field that the
// form definitions do not mark calculated: it empties an entry that counts
// nowhere on the return, holds an amount to a limit, or puts another value
// in its place. Each rule says so in a preparer's words, for the note that
// gahost check and gahost run give of such an entry. (An empty field that
// the calculation fills, and an answer's default that it marks, change no
// entry and need no rule.) A calculated field has a rule where its label
// does not say where its value comes from, or where it takes an entry that
// counts on some returns only (the Georgia share of a statement).
//
// Where the reason for a change depends on the return (which boxes of the
// copy the calculation left marked, the residency, a total being 0, the
// number of installments, the amount held to), a rule
// gives each reason with what must hold on the calculated return for it to
// be the one told, so that a note never gives a reason that does not hold on
// the return it is printed for.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace GAHost {

// What must hold on the calculated return for a reason to be told; a part
// left empty (or 0) asks nothing.
struct Holds {
    std::vector<std::int32_t> marked{};    // boxes of the entry's copy that are marked
    std::vector<std::int32_t> unmarked{};  // boxes of the entry's copy that are not
    std::vector<int> residency{};          // the return's residency code is one of these (Residency::Code)
    std::int32_t zero = 0;                 // a field of the entry's copy that is 0 or empty
    std::int32_t one = 0;                  // a field of the entry's copy that holds 1
    // A field of the entry's copy that holds the value the calculation left
    // in the entry's field (the limit it was held to), less what `less`
    // holds where that is given.
    std::int32_t sameAs = 0;
    std::int32_t less = 0;
    // The entry's sign (1 above 0, -1 below 0); a field of the entry's copy
    // that holds an amount of the other sign than the entry's.
    int entrySign = 0;
    std::int32_t otherSign = 0;
    std::int32_t notZero = 0;  // a field of the entry's copy that is not 0
};

// One reason and when it holds.
struct Reason {
    Holds when{};
    std::string text;
};

// The reasons of one kind of change, in order: the note tells the first
// whose condition holds on the calculated return. A text alone is a reason
// that always holds; none, no reason (the rule does not make that change).
class Reasons {
public:
    Reasons() = default;
    // Implicit, so that a rule gives a reason that always holds as its text.
    Reasons(const char* text) : Reasons(std::string(text)) {}
    Reasons(std::string text) {
        if (!text.empty()) alternatives_.push_back({.text = std::move(text)});
    }
    Reasons(std::initializer_list<Reason> alternatives) : alternatives_(alternatives) {}
    explicit Reasons(std::vector<Reason> alternatives) : alternatives_(std::move(alternatives)) {}

    bool empty() const { return alternatives_.empty(); }
    const std::vector<Reason>& alternatives() const { return alternatives_; }

private:
    std::vector<Reason> alternatives_;
};

struct EntryRule {
    const char* form;                  // the form's dev name ("ST4")
    std::vector<std::int32_t> fields;  // the fields the rule covers
    // Each empty where the rule has none:
    Reasons emptied{};     // why an emptied entry counts nowhere, and where it belongs
    Reasons limit{};       // the limit an amount is held to
    Reasons replaced{};    // what takes an entry's place
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
