// What gahost run saves, gahost check reads: on each example return, every
// labelled amount field of both returns, and every item of the federal
// return that is an amount, is set in turn to -7, 0 and 10,000,000,000,000
// either way as an entry (a calculated field as an override, which keeps to
// the same limit and domain; an item only within its own range). A return file that
// the reader refuses is not run, as gahost run does not run it; every other
// is settled as gahost check and run settle it, in this process through the
// loaded module, and the return it saves is read back. A calculation whose
// total passes the limit of amounts stops with one line naming the field
// and the limit, and saves nothing; it stops for nothing else. No amount
// that the calculation writes is rounded to the cent by the store: a field
// where it keeps fractions of a cent is marked so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DataMgmt.h"
#include "tests/host/example_returns.h"
#include "tests/host/form_reach.h"
#include "tests/host/module_calculation.h"

namespace {

namespace fs = std::filesystem;
using PersistanceMgmt::ReturnFile;
using PersistanceMgmt::ReturnFileContents;

// Under the sanitizers a run takes many times longer: there every so many
// cases run, each example starting at a case of its own.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kCaseStride = 32;
#else
constexpr std::size_t kCaseStride = 1;
#endif
// Every so many saved returns are also written and read as a whole file.
constexpr std::size_t kWholeReadStride = 8;

constexpr double kSweptDollars[] = {-7.0, 0.0, 1e13, -1e13};

// A field the sweep sets: an amount field with a line label of its own.
struct SweptField {
    DataMgmt::TaxFormDescPtr form;
    DataMgmt::FormFieldDescPtr field;
    bool federal;
};

std::vector<SweptField> labelledAmountFields(const FormDefinitions::Library& library) {
    std::vector<SweptField> fields;
    for (const DataMgmt::TaxReturnDesc* desc : {library.federal.get(), library.georgia.get()}) {
        for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptors(); !forms.atEOL(); forms.next()) {
            const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
            for (DataMgmt::QVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
                const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(it.getFieldID());
                const bool labelled = field->getLineID() != std::to_string(field->getID().getNumber());
                if (labelled && !field->isText() && !field->isBoolean()) {
                    fields.push_back({form, field, desc == library.federal.get()});
                }
            }
        }
    }
    return fields;
}

// The contents with the amount as the entry of the field on copy 1 of its
// form (made when the return lacks it).
ReturnFileContents withEntry(ReturnFileContents contents, const SweptField& f, double dollars) {
    std::optional<PersistanceMgmt::ReturnPart>& part = f.federal ? contents.federal : contents.georgia;
    auto copy = std::find_if(part->copies.begin(), part->copies.end(), [&](const PersistanceMgmt::CopyEntry& c) {
        return c.desc.get() == f.form.get() && c.copy == 1;
    });
    if (copy == part->copies.end()) {
        part->copies.push_back(PersistanceMgmt::CopyEntry{f.form, 1, std::nullopt, std::nullopt, {}, 0});
        copy = part->copies.end() - 1;
    }
    std::vector<PersistanceMgmt::FieldEntry>& fields = copy->fields;
    fields.erase(std::remove_if(fields.begin(), fields.end(),
                                [&](const PersistanceMgmt::FieldEntry& e) { return e.desc.get() == f.field.get(); }),
                 fields.end());
    const int places = DataMgmt::editCodeDecimalPlaces(f.field->getValidator()->getEditCode());
    fields.push_back(
        {f.field, DataMgmt::FieldValue::number(dollars * std::pow(10.0, places)), f.field->isCalculated(), 0});
    return contents;
}

// The contents with the item seeded at the amount, as the Georgia return's
// other items are; none when it seeds no item.
std::optional<ReturnFileContents> withItem(ReturnFileContents contents, const PersistanceMgmt::CommonItemInfo& item,
                                           double dollars) {
    std::vector<PersistanceMgmt::CommonItem>& items = contents.georgia->seeds.commonItems;
    if (items.empty()) return std::nullopt;
    PersistanceMgmt::CommonItem seeded = items.front();
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](const PersistanceMgmt::CommonItem& i) { return i.type == item.type; }),
                items.end());
    seeded.type = item.type;
    seeded.value = static_cast<std::int64_t>(dollars);
    items.push_back(seeded);
    return contents;
}

// The items the sweep seeds: those that hold an amount.
std::vector<PersistanceMgmt::CommonItemInfo> amountItems() {
    std::vector<PersistanceMgmt::CommonItemInfo> items;
    for (const PersistanceMgmt::CommonItemInfo& i : PersistanceMgmt::commonItemTable()) {
        if (i.max == PersistanceMgmt::kAmountLimitDollars) items.push_back(i);
    }
    return items;
}

// What the reader says of the first value of the contents that it refuses
// ("form GA70 copy 1 field 350 (kGA70_F350): amount "-7" is below 0 ..."); empty
// when it refuses none.
std::string firstValueProblem(const ReturnFileContents& contents) {
    for (const std::optional<PersistanceMgmt::ReturnPart>* part : {&contents.federal, &contents.georgia}) {
        for (const PersistanceMgmt::CopyEntry& c : (*part)->copies) {
            for (const PersistanceMgmt::FieldEntry& f : c.fields) {
                const std::string problem = PersistanceMgmt::valueProblem(*f.desc, f.value);
                if (!problem.empty()) {
                    return "form " + c.desc->getDevName() + " copy " + std::to_string(c.copy) + " field " +
                           f.desc->getSymbolicName() + ": " + problem;
                }
            }
        }
    }
    return {};
}

class SavedReturnsSweep : public ::testing::TestWithParam<std::string> {
protected:
    SavedReturnsSweep() : session_(""), current_(session_) {}

    PersistanceMgmt::ReturnDescriptions descriptions() const {
        return {session_.library().federal.get(), session_.library().georgia.get()};
    }

    // Runs the return file's text as gahost run does, and reads back what it
    // saves: as a whole file when wholeRead, else each value by the check the
    // reader makes of it. None when the reader refuses the text (gahost run
    // refuses it too), or when the calculation stops at the limit of amounts
    // (counted in refusedAtTheLimit_); empty when what the run saves reads
    // back; else what the reader says of the saved return, or why the
    // calculation stopped.
    std::optional<std::string> runAndReadBack(const std::string& text, bool wholeRead) {
        ReturnFileContents input;
        try {
            input = ReturnFile::parse(text, "input.xml", descriptions());
        } catch (const Exceptions::QuarloException&) {
            return std::nullopt;
        }
        session_.openReturns(&testsupport::buildModule());
        ReturnFile::apply(input, session_.federal().get(), session_.georgiaState());
        try {
            GAHost::ModuleCalculation(testsupport::buildModule(), session_, GetParam()).settle();
        } catch (const Exceptions::QuarloException& e) {
            const std::string& why = e.getMessage();
            if (why.find('\n') == std::string::npos && why.find(" field ") != std::string::npos &&
                why.find("is beyond the limit of 10,000,000,000,000 dollars") != std::string::npos) {
                ++refusedAtTheLimit_;
                return std::nullopt;
            }
            return "the calculation stopped: " + why;
        }
        const ReturnFileContents saved =
            ReturnFile::snapshot(session_.federal().get(), session_.georgiaState(), &input);
        if (wholeRead) {
            try {
                ReturnFile::parse(ReturnFile::serialize(saved), "saved.xml", descriptions());
            } catch (const Exceptions::QuarloException& e) {
                return e.getMessage().substr(0, e.getMessage().find('\n'));
            }
            return std::string();
        }
        return firstValueProblem(saved);
    }

    GAHost::HostSession session_;
    GAHost::CurrentSession current_;
    std::size_t refusedAtTheLimit_ = 0;
};

TEST_P(SavedReturnsSweep, EverySavedReturnReadsBack) {
    const fs::path example = testsupport::kExamples / (GetParam() + ".xml");
    const ReturnFileContents base = ReturnFile::read(example.string(), descriptions());
    const std::vector<SweptField> fields = labelledAmountFields(session_.library());
    ASSERT_GT(fields.size(), 500u);
    // Where the example's share of the cases starts under the sanitizers.
    std::size_t next = std::hash<std::string>()(GetParam()) % kCaseStride;
    DataMgmt::resetKindMismatchCount();
    DataMgmt::resetRoundedWriteCount();
    std::size_t cases = 0;
    std::size_t calculated = 0;
    std::vector<std::string> failures;
    for (const SweptField& f : fields) {
        for (const double dollars : kSweptDollars) {
            if (next++ % kCaseStride != 0) continue;
            const ReturnFileContents input = withEntry(base, f, dollars);
            // An amount outside the field's domain or the limit of amounts is
            // refused when the file is read, and nothing is run.
            if (!firstValueProblem(input).empty()) {
                EXPECT_EQ(runAndReadBack(ReturnFile::serialize(input), false), std::nullopt)
                    << f.field->getSymbolicName() << " = " << dollars;
                continue;
            }
            const std::optional<std::string> problem =
                runAndReadBack(ReturnFile::serialize(input), cases++ % kWholeReadStride == 0);
            calculated += problem ? 1 : 0;
            if (problem && !problem->empty()) {
                failures.push_back(f.field->getSymbolicName() + " = " + DataMgmt::formatDisplayAmount(dollars, 0) +
                                   ": " + *problem);
            }
        }
    }
    // Each item within its own range: the calculation copies it into the
    // fields that take it, whose domains are the item's.
    for (const PersistanceMgmt::CommonItemInfo& item : amountItems()) {
        for (const double dollars : kSweptDollars) {
            if (dollars < static_cast<double>(item.min) || dollars > static_cast<double>(item.max)) continue;
            if (next++ % kCaseStride != 0) continue;
            const std::optional<ReturnFileContents> input = withItem(base, item, dollars);
            if (!input) continue;
            const std::optional<std::string> problem =
                runAndReadBack(ReturnFile::serialize(*input), cases++ % kWholeReadStride == 0);
            calculated += problem ? 1 : 0;
            if (problem && !problem->empty()) {
                failures.push_back(std::string(item.name) + " = " + DataMgmt::formatDisplayAmount(dollars, 0) + ": " +
                                   *problem);
            }
        }
    }
    // Most entries within their domain and limit are taken: only those at
    // odds with the federal return are refused, and those whose totals pass
    // the limit.
    EXPECT_GT(calculated + refusedAtTheLimit_, cases * 9 / 10);
    EXPECT_GT(calculated, cases / 2);
    std::string shown;
    for (std::size_t i = 0; i < std::min<std::size_t>(failures.size(), 20); ++i) shown += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " saved returns do not read back:\n" << shown;
    // Every field the calculation reads as a box is one a return file can
    // mark (a write that does not fit its field throws, and fails its run).
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch();
    EXPECT_EQ(DataMgmt::roundedWriteCount(), 0) << DataMgmt::lastRoundedWrite();
}

INSTANTIATE_TEST_SUITE_P(Examples, SavedReturnsSweep, ::testing::ValuesIn(testsupport::exampleNames()),
                         testsupport::exampleCaseName);

// Returns that reach every form, each many times with random amounts in
// cents under every filing status and residency: the calculation writes no
// amount with a fraction of a cent into a field not marked to keep one (the
// store would round it, and move the whole-dollar line it comes to), and
// what each run saves reads back. A variation that the reader refuses (an
// item at odds with the federal return, a part-year return without its
// period) is not run.
constexpr int kFilingStatuses = 5;
const int kTaxpayerResidency[] = {36, 38, 37};  // form 69: full-year, part-year, nonresident

// Scales each amount entry of the contents and gives it random cents (whole
// dollars where the field takes no cents); seeds each amount item scaled.
void randomizeAmounts(ReturnFileContents& contents, std::mt19937& random) {
    std::uniform_real_distribution<double> scale(0.3, 1.7);
    std::uniform_int_distribution<int> cents(0, 99);
    for (std::optional<PersistanceMgmt::ReturnPart>* part : {&contents.federal, &contents.georgia}) {
        for (PersistanceMgmt::CopyEntry& copy : (*part)->copies) {
            for (PersistanceMgmt::FieldEntry& f : copy.fields) {
                const DataMgmt::FormFieldDesc& field = *f.desc;
                if (!f.value.isNumber() || f.value.getNumber() == 0 || field.isCalculated() ||
                    field.getContent() == DataMgmt::FieldContent::Count || field.attributes().countHigh != 0) {
                    continue;
                }
                const int places = DataMgmt::editCodeDecimalPlaces(field.getEditCode());
                const double unit = std::pow(10.0, places);
                const double dollars = std::round(f.value.getNumber() / unit * scale(random));
                const double inCents = DataMgmt::roundedToTheCent((dollars + cents(random) / 100.0) * unit, places);
                const DataMgmt::FieldValue withCents = DataMgmt::FieldValue::number(inCents);
                f.value = PersistanceMgmt::valueProblem(field, withCents).empty()
                              ? withCents
                              : DataMgmt::FieldValue::number(dollars * unit);
            }
        }
    }
    // An item that the federal return says as well follows the federal
    // amounts scaled above: its seed is dropped.
    std::vector<PersistanceMgmt::CommonItem>& items = contents.georgia->seeds.commonItems;
    std::erase_if(items, [](const PersistanceMgmt::CommonItem& item) {
        const PersistanceMgmt::CommonItemInfo* info = PersistanceMgmt::findCommonItem(item.type);
        return info != nullptr && info->answeredBy != nullptr && info->max == PersistanceMgmt::kAmountLimitDollars;
    });
    for (PersistanceMgmt::CommonItem& item : items) {
        const PersistanceMgmt::CommonItemInfo* info = PersistanceMgmt::findCommonItem(item.type);
        if (info != nullptr && info->max == PersistanceMgmt::kAmountLimitDollars) {
            item.value = static_cast<std::int64_t>(std::round(static_cast<double>(item.value) * scale(random)));
        }
    }
}

// Gives the field of copy 1 of the form the value, as an entry (the copy is
// made when the return lacks it).
void setEntry(PersistanceMgmt::ReturnPart& part, const DataMgmt::TaxReturnDesc& desc, const std::string& devName,
              int number, const DataMgmt::FieldValue& value) {
    auto copy = std::find_if(part.copies.begin(), part.copies.end(), [&](const PersistanceMgmt::CopyEntry& c) {
        return c.desc->getDevName() == devName && c.copy == 1;
    });
    if (copy == part.copies.end()) {
        part.copies.push_back({desc.findByDevName(devName), 1, std::nullopt, std::nullopt, {}, 0});
        copy = part.copies.end() - 1;
    }
    const DataMgmt::FormFieldDescPtr field = copy->desc->getFieldDesc(Primitives::QVImmutableIdentifier(number));
    std::vector<PersistanceMgmt::FieldEntry>& fields = copy->fields;
    fields.erase(std::remove_if(fields.begin(), fields.end(),
                                [&](const PersistanceMgmt::FieldEntry& e) { return e.desc.get() == field.get(); }),
                 fields.end());
    if (!value.isNull()) fields.push_back({field, value, false, 0});
}

// What a draw adds to the random amounts: nothing, a random amount in
// cents in each empty amount entry, or a mark in some of the empty boxes,
// of the Georgia return's copies and of copy 1 of the form of the return's
// reach row (made when the return lacks it); or both, on copy 1 of another
// form of the Georgia return, so that the branches no example takes, and
// forms no example holds together, are run.
enum class Draw { AmountsOnly, EmptyAmounts, EmptyBoxes, AnotherForm };
constexpr Draw kDraws[] = {Draw::AmountsOnly, Draw::EmptyAmounts, Draw::EmptyBoxes, Draw::AnotherForm};
constexpr int kDrawsEach = 12;  // under each filing status and residency

void fillEmptyEntries(ReturnFileContents& contents, const DataMgmt::TaxReturnDesc& georgia, const std::string& form,
                      Draw draw, std::mt19937& random) {
    std::vector<PersistanceMgmt::CopyEntry>& copies = contents.georgia->copies;
    if (draw == Draw::AmountsOnly) return;
    const auto named = [&](const PersistanceMgmt::CopyEntry& c) { return c.desc->getDevName() == form && c.copy == 1; };
    const DataMgmt::TaxFormDescPtr reached = georgia.findByDevName(form);
    if (!reached.isNull() && std::none_of(copies.begin(), copies.end(), named)) {
        copies.push_back({reached, 1, std::nullopt, std::nullopt, {}, 0});
    }
    std::uniform_int_distribution<int> cents(0, 500000);
    for (PersistanceMgmt::CopyEntry& copy : copies) {
        for (DataMgmt::QVFieldIDIter it = copy.desc->getFieldIDs(); !it.atEOL(); it.next()) {
            const DataMgmt::FormFieldDescPtr field = copy.desc->getFieldDesc(it.getFieldID());
            if (field->isText() || field->isCalculated() || field->getContent() == DataMgmt::FieldContent::Count ||
                field->attributes().countHigh != 0 ||
                std::any_of(copy.fields.begin(), copy.fields.end(),
                            [&](const PersistanceMgmt::FieldEntry& e) { return e.desc.get() == field.get(); })) {
                continue;
            }
            const bool another = draw == Draw::AnotherForm && named(copy);
            if (field->isBoolean()) {
                if ((another || (draw == Draw::EmptyBoxes && (reached.isNull() || named(copy)))) && random() % 2 == 0) {
                    copy.fields.push_back({field, DataMgmt::FieldValue::box(true), false, 0});
                }
                continue;
            }
            if (draw != Draw::EmptyAmounts && !another) continue;
            const int places = DataMgmt::editCodeDecimalPlaces(field->getEditCode());
            const DataMgmt::FieldValue v = DataMgmt::FieldValue::number(
                DataMgmt::roundedToTheCent(cents(random) / 100.0 * std::pow(10.0, places), places));
            if (PersistanceMgmt::valueProblem(*field, v).empty()) copy.fields.push_back({field, v, false, 0});
        }
    }
}

// The contents under the filing status (a W-2 then names its owner on a
// joint return only) with the taxpayer's residency box of form 69 marked; a
// part-year resident lived in Georgia from July, and a part-year resident
// or nonresident earned a random share of the W-2 wages there.
void withStatusAndResidency(ReturnFileContents& contents, const DataMgmt::TaxReturnDesc& georgia, int status,
                            int residencyBox, std::mt19937& random) {
    contents.federal->seeds.filingStatus = status;
    double wages = 0.0;
    for (PersistanceMgmt::CopyEntry& copy : contents.federal->copies) {
        if (status != 2) copy.owner.reset();
        for (const PersistanceMgmt::FieldEntry& f : copy.fields) {
            if (copy.desc->getDevName() == "F52" && f.desc->getID().getNumber() == 21) wages += f.value.getNumber();
        }
    }
    PersistanceMgmt::ReturnPart& ga = *contents.georgia;
    for (const int box : kTaxpayerResidency) {
        setEntry(ga, georgia, "GA69", box,
                 box == residencyBox ? DataMgmt::FieldValue::box(true) : DataMgmt::FieldValue::null());
    }
    const bool partYear = residencyBox == kTaxpayerResidency[1];
    const bool nonresident = residencyBox == kTaxpayerResidency[2];
    if (partYear) {
        setEntry(ga, georgia, "GA69", 113, DataMgmt::FieldValue::text("07/01/2018"));
        setEntry(ga, georgia, "GA69", 114, DataMgmt::FieldValue::text("12/31/2018"));
    }
    if (partYear || nonresident) {
        const double share = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        setEntry(ga, georgia, "ST4", partYear ? 27 : 28,
                 DataMgmt::FieldValue::number(DataMgmt::roundedToTheCent(wages * share, 0)));
    }
}

class CentsSweep : public SavedReturnsSweep {};

TEST_P(CentsSweep, NoAmountIsRoundedByTheStore) {
    const std::string& name = GetParam();
    const bool example = name.rfind("GA", 0) != 0 && name.rfind("ST", 0) != 0;
    const ReturnFileContents base =
        example
            ? ReturnFile::read((testsupport::kExamples / (name + ".xml")).string(), descriptions())
            : ReturnFile::parse(testsupport::reachingReturn(testsupport::reachOf(name)), name + ".xml", descriptions());
    std::mt19937 random(static_cast<std::mt19937::result_type>(std::hash<std::string>()(name)));
    DataMgmt::resetRoundedWriteCount();
    std::map<std::string, std::string> rounded;
    std::size_t calculated = 0;
    std::vector<std::string> failures;
    int variation = 0;
    for (const int residency : kTaxpayerResidency) {
        for (int status = 1; status <= kFilingStatuses; ++status) {
            for (int draws = 0; draws < kDrawsEach; ++draws) {
                const Draw draw = kDraws[draws % std::size(kDraws)];
                if (variation++ % static_cast<int>(kCaseStride) != 0) continue;
                ReturnFileContents input = base;
                randomizeAmounts(input, random);
                const std::vector<testsupport::FormReach>& reaches = testsupport::formReaches();
                const std::string& form = draw == Draw::AnotherForm ? reaches[random() % reaches.size()].devName : name;
                fillEmptyEntries(input, *session_.library().georgia, form, draw, random);
                withStatusAndResidency(input, *session_.library().georgia, status, residency, random);
                const std::int64_t before = DataMgmt::roundedWriteCount();
                const std::optional<std::string> problem =
                    runAndReadBack(ReturnFile::serialize(input), variation % kWholeReadStride == 0);
                if (DataMgmt::roundedWriteCount() != before) {
                    // "form GA70 copy 1 field 105: assignIR wrote 58.4993 (rounded ...)", by field.
                    const std::string what = DataMgmt::lastRoundedWrite();
                    rounded.emplace(what.substr(0, what.find(':')), what);
                }
                calculated += problem ? 1 : 0;
                if (problem && !problem->empty()) {
                    failures.push_back("status " + std::to_string(status) + ", form 69 box " +
                                       std::to_string(residency) + ": " + *problem);
                }
            }
        }
    }
    EXPECT_GT(calculated, 0u) << "no variation of " << name << " was calculated";
    for (const auto& [field, example] : rounded) ADD_FAILURE() << field << " is rounded by the store: " << example;
    for (const std::string& f : failures) ADD_FAILURE() << f;
}

std::vector<std::string> reachingReturnNames() {
    std::vector<std::string> names = testsupport::exampleNames();
    for (const testsupport::FormReach& row : testsupport::formReaches()) names.push_back(row.devName);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Reaches, CentsSweep, ::testing::ValuesIn(reachingReturnNames()), testsupport::exampleCaseName);

}  // namespace
