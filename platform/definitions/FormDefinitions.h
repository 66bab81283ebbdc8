// Loads the form descriptions of both returns from form-definition files
// (*.def; the format is described in forms/README.md).
//
// Every error names the file and the line: "<file>:<line>: <what is wrong>",
// thrown as Exceptions::QuarloException with class "FormDefinitions". A load
// that fails returns nothing: the caller's library is left as it was.
#pragma once

#include <string>
#include <vector>

#include "platform/store/Descriptions.h"

namespace FormDefinitions {

struct Library {
    DataMgmt::TaxReturnDescPtr federal;  // "Federal", "US", type 1: the federal forms
    DataMgmt::TaxReturnDescPtr georgia;  // "Georgia", "GA", type 12: the Georgia and shared state forms
};

// Reads every *.def file of the directory, in file-name order. A directory
// that does not exist or holds no *.def file is an error.
Library loadDirectory(const std::string& dir);

// Reads the given files in the given order. A form may be given only once
// across all of them.
Library loadFiles(const std::vector<std::string>& paths);

// Where the definition files are found when no directory is given: the
// environment variable GA_FORMS_DIR when it is set and not empty, else the
// build's forms directory.
std::string defaultDirectory();

// The definitions that the build compiled into the library from the build's
// forms directory: the same descriptions as loading that directory gives,
// ready at once (a form's fields are read when it is first used).
Library compiledLibrary();

// The definitions of a process that names no directory: those of the
// directory named by GA_FORMS_DIR when it is set and not empty, else the
// compiled ones.
Library loadDefault();

// The definitions of the directory, or loadDefault() for an empty name.
Library loadDirectoryOrDefault(const std::string& dir);

// The two return descriptions with no forms yet.
Library emptyLibrary();

}  // namespace FormDefinitions
