#include "platform/util/IOMgmt.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace IOMgmt {

// ---------------------------------------------------------------- FileName

FileName::FileName(std::string path) : path_(std::move(path)) {}

bool FileName::fileExist() const {
    struct stat st {};
    return !path_.empty() && ::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileName::deleteFile() const {
    if (!fileExist()) {
        return false;
    }
    return std::remove(path_.c_str()) == 0;
}

std::string FileName::getDisplayName(int maxLength) const {
    if (maxLength < 0 || path_.size() <= static_cast<std::size_t>(maxLength)) {
        return path_;
    }
    const auto n = static_cast<std::size_t>(maxLength);
    if (n <= 3) {
        return path_.substr(path_.size() - n);
    }
    return "..." + path_.substr(path_.size() - (n - 3));
}

std::string FileName::getShortName() const {
    const std::size_t slash = path_.find_last_of('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

// -------------------------------------------------------------- FileReader

bool FileReader::open(const FileNamePtr& name) {
    if (name.isNull()) {
        close();
        return false;
    }
    return open(name->getPath());
}

bool FileReader::open(const std::string& path) {
    close();
    if (path.empty()) {
        return false;
    }
    in_.open(path, std::ios::in | std::ios::binary);
    if (!in_.is_open()) {
        return false;
    }
    fetch();
    return true;
}

void FileReader::fetch() {
    next_.reset();
    if (!in_.is_open()) {
        return;
    }
    std::string line;
    if (!std::getline(in_, line)) {
        // Nothing read: end of the file (a final line end adds no line).
        return;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    next_ = std::move(line);
}

bool FileReader::readPCLine(std::string& line) {
    if (!next_.has_value()) {
        line.clear();
        return false;
    }
    line = std::move(*next_);
    fetch();
    return true;
}

bool FileReader::readLine(std::string& line) { return readPCLine(line); }

void FileReader::close() {
    next_.reset();
    if (in_.is_open()) {
        in_.close();
    }
    in_.clear();
}

// -------------------------------------------------------------- FileWriter

bool FileWriter::open(const FileNamePtr& name) {
    if (name.isNull()) {
        close();
        return false;
    }
    return open(name->getPath());
}

bool FileWriter::open(const std::string& path) {
    close();
    if (path.empty()) {
        return false;
    }
    out_.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    return out_.is_open();
}

bool FileWriter::putPCLine(const std::string& line) {
    if (!out_.is_open()) {
        return false;
    }
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    out_.write("\r\n", 2);
    return static_cast<bool>(out_);
}

bool FileWriter::close() {
    if (!out_.is_open()) {
        out_.clear();
        return true;
    }
    out_.flush();
    bool ok = static_cast<bool>(out_);
    out_.close();
    ok = ok && !out_.fail();
    out_.clear();
    return ok;
}

// ------------------------------------------------------------------- IOMgr

IOMgr& IOMgr::getInstance() {
    static IOMgr instance;
    return instance;
}

IOMgr::~IOMgr() {
    for (FileReader* r : readers_) {
        delete r;
    }
    for (FileWriter* w : writers_) {
        delete w;
    }
}

FileReader* IOMgr::allocateFileReader() {
    auto reader = std::make_unique<FileReader>();
    std::lock_guard<std::mutex> lock(mutex_);
    readers_.insert(reader.get());
    return reader.release();
}

bool IOMgr::deallocateFileReader(FileReader* reader) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (reader == nullptr || readers_.erase(reader) == 0) {
            return false;
        }
    }
    delete reader;
    return true;
}

FileWriter* IOMgr::allocateFileWriter() {
    auto writer = std::make_unique<FileWriter>();
    std::lock_guard<std::mutex> lock(mutex_);
    writers_.insert(writer.get());
    return writer.release();
}

bool IOMgr::deallocateFileWriter(FileWriter* writer) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (writer == nullptr || writers_.erase(writer) == 0) {
            return false;
        }
    }
    delete writer;
    return true;
}

}  // namespace IOMgmt
