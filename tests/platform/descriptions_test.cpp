#include "platform/store/Descriptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/Exceptions.h"

using DataMgmt::FieldKind;
using DataMgmt::FormFieldDesc;
using DataMgmt::QVFieldIDIter;
using DataMgmt::TaxFormDesc;
using DataMgmt::TaxFormDescPtr;
using DataMgmt::TaxReturnDesc;
using Primitives::QVImmutableFormIdentifier;
using Primitives::QVImmutableIdentifier;

namespace {

FormFieldDesc::Attributes field(int number, FieldKind kind = FieldKind::Number) {
    FormFieldDesc::Attributes a;
    a.id = QVImmutableIdentifier(number);
    a.kind = kind;
    return a;
}

// A form whose field order is not the order of its numbers, as on the main
// Georgia form: 1, 2, 17405, 17406, 7, 8, 33440, 11.
TaxFormDescPtr unsortedForm() {
    TaxFormDescPtr form(new TaxFormDesc(QVImmutableFormIdentifier(70, true), "GA70", "Form 500"));
    for (int n : {1, 2, 17405, 17406, 7, 8, 33440, 11}) {
        form->addField(field(n));
    }
    return form;
}

std::vector<int> walk(QVFieldIDIter it) {
    std::vector<int> numbers;
    for (; !it.atEOL(); it.next()) {
        numbers.push_back(it.getFieldID().getNumber());
    }
    return numbers;
}

}  // namespace

// --- field descriptions ---------------------------------------------------

// --- form descriptions ----------------------------------------------------

TEST(TaxFormDesc, RefusesWhatWouldMakeAFieldAmbiguous) {
    TaxFormDescPtr form = unsortedForm();
    const std::size_t before = form->fieldCount();

    EXPECT_THROW(form->addField(field(17405)), Exceptions::QuarloException);  // number twice
    EXPECT_THROW(form->addField(field(0)), Exceptions::QuarloException);      // the null field

    auto sameShort = field(500);
    sameShort.shortName = "f7";  // field 7 is already "F7", compared without case
    EXPECT_THROW(form->addField(sameShort), Exceptions::QuarloException);

    auto badShort = field(501);
    badShort.shortName = "Line 1";
    EXPECT_THROW(form->addField(badShort), Exceptions::QuarloException);

    EXPECT_EQ(form->fieldCount(), before);
    EXPECT_FALSE(form->hasField(500));
    EXPECT_FALSE(form->hasField(501));
    EXPECT_EQ(walk(form->getFieldIDs()), (std::vector<int>{1, 2, 17405, 17406, 7, 8, 33440, 11}));
}

TEST(TaxFormDesc, RefusedFieldLeavesTheMessageNamingTheFormAndField) {
    TaxFormDescPtr form = unsortedForm();
    try {
        form->addField(field(7));
        FAIL() << "a field given twice was accepted";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("field 7"), std::string::npos) << e.getMessage();
        EXPECT_NE(e.getMessage().find("GA70"), std::string::npos) << e.getMessage();
        EXPECT_EQ(e.getClassName(), "TaxFormDesc");
        EXPECT_EQ(e.getOperationName(), "addField");
    }
}

TEST(TaxFormDesc, ConstructorRefusesAFormThatCannotExist) {
    EXPECT_THROW(TaxFormDesc(QVImmutableFormIdentifier(0, true), "GA0", ""), Exceptions::QuarloException);
    EXPECT_THROW(TaxFormDesc(QVImmutableFormIdentifier(70, true), "", ""), Exceptions::QuarloException);
    EXPECT_THROW(TaxFormDesc(QVImmutableFormIdentifier(70, true), "GA70", "", 0), Exceptions::QuarloException);

    const TaxFormDesc plain(QVImmutableFormIdentifier(136, false), "F136", "");
    EXPECT_EQ(plain.getBusinessName(), "Form 136");
    EXPECT_EQ(plain.getMaxCopies(), 99);
    EXPECT_EQ(plain.getRank(), 0);
    EXPECT_EQ(plain.fieldCount(), 0u);
    EXPECT_TRUE(plain.getFieldIDs().atEOL());
}

TEST(TaxFormDesc, FindsFieldsByNumberSymbolicNameOrShortName) {
    TaxFormDescPtr form(new TaxFormDesc(QVImmutableFormIdentifier(69, true), "GA69", "Info"));
    auto first = field(1, FieldKind::Text);
    first.shortName = "TPFirst";
    form->addField(first);
    form->addField(field(85, FieldKind::Boolean));

    EXPECT_EQ(form->getFieldDesc(1)->getSymbolicName(), "kGA69_TPFirst");
    EXPECT_TRUE(form->getFieldDesc(2).isNull());
    EXPECT_TRUE(form->getFieldDesc(Primitives::kNullFieldID).isNull());

    EXPECT_EQ(form->findField("kGA69_TPFirst")->getID().getNumber(), 1);
    EXPECT_EQ(form->findField("kga69_tpfirst")->getID().getNumber(), 1);
    EXPECT_EQ(form->findField("TPFIRST")->getID().getNumber(), 1);
    EXPECT_EQ(form->findField("F85")->getID().getNumber(), 85);
    EXPECT_EQ(form->findField("kGA69_F85")->getID().getNumber(), 85);
    // Field 1 has a short name of its own, and keeps the names its number
    // gives, which files written before it had one carry.
    EXPECT_EQ(form->findField("F1")->getID().getNumber(), 1);
    EXPECT_EQ(form->findField("kGA69_F1")->getID().getNumber(), 1);
    EXPECT_TRUE(form->findField("kGA70_F85").isNull());
    EXPECT_TRUE(form->findField("").isNull());

    EXPECT_EQ(form->positionOf(85), 1);
    EXPECT_EQ(form->positionOf(86), -1);
}

// A form's field numbers are kept in a run indexed from 1, in pages of
// numbers past the run, or from 2^24 on in a hash table. Each number is
// found at its place wherever it is kept, and its absent neighbours are not;
// so it stays when the form grows and the run takes over a number that was
// in a page (field 200 below).
TEST(TaxFormDesc, FindsEachNumberWhereverItsPlaceIsKept) {
    const int big = 1 << 24;
    const int top = std::numeric_limits<int>::max();
    std::vector<int> numbers;
    TaxFormDescPtr form(new TaxFormDesc(QVImmutableFormIdentifier(70, true), "GA70", "Form 500"));
    auto add = [&](int n) {
        form->addField(field(n));
        numbers.push_back(n);
    };
    auto listed = [&](int n) { return std::find(numbers.begin(), numbers.end(), n) != numbers.end(); };
    auto expectPlaces = [&] {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            EXPECT_EQ(form->positionOf(numbers[i]), static_cast<int>(i)) << numbers[i];
            for (int near : {numbers[i] - 1, numbers[i] == top ? 0 : numbers[i] + 1}) {
                EXPECT_TRUE(listed(near) || !form->hasField(near)) << near;
            }
        }
        for (int absent : {0, -5, 1000, 10000000, big + 1, top - 1}) {
            EXPECT_EQ(form->positionOf(absent), -1) << absent;
        }
    };
    for (int n : {3, 1, 2, 200, 5000, 17405, 33440, big - 1, big, top}) {
        add(n);
    }
    expectPlaces();
    for (int n = 4; n <= 70; ++n) {
        add(n);
    }
    add(250);
    expectPlaces();
    EXPECT_EQ(walk(form->getFieldIDs()), numbers);
}

// --- the field iterator ---------------------------------------------------

TEST(QVFieldIDIter, WalksInFormOrderNotNumberOrder) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs();
    EXPECT_EQ(it.size(), 8u);
    EXPECT_EQ(it.position(), 0);
    EXPECT_EQ(walk(it), (std::vector<int>{1, 2, 17405, 17406, 7, 8, 33440, 11}));

    it = QVImmutableIdentifier(17405);
    EXPECT_EQ(it.position(), 2);
    EXPECT_EQ(static_cast<QVImmutableIdentifier>(it).getNumber(), 17405);
    EXPECT_EQ((it + 2).getFieldID().getNumber(), 7);
    EXPECT_EQ((it - 2).getFieldID().getNumber(), 1);
    EXPECT_EQ(it.getFieldID().getNumber(), 17405);  // + and - leave the iterator where it was

    it += 3;
    EXPECT_EQ(it.getFieldID().getNumber(), 8);
    it -= 1;
    EXPECT_EQ(it.getFieldID().getNumber(), 7);
    it += -4;
    EXPECT_EQ(it.getFieldID().getNumber(), 1);
}

TEST(QVFieldIDIter, ComparesPlacesNotNumbers) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs();
    it = QVImmutableIdentifier(17405);  // place 2, a larger number than field 7 at place 4

    EXPECT_TRUE(it < QVImmutableIdentifier(7));
    EXPECT_TRUE(it <= QVImmutableIdentifier(7));
    EXPECT_FALSE(it > QVImmutableIdentifier(7));
    EXPECT_TRUE(it > QVImmutableIdentifier(2));
    EXPECT_TRUE(it <= QVImmutableIdentifier(17405));
    EXPECT_TRUE(it >= QVImmutableIdentifier(17405));
    EXPECT_FALSE(it < QVImmutableIdentifier(17405));

    QVFieldIDIter later = it + 1;
    EXPECT_TRUE(it < later);
    EXPECT_TRUE(it <= later);
    EXPECT_FALSE(later <= it);
    EXPECT_TRUE(later > it);
    EXPECT_TRUE(it <= it);
    EXPECT_TRUE(it >= it);
}

TEST(QVFieldIDIter, ComparisonWithAFieldTheFormLacksIsAlwaysFalse) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs();
    for (QVImmutableIdentifier absent : {QVImmutableIdentifier(3), Primitives::kNullFieldID}) {
        EXPECT_FALSE(it <= absent);
        EXPECT_FALSE(it < absent);
        EXPECT_FALSE(it > absent);
        EXPECT_FALSE(it >= absent);
        EXPECT_EQ(it.positionOf(absent), -1);
    }
    // A walk up to a missing field therefore touches nothing.
    int visited = 0;
    for (; it <= QVImmutableIdentifier(3); it.next()) {
        ++visited;
    }
    EXPECT_EQ(visited, 0);
}

TEST(QVFieldIDIter, RangeWalkVisitsBothEndsAndStops) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs();
    std::vector<int> visited;
    for (it = QVImmutableIdentifier(17406); it <= QVImmutableIdentifier(33440); it += 1) {
        visited.push_back(it.getFieldID().getNumber());
    }
    EXPECT_EQ(visited, (std::vector<int>{17406, 7, 8, 33440}));

    // Up to the last field: the step past it ends the walk.
    visited.clear();
    for (it = QVImmutableIdentifier(33440); it <= QVImmutableIdentifier(11); it.next()) {
        visited.push_back(it.getFieldID().getNumber());
    }
    EXPECT_EQ(visited, (std::vector<int>{33440, 11}));
    EXPECT_TRUE(it.atEOL());

    // A start after the end visits nothing.
    visited.clear();
    for (it = QVImmutableIdentifier(8); it <= QVImmutableIdentifier(2); it.next()) {
        visited.push_back(it.getFieldID().getNumber());
    }
    EXPECT_TRUE(visited.empty());
}

TEST(QVFieldIDIter, MovingPastEitherEndClampsToTheEndState) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs();

    QVFieldIDIter past = it + 8;
    EXPECT_TRUE(past.atEOL());
    EXPECT_EQ(past.position(), 8);
    EXPECT_TRUE(past.getFieldID().isNullID());
    EXPECT_TRUE(static_cast<QVImmutableIdentifier>(past) == Primitives::kNullFieldID);

    QVFieldIDIter before = it - 1;
    EXPECT_TRUE(before.atEOL());
    EXPECT_EQ(before.position(), 8);
    EXPECT_TRUE(before.getFieldID().isNullID());

    EXPECT_TRUE((it + 1000000000).atEOL());
    EXPECT_TRUE((it - 1000000000).atEOL());
    it = QVImmutableIdentifier(11);
    it += 2147483647;  // no overflow of the place
    EXPECT_TRUE(it.atEOL());

    // The end state lies after every field.
    EXPECT_TRUE(before > QVImmutableIdentifier(11));
    EXPECT_FALSE(before <= QVImmutableIdentifier(11));
    EXPECT_FALSE(before < QVImmutableIdentifier(1));
}

TEST(QVFieldIDIter, EndStateStaysUntilAFieldIsAssigned) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs() - 1;
    ASSERT_TRUE(it.atEOL());
    it += 1;
    EXPECT_TRUE(it.atEOL());  // does not come back in at the first field
    it -= 1;
    EXPECT_TRUE(it.atEOL());  // nor at the last
    it.next();
    EXPECT_TRUE(it.atEOL());

    it = QVImmutableIdentifier(8);
    EXPECT_FALSE(it.atEOL());
    EXPECT_EQ(it.getFieldID().getNumber(), 8);

    it = QVImmutableIdentifier(9999);  // not on the form
    EXPECT_TRUE(it.atEOL());
    EXPECT_TRUE(it.getFieldID().isNullID());
}

TEST(QVFieldIDIter, CopiesMoveIndependently) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter row = form->getFieldIDs();
    row = QVImmutableIdentifier(2);
    QVFieldIDIter column = form->getFieldIDs();
    column = row;
    column += 2;
    EXPECT_EQ(row.getFieldID().getNumber(), 2);
    EXPECT_EQ(column.getFieldID().getNumber(), 17406);
    EXPECT_EQ(row.positionOf(33440) - row.positionOf(7), 2);  // a column distance measured by places
}

TEST(QVFieldIDIter, KeepsItsListWhenTheFormGrowsLater) {
    TaxFormDescPtr form = unsortedForm();
    QVFieldIDIter it = form->getFieldIDs();
    it = QVImmutableIdentifier(11);
    form->addField(field(12));
    EXPECT_EQ(it.size(), 8u);
    EXPECT_TRUE((it + 1).atEOL());
    EXPECT_EQ(it.positionOf(12), -1);

    QVFieldIDIter fresh = form->getFieldIDs();
    EXPECT_EQ(fresh.size(), 9u);
    EXPECT_EQ(fresh.positionOf(12), 8);
}

TEST(QVFieldIDIter, DefaultAndHandMadeLists) {
    QVFieldIDIter empty;
    EXPECT_TRUE(empty.atEOL());
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_TRUE(empty.getFieldID().isNullID());
    empty = QVImmutableIdentifier(1);
    EXPECT_TRUE(empty.atEOL());

    auto list = std::make_shared<const QVFieldIDIter::FieldList>(
        QVFieldIDIter::FieldList{QVImmutableIdentifier(9), QVImmutableIdentifier(4), QVImmutableIdentifier(9)});
    QVFieldIDIter it(list, 1);
    EXPECT_EQ(it.getFieldID().getNumber(), 4);
    EXPECT_EQ(it.positionOf(9), 0);  // a field listed twice is found at its first place
    EXPECT_TRUE(QVFieldIDIter(list, 3).atEOL());
    EXPECT_TRUE(QVFieldIDIter(list, -1).atEOL());
    EXPECT_TRUE(QVFieldIDIter(nullptr).atEOL());
}

// --- return descriptions --------------------------------------------------

TEST(TaxReturnDesc, HoldsOnlyItsOwnKindOfFormOnce) {
    TaxReturnDesc georgia("Georgia", "GA", DataMgmt::kGeorgiaReturnType);
    TaxReturnDesc federal("Federal", "US", DataMgmt::kFederalReturnType);
    TaxFormDescPtr stateForm2(new TaxFormDesc(QVImmutableFormIdentifier(2, true), "ST2", ""));
    TaxFormDescPtr federalForm2(new TaxFormDesc(QVImmutableFormIdentifier(2, false), "F2", ""));

    EXPECT_THROW(georgia.addForm(federalForm2), Exceptions::QuarloException);
    EXPECT_THROW(federal.addForm(stateForm2), Exceptions::QuarloException);
    EXPECT_THROW(georgia.addForm(TaxFormDescPtr()), Exceptions::QuarloException);

    georgia.addForm(stateForm2);
    federal.addForm(federalForm2);
    EXPECT_EQ(georgia.getTaxFormDescriptor(QVImmutableFormIdentifier(2, true)).get(), stateForm2.get());
    EXPECT_TRUE(georgia.getTaxFormDescriptor(QVImmutableFormIdentifier(2, false)).isNull());
    EXPECT_EQ(federal.getTaxFormDescriptor(QVImmutableFormIdentifier(2)).get(), federalForm2.get());

    EXPECT_THROW(georgia.addForm(TaxFormDescPtr(new TaxFormDesc(QVImmutableFormIdentifier(2, true), "ST2b", ""))),
                 Exceptions::QuarloException);
    EXPECT_THROW(georgia.addForm(TaxFormDescPtr(new TaxFormDesc(QVImmutableFormIdentifier(3, true), "st2", ""))),
                 Exceptions::QuarloException);
    EXPECT_EQ(georgia.formCount(), 1u);
    EXPECT_TRUE(georgia.findByDevName("ST3").isNull());
    EXPECT_EQ(georgia.findByDevName("st2").get(), stateForm2.get());

    EXPECT_EQ(georgia.getName(), "Georgia");
    EXPECT_EQ(georgia.getAbbreviation(), "GA");
    EXPECT_EQ(georgia.getReturnType(), DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(federal.getReturnType(), 1);
}

TEST(TaxReturnDesc, ListsFormsByNumberOrInDisplayOrder) {
    TaxReturnDesc georgia("Georgia", "GA", DataMgmt::kGeorgiaReturnType);
    // number, rank: ranked forms first by rank, then the rest by number
    for (auto [number, rank] :
         std::vector<std::pair<int, int>>{{203638, 0}, {70, 2}, {4, 0}, {69, 1}, {2, 0}, {75, 2}}) {
        georgia.addForm(TaxFormDescPtr(
            new TaxFormDesc(QVImmutableFormIdentifier(number, true), "X" + std::to_string(number), "", 99, rank)));
    }
    auto numbers = [](DataMgmt::TaxFormDescIter it) {
        std::vector<int> out;
        for (; !it.atEOL(); it.next()) {
            out.push_back(it.getTaxFormDescriptor()->getTypeID().getNumber());
        }
        EXPECT_TRUE(it.getTaxFormDescriptor().isNull());
        it.next();  // stays at the end
        EXPECT_TRUE(it.atEOL());
        return out;
    };
    EXPECT_EQ(numbers(georgia.getTaxFormDescriptors()), (std::vector<int>{2, 4, 69, 70, 75, 203638}));
    EXPECT_EQ(numbers(georgia.getTaxFormDescriptorsInDisplayOrder()), (std::vector<int>{69, 70, 75, 2, 4, 203638}));
    EXPECT_TRUE(DataMgmt::TaxFormDescIter().atEOL());
}

TEST(TaxReturnDesc, FindsEachOfManyFormsByNumber) {
    TaxReturnDesc federal("Federal", "US", DataMgmt::kFederalReturnType);
    std::vector<int> numbers;  // 1, 3, 5, ... and numbers near the largest
    for (int k = 0; k < 300; ++k) {
        numbers.push_back(k % 2 == 0 ? k + 1 : std::numeric_limits<int>::max() - k * 7919);
    }
    for (int n : numbers) {
        federal.addForm(TaxFormDescPtr(new TaxFormDesc(QVImmutableFormIdentifier(n), "F" + std::to_string(n), "")));
    }
    for (int n : numbers) {
        const TaxFormDescPtr form = federal.getTaxFormDescriptor(QVImmutableFormIdentifier(n));
        ASSERT_FALSE(form.isNull()) << n;
        EXPECT_EQ(form->getTypeID().getNumber(), n);
        EXPECT_TRUE(federal.getTaxFormDescriptor(QVImmutableFormIdentifier(n, true)).isNull()) << n;
    }
    for (int absent : {0, -1, 2, 300, std::numeric_limits<int>::max() - 1}) {
        EXPECT_TRUE(federal.getTaxFormDescriptor(QVImmutableFormIdentifier(absent)).isNull()) << absent;
    }
}
