// The host's reader of small option files: the whole file into memory, then
// the text of an element by its tag name.
//
// Built on the XML tree of XmlDom.h: an element matches only by its whole
// name, so keys that share a prefix ("GAOUTPUTDIR" and
// "GAOUTPUTDIRDAEMON") never find each other.
#pragma once

#include <cstdint>
#include <optional>
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

    // Opens the file for reading and reads it whole, as
    // IOMgmt::readWholeFile reads it within kDefaultReadLimit (closing any
    // file open before). False when the mode is not reading or the file
    // cannot be read: no name, missing, no regular file, or past the limit.
    bool open(const IOMgmt::FileNamePtr& file, enum_xml_open mode = kXmlOpenRead);

    // The whole open file into doc (the flag is accepted for the host's call
    // shape). False, leaving doc empty, when no file is open.
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
    std::optional<std::string> text_;  // the open file's bytes
    std::string parsedText_;           // the document text parsedDocument_ was made from
    XmlDom::XmlDocument parsedDocument_;
    bool parsed_ = false;
};

}  // namespace PersistanceMgmt
