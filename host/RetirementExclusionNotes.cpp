#include "host/RetirementExclusionNotes.h"

#include <algorithm>
#include <array>
#include <optional>

#include "host/NoteText.h"
#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form52Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/ga_calc/RetirementIncome.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
namespace TaxYear = GACalculationMgmt::TaxYear;

std::string itemName(Utils::PCTypes item) { return PersistanceMgmt::findCommonItem(item)->name; }
std::string dollars(double amount) { return std::to_string(Utils::roundR(amount)); }

// Whether the Georgia return seeds the item.
bool seeds(const PersistanceMgmt::ReturnFileContents& loaded, Utils::PCTypes item) {
    if (!loaded.georgia) return false;
    const auto& given = loaded.georgia->seeds.commonItems;
    return std::any_of(given.begin(), given.end(),
                       [&](const PersistanceMgmt::CommonItem& seed) { return seed.type == item; });
}

// An item as the calculation reads it (seeded or answered by the federal
// return).
std::int64_t pulled(StateDataMgmt::StateTaxReturn& georgia, Utils::PCTypes item) {
    return georgia.pullCommon(georgia.getFederalFormID(), 1, item);
}

// One filer's entries that the exclusion reads.
struct Filer {
    const char* who;
    FieldId birthDate;  // form F92
    std::array<Utils::PCTypes, 2> retirementItems;
    bool spouse;  // whose 1099-R copies are the filer's: those marked as the spouse's (box 2) or the others
};

const std::array<Filer, 2> kFilers = {{
    {"taxpayer", kForm92Lines.taxpayer.birthDate, {Utils::kPensionsTaxpayer, Utils::kIraDistributionsTaxpayer}, false},
    {"spouse", kForm92Lines.spouse.birthDate, {Utils::kPensionsSpouse, Utils::kIraDistributionsSpouse}, true},
}};

// "1099-R copy 1 (form F84), pensions-taxpayer 20000": the retirement income
// that the return gives the filer; empty when none.
std::string retirementIncomeOf(HostSession& session, const Filer& filer, bool joint) {
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    std::vector<std::string> given;
    for (const std::uint16_t copy : session.federal()->copyNumbers(kForm84ID)) {
        if (session.federal()->formYes(kForm84ID, copy, kForm84Lines.spouse) != filer.spouse) continue;
        given.push_back("1099-R copy " + std::to_string(copy) + " (form F84)");
    }
    for (const Utils::PCTypes item : filer.retirementItems) {
        if (const std::int64_t amount = pulled(georgia, item))
            given.push_back(itemName(item) + " " + std::to_string(amount));
    }
    // A joint return's amount on form 1040 that neither filer's item splits.
    for (const PersistanceMgmt::CoupleAmount& couple : PersistanceMgmt::coupleAmountsToSplit(session.loaded())) {
        const bool retirement = std::find(kFilers[0].retirementItems.begin(), kFilers[0].retirementItems.end(),
                                          couple.row->item) != kFilers[0].retirementItems.end();
        if (!joint || !retirement || couple.amount == 0 || seeds(session.loaded(), couple.row->item) ||
            seeds(session.loaded(), *couple.row->spouseItem)) {
            continue;
        }
        given.push_back(std::string(couple.form->title) + " field " + std::to_string(couple.row->field) +
                        ", the couple's " + std::to_string(couple.amount));
    }
    std::string text;
    for (const std::string& g : given) text += (text.empty() ? "" : ", ") + g;
    return text;
}

// The filer's share of the couple's unearned income that the exclusion
// counts on its shared lines (form 189215), above 0, as "capital gains 5000
// (form 189215 field 189307)": the spouse's is the spouse's column of a joint
// return, the taxpayer's the rest; empty when there is none.
std::string sharedIncomeOf(StateDataMgmt::StateTaxReturn& georgia, bool spouse, bool joint) {
    const DataMgmt::TaxFormPtr schedule = georgia.getForm(kGAForm189215ID, 1);
    if (schedule.isNull()) return {};
    // Read as the calculation reads them, a full-year return by form 69's box.
    const auto income =
        GACalculationMgmt::retirementSharedIncome(georgia, *schedule, georgia.getFederalFormID(),
                                                  georgia.formYes(kGAForm69ID, 1, kForm69Lines.residency.fullYear));
    const Form189215Lines& l = kForm189215Lines;
    std::string text;
    for (std::size_t k = 0; k < income.size(); ++k) {
        const double spouses = joint ? schedule->getIR(l.spouseRetirement.shared[k]) : 0.0;
        const double share = spouse ? spouses : income[k].amount - spouses;
        if (Utils::roundR(share) <= 0) continue;
        const FieldId& line = spouse ? l.spouseRetirement.shared[k] : l.taxpayerRetirement.shared[k];
        text += (text.empty() ? "" : ", ") + std::string(income[k].what) + " " + dollars(share) + " (form " +
                std::to_string(kGAForm189215ID.getNumber()) + " field " + fieldNumber(line) + ")";
    }
    return text;
}

// A filer's exclusion as the worksheet of form 189215 works it out again
// with `more` earned income: earned income counts from 0 up to 4,000, beside
// the unearned income, within the filer's limit (the limit of the filer's
// age, else the lower one of a filer qualified by disability).
double exclusionWith(const StateDataMgmt::StateTaxReturn& georgia, const Form189215Lines::RetirementWorksheet& w,
                     double more) {
    const auto line = [&](const FieldId& x) { return georgia.getIR(kGAForm189215ID, 1, x); };
    const double limit =
        georgia.formYes(kGAForm189215ID, 1, w.qualifiesByAge) ? line(w.limit) : TaxYear::kRetirementLowerLimit;
    const double counted = std::clamp(line(w.earnedIncome) + more, 0.0, TaxYear::kRetirementEarnedIncomeLimit);
    return std::min(counted + line(w.unearnedIncome), limit);
}

// Each filer whose exclusion counts and whose birth date is empty where the
// return says, or may say, that the filer qualifies by age; one note for
// them all.
void birthDateNote(HostSession& session, std::vector<std::string>& notes) {
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const DataMgmt::TaxReturn& federal = *session.federal();
    const bool joint = georgia.getFilingStatusNumber() == FilingStatus::kJoint;
    const std::size_t filers = joint ? 2 : 1;
    bool anyDate = false;
    for (std::size_t k = 0; k < filers; ++k) anyDate |= federal.hasSigValue(kForm92ID, 1, kFilers[k].birthDate);
    std::string missing;
    for (std::size_t k = 0; k < filers; ++k) {
        const Filer& filer = kFilers[k];
        if (federal.hasSigValue(kForm92ID, 1, filer.birthDate)) continue;
        std::string why;
        if (const PersistanceMgmt::Aged65Mark mark = PersistanceMgmt::aged65Mark(session.loaded(), filer.spouse);
            mark.marked) {
            why = "whom the return marks 65 or over (" + mark.where + ")";
        } else if (const std::string income = retirementIncomeOf(session, filer, joint); !income.empty()) {
            why = "to whom the return gives retirement income (" + income + ")";
        } else if (const std::string shared = sharedIncomeOf(georgia, filer.spouse, joint);
                   !shared.empty() && (filer.spouse || !anyDate)) {
            // The taxpayer's column holds what no filer's share names, told
            // where no filer gives a birth date; the spouse's is entered.
            why = filer.spouse ? "whose share of the couple's unearned income the return gives (" + shared + ")"
                               : "on a return that gives unearned income the exclusion counts (" + shared +
                                     ") and no filer's birth date";
        } else {
            continue;
        }
        missing += std::string(missing.empty() ? "" : "; ") + "the " + filer.who + "'s (field " +
                   fieldNumber(filer.birthDate) + "), " + why;
    }
    if (missing.empty()) return;
    notes.push_back(
        "the retirement exclusion (form " + std::to_string(kGAForm189215ID.getNumber()) +
        ") takes a filer's age from the filer's birth date on form F92 alone, which the return leaves empty: " +
        missing + ". A filer born in " + std::to_string(TaxYear::kRetirementLatestBirthYear) +
        " or before excludes pensions, IRA distributions, interest, dividends and other unearned income, and up to " +
        dollars(TaxYear::kRetirementEarnedIncomeLimit) + " of earned income, within a limit of " +
        dollars(TaxYear::kRetirementLowerLimit) + " (" + dollars(TaxYear::kRetirementFullLimit) + " when born in " +
        std::to_string(TaxYear::kRetirementFullLimitLatestBirthYear) +
        " or before); without the birth date the filer does not qualify by age. Enter it in <FORM DEVNAME=\"F92\" "
        "COPY=\"1\"> as MM/DD/YYYY");
}

// W-2s that do not say whose they are leave a return the host takes as
// joint without either filer's wages item, from which alone the exclusion
// takes each filer's wages: told where the wages that reach neither item
// would change a filer's exclusion.
void w2OwnerNote(HostSession& session, std::vector<std::string>& notes) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    if (PersistanceMgmt::deriveW2Split(loaded) || !anExclusionIsWorkedOut(georgia)) return;
    std::vector<std::string> copies;
    for (const PersistanceMgmt::CopyEntry& c : loaded.federal->copies) {
        if (PersistanceMgmt::statesItsOwner(c.desc->getTypeID()) && !c.owner) copies.push_back(std::to_string(c.copy));
    }
    double wages = 0.0;
    for (DataMgmt::TaxFormIter it = session.federal()->getForms(kForm52ID); !it.atEOL(); it.next()) {
        wages += georgia.federalDisplayAmount(*it.getTaxForm(), kForm52Lines.wages.getNumber());
    }
    const std::int64_t taxpayer = pulled(georgia, Utils::kWagesTaxpayer);
    const std::int64_t spouse = pulled(georgia, Utils::kWagesSpouse);
    if (copies.empty() || taxpayer + spouse == Utils::roundR(wages) ||
        !earnedIncomeWouldChangeAnExclusion(georgia, wages - static_cast<double>(taxpayer + spouse))) {
        return;
    }
    std::string listed;
    for (std::size_t k = 0; k < copies.size(); ++k) {
        listed += (k == 0 ? "" : k + 1 == copies.size() ? " and " : ", ") + copies[k];
    }
    const bool one = copies.size() == 1;
    notes.push_back(std::string(one ? "W-2 copy " : "W-2 copies ") + listed + " (form F52) " +
                    (one ? "does not say whose it is" : "do not say whose they are") +
                    ", so on a joint return (or one whose federal filing status is not given) no W-2's wages "
                    "reach the filers' items: the items " +
                    itemName(Utils::kWagesTaxpayer) + " and " + itemName(Utils::kWagesSpouse) + " give " +
                    std::to_string(taxpayer) + " and " + std::to_string(spouse) + " of the W-2s' " + dollars(wages) +
                    " (box 1), and the retirement exclusion takes each filer's wages from these items alone; name "
                    "each W-2's owner, <FORM DEVNAME=\"F52\" COPY=\"1\" OWNER=\"taxpayer\"> or OWNER=\"spouse\"");
}

// Farm income is earned income, which the exclusion takes from the wages,
// the business income and the items of other earned income alone: told
// where counting it (a loss too) would change a filer's exclusion, not where
// the filer's earned income counted stays (already 4,000 or more, or a loss
// beside no earned income) or the exclusion stays at its limit.
void farmIncomeNote(HostSession& session, std::vector<std::string>& notes) {
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const DataMgmt::TaxFormPtr form1040 = session.federal()->getForm(kForm1ID, 1);
    if (form1040.isNull()) return;
    const FieldId& farm = kForm1FieldIds.f91;
    const double amount = georgia.federalDisplayAmount(*form1040, farm.getNumber());
    const bool joint = georgia.getFilingStatusNumber() == FilingStatus::kJoint;
    const std::string taxpayerItem = itemName(Utils::kOtherEarnedTaxpayer);
    const std::string spouseItem = itemName(Utils::kOtherEarnedSpouse);
    if (amount == 0.0 || seeds(session.loaded(), Utils::kOtherEarnedTaxpayer) ||
        (joint && seeds(session.loaded(), Utils::kOtherEarnedSpouse)) ||
        !earnedIncomeWouldChangeAnExclusion(georgia, amount)) {
        return;
    }
    const bool loss = amount < 0.0;
    notes.push_back("form 1040 (form F1) field " + fieldNumber(farm) + " holds " +
                    (loss ? "a farm loss of " + dollars(amount) + ", which lowers earned income"
                          : "farm income of " + dollars(amount) + ", which is earned income") +
                    ", but the retirement exclusion takes a filer's earned income from the "
                    "wages, the business income and the item of other earned income alone (" +
                    (joint ? taxpayerItem + " and " + spouseItem : taxpayerItem) +
                    "), which the return does not give; " +
                    (loss ? "give the farm loss as a negative amount" : "give the farm income") +
                    ", with any other earned income besides "
                    "wages and business income, in the Georgia return's <HOST> as <PULLCOMMON FORM=\"F1\" ITEM=\"" +
                    taxpayerItem + "\">amount</PULLCOMMON>" + (joint ? " and the spouse's as " + spouseItem : ""));
}

}  // namespace

bool anExclusionIsWorkedOut(const StateDataMgmt::StateTaxReturn& georgia) {
    const Form189215Lines& l = kForm189215Lines;
    for (const FieldId* box : {&l.taxpayerRetirement.qualifiesByAge, &l.taxpayerRetirement.qualifiesByDisability,
                               &l.spouseRetirement.qualifiesByAge, &l.spouseRetirement.qualifiesByDisability}) {
        if (georgia.formYes(kGAForm189215ID, 1, *box)) return true;
    }
    return false;
}

bool earnedIncomeWouldChangeAnExclusion(const StateDataMgmt::StateTaxReturn& georgia, double earned) {
    const Form189215Lines& l = kForm189215Lines;
    for (const Form189215Lines::RetirementWorksheet* w : {&l.taxpayerRetirement, &l.spouseRetirement}) {
        if (!georgia.formYes(kGAForm189215ID, 1, w->qualifiesByAge) &&
            !georgia.formYes(kGAForm189215ID, 1, w->qualifiesByDisability)) {
            continue;
        }
        const double more = static_cast<double>(Utils::roundR(earned));  // as an item gives it, in whole dollars
        if (exclusionWith(georgia, *w, more) != exclusionWith(georgia, *w, 0.0)) return true;
    }
    return false;
}

void retirementExclusionNotes(HostSession& session, std::vector<std::string>& notes) {
    if (!session.loaded().federal) return;
    birthDateNote(session, notes);
    w2OwnerNote(session, notes);
    farmIncomeNote(session, notes);
}

}  // namespace GAHost
