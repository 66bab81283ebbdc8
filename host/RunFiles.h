// The files of gahost run: the outputs it writes for a return, all in the
// output folder, and the checks made on the files it reads and writes before
// any output is touched.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/framework/FederalEFile.h"

namespace GAHost {

// One output of a run: the file and the words that name it in messages
// ("the e-file").
struct RunOutput {
    std::string path;
    const char* role;
    // Written only when the Georgia module is loaded.
    bool byModule;
};

struct RunOutputs {
    // The outputs of a run of the input into outDir; the e-file is named by
    // the Georgia return's abbreviation, by the e-file writer's rule
    // (TifFileWriter::eFileName: "GA-efile.txt").
    RunOutputs(const std::string& input, const std::filesystem::path& outDir, const std::string& abbreviation);

    std::string savedReturn;  // the input's file name
    std::string printFile;    // <name>.print.txt
    std::string eFile;        // <abbreviation>-efile.txt

    // The list of the run's outputs, the one that the output batch and
    // every check of the output paths read: each output, whether or not
    // the run writes it, in the order the batch moves them into place.
    std::vector<RunOutput> all() const;
    // What a run writes: all of them with the module, else the saved return.
    std::vector<RunOutput> written(bool withModule) const;
    // The paths of `written`, which the run's output batch declares.
    std::vector<std::string> writtenPaths(bool withModule) const;
};

// Refuses, with Exceptions::QuarloException of one line, an output that is
// the input file itself, and one whose name or path is longer than its
// folder takes (IOMgmt::nameTooLong), naming the limit.
void checkRunFiles(const std::string& input, const RunOutputs& outputs);

// Refuses, with Exceptions::QuarloException of one line, an output that may
// not replace what stands at its name (IOMgmt::outputRefused: another
// user's file, a symbolic link, a pipe, a folder), naming it and its owner;
// then, naming both, two outputs of the run that would be one file: a
// return file named GA-efile.txt would be saved over the e-file.
void refuseCollidingOutputs(const RunOutputs& outputs, bool withModule);

// The federal e-file of --federal-efile, read once before anything is done
// and checked (TifWriteMgmt::FederalEFile); none when `path` is empty.
// Refuses, with Exceptions::QuarloException of one line, a file that is one
// of the run's outputs or that the check refuses.
std::optional<TifWriteMgmt::FederalEFile> readFederalEFile(const std::string& path, const RunOutputs& outputs);

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
