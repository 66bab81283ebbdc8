#include "module/state_calc/WageLineTable.h"

#include <array>
#include <memory>

#include "module/catalogues/Form1FieldIds.h"
#include "module/catalogues/Form55FieldIds.h"
#include "module/catalogues/Form87FieldIds.h"
#include "module/catalogues/StateForm4FieldIds.h"
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
    const auto& f1 = kForm1FieldIds;
    const auto& f55 = kForm55FieldIds;
    const auto& f87 = kForm87FieldIds;
    const auto& s4 = kStateForm4FieldIds;
    const FieldId none;
    constexpr std::uint8_t kCapped = 1;
    constexpr std::uint8_t kNotCapped = 2;

    auto table = std::make_unique<Table>();  // every row null, limit mode 0
    // Lines in worksheet order; line 17 (state fields 82-84) stands between
    // lines 16 and 18 although its fields are numbered lower.
    const std::array<WageLineRow, kWageLineTableFilledRows> rows{{
        {f1.f80, none, none, s4.f37, s4.f38, kCapped},        {f1.f81, none, none, s4.f40, s4.f41, kCapped},
        {f1.f82, none, none, s4.f43, s4.f44, kNotCapped},     {f1.f83, f55.f286, none, s4.f46, s4.f47, kNotCapped},
        {f1.f85, none, none, s4.f49, s4.f50, kNotCapped},     {f1.f87, f55.f125, none, s4.f52, s4.f53, kCapped},
        {f1.f89, f55.f127, none, s4.f55, s4.f56, kCapped},    {f1.f90, none, none, s4.f58, s4.f59, kNotCapped},
        {f1.f91, none, none, s4.f61, s4.f62, kNotCapped},     {f1.f92, f55.f75, f87.f91, s4.f64, s4.f65, kCapped},
        {f1.f94, f55.f129, none, s4.f67, s4.f68, kCapped},    {f1.f99, none, none, s4.f70, s4.f71, kNotCapped},
        {f1.f650, f55.f332, none, s4.f116, s4.f117, kCapped}, {f1.f689, none, none, s4.f10504, s4.f10505, kCapped},
        {f1.f690, none, none, s4.f85, s4.f86, kCapped},       {f1.f414, none, none, s4.f88, s4.f89, kCapped},
        {f1.f551, f55.f251, none, s4.f82, s4.f83, kCapped},   {f1.f318, none, none, s4.f91, s4.f92, kCapped},
        {f1.f386, none, none, s4.f94, s4.f95, kCapped},       {f1.f381, none, none, s4.f103, s4.f104, kCapped},
        {f1.f117, none, none, s4.f106, s4.f107, kCapped},     {f1.f334, none, none, s4.f109, s4.f110, kCapped},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        (*table)[i] = rows[i];
    }
    storage = std::move(table);
}

}  // namespace StateCalculationMgmt
