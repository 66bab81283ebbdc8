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

#include "module/catalogues/Form203639Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/ga_calc/WorksheetSteps.h"

namespace GACalculationMgmt {

using namespace worksheet;

namespace {

using namespace TaxYear;

// The box of the entity type, by the choice the return holds (read in these
// spellings, whatever the letter case entered); none is an entity of another
// type.
FieldId entityTypeBox(const Form203639Lines& l, const std::string& type) {
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

// The summary block: the first row's entries are the filer's, its amount
// in the total is the credit of the year; the credit used is at most the
// total available, the entity type's limit and the tax.
void fillSummaryBlock(DataMgmt::TaxForm& sheet, const Form203639Lines& l, double limit, double tax) {
    const Form203639Lines::SummaryRow& yearRow = l.summaryRows[0];
    fixText(sheet, l.code, "124");
    fix(sheet, l.secondAmountLine, sheet.getIR(l.secondAmount));
    open(sheet, {yearRow.name, yearRow.share, yearRow.payerId});
    fix(sheet, yearRow.rowTotal, sheet.getIR(l.firstAmount));
    const double total =
        store(sheet, l.total,
              atLeastZero(sheet.getIR(yearRow.rowTotal) + sheet.getIR(l.secondAmountLine) +
                          sheet.getIR(l.summaryRows[1].rowTotal) + sheet.getIR(l.summaryRows[2].rowTotal)));
    const double used =
        store(sheet, l.secondUsed, atLeastZero(std::min({sheet.getIR(l.secondUsed), total, limit, tax})));
    store(sheet, l.remaining, atLeastZero(total - (used + creditNotBelowZero(sheet, l.firstUsed))));
}

}  // namespace

void GATaxReturnCalcEngine::calcConservationCredit(DataMgmt::TaxFormPtr handle, std::uint16_t copy,
                                                   int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& sheet = *handle;
    const Form203639Lines& l = kForm203639Lines;
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
                                             l.cityStateZip[1],  l.cityStateZip[2],  l.entityBlockLast};
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

    fillSummaryBlock(sheet, l, limit, tax);

    // A credit carried in and used in full is a credit the copy produced,
    // though nothing of it is this year's or remains for later years.
    if (yieldsCredit(sheet, {l.sum, l.remaining, l.secondUsed})) {
        markEnteredAndCalculated(sheet.getFormID(), sheet.getCopyNumber());
    }
}

}  // namespace GACalculationMgmt
