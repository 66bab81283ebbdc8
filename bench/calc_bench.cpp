// The whole-return calculation of the example return: the Georgia engine on
// the federal and Georgia returns loaded from the return file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/DataMgmt.h"
#include "platform/FormDefinitions.h"
#include "platform/ReturnFile.h"
#include "platform/StringPool.h"

namespace {

std::string calcReturnPath() {
    const char* env = std::getenv("GA_BENCH_RETURN");
    return env != nullptr && *env != '\0' ? env : GA_BENCH_RETURN;
}

std::string calcFormsDir() {
    const char* env = std::getenv("GA_FORMS_DIR");
    return env != nullptr && *env != '\0' ? env : GA_BENCH_FORMS;
}

void BM_CalculateWholeReturn(benchmark::State& state) {
    const FormDefinitions::Library library = FormDefinitions::loadDirectory(calcFormsDir());
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(library.federal, pool));
    auto* georgia = new GADataMgmt::GATaxReturn(federal, library.georgia, pool);
    DataMgmt::TaxReturnPtr georgiaHandle(georgia);
    PersistanceMgmt::ReturnFile::load(calcReturnPath(), federal.get(), georgia);
    GACalculationMgmt::GATaxReturnCalcEngine engine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), georgia,
                                                    TaxFormPrintMgmt::TaxFormPrinterPtr());
    for (auto _ : state) {
        engine.calculateReturn(0);
        benchmark::DoNotOptimize(engine.getRefundOrBalanceDue());
    }
}
BENCHMARK(BM_CalculateWholeReturn)->Unit(benchmark::kMicrosecond);

}  // namespace
