#include "module/autotest/AutoTestOptions.h"

#include <fstream>

#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/util/Crt.h"
#include "platform/xml/XmlParser.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kClearKey = "CLEAR";
constexpr const char* kYes = "Yes";

// Reads the keys of an option file. A file that is missing or cannot be
// read gives no values; false when the host's reader threw.
bool readOptionFile(const std::string& path, const std::vector<std::string>& keys, OptionValues& values) {
    try {
        PersistanceMgmt::XMLParser parser;
        parser.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)), PersistanceMgmt::kXmlOpenRead);
        std::string document;
        if (parser.readXmlIntoMemory(document, true)) {
            for (const std::string& key : keys) {
                parser.extractXmlSubstring(values[key], document, key, 1, false);
            }
        }
        parser.close();
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
    crt::remove(path);
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        << "<AUTOTESTOPTIONS>\n"
        << "<CLEAR>No</CLEAR>\n"
        << "</AUTOTESTOPTIONS>\n";
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
