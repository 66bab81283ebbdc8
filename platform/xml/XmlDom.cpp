#include "platform/xml/XmlDom.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>

#include "platform/util/IOMgmt.h"

namespace XmlDom {

namespace detail {

// Owns the libxml2 document for as long as a node, list or map needs it.
struct Document {
    explicit Document(xmlDoc* d) : doc(d) {}
    ~Document() { xmlFreeDoc(doc); }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    xmlDoc* doc;
};

}  // namespace detail

namespace {

struct XmlFree {
    void operator()(xmlChar* p) const { xmlFree(p); }
};
struct ParserContextFree {
    void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};

std::string takeText(xmlChar* text) {
    std::unique_ptr<xmlChar, XmlFree> owned(text);
    return owned ? std::string(reinterpret_cast<const char*>(owned.get())) : std::string();
}

std::string qualifiedName(const xmlNode* node) {
    std::string name = node->name != nullptr ? reinterpret_cast<const char*>(node->name) : "";
    if (node->ns != nullptr && node->ns->prefix != nullptr) {
        name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
    }
    return name;
}

// Parser messages are not the reader's business: a document that is not
// well-formed is simply empty.
void ignoreParserMessage(void* /*context*/, xmlErrorPtr /*error*/) {}

}  // namespace

// ---------------------------------------------------------------- XmlNode

XmlNode::XmlNode(std::shared_ptr<const detail::Document> document, _xmlNode* node)
    : document_(std::move(document)), node_(node) {}

XmlNode::~XmlNode() = default;

std::string XmlNode::getName() const {
    switch (getNodeType()) {
        case kTextNode:
            return "#text";
        case kCDataSectionNode:
            return "#cdata-section";
        case kCommentNode:
            return "#comment";
        default:
            return qualifiedName(node_);
    }
}

NodeType XmlNode::getNodeType() const {
    switch (node_->type) {
        case XML_ELEMENT_NODE:
            return kElementNode;
        case XML_ATTRIBUTE_NODE:
            return kAttributeNode;
        case XML_TEXT_NODE:
            return kTextNode;
        case XML_CDATA_SECTION_NODE:
            return kCDataSectionNode;
        case XML_ENTITY_REF_NODE:
            return kEntityReferenceNode;
        case XML_PI_NODE:
            return kProcessingInstructionNode;
        case XML_COMMENT_NODE:
            return kCommentNode;
        default:
            return kOtherNode;
    }
}

std::string XmlNode::getText() const { return takeText(xmlNodeGetContent(node_)); }

XmlNodeListPtr XmlNode::getChildNodes() const {
    // Only elements have children of their own here: an entity reference's
    // children belong to the entity's declaration.
    return XmlNodeListPtr(new XmlNodeList(document_, getNodeType() == kElementNode ? node_ : nullptr));
}

XmlNamedNodeMapPtr XmlNode::getAttributes() const {
    return XmlNamedNodeMapPtr(new XmlNamedNodeMap(document_, getNodeType() == kElementNode ? node_ : nullptr));
}

long XmlNode::getLineNumber() const { return xmlGetLineNo(node_); }

Primitives::StringPtr XmlAttribute::getValue() const {
    return Primitives::StringPtr(new std::string(takeText(xmlNodeListGetString(node_->doc, node_->children, 1))));
}

// ------------------------------------------------------------ XmlNodeList

XmlNodeList::XmlNodeList(std::shared_ptr<const detail::Document> document, _xmlNode* parent)
    : document_(std::move(document)) {
    if (parent == nullptr) {
        return;
    }
    for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
        nodes_.push_back(child);
    }
}

XmlNodeList::~XmlNodeList() = default;

long XmlNodeList::length() const { return static_cast<long>(nodes_.size()); }

XmlNodePtr XmlNodeList::item(long i) const {
    if (i < 0 || i >= length()) {
        return XmlNodePtr();
    }
    return XmlNodePtr(new XmlNode(document_, nodes_[static_cast<std::size_t>(i)]));
}

// -------------------------------------------------------- XmlNamedNodeMap

XmlNamedNodeMap::XmlNamedNodeMap(std::shared_ptr<const detail::Document> document, _xmlNode* element)
    : document_(std::move(document)) {
    if (element == nullptr) {
        return;
    }
    for (xmlAttr* attribute = element->properties; attribute != nullptr; attribute = attribute->next) {
        attributes_.push_back(reinterpret_cast<xmlNode*>(attribute));
    }
}

XmlNamedNodeMap::~XmlNamedNodeMap() = default;

long XmlNamedNodeMap::length() const { return static_cast<long>(attributes_.size()); }

XmlNodePtr XmlNamedNodeMap::item(long i) const {
    if (i < 0 || i >= length()) {
        return XmlNodePtr();
    }
    return XmlNodePtr(new XmlAttribute(document_, attributes_[static_cast<std::size_t>(i)]));
}

XmlNodePtr XmlNamedNodeMap::getNamedItem(const std::string& name) const {
    for (xmlNode* attribute : attributes_) {
        if (qualifiedName(attribute) == name) {
            return XmlNodePtr(new XmlAttribute(document_, attribute));
        }
    }
    return XmlNodePtr();
}

// ------------------------------------------------------------ XmlDocument

XmlDocument::XmlDocument(std::shared_ptr<const detail::Document> document) : document_(std::move(document)) {}

XmlNodePtr XmlDocument::getDocumentElement() const {
    xmlNode* root = document_ ? xmlDocGetRootElement(document_->doc) : nullptr;
    return root != nullptr ? XmlNodePtr(new XmlNode(document_, root)) : XmlNodePtr();
}

XmlDocument parseDocument(const std::string& text, const std::string& displayName) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return XmlDocument();
    }
    xmlInitParser();
    std::unique_ptr<xmlParserCtxt, ParserContextFree> context(xmlNewParserCtxt());
    if (!context) {
        return XmlDocument();
    }
    context->sax->serror = &ignoreParserMessage;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
    xmlDoc* doc = xmlCtxtReadMemory(context.get(), text.data(), static_cast<int>(text.size()), displayName.c_str(),
                                    nullptr, options);
    if (doc == nullptr) {
        return XmlDocument();
    }
    auto owned = std::make_shared<const detail::Document>(doc);
    if (!context->wellFormed) {
        return XmlDocument();
    }
    return XmlDocument(owned);
}

}  // namespace XmlDom

namespace PersistanceMgmt {

bool XmlTextReader::loadXml(const std::string& file) {
    document_ = XmlDom::XmlDocument();
    const IOMgmt::WholeFile text = IOMgmt::readWholeFile(file, IOMgmt::kDefaultReadLimit);
    if (!text.ok) {
        return false;
    }
    document_ = XmlDom::parseDocument(text.bytes, file);
    return !document_.getDocumentElement().isNull();
}

}  // namespace PersistanceMgmt
