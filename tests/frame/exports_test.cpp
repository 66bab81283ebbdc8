// The loadable module as the host sees it: loaded with dlopen, its exported
// names, its compatibility version and the handle counts around each factory.

#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/ModuleExports.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/MacroExpander.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/framework/TopicMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "tests/frame/FrameFixture.h"

#ifndef GA_MODULE_LIBRARY
#error "GA_MODULE_LIBRARY must name the built module library"
#endif

namespace {

// The names of the symbols a shared library defines and exports (global or
// weak, defined in the library), read from its dynamic symbol table.
std::set<std::string> exportedNames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr)) {
        ADD_FAILURE() << path << " is not an ELF file";
        return names;
    }
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
        ADD_FAILURE() << path << " is not a 64-bit ELF file";
        return names;
    }
    const auto section = [&](std::size_t i) {
        Elf64_Shdr s;
        std::memcpy(&s, bytes.data() + header.e_shoff + i * header.e_shentsize, sizeof s);
        return s;
    };
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM) {
            continue;
        }
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (std::size_t k = 0; k < symbols.sh_size / sizeof(Elf64_Sym); ++k) {
            Elf64_Sym sym;
            std::memcpy(&sym, bytes.data() + symbols.sh_offset + k * sizeof sym, sizeof sym);
            const unsigned binding = ELF64_ST_BIND(sym.st_info);
            if (sym.st_shndx == SHN_UNDEF ||
                (binding != STB_GLOBAL && binding != STB_WEAK && binding != STB_GNU_UNIQUE)) {
                continue;
            }
            names.insert(bytes.data() + strings.sh_offset + sym.st_name);
        }
    }
    return names;
}

class LoadedModule : public frametest::ReturnFixture {
protected:
    void SetUp() override {
        handle_ = dlopen(GA_MODULE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    template <class Fn>
    Fn* entry(const char* name) {
        void* symbol = dlsym(handle_, name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<Fn*>(symbol);
    }

    void* handle_ = nullptr;
};

TEST(ModuleLibrary, ExportsOnlyItsEntryPoints) {
    const std::set<std::string> names = exportedNames(GA_MODULE_LIBRARY);
    const std::set<std::string> entryPoints(std::begin(ModuleExports::kEntryPointNames),
                                            std::end(ModuleExports::kEntryPointNames));
    for (const std::string& name : names) {
        EXPECT_TRUE(entryPoints.count(name)) << "exported but not an entry point: " << name;
    }
    for (const char* name : {"compatVersion", "createTaxReturnInstance", "createTaxFormPrinterInstance",
                             "createAuditorInstance", "createMacroExpanderInstance", "createInterviewHierarchy"}) {
        EXPECT_TRUE(names.count(name)) << "missing entry point " << name;
    }
}

TEST_F(LoadedModule, CompatibilityVersion) {
    auto* compat = entry<ModuleExports::CompatVersionFn>(ModuleExports::kCompatVersionName);
    ASSERT_NE(compat, nullptr);
    EXPECT_EQ(compat(), 6101);
    EXPECT_EQ(compat(), ModuleExports::kCompatVersion);
}

TEST_F(LoadedModule, TaxReturnFactoryLeavesTheHandleCountsAsTheyWere) {
    auto* create = entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
    ASSERT_NE(create, nullptr);
    DataMgmt::TaxReturnDescPtr desc = frametest::definitions().georgia;
    const auto before = std::make_tuple(federal_.useCount(), desc.useCount(), pool_.useCount());

    DataMgmt::TaxReturn* created = nullptr;
    EXPECT_EQ(create(federal_, desc, pool_, &created), 0);
    ASSERT_NE(created, nullptr);
    {
        DataMgmt::TaxReturnPtr owned(created);  // the host owns it from here
        auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(created);
        ASSERT_NE(state, nullptr);
        std::string code;
        state->getStateCode(code);
        EXPECT_EQ(code, "GA");
        EXPECT_EQ(state->getFederalReturn(), federal_.get());
        // Raised only by the copies the state-return base keeps.
        EXPECT_LE(federal_.useCount(), std::get<0>(before) + 1);
        EXPECT_LE(desc.useCount(), std::get<1>(before) + 1);
        EXPECT_LE(pool_.useCount(), std::get<2>(before) + 1);
    }
    EXPECT_EQ(std::make_tuple(federal_.useCount(), desc.useCount(), pool_.useCount()), before);
}

TEST_F(LoadedModule, TaxReturnFactoryWithoutAnOutPlaceBuildsNothing) {
    auto* create = entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
    ASSERT_NE(create, nullptr);
    DataMgmt::TaxReturnDescPtr desc = frametest::definitions().georgia;
    const int before = federal_.useCount();
    EXPECT_NE(create(federal_, desc, pool_, nullptr), 0);
    EXPECT_EQ(federal_.useCount(), before);
}

TEST_F(LoadedModule, PrinterFactoryBuildsOnTheGeorgiaReturn) {
    auto* createReturn = entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
    auto* createPrinter =
        entry<ModuleExports::CreateTaxFormPrinterInstanceFn>(ModuleExports::kCreateTaxFormPrinterInstanceName);
    ASSERT_NE(createReturn, nullptr);
    ASSERT_NE(createPrinter, nullptr);

    DataMgmt::TaxReturn* created = nullptr;
    ASSERT_EQ(createReturn(federal_, frametest::definitions().georgia, pool_, &created), 0);
    DataMgmt::TaxReturnPtr gaReturn(created);
    created->getFormUVPtr(kGAForm70ID, 1, true)->setCalculatedFlag(true);

    const auto before = std::make_pair(federal_.useCount(), gaReturn.useCount());
    DataMgmt::TaxReturnPtr noFederal;  // the federal return is not read
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(createPrinter(noFederal, gaReturn));
    ASSERT_FALSE(printer.isNull());
    EXPECT_EQ(std::make_pair(federal_.useCount(), gaReturn.useCount()), before);
    EXPECT_EQ(noFederal.useCount(), 1);

    // The host base, the state layer and the Georgia layer all print the
    // Georgia return.
    auto* gaPrinter = dynamic_cast<GATaxFormPrintMgmt::GATaxFormPrinter*>(printer.get());
    ASSERT_NE(gaPrinter, nullptr);
    EXPECT_EQ(gaPrinter->getTaxReturn(), created);
    EXPECT_EQ(gaPrinter->getStateReturn(), created);
    EXPECT_EQ(gaPrinter->getGATaxReturn(), created);
    EXPECT_TRUE(gaPrinter->isPrintFlagSet(kGAForm70ID, 1));
}

TEST_F(LoadedModule, EngineFactoryLeavesTheHandleCountsAsTheyWere) {
    auto* createReturn = entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
    auto* createPrinter =
        entry<ModuleExports::CreateTaxFormPrinterInstanceFn>(ModuleExports::kCreateTaxFormPrinterInstanceName);
    auto* createEngine = entry<ModuleExports::CreateCalcEngineInstanceFn>(ModuleExports::kCreateCalcEngineInstanceName);
    ASSERT_TRUE(createReturn != nullptr && createPrinter != nullptr && createEngine != nullptr);

    DataMgmt::TaxReturn* created = nullptr;
    ASSERT_EQ(createReturn(federal_, frametest::definitions().georgia, pool_, &created), 0);
    DataMgmt::TaxReturnPtr gaReturn(created);
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(createPrinter(federal_, gaReturn));

    const auto before = std::make_tuple(federal_.useCount(), gaReturn.useCount(), printer.useCount());
    {
        CalculationMgmt::TaxReturnCalcEnginePtr engine(createEngine(federal_, gaReturn, printer));
        ASSERT_FALSE(engine.isNull());
        // The engine keeps plain pointers to the returns; only the host's
        // engine base keeps a copy of the printer handle.
        EXPECT_EQ(federal_.useCount(), std::get<0>(before));
        EXPECT_EQ(gaReturn.useCount(), std::get<1>(before));
        EXPECT_LE(printer.useCount(), std::get<2>(before) + 1);
    }
    EXPECT_EQ(std::make_tuple(federal_.useCount(), gaReturn.useCount(), printer.useCount()), before);
}

TEST_F(LoadedModule, AuditorFactoryLeavesEveryHandleCountAsItWas) {
    auto* createReturn = entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
    auto* createPrinter =
        entry<ModuleExports::CreateTaxFormPrinterInstanceFn>(ModuleExports::kCreateTaxFormPrinterInstanceName);
    auto* createEngine = entry<ModuleExports::CreateCalcEngineInstanceFn>(ModuleExports::kCreateCalcEngineInstanceName);
    auto* createAuditor = entry<ModuleExports::CreateAuditorInstanceFn>(ModuleExports::kCreateAuditorInstanceName);
    ASSERT_TRUE(createReturn != nullptr && createPrinter != nullptr && createEngine != nullptr &&
                createAuditor != nullptr);

    DataMgmt::TaxReturn* created = nullptr;
    ASSERT_EQ(createReturn(federal_, frametest::definitions().georgia, pool_, &created), 0);
    DataMgmt::TaxReturnPtr gaReturn(created);
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(createPrinter(federal_, gaReturn));
    CalculationMgmt::TaxReturnCalcEnginePtr engine(createEngine(federal_, gaReturn, printer));
    DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();

    const auto before =
        std::make_tuple(federal_.useCount(), gaReturn.useCount(), engine.useCount(), printer.useCount());
    {
        AuditMgmt::TaxFormAuditorPtr auditor(createAuditor(federal_, gaReturn, cfg, engine, printer));
        ASSERT_FALSE(auditor.isNull());
        EXPECT_EQ(std::make_tuple(federal_.useCount(), gaReturn.useCount(), engine.useCount(), printer.useCount()),
                  before);
        EXPECT_FALSE(auditor->auditReturn(0).isNull());
    }
    EXPECT_EQ(std::make_tuple(federal_.useCount(), gaReturn.useCount(), engine.useCount(), printer.useCount()), before);

    // A state return of another class is refused, and the counts stay.
    EXPECT_THROW(createAuditor(federal_, federal_, cfg, engine, printer), Exceptions::QuarloException);
    EXPECT_EQ(std::make_tuple(federal_.useCount(), gaReturn.useCount(), engine.useCount(), printer.useCount()), before);
}

TEST_F(LoadedModule, InterviewFactoriesBuildTheExpanderAndTheTopicTree) {
    auto* createReturn = entry<ModuleExports::CreateTaxReturnInstanceFn>(ModuleExports::kCreateTaxReturnInstanceName);
    auto* createExpander =
        entry<ModuleExports::CreateMacroExpanderInstanceFn>(ModuleExports::kCreateMacroExpanderInstanceName);
    auto* createTree = entry<ModuleExports::CreateInterviewHierarchyFn>(ModuleExports::kCreateInterviewHierarchyName);
    ASSERT_TRUE(createReturn != nullptr && createExpander != nullptr && createTree != nullptr);
    DataMgmt::TaxReturn* created = nullptr;
    ASSERT_EQ(createReturn(federal_, frametest::definitions().georgia, pool_, &created), 0);
    DataMgmt::TaxReturnPtr gaReturn(created);

    // The expander keeps its own copies only through the host's base.
    const auto before = std::make_pair(federal_.useCount(), gaReturn.useCount());
    {
        std::unique_ptr<MacroExpansionMgmt::MacroExpander> expander(createExpander(federal_, gaReturn));
        ASSERT_NE(expander, nullptr);
        EXPECT_EQ(expander->expandReturnTitle(), "Georgia Return");
    }
    EXPECT_EQ(std::make_pair(federal_.useCount(), gaReturn.useCount()), before);
    // A second return that is not a state return is refused; the counts stay.
    EXPECT_THROW(createExpander(federal_, federal_), std::bad_cast);
    EXPECT_EQ(std::make_pair(federal_.useCount(), gaReturn.useCount()), before);

    DataMgmt::TaxDataStore store;
    store.setTaxReturn(DataMgmt::kGeorgiaReturnType, gaReturn);
    std::vector<TopicMgmt::TopicDesc*>* tree = createTree(store);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->size(), 7u);
    EXPECT_EQ(tree->front()->getKey(), "gags");
    EXPECT_EQ(tree->back()->getKey(), "GASecondaryNavs");
    TopicMgmt::deleteTopicList(tree);
}

TEST_F(LoadedModule, PrinterOnAReturnOfAnotherClassPrintsNothing) {
    auto* createPrinter =
        entry<ModuleExports::CreateTaxFormPrinterInstanceFn>(ModuleExports::kCreateTaxFormPrinterInstanceName);
    ASSERT_NE(createPrinter, nullptr);
    federal_->getFormUVPtr(kForm1ID, 1, true)->setCalculatedFlag(true);
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(createPrinter(federal_, federal_));
    ASSERT_FALSE(printer.isNull());
    auto* statePrinter = dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(printer.get());
    ASSERT_NE(statePrinter, nullptr);
    EXPECT_EQ(statePrinter->getStateReturn(), nullptr);
    EXPECT_FALSE(statePrinter->isPrintFlagSet(kForm1ID, 1));
}

}  // namespace
