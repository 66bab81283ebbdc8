// The federal return's e-file, as a state e-file writer copies it.
//
// A state e-file ends with the federal data block of the federal return's
// own e-file: its lines from the first that begins with "D FDBKDATA" or
// "D FDF1040" to the end of the file. The file is read once, and the bytes
// read are the ones checked and the ones copied: a file that changes
// afterwards changes nothing. The block is copied as it stands into an
// e-file that holds printable ASCII alone, so a block holding any other
// byte (a NUL, a tab, a form feed, a byte outside ASCII) or a carriage
// return anywhere but right before a line feed is refused rather than
// changed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace TifWriteMgmt {

// The largest federal e-file read: a federal e-file is a few kilobytes of
// text lines.
inline constexpr std::size_t kFederalEFileLimit = 1024u * 1024u;

// Whether the line opens the federal data block.
bool startsFederalBlock(std::string_view line);

class FederalEFile {
public:
    // Reads the file once and checks it: a regular file of at most
    // kFederalEFileLimit bytes, not empty, with a federal data block of
    // printable ASCII lines, ended by LF or CR LF. None when it is not, with
    // `problem` saying why in words that follow the file's name ("is
    // empty", "has no federal data block (...)", "the federal data block is
    // refused: line 4 holds a tab; ...").
    static std::optional<FederalEFile> read(const std::string& path, std::string& problem);

    // The file as it was named.
    const std::string& path() const { return path_; }

    // The lines of the federal data block, without their line ends (LF or
    // CR LF; the last line may have none).
    const std::vector<std::string>& blockLines() const { return blockLines_; }

private:
    FederalEFile(std::string path, std::vector<std::string> blockLines)
        : path_(std::move(path)), blockLines_(std::move(blockLines)) {}

    std::string path_;
    std::vector<std::string> blockLines_;
};

}  // namespace TifWriteMgmt
