#include "host/UncountedEntryNotes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "host/NoteText.h"
#include "host/RetirementExclusionNotes.h"
#include "module/catalogues/Form113Lines.h"
#include "module/catalogues/Form133618Lines.h"
#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form2Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/SingleCopyForms.h"
#include "platform/store/CommonItemTable.h"
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
                    amountText(withheld) + " (each part is held to what the parts before it leave), or mark box " +
                    fieldNumber(f71.equalParts) + " to split it in equal parts");
}

// ---- the reasons of entries that count nowhere

bool joint(HostSession& session) { return session.georgiaState()->getFilingStatusNumber() == FilingStatus::kJoint; }

std::string filingStatusText(HostSession& session) {
    return "this return's filing status is " + std::to_string(session.georgiaState()->getFilingStatusNumber());
}

// The entry's form, copy and field, where it is a field entry.
bool isField(const FileEntry& e, const FormId& form, const FieldId* field = nullptr) {
    return e.field != nullptr && e.copy->desc->getTypeID() == form &&
           (field == nullptr || e.field->desc->getID() == *field);
}

const PersistanceMgmt::CommonItemInfo* itemOf(const FileEntry& e) {
    return e.item == nullptr ? nullptr : PersistanceMgmt::findCommonItem(e.item->type);
}

// The seeded value of an item; 0 when not seeded.
std::int64_t seeded(HostSession& session, Utils::PCTypes type) {
    for (const PersistanceMgmt::CommonItem& item : session.loaded().georgia->seeds.commonItems) {
        if (item.type == type) return item.value;
    }
    return 0;
}

using Reason = std::optional<std::string>;

Reason spouseItem(HostSession& session, const FileEntry& e) {
    const PersistanceMgmt::CommonItemInfo* info = itemOf(e);
    if (info == nullptr || std::string_view(info->name).ends_with("-spouse") == false || joint(session)) return {};
    return "a spouse's item counts only on a joint return, and " + filingStatusText(session) +
           ": give the taxpayer's amount as the taxpayer's item, or file jointly";
}

Reason laterPaymentsCopy(HostSession&, const FileEntry& e) {
    if (!isField(e, kForm190ID) || e.copy->copy == 1) return {};
    return "the calculation reads the dated rows of form F190 from copy 1 alone: enter the row on "
           "<FORM DEVNAME=\"F190\" COPY=\"1\">, and remove copy " +
           std::to_string(e.copy->copy);
}

// Told on the box that lists the dependent: the Georgia return counts the
// dependent, whom a 1040EZ return cannot claim.
Reason dependentOn1040EZ(HostSession& session, const FileEntry& e) {
    if (!isField(e, kForm113ID, &kForm113Lines.listed) || session.georgiaState()->getFederalFormID() != kForm87ID) {
        return {};
    }
    return "the return is filed on form 1040EZ (form F104 box 183), which claims no dependents: file on form 1040 or "
           "1040A, or remove the dependent";
}

Reason dependentsNotCounted(HostSession& session, const FileEntry& e) {
    const Form70Lines::LowIncomeCredit& l = kForm70Lines.lowIncome;
    if (!isField(e, kGAForm70ID, &l.dependentsNotCounted) ||
        session.georgiaState()->getIR(kGAForm70ID, 1, l.credit) > 0) {
        return {};
    }
    return "it counts only in the low-income credit (form 70 field " + fieldNumber(l.credit) +
           "), which this return does not get";
}

// Where the income-tax adjustment of the itemized deductions shows.
std::string adjustmentLines() {
    return "form 70 line " + fieldNumber(kForm70Lines.deductions.incomeTaxAdjustment) + ", or form " +
           std::to_string(kGAForm189217ID.getNumber()) + " line " + fieldNumber(kForm189217Lines.incomeTaxAdjustment) +
           " on a part-year or nonresident return";
}

// Federal form 2's entries of the income-tax adjustment of the itemized
// deductions count only together: on a return that itemizes, with the box
// that asks for the adjustment answered yes, the income tax deducted (the
// share's divisor, field 10) and the amount the share applies to (field
// 203981, less fields 17 and 188).
Reason itemizedAdjustment(HostSession& session, const FileEntry& e) {
    const Form2Lines& f2 = kForm2Lines;
    const FieldId* const parts[] = {&f2.incomeTaxAdjustmentBox, &f2.incomeTaxDeducted, &f2.adjustmentBase,
                                    &f2.takenOffBase[0], &f2.takenOffBase[1]};
    if (std::none_of(std::begin(parts), std::end(parts), [&](const FieldId* f) { return isField(e, kForm2ID, f); })) {
        return {};
    }
    const DataMgmt::TaxReturn& federal = *session.federal();
    const bool asked = federal.formYes(kForm2ID, 1, f2.incomeTaxAdjustmentBox);
    const bool deducted = federal.getIR(kForm2ID, 1, f2.incomeTaxDeducted) != 0.0;
    const bool base = federal.getIR(kForm2ID, 1, f2.adjustmentBase) != 0.0;
    const std::string box = "box " + fieldNumber(f2.incomeTaxAdjustmentBox);
    const std::string divisor = "field " + fieldNumber(f2.incomeTaxDeducted);
    const std::string applied = "field " + fieldNumber(f2.adjustmentBase);
    const std::string adjustment =
        "the income-tax adjustment of the itemized deductions (" + adjustmentLines() + "), A / " + divisor + " x (" +
        applied + " - field " + fieldNumber(f2.takenOffBase[0]) + " - field " + fieldNumber(f2.takenOffBase[1]) + ")";
    const std::string where = " in <FORM DEVNAME=\"F2\" COPY=\"1\">";
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    if (georgia.pullCommon(georgia.getFederalFormID(), 1, Utils::kItemizes) != 1) {
        return "it counts in " + adjustment +
               " only on a return that itemizes, which this one does not; a return that itemizes seeds <PULLCOMMON "
               "FORM=\"F1\" ITEM=\"itemizes\">1</PULLCOMMON> and its itemized-deductions";
    }
    if (!asked) {
        return "it counts in " + adjustment + " only with " + box + ", which asks for it, answered yes, which it " +
               "is not; answer it X" + where;
    }
    if (!deducted && !base) {
        return box + " asks for " + adjustment + ", but " + divisor + " and " + applied +
               " are empty, so it is 0; enter them" + where;
    }
    if (deducted && base) return {};
    const std::string& entered = deducted ? divisor : applied;
    const std::string& missing = deducted ? applied : divisor;
    return entered + " counts in " + adjustment + " only with " + missing + ", which is empty, so the adjustment is " +
           "0; enter " + missing + where;
}

// The box that asks for the adjustment, without the amounts it needs: the
// calculation then shows an adjustment of 0.
Reason adjustmentAskedWithoutAmounts(HostSession& session, const FileEntry& e) {
    const Form2Lines& f2 = kForm2Lines;
    const DataMgmt::TaxReturn& federal = *session.federal();
    if (!isField(e, kForm2ID, &f2.incomeTaxAdjustmentBox) || federal.getIR(kForm2ID, 1, f2.incomeTaxDeducted) != 0.0 ||
        federal.getIR(kForm2ID, 1, f2.adjustmentBase) != 0.0) {
        return {};
    }
    return itemizedAdjustment(session, e);
}

// A 1099-R's gross distribution counts (on form 189215, without taking it
// off income) only under the key of form 189215.
Reason grossDistributionKeyedOtherwise(HostSession& session, const FileEntry& e) {
    const Form84Lines& l = kForm84Lines;
    if (!isField(e, kForm84ID, &l.grossDistribution) && !isField(e, kForm84ID, &l.distributionKey)) return {};
    if (session.federal()->getIN(kForm84ID, e.copy->copy, l.distributionKey) == kForm189215StatementKey) return {};
    return "a 1099-R's gross distribution (field " + fieldNumber(l.grossDistribution) +
           ") counts only on a copy whose field " + fieldNumber(l.distributionKey) + " is " +
           std::to_string(kForm189215StatementKey) + ", which form " + std::to_string(kGAForm189215ID.getNumber()) +
           " holds on line " + fieldNumber(kForm189215Lines.distributionsAndPayments) +
           "; the taxable pensions and IRA distributions count as the items pensions-taxpayer, "
           "ira-distributions-taxpayer and the spouse's";
}

// The tax-exempt parts of the 1099-DIV and the 1099-INT: form 189215 adds
// back the part from other states' bonds on every return, and none of them
// is Georgia interest or dividends of the part-year schedule.
bool exemptPart(const FileEntry& e) {
    const Form164Lines& f164 = kForm164Lines;
    const Form166Lines& f166 = kForm166Lines;
    const auto any = [&](const FormId& form, std::initializer_list<const FieldId*> fields) {
        return std::any_of(fields.begin(), fields.end(), [&](const FieldId* f) { return isField(e, form, f); });
    };
    return any(kForm164ID, {&f164.exemptInterestDividends, &f164.georgiaExemptInterestDividends}) ||
           any(kForm166ID, {&f166.municipal, &f166.furtherMunicipal, &f166.inStateMunicipal1, &f166.inStateMunicipal2});
}

// The 1099-DIV's Georgia-bond part is a part of its exempt-interest
// dividends: it lowers what form 189215 adds back only within them, and
// only on a statement shown by its parts.
Reason georgiaBondPart(HostSession& session, const FileEntry& e) {
    const Form164Lines& f164 = kForm164Lines;
    if (!e.federal || !isField(e, kForm164ID, &f164.georgiaExemptInterestDividends)) return {};
    const DataMgmt::TaxReturn& federal = *session.federal();
    const std::uint16_t copy = e.copy->copy;
    if (federal.formYes(kForm164ID, copy, f164.restrictedStock)) {
        return "box " + fieldNumber(f164.restrictedStock) +
               " (restricted stock) is marked, and the dividend statement shows such a 1099-DIV by its total alone: "
               "form 189215 adds back none of its exempt-interest dividends, which leaves their Georgia-bond part "
               "nothing to lower";
    }
    if (federal.getIR(kForm164ID, copy, f164.exemptInterestDividends) > 0.0) return {};
    return "field " + fieldNumber(f164.georgiaExemptInterestDividends) +
           " is the part of the exempt-interest dividends (field " + fieldNumber(f164.exemptInterestDividends) +
           ") paid from Georgia's own bonds, which Georgia does not tax, and counts only within them, while field " +
           fieldNumber(f164.exemptInterestDividends) + " holds none: where the fund paid exempt-interest dividends, " +
           "give all of them in field " + fieldNumber(f164.exemptInterestDividends) +
           "; form 189215 adds back only what they hold beyond the Georgia-bond part";
}

// The taxable amounts of the interest and dividend statements, which a
// part-year or nonresident return reads for the federal column alone.
Reason statementOnPartYear(HostSession& session, const FileEntry& e) {
    const std::int64_t residency = session.georgiaState()->getIN(kGAForm69ID, 1, kForm69Lines.residency.code);
    if (!e.federal || e.field == nullptr ||
        (residency != Residency::kPartYear && residency != Residency::kNonresident) ||
        (!isField(e, kForm164ID) && !isField(e, kForm166ID)) || exemptPart(e)) {
        return {};
    }
    const Form189217Lines& schedule = kForm189217Lines;
    return "on a part-year or nonresident return the part-year schedule (form GA189217) takes the Georgia interest "
           "and dividends from its own fields " +
           fieldNumber(schedule.georgiaInterestParts.front()) + " to " +
           fieldNumber(schedule.georgiaInterestParts.back()) + ", not from the statements";
}

// A copy after the first of a form taken from copy 1 alone.
Reason furtherCopy(HostSession& session, const FileEntry& e) {
    if (e.field == nullptr || e.federal || e.copy->copy == 1) return {};
    const GAOutput::SingleCopyForm* row = GAOutput::singleCopyForm(e.copy->desc->getTypeID());
    if (row == nullptr) return {};
    const std::string name = e.copy->desc->getDevName();
    const FurtherCopy further{.copy = *e.copy, .row = *row, .entries = {}};
    return "the calculation takes form " + name + " from copy 1 alone: enter on <FORM DEVNAME=\"" + name +
           "\" COPY=\"1\"> what of it belongs to the return, and remove copy " + std::to_string(e.copy->copy) +
           countsOnlyWithText(session, further);
}

// The reasons of entries that the calculation counts nowhere, the first
// that speaks of the entry on this return taken.
constexpr Reason (*kReasons[])(HostSession&, const FileEntry&) = {
    spouseItem,      laterPaymentsCopy,   dependentsNotCounted, grossDistributionKeyedOtherwise,
    georgiaBondPart, statementOnPartYear, furtherCopy,          itemizedAdjustment,
};

// ---- entries that the calculation counts where it should not

Reason voucherForAmendedReturn(HostSession& session, const FileEntry& e) {
    if (!isField(e, kGAForm77ID, &kForm77Lines.forAmendedReturn) || !e.field->value.boxYes() ||
        session.georgiaState()->formYes(kGAForm69ID, 1, kForm69Lines.questions.amended)) {
        return {};
    }
    return "the box says that the voucher pays an amended return's amount owed, but the return is not amended "
           "(form 69 box " +
           fieldNumber(kForm69Lines.questions.amended) +
           " is not marked), so the voucher takes its amount from form GA189219 in place of the return's own: "
           "remove the mark";
}

Reason amendedWithoutForm(HostSession& session, const FileEntry& e) {
    if (!isField(e, kGAForm69ID, &kForm69Lines.questions.amended) || !e.field->value.boxYes() ||
        session.georgiaState()->formExists(kGAForm189219ID, 1)) {
        return {};
    }
    return "the box marks the return as amended, but the return holds no form GA189219 (the amended return's "
           "figures): the e-file says amended, and no amended return is written; enter form GA189219, or remove "
           "the mark";
}

Reason itemizesWithoutDeductions(HostSession& session, const FileEntry& e) {
    const PersistanceMgmt::CommonItemInfo* info = itemOf(e);
    if (info == nullptr || info->type != Utils::kItemizes || e.item->value != 1 ||
        seeded(session, Utils::kItemizedDeductions) != 0) {
        return {};
    }
    return "the return itemizes, but gives no itemized-deductions, so its deduction is 0 in place of the "
           "standard deduction: give itemized-deductions, or remove the item";
}

Reason dependentNotListed(HostSession& session, const FileEntry& e) {
    const Form113Lines& l = kForm113Lines;
    // Told on the dependent's number.
    if (!isField(e, kForm113ID, &l.row[2]) || session.georgiaState()->getFederalFormID() == kForm87ID) return {};
    const DataMgmt::TaxReturn& federal = *session.federal();
    const std::uint16_t copy = e.copy->copy;
    const auto given = [&](const FieldId& f) { return !federal.formString(kForm113ID, copy, f).empty(); };
    if (federal.formYes(kForm113ID, copy, l.listed) || !std::all_of(l.row.begin(), l.row.end(), given)) return {};
    return "the copy names a dependent (name, number and relationship), but its box " + fieldNumber(l.listed) +
           " (the dependent listed on the return) is not marked, so the dependent counts nowhere: mark it";
}

// The interest and dividend statements that a box marks as the spouse's.
struct SpouseBox {
    const FormId& form;
    const FieldId& box;
};
const SpouseBox kSpouseBoxes[] = {{kForm166ID, kForm166Lines.spouse}, {kForm164ID, kForm164Lines.spouse}};

// Told on the box: the calculation takes the statement otherwise than
// either filer's.
Reason spouseStatement(HostSession& session, const FileEntry& e) {
    if (joint(session)) return {};
    for (const SpouseBox& s : kSpouseBoxes) {
        if (!isField(e, s.form, &s.box) || !e.field->value.boxYes()) continue;
        return "the box marks the statement as the spouse's, but a spouse's statement belongs only on a joint "
               "return, while " +
               filingStatusText(session) +
               ": remove the mark where the statement is the taxpayer's, or the statement where it is the spouse's";
    }
    return {};
}

// The entries told whenever the rule speaks of them, with or without a
// calculation: the calculation counts them, but not as the preparer meant.
constexpr Reason (*kMiscounted[])(HostSession&, const FileEntry&) = {
    voucherForAmendedReturn,       amendedWithoutForm, itemizesWithoutDeductions, dependentNotListed, spouseStatement,
    adjustmentAskedWithoutAmounts, dependentOn1040EZ,
};

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

std::string uncountedReason(HostSession& session, const FileEntry& entry) {
    for (const auto reason : kReasons) {
        if (Reason text = reason(session, entry)) return *text;
    }
    return {};
}

std::string miscountedReason(HostSession& session, const FileEntry& entry) {
    for (const auto reason : kMiscounted) {
        if (Reason text = reason(session, entry)) return *text;
    }
    return {};
}

void uncountedEntryNotes(HostSession& session, std::vector<std::string>& notes) {
    laterCopyCreditNotes(*session.georgiaState(), notes);
    unfilledStateRowNotes(session, notes);
    spouseShareNotes(session, notes);
    withholdingPartsNote(*session.georgiaState(), notes);
}

}  // namespace GAHost
