// The payment voucher (form 77), the extension voucher (form 187982) and
// form 72, on a seeded return.
#include <gtest/gtest.h>

#include <string>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& f77 = kGAForm77FieldIds;
const auto& f187982 = kGAForm187982FieldIds;
const auto& f72 = kGAForm72FieldIds;
const auto& f70 = kGAForm70FieldIds;
const auto& f69 = kGAForm69FieldIds;

class PaymentVouchers : public GaTaxTest {
protected:
    PaymentVouchers() {
        engine.calcInfoForm(gaCopy(kGAForm69ID), 1, 1);  // the filers' fields of form 69, as the walk begins
        setText(gaCopy(kGAForm69ID), f69.f25, "123456789");
        setText(gaCopy(kGAForm69ID), f69.f30, "987654321");
        setBox(gaCopy(kGAForm69ID), f69.f110);
    }
    void owes(double amount) { setNumber(gaCopy(kGAForm70ID), f70.f106, amount); }
    DataMgmt::TaxFormPtr voucher() { return gaCopy(kGAForm77ID); }
    DataMgmt::TaxFormPtr extension() { return gaCopy(kGAForm187982ID); }
    void calcVouchers() {
        engine.calcPaymentVoucher(voucher(), 1, 1);
        engine.calcExtensionVoucher(extension(), 1, 1);
    }
};

TEST_F(PaymentVouchers, ScanLineOfAReturnFiledElectronicallyOrOnPaper) {
    owes(150);
    gaReturn()->setInElf(true);
    calcVouchers();
    EXPECT_EQ(text(voucher(), f77.f12), "52500123456789418092120000000000000007500000150001");
    EXPECT_TRUE(voucher()->xMarked(f77.f24017));
    EXPECT_TRUE(voucher()->isNull(f77.f24016));
    EXPECT_TRUE(ga->isDataEntered(kGAForm77ID, 1));
    EXPECT_EQ(text(extension(), f187982.f188006).substr(0, 21), "023001234567894180900");

    gaReturn()->setInElf(false);
    calcVouchers();
    EXPECT_EQ(text(voucher(), f77.f12).substr(15, 6), "180912");
    EXPECT_TRUE(voucher()->xMarked(f77.f24016));
    EXPECT_TRUE(voucher()->isNull(f77.f24017));
}

TEST_F(PaymentVouchers, NothingOwedGivesAZeroAmountAndNoMark) {
    owes(0);
    calcVouchers();
    EXPECT_EQ(voucher()->getIR(f77.f3), 0);
    EXPECT_EQ(text(voucher(), f77.f12).substr(39, 8), "00000000");
    EXPECT_EQ(text(extension(), f187982.f188006).substr(39, 8), "00000000");
    EXPECT_FALSE(ga->isDataEntered(kGAForm77ID, 1));
    EXPECT_FALSE(ga->isDataEntered(kGAForm187982ID, 1));
}

TEST_F(PaymentVouchers, AmountsOfTheAmendedReturnAndOfTheFiler) {
    owes(0);
    // Form 77 for the amended return: its balance due as the amended
    // return's last calculation left it.
    setNumber(gaCopy(kGAForm189219ID), kGAForm189219FieldIds.f189654, 320);
    setBox(voucher(), f77.f148019);
    // Form 187982 with an amount the filer enters.
    setBox(extension(), f187982.f188004);
    setNumber(extension(), f187982.f188005, 75);
    calcVouchers();
    EXPECT_EQ(voucher()->getIR(f77.f3), 320);
    EXPECT_EQ(text(voucher(), f77.f12).substr(39, 8), "00000320");
    EXPECT_EQ(extension()->getIR(f187982.f188005), 75);
    EXPECT_TRUE(ga->isDataEntered(kGAForm187982ID, 1));
    // Without box 188004 the amount owed replaces the entry.
    extension()->setXNo(f187982.f188004);
    calcVouchers();
    EXPECT_EQ(extension()->getIR(f187982.f188005), 0);
}

TEST_F(PaymentVouchers, SpouseNumbersOnlyOnAJointReturn) {
    for (int status : {1, 2, 3, 4}) {
        setFilingStatus(status);
        calcVouchers();
        engine.calcForm72(gaCopy(kGAForm72ID), 1, 1);
        const bool joint = status == 2;
        EXPECT_EQ(text(voucher(), f77.f4), joint ? "987654321" : "") << status;
        EXPECT_EQ(text(extension(), f187982.f187999), joint ? "987654321" : "") << status;
        EXPECT_EQ(text(gaCopy(kGAForm72ID), f72.f10), joint ? "987654321" : "") << status;
        EXPECT_EQ(text(voucher(), f77.f1), "123456789");
    }
}

TEST_F(PaymentVouchers, Form72DepositOfARefundAndItsMark) {
    auto info = gaCopy(kGAForm69ID);
    setText(info, f69.f79, "061000104");
    setText(info, f69.f80, "12345");
    setBox(info, f69.f81);
    auto form = gaCopy(kGAForm72ID);
    const struct {
        double refund;
        bool deposit;
        bool byCheck;
        bool deposited;
    } rows[] = {{100, true, false, true}, {100, false, true, false}, {0, true, false, false}};
    for (const auto& r : rows) {
        setNumber(gaCopy(kGAForm70ID), f70.f107, r.refund);
        setBox(info, f69.f77, r.deposit);
        engine.calcForm72(form, 1, 1);
        EXPECT_EQ(form->xMarked(f72.f48185), r.byCheck);
        EXPECT_EQ(form->xMarked(f72.f48187), r.deposited);
        EXPECT_EQ(text(form, f72.f22), r.deposited ? "061000104" : "");
        EXPECT_EQ(form->xMarked(f72.f25), r.deposited);
    }
    // Marked only on a return filed electronically.
    EXPECT_FALSE(ga->isDataEntered(kGAForm72ID, 1));
    gaReturn()->setInElf(true);
    engine.calcForm72(form, 1, 1);
    EXPECT_TRUE(ga->isDataEntered(kGAForm72ID, 1));
}

}  // namespace
}  // namespace gataxtest
