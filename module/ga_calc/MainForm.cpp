// Georgia form 70, the main return form.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcMainForm(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {}

}  // namespace GACalculationMgmt
