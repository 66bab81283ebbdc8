// The interest statement (state form 2) and the dividend statement (state
// form 3): their layout over all copies and the recalculation of one copy.
//
// Not built yet: the statements keep whatever they hold, and no copy is laid
// out, added or cleared.
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::buildIntDivSummaries(int /*recalculate*/, FormId /*infoForm*/, FormId /*closingForm*/,
                                                    FormId /*interestForm*/, FieldId /*interestFirstLine*/,
                                                    FormId /*dividendForm*/, FieldId /*dividendFirstLine*/) {}

void StateTaxReturnCalcEngine::buildInterestStatement(DataMgmt::TaxFormPtr /*form*/, std::uint16_t /*copy*/,
                                                      std::int16_t /*extraValue*/, FormId /*infoForm*/,
                                                      std::int16_t /*filingStatus*/, int /*nameFormat*/,
                                                      int /*allocationOption*/) {}

void StateTaxReturnCalcEngine::buildDividendStatement(DataMgmt::TaxFormPtr /*form*/, std::uint16_t /*copy*/,
                                                      std::int16_t /*extraValue*/, FormId /*infoForm*/,
                                                      std::int16_t /*filingStatus*/, int /*nameFormat*/,
                                                      int /*allocationOption*/) {}

}  // namespace StateCalculationMgmt
