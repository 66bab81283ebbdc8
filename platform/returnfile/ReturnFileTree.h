// A return file's document as its reader walks it: the elements, texts,
// CDATA sections and entity references in document order, with the lines
// libxml2 gives them, and the elements' attributes. Comments and processing
// instructions are left out (the reader passes over them).
//
// A plain document (ASCII text, no document type, no entity or character
// reference, no CDATA section, no namespace, no processing instruction
// other than the XML declaration) is read here at once, into nodes that
// point into the document text. Anything else, and anything that may not be
// well-formed, is left to libxml2, whose own tree is then copied: libxml2
// keeps the last word on what is well-formed, on its error messages and
// lines, and on entities. Not for use outside platform/returnfile/.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace PersistanceMgmt::detail {

struct XmlNode {
    enum class Kind : std::uint8_t { Element, Text, CData, EntityReference };

    Kind kind = Kind::Element;
    bool inNamespace = false;  // an element's
    // The line libxml2 gives the node: an element's is where its start tag
    // ends, a text's where its first characters end.
    int line = 0;
    std::string_view name;   // an element's name
    std::string_view nsUri;  // an element's namespace, when inNamespace
    std::string_view text;   // a text's or a CDATA section's characters
    std::uint32_t firstAttribute = 0;
    std::uint32_t attributeCount = 0;
    // Places in the tree's node list; 0 is none (place 0 is never a child).
    std::uint32_t firstChild = 0;
    std::uint32_t lastChild = 0;
    std::uint32_t next = 0;

    bool isElement() const { return kind == Kind::Element; }
};

struct XmlAttribute {
    std::string_view name;  // without a namespace prefix
    std::string_view value;
};

class XmlTree {
public:
    XmlTree();
    ~XmlTree();
    XmlTree(const XmlTree&) = delete;
    XmlTree& operator=(const XmlTree&) = delete;

    // Reads a plain document (see above) that must outlive the tree; false,
    // with the tree left empty, for a document that is not plain.
    bool readPlain(std::string_view document);
    // Copies libxml2's tree of a document; the tree keeps it.
    void copyOf(xmlDoc* doc);

    const XmlNode* root() const { return root_ == 0 ? nullptr : &nodes_[root_]; }
    bool hasDocumentType() const { return hasDocumentType_; }

    // The children of a node, in document order.
    class ChildRange {
    public:
        class iterator {
        public:
            iterator(const XmlTree* tree, std::uint32_t at) : tree_(tree), at_(at) {}
            const XmlNode& operator*() const { return tree_->nodes_[at_]; }
            iterator& operator++() {
                at_ = tree_->nodes_[at_].next;
                return *this;
            }
            bool operator!=(const iterator& o) const { return at_ != o.at_; }

        private:
            const XmlTree* tree_;
            std::uint32_t at_;
        };
        ChildRange(const XmlTree* tree, std::uint32_t first) : tree_(tree), first_(first) {}
        iterator begin() const { return {tree_, first_}; }
        iterator end() const { return {tree_, 0}; }

    private:
        const XmlTree* tree_;
        std::uint32_t first_;
    };
    ChildRange children(const XmlNode& node) const { return {this, node.firstChild}; }
    std::size_t elementCount(const XmlNode& node) const;

    const XmlAttribute* attributesBegin(const XmlNode& element) const {
        return attributes_.data() + element.firstAttribute;
    }
    const XmlAttribute* attributesEnd(const XmlNode& element) const {
        return attributesBegin(element) + element.attributeCount;
    }

private:
    friend class PlainXmlReader;
    struct DocFree {
        void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
    };

    void clear();
    // Adds a node as the last child of parent (0: the root).
    std::uint32_t add(const XmlNode& node, std::uint32_t parent);
    std::uint32_t copyNode(const xmlNode* from, std::uint32_t parent);
    // Keeps a text that is not a part of the document (a normalized or
    // copied value); the deque keeps it where it is.
    std::string_view keep(std::string text);

    std::vector<XmlNode> nodes_;
    std::vector<XmlAttribute> attributes_;
    std::deque<std::string> kept_;
    std::unique_ptr<xmlDoc, DocFree> doc_;
    std::uint32_t root_ = 0;
    bool hasDocumentType_ = false;
};

}  // namespace PersistanceMgmt::detail
