// The conservation tax credit (form 203639).
//
// Every copy is one credit: its owner (taxpayer or spouse), the address of
// the return, the entity that passes the credit on, two amounts, the tax of
// the return and a summary block that the credit summary (form 189216)
// copies. The credit used is limited by the entity's type and by the tax.
// A copy that yields an amount is marked entered and calculated, so that the
// credit index links a summary copy to it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/GAForm203639FieldIds.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using namespace TaxYear;

const auto& f203639 = kGAForm203639FieldIds;

struct ConservationLines {
    FieldId taxpayerBox, spouseBox;
    FieldId ownerName, ownerNumber, street;
    std::array<FieldId, 3> cityStateZip;
    FieldId entityBlockBox, entityType;
    std::array<FieldId, 3> entityDetails;
    FieldId otherEntityBox, sCorporationBox, partnershipBox, spareEntityBox, trustBox;
    FieldId firstAmount, secondAmount, sum, tax, excess;
    // Summary block.
    FieldId code, secondAmountLine;
    std::array<FieldId, 3> entries;
    FieldId firstAmountLine;
    std::array<FieldId, 2> added;
    FieldId total, firstUsed, secondUsed, remaining;
};

constexpr ConservationLines kConservation{
    .taxpayerBox = f203639.f203790,
    .spouseBox = f203639.f203791,
    .ownerName = f203639.f203667,
    .ownerNumber = f203639.f203668,
    .street = f203639.f203669,
    .cityStateZip = {f203639.f203675, f203639.f203676, f203639.f203677},
    .entityBlockBox = f203639.f203792,
    .entityType = f203639.f203793,
    .entityDetails = {f203639.f203678, f203639.f203679, f203639.f203794},
    .otherEntityBox = f203639.f203673,
    .sCorporationBox = f203639.f203670,
    .partnershipBox = f203639.f203671,
    .spareEntityBox = f203639.f203672,
    .trustBox = f203639.f203674,
    .firstAmount = f203639.f203683,
    .secondAmount = f203639.f203684,
    .sum = f203639.f203685,
    .tax = f203639.f203686,
    .excess = f203639.f203687,
    .code = f203639.f203915,
    .secondAmountLine = f203639.f203916,
    .entries = {f203639.f203917, f203639.f203918, f203639.f203920},
    .firstAmountLine = f203639.f203921,
    .added = {f203639.f203922, f203639.f203923},
    .total = f203639.f203924,
    .firstUsed = f203639.f203925,
    .secondUsed = f203639.f203926,
    .remaining = f203639.f203927,
};
// The last field of the entity block.
const FieldId kEntityBlockLast = f203639.f203681;

// The box of the entity type, by its text as it stands (letter case
// included); any other text, an empty one too, is an entity of another type.
FieldId entityTypeBox(const ConservationLines& l, const std::string& type) {
    if (type == "Partnership or LLC") {
        return l.partnershipBox;
    }
    if (type == "S Corporation") {
        return l.sCorporationBox;
    }
    if (type == "Trust or Estate") {
        return l.trustBox;
    }
    return l.otherEntityBox;
}

}  // namespace

void GATaxReturnCalcEngine::calcConservationCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy,
                                                   int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const ConservationLines& l = kConservation;
    const Form70Lines& f70 = kForm70Lines;
    const auto status = static_cast<std::int16_t>(gaReturn_->getFilingStatusNumber());
    const FieldId none = Primitives::kNullFieldID;

    // The owner: the taxpayer unless the spouse's box is marked; a spouse
    // owns a credit on a joint return only.
    sheet.oneX(l.taxpayerBox, l.taxpayerBox, l.spouseBox);
    const bool spouseOwns = sheet.xMarked(l.spouseBox);
    assignOwnerName(handle, kGAForm69ID, status, Utils::DISPLAY_NAME{1}, spouseOwns ? none : l.ownerName, none, none,
                    none, spouseOwns ? l.ownerName : none, none, none, none, none, 0);

    // An entity of another type (as the last calculation found it) takes the
    // return's street and the taxpayer's number; otherwise the filer enters
    // them.
    if (sheet.xMarked(l.otherEntityBox)) {
        gaReturn_->getII(kGAForm70ID, f70.heading.street, handle, l.street);
        sheet.makeProtected(l.street);
        sheet.makeProtected(l.ownerNumber);
        if (!spouseOwns) {
            assignOwnerName(handle, kGAForm69ID, status, Utils::DISPLAY_NAME{1}, none, l.ownerNumber, none, none, none,
                            none, none, none, none, 0);
        }
    } else {
        open(sheet, {l.street, l.ownerNumber});
    }
    gaReturn_->getII(kGAForm70ID, f70.heading.city, handle, l.cityStateZip[0]);
    gaReturn_->getII(kGAForm70ID, f70.heading.state, handle, l.cityStateZip[1]);
    gaReturn_->getII(kGAForm70ID, f70.heading.zipCode, handle, l.cityStateZip[2]);

    // The entity block and the address are open only with its box.
    const std::array<FieldId, 9> entityBlock{l.entityType,       l.entityDetails[0], l.entityDetails[1],
                                             l.entityDetails[2], l.street,           l.cityStateZip[0],
                                             l.cityStateZip[1],  l.cityStateZip[2],  kEntityBlockLast};
    if (sheet.xMarked(l.entityBlockBox)) {
        open(sheet, entityBlock);
    } else {
        sheet.makeProtected(l.ownerNumber);
        sheet.makeProtected(l.street);
        lock(sheet, entityBlock);
    }

    // The entity type's box, from this copy's own text.
    for (const FieldId& box : {l.otherEntityBox, l.sCorporationBox, l.partnershipBox, l.spareEntityBox, l.trustBox}) {
        sheet.setXNo(box);
    }
    sheet.setX(entityTypeBox(l, gaReturn_->getFieldAsString(kGAForm203639ID, copy, l.entityType)));
    const bool lowerLimit = sheet.xMarked(l.otherEntityBox) || sheet.xMarked(l.trustBox);
    const double limit = lowerLimit ? kConservationLimitOtherEntity : kConservationLimit;

    // The two amounts, and how far their sum exceeds the tax of the return.
    open(sheet, {l.firstAmount, l.secondAmount});
    const double sum = store(sheet, l.sum, sheet.getIR(l.firstAmount) + sheet.getIR(l.secondAmount));
    gaReturn_->getII(kGAForm70ID, f70.credits.tax, handle, l.tax);
    const double tax = sheet.getIR(l.tax);
    store(sheet, l.excess, atLeastZero(sum - tax));

    // The summary block: the credit used is at most the total available, the
    // entity type's limit and the tax.
    fixText(sheet, l.code, "124");
    fix(sheet, l.secondAmountLine, sheet.getIR(l.secondAmount));
    open(sheet, l.entries);
    fix(sheet, l.firstAmountLine, sheet.getIR(l.firstAmount));
    const double total = store(sheet, l.total,
                               atLeastZero(sheet.getIR(l.firstAmountLine) + sheet.getIR(l.secondAmountLine) +
                                           sheet.getIR(l.added[0]) + sheet.getIR(l.added[1])));
    const double used =
        store(sheet, l.secondUsed, atLeastZero(std::min({sheet.getIR(l.secondUsed), total, limit, tax})));
    store(sheet, l.remaining, atLeastZero(total - (used + creditNotBelowZero(sheet, l.firstUsed))));

    if (sheet.getIR(l.sum) > 0.0 || sheet.getIR(l.remaining) > 0.0) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
