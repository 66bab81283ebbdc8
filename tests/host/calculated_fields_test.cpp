// Every field that the calculation stores is marked calculated in the form
// definitions, so that gahost fields, check and run tell an entry there: each
// example, and each whole return file under tests/data, calculated as gahost
// run calculates it, on paper and e-filed. A field not marked may change only
// as an entry that the calculation fills or marks by a rule listed here, or
// changes by a rule that gahost's note of the entry tells. A calculated
// field that copies an entry says where it comes from. No field whose domain
// is 0 or more (an entry, or the override of a calculated line) is given
// less, and no amount with fractions of a cent goes into a field not marked
// to keep them, so that what a run saves reads back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "host/EntryRules.h"
#include "host/ReturnRequirements.h"
#include "platform/util/Utils.h"
#include "tests/host/example_returns.h"
#include "tests/host/module_calculation.h"
#include "tests/support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;
using DataMgmt::CalculationWrite;

// How the calculation may change an entry without a note: it fills an
// empty field, or marks a box of an answer (the others of its group go to
// no, a default is marked). An entry that it empties, holds to a limit or
// replaces is told by a rule of gahost's notes (host/EntryRules.cpp).
enum Rule : unsigned {
    kFillsEmpty = 1,
    kAnswer = 2,
};

const struct EntryRule {
    const char* form;
    std::vector<int> fields;
    unsigned rules;
    const char* why;
} kEntryRules[] = {
    {"GA69", {36, 37, 38, 96, 97, 98}, kAnswer, "each filer's residency, else the federal return's"},
    {"GA69", {12, 77}, kAnswer, "the refund by direct deposit or the other choice"},
    {"GA69", {83, 93, 95, 105, 106, 109}, kAnswer, "filing options, each the default of its pair"},
    {"GA69", {193208, 193214, 193215, 199053, 193216, 193222, 193223, 199054}, kAnswer, "each filer's ID answer"},
    {"GA69",
     {193209, 193211, 193212, 193217, 193219, 193220, 193213, 193221},
     kFillsEmpty | kAnswer,
     "ID details: from federal form 92 while empty"},
    {"GA70", {17406, 17408, 208}, kAnswer, "the default of a pair of boxes"},
    {"GA70", {189509, 189510}, kFillsEmpty, "a withholding entry's payer number: the document's"},
    {"GA71", {16, 75, 76, 77, 78}, kFillsEmpty, "installments and dates: defaults"},
    {"GA71", {24, 25, 26, 27}, kFillsEmpty, "each installment's withholding"},
    {"GA71", {22, 89}, kAnswer, "the default of a pair of boxes"},
    {"GA73", {7, 16, 138854, 138855}, kFillsEmpty, "the other state's row: the federal return's, else entered"},
    {"GA73", {138856}, kAnswer, "marks the other state's row filled from the federal return"},
    {"GA75", {7, 9, 10}, kAnswer, "the projection: pairs of boxes with a default"},
    {"GA75", {49}, kFillsEmpty, "installments remaining: 4 when empty"},
    {"GA187981", {188372}, kAnswer, "the added-back box, only when the federal return says so"},
    {"GA189215", {189258, 189285}, kAnswer, "a pair of boxes with a default"},
    {"GA189219", {189558, 190063}, kAnswer, "the first box of a pair, marked when the other is not"},
    {"ST4", {28}, kFillsEmpty, "a nonresident's Georgia wages: the W-2s' unless entered"},
};

// Whether the write is one that the rules let the calculation make without
// a note, or one that a rule of the notes tells.
bool keepsTo(unsigned rules, const std::string& form, const CalculationWrite& w) {
    if (((rules & kFillsEmpty) != 0 && w.before.isNull()) || ((rules & kAnswer) != 0 && w.after.isBox())) {
        return true;
    }
    const GAHost::EntryRule* told = GAHost::entryRuleOf(form, w.field.getNumber());
    if (told == nullptr) return false;
    if (w.after.isNull()) return !told->emptied.empty();
    const bool amounts = (w.before.isNull() || w.before.isNumber()) && w.after.isNumber();
    const double was = w.before.isNull() ? 0.0 : w.before.getNumber();
    const double now = amounts ? w.after.getNumber() : 0.0;
    const bool held = amounts && std::min(0.0, was) <= now && now <= std::max(0.0, was);
    return (held && !told->limit.empty()) || !told->replaced.empty();
}

// The examples, and the files under tests/data that hold both returns, but
// for the returns an earlier version saved (whose calculated texts, held
// in the file, would pass for entries).
std::vector<std::string> returnFiles(const FormDefinitions::Library& library) {
    std::vector<std::string> files;
    for (const std::string& name : testsupport::exampleNames()) {
        files.push_back((testsupport::kExamples / (name + ".xml")).string());
    }
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(GA_SOURCE_DIR) / "tests" / "data")) {
        if (entry.path().extension() != ".xml" || entry.path().parent_path().filename() == "earlier-saves") continue;
        try {
            const PersistanceMgmt::ReturnFileContents c = PersistanceMgmt::ReturnFile::read(
                entry.path().string(), {library.federal.get(), library.georgia.get()});
            if (GAHost::missingParts(c, entry.path().string()).empty()) files.push_back(entry.path().string());
        } catch (const Exceptions::QuarloException&) {
            // Not a return of these forms.
        }
    }
    return files;
}

// A text as a copy is compared: its letters and digits, in upper case.
std::string lettersAndDigits(std::string text) {
    std::erase_if(text, [](unsigned char c) { return std::isalnum(c) == 0; });
    return Utils::QVStringUtils::upperCased(text);
}

// The texts entered in the return file, of two letters or digits at least.
std::set<std::string> enteredTexts(const PersistanceMgmt::ReturnFileContents& contents) {
    std::set<std::string> texts;
    for (const auto* part : {&*contents.federal, &*contents.georgia}) {
        for (const PersistanceMgmt::CopyEntry& copy : part->copies) {
            for (const PersistanceMgmt::FieldEntry& f : copy.fields) {
                if (f.value.isText()) texts.insert(lettersAndDigits(f.value.getText()));
            }
        }
    }
    std::erase_if(texts, [](const std::string& text) { return text.size() < 2; });
    return texts;
}

// Whether the note of an entry in a calculated field says where the value
// comes from: in the field's label or by a rule.
bool saysWhereFrom(const DataMgmt::TaxFormDesc& form, const DataMgmt::FieldID& field) {
    static const std::regex namesSource(R"(\bfrom\b|\bform [0-9]+|\bfield [0-9]+)");
    const GAHost::EntryRule* rule = GAHost::entryRuleOf(form.getDevName(), field.getNumber());
    return (rule != nullptr && !rule->source.empty()) ||
           std::regex_search(form.getFieldDesc(field)->getLineID(), namesSource);
}

class CalculatedFields : public testsupport::ScratchDirTest {};

// Every calculated field of the Georgia return is named by its label or by a
// rule's source, so that the note of an entry there says what it holds; a
// share entered beside a total, which the calculation empties or holds, has a
// rule that tells why; and no form goes by the "Form N" of a form unnamed.
TEST(CalculatedFieldNotes, SayWhereEachValueComesFrom) {
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    for (DataMgmt::TaxFormDescIter it = library.georgia->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormDesc& form = *it.getTaxFormDescriptor();
        EXPECT_NE(form.getBusinessName(), "Form " + std::to_string(form.getTypeID().getNumber())) << form.getDevName();
        for (DataMgmt::QVFieldIDIter f = form.getFieldIDs(); !f.atEOL(); f.next()) {
            if (!form.getFieldDesc(f.getFieldID())->isCalculated()) continue;
            const std::string number = std::to_string(f.getFieldID().getNumber());
            const std::string label = form.getFieldDesc(f.getFieldID())->getLineID();
            const GAHost::EntryRule* rule = GAHost::entryRuleOf(form.getDevName(), f.getFieldID().getNumber());
            EXPECT_TRUE(label != number || (rule && !rule->source.empty())) << form.getDevName() << " field " << number;
            if (label.find("(entered; kept between 0 and field ") == std::string::npos) continue;
            EXPECT_TRUE(rule && !rule->emptied.empty() && !rule->limit.empty()) << form.getDevName() << " " << number;
        }
    }
}

TEST_F(CalculatedFields, EveryFieldTheCalculationStoresIsMarkedCalculated) {
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    std::map<std::string, std::string> unmarked;  // "GA71 field 59" -> the first change found
    std::set<const EntryRule*> used;
    std::size_t calculatedChanges = 0;
    std::set<std::string> unsourced;               // copies of an entry whose note does not say where from
    std::map<std::string, std::string> belowZero;  // "GA70 field 84" -> a return that stores less than 0 there
    std::size_t copies = 0;
    DataMgmt::resetRoundedWriteCount();
    for (const std::string& file : returnFiles(library)) {
        const std::set<std::string> entered =
            enteredTexts(PersistanceMgmt::ReturnFile::read(file, {library.federal.get(), library.georgia.get()}));
        for (const auto how : {testsupport::Calculation::Run, testsupport::Calculation::RunEFiled}) {
            std::vector<CalculationWrite> writes;
            testsupport::calculateAsGahost(file, how, dir, &writes);
            for (const CalculationWrite& w : writes) {
                const DataMgmt::TaxFormDescPtr form = library.georgia->getTaxFormDescriptor(w.form);
                if (form->getFieldDesc(w.field)->getDomain() == DataMgmt::FieldDomain::NotNegative &&
                    w.after.isNumber() && w.after.getNumber() < 0) {
                    belowZero.emplace(form->getDevName() + " field " + std::to_string(w.field.getNumber()),
                                      fs::path(file).filename().string() + ": " + std::to_string(w.after.getNumber()));
                }
                if (form->getFieldDesc(w.field)->isCalculated()) {
                    ++calculatedChanges;
                    // A text entered elsewhere on the return (a name, a number) is a copy.
                    if (w.after.isText() && entered.count(lettersAndDigits(w.after.getText())) > 0) {
                        ++copies;
                        if (!saysWhereFrom(*form, w.field)) {
                            unsourced.insert(form->getDevName() + " field " + std::to_string(w.field.getNumber()));
                        }
                    }
                    continue;
                }
                const std::string& name = form->getDevName();
                const auto rule = std::find_if(std::begin(kEntryRules), std::end(kEntryRules), [&](const EntryRule& r) {
                    return r.form == name && std::count(r.fields.begin(), r.fields.end(), w.field.getNumber()) > 0 &&
                           keepsTo(r.rules, name, w);
                });
                if (rule != std::end(kEntryRules)) {
                    used.insert(&*rule);
                } else if (!keepsTo(0, name, w)) {
                    unmarked.emplace(
                        name + " field " + std::to_string(w.field.getNumber()),
                        fs::path(file).filename().string() + ": " + w.operation + ", copy " + std::to_string(w.copy));
                }
            }
        }
    }
    EXPECT_GT(calculatedChanges, 0u) << "no change of the calculation was recorded";
    EXPECT_GT(copies, 100u);
    for (const std::string& field : unsourced) ADD_FAILURE() << field << ": the note does not say where it comes from";
    for (const auto& [field, value] : belowZero) ADD_FAILURE() << field << " holds " << value << ", not 0 or more";
    // Where the calculation keeps fractions of a cent, the field is marked
    // so (fractions=1); it writes no other amount that the store rounds.
    EXPECT_EQ(DataMgmt::roundedWriteCount(), 0) << DataMgmt::lastRoundedWrite();
    for (const auto& [field, change] : unmarked) ADD_FAILURE() << field << " is stored (" << change << ") not calc=1";
    for (const EntryRule& r : kEntryRules) {
        EXPECT_TRUE(used.count(&r) > 0) << r.form << " " << r.why << ": no return needs this rule any more";
    }
}

}  // namespace
