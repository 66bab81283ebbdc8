#include "platform/Configuration.h"

namespace DataMgmt {

QuarloConfiguration* QuarloConfiguration::getInstance() {
    static QuarloConfiguration instance;
    return &instance;
}

void QuarloConfiguration::resetToDefaults() { *this = QuarloConfiguration(); }

}  // namespace DataMgmt
