// Georgia form 189216, the credit summary, and form 204111, the credit index.
//
// Not computed yet: the copies are left as they stand.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcCreditSummaryForm(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                  int /*passThrough*/) {}

void GATaxReturnCalcEngine::indexCreditForms(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                             int /*passThrough*/) {}

}  // namespace GACalculationMgmt
