// The XML dumps and the field-name lists: the three documents against
// golden files on a small return, and the lists of the Georgia return.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "autotest_fixture.h"
#include "module/autotest/ReturnDumps.h"
#include "module/catalogues/GAForm69FieldIds.h"

namespace autotesttest {
namespace {

using StateCalculationMgmt::DumpLayout;

class DumpsTest : public AutoTestFixture {
protected:
    // FormB copy 1 and FormA copies 1 and 2 (the second without values);
    // FormC has no copy.
    void fillSmallReturn() {
        seed(kFormB, 1, kAmount.getNumber(), FieldValue::number(250));
        seed(kFormA, 1, kWhole, FieldValue::number(123500));
        seed(kFormA, 1, kLabel, FieldValue::text("  A & B <x> ]]> end "));
        seed(kFormA, 1, kBox, FieldValue::box(true));
        seed(kFormA, 1, kFieldX, FieldValue::number(0));
        seed(kFormA, 2, kBox, FieldValue::box(false));
        seed(kFormA, 2, kLabel, FieldValue::text("   "));
    }
    // Writes the document; records the busy mark at the recalculation.
    std::string write(DumpLayout layout) {
        const StateCalculationMgmt::DumpMarks marks{small->getFormOrCreate(kFormB, 1), kDone, kBusy};
        StateCalculationMgmt::writeReturnDocument(*small, layout, path("out"), "small", marks, [&] {
            busyDuringRecalculation.push_back(small->formYes(kFormB, 1, kBusy));
        });
        return readFile(path("out/small.xml"));
    }
    static std::string golden(const std::string& name) {
        return readFile(std::string(GA_SOURCE_DIR) + "/tests/data/autotest/" + name);
    }
    std::vector<bool> busyDuringRecalculation;
};

TEST_F(DumpsTest, DocumentsMatchTheirGoldenFiles) {
    fillSmallReturn();
    const struct {
        DumpLayout layout;
        const char* file;
    } cases[] = {{DumpLayout::kWholeReturn, "small-whole-return.xml"},
                 {DumpLayout::kDaemon, "small-daemon.xml"},
                 {DumpLayout::kFieldValues, "small-field-values.xml"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        small->getFormOrCreate(kFormB, 1)->setXNo(kDone);
        EXPECT_EQ(write(c.layout), golden(c.file));
        EXPECT_TRUE(small->formYes(kFormB, 1, kDone));
        EXPECT_FALSE(small->formYes(kFormB, 1, kBusy));
    }
    EXPECT_EQ(busyDuringRecalculation, std::vector<bool>(3, true));
}

TEST_F(DumpsTest, MarksAreSetAndPutBack) {
    // A directory that cannot be made writes nothing; the marks still move.
    const StateCalculationMgmt::DumpMarks marks{small->getFormOrCreate(kFormB, 1), kDone, kBusy};
    StateCalculationMgmt::writeReturnDocument(*small, DumpLayout::kDaemon, path("no/such/dir"), "small", marks, [] {});
    EXPECT_TRUE(small->formYes(kFormB, 1, kDone));
    // A failing recalculation leaves the busy mark clear and the done mark
    // as it was.
    marks.info->setXNo(kDone);
    EXPECT_THROW(StateCalculationMgmt::writeReturnDocument(
                     *small, DumpLayout::kDaemon, path("out"), "small", marks,
                     [] { throw Exceptions::QuarloException("failed", "test", "recalculate"); }),
                 Exceptions::QuarloException);
    EXPECT_FALSE(small->formYes(kFormB, 1, kBusy));
    EXPECT_FALSE(small->formYes(kFormB, 1, kDone));
}

// ------------------------------------------------------------ name lists

class NameListsTest : public AutoTestFixture {
protected:
    std::vector<std::string> lines(const std::string& name) {
        std::vector<std::string> out;
        std::istringstream in(readFile(path(name)));
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
    bool done() const { return ga->formYes(kGAForm69ID, 1, kGAForm69FieldIds.f72404); }
};

TEST_F(NameListsTest, EveryFormOrOneByName) {
    engine.writeAllFieldNames("all.txt", path("lists"));
    const std::vector<std::string> all = lines("lists/all.txt");
    std::size_t expected = 0;
    for (auto it = gaenginetest::definitions().georgia->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        expected += it.getTaxFormDescriptor()->fieldCount();
    }
    EXPECT_EQ(all.size(), expected);  // forms without copies are listed too
    EXPECT_TRUE(done());

    ga->getFormOrCreate(kGAForm69ID, 1)->setXNo(kGAForm69FieldIds.f72404);
    engine.writeFormFieldNames("ga71", "one.txt", path("lists"));
    const std::vector<std::string> one = lines("lists/one.txt");
    ASSERT_EQ(one.size(), gaenginetest::definitions().georgia->getTaxFormDescriptor(kGAForm71ID)->fieldCount());
    for (const std::string& name : one) EXPECT_EQ(name.rfind("kGA71_", 0), 0u) << name;
    EXPECT_TRUE(done());

    engine.writeFormFieldNames("GA71 ", "none.txt", path("lists"));
    EXPECT_TRUE(std::filesystem::exists(path("lists/none.txt")));
    EXPECT_TRUE(lines("lists/none.txt").empty());
}

}  // namespace
}  // namespace autotesttest
