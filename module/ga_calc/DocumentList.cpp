// Georgia form 76, the document list.
//
// Not computed yet: the copy is left as it stands.

#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcDocumentListForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) {
    if (form == kGAForm76ID) {
        calcDocumentList(handle, static_cast<std::uint16_t>(copy), passThrough);
    }
}

void GATaxReturnCalcEngine::calcDocumentList(DataMgmt::TaxFormPtr /*handle*/, std::uint16_t /*copy*/, int /*passThrough*/) {}

}  // namespace GACalculationMgmt
