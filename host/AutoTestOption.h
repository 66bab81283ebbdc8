// The --autotest option of gahost run: the automated-test facility of the
// module, allowed for one run with a directory of the user's as its root.
#pragma once

#include <string>

#include "platform/Configuration.h"

namespace GAHost {

// With an empty root, automated testing stays off. Otherwise it is allowed
// with that root, which must be an existing directory: the facility reads
// its option files from root/AutoTest_QV/ and writes the tax-table check
// into root/temp/. Another root is refused with QuarloException, leaving
// the configuration unchanged.
void configureAutoTest(DataMgmt::QuarloConfiguration& config, const std::string& root);

}  // namespace GAHost
