// What gahost tells a person preparing a return of their own: where gahost
// is, what the fields a preparer fills hold and in which unit, and the notes
// of gahost run where a return still needs an entry that the federal
// documents it holds do not give.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "module/frame/FormIdentifiers.h"
#include "platform/definitions/FormDefinitions.h"
#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = GA_SOURCE_DIR;
const std::string kBuildForms = GA_FORMS_BUILD_DIR;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');) out.push_back(cell);
    return out;
}

// The text with its first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "the example lacks " << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The text without the element that begins with `start` (up to its </FORM>).
std::string withoutForm(std::string text, const std::string& start) {
    const std::size_t at = text.find(start);
    EXPECT_NE(at, std::string::npos) << "the example lacks " << start;
    if (at != std::string::npos) text.erase(at, text.find("</FORM>", at) + 7 - at);
    return text;
}

// The text with a form added at the end of its federal return (the first).
std::string withFederalForm(std::string text, const std::string& form) {
    return text.insert(text.find("</RETURN>"), form);
}

// A 1099-R of 18,000 with a Georgia state line that withholds 1,200.
const std::string kRetirementStatement =
    "<FORM DEVNAME=\"F84\" COPY=\"1\"><FIELD><ID>4</ID><VALUE>18000.00</VALUE></FIELD>"
    "<FIELD><ID>33</ID><VALUE>GA</VALUE></FIELD><FIELD><ID>134</ID><VALUE>18000.00</VALUE></FIELD>"
    "<FIELD><ID>30</ID><VALUE>1200.00</VALUE></FIELD></FORM>\n";

class PreparerTest : public testsupport::ScratchDirTest {
protected:
    testsupport::GahostResult run(const std::vector<std::string>& args) {
        return testsupport::runGahost(args, {}, dir);
    }

    // Field number -> line label of a form, as gahost fields lists them.
    std::map<int, std::string> labels(const std::string& form) {
        const testsupport::GahostResult r = run({"fields", form, "--forms", kBuildForms});
        EXPECT_EQ(r.status, 0) << r.err;
        std::map<int, std::string> out;
        for (const std::string& line : linesOf(r.out)) {
            const auto cells = cellsOf(line);
            if (cells.size() >= 4) out[std::stoi(cells[0])] = cells[3];
        }
        return out;
    }
};

TEST_F(PreparerTest, TheReadmeShowsGahostWhereTheBuildLeavesIt) {
    // tools/run.sh runs the built gahost; the README names the same path.
    std::smatch path;
    const std::string runScript = readFile((kSource / "tools/run.sh").string());
    ASSERT_TRUE(std::regex_search(runScript, path, std::regex(R"(\./build/\S+/gahost)"))) << runScript;
    const std::string readme = readFile((kSource / "README.md").string());
    EXPECT_NE(readme.find(path.str() + " run "), std::string::npos) << path.str();
    EXPECT_NE(readme.find(path.str() + " check "), std::string::npos) << path.str();
}

TEST_F(PreparerTest, TheDocumentsBuildCommandsGiveANumberOfJobs) {
    // Under make a -j without a number starts as many jobs as it can.
    std::string text = readFile((kSource / "README.md").string());
    for (const auto& entry : fs::directory_iterator(kSource / "docs")) {
        if (entry.path().extension() == ".md") text += readFile(entry.path().string());
    }
    const auto count = [&](const std::regex& pattern) {
        return std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator());
    };
    const auto options = count(std::regex(R"(\s-j\b)"));
    EXPECT_GE(options, 4);
    EXPECT_EQ(count(std::regex(R"re(\s-j\s*([0-9]+|"\$\(nproc\)")( |\n))re")), options);
}

TEST_F(PreparerTest, AmountsOfTheFederalDocumentsAreLabelledInDollars) {
    // A return file gives every amount in dollars, also where the store keeps
    // hundredths: no label may ask for cents.
    for (const char* form : {"F52", "F54", "F84", "F110", "F135", "F164", "F165", "F166", "F186662"}) {
        for (const auto& [field, label] : labels(form)) {
            EXPECT_EQ(label.find("cents"), std::string::npos) << form << " " << field << ": " << label;
            EXPECT_EQ(label.find("hundredths"), std::string::npos) << form << " " << field << ": " << label;
        }
    }
    EXPECT_NE(labels("F166")[12].find("(in dollars)"), std::string::npos);  // box 3, U.S. obligations
}

TEST_F(PreparerTest, FieldsAPreparerFillsSayWhatTheyHold) {
    const struct {
        const char* form;
        int field;
        const char* says;
    } rows[] = {
        {"GA69", 75, "Estimated tax paid to Georgia: total"},
        {"GA69", 76, "Further estimated tax paid"},
        {"GA69", 77, "Refund by direct deposit"},
        {"GA69", 78, "federal return"},
        {"GA69", 79, "routing number"},
        {"GA69", 80, "account number"},
        {"GA69", 81, "checking account"},
        {"GA69", 82, "savings account"},
        {"ST2", 152, "Georgia share of a part-year return"},
        {"ST4", 27, "Georgia column of a part-year resident"},
        {"ST4", 28, "Georgia column of a nonresident"},
        {"F52", 33, "ST4 field 27"},
        {"GA189215", 189315, "pensions-taxpayer"},
        {"GA77", 148019, "the amended return's amount owed (form 189219 field 189654)"},
        {"GA71", 55, "Last year's tax"},
        {"GA71", 90, "Keep the form"},
        {"GA189219", 189645, "Refunds already received"},
        {"GA189219", 189565, "Taxpayer's first name (from form 70 field 24)"},
        {"GA189219", 190076, "Withholding entry 1: G2-LP row box"},
    };
    for (const auto& row : rows) {
        const std::string label = labels(row.form)[row.field];
        EXPECT_NE(label.find(row.says), std::string::npos) << row.form << " " << row.field << ": " << label;
    }
}

TEST_F(PreparerTest, EveryFieldOfTheVoucherPenaltyAndAmendedFormsThatIsNotCalculatedIsLabelled) {
    // gahost fields shows a field without a label by its number alone.
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    for (const auto& id : {kGAForm77ID, kGAForm71ID, kGAForm189219ID}) {
        const DataMgmt::TaxFormDescPtr form = library.georgia->getTaxFormDescriptor(id);
        ASSERT_FALSE(form.isNull()) << id.getNumber();
        std::map<int, std::string> listed = labels(form->getDevName());
        int entries = 0;
        for (DataMgmt::QVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
            if (form->getFieldDesc(it.getFieldID())->isCalculated()) continue;
            ++entries;
            const int field = it.getFieldID().getNumber();
            EXPECT_NE(listed[field], std::to_string(field)) << form->getDevName() << " " << field;
        }
        EXPECT_GT(entries, 0) << form->getDevName();
    }
}

TEST_F(PreparerTest, TheRetirementColumnsArePrintedAsTheCalculationFillsThem) {
    // The couple's interest of 3,000 (no dividends), of which 1,000 is the
    // spouse's: the lines labelled interest carry it, those labelled
    // dividends nothing.
    const testsupport::GahostResult r =
        run({"run", (kSource / "examples/retired-couple.xml").string(), "--out", dir + "/out"});
    ASSERT_EQ(r.status, 0) << r.err;
    int interestLines = 0;
    int dividendLines = 0;
    for (const std::string& line : linesOf(readFile(dir + "/out/retired-couple.print.txt"))) {
        const auto cells = cellsOf(line);
        if (cells.size() != 3 || cells[1].rfind("Retirement exclusion", 0) != 0) continue;
        const bool spouse = cells[1].rfind("Retirement exclusion, spouse", 0) == 0;
        if (cells[1].find("interest") != std::string::npos) {
            ++interestLines;
            EXPECT_EQ(cells[2], spouse ? "1000" : "2000") << line;
        } else if (cells[1].find("dividends") != std::string::npos) {
            ++dividendLines;
            EXPECT_TRUE(cells[2].empty() || cells[2] == "0") << line;
        }
    }
    EXPECT_EQ(interestLines, 2);
    EXPECT_GE(dividendLines, 1);  // a line without a value does not print
}

TEST_F(PreparerTest, RunNotesWhatAReturnStillNeeds) {
    const struct {
        const char* what;
        const char* example;
        std::function<std::string(std::string)> edit;
        std::vector<std::string> noted;  // pieces of the one note; none: no note
        const char* withheld = nullptr;  // the Georgia tax withheld printed, when checked
    } rows[] = {
        {"1099-R copies without the items",
         "single-retiree",
         [](std::string t) {
             return withFederalForm(
                 replaced(t, "<PULLCOMMON FORM=\"F1\" ITEM=\"ira-distributions-taxpayer\">18000</PULLCOMMON>", ""),
                 kRetirementStatement);
         },
         {"1099-R copies (form F84)",
          "reads their Georgia tax withheld (field 30 on the first state line, 168 on the second, where the line's "
          "state is GA), which counts in the payments, and a lump-sum distribution (field 8), but no taxable pension "
          "or IRA distribution",
          "pensions-taxpayer, ira-distributions-taxpayer, pensions-spouse and "
          "ira-distributions-spouse"},
         "$1,800"},  // the W-2's 600 and the 1099-R's 1,200
        {"1099-R copies beside an item",
         "single-retiree",
         [](std::string t) { return withFederalForm(t, kRetirementStatement); },
         {},
         "$1,800"},
        {"part-year, Georgia wages not entered",
         "part-year-resident",
         [](std::string t) { return withoutForm(t, "<FORM DEVNAME=\"ST4\""); },
         {"W-2 copy 2 (form F52) has a Georgia state line", "part-year return are 0",
          "field 27 of <FORM DEVNAME=\"ST4\" COPY=\"1\">"}},
        {"part-year, Georgia wages entered", "part-year-resident", [](std::string t) { return t; }, {}},
        {"part-year, no Georgia line",
         "part-year-resident",
         [](std::string t) {
             return replaced(withoutForm(t, "<FORM DEVNAME=\"ST4\""), "<ID>34</ID><VALUE>GA</VALUE>",
                             "<ID>34</ID><VALUE>SC</VALUE>");
         },
         {}},
        {"nonresident, no state wages on the Georgia line",
         "nonresident-wages",
         [](std::string t) { return replaced(t, "<FIELD><ID>33</ID><VALUE>52000.00</VALUE></FIELD>", ""); },
         {"nonresident return are 0 (field 28", "field 33 of W-2 copy 1"}},
        {"nonresident with state wages", "nonresident-wages", [](std::string t) { return t; }, {}},
        {"full-year resident", "single-wages", [](std::string t) { return t; }, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string input = writeFile(std::string(row.example) + ".xml",
                                            row.edit(readFile((kSource / "examples" / row.example).string() + ".xml")));
        const testsupport::GahostResult r = run({"run", input, "--out", dir + "/out"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<std::string> notes;
        for (const std::string& line : linesOf(r.err)) {
            if (line.rfind("gahost: note: ", 0) == 0) notes.push_back(line);
        }
        ASSERT_EQ(notes.size(), row.noted.empty() ? 0u : 1u) << r.err;
        for (const std::string& piece : row.noted) EXPECT_NE(notes[0].find(piece), std::string::npos) << notes[0];
        if (row.withheld == nullptr) continue;
        const std::vector<std::string> printed = linesOf(r.out);
        const auto line = std::find_if(printed.begin(), printed.end(),
                                       [](const std::string& l) { return l.rfind("  Georgia tax withheld ", 0) == 0; });
        ASSERT_NE(line, printed.end()) << r.out;
        EXPECT_EQ(line->substr(line->find_last_of(' ') + 1), row.withheld) << *line;
    }
}

}  // namespace
