// The shared constants built when the module loads: identifiers, tax-year
// strings, session-property names and the build number.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "module/frame/BuildNumber.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/SessionPropertyNames.h"
#include "module/frame/TaxYearStrings.h"
#include "module/frame/TopicIdentifiers.h"

namespace {

// Each rule of a return with a spouse takes its own set of status numbers.
TEST(FrameConstants, SpouseRulesTakeTheirOwnStatusNumbers) {
    std::string bothFilers, spouseAmounts, spouseId, federalSpouse;
    for (int n = 0; n <= 10; ++n) {
        const std::string digit = std::to_string(n);
        bothFilers += FilingStatus::namesBothFilers(n) ? digit : "";
        spouseAmounts += FilingStatus::addsSpouseAmounts(n) ? digit : "";
        spouseId += FilingStatus::carriesSpouseId(n) ? digit : "";
        federalSpouse += FederalFilingStatus::listsSpouse(n) ? digit : "";
    }
    EXPECT_EQ(bothFilers, "02");
    EXPECT_EQ(spouseAmounts, "028");
    EXPECT_EQ(spouseId, "0289");
    EXPECT_EQ(federalSpouse, "23");
}

TEST(FrameConstants, FormNumbersNameDifferentFormsOnEitherSide) {
    EXPECT_NE(kStateForm2ID, kForm2ID);
    EXPECT_NE(kStateForm3ID, kForm3ID);
    EXPECT_NE(kGAForm71ID, kForm71ID);
    EXPECT_NE(kGAForm75ID, kForm75ID);
    EXPECT_EQ(kStateForm2ID.getNumber(), kForm2ID.getNumber());
}

TEST(FrameConstants, GroupsHoldOneHundredAndFiveDistinctIdentifiers) {
    EXPECT_EQ(GAFormIdentifiers.size() + StateFormIdentifiers.size() + FederalFormIdentifiers.size() +
                  GATopicIdentifiers.size() + XSTopicIdentifiers.size(),
              105u);

    std::set<std::pair<int, bool>> forms;
    for (const auto& id : GAFormIdentifiers) {
        EXPECT_TRUE(id.isState()) << id.getNumber();
        forms.insert({id.getNumber(), id.isState()});
    }
    for (const auto& id : StateFormIdentifiers) {
        EXPECT_TRUE(id.isState()) << id.getNumber();
        forms.insert({id.getNumber(), id.isState()});
    }
    int previous = 0;
    for (const auto& id : FederalFormIdentifiers) {
        EXPECT_FALSE(id.isState()) << id.getNumber();
        EXPECT_GT(id.getNumber(), previous) << "federal forms are defined in ascending order";
        previous = id.getNumber();
        forms.insert({id.getNumber(), id.isState()});
    }
    EXPECT_EQ(forms.size(), 78u) << "no form is named twice";

    std::set<std::pair<int, int>> topics;
    for (const auto& id : GATopicIdentifiers) {
        EXPECT_EQ(id.getLocality(), Primitives::kLocalityGeorgia);
        topics.insert({id.getNumber(), id.getLocality()});
    }
    for (const auto& id : XSTopicIdentifiers) {
        EXPECT_EQ(id.getLocality(), Primitives::kLocalityCrossState);
        topics.insert({id.getNumber(), id.getLocality()});
    }
    EXPECT_EQ(topics.size(), 27u);
}

TEST(FrameConstants, TopicsWithOneNumberDifferByLocality) {
    EXPECT_EQ(kGATopicID_gainfo.getNumber(), 18);
    EXPECT_EQ(kXSTopicID_Credits.getNumber(), 18);
    EXPECT_NE(kGATopicID_gainfo, kXSTopicID_Credits);
}

TEST(FrameConstants, LongYearStringHasNoPaddingOrRangeCheck) {
    EXPECT_EQ(LongYearString(2018), "2018");
    EXPECT_EQ(LongYearString(99), "99");
    EXPECT_EQ(LongYearString(-5), "-5");
}

TEST(FrameConstants, TaxYearTexts) {
    EXPECT_EQ(kTaxYear, "2018");
    EXPECT_EQ(kTaxYearMinus4, "2014");
    EXPECT_EQ(kTaxYearPlus2, "2020");
    EXPECT_EQ(kTaxYearCStr, kTaxYear.c_str()) << "points into the string of this source file";
    EXPECT_STREQ(kTaxYearShortCStr, "18");
    EXPECT_EQ(kTaxYearShortCStr, kTaxYearCStr + 2) << "shares the string's terminating zero";
    EXPECT_STREQ(kTaxYearPlus1ShortCStr, "19");
    EXPECT_STREQ(kTaxYearPlus2ShortCStr, "20");
    EXPECT_STREQ(kTaxYearMinus2ShortCStr, "16");
    EXPECT_STREQ(kTaxYearMinus3ShortCStr, "15");
}

TEST(FrameConstants, SessionPropertyNamesAndBuildNumber) {
    EXPECT_EQ(kUiPropImportStatus, "ui_prop_import_status");
    EXPECT_EQ(kUiPropLlyStatus, "ui_prop_lly_status");
    EXPECT_EQ(BuildNumberString, "5901");
    EXPECT_EQ(std::atoi(BuildNumberString.c_str()), 5901);
}

}  // namespace
