#include "platform/ReturnFile.h"

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlwriter.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>

#include "platform/Crt.h"
#include "platform/Exceptions.h"

namespace PersistanceMgmt {

using DataMgmt::editCodeDecimalPlaces;
using DataMgmt::FieldValue;
using DataMgmt::formatDisplayAmount;

namespace {

constexpr int kTaxYear = 2018;
constexpr std::size_t kMaxReportedProblems = 25;
constexpr std::size_t kMaxFileSize = 256u * 1024u * 1024u;

// ------------------------------------------------------------ small text helpers

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string trim(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

template <class Int>
bool parseInteger(const std::string& text, Int& out) {
    const std::string t = trim(text);
    if (t.empty()) return false;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    if (*first == '+') ++first;
    if (first == last) return false;
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

// Quotes a value for an error message, cut to a readable length.
std::string showText(const std::string& s) {
    constexpr std::size_t kShown = 40;
    if (s.size() <= kShown) return "\"" + s + "\"";
    return "\"" + s.substr(0, kShown) + "...\"";
}

// Reads a box mark: "X" marked, "NO" explicitly not marked (any letter case).
bool parseBox(const std::string& text, bool& out) {
    const std::string t = upper(trim(text));
    if (t == "X") {
        out = true;
        return true;
    }
    if (t == "NO") {
        out = false;
        return true;
    }
    return false;
}

// Checks that a text can be carried by an XML 1.0 document: valid UTF-8 made
// of characters that XML allows. On failure describes the first bad byte.
bool isXmlText(const std::string& s, std::string& why) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        std::uint32_t cp = 0;
        std::size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            len = 0;
        }
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = (cp << 6) | (p[i + k] & 0x3F);
            }
        }
        // Overlong forms and surrogates are not UTF-8.
        if (ok && ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
                   (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)) {
            ok = false;
        }
        if (!ok) {
            char buf[80];
            std::snprintf(buf, sizeof buf, "the text is not valid UTF-8 (byte 0x%02X at offset %zu)", c, i);
            why = buf;
            return false;
        }
        const bool allowed = cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
                             (cp >= 0xE000 && cp <= 0xFFFD) || cp >= 0x10000;
        if (!allowed) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "the text holds a character that XML cannot carry (U+%04X at offset %zu)",
                          static_cast<unsigned>(cp), i);
            why = buf;
            return false;
        }
        i += len;
    }
    return true;
}

// The kind of value a field holds by its description, and the words of the
// FIELD KIND attribute that marks a value of another kind.
FieldValue::Kind naturalKind(const DataMgmt::FormFieldDesc& field) {
    if (field.isText()) return FieldValue::Kind::Text;
    if (field.isBoolean()) return FieldValue::Kind::Box;
    return FieldValue::Kind::Number;
}

const char* kindWord(FieldValue::Kind kind) {
    switch (kind) {
        case FieldValue::Kind::Text:
            return "text";
        case FieldValue::Kind::Box:
            return "box";
        default:
            return "amount";
    }
}

std::optional<FieldValue::Kind> kindOfWord(const std::string& word) {
    for (FieldValue::Kind k : {FieldValue::Kind::Number, FieldValue::Kind::Text, FieldValue::Kind::Box}) {
        if (upper(trim(word)) == upper(kindWord(k))) return k;
    }
    return std::nullopt;
}

// Decimal places of a number held by the field: the edit code's for an
// amount field; none for a number held by a text or box field.
int amountPlaces(const DataMgmt::FormFieldDesc& field) {
    return naturalKind(field) == FieldValue::Kind::Number ? editCodeDecimalPlaces(field.getValidator()->getEditCode())
                                                          : 0;
}

const char* returnTypeWord(DataMgmt::TaxReturnType type) {
    return type == DataMgmt::kFederalReturnType ? "federal" : "Georgia";
}

// ------------------------------------------------------------ libxml2 helpers

std::string nodeName(const xmlNode* node) { return node->name ? reinterpret_cast<const char*>(node->name) : ""; }

int lineOf(const xmlNode* node) { return static_cast<int>(xmlGetLineNo(node)); }

struct XmlDocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct XmlParserCtxtFree {
    void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};
struct XmlFree {
    void operator()(xmlChar* p) const { xmlFree(p); }
};

std::string attributeValue(const xmlAttr* attr) {
    std::unique_ptr<xmlChar, XmlFree> v(xmlNodeListGetString(attr->doc, attr->children, 1));
    return v ? reinterpret_cast<const char*>(v.get()) : "";
}

// ------------------------------------------------------------ the reader

// Where a problem is: the form, copy and field being read.
struct Scope {
    std::string form;
    int copy = 0;
    std::string field;

    std::string text() const {
        std::string s;
        if (!form.empty()) s += "form " + form;
        if (copy > 0) s += (s.empty() ? "" : " ") + std::string("copy ") + std::to_string(copy);
        if (!field.empty()) s += (s.empty() ? "" : " ") + std::string("field ") + field;
        return s;
    }
};

class Reader {
public:
    Reader(std::string file, const ReturnDescriptions& descriptions)
        : file_(std::move(file)), descriptions_(descriptions) {}

    ReturnFileContents read(const xmlDoc* doc) {
        const xmlNode* root = xmlDocGetRootElement(doc);
        if (root == nullptr) {
            problem(1, {}, "the document has no root element");
            return {};
        }
        if (doc->intSubset != nullptr || doc->extSubset != nullptr) {
            problem(lineOf(root), {}, "document type declarations are not accepted in a return file");
            return {};
        }
        const std::string name = nodeName(root);
        if (name == "RETURNFILE") {
            readReturnFile(root);
        } else if (name == "RETURN") {
            readReturn(root, /*defaultType=*/DataMgmt::kGeorgiaReturnType);
        } else {
            problem(lineOf(root), {}, "unknown root element <" + name + "> (expected <RETURNFILE> or <RETURN>)");
        }
        return std::move(contents_);
    }

    const std::vector<std::string>& problems() const { return problems_; }

private:
    void problem(int line, const Scope& scope, const std::string& what) {
        std::string s = file_ + ":" + std::to_string(line) + ": ";
        const std::string where = scope.text();
        if (!where.empty()) s += where + ": ";
        problems_.push_back(s + what);
    }

    // Walks the element children of node; stray non-blank text is a problem.
    template <class F>
    void forEachElement(const xmlNode* node, const Scope& scope, F&& f) {
        for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
            switch (c->type) {
                case XML_ELEMENT_NODE:
                    f(c);
                    break;
                case XML_TEXT_NODE:
                case XML_CDATA_SECTION_NODE: {
                    const std::string t = c->content ? reinterpret_cast<const char*>(c->content) : "";
                    if (!trim(t).empty()) {
                        problem(lineOf(c), scope,
                                "unexpected text " + showText(trim(t)) + " inside <" + nodeName(node) + ">");
                    }
                    break;
                }
                case XML_ENTITY_REF_NODE:
                    problem(lineOf(c), scope, "unexpected entity reference inside <" + nodeName(node) + ">");
                    break;
                default:  // comments and processing instructions
                    break;
            }
        }
    }

    // The text of a leaf element (text and CDATA joined); child elements are a
    // problem.
    bool leafText(const xmlNode* node, const Scope& scope, std::string& out) {
        out.clear();
        bool ok = true;
        for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
            if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
                if (c->content) out += reinterpret_cast<const char*>(c->content);
            } else if (c->type == XML_ELEMENT_NODE) {
                problem(lineOf(c), scope, "unexpected element <" + nodeName(c) + "> inside <" + nodeName(node) + ">");
                ok = false;
            } else if (c->type == XML_ENTITY_REF_NODE) {
                problem(lineOf(c), scope, "unexpected entity reference inside <" + nodeName(node) + ">");
                ok = false;
            }
        }
        return ok;
    }

    // Collects the attributes of node; names outside `allowed` are problems.
    std::map<std::string, std::string> attributes(const xmlNode* node, const Scope& scope,
                                                  std::initializer_list<const char*> allowed) {
        std::map<std::string, std::string> out;
        for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            const std::string name = a->name ? reinterpret_cast<const char*>(a->name) : "";
            const bool known = std::any_of(allowed.begin(), allowed.end(), [&](const char* n) { return name == n; });
            if (!known) {
                problem(lineOf(node), scope, "unknown attribute " + name + " of <" + nodeName(node) + ">");
                continue;
            }
            out[name] = attributeValue(a);
        }
        return out;
    }

    // Records the first line of a singleton child; a second one is a problem.
    bool once(std::map<std::string, int>& seen, const xmlNode* c, const Scope& scope) {
        const std::string n = nodeName(c);
        auto [it, inserted] = seen.emplace(n, lineOf(c));
        if (!inserted) {
            problem(lineOf(c), scope, "<" + n + "> given twice (first at line " + std::to_string(it->second) + ")");
        }
        return inserted;
    }

    void readReturnFile(const xmlNode* root) {
        const auto attrs = attributes(root, {}, {"TAXYEAR"});
        if (auto it = attrs.find("TAXYEAR"); it != attrs.end()) {
            int year = 0;
            if (!parseInteger(it->second, year) || year != kTaxYear) {
                problem(lineOf(root), {}, "tax year " + showText(it->second) + " is not " + std::to_string(kTaxYear));
            }
        }
        std::map<std::string, int> seen;
        std::map<DataMgmt::TaxReturnType, int> returnLines;
        forEachElement(root, {}, [&](const xmlNode* c) {
            const std::string n = nodeName(c);
            if (n == "HOST") {
                if (once(seen, c, {})) readHostSeeds(c);
            } else if (n == "RETURN") {
                readReturn(c, std::nullopt, &returnLines);
            } else {
                problem(lineOf(c), {}, "unknown element <" + n + "> in <RETURNFILE> (expected <HOST> or <RETURN>)");
            }
        });
    }

    void readHostSeeds(const xmlNode* node) {
        attributes(node, {}, {});
        std::map<std::string, int> seen;
        forEachElement(node, {}, [&](const xmlNode* c) {
            const std::string n = nodeName(c);
            if (n != "CLOCK" && n != "RANDSEED") {
                problem(lineOf(c), {},
                        "unknown element <" + n + "> in the file's <HOST> (expected <CLOCK> or <RANDSEED>)");
                return;
            }
            if (!once(seen, c, {})) return;
            attributes(c, {}, {});
            std::string text;
            if (!leafText(c, {}, text)) return;
            if (n == "CLOCK") {
                std::time_t t = 0;
                if (!ReturnFile::parseUtcTime(text, t)) {
                    problem(lineOf(c), {},
                            "clock " + showText(text) + " is not a UTC time such as 2019-04-01T12:00:00Z");
                } else {
                    contents_.host.clock = t;
                }
            } else {
                std::uint32_t seed = 0;
                if (!parseInteger(text, seed)) {
                    problem(lineOf(c), {},
                            "random seed " + showText(text) + " is not a whole number from 0 to 4294967295");
                } else {
                    contents_.host.randSeed = seed;
                }
            }
        });
    }

    static std::optional<DataMgmt::TaxReturnType> returnTypeOf(const std::string& word) {
        const std::string w = upper(trim(word));
        if (w == "FEDERAL" || w == "US" || w == "1") return DataMgmt::kFederalReturnType;
        if (w == "GA" || w == "GEORGIA" || w == "STATE" || w == "12") return DataMgmt::kGeorgiaReturnType;
        return std::nullopt;
    }

    void readReturn(const xmlNode* node, std::optional<DataMgmt::TaxReturnType> defaultType,
                    std::map<DataMgmt::TaxReturnType, int>* returnLines = nullptr) {
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
        forEachElement(node, {}, [&](const xmlNode* c) {
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
                        "unknown element <" + n + "> in <RETURN> (expected <RETURNNAME>, <HOST> or <FORM>)");
            }
        });
        (*type == DataMgmt::kFederalReturnType ? contents_.federal : contents_.georgia) = std::move(part);
    }

    // A form by dev name or number, in the return of the given description.
    DataMgmt::TaxFormDescPtr resolveForm(const DataMgmt::TaxReturnDesc& desc, const std::string& devName,
                                         const std::string* number, int line, const Scope& scope) {
        DataMgmt::TaxFormDescPtr byName;
        DataMgmt::TaxFormDescPtr byNumber;
        const bool isState = desc.getReturnType() != DataMgmt::kFederalReturnType;
        const char* where = returnTypeWord(desc.getReturnType());
        if (!devName.empty()) {
            byName = desc.findByDevName(trim(devName));
            if (byName.isNull()) {
                std::string hint;
                const DataMgmt::TaxReturnDesc* other = isState ? descriptions_.federal : descriptions_.georgia;
                if (other != nullptr && !other->findByDevName(trim(devName)).isNull()) {
                    hint = std::string(" (it is a form of the ") + returnTypeWord(other->getReturnType()) + " return)";
                }
                problem(line, scope, "unknown form " + showText(devName) + " in the " + where + " return" + hint);
                return DataMgmt::TaxFormDescPtr();
            }
        }
        if (number != nullptr) {
            std::int32_t n = 0;
            if (!parseInteger(*number, n) || n <= 0) {
                problem(line, scope, "form number " + showText(*number) + " is not a positive whole number");
                return DataMgmt::TaxFormDescPtr();
            }
            byNumber = desc.getTaxFormDescriptor(Primitives::QVImmutableFormIdentifier(n, isState));
            if (byNumber.isNull()) {
                problem(line, scope, "unknown form number " + std::to_string(n) + " in the " + where + " return");
                return DataMgmt::TaxFormDescPtr();
            }
        }
        if (!byName.isNull() && !byNumber.isNull() && byName.get() != byNumber.get()) {
            problem(line, scope,
                    "DEVNAME " + showText(devName) + " and NUMBER " + showText(*number) + " name different forms");
            return DataMgmt::TaxFormDescPtr();
        }
        if (byName.isNull() && byNumber.isNull()) {
            problem(line, scope, "<FORM> needs DEVNAME or NUMBER");
            return DataMgmt::TaxFormDescPtr();
        }
        return byName.isNull() ? byNumber : byName;
    }

    void readForm(const xmlNode* node, const DataMgmt::TaxReturnDesc& desc, ReturnPart& part,
                  std::map<std::pair<Primitives::QVImmutableFormIdentifier, int>, int>& copyLines) {
        Scope scope;
        const auto attrs = attributes(node, scope, {"DEVNAME", "NUMBER", "COPY", "DATAENTERED"});
        const auto dev = attrs.find("DEVNAME");
        const auto num = attrs.find("NUMBER");
        scope.form = dev != attrs.end() ? dev->second : (num != attrs.end() ? num->second : "");
        const int line = lineOf(node);

        int copy = 1;
        bool copyOk = true;
        if (auto it = attrs.find("COPY"); it != attrs.end()) {
            if (!parseInteger(it->second, copy) || copy <= 0) {
                problem(line, scope, "copy number " + showText(it->second) + " is not a positive whole number");
                copyOk = false;
            }
        }
        if (copyOk) scope.copy = copy;

        DataMgmt::TaxFormDescPtr form = resolveForm(desc, dev != attrs.end() ? dev->second : "",
                                                    num != attrs.end() ? &num->second : nullptr, line, scope);
        if (form.isNull() || !copyOk) return;
        scope.form = form->getDevName();

        if (copy > form->getMaxCopies()) {
            problem(line, scope,
                    "copy number " + std::to_string(copy) + " is out of range (the form allows copies 1 to " +
                        std::to_string(form->getMaxCopies()) + ")");
            return;
        }
        auto [it, inserted] = copyLines.emplace(std::make_pair(form->getTypeID(), copy), line);
        if (!inserted) {
            problem(line, scope, "this copy is given twice (first at line " + std::to_string(it->second) + ")");
            return;
        }

        CopyEntry entry;
        entry.desc = form;
        entry.copy = static_cast<std::uint16_t>(copy);
        entry.line = line;
        if (auto d = attrs.find("DATAENTERED"); d != attrs.end()) {
            const std::string v = trim(d->second);
            if (v == "1") {
                entry.dataEntered = true;
            } else if (v == "0") {
                entry.dataEntered = false;
            } else {
                problem(line, scope, "DATAENTERED " + showText(d->second) + " is not 0 or 1");
            }
        }

        std::map<std::string, int> seen;
        std::map<std::int32_t, int> fieldLines;
        forEachElement(node, scope, [&](const xmlNode* c) {
            const std::string n = nodeName(c);
            if (n == "BUSNAME") {
                once(seen, c, scope);  // informational
            } else if (n == "FIELD") {
                readField(c, *form, scope, entry, fieldLines);
            } else {
                problem(lineOf(c), scope, "unknown element <" + n + "> in <FORM> (expected <BUSNAME> or <FIELD>)");
            }
        });
        // Keep the fields in the form's order, whatever the file's order.
        std::stable_sort(entry.fields.begin(), entry.fields.end(), [&](const FieldEntry& a, const FieldEntry& b) {
            return form->positionOf(a.desc->getID()) < form->positionOf(b.desc->getID());
        });
        part.copies.push_back(std::move(entry));
    }

    void readField(const xmlNode* node, const DataMgmt::TaxFormDesc& form, Scope scope, CopyEntry& entry,
                   std::map<std::int32_t, int>& fieldLines) {
        const int line = lineOf(node);
        const auto attrs = attributes(node, scope, {"ID", "NAME", "OVERRIDDEN", "KIND"});
        std::optional<std::string> id;
        std::optional<std::string> name;
        std::optional<std::string> value;
        if (auto it = attrs.find("ID"); it != attrs.end()) id = it->second;
        if (auto it = attrs.find("NAME"); it != attrs.end()) name = it->second;

        std::map<std::string, int> seen;
        for (const auto& [k, v] : attrs) seen.emplace(k, line);
        bool ok = true;
        forEachElement(node, scope, [&](const xmlNode* c) {
            const std::string n = nodeName(c);
            if (n != "ID" && n != "NAME" && n != "LINENUM" && n != "VALUE") {
                problem(lineOf(c), scope,
                        "unknown element <" + n + "> in <FIELD> (expected <ID>, <NAME>, <LINENUM> or <VALUE>)");
                ok = false;
                return;
            }
            if (!once(seen, c, scope)) {
                ok = false;
                return;
            }
            attributes(c, scope, {});
            std::string text;
            if (!leafText(c, scope, text)) {
                ok = false;
                return;
            }
            if (n == "ID") id = text;
            if (n == "NAME") name = text;
            if (n == "VALUE") value = text;
        });

        // Resolve the field by number and by name; both must agree.
        DataMgmt::FormFieldDescPtr byId;
        DataMgmt::FormFieldDescPtr byName;
        if (name)
            scope.field = trim(*name);
        else if (id)
            scope.field = trim(*id);
        if (id) {
            std::int32_t n = 0;
            if (!parseInteger(*id, n) || n <= 0) {
                problem(line, scope, "field number " + showText(*id) + " is not a positive whole number");
                return;
            }
            byId = form.getFieldDesc(Primitives::QVImmutableIdentifier(n));
            if (byId.isNull()) {
                problem(line, scope, "unknown field number " + std::to_string(n) + " in form " + form.getDevName());
                return;
            }
        }
        if (name) {
            byName = form.findField(trim(*name));
            if (byName.isNull()) {
                problem(line, scope, "unknown field " + showText(trim(*name)) + " in form " + form.getDevName());
                return;
            }
        }
        if (!byId.isNull() && !byName.isNull() && byId.get() != byName.get()) {
            problem(line, scope,
                    "ID " + showText(trim(*id)) + " and NAME " + showText(trim(*name)) + " name different fields");
            return;
        }
        if (byId.isNull() && byName.isNull()) {
            problem(line, scope, "<FIELD> needs an ID or a NAME");
            return;
        }
        const DataMgmt::FormFieldDescPtr field = byId.isNull() ? byName : byId;
        scope.field = field->getSymbolicName();
        if (!ok) return;

        auto [it, inserted] = fieldLines.emplace(field->getID().getNumber(), line);
        if (!inserted) {
            problem(line, scope, "the field is given twice (first at line " + std::to_string(it->second) + ")");
            return;
        }
        if (!value) {
            problem(line, scope, "<FIELD> has no <VALUE> (an empty <VALUE/> makes the field null)");
            return;
        }

        FieldEntry fe;
        fe.desc = field;
        fe.line = line;
        if (auto o = attrs.find("OVERRIDDEN"); o != attrs.end()) {
            const std::string v = trim(o->second);
            if (v == "1") {
                fe.overridden = true;
            } else if (v != "0") {
                problem(line, scope, "OVERRIDDEN " + showText(o->second) + " is not 0 or 1");
                return;
            }
        }
        std::optional<FieldValue::Kind> kind;
        if (auto k = attrs.find("KIND"); k != attrs.end()) {
            kind = kindOfWord(k->second);
            if (!kind) {
                problem(line, scope, "KIND " + showText(k->second) + " is not amount, text or box");
                return;
            }
        }
        if (!parseValue(*value, *field, kind.value_or(naturalKind(*field)), line, scope, fe.value)) return;
        entry.fields.push_back(std::move(fe));
    }

    // Reads a value text as a value of the given kind (the field's own kind
    // unless the file says otherwise).
    bool parseValue(const std::string& text, const DataMgmt::FormFieldDesc& field, FieldValue::Kind kind, int line,
                    const Scope& scope, FieldValue& out) {
        if (kind == FieldValue::Kind::Text) {
            if (text.empty()) {
                out = FieldValue::null();
                return true;
            }
            const std::uint16_t maxLength = field.getMaxLength();
            if (maxLength > 0 && text.size() > maxLength) {
                problem(line, scope,
                        "text of " + std::to_string(text.size()) + " bytes is longer than the field's maximum of " +
                            std::to_string(maxLength));
                return false;
            }
            out = FieldValue::text(text);
            return true;
        }
        const std::string t = trim(text);
        if (t.empty()) {
            out = FieldValue::null();
            return true;
        }
        if (kind == FieldValue::Kind::Box) {
            bool yes = false;
            if (!parseBox(t, yes)) {
                problem(line, scope, "value " + showText(t) + " is not a box mark (X, NO or empty)");
                return false;
            }
            out = FieldValue::box(yes);
            return true;
        }
        double v = 0.0;
        if (!parseAmount(t, amountPlaces(field), v)) {
            problem(line, scope,
                    "non-numeric value " + showText(t) + " in an amount" +
                        (naturalKind(field) == FieldValue::Kind::Number ? " field" : ""));
            return false;
        }
        out = FieldValue::number(v);
        return true;
    }

    // A federal form named by dev name or number, for the seed tables.
    DataMgmt::TaxFormDescPtr federalForm(const std::string& text, int line, const Scope& scope,
                                         Primitives::QVImmutableFormIdentifier& id) {
        const std::string t = trim(text);
        if (allDigits(t)) {
            std::int32_t n = 0;
            if (!parseInteger(t, n) || n <= 0) {
                problem(line, scope, "form number " + showText(t) + " is not a positive whole number");
                return DataMgmt::TaxFormDescPtr();
            }
            id = Primitives::QVImmutableFormIdentifier(n, false);
            if (descriptions_.federal == nullptr) {
                return DataMgmt::TaxFormDescPtr();  // number accepted without descriptions
            }
            DataMgmt::TaxFormDescPtr f = descriptions_.federal->getTaxFormDescriptor(id);
            if (f.isNull()) problem(line, scope, "unknown federal form number " + t);
            return f;
        }
        if (descriptions_.federal == nullptr) {
            problem(line, scope, "federal form " + showText(t) + " cannot be resolved: no federal form definitions");
            return DataMgmt::TaxFormDescPtr();
        }
        DataMgmt::TaxFormDescPtr f = descriptions_.federal->findByDevName(t);
        if (f.isNull()) {
            problem(line, scope, "unknown federal form " + showText(t));
            return DataMgmt::TaxFormDescPtr();
        }
        id = f->getTypeID();
        return f;
    }

    void readReturnSeeds(const xmlNode* node, DataMgmt::TaxReturnType type, ReturnSeeds& seeds) {
        attributes(node, {}, {});
        const bool federal = type == DataMgmt::kFederalReturnType;
        static const std::set<std::string> kFederal = {"FILINGSTATUS", "FORM2555", "OFFICELOCATORURL",
                                                       "SESSIONPROPERTY"};
        static const std::set<std::string> kState = {
            "PULLCOMMON",           "W2SPLIT", "STATEWAGES",  "ALLSTATEWAGES", "STATEWITHHELD",
            "STATEWITHHELDNOLOCAL", "INELF",   "ENABLEDTYPE", "TAXBALANCE",    "REFUNDCODE"};
        std::map<std::string, int> seen;
        std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int> commonLines;
        std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int> splitLines;
        forEachElement(node, {}, [&](const xmlNode* c) {
            const std::string n = nodeName(c);
            const int line = lineOf(c);
            const auto& mine = federal ? kFederal : kState;
            const auto& other = federal ? kState : kFederal;
            if (!mine.count(n)) {
                if (other.count(n)) {
                    problem(line, {},
                            "<" + n + "> belongs in the " + (federal ? "Georgia" : "federal") + " return's <HOST>");
                } else {
                    problem(line, {},
                            "unknown element <" + n + "> in the " + returnTypeWord(type) + " return's <HOST>");
                }
                return;
            }
            const bool repeatable = n == "PULLCOMMON" || n == "W2SPLIT" || n == "SESSIONPROPERTY";
            if (!repeatable && !once(seen, c, {})) return;

            if (n == "PULLCOMMON") {
                readCommonItem(c, seeds, commonLines);
            } else if (n == "W2SPLIT") {
                readW2Split(c, seeds, splitLines);
            } else if (n == "SESSIONPROPERTY") {
                const auto attrs = attributes(c, {}, {"NAME"});
                std::string text;
                if (!leafText(c, {}, text)) return;
                auto nm = attrs.find("NAME");
                if (nm == attrs.end() || trim(nm->second).empty()) {
                    problem(line, {}, "<SESSIONPROPERTY> needs a NAME");
                    return;
                }
                int v = 0;
                if (!parseInteger(text, v) || v < -128 || v > 127) {
                    problem(line, {},
                            "session property " + nm->second + ": value " + showText(trim(text)) +
                                " is not a whole number from -128 to 127");
                    return;
                }
                if (!seeds.sessionProperties.emplace(trim(nm->second), static_cast<std::int8_t>(v)).second) {
                    problem(line, {}, "session property " + nm->second + " is given twice");
                }
            } else {
                attributes(c, {}, {});
                std::string text;
                if (!leafText(c, {}, text)) return;
                readSingleSeed(n, text, line, seeds);
            }
        });
    }

    void readSingleSeed(const std::string& n, const std::string& text, int line, ReturnSeeds& seeds) {
        const std::string t = trim(text);
        auto wholeNumber = [&](auto& slot, const char* what) {
            std::int64_t v = 0;
            if (!parseInteger(t, v)) {
                problem(line, {}, std::string(what) + " " + showText(t) + " is not a whole number");
            } else {
                slot = static_cast<std::remove_reference_t<decltype(*slot)>>(v);
            }
        };
        auto amount = [&](std::optional<double>& slot, const char* what) {
            double v = 0.0;
            if (!parseAmount(t, 0, v)) {
                problem(line, {}, std::string(what) + ": non-numeric value " + showText(t));
            } else {
                slot = v;
            }
        };
        auto box = [&](std::optional<bool>& slot, const char* what) {
            bool yes = false;
            if (!parseBox(t, yes)) {
                problem(line, {}, std::string(what) + ": value " + showText(t) + " is not a box mark (X or NO)");
            } else {
                slot = yes;
            }
        };
        if (n == "FILINGSTATUS") {
            int v = 0;
            if (!parseInteger(t, v) || v < 1 || v > 5) {
                problem(line, {}, "federal filing status " + showText(t) + " is not 1 to 5");
            } else {
                seeds.filingStatus = v;
            }
        } else if (n == "FORM2555") {
            box(seeds.form2555Present, "form 2555 present");
        } else if (n == "OFFICELOCATORURL") {
            seeds.officeLocatorURL = t;
        } else if (n == "STATEWAGES") {
            amount(seeds.stateWages, "state wages");
        } else if (n == "ALLSTATEWAGES") {
            amount(seeds.allStateWages, "wages of all states");
        } else if (n == "STATEWITHHELD") {
            amount(seeds.stateTaxWithheld, "state tax withheld");
        } else if (n == "STATEWITHHELDNOLOCAL") {
            amount(seeds.stateTaxWithheldNoLocal, "state tax withheld without local tax");
        } else if (n == "INELF") {
            box(seeds.inElf, "e-file status");
        } else if (n == "ENABLEDTYPE") {
            wholeNumber(seeds.enabledType, "enabled type");
        } else if (n == "TAXBALANCE") {
            wholeNumber(seeds.taxBalance, "balance due");
        } else if (n == "REFUNDCODE") {
            seeds.refundCode = text;
        }
    }

    void readCommonItem(const xmlNode* c, ReturnSeeds& seeds,
                        std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int>& lines) {
        const int line = lineOf(c);
        const auto attrs = attributes(c, {}, {"FORM", "TYPE"});
        std::string text;
        if (!leafText(c, {}, text)) return;
        auto f = attrs.find("FORM");
        auto t = attrs.find("TYPE");
        if (f == attrs.end() || t == attrs.end()) {
            problem(line, {}, "<PULLCOMMON> needs FORM and TYPE");
            return;
        }
        Scope scope;
        scope.form = trim(f->second);
        CommonItem item;
        const DataMgmt::TaxFormDescPtr form = federalForm(f->second, line, scope, item.form);
        if (item.form.getNumber() <= 0) return;
        if (!form.isNull()) item.formName = form->getDevName();
        if (!parseInteger(t->second, item.type) || item.type <= 0) {
            problem(line, scope, "common item type " + showText(t->second) + " is not a positive whole number");
            return;
        }
        if (!parseInteger(text, item.value)) {
            problem(line, scope,
                    "common item " + std::to_string(item.type) + ": value " + showText(trim(text)) +
                        " is not a whole number");
            return;
        }
        auto [it, inserted] = lines.emplace(std::make_pair(item.form, item.type), line);
        if (!inserted) {
            problem(line, scope,
                    "common item " + std::to_string(item.type) + " is given twice (first at line " +
                        std::to_string(it->second) + ")");
            return;
        }
        seeds.commonItems.push_back(item);
    }

    void readW2Split(const xmlNode* c, ReturnSeeds& seeds,
                     std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int>& lines) {
        const int line = lineOf(c);
        const auto attrs = attributes(c, {}, {"FORM", "FIELD", "TAXPAYER", "SPOUSE"});
        std::string text;
        leafText(c, {}, text);
        if (!trim(text).empty()) problem(line, {}, "<W2SPLIT> takes its values as attributes, not as text");
        for (const char* need : {"FORM", "FIELD", "TAXPAYER", "SPOUSE"}) {
            if (!attrs.count(need)) {
                problem(line, {}, std::string("<W2SPLIT> needs ") + need);
                return;
            }
        }
        Scope scope;
        scope.form = trim(attrs.at("FORM"));
        scope.field = trim(attrs.at("FIELD"));
        W2Split split;
        DataMgmt::TaxFormDescPtr form = federalForm(attrs.at("FORM"), line, scope, split.form);
        if (split.form.getNumber() <= 0) return;
        if (!form.isNull()) split.formName = form->getDevName();
        const std::string fieldText = trim(attrs.at("FIELD"));
        if (allDigits(fieldText)) {
            std::int32_t n = 0;
            if (!parseInteger(fieldText, n) || n <= 0 || (!form.isNull() && !form->hasField(n))) {
                problem(line, scope, "unknown field " + showText(fieldText));
                return;
            }
            split.field = Primitives::QVImmutableIdentifier(n);
        } else {
            DataMgmt::FormFieldDescPtr f = form.isNull() ? DataMgmt::FormFieldDescPtr() : form->findField(fieldText);
            if (f.isNull()) {
                problem(line, scope, "unknown field " + showText(fieldText));
                return;
            }
            split.field = f->getID();
        }
        if (!parseAmount(attrs.at("TAXPAYER"), 0, split.taxpayer)) {
            problem(line, scope, "taxpayer's share " + showText(attrs.at("TAXPAYER")) + " is not a number");
            return;
        }
        if (!parseAmount(attrs.at("SPOUSE"), 0, split.spouse)) {
            problem(line, scope, "spouse's share " + showText(attrs.at("SPOUSE")) + " is not a number");
            return;
        }
        auto [it, inserted] = lines.emplace(std::make_pair(split.form, split.field.getNumber()), line);
        if (!inserted) {
            problem(line, scope, "the W-2 split is given twice (first at line " + std::to_string(it->second) + ")");
            return;
        }
        seeds.w2Splits.push_back(split);
    }

    std::string file_;
    ReturnDescriptions descriptions_;
    ReturnFileContents contents_;
    std::vector<std::string> problems_;
};

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
        self->message = error->message != nullptr ? trim(error->message) : "not well-formed";
    }
};

[[noreturn]] void fail(const std::vector<std::string>& problems, const char* operation) {
    std::string message;
    const std::size_t shown = std::min(problems.size(), kMaxReportedProblems);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) message += "\n";
        message += problems[i];
    }
    if (problems.size() > shown) {
        message += "\n... and " + std::to_string(problems.size() - shown) + " more problems";
    }
    throw Exceptions::QuarloException(message, "ReturnFile", operation);
}

// ------------------------------------------------------------ the writer

class Writer {
public:
    Writer() : buffer_(xmlBufferCreate()) {
        if (buffer_ == nullptr) throw Exceptions::QuarloException("out of memory", "ReturnFile", "write");
        writer_ = xmlNewTextWriterMemory(buffer_, 0);
        if (writer_ == nullptr) {
            xmlBufferFree(buffer_);
            throw Exceptions::QuarloException("cannot create the XML writer", "ReturnFile", "write");
        }
    }
    ~Writer() {
        if (writer_ != nullptr) xmlFreeTextWriter(writer_);
        xmlBufferFree(buffer_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    std::string document(const ReturnFileContents& contents) {
        check(xmlTextWriterSetIndent(writer_, 1));
        check(xmlTextWriterSetIndentString(writer_, BAD_CAST "\t"));
        check(xmlTextWriterStartDocument(writer_, "1.0", "UTF-8", nullptr));
        start("RETURNFILE");
        attribute("TAXYEAR", std::to_string(kTaxYear));
        if (contents.host.clock || contents.host.randSeed) {
            start("HOST");
            if (contents.host.clock) element("CLOCK", ReturnFile::formatUtcTime(*contents.host.clock));
            if (contents.host.randSeed) element("RANDSEED", std::to_string(*contents.host.randSeed));
            end();
        }
        if (contents.federal) writeReturn(*contents.federal);
        if (contents.georgia) writeReturn(*contents.georgia);
        end();
        check(xmlTextWriterEndDocument(writer_));
        check(xmlTextWriterFlush(writer_));
        xmlFreeTextWriter(writer_);
        writer_ = nullptr;
        return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_)),
                           static_cast<std::size_t>(xmlBufferLength(buffer_)));
    }

private:
    void check(int rc) {
        if (rc < 0) throw Exceptions::QuarloException("the XML writer failed", "ReturnFile", "write");
    }
    void start(const char* name) { check(xmlTextWriterStartElement(writer_, BAD_CAST name)); }
    void end() { check(xmlTextWriterEndElement(writer_)); }
    void attribute(const char* name, const std::string& value) {
        check(xmlTextWriterWriteAttribute(writer_, BAD_CAST name, BAD_CAST value.c_str()));
    }
    // An element holding escaped text (never CDATA: a carriage return would
    // not survive a CDATA section).
    void element(const char* name, const std::string& value) {
        start(name);
        if (!value.empty()) check(xmlTextWriterWriteString(writer_, BAD_CAST value.c_str()));
        end();
    }

    static void requireXmlText(const std::string& text, const std::string& where) {
        std::string why;
        if (!isXmlText(text, why)) throw Exceptions::QuarloException(where + ": " + why, "ReturnFile", "write");
    }

    void writeSeeds(const ReturnSeeds& s) {
        start("HOST");
        if (s.filingStatus) element("FILINGSTATUS", std::to_string(*s.filingStatus));
        if (s.form2555Present) element("FORM2555", *s.form2555Present ? "X" : "NO");
        if (s.officeLocatorURL) {
            requireXmlText(*s.officeLocatorURL, "office locator URL");
            element("OFFICELOCATORURL", *s.officeLocatorURL);
        }
        for (const auto& [name, value] : s.sessionProperties) {
            requireXmlText(name, "session property name");
            start("SESSIONPROPERTY");
            attribute("NAME", name);
            check(xmlTextWriterWriteString(writer_, BAD_CAST std::to_string(value).c_str()));
            end();
        }
        for (const CommonItem& c : s.commonItems) {
            start("PULLCOMMON");
            attribute("FORM", c.formName.empty() ? std::to_string(c.form.getNumber()) : c.formName);
            attribute("TYPE", std::to_string(c.type));
            check(xmlTextWriterWriteString(writer_, BAD_CAST std::to_string(c.value).c_str()));
            end();
        }
        for (const W2Split& w : s.w2Splits) {
            start("W2SPLIT");
            attribute("FORM", w.formName.empty() ? std::to_string(w.form.getNumber()) : w.formName);
            attribute("FIELD", std::to_string(w.field.getNumber()));
            attribute("TAXPAYER", formatDisplayAmount(w.taxpayer, 0));
            attribute("SPOUSE", formatDisplayAmount(w.spouse, 0));
            end();
        }
        if (s.stateWages) element("STATEWAGES", formatDisplayAmount(*s.stateWages, 0));
        if (s.allStateWages) element("ALLSTATEWAGES", formatDisplayAmount(*s.allStateWages, 0));
        if (s.stateTaxWithheld) element("STATEWITHHELD", formatDisplayAmount(*s.stateTaxWithheld, 0));
        if (s.stateTaxWithheldNoLocal)
            element("STATEWITHHELDNOLOCAL", formatDisplayAmount(*s.stateTaxWithheldNoLocal, 0));
        if (s.inElf) element("INELF", *s.inElf ? "X" : "NO");
        if (s.enabledType) element("ENABLEDTYPE", std::to_string(*s.enabledType));
        if (s.taxBalance) element("TAXBALANCE", std::to_string(*s.taxBalance));
        if (s.refundCode) {
            requireXmlText(*s.refundCode, "refund code");
            element("REFUNDCODE", *s.refundCode);
        }
        end();
    }

    void writeReturn(const ReturnPart& part) {
        start("RETURN");
        attribute("TYPE", part.type == DataMgmt::kFederalReturnType ? "federal" : "GA");
        if (!part.label.empty()) {
            requireXmlText(part.label, "return label");
            attribute("LABEL", part.label);
        }
        if (!part.name.empty()) {
            requireXmlText(part.name, "return name");
            element("RETURNNAME", part.name);
        }
        if (!part.seeds.empty()) writeSeeds(part.seeds);
        for (const CopyEntry& c : part.copies) writeCopy(c);
        end();
    }

    void writeCopy(const CopyEntry& c) {
        const DataMgmt::TaxFormDesc& form = *c.desc;
        start("FORM");
        attribute("DEVNAME", form.getDevName());
        attribute("COPY", std::to_string(c.copy));
        bool holdsValue = false;
        for (const FieldEntry& f : c.fields) holdsValue = holdsValue || !f.value.isNull();
        if (c.dataEntered && *c.dataEntered != holdsValue) attribute("DATAENTERED", *c.dataEntered ? "1" : "0");
        requireXmlText(form.getBusinessName(), "form " + form.getDevName() + ": business name");
        element("BUSNAME", form.getBusinessName());
        for (const FieldEntry& f : c.fields) {
            if (f.value.isNull() && !f.overridden) continue;
            const DataMgmt::FormFieldDesc& d = *f.desc;
            const std::string where =
                "form " + form.getDevName() + " copy " + std::to_string(c.copy) + " field " + d.getSymbolicName();
            const std::string text = valueText(f.value, d, where);
            requireXmlText(text, where);
            start("FIELD");
            if (f.overridden) attribute("OVERRIDDEN", "1");
            // A value of another kind than its field's (the store keeps what a
            // calculation writes) says its kind, so that it reads back as it is.
            if (!f.value.isNull() && f.value.kind() != naturalKind(d)) attribute("KIND", kindWord(f.value.kind()));
            element("ID", std::to_string(d.getID().getNumber()));
            element("NAME", d.getSymbolicName());
            element("LINENUM", d.getLineID());
            element("VALUE", text);
            end();
        }
        end();
    }

    static std::string valueText(const FieldValue& v, const DataMgmt::FormFieldDesc& d, const std::string& where) {
        switch (v.kind()) {
            case FieldValue::Kind::Box:
                return v.boxYes() ? "X" : "NO";
            case FieldValue::Kind::Text:
                return v.getText();
            case FieldValue::Kind::Number: {
                std::string s = formatDisplayAmount(v.getNumber(), amountPlaces(d));
                if (s.empty()) {
                    throw Exceptions::QuarloException(where + ": the amount is not a finite number", "ReturnFile",
                                                      "write");
                }
                return s;
            }
            case FieldValue::Kind::Null:
                break;
        }
        return {};
    }

    xmlBufferPtr buffer_;
    xmlTextWriterPtr writer_ = nullptr;
};

std::string errnoText(int e) { return std::strerror(e); }

}  // namespace

// ------------------------------------------------------------ amounts as text

bool parseAmount(const std::string& text, int places, double& out) {
    const std::string t = trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    std::string whole;
    std::string fraction;
    bool grouped = false;
    std::size_t groupLength = 0;
    for (; i < t.size() && (std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == ','); ++i) {
        if (t[i] == ',') {
            // Thousands separators: 1 to 3 digits first, then groups of 3.
            if (whole.empty() || (grouped ? groupLength != 3 : groupLength > 3)) return false;
            grouped = true;
            groupLength = 0;
            continue;
        }
        whole += t[i];
        ++groupLength;
    }
    if (grouped && groupLength != 3) return false;
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) fraction += t[i];
    }
    if (i != t.size() || (whole.empty() && fraction.empty())) return false;

    // Shift the decimal point right by `places` digits.
    if (places > 0) {
        if (fraction.size() < static_cast<std::size_t>(places)) fraction.append(places - fraction.size(), '0');
        whole += fraction.substr(0, places);
        fraction.erase(0, places);
    }
    std::string digits = (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction);
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(v)) return false;
    out = negative ? -v : v;
    return true;
}

// ------------------------------------------------------------ staging model

bool CopyEntry::effectiveDataEntered() const {
    if (dataEntered) return *dataEntered;
    return std::any_of(fields.begin(), fields.end(), [](const FieldEntry& f) { return !f.value.isNull(); });
}

bool ReturnSeeds::empty() const {
    return !filingStatus && !form2555Present && !officeLocatorURL && sessionProperties.empty() && commonItems.empty() &&
           w2Splits.empty() && !stateWages && !allStateWages && !stateTaxWithheld && !stateTaxWithheldNoLocal &&
           !inElf && !enabledType && !taxBalance && !refundCode;
}

std::size_t ReturnPart::fieldCount() const {
    std::size_t n = 0;
    for (const CopyEntry& c : copies) {
        for (const FieldEntry& f : c.fields) n += f.value.isNull() ? 0 : 1;
    }
    return n;
}

std::size_t ReturnPart::formCount() const {
    std::set<Primitives::QVImmutableFormIdentifier> forms;
    for (const CopyEntry& c : copies) forms.insert(c.desc->getTypeID());
    return forms.size();
}

// ------------------------------------------------------------ reading and writing

ReturnFileContents ReturnFile::read(const std::string& path, const ReturnDescriptions& descriptions) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        fail({path + ": is a directory, not a return file"}, "read");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) fail({path + ": cannot open the return file: " + errnoText(errno)}, "read");
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) fail({path + ": cannot read the return file: " + errnoText(errno)}, "read");
    return parse(ss.str(), path, descriptions);
}

ReturnFileContents ReturnFile::parse(const std::string& document, const std::string& displayName,
                                     const ReturnDescriptions& descriptions) {
    if (document.size() > kMaxFileSize) {
        fail({displayName + ": the file is larger than " + std::to_string(kMaxFileSize / (1024 * 1024)) + " MiB"},
             "read");
    }
    if (trim(document).empty()) fail({displayName + ":1: the file is empty"}, "read");
    xmlInitParser();
    std::unique_ptr<xmlParserCtxt, XmlParserCtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt) fail({displayName + ": out of memory"}, "read");
    // The first error is the one that tells what is wrong; the parser's last
    // error is often only a consequence of it.
    FirstXmlError first;
    ctxt->_private = &first;
    ctxt->sax->serror = &FirstXmlError::record;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
    std::unique_ptr<xmlDoc, XmlDocFree> doc(xmlCtxtReadMemory(
        ctxt.get(), document.data(), static_cast<int>(document.size()), displayName.c_str(), nullptr, options));
    if (!doc || !ctxt->wellFormed) {
        std::string what = first.message;
        int line = first.line;
        if (!first.seen) {
            const xmlError* e = xmlCtxtGetLastError(ctxt.get());
            what = e != nullptr && e->message != nullptr ? trim(e->message) : "not well-formed";
            line = e != nullptr ? e->line : 0;
        }
        fail({displayName + ":" + std::to_string(line > 0 ? line : 1) + ": malformed XML: " + what}, "read");
    }
    Reader reader(displayName, descriptions);
    ReturnFileContents contents = reader.read(doc.get());
    if (!reader.problems().empty()) fail(reader.problems(), "read");
    return contents;
}

std::string ReturnFile::serialize(const ReturnFileContents& contents) {
    xmlInitParser();
    Writer writer;
    return writer.document(contents);
}

void ReturnFile::write(const std::string& path, const ReturnFileContents& contents) {
    writeAtomically(path, serialize(contents));
}

void ReturnFile::writeAtomically(const std::string& path, const std::string& bytes) {
    auto failure = [&](const std::string& what, int e) {
        throw Exceptions::QuarloException(path + ": " + what + ": " + errnoText(e), "ReturnFile", "write");
    };
    if (path.empty()) throw Exceptions::QuarloException("no file name given", "ReturnFile", "write");
    const std::filesystem::path target(path);
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) failure("cannot create a temporary file in " + dir.string(), errno);
    const std::string tmp(name.data());
    auto abandon = [&](const std::string& what) {
        const int e = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        failure(what, e);
    };

    // Keep the permissions of the file being replaced; a new file gets the
    // usual 0644.
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) abandon("cannot set the temporary file's permissions");

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            abandon("cannot write the temporary file");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) abandon("cannot flush the temporary file");
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        failure("cannot close the temporary file", e);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        failure("cannot move the new file into place", e);
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// ------------------------------------------------------------ the store

namespace {

// Checks, before anything is changed, that every copy of the part belongs to
// the target return's own descriptions.
void checkTarget(const ReturnPart& part, const DataMgmt::TaxReturn* target) {
    const char* word = returnTypeWord(part.type);
    if (target == nullptr) {
        throw Exceptions::QuarloException(std::string("the file holds a ") + word + " return but none is open",
                                          "ReturnFile", "apply");
    }
    for (const CopyEntry& c : part.copies) {
        if (target->getTaxFormDescriptor(c.desc->getTypeID()).get() != c.desc.get()) {
            throw Exceptions::QuarloException("form " + c.desc->getDevName() +
                                                  " was read against other form "
                                                  "definitions than those of the " +
                                                  word + " return",
                                              "ReturnFile", "apply");
        }
    }
}

void applyCopies(const ReturnPart& part, DataMgmt::TaxReturn& target) {
    for (const CopyEntry& c : part.copies) {
        const Primitives::QVImmutableFormIdentifier& id = c.desc->getTypeID();
        DataMgmt::TaxFormPtr copy = target.getFormUVPtr(id, c.copy, true);
        if (copy.isNull()) {
            throw Exceptions::QuarloException(
                "form " + c.desc->getDevName() + " copy " + std::to_string(c.copy) + " cannot be created", "ReturnFile",
                "apply");
        }
        for (const FieldEntry& f : c.fields) {
            copy->setValue(f.desc->getID(), f.value);
            if (f.overridden) copy->setOverridden(f.desc->getID(), true);
        }
        target.setDataEntered(id, c.copy, c.effectiveDataEntered());
    }
}

void applyFederalSeeds(const ReturnSeeds& s, DataMgmt::TaxReturn& target) {
    if (s.filingStatus) target.setFilingStatusNumber(static_cast<std::int8_t>(*s.filingStatus));
    if (s.form2555Present) target.setForm2555Present(*s.form2555Present);
    if (s.officeLocatorURL) target.setOfficeLocatorURL(*s.officeLocatorURL);
    for (const auto& [name, value] : s.sessionProperties) {
        target.getSessionProperties()->setQVInt8Property(name, value);
    }
}

void applyStateSeeds(const ReturnSeeds& s, StateDataMgmt::StateTaxReturn& target) {
    for (const CommonItem& c : s.commonItems) {
        target.setPullCommon(c.form, static_cast<Utils::PCTypes>(c.type), c.value);
    }
    for (const W2Split& w : s.w2Splits) target.setFromW2(w.form, w.field, w.taxpayer, w.spouse);
    if (s.stateWages) target.setStateWages(s.stateWages);
    if (s.allStateWages) target.setAllStateWages(s.allStateWages);
    if (s.stateTaxWithheld) target.setStateTaxWithheld(s.stateTaxWithheld);
    if (s.stateTaxWithheldNoLocal) target.setStateTaxWithheldNoLocal(s.stateTaxWithheldNoLocal);
    if (s.inElf) target.setInElf(*s.inElf);
    if (s.enabledType) target.setEnabledType(*s.enabledType);
    if (s.taxBalance) target.setTaxBalance(s.taxBalance);
    if (s.refundCode) target.setRefundCode(*s.refundCode);
}

ReturnPart snapshotPart(DataMgmt::TaxReturn& source, const ReturnPart* loaded) {
    ReturnPart part;
    part.type = source.getReturnType();
    if (loaded != nullptr) {
        part.name = loaded->name;
        part.label = loaded->label;
        part.seeds = loaded->seeds;
    }
    const DataMgmt::TaxReturnDescPtr desc = source.getTaxReturnDesc();
    for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptorsInDisplayOrder(); !forms.atEOL(); forms.next()) {
        const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
        const Primitives::QVImmutableFormIdentifier& id = form->getTypeID();
        for (std::uint16_t n : source.copyNumbers(id)) {
            const DataMgmt::TaxFormPtr copy = source.getForm(id, n);
            CopyEntry entry;
            entry.desc = form;
            entry.copy = n;
            entry.dataEntered = copy->isDataEntered();
            for (DataMgmt::QVFieldIDIter f = form->getFieldIDs(); !f.atEOL(); f.next()) {
                const Primitives::QVImmutableIdentifier field = f.getFieldID();
                FieldEntry fe;
                fe.value = copy->getValue(field);
                fe.overridden = copy->isOverridden(field);
                if (fe.value.isNull() && !fe.overridden) continue;
                fe.desc = form->getFieldDesc(field);
                entry.fields.push_back(std::move(fe));
            }
            part.copies.push_back(std::move(entry));
        }
    }
    return part;
}

}  // namespace

ReturnFileContents ReturnFile::load(const std::string& path, DataMgmt::TaxReturn* federal,
                                    StateDataMgmt::StateTaxReturn* georgia) {
    ReturnDescriptions descriptions;
    if (federal != nullptr) descriptions.federal = federal->getTaxReturnDesc().get();
    if (georgia != nullptr) descriptions.georgia = georgia->getTaxReturnDesc().get();
    ReturnFileContents contents = read(path, descriptions);
    apply(contents, federal, georgia);
    return contents;
}

void ReturnFile::apply(const ReturnFileContents& contents, DataMgmt::TaxReturn* federal,
                       StateDataMgmt::StateTaxReturn* georgia) {
    if (contents.federal) checkTarget(*contents.federal, federal);
    if (contents.georgia) checkTarget(*contents.georgia, georgia);
    if (contents.federal) {
        applyCopies(*contents.federal, *federal);
        applyFederalSeeds(contents.federal->seeds, *federal);
        federal->clearSaveNeeded();
    }
    if (contents.georgia) {
        applyCopies(*contents.georgia, *georgia);
        applyStateSeeds(contents.georgia->seeds, *georgia);
        georgia->clearSaveNeeded();
    }
    if (contents.host.clock) crt::setClock(*contents.host.clock);
    if (contents.host.randSeed) crt::srand(*contents.host.randSeed);
}

ReturnFileContents ReturnFile::snapshot(DataMgmt::TaxReturn* federal, StateDataMgmt::StateTaxReturn* georgia,
                                        const ReturnFileContents* loaded) {
    ReturnFileContents out;
    if (loaded != nullptr) out.host = loaded->host;
    if (federal != nullptr) {
        const ReturnPart* from = loaded != nullptr && loaded->federal ? &*loaded->federal : nullptr;
        ReturnPart part = snapshotPart(*federal, from);
        ReturnSeeds& s = part.seeds;
        const int status = federal->getFilingStatusNumber();
        if (s.filingStatus || status != 1) s.filingStatus = status;
        if (s.form2555Present || federal->isForm2555Present()) s.form2555Present = federal->isForm2555Present();
        const DataMgmt::SessionPropertiesPtr props = federal->getSessionProperties();
        for (auto it = s.sessionProperties.begin(); it != s.sessionProperties.end();) {
            if (props.isNull() || !props->propertyExists(it->first)) {
                it = s.sessionProperties.erase(it);
            } else {
                it->second = props->getQVInt8Property(it->first);
                ++it;
            }
        }
        out.federal = std::move(part);
    }
    if (georgia != nullptr) {
        const ReturnPart* from = loaded != nullptr && loaded->georgia ? &*loaded->georgia : nullptr;
        ReturnPart part = snapshotPart(*georgia, from);
        ReturnSeeds& s = part.seeds;
        if (s.inElf || georgia->InElf()) s.inElf = georgia->InElf();
        if (s.enabledType || georgia->getEnabledType() != 1) s.enabledType = georgia->getEnabledType();
        if (s.refundCode || !georgia->refundCode().empty()) s.refundCode = georgia->refundCode();
        out.georgia = std::move(part);
    }
    return out;
}

void ReturnFile::save(const std::string& path, DataMgmt::TaxReturn* federal, StateDataMgmt::StateTaxReturn* georgia,
                      const ReturnFileContents* loaded) {
    write(path, snapshot(federal, georgia, loaded));
}

bool ReturnFile::parseUtcTime(const std::string& text, std::time_t& out) {
    const std::string t = trim(text);
    // YYYY-MM-DD, optionally followed by Thh:mm:ss and an optional Z.
    auto digits = [&](std::size_t at, std::size_t n, int& v) {
        if (at + n > t.size()) return false;
        v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (t[i] < '0' || t[i] > '9') return false;
            v = v * 10 + (t[i] - '0');
        }
        return true;
    };
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!digits(0, 4, y) || t.size() < 10 || t[4] != '-' || !digits(5, 2, mo) || t[7] != '-' || !digits(8, 2, d)) {
        return false;
    }
    std::size_t at = 10;
    if (at < t.size()) {
        if (t.size() < 19 || t[10] != 'T' || !digits(11, 2, h) || t[13] != ':' || !digits(14, 2, mi) || t[16] != ':' ||
            !digits(17, 2, s)) {
            return false;
        }
        at = 19;
        if (at < t.size() && t[at] == 'Z') ++at;
        if (at != t.size()) return false;
    }
    if (y < 1970 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[mo - 1] + (mo == 2 && leap ? 1 : 0)) return false;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    out = ::timegm(&tm);
    return true;
}

std::string ReturnFile::formatUtcTime(std::time_t t) {
    std::tm tm{};
    if (::gmtime_r(&t, &tm) == nullptr) return {};
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

}  // namespace PersistanceMgmt
