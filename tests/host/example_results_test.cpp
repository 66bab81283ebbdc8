// Golden results: every example return of examples/ run through gahost, its
// printout compared line by line with examples/<name>.expected, every field
// of the return it saves with examples/<name>.fields.expected, and the e-file
// that gahost run --efile writes with examples/<name>.GA-efile.expected where
// that file exists; and the tables of results of docs/examples.md checked
// against the expected printouts.
//
// After an intended change of a printout, `bash tools/update-expected.sh`
// rewrites the expected files (GA_UPDATE_EXPECTED=1 makes this test write
// them instead of comparing).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/definitions/FormDefinitions.h"
#include "platform/xml/XmlDom.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

using testsupport::kExamples;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The lines that differ, as "-expected" and "+actual" around the lines both
// keep (a longest common subsequence; the printouts are short).
std::string lineDiff(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    std::string out;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            out += "  " + a[i++] + "\n";
            ++j;
        } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
            out += "- " + a[i++] + "\n";
        } else {
            out += "+ " + b[j++] + "\n";
        }
    }
    return out;
}

// The elements of the node named tag, in document order.
std::vector<XmlDom::XmlNodePtr> childElements(const XmlDom::XmlNodePtr& node, const std::string& tag) {
    std::vector<XmlDom::XmlNodePtr> out;
    const XmlDom::XmlNodeListPtr list = node->getChildNodes();
    for (long i = 0; i < list->length(); ++i) {
        const XmlDom::XmlNodePtr child = list->item(i);
        if (child->getNodeType() == XmlDom::kElementNode && child->getName() == tag) out.push_back(child);
    }
    return out;
}

std::string childText(const XmlDom::XmlNodePtr& node, const std::string& tag) {
    const auto children = childElements(node, tag);
    return children.empty() ? std::string() : children.front()->getText();
}

std::string attributeOf(const XmlDom::XmlNodePtr& node, const std::string& name) {
    const XmlDom::XmlNodePtr item = node->getAttributes()->getNamedItem(name);
    return item.isNull() ? std::string() : *dynamic_cast<XmlDom::XmlAttribute&>(*item).getValue();
}

// Every field of a saved return, one line each in the order the file keeps
// (both returns, each copy of each form): dev name, copy, the field's short
// name where the form definitions give one (else its symbolic name) and its
// value, as "GA70 1 TaxableIncome 44700". A line break inside a value is
// written as \n so that every field stays on one line.
std::string fieldLines(const std::string& savedReturn) {
    const XmlDom::XmlDocument doc = XmlDom::parseDocument(savedReturn, "saved return");
    const XmlDom::XmlNodePtr root = doc.getDocumentElement();
    if (root.isNull()) return "the saved return is not well-formed XML\n";
    std::string out;
    for (const auto& taxReturn : childElements(root, "RETURN")) {
        for (const auto& form : childElements(taxReturn, "FORM")) {
            const std::string devName = attributeOf(form, "DEVNAME");
            std::string upperDevName = devName;
            for (char& c : upperDevName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const std::string prefix = "k" + upperDevName + "_";
            for (const auto& field : childElements(form, "FIELD")) {
                std::string name = childText(field, "NAME");
                const std::string shortName = name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : "";
                if (!shortName.empty() && shortName != "F" + childText(field, "ID")) name = shortName;
                std::string value;
                for (char c : childText(field, "VALUE")) value += c == '\n' ? std::string("\\n") : std::string(1, c);
                out += devName + " " + attributeOf(form, "COPY") + " " + name + " " + value + "\n";
            }
        }
    }
    return out;
}

// The device identifier that the golden e-files carry.
constexpr const char* kGoldenDeviceId = "3F2A9C01D4E5";

class ExampleResults : public testsupport::ScratchDirTest, public ::testing::WithParamInterface<std::string> {
protected:
    // Compares the text with the expected file line by line (line ends
    // aside), or rewrites the file.
    void compareWithExpected(const std::string& name, const std::string& text, const fs::path& expectedPath) {
        if (std::getenv("GA_UPDATE_EXPECTED") != nullptr) {
            std::ofstream(expectedPath, std::ios::binary) << text;
            std::cout << "wrote " << expectedPath.string() << '\n';
            return;
        }
        ASSERT_TRUE(fs::exists(expectedPath))
            << expectedPath.string() << " is missing: bash tools/update-expected.sh writes it";
        const auto expected = linesOf(readText(expectedPath));
        const auto actual = linesOf(text);
        if (expected != actual) {
            ADD_FAILURE() << "gahost run examples/" << name << ".xml differs from " << expectedPath.filename().string()
                          << " (- expected, + written):\n"
                          << lineDiff(expected, actual) << "After an intended change: bash tools/update-expected.sh";
        }
    }
    // Runs gahost run on the example (with the extra options) and compares
    // its printout with the expected file, or rewrites the file.
    void checkPrintout(const std::string& name, const std::vector<std::string>& options, const fs::path& expectedPath) {
        // Run as a person would from a directory of their own: the printout
        // names the output as out/<name>.xml.
        std::vector<std::string> args = {"run", (kExamples / (name + ".xml")).string(), "--out", "out"};
        args.insert(args.end(), options.begin(), options.end());
        const auto r = testsupport::runGahost(args, {}, dir, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        compareWithExpected(name, r.out, expectedPath);
    }
    // Compares every field of the return that the last run saved with the
    // expected field list, or rewrites the list.
    void checkSavedFields(const std::string& name) {
        const std::string saved = readText(fs::path(dir) / "out" / (name + ".xml"));
        ASSERT_FALSE(saved.empty()) << "gahost run saved no return out/" << name << ".xml";
        compareWithExpected(name, fieldLines(saved), kExamples / (name + ".fields.expected"));
    }
    // Runs the example as being e-filed, on a machine of a fixed device
    // identifier (the time stamps come from the file's clock), and compares
    // the e-file written, without its line ends, with the expected file.
    void checkEFile(const std::string& name, const fs::path& expectedPath) {
        const auto r = testsupport::runGahost({"run", (kExamples / (name + ".xml")).string(), "--out", "efile-out",
                                               "--efile", "--device-id", kGoldenDeviceId},
                                              {}, dir, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        std::string text = readText(fs::path(dir) / "efile-out" / "GA-efile.txt");
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        compareWithExpected(name, text, expectedPath);
    }
};

TEST_P(ExampleResults, PrintoutMatchesTheExpectedFile) {
    const std::string name = GetParam();
    checkPrintout(name, {}, kExamples / (name + ".expected"));
    checkSavedFields(name);
    // An example with an e-file expected file is also run as being e-filed.
    const fs::path eFileExpected = kExamples / (name + ".efile.expected");
    if (fs::exists(eFileExpected)) {
        checkPrintout(name, {"--efile"}, eFileExpected);
    }
    // An example with a golden e-file is compared with the e-file it gives.
    const fs::path goldenEFile = kExamples / (name + ".GA-efile.expected");
    if (fs::exists(goldenEFile)) {
        checkEFile(name, goldenEFile);
    }
}

// ------------------------------------------------------------ one amount owed, one refund

// "  Taxable income        $44,700" -> {"Taxable income", "44,700"}.
std::map<std::string, std::string> printedAmounts(const std::string& printout) {
    std::map<std::string, std::string> out;
    for (const std::string& line : linesOf(printout)) {
        const std::size_t dollar = line.find('$');
        if (line.rfind("  ", 0) != 0 || dollar == std::string::npos) continue;
        std::string label = line.substr(2, line.find("  ", 2) - 2);
        // Form 70's own result on an amended return, by its plain label.
        if (label == "Form 500's own refund (form 70)") label = "Refund";
        if (label == "Form 500's own amount you owe (form 70)") label = "Amount you owe";
        std::string value = line.substr(dollar + 1);
        if (dollar > 0 && line[dollar - 1] == '-') value = "-" + value;
        out.emplace(label, value);
    }
    return out;
}

// A whole-dollar amount as an output shows it ("1,975", "71.00", "-$12");
// an empty text is 0.
long long dollars(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ',' || c == '$'; }), text.end());
    return text.empty() ? 0 : std::llround(std::stod(text));
}

// The value of a field of copy 1 of a form of a saved return's Georgia part.
std::string savedValue(const std::string& savedReturn, const std::string& devName, int field) {
    const XmlDom::XmlDocument doc = XmlDom::parseDocument(savedReturn, "saved return");
    if (doc.getDocumentElement().isNull()) return "the saved return is not well-formed XML";
    for (const auto& taxReturn : childElements(doc.getDocumentElement(), "RETURN")) {
        for (const auto& form : childElements(taxReturn, "FORM")) {
            if (attributeOf(form, "DEVNAME") != devName || attributeOf(form, "COPY") != "1") continue;
            for (const auto& f : childElements(form, "FIELD")) {
                if (childText(f, "ID") == std::to_string(field)) return childText(f, "VALUE");
            }
        }
    }
    return {};
}

// The printed text of a field in the print file (the field's line is
// "  <symbolic name><TAB><label><TAB><text>"); empty when it does not print.
std::string printedValue(const std::string& printFile, const DataMgmt::TaxFormDesc& form, int field) {
    const std::string name =
        "  " + form.getFieldDesc(Primitives::QVImmutableIdentifier(field))->getSymbolicName() + "\t";
    for (const std::string& line : linesOf(printFile)) {
        if (line.rfind(name, 0) == 0) return line.substr(line.rfind('\t') + 1);
    }
    return {};
}

// The value of a field in its form's first record of the e-file, found by the
// key of the form's e-file list.
std::string eFiledValue(const std::string& eFile, const DataMgmt::TaxReturnDesc& georgia,
                        const DataMgmt::TaxFormDesc& form, int field) {
    // A key is written "00070.000.001" or "00070.000 001".
    const auto dotted = [](std::string key) {
        std::replace(key.begin(), key.end(), ' ', '.');
        return key;
    };
    std::string key;
    const DataMgmt::TifFieldDescriptorListPtr list = georgia.getTifFieldDescriptors(form.getTypeID());
    for (const DataMgmt::TifFieldDescriptor& d : *list) {
        if (d.field.getNumber() == field) key = dotted(d.key);
    }
    bool inRecord = false;
    for (std::string line : linesOf(eFile)) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (line.rfind("D ", 0) == 0) {
            if (inRecord) break;
            inRecord = line.rfind("D " + form.getDevName() + " ", 0) == 0;
        } else if (inRecord && !key.empty() && dotted(line).rfind(key + ".", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

// What the run printed beside a label of its result or of its summary
// report ("  Amount You Owe <TAB>71").
std::string reported(const std::string& printout, const std::string& label) {
    for (const std::string& line : linesOf(printout)) {
        if (line.rfind("  " + label + "\t", 0) == 0) return line.substr(label.size() + 3);
    }
    const auto printed = printedAmounts(printout);
    const auto it = printed.find(label);
    return it == printed.end() ? std::string() : it->second;
}

TEST_P(ExampleResults, EveryOutputShowsTheSameAmountOwedAndRefund) {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_FORMS_BUILD_DIR);
    const DataMgmt::TaxFormDesc& ga69 = *lib.georgia->findByDevName("GA69");
    const DataMgmt::TaxFormDesc& ga70 = *lib.georgia->findByDevName("GA70");
    constexpr int kOwed = 106;           // form 70: amount you owe
    constexpr int kRefund = 107;         // form 70: refund
    constexpr int kWithdrawal = 187989;  // form 69: the amount owed to withdraw
    const std::string name = GetParam();
    const auto r =
        testsupport::runGahost({"run", (kExamples / (name + ".xml")).string(), "--out", "agree"}, {}, dir, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path out = fs::path(dir) / "agree";
    const std::string saved = readText(out / (name + ".xml"));
    const std::string print = readText(out / (name + ".print.txt"));
    const std::string eFile = readText(out / "GA-efile.txt");

    const long long owed = dollars(reported(r.out, "Amount you owe"));
    const long long refund = dollars(reported(r.out, "Refund"));
    EXPECT_EQ(dollars(reported(r.out, "Amount You Owe ")), owed) << "summary report";
    EXPECT_EQ(dollars(reported(r.out, "Georgia Refund")), refund) << "summary report";
    for (const auto& [what, field, amount] : {std::tuple{"amount owed", kOwed, owed}, {"refund", kRefund, refund}}) {
        EXPECT_EQ(dollars(savedValue(saved, "GA70", field)), amount) << "saved " << what;
        EXPECT_EQ(dollars(printedValue(print, ga70, field)), amount) << "printed " << what;
        EXPECT_EQ(dollars(eFiledValue(eFile, *lib.georgia, ga70, field)), amount) << "e-filed " << what;
    }
    EXPECT_EQ(dollars(savedValue(saved, "GA69", kWithdrawal)), owed) << "saved withdrawal amount";
    EXPECT_EQ(dollars(printedValue(print, ga69, kWithdrawal)), owed) << "printed withdrawal amount";
    EXPECT_EQ(dollars(eFiledValue(eFile, *lib.georgia, ga69, kWithdrawal)), owed) << "e-filed withdrawal amount";
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleResults, ::testing::ValuesIn(testsupport::exampleNames()),
                         testsupport::exampleCaseName);

// ------------------------------------------------- the tables of docs/examples.md

std::vector<std::string> cellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::istringstream in(row.substr(1));
    for (std::string cell; std::getline(in, cell, '|');) {
        const auto b = cell.find_first_not_of(' ');
        const auto e = cell.find_last_not_of(' ');
        cells.push_back(b == std::string::npos ? "" : cell.substr(b, e - b + 1));
    }
    return cells;
}

TEST(ReadmeResults, EveryFigureOfTheTableIsTheExpectedPrintouts) {
    // Column of the tables of docs/examples.md -> line of the printout.
    const std::map<std::string, std::vector<std::string>> printedLine = {
        {"federal AGI", {"Federal adjusted gross income"}},
        {"additions", {"Additions to income"}},
        {"subtractions", {"Subtractions from income"}},
        {"deductions", {"Total standard deduction", "Itemized deductions"}},
        {"exemptions", {"Total exemptions"}},
        {"taxable income", {"Taxable income"}},
        {"tax", {"Tax"}},
        {"low-income credit", {"Low-income credit"}},
        {"withheld", {"Georgia tax withheld"}},
    };
    std::vector<std::string> header;
    int rows = 0;
    for (const std::string& row : linesOf(readText(fs::path(GA_SOURCE_DIR) / "docs/examples.md"))) {
        if (row.rfind("| file |", 0) == 0) header = cellsOf(row);
        if (header.empty() || row.rfind("| `", 0) != 0) continue;
        const auto cells = cellsOf(row);
        ASSERT_EQ(cells.size(), header.size()) << row;
        const std::string name = cells[0].substr(1, cells[0].find(".xml") - 1);
        const std::string printout = readText(kExamples / (name + ".expected"));
        ASSERT_FALSE(printout.empty()) << name << ".expected is missing";
        const auto printed = printedAmounts(printout);
        ++rows;
        for (std::size_t c = 1; c < cells.size(); ++c) {
            std::string value;
            if (header[c] == "result") {
                if (printed.count("Amount you owe")) value = "owes " + printed.at("Amount you owe");
                if (printed.count("Refund")) value = "refund " + printed.at("Refund");
            } else if (auto it = printedLine.find(header[c]); it != printedLine.end()) {
                for (const std::string& label : it->second) {
                    if (value.empty() && printed.count(label)) value = printed.at(label);
                }
            } else {
                continue;  // words, not figures
            }
            EXPECT_EQ(cells[c], value) << "docs/examples.md, " << name << ", column \"" << header[c] << "\"";
        }
    }
    EXPECT_GT(rows, 0) << "the tables of results of docs/examples.md were not found";
}

}  // namespace
