// The auditor's message layer: which classes each kind of audit reports, how
// texts are finished, list mode, the e-file block and the record of the
// first e-file failure.

#include "module/catalogues/Form183FieldIds.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;
using StateAuditMgmt::kClassEFile;
using StateAuditMgmt::kClassReview;

class MessageLayer : public ReviewTest {
protected:
    // Sends one message through the layer in a fresh report.
    std::vector<AuditEntry> send(bool eFileCheck, std::uint16_t mask, int cls, bool fires, char type,
                                 const std::string& text, int sentence = 0, std::uint16_t copy = 2) {
        auditor.setEFileCheckMode(eFileCheck ? 1 : 0);
        auditor.setMessageClassMask(mask);
        auditor.createNewReport(0);
        auditor.reportAuditMessage("", {}, true, cls, fires, type, kGAForm70ID, copy, FieldId(5), text, sentence);
        return auditor.getAuditReport()->entries();
    }
};

TEST_F(MessageLayer, EachKindOfAuditReportsItsClasses) {
    struct Row {
        bool eFileCheck;
        std::uint16_t mask;
        int cls;
        bool reported;
    };
    const Row rows[] = {
        {false, 0, 1, true},   {false, 0, 2, false}, {false, 0, 3, true},  {false, 0, 8, false},
        {false, 0, 16, false}, {true, 0, 1, false},  {true, 0, 2, true},   {true, 0, 3, true},
        {true, 0, 8, false},   {true, 0, 34, true},  {false, 8, 8, true},  {false, 8, 16, false},
        {false, 8, 3, false},  {true, 16, 16, true}, {true, 16, 2, false}, {false, 24, 16, true},
    };
    for (const Row& r : rows) {
        const auto entries = send(r.eFileCheck, r.mask, r.cls, true, 7, "Text");
        EXPECT_EQ(entries.size(), r.reported ? 1u : 0u)
            << "e-file " << r.eFileCheck << " mask " << r.mask << " class " << r.cls;
    }
}

TEST_F(MessageLayer, TextsGetOneFullStopAndTheirAddedSentenceWhereItApplies) {
    auto e = send(false, 0, 3, true, 7, "Check this");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].text, "Check this.");
    EXPECT_EQ(e[0].copy, 2);
    EXPECT_EQ(e[0].category, 1);
    EXPECT_FALSE(e[0].spare);
    EXPECT_EQ(send(false, 0, 3, true, 7, "Done.")[0].text, "Done.");
    EXPECT_EQ(send(false, 0, 3, true, 7, "")[0].text, "");
    EXPECT_EQ(send(false, 0, 3, true, 7, "X", 0, 0)[0].copy, 1);  // copy 0 reaches the host as copy 1

    // The state-only sentence in an e-file check only; the FAQ one in both.
    EXPECT_EQ(send(false, 0, 3, true, 7, "A", 1)[0].text, "A.");
    EXPECT_EQ(send(true, 0, 3, true, 7, "A", 1)[0].text.rfind("A.  This issue only affects your state return.", 0), 0u);
    EXPECT_EQ(send(false, 0, 3, true, 7, "A", 2)[0].text.rfind("A.  For instructions on how to make this change", 0),
              0u);
    EXPECT_EQ(send(true, 0, 3, true, 7, "A", 2)[0].text.rfind("A.  For instructions", 0), 0u);
    // List mode adds no sentence.
    EXPECT_EQ(send(true, 8, 8, true, 7, "A", 2)[0].second, "    - a.");
}

TEST_F(MessageLayer, ListModeBulletsLinesAndMarksThemWhenTheInterfaceMarksFindings) {
    const std::string text = "The quarterly totals from your W-2 withholding do not equal the total amount withheld.";
    auto e = send(false, 8, 8, true, 3, text);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].kind, AuditEntry::Kind::Line);
    EXPECT_EQ(e[0].second,
              "    - the quarterly totals from your W-2 withholding do not equal the total amount withheld.");
    EXPECT_EQ(e[0].form, FormId(0));
    EXPECT_EQ(auditor.getFiredCount(), 1);
    EXPECT_TRUE(send(false, 8, 8, false, 3, text).empty());  // not fired, not marked: dropped

    attachMarkingUserInterface();
    EXPECT_EQ(send(false, 8, 8, true, 3, "Abc")[0].second, "Y    - abc.");
    EXPECT_EQ(send(false, 8, 8, false, 3, "Abc")[0].second, "N    - abc.");
    EXPECT_EQ(auditor.getLastMessageClass(), 8);

    // Outside list mode each message is followed by its mark.
    e = send(false, 0, 1, false, 7, "Abc");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].kind, AuditEntry::Kind::Show);
    EXPECT_EQ(e[1].second, "--No--");
    EXPECT_EQ(send(true, 0, 2, true, 7, "Abc")[1].second, "--Yes--");
}

TEST_F(MessageLayer, OnlyAFiredBlockingTypeInAnEFileCheckBlocksTheReturn) {
    struct Row {
        bool eFileCheck;
        bool fires;
        char type;
        bool blocked;
    };
    const Row rows[] = {
        {true, true, 6, true},  {true, true, 4, true},   {true, true, 12, true},  {true, true, 7, false},
        {true, true, 2, false}, {true, false, 6, false}, {false, true, 6, false},
    };
    for (const Row& r : rows) {
        gaReturn()->eFileBlocked = 0;
        send(r.eFileCheck, 0, 3, r.fires, r.type, "Blocker");
        EXPECT_EQ(gaReturn()->eFileBlocked, r.blocked ? 1 : 0) << "type " << int(r.type) << " fires " << r.fires;
    }
    // A finding that does not fire goes straight to the host when the
    // interface marks findings: it never blocks, even of a blocking type.
    attachMarkingUserInterface();
    gaReturn()->eFileBlocked = 0;
    send(true, 0, 2, false, 6, "Blocker");
    EXPECT_EQ(gaReturn()->eFileBlocked, 0);
}

TEST_F(MessageLayer, TheFirstRecordedEFileFailureGoesToFederalForm183) {
    const auto& f183 = kForm183FieldIds;
    auto form183 = fedCopy(kForm183ID);
    setNumber(form183, f183.f28906, 1);
    const auto fail = [&](int cls, bool fires, const std::string& text) {
        auditor.setEFileCheckMode(0);  // recorded whether shown or not
        auditor.createNewReport(0);
        auditor.reportEFileFailure("", {}, false, cls, fires, 6, kGAForm69ID, 4, FieldId(0), text, 0);
        return auditor.getAuditReport()->entries();
    };
    fail(2, true, "Not recorded");  // no class bit 32
    fail(34, false, "Not fired");
    EXPECT_EQ(form183->getIN(f183.f28906), 1);

    DataMgmt::TaxDataMgr::getInstance().getEFileMgrHandle().setCurFileReturnType(1);
    fail(34, true, "Another return is being filed");
    EXPECT_EQ(form183->getIN(f183.f28906), 1);
    DataMgmt::TaxDataMgr::getInstance().getEFileMgrHandle().setCurFileReturnType(12);

    fail(34, true, "First reason");
    fail(34, true, "Second reason");
    EXPECT_EQ(form183->getIN(f183.f28906), 0);
    EXPECT_EQ(text(form183, f183.f28907), "First reason.");

    // Shown as copy 1 whatever copy the caller gives.
    auditor.setEFileCheckMode(1);
    auditor.createNewReport(0);
    auditor.reportEFileFailure("", {}, false, kClassEFile, true, 6, kGAForm69ID, 4, FieldId(0), "E", 0);
    EXPECT_EQ(auditor.getAuditReport()->entries().at(0).copy, 1);
}

}  // namespace
