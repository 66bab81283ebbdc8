#include "host/SourceFigures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "host/FederalColumnSeeds.h"
#include "host/NoteText.h"
#include "host/RetirementExclusionNotes.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/catalogues/WageLineRows.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/store/CommonItemTable.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

// How a figure must agree with its source.
enum class Agreement {
    Equal,   // the figure is the source's amount
    AtMost,  // the figure lies between 0 and the source's amount (on the loss side for a loss)
};

using Pairings = std::vector<SourcePairing>;

// A row of the table: how the figures agree with their sources, the
// figures and their sources that the return gives (each filer's, each
// line's; none where the return gives the figure no source), what a figure
// that disagrees does, and what the preparer does about it.
struct SourceRule {
    Agreement agreement;
    Pairings (*read)(HostSession&);
    const char* follows;
    const char* advice;
};

std::int64_t residencyOf(const StateDataMgmt::StateTaxReturn& ga) {
    return ga.getIN(kGAForm69ID, 1, kForm69Lines.residency.code);
}

std::string itemName(Utils::PCTypes item) { return PersistanceMgmt::findCommonItem(item)->name; }

std::int64_t item(StateDataMgmt::StateTaxReturn& ga, Utils::PCTypes type) {
    return ga.pullCommon(ga.getFederalFormID(), 1, type);
}

double worksheet(const StateDataMgmt::StateTaxReturn& ga, const FieldId& field) {
    return ga.getIR(kStateForm4ID, 1, field);
}

// ---- the federal adjusted gross income and the federal return's figures

// Whether the federal return's own figures give its adjusted gross income:
// form 1040EZ's always; a part-year or nonresident return's, whose
// calculation takes the federal column and refuses an item it lacks; form
// 1040's and 1040A's where an income or adjustment line is entered and no
// item is seeded that their lines leave out.
bool federalFiguresGiveAgi(HostSession& session) {
    StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    if (!ga.formExists(kStateForm4ID, 1)) return false;
    const std::int64_t residency = residencyOf(ga);
    if (ga.getFederalFormID() == kForm87ID || residency == Residency::kPartYear ||
        residency == Residency::kNonresident) {
        return true;
    }
    const StateForm4Lines& s4 = kStateForm4Lines;
    const auto entered = [&](const FieldId& line) { return worksheet(ga, line) != 0.0; };
    const bool aLine = std::any_of(kWageLineRows.begin(), kWageLineRows.end(),
                                   [&](const WageLineRowLines& row) { return entered(row.federal); }) ||
                       entered(s4.taxpayerAdjustment.federal) || entered(s4.spouseAdjustment.federal);
    return aLine && !itemsOutsideTheFederalColumn(session);
}

Pairings federalAgi(HostSession& session) {
    if (!federalFiguresGiveAgi(session)) return {};
    StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    const StateForm4Lines& s4 = kStateForm4Lines;
    const double column = std::round(worksheet(ga, s4.incomeTotal.federal) - worksheet(ga, s4.adjustmentTotal.federal));
    return {{.figure = "the federal adjusted gross income, the item " + itemName(Utils::kFederalAgi),
             .amount = static_cast<double>(item(ga, Utils::kFederalAgi)),
             .source = "the federal return's own figures, the federal column of the state wages worksheet (form ST4: "
                       "the total income, field " +
                       fieldNumber(s4.incomeTotal.federal) + ", less the adjustments, field " +
                       fieldNumber(s4.adjustmentTotal.federal) + ")",
             .sourceAmount = column}};
}

// ---- the Georgia parts of a part-year or nonresident return

// "income line 43 (business income)": the line's label up to its colon.
std::string lineName(const StateDataMgmt::StateTaxReturn& ga, const FieldId& federal) {
    std::string label = ga.getTaxReturnDesc()->getTaxFormDescriptor(kStateForm4ID)->getFieldDesc(federal)->getLineID();
    label = label.substr(0, label.find(':'));
    if (!label.empty()) label[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(label[0])));
    return label;
}

// Each line of the state wages worksheet in the Georgia column of the
// return's residency, and the part-year schedule's Georgia interest and
// dividends.
Pairings georgiaParts(HostSession& session) {
    StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    const std::int64_t residency = residencyOf(ga);
    if (residency != Residency::kPartYear && residency != Residency::kNonresident) return {};
    Pairings parts;
    if (ga.formExists(kStateForm4ID, 1)) {
        const StateForm4Lines& s4 = kStateForm4Lines;
        std::vector<const StateForm4Lines::Row*> rows = {&s4.wages, &s4.otherWages};
        for (const StateForm4Lines::Row& row : s4.incomeLines) rows.push_back(&row);
        for (const StateForm4Lines::Row& row : s4.adjustmentLines) rows.push_back(&row);
        for (const StateForm4Lines::Row* row : rows) {
            const FieldId& column = residency == Residency::kPartYear ? row->resident : row->nonresident;
            parts.push_back({.figure = "the Georgia part of " + lineName(ga, row->federal) +
                                       " of the state wages worksheet (form ST4 field " + fieldNumber(column) + ")",
                             .amount = worksheet(ga, column),
                             .source = "its federal amount (field " + fieldNumber(row->federal) + ")",
                             .sourceAmount = worksheet(ga, row->federal)});
        }
    }
    if (ga.formExists(kGAForm189217ID, 1)) {
        const Form189217Lines& l = kForm189217Lines;
        const auto line = [&](const FieldId& x) { return ga.getIR(kGAForm189217ID, 1, x); };
        double entered = 0.0;
        for (const FieldId& part : l.georgiaInterestParts) entered += line(part);
        parts.push_back(
            {.figure =
                 "the sum of the Georgia interest and dividends of the part-year schedule (form GA189217 fields " +
                 fieldNumber(l.georgiaInterestParts.front()) + " to " + fieldNumber(l.georgiaInterestParts.back()) +
                 ")",
             .amount = entered,
             .source = "the federal interest and dividends (fields " + fieldNumber(l.federalInterest) + " and " +
                       fieldNumber(l.federalDividends) + ")",
             .sourceAmount = line(l.federalInterest) + line(l.federalDividends)});
    }
    return parts;
}

// ---- each filer's pension and IRA items and the filer's 1099-Rs

struct FilerItems {
    const char* whose;
    bool spouse;  // whose 1099-Rs are the filer's: those marked as the spouse's (box 2), or the others
    Utils::PCTypes pensions, ira;
};
constexpr std::array<FilerItems, 2> kFilerItems{{
    {"taxpayer", false, Utils::kPensionsTaxpayer, Utils::kIraDistributionsTaxpayer},
    {"spouse", true, Utils::kPensionsSpouse, Utils::kIraDistributionsSpouse},
}};

// What one 1099-R gives its filer's pension and IRA items: its taxable
// amount (box 2a), or its gross distribution where it leaves that empty.
double taxableOf(const StateDataMgmt::StateTaxReturn& ga, const DataMgmt::TaxForm& copy) {
    const Form84Lines& l = kForm84Lines;
    const bool given = !copy.isNull(l.taxableAmount);
    return ga.federalDisplayAmount(copy, (given ? l.taxableAmount : l.grossDistribution).getNumber());
}

// "the taxable amounts of the taxpayer's 1099-Rs (form F84 field 6, ...)":
// what the filer's copies give, by which of their fields.
std::string retirementSource(const char* whose, std::size_t copies, std::size_t givingTaxable) {
    const Form84Lines& l = kForm84Lines;
    const std::string gross = fieldNumber(l.grossDistribution);
    const std::string taxable = fieldNumber(l.taxableAmount);
    const std::string spouses = "; box " + fieldNumber(l.spouse) + " marking the spouse's)";
    if (givingTaxable == 0) {
        return std::string("the gross distributions of the ") + whose + "'s 1099-Rs (form F84 field " + gross +
               ", none giving its taxable amount in field " + taxable + spouses;
    }
    return std::string("the taxable amounts of the ") + whose + "'s 1099-Rs (form F84 field " + taxable +
           (givingTaxable < copies ? ", and field " + gross + ", the gross distribution, of a copy that gives none"
                                   : "") +
           spouses;
}

Pairings retirementItems(HostSession& session) {
    StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    const DataMgmt::TaxReturn& federal = *session.federal();
    const auto given = [&](const FilerItems& f) { return item(ga, f.pensions) + item(ga, f.ira); };
    if (federal.getFormCount(kForm84ID) == 0) return {};
    // A return that gives no item of its filers (a spouse's item counts on a
    // joint return only) is asked for them by the note of its 1099-Rs; they
    // are their source all the same.
    const std::size_t filers = ga.getFilingStatusNumber() == FilingStatus::kJoint ? 2 : 1;
    const bool anyGiven = std::any_of(kFilerItems.begin(), kFilerItems.begin() + static_cast<std::ptrdiff_t>(filers),
                                      [&](const FilerItems& f) { return given(f) != 0; });
    Pairings pairings;
    for (std::size_t k = 0; k < filers; ++k) {
        const FilerItems& f = kFilerItems[k];
        double taxable = 0.0;
        std::size_t copies = 0;
        std::size_t givingTaxable = 0;
        for (const std::uint16_t copy : federal.copyNumbers(kForm84ID)) {
            if (federal.formYes(kForm84ID, copy, kForm84Lines.spouse) != f.spouse) continue;
            const DataMgmt::TaxForm& form = *federal.getForm(kForm84ID, copy);
            taxable += taxableOf(ga, form);
            ++copies;
            if (!form.isNull(kForm84Lines.taxableAmount)) ++givingTaxable;
        }
        pairings.push_back({.figure = std::string("the sum of the ") + f.whose + "'s pension and IRA items (" +
                                      itemName(f.pensions) + " and " + itemName(f.ira) + ")",
                            .amount = static_cast<double>(given(f)),
                            .source = retirementSource(f.whose, copies, givingTaxable),
                            .sourceAmount = taxable,
                            .given = anyGiven});
    }
    return pairings;
}

// Each 1099-R's taxable amount, where it gives one, out of its gross
// distribution.
Pairings taxableAmounts(HostSession& session) {
    const StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    const DataMgmt::TaxReturn& federal = *session.federal();
    const Form84Lines& l = kForm84Lines;
    Pairings pairings;
    for (const std::uint16_t copy : federal.copyNumbers(kForm84ID)) {
        const DataMgmt::TaxForm& form = *federal.getForm(kForm84ID, copy);
        if (form.isNull(l.taxableAmount)) continue;
        const auto amount = [&](const FieldId& x) { return ga.federalDisplayAmount(form, x.getNumber()); };
        pairings.push_back({.figure = "the taxable amount of 1099-R copy " + std::to_string(copy) +
                                      " (form F84 field " + fieldNumber(l.taxableAmount) + ")",
                            .amount = amount(l.taxableAmount),
                            .source = "its gross distribution (field " + fieldNumber(l.grossDistribution) + ")",
                            .sourceAmount = amount(l.grossDistribution)});
    }
    return pairings;
}

// ---- the items of interest and dividends and their statements

// The taxable interest and dividends of a statement: its regular total and
// its total of U.S. obligations (Treasury interest, the U.S. part of fund
// dividends), which the items hold alike and Georgia subtracts. The
// retirement exclusion takes the interest and the dividends from the
// statements on every residency (a full-year return their totals, a
// part-year or nonresident return their regular totals beside its municipal
// interest addition), while the item counts elsewhere (in the federal column
// of the state wages worksheet): held wherever an exclusion is worked out.
Pairings unearnedItems(HostSession& session) {
    StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    if (!anExclusionIsWorkedOut(ga)) return {};
    const struct {
        Utils::PCTypes item;
        const FormId& statement;
        const StatementFormLines& lines;
        const char *named, *sources;
    } kinds[] = {
        {Utils::kTaxableInterest, kStateForm2ID, kStateForm2Lines.statement, "the interest statement (form ST2",
         "the 1099-INTs, form F166, and forms F51 and F89"},
        {Utils::kOrdinaryDividends, kStateForm3ID, kStateForm3Lines.statement, "the dividend statement (form ST3",
         "the 1099-DIVs, form F164, and forms F51 and F89"},
    };
    Pairings pairings;
    for (const auto& kind : kinds) {
        const auto total = [&](const FieldId& x) { return static_cast<double>(ga.getAllCopies(kind.statement, x)); };
        pairings.push_back({.figure = "the item " + itemName(kind.item),
                            .amount = static_cast<double>(item(ga, kind.item)),
                            .source = std::string(kind.named) + " fields " + fieldNumber(kind.lines.regular.total) +
                                      " and " + fieldNumber(kind.lines.usObligations.total) +
                                      ", the regular amounts and those of U.S. obligations, over its copies, from " +
                                      kind.sources + ")",
                            .sourceAmount = total(kind.lines.regular.total) + total(kind.lines.usObligations.total)});
    }
    return pairings;
}

// Every figure held to its source.
constexpr SourceRule kSourceRules[] = {
    {Agreement::Equal, federalAgi,
     "form 70 starts from the item, and the Georgia ratio of a part-year or nonresident return (form GA189217) "
     "divides the Georgia income by the column",
     "enter each W-2 and each income and adjustment of the federal return once, as the federal return holds it, "
     "or correct the item"},
    {Agreement::AtMost, georgiaParts, "the calculation counts a Georgia part as it is entered",
     "enter the part earned in Georgia alone, between 0 and the federal amount (between the federal amount and 0 "
     "for a loss)"},
    {Agreement::Equal, retirementItems,
     "the retirement exclusion takes each filer's pensions and IRA distributions from the filer's items",
     "give each filer's items from the filer's own 1099-Rs, and where a distribution is not all taxable (rolled "
     "over, or a return of the filer's own contributions) enter its taxable amount, box 2a, on the 1099-R"},
    {Agreement::AtMost, taxableAmounts, "each filer's pension and IRA items are held to the taxable amounts",
     "enter box 2a of the 1099-R, which is at most its gross distribution, box 1"},
    {Agreement::AtMost, unearnedItems,
     "the retirement exclusion takes the interest and the dividends from the statements, so what the item gives "
     "beyond them counts in no filer's exclusion",
     "enter the statements that give it"},
};

// The note of a figure that does not agree with its source; none where it
// agrees, or where the return does not give the figure.
std::optional<std::string> disagreement(const SourceRule& rule, const SourcePairing& p) {
    if (!p.given) return std::nullopt;
    const double a = p.amount;
    const double b = p.sourceAmount;
    std::string relation;
    if (rule.agreement == Agreement::Equal) {
        // The items are whole dollars, their sources may hold cents.
        if (std::abs(a - b) < 1.0) return std::nullopt;
        relation = ", differs from " + p.source + ", " + amountText(b) + " (" + (a > b ? "higher" : "lower") + " by " +
                   amountText(std::abs(a - b)) + ")";
    } else {
        const double least = std::min(b, 0.0);
        const double most = std::max(b, 0.0);
        if (a >= least - 0.005 && a <= most + 0.005) return std::nullopt;
        const bool beyond = b >= 0.0 ? a > most : a < least;
        relation =
            (beyond ? ", lies beyond " : ", lies on the other side of 0 from ") + p.source + ", " + amountText(b);
    }
    return p.figure + ", " + amountText(a) + relation + ": " + rule.follows + "; " + rule.advice;
}

}  // namespace

void sourceFigureNotes(HostSession& session, std::vector<std::string>& notes) {
    if (!session.loaded().federal) return;
    for (const SourceRule& rule : kSourceRules) {
        for (const SourcePairing& pairing : rule.read(session)) {
            if (std::optional<std::string> note = disagreement(rule, pairing)) notes.push_back(*note);
        }
    }
}

std::vector<SourcePairing> sourcePairings(HostSession& session) {
    Pairings all;
    if (!session.loaded().federal) return all;
    for (const SourceRule& rule : kSourceRules) {
        for (SourcePairing& pairing : rule.read(session)) all.push_back(std::move(pairing));
    }
    return all;
}

}  // namespace GAHost
