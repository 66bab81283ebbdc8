// The host's printer bases: print flags, the lists of forms to print and to
// audit, the print-list walk and the short printed date.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "tests/frame/FrameFixture.h"

namespace {

using Form = Primitives::QVImmutableFormIdentifier;

class StatePrinter : public frametest::ReturnFixture {
protected:
    GATaxFormPrintMgmt::GATaxFormPrinter printer_{ga_};
};

TEST_F(StatePrinter, PrintFlagIsTheCopysCalculatedFlag) {
    EXPECT_FALSE(printer_.isPrintFlagSet(kGAForm73ID, 1)) << "no copy";
    copy(kGAForm73ID, 1);
    copy(kGAForm73ID, 2)->setCalculatedFlag(true);
    EXPECT_FALSE(printer_.isPrintFlagSet(kGAForm73ID, 1));
    EXPECT_TRUE(printer_.isPrintFlagSet(kGAForm73ID, 2));
    EXPECT_TRUE(printer_.shouldPrintCopy(kGAForm73ID, 2, 7));
    EXPECT_TRUE(printer_.anyCopyShouldPrint(kGAForm73ID));
    // Form 70 is taken from copy 1 alone: a further copy, flagged, does not print.
    copy(kGAForm70ID, 2)->setCalculatedFlag(true);
    EXPECT_TRUE(printer_.isPrintFlagSet(kGAForm70ID, 2));
    EXPECT_FALSE(printer_.shouldPrintCopy(kGAForm70ID, 2, 7));
    EXPECT_FALSE(printer_.anyCopyShouldPrint(kGAForm70ID));
    EXPECT_FALSE(printer_.anyCopyShouldPrint(kGAForm69ID));
    EXPECT_FALSE(ga_->formExists(kGAForm69ID, 1)) << "asking makes no copy";
}

TEST_F(StatePrinter, FormsToPrintHoldsOnlyFlaggedForms) {
    copy(kGAForm69ID)->setCalculatedFlag(true);
    copy(kGAForm70ID)->setCalculatedFlag(true);
    copy(kGAForm71ID);  // not flagged
    copy(kGAForm73ID, 2)->setCalculatedFlag(true);
    copy(kStateForm4ID, 2)->setCalculatedFlag(true);  // taken from copy 1 alone

    StateTaxFormPrintMgmt::FormIdList forms{kForm1ID};
    signed char count = -1;
    signed char second = 9;
    printer_.formsToPrint(forms, count, second, 2);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(printer_.lastPrintPurpose(), 2);
    ASSERT_EQ(forms.size(), 3u) << "the list is refilled, not appended to";
    EXPECT_NE(std::find(forms.begin(), forms.end(), kGAForm69ID), forms.end());
    EXPECT_NE(std::find(forms.begin(), forms.end(), kGAForm70ID), forms.end());
    EXPECT_NE(std::find(forms.begin(), forms.end(), kGAForm73ID), forms.end());
}

TEST_F(StatePrinter, FormsToAuditHoldsEveryFormWithACopyAscending) {
    copy(kGAForm189215ID);
    copy(kGAForm70ID);
    copy(kStateForm14ID);
    StateTaxFormPrintMgmt::FormIdList forms;
    signed char count = 0;
    signed char second = 5;
    printer_.formsToAudit(forms, count, second);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(forms, (StateTaxFormPrintMgmt::FormIdList{kStateForm14ID, kGAForm70ID, kGAForm189215ID}));
}

TEST_F(StatePrinter, PrinterWithoutAReturnPrintsNothing) {
    GATaxFormPrintMgmt::GATaxFormPrinter none(nullptr);
    copy(kGAForm70ID)->setCalculatedFlag(true);
    EXPECT_FALSE(none.isPrintFlagSet(kGAForm70ID, 1));
    StateTaxFormPrintMgmt::FormIdList forms;
    signed char count = 1;
    signed char second = 1;
    none.formsToPrint(forms, count, second, 0);
    EXPECT_TRUE(forms.empty());
    EXPECT_EQ(count, 0);
    none.formsToAudit(forms, count, second);
    EXPECT_TRUE(forms.empty());
}

// ---- the print-list walk

std::array<Utils::printFormInfo, 6> printList() {
    std::array<Utils::printFormInfo, 6> list{};
    list[0].form = kGAForm77ID;
    list[1].form = kGAForm70ID;
    list[2].form = kGAForm69ID;
    list[3].count = 3;           // the end entry: form 0
    list[4].form = kGAForm73ID;  // past the end entry: never reached
    return list;
}

TEST_F(StatePrinter, WalkStartsAtTheFirstEntryAndEndsAtTheEndEntry) {
    const auto list = printList();
    Form next;
    EXPECT_TRUE(printer_.getNextForm(list, Form(0), next, 0));
    EXPECT_EQ(next, kGAForm77ID);
    EXPECT_TRUE(printer_.getNextForm(list, kGAForm77ID, next, 4));
    EXPECT_EQ(next, kGAForm70ID);
    EXPECT_TRUE(printer_.getNextForm(list, kGAForm70ID, next, 1));
    EXPECT_EQ(next, kGAForm69ID);
    EXPECT_FALSE(printer_.getNextForm(list, kGAForm69ID, next, 5));
    EXPECT_EQ(next.getNumber(), 0);
    // A form not in the list (or only past its end) starts again at the top.
    EXPECT_TRUE(printer_.getNextForm(list, kGAForm73ID, next, 0));
    EXPECT_EQ(next, kGAForm77ID);
    EXPECT_TRUE(printer_.getNextForm(list, kForm1ID, next, 0)) << "federal form 1 is not Georgia form 1";
}

TEST_F(StatePrinter, WalkOfAListWithoutEndEntryStopsAtItsEnd) {
    std::array<Utils::printFormInfo, 2> list{};
    list[0].form = kGAForm70ID;
    list[1].form = kGAForm69ID;
    Form next;
    EXPECT_FALSE(printer_.getNextForm(list, kGAForm69ID, next, 0));
    EXPECT_FALSE(printer_.getNextForm(std::span<const Utils::printFormInfo>(), Form(0), next, 0));
}

// ---- the printed date

std::string shortDate(const char* text, std::size_t cap = 32) {
    char buffer[32] = {};
    std::strncpy(buffer, text, sizeof buffer - 1);
    TaxFormPrintMgmt::TaxFormPrinter printer(static_cast<DataMgmt::TaxReturn*>(nullptr));
    printer.adjustFTPrintedDate(buffer, cap, 'D');
    return buffer;
}

TEST(PrintedDate, FullDatesBecomeEightCharacters) {
    EXPECT_EQ(shortDate("03/15/2018"), "03/15/18");
    EXPECT_EQ(shortDate("2018-12-01"), "12/01/18");
    EXPECT_EQ(shortDate("3/15/2018"), "3/15/2018") << "not a full date";
    EXPECT_EQ(shortDate("03/15/18"), "03/15/18");
    EXPECT_EQ(shortDate("not a day"), "not a day");
    EXPECT_EQ(shortDate("99/99/2018"), "99/99/2018");
    EXPECT_EQ(shortDate("03/15/2018", 8), "03/15/2018") << "no room for the short form: left alone";
}

}  // namespace
