// The line labels of the generated form definitions say what a field holds,
// checked by rules that take their facts from the catalogues, not by copies
// of the labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "module/catalogues/AmendedCopyLines.h"
#include "module/catalogues/ExpenseCreditLines.h"
#include "module/catalogues/Form187982Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form203639Lines.h"
#include "module/catalogues/Form203811Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form75Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/catalogues/WageLineRows.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/ga_calc/TaxYear2019Amounts.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/store/CommonItemTable.h"

namespace {

using DataMgmt::TaxFormDescPtr;
using Primitives::QVImmutableIdentifier;

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_BINARY_DIR "/forms");
    return lib;
}

TaxFormDescPtr form(const std::string& devName) {
    TaxFormDescPtr found = library().georgia->findByDevName(devName);
    return found ? found : library().federal->findByDevName(devName);
}

std::string label(const std::string& devName, const QVImmutableIdentifier& field) {
    const TaxFormDescPtr f = form(devName);
    if (!f || !f->getFieldDesc(field)) return std::string();
    return f->getFieldDesc(field)->getLineID();
}

// A label of its own: not empty and not the field's number.
bool labelled(const std::string& devName, const QVImmutableIdentifier& field) {
    const std::string text = label(devName, field);
    return !text.empty() && text != std::to_string(field.getNumber());
}

bool mentions(const std::string& text, const std::string& word) { return text.find(word) != std::string::npos; }

std::string number(const QVImmutableIdentifier& field) { return std::to_string(field.getNumber()); }

// A line in its three columns: the whole amount, the Georgia part of a
// part-year resident, the Georgia part of a nonresident.
struct SplitLine {
    const char* devName;
    QVImmutableIdentifier whole, partYear, nonresident;
};

// Each line of the wages worksheet and the statements' regular lines say
// which state column is Georgia's for which residency.
TEST(LineLabels, EveryLineOfTheWagesWorksheetSaysWhichColumnIsWhose) {
    const StateForm4Lines& s4 = kStateForm4Lines;
    const StatementTotalLine& st2 = kStateForm2Lines.statement.regular;
    const StatementTotalLine& st3 = kStateForm3Lines.statement.regular;
    std::vector<SplitLine> lines = {{"ST2", st2.total, st2.partYear, st2.nonresident},
                                    {"ST3", st3.total, st3.partYear, st3.nonresident}};
    const auto add = [&lines](const StateForm4Lines::Row& r) {
        lines.push_back({"ST4", r.federal, r.resident, r.nonresident});
    };
    for (const StateForm4Lines::Row* row : {&s4.interestStatements, &s4.dividendStatements, &s4.wages, &s4.otherWages,
                                            &s4.wagesTotal, &s4.incomeTotal, &s4.adjustmentTotal}) {
        add(*row);
    }
    std::for_each(s4.incomeLines.begin(), s4.incomeLines.end(), add);
    std::for_each(s4.adjustmentLines.begin(), s4.adjustmentLines.end(), add);
    for (const SplitLine& line : lines) {
        SCOPED_TRACE(std::string(line.devName) + " line " + number(line.whole));
        const std::string whole = label(line.devName, line.whole);
        const std::string partYear = label(line.devName, line.partYear);
        const std::string nonresident = label(line.devName, line.nonresident);
        EXPECT_TRUE(labelled(line.devName, line.whole)) << whole;
        EXPECT_FALSE(mentions(whole, "part-year") || mentions(whole, "nonresident")) << whole;
        EXPECT_TRUE(mentions(partYear, "part-year") && !mentions(partYear, "nonresident")) << partYear;
        EXPECT_TRUE(mentions(nonresident, "nonresident") && !mentions(nonresident, "part-year")) << nonresident;
    }
}

// The words that name where a field's value comes from.
std::string copiedFrom(int sourceForm, const QVImmutableIdentifier& source) {
    return "from form " + std::to_string(sourceForm) + " field " + number(source);
}
std::string commonItem(Utils::PCTypes item) { return PersistanceMgmt::findCommonItem(item)->name; }

struct Reference {
    std::string devName;
    QVImmutableIdentifier field;
    std::string names;
};

// A field the calculation copies from another form names that form and the
// field ("from form 69 field 25"), a line filled from a common federal item
// names the item, and a label that sends a person to another field names it
// by the number the catalogue gives it.
TEST(LineLabels, LabelsNameTheFieldOrItemTheirValueComesFrom) {
    const QVImmutableIdentifier& taxpayerNumber = kForm69Lines.heading.taxpayerNumber;
    const StateForm4Lines& s4 = kStateForm4Lines;
    std::vector<Reference> rows = {
        {"GA189215", kForm189215Lines.taxpayerNumber, copiedFrom(69, taxpayerNumber)},
        {"GA189216", kForm189216Lines.taxpayerNumber, copiedFrom(69, taxpayerNumber)},
        {"GA189217", kForm189217Lines.taxpayerNumber, copiedFrom(69, taxpayerNumber)},
        {"GA203811", kForm203811Lines.taxpayerNumber, copiedFrom(69, taxpayerNumber)},
        {"GA187981", kForm187981Lines.filer[0], copiedFrom(69, kForm69Lines.heading.taxpayerFirstName)},
        {"GA187981", kForm187981Lines.filer[2], copiedFrom(69, kForm69Lines.heading.taxpayerLastName)},
        {"GA187981", kForm187981Lines.filer[4], copiedFrom(69, taxpayerNumber)},
        {"GA189217", kForm189217Lines.filers, copiedFrom(70, kForm70Lines.exemptions.filers)},
        {"GA189217", kForm189217Lines.dependents, copiedFrom(70, kForm70Lines.exemptions.dependents)},
        {"ST4", s4.taxableInterest, commonItem(Utils::kTaxableInterest)},
        {"ST4", s4.ordinaryDividends, commonItem(Utils::kOrdinaryDividends)},
        {"ST4", s4.otherWages.federal, commonItem(Utils::kOtherWagesTaxpayer)},
        {"ST4", s4.taxpayerOtherAdjustment.federal, commonItem(Utils::kWorksheetAdjustmentTaxpayer)},
        {"ST4", s4.spouseOtherAdjustment.federal, commonItem(Utils::kWorksheetAdjustmentSpouse)},
        {"ST4", s4.federalAgi, commonItem(Utils::kFederalAgi)},
        {"GA189217", kForm189217Lines.federalInterest, commonItem(Utils::kTaxableInterest)},
        {"GA189217", kForm189217Lines.federalDividends, commonItem(Utils::kOrdinaryDividends)},
        {"GA189215", kForm189215Lines.taxpayerRetirement.pensions, commonItem(Utils::kPensionsTaxpayer)},
        {"GA189215", kForm189215Lines.spouseRetirement.iraDistributions, commonItem(Utils::kIraDistributionsSpouse)},
        // Where a part-year resident enters the Georgia wages of a W-2.
        {"F52", kForm52StateRows[0].amount, "ST4 field " + number(s4.wages.resident)},
        // The amount the payment voucher takes for the amended return.
        {"GA77", kForm77Lines.forAmendedReturn, "form 189219 field " + number(kForm189219Lines.settlement.amountOwed)},
    };
    // The federal column of each line that the federal main form fills is
    // the main form's amount, whatever is entered, and names its fields.
    for (const WageLineRowLines& row : kWageLineRows) {
        EXPECT_TRUE(form("ST4")->getFieldDesc(row.federal)->isCalculated()) << number(row.federal);
        for (const auto& [name, source] : {std::pair<std::string, QVImmutableIdentifier>{"form 1", row.form1},
                                           {"form 55", row.form55},
                                           {"form 87", row.form87}}) {
            if (!source.isNullID()) rows.push_back({"ST4", row.federal, name + " field " + number(source)});
        }
    }
    // The IND-CR worksheets, forms 190054 to 190062, in their heading.
    int worksheet = 190054;
    for (const QVImmutableIdentifier& heading :
         {kIndCr201.taxpayerNumber, kIndCr202.taxpayerNumber, kIndCr203.taxpayerNumber, kIndCr204.taxpayerNumber,
          kIndCr205.taxpayerNumber, kIndCr206.taxpayerNumber, kIndCr207.taxpayerNumber, kIndCr208.taxpayerNumber,
          kIndCr209.taxpayerNumber}) {
        rows.push_back({"GA" + std::to_string(worksheet++), heading, copiedFrom(69, taxpayerNumber)});
    }
    // The amended return's repetitions of form 70 that are not amounts the
    // calculation settles.
    for (const AmendedCopy& copy : kAmendedReturnCopies) {
        if (!form("GA189219")->getFieldDesc(copy.amended)->isCalculated()) {
            rows.push_back({"GA189219", copy.amended, "(" + copiedFrom(70, copy.mainForm) + ")"});
        }
    }
    ASSERT_GT(rows.size(), 50u);
    for (const Reference& row : rows) {
        EXPECT_TRUE(mentions(label(row.devName, row.field), row.names))
            << row.devName << " " << number(row.field) << ": " << label(row.devName, row.field);
    }
}

// A label that sends a person to a field of a federal form calls it a field:
// "federal form 92 line 9" sends a preparer to a line of the printed form.
TEST(LineLabels, LabelsCallAFederalFormsFieldAField) {
    static const std::regex federalLine("federal form (\\d+) lines? (\\d+)");
    for (const auto* forms : {&library().georgia, &library().federal}) {
        for (DataMgmt::TaxFormDescIter it = (*forms)->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
            const TaxFormDescPtr f = it.getTaxFormDescriptor();
            for (DataMgmt::QVFieldIDIter field = f->getFieldIDs(); !field.atEOL(); field.next()) {
                const std::string text = label(f->getDevName(), field.getFieldID());
                for (std::sregex_iterator m(text.begin(), text.end(), federalLine), end; m != end; ++m) {
                    EXPECT_EQ(label("F" + (*m)[1].str(), QVImmutableIdentifier(std::stoi((*m)[2].str()))), "") << text;
                }
            }
        }
    }
}

// The part-year schedule's lines taken from state form 4 name its fields.
TEST(LineLabels, PartYearLinesNameTheWorksheetLinesTheyComeFrom) {
    const Form189217Lines& l = kForm189217Lines;
    const StateForm4Lines& s4 = kStateForm4Lines;
    const struct {
        QVImmutableIdentifier field;
        std::vector<QVImmutableIdentifier> sources;
    } lines[] = {
        {l.wages.total, {s4.wagesTotal.federal}},
        {l.wages.georgia, {s4.wagesTotal.resident, s4.wagesTotal.nonresident}},
        {l.businessIncome.total, {s4.businessIncome.federal}},
        {l.businessIncome.georgia, {s4.businessIncome.resident, s4.businessIncome.nonresident}},
        {l.otherIncome.total,
         {s4.incomeTotal.federal, s4.wagesTotal.federal, s4.taxableInterest, s4.ordinaryDividends,
          s4.businessIncome.federal}},
        {l.otherIncome.georgia,
         {s4.incomeTotal.resident, s4.incomeTotal.nonresident, s4.wagesTotal.resident, s4.wagesTotal.nonresident,
          s4.businessIncome.resident, s4.businessIncome.nonresident}},
        {l.federalAdjustments.total, {s4.adjustmentTotal.federal}},
        {l.federalAdjustments.georgia, {s4.adjustmentTotal.resident, s4.adjustmentTotal.nonresident}},
    };
    for (const auto& line : lines) {
        const std::string text = label("GA189217", line.field);
        EXPECT_TRUE(mentions(text, "state form 4")) << text;
        for (const QVImmutableIdentifier& source : line.sources) {
            EXPECT_TRUE(std::regex_search(text, std::regex("\\b" + number(source) + "\\b"))) << number(source) << text;
        }
    }
}

// Every line of a group is labelled, each differently from the others.
TEST(LineLabels, TheLinesOfAGroupAreLabelledEachDifferently) {
    const Form69Lines::EstimatedPayments& paid = kForm69Lines.estimatedPayments;
    const Form69Lines::Options& o = kForm69Lines.options;
    const Form189216Lines& cs = kForm189216Lines;
    const VoucherLines& v = kForm187982Lines.voucher;
    std::pair<const char*, std::vector<QVImmutableIdentifier>> groups[] = {
        {"GA69", {paid.undated, paid.datedTotal, paid.total, paid.further}},
        {"GA69",
         {o.directDeposit, o.otherRefundChoice, o.depositFromFederal, o.depositRouting, o.depositAccount,
          o.depositChecking, o.depositSavings}},
        {"GA70", {}},
        {"GA189216",
         {cs.linkedForm, cs.linkedCopy, cs.copyKind, cs.added, cs.total, cs.firstUsed, cs.creditUsed, cs.remaining}},
        {"GA187982",
         {v.name, v.number, v.spouseNumber, v.street, v.city, v.state, v.zipCode, v.federalReference, v.taxYear,
          v.amount, v.scanLine, kForm187982Lines.always, kForm187982Lines.formCode, kForm187982Lines.amountEntered}},
    };
    for (const auto& amount : paid.amounts) {
        DataMgmt::QVFieldIDIter it = form("GA69")->getFieldIDs();
        it = amount;
        groups[0].second.insert(groups[0].second.end(), {amount, (it - 1).getFieldID()});  // its date before it
    }
    for (const WithholdingEntryLines& e : kForm70WithholdingEntries) {
        groups[2].second.insert(groups[2].second.end(),
                                {e.link, e.wageBox, e.infoBox, e.row1Box, e.row2Box, e.row3Box, e.row4Box, e.id1Box,
                                 e.id2Box, e.payerId, e.stateId, e.stateAmount, e.withheld});
    }
    for (const auto& row : kForm70Lines.payments.incomeStatements) {
        groups[2].second.insert(groups[2].second.end(), {row.payerId, row.stateId, row.georgiaWages, row.withheld});
    }
    for (const auto& row : cs.rows) {
        for (const auto& line : row.lines()) groups[3].second.push_back(line);
    }
    for (const auto& [devName, group] : groups) {
        std::set<std::string> seen;
        for (const QVImmutableIdentifier& field : group) {
            EXPECT_TRUE(labelled(devName, field)) << devName << " " << number(field);
            EXPECT_TRUE(seen.insert(label(devName, field)).second) << devName << " " << number(field) << " repeats";
        }
    }
}

// gahost fields shows a field without a label by its number alone: every
// entry of the voucher, the penalty form and the amended return says what it
// holds.
TEST(LineLabels, EveryEntryOfTheVoucherPenaltyAndAmendedFormsIsLabelled) {
    for (const char* devName : {"GA77", "GA71", "GA189219"}) {
        const TaxFormDescPtr f = form(devName);
        ASSERT_TRUE(f) << devName;
        int entries = 0;
        for (DataMgmt::QVFieldIDIter it = f->getFieldIDs(); !it.atEOL(); it.next()) {
            if (f->getFieldDesc(it.getFieldID())->isCalculated()) continue;
            ++entries;
            EXPECT_TRUE(labelled(devName, it.getFieldID())) << devName << " " << number(it.getFieldID());
        }
        EXPECT_GT(entries, 0) << devName;
    }
}

// ---- amounts in labels

// An amount as a label writes it: whole dollars with thousands commas
// ("2,500"), a rate as a percentage ("30 %", "66.66 %").
std::string dollars(double amount) {
    std::string digits = std::to_string(std::llround(amount));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}
std::string percent(double fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", fraction * 100);
    std::string shown = text;
    while (shown.back() == '0') shown.pop_back();
    if (shown.back() == '.') shown.pop_back();
    return shown + " %";
}

// The amounts a label writes that cannot be line numbers: numbers with
// thousands commas and percentages. A smaller whole amount ("at most 125")
// is looked for where a rule expects it.
std::set<std::string> amountsIn(const std::string& label) {
    static const std::regex amount("\\d{1,3}(,\\d{3})+|\\d+(\\.\\d+)? %");
    std::set<std::string> found;
    for (std::sregex_iterator it(label.begin(), label.end(), amount), end; it != end; ++it) found.insert(it->str());
    return found;
}

// Whether the label writes the amount as a whole ("1,000" and not part of
// "11,000" or "1,000,000").
bool writes(const std::string& label, const std::string& amount) {
    return std::regex_search(label, std::regex("(^|[^0-9,.])" + amount + "($|[^0-9,]|,($|[^0-9]))"));
}

// The amounts of the year's table (and next year's, that form 75 projects
// with) that the labels of a Georgia form may write; a label of any other
// form writes none.
std::map<std::string, std::set<std::string>> amountsOfForms() {
    using namespace GACalculationMgmt;
    namespace y = TaxYear;
    namespace next = TaxYear2019;
    const std::string six = percent(y::kDonorSixPercentRate);
    const std::string seventyFive = percent(y::kDonorSeventyFivePercentRate);
    const std::string limitLine = dollars(y::kExpenseCreditLimitLine);
    return {
        {"GA187981",
         {dollars(y::kEducationCreditLimit.single), dollars(y::kEducationCreditLimit.joint),
          dollars(y::kEducationCreditLimit.separate), limitLine, six, seventyFive}},
        {"GA203638", {limitLine, six, seventyFive}},
        {"GA203639", {dollars(y::kConservationLimitOtherEntity), dollars(y::kConservationLimit)}},
        {"GA189215",
         {dollars(y::kPartYearSubtractionLimit), dollars(y::kMinorityContractorLimit), dollars(y::kOrganDonorLimit),
          dollars(y::kRetirementFullLimit), dollars(y::kRetirementLowerLimit), dollars(y::kRetirementEarnedIncomeLimit),
          dollars(y::kForm28KeyedAmountLimit), dollars(y::kItemizedJointIncomeLimit), dollars(y::kItemizedOtherLimit)}},
        {"GA189216", {limitLine}},
        {"GA189217",
         {dollars(y::kFilerExemption.joint), dollars(y::kFilerExemption.single), dollars(y::kDependentExemption)}},
        {"GA190055", {percent(y::kIndCr202Rate)}},
        {"GA190057", {percent(y::kIndCr204Rate)}},
        {"GA190060", {dollars(y::kIndCr207CreditPerPractice)}},
        {"GA190061", {dollars(static_cast<double>(y::kIndCr208Multiple))}},
        {"GA190062", {percent(y::kIndCr209Rate)}},
        {"GA203811", {dollars(y::kBusinessCreditRowCap)}},
        {"GA71",
         {percent(y::kOneInstallmentShare), percent(y::kRequiredInstallmentShare),
          percent(y::kUnderpaymentInterestRate)}},
        {"GA73", {dollars(y::kWholeRatio)}},
        {"GA75",
         {dollars(next::kAgedOrBlindAddition), dollars(next::kDependentExemption), dollars(next::kRetirementLimit),
          dollars(next::kRetirementLimitAged)}},
    };
}

// A label that names amounts chosen by a filing status, a kind or a line:
// it writes each of them, and no other; where it names several, each in
// the words of its case ("2,500 joint"), so that two swapped show.
struct AmountsOfLabel {
    std::string devName;
    QVImmutableIdentifier field;
    std::vector<std::string> amounts;
};

std::vector<AmountsOfLabel> amountsOfLabels() {
    using namespace GACalculationMgmt;
    namespace y = TaxYear;
    const ExpenseCreditLines& education = kForm187981Lines;
    const y::ByFilingStatus& limit = y::kEducationCreditLimit;
    const Form189215Lines& adjustments = kForm189215Lines;
    const std::string retirement[] = {dollars(y::kRetirementFullLimit) + " born 1953 or before",
                                      "else " + dollars(y::kRetirementLowerLimit)};
    const std::string cap201 = dollars(y::kIndCr201LineCap);
    const std::string perChild = dollars(y::kIndCr205LimitPerLine);
    const std::string assistance = dollars(y::kIndCr206Limit);
    const std::string practice = dollars(y::kIndCr207CreditPerPractice);
    const std::string aged = dollars(TaxYear2019::kAgedOrBlindAddition);
    const auto& boxes = kForm75Lines.deduction.additionBoxes;
    return {
        {"GA187981", education.singleBox, {dollars(limit.single)}},
        {"GA187981", education.jointBox, {dollars(limit.joint)}},
        {"GA187981", education.separateBox, {dollars(limit.separate)}},
        {"GA187981",
         education.individual.result,
         {dollars(limit.single) + " single or head of household", dollars(limit.joint) + " joint",
          dollars(limit.separate) + " separate"}},
        {"GA187981", education.limitLine, {dollars(y::kExpenseCreditLimitLine)}},
        {"GA203638", kForm203638Lines.limitLine, {dollars(y::kExpenseCreditLimitLine)}},
        {"GA203639",
         kForm203639Lines.secondUsed,
         {dollars(y::kConservationLimitOtherEntity) + " held directly or through a trust or estate",
          dollars(y::kConservationLimit) + " through a partnership or LLC or an S corporation"}},
        {"GA189215", adjustments.taxpayerRetirement.limit, {retirement[0], retirement[1]}},
        {"GA189215", adjustments.spouseRetirement.limit, {retirement[0], retirement[1]}},
        {"GA189215", adjustments.partYearLimitedSubtraction, {dollars(y::kPartYearSubtractionLimit)}},
        {"GA189215", adjustments.minorityContractors, {dollars(y::kMinorityContractorLimit)}},
        {"GA189215", adjustments.organDonor, {dollars(y::kOrganDonorLimit)}},
        {"GA189215",
         adjustments.itemizedIncomeBox,
         {dollars(y::kItemizedJointIncomeLimit) + " on a joint return",
          dollars(y::kItemizedOtherLimit) + " otherwise"}},
        {"GA189217",
         kForm189217Lines.filerExemptions,
         {dollars(y::kFilerExemption.joint) + " each, married", dollars(y::kFilerExemption.single) + " otherwise"}},
        {"GA189217", kForm189217Lines.dependentExemptions, {dollars(y::kDependentExemption)}},
        {"GA190054", kIndCr201.boxAmount, {dollars(y::kIndCr201BoxAmount)}},
        {"GA190054", kIndCr201.cappedLines[0], {cap201}},
        {"GA190054", kIndCr201.cappedLines[1], {cap201}},
        {"GA190054", kIndCr201.cappedLines[2], {cap201}},
        {"GA190054", kIndCr201.cappedLines[3], {cap201}},
        {"GA190057", kIndCr204.allowed, {percent(y::kIndCr204Rate), dollars(y::kIndCr204Limit)}},
        {"GA190058", kIndCr205.firstAmount, {perChild}},
        {"GA190058", kIndCr205.secondAmount, {perChild}},
        {"GA190058", kIndCr205.limit, {perChild}},
        {"GA190059", kIndCr206.assistance, {assistance}},
        {"GA190059", kIndCr206.limitShown, {assistance}},
        {"GA190059", kIndCr206.assistanceAllowed, {assistance}},
        {"GA190060", kIndCr207.limit, {practice}},
        {"GA190060", kIndCr207.credit, {practice}},
        {"GA190061", kIndCr208.amount, {dollars(static_cast<double>(y::kIndCr208Multiple))}},
        {"GA75", boxes[0], {aged}},
        {"GA75", boxes[1], {aged}},
        {"GA75", boxes[2], {aged}},
        {"GA75", boxes[3], {aged}},
    };
}

// Form 189215's review indicator of dated amounts writes the state
// worksheets' yearly limit, which is not an amount of Georgia's table.
bool writesAnAmountOfTheStateWorksheets(const std::string& devName, const QVImmutableIdentifier& field) {
    return devName == "GA189215" && field == kForm189215Lines.priorYearsIndicator;
}

// The amounts that labels write are the year's amounts in the code's table:
// a Georgia form's labels write only amounts of its rules, and a label
// whose amount depends on the filing status or the kind of line writes
// exactly its own, in the words of its case.
TEST(LineLabels, AmountsInLabelsAreTheAmountsOfTheYearsTable) {
    const std::map<std::string, std::set<std::string>> ofForms = amountsOfForms();
    int amounts = 0;
    for (DataMgmt::TaxFormDescIter it = library().georgia->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const TaxFormDescPtr f = it.getTaxFormDescriptor();
        const auto allowed = ofForms.find(f->getDevName());
        for (DataMgmt::QVFieldIDIter field = f->getFieldIDs(); !field.atEOL(); field.next()) {
            if (writesAnAmountOfTheStateWorksheets(f->getDevName(), field.getFieldID())) continue;
            for (const std::string& amount : amountsIn(label(f->getDevName(), field.getFieldID()))) {
                ++amounts;
                EXPECT_TRUE(allowed != ofForms.end() && allowed->second.count(amount) == 1)
                    << f->getDevName() << " " << number(field.getFieldID()) << " writes " << amount << ": "
                    << label(f->getDevName(), field.getFieldID());
            }
        }
    }
    EXPECT_GT(amounts, 60);
    for (const AmountsOfLabel& row : amountsOfLabels()) {
        const std::string text = label(row.devName, row.field);
        SCOPED_TRACE(row.devName + " " + number(row.field) + ": " + text);
        std::string words;
        for (const std::string& amount : row.amounts) {
            EXPECT_TRUE(writes(text, amount)) << amount;
            words += amount + "; ";
        }
        EXPECT_EQ(amountsIn(text), amountsIn(words));
    }
}

}  // namespace
