// Georgia form 71, the underpayment penalty.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcUnderpaymentForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                 int /*passThrough*/) {
    if (form == kGAForm71ID) {
        calcUnderpaymentPenalty(handle, static_cast<std::uint16_t>(copy));
    }
}

void GATaxReturnCalcEngine::calcUnderpaymentPenalty(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/) {}

}  // namespace GACalculationMgmt
