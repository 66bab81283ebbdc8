// The field-relation tester over whole calculations of a Georgia return.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "autotest_fixture.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm71FieldIds.h"

namespace autotesttest {
namespace {

const auto& f69 = kGAForm69FieldIds;
const auto& f70 = kGAForm70FieldIds;

// Records, at each whole-return calculation, whether the trigger box is
// ticked and form 70's taxable income overridden; fails on request.
class SpyEngine : public GACalculationMgmt::GATaxReturnCalcEngine {
public:
    using GATaxReturnCalcEngine::GATaxReturnCalcEngine;

    void calculateReturn(int value) override {
        seen.emplace_back(gaReturn()->formYes(kGAForm69ID, 1, f69.f72403),
                          gaReturn()->getFormOrCreate(kGAForm70ID, 1)->isOverridden(f70.f83));
        if (fail) {
            throw Exceptions::QuarloException("calculation failed", "SpyEngine", "calculateReturn");
        }
        GATaxReturnCalcEngine::calculateReturn(value);
    }

    std::vector<std::pair<bool, bool>> seen;
    bool fail = false;
};

class FieldRelationsTest : public AutoTestFixture {
protected:
    FieldRelationsTest()
        : spy(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(), TaxFormPrintMgmt::TaxFormPrinterPtr()) {
        gaReturn()->setPullCommon(kForm1ID, Utils::PCTypes::kFederalFilingStatus, 1);
    }
    // Runs the relations with the busy mark of form 69 as the trigger box.
    std::string run(const std::string& forms, const std::string& relations) {
        spy.runFieldRelations(writeFile("forms.txt", forms), writeFile("relations.xml", relations), path("result.txt"),
                              gaReturn(), kGAForm69ID, f69.f72403);
        return readFile(path("result.txt"));
    }

    SpyEngine spy;
};

// The short name of a field in the form definitions, which the relations
// file names it by.
std::string shortName(const FormId& form, const FieldId& field) {
    return gaenginetest::definitions().georgia->getTaxFormDescriptor(form)->getFieldDesc(field)->getShortName();
}

std::string lowerCased(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string fieldElement(const char* form, const std::string& name, const char* value, const char* type = nullptr) {
    std::string element =
        std::string("<FIELD FORM=\"") + form + "\" COPY=\"1\" NAME=\"" + name + "\" VALUE=\"" + value + "\"";
    return element + (type != nullptr ? std::string(" TYPE=\"") + type + "\"" : std::string()) + "/>";
}

// Taxable income 44,700 of a single filer, forced, and the done mark ticked;
// expected: the tax on it and the trigger box.
const std::string kTaxRelation =
    "<RELATIONS><RELATION>" + fieldElement("GA70", shortName(kGAForm70ID, f70.f83), "44700", "InputOverride") +
    fieldElement("GA69", shortName(kGAForm69ID, f69.f72404), "X", "Input") +
    fieldElement("GA70", shortName(kGAForm70ID, f70.f84), "2495", "Expected") +
    fieldElement("GA69", shortName(kGAForm69ID, f69.f72403), "") + "</RELATION></RELATIONS>";

TEST_F(FieldRelationsTest, InputsThenExpectedAgainstComputed) {
    const std::string line = "44700::X::2495|2495[N]::|[B]\n";
    EXPECT_EQ(run("GA70\nGA69\n", kTaxRelation), line);
    // Two calculations, each with the trigger ticked and the input forced;
    // afterwards neither mark stays, the inputs do.
    EXPECT_EQ(spy.seen, (std::vector<std::pair<bool, bool>>{{true, true}, {true, true}}));
    EXPECT_FALSE(ga->formYes(kGAForm69ID, 1, f69.f72403));
    EXPECT_FALSE(ga->getForm(kGAForm70ID, 1)->isOverridden(f70.f83));
    EXPECT_EQ(ga->getIN(kGAForm70ID, 1, f70.f83), 44700);
    EXPECT_TRUE(ga->formYes(kGAForm69ID, 1, f69.f72404));
    // A second run appends its line.
    EXPECT_EQ(run("GA70\nGA69\n", kTaxRelation), line + line);
}

TEST_F(FieldRelationsTest, NamesThatFindNothingKeepTheColumnsInStep) {
    // The forms list is read line by line, whole: " GA69 " names no form.
    const std::string tax = shortName(kGAForm70ID, f70.f84);
    const std::string result = run(
        "ga70\n GA69 \nGA71\n",
        "<RELATIONS><RELATION>" + fieldElement("ga70", tax, "a", "input") +
            fieldElement("GA70", lowerCased(tax), "b", "") +
            fieldElement("GA69", shortName(kGAForm69ID, f69.f72403), "c") + "<FIELD FORM=\"GA71\" COPY=\"2\" NAME=\"" +
            shortName(kGAForm71ID, kGAForm71FieldIds.f3) + "\" VALUE=\"d\"/>" + "</RELATION><RELATION>" +
            fieldElement("GA69", shortName(kGAForm69ID, f69.f72404), "7", "Input") +
            fieldElement("Nowhere", "F1", "8", "Input") + "<FIELD FORM=\"GA71\" COPY=\"65537\" NAME=\"" +
            shortName(kGAForm71ID, kGAForm71FieldIds.f3) + "\" VALUE=\"e\" TYPE=\"Input\"/>" +
            "</RELATION><RELATION/><OTHER><RELATION/></OTHER></RELATIONS>");
    EXPECT_EQ(result, "a|0[N]::b|[N]::c|[N]::d|[T]\n7::8::e\n\n");
    EXPECT_FALSE(ga->formYes(kGAForm69ID, 1, f69.f72404));  // GA69 is not listed
    EXPECT_FALSE(ga->formExists(kGAForm71ID, 1));           // 65537 is no copy
}

TEST_F(FieldRelationsTest, AFailedCalculationPutsTheMarksBack) {
    spy.fail = true;
    EXPECT_THROW(run("GA70\nGA69\n", kTaxRelation), Exceptions::QuarloException);
    EXPECT_FALSE(ga->formYes(kGAForm69ID, 1, f69.f72403));
    EXPECT_FALSE(ga->getForm(kGAForm70ID, 1)->isOverridden(f70.f83));
}

TEST_F(FieldRelationsTest, ARelationsFileWithoutRootWritesNothing) {
    EXPECT_EQ(run("GA70\n", "<RELATIONS>"), "");
    EXPECT_TRUE(spy.seen.empty());
    EXPECT_TRUE(std::filesystem::exists(path("result.txt")));
}

}  // namespace
}  // namespace autotesttest
