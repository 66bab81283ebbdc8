#include "host/RunFiles.h"

#include <memory>
#include <set>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/framework/TifFileWriter.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"

namespace GAHost {

namespace {

[[noreturn]] void refuse(const std::string& message) { throw Exceptions::QuarloException(message, "gahost", "run"); }

}  // namespace

RunOutputs::RunOutputs(const std::string& input, const std::filesystem::path& outDir, const std::string& abbreviation)
    : savedReturn((outDir / std::filesystem::path(input).filename()).string()),
      printFile((outDir / (std::filesystem::path(input).stem().string() + ".print.txt")).string()),
      eFile((outDir / TifWriteMgmt::TifFileWriter::eFileName(abbreviation)).string()) {}

std::vector<RunOutput> RunOutputs::all() const {
    return {
        {eFile, "the e-file", /*byModule=*/true},
        {printFile, "the print file", /*byModule=*/true},
        {savedReturn, "the saved return", /*byModule=*/false},
    };
}

std::vector<RunOutput> RunOutputs::written(bool withModule) const {
    std::vector<RunOutput> outputs;
    for (RunOutput& output : all()) {
        if (withModule || !output.byModule) outputs.push_back(std::move(output));
    }
    return outputs;
}

std::vector<std::string> RunOutputs::writtenPaths(bool withModule) const {
    std::vector<std::string> paths;
    for (RunOutput& output : written(withModule)) paths.push_back(std::move(output.path));
    return paths;
}

void checkRunFiles(const std::string& input, const RunOutputs& outputs) {
    for (const RunOutput& output : outputs.all()) {
        if (IOMgmt::namesSameFile(output.path, input)) {
            refuse("the output " + IOMgmt::shownPath(output.path) +
                   " would replace the input file; choose another --out directory");
        }
        // Before any work: the commit could never put it in place.
        if (const std::string why = IOMgmt::nameTooLong(output.path); !why.empty()) {
            // The e-file's name is fixed; the others are the return file's.
            const char* remedy =
                output.path == outputs.eFile ? "choose another --out directory" : "give the return file a shorter name";
            refuse(std::string(output.role) + " " + IOMgmt::shownPath(output.path) + " cannot be written: " + why +
                   "; " + remedy);
        }
    }
}

void refuseCollidingOutputs(const RunOutputs& outputs, bool withModule) {
    const std::vector<RunOutput> written = outputs.written(withModule);
    // What stands at an output's name first: two links to one file are not
    // two outputs of one name.
    for (const RunOutput& output : written) {
        if (const std::string why = IOMgmt::outputRefused(output.path); !why.empty()) {
            refuse(IOMgmt::shownPath(output.path) + ": " + why + "; no output of the run is changed");
        }
    }
    for (auto later = written.begin(); later != written.end(); ++later) {
        for (auto earlier = written.begin(); earlier != later; ++earlier) {
            if (!IOMgmt::namesSameFile(later->path, earlier->path)) continue;
            // The later output is named first: the saved return, whose name
            // the return file gives, is the last.
            refuse(std::string(later->role) + " and " + earlier->role + " of this run would both be " +
                   IOMgmt::shownPath(later->path) + ": rename the return file");
        }
    }
}

std::optional<TifWriteMgmt::FederalEFile> readFederalEFile(const std::string& path, const RunOutputs& outputs) {
    if (path.empty()) return std::nullopt;
    const std::string named = "--federal-efile " + IOMgmt::shownPath(path) + ": ";
    // Every output, whether or not the run writes it: a federal e-file by
    // any of their names is a mistake.
    for (const RunOutput& output : outputs.all()) {
        if (IOMgmt::namesSameFile(path, output.path)) {
            refuse(named + "is " + output.role + " that this run writes");
        }
    }
    std::string problem;
    std::optional<TifWriteMgmt::FederalEFile> federal = TifWriteMgmt::FederalEFile::read(path, problem);
    if (!federal) refuse(named + problem);
    return federal;
}

NotesPrinted::NotesPrinted(std::ostream& err) {
    auto printed = std::make_shared<std::set<std::string>>();
    IOMgmt::IOMgr::getInstance().setNoticeSink([&err, printed](const std::string& text) {
        // One write: a process killed meanwhile leaves the whole line or none.
        if (printed->insert(text).second) err << "gahost: note: " + text + "\n" << std::flush;
    });
}

NotesPrinted::~NotesPrinted() { IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr); }

}  // namespace GAHost
