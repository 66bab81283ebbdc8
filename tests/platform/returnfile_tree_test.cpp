// The return file's document tree: a plain document read without libxml2
// gives exactly the tree libxml2 gives (texts, kept blanks, attribute values,
// lines), and anything outside the plain grammar is left to libxml2.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/returnfile/ReturnFileReader.h"

namespace {

using PersistanceMgmt::detail::XmlNode;
using PersistanceMgmt::detail::XmlTree;

void dump(const XmlTree& tree, const XmlNode& node, std::string& out) {
    static const char* const kKinds[] = {"element", "text", "cdata", "reference"};
    out += std::string(kKinds[static_cast<int>(node.kind)]) + "@" + std::to_string(node.line) + " ";
    if (node.isElement()) {
        out += std::string(node.name) + (node.inNamespace ? "{" + std::string(node.nsUri) + "}" : "");
        for (auto a = tree.attributesBegin(node); a != tree.attributesEnd(node); ++a) {
            out += " " + std::string(a->name) + "=[" + std::string(a->value) + "]";
        }
        out += " (";
        for (const XmlNode& c : tree.children(node)) dump(tree, c, out);
        out += ")";
    } else {
        out += "[" + std::string(node.text) + "]";
    }
    out += "\n";
}

std::string dump(const XmlTree& tree) {
    std::string out = tree.hasDocumentType() ? "doctype\n" : "";
    if (tree.root() != nullptr) dump(tree, *tree.root(), out);
    return out;
}

std::string libxml2Dump(const std::string& document) {
    XmlTree tree;
    PersistanceMgmt::detail::readWithLibxml2(document, "t.xml", tree);
    return dump(tree);
}

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

TEST(ReturnFileTree, PlainDocumentsGiveLibxml2sTree) {
    const std::vector<std::string> documents = {
        kDecl + "<A/>",
        "<A/>",
        "<?xml version='1.0'?>\n\n<A>x</A>\n",
        "<?xml version=\"1.0\" encoding='utf-8' ?><A/>",
        "<!-- c -->\n<A B=\"1\" C='two'/>\n<!--d-->\n",
        // Blanks: kept alone in an empty leaf, dropped before a comment or
        // an element, kept once the element holds text.
        "<A>\n\t<B>  </B>\n\t<C> <!-- c --></C>\n\t<D><!-- c --> </D>\n\t<E>x <!-- c --> </E>\n</A>",
        "<A><B>\n</B><C>a\n\n<!---->\tb\n</C><D> <E/> </D></A>",
        // Lines: an element's where its start tag ends, a text's where it
        // ends.
        "<A\n B=\"1\"\n\n>\n\t<B\n/>text\nover\nlines<C\tD = \"v\"\n/></A >",
        // Attribute values: tabs and line ends become spaces; markup
        // characters other than < and & are kept.
        "<A B=\"a\tb\nc\" C=\"'>\" D='\"]]>'/>",
        "<A-b.c_1><_x>]]</_x><y>a ] b ]] c > d</y></A-b.c_1>",
        "<A><!--->--></A>",
    };
    for (const std::string& d : documents) {
        XmlTree plain;
        ASSERT_TRUE(plain.readPlain(d)) << d;
        EXPECT_EQ(dump(plain), libxml2Dump(d)) << d;
    }
}

TEST(ReturnFileTree, EveryExampleIsPlainAndGivesLibxml2sTree) {
    int examples = 0;
    for (const auto& e : std::filesystem::directory_iterator(GA_SOURCE_DIR "/examples")) {
        if (e.path().extension() != ".xml") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string document = text.str();
        XmlTree plain;
        ASSERT_TRUE(plain.readPlain(document)) << e.path();
        EXPECT_EQ(dump(plain), libxml2Dump(document)) << e.path();
        ++examples;
    }
    EXPECT_GT(examples, 3);
}

TEST(ReturnFileTree, AnythingElseIsLeftToLibxml2) {
    std::string nested;
    for (int i = 0; i < 65; ++i) nested += "<A>";
    for (int i = 0; i < 65; ++i) nested += "</A>";
    const std::vector<std::string> documents = {
        "",
        "   ",
        "text",
        "<A>",
        "<A></B>",
        "<A/><B/>",
        "<A/>text",
        "x<A/>",
        " <?xml version=\"1.0\"?><A/>",
        "<?xml version=\"1.1\"?><A/>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A/>",
        "<?xml version=\"1.0\" standalone=\"yes\"?><A/>",
        "<?xml version=\"1.0\"encoding=\"UTF-8\"?><A/>",
        "<!DOCTYPE A [<!ENTITY x \"y\">]><A>&x;</A>",
        "<A>&amp;</A>",
        "<A>&#65;</A>",
        "<A B=\"&amp;\"/>",
        "<A B=\"<\"/>",
        "<A B=\"1\"C=\"2\"/>",
        "<A B=\"1\" B=\"2\"/>",
        "<A B=1/>",
        "<A B/>",
        "<A xmlns=\"urn:x\"/>",
        "<x:A xmlns:x=\"urn:x\"/>",
        "<A xml:space=\"preserve\"/>",
        "<A><![CDATA[x]]></A>",
        "<A><?pi x?></A>",
        "<A/><?pi x?>",
        "<A>]]></A>",
        "<A><!-- a -- b --></A>",
        "<A><!-- a ---></A>",
        "<A>\r\n</A>",
        "<A>caf\xc3\xa9</A>",
        "\xef\xbb\xbf<A/>",
        std::string("<A>\0</A>", 8),
        "<A>\x7f</A>",
        "<A>\x01</A>",
        "<1A/>",
        "<A$/>",
        nested,
    };
    for (const std::string& d : documents) {
        XmlTree plain;
        EXPECT_FALSE(plain.readPlain(d)) << d;
        EXPECT_EQ(plain.root(), nullptr) << d;
    }
    std::string sixtyFour;
    for (int i = 0; i < 64; ++i) sixtyFour += "<A>";
    for (int i = 0; i < 64; ++i) sixtyFour += "</A>";
    XmlTree plain;
    EXPECT_TRUE(plain.readPlain(sixtyFour));
}

}  // namespace
