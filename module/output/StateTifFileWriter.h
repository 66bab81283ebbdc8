// The state layer of the e-file writer: the frame of the e-file text file.
//
// It decides which file is written and how a later state's return is merged
// into a file that already holds an earlier state's, writes the header lines,
// converts the form types in order (the office record and the state return
// record from federal form 131, then the printer's form types), routes every
// field of a record to its conversion, formats values by their format code,
// copies the federal return's e-file data to the end of the file, and lists
// the PDF attachments. The Georgia layer fills the operations a state must.
//
// The file, as this layer writes it:
//   Y 2018                        header, only when the file is written fresh
//   P Quarlo
//   V FD: <host version> GA: <module version>
//   T <federal form 92 field 7>
//   S SY
//   S GA
//   S FD
//   D SYPCRTN    001 X T          the office record (first state only)
//   D SYSTRTN    001 X T          the state return record
//   D GA70       001 X T          one record per print-flagged copy
//   ...
//   D FDF1040 ...                 the federal data block, copied unchanged
// A later state (sequence 2 and on) extends the "V " line, adds its "S " line
// before "S FD", keeps the earlier records, writes its state return record
// numbered with its sequence, and writes the federal data block again last.
#pragma once

#include <cstdint>
#include <string>

#include "module/catalogues/LicenceLines.h"
#include "module/output/EFileNumbers.h"
#include "platform/Configuration.h"
#include "platform/framework/CalcEngine.h"
#include "platform/framework/TaxFormAuditor.h"
#include "platform/framework/TaxFormPrinter.h"
#include "platform/framework/TifFileWriter.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/util/IOMgmt.h"

namespace StateCalculationMgmt {
class StateTaxReturnCalcEngine;
}  // namespace StateCalculationMgmt

namespace StateAuditMgmt {
class StateTaxFormAuditor;
}  // namespace StateAuditMgmt

namespace StateTifWriteMgmt {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

// Whether the field of the copy is marked yes (false for a field number of 0
// or less, or an empty handle).
bool formFieldXMarked(DataMgmt::TaxFormPtr copy, FieldId field);
// Removes the leading '0' characters of a text that holds another character
// after them: "007" becomes "7"; "0", "000" and "120" stay as they are.
void stripLeadingZeros(std::string& text);
// name + " " + the number + (" " + suffix when the suffix is not empty).
std::string formatFormCopyName(std::string name, unsigned short number, std::string suffix);

// The fields of the information form that the authentication header reads:
// the refund's bank account and the two filers' identity documents.
struct AuthHeaderFields {
    FieldId routingNumber;
    FieldId accountNumber;
    FieldId directDepositBox;
    // The two filers' identity documents (driver's licence or state ID).
    const FilerLicenceLines& licence;
};

class StateTifFileWriter : public TifWriteMgmt::TifFileWriter {
public:
    // Refuses, with Exceptions::QuarloException, an empty federal return and
    // a state return, printer or engine that is missing or not of the state
    // classes: the writer reads through each of them. The auditor is not used
    // and may be missing.
    StateTifFileWriter(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnPtr state,
                       CalculationMgmt::TaxReturnCalcEnginePtr engine, TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                       AuditMgmt::TaxFormAuditorPtr auditor, DataMgmt::QuarloConfiguration* configuration);
    ~StateTifFileWriter() override;

    // Writes this state's part of the e-file of the return type; `sequence`
    // is the state's place (from 1) among the states written into the file.
    // Sequence 1, or a later one without a file on disk, writes the file
    // afresh; a later sequence merges into the file on disk through the
    // temporary file "<e-file>.tmp", which stays after the write. True when
    // the whole file was written. False, with the earlier file left as it
    // was, when the earlier file has no "V " line or no "S FD" line after it,
    // or when a step on the files fails (the temporary file cannot be
    // removed or made, the e-file cannot be written).
    bool writeTifFile(std::uint8_t sequence, DataMgmt::TaxReturnType type) override;
    void outputTifHeader() override;
    void convertTifField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber, const FieldId& field,
                         std::string& key, std::string& value) override;
    void outputFormRecordLine(const FormId& form, unsigned short number) override;
    void convertTifForms(const FormId& form) override;
    // 'F' (and 0xAA): the value rounded half away from zero to whole
    // dollars, empty when that is 0; ' ' and 'M': a percentage as a decimal
    // of 4 places; 'N': of 6 places; any other code: unchanged.
    std::string& tifFormatValue(std::string& value, std::uint8_t code) override;

    // ---- used by the Georgia records and the printer
    void refundCode(std::string& out);
    void outputRefundCodeLine(const std::string& key);
    // The line of a field's value, of copy `copy` of the form, for a field
    // number above 0 (nothing otherwise): a text in its e-file form
    // (eFileValue), an amount as its form shows it (at most two decimals,
    // whole dollars on the main form and its schedules). A filer's number is
    // checked against the federal return's (checkFilerNumber). Every field
    // line of the state's records goes through it.
    void outputFieldLine(const std::string& key, const FormId& form, std::uint16_t copy, FieldId field,
                         bool flag = false);
    // A filer's number on a Georgia form (GAOutput::filerNumberOf: a field's
    // whole text, or its place in a voucher's scan line) that is not the one
    // the federal main form gives that filer is a wrong entry of the line's
    // field, naming the main form's field and number.
    void checkFilerNumber(const FormId& form, const FieldId& field, const std::string& key, const std::string& value);
    // The PDF form list ("GAGAPDFFRM" sub-records), then the hash table
    // ("GAHASHTBL" sub-records of up to 25 entries).
    void outputPdfHashTable();
    void outputPdfFormList(std::string prefix);
    // Every line of the authentication header record, into the record that
    // is open: how a refund is paid, the origin lines, the filers' identity
    // documents (the spouse's only when wanted), the preparer's and the
    // device's data. The information form's values are read from `infoCopy`;
    // an empty handle reads as empty values and unmarked boxes.
    void outputAuthHeaderRecord(DataMgmt::TaxFormPtr infoCopy, const FormId& infoForm, const AuthHeaderFields& fields,
                                long refundAmount, bool spouseWanted);
    // The current UTC time of the host clock, "2019-04-15T13:05:09Z".
    static std::string getUtcTimestamp();

    std::uint8_t getStateSequence() const { return stateSequence; }
    bool isAppendMode() const { return appendMode; }
    bool isInStateReturnRecord() const { return inStateReturnRecord; }

protected:
    // ---- the frame's steps
    void appendFederalTifData();
    void mergeTifHeader(IOMgmt::FileReader& reader);
    // ---- conversions of federal forms 92 and 131
    void convertReturnInfoField(const FieldId& field, std::string& value);
    void convertEfileInfoField(const FieldId& field, std::string& key, std::string& value);
    bool mappedAnswerHasValue();
    // Whether the Georgia field that receives form 131 field 72481 holds a
    // value in copy 1 of its form.
    bool mappedAnswerHeld();

    StateDataMgmt::StateTaxReturn* stateReturn;                   // not owned
    StateTaxFormPrintMgmt::StateTaxFormPrinter* statePrinter;     // not owned
    StateCalculationMgmt::StateTaxReturnCalcEngine* stateEngine;  // not owned
    StateAuditMgmt::StateTaxFormAuditor* stateAuditor;            // not owned, not used; may be null
    std::uint8_t stateSequence = 1;
    bool appendMode = false;
    // True from the start of a write until the office record begins, and
    // again inside the state return record.
    bool inStateReturnRecord = false;

private:
    std::string stateCode();
    void outputIdentityDocument(const DataMgmt::TaxFormPtr& infoCopy, const FormId& infoForm,
                                const LicenceLines& document, bool spouse);
    void outputOfficeValues();
    std::string versionLine(const std::string& start);
    bool writeRecords(const IOMgmt::FileNamePtr& file, IOMgmt::FileReader* reader);
    void convertFormList();
    FormId mappedFederalForm(const FormId& federalForm);
    void mappedFederalField(const FormId& federalForm, const FieldId& federalField, FormId& form, FieldId& field);
};

}  // namespace StateTifWriteMgmt
