// The Georgia return's answers read from the store: filing status, federal
// form, summary lines, mailing addresses, worksheets, form 14 boxes, choice
// lists, and the fixed answers of the state.

#include <gtest/gtest.h>

#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm203639FieldIds.h"
#include "module/catalogues/GAForm203811FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/catalogues/StateForm4FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "tests/frame/FrameFixture.h"

namespace {

using frametest::ReturnFixture;
const auto& f69 = kGAForm69FieldIds;
const auto& f70 = kGAForm70FieldIds;
const auto& f215 = kGAForm189215FieldIds;
const auto& f217 = kGAForm189217FieldIds;

class GAReturnAnswers : public ReturnFixture {};

TEST_F(GAReturnAnswers, FixedAnswersOfTheState) {
    std::string text = "previous";
    ga_->getStateCode(text);
    EXPECT_EQ(text, "GA");
    ga_->getStateName(text);
    EXPECT_EQ(text, "Georgia");
    EXPECT_EQ(ga_->getStateNumber(), 11);
    EXPECT_EQ(ga_->getModuleCode(), 0x51563049);  // "QV0I"
    EXPECT_EQ(ga_->getModuleCodeAlt(), ga_->getModuleCode());

    EXPECT_EQ(ga_->getMainForm(), kGAForm70ID);
    EXPECT_TRUE(ga_->getMainForm().isState());
    EXPECT_EQ(ga_->getMainFormID(), ga_->getMainForm());
    EXPECT_EQ(ga_->getInfoForm(), kGAForm69ID);
    EXPECT_TRUE(ga_->getInfoForm().isState());

    // The name and number fields of form 69; fields 22 and 27 (between each
    // first and last name) have no operation.
    const std::pair<Primitives::QVImmutableIdentifier, int> nameFields[] = {
        {ga_->getTaxpayerFirstNameField(), 21},
        {ga_->getTaxpayerLastNameField(), 23},
        {ga_->getTaxpayerSuffixField(), 24},
        {ga_->getTaxpayerSsnField(), 25},
        {ga_->getSpouseFirstNameField(), 26},
        {ga_->getSpouseLastNameField(), 28},
        {ga_->getSpouseSuffixField(), 29},
        {ga_->getSpouseSsnField(), 30},
        {ga_->getInfoKeyField(), 7},
    };
    for (const auto& [field, number] : nameFields) {
        EXPECT_EQ(field.getNumber(), number);
    }
}

TEST_F(GAReturnAnswers, FilingStatusFromTheLetterOfForm70) {
    EXPECT_EQ(ga_->getFilingStatusNumber(), 1) << "no copy of form 70";
    EXPECT_FALSE(ga_->formExists(kGAForm70ID, 1)) << "asking must not create the copy";

    const std::pair<const char*, int> cases[] = {{"A", 1}, {"B", 2},  {"C", 3}, {"D", 4},
                                                 {"b", 1}, {"B ", 1}, {"E", 1}, {"AB", 1}};
    for (const auto& [letter, expected] : cases) {
        setText(kGAForm70ID, f70.f44, letter);
        EXPECT_EQ(ga_->getFilingStatusNumber(), expected) << '"' << letter << '"';
        EXPECT_EQ(ga_->getFilingStatus(kGAForm70ID), expected) << '"' << letter << '"';
    }
    copy(kGAForm70ID)->setNull(f70.f44);
    EXPECT_EQ(ga_->getFilingStatusNumber(), 1) << "empty field";
}

TEST_F(GAReturnAnswers, FederalFormFiledFromTheInformationFormBoxes) {
    EXPECT_EQ(ga_->getFederalFormID(), kForm1ID) << "no copy of form 69";
    setBox(kGAForm69ID, f69.f48, true);
    EXPECT_EQ(ga_->getFederalFormID(), kForm87ID);
    setBox(kGAForm69ID, f69.f47, true);
    EXPECT_EQ(ga_->getFederalFormID(), kForm55ID) << "box 47 is asked first";
    setBox(kGAForm69ID, f69.f47, false);
    setBox(kGAForm69ID, f69.f48, false);
    EXPECT_EQ(ga_->getFederalFormID(), kForm1ID) << "boxes marked no";
    EXPECT_FALSE(ga_->getFederalFormID().isState());
}

TEST_F(GAReturnAnswers, SummaryLinesFollowTheResidencyColumn) {
    setNumber(kGAForm70ID, f70.f62, 50000);
    setNumber(kGAForm70ID, f70.f64, 48000);
    setNumber(kGAForm70ID, f70.f79, 300);
    setNumber(kGAForm70ID, f70.f72, 20);
    setNumber(kGAForm70ID, f70.f82, 7);
    setNumber(kStateForm4ID, kStateForm4FieldIds.f115, 61000);
    setNumber(kGAForm189217ID, f217.f189451, 34500);
    setNumber(kGAForm189217ID, f217.f189453, 4567);
    setNumber(kGAForm189217ID, f217.f189460, 88);
    setNumber(kGAForm189217ID, f217.f189471, 99);

    // Not a full-year resident: lines 1, 2, 4, 5 and 6 come from the
    // worksheets; form 70 does not hold the Georgia income of such a return.
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 1), 61000);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 2), 34500);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 4), 4567);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 5), 88);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 6), 99);

    setBox(kGAForm69ID, f69.f110, true);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 1), 50000);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 2), 48000);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 4), 1) << "whatever form 189217 holds";
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 5), 320);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 6), 7);
}

TEST_F(GAReturnAnswers, SummaryLinesOfTheScheduleAndMainForm) {
    setNumber(kGAForm189215ID, f215.f189294, 800);
    setNumber(kGAForm189215ID, f215.f189417, 1000);
    setNumber(kGAForm189215ID, f215.f189372, 100);
    setNumber(kGAForm189215ID, f215.f189334, 30);
    setNumber(kGAForm189215ID, f215.f189338, 5);
    setNumber(kGAForm70ID, f70.f84, 2345);
    setNumber(kGAForm70ID, f70.f106, 12);
    setNumber(kGAForm70ID, f70.f107, 34);

    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 8), 35);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 14), 30);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 15), 5);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 16), 100);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 20), 865) << "1000 - 100 - 30 - 5";
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 21), 800) << "the additions";
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 22), 1000) << "the subtractions";
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 23), 2345);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 26), 34);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 27), 12);

    // Lines without a field, and numbers outside 1 to 27.
    for (int line : {0, -1, 17, 28, 1000}) {
        EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, line), 0) << "line " << line;
    }
    // The form and copy arguments are not read.
    EXPECT_EQ(ga_->getLineValue(kForm1ID, 7, 23), 2345);

    // Amounts are 64-bit: a total beyond the 32-bit range is not cut.
    setNumber(kGAForm70ID, f70.f84, 5000000000.0);
    EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, 23), 5000000000L);
}

TEST_F(GAReturnAnswers, EachSummaryLineOfOneFieldReadsItsOwn) {
    struct Row {
        int line;
        Primitives::QVImmutableFormIdentifier form;
        Primitives::QVImmutableIdentifier field;
    };
    const Row rows[] = {
        {2, kGAForm70ID, f70.f64},           {3, kGAForm70ID, f70.f83},           {7, kGAForm70ID, f70.f327},
        {9, kGAForm70ID, f70.f87},           {10, kGAForm70ID, f70.f101},         {11, kGAForm189215ID, f215.f189266},
        {12, kGAForm189215ID, f215.f189281}, {13, kGAForm189215ID, f215.f189293}, {14, kGAForm189215ID, f215.f189334},
        {15, kGAForm189215ID, f215.f189338}, {16, kGAForm189215ID, f215.f189372}, {18, kGAForm189215ID, f215.f189378},
        {19, kGAForm189215ID, f215.f189408}, {21, kGAForm189215ID, f215.f189294}, {22, kGAForm189215ID, f215.f189417},
        {23, kGAForm70ID, f70.f84},          {24, kGAForm70ID, f70.f86},          {25, kGAForm70ID, f70.f98},
        {26, kGAForm70ID, f70.f107},         {27, kGAForm70ID, f70.f106},
    };
    // A value of its own in each field, so that a line reading another
    // line's field shows; a full-year resident's, whose line 2 is form 70's.
    setBox(kGAForm69ID, f69.f110, true);
    for (const Row& row : rows) setNumber(row.form, row.field, 100 + row.line);
    for (const Row& row : rows) {
        EXPECT_EQ(ga_->getLineValue(kGAForm70ID, 1, row.line), 100 + row.line) << "line " << row.line;
    }
}

const char kBox740380[] = "Processing Center\nGeorgia Department of Revenue\nP.O. Box 740380\nAtlanta, GA  30374-0380";
const char kBox740399[] = "Processing Center\nGeorgia Department of Revenue\nP.O. Box 740399\nAtlanta, GA  30374-0399";
const char kBox740323[] = "Processing Center\nGeorgia Department of Revenue\nP.O. Box 740323\nAtlanta, GA  30374-0323";

TEST_F(GAReturnAnswers, MailingAddressByKindAndBalance) {
    std::string out = "stale";
    ga_->getMailingAddress(out, 0);
    EXPECT_EQ(out, kBox740380) << "no refund and nothing owed";

    setNumber(kGAForm70ID, f70.f106, 40);
    ga_->getMailingAddress(out, 0);
    EXPECT_EQ(out, kBox740399) << "an amount owed";

    setNumber(kGAForm70ID, f70.f107, 10);
    ga_->getMailingAddress(out, 0);
    EXPECT_EQ(out, kBox740380) << "a refund wins over the amount owed";

    ga_->getMailingAddress(out, 2);
    EXPECT_EQ(out, kBox740323);
    for (int kind : {1, 3, -1}) {
        out = "stale";
        ga_->getMailingAddress(out, kind);
        EXPECT_EQ(out, "") << "kind " << kind;
    }
    EXPECT_EQ(std::string(kBox740380).size(), 87u) << "the longest address fits 88 bytes with its zero";
}

TEST_F(GAReturnAnswers, OptionalWorksheetsAndInformationBox) {
    EXPECT_EQ(ga_->isForm2Needed(), TopicMgmt::kTopicStatusNotNeeded);
    EXPECT_EQ(ga_->isForm3Needed(), TopicMgmt::kTopicStatusNotNeeded);
    EXPECT_FALSE(ga_->formExists(kStateForm2ID, 1)) << "asking must not create the copy";
    copy(kStateForm2ID);
    EXPECT_EQ(ga_->isForm2Needed(), TopicMgmt::kTopicStatusNeeded);
    EXPECT_EQ(ga_->isForm3Needed(), TopicMgmt::kTopicStatusNotNeeded);
    copy(kStateForm3ID);
    EXPECT_EQ(ga_->isForm3Needed(), TopicMgmt::kTopicStatusNeeded);

    EXPECT_EQ(ga_->isInfoBoxNeeded(), TopicMgmt::kTopicStatusNotNeeded);
    setBox(kGAForm69ID, f69.f111, true);
    EXPECT_EQ(ga_->isInfoBoxNeeded(), TopicMgmt::kTopicStatusNeeded) << "only field 111 yes";
    setBox(kGAForm69ID, f69.f111, false);
    setBox(kGAForm69ID, f69.f112, true);
    EXPECT_EQ(ga_->isInfoBoxNeeded(), TopicMgmt::kTopicStatusNeeded) << "only field 112 yes";
}

TEST_F(GAReturnAnswers, StateForm14ResidencyBoxes) {
    const auto& f14 = kStateForm14FieldIds;
    DataMgmt::TaxFormPtr form14 = copy(kStateForm14ID);
    form14->setValue(f14.f9015, DataMgmt::FieldValue::box(true));

    ga_->setStateForm14Boxes(true);
    EXPECT_FALSE(form14->xMarked(f14.f9015));
    EXPECT_TRUE(form14->xMarked(f14.f14454));
    EXPECT_TRUE(form14->isNull(f14.f9016)) << "true leaves field 9016 as it was";

    ga_->setStateForm14Boxes(false);
    EXPECT_TRUE(form14->xMarked(f14.f9016));
    EXPECT_FALSE(form14->xMarked(f14.f9015));
    EXPECT_FALSE(form14->xMarked(f14.f14454));
}

// ---- choice lists

class GAChoiceLists : public ReturnFixture {
protected:
    Properties::DisplayValuePairs listOf(const Primitives::QVImmutableFormIdentifier& form,
                                         const Primitives::QVImmutableIdentifier& field) {
        DataMgmt::TaxFormPtr c = copy(form);
        DataMgmt::FormFieldPtr f = c->getField(field);
        Properties::DisplayValuePairs pairs;
        pairs.addPair("left over");
        ga_->getFieldDisplayValuePairs(c, f, pairs);
        return pairs;
    }
};

TEST_F(GAChoiceLists, CreditTypeFieldsListEveryCreditAfterAnEmptyEntry) {
    for (const auto& [form, field] : {std::pair{kGAForm189216ID, kGAForm189216FieldIds.f203018},
                                      std::pair{kGAForm203811ID, kGAForm203811FieldIds.f203840}}) {
        const Properties::DisplayValuePairs pairs = listOf(form, field);
        ASSERT_EQ(pairs.size(), 42u) << "form " << form.getNumber();
        EXPECT_EQ(pairs.at(0).value, "");
        EXPECT_EQ(pairs.at(0).display, "");
        EXPECT_EQ(pairs.at(1).value, "101 - Employer's Credit for Basic Skills Education");
        EXPECT_EQ(pairs.at(1).display, "Employer's Credit for Basic Skills Education");
        EXPECT_EQ(pairs.at(14).value, "114J - Port Activity Job Tax Credit");
        EXPECT_EQ(pairs.at(41).value, "144 - Post-Consumer Waste Material Credit");
        EXPECT_EQ(pairs.at(41).display, "Post-Consumer Waste Material Credit");
    }
}

TEST_F(GAChoiceLists, EntityTypeFieldListsFourEntries) {
    const Properties::DisplayValuePairs pairs = listOf(kGAForm203639ID, kGAForm203639FieldIds.f203793);
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs.at(0).value, "");
    EXPECT_EQ(pairs.at(1).value, "Partnership or LLC");
    EXPECT_EQ(pairs.at(1).display, "Partnership or LLC");
    EXPECT_EQ(pairs.at(2).value, "S Corporation");
    EXPECT_EQ(pairs.at(3).value, "Trust or Estate");
}

TEST_F(GAChoiceLists, OtherFieldsGetTheHostsListFromAnEmptyList) {
    // Another field of a form that has a choice list, and a field of a form
    // that has none: the old entries are gone and the host adds nothing.
    EXPECT_EQ(listOf(kGAForm203811ID, kGAForm203811FieldIds.f203841).size(), 0u);
    EXPECT_EQ(listOf(kGAForm70ID, f70.f44).size(), 0u);
}

}  // namespace
