// The field-value import: a text file of lines FORM::COPY::FIELD::VALUE,
// each applied through the test-value setter.
#include <algorithm>
#include <cstdlib>
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
        std::string copies = fields[1];
        const std::string& value = fields[3];
        // "N+" stands for copies 1 to N, "N" for copy N alone.
        const bool range = copies.back() == '+';
        if (range) {
            copies.pop_back();
        }
        const int count = std::atoi(copies.c_str());
        const FormId* form = names.findForm(formName);
        if (form == nullptr) {
            continue;
        }
        names.addFormFields(formName);
        const FieldId* field = names.findField(TestFieldNames::fieldKey(formName, fields[2]));
        if (field == nullptr) {
            continue;
        }
        if (!range) {
            setFieldTestValue(*form, count, *field, value, taxReturn, false);
            continue;
        }
        // No copy lies past the form's copy limit.
        const int last = std::min<int>(count, taxReturn->getMaxCopies(*form));
        for (int copy = 1; copy <= last; ++copy) {
            setFieldTestValue(*form, copy, *field, value, taxReturn, false);
        }
    }
}

}  // namespace StateCalculationMgmt
