// The Georgia whole-return calculation: forms created, the walk of
// GACalcOrder, the per-copy dispatch and its data-entered mark, the hooks
// before and after the walk, and the shared state worksheet 4.
#include <gtest/gtest.h>

#include <set>

#include "engine_fixture.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/StateForm32783FieldIds.h"
#include "platform/Exceptions.h"

namespace gaenginetest {
namespace {

using GACalculationMgmt::GACalcOrder;

const auto& f69 = kGAForm69FieldIds;
const auto& f70 = kGAForm70FieldIds;
const auto& s32783 = kStateForm32783FieldIds;

TEST(CalcOrder, IsTheGeorgiaOrderOf38StateFormsClosedByFormZero) {
    const std::vector<int> expected{69,     70,     189215, 189216, 189217, 2,      3,      4,      76,     70,
                                    189218, 74,     190054, 190055, 190056, 190057, 190058, 190059, 190060, 190061,
                                    190062, 187981, 203638, 203639, 203811, 73,     204111, 189215, 189216, 189217,
                                    70,     71,     70,     72,     77,     75,     187982, 189219};
    std::vector<int> order;
    for (std::size_t i = 0; GACalcOrder[i].getNumber() > 0; ++i) {
        EXPECT_TRUE(GACalcOrder[i].isState()) << i;
        order.push_back(GACalcOrder[i].getNumber());
    }
    EXPECT_EQ(order, expected);
    EXPECT_EQ(GACalcOrder.back().getNumber(), 0);
}

TEST_F(EngineTest, FullCalculationWalksTheOrderLastCopyFirst) {
    // One copy of every form of the order, three of form 73 and two of state
    // form 2; the part-year schedule is needed.
    for (std::size_t i = 0; GACalcOrder[i].getNumber() > 0; ++i) {
        gaCopy(GACalcOrder[i]);
    }
    gaCopy(kGAForm73ID, 3);
    gaCopy(kGAForm73ID, 2);
    gaCopy(kStateForm2ID, 2);
    setBox(gaCopy(kGAForm69ID), f69.f38);

    engine.calculateReturn(0);

    std::vector<CopyRef> expected;
    for (std::size_t i = 0; GACalcOrder[i].getNumber() > 0; ++i) {
        const FormId& form = GACalcOrder[i];
        for (int c = ga->getFormCount(form); c >= 1; --c) {
            expected.emplace_back(form, c);
        }
    }
    EXPECT_EQ(walked(), expected);
    for (const auto& call : engine.calls) {
        EXPECT_EQ(call.markEntered, 0);
        EXPECT_EQ(call.second, 1);
        EXPECT_EQ(call.third, 1);
    }
}

TEST_F(EngineTest, FormsTheReturnAlwaysNeedsAreCreated) {
    engine.dispatch = false;
    georgiaHomeAddress();
    engine.calculateReturn(0);
    for (const FormId& form : {kGAForm70ID, kGAForm77ID, kGAForm189215ID, kGAForm189216ID, kGAForm187982ID, kGAForm74ID,
                               kGAForm204111ID, kStateForm32783ID}) {
        EXPECT_TRUE(ga->formExists(form, 1)) << form.getNumber();
    }
    // Full-year resident without the federal amount: neither conditional form.
    EXPECT_FALSE(ga->formExists(kGAForm189217ID, 1));
    EXPECT_FALSE(ga->formExists(kGAForm190055ID, 1));
    // The walk found no copy of the part-year schedule at its two entries.
    for (const auto& call : engine.calls) {
        EXPECT_NE(call.form, kGAForm189217ID);
    }
}

TEST_F(EngineTest, PartYearScheduleIsCreatedForNonresidentsAndPartYearResidents) {
    engine.dispatch = false;
    setBox(gaCopy(kGAForm69ID), f69.f37);
    engine.calculateReturn(0);
    EXPECT_TRUE(ga->formExists(kGAForm189217ID, 1));
}

TEST_F(EngineTest, CreditWorksheet202IsCreatedOnlyForAPositiveFederalAmount) {
    engine.dispatch = false;
    georgiaHomeAddress();
    gaReturn()->setPullCommon(kForm1ID, Utils::PCTypes::kFederalChildCareCredit, 0);
    engine.calculateReturn(0);
    EXPECT_FALSE(ga->formExists(kGAForm190055ID, 1));

    // The amount is asked of the federal form filed: form 55 here.
    setBox(fedCopy(kForm104ID), FieldId(181));
    setText(fedCopy(kForm55ID), FieldId(9), "GA");
    gaReturn()->setPullCommon(kForm1ID, Utils::PCTypes::kFederalChildCareCredit, 5);
    engine.calculateReturn(0);
    EXPECT_FALSE(ga->formExists(kGAForm190055ID, 1));
    gaReturn()->setPullCommon(kForm55ID, Utils::PCTypes::kFederalChildCareCredit, 1);
    engine.calculateReturn(0);
    EXPECT_TRUE(ga->formExists(kGAForm190055ID, 1));
}

// Records which per-form operation the dispatcher hands each form to, with
// the copy and the pass-through integer it receives.
class RoutingEngine : public GACalculationMgmt::GATaxReturnCalcEngine {
public:
    using GATaxReturnCalcEngine::GATaxReturnCalcEngine;

    std::vector<std::string> routed;

    void record(const char* hook, const FormId& form, int copy, int pass) {
        routed.push_back(std::string(hook) + " " + std::to_string(form.getNumber()) + " " + std::to_string(copy) + " " +
                         std::to_string(pass));
    }
    void calcStateSharedForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override {
        record("shared", f, c, p);
    }
    void calcUnderpaymentForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override { record("71", f, c, p); }
    void calcOtherStateCreditForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override {
        record("73", f, c, p);
    }
    void calcDocumentListForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override { record("76", f, c, p); }
    void calcGroupedForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override { record("grouped", f, c, p); }
    void calcAmendedReturnForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override {
        record("amended", f, c, p);
    }
    void calcBusinessCreditForm(const FormId& f, DataMgmt::TaxFormPtr, int c, int p) override {
        record("business", f, c, p);
    }
};

TEST_F(EngineTest, DispatchHandsEachFormToItsOperation) {
    RoutingEngine routing(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(),
                          TaxFormPrintMgmt::TaxFormPrinterPtr());
    const std::vector<std::pair<FormId, const char*>> table{
        {kStateForm2ID, "shared"},    {kStateForm3ID, "shared"},    {kStateForm4ID, "shared"},
        {kGAForm71ID, "71"},          {kGAForm73ID, "73"},          {kGAForm76ID, "76"},
        {kGAForm72ID, "grouped"},     {kGAForm74ID, "grouped"},     {kGAForm187981ID, "grouped"},
        {kGAForm203638ID, "grouped"}, {kGAForm203639ID, "grouped"}, {kGAForm77ID, "grouped"},
        {kGAForm187982ID, "grouped"}, {kGAForm190054ID, "grouped"}, {kGAForm190058ID, "grouped"},
        {kGAForm190062ID, "grouped"}, {kGAForm204111ID, "grouped"}, {kGAForm189219ID, "amended"},
        {kGAForm203811ID, "business"}};
    for (const auto& [form, hook] : table) {
        routing.routed.clear();
        routing.calcFormCopy(form, 2, 0, 7, 9, gaCopy(form, 2));
        EXPECT_EQ(routing.routed,
                  std::vector<std::string>{std::string(hook) + " " + std::to_string(form.getNumber()) + " 2 7"})
            << form.getNumber();
    }
    // Forms with routines of their own, and forms without a routine, reach
    // none of these operations; neither does a federal form of a Georgia
    // form's number.
    routing.routed.clear();
    for (const FormId& form : {kGAForm75ID, kGAForm189215ID, kGAForm189217ID, kStateForm32783ID, kStateForm14ID}) {
        routing.calcFormCopy(form, 1, 0, 1, 1, gaCopy(form));
    }
    for (const FormId& federalForm : {FormId(2, false), FormId(71, false)}) {
        routing.calcFormCopy(federalForm, 1, 0, 1, 1, fedCopy(federalForm));
    }
    EXPECT_EQ(routing.routed, std::vector<std::string>{});
}

// Records, for every calculation of form 70, whether it is the pass on the
// final figures; throws at the form named.
class PassEngine : public GACalculationMgmt::GATaxReturnCalcEngine {
public:
    using GATaxReturnCalcEngine::GATaxReturnCalcEngine;
    std::vector<bool> mainFormPasses;
    FormId throwAt;

    void calcFormCopy(const FormId& form, int copy, int markEntered, int passThrough, int unused,
                      DataMgmt::TaxFormPtr handle) override {
        if (form == throwAt) {
            throw Exceptions::QuarloException("planted", "PassEngine", "calcFormCopy");
        }
        if (form == kGAForm70ID) {
            mainFormPasses.push_back(onFinalMainFormPass());
        }
        GATaxReturnCalcEngine::calcFormCopy(form, copy, markEntered, passThrough, unused, handle);
    }
};

// Form 70 is calculated by the statements before the walk and the
// information form, then at its four entries of the order: the last of them
// works on the final figures, and so does a calculation outside the whole
// return, also after a walk that a form broke off.
TEST_F(EngineTest, OnlyTheLastPassOfForm70IsFinal) {
    PassEngine passes(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn(),
                      TaxFormPrintMgmt::TaxFormPrinterPtr());
    georgiaHomeAddress();
    passes.calculateReturn(0);
    EXPECT_EQ(passes.mainFormPasses, (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_TRUE(passes.onFinalMainFormPass());

    passes.throwAt = kGAForm74ID;
    EXPECT_THROW(passes.calculateReturn(0), Exceptions::QuarloException);
    EXPECT_TRUE(passes.onFinalMainFormPass());
    passes.mainFormPasses.clear();
    passes.calculateForm(kGAForm70ID, 1, 0, 1, 1, gaCopy(kGAForm70ID));
    EXPECT_EQ(passes.mainFormPasses, std::vector<bool>{true});
}

TEST_F(EngineTest, MarkEnteredGoesToTheGeorgiaCopy) {
    auto info = gaCopy(kGAForm69ID);
    engine.calcFormCopy(kGAForm69ID, 1, 1, 0, 0, info);
    EXPECT_TRUE(ga->isDataEntered(kGAForm69ID, 1));
    EXPECT_FALSE(info->calculatedFlag());  // the dispatcher never sets the calculated flag

    // A form without a routine is still marked.
    auto summary = gaCopy(kStateForm32783ID);
    engine.calcFormCopy(kStateForm32783ID, 1, 1, 0, 0, summary);
    EXPECT_TRUE(ga->isDataEntered(kStateForm32783ID, 1));

    auto voucher = gaCopy(kGAForm77ID);
    engine.calcFormCopy(kGAForm77ID, 1, 0, 0, 0, voucher);
    EXPECT_FALSE(ga->isDataEntered(kGAForm77ID, 1));
}

TEST_F(EngineTest, BeforeTheWalkTheLinkFieldsAreEmptied) {
    auto form70 = gaCopy(kGAForm70ID);
    setText(form70, f70.f190488, "52/1/1");
    setText(form70, f70.f190493, "52/2/2");
    setNumber(form70, f70.f106, 10);
    const auto& f189218 = kGAForm189218FieldIds;
    for (std::uint16_t c = 1; c <= 2; ++c) {
        auto links = gaCopy(kGAForm189218ID, c);
        setText(links, f189218.f190506, "52/1/1");
        setText(links, f189218.f190514, "52/1/1");
    }
    engine.beforeCalc();
    EXPECT_TRUE(form70->isNull(f70.f190488));
    EXPECT_TRUE(form70->isNull(f70.f190493));
    EXPECT_EQ(form70->getIR(f70.f106), 10);
    for (std::uint16_t c = 1; c <= 2; ++c) {
        auto links = ga->getForm(kGAForm189218ID, c);
        EXPECT_TRUE(links->isNull(f189218.f190506)) << c;
        EXPECT_TRUE(links->isNull(f189218.f190514)) << c;
    }
    EXPECT_TRUE(ga->formExists(kGAForm204111ID, 1));
}

// ------------------------------------------------------------ after the walk

TEST_F(EngineTest, SummaryFormOfAFullYearResident) {
    auto form70 = gaCopy(kGAForm70ID);
    setNumber(form70, f70.f100, 1000);
    setNumber(form70, f70.f99, 900);
    setNumber(form70, f70.f101, 100);
    setNumber(form70, f70.f84, 77);
    auto info = gaCopy(kGAForm69ID);
    setNumber(info, f69.f76, 5);
    setBox(info, f69.f36);
    auto summary = gaCopy(kStateForm32783ID);
    setNumber(summary, s32783.f133646, 1);
    setNumber(summary, s32783.f133647, 1);

    engine.afterCalc();

    EXPECT_EQ(summary->getIN(s32783.f32784), 1000);
    EXPECT_EQ(summary->getIN(s32783.f32785), 900);
    EXPECT_EQ(summary->getIN(s32783.f32787), 100);
    EXPECT_EQ(summary->getIN(s32783.f32786), 5);
    EXPECT_EQ(text(summary, s32783.f133645), "Full-year resident");
    EXPECT_TRUE(summary->isNull(s32783.f133646));
    EXPECT_TRUE(summary->isNull(s32783.f133647));
    EXPECT_TRUE(ga->isDataEntered(kStateForm32783ID, 1));
    EXPECT_FALSE(summary->calculatedFlag());
}

TEST_F(EngineTest, SummaryFormOfANonresidentWinsOverPartYear) {
    auto info = gaCopy(kGAForm69ID);
    setBox(info, f69.f37);
    setBox(info, f69.f38);
    setNumber(gaCopy(kGAForm189217ID), kGAForm189217FieldIds.f189451, 4321);
    setNumber(gaCopy(kGAForm70ID), f70.f84, 77);
    engine.afterCalc();
    auto summary = ga->getForm(kStateForm32783ID, 1);
    EXPECT_EQ(text(summary, s32783.f133645), "Nonresident");
    EXPECT_EQ(summary->getIN(s32783.f133646), 4321);
    EXPECT_EQ(summary->getIN(s32783.f133647), 77);
}

TEST_F(EngineTest, SummaryFormWithoutResidency) {
    auto summary = gaCopy(kStateForm32783ID);
    setText(summary, s32783.f133645, "old");
    gaCopy(kGAForm69ID);
    engine.afterCalc();
    EXPECT_TRUE(summary->isNull(s32783.f133645));
    setBox(gaCopy(kGAForm69ID), f69.f38);
    engine.afterCalc();
    EXPECT_EQ(text(summary, s32783.f133645), "Part-year resident");
}

// ------------------------------------------------------------ state form 4

TEST_F(EngineTest, StateWorksheet4RecordsTheResidencyCode) {
    auto info = gaCopy(kGAForm69ID);
    setBox(info, f69.f111);
    auto worksheet = gaCopy(kStateForm4ID);
    engine.calcFormCopy(kStateForm4ID, 1, 0, 1, 1, worksheet);
    EXPECT_EQ(info->getIN(f69.f8), 2);
    EXPECT_TRUE(ga->isDataEntered(kStateForm4ID, 1));
    EXPECT_TRUE(worksheet->calculatedFlag());

    setBox(info, f69.f1);
    engine.calcFormCopy(kStateForm4ID, 1, 0, 1, 1, worksheet);
    EXPECT_EQ(info->getIN(f69.f8), 4);
}

// ------------------------------------------------------------ refund or balance

TEST_F(EngineTest, RefundOrBalanceDueSigns) {
    auto form70 = gaCopy(kGAForm70ID);
    EXPECT_EQ(engine.getRefundOrBalanceDue(), 0);
    setNumber(form70, f70.f107, 250);
    EXPECT_EQ(engine.getRefundOrBalanceDue(), -250);
    setNumber(form70, f70.f106, 250);
    EXPECT_EQ(engine.getRefundOrBalanceDue(), 250);
}

}  // namespace
}  // namespace gaenginetest
