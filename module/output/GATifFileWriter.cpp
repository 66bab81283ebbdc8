#include "module/output/GATifFileWriter.h"

#include "module/catalogues/Form131Lines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/BuildNumber.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/TaxYearStrings.h"
#include "module/output/OutputAmounts.h"
#include "module/output/RequireGeorgiaReturn.h"
#include "platform/Exceptions.h"
#include "platform/util/Utils.h"

namespace GATifWriteMgmt {

namespace {

// What the main-form hook does with the value of a field.
enum class Rule {
    DocumentGroups,     // empty; the document list groups follow
    InfoFormDate,       // a date of form 69, for a part-year resident
    ZeroWritten,        // a zero amount written as "0"
    ZeroWrittenIfHeld,  // the same, when another amount is not zero
    Percentage,         // a ratio kept in ten-thousandths, as a percentage
    GeorgiaRecords,     // empty; the main form's lines and the records follow
};

struct FieldRule {
    FormId form;
    FieldId field;
    Rule rule;
    // The date's field of form 69, or the amounts that make a zero written
    // (either of them not zero), on the copy converted unless heldOn names
    // the form whose copy 1 holds them.
    FieldId first = {};
    FieldId second = {};
    FormId heldOn = {};
};

constexpr const auto& form70 = kForm70Lines;
constexpr const auto& form189215 = kForm189215Lines;
constexpr const auto& form189217 = kForm189217Lines;

// The main form's field whose line is where the Georgia records go.
constexpr const FieldId& kGeorgiaRecordsField = kForm70Lines.efile.georgiaRecords;

constexpr FieldRule kFieldRules[] = {
    {kGAForm70ID, form70.dependents.firstRowStart, Rule::DocumentGroups},
    // The dates of a part-year resident's move into and out of Georgia.
    {kGAForm70ID, form70.residency.from, Rule::InfoFormDate, kForm69Lines.residency.periodFrom},
    {kGAForm70ID, form70.residency.to, Rule::InfoFormDate, kForm69Lines.residency.periodTo},
    {kGAForm70ID, form70.credits.netTax, Rule::ZeroWritten},
    {kGAForm70ID, form70.payments.total, Rule::ZeroWritten},
    {kGAForm70ID, kGeorgiaRecordsField, Rule::GeorgiaRecords},
    // Additions, subtractions and their net.
    {kGAForm189215ID, form189215.additions, Rule::ZeroWritten},
    {kGAForm189215ID, form189215.subtractions, Rule::ZeroWritten},
    {kGAForm189215ID, form189215.netAdjustment, Rule::ZeroWrittenIfHeld, form189215.additions, form189215.subtractions},
    // The schedule 2 credit used, when form 70 has a tax.
    {kGAForm189216ID, kForm189216Lines.creditUsed, Rule::ZeroWrittenIfHeld, form70.credits.summary, {}, kGAForm70ID},
    {kGAForm189217ID, form189217.ratio, Rule::Percentage},
    {kGAForm189217ID, form189217.totalIncome.notGeorgia, Rule::ZeroWrittenIfHeld, form189217.totalIncome.total},
    {kGAForm189217ID, form189217.totalIncome.georgia, Rule::ZeroWrittenIfHeld, form189217.totalIncome.total},
    {kGAForm189217ID, form189217.incomeAfterAdjustments.notGeorgia, Rule::ZeroWrittenIfHeld,
     form189217.incomeAfterAdjustments.total},
    {kGAForm189217ID, form189217.incomeAfterAdjustments.georgia, Rule::ZeroWrittenIfHeld,
     form189217.incomeAfterAdjustments.total},
};

const FieldRule* ruleOf(const FormId& form, const FieldId& field) {
    for (const FieldRule& row : kFieldRules) {
        if (row.form == form && row.field == field) {
            return &row;
        }
    }
    return nullptr;
}

// The lines that end the state return record: the tax year and period, the
// filer kind, and the signature lines (the spouse's with a joint return, the
// spouse's name and number with a separate one).
constexpr const auto& spouse = kForm92Lines.spouse;
constexpr RecordLine kTaxPeriodLines[] = {
    {"00315.000.001", LineKind::TaxYear},
    {"01085.000.001", LineKind::TaxYearStart},
    {"01090.000.001", LineKind::TaxYearEnd},
    {"01190.000.001", LineKind::MixedText, {}, {}, "OnlineFiler"},
    {"01225.000.001", LineKind::Field, kForm131ID, kForm131Lines.signatureAnswer},
    {"01230.000.001", LineKind::Field, kForm131ID, kForm131Lines.signatureAnswer, "", SpouseLines::Joint},
    {"01240.000.001", LineKind::Field, kForm92ID, spouse.firstName, "", SpouseLines::Separate},
    {"01250.000.001", LineKind::Field, kForm92ID, spouse.middleName, "", SpouseLines::Separate},
    {"01260.000.001", LineKind::Field, kForm92ID, spouse.lastName, "", SpouseLines::Separate},
    {"01270.000.001", LineKind::Field, kForm92ID, spouse.suffix, "", SpouseLines::Separate},
    {"01280.000.001", LineKind::Field, kForm92ID, spouse.number, "", SpouseLines::Separate},
};

}  // namespace

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
    const DataMgmt::FormFieldDescPtr fieldDesc = fieldDescription(form, field);
    std::uint8_t code = 0;
    if (!fieldDesc.isNull()) {
        code = fieldDesc->getValidator()->getEditCode();
    }
    // An amount rounded as its form shows it first.
    if (!fieldDesc.isNull() && fieldDesc->getKind() == DataMgmt::FieldKind::Number) {
        value = GAOutput::amountAsShown(value, form);
    }
    tifFormatValue(value, code);
}

void GATifFileWriter::tifReformatPhoneDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                               const FieldId& /*field*/, std::string& value) {
    tifReformatPhone(value);
}

// ------------------------------------------------------------ main-form hook

void GATifFileWriter::convertMainFormField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t /*copyNumber*/,
                                           FieldId field, const std::string& key, std::string& value,
                                           bool* /*keepLine*/, bool* /*lineFlag*/) {
    const FieldRule* row = ruleOf(form, field);
    if (row == nullptr) {
        return;
    }
    // An amount of the copy converted, or of copy 1 of the form the row names.
    const auto nonZero = [&](const FieldId& amount) {
        if (amount.isNullID()) return false;
        if (row->heldOn.getNumber() > 0) return georgiaReturn->nonZeroVal(row->heldOn, 1, amount);
        return !copy.isNull() && copy->nonZero(amount);
    };
    const bool zero = copy.isNull() || copy->eqZero(field);
    switch (row->rule) {
        case Rule::DocumentGroups: {
            // Lines that name no field of their own are named by their key.
            const LineSource none(*this, FormId(), 1, FieldId());
            value.clear();
            writeMainFormRepeatLines();
            break;
        }
        case Rule::InfoFormDate:
            // The date of form 69 in its e-file form; none for a return that
            // is not part-year.
            value.clear();
            if (georgiaReturn->formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerPartYear)) {
                const LineSource source(*this, kGAForm69ID, 1, row->first);
                value = eFileValue(kGAForm69ID, 1, row->first, key);
            }
            break;
        case Rule::ZeroWritten:
            if (zero) value = "0";
            break;
        case Rule::ZeroWrittenIfHeld:
            if (zero && (nonZero(row->first) || nonZero(row->second))) value = "0";
            break;
        case Rule::Percentage:
            if (!value.empty()) {
                value = hundredthsText(georgiaReturn->getIN(form, 1, field));
            }
            break;
        case Rule::GeorgiaRecords: {
            const LineSource none(*this, FormId(), 1, FieldId());
            value.clear();
            writeGeorgiaRecords();
            break;
        }
    }
}

void GATifFileWriter::writeGeorgiaRecords() {
    writeWithholdingLines();
    writeOtherAdjustmentLines();
    writeRetirementIncomeRecord();
    write1099GRecords();
    writeReturnHeaderRecord();
    writeAuthHeaderRecord();
    outputPdfHashTable();
    writeSchedule2Record();
    write8453Record();
    writeIndividualCreditsRecord();
}

void GATifFileWriter::writeTaxPeriodLines(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                          std::uint16_t /*copyNumber*/, FieldId field, const std::string& /*key*/,
                                          std::string& /*value*/) {
    if (field == kForm131Lines.mappedAnswer) {
        writeRecordLines(kTaxPeriodLines, 1);
    }
}

// ------------------------------------------------------------ record lines

bool GATifFileWriter::spouseLineWanted(SpouseLines when) {
    const int status = stateReturn->getFilingStatusNumber();
    switch (when) {
        case SpouseLines::Always:
            return true;
        case SpouseLines::Joint:
            return status == FilingStatus::kJoint;
        case SpouseLines::Separate:
            return status == FilingStatus::kSeparate;
        case SpouseLines::JointOrSeparate:
            return status == FilingStatus::kJoint || status == FilingStatus::kSeparate;
    }
    return false;
}

void GATifFileWriter::writeRecordLines(std::span<const RecordLine> lines, std::uint16_t copy) {
    for (const RecordLine& line : lines) {
        if (!spouseLineWanted(line.when)) {
            continue;
        }
        switch (line.kind) {
            case LineKind::Text:
                outputTifLine(line.key, std::string(line.text), false);
                break;
            case LineKind::MixedText:
                outputTifLineMixedCase(line.key, line.text, false);
                break;
            case LineKind::Field:
                outputFieldLine(line.key, line.form, copy, line.field);
                break;
            case LineKind::MixedFieldText: {
                const LineSource source(*this, line.form, copy, line.field);
                outputTifLineMixedCase(line.key, eFileValue(line.form, copy, line.field, line.key), false);
                break;
            }
            case LineKind::CheckBox:
                outputTifLineCB(line.key, line.form, copy, line.field, line.text, false);
                break;
            case LineKind::StateCode: {
                std::string code;
                stateReturn->getStateCode(code);
                outputTifLine(line.key, code, false);
                break;
            }
            case LineKind::TaxYear:
                outputTifLine(line.key, kTaxYear, false);
                break;
            case LineKind::TaxYearStart:
                outputTifLine(line.key, kTaxYear + "-01-01", false);
                break;
            case LineKind::TaxYearEnd:
                outputTifLine(line.key, kTaxYear + "-12-31", false);
                break;
            case LineKind::BuildNumber:
                outputTifLine(line.key, static_cast<std::int64_t>(std::stol(BuildNumberString)), false);
                break;
        }
    }
}

}  // namespace GATifWriteMgmt
