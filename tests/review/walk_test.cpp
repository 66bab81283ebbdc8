// The audit walk and the checks every state form shares: the Form 2555
// block, the e-file copy limit, overridden and tentative fields, and the
// refusal of arguments of the wrong class.

#include "module/catalogues/GAForm70FieldIds.h"
#include "platform/Exceptions.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;

TEST_F(ReviewTest, EveryCopyOfEveryFormReachesTheDispatchInFormOrder) {
    gaCopy(kGAForm70ID);
    gaCopy(kGAForm71ID);
    gaCopy(kGAForm189218ID, 1);
    gaCopy(kGAForm189218ID, 3);
    gaCopy(kGAForm69ID);
    fedCopy(kForm1ID);  // the federal return is not walked
    audit();
    const std::vector<std::pair<FormId, std::uint16_t>> expected = {
        {kGAForm69ID, 1}, {kGAForm70ID, 1}, {kGAForm71ID, 1}, {kGAForm189218ID, 1}, {kGAForm189218ID, 3}};
    EXPECT_EQ(auditor.walked, expected);
}

TEST_F(ReviewTest, AForm2555BlocksStatesOfTheTableAndUnknownStateNumbers) {
    gaCopy(kGAForm69ID);
    struct Row {
        bool form2555;
        std::optional<std::int32_t> state;
        bool blocks;
    };
    const Row rows[] = {{false, std::nullopt, false},
                        {true, std::nullopt, true},
                        {true, 1, false},
                        {true, 2, true},
                        {true, 37, false},
                        {true, 0, true},
                        {true, 38, true}};
    for (const Row& r : rows) {
        federal->setForm2555Present(r.form2555);
        gaReturn()->stateNumber = r.state;
        EXPECT_EQ(auditor.stateBlocksForm2555EFile(), r.blocks) << r.state.value_or(11);
    }
    // Georgia (state 11) with a Form 2555: an e-file blocker on form 69.
    gaReturn()->stateNumber.reset();
    federal->setForm2555Present(true);
    const auto entries = auditCopy(kGAForm69ID, 1, true);
    const auto blocker = find(entries, "You cannot electronically file your Georgia return because");
    ASSERT_TRUE(blocker);
    EXPECT_TRUE(blocker->fires);
    EXPECT_EQ(blocker->type, 6);
    EXPECT_EQ(blocker->form, kGAForm69ID);
    EXPECT_EQ(gaReturn()->eFileBlocked, 1);
    EXPECT_FALSE(find(auditCopy(kGAForm69ID, 1, false), "Form 2555"));  // e-file only
}

TEST_F(ReviewTest, CopyLimitTextsWhenMoreCopiesThanMayBeEFiled) {
    gaReturn()->setInElf(true);
    for (std::uint16_t c = 1; c <= 3; ++c) gaCopy(kGAForm73ID, c);
    const std::string name = ga->formName(kGAForm73ID);
    struct Row {
        std::optional<std::uint16_t> limit;
        std::string text;
        char type;
    };
    const Row rows[] = {
        {std::nullopt, "", 0},  // Georgia: every copy may be e-filed
        {3, "", 0},
        {0, name + " may not be filed electronically.", 12},
        {1, "Only 1 copy of " + name + "  may be filed electronically.", 11},
        {2, "Only 2 copies of " + name + " may be filed electronically.", 11},
    };
    for (const Row& r : rows) {
        auditor.copyLimit = r.limit;
        std::vector<AuditEntry> limits;
        for (std::uint16_t c = 1; c <= 3; ++c) {
            for (const AuditEntry& e : auditCopy(kGAForm73ID, c, true)) {
                if (e.kind == AuditEntry::Kind::EpFail) limits.push_back(e);
            }
        }
        if (r.text.empty()) {
            EXPECT_TRUE(limits.empty());
            continue;
        }
        ASSERT_EQ(limits.size(), 1u);  // asked on copy 1 only
        EXPECT_EQ(limits[0].text, r.text);
        EXPECT_EQ(limits[0].type, r.type);
        EXPECT_EQ(limits[0].copy, 1);
        EXPECT_EQ(limits[0].field, FieldId(1));
    }
    // While being e-filed every copy gets the host's override check.
    EXPECT_EQ(auditor.getAuditReport()->overrideChecks().size(), 1u);
    EXPECT_EQ(auditor.getAuditReport()->overrideChecks()[0].secondForm, kForm92ID);
}

TEST_F(ReviewTest, OverriddenThenTentativeFieldsAreReportedWithTheirQuotedValue) {
    const auto& f70 = kGAForm70FieldIds;
    auto main = gaCopy(kGAForm70ID);
    setText(main, f70.f190494, "12-%s%n");
    main->setOverridden(f70.f190494, true);
    setNumber(main, f70.f84, 1500);
    main->setTentative(f70.f84, true);
    main->setOverridden(f70.f62, true);

    std::vector<AuditEntry> flagged;
    for (const AuditEntry& e : auditCopy(kGAForm70ID)) {
        if (e.type == 1 || e.type == 2) flagged.push_back(e);
    }
    ASSERT_EQ(flagged.size(), 3u);
    EXPECT_EQ(flagged[0].field, f70.f62);  // form order within each pass
    EXPECT_EQ(flagged[0].text, "\"\"");
    EXPECT_EQ(flagged[1].text, "\"12-%s%n\"");
    EXPECT_EQ(flagged[2].type, 2);
    EXPECT_EQ(flagged[2].text, "\"1500\"");

    // Not in list mode, nor while the return is being e-filed.
    for (const AuditEntry& e : auditCopy(kGAForm70ID, 1, false, 8)) EXPECT_EQ(e.kind, AuditEntry::Kind::Line);
    gaReturn()->setInElf(true);
    for (const AuditEntry& e : auditCopy(kGAForm70ID)) EXPECT_TRUE(e.type != 1 && e.type != 2);
}

TEST_F(ReviewTest, ArgumentsOfTheWrongClassAreRefusedAtConstruction) {
    DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();
    CalculationMgmt::TaxReturnCalcEnginePtr engine;
    EXPECT_THROW(GAAuditMgmt::GATaxFormAuditor(federal.get(), *federal, cfg, engine, printer),
                 Exceptions::QuarloException);
    EXPECT_THROW(GAAuditMgmt::GATaxFormAuditor(nullptr, *ga, cfg, engine, printer), Exceptions::QuarloException);
    TaxFormPrintMgmt::TaxFormPrinterPtr plainPrinter(new TaxFormPrintMgmt::TaxFormPrinter(*ga));
    EXPECT_THROW(GAAuditMgmt::GATaxFormAuditor(federal.get(), *ga, cfg, engine, plainPrinter),
                 Exceptions::QuarloException);
    EXPECT_EQ(printer.useCount(), 1);  // no auditor keeps a handle
}

}  // namespace
