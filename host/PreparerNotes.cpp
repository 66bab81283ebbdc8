#include "host/PreparerNotes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "host/FederalColumnSeeds.h"
#include "host/FederalCreditNotes.h"
#include "host/NoteText.h"
#include "host/RetirementExclusionNotes.h"
#include "host/SourceDocumentNotes.h"
#include "host/SourceFigures.h"
#include "host/UncountedEntryNotes.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

// The common items that give each filer's taxable pensions and IRA
// distributions to the retirement exclusion, the taxpayer's first; a 1099-R
// gives it none.
constexpr std::array<Utils::PCTypes, 4> kRetirementIncomeItems = {
    Utils::kPensionsTaxpayer, Utils::kIraDistributionsTaxpayer, Utils::kPensionsSpouse, Utils::kIraDistributionsSpouse};

// The wages line of the state wages worksheet: the Georgia column of a
// part-year resident (entered by the preparer, at most the state wages of
// all the W-2s) and that of a nonresident (box 16 of the W-2s' Georgia
// lines, unless entered).
const StateForm4Lines::Row& kWorksheetWages = kStateForm4Lines.wages;

bool seedsAnyOf(const PersistanceMgmt::ReturnFileContents& loaded, std::span<const Utils::PCTypes> types) {
    if (!loaded.georgia) return false;
    const auto& seeds = loaded.georgia->seeds.commonItems;
    return std::any_of(seeds.begin(), seeds.end(), [&](const PersistanceMgmt::CommonItem& seed) {
        return std::find(types.begin(), types.end(), seed.type) != types.end();
    });
}

// What the calculation reads of a 1099-R: the tax withheld of its state
// lines of the Georgia return's state, a lump sum marked as one, and the
// gross distribution of a copy keyed for form 189215, which shows it.
std::string readOf1099R(const std::string& state) {
    return "their Georgia tax withheld (field " + fieldNumber(kForm84StateRows[0].withheld) +
           " on the first state line, " + fieldNumber(kForm84StateRows[1].withheld) +
           " on the second, where the line's state is " + state +
           "), which counts in the payments, a lump-sum distribution (field " + fieldNumber(kForm84Lines.lumpSum) +
           ", not of a copy marked as the spouse's in box " + fieldNumber(kForm84Lines.spouse) +
           " on a return that is not joint) and the gross distribution (field " +
           fieldNumber(kForm84Lines.grossDistribution) + " of a copy whose field " +
           fieldNumber(kForm84Lines.distributionKey) + " is " + std::to_string(kForm189215StatementKey) +
           ", which form " + std::to_string(kGAForm189215ID.getNumber()) + " holds on line " +
           fieldNumber(kForm189215Lines.distributionsAndPayments) +
           " without taking it off income: the saved return shows the line, the print file only when the form "
           "prints, which it does when it holds an addition or a subtraction)";
}

// Whether the federal return itself answers any of the items (form 1040's
// fields of a return that is not joint).
bool derivesAnyOf(const PersistanceMgmt::ReturnFileContents& loaded, std::span<const Utils::PCTypes> types) {
    if (!loaded.federal) return false;
    const std::vector<PersistanceMgmt::DerivedItem> derived = PersistanceMgmt::deriveCommonItems(loaded);
    return std::any_of(derived.begin(), derived.end(), [&](const PersistanceMgmt::DerivedItem& d) {
        return std::find(types.begin(), types.end(), d.type) != types.end();
    });
}

// Whether a 1099-R may give a filer a taxable pension or IRA distribution:
// one whose taxable amount (box 2a) is 0, a rollover, gives none.
bool aTaxable1099R(const DataMgmt::TaxReturn& federal) {
    const Form84Lines& l = kForm84Lines;
    const std::vector<std::uint16_t> copies = federal.copyNumbers(kForm84ID);
    return std::any_of(copies.begin(), copies.end(), [&](std::uint16_t copy) {
        return federal.isNull(kForm84ID, copy, l.taxableAmount) || federal.getIR(kForm84ID, copy, l.taxableAmount) != 0;
    });
}

std::optional<std::string> retirementIncomeNote(HostSession& session) {
    // The filers' items: a spouse's counts on a joint return only.
    const bool joint = session.georgiaState()->getFilingStatusNumber() == FilingStatus::kJoint;
    const std::span<const Utils::PCTypes> filers(kRetirementIncomeItems.data(), joint ? 4 : 2);
    if (!aTaxable1099R(*session.federal()) || seedsAnyOf(session.loaded(), filers) ||
        derivesAnyOf(session.loaded(), filers)) {
        return std::nullopt;
    }
    std::string items;
    for (std::size_t k = 0; k < filers.size(); ++k) {
        items += (k == 0 ? "" : k + 1 == filers.size() ? " and " : ", ");
        items += PersistanceMgmt::findCommonItem(filers[k])->name;
    }
    return "the federal return holds 1099-R copies (form F84); the Georgia calculation reads " +
           readOf1099R(session.georgiaState()->getAbbreviation()) +
           ", but no taxable pension or IRA distribution: the retirement exclusion takes each filer's from the "
           "common items " +
           items +
           ", none of which the return gives; add them to the Georgia return's <HOST> as <PULLCOMMON FORM=\"F1\" "
           "ITEM=\"pensions-taxpayer\">amount</PULLCOMMON> (gahost items lists them)";
}

// A W-2 state line of the Georgia return's state: the W-2's copy number and
// the line's fields.
struct W2StateLine {
    std::uint16_t copy = 0;
    const SourceStateRow* row = nullptr;
};

std::optional<W2StateLine> firstW2StateLine(const DataMgmt::TaxReturn& federal, const std::string& state) {
    for (const std::uint16_t copy : federal.copyNumbers(kForm52ID)) {
        for (const SourceStateRow& row : kForm52StateRows) {
            if (Utils::QVStringUtils::stricmp(federal.formString(kForm52ID, copy, row.state), state) == 0) {
                return W2StateLine{copy, &row};
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> georgiaWagesNote(HostSession& session) {
    const StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const std::int64_t residency = georgia.getIN(kGAForm69ID, 1, kForm69Lines.residency.code);
    if (residency != Residency::kPartYear && residency != Residency::kNonresident) return std::nullopt;
    const bool partYear = residency == Residency::kPartYear;
    const FieldId& column = partYear ? kWorksheetWages.resident : kWorksheetWages.nonresident;
    if (georgia.getIR(kStateForm4ID, 1, column) != 0.0) return std::nullopt;
    const std::string state = georgia.getAbbreviation();
    const std::optional<W2StateLine> line = firstW2StateLine(*session.federal(), state);
    if (!line) return std::nullopt;

    const std::string field = fieldNumber(column);
    const std::string worksheetField = "field " + field + " of <FORM DEVNAME=\"ST4\" COPY=\"1\">";
    const std::string note = "W-2 copy " + std::to_string(line->copy) +
                             " (form F52) has a Georgia state line (box 15 \"" + state +
                             "\"), but the Georgia wages of this " + (partYear ? "part-year" : "nonresident") +
                             " return are 0 (field " + field + " of the state wages worksheet, ST4): ";
    if (partYear) {
        return note + "a part-year resident's Georgia wages are not taken from the W-2s; enter the wages earned in " +
               "Georgia in " + worksheetField;
    }
    return note +
           "a nonresident's Georgia wages come from box 16 of the W-2s' Georgia lines; enter them there (field " +
           fieldNumber(line->row->amount) + " of W-2 copy " + std::to_string(line->copy) + "), or in " + worksheetField;
}

// The Georgia share of the interest and the dividends that the statements'
// total lines give (a part-year return's column, a nonresident's, whichever
// the calculation left open) over every copy of the statement.
double statementShare(const DataMgmt::TaxReturn& georgia, const FormId& statement, const StatementTotalLine& regular) {
    double share = 0.0;
    for (const std::uint16_t copy : georgia.copyNumbers(statement)) {
        share += georgia.getIR(statement, copy, regular.partYear) + georgia.getIR(statement, copy, regular.nonresident);
    }
    return share;
}

// A Georgia share of the interest or dividends entered on the statements
// reaches the state wages worksheet only: the part-year schedule takes
// Georgia's interest and dividends from its own entries, so a share that
// these do not hold counts nowhere. The note names the statements' Georgia
// column of the return's residency; a full-year return has none (and its
// schedule counts nowhere).
std::optional<std::string> statementShareNote(HostSession& session) {
    const StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const Form189217Lines& schedule = kForm189217Lines;
    const StatementTotalLine& interest = kStateForm2Lines.statement.regular;
    const std::int64_t residency = georgia.getIN(kGAForm69ID, 1, kForm69Lines.residency.code);
    const bool partYear = residency == Residency::kPartYear;
    if (!partYear && residency != Residency::kNonresident) return std::nullopt;
    const std::string column = "field " + fieldNumber(partYear ? interest.partYear : interest.nonresident) +
                               ", the column of a " + (partYear ? "part-year" : "nonresident") + " return";
    const struct {
        const char* name;
        const FormId& form;
        const StatementTotalLine& regular;
    } statements[] = {{"interest statement (form ST2)", kStateForm2ID, interest},
                      {"dividend statement (form ST3)", kStateForm3ID, kStateForm3Lines.statement.regular}};
    double shares = 0.0;
    std::string given;
    for (const auto& s : statements) {
        const double share = statementShare(georgia, s.form, s.regular);
        if (share <= 0.0) continue;
        shares += share;
        given += std::string(given.empty() ? "the " : " and the ") + s.name + " " + amountText(share);
    }
    double entered = 0.0;
    for (const FieldId& part : schedule.georgiaInterestParts) entered += georgia.getIR(kGAForm189217ID, 1, part);
    const double unheld = shares - entered;
    if (unheld < 0.005) return std::nullopt;

    const std::string parts = "fields " + fieldNumber(schedule.georgiaInterestParts.front()) + " to " +
                              fieldNumber(schedule.georgiaInterestParts.back());
    return "the statements give a Georgia share of the interest and dividends (" + column + "): " + given +
           ", but the part-year schedule (form GA189217) holds " + amountText(entered) +
           " in its Georgia interest and dividends (" + parts + "), so " + amountText(unheld) +
           " counts nowhere: the schedule takes them from those fields, not from the statements. Enter the "
           "Georgia interest in field " +
           fieldNumber(schedule.georgiaInterestParts[0]) + " and the Georgia dividends in field " +
           fieldNumber(schedule.georgiaInterestParts[1]) + " of <FORM DEVNAME=\"GA189217\" COPY=\"1\">";
}

// On a full-year return the part-year schedule counts nowhere: the
// calculation empties it from its totals on, but keeps the Georgia interest
// and dividends and the amount taken off the Georgia wages entered before
// them, which an amount there would seem to count in.
std::optional<std::string> fullYearScheduleNote(HostSession& session) {
    const StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    if (georgia.getIN(kGAForm69ID, 1, kForm69Lines.residency.code) != Residency::kFullYear ||
        !georgia.formExists(kGAForm189217ID, 1)) {
        return std::nullopt;
    }
    const Form189217Lines& schedule = kForm189217Lines;
    std::string held;
    bool interest = false;
    bool wages = false;
    for (const FieldId& part :
         {schedule.georgiaInterestParts[0], schedule.georgiaInterestParts[1], schedule.georgiaInterestParts[2],
          schedule.georgiaInterestParts[3], schedule.georgiaWagesReduction}) {
        const double amount = georgia.getIR(kGAForm189217ID, 1, part);
        if (amount == 0.0) continue;
        (part == schedule.georgiaWagesReduction ? wages : interest) = true;
        held += (held.empty() ? "" : ", ") + amountText(amount) + " in field " + fieldNumber(part);
    }
    if (held.empty()) return std::nullopt;
    const std::string income = interest && wages ? "wages, interest and dividends"
                               : wages           ? "wages"
                                                 : "interest and dividends";
    return "the part-year schedule (form GA189217) holds " + held +
           " on this full-year return, where the schedule counts nowhere: it counts only on a part-year or "
           "nonresident return, and a full-year return takes its " +
           income + " whole from the federal return";
}

// On a joint return (or one whose federal filing status is not given) form
// 1040 holds the couple's amount of a split item (IRA distributions,
// pensions, business income), and the retirement exclusion takes each
// filer's share from the two filers' items alone. Items that add up to
// another amount are told; a return that gives neither item is told only
// where a filer's exclusion is worked out, since elsewhere the items count
// nowhere (business income only where it would change one).
void jointSplitItemNotes(HostSession& session, std::vector<std::string>& notes) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (!loaded.federal) return;
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    for (const PersistanceMgmt::CoupleAmount& couple : PersistanceMgmt::coupleAmountsToSplit(loaded)) {
        const std::array<Utils::PCTypes, 2> items = {couple.row->item, *couple.row->spouseItem};
        const std::int64_t taxpayer = georgia.pullCommon(georgia.getFederalFormID(), 1, items[0]);
        const std::int64_t spouse = georgia.pullCommon(georgia.getFederalFormID(), 1, items[1]);
        const bool given = seedsAnyOf(loaded, items);
        if (taxpayer + spouse == couple.amount || (!given && !anExclusionIsWorkedOut(georgia))) continue;
        const bool earned = couple.row->item == Utils::kBusinessIncomeTaxpayer;  // else unearned
        if (!given && earned && !earnedIncomeWouldChangeAnExclusion(georgia, static_cast<double>(couple.amount))) {
            continue;
        }
        const std::string field = "field " + std::to_string(couple.row->field);
        const std::string taxpayerItem = PersistanceMgmt::findCommonItem(items[0])->name;
        const std::string spouseItem = PersistanceMgmt::findCommonItem(items[1])->name;
        const std::string gives = given ? "the items " + taxpayerItem + " and " + spouseItem + " give " +
                                              std::to_string(taxpayer) + " and " + std::to_string(spouse) +
                                              ", together " + std::to_string(taxpayer + spouse)
                                        : "the return gives neither item " + taxpayerItem + " nor " + spouseItem;
        notes.push_back(
            std::string(couple.form->title) + " (form " + couple.form->name + ") " + field + " holds the couple's " +
            std::to_string(couple.amount) + ", but " + gives +
            ": on a joint return (or one whose federal filing status is not given) the retirement "
            "exclusion takes each filer's share of " +
            field + " from these items alone; give the two shares, adding up to " + std::to_string(couple.amount) +
            ", in the Georgia return's <HOST> as <PULLCOMMON FORM=\"F1\" ITEM=\"" + taxpayerItem +
            "\">amount</PULLCOMMON> and <PULLCOMMON FORM=\"F1\" ITEM=\"" + spouseItem + "\">amount</PULLCOMMON>");
    }
}

}  // namespace

std::vector<std::string> preparerNotes(HostSession& session) {
    std::vector<std::string> notes;
    retirementExclusionNotes(session, notes);
    for (const std::optional<std::string>& note : {retirementIncomeNote(session), georgiaWagesNote(session),
                                                   statementShareNote(session), fullYearScheduleNote(session)}) {
        if (note) notes.push_back(*note);
    }
    sourceFigureNotes(session, notes);
    if (std::optional<std::string> note = careCreditNote(session)) notes.push_back(*note);
    jointSplitItemNotes(session, notes);
    uncountedEntryNotes(session, notes);
    sourceDocumentNotes(session, notes);
    return notes;
}

}  // namespace GAHost
