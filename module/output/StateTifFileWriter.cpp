#include "module/output/StateTifFileWriter.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "module/catalogues/Form92Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/TaxYearStrings.h"
#include "module/output/OutputAmounts.h"
#include "module/output/SingleCopyForms.h"
#include "module/review/StateTaxFormAuditor.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/Exceptions.h"
#include "platform/Managers.h"
#include "platform/util/Crt.h"
#include "platform/util/Utils.h"

namespace StateTifWriteMgmt {

namespace {

constexpr const char* kClassName = "StateTifFileWriter";

// A reader of the host's I/O manager, closed and given back when it goes.
struct ReaderReturner {
    void operator()(IOMgmt::FileReader* reader) const {
        reader->close();
        IOMgmt::IOMgr::getInstance().deallocateFileReader(reader);
    }
};
using HostReader = std::unique_ptr<IOMgmt::FileReader, ReaderReturner>;

HostReader allocateReader() { return HostReader(IOMgmt::IOMgr::getInstance().allocateFileReader()); }

// Whether an earlier e-file can take another state: it has a "V " line and
// an "S FD" line after it, the two lines the merge extends.
bool hasMergeableHeader(const std::string& path) {
    HostReader reader = allocateReader();
    if (!reader->open(path)) {
        return false;
    }
    bool versionSeen = false;
    std::string line;
    while (reader->readPCLine(line)) {
        if (!versionSeen) {
            versionSeen = line.rfind("V ", 0) == 0;
        } else if (line.rfind("S FD", 0) == 0) {
            return true;
        }
    }
    return false;
}

template <class Target>
Target* requireObject(Target* object, const char* what) {
    if (object == nullptr) {
        throw Exceptions::QuarloException(std::string("the ") + what + " is missing or not of the state classes",
                                          kClassName, kClassName);
    }
    return object;
}

}  // namespace

// ------------------------------------------------------------ free helpers

bool formFieldXMarked(DataMgmt::TaxFormPtr copy, FieldId field) {
    return field.getNumber() > 0 && !copy.isNull() && copy->xMarked(field);
}

void stripLeadingZeros(std::string& text) {
    const std::size_t first = text.find_first_not_of('0');
    if (first != 0 && first != std::string::npos) {
        text.erase(0, first);
    }
}

std::string formatFormCopyName(std::string name, unsigned short number, std::string suffix) {
    std::string text = std::move(name) + " " + Utils::nStr(static_cast<double>(number));
    if (!suffix.empty()) {
        text += " " + suffix;
    }
    return text;
}

// ------------------------------------------------------------ construction

StateTifFileWriter::StateTifFileWriter(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnPtr state,
                                       CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                       TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                                       AuditMgmt::TaxFormAuditorPtr auditor,
                                       DataMgmt::QuarloConfiguration* configuration)
    : TifWriteMgmt::TifFileWriter(federal, state, engine, printer, auditor, configuration),
      stateReturn(requireObject(dynamic_cast<StateDataMgmt::StateTaxReturn*>(state.get()), "state return")),
      statePrinter(
          requireObject(dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(printer.get()), "state printer")),
      stateEngine(requireObject(dynamic_cast<StateCalculationMgmt::StateTaxReturnCalcEngine*>(engine.get()),
                                "calculation engine")),
      stateAuditor(dynamic_cast<StateAuditMgmt::StateTaxFormAuditor*>(auditor.get())) {
    requireObject(federal.get(), "federal return");
}

StateTifFileWriter::~StateTifFileWriter() = default;

// ------------------------------------------------------------ the file

bool StateTifFileWriter::writeTifFile(std::uint8_t sequence, DataMgmt::TaxReturnType type) {
    // The federal e-file is had (read and checked, unless the host gave its
    // copy) before anything changes: one that cannot be used throws here,
    // leaving every file as it was, rather than leaving the e-file without
    // its federal data block.
    federalEFile();
    clearWrongEntries();
    inStateReturnRecord = true;
    const IOMgmt::FileNamePtr file = getTifFileSpec(type);
    stateSequence = sequence;
    appendMode = sequence > 1 && file->fileExist();
    const std::string path = file->getDisplayName(-1);
    const std::string temporary = path + ".tmp";

    HostReader reader = allocateReader();
    if (appendMode) {
        // The earlier state's file is checked before anything changes, and
        // every step on it is checked: a failure leaves it as it was.
        if (!hasMergeableHeader(path)) {
            return false;
        }
        const IOMgmt::FileName stale(temporary);
        if (stale.fileExist() && !stale.deleteFile()) {
            return false;
        }
        if (crt::rename(path, temporary) != 0) {
            return false;
        }
        if (!reader->open(temporary)) {
            crt::rename(temporary, path);
            return false;
        }
    }
    // Drops a write that did not finish, all it wrote, and puts the earlier
    // file back.
    const auto restoreEarlierFile = [&] {
        tifFile.discard();
        reader->close();
        if (appendMode) {
            crt::rename(temporary, path);
        }
    };
    bool written = false;
    try {
        written = writeRecords(file, reader.get());
    } catch (...) {
        restoreEarlierFile();
        throw;
    }
    if (!written) {
        restoreEarlierFile();
    }
    stateReturn->eFileWrongEntries = wrongEntries();
    return written;
}

bool StateTifFileWriter::writeRecords(const IOMgmt::FileNamePtr& file, IOMgmt::FileReader* reader) {
    if (!tifFile.open(file)) {
        return false;
    }
    if (!appendMode) {
        outputTifHeader();
    } else {
        // The earlier header, extended; then the earlier states' records up to
        // the earlier federal data block, which is written again at the end.
        mergeTifHeader(*reader);
        std::string line;
        while (reader->readPCLine(line) && !TifWriteMgmt::startsFederalBlock(line)) {
            tifFile.putPCLine(line);
        }
        reader->close();
    }

    calcEngine()->calculateReturn(calcFlag);

    // The Georgia form that receives federal form 43 is written whatever its
    // print flag says: it is calculated and flagged for the write, and its
    // flag is given back afterwards.
    const FormId mapped = mappedFederalForm(kForm43ID);
    const bool remembered = mapped.getNumber() > 0 && statePrinter->isPrintFlagSet(mapped, 1);
    const auto restoreFlag = [&] {
        if (mapped.getNumber() > 0) {
            const DataMgmt::TaxFormPtr copy = stateReturn->getFormOrCreate(mapped, 1);
            if (!copy.isNull()) {
                copy->setCalculatedFlag(remembered);
            }
        }
    };
    try {
        if (mapped.getNumber() > 0) {
            const DataMgmt::TaxFormPtr copy = stateReturn->getFormOrCreate(mapped, 1);
            if (!copy.isNull()) {
                stateEngine->calcFormCopy(mapped, 1, 0, 0, 0, copy);
                copy->setCalculatedFlag(true);
            }
        }
        convertFormList();
        outputValueSet();
        appendFederalTifData();
    } catch (...) {
        restoreFlag();
        throw;
    }
    restoreFlag();
    return tifFile.close();
}

void StateTifFileWriter::convertFormList() {
    StateTaxFormPrintMgmt::FormIdList printed;
    signed char count = 0;
    signed char second = 0;
    statePrinter->formsToPrint(printed, count, second, 2);
    // The office record and the state return record both come from copy 1 of
    // federal form 131; the printer's form types follow in its order, all of
    // them (its count stops at 127, its list does not).
    const DataMgmt::TaxFormPtr office = federalReturn()->getFormOrCreate(kForm131ID, 1);
    const FormId officeForm = office.isNull() ? FormId() : kForm131ID;
    std::vector<FormId> forms = {officeForm, officeForm};
    forms.insert(forms.end(), printed.begin(), printed.end());
    for (const FormId& form : forms) {
        convertTifForms(form);
    }
}

void StateTifFileWriter::appendFederalTifData() {
    // The block as it was read and checked, once: the federal e-file is not
    // opened again.
    const TifWriteMgmt::FederalEFile* federal = federalEFile();
    if (federal == nullptr) {
        return;
    }
    for (const std::string& line : federal->blockLines()) {
        tifFile.putPCLine(line);
    }
}

std::string StateTifFileWriter::stateCode() {
    std::string code;
    stateReturn->getStateCode(code);
    return code;
}

std::string StateTifFileWriter::versionLine(const std::string& start) {
    return start + " " + stateCode() + ": " +
           BusinessMgmt::BusinessMgr::getInstance().getVersion(stateReturn->getTaxReturnDesc());
}

void StateTifFileWriter::mergeTifHeader(IOMgmt::FileReader& reader) {
    // The earlier header was checked to hold both lines before the merge.
    std::string line;
    while (reader.readPCLine(line) && line.rfind("V ", 0) != 0) {
        tifFile.putPCLine(line);
    }
    tifFile.putPCLine(versionLine(line));
    while (reader.readPCLine(line) && line.rfind("S FD", 0) != 0) {
        tifFile.putPCLine(line);
    }
    tifFile.putPCLine("S " + stateCode());
    tifFile.putPCLine(line);
}

void StateTifFileWriter::outputTifHeader() {
    const DataMgmt::QuarloConfiguration* cfg = configuration();
    const std::string hostVersion = cfg != nullptr ? cfg->versionText : std::string();
    const std::string code = stateCode();
    std::ostringstream line;
    const auto put = [&] {
        tifFile.putPCLine(line.str());
        line.str("");
    };
    line << "Y " << kTaxYearCStr;
    put();
    line << "P Quarlo";
    put();
    line << versionLine("V FD: " + hostVersion);
    put();
    {
        const FieldId& number = kForm92Lines.taxpayer.number;
        const LineSource source(*this, kForm92ID, 1, number);
        line << "T " << eFileValue(kForm92ID, 1, number, "T");
        put();
    }
    line << "S SY";
    put();
    line << "S " << code;
    put();
    line << "S FD";
    put();
}

// ------------------------------------------------------------ records

void StateTifFileWriter::convertTifForms(const FormId& form) {
    // In a file that already holds an earlier state, the office record is not
    // written again: the first form-131 entry only moves past it.
    if (stateSequence > 1 && form == kForm131ID && inStateReturnRecord) {
        inStateReturnRecord = false;
        return;
    }
    const DataMgmt::TaxReturn* source = form == kForm131ID ? federalReturn() : stateReturn;
    tifFieldDescriptors = source->getTaxReturnDesc()->getTifFieldDescriptors(form);
    if (tifFieldDescriptors.isNull() || tifFieldDescriptors->empty()) {
        return;
    }
    unsigned short running = 1;
    for (DataMgmt::TaxFormIter it = source->getForms(form); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        const std::uint16_t number = copy->getCopyNumber();
        // Georgia's return holds one of a form the calculation takes from
        // copy 1 alone: a further copy is not written (the e-file check
        // blocks one that holds an entry).
        if (GAOutput::isFurtherCopyOfSingleCopyForm(form, number)) continue;
        if (form == kForm131ID || statePrinter->isPrintFlagSet(form, number)) {
            convertTIFForm(form != kForm131ID, form, number, copy, running);
            ++running;
        }
    }
}

void StateTifFileWriter::outputFormRecordLine(const FormId& /*form*/, unsigned short number) {
    outputValueSet();
    if (tifFieldDescriptors.isNull() || tifFieldDescriptors->empty()) {
        return;
    }
    std::string attributes = tifFieldDescriptors->front().getFieldAttributes();
    std::string name = Utils::padStr(Utils::readNextWord(attributes), 10);
    const std::string bare = Utils::removeChars(name, ' ');
    if (bare == "DUMMYHDR") {
        return;
    }
    std::string flag = Utils::padStr(Utils::readNextWord(attributes), 1);
    if (flag == "0") {
        flag = " ";
    }
    // The office record's descriptors also make the state return record: the
    // second form-131 record of a write, and the only one of a later state,
    // which is numbered with the state's place in the file.
    const bool officeDescriptors = bare == "SYPCRTN";
    const unsigned written = stateSequence > 1 && !inStateReturnRecord && officeDescriptors ? stateSequence : number;
    if (!inStateReturnRecord && officeDescriptors) {
        inStateReturnRecord = true;
        name = "SYSTRTN   ";
    } else {
        inStateReturnRecord = false;
    }
    tifFile.putPCLine("D " + name + " " + Utils::xstrPadLeftZeros(written, 3) + " X T " + flag);
}

void StateTifFileWriter::convertTifField(DataMgmt::TaxFormPtr copy, const FormId& form, std::uint16_t copyNumber,
                                         const FieldId& field, std::string& key, std::string& value) {
    bool keepLine = true;
    bool lineFlag = false;
    const bool officeForm = form == kForm92ID || form == kForm131ID;
    if (form == kForm92ID) {
        convertReturnInfoField(field, value);
    } else if (form == kForm131ID) {
        convertEfileInfoField(field, key, value);
    } else {
        convertMainFormField(copy, form, copyNumber, field, key, value, &keepLine, &lineFlag);
    }
    checkFilerNumber(form, field, key, value);
    if (officeForm && inStateReturnRecord) {
        try {
            writeTaxPeriodLines(copy, form, copyNumber, field, key, value);
        } catch (const Exceptions::QuarloException&) {
            // The tax period lines are left out; the field's own line follows.
        }
    }
    outputTifLine(key, value, lineFlag);
}

std::string& StateTifFileWriter::tifFormatValue(std::string& value, std::uint8_t code) {
    constexpr std::uint8_t kWholeDollarsAlt = 0xAA;
    if (code == 'F' || code == kWholeDollarsAlt) {
        const std::int64_t dollars = Utils::roundR(std::strtod(value.c_str(), nullptr));
        value = dollars == 0 ? std::string() : std::to_string(dollars);
    } else if (code == ' ' || code == 'M') {
        tifConvertPercentToDecimal(value, 4, 0);
    } else if (code == 'N') {
        tifConvertPercentToDecimal(value, 6, 0);
    }
    return value;
}

// ------------------------------------------------------------ small lines

void StateTifFileWriter::checkFilerNumber(const FormId& form, const FieldId& field, const std::string& key,
                                          const std::string& value) {
    // Form F92's numbers are compared with the main form's by the host's
    // e-file check, which names both entries.
    if (value.empty() || form == kForm92ID) return;
    const std::optional<GAOutput::FilerNumberField> held = GAOutput::filerNumberOf(form, field);
    if (!held) return;
    const GAOutput::NumberOf whose = held->whose;
    const std::string number = held->numberIn(value);
    const FormId mainForm = stateReturn->getFederalFormID();
    const FieldId filersField = GAOutput::mainFormNumberField(mainForm, whose);
    const std::string filers = Utils::strip(federalReturn()->formString(mainForm, 1, filersField));
    if (filers.empty() || filers == number) return;
    const DataMgmt::TaxFormDescPtr desc = federalReturn()->getTaxFormDescriptor(mainForm);
    const std::string name = desc.isNull() ? std::to_string(mainForm.getNumber()) : desc->getDevName();
    recordWrongEntry(key, number,
                     std::string("is not the ") + (whose == GAOutput::NumberOf::Taxpayer ? "taxpayer" : "spouse") +
                         "'s number that form " + name + " gives, field " + std::to_string(filersField.getNumber()) +
                         " \"" + filers + "\": the e-file writes one number for each filer, the federal return's");
}

void StateTifFileWriter::refundCode(std::string& out) {
    char code[64] = {};
    stateReturn->getRefundCode(code, sizeof code);
    out = code;
}

void StateTifFileWriter::outputRefundCodeLine(const std::string& key) {
    std::string code;
    refundCode(code);
    outputTifLine(key, code, false);
}

void StateTifFileWriter::outputFieldLine(const std::string& key, const FormId& form, std::uint16_t copy, FieldId field,
                                         bool flag) {
    if (field.getNumber() <= 0) {
        return;
    }
    const LineSource source(*this, form, copy, field);
    std::string text = eFileValue(form, copy, field, key);
    // An amount leaves as its form shows it: at most to the cent.
    const DataMgmt::FormFieldDescPtr fieldDesc = fieldDescription(form, field);
    if (!fieldDesc.isNull() && fieldDesc->getKind() == DataMgmt::FieldKind::Number) {
        text = GAOutput::amountAsShown(text, form);
    }
    checkFilerNumber(form, field, key, text);
    outputTifLine(key, text, flag);
}

FormId StateTifFileWriter::mappedFederalForm(const FormId& federalForm) {
    FormId form;
    FieldId field;
    stateReturn->mapFederalField(federalForm, FieldId(0), form, field);
    return form;
}

}  // namespace StateTifWriteMgmt
