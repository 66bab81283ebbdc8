// Reading a return file: the document, its parser errors and its returns.
// Forms, fields and values are read in ReturnFileForms.cpp, the host's
// elements in ReturnFileSeeds.cpp.
#include "platform/returnfile/ReturnFileReader.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <memory>

#include "platform/store/DerivedItems.h"
#include "platform/util/IOMgmt.h"

namespace PersistanceMgmt {

namespace detail {

namespace {

struct XmlDocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct XmlParserCtxtFree {
    void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};

std::string tooLarge() {
    return "the file is larger than the limit of " + std::to_string(kMaxFileSize / (1024 * 1024)) +
           " MiB for a return file";
}

// Why the return file was not read, in the words of a return file.
std::string refusalOfAReturnFile(const IOMgmt::WholeFile& file) {
    switch (file.refusal) {
        case IOMgmt::Refusal::CannotOpen:
            return "cannot open the return file: " + errnoText(file.error);
        case IOMgmt::Refusal::CannotRead:
            return "cannot read the return file: " + errnoText(file.error);
        case IOMgmt::Refusal::Directory:
            return "is a directory, not a return file";
        case IOMgmt::Refusal::TooLarge:
            return tooLarge();
        case IOMgmt::Refusal::NotRegular:
        case IOMgmt::Refusal::None:
            break;
    }
    return file.problem;
}

}  // namespace

std::string Scope::text() const {
    std::string s;
    // The form and the field may be named as the file wrote them.
    using Utils::QVStringUtils::escapeForMessage;
    if (!form.empty()) s += "form " + escapeForMessage(form);
    if (copy > 0) s += (s.empty() ? "" : " ") + std::string("copy ") + std::to_string(copy);
    if (!field.empty()) s += (s.empty() ? "" : " ") + std::string("field ") + escapeForMessage(field);
    return s;
}

ReturnFileContents Reader::read(const XmlTree& tree) {
    tree_ = &tree;
    if (tree.root() == nullptr) {
        problem(1, {}, "the document has no root element");
        return {};
    }
    const XmlNode& root = *tree.root();
    if (tree.hasDocumentType()) {
        problem(lineOf(root), {}, "document type declarations are not accepted in a return file");
        return {};
    }
    const std::string name = nodeName(root);
    if (!withoutNamespace(root, {})) return {};
    contents_.rootElement = name;
    if (name == "RETURNFILE") {
        readReturnFile(root);
    } else if (name == "RETURN") {
        readReturn(root, /*defaultType=*/DataMgmt::kGeorgiaReturnType);
    } else {
        problem(lineOf(root), {}, "unknown root element <" + shownName(name) + "> (expected <RETURNFILE> or <RETURN>)");
    }
    return std::move(contents_);
}

bool Reader::withoutNamespace(const XmlNode& node, const Scope& scope) {
    if (!node.inNamespace) return true;
    const std::string uri(node.nsUri);
    problem(lineOf(node), scope,
            "element <" + shownName(nodeName(node)) + "> is in the namespace " + showText(uri) +
                "; the elements of a return file have no namespace");
    return false;
}

void Reader::problem(int line, const Scope& scope, const std::string& what) {
    std::string s = file_ + ":" + std::to_string(line) + ": ";
    const std::string where = scope.text();
    if (!where.empty()) s += where + ": ";
    problems_.push_back(s + what);
}

// The text of a leaf element (text and CDATA joined); child elements are a
// problem.
bool Reader::leafText(const XmlNode& node, const Scope& scope, std::string& out) {
    out.clear();
    bool ok = true;
    for (const XmlNode& c : tree_->children(node)) {
        switch (c.kind) {
            case XmlNode::Kind::Text:
            case XmlNode::Kind::CData:
                out += c.text;
                break;
            case XmlNode::Kind::Element:
                problem(
                    lineOf(c), scope,
                    "unexpected element <" + shownName(nodeName(c)) + "> inside <" + shownName(nodeName(node)) + ">");
                ok = false;
                break;
            case XmlNode::Kind::EntityReference:
                problem(lineOf(c), scope, "unexpected entity reference inside <" + shownName(nodeName(node)) + ">");
                ok = false;
                break;
        }
    }
    return ok;
}

// Collects the attributes of node; names outside `allowed` are problems.
AttributeList Reader::attributes(const XmlNode& node, const Scope& scope, std::initializer_list<const char*> allowed) {
    AttributeList out;
    for (const XmlAttribute* a = tree_->attributesBegin(node); a != tree_->attributesEnd(node); ++a) {
        const std::string name(a->name);
        const bool known = std::any_of(allowed.begin(), allowed.end(), [&](const char* n) { return name == n; });
        if (!known) {
            problem(lineOf(node), scope,
                    "unknown attribute " + shownName(name) + " of <" + shownName(nodeName(node)) + ">");
            continue;
        }
        out.set(name, std::string(a->value));
    }
    return out;
}

// Records the first line of a singleton child; a second one is a problem.
bool Reader::once(std::map<std::string, int>& seen, const XmlNode& c, const Scope& scope) {
    const std::string n = nodeName(c);
    auto [it, inserted] = seen.emplace(n, lineOf(c));
    if (!inserted) {
        problem(lineOf(c), scope,
                "<" + shownName(n) + "> given twice (first at line " + std::to_string(it->second) + ")");
    }
    return inserted;
}

void Reader::readReturnFile(const XmlNode& root) {
    const auto attrs = attributes(root, {}, {"TAXYEAR"});
    if (auto it = attrs.find("TAXYEAR"); it != attrs.end()) {
        int year = 0;
        if (!parseInteger(it->second, year) || year != kTaxYear) {
            problem(lineOf(root), {}, "tax year " + showText(it->second) + " is not " + std::to_string(kTaxYear));
        } else {
            contents_.taxYear = year;
        }
    }
    std::map<std::string, int> seen;
    std::map<DataMgmt::TaxReturnType, int> returnLines;
    forEachElement(root, {}, [&](const XmlNode& c) {
        const std::string n = nodeName(c);
        if (n == "HOST") {
            if (once(seen, c, {})) readHostSeeds(c);
        } else if (n == "RETURN") {
            readReturn(c, std::nullopt, &returnLines);
        } else {
            problem(lineOf(c), {},
                    "unknown element <" + shownName(n) + "> in <RETURNFILE> (expected <HOST> or <RETURN>)");
        }
    });
}

std::optional<DataMgmt::TaxReturnType> Reader::returnTypeOf(const std::string& word) {
    const std::string w = Utils::QVStringUtils::upperCased(trim(word));
    if (w == "FEDERAL" || w == "US" || w == "1") return DataMgmt::kFederalReturnType;
    if (w == "GA" || w == "GEORGIA" || w == "STATE" || w == "12") return DataMgmt::kGeorgiaReturnType;
    return std::nullopt;
}

void Reader::readReturn(const XmlNode& node, std::optional<DataMgmt::TaxReturnType> defaultType,
                        std::map<DataMgmt::TaxReturnType, int>* returnLines) {
    const auto attrs = attributes(node, {}, {"TYPE", "LABEL"});
    std::optional<DataMgmt::TaxReturnType> type = defaultType;
    if (auto it = attrs.find("TYPE"); it != attrs.end()) {
        type = returnTypeOf(it->second);
        if (!type) {
            problem(lineOf(node), {},
                    "unknown return type " + showText(it->second) + " (expected \"federal\" or \"GA\")");
            return;
        }
    }
    if (!type) {
        problem(lineOf(node), {}, "<RETURN> needs TYPE=\"federal\" or TYPE=\"GA\"");
        return;
    }
    if (returnLines != nullptr) {
        auto [it, inserted] = returnLines->emplace(*type, lineOf(node));
        if (!inserted) {
            problem(lineOf(node), {},
                    std::string("the ") + returnTypeWord(*type) + " return is given twice (first at line " +
                        std::to_string(it->second) + ")");
            return;
        }
    }
    const DataMgmt::TaxReturnDesc* desc =
        *type == DataMgmt::kFederalReturnType ? descriptions_.federal : descriptions_.georgia;
    if (desc == nullptr) {
        problem(lineOf(node), {},
                std::string("no form definitions are loaded for the ") + returnTypeWord(*type) + " return");
        return;
    }

    ReturnPart part;
    part.type = *type;
    if (auto it = attrs.find("LABEL"); it != attrs.end()) part.label = it->second;

    std::map<std::string, int> seen;
    std::map<std::pair<Primitives::QVImmutableFormIdentifier, int>, int> copyLines;
    forEachElement(node, {}, [&](const XmlNode& c) {
        const std::string n = nodeName(c);
        if (n == "RETURNNAME") {
            if (!once(seen, c, {})) return;
            attributes(c, {}, {});
            leafText(c, {}, part.name);
        } else if (n == "HOST") {
            if (once(seen, c, {})) readReturnSeeds(c, *type, part.seeds);
        } else if (n == "FORM") {
            readForm(c, *desc, part, copyLines);
        } else {
            problem(lineOf(c), {},
                    "unknown element <" + shownName(n) + "> in <RETURN> (expected <RETURNNAME>, <HOST> or <FORM>)");
        }
    });
    (*type == DataMgmt::kFederalReturnType ? contents_.federal : contents_.georgia) = std::move(part);
}

namespace {

// The parser's message on one line: it may run over several and quote the
// bytes it could not read.
std::string parserMessage(const char* message) {
    std::string text = trim(message);
    std::replace(text.begin(), text.end(), '\n', ' ');
    return Utils::QVStringUtils::escapeForMessage(text, 200);
}

// Keeps the first error the parser reports.
struct FirstXmlError {
    bool seen = false;
    int line = 0;
    std::string message;

    static void record(void* data, xmlErrorPtr error) {
        auto* ctxt = static_cast<xmlParserCtxtPtr>(data);
        if (ctxt == nullptr || ctxt->_private == nullptr || error == nullptr || error->level < XML_ERR_ERROR) return;
        auto* self = static_cast<FirstXmlError*>(ctxt->_private);
        if (self->seen) return;
        self->seen = true;
        self->line = error->line;
        self->message = error->message != nullptr ? parserMessage(error->message) : "not well-formed";
    }
};

// While it lives, what libxml2 reports outside a parser context (its
// encoding converters) is not printed: the reader reports the first error
// of the document in one line.
class GenericErrorsSilenced {
public:
    GenericErrorsSilenced() : previous_(xmlGenericError), previousContext_(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, &ignore);
    }
    ~GenericErrorsSilenced() { xmlSetGenericErrorFunc(previousContext_, previous_); }
    GenericErrorsSilenced(const GenericErrorsSilenced&) = delete;
    GenericErrorsSilenced& operator=(const GenericErrorsSilenced&) = delete;

private:
    static void ignore(void* /*context*/, const char* /*message*/, ...) {}

    xmlGenericErrorFunc previous_;
    void* previousContext_;
};

}  // namespace

void readWithLibxml2(const std::string& document, const std::string& displayName, XmlTree& tree) {
    xmlInitParser();
    const GenericErrorsSilenced silenced;
    if (const std::string encoding = unreadableEncoding(document); !encoding.empty()) {
        fail({displayName + ":1: " + encoding}, "read");
    }
    std::unique_ptr<xmlParserCtxt, XmlParserCtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt) fail({displayName + ": out of memory"}, "read");
    // The first error is the one that tells what is wrong; the parser's last
    // error is often only a consequence of it.
    FirstXmlError first;
    ctxt->_private = &first;
    ctxt->sax->serror = &FirstXmlError::record;
    // Blanks between elements are not kept (the reader passes over them; a
    // leaf's text, blank or not, and any stray text are kept), and short
    // texts are kept in their nodes: fewer nodes to make and free.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES |
                        XML_PARSE_NOBLANKS | XML_PARSE_COMPACT;
    std::unique_ptr<xmlDoc, XmlDocFree> doc(xmlCtxtReadMemory(
        ctxt.get(), document.data(), static_cast<int>(document.size()), displayName.c_str(), nullptr, options));
    if (!doc || !ctxt->wellFormed) {
        std::string what = first.message;
        int line = first.line;
        if (!first.seen) {
            const xmlError* e = xmlCtxtGetLastError(ctxt.get());
            what = e != nullptr && e->message != nullptr ? parserMessage(e->message) : "not well-formed";
            line = e != nullptr ? e->line : 0;
        }
        fail({displayName + ":" + std::to_string(line > 0 ? line : 1) + ": malformed XML: " + what}, "read");
    }
    tree.copyOf(doc.release());
}

}  // namespace detail

using namespace detail;

ReturnFileContents ReturnFile::read(const std::string& path, const ReturnDescriptions& descriptions) {
    const std::string shown = IOMgmt::shownPath(path);
    // The size is known before a byte is read, so that memory stays within the
    // limit whatever the file is.
    const IOMgmt::WholeFile file = IOMgmt::readWholeFile(path, kMaxFileSize);
    if (!file.ok) fail({shown + ": " + refusalOfAReturnFile(file)}, "read");
    return parse(file.bytes, shown, descriptions);
}

ReturnFileContents ReturnFile::parse(const std::string& document, const std::string& displayName,
                                     const ReturnDescriptions& descriptions) {
    if (document.size() > kMaxFileSize) fail({displayName + ": " + tooLarge()}, "read");
    if (trim(document).empty()) fail({displayName + ":1: the file is empty"}, "read");
    // libxml2 reads what is not plain, and decides what is well-formed.
    XmlTree tree;
    if (!tree.readPlain(document)) readWithLibxml2(document, displayName, tree);
    Reader reader(displayName, descriptions);
    ReturnFileContents contents = reader.read(tree);
    if (!reader.problems().empty()) fail(reader.problems(), "read");
    const std::vector<std::string> contradictions = seedsContradictingTheFederalReturn(contents, displayName);
    if (!contradictions.empty()) fail(contradictions, "read");
    return contents;
}

}  // namespace PersistanceMgmt
