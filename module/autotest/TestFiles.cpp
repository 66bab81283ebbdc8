#include "module/autotest/TestFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/util/Utils.h"

namespace StateCalculationMgmt {

namespace {

namespace fs = std::filesystem;

constexpr const char* kNotRead = "skipped";
constexpr const char* kNotWritten = "not written";

// Whether a file name given with its folder stays inside it: not empty, not
// absolute and without a ".." step.
bool staysInsideItsFolder(const std::string& fileName) {
    const fs::path name(fileName);
    if (fileName.empty() || name.is_absolute() || !name.has_filename()) return false;
    for (const fs::path& step : name) {
        if (step == "..") return false;
    }
    return true;
}

// A failure of the host's file service, whose message names the file.
void noteFailure(const std::string& role, const Exceptions::QuarloException& e, const std::string& outcome) {
    IOMgmt::IOMgr::getInstance().notice("test facility: " + role + ": " + e.getMessage() + "; " + outcome);
}

// Why the run must not write the file; empty when it may.
std::string reservedUse(const std::string& path) { return IOMgmt::IOMgr::getInstance().reservedUse(path); }

}  // namespace

void noteTestFile(const std::string& role, const std::string& path, const std::string& problem,
                  const std::string& outcome) {
    IOMgmt::IOMgr::getInstance().notice("test facility: " + role + " \"" + IOMgmt::shownPath(path) + "\": " + problem +
                                        "; " + outcome);
}

std::optional<std::vector<std::string>> readTestFileLines(const std::string& path, const std::string& role) {
    std::optional<std::vector<std::string>> lines;
    IOMgmt::IOMgr& io = IOMgmt::IOMgr::getInstance();
    IOMgmt::FileReader* reader = io.allocateFileReader();
    reader->setSizeLimit(kTestFileLimit);
    if (reader->open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) {
        lines.emplace();
        std::string line;
        while (!reader->eof()) {
            reader->readLine(line);
            lines->push_back(line);
        }
    } else {
        noteTestFile(role, path, reader->problem(), kNotRead);
    }
    reader->close();
    io.deallocateFileReader(reader);
    return lines;
}

XmlDom::XmlDocument loadTestXml(const std::string& path, const std::string& role) {
    const IOMgmt::WholeFile file = IOMgmt::readWholeFile(path, kTestFileLimit);
    if (!file.ok) {
        noteTestFile(role, path, file.problem, kNotRead);
        return XmlDom::XmlDocument();
    }
    XmlDom::XmlDocument document = XmlDom::parseDocument(file.bytes, path);
    if (document.getDocumentElement().isNull()) noteTestFile(role, path, "is not well-formed XML", kNotRead);
    return document;
}

TestOutput::TestOutput(std::string directory, std::string fileName, std::string role)
    : directory_(std::move(directory)), fileName_(std::move(fileName)), role_(std::move(role)) {}

void TestOutput::write() {
    if (directory_.empty()) {
        noteTestFile(role_, fileName_, "no folder is given", kNotWritten);
        return;
    }
    const std::string path = (fs::path(directory_) / fileName_).string();
    if (!staysInsideItsFolder(fileName_)) {
        noteTestFile(role_, path, "the file name leaves the folder " + directory_, kNotWritten);
        return;
    }
    if (const std::string use = reservedUse(path); !use.empty()) {
        noteTestFile(role_, path, use, kNotWritten);
        return;
    }
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    if (error) {
        noteTestFile(role_, path, "cannot make its folder: " + error.message(), kNotWritten);
        return;
    }
    try {
        IOMgmt::writeFileAtomically(path, text_.str());
    } catch (const Exceptions::QuarloException& e) {
        noteFailure(role_, e, kNotWritten);
    }
}

bool canAppendTestOutput(const std::string& path, const std::string& role) {
    // The gate of the run's outputs: a link, a pipe, a folder or another
    // user's file at the name is named, with its owner.
    std::string problem = path.empty() ? "no file name given" : reservedUse(path);
    if (problem.empty()) problem = IOMgmt::outputRefused(path);
    if (!problem.empty()) noteTestFile(role, path, problem, "the test is skipped");
    return problem.empty();
}

void appendTestOutput(const std::string& path, const std::string& text, const std::string& role) {
    try {
        IOMgmt::appendToFile(path, text);
    } catch (const Exceptions::QuarloException& e) {
        noteFailure(role, e, kNotWritten);
    }
}

}  // namespace StateCalculationMgmt
