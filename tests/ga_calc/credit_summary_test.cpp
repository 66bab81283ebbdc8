// The credit index (form 204111) and the credit summary (form 189216).
#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "gatax_fixture.h"
#include "module/catalogues/ExpenseCreditLines.h"
#include "module/catalogues/Form203639Lines.h"
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
    setText(summary, cs.f204115, "Row 21");
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

// One credit copy beside the film credit of the example return, of which
// 1,200 is used this year: an education or rural hospital credit on one path
// of its form, or a conservation credit.
enum class Path { kIndividual, kSixPercent, kSeventyFiveA, kSeventyFiveB };

struct CreditPath {
    std::string name;
    FormId form;
    Path path;
    bool required;            // the second required box (the first follows the federal return)
    double partFirst;         // the first amount of every part; the others are 5,000 and 10,000
    std::size_t carriedLine;  // which of the amounts added to the credit
    double carried;
    double used;     // entered as used this year
    double credits;  // form 70's credits of the summary
    bool indexed;    // a summary copy stands for the credit form
};

void PrintTo(const CreditPath& r, std::ostream* os) { *os << r.name; }

std::vector<CreditPath> creditPaths() {
    const FormId& education = kGAForm187981ID;
    const FormId& rural = kGAForm203638ID;
    const FormId& conservation = kGAForm203639ID;
    // On both forms: 700 carried in, with 4,000 entered as used, is held to
    // the 700 available and used in full, on the individual part with and
    // without its amounts and the required box, and on both donor parts,
    // whose results (600 and 800) are no credit of the year. A credit carried
    // in and kept for later years also makes the copy a credit.
    const CreditPath bothForms[] = {
        {"CarriedUsed", {}, Path::kIndividual, true, 0, 1, 700, 4000, 1900, true},
        {"CarriedKept", {}, Path::kIndividual, true, 0, 1, 700, 0, 1200, true},
        {"NoBoxCarriedUsed", {}, Path::kIndividual, false, 3000, 0, 700, 4000, 1900, true},
        {"SixCarriedUsed", {}, Path::kSixPercent, true, 800, 2, 700, 4000, 1900, true},
        {"SixNoBoxCarriedUsed", {}, Path::kSixPercent, false, 800, 1, 700, 4000, 1900, true},
        {"SeventyFiveCarriedUsed", {}, Path::kSeventyFiveA, true, 800, 1, 700, 4000, 1900, true},
        {"SeventyFiveNoBoxCarriedUsed", {}, Path::kSeventyFiveB, false, 800, 1, 700, 4000, 1900, true},
        {"Nothing", {}, Path::kIndividual, true, 0, 0, 0, 0, 1200, false},
    };
    std::vector<CreditPath> rows;
    for (const auto& [prefix, form] : {std::pair<std::string, FormId>{"Education", education}, {"Rural", rural}}) {
        for (CreditPath r : bothForms) {
            r.name = prefix + r.name;
            r.form = form;
            rows.push_back(r);
        }
    }
    rows.insert(rows.end(),
                {
                    // The 75 % part's result (800) makes the copy a
                    // credit only with the required boxes.
                    {"RuralSeventyFiveResult", rural, Path::kSeventyFiveA, true, 800, 0, 0, 0, 1200, true},
                    {"RuralSeventyFiveNoBoxNoResult", rural, Path::kSeventyFiveA, false, 800, 0, 0, 0, 1200, false},
                    // Carried in on the summary block's second row.
                    {"ConservationCarriedUsed", conservation, {}, {}, 0, 1, 700, 700, 1900, true},
                    {"ConservationCarriedKept", conservation, {}, {}, 0, 1, 700, 0, 1200, true},
                    {"ConservationNothing", conservation, {}, {}, 0, 1, 0, 0, 1200, false},
                });
    return rows;
}

class CreditSummaryOnForm70 : public CreditSummary, public ::testing::WithParamInterface<CreditPath> {
protected:
    // The entries of an education or rural hospital copy on its path.
    static void enterPath(const DataMgmt::TaxFormPtr& sheet, const CreditPath& r) {
        const ExpenseCreditLines& l = r.form == kGAForm187981ID ? kForm187981Lines : kForm203638Lines;
        setBox(sheet, l.secondRequiredBox, r.required);
        const FieldId* const donorBox[] = {nullptr, &l.sixPercentBox, &l.seventyFiveBoxA, &l.seventyFiveBoxB};
        if (const FieldId* box = donorBox[static_cast<int>(r.path)]) {
            setBox(sheet, *box);
        }
        setNumber(sheet, l.individual.first, r.partFirst);
        setNumber(sheet, l.individual.second, 5000);
        for (const ExpenseCreditLines::SharePart* part : {&l.sixPercent, &l.seventyFive}) {
            setNumber(sheet, part->first, r.partFirst);
            setNumber(sheet, part->second, 5000);
            setNumber(sheet, part->base, 10000);
        }
        setNumber(sheet, l.added[r.carriedLine], r.carried);
        setNumber(sheet, l.secondUsed, r.used);
    }
};

// Every amount the copy produces reaches form 70 through the credit summary:
// its credit of the year, and a credit carried in and used in full, which
// leaves nothing for later years. A part's result that the missing required
// boxes take away makes no summary copy.
TEST_P(CreditSummaryOnForm70, CreditUsedReachesForm70) {
    const CreditPath& r = GetParam();
    PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/education-and-film-credits.xml",
                                      federal.get(), gaReturn());
    ga->deleteForm(kGAForm187981ID, 1);
    auto sheet = gaCopy(r.form);
    if (r.form == kGAForm203639ID) {
        setNumber(sheet, kForm203639Lines.summaryRows[r.carriedLine].rowTotal, r.carried);
        setNumber(sheet, kForm203639Lines.secondUsed, r.used);
    } else {
        enterPath(sheet, r);
    }
    engine.calculateReturn(0);

    const auto& credits = kForm70Lines.credits;
    auto form70 = gaCopy(kGAForm70ID);
    EXPECT_EQ(form70->getIR(credits.tax), 4639);
    EXPECT_EQ(form70->getIR(credits.summary), r.credits);
    EXPECT_EQ(form70->getIR(credits.netTax), 4639 - r.credits);
    const FormId& first = r.indexed ? r.form : kGAForm203811ID;
    EXPECT_EQ(link(1), std::make_pair(std::int64_t{first.getNumber()}, std::int64_t{1}));
    EXPECT_EQ(sheet->isDataEntered(), r.indexed);
}

INSTANTIATE_TEST_SUITE_P(Paths, CreditSummaryOnForm70, ::testing::ValuesIn(creditPaths()),
                         [](const ::testing::TestParamInfo<CreditPath>& info) { return info.param.name; });

}  // namespace
}  // namespace gataxtest
