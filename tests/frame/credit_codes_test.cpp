// The Georgia credit-code table.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "module/interview/FieldOptions.h"

namespace {

using FieldOptionsMgmt::getCreditCodeEntry;

TEST(CreditCodes, FortyOneRowsInOrderThenTheEmptyRow) {
    EXPECT_EQ(getCreditCodeEntry(0).code, "101");
    EXPECT_EQ(getCreditCodeEntry(0).name, "Employer's Credit for Basic Skills Education");
    EXPECT_EQ(getCreditCodeEntry(13).code, "114J");
    EXPECT_EQ(getCreditCodeEntry(14).code, "114M");
    EXPECT_EQ(getCreditCodeEntry(32).name, "Historic Rehab Tax Cr for any Other Cert Structure (not historic home)");
    EXPECT_EQ(getCreditCodeEntry(40).code, "144");
    EXPECT_EQ(getCreditCodeEntry(40).name, "Post-Consumer Waste Material Credit");

    // A walk to the first empty code: 41 distinct credits, each named; the
    // numbers 123 to 125 and 136 do not occur.
    std::set<std::string> codes;
    std::int16_t row = 0;
    while (!getCreditCodeEntry(row).code.empty()) {
        EXPECT_FALSE(getCreditCodeEntry(row).name.empty()) << row;
        codes.insert(std::string(getCreditCodeEntry(row).code));
        ++row;
    }
    EXPECT_EQ(row, 41);
    EXPECT_TRUE(getCreditCodeEntry(41).name.empty());
    EXPECT_EQ(codes.size(), 41u);
    for (const char* missing : {"114", "123", "124", "125", "136"}) {
        EXPECT_EQ(codes.count(missing), 0u) << missing;
    }
}

TEST(CreditCodes, IndexesOutsideTheTableGiveTheEmptyRow) {
    for (std::int16_t row :
         {std::int16_t{42}, std::int16_t{500}, std::int16_t{32767}, std::int16_t{-1}, std::int16_t{-32768}}) {
        EXPECT_TRUE(getCreditCodeEntry(row).code.empty()) << row;
        EXPECT_TRUE(getCreditCodeEntry(row).name.empty()) << row;
    }
}

}  // namespace
