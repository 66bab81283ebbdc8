#include "host/AutoTestOption.h"

#include <filesystem>

#include "platform/Exceptions.h"
#include "platform/util/Utils.h"

namespace GAHost {

void configureAutoTest(DataMgmt::QuarloConfiguration& config, const std::string& root) {
    if (root.empty()) {
        config.setAllowAutoTest(false);
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        throw Exceptions::QuarloException(
            "--autotest " + Utils::QVStringUtils::escapeForMessage(root, 80) + ": not a directory", "gahost", "run");
    }
    config.autoTestRoot = root;
    config.setAllowAutoTest(true);
}

}  // namespace GAHost
