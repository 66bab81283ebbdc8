// Reading the plain-text test files.
#pragma once

#include <string>
#include <vector>

namespace StateCalculationMgmt {

// Every line of a text file, read through the host's file reader (LF and
// CR LF line ends alike); none when the file cannot be opened.
std::vector<std::string> readTestFileLines(const std::string& path);

}  // namespace StateCalculationMgmt
