// The commit record of an output folder: how it is written and read, and
// how the files it names are known again, in the folder or in a copy of
// it. Finishing a commit or a roll-back from it is in CommitFinish.cpp.
//
// A record is a list of fields, each ended by a NUL byte: a heading; the
// device and file number of the output folder it was written for; seven
// fields for each line (the output's name, its staged file's name, that
// file's number on the disk, its size, the hash of its bytes, the earlier
// file's second name and its number); "end"; and the hash of all the bytes
// before it. Numbers are in decimal; an output is a name in the output
// folder, the others names in the run's folder (JobFiles.cpp), where the
// record is too. A record whose last field is not the hash of the rest is
// not one that a run wrote: damaged, made by hand, or written by an earlier
// version without it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <string>
#include <vector>

#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtInternal.h"

namespace IOMgmt::detail {

namespace {

constexpr const char* kRecordHeading = "staged outputs commit record 3";
constexpr const char* kRecordEnd = "end";
// The fields of a line, and those of the heading, folder, end and hash.
constexpr std::size_t kLineFields = 7;
constexpr std::size_t kFrameFields = 5;
// A record lists a few names: a longer file is not one that a run wrote.
constexpr std::size_t kLongestRecord = 1024 * 1024;
constexpr const char* kNotARecord =
    "is not a commit record that a run wrote: see that each output is whole, then remove it";
constexpr std::size_t kReadBuffer = 64 * 1024;

// The device and file number of a folder.
struct FolderIdentity {
    unsigned long long device = 0;
    unsigned long long number = 0;
};

std::string encode(const FolderIdentity& folder, const std::vector<CommitEntry>& entries) {
    std::string text;
    for (const std::string& field :
         {std::string(kRecordHeading), std::to_string(folder.device), std::to_string(folder.number)}) {
        text += field + '\0';
    }
    for (const CommitEntry& e : entries) {
        for (const std::string& field :
             {e.output, e.staged, std::to_string(e.stagedNumber), std::to_string(e.stagedSize), e.stagedHash, e.kept,
              std::to_string(e.earlierNumber)}) {
            text += field + '\0';
        }
    }
    text += std::string(kRecordEnd) + '\0';
    return text + hashText(text) + '\0';
}

bool isHashText(const std::string& text) {
    return text.size() == 16 && std::all_of(text.begin(), text.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Whether a line names only what a record may: an output with its own
// staged file and second name, or a temporary name left to remove.
bool isSoundEntry(const CommitEntry& e) {
    if (e.output.empty()) {
        return e.staged.empty() && e.stagedHash.empty() && isPlainFileName(e.kept) &&
               (!stemOfTemporaryName(e.kept, kKeptMark).empty() || !stemOfTemporaryName(e.kept, kCopyMark).empty() ||
                !stemOfTemporaryName(e.kept, kStagedMark).empty());
    }
    const std::string stem = temporaryStem(e.output);
    return isPlainFileName(e.output) && isTemporaryName(e.staged, stem, kStagedMark) && isHashText(e.stagedHash) &&
           (e.kept.empty() || isTemporaryName(e.kept, stem, kKeptMark));
}

// A number written in decimal; false for anything else, or one past the
// largest number.
bool parseNumber(const std::string& text, unsigned long long& number) {
    constexpr unsigned long long kLargest = std::numeric_limits<unsigned long long>::max();
    number = 0;
    for (const char c : text) {
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (c < '0' || c > '9' || number > (kLargest - digit) / 10) return false;
        number = number * 10 + digit;
    }
    return !text.empty();
}

// The fields of a text of NUL-ended fields; false when it ends in a cut one.
bool splitFields(const std::string& text, std::vector<std::string>& fields) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\0', at);
        if (end == std::string::npos) return false;
        fields.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return true;
}

// The folder and lines of a record's text; false when it is not a whole
// record that a run wrote.
bool decode(const std::string& text, FolderIdentity& folder, std::vector<CommitEntry>& entries) {
    std::vector<std::string> fields;
    if (!splitFields(text, fields) || fields.size() < kFrameFields) return false;
    const std::string& checksum = fields.back();
    if (checksum != hashText(std::string_view(text).substr(0, text.size() - checksum.size() - 1))) return false;
    if (fields.front() != kRecordHeading || fields[fields.size() - 2] != kRecordEnd ||
        (fields.size() - kFrameFields) % kLineFields != 0 || !parseNumber(fields[1], folder.device) ||
        !parseNumber(fields[2], folder.number)) {
        return false;
    }
    for (std::size_t i = 3; i + 2 < fields.size(); i += kLineFields) {
        CommitEntry e{.output = fields[i], .staged = fields[i + 1], .stagedHash = fields[i + 4], .kept = fields[i + 5]};
        if (!parseNumber(fields[i + 2], e.stagedNumber) || !parseNumber(fields[i + 3], e.stagedSize) ||
            !parseNumber(fields[i + 6], e.earlierNumber) || !isSoundEntry(e)) {
            return false;
        }
        entries.push_back(std::move(e));
    }
    return true;
}

// The identity of the folder; false when it cannot be read.
bool identify(const std::string& folder, FolderIdentity& identity) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return false;
    identity = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
    return true;
}

// Why a record that exists cannot be read (the errno of the failed call),
// and what the folder may hold meanwhile.
std::string unreadableRecord(const char* what, int error) {
    return std::string(what) + ": " + causeOf(error) +
           "; until a run reads it, the folder may hold some outputs of the run that wrote it new and others "
           "earlier: leave it, and run again once it can be read (that run finishes the commit)";
}

// The bytes of a record file; why they cannot be read, else empty.
std::string recordText(const std::string& path, bool& exists, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    exists = fd >= 0 || errno != ENOENT;
    if (!exists) return std::string();
    struct stat st {};
    std::string problem;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        problem = unreadableRecord("cannot be opened", errno);
    } else if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kLongestRecord) {
        problem = kNotARecord;
    } else {
        text.resize(static_cast<std::size_t>(st.st_size));
        const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
        if (n < 0) problem = unreadableRecord("cannot be read", errno);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    if (fd >= 0) ::close(fd);
    return problem;
}

}  // namespace

RecordFiles recordFilesOf(const std::string& folder) {
    const std::string own = runFolderOf(folder);
    return {inFolder(own, kRecordName), inFolder(own, kNewRecordName), inFolder(own, kRollBackName)};
}

std::string copyNameOf(const std::string& output, const std::string& kept) {
    return temporaryStem(output) + kCopyMark + kept.substr(kept.size() - std::min(kept.size(), kRandomPartLength));
}

int contentOf(const std::string& path, unsigned long long& size, std::string& hash) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
    struct stat st {};
    const int error = ::fstat(fd, &st) != 0 ? errno
                      : S_ISREG(st.st_mode) ? contentOfDescriptor(fd, size, hash)
                                            : EINVAL;
    ::close(fd);
    return error;
}

int contentOfDescriptor(int fd, unsigned long long& size, std::string& hash) {
    int error = 0;
    ByteHash bytes;
    std::string buffer(kReadBuffer, '\0');
    for (size = 0;;) {
        const ssize_t n = stagingCalls().read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        bytes.add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        size += static_cast<unsigned long long>(n);
    }
    hash = bytes.text();
    return error;
}

int writeRecordFile(const std::string& folder, const std::vector<CommitEntry>& entries) {
    FolderIdentity identity;
    if (!identify(folder, identity)) return errno;
    const RecordFiles files = recordFilesOf(folder);
    const std::string& fresh = files.fresh;
    removeFile(fresh);
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
    if (fd < 0) return errno;
    int error = writeAll(fd, encode(identity, entries));
    if (error == 0 && stagingCalls().sync(fd) != 0) error = errno;
    ::close(fd);
    if (error == 0) error = renameFile(fresh, files.record);
    if (error != 0) removeFile(fresh);
    return error;
}

void writeCommitRecord(const std::string& folder, const std::vector<CommitEntry>& entries) {
    const std::string record = recordFilesOf(folder).record;
    if (const int error = writeRecordFile(folder, entries); error != 0) {
        failOn(record, "cannot write the commit record of the outputs", error, kNothingChanged);
    }
    if (const int error = syncFolder(folder); error != 0) {
        removeFile(record);
        failOn(folder, "cannot sync the output folder to the disk", error, kNothingChanged);
    }
}

FoundRecord readRecord(const std::string& folder, bool rollBack) {
    FoundRecord found;
    std::string text;
    const RecordFiles files = recordFilesOf(folder);
    found.problem = recordText(rollBack ? files.rollBack : files.record, found.exists, text);
    FolderIdentity written;
    if (found.exists && found.problem.empty() && !decode(text, written, found.entries)) {
        found.problem = kNotARecord;
        found.entries.clear();
    }
    FolderIdentity here;
    found.numbersHold = identify(folder, here) && here.device == written.device && here.number == written.number;
    return found;
}

int beginRollBack(const std::string& folder) {
    const RecordFiles files = recordFilesOf(folder);
    return renameFile(files.record, files.rollBack);
}

void settleRecord(const std::string& folder, Unfinished& unfinished) {
    unfinished.syncError = syncFolder(folder);
    const RecordFiles files = recordFilesOf(folder);
    std::vector<std::string> toRemove;
    if (!unfinished.leftover.empty()) {
        std::vector<CommitEntry> left;
        for (const std::string& name : unfinished.leftover) left.push_back({.kept = name});
        // Should the shorter record not be written, the one there lists
        // them still: finishing it again is harmless.
        if (const int error = writeRecordFile(folder, left); error != 0) {
            unfinished.noteFailure("cannot write the commit record " + shownPath(files.record) + ": " + causeOf(error));
        } else {
            toRemove.push_back(files.rollBack);
        }
        unfinished.unremoved += "; a later run into the folder tries again";
    } else {
        toRemove = {files.record, files.rollBack};
    }
    for (const std::string& path : toRemove) {
        if (const int error = removeFile(path); error != 0 && present(path)) {
            unfinished.unremoved += "; cannot remove the commit record " + shownPath(path) + " (" + causeOf(error) +
                                    "), which a later run into the folder finishes";
            unfinished.noteFailure("cannot remove " + shownPath(path) + ": " + causeOf(error));
        }
    }
    unfinished.recordStays = present(files.rollBack);
}

}  // namespace IOMgmt::detail
