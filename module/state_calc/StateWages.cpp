// The state wage worksheet (state form 4): the allocation of the federal
// income lines to the state columns, the sums over all copies and the common
// federal amounts.
//
// Not built yet: the worksheet keeps whatever it holds.
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::allocateStateWages(DataMgmt::TaxFormPtr /*form*/, const char* /*abbreviation*/,
                                                  FormId /*infoForm*/, std::uint16_t /*filingStatus*/,
                                                  int /*residency*/, int /*displayValue*/) {}

void StateTaxReturnCalcEngine::sumAllCopies(DataMgmt::TaxFormPtr /*form*/, int /*kind*/) {}

void StateTaxReturnCalcEngine::pullCommonAmount(DataMgmt::TaxFormPtr /*form*/) {}

}  // namespace StateCalculationMgmt
