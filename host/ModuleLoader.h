// Loads the Georgia module library at run time and finds its plain C entry
// points by name.
//
// A library that cannot be opened, that has no compatVersion, or whose
// compatVersion is not the one this host was built for is refused with a
// clear message. The other entry points may be missing while the module is
// being built up: that is reported only when one of them is asked for.
#pragma once

#include <string>
#include <vector>

#include "module/frame/ModuleExports.h"

namespace GAHost {

class ModuleLoader {
public:
    // Opens the library and checks its compatibility version. Throws
    // Exceptions::QuarloException (class "ModuleLoader", operation "load").
    explicit ModuleLoader(const std::string& path);
    // Closes the library. Every object the module made must be gone by then.
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    const std::string& path() const { return path_; }
    short compatVersion() const { return compatVersion_; }

    // Whether the library exports the name.
    bool has(const char* name) const;
    // The exported names of ModuleExports that the library lacks, in lookup
    // order.
    std::vector<std::string> missingEntryPoints() const;

    // The entry point by name, cast to its function type. A missing name
    // throws Exceptions::QuarloException (class "ModuleLoader", operation
    // "entry") naming the library and the entry point.
    template <class Fn>
    Fn* entry(const char* name) const {
        return reinterpret_cast<Fn*>(lookup(name));
    }

    ModuleExports::CreateTaxReturnInstanceFn* createTaxReturnInstance() const;
    ModuleExports::CreateCalcEngineInstanceFn* createCalcEngineInstance() const;
    ModuleExports::CreateAuditorInstanceFn* createAuditorInstance() const;
    ModuleExports::CreateTaxFormPrinterInstanceFn* createTaxFormPrinterInstance() const;
    ModuleExports::CreateTifFileWriterInstanceFn* createTifFileWriterInstance() const;
    ModuleExports::CreateTaxSummaryReportFn* createTaxSummaryReport() const;
    ModuleExports::CreateMacroExpanderInstanceFn* createMacroExpanderInstance() const;
    ModuleExports::CreateInterviewHierarchyFn* createInterviewHierarchy() const;

    // Where the module is looked for: the given path when not empty, else the
    // environment variable GA_MODULE_PATH when set and not empty, else the
    // library of this build. `explicitChoice` tells whether the answer came
    // from the caller or the environment (then a missing file is an error)
    // rather than from the build default.
    static std::string resolvePath(const std::string& given, bool& explicitChoice);
    static std::string defaultPath();

private:
    void* lookup(const char* name) const;

    std::string path_;
    void* handle_ = nullptr;
    short compatVersion_ = 0;
};

}  // namespace GAHost
