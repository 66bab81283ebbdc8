// The Georgia layer of the e-file writer: the value cleaning of the Georgia
// return's fields and the two hooks through which the Georgia records join
// the file. Of the Georgia records only the PDF sections are written, after
// the main form's last field; the return header, authentication,
// withholding and credit records and the tax period lines are not built.
#pragma once

#include "module/frame/GATaxReturn.h"
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
    // The value formatted by the field's edit code (tifFormatValue).
    void tifCleanByEditCodeDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                    std::string& value) override;
    void tifReformatPhoneDispatch(DataMgmt::TaxFormPtr copy, const FormId& form, const FieldId& field,
                                  std::string& value) override;

    // ---- hooks of the Georgia records
    void convertMainFormField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber, FieldId field,
                              const std::string& key, std::string& value, bool* keepLine, bool* lineFlag) override;
    void writeTaxPeriodLines(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber, FieldId field,
                             const std::string& key, std::string& value) override;

protected:
    // The Georgia records that follow the main form's record.
    void writeGeorgiaRecords();

    GADataMgmt::GATaxReturn* georgiaReturn;  // not owned
};

}  // namespace GATifWriteMgmt
