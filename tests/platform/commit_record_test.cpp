// The commit record of an output folder: only a record that a run wrote is
// acted on, and a single-file write (a dump of the test facility) clears
// only the staged files of its target that no record lists. A record that
// cannot be written: Staging tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/platform/staging_fixture.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testsupport::gFails;
using testsupport::StagingCall;

// The heading of the records that this version writes.
const std::string kHeading = "staged outputs commit record 2";

class CommitRecord : public testsupport::StagingTest {
protected:
    // The fields, each ended by a NUL byte, then (when sealed) the checksum
    // that a run writes.
    static std::string record(const Names& fields, bool sealed = true) {
        std::string text;
        for (const std::string& field : fields) text += field + '\0';
        return sealed ? text + IOMgmt::detail::hashText(text) + '\0' : text;
    }
    // A file's device and number, in decimal.
    static Names numbersOf(const std::string& file) {
        struct stat st {};
        EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
        return {std::to_string(st.st_dev), std::to_string(st.st_ino)};
    }
};

// A commit record that no run wrote (damaged, made by hand, or by an
// earlier version without a checksum) is not acted on: every batch into the
// folder fails before it changes anything, naming the record; no file it
// names is removed.
TEST_F(CommitRecord, OnlyARecordThatARunWroteIsFinished) {
    const std::string out = writeFile("out.txt", "earlier");
    const std::string notes = writeFile("notes.txt", "mine");
    const Names folder = numbersOf(dir);
    const std::string hash = "0123456789abcdef";
    const auto line = [&](std::size_t at, const std::string& value) {
        Names fields = {kHeading,
                        folder[0],
                        folder[1],
                        "out.txt",
                        ".out.txt.staged-AAAAAA",
                        "12",
                        "7",
                        hash,
                        ".out.txt.kept-BBBBBB",
                        "end"};
        fields[at] = value;
        return fields;
    };
    const Names whole = line(0, kHeading);
    const Names userNotes = {
        kHeading, folder[0], folder[1], "notes.txt", ".notes.txt.staged-AAAAAA", numbersOf(notes)[1],
        "4",      hash,      "",        "end"};
    const struct {
        std::string file;
        std::string text;
    } rows[] = {
        {".staged-outputs.commit", "garbage"},
        {".staged-outputs.commit", record(whole).substr(0, record(whole).size() - 1)},  // cut short
        {".staged-outputs.commit", record(whole, false) + std::string(16, '0') + '\0'},
        // A hand-made roll-back record that names a user's file.
        {".staged-outputs.rollback", record(userNotes, false) + hash + '\0'},
        // The earlier version's record, without a checksum.
        {".staged-outputs.commit",
         record({"staged outputs commit record 1", "out.txt", ".out.txt.staged-AAAAAA", "12", "", "end"}, false)},
        {".staged-outputs.commit", record(line(3, "../out.txt"))},
        {".staged-outputs.commit", record(line(4, ".other.txt.staged-AAAAAA"))},
        {".staged-outputs.commit", record(line(5, "99999999999999999999"))},
        {".staged-outputs.commit", record(line(5, "-1"))},
        {".staged-outputs.commit", record(line(5, ""))},
        {".staged-outputs.commit", record(line(6, ""))},
        {".staged-outputs.commit", record(line(7, "0123456789abcdeg"))},
        {".staged-outputs.commit", record(line(8, ".out.txt.kept-BBB"))},
        {".staged-outputs.commit", record(line(1, ""))},
        {".staged-outputs.commit", record({kHeading, folder[0], folder[1], "", "", "0", "0", "", "notes.txt", "end"})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string recordFile = writeFile(row.file, row.text);
        IOMgmt::OutputBatch batch({out});
        EXPECT_EQ(failure([&] { IOMgmt::writeFileAtomically(out, "new"); }),
                  out + ": the commit record " + recordFile +
                      " is not a commit record that a run wrote: see that each output is whole, then remove it; no "
                      "output of the run is changed");
        EXPECT_EQ(textsOf({out, notes, recordFile}), (Names{"earlier", "mine", row.text}));
        fs::remove(recordFile);
    }
}

// A whole roll-back record is finished, with one note that says what is
// true: neither the output it finds moved into place nor one that is gone
// can have its earlier file back here, and both earlier files stay.
TEST_F(CommitRecord, ARollBackThatCannotPutBackSaysWhatStays) {
    const std::string out = writeFile("out.txt", "earlier");
    const Names folder = numbersOf(dir);
    writeFile(".staged-outputs.rollback",
              record({kHeading, folder[0], folder[1], "out.txt", ".out.txt.staged-AAAAAA", numbersOf(out)[1], "7",
                      std::string(16, '0'), ".out.txt.kept-BBBBBB", "gone.txt", ".gone.txt.staged-AAAAAA", "1", "3",
                      std::string(16, '0'), ".gone.txt.kept-CCCCCC", "end"}));
    const Names kept = {writeFile(".out.txt.kept-BBBBBB", "kept"), writeFile(".gone.txt.kept-CCCCCC", "kept")};
    gFails = [](StagingCall call, const std::string& name) {
        return call == StagingCall::Rename && name.find(".kept-") != std::string::npos;
    };
    runBatch({out}, {"new"});
    const std::string stays = ", which stays until you move it back or remove it";
    EXPECT_EQ(notes,
              Names{dir + ": finished the roll-back of an earlier run into the folder that failed; " + out +
                    " is the new file, it cannot be put back (Input/output error): the earlier file is " + kept[0] +
                    stays + "; " + path("gone.txt") +
                    " is missing, it cannot be put back (Input/output error): the earlier file is " + kept[1] + stays});
    EXPECT_EQ(textsOf({out, kept[0], kept[1]}), (Names{"new", "kept", "kept"}));
    EXPECT_EQ(namesIn(""), (Names{".gone.txt.kept-CCCCCC", ".out.txt.kept-BBBBBB", "out.txt"}));
}

// A write of a single file, outside any batch, removes the staged files of
// its target that a killed writer left, unless a commit record lists them
// or a record there cannot be read (it may list them).
TEST_F(CommitRecord, ASingleFileWriteClearsOnlyStagedFilesNoRecordMayList) {
    const struct {
        std::string record;  // the commit record's text; empty for none, "listing" for one listing it
        bool cleared;
    } rows[] = {
        {"", true},
        {"garbage", false},
        {"listing", false},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].record);
        // A folder of its own: a process clears a target's folder once.
        const std::string folder = "row" + std::to_string(i) + "/";
        const std::string abandoned = writeFile(folder + ".dump.xml.staged-Ab12Cd", "cut");
        if (rows[i].record == "listing") {
            IOMgmt::detail::writeCommitRecord(path(folder), {{.output = "dump.xml",
                                                              .staged = ".dump.xml.staged-Ab12Cd",
                                                              .stagedSize = 3,
                                                              .stagedHash = std::string(16, '0')}});
        } else if (!rows[i].record.empty()) {
            writeFile(folder + ".staged-outputs.commit", rows[i].record);
        }
        IOMgmt::writeFileAtomically(path(folder + "dump.xml"), "dump");
        EXPECT_EQ(readFile(path(folder + "dump.xml")), "dump");
        EXPECT_EQ(fs::exists(abandoned), !rows[i].cleared);
    }
}

}  // namespace
