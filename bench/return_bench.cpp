// Loading a return file and walking every field of every form copy: the
// baseline that the whole-return calculation will be measured against.
//
// The return and the form definitions are the example return and the compiled
// definitions; GA_BENCH_RETURN and GA_FORMS_DIR name others.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "host/HostSession.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DataMgmt.h"

namespace {

std::string returnPath() {
    const char* env = std::getenv("GA_BENCH_RETURN");
    return env != nullptr && *env != '\0' ? env : GA_BENCH_RETURN;
}

// The definitions of GA_FORMS_DIR when it is set, else the compiled ones (as
// gahost takes them).
std::string formsDir() {
    const char* env = std::getenv("GA_FORMS_DIR");
    return env != nullptr && *env != '\0' ? env : "";
}

// Visits every field of every copy of every form of the return, in display
// order, and adds up what it reads.
std::size_t walkEveryField(DataMgmt::TaxReturn& r, double& total) {
    std::size_t visited = 0;
    const DataMgmt::TaxReturnDescPtr desc = r.getTaxReturnDesc();
    for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptorsInDisplayOrder(); !forms.atEOL(); forms.next()) {
        const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
        for (DataMgmt::TaxFormIter copies = r.getForms(form->getTypeID()); !copies.atEOL(); copies.next()) {
            const DataMgmt::TaxFormPtr copy = copies.getTaxForm();
            for (DataMgmt::QVFieldIDIter f = form->getFieldIDs(); !f.atEOL(); f.next()) {
                total += copy->getIR(f.getFieldID());
                ++visited;
            }
        }
    }
    return visited;
}

// The form definitions as a process starts with them: the compiled ones.
void BM_LoadFormDefinitions(benchmark::State& state) {
    for (auto _ : state) {
        const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
        benchmark::DoNotOptimize(library.georgia.get());
    }
}
BENCHMARK(BM_LoadFormDefinitions)->Unit(benchmark::kMicrosecond);

// The same with every field of every form laid out, as if each form were
// used.
void BM_LoadFormDefinitionsEveryField(benchmark::State& state) {
    for (auto _ : state) {
        const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
        std::size_t fields = 0;
        for (const DataMgmt::TaxReturnDesc* desc : {library.federal.get(), library.georgia.get()}) {
            for (DataMgmt::TaxFormDescIter it = desc->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
                fields += it.getTaxFormDescriptor()->getFieldIDs().size();
            }
        }
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(BM_LoadFormDefinitionsEveryField)->Unit(benchmark::kMicrosecond);

// The definition files of the build read and checked (gahost --forms DIR).
void BM_LoadFormDefinitionFiles(benchmark::State& state) {
    for (auto _ : state) {
        const FormDefinitions::Library library = FormDefinitions::loadDirectory(GA_BENCH_FORMS);
        benchmark::DoNotOptimize(library.georgia.get());
    }
}
BENCHMARK(BM_LoadFormDefinitionFiles)->Unit(benchmark::kMillisecond);

// Fresh returns, then the file read, validated and stored.
void BM_LoadReturnFile(benchmark::State& state) {
    GAHost::HostSession session(formsDir());
    for (auto _ : state) {
        session.openReturns(nullptr);
        session.load(returnPath());
        benchmark::DoNotOptimize(session.georgia().get());
    }
}
BENCHMARK(BM_LoadReturnFile)->Unit(benchmark::kMicrosecond);

void BM_ReadReturnFileOnly(benchmark::State& state) {
    GAHost::HostSession session(formsDir());
    const PersistanceMgmt::ReturnDescriptions descriptions{session.library().federal.get(),
                                                           session.library().georgia.get()};
    for (auto _ : state) {
        auto contents = PersistanceMgmt::ReturnFile::read(returnPath(), descriptions);
        benchmark::DoNotOptimize(contents);
    }
}
BENCHMARK(BM_ReadReturnFileOnly)->Unit(benchmark::kMicrosecond);

void BM_WalkEveryFieldOfEveryCopy(benchmark::State& state) {
    GAHost::HostSession session(formsDir());
    session.openReturns(nullptr);
    session.load(returnPath());
    std::size_t visited = 0;
    for (auto _ : state) {
        double total = 0;
        visited = walkEveryField(*session.federal(), total) + walkEveryField(*session.georgia(), total);
        benchmark::DoNotOptimize(total);
    }
    state.counters["fields"] = static_cast<double>(visited);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * visited));
}
BENCHMARK(BM_WalkEveryFieldOfEveryCopy)->Unit(benchmark::kMicrosecond);

void BM_SerializeReturns(benchmark::State& state) {
    GAHost::HostSession session(formsDir());
    session.openReturns(nullptr);
    const auto& loaded = session.load(returnPath());
    for (auto _ : state) {
        const std::string text = PersistanceMgmt::ReturnFile::serialize(
            PersistanceMgmt::ReturnFile::snapshot(session.federal().get(), session.georgiaState(), &loaded));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_SerializeReturns)->Unit(benchmark::kMicrosecond);

}  // namespace
