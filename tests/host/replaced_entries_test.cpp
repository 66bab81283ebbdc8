// An entry in a field that the calculation fills is replaced; gahost check
// and gahost run each say so in one note naming the form, the field, its
// label, the entry and the value used, unless the file marks the entry as
// overridden. A nonresident's Georgia rent entered in the part-year
// schedule's row 4 (Georgia column), which the calculation fills from the
// state wages worksheet, is the case that went unseen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ReplacedEntries.h"
#include "platform/definitions/FormDefinitions.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

namespace {

constexpr int kPartYearForm = 189217;
constexpr int kRowFourGeorgia = 189439;  // calculated: from state form 4
// The credit summary, whose copies past the credits listed the calculation
// removes, and a calculated field of it.
constexpr int kCreditSummary = 189216;
constexpr int kCreditSummaryField = 189812;
// A nonresident's Georgia column of a line of the state wages worksheet.
constexpr int kHeldNonresidentColumn = 39;

// The note of an entry of 6,000 in a field of a Georgia form, replaced by
// `used` (none: its copy removed), as the host writes it.
std::string noteOf(int formNumber, std::uint16_t copy, int field, const DataMgmt::FieldValue* used) {
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    const DataMgmt::TaxFormDescPtr form =
        library.georgia->getTaxFormDescriptor(Primitives::QVImmutableFormIdentifier(formNumber, true));
    GAHost::ReplacedEntry replaced;
    replaced.form = form.get();
    replaced.copy = copy;
    replaced.field = form->getFieldDesc(Primitives::QVImmutableIdentifier(field)).get();
    replaced.entry = DataMgmt::FieldValue::number(6000);
    replaced.copyRemoved = used == nullptr;
    if (used != nullptr) replaced.used = *used;
    return "gahost: note: " + GAHost::replacedEntryNote(replaced) + "\n";
}

class ReplacedEntries : public testsupport::ScratchDirTest {
protected:
    // The example of a nonresident with one more field in a copy of a
    // Georgia form.
    std::string withField(const std::string& form, int copy, int field, const std::string& value, bool overridden) {
        std::string text = readFile((testsupport::kExamples / "nonresident-wages.xml").string());
        const std::string entry = std::string("<FIELD") + (overridden ? " OVERRIDDEN=\"1\"" : "") + "><ID>" +
                                  std::to_string(field) + "</ID><VALUE>" + value + "</VALUE></FIELD>";
        const std::string start = "<FORM DEVNAME=\"" + form + "\" COPY=\"" + std::to_string(copy) + "\">";
        const std::size_t at = text.find(start);
        if (at != std::string::npos) return text.insert(at + start.size(), entry);
        return text.insert(text.rfind("</RETURN>"), start + entry + "</FORM>\n");
    }

    // What the command prints on standard error for the file beyond what it
    // prints for the example itself.
    std::string addedNotes(const std::string& command, const std::string& file) {
        std::vector<std::string> args = {command, file};
        std::vector<std::string> exampleArgs = {command, (testsupport::kExamples / "nonresident-wages.xml").string()};
        if (command == "run") {
            args.insert(args.end(), {"--out", dir + "/out"});
            exampleArgs.insert(exampleArgs.end(), {"--out", dir + "/example-out"});
        }
        const testsupport::GahostResult example = testsupport::runGahost(exampleArgs, {}, dir);
        const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir);
        EXPECT_EQ(example.status, 0) << example.err;
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string& err = r.err;
        return err.compare(0, example.err.size(), example.err) == 0 ? err.substr(example.err.size()) : err;
    }
};

TEST_F(ReplacedEntries, CheckAndRunNoteAnEntryTheCalculationReplaces) {
    const DataMgmt::FieldValue zero = DataMgmt::FieldValue::number(0);
    const struct {
        const char* what;
        const char* form;
        int copy;
        int field;
        const char* value;
        bool overridden;
        std::string note;
    } rows[] = {
        {"rent in a calculated field", "GA189217", 1, kRowFourGeorgia, "6000", false,
         noteOf(kPartYearForm, 1, kRowFourGeorgia, &zero)},
        {"the same entry overridden", "GA189217", 1, kRowFourGeorgia, "6000", true, ""},
        {"the value the calculation leaves", "GA189217", 1, kRowFourGeorgia, "0", false, ""},
        // An entry, which the calculation holds to the line's federal amount
        // of 0, is not calculated.
        {"an entry held to a limit", "ST4", 1, kHeldNonresidentColumn, "6000", false, ""},
        // No credit is listed: the calculation keeps one copy of the summary.
        {"an entry in a copy the calculation removes", "GA189216", 2, kCreditSummaryField, "6000", false,
         noteOf(kCreditSummary, 2, kCreditSummaryField, nullptr)},
    };
    for (const auto& row : rows) {
        const std::string file =
            writeFile("nonresident.xml", withField(row.form, row.copy, row.field, row.value, row.overridden));
        for (const std::string command : {"check", "run"}) {
            SCOPED_TRACE(std::string(row.what) + ", " + command);
            EXPECT_EQ(addedNotes(command, file), row.note);
        }
    }
}

TEST_F(ReplacedEntries, CheckCalculatesNoFileOfOneReturn) {
    // A file of one return, as the module dumps it, has no federal return
    // to calculate from: check validates it and notes nothing.
    const std::string file =
        writeFile("dump.xml", "<RETURN><FORM DEVNAME=\"GA189217\"><FIELD><ID>" + std::to_string(kRowFourGeorgia) +
                                  "</ID><VALUE>6000</VALUE></FIELD></FORM></RETURN>\n");
    const testsupport::GahostResult r = testsupport::runGahost({"check", file}, {}, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("\nnot calculated: "), std::string::npos) << r.out;
}

}  // namespace
