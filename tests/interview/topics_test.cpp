// The interview topics: each class's fixed row, its status rule, its events,
// its title and its script-query handler.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/interview/GATopics.h"
#include "module/interview/StateScriptQueryHandler.h"
#include "module/interview/XSTopics.h"
#include "tests/interview/interview_fixture.h"

namespace {

using namespace GATopicMgmt;
using namespace XSTopicMgmt;
using TopicMgmt::TopicDesc;
using TopicPtr = std::unique_ptr<TopicDesc>;
using Make = std::function<TopicPtr(DataMgmt::TaxDataStore&)>;

template <class T>
Make ga() {
    return [](DataMgmt::TaxDataStore& s) { return TopicPtr(new T(s)); };
}
template <class T>
Make xs() {
    return [](DataMgmt::TaxDataStore& s) { return TopicPtr(new T(s, DataMgmt::kGeorgiaReturnType)); };
}

class TopicTest : public interviewtest::StoreFixture {};

// ------------------------------------------------------------ rows

struct Row {
    Make make;
    int topic, locality;
    const char *key, *title;
    int flag5, gateway, flag7, statusForm, statusField, status, number15, flag21, flag22;
};

TEST_F(TopicTest, EveryClassPassesItsRowToTheHost) {
    // The three titles taken from the return are checked with the titles.
    const Row rows[] = {
        {xs<CreditsTopicDesc>(), 18, 2, "Credits", nullptr, 0, 1, 0, 14, 39, 0, 5, 1, 0},
        {xs<EndgrpTopicDesc>(), 5, 2, "Endgrp", nullptr, 0, 1, 0, 14, 19, 0, 5, 1, 0},
        {xs<TaxPayPenTopicDesc>(), 20, 2, "TaxPayPen", nullptr, 0, 1, 0, 14, 40, 0, 5, 1, 0},
        {xs<UpdateStateTopicDesc>(), 23, 2, "UpdateState", "Program Updates", 0, 0, 0, 14, 9012, 0, 33, 0, 0},
        {ga<GASecondaryNavsTopicDesc>(), 44085, 13, "GASecondaryNavs", "GA Secondary Navigation Tables", 0, 2, 0, 0, 0,
         0, 5, 0, 1},
        {ga<extoftimTopicDesc>(), 30, 13, "extoftim", "Extension of Time to File", 1, 0, 1, 69, 18, 1, 5, 0, 0},
        {ga<gaaddTopicDesc>(), 39, 13, "gaadd", "Additions", 1, 0, 0, 70, 260, 1, 5, 0, 0},
        {ga<gaamendTopicDesc>(), 49, 13, "gaamend", "Amended Return", 1, 0, 0, 189219, 189557, 1, 5, 0, 0},
        {ga<gacontribTopicDesc>(), 48, 13, "gacontrib", "Contributions", 1, 0, 0, 70, 265, 1, 5, 0, 0},
        {ga<gacredsumTopicDesc>(), 43, 13, "gacredsum", "Credits Summary", 0, 0, 0, 70, 264, 0, 5, 0, 0},
        {ga<gadeductTopicDesc>(), 42, 13, "gadeduct", "Deductions", 1, 0, 0, 70, 263, 0, 5, 0, 0},
        {ga<gaestTopicDesc>(), 29, 13, "gaest", "Estimated Taxes", 1, 0, 1, 75, 1, 1, 5, 0, 0},
        {ga<gaextpayTopicDesc>(), 44, 13, "gaextpay", "Amount Paid with Extension to File", 1, 0, 0, 69, 89, 1, 5, 0,
         0},
        {ga<gagsTopicDesc>(), 35459, 13, "gags", "Welcome to Your Georgia Return", 0, 0, 0, 14, 18, 0, 5, 1, 0},
        {ga<gaincomeTopicDesc>(), 38, 13, "gaincome", "Income (Part-Year/Nonresidents)", 1, 0, 1, 69, 86, 1, 5, 0, 0},
        {ga<gaincsectionTopicDesc>(), 33442, 13, "gaincsection", "Georgia Income", 0, 0, 0, 70, 33440, 0, 5, 1, 0},
        {ga<gaincsumTopicDesc>(), 41, 13, "gaincsum", "Income Summary", 0, 0, 0, 70, 262, 0, 5, 0, 0},
        {ga<gainfoTopicDesc>(), 18, 13, "gainfo", "Personal Information", 1, 1, 1, 69, 3, 0, 5, 0, 0},
        {ga<gamiscTopicDesc>(), 46, 13, "gamisc", "Georgia Miscellaneous", 0, 0, 0, 69, 90, 0, 5, 1, 0},
        {ga<gapaypensumTopicDesc>(), 45, 13, "gapaypensum", "Taxes, Payments and Penalties Summary", 0, 0, 0, 69, 87, 0,
         5, 0, 0},
        {ga<garefappTopicDesc>(), 47, 13, "garefapp", "Apply Your Refund", 0, 0, 0, 69, 88, 1, 5, 0, 0},
        {ga<gastcrTopicDesc>(), 22, 13, "gastcr", "Other State Tax Credit", 1, 0, 0, 73, 1, 1, 5, 0, 0},
        {ga<gasubTopicDesc>(), 40, 13, "gasub", "Subtractions", 1, 0, 0, 70, 261, 0, 5, 0, 0},
        {ga<gaunderTopicDesc>(), 28, 13, "gaunder", "Underpayment Penalty", 1, 0, 0, 71, 1, 1, 5, 0, 0},
        {ga<lowinctcTopicDesc>(), 25, 13, "lowinctc", "Low Income Credit", 1, 0, 0, 70, 16, 1, 5, 0, 0},
        {ga<miscbusTopicDesc>(), 203810, 13, "miscbus", "Other Business and Miscellaneous Credits", 1, 4, 0, 203811,
         203833, 1, 4, 0, 0},
        {ga<sched2TopicDesc>(), 24, 13, "sched2", "Miscellaneous Credits", 1, 0, 0, 70, 14, 0, 5, 0, 0},
    };
    for (const Row& expected : rows) {
        const TopicPtr topic = expected.make(store_);
        const TopicMgmt::TopicRow& row = topic->getRow();
        SCOPED_TRACE(expected.key);
        EXPECT_EQ(row.id.getNumber(), expected.topic);
        EXPECT_EQ(row.id.getLocality(), expected.locality);
        EXPECT_EQ(row.key, expected.key);
        if (expected.title != nullptr) {
            EXPECT_EQ(row.title, expected.title);
        }
        EXPECT_EQ(std::vector<int>({row.flag5, row.gateway, row.flag7, row.statusForm.getNumber(),
                                    row.statusField.getNumber(), row.status, row.number15, row.flag21, row.flag22}),
                  std::vector<int>({expected.flag5, expected.gateway, expected.flag7, expected.statusForm,
                                    expected.statusField, expected.status, expected.number15, expected.flag21,
                                    expected.flag22}));
        // Every status form is a state form (form 0 included, which is none).
        EXPECT_EQ(row.statusForm.isState(), expected.statusForm != 0);
        const bool miscbus = std::string(expected.key) == "miscbus";
        EXPECT_EQ(row.secondForm, miscbus ? kGAForm69ID : Primitives::QVImmutableFormIdentifier(0));
        EXPECT_EQ(row.secondField.getNumber(), miscbus ? 203812 : 0);
        // The same for every topic.
        EXPECT_EQ(row.returnType, DataMgmt::kGeorgiaReturnType);
        EXPECT_EQ(row.platform, 2);
        EXPECT_EQ(
            std::vector<long>({row.field16.getNumber(), row.field17.getNumber(), row.number18, row.flag19, row.flag20}),
            std::vector<long>(5, 0));
        // The module's handler replaced the host's.
        EXPECT_NE(dynamic_cast<StateTopicMgmt::StateScriptQueryHandler*>(topic->getScriptQueryHandler()), nullptr);
    }
}

// A handler that counts its own destruction.
class CountedHandler : public TopicMgmt::ScriptQueryHandler {
public:
    CountedHandler(DataMgmt::TaxDataStore& store, int& destroyed)
        : ScriptQueryHandler(store, DataMgmt::kFederalReturnType), destroyed_(destroyed) {}
    ~CountedHandler() override { ++destroyed_; }

private:
    int& destroyed_;
};

TEST_F(TopicTest, ANewHandlerReplacesTheOldOne) {
    gagsTopicDesc topic(store_);
    int destroyed = 0;
    topic.setScriptQueryHandler(new CountedHandler(store_, destroyed));
    topic.createScriptQueryHandler();
    EXPECT_EQ(destroyed, 1);
    auto* handler = dynamic_cast<StateTopicMgmt::StateScriptQueryHandler*>(topic.getScriptQueryHandler());
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(&handler->getTaxDataStore(), &store_);
    EXPECT_EQ(handler->getReturnType(), DataMgmt::kGeorgiaReturnType);
}

// ------------------------------------------------------------ titles

TEST_F(TopicTest, SectionTitlesNameTheStateOfTheReturnInTheStore) {
    CreditsTopicDesc credits(store_, DataMgmt::kGeorgiaReturnType);
    TaxPayPenTopicDesc taxPayPen(store_, DataMgmt::kGeorgiaReturnType);
    EndgrpTopicDesc endgrp(store_, DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(credits.getTitle(), "Georgia Credits");
    EXPECT_EQ(taxPayPen.getTitle(), "Georgia Taxes, Payments and Penalties");
    EXPECT_EQ(endgrp.getTitle(), "Finished Georgia Interview");

    // Without a return of the topic's type the row's titles stay.
    DataMgmt::TaxDataStore empty;
    EXPECT_EQ(CreditsTopicDesc(empty, DataMgmt::kGeorgiaReturnType).getTitle(), "Credits");
    EXPECT_EQ(TaxPayPenTopicDesc(empty, DataMgmt::kGeorgiaReturnType).getTitle(), "Taxes, Payments and Penalties");
    EXPECT_EQ(EndgrpTopicDesc(empty, DataMgmt::kGeorgiaReturnType).getTitle(), "Finished State Interview");
}

// ------------------------------------------------------------ statuses

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;
using Set = std::function<void(DataMgmt::TaxReturn&)>;

Set box(const FormId& form, const FieldId& field, bool yes = true) {
    return
        [=](DataMgmt::TaxReturn& r) { r.getFormUVPtr(form, 1, true)->setValue(field, DataMgmt::FieldValue::box(yes)); };
}
Set amount(const FormId& form, const FieldId& field, double v) {
    return [=](DataMgmt::TaxReturn& r) {
        r.getFormUVPtr(form, 1, true)->setValue(field, DataMgmt::FieldValue::number(v));
    };
}
Set both(Set a, Set b) {
    return [=](DataMgmt::TaxReturn& r) {
        a(r);
        b(r);
    };
}

struct StatusCase {
    const char* what;
    Make make;
    Set set;
    TopicMgmt::TopicStatus expected;
};

TEST_F(TopicTest, StatusRules) {
    const auto& f14 = kStateForm14FieldIds;
    const auto& form69 = kForm69Lines;
    const auto& form70 = kForm70Lines;
    const Set nothing = [](DataMgmt::TaxReturn&) {};
    const TopicMgmt::TopicStatus needed = TopicMgmt::kTopicStatusNeeded, partial = TopicMgmt::kTopicStatusPartial,
                                 notNeeded = TopicMgmt::kTopicStatusNotNeeded;
    const StatusCase cases[] = {
        {"Credits done", xs<CreditsTopicDesc>(), box(kStateForm14ID, f14.f32585), notNeeded},
        {"Credits open", xs<CreditsTopicDesc>(), nothing, needed},
        {"TaxPayPen done", xs<TaxPayPenTopicDesc>(), box(kStateForm14ID, f14.f32585), notNeeded},
        {"TaxPayPen open", xs<TaxPayPenTopicDesc>(), box(kStateForm14ID, f14.f32585, false), needed},
        {"extoftim yes", ga<extoftimTopicDesc>(), box(kGAForm69ID, form69.questions.extension), needed},
        {"extoftim no", ga<extoftimTopicDesc>(), nothing, notNeeded},
        {"gaadd marked", ga<gaaddTopicDesc>(), box(kGAForm70ID, form70.review.reviewNeeded), needed},
        {"gaadd not marked", ga<gaaddTopicDesc>(), box(kGAForm70ID, form70.review.reviewNeeded, false), notNeeded},
        {"gaamend yes", ga<gaamendTopicDesc>(), box(kGAForm69ID, form69.questions.amended), needed},
        {"gaamend no", ga<gaamendTopicDesc>(), nothing, notNeeded},
        {"gacontrib yes", ga<gacontribTopicDesc>(), box(kGAForm69ID, form69.questions.contributes), needed},
        {"gacontrib no", ga<gacontribTopicDesc>(), nothing, notNeeded},
        {"gaest yes", ga<gaestTopicDesc>(), box(kGAForm69ID, form69.questions.estimatedTax), needed},
        {"gaest no", ga<gaestTopicDesc>(), nothing, notNeeded},
        {"gaincome full year", ga<gaincomeTopicDesc>(), box(kGAForm69ID, form69.residency.fullYear), notNeeded},
        {"gaincome part year", ga<gaincomeTopicDesc>(), nothing, needed},
        {"garefapp overpaid, applied", ga<garefappTopicDesc>(),
         both(amount(kGAForm70ID, form70.result.overpaid, 1), box(kGAForm69ID, form69.questions.appliesRefund)),
         needed},
        {"garefapp overpaid, not applied", ga<garefappTopicDesc>(), amount(kGAForm70ID, form70.result.overpaid, 1),
         notNeeded},
        {"garefapp nothing overpaid", ga<garefappTopicDesc>(),
         both(amount(kGAForm70ID, form70.result.overpaid, 0), box(kGAForm69ID, form69.questions.appliesRefund)),
         notNeeded},
        {"garefapp negative", ga<garefappTopicDesc>(),
         both(amount(kGAForm70ID, form70.result.overpaid, -3), box(kGAForm69ID, form69.questions.appliesRefund)),
         notNeeded},
        {"gastcr nonresident", ga<gastcrTopicDesc>(), box(kGAForm69ID, form69.residency.nonresident), notNeeded},
        {"gastcr resident", ga<gastcrTopicDesc>(), nothing, needed},
        {"gaunder due", ga<gaunderTopicDesc>(), amount(kGAForm70ID, form70.result.due, 1), partial},
        {"gaunder nothing due", ga<gaunderTopicDesc>(), amount(kGAForm70ID, form70.result.due, 0), notNeeded},
        {"lowinctc yes", ga<lowinctcTopicDesc>(), box(kGAForm70ID, form70.residency.residentAtYearEnd), partial},
        {"lowinctc no", ga<lowinctcTopicDesc>(), nothing, notNeeded},
        {"miscbus yes", ga<miscbusTopicDesc>(), box(kGAForm70ID, form70.questions.otherCredits), needed},
        {"miscbus no", ga<miscbusTopicDesc>(), nothing, notNeeded},
        // A topic without a rule of its own answers its row's status.
        {"gaextpay", ga<gaextpayTopicDesc>(), nothing, partial},
    };
    for (const StatusCase& c : cases) {
        for (const auto& form : {kGAForm69ID, kGAForm70ID, kStateForm14ID}) ga_->deleteForm(form, 1);
        c.set(*ga_);
        EXPECT_EQ(c.make(store_)->getTopicStatus(), c.expected) << c.what;
    }
}

TEST_F(TopicTest, AStatusWithoutTheReturnIsRefused) {
    DataMgmt::TaxDataStore empty;
    EXPECT_THROW(gaunderTopicDesc(empty).getTopicStatus(), Exceptions::QuarloException);
    EXPECT_THROW(CreditsTopicDesc(empty, DataMgmt::kGeorgiaReturnType).getTopicStatus(), Exceptions::QuarloException);
}

// ------------------------------------------------------------ events

using Call = DataMgmt::InterviewServiceCall;

const std::vector<Call>& serviceCalls() { return DataMgmt::TaxDataMgr::getInstance().interviewServiceCalls(); }

TEST_F(TopicTest, EndgrpFinishesTheInterviewOnNextAtItsGatewayOnly) {
    EndgrpTopicDesc endgrp(store_, DataMgmt::kGeorgiaReturnType);
    const TopicMgmt::TopicPath gateway(true), inside(false);
    EXPECT_FALSE(endgrp.handleUserEvent(TopicMgmt::kUserEvent_NEXT, inside));
    EXPECT_FALSE(endgrp.handleUserEvent(TopicMgmt::kUserEvent_BACK, gateway));
    EXPECT_FALSE(endgrp.handleUserEvent(TopicMgmt::kUserEvent_UPDATE_NOW, gateway));
    EXPECT_TRUE(serviceCalls().empty());

    EXPECT_TRUE(endgrp.handleUserEvent(TopicMgmt::kUserEvent_NEXT, gateway));
    ASSERT_EQ(serviceCalls().size(), 1u);
    EXPECT_EQ(serviceCalls()[0].service, Call::Service::FinishInterview);
    EXPECT_EQ(serviceCalls()[0].first, 0);
    EXPECT_EQ(serviceCalls()[0].second, 0);
}

TEST_F(TopicTest, UpdateStateAnswersBackUpdateNowAndNext) {
    const auto& f14 = kStateForm14FieldIds;
    UpdateStateTopicDesc update(store_, DataMgmt::kGeorgiaReturnType);
    const TopicMgmt::TopicPath path;
    const auto box = [&](const Primitives::QVImmutableIdentifier& field) {
        return ga_->getValue(kStateForm14ID, 1, field);
    };
    copy(kStateForm14ID);

    // Next while the yes box is not marked: nothing happens.
    EXPECT_FALSE(update.handleUserEvent(TopicMgmt::kUserEvent_NEXT, path));
    EXPECT_TRUE(box(f14.f9015).isNull());
    EXPECT_TRUE(serviceCalls().empty());

    // Back marks yes and clears no, and is not handled.
    setBox(kStateForm14ID, f14.f9016, true);
    EXPECT_FALSE(update.handleUserEvent(TopicMgmt::kUserEvent_BACK, path));
    EXPECT_TRUE(box(f14.f9015).boxYes());
    EXPECT_TRUE(box(f14.f9016).boxNo());
    EXPECT_TRUE(serviceCalls().empty());

    // Next with yes marked takes the updates.
    EXPECT_TRUE(update.handleUserEvent(TopicMgmt::kUserEvent_NEXT, path));
    ASSERT_EQ(serviceCalls().size(), 1u);

    // Update now clears yes and takes the updates.
    EXPECT_TRUE(update.handleUserEvent(TopicMgmt::kUserEvent_UPDATE_NOW, path));
    EXPECT_TRUE(box(f14.f9015).boxNo());
    ASSERT_EQ(serviceCalls().size(), 2u);
    for (const Call& call : serviceCalls()) {
        EXPECT_EQ(call.service, Call::Service::UpdateState);
        EXPECT_EQ(call.store, &store_);
        EXPECT_EQ(call.returnType, DataMgmt::kGeorgiaReturnType);
        EXPECT_TRUE(call.returnPresent);
    }
}

}  // namespace
