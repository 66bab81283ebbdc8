// Owner names, numbers and addresses read from the information form through
// column 4 of the field-triple table.
#include <gtest/gtest.h>

#include "module/catalogues/Form92FieldIds.h"
#include "state_calc_fixture.h"

namespace statecalctest {
namespace {

const Utils::DISPLAY_NAME kDisplay0{0};
const Utils::DISPLAY_NAME kDisplay1{1};

class OwnerNamesTest : public StateCalcTest {
protected:
    OwnerNamesTest() {
        fillInfoColumn();
        info = stateCopy(kGAForm69ID);
    }
    // Taxpayer and spouse names on form 69 (fields 21-24 and 26-29).
    void names(const std::string& first, const std::string& middle, const std::string& last, const std::string& suffix,
               const std::string& spouseFirst, const std::string& spouseMiddle, const std::string& spouseLast,
               const std::string& spouseSuffix) {
        const std::string parts[] = {first,       middle,       last,       suffix,      "",
                                     spouseFirst, spouseMiddle, spouseLast, spouseSuffix};
        for (int i = 0; i < 9; ++i) {
            if (i != 4) {
                setText(info, 21 + i, parts[i]);
            }
        }
    }
    std::string owner(std::int16_t code, Utils::DISPLAY_NAME display) {
        std::string name = "stale";
        engine.composeOwnerName(name, kGAForm69ID, code, display);
        return name;
    }

    DataMgmt::TaxFormPtr info;
};

TEST_F(OwnerNamesTest, JointNameWithTwoLastNames) {
    names("John", "A", "Smith", "Jr", "Mary", "B", "Jones", "");
    EXPECT_EQ(owner(2, kDisplay0), "John A Smith Jr & Mary B Jones");
    EXPECT_EQ(owner(0, kDisplay1), "John A Smith Jr & Mary B Jones");
}

TEST_F(OwnerNamesTest, JointNameWithOneLastNameWritesItOnce) {
    names("John", "A", "Smith", "Jr", "Mary", "B", "SMITH", "III");
    // Display 1: no suffixes, the (spouse's) last name at the end.
    EXPECT_EQ(owner(2, kDisplay1), "John A & Mary B SMITH");
    // Other display values: the last name in the taxpayer's part, each part
    // with its own suffix.
    EXPECT_EQ(owner(2, kDisplay0), "John A SMITH Jr & Mary B III");
}

TEST_F(OwnerNamesTest, JointNameWithoutSpouseLastNameUsesTheTaxpayers) {
    names("John", "", "Smith", "", "Mary", "", "", "");
    EXPECT_EQ(owner(2, kDisplay1), "John & Mary Smith");
    EXPECT_EQ(owner(2, kDisplay0), "John Smith & Mary");
}

TEST_F(OwnerNamesTest, SingleOwnerCodes) {
    names("John", "A", "Smith", "Jr", "Mary", "B", "Jones", "");
    EXPECT_EQ(owner(10, kDisplay0), "Mary B Jones");
    for (std::int16_t code : {1, 3, 4}) {
        EXPECT_EQ(owner(code, kDisplay0), "John A Smith Jr") << code;
    }
    std::string name;
    EXPECT_EQ(engine.getOwnerName(name, kGAForm69ID, 2), "John A Smith Jr & Mary B Jones");
}

TEST_F(OwnerNamesTest, RowsOutsideTheTableGiveEmptyTexts) {
    names("John", "", "Smith", "", "", "", "", "");
    std::string text = "stale";
    EXPECT_EQ(engine.getStrippedText(text, info, 0, 20), "");
    EXPECT_EQ(engine.getStrippedText(text, info, 17, 20), "");
    EXPECT_EQ(engine.getStrippedText(text, info, 3, 20), "Smith");
    EXPECT_EQ(engine.buildPersonName(text, kGAForm69ID, 1, 0, 40, 0, kDisplay0), "John");
    std::array<std::string, 5> texts{"a", "b", "c", "d", "e"};
    engine.getTableTexts(kGAForm69ID, {0, 1, 99, 3, 16}, texts, 1);
    EXPECT_EQ(texts, (std::array<std::string, 5>{"a", "JOHN", "c", "SMITH", "e"}));
}

TEST_F(OwnerNamesTest, OwnerNameAndNumbersIntoTheirFields) {
    names("John", "A", "Smith", "", "Mary", "", "Jones", "");
    setText(info, 25, "123-45-6789");
    setText(info, 30, "987654321");
    auto target = stateCopy(kTestForm);

    engine.assignOwnerName(target, kGAForm69ID, 2, kDisplay0, FieldId(8), FieldId(9), FieldId(10), FieldId(11),
                           FieldId(12), FieldId(13), FieldId(14), FieldId(15), FieldId(16), 1);
    EXPECT_EQ(text(target, 8), "JOHN A SMITH");
    EXPECT_EQ(text(target, 9), "123-45-6789");
    EXPECT_EQ(text(target, 10), "JOHN A SMITH");
    EXPECT_EQ(text(target, 11), "123-45-6789");
    EXPECT_EQ(text(target, 12), "MARY JONES");
    EXPECT_EQ(text(target, 13), "987654321");  // the number as its field holds it
    EXPECT_EQ(text(target, 14), "MARY JONES");
    EXPECT_TRUE(target->isNull(FieldId(16)));  // the extra field is never written

    // An empty number field gives an empty number, not "0".
    info->setValue(FieldId(30), FieldValue());
    engine.assignOwnerName(target, kGAForm69ID, 2, kDisplay0, FieldId(8), FieldId(9), FieldId(10), FieldId(11),
                           FieldId(12), FieldId(13), FieldId(14), FieldId(15), FieldId(16), 1);
    EXPECT_TRUE(target->isNull(FieldId(13)));

    // Owner code 3: the taxpayer alone; the spouse fields are emptied.
    engine.assignOwnerName(target, kGAForm69ID, 3, kDisplay0, FieldId(8), FieldId(9), FieldId(10), FieldId(11),
                           FieldId(12), FieldId(13), FieldId(14), FieldId(15), FieldId(16), 0);
    EXPECT_EQ(text(target, 8), "John A Smith");
    for (int f : {12, 13, 14, 15}) {
        EXPECT_TRUE(target->isNull(FieldId(f))) << f;
    }
}

TEST_F(OwnerNamesTest, SecondNameFieldTakesTheTextWhenTheFirstIsAbsent) {
    names("John", "", "Smith", "", "", "", "", "");
    auto target = stateCopy(kTestForm);
    engine.assignOwnerName(target, kGAForm69ID, 1, kDisplay0, Primitives::kNullFieldID, Primitives::kNullFieldID,
                           FieldId(10), FieldId(11), FieldId(12), FieldId(13), FieldId(14), FieldId(15),
                           Primitives::kNullFieldID, 0);
    EXPECT_EQ(text(target, 10), "John Smith");
}

TEST_F(OwnerNamesTest, OwnerInfoCopiesTheItemsAsTheyStand) {
    names("john", "a", "smith", "jr", "mary", "b", "jones", "");
    setText(info, 25, "123456789");
    setText(info, 30, "987654321");
    auto target = stateCopy(kTestForm);
    for (int f = 8; f <= 17; ++f) {
        setText(target, f, "old");
    }
    engine.assignOwnerInfo(target, kGAForm69ID, 2, FieldId(8), FieldId(9), FieldId(10), FieldId(11), FieldId(12),
                           FieldId(13), FieldId(14), FieldId(15), FieldId(16), FieldId(17), Primitives::kNullFieldID,
                           1);
    const char* expected[] = {"JOHN", "A", "SMITH", "JR", "123456789", "MARY", "B", "JONES", nullptr, "987654321"};
    for (int i = 0; i < 10; ++i) {
        if (expected[i] == nullptr) {
            EXPECT_TRUE(target->isNull(FieldId(8 + i)));  // an empty suffix empties the field
        } else {
            EXPECT_EQ(text(target, 8 + i), expected[i]) << 8 + i;
        }
    }
    engine.assignOwnerInfo(target, kGAForm69ID, 1, FieldId(8), FieldId(9), FieldId(10), FieldId(11), FieldId(12),
                           FieldId(13), FieldId(14), FieldId(15), FieldId(16), FieldId(17), Primitives::kNullFieldID,
                           0);
    EXPECT_EQ(text(target, 8), "john");
    for (int f = 13; f <= 17; ++f) {
        EXPECT_TRUE(target->isNull(FieldId(f))) << f;
    }
}

// ------------------------------------------------------------ the street line

class AddressLineTest : public OwnerNamesTest {
protected:
    std::string line(const std::string& street, const std::string& apartment, int field = 1, int upper = 0) {
        setText(info, 31, street);
        setText(info, 32, apartment);
        auto target = stateCopy(kTestForm);
        setText(target, field, "old");
        engine.assignAddressLine(target, FieldId(field), upper);
        return target->isNull(FieldId(field)) ? std::string() : text(target, field);
    }
};

TEST_F(AddressLineTest, StreetAndApartmentCombinations) {
    EXPECT_EQ(line("12 Peachtree St", ""), "12 Peachtree St");
    EXPECT_EQ(line("", "4B"), "Apartment 4B");
    EXPECT_EQ(line("", ""), "");
    EXPECT_EQ(line("12 Peachtree St", "4b", 7, 1), "12 PEACHTREE ST APT 4B");
}

TEST_F(AddressLineTest, TheStreetIsShortenedSoThatTheApartmentFits) {
    // Field 1 holds 20 characters: 13 of the street, " Apt " and "4B".
    const std::string result = line("123456789012345678901234567890", "4B");
    EXPECT_EQ(result, "1234567890123 Apt 4B");
    EXPECT_EQ(result.size(), 20u);
    // Field 2 holds 4 characters, less than the suffix: the suffix is cut
    // by the field.
    EXPECT_EQ(line("1 Main", "4B", 2), " Apt");
}

TEST_F(AddressLineTest, NothingIsWrittenThroughAnEmptyHandle) {
    setText(info, 31, "12 Peachtree St");
    EXPECT_NO_THROW(engine.assignAddressLine(DataMgmt::TaxFormPtr(), FieldId(1), 0));
}

// ------------------------------------------------------------ the address

class AddressTest : public OwnerNamesTest {
protected:
    AddressTest() {
        setText(info, 33, "Atlanta");
        setText(info, 34, "ga");
        setText(info, 35, "30301");
    }
    void foreign(const std::string& region, const std::string& fallback, const std::string& postal) {
        auto f92 = federalCopy(kForm92ID);
        f92->setValue(kForm92FieldIds.f545, FieldValue::box(true));
        f92->setValue(kForm92FieldIds.f81523, FieldValue::text(region));
        f92->setValue(kForm92FieldIds.f150739, FieldValue::text(fallback));
        f92->setValue(kForm92FieldIds.f81525, FieldValue::text(postal));
    }
};

TEST_F(AddressTest, DomesticAddressFillsStateAndZipAndEmptiesTheForeignFields) {
    auto target = stateCopy(kTestForm);
    setText(target, 5, "old");
    setText(target, 6, "old");
    engine.assignAddress(target, FieldId(7), FieldId(3), FieldId(4), FieldId(5), FieldId(6), 1);
    EXPECT_EQ(text(target, 7), "ATLANTA");
    EXPECT_EQ(text(target, 3), "GA");
    EXPECT_EQ(text(target, 4), "30301");
    EXPECT_TRUE(target->isNull(FieldId(5)));
    EXPECT_TRUE(target->isNull(FieldId(6)));
}

TEST_F(AddressTest, ForeignRegionIsAlwaysInCapitalsAndFallsBackWhenTooLong) {
    foreign("ontario", "ON", "k1a 0b1");
    std::string city, region, fallback, postal;
    engine.getAddress(kGAForm69ID, city, region, fallback, postal, 0);
    EXPECT_EQ(city, "Atlanta");
    EXPECT_EQ(region, "ONTARIO");
    EXPECT_EQ(fallback, "ON");
    EXPECT_EQ(postal, "k1a 0b1");

    auto target = stateCopy(kTestForm);
    setText(target, 3, "old");
    setText(target, 4, "old");
    // Field 5 holds 6 characters: "ONTARIO" does not fit, the fallback does.
    engine.assignAddress(target, FieldId(7), FieldId(3), FieldId(4), FieldId(5), FieldId(4), 0);
    EXPECT_TRUE(target->isNull(FieldId(3)));
    EXPECT_EQ(text(target, 5), "ON");
    // The ZIP field named as the foreign postal field ends with the postal code.
    EXPECT_EQ(text(target, 4), "k1a 0b1");
}

TEST_F(AddressTest, AddressFieldsShareStateAndZipForEveryAddress) {
    foreign("QUEBEC", "QC", "H2X");
    auto target = stateCopy(kTestForm);
    // Field 5 holds 6 characters: "QUEBEC" fits exactly.
    engine.assignAddressFields(target, FieldId(7), FieldId(5), FieldId(4), 0);
    EXPECT_EQ(text(target, 5), "QUEBEC");
    // Field 3 holds 2: the fallback is written.
    engine.assignAddressFields(target, FieldId(7), FieldId(3), FieldId(4), 0);
    EXPECT_EQ(text(target, 3), "QC");
    EXPECT_EQ(text(target, 4), "H2X");
}

// ------------------------------------------------------------ option group

TEST_F(OwnerNamesTest, RadioGroupValueTakesTheHighestMarkedBox) {
    const FieldId b1(110), b3(112), b2(111), b4(1);
    EXPECT_EQ(engine.getRadioGroupValue(DataMgmt::TaxFormPtr(), kGAForm69ID, b1, b3, b2, b4), 1);
    setBox(info, 110, true);
    EXPECT_EQ(engine.getRadioGroupValue(DataMgmt::TaxFormPtr(), kGAForm69ID, b1, b3, b2, b4), 1);
    setBox(info, 111, true);
    EXPECT_EQ(engine.getRadioGroupValue(DataMgmt::TaxFormPtr(), kGAForm69ID, b1, b3, b2, b4), 2);
    setBox(info, 112, true);
    EXPECT_EQ(engine.getRadioGroupValue(DataMgmt::TaxFormPtr(), kGAForm69ID, b1, b3, b2, b4), 3);
    setBox(info, 1, true);
    EXPECT_EQ(engine.getRadioGroupValue(DataMgmt::TaxFormPtr(), kGAForm69ID, b1, b3, b2, b4), 4);
    // No copy 1: 1, and no copy is made.
    EXPECT_EQ(engine.getRadioGroupValue(DataMgmt::TaxFormPtr(), kTestForm, b1, b3, b2, b4), 1);
    EXPECT_FALSE(state->formExists(kTestForm, 1));
}

TEST_F(OwnerNamesTest, RebuildingTheTableKeepsColumnFour) {
    StateCalculationMgmt::StateTaxReturnCalcEngine::buildFieldTripleTable();
    StateCalculationMgmt::StateTaxReturnCalcEngine::buildFieldTripleTable();
    for (int r = 0; r < 15; ++r) {
        EXPECT_EQ(kFieldTripleTable[r * 4 + 3].getNumber(), 21 + r);
    }
    EXPECT_EQ(kFieldTripleTable[0].getNumber(), 1);            // form 1 taxpayer first name
    EXPECT_EQ(kFieldTripleTable[1 * 4 + 1].getNumber(), 178);  // form 55 middle name
    EXPECT_EQ(kFieldTripleTable[14 * 4 + 2].getNumber(), 8);   // form 87 ZIP code
    for (int c = 0; c < 4; ++c) {
        EXPECT_TRUE(kFieldTripleTable[15 * 4 + c].isNullID());
    }
}

}  // namespace
}  // namespace statecalctest
