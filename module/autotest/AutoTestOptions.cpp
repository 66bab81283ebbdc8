#include "module/autotest/AutoTestOptions.h"

#include "module/autotest/TestFiles.h"
#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/util/Crt.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/xml/XmlDom.h"
#include "platform/xml/XmlParser.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kClearKey = "CLEAR";
constexpr const char* kYes = "Yes";
constexpr const char* kOptionsIgnored = "its options are not read";
constexpr const char* kClearFileKept = "it is not written again, and resets again at the next calculation";

// Reads the keys of an option file. A file that is missing gives no values;
// so does one that cannot be read or is not well-formed XML, with a note.
// False when the host's reader threw.
bool readOptionFile(const std::string& path, const std::vector<std::string>& keys, OptionValues& values) {
    const IOMgmt::WholeFile file = IOMgmt::readWholeFile(path, kTestFileLimit);
    if (!file.ok) {
        if (!file.missing) {
            noteTestFile("the option file", path, file.problem, kOptionsIgnored);
        }
        return true;
    }
    if (XmlDom::parseDocument(file.bytes, path).getDocumentElement().isNull()) {
        noteTestFile("the option file", path, file.bytes.empty() ? "is empty" : "is not well-formed XML",
                     kOptionsIgnored);
        return true;
    }
    try {
        PersistanceMgmt::XMLParser parser;
        for (const std::string& key : keys) {
            parser.extractXmlSubstring(values[key], file.bytes, key, 1, false);
        }
    } catch (const Exceptions::QuarloException&) {
        return false;
    }
    return true;
}

}  // namespace

std::string scrubberClearFileName(const std::string& stateCode) {
    return stateCode + "QuarloAutoTest_Clear_Scrubber.xml";
}

std::string daemonClearFileName(const std::string& stateCode) {
    return stateCode + "QuarloAutoTest_Clear_CFVDaemon.xml";
}

std::string optionFilePath(const std::string& fileName) {
    return DataMgmt::QuarloConfiguration::getInstance()->autoTestOptionsDir() + fileName;
}

bool isYes(const std::string& value) { return value == kYes; }

void writeClearFile(const std::string& path) {
    if (const std::string use = IOMgmt::IOMgr::getInstance().reservedUse(path); !use.empty()) {
        noteTestFile("the clear file", path, use, kClearFileKept);
        return;
    }
    try {
        IOMgmt::writeFileAtomically(path,
                                    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                    "<AUTOTESTOPTIONS>\n"
                                    "<CLEAR>No</CLEAR>\n"
                                    "</AUTOTESTOPTIONS>\n");
    } catch (const Exceptions::QuarloException& e) {
        IOMgmt::IOMgr::getInstance().notice("test facility: the clear file: " + e.getMessage() + "; " + kClearFileKept);
    }
}

bool beginTestPass(const std::string& clearFile, const std::function<void()>& reset, DataMgmt::TaxReturn& taxReturn,
                   const Primitives::QVImmutableFormIdentifier& infoForm,
                   const Primitives::QVImmutableIdentifier& doneMark, const std::vector<std::string>& keys,
                   OptionValues& options) {
    OptionValues clear;
    if (!readOptionFile(clearFile, {kClearKey}, clear)) {
        return false;
    }
    if (isYes(clear[kClearKey])) {
        reset();
    }
    // The marks need a place: copy 1 of the information form.
    if (taxReturn.getFormOrCreate(infoForm, 1)->xMarked(doneMark)) {
        return false;
    }
    if (!readOptionFile(optionFilePath(kOptionsFileName), keys, options)) {
        return false;
    }
    crt::rmdir(DataMgmt::QuarloConfiguration::getInstance()->autoTestOptionsDir());
    return true;
}

}  // namespace StateCalculationMgmt
