// Common federal items: the host answers those the federal return states
// itself and refuses seeds and federal returns that contradict it, and named
// items read and write by their names.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <tuple>

#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"
#include "platform/store/StateDataMgmt.h"

namespace {

using FormID = Primitives::QVImmutableFormIdentifier;

class PlainStateReturn : public StateDataMgmt::PlainStateTaxReturn {
public:
    using PlainStateTaxReturn::PlainStateTaxReturn;
    std::int8_t getFilingStatusNumber() override { return 1; }
    FormID getMainForm() override { return FormID(70, true); }
    void getStateCode(std::string& out) override { out = "GA"; }
    void getStateName(std::string& out) override { out = "Georgia"; }
    FormID getInfoForm() override { return FormID(69, true); }
};

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_BINARY_DIR "/forms");
    return lib;
}

// A dependent, listed or not, and of a number unless it is empty.
std::string dependent(int copy, const char* listed, const std::string& number = "") {
    return "<FORM DEVNAME=\"F113\" COPY=\"" + std::to_string(copy) + "\"><FIELD><ID>1136</ID><VALUE>" + listed +
           "</VALUE></FIELD>" + (number.empty() ? "" : "<FIELD><ID>1106</ID><VALUE>" + number + "</VALUE></FIELD>") +
           "</FORM>\n";
}

TEST(CommonItems, TheFederalReturnAnswersWhatItStates) {
    const std::string doc =
        "<RETURNFILE TAXYEAR=\"2018\"><RETURN TYPE=\"federal\"><HOST><FILINGSTATUS>2</FILINGSTATUS></HOST>\n"
        "<FORM DEVNAME=\"F1\"><FIELD><ID>121</ID><VALUE>X</VALUE></FIELD></FORM>\n" +
        dependent(1, "X") + dependent(2, "NO") + dependent(3, "X") +
        "</RETURN><RETURN TYPE=\"GA\"><HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">85000</PULLCOMMON>"
        "<PULLCOMMON FORM=\"F1\" ITEM=\"dependents\">2</PULLCOMMON></HOST></RETURN></RETURNFILE>";
    const auto contents =
        PersistanceMgmt::ReturnFile::parse(doc, "derived.xml", {library().federal.get(), library().georgia.get()});
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(library().federal, pool));
    PlainStateReturn georgia(federal, library().georgia, pool);
    PersistanceMgmt::ReturnFile::apply(contents, federal.get(), &georgia);

    // Answered alike on each federal form the return may be filed on.
    for (const int form : {1, 55, 87}) {
        auto item = [&](Utils::PCTypes t) { return georgia.pullCommon(FormID(form), 1, t); };
        EXPECT_EQ(item(Utils::kFederalFilingStatus), 2) << form;
        EXPECT_EQ(item(Utils::kDependents), 2) << "only the copies marked in box 1136 count; form " << form;
        EXPECT_EQ(item(Utils::kLowIncomeCreditDependents), 2) << form;
        EXPECT_EQ(item(Utils::kTaxpayerAged65), 1) << form;
        EXPECT_EQ(item(Utils::kSpouseAged65), 0) << form;
    }
    EXPECT_EQ(georgia.pullCommon(FormID(1), 1, Utils::kFederalAgi), 85000);

    // Written back by name, only the seeds the file gave.
    const std::string written = PersistanceMgmt::ReturnFile::serialize(contents);
    EXPECT_NE(written.find("<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">85000</PULLCOMMON>"), std::string::npos)
        << written;
    EXPECT_EQ(written.find("federal-filing-status"), std::string::npos) << written;
}

// ------------------------------------------------------------ statements

PersistanceMgmt::ReturnFileContents parsed(const std::string& federal, const std::string& georgiaHost = "") {
    return PersistanceMgmt::ReturnFile::parse("<RETURNFILE TAXYEAR=\"2018\"><RETURN TYPE=\"federal\">" + federal +
                                                  "</RETURN><RETURN TYPE=\"GA\"><HOST>" + georgiaHost +
                                                  "</HOST></RETURN></RETURNFILE>",
                                              "derived.xml", {library().federal.get(), library().georgia.get()});
}

std::string filingStatus(int status) {
    return "<HOST><FILINGSTATUS>" + std::to_string(status) + "</FILINGSTATUS></HOST>";
}

// A W-2 with its box 1 and, unless empty, its owner.
std::string w2(int copy, const std::string& owner, const std::string& wages) {
    return "<FORM DEVNAME=\"F52\" COPY=\"" + std::to_string(copy) + "\"" +
           (owner.empty() ? "" : " OWNER=\"" + owner + "\"") + "><FIELD><ID>21</ID><VALUE>" + wages +
           "</VALUE></FIELD></FORM>";
}

std::optional<std::int64_t> derivedItem(const PersistanceMgmt::ReturnFileContents& c, Utils::PCTypes type) {
    for (const PersistanceMgmt::DerivedItem& d : PersistanceMgmt::deriveCommonItems(c)) {
        if (d.type == type) return d.value;
    }
    return std::nullopt;
}

TEST(CommonItems, EachFilersWagesComeFromTheW2sByTheirOwners) {
    struct Row {
        const char* what;
        std::string federal;
        std::optional<std::int64_t> taxpayer, spouse;  // nullopt: not derived (no split either)
    };
    const Row rows[] = {
        {"a single filer's W-2s are the taxpayer's", filingStatus(1) + w2(1, "", "22000") + w2(2, "", "500.50"), 22501,
         std::nullopt},
        {"a joint return's W-2s by their owners",
         filingStatus(2) + w2(1, "spouse", "48000") + w2(2, "Taxpayer", "1000") + w2(3, "SPOUSE", "2000"), 1000, 50000},
        {"a joint W-2 without its owner states neither", filingStatus(2) + w2(1, "spouse", "48000") + w2(2, "", "1000"),
         std::nullopt, std::nullopt},
        {"no filing status: the owners decide", w2(1, "taxpayer", "7000"), 7000, 0},
        {"no W-2, no wages", filingStatus(1), std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        const auto c = parsed(row.federal);
        EXPECT_EQ(derivedItem(c, Utils::kWagesTaxpayer), row.taxpayer) << row.what;
        const std::optional<PersistanceMgmt::W2Split> split = PersistanceMgmt::deriveW2Split(c);
        ASSERT_EQ(split.has_value(), row.taxpayer.has_value()) << row.what;
        if (!split) continue;
        EXPECT_EQ(derivedItem(c, Utils::kWagesSpouse), row.spouse) << row.what;
        EXPECT_EQ(split->form, FormID(52));
        EXPECT_EQ(split->field.getNumber(), 21);
        EXPECT_EQ(split->spouse, row.spouse.value_or(0)) << row.what;
    }
    // The store answers the W-2 split by the owners.
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(library().federal, pool));
    PlainStateReturn georgia(federal, library().georgia, pool);
    PersistanceMgmt::ReturnFile::apply(parsed(rows[1].federal), federal.get(), &georgia);
    double taxpayer = 0, spouse = 0;
    georgia.getFromW2(FormID(52), Primitives::QVImmutableIdentifier(21), Primitives::kNullFieldID, false, taxpayer,
                      spouse);
    EXPECT_EQ(taxpayer, 1000);
    EXPECT_EQ(spouse, 50000);
    EXPECT_EQ(georgia.pullCommon(FormID(55), 1, Utils::kWagesSpouse), 50000);
}

TEST(CommonItems, InterestAndDividendsComeFromThe1099s) {
    const auto c = parsed(
        "<FORM DEVNAME=\"F166\" COPY=\"1\"><FIELD><ID>10</ID><VALUE>1250.75</VALUE></FIELD>"
        "<FIELD><ID>12</ID><VALUE>310.00</VALUE></FIELD></FORM>"
        "<FORM DEVNAME=\"F166\" COPY=\"2\"><FIELD><ID>10</ID><VALUE>85.20</VALUE></FIELD></FORM>"
        "<FORM DEVNAME=\"F164\" COPY=\"1\"><FIELD><ID>6</ID><VALUE>0.49</VALUE></FIELD></FORM>");
    EXPECT_EQ(derivedItem(c, Utils::kTaxableInterest), 1646) << "boxes 1 and 3, 1645.95 to the dollar";
    EXPECT_EQ(derivedItem(c, Utils::kOrdinaryDividends), 0) << "0.49 to the dollar";
    // 0.01 + 2.34 + 0.15 adds up in binary to 2.4999999999999996: still the
    // half that rounds up.
    const auto half = parsed(
        "<FORM DEVNAME=\"F166\" COPY=\"1\"><FIELD><ID>10</ID><VALUE>0.01</VALUE></FIELD>"
        "<FIELD><ID>12</ID><VALUE>2.34</VALUE></FIELD></FORM>"
        "<FORM DEVNAME=\"F166\" COPY=\"2\"><FIELD><ID>10</ID><VALUE>0.15</VALUE></FIELD></FORM>");
    EXPECT_EQ(derivedItem(half, Utils::kTaxableInterest), 3) << "2.50 to the dollar";
    const auto spouses = parsed(filingStatus(1) +
                                "<FORM DEVNAME=\"F166\" COPY=\"1\"><FIELD><ID>10</ID><VALUE>100</VALUE></FIELD></FORM>"
                                "<FORM DEVNAME=\"F166\" COPY=\"2\"><FIELD><ID>3</ID><VALUE>X</VALUE></FIELD>"
                                "<FIELD><ID>10</ID><VALUE>40</VALUE></FIELD></FORM>");
    EXPECT_EQ(derivedItem(spouses, Utils::kTaxableInterest), 100) << "a single filer's return leaves the spouse's out";
    EXPECT_EQ(derivedItem(parsed(""), Utils::kTaxableInterest), std::nullopt) << "no 1099-INT: the seed stays";
    // Each copy's adjustment comes off as the statement takes it: off the
    // U.S. obligations alone where box 25 says so, else in proportion, the
    // municipal interest bearing its share.
    const struct {
        const char* what;
        const char* fields;
        Utils::PCTypes item;
        std::int64_t value;
    } adjusted[] = {
        {"interest less its adjustment", "<ID>10</ID><VALUE>1400</VALUE></FIELD><FIELD><ID>27</ID><VALUE>400",
         Utils::kTaxableInterest, 1000},
        {"against the U.S. obligations alone",
         "<ID>10</ID><VALUE>500</VALUE></FIELD><FIELD><ID>12</ID><VALUE>40</VALUE></FIELD><FIELD><ID>27</ID>"
         "<VALUE>100</VALUE></FIELD><FIELD><ID>25</ID><VALUE>X",
         Utils::kTaxableInterest, 440},
        {"the municipal interest's share left on it",
         "<ID>10</ID><VALUE>600</VALUE></FIELD><FIELD><ID>18</ID><VALUE>100</VALUE></FIELD><FIELD><ID>197490</ID>"
         "<VALUE>300</VALUE></FIELD><FIELD><ID>27</ID><VALUE>100",
         Utils::kTaxableInterest, 540},
        {"an adjustment beyond the interest", "<ID>10</ID><VALUE>100</VALUE></FIELD><FIELD><ID>27</ID><VALUE>300",
         Utils::kTaxableInterest, 0},
        // The share is exact, as the federal return takes it off: 999.50
        // and 1,000.25 are each 1,000 dollars.
        {"an adjustment in cents", "<ID>10</ID><VALUE>1400</VALUE></FIELD><FIELD><ID>27</ID><VALUE>400.50",
         Utils::kTaxableInterest, 1000},
        {"interest in cents", "<ID>10</ID><VALUE>1400.50</VALUE></FIELD><FIELD><ID>27</ID><VALUE>400.25",
         Utils::kTaxableInterest, 1000},
        {"dividends less their share",
         "<ID>6</ID><VALUE>2000</VALUE></FIELD><FIELD><ID>41</ID><VALUE>500</VALUE></FIELD><FIELD><ID>32</ID>"
         "<VALUE>250",
         Utils::kOrdinaryDividends, 1800},
    };
    for (const auto& row : adjusted) {
        const std::string form = row.item == Utils::kTaxableInterest ? "F166" : "F164";
        const auto copy =
            parsed("<FORM DEVNAME=\"" + form + "\" COPY=\"1\"><FIELD>" + row.fields + "</VALUE></FIELD></FORM>");
        EXPECT_EQ(derivedItem(copy, row.item), row.value) << row.what;
    }
    EXPECT_EQ(derivedItem(parsed(""), Utils::kOrdinaryDividends), std::nullopt) << "no 1099-DIV: the seed stays";
}

// Form 1040 with its fields, each given as "<ID>field</ID><VALUE>amount".
std::string form1040(std::initializer_list<const char*> fields) {
    std::string form = "<FORM DEVNAME=\"F1\">";
    for (const char* f : fields) form += std::string("<FIELD><ID>") + f + "</VALUE></FIELD>";
    return form + "</FORM>";
}

TEST(CommonItems, Form1040sFieldsAnswerTheirItems) {
    const std::string fields = form1040({"80</ID><VALUE>80", "82</ID><VALUE>-820", "83</ID><VALUE>830",
                                         "85</ID><VALUE>-850", "87</ID><VALUE>870", "89</ID><VALUE>890",
                                         "90</ID><VALUE>900.50", "94</ID><VALUE>940", "99</ID><VALUE>-990"});
    // Each item and its amount; a split item only on a return that is not joint.
    const std::tuple<Utils::PCTypes, std::int64_t, bool> rows[] = {{Utils::kTaxableRefunds, 80, false},
                                                                   {Utils::kBusinessIncomeTaxpayer, -820, true},
                                                                   {Utils::kCapitalGains, 830, false},
                                                                   {Utils::kOtherGains, -850, false},
                                                                   {Utils::kIraDistributionsTaxpayer, 870, true},
                                                                   {Utils::kPensionsTaxpayer, 890, true},
                                                                   {Utils::kRentsAndRoyalties, 901, false},
                                                                   {Utils::kTaxableSocialSecurity, 940, false},
                                                                   {Utils::kOtherIncome, -990, false}};
    // A return whose filing status is not given counts as joint; a status
    // given only as the Georgia return's item counts as given.
    const auto item = [](int status) {
        return "<PULLCOMMON FORM=\"F1\" ITEM=\"federal-filing-status\">" + std::to_string(status) + "</PULLCOMMON>";
    };
    const std::tuple<std::string, std::string, bool> statuses[] = {{filingStatus(3), "", false},
                                                                   {filingStatus(2), "", true},
                                                                   {"", "", true},
                                                                   {"", item(1), false},
                                                                   {"", item(2), true}};
    for (const auto& [status, seed, joint] : statuses) {
        const auto c = parsed(status + fields, seed);
        for (const auto& [item, amount, split] : rows) {
            EXPECT_EQ(derivedItem(c, item), split && joint ? std::nullopt : std::optional(amount)) << status << seed;
        }
        EXPECT_EQ(PersistanceMgmt::coupleAmountsToSplit(c).size(), joint ? 3u : 0u) << status << seed;
    }
    // The item gives the federal return its filing status too.
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(library().federal, pool));
    PlainStateReturn georgia(federal, library().georgia, pool);
    PersistanceMgmt::ReturnFile::apply(parsed(fields, item(4)), federal.get(), &georgia);
    EXPECT_EQ(federal->getFilingStatusNumber(), 4);
}

// The main form filed (form 104 box 181: 1040A, 183: 1040EZ) answers the items from its own lines and boxes,
// whatever another main form beside it holds; a split item's field is the couple's on a joint return.
TEST(CommonItems, TheMainFormFiledAnswersItsItems) {
    const auto form = [](const char* name, std::initializer_list<const char*> fields) {
        std::string text = std::string("<FORM DEVNAME=\"") + name + "\">";
        for (const char* f : fields) text += std::string("<FIELD><ID>") + f + "</VALUE></FIELD>";
        return text + "</FORM>";
    };
    const auto filedOn = [](const char* box) {
        return std::string("<FORM DEVNAME=\"F104\"><FIELD><ID>") + box + "</ID><VALUE>X</VALUE></FIELD></FORM>";
    };
    const std::string names1040 = form("F1", {"89</ID><VALUE>5000", "121</ID><VALUE>X"});
    const struct {
        const char* what;
        std::string federal;
        Utils::PCTypes item;
        std::optional<std::int64_t> value;  // nullopt: not derived
    } rows[] = {
        {"1040A pension", filingStatus(1) + filedOn("181") + names1040 + form("F55", {"127</ID><VALUE>20000"}),
         Utils::kPensionsTaxpayer, 20000},
        {"1040A IRA", filingStatus(1) + filedOn("181") + form("F55", {"125</ID><VALUE>7000"}),
         Utils::kIraDistributionsTaxpayer, 7000},
        {"1040A social security", filedOn("181") + form("F55", {"129</ID><VALUE>3000"}), Utils::kTaxableSocialSecurity,
         3000},
        {"1040A capital gains", filedOn("181") + form("F55", {"286</ID><VALUE>400"}), Utils::kCapitalGains, 400},
        {"1040A joint pension", filingStatus(2) + filedOn("181") + form("F55", {"127</ID><VALUE>20000"}),
         Utils::kPensionsTaxpayer, std::nullopt},
        {"1040A spouse's box", filingStatus(2) + filedOn("181") + form("F55", {"84</ID><VALUE>X"}),
         Utils::kSpouseAged65, 1},
        {"1040A spouse's box, the taxpayer", filingStatus(2) + filedOn("181") + form("F55", {"84</ID><VALUE>X"}),
         Utils::kTaxpayerAged65, 0},
        {"1040A taxpayer's box, the spouse", filingStatus(2) + filedOn("181") + form("F55", {"82</ID><VALUE>X"}),
         Utils::kSpouseAged65, 0},
        {"1040A beside form 1040's box", filedOn("181") + names1040 + form("F55", {}), Utils::kTaxpayerAged65, 0},
        {"1040EZ beside form 1040's box", filedOn("183") + names1040, Utils::kTaxpayerAged65, std::nullopt},
        {"1040EZ beside form 1040's pension", filingStatus(1) + filedOn("183") + names1040, Utils::kPensionsTaxpayer,
         std::nullopt},
        {"1040 beside form 1040A's pension", filingStatus(1) + names1040 + form("F55", {"127</ID><VALUE>20000"}),
         Utils::kPensionsTaxpayer, 5000},
    };
    for (const auto& row : rows) EXPECT_EQ(derivedItem(parsed(row.federal), row.item), row.value) << row.what;
    const auto couple = PersistanceMgmt::coupleAmountsToSplit(parsed(rows[4].federal));
    ASSERT_EQ(couple.size(), 1u);
    EXPECT_EQ(couple[0].form, &PersistanceMgmt::kForm1040A);
    EXPECT_EQ(couple[0].amount, 20000);
}

// The "65 or over" box of form 1040 and a birth date of form 92.
std::string aged65(const char* box, bool marked, const char* birthField, const char* born) {
    return std::string("<FORM DEVNAME=\"F1\">") +
           (marked ? std::string("<FIELD><ID>") + box + "</ID><VALUE>X</VALUE></FIELD>" : "") +
           "</FORM><FORM DEVNAME=\"F92\"><FIELD><ID>" + birthField + "</ID><VALUE>" + born + "</VALUE></FIELD></FORM>";
}

// Without form 1040, filed on form 1040A (form 104 box 181) or 1040EZ (183); a filer born in 1950 unless said.
std::string without1040(const char* box, const char* birthField, const std::string& more = "",
                        const char* born = "06/01/1950") {
    return std::string("<FORM DEVNAME=\"F104\"><FIELD><ID>") + box + "</ID><VALUE>X</VALUE></FIELD></FORM>" +
           "<FORM DEVNAME=\"F92\"><FIELD><ID>" + birthField + "</ID><VALUE>" + born + "</VALUE></FIELD></FORM>" + more;
}

// A 1099-INT with its box 1 and box 3 (each unless empty), marked as the
// spouse's or not.
std::string interest(int copy, bool spouses, const std::string& box1, const std::string& box3) {
    const auto field = [](const char* id, const std::string& value) {
        return value.empty() ? std::string()
                             : "<FIELD><ID>" + std::string(id) + "</ID><VALUE>" + value + "</VALUE></FIELD>";
    };
    return "<FORM DEVNAME=\"F166\" COPY=\"" + std::to_string(copy) + "\">" + field("3", spouses ? "X" : "") +
           field("10", box1) + field("12", box3) + "</FORM>";
}

// Form 1040A's box 82 (the taxpayer 65 or over) and its field 127 (taxable pensions).
const std::string k1040ABox82 = "<FORM DEVNAME=\"F55\"><FIELD><ID>82</ID><VALUE>X</VALUE></FIELD></FORM>";
const std::string k1040APension = "<FORM DEVNAME=\"F55\"><FIELD><ID>127</ID><VALUE>20000</VALUE></FIELD></FORM>";

// A 1099-R marked as the spouse's.
const std::string kSpouses1099R = "<FORM DEVNAME=\"F84\"><FIELD><ID>2</ID><VALUE>X</VALUE></FIELD></FORM>";

// A federal return and the Georgia host's seeds, and the refusal they get.
struct ContradictionRow {
    const char* what;
    std::string federal, georgiaHost;
    std::string refusal;  // empty: accepted
};

// The documents' owners, the dependents, and the filers 65 or over.
std::vector<ContradictionRow> ownerAndAgeRows() {
    return {
        {"the spouse's W-2 on a single return", filingStatus(1) + w2(1, "spouse", "1"), "",
         "form F52 copy 1: OWNER \"spouse\", but the federal return is not a joint return (filing status 1)"},
        {"the spouse's 1099-R on a separate return", filingStatus(3) + kSpouses1099R, "",
         "derived.xml:1: form F84 copy 1 field 2: the 1099-R is marked as the spouse's, but the federal return is not "
         "a joint return (filing status 3): every 1099-R is the taxpayer's; the spouse's belongs on the spouse's own "
         "return"},
        {"the spouse's 1099-R on a joint return", filingStatus(2) + kSpouses1099R, "", ""},
        {"one dependent's number on two copies", dependent(1, "X", "400-00-1111") + dependent(3, "NO", " 400001111 "),
         "",
         "derived.xml:2: form F113 copy 3 field 1106: the dependent's number 400001111 is that of copy 1 too: each "
         "dependent is given once (remove one of the two copies)"},
        {"two dependents", dependent(1, "X", "400-00-1111") + dependent(2, "X", "400-00-1112"), "", ""},
        {"a dependent numbered as the spouse",
         "<FORM DEVNAME=\"F92\"><FIELD><ID>8</ID><VALUE>400-00-1112</VALUE></FIELD></FORM>" +
             dependent(2, "X", "400001112"),
         "",
         "form F113 copy 2 field 1106: the dependent's number 400001112 is the spouse's own (form F92 "
         "field 8): a filer is no dependent of the return"},
        {"an owner of another form", "<FORM DEVNAME=\"F166\" OWNER=\"spouse\"/>", "",
         "OWNER applies to the copies of the W-2 (federal form F52) only"},
        {"an owner that is none", w2(1, "both", "1"), "", "OWNER \"both\" is not taxpayer or spouse"},
        {"born in 1950, the box unmarked", aged65("121", false, "9", "06/01/1950"), "",
         "form F1 field 121: the taxpayer's box \"65 or over\" is not marked, but the taxpayer's birth date "
         "06/01/1950 (form F92 field 9) makes the taxpayer 65 or over at the end of 2018"},
        {"58, the box marked", aged65("123", true, "10", "03/03/1960"), "",
         "the spouse's box \"65 or over\" is marked, but the spouse's birth date 03/03/1960 (form F92 field 10) "
         "makes the spouse younger than 65"},
        {"born on 1 January 1954: 65", aged65("121", false, "9", "01/01/1954"), "", "makes the taxpayer 65 or over"},
        {"born on 2 January 1954: not yet", aged65("121", true, "9", "01/02/1954"), "", "younger than 65"},
        {"the box agrees with the birth date", aged65("121", true, "9", "01/01/1954"), "", ""},
        // Without form 1040, form 1040A's box or the item marks a filer 65.
        {"a 1040A return whose filer is 65, unmarked", without1040("181", "9"), "",
         "field 9: the taxpayer's birth date 06/01/1950 makes the taxpayer 65 or over at the end of 2018 (65 or "
         "over: born before 01/02/1954), but the return does not mark the taxpayer 65 or over, which gives the "
         "additional standard deduction: mark box 82"},
        {"its box marked",
         without1040("181", "9", "<FORM DEVNAME=\"F55\"><FIELD><ID>82</ID><VALUE>X</VALUE></FIELD></FORM>"), "", ""},
        {"the item seeded", without1040("181", "9"),
         "<PULLCOMMON FORM=\"F55\" ITEM=\"taxpayer-aged-65\">1</PULLCOMMON>", ""},
        {"the spouse", filingStatus(2) + without1040("181", "10"), "",
         "mark the spouse 65 or over, which gives the additional standard deduction: mark box 84"},
        {"a 1040EZ return", without1040("183", "9"), "",
         "form 1040EZ has no such box; seed the item taxpayer-aged-65 as 1"},
        // Born in 1960: neither the box nor the item may mark the filer 65.
        {"a 1040A filer of 58, the box marked",
         without1040("181", "9", "<FORM DEVNAME=\"F55\"><FIELD><ID>82</ID><VALUE>X</VALUE></FIELD></FORM>",
                     "06/01/1960"),
         "", "form F55 field 82: the taxpayer's box \"65 or over\" is marked, but the taxpayer's birth date"},
        // Filed on form 1040A beside form 1040 for the names: judged by form 1040A's box alone.
        {"a 1040A filer of 58 marked on form 1040A, not on form 1040",
         without1040("181", "9", "<FORM DEVNAME=\"F1\"/>" + k1040ABox82, "06/01/1960"), "",
         "form F55 field 82: the taxpayer's box \"65 or over\" is marked"},
        {"a 1040A filer of 66 marked on form 1040A, not on form 1040",
         without1040("181", "9", "<FORM DEVNAME=\"F1\"/>" + k1040ABox82, "06/01/1952"), "", ""},
        {"a 1040A box against the item", without1040("181", "9", k1040ABox82),
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxpayer-aged-65\">0</PULLCOMMON>",
         "item 9 (taxpayer-aged-65) is 0, but the federal return says 1 (field 82 of federal form 55 (form 1040A"},
        {"a seed against form 1040A's pension", filingStatus(1) + without1040("181", "9", k1040APension),
         "<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-taxpayer\">25000</PULLCOMMON>",
         "item 40 (pensions-taxpayer) is 25000, but the federal return says 20000 (field 127 of federal form 55"},
        {"a 1040EZ filer of 58, the item seeded", without1040("183", "9", "", "06/01/1960"),
         "<PULLCOMMON FORM=\"F87\" ITEM=\"taxpayer-aged-65\">1</PULLCOMMON>",
         "but the item taxpayer-aged-65 (1) marks the taxpayer 65 or over"},
    };
}

std::vector<ContradictionRow> contradictionRows() {
    const std::string joint = filingStatus(2) + w2(1, "spouse", "48000");
    std::vector<ContradictionRow> rows = {
        {"a seed that agrees", joint, "<PULLCOMMON FORM=\"F1\" ITEM=\"wages-spouse\">48000</PULLCOMMON>", ""},
        {"the spouse's wages", joint, "<PULLCOMMON FORM=\"F1\" ITEM=\"wages-spouse\">40000</PULLCOMMON>",
         "common item 17 (wages-spouse) is 40000, but the federal return says 48000 (box 1 of the spouse's W-2s"},
        {"the taxable interest", "<FORM DEVNAME=\"F166\"><FIELD><ID>10</ID><VALUE>300</VALUE></FIELD></FORM>",
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxable-interest\">750</PULLCOMMON>",
         "common item 18 (taxable-interest) is 750, but the federal return says 300 (boxes 1 and 3 of the filers' "
         "1099-INT"},
        {"the taxable interest before its adjustment",
         "<FORM DEVNAME=\"F166\"><FIELD><ID>10</ID><VALUE>1400</VALUE></FIELD><FIELD><ID>27</ID><VALUE>400</VALUE>"
         "</FIELD></FORM>",
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxable-interest\">1400</PULLCOMMON>",
         "taxable-interest) is 1400, but the federal return says 1000 (boxes 1 and 3 of the filers' 1099-INT copies, "
         "federal form 166, less the part of each copy's adjustment (field 27)"},
        {"the W-2 split", joint, "<W2SPLIT FORM=\"F52\" FIELD=\"21\" TAXPAYER=\"48000\" SPOUSE=\"0\"/>",
         "derived.xml:1: form F52: the W-2 split of field 21 gives the taxpayer 48000 and the spouse 0, but the "
         "federal return's W-2s give 0 and 48000 (box 1 of each W-2 by its owner)"},
        {"the taxable social security", form1040({"94</ID><VALUE>25000"}),
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxable-social-security\">20000</PULLCOMMON>",
         "derived.xml:1: form F1: common item 58 (taxable-social-security) is 20000, but the federal return says "
         "25000 (field 94 of federal form 1 (federal form 1040 line 5b))"},
        {"one item seeded for two main forms", "",
         "<PULLCOMMON FORM=\"F55\" ITEM=\"federal-agi\">1</PULLCOMMON><PULLCOMMON FORM=\"1\" "
         "ITEM=\"federal-agi\">2</PULLCOMMON>",
         "item 80 (federal-agi) is given twice (first at line 1, for form F55): FORM=\"F1\", \"F55\" and \"F87\" all "
         "seed the item of the main form the return is filed on"},
        {"an empty field of form 1040 leaves the seed", form1040({"94</ID><VALUE>"}),
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxable-social-security\">20000</PULLCOMMON>", ""},
        {"a taxable amount of form 1040 below 0", form1040({"94</ID><VALUE>-1"}), "",
         "derived.xml:1: form F1 copy 1 field 94 (kF1_WorksheetLine67): amount \"-1\" is below 0 (the field takes 0 or "
         "more)"},
        {"a split that agrees", joint, "<W2SPLIT FORM=\"F52\" FIELD=\"21\" TAXPAYER=\"0\" SPOUSE=\"48000\"/>", ""},
        {"a split whose taxpayer's share agrees and the spouse's does not",
         filingStatus(2) + w2(1, "spouse", "2000") + w2(2, "taxpayer", "48000"),
         "<W2SPLIT FORM=\"F52\" FIELD=\"21\" TAXPAYER=\"48000\" SPOUSE=\"2000.01\"/>",
         "gives the taxpayer 48000 and the spouse 2000.01, but the federal return's W-2s give 48000 and 2000"},
        {"a joint return counts boxes 1 and 3 of the spouse's 1099-INT",
         filingStatus(2) + interest(1, true, "300", "700"),
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxable-interest\">300</PULLCOMMON>",
         "taxable-interest) is 300, but the federal return says 1000"},
        {"a separate return leaves out both boxes of the spouse's 1099-INT",
         filingStatus(3) + interest(1, true, "300", "700") + interest(2, false, "", "5"),
         "<PULLCOMMON FORM=\"F1\" ITEM=\"taxable-interest\">1005</PULLCOMMON>",
         "taxable-interest) is 1005, but the federal return says 5"},
        {"a split that agrees to the cent (in binary 0.01 + 2.34 + 0.15 is 2.4999999999999996)",
         filingStatus(1) + w2(1, "", "0.01") + w2(2, "", "2.34") + w2(3, "", "0.15"),
         "<W2SPLIT FORM=\"F52\" FIELD=\"21\" TAXPAYER=\"2.50\" SPOUSE=\"0\"/>", ""},
        {"a split a cent off", filingStatus(1) + w2(1, "", "0.01") + w2(2, "", "2.34") + w2(3, "", "0.15"),
         "<W2SPLIT FORM=\"F52\" FIELD=\"21\" TAXPAYER=\"2.49\" SPOUSE=\"0\"/>",
         "gives the taxpayer 2.49 and the spouse 0, but the federal return's W-2s give 2.5 and 0"},
    };
    for (ContradictionRow& row : ownerAndAgeRows()) rows.push_back(std::move(row));
    return rows;
}

TEST(CommonItems, ASeedOrAFederalReturnThatContradictsTheFederalReturnIsRefused) {
    for (const ContradictionRow& row : contradictionRows()) {
        try {
            parsed(row.federal, row.georgiaHost);
            EXPECT_EQ(row.refusal, "") << row.what << ": accepted";
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_NE(row.refusal, "") << row.what << ": " << e.getMessage();
            // A refusal given from the file's name on is the whole message.
            const bool whole = row.refusal.rfind("derived.xml:", 0) == 0;
            EXPECT_TRUE(whole ? e.getMessage() == row.refusal : e.getMessage().find(row.refusal) != std::string::npos)
                << row.what << ": " << e.getMessage();
        }
    }
}

TEST(CommonItems, NamesAreUniqueAndFoundInAnyCase) {
    for (const auto& item : PersistanceMgmt::commonItemTable()) {
        EXPECT_EQ(PersistanceMgmt::findCommonItem(item.name), &item) << item.name;
        EXPECT_EQ(PersistanceMgmt::findCommonItem(item.type), &item) << item.name;
        EXPECT_LE(item.min, item.max) << item.name;
    }
    EXPECT_EQ(PersistanceMgmt::findCommonItem("FEDERAL-AGI")->type, Utils::kFederalAgi);
}

// Every amount or count that the module names in platform/CommonItems.h can
// be seeded by name: it has its row in the items table. (The texts and boxes
// are answered from the federal forms' fields.) The enumerators are read
// from the header itself, so that one added without its row shows here.
TEST(CommonItems, EveryNamedItemHasItsRow) {
    std::ifstream header(GA_SOURCE_DIR "/platform/CommonItems.h");
    ASSERT_TRUE(header.good());
    const std::regex enumerator(R"(^\s*(k\w+)\s*=\s*(\d+)\s*,)");
    int named = 0;
    std::string line;
    while (std::getline(header, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, enumerator)) continue;
        const int type = std::stoi(m[2]);
        if (PersistanceMgmt::isFederalFieldItem(type)) continue;
        ++named;
        EXPECT_NE(PersistanceMgmt::findCommonItem(type), nullptr) << m[1] << " (item " << type << ") has no row";
    }
    EXPECT_EQ(named, static_cast<int>(PersistanceMgmt::commonItemTable().size()));
}

}  // namespace
