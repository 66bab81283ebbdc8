// The stand-in host's form definitions generated from the catalogue data:
// field order equals catalogue order, and the positional walks of the
// calculation reach the fields they are meant to reach.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "module/catalogues/AllFieldIds.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/catalogues/WageLineRows.h"
#include "platform/definitions/FormDefinitions.h"
#include "testdata/CatalogueManifest.h"

namespace {

using DataMgmt::QVFieldIDIter;
using DataMgmt::TaxFormDescPtr;
using Primitives::QVImmutableFormIdentifier;
using Primitives::QVImmutableIdentifier;

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_BINARY_DIR "/forms");
    return lib;
}

TaxFormDescPtr stateForm(int number) {
    return library().georgia->getTaxFormDescriptor(QVImmutableFormIdentifier(number, true));
}

TaxFormDescPtr federalForm(int number) {
    return library().federal->getTaxFormDescriptor(QVImmutableFormIdentifier(number, false));
}

std::vector<std::int32_t> numbers(const std::vector<QVImmutableIdentifier>& ids) {
    std::vector<std::int32_t> out;
    for (const auto& id : ids) {
        out.push_back(id.getNumber());
    }
    return out;
}

// A cleared stretch: every place from the first field while the iterator is
// not after the last field.
std::vector<std::int32_t> stretch(const TaxFormDescPtr& form, const QVImmutableIdentifier& first,
                                  const QVImmutableIdentifier& last) {
    std::vector<QVImmutableIdentifier> out;
    QVFieldIDIter it = form->getFieldIDs();
    it = first;
    while (!it.atEOL() && (last.isNullID() || it <= last)) {
        out.push_back(it);
        it.next();
    }
    return numbers(out);
}

std::vector<std::int32_t> run(std::int32_t a, std::int32_t b) {
    std::vector<std::int32_t> out;
    for (std::int32_t n = a; n <= b; ++n) {
        out.push_back(n);
    }
    return out;
}

TEST(GeneratedDefinitions, DescribeBothReturns) {
    const auto& lib = library();
    ASSERT_TRUE(lib.georgia);
    ASSERT_TRUE(lib.federal);
    EXPECT_EQ(lib.georgia->getName(), "Georgia");
    EXPECT_EQ(lib.georgia->getAbbreviation(), "GA");
    EXPECT_EQ(lib.federal->getAbbreviation(), "US");
    // 29 Georgia forms and state forms 2, 3, 4, 14, 15 and 32783.
    EXPECT_EQ(lib.georgia->formCount(), 35u);
    EXPECT_EQ(lib.federal->formCount(), 43u);
    // Forms without a catalogue of their own.
    ASSERT_TRUE(stateForm(204111));
    EXPECT_EQ(stateForm(204111)->fieldCount(), 0u);
    ASSERT_TRUE(federalForm(136));
    EXPECT_EQ(federalForm(24328)->fieldCount(), 0u);
    ASSERT_TRUE(stateForm(15));
    EXPECT_EQ(stretch(stateForm(15), kOwnerInfoFieldIds.f1, Primitives::kNullFieldID), run(1, 10));
    ASSERT_TRUE(federalForm(43));
    ASSERT_TRUE(federalForm(155));
    EXPECT_TRUE(federalForm(43)->hasField(kFederalMapFieldIds.f41));
    EXPECT_EQ(federalForm(155)->fieldCount(), 49u);
}

TEST(GeneratedDefinitions, FieldOrderIsCatalogueOrder) {
    for (const auto& e : CatalogueManifest::kEntries) {
        const std::string devNames = e.devNames;
        if (devNames.empty()) {
            continue;  // the wage-line list has no form
        }
        std::size_t start = 0;
        while (start < devNames.size()) {
            const std::size_t end = std::min(devNames.find(' ', start), devNames.size());
            const std::string dev = devNames.substr(start, end - start);
            start = end + 1;
            SCOPED_TRACE(std::string(e.className) + " / " + dev);
            TaxFormDescPtr form = library().georgia->findByDevName(dev);
            if (!form) {
                form = library().federal->findByDevName(dev);
            }
            ASSERT_TRUE(form);
            ASSERT_EQ(form->fieldCount(), e.count);
            QVFieldIDIter it = form->getFieldIDs();
            for (std::size_t i = 0; i < e.count; ++i, it.next()) {
                ASSERT_FALSE(it.atEOL());
                ASSERT_EQ(it.getFieldID(), e.members[i]) << "place " << i;
            }
            EXPECT_TRUE(it.atEOL());
        }
    }
}

TEST(GeneratedDefinitions, OverlayKindsNamesAndEditCodes) {
    const auto fs = stateForm(70)->getFieldDesc(kGAForm70FieldIds.f44);
    ASSERT_TRUE(fs);
    EXPECT_TRUE(fs->isText());
    EXPECT_EQ(fs->getSymbolicName(), "kGA70_FilingStatus");
    const auto amount = stateForm(70)->getFieldDesc(kGAForm70FieldIds.f84);
    EXPECT_EQ(amount->getKind(), DataMgmt::FieldKind::Number);
    // A field the overlay labels, with its short name or on a line of its
    // own, is shown by its label, not by its number.
    for (const auto& field : {kGAForm70FieldIds.f44, kGAForm70FieldIds.f84, kGAForm70FieldIds.f85}) {
        EXPECT_NE(stateForm(70)->getFieldDesc(field)->getLineID(), std::to_string(field.getNumber()));
    }
    EXPECT_EQ(stateForm(70)->getFieldDesc(kGAForm70FieldIds.f89)->getSymbolicName(), "kGA70_LowIncomeAgi");
    EXPECT_EQ(stateForm(70)->getFieldDesc(kGAForm70FieldIds.f1)->getLineID(), "1");  // a field the calculation leaves
    EXPECT_TRUE(stateForm(69)->getFieldDesc(kGAForm69FieldIds.f47)->isBoolean());
    EXPECT_TRUE(stateForm(69)->getFieldDesc(kGAForm69FieldIds.f113)->isDate());
    EXPECT_TRUE(federalForm(190)->getFieldDesc(kForm190FieldIds.f10)->isDate());
    EXPECT_TRUE(federalForm(190)->getFieldDesc(kForm190FieldIds.f130)->isBoolean());
    EXPECT_EQ(federalForm(52)->getFieldDesc(kForm52FieldIds.f32)->getValidator()->getEditCode(), 'H');
    EXPECT_EQ(federalForm(164)->getFieldDesc(kForm164FieldIds.f133767)->getValidator()->getEditCode(), 'H');
    EXPECT_EQ(federalForm(92)->getFieldDesc(kForm92FieldIds.f1)->getSymbolicName(), "kF92_F1");
    // The document list's rows take what form 70's dependent rows take, as
    // texts: first name, last name, social security number (a leading zero
    // kept), relationship.
    for (int field = 9; field <= 108; ++field) {
        EXPECT_TRUE(stateForm(76)->getFieldDesc(QVImmutableIdentifier(field))->isText()) << field;
    }
    EXPECT_TRUE(stateForm(73)->getFieldDesc(kGAForm73FieldIds.f138856)->isBoolean());
    EXPECT_TRUE(stateForm(69)->getFieldDesc(kGAForm69FieldIds.f142705)->isBoolean());
    EXPECT_EQ(stateForm(2)->getBusinessName(), "Interest statement");
    EXPECT_EQ(stateForm(3)->getBusinessName(), "Dividend statement");
}

TEST(GeneratedDefinitions, FederalFormsAndTheFieldsPeopleAskAboutAreNamed) {
    // Every federal form the module reads has a name of its own.
    for (DataMgmt::TaxFormDescIter it = library().federal->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const TaxFormDescPtr form = it.getTaxFormDescriptor();
        EXPECT_NE(form->getBusinessName(), "Form " + std::to_string(form->getTypeID().getNumber()))
            << form->getDevName();
    }
    EXPECT_EQ(federalForm(52)->getBusinessName(), "Form W-2, wage statement");
    EXPECT_EQ(federalForm(165)->getBusinessName(), "Form 1099-G, government payments");
    // The fields that decide the retirement exclusion and the e-file's
    // driver's licence question say what they hold.
    const struct {
        TaxFormDescPtr form;
        QVImmutableIdentifier field;
    } rows[] = {
        {federalForm(92), kForm92FieldIds.f9},      {federalForm(92), kForm92FieldIds.f10},
        {federalForm(92), kForm92FieldIds.f490},    {stateForm(189215), kGAForm189215FieldIds.f189304},
        {stateForm(69), kGAForm69FieldIds.f193214}, {stateForm(69), kGAForm69FieldIds.f199054},
        {federalForm(165), kForm165FieldIds.f17},
    };
    for (const auto& row : rows) {
        EXPECT_NE(row.form->getFieldDesc(row.field)->getLineID(), std::to_string(row.field.getNumber()))
            << row.form->getDevName();
    }
    // The review names a line of the 1099-G by its label ("... on line <label>
    // of the form"): the label begins with the line's number.
    const std::string stateLine = federalForm(165)->getFieldDesc(kForm165FieldIds.f17)->getLineID();
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(stateLine.front()))) << stateLine;
}

TEST(PositionalWalks, Form70DependentRows) {
    const auto form = stateForm(70);
    std::vector<std::int32_t> rowStarts;
    QVFieldIDIter it = form->getFieldIDs();
    for (it = kGAForm70FieldIds.f45; it <= kGAForm70FieldIds.f60; it += 4) {
        rowStarts.push_back(it.getFieldID().getNumber());
        EXPECT_EQ((it + 3).getFieldID().getNumber(), rowStarts.back() + 3);
    }
    EXPECT_EQ(rowStarts, (std::vector<std::int32_t>{45, 49, 53, 57}));
    EXPECT_EQ(stretch(form, kGAForm70FieldIds.f45, kGAForm70FieldIds.f60), run(45, 60));
}

TEST(PositionalWalks, Form70ClearedStretches) {
    const auto form = stateForm(70);
    std::vector<std::int32_t> creditBlock = {89, 349, 350};
    for (int n = 90; n <= 97; ++n) {
        creditBlock.push_back(n);
    }
    creditBlock.insert(creditBlock.end(), {189482, 189483, 85});
    // The last end's number is smaller than the first's: the stretch runs in
    // form order all the same.
    EXPECT_EQ(stretch(form, kGAForm70FieldIds.f89, kGAForm70FieldIds.f85), creditBlock);
    EXPECT_EQ(stretch(form, kGAForm70FieldIds.f65, kGAForm70FieldIds.f72), run(65, 72));
    EXPECT_EQ(stretch(form, kGAForm70FieldIds.f73, kGAForm70FieldIds.f79),
              (std::vector<std::int32_t>{73, 74, 75, 77, 78, 79}));
    EXPECT_EQ(stretch(form, kGAForm70FieldIds.f190488, kGAForm70FieldIds.f190493), run(190488, 190493));
}

TEST(PositionalWalks, Form71ColumnOffsets) {
    const auto form = stateForm(71);
    const QVImmutableIdentifier starts[] = {kGAForm71FieldIds.f60, kGAForm71FieldIds.f61, kGAForm71FieldIds.f62,
                                            kGAForm71FieldIds.f63};
    for (int k = 0; k < 4; ++k) {
        QVFieldIDIter it = form->getFieldIDs();
        it = starts[k];
        EXPECT_EQ((it + 4).getFieldID().getNumber(), 64 + k);
        EXPECT_EQ((it + 7).getFieldID().getNumber(), 67 + k);
    }
    const auto whole = stretch(form, kGAForm71FieldIds.f2, kGAForm71FieldIds.f87);
    EXPECT_EQ(whole.size(), 89u);
    EXPECT_EQ(whole.front(), 2);
    EXPECT_EQ(stretch(form, kGAForm71FieldIds.f15, kGAForm71FieldIds.f86).size(), 74u);
}

TEST(PositionalWalks, Form76DocumentRows) {
    const auto form = stateForm(76);
    QVFieldIDIter it = form->getFieldIDs();
    const int step = it.positionOf(kGAForm76FieldIds.f13) - it.positionOf(kGAForm76FieldIds.f9);
    EXPECT_EQ(step, 4);
    std::vector<std::int32_t> rowStarts;
    for (it = kGAForm76FieldIds.f9; it <= kGAForm76FieldIds.f108; it += step) {
        rowStarts.push_back(it.getFieldID().getNumber());
    }
    ASSERT_EQ(rowStarts.size(), 25u);
    EXPECT_EQ(rowStarts.front(), 9);
    EXPECT_EQ(rowStarts.back(), 105);
}

TEST(PositionalWalks, Form73And75ClearedStretches) {
    EXPECT_EQ(stretch(stateForm(73), kGAForm73FieldIds.f7, Primitives::kNullFieldID), run(7, 26));
    EXPECT_EQ(stretch(stateForm(73), kGAForm73FieldIds.f18, kGAForm73FieldIds.f26), run(18, 26));
    EXPECT_EQ(stretch(stateForm(75), kGAForm75FieldIds.f31, kGAForm75FieldIds.f37), run(31, 37));
    EXPECT_EQ(stretch(stateForm(75), kGAForm75FieldIds.f54, kGAForm75FieldIds.f69),
              (std::vector<std::int32_t>{54, 55, 56, 51, 52, 62, 67, 58, 59, 71, 57, 60, 61, 63, 64, 65, 66, 68, 69}));
}

// Walks over federal form 190: rows from a first member while at or before a
// last member, columns at distances measured between members.
std::vector<std::vector<std::int32_t>> walk190(const QVImmutableIdentifier& first, const QVImmutableIdentifier& last,
                                               const QVImmutableIdentifier& strideFrom,
                                               const QVImmutableIdentifier& strideTo, const std::vector<int>& columns) {
    const auto form = federalForm(190);
    QVFieldIDIter it = form->getFieldIDs();
    const int stride = it.positionOf(strideTo) - it.positionOf(strideFrom);
    std::vector<std::vector<std::int32_t>> rows;
    for (it = first; it <= last; it += stride) {
        std::vector<std::int32_t> row;
        for (int distance : columns) {
            row.push_back((it + distance).getFieldID().getNumber());
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(PositionalWalks, FederalForm190Rows) {
    const auto& c = kForm190FieldIds;
    const auto form = federalForm(190);
    QVFieldIDIter probe = form->getFieldIDs();
    const int d1 = probe.positionOf(c.f11) - probe.positionOf(c.f10);
    const int d2 = probe.positionOf(c.f12) - probe.positionOf(c.f10);
    const int d3 = probe.positionOf(c.f127) - probe.positionOf(c.f10);
    EXPECT_EQ(d1, 1);
    EXPECT_EQ(d2, 2);
    EXPECT_EQ(d3, 3);

    // Walk A: ten rows of date, amount, state and box.
    const auto a = walk190(c.f10, c.f37, c.f10, c.f13, {0, d1, d2, d3});
    ASSERT_EQ(a.size(), 10u);
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(a[r], (std::vector<std::int32_t>{10 + 3 * r, 11 + 3 * r, 12 + 3 * r, 127 + r}));
    }
    // Walk B measures its columns on walk A's rows.
    const auto b = walk190(c.f72, c.f81, c.f72, c.f75, {d1, d2});
    EXPECT_EQ(b, (std::vector<std::vector<std::int32_t>>{{73, 74}, {76, 77}, {79, 80}, {82, 83}}));
    // Walks C and D start one field apart and read the same fields.
    const int c1 = probe.positionOf(c.f99) - probe.positionOf(c.f98);
    const int c2 = probe.positionOf(c.f100) - probe.positionOf(c.f98);
    const auto walkC = walk190(c.f98, c.f107, c.f98, c.f101, {c1, c2});
    const int dCol = probe.positionOf(c.f100) - probe.positionOf(c.f99);
    const auto walkD = walk190(c.f99, c.f108, c.f99, c.f102, {0, dCol});
    const std::vector<std::vector<std::int32_t>> expected = {{99, 100}, {102, 103}, {105, 106}, {108, 109}};
    EXPECT_EQ(walkC, expected);
    EXPECT_EQ(walkD, expected);
}

TEST(PositionalWalks, StateForm4IncomeLinesAreConsecutive) {
    // Each income line's columns A, B and C stand one after another; column C
    // is found as the field after column B.
    const auto form = stateForm(4);
    const int lines[][3] = {
        {37, 38, 39},    {40, 41, 42}, {43, 44, 45}, {46, 47, 48}, {49, 50, 51}, {52, 53, 54},    {55, 56, 57},
        {58, 59, 60},    {61, 62, 63}, {64, 65, 66}, {67, 68, 69}, {70, 71, 72}, {116, 117, 118}, {10504, 10505, 10506},
        {85, 86, 87},    {88, 89, 90}, {82, 83, 84}, {91, 92, 93}, {94, 95, 96}, {103, 104, 105}, {106, 107, 108},
        {109, 110, 111}, {29, 30, 31}, {76, 77, 78}, {79, 80, 81}, {97, 98, 99}, {100, 101, 102}};
    for (const auto& line : lines) {
        QVFieldIDIter it = form->getFieldIDs();
        it = QVImmutableIdentifier(line[0]);
        ASSERT_FALSE(it.atEOL()) << line[0];
        EXPECT_EQ((it + 1).getFieldID().getNumber(), line[1]) << line[0];
        EXPECT_EQ((it + 2).getFieldID().getNumber(), line[2]) << line[0];
    }
}

TEST(PositionalWalks, StatementRowsOfStateForms2And3) {
    // 24 row-information fields from field 3, and 24 display rows of five
    // fields from field 31 to the row starting at field 146.
    for (int number : {2, 3}) {
        const auto form = stateForm(number);
        EXPECT_EQ(stretch(form, QVImmutableIdentifier(3), QVImmutableIdentifier(26)), run(3, 26));
        int rows = 0;
        QVFieldIDIter it = form->getFieldIDs();
        for (it = QVImmutableIdentifier(31); it <= QVImmutableIdentifier(146); it += 5) {
            ++rows;
        }
        EXPECT_EQ(rows, 24) << number;
    }
}

// The named rows of the state wages worksheet and the statements' total
// lines hold three columns that stand one after another; the worksheet
// lists each income and adjustment line once, and every line the federal
// main form fills is one of them, by its first two columns.
TEST(NamedLines, WorksheetAndStatementRowsHoldConsecutiveColumns) {
    const auto worksheet = stateForm(4);
    const StateForm4Lines& s4 = kStateForm4Lines;
    auto consecutive = [](const TaxFormDescPtr& form, const QVImmutableIdentifier& a, const QVImmutableIdentifier& b,
                          const QVImmutableIdentifier& c) {
        const int at = form->positionOf(a);
        return at >= 0 && form->positionOf(b) == at + 1 && form->positionOf(c) == at + 2;
    };
    std::vector<const StateForm4Lines::Row*> rows = {&s4.interestStatements, &s4.dividendStatements, &s4.wages,
                                                     &s4.otherWages,         &s4.wagesTotal,         &s4.businessIncome,
                                                     &s4.incomeTotal,        &s4.adjustmentTotal};
    for (const auto& row : s4.incomeLines) {
        rows.push_back(&row);
    }
    for (const auto& row : s4.adjustmentLines) {
        rows.push_back(&row);
    }
    std::set<std::int32_t> lines;
    for (const StateForm4Lines::Row* row : rows) {
        EXPECT_TRUE(consecutive(worksheet, row->federal, row->resident, row->nonresident)) << row->federal.getNumber();
    }
    for (const auto& row : s4.incomeLines) {
        lines.insert(row.federal.getNumber());
    }
    for (const auto& row : s4.adjustmentLines) {
        lines.insert(row.federal.getNumber());
    }
    EXPECT_EQ(lines.size(), s4.incomeLines.size() + s4.adjustmentLines.size());
    for (const WageLineRowLines& w : kWageLineRows) {
        EXPECT_TRUE(lines.count(w.federal.getNumber()) == 1 &&
                    worksheet->positionOf(w.resident) == worksheet->positionOf(w.federal) + 1)
            << w.federal.getNumber();
    }

    const StateForm2Lines& interest = kStateForm2Lines;
    for (const auto& [number, statement] :
         {std::pair{2, interest.statement}, std::pair{3, kStateForm3Lines.statement}}) {
        const auto form = stateForm(number);
        for (const StatementTotalLine& total :
             {statement.regular, statement.usObligations, statement.outOfStateMunicipal, statement.inStateMunicipal}) {
            EXPECT_TRUE(consecutive(form, total.total, total.partYear, total.nonresident)) << total.total.getNumber();
        }
    }
    for (const StatementTotalLine& total : {interest.fromFederalForm3, interest.netUsObligations}) {
        EXPECT_TRUE(consecutive(stateForm(2), total.total, total.partYear, total.nonresident));
    }
}

}  // namespace
