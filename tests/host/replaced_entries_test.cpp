// gahost check and gahost run note each entry that the calculation changes:
// in a calculated field, unless the file marks it as overridden (the form,
// the copy, the field, the entry and the value used), or by a rule that
// empties, holds or replaces it (and the rule's words). The case that went
// unseen: a nonresident's Georgia rent entered in the part-year schedule's
// row 4, which the calculation fills from the state wages worksheet.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "host/EntryRules.h"
#include "host/ReplacedEntries.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/module_calculation.h"
#include "tests/host/reason_claims.h"
#include "tests/support/ScratchDir.h"

namespace {

using testsupport::Claim;
using testsupport::claimHolds;
using testsupport::claimsOf;

// The example of most rows, and others.
const std::string kExample = "nonresident-wages";
const std::string kJoint = "joint-refund-direct-deposit";

std::string examplePath(const std::string& example) { return (testsupport::kExamples / (example + ".xml")).string(); }

// Boxes marked beside an entry.
std::string marked(std::initializer_list<int> boxes) {
    std::string fields;
    for (const int box : boxes) fields += "<FIELD><ID>" + std::to_string(box) + "</ID><VALUE>X</VALUE></FIELD>";
    return fields;
}

// The start of the notes of fields of form 71.
const std::string kForm71Note = "gahost: note: form GA71 (Underpayment of estimated tax) copy 1, field ";

// The underpayment form kept, of two installments.
const std::string kKeptWithTwoInstallments = marked({90}) + "<FIELD><ID>16</ID><VALUE>2</VALUE></FIELD>";

// The note on an entry of 6,000 in a Georgia form's field that the
// calculation replaced with `used`, or whose copy it removed (none).
std::string noteOf(int form, std::uint16_t copy, int field, std::optional<double> used) {
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    const DataMgmt::TaxFormDescPtr desc =
        library.georgia->getTaxFormDescriptor(Primitives::QVImmutableFormIdentifier(form, true));
    const GAHost::ReplacedEntry replaced{
        .form = desc.get(),
        .copy = copy,
        .field = desc->getFieldDesc(Primitives::QVImmutableIdentifier(field)).get(),
        .entry = DataMgmt::FieldValue::number(6000),
        .used = used ? DataMgmt::FieldValue::number(*used) : DataMgmt::FieldValue(),
        .copyRemoved = !used,
    };
    return "gahost: note: " + GAHost::replacedEntryNote(replaced) + "\n";
}

class ReplacedEntries : public testsupport::ScratchDirTest {
protected:
    // The example with one more field in a copy of a Georgia form, and the
    // fields given `alongside` it.
    static std::string withField(const std::string& example, const std::string& form, int copy, int field,
                                 const std::string& value, bool overridden, const std::string& alongside) {
        return insertField(readFile(examplePath(example)), form, copy, field, value, overridden, alongside);
    }
    static std::string insertField(std::string text, const std::string& form, int copy, int field,
                                   const std::string& value, bool overridden, const std::string& alongside) {
        const std::string entry = std::string("<FIELD") + (overridden ? " OVERRIDDEN=\"1\"" : "") + "><ID>" +
                                  std::to_string(field) + "</ID><VALUE>" + value + "</VALUE></FIELD>" + alongside;
        const std::string start = "<FORM DEVNAME=\"" + form + "\" COPY=\"" + std::to_string(copy) + "\">";
        const std::size_t at = text.find(start);
        if (at != std::string::npos) return text.insert(at + start.size(), entry);
        return text.insert(text.rfind("</RETURN>"), start + entry + "</FORM>\n");
    }
};

// An entry of the example, the note that check and run give of it, and
// what else the copy holds.
const struct EntryRow {
    const char* form;
    int copy;
    int field;
    const char* value;
    bool overridden;
    std::string note;               // the note, or a part of it
    std::string alongside = "";     // more fields of the copy
    const char* notedBy = nullptr;  // the one command that notes it (null: each)
    std::string example = kExample;
} kEntryRows[] = {
    // Row 4's Georgia column of the part-year schedule: calculated.
    {"GA189217", 1, 189439, "6000", false, noteOf(189217, 1, 189439, 0)},
    {"GA189217", 1, 189439, "6000", true, ""},
    {"GA189217", 1, 189439, "0", false, ""},
    // An empty value is no entry: the calculation fills the field.
    {"GA189217", 1, 189439, "", false, ""},
    // Entries that a rule of the calculation holds to a limit, empties or
    // replaces: a nonresident's Georgia column of state form 4 at most
    // the line's federal amount of 0, a residency period on a return
    // that is not part-year, a withholding entry's payer number where
    // the W-2 gives one.
    {"ST4", 1, 39, "6000", false,
     "gahost: note: form ST4 (State wages worksheet) copy 1, field 39 \"Income line 37: Georgia column of a "
     "nonresident (entered, at most the federal amount)\", is an entry: the calculation held the entry 6000 to 0, "
     "the line's federal amount (field 37)\n"},
    // A box that only the e-file's preparation marks: check, run and
    // run --efile each calculate with it prepared.
    {"GA69", 1, 133617, "NO", false,
     "gahost: note: form GA69 (Georgia information) copy 1, field 133617 \"Marked when federal form 131 field "
     "72481 is mapped to Georgia\", is calculated: the calculation replaced the entry NO with X (an entry marked "
     "OVERRIDDEN=\"1\" is kept)\n"},
    {"GA69", 1, 113, "06/15/2018", false,
     "gahost: note: form GA69 (Georgia information) copy 1, field 113 \"Part-year residency from\", "
     "is an entry: the calculation emptied the entry \"06/15/2018\", which counts nowhere on this return: a "
     "residency period belongs to a part-year return only (form 69 box 111)\n"},
    {"GA70", 1, 189509, "58-0000000", false,  // read as its digits
     "gahost: note: form GA70 (Georgia individual income tax return) copy 1, field 189509 "
     "\"Withholding entry 1: payer's identification number (from the source document)\", is an entry: the "
     "calculation replaced the entry \"580000000\" with \"584100015\": a withholding entry shows the payer's "
     "number of the document it lists (a W-2, a 1099 or a withholding row of form 70); a payer's number is "
     "entered only where that document has none\n"},
    // A copy of the credit summary past the one that the calculation keeps.
    {"GA189216", 2, 189812, "6000", false, noteOf(189216, 2, 189812, std::nullopt)},
    // Past here, the note's reason: where a copy comes from, where an
    // entry counts, or with which box.
    {"GA69", 1, 22, "Q", false,
     "field 22 \"Taxpayer's middle name or initial\", is calculated from federal form 1 field 411 ("},
    {"ST2", 1, 152, "400", false,
     "is calculated: the calculation emptied the entry 400, which counts nowhere on this return: the Georgia share "
     "of a part-year return counts on a part-year return only: a nonresident return takes its Georgia share in "
     "field 153"},
    {"GA70", 1, 75, "6000", false, "takes its deductions on form 189217, where field 189456 takes the amount"},
    // Form 70's repeated spouse number, from the spouse's number of form 70.
    {"GA70", 1, 3, "400009999", false,
     "gahost: note: form GA70 (Georgia individual income tax return) copy 1, field 3 \"Spouse's social security "
     "number, repeated\", is calculated from field 31 of this form: the calculation replaced the entry \"400009999\" "
     "with \"400005002\" (an entry marked OVERRIDDEN=\"1\" is kept)\n",
     "", nullptr, kJoint},
    // A paper return's voucher box, entered and run as e-filed.
    {"GA77", 1, 24016, "X", false, "emptied the entry X, which counts nowhere on this return: the voucher marks", "",
     "run --efile"},
    // Boxes 22 and 7 of forms 71 and 75 are defaults; boxes marked
    // together. A reason names the box that holds on the return.
    {"GA71", 1, 26, "5000", false,
     kForm71Note +
         "26 \"Installment C: part of the withholding (an equal part with box 22, else as entered)\", is an entry: the "
         "calculation replaced the entry 5000 with 1300: the withholding (field 21) is spread over the installments in "
         "equal parts (box 22, marked by default unless box 23 is): mark box 23 instead for the entered parts to "
         "count\n",
     kKeptWithTwoInstallments},
    {"GA71", 1, 26, "5000", false, "held the entry 5000 to 2600, what the earlier installments leave",
     kKeptWithTwoInstallments + marked({23})},
    {"GA71", 1, 9, "X", false, "replaced the entry X with NO: box 8 (exempt farmer or fisherman) and box 9",
     marked({8, 90})},
    {"GA71", 1, 55, "300", false,
     kForm71Note +
         "55 \"Last year's tax: each installment requires at most its share of it\", is an entry: the calculation "
         "emptied the entry 300, which counts nowhere on this return: an exempt farmer or fisherman (box 8) owes no "
         "penalty, and the form computes none\n",
     marked({8, 90}), nullptr, kJoint},
    {"GA75", 1, 31, "X", false,
     "gahost: note: form GA75 (Estimated tax) copy 1, field 31 \"Standard deduction\", is an entry: the calculation "
     "emptied the entry X, which counts nowhere on this return: the worksheet is projected from this year's return "
     "(box 7, marked by default unless box 8 is) and takes the deduction entered in field 207533: mark box 8 instead "
     "for boxes 31 to 37 to count\n"},
    {"GA75", 1, 36, "X", false, "replaced the entry X with NO: of boxes 31 (standard deduction) and 36",
     marked({8, 31})},
    // The note of a share left on the statements names this return's
    // column and what the schedule holds of it; a full-year return, where
    // the schedule counts nowhere, gets none.
    {"ST2", 1, 152, "800", false,
     "gahost: note: the statements give a Georgia share of the interest and dividends (field 152, the column of a "
     "part-year return): the interest statement (form ST2) 800, but the part-year schedule (form GA189217) holds 500 "
     "in its Georgia interest and dividends (fields 189422 to 189425), so 300 counts nowhere: the schedule takes them "
     "from those fields, not from the statements. Enter the Georgia interest in field 189422 and the Georgia "
     "dividends in field 189423 of <FORM DEVNAME=\"GA189217\" COPY=\"1\">\n",
     "", nullptr, "part-year-moved-away"},
    {"GA189217", 1, 189422, "400", false,
     "gahost: note: the part-year schedule (form GA189217) holds 400 in field 189422 on this full-year return, "
     "where the schedule counts nowhere: it counts only on a part-year or nonresident return, and a full-year return "
     "takes its interest and dividends whole from the federal return\n"
     "gahost: note: form GA189217 (Georgia part-year and nonresident income) copy 1, field 189456 \"Taken off the "
     "itemized deductions\", is an entry: the calculation emptied the entry 400, which counts nowhere on this return: "
     "the part-year and nonresident schedule counts only on a return that is not full-year\n",
     "<FIELD><ID>189456</ID><VALUE>400</VALUE></FIELD>", nullptr, "single-wages"},
    {"GA189217", 1, 189430, "400", false,
     "gahost: note: the part-year schedule (form GA189217) holds 400 in field 189430 on this full-year return, "
     "where the schedule counts nowhere: it counts only on a part-year or nonresident return, and a full-year return "
     "takes its wages whole from the federal return\n",
     "", nullptr, "single-wages"},
};

TEST_F(ReplacedEntries, CheckAndRunNoteAnEntryTheCalculationReplaces) {
    std::map<std::string, std::string> exampleNotes;
    for (const EntryRow& row : kEntryRows) {
        const std::string file = writeFile(
            "in.xml", withField(row.example, row.form, row.copy, row.field, row.value, row.overridden, row.alongside));
        // A paper return run as e-filed: an entry that the calculation on
        // paper replaces too is no earlier calculation's value.
        for (const std::string command : {"check", "run", "run --efile"}) {
            SCOPED_TRACE(command + " " + row.form + " field " + std::to_string(row.field) + " = " + row.value);
            const auto gahost = [&](const std::string& input) {
                std::vector<std::string> args = {command.substr(0, command.find(' ')), input};
                if (command != "check") args.insert(args.end(), {"--out", path("out")});
                if (command == "run --efile") args.push_back("--efile");
                const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir);
                EXPECT_EQ(r.status, 0) << r.err;
                return r;
            };
            const std::string key = command + " " + row.example;
            if (!exampleNotes.count(key)) exampleNotes[key] = gahost(examplePath(row.example)).err;
            const testsupport::GahostResult r = gahost(file);
            const std::string note = row.notedBy == nullptr || command == row.notedBy ? row.note : "";
            ASSERT_EQ(r.err.rfind(exampleNotes[key], 0), 0u) << r.err;
            const std::string told = r.err.substr(exampleNotes[key].size());
            const bool whole = note.empty() || note.rfind("gahost: note: ", 0) == 0;
            EXPECT_TRUE(whole ? told == note
                              : told.find(note) != std::string::npos && told.rfind('\n') == told.find('\n'))
                << told;
            // check counts the entry noted changed, emptied or held as well
            // (a note of the return, not of a form's field, notes none).
            const bool changed = !whole || note.find("gahost: note: form ") != std::string::npos;
            const std::string count = changed ? "1 entry is" : "no entry is";
            if (command == "check") {
                EXPECT_NE(r.out.find(count + " changed by the calculation"), std::string::npos) << r.out;
            }
        }
    }
}

// The calculation keeps some amounts unrounded; a note shows them to the cent.
TEST(ReplacedEntryNote, ShowsAnAmountToTheCent) {
    for (const auto& [used, shown] : {std::pair{40.9959, " with 41 ("},
                                      {1000.404, " with 1000.40 ("},
                                      {-0.125, " with -0.13 ("},
                                      {7.0, " with 7 ("}}) {
        EXPECT_NE(noteOf(189217, 1, 189439, used).find(shown), std::string::npos) << noteOf(189217, 1, 189439, used);
    }
}

// "held the entry 9000 to 125, 125, the most a line counts": a limit's
// words do not give the amount again.
TEST(ReplacedEntryNote, NamesTheAmountHeldToOnce) {
    for (const GAHost::EntryRule& rule : GAHost::entryRules()) {
        for (const GAHost::Reason& limit : rule.limit.alternatives()) {
            EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(limit.text[0]))) << rule.form << ": " << limit.text;
        }
    }
}

// Each rule, on every return that its reasons turn on or speak of (each box
// marked or not, each field 0 or not, or 0 or of the other sign) and each
// residency, for an entry above 0 and one below: the note of an entry
// in its first field that the rule empties, holds or replaces gives a reason
// that holds on that return, and each of the rule's reasons is given on one.
TEST(ReplacedEntryNote, GivesAReasonThatHoldsOnTheReturn) {
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    using Value = DataMgmt::FieldValue;
    const std::tuple<GAHost::Reasons GAHost::EntryRule::*, GAHost::EntryChange, Value> kinds[] = {
        {&GAHost::EntryRule::emptied, GAHost::EntryChange::Emptied, Value()},
        {&GAHost::EntryRule::limit, GAHost::EntryChange::HeldToLimit, Value::number(0)},
        {&GAHost::EntryRule::replaced, GAHost::EntryChange::Replaced, Value::number(7000)}};
    for (const GAHost::EntryRule& rule : GAHost::entryRules()) {
        const DataMgmt::TaxFormDescPtr form = library.georgia->findByDevName(rule.form);
        std::map<int, char> turnsOn;  // each box ('b'), field 0 or not ('z'), 1 or not ('o'), of the sign ('s')
        std::set<const GAHost::Reason*> untold;
        GAHost::ReplacedEntry r{form.get(), 1, form->getFieldDesc(rule.fields[0]).get(), Value::number(6000), {}};
        for (const auto& [reasons, change, used] : kinds) {
            for (const GAHost::Reason& reason : (rule.*reasons).alternatives()) {
                untold.insert(&reason);
                for (const int box : reason.when.marked) turnsOn[box] = 'b';
                for (const int box : reason.when.unmarked) turnsOn[box] = 'b';
                turnsOn[reason.when.zero] = turnsOn[reason.when.sameAs] = turnsOn[reason.when.less] = 'z';
                turnsOn[reason.when.notZero] = 'z';
                turnsOn[reason.when.one] = 'o';
                for (const Claim& c : claimsOf(reason.text)) {
                    if (c.what != 'r') turnsOn[c.number] = c.what == 'u' ? 'z' : c.what;
                }
            }
        }
        for (const auto& [reasons, change, used] : kinds) {
            for (const GAHost::Reason& reason : (rule.*reasons).alternatives()) turnsOn[reason.when.otherSign] = 's';
        }
        turnsOn.erase(0);  // none
        for (unsigned run = 0; run < (2u << turnsOn.size()); ++run) {
            const unsigned mask = run >> 1;
            const int sign = (run & 1) == 0 ? 1 : -1;  // an entry above 0, and one below
            r.entry = Value::number(6000.0 * sign);
            for (int code = 1; code <= 4; ++code) {  // each residency
                DataMgmt::TaxReturn calculated(library.georgia, Utils::StringPoolPtr());
                DataMgmt::TaxForm& copy = *calculated.getFormOrCreate(form->getTypeID(), 1);
                unsigned bit = 1;
                for (const auto& [field, kind] : turnsOn) {
                    if (kind == 'b') calculated.setXValue(form->getTypeID(), 1, field, (mask & bit) != 0);
                    // (as the host loads it: a count field may hold what its reasons test)
                    if (kind != 'b')
                        copy.setValue(field, Value::number((mask & bit) == 0 ? 0
                                                           : kind == 'o'     ? 1
                                                                             : 100 * (kind == 's' ? -sign : 1)));
                    bit <<= 1;
                }
                calculated.getFormOrCreate(kGAForm69ID, 1)->assignIR(kForm69Lines.residency.code, code);
                for (const auto& [reasons, change, used] : kinds) {
                    r.used = used;
                    r.calculated = &calculated;
                    if (GAHost::entryChange(r) != change) continue;
                    const std::string note = GAHost::replacedEntryNote(r);
                    for (const Claim& c : claimsOf(note.substr(note.find(", is ")))) {
                        EXPECT_TRUE(claimHolds(c, calculated, form->getTypeID(), 1))
                            << c.what << c.number << " on residency " << code << ": " << note;
                    }
                    for (const GAHost::Reason& reason : (rule.*reasons).alternatives()) {
                        if (note.ends_with(reason.text)) untold.erase(&reason);
                    }
                }
            }
        }
        for (const GAHost::Reason* reason : untold)
            ADD_FAILURE() << rule.form << " field " << rule.fields[0] << ": " << reason->text;
    }
}

// Entries of part-year-other-income.xml, and an earlier residency.
const std::string kWages27 = "<FIELD><ID>27</ID><VALUE>30000</VALUE></FIELD>";
const std::string kPart53 = "<FIELD><ID>53</ID><VALUE>2000</VALUE></FIELD>";
const std::string kOldResidency = "<FIELD><ID>7</ID><VALUE>3</VALUE></FIELD>";

// Returns that a rule's note is told on, each an example with a part of its
// text replaced (the first `from` by `to`) and an entry in copy 1 of a form,
// beside `alongside`; a part of the note's reason (null: the entry is kept).
const struct CalculatedRow {
    const char* example;
    std::string from, to;
    const char* form;
    int field;
    const char* value;
    std::string alongside;
    const char* reason;
} kCalculatedRows[] = {
    // The first state column of the wages worksheet: the part-year column
    // held to the line's federal amount (one of 5,000, one empty), closed
    // on a nonresident return, a full-year resident's federal amount.
    {"part-year-resident", "<FORM DEVNAME=\"F1\" COPY=\"1\">",
     "<FORM DEVNAME=\"F1\" COPY=\"1\"><FIELD><ID>87</ID><VALUE>5000</VALUE></FIELD>", "ST4", 53, "9000", "",
     "held the entry 9000 to 5000, the line's federal amount (field 52)"},
    {"part-year-other-income", "", "", "ST4", 56, "2000", "", "held the entry 2000 to 0, the line's federal amount"},
    // A part or wages started from 0 anew (one below 0 the reader refuses).
    {"part-year-other-income", kPart53, "", "ST4", 53, "2000", kOldResidency, "remove field 7 from the worksheet"},
    {"part-year-other-income", kWages27, "", "ST4", 27, "30000", kOldResidency, "remove field 7 from the worksheet"},
    {"nonresident-other-income", "", "", "ST4", 53, "2000", "", "second state column (field 54)"},
    {"single-wages", "", "", "ST4", 53, "2000", "", "the line has none (field 52 is 0;"},
    {"single-wages", "<FORM DEVNAME=\"F1\" COPY=\"1\">",
     "<FORM DEVNAME=\"F1\" COPY=\"1\"><FIELD><ID>87</ID><VALUE>5000</VALUE></FIELD>", "ST4", 53, "2000", "",
     "is calculated: the calculation replaced the entry 2000 with 5000: a full-year resident's Georgia part"},
    // Form 71 of one installment, whatever boxes 22 and 23 say.
    {"underpaid-estimated", "", "", "GA71", 27, "5000", "<FIELD><ID>16</ID><VALUE>1</VALUE></FIELD>" + marked({22, 23}),
     "the one installment (field 16 is 1)"},
    // Form 73's rows on a full-year return whose residency is left to its
    // default, and on a part-year return.
    {"tax-paid-to-another-state", "<FIELD><ID>36</ID><VALUE>X</VALUE></FIELD>", "", "GA73", 138856, "X", "", nullptr},
    {"tax-paid-to-another-state", "<FIELD><ID>36</ID><VALUE>X</VALUE></FIELD>", "", "GA73", 7, "5000",
     marked({138856}) + "<FIELD><ID>138854</ID><VALUE>AL</VALUE></FIELD>",
     "filled from the federal return's other-state return (form F133618)"},
    {"part-year-other-income", "", "", "GA73", 138856, "X", "", "and this return is not full-year"},
    // A Georgia share below 0; on a return with both columns open, one of a
    // total of 0.
    {"part-year-other-income", "<FIELD><ID>152</ID><VALUE>120</VALUE></FIELD>", "", "ST2", 152, "-50", "",
     "held the entry -50 to 0, the least a Georgia share can be"},
    {"single-wages", "<FORM DEVNAME=\"GA69\" COPY=\"1\">",
     "<FORM DEVNAME=\"GA69\" COPY=\"1\"><FIELD OVERRIDDEN=\"1\"><ID>8</ID><VALUE>4</VALUE></FIELD>", "ST2", 152, "100",
     "", "the line's total (field 151) is 0"},
    // The spouse's ID on a married-separate return, which names the spouse;
    // an ID's details beside an answer of none, and the box "does not
    // expire" beside an expiration date.
    {"married-separately", "", "", "GA69", 193222, "X", "", "asked on a joint return only: a return of another"},
    {"married-separately", "", "", "GA69", 193217, "D1234567", marked({193222}), "a married-separate one included"},
    {kJoint.c_str(), "", "", "GA69", 193217, "D1234567", marked({193216}), "and box 193216 says there is none"},
    {"single-wages", "", "", "GA69", 193213, "X", "", "without an expiration date (field 193212), and one is entered"},
    // The amended return's deposit account on a return that owes.
    {"amended-return", "", "", "GA189219", 189659, "12345", "", "refunds nothing (field 189655 is 0)"},
    {"amended-low-income-credit", "", "", "GA189219", 189657, "X", marked({191046}),
     "box 191046 is marked: the refund goes into the account entered in fields 191329 to 191332"},
};

// Each return of the rows, calculated as gahost check calculates it: the
// entry's note gives the row's reason, whose claims hold on that return.
TEST_F(ReplacedEntries, AReasonHoldsOnTheCalculatedReturnItIsToldOn) {
    for (const CalculatedRow& row : kCalculatedRows) {
        SCOPED_TRACE(std::string(row.example) + ": " + row.form + " field " + std::to_string(row.field));
        std::string text = readFile(examplePath(row.example));
        if (!row.from.empty()) text.replace(text.find(row.from), row.from.size(), row.to);
        const std::string file =
            writeFile("in.xml", insertField(text, row.form, 1, row.field, row.value, false, row.alongside));
        std::vector<std::string> told;
        testsupport::calculateAsGahost(
            file, testsupport::Calculation::Check, dir, nullptr, [&](GAHost::HostSession& session) {
                for (const GAHost::ReplacedEntry& r : GAHost::replacedEntries(session, testsupport::buildModule())) {
                    if (r.form->getDevName() != row.form || r.field->getID().getNumber() != row.field) {
                        continue;
                    }
                    const std::string note = GAHost::replacedEntryNote(r);
                    told.push_back(note);
                    for (const Claim& c : claimsOf(note.substr(note.find(", is ")))) {
                        EXPECT_TRUE(claimHolds(c, *session.georgiaState(), r.form->getTypeID(), r.copy))
                            << c.what << c.number << ": " << note;
                    }
                }
            });
        ASSERT_EQ(told.size(), row.reason == nullptr ? 0u : 1u);
        if (row.reason != nullptr) {
            EXPECT_NE(told[0].find(row.reason), std::string::npos) << told[0];
        }
    }
}

// A file of one return, as the module dumps it, has no federal return to
// calculate from: check validates it and notes nothing.
TEST_F(ReplacedEntries, CheckCalculatesNoFileOfOneReturn) {
    const std::string file = writeFile(
        "dump.xml",
        "<RETURN><FORM DEVNAME=\"GA189217\"><FIELD><ID>189439</ID><VALUE>6000</VALUE></FIELD></FORM></RETURN>\n");
    const testsupport::GahostResult r = testsupport::runGahost({"check", file}, {}, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("\nnot calculated: "), std::string::npos) << r.out;
}

}  // namespace
