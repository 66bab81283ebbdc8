// Calculation writes on a form copy: arithmetic with the target first, the
// user's override, protection, box groups and the marks of the utility
// library.
#include <array>
#include <span>

#include "platform/util/UtilsMarks.h"
#include "tests/platform/store_fixture.h"

namespace storetest {
namespace {

class CalcTest : public StoreTest {
protected:
    CalcTest() : form(ga70()) {}
    double ir(int n) { return form->getIR(FieldID(n)); }
    DataMgmt::TaxFormPtr form;
};

TEST_F(CalcTest, TheFirstFieldIsTheTarget) {
    form->assignIR(FieldID(2), 100);
    form->assignIR(FieldID(3), 30);
    form->minusII(FieldID(1), FieldID(2), FieldID(3));
    EXPECT_EQ(ir(1), 70);
    form->minusIIge0(FieldID(4), FieldID(3), FieldID(2));
    EXPECT_EQ(ir(4), 0);
    EXPECT_FALSE(form->isNull(FieldID(4)));  // a 0 result is stored as 0
    form->minusIR(FieldID(5), FieldID(2), 0.5);
    EXPECT_EQ(ir(5), 99.5);
    form->plusIR(FieldID(6), FieldID(3), 0.25);
    EXPECT_EQ(ir(6), 30.25);
    form->minII(FieldID(7), FieldID(2), FieldID(3));
    form->maxII(FieldID(8), FieldID(2), FieldID(3));
    EXPECT_EQ(ir(7), 30);
    EXPECT_EQ(ir(8), 100);
    form->minIR(FieldID(9), FieldID(2), 40);
    form->maxIR(FieldID(10), FieldID(3), 40);
    EXPECT_EQ(ir(9), 40);
    EXPECT_EQ(ir(10), 40);
    form->timesII(FieldID(11), FieldID(2), FieldID(3));
    form->timesIR(FieldID(12), FieldID(2), 0.0575);
    EXPECT_EQ(ir(11), 3000);
    EXPECT_DOUBLE_EQ(ir(12), 5.75);
    EXPECT_DOUBLE_EQ(form->minFnII(FieldID(2), FieldID(3)), 30);
    EXPECT_DOUBLE_EQ(form->minFnIR(FieldID(2), 7.5), 7.5);
}

TEST_F(CalcTest, SumsOfSeveralFields) {
    for (int n = 2; n <= 8; ++n) {
        form->assignIR(FieldID(n), n);
    }
    form->plus2(FieldID(1), FieldID(2), FieldID(3));
    EXPECT_EQ(ir(1), 5);
    form->plus3(FieldID(1), FieldID(2), FieldID(3), FieldID(4));
    EXPECT_EQ(ir(1), 9);
    form->plus4(FieldID(1), FieldID(2), FieldID(3), FieldID(4), FieldID(5));
    EXPECT_EQ(ir(1), 14);
    form->plus5(FieldID(1), FieldID(2), FieldID(3), FieldID(4), FieldID(5), FieldID(6));
    EXPECT_EQ(ir(1), 20);
    form->plus6(FieldID(1), FieldID(2), FieldID(3), FieldID(4), FieldID(5), FieldID(6), FieldID(7));
    EXPECT_EQ(ir(1), 27);
    form->plus7(FieldID(1), FieldID(2), FieldID(3), FieldID(4), FieldID(5), FieldID(6), FieldID(7), FieldID(8));
    EXPECT_EQ(ir(1), 35);
}

TEST_F(CalcTest, TheTargetMayAlsoBeAnOperand) {
    form->assignIR(FieldID(1), 12000);
    form->minIR(FieldID(1), FieldID(1), 10000);  // caps in place
    EXPECT_EQ(ir(1), 10000);
    form->plus2(FieldID(1), FieldID(1), FieldID(1));
    EXPECT_EQ(ir(1), 20000);
    form->assignIR(FieldID(2), 5000);
    form->minusII(FieldID(2), FieldID(1), FieldID(2));
    EXPECT_EQ(ir(2), 15000);
    form->setValueToSumOf(FieldID(1), FieldID(1), FieldID(2), Primitives::kNullFieldID);
    EXPECT_EQ(ir(1), 35000);
}

TEST_F(CalcTest, NullOperandsCountAsZeroAndResultsAreUnrounded) {
    form->plus2(FieldID(1), FieldID(2), FieldID(3));
    EXPECT_FALSE(form->isNull(FieldID(1)));
    EXPECT_EQ(ir(1), 0);
    form->assignIR(FieldID(2), 0.4);
    form->assignIR(FieldID(3), 0.4);
    form->plus2(FieldID(1), FieldID(2), FieldID(3));
    EXPECT_DOUBLE_EQ(ir(1), 0.8);  // not 0 + 0
}

TEST_F(CalcTest, DivisionByZeroGivesZero) {
    form->assignIR(FieldID(2), 90);
    form->divIR(FieldID(1), FieldID(2), 4);
    EXPECT_EQ(ir(1), 22.5);
    form->divIR(FieldID(1), FieldID(2), 0);
    EXPECT_EQ(ir(1), 0);
    EXPECT_FALSE(form->isNull(FieldID(1)));
}

TEST_F(CalcTest, SumOfAListStopsAtTheNullField) {
    form->assignIR(FieldID(2), 1);
    form->assignIR(FieldID(3), 2);
    form->assignIR(FieldID(4), 4);
    form->setValueToSumOf(FieldID(1), FieldID(2), FieldID(3), Primitives::kNullFieldID, FieldID(4));
    EXPECT_EQ(ir(1), 3);
    form->setValueToSumOf(FieldID(1), Primitives::kNullFieldID);
    EXPECT_EQ(ir(1), 0);
    form->setValueToSumOf(FieldID(5));
    EXPECT_EQ(ir(5), 0);
    EXPECT_FALSE(form->isNull(FieldID(5)));
    // The same over a table of fields.
    const std::array<FieldID, 4> table{FieldID(2), FieldID(4), Primitives::kNullFieldID, FieldID(3)};
    form->setValueToSumOf(FieldID(1), table);
    EXPECT_EQ(ir(1), 5);
    form->setValueToSumOf(FieldID(5), std::span<const FieldID>());
    EXPECT_EQ(ir(5), 0);
    EXPECT_FALSE(form->isNull(FieldID(5)));
}

TEST_F(CalcTest, AnOverriddenFieldKeepsTheUsersValue) {
    form->setValue(FieldID(1), FieldValue::number(777));
    form->setOverridden(FieldID(1), true);
    form->setValue(FieldID(30), FieldValue::box(false));
    form->getField(FieldID(30))->setOverridden(true);
    form->assignIR(FieldID(2), 5);

    form->assignIR(FieldID(1), 1);
    form->zero(FieldID(1));
    form->setNull(FieldID(1));
    form->plus2(FieldID(1), FieldID(2), FieldID(2));
    form->setValueToSumOf(FieldID(1), FieldID(2), Primitives::kNullFieldID);
    form->assignII(FieldID(1), FieldID(2));
    form->makeProtectedAndSetNull(FieldID(1));
    Utils::maybeSetValue(form, FieldID(1), 3);
    georgia->getII(kGA70, FieldID(2), form, FieldID(1));
    form->setX(FieldID(30));
    georgia->setXValue(kGA70, 1, FieldID(30), true);
    EXPECT_EQ(ir(1), 777);
    EXPECT_FALSE(form->xMarked(FieldID(30)));
    EXPECT_TRUE(form->isProtected(FieldID(1)));  // protection still changes
    EXPECT_FALSE(form->noOverride(FieldID(1)));
    EXPECT_TRUE(form->noOverride(FieldID(2)));

    form->setValue(FieldID(1), FieldValue::number(5));  // the host's own write goes through
    EXPECT_EQ(ir(1), 5);
    form->setOverridden(FieldID(1), false);
    Utils::maybeSetValue(form, FieldID(1), 0);
    EXPECT_EQ(ir(1), 0);
    EXPECT_FALSE(form->isNull(FieldID(1)));
}

TEST_F(CalcTest, ProtectionNeverBlocksACalculation) {
    form->makeProtected(FieldID(1));
    form->assignIR(FieldID(1), 10);
    EXPECT_EQ(ir(1), 10);
    form->makeProtectedAndSetNull(FieldID(2));
    EXPECT_TRUE(form->isProtected(FieldID(2)));
    EXPECT_TRUE(form->isNull(FieldID(2)));
    form->unProtect(FieldID(1));
    EXPECT_FALSE(form->isProtected(FieldID(1)));
}

TEST_F(CalcTest, UnprotectNullsOnlyAProtectedField) {
    form->assignIR(FieldID(1), 10);  // the user's entry, unprotected
    form->unprotectAndMaybeSetNull(FieldID(1));
    EXPECT_EQ(ir(1), 10);
    form->makeProtected(FieldID(1));
    form->unprotectAndMaybeSetNull(FieldID(1));
    EXPECT_TRUE(form->isNull(FieldID(1)));
    EXPECT_FALSE(form->isProtected(FieldID(1)));
}

TEST_F(CalcTest, OneXKeepsTheFirstMarkedBoxInArgumentOrder) {
    form->setX(FieldID(32));
    form->setX(FieldID(31));
    form->oneX(FieldID(30), FieldID(32), FieldID(31));
    EXPECT_FALSE(form->xMarked(FieldID(30)));
    EXPECT_TRUE(form->nonNull(FieldID(30)));  // set to "no"
    EXPECT_TRUE(form->xMarked(FieldID(32)));
    EXPECT_FALSE(form->xMarked(FieldID(31)));
}

TEST_F(CalcTest, OneXLeavesAGroupWithoutMarksAlone) {
    form->oneX(FieldID(30), FieldID(31), FieldID(32));
    EXPECT_TRUE(form->isNull(FieldID(30)));
    EXPECT_TRUE(form->isNull(FieldID(31)));
    form->oneX2AndDefault(FieldID(31), FieldID(30));
    EXPECT_TRUE(form->xMarked(FieldID(31)));
    EXPECT_TRUE(form->isNull(FieldID(30)));
}

TEST_F(CalcTest, RepeatedBoxesInAGroupCountOnce) {
    form->setX(FieldID(30));
    form->setX(FieldID(31));
    form->oneX(FieldID(30), FieldID(30), FieldID(31));
    EXPECT_TRUE(form->xMarked(FieldID(30)));
    EXPECT_FALSE(form->xMarked(FieldID(31)));
}

TEST_F(CalcTest, LongerGroupsAndDefaults) {
    form->setX(FieldID(33));
    form->setX(FieldID(32));
    form->oneX9(FieldID(30), FieldID(31), FieldID(33), FieldID(32));
    EXPECT_TRUE(form->xMarked(FieldID(33)));
    EXPECT_FALSE(form->xMarked(FieldID(32)));

    DataMgmt::TaxFormPtr st14 = georgia->getFormUVPtr(kST14, 1, true);
    st14->oneX4AndDefault(FieldID(9016), FieldID(9015), Primitives::kNullFieldID, Primitives::kNullFieldID);
    EXPECT_TRUE(st14->xMarked(FieldID(9016)));
    st14->setX(FieldID(9015));
    st14->oneXAndDefault(FieldID(9015), FieldID(9016));
    EXPECT_TRUE(st14->xMarked(FieldID(9015)));
    EXPECT_FALSE(st14->xMarked(FieldID(9016)));
}

TEST_F(CalcTest, OptionGroupEndsAtThePointerToTheNullField) {
    const FieldID a(30), b(31), c(32), d(33);
    form->setX(c);
    form->setX(d);
    form->setOptionGroupSelection(&a, &b, &c, &Primitives::kNullFieldID, &d);
    EXPECT_TRUE(form->xMarked(c));
    EXPECT_FALSE(form->xMarked(a));
    EXPECT_TRUE(form->xMarked(d));  // after the end of the list
}

TEST_F(CalcTest, SetDefaultXMarksOnlyWhenNeitherIsMarked) {
    Utils::setDefaultX(form, FieldID(30), FieldID(31), FieldID(32));
    EXPECT_TRUE(form->xMarked(FieldID(30)));

    form->setNull(FieldID(30));
    form->setX(FieldID(32));
    Utils::setDefaultX(form, FieldID(30), FieldID(31), FieldID(32));
    EXPECT_TRUE(form->isNull(FieldID(30)));

    // The pair form: the first box is the default of the pair.
    DataMgmt::TaxFormPtr st14 = georgia->getFormUVPtr(kST14, 1, true);
    Utils::setDefaultX(st14, FieldID(9015), FieldID(9016), FieldID(9016));
    EXPECT_TRUE(st14->xMarked(FieldID(9015)));
    st14->setXNo(FieldID(9015));
    st14->setX(FieldID(9016));
    Utils::setDefaultX(st14, FieldID(9015), FieldID(9016), FieldID(9016));
    EXPECT_FALSE(st14->xMarked(FieldID(9015)));
}

TEST_F(CalcTest, FilingChoiceKeepsTheFirstOfTwoAndMarksNoDefault) {
    Utils::handleFilingChoice(form, FieldID(30), FieldID(31));
    EXPECT_TRUE(form->isNull(FieldID(30)));
    EXPECT_TRUE(form->isNull(FieldID(31)));
    form->setX(FieldID(30));
    form->setX(FieldID(31));
    Utils::handleFilingChoice(form, FieldID(30), FieldID(31));
    EXPECT_TRUE(form->xMarked(FieldID(30)));
    EXPECT_FALSE(form->xMarked(FieldID(31)));
}

TEST_F(CalcTest, MarksThroughAnEmptyHandleThrow) {
    DataMgmt::TaxFormPtr none;
    EXPECT_QUARLO_THROW(none->getIN(FieldID(1)), "empty form handle");
    EXPECT_QUARLO_THROW(georgia->getFormUVPtr(kST2, 4, true)->assignIR(FieldID(1), 1), "empty form handle");
    EXPECT_QUARLO_THROW((*none).setX(FieldID(30)), "empty form handle");
    DataMgmt::FormFieldPtr noField;
    EXPECT_QUARLO_THROW(noField->getLongValue(), "empty field handle");
    EXPECT_QUARLO_THROW(Utils::setDefaultX(none, FieldID(30), FieldID(31), FieldID(32)), "empty form handle");
    EXPECT_QUARLO_THROW(Utils::maybeSetValue(none, FieldID(1), 1), "empty form handle");
    EXPECT_QUARLO_THROW(georgia->getII(kGA70, FieldID(1), none, FieldID(2)), "empty form handle");
    try {
        Utils::handleFilingChoice(none, FieldID(30), FieldID(31));
        ADD_FAILURE() << "no exception";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_EQ(e.getClassName(), "Utils");
        EXPECT_EQ(e.getOperationName(), "handleFilingChoice");
    }
}

TEST_F(CalcTest, FieldAttributes) {
    DataMgmt::FormFieldPtr field = form->getField(FieldID(1));
    EXPECT_FALSE(field->isCalculated());
    EXPECT_FALSE(field->isTentative());
    field->setTentative(true);
    field->setCalculated(true);
    field->setNoEntry(true);
    EXPECT_TRUE(form->isTentative(FieldID(1)));
    EXPECT_TRUE(form->isFieldCalculated(FieldID(1)));
    EXPECT_TRUE(form->isNoEntry(FieldID(1)));
    EXPECT_FALSE(form->calculatedFlag());  // the copy's flag is another thing
    EXPECT_EQ(field->getFieldDesc()->getID(), FieldID(1));
    EXPECT_QUARLO_THROW(form->getField(FieldID(999)), "no field 999");
}

}  // namespace
}  // namespace storetest
