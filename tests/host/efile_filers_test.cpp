// The entries naming the filers that gahost requires of a return it e-files:
// which of them a return file leaves missing, as check reads the file; the
// same lines from check and from run --efile, which blocks the e-file; and
// the golden e-files, whose header names the taxpayer exactly where nothing
// is missing.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/EFileFilers.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

namespace {

// Entries of form F92 copy 1 by field number.
using Entries = std::map<int, std::string>;
const Entries kTaxpayer = {{1, "Dana"},      {3, "Brooks"}, {7, "400005001"}, {20, "45 Magnolia St"},
                           {22, "Savannah"}, {23, "GA"},    {24, "31401"}};
const Entries kBoth = {{1, "Dana"},      {3, "Brooks"},          {7, "400005001"}, {2, "Sam"}, {4, "Brooks"},
                       {8, "400005002"}, {20, "45 Magnolia St"}, {22, "Savannah"}, {23, "GA"}, {24, "31401"}};

Entries edited(Entries entries, int field, const char* value = nullptr) {
    entries.erase(field);
    if (value != nullptr) entries[field] = value;
    return entries;
}

// A return file of that filing status, stated by the federal return or
// (seeded) by the Georgia return's common item.
std::string returnFile(const Entries& f92, int status, bool seeded = false) {
    std::ostringstream xml;
    xml << "<RETURNFILE TAXYEAR=\"2018\"><RETURN TYPE=\"federal\">";
    if (!seeded) xml << "<HOST><FILINGSTATUS>" << status << "</FILINGSTATUS></HOST>";
    xml << "<FORM DEVNAME=\"F92\" COPY=\"1\">";
    for (const auto& [field, value] : f92)
        xml << "<FIELD><ID>" << field << "</ID><VALUE>" << value << "</VALUE></FIELD>";
    const auto item = [](const char* name, int value) {
        return "<PULLCOMMON FORM=\"F1\" ITEM=\"" + std::string(name) + "\">" + std::to_string(value) + "</PULLCOMMON>";
    };
    xml << "</FORM></RETURN><RETURN TYPE=\"GA\"><HOST>" << (seeded ? item("federal-filing-status", status) : "")
        << item("federal-agi", 100) << "</HOST></RETURN></RETURNFILE>";
    return xml.str();
}

class EFileFilersTest : public testsupport::ScratchDirTest {
protected:
    // The field numbers missing from the file, loaded as check loads it.
    std::vector<int> missingFields(const std::string& file) {
        GAHost::HostSession session(GA_FORMS_BUILD_DIR);
        session.openReturns(nullptr);
        session.load(file);
        std::vector<int> fields;
        for (const auto& m : GAHost::missingFilerEntries(session)) fields.push_back(m.field.getNumber());
        return fields;
    }
};

TEST_F(EFileFilersTest, EachEntryTheHeaderNeedsIsMissingInTurn) {
    struct Case {
        std::string file;
        std::vector<int> missing;
    };
    std::vector<Case> cases = {
        {returnFile(kTaxpayer, 1), {}},  // single and separate: the spouse is not needed
        {returnFile(kTaxpayer, 3), {}},
        {returnFile(kBoth, 2), {}},
        {returnFile({}, 1), {1, 3, 7, 20, 22, 23, 24}},
        {returnFile(edited(kBoth, 8), 2, /*seeded=*/true), {8}},
        {returnFile(edited(edited(edited(kTaxpayer, 23), 24), 545, "X"), 1), {}},  // abroad
        {returnFile(edited(edited(kTaxpayer, 22), 545, "X"), 1), {22}},
        {returnFile(edited(kTaxpayer, 1, "   "), 1), {1}},
    };
    for (const auto& [field, value] : kTaxpayer) cases.push_back({returnFile(edited(kTaxpayer, field), 1), {field}});
    for (const auto& [field, value] : kBoth) cases.push_back({returnFile(edited(kBoth, field), 2), {field}});
    for (const Case& c : cases) EXPECT_EQ(missingFields(writeFile("r.xml", c.file)), c.missing) << c.file;
}

std::vector<std::string> missingLines(const std::string& printout) {
    std::vector<std::string> lines;
    std::istringstream in(printout);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  missing for the e-file: ", 0) == 0) lines.push_back(line);
    }
    return lines;
}

TEST_F(EFileFilersTest, CheckAndRunWithEfileListTheSameMissingEntries) {
    // The joint example, whose e-file check passes, without the spouse's number.
    std::string text = readFile(testsupport::kExamples / "joint-refund-direct-deposit.xml");
    const std::string number = "<FIELD><ID>8</ID><VALUE>400005002</VALUE></FIELD>";
    ASSERT_NE(text.find(number), std::string::npos);
    const std::string input = writeFile("joint.xml", text.erase(text.find(number), number.size()));

    const auto check = testsupport::runGahost({"check", input}, {}, dir);
    const auto run = testsupport::runGahost({"run", input, "--out", path("out"), "--efile"}, {}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(missingLines(check.out).size(), 1u) << check.out;
    EXPECT_NE(missingLines(check.out)[0].find("field 8: "), std::string::npos);
    EXPECT_EQ(missingLines(run.out), missingLines(check.out));
    EXPECT_NE(run.out.find("(e-file check): 0 findings\nGeorgia e-file: blocked\n"), std::string::npos) << run.out;
}

// An example e-filed whole stays unblocked; one with a blank header is not.
TEST_F(EFileFilersTest, TheGoldenEFilesNameTheTaxpayerWhereNothingIsMissing) {
    for (const std::string& name : testsupport::exampleNames()) {
        const std::string eFile = readFile(testsupport::kExamples / (name + ".GA-efile.expected"));
        const std::size_t t = eFile.find("\nT ");
        if (t == std::string::npos) continue;
        const bool named = eFile.find_first_not_of(" \r", t + 3) != eFile.find('\n', t + 1);
        EXPECT_EQ(named, missingFields(testsupport::kExamples / (name + ".xml")).empty()) << name;
    }
}

}  // namespace
