// The return-level checks: residency address, direct deposit, 1099-G payer,
// care-of address, balance-due payment, missing state information and the
// forms not accepted yet.

#include "module/catalogues/Form165FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "platform/Exceptions.h"
#include "tests/review/review_fixture.h"

namespace {

using namespace reviewtest;

const auto& f69 = kGAForm69FieldIds;
const auto& f165 = kForm165FieldIds;

class ReturnLevel : public ReviewTest {
protected:
    ReturnLevel() : info(gaCopy(kGAForm69ID)) {}
    // Runs one check in a new report and gives the texts it reported, fired
    // or not.
    template <class Check>
    std::vector<AuditEntry> run(bool eFileCheck, Check check) {
        auditor.setEFileCheckMode(eFileCheck ? 1 : 0);
        auditor.setMessageClassMask(0);
        auditor.createNewReport(0);
        check();
        return auditor.getAuditReport()->entries();
    }
    std::vector<std::string> directDeposit(bool refund) {
        return texts(run(true, [&] {
            auditor.auditDirectDeposit("", {}, false, kGAForm69ID, 2, refund, f69.f77, f69.f78, FieldId(0), f69.f79,
                                       f69.f80, f69.f81, f69.f82, FieldId(0), FieldId(0), FieldId(0));
        }));
    }
    DataMgmt::TaxFormPtr info;
};

TEST_F(ReturnLevel, ResidencyAddressAgainstTheResidencyBoxes) {
    const auto residency = [&] {
        return texts(
            run(false, [&] { auditor.auditResidencyAddress("", {}, false, kGAForm69ID, f69.f36, f69.f37, f69.f34); }));
    };
    setBox(info, f69.f36);
    setText(info, f69.f34, "ga");  // compared case by case
    auto fired = residency();
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(
        fired[0].rfind("Your mailing address appears to be inconsistent with your full-year resident status. To "
                       "file as a full-year resident, you must have lived in Georgia for the entire year in 2018. "
                       "If this inconsistency is due to a move in 2019, you can disregard",
                       0),
        0u);
    setText(info, f69.f34, "GA");
    EXPECT_TRUE(residency().empty());
    setBox(info, f69.f36, false);
    setBox(info, f69.f37);
    fired = residency();
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].substr(fired[0].size() - 23), "make sure it's correct.");

    ga->deleteForm(kGAForm69ID, 1);  // no information form: nothing to compare
    EXPECT_TRUE(run(false, [&] {
                    auditor.auditResidencyAddress("", {}, false, kGAForm69ID, f69.f36, f69.f37, f69.f34);
                }).empty());
}

TEST_F(ReturnLevel, DirectDepositNeedsItsAccountDataOnlyForARefund) {
    setBox(info, f69.f77);
    setText(info, f69.f79, "061000104");
    setText(info, f69.f80, "12-345-67");
    setBox(info, f69.f81);
    EXPECT_TRUE(directDeposit(false).empty());
    EXPECT_TRUE(directDeposit(true).empty());  // hyphens are allowed

    for (const char* account : {"12 345", "12/345", "12.345"}) {
        setText(info, f69.f80, account);
        const auto fired = directDeposit(true);
        ASSERT_EQ(fired.size(), 1u) << account;
        EXPECT_EQ(fired[0].rfind("Account numbers may only contain letters, numbers and dashes (-).", 0), 0u);
    }
    EXPECT_TRUE(directDeposit(false).empty());  // a zero refund silences every check

    setText(info, f69.f80, "12345");
    setBox(info, f69.f82);
    setBox(info, f69.f78);
    auto fired = directDeposit(true);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0],
              "Type of account must either be checking or savings. Both boxes cannot be checked. Since you "
              "have elected to carry the information from your federal return, you must close the state "
              "program and make the change in the federal program.");
    info->setNull(f69.f79);
    EXPECT_EQ(directDeposit(true)[0].rfind("routing transit number must be filled in. Since", 0), 0u);
}

// A null field identifier switches off each check that would use it (the
// carry-from-federal box is null throughout): calls made, fired or not.
TEST_F(ReturnLevel, ANullFieldSwitchesOffTheDirectDepositChecksThatUseIt) {
    setBox(info, f69.f77);  // deposit wanted, nothing else entered
    const FieldId none(0);
    const struct {
        const char* name;
        FieldId deposit, routing, account, checking, savings;
        std::size_t calls;
    } rows[] = {
        {"none null", f69.f77, f69.f79, f69.f80, f69.f81, f69.f82, 5},
        {"routing", f69.f77, none, f69.f80, f69.f81, f69.f82, 4},
        {"account", f69.f77, f69.f79, none, f69.f81, f69.f82, 3},
        {"checking", f69.f77, f69.f79, f69.f80, none, f69.f82, 3},
        {"savings", f69.f77, f69.f79, f69.f80, f69.f81, none, 3},
        {"deposit box", none, f69.f79, f69.f80, f69.f81, f69.f82, 0},
    };
    for (const auto& r : rows) {
        const auto calls = run(true, [&] {
            auditor.auditDirectDeposit("", {}, false, kGAForm69ID, 2, true, r.deposit, none, none, r.routing, r.account,
                                       r.checking, r.savings, none, none, none);
        });
        EXPECT_EQ(calls.size(), r.calls) << r.name;
    }
}

TEST_F(ReturnLevel, PayerIdOncePerForm1099GWithGeorgiaWithholding) {
    for (std::uint16_t c = 1; c <= 3; ++c) {
        auto g = fedCopy(kForm165ID, c);
        setNumber(g, f165.f16, c == 2 ? 0 : 5000);  // copy 2 withholds nothing
    }
    setText(fedCopy(kForm165ID, 3), f165.f26, "58-0000001");
    const auto entries = run(true, [&] { auditor.auditForm1099GPayer("", {}, false, 16); });
    ASSERT_EQ(entries.size(), 3u);  // one call per copy
    EXPECT_EQ(texts(entries).size(), 1u);
    EXPECT_EQ(entries[0].text.rfind("To electronically file your Georgia tax return complete the payer's ID on the "
                                    "federal form 1099G. To access this information, close Proofwalk,",
                                    0),
              0u);
    EXPECT_EQ(entries[0].form, FormId(0));
}

TEST_F(ReturnLevel, CareOfAddressByModeAndFiling) {
    setText(fedCopy(kForm92ID), kForm92FieldIds.f736, "C/O 100% %s Trust");
    const auto careOf = [&](bool eFileCheck, int mode) {
        return run(eFileCheck, [&] { auditor.auditCareOf("", {}, false, mode); });
    };
    auto e = careOf(false, 3);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_NE(e[0].text.find("You must hand write \"C/O 100% %s Trust\" on your paper return"), std::string::npos);
    EXPECT_NE(e[0].text.find("How can I go back to an Interview topic?"), std::string::npos);

    gaReturn()->setInElf(true);
    EXPECT_TRUE(careOf(false, 3).empty());  // an e-file blocker now
    e = careOf(true, 3);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].text,
              "\"Our Georgia program\" does not allow returns with a \"Care Of\" address to be filed "
              "electronically. To e-file your Georgia return, you will need to go back to the federal "
              "interview and remove your \"Care Of\" address.  For instructions on how to make this change, "
              "click the FAQ \"How can I go back to an Interview topic?\"");
    EXPECT_EQ(e[0].form, kGAForm69ID);
    EXPECT_EQ(gaReturn()->eFileBlocked, 1);
    EXPECT_EQ(careOf(true, 1)[0].text.rfind("\"Georgia\" does not allow", 0), 0u);
    try {
        careOf(true, 4);
        ADD_FAILURE() << "mode 4 was accepted";
    } catch (const Exceptions::QuarloException& x) {
        EXPECT_EQ(x.getMessage(), "Unexpected case");
        EXPECT_EQ(x.getClassName(), "StateAuditMgmt");
        EXPECT_EQ(x.getOperationName(), "auditCareOf");
    }
}

TEST_F(ReturnLevel, BalanceDuePaymentNoteInListModeWithItsPaymentForm) {
    gaReturn()->setInElf(true);
    gaReturn()->setTaxBalance(45);
    const auto note = [&] {
        auditor.setMessageClassMask(8);
        auditor.createNewReport(0);
        auditor.checkBalanceDuePayment(2);
        return texts(auditor.getAuditReport()->entries());
    };
    EXPECT_TRUE(note().empty());  // no payment voucher
    gaCopy(kGAForm77ID);
    const std::vector<std::string> expected = {"    - your payment must be submitted with your " +
                                               ga->formName(kGAForm77ID) + "."};
    EXPECT_EQ(note(), expected);
    gaReturn()->setTaxBalance(0);
    EXPECT_TRUE(note().empty());
}

TEST_F(ReturnLevel, MissingStateInformationByResidencyAndEFileKind) {
    auto& eFile = DataMgmt::TaxDataMgr::getInstance().getEFileMgrHandle();
    const auto fires = [&](int residency) {
        const auto e = run(true, [&] { auditor.auditMissingStateInfo(residency); });
        return !texts(e).empty();
    };
    eFile.setStateResEfileType(12, 2);
    EXPECT_TRUE(fires(3));
    EXPECT_FALSE(fires(1));  // a full-year resident never
    eFile.setStateResEfileType(12, 1);
    EXPECT_TRUE(fires(2));
    EXPECT_FALSE(fires(3));
    eFile.setStateResEfileType(12, 3);
    setText(fedCopy(kForm92ID), kForm92FieldIds.f679, "ga");  // the federal return names the state
    EXPECT_FALSE(fires(3));
}

TEST_F(ReturnLevel, FormsNotAcceptedYetAreNamedFromThePrintList) {
    auto main = gaCopy(kGAForm70ID);
    main->setCalculatedFlag(true);
    gaCopy(kGAForm71ID)->setCalculatedFlag(true);
    info->setCalculatedFlag(true);  // printed, but listed after the list's end
    const FormId list[] = {kGAForm71ID, kGAForm70ID, FormId(0, true), kGAForm69ID};
    auditor.createNewReport(0);
    auditor.setEFileCheckMode(1);
    auditor.auditNonFinalForms(list);
    const auto fired = texts(auditor.getAuditReport()->entries());
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_NE(fired[0].find("Draft forms in your return include: "), std::string::npos);
    EXPECT_NE(fired[0].find(ga->formName(kGAForm70ID)), std::string::npos);
    EXPECT_NE(fired[0].find(", "), std::string::npos);
    EXPECT_EQ(fired[0].find(ga->formName(kGAForm69ID)), std::string::npos);
}

}  // namespace
