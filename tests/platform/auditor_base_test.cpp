#include <gtest/gtest.h>

#include "platform/TaxDataMgr.h"
#include "platform/TaxFormAuditor.h"
#include "tests/platform/store_fixture.h"

namespace {

using namespace storetest;

class RecordingAuditor : public AuditMgmt::TaxFormAuditor {
public:
    using TaxFormAuditor::TaxFormAuditor;
    AuditMgmt::AuditReportPtr auditReturn(AuditMgmt::AuditType type) override {
        createNewReport(type);
        return getAuditReport();
    }
};

TEST(TaxFormAuditor, ReportShowsFiredMessagesAndEveryLineWithoutCountingHandles) {
    DataMgmt::TaxReturn ga(georgiaDesc(), Utils::StringPoolPtr());
    DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();
    CalculationMgmt::TaxReturnCalcEnginePtr engine;
    RecordingAuditor auditor(ga, cfg, engine);
    EXPECT_EQ(engine.useCount(), 1);

    const AuditMgmt::AuditReportPtr first = auditor.auditReturn(3);
    auditor.showAuditMsg("", {}, false, true, 6, 1, kGA70, 1, FieldID(5), "100% of %s");
    auditor.showAuditMsg("", {}, false, false, 7, 1, kGA70, 1, FieldID(5), nullptr);
    auditor.epFailMsg("", {}, false, true, 11, 0, kGA70, 1, FieldID(1), "limit");
    auditor.addMessageToReport("", {}, false, 0, FormID(), 1, FieldID(), "", "--No--", true);

    const auto shown = first->shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "100% of %s");  // never a format
    EXPECT_EQ(shown[1].kind, AuditMgmt::AuditEntry::Kind::EpFail);
    EXPECT_EQ(shown[2].second, "--No--");
    EXPECT_EQ(first->entries()[1].text, "");
    EXPECT_EQ(first->getAuditType(), 3);

    // A new audit starts an empty report; the old one stays with its holder.
    auditor.auditReturn(4);
    EXPECT_TRUE(auditor.getAuditReport()->entries().empty());
    EXPECT_EQ(first->entries().size(), 4u);
}

TEST(TaxDataMgr, OneObjectWithSettableAnswersAndDefaults) {
    auto& mgr = DataMgmt::TaxDataMgrHandle::getInstance();
    EXPECT_EQ(&mgr, &DataMgmt::TaxDataMgr::getInstance());
    UIBridgeMgmt::UserInterface ui;
    ui.setMarksFindings(true);
    mgr.setUserInterface(&ui);
    mgr.getEFileMgrHandle().setCurFileReturnType(1);
    mgr.getEFileMgrHandle().setStateResEfileType(12, 3);
    EXPECT_TRUE(mgr.getUserInterface()->marksFindings());
    EXPECT_EQ(ui.marksFindingsCalls(), 1);
    EXPECT_EQ(mgr.getEFileMgrHandle().getStateResEfileType(12), 3);
    EXPECT_EQ(mgr.getEFileMgrHandle().getStateResEfileType(1), 0);

    mgr.reset();
    EXPECT_EQ(mgr.getUserInterface(), nullptr);
    EXPECT_EQ(mgr.getEFileMgrHandle().getCurFileReturnType(), 12);
    EXPECT_EQ(mgr.getEFileMgrHandle().getStateResEfileType(12), 0);
}

}  // namespace
