// Reading a plain return-file document into its tree without libxml2: the
// common case of a file written by hand or by the writer, read in a few
// microseconds instead of libxml2's several tens.
//
// The reader accepts only what it knows libxml2 accepts, and gives the tree
// libxml2 would give: the same texts (blanks between elements dropped as
// XML_PARSE_NOBLANKS drops them, attribute values normalized) and the same
// lines. At the first thing outside that narrow grammar it answers false,
// and libxml2 reads the document instead.
#include <algorithm>
#include <cstring>

#include "platform/returnfile/ReturnFileTree.h"
#include "platform/util/Utils.h"

namespace PersistanceMgmt::detail {

namespace {

// Deeper documents, longer names and texts, and documents of more lines are
// left to libxml2, which has limits of its own for them; lines past 65534
// are also kept differently in its tree.
constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxNameLength = 1000;
constexpr std::size_t kMaxTextLength = 1u << 20;
constexpr std::size_t kMaxLines = 65000;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Tabs, line feeds and printable ASCII only, in few enough lines.
bool plainBytes(std::string_view document) {
    std::size_t lines = 0;
    bool plain = true;
    for (const char ch : document) {
        const auto c = static_cast<unsigned char>(ch);
        lines += c == '\n' ? 1 : 0;
        plain &= (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n';
    }
    return plain && lines < kMaxLines;
}

}  // namespace

class PlainXmlReader {
public:
    PlainXmlReader(std::string_view document, XmlTree& tree)
        : p_(document.data()), end_(document.data() + document.size()), tree_(tree) {}

    // False as soon as the document leaves the plain grammar.
    bool read() {
        if (startsWith("<?xml") && !xmlDeclaration()) return false;
        if (!misc() || peek(0) != '<' || !element()) return false;
        return misc() && p_ == end_;
    }

private:
    // An element still open, and what libxml2 has put in it so far.
    struct Open {
        std::uint32_t node = 0;
        std::string_view name;
        bool hasChildren = false;  // a text, comment or element
        bool firstIsText = false;  // blanks next to a text are kept
        bool lastIsText = false;
        // Once a kept text has begun with a blank, every blank is kept.
        bool keepsBlanks = false;
    };

    char peek(std::size_t k) const { return static_cast<std::size_t>(end_ - p_) > k ? p_[k] : '\0'; }
    bool startsWith(std::string_view s) const {
        return static_cast<std::size_t>(end_ - p_) >= s.size() && std::memcmp(p_, s.data(), s.size()) == 0;
    }
    bool literal(std::string_view s) {
        if (!startsWith(s)) return false;
        p_ += s.size();
        return true;
    }
    // Skips blanks, counting lines; whether there were any.
    bool blanks() {
        const char* from = p_;
        for (; p_ != end_ && isBlank(*p_); ++p_) line_ += *p_ == '\n' ? 1 : 0;
        return p_ != from;
    }
    bool name(std::string_view& out) {
        if (p_ == end_ || !isNameStart(*p_)) return false;
        const char* from = p_;
        while (p_ != end_ && isNameChar(*p_)) ++p_;
        out = std::string_view(from, static_cast<std::size_t>(p_ - from));
        return out.size() <= kMaxNameLength;
    }
    bool equalsSign() {
        blanks();
        if (!literal("=")) return false;
        blanks();
        return true;
    }
    // A quoted value without markup or references; its blanks become
    // spaces, as in any attribute value without a declared type.
    bool quoted(std::string_view& out) {
        const char quote = peek(0);
        if (quote != '"' && quote != '\'') return false;
        const char* from = ++p_;
        bool normalize = false;
        for (; p_ != end_ && *p_ != quote; ++p_) {
            if (*p_ == '<' || *p_ == '&') return false;
            if (*p_ == '\n') ++line_;
            normalize |= *p_ == '\n' || *p_ == '\t';
        }
        if (p_ == end_ || static_cast<std::size_t>(p_ - from) > kMaxTextLength) return false;
        out = std::string_view(from, static_cast<std::size_t>(p_ - from));
        ++p_;
        if (normalize) {
            std::string value(out);
            std::replace_if(value.begin(), value.end(), isBlank, ' ');
            out = tree_.keep(std::move(value));
        }
        return true;
    }

    // <?xml version="1.0" encoding="UTF-8"?>, the encoding optional.
    bool xmlDeclaration() {
        p_ += 5;
        std::string_view v;
        if (!blanks() || !literal("version") || !equalsSign() || !quoted(v) || v != "1.0") return false;
        bool spaced = blanks();
        if (spaced && literal("encoding")) {
            if (!equalsSign() || !quoted(v) || Utils::QVStringUtils::stricmp(v, "utf-8") != 0) return false;
            blanks();
        }
        return literal("?>");
    }

    // Blanks and comments around the root element.
    bool misc() {
        while (true) {
            blanks();
            if (!startsWith("<!--")) return true;
            if (!comment()) return false;
        }
    }
    // <!-- ... -->, without "--" inside.
    bool comment() {
        p_ += 4;
        const char* from = p_;
        for (; p_ != end_ && !(*p_ == '-' && peek(1) == '-'); ++p_) line_ += *p_ == '\n' ? 1 : 0;
        if (peek(2) != '>' || static_cast<std::size_t>(p_ - from) > kMaxTextLength) return false;
        p_ += 3;
        return true;
    }

    // A start tag, its element added to the tree; `empty` for <NAME/>.
    bool startTag(std::uint32_t parent, Open& open, bool& empty) {
        ++p_;
        XmlNode node;
        if (!name(node.name)) return false;
        node.firstAttribute = static_cast<std::uint32_t>(tree_.attributes_.size());
        while (true) {
            const bool spaced = blanks();
            if (literal(">")) {
                empty = false;
                break;
            }
            if (literal("/>")) {
                empty = true;
                break;
            }
            XmlAttribute a;
            // xmlns and the xml: attributes are namespaces and parser
            // settings: libxml2's.
            if (!spaced || !name(a.name) || a.name.substr(0, 3) == "xml" || !equalsSign() || !quoted(a.value)) {
                return false;
            }
            const XmlAttribute* first = tree_.attributes_.data() + node.firstAttribute;
            if (std::any_of(first, first + node.attributeCount,
                            [&](const XmlAttribute& b) { return b.name == a.name; })) {
                return false;
            }
            tree_.attributes_.push_back(a);
            ++node.attributeCount;
        }
        node.line = line_;
        open = Open{tree_.add(node, parent), node.name};
        return true;
    }

    // The characters up to the next markup, as libxml2 keeps them: blanks
    // alone only right after a text, in an element that begins with a text,
    // as all that an element holds, or once the element keeps blanks.
    bool text(Open& open) {
        const char* from = p_;
        bool blank = true;
        for (; p_ != end_ && *p_ != '<'; ++p_) {
            if (*p_ == '&' || (*p_ == ']' && peek(1) == ']' && peek(2) == '>')) return false;
            line_ += *p_ == '\n' ? 1 : 0;
            blank &= isBlank(*p_);
        }
        const auto length = static_cast<std::size_t>(p_ - from);
        if (p_ == end_ || length > kMaxTextLength) return false;
        if (length == 0) return true;
        const bool kept = open.keepsBlanks || (open.hasChildren ? open.firstIsText || open.lastIsText : peek(1) == '/');
        if (blank && !kept) return true;
        open.keepsBlanks |= isBlank(*from);
        XmlNode node;
        node.kind = XmlNode::Kind::Text;
        node.text = std::string_view(from, length);
        node.line = line_;
        tree_.add(node, open.node);
        open.firstIsText |= !open.hasChildren;
        open.hasChildren = open.lastIsText = true;
        return true;
    }

    // The root element and everything in it.
    bool element() {
        Open stack[kMaxDepth];
        int depth = 0;
        bool empty = false;
        if (!startTag(0, stack[0], empty)) return false;
        if (!empty) depth = 1;
        while (depth > 0) {
            Open& open = stack[depth - 1];
            if (!text(open)) return false;
            if (literal("</")) {
                std::string_view closed;
                if (!name(closed) || closed != open.name) return false;
                blanks();
                if (!literal(">")) return false;
                --depth;
                continue;
            }
            if (peek(1) == '!' || peek(1) == '?') {
                // Comments are kept in libxml2's tree (they decide which
                // blanks it keeps); CDATA sections and the rest are its own.
                if (!startsWith("<!--") || !comment()) return false;
                open.hasChildren = true;
                open.lastIsText = false;
                continue;
            }
            if (depth == kMaxDepth) return false;
            open.hasChildren = true;
            open.lastIsText = false;
            if (!startTag(open.node, stack[depth], empty)) return false;
            if (!empty) ++depth;
        }
        return true;
    }

    const char* p_;
    const char* end_;
    int line_ = 1;
    XmlTree& tree_;
};

bool XmlTree::readPlain(std::string_view document) {
    clear();
    if (document.empty() || !plainBytes(document)) return false;
    if (PlainXmlReader(document, *this).read()) return true;
    clear();
    return false;
}

}  // namespace PersistanceMgmt::detail
