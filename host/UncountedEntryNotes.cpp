#include "host/UncountedEntryNotes.h"

#include <algorithm>
#include <cmath>

#include "host/NoteText.h"
#include "module/catalogues/Form133618Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;

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
        notes.push_back(
            "form GA73 copy " + std::to_string(copy) + " computes a credit of " + whole(credit) + " for tax paid to " +
            (state.empty() ? "another state" : state) + " (field " + fieldNumber(field) +
            "), but form 70 takes the credit for tax paid to another state from copy 1 of form 73 only, so it "
            "counts nowhere: " +
            (first > 0.0 ? "copy 1 holds the credit that counts (" + whole(first) + ")"
                         : "copy 1 holds none; enter this state's income and tax on <FORM DEVNAME=\"GA73\" "
                           "COPY=\"1\"> instead"));
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
                     ? "form 70 takes the credit of copy 1 only, which holds " + whole(first) + " for " + stateOf(ga, 1)
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

}  // namespace

void uncountedEntryNotes(HostSession& session, std::vector<std::string>& notes) {
    laterCopyCreditNotes(*session.georgiaState(), notes);
    unfilledStateRowNotes(session, notes);
    spouseShareNotes(session, notes);
}

}  // namespace GAHost
