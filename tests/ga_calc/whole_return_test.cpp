// Whole-return calculations: the information form's transfers from a seeded
// federal return, and every example return calculated as gahost runs it,
// written back and read again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "module/catalogues/Form104FieldIds.h"
#include "module/catalogues/Form113FieldIds.h"
#include "module/catalogues/Form190FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm76FieldIds.h"
#include "platform/returnfile/ReturnFile.h"
#include "tests/support/ScratchDir.h"

namespace gaenginetest {
namespace {

namespace fs = std::filesystem;

const auto& f69 = kGAForm69FieldIds;
const auto& f70 = kGAForm70FieldIds;
const auto& f92 = kForm92FieldIds;

// ------------------------------------------------ transfers from the federal return

class SeededReturnTest : public EngineTest {
protected:
    // Names, number and address on the federal main form `form` (1, 55 or
    // 87), at the fields the heading rows read from it; the federal filing
    // status as the main form asks for it.
    struct Filer {
        const char* first;
        const char* last;
        const char* number;
    };
    void federalMainForm(const FormId& form, const Filer& taxpayer, const Filer* spouse, const char* city,
                         const char* stateText, int filingStatus) {
        // Rows: first, last, number of the taxpayer and the spouse; street,
        // city, state and ZIP.
        const bool is87 = form == kForm87ID;
        const int taxpayerFields[] = {is87 ? 31 : 1, is87 ? 32 : 2, is87 ? 9 : 11};
        const int spouseFields[] = {is87 ? 81535 : 4, is87 ? 81537 : 5, is87 ? 53 : 12};
        auto main = fedCopy(form);
        const char* parts[] = {taxpayer.first, taxpayer.last, taxpayer.number};
        for (int i = 0; i < 3; ++i) {
            setText(main, FieldId(taxpayerFields[i]), parts[i]);
        }
        if (spouse != nullptr) {
            const char* spouseParts[] = {spouse->first, spouse->last, spouse->number};
            for (int i = 0; i < 3; ++i) {
                setText(main, FieldId(spouseFields[i]), spouseParts[i]);
            }
        }
        setText(main, FieldId(is87 ? 33 : 7), "12 Main St");
        setText(main, FieldId(is87 ? 6 : 8), city);
        setText(main, FieldId(is87 ? 7 : 9), stateText);
        setText(main, FieldId(is87 ? 8 : 10), "30301");
        if (form == kForm55ID) {
            setBox(fedCopy(kForm104ID), kForm104FieldIds.f181);
        } else if (form == kForm87ID) {
            setBox(fedCopy(kForm104ID), kForm104FieldIds.f183);
        }
        for (const FormId& federalForm : {kForm1ID, kForm55ID, kForm87ID}) {
            gaReturn()->setPullCommon(federalForm, Utils::PCTypes::kFederalFilingStatus, filingStatus);
        }
    }
    void residencyRow(const char* stateText, const char* taxpayerStatus, const char* spouseStatus) {
        auto form92 = fedCopy(kForm92ID);
        setText(form92, f92.f675, stateText);
        setText(form92, f92.f43844, taxpayerStatus);
        setText(form92, f92.f43845, spouseStatus);
    }
    DataMgmt::TaxFormPtr info() { return ga->getForm(kGAForm69ID, 1); }
    DataMgmt::TaxFormPtr owner() { return ga->getForm(kStateForm15ID, 1); }
    // Which of the information form's boxes 46 (form 1), 47 (form 55) and 48
    // (form 87) are marked.
    std::string federalBoxes() {
        std::string marks;
        for (const FieldId& box : {f69.f46, f69.f47, f69.f48}) {
            marks += info()->xMarked(box) ? 'X' : '-';
        }
        return marks;
    }
};

TEST_F(SeededReturnTest, SingleFullYearResidentOnForm1) {
    federalMainForm(kForm1ID, {"Ann", "Lee", "123456789"}, nullptr, "Atlanta", "GA", 1);

    engine.calculateReturn(0);

    EXPECT_EQ(federalBoxes(), "X--");
    EXPECT_EQ(text(info(), f69.f23), "Lee");
    EXPECT_EQ(text(info(), f69.f33), "Atlanta");
    EXPECT_TRUE(info()->isNull(f69.f26));
    EXPECT_TRUE(owner()->isNull(FieldId(6)));
    // No federal residency row: the home state decides.
    EXPECT_TRUE(info()->xMarked(f69.f36));
    EXPECT_FALSE(ga->formExists(kGAForm189217ID, 1));
    // The spouse's licence block is closed on a return without a spouse.
    EXPECT_TRUE(info()->isProtected(f69.f193217));
    // The main form, calculated after the information form, took its status.
    EXPECT_EQ(text(ga->getForm(kGAForm70ID, 1), f70.f44), "A");
}

TEST_F(SeededReturnTest, JointReturnOnForm55CarriesTheSpouse) {
    const Filer spouse{"Bo", "Kim", "987654321"};
    federalMainForm(kForm55ID, {"Ann", "Lee", "123456789"}, &spouse, "Macon", "GA", 2);
    // Form 1 holds other names: they must not be read.
    setText(fedCopy(kForm1ID), FieldId(1), "Wrong");

    engine.calculateReturn(0);

    EXPECT_EQ(federalBoxes(), "-X-");
    EXPECT_EQ(text(info(), f69.f21), "Ann");
    EXPECT_EQ(text(info(), f69.f26), "Bo");
    EXPECT_EQ(text(info(), f69.f28), "Kim");
    EXPECT_EQ(text(info(), f69.f30), "987654321");
    EXPECT_EQ(text(owner(), FieldId(6)), "Bo");
    EXPECT_EQ(text(owner(), FieldId(8)), "Kim");
    EXPECT_EQ(text(owner(), FieldId(10)), "987654321");
    EXPECT_EQ(text(ga->getForm(kGAForm70ID, 1), f70.f44), "B");
    // Both filers full-year residents by the home state.
    EXPECT_TRUE(info()->xMarked(f69.f36));
    EXPECT_TRUE(info()->xMarked(f69.f96));
    EXPECT_FALSE(info()->isProtected(f69.f193217));
}

TEST_F(SeededReturnTest, PartYearResidentByTheFederalResidencyRow) {
    federalMainForm(kForm1ID, {"Ann", "Lee", "123456789"}, nullptr, "Atlanta", "GA", 1);
    residencyRow("ga", "Part-year resident", "");

    engine.calculateReturn(0);

    EXPECT_TRUE(info()->xMarked(f69.f38));
    EXPECT_FALSE(info()->xMarked(f69.f36));
    EXPECT_TRUE(ga->formExists(kGAForm189217ID, 1));
}

TEST_F(SeededReturnTest, NonresidentOnForm87ByTheHomeState) {
    federalMainForm(kForm87ID, {"Ann", "Lee", "123-45-6789"}, nullptr, "Jacksonville", "FL", 1);
    // Form 104 marks both short forms: form 87 wins.
    setBox(fedCopy(kForm104ID), kForm104FieldIds.f181);

    engine.calculateReturn(0);

    EXPECT_EQ(federalBoxes(), "--X");
    EXPECT_EQ(text(info(), f69.f21), "Ann");
    EXPECT_EQ(text(info(), f69.f25), "123456789");
    EXPECT_EQ(text(info(), f69.f33), "Jacksonville");
    EXPECT_TRUE(info()->xMarked(f69.f37));
    EXPECT_TRUE(ga->formExists(kGAForm189217ID, 1));
}

TEST_F(SeededReturnTest, ForeignAddressReachesTheMainForm) {
    federalMainForm(kForm1ID, {"Ann", "Lee", "123456789"}, nullptr, "Ottawa", "", 1);
    auto form92 = fedCopy(kForm92ID);
    setBox(form92, f92.f545);
    setText(form92, f92.f81523, "Ontario");
    setText(form92, f92.f150739, "ON");
    setText(form92, f92.f81525, "k1a 0b1");

    engine.calculateReturn(0);

    auto main = ga->getForm(kGAForm70ID, 1);
    EXPECT_EQ(text(main, f70.f37), "OTTAWA");
    EXPECT_TRUE(main->isNull(f70.f38));
    EXPECT_EQ(text(main, f70.f39), "K1A 0B1");
    EXPECT_EQ(text(main, f70.f40), "ONTARIO");
    // No home state in Georgia and no residency row: a nonresident.
    EXPECT_TRUE(info()->xMarked(f69.f37));
}

TEST_F(SeededReturnTest, StateRowsOfForm190ReachTheInformationForm) {
    federalMainForm(kForm1ID, {"Ann", "Lee", "123456789"}, nullptr, "Atlanta", "GA", 1);
    auto form190 = fedCopy(kForm190ID);
    const auto& f190 = kForm190FieldIds;
    setText(form190, f190.f10, "04/15/2018");
    setNumber(form190, f190.f11, 300);
    setText(form190, f190.f12, "GA");
    setNumber(form190, f190.f14, 200);
    setText(form190, f190.f15, "AL");
    setNumber(form190, f190.f73, 50);
    setText(form190, f190.f74, "GA");

    engine.calculateReturn(0);

    EXPECT_EQ(text(info(), f69.f50), "04/15/2018");
    EXPECT_EQ(info()->getIR(f69.f51), 300);
    EXPECT_TRUE(info()->isNull(f69.f53));
    EXPECT_EQ(info()->getIR(f69.f49), 50);
    EXPECT_EQ(info()->getIR(f69.f74), 300);
    EXPECT_EQ(info()->getIR(f69.f75), 350);
}

TEST_F(SeededReturnTest, IdentifyingNumbersReachTheGeorgiaFormsAsTexts) {
    federalMainForm(kForm1ID, {"Ann", "Lee", "012345678"}, nullptr, "Atlanta", "GA", 1);
    setText(fedCopy(kForm92ID), f92.f671, "0042");
    auto dependent = fedCopy(kForm113ID);
    const auto& f113 = kForm113FieldIds;
    setBox(dependent, f113.f1136);
    setText(dependent, f113.f1103, "Kim");
    setText(dependent, f113.f1105, "Lee");
    setText(dependent, f113.f1106, "012000034");
    setText(dependent, f113.f1108, "Son");

    DataMgmt::resetKindMismatchCount();
    engine.calculateReturn(0);

    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
    EXPECT_EQ(ga->formString(kGAForm70ID, 1, f70.f110), "0042");
    EXPECT_EQ(ga->formString(kGAForm70ID, 1, f70.f47), "012000034");
    EXPECT_EQ(ga->formString(kGAForm76ID, 1, kGAForm76FieldIds.f11), "012000034");
}

// ------------------------------------------------ the example returns

std::vector<std::string> exampleReturns() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(GA_SOURCE_DIR "/examples")) {
        if (entry.path().extension() == ".xml") {
            files.push_back(entry.path().filename().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ExampleReturn : public testsupport::ScratchDirOn<::testing::TestWithParam<std::string>> {};

TEST_P(ExampleReturn, CalculatesInEveryFieldsKindAndReadsBackAsWritten) {
    const std::string input = GA_SOURCE_DIR "/examples/" + GetParam();
    const std::string output = path(GetParam());

    {
        OpenReturns returns;
        const PersistanceMgmt::ReturnFileContents loaded =
            PersistanceMgmt::ReturnFile::load(input, returns.federal.get(), returns.georgia());
        GACalculationMgmt::GATaxReturnCalcEngine engine(returns.us(), returns.georgia(),
                                                        TaxFormPrintMgmt::TaxFormPrinterPtr());

        // The information form heads the calculation order and shows the
        // main form's result of the calculation before: a return settles at
        // its second calculation, as the host recalculates it after a change.
        DataMgmt::resetKindMismatchCount();
        engine.calculateReturn(0);
        engine.calculateReturn(0);
        EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
        // The information form's summary takes the amount owed of the main
        // form's earlier pass, which comes before the credit forms: with a
        // credit, the second calculation settles it.
        engine.calculateReturn(0);

        PersistanceMgmt::ReturnFile::save(output, returns.federal.get(), returns.georgia(), &loaded);
    }

    // The written return reads back, holds what was written, and calculates
    // again to the same return.
    OpenReturns again;
    PersistanceMgmt::ReturnFileContents reread;
    ASSERT_NO_THROW(reread = PersistanceMgmt::ReturnFile::load(output, again.federal.get(), again.georgia()));
    const std::string written = PersistanceMgmt::ReturnFile::serialize(reread);
    EXPECT_EQ(PersistanceMgmt::ReturnFile::serialize(
                  PersistanceMgmt::ReturnFile::snapshot(again.federal.get(), again.georgia(), &reread)),
              written);

    GACalculationMgmt::GATaxReturnCalcEngine engine(again.us(), again.georgia(), TaxFormPrintMgmt::TaxFormPrinterPtr());
    engine.calculateReturn(0);
    EXPECT_EQ(PersistanceMgmt::ReturnFile::serialize(
                  PersistanceMgmt::ReturnFile::snapshot(again.federal.get(), again.georgia(), &reread)),
              written);

    // Filed electronically, the return also fills its e-file forms, again
    // each field with a value of its own kind.
    again.georgia()->setInElf(true);
    DataMgmt::resetKindMismatchCount();
    engine.calculateReturn(0);
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleReturn, ::testing::ValuesIn(exampleReturns()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace gaenginetest
