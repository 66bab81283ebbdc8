// The field-group scrubber: overwrites, from a FIELDGROUPS file, the fields
// of one entity's group that hold a value.
//
//   <FIELDGROUPS>
//     <FIELDGROUP ENTITY="GA">
//       <FIELDREF FORM="GA69" COPY="*" FIELD="kGA69_TPLast" VALUE="NULLSTR"/>
//     </FIELDGROUP>
//   </FIELDGROUPS>
//
// Element and attribute names are compared exactly. FIELD is the symbolic
// name itself; COPY "*" stands for every copy of the form; VALUE "NULLSTR"
// for the empty value, which clears the field. Another COPY is the copy of
// that number (TestFieldNames.h); one that is no copy of the form is not
// set, with a note.
#include <optional>

#include "module/autotest/TestFieldNames.h"
#include "module/autotest/TestFiles.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/Exceptions.h"
#include "platform/xml/XmlDom.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kEveryCopy = "*";
constexpr const char* kEmptyValueWord = "NULLSTR";

}  // namespace

void StateTaxReturnCalcEngine::scrubFieldGroups(const std::string& entity, const std::string& fileName,
                                                DataMgmt::TaxReturn* taxReturn, const FormId& markForm,
                                                const FieldId& markField) {
    if (taxReturn == nullptr) {
        throw Exceptions::QuarloException("the return is missing", "StateTaxReturnCalcEngine", "scrubFieldGroups");
    }
    const XmlDom::XmlDocument document = loadTestXml(fileName, "the field-group file");
    const XmlDom::XmlNodePtr root = document.getDocumentElement();
    if (root.isNull()) {
        return;  // nothing to scrub, and the mark stays clear
    }
    std::vector<FieldGroupRow> rows;
    parseFieldGroups(root, entity, &rows);

    TestFieldNames names(*taxReturn);
    for (const FieldGroupRow& row : rows) {
        const FormId* form = names.findForm(row.form);
        if (form == nullptr) {
            continue;  // a row on a form the return does not have
        }
        names.addFormFields(row.form);
        const FieldId* field = names.findField(row.field);
        const DataMgmt::FormFieldDescPtr desc =
            field == nullptr ? DataMgmt::FormFieldDescPtr() : describedField(*taxReturn, *form, *field);
        if (desc.isNull()) {
            continue;  // no field of the form
        }
        const std::string value = row.value == kEmptyValueWord ? std::string() : row.value;
        if (row.copy != kEveryCopy) {
            std::string problem;
            const std::optional<std::uint16_t> copy = readCopyNumber(*taxReturn, *form, row.copy, problem);
            if (copy) {
                setFieldTestValue(*form, *copy, *field, value, taxReturn, true);
            } else {
                noteValueNotSet(*taxReturn, *form, row.copy, *desc, problem);
            }
            continue;
        }
        for (std::uint16_t copy : taxReturn->copyNumbers(*form)) {
            setFieldTestValue(*form, copy, *field, value, taxReturn, true);
        }
    }
    taxReturn->getFormOrCreate(markForm, 1)->setX(markField);
}

void StateTaxReturnCalcEngine::parseFieldGroups(const XmlDom::XmlNodePtr& node, const std::string& entity,
                                                std::vector<FieldGroupRow>* rows) {
    const std::string name = node->getName();
    if (name == "FIELDGROUPS") {
        walkFieldGroups(node, entity, rows);
    } else if (name == "FIELDGROUP") {
        // Of two groups of the entity, the last one counts.
        if (getXmlAttribute(node->getAttributes(), "ENTITY") == entity) {
            rows->clear();
            walkFieldGroups(node, entity, rows);
        }
    } else if (name == "FIELDREF") {
        const XmlDom::XmlNamedNodeMapPtr attributes = node->getAttributes();
        rows->push_back({getXmlAttribute(attributes, "FORM"), getXmlAttribute(attributes, "COPY"),
                         getXmlAttribute(attributes, "FIELD"), getXmlAttribute(attributes, "VALUE")});
    }
}

void StateTaxReturnCalcEngine::walkFieldGroups(const XmlDom::XmlNodePtr& node, const std::string& entity,
                                               std::vector<FieldGroupRow>* rows) {
    const XmlDom::XmlNodeListPtr children = node->getChildNodes();
    for (long i = 0; i < children->length(); ++i) {
        const XmlDom::XmlNodePtr child = children->item(i);
        if (child->getNodeType() == XmlDom::kElementNode) {
            parseFieldGroups(child, entity, rows);
        }
    }
}

std::string StateTaxReturnCalcEngine::getXmlAttribute(const XmlDom::XmlNamedNodeMapPtr& attributes,
                                                      const std::string& name) {
    if (attributes.isNull()) {
        return std::string();
    }
    const XmlDom::XmlNodePtr node = attributes->getNamedItem(name);
    const auto* attribute = dynamic_cast<const XmlDom::XmlAttribute*>(node.get());
    return attribute == nullptr ? std::string() : *attribute->getValue();
}

}  // namespace StateCalculationMgmt
