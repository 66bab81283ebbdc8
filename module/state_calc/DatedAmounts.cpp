// Amounts sorted by the dates beside them: the four installment periods of
// twelve dated rows, and the yearly totals of federal forms 31 and 126.
#include <array>

#include "module/catalogues/DatedAmountLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

namespace {

constexpr int kDatedRows = 12;
constexpr int kFirstScannedYear = 2003;
constexpr int kLastScannedYear = 2010;
constexpr double kYearlyLimit = 25000.0;

}  // namespace

void StateTaxReturnCalcEngine::sumAmountsByPeriod(FormId form, FieldId firstField, double& total1, double& total2,
                                                  double& total3, double& total4, short endMonth1, short endDay1,
                                                  short endMonth2, short endDay2, short endMonth3, short endDay3,
                                                  short endMonth4, short endDay4, short year) {
    total1 = 0.0;
    total2 = 0.0;
    total3 = 0.0;
    total4 = 0.0;
    const std::int64_t yearStart = Utils::dateToNumber(1, 1, year);
    const std::int64_t end1 = Utils::dateToNumber(endMonth1, endDay1, year);
    const std::int64_t end2 = Utils::dateToNumber(endMonth2, endDay2, year);
    const std::int64_t end3 = Utils::dateToNumber(endMonth3, endDay3, year);
    const std::int64_t end4 = Utils::dateToNumber(endMonth4, endDay4, year + 1);

    DataMgmt::TaxFormPtr copy = stateReturn_->getFormUVPtr(form, 1, false);
    if (copy.isNull()) {
        return;
    }
    DataMgmt::QVFieldIDIter first = copy->description().getFieldIDs();
    first = firstField;
    for (int i = 0; i < kDatedRows; ++i) {
        const FieldId dateField = (first + 2 * i).getFieldID();
        const FieldId amountField = (first + 2 * i + 1).getFieldID();
        if (dateField.isNullID() || amountField.isNullID()) {
            break;  // the form has fewer rows
        }
        const std::int64_t date = Utils::dateToNumber(stateReturn_->dateParse(copy, dateField, Utils::kDateParseMonth),
                                                      stateReturn_->dateParse(copy, dateField, Utils::kDateParseDay),
                                                      stateReturn_->dateParse(copy, dateField, Utils::kDateParseYear));
        const auto amount = static_cast<double>(stateReturn_->getIN(form, 1, amountField));
        if (amount <= 0.0 || date < 1 || date < yearStart) {
            continue;
        }
        // A date on a period's last day belongs to that period.
        if (date <= end1) {
            total1 += amount;
        } else if (date <= end2) {
            total2 += amount;
        } else if (date <= end3) {
            total3 += amount;
        } else if (date <= end4) {
            total4 += amount;
        }
    }
}

bool StateTaxReturnCalcEngine::scanFormDates() {
    std::array<double, kLastScannedYear - kFirstScannedYear + 1> totals{};
    DataMgmt::TaxReturn& federal = *federalReturn();

    struct DatedForm {
        FormId form;
        FieldId date;
        FieldId amount;
    };
    const DatedForm forms[] = {
        {
            .form = kForm31ID,
            .date = kForm31Lines.date,
            .amount = kForm31Lines.amount,
        },
        {
            .form = kForm126ID,
            .date = kForm126Lines.date,
            .amount = kForm126Lines.amount,
        },
    };
    for (const DatedForm& dated : forms) {
        // Every copy the form has, whatever its number: copies keep their
        // numbers when an earlier one is deleted.
        for (DataMgmt::TaxFormIter it = federal.getForms(dated.form); !it.atEOL(); it.next()) {
            DataMgmt::TaxFormPtr copy = it.getTaxForm();
            if (copy.isNull()) {
                continue;
            }
            const short year = stateReturn_->dateParse(copy, dated.date, Utils::kDateParseYear);
            if (year < kFirstScannedYear || year > kLastScannedYear) {
                continue;
            }
            totals[static_cast<std::size_t>(year - kFirstScannedYear)] +=
                static_cast<double>(federal.getIN(dated.form, copy->getCopyNumber(), dated.amount));
        }
    }
    for (double total : totals) {
        if (total > kYearlyLimit) {
            return true;
        }
    }
    return false;
}

}  // namespace StateCalculationMgmt
