// The commit record of an output folder: what a batch writes before it moves
// its outputs into place, and how a commit or a roll-back is finished from
// it, by the batch itself or by the next job into the folder when the batch
// was killed.
//
// A record is a list of fields, each ended by a NUL byte: a heading, four
// fields for each line (the output's name, its staged file's name, that
// file's number on the disk in decimal, the earlier file's second name) and
// "end". Names are names within the folder.
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

constexpr const char* kRecordName = ".staged-outputs.commit";
constexpr const char* kNewRecordName = ".staged-outputs.commit-new";
constexpr const char* kRollBackName = ".staged-outputs.rollback";
constexpr const char* kRecordHeading = "staged outputs commit record 1";
constexpr const char* kRecordEnd = "end";
// A record lists a few names: a longer file is not one that a run wrote.
constexpr std::size_t kLongestRecord = 1024 * 1024;
// What becomes of the second name of an earlier output that a roll-back
// could not put back: no later job removes it.
constexpr const char* kKeptUntil = "stays until you move it back or remove it";

// Whether the output's file is its staged file, moved into place.
bool isInPlace(const std::string& folder, const CommitEntry& entry) {
    struct stat st {};
    return ::lstat(inFolder(folder, entry.output).c_str(), &st) == 0 && st.st_ino == entry.stagedNumber;
}

std::string encode(const std::vector<CommitEntry>& entries) {
    std::string text = std::string(kRecordHeading) + '\0';
    for (const CommitEntry& e : entries) {
        for (const std::string& field : {e.output, e.staged, std::to_string(e.stagedNumber), e.kept})
            text += field + '\0';
    }
    return text + kRecordEnd + '\0';
}

// Whether a line names only what a record may: an output with its own
// staged file and second name, or a temporary name left to remove.
bool isSoundEntry(const CommitEntry& e) {
    if (e.output.empty()) {
        return e.staged.empty() && isPlainFileName(e.kept) &&
               (!stemOfTemporaryName(e.kept, kKeptMark).empty() || !stemOfTemporaryName(e.kept, kCopyMark).empty() ||
                !stemOfTemporaryName(e.kept, kStagedMark).empty());
    }
    const std::string stem = temporaryStem(e.output);
    return isPlainFileName(e.output) && isTemporaryName(e.staged, stem, kStagedMark) &&
           (e.kept.empty() || isTemporaryName(e.kept, stem, kKeptMark));
}

// A file number written in decimal; false for anything else, or one past
// the largest number.
bool parseFileNumber(const std::string& text, unsigned long long& number) {
    constexpr unsigned long long kLargest = std::numeric_limits<unsigned long long>::max();
    number = 0;
    for (const char c : text) {
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (c < '0' || c > '9' || number > (kLargest - digit) / 10) return false;
        number = number * 10 + digit;
    }
    return !text.empty();
}

// The lines of a record's text; false when it is not a whole record.
bool decode(const std::string& text, std::vector<CommitEntry>& entries) {
    std::vector<std::string> fields;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\0', at);
        if (end == std::string::npos) return false;
        fields.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    if (fields.size() < 2 || fields.front() != kRecordHeading || fields.back() != kRecordEnd ||
        (fields.size() - 2) % 4 != 0) {
        return false;
    }
    for (std::size_t i = 1; i + 1 < fields.size(); i += 4) {
        unsigned long long number = 0;
        if (!parseFileNumber(fields[i + 2], number)) return false;
        CommitEntry e{fields[i], fields[i + 1], number, fields[i + 3]};
        if (!isSoundEntry(e)) return false;
        entries.push_back(std::move(e));
    }
    return true;
}

// A record file as found: none, its lines, or why it cannot be read.
struct FoundRecord {
    bool exists = false;
    std::vector<CommitEntry> entries;
    std::string problem;
};

FoundRecord readRecord(const std::string& path) {
    FoundRecord found;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ENOENT) return found;
    found.exists = true;
    if (fd < 0) {
        found.problem = "cannot open it: " + causeOf(errno);
        return found;
    }
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kLongestRecord) {
        found.problem = "is not a commit record that a run wrote";
    } else {
        text.resize(static_cast<std::size_t>(st.st_size));
        const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
        if (n < 0) found.problem = "cannot read it: " + causeOf(errno);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    ::close(fd);
    if (found.problem.empty() && !decode(text, found.entries))
        found.problem = "is not a commit record that a run wrote";
    return found;
}

// Writes the record under its name, durable; the errno of a failure, with
// no record written.
int writeRecordFile(const std::string& folder, const std::vector<CommitEntry>& entries) {
    const std::string fresh = inFolder(folder, kNewRecordName);
    removeFile(fresh);
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
    if (fd < 0) return errno;
    int error = writeAll(fd, encode(entries));
    if (error == 0 && stagingCalls().sync(fd) != 0) error = errno;
    ::close(fd);
    if (error == 0 && stagingCalls().rename(fresh.c_str(), inFolder(folder, kRecordName).c_str()) != 0) error = errno;
    if (error != 0) removeFile(fresh);
    return error;
}

// Every name a line lists: staged file, second name and copy, or the
// name left to remove.
std::vector<std::string> namesOf(const CommitEntry& e) {
    if (e.output.empty()) return {e.kept};
    if (e.kept.empty()) return {e.staged};
    return {e.staged, e.kept, copyNameOf(e.output, e.kept)};
}

// Removes the named files of the folder; what cannot be removed is left
// over.
void removeAll(const std::string& folder, const std::vector<std::string>& names, Unfinished& unfinished) {
    for (const std::string& name : names) {
        const std::string path = inFolder(folder, name);
        if (const int error = removeFile(path); error != 0) {
            unfinished.leftover.push_back(name);
            unfinished.unremoved += "; cannot remove " + shownPath(path) + " (" + causeOf(error) + ")";
        }
    }
}

// Syncs the folder, then removes its records, or writes one that lists
// only what is left over.
void settleRecord(const std::string& folder, Unfinished& unfinished) {
    unfinished.syncError = syncFolder(folder);
    if (!unfinished.leftover.empty()) {
        std::vector<CommitEntry> left;
        for (const std::string& name : unfinished.leftover) left.push_back({{}, {}, 0, name});
        // Should the shorter record not be written, the one there lists
        // them still: finishing it again is harmless.
        if (writeRecordFile(folder, left) == 0) removeFile(inFolder(folder, kRollBackName));
        unfinished.unremoved += "; a later run into the folder tries again";
        return;
    }
    for (const char* name : {kRecordName, kRollBackName}) {
        const std::string path = inFolder(folder, name);
        if (const int error = removeFile(path); error != 0) {
            unfinished.unremoved += "; cannot remove the commit record " + shownPath(path) + " (" + causeOf(error) +
                                    "), which a later run into the folder finishes";
        }
    }
}

// Puts back the earlier file of an output that a roll-back finds moved
// into place: by its second name, or, with none, the new file is removed.
void putBack(const std::string& folder, const CommitEntry& e, Unfinished& unfinished) {
    const std::string output = inFolder(folder, e.output);
    const std::string kept = inFolder(folder, e.kept);
    if (e.kept.empty() ? removeFile(output) == 0 : stagingCalls().rename(kept.c_str(), output.c_str()) == 0) return;
    const std::string cause = causeOf(errno);
    unfinished.lost += "; " + shownPath(output) + " is the new file, it cannot be put back (" + cause + ")";
    if (e.kept.empty()) return;
    unfinished.lost += ": the earlier file is " + shownPath(kept) + ", which " + kKeptUntil;
    unfinished.keptEarlier.push_back(e.kept);
}

// The outputs of the lines, for a note: "a.txt, b.txt".
std::string outputNames(const std::vector<CommitEntry>& entries) {
    std::string names;
    for (const CommitEntry& e : entries) {
        if (!e.output.empty()) names += (names.empty() ? "" : ", ") + shownPath(e.output);
    }
    return names;
}

}  // namespace

std::vector<std::string> commitRecordFilesOf(const std::string& folder) {
    return {inFolder(folder, kRecordName), inFolder(folder, kNewRecordName), inFolder(folder, kRollBackName)};
}

std::string copyNameOf(const std::string& output, const std::string& kept) {
    return temporaryStem(output) + kCopyMark + kept.substr(kept.size() - std::min(kept.size(), kRandomPartLength));
}

void writeCommitRecord(const std::string& folder, const std::vector<CommitEntry>& entries) {
    const std::string record = inFolder(folder, kRecordName);
    if (const int error = writeRecordFile(folder, entries); error != 0) {
        failOn(record, "cannot write the commit record of the outputs", error, kNothingChanged);
    }
    if (const int error = syncFolder(folder); error != 0) {
        removeFile(record);
        failOn(folder, "cannot sync the output folder to the disk", error, kNothingChanged);
    }
}

std::string moveStagedIntoPlace(const std::string& folder, const std::vector<CommitEntry>& entries) {
    for (const CommitEntry& e : entries) {
        if (!e.output.empty() && !present(inFolder(folder, e.staged)) && !isInPlace(folder, e)) {
            return "the new " + shownPath(e.output) + " is gone";
        }
    }
    for (const CommitEntry& e : entries) {
        const std::string staged = inFolder(folder, e.staged);
        if (e.output.empty() || !present(staged)) continue;
        if (stagingCalls().rename(staged.c_str(), inFolder(folder, e.output).c_str()) != 0) {
            return "cannot move the new " + shownPath(e.output) + " into place: " + causeOf(errno);
        }
    }
    return std::string();
}

Unfinished finishCommitted(const std::string& folder, const std::vector<CommitEntry>& entries) {
    Unfinished unfinished;
    for (const CommitEntry& e : entries) {
        std::vector<std::string> names = namesOf(e);
        if (!e.output.empty()) names.erase(names.begin());  // the staged file is the output now
        removeAll(folder, names, unfinished);
    }
    settleRecord(folder, unfinished);
    return unfinished;
}

Unfinished rollBackFolder(const std::string& folder, const std::vector<CommitEntry>& entries) {
    // A kill from here on is finished as a roll-back; should the record not
    // be renamed, the next job finds staged files gone and rolls back too.
    stagingCalls().rename(inFolder(folder, kRecordName).c_str(), inFolder(folder, kRollBackName).c_str());
    Unfinished unfinished;
    for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
        // Not moved: its staged file, second name and copy go.
        if (e->output.empty() || present(inFolder(folder, e->staged))) {
            removeAll(folder, namesOf(*e), unfinished);
            continue;
        }
        // Moved, or its staged file removed by a roll-back killed before
        // this one (which may have put the earlier file back already).
        const bool moved = isInPlace(folder, *e);
        const bool keptOnly =
            !e->kept.empty() && present(inFolder(folder, e->kept)) && !present(inFolder(folder, e->output));
        if (moved || keptOnly) putBack(folder, *e, unfinished);
        if (e->kept.empty()) continue;
        std::vector<std::string> names = {copyNameOf(e->output, e->kept)};
        if (!moved && !keptOnly) names.push_back(e->kept);
        removeAll(folder, names, unfinished);
    }
    settleRecord(folder, unfinished);
    return unfinished;
}

FolderFound finishKilledCommit(const std::string& folder, const std::string& target) {
    const SignalsHeld held;
    FolderFound found;
    removeFile(inFolder(folder, kNewRecordName));  // never became the record: nothing was moved
    const bool rollBack = present(inFolder(folder, kRollBackName));
    const std::string path = inFolder(folder, rollBack ? kRollBackName : kRecordName);
    const FoundRecord record = readRecord(path);
    if (!record.exists) return found;
    if (!record.problem.empty()) {
        failOn(target,
               "the commit record " + shownPath(path) + " " + record.problem +
                   ": see that each output is whole, then remove it",
               0, kNothingChanged);
    }
    const std::string failure = rollBack ? std::string() : moveStagedIntoPlace(folder, record.entries);
    const bool forward = !rollBack && failure.empty();
    const Unfinished unfinished =
        forward ? finishCommitted(folder, record.entries) : rollBackFolder(folder, record.entries);
    const std::string outputs = outputNames(record.entries);
    std::string note = shownPath(folder) + ": ";
    if (outputs.empty()) {
        note += "removed what an earlier run into the folder could not";
    } else if (forward) {
        note += "finished the commit of an earlier run into the folder: its " + outputs + " are in place";
    } else {
        note += (rollBack ? "finished the roll-back of an earlier run into the folder that failed"
                          : "the commit of an earlier run into the folder cannot be finished (" + failure + ")") +
                std::string(": the earlier ") + outputs + " are back";
    }
    note += unfinished.lost + unfinished.unremoved;
    if (unfinished.syncError != 0) {
        note += "; the folder cannot be synced to the disk (" + causeOf(unfinished.syncError) +
                "): a power failure may undo this";
    }
    IOMgr::getInstance().notice(note);
    found.carried = unfinished.leftover;
    found.listed.insert(found.carried.begin(), found.carried.end());
    // An earlier file kept by a failed put-back is named once, above.
    found.listed.insert(unfinished.keptEarlier.begin(), unfinished.keptEarlier.end());
    return found;
}

std::set<std::string> namesListedInRecords(const std::string& folder, bool& readable) {
    std::set<std::string> names;
    for (const char* kind : {kRecordName, kRollBackName}) {
        const FoundRecord record = readRecord(inFolder(folder, kind));
        readable = readable && record.problem.empty();
        for (const CommitEntry& e : record.entries) {
            for (const std::string& name : namesOf(e)) names.insert(name);
        }
    }
    return names;
}

void noteKeptEarlierFiles(const std::string& folder, const std::set<std::string>& listed) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    for (const std::string& name : names) {
        const std::string stem = stemOfTemporaryName(name, kKeptMark);
        if (stem.empty() || listed.count(name) > 0) continue;
        // A cut stem names its output only through a file of the folder.
        std::string output = stem == temporaryStem(stem.substr(1)) ? stem.substr(1) : std::string();
        for (const std::string& other : names) {
            if (output.empty() && other.size() > stem.size() && temporaryStem(other) == stem) output = other;
        }
        IOMgr::getInstance().notice(shownPath(inFolder(folder, name)) + " is an earlier " +
                                    (output.empty() ? "output" : shownPath(inFolder(folder, output))) +
                                    " that a run could not put back; it " + kKeptUntil);
    }
}

}  // namespace IOMgmt::detail
