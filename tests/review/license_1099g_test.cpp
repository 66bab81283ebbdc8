// The driver's licence or state ID checks, with "today" pinned by the host
// clock, and the e-file checks of the federal 1099-G copies.

#include <ctime>

#include "module/catalogues/Form165FieldIds.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "platform/util/Crt.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;

// The taxpayer's answers on form 69 and on federal form 92.
const LicenceLines& own = kForm69Lines.licence.taxpayer;
const LicenceLines& fed = kForm92Lines.licence.taxpayer;
const auto& f165 = kForm165FieldIds;

class LicenseAnd1099G : public ReviewTest {
protected:
    LicenseAnd1099G() {
        crt::setClock(std::time_t{1552651200});  // 15 March 2019, 12:00 UTC
    }
    ~LicenseAnd1099G() override { crt::resetClock(); }

    // Every call of the licence check, each line marked Y or N.
    std::vector<std::string> license() {
        attachMarkingUserInterface();
        auditor.setMessageClassMask(2);
        auditor.createNewReport(0);
        auditor.auditDriverLicense("", {}, false, kGAForm69ID, 2, kForm69Lines.licence);
        return texts(auditor.getAuditReport()->entries());
    }
    static std::vector<std::string> fired(const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (const std::string& l : lines) {
            if (l[0] == 'Y') out.push_back(l.substr(7));
        }
        return out;
    }
    // The fired messages of the 1099-G check, without the help sentence.
    std::vector<std::string> form1099G() {
        auditor.setEFileCheckMode(1);
        auditor.createNewReport(0);
        auditor.auditForm1099GEFile("", {}, false, true, 10, 0, 0, 1);
        std::vector<std::string> out;
        for (const std::string& t : texts(auditor.getAuditReport()->entries())) {
            out.push_back(t.substr(0, t.find(" To access this information")));
        }
        return out;
    }
};

TEST_F(LicenseAnd1099G, ElevenCallsAFilerTheSpouseOnAJointReturnOnly) {
    EXPECT_TRUE(license().empty());  // no information form
    auto info = gaCopy(kGAForm69ID);
    auto lines = license();
    EXPECT_EQ(lines.size(), 11u);
    const std::vector<std::string> optionOnly = {
        "select one of the options for your driver's license or state-issued ID."};
    EXPECT_EQ(fired(lines), optionOnly);

    setText(gaCopy(kGAForm70ID), kForm70Lines.heading.filingStatus, "B");
    lines = license();
    EXPECT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[19].substr(7), "select one of the options for your spouse's driver's license or state-issued ID.");

    // An ID box with every entry missing: the four missing entries, no
    // mismatch.
    setText(gaCopy(kGAForm70ID), kForm70Lines.heading.filingStatus, "C");
    setBox(info, own.firstIdBox);
    const std::vector<std::string> missing = {
        "your driver's license or state ID number.", "state your ID was issued in.", "issue date of your ID.",
        "enter the expiration date or tell us your driver's license or ID doesn't have one."};
    EXPECT_EQ(fired(license()), missing);
}

TEST_F(LicenseAnd1099G, DatesAgainstTodayAndTheFederalAnswers) {
    auto info = gaCopy(kGAForm69ID);
    auto fed92 = fedCopy(kForm92ID);
    setBox(info, own.secondIdBox);
    setText(info, own.number, "ab123");
    setText(fed92, fed.number, "AB123");  // letter case does not matter
    setText(info, own.issuingState, "ga");
    setText(fed92, fed.issuingState, "GA");
    struct Row {
        const char* issued;
        const char* expires;
        std::vector<std::string> fired;
    };
    const Row rows[] = {
        {"03/15/2019", "2019-03-15", {}},
        {"03/16/2019",
         "03/14/2019",
         {"the issue date of your ID must be on or before today's date.",
          "the expiration date of your ID must be on or after today's date."}},
    };
    for (const Row& r : rows) {
        setText(info, own.issueDate, r.issued);
        setText(info, own.expirationDate, r.expires);
        EXPECT_EQ(fired(license()), r.fired) << r.issued;
    }

    // The federal return says the licence does not expire: a mismatch even
    // without dates.
    info->setNull(own.expirationDate);
    setBox(info, own.noExpirationBox);
    setText(info, own.issueDate, "01/02/2015");
    setText(fed92, fed.issueDate, "2015-01-02");
    EXPECT_EQ(fired(license()),
              std::vector<std::string>{"the expiration date doesn't match the expiration date on your federal return. "
                                       "Please make sure your state entry is correct."});
}

TEST_F(LicenseAnd1099G, TenCountedCopiesPassElevenFail) {
    const std::string limit = "You have ";
    for (std::uint16_t c = 1; c <= 12; ++c) {
        auto g = fedCopy(kForm165ID, c);
        setNumber(g, f165.f16, c == 12 ? 0 : 100);  // the last copy withholds nothing: not counted
        for (const FieldId& f : {f165.f10, f165.f26, f165.f30, f165.f31, f165.f32, f165.f33, f165.f35, f165.f37,
                                 f165.f38, f165.f39, f165.f17}) {
            setText(g, f, "X1");
        }
        if (c == 10) {
            EXPECT_TRUE(form1099G().empty());
        }
    }
    const auto failed = form1099G();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0],
              "You have 11 copies of the federal 1099G which exceeds the amount allowed by Georgia for "
              "electronic filing. You will have to file your Georgia return by paper.");
}

TEST_F(LicenseAnd1099G, CopyEntriesOfA1099GWithGeorgiaWithholding) {
    auto g = fedCopy(kForm165ID);
    setNumber(g, f165.f16, 2500);
    setNumber(g, f165.f11, 300000);
    setText(g, f165.f26, "58 - 1234567");
    setText(g, f165.f5, "581234567");
    setNumber(g, f165.f18, -1);
    const auto failed = form1099G();
    ASSERT_EQ(failed.size(), 12u);  // nine entries, a negative amount, the EIN, the state name
    EXPECT_EQ(failed[0],
              "To electronically file your Georgia tax return complete the payer's name on federal form "
              "1099G.");
    EXPECT_EQ(failed[9],
              "To electronically file your Georgia tax return all entries on your federal form 1099G must "
              "be positive.");
    EXPECT_EQ(failed[10].rfind("The payer's employer identification number (EIN) cannot match", 0), 0u);

    // Withholding with no compensation needs the box; no withholding, no
    // entry checks.
    setNumber(g, f165.f11, 0);
    setText(g, f165.f17, "GA");
    g->setNull(f165.f18);
    setBox(g, f165.f20717);
    EXPECT_EQ(form1099G().back(),
              "You have entered state withholding on copy 1 of your form 1099-G without any unemployment "
              "compensation.");
    setNumber(g, f165.f16, 0);
    EXPECT_TRUE(form1099G().empty());
}

// A spouse's 1099-G (box 23) is left out of the e-file checks of a separate
// return and of no other: out of the count of copies (a separate return
// counts the taxpayer's, box 22, alone), its entries and its payer's
// identification number.
TEST_F(LicenseAnd1099G, ASpousesCopyIsLeftOutOfASeparateReturnOnly) {
    for (std::uint16_t c = 1; c <= 3; ++c) {
        auto g = fedCopy(kForm165ID, c);
        setNumber(g, f165.f16, 100);
        for (const FieldId& f : {f165.f10, f165.f26, f165.f30, f165.f31, f165.f32, f165.f33, f165.f35, f165.f37,
                                 f165.f38, f165.f39, f165.f17}) {
            setText(g, f, "X1");
        }
    }
    setBox(fedCopy(kForm165ID, 1), f165.f22);
    auto spouses = fedCopy(kForm165ID, 2);
    setBox(spouses, f165.f23);
    spouses->setNull(f165.f26);    // no payer's number
    setBox(spouses, f165.f20717);  // withholding without compensation
    const std::vector<std::string> spouseFindings = {
        "You have entered state withholding on copy 2 of your form 1099-G without any unemployment compensation.",
        "To electronically file your Georgia tax return complete the payer's ID on the federal form 1099G."};
    const struct {
        const char* status;
        int counted;
        bool spouseChecked;
    } rows[] = {{"A", 3, true}, {"B", 3, true}, {"C", 1, false}, {"D", 3, true}};
    for (const auto& r : rows) {
        setText(gaCopy(kGAForm70ID), kForm70Lines.heading.filingStatus, r.status);
        auditor.setEFileCheckMode(1);
        auditor.createNewReport(0);
        auditor.auditForm1099GEFile("", {}, false, true, 10, 0, 0, 1);
        auditor.auditForm1099GPayer("", {}, false, 16);
        const auto entries = auditor.getAuditReport()->entries();
        EXPECT_TRUE(find(entries, "You have " + std::to_string(r.counted) + " copies of the federal 1099G"))
            << r.status;
        std::vector<std::string> fired;
        for (const std::string& t : texts(entries)) {
            fired.push_back(t.substr(0, t.find(" To access this information")));
        }
        EXPECT_EQ(fired, r.spouseChecked ? spouseFindings : std::vector<std::string>{}) << r.status;
    }
}

}  // namespace
