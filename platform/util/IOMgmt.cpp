#include "platform/util/IOMgmt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "platform/Exceptions.h"
#include "platform/util/IOMgmtStaging.h"
#include "platform/util/Utils.h"

namespace IOMgmt {

namespace {

// The writer hands its lines to the file in pieces of about this size.
constexpr std::size_t kWriteBufferSize = 64u * 1024u;

}  // namespace

// ------------------------------------------------------------ whole files

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t kKiB = 1024;
    if (bytes >= kKiB * kKiB && bytes % (kKiB * kKiB) == 0) return std::to_string(bytes / (kKiB * kKiB)) + " MiB";
    if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::string shownPath(const std::string& path) {
    return Utils::QVStringUtils::escapeForMessage(path, kShownPathLength);
}

WholeFile readWholeFile(const std::string& path, std::size_t limit) {
    WholeFile file;
    const auto refuse = [&](Refusal refusal, std::string problem, int error = 0) {
        file.refusal = refusal;
        file.error = error;
        file.problem = std::move(problem);
        file.bytes = std::string();  // nothing of a refused file is held
        return file;
    };
    if (path.empty()) return refuse(Refusal::CannotOpen, "no file name given", ENOENT);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        file.missing = error == ENOENT;
        return refuse(Refusal::CannotOpen, "cannot open it: " + std::generic_category().message(error), error);
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    const auto cannotRead = [&](int error) {
        return refuse(Refusal::CannotRead, "cannot read it: " + std::generic_category().message(error), error);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0) return cannotRead(errno);
    if (S_ISDIR(st.st_mode)) return refuse(Refusal::Directory, "is a directory");
    if (!S_ISREG(st.st_mode)) {
        return refuse(Refusal::NotRegular, "is not a regular file (a device, pipe or socket)");
    }
    const auto tooLarge = [&] { return refuse(Refusal::TooLarge, "is larger than the limit of " + sizeText(limit)); };
    if (static_cast<std::uint64_t>(st.st_size) > limit) return tooLarge();
    // One byte past the limit is room enough to tell a file that grew.
    file.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    while (true) {
        if (done == file.bytes.size()) {
            if (done > limit) return tooLarge();
            file.bytes.resize(std::min(limit + 1, done + 4096));
        }
        const ssize_t n = ::read(fd, file.bytes.data() + done, file.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return cannotRead(errno);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > limit) return tooLarge();
    file.bytes.resize(done);
    file.ok = true;
    return file;
}

std::string takeLine(std::string_view text, std::size_t& at) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(at, end - at));
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

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
    WholeFile file = readWholeFile(path, limit_);
    if (!file.ok) {
        problem_ = std::move(file.problem);
        return false;
    }
    problem_.clear();
    text_ = std::move(file.bytes);
    open_ = true;
    fetch();
    return true;
}

void FileReader::fetch() {
    next_.reset();
    if (!open_ || at_ >= text_.size()) {
        // The end of the file (a final line end adds no line).
        return;
    }
    next_ = takeLine(text_, at_);
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
    open_ = false;
    text_.clear();
    at_ = 0;
}

// -------------------------------------------------------------- FileWriter

FileWriter::FileWriter() = default;

FileWriter::~FileWriter() = default;

bool FileWriter::open(const FileNamePtr& name) {
    if (name.isNull()) {
        close();
        return false;
    }
    return open(name->getPath());
}

bool FileWriter::open(const std::string& path) {
    close();
    problem_.clear();
    buffer_.clear();
    failed_ = false;
    if (IOMgr::getInstance().writesNowhere() && !path.empty()) {
        nowhere_ = true;
        return true;
    }
    try {
        // An empty name is refused here too ("no file name given").
        staged_ = std::make_unique<StagedFile>(path);
    } catch (const Exceptions::QuarloException& e) {
        keepProblem(path, e.getMessage());
        return false;
    }
    return true;
}

void FileWriter::keepProblem(const std::string& path, const std::string& message) {
    // The host's messages name the file first; the caller names it its own way.
    const std::string named = shownPath(path) + ": ";
    problem_ = message.rfind(named, 0) == 0 ? message.substr(named.size()) : message;
}

bool FileWriter::flush() {
    if (!failed_ && !buffer_.empty()) {
        try {
            staged_->write(buffer_);
        } catch (const Exceptions::QuarloException& e) {
            keepProblem(staged_->target(), e.getMessage());
            failed_ = true;
        }
    }
    buffer_.clear();
    return !failed_;
}

bool FileWriter::putPCLine(const std::string& line) {
    if (nowhere_) {
        return true;
    }
    if (staged_ == nullptr || failed_) {
        return false;
    }
    buffer_ += line;
    buffer_ += "\r\n";
    return buffer_.size() < kWriteBufferSize || flush();
}

bool FileWriter::close() {
    nowhere_ = false;
    if (staged_ == nullptr) {
        return true;
    }
    const bool written = flush();
    // A file that failed is dropped: the old file stays.
    std::unique_ptr<StagedFile> file = std::move(staged_);
    if (!written) {
        return false;
    }
    const std::string target = file->target();
    try {
        completeStagedFile(std::move(file));
    } catch (const Exceptions::QuarloException& e) {
        keepProblem(target, e.getMessage());
        return false;
    }
    return true;
}

void FileWriter::discard() {
    nowhere_ = false;
    staged_.reset();
    buffer_.clear();
    failed_ = false;
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

std::string IOMgr::reservedUse(const std::string& path) const {
    return batch_ != nullptr ? batch_->reservedUse(path) : std::string();
}

void IOMgr::notice(const std::string& text) {
    if (noticeSink_) {
        noticeSink_(text);
    } else {
        // One write: a process killed meanwhile leaves the whole line or none.
        std::cerr << "note: " + text + "\n";
    }
}

void IOMgr::setNoticeSink(std::function<void(const std::string&)> sink) { noticeSink_ = std::move(sink); }

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
