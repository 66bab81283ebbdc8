// Form 189215's lines by what they hold: named references to the members
// of its catalogue (kGAForm189215FieldIds). Form 189215, the Georgia
// additions and subtractions with the retirement income exclusion, is
// filled by the calculation and read by the summary lines, the review and
// the e-file records.
#pragma once

#include <array>
#include <cstdint>

#include "module/catalogues/GAForm189215FieldIds.h"
#include "platform/Primitives.h"

// The key under which federal forms 7, 16 and 84 hold the amounts that the
// schedule takes (a 1099-R's gross distribution keyed 12 reaches line
// 189340).
inline constexpr std::int64_t kForm189215StatementKey = 12;

// The lines of form 189215 that the additions and the subtractions write,
// and the inputs they read.
struct Form189215Lines {
    using Line = const Primitives::QVImmutableIdentifier&;
    using Field = Primitives::QVImmutableIdentifier;
    Line taxpayerNumber, taxpayerNumberAgain;

    // One filer's retirement income exclusion worksheet: whether the filer
    // qualifies by age or by disability, the earned income counted up to its
    // limit, the unearned income (six lines on which the couple's amounts are
    // split, the IRA distributions and the pensions) and the exclusion, the
    // total up to the filer's limit (line 7).
    struct RetirementWorksheet {
        Line qualifiesByAge, qualifiesByDisability;
        Line birthDate;
        Line birthDateByAge;  // the birth date again when it qualifies
        Line disabilityType, disabilityDate;
        Line disabilityIncome;  // taken off the pensions, added to the exclusion
        Line disabilityIncomeBox;
        Line limit;
        Line wages, otherEarned, earnedIncome, earnedIncomeCounted;
        std::array<Field, 6> shared;
        Line iraDistributions, pensions, unearnedIncome, total, totalWithinLimit;
        Line exclusion;
    };

    // Line 1, interest on other states' municipal bonds: of a full-year
    // resident; or of a part-year resident, less the part earned while not a
    // resident; then less an entered reduction.
    Line municipalInterestResident, municipalInterestPartYear, municipalInterestNotResident;
    Line municipalInterestWhileResident, municipalInterestReduction, municipalInterestAddition;
    Line municipalInterestLine;
    Line lumpSumDistributions;           // line 2
    Line productionActivitiesDeduction;  // line 3
    Line lossCarryover;                  // line 4
    // Line 5, other additions: their parts and the words that name them.
    Line otherLoss, depreciationDifference, otherDepreciation, otherWages, donation1;
    Line savingsPlanWithdrawals, donation2, donation3, otherAdditionsText, otherAdditions;
    Line additions;  // line 6
    // Indicator lines (1 or blank) and boxes for the review.
    Line depreciationIndicator, depreciationHistoryIndicator, depreciationItemAIndicator;
    Line depreciationItemBIndicator, form24328Indicator, priorYearsIndicator, depreciationBox1;
    Line depreciationBox2, otherAdditionsBox1, otherAdditionsBox2, form28Indicator, form51Or89Box;
    Line form51Box, federalFormsIndicator, federalKeysIndicator, itemizedIncomeBox, reviewMark;

    // Amounts entered by state, with the states' two-letter codes.
    Line byStateTotal;
    std::array<Field, 3> byStateCodes, byStateAmounts;
    Line sCorporation, childInterest;
    // High-deductible health plan premiums, and the part of them that the
    // federal itemized deductions did not take.
    Line hdhpPremiums, otherHdhp, hdhpSubtraction, hdhpPremiumsGeorgia, otherHdhpGeorgia;
    Line hdhpSubtractionGeorgia;
    // Line 11, other subtractions: four rows of an amount and its words.
    std::array<Field, 4> otherRowAmounts, otherRowTexts;
    Line otherSubtractions, form71Amount, socialSecurityTaxable, socialSecurityOther;
    Line socialSecurity;  // line 8
    Line savingsPlan;     // line 9
    // The 1099-R distributions keyed 12 and the 1099-G unemployment
    // compensation, shown beside the subtractions and not added to them.
    Line distributionsAndPayments;
    // Line 10, interest on U.S. obligations.
    Line usObligationsTotal, usObligationsReduction, usObligationsAddition, usObligationsNet;
    Line usObligations, otherSubtraction;
    // Other subtractions with a limit or an attachment of their own:
    // payments to minority contractors, organ donor expenses and physician
    // clerks.
    Line minorityContractors, organDonor, physicianClerks;
    // The other subtractions that only the rows of line 11 take, each
    // under the words its row shows.
    struct SubtractionSources {
        Line jobCreditWages, previouslyTaxedIra, previouslyTaxedKeogh, depreciation;
        Line federalExempt, retiredTeacher, ficaCredit, depreciationAgain, combatPay;
        Line k1Income, georgiaDifference, mortgageInterest;
        Line firefighterInsurance, firefighterPremiums, veteranSurvivorIncome;
    };
    SubtractionSources subtractionSources;
    RetirementWorksheet taxpayerRetirement, spouseRetirement;
    Line subtractions;   // line 12
    Line netAdjustment;  // line 13

    // The additions and subtractions of a part-year resident's Georgia
    // period, which the part-year schedule takes: each the sum of its
    // parts, in the order they are added; one subtraction counts only up
    // to its limit.
    Line partYearAdditions, partYearSubtractions;
    std::array<Field, 13> partYearAdditionParts;
    std::array<Field, 23> partYearSubtractionParts;
    Line partYearLimitedSubtraction;
};

inline constexpr Form189215Lines kForm189215Lines = [] {
    const auto& f215 = kGAForm189215FieldIds;
    return Form189215Lines{
        .taxpayerNumber = f215.f189259,
        .taxpayerNumberAgain = f215.f197057,
        .municipalInterestResident = f215.f189260,
        .municipalInterestPartYear = f215.f189261,
        .municipalInterestNotResident = f215.f189262,
        .municipalInterestWhileResident = f215.f189263,
        .municipalInterestReduction = f215.f189264,
        .municipalInterestAddition = f215.f189265,
        .municipalInterestLine = f215.f189266,
        .lumpSumDistributions = f215.f189281,
        .productionActivitiesDeduction = f215.f189282,
        .lossCarryover = f215.f189283,
        .otherLoss = f215.f189284,
        .depreciationDifference = f215.f189286,
        .otherDepreciation = f215.f189287,
        .otherWages = f215.f189288,
        .donation1 = f215.f189289,
        .savingsPlanWithdrawals = f215.f189290,
        .donation2 = f215.f189291,
        .donation3 = f215.f199465,
        .otherAdditionsText = f215.f189292,
        .otherAdditions = f215.f189293,
        .additions = f215.f189294,
        .depreciationIndicator = f215.f189244,
        .depreciationHistoryIndicator = f215.f189245,
        .depreciationItemAIndicator = f215.f189246,
        .depreciationItemBIndicator = f215.f189247,
        .form24328Indicator = f215.f189248,
        .priorYearsIndicator = f215.f189255,
        .depreciationBox1 = f215.f189249,
        .depreciationBox2 = f215.f189250,
        .otherAdditionsBox1 = f215.f189285,
        .otherAdditionsBox2 = f215.f189258,
        .form28Indicator = f215.f189235,
        .form51Or89Box = f215.f189233,
        .form51Box = f215.f195910,
        .federalFormsIndicator = f215.f189234,
        .federalKeysIndicator = f215.f189236,
        .itemizedIncomeBox = f215.f189344,
        .reviewMark = f215.f189232,
        .byStateTotal = f215.f189386,
        .byStateCodes = {f215.f189387, f215.f189389, f215.f189391},
        .byStateAmounts = {f215.f189388, f215.f189390, f215.f189392},
        .sCorporation = f215.f189384,
        .childInterest = f215.f189385,
        .hdhpPremiums = f215.f189402,
        .otherHdhp = f215.f189403,
        .hdhpSubtraction = f215.f189406,
        .hdhpPremiumsGeorgia = f215.f189368,
        .otherHdhpGeorgia = f215.f189369,
        .hdhpSubtractionGeorgia = f215.f189407,
        .otherRowAmounts = {f215.f189410, f215.f189412, f215.f189414, f215.f189416},
        .otherRowTexts = {f215.f189409, f215.f189411, f215.f189413, f215.f189415},
        .otherSubtractions = f215.f189408,
        .form71Amount = f215.f189227,
        .socialSecurityTaxable = f215.f189370,
        .socialSecurityOther = f215.f189371,
        .socialSecurity = f215.f189372,
        .savingsPlan = f215.f189373,
        .distributionsAndPayments = f215.f189340,
        .usObligationsTotal = f215.f189374,
        .usObligationsReduction = f215.f189375,
        .usObligationsAddition = f215.f189376,
        .usObligationsNet = f215.f189377,
        .usObligations = f215.f189378,
        .otherSubtraction = f215.f189379,
        .minorityContractors = f215.f189396,
        .organDonor = f215.f189399,
        .physicianClerks = f215.f189405,
        .subtractionSources =
            {
                .jobCreditWages = f215.f189380,
                .previouslyTaxedIra = f215.f189381,
                .previouslyTaxedKeogh = f215.f189382,
                .depreciation = f215.f189383,
                .federalExempt = f215.f189393,
                .retiredTeacher = f215.f189394,
                .ficaCredit = f215.f189395,
                .depreciationAgain = f215.f189397,
                .combatPay = f215.f189398,
                .k1Income = f215.f189400,
                .georgiaDifference = f215.f189401,
                .mortgageInterest = f215.f189404,
                .firefighterInsurance = f215.f207105,
                .firefighterPremiums = f215.f207106,
                .veteranSurvivorIncome = f215.f207107,
            },
        .taxpayerRetirement =
            {
                .qualifiesByAge = f215.f189228,
                .qualifiesByDisability = f215.f189230,
                .birthDate = f215.f189256,
                .birthDateByAge = f215.f189331,
                .disabilityType = f215.f189332,
                .disabilityDate = f215.f189333,
                .disabilityIncome = f215.f189327,
                .disabilityIncomeBox = f215.f189329,
                .limit = f215.f189323,
                .wages = f215.f189295,
                .otherEarned = f215.f189297,
                .earnedIncome = f215.f189299,
                .earnedIncomeCounted = f215.f189301,
                .shared = {f215.f189303, f215.f189305, f215.f189307, f215.f189309, f215.f189311, f215.f189317},
                .iraDistributions = f215.f189313,
                .pensions = f215.f189315,
                .unearnedIncome = f215.f189319,
                .total = f215.f189321,
                .totalWithinLimit = f215.f189325,
                .exclusion = f215.f189334,
            },
        .spouseRetirement =
            {
                .qualifiesByAge = f215.f189229,
                .qualifiesByDisability = f215.f189231,
                .birthDate = f215.f189257,
                .birthDateByAge = f215.f189335,
                .disabilityType = f215.f189336,
                .disabilityDate = f215.f189337,
                .disabilityIncome = f215.f189328,
                .disabilityIncomeBox = f215.f189330,
                .limit = f215.f189324,
                .wages = f215.f189296,
                .otherEarned = f215.f189298,
                .earnedIncome = f215.f189300,
                .earnedIncomeCounted = f215.f189302,
                .shared = {f215.f189304, f215.f189306, f215.f189308, f215.f189310, f215.f189312, f215.f189318},
                .iraDistributions = f215.f189314,
                .pensions = f215.f189316,
                .unearnedIncome = f215.f189320,
                .total = f215.f189322,
                .totalWithinLimit = f215.f189326,
                .exclusion = f215.f189338,
            },
        .subtractions = f215.f189417,
        .netAdjustment = f215.f189418,
        .partYearAdditions = f215.f189222,
        .partYearSubtractions = f215.f189223,
        .partYearAdditionParts = {f215.f189270, f215.f189271, f215.f189272, f215.f189273, f215.f189274, f215.f189275,
                                  f215.f189276, f215.f189277, f215.f189278, f215.f189279, f215.f189280, f215.f203640,
                                  f215.f203641},
        .partYearSubtractionParts = {f215.f189224, f215.f189347, f215.f189225, f215.f189226, f215.f189349, f215.f189350,
                                     f215.f189351, f215.f189352, f215.f189353, f215.f189354, f215.f189355, f215.f189356,
                                     f215.f189357, f215.f189358, f215.f189359, f215.f189360, f215.f189361, f215.f189362,
                                     f215.f189363, f215.f189364, f215.f189365, f215.f189366, f215.f189367},
        .partYearLimitedSubtraction = f215.f189358,
    };
}();
