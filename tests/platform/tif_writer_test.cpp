// The host's e-file writer base (record conversion, line primitives,
// cleaners), the e-file lists of the form definitions and the PDF register.
#include <fstream>
#include <optional>
#include <tuple>

#include "platform/definitions/FormDefinitions.h"
#include "platform/framework/PdfAttach.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TifFileWriter.h"
#include "platform/util/PlainText.h"
#include "tests/platform/store_fixture.h"
#include "tests/support/ScratchDir.h"

namespace storetest {
namespace {

using TifWriteMgmt::FieldId;
using TifWriteMgmt::FormId;

// A writer whose slots write each field as the base hands it over, marking
// the cleaning each value went through.
class LineWriter : public TifWriteMgmt::TifFileWriter {
public:
    using TifFileWriter::LineSource;
    using TifFileWriter::tifFieldDescriptors;
    using TifFileWriter::tifFile;
    using TifFileWriter::TifFileWriter;
    std::vector<std::string> records;

    bool writeTifFile(std::uint8_t, DataMgmt::TaxReturnType) override { return true; }
    void outputTifHeader() override {}
    void convertTifField(DataMgmt::TaxFormPtr, const FormId&, std::uint16_t copy, const FieldId&, std::string& key,
                         std::string& value) override {
        outputTifLineMixedCase(key, value + "@" + std::to_string(copy), false);
    }
    void outputFormRecordLine(const FormId& form, unsigned short n) override {
        records.push_back(std::to_string(form.getNumber()) + "/" + std::to_string(n));
    }
    void convertTifForms(const FormId&) override {}
    std::string& tifFormatValue(std::string& v, std::uint8_t code) override {
        return v += "|fmt" + std::to_string(code);
    }
    void tifStringCleanDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string& v) override {
        v += "|str";
    }
    void tifCleanNameStringDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string& v) override {
        v += "|name";
    }
    void tifCleanAddressStringDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string& v) override {
        v += "|addr";
    }
    void tifReformatDateDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string& v) override {
        v += "|date";
    }
    void tifNoCleanDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string&) override {}
    void tifCleanByEditCodeDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string& v) override {
        v += "|edit";
    }
    void tifReformatPhoneDispatch(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, std::string& v) override {
        v += "|phone";
    }
    void convertMainFormField(DataMgmt::TaxFormPtr, const FormId&, std::uint16_t, FieldId, const std::string&,
                              std::string&, bool*, bool*) override {}
    void writeTaxPeriodLines(DataMgmt::TaxFormPtr, const FormId&, std::uint16_t, FieldId, const std::string&,
                             std::string&) override {}
};

class TifWriterTest : public testsupport::ScratchDirTest {
protected:
    TifWriterTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(federalDesc(), pool)),
          georgia(new TestStateReturn(federal, georgiaDesc(), pool)) {}
    DataMgmt::TaxFormPtr ga70() { return georgia->getFormUVPtr(kGA70, 1, true); }

    void SetUp() override {
        ScratchDirTest::SetUp();
        cfg = DataMgmt::QuarloConfiguration::getInstance();
        cfg->eFileDir = dir + "/";
        writer = std::make_unique<LineWriter>(federal, georgia, engine, printer, auditor, cfg);
        ASSERT_TRUE(writer->tifFile.open(path("out.txt")));
    }
    void TearDown() override {
        writer.reset();
        cfg->resetToDefaults();
        ScratchDirTest::TearDown();
    }
    std::string written() {
        writer->tifFile.close();
        return readFile(path("out.txt"));
    }
    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr georgia;
    CalculationMgmt::TaxReturnCalcEnginePtr engine;
    TaxFormPrintMgmt::TaxFormPrinterPtr printer;
    AuditMgmt::TaxFormAuditorPtr auditor;
    DataMgmt::QuarloConfiguration* cfg = nullptr;
    std::unique_ptr<LineWriter> writer;
};

TEST_F(TifWriterTest, LinePrimitivesWriteOneLineEachAndLogEveryCall) {
    ga70()->setValue(FieldID(44), DataMgmt::FieldValue::text("b"));
    writer->outputTifSubHead("GAHASHTBL", 2, false);
    writer->outputTifLine("00005.000.001", "abc", false);
    writer->outputTifLine("00010.000.001", "", true);  // no line for an empty value
    writer->outputTifLineMixedCase("00015.000.001", "OnlineFiler", false);
    writer->outputTifLine("00020.000.001", std::int64_t{-42}, false);
    writer->outputTifLine("00025.000.001", kGA70, 1, FieldID(44), false);
    writer->outputTifLineCB("00030.000.001", kGA70, 1, FieldID(30), "yes", false);  // box not marked
    ga70()->setX(FieldID(30));
    writer->outputTifLineCB("00035.000.001", kGA70, 1, FieldID(30), "yes", false);
    writer->outputTifSubHead("GAGAPDFFRM", 1234, true);
    EXPECT_EQ(written(),
              "D GAHASHTBL  002 X T  \r\n00005.000.001 ABC\r\n00015.000.001 OnlineFiler\r\n00020.000.001 -42\r\n"
              "00025.000.001 B\r\n00035.000.001 YES\r\nD GAGAPDFFRM 1234 X T 1\r\n");
    EXPECT_EQ(writer->callLog().size(), 8u);
    EXPECT_EQ(writer->callLog()[2].value, "");
}

// A line carries printable ASCII only: a letter with a mark as its plain
// letter, upper-cased after; a character without one is left out and is a
// wrong entry of the field the line is written from.
TEST_F(TifWriterTest, LinesCarryPlainLettersAndKeepWhatHasNoneAsWrongEntries) {
    const struct {
        std::string in, out;
        std::optional<char32_t> leftOut;
    } rows[] = {
        {"Jos\u00e9 \u00c6sa \u0142\u017f\u00df", "JOSE AESA LSSS", {}},
        {"\u00bfX", "X", 0xBF},  // before and after the letters made plain
        {"X\u0180", "X", 0x180},
        {"a\u00d7b", "AB", 0xD7},
        {"45\u00a0Elm", "45ELM", 0xA0},
        {"\ufeffAnn", "ANN", 0xFEFF},
        {"A\u2028B", "AB", 0x2028},
        {"A\nB", "AB", 0x0A},
        {"A\xff"
         "B",
         "AB", 0xFF},          // not UTF-8
        {"A\xc3", "A", 0xC3},  // cut short
        {"A\xc0\xaf"
         "B",
         "AB", 0xC0},                  // overlong
        {"A\xed\xa0\x80", "A", 0xED},  // a surrogate
    };
    for (const auto& row : rows) {
        const Utils::PlainText plain = Utils::plainText(row.in);
        EXPECT_EQ(plain.leftOut, row.leftOut) << row.in;
        const LineWriter::LineSource source(*writer, kGA70, 2, FieldID(44));
        writer->outputTifLine("00005.000.001", " " + row.in + " ", false);
    }
    std::string expected;
    for (const auto& row : rows) expected += "00005.000.001 " + row.out + "\r\n";
    EXPECT_EQ(written(), expected);
    // One entry for each value of the field, the first character named.
    ASSERT_EQ(writer->wrongEntries().size(), std::size(rows) - 1);
    const auto& first = writer->wrongEntries().front();
    EXPECT_EQ(std::tuple(first.form, first.copy, first.field.getNumber(), first.value, first.fault),
              std::tuple(kGA70, std::uint16_t{2}, 44, " \u00bfX ",
                         std::string("holds U+00BF, which has no plain letter the e-file can carry")));
}

TEST_F(TifWriterTest, ConvertingACopyReadsCleansAndHandsOverEveryDescriptor) {
    using DataMgmt::TifCleaning;
    const auto st2 = georgia->getFormUVPtr(kST2, 2, true);
    st2->setValue(FieldID(1), DataMgmt::FieldValue::number(5));
    st2->setValue(FieldID(3), DataMgmt::FieldValue::text("Pay\u00a0er"));  // left out before the cleaning
    federal->getFormUVPtr(kF1, 1, true)->setValue(FieldID(6), DataMgmt::FieldValue::text("fed"));
    writer->tifFieldDescriptors = DataMgmt::TifFieldDescriptorListPtr(new DataMgmt::TifFieldDescriptorList{
        {kST2, FieldID(1), "00005.000.001", "ST2 0", TifCleaning::EditCode, 0},
        {kST2, FieldID(3), "00010.000.001", "ST2 0", TifCleaning::Name, 0},
        {kF1, FieldID(6), "00015.000.001", "ST2 0", TifCleaning::Format, 'F'},
        {kST2, FieldID(2), "00020.000.001", "ST2 0", TifCleaning::Phone, 0},
    });
    writer->convertTIFForm(true, kST2, 2, st2, 7);
    EXPECT_EQ(writer->records, std::vector<std::string>{"2/7"});
    EXPECT_EQ(written(),
              "00005.000.001 5|edit@2\r\n00010.000.001 Payer|name@2\r\n00015.000.001 fed|fmt70@1\r\n"
              "00020.000.001 |phone@2\r\n");
    ASSERT_EQ(writer->wrongEntries().size(), 1u);
    EXPECT_EQ(std::tuple(writer->wrongEntries()[0].field.getNumber(), writer->wrongEntries()[0].value),
              std::tuple(3, std::string("Pay\u00a0er")));
}

TEST_F(TifWriterTest, CleanersRewriteInPlace) {
    struct Row {
        void (*clean)(std::string&);
        const char* in;
        const char* out;
    };
    const auto percent4 = [](std::string& v) { TifWriteMgmt::TifFileWriter::tifConvertPercentToDecimal(v, 4, 0); };
    const Row rows[] = {
        {&TifWriteMgmt::TifFileWriter::tifStringClean, "  a\tb \x01 c  ", "a b c"},
        {&TifWriteMgmt::TifFileWriter::tifReformatDate, "3/5/2018", "2018-03-05"},
        {&TifWriteMgmt::TifFileWriter::tifReformatDate, "soon", ""},
        {&TifWriteMgmt::TifFileWriter::tifReformatPhone, "(404) 555-0100", "4045550100"},
        {percent4, "7.5", "0.0750"},
        {percent4, "", ""},
        {percent4, "n/a", "n/a"},
    };
    for (const Row& row : rows) {
        std::string value = row.in;
        row.clean(value);
        EXPECT_EQ(value, row.out) << row.in;
    }
}

TEST_F(TifWriterTest, EFileNamesFollowTheReturnType) {
    cfg->federalEFilePath = "/fed/return.txt";
    EXPECT_EQ(writer->getTifFileSpec(DataMgmt::kGeorgiaReturnType)->getPath(), dir + "/GA-efile.txt");
    EXPECT_EQ(writer->getTifFileSpec(DataMgmt::kFederalReturnType)->getPath(), dir + "/US-efile.txt");
    EXPECT_EQ(writer->getTifFileSpec(DataMgmt::kFederalReturnType, 1)->getPath(), "/fed/return.txt");
}

// ------------------------------------------------------------ e-file lists

TEST(TifDescriptorLists, DefaultListFollowsTheFormsFieldsAndKinds) {
    const DataMgmt::TaxReturnDescPtr desc = georgiaDesc();
    const DataMgmt::TifFieldDescriptorListPtr list = desc->getTifFieldDescriptors(kST2);
    ASSERT_EQ(list->size(), 4u);
    EXPECT_EQ((*list)[0].key, "00005.000.001");
    EXPECT_EQ((*list)[3].key, "00020.000.001");
    EXPECT_EQ((*list)[0].attributes, "ST2 0");
    EXPECT_EQ((*list)[0].cleaning, DataMgmt::TifCleaning::EditCode);
    EXPECT_EQ((*list)[2].cleaning, DataMgmt::TifCleaning::String);
    EXPECT_EQ((*list)[3].cleaning, DataMgmt::TifCleaning::None);
    EXPECT_TRUE(desc->getTifFieldDescriptors(FormID(999, true))->empty());
}

class TifListFileTest : public testsupport::ScratchDirTest {
protected:
    FormDefinitions::Library load(const std::string& efile) {
        writeFile("forms.def",
                  "form 131 federal F131\nfields 1-3\nend\nform 92 federal F92\nfield 7 kind=T\nend\n"
                  "form 70 state GA70\nfields 1-4\nfield 9 kind=D\nend\n");
        writeFile("efile.def", efile);
        return FormDefinitions::loadDirectory(dir);
    }
};

TEST_F(TifListFileTest, ListsNameTheirRecordsAndFieldsOfOtherForms) {
    const FormDefinitions::Library lib = load(
        "efile F131 record=SYPCRTN\nentry F131 2 key=\"00070.000 001\"\nentry F92 7 key=\"00100.000 001\" "
        "clean=name\nend\nefile GA70 last=2 flag=X\nend\n");
    const auto office = lib.federal->getTifFieldDescriptors(FormID(131));
    ASSERT_EQ(office->size(), 2u);
    EXPECT_EQ((*office)[1].form, FormID(92));
    EXPECT_EQ((*office)[1].cleaning, DataMgmt::TifCleaning::Name);
    EXPECT_EQ((*office)[0].attributes, "SYPCRTN 0");
    const auto main = lib.georgia->getTifFieldDescriptors(FormID(70, true));
    ASSERT_EQ(main->size(), 5u);
    EXPECT_EQ(main->back().field, FieldID(2));
    EXPECT_EQ(main->back().key, "00010.000.001");
    EXPECT_EQ((*main)[3].cleaning, DataMgmt::TifCleaning::Date);
    EXPECT_EQ((*main)[0].attributes, "GA70 X");
}

TEST_F(TifListFileTest, MistakesAreRefusedWithTheirLine) {
    const std::pair<const char*, const char*> rows[] = {
        {"efile F999\nend\n", "efile.def:1: e-file list of unknown form F999"},
        {"efile F131\nentry F92 8 key=\"00100.000 001\"\nend\n", "efile.def:2: form F92 has no field 8"},
        {"efile F131\nentry F131 1 key=\"0010.000 001\"\nend\n", "efile.def:2: key"},
        {"efile F131\nentry F131 1\nend\n", "efile.def:2: entry has no key"},
        {"efile GA70 last=77\nend\n", "efile.def:1: last field 77"},
        {"efile GA70\nend\nefile GA70\nend\n", "efile.def:3: e-file list of GA70 is given twice"},
        {"efile GA70\n", "efile.def:1: e-file list of GA70 is not closed"},
        {"entry F131 1 key=\"00100.000 001\"\n", "efile.def:1: entry outside an e-file list"},
        {"efile F131\nentry F131 1 key=\"00100.000 001\" clean=shiny\nend\n", "cleaning \"shiny\""},
    };
    for (const auto& [text, message] : rows) {
        EXPECT_QUARLO_THROW(load(text), message);
    }
}

// ------------------------------------------------------------ PDF register

TEST(PdfAttachRegister, RegistrationsProjectIntoLocalitiesAndExternalAttachments) {
    DataMgmt::PdfAttachMgr pdfs;
    const auto ga = DataMgmt::kGeorgiaReturnType;
    const auto other = DataMgmt::TaxReturnType{20};
    EXPECT_FALSE(pdfs.hasIntTaxReturn(ga));
    pdfs.setPdfIntFormIdToUseForEntire(ga, ga, kGA70);  // a setting only: nothing to list
    EXPECT_FALSE(pdfs.hasIntTaxReturn(ga));
    pdfs.setAttachIntEntireReturn(ga, other, true);
    pdfs.setPdfIntNameToUseForEntire(ga, other, "ALReturnFor_GA.pdf");
    pdfs.setHashTablePdfIdToUseForEntire(ga, other, "ELOSTCALRETURNFORGA");
    pdfs.addPdfExtFileDescription(ga, "IT-PFC", "ITPFC.pdf", "ELGAITPFCPDF");
    EXPECT_TRUE(pdfs.hasIntTaxReturn(ga));
    EXPECT_TRUE(pdfs.hasExtTaxReturn(ga));
    EXPECT_FALSE(pdfs.hasExtTaxReturn(other));
    auto localities = pdfs.getPdfIntLocalities(ga);
    ASSERT_FALSE(localities.atEOL());
    EXPECT_TRUE(localities.getMefPdfIntAttachLocality().getPdfIntEntireReturn().atEOL());
    localities.next();
    auto forms = localities.getMefPdfIntAttachLocality().getPdfIntEntireReturn();
    ASSERT_FALSE(forms.atEOL());
    EXPECT_EQ(forms.getMefPdfIntForm().getElementID(), "ELOSTCALRETURNFORGA");
    EXPECT_EQ(forms.getMefPdfIntForm().getPdfName(), "ALReturnFor_GA.pdf");
    EXPECT_EQ(pdfs.calls().size(), 5u);
    EXPECT_EQ(pdfs.calls()[0].arguments, (std::vector<std::string>{"12", "12", "70"}));
}

}  // namespace
}  // namespace storetest
