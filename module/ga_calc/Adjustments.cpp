// Georgia form 189215, the additions to and subtractions from federal income.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcAdjustmentsForm(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                int /*passThrough*/) {}

}  // namespace GACalculationMgmt
