// The payment-voucher scan line and the check digit of the identification
// number.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "module/catalogues/GAForm77FieldIds.h"

namespace gaenginetest {
namespace {

using Engine = GACalculationMgmt::GATaxReturnCalcEngine;

struct Checked {
    std::string digits;
    short check;
};

Checked checkDigit(std::string number) {
    Checked out{"stale", 99};
    Engine::computeSsnCheckDigit(number, out.digits, out.check);
    return out;
}

TEST(SsnCheckDigit, HyphensAndSurroundingBlanksAreIgnored) {
    std::string number = "  123-45-6789 ";
    std::string digits;
    short check = 0;
    Engine::computeSsnCheckDigit(number, digits, check);
    EXPECT_EQ(digits, "123456789");
    EXPECT_EQ(check, 4);
    EXPECT_EQ(number, "123-45-6789");  // the text is replaced by its stripped form
}

TEST(SsnCheckDigit, UnusableNumbersGiveNineZeros) {
    // A letter, an inner blank, nothing, or a tenth digit (which has no
    // weight).
    for (const char* bad : {"12345678A", "123 456789", "", "   ", "1234567890123"}) {
        const Checked c = checkDigit(bad);
        EXPECT_EQ(c.digits, "000000000") << bad;
        EXPECT_EQ(c.check, 0) << bad;
    }
}

TEST(SsnCheckDigit, AWeightedSumThatIsAMultipleOfTenGivesZero) {
    // 1 x 4 + 6 x 8 (48: 12) + 4 x 1 = 20.
    const Checked c = checkDigit("164000000");
    EXPECT_EQ(c.check, 0);
}

TEST(SsnCheckDigit, OnlyHyphensIsValidAndEmpty) {
    const Checked c = checkDigit("---");
    EXPECT_EQ(c.digits, "");
    EXPECT_EQ(c.check, 0);
}

class ScanLineTest : public EngineTest {
protected:
    std::string line(const std::string& number, double amount, const char* period = "180921") {
        auto voucher = gaCopy(kGAForm77ID);
        const auto& f = kGAForm77FieldIds;
        if (!number.empty()) {
            setText(voucher, f.f1, number);
        }
        setNumber(voucher, f.f3, amount);
        engine.buildScanLine(voucher, f.f1, f.f3, "525", "000000000000", period, "20", "0", f.f12);
        return text(voucher, f.f12);
    }
    static int digitCount(const std::string& s) {
        int n = 0;
        for (char c : s) {
            n += (c >= '0' && c <= '9') ? 1 : 0;
        }
        return n;
    }
};

TEST_F(ScanLineTest, WorkedExampleOfThePaymentVoucher) {
    EXPECT_EQ(line("123456789", 150), "52500123456789418092120000000000000007500000150001");
    // Written again, the line replaces itself.
    EXPECT_EQ(line("123-45-6789", 150), "52500123456789418092120000000000000007500000150001");
}

TEST_F(ScanLineTest, LineHolds49DigitsAndItsCheckDigit) {
    const std::string l = line("123456789", 0);
    EXPECT_EQ(l.size(), 50u);
    EXPECT_NE(l.find("07500000000"
                     "00"),
              std::string::npos);
    EXPECT_EQ(line("123456789", 12345678).substr(39, 8), "12345678");
}

TEST_F(ScanLineTest, UnusableNumberStillGivesAFullLine) {
    const std::string l = line("12345678X", 150);
    EXPECT_EQ(l.substr(0, 15), "525000000000000");
    EXPECT_EQ(digitCount(l), 50);
    EXPECT_EQ(line("", 150).substr(0, 15), "525000000000000");
}

TEST_F(ScanLineTest, NegativeAmountKeepsItsSign) {
    const std::string l = line("123456789", -150);
    EXPECT_NE(l.find("075-0000150"), std::string::npos);
    EXPECT_EQ(digitCount(l), 49);  // 48 digits and the check digit
}

TEST_F(ScanLineTest, DigitsPastTheWeightsAddNothing) {
    // A filler two digits longer puts the amount's last digit at position 50,
    // which has no weight: changing it leaves the check digit alone.
    auto voucher = gaCopy(kGAForm77ID);
    const auto& f = kGAForm77FieldIds;
    setText(voucher, f.f1, "123456789");
    auto build = [&](double amount) {
        setNumber(voucher, f.f3, amount);
        engine.buildScanLine(voucher, f.f1, f.f3, "525", "00000000000000", "180921", "20", "0", f.f12);
        return text(voucher, f.f12);
    };
    const std::string a = build(123456780);
    const std::string b = build(123456781);
    ASSERT_EQ(a.size(), 53u);
    EXPECT_EQ(a.substr(0, 49), b.substr(0, 49));
    EXPECT_NE(a[49], b[49]);
    EXPECT_EQ(a.back(), b.back());
}

TEST_F(ScanLineTest, FinalCheckDigitIsZeroForRemaindersZeroAndOne) {
    // The weighted digit sums of these lines leave 0 (amount 3) and 1
    // (amount 4) divided by 11: 11 and 10 become 0.
    EXPECT_EQ(line("123456789", 3), "52500123456789418092120000000000000007500000003000");
    EXPECT_EQ(line("123456789", 4), "52500123456789418092120000000000000007500000004000");
}

}  // namespace
}  // namespace gaenginetest
