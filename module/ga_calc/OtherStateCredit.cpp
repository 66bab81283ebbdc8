// Georgia form 73, the credit for tax paid to another state.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcOtherStateCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                     int passThrough) {
    if (form == kGAForm73ID) {
        calcOtherStateCredit(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcOtherStateCredit(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                 int /*passThrough*/) {}

}  // namespace GACalculationMgmt
