// The Georgia printer: print values, print order, PDF attachments; and the
// summary report.
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/output/GATaxSummaryReport.h"
#include "module/output/OutputAmounts.h"
#include "platform/store/TaxReturnDictionary.h"
#include "tests/output/efile_fixture.h"

namespace efiletest {
namespace {

using Kind = DataMgmt::FieldKind;

// ------------------------------------------------------------ amounts

// What leaves the return carries at most two decimals, whole dollars on the
// main form, its schedules and form 73; a text that needs no rounding, or is
// no plain number, is left as it came.
TEST(OutputAmounts, RoundedToTheirFormsPlaces) {
    struct Row {
        FormId form;
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {kGAForm70ID, "29648.923076923078", "29649"},
        {kGAForm70ID, "1000.4", "1000"},
        {kGAForm70ID, "1000.5", "1001"},  // a half goes away from zero
        {kGAForm70ID, "-1000.5", "-1001"},
        {kGAForm70ID, "-0.4", "0"},  // no "-0"
        {kGAForm70ID, "1,234.5", "1235"},
        {kGAForm70ID, "1,234", "1,234"},  // whole: left as it came
        {kGAForm189215ID, "12.01", "12"},
        {kGAForm189216ID, "12.99", "13"},
        {kGAForm189217ID, "9811.32075471698", "9811"},  // the ratio in whole ten-thousandths
        {kGAForm189218ID, "0.5", "1"},
        {kGAForm73ID, "17566.666666666668", "17567"},
        {kGAForm71ID, "7.2675", "7.27"},
        {kGAForm71ID, "1.005", "1.01"},  // the decimal half, not its binary neighbour
        {kGAForm71ID, "-138.9000000000001", "-138.9"},
        {kGAForm71ID, "14.5", "14.5"},
        {kGAForm71ID, "45037.020000000004", "45037.02"},  // noise below what the double holds
        {kGAForm189219ID, "-10892.970000000001", "-10892.97"},
        {kGAForm74ID, "58392.299999999996", "58392.3"},
        {kGAForm70ID, "29649.000000000004", "29649"},
        {kForm165ID, "12.345", "12.35"},  // a federal form's amount: cents
        {kGAForm71ID, "X", "X"},
        {kGAForm71ID, "1, 234.567", "1, 234.567"},  // not a plain number
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GAOutput::amountAsShown(row.in, row.form), row.out) << row.form.getNumber() << " " << row.in;
    }
}

// ------------------------------------------------------------ print values

// A Georgia description of the fields the print rules tell apart.
DataMgmt::TaxReturnDescPtr printDesc() {
    DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc("Georgia", "GA", DataMgmt::kGeorgiaReturnType));
    const auto form = [&](const FormId& id, std::vector<std::tuple<int, Kind, std::uint8_t, std::uint16_t>> fields) {
        DataMgmt::TaxFormDescPtr f(new DataMgmt::TaxFormDesc(id, "GA" + std::to_string(id.getNumber()), ""));
        for (const auto& [n, kind, edit, width] : fields) {
            DataMgmt::FormFieldDesc::Attributes a;
            a.id = FieldId(n);
            a.kind = kind;
            a.editCode = edit;
            a.width = width;
            f->addField(a);
        }
        desc->addForm(f);
    };
    const auto number = [](int n) { return std::make_tuple(n, Kind::Number, std::uint8_t{0}, std::uint16_t{0}); };
    const auto text = [](int n) { return std::make_tuple(n, Kind::Text, std::uint8_t{0}, std::uint16_t{0}); };
    const auto box = [](int n) { return std::make_tuple(n, Kind::Boolean, std::uint8_t{0}, std::uint16_t{0}); };
    form(kGAForm69ID, {std::make_tuple(113, Kind::Text, std::uint8_t{'D'}, std::uint16_t{0}),
                       std::make_tuple(114, Kind::Text, std::uint8_t{'D'}, std::uint16_t{8}), text(3)});
    form(kGAForm70ID, {number(62), number(66), box(6), text(24)});
    for (const FormId& id : {kGAForm71ID, kGAForm72ID, kGAForm189219ID}) form(id, {number(1), text(2)});
    form(kGAForm73ID, {number(9)});
    form(kGAForm75ID, {number(1)});
    form(kGAForm77ID, {box(24016), number(3)});
    form(kGAForm187982ID, {box(187997)});
    form(kGAForm189216ID, {number(189807)});
    form(kGAForm189217ID, {number(189453)});
    form(kGAForm190055ID, {number(190162), number(190163)});
    return desc;
}

TEST(PrintValues, FieldsPrintByFormKindAndDate) {
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(definitions().federal, pool));
    DataMgmt::TaxReturnPtr ga(new GADataMgmt::GATaxReturn(federal, printDesc(), pool));
    auto* gaReturn = static_cast<GADataMgmt::GATaxReturn*>(ga.get());
    GATaxFormPrintMgmt::GATaxFormPrinter printer(gaReturn);
    for (const FormId& id :
         {kGAForm69ID, kGAForm70ID, kGAForm71ID, kGAForm72ID, kGAForm73ID, kGAForm189219ID, kGAForm75ID, kGAForm77ID,
          kGAForm187982ID, kGAForm189216ID, kGAForm189217ID, kGAForm190055ID}) {
        ga->getFormUVPtr(id, 1, true);
    }
    struct Row {
        FormId form;
        int field;
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {kGAForm70ID, 62, "", ""},
        {kGAForm69ID, 113, "3/5/2018", "03-05-2018"},
        {kGAForm69ID, 114, "03/05/2018", "03-05-18"},
        {kGAForm69ID, 113, "soon", "soon"},  // not a date: kept
        {kGAForm69ID, 3, "atlanta", "atlanta"},
        {kGAForm75ID, 1, "1,234", "1234.00"},
        {kGAForm75ID, 1, "14.5", "14.50"},  // an amount with cents gets two decimals
        {kGAForm75ID, 1, "14.05", "14.05"},
        {kGAForm75ID, 1, "-1,234.5", "-1234.50"},
        {kGAForm189216ID, 189807, "1,234", " 1234"},
        {kGAForm70ID, 66, "1,234", "1,234"},
        {kGAForm70ID, 62, "1, 234", "  1234"},
        {kGAForm70ID, 6, "x", "X"},
        {kGAForm70ID, 24, "pat", "PAT"},
        {kGAForm71ID, 1, "1,234", "1,234"},
        {kGAForm72ID, 2, "atlanta", "ATLANTA"},
        {kGAForm189219ID, 1, "1,234", "1,234"},
        // A voucher's marked box prints its mark, its amount with cents.
        {kGAForm77ID, 24016, "X", "X"},
        {kGAForm187982ID, 187997, "X", "X"},
        {kGAForm77ID, 3, "177", "177.00"},
        // Amounts as their forms show them, before the form's treatment.
        {kGAForm70ID, 62, "29648.923076923078", "29649"},
        {kGAForm189217ID, 189453, "9811.32075471698", "9811"},
        {kGAForm73ID, 9, "3333.3333333333335", "3333"},
        {kGAForm71ID, 1, "40.243130136986295", "40.24"},
        {kGAForm75ID, 1, "89.595", "89.60"},
        {kGAForm70ID, 24, "12.345", "12.345"},  // a text is no amount
        {kGAForm190055ID, 190163, "1,234", "1,234"},
        {kGAForm190055ID, 190162, "1,234", " 1234"},
    };
    for (const Row& row : rows) {
        std::string text = row.in;
        printer.formatPrintField(text, row.form, 1, FieldId(row.field));
        EXPECT_EQ(text, row.out) << "form " << row.form.getNumber() << " field " << row.field << " " << row.in;
    }
    std::string missingCopy = "1,234";
    printer.formatPrintField(missingCopy, kGAForm75ID, 2, FieldId(1));
    EXPECT_EQ(missingCopy, "1,234");
    EXPECT_FALSE(ga->formExists(kGAForm75ID, 2));
}

// ------------------------------------------------------------ print order

class PrintOrderTest : public EFileTest {
protected:
    std::vector<int> order(bool (GATaxFormPrintMgmt::GATaxFormPrinter::*next)(FormId&)) {
        std::vector<int> forms;
        FormId form(0);
        while ((listPrinter->*next)(form) && forms.size() < 100) forms.push_back(form.getNumber());
        return forms;
    }
    static std::ptrdiff_t place(const std::vector<int>& forms, int form) {
        return std::find(forms.begin(), forms.end(), form) - forms.begin();
    }
};

// The Georgia forms in their print order, each with its kind of entry (0
// on its own, 1 with the form before it, 3 on request), then the end entry;
// a nonresident's list lacks the other-state credit, form 73.
TEST(PrintLists, TheGeorgiaFormsInTheirOrderWithTheirKinds) {
    const std::vector<std::pair<int, int>> full = {
        {77, 0},     {70, 0},     {189215, 0}, {189216, 0}, {203811, 1}, {189217, 0}, {189218, 0},
        {71, 0},     {76, 0},     {72, 0},     {74, 0},     {190054, 0}, {190055, 0}, {190056, 0},
        {190057, 0}, {190058, 0}, {190059, 0}, {190060, 0}, {190061, 0}, {190062, 0}, {187981, 0},
        {203638, 0}, {203639, 0}, {69, 1},     {73, 1},     {75, 0},     {187982, 3}, {189219, 3}};
    std::vector<std::pair<int, int>> nonresident = full;
    nonresident.erase(std::find(nonresident.begin(), nonresident.end(), std::pair<int, int>{73, 1}));
    using P = GATaxFormPrintMgmt::GATaxFormPrinter;
    for (const auto& [list, expected] :
         {std::pair{P::fullPrintList(), full}, std::pair{P::shortPrintList(), nonresident}}) {
        ASSERT_EQ(list.size(), 80u);
        std::vector<std::pair<int, int>> listed;
        std::size_t i = 0;
        for (; i < list.size() && list[i].form.getNumber() != 0; ++i) {
            EXPECT_TRUE(list[i].form.isState()) << list[i].form.getNumber();
            EXPECT_EQ(list[i].count, 3) << list[i].form.getNumber();
            listed.emplace_back(list[i].form.getNumber(), list[i].kind);
        }
        EXPECT_EQ(listed, expected);
        ASSERT_LT(i, list.size());
        EXPECT_EQ(list[i].count, 3) << "the end entry";
    }
}

TEST_F(PrintOrderTest, ResidencyBoxesChooseTheList) {
    const auto& f69 = kGAForm69FieldIds;
    using P = GATaxFormPrintMgmt::GATaxFormPrinter;
    EXPECT_TRUE(order(&P::getNextPrintForm0).empty());  // no residency box
    EXPECT_TRUE(ga->formExists(kGAForm69ID, 1));        // asking made the information form

    gaCopy(kGAForm69ID)->setX(f69.f37);  // part-year resident
    const std::vector<int> partYear = order(&P::getNextPrintForm0);
    EXPECT_EQ(partYear.size(), 27u);
    EXPECT_EQ(place(partYear, 73), static_cast<std::ptrdiff_t>(partYear.size()));

    gaCopy(kGAForm69ID)->setX(f69.f38);  // with box 38 as well: the full list
    for (auto next : {&P::getNextPrintForm0, &P::getNextPrintForm1, &P::getNextPrintForm4, &P::getNextPrintForm5}) {
        const std::vector<int> full = order(next);
        ASSERT_EQ(full.size(), 28u);
        EXPECT_EQ(full.front(), 77);
        EXPECT_EQ(place(full, 73), place(full, 69) + 1);
        EXPECT_EQ(place(full, 75), place(full, 73) + 1);
    }
    std::vector<int> selectors;
    for (auto next : {&P::getNextPrintForm0, &P::getNextPrintForm1, &P::getNextPrintForm4, &P::getNextPrintForm5}) {
        FormId form(0);
        (listPrinter->*next)(form);
        selectors.push_back(listPrinter->lastListSelector());
    }
    EXPECT_EQ(selectors, (std::vector<int>{0, 1, 4, 5}));
}

// ------------------------------------------------------------ PDF attachments

class AttachTest : public EFileTest {
protected:
    std::vector<std::string> registered() {
        std::vector<std::string> out;
        for (const auto& call : store.getPdfAttachMgr().calls()) {
            std::string text = call.operation;
            for (const std::string& a : call.arguments) text += " " + a;
            out.push_back(text);
        }
        store.getPdfAttachMgr().clear();
        return out;
    }
    void creditCode(std::uint16_t copy, const std::string& code) {
        setText(gaCopy(kGAForm189216ID, copy), kGAForm189216FieldIds.f199426, code);
    }
};

TEST_F(AttachTest, CreditCertificatesByScheduleTwoCode) {
    struct Row {
        const char* code;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"124",
         {"addPdfIntAttachFile 12 12 203639 1 ITCONSV.pdf IT-CONSV ELGAITCONSVPDF 1",
          "addPdfExtFileDescription 12 IT-CONSV-AP ITCONSVAP.pdf ELGAITCONSVAPPDF"}},
        {"136",
         {"addPdfIntAttachFile 12 12 203638 1 ITQRHOETP2.pdf IT-QRHOE-TP2, Qualified Rural Hospital Org. Expense Tax "
          "Credit ELGAITQRHOETP2PDF 1"}},
        {"106",
         {"addPdfExtFileDescription 12 IT-IC ITIC.pdf ELGAITICPDF",
          "addPdfExtFileDescription 12 IT-APP ITAPP.pdf ELGAITAPPPDF"}},
        {"138", {"addPdfExtFileDescription 12 IT-PFC ITPFC.pdf ELGAITPFCPDF"}},
        {"139", {"addPdfExtFileDescription 12 IT-PFC ITPFC.pdf ELGAITPFCPDF"}},
        {"108", {}},
    };
    for (const Row& row : rows) {
        creditCode(1, row.code);
        listPrinter->attachCreditPdfs(DataMgmt::kGeorgiaReturnType);
        EXPECT_EQ(registered(), row.expected) << row.code;
    }
}

TEST_F(AttachTest, OtherStateReturnAttachedWholeWhenTheStoreHoldsIt) {
    setText(gaCopy(kGAForm73ID), kGAForm73FieldIds.f138855, "AL");
    listPrinter->attachCreditPdfs(DataMgmt::kGeorgiaReturnType);
    EXPECT_TRUE(registered().empty()) << "no other-state credit";

    setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f189482, 150);
    listPrinter->attachCreditPdfs(DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(registered(), std::vector<std::string>{"addPdfExtFileDescription 12 AL OSTC Return for GA "
                                                     "ALReturnFor_GA.pdf ELOSTCALRETURNFORGA"});

    DataMgmt::TaxReturnDescPtr alabama(new DataMgmt::TaxReturnDesc("Alabama", "AL", DataMgmt::TaxReturnType{2}));
    DataMgmt::TaxReturnDictionary::getInstance().addTaxReturnDescriptor(alabama);
    store.setTaxReturn(DataMgmt::TaxReturnType{2}, DataMgmt::TaxReturnPtr(new DataMgmt::TaxReturn(alabama, pool)));
    listPrinter->attachCreditPdfs(DataMgmt::kGeorgiaReturnType);
    DataMgmt::TaxReturnDictionary::getInstance().clear();
    EXPECT_EQ(registered(),
              (std::vector<std::string>{"setAttachIntEntireReturn 12 2 1", "setIntSinglePdfEntireReturn 12 2 1",
                                        "setPdfIntNameToUseForEntire 12 2 ALReturnFor_GA.pdf",
                                        "setPdfIntDescriptionToUseForEntire 12 2 AL OSTC Return for GA",
                                        "setHashTablePdfIdToUseForEntire 12 2 ELOSTCALRETURNFORGA"}));
}

TEST_F(AttachTest, EveryCopyToPrintAndTheFormForTheEntireReturn) {
    listPrinter->forms = StateTaxFormPrintMgmt::FormIdList{kGAForm73ID, kGAForm70ID};
    gaCopy(kGAForm73ID);
    gaCopy(kGAForm73ID, 2);
    listPrinter->attachFormPdfs(DataMgmt::kGeorgiaReturnType);
    std::vector<std::string> calls = registered();
    ASSERT_EQ(calls.size(), 3u) << "form 70 has no copy yet";
    EXPECT_EQ(calls[1].rfind("addPdfIntAttachEntire 12 12 73 2 73_2.pdf ", 0), 0u) << calls[1];
    EXPECT_EQ(calls[1].substr(calls[1].size() - 12), "73_2.PDF 2 X");
    EXPECT_EQ(calls[2], "setPdfIntFormIdToUseForEntire 12 12 73");

    // Form 70 is taken from copy 1 alone: its copy 2 is not attached.
    gaCopy(kGAForm70ID);
    gaCopy(kGAForm70ID, 2);
    listPrinter->attachFormPdfs(DataMgmt::kGeorgiaReturnType);
    calls = registered();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2].rfind("addPdfIntAttachEntire 12 12 70 1 ", 0), 0u) << calls[2];
    EXPECT_EQ(calls.back(), "setPdfIntFormIdToUseForEntire 12 12 70");
    listPrinter->forms = StateTaxFormPrintMgmt::FormIdList{};
    listPrinter->attachFormPdfs(DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(registered(), std::vector<std::string>{"setPdfIntFormIdToUseForEntire 12 12 0"});
}

// ------------------------------------------------------------ summary report

TEST_F(EFileTest, SummaryReportListsEightAmounts) {
    setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f62, 52000);
    setNumber(gaCopy(kStateForm4ID), FieldId(115), 30000);
    setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f84, 2495);
    setNumber(gaCopy(kGAForm189215ID), kGAForm189215FieldIds.f189294, 800);
    setNumber(gaCopy(kGAForm189215ID), kGAForm189215FieldIds.f189417, 450);
    setNumber(gaCopy(kGAForm70ID), kGAForm70FieldIds.f64, 52350);
    // A part-year resident's Georgia income is schedule 3's; form 70 line 64
    // is a full-year resident's.
    setNumber(gaCopy(kGAForm189217ID), kForm189217Lines.incomeAfterAdjustments.georgia, 17500);
    const std::vector<std::pair<std::string, std::int64_t>> expected = {
        {"Federal AGI", 30000}, {"Georgia Additions", 800}, {"Georgia Subtractions", 450}, {"Georgia AGI", 17500},
        {"Total Tax", 2495},    {"Tax Payments", 0},        {"Georgia Refund", 0},         {"Amount You Owe ", 0},
    };
    EXPECT_EQ(GAReportMgmt::GATaxSummaryReport(ga).lines(), expected);
    setBox(gaCopy(kGAForm69ID), kGAForm69FieldIds.f110);  // a full-year resident
    const auto fullYear = GAReportMgmt::GATaxSummaryReport(ga).lines();
    EXPECT_EQ(fullYear.front().second, 52000);
    EXPECT_EQ(fullYear[3], (std::pair<std::string, std::int64_t>{"Georgia AGI", 52350}));
    EXPECT_THROW(GAReportMgmt::GATaxSummaryReport{federal}, Exceptions::QuarloException);
}

}  // namespace
}  // namespace efiletest
