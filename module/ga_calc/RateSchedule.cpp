// The Georgia tax-rate schedule and the small amount helpers that the form
// routines share.
//
// The schedule is computed in whole ten-thousandths of a dollar, so every
// bracket amount, the one-cent take-off and the one-dollar add-on are exact
// and the rounding to whole dollars happens once, at the end, by an explicit
// rule: a remainder of exactly half a dollar or more rounds up. The tax is
// never negative, so this is the same rule as the host's rounding (halves
// away from zero), and it does not depend on how a build rounds binary
// fractions.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"

namespace GACalculationMgmt {

namespace {

// Ten-thousandths of a dollar.
constexpr std::int64_t kUnitsPerDollar = 10000;
constexpr std::int64_t kUnitsPerCent = 100;

// Incomes are held far below the range where the unit arithmetic could
// overflow: nine trillion dollars is 9e16 units, and six percent of it in
// units times 100 stays below 2^63.
constexpr double kIncomeLimit = 9.0e12;

using TaxYear::RateColumn;

const RateColumn& columnFor(int filingStatus) {
    if (filingStatus == FilingStatus::kSingle) {
        return TaxYear::kSingleRates;
    }
    if (filingStatus == FilingStatus::kSeparate) {
        return TaxYear::kSeparateRates;
    }
    return TaxYear::kJointRates;
}

// This year's rates are whole percents, which keeps the bracket amount an
// exact number of units.
constexpr bool wholePercents(const RateColumn& column) {
    for (const TaxYear::RateBand& band : column) {
        if (band.rate % TaxYear::kRateUnitsPerPercent != 0) {
            return false;
        }
    }
    return true;
}
static_assert(wholePercents(TaxYear::kSingleRates) && wholePercents(TaxYear::kSeparateRates) &&
              wholePercents(TaxYear::kJointRates));

// The bracket amount of a working amount given in cents, in units.
std::int64_t bracketAmount(const RateColumn& column, std::int64_t xCents) {
    std::size_t bracket = 0;
    for (std::size_t i = column.size() - 1; i > 0; --i) {
        if (xCents > column[i].over * 100) {
            bracket = i;
            break;
        }
    }
    const TaxYear::RateBand& band = column[bracket];
    const std::int64_t percent = band.rate / TaxYear::kRateUnitsPerPercent;
    // percent % of (x - over) dollars = percent * (cents over the edge) units.
    return band.base * kUnitsPerDollar + percent * (xCents - band.over * 100);
}

// Whole dollars of a non-negative amount in units; half a dollar rounds up.
std::int64_t roundUnitsToDollars(std::int64_t units) {
    if (units <= 0) {
        return 0;
    }
    return (units + kUnitsPerDollar / 2) / kUnitsPerDollar;
}

}  // namespace

double GATaxReturnCalcEngine::computeTaxFromRateSchedule(double income, int filingStatus) {
    if (std::isnan(income)) {
        return 0.0;
    }
    if (income > kIncomeLimit) {
        income = kIncomeLimit;
    }
    const double clamped = income < 0.0 ? 0.0 : income;

    // Below 100,000 the tax is that of the income moved to the middle of its
    // $100 bracket, its cents kept: the whole dollars past the bracket's
    // edge are replaced by 50 (0 to 99.99 works on 50 to 50.99, 4,961.85 on
    // 4,950.85); from 100,000 on, that of the income itself, to the cent.
    std::int64_t xCents = std::llround(clamped * 100.0);
    if (clamped < TaxYear::kMidpointIncomeLimit) {
        const auto width = static_cast<std::int64_t>(TaxYear::kBracketWidth);
        const auto wholeDollars = static_cast<std::int64_t>(std::floor(clamped));
        xCents += (width / 2 - wholeDollars % width) * 100;
    }

    std::int64_t units = bracketAmount(columnFor(filingStatus), xCents);
    if (filingStatus == FilingStatus::kSingle) {
        if (xCents < static_cast<std::int64_t>(TaxYear::kSingleNoTaxBelow) * 100) {
            return 0.0;
        }
        return static_cast<double>(roundUnitsToDollars(units));
    }

    // Every other status: one cent off, so that an amount ending in exactly
    // 50 cents rounds down ...
    units -= kUnitsPerCent;
    // ... except above 100,000, where an income that is an odd multiple of
    // $25 (its tax ends in exactly 50 cents) takes a dollar more and so
    // rounds up.
    if (income > TaxYear::kMidpointIncomeLimit) {
        const auto whole = static_cast<std::int64_t>(std::floor(income));
        if (whole % 25 == 0 && whole % 50 != 0) {
            units += kUnitsPerDollar;
        }
    }
    return static_cast<double>(roundUnitsToDollars(units));
}

double GATaxReturnCalcEngine::proportionalShare(double numerator, double divisor, double base) {
    // A share of nothing, or of a divisor that is not a positive amount, is
    // nothing: the caller stores it into a tax field, which must never hold
    // infinity or NaN.
    if (!(numerator > 0.0) || !(divisor > 0.0)) {
        return 0.0;
    }
    const double share = numerator / divisor * base;
    if (!std::isfinite(share) || share < 0.0) {
        return 0.0;
    }
    return share;
}

void GATaxReturnCalcEngine::storeComputedAmount(DataMgmt::TaxFormPtr copy, const FormId& otherForm, double amount,
                                                FieldId target, FieldId other, int filingStatus) {
    if (copy.isNull()) {
        return;
    }
    if (filingStatus == FilingStatus::kJoint) {
        // Joint return: the other column is open, and the target holds what
        // the other form's column does not take.
        copy->unProtect(other);
        const std::int64_t taken = gaReturn_->getIN(otherForm, 1, other);
        copy->assignIR(target, amount - static_cast<double>(taken));
        return;
    }
    copy->setNull(other);
    copy->assignIR(target, amount);
    copy->makeProtected(other);
}

void GATaxReturnCalcEngine::copyLinkedField(const FormId& sourceForm, FieldId sourceField, std::uint16_t copy,
                                            DataMgmt::TaxFormPtr& target, FieldId targetField) {
    if (target.isNull()) {
        return;
    }
    // The copy asked for, whatever the other copies of its form: a credit
    // form whose copy 1 was deleted still passes on its other copies' lines.
    DataMgmt::TaxFormPtr source = gaReturn_->getFormUVPtr(sourceForm, copy, false);
    if (source.isNull()) {
        return;
    }
    const DataMgmt::FormFieldPtr field = source->getField(sourceField);
    const DataMgmt::FormFieldDescPtr desc = field.isNull() ? DataMgmt::FormFieldDescPtr() : field->getFieldDesc();
    if (!desc.isNull() && desc->isBoolean()) {
        if (source->xMarked(sourceField)) {
            target->setX(targetField);
        } else {
            target->setXNo(targetField);
        }
        return;
    }
    if (!desc.isNull() && desc->isText()) {
        target->assignText(targetField, gaReturn_->getFieldAsString(sourceForm, copy, sourceField));
        return;
    }
    gaReturn_->getIIM(sourceForm, sourceField, copy, target, targetField);
}

void copyFieldOrNull(DataMgmt::TaxFormPtr copy, FieldId target, FieldId source) {
    if (copy.isNull()) {
        return;
    }
    if (copy->getIR(source) == 0.0) {
        copy->setNull(target);
        return;
    }
    copy->assignII(target, source);
}

}  // namespace GACalculationMgmt
