// A test fixture with a scratch directory of its own: made fresh under the
// system's temporary directory (or the folder a fixture's scratchParent
// gives) before each test, removed with everything in it afterwards.
// ScratchDirOn<Fixture> adds the directory to another fixture.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

template <class Fixture>
class ScratchDirOn : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        std::string pattern = (scratchParent() / "ga_test.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << "cannot make a scratch directory";
        dir = pattern;
    }

    void TearDown() override {
        std::error_code ec;
        if (!dir.empty()) std::filesystem::remove_all(dir, ec);
        Fixture::TearDown();
    }

    virtual std::filesystem::path scratchParent() const { return std::filesystem::temp_directory_path(); }

    // The path of a file in the scratch directory.
    std::string path(const std::string& name) const { return dir + "/" + name; }

    // Writes the bytes to a file of the scratch directory (its folders are
    // made) and returns the file's path.
    std::string writeFile(const std::string& name, const std::string& bytes) const {
        const std::string p = path(name);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

    // The bytes of a file ("" when it cannot be read).
    static std::string readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    using Names = std::vector<std::string>;

    // The names in a folder of the scratch directory ("" for itself), sorted.
    Names namesIn(const std::string& folder) const {
        Names names;
        for (const auto& e : std::filesystem::directory_iterator(path(folder))) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir;
};

class ScratchDirTest : public ScratchDirOn<::testing::Test> {};

}  // namespace testsupport
