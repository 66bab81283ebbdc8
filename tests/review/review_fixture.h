// The Georgia auditor on a federal and a Georgia return built on the
// generated form definitions, with an auditor that records the return-level
// checks it is asked for and exposes the message layer, and helpers that run
// an audit in a chosen mode and read what it reported.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/GATaxReturn.h"
#include "module/review/GATaxFormAuditor.h"
#include "platform/Configuration.h"
#include "platform/store/TaxDataMgr.h"
#include "tests/support/FieldSetters.h"
#include "tests/support/GeneratedDefinitions.h"

namespace reviewtest {

using AuditMgmt::AuditEntry;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

using testsupport::definitions;

// The Georgia return with a state number that a test may change.
class NumberedGATaxReturn : public GADataMgmt::GATaxReturn {
public:
    using GATaxReturn::GATaxReturn;
    std::int32_t getStateNumber() override { return stateNumber ? *stateNumber : GATaxReturn::getStateNumber(); }
    std::optional<std::int32_t> stateNumber;
};

class TestAuditor : public GAAuditMgmt::GATaxFormAuditor {
public:
    using GATaxFormAuditor::gaReturn;
    using GATaxFormAuditor::GATaxFormAuditor;
    using StateTaxFormAuditor::routeAuditMessage;
    using Message = StateTaxFormAuditor::Message;

    // The copies the walk hands to the per-copy check.
    std::vector<std::pair<FormId, std::uint16_t>> walked;
    // The return-level checks asked for, by name, in order.
    std::vector<std::string> checks;
    int residencyNumber = -1;
    // When set, the number of copies that may be e-filed.
    std::optional<std::uint16_t> copyLimit;

    void auditStateForms(const std::string& help, Primitives::QVImmutableTopicIdentifier topic, bool flag,
                         const FormId& form, DataMgmt::TaxFormPtr handle, std::uint16_t copy) override {
        walked.emplace_back(form, copy);
        GATaxFormAuditor::auditStateForms(help, topic, flag, form, handle, copy);
    }
    std::uint16_t maxEFileCopies(const FormId& form) override {
        return copyLimit ? *copyLimit : GATaxFormAuditor::maxEFileCopies(form);
    }

#define REVIEWTEST_RECORD(name, params, args) \
    void name params override {               \
        checks.push_back(#name);              \
        GATaxFormAuditor::name args;          \
    }
    REVIEWTEST_RECORD(auditResidencyAddress,
                      (const std::string& h, TopicID t, bool s, const FormId& f, const FieldId& a, const FieldId& b,
                       const FieldId& c),
                      (h, t, s, f, a, b, c))
    REVIEWTEST_RECORD(auditDirectDeposit,
                      (const std::string& h, TopicID t, bool s, const FormId& f, int c, bool r, FieldId a, FieldId b,
                       FieldId d, FieldId e, FieldId g, FieldId i, FieldId j, FieldId k, FieldId l, FieldId m),
                      (h, t, s, f, c, r, a, b, d, e, g, i, j, k, l, m))
    REVIEWTEST_RECORD(auditForm1099GPayer, (const std::string& h, TopicID t, bool s, std::uint16_t c), (h, t, s, c))
    REVIEWTEST_RECORD(auditCareOf, (const std::string& h, TopicID t, bool s, int m), (h, t, s, m))
    REVIEWTEST_RECORD(checkBalanceDuePayment, (int c), (c))
    REVIEWTEST_RECORD(auditDriverLicense,
                      (const std::string& h, TopicID t, bool s, const FormId& f, int c, const FilerLicenceLines& l),
                      (h, t, s, f, c, l))
    REVIEWTEST_RECORD(auditForm1099GEFile,
                      (const std::string& h, TopicID t, bool s, bool o, int a, int b, int c, int d),
                      (h, t, s, o, a, b, c, d))
    REVIEWTEST_RECORD(auditStateWageData,
                      (const std::string& h, TopicID t, bool s, const FormId& f, std::uint16_t m, bool r),
                      (h, t, s, f, m, r))
#undef REVIEWTEST_RECORD
    void auditMissingStateInfo(int residency) override {
        checks.push_back("auditMissingStateInfo");
        residencyNumber = residency;
        GATaxFormAuditor::auditMissingStateInfo(residency);
    }
};

class ReviewTest : public ::testing::Test, protected testsupport::FieldSetters {
protected:
    ReviewTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(definitions().federal, pool)),
          ga(new NumberedGATaxReturn(federal, definitions().georgia, pool)),
          printer(new GATaxFormPrintMgmt::GATaxFormPrinter(gaReturn())),
          auditor(federal.get(), *ga, DataMgmt::QuarloConfiguration::getInstance(),
                  CalculationMgmt::TaxReturnCalcEnginePtr(), printer) {
        DataMgmt::TaxDataMgr::getInstance().reset();
        DataMgmt::resetKindMismatchCount();
    }
    ~ReviewTest() override { DataMgmt::TaxDataMgr::getInstance().reset(); }
    // Every box the review reads is one a return file can mark.
    void TearDown() override { EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch(); }

    NumberedGATaxReturn* gaReturn() { return static_cast<NumberedGATaxReturn*>(ga.get()); }
    DataMgmt::TaxFormPtr gaCopy(const FormId& form, std::uint16_t copy = 1) {
        return ga->getFormUVPtr(form, copy, true);
    }
    DataMgmt::TaxFormPtr fedCopy(const FormId& form, std::uint16_t copy = 1) {
        return federal->getFormUVPtr(form, copy, true);
    }

    // Runs the whole audit: e-file check (mode 1) or ordinary, with a class
    // mask (list mode when not 0).
    std::vector<AuditEntry> audit(bool eFileCheck = false, std::uint16_t mask = 0) {
        auditor.setEFileCheckMode(eFileCheck ? 1 : 0);
        auditor.setMessageClassMask(mask);
        return auditor.auditReturn(0)->entries();
    }
    // Audits one copy through the per-copy check, in a new report.
    std::vector<AuditEntry> auditCopy(const FormId& form, std::uint16_t copy = 1, bool eFileCheck = false,
                                      std::uint16_t mask = 0) {
        auditor.setEFileCheckMode(eFileCheck ? 1 : 0);
        auditor.setMessageClassMask(mask);
        auditor.createNewReport(0);
        auditor.auditStateForms(AuditMgmt::kNoAuditHelpID, {}, false, form, gaCopy(form, copy), copy);
        return auditor.getAuditReport()->entries();
    }
    // A user interface that marks every finding: list mode then records
    // each check with Y or N.
    void attachMarkingUserInterface() {
        ui.setMarksFindings(true);
        DataMgmt::TaxDataMgr::getInstance().setUserInterface(&ui);
    }

    static std::vector<std::string> texts(const std::vector<AuditEntry>& entries, bool firedOnly = true) {
        std::vector<std::string> out;
        for (const AuditEntry& e : entries) {
            if (e.kind == AuditEntry::Kind::Line) {
                out.push_back(e.second);
            } else if (e.fires || !firedOnly) {
                out.push_back(e.text);
            }
        }
        return out;
    }
    // The first entry whose text holds the given words, if any.
    static std::optional<AuditEntry> find(const std::vector<AuditEntry>& entries, const std::string& words) {
        for (const AuditEntry& e : entries) {
            const std::string& t = e.kind == AuditEntry::Kind::Line ? e.second : e.text;
            if (t.find(words) != std::string::npos) {
                return e;
            }
        }
        return std::nullopt;
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr ga;
    TaxFormPrintMgmt::TaxFormPrinterPtr printer;
    TestAuditor auditor;
    UIBridgeMgmt::UserInterface ui;
};

}  // namespace reviewtest
