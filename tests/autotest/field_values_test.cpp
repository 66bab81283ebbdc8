// The test-value setter, the field-value import and the field-group
// scrubber on a small return with every kind of field and edit code.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "autotest_fixture.h"
#include "platform/util/Crt.h"
#include "platform/util/IOMgmt.h"

namespace autotesttest {
namespace {

class FieldValuesTest : public AutoTestFixture {
protected:
    void set(int field, const std::string& text, std::uint16_t copy = 1, bool onlyIfValued = false) {
        engine.setFieldTestValue(kFormA, copy, FieldId(field), text, small.get(), onlyIfValued);
    }
    bool entered(std::uint16_t copy = 1) const { return small->isDataEntered(kFormA, copy); }
};

// ------------------------------------------------------------ the setter

TEST_F(FieldValuesTest, ValuesTakeTheFieldsKindAndScale) {
    struct Row {
        int field;
        const char* text;
        FieldValue stored;
    };
    const Row rows[] = {
        {kWhole, "1234.6", FieldValue::number(123500)},       // rounded to the dollar first
        {kWhole, "1234.4", FieldValue::number(123400)},       //
        {kWhole170, "1234.6", FieldValue::number(123500)},    //
        {kWhole172, "-0.5", FieldValue::number(-100)},        // halves away from zero
        {kCents, "1234.5", FieldValue::number(123450)},       //
        {kTenths, "1234.5", FieldValue::number(12345)},       //
        {kPlain, "1234.5", FieldValue::number(1234.5)},       // an edit code that scales nothing
        {kFieldX, " 45,000.00 ", FieldValue::number(45000)},  // as a return file writes it
        {kLabel, "Copy [CopyNum] of 3", FieldValue::text("Copy 2")},
        {kLabel, "RAND[5]", FieldValue::text("RAND[5]")},
        {kBox, "anything", FieldValue::box(true)},
        {kYesNo, "no", FieldValue::box(true)},  // any value but "untrue" ticks
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        small->deleteForm(kFormA, 2);
        set(row.field, row.text, 2);
        EXPECT_EQ(value(kFormA, 2, row.field), row.stored);
        EXPECT_TRUE(entered(2));
    }
}

TEST_F(FieldValuesTest, UntrueClearsABoxWithoutEnteringTheCopy) {
    seed(kFormA, 1, kBox, FieldValue::box(true));
    set(kBox, "untrue");
    EXPECT_TRUE(value(kFormA, 1, kBox).isNull());
    EXPECT_FALSE(entered());
}

TEST_F(FieldValuesTest, TheEmptyValueClearsAndEnters) {
    seed(kFormA, 1, kLabel, FieldValue::text("old"));
    set(kLabel, "");
    EXPECT_TRUE(value(kFormA, 1, kLabel).isNull());
    EXPECT_TRUE(entered());
}

// The maximum is cut to whole dollars, the amount rounded to the cent and
// scaled to the field's stored unit (a field without edit code keeps
// dollars).
TEST_F(FieldValuesTest, RandomAmountsScaleTheGeneratorsFraction) {
    const struct {
        int field;
        const char* text;
        double dollars;
        double unit;  // stored units a dollar
    } rows[] = {{kCents, "RAND[500.9]", 500, 100}, {kCents, "RAND[2.5]", 2, 100}, {kFieldX, "RAND[100]", 100, 1}};
    // Seed 8606 draws 28,142: 0.8589 of the maximum, far from 0 and 1.
    constexpr std::uint32_t kSeed = 8606;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        crt::srand(kSeed);
        const double cents = std::round(crt::rand() / 32767.0 * row.dollars * 100);
        crt::srand(kSeed);
        set(row.field, row.text);
        EXPECT_DOUBLE_EQ(value(kFormA, 1, row.field).getNumber(), cents / 100 * row.unit);
    }
}

// What a return file could not give the field as an entry is not set, and
// the field keeps what it held: a text that is no amount on an amount field
// (or as a random amount's maximum), a random amount without its maximum,
// an amount past 10^13 dollars, to more than the cent or below 0 where the
// field takes 0 or more, a text longer than its field or that XML cannot
// carry, a date outside its field's years.
TEST_F(FieldValuesTest, ValuesBeyondTheReturnFilesLimitsAreNotSetWithANote) {
    std::vector<std::string> notes;
    IOMgmt::IOMgr::getInstance().setNoticeSink([&](const std::string& text) { notes.push_back(text); });
    const struct {
        int field;
        std::string text;
        bool set;
    } rows[] = {
        {kCents, "RAND", false},
        {kCents, "RAND[", false},
        {kCents, "RAND500", false},
        {kCents, "xRAND[5]", false},
        {kCents, "RAND[abc]", false},
        {kCents, "ABC", false},
        {kCents, "12abc", false},
        {kWhole, "12abc", false},
        {kCents, "1e3", false},
        {kCents, "0x10", false},
        {kFieldX, "UNTRUE", false},
        {kCents, "1e999", false},
        {kCents, "-10000000000000.01", false},
        {kCents, "-10000000000000", true},
        {kWhole, "10000000000000.4", true},  // rounded to the dollar first
        {kWhole, "1e300", false},
        {kLabel, std::string(80, 'x'), true},
        {kLabel, std::string(81, 'x'), false},
        {kPaid, "0", true},
        {kPaid, "-0.01", false},
        {kFieldX, "-0.01", true},      // a field without a domain
        {kFieldX, "2345.555", false},  // more than the cent
        {kFieldX, "2345.550", true},
        {kCents, "12.345", false},
        {kMovedIn, "12/31/2018", true},
        {kMovedIn, "01/01/2019", false},
        {kMovedIn, "12/31/2017", false},
        {kMovedIn, "02/30/2018", false},
        {kLabel, "tab\tand line\nend", false},  // a value is one line
        {kLabel, "bell\a", false},
        {kLabel, "bad \xFF byte", false},
        {kLabel, "caf\xC3\xA9", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        small->deleteForm(kFormA, 3);
        notes.clear();
        set(row.field, row.text, 3);
        EXPECT_EQ(entered(3), row.set);
        EXPECT_EQ(notes.size(), row.set ? 0u : 1u);
        for (const std::string& note : notes) EXPECT_EQ(note.find("test facility: form FormA copy 3 field "), 0u);
        if (!row.set && row.field == kCents) {
            seed(kFormA, 1, kCents, FieldValue::number(123456));
            set(kCents, row.text, 1);
            EXPECT_EQ(value(kFormA, 1, kCents), FieldValue::number(123456));
        }
    }
    IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr);
}

TEST_F(FieldValuesTest, OnlyIfValuedLeavesEmptyFieldsAlone) {
    set(kFieldX, "5", 1, true);
    EXPECT_FALSE(small->formExists(kFormA, 1));
    seed(kFormA, 1, kFieldX, FieldValue::number(0));  // a zero is not significant
    set(kFieldX, "5", 1, true);
    EXPECT_EQ(value(kFormA, 1, kFieldX), FieldValue::number(0));
    seed(kFormA, 1, kFieldX, FieldValue::number(3));
    set(kFieldX, "5", 1, true);
    EXPECT_EQ(value(kFormA, 1, kFieldX), FieldValue::number(5));
}

TEST_F(FieldValuesTest, NothingNamedNothingSet) {
    // A field the form lacks, copies 0 and past the limit, an empty form.
    EXPECT_NO_THROW(engine.setFieldTestValue(kFormA, 1, kAmount.getNumber() + 100, "1", small.get(), false));
    set(kFieldX, "1", 0);
    set(kFieldX, "1", 4);
    EXPECT_NO_THROW(engine.setFieldTestValue(FormId(), 1, FieldId(1), "1", small.get(), false));
    EXPECT_TRUE(small->copyNumbers(kFormA).empty());
    EXPECT_THROW(engine.setFieldTestValue(kFormA, 1, FieldId(1), "1", nullptr, false), Exceptions::QuarloException);
}

// ------------------------------------------------------------ the import

TEST_F(FieldValuesTest, ImportAppliesEachWellFormedLine) {
    const std::string file = writeFile("import.txt",
                                       "forma::2+::FieldX::100\r\n"    // copies 1 and 2, form in any case
                                       "FORMA:::3::::Label:::12:30\n"  // runs of colons are one separator
                                       "FORMA::3::fieldx::7\n"         // the field keeps its case: unknown
                                       "FORMZ::1::FieldX::7\n"         // unknown form
                                       "FORMA::1::FieldX\n"            // three fields only
                                       "FORMA::3+::Whole::4\n"         // copies 1 to 3
                                       ":FORMB::1::Amount::-2.5\n");
    engine.importFieldValues(file, small.get());
    EXPECT_EQ(value(kFormA, 1, kFieldX), FieldValue::number(100));
    EXPECT_EQ(value(kFormA, 2, kFieldX), FieldValue::number(100));
    EXPECT_EQ(value(kFormA, 3, kLabel), FieldValue::text("12"));
    EXPECT_TRUE(value(kFormA, 3, kFieldX).isNull());
    EXPECT_TRUE(value(kFormA, 1, kCents).isNull());
    EXPECT_EQ(small->copyNumbers(kFormA), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(value(kFormA, 3, kWhole), FieldValue::number(400));
    EXPECT_EQ(small->getValue(kFormB, 1, kAmount), FieldValue::number(-2.5));
    EXPECT_TRUE(small->lastDataEnteredFromImport(kFormA, 1));
    EXPECT_NO_THROW(engine.importFieldValues(path("missing.txt"), small.get()));
}

// A copy number is read as a return file reads a count: a whole number from
// 1 to the form's copy limit (3). Any other is not set, with a note.
TEST_F(FieldValuesTest, ImportReadsCopyNumbersAsCountsOfTheFormsCopies) {
    std::vector<std::string> notes;
    IOMgmt::IOMgr::getInstance().setNoticeSink([&](const std::string& text) { notes.push_back(text); });
    const struct {
        const char* copy;
        std::vector<std::uint16_t> set;
    } rows[] = {
        {"2", {2}},  {" 2.0 ", {2}}, {"3", {3}}, {"2+", {1, 2}}, {"3+", {1, 2, 3}}, {"4", {}},
        {"4+", {}},  {"0", {}},      {"0+", {}}, {"-1", {}},     {"+", {}},         {"2x", {}},
        {"1e3", {}}, {"1.9", {}},    {"x", {}},  {"65536", {}},  {"65537", {}},     {"4294967297", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.copy);
        for (std::uint16_t copy = 1; copy <= 3; ++copy) small->deleteForm(kFormA, copy);
        notes.clear();
        engine.importFieldValues(writeFile("copies.txt", std::string("FORMA::") + row.copy + "::FieldX::7\n"),
                                 small.get());
        EXPECT_EQ(small->copyNumbers(kFormA), row.set);
        ASSERT_EQ(notes.size(), row.set.empty() ? 1u : 0u);
        for (const std::string& note : notes)
            EXPECT_NE(note.find("is no copy of the form (a whole number from 1 to 3)"), std::string::npos);
    }
    IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr);
}

// ------------------------------------------------------------ the scrubber

class ScrubberTest : public FieldValuesTest {
protected:
    void scrub(const std::string& text) {
        engine.scrubFieldGroups("GA", writeFile("groups.xml", text), small.get(), kFormB, kDone);
    }
    bool marked() const { return small->getValue(kFormB, 1, kDone).boxYes(); }
};

TEST_F(ScrubberTest, TheLastGroupOfTheEntityOverwritesValuedFields) {
    seed(kFormA, 1, kFieldX, FieldValue::number(1));
    seed(kFormA, 2, kLabel, FieldValue::text("keep"));
    seed(kFormA, 3, kFieldX, FieldValue::number(3));
    seed(kFormA, 3, kLabel, FieldValue::text("scrub me"));
    scrub(
        "<FIELDGROUPS>"
        "<FIELDGROUP ENTITY=\"GA\"><FIELDREF FORM=\"FormA\" COPY=\"1\" FIELD=\"kFORMA_Label\" VALUE=\"x\"/>"
        "</FIELDGROUP>"
        "<FIELDGROUP ENTITY=\"ga\"><FIELDREF FORM=\"FormA\" COPY=\"1\" FIELD=\"kFORMA_FieldX\" VALUE=\"8\"/>"
        "</FIELDGROUP>"
        "<FIELDGROUP ENTITY=\"GA\">"
        "<FIELDREF FORM=\"forma\" COPY=\"*\" FIELD=\"kFORMA_FieldX\" VALUE=\"9\"/>"
        "<FIELDREF FORM=\"FORMA\" COPY=\"*\" FIELD=\"kFORMA_Label\" VALUE=\"NULLSTR\"/>"
        "<FIELDREF FORM=\"Nowhere\" COPY=\"1\" FIELD=\"kFORMA_Whole\" VALUE=\"1\"/>"
        "<FIELDREF FORM=\"FormA\" COPY=\"2\" FIELD=\"kFORMA_Label\" VALUE=\"NULLSTR\"/>"
        "<FIELDREF FORM=\"FormA\" COPY=\"1x\" FIELD=\"kFORMA_FieldX\" VALUE=\"5\"/>"  // no copy
        "</FIELDGROUP></FIELDGROUPS>");
    EXPECT_EQ(value(kFormA, 1, kFieldX), FieldValue::number(9));
    EXPECT_TRUE(value(kFormA, 2, kFieldX).isNull());  // held no value
    EXPECT_EQ(value(kFormA, 3, kFieldX), FieldValue::number(9));
    EXPECT_TRUE(value(kFormA, 1, kLabel).isNull());  // the first group does not count
    EXPECT_TRUE(value(kFormA, 2, kLabel).isNull());
    EXPECT_TRUE(value(kFormA, 3, kLabel).isNull());
    EXPECT_TRUE(value(kFormA, 1, kWhole).isNull());
    EXPECT_TRUE(marked());
}

TEST_F(ScrubberTest, AFileWithoutRootChangesNothing) {
    seed(kFormA, 1, kFieldX, FieldValue::number(1));
    scrub("<FIELDGROUPS><FIELDGROUP ENTITY=\"GA\">");
    EXPECT_EQ(value(kFormA, 1, kFieldX), FieldValue::number(1));
    EXPECT_FALSE(small->formExists(kFormB, 1));
    scrub("<FIELDGROUPS/>");
    EXPECT_TRUE(marked());
}

}  // namespace
}  // namespace autotesttest
