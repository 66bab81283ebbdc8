// The commit record of an output folder: a record that cannot be made
// durable changes no output, and a single-file write (a dump of the test
// facility) clears only the staged files of its target that no record
// lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <string>
#include <vector>

#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/staging_fixture.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testsupport::gFails;
using testsupport::StagingCall;

class CommitRecord : public testsupport::StagingTest {};

// The record is written, synced, renamed into place and its folder synced
// before any output is touched: a failure of any of these fails the commit
// with every output as it was, and no record.
TEST_F(CommitRecord, ARecordThatCannotBeMadeDurableChangesNoOutput) {
    const std::string record = path(".staged-outputs.commit");
    const std::string cannotWrite = record + ": cannot write the commit record of the outputs: ";
    const struct {
        StagingCall call;
        std::string problem;
    } rows[] = {
        {StagingCall::Write, cannotWrite + "No space left on device"},
        {StagingCall::Sync, cannotWrite + "Input/output error"},
        {StagingCall::Rename, cannotWrite + "Input/output error"},
        {StagingCall::FolderSync, dir + ": cannot sync the output folder to the disk: Input/output error"},
    };
    const Names outputs = {path("first.txt"), path("second.txt")};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.call));
        runBatch(outputs, {"earlier first", "earlier second"});
        bool folderSynced = false;
        gFails = [&](StagingCall call, const std::string& name) {
            if (call == StagingCall::FolderSync) return !std::exchange(folderSynced, true) && row.call == call;
            return call == row.call && name == ".staged-outputs.commit-new";
        };
        EXPECT_EQ(failure([&] { runBatch(outputs, {"new first", "new second"}); }),
                  row.problem + "; no output of the run is changed");
        gFails = nullptr;
        EXPECT_EQ(textsOf(outputs), (Names{"earlier first", "earlier second"}));
        EXPECT_EQ(namesIn(""), (Names{"first.txt", "second.txt"}));
    }
}

// A write of a single file, outside any batch, removes the staged files of
// its target that a killed writer left, unless a commit record lists them
// or a record there cannot be read (it may list them).
TEST_F(CommitRecord, ASingleFileWriteClearsOnlyStagedFilesNoRecordMayList) {
    const struct {
        std::string record;  // the commit record's text; empty for none
        bool cleared;
    } rows[] = {
        {"", true},
        {"garbage", false},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].record);
        // A folder of its own: a process clears a target's folder once.
        const std::string folder = "row" + std::to_string(i) + "/";
        const std::string abandoned = writeFile(folder + ".dump.xml.staged-Ab12Cd", "cut");
        if (!rows[i].record.empty()) writeFile(folder + ".staged-outputs.commit", rows[i].record);
        IOMgmt::writeFileAtomically(path(folder + "dump.xml"), "dump");
        EXPECT_EQ(readFile(path(folder + "dump.xml")), "dump");
        EXPECT_EQ(fs::exists(abandoned), !rows[i].cleared);
    }
}

}  // namespace
