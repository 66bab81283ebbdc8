// The line labels of the generated form definitions say what a field holds,
// checked by rules that take their facts from the catalogues, not by copies
// of the labels: a line split into a part-year and a nonresident column says
// which column is which, a field the calculation copies names the form and
// field it comes from, a line filled from a common federal item names the
// item, and the lines of a group are labelled, each differently.
#include <gtest/gtest.h>

#include <cctype>
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
#include "module/catalogues/Form203811Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/catalogues/WageLineRows.h"
#include "module/catalogues/WithholdingEntryLines.h"
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

// The text names the number as a word of its own (27 in "field 27)", not in
// "field 270").
bool namesNumber(const std::string& text, std::int32_t number) {
    return std::regex_search(text, std::regex("(^|[^0-9])" + std::to_string(number) + "([^0-9]|$)"));
}

bool mentions(const std::string& text, const std::string& word) { return text.find(word) != std::string::npos; }

// ------------------------------------------------------------ split columns

// A line in its three columns: the whole amount, the Georgia part of a
// part-year resident, the Georgia part of a nonresident.
struct SplitLine {
    const char* devName;
    QVImmutableIdentifier whole, partYear, nonresident;
};

void expectSplitLineLabelled(const SplitLine& line) {
    SCOPED_TRACE(std::string(line.devName) + " line " + std::to_string(line.whole.getNumber()));
    const std::string whole = label(line.devName, line.whole);
    const std::string partYear = label(line.devName, line.partYear);
    const std::string nonresident = label(line.devName, line.nonresident);
    for (const QVImmutableIdentifier& column : {line.whole, line.partYear, line.nonresident}) {
        EXPECT_TRUE(labelled(line.devName, column)) << column.getNumber();
    }
    EXPECT_TRUE(whole != partYear && partYear != nonresident && whole != nonresident);
    // Which state column is Georgia's for which residency.
    EXPECT_TRUE(mentions(partYear, "part-year") && !mentions(partYear, "nonresident")) << partYear;
    EXPECT_TRUE(mentions(nonresident, "nonresident") && !mentions(nonresident, "part-year")) << nonresident;
    EXPECT_FALSE(mentions(whole, "part-year") || mentions(whole, "nonresident")) << whole;
}

TEST(LineLabels, EveryLineOfTheWagesWorksheetSaysWhichColumnIsWhose) {
    const StateForm4Lines& s4 = kStateForm4Lines;
    std::vector<const StateForm4Lines::Row*> rows = {&s4.interestStatements, &s4.dividendStatements, &s4.wages,
                                                     &s4.otherWages,         &s4.wagesTotal,         &s4.incomeTotal,
                                                     &s4.adjustmentTotal};
    for (const auto& row : s4.incomeLines) rows.push_back(&row);
    for (const auto& row : s4.adjustmentLines) rows.push_back(&row);
    for (const StateForm4Lines::Row* row : rows) {
        expectSplitLineLabelled({"ST4", row->federal, row->resident, row->nonresident});
    }
    // The statements' regular lines split the same way.
    expectSplitLineLabelled({"ST2", kStateForm2Lines.statement.regular.total,
                             kStateForm2Lines.statement.regular.partYear,
                             kStateForm2Lines.statement.regular.nonresident});
    expectSplitLineLabelled({"ST3", kStateForm3Lines.statement.regular.total,
                             kStateForm3Lines.statement.regular.partYear,
                             kStateForm3Lines.statement.regular.nonresident});
}

TEST(LineLabels, EveryIncomeLineFromTheFederalMainFormNamesItsFederalFields) {
    // Column C of a line is the field after column B, as the allocation finds
    // it.
    const TaxFormDescPtr worksheet = form("ST4");
    ASSERT_TRUE(worksheet);
    for (const WageLineRowLines& row : kWageLineRows) {
        DataMgmt::QVFieldIDIter it = worksheet->getFieldIDs();
        it = row.resident;
        ASSERT_FALSE(it.atEOL()) << row.resident.getNumber();
        expectSplitLineLabelled({"ST4", row.federal, row.resident, (it + 1).getFieldID()});
        // The federal column is the main form's amount, whatever is entered.
        EXPECT_TRUE(worksheet->getFieldDesc(row.federal)->isCalculated()) << row.federal.getNumber();
        const std::string federal = label("ST4", row.federal);
        const struct {
            const char* form;
            QVImmutableIdentifier field;
        } sources[] = {{"form 1", row.form1}, {"form 55", row.form55}, {"form 87", row.form87}};
        for (const auto& source : sources) {
            if (source.field.isNullID()) continue;
            const std::string named = std::string(source.form) + " field " + std::to_string(source.field.getNumber());
            EXPECT_TRUE(mentions(federal, named)) << named << ": " << federal;
        }
    }
}

// ------------------------------------------------------------ copies

// A field the calculation copies from another form names that form and the
// field: "(from form 69 field 25)".
TEST(LineLabels, CopiesNameTheFormAndFieldTheyComeFrom) {
    const QVImmutableIdentifier& taxpayerNumber = kForm69Lines.heading.taxpayerNumber;
    const struct {
        const char* devName;
        QVImmutableIdentifier field;
        int sourceForm;
        QVImmutableIdentifier source;
    } copies[] = {
        {"GA189215", kForm189215Lines.taxpayerNumber, 69, taxpayerNumber},
        {"GA189216", kForm189216Lines.taxpayerNumber, 69, taxpayerNumber},
        {"GA189217", kForm189217Lines.taxpayerNumber, 69, taxpayerNumber},
        {"GA203811", kForm203811Lines.taxpayerNumber, 69, taxpayerNumber},
        {"GA187981", kForm187981Lines.filer[0], 69, kForm69Lines.heading.taxpayerFirstName},
        {"GA187981", kForm187981Lines.filer[2], 69, kForm69Lines.heading.taxpayerLastName},
        {"GA187981", kForm187981Lines.filer[4], 69, taxpayerNumber},
        {"GA189217", kForm189217Lines.filers, 70, kForm70Lines.exemptions.filers},
        {"GA189217", kForm189217Lines.dependents, 70, kForm70Lines.exemptions.dependents},
    };
    auto expectNamed = [](const std::string& devName, const QVImmutableIdentifier& field, int sourceForm,
                          const QVImmutableIdentifier& source) {
        const std::string named =
            "from form " + std::to_string(sourceForm) + " field " + std::to_string(source.getNumber());
        EXPECT_TRUE(mentions(label(devName, field), named))
            << devName << " " << field.getNumber() << ": " << label(devName, field);
    };
    for (const auto& copy : copies) expectNamed(copy.devName, copy.field, copy.sourceForm, copy.source);
    // The IND-CR worksheets, forms 190054 to 190062, in their heading.
    const QVImmutableIdentifier worksheetHeadings[] = {
        kIndCr201.taxpayerNumber, kIndCr202.taxpayerNumber, kIndCr203.taxpayerNumber,
        kIndCr204.taxpayerNumber, kIndCr205.taxpayerNumber, kIndCr206.taxpayerNumber,
        kIndCr207.taxpayerNumber, kIndCr208.taxpayerNumber, kIndCr209.taxpayerNumber};
    int worksheet = 190054;
    for (const QVImmutableIdentifier& heading : worksheetHeadings) {
        expectNamed("GA" + std::to_string(worksheet++), heading, 69, taxpayerNumber);
    }
    // The amended return's repetitions of form 70 that are not amounts the
    // calculation settles.
    const TaxFormDescPtr amended = form("GA189219");
    ASSERT_TRUE(amended);
    int named = 0;
    for (const AmendedCopy& copy : kAmendedReturnCopies) {
        if (amended->getFieldDesc(copy.amended)->isCalculated()) continue;
        ++named;
        const std::string text = label("GA189219", copy.amended);
        EXPECT_TRUE(mentions(text, "(from form 70 field " + std::to_string(copy.mainForm.getNumber()) + ")"))
            << copy.amended.getNumber() << ": " << text;
    }
    EXPECT_GT(named, 0);
}

// The part-year schedule's lines taken from state form 4 name its lines.
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
        EXPECT_TRUE(mentions(text, "state form 4")) << line.field.getNumber() << ": " << text;
        for (const QVImmutableIdentifier& source : line.sources) {
            EXPECT_TRUE(namesNumber(text, source.getNumber())) << source.getNumber() << " in " << text;
        }
    }
}

// A label that sends a person to another field names it by the number the
// catalogue gives it.
TEST(LineLabels, ReferencesNameTheFieldTheCalculationUses) {
    const struct {
        const char* devName;
        QVImmutableIdentifier field;
        std::string names;
    } rows[] = {
        // Where a part-year resident enters the Georgia wages of a W-2.
        {"F52", kForm52StateRows[0].amount, "ST4 field " + std::to_string(kStateForm4Lines.wages.resident.getNumber())},
        // The amount the payment voucher takes for the amended return.
        {"GA77", kForm77Lines.forAmendedReturn,
         "form 189219 field " + std::to_string(kForm189219Lines.settlement.amountOwed.getNumber())},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(mentions(label(row.devName, row.field), row.names))
            << row.devName << " " << row.field.getNumber() << ": " << label(row.devName, row.field);
    }
}

// ------------------------------------------------------------ common items

TEST(LineLabels, LinesFilledFromACommonItemNameTheItem) {
    const struct {
        const char* devName;
        QVImmutableIdentifier field;
        Utils::PCTypes item;
    } rows[] = {
        {"ST4", kStateForm4Lines.taxableInterest, Utils::kTaxableInterest},
        {"ST4", kStateForm4Lines.ordinaryDividends, Utils::kOrdinaryDividends},
        {"ST4", kStateForm4Lines.otherWages.federal, Utils::kOtherWagesTaxpayer},
        {"ST4", kStateForm4Lines.taxpayerOtherAdjustment.federal, Utils::kWorksheetAdjustmentTaxpayer},
        {"ST4", kStateForm4Lines.spouseOtherAdjustment.federal, Utils::kWorksheetAdjustmentSpouse},
        {"ST4", kStateForm4Lines.federalAgi, Utils::kFederalAgi},
        {"GA189217", kForm189217Lines.federalInterest, Utils::kTaxableInterest},
        {"GA189217", kForm189217Lines.federalDividends, Utils::kOrdinaryDividends},
        {"GA189215", kForm189215Lines.taxpayerRetirement.pensions, Utils::kPensionsTaxpayer},
        {"GA189215", kForm189215Lines.spouseRetirement.iraDistributions, Utils::kIraDistributionsSpouse},
    };
    for (const auto& row : rows) {
        const PersistanceMgmt::CommonItemInfo* item = PersistanceMgmt::findCommonItem(row.item);
        ASSERT_NE(item, nullptr) << row.item;
        const std::string text = label(row.devName, row.field);
        EXPECT_TRUE(mentions(text, std::string("common item ") + item->name) ||
                    mentions(text, std::string("common items ") + item->name))
            << row.devName << " " << row.field.getNumber() << ": " << text;
    }
}

// ------------------------------------------------------------ groups

// Every line of a group is labelled, each differently from the others.
void expectLabelledApart(const char* devName, const std::vector<QVImmutableIdentifier>& group) {
    std::set<std::string> seen;
    for (const QVImmutableIdentifier& field : group) {
        EXPECT_TRUE(labelled(devName, field)) << devName << " " << field.getNumber();
        EXPECT_TRUE(seen.insert(label(devName, field)).second)
            << devName << " " << field.getNumber() << " repeats " << label(devName, field);
    }
}

TEST(LineLabels, TheLinesOfAGroupAreLabelledEachDifferently) {
    const Form69Lines& f69 = kForm69Lines;
    std::vector<QVImmutableIdentifier> payments = {f69.estimatedPayments.undated, f69.estimatedPayments.datedTotal,
                                                   f69.estimatedPayments.total, f69.estimatedPayments.further};
    const TaxFormDescPtr info = form("GA69");
    ASSERT_TRUE(info);
    for (const auto& amount : f69.estimatedPayments.amounts) {
        DataMgmt::QVFieldIDIter it = info->getFieldIDs();
        it = amount;
        payments.push_back(amount);
        payments.push_back((it - 1).getFieldID());  // its date, the field before it
    }
    expectLabelledApart("GA69", payments);
    const Form69Lines::Options& o = f69.options;
    expectLabelledApart("GA69", {o.directDeposit, o.otherRefundChoice, o.depositFromFederal, o.depositRouting,
                                 o.depositAccount, o.depositChecking, o.depositSavings});

    std::vector<QVImmutableIdentifier> entries;
    for (const WithholdingEntryLines& e : kForm70WithholdingEntries) {
        entries.insert(entries.end(), {e.link, e.wageBox, e.infoBox, e.row1Box, e.row2Box, e.row3Box, e.row4Box,
                                       e.id1Box, e.id2Box, e.payerId, e.stateId, e.stateAmount, e.withheld});
    }
    for (const auto& row : kForm70Lines.payments.incomeStatements) {
        entries.insert(entries.end(), {row.payerId, row.stateId, row.georgiaWages, row.withheld});
    }
    expectLabelledApart("GA70", entries);

    const Form189216Lines& summary = kForm189216Lines;
    std::vector<QVImmutableIdentifier> summaryLines = {summary.linkedForm, summary.linkedCopy, summary.copyKind,
                                                       summary.added,      summary.total,      summary.firstUsed,
                                                       summary.creditUsed, summary.remaining};
    for (const auto& row : summary.rows) {
        for (const auto& line : row.lines()) summaryLines.push_back(line);
    }
    expectLabelledApart("GA189216", summaryLines);

    const VoucherLines& v = kForm187982Lines.voucher;
    expectLabelledApart("GA187982", {v.name, v.number, v.spouseNumber, v.street, v.city, v.state, v.zipCode,
                                     v.federalReference, v.taxYear, v.amount, v.scanLine, kForm187982Lines.always,
                                     kForm187982Lines.formCode, kForm187982Lines.amountEntered});
}

}  // namespace
