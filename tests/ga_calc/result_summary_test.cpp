// The Georgia result that gahost run prints, on calculated example returns.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "gatax_fixture.h"
#include "module/catalogues/Form69Lines.h"
#include "platform/returnfile/ReturnFile.h"

// The summary and the settle step are part of gahost, not of the module.
#include "host/ResultSummary.h"
#include "host/SettleReturn.h"

namespace gataxtest {
namespace {

class ResultSummary : public GaTaxTest {
protected:
    std::string resultOf(
        const std::string& file, const std::function<void()>& edit = [] {}) {
        PersistanceMgmt::ReturnFile::load(std::string(GA_SOURCE_DIR) + "/examples/" + file, federal.get(), gaReturn());
        edit();
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

// A return that is not amended (form 69 box 108) shows its result by the
// plain labels and tells the form 189219 it holds; an amended return shows
// form 70's own result (a golden shows the others), here with the W-2's
// withholding (in hundredths) meeting the tax.
TEST_F(ResultSummary, AReturnNotAmendedPrintsNoAmendedResult) {
    const std::string text =
        resultOf("amended-return.xml", [&] { gaCopy(kGAForm69ID)->setNull(kForm69Lines.questions.amended); });
    EXPECT_EQ(text.substr(text.find("  Overpayment")),
              "  Overpayment                                  $125\n"
              "  Refund                                       $125\n"
              "  E-file summary                               refund $125\n"
              "  Amended return (form 189219)                 counts nowhere: form 69 box 108 (the return amends one "
              "filed before) is not marked\n");
}

// The same of the form entered on a copy other than the first; on an
// amended return that copy is no result, and the box is not blamed.
TEST_F(ResultSummary, AReturnNotAmendedTellsAnyCopyOfTheAmendedReturn) {
    const std::string text =
        resultOf("balance-due.xml", [&] { setNumber(gaCopy(kGAForm189219ID, 2), FieldId(189645), 400); });
    EXPECT_TRUE(
        text.ends_with("  Amended return (form 189219)                 counts nowhere: form 69 box 108 "
                       "(the return amends one filed before) is not marked\n"))
        << text;
    const std::string amended = resultOf("balance-due.xml", [&] {
        setNumber(gaCopy(kGAForm189219ID, 2), FieldId(189645), 400);
        gaCopy(kGAForm69ID)->setX(kForm69Lines.questions.amended);
    });
    EXPECT_EQ(amended.find("form 189219"), std::string::npos) << amended;
}

TEST_F(ResultSummary, AnAmendedReturnWhoseForm70OwesNothing) {
    const std::string text =
        resultOf("amended-return.xml", [&] { setNumber(fedCopy(kForm52ID), FieldId(32), 207500); });
    EXPECT_EQ(text.substr(text.find("  Total payments")),
              "  Total payments and withholding               $2,075\n"
              "  Form 500's own refund or amount owed (form 70) none\n"
              "  E-file summary (form 70's figure)            no refund, no balance due\n"
              "  Amended return, amount you owe (form 189219) $400\n");
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

// Runs a script on each calculation: the number of the calculation (from 1)
// decides what it writes.
class ScriptedEngine : public CalculationMgmt::TaxReturnCalcEngine {
public:
    using Script = std::function<void(GADataMgmt::GATaxReturn&, int)>;
    ScriptedEngine(GADataMgmt::GATaxReturn& ga, TaxFormPrintMgmt::TaxFormPrinterPtr printer, Script script)
        : TaxReturnCalcEngine(printer), ga_(ga), script_(std::move(script)) {}
    void calculateReturn(int) override { script_(ga_, ++count_); }

private:
    GADataMgmt::GATaxReturn& ga_;
    Script script_;
    int count_ = 0;
};

// The return that does not settle names a field that the last (fifth)
// calculation changed, with its values before and after: also a field that
// it filled or emptied ahead of one that stays set (form 70 lists line 84
// before line 106), and a value that moved to the same field of another
// copy or form, or to another field of the form.
TEST_F(SettleStep, TheFieldNamedIsOneTheLastCalculationChanged) {
    using Return = GADataMgmt::GATaxReturn;
    struct Place {
        FormId form;
        std::uint16_t copy;
        FieldId field;
    };
    // Sets the field to the value, or empties it when the value is 0.
    const auto put = [](Return& ga, const Place& p, double value) {
        auto c = ga.getFormUVPtr(p.form, p.copy, true);
        if (value == 0) {
            c->setNull(p.field);
        } else {
            c->assignIR(p.field, value);
        }
    };
    const auto odd = [](int n) { return n % 2 == 1; };
    // 5 moves between the two places: into the first on odd calculations.
    const auto moved = [&](Place first, Place second) {
        return [=](Return& ga, int n) {
            put(ga, first, odd(n) ? 5 : 0);
            put(ga, second, odd(n) ? 0 : 5);
        };
    };
    const auto& f70 = kGAForm70FieldIds;
    const Place tax{kGAForm70ID, 1, f70.f84};
    const Place owed{kGAForm70ID, 1, f70.f106};  // set on every calculation, after line 84
    struct Row {
        const char* what;
        ScriptedEngine::Script script;
        const char* named;
    };
    const Row rows[] = {
        {"filled ahead",
         [&](Return& ga, int n) {
             put(ga, owed, 7);
             put(ga, tax, odd(n) ? n : 0);
         },
         "form GA70 copy 1 field 84 (empty before, 5 after)"},
        {"emptied ahead",
         [&](Return& ga, int n) {
             put(ga, owed, 7);
             put(ga, tax, n == 5 ? 0 : n);
         },
         "form GA70 copy 1 field 84 (4 before, empty after)"},
        {"another copy", moved({kGAForm73ID, 1, kGAForm73FieldIds.f19}, {kGAForm73ID, 2, kGAForm73FieldIds.f19}),
         "form GA73 copy 1 field 19 (empty before, 5 after)"},
        // Field 1 is the first of both forms.
        {"another form", moved({kGAForm70ID, 1, f70.f1}, {kGAForm73ID, 1, kGAForm73FieldIds.f1}),
         "form GA70 copy 1 field 1 (empty before, 5 after)"},
        {"another field", moved(tax, {kGAForm70ID, 1, f70.f86}), "form GA70 copy 1 field 84 (empty before, 5 after)"},
    };
    for (const Row& row : rows) {
        for (const FormId& form : {kGAForm70ID, kGAForm73ID}) {
            while (ga->getFormCount(form) > 0) ga->deleteForm(form, ga->getFormCount(form));
        }
        ScriptedEngine scripted(*gaReturn(), TaxFormPrintMgmt::TaxFormPrinterPtr(), row.script);
        const GAHost::Settling settling = GAHost::settleReturn(scripted, *gaReturn());
        EXPECT_FALSE(settling.settled) << row.what;
        EXPECT_EQ(settling.stillChanging, row.named) << row.what;
    }
}

}  // namespace
}  // namespace gataxtest
