// The conversions of the fields of federal forms 92 and 131 in the office
// record and the state return record, and the PDF sections.
#include "module/catalogues/Form131FieldIds.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "tests/output/efile_fixture.h"

namespace efiletest {
namespace {

using Kind = TifWriteMgmt::TifFileWriter::TifCall::Kind;
const auto& f92 = kForm92FieldIds;
const auto& f131 = kForm131FieldIds;

class ConversionTest : public EFileTest {
protected:
    std::string info(const FieldId& field, const std::string& value, bool stateRecord) {
        writer->inStateReturnRecord = stateRecord;
        std::string v = value;
        writer->convertReturnInfoField(field, v);
        return v;
    }
    std::string office(const FieldId& field, std::string& key, const std::string& value, bool stateRecord) {
        writer->inStateReturnRecord = stateRecord;
        std::string v = value;
        writer->convertEfileInfoField(field, key, v);
        return v;
    }
    std::string office(const FieldId& field, const std::string& value, bool stateRecord) {
        std::string key = "00100.000 001";
        return office(field, key, value, stateRecord);
    }
};

TEST_F(ConversionTest, RefundAndBalanceDueOnlyInTheStateReturnRecord) {
    const auto f70 = gaCopy(kGAForm70ID);
    setNumber(f70, kGAForm70FieldIds.f107, 120);  // a refund
    EXPECT_EQ(info(f92.f17994, "9", true), "120");
    EXPECT_EQ(info(f92.f17995, "9", true), "");
    EXPECT_EQ(info(f92.f17994, "9", false), "9");
    setNumber(f70, kGAForm70FieldIds.f107, 0);
    setNumber(f70, kGAForm70FieldIds.f106, 45);  // a balance due
    EXPECT_EQ(info(f92.f17994, "9", true), "");
    EXPECT_EQ(info(f92.f17995, "9", true), "45");
    EXPECT_EQ(info(f92.f715, "X", true), "");
    EXPECT_EQ(info(f92.f715, "X", false), "X");
    // Amounts beyond the 64-bit range change sign at the range's end.
    setNumber(f70, kGAForm70FieldIds.f106, -1e300);
    EXPECT_EQ(info(f92.f17994, "9", true), "9223372036854775807");
    setNumber(f70, kGAForm70FieldIds.f106, 0);
    setNumber(f70, kGAForm70FieldIds.f107, -1e300);
    EXPECT_EQ(info(f92.f17995, "9", true), "9223372036854775807");
}

TEST_F(ConversionTest, SpouseBankFieldsNeedAJointFederalReturn) {
    setNumber(fedCopy(kForm92ID), f92.f712, 1);
    setNumber(fedCopy(kForm92ID), f92.f711, 1);
    for (const std::int8_t status : {1, 3, 4}) {
        federal->setFilingStatusNumber(status);
        EXPECT_EQ(info(f92.f791, "12", true), "") << int(status);
    }
    federal->setFilingStatusNumber(2);
    EXPECT_EQ(info(f92.f792, "12", false), "12");
    EXPECT_EQ(info(f92.f789, "34", false), "34");
    fedCopy(kForm92ID)->setValue(f92.f711, DataMgmt::FieldValue());
    EXPECT_EQ(info(f92.f789, "34", false), "");
}

TEST_F(ConversionTest, OfficeRecordWritesThePreparerLineBeforeField80) {
    setText(fedCopy(kForm183ID), kForm183FieldIds.f158073, "p00123");
    for (const bool named : {false, true}) {
        if (named) setNumber(fedCopy(kForm92ID), f92.f158035, 1);
        writer->clearCallLog();
        EXPECT_EQ(office(f131.f80, "80", false), "80");
        EXPECT_EQ(writer->callLog().size(), named ? 1u : 0u);
    }
    EXPECT_EQ(writer->callLog()[0].key, "01115.000 001");
    EXPECT_EQ(writer->callLog()[0].value, "p00123");
    writer->clearCallLog();
    office(f131.f80, "80", true);  // not in the state return record
    EXPECT_TRUE(writer->callLog().empty());
}

TEST_F(ConversionTest, StateReturnRecordFillsOrEmptiesOfficeFields) {
    EXPECT_EQ(office(f131.f126, "", false), "D1");
    EXPECT_EQ(office(f131.f336, "", true), "SC");
    EXPECT_EQ(office(f131.f328, "", true), "GA");
    EXPECT_EQ(office(f131.f328, "XX", false), "XX");
    EXPECT_EQ(office(f131.f370, "7", true), "");
    EXPECT_EQ(office(f131.f370, "7", false), "7");
    EXPECT_EQ(office(f131.f333, "", true), "N");
    EXPECT_EQ(office(f131.f334, "", true), "N");
}

TEST_F(ConversionTest, SignatureAnswerBecomesOneOrTwo) {
    EXPECT_EQ(office(f131.f72481, "1", true), "2");  // no information form to mark
    gaCopy(kGAForm69ID);
    EXPECT_EQ(office(f131.f72481, "1", true), "1");
    EXPECT_EQ(office(f131.f72481, "3", true), "3");
    EXPECT_EQ(office(f131.f72481, "1", false), "1");
}

TEST_F(ConversionTest, BankLineKeysAreRenumberedInTheStateReturnRecordOnly) {
    struct Row {
        FieldId field;
        const char* key;
        bool stateRecord;
        const char* expected;
    };
    const Row rows[] = {
        {f131.f152846, "00600.000 001", true, "00609.000 001"}, {f131.f152847, "00600.000 002", true, "00607.001 002"},
        {f131.f152849, "00600.000 004", true, "00600.001 004"}, {f131.f152851, "00600.000 006", true, "00600.000 006"},
        {f131.f152848, "00600.000 00", true, "00600.000 00"},   {f131.f152848, "00600.000 003", false, "00600.000 003"},
    };
    for (const Row& row : rows) {
        std::string key = row.key;
        EXPECT_EQ(office(row.field, key, "123", row.stateRecord), "123");
        EXPECT_EQ(key, row.expected) << row.key;
    }
}

// ------------------------------------------------------------ PDF sections

class PdfSectionTest : public EFileTest {
protected:
    DataMgmt::PdfAttachMgr& pdfs() { return store.getPdfAttachMgr(); }
    void entire(const std::string& id, DataMgmt::TaxReturnType locality = DataMgmt::kGeorgiaReturnType) {
        pdfs().addPdfIntAttachEntire(DataMgmt::kGeorgiaReturnType, locality, DataMgmt::TaxFormDescPtr(), 1, id + ".pdf",
                                     id + " form", id);
    }
    // The call log as "kind key=value" texts.
    std::vector<std::string> written() {
        writer->clearCallLog();
        writer->outputPdfHashTable();
        std::vector<std::string> out;
        for (const auto& c : writer->callLog()) {
            out.push_back((c.kind == Kind::SubHead ? "SUB " : "") + c.key + "=" + c.value);
        }
        return out;
    }
};

TEST_F(PdfSectionTest, NothingRegisteredWritesNothing) { EXPECT_TRUE(written().empty()); }

TEST_F(PdfSectionTest, EntireReturnFormsAndAnExternalAttachment) {
    entire("F1");
    entire("");  // no element identifier: passed over, no number
    entire("F2");
    pdfs().addPdfExtFileDescription(DataMgmt::kGeorgiaReturnType, "IT-CONSV-AP", "ITCONSVAP.pdf", "ELHASH");
    EXPECT_EQ(written(), (std::vector<std::string>{
                             "SUB GAGAPDFFRM=1",
                             "00001.000 001=GAPdfForm1",
                             "00010.000 001=F1.pdf",
                             "00020.000 001=F1 form",
                             "SUB GAGAPDFFRM=2",
                             "00001.000 001=GAPdfForm2",
                             "00010.000 001=F2.pdf",
                             "00020.000 001=F2 form",
                             "SUB GAGAPDFFRM=3",
                             "00001.000 001=GAPdfForm3",
                             "00010.000 001=ITCONSVAP.pdf",
                             "00020.000 001=IT-CONSV-AP",
                             "SUB GAHASHTBL=1",
                             "00005.001 001=F1",
                             "00005.002 001=GAPdfForm1",
                             "00010.001 001=F2",
                             "00010.002 001=GAPdfForm2",
                             "00015.001 001=ELHASH",
                             "00015.002 001=GAPdfForm3",
                         }));
}

TEST_F(PdfSectionTest, TwentySixAttachmentsOpenASecondHashSubRecord) {
    for (int i = 1; i <= 26; ++i) {
        pdfs().addPdfIntAttachFile(DataMgmt::kGeorgiaReturnType, DataMgmt::kGeorgiaReturnType, kGAForm203639ID, 1,
                                   "f.pdf", "doc", i == 26 ? "" : "E" + std::to_string(i), true);
    }
    const std::vector<std::string> lines = written();
    EXPECT_EQ(lines[lines.size() - 5], "00125.001 001=E25");
    EXPECT_EQ(lines[lines.size() - 4], "00125.002 001=GAPdfForm25");
    EXPECT_EQ(lines[lines.size() - 3], "SUB GAHASHTBL=2");
    EXPECT_EQ(lines[lines.size() - 2], "00005.001 001=");  // an attached file keeps its empty identifier
    EXPECT_EQ(lines.back(), "00005.002 001=GAPdfForm26");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "SUB GAGAPDFFRM=26"), 1);
}

TEST_F(PdfSectionTest, LocalitiesAreNumberedInTurn) {
    entire("A1");
    pdfs().addPdfIntAttachFile(DataMgmt::kGeorgiaReturnType, DataMgmt::kGeorgiaReturnType, kGAForm203638ID, 1, "a.pdf",
                               "A file", "A2", true);
    entire("B1", DataMgmt::TaxReturnType{20});
    entire("A3");  // the first locality's again
    const std::vector<std::string> lines = written();
    const std::vector<std::string> hash(lines.end() - 8, lines.end());
    EXPECT_EQ(hash,
              (std::vector<std::string>{"00005.001 001=A1", "00005.002 001=GAPdfForm1", "00010.001 001=A3",
                                        "00010.002 001=GAPdfForm2", "00015.001 001=A2", "00015.002 001=GAPdfForm3",
                                        "00020.001 001=B1", "00020.002 001=GAPdfForm4"}));
}

}  // namespace
}  // namespace efiletest
