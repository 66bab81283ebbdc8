// The commit record of an output folder: how it is written and read, and
// how the files it names are known again, in the folder or in a copy of
// it. Finishing a commit or a roll-back from it is in CommitFinish.cpp.
//
// A record is a list of fields, each ended by a NUL byte: a heading; the
// device and file number of the output folder it was written for; eight
// fields for each line (the output's name, its staged file's name, that
// file's number on the disk, its size, the hash of its bytes, the earlier
// file's second name, its number, and the number of the copy that is that
// second name, 0 until a roll-back records it); "end"; and the hash of all
// the bytes before it. Numbers are in decimal; an output is a name in the
// output folder, the others names in the run's folder (JobFiles.cpp), where
// the record is too. A record whose last field is not the hash of the rest
// is not one that a run wrote: damaged, made by hand, or written by an
// earlier version without it. A record of the version before, whose lines
// have no copy's number, is read too.
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

constexpr const char* kRecordHeading = "staged outputs commit record 4";
// The version before: no copy's number.
constexpr const char* kRecordHeadingBefore = "staged outputs commit record 3";
constexpr const char* kRecordEnd = "end";
// The fields of a line, and those of the heading, folder, end and hash.
constexpr std::size_t kLineFields = 8;
constexpr std::size_t kFrameFields = 5;
// A record lists a few names: a longer file is not one that a run wrote.
constexpr std::size_t kLongestRecord = 1024 * 1024;
constexpr const char* kNotARecord =
    "is not a commit record that a run wrote: see that each output is whole, then remove it";
constexpr std::size_t kReadBuffer = 64 * 1024;

// The text of a record of the output folder (its device and file number).
std::string encode(const FileId& folder, const std::vector<CommitEntry>& entries) {
    std::string text;
    for (const std::string& field :
         {std::string(kRecordHeading), std::to_string(folder.first), std::to_string(folder.second)}) {
        text += field + '\0';
    }
    for (const CommitEntry& e : entries) {
        for (const std::string& field :
             {e.output, e.staged, std::to_string(e.stagedNumber), std::to_string(e.stagedSize), e.stagedHash, e.kept,
              std::to_string(e.earlierNumber), std::to_string(e.copyNumber)}) {
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

// The folder and lines of a record's text, and whether it gives the
// copies' numbers (not a record of the version before); false when it is
// not a whole record that a run wrote.
bool decode(const std::string& text, FileId& folder, std::vector<CommitEntry>& entries, bool& copiesKnown) {
    std::vector<std::string> fields;
    if (!splitFields(text, fields) || fields.size() < kFrameFields) return false;
    const std::string& checksum = fields.back();
    if (checksum != hashText(std::string_view(text).substr(0, text.size() - checksum.size() - 1))) return false;
    copiesKnown = fields.front() == kRecordHeading;
    const std::size_t lineFields = copiesKnown ? kLineFields : kLineFields - 1;
    if ((!copiesKnown && fields.front() != kRecordHeadingBefore) || fields[fields.size() - 2] != kRecordEnd ||
        (fields.size() - kFrameFields) % lineFields != 0 || !parseNumber(fields[1], folder.first) ||
        !parseNumber(fields[2], folder.second)) {
        return false;
    }
    for (std::size_t i = 3; i + 2 < fields.size(); i += lineFields) {
        CommitEntry e{.output = fields[i], .staged = fields[i + 1], .stagedHash = fields[i + 4], .kept = fields[i + 5]};
        if (!parseNumber(fields[i + 2], e.stagedNumber) || !parseNumber(fields[i + 3], e.stagedSize) ||
            !parseNumber(fields[i + 6], e.earlierNumber) ||
            (copiesKnown && !parseNumber(fields[i + 7], e.copyNumber)) || !isSoundEntry(e)) {
            return false;
        }
        entries.push_back(std::move(e));
    }
    return true;
}

// Why a record that exists cannot be read (the errno of the failed call),
// and what the folder may hold meanwhile.
std::string unreadableRecord(const char* what, int error) {
    return std::string(what) + ": " + causeOf(error) +
           "; until a run reads it, the folder may hold some outputs of the run that wrote it new and others "
           "earlier: leave it, and run again once it can be read (that run finishes the commit)";
}

// Opens a regular file of the run's user to read, once the file held
// (O_PATH) is found to be one: its descriptor, else -1 with errno (EINVAL
// for another file); `st` describes it.
int openOwnFile(const RunFolder& run, In in, const std::string& name, struct stat& st) {
    const Descriptor held(run.open(in, name, O_PATH));
    if (held.get() < 0 || ::fstat(held.get(), &st) != 0) return -1;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) return errno = EINVAL, -1;
    return reopen(held.get(), O_RDONLY);
}

// The bytes of a record file of the run's folder, read only once the file
// opened is found to be a regular file of the run's user; why they cannot
// be read, else empty.
std::string recordText(const RunFolder& run, const char* name, bool& exists, std::string& text) {
    struct stat st {};
    const Descriptor fd(openOwnFile(run, In::Own, name, st));
    exists = fd.get() >= 0 || errno != ENOENT;
    if (!exists) return std::string();
    if (fd.get() < 0) return errno == EINVAL ? kNotARecord : unreadableRecord("cannot be opened", errno);
    if (static_cast<std::size_t>(st.st_size) > kLongestRecord) return kNotARecord;
    text.resize(static_cast<std::size_t>(st.st_size));
    const ssize_t n = ::pread(fd.get(), text.data(), text.size(), 0);
    if (n < 0) return unreadableRecord("cannot be read", errno);
    text.resize(static_cast<std::size_t>(n));
    return std::string();
}

// Writes the record (its heading, the output folder's identity, its lines
// and a checksum of it all) and renames it into place at `name`, durable
// once the run's folder is synced; the errno of a failure, with no record
// written.
int writeRecordFile(const RunFolder& run, const std::vector<CommitEntry>& entries, const char* name = kRecordName) {
    run.remove(In::Own, kNewRecordName);
    const Descriptor fd(run.open(In::Own, kNewRecordName, O_WRONLY | O_CREAT | O_EXCL, 0600));
    if (fd.get() < 0) return errno;
    int error = writeAll(fd.get(), encode(idOf(run.folderStat()), entries));
    if (error == 0 && stagingCalls().sync(fd.get()) != 0) error = errno;
    if (error == 0) error = run.rename(In::Own, kNewRecordName, In::Own, name);
    if (error != 0) run.remove(In::Own, kNewRecordName);
    return error;
}

}  // namespace

std::string copyNameOf(const std::string& output, const std::string& kept) {
    return temporaryStem(output) + kCopyMark + kept.substr(kept.size() - std::min(kept.size(), kRandomPartLength));
}

int contentOf(const RunFolder& run, In in, const std::string& name, unsigned long long& size, std::string& hash) {
    struct stat st {};
    const Descriptor fd(openOwnFile(run, in, name, st));
    return fd.get() < 0 ? errno : contentOfDescriptor(fd.get(), size, hash);
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

void writeCommitRecord(const RunFolder& run, const std::vector<CommitEntry>& entries) {
    if (const int error = writeRecordFile(run, entries); error != 0) {
        failOn(run.pathOf(In::Own, kRecordName), "cannot write the commit record of the outputs", error,
               kNothingChanged);
    }
    // The record's rename is durable in the run's folder, and the run's
    // folder in the output folder, before any output moves.
    for (const In in : {In::Own, In::Outputs}) {
        if (const int error = run.sync(in); error != 0) {
            run.remove(In::Own, kRecordName);
            failOn(in == In::Own ? runFolderOf(run.path()) : run.path(),
                   in == In::Own ? "cannot sync the folder of the run's own files to the disk"
                                 : "cannot sync the output folder to the disk",
                   error, kNothingChanged);
        }
    }
}

FoundRecord readRecord(const RunFolder& run, bool rollBack) {
    FoundRecord found;
    std::string text;
    found.problem = recordText(run, rollBack ? kRollBackName : kRecordName, found.exists, text);
    FileId written;
    if (found.exists && found.problem.empty() && !decode(text, written, found.entries, found.copiesKnown)) {
        found.problem = kNotARecord;
        found.entries.clear();
    }
    found.numbersHold = written == idOf(run.folderStat());
    return found;
}

int beginRollBack(const RunFolder& run) {
    const int error = run.rename(In::Own, kRecordName, In::Own, kRollBackName);
    // A failed sync shows again as the roll-back syncs the folder.
    if (error == 0) run.sync(In::Own);
    return error;
}

int rewriteRollBack(const RunFolder& run, const std::vector<CommitEntry>& entries) {
    const int error = writeRecordFile(run, entries, kRollBackName);
    return error != 0 ? error : run.sync(In::Own);
}

void settleRecord(const RunFolder& run, Unfinished& unfinished) {
    std::vector<const char*> toRemove;
    if (unfinished.keepRecord) {
        // The roll-back record names what stays, for a later job.
    } else if (!unfinished.leftover.empty()) {
        std::vector<CommitEntry> left;
        for (const std::string& name : unfinished.leftover) left.push_back({.kept = name});
        // Should the shorter record not be written, the one there lists
        // them still: finishing it again is harmless.
        if (const int error = writeRecordFile(run, left); error != 0) {
            unfinished.noteFailure("cannot write the commit record " + shownPath(run.pathOf(In::Own, kRecordName)) +
                                   ": " + causeOf(error));
        } else {
            toRemove.push_back(kRollBackName);
        }
        unfinished.unremoved += "; a later run into the folder tries again";
    } else {
        toRemove = {kRecordName, kRollBackName};
    }
    for (const char* name : toRemove) {
        if (const int error = run.remove(In::Own, name); error != 0 && run.present(In::Own, name)) {
            const std::string path = shownPath(run.pathOf(In::Own, name));
            unfinished.unremoved += "; cannot remove the commit record " + path + " (" + causeOf(error) +
                                    "), which a later run into the folder finishes";
            unfinished.noteFailure("cannot remove " + path + ": " + causeOf(error));
        }
    }
    // The record's removal is durable too. Should it not be, a record that
    // comes back after a power failure is finished again, harmlessly: its
    // outputs are in place and durable.
    run.sync(In::Own);
    unfinished.recordStays = run.present(In::Own, kRollBackName);
}

}  // namespace IOMgmt::detail
