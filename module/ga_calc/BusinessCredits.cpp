// Georgia form 203811, a pass-through business credit.
//
// Every copy is one credit, named by its entry in the Georgia credit-code
// table, with up to six rows of five fields. Each row's fifth field is its
// amount; the rows and the amount added make the total, which is split into
// a first and a second part used and what remains. The credit summary
// (form 189216) copies the name, the code and the lines.

#include <algorithm>
#include <cstdint>
#include <string>

#include "module/catalogues/Form203811Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"
#include "module/interview/FieldOptions.h"
#include "platform/util/Utils.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using BusinessRow = Form203811Lines::BusinessRow;

// The code of the credit named, the name compared without regard to letter
// case; empty when the table has no such name.
std::string creditCodeOf(const std::string& name) {
    for (std::int16_t row = 0;; ++row) {
        const FieldOptionsMgmt::CreditCodeEntry entry = FieldOptionsMgmt::getCreditCodeEntry(row);
        if (entry.name.empty()) {
            return std::string();
        }
        if (Utils::QVStringUtils::stricmp(entry.name, name) == 0) {
            return std::string(entry.code);
        }
    }
}

}  // namespace

void GATaxReturnCalcEngine::calcBusinessCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                   int passThrough) {
    if (form == kGAForm203811ID) {
        calcBusinessCredits(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcBusinessCredits(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const Form203811Lines& l = kForm203811Lines;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    // The code follows the name: emptied with the name, kept when the name
    // is not in the table.
    const std::string name = gaReturn_->formString(kGAForm203811ID, copy, l.name);
    if (name.empty()) {
        sheet.setNull(l.code);
    } else if (const std::string code = creditCodeOf(name); !code.empty()) {
        sheet.assignText(l.code, code);
    }

    // Rows 2 to 6 are open only with their box; the second field of every
    // row is at most the cap.
    for (std::size_t r = 0; r < l.rows.size(); ++r) {
        const BusinessRow& row = l.rows[r];
        if (sheet.getIR(row.share) > TaxYear::kBusinessCreditRowCap) {
            store(sheet, row.share, TaxYear::kBusinessCreditRowCap);
        }
        if (r == 0) {
            continue;
        }
        if (sheet.xMarked(l.moreRowsBox)) {
            open(sheet, row.lines());
        } else {
            lock(sheet, row.lines());
        }
    }

    // The total, split into the first part used (at most the total), the
    // second (at most what the first leaves) and what remains.
    double sum = sheet.getIR(l.added);
    for (const BusinessRow& row : l.rows) {
        sum += sheet.getIR(row.rowTotal);
    }
    const double total = store(sheet, l.total, sum);
    const double first = store(sheet, l.firstUsed, atLeastZero(std::min(sheet.getIR(l.firstUsed), total)));
    const double second = store(sheet, l.secondUsed, atLeastZero(std::min(sheet.getIR(l.secondUsed), total - first)));
    store(sheet, l.remaining, atLeastZero(total - first - second));

    // The first part alone does not make the copy a credit of the summary.
    if (second > 0.0 || sheet.getIR(l.remaining) > 0.0) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
