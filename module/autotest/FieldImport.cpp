// The field-value import: a text file of lines FORM::COPY::FIELD::VALUE,
// each applied through the test-value setter.
#include <optional>
#include <vector>

#include "module/autotest/TestFieldNames.h"
#include "module/autotest/TestFiles.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/Exceptions.h"

namespace StateCalculationMgmt {

namespace {

constexpr std::size_t kImportFieldCount = 4;

// The fields of an import line. Any run of ':' separates two fields, so no
// field is empty and a value holds no colon; what follows the fourth field
// is not read.
std::vector<std::string> splitImportLine(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = line.find_first_not_of(':');
    while (start != std::string::npos && fields.size() < kImportFieldCount) {
        const std::size_t end = line.find(':', start);
        fields.push_back(line.substr(start, end - start));
        start = line.find_first_not_of(':', end);
    }
    return fields;
}

}  // namespace

void StateTaxReturnCalcEngine::importFieldValues(const std::string& fileName, DataMgmt::TaxReturn* taxReturn) {
    if (taxReturn == nullptr) {
        throw Exceptions::QuarloException("the return is missing", "StateTaxReturnCalcEngine", "importFieldValues");
    }
    const std::optional<std::vector<std::string>> lines = readTestFileLines(fileName, "the field-value import file");
    if (!lines) {
        return;
    }
    TestFieldNames names(*taxReturn);
    for (const std::string& line : *lines) {
        const std::vector<std::string> fields = splitImportLine(line);
        if (fields.size() < kImportFieldCount) {
            continue;  // a line without its four fields names no value
        }
        const std::string& formName = fields[0];
        const std::string& value = fields[3];
        const FormId* form = names.findForm(formName);
        if (form == nullptr) {
            continue;
        }
        names.addFormFields(formName);
        const FieldId* field = names.findField(TestFieldNames::fieldKey(formName, fields[2]));
        const DataMgmt::FormFieldDescPtr desc =
            field == nullptr ? DataMgmt::FormFieldDescPtr() : describedField(*taxReturn, *form, *field);
        if (desc.isNull()) {
            continue;
        }
        // "N+" stands for copies 1 to N, "N" for copy N alone; N is a copy
        // of the form.
        const std::string& copies = fields[1];
        const bool range = copies.back() == '+';
        std::string problem;
        const std::optional<std::uint16_t> count =
            readCopyNumber(*taxReturn, *form, range ? copies.substr(0, copies.size() - 1) : copies, problem);
        if (!count) {
            noteValueNotSet(*taxReturn, *form, copies, *desc, problem);
            continue;
        }
        for (int copy = range ? 1 : *count; copy <= *count; ++copy) {
            setFieldTestValue(*form, copy, *field, value, taxReturn, false);
        }
    }
}

}  // namespace StateCalculationMgmt
