// What a run prints and writes is the return it saves: every example run
// through gahost run, on paper and e-filed, and the return that the run saved
// run again with the same options, give the same print file, e-file and
// printout, byte for byte; no example, and no return that a run saved (it
// holds the calculation's own values), calculated as gahost check and
// gahost run calculate it, on paper or e-filed, has an entry replaced. So
// do varied returns of the underpayment penalty (form 71 of 1 to 4
// installments, the withholding in equal parts or as entered, amounts with
// cents): each saved return passes gahost check and runs the same. Returns
// that an earlier version saved (tests/data/earlier-saves: sums written
// with binary noise, fractions of a cent in shares, the ratio, form 71's
// penalty) pass gahost check and print the figures that version printed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "tests/host/example_returns.h"
#include "tests/host/gahost_process.h"
#include "tests/host/module_calculation.h"
#include "tests/host/preparer_edits.h"
#include "tests/support/ScratchDir.h"

namespace {

class SavedReturnRerun : public testsupport::ScratchDirOn<::testing::TestWithParam<std::string>> {
protected:
    // Runs the return file from the folder `work` into work/out, so that the
    // printout names the outputs alike in every run: the printout, the print
    // file and the e-file.
    std::vector<std::string> run(const std::string& returnFile, const std::vector<std::string>& options,
                                 const std::string& work) {
        std::filesystem::create_directories(path(work));
        std::vector<std::string> args = {"run", returnFile, "--out", "out"};
        args.insert(args.end(), options.begin(), options.end());
        const testsupport::GahostResult r = testsupport::runGahost(args, {}, dir, path(work));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string out = path(work + "/out/");
        return {r.out, readFile(out + GetParam() + ".print.txt"), readFile(out + "GA-efile.txt")};
    }
};

TEST_P(SavedReturnRerun, TheSavedReturnRunAgainGivesTheSameOutputs) {
    using testsupport::Calculation;
    const struct {
        const char* mode;
        std::vector<std::string> options;
        Calculation how;
    } modes[] = {{"paper", {}, Calculation::Run}, {"e-file", {"--efile"}, Calculation::RunEFiled}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        const std::string first = std::string(m.mode) + "-first";
        const std::string saved = path(first + "/out/" + GetParam() + ".xml");
        const std::string example = (testsupport::kExamples / (GetParam() + ".xml")).string();
        const auto once = run(example, m.options, first);
        ASSERT_FALSE(once[1].empty() || once[2].empty()) << "the first run wrote no print file or e-file";
        // An example's entries are what the calculation keeps: it shows no
        // note of a changed entry.
        EXPECT_EQ(testsupport::calculateAsGahost(example, m.how, path(first)), std::vector<std::string>{});
        EXPECT_EQ(run(saved, m.options, std::string(m.mode) + "-again"), once);
        // Filed either way, the saved return holds the values an earlier
        // calculation wrote, not entries (a paper return's scan line, run as
        // e-filed).
        for (const Calculation how : {Calculation::Check, Calculation::Run, Calculation::RunEFiled}) {
            EXPECT_EQ(testsupport::calculateAsGahost(saved, how, path(first)), std::vector<std::string>{});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, SavedReturnRerun, ::testing::ValuesIn(testsupport::exampleNames()),
                         testsupport::exampleCaseName);

// The penalty's parts of the withholding are entries a person may make: in
// equal parts the calculation writes them to the cent, adding up to the
// withholding, so that the saved return reads back (a third of $1,000.01 is
// no amount of a field that keeps cents). Row: the installments, and
// whether the parts are entered.
struct Installments {
    int count;
    bool entered;
};

class SavedInstallmentsRerun : public testsupport::ScratchDirOn<::testing::TestWithParam<Installments>> {};

// Form 71's fields of the row, after field 55 of the example.
std::string form71Fields(const Installments& r) {
    std::string fields = "<FIELD><ID>16</ID><VALUE>" + std::to_string(r.count) + "</VALUE></FIELD>";
    if (!r.entered) return fields;
    const std::pair<int, const char*> parts[] = {{24, "300.07"}, {25, "0.01"}, {26, "699.95"}, {27, "5"}};
    fields += "<FIELD><ID>23</ID><VALUE>X</VALUE></FIELD><FIELD><ID>22</ID><VALUE>NO</VALUE></FIELD>";
    for (const auto& [field, amount] : parts) {
        fields += "<FIELD><ID>" + std::to_string(field) + "</ID><VALUE>" + amount + "</VALUE></FIELD>";
    }
    return fields;
}

TEST_P(SavedInstallmentsRerun, TheSavedReturnPassesCheckAndRunsTheSame) {
    const std::string name = "underpaid-estimated";
    // W-2 withholding and last year's tax with cents; the row's form 71.
    writeFile("in/" + name + ".xml",
              preparer::replacing({{"<ID>32</ID><VALUE>1000.00<", "<ID>32</ID><VALUE>1000.01<"},
                                   {"<ID>55</ID><VALUE>4000</VALUE></FIELD>",
                                    "<ID>55</ID><VALUE>4000.03</VALUE></FIELD>" + form71Fields(GetParam())}})(
                  readFile((testsupport::kExamples / (name + ".xml")).string())));
    std::vector<std::vector<std::string>> outputs;
    for (const std::string from : {"in", "first/out"}) {
        const std::string work = outputs.empty() ? "first" : "again";
        std::filesystem::create_directories(path(work));
        const testsupport::GahostResult r = testsupport::runGahost(
            {"run", path(from + "/" + name + ".xml"), "--out", "out", "--efile"}, {}, dir, path(work));
        ASSERT_EQ(r.status, 0) << r.err;
        outputs.push_back(
            {readFile(path(work + "/out/" + name + ".print.txt")), readFile(path(work + "/out/GA-efile.txt"))});
    }
    const testsupport::GahostResult check =
        testsupport::runGahost({"check", path("first/out/" + name + ".xml")}, {}, dir);
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_FALSE(outputs[0][0].empty() || outputs[0][1].empty()) << "the first run wrote no print file or e-file";
    EXPECT_EQ(outputs[1], outputs[0]);
    // Equal parts of the withholding add up to it, to the cent.
    if (GetParam().entered) return;
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    const PersistanceMgmt::ReturnFileContents saved = PersistanceMgmt::ReturnFile::read(
        path("first/out/" + name + ".xml"), {library.federal.get(), library.georgia.get()});
    double parts = 0.0;
    double withholding = -1.0;  // field 21
    for (const PersistanceMgmt::CopyEntry& c : saved.georgia->copies) {
        if (c.desc->getDevName() != "GA71") continue;
        for (const PersistanceMgmt::FieldEntry& f : c.fields) {
            const int number = f.desc->getID().getNumber();
            if (number >= 24 && number <= 27 && f.value.isNumber()) parts += f.value.getNumber();
            if (number == 21) withholding = f.value.getNumber();
        }
    }
    EXPECT_DOUBLE_EQ(parts, withholding);
    EXPECT_GT(withholding, 0);
}

INSTANTIATE_TEST_SUITE_P(Form71, SavedInstallmentsRerun,
                         ::testing::Values(Installments{1, false}, Installments{2, false}, Installments{3, false},
                                           Installments{4, false}, Installments{1, true}, Installments{2, true},
                                           Installments{3, true}, Installments{4, true}),
                         [](const ::testing::TestParamInfo<Installments>& info) {
                             return (info.param.entered ? "Entered" : "EqualParts") + std::to_string(info.param.count);
                         });

class EarlierSave : public testsupport::ScratchDirOn<::testing::TestWithParam<std::string>> {};

TEST_P(EarlierSave, OpensAndPrintsTheFiguresThatVersionPrinted) {
    const std::filesystem::path saves = std::filesystem::path(GA_SOURCE_DIR) / "tests" / "data" / "earlier-saves";
    const std::string saved = (saves / (GetParam() + ".xml")).string();
    const testsupport::GahostResult check = testsupport::runGahost({"check", saved}, {}, dir);
    EXPECT_EQ(check.status, 0) << check.err;
    const testsupport::GahostResult run = testsupport::runGahost({"run", saved, "--out", "out"}, {}, dir, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(path("out/" + GetParam() + ".print.txt")),
              readFile((saves / (GetParam() + ".print.expected")).string()));
}

INSTANTIATE_TEST_SUITE_P(Returns, EarlierSave,
                         ::testing::Values("credit-shares", "joint-wages-in-cents", "part-year-itemized",
                                           "penalty-on-the-return"),
                         testsupport::exampleCaseName);

}  // namespace
