// The other-state rows of form 73: before each calculation, every state for
// which the federal return holds a nonresident return gets its row, with the
// amounts of that return, on a full-year resident's return.

#include <string>

#include "module/catalogues/Form133618FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/util/Utils.h"

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::updateOtherStateRows() {
    const auto& f73 = kGAForm73FieldIds;
    const auto& f69 = kGAForm69FieldIds;

    if (!gaReturn_->formYes(kGAForm69ID, 1, f69.f36)) {
        // Only a full-year resident claims credit for tax paid to another
        // state on this form.
        for (DataMgmt::TaxFormIter it = gaReturn_->getForms(kGAForm73ID); !it.atEOL(); it.next()) {
            DataMgmt::TaxFormPtr row = it.getTaxForm();
            if (!row.isNull()) {
                row->setXNo(f73.f138856);
                row->makeProtected(f73.f138856);
            }
        }
        return;
    }

    for (DataMgmt::TaxFormIter it = gaReturn_->getForms(kGAForm73ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr row = it.getTaxForm();
        if (!row.isNull()) {
            row->unProtect(f73.f138855);
            row->unProtect(f73.f7);
            row->unProtect(f73.f16);
        }
    }

    const auto& f133618 = kForm133618FieldIds;
    const std::string ownState = gaReturn_->getAbbreviation();
    for (DataMgmt::TaxFormIter it = federalReturn()->getForms(kForm133618ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr nonresident = it.getTaxForm();
        if (nonresident.isNull()) {
            continue;
        }
        const std::uint16_t fedCopy = nonresident->getCopyNumber();
        const std::string state = federalReturn()->getFieldAsString(kForm133618ID, fedCopy, f133618.f133651);
        const std::string residency = federalReturn()->getFieldAsString(kForm133618ID, fedCopy, f133618.f133652);
        if (Utils::QVStringUtils::stricmp(state, ownState) == 0 ||
            Utils::QVStringUtils::stricmp(residency, "Nonresident") != 0) {
            continue;
        }

        DataMgmt::TaxFormPtr target;
        for (DataMgmt::TaxFormIter rows = gaReturn_->getForms(kGAForm73ID); !rows.atEOL(); rows.next()) {
            DataMgmt::TaxFormPtr row = rows.getTaxForm();
            if (row.isNull()) {
                continue;
            }
            const std::uint16_t c = row->getCopyNumber();
            if (Utils::QVStringUtils::stricmp(gaReturn_->getFieldAsString(kGAForm73ID, c, f73.f138855), state) == 0 ||
                Utils::QVStringUtils::stricmp(gaReturn_->getFieldAsString(kGAForm73ID, c, f73.f138854), state) == 0) {
                target = row;
                break;
            }
        }
        if (target.isNull()) {
            DataMgmt::TaxFormPtr info = gaReturn_->getFormUVPtr(kGAForm69ID, 1, false);
            if (!gaReturn_->formExists(kGAForm73ID, 1)) {
                target = gaReturn_->createForm(kGAForm73ID);
                if (target.isNull()) {
                    continue;
                }
                target->unProtect(f73.f138856);
                target->setX(f73.f138856);
                target->assignText(f73.f138854, state);
                if (!info.isNull()) {
                    info->setXNo(f69.f142705);
                }
            } else {
                // The state has no row of its own: the information form says
                // so, and form 73 is left as it is.
                if (!info.isNull()) {
                    info->setX(f69.f142705);
                }
                continue;
            }
        }

        target->unProtect(f73.f138856);
        if (target->xMarked(f73.f138856)) {
            target->makeProtected(f73.f138855);
            target->assignText(f73.f138855, state);
            target->makeProtected(f73.f7);
            federalReturn()->getIIM(kForm133618ID, f133618.f133653, fedCopy, target, f73.f7);
            target->makeProtected(f73.f16);
            federalReturn()->getIIM(kForm133618ID, f133618.f133654, fedCopy, target, f73.f16);
        } else {
            target->unProtect(f73.f138855);
            target->unProtect(f73.f7);
            target->unProtect(f73.f16);
        }
    }
}

}  // namespace GACalculationMgmt
