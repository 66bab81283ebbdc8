// The whole-return calculation of example returns: the Georgia engine on the
// federal and Georgia returns loaded from the return file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StringPool.h"

namespace {

// The example return of that name (the joint one may be replaced through
// GA_BENCH_RETURN).
std::string examplePath(const std::string& name) {
    const char* env = std::getenv("GA_BENCH_RETURN");
    if (name == "joint-two-dependents.xml" && env != nullptr && *env != '\0') {
        return env;
    }
    return std::string(GA_EXAMPLES_DIR) + "/" + name;
}

// The definitions of GA_FORMS_DIR when it is set, else the compiled ones (as
// gahost takes them).
std::string calcFormsDir() {
    const char* env = std::getenv("GA_FORMS_DIR");
    return env != nullptr && *env != '\0' ? env : "";
}

void BM_CalculateWholeReturn(benchmark::State& state, const char* example) {
    const FormDefinitions::Library library = FormDefinitions::loadDirectoryOrDefault(calcFormsDir());
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(library.federal, pool));
    auto* georgia = new GADataMgmt::GATaxReturn(federal, library.georgia, pool);
    DataMgmt::TaxReturnPtr georgiaHandle(georgia);
    PersistanceMgmt::ReturnFile::load(examplePath(example), federal.get(), georgia);
    GACalculationMgmt::GATaxReturnCalcEngine engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), georgia,
                                                    TaxFormPrintMgmt::TaxFormPrinterPtr());
    for (auto _ : state) {
        engine.calculateReturn(0);
        benchmark::DoNotOptimize(engine.getRefundOrBalanceDue());
    }
}
// The joint example and three others.
BENCHMARK_CAPTURE(BM_CalculateWholeReturn, joint, "joint-two-dependents.xml")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CalculateWholeReturn, single, "single-wages.xml")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CalculateWholeReturn, interest_dividends, "interest-dividends.xml")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CalculateWholeReturn, part_year, "part-year-resident.xml")->Unit(benchmark::kMicrosecond);

}  // namespace
