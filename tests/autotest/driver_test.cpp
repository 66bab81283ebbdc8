// The test driver and its hooks at the end of whole-return calculations,
// steered by option files in a scratch root.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "autotest_fixture.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/catalogues/StateForm32783FieldIds.h"

namespace autotesttest {
namespace {

namespace fs = std::filesystem;
const auto& f69 = kGAForm69FieldIds;

const char* const kClearedFile =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n</AUTOTESTOPTIONS>\n";

class DriverTest : public AutoTestFixture {
protected:
    void SetUp() override {
        AutoTestFixture::SetUp();
        DataMgmt::QuarloConfiguration* config = DataMgmt::QuarloConfiguration::getInstance();
        config->setAllowAutoTest(true);
        config->autoTestRoot = dir;
        fs::create_directory(optionsDir());
        engine.setReturnName("ret");
    }
    void TearDown() override {
        DataMgmt::QuarloConfiguration::getInstance()->resetToDefaults();
        AutoTestFixture::TearDown();
    }
    std::string optionsDir() const { return path("AutoTest_QV"); }
    void writeOptionFile(const std::string& name, const std::map<std::string, std::string>& options) {
        std::string text = "<AUTOTESTOPTIONS>";
        for (const auto& [key, value] : options) text += "<" + key + ">" + value + "</" + key + ">";
        writeFile("AutoTest_QV/" + name, text + "</AUTOTESTOPTIONS>");
    }
    void options(const std::map<std::string, std::string>& values) {
        writeOptionFile("QuarloAutoTest_QVQA.xml", values);
    }
    void clear(const std::string& name, const std::string& value) { writeOptionFile(name, {{"CLEAR", value}}); }
    std::string optionFile(const std::string& name) const { return readFile(path("AutoTest_QV/" + name)); }
    void mark(const FieldId& field, bool on) {
        ga->getFormOrCreate(kGAForm69ID, 1)->setValue(field, FieldValue::box(on));
    }
    bool marked(const FieldId& field) const { return ga->formYes(kGAForm69ID, 1, field); }
    // The options that ask for the list of all field names into names/all.txt.
    std::map<std::string, std::string> allNames(const std::string& yes = "Yes") const {
        return {
            {"GAOUTPUTALLFIELDS", yes}, {"GAOUTPUTALLFIELDSFILE", "all.txt"}, {"GAOUTPUTALLFIELDSDIR", path("names")}};
    }
    bool namesWritten() const { return fs::exists(path("names/all.txt")); }
    void calculate() { engine.calculateReturn(0); }
};

TEST_F(DriverTest, AClearFileResetsOnceAndThePassRunsAtOnce) {
    mark(f69.f72404, true);
    clear("GAQuarloAutoTest_Clear.xml", "Yes");
    options(allNames());
    calculate();
    EXPECT_TRUE(namesWritten());
    EXPECT_EQ(optionFile("GAQuarloAutoTest_Clear.xml"), kClearedFile);
    EXPECT_TRUE(marked(f69.f72404));
    // The next calculation finds the pass done.
    fs::remove(path("names/all.txt"));
    calculate();
    EXPECT_FALSE(namesWritten());
}

TEST_F(DriverTest, ADoneMarkStopsBeforeTheOptionsAreRead) {
    mark(f69.f72404, true);
    calculate();
    EXPECT_TRUE(fs::exists(optionsDir()));  // not even the empty directory goes
    mark(f69.f72404, false);
    calculate();
    EXPECT_FALSE(fs::exists(optionsDir()));  // empty: removed
    EXPECT_FALSE(marked(f69.f72404));        // and no feature ran
}

TEST_F(DriverTest, OnlyAnExactYesCounts) {
    for (const char* yes : {"yes", "Yes ", " Yes", "YES"}) {
        options(allNames(yes));
        calculate();
        EXPECT_FALSE(namesWritten()) << yes;
    }
    // The key must be the whole tag: GAOUTPUTALLFIELDSFILE is not GAOUTPUTALLFIELDS.
    options({{"GAOUTPUTALLFIELDSFILE", "Yes"}, {"GAOUTPUTALLFIELDSDIR", path("names")}});
    calculate();
    EXPECT_FALSE(namesWritten());
    EXPECT_FALSE(marked(f69.f72404));
}

TEST_F(DriverTest, ABusyMarkSkipsEveryFeatureWhileClearFilesAct) {
    mark(f69.f72403, true);
    mark(f69.f72404, true);
    for (const char* name : {"GAQuarloAutoTest_Clear.xml", "GAQuarloAutoTest_Clear_Scrubber.xml",
                             "GAQuarloAutoTest_Clear_CFVDaemon.xml"}) {
        clear(name, "Yes");
    }
    auto chosen = allNames();
    chosen.insert({{"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", writeFile("groups.xml", "<FIELDGROUPS/>")}});
    chosen.insert({{"GAGENERATECYCLEDAEMON", "Yes"}, {"GAOUTPUTDIRDAEMON", path("daemon")}});
    options(chosen);
    calculate();
    EXPECT_FALSE(namesWritten());
    EXPECT_FALSE(fs::exists(path("daemon")));
    EXPECT_FALSE(marked(f69.f72404));  // the scrubber would have set it
    EXPECT_EQ(optionFile("GAQuarloAutoTest_Clear.xml"), kClearedFile);
    EXPECT_EQ(optionFile("GAQuarloAutoTest_Clear_Scrubber.xml"), kClearedFile);
    EXPECT_NE(optionFile("GAQuarloAutoTest_Clear_CFVDaemon.xml"), kClearedFile);
}

TEST_F(DriverTest, TheDaemonDumpsAfterEveryCalculationWhileItsClearFileSaysYes) {
    clear("GAQuarloAutoTest_Clear_CFVDaemon.xml", "Yes");
    options({{"GAGENERATECYCLEDAEMON", "Yes"}, {"GAOUTPUTDIRDAEMON", path("daemon")}});
    for (int pass = 0; pass < 2; ++pass) {
        fs::remove(path("daemon/ret.xml"));
        calculate();
        EXPECT_TRUE(fs::exists(path("daemon/ret.xml"))) << pass;
        EXPECT_TRUE(marked(f69.f72404));
    }
}

TEST_F(DriverTest, TheImportAloneRunsAtEveryCalculation) {
    const std::string name = gaenginetest::definitions()
                                 .georgia->getTaxFormDescriptor(kGAForm73ID)
                                 ->getFieldDesc(kGAForm73FieldIds.f138855)
                                 ->getShortName();
    options({{"GAIMPORTFIELDS", "Yes"}, {"GAFIELDLIST", writeFile("import.txt", "GA73::1::" + name + "::AL\n")}});
    for (int pass = 0; pass < 2; ++pass) {
        calculate();
        EXPECT_EQ(ga->formString(kGAForm73ID, 1, kGAForm73FieldIds.f138855), "AL") << pass;
        ga->getFormOrCreate(kGAForm73ID, 1)->setValue(kGAForm73FieldIds.f138855, FieldValue::text("FL"));
    }
    EXPECT_FALSE(marked(f69.f72404));
}

// Each feature takes its own options, in the order its operation wants
// them, and the relation test and the scrubber each end the pass.
TEST_F(DriverTest, EachFeatureTakesItsOwnOptions) {
    const auto pass = [&](const std::map<std::string, std::string>& chosen) {
        mark(f69.f72404, false);
        options(chosen);
        calculate();
    };
    pass({{"ORVANETABLE", "Yes"},
          {"ORVANEFLOOR", "200"},
          {"ORVANECEILING", "400"},
          {"ORVANEINCREMENT", "100"},
          {"GAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"},
          {"GAOUTPUTALLFIELDSFORSINGLEFORMTARGET", "ga71"},
          {"GAOUTPUTALLFIELDSFORSINGLEFORMFILE", "one.txt"},
          {"GAOUTPUTALLFIELDSFORSINGLEFORMDIR", path("names")}});
    std::istringstream check(readFile(path("temp/OrvaneTables.doc")));
    std::vector<std::string> incomes;
    for (std::string line; std::getline(check, line);) incomes.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(incomes, (std::vector<std::string>{"INCOME", "", "200", "300", "400"}));
    EXPECT_EQ(readFile(path("names/one.txt")).rfind("kGA71_", 0), 0u);

    pass({{"GAFIELDRELATION", "Yes"},
          {"GAFIELDRELATIONFORMSAFFECTED", writeFile("forms.txt", "GA70\n")},
          {"GAFIELDRELATIONINPUTFIELDS", writeFile("relations.xml", "<RELATIONS><RELATION/></RELATIONS>")},
          {"GAFIELDRELATIONOUTPUTFIELDS", path("result.txt")}});
    EXPECT_EQ(readFile(path("result.txt")), "\n");  // one relation without fields
    EXPECT_TRUE(marked(f69.f72404));

    pass({{"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", writeFile("groups.xml", "<FIELDGROUPS/>")}});
    EXPECT_TRUE(marked(f69.f72404));
}

TEST_F(DriverTest, BothReturnDocumentsInOnePass) {
    options({{"GAGENERATECYCLE", "Yes"},
             {"GAOUTPUTDIR", path("whole")},
             {"GAOUTPUTFIELDVALUES", "Yes"},
             {"GAOUTPUTFIELDVALUESDIR", path("values")}});
    calculate();
    EXPECT_NE(readFile(path("whole/ret.xml")).find("<RETURNNAME><![CDATA[ret]]></RETURNNAME>"), std::string::npos);
    EXPECT_NE(readFile(path("values/ret.xml")).find("<FORM DEVNAME=\"GA70\" COPY=\"1\">"), std::string::npos);
    EXPECT_TRUE(marked(f69.f72404));
    EXPECT_FALSE(marked(f69.f72403));
}

// With automated testing allowed and nothing asked, a calculation runs to
// its end and gives what it gives with testing off.
TEST_F(DriverTest, TheCalculationRunsToItsEnd) {
    gaReturn()->setPullCommon(kForm1ID, Utils::PCTypes::kFederalAgi, 52000);
    DataMgmt::QuarloConfiguration::getInstance()->setAllowAutoTest(false);
    calculate();
    std::vector<std::string> before;
    for (const FieldId& field : {kGAForm70FieldIds.f83, kGAForm70FieldIds.f84, kGAForm70FieldIds.f106}) {
        before.push_back(ga->formString(kGAForm70ID, 1, field));
    }
    ga->deleteForm(kStateForm32783ID, 1);
    DataMgmt::QuarloConfiguration::getInstance()->setAllowAutoTest(true);
    calculate();
    std::vector<std::string> after;
    for (const FieldId& field : {kGAForm70FieldIds.f83, kGAForm70FieldIds.f84, kGAForm70FieldIds.f106}) {
        after.push_back(ga->formString(kGAForm70ID, 1, field));
    }
    EXPECT_EQ(after, before);
    EXPECT_TRUE(ga->isDataEntered(kStateForm32783ID, 1));  // after the hooks, afterCalc ran
}

}  // namespace
}  // namespace autotesttest
