// The credit summary (form 189216) and the credit index (form 204111).
//
// The credit forms 187981 (education expense), 203638 (rural hospital),
// 203639 (conservation) and 203811 (business credits) may each have several
// copies, each one credit. The credit index, calculated after them, gives
// every copy that yielded a credit in this calculation a summary copy of its
// own, in the order of the forms and then of their copies, and writes the
// link into that summary copy. Each summary copy then takes its credit's
// name, code and lines from the linked copy; the main form totals the credit
// used of every summary copy.
//
// The links stay in the return between calculations: the summary's first
// calculation in the calculation order uses the links of the previous
// calculation, its second those of this one.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "module/catalogues/ExpenseCreditLines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form203639Lines.h"
#include "module/catalogues/Form203811Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/WorksheetSteps.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

const Form189216Lines& kSummary = kForm189216Lines;

// The credit forms in the order the index takes them.
constexpr std::array<FormId, 4> kCreditForms{kGAForm187981ID, kGAForm203638ID, kGAForm203639ID, kGAForm203811ID};

// The names and codes of the credits with forms of their own; a business
// credit takes its name and code from its own copy.
struct FixedCredit {
    FormId form;
    const char* name;
    const char* code;
};
constexpr std::array<FixedCredit, 3> kFixedCredits{{
    {kGAForm187981ID, "Qualified Education Expense Credit", "125"},
    {kGAForm203638ID, "Qualified Rural Hospital Expense Tax Credit", "136"},
    {kGAForm203639ID, "Conservation Tax Credit", "124"},
}};

// One line of the summary and its source on each credit form, in the order
// of kCreditForms; a null source: that form has no such line.
struct TransferRow {
    FieldId destination;
    std::array<FieldId, 4> source;
};

// A row of five lines of a credit form's summary block, in the order of a
// business credit's row: a name, a share, an amount, a number and the row's
// amount in the total.
using SummaryRow = std::array<FieldId, 5>;

// The 35 lines a summary copy takes from its credit: the amount added, the
// total available, the two amounts used and the remainder, then the rows of
// five of the credit's summary block. Every credit form gives the first
// row; the conservation credit two more; a business credit six.
std::vector<TransferRow> transferRows() {
    const Form189216Lines& s = kForm189216Lines;
    const ExpenseCreditLines& education = kForm187981Lines;
    const ExpenseCreditLines& hospital = kForm203638Lines;
    const Form203639Lines& conservation = kForm203639Lines;
    const Form203811Lines& business = kForm203811Lines;
    std::vector<TransferRow> rows{
        {s.added, {education.added[0], hospital.added[0], conservation.secondAmountLine, business.added}},
        {s.total, {education.total, hospital.total, conservation.total, business.total}},
        {s.firstUsed, {education.firstUsed, hospital.firstUsed, conservation.firstUsed, business.firstUsed}},
        {s.creditUsed, {education.secondUsed, hospital.secondUsed, conservation.secondUsed, business.secondUsed}},
        {s.remaining, {education.remaining, hospital.remaining, conservation.remaining, business.remaining}},
    };
    // A form without the row gives null sources.
    const auto expenseRow = [](const ExpenseCreditLines& l, std::size_t r) {
        return r == 0 ? SummaryRow{l.lastNameLine, l.limitLine, l.amountLine, l.numberLine, l.yearCredit}
                      : SummaryRow{};
    };
    for (std::size_t r = 0; r < s.rows.size(); ++r) {
        const SummaryRow destination = s.rows[r].lines();
        const SummaryRow fromEducation = expenseRow(education, r);
        const SummaryRow fromHospital = expenseRow(hospital, r);
        const SummaryRow fromConservation =
            r < conservation.summaryRows.size() ? conservation.summaryRows[r].lines() : SummaryRow{};
        const SummaryRow fromBusiness = business.rows[r].lines();
        for (std::size_t line = 0; line < destination.size(); ++line) {
            rows.push_back({destination[line],
                            {fromEducation[line], fromHospital[line], fromConservation[line], fromBusiness[line]}});
        }
    }
    return rows;
}

const std::vector<TransferRow>& transferTable() {
    static const std::vector<TransferRow> table = transferRows();
    return table;
}

// The place of the form in kCreditForms, or -1.
int creditFormIndex(const FormId& form) {
    for (std::size_t i = 0; i < kCreditForms.size(); ++i) {
        if (kCreditForms[i] == form) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

void GATaxReturnCalcEngine::indexCreditForms(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                             int /*passThrough*/) {
    // Link one summary copy to each credit-form copy calculated with a
    // result, in order; stop when the summary can take no more copies.
    std::uint16_t next = 1;
    std::uint16_t entries = 0;
    bool full = false;
    for (const FormId& form : kCreditForms) {
        for (DataMgmt::TaxFormIter it = gaReturn_->getForms(form); !it.atEOL() && !full; it.next()) {
            DataMgmt::TaxFormPtr credit = it.getTaxForm();
            if (credit.isNull() || !credit->calculatedFlag()) {
                continue;
            }
            DataMgmt::TaxFormPtr summary = gaReturn_->getFormUVPtr(kGAForm189216ID, next, true);
            if (summary.isNull()) {
                full = true;
                break;
            }
            summary->assignIR(kSummary.linkedForm, form.getNumber());
            summary->assignIR(kSummary.linkedCopy, credit->getCopyNumber());
            ++entries;
            ++next;
        }
    }

    // The copy after the last one linked keeps no link ...
    DataMgmt::TaxFormPtr after = gaReturn_->getFormUVPtr(kGAForm189216ID, next, false);
    if (!after.isNull()) {
        after->setNull(kSummary.linkedForm);
        after->setNull(kSummary.linkedCopy);
    }
    // ... and is the only copy kept beyond the linked ones: every copy
    // numbered above it goes, the highest first, whatever gaps the numbers
    // have.
    const std::vector<std::uint16_t> numbers = gaReturn_->copyNumbers(kGAForm189216ID);
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) {
        if (*it > entries + 1) {
            gaReturn_->deleteForm(kGAForm189216ID, *it);
        }
    }
}

void GATaxReturnCalcEngine::calcCreditSummaryForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy,
                                                  int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& summary = *handle;
    const Form189216Lines& l = kSummary;
    copyTaxpayerNumber(*gaReturn_, handle, l.taxpayerNumber);

    const std::int64_t linkedNumber = summary.getIN(l.linkedForm);
    const FormId linked(static_cast<std::int32_t>(linkedNumber), true);
    const auto linkedCopy = static_cast<std::uint16_t>(summary.getIN(l.linkedCopy));
    const std::vector<TransferRow>& table = transferTable();

    if (linkedNumber > 0) {
        // The credit's name and code.
        std::string name;
        std::string code;
        for (const FixedCredit& credit : kFixedCredits) {
            if (credit.form == linked) {
                name = credit.name;
                code = credit.code;
            }
        }
        if (linked == kGAForm203811ID) {
            name = gaReturn_->getFieldAsString(kGAForm203811ID, linkedCopy, kForm203811Lines.name);
            code = gaReturn_->getFieldAsString(kGAForm203811ID, linkedCopy, kForm203811Lines.code);
        }
        summary.assignText(l.name, name);
        summary.assignText(l.code, code);

        // The credit's lines; a line its form lacks stays empty. A link to a
        // form that is no credit form leaves the lines as they are.
        const int index = creditFormIndex(linked);
        if (index >= 0) {
            for (const TransferRow& row : table) {
                const FieldId& source = row.source[static_cast<std::size_t>(index)];
                if (source.isNullID()) {
                    summary.setNull(row.destination);
                } else {
                    copyLinkedField(linked, source, linkedCopy, handle, row.destination);
                }
            }
        }
    } else {
        // No link: an empty summary copy.
        summary.setNull(l.name);
        summary.setNull(l.code);
        for (const TransferRow& row : table) {
            summary.setNull(row.destination);
        }
    }

    // 2 for summary copies 2 and 4, 1 for every other copy.
    summary.assignIR(l.copyKind, (copy == 2 || copy == 4) ? 2 : 1);

    if (gaReturn_->getIN(kGAForm189216ID, copy, l.creditUsed) > 0 ||
        gaReturn_->getIN(kGAForm189216ID, copy, l.remaining) > 0) {
        markEnteredAndCalculated(summary.getFormID(), summary.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
