// Form 70, second half: the tax from the rate schedule, the low-income
// credit, the credits that reduce the tax, payments and withholding, the
// refund or the amount owed, the deceased-filer block and the review mark.

#include <algorithm>

#include "module/catalogues/FederalReviewLines.h"
#include "module/catalogues/Form104Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form57Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/catalogues/Form74Lines.h"
#include "module/catalogues/Form78Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/ga_calc/FederalReview.h"
#include "module/ga_calc/MainFormCalculation.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

using Item = Utils::PCTypes;
const Form70Lines& lines = kForm70Lines;
const Form69Lines& info = kForm69Lines;

}  // namespace

// The tax of the taxable income from the rate schedule; the credits below
// each take what is left of it.
void MainFormCalculation::fillTax() {
    const double tax =
        GATaxReturnCalcEngine::computeTaxFromRateSchedule(static_cast<double>(line(lines.income.taxable)), status_);
    Utils::maybeSetValue(handle_, lines.credits.tax, tax);
    remainder_ = tax;
}

// The low-income credit: for full-year residents, and for part-year
// residents who live in Georgia at the end of the year, with a federal
// adjusted gross income within the credit's bands, whom nobody else claims
// and whom neither answer bars.
void MainFormCalculation::fillLowIncomeCredit() {
    const auto& l = lines.lowIncome;
    const auto& r = lines.residency;
    Utils::setDefaultX(handle_, l.taxpayerNotBarred, l.taxpayerNotBarred, l.taxpayerBarred);
    Utils::setDefaultX(handle_, l.spouseNotBarred, l.spouseNotBarred, l.spouseBarred);
    form_.setXNo(r.residentAtYearEnd);
    if (form_.offsetUserDate(r.to) == TaxYear::kYear * 10000 + 1231) {
        form_.setX(r.residentAtYearEnd);
    }

    const bool considered = fullYear_ || (ga_.formYes(kGAForm69ID, 1, info.residency.partYear) &&
                                          ga_.formYes(kGAForm70ID, 1, r.residentAtYearEnd));
    if (!considered) {
        clearRange(l.federalAgi, l.credit);
        return;
    }
    // The federal adjusted gross income, a loss counted as 0.
    form_.assignIR(l.federalAgi, std::max(0.0, static_cast<double>(common(Item::kFederalAgi))));
    if (form_.getIR(l.federalAgi) > TaxYear::kLowIncomeCreditIncomeLimit || common(Item::kClaimedAsDependent) == 1 ||
        form_.xMarked(l.taxpayerBarred) || form_.xMarked(l.spouseBarred)) {
        clearRange(l.people, l.credit);
        form_.setXNo(r.residentAtYearEnd);
        return;
    }
    form_.setX(r.residentAtYearEnd);
    fillLowIncomeCreditAmounts();
}

// The credit counts each filer, each dependent the credit counts (less those
// entered as not counted) and each filer aged 65 or over, at the amount per
// person of the income's band, and never goes past the tax.
void MainFormCalculation::fillLowIncomeCreditAmounts() {
    const auto& l = lines.lowIncome;
    form_.assignIR(l.dependents, static_cast<double>(common(Item::kLowIncomeCreditDependents)));
    form_.minII(l.dependentsNotCounted, l.dependentsNotCounted, l.dependents);
    form_.assignIR(l.people, static_cast<double>(line(lines.exemptions.filers)) + form_.getIR(l.dependents) -
                                 form_.getIR(l.dependentsNotCounted));
    // Each filer's item as it stands: the box "65 or over" of the main form
    // filed answers it.
    double aged = static_cast<double>(common(Item::kTaxpayerAged65));
    if (joint()) {
        aged += static_cast<double>(common(Item::kSpouseAged65));
    }
    form_.assignIR(l.agedFilers, aged);
    form_.plus2(l.allPeople, l.people, l.agedFilers);
    copyFieldOrNull(handle_, l.peopleShown, l.allPeople);
    form_.assignIR(l.perPerson, TaxYear::lowIncomeCreditPerPerson(form_.getIR(l.federalAgi)));
    copyFieldOrNull(handle_, l.perPersonShown, l.perPerson);
    form_.timesII(l.amount, l.allPeople, l.perPerson);
    copyFieldOrNull(handle_, l.credit, l.amount);
    if (form_.nonNull(l.credit)) {
        form_.minII(l.credit, l.credit, lines.credits.tax);
    }
    takeFromRemainder(form_.getIR(l.credit));
}

// The credits against the tax, each up to what is left of it: tax paid to
// other states (form 73), the credit worksheets (form 74) and the credit
// summary (form 189216); then the net tax. The excess mark says that the
// worksheets or the summary claim more than the tax leaves them.
void MainFormCalculation::fillCredits() {
    const auto& c = lines.credits;
    const Form73Lines& f73 = kForm73Lines;
    const double otherState = static_cast<double>(ga_.getIN(kGAForm73ID, 1, f73.fullYear.credit)) +
                              static_cast<double>(ga_.getIN(kGAForm73ID, 1, f73.partYear.credit));
    // A credit used is never below 0: a negative one would raise the tax.
    form_.assignIR(c.otherState, std::max(0.0, std::min(otherState, remainder_)));
    takeFromRemainder(form_.getIR(c.otherState));
    ga_.getII(kGAForm74ID, kForm74Lines.total, handle_, c.worksheets);
    form_.minIR(c.worksheets, c.worksheets, remainder_);
    if (form_.ltZero(c.worksheets)) {
        form_.zero(c.worksheets);
    }
    takeFromRemainder(form_.getIR(c.worksheets));
    const double summary = static_cast<double>(ga_.getAllCopies(kGAForm189216ID, kForm189216Lines.creditUsed));
    form_.assignIR(c.summary, std::max(0.0, std::min(summary, remainder_)));
    form_.plus4(c.total, lines.lowIncome.credit, c.otherState, c.worksheets, c.summary);
    if (form_.getIR(c.tax) == 0.0) {
        clearRange(lines.lowIncome.federalAgi, c.summary);
    }

    form_.setXNo(c.exceedsTax);
    const double beforeCredits = form_.getIR(c.tax) - form_.getIR(lines.lowIncome.credit) - form_.getIR(c.otherState);
    if (beforeCredits > 0) {
        const double afterWorksheets =
            beforeCredits - static_cast<double>(ga_.getIN(kGAForm74ID, 1, kForm74Lines.total));
        const double afterSummary =
            afterWorksheets - static_cast<double>(ga_.getIN(kGAForm189216ID, 1, kForm189216Lines.creditUsed));
        if (afterWorksheets < 0 || afterSummary < 0) {
            form_.setX(c.exceedsTax);
        }
    }
    form_.minII(c.total, c.total, c.tax);
    form_.minusIIge0(c.netTax, c.tax, c.total);
    blankIfZero(c.netTax);
}

// Payments: Georgia tax withheld on the wage and information statements and
// on form 70's own rows, each withholding entry refilled from its source
// document, and estimated tax paid; then the underpayment penalty of form 71.
void MainFormCalculation::fillPayments() {
    const auto& p = lines.payments;
    Utils::maybeSetValue(handle_, p.withheld, ga_.getStateTaxWithheldNoLocal(static_cast<char>(status_)));
    // Form 70's own rows are listed as the statements are, each in whole
    // dollars: their total is the sum of the rows as printed and e-filed.
    double ownRows = 0.0;
    for (const auto& row : p.incomeStatements) ownRows += ga_.listedStatementWithholding(form_.getIR(row.withheld));
    form_.assignIR(p.ownRowsTotal, ownRows);
    form_.assignII(p.ownRowsTotalRepeated, p.ownRowsTotal);
    engine_.checkForm70SourceLinks(copy_);
    Utils::maybeSetValue(handle_, p.estimated,
                         static_cast<double>(ga_.getIN(kGAForm69ID, 1, info.estimatedPayments.total) +
                                             ga_.getIN(kGAForm69ID, 1, info.estimatedPayments.further)));
    form_.plus3(p.total, p.withheld, p.ownRowsTotalRepeated, p.estimated);
    blankIfZero(p.total);

    const auto& r = lines.result;
    const Form71Lines& underpayment = kForm71Lines;
    if (ga_.formYes(kGAForm71ID, 1, underpayment.addToReturn)) {
        ga_.getII(kGAForm71ID, underpayment.totalPenalty, handle_, r.penalty);
        form_.setX(r.penaltyMark);
    } else {
        form_.setNull(r.penalty);
        form_.setXNo(r.penaltyMark);
    }
}

// The tax due or the overpayment, and the balance due or the refund: the
// amounts applied from an overpayment (contributions and the like) and the
// penalty come out of the overpayment, or add to what is owed.
void MainFormCalculation::fillResult() {
    const auto& r = lines.result;
    const auto& a = r.applied;
    form_.setValueToSumOf(r.appliedTotal, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8],
                          Primitives::kNullFieldID);
    form_.minusIIge0(r.due, lines.credits.netTax, lines.payments.total);
    blankIfZero(r.due);
    form_.minusIIge0(r.overpaid, lines.payments.total, lines.credits.netTax);
    blankIfZero(r.overpaid);
    setNull({r.depositRouting, r.depositAccount, r.depositChecking, r.depositSavings});

    double applied = 0;
    for (const FieldId& x : a) {
        applied += static_cast<double>(form_.getIN(x));
    }
    const double penalty = static_cast<double>(form_.getIN(r.penalty));
    if (line(r.due) > 0) {
        form_.setNull(r.refund);
        protectAndEmpty(r.credited);
        form_.assignIR(r.balanceDue, static_cast<double>(form_.getIN(r.due)) + applied + penalty);
    } else if (line(r.overpaid) > 0) {
        fillOverpayment(applied + penalty);
    } else {
        form_.setNull(r.refund);
        protectAndEmpty(r.credited);
        form_.setNull(r.penalty);
        assignOrBlank(r.balanceDue, applied);
    }

    if (ga_.hasSigValue(kForm92ID, 1, kForm92Lines.reference)) {
        ga_.getII(kForm92ID, kForm92Lines.reference, handle_, r.federalReference);
    } else {
        form_.unProtect(r.federalReference);
    }
}

// An overpayment: the part credited to next year's estimated tax (at most
// the overpayment), then what is applied and the penalty; what remains is
// refunded, by direct deposit when the information form gives an account,
// and a shortfall is owed. The final pass holds the filer's entry to the
// overpayment; an earlier pass, whose overpayment may still change, takes
// the part credited as its own figure and keeps the entry.
void MainFormCalculation::fillOverpayment(double appliedAndPenalty) {
    const auto& r = lines.result;
    form_.setNull(r.balanceDue);
    form_.unProtect(r.credited);
    const auto overpaid = static_cast<double>(line(r.overpaid));
    double credited = std::min(static_cast<double>(form_.getIN(r.credited)), overpaid);
    if (finalPass_) {
        form_.minIR(r.credited, r.credited, overpaid);
        blankIfZero(r.credited);
        credited = static_cast<double>(form_.getIN(r.credited));
    }
    const double left = static_cast<double>(form_.getIN(r.overpaid)) - (credited + appliedAndPenalty);
    if (left < 0) {
        form_.setNull(r.refund);
        form_.assignIR(r.balanceDue, -left);
        return;
    }
    form_.setNull(r.balanceDue);
    form_.assignIR(r.refund, left);
    if (ga_.hasSigValue(kGAForm69ID, 1, info.options.directDeposit)) {
        ga_.getII(kGAForm69ID, info.options.depositChecking, handle_, r.depositChecking);
        ga_.getII(kGAForm69ID, info.options.depositSavings, handle_, r.depositSavings);
        ga_.getII(kGAForm69ID, info.options.depositRouting, handle_, r.depositRouting);
        ga_.getII(kGAForm69ID, info.options.depositAccount, handle_, r.depositAccount);
    }
}

// A deceased taxpayer, else a deceased spouse: the date of death from the
// federal return, "DECEASED", and that filer's first and last name.
void MainFormCalculation::fillDeceased() {
    const auto& d = lines.deceased;
    const auto& h = lines.heading;
    auto deceased = [&](const FieldId& dateOfDeath, const FieldId& firstName, const FieldId& lastName) {
        ga_.getII(kForm92ID, dateOfDeath, handle_, d.date);
        if (form_.isNull(d.date)) {
            setNull({d.date, d.text, d.firstName, d.lastName});
            return false;
        }
        form_.assignText(d.text, "DECEASED");
        form_.assignII(d.firstName, firstName);
        form_.assignII(d.lastName, lastName);
        return true;
    };
    if (!deceased(kForm92Lines.taxpayerDeceased, h.taxpayerFirstName, h.taxpayerLastName)) {
        deceased(kForm92Lines.spouseDeceased, h.spouseFirstName, h.spouseLastName);
    }
}

// The review mark: the return holds something that needs a closer look (a
// lump-sum distribution of a return not full-year, a part-year adjustment,
// federal losses and credits the module does not follow, a foreign or
// farm matter, an amount the filer entered on form 70 itself).
void MainFormCalculation::fillReviewMark() {
    const Form189215Lines& schedule1 = kForm189215Lines;
    const Form104Lines& f104 = kForm104Lines;
    const FederalLine& form75 = kFederalReviewLines.form75Amount;
    const auto& pair = kForm57Lines.reviewedPair;
    const auto& boxes78 = kForm78Lines.reviewedBoxes;
    const auto& rm = lines.review;
    auto marked104 = [&](const FieldId& x) { return ga_.formYes(kForm104ID, 1, x); };
    const bool review =
        (ga_.getIN(kGAForm189215ID, 1, schedule1.lumpSumDistributions) > 0 &&
         ga_.formNo(kGAForm69ID, 1, info.residency.fullYear)) ||
        (ga_.getIN(kGAForm189215ID, 1, schedule1.municipalInterestLine) > 0 &&
         ga_.formYes(kGAForm69ID, 1, info.residency.partYear)) ||
        federalEntriesCallForReview(ga_) || ga_.formYes(kGAForm69ID, 1, info.form78.anyCopyMarked) ||
        marked104(f104.reviewedEntry) || std::any_of(f104.reviewedMarks.begin(), f104.reviewedMarks.end(), marked104) ||
        ga_.getIR(form75.form, 1, form75.field) != 0 || form_.gtZero(rm.trigger315) || form_.gtZero(rm.trigger316) ||
        Utils::addSaturated(ga_.getIN(kForm57ID, 1, pair[0]), ga_.getIN(kForm57ID, 1, pair[1])) > 0 ||
        ga_.formYes(kForm78ID, copy_, boxes78[0]) || ga_.formYes(kForm78ID, copy_, boxes78[1]);
    if (review) {
        form_.setX(rm.reviewNeeded);
    } else {
        form_.setNull(rm.reviewNeeded);
    }
}

}  // namespace GACalculationMgmt
