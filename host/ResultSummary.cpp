#include "host/ResultSummary.h"

#include <cstdint>
#include <cstdio>
#include <iomanip>
#include <string>

#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

const FormId kMainForm{70, true};
const FormId kAdjustmentsForm{189215, true};
const FormId kPartYearForm{189217, true};

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
        case 1:
            return "single";
        case 2:
            return "married filing jointly";
        case 3:
            return "married filing separately";
        case 4:
            return "head of household or qualifying widow(er)";
        default:
            return "unknown";
    }
}

class Lines {
public:
    Lines(std::ostream& out, StateDataMgmt::StateTaxReturn& ga) : out_(out), ga_(ga) {}

    std::int64_t amount(int field) const { return ga_.getIN(kMainForm, 1, FieldId(field)); }
    bool blank(int field) const { return ga_.isNull(kMainForm, 1, FieldId(field)); }
    std::string text(int field) const { return ga_.getFieldAsString(kMainForm, 1, FieldId(field)); }

    void line(const std::string& label, const std::string& value) const {
        out_ << "  " << std::left << std::setw(44) << label << ' ' << value << '\n';
    }
    void amountLine(const std::string& label, int field) const { line(label, money(amount(field))); }
    // A line of another Georgia form (copy 1); blank reads as 0.
    void formLine(const std::string& label, const FormId& form, int field) const {
        line(label, money(ga_.getIN(form, 1, FieldId(field))));
    }
    double formAmount(const FormId& form, int field) const { return ga_.getIR(form, 1, FieldId(field)); }
    // Only when the line holds an amount other than 0.
    void optionalLine(const std::string& label, int field) const {
        if (!blank(field) && amount(field) != 0) {
            amountLine(label, field);
        }
    }

private:
    std::ostream& out_;
    StateDataMgmt::StateTaxReturn& ga_;
};

// The payment forms where the return has them: the underpayment penalty
// (form 71), the 2019 estimated tax with its next voucher (form 75), the
// payment voucher of a balance due (form 77) and the amended return's result
// (form 189219).
class PaymentForms {
public:
    PaymentForms(const Lines& lines, StateDataMgmt::StateTaxReturn& ga) : lines_(lines), ga_(ga) {}

    void print() const {
        if (has(71, 87) || marked(71, 7)) {
            line("Underpayment penalty (form 71)",
                 money(amount(71, 87)) + (marked(71, 7) ? ", added to the return" : ", not added to the return"));
        }
        if (has(75, 48)) {
            line("Estimated tax for 2019 (form 75)", money(amount(75, 48)));
            if (has(75, 58)) {
                line("  Next voucher", "number " + std::to_string(amount(75, 58)) + ", due " + text(75, 59) + ", " +
                                           money(amount(75, 68)));
                line("  Scan line", text(75, 69));
            }
        }
        if (amount(77, 3) > 0) {
            line("Payment voucher (form 77)", money(amount(77, 3)));
            line("  Scan line", text(77, 12));
        }
        if (has(189219, 189655)) {
            line("Amended return (form 189219)", "refund " + money(amount(189219, 189655)));
        } else if (has(189219, 189654)) {
            line("Amended return (form 189219)", "amount owed " + money(amount(189219, 189654)));
        }
    }

private:
    static FormId form(int number) { return FormId{number, true}; }
    std::int64_t amount(int f, int x) const { return ga_.getIN(form(f), 1, FieldId(x)); }
    bool has(int f, int x) const { return ga_.formExists(form(f), 1) && !ga_.isNull(form(f), 1, FieldId(x)); }
    bool marked(int f, int x) const { return ga_.formYes(form(f), 1, FieldId(x)); }
    std::string text(int f, int x) const { return ga_.getFieldAsString(form(f), 1, FieldId(x)); }
    void line(const std::string& label, const std::string& value) const { lines_.line(label, value); }

    const Lines& lines_;
    StateDataMgmt::StateTaxReturn& ga_;
};

// The credits behind form 70's credit lines: the IND-CR total of form 74,
// each copy of the credit summary (form 189216) with its credit's name, code
// and the credit used, and each other state's credit of form 73.
void printCreditDetails(const Lines& l, StateDataMgmt::StateTaxReturn& ga) {
    const FormId indCrSummary{74, true};
    const FormId creditSummary{189216, true};
    const FormId otherState{73, true};
    const std::int64_t indCr = ga.getIN(indCrSummary, 1, FieldId(44));
    if (indCr != 0) {
        l.line("  IND-CR total (form 74)", money(indCr));
    }
    for (const std::uint16_t copy : ga.copyNumbers(creditSummary)) {
        const std::string name = ga.getFieldAsString(creditSummary, copy, FieldId(203018));
        if (!name.empty()) {
            l.line("  Credit " + std::to_string(copy) + ", code " +
                       ga.getFieldAsString(creditSummary, copy, FieldId(199426)),
                   name + ": " + money(ga.getIN(creditSummary, copy, FieldId(189825))) + " used");
        }
    }
    for (const std::uint16_t copy : ga.copyNumbers(otherState)) {
        const std::int64_t credit =
            Utils::addSaturated(ga.getIN(otherState, copy, FieldId(17)), ga.getIN(otherState, copy, FieldId(26)));
        if (credit != 0) {
            std::string state = ga.getFieldAsString(otherState, copy, FieldId(138855));
            if (state.empty()) {
                state = ga.getFieldAsString(otherState, copy, FieldId(138854));
            }
            l.line("  Tax paid to " + (state.empty() ? "another state" : state) + " (form 73)", money(credit));
        }
    }
}

// The additions to and subtractions from federal income (form 189215), with
// each filer's retirement income exclusion.
void printAdjustments(const Lines& l, StateDataMgmt::StateTaxReturn& georgia) {
    if (!georgia.formExists(kAdjustmentsForm, 1)) {
        return;
    }
    l.formLine("Additions to income", kAdjustmentsForm, 189294);
    l.formLine("Subtractions from income", kAdjustmentsForm, 189417);
    l.formLine("Retirement exclusion, taxpayer", kAdjustmentsForm, 189334);
    if (georgia.getFilingStatusNumber() == 2) {
        l.formLine("Retirement exclusion, spouse", kAdjustmentsForm, 189338);
    }
}

// A part-year resident's or nonresident's Georgia income (form 189217), its
// ratio to the whole, kept in ten-thousandths ("5,435 of 10,000 (54.35 %)"),
// and the deductions and exemptions whose Georgia share that ratio gives.
void printGeorgiaShare(const Lines& l) {
    l.formLine("Georgia income after adjustments", kPartYearForm, 189451);
    const double ratio = l.formAmount(kPartYearForm, 189453);
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.2f %%", ratio / 100.0);
    const std::string tenThousandths = money(static_cast<std::int64_t>(ratio + 0.5)).substr(1);
    l.line("Georgia ratio", tenThousandths + " of 10,000 (" + percent + ")");
    if (l.formAmount(kPartYearForm, 189458) != 0.0) {
        l.formLine("Itemized deductions", kPartYearForm, 189460);
    } else {
        l.formLine("Standard deduction", kPartYearForm, 189460);
        if (l.formAmount(kPartYearForm, 189466) != 0.0) {
            l.formLine("Additional deduction (65 or over, blind)", kPartYearForm, 189466);
        }
        l.line("Total standard deduction", money(static_cast<std::int64_t>(l.formAmount(kPartYearForm, 189460) +
                                                                           l.formAmount(kPartYearForm, 189466))));
    }
    l.formLine("Total exemptions", kPartYearForm, 189471);
    l.formLine("Georgia share of deductions and exemptions", kPartYearForm, 189473);
}

// The residency line of form 70 field 41 (a part-year resident's period
// from fields 42 and 43); gives back the residency code.
std::string printResidency(const Lines& l) {
    const std::string residency = l.text(41);
    if (residency == "1") {
        l.line("Residency", "full-year resident");
    } else if (residency == "2") {
        std::string period = "part-year resident";
        if (!l.blank(42) || !l.blank(43)) {
            period += ", " + l.text(42) + " to " + l.text(43);
        }
        l.line("Residency", period);
    } else if (residency == "3") {
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
    l.amountLine("Georgia adjustments", 63);
    l.amountLine("Georgia adjusted gross income", 64);
    if (!l.blank(65)) {
        l.amountLine("Standard deduction", 65);
        l.optionalLine("Additional deduction (65 or over, blind)", 71);
        l.amountLine("Total standard deduction", 72);
    } else {
        l.amountLine("Itemized deductions", 79);
    }
    l.amountLine("Income after deductions", 81);
    l.amountLine("Personal exemptions", 82);
    l.optionalLine("Dependent exemptions", 331);
    l.amountLine("Total exemptions", 332);
}

// Taxable income, the tax, each kind of credit that the return claims with
// the credits behind them, and the net tax.
void printTaxAndCredits(const Lines& l, StateDataMgmt::StateTaxReturn& georgia) {
    l.amountLine("Taxable income", 83);
    l.amountLine("Tax", 84);
    l.amountLine("Low-income credit", 97);
    l.optionalLine("Credit for tax paid to other states", 189482);
    l.optionalLine("Individual credits (form IND-CR)", 189483);
    l.optionalLine("Other credits (schedule 2)", 85);
    l.amountLine("Total credits", 189484);
    printCreditDetails(l, georgia);
    l.amountLine("Net tax", 86);
}

// The withholding and estimated tax paid, and what the return then refunds
// or owes.
void printPaymentsAndResult(const Lines& l) {
    l.amountLine("Georgia tax withheld", 87);
    l.optionalLine("Withholding on other qualifying forms", 140463);
    l.optionalLine("Estimated tax paid", 88);
    l.amountLine("Total payments and withholding", 98);
    l.optionalLine("Underpayment penalty", 105);
    // Contributions and the other amounts that an overpayment pays first and
    // an amount owed includes.
    l.optionalLine("Contributions and other amounts", 351);
    if (!l.blank(107)) {
        l.optionalLine("Overpayment", 100);
        l.optionalLine("Credited to 2019 estimated tax", 101);
        l.amountLine("Refund", 107);
    } else if (!l.blank(106)) {
        l.amountLine("Amount you owe", 106);
    } else {
        l.line("Refund or amount owed", "none");
    }
}

// The return's own e-file summary: owed positive, refund negative.
void printEFileSummary(const Lines& l, StateDataMgmt::StateTaxReturn& georgia) {
    std::string text;
    long answer = 0;
    georgia.getEFileInfo(text, &answer, 0);
    if (answer > 0) {
        l.line("E-file summary", "balance due " + money(answer));
    } else if (answer < 0) {
        l.line("E-file summary", "refund " + money(Utils::negateSaturated(answer)));
    } else {
        l.line("E-file summary", "no refund, no balance due");
    }
}

}  // namespace

void printGeorgiaResult(std::ostream& out, StateDataMgmt::StateTaxReturn& georgia) {
    if (!georgia.formExists(kMainForm, 1)) {
        out << "Georgia result: the main form has not been calculated\n";
        return;
    }
    const Lines l(out, georgia);
    out << "Georgia result (individual income tax return, tax year 2018)\n";
    l.line("Filing status", filingStatusName(georgia.getFilingStatusNumber()));
    const std::string residency = printResidency(l);
    l.amountLine("Federal adjusted gross income", 62);
    printAdjustments(l, georgia);
    // A full-year resident's deductions and exemptions stand on form 70; a
    // part-year resident's or nonresident's Georgia share on schedule 3.
    if (residency == "1") {
        printDeductionsAndExemptions(l);
    } else if (georgia.formExists(kPartYearForm, 1)) {
        printGeorgiaShare(l);
    }
    printTaxAndCredits(l, georgia);
    printPaymentsAndResult(l);
    printEFileSummary(l, georgia);
    PaymentForms(l, georgia).print();
}

}  // namespace GAHost
