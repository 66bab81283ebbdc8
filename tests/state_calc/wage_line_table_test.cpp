// The wage-line table: built once by the first engine, rows in worksheet
// order, ended by a null row.
#include <gtest/gtest.h>

#include "module/state_calc/WageLineTable.h"
#include "state_calc_fixture.h"

namespace statecalctest {
namespace {

using StateCalculationMgmt::WageLineRow;
using StateCalculationMgmt::wageLineTable;

TEST_F(StateCalcTest, WageLineTableIsBuiltOnceAndReusedByLaterEngines) {
    const WageLineRow* first = wageLineTable();
    ASSERT_NE(first, nullptr);
    RecordingEngine second(static_cast<DataMgmt::USTaxReturn*>(federal.get()), state.get(),
                           TaxFormPrintMgmt::TaxFormPrinterPtr());
    EXPECT_EQ(wageLineTable(), first);
}

TEST_F(StateCalcTest, WageLineRowsStandInWorksheetOrder) {
    const WageLineRow* rows = wageLineTable();
    ASSERT_NE(rows, nullptr);
    const int form1[] = {80, 81,  82,  83,  85,  87,  89,  90,  91,  92,  94,
                         99, 650, 689, 690, 414, 551, 318, 386, 381, 117, 334};
    const int columnA[] = {37, 40,  43,    46, 49, 52, 55, 58, 61,  64,  67,
                           70, 116, 10504, 85, 88, 82, 91, 94, 103, 106, 109};
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(rows[i].form1Field.getNumber(), form1[i]) << "row " << i + 1;
        EXPECT_EQ(rows[i].amountField.getNumber(), columnA[i]) << "row " << i + 1;
        EXPECT_EQ(rows[i].columnBField.getNumber(), columnA[i] + 1) << "row " << i + 1;
    }
    // Lines 3, 4, 5, 8, 9 and 12 are not capped by the federal amount.
    for (int i = 0; i < 22; ++i) {
        const bool notCapped = i == 2 || i == 3 || i == 4 || i == 7 || i == 8 || i == 11;
        EXPECT_EQ(rows[i].limitMode, notCapped ? 2 : 1) << "row " << i + 1;
    }
    for (std::size_t i = 22; i < StateCalculationMgmt::kWageLineTableRows; ++i) {
        EXPECT_TRUE(rows[i].form1Field.isNullID()) << "row " << i + 1;
        EXPECT_TRUE(rows[i].amountField.isNullID()) << "row " << i + 1;
        EXPECT_EQ(rows[i].limitMode, 0) << "row " << i + 1;
    }
}

TEST_F(StateCalcTest, WageLinesOfTheShortFederalForms) {
    const WageLineRow* rows = wageLineTable();
    ASSERT_NE(rows, nullptr);
    // Row (1-based) -> form 55 field; every other row has none.
    const std::map<int, int> form55{{4, 286}, {6, 125}, {7, 127}, {10, 75}, {11, 129}, {13, 332}, {17, 251}};
    for (int r = 1; r <= 22; ++r) {
        const auto it = form55.find(r);
        EXPECT_EQ(rows[r - 1].form55Field.getNumber(), it == form55.end() ? 0 : it->second) << "row " << r;
        EXPECT_EQ(rows[r - 1].form87Field.getNumber(), r == 10 ? 91 : 0) << "row " << r;
    }
}

}  // namespace
}  // namespace statecalctest
