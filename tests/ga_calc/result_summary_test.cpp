// The Georgia result that gahost run prints, on calculated example returns.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "gatax_fixture.h"
#include "platform/returnfile/ReturnFile.h"

// The summary and the settle step are part of gahost, not of the module.
#include "host/ResultSummary.h"
#include "host/SettleReturn.h"

namespace gataxtest {
namespace {

class ResultSummary : public GaTaxTest {
protected:
    std::string resultOf(const std::string& file) {
        PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/" + file, federal.get(), gaReturn());
        engine.calculateReturn(0);
        std::ostringstream out;
        GAHost::printGeorgiaResult(out, *gaReturn());
        return out.str();
    }
};

TEST_F(ResultSummary, JointReturnOwingReadsLineByLine) {
    EXPECT_EQ(resultOf("joint-two-dependents.xml"),
              "Georgia result (individual income tax return, tax year 2018)\n"
              "  Filing status                                married filing jointly\n"
              "  Residency                                    full-year resident\n"
              "  Federal adjusted gross income                $85,000\n"
              "  Additions to income                          $0\n"
              "  Subtractions from income                     $0\n"
              "  Retirement exclusion, taxpayer               $0\n"
              "  Retirement exclusion, spouse                 $0\n"
              "  Georgia adjustments                          $0\n"
              "  Georgia adjusted gross income                $85,000\n"
              "  Standard deduction                           $6,000\n"
              "  Total standard deduction                     $6,000\n"
              "  Income after deductions                      $79,000\n"
              "  Personal exemptions                          $7,400\n"
              "  Dependent exemptions                         $6,000\n"
              "  Total exemptions                             $13,400\n"
              "  Taxable income                               $65,600\n"
              "  Tax                                          $3,679\n"
              "  Low-income credit                            $0\n"
              "  Total credits                                $0\n"
              "  Net tax                                      $3,679\n"
              "  Georgia tax withheld                         $3,500\n"
              "  Total payments and withholding               $3,500\n"
              "  Amount you owe                               $179\n"
              "  E-file summary                               balance due $179\n"
              "  Payment voucher (form 77)                    $179\n"
              "    Scan line                                  52500400002001018091220000000000000007500000179001\n");
}

TEST_F(ResultSummary, RefundAfterTheLowIncomeCredit) {
    const std::string text = resultOf("low-income-credit.xml");
    for (const char* line : {"  Low-income credit                            $16\n",
                             "  Net tax                                      $67\n",
                             "  Overpayment                                  $33\n",
                             "  Refund                                       $33\n",
                             "  E-file summary                               refund $33\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find("Amount you owe"), std::string::npos);
}

TEST_F(ResultSummary, AReturnNotYetCalculatedSaysSo) {
    std::ostringstream out;
    GAHost::printGeorgiaResult(out, *gaReturn());
    EXPECT_EQ(out.str(), "Georgia result: the main form has not been calculated\n");
}

// The settle step: a return whose form 69 copies form 70's amount owed before
// form 70 is calculated settles, and then both agree; an engine whose every
// calculation changes a field is stopped and named.
class SettleStep : public GaTaxTest {};

TEST_F(SettleStep, AReturnSettlesWithTheAmountOwedCopiedToForm69) {
    PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/municipal-interest.xml", federal.get(),
                                      gaReturn());
    const GAHost::Settling settling = GAHost::settleReturn(engine, *gaReturn());
    EXPECT_TRUE(settling.settled);
    EXPECT_GT(settling.calculations, 1);
    EXPECT_LE(settling.calculations, GAHost::kMaxCalculations);
    EXPECT_EQ(ga->getIN(kGAForm70ID, 1, kGAForm70FieldIds.f106), 71);
    EXPECT_EQ(ga->getIN(kGAForm69ID, 1, kGAForm69FieldIds.f187989), 71);
    std::ostringstream out;
    GAHost::reportCalculation(out, settling);
    EXPECT_EQ(out.str(), "calculated the Georgia return\n");
}

// Counts its calculations into form 70 line 106.
class CountingEngine : public CalculationMgmt::TaxReturnCalcEngine {
public:
    CountingEngine(GADataMgmt::GATaxReturn& ga, TaxFormPrintMgmt::TaxFormPrinterPtr printer)
        : TaxReturnCalcEngine(printer), ga_(ga) {}
    void calculateReturn(int) override {
        ga_.getFormUVPtr(kGAForm70ID, 1, true)->assignIR(kGAForm70FieldIds.f106, ++count_);
    }

private:
    GADataMgmt::GATaxReturn& ga_;
    int count_ = 0;
};

TEST_F(SettleStep, AReturnThatKeepsChangingIsStoppedAndNamed) {
    TaxFormPrintMgmt::TaxFormPrinterPtr noPrinter;
    CountingEngine counting(*gaReturn(), noPrinter);
    const GAHost::Settling settling = GAHost::settleReturn(counting, *gaReturn());
    EXPECT_FALSE(settling.settled);
    EXPECT_EQ(settling.calculations, GAHost::kMaxCalculations);
    EXPECT_EQ(ga->getIN(kGAForm70ID, 1, kGAForm70FieldIds.f106), GAHost::kMaxCalculations);
    std::ostringstream out;
    GAHost::reportCalculation(out, settling);
    EXPECT_EQ(out.str(),
              "calculated the Georgia return\n"
              "the Georgia return did not settle in 5 calculations: the last still changed form GA70 copy 1 field "
              "106 (4 before, 5 after); the figures below are those of the last calculation\n");
}

}  // namespace
}  // namespace gataxtest
