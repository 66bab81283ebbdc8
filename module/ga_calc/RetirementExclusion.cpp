// The retirement income exclusion of form 189215 (line 7), for the taxpayer
// and, on a joint return, the spouse.
//
// A filer qualifies by age (born in 1956 or before) or by the federal
// disability box. The limit is 65,000 for a filer born in 1953 or before and
// 35,000 otherwise. The exclusion is the filer's earned income (counted up to
// 4,000) and unearned income, within the limit, plus the disability income
// that the filer takes off the pension line.
//
// The unearned income that a couple shares (interest, dividends, gains,
// rents, other income) stands in two columns: the spouse's column holds what
// the couple enters as the spouse's part, and the taxpayer's column the rest.
//
// Inputs that apply only while a filer's status holds (the disability type
// and date, the disability income) are open while it holds and otherwise
// closed and emptied, so that no stale entry survives a change of status.

#include <algorithm>
#include <array>
#include <initializer_list>

#include "module/catalogues/Form57Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/ga_calc/AdjustmentSchedule.h"
#include "module/ga_calc/RetirementIncome.h"
#include "module/ga_calc/TaxYearAmounts.h"

namespace GACalculationMgmt::adjustments {

namespace {

// The shared unearned-income lines of a filer's worksheet.
constexpr std::size_t kSharedLines = kRetirementSharedLines;
using Worksheet = Form189215Lines::RetirementWorksheet;

// One filer's worksheet and where its inputs come from: the federal form 92
// lines and the common items of the federal return.
struct FilerLines {
    const Worksheet& worksheet;
    const FieldId& federalBirthDate;      // federal form 92
    const FieldId& federalDisabilityBox;  // federal form 92
    Utils::PCTypes wagesItem;
    Utils::PCTypes businessItem;
    Utils::PCTypes otherEarnedItem;
    Utils::PCTypes iraItem;
    Utils::PCTypes pensionItem;
};

const FilerLines kTaxpayer{
    .worksheet = kLines.taxpayerRetirement,
    .federalBirthDate = kForm92Lines.taxpayer.birthDate,
    .federalDisabilityBox = kForm92Lines.taxpayer.disabled,
    .wagesItem = Utils::kWagesTaxpayer,
    .businessItem = Utils::kBusinessIncomeTaxpayer,
    .otherEarnedItem = Utils::kOtherEarnedTaxpayer,
    .iraItem = Utils::kIraDistributionsTaxpayer,
    .pensionItem = Utils::kPensionsTaxpayer,
};

const FilerLines kSpouse{
    .worksheet = kLines.spouseRetirement,
    .federalBirthDate = kForm92Lines.spouse.birthDate,
    .federalDisabilityBox = kForm92Lines.spouse.disabled,
    .wagesItem = Utils::kWagesSpouse,
    .businessItem = Utils::kBusinessIncomeSpouse,
    .otherEarnedItem = Utils::kOtherEarnedSpouse,
    .iraItem = Utils::kIraDistributionsSpouse,
    .pensionItem = Utils::kPensionsSpouse,
};

void close(const Schedule& s, std::initializer_list<FieldId> fields) {
    for (const FieldId& x : fields) {
        s.form.makeProtectedAndSetNull(x);
    }
}

bool disabled(const Schedule& s, const FilerLines& filer) {
    return s.ga.formYes(kForm92ID, s.copy, filer.federalDisabilityBox);
}

std::array<double, kSharedLines> sharedAmounts(const Schedule& s) {
    const auto income = retirementSharedIncome(s.ga, s.form, s.federalForm, s.fullYear);
    std::array<double, kSharedLines> amounts{};
    for (std::size_t k = 0; k < kSharedLines; ++k) amounts[k] = income[k].amount;
    return amounts;
}

// Whether the filer qualifies by age or by disability, and the filer's limit
// (0 for a filer who does not qualify). A filer qualified by disability keeps
// the limit line as it was.
double qualify(const Schedule& s, const FilerLines& filer, bool eligible) {
    if (eligible) {
        const short year = s.ga.dateParse(s.handle, filer.worksheet.birthDate, Utils::kDateParseYear);
        if (year > 0 && year <= TaxYear::kRetirementLatestBirthYear) {
            const double limit = year <= TaxYear::kRetirementFullLimitLatestBirthYear ? TaxYear::kRetirementFullLimit
                                                                                      : TaxYear::kRetirementLowerLimit;
            s.form.assignIR(filer.worksheet.limit, limit);
            s.form.setX(filer.worksheet.qualifiesByAge);
            s.form.assignII(filer.worksheet.birthDateByAge, filer.worksheet.birthDate);
            return limit;
        }
        if (disabled(s, filer)) {
            s.form.setX(filer.worksheet.qualifiesByDisability);
            s.form.unProtect(filer.worksheet.disabilityType);
            s.form.unProtect(filer.worksheet.disabilityDate);
            s.form.setNull(filer.worksheet.birthDateByAge);
            return TaxYear::kRetirementLowerLimit;
        }
    }
    close(s, {filer.worksheet.disabilityType, filer.worksheet.disabilityDate, filer.worksheet.exclusion,
              filer.worksheet.birthDateByAge, filer.worksheet.limit});
    return 0.0;
}

// The disability inputs are open while the federal disability box is
// marked, also for a filer who qualifies by age.
void openDisabilityInputs(const Schedule& s, const FilerLines& filer, bool eligible) {
    if (eligible && disabled(s, filer)) {
        s.form.setX(filer.worksheet.qualifiesByDisability);
        for (const FieldId& x :
             {filer.worksheet.disabilityIncome, filer.worksheet.disabilityType, filer.worksheet.disabilityDate}) {
            s.form.unProtect(x);
        }
    } else {
        close(s, {filer.worksheet.disabilityIncome, filer.worksheet.disabilityType, filer.worksheet.disabilityDate});
    }
}

// The shared lines: on a joint return the spouse's column is open and the
// taxpayer's holds the amount less the spouse's part; otherwise the
// taxpayer's column holds the amount and the spouse's is closed.
void fillSharedLines(const Schedule& s, const std::array<double, kSharedLines>& amounts) {
    for (std::size_t k = 0; k < kSharedLines; ++k) {
        s.engine.storeComputedAmount(s.handle, kGAForm189215ID, amounts[k], kTaxpayer.worksheet.shared[k],
                                     kSpouse.worksheet.shared[k], s.filingStatus);
    }
}

void fillWorksheet(const Schedule& s, const FilerLines& filer, double limit,
                   const std::array<double, kSharedLines>& amounts) {
    DataMgmt::TaxForm& form = s.form;
    form.assignIR(filer.worksheet.wages, s.common(filer.wagesItem));
    form.assignIR(filer.worksheet.otherEarned, s.common(filer.businessItem) + s.common(filer.otherEarnedItem));
    form.plus2(filer.worksheet.earnedIncome, filer.worksheet.wages, filer.worksheet.otherEarned);
    form.assignIR(filer.worksheet.earnedIncomeCounted,
                  std::max(0.0, std::min(s.line(filer.worksheet.earnedIncome), TaxYear::kRetirementEarnedIncomeLimit)));

    fillSharedLines(s, amounts);
    form.assignIR(filer.worksheet.iraDistributions, s.common(filer.iraItem));
    // A disabled filer may take disability income off the pensions; it is
    // added to the exclusion whole.
    if (form.xMarked(filer.worksheet.qualifiesByDisability)) {
        form.unProtect(filer.worksheet.disabilityIncomeBox);
        form.unProtect(filer.worksheet.disabilityIncome);
    } else {
        close(s, {filer.worksheet.disabilityIncomeBox, filer.worksheet.disabilityIncome});
    }
    double pensions = s.common(filer.pensionItem);
    if (form.xMarked(filer.worksheet.disabilityIncomeBox)) {
        pensions = std::max(0.0, pensions - s.line(filer.worksheet.disabilityIncome));
    }
    form.assignIR(filer.worksheet.pensions, pensions);

    double unearned = s.line(filer.worksheet.iraDistributions) + s.line(filer.worksheet.pensions);
    for (const FieldId& x : filer.worksheet.shared) {
        unearned += s.line(x);
    }
    form.assignIR(filer.worksheet.unearnedIncome, std::max(0.0, unearned));
    form.plus2(filer.worksheet.total, filer.worksheet.earnedIncomeCounted, filer.worksheet.unearnedIncome);
    form.minIR(filer.worksheet.totalWithinLimit, filer.worksheet.total, limit);
    form.assignII(filer.worksheet.exclusion, filer.worksheet.totalWithinLimit);
}

// A filer without an exclusion has the worksheet's lines closed; the
// spouse's shared column stays open on a joint return, where it splits the
// couple's amounts.
void closeWorksheet(const Schedule& s, const FilerLines& filer, bool withSharedColumn) {
    close(s, {filer.worksheet.wages, filer.worksheet.otherEarned, filer.worksheet.earnedIncome,
              filer.worksheet.earnedIncomeCounted, filer.worksheet.iraDistributions, filer.worksheet.pensions,
              filer.worksheet.unearnedIncome, filer.worksheet.total, filer.worksheet.totalWithinLimit,
              filer.worksheet.exclusion});
    if (withSharedColumn) {
        for (const FieldId& x : filer.worksheet.shared) {
            s.form.makeProtectedAndSetNull(x);
        }
    }
}

bool qualifies(const Schedule& s, const FilerLines& filer) {
    return s.form.xMarked(filer.worksheet.qualifiesByAge) || s.form.xMarked(filer.worksheet.qualifiesByDisability);
}

}  // namespace

void calcRetirementExclusion(const Schedule& s) {
    const std::array<double, kSharedLines> amounts = sharedAmounts(s);
    for (const FilerLines* filer : {&kTaxpayer, &kSpouse}) {
        s.form.setXNo(filer->worksheet.qualifiesByAge);
        s.form.setXNo(filer->worksheet.qualifiesByDisability);
    }
    s.ga.getII(kForm92ID, kTaxpayer.federalBirthDate, s.handle, kTaxpayer.worksheet.birthDate);
    if (s.joint) {
        s.ga.getII(kForm92ID, kSpouse.federalBirthDate, s.handle, kSpouse.worksheet.birthDate);
    } else {
        s.form.setNull(kSpouse.worksheet.birthDate);
    }

    const double taxpayerLimit = qualify(s, kTaxpayer, true);
    openDisabilityInputs(s, kTaxpayer, true);
    openDisabilityInputs(s, kSpouse, s.joint);
    const double spouseLimit = qualify(s, kSpouse, s.joint);

    if (qualifies(s, kTaxpayer)) {
        fillWorksheet(s, kTaxpayer, taxpayerLimit, amounts);
    } else {
        closeWorksheet(s, kTaxpayer, true);
    }
    if (s.joint && qualifies(s, kSpouse)) {
        fillWorksheet(s, kSpouse, spouseLimit, amounts);
    } else {
        closeWorksheet(s, kSpouse, !s.joint);
    }

    // The disability income is added to each filer's exclusion, so that a
    // filer without an exclusion ends with 0.
    for (const FilerLines* filer : {&kTaxpayer, &kSpouse}) {
        s.form.assignIR(filer->worksheet.exclusion,
                        std::max(0.0, s.line(filer->worksheet.exclusion) + s.line(filer->worksheet.disabilityIncome)));
    }
}

}  // namespace GACalculationMgmt::adjustments
