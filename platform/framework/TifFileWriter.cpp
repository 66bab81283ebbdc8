#include "platform/framework/TifFileWriter.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Exceptions.h"
#include "platform/util/PlainText.h"
#include "platform/util/Utils.h"

namespace TifWriteMgmt {

namespace {

// The fault of a value holding a character without a plain letter.
std::string cannotCarry(char32_t c) {
    return "holds " + Utils::codePointName(c) + ", which has no plain letter the e-file can carry";
}

// The fault of a text that is empty in its e-file form.
std::string emptiedFault(const DataMgmt::FormFieldDesc& field) {
    if (field.isDate()) return "is no date the e-file can carry";
    switch (field.getContent()) {
        case DataMgmt::FieldContent::Name:
            return "holds none of the letters and digits that the e-file carries of a name";
        case DataMgmt::FieldContent::Address:
            return "holds none of the letters and digits that the e-file carries of an address";
        default:
            return "holds nothing the e-file carries";
    }
}

}  // namespace

TifFileWriter::TifFileWriter(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnPtr& state,
                             CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                             TaxFormPrintMgmt::TaxFormPrinterPtr& printer, AuditMgmt::TaxFormAuditorPtr& /*auditor*/,
                             DataMgmt::QuarloConfiguration*& configuration)
    : federal_(federal), state_(state), engine_(engine), printer_(printer), configuration_(configuration) {}

TifFileWriter::~TifFileWriter() = default;

void TifFileWriter::tifCleanAllAlphaSpaceStringDispatch(DataMgmt::TaxFormPtr /*copy*/, const FormId& /*form*/,
                                                        const FieldId& /*field*/, std::string& value) {
    std::string kept;
    for (const char c : value) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == ' ') {
            kept += c;
        }
    }
    value = kept;
}

void TifFileWriter::tifGetStateID(std::string& out) {
    out = state_.isNull() ? std::string() : std::string(state_->getAbbreviation());
}

// ------------------------------------------------------------------ files

IOMgmt::FileNamePtr TifFileWriter::getTifFileSpec(DataMgmt::TaxReturnType type, int variant) const {
    const DataMgmt::QuarloConfiguration* cfg =
        configuration_ != nullptr ? configuration_ : DataMgmt::QuarloConfiguration::getInstance();
    if (type == DataMgmt::kFederalReturnType && variant == 1) {
        return IOMgmt::FileNamePtr(new IOMgmt::FileName(cfg->federalEFilePath));
    }
    std::string stem = "type" + std::to_string(static_cast<int>(type));
    for (const DataMgmt::TaxReturnPtr* r : {&federal_, &state_}) {
        if (!r->isNull() && (*r)->getReturnType() == type) {
            stem = (*r)->getAbbreviation();
        }
    }
    return IOMgmt::FileNamePtr(new IOMgmt::FileName(cfg->eFileDir + eFileName(stem)));
}

std::string TifFileWriter::eFileName(const std::string& abbreviation) { return abbreviation + "-efile.txt"; }

const FederalEFile* TifFileWriter::federalEFile() {
    if (federalEFile_) return &*federalEFile_;
    const std::string path = getTifFileSpec(DataMgmt::kFederalReturnType, 1)->getPath();
    if (path.empty()) return nullptr;
    std::string problem;
    federalEFile_ = FederalEFile::read(path, problem);
    if (!federalEFile_) {
        throw Exceptions::QuarloException("the federal e-file " + IOMgmt::shownPath(path) + ": " + problem +
                                              "; the e-file is not written without its federal data block",
                                          "TifFileWriter", "federalEFile");
    }
    return &*federalEFile_;
}

// ------------------------------------------------------------- conversion

const DataMgmt::TaxReturn* TifFileWriter::returnFor(const FormId& form) const {
    return form.isState() ? state_.get() : federal_.get();
}

void TifFileWriter::clean(const DataMgmt::TifFieldDescriptor& d, DataMgmt::TaxFormPtr copy, std::string& value) {
    using DataMgmt::TifCleaning;
    switch (d.cleaning) {
        case TifCleaning::String:
            tifStringCleanDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::Name:
            tifCleanNameStringDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::Address:
            tifCleanAddressStringDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::Date:
            tifReformatDateDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::None:
            tifNoCleanDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::EditCode:
            tifCleanByEditCodeDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::Phone:
            tifReformatPhoneDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::AlphaSpace:
            tifCleanAllAlphaSpaceStringDispatch(copy, d.form, d.field, value);
            break;
        case TifCleaning::Format:
            tifFormatValue(value, d.formatCode);
            break;
    }
}

void TifFileWriter::convertTIFForm(bool /*notForm131*/, const FormId& form, std::uint16_t copyNumber,
                                   DataMgmt::TaxFormPtr copy, unsigned short runningNumber) {
    outputFormRecordLine(form, runningNumber);
    // The list stays alive for the walk even if a hook replaces the current one.
    const DataMgmt::TifFieldDescriptorListPtr list = tifFieldDescriptors;
    if (list.isNull()) {
        return;
    }
    for (const DataMgmt::TifFieldDescriptor& d : *list) {
        DataMgmt::TaxFormPtr source = copy;
        std::uint16_t sourceCopy = copyNumber;
        std::string value;
        if (d.form == form) {
            value = copy.isNull() ? std::string() : copy->valueString(d.field);
        } else {
            const DataMgmt::TaxReturn* r = returnFor(d.form);
            sourceCopy = 1;
            source = r != nullptr ? r->getForm(d.form, 1) : DataMgmt::TaxFormPtr();
            value = source.isNull() ? std::string() : source->valueString(d.field);
        }
        // A text in its e-file form, as every line that carries it writes it;
        // an amount or box as the descriptor cleans it.
        const LineSource line(*this, d.form, sourceCopy, d.field);
        value = eFileForm(fieldDescription(d.form, d.field).get(), value, d.key, true);
        clean(d, source, value);
        std::string key = d.key;
        convertTifField(source, d.form, sourceCopy, d.field, key, value);
    }
}

// ------------------------------------------------------- e-file form

std::string TifFileWriter::eFileText(const DataMgmt::FormFieldDesc& field, const std::string& text) {
    std::string value = text;
    if (field.isDate()) {
        tifReformatDate(value);
        return value;
    }
    switch (field.getContent()) {
        case DataMgmt::FieldContent::WrittenNumber:
            // Its dashes told its kind when it was read; the e-file writes
            // every number as its digits.
            std::erase_if(value, [](char c) { return c < '0' || c > '9'; });
            break;
        case DataMgmt::FieldContent::Name:
            Utils::tifCleanNameString(value);
            break;
        case DataMgmt::FieldContent::Address:
            Utils::tifCleanAddressString(value);
            break;
        default:
            tifStringClean(value);
            break;
    }
    return value;
}

DataMgmt::FormFieldDescPtr TifFileWriter::fieldDescription(const FormId& form, const FieldId& field) const {
    const DataMgmt::TaxReturn* r = returnFor(form);
    const DataMgmt::TaxFormDescPtr desc = r != nullptr ? r->getTaxFormDescriptor(form) : DataMgmt::TaxFormDescPtr();
    return desc.isNull() ? DataMgmt::FormFieldDescPtr() : desc->getFieldDesc(field);
}

std::string TifFileWriter::eFileForm(const DataMgmt::FormFieldDesc* field, const std::string& stored,
                                     const std::string& key, bool untilWritten) {
    const Utils::PlainText plain = Utils::plainText(stored);
    std::string fault = plain.leftOut ? cannotCarry(*plain.leftOut) : std::string();
    const bool text = field != nullptr && field->isText();
    std::string value = text ? eFileText(*field, plain.text) : plain.text;
    if (fault.empty() && text && value.empty() && !Utils::strip(stored).empty()) {
        fault = emptiedFault(*field);
    }
    if (!fault.empty() && (!untilWritten || value.empty())) {
        recordWrongEntry(key, stored, fault);
    } else if (!fault.empty()) {
        lineSource_.value = stored;  // a wrong entry once its line is written (writeLine)
        lineSource_.fault = fault;
    }
    return value;
}

std::string TifFileWriter::eFileValue(const FormId& form, std::uint16_t copy, const FieldId& field,
                                      const std::string& key) {
    const DataMgmt::TaxReturn* r = returnFor(form);
    if (r == nullptr) return {};
    return eFileForm(fieldDescription(form, field).get(), r->formString(form, copy, field), key, false);
}

std::string TifFileWriter::streetWithApartment(const FormId& form, std::uint16_t copy, const FieldId& street,
                                               const FieldId& apartment, const std::string& key) {
    std::string line = eFileValue(form, copy, street, key);
    const LineSource source(*this, form, copy, apartment);
    const std::string rest = eFileValue(form, copy, apartment, key);
    return line.empty() || rest.empty() ? line + rest : line + " " + rest;
}

// --------------------------------------------------------- line primitives

TifFileWriter::LineSource::LineSource(TifFileWriter& writer, const FormId& form, std::uint16_t copy,
                                      const FieldId& field)
    : writer_(writer), previous_(writer.lineSource_) {
    writer_.lineSource_ = WrongEntry();
    writer_.lineSource_.form = form;
    writer_.lineSource_.copy = copy;
    writer_.lineSource_.field = field;
}

TifFileWriter::LineSource::~LineSource() { writer_.lineSource_ = previous_; }

bool TifFileWriter::isEntry(const WrongEntry& e) const {
    const DataMgmt::TaxReturn* r = e.form.isNullID() ? nullptr : returnFor(e.form);
    const DataMgmt::TaxFormDescPtr form = r != nullptr ? r->getTaxFormDescriptor(e.form) : DataMgmt::TaxFormDescPtr();
    const DataMgmt::FormFieldDescPtr field = form.isNull() ? DataMgmt::FormFieldDescPtr() : form->getFieldDesc(e.field);
    if (field.isNull()) return false;
    const DataMgmt::TaxFormPtr copy = r->getForm(e.form, e.copy);
    return !field->isCalculated() || (!copy.isNull() && copy->isOverridden(e.field));
}

void TifFileWriter::recordWrongEntry(const std::string& key, const std::string& value, const std::string& fault) {
    WrongEntry found = lineSource_;
    found.key = key;
    found.value = value;
    found.fault = fault;
    // A value that the calculation copies onto several forms is one wrong
    // entry: named where it is entered, else where it is written first. Two
    // entries of the same value are two.
    const bool entry = isEntry(found);
    for (WrongEntry& kept : wrongEntries_) {
        const bool sameField =
            !found.form.isNullID() && kept.form == found.form && kept.copy == found.copy && kept.field == found.field;
        if (sameField && kept.fault == fault) return;
        if (kept.value != value || kept.fault != fault) continue;
        const bool keptEntry = isEntry(kept);
        if (entry && keptEntry) continue;
        if (entry) kept = found;
        return;
    }
    wrongEntries_.push_back(std::move(found));
}

void TifFileWriter::writeLine(const std::string& key, const std::string& value, bool upperCase) {
    const Utils::PlainText plain = Utils::plainText(value);
    if (plain.leftOut) {
        recordWrongEntry(key, value, cannotCarry(*plain.leftOut));
    } else if (!lineSource_.fault.empty() && !value.empty()) {
        recordWrongEntry(key, lineSource_.value, lineSource_.fault);  // left out before the cleaning
    }
    // Upper-cased once its letters are plain (é as E).
    std::string written = Utils::strip(plain.text);
    if (upperCase) Utils::setUpCase(written);
    if (!written.empty()) {
        tifFile.putPCLine(key + " " + written);
    }
}

bool TifFileWriter::EFileLines::putPCLine(const std::string& line) {
    const bool printable = std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
    if (printable) return file_.putPCLine(line);
    const Utils::PlainText plain = Utils::plainText(line);
    if (plain.leftOut) {
        const std::size_t blank = line.find(' ');
        const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        writer_.recordWrongEntry(line.substr(0, blank), value, cannotCarry(*plain.leftOut));
    }
    return file_.putPCLine(plain.text);
}

void TifFileWriter::outputValueSet() { callLog_.push_back({TifCall::Kind::ValueSet, "", "", false}); }

void TifFileWriter::outputTifSubHead(const std::string& name, std::uint16_t number, bool flag) {
    callLog_.push_back({TifCall::Kind::SubHead, name, std::to_string(number), flag});
    tifFile.putPCLine("D " + Utils::padStr(name, 10) + " " + Utils::xstrPadLeftZeros(number, 3) + " X T " +
                      (flag ? "1" : " "));
}

void TifFileWriter::outputTifLine(const std::string& key, const std::string& text, bool flag) {
    callLog_.push_back({TifCall::Kind::Line, key, text, flag});
    writeLine(key, text, true);
}

void TifFileWriter::outputTifLine(const std::string& key, std::int64_t number, bool flag) {
    outputTifLine(key, std::to_string(number), flag);
}

void TifFileWriter::outputTifLine(const std::string& key, const FormId& form, std::uint16_t copy, const FieldId& field,
                                  bool flag) {
    const LineSource line(*this, form, copy, field);
    outputTifLine(key, eFileValue(form, copy, field, key), flag);
}

void TifFileWriter::outputTifLineMixedCase(const std::string& key, const std::string& text, bool flag) {
    callLog_.push_back({TifCall::Kind::Line, key, text, flag});
    writeLine(key, text, false);
}

void TifFileWriter::outputTifLineCB(const std::string& key, const FormId& form, std::uint16_t copy,
                                    const FieldId& field, const std::string& text, bool flag) {
    const DataMgmt::TaxReturn* r = returnFor(form);
    if (r != nullptr && r->formYes(form, copy, field)) {
        outputTifLine(key, text, flag);
    }
}

// ---------------------------------------------------------------- cleaners

void TifFileWriter::tifStringClean(std::string& value) {
    std::string out;
    bool blankPending = false;
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank && (u < 0x20 || u == 0x7F)) {
            continue;
        }
        if (blank) {
            blankPending = !out.empty();
            continue;
        }
        if (blankPending) {
            out += ' ';
            blankPending = false;
        }
        out += c;
    }
    value = out;
}

void TifFileWriter::tifCleanAddressString(std::string& value) { Utils::tifCleanAddressString(value); }

void TifFileWriter::tifReformatDate(std::string& value) {
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(value, year, month, day)) {
        value.clear();
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", static_cast<unsigned>(year), static_cast<unsigned>(month),
                  static_cast<unsigned>(day));
    value = text;
}

void TifFileWriter::tifReformatPhone(std::string& value) {
    std::string digits;
    for (const char c : value) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    value = digits;
}

void TifFileWriter::tifConvertPercentToDecimal(std::string& value, int digits, int /*unused*/) {
    const std::string text = Utils::strip(value);
    if (text.empty()) {
        return;
    }
    errno = 0;
    char* end = nullptr;
    const double percent = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(percent)) {
        return;
    }
    char out[64];
    std::snprintf(out, sizeof out, "%.*f", digits < 0 ? 0 : digits, percent / 100.0);
    value = out;
}

// ------------------------------------------------------ office numbers

void TifFileWriter::tifGetDistrictNum(std::string& out) const {
    out = configuration_ != nullptr ? configuration_->tifDistrictNumber : std::string();
}

void TifFileWriter::tifGetOfficeNum(std::string& out) const {
    out = configuration_ != nullptr ? configuration_->tifOfficeNumber : std::string();
}

void TifFileWriter::tifGetServiceCenter(std::string& out) const {
    out = configuration_ != nullptr ? configuration_->tifServiceCenter : std::string();
}

}  // namespace TifWriteMgmt
