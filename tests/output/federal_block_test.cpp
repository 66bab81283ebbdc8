// The federal data block at the end of the e-file: read once, checked, and
// copied as it was checked.
#include <filesystem>

#include "platform/Exceptions.h"
#include "platform/framework/FederalEFile.h"
#include "tests/output/efile_fixture.h"

namespace efiletest {
namespace {

namespace fs = std::filesystem;

using TifWriteMgmt::FederalEFile;

const std::string kBlock = "D FDF1040    001 X T  \r\n00010.000 001 FED\r\n";

using FederalEFileRead = testsupport::ScratchDirTest;

TEST_F(FederalEFileRead, TakesABlockThatCanBeCopiedAsItStands) {
    struct Row {
        const char* what;
        std::string bytes;
        std::string problem;  // empty: taken
        std::vector<std::string> block;
    };
    const Row rows[] = {
        {"CR LF lines from the first block line",
         "H FED\r\n" + kBlock,
         "",
         {"D FDF1040    001 X T  ", "00010.000 001 FED"}},
        {"LF lines, the last without one", "D FDBKDATA 1\n2\n3", "", {"D FDBKDATA 1", "2", "3"}},
        {"a CR ending the file ends its line", "D FDF1040\r\nA\r", "", {"D FDF1040", "A"}},
        {"NUL and lone CR before the block are not copied",
         std::string("H\0\r\r\n", 5) + kBlock,
         "",
         {"D FDF1040    001 X T  ", "00010.000 001 FED"}},
        {"the block's name not at a line's start", "H D FDF1040\r\n", "has no federal data block", {}},
        {"CR inside a line",
         "D FDF1040\r\nA\rB\r\n",
         "the federal data block is refused: line 2 holds a carriage return that does not end it",
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string file = writeFile("federal.txt", row.bytes);
        std::string problem = "stale";
        const std::optional<FederalEFile> federal = FederalEFile::read(file, problem);
        EXPECT_EQ(row.problem.empty() ? problem : problem.substr(0, row.problem.size()), row.problem);
        EXPECT_EQ(federal.has_value(), row.problem.empty());
        EXPECT_EQ(federal ? federal->blockLines() : std::vector<std::string>(), row.block);
    }
}

class FederalBlockTest : public EFileTest {
protected:
    void SetUp() override {
        EFileTest::SetUp();
        listPrinter->forms = StateTaxFormPrintMgmt::FormIdList();
        writeFile("GA-efile.txt", "EARLIER\r\n");
    }
};

// What the e-file carries is the copy that was checked, whatever the file
// became afterwards.
TEST_F(FederalBlockTest, TheBlockIsTheCopyReadOnce) {
    const std::string federalPath = writeFile("federal.txt", "H FED\r\n" + kBlock);
    for (const bool removed : {false, true}) {
        SCOPED_TRACE(removed ? "removed" : "replaced");
        writeFile("federal.txt", "H FED\r\n" + kBlock);
        std::string problem;
        std::optional<FederalEFile> federal = FederalEFile::read(federalPath, problem);
        ASSERT_TRUE(federal) << problem;
        writer->setFederalEFile(*federal);
        if (removed) {
            fs::remove(federalPath);
        } else {
            writeFile("federal.txt", "D FDF1040 SWAPPED\r\nA\rB\r\n");
        }
        ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
        const std::string efile = readFile(efilePath());
        EXPECT_EQ(efile.substr(efile.size() - kBlock.size()), kBlock);
    }
}

// Without the host's copy the writer reads the configured federal e-file
// itself, once, and writes no e-file without the block it names.
TEST_F(FederalBlockTest, AFederalEFileThatCannotBeUsedLeavesTheEarlierEFile) {
    const struct {
        const char* what;
        std::string bytes;  // none written when empty
        std::string problem;
    } rows[] = {
        {"missing", "", "cannot open it: No such file or directory"},
        {"no block", "H FED\r\n", "has no federal data block"},
        {"CR inside a line", "D FDF1040\r\nA\rB\r\n",
         "the federal data block is refused: line 2 holds a carriage return that does not end it"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove(path("federal.txt"));
        if (!row.bytes.empty()) writeFile("federal.txt", row.bytes);
        TestWriter fresh(federal, ga, engine, printer, AuditMgmt::TaxFormAuditorPtr(), cfg);
        try {
            fresh.writeTifFile(1, DataMgmt::kGeorgiaReturnType);
            ADD_FAILURE() << "written without the federal block";
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_NE(e.getMessage().find("the federal e-file " + path("federal.txt") + ": " + row.problem),
                      std::string::npos)
                << e.getMessage();
        }
        EXPECT_EQ(readFile(efilePath()), "EARLIER\r\n");
        EXPECT_EQ(countingEngine->calculations, 0);
    }
    // No federal e-file named: the e-file ends with the state's records.
    cfg->federalEFilePath.clear();
    ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
    EXPECT_EQ(readFile(efilePath()).find("D FDF1040"), std::string::npos);
    EXPECT_EQ(readFile(efilePath()).rfind("Y 2018\r\n", 0), 0u);
}

}  // namespace
}  // namespace efiletest
