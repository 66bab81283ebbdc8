#include "host/SourceDocumentNotes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "host/NoteText.h"
#include "module/catalogues/Form113Lines.h"
#include "module/catalogues/Form190Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/store/DerivedItems.h"
#include "platform/store/StatementForms.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;
using PersistanceMgmt::CopyEntry;
using PersistanceMgmt::FieldEntry;

// The federal statement forms with a state line, as the withholding total
// and form 70's list read them (platform/store/StatementForms.h).
using SourceDocument = StatementForm;

const char* const kLineOrdinals[] = {"first", "second", "third", "fourth"};

const FieldEntry* fieldOf(const CopyEntry& copy, const FieldId& field) {
    for (const FieldEntry& f : copy.fields) {
        if (f.desc->getID().getNumber() == field.getNumber()) return &f;
    }
    return nullptr;
}

// The field's text without blanks around it; empty for an empty field.
std::string textOf(const CopyEntry& copy, const FieldId& field) {
    const FieldEntry* f = fieldOf(copy, field);
    return f == nullptr ? std::string() : Utils::strip(f->value.getText());
}

// A number, a state or a name as two entries of it compare: its letters,
// upper-cased, and digits ("58-1234567" and "581234567" are one number,
// "ga" is "GA").
std::string numberKey(const std::string& text) {
    std::string key;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) key += static_cast<char>(std::toupper(c));
    }
    return key;
}

// The field's amount in dollars (its stored number shifted by its edit
// code); 0 for an empty field.
double dollarsOf(const CopyEntry& copy, const FieldId& field) {
    const FieldEntry* f = fieldOf(copy, field);
    if (f == nullptr || !f->value.isNumber()) return 0.0;
    return DataMgmt::displayAmount(f->value.getNumber(), f->desc->getEditCode());
}

bool isCopyOf(const CopyEntry& copy, const FormId& form) { return copy.desc->getTypeID() == form; }

// Whether the field is one of a state line's: the state line that holds
// Georgia may be another on each copy of one document.
bool onAStateLine(const SourceDocument& document, const FieldId& field) {
    for (const SourceStateRow& line : document.lines) {
        for (const FieldId* f : {&line.state, &line.withheld, &line.stateId, &line.amount, &line.otherAmount,
                                 &line.localTax, &line.locality}) {
            if (f->getNumber() == field.getNumber()) return true;
        }
    }
    return false;
}

// Whether every amount of `copy` outside its state lines stands the same in
// `other` (an empty field as 0); sets `any` when one of its amounts, on a
// state line or not, is not 0.
bool amountsStandIn(const SourceDocument& document, const CopyEntry& copy, const CopyEntry& other, bool& any) {
    for (const FieldEntry& f : copy.fields) {
        if (!f.value.isNumber()) continue;
        any = any || f.value.getNumber() != 0.0;
        if (onAStateLine(document, f.desc->getID())) continue;
        const FieldEntry* theirs = fieldOf(other, f.desc->getID());
        if ((theirs != nullptr && theirs->value.isNumber() ? theirs->value.getNumber() : 0.0) != f.value.getNumber()) {
            return false;
        }
    }
    return true;
}

// A state line as two copies compare it: its state, its state ID number and
// its amounts in dollars (tax withheld, the state's amount, local tax).
struct StateLine {
    std::string state, stateId;
    std::array<double, 4> amounts{};
    auto operator<=>(const StateLine&) const = default;
};

std::vector<StateLine> stateLinesOf(const SourceDocument& document, const CopyEntry& copy) {
    std::vector<StateLine> lines;
    for (const SourceStateRow& line : document.lines) {
        lines.push_back({.state = numberKey(textOf(copy, line.state)),
                         .stateId = numberKey(textOf(copy, line.stateId)),
                         .amounts = {dollarsOf(copy, line.withheld), dollarsOf(copy, line.amount),
                                     dollarsOf(copy, line.otherAmount), dollarsOf(copy, line.localTax)}});
    }
    return lines;
}

// The lines in an order of their own: which of its lines a copy gives a
// state on is no part of what it reports.
std::vector<StateLine> inAnyOrder(std::vector<StateLine> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Whose the copy is, as what it reports counts: the spouse's when its box
// marks it so; where the form has no such box, the copy's owner on a return
// the host takes as joint (one without OWNER reaches neither filer),
// elsewhere the taxpayer, OWNER given or not.
std::optional<PersistanceMgmt::Filer> ownerOf(const SourceDocument& document, const CopyEntry& copy, bool joint) {
    using PersistanceMgmt::Filer;
    if (!document.spouseBox.isNullID()) {
        const FieldEntry* box = fieldOf(copy, document.spouseBox);
        return box != nullptr && box->value.boxYes() ? Filer::Spouse : Filer::Taxpayer;
    }
    return joint ? copy.owner : Filer::Taxpayer;
}

// How the later copy repeats the earlier.
enum class Repeat { None, Same, LinesMoved };

// Whether the later copy repeats the earlier in every amount and number: one
// owner, one payer's number, the same state lines (each one state, state ID
// number and amounts, on whichever of its lines each copy gives it), and
// every other amount the same; copies without an amount repeat nothing.
Repeat repeats(const SourceDocument& document, const CopyEntry& earlier, const CopyEntry& later, bool joint) {
    const auto same = [&](const FieldId& f) { return numberKey(textOf(earlier, f)) == numberKey(textOf(later, f)); };
    if (ownerOf(document, earlier, joint) != ownerOf(document, later, joint) || !same(document.payerId) ||
        !same(document.payerName)) {
        return Repeat::None;
    }
    const std::vector<StateLine> earlierLines = stateLinesOf(document, earlier);
    const std::vector<StateLine> laterLines = stateLinesOf(document, later);
    if (inAnyOrder(earlierLines) != inAnyOrder(laterLines)) return Repeat::None;
    bool any = false;
    if (!amountsStandIn(document, earlier, later, any) || !amountsStandIn(document, later, earlier, any) || !any) {
        return Repeat::None;
    }
    return earlierLines == laterLines ? Repeat::Same : Repeat::LinesMoved;
}

void repeatedCopyNotes(const PersistanceMgmt::ReturnFileContents& loaded, std::vector<std::string>& notes) {
    const bool joint = PersistanceMgmt::statedFilingStatus(loaded).value_or(FederalFilingStatus::kJoint) ==
                       FederalFilingStatus::kJoint;
    for (const SourceDocument& document : kStatementForms) {
        std::vector<const CopyEntry*> copies;
        for (const CopyEntry& c : loaded.federal->copies) {
            if (!isCopyOf(c, document.form)) continue;
            for (const CopyEntry* earlier : copies) {
                const Repeat repeat = repeats(document, *earlier, c, joint);
                if (repeat == Repeat::None) continue;
                const std::string later = "copy " + std::to_string(c.copy);
                notes.push_back(
                    std::string(document.name) + " " + later + " (form F" + std::to_string(document.form.getNumber()) +
                    ") repeats copy " + std::to_string(earlier->copy) + " in every amount and number" +
                    (repeat == Repeat::LinesMoved ? ", its state lines in another order" : "") +
                    ": both count, so what they report counts twice wherever "
                    "the return takes it from them (" +
                    document.reports + " among it); if it is one " + document.name + " entered twice, remove " + later);
                break;
            }
            copies.push_back(&c);
        }
    }
}

// A listed dependent as two copies of federal form 113 (a row: first name,
// last name, number, relationship) compare it: its first and last names as
// one key ("Leo" and "Rivera" are "LEORIVERA", as "Leo Rivera" in the first
// name alone is; empty when it has neither), and whether it gives a number.
struct Dependent {
    const CopyEntry* copy;
    std::string name;
    bool numbered;
};

Dependent dependentOf(const CopyEntry& copy) {
    const std::string number = textOf(copy, kForm113Lines.row[2]);
    return {.copy = &copy,
            .name = numberKey(textOf(copy, kForm113Lines.row[0]) + textOf(copy, kForm113Lines.row[1])),
            .numbered = std::ranges::any_of(number, [](unsigned char c) { return std::isdigit(c) != 0; })};
}

// Two listed dependents under one name, one of them or both without a
// number: a number given twice is refused, but without one nothing tells
// the two apart, and each counts among the return's dependents.
void repeatedDependentNotes(const PersistanceMgmt::ReturnPart& federal, std::vector<std::string>& notes) {
    const Form113Lines& f113 = kForm113Lines;
    std::vector<Dependent> listed;
    for (const CopyEntry& c : federal.copies) {
        const FieldEntry* box = isCopyOf(c, kForm113ID) ? fieldOf(c, f113.listed) : nullptr;
        if (box == nullptr || !box->value.boxYes()) continue;
        const Dependent dependent = dependentOf(c);
        for (const Dependent& earlier : listed) {
            if (dependent.name.empty() || earlier.name != dependent.name || (earlier.numbered && dependent.numbered)) {
                continue;
            }
            const std::string later = "copy " + std::to_string(c.copy);
            notes.push_back("federal form 113 " + later + " (form F113) names the dependent of copy " +
                            std::to_string(earlier.copy->copy) + ", " +
                            Utils::strip(textOf(c, f113.row[0]) + " " + textOf(c, f113.row[1])) + " (fields " +
                            fieldNumber(f113.row[0]) + " and " + fieldNumber(f113.row[1]) + "), and " +
                            (earlier.numbered || dependent.numbered ? "only one of them gives" : "neither gives") +
                            " the dependent's number (field " + fieldNumber(f113.row[2]) + "): both are listed (box " +
                            fieldNumber(f113.listed) + "), so form 70 counts the dependent twice (field " +
                            fieldNumber(kForm70Lines.exemptions.dependents) +
                            ", the dependents' exemptions); if it is one dependent entered twice, remove " + later +
                            ", else enter each dependent's number");
            break;
        }
        listed.push_back(dependent);
    }
}

// A Georgia line's tax withheld at or above the state amount it was withheld
// from (a W-2's box 17 at or above its box 16): the two swapped, or one
// mistyped; the tax withheld counts as it stands.
void withheldBeyondAmountNote(const CopyEntry& c, const std::string& named, std::size_t k, const SourceStateRow& line,
                              std::vector<std::string>& notes) {
    const double withheld = dollarsOf(c, line.withheld);
    const double amount = dollarsOf(c, line.amount) + dollarsOf(c, line.otherAmount);
    if (line.amount.isNullID() || amount <= 0.0 || withheld < amount) return;
    notes.push_back(named + ": its " + kLineOrdinals[k] + " state line gives Georgia tax withheld of " +
                    amountText(withheld) + " (field " + fieldNumber(line.withheld) +
                    "), at or above the state amount it was withheld from, " + amountText(amount) + " (field " +
                    fieldNumber(line.amount) + "), and the Georgia tax withheld counts " + amountText(withheld) +
                    ": if the two are swapped or one is mistyped, enter each as the statement shows it");
}

// Tax withheld on a state line without a state counts in no state's tax
// withheld; and a statement's Georgia tax withheld on two of its state
// lines counts twice, which is told where the Georgia return takes its tax
// withheld from the state lines (no seed of it).
void stateLineNotes(const PersistanceMgmt::ReturnFileContents& loaded, const std::string& state,
                    std::vector<std::string>& notes) {
    const bool fromLines = !loaded.georgia || !loaded.georgia->seeds.stateTaxWithheldNoLocal;
    for (const SourceDocument& document : kStatementForms) {
        for (const CopyEntry& c : loaded.federal->copies) {
            if (!isCopyOf(c, document.form)) continue;
            const std::string named = std::string(document.name) + " copy " + std::to_string(c.copy) + " (form F" +
                                      std::to_string(document.form.getNumber()) + ")";
            std::vector<const SourceStateRow*> georgiaLines;
            for (std::size_t k = 0; k < document.lines.size(); ++k) {
                const SourceStateRow& line = document.lines[k];
                const double withheld = dollarsOf(c, line.withheld);
                if (withheld == 0.0) continue;
                if (namesState(textOf(c, line.state), state) && document.withholdingCounts(withheld)) {
                    georgiaLines.push_back(&line);
                    withheldBeyondAmountNote(c, named, k, line, notes);
                }
                if (!textOf(c, line.state).empty()) continue;
                notes.push_back(named + ": its " + kLineOrdinals[k] + " state line holds tax withheld, " +
                                amountText(withheld) + " (field " + fieldNumber(line.withheld) +
                                "), but no state (field " + fieldNumber(line.state) +
                                "), so it counts in no state's tax withheld, the Georgia return's included; if it "
                                "was withheld for Georgia, enter " +
                                state + " in field " + fieldNumber(line.state));
            }
            if (georgiaLines.size() >= 2 && fromLines) {
                const double first = dollarsOf(c, georgiaLines[0]->withheld);
                const double second = dollarsOf(c, georgiaLines[1]->withheld);
                notes.push_back(named + " names Georgia on two of its state lines, each with tax withheld, " +
                                amountText(first) + " (field " + fieldNumber(georgiaLines[0]->withheld) + ") and " +
                                amountText(second) + " (field " + fieldNumber(georgiaLines[1]->withheld) +
                                "): both count in the Georgia tax withheld, together " + amountText(first + second) +
                                "; if the second repeats the first, empty the second line");
            }
        }
    }
}

// A dated row of federal form 190: its number (from 1) and its fields.
struct DatedRow {
    int number = 0;
    FieldId date, amount, state, exclusion;
};

// The dated rows, by the numbers of the first row's fields and the distance
// from one row to the next.
std::vector<DatedRow> datedRows() {
    const Form190Lines& f190 = kForm190Lines;
    const std::int32_t first = f190.datedRows.firstRow.getNumber();
    const std::int32_t stride = f190.datedRows.secondRow.getNumber() - first;
    std::vector<DatedRow> rows;
    for (std::int32_t date = first, k = 0; date <= f190.datedRows.lastRow.getNumber(); date += stride, ++k) {
        const std::int32_t offset = date - first;
        rows.push_back({.number = k + 1,
                        .date = FieldId(date),
                        .amount = FieldId(f190.firstAmount.getNumber() + offset),
                        .state = FieldId(f190.firstState.getNumber() + offset),
                        .exclusion = FieldId(f190.firstExclusion.getNumber() + k)});
    }
    return rows;
}

// A date as two entries of it compare: yyyymmdd, or the text when it is none.
std::string dateKey(const std::string& text) {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(std::string_view(text), year, month, day)) return text;
    return std::to_string(year * 10000 + month * 100 + day);
}

// A dated row of Georgia's estimated tax paid repeats an earlier one in its
// date and amount: both count in the payments. A row without its date counts
// in the payments but in no installment of the penalty. A Georgia row names Georgia,
// or no state with an amount above 0, and its box does not leave it off
// form 69; a row of no amount counts nothing.
void repeatedPaymentNotes(const PersistanceMgmt::ReturnPart& federal, const std::string& state,
                          std::vector<std::string>& notes) {
    const CopyEntry* form190 = nullptr;
    for (const CopyEntry& c : federal.copies) {
        if (isCopyOf(c, kForm190ID) && c.copy == 1) form190 = &c;
    }
    if (form190 == nullptr) return;
    std::vector<const DatedRow*> georgiaRows;
    const std::vector<DatedRow> rows = datedRows();
    for (const DatedRow& row : rows) {
        const double amount = dollarsOf(*form190, row.amount);
        const std::string named = numberKey(textOf(*form190, row.state));
        const FieldEntry* exclusion = fieldOf(*form190, row.exclusion);
        if (amount == 0.0 || (named != numberKey(state) && !(named.empty() && amount > 0.0)) ||
            (exclusion != nullptr && exclusion->value.isBox() && exclusion->value.boxYes())) {
            continue;
        }
        const std::string date = textOf(*form190, row.date);
        if (date.empty() && amount > 0.0) {
            notes.push_back("federal form 190 (form F190): dated row " + std::to_string(row.number) +
                            " holds a Georgia payment of " + amountText(amount) + " (field " + fieldNumber(row.amount) +
                            ") without its date (field " + fieldNumber(row.date) +
                            "): it counts in the Georgia estimated tax paid (form 70 field " +
                            fieldNumber(kForm70Lines.payments.estimated) +
                            "), but the underpayment penalty (form 71) counts it in none of its installments; "
                            "enter the date it was paid");
        }
        for (const DatedRow* earlier : georgiaRows) {
            if (dateKey(textOf(*form190, earlier->date)) != dateKey(date) ||
                dollarsOf(*form190, earlier->amount) != amount) {
                continue;
            }
            notes.push_back("federal form 190 (form F190): dated row " + std::to_string(row.number) + " repeats row " +
                            std::to_string(earlier->number) + ", a Georgia payment of the same date and amount (" +
                            (date.empty() ? std::string("no date") : date) + ", " + amountText(amount) +
                            "): both count in the Georgia estimated tax paid (form 70 field " +
                            fieldNumber(kForm70Lines.payments.estimated) +
                            "); if it is one payment entered twice, empty row " + std::to_string(row.number) +
                            " (fields " + fieldNumber(row.date) + " to " + fieldNumber(row.state) + ")");
            break;
        }
        georgiaRows.push_back(&row);
    }
}

}  // namespace

void sourceDocumentNotes(HostSession& session, std::vector<std::string>& notes) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (!loaded.federal) return;
    const std::string state = session.georgiaState()->getAbbreviation();
    repeatedCopyNotes(loaded, notes);
    repeatedDependentNotes(*loaded.federal, notes);
    stateLineNotes(loaded, state, notes);
    repeatedPaymentNotes(*loaded.federal, state, notes);
}

}  // namespace GAHost
