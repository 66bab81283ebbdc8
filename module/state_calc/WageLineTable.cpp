#include "module/state_calc/WageLineTable.h"

#include <array>
#include <memory>

#include "module/catalogues/WageLineRows.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

namespace {

using Table = std::array<WageLineRow, kWageLineTableRows>;

// Lives from the first engine construction until the module is unloaded.
std::unique_ptr<Table>& tableStorage() {
    static std::unique_ptr<Table> table;
    return table;
}

}  // namespace

const WageLineRow* wageLineTable() {
    const auto& table = tableStorage();
    return table ? table->data() : nullptr;
}

void StateTaxReturnCalcEngine::buildWageLineTable() {
    auto& storage = tableStorage();
    if (storage) {
        return;
    }
    constexpr std::uint8_t kCapped = 1;
    constexpr std::uint8_t kNotCapped = 2;
    static_assert(kWageLineRows.size() == kWageLineTableFilledRows);

    auto table = std::make_unique<Table>();  // every row null, limit mode 0
    for (std::size_t i = 0; i < kWageLineRows.size(); ++i) {
        const WageLineRowLines& line = kWageLineRows[i];
        (*table)[i] = WageLineRow{line.form1,   line.form55,   line.form87,
                                  line.federal, line.resident, line.capped ? kCapped : kNotCapped};
    }
    storage = std::move(table);
}

}  // namespace StateCalculationMgmt
