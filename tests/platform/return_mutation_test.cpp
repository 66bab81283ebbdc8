// A fixed-seed mutation test of the return-file reader over the example
// returns: byte flips, deleted and duplicated elements, swapped and extreme
// values. Each mutated file is either refused cleanly (every line of the
// message names the file, no raw control character reaches it) or accepted,
// and then it writes back and reads back identically.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kSeed = 20180415;
constexpr int kCasesPerExample = 250;
const std::string kName = "mutated.xml";

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_BINARY_DIR "/forms");
    return lib;
}

PersistanceMgmt::ReturnDescriptions descriptions() { return {library().federal.get(), library().georgia.get()}; }

std::vector<std::string> examples() {
    std::vector<std::string> docs;
    std::vector<fs::path> paths;
    for (const auto& e : fs::directory_iterator(GA_SOURCE_DIR "/examples")) {
        if (e.path().extension() == ".xml") paths.push_back(e.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& p : paths) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        docs.push_back(ss.str());
    }
    return docs;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\n";
    return out;
}

// Values that have broken readers before: limits, non-numbers, non-dates,
// control characters, overlong texts.
const std::vector<std::string> kExtremes = {
    "-9223372036854775808",
    "9223372036854775808",
    "1e20",
    "NaN",
    "inf",
    "-0",
    "0.0000000001",
    "10000000000000.01",
    std::string(300, '9'),
    "02/30/2018",
    "13/45/2018",
    "hello",
    "\x01\x02",
    "a\rgahost: wrote x",
    std::string(5000, 'x'),
    "\xC3\xA9",
    "\xC3(",
    "X",
    "NO",
    "",
};

class Mutator {
public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    std::string mutate(const std::string& doc) {
        std::vector<std::string> lines = linesOf(doc);
        switch (pick(5)) {
            case 0: {  // byte flips
                std::string out = doc;
                for (std::size_t n = 1 + pick(3); n > 0; --n) out[pick(out.size())] = static_cast<char>(pick(256));
                return out;
            }
            case 1:  // a deleted element (one line)
                lines.erase(lines.begin() + static_cast<long>(pick(lines.size())));
                return joined(lines);
            case 2: {  // a duplicated element
                const std::size_t at = pick(lines.size());
                lines.insert(lines.begin() + static_cast<long>(at), lines[at]);
                return joined(lines);
            }
            case 3:  // two values swapped
                return swapValues(doc);
            default:  // an extreme value
                return replaceValue(doc, kExtremes[pick(kExtremes.size())]);
        }
    }

private:
    std::size_t pick(std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    // Where the values are: the text between ">" and "<" of <VALUE> and of
    // the host's elements, and attribute values.
    std::vector<std::pair<std::size_t, std::size_t>> values(const std::string& doc) {
        std::vector<std::pair<std::size_t, std::size_t>> spans;
        for (std::size_t at = doc.find('>'); at != std::string::npos; at = doc.find('>', at + 1)) {
            const std::size_t end = doc.find('<', at + 1);
            if (end != std::string::npos && end > at + 1 && doc.find('\n', at) > end) spans.emplace_back(at + 1, end);
        }
        for (std::size_t at = doc.find("=\""); at != std::string::npos; at = doc.find("=\"", at + 1)) {
            const std::size_t end = doc.find('"', at + 2);
            if (end != std::string::npos) spans.emplace_back(at + 2, end);
        }
        return spans;
    }

    std::string replaceValue(const std::string& doc, const std::string& value) {
        const auto spans = values(doc);
        if (spans.empty()) return doc;
        const auto [b, e] = spans[pick(spans.size())];
        return doc.substr(0, b) + value + doc.substr(e);
    }

    std::string swapValues(const std::string& doc) {
        auto spans = values(doc);
        if (spans.size() < 2) return doc;
        auto a = spans[pick(spans.size())];
        auto b = spans[pick(spans.size())];
        if (a.first > b.first) std::swap(a, b);
        if (a.second > b.first) return doc;
        return doc.substr(0, a.first) + doc.substr(b.first, b.second - b.first) +
               doc.substr(a.second, b.first - a.second) + doc.substr(a.first, a.second - a.first) +
               doc.substr(b.second);
    }

    std::mt19937 random_;
};

TEST(ReturnFileMutations, EveryMutatedExampleIsRefusedCleanlyOrReadsBackAsWritten) {
    Mutator mutator(kSeed);
    int refused = 0;
    int accepted = 0;
    for (const std::string& example : examples()) {
        for (int n = 0; n < kCasesPerExample; ++n) {
            const std::string doc = mutator.mutate(example);
            std::string written;
            try {
                written = PersistanceMgmt::ReturnFile::serialize(
                    PersistanceMgmt::ReturnFile::parse(doc, kName, descriptions()));
            } catch (const Exceptions::QuarloException& e) {
                ++refused;
                const std::string& message = e.getMessage();
                ASSERT_FALSE(message.empty());
                for (const std::string& line : linesOf(message)) {
                    const bool named = line.rfind(kName + ":", 0) == 0 || line.rfind("... and ", 0) == 0;
                    ASSERT_TRUE(named) << "a line that does not name the file:\n" << message << "\nof:\n" << doc;
                    const bool raw = std::any_of(line.begin(), line.end(),
                                                 [](char c) { return static_cast<unsigned char>(c) < 0x20; });
                    ASSERT_FALSE(raw) << "a raw control character in:\n" << message;
                }
                continue;
            }
            ++accepted;
            const std::string again = PersistanceMgmt::ReturnFile::serialize(
                PersistanceMgmt::ReturnFile::parse(written, "written.xml", descriptions()));
            ASSERT_EQ(written, again) << "accepted, but does not read back as written:\n" << doc;
        }
    }
    // The mutations reach both outcomes.
    EXPECT_GT(refused, 100);
    EXPECT_GT(accepted, 100);
}

}  // namespace
