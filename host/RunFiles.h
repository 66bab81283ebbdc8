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
// the input file itself.
void checkRunFiles(const std::string& input, const RunOutputs& outputs);

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
