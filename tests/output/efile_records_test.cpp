// The Georgia e-file records: authentication and return headers, 1099-G,
// 8453, retirement exclusion, schedule 2 and IND-CR.
#include <algorithm>

#include "module/catalogues/Form131FieldIds.h"
#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form72Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/GeorgiaForms.h"
#include "platform/Managers.h"
#include "platform/util/Crt.h"
#include "tests/output/efile_fixture.h"

namespace efiletest {
namespace {

const auto& f69 = kGAForm69FieldIds;
const auto& f72 = kGAForm72FieldIds;
const auto& f92 = kForm92FieldIds;
const auto& address = kForm92Lines.address;
const auto& form69 = kForm69Lines;
const auto& form72 = kForm72Lines;
const auto& form165 = kForm165Lines;

class RecordsTest : public EFileTest {
protected:
    void TearDown() override {
        crt::resetClock();
        SystemMgmt::SystemMgr::getInstance().reset();
        EFileTest::TearDown();
    }
    void setStatus(const char* letter) { setText(gaCopy(kGAForm70ID), kGAForm70FieldIds.f44, letter); }
    // Whether any line (empty or not) was asked for under a key of the range.
    bool anyCallBetween(const std::string& low, const std::string& high) const {
        const auto all = calls();
        return std::any_of(all.begin(), all.end(), [&](const std::string& c) {
            const std::string key = c.substr(0, c.find('='));
            return key >= low && key <= high;
        });
    }
};

// ---- authentication header

TEST_F(RecordsTest, AuthHeaderTellsHowTheRefundIsPaid) {
    crt::setClock(static_cast<std::time_t>(1555333509));  // 2019-04-15 13:05:09 UTC
    setText(gaCopy(kGAForm69ID), f69.f79, "061000104");
    setText(gaCopy(kGAForm69ID), f69.f80, "1234AB56");  // as the reader stores an account number
    struct Row {
        double refund;
        bool deposit;
        std::vector<std::string> first;
    };
    const Row rows[] = {
        {0, true, {"00009.000.001=0", "00005.000.001=I"}},
        {-5, false, {"00009.000.001=0", "00005.000.001=I"}},
        {50, false, {"00009.000.001=3", "00005.000.001=I"}},
        {50,
         true,
         {"00006.000.001=061000104", "00007.000.001=1234AB56", "00008.000.001=2019-04-15T13:05:09Z", "00011.000.001=2",
          "00005.000.001=I"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.refund);
        setNumber(gaCopy(kGAForm72ID), f72.f20, row.refund);
        setBox(gaCopy(kGAForm69ID), f69.f77, row.deposit);
        writer->clearCallLog();
        writer->writeAuthHeaderRecord();
        const auto all = calls();
        ASSERT_GT(all.size(), row.first.size());
        EXPECT_EQ(std::vector<std::string>(all.begin() + 1, all.begin() + 1 + row.first.size()), row.first);
    }
}

TEST_F(RecordsTest, AuthHeaderIdentityDocuments) {
    const auto info = gaCopy(kGAForm69ID);
    setBox(info, f69.f193214);  // taxpayer: first kind, issued in Minnesota, no expiration
    setText(info, f69.f193209, "D123");
    setText(info, f69.f193210, "MN");
    setText(info, f69.f193211, "07/23/2016");
    setBox(info, f69.f193222);  // spouse: first kind, issued in Georgia, expiring
    setText(info, f69.f193218, "GA");
    setText(info, f69.f193219, "07/23/2016");
    setText(info, f69.f193220, "07/23/2024");
    setText(fedCopy(kForm131ID), kForm131FieldIds.f181908, "000452");
    setText(fedCopy(kForm131ID), kForm131FieldIds.f189012, "0000");
    SystemMgmt::SystemMgr::getInstance().setIRSDeviceID("DEV1");
    setNumber(fedCopy(kForm92ID), kForm92Lines.authentication.line00120, 45037.020000000004);
    setStatus("B");
    writer->writeAuthHeaderRecord();
    EXPECT_EQ(written("00120.000.001"), "45037.02");  // an amount leaves at most to the cent
    EXPECT_EQ(written("00035.000.001"), "D123");
    EXPECT_EQ(written("00050.000.001"), "2016-07-01");
    EXPECT_EQ(written("00046.000.001"), "Non-Expiring");
    EXPECT_FALSE(written("00045.000.001"));
    EXPECT_EQ(written("00070.000.001"), "2016-07-23");
    EXPECT_EQ(written("00065.000.001"), "2024-07-23");  // every date of the e-file in one form
    EXPECT_FALSE(written("00064.000.001"));
    EXPECT_EQ(written("00145.000.001"), "452");
    EXPECT_EQ(written("00146.000.001"), "0000");
    EXPECT_EQ(written("00115.000.001"), "DEV1");
    EXPECT_EQ(written("00200.000.001"), "0");

    // Not filing jointly: no spouse line at all, whatever the form holds.
    setStatus("C");
    writer->clearCallLog();
    writer->writeAuthHeaderRecord();
    EXPECT_FALSE(anyCallBetween("00053.000.001", "00072.000.001"));
    // Neither kind nor the third option marked for the taxpayer.
    gaCopy(kGAForm69ID)->setValue(f69.f193214, DataMgmt::FieldValue());
    writer->clearCallLog();
    writer->writeAuthHeaderRecord();
    EXPECT_EQ(written("00034.000.001"), "X");
    EXPECT_FALSE(anyCallBetween("00035.000.001", "00052.000.001"));
}

// The federal answers and texts that the two headers read can be entered as
// such: a return file refuses "X", "NO" or a name in an amount field.
TEST_F(RecordsTest, HeadersReadAnswersAndTextsOfTheirKinds) {
    const std::tuple<FormId, FieldId, bool> rows[] = {{kForm92ID, f92.f537, true},
                                                      {kForm92ID, f92.f1076, true},
                                                      {kForm183ID, kForm183FieldIds.f202, true},
                                                      {kForm92ID, address.foreignProvince, false},
                                                      {kForm131ID, kForm131FieldIds.f181908, false},
                                                      {kForm131ID, kForm131FieldIds.f189012, false}};
    for (const auto& [form, field, box] : rows) {
        const auto desc = federal->getTaxFormDescriptor(form)->getFieldDesc(field);
        EXPECT_TRUE(box ? desc->isBoolean() : desc->isText()) << field.getNumber();
    }
}

// Without form 69 the record is still written, without its lines.
TEST_F(RecordsTest, AuthHeaderWithoutTheInformationForm) {
    writer->writeAuthHeaderRecord();
    EXPECT_EQ(calls().front(), "D GAGAAUTHDR 1");
    EXPECT_EQ(written("00034.000.001"), "X");
}

// ---- return header

TEST_F(RecordsTest, ReturnHeaderSpouseLinesByFilingStatus) {
    const std::vector<std::string> jointOnly = {"00420.000.001", "00595.000.001", "00600.000.001"};
    for (const auto& [letter, joint, separate] : std::vector<std::tuple<const char*, bool, bool>>{
             {"A", false, false}, {"B", true, false}, {"C", false, true}, {"D", false, false}}) {
        SCOPED_TRACE(letter);
        setStatus(letter);
        writer->clearCallLog();
        writer->writeReturnHeaderRecord();
        for (const std::string& key : jointOnly) EXPECT_EQ(anyCallBetween(key, key), joint) << key;
        EXPECT_EQ(anyCallBetween("00680.000.001", "00680.000.001"), separate);
        EXPECT_EQ(anyCallBetween("00520.000.001", "00545.000.001"), joint || separate);
    }
}

TEST_F(RecordsTest, ReturnHeaderStreetAndApartment) {
    const auto f92Copy = fedCopy(kForm92ID);
    setText(f92Copy, address.street, "12 Pecan Rd");
    setText(f92Copy, address.apartment, "Apt 4");
    writer->writeReturnHeaderRecord();
    EXPECT_EQ(written("00625.000.001"), "12 Pecan Rd");
    EXPECT_EQ(written("00630.000.001"), "Apt 4");
    setText(f92Copy, address.apartment, "");
    writer->clearCallLog();
    writer->writeReturnHeaderRecord();
    EXPECT_FALSE(anyCallBetween("00630.000.001", "00630.000.001"));
    setText(f92Copy, address.apartment, "Apt 4");
    setBox(f92Copy, address.abroad);
    writer->clearCallLog();
    writer->writeReturnHeaderRecord();
    EXPECT_EQ(written("00650.001.001"), "12 Pecan Rd Apt 4");
    EXPECT_FALSE(anyCallBetween("00625.000.001", "00635.000.001"));
}

// ---- 1099-G

TEST_F(RecordsTest, Form1099GCopiesWithGeorgiaAmounts) {
    struct Copy {
        const char* code;
        double withheld;
        const char* secondCode;
        double secondWithheld;
    };
    // Written: copies 2 (either case of "GA"), 3 and 4 (the second row only).
    const Copy copies[] = {
        {"AL", 10, "", 0}, {"ga", 10, "", 0}, {"GA", 5, "", 0}, {"AL", 0, "GA", 7}, {"GA", 0, "", 0}};
    for (std::uint16_t c = 1; c <= 5; ++c) {
        const auto copy = fedCopy(kForm165ID, c);
        const Copy& row = copies[c - 1];
        setText(copy, form165.stateRows[0].state, row.code);
        setNumber(copy, form165.stateRows[0].withheld, row.withheld);
        setText(copy, form165.stateRows[1].state, row.secondCode);
        setNumber(copy, form165.stateRows[1].withheld, row.secondWithheld);
    }
    const auto second = fedCopy(kForm165ID, 2);
    setText(second, form165.recipientName[0], "Georgia");
    setText(second, form165.recipientName[2], "Labor");
    setText(second, form165.recipientName[3], "Dept");
    setText(fedCopy(kForm165ID, 3), form165.recipientName[1], "Nameless");
    writer->write1099GRecords();
    std::vector<std::string> heads;
    for (const std::string& c : calls()) {
        if (c.rfind("D ", 0) == 0) heads.push_back(c);
    }
    EXPECT_EQ(heads, (std::vector<std::string>{"D GAGA1099G 1", "D GAGA1099G 2", "D GAGA1099G 3"}));
    EXPECT_EQ(written("00105.000.001"), "Georgia Labor Dept");
    const auto all = calls();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const std::string& c) { return c.rfind("00105.", 0) == 0; }), 1);
    EXPECT_EQ(
        std::count_if(all.begin(), all.end(), [](const std::string& c) { return c.rfind("00225.000.002", 0) == 0; }),
        3);
}

// ---- 8453

TEST_F(RecordsTest, Form8453PaymentGroups) {
    struct Row {
        double refund, owed;
        bool deposit, withdrawal;
        const char* group;
    };
    const Row rows[] = {{100, 0, true, false, "1"},
                        {100, 0, false, true, nullptr},
                        {0, 50, false, true, "2"},
                        {0, 50, true, false, nullptr}};
    for (const Row& row : rows) {
        setNumber(gaCopy(kGAForm72ID), form72.refund, row.refund);
        setNumber(gaCopy(kGAForm72ID), form72.amountOwed, row.owed);
        setBox(gaCopy(kGAForm69ID), form69.options.directDeposit, row.deposit);
        setBox(gaCopy(kGAForm69ID), form69.withdrawal.yes, row.withdrawal);
        writer->clearCallLog();
        writer->write8453Record();
        EXPECT_EQ(calls()[1].substr(0, 14), "00240.000.001=");
        if (row.group == nullptr) {
            EXPECT_EQ(calls().size(), 2u);
        } else {
            EXPECT_EQ(written("00024.000.001"), row.group);
        }
    }
}

// ---- retirement exclusion

TEST_F(RecordsTest, RetirementRecordForEachFilerWithAnExclusion) {
    const auto& s = kGAForm189215FieldIds;
    const auto& lines = kForm189215Lines;
    const auto schedule = gaCopy(kGAForm189215ID);
    setNumber(schedule, lines.spouseRetirement.exclusion, 4000);  // the spouse only
    setNumber(schedule, s.f189296, 12000);
    setNumber(schedule, s.f189295, 9000);
    writer->writeRetirementIncomeRecord();
    EXPECT_EQ(calls().front(), "D GAGARETINC 1");
    EXPECT_FALSE(anyCallBetween("00010.000.001", "00160.000.001"));
    EXPECT_EQ(written("00170.000.001"), "12000");
    EXPECT_EQ(written("00320.000.001"), "0");                  // the spouse's 189326 is zero
    setNumber(schedule, lines.spouseRetirement.exclusion, 0);  // now the taxpayer only
    setNumber(schedule, lines.taxpayerRetirement.exclusion, 4000);
    writer->clearCallLog();
    writer->writeRetirementIncomeRecord();
    EXPECT_EQ(written("00010.000.001"), "9000");
    EXPECT_FALSE(written("00020.000.001"));
    for (const char* key :
         {"00030.000.001", "00040.000.001", "00130.000.001", "00140.000.001", "00150.000.001", "00160.000.001"}) {
        EXPECT_EQ(written(key), "0") << key;
    }
    EXPECT_FALSE(anyCallBetween("00170.000.001", "00320.000.001"));
}

// ---- schedule 2

TEST_F(RecordsTest, Schedule2RecordsByCopyAndRowsWithoutGaps) {
    const auto& s = kGAForm189216FieldIds;
    for (std::uint16_t c : {1, 2, 3}) gaCopy(kGAForm189216ID, c);
    for (std::uint16_t c : {1, 3}) setNumber(gaCopy(kGAForm189216ID, c), s.f189823, 100);
    const auto first = gaCopy(kGAForm189216ID, 1);
    setNumber(first, s.f189812, 60);  // rows 1 and 3; row 2 at zero
    setNumber(first, s.f189809, 5000);
    setText(first, s.f189811, "12-3456789");
    setNumber(first, s.f189822, 40);
    setText(first, s.f189821, "123-45-6789");
    setNumber(first, s.f189817, -1);
    writer->writeSchedule2Record();
    const auto all = calls();
    EXPECT_NE(std::find(all.begin(), all.end(), "D GAGASCH2 1"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "D GAGASCH2 3"), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), "D GAGASCH2 2"), all.end());
    EXPECT_EQ(written("00030.000.001"), "050.00");
    // The key follows the number as written; the e-file writes its digits.
    EXPECT_EQ(written("00035.000.001"), "123456789");
    EXPECT_EQ(written("00037.000.002"), "123456789");
    EXPECT_EQ(written("00040.000.002"), "40");
    EXPECT_TRUE(std::none_of(all.begin(), all.end(), [](const std::string& c) { return c.find(".000.003=") == 9; }));
}

// ---- IND-CR

TEST_F(RecordsTest, IndividualCreditsOnlyTheCalculatedWorksheets) {
    writer->writeIndividualCreditsRecord();
    EXPECT_TRUE(calls().empty());  // no worksheet takes part
    gaCopy(kGAForm190054ID);       // present but not calculated
    const auto worksheet = gaCopy(kGAForm190060ID);
    worksheet->setCalculatedFlag(true);
    setText(worksheet, kGAForm190060FieldIds.f190221, "Clarke");
    setNumber(worksheet, kGAForm190060FieldIds.f190231, -20);
    writer->writeIndividualCreditsRecord();
    const auto all = calls();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "D GAGAINDCR 1");
    EXPECT_EQ(all[1], "00245.000.001=Taxpayer");
    EXPECT_EQ(written("00273.000.001"), "0");
    EXPECT_FALSE(anyCallBetween("00245.000.002", "00245.000.002"));
    EXPECT_TRUE(anyCallBetween("00250.000.002", "00250.000.002"));
    EXPECT_FALSE(anyCallBetween("00040.000.001", "00230.000.001"));
    EXPECT_FALSE(anyCallBetween("00300.000.001", "00390.000.001"));
    EXPECT_EQ(all.back(), "00500.000.001=0");  // the summary closes the record
}

// Every worksheet of the table's IND-CR rows has its section in the
// record: calculated alone, it writes lines of its own between the record's
// head and the summary's ten lines.
TEST_F(RecordsTest, EachIndividualCreditWorksheetWritesItsSection) {
    int worksheets = 0;
    for (const GAForms::GeorgiaForm& row : GAForms::kGeorgiaForms) {
        if (!row.individualCredit) continue;
        ++worksheets;
        for (const GAForms::GeorgiaForm& other : GAForms::kGeorgiaForms) {
            if (other.individualCredit) gaCopy(other.form)->setCalculatedFlag(other.form == row.form);
        }
        writer->clearCallLog();
        writer->writeIndividualCreditsRecord();
        const auto all = calls();
        ASSERT_FALSE(all.empty()) << row.form.getNumber();
        EXPECT_EQ(all.front(), "D GAGAINDCR 1");
        EXPECT_GT(all.size(), 1u + 10u) << "no section of form " << row.form.getNumber();
    }
    EXPECT_EQ(worksheets, 9);
}

}  // namespace
}  // namespace efiletest
