// The wage-line table of the state wage worksheet (state form 4).
//
// One row per income line: the field of the federal main form that carries
// the line's federal amount (on form 1, 55 or 87), the worksheet's column A
// (the federal amount) and column B (the first state column) of that line,
// and whether the state columns are capped by the federal amount. Column C
// is the field after column B in state form 4's field order.
//
// The table is module-wide: the first engine built fills it, later engines
// reuse it, and it stays until the module is unloaded. Walks stop at the
// first row whose federal form 1 field is null.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Primitives.h"

namespace StateCalculationMgmt {

struct WageLineRow {
    Primitives::QVImmutableIdentifier form1Field;    // null ends the table
    Primitives::QVImmutableIdentifier form55Field;   // null: form 55 has no such line
    Primitives::QVImmutableIdentifier form87Field;   // null: form 87 has no such line
    Primitives::QVImmutableIdentifier amountField;   // column A on state form 4
    Primitives::QVImmutableIdentifier columnBField;  // column B on state form 4
    std::uint8_t limitMode = 0;                      // 1 capped, 2 not capped, 0 spare row
};

inline constexpr std::size_t kWageLineTableRows = 30;
inline constexpr std::size_t kWageLineTableFilledRows = 22;

// The table's rows (kWageLineTableRows of them), or null while no engine has
// been built in this module life.
const WageLineRow* wageLineTable();

}  // namespace StateCalculationMgmt
