// The checks of the Georgia schedules, credit forms and individual credit
// worksheets, at their limits.

#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm189219FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190059FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/GAForm203811FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm71FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;

// The calls of a check that carry the field, fired or not.
std::vector<AuditEntry> on(const std::vector<AuditEntry>& entries, const FieldId& field) {
    std::vector<AuditEntry> out;
    for (const AuditEntry& e : entries) {
        if (e.field == field) out.push_back(e);
    }
    return out;
}

// Whether the one call on the field fired.
bool firesOn(const std::vector<AuditEntry>& entries, const FieldId& field) {
    const auto calls = on(entries, field);
    EXPECT_EQ(calls.size(), 1u) << "field " << field.getNumber();
    return !calls.empty() && calls[0].fires;
}

TEST_F(ReviewTest, WithholdingQuartersAgainstTheTotal) {
    const auto& f71 = kGAForm71ID;
    const auto& q = kGAForm71FieldIds;
    auto copy = gaCopy(f71);
    setNumber(copy, q.f21, 1000);
    for (const auto& [sum, fires] : {std::pair{1000, false}, {900, true}, {1100, false}}) {
        setNumber(copy, q.f24, sum);
        EXPECT_EQ(firesOn(auditCopy(f71), q.f24), fires) << sum;
    }
    setText(copy, q.f75, "");  // no date of the first quarter
    EXPECT_FALSE(firesOn(auditCopy(f71), q.f75));
    setNumber(copy, q.f70, 250);
    EXPECT_TRUE(firesOn(auditCopy(f71), q.f75));
    // A federal form numbered 71 gets none of this.
    auditor.createNewReport(0);
    auditor.auditStateForms("", {}, false, kForm71ID, copy, 1);
    EXPECT_TRUE(auditor.getAuditReport()->entries().empty());
}

TEST_F(ReviewTest, AmendedReturnChecksOnlyWhenAmendingRemindersAlways) {
    const auto& a = kGAForm189219FieldIds;
    auto copy = gaCopy(kGAForm189219ID);
    attachMarkingUserInterface();
    EXPECT_TRUE(auditCopy(kGAForm189219ID).empty());
    EXPECT_EQ(auditCopy(kGAForm189219ID, 1, false, 8).size(), 3u);  // the reminders, not fired
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f108);
    setNumber(copy, a.f189643, 10);
    const auto e = auditCopy(kGAForm189219ID);
    ASSERT_EQ(e.size(), 6u);  // three checks, each followed by its mark
    EXPECT_FALSE(e[0].fires);
    EXPECT_FALSE(e[2].fires);
    EXPECT_TRUE(e[4].fires);
    EXPECT_EQ(e[4].text, "Explanation of changes on the amendment.");
}

TEST_F(ReviewTest, AdjustmentLimitsAndTheSpouseDisability) {
    const auto& j = kGAForm189215FieldIds;
    auto copy = gaCopy(kGAForm189215ID);
    struct Row {
        FieldId field;
        double value;
        bool fires;
    };
    const Row rows[] = {
        {j.f189396, 100000, false}, {j.f189396, 100001, true}, {j.f189399, 10000, false}, {j.f189399, 10001, true}};
    for (const Row& r : rows) {
        setNumber(copy, r.field, r.value);
        EXPECT_EQ(firesOn(auditCopy(kGAForm189215ID), r.field), r.fires) << r.value;
    }
    setBox(copy, j.f189231);
    for (const auto& [status, fires] : {std::pair{2, true}, {3, false}}) {
        federal->setFilingStatusNumber(static_cast<std::int8_t>(status));
        const auto e = auditCopy(kGAForm189215ID);
        EXPECT_EQ(firesOn(e, j.f189336), fires);
        EXPECT_EQ(firesOn(e, j.f189337), fires);
    }
}

TEST_F(ReviewTest, StateCodesOfTheNonresidentSchedule) {
    const auto& p = kGAForm189217FieldIds;
    auto first = gaCopy(kGAForm189217ID);
    gaCopy(kGAForm189217ID, 2);
    const std::vector<std::pair<const char*, bool>> codes = {{"gA", true}, {"ny", false}, {"NY ", true}};
    for (const auto& [code, fires] : codes) {
        setText(first, p.f189477, code);
        const auto calls = on(auditCopy(kGAForm189217ID, 2), p.f189477);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].fires, fires) << code;
        EXPECT_EQ(calls[0].copy, 1);  // copy 1 whichever copy is audited
    }
    EXPECT_FALSE(firesOn(auditCopy(kGAForm189217ID), p.f189478));  // empty
}

TEST_F(ReviewTest, OtherStateColumnsAndBusinessCreditTexts) {
    const auto& o = kGAForm73FieldIds;
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f110);
    auto copy = gaCopy(kGAForm73ID);
    for (double both : {0.0, 10.0}) {
        setNumber(copy, o.f7, both);
        setNumber(copy, o.f16, both);
        const auto e = auditCopy(kGAForm73ID);
        EXPECT_FALSE(firesOn(e, o.f16));
        EXPECT_FALSE(firesOn(e, o.f7));
    }
    setNumber(copy, o.f16, 0);
    EXPECT_TRUE(firesOn(auditCopy(kGAForm73ID), o.f16));

    // Class 2: seen in the e-file check; the percent sign is text.
    const auto& b = kGAForm203811FieldIds;
    gaCopy(kGAForm203811ID);
    const auto credit = on(auditCopy(kGAForm203811ID, 1, true), b.f203845);
    ASSERT_EQ(credit.size(), 1u);
    EXPECT_EQ(credit[0].text, "% OF CREDIT.");
    EXPECT_TRUE(auditCopy(kGAForm203811ID, 1, false).empty());
}

TEST_F(ReviewTest, FamilyMemberAgeOrDisabilityForIndCr204) {
    const auto& c = kGAForm190057FieldIds;
    auto copy = gaCopy(kGAForm190057ID);
    EXPECT_EQ(auditCopy(kGAForm190057ID).size(), 1u);  // no credit: the expenses test alone
    setNumber(copy, c.f190191, 500);
    setNumber(copy, c.f190186, 800);
    for (const auto& [age, fires] : {std::pair{62, false}, {61, true}}) {
        setNumber(copy, c.f190177, age);
        EXPECT_EQ(firesOn(auditCopy(kGAForm190057ID), c.f190177), fires) << age;
    }
    setText(copy, c.f190178, "01/01/2010");
    EXPECT_FALSE(firesOn(auditCopy(kGAForm190057ID), c.f190177));
    EXPECT_EQ(auditCopy(kGAForm190057ID).size(), 6u);  // no second member
}

TEST_F(ReviewTest, DisasterAndPracticeWorksheetReminders) {
    attachMarkingUserInterface();
    auto disaster = gaCopy(kGAForm190059ID);
    setNumber(disaster, kGAForm190059FieldIds.f190218, 300);
    std::vector<std::string> fired;
    for (const std::string& line : texts(auditCopy(kGAForm190059ID, 1, false, 8))) {
        if (line[0] == 'Y') fired.push_back(line.substr(7));
    }
    const std::vector<std::string> expected = {
        "attach a copy of the disaster assistance agency approval letter to your Georgia return.",
        "attach the Georgia Form IND-CR 206 to your Georgia return."};
    EXPECT_EQ(fired, expected);

    auto practice = gaCopy(kGAForm190060ID);
    setText(practice, kGAForm190060FieldIds.f190221, "Fulton");
    EXPECT_TRUE(auditCopy(kGAForm190060ID, 1, false, 8).empty());  // no credit: not even the reminder
    setNumber(practice, kGAForm190060FieldIds.f190232, 1000);
    EXPECT_EQ(texts(auditCopy(kGAForm190060ID, 1, false, 8)),
              std::vector<std::string>{"Y    - attach the Georgia Form IND-CR 207 to your Georgia return."});
}

}  // namespace
