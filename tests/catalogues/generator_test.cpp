// The catalogue generator refuses faulty data with the file and line that
// hold the fault, and fills partial lists by its documented rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

class GeneratorTest : public testsupport::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        fs::create_directories(path("overlay"));
        writeFile("forms.txt", "GA9 9 state GAForm9FieldIds\nF7 7 federal Form7FieldIds\n");
        writeFile("catalogues/GAForm9FieldIds.txt", "class GAForm9FieldIds\nform 9 state\ncount 4\nlist: 1-3, 10\n");
        writeFile("catalogues/Form7FieldIds.txt", "class Form7FieldIds\nform 7 federal\ncount 6\nat 0: 5\nseq: 3\n");
    }

    // Runs the generator; returns its exit status, leaves its messages in errors_.
    int generate() {
        const std::string command = "python3 \"" GA_SOURCE_DIR "/forms/gen_catalogues.py\" --source \"" + dir +
                                    "\" --header-dir \"" + path("out") + "\" --defs-dir \"" + path("defs") +
                                    "\" 2> \"" + path("errors.txt") + "\"";
        const int status = std::system(command.c_str());
        errors_ = readFile(path("errors.txt"));
        return status;
    }

    std::string errors_;
};

TEST_F(GeneratorTest, GoodDataGivesHeadersAndDefinitions) {
    ASSERT_EQ(generate(), 0) << errors_;
    const std::string header = readFile(path("out/GAForm9FieldIds.h"));
    EXPECT_NE(header.find("Primitives::QVImmutableIdentifier f10;"), std::string::npos);
    EXPECT_NE(header.find("inline constexpr GAForm9FieldIds kGAForm9FieldIds{"), std::string::npos);
    EXPECT_NE(readFile(path("out/AllFieldIds.h")).find("\"module/catalogues/Form7FieldIds.h\""), std::string::npos);
    const std::string def = readFile(path("defs/GA9.def"));
    EXPECT_NE(def.find("form 9 state GA9"), std::string::npos);
    EXPECT_NE(def.find("fields 1-3\nfield 10\nend"), std::string::npos);
}

TEST_F(GeneratorTest, AFieldsKindAndItsNameMayStandOnTwoLines) {
    writeFile("overlay/GA9.txt", "field 1-3 kind=T\nfield 2 short=Payer line=\"Payer's name\"\n");
    ASSERT_EQ(generate(), 0) << errors_;
    EXPECT_NE(readFile(path("defs/GA9.def")).find("field 2 kind=T short=Payer line=\"Payer's name\""),
              std::string::npos)
        << readFile(path("defs/GA9.def"));
}

TEST_F(GeneratorTest, PartialListKeepsGivenMembersAndFillsTheRest) {
    ASSERT_EQ(generate(), 0) << errors_;
    // Member 0 is given, 3 takes the first free place after it, and the
    // fillers are the smallest unused numbers that start no run: 1, 4, 6, 8.
    const std::string def = readFile(path("defs/F7.def"));
    EXPECT_NE(def.find("field 5\nfield 3\nfield 1\nfield 4\nfield 6\nfield 8\nend"), std::string::npos) << def;
    const std::string header = readFile(path("out/Form7FieldIds.h"));
    EXPECT_NE(header.find("QVImmutableIdentifier f5;"), std::string::npos);
    EXPECT_NE(header.find("QVImmutableIdentifier u4;"), std::string::npos);
}

struct BadData {
    const char* file;
    const char* text;
    const char* message;
};

class GeneratorRefusal : public GeneratorTest, public ::testing::WithParamInterface<BadData> {};

TEST_P(GeneratorRefusal, NamesFileLineAndFault) {
    writeFile(GetParam().file, GetParam().text);
    EXPECT_NE(generate(), 0);
    EXPECT_NE(errors_.find(GetParam().message), std::string::npos) << errors_;
    EXPECT_FALSE(fs::exists(path("out/GAForm9FieldIds.h")));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, GeneratorRefusal,
    ::testing::Values(
        BadData{"catalogues/GAForm9FieldIds.txt", "class GAForm9FieldIds\nform 9 state\ncount 5\nlist: 1-3, 10\n",
                "GAForm9FieldIds.txt:4: the list expands to 4 members, count says 5"},
        BadData{"catalogues/GAForm9FieldIds.txt", "class GAForm9FieldIds\nform 9 state\ncount 4\nlist: 1-3, 2\n",
                "field 2 stands twice"},
        BadData{"catalogues/GAForm9FieldIds.txt", "class GAForm9FieldIds\nform 9 state\ncount 4\nlist: 3-1, 10\n",
                "run 3-1 does not ascend"},
        BadData{"catalogues/GAForm9FieldIds.txt", "class GAForm9FieldIds\nform 9 state\ncount 4\nlist: 0-3\n",
                "field number 0 is not positive"},
        BadData{"catalogues/GAForm9FieldIds.txt",
                "class GAForm9FieldIds\nform 9 state\ncount 4\nlist: 1-3, 10\nat 2: 10\n",
                "GAForm9FieldIds.txt:5: member 2 holds 3, not 10"},
        BadData{"catalogues/GAForm9FieldIds.txt",
                "class GAForm9FieldIds\nform 9 state\ncount 4\nruns 1\nlist: 1-3, 10\n",
                "the list has 2 runs, the data says 1"},
        BadData{"catalogues/GAForm9FieldIds.txt", "class GAForm9FieldIds\nform 9 state\ncount x\nlist: 1-3, 10\n",
                "count is not a number"},
        BadData{"catalogues/Form7FieldIds.txt", "class Form7FieldIds\nform 7 federal\ncount 3\nat 0: 5\nat 1: 5\n",
                "field 5 is given at members 0 and 1"},
        BadData{"catalogues/Form7FieldIds.txt", "class Form7FieldIds\nform 7 federal\ncount 3\nat 3: 5\n",
                "member 3 is beyond the count 3"},
        BadData{"catalogues/Form7FieldIds.txt",
                "class Form7FieldIds\nform 7 federal\ncount 4\nat 2: 5\nseq: 9, 5, 8\nseq: 8, 5\n",
                "field 5 stands out of the stated order"},
        BadData{"forms.txt", "GA9 9 state GAForm9FieldIds\n", "the form of 'Form7FieldIds' is not in the registry"},
        BadData{"forms.txt", "GA9 9 state GAForm9FieldIds\nF8 7 federal Form7FieldIds\n",
                "dev name 'F8' does not name form 7"},
        BadData{"overlay/GA9.txt", "field 11 kind=T\n", "GA9.txt:1: GA9 has no field 11"},
        BadData{"overlay/GA9.txt", "field 1 kind=X\n", "kind must be one of N, T, B, D"},
        BadData{"overlay/GA9.txt", "field 1-3 kind=T\nfield 2 kind=B\n", "field 2 of GA9 given 'kind' twice"},
        BadData{"overlay/GA9.txt", "field 2 kind=T edit=D\n", "edit code D marks a date, which needs kind=D"},
        BadData{"overlay/GA9.txt", "field 2 colour=red\n", "unknown field attribute 'colour=red'"},
        BadData{"overlay/GA9.txt", "field 1 short=f2\n",
                "GA9.txt:1: short name 'F2' of field 2 is also that of field 1"},
        BadData{"overlay/GA9.txt", "field 1 kind=T len=0\n", "len 0 is out of range"},
        BadData{"overlay/GA9.txt", "field 1 edit=300\n", "edit code must be one character or a byte value"},
        BadData{"overlay/GA9.txt", "field 1 domain=positive\n", "domain must be one of nonnegative, intaxyear"},
        BadData{"overlay/GA77.txt", "name \"x\"\n", "no form with dev name 'GA77'"}));

}  // namespace
