// The files of gahost run: the outputs it writes for a return, all in the
// output folder, and the checks made on the files it reads before any
// output is touched.
#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace GAHost {

// The largest federal e-file that run reads: a federal e-file is a few
// kilobytes of text lines.
inline constexpr std::size_t kFederalEFileLimit = 1024u * 1024u;

struct RunOutputs {
    // The outputs of a run of the input into outDir; the e-file is named by
    // the Georgia return's abbreviation, by the e-file writer's rule
    // (TifFileWriter::eFileName: "GA-efile.txt").
    RunOutputs(const std::string& input, const std::filesystem::path& outDir, const std::string& abbreviation);

    std::string savedReturn;  // the input's file name
    std::string printFile;    // <name>.print.txt
    std::string eFile;        // <abbreviation>-efile.txt

    // What a run writes: all three with the module, else the saved return.
    std::vector<std::string> written(bool withModule) const;
};

// Refuses, with Exceptions::QuarloException of one line, an output that is
// the input file itself, and a federal e-file (when one is named) that is
// missing, unreadable, not a regular file, larger than kFederalEFileLimit,
// empty, one of the outputs, or without a federal data block (from its
// first line beginning with "D FDBKDATA" or "D FDF1040"), or whose block
// holds a NUL byte or a carriage return anywhere but right before a line
// feed (CR CR LF included): the block is copied into the Georgia e-file as
// it stands, so such a block is refused rather than changed.
void checkRunFiles(const std::string& input, const std::string& federalEFile, const RunOutputs& outputs);

// Prints the host's notes (IOMgmt::IOMgr::notice) on `err` as
// "gahost: note: <text>", each text once, for as long as it lives.
class NotesPrinted {
public:
    explicit NotesPrinted(std::ostream& err);
    ~NotesPrinted();
    NotesPrinted(const NotesPrinted&) = delete;
    NotesPrinted& operator=(const NotesPrinted&) = delete;
};

}  // namespace GAHost
