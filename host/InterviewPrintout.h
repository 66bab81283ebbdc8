// gahost interview: the Georgia interview of a calculated return as the
// module builds it, printed for a person to read.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "platform/framework/MacroExpander.h"
#include "platform/framework/TopicMgmt.h"

namespace GAHost {

// Loads the return file into a session on the module, calculates the
// Georgia return, builds the interview with the module's
// createInterviewHierarchy and prints it with printTopicTree, then builds the
// module's macro expander and prints its expansions with printExpansions.
// Everything the module hands over is destroyed before the session.
// Throws Exceptions::QuarloException on a bad file or a failed step.
void runInterview(std::ostream& out, const ModuleLoader& module, const std::string& formsDir,
                  const std::string& returnFile);

// One line per topic, each child indented two blanks under its parent: key,
// title in quotes and status.
void printTopicTree(std::ostream& out, const std::vector<TopicMgmt::TopicDesc*>& topics);

// Each expansion by name and its text; the lines of a text after its first
// are indented under it, and an empty text shows as "(empty)".
void printExpansions(std::ostream& out, MacroExpansionMgmt::MacroExpander& expander);

}  // namespace GAHost
