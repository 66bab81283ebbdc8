// The return file's reader: walks a parsed document (ReturnFileTree.h) and
// stages what it holds, collecting every problem found. Shared by
// ReturnFileReader.cpp (the document and its returns), ReturnFileForms.cpp
// (forms, fields and values) and ReturnFileSeeds.cpp (the host's elements).
#pragma once

#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/returnfile/ReturnFileInternal.h"
#include "platform/returnfile/ReturnFileTree.h"
#include "platform/store/FlatIndex.h"

namespace PersistanceMgmt::detail {

// ------------------------------------------------------------ document helpers

inline std::string nodeName(const XmlNode& node) { return std::string(node.name); }

// An element or attribute name as a message shows it.
inline std::string shownName(std::string_view name) { return Utils::QVStringUtils::escapeForMessage(name); }

inline int lineOf(const XmlNode& node) { return node.line; }

// The attributes an element gives, by name (a name given twice keeps its
// last value). Elements have a few: a list searched in order is the
// cheapest map.
class AttributeList {
public:
    using Entry = std::pair<std::string, std::string>;
    using const_iterator = std::vector<Entry>::const_iterator;

    const_iterator find(std::string_view name) const {
        return std::find_if(list_.begin(), list_.end(), [name](const Entry& e) { return e.first == name; });
    }
    const_iterator end() const { return list_.end(); }
    std::size_t count(std::string_view name) const { return find(name) == end() ? 0 : 1; }
    // The value of an attribute known to be given.
    const std::string& at(std::string_view name) const {
        const auto it = find(name);
        if (it == end()) throw std::out_of_range("no attribute " + std::string(name));
        return it->second;
    }
    void set(std::string name, std::string value) {
        for (Entry& e : list_) {
            if (e.first == name) {
                e.second = std::move(value);
                return;
            }
        }
        list_.emplace_back(std::move(name), std::move(value));
    }

private:
    std::vector<Entry> list_;
};

// Reads the document with libxml2 (no network, no external entities or
// document type loaded, libxml2's limits on entity expansion and depth)
// into the tree; a document that is not well-formed is refused with the
// first error libxml2 reports.
void readWithLibxml2(const std::string& document, const std::string& displayName, XmlTree& tree);

// Why the reader does not take the encoding that the document's XML
// declaration names: one libxml2 has no converter for, or one that does not
// keep ASCII as it is (EBCDIC); empty when it takes it or none is named.
std::string unreadableEncoding(std::string_view document);

// Where a problem is: the form, copy and field being read.
struct Scope {
    std::string form;
    int copy = 0;
    std::string field;

    std::string text() const;
};

class Reader {
public:
    Reader(std::string file, const ReturnDescriptions& descriptions)
        : file_(std::move(file)), descriptions_(descriptions) {}

    ReturnFileContents read(const XmlTree& tree);

    const std::vector<std::string>& problems() const { return problems_; }

private:
    // ---- the document and its returns (ReturnFileReader.cpp)

    void problem(int line, const Scope& scope, const std::string& what);

    // False, with a problem, for an element in a namespace.
    bool withoutNamespace(const XmlNode& node, const Scope& scope);

    // Walks the element children of node; stray non-blank text is a problem.
    template <class F>
    void forEachElement(const XmlNode& node, const Scope& scope, F&& f) {
        for (const XmlNode& c : tree_->children(node)) {
            switch (c.kind) {
                case XmlNode::Kind::Element:
                    if (withoutNamespace(c, scope)) f(c);
                    break;
                case XmlNode::Kind::Text:
                case XmlNode::Kind::CData: {
                    const std::string t = trim(std::string(c.text));
                    if (!t.empty()) {
                        problem(lineOf(c), scope,
                                "unexpected text " + showText(t) + " inside <" + nodeName(node) + ">");
                    }
                    break;
                }
                case XmlNode::Kind::EntityReference:
                    problem(lineOf(c), scope, "unexpected entity reference inside <" + nodeName(node) + ">");
                    break;
            }
        }
    }

    // The text of a leaf element (text and CDATA joined); child elements are a
    // problem.
    bool leafText(const XmlNode& node, const Scope& scope, std::string& out);

    // Collects the attributes of node; names outside `allowed` are problems.
    AttributeList attributes(const XmlNode& node, const Scope& scope, std::initializer_list<const char*> allowed);

    // Records the first line of a singleton child; a second one is a problem.
    bool once(std::map<std::string, int>& seen, const XmlNode& c, const Scope& scope);

    void readReturnFile(const XmlNode& root);

    static std::optional<DataMgmt::TaxReturnType> returnTypeOf(const std::string& word);

    void readReturn(const XmlNode& node, std::optional<DataMgmt::TaxReturnType> defaultType,
                    std::map<DataMgmt::TaxReturnType, int>* returnLines = nullptr);

    // ---- forms, fields and values (ReturnFileForms.cpp)

    // A form by dev name or number, in the return of the given description.
    DataMgmt::TaxFormDescPtr resolveForm(const DataMgmt::TaxReturnDesc& desc, const std::string& devName,
                                         const std::string* number, int line, const Scope& scope);

    void readForm(const XmlNode& node, const DataMgmt::TaxReturnDesc& desc, ReturnPart& part,
                  std::map<std::pair<Primitives::QVImmutableFormIdentifier, int>, int>& copyLines);

    // fieldLines holds, by place in the form + 1, the line each field was
    // first given at.
    void readField(const XmlNode& node, const DataMgmt::TaxFormDesc& form, Scope scope, CopyEntry& entry,
                   DataMgmt::detail::FlatIndex<std::int32_t>& fieldLines);

    // What a <FIELD> gives, by attribute or by child element.
    struct FieldTexts {
        std::optional<std::string> id;
        std::optional<std::string> name;
        std::optional<std::string> value;
    };
    // Reads the children <ID>, <NAME>, <LINENUM> and <VALUE> into texts, each
    // at most once (an attribute of the same name counts as given); false
    // when a child is a problem.
    bool readFieldChildren(const XmlNode& node, const AttributeList& attrs, int line, const Scope& scope,
                           FieldTexts& texts);
    // The field that the ID and the NAME give (both must agree); a null
    // handle, with a problem, when they name none. The scope's field becomes
    // the name (else the number) given.
    DataMgmt::FormFieldDescPtr resolveField(const DataMgmt::TaxFormDesc& form, const FieldTexts& texts, int line,
                                            Scope& scope);
    // The OVERRIDDEN and KIND attributes; false, with a problem, when one
    // is not a word they take.
    bool readFieldMarks(const AttributeList& attrs, int line, const Scope& scope, bool& overridden,
                        std::optional<DataMgmt::FieldValue::Kind>& kind);

    // Reads a value text as a value of the given kind (the field's own kind
    // unless the file says otherwise). Every value keeps to the field's kind,
    // domain and limit, whether an entry, an override or the value of a
    // calculated field (which the calculation may keep); `entry` says only
    // whether a date is stored in its one form or as the calculation wrote
    // it.
    bool parseValue(const std::string& text, const DataMgmt::FormFieldDesc& field, DataMgmt::FieldValue::Kind kind,
                    bool entry, int line, const Scope& scope, DataMgmt::FieldValue& out);
    bool parseText(const std::string& text, const DataMgmt::FormFieldDesc& field, bool entry, int line,
                   const Scope& scope, DataMgmt::FieldValue& out);
    bool parseNumber(const std::string& text, const DataMgmt::FormFieldDesc& field, int line, const Scope& scope,
                     DataMgmt::FieldValue& out);

    // ---- the host's elements (ReturnFileSeeds.cpp)

    void readHostSeeds(const XmlNode& node);

    // A federal form named by dev name or number, for the seed tables.
    DataMgmt::TaxFormDescPtr federalForm(const std::string& text, int line, const Scope& scope,
                                         Primitives::QVImmutableFormIdentifier& id);

    void readReturnSeeds(const XmlNode& node, DataMgmt::TaxReturnType type, ReturnSeeds& seeds);

    // A seeded amount in dollars, within the amount limit.
    bool parseSeedAmount(const std::string& text, int line, const Scope& scope, const char* what, double& out);

    void readSingleSeed(const std::string& n, const std::string& text, int line, ReturnSeeds& seeds);

    void readCommonItem(const XmlNode& c, ReturnSeeds& seeds,
                        std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int>& lines);

    // The item a <PULLCOMMON> names by ITEM or TYPE (both must agree).
    std::optional<std::int32_t> commonItemType(const AttributeList& attrs, int line, const Scope& scope);

    // The item's value, within the item's domain.
    bool parseCommonItemValue(const std::string& text, CommonItem& item, const Scope& scope);

    void readW2Split(const XmlNode& c, ReturnSeeds& seeds,
                     std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int>& lines);

    std::string file_;
    ReturnDescriptions descriptions_;
    const XmlTree* tree_ = nullptr;
    ReturnFileContents contents_;
    std::vector<std::string> problems_;
};

}  // namespace PersistanceMgmt::detail
