// The qualified education expense credit (form 187981), the rural hospital
// expense credit (form 203638) and the conservation credit (form 203639).
//
// Not computed yet: the copies are left as they stand.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcEducationExpenseCredit(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                       int /*passThrough*/) {}

void GATaxReturnCalcEngine::calcRuralHospitalCredit(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                    int /*passThrough*/) {}

void GATaxReturnCalcEngine::calcConservationCredit(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                   int /*passThrough*/) {}

}  // namespace GACalculationMgmt
