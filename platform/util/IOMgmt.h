// File names, line readers and line writers of the host.
//
// Line ends: the writer ends every line with CR LF (the e-file's line end);
// the reader takes lines ended by LF, CR LF or the end of the file and strips
// the LF and one CR before it, so files written on either system read alike.
//
// Reading: a file is read only when it is a regular file within a size
// limit, at once and without waiting on a pipe or a device. Writing: a file
// is written under a temporary name beside it and moved over the old one
// when complete (IOMgmtStaging.h), so it is always the old or the new file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "module/frame/CountedPtr.h"

namespace IOMgmt {

class OutputBatch;
class StagedFile;

// The size limit of a file read whole unless the reader names another.
inline constexpr std::size_t kDefaultReadLimit = 16u * 1024u * 1024u;

// Why readWholeFile did not read a file, for a reader that words it in
// its own terms.
enum class Refusal : std::uint8_t {
    None,
    CannotOpen,  // an empty name too (as ENOENT)
    CannotRead,
    Directory,
    NotRegular,  // a device, a pipe or a socket
    TooLarge,
};

// A whole file as readWholeFile found it.
struct WholeFile {
    bool ok = false;
    bool missing = false;  // no file of that name
    Refusal refusal = Refusal::None;
    int error = 0;        // the errno of CannotOpen and CannotRead
    std::string problem;  // why it was not read: "is a directory", ...
    std::string bytes;
};

// Reads a regular file of at most `limit` bytes. A directory, a device, a
// pipe or a socket is refused unread (a pipe without a writer does not
// block), and so is a file past the limit; no more than the limit is ever
// held, even of a file that grows while it is read.
WholeFile readWholeFile(const std::string& path, std::size_t limit);

// The line of `text` that starts at `at`, without its line end, moving `at`
// past it: LF, CR LF or the end of the text ends a line, as the file
// reader takes them.
std::string takeLine(std::string_view text, std::size_t& at);

// "16 MiB", "512 KiB" or "100 bytes".
std::string sizeText(std::size_t bytes);

// A path as a message shows it: control characters escaped, whole, so that
// the user can type it (a second name to move back, a lock file to
// remove); only a text longer than any path a file call takes is cut, after
// kShownPathLength bytes.
inline constexpr std::size_t kShownPathLength = 4096;
std::string shownPath(const std::string& path);

// Why a file of the path cannot be written: its name is longer than the
// file system of its folder takes (pathconf NAME_MAX), or its path longer
// than a file call takes (PATH_MAX), once the longest temporary name written
// beside it is counted ("its name is 256 bytes, longer than the 255 bytes
// that a file written in DIR may have"); empty when it can. A folder still
// to be made is judged by the nearest folder above it.
std::string nameTooLong(const std::string& path);

// Why an output of a run may not replace what stands at its path: a file of
// another user, a symbolic link, a pipe or a folder ("is owned by alice, not
// by bob (the user of this run), and is not replaced; have its owner remove
// it, or write the outputs into another folder"); empty for nothing there
// or a regular file of the run's user.
std::string outputRefused(const std::string& path);

// A file named by its path.
class FileName {
public:
    explicit FileName(std::string path);
    virtual ~FileName() = default;

    // The path as given.
    const std::string& getPath() const { return path_; }

    // True when a regular file (or a link to one) of this name exists.
    bool fileExist() const;

    // Deletes the file; true when it is gone afterwards because this call
    // removed it. A missing file, or one that cannot be removed, gives false.
    bool deleteFile() const;

    // The name for display. A negative maxLength gives the full path; any
    // other value gives the path when it fits in maxLength characters, else
    // "..." followed by its last characters (or just its last maxLength
    // characters when maxLength is 3 or less).
    std::string getDisplayName(int maxLength) const;

    // The file name without its directories.
    std::string getShortName() const;

private:
    std::string path_;
};

SMARTPOINTERS_NAMED_HANDLE(FileNamePtr, FileName);

// Reads a text file line by line. eof() looks ahead: it is true when no
// further line exists, so "while (!reader.eof()) reader.readPCLine(line);"
// visits every line, including a last line without a line end, and no empty
// line is invented after a final line end.
class FileReader {
public:
    FileReader() = default;
    virtual ~FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens the file (closing any file open before) and reads it whole;
    // false when the name is empty or the file cannot be read as
    // readWholeFile reads it (problem() then says why).
    bool open(const FileNamePtr& name);
    bool open(const std::string& path);

    bool isOpen() const { return open_; }

    // The size limit of the next open; kDefaultReadLimit until set.
    void setSizeLimit(std::size_t bytes) { limit_ = bytes; }

    // Why the last open failed ("is a directory", ...); empty after an open
    // that succeeded.
    const std::string& problem() const { return problem_; }

    // True when no further line can be read (also when no file is open).
    bool eof() const { return !next_.has_value(); }

    // The next line without its line end; false (and an empty line) at the
    // end of the file. The two are one operation under the host's two names.
    bool readPCLine(std::string& line);
    bool readLine(std::string& line);

    void close();

private:
    void fetch();

    bool open_ = false;
    std::size_t limit_ = kDefaultReadLimit;
    std::string problem_;
    std::string text_;
    std::size_t at_ = 0;
    std::optional<std::string> next_;
};

// Writes a text file line by line with CR LF line ends. The file starts
// empty; its lines go to a temporary file beside it, which close() moves
// over the old file (or hands to the output batch of the job in progress
// when the batch holds that file). Until then the old file stays as it was.
// A writer opened while writes go nowhere (WritesNowhere) touches no file:
// its lines are dropped, and close() answers true.
class FileWriter {
public:
    FileWriter();
    // A writer destroyed while open (not closed) leaves the old file as it was.
    virtual ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Starts the file empty, closing any file open before; false when the
    // name is empty or no temporary file can be made beside the file.
    bool open(const FileNamePtr& name);
    bool open(const std::string& path);

    bool isOpen() const { return staged_ != nullptr || nowhere_; }

    // Appends the line and CR LF; false when no file is open or a write
    // failed.
    bool putPCLine(const std::string& line);

    // Writes out and syncs what is left, then puts the file in place; false,
    // leaving the old file as it was, when a write failed since open or the
    // file cannot be completed. Closing a writer that is not open gives true.
    bool close();

    // Drops what was written since open, for a write that cannot finish:
    // the temporary file is removed and the old file stays as it was. A
    // writer that is not open is left alone.
    void discard();

    // Why the last open, write or close failed, without the file's name
    // ("cannot write the temporary file: No space left on device"); empty
    // after an open until a step fails.
    const std::string& problem() const { return problem_; }

private:
    bool flush();
    void keepProblem(const std::string& path, const std::string& message);

    std::unique_ptr<StagedFile> staged_;
    bool nowhere_ = false;  // opened while writes go nowhere
    std::string buffer_;
    bool failed_ = false;
    std::string problem_;
};

// Hands out readers and writers. The caller closes and gives back what it
// allocated; giving back a pointer this manager did not hand out (or one
// already given back) does nothing and returns false. Whatever is never
// given back is freed when the program ends.
class IOMgr {
public:
    static IOMgr& getInstance();

    FileReader* allocateFileReader();
    bool deallocateFileReader(FileReader* reader);

    FileWriter* allocateFileWriter();
    bool deallocateFileWriter(FileWriter* writer);

    // The output batch of the job in progress, or null (OutputBatch sets it).
    OutputBatch* outputBatch() const { return batch_; }
    void setOutputBatch(OutputBatch* batch) { batch_ = batch; }

    // Whether file writers opened now write nowhere (WritesNowhere sets it).
    bool writesNowhere() const { return writesNowhere_; }
    void setWritesNowhere(bool nowhere) { writesNowhere_ = nowhere; }

    // Why a write to the path must not happen: it would replace a file that
    // the job in progress reads, one of its own outputs, or a file in the
    // folder of its own files ("is the return file being run", ...); empty
    // when nothing stands in the way.
    std::string reservedUse(const std::string& path) const;

    // A one-line note for the user about a file that was skipped or a step
    // that could not be done. Notes go to the sink; without one, to standard
    // error as "note: <text>".
    void notice(const std::string& text);
    void setNoticeSink(std::function<void(const std::string&)> sink);

    ~IOMgr();
    IOMgr(const IOMgr&) = delete;
    IOMgr& operator=(const IOMgr&) = delete;

private:
    IOMgr() = default;

    std::mutex mutex_;
    std::unordered_set<FileReader*> readers_;
    std::unordered_set<FileWriter*> writers_;
    OutputBatch* batch_ = nullptr;
    bool writesNowhere_ = false;
    std::function<void(const std::string&)> noticeSink_;
};

// While it lives, every file writer opened writes nowhere: a job that must
// change no file still runs a step that writes one, for what the step does
// beside the file (gahost check prepares the e-file as gahost run does, for
// what the preparation does to the return). Guards do not nest.
class WritesNowhere {
public:
    WritesNowhere() { IOMgr::getInstance().setWritesNowhere(true); }
    ~WritesNowhere() { IOMgr::getInstance().setWritesNowhere(false); }
    WritesNowhere(const WritesNowhere&) = delete;
    WritesNowhere& operator=(const WritesNowhere&) = delete;
};

}  // namespace IOMgmt
