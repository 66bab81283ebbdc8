// The example returns of examples/, by name, for the suites that run each
// of them as a case of their own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

inline const std::filesystem::path kExamples = std::filesystem::path(GA_SOURCE_DIR) / "examples";

// The names of the example returns (the files' stems), sorted.
inline std::vector<std::string> exampleNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
        if (entry.path().extension() == ".xml") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A case's name: the example's, with '_' for '-'.
inline std::string exampleCaseName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

}  // namespace testsupport
