// The host's e-file writer base, TifWriteMgmt::TifFileWriter.
//
// A state module derives its e-file writer from this class and fills its
// slots. The base keeps the returns, the calculation engine, the printer and
// the configuration it was built with, owns the e-file's line writer, and
// supplies the descriptor-driven conversion of one form copy into one record
// (convertTIFForm), the line primitives and the value cleaners.
//
// Line layout (what the writers rely on):
//   - a key-value line is the key, one blank and the value, ended by CR LF;
//     the plain outputTifLine variants write the value in upper case, the
//     ...MixedCase variant as given; an empty value writes no line;
//   - a value is written without blanks at either end, and with only the
//     characters the e-file takes (platform/util/PlainText.h): a letter with
//     a mark as its plain letter, a character without one left out and kept
//     as a wrong entry (wrongEntries) of the field the line is written from;
//   - a sub-head is a record line: "D ", the name padded with blanks to 10
//     characters, a blank, the number in at least three digits padded with
//     '0', " X T " and the flag character (blank for false, "1" for true);
//   - every primitive writes its line at once, so lines that a writer puts
//     with the file writer itself land between the lines around them.
// Every primitive call is also kept in a call log (kind, key, value, flag),
// empty values included, so that a test can follow the sequence of calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Configuration.h"
#include "platform/Primitives.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/FederalEFile.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/util/IOMgmt.h"

namespace AuditMgmt {
class TaxFormAuditorPtr;
}  // namespace AuditMgmt

namespace TifWriteMgmt {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

class TifFileWriter {
public:
    // One call of a line primitive.
    struct TifCall {
        enum class Kind { SubHead, Line, ValueSet };
        Kind kind;
        std::string key;    // the sub-head's name for a sub-head
        std::string value;  // as given (before upper-casing); the number for a sub-head
        bool flag;
    };

    // Keeps copies of the handles and the configuration pointer.
    TifFileWriter(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnPtr& state,
                  CalculationMgmt::TaxReturnCalcEnginePtr& engine, TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                  AuditMgmt::TaxFormAuditorPtr& auditor, DataMgmt::QuarloConfiguration*& configuration);
    // A writer destroyed with its e-file still open never finished it: its
    // line writer drops what it staged, and the earlier e-file stays.
    virtual ~TifFileWriter();

    TifFileWriter(const TifFileWriter&) = delete;
    TifFileWriter& operator=(const TifFileWriter&) = delete;

    // ---- slots, in the host's order; the writer layers fill them
    virtual bool writeTifFile(std::uint8_t sequence, DataMgmt::TaxReturnType type) = 0;
    virtual void outputTifHeader() = 0;
    virtual void convertTifField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber,
                                 const FieldId& field, std::string& key, std::string& value) = 0;
    virtual void outputFormRecordLine(const FormId& form, unsigned short number) = 0;
    virtual void convertTifForms(const FormId& form) = 0;
    virtual std::string& tifFormatValue(std::string& value, std::uint8_t code) = 0;
    virtual void tifStringCleanDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                        std::string& value) = 0;
    virtual void tifCleanNameStringDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                            std::string& value) = 0;
    virtual void tifCleanAddressStringDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                               std::string& value) = 0;
    virtual void tifReformatDateDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                         std::string& value) = 0;
    virtual void tifNoCleanDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                    std::string& value) = 0;
    virtual void tifCleanByEditCodeDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                            std::string& value) = 0;
    virtual void tifReformatPhoneDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                          std::string& value) = 0;
    // Keeps letters, digits and blanks.
    virtual void tifCleanAllAlphaSpaceStringDispatch(DataMgmt::TaxFormPtr copy, const FormId& form,
                                                     const FieldId& field, std::string& value);
    virtual void convertMainFormField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber,
                                      FieldId field, const std::string& key, std::string& value, bool* keepLine,
                                      bool* lineFlag) = 0;
    // The state return's abbreviation ("GA").
    virtual void tifGetStateID(std::string& out);
    virtual void writeTaxPeriodLines(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber,
                                     FieldId field, const std::string& key, std::string& value) = 0;

    // ---- files
    // The e-file of a return type: "<abbreviation>-efile.txt" in the
    // configured e-file directory ("GA-efile.txt" for the Georgia return,
    // "US-efile.txt" for the federal one, "type<N>-efile.txt" for another
    // type). The federal type with variant 1 names the federal return's own
    // e-file, the configured federalEFilePath (an empty name when none is
    // configured).
    IOMgmt::FileNamePtr getTifFileSpec(DataMgmt::TaxReturnType type, int variant = 0) const;
    // The file name of a return's e-file: "<abbreviation>-efile.txt".
    static std::string eFileName(const std::string& abbreviation);
    // Why the e-file's line writer failed ("cannot write the temporary
    // file: No space left on device"); empty while none of its steps did.
    const std::string& tifFileProblem() const { return tifFile.problem(); }

    // ---- the federal return's e-file
    // The copy of the federal e-file that the host read and checked: the
    // writer copies the federal data block from it and does not open the
    // file again, so what the e-file carries is what was checked.
    void setFederalEFile(FederalEFile copy) { federalEFile_ = std::move(copy); }
    // The federal e-file whose block ends the e-file: the host's copy; when
    // the host gave none, the configured federal e-file (getTifFileSpec of
    // the federal type, variant 1), read and checked at the first call; null
    // when none is configured. Throws Exceptions::QuarloException naming the
    // file and the fault when the configured file cannot be used: an e-file
    // is not written without the block of the federal e-file it names.
    const FederalEFile* federalEFile();

    // ---- conversion of one copy into one record
    // Calls outputFormRecordLine(form, runningNumber), then for each
    // descriptor of the current list, in order: reads the value (from the
    // given copy for a descriptor of this form, else from copy 1 of the
    // descriptor's form in the return its state flag selects), cleans it as
    // the descriptor says, and hands it with a writable copy of the key to
    // convertTifField, which writes the line. The first argument is the
    // host's and does not steer the conversion.
    void convertTIFForm(bool notForm131, const FormId& form, std::uint16_t copyNumber, DataMgmt::TaxFormPtr copy,
                        unsigned short runningNumber);

    // ---- the e-file form of a value
    // The one spelling of a text field's value (its letters made plain)
    // that every line carrying it writes, by what the field holds: a date as
    // YYYY-MM-DD; a number kept as written as its digits; a name as its
    // letters, digits, '-' and '&', an address as its letters, digits, '-'
    // and '/' (the e-file's names and addresses take no other sign); blanks
    // between words single and none at either end. Empty for a value the
    // e-file cannot carry.
    static std::string eFileText(const DataMgmt::FormFieldDesc& field, const std::string& text);

    // ---- line primitives (see the layout above)
    // The value set of the record in progress: lines are written at once, so
    // this only marks the end of a record in the call log.
    void outputValueSet();
    void outputTifSubHead(const std::string& name, std::uint16_t number, bool flag);
    void outputTifLine(const std::string& key, const std::string& text, bool flag);
    void outputTifLine(const std::string& key, std::int64_t number, bool flag);
    // The field's value from the return the form's state flag selects, a
    // text in its e-file form (eFileValue).
    void outputTifLine(const std::string& key, const FormId& form, std::uint16_t copy, const FieldId& field, bool flag);
    void outputTifLineMixedCase(const std::string& key, const std::string& text, bool flag);
    // The text when the box is marked yes (formYes), else nothing.
    void outputTifLineCB(const std::string& key, const FormId& form, std::uint16_t copy, const FieldId& field,
                         const std::string& text, bool flag);

    // ---- cleaners, each in place
    // Control characters go, tabs and line ends become blanks, runs of
    // blanks shrink to one and blanks at both ends go.
    static void tifStringClean(std::string& value);
    static void tifCleanAddressString(std::string& value);  // Utils::tifCleanAddressString
    // A date becomes YYYY-MM-DD; a text that is not a date becomes empty.
    static void tifReformatDate(std::string& value);
    static void tifReformatPhone(std::string& value);  // digits only
    // A number becomes itself divided by 100, written with `digits`
    // decimals; an empty text or one that is not a number stays as it is.
    static void tifConvertPercentToDecimal(std::string& value, int digits, int unused);

    // ---- the configured office numbers
    void tifGetDistrictNum(std::string& out) const;
    void tifGetOfficeNum(std::string& out) const;
    void tifGetServiceCenter(std::string& out) const;

    // An entry that the e-file cannot carry as it is. One for each field and
    // fault, in the order written.
    using WrongEntry = StateDataMgmt::EFileWrongEntry;
    const std::vector<WrongEntry>& wrongEntries() const { return wrongEntries_; }

    const std::vector<TifCall>& callLog() const { return callLog_; }
    void clearCallLog() { callLog_.clear(); }

protected:
    // The field the lines written while it lives are written from (for the
    // wrong entries); the one before it is current again after it.
    class LineSource {
    public:
        LineSource(TifFileWriter& writer, const FormId& form, std::uint16_t copy, const FieldId& field);
        ~LineSource();
        LineSource(const LineSource&) = delete;
        LineSource& operator=(const LineSource&) = delete;

    private:
        TifFileWriter& writer_;
        WrongEntry previous_;
    };
    // Keeps a wrong entry of the current line source. A value and fault kept
    // already are kept once, named by the first field written that is an
    // entry (not calculated, or overridden), else by the first written; two
    // entries of the same value are kept each.
    void recordWrongEntry(const std::string& key, const std::string& value, const std::string& fault);
    // Forgets the wrong entries of an earlier write.
    void clearWrongEntries() { wrongEntries_.clear(); }

    // The field's value as the line of this key carries it, from the return
    // the form's state flag selects: a text in its e-file form, an amount or
    // box as the store shows it. A text that the e-file cannot carry (its
    // e-file form empty, a character without a plain letter) is a wrong
    // entry of the field, so that its line is never left out unseen.
    std::string eFileValue(const FormId& form, std::uint16_t copy, const FieldId& field, const std::string& key);
    // A street and its apartment, each in its e-file form, joined by one
    // blank.
    std::string streetWithApartment(const FormId& form, std::uint16_t copy, const FieldId& street,
                                    const FieldId& apartment, const std::string& key);
    // The description of a field of the return the form's state flag
    // selects; empty when that return does not describe it.
    DataMgmt::FormFieldDescPtr fieldDescription(const FormId& form, const FieldId& field) const;

    DataMgmt::TaxReturn* federalReturn() const { return federal_.get(); }
    DataMgmt::TaxReturn* stateReturnBase() const { return state_.get(); }
    CalculationMgmt::TaxReturnCalcEngine* calcEngine() const { return engine_.get(); }
    TaxFormPrintMgmt::TaxFormPrinter* printer() const { return printer_.get(); }
    DataMgmt::QuarloConfiguration* configuration() const { return configuration_; }

    // The e-file's line writer. Every line of the e-file passes its one
    // guard: the e-file holds printable ASCII alone, so a line holding
    // another byte is written without it (a letter with a mark as its plain
    // letter) and kept as a wrong entry of the field it is written from, or
    // of the line itself ("T", "00115.000.001") when it is written from none.
    class EFileLines {
    public:
        explicit EFileLines(TifFileWriter& writer) : writer_(writer) {}
        bool open(const IOMgmt::FileNamePtr& name) { return file_.open(name); }
        bool open(const std::string& path) { return file_.open(path); }
        bool putPCLine(const std::string& line);
        bool close() { return file_.close(); }
        void discard() { file_.discard(); }
        const std::string& problem() const { return file_.problem(); }

    private:
        TifFileWriter& writer_;
        IOMgmt::FileWriter file_;
    };

    // The e-file's line writer, the descriptors of the record being written
    // and the flag handed to the engine's calculateReturn.
    EFileLines tifFile{*this};
    DataMgmt::TifFieldDescriptorListPtr tifFieldDescriptors;
    bool calcFlag = false;

private:
    void writeLine(const std::string& key, const std::string& value, bool upperCase);
    bool isEntry(const WrongEntry& e) const;
    const DataMgmt::TaxReturn* returnFor(const FormId& form) const;
    void clean(const DataMgmt::TifFieldDescriptor& d, DataMgmt::TaxFormPtr copy, std::string& value);
    // The stored value in its e-file form, for the line of this key (see
    // eFileValue); a wrong entry of a value that keeps a text is kept
    // untilWritten its line is written, as the conversion may empty it.
    std::string eFileForm(const DataMgmt::FormFieldDesc* field, const std::string& stored, const std::string& key,
                          bool untilWritten);

    DataMgmt::TaxReturnPtr federal_;
    DataMgmt::TaxReturnPtr state_;
    CalculationMgmt::TaxReturnCalcEnginePtr engine_;
    TaxFormPrintMgmt::TaxFormPrinterPtr printer_;
    DataMgmt::QuarloConfiguration* configuration_;
    std::optional<FederalEFile> federalEFile_;
    std::vector<TifCall> callLog_;
    // Its form, copy and field; the value and fault of a character left out
    // before the value was cleaned.
    WrongEntry lineSource_;
    std::vector<WrongEntry> wrongEntries_;
};

}  // namespace TifWriteMgmt
