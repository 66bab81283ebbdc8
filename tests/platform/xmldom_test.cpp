// The XML tree over libxml2: what a reader of the test files sees of
// elements, attributes, text, CDATA, comments and entities, and the empty
// document of a file that is missing or not well-formed.
#include "platform/xml/XmlDom.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/xml/XmlParser.h"
#include "tests/support/ScratchDir.h"

namespace {

using testsupport::ScratchDirTest;

std::string attribute(const XmlDom::XmlNodePtr& node, const std::string& name) {
    XmlDom::XmlNodePtr item = node->getAttributes()->getNamedItem(name);
    if (item.isNull()) return "<none>";
    return *dynamic_cast<XmlDom::XmlAttribute&>(*item).getValue();
}

// (kind, name) of every child, in document order.
std::vector<std::pair<int, std::string>> children(const XmlDom::XmlNodePtr& node) {
    std::vector<std::pair<int, std::string>> out;
    XmlDom::XmlNodeListPtr list = node->getChildNodes();
    for (long i = 0; i < list->length(); ++i) out.emplace_back(list->item(i)->getNodeType(), list->item(i)->getName());
    return out;
}

class XmlDomTest : public ScratchDirTest {
protected:
    XmlDom::XmlNodePtr load(const std::string& text) {
        reader.loadXml(writeFile("doc.xml", text));
        return reader.getXmlDocument().getDocumentElement();
    }
    PersistanceMgmt::XmlTextReader reader;
};

TEST_F(XmlDomTest, NodesAsLibxml2ReadsThem) {
    XmlDom::XmlNodePtr root = load(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE R [<!ENTITY who \"Doe &amp; Co\">]>\n"
        "<R a=\"1 &lt; 2\" b='&who;'><!-- note --><F/><![CDATA[<raw> & ]]>tail &who;<p:G xmlns:p=\"u\"/></R>");
    ASSERT_FALSE(root.isNull());
    EXPECT_EQ(root->getName(), "R");
    EXPECT_EQ(root->getNodeType(), XmlDom::kElementNode);
    EXPECT_EQ(attribute(root, "a"), "1 < 2");
    EXPECT_EQ(attribute(root, "b"), "Doe & Co");
    EXPECT_EQ(attribute(root, "c"), "<none>");
    const std::vector<std::pair<int, std::string>> expected = {{XmlDom::kCommentNode, "#comment"},
                                                               {XmlDom::kElementNode, "F"},
                                                               {XmlDom::kCDataSectionNode, "#cdata-section"},
                                                               {XmlDom::kTextNode, "#text"},
                                                               {XmlDom::kEntityReferenceNode, "who"},
                                                               {XmlDom::kElementNode, "p:G"}};
    EXPECT_EQ(children(root), expected);
    EXPECT_EQ(root->getText(), "<raw> & tail Doe & Co");
    // Attributes are no children; a text node has neither.
    XmlDom::XmlNodePtr text = root->getChildNodes()->item(3);
    EXPECT_EQ(text->getChildNodes()->length(), 0);
    EXPECT_EQ(text->getAttributes()->length(), 0);
    EXPECT_TRUE(root->getChildNodes()->item(6).isNull());
}

TEST_F(XmlDomTest, NodesOutliveTheirReader) {
    XmlDom::XmlNodePtr child;
    {
        PersistanceMgmt::XmlTextReader own;
        ASSERT_TRUE(own.loadXml(writeFile("keep.xml", "<R><C k=\"v\"/></R>")));
        child = own.getXmlDocument().getDocumentElement()->getChildNodes()->item(0);
    }
    EXPECT_EQ(attribute(child, "k"), "v");
}

TEST_F(XmlDomTest, UnreadableDocumentsHaveNoRoot) {
    const std::vector<std::string> bad = {"<R><A></R>", "", "just text", "<R/><S/>", "<R>&undefined;</R>"};
    for (const std::string& text : bad) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(load(text).isNull());
    }
    EXPECT_FALSE(reader.loadXml(path("missing.xml")));
    EXPECT_TRUE(reader.getXmlDocument().getDocumentElement().isNull());
    EXPECT_FALSE(reader.loadXml(dir));  // a directory
    // A pipe is refused unread (it would wait for a writer), and so is a
    // document past the limit of a whole-file read.
    ::mkfifo(path("fifo").c_str(), 0644);
    EXPECT_FALSE(reader.loadXml(path("fifo")));
    EXPECT_FALSE(reader.loadXml(writeFile("large.xml", "<R/>" + std::string(IOMgmt::kDefaultReadLimit, ' '))));
    EXPECT_TRUE(reader.getXmlDocument().getDocumentElement().isNull());
    // A good document after a bad one is read.
    EXPECT_FALSE(load("<ok/>").isNull());
}

// The option-file reader: whole tags, untrimmed text, missing files.
TEST_F(XmlDomTest, OptionValuesByWholeTag) {
    PersistanceMgmt::XMLParser parser;
    ASSERT_TRUE(parser.open(IOMgmt::FileNamePtr(
        new IOMgmt::FileName(writeFile("options.xml",
                                       "<O><GAOUTPUTDIRDAEMON>d</GAOUTPUTDIRDAEMON><GAOUTPUTDIR>Yes </GAOUTPUTDIR>"
                                       "<N><C><![CDATA[a<b]]>&amp;c</C></N><C>second</C></O>")))));
    std::string doc;
    ASSERT_TRUE(parser.readXmlIntoMemory(doc, true));
    std::string value = "old";
    EXPECT_TRUE(parser.extractXmlSubstring(value, doc, "GAOUTPUTDIR", 1, false));
    EXPECT_EQ(value, "Yes ");
    parser.extractXmlSubstring(value, doc, "GAOUTPUTDIR", 1, true);
    EXPECT_EQ(value, "Yes");
    parser.extractXmlSubstring(value, doc, "C", 1, false);
    EXPECT_EQ(value, "a<b&c");
    parser.extractXmlSubstring(value, doc, "C", 2, false);
    EXPECT_EQ(value, "second");
    EXPECT_FALSE(parser.extractXmlSubstring(value, doc, "GAOUTPUT", 1, false));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(parser.extractXmlSubstring(value, "<O><GAOUTPUTDIR>x</O>", "GAOUTPUTDIR", 1, false));
    parser.close();
    // A missing file, or one past the limit, opens nothing and reads nothing.
    const std::string large = writeFile("large.xml", "<O/>");
    std::filesystem::resize_file(large, IOMgmt::kDefaultReadLimit + 1);
    for (const std::string& file : {path("none.xml"), large}) {
        EXPECT_FALSE(parser.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(file))));
        doc = "stale";
        EXPECT_FALSE(parser.readXmlIntoMemory(doc, true));
        EXPECT_EQ(doc, "");
    }
}

}  // namespace
