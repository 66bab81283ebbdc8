// What gahost needs of a return file before it checks or runs it: a whole
// return file of the year with both returns, and every fact the Georgia
// calculation cannot do without.
#pragma once

#include <string>
#include <vector>

#include "host/RunFiles.h"
#include "platform/returnfile/ReturnFile.h"

namespace GAHost {

// One line for each missing part, naming it and showing what to add; empty
// when nothing is missing. `path` names the file in the lines.
std::vector<std::string> missingParts(const PersistanceMgmt::ReturnFileContents& contents, const std::string& path);

// An output of a run with the words that name it in messages ("the e-file").
struct NamedOutput {
    const std::string& path;
    const char* role;
};

// The outputs of a run as RunOutputs::written gives them, each with its name.
std::vector<NamedOutput> namedOutputs(const RunOutputs& outputs, bool withModule);

// Refuses, with Exceptions::QuarloException of one line naming both, two
// outputs of the run that would be one file: a return file named
// GA-efile.txt would be saved over the e-file.
void refuseCollidingOutputs(const RunOutputs& outputs, bool withModule);

}  // namespace GAHost
