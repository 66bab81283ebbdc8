// The return file: bad files are refused with the file, the line, the form,
// the copy and the field, without touching the store.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "tests/platform/returnfile_fixture.h"

namespace {

using namespace returnfiletest;

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
         {"bad.xml:6:", "form F52 copy 3 field 33 (kF52_StateWages1)", "non-numeric value \"12abc\" in an amount field",
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
         {"bad.xml:8:", "form ST2 copy 4 field 1 (kST2_Payer)", "the field is given twice (first at line 7)"}},
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
         {"bad.xml:5:", "field 1 (kF1_Single)", "\"yes\" is not a box mark"}},
        {"TextTooLong",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>34</ID><VALUE>GAX</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "text of 3 bytes is longer than the field's maximum of 2"}},
        {"UnknownValueKind",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD KIND=\"date\"><ID>30</ID><VALUE>1</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "field 30 (kF1_Wages)", "KIND \"date\" is not amount, text or box"}},
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

// The tax year, the seeds and the common items.
std::vector<BadCase> seedCases() {
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
        {"SeedOfAFederalFormNotFiled",
         wrap("", "<HOST><PULLCOMMON FORM=\"F52\" TYPE=\"80\">1</PULLCOMMON></HOST>\n"),
         {"bad.xml:6:", "item 80 (federal-agi) is seeded for form F52, which is not a federal main form",
          "FORM=\"F1\", \"F55\" and \"F87\" all seed the item of the main form the return is filed on"}},
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
    };
}

// The values of fields and seeds: dates, domains and amount limits.
std::vector<BadCase> valueCases() {
    return {
        {"DateNotOnTheCalendar",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>6</ID><VALUE>02/30/2018</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 6 (kGA69_TPBirth)",
          "date \"02/30/2018\" is not a calendar date written MM/DD/YYYY, MM-DD-YYYY or YYYY-MM-DD"}},
        {"DateBefore1900",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>6</ID><VALUE>12/31/1899</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "date \"12/31/1899\" is before 1900"}},
        {"DateOutsideTheTaxYear",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>103</ID><VALUE>01/01/2019</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 103 (kGA69_MovedOut)", "date \"01/01/2019\" is not in 2018"}},
        {"BirthDateAfterTheTaxYear",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>9</ID><VALUE>01/01/2099</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "field 9 (kF1_TPBirth)", "date \"01/01/2099\" is after the tax year 2018"}},
        {"NegativeEntryOfZeroOrMore",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>97</ID><VALUE>-0.01</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "form F52 copy 1 field 97 (kF52_StateTax2)",
          "amount \"-0.01\" is below 0 (the field takes 0 or more)"}},
        {"OverriddenCalculationKeepsTheLimit",
         wrap("",
              "<FORM DEVNAME=\"ST2\">\n<FIELD OVERRIDDEN=\"1\"><ID>27</ID><VALUE>10000000000001</VALUE></FIELD>\n"
              "</FORM>\n"),
         {"bad.xml:7:", "field 27 (kST2_Total)", "beyond the limit"}},
        {"DateThatIsNoDate",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>6</ID><VALUE>hello</VALUE></FIELD>\n</FORM>\n"),
         {"date \"hello\" is not a calendar date"}},
        {"AmountBeyondTheLimit",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><VALUE>10000000000000.01</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "amount \"10000000000000.01\" is beyond the limit of 10,000,000,000,000 dollars"}},
        {"CentsBeyondTheLimit",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>32</ID><VALUE>10000000000000.01</VALUE></FIELD>\n</FORM>\n", ""),
         {"field 32 (kF52_StateTax1): amount \"10000000000000.01\" is beyond the limit"}},
        {"AmountBeyondTheCent",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD><ID>30</ID><VALUE>2,345.555</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "amount \"2,345.555\" is given to more than the cent (the field takes at most two decimals)"}},
        {"HundredthsBeyondTheCent",
         wrap("<FORM DEVNAME=\"F52\">\n<FIELD><ID>33</ID><VALUE>12.345</VALUE></FIELD>\n</FORM>\n", ""),
         {"field 33 (kF52_StateWages1): amount \"12.345\" is given to more than the cent"}},
        {"SeedBeyondTheCent",
         wrap("", "<HOST><STATEWITHHELD>100.555</STATEWITHHELD></HOST>\n"),
         {"bad.xml:6:", "state tax withheld: amount \"100.555\" is given to more than the cent"}},
    };
}

// Texts and seeds: their limits, a value of one line, and what a message
// quotes of the file.
std::vector<BadCase> textCases() {
    return {
        {"TextLimitCountsBytes",
         wrap(
             "<FORM DEVNAME=\"F1\">\n<FIELD><ID>6</ID><VALUE>" + repeat("\xC3\xA9", 21) + "</VALUE></FIELD>\n</FORM>\n",
             ""),
         {"text of 42 bytes is longer than the field's maximum of 40 bytes"}},
        {"EnabledTypeNotCut",
         wrap("", "<HOST><ENABLEDTYPE>4294967297</ENABLEDTYPE></HOST>\n"),
         {"enabled type \"4294967297\" is not a whole number from -2147483648 to 2147483647"}},
        {"SeededWithholdingBelowZero",
         wrap("", "<HOST><STATEWITHHELDNOLOCAL>-100</STATEWITHHELDNOLOCAL></HOST>\n"),
         {"bad.xml:6:", "state tax withheld without local tax: amount \"-100\" is below 0 (it takes 0 or more)"}},
        {"SeededWagesBelowZero",
         wrap("", "<HOST><ALLSTATEWAGES>-0.01</ALLSTATEWAGES></HOST>\n"),
         {"wages of all states: amount \"-0.01\" is below 0 (it takes 0 or more)"}},
        {"SeededWagesBeyondTheLimit",
         wrap("", "<HOST><STATEWAGES>100000000000000</STATEWAGES></HOST>\n"),
         {"state wages: amount \"100000000000000\" is beyond the limit"}},
        {"ControlCharactersAreEscaped",
         wrap("<FORM DEVNAME=\"F1&#10;gahost: wrote x\"/>\n", ""),
         {"unknown form \"F1\\ngahost: wrote x\""}},
        {"LineBreakInAText",  // else a line of its own in the e-file and the print file
         wrap("<FORM DEVNAME=\"F52\" COPY=\"2\">\n<FIELD><ID>8</ID><VALUE>12-AB&#10;00500 "
              "999</VALUE></FIELD>\n</FORM>\n",
              ""),
         {"bad.xml:5:", "form F52 copy 2 field 8 (kF52_StateID1)",
          "text \"12-AB\\n00500 999\" holds a line break (U+000A at offset 5): a value is one line"}},
        {"CarriageReturnInAnOverride",
         wrap("", "<FORM DEVNAME=\"ST2\" COPY=\"3\">\n<FIELD><ID>1</ID><VALUE>Bank&#13;</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "form ST2 copy 3 field 1 (kST2_Payer)", "holds a line break (U+000D at offset 4)"}},
        {"TabInAText",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>3</ID><VALUE>A&#9;B</VALUE></FIELD>\n</FORM>\n"),
         {"field 3 (kGA69_TPLast)", "holds a control character (U+0009 at offset 1)"}},
        {"RefundCodeOfTwoLines",
         wrap("", "<HOST><REFUNDCODE>1&#10;00500.000.001 9</REFUNDCODE></HOST>\n"),
         {"bad.xml:6:", "refund code \"1\\n00500.000.001 9\" holds a line break"}},
        {"LongInputIsCut",
         wrap("<FORM DEVNAME=\"" + std::string(230, '9') + "\"/>\n", ""),
         {"unknown form \"" + std::string(40, '9') + "...\""}},
        {"NamespacedElement",
         "<RETURNFILE xmlns=\"urn:x\" TAXYEAR=\"2018\"/>",
         {"bad.xml:1:", "element <RETURNFILE> is in the namespace \"urn:x\""}},
    };
}

// Values that are not of their field's kind: an amount field given text,
// numbers, names, state codes, choices and counts, an override among them.
std::vector<BadCase> kindCases() {
    return {
        // A file's KIND cannot change how a field is read, nor can a
        // calculated field's value escape its kind.
        {"AmountFieldGivenAsText",
         wrap("<FORM DEVNAME=\"F1\">\n<FIELD KIND=\"text\"><ID>30</ID><VALUE>inf</VALUE></FIELD>\n</FORM>\n", ""),
         {"bad.xml:5:", "field 30 (kF1_Wages)", "KIND \"text\" is not the field's kind: it takes an amount"}},
        {"ZipGivenAsAnAmount",
         wrap("",
              "<FORM DEVNAME=\"GA69\">\n<FIELD KIND=\"amount\"><ID>17</ID><VALUE>3030.5</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 17 (kGA69_Zip)",
          "KIND \"amount\" is not the field's kind: it takes a ZIP code of five or nine digits"}},
        {"StateGivenAsABox",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD KIND=\"box\"><ID>16</ID><VALUE>X</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 16 (kGA69_State)", "it takes a state or territory code such as GA"}},
        {"CalculatedZipReadByItsKind",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>88</ID><VALUE>ABCDE</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 88 (kGA69_CalcZip)", "value \"ABCDE\" is not a ZIP code of five or nine digits"}},
        {"CalculatedCountReadByItsKind",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>89</ID><VALUE>2.5</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 89 (kGA69_CalcFilers)", "value \"2.5\" is not a whole count from 1 to 2"}},
        {"NumberWithoutNineDigits",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>5</ID><VALUE>400-00-123</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "form GA69 copy 1 field 5 (kGA69_TPSSN)",
          "value \"400-00-123\" is not a social security or taxpayer number of nine digits"}},
        {"NameWithoutALetter",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>1</ID><VALUE>.</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 1 (kGA69_TPFirst)", "value \".\" is not a name, which holds a letter"}},
        {"StateOffThePostalList",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>16</ID><VALUE>GE</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 16 (kGA69_State)", "is not a state or territory code"}},
        {"ChoiceNotNamed",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>82</ID><VALUE>Resident</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 82 (kGA69_Residency)",
          "is not one of Full-year resident, Part-year resident or Nonresident"}},
        {"CountNotWhole",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD><ID>83</ID><VALUE>2.5</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 83 (kGA69_Installments)", "value \"2.5\" is not a whole count from 1 to 4"}},
        {"OverriddenNumberIsAnEntry",
         wrap("", "<FORM DEVNAME=\"GA69\">\n<FIELD OVERRIDDEN=\"1\"><ID>84</ID><VALUE>N/A</VALUE></FIELD>\n</FORM>\n"),
         {"bad.xml:7:", "field 84 (kGA69_EmployerId)", "is not an employer identification number of nine digits"}},
    };
}

std::vector<BadCase> badCases() {
    std::vector<BadCase> cases = structureCases();
    for (BadCase& c : seedCases()) cases.push_back(std::move(c));
    for (BadCase& c : valueCases()) cases.push_back(std::move(c));
    for (BadCase& c : textCases()) cases.push_back(std::move(c));
    for (BadCase& c : kindCases()) cases.push_back(std::move(c));
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

}  // namespace
