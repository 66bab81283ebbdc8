// Georgia form 189215, the additions to and subtractions from federal
// adjusted gross income.
//
// Additions: interest on other states' municipal bonds, lump-sum
// distributions, the loss carried over on the federal return and the other
// additions with their description. Subtractions: the retirement income
// exclusion of each filer (RetirementExclusion.cpp), taxable social security,
// interest on U.S. obligations and up to four rows of other subtractions.
// The net adjustment (additions less subtractions) is what form 70 adds to
// federal adjusted gross income; the part-year schedule (form 189217) reads
// the additions and subtractions of a part-year resident's Georgia period.
//
// The routine reads and writes the copy it is given; every line is recomputed
// on each call. An amount line described as "blank when 0" is left empty
// rather than showing 0.

#include <cmath>
#include <string>

#include "module/catalogues/FederalReviewLines.h"
#include "module/catalogues/Form57Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/ga_calc/AdjustmentSchedule.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt::adjustments {

namespace {

// ------------------------------------------------------------ additions

// Interest on other states' municipal bonds, from the interest statement's
// and the dividend statement's out-of-state municipal totals. A part-year
// resident adds only what was earned while a resident.
void addMunicipalInterest(const Schedule& s) {
    const Form189215Lines& l = kLines;
    const double outOfState = s.allCopies(kStateForm3ID, kStateForm3Lines.statement.outOfStateMunicipal.total) +
                              s.allCopies(kStateForm2ID, kStateForm2Lines.statement.outOfStateMunicipal.total);
    if (s.fullYear) {
        s.form.setNull(l.municipalInterestPartYear);
        s.form.setNull(l.municipalInterestWhileResident);
        s.form.setNull(l.municipalInterestNotResident);
        s.form.assignIR(l.municipalInterestResident, outOfState);
        s.form.minusIIge0(l.municipalInterestAddition, l.municipalInterestResident, l.municipalInterestReduction);
    } else {
        s.form.assignIR(l.municipalInterestPartYear, outOfState);
        s.form.minusIIge0(l.municipalInterestWhileResident, l.municipalInterestPartYear,
                          l.municipalInterestNotResident);
        s.form.minusIIge0(l.municipalInterestAddition, l.municipalInterestWhileResident, l.municipalInterestReduction);
        s.form.setNull(l.municipalInterestResident);
    }
    copyFieldOrNull(s.handle, l.municipalInterestLine, l.municipalInterestAddition);
}

// Lump-sum distributions of a return filed on federal form 1: the amounts of
// the retirement-distribution statements (federal form 84) that are marked
// as lump sums; a spouse's statement counts only on a joint return.
void addLumpSumDistributions(const Schedule& s) {
    if (!(s.federalForm == kForm1ID)) {
        s.form.setNull(kLines.lumpSumDistributions);
        return;
    }
    const Form84Lines& f84 = kForm84Lines;
    double total = 0.0;
    for (DataMgmt::TaxFormIter it = s.engine.federalReturn()->getForms(kForm84ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr statement = it.getTaxForm();
        const std::uint16_t number = statement->getCopyNumber();
        if (!s.joint && s.ga.formYes(kForm84ID, number, f84.spouse)) {
            continue;
        }
        if (s.ga.formYes(kForm84ID, number, f84.lumpSumBox1) || s.ga.formYes(kForm84ID, number, f84.lumpSumBox2)) {
            total += s.ga.federalDisplayAmount(*statement, f84.lumpSum.getNumber());  // kept in hundredths
        }
    }
    Utils::maybeSetValue(s.handle, kLines.lumpSumDistributions, total);
}

// Indicator lines and boxes that tell the review which federal amounts and
// forms bear on the other additions.
void markAdditionIndicators(const Schedule& s) {
    const Form189215Lines& l = kLines;
    const double itemA = s.common(Utils::kDepreciationItemA);
    const double itemB = s.common(Utils::kDepreciationItemB);
    const double itemC = s.common(Utils::kDepreciationItemC);
    s.indicator(l.depreciationIndicator, itemC + itemA > 0);
    s.indicator(l.depreciationHistoryIndicator, itemB > 0 || s.engine.scanFormDates());
    s.indicator(l.depreciationItemAIndicator, itemA > 0);
    s.indicator(l.depreciationItemBIndicator, itemB > 0);
    s.indicator(l.priorYearsIndicator, s.engine.scanFormDates());
    s.indicator(l.form24328Indicator, s.ga.dataEnteredOnAnyCopy(kForm24328ID));

    // The first box defaults on while a depreciation difference stood on
    // the schedule before this calculation rewrites it.
    if (s.form.isNull(l.depreciationBox1) && s.form.isNull(l.depreciationBox2) &&
        s.form.gtZero(l.depreciationDifference)) {
        s.form.setX(l.depreciationBox1);
    }
    s.form.setX(l.depreciationBox2);
    s.form.assignIR(l.depreciationDifference, itemC + itemA);
    s.form.oneX2AndDefault(l.otherAdditionsBox1, l.otherAdditionsBox2);

    const KeyedFederalLine& form28 = kFederalReviewLines.form28Amount;
    double keyedTotal = 0.0;
    for (const std::int64_t key : {6, 1, 3, 2}) {
        keyedTotal += s.keyed(form28.form, form28.amount, form28.key, key);
    }
    s.indicator(l.form28Indicator, keyedTotal > TaxYear::kForm28KeyedAmountLimit);
    s.markOrBlank(l.form51Or89Box, s.ga.getFormCount(kForm89ID) + s.ga.getFormCount(kForm51ID) > 0);
    s.markOrBlank(l.form51Box, s.ga.getFormCount(kForm51ID) > 0);
}

// Other additions (line 5) and the words that say what they are.
void addOtherAdditions(const Schedule& s) {
    const Form189215Lines& l = kLines;
    s.form.setValueToSumOf(l.otherAdditions, l.otherLoss, l.depreciationDifference, l.otherDepreciation, l.otherWages,
                           l.donation1, l.savingsPlanWithdrawals, l.donation2, l.donation3, Primitives::kNullFieldID);
    std::string text;
    auto add = [&text](bool applies, const char* word) {
        if (applies) {
            text += text.empty() ? word : std::string(", ") + word;
        }
    };
    add(s.line(l.otherLoss) != 0.0, "NOL");
    add(s.form.sumOf2(l.otherDepreciation, l.depreciationDifference) > 0, "DEPRECIATION");
    add(s.line(l.otherWages) != 0.0, "WAGES");
    add(s.line(l.donation1) != 0.0 || s.line(l.donation2) != 0.0 || s.line(l.donation3) != 0.0, "DONATION");
    add(s.line(l.savingsPlanWithdrawals) != 0.0, "529");
    s.form.assignText(l.otherAdditionsText, text);
    s.blankIfZero(l.otherAdditions);
}

}  // namespace

void calcAdditions(const Schedule& s) {
    const Form189215Lines& l = kLines;
    s.ga.getII(kGAForm69ID, kForm69Lines.heading.taxpayerNumber, s.handle, l.taxpayerNumber);
    s.form.assignII(l.taxpayerNumberAgain, l.taxpayerNumber);
    addMunicipalInterest(s);
    addLumpSumDistributions(s);
    // The deduction for domestic production activities no longer exists;
    // the loss carried over is added back whole.
    s.form.makeProtectedAndSetNull(l.productionActivitiesDeduction);
    s.form.assignIR(l.lossCarryover, std::fabs(s.federalLine(kForm57ID, kForm57Lines.loss)));
    markAdditionIndicators(s);
    addOtherAdditions(s);
    s.form.plus5(l.additions, l.municipalInterestLine, l.lumpSumDistributions, l.productionActivitiesDeduction,
                 l.lossCarryover, l.otherAdditions);
    s.blankIfZero(l.additions);
    // The additions of a part-year resident's Georgia period.
    s.form.setValueToSumOf(l.partYearAdditions, l.partYearAdditionParts);
}

}  // namespace GACalculationMgmt::adjustments

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcAdjustmentsForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    const int status = gaReturn_->getFilingStatusNumber();
    const adjustments::Schedule s{*this,
                                  *gaReturn_,
                                  handle,
                                  *handle,
                                  copy,
                                  status,
                                  status == FilingStatus::kJoint,
                                  gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.residency.fullYear),
                                  getFederalForm()};
    adjustments::calcAdditions(s);
    // The retirement exclusion reads the municipal interest addition and the
    // amounts by state as they stand before the subtractions rewrite them.
    adjustments::calcRetirementExclusion(s);
    adjustments::calcSubtractions(s);
}

}  // namespace GACalculationMgmt
