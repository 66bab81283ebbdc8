// gahost: the command-line host of the Georgia module.
//
//   gahost check FILE            load a return file, validate it, summarise it,
//                                calculate it in memory, tell the entries the
//                                calculation replaces and what run --efile
//                                tells of the e-file
//   gahost run FILE [--out DIR] [--federal-efile FILE] [--device-id ID]
//                                the main job on a return file
//   gahost forms                 list every form definition
//   gahost fields FORM           list the fields of one form
//   gahost items                 list the common federal items
//   gahost interview FILE        the Georgia interview of a calculated return
//
// Exit status: 0 on success, 1 on bad input or a failed step (a printout
// that standard output did not take included), 2 on wrong usage. Errors go
// to stderr.
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/AutoTestOption.h"
#include "host/CheckReturn.h"
#include "host/CommonItemsListing.h"
#include "host/EFileFilers.h"
#include "host/EFileRun.h"
#include "host/FederalColumnSeeds.h"
#include "host/HostSession.h"
#include "host/InterviewPrintout.h"
#include "host/ModuleLoader.h"
#include "host/PrintRun.h"
#include "host/ResultSummary.h"
#include "host/ReturnNotes.h"
#include "host/ReviewPrintout.h"
#include "host/RunFiles.h"
#include "host/SettleReturn.h"
#include "host/StandardOutput.h"
#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/Managers.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/util/Utils.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: gahost COMMAND [ARGUMENTS] [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  check FILE       Load a return file, validate it and summarise it: the\n"
    "                   returns, forms, copies and fields it sets; then, with\n"
    "                   the Georgia module, calculate it in memory, writing\n"
    "                   nothing, note each entry in a calculated field that the\n"
    "                   calculation replaces (run notes them too), and tell what\n"
    "                   run --efile would tell of the Georgia e-file: whether it\n"
    "                   is blocked, the e-file check's findings and the entries\n"
    "                   naming the filers that the return leaves empty or that\n"
    "                   disagree with form 1040.\n"
    "  run FILE         Load a return file, calculate the Georgia return with the\n"
    "                   Georgia module, print its result, its review, its PDF\n"
    "                   attachments and its summary report, and write the forms to\n"
    "                   print (NAME.print.txt), the Georgia e-file (GA-efile.txt)\n"
    "                   and the returns to the output directory, the returns under\n"
    "                   the file's own name: all of them, or none when a step\n"
    "                   fails.\n"
    "  forms            List every form definition, one line each, tab-separated:\n"
    "                   form number, \"state\" or \"federal\", dev name, field count,\n"
    "                   business name.\n"
    "  fields FORM      List the fields of the form with that dev name, in form\n"
    "                   order, tab-separated: field number, symbolic name, kind\n"
    "                   (a text with its length in bytes of UTF-8), line label,\n"
    "                   and \"calculated\" (the calculation fills the field and\n"
    "                   replaces an entry there, unless the return file marks it\n"
    "                   OVERRIDDEN=\"1\") or \"entry\".\n"
    "  items            List the common federal items that a return file seeds with\n"
    "                   <PULLCOMMON FORM=\"F1\" ITEM=\"name\">, tab-separated: number,\n"
    "                   name, values, meaning, and where gahost takes it from (a\n"
    "                   seed, or the federal return itself).\n"
    "  interview FILE   Load and calculate a return file, then print the Georgia\n"
    "                   interview that the module builds (every topic under its\n"
    "                   parent with key, title and status) and the module's text\n"
    "                   macros.\n"
    "\n"
    "Options:\n"
    "  --forms DIR      Form definitions (default: $GA_FORMS_DIR, else those\n"
    "                   built into gahost).\n"
    "  --out DIR        Output directory of run (default: the current directory).\n"
    "  --module PATH    Georgia module library for run, check and interview (default:\n"
    "                   $GA_MODULE_PATH, else the build's library when it exists).\n"
    "  --efile          run: the Georgia return is being e-filed; the review is the\n"
    "                   e-file check, which tells whether the return is blocked:\n"
    "                   by the module's findings, or while the federal personal\n"
    "                   information (F92) leaves a filer's name, number or\n"
    "                   address empty or gives a last name or number that\n"
    "                   form 1040 (F1) gives otherwise.\n"
    "  --federal-efile FILE\n"
    "                   run: the federal return's e-file (a text file of at most\n"
    "                   1 MiB), whose federal data block ends the Georgia e-file\n"
    "                   (default: none).\n"
    "  --device-id ID   run: the identifier of this machine that the e-file's\n"
    "                   authentication record carries, in printable ASCII\n"
    "                   (default: none).\n"
    "  --autotest DIR   run: allow the module's automated testing, steered by the\n"
    "                   option files in DIR/AutoTest_QV/ (default: off).\n"
    "  -h, --help       Show this help.\n"
    "\n"
    "Exit status: 0 on success, 1 on bad input or a failed step, 2 on wrong usage.\n";

// Input as a message shows it: control characters escaped, cut when long.
std::string shown(const std::string& text) { return Utils::QVStringUtils::escapeForMessage(text, 80); }

struct UsageError {
    std::string message;
};

struct Options {
    std::string command;
    std::vector<std::string> arguments;
    std::string formsDir;
    std::string outDir;
    std::string modulePath;
    std::string federalEFile;
    std::string deviceId;
    std::string autoTestDir;
    bool efile = false;
    bool help = false;
};

Options parseArguments(int argc, char** argv) {
    Options o;
    std::map<std::string, std::string*> valued = {{"--forms", &o.formsDir},     {"--out", &o.outDir},
                                                  {"--module", &o.modulePath},  {"--federal-efile", &o.federalEFile},
                                                  {"--device-id", &o.deviceId}, {"--autotest", &o.autoTestDir}};
    std::map<std::string, bool> seen;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            o.help = true;
            continue;
        }
        if (a == "--efile") {
            o.efile = true;
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            std::string name = a;
            std::optional<std::string> value;
            if (auto eq = a.find('='); eq != std::string::npos && a.rfind("--", 0) == 0) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
            }
            auto it = valued.find(name);
            if (it == valued.end()) throw UsageError{"unknown option " + shown(name)};
            if (!value) {
                if (i + 1 >= argc) throw UsageError{name + " needs a value"};
                value = argv[++i];
            }
            if (value->empty()) throw UsageError{name + " needs a value"};
            if (seen[name]) throw UsageError{name + " is given twice"};
            seen[name] = true;
            // The e-file writes the device's identifier as given, on lines of
            // its own, and holds printable ASCII alone.
            if (name == "--device-id" &&
                std::any_of(value->begin(), value->end(), [](char c) { return c < 0x20 || c > 0x7E; })) {
                throw UsageError{"--device-id " + shown(*value) +
                                 " holds a control character or a character outside printable ASCII"};
            }
            *it->second = *value;
            continue;
        }
        if (o.command.empty()) {
            o.command = a;
        } else {
            o.arguments.push_back(a);
        }
    }
    return o;
}

void requireArguments(const Options& o, std::size_t count, const char* what) {
    if (o.arguments.size() < count) throw UsageError{o.command + " needs " + what};
    if (o.arguments.size() > count) throw UsageError{"unexpected argument " + shown(o.arguments[count])};
}

// Refuses the options of run in another command; --module too, unless the
// command takes a module.
void refuseRunOptions(const Options& o, bool takesModule) {
    if (!o.outDir.empty()) throw UsageError{"--out applies to run only"};
    if (!takesModule && !o.modulePath.empty()) throw UsageError{"--module applies to run, check and interview only"};
    if (o.efile) throw UsageError{"--efile applies to run only"};
    if (!o.federalEFile.empty()) throw UsageError{"--federal-efile applies to run only"};
    if (!o.deviceId.empty()) throw UsageError{"--device-id applies to run only"};
    if (!o.autoTestDir.empty()) throw UsageError{"--autotest applies to run only"};
}

// The directory of --forms; empty for the default definitions.
const std::string& formsDirectory(const Options& o) { return o.formsDir; }

// The field's kind; a text field says its length in the unit it counts.
std::string kindWord(const DataMgmt::FormFieldDesc& f) {
    if (f.isBoolean()) return "box";
    if (f.isDate()) return "date";
    if (const std::string takes = DataMgmt::fieldTakes(f); !takes.empty()) return takes;
    if (f.isText())
        return "text of at most " + std::to_string(f.getMaxLength()) + (f.getMaxLength() == 1 ? " byte" : " bytes");
    return "amount";
}

// ------------------------------------------------------------ forms, fields

int listForms(const Options& o) {
    requireArguments(o, 0, "");
    refuseRunOptions(o, /*takesModule=*/false);
    const FormDefinitions::Library lib = FormDefinitions::loadDirectoryOrDefault(formsDirectory(o));
    for (const DataMgmt::TaxReturnDesc* desc : {lib.federal.get(), lib.georgia.get()}) {
        if (desc == nullptr) continue;
        for (DataMgmt::TaxFormDescIter it = desc->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
            const DataMgmt::TaxFormDescPtr f = it.getTaxFormDescriptor();
            std::cout << f->getTypeID().getNumber() << '\t' << (f->getTypeID().isState() ? "state" : "federal") << '\t'
                      << f->getDevName() << '\t' << f->fieldCount() << '\t' << f->getBusinessName() << '\n';
        }
    }
    return kExitOk;
}

int listFields(const Options& o) {
    requireArguments(o, 1, "a form's dev name");
    refuseRunOptions(o, /*takesModule=*/false);
    const FormDefinitions::Library lib = FormDefinitions::loadDirectoryOrDefault(formsDirectory(o));
    const std::string& name = o.arguments[0];
    DataMgmt::TaxFormDescPtr form;
    for (const DataMgmt::TaxReturnDesc* desc : {lib.federal.get(), lib.georgia.get()}) {
        if (desc != nullptr && form.isNull()) form = desc->findByDevName(name);
    }
    if (form.isNull()) {
        std::cerr << "gahost: unknown form \"" << shown(name) << "\" (gahost forms lists the dev names)\n";
        return kExitFailed;
    }
    for (DataMgmt::QVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
        const DataMgmt::FormFieldDescPtr f = form->getFieldDesc(it.getFieldID());
        std::cout << f->getID().getNumber() << '\t' << f->getSymbolicName() << '\t' << kindWord(*f) << '\t'
                  << f->getLineID() << '\t' << (f->isCalculated() ? "calculated" : "entry") << '\n';
    }
    return kExitOk;
}

int listItems(const Options& o) {
    requireArguments(o, 0, "");
    refuseRunOptions(o, /*takesModule=*/false);
    // The items name federal forms: the definitions are read as the other
    // listings read them, and refused alike.
    FormDefinitions::loadDirectoryOrDefault(formsDirectory(o));
    GAHost::printCommonItems(std::cout);
    return kExitOk;
}

// ------------------------------------------------------------ check

void summarise(const PersistanceMgmt::ReturnPart& part, std::ostream& out) {
    const bool federal = part.type == DataMgmt::kFederalReturnType;
    const std::size_t forms = part.formCount();
    const std::size_t copies = part.copies.size();
    const std::size_t fields = part.fieldCount();
    out << (federal ? "federal return" : "Georgia return");
    if (!part.name.empty()) out << " \"" << shown(part.name) << "\"";
    out << ": " << forms << (forms == 1 ? " form, " : " forms, ") << copies << (copies == 1 ? " copy, " : " copies, ")
        << fields << (fields == 1 ? " field set" : " fields set") << '\n';
    for (const PersistanceMgmt::CopyEntry& c : part.copies) {
        std::size_t n = 0;
        for (const auto& f : c.fields) n += f.value.isNull() ? 0 : 1;
        out << "  " << c.desc->getDevName() << " copy " << c.copy << ": " << n << (n == 1 ? " field" : " fields")
            << '\n';
    }
}

// ------------------------------------------------------------ run

// The host's settings for a run: the automated testing when --autotest
// allows it, the tax year, the folder the e-file goes to, the federal
// e-file, the version text and this machine's identifier, which the e-file's
// authentication record carries.
void configureRun(const Options& o, const std::filesystem::path& outDir) {
    DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();
    GAHost::configureAutoTest(*cfg, o.autoTestDir);
    cfg->taxYear = 2018;
    cfg->eFileDir = (outDir / "").string();
    cfg->federalEFilePath = o.federalEFile;
    cfg->versionText = BusinessMgmt::BusinessMgr::getInstance().getVersion();
    SystemMgmt::SystemMgr::getInstance().setIRSDeviceID(o.deviceId);
}

// The Georgia module, loaded when one is named or when the build's library
// exists; none without it, and the returns are then loaded and written back
// unchanged. `path` receives the library's path either way.
std::unique_ptr<GAHost::ModuleLoader> loadModule(const Options& o, std::string& path) {
    bool namedModule = false;
    path = GAHost::ModuleLoader::resolvePath(o.modulePath, namedModule);
    if (!namedModule && !std::filesystem::exists(path)) return nullptr;
    return std::make_unique<GAHost::ModuleLoader>(path);
}

// Loads the return file into the session's returns (the module's Georgia
// return when a module is loaded), marked as e-filed with --efile.
void loadReturns(GAHost::HostSession& session, const GAHost::ModuleLoader* module, const std::string& input,
                 bool efile) {
    session.openReturns(module);
    session.load(input);
    if (efile) session.georgiaState()->setInElf(true);
}

// The folders a run makes for its outputs: the output folder and those above
// it that did not exist, each made here. Unless the run keeps them, they
// are removed again when it ends, deepest first and only while empty, so
// that a run that is refused (or fails) leaves no folder behind.
class OutputFolders {
public:
    OutputFolders() = default;
    OutputFolders(const OutputFolders&) = delete;
    OutputFolders& operator=(const OutputFolders&) = delete;
    ~OutputFolders() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            std::error_code ec;
            std::filesystem::remove(*it, ec);  // a folder that holds anything stays
        }
    }

    // Makes the folder and those above it; false (reported on standard
    // error) when one cannot be made.
    bool make(const std::filesystem::path& outDir) {
        std::vector<std::filesystem::path> levels;
        for (std::filesystem::path p = outDir; !p.empty(); p = p.parent_path()) {
            levels.push_back(p);
            if (p == p.parent_path()) break;
        }
        for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
            std::error_code ec;
            if (std::filesystem::create_directory(*it, ec)) made_.push_back(*it);
            if (ec) {
                std::cerr << "gahost: cannot create the output directory " << outDir.string() << ": " << ec.message()
                          << '\n';
                return false;
            }
        }
        return true;
    }

    // The run wrote its outputs: the folders stay.
    void keep() { made_.clear(); }

private:
    std::vector<std::filesystem::path> made_;
};

// "state return: GA Georgia, filing status 2, federal form 1": the Georgia
// return the module made, as it answers for itself once calculated (the
// filing status comes from the calculated form 70).
void printStateReturn(std::ostream& out, StateDataMgmt::StateTaxReturn& ga) {
    std::string code;
    std::string name;
    ga.getStateCode(code);
    ga.getStateName(name);
    out << "state return: " << code << ' ' << name << ", filing status " << static_cast<int>(ga.getFilingStatusNumber())
        << ", federal form " << ga.getFederalFormID().getNumber() << '\n';
}

// The module's part of a run: the whole-return calculation, settled; the
// e-file's preparation, which changes the return as the e-file's write
// does, and the return settled again; then the result, the review (the
// e-file check with --efile), the print file, the e-file and the summary
// report. The print file and the e-file are staged in the run's output
// batch; false (reported on standard error) when one of them cannot be
// written.
bool calculateAndReport(const GAHost::ModuleLoader& module, GAHost::HostSession& session, const std::string& input,
                        const GAHost::RunOutputs& outputs, const std::optional<TifWriteMgmt::FederalEFile>& federal,
                        bool efile) {
    // The calculation runs through the module's engine, built on the
    // module's printer. Both go before the returns do.
    GAHost::ModuleCalculation calculation(module, session, std::filesystem::path(input).stem().string());
    CalculationMgmt::TaxReturnCalcEnginePtr& engine = calculation.engine();
    TaxFormPrintMgmt::TaxFormPrinterPtr& printer = calculation.printer();
    // Every output below shows the return that the run saves.
    const std::optional<GAHost::Settling> settling = GAHost::settleWithEFilePrepared(calculation, federal, std::cerr);
    if (!settling) return false;
    GAHost::refuseSeedsMissingFromTheFederalColumn(session, input);
    GAHost::reportCalculation(std::cout, *settling);
    printStateReturn(std::cout, *session.georgiaState());
    GAHost::printGeorgiaResult(std::cout, *session.georgiaState());
    GAHost::noteCalculatedReturn(module, session, /*onPaper=*/!efile);
    // The review: findings are printed, never a failure. The auditor goes
    // before the engine and the printer.
    const GAHost::GeorgiaReview review = GAHost::reviewGeorgiaReturn(module, session, engine, printer, efile);
    GAHost::printReview(std::cout, review);
    if (!GAHost::printGeorgiaForms(printer, session, outputs.printFile, std::cout, std::cerr) ||
        !GAHost::writeGeorgiaEFile(module, session, engine, printer, review.auditor, federal, std::cout, std::cerr)) {
        return false;
    }
    GAHost::printSummaryReport(module, session, std::cout);
    return true;
}

// A failure on standard error: one line for each problem found, each in
// one write.
void printException(const Exceptions::QuarloException& e) {
    std::istringstream lines(e.getMessage());
    std::string line;
    while (std::getline(lines, line)) std::cerr << "gahost: " + line + "\n";
}

// Throws when what was printed so far did not reach standard output: a run
// whose printout is lost changes no output.
void requirePrintout() {
    auto* printout = dynamic_cast<GAHost::StandardOutput*>(std::cout.rdbuf());
    const std::string lost = printout != nullptr ? printout->flush() : std::string();
    if (!lost.empty()) {
        throw Exceptions::QuarloException(
            "cannot write the standard output: " + lost + "; no output of the run is changed", "gahost", "run");
    }
}

// A run of the return file into the output folder: the files are checked
// (the federal e-file read, once) before any work is done and any output is
// touched, then the returns are loaded and, with a module, calculated and
// reported; the outputs are staged in one batch and committed together at
// the end, once the printout has reached standard output. False when a step
// failed (reported on standard error), and every earlier output stays as it
// was.
bool runReturn(const Options& o, const std::string& input, const std::filesystem::path& outDir,
               const GAHost::ModuleLoader* module, const std::string& modulePath) {
    GAHost::HostSession session(formsDirectory(o));
    const GAHost::RunOutputs outputs(input, outDir, session.library().georgia->getAbbreviation());
    GAHost::checkRunFiles(input, outputs);
    GAHost::refuseCollidingOutputs(outputs, module != nullptr);
    const std::optional<TifWriteMgmt::FederalEFile> federal = GAHost::readFederalEFile(o.federalEFile, outputs);
    loadReturns(session, module, input, o.efile);
    const GAHost::CurrentSession current(session);
    OutputFolders folders;
    if (!folders.make(outDir)) return false;

    IOMgmt::OutputBatch batch(outputs.writtenPaths(module != nullptr));
    batch.addInput(input, "the return file being run");
    if (!o.federalEFile.empty()) batch.addInput(o.federalEFile, "the federal e-file of this run");
    try {
        if (module != nullptr && !calculateAndReport(*module, session, input, outputs, federal, o.efile)) return false;
        session.save(outputs.savedReturn);
        if (module == nullptr) {
            std::cout << "no Georgia module loaded (" << modulePath << " not found): the returns are not calculated\n";
        }
        std::cout << "wrote " << outputs.savedReturn << '\n';
        requirePrintout();
        batch.commit();
        folders.keep();
    } catch (const Exceptions::QuarloException& e) {
        // Told while the batch holds the folder: what it notes as it ends
        // (a lock file that it cannot remove) follows the failure.
        printException(e);
        return false;
    }
    return true;
}

int run(const Options& o) {
    requireArguments(o, 1, "a return file");
    const std::string input = o.arguments[0];
    const std::filesystem::path outDir =
        o.outDir.empty() ? std::filesystem::path(".") : std::filesystem::path(o.outDir);
    configureRun(o, outDir);
    std::string modulePath;
    const std::unique_ptr<GAHost::ModuleLoader> module = loadModule(o, modulePath);

    const GAHost::NotesPrinted notes(std::cerr);
    return runReturn(o, input, outDir, module.get(), modulePath) ? kExitOk : kExitFailed;
}

// ------------------------------------------------------------ check

// What run --efile tells of the e-file: the return file loaded again into
// a session of its own, as being e-filed, and checked as run checks it.
void checkEFile(const GAHost::ModuleLoader& module, const Options& o, const std::string& input) {
    GAHost::HostSession session(formsDirectory(o));
    loadReturns(session, &module, input, /*efile=*/true);
    GAHost::checkEFileInMemory(module, session, input, std::cout);
}

int check(const Options& o) {
    requireArguments(o, 1, "a return file");
    refuseRunOptions(o, /*takesModule=*/true);
    std::string modulePath;
    const std::unique_ptr<GAHost::ModuleLoader> module = loadModule(o, modulePath);
    GAHost::HostSession session(formsDirectory(o));
    session.openReturns(module.get());
    const PersistanceMgmt::ReturnFileContents& c = session.load(o.arguments[0], /*singleReturn=*/true);
    const GAHost::NotesPrinted notes(std::cerr);
    // A return that the calculation refuses is refused before it is called valid.
    const std::optional<GAHost::Settling> settling = GAHost::calculateInMemory(module.get(), session, o.arguments[0]);
    std::cout << o.arguments[0] << ": valid return file\n";
    if (c.federal) summarise(*c.federal, std::cout);
    if (c.georgia) summarise(*c.georgia, std::cout);
    if (!c.federal && !c.georgia) std::cout << "no returns\n";
    if (c.host.clock) std::cout << "host clock: " << PersistanceMgmt::ReturnFile::formatUtcTime(*c.host.clock) << '\n';
    if (GAHost::reportInMemory(module.get(), modulePath, session, settling, std::cout)) {
        checkEFile(*module, o, o.arguments[0]);
        return kExitOk;
    }
    // Without the module's e-file check, what the host itself requires.
    const GAHost::FilerFindings filers = GAHost::filerFindings(session);
    if (filers.any())
        std::cout << "if e-filed (run --efile): Georgia e-file blocked until the return names its filers\n";
    GAHost::printFilerFindings(std::cout, filers);
    return kExitOk;
}

int interview(const Options& o) {
    requireArguments(o, 1, "a return file");
    refuseRunOptions(o, /*takesModule=*/true);
    bool namedModule = false;
    const GAHost::ModuleLoader module(GAHost::ModuleLoader::resolvePath(o.modulePath, namedModule));
    GAHost::runInterview(std::cout, module, formsDirectory(o), o.arguments[0]);
    return kExitOk;
}

// Every command, by the word that names it.
const std::map<std::string, int (*)(const Options&)> kCommands = {
    {"check", check},       {"run", run},         {"forms", listForms},
    {"fields", listFields}, {"items", listItems}, {"interview", interview},
};

// The command named by the arguments, run; its exit status.
int runCommand(int argc, char** argv) {
    Options o;
    try {
        o = parseArguments(argc, argv);
        if (o.help) {
            std::cout << kUsage;
            return kExitOk;
        }
        if (o.command.empty()) throw UsageError{"no command given"};
        const auto command = kCommands.find(o.command);
        if (command == kCommands.end()) throw UsageError{"unknown command " + shown(o.command)};
        return command->second(o);
    } catch (const UsageError& e) {
        std::cerr << "gahost: " << e.message << " (gahost --help shows the usage)\n";
        return kExitUsage;
    } catch (const Exceptions::QuarloException& e) {
        printException(e);
        return kExitFailed;
    } catch (const std::bad_alloc&) {
        std::cerr << "gahost: " << o.command << ": not enough memory to finish\n";
        return kExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "gahost: " << o.command << " failed: " << Utils::QVStringUtils::escapeForMessage(e.what(), 400)
                  << '\n';
        return kExitFailed;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const GAHost::StandardError errors;
    // A write to a pipe whose reader has gone fails (EPIPE) instead of
    // ending the process: the command then reports its lost printout like
    // any other, and a run removes what it staged.
    std::signal(SIGPIPE, SIG_IGN);
    if (!GAHost::StandardOutput::guardStandardDescriptors()) {
        std::cerr << "gahost: the standard output is closed: nothing the command prints could be seen\n";
        return kExitFailed;
    }
    GAHost::StandardOutput printout;
    int status = runCommand(argc, argv);
    // A command that failed has said why; one that succeeded fails when its
    // printout was lost.
    const std::string lost = printout.flush();
    if (!lost.empty() && status == kExitOk) {
        std::cerr << "gahost: cannot write the standard output: " << lost << '\n';
        status = kExitFailed;
    }
    return status;
}
