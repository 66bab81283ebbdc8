// The calculation walk: whole return, every copy of a form, one copy, and
// the engine's construction.
#include <gtest/gtest.h>

#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "platform/Exceptions.h"
#include "state_calc_fixture.h"

namespace statecalctest {
namespace {

using Events = std::vector<std::string>;

TEST_F(StateCalcTest, WholeReturnClearsEveryCalculatedFlagBeforeTheHooksRun) {
    // Copies of forms the state order never calculates are cleared too.
    for (const FormId& form : {kGAForm70ID, kStateForm14ID, kGAForm75ID}) {
        stateCopy(form)->setCalculatedFlag(true);
    }
    stateCopy(kGAForm75ID, 2)->setCalculatedFlag(true);
    engine.order = {kGAForm70ID};

    engine.calculateReturn(7);

    EXPECT_EQ(engine.events, (Events{"beforeCalc", "calcAllForms", "afterCalc"}));
    ASSERT_EQ(engine.flagsAtBeforeCalc.size(), 4u);
    for (bool flag : engine.flagsAtBeforeCalc) {
        EXPECT_FALSE(flag);
    }
}

TEST_F(StateCalcTest, AllCopiesRunsLastCopyFirstWithoutMarkingEntered) {
    for (std::uint16_t c = 1; c <= 3; ++c) {
        stateCopy(kGAForm73ID, c);
    }
    engine.calculateAllCopies(kGAForm73ID);
    EXPECT_EQ(engine.copies,
              (std::vector<CopyCall>{{kGAForm73ID, 3, 0, 1, 1}, {kGAForm73ID, 2, 0, 1, 1}, {kGAForm73ID, 1, 0, 1, 1}}));
    EXPECT_FALSE(state->isDataEntered(kGAForm73ID, 1));
}

TEST_F(StateCalcTest, AllCopiesOfAFormWithoutCopiesCallsNothing) {
    engine.calculateAllCopies(kGAForm73ID);
    EXPECT_TRUE(engine.copies.empty());
    EXPECT_EQ(state->getFormCount(kGAForm73ID), 0);
}

TEST_F(StateCalcTest, AllCopiesReachesACopyAboveAGapLeftByADeletion) {
    for (std::uint16_t c = 1; c <= 3; ++c) {
        stateCopy(kGAForm73ID, c);
    }
    state->deleteForm(kGAForm73ID, 2);
    engine.calculateAllCopies(kGAForm73ID);
    EXPECT_EQ(engine.copies, (std::vector<CopyCall>{{kGAForm73ID, 3, 0, 1, 1}, {kGAForm73ID, 1, 0, 1, 1}}));
}

TEST_F(StateCalcTest, OneCopyIsFetchedAnewAndAMissingCopyIsSkipped) {
    stateCopy(kGAForm73ID, 1);
    engine.calculateForm(kGAForm73ID, 2, 1, 5, 6, DataMgmt::TaxFormPtr());
    EXPECT_TRUE(engine.copies.empty());
    EXPECT_EQ(state->getFormCount(kGAForm73ID), 1);

    // The handle argument is not used: the dispatcher gets the stored copy.
    engine.calculateForm(kGAForm73ID, 1, 1, 5, 6, DataMgmt::TaxFormPtr());
    EXPECT_EQ(engine.copies, (std::vector<CopyCall>{{kGAForm73ID, 1, 1, 5, 6}}));
}

TEST_F(StateCalcTest, StateForm14IsKeptByTheStateLayerOnCopyOne) {
    const auto& f14 = kStateForm14FieldIds;
    engine.calculateForm(kStateForm14ID, 5, 1, 1, 1, DataMgmt::TaxFormPtr());

    EXPECT_TRUE(engine.copies.empty());
    ASSERT_TRUE(state->formExists(kStateForm14ID, 1));
    EXPECT_FALSE(state->formExists(kStateForm14ID, 5));
    auto copy = state->getForm(kStateForm14ID, 1);
    EXPECT_TRUE(copy->xMarked(f14.f9015));
    EXPECT_FALSE(copy->xMarked(f14.f9016));

    // A marked second box is the user's choice and stands.
    copy->setValue(f14.f9015, FieldValue());
    copy->setValue(f14.f9016, FieldValue::box(true));
    engine.calculateForm(kStateForm14ID, 1, 0, 1, 1, copy);
    EXPECT_FALSE(copy->xMarked(f14.f9015));
    EXPECT_TRUE(copy->xMarked(f14.f9016));
}

TEST_F(StateCalcTest, CalculateIfNeededRunsOnlyWhenTheReturnChanged) {
    stateCopy(kGAForm70ID);
    state->clearSaveNeeded();
    engine.calculateIfNeeded(0);
    EXPECT_TRUE(engine.events.empty());

    stateCopy(kGAForm70ID)->assignIR(kGAForm70FieldIds.f106, 5);
    engine.calculateIfNeeded(0);
    EXPECT_EQ(engine.events, (Events{"beforeCalc", "calcAllForms", "afterCalc"}));
}

TEST_F(StateCalcTest, ConstructionRefusesAReturnThatIsNotAStateReturn) {
    auto* us = static_cast<DataMgmt::USTaxReturn*>(federal.get());
    try {
        RecordingEngine bad(us, federal.get(), TaxFormPrintMgmt::TaxFormPrinterPtr());
        FAIL() << "a federal return was taken as the state return";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
        EXPECT_NE(e.getMessage().find("state return"), std::string::npos);
    }
    EXPECT_THROW(RecordingEngine(us, nullptr, TaxFormPrintMgmt::TaxFormPrinterPtr()), Exceptions::QuarloException);
    EXPECT_THROW(RecordingEngine(nullptr, state.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()),
                 Exceptions::QuarloException);
}

TEST_F(StateCalcTest, EngineKeepsItsOwnShareOfThePrinterHandle) {
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(new StateTaxFormPrintMgmt::StateTaxFormPrinter(&st()));
    {
        RecordingEngine withPrinter(static_cast<DataMgmt::USTaxReturn*>(federal.get()), state.get(), printer);
        EXPECT_EQ(printer.useCount(), 2);
    }
    EXPECT_EQ(printer.useCount(), 1);
}

// ------------------------------------------------------------ clearFieldRange

class ClearFieldRangeTest : public StateCalcTest {
protected:
    // Fills every field of form 70 copy 1 with a value of its kind.
    DataMgmt::TaxFormPtr filledForm70() {
        auto copy = stateCopy(kGAForm70ID);
        for (auto it = copy->getTaxFormDescriptor()->getFieldIDs(); !it.atEOL(); it.next()) {
            const auto field = copy->getTaxFormDescriptor()->getFieldDesc(it.getFieldID());
            copy->setValue(it.getFieldID(), field->isText()      ? FieldValue::text("1")
                                            : field->isBoolean() ? FieldValue::box(true)
                                                                 : FieldValue::number(1));
        }
        return copy;
    }
    // The places of form 70's fields that hold no value.
    std::vector<int> nullPlaces(const DataMgmt::TaxFormPtr& copy) {
        std::vector<int> places;
        int place = 0;
        for (auto it = copy->getTaxFormDescriptor()->getFieldIDs(); !it.atEOL(); it.next(), ++place) {
            if (copy->isNull(it.getFieldID())) {
                places.push_back(place);
            }
        }
        return places;
    }
    int placeOf(const FieldId& field) { return stateCopy(kGAForm70ID)->getTaxFormDescriptor()->positionOf(field); }
    static std::vector<int> run(int from, int to) {
        std::vector<int> places;
        for (int p = from; p <= to; ++p) {
            places.push_back(p);
        }
        return places;
    }
};

TEST_F(ClearFieldRangeTest, ClearsByFormOrderNotByFieldNumber) {
    auto copy = filledForm70();
    const auto& f70 = kGAForm70FieldIds;
    const int first = placeOf(f70.f190488);
    const int last = placeOf(f70.f190493);
    ASSERT_LT(first, last);
    engine.clearFieldRange(kGAForm70ID, 1, f70.f190488, f70.f190493);
    EXPECT_EQ(nullPlaces(copy), run(first, last));
}

TEST_F(ClearFieldRangeTest, FirstAfterLastClearsOnlyLast) {
    auto copy = filledForm70();
    const auto& f70 = kGAForm70FieldIds;
    engine.clearFieldRange(kGAForm70ID, 1, f70.f190493, f70.f190488);
    EXPECT_EQ(nullPlaces(copy), std::vector<int>{placeOf(f70.f190488)});
}

TEST_F(ClearFieldRangeTest, NullBoundsStandForTheFormsEnds) {
    auto copy = filledForm70();
    const int count = static_cast<int>(copy->getTaxFormDescriptor()->fieldCount());
    const auto& f70 = kGAForm70FieldIds;
    engine.clearFieldRange(kGAForm70ID, 1, f70.f190488, Primitives::kNullFieldID);
    EXPECT_EQ(nullPlaces(copy), run(placeOf(f70.f190488), count - 1));

    copy = filledForm70();
    engine.clearFieldRange(kGAForm70ID, 1, Primitives::kNullFieldID, f70.f190488);
    EXPECT_EQ(nullPlaces(copy), run(0, placeOf(f70.f190488)));

    copy = filledForm70();
    engine.clearFieldRange(kGAForm70ID, 1, Primitives::kNullFieldID, Primitives::kNullFieldID);
    EXPECT_EQ(nullPlaces(copy), run(0, count - 1));
}

TEST_F(ClearFieldRangeTest, AMissingCopyIsNotCreated) {
    engine.clearFieldRange(kGAForm70ID, 2, Primitives::kNullFieldID, Primitives::kNullFieldID);
    EXPECT_FALSE(state->formExists(kGAForm70ID, 2));
}

// ------------------------------------------------ storeScaledAmount and clamp

TEST_F(StateCalcTest, ScaledAmountHandsBackWhatTheStoreKept) {
    auto copy = stateCopy(kGAForm70ID);
    const FieldId field = kGAForm70FieldIds.f106;
    double amount = 12.345;
    engine.storeScaledAmount(kGAForm70ID, 1, field, amount, 2);
    EXPECT_DOUBLE_EQ(copy->getIR(field), 1234.5);
    EXPECT_DOUBLE_EQ(amount, 12.35);  // 1234.5 kept as the whole number 1235

    for (char decimals : {char(0), char(7), char(-1)}) {
        amount = 12.4;
        engine.storeScaledAmount(kGAForm70ID, 1, field, amount, decimals);
        EXPECT_DOUBLE_EQ(copy->getIR(field), 12.4) << int(decimals);
        EXPECT_DOUBLE_EQ(amount, 12.0) << int(decimals);
    }

    amount = 0.000001;
    engine.storeScaledAmount(kGAForm70ID, 1, field, amount, 6);
    EXPECT_DOUBLE_EQ(copy->getIR(field), 1.0);
    EXPECT_DOUBLE_EQ(amount, 0.000001);
}

TEST_F(StateCalcTest, ScaledAmountOnAMissingCopyWritesNothingAndGivesZero) {
    double amount = 99.0;
    engine.storeScaledAmount(kGAForm70ID, 2, kGAForm70FieldIds.f106, amount, 2);
    EXPECT_EQ(amount, 0.0);
    EXPECT_FALSE(state->formExists(kGAForm70ID, 2));
}

TEST_F(StateCalcTest, DefaultOrClampKeepsValuesInsideTheRange) {
    auto copy = stateCopy(kGAForm70ID);
    const FieldId field = kGAForm70FieldIds.f106;
    auto apply = [&](FieldValue before) {
        copy->setValue(field, before);
        engine.defaultOrClampField(kGAForm70ID, 1, field, 4, 1, 4);
        return copy->getValue(field);
    };
    EXPECT_EQ(apply(FieldValue()), FieldValue::number(4));
    EXPECT_EQ(apply(FieldValue::number(0)), FieldValue::number(1));
    EXPECT_EQ(apply(FieldValue::number(6)), FieldValue::number(4));
    EXPECT_EQ(apply(FieldValue::number(2)), FieldValue::number(2));
    EXPECT_EQ(apply(FieldValue::number(1)), FieldValue::number(1));
    EXPECT_EQ(apply(FieldValue::number(4)), FieldValue::number(4));
    // The comparison is on the whole value: 4.4 reads as 4 and stays.
    EXPECT_EQ(apply(FieldValue::number(4.4)), FieldValue::number(4.4));

    engine.defaultOrClampField(kGAForm70ID, 3, field, 4, 1, 4);
    EXPECT_FALSE(state->formExists(kGAForm70ID, 3));
}

}  // namespace
}  // namespace statecalctest
