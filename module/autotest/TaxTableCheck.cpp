// The tax-table check: the tax that form 70 computes on a range of incomes
// against the Georgia tax table, one line an income:
//
//   income \t\t computed tax \t\t\t table amount \t\t OK or ERROR
//
// written to the configuration's check file. The incomes run from the
// floor (at least 0) to the ceiling (at most 100,000) by the increment, or
// by random steps of 0 to 50; no line is written for income 0.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "module/autotest/TestFiles.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/Configuration.h"
#include "platform/util/Crt.h"

namespace GACalculationMgmt {

namespace {

// The largest random step between two incomes.
constexpr int kLargestRandomStep = 50;

// The table's amounts by floor: "schedule 1,schedule 2,schedule 3".
std::map<long long, std::string> amountsByFloor(const GeorgiaTaxTableRows& table) {
    std::map<long long, std::string> rows;
    for (const GeorgiaTaxTableRow& row : table) {
        rows.emplace(std::atoll(row[0].c_str()), row[1] + "," + row[2] + "," + row[3]);
    }
    return rows;
}

// The table amount of the filing status on the row of the largest floor
// not above the income: status A the first, B and D the second, C the
// third; any other status keeps the amount it was given.
long long tableAmount(const std::map<long long, std::string>& rows, long long income, const std::string& status,
                      long long previous) {
    auto row = rows.upper_bound(income);
    if (row == rows.begin()) {
        return previous;
    }
    --row;
    std::istringstream amounts(row->second);
    long long columns[3] = {0, 0, 0};
    char comma = 0;
    amounts >> columns[0] >> comma >> columns[1] >> comma >> columns[2];
    if (status == "A") return columns[0];
    if (status == "B" || status == "D") return columns[1];
    if (status == "C") return columns[2];
    return previous;
}

}  // namespace

void GATaxReturnCalcEngine::runTaxTableTest(int floor, int ceiling, int increment, bool random) {
    testTaxTable(floor, ceiling, increment, random, GeorgiaTaxTable);
}

void GATaxReturnCalcEngine::testTaxTable(int floor, int ceiling, int increment, bool random,
                                         const GeorgiaTaxTableRows& table) {
    const Form70Lines& form70 = kForm70Lines;
    const std::map<long long, std::string> rows = amountsByFloor(table);
    const std::filesystem::path path = DataMgmt::QuarloConfiguration::getInstance()->taxTableCheckPath();
    StateCalculationMgmt::TestOutput file(path.parent_path().string(), path.filename().string(), "the tax-table check");
    std::ostream& out = file.stream();
    DataMgmt::TaxFormPtr info = gaReturn_->getFormOrCreate(kGAForm69ID, 1);
    DataMgmt::TaxFormPtr main = gaReturn_->getFormOrCreate(kGAForm70ID, 1);
    out << "INCOME" << '\t' << "VANTER CO"
        << "\t\t"
        << "TABLE"
        << "\t\t"
        << "STATUS"
        << "\n\n";
    info->setX(kForm69Lines.autoTest.busy);

    // Outside random mode an increment below 1 would never reach the
    // ceiling: only the heading is written.
    const long long limit = std::min(ceiling, kTaxTableTop);
    long long income = std::max(floor, 0);
    if (!random && increment < 1) {
        income = limit + 1;
    }
    long long expected = 0;
    try {
        while (income <= limit) {
            if (income == 0) {
                income = random ? std::max(increment, 1) : increment;
                continue;
            }
            expected =
                tableAmount(rows, income, gaReturn_->formString(kGAForm70ID, 1, form70.heading.filingStatus), expected);
            // The income stays as stored while form 70 is recalculated.
            main->assignIR(form70.income.taxable, static_cast<double>(income));
            main->getField(form70.income.taxable)->setOverridden(true);
            calculateAllCopies(kGAForm70ID);
            const long long computed = main->getIN(form70.credits.tax);
            main->getField(form70.income.taxable)->setOverridden(false);
            out << income << "\t\t" << computed << "\t\t\t" << expected << "\t\t"
                << (computed == expected ? "OK" : "ERROR") << '\n';
            income += random ? crt::rand() % (kLargestRandomStep + 1) : increment;
        }
    } catch (...) {
        main->getField(form70.income.taxable)->setOverridden(false);
        info->setXNo(kForm69Lines.autoTest.busy);
        throw;
    }
    info->setXNo(kForm69Lines.autoTest.busy);
    file.write();
    info->setX(kForm69Lines.autoTest.done);
}

}  // namespace GACalculationMgmt
