// File names, line readers and line writers of the host.
//
// Line ends: the writer ends every line with CR LF (the e-file's line end);
// the reader takes lines ended by LF, CR LF or the end of the file and strips
// the LF and one CR before it, so files written on either system read alike.
#pragma once

#include <cstddef>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

#include "module/frame/CountedPtr.h"

namespace IOMgmt {

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

    // Opens the file (closing any file open before); false when the name is
    // empty or the file cannot be opened.
    bool open(const FileNamePtr& name);
    bool open(const std::string& path);

    bool isOpen() const { return in_.is_open(); }

    // True when no further line can be read (also when no file is open).
    bool eof() const { return !next_.has_value(); }

    // The next line without its line end; false (and an empty line) at the
    // end of the file. The two are one operation under the host's two names.
    bool readPCLine(std::string& line);
    bool readLine(std::string& line);

    void close();

private:
    void fetch();

    std::ifstream in_;
    std::optional<std::string> next_;
};

// Writes a text file line by line with CR LF line ends.
class FileWriter {
public:
    FileWriter() = default;
    virtual ~FileWriter() = default;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Opens the file empty (an existing file is truncated), closing any file
    // open before; false when the name is empty or the file cannot be made.
    bool open(const FileNamePtr& name);
    bool open(const std::string& path);

    bool isOpen() const { return out_.is_open(); }

    // Appends the line and CR LF; false when no file is open or the write
    // failed.
    bool putPCLine(const std::string& line);

    // Flushes and closes; false when a write failed since open or the flush
    // failed. Closing a writer that is not open gives true.
    bool close();

private:
    std::ofstream out_;
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

    ~IOMgr();
    IOMgr(const IOMgr&) = delete;
    IOMgr& operator=(const IOMgr&) = delete;

private:
    IOMgr() = default;

    std::mutex mutex_;
    std::unordered_set<FileReader*> readers_;
    std::unordered_set<FileWriter*> writers_;
};

}  // namespace IOMgmt
