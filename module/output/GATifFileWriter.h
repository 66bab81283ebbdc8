// The Georgia layer of the e-file writer: the value cleaning of the Georgia
// return's fields, the main-form hook that rewrites some values of the
// Georgia forms and adds the Georgia records, and the tax period lines of the
// state return record.
//
// Amounts leave as their forms show them (GAOutput::amountAsShown): at most
// two decimals, whole dollars on the main form and its schedules.
//
// Inside the main form's record, at its group field (45), come the document
// list groups 04003-04006; at its last field (345), the withholding
// statement lines 04500-04525 and the adjustment lines 04101/04102, and then
// the Georgia records, in this order: "GAGARETINC" (retirement exclusion,
// when there is one), "GAGA1099G" (one per 1099-G with Georgia amounts),
// "GAGARTNHDR", "GAGAAUTHDR", the PDF form list and hash table, "GAGASCH2"
// (one per schedule 2 copy in use), "GAGA8453" and "GAGAINDCR" (when an
// IND-CR worksheet takes part in the return).
#pragma once

#include <span>

#include "module/frame/GATaxReturn.h"
#include "module/output/GARecordLines.h"
#include "module/output/StateTifFileWriter.h"

namespace GATifWriteMgmt {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

class GATifFileWriter : public StateTifWriteMgmt::StateTifFileWriter {
public:
    // The state return handle must hold the Georgia return (else
    // Exceptions::QuarloException, as for the state layer's refusals).
    GATifFileWriter(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnPtr state,
                    CalculationMgmt::TaxReturnCalcEnginePtr engine, TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                    AuditMgmt::TaxFormAuditorPtr auditor, DataMgmt::QuarloConfiguration* configuration);
    ~GATifFileWriter() override;

    // ---- cleaning of one value, in place
    // The host's general cleaning, except for federal form 131, whose values
    // stay as they came.
    void tifStringCleanDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                std::string& value) override;
    void tifCleanNameStringDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                    std::string& value) override;
    void tifCleanAddressStringDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                       std::string& value) override;
    void tifReformatDateDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                 std::string& value) override;
    void tifNoCleanDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                            std::string& value) override;
    // An amount rounded as its form shows it (GAOutput::amountAsShown), then
    // the value formatted by the field's edit code (tifFormatValue).
    void tifCleanByEditCodeDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                    std::string& value) override;
    void tifReformatPhoneDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                  std::string& value) override;

    // ---- hooks of the Georgia records
    // Rewrites the values of a few fields of forms 70, 189215, 189216 and
    // 189217 (a zero written as "0", a date, a ratio); on form 70 field 45 writes the document list groups and on
    // field 345 the main form's statement lines and the Georgia records. The
    // key and the two flags are not read.
    void convertMainFormField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber, FieldId field,
                              const std::string& key, std::string& value, bool* keepLine, bool* lineFlag) override;
    // On federal form 131 field 72481 (the last line of the state return
    // record), the tax year, the tax period, the filer kind and the filers'
    // signature lines; nothing on any other field.
    void writeTaxPeriodLines(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber, FieldId field,
                             const std::string& key, std::string& value) override;

protected:
    // ---- inside the main form's record
    // Form 76's documents with a value, as groups 04003-04006 numbered 001 on.
    void writeMainFormRepeatLines();
    // Every withholding statement entry with an identification number, from
    // form 70 and then each copy of form 189218, numbered 001 on across them.
    void writeWithholdingLines();
    // Each adjustment of form 189215 that holds a value: its kind and amount.
    void writeOtherAdjustmentLines();

    // ---- the Georgia records
    void writeRetirementIncomeRecord();
    void write1099GRecords();
    void writeReturnHeaderRecord();
    void writeAuthHeaderRecord();
    void writeSchedule2Record();
    void write8453Record();
    void writeIndividualCreditsRecord();

    // The field's value when its amount is above zero, else "0".
    void outputPositiveAmountLine(const std::string& key, const FormId& form, std::uint16_t copy, FieldId field,
                                  bool flag);
    // The copy's calculated flag; false for an empty handle.
    static bool formCopyCalculated(DataMgmt::TaxFormPtr copy);
    // Writes the lines in order, the field lines from the given copy of
    // their form; lines for the spouse only with the filing statuses named.
    void writeRecordLines(std::span<const RecordLine> lines, std::uint16_t copy);

    // The main form's statement lines and the Georgia records that follow
    // the main form's record.
    void writeGeorgiaRecords();

    GADataMgmt::GATaxReturn* georgiaReturn;  // not owned

private:
    void write1099GRecord(std::uint16_t copy, std::uint16_t number);
    void writeReturnHeaderAddress();
    bool spouseLineWanted(SpouseLines when);
};

}  // namespace GATifWriteMgmt
