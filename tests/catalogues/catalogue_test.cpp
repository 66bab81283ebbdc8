// The field identifier catalogues as generated from their data files: counts,
// uniqueness, the members the data gives, and the facts of the forms that the
// calculation, review and output rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "module/catalogues/AllFieldIds.h"
#include "module/catalogues/FieldTripleTable.h"
#include "testdata/CatalogueManifest.h"

namespace {

using CatalogueManifest::Entry;
using CatalogueManifest::kEntries;
using Primitives::QVImmutableIdentifier;

const Entry& entry(const std::string& className) {
    for (const Entry& e : kEntries) {
        if (className == e.className) {
            return e;
        }
    }
    ADD_FAILURE() << "no catalogue " << className;
    return kEntries[0];
}

// Index of a field in a catalogue, -1 when absent.
int indexOf(const std::string& className, std::int32_t number) {
    const auto& members = entry(className).members;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (members[i].getNumber() == number) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int32_t at(const std::string& className, std::size_t index) {
    const auto& members = entry(className).members;
    return index < members.size() ? members[index].getNumber() : -1;
}

int runsOf(std::span<const QVImmutableIdentifier> members) {
    int runs = members.empty() ? 0 : 1;
    for (std::size_t i = 1; i < members.size(); ++i) {
        if (members[i].getNumber() != members[i - 1].getNumber() + 1) {
            ++runs;
        }
    }
    return runs;
}

// A field that a catalogue does not list is not a member: naming it does not
// compile. These concepts make that checkable here.
template <class T>
concept HasField23 = requires(T t) {
    t.f23;
};
template <class T>
concept HasField61 = requires(T t) {
    t.f61;
};
template <class T>
concept HasField76 = requires(T t) {
    t.f76;
};
template <class T>
concept HasField74 = requires(T t) {
    t.f74;
};
template <class T>
concept HasField44 = requires(T t) {
    t.f44;
};
template <class T>
concept HasField1 = requires(T t) {
    t.f1;
};

static_assert(HasField44<GAForm70FieldIds>);
static_assert(!HasField23<GAForm70FieldIds> && !HasField61<GAForm70FieldIds> && !HasField76<GAForm70FieldIds>);
static_assert(!HasField74<GAForm71FieldIds>);
// A federal form known only in part: its other places hold fillers, which
// no code can name as fields.
static_assert(HasField1<Form92FieldIds> && !HasField1<Form165FieldIds>);
// The catalogues are constants, usable where the compiler needs a value.
static_assert(kGAForm70FieldIds.f44.getNumber() == 44);
static_assert(kForm164FieldIds.f19 == QVImmutableIdentifier(19));
static_assert(GAForm70FieldIds::kMemberCount == 303);

struct Stated {
    const char* className;
    std::int32_t formNumber;  // 0 for a list kept for one use
    bool isState;
    std::size_t count;
};

// Every catalogue with its form, return and member count as the forms give
// them: 46 lists of the Georgia, state worksheet and largest federal forms
// (7,094 members), 29 of the other federal forms (7,552).
const Stated kStated[] = {
    {"GAForm189219FieldIds", 189219, true, 199},
    {"GAForm187982FieldIds", 187982, true, 16},
    {"GAForm203639FieldIds", 203639, true, 47},
    {"GAForm190054FieldIds", 190054, true, 13},
    {"GAForm190055FieldIds", 190055, true, 5},
    {"GAForm190056FieldIds", 190056, true, 5},
    {"GAForm190057FieldIds", 190057, true, 21},
    {"GAForm190058FieldIds", 190058, true, 19},
    {"GAForm190059FieldIds", 190059, true, 9},
    {"GAForm190060FieldIds", 190060, true, 13},
    {"GAForm190061FieldIds", 190061, true, 5},
    {"GAForm190062FieldIds", 190062, true, 7},
    {"GAForm187981FieldIds", 187981, true, 40},
    {"GAForm203638FieldIds", 203638, true, 40},
    {"GAForm189215FieldIds", 189215, true, 205},
    {"GAForm189216FieldIds", 189216, true, 64},
    {"GAForm203811FieldIds", 203811, true, 62},
    {"GAForm189217FieldIds", 189217, true, 60},
    {"GAForm189218FieldIds", 189218, true, 118},
    {"StateForm3FieldIds", 3, true, 162},
    {"GAForm70FieldIds", 70, true, 303},
    {"GAForm71FieldIds", 71, true, 98},
    {"GAForm77FieldIds", 77, true, 18},
    {"GAForm72FieldIds", 72, true, 34},
    {"GAForm76FieldIds", 76, true, 108},
    {"GAForm75FieldIds", 75, true, 65},
    {"GAForm74FieldIds", 74, true, 19},
    {"GAForm69FieldIds", 69, true, 154},
    {"GAForm73FieldIds", 73, true, 29},
    {"StateForm2FieldIds", 2, true, 168},
    {"StateForm4FieldIds", 4, true, 127},
    {"WageLineFieldIds", 0, false, 119},
    {"StateForm32783FieldIds", 32783, true, 10},
    {"OwnerInfoFieldIds", 0, false, 10},
    {"StateForm14FieldIds", 14, true, 52},
    {"Form92FieldIds", 92, false, 1764},
    {"Form1FieldIds", 1, false, 766},
    {"Form71FieldIds", 71, false, 70},
    {"Form133618FieldIds", 133618, false, 10},
    {"Form28FieldIds", 28, false, 284},
    {"Form75FieldIds", 75, false, 108},
    {"Form49FieldIds", 49, false, 101},
    {"Form104FieldIds", 104, false, 165},
    {"Form113FieldIds", 113, false, 915},
    {"Form190FieldIds", 190, false, 146},
    {"Form2FieldIds", 2, false, 341},
    {"Form165FieldIds", 165, false, 73},
    {"Form84FieldIds", 84, false, 640},
    {"Form7FieldIds", 7, false, 436},
    {"Form16FieldIds", 16, false, 198},
    {"Form12FieldIds", 12, false, 340},
    {"Form8FieldIds", 8, false, 345},
    {"Form19FieldIds", 19, false, 220},
    {"Form132FieldIds", 132, false, 62},
    {"Form78FieldIds", 78, false, 288},
    {"Form44FieldIds", 44, false, 45},
    {"Form103FieldIds", 103, false, 471},
    {"Form57FieldIds", 57, false, 413},
    {"Form52FieldIds", 52, false, 353},
    {"Form54FieldIds", 54, false, 51},
    {"Form110FieldIds", 110, false, 183},
    {"Form186662FieldIds", 186662, false, 60},
    {"Form166FieldIds", 166, false, 143},
    {"Form164FieldIds", 164, false, 93},
    {"Form135FieldIds", 135, false, 122},
    {"Form131FieldIds", 131, false, 109},
    {"FederalMapFieldIds", 0, false, 49},
    {"Form55FieldIds", 55, false, 354},
    {"Form87FieldIds", 87, false, 143},
    {"Form51FieldIds", 51, false, 609},
    {"Form89FieldIds", 89, false, 228},
    {"Form3FieldIds", 3, false, 128},
    {"Form31FieldIds", 31, false, 445},
    {"Form126FieldIds", 126, false, 549},
    {"Form183FieldIds", 183, false, 403},
};

TEST(CatalogueSet, EveryCatalogueHasItsFormAndCountOfUniquePositiveNumbers) {
    ASSERT_EQ(std::size(kStated), 75u);
    ASSERT_EQ(kEntries.size(), std::size(kStated));
    std::size_t total = 0;
    for (const Stated& s : kStated) {
        SCOPED_TRACE(s.className);
        const Entry& e = entry(s.className);
        EXPECT_EQ(std::string(e.objectName), std::string("k") + s.className);
        EXPECT_EQ(e.formNumber, s.formNumber);
        EXPECT_EQ(e.isState, s.isState);
        EXPECT_EQ(e.formNumber == 0, std::string(e.role) != "");
        EXPECT_EQ(e.members.size(), s.count);
        total += e.members.size();
        std::set<std::int32_t> seen;
        for (const QVImmutableIdentifier& id : e.members) {
            EXPECT_GT(id.getNumber(), 0);
            EXPECT_TRUE(seen.insert(id.getNumber()).second) << "field " << id.getNumber() << " twice";
        }
    }
    EXPECT_EQ(total, 7094u + 7553u);
}

TEST(GeorgiaScheduleCatalogues, EndsAndOrder) {
    EXPECT_EQ(at("GAForm189219FieldIds", 0), 189557);
    EXPECT_EQ(at("GAForm189219FieldIds", 198), 189669);
    EXPECT_EQ(at("GAForm189215FieldIds", 0), 189222);
    EXPECT_EQ(at("GAForm189215FieldIds", 204), 189326);
    EXPECT_EQ(at("GAForm189218FieldIds", 0), 190506);
    EXPECT_EQ(at("GAForm189218FieldIds", 117), 190009);
    EXPECT_LT(indexOf("GAForm189219FieldIds", 189592), indexOf("GAForm189219FieldIds", 189591));
    EXPECT_LT(indexOf("GAForm189217FieldIds", 189430), indexOf("GAForm189217FieldIds", 189426));
    EXPECT_EQ(indexOf("GAForm189218FieldIds", 189901), 9);
    EXPECT_EQ(indexOf("GAForm187981FieldIds", 188007), 13);
}

TEST(GeorgiaScheduleCatalogues, CreditWorksheetsCoverOneRunWithoutGap) {
    std::int32_t next = 190148;
    for (int form = 190054; form <= 190062; ++form) {
        const Entry& e = entry("GAForm" + std::to_string(form) + "FieldIds");
        EXPECT_EQ(runsOf(e.members), 1) << form;
        EXPECT_EQ(e.members.front().getNumber(), next) << form;
        next = e.members.back().getNumber() + 1;
    }
    EXPECT_EQ(next, 190245);
}

TEST(GeorgiaScheduleCatalogues, NumbersOccurInNoOtherCatalogue) {
    const std::set<int> schedules = {187981, 187982, 189215, 189216, 189217, 189218, 189219, 190054, 190055, 190056,
                                     190057, 190058, 190059, 190060, 190061, 190062, 203638, 203639, 203811};
    std::map<std::int32_t, std::string> owner;
    for (const Entry& e : kEntries) {
        if (e.isState && schedules.count(e.formNumber)) {
            for (const auto& id : e.members) {
                owner[id.getNumber()] = e.className;
            }
        }
    }
    for (const Entry& e : kEntries) {
        if (e.isState && schedules.count(e.formNumber)) {
            continue;
        }
        for (const auto& id : e.members) {
            EXPECT_EQ(owner.count(id.getNumber()), 0u)
                << e.className << " holds " << id.getNumber() << " of " << owner[id.getNumber()];
        }
    }
}

TEST(GeorgiaMainCatalogues, EndsOrderAndGaps) {
    EXPECT_EQ(at("GAForm70FieldIds", 0), 1);
    EXPECT_EQ(at("GAForm70FieldIds", 302), 74354);
    EXPECT_EQ(at("GAForm69FieldIds", 0), 1);
    EXPECT_EQ(at("GAForm69FieldIds", 153), 193221);
    EXPECT_EQ(at("GAForm71FieldIds", 0), 1);
    EXPECT_EQ(at("GAForm71FieldIds", 97), 87);
    const auto& form76 = entry("GAForm76FieldIds").members;
    ASSERT_EQ(form76.size(), 108u);
    for (std::size_t k = 0; k < form76.size(); ++k) {
        EXPECT_EQ(form76[k].getNumber(), static_cast<std::int32_t>(k + 1));
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(at("GAForm70FieldIds", 6 + k), 17405 + k);
    }
    EXPECT_LT(indexOf("GAForm72FieldIds", 48187), indexOf("GAForm72FieldIds", 48186));
    EXPECT_LT(indexOf("GAForm73FieldIds", 138856), indexOf("GAForm73FieldIds", 138855));
    EXPECT_EQ(indexOf("GAForm69FieldIds", 193208), indexOf("GAForm69FieldIds", 193215) + 1);
    EXPECT_EQ(indexOf("GAForm69FieldIds", 193209), indexOf("GAForm69FieldIds", 193208) + 2);
    EXPECT_EQ(at("GAForm75FieldIds", 0), 18);
    EXPECT_EQ(at("GAForm75FieldIds", 1), 207527);
    EXPECT_EQ(at("GAForm75FieldIds", 2), 1);
    for (int missing : {23, 61, 76}) {
        EXPECT_EQ(indexOf("GAForm70FieldIds", missing), -1) << missing;
    }
    for (int missing : {2, 26, 27}) {
        EXPECT_EQ(indexOf("GAForm72FieldIds", missing), -1) << missing;
    }
    EXPECT_EQ(indexOf("GAForm71FieldIds", 74), -1);
    EXPECT_EQ(indexOf("GAForm74FieldIds", 1), -1);
}

TEST(GeorgiaMainCatalogues, MembersTheGeorgiaReturnReadsByIndex) {
    EXPECT_EQ(indexOf("GAForm70FieldIds", 34), 107);
    EXPECT_EQ(indexOf("GAForm70FieldIds", 44), 117);
    EXPECT_EQ(indexOf("GAForm70FieldIds", 84), 164);
    EXPECT_EQ(indexOf("GAForm70FieldIds", 110), 300);
    EXPECT_EQ(indexOf("GAForm69FieldIds", 197644), 127);
    EXPECT_EQ(indexOf("GAForm69FieldIds", 21), 106);
    // The income-statement rows of form 70 are members 255 to 270.
    EXPECT_EQ(at("GAForm70FieldIds", 255), 190494);
    EXPECT_EQ(at("GAForm70FieldIds", 270), 148018);
}

TEST(StateWorksheetCatalogues, IndexFacts) {
    EXPECT_EQ(at("StateForm14FieldIds", 0), 143855);
    EXPECT_EQ(at("StateForm14FieldIds", 1), 1);
    EXPECT_EQ(at("StateForm4FieldIds", 75), 116);
    EXPECT_EQ(at("WageLineFieldIds", 67), 108);
}

TEST(StateWorksheetCatalogues, WageLineListMirrorsStateForm4Layout) {
    // Same run layout, first run eight numbers shorter: every member of the
    // wage-line list sits where state form 4 has a field eight numbers higher,
    // for the fields up to 115.
    const auto& form4 = entry("StateForm4FieldIds").members;
    const auto& wage = entry("WageLineFieldIds").members;
    ASSERT_EQ(form4.size(), wage.size() + 8);
    // Pairs of the wage-line table: a state form 4 pair and a wage-line pair
    // stand at the same place relative to their list ends.
    const std::vector<std::pair<int, int>> pairs = {
        {37, 29}, {40, 32}, {43, 35}, {46, 38},  {49, 41},   {52, 44},       {55, 47}, {58, 50},
        {61, 53}, {64, 56}, {67, 59}, {70, 62},  {116, 108}, {10504, 10498}, {85, 77}, {88, 80},
        {82, 74}, {91, 83}, {94, 86}, {103, 95}, {106, 98},  {109, 101}};
    for (const auto& [state, wageField] : pairs) {
        const int s = indexOf("StateForm4FieldIds", state);
        const int w = indexOf("WageLineFieldIds", wageField);
        ASSERT_GE(s, 0);
        ASSERT_GE(w, 0);
        EXPECT_EQ(s - w, 8) << state << " / " << wageField;
        EXPECT_EQ(form4[s + 1].getNumber(), state + 1);
        EXPECT_EQ(wage[w + 1].getNumber(), wageField + 1);
    }
}

TEST(FederalCatalogues, StatedEndsAndReadMembers) {
    EXPECT_EQ(at("Form71FieldIds", 0), 25);
    EXPECT_EQ(at("Form71FieldIds", 69), 64);
    EXPECT_EQ(at("Form71FieldIds", 23), 67);
    EXPECT_EQ(at("Form28FieldIds", 0), 283);
    EXPECT_EQ(at("Form28FieldIds", 283), 110);
    EXPECT_EQ(at("Form28FieldIds", 22), 280);
    EXPECT_EQ(at("Form28FieldIds", 37), 16);
    EXPECT_EQ(at("Form75FieldIds", 0), 114);
    EXPECT_EQ(at("Form75FieldIds", 107), 132807);
    EXPECT_EQ(at("Form75FieldIds", 61), 36);
    EXPECT_EQ(at("Form75FieldIds", 90), 66);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(at("Form133618FieldIds", k), 133645 + k);
    }
    // Federal form 71 field 67 and Georgia form 71 field 67 are two fields.
    EXPECT_GE(indexOf("GAForm71FieldIds", 67), 0);
    EXPECT_NE(indexOf("GAForm71FieldIds", 67), indexOf("Form71FieldIds", 67));
}

TEST(FederalCatalogues, Forms92And1) {
    EXPECT_EQ(at("Form92FieldIds", 0), 143660);
    EXPECT_EQ(indexOf("Form92FieldIds", 1), 1595);
    EXPECT_EQ(indexOf("Form92FieldIds", 210834), 1594);
    const int firstTen[] = {1595, 1599, 1597, 1601, 1598, 1602, 1626, 1627, 1628, 1629};
    for (int f = 1; f <= 10; ++f) {
        EXPECT_EQ(indexOf("Form92FieldIds", f), firstTen[f - 1]) << f;
    }
    EXPECT_EQ(at("Form92FieldIds", 1763), 195618);
    EXPECT_EQ(indexOf("Form92FieldIds", 711), 563);
    EXPECT_EQ(indexOf("Form92FieldIds", 557), 1638);
    const int heading[] = {1, 411, 2, 3, 11, 4, 412, 5, 6, 12, 7, 317, 8, 9, 10};
    for (int r = 0; r < 15; ++r) {
        EXPECT_EQ(at("Form1FieldIds", 325 + r), heading[r]) << r;
    }
    EXPECT_EQ(at("Form1FieldIds", 0), 524);
    EXPECT_EQ(at("Form1FieldIds", 765), 614);
    // Smallest and largest numbers as stated.
    const auto& form92 = entry("Form92FieldIds").members;
    const auto [lo, hi] = std::minmax_element(form92.begin(), form92.end());
    EXPECT_EQ(lo->getNumber(), 1);
    EXPECT_EQ(hi->getNumber(), 210834);
}

TEST(FederalCatalogues, LongestRunsAreThoseStated) {
    // Fillers add no run of their own, so the longest run of each partial
    // list is the stated one.
    const std::map<std::string, int> longest = {
        {"Form71FieldIds", 19},  {"Form28FieldIds", 46}, {"Form75FieldIds", 12},  {"Form92FieldIds", 66},
        {"Form1FieldIds", 22},   {"Form49FieldIds", 8},  {"Form104FieldIds", 15}, {"Form113FieldIds", 239},
        {"Form190FieldIds", 54}, {"Form2FieldIds", 22}};
    for (const auto& [name, length] : longest) {
        const auto& members = entry(name).members;
        int best = 1;
        int current = 1;
        for (std::size_t i = 1; i < members.size(); ++i) {
            current = members[i].getNumber() == members[i - 1].getNumber() + 1 ? current + 1 : 1;
            best = std::max(best, current);
        }
        EXPECT_EQ(best, length) << name;
    }
}

TEST(FederalCatalogues, Forms49To2) {
    EXPECT_EQ(at("Form49FieldIds", 53), 17);
    EXPECT_EQ(at("Form49FieldIds", 0), 81757);
    EXPECT_EQ(at("Form49FieldIds", 100), 46);
    EXPECT_EQ(at("Form104FieldIds", 34), 181);
    EXPECT_EQ(at("Form104FieldIds", 36), 183);
    EXPECT_EQ(at("Form113FieldIds", 41), 1104);
    EXPECT_EQ(at("Form113FieldIds", 44), 1107);
    EXPECT_EQ(at("Form113FieldIds", 141), 1136);
    EXPECT_EQ(at("Form2FieldIds", 170), 7);
    EXPECT_EQ(at("Form190FieldIds", 0), 125);
    EXPECT_EQ(at("Form190FieldIds", 11), 10);
    EXPECT_EQ(at("Form190FieldIds", 14), 127);
    EXPECT_EQ(at("Form190FieldIds", 47), 37);
    EXPECT_EQ(at("Form190FieldIds", 50), 136);
    EXPECT_EQ(at("Form190FieldIds", 92), 71);
    EXPECT_EQ(at("Form190FieldIds", 145), 124);
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(at("Form190FieldIds", 11 + 4 * r), 10 + 3 * r);
        EXPECT_EQ(at("Form190FieldIds", 14 + 4 * r), 127 + r);
    }
}

TEST(FederalCatalogues, ReadMembersKeepTheirOrderAndPins) {
    EXPECT_LT(indexOf("Form165FieldIds", 20717), indexOf("Form165FieldIds", 10));
    EXPECT_LT(indexOf("Form165FieldIds", 144118), indexOf("Form165FieldIds", 28));
    const int form55[] = {1, 178, 2, 3, 11, 4, 179, 5, 6, 12, 7, 123, 8, 9, 10};
    const int form87[] = {31, 69, 32, 81534, 9, 81535, 81536, 81537, 81538, 53, 33, 5, 6, 7, 8};
    for (int r = 0; r < 15; ++r) {
        EXPECT_EQ(at("Form55FieldIds", 92 + r), form55[r]);
        EXPECT_EQ(at("Form87FieldIds", 48 + r), form87[r]);
    }
    EXPECT_EQ(at("Form164FieldIds", 68), 19);
    EXPECT_LT(indexOf("Form164FieldIds", 144117), 68);
    EXPECT_GT(indexOf("Form164FieldIds", 32), 68);
    EXPECT_GE(indexOf("FederalMapFieldIds", 41), 0);
}

TEST(FieldTripleTable, HoldsSixtyFourNullFieldsAtLoad) {
    static_assert(kFieldTripleRows * kFieldTripleColumns == 64);
    static_assert(sizeof(kFieldTripleTable) / sizeof(kFieldTripleTable[0]) == 64);
    for (const auto& id : kFieldTripleTable) {
        EXPECT_EQ(id.getNumber(), 0);
        EXPECT_TRUE(id.isNullID());
    }
}

}  // namespace
