// The couple's unearned income that the retirement exclusion of form 189215
// counts on its shared lines, as the calculation reads it from the return:
// for the calculation itself and for a host that tells what a filer without
// an exclusion leaves uncounted. Inline: the host does not link the module.
#pragma once

#include <algorithm>
#include <array>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form57Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Primitives.h"
#include "platform/store/StateDataMgmt.h"

namespace GACalculationMgmt {

// One shared line: what it holds and its amount in dollars, the couple's
// (the spouse's column on a joint return holds the spouse's part).
struct RetirementSharedIncome {
    const char* what;
    double amount;
};
inline constexpr std::size_t kRetirementSharedLines = 6;

// Interest (with the taxable municipal interest), dividends, capital gains,
// rents and royalties, other income (with the other gains and the taxable
// refunds beyond what is taken off), and the further unearned item: of the
// Georgia return `ga` filed on the federal main form `federalForm`, whose
// copy of form 189215 is `schedule`; a full-year return (`fullYear`)
// counts its statements' totals, another return their Georgia part.
inline std::array<RetirementSharedIncome, kRetirementSharedLines> retirementSharedIncome(
    StateDataMgmt::StateTaxReturn& ga, DataMgmt::TaxForm& schedule,
    const Primitives::QVImmutableFormIdentifier& federalForm, bool fullYear) {
    const Form189215Lines& lines = kForm189215Lines;
    const StatementFormLines& interestStatement = kStateForm2Lines.statement;
    const StatementFormLines& dividendStatement = kStateForm3Lines.statement;
    const auto allCopies = [&](const Primitives::QVImmutableFormIdentifier& form,
                               const Primitives::QVImmutableIdentifier& x) {
        return static_cast<double>(ga.getAllCopies(form, x));
    };
    const auto common = [&](Utils::PCTypes item) { return static_cast<double>(ga.pullCommon(federalForm, 1, item)); };
    const double interest = fullYear ? allCopies(kStateForm2ID, interestStatement.regular.total) +
                                           allCopies(kStateForm2ID, interestStatement.outOfStateMunicipal.total)
                                     : schedule.getIR(lines.municipalInterestAddition) +
                                           allCopies(kStateForm2ID, interestStatement.regular.total);
    const double dividends = allCopies(kStateForm3ID, dividendStatement.regular.total) +
                             (fullYear ? allCopies(kStateForm3ID, dividendStatement.outOfStateMunicipal.total) : 0.0);
    // Other gains beyond those of federal form 57, and the taxable refunds
    // beyond the amounts entered by state, each not below 0.
    const double other =
        common(Utils::kOtherIncome) +
        std::max(0.0, common(Utils::kOtherGains) - ga.getIR(kForm57ID, 1, kForm57Lines.gainsTakenOff)) +
        std::max(0.0, common(Utils::kTaxableRefunds) - schedule.getIR(lines.byStateTotal)) -
        ga.getIR(kForm57ID, 1, kForm57Lines.incomeTakenOff);
    return {{{"interest", interest},
             {"dividends", dividends},
             {"capital gains", common(Utils::kCapitalGains)},
             {"rents and royalties", common(Utils::kRentsAndRoyalties)},
             {"other income", other},
             {"other unearned income", common(Utils::kOtherUnearned)}}};
}

}  // namespace GACalculationMgmt
