// The information form's return-level checks and the main form's checks.

#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm74FieldIds.h"
#include "module/catalogues/StateForm4FieldIds.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;

const auto& f69 = kGAForm69FieldIds;
const auto& f70 = kGAForm70FieldIds;

TEST_F(ReviewTest, InformationFormRunsItsReturnLevelChecksInOrder) {
    setNumber(gaCopy(kGAForm69ID), f69.f8, 3);
    const std::vector<std::string> ordinary = {"auditResidencyAddress", "auditDirectDeposit", "auditForm1099GEFile",
                                               "auditForm1099GPayer",   "auditCareOf",        "checkBalanceDuePayment",
                                               "auditMissingStateInfo", "auditDriverLicense"};
    audit(false);
    EXPECT_EQ(auditor.checks, ordinary);
    EXPECT_EQ(auditor.residencyNumber, 3);

    // The W-2 state data only in an e-file check, after the direct deposit.
    std::vector<std::string> eFile = ordinary;
    eFile.insert(eFile.begin() + 2, "auditStateWageData");
    auditor.checks.clear();
    audit(true);
    EXPECT_EQ(auditor.checks, eFile);
}

// The direct-deposit data are checked when the return has a refund (summary
// line 26), not when it has an amount owed.
TEST_F(ReviewTest, DirectDepositOfARefundWithoutItsRoutingNumberBlocksTheEFile) {
    setBox(gaCopy(kGAForm69ID), f69.f77);  // deposit asked for, no account data
    const std::string routing = "routing transit number must be filled in";
    setNumber(gaCopy(kGAForm70ID), f70.f106, 50);  // owed
    auto e = find(auditCopy(kGAForm69ID, 1, true), routing);
    ASSERT_TRUE(e);
    EXPECT_FALSE(e->fires);

    gaCopy(kGAForm70ID)->setNull(f70.f106);
    setNumber(gaCopy(kGAForm70ID), f70.f107, 50);  // refund
    e = find(auditCopy(kGAForm69ID, 1, true), routing);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->fires);
    EXPECT_EQ(e->type, 4);  // a missing entry: blocks the e-file
}

TEST_F(ReviewTest, DeceasedFilerBlocksOnlyTheEFileAndIsRecorded) {
    gaCopy(kGAForm69ID);
    setText(fedCopy(kForm92ID), kForm92FieldIds.f558, "12/01/2018");  // the spouse alone
    setNumber(fedCopy(kForm183ID), kForm183FieldIds.f28906, 1);
    const std::string text = "This program does not support electronic filing of returns for deceased";

    EXPECT_FALSE(find(audit(false), text));
    EXPECT_EQ(gaReturn()->eFileBlocked, 0);

    const auto entries = audit(true);
    const auto deceased = find(entries, text);
    ASSERT_TRUE(deceased);
    EXPECT_TRUE(deceased->fires);
    EXPECT_EQ(deceased->type, 6);
    EXPECT_EQ(deceased->form, FormId(0));
    EXPECT_NE(deceased->text.find("This issue only affects your state return."), std::string::npos);
    EXPECT_EQ(gaReturn()->eFileBlocked, 1);
    EXPECT_EQ(fedCopy(kForm183ID)->getValue(kForm183FieldIds.f28907).getText(),
              "This program does not support electronic filing of returns for deceased taxpayers or spouses.");
}

TEST_F(ReviewTest, ResidencyPeriodThatEndsBeforeItBeginsIsAFinding) {
    auto info = gaCopy(kGAForm69ID);
    const struct {
        const char* from;
        const char* to;
        bool finding;
    } rows[] = {
        {"12/31/2018", "01/01/2018", true},  {"07/02/2018", "07/01/2018", true}, {"07/01/2018", "07/01/2018", false},
        {"01/01/2018", "12/31/2018", false}, {"", "01/01/2018", false},          {"07/01/2018", "", false},
    };
    for (const auto& r : rows) {
        setText(info, f69.f113, r.from);
        setText(info, f69.f114, r.to);
        for (const bool eFileCheck : {false, true}) {
            const auto entries = audit(eFileCheck);
            const auto found = find(entries, "Your Georgia residency period ends on");
            EXPECT_EQ(found && found->fires, r.finding) << r.from << " " << r.to;
            if (found && found->fires) {
                EXPECT_EQ(found->text, std::string("Your Georgia residency period ends on ") + r.to +
                                           ", before it begins on " + r.from +
                                           ". Correct the dates of your part-year residency.");
                EXPECT_EQ(found->field, f69.f114);
            }
        }
    }
}

class MainFormChecks : public ReviewTest {
protected:
    MainFormChecks() : main(gaCopy(kGAForm70ID)) {}

    // The list lines of one class, each marked Y or N.
    std::vector<std::string> listed(std::uint16_t mask, bool eFileCheck = false) {
        attachMarkingUserInterface();
        return texts(auditCopy(kGAForm70ID, 1, eFileCheck, mask));
    }
    std::vector<std::string> fired(bool eFileCheck = false) { return texts(auditCopy(kGAForm70ID, 1, eFileCheck)); }

    DataMgmt::TaxFormPtr main;
};

TEST_F(MainFormChecks, FederalReturnReminderFromFortyThousandDollarsOnAPaperReturn) {
    setBox(gaCopy(kGAForm69ID), f69.f110);
    const std::string reminder = "    - attach a copy of your federal Form 1040 or 1040A to your Georgia return.";
    struct Row {
        double agi;
        bool eFileCheck;
        std::vector<std::string> marks;
    };
    const Row rows[] = {{40000, false, {"Y", "N", "N", "N"}},
                        {39999, false, {"N", "N", "N", "N"}},
                        {40000, true, {"N", "N", "N", "N"}}};
    for (const Row& r : rows) {
        setNumber(main, f70.f62, r.agi);
        std::vector<std::string> marks;
        for (const std::string& line : listed(8, r.eFileCheck)) {
            if (line.substr(1) == reminder) marks.push_back(line.substr(0, 1));
        }
        EXPECT_EQ(marks, r.marks) << r.agi << (r.eFileCheck ? " e-file" : "");
    }
    // The filers' wages together above the adjusted gross income ask for it
    // below 40,000 as well.
    gaReturn()->setPullCommon(kForm1ID, Utils::kWagesTaxpayer, 30000);
    gaReturn()->setPullCommon(kForm1ID, Utils::kWagesSpouse, 9000);
    setNumber(main, f70.f62, 38999);
    EXPECT_EQ(listed(8)[2], "Y" + reminder);
}

TEST_F(MainFormChecks, NotesOfTheListAndTheVoucherNoteOnlyInAnEFileCheck) {
    const std::vector<std::string> ordinary = {"Y    - your Social Security number(s)."};
    EXPECT_EQ(listed(16), ordinary);
    const auto eFile = listed(16, true);
    ASSERT_EQ(eFile.size(), 2u);
    EXPECT_EQ(eFile[1].rfind("Y    - don't staple or otherwise attach the payment", 0), 0u);
}

TEST_F(MainFormChecks, FindingsOfTheMainFormLines) {
    // Negative taxes paid to another state: in the audit and the e-file check.
    for (const bool eFileCheck : {false, true}) {
        setNumber(main, f70.f74, 0);
        auto e = find(auditCopy(kGAForm70ID, 1, eFileCheck), "Taxes paid to another state");
        ASSERT_TRUE(e) << eFileCheck;
        EXPECT_FALSE(e->fires);
        setNumber(main, f70.f74, -1);
        e = find(auditCopy(kGAForm70ID, 1, eFileCheck), "Taxes paid to another state");
        ASSERT_TRUE(e) << eFileCheck;
        EXPECT_TRUE(e->fires);
    }

    // Georgia wages against the wage worksheet, for a nonresident box marked.
    setNumber(gaCopy(kStateForm4ID), kStateForm4FieldIds.f28, 1);
    const std::string wages = "Please check the amount of Georgia wages";
    EXPECT_FALSE(find(auditCopy(kGAForm70ID), wages)->fires);
    setBox(gaCopy(kGAForm69ID), f69.f37);
    auto e = find(auditCopy(kGAForm70ID), wages);
    EXPECT_TRUE(e->fires);
    EXPECT_EQ(e->form, kStateForm4ID);
    EXPECT_EQ(e->field, kStateForm4FieldIds.f28);

    // An underpayment penalty added to the return blocks the e-file.
    setNumber(main, f70.f105, 12);
    EXPECT_FALSE(find(auditCopy(kGAForm70ID), "Underpayment Penalty"));
    e = find(auditCopy(kGAForm70ID, 1, true), "You Cannot E-file your GA return because an Underpayment Penalty");
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->fires);
    EXPECT_EQ(gaReturn()->eFileBlocked, 1);
}

TEST_F(MainFormChecks, CreditsAboveTheTaxNameTheExcess) {
    setNumber(main, f70.f84, 100);
    setNumber(main, f70.f97, 250);
    setBox(main, f70.f195593);
    const std::string start = "You're claiming credits which are $";
    EXPECT_FALSE(find(auditCopy(kGAForm70ID), start)->fires);  // no credit that can be reduced
    // Of the IND-CR lines of form 74, lines 1, 3, 6, 8 and 9 hold credits the
    // filer can reduce; lines 2, 4, 5 and 7 do not.
    const std::pair<int, bool> lines[] = {{19, true}, {35455, false}, {23520, true}, {27, false},  {33, false},
                                          {43, true}, {39, false},    {49777, true}, {69767, true}};
    for (const auto& [line, reducible] : lines) {
        setNumber(gaCopy(kGAForm74ID), FieldId(line), 1);
        EXPECT_EQ(find(auditCopy(kGAForm70ID), start)->fires, reducible) << line;
        setNumber(gaCopy(kGAForm74ID), FieldId(line), 0);
    }
    setNumber(gaCopy(kGAForm74ID), kGAForm74FieldIds.f19, 1);
    const auto e = find(auditCopy(kGAForm70ID), start);
    EXPECT_TRUE(e->fires);
    EXPECT_EQ(e->text.rfind(start + "150 more than your tax.", 0), 0u) << e->text;
    EXPECT_EQ(e->form, FormId(0));
    setNumber(main, f70.f84, 250);
    EXPECT_FALSE(find(auditCopy(kGAForm70ID), start)->fires);
}

TEST_F(MainFormChecks, MissingPayerNumbersOfLinkedDocuments) {
    const auto& f218 = kGAForm189218FieldIds;
    setText(main, f70.f190488, "164/2/1");
    setText(main, f70.f190489, "135/1/2");
    setText(main, f70.f190490, "84/3/3");
    setText(main, f70.f190491, "52/1/4");
    setText(main, f70.f189512, "x");  // not a payer field: no effect
    setText(main, f70.f189545, "58-1234567");
    setText(main, f70.f190492, "abc");
    auto continuation = gaCopy(kGAForm189218ID, 2);
    setText(continuation, f218.f190506, "110/4/7");
    setText(continuation, f218.f190507, "164/5/8");
    continuation->setFieldCalculated(f218.f189926, true);
    continuation->setFieldCalculated(f218.f189927, true);

    std::vector<std::string> fein;
    for (const AuditEntry& e : auditCopy(kGAForm70ID)) {
        if (e.text.find("We need the FEIN") == 0) fein.push_back(e.text);
    }
    ASSERT_EQ(fein.size(), 4u);
    EXPECT_EQ(fein[0], "We need the FEIN number from your Form 1099DIV copy 2.");
    EXPECT_EQ(fein[1], "We need the FEIN number from your Form 1099-B copy 1.");
    EXPECT_EQ(fein[2], "We need the FEIN number from your Form 1099INT/OID copy 3.");
    EXPECT_EQ(fein[3].rfind("We need the FEIN number from your Form 1099-MISC copy 4. On the Forms menu, choose the "
                            "Federal tab, then open the 1099-MISC Worksheet. Choose copy 4, then enter",
                            0),
              0u);
    EXPECT_NE(fein[3].find("How can I go back to an Interview topic?"), std::string::npos);
}

TEST_F(MainFormChecks, IncomeStatementRowsInUseNeedPayerWagesAndWithholding) {
    EXPECT_FALSE(find(auditCopy(kGAForm70ID), "Payer Fed ID Number"));
    setText(main, f70.f190498, "note");  // the second row's second entry alone
    std::vector<AuditEntry> row;
    for (const AuditEntry& e : auditCopy(kGAForm70ID)) {
        if (e.field == f70.f190497 || e.field == f70.f190499 || e.field == f70.f244) row.push_back(e);
    }
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0].text, "Payer Fed ID Number.");
    EXPECT_EQ(row[1].type, 7);
    EXPECT_EQ(row[2].text, "Georga Tax Withheld.");
    for (const AuditEntry& e : row) EXPECT_TRUE(e.fires);
}

// A withholding row entered on form 70 becomes an entry of the withholding
// list when the return is calculated, and the entry's missing payer number
// a finding: each of the four rows.
TEST_F(MainFormChecks, EachWithholdingRowOfForm70WithoutItsPayerNumberIsAFinding) {
    const auto& rows = kForm70Lines.payments.incomeStatements;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        setNumber(main, rows[r].withheld, 100.0 * static_cast<double>(r + 1));
    }
    GACalculationMgmt::GATaxReturnCalcEngine engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(),
                                                    printer);
    engine.calculateReturn(0);
    std::vector<FieldId> named;
    for (const AuditEntry& e : auditCopy(kGAForm70ID)) {
        if (e.fires && e.text == "We need the FEIN number from your Form 1099INT/OID copy 1.") named.push_back(e.field);
    }
    const auto& entries = kForm70WithholdingEntries;
    EXPECT_EQ(named,
              (std::vector<FieldId>{entries[0].payerId, entries[1].payerId, entries[2].payerId, entries[3].payerId}));
}

// The federal return reminder from 40,000 dollars holds for a full-year
// resident alone; another return is reminded when the common income is
// above its adjusted gross income.
TEST_F(MainFormChecks, FederalReturnReminderFromFortyThousandDollarsOnlyForAFullYearResident) {
    const std::string reminder = "    - attach a copy of your federal Form 1040 or 1040A to your Georgia return.";
    gaCopy(kGAForm69ID)->setXNo(f69.f110);
    gaReturn()->setPullCommon(kForm1ID, Utils::PCTypes{16}, 40000);
    const struct {
        double agi;
        std::vector<std::string> marks;
    } rows[] = {{40000, {"N", "N", "N", "N"}}, {39999, {"N", "N", "N", "Y"}}};
    for (const auto& r : rows) {
        setNumber(main, f70.f62, r.agi);
        std::vector<std::string> marks;
        for (const std::string& line : listed(8)) {
            if (line.substr(1) == reminder) marks.push_back(line.substr(0, 1));
        }
        EXPECT_EQ(marks, r.marks) << r.agi;
    }
}

}  // namespace
