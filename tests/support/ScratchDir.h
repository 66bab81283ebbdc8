// A test fixture with a scratch directory of its own: made fresh under the
// system's temporary directory (or the folder a fixture's scratchParent
// gives) before each test, with a name no other run can hold and a mode
// only its user can enter (mkdtemp), and removed with everything in it
// afterwards: a test that leaves what cannot be removed fails.
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
        if (!dir.empty()) removeScratchDir(dir);
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

private:
    // Removes the directory and all it holds, its user's folders that a
    // test left read-only too.
    static void removeScratchDir(const std::string& top) {
        namespace fs = std::filesystem;
        std::error_code ec;
        std::error_code ignored;
        fs::permissions(top, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (fs::recursive_directory_iterator it(top, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::remove_all(top, ec);
        EXPECT_FALSE(ec) << "cannot remove the scratch directory " << top << ": " << ec.message();
    }
};

class ScratchDirTest : public ScratchDirOn<::testing::Test> {};

}  // namespace testsupport
