// The interest and dividend statements and the state wage worksheet of a
// whole-return calculation by the Georgia engine, on the example returns.
#include <gtest/gtest.h>

#include <string>

#include "module/catalogues/AllFieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "state_calc_fixture.h"

namespace stmtstest {
namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

class WholeReturnTest : public ::testing::Test {
protected:
    WholeReturnTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(statecalctest::library().federal, pool)),
          ga(new GADataMgmt::GATaxReturn(federal, statecalctest::library().georgia, pool)),
          engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(),
                 TaxFormPrintMgmt::TaxFormPrinterPtr()) {}

    GADataMgmt::GATaxReturn* gaReturn() { return static_cast<GADataMgmt::GATaxReturn*>(ga.get()); }
    void load(const std::string& file) {
        PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/" + file, federal.get(), gaReturn());
    }
    std::string text(const FormId& form, std::uint16_t copy, int field) {
        return ga->getFieldAsString(form, copy, FieldId(field));
    }
    double amount(const FormId& form, std::uint16_t copy, int field) { return ga->getIR(form, copy, FieldId(field)); }
    bool isNull(const FormId& form, std::uint16_t copy, int field) { return ga->isNull(form, copy, FieldId(field)); }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr ga;
    GACalculationMgmt::GATaxReturnCalcEngine engine;
};

TEST_F(WholeReturnTest, InterestAndDividendsOfAFullYearResident) {
    load("interest-dividends.xml");
    engine.calculateReturn(0);

    EXPECT_EQ(text(kStateForm2ID, 1, 3), "Peachtree Savings Bank||166||1||1");
    EXPECT_EQ(text(kStateForm2ID, 1, 31), "Peachtree Savings Bank");
    EXPECT_EQ(text(kStateForm2ID, 1, 36), "- Regular Interest");
    EXPECT_EQ(amount(kStateForm2ID, 1, 39), 1251);
    EXPECT_EQ(text(kStateForm2ID, 1, 41), "- U.S. Obligations");
    EXPECT_EQ(text(kStateForm2ID, 1, 46), "Atlantic Credit Union");
    EXPECT_EQ(amount(kStateForm2ID, 1, 151), 1336);
    EXPECT_EQ(amount(kStateForm2ID, 1, 154), 310);
    EXPECT_EQ(text(kStateForm2ID, 1, 27), "Jordan Example");
    EXPECT_TRUE(ga->isDataEntered(kStateForm2ID, 1));

    EXPECT_EQ(text(kStateForm3ID, 1, 46), "- Muni Bond Fund - In State");
    EXPECT_EQ(amount(kStateForm3ID, 1, 151), 2740);
    EXPECT_EQ(amount(kStateForm3ID, 1, 154), 300);
    EXPECT_EQ(amount(kStateForm3ID, 1, 157), 300);
    EXPECT_EQ(amount(kStateForm3ID, 1, 160), 200);

    // The worksheet sums the statements in the full-year column.
    EXPECT_EQ(amount(kStateForm4ID, 1, 8), 310 + 1336);
    EXPECT_EQ(amount(kStateForm4ID, 1, 11), 300 + 2740);
    EXPECT_EQ(amount(kStateForm4ID, 1, 7), 1);
    EXPECT_EQ(amount(kStateForm4ID, 1, 27), 61000);
}

TEST_F(WholeReturnTest, StatementCopiesFollowTheSourcesFromOneCalculationToTheNext) {
    load("interest-dividends.xml");
    for (std::uint16_t n = 3; n <= 14; ++n) {
        DataMgmt::TaxFormPtr copy = federal->getFormUVPtr(kForm166ID, n, true);
        copy->setValue(kForm166FieldIds.f9, DataMgmt::FieldValue::text("BANK " + std::to_string(n)));
        copy->setValue(kForm166FieldIds.f10, DataMgmt::FieldValue::number(1000));
    }
    engine.calculateReturn(0);
    // 3 + 2 lines, then twelve two-line entries: copy 1 takes nine of them.
    EXPECT_EQ(text(kStateForm2ID, 2, 3), "BANK 12||166||12||1");
    EXPECT_EQ(text(kStateForm2ID, 2, 31), "BANK 12");
    EXPECT_EQ(amount(kStateForm2ID, 2, 151), 30);
    EXPECT_TRUE(ga->isDataEntered(kStateForm2ID, 2));
    EXPECT_EQ(amount(kStateForm4ID, 1, 8), 310 + 1336 + 120) << "both copies add up";

    for (std::uint16_t n = 3; n <= 14; ++n) {
        federal->deleteForm(kForm166ID, n);
    }
    engine.calculateReturn(0);
    EXPECT_TRUE(isNull(kStateForm2ID, 1, 8)) << "the line after the last entry";
    EXPECT_TRUE(isNull(kStateForm2ID, 2, 3));
    EXPECT_TRUE(isNull(kStateForm2ID, 2, 31)) << "the copy's rows are cleared";
    EXPECT_EQ(amount(kStateForm2ID, 2, 151), 0);
    EXPECT_EQ(amount(kStateForm4ID, 1, 8), 310 + 1336);
}

TEST_F(WholeReturnTest, APartYearResidentsStateColumnsAreOpenAndKeptWithinTheFederalAmounts) {
    load("part-year-resident.xml");
    engine.calculateReturn(0);

    EXPECT_EQ(amount(kStateForm4ID, 1, 7), 2);
    EXPECT_EQ(amount(kStateForm4ID, 1, 26), 55000);
    EXPECT_EQ(amount(kStateForm4ID, 1, 27), 30000) << "the Georgia wages entered";
    EXPECT_TRUE(isNull(kStateForm4ID, 1, 28));
    EXPECT_EQ(amount(kStateForm4ID, 1, 35), 240) << "the taxable interest";
    EXPECT_EQ(amount(kStateForm4ID, 1, 36), 180) << "the ordinary dividends";
    EXPECT_EQ(amount(kStateForm4ID, 1, 73), 55420) << "the income column adds up to the federal AGI";
    EXPECT_FALSE(isNull(kStateForm4ID, 1, 41)) << "an income line's Georgia column is open";
    EXPECT_TRUE(isNull(kStateForm4ID, 1, 42));

    EXPECT_EQ(amount(kStateForm2ID, 1, 151), 240);
    EXPECT_EQ(amount(kStateForm2ID, 1, 152), 120) << "the Georgia share stays, within the total";
    EXPECT_TRUE(isNull(kStateForm2ID, 1, 153));
    EXPECT_EQ(amount(kStateForm3ID, 1, 152), 90);
    EXPECT_EQ(amount(kStateForm4ID, 1, 9), 120);
    EXPECT_EQ(amount(kStateForm4ID, 1, 12), 90);
}

}  // namespace
}  // namespace stmtstest
