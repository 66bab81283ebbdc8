#include "host/RunFiles.h"

#include <memory>
#include <set>

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

std::vector<std::string> RunOutputs::written(bool withModule) const {
    return withModule ? std::vector<std::string>{eFile, printFile, savedReturn} : std::vector<std::string>{savedReturn};
}

void checkRunFiles(const std::string& input, const RunOutputs& outputs) {
    for (const std::string* output : {&outputs.savedReturn, &outputs.printFile, &outputs.eFile}) {
        if (IOMgmt::namesSameFile(*output, input)) {
            refuse("the output " + IOMgmt::shownPath(*output) +
                   " would replace the input file; choose another --out directory");
        }
    }
}

NotesPrinted::NotesPrinted(std::ostream& err) {
    auto printed = std::make_shared<std::set<std::string>>();
    IOMgmt::IOMgr::getInstance().setNoticeSink([&err, printed](const std::string& text) {
        if (printed->insert(text).second) err << "gahost: note: " << text << '\n';
    });
}

NotesPrinted::~NotesPrinted() { IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr); }

}  // namespace GAHost
