// The mapping of federal fields to the Georgia fields that receive them.

#include <gtest/gtest.h>

#include "module/catalogues/GAForm69FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "tests/frame/FrameFixture.h"

namespace {

using Form = Primitives::QVImmutableFormIdentifier;
using Field = Primitives::QVImmutableIdentifier;

class GAFieldMapping : public frametest::ReturnFixture {
protected:
    struct Answer {
        Form form;
        Field field;
    };
    Answer map(const Form& federalForm, int federalField) {
        Answer a{Form(555, true), Field(555)};  // stale values the mapping must reset
        ga_->mapFederalField(federalForm, Field(federalField), a.form, a.field);
        return a;
    }
    const std::vector<StateDataMgmt::DebugStateFieldCall>& diagnostics() const { return ga_->debugStateFieldCalls(); }
};

TEST_F(GAFieldMapping, ReceivingFormForFieldZeroOrBelow) {
    const std::pair<Form, Form> forms[] = {
        {kForm92ID, kGAForm69ID},           {kForm43ID, kGAForm72ID},  {kForm155ID, kGAForm72ID},
        {kForm136ID, kGAForm77ID},          {kForm183ID, kGAForm69ID}, {kForm131ID, kGAForm69ID},
        {kForm133618ID, kStateForm32783ID},
    };
    for (const auto& [federal, receiving] : forms) {
        for (int field : {0, -3}) {
            const Answer a = map(federal, field);
            EXPECT_EQ(a.form, receiving) << "federal form " << federal.getNumber() << " field " << field;
            EXPECT_TRUE(a.form.isState());
            EXPECT_EQ(a.field.getNumber(), 0);
        }
    }
    EXPECT_TRUE(diagnostics().empty());
}

TEST_F(GAFieldMapping, EveryFieldRowGivesItsReceivingField) {
    struct Row {
        Form form;
        int federal;
        int receiving;
    };
    const Row rows[] = {
        {kForm92ID, 624, 9},
        {kForm92ID, 625, 10},
        {kForm92ID, 626, 11},
        {kForm92ID, 536, 77},
        {kForm92ID, 766, 13},
        {kForm92ID, 711, 0},
        {kForm92ID, 392, 79},
        {kForm92ID, 391, 80},
        {kForm92ID, 393, 81},
        {kForm92ID, 394, 82},
        {kForm43ID, 41, 1},
        {kForm155ID, 41, 1},
        {kForm183ID, 33, 78},
        {kForm183ID, 188831, 189221},
        {kForm183ID, 34, 0},
        {kForm183ID, 155, 187983},
        {kForm183ID, 154, 187984},
        {kForm183ID, 158, 187987},
        {kForm183ID, 160, 187988},
        {kForm183ID, 156, 187985},
        {kForm183ID, 157, 187986},
        {kForm183ID, 162, 187989},
        {kForm183ID, 164, 187990},
        {kForm183ID, 79766, 81572},
        {kForm183ID, 79767, 81573},
        {kForm183ID, 79768, 81574},
        {kForm183ID, 79769, 81575},
        {kForm183ID, 142796, 142824},
        {kForm183ID, 142797, 142825},
        {kForm183ID, 142798, 142826},
        {kForm183ID, 69705, 0},
        {kForm131ID, 72481, 133617},
        {kForm133618ID, 133652, 133645},
        {kForm133618ID, 133653, 133646},
        {kForm133618ID, 133654, 133647},
    };
    for (const Row& row : rows) {
        const Answer a = map(row.form, row.federal);
        EXPECT_EQ(a.field.getNumber(), row.receiving)
            << "federal form " << row.form.getNumber() << " field " << row.federal;
        EXPECT_EQ(a.form.getNumber(), 0) << "a field answer leaves the form at 0";
        // The receiving field holds what its federal field holds, a date as
        // a date; the office answer of form 131 only marks its box.
        if (row.receiving != 0 && row.form != kForm131ID) {
            const auto federal =
                frametest::definitions().federal->getTaxFormDescriptor(row.form)->getFieldDesc(Field(row.federal));
            const auto receiving = frametest::definitions()
                                       .georgia->getTaxFormDescriptor(map(row.form, 0).form)
                                       ->getFieldDesc(Field(row.receiving));
            EXPECT_EQ(federal->getKind(), receiving->getKind()) << "federal field " << row.federal;
            EXPECT_EQ(federal->isDate(), receiving->isDate()) << "federal field " << row.federal;
        }
    }
    EXPECT_TRUE(diagnostics().empty()) << "known fields, with or without a counterpart, are not reported";
}

TEST_F(GAFieldMapping, UnlistedFieldsAreReportedWithTheFormsPlace) {
    const std::tuple<Form, int, std::uint32_t> cases[] = {
        {kForm92ID, 25, 187},  {kForm43ID, 40, 197},     {kForm155ID, 42, 197},        {kForm136ID, 1, 203},
        {kForm183ID, 35, 268}, {kForm131ID, 72480, 281}, {kForm133618ID, 133655, 298},
    };
    for (const auto& [form, field, place] : cases) {
        ga_->clearDebugStateFieldCalls();
        const Answer a = map(form, field);
        EXPECT_EQ(a.form.getNumber(), 0);
        EXPECT_EQ(a.field.getNumber(), 0);
        ASSERT_EQ(diagnostics().size(), 1u) << "federal form " << form.getNumber();
        EXPECT_EQ(diagnostics()[0].kind, StateDataMgmt::kDebugNoFieldRow);
        EXPECT_EQ(diagnostics()[0].place, place);
        EXPECT_EQ(diagnostics()[0].form, form);
        EXPECT_EQ(diagnostics()[0].field.getNumber(), field);
    }
}

TEST_F(GAFieldMapping, FormsOutsideTheTableAreReportedWhateverTheField) {
    for (int field : {0, 1, 624}) {
        ga_->clearDebugStateFieldCalls();
        const Answer a = map(kForm1ID, field);
        EXPECT_EQ(a.form.getNumber(), 0);
        EXPECT_FALSE(a.form.isState());
        EXPECT_EQ(a.field.getNumber(), 0);
        ASSERT_EQ(diagnostics().size(), 1u);
        EXPECT_EQ(diagnostics()[0].kind, StateDataMgmt::kDebugNoFormMatch);
        EXPECT_EQ(diagnostics()[0].place, 302u);
    }
    // The state flag counts: Georgia form 92 does not exist, state form 2 is
    // not federal form 2.
    ga_->clearDebugStateFieldCalls();
    EXPECT_EQ(map(Form(92, true), 0).form.getNumber(), 0);
    EXPECT_EQ(diagnostics().size(), 1u);
}

TEST_F(GAFieldMapping, OfficeFieldMarksTheInformationFormBox) {
    DataMgmt::TaxFormPtr info = copy(kGAForm69ID);
    map(kForm131ID, 0);
    EXPECT_FALSE(info->xMarked(kGAForm69FieldIds.f133617)) << "asking for the form changes nothing";

    EXPECT_EQ(map(kForm131ID, 72481).field, kGAForm69FieldIds.f133617);
    EXPECT_TRUE(info->xMarked(kGAForm69FieldIds.f133617));

    info->setValue(kGAForm69FieldIds.f133617, DataMgmt::FieldValue::null());
    map(kForm131ID, 72481);
    EXPECT_TRUE(info->xMarked(kGAForm69FieldIds.f133617)) << "marked again on every call";
}

TEST_F(GAFieldMapping, OfficeFieldWithoutAnInformationFormStillAnswers) {
    Answer a{};
    EXPECT_NO_THROW(a = map(kForm131ID, 72481));
    EXPECT_EQ(a.field, kGAForm69FieldIds.f133617);
    EXPECT_FALSE(ga_->formExists(kGAForm69ID, 1)) << "no copy is made to hold the mark";
}

TEST_F(GAFieldMapping, OneIdentifierAsFederalAndStateFieldAsksForTheForm) {
    Field shared(624);
    Form stateForm;
    ga_->mapFederalField(kForm92ID, shared, stateForm, shared);
    EXPECT_EQ(stateForm, kGAForm69ID);
    EXPECT_EQ(shared.getNumber(), 0);
}

}  // namespace
