#include "platform/Configuration.h"

namespace DataMgmt {

QuarloConfiguration* QuarloConfiguration::getInstance() {
    static QuarloConfiguration instance;
    return &instance;
}

void QuarloConfiguration::resetToDefaults() { *this = QuarloConfiguration(); }

std::string QuarloConfiguration::autoTestOptionsDir() const { return autoTestRoot + "/AutoTest_QV/"; }

std::string QuarloConfiguration::taxTableCheckPath() const { return autoTestRoot + "/temp/OrvaneTables.doc"; }

}  // namespace DataMgmt
