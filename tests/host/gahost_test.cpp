// gahost run as a subprocess: exit codes, outputs and files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/definitions/FormDefinitions.h"
#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

const std::string kTestForms = GA_SOURCE_DIR "/tests/data/forms";
const std::string kBuildForms = GA_FORMS_BUILD_DIR;
const std::string kExample = GA_SOURCE_DIR "/examples/single-wages.xml";

using Result = testsupport::GahostResult;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, sep)) out.push_back(cell);
    if (!line.empty() && line.back() == sep) out.emplace_back();
    return out;
}

class GahostTest : public testsupport::ScratchDirTest {
protected:
    // Runs gahost with the arguments; the environment is this process's
    // without GA_MODULE_PATH and GA_FORMS_DIR, plus `env`.
    Result run(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
        return testsupport::runGahost(args, env, dir);
    }
};

// ------------------------------------------------------------ usage

TEST_F(GahostTest, HelpListsEveryCommand) {
    for (const char* flag : {"--help", "-h"}) {
        const Result r = run({flag});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.find("Usage: gahost"), 0u) << r.out;
        for (const char* word : {"check FILE", "run FILE", "forms", "fields FORM", "items", "interview FILE",
                                 "--out DIR", "--forms DIR", "--module PATH", "--efile"}) {
            EXPECT_NE(r.out.find(word), std::string::npos) << word;
        }
        EXPECT_TRUE(r.err.empty());
    }
}

TEST_F(GahostTest, WrongUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"check"},
        {"check", "a.xml", "b.xml"},
        {"run", "a.xml", "--out"},
        {"run", "a.xml", "--out="},
        {"forms", "--bogus"},
        {"forms", "extra"},
        {"fields"},
        {"check", "a.xml", "--out", "d"},
        {"check", "a.xml", "--efile"},
        {"run", "a.xml", "--forms", "a", "--forms", "b"},
        {"run", "a.xml", "--efile", "--device-id", "DEV\n00500.000.001 9"},
        {"run", "a.xml", "--efile", "--device-id", "DEV\t1"},
        {"run", "a.xml", "--efile", "--device-id", "DEV\x7f"},
        {"run", "a.xml", "--efile", "--device-id", "DEV\u00a01"},
        {"interview"},
        {"interview", "a.xml", "--out", "d"},
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.status, 2) << joined << "\n" << r.err;
        EXPECT_EQ(r.err.find("gahost: "), 0u) << joined;
        EXPECT_EQ(lines(r.err).size(), 1u) << "one line:\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << joined;
    }
}

// ------------------------------------------------------------ forms and fields

TEST_F(GahostTest, FormsListsEveryDefinitionTabSeparated) {
    const Result r = run({"forms", "--forms", kTestForms});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = lines(r.out);
    ASSERT_EQ(all.size(), 11u) << r.out;  // 4 federal and 7 state forms
    bool stateSeen = false;
    for (const std::string& line : all) {
        const auto cells = split(line, '\t');
        ASSERT_EQ(cells.size(), 5u) << line;
        ASSERT_TRUE(cells[1] == "state" || cells[1] == "federal") << line;
        if (cells[1] == "state") stateSeen = true;
        EXPECT_FALSE(stateSeen && cells[1] == "federal") << "federal forms come first: " << line;
    }
    EXPECT_NE(r.out.find("52\tfederal\tF52\t16\tForm W-2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2\tstate\tST2\t27\tGeorgia interest statement\n"), std::string::npos) << r.out;

    // The field count agrees with the fields command.
    const Result f = run({"fields", "ST2", "--forms", kTestForms});
    ASSERT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(lines(f.out).size(), 27u);
}

TEST_F(GahostTest, FieldsListsAFormInFieldOrder) {
    const Result r = run({"fields", "ga69", "--forms", kTestForms});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = lines(r.out);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "1\tkGA69_TPFirst\ta name, which holds a letter\tTaxpayer first name\tentry");
    EXPECT_NE(r.out.find("\n17\tkGA69_Zip\ta ZIP code of five or nine digits\t17\tentry\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n15\tkGA69_City\ttext of at most 22 bytes\t15\tentry\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n6\tkGA69_TPBirth\tdate\tTaxpayer date of birth\tentry\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n18\tkGA69_F18\tamount\t18\tentry\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n85\tkGA69_ResFull\tbox\tFull-year resident\tentry\n"), std::string::npos);
    // A field that the calculation fills says so (calc=1 in the definition).
    EXPECT_NE(r.out.find("\n72403\tkGA69_AutoBusy\tbox\t72403\tcalculated\n"), std::string::npos) << r.out;
    // Form order, not number order: 102 and 103 come before 46.
    EXPECT_LT(r.out.find("\n103\t"), r.out.find("\n46\t"));
    for (const std::string& line : all) EXPECT_EQ(split(line, '\t').size(), 5u) << line;
}

TEST_F(GahostTest, FieldsShowTheirNamesAndLabelsWhichAFileMayUse) {
    const Result r = run({"fields", "GA70", "--forms", kBuildForms});
    ASSERT_EQ(r.status, 0) << r.err;
    // The label is the form definitions' own, not the field's number.
    const FormDefinitions::Library library = FormDefinitions::loadDirectory(kBuildForms);
    const std::string label =
        library.georgia->findByDevName("GA70")->getFieldDesc(Primitives::QVImmutableIdentifier(83))->getLineID();
    EXPECT_NE(label, "83");
    EXPECT_NE(r.out.find("\n83\tkGA70_TaxableIncome\tamount\t" + label + "\tcalculated\n"), std::string::npos) << r.out;

    // By its short name, or by the name its number gives.
    std::string text = readFile(kExample);
    const std::string fields =
        "<FORM DEVNAME=\"GA70\"><FIELD><NAME>TaxableIncome</NAME><VALUE>1</VALUE></FIELD>"
        "<FIELD><NAME>kGA70_F84</NAME><VALUE>2</VALUE></FIELD></FORM>\n";
    text.insert(text.rfind("</RETURN>"), fields);
    const Result c = run({"check", writeFile("named.xml", text), "--forms", kBuildForms});
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_NE(c.out.find("GA70 copy 1: 2 fields"), std::string::npos) << c.out;
}

TEST_F(GahostTest, UnknownFormOrDefinitionsAreBadInput) {
    Result r = run({"fields", "GA999", "--forms", kTestForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unknown form \"GA999\""), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    // Every listing refuses a directory without definitions, and a bad
    // definition file, alike.
    writeFile("bad/a.def", "form 1 federal F1\nfield 2 kind=X\nend\n");
    for (const std::string& forms : {dir + "/nowhere", dir + "/bad"}) {
        const std::string shown = forms.substr(dir.size() + 1);
        for (std::vector<std::string> listing : {std::vector<std::string>{"forms"}, {"fields", "F1"}, {"items"}}) {
            listing.insert(listing.end(), {"--forms", forms});
            r = run(listing);
            EXPECT_EQ(r.status, 1) << listing[0] << " " << shown;
            EXPECT_NE(r.err.find(shown), std::string::npos) << r.err;
            EXPECT_TRUE(r.out.empty()) << r.out;
        }
    }
    EXPECT_EQ(run({"items", "--forms", kTestForms}).status, 0);

    // GA_FORMS_DIR is used when --forms is not given.
    r = run({"forms"}, {"GA_FORMS_DIR=" + dir + "/elsewhere"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("elsewhere"), std::string::npos) << r.err;
}

// ------------------------------------------------------------ check

TEST_F(GahostTest, CheckSummarisesReturnsFormsCopiesAndFields) {
    const std::string path = writeFile("doe.xml", R"(<RETURNFILE TAXYEAR="2018">
  <HOST><CLOCK>2019-03-15T12:00:00Z</CLOCK></HOST>
  <RETURN TYPE="federal">
    <RETURNNAME>doe</RETURNNAME>
    <HOST><FILINGSTATUS>1</FILINGSTATUS></HOST>
    <FORM DEVNAME="F1"><FIELD><ID>30</ID><VALUE>100</VALUE></FIELD><FIELD><ID>6</ID><VALUE>Pat</VALUE></FIELD></FORM>
    <FORM DEVNAME="F52" COPY="1"><FIELD><ID>33</ID><VALUE>1.00</VALUE></FIELD></FORM>
    <FORM DEVNAME="F52" COPY="2"/>
    <FORM DEVNAME="F92"><FIELD><ID>1</ID><VALUE>Pat</VALUE></FIELD><FIELD><ID>3</ID><VALUE>3</VALUE></FIELD>
      <FIELD><ID>7</ID><VALUE>7</VALUE></FIELD></FORM>
  </RETURN>
  <RETURN TYPE="GA">
    <HOST><PULLCOMMON FORM="F1" ITEM="federal-agi">100</PULLCOMMON></HOST>
    <FORM DEVNAME="ST2" COPY="3"><FIELD><ID>1</ID><VALUE>Bank</VALUE></FIELD></FORM>
  </RETURN>
</RETURNFILE>)");
    // The test definitions are not those the Georgia module was built for:
    // the module fails to calculate the return in memory, which fails the
    // check as it would fail a run, before the file is called valid.
    const Result r = run({"check", path, "--forms", kTestForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.find("gahost: the Georgia module cannot calculate the return: "), 0u) << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
}

TEST_F(GahostTest, CheckNamesTheFaultOfABadFile) {
    const std::string path = writeFile("bad.xml",
                                       "<RETURNFILE>\n<RETURN TYPE=\"federal\">\n"
                                       "<FORM DEVNAME=\"F52\" COPY=\"2\">\n"
                                       "<FIELD><ID>33</ID><VALUE>ten</VALUE></FIELD>\n"
                                       "</FORM>\n</RETURN>\n</RETURNFILE>\n");
    Result r = run({"check", path, "--forms", kTestForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_NE(r.err.find(path + ":4: form F52 copy 2 field 33 (kF52_StateWages1): non-numeric value \"ten\""),
              std::string::npos)
        << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << "one line for the one problem:\n" << r.err;

    r = run({"check", dir + "/missing.xml", "--forms", kTestForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.xml: cannot open the return file"), std::string::npos) << r.err;
}

TEST_F(GahostTest, CheckAndRunRefuseAFileThatLacksAPartTheyNeed) {
    const std::string federal = "<RETURN TYPE=\"federal\"><HOST><FILINGSTATUS>1</FILINGSTATUS></HOST></RETURN>";
    const std::string agi = "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">100</PULLCOMMON></HOST>";
    const std::string georgia = "<RETURN TYPE=\"GA\">" + agi + "</RETURN>";
    const struct {
        std::string xml;
        std::string message;
    } cases[] = {
        {"<RETURN TYPE=\"GA\"/>", "not a whole return file: its root element is <RETURN>"},
        {"<RETURNFILE>" + federal + georgia + "</RETURNFILE>", "the tax year is missing"},
        {"<RETURNFILE TAXYEAR=\"2018\"/>", "the federal return is missing"},
        {"<RETURNFILE TAXYEAR=\"2018\">" + federal + "</RETURNFILE>", "the Georgia return is missing"},
        {"<RETURNFILE TAXYEAR=\"2018\"><RETURN TYPE=\"federal\"/>" + georgia + "</RETURNFILE>",
         "the federal filing status is missing: add <FILINGSTATUS>1</FILINGSTATUS>"},
        {"<RETURNFILE TAXYEAR=\"2018\">" + federal + "<RETURN TYPE=\"GA\"/></RETURNFILE>",
         "the Georgia calculation needs common item 80 (federal-agi), the federal adjusted gross income, which "
         "the federal return here does not give: add <PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">...</PULLCOMMON>"},
    };
    for (const auto& c : cases) {
        const std::string path = writeFile("part.xml", c.xml);
        for (const std::string command : {"check", "run"}) {
            std::vector<std::string> args = {command, path, "--forms", kBuildForms};
            if (command == "run") args.insert(args.end(), {"--out", dir + "/out"});
            const Result r = run(args);
            if (command == "check" && c.xml.rfind("<RETURN ", 0) == 0) {
                // check validates a file of one return, as the module dumps it.
                EXPECT_EQ(r.status, 0) << r.err;
                continue;
            }
            EXPECT_EQ(r.status, 1) << command << " " << c.xml;
            EXPECT_NE(r.err.find(path + ": " + c.message), std::string::npos) << c.xml << "\n" << r.err;
            EXPECT_TRUE(r.out.empty()) << r.out;
        }
        EXPECT_FALSE(fs::exists(dir + "/out"));
    }
}

TEST_F(GahostTest, ItemsListsTheNamedCommonItems) {
    const Result r = run({"items"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("80\tfederal-agi\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\tseed, needed\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1\tfederal-filing-status\ta whole number from 1 to 5\t"), std::string::npos) << r.out;
    for (const std::string& line : lines(r.out)) EXPECT_EQ(split(line, '\t').size(), 5u) << line;
}

TEST_F(GahostTest, TheShippedExampleIsValid) {
    const Result r = run({"check", kExample, "--forms", kBuildForms});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.find(": valid return file\n")),
              ": valid return file\n"
              "federal return \"single-wages\": 3 forms, 3 copies, 20 fields set\n"
              "  F1 copy 1: 7 fields\n"
              "  F92 copy 1: 7 fields\n"
              "  F52 copy 1: 6 fields\n"
              "Georgia return \"single-wages\": 1 form, 1 copy, 4 fields set\n"
              "  GA69 copy 1: 4 fields\n"
              "host clock: 2019-03-15T12:00:00Z\n"
              "calculated the Georgia return in memory, writing nothing: no entry is changed by the calculation\n"
              "if e-filed (run --efile): Georgia e-file not blocked\n");
}

// ------------------------------------------------------------ run

TEST_F(GahostTest, RunWritesTheReturnsBackUnderTheFilesName) {
    const std::string out = dir + "/out/nested";
    const Result r = run({"run", kExample, "--out", out, "--forms", kBuildForms});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string written = out + "/single-wages.xml";
    ASSERT_TRUE(fs::exists(written));
    EXPECT_NE(r.out.find("wrote " + written), std::string::npos) << r.out;
    const std::string text = readFile(written);
    EXPECT_NE(text.find("<VALUE>584100021</VALUE>"), std::string::npos);  // as its digits
    EXPECT_EQ(text.find("<INELF>"), std::string::npos) << "the e-file status at its default is not written";

    // What run writes is itself a valid return file.
    const Result again = run({"check", written, "--forms", kBuildForms});
    EXPECT_EQ(again.status, 0) << again.err;
    // No temporary file is left beside it and the Georgia e-file.
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(out)) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"GA-efile.txt", "single-wages.print.txt", "single-wages.xml"}));
}

TEST_F(GahostTest, RunPrintsTheFormsTheirAttachmentsAndTheSummaryReport) {
    const Result r = run({"run", kExample, "--out", dir, "--forms", kBuildForms, "--efile"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string printed = readFile(dir + "/single-wages.print.txt");
    // The payment voucher comes first in the Georgia print order, then form 70.
    EXPECT_EQ(printed.rfind("GA77 copy 1: ", 0), 0u) << printed;
    EXPECT_NE(printed.find("GA70 copy 1: "), std::string::npos);
    // Filing status A and the city, as form 70 prints them.
    EXPECT_NE(printed.find("\tA\n"), std::string::npos);
    EXPECT_NE(printed.find("\tATLANTA\n"), std::string::npos);
    EXPECT_NE(r.out.find("  setPdfIntFormIdToUseForEntire(12, 12, 70)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Summary report\n  Federal AGI\t52000\n"), std::string::npos);
    EXPECT_NE(r.out.find("  Amount You Owe \t45\n"), std::string::npos);
    // The registrations appear in the e-file's PDF sections.
    const std::string efile = readFile(dir + "/GA-efile.txt");
    EXPECT_NE(efile.find("D GAGAPDFFRM 001 X T  \r\n00001.000 001 GAPDFFORM1\r\n"), std::string::npos);
    EXPECT_NE(efile.find("D GAHASHTBL  001 X T  \r\n"), std::string::npos);
}

TEST_F(GahostTest, RunWritesTheGeorgiaEFileEndingWithTheFederalBlock) {
    const std::string federal =
        writeFile("federal.txt", "H FEDERAL\r\nD FDF1040    001 X T  \r\n00010.000 001 FED\r\n");
    const Result r = run({"run", kExample, "--out", dir + "/out", "--forms", kBuildForms, "--federal-efile", federal});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string efile = readFile(dir + "/out/GA-efile.txt");
    EXPECT_EQ(efile.rfind("Y 2018\r\nP Quarlo\r\n", 0), 0u) << efile;
    EXPECT_NE(efile.find("S GA\r\nS FD\r\nD SYPCRTN    001 X T  \r\n"), std::string::npos);
    EXPECT_NE(efile.find("D SYSTRTN    001 X T  \r\n"), std::string::npos);
    EXPECT_NE(efile.find("D GA70       001 X T  \r\n"), std::string::npos);
    const std::string block = "D FDF1040    001 X T  \r\n00010.000 001 FED\r\n";
    EXPECT_EQ(efile.substr(efile.size() - block.size()), block);

    // An e-file that cannot be written fails the run.
    fs::create_directories(dir + "/blocked/GA-efile.txt");
    const Result blocked = run({"run", kExample, "--out", dir + "/blocked", "--forms", kBuildForms});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("GA-efile.txt: is a folder (of "), std::string::npos) << blocked.err;
}

TEST_F(GahostTest, RunWithEfileMarksTheGeorgiaReturnAsEfiledAndChecksIt) {
    Result r = run({"run", kExample, "--out", dir, "--forms", kBuildForms});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Georgia review (ordinary audit): "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Georgia e-file:"), std::string::npos) << r.out;

    // The example names its filer on form 92 and answers the driver's
    // licence question: nothing blocks its e-file.
    r = run({"run", kExample, "--out", dir, "--forms", kBuildForms, "--efile"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readFile(dir + "/single-wages.xml").find("<INELF>X</INELF>"), std::string::npos);
    EXPECT_NE(r.out.find("Georgia review (e-file check): 0 findings\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nGeorgia e-file: not blocked\n"), std::string::npos) << r.out;
}

// A return owing 150 with the number 123-45-6789: e-filed, its payment
// voucher carries the code 180921 and form 72 counts as entered; on paper the
// code is 180912 and form 72 is not entered.
TEST_F(GahostTest, RunWithEfileGivesThePaymentVoucherTheElectronicCode) {
    const std::string example = GA_SOURCE_DIR "/examples/balance-due.xml";
    const std::string form72 = "<FORM DEVNAME=\"GA72\" COPY=\"1\" DATAENTERED=\"0\">";
    const struct {
        bool efile;
        const char* scanLine;
    } runs[] = {{true, "52500123456789418092120000000000000007500000150001"},
                {false, "52500123456789418091220000000000000007500000150002"}};
    for (const auto& c : runs) {
        std::vector<std::string> args = {"run", example, "--out", dir, "--forms", kBuildForms};
        if (c.efile) args.push_back("--efile");
        const Result r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("Scan line                                  ") + c.scanLine),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(readFile(dir + "/balance-due.xml").find(form72) == std::string::npos, c.efile);
    }
}

TEST_F(GahostTest, RunRefusesToReplaceItsInput) {
    const std::string input = writeFile("single-wages.xml", readFile(kExample));
    const Result r = run({"run", input, "--out", dir, "--forms", kBuildForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("would replace the input file"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << "refused only after the work was done:\n" << r.out;
    EXPECT_EQ(readFile(input), readFile(kExample));
}

TEST_F(GahostTest, RunOfABadFileWritesNothing) {
    const std::string input = writeFile("bad.xml",
                                        "<RETURNFILE><RETURN TYPE=\"GA\"><FORM DEVNAME=\"GA70\" COPY=\"100\"/>"
                                        "</RETURN></RETURNFILE>");
    const Result r = run({"run", input, "--out", dir + "/out", "--forms", kBuildForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("copy number 100 is out of range"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir + "/out"));
}

TEST_F(GahostTest, RunRefusesAnOutputFolderItCannotMake) {
    const std::string file = writeFile("file", "not a folder");
    const Result r = run({"run", kExample, "--out", file + "/out", "--forms", kBuildForms});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot create the output directory " + file + "/out: "), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << "refused before the work:\n" << r.out;
    EXPECT_EQ(readFile(file), "not a folder");
}

TEST_F(GahostTest, RunRefusesAModuleThatCannotBeUsed) {
    Result r = run({"run", kExample, "--out", dir, "--forms", kBuildForms, "--module", dir + "/none.so"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot load the Georgia module " + dir + "/none.so"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir + "/single-wages.xml"));

    // A library that is not a Georgia module.
    const std::string platform = GA_BINARY_DIR "/platform/libquarlo_platform.so";
    ASSERT_TRUE(fs::exists(platform));
    r = run({"run", kExample, "--out", dir, "--forms", kBuildForms, "--module", platform});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not a Georgia module: it has no compatVersion"), std::string::npos) << r.err;

    // GA_MODULE_PATH names the module when --module does not.
    r = run({"run", kExample, "--out", dir, "--forms", kBuildForms}, {"GA_MODULE_PATH=" + dir + "/env.so"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir + "/env.so"), std::string::npos) << r.err;
}

// Each command that takes a module loads the one --module names.
TEST_F(GahostTest, RunCheckAndInterviewRefuseAModuleOfAnotherCompatibilityVersion) {
    for (const std::string command : {"run", "check", "interview"}) {
        std::vector<std::string> args = {command, kExample, "--forms", kBuildForms, "--module", FAKE_MODULE_OLD};
        if (command == "run") args.insert(args.end(), {"--out", dir});
        const Result r = run(args);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find("has compatibility version 6100; this host needs 6101"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_FALSE(fs::exists(dir + "/single-wages.xml"));
}

// A return that every calculation changes: check and run give their figures
// and say that the return did not settle.
TEST_F(GahostTest, CheckAndRunSayThatTheReturnDidNotSettle) {
    for (const std::string command : {"check", "run"}) {
        std::vector<std::string> args = {command, kExample, "--forms", kBuildForms, "--module", RESTLESS_MODULE};
        if (command == "run") args.insert(args.end(), {"--out", dir});
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("\nthe Georgia return did not settle in 5 calculations: the last still changed form GA70 "
                             "copy 1 field 106 ("),
                  std::string::npos)
            << r.out;
    }
}

TEST_F(GahostTest, AMissingFactoryIsReportedWhenItIsNeeded) {
    const Result r = run({"run", kExample, "--out", dir, "--forms", kBuildForms, "--module", FAKE_MODULE_BARE});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("does not provide createTaxReturnInstance"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir + "/single-wages.xml"));
}

// ------------------------------------------------------------ interview

TEST_F(GahostTest, InterviewPrintsTheTopicTreeAndTheMacros) {
    const Result r = run({"interview", kExample, "--forms", kBuildForms});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"Georgia interview: 7 top-level topics, 26 in all\n",
          "\n  gags \"Welcome to Your Georgia Return\" status 0\n"
          "    UpdateState \"Program Updates\" status 0\n",
          "\n  Credits \"Georgia Credits\" status ", "\n    gaunder \"Underpayment Penalty\" status ",
          "\n  Endgrp \"Finished Georgia Interview\" status 0\n"
          "  GASecondaryNavs \"GA Secondary Navigation Tables\" status 0\nGeorgia macros:\n",
          "\n  expandSPNameOrYourSpouse: your spouse\n", "\n  expandReturnTitle: Georgia Return\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    }
    // Nothing is written.
    EXPECT_TRUE(fs::is_empty(dir)) << dir;
    EXPECT_NE(r.out.find("gacontrib \"Contributions\" status 2\n"), std::string::npos) << r.out;

    // The questions of contributions (form 69) and of other credits (form
    // 70) are boxes that a return file marks; marked, their topics are needed.
    std::string questions = readFile(kExample);
    const std::string info = "<FORM DEVNAME=\"GA69\" COPY=\"1\">";
    questions.replace(questions.find(info), info.size(),
                      "<FORM DEVNAME=\"GA70\" COPY=\"1\"><FIELD><ID>178303</ID><VALUE>X</VALUE></FIELD></FORM>" + info +
                          "<FIELD><ID>33439</ID><VALUE>X</VALUE></FIELD>");
    const Result asked = run({"interview", writeFile("questions.xml", questions), "--forms", kBuildForms});
    ASSERT_EQ(asked.status, 0) << asked.err;
    for (const char* line : {"gacontrib \"Contributions\" status 0\n", "sched2 \"Miscellaneous Credits\" status 0\n"}) {
        EXPECT_NE(asked.out.find(line), std::string::npos) << line << "\n" << asked.out;
    }

    const Result missing = run({"interview", dir + "/none.xml", "--forms", kBuildForms});
    EXPECT_EQ(missing.status, 1);
}

// A file whose XML declaration names an encoding the reader does not take is
// refused in one line naming the file and the encoding; one that keeps ASCII
// as it is reads as ever.
TEST_F(GahostTest, CheckNamesAnEncodingItDoesNotTake) {
    std::string example = readFile(kExample);
    const std::size_t declarationEnd = example.find("?>");
    ASSERT_NE(declarationEnd, std::string::npos);
    const struct {
        const char* encoding;
        bool taken;
    } rows[] = {
        {"EBCDIC-US", false}, {"IBM037", false}, {"UTF-16", false},    {"UCS-4", false},
        {"KLINGON", false},   {"utf-8", true},   {"ISO-8859-1", true}, {"US-ASCII", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.encoding);
        const std::string file =
            writeFile("declared.xml", "<?xml version=\"1.0\" encoding=\"" + std::string(row.encoding) + "\"" +
                                          example.substr(declarationEnd));
        const Result r = run({"check", file, "--forms", kBuildForms});
        if (row.taken) {
            EXPECT_EQ(r.status, 0) << r.err;
            continue;
        }
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(lines(r.err), std::vector<std::string>{
                                    "gahost: " + file + ":1: the XML declaration names the encoding \"" + row.encoding +
                                    "\", which the reader does not take (a return file is "
                                    "UTF-8, or in an encoding that keeps ASCII as it is)"});
    }
}

}  // namespace
