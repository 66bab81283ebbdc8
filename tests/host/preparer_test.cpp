// What gahost tells a person preparing a return of their own: where gahost
// is, what the fields a preparer fills hold and in which unit, and the notes
// of gahost run where a return still needs an entry that the federal
// documents it holds do not give.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/WageLineRows.h"
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

// A 1099-R of 18,000, keyed 12, with a Georgia state line that withholds
// 1,200.
const std::string kRetirementStatement =
    "<FORM DEVNAME=\"F84\" COPY=\"1\"><FIELD><ID>4</ID><VALUE>18000.00</VALUE></FIELD>"
    "<FIELD><ID>425</ID><VALUE>12</VALUE></FIELD>"
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

TEST_F(PreparerTest, JobsBoundsTheJobsOfTheBuildScripts) {
    // What tools/jobs.sh makes of a JOBS in the environment (null: none), as
    // the scripts that source it see it: the number of jobs, or an error.
    const struct {
        const char* jobs;
        const char* expected;  // null: nproc's number; "": refused
    } rows[] = {
        {nullptr, nullptr}, {"", nullptr}, {"1", "1"}, {"12", "12"}, {"0", ""}, {"-2", ""}, {"4x", ""}, {" 4", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.jobs == nullptr ? "JOBS unset" : std::string("JOBS='") + row.jobs + "'");
        const std::string env = row.jobs == nullptr ? "env -u JOBS" : std::string("env JOBS='") + row.jobs + "'";
        const std::string command = "cd '" + kSource.string() + "' && " + env +
                                    " bash -c 'source tools/jobs.sh; echo \"$jobs $(nproc)\"' >'" + dir + "/out' 2>'" +
                                    dir + "/err'";
        const int status = std::system(command.c_str());
        const std::string out = readFile(dir + "/out");
        const std::string err = readFile(dir + "/err");
        if (row.expected != nullptr && *row.expected == '\0') {
            EXPECT_EQ(WEXITSTATUS(status), 2) << out;
            EXPECT_TRUE(out.empty()) << out;
            EXPECT_NE(err.find("JOBS must be a whole number of 1 or more"), std::string::npos) << err;
            continue;
        }
        ASSERT_EQ(WEXITSTATUS(status), 0) << err;
        std::istringstream words(out);
        std::string jobs, processors;
        words >> jobs >> processors;
        EXPECT_EQ(jobs, row.expected == nullptr ? processors : row.expected) << out;
    }
}

TEST_F(PreparerTest, EveryBuildScriptTakesItsNumberOfJobsFromJobs) {
    // A -j or -P of a script in tools/ runs "$jobs", which tools/jobs.sh sets.
    const std::regex option(R"re(\s-[jP]\s*("[^"]*"|\S+))re");
    int options = 0;
    for (const auto& entry : fs::directory_iterator(kSource / "tools")) {
        if (entry.path().extension() != ".sh" || entry.path().filename() == "jobs.sh") continue;
        const std::string script = readFile(entry.path().string());
        for (auto it = std::sregex_iterator(script.begin(), script.end(), option); it != std::sregex_iterator(); ++it) {
            ++options;
            EXPECT_EQ((*it)[1].str(), "\"$jobs\"") << entry.path().filename() << ": " << it->str();
            EXPECT_NE(script.find("\nsource tools/jobs.sh\n"), std::string::npos) << entry.path().filename();
        }
    }
    EXPECT_GE(options, 5);
}

// The rows of the table of the preparer's guide whose header row begins with
// `header`, each as its cells' leading numbers (0 where a cell has none) and
// its last cell's text.
struct GuideRow {
    std::vector<int> numbers;
    std::string last;
};
std::vector<GuideRow> guideTable(const std::string& guide, const std::string& header) {
    std::vector<GuideRow> rows;
    bool inTable = false;
    for (const std::string& line : linesOf(guide)) {
        if (line.rfind(header, 0) == 0) {
            inTable = true;
        } else if (inTable && line.rfind("| ", 0) == 0) {
            GuideRow row;
            std::istringstream cells(line.substr(2));
            for (std::string cell; std::getline(cells, cell, '|');) {
                const std::size_t begin = cell.find_first_not_of(' ');
                row.last = begin == std::string::npos ? "" : cell.substr(begin, cell.find_last_not_of(' ') + 1 - begin);
                row.numbers.push_back(std::isdigit(static_cast<unsigned char>(row.last[0])) ? std::stoi(row.last) : 0);
            }
            rows.push_back(row);
        } else if (inTable && line.rfind("|---", 0) != 0) {
            inTable = false;
        }
    }
    return rows;
}

TEST_F(PreparerTest, TheGuidesWorksheetLinesAreTheCalculations) {
    // Each income line of the state wages worksheet: its federal form 1
    // field, its part-year and nonresident Georgia columns and its cap.
    const std::vector<GuideRow> rows =
        guideTable(readFile((kSource / "docs/preparing-returns.md").string()), "| worksheet line |");
    const auto& lines = kStateForm4Lines.incomeLines;
    ASSERT_EQ(rows.size(), lines.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::vector<int>& n = rows[k].numbers;
        ASSERT_EQ(n.size(), 5u) << k;
        EXPECT_EQ(n[0], lines[k].federal.getNumber());
        EXPECT_EQ(n[2], lines[k].resident.getNumber());
        EXPECT_EQ(n[3], lines[k].nonresident.getNumber());
        const auto row = std::find_if(kWageLineRows.begin(), kWageLineRows.end(),
                                      [&](const WageLineRowLines& r) { return r.federal == lines[k].federal; });
        ASSERT_NE(row, kWageLineRows.end()) << n[0];
        EXPECT_EQ(n[1], row->form1.getNumber()) << n[0];
        EXPECT_EQ(rows[k].last, row->capped ? "yes" : "no") << n[0];
    }
}

TEST_F(PreparerTest, TheGuidesW2StateLinesAreTheCalculations) {
    const std::vector<GuideRow> rows =
        guideTable(readFile((kSource / "docs/preparing-returns.md").string()), "| state line |");
    ASSERT_EQ(rows.size(), kForm52StateRows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const SourceStateRow& line = kForm52StateRows[k];
        const std::vector<int> fields = {0, line.state.getNumber(), line.stateId.getNumber(), line.amount.getNumber(),
                                         line.withheld.getNumber()};
        EXPECT_EQ(rows[k].numbers, fields) << "state line " << k + 1;
    }
}

TEST_F(PreparerTest, AmountsOfTheFederalDocumentsAreLabelledInDollars) {
    // A return file gives every amount in dollars, also where the store keeps
    // hundredths: no label may ask for cents, and a labelled field kept in
    // hundredths says its unit.
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    int inHundredths = 0;
    for (const char* form : {"F52", "F54", "F84", "F110", "F135", "F164", "F165", "F166", "F186662"}) {
        const DataMgmt::TaxFormDescPtr desc = library.federal->findByDevName(form);
        ASSERT_FALSE(desc.isNull()) << form;
        for (const auto& [field, label] : labels(form)) {
            EXPECT_EQ(label.find("cents"), std::string::npos) << form << " " << field << ": " << label;
            EXPECT_EQ(label.find("hundredths"), std::string::npos) << form << " " << field << ": " << label;
            const auto edit =
                desc->getFieldDesc(Primitives::QVImmutableIdentifier(field))->getValidator()->getEditCode();
            if (label == std::to_string(field) || edit != 'H') continue;
            ++inHundredths;
            EXPECT_TRUE(label.find("dollars") != std::string::npos || label.find("percent") != std::string::npos)
                << form << " " << field << ": " << label;
        }
    }
    EXPECT_GT(inHundredths, 0);
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
          "state is GA), which counts in the payments, a lump-sum distribution (field 8)",
          "but no taxable pension or IRA distribution",
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

TEST_F(PreparerTest, TheKeyedDistributionThatTheNoteNamesIsShownAndNotTakenOffIncome) {
    // A 1099-R's gross distribution reaches its line of form 189215 under
    // the key that the note names, and under no other; the taxable income
    // stays as it is.
    const DataMgmt::TaxFormDescPtr schedule =
        FormDefinitions::compiledLibrary().georgia->getTaxFormDescriptor(kGAForm189215ID);
    const Form189215Lines& l = kForm189215Lines;
    const std::string shownLine = "  " + schedule->getFieldDesc(l.distributionsAndPayments)->getSymbolicName() + "\t";
    const std::string keyText = std::to_string(kForm189215StatementKey);
    const std::string example =
        replaced(readFile((kSource / "examples/single-retiree.xml").string()),
                 "<PULLCOMMON FORM=\"F1\" ITEM=\"ira-distributions-taxpayer\">18000</PULLCOMMON>", "");
    std::vector<std::string> taxableIncome;
    for (const auto& [key, shown] : {std::pair<std::string, std::string>{keyText, "18000"}, {"11", ""}}) {
        SCOPED_TRACE("key " + key);
        const std::string statement =
            replaced(kRetirementStatement, "<VALUE>" + keyText + "</VALUE>", "<VALUE>" + key + "</VALUE>");
        const std::string input = writeFile("keyed.xml", withFederalForm(example, statement));
        const testsupport::GahostResult r = run({"run", input, "--out", dir + "/out"});
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string& piece :
             {"field " + std::to_string(kForm84Lines.grossDistribution.getNumber()),
              "field " + std::to_string(kForm84Lines.distributionKey.getNumber()) + " is " + keyText,
              "form " + std::to_string(kGAForm189215ID.getNumber()) + " shows on line " +
                  std::to_string(l.distributionsAndPayments.getNumber())}) {
            EXPECT_NE(r.err.find(piece), std::string::npos) << r.err;
        }
        std::string printed;
        for (const std::string& line : linesOf(readFile(dir + "/out/keyed.print.txt"))) {
            if (line.rfind(shownLine, 0) == 0) printed = line.substr(line.rfind('\t') + 1);
        }
        EXPECT_EQ(printed, shown);
        for (const std::string& line : linesOf(r.out)) {
            if (line.rfind("  Taxable income ", 0) == 0) taxableIncome.push_back(line);
        }
    }
    ASSERT_EQ(taxableIncome.size(), 2u);
    EXPECT_EQ(taxableIncome[0], taxableIncome[1]);
}

}  // namespace
