// The module's macro expander: the filers' names and their defaults, the
// state's texts, the e-file text, the office locator address, and the refusal
// of a second return that is not a state return.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/interview/StateMacroExpander.h"
#include "tests/interview/interview_fixture.h"

namespace {

using StateMacroExpansionMgmt::StateMacroExpander;

// A Georgia return whose e-file total-tax text is padded with blanks.
class PaddedEFileReturn : public GADataMgmt::GATaxReturn {
public:
    using GATaxReturn::GATaxReturn;
    void getEFileInfo(std::string& text, long* amount, std::uint32_t item) override {
        GATaxReturn::getEFileInfo(text, amount, item);
        text = " \t" + text + "  ";
    }
};

class MacroTest : public interviewtest::StoreFixture {};

TEST_F(MacroTest, FilersNamesOrTheirDefaults) {
    StateMacroExpander expander(federal_, gaHandle_);
    using E = StateMacroExpander;
    const struct {
        std::string (E::*expand)();
        bool spouse;
        const char* otherwise;
    } expansions[] = {
        {&E::expandTPNameOrYouIC, false, "You"},
        {&E::expandTPNameOrYou, false, "you"},
        {&E::expandSPNameOrSpouseIC, true, "Spouse"},
        {&E::expandSPNameOrYourSpouse, true, "your spouse"},
        {&E::expandSPNameOrMySpouseIC, true, "My spouse"},
        {&E::expandSPNameOrYourSpouseIC, true, "Your spouse"},
        {&E::expandSPNameOrYourSpouseTitle, true, "Your Spouse"},
    };
    for (const auto& e : expansions) EXPECT_EQ((expander.*e.expand)(), e.otherwise);

    // Names are returned as read: case and blanks kept.
    setText(kGAForm69ID, kGAForm69FieldIds.f21, "pat ");
    setText(kGAForm69ID, kGAForm69FieldIds.f26, "Lee-Ann");
    for (const auto& e : expansions) EXPECT_EQ((expander.*e.expand)(), e.spouse ? "Lee-Ann" : "pat ");
}

TEST_F(MacroTest, StateTextsAndFixedTexts) {
    StateMacroExpander expander(federal_, gaHandle_);
    EXPECT_EQ(expander.expandStateName(), "Georgia");
    EXPECT_EQ(expander.expandStateAbbreviation(), "GA");
    EXPECT_EQ(expander.expandReturnTitle(), "Georgia Return");
    EXPECT_EQ(expander.expandStateWord(), "state");
    EXPECT_EQ(expander.expandPrintExtraPageCount(), "NYI - expandPrintExtraPageCount");
    EXPECT_EQ(expander.expandEFileCost1a(), "NYI - expandEFileCost1a");
    EXPECT_EQ(expander.expandTransmitStatusInfo(), "NYI - expandTransmitStatusInfo");
    std::string address;
    ga_->getMailingAddress(address, 0);
    EXPECT_EQ(expander.expandMailingAddress(), address);
    EXPECT_FALSE(address.empty());
}

TEST_F(MacroTest, EFileTextIsTheTotalTaxWithoutSurroundingBlanks) {
    DataMgmt::TaxReturnPtr padded(new PaddedEFileReturn(federal_, frametest::definitions().georgia, pool_));
    padded->getFormUVPtr(kGAForm70ID, 1, true)->setValue(kGAForm70FieldIds.f84, DataMgmt::FieldValue::number(2495));
    StateMacroExpander expander(federal_, padded);
    EXPECT_EQ(expander.expandEFileInfoText(), "2,495");
}

TEST_F(MacroTest, OfficeLocatorLosesItsSchemeAndComesFromTheFirstReturn) {
    const struct {
        const char* address;
        const char* expected;
    } cases[] = {
        {"https://dor.georgia.gov/locations", "dor.georgia.gov/locations"},
        {"dor.georgia.gov", "dor.georgia.gov"},  // no "/": unchanged
        {"//host/path", "host/path"},
        {"dor.georgia.gov/", ""},  // nothing after the "/"
        {"a/b", ""},               // the one character after the "/" goes too
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StateMacroExpansionMgmt::dropLocatorScheme(c.address), c.expected) << c.address;

    federal_->setOfficeLocatorURL("https://federal.example/offices");
    ga_->setOfficeLocatorURL("https://state.example/offices");
    EXPECT_EQ(StateMacroExpander(federal_, gaHandle_).expandOfficeLocatorURL(), "federal.example/offices");
    DataMgmt::TaxReturnPtr noFirst;
    EXPECT_EQ(StateMacroExpander(noFirst, gaHandle_).expandOfficeLocatorURL(), "");
}

TEST_F(MacroTest, ASecondReturnThatIsNotAStateReturnIsRefused) {
    DataMgmt::TaxReturnPtr empty;
    EXPECT_THROW(StateMacroExpander(federal_, federal_), std::bad_cast);
    EXPECT_THROW(StateMacroExpander(federal_, empty), Exceptions::QuarloException);
}

}  // namespace
