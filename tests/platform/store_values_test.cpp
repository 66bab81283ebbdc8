// Field values of a form copy: null versus zero, reading numbers, texts and
// boxes, rendering, text length limits, writes of another kind and the
// kind-mismatch counter of box reads.
#include <cmath>
#include <cstring>
#include <functional>

#include "tests/platform/store_fixture.h"

namespace storetest {
namespace {

using ValuesTest = StoreTest;

TEST_F(ValuesTest, NullAndZeroAreDifferentStates) {
    DataMgmt::TaxFormPtr form = ga70();
    const FieldID amount(1);

    EXPECT_TRUE(form->isNull(amount));
    EXPECT_EQ(form->getIN(amount), 0);
    EXPECT_EQ(georgia->formString(kGA70, 1, amount), "");

    form->zero(amount);
    EXPECT_FALSE(form->isNull(amount));
    EXPECT_TRUE(form->nonNull(amount));
    EXPECT_TRUE(form->eqZero(amount));
    EXPECT_EQ(georgia->formString(kGA70, 1, amount), "0");
    EXPECT_FALSE(georgia->hasSigValue(kGA70, 1, amount));

    form->setNull(amount);
    EXPECT_TRUE(georgia->isNull(kGA70, 1, amount));
}

TEST_F(ValuesTest, AMissingCopyReadsAsNull) {
    EXPECT_EQ(georgia->getIN(kST2, 2, FieldID(1)), 0);
    EXPECT_TRUE(georgia->isNull(kST2, 2, FieldID(1)));
    EXPECT_EQ(georgia->formString(kST2, 2, FieldID(3)), "");
    EXPECT_FALSE(georgia->formYes(kST2, 2, FieldID(4)));
    EXPECT_FALSE(georgia->formNo(kST2, 2, FieldID(4)));
    EXPECT_FALSE(georgia->formExists(kST2, 2));  // reading did not create it
}

// A copy has slots only up to the last field written: a write past them
// makes room, here while a text of the same copy is copied into it.
TEST_F(ValuesTest, AWritePastTheSlotsMadeSoFarKeepsEveryValue) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(51), "Wesleyan Avenue North");
    form->assignIR(FieldID(1), 7);
    form->assignII(FieldID(106), FieldID(1));  // the last field of the form
    EXPECT_EQ(form->getIN(FieldID(106)), 7);
    EXPECT_EQ(form->getValue(FieldID(51)).getText(), "Wesleyan Avenue North");
    EXPECT_EQ(form->getIN(FieldID(1)), 7);
    EXPECT_TRUE(form->isNull(FieldID(60)));
    EXPECT_FALSE(form->isOverridden(FieldID(60)));
    EXPECT_EQ(form->fieldsWithValues(), (std::vector<FieldID>{FieldID(1), FieldID(51), FieldID(106)}));
}

// The calculation's amounts are kept to the cent, half away from zero,
// except in a field that keeps fractions of a cent (field 20 here); whole
// numbers read from them round half away from zero.
TEST_F(ValuesTest, WholeNumbersRoundHalvesAwayFromZeroAndAmountsKeepTheirCents) {
    DataMgmt::TaxFormPtr form = ga70();
    DataMgmt::resetRoundedWriteCount();
    form->assignIR(FieldID(1), 2.5);
    form->assignIR(FieldID(2), -2.5);
    form->assignIR(FieldID(20), 1234.4999);
    EXPECT_EQ(form->getIN(FieldID(1)), 3);
    EXPECT_EQ(form->getIN(FieldID(2)), -3);
    EXPECT_EQ(form->getIN(FieldID(20)), 1234);
    EXPECT_DOUBLE_EQ(form->getIR(FieldID(1)), 2.5);
    EXPECT_EQ(georgia->getIN(kGA70, 1, FieldID(1)), 3);
    EXPECT_EQ(DataMgmt::roundedWriteCount(), 0);
    // (Field 60 keeps hundredths: a cent is a whole number there.)
    const struct {
        int field;
        double written, kept;
    } rows[] = {{3, 1234.4999, 1234.5}, {3, 0.125, 0.13}, {3, -0.125, -0.13},
                {3, -0.004, 0.0},       {60, 12.5, 13.0}, {3, 1e12 + 0.015, 1e12 + 0.02}};
    for (const auto& r : rows) {
        form->assignIR(FieldID(r.field), r.written);
        EXPECT_EQ(form->getValue(FieldID(r.field)), FieldValue::number(r.kept)) << r.written;
        EXPECT_EQ(std::signbit(form->getIR(FieldID(r.field))), r.kept < 0) << r.written;  // no negative zero
    }
    EXPECT_EQ(DataMgmt::roundedWriteCount(), 6);
    EXPECT_EQ(DataMgmt::lastRoundedWrite(),
              "form GA70 copy 1 field 3: assignIR wrote 1000000000000.015 (rounded to the cent)");
    // A sum's binary noise is no fraction of a cent: the cent is kept and
    // nothing is counted as rounded.
    form->assignIR(FieldID(3), 60000.01 + 30000.03);
    EXPECT_EQ(form->getValue(FieldID(3)), FieldValue::number(90000.04));
    form->assignIR(FieldID(20), 60000.01 + 30000.03);  // kept as it stands
    EXPECT_NE(form->getValue(FieldID(20)), FieldValue::number(90000.04));
    EXPECT_EQ(DataMgmt::roundedWriteCount(), 6);
}

TEST_F(ValuesTest, SumsAddTheRoundedValuesFieldByField) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(1), 0.5);
    form->assignIR(FieldID(2), 0.5);
    form->assignIR(FieldID(3), 0.5);
    form->assignIR(FieldID(4), 0.5);
    EXPECT_EQ(form->sumOf2(FieldID(1), FieldID(2)), 2);  // 1 + 1, not round(1.0)
    EXPECT_EQ(form->sumOf3(FieldID(1), FieldID(2), FieldID(3)), 3);
    EXPECT_EQ(form->sumOf4(FieldID(1), FieldID(2), FieldID(3), FieldID(4)), 4);
}

// Amounts beyond the 64-bit range (as a calculation or an import may store)
// add up to the range's end on the side they lie, never overflowing.
TEST_F(ValuesTest, SumsStayWithinTheRange) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    for (const double huge : {1e300, -1e300}) {
        DataMgmt::TaxFormPtr form = ga70();
        // Beyond the limit of amounts: only the host's surface stores such.
        for (int f = 1; f <= 4; ++f) form->setValue(FieldID(f), FieldValue::number(huge));
        const std::int64_t end = huge > 0 ? kMax : kMin;
        EXPECT_EQ(form->sumOf2(FieldID(1), FieldID(2)), end);
        EXPECT_EQ(form->sumOf3(FieldID(1), FieldID(2), FieldID(3)), end);
        EXPECT_EQ(form->sumOf4(FieldID(1), FieldID(2), FieldID(3), FieldID(4)), end);
        for (std::uint16_t c = 1; c <= 2; ++c) {
            georgia->getFormUVPtr(kST2, c, true)->setValue(FieldID(1), FieldValue::number(huge));
        }
        EXPECT_EQ(georgia->getAllCopies(kST2, FieldID(1)), end);
    }
    DataMgmt::TaxFormPtr form = ga70();
    form->setValue(FieldID(1), FieldValue::number(1e300));
    form->setValue(FieldID(2), FieldValue::number(-1e300));
    EXPECT_EQ(form->sumOf2(FieldID(1), FieldID(2)), -1);  // the range's ends, max + min
    EXPECT_EQ(Utils::negateSaturated(kMin), kMax);
}

TEST_F(ValuesTest, TextsAndBoxesReadAsNumbers) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(51), " 12.5 acres");
    EXPECT_DOUBLE_EQ(form->getIR(FieldID(51)), 12.5);
    EXPECT_EQ(form->getIN(FieldID(51)), 13);
    form->assignText(FieldID(50), "abc");
    EXPECT_EQ(form->getIN(FieldID(50)), 0);
    form->assignText(FieldID(50), "-7");
    EXPECT_EQ(form->getIN(FieldID(50)), -7);

    form->setX(FieldID(30));
    form->setXNo(FieldID(31));
    EXPECT_EQ(form->getIN(FieldID(30)), 1);
    EXPECT_EQ(form->getIN(FieldID(31)), 0);
}

TEST_F(ValuesTest, BoxesAreYesNoOrNull) {
    DataMgmt::TaxFormPtr form = ga70();
    form->setX(FieldID(30));
    form->setXNo(FieldID(31));

    EXPECT_TRUE(form->xMarked(FieldID(30)));
    EXPECT_TRUE(georgia->formYes(kGA70, 1, FieldID(30)));
    EXPECT_FALSE(georgia->formNo(kGA70, 1, FieldID(30)));
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(30)), "X");

    EXPECT_FALSE(form->xMarked(FieldID(31)));
    EXPECT_TRUE(form->nonNull(FieldID(31)));  // "no" is an answer, not an empty field
    EXPECT_TRUE(georgia->formNo(kGA70, 1, FieldID(31)));
    EXPECT_FALSE(georgia->hasSigValue(kGA70, 1, FieldID(31)));
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(31)), "");

    EXPECT_FALSE(georgia->formNo(kGA70, 1, FieldID(32)));  // unanswered
    EXPECT_TRUE(georgia->hasSigValue(kGA70, 1, FieldID(30)));
}

TEST_F(ValuesTest, YesNoTextAnswers) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(50), " yes ");
    form->assignText(FieldID(51), "N");
    EXPECT_TRUE(georgia->formYes(kGA70, 1, FieldID(50)));
    EXPECT_TRUE(georgia->formNo(kGA70, 1, FieldID(51)));
    EXPECT_FALSE(form->xMarked(FieldID(50)));  // a text is no check-box mark
}

TEST_F(ValuesTest, SignificanceOfEachKind) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(1), 0.25);
    form->assignText(FieldID(51), "   ");
    form->assignText(FieldID(50), "a");
    EXPECT_TRUE(georgia->hasSigValue(kGA70, 1, FieldID(1)));
    EXPECT_FALSE(georgia->hasSigValue(kGA70, 1, FieldID(51)));
    EXPECT_TRUE(georgia->noSigValue(kGA70, 1, FieldID(51)));
    EXPECT_TRUE(georgia->hasSigValue(kGA70, 1, FieldID(50)));
    EXPECT_TRUE(form->nonZero(FieldID(50)));
    EXPECT_FALSE(form->nonZero(FieldID(51)));
}

TEST_F(ValuesTest, AmountsShowInDisplayUnits) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(60), 12345);  // hundredths
    form->assignIR(FieldID(1), -1234.5);
    form->assignIR(FieldID(2), 1e7);
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(60)), "123.45");
    EXPECT_EQ(form->getIN(FieldID(60)), 12345);  // the stored unit
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(1)), "-1234.5");
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(2)), "10000000");
    EXPECT_EQ(*form->getField(FieldID(60))->getValueText(true), "123.45");
    EXPECT_EQ(form->valueString(FieldID(1)), "-1234.5");
}

TEST(DisplayAmount, TheStoredDigitsWithThePointShifted) {
    EXPECT_EQ(DataMgmt::formatDisplayAmount(1234, 2), "12.34");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(5, 2), "0.05");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(-5, 2), "-0.05");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(1230, 2), "12.3");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(123456.78, 2), "1234.5678");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(0.1 + 0.2, 2), "0.0030000000000000004");  // no rounding
    EXPECT_EQ(DataMgmt::formatDisplayAmount(0, 2), "0");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(-0.0, 2), "0");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(52000, 0), "52000");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(1e20, 0), "100000000000000000000");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(std::nan(""), 0), "");
    EXPECT_EQ(DataMgmt::formatDisplayAmount(INFINITY, 2), "");
}

TEST_F(ValuesTest, TextsAreCutToTheFieldLength) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(50), "Georgia");
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(50)), "Georg");
    // Five bytes hold two two-byte characters; the third is not split.
    form->assignText(FieldID(50), "\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(50)), "\xC3\xA9\xC3\xA9");
    form->assignText(FieldID(51), std::string(100, 'a'));
    EXPECT_EQ(georgia->formString(kGA70, 1, FieldID(51)).size(), 80u);
    form->assignText(FieldID(50), "");
    EXPECT_TRUE(form->isNull(FieldID(50)));
    form->assignText(FieldID(50), static_cast<const char*>(nullptr));
    EXPECT_TRUE(form->isNull(FieldID(50)));
}

TEST_F(ValuesTest, CallerBuffersAreNeverOverrun) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(51), "Atlanta, Georgia");
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    georgia->formString(buf, 5, kGA70, 1, FieldID(51));
    EXPECT_STREQ(buf, "Atla");
    EXPECT_EQ(buf[5], '#');
    georgia->formString(buf, 0, kGA70, 1, FieldID(51));  // nothing written
    EXPECT_STREQ(buf, "Atla");
    form->valueString(buf, 3, FieldID(51));
    EXPECT_STREQ(buf, "At");
}

TEST_F(ValuesTest, DatesAsNumbers) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignText(FieldID(52), "04/15/2019");
    EXPECT_EQ(form->offsetUserDate(FieldID(52)), 20190415);
    form->assignText(FieldID(52), "02/30/2019");
    EXPECT_EQ(form->offsetUserDate(FieldID(52)), 0);
    EXPECT_EQ(form->offsetUserDate(FieldID(51)), 0);
}

TEST_F(ValuesTest, UnknownFormsAndFieldsAreRefused) {
    DataMgmt::TaxFormPtr form = ga70();
    EXPECT_QUARLO_THROW(form->getIN(FieldID(999)), "no field 999");
    EXPECT_QUARLO_THROW(form->assignIR(FieldID(999), 1), "no field 999");
    EXPECT_QUARLO_THROW(georgia->getIN(kGA70, 1, FieldID(999)), "999");
    EXPECT_QUARLO_THROW(georgia->getFormUVPtr(FormID(12345, true), 1, true), "not described");
    EXPECT_QUARLO_THROW(georgia->getFormCount(FormID(12345, true)), "not described");
    EXPECT_QUARLO_THROW(georgia->getAllCopies(kST2, FieldID(999)), "999");  // even without copies
    // Form 0 and below, first thing asked of a return or after another form.
    for (int number : {0, -1}) {
        EXPECT_QUARLO_THROW(federal->getIN(FormID(number), 1, FieldID(1)), "not described");
        EXPECT_QUARLO_THROW(georgia->getIN(FormID(number, true), 1, FieldID(1)), "not described");
        EXPECT_QUARLO_THROW(georgia->getFormUVPtr(FormID(number, true), 1, true), "not described");
    }
}

TEST_F(ValuesTest, FieldsPastTheTablesAreReadAndWrittenAlike) {
    // A field number from 2^24 on is kept outside the form's tables; it is
    // read, written and nulled as a field in them is.
    const FieldID big(1 << 24);
    georgia->getTaxFormDescriptor(kST2)->addField(field(1 << 24));
    DataMgmt::TaxFormPtr copy = georgia->getFormUVPtr(kST2, 1, true);
    for (const FieldID& x : {FieldID(1), big}) {
        copy->assignIR(x, 5);
        EXPECT_EQ(copy->getIN(x), 5);
        copy->setOverridden(x, true);
        copy->setNull(x);
        EXPECT_EQ(copy->getIN(x), 5) << "an overridden field keeps its value";
        copy->setOverridden(x, false);
        copy->setNull(x);
        EXPECT_TRUE(copy->isNull(x));
        copy->setNull(x);  // null already
        EXPECT_TRUE(copy->isNull(x));
    }
    EXPECT_QUARLO_THROW(copy->setNull(FieldID((1 << 24) + 1)), "has no field");
    EXPECT_QUARLO_THROW(copy->getIR(FieldID(-3)), "has no field");
}

TEST_F(ValuesTest, NonFiniteAmountsAreRefusedAndTheFieldKept) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(1), 5);
    EXPECT_QUARLO_THROW(form->assignIR(FieldID(1), 1.0 / 0.0), "finite");
    form->setValue(FieldID(2), FieldValue::number(1e308));
    EXPECT_QUARLO_THROW(form->timesIR(FieldID(1), FieldID(2), 10.0), "finite");
    EXPECT_EQ(form->getIN(FieldID(1)), 5);
}

// An amount of the calculation that the field does not hold (beyond the
// limit, outside its domain or range, a count it does not take) stops the
// calculation, naming the form, copy, field, amount and what the field
// takes; the field keeps what it held, and an overridden field its value.
TEST_F(ValuesTest, AnAmountTheFieldDoesNotHoldIsRefused) {
    DataMgmt::TaxFormPtr form = ga70();
    const struct {
        int field;
        double amount;
        const char* says;  // empty: taken
    } rows[] = {
        {1, 1e13, ""},
        {1, -1e13, ""},
        {1, 1e13 + 0.01,
         "form GA70 copy 1 field 1 (kGA70_F1), as the calculation wrote it: amount "
         "\"10000000000000.01\" is beyond the limit of 10,000,000,000,000 dollars either way"},
        {20, 0.0001, ""},
        {20, -1e13 - 0.001, "is beyond the limit"},
        {19, 0, ""},
        {19, -1, "field 19 (kGA70_F19), as the calculation wrote it: amount \"-1\" is below 0"},
        {60, 1e15, ""},  // 10^13 dollars in hundredths
        {60, 1e15 + 1, "amount \"10000000000000.01\" is beyond the limit"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.says);
        form->assignIR(FieldID(r.field), 7);
        if (std::string(r.says).empty()) {
            form->assignIR(FieldID(r.field), r.amount);
            EXPECT_EQ(form->getIR(FieldID(r.field)), r.amount);
            continue;
        }
        EXPECT_QUARLO_THROW(form->assignIR(FieldID(r.field), r.amount), r.says);
        EXPECT_EQ(form->getIR(FieldID(r.field)), 7);
        form->setOverridden(FieldID(r.field), true);
        form->assignIR(FieldID(r.field), r.amount);  // an override keeps its value
        EXPECT_EQ(form->getIR(FieldID(r.field)), 7);
        form->setOverridden(FieldID(r.field), false);
    }
}

// A field holds values of its own kind only: a write of another kind is
// refused, whoever makes it, and the field keeps what it held.
TEST_F(ValuesTest, AWriteOfAnotherKindIsRefused) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(1), 3);
    form->assignText(FieldID(50), "ok");
    form->setX(FieldID(30));
    const struct {
        std::function<void()> write;
        const char* says;
    } rows[] = {
        {[&] { form->assignText(FieldID(1), "text"); }, "GA70 copy 1 field 1: assignText wrote a text into an amount"},
        {[&] { form->setX(FieldID(50)); }, "setX wrote a box mark into a text field"},
        {[&] { form->assignII(FieldID(1), FieldID(30)); }, "assignII wrote a box mark into an amount field"},
        {[&] { form->assignIR(FieldID(30), 1); }, "assignIR wrote an amount into a check-box field"},
        {[&] { form->setValue(FieldID(1), FieldValue::text("host load")); }, "setValue wrote a text into an amount"},
    };
    for (const auto& row : rows) EXPECT_QUARLO_THROW(row.write(), row.says);
    EXPECT_EQ(form->getIN(FieldID(1)), 3);
    EXPECT_EQ(form->getValue(FieldID(50)).getText(), "ok");
    form->setNull(FieldID(50));  // null fits every field

    // Reading as a box a field that a return file can never mark counts: an
    // amount field, and for xMarked a text field; a yes-or-no answer may be
    // a text ("Y").
    EXPECT_TRUE(form->xMarked(FieldID(30)));
    EXPECT_TRUE(georgia->formYes(kGA70, 1, FieldID(30)));
    georgia->formNo(kGA70, 1, FieldID(50));
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0);
    form->xMarked(FieldID(4));
    EXPECT_NE(DataMgmt::lastKindMismatch().find("xMarked read an amount field as a box"), std::string::npos);
    form->xMarked(FieldID(50));
    georgia->formYes(kGA70, 1, FieldID(4));
    georgia->formNo(kGA70, 1, FieldID(4));
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 4);
    DataMgmt::resetKindMismatchCount();
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0);
}

TEST_F(ValuesTest, FieldTokensAndTheirText) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(1), 41.5);
    form->setX(FieldID(30));
    form->assignText(FieldID(51), "Peachtree Street");
    EXPECT_EQ(form->getField(FieldID(1))->getLongValue(), 42);
    EXPECT_EQ(form->getField(FieldID(30))->getLongValue(), 1);
    EXPECT_EQ(form->getField(FieldID(2))->getLongValue(), 0);

    const std::int64_t token = form->getField(FieldID(51))->getLongValue();
    EXPECT_GE(token, Utils::StringPool::kKeyBase);
    EXPECT_EQ(georgia->getText(token, 80), "Peachtree Street");
    EXPECT_EQ(georgia->getText(token, 9), "Peachtree");
    // Any return of the session turns the token back into its text.
    EXPECT_EQ(federal->getText(token, 80), "Peachtree Street");
    char buf[6];
    EXPECT_STREQ(georgia->getText(buf, sizeof buf, token, 80, DataMgmt::kJustifyLeft), "Peach");
}

TEST_F(ValuesTest, TheCopyGivesTokensAndLengthsAsItsFieldsDo) {
    DataMgmt::TaxFormPtr form = ga70();
    form->assignIR(FieldID(1), -2.5);
    form->setXNo(FieldID(30));
    form->assignText(FieldID(51), "Peachtree Street");
    // An amount, a box, null, a text, a text of the default length, a date.
    for (int number : {1, 30, 2, 51, 50, 52}) {
        const FieldID x(number);
        EXPECT_EQ(form->getLongValue(x), form->getField(x)->getLongValue()) << "field " << number;
        EXPECT_EQ(form->getMaxLength(x), form->getField(x)->getFieldDesc()->getMaxLength()) << "field " << number;
    }
    EXPECT_QUARLO_THROW(form->getLongValue(FieldID(999)), "has no field");
    EXPECT_QUARLO_THROW(form->getMaxLength(FieldID(999)), "has no field");
}

TEST_F(ValuesTest, NumericTokensRenderAsDecimalsOrSsn) {
    EXPECT_EQ(georgia->getText(12345678, 11), "012-34-5678");
    EXPECT_EQ(georgia->getText(999999999, 11), "999-99-9999");
    EXPECT_EQ(georgia->getText(1000000000, 11), "1000000000");
    EXPECT_EQ(georgia->getText(-5, 11), "-5");
    EXPECT_EQ(georgia->getText(42, 8), "42");
    EXPECT_EQ(georgia->getText(42, 5, DataMgmt::kJustifyRight), "   42");
}

TEST(StringPool, SameTextSameKeyAndUnknownKeysRefused) {
    Utils::StringPool pool;
    const std::int64_t a = pool.intern("alpha");
    const std::int64_t b = pool.intern("beta");
    EXPECT_EQ(pool.intern("alpha"), a);
    EXPECT_NE(a, b);
    EXPECT_EQ(pool.lookup(b), "beta");
    EXPECT_TRUE(pool.contains(a));
    EXPECT_FALSE(pool.contains(12345));
    EXPECT_FALSE(pool.contains(b + 1));
    EXPECT_THROW(pool.lookup(b + 1), Exceptions::QuarloException);
    EXPECT_THROW(pool.lookup(7), Exceptions::QuarloException);
}

}  // namespace
}  // namespace storetest
