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

// The first line (from 0) of the federal data block, or none.
std::size_t federalBlockStart(const std::string& text, std::size_t& line) {
    line = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        if (text.compare(at, 10, "D FDBKDATA") == 0 || text.compare(at, 9, "D FDF1040") == 0) return at;
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return std::string::npos;
}

// What is wrong in the block from `start`, whose first line is `line`
// (from 0); empty when nothing is.
std::string blockFault(const std::string& text, std::size_t start, std::size_t line) {
    for (std::size_t at = start; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\n') ++line;
        if (c == '\0') return "line " + std::to_string(line + 1) + " holds a NUL byte";
        if (c == '\r' && at + 1 < text.size() && text[at + 1] != '\n') {
            const bool doubled = at + 2 < text.size() && text[at + 1] == '\r' && text[at + 2] == '\n';
            return "line " + std::to_string(line + 1) +
                   (doubled ? " ends with CR CR LF" : " holds a carriage return that does not end it");
        }
    }
    return std::string();
}

void checkFederalEFile(const std::string& path, const RunOutputs& outputs) {
    const std::string prefix = "--federal-efile " + IOMgmt::shownPath(path) + ": ";
    const std::pair<const std::string*, const char*> roles[] = {{&outputs.savedReturn, "the saved return"},
                                                                {&outputs.printFile, "the print file"},
                                                                {&outputs.eFile, "the e-file"}};
    for (const auto& [output, role] : roles) {
        if (IOMgmt::namesSameFile(path, *output)) refuse(prefix + "is " + role + " that this run writes");
    }
    const IOMgmt::WholeFile file = IOMgmt::readWholeFile(path, kFederalEFileLimit);
    if (!file.ok) refuse(prefix + file.problem);
    if (file.bytes.empty()) refuse(prefix + "is empty");
    std::size_t line = 0;
    const std::size_t start = federalBlockStart(file.bytes, line);
    if (start == std::string::npos) {
        refuse(prefix + "has no federal data block (a line beginning with \"D FDBKDATA\" or \"D FDF1040\")");
    }
    const std::string fault = blockFault(file.bytes, start, line);
    if (!fault.empty()) refuse(prefix + "the federal data block is refused: " + fault);
}

}  // namespace

RunOutputs::RunOutputs(const std::string& input, const std::filesystem::path& outDir, const std::string& abbreviation)
    : savedReturn((outDir / std::filesystem::path(input).filename()).string()),
      printFile((outDir / (std::filesystem::path(input).stem().string() + ".print.txt")).string()),
      eFile((outDir / TifWriteMgmt::TifFileWriter::eFileName(abbreviation)).string()) {}

std::vector<std::string> RunOutputs::written(bool withModule) const {
    return withModule ? std::vector<std::string>{eFile, printFile, savedReturn} : std::vector<std::string>{savedReturn};
}

void checkRunFiles(const std::string& input, const std::string& federalEFile, const RunOutputs& outputs) {
    for (const std::string* output : {&outputs.savedReturn, &outputs.printFile, &outputs.eFile}) {
        if (IOMgmt::namesSameFile(*output, input)) {
            refuse("the output " + IOMgmt::shownPath(*output) +
                   " would replace the input file; choose another --out directory");
        }
    }
    if (!federalEFile.empty()) checkFederalEFile(federalEFile, outputs);
}

NotesPrinted::NotesPrinted(std::ostream& err) {
    auto printed = std::make_shared<std::set<std::string>>();
    IOMgmt::IOMgr::getInstance().setNoticeSink([&err, printed](const std::string& text) {
        if (printed->insert(text).second) err << "gahost: note: " << text << '\n';
    });
}

NotesPrinted::~NotesPrinted() { IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr); }

}  // namespace GAHost
