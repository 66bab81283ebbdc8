// The federal statement forms with a state line: wage and gambling
// statements and the information returns (W-2, W-2G, 1099-MISC, form
// 186662, 1099-G, 1099-R, 1099-INT, 1099-DIV and the consolidated
// statement). One table, read alike by everything that takes a state's
// figures from them: the state tax withheld and state wages the host adds,
// the Georgia withholding list of form 70 and its e-file statements, and
// the preparer's notes of a repeated copy and of tax withheld without a
// state.
//
// A state line counts for a state when its state names it (blanks around it
// and case do not count) and its tax withheld qualifies: above 0, or on a
// wage statement any amount but 0; a statement marked as the spouse's counts
// on a joint return only.
#pragma once

#include <array>
#include <cctype>
#include <span>
#include <string_view>

#include "module/catalogues/Form110Lines.h"
#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "module/catalogues/Form186662Lines.h"
#include "module/catalogues/Form52Lines.h"
#include "module/catalogues/Form54Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"

struct StatementForm {
    using Field = Primitives::QVImmutableIdentifier;

    Primitives::QVImmutableFormIdentifier form;
    const char* name;                            // as the filer knows it: "W-2", "1099-INT"
    const char* reports;                         // what it reports, as the notes say it
    Field payerId = Primitives::kNullFieldID;    // null: the statement gives no payer's number
    Field payerName = Primitives::kNullFieldID;  // where it has no number: the payer as it names it
    Field spouseBox = Primitives::kNullFieldID;  // null: the copy's owner says whose it is
    std::span<const SourceStateRow> lines;
    bool wageStatement = false;  // wage and gambling statements
    bool stateWages = false;     // its state amount is wages (W-2)

    // Whether a copy counts on a return of the filing status (the Georgia
    // number): one marked as the spouse's only where the return takes both
    // filers' statements.
    static constexpr bool counts(bool spouseMarked, int filingStatus) {
        return !spouseMarked || FilingStatus::namesBothFilers(filingStatus);
    }
    // Whether a line's tax withheld makes it count for its state.
    constexpr bool withholdingCounts(double withheld) const {
        return form == kForm52ID ? withheld != 0.0 : withheld > 0.0;
    }
};

// Whether a state line's state text names the state `abbreviation`.
inline bool namesState(std::string_view text, std::string_view abbreviation) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) text.remove_suffix(1);
    if (text.size() != abbreviation.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) !=
            std::toupper(static_cast<unsigned char>(abbreviation[i]))) {
            return false;
        }
    }
    return true;
}

// In the order the withholding list walks them.
inline constexpr std::array<StatementForm, 9> kStatementForms{{
    {.form = kForm52ID,
     .name = "W-2",
     .reports = "the wages and the tax withheld",
     .payerId = kForm52Lines.employerId,
     .lines = kForm52StateRows,
     .wageStatement = true,
     .stateWages = true},
    {.form = kForm54ID,
     .name = "W-2G",
     .reports = "the winnings and the tax withheld",
     .payerId = kForm54Lines.payerId,
     .lines = kForm54StateRows,
     .wageStatement = true},
    {.form = kForm110ID,
     .name = "1099-MISC",
     .reports = "the income and the tax withheld",
     .payerId = kForm110Lines.payerId,
     .lines = kForm110StateRows},
    {.form = kForm186662ID,
     .name = "form 186662",
     .reports = "the income and the tax withheld",
     .payerId = kForm186662Lines.payerId,
     .lines = kForm186662StateRows},
    {.form = kForm165ID,
     .name = "1099-G",
     .reports = "the payments and the tax withheld",
     .payerId = kForm165Lines.payerId,
     .spouseBox = kForm165Lines.spousesStatement,
     .lines = kForm165Lines.stateRows},
    {.form = kForm84ID,
     .name = "1099-R",
     .reports = "the distributions and the tax withheld",
     .payerId = kForm84Lines.payerId,
     .spouseBox = kForm84Lines.spouse,
     .lines = kForm84StateRows},
    {.form = kForm166ID,
     .name = "1099-INT",
     .reports = "the interest and the tax withheld",
     .payerName = kForm166Lines.payer,
     .spouseBox = kForm166Lines.spouse,
     .lines = kForm166StateRows},
    {.form = kForm164ID,
     .name = "1099-DIV",
     .reports = "the dividends and the tax withheld",
     .payerName = kForm164Lines.payer,
     .spouseBox = kForm164Lines.spouse,
     .lines = kForm164StateRows},
    {.form = kForm135ID,
     .name = "consolidated statement",
     .reports = "the income and the tax withheld",
     .lines = kForm135StateRows},
}};

// The table's row of a form; null when the form has no state line.
inline const StatementForm* statementFormOf(std::int32_t formNumber) {
    for (const StatementForm& statement : kStatementForms) {
        if (statement.form.getNumber() == formNumber) return &statement;
    }
    return nullptr;
}
