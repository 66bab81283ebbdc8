#include "host/ModuleLoader.h"

#include <dlfcn.h>

#include <cstdlib>

#include "platform/Exceptions.h"

#ifndef GA_DEFAULT_MODULE_PATH
#define GA_DEFAULT_MODULE_PATH "libga2018.so"
#endif

namespace GAHost {

namespace {

std::string dlError() {
    const char* e = ::dlerror();
    return e != nullptr ? e : "unknown error";
}

}  // namespace

ModuleLoader::ModuleLoader(const std::string& path) : path_(path) {
    if (path.empty()) {
        throw Exceptions::QuarloException("no module library given", "ModuleLoader", "load");
    }
    ::dlerror();
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        throw Exceptions::QuarloException("cannot load the Georgia module " + path + ": " + dlError(), "ModuleLoader",
                                          "load");
    }
    void* compat = ::dlsym(handle_, ModuleExports::kCompatVersionName);
    if (compat == nullptr) {
        ::dlclose(handle_);
        handle_ = nullptr;
        throw Exceptions::QuarloException(
            path + " is not a Georgia module: it has no " + ModuleExports::kCompatVersionName, "ModuleLoader", "load");
    }
    compatVersion_ = reinterpret_cast<ModuleExports::CompatVersionFn*>(compat)();
    if (compatVersion_ != ModuleExports::kCompatVersion) {
        ::dlclose(handle_);
        handle_ = nullptr;
        throw Exceptions::QuarloException("the Georgia module " + path + " has compatibility version " +
                                              std::to_string(compatVersion_) + "; this host needs " +
                                              std::to_string(ModuleExports::kCompatVersion),
                                          "ModuleLoader", "load");
    }
}

ModuleLoader::~ModuleLoader() {
    if (handle_ != nullptr) ::dlclose(handle_);
}

bool ModuleLoader::has(const char* name) const { return ::dlsym(handle_, name) != nullptr; }

std::vector<std::string> ModuleLoader::missingEntryPoints() const {
    std::vector<std::string> missing;
    for (const char* name : ModuleExports::kEntryPointNames) {
        if (!has(name)) missing.emplace_back(name);
    }
    return missing;
}

void* ModuleLoader::lookup(const char* name) const {
    void* p = ::dlsym(handle_, name);
    if (p == nullptr) {
        throw Exceptions::QuarloException("the Georgia module " + path_ + " does not provide " + std::string(name),
                                          "ModuleLoader", "entry");
    }
    return p;
}

ModuleExports::CreateTaxReturnInstanceFn* ModuleLoader::createTaxReturnInstance() const {
    return entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
}
ModuleExports::CreateCalcEngineInstanceFn* ModuleLoader::createCalcEngineInstance() const {
    return entry<ModuleExports::CreateCalcEngineInstanceFn>(ModuleExports::kCreateCalcEngineInstanceName);
}
ModuleExports::CreateAuditorInstanceFn* ModuleLoader::createAuditorInstance() const {
    return entry<ModuleExports::CreateAuditorInstanceFn>(ModuleExports::kCreateAuditorInstanceName);
}
ModuleExports::CreateTaxFormPrinterInstanceFn* ModuleLoader::createTaxFormPrinterInstance() const {
    return entry<ModuleExports::CreateTaxFormPrinterInstanceFn>(ModuleExports::kCreateTaxFormPrinterInstanceName);
}
ModuleExports::CreateTifFileWriterInstanceFn* ModuleLoader::createTifFileWriterInstance() const {
    return entry<ModuleExports::CreateTifFileWriterInstanceFn>(ModuleExports::kCreateTifFileWriterInstanceName);
}
ModuleExports::CreateTaxSummaryReportFn* ModuleLoader::createTaxSummaryReport() const {
    return entry<ModuleExports::CreateTaxSummaryReportFn>(ModuleExports::kCreateTaxSummaryReportName);
}
ModuleExports::CreateMacroExpanderInstanceFn* ModuleLoader::createMacroExpanderInstance() const {
    return entry<ModuleExports::CreateMacroExpanderInstanceFn>(ModuleExports::kCreateMacroExpanderInstanceName);
}
ModuleExports::CreateInterviewHierarchyFn* ModuleLoader::createInterviewHierarchy() const {
    return entry<ModuleExports::CreateInterviewHierarchyFn>(ModuleExports::kCreateInterviewHierarchyName);
}

std::string ModuleLoader::defaultPath() { return GA_DEFAULT_MODULE_PATH; }

std::string ModuleLoader::resolvePath(const std::string& given, bool& explicitChoice) {
    explicitChoice = true;
    if (!given.empty()) return given;
    const char* env = std::getenv("GA_MODULE_PATH");
    if (env != nullptr && *env != '\0') return env;
    explicitChoice = false;
    return defaultPath();
}

}  // namespace GAHost
