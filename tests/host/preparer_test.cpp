// What gahost tells a person preparing a return of their own: where gahost
// is, what the fields a preparer fills hold and in which unit, and the notes
// of gahost run where a return still needs an entry that the federal
// documents it holds do not give.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/WageLineRows.h"
#include "module/frame/FormIdentifiers.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/definitions/FormDefinitions.h"
#include "tests/host/gahost_process.h"
#include "tests/host/preparer_edits.h"
#include "tests/support/ScratchDir.h"

namespace {

using namespace preparer;
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

TEST_F(PreparerTest, JobsBoundsTheJobsOfTheBuildScripts) {
    // What a script that sources tools/jobs.sh makes of JOBS: the number of
    // jobs it runs, nproc's without one, or an error that names the value,
    // before any work.
    const struct {
        const char* jobs;      // null: unset
        const char* expected;  // null: nproc's number; "": refused
    } rows[] = {
        {nullptr, nullptr}, {"", nullptr}, {"1", "1"}, {"12", "12"}, {"0", ""}, {"-2", ""}, {"4x", ""}, {" 4", ""},
    };
    for (const auto& row : rows) {
        const std::string jobs = row.jobs == nullptr ? "" : std::string("JOBS='") + row.jobs + "' ";
        SCOPED_TRACE(jobs);
        const std::string command = "cd '" + kSource.string() + "' && env -u JOBS " + jobs +
                                    "bash -c 'source tools/jobs.sh; echo \"$jobs $(nproc)\"' >'" + dir + "/out' 2>'" +
                                    dir + "/err'";
        const int status = std::system(command.c_str());
        std::istringstream out(readFile(dir + "/out"));
        std::string number, processors;
        out >> number >> processors;
        const bool refused = row.expected != nullptr && *row.expected == '\0';
        EXPECT_EQ(WEXITSTATUS(status), refused ? 2 : 0);
        EXPECT_EQ(number, row.expected == nullptr ? processors : row.expected);
        if (refused) {
            EXPECT_NE(readFile(dir + "/err").find(std::string("'") + row.jobs + "'"), std::string::npos);
        }
    }
}

TEST_F(PreparerTest, EveryBuildCommandGivesItsNumberOfJobs) {
    // Under make a -j without a number starts as many jobs as it can: the
    // documents give nproc's number, the scripts in tools/ the one that
    // tools/jobs.sh sets from JOBS.
    const std::regex option(R"re(\s-[jP]\s*("[^"]*"|\S*))re");
    const std::regex documented(R"re([0-9]+|"\$\(nproc\)")re");
    std::map<std::string, int> options;  // by the files' extension
    for (const fs::path& folder : {kSource, kSource / "docs", kSource / "tools"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string kind = entry.path().extension().string();
            if ((kind != ".md" && kind != ".sh") || entry.path().filename() == "jobs.sh") continue;
            const std::string text = readFile(entry.path().string());
            for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
                ++options[kind];
                SCOPED_TRACE(entry.path().filename().string() + ": " + it->str());
                if (kind == ".md") {
                    EXPECT_TRUE(std::regex_match((*it)[1].str(), documented));
                } else {
                    EXPECT_EQ((*it)[1].str(), "\"$jobs\"");
                    EXPECT_NE(text.find("\nsource tools/jobs.sh\n"), std::string::npos);
                }
            }
        }
    }
    EXPECT_GE(options[".md"], 4);
    EXPECT_GE(options[".sh"], 5);
}

// The rows of the guide's table whose header row begins with `header`, each
// as the first word of its cells.
std::vector<std::vector<std::string>> guideTable(const std::string& guide, const std::string& header) {
    std::vector<std::vector<std::string>> rows;
    const std::regex cell(R"(\|\s*([^|\s]+))");
    const std::vector<std::string> lines = linesOf(guide.substr(std::min(guide.find(header), guide.size())));
    for (std::size_t k = 2; k < lines.size() && lines[k].rfind("| ", 0) == 0; ++k) {
        rows.emplace_back();
        for (auto it = std::sregex_iterator(lines[k].begin(), lines[k].end(), cell); it != std::sregex_iterator();
             ++it) {
            rows.back().push_back((*it)[1]);
        }
    }
    return rows;
}

// The start of the note of a birth date left out.
const std::string kMissingDependentNumber = "missing for form 70 and the e-file: form F113 copy";
const std::string kCountsNowhere = "which counts nowhere on this return: calculated again without it";
const std::string kBirthDateNote = "the retirement exclusion (form 189215) takes a filer's age from the filer's birth";

// The notes among the lines of standard error.
std::vector<std::string> notesOf(const std::string& err) {
    std::vector<std::string> notes;
    for (const std::string& line : linesOf(err)) {
        if (line.rfind("gahost: note: ", 0) == 0) notes.push_back(line);
    }
    return notes;
}

// What follows the last separator of the first line of the text that
// begins with `start`; empty when no line does.
std::string lastWord(const std::string& text, const std::string& start, char separator) {
    for (const std::string& line : linesOf(text)) {
        if (line.rfind(start, 0) == 0) return line.substr(line.rfind(separator) + 1);
    }
    return {};
}

TEST_F(PreparerTest, TheGuidesTablesOfLinesAreTheCalculations) {
    const std::string guide = readFile((kSource / "docs/preparing-returns.md").string());
    // Each income line of the state wages worksheet: its federal form 1
    // field, its part-year and nonresident Georgia columns and its cap. The
    // form 1 field's label names the line and its federal line, which the
    // guide's row of the line names too.
    const std::map<int, std::string> form1 = labels("F1");
    const std::regex federalLine(R"((Schedule 1|form 1040) line [0-9]+b?)");
    std::vector<std::vector<std::string>> worksheet;
    for (const StateForm4Lines::Row& line : kStateForm4Lines.incomeLines) {
        const auto row = std::find_if(kWageLineRows.begin(), kWageLineRows.end(),
                                      [&](const WageLineRowLines& r) { return r.federal == line.federal; });
        ASSERT_NE(row, kWageLineRows.end()) << line.federal.getNumber();
        worksheet.push_back({number(line.federal), number(row->form1), number(line.resident), number(line.nonresident),
                             row->capped ? "yes" : "no"});
        const std::string& label = form1.at(row->form1.getNumber());
        SCOPED_TRACE(label);
        EXPECT_NE(label.find("income line " + number(line.federal) + " of the state wage worksheet"),
                  std::string::npos);
        std::smatch federal;
        ASSERT_TRUE(std::regex_search(label, federal, federalLine));
        const std::size_t at = guide.find("\n| " + number(line.federal) + " (");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(guide.substr(at, guide.find('\n', at + 1) - at).find(federal.str()), std::string::npos);
    }
    EXPECT_EQ(guideTable(guide, "| worksheet line |"), worksheet);
    // Each adjustment line that federal form 1 fills: its form 1 field,
    // whose label names the line and its Schedule 1 line.
    const StateForm4Lines& s4 = kStateForm4Lines;
    std::map<int, Primitives::QVImmutableIdentifier> form1Of = {
        {s4.taxpayerAdjustment.federal.getNumber(), kForm1Lines.taxpayerAdjustment},
        {s4.spouseAdjustment.federal.getNumber(), kForm1Lines.spouseAdjustment}};
    for (const WageLineRowLines& row : kWageLineRows) form1Of.emplace(row.federal.getNumber(), row.form1);
    std::vector<std::vector<std::string>> adjustments;
    for (const StateForm4Lines::Row& line : s4.adjustmentLines) {
        const auto field = form1Of.find(line.federal.getNumber());
        if (field == form1Of.end()) continue;  // a line of the common items
        std::smatch federal;
        const std::string& label = form1.at(field->second.getNumber());
        ASSERT_TRUE(std::regex_search(label, federal,
                                      std::regex("Schedule 1 line ([0-9]+a?)\\b.*; .*adjustment line " +
                                                 number(line.federal) + " of the state wage worksheet")))
            << label;
        adjustments.push_back({number(line.federal), number(field->second), federal[1]});
    }
    EXPECT_EQ(guideTable(guide, "| adjustment line |"), adjustments);
    // Each state line of the W-2: its state, employer's ID, wages and tax
    // withheld.
    std::vector<std::vector<std::string>> w2;
    const char* const ordinals[] = {"first", "second", "third", "fourth"};
    ASSERT_EQ(kForm52StateRows.size(), std::size(ordinals));
    for (std::size_t k = 0; k < kForm52StateRows.size(); ++k) {
        const SourceStateRow& line = kForm52StateRows[k];
        w2.push_back(
            {ordinals[k], number(line.state), number(line.stateId), number(line.amount), number(line.withheld)});
    }
    EXPECT_EQ(guideTable(guide, "| state line |"), w2);
}

TEST_F(PreparerTest, TheGuidesRateScheduleAndCreditBandsAreTheYearsAmounts) {
    // The guide's rate schedule (each band's rate, then each column's edge
    // and tax at the edge) and the low-income credit's bands (from, up to,
    // a person), its thousands commas left out.
    namespace year = GACalculationMgmt::TaxYear;
    const std::string guide = readFile((kSource / "docs/preparing-returns.md").string());
    const auto plain = [&](const std::string& header) {
        auto rows = guideTable(guide, header);
        for (auto& row : rows) {
            for (std::string& cell : row) cell.erase(std::remove(cell.begin(), cell.end(), ','), cell.end());
        }
        return rows;
    };
    const auto whole = [](double amount) { return std::to_string(static_cast<long long>(amount)); };
    std::vector<std::vector<std::string>> schedule;
    for (std::size_t k = 0; k < year::kSingleRates.size(); ++k) {
        schedule.push_back({whole(year::kSingleRates[k].rate / year::kRateUnitsPerPercent)});
        for (const year::RateColumn* column : {&year::kSingleRates, &year::kSeparateRates, &year::kJointRates}) {
            schedule.back().push_back(whole((*column)[k].over));
            schedule.back().push_back(whole((*column)[k].base));
        }
    }
    EXPECT_EQ(plain("| rate | single: over |"), schedule);
    std::vector<std::vector<std::string>> bands;
    double from = 0;
    for (const year::LowIncomeBand& band : year::kLowIncomeCreditBands) {
        bands.push_back({whole(from), whole(band.upTo), whole(band.perPerson)});
        from = band.upTo + 1;
    }
    EXPECT_EQ(plain("| federal adjusted gross income from |"), bands);
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

TEST_F(PreparerTest, TheGuidesItemizedExampleIsWhatItsRunPrints) {
    // The guide's table of the worked example: form 70 line, words, amount
    // as the print file gives it.
    const std::string guide = readFile((kSource / "docs/preparing-returns.md").string());
    const auto rows = guideTable(guide, "| form 70 line |");
    ASSERT_GE(rows.size(), 4u);
    const testsupport::GahostResult r =
        run({"run", (kSource / "examples/itemized-deductions.xml").string(), "--out", dir + "/out"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string printFile = readFile(dir + "/out/itemized-deductions.print.txt");
    const auto main = FormDefinitions::compiledLibrary().georgia->getTaxFormDescriptor(kGAForm70ID);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        std::string amount = row[2];
        amount.erase(std::remove(amount.begin(), amount.end(), ','), amount.end());
        const auto field = main->getFieldDesc(Primitives::QVImmutableIdentifier(std::stoi(row[0])));
        EXPECT_EQ(lastWord(printFile, "  " + field->getSymbolicName() + "\t", '\t'), amount) << "line " << row[0];
    }
}

// The examples whose names follow `label` in the text, up to the first
// word that is not an example's (`name.xml`).
std::vector<std::string> examplesAfter(const std::string& text, const std::string& label) {
    std::vector<std::string> names;
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return names;
    const std::regex name(R"(^[,\s]*`([a-z0-9-]+)\.xml`)");
    std::smatch m;
    for (std::string rest = text.substr(at + label.size()); std::regex_search(rest, m, name); rest = m.suffix()) {
        names.push_back(m[1]);
    }
    return names;
}

TEST_F(PreparerTest, TheExamplesNamedForTheEFileAreWhatRunEFileSays) {
    // The example that the README tells a preparer to copy, and those the
    // guide's row of the e-file names, run as e-files as they stand.
    const std::string readme = readFile((kSource / "README.md").string());
    const std::string guide = readFile((kSource / "docs/preparing-returns.md").string());
    const std::string row = guide.substr(guide.find("\n| e-file |"));
    const std::string efiled = "Georgia e-file: not blocked\n";
    const std::string blocked = "Georgia e-file: blocked\n";
    std::vector<std::pair<std::string, std::string>> examples;  // name, verdict
    std::smatch copied;
    ASSERT_TRUE(std::regex_search(readme, copied, std::regex(R"(cp examples/([a-z0-9-]+)\.xml )")));
    examples.emplace_back(copied[1], efiled);
    for (const std::string& name : examplesAfter(row, "can be e-filed:")) examples.emplace_back(name, efiled);
    for (const std::string& name : examplesAfter(row, "blocked:")) examples.emplace_back(name, blocked);
    ASSERT_GE(examples.size(), 7u);
    for (const auto& [name, verdict] : examples) {
        const testsupport::GahostResult r =
            run({"run", (kSource / "examples" / (name + ".xml")).string(), "--out", dir + "/" + name, "--efile"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("\n" + verdict), std::string::npos) << name << ": " << r.out;
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

std::vector<NoteCase> noteCases() {
    std::vector<NoteCase> rows;
    for (std::vector<NoteCase> (*more)() : {worksheetNoteCases, splitItemNoteCases, uncountedEntryNoteCases,
                                            retirementInputNoteCases, repeatedEntryNoteCases}) {
        const std::vector<NoteCase> added = more();
        rows.insert(rows.end(), added.begin(), added.end());
    }
    return rows;
}

// What a note of a keyed 1099-R says and what the run gives: the note names
// what the calculation reads (the Georgia tax withheld of the state lines,
// the lump sum, not of a spouse's copy on a return that is not joint, and
// the gross distribution under the key, which form 189215 shows on its
// line); the W-2's 600 and the 1099-R's 1,200 are withheld; the
// distribution under the key is shown, under another not.
void expectKeyedDistribution(const NoteCase& row, const std::string& note, const std::string& out,
                             const std::string& printFile) {
    std::vector<std::int64_t> read1099R = {12, kGAForm189215ID.getNumber()};
    for (const auto& field :
         {kForm84StateRows[0].withheld, kForm84StateRows[1].withheld, kForm84Lines.lumpSum, kForm84Lines.spouse,
          kForm84Lines.grossDistribution, kForm84Lines.distributionKey, kForm189215Lines.distributionsAndPayments}) {
        read1099R.push_back(field.getNumber());
    }
    for (const std::int64_t n : read1099R) {
        EXPECT_TRUE(std::regex_search(note, std::regex("\\b" + std::to_string(n) + "\\b"))) << n;
    }
    EXPECT_EQ(lastWord(out, "  Georgia tax withheld ", ' '), "$1,800");
    const auto schedule = FormDefinitions::compiledLibrary().georgia->getTaxFormDescriptor(kGAForm189215ID);
    const std::string shownLine =
        "  " + schedule->getFieldDesc(kForm189215Lines.distributionsAndPayments)->getSymbolicName() + "\t";
    EXPECT_EQ(lastWord(printFile, shownLine, '\t'), row.shown);
}

TEST_F(PreparerTest, RunNotesWhatAReturnStillNeeds) {
    std::set<std::string> taxableIncome;  // of the returns whose 1099-R is keyed: the keying takes nothing off
    for (const NoteCase& row : noteCases()) {
        SCOPED_TRACE(row.what);
        const std::string text = readFile((kSource / "examples" / row.example).string() + ".xml");
        const std::string input = writeFile(std::string(row.example) + ".xml", row.edit ? row.edit(text) : text);
        std::vector<std::string> arguments = {"run", input, "--out", dir + "/out"};
        if (row.eFiled) arguments.push_back("--efile");
        const testsupport::GahostResult r = run(arguments);
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<std::string> notes = notesOf(r.err);
        if (std::string(row.what).find("birth date") == std::string::npos) {
            std::erase_if(notes, [](const std::string& n) { return n.find(kBirthDateNote) != std::string::npos; });
        }
        // A dependent without a number is also missing for the e-file, which its own test covers.
        std::erase_if(notes, [](const std::string& n) { return n.find(kMissingDependentNumber) != std::string::npos; });
        // An entry that counts nowhere is told too, where the row asks for it.
        std::erase_if(notes, [&](const std::string& n) {
            return !row.countsNowhereLines && n.find(kCountsNowhere) != std::string::npos &&
                   (row.noted.empty() || n.find(row.noted[0]) == std::string::npos);
        });
        ASSERT_EQ(notes.size(), row.noted.empty() ? 0u : 1u) << r.err;
        for (const std::string& piece : row.noted) {  // a piece from the note's start on is the whole note
            EXPECT_TRUE(piece.rfind("gahost: ", 0) == 0 ? notes[0] == piece : notes[0].find(piece) != std::string::npos)
                << notes[0];
        }
        // check, which calculates in memory, gives the same notes.
        const testsupport::GahostResult checked = run({"check", input});
        ASSERT_EQ(checked.status, 0) << checked.err;
        EXPECT_EQ(notesOf(checked.err), notesOf(r.err));
        if (row.shown == nullptr) continue;
        expectKeyedDistribution(row, notes[0], r.out, readFile(dir + "/out/" + row.example + ".print.txt"));
        taxableIncome.insert(lastWord(r.out, "  Taxable income ", ' '));
    }
    ASSERT_EQ(taxableIncome.size(), 1u);
    EXPECT_NE(*taxableIncome.begin(), "");
}

// On a part-year return form 189217's federal column takes the main form's
// fields: an item seeded while the main form filed leaves its field empty,
// or has no such line, is refused by run and check alike, and run writes
// nothing, not even its output folder; a seed naming form 1040 answers for form 1040A filed.
TEST_F(PreparerTest, APartYearReturnRefusesAnItemItsMainFormLeavesOut) {
    const std::string pension = "<FIELD><ID>89</ID><VALUE>30000</VALUE></FIELD>";
    const std::string f55Pension = "<FIELD><ID>127</ID><VALUE>30000</VALUE></FIELD>";
    const auto on1040A = [](const std::string& fields) {
        return [fields](std::string t) {
            return withFederalForm(t,
                                   "<FORM DEVNAME=\"F104\" COPY=\"1\"><FIELD><ID>181</ID><VALUE>X</VALUE>"
                                   "</FIELD></FORM><FORM DEVNAME=\"F55\" COPY=\"1\"><FIELD><ID>82</ID><VALUE>X"
                                   "</VALUE></FIELD>" +
                                       fields + "</FORM>");
        };
    };
    const auto then = [](Edit first, Edit second) { return [=](std::string t) { return second(first(t)); }; };
    const struct {
        const char* what;
        Edit edit;
        const char* refused;  // null: run takes the return
        const char* example = "part-year-retiree";
    } rows[] = {
        {"the pension seeded only", replacing({{pension, ""}}),
         "part-year-retiree.xml:99: form F1: common item 40 (pensions-taxpayer) is 30000, but on this part-year "
         "return the federal column of form GA189217 takes the federal income from the fields of the main form filed "
         "(through the state wage worksheet, ST4), not from the items, and field 89 of form F1 (line 55 of the "
         "worksheet) is "
         "empty: enter in field 89 of <FORM DEVNAME=\"F1\" COPY=\"1\"> the amount of form 1040, the couple's (which "
         "the two filers' items split)"},
        {"filed on form 1040A, the pension on its line", then(replacing({{pension, ""}}), on1040A(f55Pension)),
         nullptr},
        {"filed on form 1040A, the pension on form 1040 only", on1040A(""), "and field 127 of form F55 (line 55"},
        {"filed on form 1040A, other income",
         then(replacing({{"<PULLCOMMON", "<PULLCOMMON FORM=\"F1\" ITEM=\"other-income\">500</PULLCOMMON><PULLCOMMON"}}),
              on1040A(f55Pension)),
         "item 31 (other-income) is 500, but on this part-year return the federal column of form GA189217 takes the "
         "federal income from the fields of the main form filed (through the state wage worksheet, ST4), not from "
         "the items, and the return is filed on form F55, which has no such line"},
        {"filed on form 1040A, the pension on form 1040 without the item",
         then(replacing({{"<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-taxpayer\">30000</PULLCOMMON>", ""}}), on1040A("")),
         "part-year-retiree.xml: form F1 field 89 holds 30000, but on this part-year return"},
        {"a nonresident's pension seeded only",
         replacing({{"<PULLCOMMON", "<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-taxpayer\">500</PULLCOMMON><PULLCOMMON"}}),
         "item 40 (pensions-taxpayer) is 500, but on this nonresident return the federal column", "nonresident-wages"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string name = std::string(row.example) + ".xml";
        const std::string text = readFile((kSource / "examples" / name).string());
        const std::string input = writeFile(name, row.edit(text));
        const std::string out = dir + "/" + row.what;
        const testsupport::GahostResult r = run({"run", input, "--out", out});
        const testsupport::GahostResult checked = run({"check", input});
        if (row.refused == nullptr) {  // the federal AGI seeded for form 1040, the pension in the federal column
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(lastWord(r.out, "  Federal adjusted gross income ", ' '), "$110,000");
            EXPECT_EQ(lastWord(r.out, "  Georgia income after adjustments ", ' '), "$41,455");
            continue;
        }
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(row.refused), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));  // not even the folder
        EXPECT_EQ(checked.status, 1);
        EXPECT_EQ(checked.out, "");  // not first called valid
        EXPECT_NE(checked.err.find(row.refused), std::string::npos) << checked.err;
    }
}

// The couple's taxable social security on form 1040 alone is subtracted
// whole, 25,000 beside the exclusions' 79,000, and gahost items says where
// the item comes from.
TEST_F(PreparerTest, AnAmountThatForm1040HoldsCountsAsItsItem) {
    const Edit edit = withForm1040Field("94", "25000", "taxable-social-security\">17000");
    const std::string input = writeFile("c.xml", edit(readFile((kSource / "examples/retired-couple.xml").string())));
    EXPECT_EQ(lastWord(run({"run", input, "--out", dir + "/out"}).out, "  Subtractions from income ", ' '), "$104,000");
    // Each item that form 1040 answers names the field and the federal line
    // of the field's label; one that it does not (a spouse's split item) is
    // a seed, once.
    const std::map<int, std::string> form1 = labels("F1");
    const std::string items = run({"items"}).out;
    const std::regex from(R"(\tfrom field (\d+) of federal form 1 \(federal ([^)]*)\))");
    int answered = 0;
    for (std::sregex_iterator m(items.begin(), items.end(), from), end; m != end; ++m, ++answered) {
        EXPECT_NE(form1.at(std::stoi((*m)[1])).find("federal " + (*m)[2].str() + ";"), std::string::npos) << m->str();
    }
    EXPECT_EQ(answered, 9);
    EXPECT_FALSE(std::regex_search(items, std::regex("\tseed[^\t\n]*else seed"))) << items;
}

}  // namespace
