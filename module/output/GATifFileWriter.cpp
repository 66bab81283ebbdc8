#include "module/output/GATifFileWriter.h"

#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/RequireGeorgiaReturn.h"
#include "platform/Exceptions.h"
#include "platform/Utils.h"

namespace GATifWriteMgmt {

GATifFileWriter::GATifFileWriter(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnPtr state,
                                 CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                 TaxFormPrintMgmt::TaxFormPrinterPtr printer, AuditMgmt::TaxFormAuditorPtr auditor,
                                 DataMgmt::QuarloConfiguration* configuration)
    : StateTifWriteMgmt::StateTifFileWriter(federal, state, engine, printer, auditor, configuration),
      georgiaReturn(GAOutput::requireGeorgiaReturn(state, "GATifFileWriter")) {}

GATifFileWriter::~GATifFileWriter() = default;

void GATifFileWriter::tifStringCleanDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& form,
                                             const FieldId& /*field*/, std::string& value) {
    if (form != kForm131ID) {
        tifStringClean(value);
    }
}

void GATifFileWriter::tifCleanNameStringDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                                 const FieldId& /*field*/, std::string& value) {
    Utils::tifCleanNameString(value);
}

void GATifFileWriter::tifCleanAddressStringDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                                    const FieldId& /*field*/, std::string& value) {
    tifCleanAddressString(value);
}

void GATifFileWriter::tifReformatDateDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                              const FieldId& /*field*/, std::string& value) {
    tifReformatDate(value);
}

void GATifFileWriter::tifNoCleanDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                         const FieldId& /*field*/, std::string& /*value*/) {}

void GATifFileWriter::tifCleanByEditCodeDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& form,
                                                 const FieldId& field, std::string& value) {
    // The field's edit code comes from the description of the return that
    // holds the form: the Georgia return for a state form, else the federal.
    const DataMgmt::TaxReturn* holder =
        form.isState() ? static_cast<DataMgmt::TaxReturn*>(georgiaReturn) : federalReturn();
    std::uint8_t code = 0;
    const DataMgmt::TaxFormDescPtr formDesc = holder->getTaxFormDescriptor(form);
    if (!formDesc.isNull()) {
        const DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(field);
        if (!fieldDesc.isNull()) {
            code = fieldDesc->getValidator()->getEditCode();
        }
    }
    tifFormatValue(value, code);
}

void GATifFileWriter::tifReformatPhoneDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                               const FieldId& /*field*/, std::string& value) {
    tifReformatPhone(value);
}

void GATifFileWriter::convertMainFormField(DataMgmt::TaxFormPtr /*copy*/, const FormId& form,
                                           std::uint16_t /*copyNumber*/, FieldId field, const std::string& /*key*/,
                                           std::string& value, bool* /*keepLine*/, bool* /*lineFlag*/) {
    // Field 345 of the main form carries no value of its own: where it
    // stands, last in the main form's record, the Georgia records follow.
    if (form == kGAForm70ID && field == kGAForm70FieldIds.f345) {
        value.clear();
        writeGeorgiaRecords();
    }
}

void GATifFileWriter::writeGeorgiaRecords() {
    // The PDF form list and hash table of the attachments registered for
    // the return.
    outputPdfHashTable();
}

void GATifFileWriter::writeTaxPeriodLines(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                          std::uint16_t /*copyNumber*/, FieldId /*field*/, const std::string& /*key*/,
                                          std::string& /*value*/) {}

}  // namespace GATifWriteMgmt
