// Returns: copies and their numbers, handles, sums over copies, copying
// fields between forms, the kinds of return, the save and data-entered marks.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/Configuration.h"
#include "tests/platform/store_fixture.h"

namespace storetest {
namespace {

using ReturnTest = StoreTest;

TEST_F(ReturnTest, CopiesKeepTheirNumbers) {
    DataMgmt::TaxFormPtr third = georgia->getFormUVPtr(kST2, 3, true);
    ASSERT_FALSE(third.isNull());
    EXPECT_EQ(third->getCopyNumber(), 3);
    EXPECT_EQ(georgia->getFormCount(kST2), 1);
    EXPECT_FALSE(georgia->formExists(kST2, 1));
    EXPECT_EQ(georgia->getFormUVPtr(kST2, 3, true).get(), third.get());  // no second copy 3

    georgia->getFormUVPtr(kST2, 1, true);
    EXPECT_EQ(georgia->numFormCopies(kST2), 2);
    georgia->deleteForm(kST2, 1);
    EXPECT_EQ(georgia->getFormCount(kST2), 1);
    EXPECT_EQ(georgia->getForm(kST2, 3).get(), third.get());  // not renumbered
    georgia->deleteForm(kST2, 2);                             // missing: ignored
    EXPECT_EQ(georgia->copyNumbers(kST2), std::vector<std::uint16_t>{3});
}

TEST_F(ReturnTest, CreatedCopiesTakeTheNextNumberUpToTheLimit) {
    EXPECT_EQ(georgia->getMaxCopies(kST2), 3);
    EXPECT_EQ(georgia->createForm(kST2)->getCopyNumber(), 1);
    georgia->getFormUVPtr(kST2, 2, true);
    EXPECT_EQ(georgia->createForm(kST2)->getCopyNumber(), 3);
    EXPECT_TRUE(georgia->createForm(kST2).isNull());  // past the limit
    EXPECT_TRUE(georgia->getFormUVPtr(kST2, 4, true).isNull());
    EXPECT_TRUE(georgia->getFormUVPtr(kST2, 0, true).isNull());
    EXPECT_EQ(georgia->getFormCount(kST2), 3);

    georgia->deleteForm(kST2, 2);
    EXPECT_TRUE(georgia->createForm(kST2).isNull());  // highest is still 3

    DataMgmt::TaxFormPtr made = georgia->getFormOrCreate(kST14, 1);
    EXPECT_TRUE(georgia->formExists(kST14, 1));
    EXPECT_EQ(georgia->getForm(kST14, 1).get(), made.get());
    EXPECT_TRUE(georgia->getForm(kST14, 2).isNull());
}

TEST_F(ReturnTest, CopiesAreWalkedInAscendingNumber) {
    georgia->getFormUVPtr(kST2, 3, true)->assignIR(FieldID(1), 3);
    georgia->getFormUVPtr(kST2, 1, true)->assignIR(FieldID(1), 1);
    std::vector<std::uint16_t> seen;
    DataMgmt::TaxFormIter it = georgia->getForms(kST2);
    for (; !it.atEOL(); it.next()) {
        seen.push_back(it.getTaxForm()->getCopyNumber());
    }
    EXPECT_EQ(seen, (std::vector<std::uint16_t>{1, 3}));
    EXPECT_TRUE(it.getTaxForm().isNull());
    it.next();  // stays at the end
    EXPECT_TRUE(it.atEOL());
    it.begin();
    EXPECT_EQ(it.getTaxForm()->getCopyNumber(), 1);
    EXPECT_TRUE(georgia->getForms(kST14).atEOL());

    // Every copy of every form, each once; a form without copies adds none.
    georgia->getFormUVPtr(kGA70, 1, true);
    std::vector<std::pair<int, std::uint16_t>> all;
    georgia->forEachCopy([&all](DataMgmt::TaxForm& copy) {
        all.emplace_back(copy.getFormID().getNumber(), copy.getCopyNumber());
        copy.setCalculatedFlag(true);
    });
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::pair<int, std::uint16_t>>{{2, 1}, {2, 3}, {70, 1}}));
    EXPECT_TRUE(georgia->getForm(kST2, 3)->calculatedFlag());
}

// A copy made before its form's description grew reads the new field as
// null and takes its value and marks; what it held stays, texts included.
TEST_F(ReturnTest, ACopyMadeBeforeItsFormGrewTakesTheNewField) {
    DataMgmt::TaxFormPtr copy = georgia->getFormUVPtr(kST2, 1, true);
    copy->setValue(3, FieldValue::text("First Bank"));
    copy->setValue(1, FieldValue::number(12.5));
    DataMgmt::FormFieldPtr payer = copy->getField(FieldID(3));
    georgia->getTaxFormDescriptor(kST2)->addField(field(5, FieldKind::Text, 30));

    EXPECT_TRUE(copy->getValue(5).isNull());
    EXPECT_FALSE(copy->isOverridden(5));
    copy->setValue(5, FieldValue::text("Second Bank"));
    copy->setOverridden(5, true);
    EXPECT_EQ(copy->getValue(5).getText(), "Second Bank");
    EXPECT_TRUE(copy->isOverridden(5));
    EXPECT_EQ(payer->getValue().getText(), "First Bank");
    EXPECT_EQ(copy->getValue(1).getNumber(), 12.5);
    EXPECT_TRUE(georgia->getFormUVPtr(kST2, 2, true)->getValue(5).isNull());
}

TEST_F(ReturnTest, FormKindsOfAReturn) {
    ga70();
    georgia->getFormUVPtr(kST2, 2, true);
    georgia->getFormUVPtr(kST14, 1, true);
    georgia->deleteForm(kST14, 1);
    std::vector<std::int32_t> forms;
    for (DataMgmt::TaxFormIterIter it = georgia->getForms(); !it.atEOL(); it.next()) {
        forms.push_back(it.getFormID().getNumber());
        EXPECT_FALSE(it.getTaxFormIter().atEOL());
    }
    EXPECT_EQ(forms, (std::vector<std::int32_t>{2, 70}));
}

TEST_F(ReturnTest, HandlesCountTheirHolders) {
    DataMgmt::TaxFormPtr copy = georgia->getFormUVPtr(kST2, 1, true);
    EXPECT_EQ(copy.useCount(), 2);  // the return's and ours
    {
        DataMgmt::TaxFormPtr again = georgia->getForm(kST2, 1);
        EXPECT_EQ(copy.useCount(), 3);
    }
    EXPECT_EQ(copy.useCount(), 2);
    {
        DataMgmt::TaxFormIter it = georgia->getForms(kST2);
        EXPECT_EQ(copy.useCount(), 3);
    }
    EXPECT_EQ(copy.useCount(), 2);

    georgia->deleteForm(kST2, 1);
    EXPECT_EQ(copy.useCount(), 1);
    EXPECT_FALSE(copy->isAttached());
    copy->assignIR(FieldID(1), 5);  // still usable, belongs to no return
    EXPECT_EQ(copy->getIN(FieldID(1)), 5);
    EXPECT_FALSE(georgia->formExists(kST2, 1));
}

TEST_F(ReturnTest, AFieldHandleOutlivesItsReturn) {
    DataMgmt::FormFieldPtr field;
    {
        DataMgmt::TaxReturnPtr fed(new DataMgmt::USTaxReturn(federalDesc(), pool));
        DataMgmt::TaxFormPtr copy = fed->getFormUVPtr(kF1, 1, true);
        copy->assignIR(FieldID(30), 50000);
        field = copy->getField(FieldID(30));
    }
    EXPECT_EQ(field->getLongValue(), 50000);
}

TEST_F(ReturnTest, SumsOverAllCopies) {
    georgia->getFormUVPtr(kST2, 1, true)->assignIR(FieldID(1), 10.5);
    georgia->getFormUVPtr(kST2, 2, true)->assignIR(FieldID(1), 10.5);
    georgia->getFormUVPtr(kST2, 3, true);
    EXPECT_EQ(georgia->getAllCopies(kST2, FieldID(1)), 22);  // 11 + 11 + 0
    EXPECT_EQ(georgia->getAllCopies(kST14, FieldID(9015)), 0);
}

TEST_F(ReturnTest, ReadsOfOneFormInARowFindEachCopy) {
    // Copies 1 and 3 with a gap between: reads of the same form one after
    // another find each copy, read a missing one as null, and see a copy
    // made or deleted between two reads.
    georgia->getFormUVPtr(kST2, 1, true)->assignIR(FieldID(1), 10);
    georgia->getFormUVPtr(kST2, 3, true)->assignIR(FieldID(1), 30);
    const std::vector<std::pair<std::uint16_t, std::int64_t>> reads = {{1, 10}, {2, 0}, {3, 30},
                                                                       {4, 0},  {0, 0}, {1, 10}};
    for (const auto& [copy, expected] : reads) {
        EXPECT_EQ(georgia->getIN(kST2, copy, FieldID(1)), expected) << "copy " << copy;
    }
    georgia->getFormUVPtr(kST2, 2, true)->assignIR(FieldID(1), 20);
    EXPECT_EQ(georgia->getIN(kST2, 2, FieldID(1)), 20);
    georgia->deleteForm(kST2, 3);
    EXPECT_EQ(georgia->getIN(kST2, 3, FieldID(1)), 0);
    EXPECT_QUARLO_THROW(georgia->getIN(kST2, 1, FieldID(999)), "has no field");
}

TEST_F(ReturnTest, KeyedSumsOverCopies) {
    const FieldID value(1), key(2), other(4);
    for (int c = 1; c <= 3; ++c) {
        DataMgmt::TaxFormPtr copy = georgia->getFormUVPtr(kST2, static_cast<std::uint16_t>(c), true);
        copy->assignIR(value, 100 * c);
        copy->assignIR(key, c == 2 ? 6 : 1);
    }
    georgia->getForm(kST2, 3)->setX(other);
    EXPECT_EQ(
        georgia->maybeGetFromAllCopies(kST2, value, key, 1, Primitives::kNullFieldID, 0, Primitives::kNullFieldID, 0),
        400);
    EXPECT_EQ(georgia->maybeGetFromAllCopies(kST2, value, key, 6), 200);
    EXPECT_EQ(georgia->maybeGetFromAllCopies(kST2, value, key, 1, other, 1), 300);
    EXPECT_EQ(georgia->maybeGetFromAllCopies(kST2, value, key, 9), 0);
    EXPECT_EQ(georgia->maybeGetFromAllCopies(kST2, value, Primitives::kNullFieldID, 0), 600);
}

TEST_F(ReturnTest, GetIICopiesEveryKindFromCopyOne) {
    DataMgmt::TaxFormPtr source = ga70();
    source->assignIR(FieldID(1), 1234.56);
    source->assignText(FieldID(51), "Jane Q Public");
    source->setXNo(FieldID(30));
    DataMgmt::TaxFormPtr target = georgia->getFormUVPtr(kST2, 2, true);
    target->assignIR(FieldID(2), 9);

    georgia->getII(kGA70, FieldID(1), target, FieldID(1));
    georgia->getII(kGA70, FieldID(51), target, FieldID(3));
    georgia->getII(kGA70, FieldID(30), target, FieldID(4));
    georgia->getII(kGA70, FieldID(2), target, FieldID(2));  // null source
    EXPECT_DOUBLE_EQ(target->getIR(FieldID(1)), 1234.56);
    EXPECT_EQ(target->valueString(FieldID(3)), "Jane Q Public");
    EXPECT_TRUE(target->getValue(FieldID(4)).boxNo());
    EXPECT_TRUE(target->isNull(FieldID(2)));
}

TEST_F(ReturnTest, GetIIFromAMissingCopyMakesTheTargetNull) {
    DataMgmt::TaxFormPtr target = ga70();
    target->assignIR(FieldID(1), 5);
    georgia->getII(kST2, FieldID(1), target, FieldID(1));
    EXPECT_TRUE(target->isNull(FieldID(1)));
}

TEST_F(ReturnTest, GetIIMReadsTheGivenCopy) {
    georgia->getFormUVPtr(kST2, 1, true)->assignText(FieldID(3), "first");
    georgia->getFormUVPtr(kST2, 2, true)->assignText(FieldID(3), "second");
    DataMgmt::TaxFormPtr target = ga70();
    georgia->getIIM(kST2, FieldID(3), 2, target, FieldID(51));
    EXPECT_EQ(target->valueString(FieldID(51)), "second");
    georgia->getIIM(kST2, FieldID(3), 3, target, FieldID(51));
    EXPECT_TRUE(target->isNull(FieldID(51)));
}

TEST_F(ReturnTest, GetIICutsTextsToTheTargetLength) {
    DataMgmt::TaxFormPtr source = ga70();
    source->assignText(FieldID(51), "Savannah");
    georgia->getII(kGA70, FieldID(51), source, FieldID(50));
    EXPECT_EQ(source->valueString(FieldID(50)), "Savan");
}

TEST_F(ReturnTest, FederalReadsAreForwardedThroughTheStateReturn) {
    DataMgmt::TaxFormPtr f1 = federal->getFormUVPtr(kF1, 1, true);
    f1->assignIR(FieldID(30), 52000);
    f1->assignText(FieldID(6), "Smith");
    f1->setX(FieldID(1));

    EXPECT_EQ(georgia->getIN(kF1, 1, FieldID(30)), 52000);
    EXPECT_EQ(georgia->formString(kF1, 1, FieldID(6)), "Smith");
    EXPECT_TRUE(georgia->formYes(kF1, 1, FieldID(1)));
    EXPECT_EQ(georgia->getFormCount(kF1), 1);
    EXPECT_EQ(georgia->getFormUVPtr(kF1, 1, false).get(), f1.get());
    EXPECT_EQ(georgia->getTaxFormDescriptor(kF1)->getDevName(), "F1");
    EXPECT_EQ(georgia->formName(kF1), "Form 1040");
    EXPECT_EQ(georgia->formName(kF92), "Form 92");  // no business name given

    // Federal fields copied into a state copy through the federal return.
    DataMgmt::TaxFormPtr target = ga70();
    federal->getII(kF1, FieldID(30), target, FieldID(1));
    georgia->getII(kF1, FieldID(6), target, FieldID(51));
    EXPECT_EQ(target->getIN(FieldID(1)), 52000);
    EXPECT_EQ(target->valueString(FieldID(51)), "Smith");
}

TEST_F(ReturnTest, WritesOfTheOtherKindOfFormAreRefused) {
    federal->getFormUVPtr(kF1, 1, true);
    EXPECT_QUARLO_THROW(georgia->getFormUVPtr(kF1, 1, true), "cannot be written");
    EXPECT_QUARLO_THROW(georgia->createForm(kF52), "cannot be written");
    EXPECT_QUARLO_THROW(georgia->deleteForm(kF1, 1), "cannot be written");
    EXPECT_QUARLO_THROW(georgia->setXValue(kF1, 1, FieldID(1), true), "cannot be written");
    EXPECT_QUARLO_THROW(georgia->setDataEntered(kF1, 1, true, false), "cannot be written");
    EXPECT_QUARLO_THROW(federal->getFormUVPtr(kGA70, 1, true), "cannot be written");
    EXPECT_FALSE(federal->formYes(kF1, 1, FieldID(1)));  // nothing was marked
    EXPECT_EQ(federal->getFormCount(kF1), 1);
}

TEST_F(ReturnTest, TheFederalReturnHoldsNoStateForms) {
    EXPECT_QUARLO_THROW(federal->getIN(kGA70, 1, FieldID(1)), "cannot be read");
    EXPECT_QUARLO_THROW(federal->getFormCount(kST2), "cannot be read");
}

TEST_F(ReturnTest, AStateReturnWithoutFederalReturnRefusesFederalReads) {
    DataMgmt::TaxReturnPtr none;
    TestStateReturn alone(none, georgiaDesc(), pool);
    EXPECT_EQ(alone.getFederalReturn(), nullptr);
    EXPECT_QUARLO_THROW(alone.getIN(kF1, 1, FieldID(30)), "no federal return");
    EXPECT_EQ(alone.getStateWages('1'), 0.0);
}

TEST_F(ReturnTest, ReturnsAreBuiltOnTheirOwnKindOfDescription) {
    EXPECT_THROW(DataMgmt::USTaxReturn(georgiaDesc(), pool), Exceptions::QuarloException);
    EXPECT_THROW(TestStateReturn(federal, federalDesc(), pool), Exceptions::QuarloException);
    EXPECT_THROW(TestStateReturn(georgia, georgiaDesc(), pool), Exceptions::QuarloException);
    EXPECT_THROW(DataMgmt::TaxReturn(DataMgmt::TaxReturnDescPtr(), pool), Exceptions::QuarloException);
}

TEST_F(ReturnTest, SaveNeededFollowsChanges) {
    DataMgmt::TaxFormPtr form = ga70();
    EXPECT_TRUE(georgia->isSaveNeeded());
    georgia->clearSaveNeeded();
    form->assignIR(FieldID(1), 0);
    EXPECT_TRUE(georgia->isSaveNeeded());
    georgia->clearSaveNeeded();
    form->assignIR(FieldID(1), 0);  // the same value again
    form->setCalculatedFlag(true);
    georgia->getForm(kGA70, 1);
    EXPECT_FALSE(georgia->isSaveNeeded());
    georgia->setDataEntered(kGA70, 1, true);
    EXPECT_TRUE(georgia->isSaveNeeded());
    EXPECT_FALSE(federal->isSaveNeeded());
}

TEST_F(ReturnTest, DataEnteredMarks) {
    georgia->setDataEntered(kST2, 1, true, false);  // missing copy: ignored
    EXPECT_FALSE(georgia->formExists(kST2, 1));
    georgia->getFormUVPtr(kST2, 1, true);
    georgia->getFormUVPtr(kST2, 2, true);
    EXPECT_FALSE(georgia->dataEnteredOnAnyCopy(kST2));
    georgia->setDataEntered(kST2, 2, true, true);
    EXPECT_TRUE(georgia->isDataEntered(kST2, 2));
    EXPECT_TRUE(georgia->lastDataEnteredFromImport(kST2, 2));
    EXPECT_FALSE(georgia->isDataEntered(kST2, 1));
    EXPECT_TRUE(georgia->dataEnteredOnAnyCopy(kST2));
    EXPECT_TRUE(georgia->getForm(kST2, 2)->isDataEntered());
}

TEST_F(ReturnTest, TheCalculatedFlagStartsFalse) {
    DataMgmt::TaxFormPtr form = ga70();
    EXPECT_FALSE(form->calculatedFlag());
    form->setCalculatedFlag(true);
    EXPECT_TRUE(georgia->getForm(kGA70, 1)->calculatedFlag());
}

TEST_F(ReturnTest, AgeByTheEndOfTheTaxYear) {
    DataMgmt::QuarloConfiguration::getInstance()->taxYear = 2018;
    DataMgmt::TaxFormPtr f92 = federal->getFormUVPtr(kF92, 1, true);
    f92->assignText(FieldID(9), "01/01/1955");  // 64 on 1 January 2019: counts as 64 by 31 December 2018
    EXPECT_TRUE(georgia->reachedAge(64, 0, kF92, FieldID(9), false));
    f92->assignText(FieldID(9), "01/02/1955");
    EXPECT_FALSE(georgia->reachedAge(64, 0, kF92, FieldID(9), false));
    f92->assignText(FieldID(9), "1952-02-29");  // birthday in 2018 falls on 1 March
    EXPECT_TRUE(georgia->reachedAge(66, 0, kF92, FieldID(9), false));
    EXPECT_FALSE(georgia->reachedAge(67, 0, kF92, FieldID(9), false));
    f92->setNull(FieldID(9));
    EXPECT_FALSE(georgia->reachedAge(0, 0, kF92, FieldID(9), false));
    f92->assignText(FieldID(9), "someday");
    EXPECT_FALSE(georgia->reachedAge(64, 0, kF92, FieldID(9), false));
}

TEST_F(ReturnTest, IdentityAndLabels) {
    EXPECT_STREQ(georgia->getAbbreviation(), "GA");
    EXPECT_STREQ(federal->getAbbreviation(), "US");
    EXPECT_EQ(georgia->getReturnType(), DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(georgia->getDisplayName(), "Georgia");
    EXPECT_EQ(georgia->getLineID(kGA70, FieldID(44)), "44");
    char buf[4];
    georgia->formName(buf, sizeof buf, kGA70);
    EXPECT_STREQ(buf, "For");
    EXPECT_EQ(federal->getFilingStatusNumber(), 1);
    federal->setFilingStatusNumber(2);
    EXPECT_EQ(federal->getFilingStatusNumber(), 2);
    EXPECT_EQ(georgia->getFilingStatusNumber(), 2);  // the state return answers itself
    EXPECT_FALSE(federal->isForm2555Present());
    federal->setOfficeLocatorURL("https://example.test/offices");
    EXPECT_EQ(federal->getOfficeLocatorURL(DataMgmt::kGeorgiaReturnType), "https://example.test/offices");
    EXPECT_EQ(georgia->getStringPool().get(), federal->getStringPool().get());
}

TEST_F(ReturnTest, ApartmentIsAppendedOnlyWhenGiven) {
    DataMgmt::TaxFormPtr form = ga70();
    std::string street = "12 Main St";
    georgia->tifAppendAPTtoStreet(street, kGA70, 1, FieldID(50));
    EXPECT_EQ(street, "12 Main St");
    form->assignText(FieldID(50), " 4B ");
    georgia->tifAppendAPTtoStreet(street, kGA70, 1, FieldID(50));
    EXPECT_EQ(street, "12 Main St 4B");
}

TEST(TaxDataStore, ReturnsByType) {
    DataMgmt::TaxDataStore store;
    EXPECT_FALSE(store.hasTaxReturn(DataMgmt::kFederalReturnType));
    EXPECT_TRUE(store.getTaxReturn(DataMgmt::kGeorgiaReturnType).isNull());
    DataMgmt::TaxReturnPtr fed(new DataMgmt::USTaxReturn(federalDesc(), Utils::StringPoolPtr()));
    store.setTaxReturn(DataMgmt::kFederalReturnType, fed);
    EXPECT_EQ(fed.useCount(), 2);
    EXPECT_EQ(store.getTaxReturn(DataMgmt::kFederalReturnType).get(), fed.get());
    store.removeTaxReturn(DataMgmt::kFederalReturnType);
    EXPECT_EQ(fed.useCount(), 1);
    EXPECT_FALSE(store.hasTaxReturn(DataMgmt::kFederalReturnType));
}

}  // namespace
}  // namespace storetest
