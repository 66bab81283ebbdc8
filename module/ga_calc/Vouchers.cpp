// The payment voucher (form 77), the extension voucher (form 187982) and
// form 72, the summary page of a return filed electronically.
//
// The vouchers carry the filers, their address, the amount paid and a scan
// line; form 72 repeats the information form's texts, five summary amounts of
// the return and the direct deposit of a refund.

#include <cstdint>
#include <utility>

#include "module/catalogues/Form187982Lines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form72Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/TaxYearStrings.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"

namespace GACalculationMgmt {

namespace {

const Form69Lines::Heading& kInfoHeading = kForm69Lines.heading;

// The fixed parts of a voucher's scan line.
struct ScanLineCodes {
    const char* documentCode;
    const char* filler;
    const char* periodCode;
    const char* yearCode;
    const char* voucherCode;
};
// The payment voucher, of a return on paper and of one filed electronically.
constexpr ScanLineCodes kPaymentOnPaper{"525", "000000000000", "180912", "20", "0"};
constexpr ScanLineCodes kPaymentElectronic{"525", "000000000000", "180921", "20", "0"};
constexpr ScanLineCodes kExtension{"023", "000000000000", "180900", "00", "0"};

using GADataMgmt::SummaryLine;

const Form77Lines& payment = kForm77Lines;
const Form187982Lines& extension = kForm187982Lines;
const Form72Lines& form72 = kForm72Lines;

// Names, number, address and tax year of a voucher, in upper case.
void fillVoucherHeading(GATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr handle, const VoucherLines& v) {
    GADataMgmt::GATaxReturn& ga = *engine.gaReturn();
    engine.assignOwnerName(handle, kGAForm69ID, ga.getFilingStatus(kGAForm70ID), Utils::DISPLAY_NAME{1}, v.name,
                           v.number, Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
                           v.spouseNumber, Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
                           1);
    engine.assignAddressLine(handle, v.street, 1);
    engine.assignAddressFields(handle, v.city, v.state, v.zipCode, 1);
    ga.getII(kForm92ID, kForm92Lines.reference, handle, v.federalReference);
    handle->assignText(v.taxYear, kTaxYear);
}

// A refund deposited into the account of the information form, or a refund
// by check; no refund marks neither.
void fillForm72Deposit(GADataMgmt::GATaxReturn& ga, DataMgmt::TaxFormPtr handle) {
    DataMgmt::TaxForm& form = *handle;
    const Form72Lines& l = form72;
    for (const FieldId& x :
         {l.routingNumber, l.accountNumber, l.checking, l.savings, l.refundByCheck, l.refundDeposited, l.unused}) {
        form.setNull(x);
    }
    if (form.getIR(l.refund) <= 0) {
        return;
    }
    const Form69Lines::Options& info = kForm69Lines.options;
    if (ga.formYes(kGAForm69ID, 1, info.directDeposit)) {
        const std::pair<FieldId, FieldId> account[] = {{l.routingNumber, info.depositRouting},
                                                       {l.accountNumber, info.depositAccount},
                                                       {l.checking, info.depositChecking},
                                                       {l.savings, info.depositSavings}};
        for (const auto& [target, source] : account) {
            ga.getII(kGAForm69ID, source, handle, target);
        }
        form.setX(l.refundDeposited);
    } else {
        form.setX(l.refundByCheck);
    }
}

}  // namespace

void GATaxReturnCalcEngine::calcPaymentVoucher(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *handle;
    const VoucherLines& v = payment.voucher;
    form.setX(payment.always);
    const bool electronic = gaReturn_->InElf();
    form.setX(electronic ? payment.electronic : payment.onPaper);
    form.setNull(electronic ? payment.onPaper : payment.electronic);
    fillVoucherHeading(*this, handle, v);

    // The amount owed, or the balance due of the amended return when the
    // voucher pays that (as the amended return's last calculation left it).
    form.assignIR(v.amount, static_cast<double>(gaReturn_->getLineValue(getMainForm(), 1, SummaryLine::kAmountOwed)));
    form.unProtect(payment.forAmendedReturn);
    if (form.xMarked(payment.forAmendedReturn)) {
        form.assignIR(v.amount, static_cast<double>(
                                    gaReturn_->getIN(kGAForm189219ID, 1, kForm189219Lines.settlement.amountOwed)));
    }
    form.assignText(payment.formCode, TaxYear::kVoucherFormCode);

    const ScanLineCodes& codes = form.xMarked(payment.onPaper) ? kPaymentOnPaper : kPaymentElectronic;
    buildScanLine(handle, v.number, v.amount, codes.documentCode, codes.filler, codes.periodCode, codes.yearCode,
                  codes.voucherCode, v.scanLine);
    if (form.getIR(v.amount) > 0) {
        markEnteredAndCalculated(kGAForm77ID, copy);
    }
}

void GATaxReturnCalcEngine::calcExtensionVoucher(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *handle;
    const VoucherLines& v = extension.voucher;
    form.setX(extension.always);
    fillVoucherHeading(*this, handle, v);
    form.assignText(extension.formCode, TaxYear::kVoucherFormCode);

    // The amount the filer entered, or else the amount owed.
    if (form.xMarked(extension.amountEntered)) {
        form.unProtect(v.amount);
    } else {
        form.assignIR(v.amount,
                      static_cast<double>(gaReturn_->getLineValue(getMainForm(), 1, SummaryLine::kAmountOwed)));
        form.makeProtected(v.amount);
    }

    const ScanLineCodes& codes = kExtension;
    buildScanLine(handle, v.number, v.amount, codes.documentCode, codes.filler, codes.periodCode, codes.yearCode,
                  codes.voucherCode, v.scanLine);
    if (form.getIR(v.amount) > 0) {
        markEnteredAndCalculated(kGAForm187982ID, copy);
    }
}

void GATaxReturnCalcEngine::calcForm72(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *handle;
    const std::int8_t status = gaReturn_->getFilingStatus(kGAForm70ID);

    // The filers as the information form names them, in upper case.
    const auto& spouseTexts = form72.spouseNameTexts;
    assignOwnerInfo(handle, kGAForm69ID, status, form72.taxpayerFirstName, form72.taxpayerMiddleName,
                    form72.taxpayerLastName, Primitives::kNullFieldID, Primitives::kNullFieldID, spouseTexts[0],
                    spouseTexts[1], spouseTexts[2], Primitives::kNullFieldID, Primitives::kNullFieldID,
                    Primitives::kNullFieldID, 1);
    gaReturn_->getII(kGAForm69ID, kInfoHeading.taxpayerNumber, handle, form72.taxpayerNumber);
    if (status == FilingStatus::kJoint) {
        gaReturn_->getII(kGAForm69ID, kInfoHeading.spouseNumber, handle, form72.spouseNumber);
    } else {
        for (const FieldId& x : spouseTexts) {
            form.setNull(x);
        }
        form.setNull(form72.spouseNumber);
    }
    // The address: street, apartment, state, city and ZIP code.
    const std::pair<FieldId, FieldId> address[] = {{form72.street, kInfoHeading.street},
                                                   {form72.apartment, kInfoHeading.apartment},
                                                   {form72.state, kInfoHeading.state},
                                                   {form72.city, kInfoHeading.city},
                                                   {form72.zipCode, kInfoHeading.zipCode}};
    for (const auto& [target, source] : address) {
        gaReturn_->getII(kGAForm69ID, source, handle, target);
    }
    gaReturn_->getII(kGAForm70ID, kForm70Lines.result.federalReference, handle, form72.federalText);

    const std::pair<FieldId, SummaryLine> summary[] = {{form72.federalAgi, SummaryLine::kFederalAgi},
                                                       {form72.taxableIncome, SummaryLine::kTaxableIncome},
                                                       {form72.netTax, SummaryLine::kNetTax},
                                                       {form72.refund, SummaryLine::kRefund},
                                                       {form72.amountOwed, SummaryLine::kAmountOwed}};
    for (const auto& [target, line] : summary) {
        form.assignIR(target, static_cast<double>(gaReturn_->getLineValue(getMainForm(), 1, line)));
    }
    fillForm72Deposit(*gaReturn_, handle);

    // Form 72 goes only with a return filed electronically.
    if (gaReturn_->InElf()) {
        markEnteredAndCalculated(kGAForm72ID, copy);
    }
}

}  // namespace GACalculationMgmt
