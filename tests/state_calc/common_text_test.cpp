// Common federal texts, numbers and boxes by item number.
#include <gtest/gtest.h>

#include <string>

#include "platform/Exceptions.h"
#include "statements_fixture.h"

namespace stmtstest {
namespace {

using Utils::PCTypes;

// Targets are fields of the tests' own state form: field 1 holds 20
// characters, 2 holds 4, 5 holds 6 and 7 holds 30; fields 18 and 19 are
// boxes.
class CommonTextTest : public StatementsTest {
protected:
    CommonTextTest()
        : target(stateCopy(statecalctest::kTestForm)), f1(federalCopy(kForm1ID)), f92(federalCopy(kForm92ID)) {}

    void pull(int item, int field = 7, const FormId& federalForm = kForm1ID) {
        engine.pullCommonText(federalForm, statecalctest::kTestForm, 1, FieldId(field), PCTypes{item});
    }
    std::string value(int field = 7) { return target->valueString(FieldId(field)); }

    DataMgmt::TaxFormPtr target;
    DataMgmt::TaxFormPtr f1;
    DataMgmt::TaxFormPtr f92;
};

TEST_F(CommonTextTest, AnItemOutsideTheTextItemsIsRefused) {
    setText(target, FieldId(7), "KEEP");
    try {
        pull(99);
        FAIL();
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_EQ(e.getMessage(), "Invalid PCType");
        EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
        EXPECT_EQ(e.getOperationName(), "pullCommonText");
    }
    EXPECT_THROW(pull(151), Exceptions::QuarloException);
    EXPECT_EQ(value(), "KEEP");
}

TEST_F(CommonTextTest, AMissingCopyEndsTheCallWhateverTheItem) {
    federal->deleteForm(kForm1ID, 1);
    EXPECT_NO_THROW(pull(99));
    EXPECT_NO_THROW(engine.pullCommonText(kForm55ID, statecalctest::kTestForm, 1, FieldId(7), PCTypes{116}));
    EXPECT_NO_THROW(engine.pullCommonText(kForm1ID, statecalctest::kTestForm, 2, FieldId(7), PCTypes{99}));
    EXPECT_TRUE(state->getFormUVPtr(statecalctest::kTestForm, 2, false).isNull());
}

TEST_F(CommonTextTest, TextsAreCutToTheTargetsLength) {
    setText(f1, kForm1FieldIds.f21, "SOFTWARE ENGINEER");
    pull(116, 2);
    EXPECT_EQ(value(2), "SOFT");
    pull(116, 7);
    EXPECT_EQ(value(), "SOFTWARE ENGINEER");

    federalCopy(kForm87ID);
    pull(116, 7, kForm87ID);
    EXPECT_TRUE(isNull(target, FieldId(7))) << "form 87 has no such text";
}

TEST_F(CommonTextTest, NumberTextIsPrintedWhole) {
    setNumber(f92, kForm92FieldIds.f28, 7);
    pull(120, 5);
    EXPECT_EQ(value(5), "7");
    setNumber(f92, kForm92FieldIds.f28, 70000);
    pull(120, 5);
    EXPECT_EQ(value(5), "70000") << "no 16-bit wrap";
    setNumber(f92, kForm92FieldIds.f28, 12345);
    pull(120, 2);
    EXPECT_EQ(value(2), "2345") << "the last characters that fit";
    setNumber(f92, kForm92FieldIds.f28, 0);
    pull(120, 5);
    EXPECT_TRUE(isNull(target, FieldId(5)));
}

TEST_F(CommonTextTest, TextAndAmount) {
    setText(f1, kForm1FieldIds.f333, "  STATE BONUS");
    pull(123);
    EXPECT_EQ(value(), "STATE BONUS");
    setNumber(f1, kForm1FieldIds.f334, 1500);
    pull(123);
    EXPECT_EQ(value(), "STATE BONUS $1500");
}

TEST_F(CommonTextTest, GatedTextFallsBackToFormNinetyTwoThenToTheFilersEntry) {
    setText(f1, kForm1FieldIds.f471, "D1234567890");
    setText(f92, kForm92FieldIds.f392, "X987");
    pull(147);
    EXPECT_EQ(value(), "X987") << "form 1 line 184 is 0: its text does not count";
    EXPECT_TRUE(target->isProtected(FieldId(7)));

    setNumber(f1, kForm1FieldIds.f184, 10);
    pull(147);
    EXPECT_EQ(value(), "D12345678") << "nine characters";

    setNumber(f1, kForm1FieldIds.f184, 0);
    setText(f92, kForm92FieldIds.f392, "");
    target->makeProtected(FieldId(7));
    setText(target, FieldId(7), "TYPED");
    pull(147);
    EXPECT_FALSE(target->isProtected(FieldId(7)));
    EXPECT_EQ(value(), "TYPED");
}

TEST_F(CommonTextTest, BoxChoiceNeedsBothTextsOfFormNinetyTwo) {
    setNumber(f1, kForm1FieldIds.f184, 10);
    setBox(f1, kForm1FieldIds.f472);
    target->makeProtected(FieldId(18));
    pull(149, 18);
    EXPECT_FALSE(target->isProtected(FieldId(18)));
    EXPECT_FALSE(target->xMarked(FieldId(18)));

    setText(f92, kForm92FieldIds.f392, "A");
    setText(f92, kForm92FieldIds.f391, "B");
    pull(149, 18);
    EXPECT_TRUE(target->isProtected(FieldId(18)));
    EXPECT_TRUE(target->xMarked(FieldId(18)));
    pull(150, 19);
    EXPECT_TRUE(target->isProtected(FieldId(19)));
    EXPECT_FALSE(target->xMarked(FieldId(19)));

    // Without the amount on form 1 the boxes of form 92 decide.
    setNumber(f1, kForm1FieldIds.f184, 0);
    setBox(f92, kForm92FieldIds.f394);
    pull(150, 19);
    EXPECT_TRUE(target->xMarked(FieldId(19)));
}

// Each main form by its own lines: the refund's routing number while that
// form shows a refund (else form 92's), its checking box (form 1's only
// with a refund), and its "65 or over" box (form 87 has none).
TEST_F(CommonTextTest, EachMainFormGivesItsOwnLines) {
    const FieldId none = Primitives::kNullFieldID;
    const struct {
        FormId form;
        FieldId refund, routing, checking, aged65;
        bool checkingWithoutRefund;
    } rows[] = {
        {kForm1ID, kForm1FieldIds.f184, kForm1FieldIds.f471, kForm1FieldIds.f472, kForm1FieldIds.f121, false},
        {kForm55ID, kForm55FieldIds.f135, kForm55FieldIds.f216, kForm55FieldIds.f217, kForm55FieldIds.f82, true},
        {kForm87ID, kForm87FieldIds.f27, kForm87FieldIds.f105, kForm87FieldIds.f106, none, true},
    };
    setText(f92, kForm92FieldIds.f392, "F92");
    setText(f92, kForm92FieldIds.f391, "ACCOUNT");
    for (const auto& r : rows) {
        const std::string form = std::to_string(r.form.getNumber());
        DataMgmt::TaxFormPtr main = federalCopy(r.form);
        setText(main, r.routing, "R" + form);
        setBox(main, r.checking);
        if (!r.aged65.isNullID()) {
            setBox(main, r.aged65);
        }

        pull(147, 7, r.form);
        EXPECT_EQ(value(), "F92") << form << ": no refund, form 92's number";
        target->setNull(FieldId(19));
        pull(149, 19, r.form);
        EXPECT_EQ(target->xMarked(FieldId(19)), r.checkingWithoutRefund) << form;

        setNumber(main, r.refund, 10);
        pull(147, 7, r.form);
        EXPECT_EQ(value(), "R" + form) << form;

        setBox(target, FieldId(18));
        pull(125, 18, r.form);
        EXPECT_EQ(isNull(target, FieldId(18)), r.aged65.isNullID()) << form;
    }
}

}  // namespace
}  // namespace stmtstest
