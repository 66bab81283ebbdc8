#include "platform/util/Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "platform/util/Crt.h"

namespace {

using namespace Utils;

// ---------------------------------------------------------------- rounding

TEST(RoundR, ExactHalvesGoAwayFromZero) {
    EXPECT_EQ(roundR(0.5), 1);
    EXPECT_EQ(roundR(1.5), 2);
    EXPECT_EQ(roundR(2.5), 3);
    EXPECT_EQ(roundR(-0.5), -1);
    EXPECT_EQ(roundR(-2.5), -3);
    EXPECT_EQ(roundR(1234.5), 1235);
    EXPECT_EQ(roundR(-1234.5), -1235);
}

TEST(RoundR, BinaryNoiseAroundAHalfCountsAsTheHalf) {
    EXPECT_EQ(roundR(5581.4999999), 5582);
    EXPECT_EQ(roundR(-5581.4999999), -5582);
    EXPECT_EQ(roundR(5581.49999995), 5582);
    // Products that land a hair below a decimal half: 0.05 * 0.70 * 100 is
    // 3.4999999999999996 in binary.
    EXPECT_EQ(roundR(0.05 * 0.70 * 100), 4);
    EXPECT_EQ(roundR(-(0.25 * 0.58 * 100)), -15);
    EXPECT_EQ(roundR(123450 * 0.01), 1235);  // 1234.5 in binary
}

TEST(RoundR, SaturatesBeyondTheRangeWithoutFlippingSign) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(roundR(9223372036854775808.0), kMax);  // 2^63
    EXPECT_EQ(roundR(1e300), kMax);
    EXPECT_EQ(roundR(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(roundR(9223372036854774784.0), 9223372036854774784);  // the last double below 2^63
    EXPECT_EQ(roundR(-9223372036854775808.0), kMin);
    EXPECT_EQ(roundR(-1e300), kMin);
}

TEST(RoundR, ValuesClearlyBelowAHalfRoundDown) {
    EXPECT_EQ(roundR(5581.4999998), 5581);
    EXPECT_EQ(roundR(0.49), 0);
    EXPECT_EQ(roundR(-0.4), 0);
    EXPECT_EQ(roundR(2.4999), 2);
    EXPECT_EQ(roundR(2.51), 3);
    EXPECT_EQ(roundR(-2.51), -3);
    EXPECT_EQ(roundR(7.0), 7);
    EXPECT_EQ(roundR(0.0), 0);
}

TEST(RoundR, OutOfRangeInputsAreSafe) {
    EXPECT_EQ(roundR(std::nan("")), 0);
    EXPECT_EQ(roundR(1e30), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(roundR(-1e30), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(roundR(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(roundR(9007199254740993.0), 9007199254740992);  // large whole doubles pass through
}

TEST(RoundReal, SameRuleAsRoundR) {
    EXPECT_DOUBLE_EQ(roundReal(2.5), 3.0);
    EXPECT_DOUBLE_EQ(roundReal(-2.5), -3.0);
    EXPECT_DOUBLE_EQ(roundReal(5581.4999999), 5582.0);
    EXPECT_DOUBLE_EQ(roundReal(5581.4999998), 5581.0);
    EXPECT_DOUBLE_EQ(roundReal(1e20), 1e20);
    for (double v = -50.0; v <= 50.0; v += 0.25) {
        EXPECT_EQ(static_cast<std::int64_t>(roundReal(v)), roundR(v)) << v;
    }
}

// ------------------------------------------------------------------- dates

TEST(DateToNumber, FirstDayIsFirstJanuary1900) {
    EXPECT_EQ(dateToNumber(1, 1, 1900), 1);
    EXPECT_EQ(dateToNumber(1, 2, 1900), 2);
    EXPECT_EQ(dateToNumber(3, 1, 1900), 60);  // 1900 is not a leap year
    EXPECT_EQ(dateToNumber(1, 1, 2018), 43100);
    EXPECT_EQ(dateToNumber(12, 31, 2018), 43464);
    EXPECT_EQ(dateToNumber(2, 29, 2000), 36584);
}

TEST(DateToNumber, ConsecutiveDaysDifferByOneAcrossCenturies) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::int64_t prev = 0;
    for (int y = 1900; y <= 2104; ++y) {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        for (int m = 1; m <= 12; ++m) {
            const int last = kDays[m - 1] + (m == 2 && leap ? 1 : 0);
            for (int d = 1; d <= 31; ++d) {
                const std::int64_t n = dateToNumber(m, d, y);
                if (d > last) {
                    ASSERT_EQ(n, 0) << m << "/" << d << "/" << y;
                    continue;
                }
                ASSERT_EQ(n, prev + 1) << m << "/" << d << "/" << y;
                prev = n;
            }
        }
    }
}

TEST(DateToNumber, LeapDays) {
    EXPECT_EQ(dateToNumber(2, 29, 1900), 0);
    EXPECT_NE(dateToNumber(2, 29, 2000), 0);
    EXPECT_NE(dateToNumber(2, 29, 2016), 0);
    EXPECT_EQ(dateToNumber(2, 29, 2018), 0);
    EXPECT_EQ(dateToNumber(2, 29, 2100), 0);
    EXPECT_EQ(dateToNumber(3, 1, 2016) - dateToNumber(2, 28, 2016), 2);
    EXPECT_EQ(dateToNumber(3, 1, 2018) - dateToNumber(2, 28, 2018), 1);
}

TEST(DateToNumber, InvalidOrEmptyGivesZero) {
    EXPECT_EQ(dateToNumber(0, 0, 0), 0);
    EXPECT_EQ(dateToNumber(13, 1, 2018), 0);
    EXPECT_EQ(dateToNumber(0, 1, 2018), 0);
    EXPECT_EQ(dateToNumber(4, 31, 2018), 0);
    EXPECT_EQ(dateToNumber(1, 0, 2018), 0);
    EXPECT_EQ(dateToNumber(-1, 1, 2018), 0);
    EXPECT_EQ(dateToNumber(12, 31, 1899), 0);
    EXPECT_EQ(dateToNumber(1, 1, 10000), 0);
    EXPECT_EQ(dateToNumber(1, 1, std::numeric_limits<std::int64_t>::max()), 0);
    EXPECT_EQ(dateToNumber(std::numeric_limits<std::int64_t>::min(), 1, 2018), 0);
}

TEST(StrDateToNumber, ReadsTheThreeForms) {
    const std::int64_t want = dateToNumber(3, 5, 2018);
    EXPECT_EQ(strDateToNumber("03/05/2018"), want);
    EXPECT_EQ(strDateToNumber("3/5/2018"), want);
    EXPECT_EQ(strDateToNumber("03-05-2018"), want);
    EXPECT_EQ(strDateToNumber("2018-03-05"), want);
    EXPECT_EQ(strDateToNumber("2018-3-5"), want);
    EXPECT_EQ(strDateToNumber("  03/05/2018 "), want);
    EXPECT_EQ(strDateToNumber(std::string("2018-03-05")), want);
}

TEST(StrDateToNumber, UnreadableTextGivesZero) {
    for (const char* bad : {"", "   ", "2018/03/05", "03/05-2018", "03-05/2018", "03/05/18", "3/5/20188", "003/05/2018",
                            "abc", "02/30/2018", "13/01/2018", "03/05/2018x", "+3/5/2018", "2018-03-05-", "2018-003-05",
                            "03//2018", "12/31/1899", "2018-02-29"}) {
        EXPECT_EQ(strDateToNumber(bad), 0) << '"' << bad << '"';
    }
    EXPECT_EQ(strDateToNumber(static_cast<const char*>(nullptr)), 0);
}

TEST(StrDateToNumber, OrdersDatesLikeTheCalendar) {
    EXPECT_LT(strDateToNumber("12/31/2017"), strDateToNumber("01/01/2018"));
    EXPECT_LT(strDateToNumber("01/31/2018"), strDateToNumber("02/01/2018"));
    EXPECT_EQ(strDateToNumber("01/01/2019") - strDateToNumber("12/31/2018"), 1);
}

TEST(ConvertDateStr, FillsYearMonthDay) {
    std::uint16_t y = 0;
    std::uint8_t m = 0;
    std::uint8_t d = 0;
    ASSERT_TRUE(convertDateStr("07/23/2016", y, m, d));
    EXPECT_EQ(y, 2016);
    EXPECT_EQ(m, 7);
    EXPECT_EQ(d, 23);
    ASSERT_TRUE(convertDateStr(std::string("1999-12-31"), y, m, d));
    EXPECT_EQ(y, 1999);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 31);
}

TEST(ConvertDateStr, FailureLeavesOutputsUntouched) {
    for (const char* bad : {"", "31/12/2018", "2/29/2018", "garbage", "1/1/1"}) {
        std::uint16_t y = 1111;
        std::uint8_t m = 22;
        std::uint8_t d = 33;
        EXPECT_FALSE(convertDateStr(bad, y, m, d)) << bad;
        EXPECT_EQ(y, 1111);
        EXPECT_EQ(m, 22);
        EXPECT_EQ(d, 33);
    }
    std::uint16_t y = 5;
    std::uint8_t m = 6;
    std::uint8_t d = 7;
    EXPECT_FALSE(convertDateStr(static_cast<const char*>(nullptr), y, m, d));
    EXPECT_EQ(y, 5);
}

TEST(GetCurrentDate, ReadsTheInjectedClock) {
    crt::setClock(static_cast<std::time_t>(1546300799));  // 2018-12-31 23:59:59 UTC, a Monday
    int y = 0;
    int m = 0;
    int d = 0;
    int spare = -1;
    getCurrentDate(y, m, d, spare, false);
    crt::resetClock();
    EXPECT_EQ(y, 2018);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 31);
    EXPECT_EQ(spare, 1);
    EXPECT_EQ(dateToNumber(m, d, y), dateToNumber(12, 31, 2018));
}

// ----------------------------------------------------------- statement lines

TEST(CountLines, CoversEveryLineAnEntryWrites) {
    EXPECT_EQ(countLines(0, 0, 0, 0, 0), 1);        // nothing to list
    EXPECT_EQ(countLines(100, 0, 0, 0, 0), 2);      // payer + regular
    EXPECT_EQ(countLines(0, 50, 0, 0, 0), 2);       // payer + U.S. obligations
    EXPECT_EQ(countLines(0, 0, 0, 0, 30), 3);       // payer + in-state + out-of-state
    EXPECT_EQ(countLines(0, 0, 30, 0, 30), 3);      // both municipal lines even with one part 0
    EXPECT_EQ(countLines(100, 50, 10, 20, 30), 5);  // every line
    // Amounts that cancel out still write the regular line.
    EXPECT_EQ(countLines(0, 50, 0, 0, -50), 5);
    EXPECT_EQ(countLines(-50, 50, 0, 0, 0), 3);
    // The in-state and out-of-state parts do not count.
    EXPECT_EQ(countLines(100, 0, 999, 999, 0), 2);
}

// -------------------------------------------------------------- number text

TEST(NStr, WholeValuesWithoutDecimals) {
    EXPECT_EQ(nStr(12.0), "12");
    EXPECT_EQ(nStr(-3.0), "-3");
    EXPECT_EQ(nStr(0.0), "0");
    EXPECT_EQ(nStr(-0.0), "0");
    EXPECT_EQ(nStr(1234567.0), "1234567");
    EXPECT_EQ(nStr(1.0), "1");
}

TEST(NStr, OtherValuesWithTwoDecimals) {
    EXPECT_EQ(nStr(12.5), "12.50");
    EXPECT_EQ(nStr(-0.75), "-0.75");
    EXPECT_EQ(nStr(1234.56), "1234.56");
}

TEST(Xstr, DecimalAndZeroPadded) {
    EXPECT_EQ(xstr(0, 0), "0");
    EXPECT_EQ(xstr(-42, 0), "-42");
    EXPECT_EQ(xstr(42, 5), "   42");
    EXPECT_EQ(xstrPadLeftZeros(7, 3), "007");
    EXPECT_EQ(xstrPadLeftZeros(12, 3), "012");
    EXPECT_EQ(xstrPadLeftZeros(1234, 3), "1234");
    EXPECT_EQ(xstrPadLeftZeros(452, 5), "00452");
    EXPECT_EQ(xstrPadLeftZeros(-7, 5), "-0007");
    EXPECT_EQ(xstrPadLeftZeros(7, 0), "7");
    EXPECT_EQ(xstrPadLeftZeros(std::numeric_limits<std::int64_t>::min(), 0), "-9223372036854775808");
    EXPECT_EQ(xstrPadLeftZeros(1, 300).size(), 300u);
}

// ------------------------------------------------------- buffer capacities

// A buffer of 32 bytes filled with '#'; writers get a smaller capacity, and
// nothing past it may change.
struct Guarded {
    char buf[32];
    Guarded() { std::memset(buf, '#', sizeof buf); }
    bool untouchedFrom(std::size_t from) const {
        for (std::size_t i = from; i < sizeof buf; ++i) {
            if (buf[i] != '#') {
                return false;
            }
        }
        return true;
    }
};

using Writer = std::function<void(char*, std::size_t)>;

void expectBounded(const char* what, const Writer& write, const std::string& full) {
    for (std::size_t cap : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{8}}) {
        Guarded g;
        write(g.buf, cap);
        EXPECT_TRUE(g.untouchedFrom(cap)) << what << " cap " << cap;
        if (cap == 0) {
            EXPECT_EQ(g.buf[0], '#') << what;
            continue;
        }
        EXPECT_EQ(std::string(g.buf), full.substr(0, cap - 1)) << what << " cap " << cap;
    }
    Guarded g;
    write(g.buf, 31);
    EXPECT_EQ(std::string(g.buf), full) << what;
}

TEST(BufferCapacity, EveryWriterCutsAtItsCapacity) {
    expectBounded(
        "strip", [](char* b, std::size_t c) { strip(b, c, "   Smith  Jones \t"); }, "Smith  Jones");
    expectBounded(
        "removeChars", [](char* b, std::size_t c) { removeChars(b, c, "12-34-5678-9", '-'); }, "123456789");
    expectBounded(
        "removeBlanks", [](char* b, std::size_t c) { removeBlanks(b, c, " 1 2\t3 45 6 ", false, true); }, "123456");
    expectBounded(
        "padStr", [](char* b, std::size_t c) { padStr(b, c, "SYPCRTN", 10); }, "SYPCRTN   ");
    expectBounded(
        "padStrLeft", [](char* b, std::size_t c) { padStrLeft(b, c, "1234", 9); }, "     1234");
    expectBounded(
        "strsub", [](char* b, std::size_t c) { strsub(b, c, "ABCDEFGHIJKLMNOPQ", 1, 13); }, "ABCDEFGHIJKLM");
    expectBounded(
        "nStr", [](char* b, std::size_t c) { nStr(b, c, 123456.75); }, "123456.75");
    expectBounded(
        "xstr", [](char* b, std::size_t c) { xstr(b, c, -123456789, 0); }, "-123456789");
    expectBounded(
        "xstrPadLeftZeros", [](char* b, std::size_t c) { xstrPadLeftZeros(b, c, 42, 10); }, "0000000042");
    expectBounded(
        "buildNameS", [](char* b, std::size_t c) { buildNameS(b, c, "Mary", "Ann", "Smith", "Jr", DISPLAY_NAME{}); },
        "Mary Ann Smith Jr");
    expectBounded(
        "readNextWord",
        [](char* b, std::size_t c) {
            char text[] = "  LONGRECORDNAME 1";
            readNextWord(b, c, text);
        },
        "LONGRECORDNAME");
}

TEST(BufferCapacity, HugeWidthsAndValuesStayBounded) {
    char buf[8];
    padStrLeft(buf, sizeof buf, "12", std::numeric_limits<int>::max());
    EXPECT_STREQ(buf, "       ");
    padStr(buf, sizeof buf, "12", std::numeric_limits<int>::max());
    EXPECT_STREQ(buf, "12     ");
    xstrPadLeftZeros(buf, sizeof buf, -5, std::numeric_limits<int>::max());
    EXPECT_STREQ(buf, "-000000");
    xstr(buf, sizeof buf, 5, std::numeric_limits<int>::max());
    EXPECT_STREQ(buf, "       ");
    EXPECT_EQ(nStr(1e300).size(), 301u);
}

TEST(BufferCapacity, OutputMayBeTheInput) {
    char buf[32] = "  a-b-c  ";
    strip(buf, sizeof buf, buf);
    EXPECT_STREQ(buf, "a-b-c");
    removeChars(buf, sizeof buf, buf, '-');
    EXPECT_STREQ(buf, "abc");
    padStrLeft(buf, sizeof buf, buf, 6);
    EXPECT_STREQ(buf, "   abc");
    removeBlanks(buf, sizeof buf, buf, false, true);
    EXPECT_STREQ(buf, "abc");
    strsub(buf, sizeof buf, buf, 2, 1);
    EXPECT_STREQ(buf, "b");
}

TEST(BufferCapacity, NullTextsReadAsEmpty) {
    char buf[8] = "xxxxxxx";
    strip(buf, sizeof buf, nullptr);
    EXPECT_STREQ(buf, "");
    padStr(buf, sizeof buf, nullptr, 3);
    EXPECT_STREQ(buf, "   ");
    EXPECT_EQ(strcmpiXC(nullptr, ""), 0);
    EXPECT_LT(QVStringUtils::stricmp(nullptr, "a"), 0);
}

// -------------------------------------------------------------------- text

TEST(Strip, RemovesWhiteSpaceAtBothEndsOnly) {
    char buf[32];
    EXPECT_EQ(strip(buf, sizeof buf, "\t John  Q \r\n"), buf);
    EXPECT_STREQ(buf, "John  Q");
    EXPECT_EQ(strip("   "), "");
    EXPECT_EQ(strip("x"), "x");
}

TEST(RemoveBlanks, FlagsChooseWhatGoes) {
    EXPECT_EQ(removeBlanks(" 1 2\t3 ", false, true), "123");
    EXPECT_EQ(removeBlanks(" 1 2\t3 ", false, false), "12\t3");
    EXPECT_EQ(removeBlanks(" \t1 2 \t", true, true), "1 2");
    EXPECT_EQ(removeBlanks(" \t1 2 \t", true, false), "\t1 2 \t");
}

TEST(PadStr, NeverShortens) {
    EXPECT_EQ(padStr("0", 1), "0");
    EXPECT_EQ(padStr("", 1), " ");
    EXPECT_EQ(padStr("ABCDEFGHIJKL", 10), "ABCDEFGHIJKL");
    EXPECT_EQ(padStrLeft("ABC", 2), "ABC");
    EXPECT_EQ(padStr("A", -4), "A");
}

TEST(Strsub, OneBasedStartAndLengthLimits) {
    EXPECT_EQ(strsub("ABCDEF", 1, 3), "ABC");
    EXPECT_EQ(strsub("ABCDEF", 4, 10), "DEF");
    EXPECT_EQ(strsub("ABCDEF", 0, 2), "AB");
    EXPECT_EQ(strsub("ABCDEF", 7, 2), "");
    EXPECT_EQ(strsub("ABCDEF", 3, -1), "CDEF");
    EXPECT_EQ(strsub("ABCDEF", 2, 0), "");
}

TEST(ReadNextWord, ConsumesOneWordAtATime) {
    char text[] = "  SYPCRTN   1  ";
    char word[16];
    readNextWord(word, sizeof word, text);
    EXPECT_STREQ(word, "SYPCRTN");
    EXPECT_STREQ(text, "1  ");
    readNextWord(word, sizeof word, text);
    EXPECT_STREQ(word, "1");
    EXPECT_STREQ(text, "");
    readNextWord(word, sizeof word, text);
    EXPECT_STREQ(word, "");
    EXPECT_STREQ(text, "");
}

TEST(ReadNextWord, ALongWordIsConsumedWholeEvenWhenCut) {
    char text[] = "ABCDEFGHIJ K";
    char word[4];
    readNextWord(word, sizeof word, text);
    EXPECT_STREQ(word, "ABC");
    EXPECT_STREQ(text, "K");
    std::string s = "\tone\ttwo";
    EXPECT_EQ(readNextWord(s), "one");
    EXPECT_EQ(s, "two");
}

TEST(BuildNameS, JoinsTheNonEmptyParts) {
    EXPECT_EQ(buildNameS("John", "", "Smith", "Jr"), "John Smith Jr");
    EXPECT_EQ(buildNameS(" John ", " Q ", " Smith ", ""), "John Q Smith");
    EXPECT_EQ(buildNameS("", "", "Smith", ""), "Smith");
    EXPECT_EQ(buildNameS("", "  ", "", ""), "");
    char buf[32] = "old";
    EXPECT_EQ(buildNameS(buf, sizeof buf, "Ann", nullptr, "Lee", nullptr, DISPLAY_NAME{1}), buf);
    EXPECT_STREQ(buf, "Ann Lee");
}

TEST(CaseInsensitiveCompare, AsciiFoldOnly) {
    EXPECT_EQ(strcmpiXC("ga", "GA"), 0);
    EXPECT_EQ(QVStringUtils::stricmp("Yes", "YES"), 0);
    EXPECT_LT(QVStringUtils::stricmp("abc", "ABD"), 0);
    EXPECT_GT(QVStringUtils::stricmp("abd", "ABC"), 0);
    EXPECT_LT(QVStringUtils::stricmp("ab", "ABC"), 0);
    EXPECT_GT(strcmpiXC("abc", "AB"), 0);
    // Bytes above 127 compare unsigned and are not folded.
    EXPECT_GT(QVStringUtils::stricmp("\xe9", "z"), 0);
    EXPECT_NE(QVStringUtils::stricmp("\xe9", "\xc9"), 0);
    EXPECT_EQ(QVStringUtils::stricmp(std::string("GA"), "ga"), 0);
}

TEST(UpperCase, AsciiInPlace) {
    char buf[] = "atlanta, ga 30301 \xe9";
    QVStringUtils::toUpperCase(buf);
    EXPECT_STREQ(buf, "ATLANTA, GA 30301 \xe9");
    std::string s = "mixed Case";
    QVStringUtils::toUpperCase(s);
    EXPECT_EQ(s, "MIXED CASE");
    char buf2[] = "abc";
    setUpCase(buf2);
    EXPECT_STREQ(buf2, "ABC");
}

TEST(TifCleanAddressString, KeepsLettersDigitsBlanksDashAndSlash) {
    char buf[] = "123 Main St., Apt #4";
    tifCleanAddressString(buf);
    EXPECT_STREQ(buf, "123 Main St Apt 4");
    std::string s = "P.O. Box 12/B-3";
    tifCleanAddressString(s);
    EXPECT_EQ(s, "PO Box 12/B-3");
    s = " 1 # 2\t3\x01 ";
    tifCleanAddressString(s);
    EXPECT_EQ(s, "1 2 3");
    s = "12-345/678 9";
    const std::string before = s;
    tifCleanAddressString(s);
    EXPECT_EQ(s, before);
}

TEST(TifCleanNameString, KeepsLettersDigitsBlanksDashAndAmpersand) {
    char buf[] = "O'Brien & Smith-Jones, Jr.";
    tifCleanNameString(buf);
    EXPECT_STREQ(buf, "OBrien & Smith-Jones Jr");
    std::string s = "John 3rd";
    tifCleanNameString(s);
    EXPECT_EQ(s, "John 3rd");
    s = "Jos\xc3\xa9";
    tifCleanNameString(s);
    EXPECT_EQ(s, "Jos");
}

TEST(TrimString, EachEndOnRequestAndRemoveAll) {
    EXPECT_EQ(*QVStringUtils::trimString("  a b  ", true, true), "a b");
    EXPECT_EQ(*QVStringUtils::trimString("  a b  ", true, false), "a b  ");
    EXPECT_EQ(*QVStringUtils::trimString("  a b  ", false, true), "  a b");
    EXPECT_EQ(*QVStringUtils::trimString("\t\r\n", true, true), "");
    std::string s = "--1-2--3-";
    QVStringUtils::removeAllInstanceOf(s, '-');
    EXPECT_EQ(s, "123");
}

}  // namespace
