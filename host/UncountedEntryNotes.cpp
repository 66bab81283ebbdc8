#include "host/UncountedEntryNotes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/NoteText.h"
#include "module/catalogues/Form133618Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/SingleCopyForms.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

const Form73Lines& f73 = kForm73Lines;

std::string whole(double amount) { return Utils::nStr(std::round(amount)); }

bool sameState(const std::string& a, const std::string& b) {
    return !a.empty() && Utils::QVStringUtils::stricmp(a, b) == 0;
}

// The state a copy of form 73 is for, as entered or as the federal return
// wrote it.
std::string stateOf(const DataMgmt::TaxReturn& ga, std::uint16_t copy) {
    const std::string entered = ga.getFieldAsString(kGAForm73ID, copy, f73.stateAbbreviation);
    return entered.empty() ? ga.getFieldAsString(kGAForm73ID, copy, f73.federalState) : entered;
}

// " for " the state of a copy of form 73, or that it names none.
std::string forStateOf(const DataMgmt::TaxReturn& ga, std::uint16_t copy) {
    const std::string state = stateOf(ga, copy);
    return state.empty() ? " and names no state (field " + fieldNumber(f73.stateAbbreviation) + ")" : " for " + state;
}

// A later copy of form 73 for copy 1's state: the credit is worked out once
// for each state, over all of its income and tax, on copy 1 (filled from the
// federal return's nonresident return of the state while its box 138856 is
// marked).
std::string sameStateAdvice(const DataMgmt::TaxReturn& ga, std::uint16_t copy, const Form73Lines::Computation& c,
                            const std::string& state) {
    const std::string later = "copy " + std::to_string(copy);
    const std::string head = "copy 1 is for " + state + " as well, and the credit is worked out once for each state, ";
    if (&c == &f73.fullYear && ga.formYes(kGAForm73ID, 1, f73.fromFederalReturn)) {
        return head + "where copy 1 takes " + state + "'s income and tax from the federal return's nonresident " +
               "return (its box " + fieldNumber(f73.fromFederalReturn) + " is marked): give all of " + state +
               "'s income and tax there, and remove " + later;
    }
    return head + "on copy 1: add " + later + "'s income taxed by " + state + " (field " +
           fieldNumber(c.otherStateIncome) + ") and tax paid to it (field " + fieldNumber(c.limit) +
           ") to copy 1's, and remove " + later;
}

// Form 70 takes the other-state credit of copy 1 of form 73 only.
void laterCopyCreditNotes(const DataMgmt::TaxReturn& ga, std::vector<std::string>& notes) {
    const double first = ga.getIR(kGAForm73ID, 1, f73.fullYear.credit) + ga.getIR(kGAForm73ID, 1, f73.partYear.credit);
    for (const std::uint16_t copy : ga.copyNumbers(kGAForm73ID)) {
        if (copy == 1) continue;
        const double credit =
            ga.getIR(kGAForm73ID, copy, f73.fullYear.credit) + ga.getIR(kGAForm73ID, copy, f73.partYear.credit);
        if (credit <= 0.0) continue;
        const std::string state = stateOf(ga, copy);
        const FieldId& field =
            ga.getIR(kGAForm73ID, copy, f73.fullYear.credit) > 0.0 ? f73.fullYear.credit : f73.partYear.credit;
        const std::string counted =
            "form GA73 copy " + std::to_string(copy) + " computes a credit of " + whole(credit) + " for tax paid to " +
            (state.empty() ? "another state" : state) + " (field " + fieldNumber(field) +
            "), but form 70 takes the credit for tax paid to another state from copy 1 of form 73 only, so it "
            "counts nowhere: ";
        if (sameState(state, stateOf(ga, 1))) {
            const Form73Lines::Computation& c = field == f73.fullYear.credit ? f73.fullYear : f73.partYear;
            notes.push_back(counted + sameStateAdvice(ga, copy, c, state));
            continue;
        }
        notes.push_back(counted + (first > 0.0 ? "copy 1 holds the credit that counts (" + whole(first) + ")"
                                               : "copy 1 holds none; enter this state's income and tax on <FORM "
                                                 "DEVNAME=\"GA73\" COPY=\"1\"> instead"));
    }
}

// On a full-year resident's return, the calculation fills the row of each
// other state of which the federal return holds a nonresident return:
// a row of that state marked as filled from it, or a copy it adds to a
// return without form 73.
void unfilledStateRowNotes(HostSession& session, std::vector<std::string>& notes) {
    const DataMgmt::TaxReturn& ga = *session.georgiaState();
    if (!ga.formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerFullYear)) return;
    const DataMgmt::TaxReturn& federal = *session.federal();
    const Form133618Lines& f = kForm133618Lines;
    for (const std::uint16_t federalCopy : federal.copyNumbers(kForm133618ID)) {
        const std::string state = federal.getFieldAsString(kForm133618ID, federalCopy, f.state);
        if (state.empty() || sameState(state, session.georgiaState()->getAbbreviation()) ||
            !sameState(federal.getFieldAsString(kForm133618ID, federalCopy, f.residency), "Nonresident")) {
            continue;
        }
        const std::string source = "the federal return's nonresident return for " + state + " (form F133618 copy " +
                                   std::to_string(federalCopy) + ")";
        const std::vector<std::uint16_t> copies = ga.copyNumbers(kGAForm73ID);
        const auto row = std::find_if(copies.begin(), copies.end(),
                                      [&](std::uint16_t copy) { return sameState(stateOf(ga, copy), state); });
        if (copies.empty()) continue;
        if (row == copies.end()) {
            const double first =
                ga.getIR(kGAForm73ID, 1, f73.fullYear.credit) + ga.getIR(kGAForm73ID, 1, f73.partYear.credit);
            notes.push_back(
                source + " fills no row of form 73, so its credit counts nowhere: the calculation adds a row for it " +
                "only to a return without form 73, and no copy of form GA73 names " + state + "; " +
                (first > 0.0
                     ? "form 70 takes the credit of copy 1 only, which holds " + whole(first) + forStateOf(ga, 1)
                     : "name " + state + " on <FORM DEVNAME=\"GA73\" COPY=\"1\"> (field " +
                           fieldNumber(f73.stateAbbreviation) + ") and mark its box " +
                           fieldNumber(f73.fromFederalReturn) + " to fill it from there"));
            continue;
        }
        if (ga.formYes(kGAForm73ID, *row, f73.fromFederalReturn) ||
            ga.getIR(kGAForm73ID, *row, f73.fullYear.otherStateIncome) != 0.0 ||
            ga.getIR(kGAForm73ID, *row, f73.fullYear.limit) != 0.0) {
            continue;
        }
        notes.push_back("form GA73 copy " + std::to_string(*row) + " names " + state +
                        " but holds neither its income (field " + fieldNumber(f73.fullYear.otherStateIncome) +
                        ") nor its tax (field " + fieldNumber(f73.fullYear.limit) + "), and is not filled from " +
                        source + " while its box " + fieldNumber(f73.fromFederalReturn) +
                        " is not marked, so it gives no credit: " + "mark box " + fieldNumber(f73.fromFederalReturn) +
                        " to fill it from there, or enter the amounts" +
                        (*row == 1 ? "" : "; form 70 takes the credit of copy 1 only"));
    }
}

// The shared lines of the retirement exclusion, by what each holds.
constexpr const char* kSharedLineNames[] = {"interest",      "dividends",
                                            "capital gains", "rents, royalties and pass-through income",
                                            "other income",  "further unearned income"};

// On a joint return the taxpayer's column of a shared line holds the
// couple's amount less the spouse's part, where the taxpayer's exclusion is
// worked out.
void spouseShareNotes(HostSession& session, std::vector<std::string>& notes) {
    StateDataMgmt::StateTaxReturn& ga = *session.georgiaState();
    if (ga.getFilingStatusNumber() != FilingStatus::kJoint) return;
    const Form189215Lines& l = kForm189215Lines;
    for (std::size_t k = 0; k < l.spouseRetirement.shared.size(); ++k) {
        const FieldId& spouseField = l.spouseRetirement.shared[k];
        const FieldId& taxpayerField = l.taxpayerRetirement.shared[k];
        if (ga.isNull(kGAForm189215ID, 1, taxpayerField)) continue;
        const double spouse = ga.getIR(kGAForm189215ID, 1, spouseField);
        const double couple = ga.getIR(kGAForm189215ID, 1, taxpayerField) + spouse;
        if (spouse >= std::min(0.0, couple) && spouse <= std::max(0.0, couple)) continue;
        notes.push_back("form GA189215 field " + fieldNumber(spouseField) +
                        " gives the spouse's part of the couple's " + kSharedLineNames[k] + " as " + whole(spouse) +
                        ", beyond the couple's " + whole(couple) + ": the taxpayer's part (field " +
                        fieldNumber(taxpayerField) + ") is the rest, " + whole(couple - spouse) +
                        ", and the retirement exclusion counts both; a spouse's part lies "
                        "between 0 and the couple's amount");
    }
}

// Form 71 with box 23 (box 22 not marked) takes the installments' parts of
// the withholding as entered, each held to what the parts before it leave:
// what the parts leave of the withholding is in no installment. Equal
// parts are no entries; on the other paths the withholding line is empty.
void withholdingPartsNote(const DataMgmt::TaxReturn& ga, std::vector<std::string>& notes) {
    const Form71Lines& f71 = kForm71Lines;
    const double withheld = ga.getIR(kGAForm71ID, 1, f71.withholding);
    if (withheld <= 0.0 || ga.formYes(kGAForm71ID, 1, f71.equalParts)) return;
    const auto columns = static_cast<std::int64_t>(f71.columns.size());
    const std::int64_t installments = std::clamp<std::int64_t>(ga.getIN(kGAForm71ID, 1, f71.installments), 1, columns);
    // One installment takes the whole withholding whatever boxes 22 and 23
    // say (a part kept by an override is the preparer's own).
    if (installments == 1) return;
    // The installments take the last columns.
    const auto first = static_cast<std::size_t>(columns - installments);
    double parts = 0.0;
    for (std::size_t k = first; k < f71.columns.size(); ++k) {
        parts += ga.getIR(kGAForm71ID, 1, f71.columns[k].withholdingShare);
    }
    if (withheld - parts < 0.005) return;
    const std::string firstPart = fieldNumber(f71.columns[first].withholdingShare);
    const std::string lastPart = fieldNumber(f71.columns.back().withholdingShare);
    notes.push_back("form GA71 splits the Georgia tax withheld (field " + fieldNumber(f71.withholding) + ", " +
                    amountText(withheld) + ") into the parts entered for its " + std::to_string(installments) +
                    " installments (box " + fieldNumber(f71.enteredParts) + "; fields " + firstPart +
                    (installments == 2 ? " and " : " to ") + lastPart + "), which add up to " + amountText(parts) +
                    ": " + amountText(withheld - parts) +
                    " of it is in none of the installments' payments, and the penalty is worked out as if it were not "
                    "paid; enter parts that add up to " +
                    amountText(withheld) + " (any cents in field " + firstPart +
                    ": each later part is held to what the parts before it leave, in whole dollars), or mark box " +
                    fieldNumber(f71.equalParts) + " to split it in equal parts");
}

// The fields that hold an entry, named as "an entry in field 101" or
// "entries in fields 101, 102, 105 and 2 more".
std::string enteredFields(const std::vector<const PersistanceMgmt::FieldEntry*>& entries) {
    constexpr std::size_t kNamed = 3;
    std::string text = entries.size() == 1 ? "an entry in field " : "entries in fields ";
    const std::size_t named = std::min(entries.size(), kNamed);
    for (std::size_t k = 0; k < named; ++k) {
        text += (k == 0                                       ? ""
                 : k + 1 == named && entries.size() <= kNamed ? " and "
                                                              : ", ") +
                fieldNumber(entries[k]->desc->getID());
    }
    if (entries.size() > kNamed) text += " and " + std::to_string(entries.size() - kNamed) + " more";
    return text;
}

void furtherCopyNotes(HostSession& session, std::vector<std::string>& notes) {
    for (const FurtherCopy& further : furtherCopiesWithEntries(session)) {
        const std::string name = further.copy.desc->getDevName();
        const std::string number = std::to_string(further.copy.copy);
        notes.push_back("form " + name + " copy " + number + " holds " + enteredFields(further.entries) +
                        ", but the calculation takes form " + name + " from copy 1 alone, so what copy " + number +
                        " holds counts in no figure of the return: enter on <FORM DEVNAME=\"" + name +
                        "\" COPY=\"1\"> what of it belongs to the return, and remove copy " + number +
                        countsOnlyWithText(session, further));
    }
}

}  // namespace

std::vector<FurtherCopy> furtherCopiesWithEntries(HostSession& session) {
    std::vector<FurtherCopy> further;
    if (!session.loaded().georgia) return further;
    for (const PersistanceMgmt::CopyEntry& copy : session.loaded().georgia->copies) {
        const GAOutput::SingleCopyForm* row = GAOutput::singleCopyForm(copy.desc->getTypeID());
        if (copy.copy == 1 || row == nullptr) continue;
        FurtherCopy found{.copy = copy, .row = *row, .entries = {}};
        for (const PersistanceMgmt::FieldEntry& f : copy.fields) {
            if (!f.value.isNull() && !f.value.boxNo()) found.entries.push_back(&f);
        }
        if (!found.entries.empty()) further.push_back(std::move(found));
    }
    return further;
}

std::string countsOnlyWithText(HostSession& session, const FurtherCopy& further) {
    const GAOutput::SingleCopyForm& row = further.row;
    if (row.countsWith == nullptr || session.georgiaState()->formYes(kGAForm69ID, 1, *row.countsWith)) return {};
    return "; form " + further.copy.desc->getDevName() + " counts only with form 69 box " +
           fieldNumber(*row.countsWith) + " marked (" + row.countsWhen + "), which it is not";
}

void uncountedEntryNotes(HostSession& session, std::vector<std::string>& notes) {
    laterCopyCreditNotes(*session.georgiaState(), notes);
    unfilledStateRowNotes(session, notes);
    spouseShareNotes(session, notes);
    withholdingPartsNote(*session.georgiaState(), notes);
    furtherCopyNotes(session, notes);
}

}  // namespace GAHost
