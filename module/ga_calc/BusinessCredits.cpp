// Georgia form 203811, the pass-through business credits.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcBusinessCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                   int passThrough) {
    if (form == kGAForm203811ID) {
        calcBusinessCredits(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcBusinessCredits(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/,
                                                int /*passThrough*/) {}

}  // namespace GACalculationMgmt
