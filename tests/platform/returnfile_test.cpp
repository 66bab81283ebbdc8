// The return file: reading into the store, refusing bad files without
// touching the store, and writing files that read back identically.
#include "platform/returnfile/ReturnFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/util/Crt.h"
#include "tests/platform/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using DataMgmt::FieldValue;
using PersistanceMgmt::ReturnFile;
using FieldID = Primitives::QVImmutableIdentifier;
using FormID = Primitives::QVImmutableFormIdentifier;

const FormID kF1(1);
const FormID kF52(52);
const FormID kGA69(69, true);
const FormID kGA70(70, true);
const FormID kST2(2, true);

// A Georgia return with neutral answers to the state's questions.
class PlainStateReturn : public StateDataMgmt::PlainStateTaxReturn {
public:
    using PlainStateTaxReturn::PlainStateTaxReturn;
    std::int8_t getFilingStatusNumber() override { return 1; }
    FormID getMainForm() override { return kGA70; }
    void getStateCode(std::string& out) override { out = "GA"; }
    void getStateName(std::string& out) override { out = "Georgia"; }
    FormID getInfoForm() override { return kGA69; }
};

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_SOURCE_DIR "/tests/data/forms");
    return lib;
}

// A federal and a Georgia return over the test definitions, and a scratch
// directory.
struct Returns {
    Returns()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(library().federal, pool)),
          georgia(new PlainStateReturn(federal, library().georgia, pool)) {}

    PlainStateReturn* ga() { return static_cast<PlainStateReturn*>(georgia.get()); }

    PersistanceMgmt::ReturnFileContents load(const std::string& path) {
        return ReturnFile::load(path, federal.get(), ga());
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr georgia;
};

class ReturnFileTest : public testsupport::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        crt::resetClock();
    }
    void TearDown() override {
        crt::resetClock();
        ScratchDirTest::TearDown();
    }

    // The message of the QuarloException the load throws ("" when none).
    std::string loadError(Returns& r, const std::string& xml) {
        const std::string path = writeFile("bad.xml", xml);
        try {
            r.load(path);
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_EQ(e.getClassName(), "ReturnFile");
            return e.getMessage();
        }
        return "";
    }
};

std::string wrap(const std::string& federal, const std::string& georgia) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<RETURNFILE TAXYEAR=\"2018\">\n"
           "<RETURN TYPE=\"federal\">\n" +
           federal + "</RETURN>\n<RETURN TYPE=\"GA\">\n" + georgia + "</RETURN>\n</RETURNFILE>\n";
}

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

TEST_F(ReturnFileTest, LoadsFieldsSeedsAndMarksIntoTheStore) {
    Returns r;
    const std::string path = writeFile("good.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
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
      <FIELD NAME="Wages"><VALUE>52,000</VALUE></FIELD>
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
      <STATEWAGES>1234.5</STATEWAGES>
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
)");
    const PersistanceMgmt::ReturnFileContents c = r.load(path);
    ASSERT_TRUE(c.federal.has_value());
    EXPECT_EQ(c.federal->name, "doe");

    DataMgmt::TaxReturn& fed = *r.federal;
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

    PlainStateReturn& ga = *r.ga();
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

// ------------------------------------------------------------ bad input

struct BadCase {
    const char* name;
    std::string xml;
    std::vector<std::string> expected;  // substrings of the message
};

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// The document, its forms, copies and fields.
std::vector<BadCase> structureCases() {
    return {
        {"MalformedXml",
         "<?xml version=\"1.0\"?>\n<RETURNFILE>\n<RETURN TYPE=\"GA\">\n</RETURNFILE>\n",
         {"bad.xml:4: malformed XML"}},
        {"EmptyFile", "", {"bad.xml:1: the file is empty"}},
        {"UnknownRoot", "<RETURNS/>", {"bad.xml:1:", "unknown root element <RETURNS>"}},
        {"UnknownForm",
         wrap("", "<FORM DEVNAME=\"GA999\" COPY=\"1\"/>\n"),
         {"bad.xml:6:", "form GA999 copy 1", "unknown form \"GA999\" in the Georgia return"}},
        {"FormOfTheOtherReturn",
         wrap("<FORM DEVNAME=\"GA70\"/>\n", ""),
         {"bad.xml:4:", "unknown form \"GA70\" in the federal return (it is a form of the Georgia return)"}},
        {"UnknownFormNumber", wrap("<FORM NUMBER=\"777\"/>\n", ""), {"bad.xml:4:", "unknown form number 777"}},
        {"UnknownFieldNumber",
         wrap("", "<FORM DEVNAME=\"GA70\" COPY=\"1\">\n<FIELD><ID>99999</ID><VALUE>1</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "form GA70 copy 1 field 99999",
          "unknown field number 99999 in form GA70 (gahost fields GA70 lists its fields)"}},
        {"UnknownFieldName",
         wrap("", "<FORM DEVNAME=\"GA70\">\n<FIELD><NAME>kGA70_Nope</NAME><VALUE>1</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "form GA70 copy 1 field kGA70_Nope", "unknown field \"kGA70_Nope\"", "(gahost fields GA70"}},
        {"NonNumericAmount",
         wrap("<FORM DEVNAME=\"F52\" COPY=\"3\">\n\n<FIELD>\n<ID>33</ID>\n<VALUE>12abc</VALUE>\n</FIELD>\n</FORM>\n",
              ""),
         {"bad.xml:6:", "form F52 copy 3 field kF52_StateWages1", "non-numeric value \"12abc\" in an amount field",
          "(an amount is written as digits with an optional sign, thousands commas and decimal point, such as 1234, "
          "-12.50 or 45,000.00)"}},
        {"CopyOutOfRange",
         wrap("", "<FORM DEVNAME=\"GA69\" COPY=\"2\"/>\n"),
         {"bad.xml:6:", "form GA69 copy 2", "copy number 2 is out of range (the form allows copies 1 to 1)"}},
        {"CopyNotANumber",
         wrap("", "<FORM DEVNAME=\"ST2\" COPY=\"two\"/>\n"),
         {"bad.xml:6:", "copy number \"two\" is not a positive whole number"}},
        {"CopyZero", wrap("", "<FORM DEVNAME=\"ST2\" COPY=\"0\"/>\n"), {"bad.xml:6:", "copy number \"0\""}},
        {"FieldGivenTwice",
         wrap("",
              "<FORM DEVNAME=\"ST2\" COPY=\"4\">\n<FIELD><ID>1</ID><VALUE>A</VALUE></FIELD>\n"
              "<FIELD><NAME>Payer</NAME><VALUE>B</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:8:", "form ST2 copy 4 field kST2_Payer", "the field is given twice (first at line 7)"}},
        {"CopyGivenTwice",
         wrap("", "<FORM DEVNAME=\"ST2\" COPY=\"2\"/>\n<FORM DEVNAME=\"st2\" COPY=\"2\"/>\n"),
         {"bad.xml:7:", "form ST2 copy 2", "this copy is given twice (first at line 6)"}},
        {"ReturnGivenTwice",
         "<RETURNFILE>\n<RETURN TYPE=\"GA\"/>\n<RETURN TYPE=\"Georgia\"/>\n</RETURNFILE>\n",
         {"bad.xml:3:", "the Georgia return is given twice (first at line 2)"}},
        {"UnknownElement",
         wrap("<FORM DEVNAME=\"F1\">\n<ROW/>\n</FORM>\n", ""),
         {"bad.xml:5:", "form F1 copy 1", "unknown element <ROW> in <FORM>"}},
        {"UnknownFieldElement",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><VALUE>1</VALUE><NOTE/></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "unknown element <NOTE> in <FIELD>"}},
        {"UnknownAttribute",
         wrap("<FORM DEVNAME=\"F1\" COPIES=\"1\"/>\n", ""),
         {"bad.xml:4:", "unknown attribute COPIES of <FORM>"}},
        {"StrayText", wrap("<FORM DEVNAME=\"F1\">oops</FORM>\n", ""), {"bad.xml:4:", "unexpected text \"oops\""}},
        {"BadBox",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>1</ID><VALUE>yes</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "field kF1_Single", "\"yes\" is not a box mark"}},
        {"TextTooLong",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>34</ID><VALUE>GAX</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "text of 3 bytes is longer than the field's maximum of 2"}},
        {"UnknownValueKind",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD KIND=\"date\"><ID>30</ID><VALUE>1</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "field kF1_Wages", "KIND \"date\" is not amount, text or box"}},
        {"IdAndNameDisagree",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><NAME>kF1_Interest</NAME><VALUE>1</VALUE></FIELD>\n</FORM>\n",
              ""),
         {"bad.xml:5:", "name different fields"}},
        {"FieldWithoutValue",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "<FIELD> has no <VALUE>"}},
        {"ValueGivenTwice",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><VALUE>1</VALUE><VALUE>2</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "<VALUE> given twice"}},
        {"DocumentType",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE RETURNFILE [<!ENTITY x \"y\">]>\n<RETURNFILE/>\n",
         {"document type declarations are not accepted"}},
    };
}

// The tax year, the seeds, the common items and the values' limits.
std::vector<BadCase> valueCases() {
    return {
        {"WrongTaxYear", "<RETURNFILE TAXYEAR=\"2019\"/>", {"bad.xml:1:", "tax year \"2019\" is not 2018"}},
        {"UnknownReturnType", "<RETURNFILE><RETURN TYPE=\"NY\"/></RETURNFILE>", {"unknown return type \"NY\""}},
        {"SeedInTheWrongReturn",
         wrap("<HOST><INELF>X</INELF></HOST>\n", ""),
         {"bad.xml:4:", "<INELF> belongs in the Georgia return's <HOST>"}},
        {"BadSeed",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"80\">lots</PULLCOMMON></HOST>\n"),
         {"bad.xml:6:", "item 80 (federal-agi): value \"lots\" is not a whole amount"}},
        {"SeedOfAStateForm",
         wrap("", "<HOST><PULLCOMMON FORM=\"GA70\" TYPE=\"80\">1</PULLCOMMON></HOST>\n"),
         {"unknown federal form \"GA70\""}},
        {"BadClock",
         "<RETURNFILE><HOST><CLOCK>tomorrow</CLOCK></HOST></RETURNFILE>",
         {"clock \"tomorrow\" is not a UTC time"}},
        {"BadFilingStatus",
         wrap("<HOST><FILINGSTATUS>9</FILINGSTATUS></HOST>\n", ""),
         {"federal filing status \"9\" is not 1 to 5"}},
        {"FilingStatusZero",
         wrap("<HOST><FILINGSTATUS>0</FILINGSTATUS></HOST>\n", ""),
         {"federal filing status \"0\" is not 1 to 5"}},
        {"FilingStatusSix",
         wrap("<HOST><FILINGSTATUS>6</FILINGSTATUS></HOST>\n", ""),
         {"federal filing status \"6\" is not 1 to 5"}},
        {"CommonFilingStatusZero",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"1\">0</PULLCOMMON></HOST>\n"),
         {"bad.xml:6:", "item 1 (federal-filing-status): value \"0\" is not a whole number from 1 to 5"}},
        {"CommonFilingStatusSix",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-filing-status\">6</PULLCOMMON></HOST>\n"),
         {"item 1 (federal-filing-status): value \"6\" is not a whole number from 1 to 5"}},
        {"DependentsBeyondTheirBound",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"dependents\">100</PULLCOMMON></HOST>\n"),
         {"item 4 (dependents): value \"100\" is not a whole number from 0 to 99"}},
        {"AgiBeyondTheAmountLimit",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">-10000000000001</PULLCOMMON></HOST>\n"),
         {"item 80 (federal-agi): value \"-10000000000001\" is not a whole amount of at most 10,000,000,000,000"}},
        {"UnnamedItemBeyondTheAmountLimit",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"7\">10000000000001</PULLCOMMON></HOST>\n"),
         {"item 7: value \"10000000000001\" is not a whole amount"}},
        {"UnknownItemName",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"agi\">1</PULLCOMMON></HOST>\n"),
         {"bad.xml:6:", "unknown common item \"agi\" (gahost items lists the names)"}},
        {"ItemAndTypeDisagree",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\" TYPE=\"1\">1</PULLCOMMON></HOST>\n"),
         {"ITEM \"federal-agi\" is item 80, not TYPE 1"}},
        {"ItemReadFromFederalFields",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"125\">1</PULLCOMMON></HOST>\n"),
         {"item 125 is read from the federal return's own fields and cannot be seeded"}},
        {"SeedContradictsTheFederalFilingStatus",
         wrap("<HOST><FILINGSTATUS>2</FILINGSTATUS></HOST>\n",
              "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-filing-status\">1</PULLCOMMON></HOST>\n"),
         {"bad.xml:7: form F1: common item 1 (federal-filing-status) is 1, but the federal return says 2 "
          "(the federal return's <FILINGSTATUS>)"}},
        {"SeedContradictsTheListedDependents",
         wrap("", "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"4\">2</PULLCOMMON></HOST>\n"),
         {"item 4 (dependents) is 2, but the federal return says 0 (the copies of federal form 113"}},
        {"DateNotOnTheCalendar",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>6</ID><VALUE>02/30/2018</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field kGA69_TPBirth",
          "date \"02/30/2018\" is not a calendar date written MM/DD/YYYY, MM-DD-YYYY or YYYY-MM-DD"}},
        {"DateBefore1900",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>6</ID><VALUE>12/31/1899</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "date \"12/31/1899\" is before 1900"}},
        {"DateOutsideTheTaxYear",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>103</ID><VALUE>01/01/2019</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field kGA69_MovedOut", "date \"01/01/2019\" is not in 2018"}},
        {"BirthDateAfterTheTaxYear",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>9</ID><VALUE>01/01/2099</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "field kF1_TPBirth", "date \"01/01/2099\" is after the tax year 2018"}},
        {"NegativeEntryOfZeroOrMore",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>97</ID><VALUE>-0.01</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "form F52 copy 1 field kF52_StateTax2",
          "amount \"-0.01\" is below 0 (the field takes 0 or more)"}},
        {"OverriddenCalculationKeepsTheLimit",
         wrap("",
              "<FORM DEVNAME=\"ST2\">\n<FIELD OVERRIDDEN=\"1\"><ID>27</ID><VALUE>10000000000001</VALUE></FIELD>\n"
              "</FORM>\n"),
         {"bad.xml:7:", "field kST2_Total", "beyond the limit"}},
        {"DateThatIsNoDate",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>6</ID><VALUE>hello</VALUE></FIELD>\n</FORM>\n"),
         {"date \"hello\" is not a calendar date"}},
        {"AmountBeyondTheLimit",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><VALUE>10000000000000.01</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "amount \"10000000000000.01\" is beyond the limit of 10,000,000,000,000 dollars"}},
        {"CentsBeyondTheLimit",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>32</ID><VALUE>10000000000000.01</VALUE></FIELD>\n</FORM>\n", ""),
         {"field kF52_StateTax1: amount \"10000000000000.01\" is beyond the limit"}},
        {"TextKindKeepsALimit",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD KIND=\"text\"><ID>30</ID><VALUE>" + std::string(81, 'x') +
                  "</VALUE></FIELD>\n</FORM>\n",
              ""),
         {"text of 81 bytes is longer than the field's maximum of 80 bytes"}},
        {"TextLimitCountsBytes",
         wrap(
             "<FORM DEVNAME=\"F1\">\n<FIELD><ID>6</ID><VALUE>" + repeat("\xC3\xA9", 21) + "</VALUE></FIELD>\n</FORM>\n",
             ""),
         {"text of 42 bytes is longer than the field's maximum of 40 bytes"}},
        {"EnabledTypeNotCut",
         wrap("", "<HOST><ENABLEDTYPE>4294967297</ENABLEDTYPE></HOST>\n"),
         {"enabled type \"4294967297\" is not a whole number from -2147483648 to 2147483647"}},
        {"SeededWagesBeyondTheLimit",
         wrap("", "<HOST><STATEWAGES>100000000000000</STATEWAGES></HOST>\n"),
         {"state wages: amount \"100000000000000\" is beyond the limit"}},
        {"ControlCharactersAreEscaped",
         wrap("<FORM DEVNAME=\"F1&#10;gahost: wrote x\"/>\n", ""),
         {"unknown form \"F1\\ngahost: wrote x\""}},
        {"LongInputIsCut",
         wrap("<FORM DEVNAME=\"" + std::string(230, '9') + "\"/>\n", ""),
         {"unknown form \"" + std::string(40, '9') + "...\""}},
        {"NamespacedElement",
         "<RETURNFILE xmlns=\"urn:x\" TAXYEAR=\"2018\"/>",
         {"bad.xml:1:", "element <RETURNFILE> is in the namespace \"urn:x\""}},
    };
}

std::vector<BadCase> badCases() {
    std::vector<BadCase> cases = structureCases();
    for (BadCase& c : valueCases()) cases.push_back(std::move(c));
    return cases;
}

class ReturnFileBadInput : public ReturnFileTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(ReturnFileBadInput, IsRefusedWithTheFileLineFormCopyAndField) {
    Returns r;
    const std::string message = loadError(r, GetParam().xml);
    ASSERT_FALSE(message.empty()) << "the file was accepted";
    for (const std::string& part : GetParam().expected) {
        EXPECT_NE(message.find(part), std::string::npos) << "missing \"" << part << "\" in:\n" << message;
    }
    EXPECT_EQ(message.find(dir), 0u) << "the message names the file first:\n" << message;
}

INSTANTIATE_TEST_SUITE_P(Cases, ReturnFileBadInput, ::testing::ValuesIn(badCases()),
                         [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST_F(ReturnFileTest, ReportsEveryProblemOfTheFile) {
    Returns r;
    const std::string message =
        loadError(r, wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><VALUE>x</VALUE></FIELD>\n</FORM>\n",
                          "<FORM DEVNAME=\"NOPE\"/>\n<FORM DEVNAME=\"GA69\" COPY=\"5\"/>\n"));
    EXPECT_NE(message.find("bad.xml:5:"), std::string::npos) << message;
    EXPECT_NE(message.find("bad.xml:9:"), std::string::npos) << message;
    EXPECT_NE(message.find("bad.xml:10:"), std::string::npos) << message;
}

TEST_F(ReturnFileTest, MissingFileAndDirectoryAreRefused) {
    Returns r;
    EXPECT_THROW(r.load(dir + "/none.xml"), Exceptions::QuarloException);
    try {
        r.load(dir + "/none.xml");
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("none.xml: cannot open the return file"), std::string::npos) << e.getMessage();
    }
    EXPECT_THROW(r.load(dir), Exceptions::QuarloException);
}

TEST_F(ReturnFileTest, ABadFileLeavesTheStoreAndTheHostAsTheyWere) {
    Returns r;
    r.load(writeFile("good.xml", wrap("<FORM DEVNAME=\"F1\"><FIELD><ID>30</ID><VALUE>100</VALUE></FIELD></FORM>\n",
                                      "<FORM DEVNAME=\"ST2\"><FIELD><ID>1</ID><VALUE>Old</VALUE></FIELD></FORM>\n")));
    const std::string before = ReturnFile::serialize(ReturnFile::snapshot(r.federal.get(), r.ga()));
    const std::time_t clockBefore = crt::now();

    // Valid entries first, the fault at the very end.
    const std::string message =
        loadError(r,
                  "<RETURNFILE>\n<HOST><CLOCK>2001-01-01</CLOCK></HOST>\n<RETURN TYPE=\"federal\">\n"
                  "<HOST><FILINGSTATUS>4</FILINGSTATUS></HOST>\n"
                  "<FORM DEVNAME=\"F1\"><FIELD><ID>30</ID><VALUE>999</VALUE></FIELD></FORM>\n"
                  "<FORM DEVNAME=\"F52\" COPY=\"7\"><FIELD><ID>33</ID><VALUE>1</VALUE></FIELD></FORM>\n</RETURN>\n"
                  "<RETURN TYPE=\"GA\">\n<HOST><INELF>X</INELF></HOST>\n"
                  "<FORM DEVNAME=\"ST2\"><FIELD><ID>1</ID><VALUE>New</VALUE></FIELD></FORM>\n"
                  "<FORM DEVNAME=\"ST2\" COPY=\"2\"><FIELD><ID>3</ID><VALUE>NaN</VALUE></FIELD></FORM>\n"
                  "</RETURN>\n</RETURNFILE>\n");
    ASSERT_FALSE(message.empty());

    EXPECT_EQ(ReturnFile::serialize(ReturnFile::snapshot(r.federal.get(), r.ga())), before);
    EXPECT_FALSE(r.federal->formExists(kF52, 7));
    EXPECT_FALSE(r.georgia->formExists(kST2, 2));
    EXPECT_EQ(r.federal->getFilingStatusNumber(), 1);
    EXPECT_FALSE(r.ga()->InElf());
    EXPECT_NEAR(static_cast<double>(crt::now()), static_cast<double>(clockBefore), 5.0);
}

// ------------------------------------------------------------ writing

TEST_F(ReturnFileTest, WrittenFilesReadBackIdentically) {
    Returns a;
    const std::vector<std::string> texts = {"<tag> & \"quotes\" 'single'",
                                            "a]]>b",
                                            "]]>",
                                            "]]]]>>",
                                            "Jos\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC \xF0\x9D\x84\x9E",
                                            "  padded  ",
                                            "tab\tinside",
                                            "line\nbreak",
                                            "carriage\r\nreturn",
                                            "   ",
                                            "\n",
                                            " \t\n ",
                                            "\r",
                                            "&amp; &#65; <![CDATA[x]]>",
                                            "X",
                                            "NO"};
    // Two texts a copy of the interest statement (payer and row information).
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto copy = static_cast<std::uint16_t>(i / 2 + 1);
        DataMgmt::TaxFormPtr st2 = a.georgia->getFormUVPtr(kST2, copy, true);
        ASSERT_FALSE(st2.isNull());
        st2->setValue(i % 2 == 0 ? 1 : 2, FieldValue::text(texts[i]));
        st2->setValue(3, FieldValue::number(0.1 * static_cast<double>(i) - 0.35));
    }
    // What the calculation stores has no limit of its own.
    a.georgia->getFormUVPtr(kST2, 1, true)->setValue(27, FieldValue::number(-1e20 / 3));
    DataMgmt::TaxFormPtr f1 = a.federal->getFormUVPtr(kF1, 1, true);
    f1->setValue(1, FieldValue::box(true));
    f1->setValue(2, FieldValue::box(false));
    f1->setValue(30, FieldValue::number(1234.5678));
    f1->setValue(31, FieldValue::number(-0.0));
    f1->setValue(32, FieldValue::number(static_cast<double>(PersistanceMgmt::kAmountLimitDollars) - 0.5));
    f1->setValue(41, FieldValue::number(7));
    f1->setOverridden(41, true);
    f1->setOverridden(40, true);  // an override on a null field
    a.federal->setDataEntered(kF1, 1, false);
    DataMgmt::TaxFormPtr w2 = a.federal->getFormUVPtr(kF52, 5, true);
    w2->setValue(33, FieldValue::number(1234.5));  // half a cent
    w2->setValue(32, FieldValue::number(-99));
    // Entries at the ends of their domains.
    w2->setValue(97, FieldValue::number(0));
    f1->setValue(9, FieldValue::text("12/31/2018"));
    DataMgmt::TaxFormPtr ga69 = a.georgia->getFormUVPtr(kGA69, 1, true);
    ga69->setValue(6, FieldValue::text("01/01/1900"));
    ga69->setValue(102, FieldValue::text("2018-01-01"));
    ga69->setValue(103, FieldValue::text("12-31-2018"));
    a.federal->getFormUVPtr(kF52, 2, true);  // an empty copy
    a.federal->setDataEntered(kF52, 2, true);
    a.georgia->getFormUVPtr(kGA70, 1, true)->setValue(345, FieldValue::text("P0001234"));
    // Values of another kind than their field's, as a calculation may store
    // them: each reads back as the kind it is, without decimal shift.
    f1->setValue(3, FieldValue::number(1));
    f1->setValue(6, FieldValue::number(12.5));
    f1->setValue(33, FieldValue::box(true));
    f1->setValue(34, FieldValue::text("n/a"));
    w2->setValue(35, FieldValue::text("12.34"));
    w2->setValue(8, FieldValue::box(false));
    a.ga()->setInElf(true);
    a.ga()->setEnabledType(4);
    a.ga()->setRefundCode("Z");
    a.federal->setFilingStatusNumber(3);

    const std::string path = (fs::path(dir) / "round.xml").string();
    ReturnFile::save(path, a.federal.get(), a.ga());
    const std::string first = readFile(path);

    Returns b;
    b.load(path);
    const auto snapA = ReturnFile::snapshot(a.federal.get(), a.ga());
    const auto snapB = ReturnFile::snapshot(b.federal.get(), b.ga());
    for (auto part : {&PersistanceMgmt::ReturnFileContents::federal, &PersistanceMgmt::ReturnFileContents::georgia}) {
        const auto& pa = *(snapA.*part);
        const auto& pb = *(snapB.*part);
        ASSERT_EQ(pa.copies.size(), pb.copies.size());
        for (std::size_t i = 0; i < pa.copies.size(); ++i) {
            const auto& ca = pa.copies[i];
            const auto& cb = pb.copies[i];
            ASSERT_EQ(ca.desc->getDevName(), cb.desc->getDevName());
            ASSERT_EQ(ca.copy, cb.copy);
            EXPECT_EQ(ca.effectiveDataEntered(), cb.effectiveDataEntered()) << ca.desc->getDevName() << " " << ca.copy;
            ASSERT_EQ(ca.fields.size(), cb.fields.size()) << ca.desc->getDevName() << " " << ca.copy;
            for (std::size_t k = 0; k < ca.fields.size(); ++k) {
                EXPECT_EQ(ca.fields[k].desc->getID(), cb.fields[k].desc->getID());
                EXPECT_TRUE(ca.fields[k].value == cb.fields[k].value)
                    << ca.desc->getDevName() << " copy " << ca.copy << " field " << ca.fields[k].desc->getSymbolicName()
                    << ": \"" << cb.fields[k].value.getText() << "\"";
                EXPECT_EQ(ca.fields[k].overridden, cb.fields[k].overridden);
            }
        }
    }
    EXPECT_FALSE(b.federal->isDataEntered(kF1, 1));
    EXPECT_TRUE(b.federal->isDataEntered(kF52, 2));
    EXPECT_TRUE(b.ga()->InElf());
    EXPECT_EQ(b.ga()->getEnabledType(), 4);
    EXPECT_EQ(b.ga()->refundCode(), "Z");
    EXPECT_EQ(b.federal->getFilingStatusNumber(), 3);

    // And the file written from the reloaded returns is byte for byte the same.
    const std::string second = (fs::path(dir) / "round2.xml").string();
    ReturnFile::save(second, b.federal.get(), b.ga(), nullptr);
    EXPECT_EQ(readFile(second), first);
}

TEST_F(ReturnFileTest, SeedTablesAreCarriedOverFromTheLoadedFile) {
    Returns a;
    const std::string in = writeFile(
        "in.xml", wrap("<HOST><SESSIONPROPERTY NAME=\"p\">-5</SESSIONPROPERTY><OFFICELOCATORURL>http://x/?a=1&amp;b=2"
                       "</OFFICELOCATORURL></HOST>\n",
                       "<HOST><PULLCOMMON FORM=\"F1\" TYPE=\"86\">1</PULLCOMMON>"
                       "<W2SPLIT FORM=\"F52\" FIELD=\"StateWages1\" TAXPAYER=\"1.5\" SPOUSE=\"-2\"/>"
                       "<ALLSTATEWAGES>10</ALLSTATEWAGES><STATEWITHHELD>3.25</STATEWITHHELD>"
                       "<STATEWITHHELDNOLOCAL>3</STATEWITHHELDNOLOCAL><TAXBALANCE>12</TAXBALANCE></HOST>\n"));
    const auto loaded = a.load(in);
    const std::string out = (fs::path(dir) / "out.xml").string();
    ReturnFile::save(out, a.federal.get(), a.ga(), &loaded);

    Returns b;
    b.load(out);
    EXPECT_EQ(b.federal->getSessionProperties()->getQVInt8Property("p"), -5);
    EXPECT_EQ(b.federal->getOfficeLocatorURL(DataMgmt::kFederalReturnType), "http://x/?a=1&b=2");
    EXPECT_EQ(b.ga()->pullCommon(kF1, 1, Utils::PCTypes{86}), 1);
    double tp = 0, sp = 0;
    b.ga()->getFromW2(kF52, 33, FieldID(), false, tp, sp);
    EXPECT_EQ(tp, 1.5);
    EXPECT_EQ(sp, -2);
    EXPECT_EQ(b.ga()->getAllStateWages(1), 10);
    EXPECT_EQ(b.ga()->getStateTaxWithheld(1), 3.25);
    EXPECT_EQ(b.ga()->getStateTaxWithheldNoLocal(1), 3);
    EXPECT_EQ(b.ga()->taxBalance(), 12);
}

TEST_F(ReturnFileTest, AFailedWriteKeepsTheExistingFileAndLeavesNoTemporaryFile) {
    Returns r;
    const std::string path = writeFile("keep.xml", "precious");
    r.georgia->getFormUVPtr(kST2, 1, true)->setValue(1, FieldValue::text(std::string("bell\x07", 5)));
    try {
        ReturnFile::save(path, r.federal.get(), r.ga());
        FAIL() << "a control character was written";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("form ST2 copy 1 field kST2_Payer"), std::string::npos) << e.getMessage();
        EXPECT_NE(e.getMessage().find("U+0007"), std::string::npos) << e.getMessage();
    }
    EXPECT_EQ(readFile(path), "precious");

    r.georgia->getFormUVPtr(kST2, 1, true)->setValue(1, FieldValue::text("\xC3("));  // not UTF-8
    EXPECT_THROW(ReturnFile::save(path, r.federal.get(), r.ga()), Exceptions::QuarloException);
    EXPECT_EQ(readFile(path), "precious");

    EXPECT_THROW(ReturnFile::writeAtomically(dir + "/no/such/dir/x.xml", "x"), Exceptions::QuarloException);
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        ++files;
        EXPECT_EQ(e.path().filename(), "keep.xml");
    }
    EXPECT_EQ(files, 1u);
}

TEST_F(ReturnFileTest, ARenameOntoANonEmptyDirectoryThrowsAndLeavesNoTemporaryFile) {
    fs::create_directories(dir + "/target/inside");
    EXPECT_THROW(ReturnFile::writeAtomically(dir + "/target", "new"), Exceptions::QuarloException);
    EXPECT_TRUE(fs::is_directory(dir + "/target/inside"));
    std::size_t entries = 0;
    for (const auto& e : fs::directory_iterator(dir)) entries += e.path().filename() == "target" ? 0 : 1;
    EXPECT_EQ(entries, 0u) << "a temporary file was left behind";
}

TEST_F(ReturnFileTest, AnInterruptedWriteLeavesTheOldOrTheNewFileAndNoTemporaryFile) {
    const std::string target = path("target.xml");
    const std::string bytes(4u << 20, 'x');
    for (const int signal : {SIGINT, SIGTERM}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < 500; ++i) ReturnFile::writeAtomically(target, bytes);
            ::_exit(0);
        }
        ::usleep(30000);
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the writes ended before the signal";
        for (const auto& e : fs::directory_iterator(dir)) {
            EXPECT_EQ(e.path().filename(), "target.xml") << "left behind";
            EXPECT_EQ(fs::file_size(e.path()), bytes.size());
        }
    }
}

TEST_F(ReturnFileTest, WhatIsNotARegularFileOrIsTooLargeIsRefusedUnread) {
    Returns r;
    const std::string large = path("large.xml");
    std::ofstream(large).close();
    fs::resize_file(large, 256u * 1024u * 1024u + 1);  // sparse: no byte is written or read
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {"/dev/zero", "/dev/zero: is not a regular file"},
        {large, large + ": the file is larger than the limit of 256 MiB"},
        {dir, dir + ": is a directory"},
    };
    for (const auto& c : cases) {
        try {
            r.load(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_EQ(e.getMessage().find(c.message), 0u) << e.getMessage();
        }
    }
}

TEST_F(ReturnFileTest, WritingReplacesAnExistingFileAndKeepsItsPermissions) {
    const std::string path = writeFile("perm.xml", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ReturnFile::writeAtomically(path, "new");
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ReturnFileTest, AFileOfOneReturnNeedsThatReturnOpen) {
    Returns r;
    const std::string path = writeFile("ga.xml", "<RETURN><FORM DEVNAME=\"GA70\"/></RETURN>");
    EXPECT_THROW(ReturnFile::load(path, r.federal.get(), nullptr), Exceptions::QuarloException);
    EXPECT_FALSE(r.georgia->formExists(kGA70, 1));
    EXPECT_NO_THROW(ReturnFile::load(path, nullptr, r.ga()));
    EXPECT_TRUE(r.georgia->formExists(kGA70, 1));
}

}  // namespace
