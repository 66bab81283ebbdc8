// Georgia form 71, the underpayment penalty, computed on seeded forms 69 and
// 70.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gatax_fixture.h"

namespace gataxtest {
namespace {

const auto& f71 = kGAForm71FieldIds;
const auto& f70 = kGAForm70FieldIds;
const auto& f69 = kGAForm69FieldIds;

class Underpayment : public GaTaxTest {
protected:
    Underpayment() { setBox(form(), f71.f90); }  // keep the form (91 empties it)

    DataMgmt::TaxFormPtr form() { return gaCopy(kGAForm71ID); }
    // Net tax on form 70 and, as the other basis, the same prior-year tax.
    void netTax(double tax) {
        setNumber(gaCopy(kGAForm70ID), f70.f84, tax);
        setNumber(form(), f71.f55, tax);
    }
    void withheld(double amount) { setNumber(gaCopy(kGAForm70ID), f70.f87, amount); }
    // Dated estimated payment row `row` (0 to 11) of form 69.
    void paid(int row, const std::string& date, double amount) {
        setText(gaCopy(kGAForm69ID), FieldId(50 + 2 * row), date);
        setNumber(gaCopy(kGAForm69ID), FieldId(51 + 2 * row), amount);
    }
    void calc() { engine.calcUnderpaymentPenalty(form(), 1); }
    double v(const FieldId& x) { return ga->getIR(kGAForm71ID, 1, x); }
    bool blank(const FieldId& x) { return ga->isNull(kGAForm71ID, 1, x); }
};

// 4,000 net tax: 700 due in each of four installments. Column A overpays by
// 300, which column B takes; column C pays nothing.
TEST_F(Underpayment, FourColumnsCarryOverpaymentsAndChargeInterestToTheDay) {
    netTax(4000);
    paid(0, "04/10/2018", 1000);
    paid(1, "06/15/2018", 400);
    paid(2, "01/15/2019", 700);
    calc();
    EXPECT_EQ(v(f71.f16), 4);
    EXPECT_EQ(v(f71.f92), 700);
    EXPECT_EQ(v(f71.f47), -300);
    EXPECT_EQ(v(f71.f40), 300);  // carried into B
    EXPECT_EQ(v(f71.f48), 0);
    EXPECT_EQ(v(f71.f49), 700);
    EXPECT_EQ(v(f71.f41), 0);  // an underpayment carries nothing
    EXPECT_EQ(v(f71.f53), 1400);
    // Column C: 700 from 09/15/2018 to 04/15/2019 (212 days) at 9 % a year.
    EXPECT_EQ(text(form(), f71.f77), "04/15/2019");
    EXPECT_EQ(v(f71.f81), 212);
    EXPECT_NEAR(v(f71.f85), 700 * 212 * 0.09 / 365, 1e-9);
    EXPECT_TRUE(blank(f71.f83));
    EXPECT_NEAR(v(f71.f87), 36.59, 0.005);
    EXPECT_TRUE(ga->isDataEntered(kGAForm71ID, 1));
}

TEST_F(Underpayment, InstallmentCountDefaultsToFourAndIsHeldWithinOneToFour) {
    netTax(4000);
    withheld(400);
    paid(0, "04/10/2018", 100);
    paid(1, "01/10/2019", 50);
    const struct {
        const char* entered;  // nullptr: empty
        int installments;
    } rows[] = {{nullptr, 4}, {"0", 1}, {"7", 4}, {"2", 2}, {"3", 3}};
    for (const auto& r : rows) {
        form()->setNull(f71.f16);
        if (r.entered != nullptr) {
            setNumber(form(), f71.f16, std::stod(r.entered));
        }
        calc();
        EXPECT_EQ(v(f71.f16), r.installments);
        // The last N columns are used, each requiring 70 % of the net tax
        // divided by N (in cents, the last column the rest); the ones to
        // their left are empty.
        const FieldId rowOne[] = {f71.f17, f71.f18, f71.f19, f71.f20};
        const FieldId required[] = {f71.f92, f71.f93, f71.f94, f71.f95};
        const double part = std::floor(280000.0 / r.installments) / 100.0;
        for (int k = 0; k < 4; ++k) {
            const bool active = k >= 4 - r.installments;
            EXPECT_EQ(blank(rowOne[k]), !active) << r.installments << " column " << k;
            const double expected = k < 3 ? part : 2800.0 - part * (r.installments - 1);
            EXPECT_DOUBLE_EQ(v(required[k]), active ? expected : 0.0) << r.installments;
        }
    }
    // One installment: column D holds the whole withholding and every
    // dated payment.
    setNumber(form(), f71.f16, 1);
    calc();
    EXPECT_EQ(v(f71.f27), 400);
    EXPECT_EQ(v(f71.f31), 150);
    EXPECT_TRUE(blank(f71.f28));
}

// A withholding beyond the limit of amounts (no return file gives one) stops
// the calculation at the first field that would hold it.
TEST_F(Underpayment, AWithholdingBeyondTheLimitIsRefused) {
    netTax(4000);
    withheld(1e300);
    EXPECT_THROW(
        {
            try {
                calc();
            } catch (const Exceptions::QuarloException& e) {
                EXPECT_NE(e.getMessage().find("is beyond the limit of 10,000,000,000,000 dollars"), std::string::npos)
                    << e.getMessage();
                throw;
            }
        },
        Exceptions::QuarloException);
}

TEST_F(Underpayment, EqualPartsOfTheWithholdingAddBackToIt) {
    // Parts of whole cents, the last one the rest: they add up to the
    // withholding (or last year's tax) to the cent, and none is below 0.
    const struct {
        int installments;
        double amount;
        double parts[4];
        bool lastYearsTax = false;  // the parts of last year's tax instead
    } rows[] = {
        {4, 1001, {250.25, 250.25, 250.25, 250.25}},
        {3, 1000, {0, 333.33, 333.33, 333.34}},
        {4, 0.03, {0, 0, 0, 0.03}},
        {2, 1000.01, {0, 0, 500, 500.01}},
        {1, 999.99, {0, 0, 0, 999.99}},
        {4, 1024.09, {256.02, 256.02, 256.02, 256.03}},  // 102,409 cents, however near the double
        {4, 4000.03, {1000, 1000, 1000, 1000.03}, true},
    };
    for (const auto& r : rows) {
        netTax(4000);
        setNumber(form(), f71.f16, r.installments);
        withheld(r.lastYearsTax ? 0 : r.amount);
        if (r.lastYearsTax) setNumber(form(), f71.f55, r.amount);
        calc();
        const FieldId withholding[] = {f71.f24, f71.f25, f71.f26, f71.f27};
        const FieldId lastYear[] = {f71.f56, f71.f57, f71.f58, f71.f59};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(v(r.lastYearsTax ? lastYear[k] : withholding[k]), r.parts[k]) << r.amount << " column " << k;
        }
    }
    form()->setNull(f71.f16);
    withheld(1001);
    // Parts entered instead are held to what the earlier parts leave.
    form()->setNull(f71.f22);
    setBox(form(), f71.f23);
    setNumber(form(), f71.f24, 600);
    setNumber(form(), f71.f25, 600);
    setNumber(form(), f71.f26, -5);
    setNumber(form(), f71.f27, 50);
    calc();
    EXPECT_EQ(v(f71.f24), 600);
    EXPECT_EQ(v(f71.f25), 401);
    EXPECT_EQ(v(f71.f26), 0);  // below 0 becomes 0
    EXPECT_EQ(v(f71.f27), 0);
    // The first part is held to the withholding with its cents.
    withheld(1000.40);
    setNumber(form(), f71.f24, 5000);
    calc();
    EXPECT_EQ(v(f71.f24), 1000.40);
    EXPECT_EQ(v(f71.f25), 0);
    // Parts with cents that add up to the withholding are kept to the cent.
    withheld(1000);
    const double cents[] = {250.50, 250.50, 249.50, 249.50};
    const FieldId entered[] = {f71.f24, f71.f25, f71.f26, f71.f27};
    for (int k = 0; k < 4; ++k) setNumber(form(), entered[k], cents[k]);
    calc();
    for (int k = 0; k < 4; ++k) EXPECT_EQ(v(entered[k]), cents[k]) << "column " << k;
}

TEST_F(Underpayment, DatedPaymentsOutsideTheYearOrUnreadableAreLeftOut) {
    netTax(4000);
    setNumber(gaCopy(kGAForm69ID), f69.f49, 25);  // undated: first period
    paid(0, "12/31/2017", 1);
    paid(1, "01/01/2018", 10);
    paid(2, "01/15/2019", 100);
    paid(3, "01/16/2019", 1000);
    paid(4, "not a date", 10000);
    calc();
    EXPECT_EQ(v(f71.f28), 35);
    EXPECT_EQ(v(f71.f31), 100);
    EXPECT_EQ(v(f71.f54), 135);
}

// Column C underpaid by 700 with cumulative payments of 1,400.
TEST_F(Underpayment, ExceptionAmountsCancelOrLimitTheColumn) {
    netTax(4000);
    paid(0, "04/10/2018", 700);
    paid(1, "06/15/2018", 700);
    const struct {
        double exception;
        bool cancelled;
        double bearing;
    } rows[] = {{1399, true, 0}, {1400, false, 0}, {1700, false, 300}, {9000, false, 700}};
    for (const auto& r : rows) {
        for (const FieldId& x : {f71.f62, f71.f66, f71.f69}) {
            setNumber(form(), x, r.exception);
        }
        calc();
        EXPECT_EQ(blank(f71.f72), r.cancelled) << r.exception;
        EXPECT_EQ(v(f71.f72), r.bearing) << r.exception;
    }
    // An empty exception counts as 0, so the whole underpayment bears
    // interest.
    form()->setNull(f71.f69);
    calc();
    EXPECT_EQ(v(f71.f72), 700);
}

TEST_F(Underpayment, PaymentDatesAreHeldToTheReturnsDueDate) {
    netTax(4000);
    paid(0, "04/10/2018", 1400);
    const struct {
        const char* date;
        const char* stored;
        double days;
    } rows[] = {{"06/30/2019", "04/15/2019", 212}, {"10/15/2018", "10/15/2018", 30}, {"09/01/2018", "09/01/2018", 0}};
    for (const auto& r : rows) {
        setText(form(), f71.f77, r.date);
        calc();
        EXPECT_EQ(text(form(), f71.f77), r.stored);
        EXPECT_EQ(v(f71.f81), r.days);
    }
    EXPECT_EQ(v(f71.f85), 0);
}

TEST_F(Underpayment, OneInstallmentCountsFromJanuaryFifteenth) {
    netTax(3000);  // 66.66 %: 1,999.80 due
    withheld(1000);
    setBox(form(), f71.f9);
    const struct {
        const char* date;  // nullptr: empty
        double days;
    } rows[] = {{nullptr, 90}, {"02/14/2019", 30}, {"05/01/2019", 90}, {"12/01/2018", 0}, {"soon", 0}};
    for (const auto& r : rows) {
        form()->setNull(f71.f10);
        if (r.date != nullptr) {
            setText(form(), f71.f10, r.date);
        }
        calc();
        EXPECT_NEAR(v(f71.f87), r.days * 0.09 / 365 * 999.8, 1e-9) << (r.date ? r.date : "empty");
        EXPECT_TRUE(blank(f71.f15));
    }
    // More paid than due is no penalty, not a negative one.
    withheld(2500);
    calc();
    EXPECT_EQ(v(f71.f87), 0);
}

TEST_F(Underpayment, ExemptFilerAndAnEmptiedForm) {
    netTax(4000);
    setNumber(form(), f71.f16, 2);
    setBox(form(), f71.f8);
    setBox(form(), f71.f9);
    calc();
    EXPECT_EQ(text(form(), f71.f12), "Exempt,farmer/fisherman");
    EXPECT_TRUE(form()->xMarked(f71.f79298));
    EXPECT_FALSE(form()->xMarked(f71.f9));
    EXPECT_TRUE(blank(f71.f16));
    EXPECT_TRUE(blank(f71.f87));
    EXPECT_TRUE(ga->isDataEntered(kGAForm71ID, 1));

    // Neither 90 nor 91: 91 is marked and everything from the tax year to
    // the penalty is emptied, the answer of field 7 included.
    ga->setDataEntered(kGAForm71ID, 1, false);
    for (const FieldId& x : {f71.f90, f71.f8, f71.f9}) {
        form()->setNull(x);
    }
    setBox(form(), f71.f7);
    calc();
    EXPECT_TRUE(form()->xMarked(f71.f91));
    EXPECT_TRUE(blank(f71.f2));
    EXPECT_TRUE(blank(f71.f7));
    EXPECT_TRUE(blank(f71.f87));
    EXPECT_FALSE(ga->isDataEntered(kGAForm71ID, 1));
}

}  // namespace
}  // namespace gataxtest
