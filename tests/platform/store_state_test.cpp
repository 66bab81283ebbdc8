// The state-return services: common federal items, dates, W-2 wages and
// state withholding, balance due, amount formatting and the mapping
// diagnostics.
#include <cstring>
#include <limits>

#include "tests/platform/store_fixture.h"

namespace storetest {
namespace {

using StateTest = StoreTest;

TEST_F(StateTest, CommonItemsAreSeededPerFederalFormAndType) {
    EXPECT_EQ(ga().pullCommon(kF1, 1, Utils::PCTypes{80}), 0);
    ga().setPullCommon(kF1, Utils::PCTypes{80}, 61234);
    ga().setPullCommon(kF1, Utils::PCTypes{86}, 1);
    EXPECT_EQ(ga().pullCommon(kF1, 1, Utils::PCTypes{80}), 61234);
    EXPECT_EQ(ga().pullCommon(kF1, 1, Utils::PCTypes{86}), 1);
    EXPECT_EQ(ga().pullCommon(kF52, 1, Utils::PCTypes{80}), 0);
    EXPECT_QUARLO_THROW(ga().pullCommon(kGA70, 1, Utils::PCTypes{80}), "federal forms");
    EXPECT_QUARLO_THROW(ga().setPullCommon(kGA70, Utils::PCTypes{80}, 1), "federal forms");
}

TEST_F(StateTest, DateParts) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(52), "04/15/2018");
    EXPECT_EQ(ga().dateParse(form, FieldID(52), Utils::kDateParseYear), 2018);
    EXPECT_EQ(ga().dateParse(form, FieldID(52), Utils::kDateParseMonth), 4);
    EXPECT_EQ(ga().dateParse(form, FieldID(52), Utils::kDateParseDay), 15);
    form->assignText(FieldID(52), "2017-12-31");
    EXPECT_EQ(ga().dateParse(form, FieldID(52), Utils::kDateParseYear), 2017);
    form->assignText(FieldID(52), "13/01/2018");
    EXPECT_EQ(ga().dateParse(form, FieldID(52), Utils::kDateParseMonth), 0);
    form->setNull(FieldID(52));
    EXPECT_EQ(ga().dateParse(form, FieldID(52), Utils::kDateParseDay), 0);

    DataMgmt::TaxFormPtr f92 = federal->getFormUVPtr(kF92, 1, true);  // federal copies too
    f92->assignText(FieldID(9), "07/04/1960");
    EXPECT_EQ(ga().dateParse(f92, FieldID(9), Utils::kDateParseYear), 1960);

    EXPECT_QUARLO_THROW(ga().dateParse(DataMgmt::TaxFormPtr(), FieldID(52), Utils::kDateParseYear),
                        "empty form handle");
}

TEST_F(StateTest, DayNumbersOfStoredDatesOrderTheDates) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(52), "12/31/2018");
    const auto y = ga().dateParse(form, FieldID(52), Utils::kDateParseYear);
    const auto m = ga().dateParse(form, FieldID(52), Utils::kDateParseMonth);
    const auto d = ga().dateParse(form, FieldID(52), Utils::kDateParseDay);
    EXPECT_EQ(Utils::dateToNumber(m, d, y) + 1, Utils::dateToNumber(1, 1, 2019));
}

class WageTest : public StoreTest {
protected:
    // A W-2 with up to two state lines (amounts in dollars; stored in hundredths).
    void addW2(double box1, const char* state1, double wages1, double tax1, double local1, const char* state2 = nullptr,
               double wages2 = 0, double tax2 = 0) {
        DataMgmt::TaxFormPtr w2 = federal->createForm(kF52);
        w2->assignIR(FieldID(21), box1 * 100);
        w2->assignText(FieldID(34), state1);
        w2->assignIR(FieldID(33), wages1 * 100);
        w2->assignIR(FieldID(32), tax1 * 100);
        w2->assignIR(FieldID(37), local1 * 100);
        if (state2 != nullptr) {
            w2->assignText(FieldID(99), state2);
            w2->assignIR(FieldID(98), wages2 * 100);
            w2->assignIR(FieldID(97), tax2 * 100);
        }
    }
};

TEST_F(WageTest, StateWagesAddTheLinesOfThisState) {
    addW2(50000, "GA", 40000, 1500.25, 10, "AL", 10000, 300);
    addW2(20000, "ga", 20000, 700, 0);
    addW2(5000, "FL", 5000, 0, 0);
    // Unemployment compensation is no wages, but its Georgia tax withheld counts.
    DataMgmt::TaxFormPtr g1099 = federal->createForm(kF165);
    g1099->assignText(FieldID(17), "GA");
    g1099->assignIR(FieldID(11), 4200 * 100);
    g1099->assignIR(FieldID(16), 210 * 100);
    // A line without a state code is no state's own, but wages all the same.
    federal->createForm(kF52)->assignIR(FieldID(98), 900 * 100);
    EXPECT_DOUBLE_EQ(ga().getStateWages('1'), 60000);
    EXPECT_DOUBLE_EQ(ga().getAllStateWages('1'), 75900);
    EXPECT_DOUBLE_EQ(ga().getStateTaxWithheld('1'), 2420.25);  // with the local tax
    EXPECT_DOUBLE_EQ(ga().getStateTaxWithheldNoLocal('1'), 2410.25);
}

TEST_F(WageTest, StoredHundredthsGiveTheExactCents) {
    DataMgmt::TaxFormPtr w2 = federal->createForm(kF52);
    w2->assignText(FieldID(34), "GA");
    w2->assignIR(FieldID(32), 7);  // 7 cents withheld
    EXPECT_EQ(ga().getStateTaxWithheld('1'), 0.07);
}

TEST_F(WageTest, SeededTotalsReplaceTheSums) {
    addW2(50000, "GA", 40000, 1500, 0);
    ga().setStateWages(123.0);
    ga().setStateTaxWithheld(4.5);
    EXPECT_DOUBLE_EQ(ga().getStateWages('2'), 123.0);
    EXPECT_DOUBLE_EQ(ga().getStateTaxWithheld('2'), 4.5);
    EXPECT_DOUBLE_EQ(ga().getAllStateWages('2'), 40000);
    ga().setStateWages(std::nullopt);
    EXPECT_DOUBLE_EQ(ga().getStateWages('2'), 40000);
}

TEST_F(WageTest, W2TotalsGoToTheTaxpayerUnlessSplit) {
    addW2(50000, "GA", 0, 0, 0);
    addW2(20000.50, "GA", 0, 0, 0);
    double taxpayer = -1;
    double spouse = -1;
    ga().getFromW2(kF52, FieldID(21), Primitives::kNullFieldID, false, taxpayer, spouse);
    EXPECT_DOUBLE_EQ(taxpayer, 70000.50);
    EXPECT_DOUBLE_EQ(spouse, 0);
    ga().setFromW2(kF52, FieldID(21), 30000, 40000.5);
    ga().getFromW2(kF52, FieldID(21), Primitives::kNullFieldID, false, taxpayer, spouse);
    EXPECT_DOUBLE_EQ(taxpayer, 30000);
    EXPECT_DOUBLE_EQ(spouse, 40000.5);
}

TEST_F(StateTest, BalanceDueDefaultsToTheMainForm) {
    EXPECT_EQ(ga().taxBalance(), 0);
    ga70()->assignIR(FieldID(106), 250.4);
    EXPECT_EQ(ga().taxBalance(), 250);
    ga().setTaxBalance(-75);
    EXPECT_EQ(ga().taxBalance(), -75);
}

TEST_F(StateTest, OtherSeededAnswers) {
    EXPECT_FALSE(ga().InElf());
    EXPECT_EQ(ga().getEnabledType(), 1);
    EXPECT_EQ(ga().eFileBlocked, 0);
    ga().setInElf(true);
    ga().setEnabledType(3);
    EXPECT_TRUE(ga().InElf());
    EXPECT_EQ(ga().getEnabledType(), 3);

    char code[4];
    std::memset(code, '#', sizeof code);
    ga().getRefundCode(code, sizeof code);
    EXPECT_STREQ(code, "");
    ga().setRefundCode("RAL123");
    ga().getRefundCode(code, sizeof code);
    EXPECT_STREQ(code, "RAL");
    EXPECT_EQ(ga().isIntWks3Needed(), TopicMgmt::kTopicStatusNotNeeded);
}

TEST_F(StateTest, AmountsAsTheFieldShowsThem) {
    EXPECT_EQ(ga().formatFieldString(1234, kGA70, 1, FieldID(84)), "1,234");
    EXPECT_EQ(ga().formatFieldString(-1234567, kGA70, 1, FieldID(84)), "-1,234,567");
    EXPECT_EQ(ga().formatFieldString(999, kGA70, 1, FieldID(84)), "999");
    EXPECT_EQ(ga().formatFieldString(0, kGA70, 1, FieldID(84)), "0");
    EXPECT_EQ(ga().formatFieldString(std::numeric_limits<std::int64_t>::min(), kGA70, 1, FieldID(84)),
              "-9,223,372,036,854,775,808");
    char buf[5];
    ga().formatFieldString(buf, sizeof buf, 123456, kGA70, 1, FieldID(84));
    EXPECT_STREQ(buf, "123,");
}

TEST_F(StateTest, TextOfFederalAndStateFields) {
    federal->getFormUVPtr(kF52, 1, true)->assignIR(FieldID(33), 150075);
    EXPECT_EQ(ga().textString(kF52, 1, FieldID(33)), "1500.75");
    char buf[5];
    ga().textString(buf, sizeof buf, kF52, 1, FieldID(33));
    EXPECT_STREQ(buf, "1500");
}

TEST_F(StateTest, MappingDiagnosticsAreRecorded) {
    ga().debugStateField(kF92, FieldID(25), StateDataMgmt::kDebugNoFieldRow, 187);
    ga().debugStateField(kF1, FieldID(), StateDataMgmt::kDebugNoFormMatch, 302);
    ASSERT_EQ(ga().debugStateFieldCalls().size(), 2u);
    const StateDataMgmt::DebugStateFieldCall& first = ga().debugStateFieldCalls()[0];
    EXPECT_EQ(first.form, kF92);
    EXPECT_EQ(first.field, FieldID(25));
    EXPECT_EQ(first.kind, StateDataMgmt::kDebugNoFieldRow);
    EXPECT_EQ(first.place, 187u);
    ga().clearDebugStateFieldCalls();
    EXPECT_TRUE(ga().debugStateFieldCalls().empty());

    FormID form = kGA70;
    std::uint16_t outCopy = 0;
    FieldID outField;
    ga().MapFormField(form, 3, FieldID(44), outCopy, outField);
    EXPECT_EQ(outCopy, 3);
    EXPECT_EQ(outField, FieldID(44));
    EXPECT_EQ(ga().getFederalReturn(), federal.get());
}

}  // namespace
}  // namespace storetest
