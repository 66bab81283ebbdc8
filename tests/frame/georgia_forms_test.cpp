// The table of the Georgia forms: every Georgia form has its row, the lists
// that keep an order of their own name the same forms as the table, and a
// form finds its row and no other.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "module/frame/GeorgiaForms.h"
#include "tests/support/GeneratedDefinitions.h"

namespace {

using GAForms::findGeorgiaForm;
using GAForms::FormId;
using GAForms::GeorgiaForm;
using GAForms::kGeorgiaForms;

template <class List>
bool lists(const List& list, const FormId& form) {
    return std::find(list.begin(), list.end(), form) != list.end();
}

std::string numbers(const std::vector<FormId>& forms) {
    std::string text;
    for (const FormId& f : forms) text += " " + std::to_string(f.getNumber());
    return text;
}

// The Georgia forms named anywhere: the identifiers' group, and the form
// definitions of the Georgia return (dev names GA...).
TEST(GeorgiaForms, EveryGeorgiaFormHasItsRow) {
    std::vector<FormId> withoutRow;
    for (const FormId& form : GAFormIdentifiers) {
        if (findGeorgiaForm(form) == nullptr) withoutRow.push_back(form);
    }
    const DataMgmt::TaxReturnDescPtr georgia = testsupport::definitions().georgia;
    int defined = 0;
    for (DataMgmt::TaxFormDescIter it = georgia->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormDescPtr desc = it.getTaxFormDescriptor();
        if (desc->getDevName().rfind("GA", 0) != 0) continue;
        ++defined;
        if (findGeorgiaForm(desc->getTypeID()) == nullptr) withoutRow.push_back(desc->getTypeID());
    }
    EXPECT_EQ(defined, 29);
    EXPECT_TRUE(withoutRow.empty()) << "Georgia forms without a row:" << numbers(withoutRow);

    // And every row is a Georgia form or one of the shared state worksheets.
    std::vector<FormId> unknown;
    for (const GeorgiaForm& row : kGeorgiaForms) {
        if (!lists(GAFormIdentifiers, row.form) && !lists(StateFormIdentifiers, row.form)) unknown.push_back(row.form);
    }
    EXPECT_TRUE(unknown.empty()) << "rows of forms without an identifier:" << numbers(unknown);
}

TEST(GeorgiaForms, TheCalculationOrderAndTheTableNameTheSameForms) {
    const auto end = std::find_if(GACalculationMgmt::GACalcOrder.begin(), GACalculationMgmt::GACalcOrder.end(),
                                  [](const FormId& f) { return f.getNumber() <= 0; });
    const std::vector<FormId> order(GACalculationMgmt::GACalcOrder.begin(), end);
    std::vector<FormId> notCalculated;
    for (const GeorgiaForm& row : kGeorgiaForms) {
        if (!lists(order, row.form)) notCalculated.push_back(row.form);
    }
    EXPECT_TRUE(notCalculated.empty()) << "forms missing from the calculation order:" << numbers(notCalculated);
    std::vector<FormId> withoutRow;
    for (const FormId& form : order) {
        if (findGeorgiaForm(form) == nullptr) withoutRow.push_back(form);
    }
    EXPECT_TRUE(withoutRow.empty()) << "forms of the calculation order without a row:" << numbers(withoutRow);
}

// Every row reaches a routine of the calculation and one of the review; a
// form that the grouped forms' operation takes names its routine there.
TEST(GeorgiaForms, EveryRowNamesItsRoutines) {
    for (const GeorgiaForm& row : kGeorgiaForms) {
        const GAForms::Calculation& c = row.calculation;
        EXPECT_TRUE(c.operation != nullptr || c.routine != nullptr) << row.form.getNumber();
        EXPECT_TRUE(c.operation != &GAForms::Engine::calcGroupedForm || c.routine != nullptr) << row.form.getNumber();
        EXPECT_NE(row.review, nullptr) << row.form.getNumber();
    }
}

TEST(GeorgiaForms, AFormFindsItsOwnRowAndNoOther) {
    for (const GeorgiaForm& row : kGeorgiaForms) {
        EXPECT_EQ(findGeorgiaForm(row.form), &row) << row.form.getNumber();
        // The federal form of the same number is another form.
        EXPECT_EQ(findGeorgiaForm(FormId(row.form.getNumber(), false)), nullptr) << row.form.getNumber();
    }
    // State forms without a row, no form, and numbers that share a row's
    // place in the lookup.
    const std::int32_t slots = static_cast<std::int32_t>(GAForms::index::kSlotCount);
    for (const std::int32_t number : {32783, 14, 15, 0, -70, 70 + slots, 190054 - slots, 204111 + 2 * slots}) {
        EXPECT_EQ(findGeorgiaForm(FormId(number, true)), nullptr) << number;
    }
}

}  // namespace
