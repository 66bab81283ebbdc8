#include "platform/xml/XmlParser.h"

#include <utility>

#include "platform/util/Utils.h"

namespace PersistanceMgmt {

namespace {

// The occurrence-th element named key at or below node, in document order;
// counts down the occurrences passed on the way.
XmlDom::XmlNodePtr findElement(const XmlDom::XmlNodePtr& node, const std::string& key, int& occurrence) {
    if (node->getName() == key && --occurrence == 0) {
        return node;
    }
    const XmlDom::XmlNodeListPtr children = node->getChildNodes();
    for (long i = 0; i < children->length(); ++i) {
        const XmlDom::XmlNodePtr child = children->item(i);
        if (child->getNodeType() != XmlDom::kElementNode) {
            continue;
        }
        XmlDom::XmlNodePtr found = findElement(child, key, occurrence);
        if (!found.isNull()) {
            return found;
        }
    }
    return XmlDom::XmlNodePtr();
}

}  // namespace

bool XMLParser::open(const IOMgmt::FileNamePtr& file, enum_xml_open mode) {
    close();
    if (file.isNull() || mode != kXmlOpenRead) {
        return false;
    }
    IOMgmt::WholeFile whole = IOMgmt::readWholeFile(file->getPath(), IOMgmt::kDefaultReadLimit);
    if (!whole.ok) {
        return false;
    }
    text_ = std::move(whole.bytes);
    return true;
}

bool XMLParser::readXmlIntoMemory(std::string& doc, bool /*wholeFile*/) {
    doc.clear();
    if (!text_) {
        return false;
    }
    doc = *text_;
    return true;
}

bool XMLParser::extractXmlSubstring(std::string& value, const std::string& doc, const std::string& key, int occurrence,
                                    bool trim) {
    value.clear();
    if (!parsed_ || doc != parsedText_) {
        parsedDocument_ = XmlDom::parseDocument(doc, "option file");
        parsedText_ = doc;
        parsed_ = true;
    }
    const XmlDom::XmlNodePtr root = parsedDocument_.getDocumentElement();
    if (root.isNull() || occurrence < 1) {
        return false;
    }
    const XmlDom::XmlNodePtr element = findElement(root, key, occurrence);
    if (element.isNull()) {
        return false;
    }
    value = element->getText();
    if (trim) {
        value = *Utils::QVStringUtils::trimString(value, true, true);
    }
    return true;
}

void XMLParser::close() { text_.reset(); }

}  // namespace PersistanceMgmt
