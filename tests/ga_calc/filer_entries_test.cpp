// What the filer enters stays through a calculation. Form 70 is calculated
// several times in one calculation, the first times before the information
// form, the schedules and the credits have their figures: the overpayment
// credited to next year, the dependents not counted for the low-income
// credit and the other adjustment of the itemized deductions stay until the
// last pass applies the form's rules to the final figures, as form 70
// calculated on its own after the whole return does. The state wage
// worksheet keeps the Georgia wages entered on a return file that has never
// been allocated.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "gatax_fixture.h"
#include "platform/returnfile/ReturnFile.h"

namespace gataxtest {
namespace {

const auto& f70 = kGAForm70FieldIds;
constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();

using Lines = std::vector<std::pair<FieldId, double>>;

// Each expected line holds its amount; kBlank: the line is empty.
void expectLines(DataMgmt::TaxReturn& ga, const FormId& form, const Lines& expected, const std::string& when) {
    for (const auto& [field, value] : expected) {
        if (std::isnan(value)) {
            EXPECT_TRUE(ga.isNull(form, 1, field)) << when << ", field " << field.getNumber();
        } else {
            EXPECT_EQ(ga.getIR(form, 1, field), value) << when << ", field " << field.getNumber();
        }
    }
}

// ------------------------------------------------ seeded returns, freshly entered

// A full-year single filer whose return has never been calculated; the
// entries of form 70 are made before the first calculation.
struct EntryCase {
    const char* name;
    std::vector<std::pair<Utils::PCTypes, std::int64_t>> common;
    double withheld;
    Lines entries;
    Lines expected;
};

class FreshEntries : public GaTaxTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(FreshEntries, StayUntilTheLastPassAppliesTheRules) {
    const EntryCase& c = GetParam();
    setFilingStatus(1);
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f36);
    for (const auto& [item, value] : c.common) {
        setCommon(item, value);
    }
    gaReturn()->setStateTaxWithheldNoLocal(c.withheld);
    const auto enter = [&] {
        for (const auto& [field, value] : c.entries) {
            setNumber(gaCopy(kGAForm70ID), field, value);
        }
    };
    enter();
    // As the host settles a return: the first calculation, then another.
    engine.calculateReturn(0);
    expectLines(*ga, kGAForm70ID, c.expected, "first calculation");
    engine.calculateReturn(0);
    expectLines(*ga, kGAForm70ID, c.expected, "second calculation");
    // The same entries made again on the calculated return, and form 70
    // calculated on its own, as after an entry: that calculation works on
    // the final figures and applies the rules as the last pass does.
    enter();
    engine.calculateForm(kGAForm70ID, 1, 0, 1, 1, gaCopy(kGAForm70ID));
    expectLines(*ga, kGAForm70ID, c.expected, "form 70 on its own");
}

using Item = Utils::PCTypes;

INSTANTIATE_TEST_SUITE_P(
    Cases, FreshEntries,
    ::testing::Values(
        // 52,000 less the social security of 17,000 that the schedule
        // subtracts: tax 1,475 against 2,000 withheld, an overpayment of 525
        // that limits the part credited. Without the subtraction the tax
        // would be 2,495, above the withholding.
        EntryCase{"CreditedHeldToTheOverpayment",
                  {{Item::kFederalAgi, 52000}, {Item::kTaxableSocialSecurity, 17000}},
                  2000,
                  {{f70.f101, 526}},
                  {{f70.f84, 1475}, {f70.f100, 525}, {f70.f101, 525}, {f70.f107, 0}, {f70.f106, kBlank}}},
        // More dependents not counted than the credit counts.
        EntryCase{"DependentsNotCountedHeldToTheDependents",
                  {{Item::kFederalAgi, 14000}, {Item::kDependents, 1}, {Item::kLowIncomeCreditDependents, 1}},
                  100,
                  {{f70.f350, 3}},
                  {{f70.f350, 1}, {f70.f90, 1}, {f70.f97, 8}}},
        // Itemized deductions of 20,000 less the other adjustment of 1,000.
        EntryCase{"OtherAdjustmentOfTheItemizedDeductionsStays",
                  {{Item::kFederalAgi, 100000}, {Item::kItemizes, 1}, {Item::kItemizedDeductions, 20000}},
                  5000,
                  {{f70.f75, 1000}},
                  {{f70.f75, 1000}, {f70.f78, 1000}, {f70.f79, 19000}}}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------ return files, saved and run again

// An example return, with entries made as a return file would carry them.
struct FileCase {
    const char* name;
    const char* file;
    std::vector<std::pair<FormId, Lines>> entries;
    std::vector<std::pair<FormId, Lines>> expected;
};

class ReturnFileEntries : public ::testing::TestWithParam<FileCase> {};

void expectForms(DataMgmt::TaxReturn& ga, const std::vector<std::pair<FormId, Lines>>& expected,
                 const std::string& when) {
    for (const auto& [form, lines] : expected) {
        expectLines(ga, form, lines, when);
    }
}

// Calculated as gahost settles a return, saved, read again into new returns
// and calculated again: every time the same figures.
TEST_P(ReturnFileEntries, HoldTheirFiguresWhenSavedAndRunAgain) {
    const FileCase& c = GetParam();
    std::string saved;
    {
        gaenginetest::OpenReturns returns;
        const PersistanceMgmt::ReturnFileContents loaded = PersistanceMgmt::ReturnFile::load(
            std::string(GA_SOURCE_DIR) + "/examples/" + c.file, returns.federal.get(), returns.georgia());
        for (const auto& [form, lines] : c.entries) {
            DataMgmt::TaxFormPtr copy = returns.ga->getFormUVPtr(form, 1, true);
            for (const auto& [field, value] : lines) {
                copy->setValue(field, std::isnan(value) ? FieldValue::null() : FieldValue::number(value));
            }
        }
        GACalculationMgmt::GATaxReturnCalcEngine engine(returns.us(), returns.georgia(),
                                                        TaxFormPrintMgmt::TaxFormPrinterPtr());
        engine.calculateReturn(0);
        engine.calculateReturn(0);
        expectForms(*returns.ga, c.expected, "calculated");
        saved = PersistanceMgmt::ReturnFile::serialize(
            PersistanceMgmt::ReturnFile::snapshot(returns.federal.get(), returns.georgia(), &loaded));
    }

    gaenginetest::OpenReturns again;
    const PersistanceMgmt::ReturnDescriptions descriptions{again.federal->getTaxReturnDesc().get(),
                                                           again.ga->getTaxReturnDesc().get()};
    PersistanceMgmt::ReturnFile::apply(PersistanceMgmt::ReturnFile::parse(saved, c.name, descriptions),
                                       again.federal.get(), again.georgia());
    expectForms(*again.ga, c.expected, "saved");
    GACalculationMgmt::GATaxReturnCalcEngine engine(again.us(), again.georgia(), TaxFormPrintMgmt::TaxFormPrinterPtr());
    engine.calculateReturn(0);
    expectForms(*again.ga, c.expected, "saved and run again");
}

const auto& st4 = kStateForm4FieldIds;

INSTANTIATE_TEST_SUITE_P(Examples, ReturnFileEntries,
                         ::testing::Values(
                             // Owing before the retirement exclusion is worked out, overpaid by
                             // 299 after it.
                             FileCase{"CreditedToNextYear",
                                      "retired-couple-credited-2019.xml",
                                      {},
                                      {{kGAForm70ID, {{f70.f100, 299}, {f70.f101, 200}, {f70.f107, 99}}}}},
                             // An overpayment of 45 before the individual credits of 650 are
                             // worked out, 695 after them: the passes before the credits keep
                             // the 300 credited.
                             FileCase{"CreditedAboveTheOverpaymentBeforeTheCredits",
                                      "individual-credits.xml",
                                      {{kGAForm70ID, {{f70.f101, 300}}}},
                                      {{kGAForm70ID, {{f70.f100, 695}, {f70.f101, 300}, {f70.f107, 395}}}}},
                             FileCase{"CreditedOnABalanceDue",
                                      "balance-due.xml",
                                      {{kGAForm70ID, {{f70.f101, 300}}}},
                                      {{kGAForm70ID, {{f70.f101, kBlank}, {f70.f106, 150}}}}},
                             FileCase{"DependentNotCounted",
                                      "low-income-credit.xml",
                                      {{kGAForm70ID, {{f70.f350, 1}}}},
                                      {{kGAForm70ID, {{f70.f350, 1}, {f70.f97, 8}, {f70.f107, 25}}}}},
                             // The Georgia wages entered on a worksheet that has never been
                             // allocated (no residency code in field 7).
                             FileCase{"GeorgiaWagesOfAPartYearResident",
                                      "part-year-resident.xml",
                                      {{kStateForm4ID, {{st4.f7, kBlank}}}},
                                      {{kStateForm4ID, {{st4.f27, 30000}}}, {kGAForm70ID, {{f70.f106, 65}}}}}),
                         [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace gataxtest
