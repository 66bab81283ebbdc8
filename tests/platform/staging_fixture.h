// A fixture for the tests of staged writes and output batches: a scratch
// directory, the staging calls and the notes put back after each test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/scratch_dir.h"

namespace testsupport {

class StagingTest : public ScratchDirTest {
protected:
    using Names = std::vector<std::string>;

    void TearDown() override {
        IOMgmt::setStagingCalls({});
        IOMgmt::IOMgr::getInstance().setNoticeSink(nullptr);
        ScratchDirTest::TearDown();
    }
    // The names in a folder of the scratch directory ("" for itself), or
    // in a folder given by its whole path, sorted.
    Names namesIn(const std::string& folder) const {
        Names names;
        const std::string where = folder.empty() || folder[0] != '/' ? path(folder) : folder;
        for (const auto& e : std::filesystem::directory_iterator(where)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The message of the QuarloException the step throws, else "no failure".
    static std::string failure(const std::function<void()>& step) {
        try {
            step();
        } catch (const Exceptions::QuarloException& e) {
            return e.getMessage();
        }
        return "no failure";
    }
};

}  // namespace testsupport
