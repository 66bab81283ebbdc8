// What gahost needs of a return file before it checks or runs it: a whole
// return file of the year with both returns, and every fact the Georgia
// calculation cannot do without.
#pragma once

#include <string>
#include <vector>

#include "platform/returnfile/ReturnFile.h"

namespace GAHost {

// One line for each missing part, naming it and showing what to add; empty
// when nothing is missing. `path` names the file in the lines.
std::vector<std::string> missingParts(const PersistanceMgmt::ReturnFileContents& contents, const std::string& path);

}  // namespace GAHost
