// Georgia form 75, the estimated tax worksheet and its four vouchers.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcEstimatedTaxForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                 int passThrough) {
    if (form == kGAForm75ID) {
        calcEstimatedTax(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcEstimatedTax(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                             int /*passThrough*/) {}

}  // namespace GACalculationMgmt
