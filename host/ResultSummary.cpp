#include "host/ResultSummary.h"

#include <cstdint>
#include <cstdio>
#include <iomanip>
#include <optional>
#include <string>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/catalogues/Form74Lines.h"
#include "module/catalogues/Form75Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

// The Georgia forms' lines, by the names the module gives them.
const Form70Lines& f70 = kForm70Lines;
const Form189217Lines& kPartYear = kForm189217Lines;

// "$1,234" or "-$56".
std::string money(std::int64_t amount) {
    const bool negative = amount < 0;
    // The magnitude in unsigned arithmetic: the most negative amount has no
    // positive counterpart of its own type.
    const std::uint64_t magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    std::string digits = std::to_string(magnitude);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return (negative ? "-$" : "$") + digits;
}

const char* filingStatusName(int status) {
    switch (status) {
        case FilingStatus::kSingle:
            return "single";
        case FilingStatus::kJoint:
            return "married filing jointly";
        case FilingStatus::kSeparate:
            return "married filing separately";
        case FilingStatus::kHeadOfHousehold:
            return "head of household or qualifying widow(er)";
        default:
            return "unknown";
    }
}

class Lines {
public:
    Lines(std::ostream& out, StateDataMgmt::StateTaxReturn& ga) : out_(out), ga_(ga) {}

    // A line of form 70.
    std::int64_t amount(const FieldId& field) const { return ga_.getIN(kGAForm70ID, 1, field); }
    bool blank(const FieldId& field) const { return ga_.isNull(kGAForm70ID, 1, field); }
    std::string text(const FieldId& field) const { return ga_.getFieldAsString(kGAForm70ID, 1, field); }

    void line(const std::string& label, const std::string& value) const {
        out_ << "  " << std::left << std::setw(44) << label << ' ' << value << '\n';
    }
    void amountLine(const std::string& label, const FieldId& field) const { line(label, money(amount(field))); }
    // A line of another Georgia form (copy 1); blank reads as 0.
    void formLine(const std::string& label, const FormId& form, const FieldId& field) const {
        line(label, money(ga_.getIN(form, 1, field)));
    }
    double formAmount(const FormId& form, const FieldId& field) const { return ga_.getIR(form, 1, field); }
    // Only when the line holds an amount other than 0.
    void optionalLine(const std::string& label, const FieldId& field) const {
        if (!blank(field) && amount(field) != 0) {
            amountLine(label, field);
        }
    }

private:
    std::ostream& out_;
    StateDataMgmt::StateTaxReturn& ga_;
};

// Whether the return amends one filed before (form 69 box 108) and holds
// the amended return's schedule (form 189219), which counts only then.
bool amendedReturn(StateDataMgmt::StateTaxReturn& ga) {
    return ga.formExists(kGAForm189219ID, 1) && ga.formYes(kGAForm69ID, 1, kForm69Lines.questions.amended);
}

// The amended return's settlement (form 189219): what the filer owes or
// gets once the payments and refunds of the return amended count; none on
// a return that is not amended, and while the schedule settles nothing.
struct AmendedResult {
    bool refund;
    std::int64_t amount;
};
std::optional<AmendedResult> amendedResult(StateDataMgmt::StateTaxReturn& ga) {
    const Form189219Lines::Settlement& settlement = kForm189219Lines.settlement;
    if (!amendedReturn(ga)) return std::nullopt;
    for (const bool refund : {true, false}) {
        const FieldId& line = refund ? settlement.refund : settlement.amountOwed;
        if (!ga.isNull(kGAForm189219ID, 1, line)) return AmendedResult{refund, ga.getIN(kGAForm189219ID, 1, line)};
    }
    return std::nullopt;
}

// The payment forms where the return has them: the underpayment penalty
// (form 71), the 2019 estimated tax with its next voucher (form 75), the
// payment voucher of a balance due (form 77) and the amended return's result
// (form 189219).
class PaymentForms {
public:
    PaymentForms(const Lines& lines, StateDataMgmt::StateTaxReturn& ga) : lines_(lines), ga_(ga) {}

    void print() const {
        const Form71Lines& underpayment = kForm71Lines;
        const FieldId& penalty = underpayment.totalPenalty;
        if (has(kGAForm71ID, penalty) || marked(kGAForm71ID, underpayment.addToReturn)) {
            line("Underpayment penalty (form 71)",
                 money(amount(kGAForm71ID, penalty)) + (marked(kGAForm71ID, underpayment.addToReturn)
                                                            ? ", added to the return"
                                                            : ", not added to the return"));
        }
        printEstimatedTax();
        const VoucherLines& payment = kForm77Lines.voucher;
        if (amount(kGAForm77ID, payment.amount) > 0) {
            line("Payment voucher (form 77)", money(amount(kGAForm77ID, payment.amount)));
            line("  Scan line", text(kGAForm77ID, payment.scanLine));
        }
        if (const auto amended = amendedResult(ga_)) {
            line(amended->refund ? "Amended return, your refund (form 189219)"
                                 : "Amended return, amount you owe (form 189219)",
                 money(amended->amount));
        } else if (!ga_.copyNumbers(kGAForm189219ID).empty() &&
                   !ga_.formYes(kGAForm69ID, 1, kForm69Lines.questions.amended)) {
            // Neither printed nor e-filed, whichever its copy: its settlement
            // is no result of this return.
            line("Amended return (form 189219)",
                 "counts nowhere: form 69 box 108 (the return amends one filed before) is not marked");
        }
    }

private:
    // The estimated tax and, where the worksheet filled one, the voucher due
    // next.
    void printEstimatedTax() const {
        const Form75Lines& f75 = kForm75Lines;
        if (!has(kGAForm75ID, f75.tax.estimatedTax)) {
            return;
        }
        line("Estimated tax for 2019 (form 75)", money(amount(kGAForm75ID, f75.tax.estimatedTax)));
        const Form75Lines::Voucher& v = f75.voucher;
        if (has(kGAForm75ID, v.number)) {
            line("  Next voucher", "number " + std::to_string(amount(kGAForm75ID, v.number)) + ", due " +
                                       text(kGAForm75ID, v.dueDate) + ", " + money(amount(kGAForm75ID, v.installment)));
            line("  Scan line", text(kGAForm75ID, v.scanLine));
        }
    }
    std::int64_t amount(const FormId& f, const FieldId& x) const { return ga_.getIN(f, 1, x); }
    bool has(const FormId& f, const FieldId& x) const { return ga_.formExists(f, 1) && !ga_.isNull(f, 1, x); }
    bool marked(const FormId& f, const FieldId& x) const { return ga_.formYes(f, 1, x); }
    std::string text(const FormId& f, const FieldId& x) const { return ga_.getFieldAsString(f, 1, x); }
    void line(const std::string& label, const std::string& value) const { lines_.line(label, value); }

    const Lines& lines_;
    StateDataMgmt::StateTaxReturn& ga_;
};

// The credits behind form 70's credit lines: the IND-CR total of form 74,
// each copy of the credit summary (form 189216) with its credit's name, code
// and the credit used, and each other state's credit of form 73.
void printCreditDetails(const Lines& l, StateDataMgmt::StateTaxReturn& ga) {
    const std::int64_t indCr = ga.getIN(kGAForm74ID, 1, kForm74Lines.total);
    if (indCr != 0) {
        l.line("  IND-CR total (form 74)", money(indCr));
    }
    const Form189216Lines& summary = kForm189216Lines;
    for (const std::uint16_t copy : ga.copyNumbers(kGAForm189216ID)) {
        const std::string name = ga.getFieldAsString(kGAForm189216ID, copy, summary.name);
        if (!name.empty()) {
            l.line("  Credit " + std::to_string(copy) + ", code " +
                       ga.getFieldAsString(kGAForm189216ID, copy, summary.code),
                   name + ": " + money(ga.getIN(kGAForm189216ID, copy, summary.creditUsed)) + " used");
        }
    }
    const Form73Lines& f73 = kForm73Lines;
    for (const std::uint16_t copy : ga.copyNumbers(kGAForm73ID)) {
        const std::int64_t credit = Utils::addSaturated(ga.getIN(kGAForm73ID, copy, f73.fullYear.credit),
                                                        ga.getIN(kGAForm73ID, copy, f73.partYear.credit));
        if (credit != 0) {
            std::string state = ga.getFieldAsString(kGAForm73ID, copy, f73.stateAbbreviation);
            if (state.empty()) {
                state = ga.getFieldAsString(kGAForm73ID, copy, f73.federalState);
            }
            l.line("  Tax paid to " + (state.empty() ? "another state" : state) + " (form 73)", money(credit));
        }
    }
}

// The additions to and subtractions from federal income (form 189215), with
// each filer's retirement income exclusion.
void printAdjustments(const Lines& l, StateDataMgmt::StateTaxReturn& georgia) {
    if (!georgia.formExists(kGAForm189215ID, 1)) {
        return;
    }
    const Form189215Lines& schedule1 = kForm189215Lines;
    l.formLine("Additions to income", kGAForm189215ID, schedule1.additions);
    l.formLine("Subtractions from income", kGAForm189215ID, schedule1.subtractions);
    l.formLine("Retirement exclusion, taxpayer", kGAForm189215ID, schedule1.taxpayerRetirement.exclusion);
    if (georgia.getFilingStatusNumber() == FilingStatus::kJoint) {
        l.formLine("Retirement exclusion, spouse", kGAForm189215ID, schedule1.spouseRetirement.exclusion);
    }
}

// A part-year resident's or nonresident's Georgia income (form 189217), its
// ratio to the whole, kept in ten-thousandths ("5,435 of 10,000 (54.35 %)"),
// and the deductions and exemptions whose Georgia share that ratio gives.
void printGeorgiaShare(const Lines& l) {
    l.formLine("Georgia income after adjustments", kGAForm189217ID, kPartYear.incomeAfterAdjustments.georgia);
    const double ratio = l.formAmount(kGAForm189217ID, kPartYear.ratio);
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.2f %%", ratio / 100.0);
    const std::string tenThousandths = money(static_cast<std::int64_t>(ratio + 0.5)).substr(1);
    l.line("Georgia ratio", tenThousandths + " of 10,000 (" + percent + ")");
    if (l.formAmount(kGAForm189217ID, kPartYear.itemizesBox) != 0.0) {
        l.formLine("Itemized deductions", kGAForm189217ID, kPartYear.deduction);
    } else {
        l.formLine("Standard deduction", kGAForm189217ID, kPartYear.deduction);
        if (l.formAmount(kGAForm189217ID, kPartYear.agedOrBlindAmount) != 0.0) {
            l.formLine("Additional deduction (65 or over, blind)", kGAForm189217ID, kPartYear.agedOrBlindAmount);
        }
        l.line("Total standard deduction",
               money(static_cast<std::int64_t>(l.formAmount(kGAForm189217ID, kPartYear.deduction) +
                                               l.formAmount(kGAForm189217ID, kPartYear.agedOrBlindAmount))));
    }
    l.formLine("Total exemptions", kGAForm189217ID, kPartYear.exemptions);
    l.formLine("Georgia share of deductions and exemptions", kGAForm189217ID, kPartYear.georgiaShare);
}

// The residency line of form 70 (a part-year resident's period with it);
// gives back the residency code.
std::string printResidency(const Lines& l) {
    const Form70Lines::Residency& r = f70.residency;
    const std::string residency = l.text(r.code);
    if (residency == std::to_string(Residency::kFullYear)) {
        l.line("Residency", "full-year resident");
    } else if (residency == std::to_string(Residency::kPartYear)) {
        std::string period = "part-year resident";
        if (!l.blank(r.from) || !l.blank(r.to)) {
            period += ", " + l.text(r.from) + " to " + l.text(r.to);
        }
        l.line("Residency", period);
    } else if (residency == std::to_string(Residency::kNonresident)) {
        l.line("Residency", "nonresident");
    } else {
        l.line("Residency", "not stated");
    }
    return residency;
}

// A full-year resident's way from the Georgia adjusted gross income to the
// income after deductions and exemptions: the standard deduction with its
// additions for 65 or over and blind, or the itemized deductions, then the
// personal and dependent exemptions.
void printDeductionsAndExemptions(const Lines& l) {
    const Form70Lines::Deductions& d = f70.deductions;
    l.amountLine("Georgia adjustments", f70.income.georgiaAdjustments);
    l.amountLine("Georgia adjusted gross income", f70.income.georgiaAgi);
    if (!l.blank(d.standard)) {
        l.amountLine("Standard deduction", d.standard);
        l.optionalLine("Additional deduction (65 or over, blind)", d.agedOrBlindAmount);
        l.amountLine("Total standard deduction", d.totalStandard);
    } else {
        l.amountLine("Itemized deductions", d.totalItemized);
    }
    l.amountLine("Income after deductions", f70.income.afterDeductions);
    l.amountLine("Personal exemptions", f70.exemptions.filerAmount);
    l.optionalLine("Dependent exemptions", f70.exemptions.dependentAmount);
    l.amountLine("Total exemptions", f70.exemptions.total);
}

// Taxable income, the tax, each kind of credit that the return claims with
// the credits behind them, and the net tax.
void printTaxAndCredits(const Lines& l, StateDataMgmt::StateTaxReturn& georgia) {
    const Form70Lines::Credits& c = f70.credits;
    l.amountLine("Taxable income", f70.income.taxable);
    l.amountLine("Tax", c.tax);
    l.amountLine("Low-income credit", f70.lowIncome.credit);
    l.optionalLine("Credit for tax paid to other states", c.otherState);
    l.optionalLine("Individual credits (form IND-CR)", c.worksheets);
    l.optionalLine("Other credits (schedule 2)", c.summary);
    l.amountLine("Total credits", c.total);
    printCreditDetails(l, georgia);
    l.amountLine("Net tax", c.netTax);
}

// The withholding and estimated tax paid, and what the return then refunds
// or owes: on an amended return form 500's own line, before what the return
// amended paid or got back, which the amended return's result counts.
void printPaymentsAndResult(const Lines& l, bool amended) {
    const Form70Lines::Payments& p = f70.payments;
    const Form70Lines::Result& r = f70.result;
    l.amountLine("Georgia tax withheld", p.withheld);
    l.optionalLine("Withholding on other qualifying forms", p.ownRowsTotalRepeated);
    l.optionalLine("Estimated tax paid", p.estimated);
    l.amountLine("Total payments and withholding", p.total);
    l.optionalLine("Underpayment penalty", r.penalty);
    // Contributions and the other amounts that an overpayment pays first and
    // an amount owed includes.
    l.optionalLine("Contributions and other amounts", r.appliedTotal);
    const std::string own = amended ? "Form 500's own " : "";
    if (!l.blank(r.refund)) {
        l.optionalLine("Overpayment", r.overpaid);
        l.optionalLine("Credited to 2019 estimated tax", r.credited);
        l.amountLine(amended ? own + "refund (form 70)" : "Refund", r.refund);
    } else if (!l.blank(r.balanceDue)) {
        l.amountLine(amended ? own + "amount you owe (form 70)" : "Amount you owe", r.balanceDue);
    } else {
        l.line(amended ? own + "refund or amount owed (form 70)" : "Refund or amount owed", "none");
    }
}

// The return's own e-file summary: owed positive, refund negative. It is
// form 70's figure, which an amended return's line names beside the
// amended return's own.
void printEFileSummary(const Lines& l, StateDataMgmt::StateTaxReturn& georgia, bool amended) {
    std::string text;
    long answer = 0;
    georgia.getEFileInfo(text, &answer, 0);
    const std::string label = amended ? "E-file summary (form 70's figure)" : "E-file summary";
    if (answer > 0) {
        l.line(label, "balance due " + money(answer));
    } else if (answer < 0) {
        l.line(label, "refund " + money(Utils::negateSaturated(answer)));
    } else {
        l.line(label, "no refund, no balance due");
    }
}

}  // namespace

void printGeorgiaResult(std::ostream& out, StateDataMgmt::StateTaxReturn& georgia) {
    if (!georgia.formExists(kGAForm70ID, 1)) {
        out << "Georgia result: the main form has not been calculated\n";
        return;
    }
    const Lines l(out, georgia);
    out << "Georgia result (individual income tax return, tax year 2018)\n";
    l.line("Filing status", filingStatusName(georgia.getFilingStatusNumber()));
    const std::string residency = printResidency(l);
    l.amountLine("Federal adjusted gross income", f70.income.federalAgi);
    printAdjustments(l, georgia);
    // A full-year resident's deductions and exemptions stand on form 70; a
    // part-year resident's or nonresident's Georgia share on schedule 3.
    if (residency == std::to_string(Residency::kFullYear)) {
        printDeductionsAndExemptions(l);
    } else if (georgia.formExists(kGAForm189217ID, 1)) {
        printGeorgiaShare(l);
    }
    printTaxAndCredits(l, georgia);
    const bool amended = amendedReturn(georgia);
    printPaymentsAndResult(l, amended);
    printEFileSummary(l, georgia, amended);
    PaymentForms(l, georgia).print();
}

}  // namespace GAHost
