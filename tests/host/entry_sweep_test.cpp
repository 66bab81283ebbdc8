// Nothing a preparer enters on a Georgia form changes without a word: for
// each form of the Georgia return, the return of the reach table that uses
// it gets an entry in each field of the form that is not calculated, in
// turn (123, a text, a marked box or a date, as the field takes), then
// each pair of its boxes marked together, and is calculated as gahost run
// calculates it, on paper and e-filed; the forms whose rules turn on the
// residency or the filing status are swept on such returns too. Every entry
// of the return that the calculation changed must be told by its note: in a
// calculated field, or by a rule of the calculation that empties it, holds
// it to a limit or replaces it, with a reason whose claims hold on the
// return calculated.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/ReplacedEntries.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/IOMgmtStaging.h"
#include "tests/host/form_reach.h"
#include "tests/host/module_calculation.h"
#include "tests/host/reason_claims.h"
#include "tests/support/ScratchDir.h"

namespace {

using PersistanceMgmt::ReturnFile;
using PersistanceMgmt::ReturnFileContents;
using testsupport::Calculation;

// A text of the field's kind.
std::string sweptText(const DataMgmt::FormFieldDesc& field) {
    using C = DataMgmt::FieldContent;
    switch (field.getContent()) {
        case C::PersonNumber:
        case C::EmployerNumber:
        case C::EitherNumber:
            return "400001234";
        case C::WrittenNumber:
            return "58-4100021";
        case C::Zip:
            return "30303";
        case C::StateCode:
            return "GA";
        case C::Phone:
            return "4045550100";
        case C::Routing:
            return "061000104";
        case C::Choice:
            return field.attributes().choices.substr(0, field.attributes().choices.find('|'));
        default:
            return "ENTRY";
    }
}

// A date a preparer would write in the field: in form 69's part-year
// residency period, which does not end before it begins, its first day
// early in the year and its last late, whatever the return's other end.
std::string sweptDate(const DataMgmt::TaxFormDesc& form, const DataMgmt::FormFieldDesc& field) {
    const bool period =
        form.getTypeID() == Primitives::QVImmutableFormIdentifier(PersistanceMgmt::kResidencyPeriodForm, true);
    if (period && field.getID().getNumber() == PersistanceMgmt::kResidencyFrom) return "01/02/2018";
    if (period && field.getID().getNumber() == PersistanceMgmt::kResidencyTo) return "12/30/2018";
    return "06/15/2018";
}

// The entry the sweep makes in a field: what a preparer would write there.
DataMgmt::FieldValue sweptEntry(const DataMgmt::TaxFormDesc& form, const DataMgmt::FormFieldDesc& field) {
    if (field.isBoolean()) return DataMgmt::FieldValue::box(true);
    if (field.isDate()) return DataMgmt::FieldValue::text(sweptDate(form, field));
    if (field.isText()) {
        const std::size_t length = DataMgmt::FormFieldDesc::effectiveMaxLength(
            DataMgmt::FieldKind::Text, field.getEditCode(), field.getMaxLength());
        return DataMgmt::FieldValue::text(sweptText(field).substr(0, length));
    }
    if (field.getContent() == DataMgmt::FieldContent::Count) return DataMgmt::FieldValue::number(1);
    const int places = DataMgmt::editCodeDecimalPlaces(field.getEditCode());
    return DataMgmt::FieldValue::number(123 * std::pow(10.0, places));
}

// The contents with the entry in each field of copy 1 of the form (the copy
// made when the return lacks it).
ReturnFileContents withEntries(ReturnFileContents contents, const DataMgmt::TaxFormDescPtr& form,
                               const std::vector<DataMgmt::FormFieldDescPtr>& fields) {
    PersistanceMgmt::ReturnPart entry;
    entry.copies.push_back({form, 1, std::nullopt, std::nullopt, {}, 0});
    for (const DataMgmt::FormFieldDescPtr& field : fields) {
        entry.copies.back().fields.push_back({field, sweptEntry(*form, *field), false, 0});
    }
    testsupport::mergeReturn(contents.georgia, entry);
    return contents;
}

// Under the sanitizers a calculation takes many times longer: there every
// so many cases run, each form starting at a case of its own.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kCaseStride = 4;
#else
constexpr std::size_t kCaseStride = 1;
#endif

// Why a row sweeps a form on another return than the reach table's.
constexpr const char* kOtherReturn = "another residency or filing status";

// Returns of other residencies and filing statuses, and the forms of each
// whose rules depend on them: each form is swept on them too.
const struct {
    const char* example;
    std::vector<std::string> forms;
} kOtherReturns[] = {
    {"part-year-other-income", {"GA69", "GA70", "GA73", "GA189215", "GA189217", "ST4"}},
    {"nonresident-other-income", {"GA69", "GA70", "GA189215", "GA189217", "ST4"}},
    {"retired-couple", {"GA69", "GA70", "GA189215"}},
    {"low-income-credit", {"GA70"}},
    {"amended-low-income-credit", {"GA189219"}},
};

// The scratch files need not reach the disk: the sweep writes thousands.
int noSync(int) { return 0; }

// Each form on the return of the reach table that uses it, and on the other
// returns.
std::vector<testsupport::FormReach> sweptReturns() {
    std::vector<testsupport::FormReach> rows = testsupport::formReaches();
    for (const auto& other : kOtherReturns) {
        for (const std::string& form : other.forms) {
            rows.push_back({form, other.example, "", "", kOtherReturn});
        }
    }
    return rows;
}

class EntrySweep : public testsupport::ScratchDirOn<::testing::TestWithParam<testsupport::FormReach>> {
protected:
    void SetUp() override {
        ScratchDirOn::SetUp();
        synced_ = IOMgmt::setStagingCalls({.sync = noSync, .syncFolder = noSync});
    }
    void TearDown() override {
        IOMgmt::setStagingCalls(synced_);
        ScratchDirOn::TearDown();
    }

private:
    IOMgmt::StagingCalls synced_;
};

TEST_P(EntrySweep, EveryChangedEntryIsTold) {
    const testsupport::FormReach& row = GetParam();
    SCOPED_TRACE(row.devName + " from " + row.example + ": " + row.why);
    GAHost::HostSession definitions("");
    const DataMgmt::TaxFormDescPtr form = definitions.library().georgia->findByDevName(row.devName);
    ASSERT_FALSE(form.isNull());
    const ReturnFileContents base =
        ReturnFile::parse(testsupport::reachingReturn(row), row.devName + ".xml",
                          {definitions.library().federal.get(), definitions.library().georgia.get()});
    std::size_t next = std::hash<std::string>()(row.devName + row.example) % kCaseStride;
    DataMgmt::resetKindMismatchCount();
    // Each field that is not calculated, then on the return of the reach
    // table each pair of the form's boxes: boxes marked together, of which
    // the calculation may keep one.
    std::vector<std::vector<DataMgmt::FormFieldDescPtr>> cases;
    std::vector<DataMgmt::FormFieldDescPtr> boxes;
    for (DataMgmt::QVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
        const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(it.getFieldID());
        if (!field->isCalculated()) cases.push_back({field});
        if (!field->isCalculated() && field->isBoolean() && row.why != kOtherReturn) boxes.push_back(field);
    }
    for (std::size_t a = 0; a < boxes.size(); ++a) {
        for (std::size_t b = a + 1; b < boxes.size(); ++b) cases.push_back({boxes[a], boxes[b]});
    }
    for (const std::vector<DataMgmt::FormFieldDescPtr>& fields : cases) {
        std::string entered = "field";
        for (const DataMgmt::FormFieldDescPtr& field : fields)
            entered += " " + std::to_string(field->getID().getNumber());
        const std::string file = writeFile("entry.xml", ReturnFile::serialize(withEntries(base, form, fields)));
        for (const Calculation how : {Calculation::Run, Calculation::RunEFiled}) {
            if (next++ % kCaseStride != 0) continue;
            testsupport::calculateAsGahost(file, how, dir, nullptr, [&](GAHost::HostSession& session) {
                for (const GAHost::ReplacedEntry& r : GAHost::replacedEntries(session, testsupport::buildModule())) {
                    const std::string note = GAHost::replacedEntryNote(r);
                    const std::string with =
                        "with an entry in " + entered + (how == Calculation::Run ? " on paper: " : " e-filed: ");
                    EXPECT_NE(GAHost::entryChange(r), GAHost::EntryChange::Unexplained) << with << note;
                    // Each claim of its reason holds on the return calculated.
                    for (const testsupport::Claim& c : testsupport::claimsOf(note.substr(note.find(", is ")))) {
                        EXPECT_TRUE(testsupport::claimHolds(c, *session.georgiaState(), r.form->getTypeID(), r.copy))
                            << c.what << c.number << " " << with << note;
                    }
                }
            });
        }
    }
    // Every field the calculation reads as a box is one a return file can
    // mark (a write that does not fit its field throws, and fails its run).
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
}

INSTANTIATE_TEST_SUITE_P(GeorgiaForms, EntrySweep, ::testing::ValuesIn(sweptReturns()),
                         [](const ::testing::TestParamInfo<testsupport::FormReach>& info) {
                             std::string name = info.param.devName + "_" + info.param.example;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
