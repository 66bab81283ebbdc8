#include "platform/util/Crt.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

using CrtFiles = testsupport::ScratchDirTest;

TEST_F(CrtFiles, MkdirMakesOneLevelAndReportsFailure) {
    EXPECT_EQ(crt::mkdir(path("a")), 0);
    EXPECT_TRUE(fs::is_directory(path("a")));
    errno = 0;
    EXPECT_EQ(crt::mkdir(path("a")), -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(crt::mkdir(path("x/y")), -1);  // one level only
    EXPECT_FALSE(fs::exists(path("x")));
}

TEST_F(CrtFiles, RmdirNeverRemovesContents) {
    ASSERT_EQ(crt::mkdir(path("d")), 0);
    writeFile("d/options.xml", "x");
    EXPECT_EQ(crt::rmdir(path("d")), -1);
    EXPECT_TRUE(fs::exists(path("d/options.xml")));
    ASSERT_TRUE(fs::remove(path("d/options.xml")));
    EXPECT_EQ(crt::rmdir(path("d")), 0);
    EXPECT_FALSE(fs::exists(path("d")));
    EXPECT_EQ(crt::rmdir(path("d")), -1);
}

TEST_F(CrtFiles, RenameAndRemoveReportTheirResults) {
    writeFile("efile.txt", "content");
    EXPECT_EQ(crt::rename(path("efile.txt"), path("efile.txt.tmp")), 0);
    EXPECT_FALSE(fs::exists(path("efile.txt")));
    EXPECT_EQ(readFile(path("efile.txt.tmp")), "content");
    EXPECT_EQ(crt::rename(path("missing"), path("other")), -1);
    EXPECT_EQ(crt::remove(path("efile.txt.tmp")), 0);
    EXPECT_FALSE(fs::exists(path("efile.txt.tmp")));
    EXPECT_EQ(crt::remove(path("efile.txt.tmp")), -1);
}

TEST(CrtClock, FixedFunctionAndSystemClock) {
    crt::setClock(static_cast<std::time_t>(1514764800));  // 2018-01-01 00:00:00 UTC
    EXPECT_EQ(crt::now(), 1514764800);
    EXPECT_EQ(crt::now(), 1514764800);

    std::time_t t = 100;
    crt::setClock([&t] { return t++; });
    EXPECT_EQ(crt::now(), 100);
    EXPECT_EQ(crt::now(), 101);

    crt::resetClock();
    const std::time_t before = std::time(nullptr);
    const std::time_t got = crt::now();
    EXPECT_GE(got, before);
    EXPECT_LE(got, std::time(nullptr));
}

TEST(CrtClock, GmtimeBreaksDownInUtc) {
    std::tm tm{};
    ASSERT_TRUE(crt::gmtime(1546300799, tm));  // 2018-12-31 23:59:59 UTC
    char buf[40];
    ASSERT_GT(std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm), 0u);
    EXPECT_STREQ(buf, "2018-12-31T23:59:59Z");
}

TEST(CrtRand, FifteenBitSequenceFromSeedOne) {
    crt::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int want : expected) {
        EXPECT_EQ(crt::rand(), want);
    }
    crt::srand(1);
    EXPECT_EQ(crt::rand(), 41);
}

TEST(CrtRand, StaysWithinFifteenBitsAndFollowsTheRecurrence) {
    crt::srand(12345);
    std::uint32_t state = 12345;
    bool sawHigh = false;
    for (int i = 0; i < 100000; ++i) {
        state = state * 214013u + 2531011u;
        const int r = crt::rand();
        ASSERT_EQ(r, static_cast<int>((state >> 16) & 0x7FFF));
        ASSERT_GE(r, 0);
        ASSERT_LE(r, crt::kRandMax);
        sawHigh = sawHigh || r > 32000;
    }
    EXPECT_TRUE(sawHigh);
    crt::srand(1);
}

}  // namespace
