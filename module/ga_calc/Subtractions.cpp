// The subtractions of form 189215 (lines 7 to 12), the net adjustment
// (line 13), the part-year subtractions and the review mark.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "module/catalogues/FederalForm71Lines.h"
#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/FederalReviewLines.h"
#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form2Lines.h"
#include "module/catalogues/Form49Lines.h"
#include "module/catalogues/Form57Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/ga_calc/AdjustmentSchedule.h"
#include "module/ga_calc/FederalReview.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt::adjustments {

namespace {

// One source line of the other subtractions and the words that describe it
// in its row; a line the calculation reads elsewhere goes by its name.
struct SourceLine {
    const FieldId& field;
    const char* text;  // null: the list of states of the amounts by state
};

const Form189215Lines::SubtractionSources& src = kLines.subtractionSources;
const std::array<SourceLine, 23> kSourceLines{{
    {src.jobCreditWages, "JOB CREDIT WAGES"},
    {src.previouslyTaxedIra, "PREV TAXED IRA"},
    {src.previouslyTaxedKeogh, "PREV TAXED KEOGH"},
    {src.depreciation, "DEPRECIATION"},
    {kLines.sCorporation, "S CORP"},
    {kLines.childInterest, "FORM 8814"},
    {kLines.byStateTotal, nullptr},
    {src.federalExempt, "FED EXEMPT"},
    {src.retiredTeacher, "RETIRED TEACHER"},
    {src.ficaCredit, "FICA CREDIT"},
    {kLines.minorityContractors, "MINORITY SUB"},
    {src.depreciationAgain, "DEPRECIATION"},
    {src.combatPay, "COMBAT PAY"},
    {kLines.organDonor, "ORGAN DONOR"},
    {src.k1Income, "K1 INCOME"},
    {src.georgiaDifference, "GA DIFF"},
    {kLines.hdhpPremiums, "HDHP"},
    {kLines.otherHdhp, "OTH HDHP"},
    {src.mortgageInterest, "Mortgage Int Adj"},
    {kLines.physicianClerks, "Physician Clerks"},
    {src.firefighterInsurance, "Firefighter Ins"},
    {src.firefighterPremiums, "Firefighter Prem"},
    {src.veteranSurvivorIncome, "Income Vet Surv"},
}};

// The amounts entered by state, the closing of the S corporation line for a
// nonresident, and the interest of children reported on federal form 49.
void fillSourceAmounts(const Schedule& s) {
    const Form189215Lines& l = kLines;
    s.form.plus3(l.byStateTotal, l.byStateAmounts[0], l.byStateAmounts[1], l.byStateAmounts[2]);
    if (s.ga.formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerNonresident)) {
        s.form.makeProtectedAndSetNull(l.sCorporation);
    } else {
        s.form.unProtect(l.sCorporation);
    }
    if (s.federalForm == kForm1ID) {
        Utils::maybeSetValue(s.handle, l.childInterest, s.allCopies(kForm49ID, kForm49Lines.childInterest));
    } else {
        s.form.setNull(l.childInterest);
    }
}

// "NY/SC/VA": the two-letter codes of the states whose amounts are entered,
// in line order; the second and third codes each stand behind a "/", so that
// a list without the first reads "/NY".
std::string stateList(const Schedule& s) {
    std::string list;
    if (!s.form.gtZero(kLines.byStateTotal)) {
        return list;
    }
    for (std::size_t k = 0; k < kLines.byStateCodes.size(); ++k) {
        const FieldId& code = kLines.byStateCodes[k];
        if (s.form.isNull(code)) {
            continue;
        }
        std::string text = s.ga.getText(s.form.getLongValue(code), 2);
        Utils::setUpCase(text);
        list += (k > 0 ? "/" : "") + text;
    }
    return list;
}

// The health-plan premiums that the federal itemized deductions did not
// take: the premiums less their share of the medical expenses that the
// federal return deducted. Without medical expenses on the federal return
// there is no share to take off.
void shareHealthPlanPremiums(const Schedule& s) {
    const Form189215Lines& l = kLines;
    const Form2Lines& f2 = kForm2Lines;
    s.form.assignII(l.hdhpSubtraction, l.otherHdhp);
    s.form.assignII(l.hdhpSubtractionGeorgia, l.otherHdhpGeorgia);
    const double deducted = s.federalLine(kForm2ID, f2.medicalDeducted);
    const double expenses = s.federalLine(kForm2ID, f2.medicalExpenses);
    if (deducted > 0 && expenses > 0 && s.ga.hasSigValue(kForm1ID, 1, kForm1Lines.deductionAnswer)) {
        // The premiums less their deducted share, computed in that order so
        // that a share ending in exactly half a dollar stays a half.
        const double deductedShare = deducted / expenses;
        auto notDeducted = [&](const FieldId& premiums) { return s.line(premiums) - s.line(premiums) * deductedShare; };
        s.form.assignIR(l.hdhpSubtraction, s.line(l.hdhpSubtraction) + notDeducted(l.hdhpPremiums));
        s.form.assignIR(l.hdhpSubtractionGeorgia,
                        s.line(l.hdhpSubtractionGeorgia) + notDeducted(l.hdhpPremiumsGeorgia));
    }
}

// Line 11: the positive source lines in table order fill the first three
// rows; every further one goes into the fourth row, whose words list the
// lines it holds in table order up to the first line that the row's text
// field has no room for, so that the words never skip a line.
void fillOtherSubtractionRows(const Schedule& s, const std::string& states) {
    const Form189215Lines& l = kLines;
    for (std::size_t k = 0; k < l.otherRowAmounts.size(); ++k) {
        s.form.setNull(l.otherRowAmounts[k]);
        s.form.setNull(l.otherRowTexts[k]);
    }
    s.form.setNull(l.otherSubtractions);

    const std::size_t lastRow = l.otherRowAmounts.size() - 1;
    const std::size_t room = s.form.getMaxLength(l.otherRowTexts[lastRow]);
    std::size_t row = 0;
    std::string lastRowText;
    bool lastRowTextFull = false;
    double lastRowAmount = 0.0;
    for (const SourceLine& source : kSourceLines) {
        if (!s.form.gtZero(source.field)) {
            continue;
        }
        const std::string text = source.text != nullptr ? source.text : states;
        if (row < lastRow) {
            s.form.assignII(l.otherRowAmounts[row], source.field);
            s.form.assignText(l.otherRowTexts[row], text);
            ++row;
            continue;
        }
        lastRowAmount += s.line(source.field);
        const std::string joined = lastRowText.empty() ? text : lastRowText + ", " + text;
        if (!lastRowTextFull && (lastRowText.empty() || joined.size() <= room)) {
            lastRowText = joined;
        } else {
            lastRowTextFull = true;
        }
    }
    if (lastRowAmount > 0) {
        s.form.assignIR(l.otherRowAmounts[lastRow], lastRowAmount);
        s.form.assignText(l.otherRowTexts[lastRow], lastRowText);
    }
    s.form.plus4(l.otherSubtractions, l.otherRowAmounts[0], l.otherRowAmounts[1], l.otherRowAmounts[2],
                 l.otherRowAmounts[3]);
    s.blankIfZero(l.otherSubtractions);
}

// Social security, the statement amounts of the schedule's key, and the
// interest on U.S. obligations from the two statements.
void fillFederalSubtractions(const Schedule& s) {
    const Form189215Lines& l = kLines;
    const FederalForm71Lines& f71 = kFederalForm71Lines;
    double form71 = s.federalLine(kForm71ID, f71.taxpayerAmount);
    if (s.joint) {
        form71 += s.federalLine(kForm71ID, f71.spouseAmount);
    }
    s.form.assignIR(l.form71Amount, form71);

    s.form.assignIR(l.socialSecurityTaxable, s.common(Utils::kTaxableSocialSecurity));
    s.form.plus2(l.socialSecurity, l.socialSecurityTaxable, l.socialSecurityOther);
    s.blankIfZero(l.socialSecurity);

    // In hundredths, as the two statements and this line hold them.
    const double statements =
        s.keyed(kForm84ID, kForm84Lines.grossDistribution, kForm84Lines.distributionKey, kForm189215StatementKey) +
        s.allCopies(kForm165ID, kForm165Lines.unemployment);
    if (statements > 0) {
        s.form.assignIR(l.distributionsAndPayments, statements);
    }

    s.form.assignIR(l.usObligationsTotal, s.allCopies(kStateForm3ID, kStateForm3Lines.statement.usObligations.total) +
                                              s.allCopies(kStateForm2ID, kStateForm2Lines.netUsObligations.total));
    s.form.assignIR(l.usObligationsNet, std::max(0.0, s.line(l.usObligationsTotal) - s.line(l.usObligationsReduction) +
                                                          s.line(l.usObligationsAddition)));
    copyFieldOrNull(s.handle, l.usObligations, l.usObligationsNet);
}

// Indicators for the review: federal amounts that the schedule does not
// take, and the test of the itemized income box for an itemizing return.
void markFederalIndicators(const Schedule& s) {
    const Form189215Lines& l = kLines;
    const FederalReviewLines& r = kFederalReviewLines;
    const bool federalAmounts =
        std::any_of(r.untakenAmounts.begin(), r.untakenAmounts.end(),
                    [&](const FederalLine& untaken) { return s.allCopies(untaken.form, untaken.field) != 0; });
    s.indicator(l.federalFormsIndicator, federalAmounts);

    // The spouse's keyed amounts count when the federal return is joint.
    const KeyedFederalLine& first = r.keyedAmounts[0];
    const KeyedFederalLine& second = r.keyedAmounts[1];
    double keyed = s.keyed(first.form, first.amount, first.key, kForm189215StatementKey) +
                   s.keyed(second.form, second.amount, second.key, kForm189215StatementKey) +
                   s.federalLine(kForm1ID, kForm1Lines.reviewedKeyedAmount);
    if (s.engine.federalReturn()->getFilingStatusNumber() == FederalFilingStatus::kJoint) {
        keyed += s.keyed(first.form, first.amount, first.spouseKey, kForm189215StatementKey) +
                 s.keyed(second.form, second.amount, second.spouseKey, kForm189215StatementKey);
    }
    s.form.assignIR(l.federalKeysIndicator, keyed > 0 ? 1 : 0);

    bool belowLimit = false;
    if (s.common(Utils::kItemizes) == 1) {
        belowLimit =
            s.joint ? s.ga.getIR(kGAForm70ID, 1, kForm70Lines.income.federalAgi) < TaxYear::kItemizedJointIncomeLimit
                    : s.line(l.usObligationsNet) < TaxYear::kItemizedOtherLimit;
    }
    if (belowLimit) {
        s.form.setX(l.itemizedIncomeBox);
    } else {
        s.form.setXNo(l.itemizedIncomeBox);
    }
}

// The subtractions of a part-year resident's Georgia period, in the order
// they add; one of them counts up to its limit.
void sumPartYearSubtractions(const Schedule& s) {
    double total = 0.0;
    for (const FieldId& x : kLines.partYearSubtractionParts) {
        total +=
            x == kLines.partYearLimitedSubtraction ? s.form.minFnIR(x, TaxYear::kPartYearSubtractionLimit) : s.line(x);
    }
    s.form.assignIR(kLines.partYearSubtractions, total + s.line(kLines.hdhpSubtractionGeorgia));
}

// Review mark: the schedule needs a closer look.
void markForReview(const Schedule& s) {
    const Form189215Lines& l = kLines;
    const auto& pair = kForm57Lines.reviewedPair;
    const bool review =
        (s.line(l.lumpSumDistributions) > 0 && s.ga.formNo(kGAForm69ID, 1, kForm69Lines.residency.fullYear)) ||
        (s.line(l.municipalInterestLine) > 0 && s.ga.formYes(kGAForm69ID, 1, kForm69Lines.residency.partYear)) ||
        federalEntriesCallForReview(s.ga) || s.line(l.federalFormsIndicator) > 0 ||
        s.line(l.federalKeysIndicator) > 0 || s.federalLine(kForm57ID, pair[0]) + s.federalLine(kForm57ID, pair[1]) > 0;
    s.markOrBlank(l.reviewMark, review);
}

}  // namespace

void calcSubtractions(const Schedule& s) {
    const Form189215Lines& l = kLines;
    fillSourceAmounts(s);
    const std::string states = stateList(s);
    shareHealthPlanPremiums(s);
    fillOtherSubtractionRows(s, states);
    fillFederalSubtractions(s);
    markFederalIndicators(s);

    s.form.plus7(l.subtractions, l.taxpayerRetirement.exclusion, l.spouseRetirement.exclusion, l.socialSecurity,
                 l.savingsPlan, l.usObligations, l.otherSubtraction, l.otherSubtractions);
    s.blankIfZero(l.subtractions);
    sumPartYearSubtractions(s);
    s.form.minusII(l.netAdjustment, l.additions, l.subtractions);
    s.blankIfZero(l.netAdjustment);
    markForReview(s);

    if (s.line(l.additions) != 0.0 || s.line(l.subtractions) != 0.0) {
        s.ga.setDataEntered(kGAForm189215ID, s.copy, true, false);
        s.form.setCalculatedFlag(true);
    }
}

}  // namespace GACalculationMgmt::adjustments
