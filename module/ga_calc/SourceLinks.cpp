// Source-document links of form 70 and form 189218, and the upkeep of the
// other-state rows of form 73.
//
// Not built yet: no link is written and the rows of form 73 are left as they
// stand.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcSourceLinksForm(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {}

void GATaxReturnCalcEngine::updateOtherStateRows() {}

void GATaxReturnCalcEngine::collectStateSourceLinks(const FormId& /*source*/, int& /*counter*/, int /*pass*/) {}

}  // namespace GACalculationMgmt
