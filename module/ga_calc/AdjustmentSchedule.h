// Form 189215, the Georgia additions and subtractions: its lines by what they
// hold, and what the three parts of its calculation (additions, retirement
// income exclusion, subtractions) work with. Internal to the calculation.
#pragma once

#include <array>
#include <cstdint>

#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt::adjustments {

inline const auto& f215 = kGAForm189215FieldIds;

// The lines of form 189215 that the additions and the subtractions write,
// and the inputs they read.
struct Form189215Lines {
    const FieldId& taxpayerNumber = f215.f189259;
    const FieldId& taxpayerNumberAgain = f215.f197057;

    // Line 1, interest on other states' municipal bonds: of a full-year
    // resident; or of a part-year resident, less the part earned while not a
    // resident; then less an entered reduction.
    const FieldId& municipalInterestResident = f215.f189260;
    const FieldId& municipalInterestPartYear = f215.f189261;
    const FieldId& municipalInterestNotResident = f215.f189262;
    const FieldId& municipalInterestWhileResident = f215.f189263;
    const FieldId& municipalInterestReduction = f215.f189264;
    const FieldId& municipalInterestAddition = f215.f189265;
    const FieldId& municipalInterestLine = f215.f189266;
    const FieldId& lumpSumDistributions = f215.f189281;           // line 2
    const FieldId& productionActivitiesDeduction = f215.f189282;  // line 3
    const FieldId& lossCarryover = f215.f189283;                  // line 4
    // Line 5, other additions: their parts and the words that name them.
    const FieldId& otherLoss = f215.f189284;
    const FieldId& depreciationDifference = f215.f189286;
    const FieldId& otherDepreciation = f215.f189287;
    const FieldId& otherWages = f215.f189288;
    const FieldId& donation1 = f215.f189289;
    const FieldId& savingsPlanWithdrawals = f215.f189290;
    const FieldId& donation2 = f215.f189291;
    const FieldId& donation3 = f215.f199465;
    const FieldId& otherAdditionsText = f215.f189292;
    const FieldId& otherAdditions = f215.f189293;
    const FieldId& additions = f215.f189294;  // line 6
    // Indicator lines (1 or blank) and boxes for the review.
    const FieldId& depreciationIndicator = f215.f189244;
    const FieldId& depreciationHistoryIndicator = f215.f189245;
    const FieldId& depreciationItemAIndicator = f215.f189246;
    const FieldId& depreciationItemBIndicator = f215.f189247;
    const FieldId& form24328Indicator = f215.f189248;
    const FieldId& priorYearsIndicator = f215.f189255;
    const FieldId& depreciationBox1 = f215.f189249;
    const FieldId& depreciationBox2 = f215.f189250;
    const FieldId& otherAdditionsBox1 = f215.f189285;
    const FieldId& otherAdditionsBox2 = f215.f189258;
    const FieldId& form28Indicator = f215.f189235;
    const FieldId& form51Or89Box = f215.f189233;
    const FieldId& form51Box = f215.f195910;
    const FieldId& federalFormsIndicator = f215.f189234;
    const FieldId& federalKeysIndicator = f215.f189236;
    const FieldId& itemizedIncomeBox = f215.f189344;
    const FieldId& reviewMark = f215.f189232;

    // Amounts entered by state, with the states' two-letter codes.
    const FieldId& byStateTotal = f215.f189386;
    const std::array<FieldId, 3> byStateCodes{f215.f189387, f215.f189389, f215.f189391};
    const std::array<FieldId, 3> byStateAmounts{f215.f189388, f215.f189390, f215.f189392};
    const FieldId& sCorporation = f215.f189384;
    const FieldId& childInterest = f215.f189385;
    // High-deductible health plan premiums, and the part of them that the
    // federal itemized deductions did not take.
    const FieldId& hdhpPremiums = f215.f189402;
    const FieldId& otherHdhp = f215.f189403;
    const FieldId& hdhpSubtraction = f215.f189406;
    const FieldId& hdhpPremiumsGeorgia = f215.f189368;
    const FieldId& otherHdhpGeorgia = f215.f189369;
    const FieldId& hdhpSubtractionGeorgia = f215.f189407;
    // Line 11, other subtractions: four rows of an amount and its words.
    const std::array<FieldId, 4> otherRowAmounts{f215.f189410, f215.f189412, f215.f189414, f215.f189416};
    const std::array<FieldId, 4> otherRowTexts{f215.f189409, f215.f189411, f215.f189413, f215.f189415};
    const FieldId& otherSubtractions = f215.f189408;
    const FieldId& form71Amount = f215.f189227;
    const FieldId& socialSecurityTaxable = f215.f189370;
    const FieldId& socialSecurityOther = f215.f189371;
    const FieldId& socialSecurity = f215.f189372;  // line 8
    const FieldId& savingsPlan = f215.f189373;     // line 9
    const FieldId& distributionsAndPayments = f215.f189340;
    // Line 10, interest on U.S. obligations.
    const FieldId& usObligationsTotal = f215.f189374;
    const FieldId& usObligationsReduction = f215.f189375;
    const FieldId& usObligationsAddition = f215.f189376;
    const FieldId& usObligationsNet = f215.f189377;
    const FieldId& usObligations = f215.f189378;
    const FieldId& otherSubtraction = f215.f189379;
    const FieldId& taxpayerExclusion = f215.f189334;  // line 7
    const FieldId& spouseExclusion = f215.f189338;
    const FieldId& subtractions = f215.f189417;   // line 12
    const FieldId& netAdjustment = f215.f189418;  // line 13

    // The additions and subtractions of a part-year resident's Georgia
    // period, which the part-year schedule takes.
    const FieldId& partYearAdditions = f215.f189222;
    const FieldId& partYearSubtractions = f215.f189223;
};

inline const Form189215Lines kLines{};

// What every step of the schedule works with: the engine, the Georgia return
// (federal forms are read through it), the copy being calculated and the
// facts of the return that the steps test.
struct Schedule {
    GATaxReturnCalcEngine& engine;
    GADataMgmt::GATaxReturn& ga;
    mutable DataMgmt::TaxFormPtr handle;  // the host passes it on by reference
    DataMgmt::TaxForm& form;
    std::uint16_t copy;
    int filingStatus;
    bool joint;     // married filing jointly
    bool fullYear;  // a full-year Georgia resident
    FormId federalForm;

    double line(const FieldId& x) const { return form.getIR(x); }
    double common(Utils::PCTypes item) const { return static_cast<double>(ga.pullCommon(federalForm, 1, item)); }
    double allCopies(const FormId& source, const FieldId& x) const {
        return static_cast<double>(ga.getAllCopies(source, x));
    }
    // The field added over the copies whose key field holds the key.
    double keyed(const FormId& source, const FieldId& x, const FieldId& key, std::int64_t value) const {
        return static_cast<double>(ga.maybeGetFromAllCopies(source, x, key, value));
    }
    // A field of copy 1 of a federal form.
    double federalLine(const FormId& source, const FieldId& x) const { return ga.getIR(source, 1, x); }
    void blankIfZero(const FieldId& x) const {
        if (form.nonNull(x) && form.getIR(x) == 0.0) {
            form.setNull(x);
        }
    }
    // An indicator line holds 1 while its test holds and is blank otherwise.
    void indicator(const FieldId& x, bool holds) const {
        if (holds) {
            form.assignIR(x, 1);
        } else {
            form.setNull(x);
        }
    }
    void markOrBlank(const FieldId& x, bool holds) const {
        if (holds) {
            form.setX(x);
        } else {
            form.setNull(x);
        }
    }
};

void calcAdditions(const Schedule& s);
void calcRetirementExclusion(const Schedule& s);
void calcSubtractions(const Schedule& s);

}  // namespace GACalculationMgmt::adjustments
