// The staged writes: permissions.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

class Staging : public testsupport::ScratchDirTest {};

TEST_F(Staging, AnOutputIsNoWiderThanTheUmaskOrTheFileItReplaces) {
    enum class Before { None, Regular0640, LinkToA0777File, NoneAppended };
    const struct {
        mode_t umask;
        Before before;
        fs::perms expected;
    } rows[] = {
        {077, Before::None, fs::perms(0600)},
        {022, Before::None, fs::perms(0644)},
        {077, Before::Regular0640, fs::perms(0640)},
        {022, Before::Regular0640, fs::perms(0640)},
        {077, Before::LinkToA0777File, fs::perms(0600)},
        {022, Before::LinkToA0777File, fs::perms(0644)},
        {077, Before::NoneAppended, fs::perms(0600)},
        {022, Before::NoneAppended, fs::perms(0644)},
    };
    const std::string out = path("out.txt");
    const std::string target = writeFile("target.txt", "target");
    fs::permissions(target, fs::perms::all);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "umask " << std::oct << row.umask << ", before " << int(row.before));
        fs::remove(out);
        if (row.before == Before::Regular0640) fs::permissions(writeFile("out.txt", "old"), fs::perms(0640));
        if (row.before == Before::LinkToA0777File) fs::create_symlink(target, out);
        const mode_t previous = ::umask(row.umask);
        if (row.before == Before::NoneAppended) {
            IOMgmt::appendToFile(out, "new");
        } else {
            IOMgmt::OutputBatch batch({out});
            IOMgmt::writeFileAtomically(out, "new");
            batch.commit();
        }
        ::umask(previous);
        EXPECT_EQ(fs::symlink_status(out).permissions(), row.expected);
        EXPECT_EQ(readFile(out), "new");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms::all);
        EXPECT_EQ(readFile(target), "target");
    }
}

}  // namespace
