// The Georgia main-form hook: the values it rewrites, the order of the
// Georgia records on form 70's last field, the tax period lines, and the
// withholding and adjustment lines of the main form's record.
#include <functional>
#include <string>
#include <tuple>

#include "module/catalogues/Form131Lines.h"
#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form71Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/IndCrLines.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "platform/store/StatementForms.h"
#include "tests/output/efile_fixture.h"

namespace efiletest {
namespace {

const auto& f70 = kGAForm70FieldIds;
const auto& form69 = kForm69Lines;
const auto& form70 = kForm70Lines;
const auto& form189215 = kForm189215Lines;
const auto& form189217 = kForm189217Lines;

class HookTest : public EFileTest {
protected:
    std::string convert(const FormId& form, const FieldId& field, std::string value, std::uint16_t copy = 1) {
        writer->convertMainFormField(gaCopy(form, copy), form, copy, field, "key", value, nullptr, nullptr);
        return value;
    }
    void setStatus(const char* letter) { setText(gaCopy(kGAForm70ID), f70.f44, letter); }
};

TEST_F(HookTest, ValuesRewrittenByTheirRule) {
    struct Row {
        const char* what;
        FormId form;
        FieldId field;
        std::function<void()> seed;
        const char* in;
        const char* out;
    };
    const auto amount = [this](const FormId& form, const FieldId& field, double v) {
        return [=, this] { setNumber(gaCopy(form), field, v); };
    };
    const auto none = [] {};
    const Row rows[] = {
        {"ratio 575", kGAForm189217ID, form189217.ratio, amount(kGAForm189217ID, form189217.ratio, 575), "575",
         "005.75"},
        {"ratio 12345", kGAForm189217ID, form189217.ratio, amount(kGAForm189217ID, form189217.ratio, 12345), "12345",
         "123.45"},
        {"ratio empty", kGAForm189217ID, form189217.ratio, none, "", ""},
        {"net with additions", kGAForm189215ID, form189215.netAdjustment,
         amount(kGAForm189215ID, form189215.additions, 10), "", "0"},
        {"net without either", kGAForm189215ID, form189215.netAdjustment, none, "", ""},
        {"credit used with a tax", kGAForm189216ID, kForm189216Lines.creditUsed,
         amount(kGAForm70ID, form70.credits.summary, 100), "", "0"},
        {"credit used without", kGAForm189216ID, kForm189216Lines.creditUsed, none, "", ""},
        {"Georgia total income not in Georgia, with its total", kGAForm189217ID, form189217.totalIncome.notGeorgia,
         amount(kGAForm189217ID, form189217.totalIncome.total, 5), "", "0"},
        {"income after adjustments in Georgia, with its total", kGAForm189217ID,
         form189217.incomeAfterAdjustments.georgia, amount(kGAForm189217ID, form189217.incomeAfterAdjustments.total, 5),
         "", "0"},
        {"income after adjustments not in Georgia, without", kGAForm189217ID,
         form189217.incomeAfterAdjustments.notGeorgia, none, "", ""},
        {"net tax zero", kGAForm70ID, form70.credits.netTax, none, "", "0"},
        // Schedule 3's federal adjustments are amounts like any other: a
        // negative one keeps its sign.
        {"federal adjustments", kGAForm189217ID, form189217.federalAdjustments.notGeorgia, none, "-1234", "-1234"},
        {"other field", kGAForm70ID, form70.residency.residentAtYearEnd, none, "kept", "kept"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const FormId& form : {kGAForm70ID, kGAForm189215ID, kGAForm189216ID, kGAForm189217ID}) {
            ga->deleteForm(form, 1);
        }
        row.seed();
        EXPECT_EQ(convert(row.form, row.field, row.in), row.out);
    }
}

// The dates of a part-year move come from form 69 only for a part-year
// resident; a date that cannot be read gives no value.
TEST_F(HookTest, MoveDatesFollowTheInformationForm) {
    setText(gaCopy(kGAForm69ID), form69.residency.periodFrom, "03/03/2018");
    setText(gaCopy(kGAForm69ID), form69.residency.periodTo, "not a date");
    EXPECT_EQ(convert(kGAForm70ID, form70.residency.from, "x"), "");
    setBox(gaCopy(kGAForm69ID), form69.residency.taxpayerPartYear);
    EXPECT_EQ(convert(kGAForm70ID, form70.residency.from, "x"), "2018-03-03");
    EXPECT_EQ(convert(kGAForm70ID, form70.residency.to, "x"), "");
}

TEST_F(HookTest, TaxPeriodLinesByFilingStatusOnTheirFieldOnly) {
    std::string value;
    for (const auto& [letter, count] :
         std::vector<std::pair<const char*, std::size_t>>{{"A", 5}, {"B", 6}, {"C", 10}, {"D", 5}}) {
        SCOPED_TRACE(letter);
        setStatus(letter);
        writer->clearCallLog();
        writer->writeTaxPeriodLines(fedCopy(kForm131ID), kForm131ID, 1, kForm131Lines.mappedAnswer, "k", value);
        EXPECT_EQ(calls().size(), count);
        EXPECT_EQ(calls().front(), "00315.000.001=2018");
    }
    writer->clearCallLog();
    writer->writeTaxPeriodLines(fedCopy(kForm131ID), kForm131ID, 1, kForm131Lines.signatureAnswer, "k", value);
    EXPECT_TRUE(calls().empty());
}

// The last field of form 70 writes the main form's lines and then every
// Georgia record in its fixed order, each time it is converted.
TEST_F(HookTest, LastFieldWritesTheRecordsInOrderEachTime) {
    setText(gaCopy(kGAForm70ID), f70.f189509, "12-3456789");
    setNumber(gaCopy(kGAForm189215ID), form189215.taxpayerRetirement.exclusion, 100);
    setText(fedCopy(kForm165ID), kForm165Lines.stateRows[0].state, "GA");
    setNumber(fedCopy(kForm165ID), kForm165Lines.stateRows[0].withheld, 100);
    setNumber(gaCopy(kGAForm189216ID), kForm189216Lines.total, 10);
    gaCopy(kGAForm190060ID)->setCalculatedFlag(true);
    const std::vector<std::string> once = {"04515.000.001",  "D GAGARETINC 1", "D GAGA1099G 1", "D GAGARTNHDR 1",
                                           "D GAGAAUTHDR 1", "D GAGASCH2 1",   "D GAGA8453 1",  "D GAGAINDCR 1"};
    writer->clearCallLog();
    EXPECT_EQ(convert(kGAForm70ID, f70.f345, "x"), "");
    EXPECT_EQ(convert(kGAForm70ID, f70.f345, "x"), "");
    std::vector<std::string> seen;
    for (const std::string& call : calls()) {
        for (const std::string& mark : once) {
            if (call.rfind(mark, 0) == 0) seen.push_back(mark);
        }
    }
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(seen, twice);
}

// ---- withholding statements and adjustments

struct EntryFields {
    FieldId w2, form1099, firstIdBox, id, first, second, third;
};

TEST_F(HookTest, WithholdingEntriesAreNumberedAcrossTheirForms) {
    // Main-form entries 1 and 3, then three entries on each of two copies of
    // form 189218; main entry 2 has no number and is left out.
    const EntryFields main[] = {
        {f70.f189485, f70.f189494, f70.f189503, f70.f189509, f70.f189512, f70.f189515, f70.f189518},
        {f70.f189491, f70.f189500, f70.f189507, f70.f189511, f70.f189514, f70.f189517, f70.f189520},
    };
    const auto& c = kGAForm189218FieldIds;
    const EntryFields continuation[] = {
        {c.f189902, c.f189911, c.f189920, c.f189926, c.f189929, c.f189932, c.f189935},
        {c.f189938, c.f189947, c.f189956, c.f189962, c.f189965, c.f189968, c.f189971},
        {c.f189980, c.f189989, c.f189996, c.f190000, c.f190003, c.f190006, c.f190009},
    };
    const auto fill = [](const DataMgmt::TaxFormPtr& copy, const EntryFields& e, bool both) {
        setBox(copy, e.form1099);
        if (both) setBox(copy, e.w2);
        setBox(copy, e.firstIdBox);
        setText(copy, e.id, "123456789");  // as the reader stores it
        setText(copy, e.first, "1");
        setNumber(copy, e.third, 3);
    };
    fill(gaCopy(kGAForm70ID), main[0], true);
    fill(gaCopy(kGAForm70ID), main[1], false);
    for (std::uint16_t copy : {1, 2}) {
        for (const EntryFields& e : continuation) fill(gaCopy(kGAForm189218ID, copy), e, false);
    }
    writer->writeWithholdingLines();
    EXPECT_EQ(written("04500.000.001"), "W2");
    EXPECT_EQ(written("04500.000.002"), "1099");
    EXPECT_EQ(written("04505.000.001"), "123456789");
    EXPECT_EQ(written("04520.000.001"), "0");
    EXPECT_EQ(written("04525.000.008"), "3");
    EXPECT_TRUE(written("04515.000.008"));
    EXPECT_FALSE(written("04500.000.009"));
    setText(gaCopy(kGAForm70ID), f70.f189510, "58-1234567");  // main entry 2 joins: 1 to 9
    writer->clearCallLog();
    writer->writeWithholdingLines();
    EXPECT_TRUE(written("04515.000.009"));
    EXPECT_FALSE(written("04510.000.002"));  // its kind is not marked: no number line
    EXPECT_FALSE(written("04505.000.002"));
}

// Form 70 lists each statement's Georgia tax withheld in whole dollars (its
// lines that count added, then rounded), and its tax withheld, calculated
// and e-filed, is the sum of the list as written.
struct WithheldLine {
    FormId form;
    std::uint16_t copy;
    std::size_t line;  // of the statement's state lines
    double withheld;
};
struct ListedWithholding {
    const char* what;
    std::vector<WithheldLine> lines;
    std::vector<std::string> rows;  // under 04525, in order
    const char* total;
};

void PrintTo(const ListedWithholding& row, std::ostream* out) { *out << row.what; }

class WithholdingListTest : public HookTest, public ::testing::WithParamInterface<ListedWithholding> {};

TEST_P(WithholdingListTest, TheTaxWithheldIsTheSumOfTheRowsWritten) {
    for (const WithheldLine& given : GetParam().lines) {
        const StatementForm& statement = *statementFormOf(given.form.getNumber());
        const auto copy = fedCopy(given.form, given.copy);
        setText(copy, statement.payerId, "58100000" + std::to_string(given.copy));
        setText(copy, statement.lines[given.line].state, "GA");
        setNumber(copy, statement.lines[given.line].withheld, given.withheld * 100);  // kept in hundredths
    }
    countingEngine->GATaxReturnCalcEngine::calculateReturn(0);
    writer->writeWithholdingLines();
    std::vector<std::string> rows;
    for (const auto& line : calls()) {
        if (line.rfind("04525.000.", 0) == 0) rows.push_back(line.substr(line.find('=') + 1));
    }
    EXPECT_EQ(rows, GetParam().rows);
    // Form 70's list holds each entry as written (the amended return copies it).
    EXPECT_EQ(ga->getIR(kGAForm70ID, 1, kForm70WithholdingEntries[0].withheld), std::stod(GetParam().rows[0]));
    writer->outputFieldLine("01275.000.001", kGAForm70ID, 1, form70.payments.withheld, false);
    EXPECT_EQ(written("01275.000.001"), GetParam().total);
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, form70.payments.total), GetParam().total);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, WithholdingListTest,
    ::testing::Values(
        ListedWithholding{
            "two W-2s of 1225.50", {{kForm52ID, 1, 0, 1225.50}, {kForm52ID, 2, 0, 1225.50}}, {"1226", "1226"}, "2452"},
        ListedWithholding{
            "a W-2's two lines added, then rounded", {{kForm52ID, 1, 0, 0.30}, {kForm52ID, 1, 1, 0.30}}, {"1"}, "1"},
        ListedWithholding{"a W-2 below a half and a 1099-R at one",
                          {{kForm52ID, 1, 0, 1225.49}, {kForm84ID, 1, 0, 0.50}},
                          {"1225", "1"},
                          "1226"},
        ListedWithholding{
            "two 1099-Gs", {{kForm165ID, 1, 0, 100.50}, {kForm165ID, 2, 0, 100.50}}, {"101", "101"}, "202"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// Form 70's own withholding rows follow the statements' rule: each row in
// whole dollars, their total the sum of the rows.
TEST_F(HookTest, FormSeventysOwnRowsAddAsListed) {
    const auto& rows = form70.payments.incomeStatements;
    setNumber(gaCopy(kGAForm70ID), rows[0].withheld, 100.50);
    setNumber(gaCopy(kGAForm70ID), rows[1].withheld, 100.50);
    countingEngine->GATaxReturnCalcEngine::calculateReturn(0);
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, form70.payments.ownRowsTotal), "202");
    EXPECT_EQ(ga->getFieldAsString(kGAForm70ID, 1, form70.payments.total), "202");
}

// Each value has one spelling in the e-file, which its field's kind gives
// it: a number kept as written as its digits, a date as YYYY-MM-DD, a name
// or an address without the signs the e-file's names and addresses do not
// take, single blanks between words; another text as it stands.
TEST_F(HookTest, EachValueTakesTheEFileFormOfItsKind) {
    const auto& row = form70.payments.incomeStatements[0];
    const auto& address = kForm92Lines.address;
    const struct {
        FormId form;
        FieldId field;
        const char* stored;
        const char* eFile;
    } rows[] = {
        {kGAForm70ID, row.payerId, "58-1111111", "581111111"},
        {kGAForm70ID, row.stateId, "12-AB", "12-AB"},
        {kGAForm70ID, row.stateId, "12  AB ", "12 AB"},
        {kGAForm69ID, kForm69Lines.residency.periodFrom, "03/05/2018", "2018-03-05"},
        {kForm92ID, kForm92Lines.taxpayer.lastName, "O'Brien  Smith", "OBrien Smith"},
        {kForm92ID, kForm92Lines.taxpayer.firstName, "4th", "4th"},
        {kForm92ID, address.street, "12 Main St. #4", "12 Main St 4"},
        {kForm92ID, address.street, "#", ""},
    };
    for (const auto& r : rows) {
        const auto desc = (r.form.isState() ? ga : federal)->getTaxFormDescriptor(r.form)->getFieldDesc(r.field);
        EXPECT_EQ(TifWriteMgmt::TifFileWriter::eFileText(*desc, r.stored), r.eFile) << r.stored;
    }
}

// Amounts leave the e-file as their forms show them: at most two decimals,
// whole dollars on the main form and its schedules. A record's own amounts
// pass the edit-code cleaning, schedule 3's copied adjustments the hook, and
// the Georgia records' amounts their field lines.
TEST_F(HookTest, AmountsLeaveAsTheirFormsShowThem) {
    struct Row {
        FormId form;
        FieldId field;
        const char* in;
        const char* out;
    };
    const Row cleaned[] = {
        {kGAForm70ID, form70.income.taxable, "29648.923076923078", "29649"},
        {kGAForm189217ID, form189217.georgiaShare, "3751.076923076923", "3751"},
        {kGAForm71ID, kForm71Lines.totalPenalty, "40.243130136986295", "40.24"},
        {kGAForm70ID, form70.heading.filingStatus, "12.345", "12.345"},  // a text is no amount
        {kGAForm189217ID, form189217.federalAdjustments.total, "1234.56", "1235"},
        {kGAForm189217ID, form189217.federalAdjustments.notGeorgia, "-1234.56", "-1235"},
    };
    for (const Row& row : cleaned) {
        std::string value = row.in;
        writer->tifCleanByEditCodeDispatch(gaCopy(row.form), row.form, row.field, value);
        EXPECT_EQ(value, row.out) << row.form.getNumber() << " " << row.in;
    }

    setNumber(gaCopy(kGAForm189215ID), form189215.depreciationDifference, 250.6);
    writer->writeOtherAdjustmentLines();
    EXPECT_EQ(written("04102.000.001"), "251");

    const auto worksheet = gaCopy(kGAForm190057ID);
    worksheet->setCalculatedFlag(true);
    setNumber(worksheet, kIndCr204.credit, 123.456);
    writer->writeIndividualCreditsRecord();
    EXPECT_EQ(written("00185.000.001"), "123.46");
}

TEST_F(HookTest, AdjustmentsNamedByTheirField) {
    setNumber(gaCopy(kGAForm189215ID), form189215.depreciationDifference, 250);
    setNumber(gaCopy(kGAForm189215ID), form189215.donation1, 75);
    writer->writeOtherAdjustmentLines();
    EXPECT_EQ(calls(), (std::vector<std::string>{"04101.000.001=Depreciation", "04102.000.001=250",
                                                 "04101.000.002=Donations", "04102.000.002=75"}));
}

}  // namespace
}  // namespace efiletest
