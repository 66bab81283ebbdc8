#include "platform/framework/FederalEFile.h"

#include <cstdio>

#include "platform/util/IOMgmt.h"

namespace TifWriteMgmt {

namespace {

// The offset of the federal data block's first line, or npos; `line`
// receives its number (from 0).
std::size_t federalBlockStart(const std::string& text, std::size_t& line) {
    line = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        if (startsFederalBlock(std::string_view(text).substr(at))) return at;
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return std::string::npos;
}

// The name of a byte that the e-file cannot carry.
std::string byteName(unsigned char c) {
    switch (c) {
        case '\0':
            return "a NUL byte";
        case '\t':
            return "a tab";
        case '\f':
            return "a form feed";
        default:
            break;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(c));
    return c < 0x80 ? std::string("the control character ") + hex
                    : std::string("the byte ") + hex + ", which is not ASCII";
}

// What is wrong in the block from `start`, whose first line is `line` (from
// 0); empty when nothing is. The block is copied into an e-file that holds
// printable ASCII alone: a line may hold nothing else, and ends with LF or
// CR LF. A carriage return that ends the file ends its last line, as one
// before a line feed does.
std::string blockFault(const std::string& text, std::size_t start, std::size_t line) {
    for (std::size_t at = start; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '\n') {
            ++line;
        } else if (c == '\r') {
            if (at + 1 == text.size() || text[at + 1] == '\n') continue;
            const bool doubled = at + 2 < text.size() && text[at + 1] == '\r' && text[at + 2] == '\n';
            return "line " + std::to_string(line + 1) +
                   (doubled ? " ends with CR CR LF" : " holds a carriage return that does not end it");
        } else if (c < 0x20 || c > 0x7E) {
            return "line " + std::to_string(line + 1) + " holds " + byteName(c) +
                   "; the e-file carries printable ASCII alone";
        }
    }
    return std::string();
}

// The lines from `start` without their line ends, as the host's file reader
// gives them.
std::vector<std::string> linesFrom(const std::string& text, std::size_t start) {
    std::vector<std::string> lines;
    for (std::size_t at = start; at < text.size();) lines.push_back(IOMgmt::takeLine(text, at));
    return lines;
}

}  // namespace

bool startsFederalBlock(std::string_view line) {
    return line.substr(0, 10) == "D FDBKDATA" || line.substr(0, 9) == "D FDF1040";
}

std::optional<FederalEFile> FederalEFile::read(const std::string& path, std::string& problem) {
    const IOMgmt::WholeFile file = IOMgmt::readWholeFile(path, kFederalEFileLimit);
    problem = file.problem;
    if (!file.ok) return std::nullopt;
    if (file.bytes.empty()) {
        problem = "is empty";
        return std::nullopt;
    }
    std::size_t line = 0;
    const std::size_t start = federalBlockStart(file.bytes, line);
    if (start == std::string::npos) {
        problem = "has no federal data block (a line beginning with \"D FDBKDATA\" or \"D FDF1040\")";
        return std::nullopt;
    }
    if (const std::string fault = blockFault(file.bytes, start, line); !fault.empty()) {
        problem = "the federal data block is refused: " + fault;
        return std::nullopt;
    }
    return FederalEFile(path, linesFrom(file.bytes, start));
}

}  // namespace TifWriteMgmt
