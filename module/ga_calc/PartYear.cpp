// Georgia form 189217, part-year and nonresident income.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcPartYearForm(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                             int /*passThrough*/) {}

}  // namespace GACalculationMgmt
