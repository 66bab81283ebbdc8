// The individual credit worksheets (forms 190054 to 190062) and their
// summary, form 74.
//
// Not computed yet: the copies are left as they stand.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::sumIndCrParts(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                          int /*passThrough*/) {}

void GATaxReturnCalcEngine::calcIndCr201(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr202(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr203(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr204(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr205(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr206(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr207(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr208(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

void GATaxReturnCalcEngine::calcIndCr209(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {
}

}  // namespace GACalculationMgmt
