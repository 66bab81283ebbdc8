// The frame of the e-file: fresh files and merges into an earlier state's
// file, record lines, value formats and the small helpers.
#include <algorithm>
#include <filesystem>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form187982Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form75Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "tests/output/efile_fixture.h"

namespace efiletest {
namespace {

namespace fs = std::filesystem;

const std::string kData = GA_SOURCE_DIR "/tests/data/efile/";

class FrameTest : public EFileTest {
protected:
    void SetUp() override {
        EFileTest::SetUp();
        fs::copy_file(kData + "federal.txt", path("federal.txt"));
        setText(fedCopy(kForm92ID), FieldId(7), "Smith");
        listPrinter->forms = StateTaxFormPrintMgmt::FormIdList();
    }
    void expectGolden(const std::string& golden) {
        EXPECT_EQ(fileLines(efilePath()), fileLines(kData + golden)) << readFile(efilePath());
    }
};

TEST_F(FrameTest, FirstStateWritesHeaderOfficeAndStateRecordsThenFederalBlock) {
    writeFile("GA-efile.txt", "WHATEVER WAS THERE\r\n");  // sequence 1 writes anew
    ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
    expectGolden("fresh-expected.txt");
    EXPECT_NE(readFile(efilePath()).find("Y 2018\r\nP Quarlo\r\n"), std::string::npos);
    EXPECT_FALSE(writer->isAppendMode());
    EXPECT_EQ(countingEngine->calculations, 1);
}

TEST_F(FrameTest, SecondStateMergesIntoTheEarlierStatesFile) {
    fs::copy_file(kData + "earlier-state.txt", efilePath());
    writeFile("GA-efile.txt.tmp", "STALE\r\n");
    ASSERT_TRUE(writer->writeTifFile(2, DataMgmt::kGeorgiaReturnType));
    EXPECT_TRUE(writer->isAppendMode());
    expectGolden("merge-expected.txt");
    // The stale temporary file went first; the new one keeps the earlier file.
    EXPECT_EQ(readFile(efilePath() + ".tmp"), readFile(kData + "earlier-state.txt"));
}

TEST_F(FrameTest, SecondStateWithoutAFileWritesAfreshWithoutOfficeRecord) {
    ASSERT_TRUE(writer->writeTifFile(2, DataMgmt::kGeorgiaReturnType));
    const std::vector<std::string> lines = fileLines(efilePath());
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[6], "S FD");
    EXPECT_EQ(lines[7], "D SYSTRTN    002 X T  ");
    EXPECT_EQ(readFile(efilePath()).find("SYPCRTN"), std::string::npos);
}

// An earlier file that the merge cannot extend, or a temporary file that
// cannot be made, is refused with the earlier file left as it was.
TEST_F(FrameTest, EarlierFileThatCannotBeMergedIsLeftAsItWas) {
    const std::string earlier = readFile(kData + "earlier-state.txt");
    struct Row {
        const char* what;
        std::string content;
        bool temporaryIsDirectory;
    };
    const Row rows[] = {
        {"no V line", "Y 2018\r\nS AL\r\nS FD\r\nD AL40       001 X T  \r\n", false},
        {"no S FD line", "Y 2018\r\nV FD: HOST AL: 1\r\nS AL\r\nD AL40       001 X T  \r\n", false},
        {"S FD before V", "S FD\r\nV FD: HOST AL: 1\r\n", false},
        {"temporary name taken by a directory", earlier, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(efilePath() + ".tmp");
        writeFile("GA-efile.txt", row.content);
        if (row.temporaryIsDirectory) fs::create_directories(efilePath() + ".tmp/keep");
        EXPECT_FALSE(writer->writeTifFile(2, DataMgmt::kGeorgiaReturnType));
        EXPECT_EQ(readFile(efilePath()), row.content);
    }
}

// A write that fails midway, once the header is written, leaves the earlier
// file byte for byte, whether it was to be written anew or merged into.
TEST_F(FrameTest, AWriteThatFailsMidwayLeavesTheEarlierFile) {
    const std::string earlier = readFile(kData + "earlier-state.txt");
    countingEngine->fails = true;
    for (const std::uint8_t sequence : {1, 2}) {
        SCOPED_TRACE(static_cast<int>(sequence));
        writeFile("GA-efile.txt", earlier);
        EXPECT_THROW(writer->writeTifFile(sequence, DataMgmt::kGeorgiaReturnType), Exceptions::QuarloException);
        EXPECT_EQ(readFile(efilePath()), earlier);
        std::vector<std::string> files;
        for (const auto& e : fs::directory_iterator(dir)) files.push_back(e.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"GA-efile.txt", "federal.txt"})) << "a temporary file was left";
    }
}

TEST_F(FrameTest, AWriterDestroyedMidwayLeavesTheEarlierFile) {
    writeFile("GA-efile.txt", "EARLIER\r\n");
    ASSERT_TRUE(writer->tifFile.open(efilePath()));
    writer->tifFile.putPCLine("D GA70       001 X T X");
    writer.reset();
    EXPECT_EQ(readFile(efilePath()), "EARLIER\r\n");
}

TEST_F(FrameTest, RecordLinesNumberAndNameTheRecord) {
    ASSERT_TRUE(writer->tifFile.open(efilePath()));
    writer->inStateReturnRecord = true;
    writer->tifFieldDescriptors = DataMgmt::TifFieldDescriptorListPtr(new DataMgmt::TifFieldDescriptorList{
        {kGAForm70ID, FieldId(6), "00005.000.001", "GA70 X", DataMgmt::TifCleaning::None, 0}});
    for (unsigned short n : {7, 12, 1234}) writer->outputFormRecordLine(kGAForm70ID, n);
    writer->tifFieldDescriptors->front().attributes = "DUMMYHDR 0";
    writer->clearCallLog();
    writer->outputFormRecordLine(kGAForm70ID, 5);
    ASSERT_EQ(writer->callLog().size(), 1u);  // the value set is still flushed
    EXPECT_EQ(writer->callLog()[0].kind, TifWriteMgmt::TifFileWriter::TifCall::Kind::ValueSet);
    writer->tifFile.close();
    EXPECT_EQ(fileLines(efilePath()), (std::vector<std::string>{"D GA70       007 X T X", "D GA70       012 X T X",
                                                                "D GA70       1234 X T X"}));
    EXPECT_FALSE(writer->isInStateReturnRecord());
}

TEST_F(FrameTest, ValuesAreFormattedByTheirCode) {
    struct Row {
        std::uint8_t code;
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {'F', "1234.50", "1235"}, {'F', "-2.5", "-3"},      {0xAA, "0.49", ""},
        {'F', "-0.4", ""},        {'F', "12", "12"},        {'M', "7.5", "0.0750"},
        {' ', "100", "1.0000"},   {'N', "7.5", "0.075000"}, {'M', "", ""},
        {'H', "12.34", "12.34"},  {0, "abc", "abc"},
    };
    for (const Row& row : rows) {
        std::string value = row.in;
        writer->tifFormatValue(value, row.code);
        EXPECT_EQ(value, row.out) << "code " << int(row.code) << " on " << row.in;
    }
}

TEST(EFileHelpers, LeadingZerosAndCopyNames) {
    for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"00120", "120"}, {"007", "7"}, {"0", "0"}, {"0000", "0000"}, {"120", "120"}, {"", ""}}) {
        std::string text = in;
        StateTifWriteMgmt::stripLeadingZeros(text);
        EXPECT_EQ(text, out) << in;
    }
    EXPECT_EQ(StateTifWriteMgmt::formatFormCopyName("Form", 3, ""), "Form 3");
    EXPECT_EQ(StateTifWriteMgmt::formatFormCopyName("Form", 3, "X"), "Form 3 X");
}

// Form 72 is written whatever its print flag, which it gets back afterwards.
TEST_F(FrameTest, Form72IsWrittenAndItsPrintFlagGivenBack) {
    listPrinter->forms = StateTaxFormPrintMgmt::FormIdList{kGAForm72ID};
    for (const bool before : {false, true}) {
        SCOPED_TRACE(before);
        gaCopy(kGAForm72ID)->setCalculatedFlag(before);
        ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
        EXPECT_NE(readFile(efilePath()).find("D GA72       001 X T  \r\n"), std::string::npos);
        EXPECT_EQ(ga->getForm(kGAForm72ID, 1)->calculatedFlag(), before);
    }
}

// A form the calculation takes from copy 1 alone (form 189217) has copy 1
// written alone, whatever the further copies' flags.
TEST_F(FrameTest, PrintFlaggedCopiesAloneTakeRecordsAndNumbers) {
    listPrinter->forms = StateTaxFormPrintMgmt::FormIdList{kGAForm189218ID, kGAForm189217ID};
    for (std::uint16_t copy : {1, 2, 3}) gaCopy(kGAForm189218ID, copy)->setCalculatedFlag(copy != 2);
    for (std::uint16_t copy : {1, 2}) gaCopy(kGAForm189217ID, copy)->setCalculatedFlag(true);
    setText(gaCopy(kGAForm189218ID, 3), FieldId(190506), "third");
    ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
    const std::string text = readFile(efilePath());
    EXPECT_NE(text.find("D GA189218   001 X T  \r\n"), std::string::npos);
    EXPECT_NE(text.find("D GA189218   002 X T  \r\n00005.000.001 THIRD\r\n"), std::string::npos);
    EXPECT_EQ(text.find("D GA189218   003"), std::string::npos);
    EXPECT_NE(text.find("D GA189217   001 X T  \r\n"), std::string::npos);
    EXPECT_EQ(text.find("D GA189217   002"), std::string::npos);
}

// The e-file holds printable ASCII alone, whatever a line is written from:
// a character without a plain letter is left out, and kept as a wrong entry
// of each copy whose field holds it (the header's line T is form F92's).
TEST_F(FrameTest, TheFileHoldsPrintableAsciiAndNamesEachCopyLeftShort) {
    listPrinter->forms = StateTaxFormPrintMgmt::FormIdList{kGAForm73ID};
    const struct {
        const char* what;
        FormId form;
        FieldId field;
        std::string value;
        std::vector<std::uint16_t> copies;
    } rows[] = {
        {"no-break space", kForm92ID, FieldId(7), "400\u00a000\u00a01234", {1}},
        {"full-width digits", kForm92ID, FieldId(7), "\uff14\uff10\uff10\uff10\uff10\uff11\uff12\uff13\uff14", {1}},
        {"byte-order mark", kForm92ID, FieldId(7), "\ufeff400001234", {1}},
        {"two copies of form 73", kGAForm73ID, FieldId(138855), "A\u00a0L", {1, 2}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const std::uint16_t copy : row.copies) {
            const auto held = row.form.isState() ? gaCopy(row.form, copy) : fedCopy(row.form, copy);
            held->setCalculatedFlag(true);
            setText(held, row.field, row.value);
        }
        ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
        const std::string text = readFile(efilePath());
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= 0x20 && c <= 0x7E) || c == '\r' || c == '\n';
        })) << text;
        std::vector<std::uint16_t> named;
        for (const auto& wrong : writer->wrongEntries()) {
            if (wrong.form == row.form && wrong.field == row.field && wrong.fault.rfind("holds U+", 0) == 0) {
                named.push_back(wrong.copy);
            }
        }
        EXPECT_EQ(named, row.copies);
        setText(fedCopy(kForm92ID), FieldId(7), "Smith");
    }
}

// The e-file writes one number for each filer, the federal return's (of the
// main form filed): a Georgia form's number that is another, whole or inside
// a voucher's scan line, is a wrong entry of its field, named by the number
// it carries.
TEST_F(FrameTest, EveryFilersNumberWrittenIsTheFederalReturns) {
    const std::string scanLine = "5250040000123471809212000000000000000750000017700";
    const struct {
        const char* what;
        FormId form;
        FieldId field;
        std::string value;
        const char* named;       // the number named; none when it agrees
        bool form1040A = false;  // filed on form 1040A, whose number is 400005555
    } rows[] = {
        {"form 77's number", kGAForm77ID, kForm77Lines.voucher.number, "400009999", "400009999"},
        {"form 77's scan line", kGAForm77ID, kForm77Lines.voucher.scanLine, "52500400009999" + scanLine.substr(14),
         "400009999"},
        {"form 77's scan line agreeing", kGAForm77ID, kForm77Lines.voucher.scanLine, scanLine, nullptr},
        {"form 187982's scan line", kGAForm187982ID, kForm187982Lines.voucher.scanLine,
         "02300400009999" + scanLine.substr(14), "400009999"},
        {"form 75's scan line", kGAForm75ID, kForm75Lines.voucher.scanLine, "50000400009999" + scanLine.substr(14),
         "400009999"},
        {"a scan line too short for a number", kGAForm77ID, kForm77Lines.voucher.scanLine, "52500400001",
         "52500400001"},
        {"form 1040's number on a form 1040A return", kGAForm77ID, kForm77Lines.voucher.number, "400001234",
         "400001234", true},
        {"form 1040A's number on its return", kGAForm77ID, kForm77Lines.voucher.number, "400005555", nullptr, true},
    };
    setText(fedCopy(kForm1ID), kForm1Lines.heading[FederalMainFormLines::kTaxpayerNumber], "400001234");
    setText(fedCopy(kForm55ID), kForm55Lines.heading[FederalMainFormLines::kTaxpayerNumber], "400005555");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        setBox(gaCopy(kGAForm69ID), kForm69Lines.heading.filedForm55, row.form1040A);
        for (const FormId& form : {kGAForm75ID, kGAForm77ID, kGAForm187982ID}) ga->deleteForm(form, 1);
        listPrinter->forms = StateTaxFormPrintMgmt::FormIdList{row.form};
        const auto held = gaCopy(row.form);
        held->setCalculatedFlag(true);
        setText(held, row.field, row.value);
        ASSERT_TRUE(writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType));
        std::vector<std::string> named;
        for (const auto& wrong : writer->wrongEntries()) {
            if (wrong.form == row.form && wrong.field == row.field) named.push_back(wrong.value);
        }
        EXPECT_EQ(named, row.named ? std::vector<std::string>{row.named} : std::vector<std::string>{});
    }
}

TEST_F(FrameTest, ConstructionRefusesObjectsOfOtherClasses) {
    auto* gaReturn = static_cast<GADataMgmt::GATaxReturn*>(ga.get());
    TaxFormPrintMgmt::TaxFormPrinterPtr plainPrinter(new TaxFormPrintMgmt::TaxFormPrinter(gaReturn));
    DataMgmt::TaxReturnPtr plainState(new StateDataMgmt::PlainStateTaxReturn(federal, definitions().georgia, pool));
    const AuditMgmt::TaxFormAuditorPtr noAuditor;
    EXPECT_THROW(TestWriter(federal, ga, engine, plainPrinter, noAuditor, cfg), Exceptions::QuarloException);
    EXPECT_THROW(TestWriter(federal, ga, CalculationMgmt::TaxReturnCalcEnginePtr(), printer, noAuditor, cfg),
                 Exceptions::QuarloException);
    EXPECT_THROW(TestWriter(federal, plainState, engine, printer, noAuditor, cfg), Exceptions::QuarloException);
    EXPECT_THROW(TestWriter(DataMgmt::TaxReturnPtr(), ga, engine, printer, noAuditor, cfg),
                 Exceptions::QuarloException);
}

}  // namespace
}  // namespace efiletest
