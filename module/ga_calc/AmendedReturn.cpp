// Georgia form 189219, the amended return.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcAmendedReturnForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                  int /*passThrough*/) {
    if (form == kGAForm189219ID) {
        calcAmendedReturn(handle, static_cast<std::uint16_t>(copy));
    }
}

void GATaxReturnCalcEngine::calcAmendedReturn(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/) {}

}  // namespace GACalculationMgmt
