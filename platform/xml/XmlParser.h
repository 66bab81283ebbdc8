// The host's reader of small option files: the whole file into memory, then
// the text of an element by its tag name.
//
// Built on the XML tree of XmlDom.h: an element matches only by its whole
// name, so keys that share a prefix ("GAOUTPUTDIR" and
// "GAOUTPUTDIRDAEMON") never find each other.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/util/IOMgmt.h"
#include "platform/xml/XmlDom.h"

namespace PersistanceMgmt {

// How a file is opened; reading is the only way.
enum enum_xml_open : std::int32_t {
    kXmlOpenRead = 1,
};

class XMLParser {
public:
    XMLParser() = default;
    virtual ~XMLParser() = default;
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    // Opens the file for reading (closing any file open before). False when
    // the name is empty, the file cannot be opened or is no regular file, or
    // the mode is not reading; a file that is missing is not an error of
    // its own, it only has nothing to read.
    bool open(const IOMgmt::FileNamePtr& file, enum_xml_open mode = kXmlOpenRead);

    // Reads the whole open file into doc (the flag is accepted for the
    // host's call shape). False, leaving doc empty, when no file is open or
    // it cannot be read.
    bool readXmlIntoMemory(std::string& doc, bool wholeFile = true);

    // value = the text of the occurrence-th element (from 1, in document
    // order) named key in the document text, CDATA and entity replacement
    // text included; trimmed at both ends only when trim is true. False,
    // leaving value empty, when there is no such element or the text is not
    // well-formed XML.
    bool extractXmlSubstring(std::string& value, const std::string& doc, const std::string& key, int occurrence = 1,
                             bool trim = false);

    void close();

private:
    std::ifstream in_;
    std::string parsedText_;  // the document text parsedDocument_ was made from
    XmlDom::XmlDocument parsedDocument_;
    bool parsed_ = false;
};

}  // namespace PersistanceMgmt
