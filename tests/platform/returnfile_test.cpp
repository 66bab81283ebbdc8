// The return file: amounts and times as text, and reading a return file
// into the store.
#include "platform/returnfile/ReturnFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <random>
#include <string>

#include "tests/platform/returnfile_fixture.h"

namespace {

using namespace returnfiletest;

// ------------------------------------------------------------ amounts as text

TEST(ReturnFileAmounts, ParseShiftsTheDecimalPointOnTheDigits) {
    double v = 0;
    ASSERT_TRUE(PersistanceMgmt::parseAmount("12.34", 2, v));
    EXPECT_EQ(v, 1234.0);
    ASSERT_TRUE(PersistanceMgmt::parseAmount(" -0.5 ", 2, v));
    EXPECT_EQ(v, -50.0);
    ASSERT_TRUE(PersistanceMgmt::parseAmount("45,000.00", 2, v));
    EXPECT_EQ(v, 4500000.0);
    ASSERT_TRUE(PersistanceMgmt::parseAmount("1,234,567", 0, v));
    EXPECT_EQ(v, 1234567.0);
    ASSERT_TRUE(PersistanceMgmt::parseAmount(".5", 0, v));
    EXPECT_EQ(v, 0.5);
    ASSERT_TRUE(PersistanceMgmt::parseAmount("+7", 1, v));
    EXPECT_EQ(v, 70.0);
    ASSERT_TRUE(PersistanceMgmt::parseAmount("0.125", 2, v));
    EXPECT_EQ(v, 12.5);
}

TEST(ReturnFileAmounts, ParseRefusesWhatIsNotAPlainDecimal) {
    double v = 99;
    for (const char* bad : {"", " ", "abc", "12a", "1e5", ".", "-", "--1", "1.2.3", "1,00", ",100", "1,0000", "12,34.5",
                            "$12", "0x10", "inf", "nan", "1 000"}) {
        EXPECT_FALSE(PersistanceMgmt::parseAmount(bad, 2, v)) << '"' << bad << '"';
    }
    EXPECT_EQ(v, 99);
}

TEST(ReturnFileAmounts, EveryFormattedAmountReadsBackExactly) {
    std::mt19937_64 gen(2018);
    std::uniform_real_distribution<double> wide(-1e9, 1e9);
    std::uniform_int_distribution<long> cents(-100000000, 100000000);
    for (int places = 0; places <= 6; ++places) {
        for (int i = 0; i < 2000; ++i) {
            const double v = i % 2 == 0 ? wide(gen) : static_cast<double>(cents(gen)) / (i % 3 + 1);
            const std::string text = DataMgmt::formatDisplayAmount(v, places);
            double back = 0;
            ASSERT_TRUE(PersistanceMgmt::parseAmount(text, places, back)) << text;
            ASSERT_EQ(back, v) << "places " << places << " text " << text;
        }
    }
    for (double v : {0.1 + 0.2, 1e-7, -1e-300, 5e-324, 1.7976931348623157e308}) {
        double back = 0;
        ASSERT_TRUE(PersistanceMgmt::parseAmount(DataMgmt::formatDisplayAmount(v, 2), 2, back));
        EXPECT_EQ(back, v);
    }
}

TEST(ReturnFileClock, UtcTimesReadAndWrite) {
    std::time_t t = 0;
    ASSERT_TRUE(ReturnFile::parseUtcTime("2019-04-01T12:30:05Z", t));
    EXPECT_EQ(ReturnFile::formatUtcTime(t), "2019-04-01T12:30:05Z");
    ASSERT_TRUE(ReturnFile::parseUtcTime("2016-02-29", t));
    EXPECT_EQ(ReturnFile::formatUtcTime(t), "2016-02-29T00:00:00Z");
    ASSERT_TRUE(ReturnFile::parseUtcTime("2019-04-01T12:30:05", t));
    for (const char* bad : {"", "2019-02-29", "2019-13-01", "2019-04-01T24:00:00Z", "2019-4-1", "2019-04-01 12:00:00",
                            "2019-04-01T12:00:00+01:00", "1969-12-31", "2019-04-01T12:00"}) {
        EXPECT_FALSE(ReturnFile::parseUtcTime(bad, t)) << bad;
    }
}

// ------------------------------------------------------------ loading

// A return file of both returns with every kind of entry: fields by number,
// by short name and by symbolic name, a box marked and one not, an empty
// value, an override, a copy of its own number, the seeds of both returns
// and data-entered marks. Two amounts are written with the binary noise
// of a sum, which an earlier version wrote: each reads as its cent.
const char* const kEveryKindOfEntry = R"(<?xml version="1.0" encoding="UTF-8"?>
<RETURNFILE TAXYEAR="2018">
  <HOST><CLOCK>2019-03-15T12:00:00Z</CLOCK><RANDSEED>42</RANDSEED></HOST>
  <RETURN TYPE="federal">
    <RETURNNAME>doe</RETURNNAME>
    <HOST>
      <FILINGSTATUS>2</FILINGSTATUS>
      <FORM2555>X</FORM2555>
      <SESSIONPROPERTY NAME="hasW2">3</SESSIONPROPERTY>
    </HOST>
    <FORM DEVNAME="f1">
      <FIELD><ID>6</ID><VALUE>Pat</VALUE></FIELD>
      <FIELD NAME="Wages"><VALUE>52,000.00000000001</VALUE></FIELD>
      <FIELD><NAME>kF1_Single</NAME><VALUE>X</VALUE></FIELD>
      <FIELD><ID>2</ID><VALUE>no</VALUE></FIELD>
      <FIELD><ID>3</ID><VALUE/></FIELD>
      <FIELD OVERRIDDEN="1"><ID>41</ID><VALUE>50000</VALUE></FIELD>
    </FORM>
    <FORM NUMBER="52" COPY="2">
      <FIELD><ID>33</ID><VALUE>52000.00</VALUE></FIELD>
      <FIELD><ID>34</ID><VALUE>GA</VALUE></FIELD>
    </FORM>
  </RETURN>
  <RETURN TYPE="GA">
    <HOST>
      <PULLCOMMON FORM="F1" TYPE="80">52000</PULLCOMMON>
      <PULLCOMMON FORM="1" TYPE="1">2</PULLCOMMON>
      <W2SPLIT FORM="F52" FIELD="5" TAXPAYER="30000" SPOUSE="22000"/>
      <STATEWAGES>1234.5000000000002</STATEWAGES>
      <INELF>X</INELF>
      <ENABLEDTYPE>3</ENABLEDTYPE>
      <TAXBALANCE>-17</TAXBALANCE>
      <REFUNDCODE>R1</REFUNDCODE>
    </HOST>
    <FORM DEVNAME="ST2" COPY="3" DATAENTERED="0">
      <FIELD><ID>1</ID><VALUE>First Bank</VALUE></FIELD>
    </FORM>
    <FORM DEVNAME="GA70" DATAENTERED="1"/>
  </RETURN>
</RETURNFILE>
)";

// The federal return as kEveryKindOfEntry gives it.
void expectFederalReturnOfEveryKind(DataMgmt::TaxReturn& fed) {
    EXPECT_EQ(fed.getValue(kF1, 1, 6), FieldValue::text("Pat"));
    EXPECT_EQ(fed.getValue(kF1, 1, 30), FieldValue::number(52000));
    EXPECT_EQ(fed.getValue(kF1, 1, 1), FieldValue::box(true));
    EXPECT_EQ(fed.getValue(kF1, 1, 2), FieldValue::box(false));
    EXPECT_TRUE(fed.isNull(kF1, 1, 3));
    EXPECT_TRUE(fed.getForm(kF1, 1)->isOverridden(41));
    EXPECT_FALSE(fed.getForm(kF1, 1)->isOverridden(30));
    EXPECT_TRUE(fed.isDataEntered(kF1, 1));
    // Form 52 field 33 is kept in cents.
    EXPECT_EQ(fed.getValue(kF52, 2, 33), FieldValue::number(5200000));
    EXPECT_FALSE(fed.formExists(kF52, 1));
    EXPECT_EQ(fed.getFilingStatusNumber(), 2);
    EXPECT_TRUE(fed.isForm2555Present());
    EXPECT_EQ(fed.getSessionProperties()->getQVInt8Property("hasW2"), 3);
    EXPECT_FALSE(fed.isSaveNeeded());
}

// The Georgia return as kEveryKindOfEntry gives it.
void expectGeorgiaReturnOfEveryKind(PlainStateReturn& ga) {
    EXPECT_EQ(ga.pullCommon(kF1, 1, Utils::PCTypes{80}), 52000);
    EXPECT_EQ(ga.pullCommon(kF1, 1, Utils::PCTypes{1}), 2);
    double tp = 0, sp = 0;
    ga.getFromW2(kF52, 5, FieldID(), false, tp, sp);
    EXPECT_EQ(tp, 30000);
    EXPECT_EQ(sp, 22000);
    EXPECT_EQ(ga.getStateWages(1), 1234.5);
    EXPECT_TRUE(ga.InElf());
    EXPECT_EQ(ga.getEnabledType(), 3);
    EXPECT_EQ(ga.taxBalance(), -17);
    EXPECT_EQ(ga.refundCode(), "R1");
    EXPECT_EQ(ga.getValue(kST2, 3, 1), FieldValue::text("First Bank"));
    EXPECT_FALSE(ga.isDataEntered(kST2, 3));
    EXPECT_TRUE(ga.formExists(kGA70, 1));
    EXPECT_TRUE(ga.isDataEntered(kGA70, 1));
}

TEST_F(ReturnFileTest, LoadsFieldsSeedsAndMarksIntoTheStore) {
    Returns r;
    const PersistanceMgmt::ReturnFileContents c = r.load(writeFile("good.xml", kEveryKindOfEntry));
    ASSERT_TRUE(c.federal.has_value());
    EXPECT_EQ(c.federal->name, "doe");
    expectFederalReturnOfEveryKind(*r.federal);
    expectGeorgiaReturnOfEveryKind(*r.ga());

    std::time_t expected = 0;
    ASSERT_TRUE(ReturnFile::parseUtcTime("2019-03-15T12:00:00Z", expected));
    EXPECT_EQ(crt::now(), expected);
}

TEST_F(ReturnFileTest, ReadsTheModulesReturnDumpAsTheGeorgiaReturn) {
    Returns r;
    // The whole-return dump: CDATA values, BUSNAME, LINENUM, and an ampersand
    // inside CDATA.
    const std::string dump =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n"
        "<RETURN LABEL=\"2018.2.0.5901\">\n"
        "<RETURNNAME><![CDATA[doe]]></RETURNNAME>\n"
        "\t<FORM DEVNAME=\"GA69\" COPY=\"1\">\n"
        "\t\t<BUSNAME><![CDATA[Form 69 Georgia information]]></BUSNAME>\n"
        "\t\t<FIELD>\n\t\t\t<ID>1</ID>\n\t\t\t<NAME>kGA69_TPFirst</NAME>\n"
        "\t\t\t<LINENUM>Taxpayer first name</LINENUM>\n"
        "\t\t\t<VALUE><![CDATA[Pat & Sam]]></VALUE>\n\t\t</FIELD>\n"
        "\t</FORM>\n"
        "</RETURN>\n";
    const auto c = r.load(writeFile("doe.xml", dump));
    ASSERT_TRUE(c.georgia.has_value());
    EXPECT_FALSE(c.federal.has_value());
    EXPECT_EQ(c.georgia->label, "2018.2.0.5901");
    EXPECT_EQ(r.georgia->getValue(kGA69, 1, 1), FieldValue::text("Pat & Sam"));

    // The field-values dump: upper-cased dev name, FIELD NAME attribute.
    Returns r2;
    r2.load(writeFile("values.xml",
                      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN>\n\t<FORM DEVNAME=\"ST2\" COPY=\"2\">\n"
                      "\t\t<FIELD NAME=\"kST2_F3\">\n\t\t\t<VALUE><![CDATA[17]]></VALUE>\n\t\t</FIELD>\n"
                      "\t</FORM>\n</RETURN>\n"));
    EXPECT_EQ(r2.georgia->getValue(kST2, 2, 3), FieldValue::number(17));
}

}  // namespace
