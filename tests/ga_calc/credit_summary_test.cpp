// The credit index (form 204111) and the credit summary (form 189216).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gatax_fixture.h"
#include "module/catalogues/Form70Lines.h"
#include "platform/returnfile/ReturnFile.h"

namespace gataxtest {
namespace {

const auto& cs = kGAForm189216FieldIds;

class CreditSummary : public GaTaxTest {
protected:
    // A credit-form copy that yielded a credit in this calculation.
    DataMgmt::TaxFormPtr credited(const FormId& form, std::uint16_t copy) {
        auto sheet = ga->getFormUVPtr(form, copy, true);
        sheet->setCalculatedFlag(true);
        return sheet;
    }
    void index() { engine.indexCreditForms(gaCopy(kGAForm204111ID), 1, 1); }
    void summarise(std::uint16_t copy) {
        engine.calcCreditSummaryForm(ga->getFormUVPtr(kGAForm189216ID, copy, false), copy, 1);
    }
    std::vector<std::uint16_t> summaryCopies() const { return ga->copyNumbers(kGAForm189216ID); }
    std::pair<std::int64_t, std::int64_t> link(std::uint16_t copy) const {
        return {ga->getIN(kGAForm189216ID, copy, cs.f204113), ga->getIN(kGAForm189216ID, copy, cs.f204114)};
    }
};

TEST_F(CreditSummary, NoCreditLeavesOneEmptyCopy) {
    auto first = gaCopy(kGAForm189216ID);
    setNumber(first, cs.f204113, 187981);
    setNumber(first, cs.f204114, 1);
    setNumber(first, cs.f189825, 500);
    gaCopy(kGAForm187981ID);  // data, but no credit this time
    index();
    summarise(1);
    EXPECT_EQ(summaryCopies(), std::vector<std::uint16_t>{1});
    EXPECT_TRUE(first->isNull(cs.f204113));
    EXPECT_TRUE(first->isNull(cs.f203018));
    EXPECT_TRUE(first->isNull(cs.f189825));
    EXPECT_EQ(first->getIR(cs.f207108), 1);
    EXPECT_FALSE(first->isDataEntered());
}

TEST_F(CreditSummary, CopiesFollowTheFormsThenTheirCopies) {
    auto business = credited(kGAForm203811ID, 1);
    setText(business, kGAForm203811FieldIds.f203840, "Film Tax Credit");
    setText(business, kGAForm203811FieldIds.f203841, "122");
    setNumber(business, kGAForm203811FieldIds.f203861, 700);
    credited(kGAForm187981ID, 4);
    credited(kGAForm187981ID, 2);
    index();
    EXPECT_EQ(summaryCopies(), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(link(1), std::make_pair(std::int64_t{187981}, std::int64_t{2}));
    EXPECT_EQ(link(2), std::make_pair(std::int64_t{187981}, std::int64_t{4}));
    EXPECT_EQ(link(3), std::make_pair(std::int64_t{203811}, std::int64_t{1}));

    for (std::uint16_t copy = 1; copy <= 3; ++copy) {
        summarise(copy);
    }
    EXPECT_EQ(ga->getFieldAsString(kGAForm189216ID, 1, cs.f203018), "Qualified Education Expense Credit");
    EXPECT_EQ(ga->getFieldAsString(kGAForm189216ID, 1, cs.f199426), "125");
    EXPECT_EQ(ga->getFieldAsString(kGAForm189216ID, 3, cs.f203018), "Film Tax Credit");
    EXPECT_EQ(ga->getFieldAsString(kGAForm189216ID, 3, cs.f199426), "122");
    EXPECT_EQ(ga->getIR(kGAForm189216ID, 3, cs.f189825), 700);
    EXPECT_TRUE(ga->isDataEntered(kGAForm189216ID, 3));
    // 207108 by the summary copy's own number.
    EXPECT_EQ(ga->getIR(kGAForm189216ID, 2, cs.f207108), 2);
    EXPECT_EQ(ga->getIR(kGAForm189216ID, 3, cs.f207108), 1);
}

TEST_F(CreditSummary, SurplusCopiesGoAndOneEmptyCopyStays) {
    for (std::uint16_t copy = 1; copy <= 5; ++copy) {
        setNumber(ga->getFormUVPtr(kGAForm189216ID, copy, true), cs.f204113, 203638);
    }
    credited(kGAForm203638ID, 1);
    credited(kGAForm203639ID, 1);
    index();
    EXPECT_EQ(summaryCopies(), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(link(3), std::make_pair(std::int64_t{0}, std::int64_t{0}));
    EXPECT_TRUE(ga->isNull(kGAForm189216ID, 3, cs.f204113));
    summarise(4);  // gone: nothing happens

    // Gaps in the copy numbers: every copy above the kept one goes.
    for (std::uint16_t copy : {6, 9}) {
        ga->getFormUVPtr(kGAForm189216ID, copy, true);
    }
    ga->deleteForm(kGAForm189216ID, 2);
    gaCopy(kGAForm203639ID)->setCalculatedFlag(false);
    index();
    EXPECT_EQ(summaryCopies(), (std::vector<std::uint16_t>{1}));
    summarise(1);
    // 2 for summary copies 2 and 4 only.
    for (const auto& [copy, kind] : {std::pair<std::uint16_t, double>{4, 2}, {5, 1}, {6, 1}}) {
        ga->getFormUVPtr(kGAForm189216ID, copy, true);
        summarise(copy);
        EXPECT_EQ(ga->getIR(kGAForm189216ID, copy, cs.f207108), kind) << copy;
    }
}

TEST_F(CreditSummary, LinesComeFromTheLinkedCopyAndMissingLinesAreEmptied) {
    const auto& co = kGAForm203639FieldIds;
    auto conservation = credited(kGAForm203639ID, 2);  // no copy 1
    setNumber(conservation, co.f203926, 900);
    setNumber(conservation, co.f205659, 11);  // row 12
    setNumber(conservation, co.f203923, 20);  // row 20
    auto summary = gaCopy(kGAForm189216ID);
    setNumber(summary, cs.f204115, 5);  // row 21
    index();
    summarise(1);
    EXPECT_EQ(summary->getIR(cs.f189825), 900);
    EXPECT_EQ(summary->getIR(cs.f189814), 11);
    EXPECT_EQ(summary->getIR(cs.f189822), 20);
    EXPECT_TRUE(summary->isNull(cs.f204115));
    EXPECT_EQ(text(summary, cs.f199426), "124");

    // An education credit has no rows 11 to 35.
    conservation->setCalculatedFlag(false);
    credited(kGAForm187981ID, 1);
    index();
    summarise(1);
    EXPECT_TRUE(summary->isNull(cs.f189814));
    EXPECT_TRUE(summary->isNull(cs.f189822));

    // Only a remainder: still a credit of the summary.
    auto second = ga->getFormUVPtr(kGAForm189216ID, 2, true);
    setNumber(second, cs.f204113, 187981);
    setNumber(second, cs.f204114, 1);
    setNumber(gaCopy(kGAForm187981ID), kGAForm187981FieldIds.f203940, 40);
    summarise(2);
    EXPECT_EQ(second->getIR(cs.f189825), 0);
    EXPECT_TRUE(second->isDataEntered());
}

// The return: an education credit given through the 6 % part (600)
// with 4,000 entered as used, beside a film credit of which 1,200 is used.
// The 6 % part is no credit of the year, nothing is added to it, so the
// education credit used is held to 0 on its way to form 70, and the tax of
// 4,639 is reduced by the film credit alone.
TEST_F(CreditSummary, DonorPartEducationCreditReachesForm70HeldToWhatIsAvailable) {
    const auto& ed = kGAForm187981FieldIds;
    const auto& credits = kForm70Lines.credits;
    PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/education-and-film-credits.xml",
                                      federal.get(), gaReturn());
    auto education = gaCopy(kGAForm187981ID);
    setBox(education, ed.f188371);
    setNumber(education, ed.f188378, 5000);
    setNumber(education, ed.f188379, 5000);
    setNumber(education, ed.f188380, 10000);
    setNumber(education, ed.f203939, 4000);
    engine.calculateReturn(0);

    EXPECT_EQ(education->getIR(ed.f188382), 600);
    EXPECT_EQ(link(1), std::make_pair(std::int64_t{187981}, std::int64_t{1}));
    EXPECT_EQ(ga->getIR(kGAForm189216ID, 1, cs.f189825), 0);
    auto form70 = gaCopy(kGAForm70ID);
    EXPECT_EQ(form70->getIR(credits.tax), 4639);
    EXPECT_EQ(form70->getIR(credits.summary), 1200);
    EXPECT_EQ(form70->getIR(credits.netTax), 4639 - 1200);
}

}  // namespace
}  // namespace gataxtest
