// The Georgia result that gahost run prints, on calculated example returns.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "gatax_fixture.h"
#include "platform/returnfile/ReturnFile.h"

// The summary is part of gahost, not of the module.
#include "host/ResultSummary.h"

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

}  // namespace
}  // namespace gataxtest
