// Georgia form 69, the information form.
//
// What the information form takes from the federal return through the state
// layer: the heading rows (names, numbers, address) and the federal form
// filed, the owner information of state form 15, the taxpayer's residency
// when none is entered, the state rows of federal form 190, the filing
// options, the heading choice block and the driver licence blocks.
//
// Not computed yet: the spouse and return residency, the residency period,
// the filing-status and main-form fields, the defaults of the option boxes
// and the federal form 78 marks; the copy is not marked as data entered.
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcInfoForm(DataMgmt::TaxFormPtr handle, std::uint16_t /*copy*/, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    const auto& f = kGAForm69FieldIds;
    const FieldId none = Primitives::kNullFieldID;

    transferHeadingRows(handle, getFederalForm(), kStateForm15ID, kStateForm14ID,
                        {f.f21, f.f22, f.f23, f.f24, f.f25, f.f26, f.f27, f.f28, f.f29, f.f30, f.f31, f.f32, f.f33,
                         f.f34, f.f35},
                        none, f.f46, f.f47, f.f48);

    // The taxpayer's residency, from the federal return when none is marked.
    if (!handle->xMarked(f.f36) && !handle->xMarked(f.f38) && !handle->xMarked(f.f37)) {
        switch (getResidencyStatus(false)) {
            case 2:
                handle->setX(f.f38);
                break;
            case 3:
                handle->setX(f.f37);
                break;
            default:
                handle->setX(f.f36);
                break;
        }
    }

    transferStateRows(handle, f.f49, f.f74, f.f75,
                      {f.f51, f.f53, f.f55, f.f57, f.f59, f.f61, f.f63, f.f65, f.f67, f.f69, f.f71, f.f73});

    if (!handle->xMarked(f.f197644)) {
        transferFilingOptions(handle, f.f77, f.f12, f.f78, none, f.f79, f.f80, f.f81, f.f82, none, none, none, none);
    }

    protectHeadingFields(handle, f.f187983, f.f187984, f.f189221, none, f.f187987, f.f187988, f.f187985, f.f187986,
                         none, none, none);

    transferDriverLicenseInfo(
        handle,
        {f.f199053, f.f193208, f.f193209, f.f193210, f.f193211, f.f193212, f.f193213, f.f193214, f.f193215},
        {f.f199054, f.f193216, f.f193217, f.f193218, f.f193219, f.f193220, f.f193221, f.f193222, f.f193223});
}

}  // namespace GACalculationMgmt
