// The encoding a return file declares, checked before libxml2 reads it.
//
// A return file is UTF-8 as the writer writes it. A hand-written one may
// declare another encoding, and the reader takes any that libxml2 converts
// and that keeps ASCII as it is (ISO-8859-1, Windows-1252, ...): the
// declaration itself is ASCII, so an encoding that reads those bytes as other
// characters (EBCDIC, UTF-16 or UCS-4 named in an ASCII declaration) can
// only be a mistake, and libxml2 would report its garbled consequences.
#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <memory>

#include "platform/returnfile/ReturnFileReader.h"

namespace PersistanceMgmt::detail {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The value of `encoding="..."` in the XML declaration at the start of the
// document (after a UTF-8 byte order mark), read as ASCII; empty without one.
std::string declaredEncoding(std::string_view document) {
    if (document.substr(0, 3) == "\xEF\xBB\xBF") document.remove_prefix(3);
    if (document.substr(0, 5) != "<?xml" || document.size() < 6 || !isBlank(document[5])) return std::string();
    const std::size_t declarationEnd = document.find("?>");
    if (declarationEnd == std::string_view::npos) return std::string();
    const std::string_view declaration = document.substr(0, declarationEnd);
    const std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) return std::string();
    std::size_t at = key + 8;
    while (at < declaration.size() && isBlank(declaration[at])) ++at;
    if (at >= declaration.size() || declaration[at] != '=') return std::string();
    ++at;
    while (at < declaration.size() && isBlank(declaration[at])) ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return std::string();
    const std::size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos) return std::string();
    return std::string(declaration.substr(at + 1, end - at - 1));
}

struct BufferFree {
    void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
};
using Buffer = std::unique_ptr<xmlBuffer, BufferFree>;

// Whether libxml2 has a converter for the encoding that reads the
// characters of XML markup as themselves.
bool keepsAscii(const std::string& encoding) {
    xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr) return false;
    static const std::string probe = "<?xml version=\"1.0\"?><RETURNFILE A='b'>az AZ 09 &amp;-_.:/</RETURNFILE>";
    const Buffer in(xmlBufferCreate());
    const Buffer out(xmlBufferCreate());
    bool same = false;
    if (in && out &&
        xmlBufferAdd(in.get(), reinterpret_cast<const xmlChar*>(probe.data()), static_cast<int>(probe.size())) == 0) {
        const int written = xmlCharEncInFunc(handler, out.get(), in.get());
        same = written >= 0 && std::string_view(reinterpret_cast<const char*>(xmlBufferContent(out.get())),
                                                static_cast<std::size_t>(xmlBufferLength(out.get()))) == probe;
    }
    xmlCharEncCloseFunc(handler);
    return same;
}

}  // namespace

std::string unreadableEncoding(std::string_view document) {
    const std::string encoding = declaredEncoding(document);
    if (encoding.empty() || keepsAscii(encoding)) return std::string();
    return "the XML declaration names the encoding " + showText(encoding) +
           ", which the reader does not take (a return file is UTF-8, or in an encoding that keeps ASCII as it "
           "is)";
}

}  // namespace PersistanceMgmt::detail
