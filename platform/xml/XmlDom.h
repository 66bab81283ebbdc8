// The host's XML tree: a document read from a file, its nodes, their child
// lists and attribute maps.
//
// A thin layer over libxml2's tree. Elements, attributes, text, CDATA
// sections, comments, processing instructions and entity references are the
// nodes libxml2 builds; nothing is parsed here by hand. The predefined
// entities and character references are replaced by libxml2; a reference to
// an entity declared in the document's internal subset stays an entity
// reference node among the children, and reads as its replacement text in
// an attribute value and in a node's text. External entities and DTDs are
// never fetched.
//
// Every node, list and map keeps the document alive: a handle taken from a
// document stays valid after the reader that loaded it is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Primitives.h"

struct _xmlDoc;
struct _xmlNode;

namespace XmlDom {

namespace detail {
struct Document;
}  // namespace detail

// Kind of a node. Element is 0, as the readers of the test files expect.
enum NodeType : std::int32_t {
    kElementNode = 0,
    kAttributeNode = 1,
    kTextNode = 2,
    kCDataSectionNode = 3,
    kEntityReferenceNode = 4,
    kProcessingInstructionNode = 5,
    kCommentNode = 6,
    kOtherNode = 7,  // anything else libxml2 may hang into a tree
};

class XmlNode;
class XmlNodeList;
class XmlNamedNodeMap;

SMARTPOINTERS_NAMED_HANDLE(XmlNodePtr, XmlNode);
SMARTPOINTERS_NAMED_HANDLE(XmlNamedNodeMapPtr, XmlNamedNodeMap);
using XmlNodeListPtr = SmartPointers::CountedPtr<XmlNodeList>;

// One node of a document.
class XmlNode {
public:
    XmlNode(std::shared_ptr<const detail::Document> document, _xmlNode* node);
    virtual ~XmlNode();
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    // The element's or attribute's name with its prefix ("p:name" when it
    // has one), the processing instruction's target, the entity's name;
    // "#text", "#cdata-section" and "#comment" for those nodes.
    std::string getName() const;
    NodeType getNodeType() const;
    // The text of the node and everything below it, CDATA and entity
    // replacement text included, as libxml2 joins it.
    std::string getText() const;
    // The children in document order (attributes are not children).
    XmlNodeListPtr getChildNodes() const;
    // The attributes of an element; an empty map for any other node.
    XmlNamedNodeMapPtr getAttributes() const;
    // The line of the node in its file (0 when libxml2 does not know it).
    long getLineNumber() const;

protected:
    std::shared_ptr<const detail::Document> document_;
    _xmlNode* node_;
};

// An attribute node; its value is the attribute's text with entity and
// character references replaced.
class XmlAttribute : public XmlNode {
public:
    using XmlNode::XmlNode;
    Primitives::StringPtr getValue() const;
};

// The children of a node, in document order, as they were when the list was
// taken.
class XmlNodeList {
public:
    XmlNodeList(std::shared_ptr<const detail::Document> document, _xmlNode* parent);
    virtual ~XmlNodeList();
    long length() const;
    // The node at place i (from 0); an empty handle outside the list.
    XmlNodePtr item(long i) const;

private:
    std::shared_ptr<const detail::Document> document_;
    std::vector<_xmlNode*> nodes_;
};

// The attributes of an element, in document order.
class XmlNamedNodeMap {
public:
    XmlNamedNodeMap(std::shared_ptr<const detail::Document> document, _xmlNode* element);
    virtual ~XmlNamedNodeMap();
    long length() const;
    XmlNodePtr item(long i) const;
    // The attribute of that name (compared exactly, prefix included), as an
    // XmlAttribute; an empty handle when the element has none.
    XmlNodePtr getNamedItem(const std::string& name) const;

private:
    std::shared_ptr<const detail::Document> document_;
    std::vector<_xmlNode*> attributes_;
};

// A parsed document; empty until a reader loads one.
class XmlDocument {
public:
    XmlDocument() = default;
    explicit XmlDocument(std::shared_ptr<const detail::Document> document);
    // The root element; an empty handle for an empty document.
    XmlNodePtr getDocumentElement() const;

private:
    std::shared_ptr<const detail::Document> document_;
};

// Parses an XML text with libxml2 into a document: never fetches anything
// from the network, never loads external entities or DTDs. A text that is
// not well-formed gives an empty document, and so does an empty text.
XmlDocument parseDocument(const std::string& text, const std::string& displayName);

}  // namespace XmlDom

namespace PersistanceMgmt {

// Loads an XML file into a tree.
class XmlTextReader {
public:
    XmlTextReader() = default;
    virtual ~XmlTextReader() = default;

    // Reads the file whole, as IOMgmt::readWholeFile reads it within
    // kDefaultReadLimit, and parses it. False, leaving an empty document (no
    // root element), when the file cannot be read or is not well-formed XML.
    bool loadXml(const std::string& file);
    const XmlDom::XmlDocument& getXmlDocument() const { return document_; }

private:
    XmlDom::XmlDocument document_;
};

}  // namespace PersistanceMgmt
