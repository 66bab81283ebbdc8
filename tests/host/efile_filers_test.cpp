// The entries naming the filers that gahost requires of a return it e-files:
// which of them a return file leaves missing; check tells the verdict of
// run --efile and every reason it gives, for every example, writing
// nothing; and the golden e-files' header names the taxpayer exactly where
// nothing is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/EFileFilers.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/module_calculation.h"
#include "tests/support/ScratchDir.h"

namespace {

// Entries of form F92 copy 1 by field number: the taxpayer and the address,
// and with the spouse.
using Entries = std::map<int, std::string>;
const Entries kTaxpayer = {{1, "Dana"},      {3, "Brooks"}, {7, "400005001"}, {20, "45 Magnolia St"},
                           {22, "Savannah"}, {23, "GA"},    {24, "31401"}};
constexpr int kAbroad = 545;

// The entries without those of the fields, and with the changes.
Entries edited(Entries entries, std::vector<int> dropped, const Entries& changes = {}) {
    for (const int field : dropped) entries.erase(field);
    for (const auto& change : changes) entries[change.first] = change.second;
    return entries;
}

const Entries kBoth = edited(kTaxpayer, {}, {{2, "Sam"}, {4, "Brooks"}, {8, "400005002"}});

// Copy 1 (or another) of the form with those entries.
std::string form(const std::string& name, const Entries& entries, int copy = 1) {
    std::string xml = "<FORM DEVNAME=\"" + name + "\" COPY=\"" + std::to_string(copy) + "\">";
    for (const auto& [field, value] : entries)
        xml += "<FIELD><ID>" + std::to_string(field) + "</ID><VALUE>" + value + "</VALUE></FIELD>";
    return xml + "</FORM>";
}

// Form 1040 with the filers' numbers alone.
const std::string kNumbers = form("F1", {{11, "400-00-5001"}, {12, "400-00-5002"}});

// A return file of that filing status, stated by the federal return or
// (seeded) by the Georgia return's common item, with further forms of each
// return.
std::string returnFile(const Entries& f92, int status, bool seeded = false, const std::string& federalForms = kNumbers,
                       const std::string& georgiaForms = "") {
    const auto item = [](const char* name, int value) {
        return "<PULLCOMMON FORM=\"F1\" ITEM=\"" + std::string(name) + "\">" + std::to_string(value) + "</PULLCOMMON>";
    };
    std::ostringstream xml;
    xml << "<RETURNFILE TAXYEAR=\"2018\"><RETURN TYPE=\"federal\">";
    if (!seeded) xml << "<HOST><FILINGSTATUS>" << status << "</FILINGSTATUS></HOST>";
    xml << form("F92", f92) << federalForms << "</RETURN><RETURN TYPE=\"GA\"><HOST>"
        << (seeded ? item("federal-filing-status", status) : "") << item("federal-agi", 100) << "</HOST>"
        << georgiaForms << "</RETURN></RETURNFILE>";
    return xml.str();
}

class EFileFilersTest : public testsupport::ScratchDirTest {
protected:
    // The fields missing (the main form's first, then form F92's) and those of
    // form F92 that disagree with the main form, loaded as check loads it into
    // the module's Georgia return, which names the main form filed.
    // With `lines`, the findings' lines as run --efile prints them.
    static std::pair<std::vector<int>, std::vector<int>> fieldsOf(const std::string& file,
                                                                  std::string* lines = nullptr) {
        GAHost::HostSession session("");
        const GAHost::CurrentSession current(session);
        session.openReturns(&testsupport::buildModule());
        session.load(file);
        std::pair<std::vector<int>, std::vector<int>> fields;
        for (const auto& m : GAHost::missingFilerEntries(session)) fields.first.push_back(m.field.getNumber());
        for (const auto& d : GAHost::disagreeingFilerEntries(session))
            fields.second.push_back(d.eFile.field.getNumber());
        std::ostringstream out;
        GAHost::printFilerFindings(out, GAHost::filerFindings(session));
        if (lines) *lines = out.str();
        return fields;
    }
};

TEST_F(EFileFilersTest, EachEntryTheHeaderNeedsIsMissingInTurn) {
    std::vector<std::pair<std::string, std::vector<int>>> cases = {
        {returnFile(kTaxpayer, 1), {}},  // single: the spouse is not needed; separate: as on a joint return
        {returnFile(kTaxpayer, 3), {2, 4, 8}},
        {returnFile(kBoth, 3), {}},
        {returnFile(kBoth, 2), {}},
        {returnFile({}, 1, false, ""), {11, 1, 3, 7, 20, 22, 23, 24}},
        {returnFile(kBoth, 2, false, form("F1", {{11, "400-00-5001"}})), {12}},
        {returnFile(kTaxpayer, 3, false, form("F1", {{11, "400-00-5001"}})), {12, 2, 4, 8}},
        {returnFile(edited(kTaxpayer, {}, {{4, "Other"}}), 3, false, form("F1", {{11, "400-00-5001"}})), {12, 2, 8}},
        {returnFile(kTaxpayer, 1, false, kNumbers + form("F87", {}) + form("F113", {{1136, "X"}}),
                    form("GA69", {{48, "X"}})),
         {9}},
        // A dependent the return lists needs a number, and a first name
        // under which the e-file writes it; one not listed needs nothing.
        {returnFile(kTaxpayer, 1, false, kNumbers + form("F113", {{1103, "Maya"}, {1136, "X"}})), {1106}},
        {returnFile(kTaxpayer, 1, false, kNumbers + form("F113", {{1106, "400002003"}, {1136, "X"}})), {1103}},
        {returnFile(kTaxpayer, 1, false, kNumbers + form("F113", {{1103, "Maya"}})), {}},
        {returnFile(edited(kBoth, {8}), 2, /*seeded=*/true), {8}},
        {returnFile(edited(kTaxpayer, {23, 24}, {{kAbroad, "X"}}), 1), {}},
        {returnFile(edited(kTaxpayer, {22}, {{kAbroad, "X"}}), 1), {22}},
        {returnFile(edited(kTaxpayer, {}, {{1, "   "}}), 1), {1}},
        // A filer marked 65 or over needs the birth date; the spouse on a
        // joint return only (stated by the item too).
        {returnFile(kTaxpayer, 1, false, form("F1", {{11, "400-00-5001"}, {121, "X"}})), {9}},
        {returnFile(edited(kTaxpayer, {}, {{9, "01/01/1950"}}), 1, false, form("F1", {{11, "400000001"}, {121, "X"}})),
         {}},
        {returnFile(kBoth, 2, true, form("F1", {{11, "400000001"}, {12, "400000002"}, {121, "X"}, {123, "X"}})),
         {9, 10}},
        {returnFile(kBoth, 3, false, form("F1", {{11, "400000001"}, {12, "400000002"}, {123, "X"}})), {}},
    };
    for (const auto& [field, value] : kTaxpayer) cases.push_back({returnFile(edited(kTaxpayer, {field}), 1), {field}});
    for (const auto& [field, value] : kBoth) cases.push_back({returnFile(edited(kBoth, {field}), 2), {field}});
    for (const auto& [file, fields] : cases) EXPECT_EQ(fieldsOf(writeFile("r.xml", file)).first, fields) << file;
    std::string lines;
    fieldsOf(writeFile("r.xml", returnFile(kBoth, 3, false, form("F1", {{11, "400-00-5001"}}))), &lines);
    EXPECT_EQ(lines,
              "  missing for the e-file: form F1 copy 1, field 12: Spouse's social security number: the e-file of this "
              "married-separate return writes the spouse that form F92 names, \"Sam Brooks 400005002\", who must be "
              "the one form F1 names\n");
    fieldsOf(
        writeFile("r.xml", returnFile(edited(kTaxpayer, {}, {{2, "Kim"}}), 3, false,
                                      form("F1", {{11, "400005001"}, {4, "Kim"}, {5, "Moss"}, {12, "400000004"}}))),
        &lines);
    EXPECT_EQ(lines,
              "  missing for the e-file: form F92 copy 1, field 4: Spouse's last name (return header line 00530): the "
              "e-file of this married-separate return writes the spouse from form F92, who must be the one form F1 "
              "names, \"Kim Moss 400000004\"\n  missing for the e-file: form F92 copy 1, field 8: Spouse's identifying "
              "number (return header line 00540): the e-file of this married-separate return writes the spouse from "
              "form F92, who must be the one form F1 names, \"Kim Moss 400000004\"\n");
}

// Form F92's last names and numbers (kBoth) beside those of form 1040, or
// of form 1040A where form 69 marks it filed (box 47).
TEST_F(EFileFilersTest, EntriesThatDisagreeWithTheMainFormFiled) {
    const Entries f1 = {{2, "Brooks"}, {11, "400-00-5001"}, {5, "Brooks"}, {12, "400-00-5002"}};
    const Entries otherSpouse = edited(f1, {}, {{5, "Moss"}, {12, "400-00-5003"}});
    const std::string form55Filed = form("GA69", {{47, "X"}});
    const struct {
        Entries f1;
        int status;
        std::vector<int> fields;
        std::string federal = "", georgia = "";
        Entries f92 = kBoth;
    } rows[] = {
        {f1, 2, {}},  // the numbers agree by their digits
        {edited(f1, {}, {{11, "400 00 5001"}}), 1, {}},
        {edited(f1, {}, {{11, "400-00-5009"}}), 1, {7}},
        {edited(f1, {}, {{2, " bROOKS "}}), 1, {}},
        {f1, 1, {}, "", "", edited(kBoth, {}, {{3, " Brooks "}})},
        {edited(f1, {}, {{2, "Brook"}}), 1, {3}},
        {otherSpouse, 2, {4, 8}},
        {otherSpouse, 3, {4, 8}},  // the e-file of a separate return writes the spouse too
        {edited(f1, {}, {{4, " sAM "}}), 3, {}},
        {edited(f1, {}, {{4, "Kim"}}), 3, {2}},
        {edited(f1, {}, {{4, "Sam B"}}), 3, {}, "", "", edited(kBoth, {}, {{478, "b"}})},
        {edited(f1, {}, {{4, "Sam B."}}), 3, {}, "", "", edited(kBoth, {}, {{478, "b"}})},
        {edited(f1, {}, {{4, "Kim"}}), 2, {2}},
        {otherSpouse, 1, {}},
        {otherSpouse, 4, {}},
        {edited(f1, {2, 5}), 2, {}},  // form 1040's names empty: nothing to disagree with
        {edited(f1, {}, {{11, "400-00-5009"}}), 1, {3}, form("F55", {{2, "Brook"}, {11, "400005001"}}), form55Filed},
    };
    for (const auto& row : rows) {
        const std::string file = returnFile(row.f92, row.status, false, form("F1", row.f1) + row.federal, row.georgia);
        EXPECT_EQ(fieldsOf(writeFile("r.xml", file)), std::pair(std::vector<int>{}, row.fields)) << file;
    }
}

// The verdict ("blocked", "not blocked") and the lines of its reasons, as
// run --efile prints them: the e-file check's findings, "Georgia e-file:
// VERDICT", the missing entries.
std::string runVerdict(const std::string& out) {
    const std::size_t at = out.find("\nGeorgia review (e-file check): ");
    if (at == std::string::npos) return "none";
    std::istringstream in(out.substr(at + 1));
    std::string line;
    std::getline(in, line);
    std::string verdict = "none";
    std::string reasons;
    const std::string head = "Georgia e-file: ";
    while (std::getline(in, line) && (line.rfind("  ", 0) == 0 || line.rfind(head, 0) == 0)) {
        if (line[0] == ' ') {
            reasons += line + "\n";
        } else {
            verdict = line.substr(head.size());
        }
    }
    return verdict + "\n" + reasons;
}

// The same as check prints them: "if e-filed (run --efile): Georgia e-file
// VERDICT", after "; the e-file check finds:" the reasons, which end the
// printout.
std::string checkVerdict(const std::string& out) {
    const std::string head = "\nif e-filed (run --efile): Georgia e-file ";
    const std::size_t at = out.find(head);
    if (at == std::string::npos) return "none";
    const std::string told = out.substr(at + head.size());
    return told.substr(0, told.find_first_of(";\n")) + told.substr(std::min(told.find('\n'), told.size()));
}

// An entry changed in the joint example, the line that blocks its e-file,
// and the note of a paper run ("": none).
struct BlockedEFileCase {
    std::string from, to, line, note;
    bool calculationNote = false;  // the note begins so, on every run
};

// The filers' names, numbers and address.
std::vector<BlockedEFileCase> filerEntryCases() {
    const std::string taxpayerNumber =
        "form F92 copy 1, field 7 \"400005001\" but form F1 copy 1, field 11 \"400005009\": Taxpayer's identifying "
        "number (e-file header line T, return header line 00475)";
    const std::string noNumber = "form F1 copy 1, field 11: Taxpayer's social security number";
    const std::string kOneNumber = "the e-file writes one number for each filer, the federal return's";
    return {
        {"<FIELD><ID>8</ID><VALUE>400005002</VALUE></FIELD>", "",
         "missing for the e-file: form F92 copy 1, field 8: Spouse's identifying number (return header line 00540)",
         ""},
        {"<VALUE>400-00-5001</VALUE>", "<VALUE>400005009</VALUE>", "disagrees for the e-file: " + taxpayerNumber,
         "form F92, whose names and numbers the e-file carries, disagrees with form F1, whose names and numbers form "
         "70 "
         "carries (numbers compared by their digits, names without regard to case): " +
             taxpayerNumber + "; an e-file of this return (run --efile) is blocked until they agree"},
        // A filer's number on a Georgia form that is not the federal
        // return's: the e-file would carry two numbers for one filer.
        {"<FIELD><ID>36</ID>", "<FIELD OVERRIDDEN=\"1\"><ID>25</ID><VALUE>400005009</VALUE></FIELD><FIELD><ID>36</ID>",
         "wrong for the e-file: form GA69 copy 1, field 25 \"400005009\" (Taxpayer's social security number): is not "
         "the taxpayer's number that form F1 gives, field 11 \"400005001\": " +
             kOneNumber,
         ""},
        {"\t</RETURN>\n</RETURNFILE>",
         "<FORM DEVNAME=\"GA70\" COPY=\"1\"><FIELD OVERRIDDEN=\"1\"><ID>31</ID><VALUE>400005008</VALUE></FIELD>"
         "</FORM></RETURN></RETURNFILE>",
         "wrong for the e-file: form GA70 copy 1, field 31 \"400005008\" (Spouse's social security number): is not "
         "the spouse's number that form F1 gives, field 12 \"400005002\": " +
             kOneNumber,
         ""},
        // A street that the e-file cannot carry: its lines are not left out
        // unseen.
        {"<ID>20</ID><VALUE>45 Magnolia St<", "<ID>20</ID><VALUE>#<",
         "wrong for the e-file: form F92 copy 1, field 20 \"#\" (Street (return header, with the apartment "
         "appended)): holds none of the letters and digits that the e-file carries of an address",
         ""},
        {"<FIELD><ID>11</ID><VALUE>400-00-5001</VALUE></FIELD>", "", "missing for the e-file: " + noNumber,
         "missing for form 70 and the e-file: " + noNumber +
             "; form 70 takes the filers' numbers from form F1 only, and an e-file of this return (run --efile) is "
             "blocked until each is entered"},
    };
}

// The source documents' numbers, the dependents, and further copies of the
// forms taken from copy 1 alone.
std::vector<BlockedEFileCase> documentEntryCases() {
    const std::string noDependentNumber =
        "form F113 copy 1, field 1106: Dependent's social security number: of \"Maya\", a dependent the return lists "
        "(box 1136): the Georgia return (form 70 or the document list) and its e-file carry the number";
    const std::string kEnd = "\t</RETURN>\n</RETURNFILE>";
    return {
        {"<FORM DEVNAME=\"F92\"",
         "<FORM DEVNAME=\"F113\" COPY=\"1\"><FIELD><ID>1103</ID><VALUE>Maya</VALUE></FIELD><FIELD><ID>1136</ID>"
         "<VALUE>X</VALUE></FIELD></FORM><FORM DEVNAME=\"F92\"",
         "missing for the e-file: " + noDependentNumber,
         "missing for form 70 and the e-file: " + noDependentNumber +
             "; the Georgia return takes a dependent's name and number from its copy of form F113 only, and an e-file "
             "of this return (run --efile) is blocked until each is entered"},
        // A further copy of a form taken from copy 1 alone, holding entries:
        // named by its first; the preparer's note is the calculation's.
        {kEnd, form("GA70", {{243, "500"}, {244, "7"}}, 2) + kEnd,
         "wrong for the e-file: form GA70 copy 2, field 243 \"500\" (Withholding row 1: Georgia tax withheld): the "
         "e-file carries form GA70 from copy 1 alone, one for each return, and the calculation takes no figure from "
         "copy 2, so copy 2 with its other entry counts in nothing: enter on copy 1 what of it belongs to the return, "
         "and remove copy 2",
         "form GA70 copy 2 field 243 (\"Withholding row 1: Georgia tax withheld\") holds 500, which counts nowhere",
         true},
        {kEnd, form("GA189219", {{189645, "400"}}, 3) + kEnd,
         "wrong for the e-file: form GA189219 copy 3, field 189645 \"400\" (Refunds already received (taken off the "
         "payments)): the e-file carries form GA189219 from copy 1 alone, one for each return, and the calculation "
         "takes no figure from copy 3, so copy 3 counts in nothing: enter on copy 1 what of it belongs to the return, "
         "and remove copy 3; form GA189219 counts only with form 69 box 108 marked (the return amends one filed "
         "before), which it is not",
         "form GA189219 copy 3 field 189645 (\"Refunds already received (taken off the payments)\") holds 400", true},
    };
}

// The joint example, whose e-file check passes, with one entry changed: each
// change alone blocks the e-file, in one line that run --efile gives and
// check's verdict lists; a paper run and check note what form 70 carries
// otherwise or goes without, and nothing of form F92 alone.
TEST_F(EFileFilersTest, CheckAndRunTellTheBlockedEFileAndAPaperRunItsNote) {
    const std::string example = readFile(testsupport::kExamples / "joint-refund-direct-deposit.xml");
    std::vector<BlockedEFileCase> rows = filerEntryCases();
    for (BlockedEFileCase& row : documentEntryCases()) rows.push_back(std::move(row));
    for (const auto& row : rows) {
        std::string text = example;
        ASSERT_NE(text.find(row.from), std::string::npos);
        const std::string input = writeFile("joint.xml", text.replace(text.find(row.from), row.from.size(), row.to));
        const auto run = testsupport::runGahost({"run", input, "--out", path("out"), "--efile"}, {}, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(runVerdict(run.out), "blocked\n  " + row.line + "\n") << run.out;
        const std::string note = row.note.empty() ? "" : "gahost: note: " + row.note + "\n";
        const auto noted = [&](const std::string& err, bool eFiled) {  // else the e-file check tells it
            return row.calculationNote ? err.rfind("gahost: note: " + row.note, 0) == 0 : err == (eFiled ? "" : note);
        };
        EXPECT_TRUE(noted(run.err, true)) << run.err;
        const auto check = testsupport::runGahost({"check", input}, {}, dir);
        EXPECT_TRUE(check.out.ends_with(
            "\nif e-filed (run --efile): Georgia e-file blocked; the e-file check finds:\n  " + row.line + "\n"))
            << check.out;
        EXPECT_TRUE(noted(check.err, false)) << check.err;
        EXPECT_TRUE(noted(testsupport::runGahost({"run", input, "--out", path("paper")}, {}, dir).err, false));
    }
}

// What the e-file writes of numbers, names and streets entered otherwise
// than it takes them: not blocked, a number as its nine digits, a name
// without its outer blanks and with its letters plain, a name or a street
// without the signs the e-file does not take, in one spelling on every line.
TEST_F(EFileFilersTest, TheEFileWritesNumbersAsDigitsAndNamesPlainly) {
    std::string text = readFile(testsupport::kExamples / "joint-refund-direct-deposit.xml");
    // Further copies without an entry: left out, and blocking nothing.
    text.insert(text.rfind("\t</RETURN>"), form("GA70", {}, 2) + form("GA190054", {{190148, "NO"}}, 2));
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"<VALUE>400005001</VALUE>", "<VALUE>400 00 5001</VALUE>"},
             {"<VALUE>400-00-5001</VALUE>", "<VALUE>400 00 5001</VALUE>"},
             {"<ID>1</ID><VALUE>Dana", "<ID>1</ID><VALUE>Jos\u00e9"},
             {"<ID>4</ID><VALUE>Brooks", "<ID>4</ID><VALUE> bROOKS "},
             {"<VALUE>58-1000002<", "<VALUE>58 1000002<"},
             // a last name and a street, on forms 1040 and F92
             {"<ID>2</ID><VALUE>Brooks", "<ID>2</ID><VALUE>O'Brien"},
             {"<ID>3</ID><VALUE>Brooks", "<ID>3</ID><VALUE>O'Brien"},
             {"<ID>7</ID><VALUE>45 Magnolia St<", "<ID>7</ID><VALUE>45  Magnolia St. #4<"},
             {"<ID>20</ID><VALUE>45 Magnolia St<", "<ID>20</ID><VALUE>45  Magnolia St. #4<"}}) {
        ASSERT_NE(text.find(from), std::string::npos) << from;
        text.replace(text.rfind(from), from.size(), to);  // form F92's, after form 1040's
    }
    const std::string input = writeFile("joint.xml", text);
    const auto run = testsupport::runGahost({"run", input, "--out", path("out"), "--efile"}, {}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(runVerdict(run.out), "not blocked\n") << run.out;
    const std::string eFile = readFile(path("out") + "/GA-efile.txt");
    for (const std::string line :
         {"\nT 400005001\r", "\n00500.000.001 400005001\r", "\n00100.000 001 JOSE\r", "\n00455.000.001 Jose\r",
          "\n00530.000.001 bROOKS\r", "\n00130.000 001 BROOKS\r", "\n04505.000.002 581000002\r",
          // one spelling of each name and street on every line that carries it
          "\n00120.000 001 OBRIEN\r", "\n00110.000.001 DANA OBRIEN\r", "\n00465.000.001 OBrien\r",
          "\n00200.000 001 45 MAGNOLIA ST 4 UNIT 3\r", "\n00625.000.001 45 Magnolia St 4\r",
          "\n00585.000.001 45 MAGNOLIA ST 4\r"}) {
        EXPECT_NE(eFile.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(eFile.find("D GA70       002"), std::string::npos);
}

// An identifying number whose key follows its dash is kept as written:
// schedule 2's, through the credit summary (an employer's number under
// 00035, a social security number under 00037), and the payer's of a
// 1099-MISC on the withholding list (04505 and 04510). The e-file writes
// its digits either way.
TEST_F(EFileFilersTest, AKeyFollowsTheDashOfTheNumberAsWritten) {
    const auto withNumber = [](const std::string& example, const std::string& before, const std::string& field) {
        std::string text = readFile(testsupport::kExamples / example);
        EXPECT_NE(text.find(before), std::string::npos) << before;
        return text.insert(text.find(before), field);
    };
    const auto scheduleTwo = [&](const std::string& number) {
        return withNumber("part-year-retiree.xml", "<FIELD><ID>203939</ID>",
                          "<FIELD><ID>203933</ID><VALUE>" + number + "</VALUE></FIELD>");
    };
    const auto miscPayer = [&](const std::string& number) {
        return withNumber("single-wages.xml", "\t</RETURN>",
                          form("F110", {{20, number}, {46, "GA"}, {45, "100"}, {131, "2000"}}));
    };
    for (const auto& [text, line] :
         std::vector<std::pair<std::string, std::string>>{{scheduleTwo("58-1234567"), "\n00035.000.001 581234567\r"},
                                                          {scheduleTwo("400-00-1234"), "\n00037.000.001 400001234\r"},
                                                          {miscPayer("58-1234567"), "\n04505.000.002 581234567\r"},
                                                          {miscPayer("400-00-1234"), "\n04510.000.002 400001234\r"}}) {
        const auto run =
            testsupport::runGahost({"run", writeFile("numbered.xml", text), "--out", path("out")}, {}, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(readFile(path("out") + "/GA-efile.txt").find(line), std::string::npos) << line;
    }
}

// A refund that form F92 asks to be deposited, with no account given: run
// --efile blocks the e-file, and so does check, whose e-file check is a
// session of its own after its first calculation.
TEST_F(EFileFilersTest, CheckBlocksADepositWithoutAnAccountAsRunDoes) {
    std::string text = readFile(testsupport::kExamples / "single-wages.xml");
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"<VALUE>2450.00</VALUE>", "<VALUE>5000.00</VALUE>"},
             {"<ID>24</ID><VALUE>30303</VALUE></FIELD>",
              "<ID>24</ID><VALUE>30303</VALUE></FIELD><FIELD><ID>536</ID><VALUE>X</VALUE></FIELD>"}}) {
        ASSERT_NE(text.find(from), std::string::npos) << from;
        text.replace(text.rfind(from), from.size(), to);
    }
    const std::string input = writeFile("deposit.xml", text);
    const auto run = testsupport::runGahost({"run", input, "--out", path("out"), "--efile"}, {}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(runVerdict(run.out).rfind("blocked\n", 0), 0u) << run.out;
    EXPECT_EQ(checkVerdict(testsupport::runGahost({"check", input}, {}, dir).out), runVerdict(run.out));
}

class CheckTellsTheEFile : public testsupport::ScratchDirOn<::testing::TestWithParam<std::string>> {};

// check's verdict and reasons are run --efile's, and check, which prepares
// the e-file as run does, writes nothing where it runs.
TEST_P(CheckTellsTheEFile, AsRunWithEfileTellsIt) {
    const std::string input = (testsupport::kExamples / (GetParam() + ".xml")).string();
    std::filesystem::create_directories(path("work"));
    const auto check = testsupport::runGahost({"check", input}, {}, dir, path("work"));
    const auto run = testsupport::runGahost({"run", input, "--out", path("out"), "--efile"}, {}, dir);
    ASSERT_EQ(check.status, 0) << check.err;
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string told = runVerdict(run.out);
    ASSERT_NE(told.rfind("none", 0), 0u) << run.out;
    EXPECT_EQ(checkVerdict(check.out), told);
    EXPECT_TRUE(std::filesystem::is_empty(path("work")));
}

INSTANTIATE_TEST_SUITE_P(Examples, CheckTellsTheEFile, ::testing::ValuesIn(testsupport::exampleNames()),
                         testsupport::exampleCaseName);

TEST_F(EFileFilersTest, TheGoldenEFilesNameTheTaxpayerWhereNothingIsMissing) {
    for (const std::string& name : testsupport::exampleNames()) {
        const std::string eFile = readFile(testsupport::kExamples / (name + ".GA-efile.expected"));
        const std::size_t t = eFile.find("\nT ");
        if (t == std::string::npos) continue;
        const bool named = eFile.find_first_not_of(" \r", t + 3) != eFile.find('\n', t + 1);
        EXPECT_EQ(named, fieldsOf(testsupport::kExamples / (name + ".xml")).first.empty()) << name;
    }
}

}  // namespace
