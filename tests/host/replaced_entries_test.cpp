// gahost check and gahost run note each entry that the calculation changes:
// in a calculated field, unless the file marks it as overridden (the form,
// the copy, the field, the entry and the value used), or by a rule that
// empties, holds or replaces it (and the rule's words). The case that went
// unseen: a nonresident's Georgia rent entered in the part-year schedule's
// row 4, which the calculation fills from the state wages worksheet.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/EntryRules.h"
#include "host/ReplacedEntries.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

namespace {

const std::string kExample = (testsupport::kExamples / "nonresident-wages.xml").string();

// The underpayment form kept, of two installments.
const std::string kKeptWithTwoInstallments =
    "<FIELD><ID>90</ID><VALUE>X</VALUE></FIELD><FIELD><ID>16</ID><VALUE>2</VALUE></FIELD>";

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
    static std::string withField(const std::string& form, int copy, int field, const std::string& value,
                                 bool overridden, const std::string& alongside) {
        std::string text = readFile(kExample);
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
     "the line's federal amount (less the first state column's where both columns are open)\n"},
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
    {"GA70", 1, 189509, "58-0000000", false,
     "gahost: note: form GA70 (Georgia individual income tax return) copy 1, field 189509 "
     "\"Withholding entry 1: payer's identification number (from the source document)\", is an entry: the "
     "calculation replaced the entry \"58-0000000\" with \"58-4100015\": a withholding entry shows the payer's "
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
    // A paper return's voucher box, entered and run as e-filed.
    {"GA77", 1, 24016, "X", false, "emptied the entry X, which counts nowhere on this return: the voucher marks", "",
     "run --efile"},
    // Boxes 22 and 7 of forms 71 and 75 are defaults; boxes marked together.
    {"GA71", 1, 26, "5000", false, "replaced the entry 5000 with 1300: unless box 23 is marked",
     kKeptWithTwoInstallments},
    {"GA71", 1, 26, "5000", false, "held the entry 5000 to 2600, what the earlier installments leave",
     kKeptWithTwoInstallments + "<FIELD><ID>23</ID><VALUE>X</VALUE></FIELD>"},
    {"GA71", 1, 9, "X", false, "replaced the entry X with NO: box 8 (exempt farmer or fisherman) and box 9",
     "<FIELD><ID>8</ID><VALUE>X</VALUE></FIELD><FIELD><ID>90</ID><VALUE>X</VALUE></FIELD>"},
    {"GA75", 1, 31, "X", false, "emptied the entry X, which counts nowhere on this return: unless box 8 is marked"},
    {"GA75", 1, 36, "X", false, "replaced the entry X with NO: of boxes 31 (standard deduction) and 36",
     "<FIELD><ID>8</ID><VALUE>X</VALUE></FIELD><FIELD><ID>31</ID><VALUE>X</VALUE></FIELD>"},
};

TEST_F(ReplacedEntries, CheckAndRunNoteAnEntryTheCalculationReplaces) {
    std::map<std::string, std::string> exampleNotes;
    for (const EntryRow& row : kEntryRows) {
        const std::string file =
            writeFile("in.xml", withField(row.form, row.copy, row.field, row.value, row.overridden, row.alongside));
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
            if (!exampleNotes.count(command)) exampleNotes[command] = gahost(kExample).err;
            const testsupport::GahostResult r = gahost(file);
            const std::string note = row.notedBy == nullptr || command == row.notedBy ? row.note : "";
            ASSERT_EQ(r.err.rfind(exampleNotes[command], 0), 0u) << r.err;
            const std::string told = r.err.substr(exampleNotes[command].size());
            EXPECT_TRUE(note.empty() ? told.empty()
                                     : told.find(note) != std::string::npos && told.rfind('\n') == told.find('\n'))
                << told;
            // check counts what it noted, an entry emptied or held as well.
            const std::string count = note.empty() ? "no entry is" : "1 entry is";
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
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(rule.limit[0]))) << rule.form << ": " << rule.limit;
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
