// The host configuration: the automated-test switch, the version text and
// the places on disk that the module and the host read and write.
//
// One instance per process (getInstance). The settings are plain members so
// that the command-line host and the tests can set them directly;
// resetToDefaults() puts every setting back to the values documented here.
#pragma once

#include <string>

namespace DataMgmt {

class QuarloConfiguration {
public:
    static QuarloConfiguration* getInstance();

    // Whether the automated-test facility may run; false unless switched on.
    bool AllowAutoTest() const { return allowAutoTest_; }
    void setAllowAutoTest(bool allow) { allowAutoTest_ = allow; }

    // Puts every setting back to its default.
    void resetToDefaults();

    // Version text of the host product, written on the e-file version line.
    // Default: empty (the host sets it).
    std::string versionText;

    // Root directory of the automated-test facility, in place of the host's
    // fixed drive: the option files lie in its AutoTest_QV/ and the tax-table
    // check is written into its temp/. Default "autotest" (relative to the
    // working directory).
    std::string autoTestRoot = "autotest";
    // The directory of the option files, root + "/AutoTest_QV/".
    std::string autoTestOptionsDir() const;
    // The tax-table check file, root + "/temp/OrvaneTables.doc".
    std::string taxTableCheckPath() const;
    // Directory that receives the e-file text files; ends in '/'. Default "efile/".
    std::string eFileDir = "efile/";
    // The federal e-file text whose data is copied at the end of the state
    // e-file. Default: empty (none).
    std::string federalEFilePath;
    // Tax year of the returns. Default 2018.
    int taxYear = 2018;
    // Address of the tax office locator page. Default: empty.
    std::string officeLocatorURL;
    // The e-file office numbers that the host gives the writer: district,
    // office and service center. Default: empty.
    std::string tifDistrictNumber;
    std::string tifOfficeNumber;
    std::string tifServiceCenter;

private:
    QuarloConfiguration() = default;

    bool allowAutoTest_ = false;
};

}  // namespace DataMgmt
