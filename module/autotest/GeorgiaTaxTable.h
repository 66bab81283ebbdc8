// The Georgia tax table that the tax-table check compares the calculation
// with: 1001 rows of four whole numbers written in decimal, built when the
// module is loaded.
//
// Row k (from 0) is the bracket of floor 100 x k, up to 100,000. Its three
// amounts are the tax of schedule 1 (filing status A), schedule 2 (B and D)
// and schedule 3 (C) on the bracket's midpoint, floor + 50, with the cents
// dropped; the last row holds the tax on exactly 100,000.
#pragma once

#include <array>
#include <string>

namespace GACalculationMgmt {

inline constexpr std::size_t kTaxTableRowCount = 1001;
inline constexpr int kTaxTableBracket = 100;
inline constexpr int kTaxTableTop = 100000;

// Floor, schedule 1, schedule 2, schedule 3.
using GeorgiaTaxTableRow = std::array<std::string, 4>;
using GeorgiaTaxTableRows = std::array<GeorgiaTaxTableRow, kTaxTableRowCount>;

extern const GeorgiaTaxTableRows GeorgiaTaxTable;

}  // namespace GACalculationMgmt
