#include "module/autotest/GeorgiaTaxTable.h"

#include <algorithm>
#include <cstdint>

namespace GACalculationMgmt {

namespace {

// The upper ends of the 1 % to 5 % bands of each schedule, in dollars;
// above the last, every dollar is taxed at 6 %.
constexpr std::array<std::array<std::int64_t, 5>, 3> kBandTops{{
    {750, 2250, 3750, 5250, 7000},    // schedule 1
    {1000, 3000, 5000, 7000, 10000},  // schedule 2
    {500, 1500, 2500, 3500, 5000},    // schedule 3
}};

// The tax on a whole-dollar income, in cents: each band's dollars times its
// rate in percent. Exact, so cutting the cents later drops no more than
// the fraction.
std::int64_t taxInCents(std::int64_t income, const std::array<std::int64_t, 5>& tops) {
    std::int64_t cents = 0;
    std::int64_t bottom = 0;
    for (std::size_t band = 0; band <= tops.size(); ++band) {
        const std::int64_t top = band < tops.size() ? tops[band] : income;
        if (income > bottom) {
            cents += (std::min(income, top) - bottom) * static_cast<std::int64_t>(band + 1);
        }
        bottom = top;
    }
    return cents;
}

GeorgiaTaxTableRows buildTable() {
    GeorgiaTaxTableRows rows;
    for (std::size_t k = 0; k < kTaxTableRowCount; ++k) {
        const std::int64_t floor = static_cast<std::int64_t>(k) * kTaxTableBracket;
        const std::int64_t income = floor < kTaxTableTop ? floor + kTaxTableBracket / 2 : floor;
        rows[k][0] = std::to_string(floor);
        for (std::size_t schedule = 0; schedule < kBandTops.size(); ++schedule) {
            rows[k][schedule + 1] = std::to_string(taxInCents(income, kBandTops[schedule]) / 100);
        }
    }
    return rows;
}

}  // namespace

const GeorgiaTaxTableRows GeorgiaTaxTable = buildTable();

}  // namespace GACalculationMgmt
