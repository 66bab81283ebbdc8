// Georgia form 69, the information form.
//
// The heading rows (names, numbers, address) and the federal form filed come
// from the federal return through the state layer; then the main form is
// calculated once on the values the information form had so far; then the
// residency boxes of both filers and of the return, the part-year period, the
// state rows of federal form 190, the main form and filing status, the
// version text of state form 14, the filing choices and their defaults, the
// bank and filing options, the heading block, the driver licence blocks and
// the two marks taken from the federal form 78 copies.

#include <string>

#include "module/catalogues/Form78FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/Managers.h"
#include "platform/UtilsMarks.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::calcInfoForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    const auto& f = kGAForm69FieldIds;
    const FieldId none = Primitives::kNullFieldID;
    DataMgmt::TaxForm& info = *handle;

    // 1. Heading rows, dependents' owner information and the federal form
    // filed.
    transferHeadingRows(
        handle, getFederalForm(), kStateForm15ID, kStateForm14ID,
        {f.f21, f.f22, f.f23, f.f24, f.f25, f.f26, f.f27, f.f28, f.f29, f.f30, f.f31, f.f32, f.f33, f.f34, f.f35}, none,
        f.f46, f.f47, f.f48);

    // 2. The main form first, on this form's values of the previous pass.
    DataMgmt::TaxFormPtr mainForm = gaReturn_->getFormUVPtr(kGAForm70ID, 1, true);
    if (!mainForm.isNull()) {
        calcFormCopy(kGAForm70ID, 1, 0, 0, 0, mainForm);
    }
    const int status = gaReturn_->getFilingStatusNumber();

    // 3. to 6. Residency of the taxpayer, the spouse and the third trio.
    info.setXNo(f.f1);
    info.oneX(f.f36, f.f38, f.f37);
    if (!info.xMarked(f.f36) && !info.xMarked(f.f38) && !info.xMarked(f.f37)) {
        switch (getResidencyStatus(false)) {
            case Residency::kPartYear:
                info.setX(f.f38);
                break;
            case Residency::kNonresident:
                info.setX(f.f37);
                break;
            default:
                info.setX(f.f36);
                break;
        }
    }
    info.oneX(f.f96, f.f97, f.f98);
    if (!info.xMarked(f.f96) && !info.xMarked(f.f97) && !info.xMarked(f.f98)) {
        // The spouse follows the taxpayer.
        if (info.xMarked(f.f36)) {
            info.setX(f.f96);
        } else if (info.xMarked(f.f38)) {
            info.setX(f.f97);
        } else {
            info.setX(f.f98);
        }
    }
    info.oneX(f.f99, f.f100, f.f101);

    // 7. Residency of the return: full year (110), part year (111) or
    // nonresident (112). A joint return is full-year only when both filers
    // are, nonresident only when both are.
    bool fullYear = false;
    bool nonresident = false;
    if (status == FilingStatus::kJoint) {
        fullYear = info.xMarked(f.f36) && info.xMarked(f.f96);
        nonresident = !fullYear && info.xMarked(f.f37) && info.xMarked(f.f98);
    } else {
        fullYear = info.xMarked(f.f36);
        nonresident = !fullYear && info.xMarked(f.f37);
    }
    if (fullYear) {
        info.setX(f.f110);
        info.setXNo(f.f111);
        info.setXNo(f.f112);
    } else if (nonresident) {
        info.setX(f.f112);
        info.setXNo(f.f111);
        info.setXNo(f.f110);
    } else {
        info.setX(f.f111);
        info.setXNo(f.f110);
        info.setXNo(f.f112);
    }

    // 8. The residency period of a part-year return; entered dates stay.
    if (info.xMarked(f.f111)) {
        info.unProtect(f.f113);
        info.unProtect(f.f114);
        if (info.isNull(f.f113)) {
            info.assignText(f.f113, "01/01/" + std::to_string(TaxYear::kYear));
        }
        if (info.isNull(f.f114)) {
            info.assignText(f.f114, "12/31/" + std::to_string(TaxYear::kYear));
        }
    } else {
        info.makeProtectedAndSetNull(f.f114);
        info.makeProtectedAndSetNull(f.f113);
    }

    // 9. State rows of federal form 190.
    transferStateRows(handle, f.f49, f.f74, f.f75,
                      {f.f51, f.f53, f.f55, f.f57, f.f59, f.f61, f.f63, f.f65, f.f67, f.f69, f.f71, f.f73});

    // 10. The main form's number and the filing status.
    info.assignIR(f.f6, getMainForm().getNumber());
    info.assignIR(f.f7, status);

    // 11. The product version on state form 14.
    DataMgmt::TaxFormPtr shared = gaReturn_->getFormUVPtr(kStateForm14ID, 1, true);
    if (!shared.isNull()) {
        shared->assignText(kStateForm14FieldIds.f143855, BusinessMgmt::BusinessMgr::getInstance().getVersion());
    }

    // 12. and 13. Filing choice and the marks of the state amounts.
    Utils::handleFilingChoice(handle, f.f13, f.f14);
    if (info.gtZero(f.f49)) {
        info.setX(f.f16);
    }
    if (info.gtZero(f.f74)) {
        info.setX(f.f17);
    }
    if (info.gtZero(f.f76)) {
        info.setX(f.f18);
    }

    // 14. Bank and filing options, unless the return is filed on paper with
    // no direct deposit (197644).
    info.unProtect(f.f77);
    info.unProtect(f.f78);
    info.unProtect(f.f83);
    info.unProtect(f.f84);
    if (!info.xMarked(f.f197644)) {
        transferFilingOptions(handle, f.f77, f.f12, f.f78, none, f.f79, f.f80, f.f81, f.f82, none, none, none, none);
    } else {
        info.makeProtectedAndSetNull(f.f77);
        info.makeProtectedAndSetNull(f.f78);
        info.setNull(f.f81);
        info.setNull(f.f82);
        info.setNull(f.f79);
        info.setNull(f.f80);
        info.makeProtectedAndSetNull(f.f83);
        info.makeProtectedAndSetNull(f.f84);
    }

    // 15. Heading block and the summary's refund line.
    protectHeadingFields(handle, f.f187983, f.f187984, f.f189221, none, f.f187987, f.f187988, f.f187985, f.f187986,
                         none, none, none);
    info.assignIR(f.f187989, static_cast<double>(gaReturn_->getLineValue(getMainForm(), 1, 27)));

    // 16. Defaults of the choice pairs.
    Utils::setDefaultX(handle, f.f83, f.f84, f.f83);
    Utils::setDefaultX(handle, f.f93, f.f92, f.f93);
    Utils::setDefaultX(handle, f.f105, f.f104, f.f105);
    Utils::setDefaultX(handle, f.f106, f.f106, f.f107);
    Utils::setDefaultX(handle, f.f109, f.f108, f.f109);
    Utils::setDefaultX(handle, f.f95, f.f94, f.f95);
    info.oneX(f.f33437, f.f33436, f.f33436);

    // 17. Names, addresses and the driver licence blocks; the issuing state
    // stands beside a filled licence number only.
    transferDriverLicenseInfo(
        handle, {f.f199053, f.f193208, f.f193209, f.f193210, f.f193211, f.f193212, f.f193213, f.f193214, f.f193215},
        {f.f199054, f.f193216, f.f193217, f.f193218, f.f193219, f.f193220, f.f193221, f.f193222, f.f193223});
    info.makeProtected(f.f193210);
    info.makeProtected(f.f193218);
    if (info.nonNull(f.f193209)) {
        info.assignText(f.f193210, "GA");
    } else {
        info.setNull(f.f193210);
    }
    if (info.nonNull(f.f193217)) {
        info.assignText(f.f193218, "GA");
    } else {
        info.setNull(f.f193218);
    }

    // 18. Federal form 78: any copy at all, and any copy with either of its
    // two boxes marked.
    info.setXNo(f.f196259);
    info.setXNo(f.f199731);
    const auto& f78 = kForm78FieldIds;
    for (DataMgmt::TaxFormIter it = federalReturn()->getForms(kForm78ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr form78 = it.getTaxForm();
        if (form78.isNull()) {
            continue;
        }
        info.setX(f.f199731);
        if (form78->xMarked(f78.f11981) || form78->xMarked(f78.f120)) {
            info.setX(f.f196259);
        }
    }

    // 19.
    gaReturn_->setDataEntered(kGAForm69ID, copy, true, false);
}

}  // namespace GACalculationMgmt
