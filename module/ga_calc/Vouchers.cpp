// The payment voucher (form 77), the extension voucher (form 187982) and
// form 72.
//
// Not computed yet: the copies are left as they stand.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcForm72(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {}

void GATaxReturnCalcEngine::calcPaymentVoucher(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                               int /*passThrough*/) {}

void GATaxReturnCalcEngine::calcExtensionVoucher(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                 int /*passThrough*/) {}

}  // namespace GACalculationMgmt
