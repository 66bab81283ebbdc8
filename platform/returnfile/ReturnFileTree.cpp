// A return file's document as its reader walks it: the tree, and the copy of
// libxml2's tree for a document that is not plain.
#include "platform/returnfile/ReturnFileTree.h"

namespace PersistanceMgmt::detail {

namespace {

std::string_view viewOf(const xmlChar* s) {
    return s == nullptr ? std::string_view() : reinterpret_cast<const char*>(s);
}

}  // namespace

XmlTree::XmlTree() { clear(); }

XmlTree::~XmlTree() = default;

void XmlTree::clear() {
    nodes_.clear();
    nodes_.emplace_back();  // place 0: none
    attributes_.clear();
    kept_.clear();
    doc_.reset();
    root_ = 0;
    hasDocumentType_ = false;
}

std::size_t XmlTree::elementCount(const XmlNode& node) const {
    std::size_t n = 0;
    for (const XmlNode& c : children(node)) n += c.isElement() ? 1 : 0;
    return n;
}

std::uint32_t XmlTree::add(const XmlNode& node, std::uint32_t parent) {
    const auto at = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(node);
    if (parent == 0) {
        root_ = at;
    } else {
        XmlNode& p = nodes_[parent];
        if (p.lastChild == 0) {
            p.firstChild = at;
        } else {
            nodes_[p.lastChild].next = at;
        }
        p.lastChild = at;
    }
    return at;
}

std::string_view XmlTree::keep(std::string text) { return kept_.emplace_back(std::move(text)); }

void XmlTree::copyOf(xmlDoc* doc) {
    clear();
    doc_.reset(doc);
    hasDocumentType_ = doc->intSubset != nullptr || doc->extSubset != nullptr;
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (root != nullptr) copyNode(root, 0);
}

// Copies an element with what it holds, or a text, CDATA section or entity
// reference; other nodes are left out (0).
std::uint32_t XmlTree::copyNode(const xmlNode* from, std::uint32_t parent) {
    XmlNode node;
    node.line = static_cast<int>(xmlGetLineNo(from));
    switch (from->type) {
        case XML_ELEMENT_NODE:
            node.kind = XmlNode::Kind::Element;
            node.name = viewOf(from->name);
            node.inNamespace = from->ns != nullptr;
            if (from->ns != nullptr) node.nsUri = viewOf(from->ns->href);
            break;
        case XML_TEXT_NODE:
            node.kind = XmlNode::Kind::Text;
            node.text = viewOf(from->content);
            break;
        case XML_CDATA_SECTION_NODE:
            node.kind = XmlNode::Kind::CData;
            node.text = viewOf(from->content);
            break;
        case XML_ENTITY_REF_NODE:
            node.kind = XmlNode::Kind::EntityReference;
            break;
        default:
            return 0;
    }
    if (node.isElement()) {
        node.firstAttribute = static_cast<std::uint32_t>(attributes_.size());
        for (const xmlAttr* a = from->properties; a != nullptr; a = a->next) {
            xmlChar* value = xmlNodeListGetString(from->doc, a->children, 1);
            attributes_.push_back({viewOf(a->name), keep(std::string(viewOf(value)))});
            xmlFree(value);
            ++node.attributeCount;
        }
    }
    const std::uint32_t at = add(node, parent);
    if (node.isElement()) {
        for (const xmlNode* c = from->children; c != nullptr; c = c->next) copyNode(c, at);
    }
    return at;
}

}  // namespace PersistanceMgmt::detail
