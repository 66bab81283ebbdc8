// The field-relation tester. A relations file lists relations, each with
// input fields and the values to put into them and expected fields with the
// values the calculation should give:
//
//   <RELATIONS>
//     <RELATION>
//       <FIELD FORM="GA70" COPY="1" NAME="F83" VALUE="20000" TYPE="InputOverride"/>
//       <FIELD FORM="GA70" COPY="1" NAME="F84" VALUE="1035"/>
//     </RELATION>
//   </RELATIONS>
//
// For each relation the tester writes the inputs, recalculates the whole
// return twice and appends one line to the result file: the input values,
// then for each expected field its expected value, "|", the value it holds
// now and its kind in brackets ("B" box, "T" text, "N" other), all joined by
// "::". The line does not judge; the reader compares the columns.
#include "module/autotest/FieldRelations.h"

#include <optional>
#include <sstream>

#include "module/autotest/TestFiles.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/Exceptions.h"
#include "platform/util/Utils.h"
#include "platform/xml/XmlDom.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kInputType = "Input";
// An input that also stays overridden while the return is recalculated.
constexpr const char* kInputOverrideType = "InputOverride";

void writeEntry(FieldRelationRun& run, const std::string& entry) {
    if (!run.firstEntry) {
        run.result << "::";
    }
    run.result << entry;
    run.firstEntry = false;
}

// Marks an input field overridden or takes the mark away; nothing for a
// record that names no field of its form or a copy that cannot exist.
void setOverridden(const FieldRelationRun& run, const FieldRelationRecord& record, bool overridden) {
    if (describedField(*run.taxReturn, record.form, record.field).isNull()) {
        return;
    }
    DataMgmt::TaxFormPtr copy = run.taxReturn->getFormOrCreate(record.form, record.copy);
    if (!copy.isNull()) {
        copy->getField(record.field)->setOverridden(overridden);
    }
}

// Clears the trigger box and takes the override marks of the inputs away.
void releaseMarks(const FieldRelationRun& run, DataMgmt::TaxFormPtr trigger) {
    trigger->setXNo(run.triggerField);
    for (const FieldRelationRecord& input : run.inputs) {
        if (input.type == kInputOverrideType) {
            setOverridden(run, input, false);
        }
    }
}

void applyInputs(StateTaxReturnCalcEngine& engine, FieldRelationRun& run) {
    for (const FieldRelationRecord& input : run.inputs) {
        engine.setFieldTestValue(input.form, input.copy, input.field, input.value, run.taxReturn, false);
        if (input.type == kInputOverrideType) {
            setOverridden(run, input, true);
        }
        writeEntry(run, input.value);
    }
}

// Two whole-return calculations with the trigger box ticked, so that the
// calculations this one starts do not start the test driver again. The box
// and the override marks are put back whichever way the calculation ends.
void recalculateUnderTrigger(StateTaxReturnCalcEngine& engine, const FieldRelationRun& run) {
    DataMgmt::TaxFormPtr trigger = run.taxReturn->getFormOrCreate(run.triggerForm, 1);
    trigger->setX(run.triggerField);
    try {
        engine.calculateReturn(0);
        engine.calculateReturn(0);
    } catch (...) {
        releaseMarks(run, trigger);
        throw;
    }
    releaseMarks(run, trigger);
}

// The kind letter of a field's description; "N" without one.
char kindLetter(const DataMgmt::FormFieldDescPtr& desc) {
    if (desc.isNull()) {
        return 'N';
    }
    return desc->isBoolean() ? 'B' : (desc->isText() ? 'T' : 'N');
}

// The value an expected field holds, trimmed; empty for a record that names
// no field of its form or a copy that does not exist.
std::string computedValue(const FieldRelationRun& run, const FieldRelationRecord& record) {
    if (describedField(*run.taxReturn, record.form, record.field).isNull()) {
        return std::string();
    }
    DataMgmt::TaxFormPtr copy = run.taxReturn->getForm(record.form, record.copy);
    if (copy.isNull()) {
        return std::string();
    }
    return *Utils::QVStringUtils::trimString(*copy->getField(record.field)->getValueText(true), true, true);
}

void writeExpected(FieldRelationRun& run) {
    for (const FieldRelationRecord& expected : run.expected) {
        const char kind = kindLetter(describedField(*run.taxReturn, expected.form, expected.field));
        writeEntry(run, expected.value + "|" + computedValue(run, expected) + "[" + kind + "]");
    }
}

void runRelation(StateTaxReturnCalcEngine& engine, const XmlDom::XmlNodePtr& relation, FieldRelationRun& run) {
    run.inputs.clear();
    run.expected.clear();
    engine.processChildNodes(relation, run);
    run.firstEntry = true;
    applyInputs(engine, run);
    recalculateUnderTrigger(engine, run);
    writeExpected(run);
    run.result << '\n';
}

// The copy a FIELD names by its COPY; 0, no copy, for a number that is no
// copy of the form, which an input's note tells (it is not set).
std::uint16_t recordCopy(const FieldRelationRun& run, const FormId* form, const FieldId* field, const std::string& text,
                         bool input) {
    std::string problem;
    const std::optional<std::uint16_t> copy =
        form == nullptr ? std::nullopt : readCopyNumber(*run.taxReturn, *form, text, problem);
    const DataMgmt::FormFieldDescPtr desc = form == nullptr || field == nullptr
                                                ? DataMgmt::FormFieldDescPtr()
                                                : describedField(*run.taxReturn, *form, *field);
    if (!copy && input && !desc.isNull()) {
        noteValueNotSet(*run.taxReturn, *form, text, *desc, problem);
    }
    return copy.value_or(0);
}

void addRecord(StateTaxReturnCalcEngine& engine, const XmlDom::XmlNodePtr& node, FieldRelationRun& run) {
    const XmlDom::XmlNamedNodeMapPtr attributes = node->getAttributes();
    const std::string formName = engine.getXmlAttribute(attributes, "FORM");
    const std::string type = engine.getXmlAttribute(attributes, "TYPE");
    const bool input = type == kInputType || type == kInputOverrideType;
    const FormId* form = run.names.findForm(formName);
    const FieldId* field =
        run.names.findField(TestFieldNames::fieldKey(formName, engine.getXmlAttribute(attributes, "NAME")));
    FieldRelationRecord record(form != nullptr ? *form : FormId(),
                               recordCopy(run, form, field, engine.getXmlAttribute(attributes, "COPY"), input),
                               field != nullptr ? *field : FieldId(), engine.getXmlAttribute(attributes, "VALUE"),
                               type);
    if (input) {
        run.inputs.push_back(std::move(record));
    } else {
        run.expected.push_back(std::move(record));
    }
}

}  // namespace

void StateTaxReturnCalcEngine::runFieldRelations(const std::string& formsFile, const std::string& relationsFile,
                                                 const std::string& resultFile, DataMgmt::TaxReturn* taxReturn,
                                                 const FormId& triggerForm, const FieldId& triggerField) {
    if (taxReturn == nullptr) {
        throw Exceptions::QuarloException("the return is missing", "StateTaxReturnCalcEngine", "runFieldRelations");
    }
    // The relations change the return: they are not applied when their
    // results could not be kept, or when no field of theirs can be named.
    const std::string resultRole = "the field-relation result file";
    if (!canAppendTestOutput(resultFile, resultRole)) {
        return;
    }
    const std::optional<std::vector<std::string>> forms =
        readTestFileLines(formsFile, "the forms list of the field-relation test");
    if (!forms) {
        return;
    }
    // Each whole line of the forms list names a form, in any case.
    TestFieldNames names(*taxReturn);
    for (const std::string& line : *forms) {
        names.addFormFields(line);
    }
    // The lines of the run are appended together when it ends.
    std::ostringstream result;
    const XmlDom::XmlDocument document = loadTestXml(relationsFile, "the relations file");
    const XmlDom::XmlNodePtr root = document.getDocumentElement();
    if (!root.isNull()) {
        FieldRelationRun run{names, result, taxReturn, triggerForm, triggerField, {}, {}, true};
        processRelationNode(root, run);
    }
    appendTestOutput(resultFile, result.str(), resultRole);
}

void StateTaxReturnCalcEngine::processRelationNode(const XmlDom::XmlNodePtr& node, FieldRelationRun& run) {
    const std::string name = node->getName();
    if (name == "RELATIONS") {
        processChildNodes(node, run);
    } else if (name == "RELATION") {
        runRelation(*this, node, run);
    } else if (name == "FIELD") {
        addRecord(*this, node, run);
    }
}

void StateTaxReturnCalcEngine::processChildNodes(const XmlDom::XmlNodePtr& node, FieldRelationRun& run) {
    const XmlDom::XmlNodeListPtr children = node->getChildNodes();
    for (long i = 0; i < children->length(); ++i) {
        const XmlDom::XmlNodePtr child = children->item(i);
        if (child->getNodeType() == XmlDom::kElementNode) {
            processRelationNode(child, run);
        }
    }
}

}  // namespace StateCalculationMgmt
