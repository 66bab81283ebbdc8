// The files of the test facility: what it reads (option files, the import
// file, the forms list, the relations and field-group files) and what it
// writes (the dumps, the name lists, the tax-table check, the relation
// results, the clear files).
//
// Every file it reads is a regular file of at most kTestFileLimit bytes,
// read at once; anything else is skipped with a one-line note through the
// host (IOMgmt::IOMgr::notice). Every file it writes is written whole when
// complete, never over a file that the run reads or writes as its own
// output, nor in the folder of the run's own files, and only over a
// regular file of the run's user (the gate of the run's outputs). A relative path
// is used as given: relative to the working directory of the process.
#pragma once

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/xml/XmlDom.h"

namespace StateCalculationMgmt {

inline constexpr std::size_t kTestFileLimit = 16u * 1024u * 1024u;

// "test facility: <role> "<path>": <problem>; <outcome>", through the host.
void noteTestFile(const std::string& role, const std::string& path, const std::string& problem,
                  const std::string& outcome);

// Every line of a text file, read through the host's file reader (LF and
// CR LF line ends alike); none, after a note, when the file cannot be read.
std::optional<std::vector<std::string>> readTestFileLines(const std::string& path, const std::string& role);

// An XML file parsed; an empty document, after a note, when the file cannot
// be read or is not well-formed XML.
XmlDom::XmlDocument loadTestXml(const std::string& path, const std::string& role);

// A file the test facility writes: its text gathered in memory, then
// written in one piece (a temporary file renamed over the old one).
class TestOutput {
public:
    // The file `fileName` in the folder `directory`; `role` names it in
    // notes.
    TestOutput(std::string directory, std::string fileName, std::string role);

    std::ostream& stream() { return text_; }

    // Makes the folder with the folders above it, then writes the file.
    // Skipped with a note when no folder is given, the file name leaves
    // the folder ("../x", "/x", or no name), the file is one the run reads
    // or writes as its own output (or in the folder of the run's own
    // files), or it cannot be written.
    void write();

private:
    std::string directory_;
    std::string fileName_;
    std::string role_;
    std::ostringstream text_;
};

// Whether lines may be appended to the file: missing, or a regular file
// that the run neither reads nor writes as its own output; a note when not.
bool canAppendTestOutput(const std::string& path, const std::string& role);

// Appends the text to the file in one write (the file is made when
// missing); a note when that fails.
void appendTestOutput(const std::string& path, const std::string& text, const std::string& role);

}  // namespace StateCalculationMgmt
