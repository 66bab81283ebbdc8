// The e-file check of the W-2, W-2G, 1099-R and 1099-G state data and of
// the name suffixes, as the Georgia return asks for it.

#include "module/catalogues/Form165FieldIds.h"
#include "module/catalogues/Form52FieldIds.h"
#include "module/catalogues/Form54FieldIds.h"
#include "module/catalogues/Form84FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;

const auto& w2 = kForm52FieldIds;

class WageData : public ReviewTest {
protected:
    std::vector<AuditEntry> check() {
        auditor.setEFileCheckMode(1);
        auditor.createNewReport(0);
        auditor.auditStateWageData("", {}, false, kGAForm69ID, 0x4B1, false);
        return auditor.getAuditReport()->entries();
    }
    std::vector<std::string> findings() { return texts(check()); }
};

TEST_F(WageData, SuffixesFromTheListInAnyCaseTheSpouseOnJointOrSeparateReturns) {
    auto fed92 = fedCopy(kForm92ID);
    setText(fed92, kForm92FieldIds.f6, "ESQ");
    struct Row {
        const char* suffix;
        int federalStatus;
        std::size_t findings;
    };
    const Row rows[] = {{"jr", 1, 0}, {"Jr.", 1, 1}, {"ESQ", 1, 1}, {"iii", 2, 1}, {"iii", 3, 1}, {"iii", 4, 0}};
    for (const Row& r : rows) {
        setText(fed92, kForm92FieldIds.f5, r.suffix);
        federal->setFilingStatusNumber(static_cast<std::int8_t>(r.federalStatus));
        EXPECT_EQ(findings().size(), r.findings) << r.suffix << " status " << r.federalStatus;
    }
    setText(fed92, kForm92FieldIds.f5, "ESQ");
    const auto e = check();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].text.rfind("Taxpayer suffix must only be one of the following: JR, SR, II, III, IV, V, VI. To "
                              "e-file your Georgia return, you will need to go back to the federal interview and "
                              "remove your suffix.  For instructions",
                              0),
              0u);
    EXPECT_EQ(e[0].type, 6);
}

TEST_F(WageData, EmployerStateIdAskedOnEveryW2LineWithholdingAgainstWages) {
    auto copy = fedCopy(kForm52ID, 2);
    setText(copy, w2.f34, "ga");
    setNumber(copy, w2.f33, 150000);
    setNumber(copy, w2.f32, 150000);  // withheld equal to wages
    setText(copy, w2.f99, "AL");
    setNumber(copy, w2.f97, 10);
    const auto e = check();
    std::size_t idCalls = 0;
    for (const AuditEntry& x : e) {
        if (x.text.find("Employer State Tax ID #") != std::string::npos) ++idCalls;
    }
    EXPECT_EQ(idCalls, 4u);  // every line of the copy, fired or not
    const auto fired = texts(e);
    ASSERT_EQ(fired.size(), 3u);
    EXPECT_EQ(fired[0].rfind("The \"Employer State Tax ID #\" is missing from Box 15 on copy 2 of your Form W-2.", 0),
              0u);
    EXPECT_EQ(fired[1].rfind("Your state tax withholding amount (1500.00) in box 17 equals or exceeds your state "
                             "wage amount (1500.00) on copy 2 in box 16 of your form (W-2). If this is correct",
                             0),
              0u);
    // Another state's line (0.10 withheld, no wages) counts as well.
    EXPECT_NE(fired[2].find("(0.10) in box 17 equals or exceeds your state wage amount (0.00)"), std::string::npos);

    setText(copy, w2.f8, "GA-1");
    setNumber(copy, w2.f33, 150001);  // wages one cent above
    copy->setNull(w2.f97);
    EXPECT_TRUE(findings().empty());
    copy->setNull(w2.f33);
    copy->setNull(w2.f32);  // both 0: nothing
    EXPECT_TRUE(findings().empty());
    // Georgia wages without Georgia tax withheld need no employer state ID.
    copy->setNull(w2.f8);
    setNumber(copy, w2.f33, 150000);
    EXPECT_TRUE(findings().empty());
}

TEST_F(WageData, GamblingAndRetirementLinesWithoutAState1099GNothing) {
    auto w2g = fedCopy(kForm54ID);
    setNumber(w2g, kForm54FieldIds.f25, 5000);
    setNumber(w2g, kForm54FieldIds.f12, 4000);
    auto r = fedCopy(kForm84ID, 3);
    setNumber(r, kForm84FieldIds.f171, 1000);
    auto g = fedCopy(kForm165ID);
    setNumber(g, kForm165FieldIds.f16, 5000);
    setNumber(g, kForm165FieldIds.f11, 100);
    const auto fired = findings();
    ASSERT_EQ(fired.size(), 3u);
    EXPECT_EQ(fired[0].rfind("You have entered state taxes withheld, but did not enter a state name on copy 1 of your "
                             "form (W-2G). If this is correct",
                             0),
              0u);
    EXPECT_EQ(fired[1].rfind("Your first state withholding amount (50.00) equals or exceeds your winnings amount "
                             "(40.00) on copy 1 of your form (W-2G).",
                             0),
              0u);
    EXPECT_EQ(fired[2].rfind("You have entered state distribution, but did not enter the state name on the second "
                             "line on copy 3 of your form (1099-R).",
                             0),
              0u);
}

TEST_F(WageData, BoxOneWagesBelowOneDollarWhereAStateAsksForThem) {
    auto copy = fedCopy(kForm52ID, 3);
    const auto box1 = [&](double wages) {
        setNumber(copy, w2.f21, wages);
        auditor.setEFileCheckMode(1);
        auditor.createNewReport(0);
        auditor.auditStateWageData("", {}, false, kGAForm69ID, 0x1000, false);
        return texts(auditor.getAuditReport()->entries());
    };
    EXPECT_TRUE(box1(1).empty());  // box 1 holds whole dollars: one dollar passes
    EXPECT_TRUE(box1(50).empty());
    const auto fired = box1(0.99);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].rfind("Georgia does not allow electronic filing if the amount of federal wages in box 1 of "
                             "your Form W-2 is less than $1. See federal Form W-2, copy 3.To e-file",
                             0),
              0u);
}

}  // namespace
