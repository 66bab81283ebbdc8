#include "platform/definitions/FormDefinitions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "tests/support/ScratchDir.h"

namespace fs = std::filesystem;
using Primitives::QVImmutableFormIdentifier;
using Primitives::QVImmutableIdentifier;

namespace {

const std::string kSampleDir = std::string(GA_SOURCE_DIR) + "/tests/data/forms";

class FormDefinitionsTest : public testsupport::ScratchDirTest {
protected:
    // Loads one file and returns the error message ("" when it loads).
    std::string errorOf(const std::string& text) {
        const std::string path = writeFile("t.def", text);
        try {
            FormDefinitions::loadFiles({path});
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_EQ(e.getClassName(), "FormDefinitions");
            return e.getMessage();
        }
        return "";
    }
};

std::vector<int> fieldNumbers(const DataMgmt::TaxFormDescPtr& form) {
    std::vector<int> out;
    for (DataMgmt::QVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
        out.push_back(it.getFieldID().getNumber());
    }
    return out;
}

}  // namespace

TEST_F(FormDefinitionsTest, SampleDefinitionsLoadIntoBothReturns) {
    const FormDefinitions::Library lib = FormDefinitions::loadDirectory(kSampleDir);
    ASSERT_FALSE(lib.federal.isNull());
    ASSERT_FALSE(lib.georgia.isNull());
    EXPECT_EQ(lib.georgia->getName(), "Georgia");
    EXPECT_EQ(lib.georgia->getAbbreviation(), "GA");
    EXPECT_EQ(lib.georgia->getReturnType(), DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(lib.federal->getName(), "Federal");
    EXPECT_EQ(lib.federal->getAbbreviation(), "US");
    EXPECT_EQ(lib.federal->getReturnType(), DataMgmt::kFederalReturnType);

    for (const char* devName : {"GA69", "GA70", "ST2", "ST3", "ST4", "ST14", "ST15"}) {
        EXPECT_FALSE(lib.georgia->findByDevName(devName).isNull()) << devName;
        EXPECT_TRUE(lib.federal->findByDevName(devName).isNull()) << devName;
    }
    for (const char* devName : {"F1", "F52", "F92", "F136"}) {
        EXPECT_FALSE(lib.federal->findByDevName(devName).isNull()) << devName;
    }

    // State form 2 and federal form 2 are told apart by the state flag.
    const auto ga70 = lib.georgia->getTaxFormDescriptor(QVImmutableFormIdentifier(70, true));
    ASSERT_FALSE(ga70.isNull());
    EXPECT_EQ(ga70->getDevName(), "GA70");
    EXPECT_EQ(ga70->getMaxCopies(), 1);
    // The main form keeps its own field order: 33440 comes between 10 and 11.
    const std::vector<int> order = fieldNumbers(ga70);
    ASSERT_GE(order.size(), 12u);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 12),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 33440, 11}));

    const auto w2 = lib.federal->findByDevName("F52");
    EXPECT_EQ(w2->getFieldDesc(33)->getValidator()->getEditCode(), 'H');
    EXPECT_TRUE(w2->getFieldDesc(34)->isText());
    EXPECT_EQ(lib.federal->findByDevName("F136")->fieldCount(), 0u);
}

TEST_F(FormDefinitionsTest, AttributesAndDefaults) {
    const std::string path = writeFile("a.def",
                                       "\xEF\xBB\xBF# sample\r\n"
                                       "form 69 state Ga69 copies=3 rank=7 name=\"Form \\\"69\\\" # info \\\\ x\"\r\n"
                                       "field 1 kind=T len=40 short=TPFirst line=\"Line 1a\"   # first name\r\n"
                                       "field 6 kind=D width=8\r\n"
                                       "field 85 kind=B calc=1\r\n"
                                       "field 90 edit=170\r\n"
                                       "field 91 edit=F\r\n"
                                       "field 92 kind=T edit=D\r\n"
                                       "field 93 kind=N domain=nonnegative fractions=1\r\n"
                                       "field 94 domain=intaxyear kind=D\r\n"
                                       "field 95 kind=T edit=D domain=notaftertaxyear\r\n"
                                       "\r\n"
                                       "fields 200-202\r\n"
                                       "end\r\n");
    const FormDefinitions::Library lib = FormDefinitions::loadFiles({path});
    const auto form = lib.georgia->findByDevName("GA69");
    ASSERT_FALSE(form.isNull());
    EXPECT_EQ(form->getTypeID(), QVImmutableFormIdentifier(69, true));
    EXPECT_EQ(form->getBusinessName(), "Form \"69\" # info \\ x");
    EXPECT_EQ(form->getMaxCopies(), 3);
    EXPECT_EQ(form->getRank(), 7);
    EXPECT_EQ(fieldNumbers(form), (std::vector<int>{1, 6, 85, 90, 91, 92, 93, 94, 95, 200, 201, 202}));

    const auto first = form->getFieldDesc(1);
    EXPECT_TRUE(first->isText());
    EXPECT_EQ(first->getMaxLength(), 40);
    EXPECT_EQ(first->getSymbolicName(), "kGA69_TPFirst");
    EXPECT_EQ(first->getLineID(), "Line 1a");

    const auto date = form->getFieldDesc(6);
    EXPECT_TRUE(date->isText());
    EXPECT_TRUE(date->isDate());
    EXPECT_EQ(date->getValidator()->getEditCode(), 'D');
    EXPECT_EQ(date->getMaxLength(), 10);
    EXPECT_EQ(date->getWidth(), 8);

    EXPECT_TRUE(form->getFieldDesc(85)->isBoolean());
    EXPECT_TRUE(form->getFieldDesc(85)->isCalculated());
    EXPECT_EQ(form->getFieldDesc(90)->getValidator()->getEditCode(), 170);
    EXPECT_EQ(form->getFieldDesc(91)->getValidator()->getEditCode(), 'F');
    EXPECT_TRUE(form->getFieldDesc(92)->isDate());
    EXPECT_EQ(form->getFieldDesc(93)->getDomain(), DataMgmt::FieldDomain::NotNegative);
    EXPECT_TRUE(form->getFieldDesc(93)->keepsFractions());
    EXPECT_FALSE(form->getFieldDesc(91)->keepsFractions());
    EXPECT_EQ(form->getFieldDesc(94)->getDomain(), DataMgmt::FieldDomain::InTaxYear);
    EXPECT_EQ(form->getFieldDesc(95)->getDomain(), DataMgmt::FieldDomain::NotAfterTaxYear);
    EXPECT_EQ(form->getFieldDesc(92)->getDomain(), DataMgmt::FieldDomain::Any);

    const auto plain = form->getFieldDesc(201);
    EXPECT_FALSE(plain->isText());
    EXPECT_FALSE(plain->isBoolean());
    EXPECT_FALSE(plain->isCalculated());
    EXPECT_EQ(plain->getShortName(), "F201");
    EXPECT_EQ(plain->getSymbolicName(), "kGA69_F201");
    EXPECT_EQ(plain->getLineID(), "201");
    EXPECT_EQ(plain->getValidator()->getEditCode(), 0);
    EXPECT_EQ(plain->getMaxLength(), 0);

    const std::string other = writeFile("b.def", "form 7 federal F7\nend\n");
    const auto federal = FormDefinitions::loadFiles({other}).federal->findByDevName("F7");
    EXPECT_EQ(federal->getBusinessName(), "Form 7");
    EXPECT_EQ(federal->getMaxCopies(), 99);
    EXPECT_EQ(federal->getRank(), 0);
    EXPECT_FALSE(federal->getTypeID().isState());
}

// Every kind of mistake is refused with the file, the line and what is wrong.
struct BadDefinition {
    const char* name;
    const char* text;
    int line;
    const char* says;
};

void PrintTo(const BadDefinition& bad, std::ostream* os) { *os << bad.name; }

class FormDefinitionErrors : public FormDefinitionsTest, public ::testing::WithParamInterface<BadDefinition> {};

TEST_P(FormDefinitionErrors, NamesFileLineAndFault) {
    const BadDefinition& bad = GetParam();
    const std::string message = errorOf(bad.text);
    const std::string where = (fs::path(dir) / "t.def").string() + ":" + std::to_string(bad.line) + ": ";
    EXPECT_EQ(message.rfind(where, 0), 0u) << "message: " << message << "\nexpected start: " << where;
    EXPECT_NE(message.find(bad.says), std::string::npos) << "message: " << message;
}

INSTANTIATE_TEST_SUITE_P(
    Loader, FormDefinitionErrors,
    ::testing::Values(
        BadDefinition{"UnknownDirective", "form 1 federal F1\nfeild 2\nend\n", 2, "unknown directive \"feild\""},
        BadDefinition{"UnknownFieldAttribute", "form 1 federal F1\nfield 2 size=3\nend\n", 2,
                      "unknown field attribute \"size\""},
        BadDefinition{"UnknownFormAttribute", "form 1 federal F1 pages=2\nend\n", 1,
                      "unknown form attribute \"pages\""},
        BadDefinition{"NonNumericField", "form 1 federal F1\nfield 2x\nend\n", 2, "\"2x\" is not a number"},
        BadDefinition{"NonNumericForm", "form one federal F1\nend\n", 1, "\"one\" is not a number"},
        BadDefinition{"NonNumericCopies", "form 1 federal F1 copies=many\nend\n", 1, "\"many\" is not a number"},
        BadDefinition{"NumberTooLarge", "form 1 federal F1\nfield 99999999999999999999\nend\n", 2, "is not a number"},
        BadDefinition{"ZeroForm", "form 0 state GA0\nend\n", 1, "must be greater than 0"},
        BadDefinition{"NegativeField", "form 1 federal F1\nfield -4\nend\n", 2, "must be greater than 0"},
        BadDefinition{"ZeroCopies", "form 1 federal F1 copies=0\nend\n", 1, "must be greater than 0"},
        BadDefinition{"TooManyCopies", "form 1 federal F1 copies=70000\nend\n", 1, "from 1 to 65535"},
        BadDefinition{"ZeroLength", "form 1 federal F1\nfield 2 kind=T len=0\nend\n", 2, "must be greater than 0"},
        BadDefinition{"NegativeRank", "form 1 federal F1 rank=-1\nend\n", 1, "from 0 to"},
        BadDefinition{"FieldOutsideForm", "field 2\n", 1, "field outside a form"},
        BadDefinition{"RunOutsideForm", "form 1 federal F1\nend\nfields 1-3\n", 3, "fields outside a form"},
        BadDefinition{"EndOutsideForm", "\n\nend\n", 3, "\"end\" without a form"},
        BadDefinition{"FormNotClosed", "# head\nform 1 federal F1\nfield 2\n", 2, "form F1 is not closed"},
        BadDefinition{"FormInsideForm", "form 1 federal F1\nfield 2\nform 2 federal F2\nend\n", 3,
                      "form inside form F1"},
        BadDefinition{"FormTwice", "form 1 federal F1\nend\nform 1 federal Other\nend\n", 3,
                      "federal form 1 is given twice (first at "},
        BadDefinition{"DevNameTwice", "form 1 state ST1\nend\nform 2 state st1\nend\n", 3,
                      "dev name st1 is given twice"},
        BadDefinition{"FieldTwice", "form 1 federal F1\nfield 5\nfields 3-6\nend\n", 3,
                      "field 5 is given twice in form F1 (first at line 2)"},
        BadDefinition{"RunBackwards", "form 1 federal F1\nfields 9-3\nend\n", 2, "goes backwards"},
        BadDefinition{"RunWithoutDash", "form 1 federal F1\nfields 9\nend\n", 2, "not of the form <first>-<last>"},
        BadDefinition{"RunFromZero", "form 1 federal F1\nfields 0-3\nend\n", 2, "must be greater than 0"},
        BadDefinition{"RunTooLong", "form 1 federal F1\nfields 1-2000000000\nend\n", 2, "more than 100000 fields"},
        BadDefinition{"RunWithAttributes", "form 1 federal F1\nfields 1-3 kind=T\nend\n", 2, "no attributes"},
        BadDefinition{"BadKind", "form 1 federal F1\nfield 2 kind=X\nend\n", 2, "kind \"X\" is not one of"},
        BadDefinition{"BadFormKind", "form 1 local L1\nend\n", 1, "neither state nor federal"},
        BadDefinition{"MissingDevName", "form 1 federal\nend\n", 1, "form <number> <state|federal> <devname>"},
        BadDefinition{"AttributeForDevName", "form 1 federal copies=2\nend\n", 1, "<devname>"},
        BadDefinition{"BadDevName", "form 1 federal \"F 1\"\nend\n", 1, "dev name \"F 1\" may hold only"},
        BadDefinition{"BadShortName", "form 1 federal F1\nfield 2 short=\"Line 2\"\nend\n", 2,
                      "short name \"Line 2\" may hold only"},
        BadDefinition{"ShortNameTwice", "form 1 federal F1\nfield 2 short=Wages\nfield 3 short=WAGES\nend\n", 3,
                      "is used by another field of form F1"},
        BadDefinition{"ShortNameOfAnotherField", "form 1 federal F1\nfield 2\nfield 3 short=F2\nend\n", 3,
                      "is used by another field"},
        BadDefinition{"AttributeTwice", "form 1 federal F1\nfield 2 kind=T kind=N\nend\n", 2,
                      "attribute kind is given twice"},
        BadDefinition{"BadEditCode", "form 1 federal F1\nfield 2 edit=HH\nend\n", 2, "edit code \"HH\""},
        BadDefinition{"EditCodeTooLarge", "form 1 federal F1\nfield 2 edit=256\nend\n", 2, "edit code \"256\""},
        BadDefinition{"DateWithOtherEdit", "form 1 federal F1\nfield 2 kind=D edit=H\nend\n", 2, "takes edit code D"},
        BadDefinition{"DateEditOnAmount", "form 1 federal F1\nfield 2 edit=D\nend\n", 2, "needs kind=D"},
        BadDefinition{"BadCalc", "form 1 federal F1\nfield 2 calc=yes\nend\n", 2, "calc \"yes\""},
        BadDefinition{"BadFractions", "form 1 federal F1\nfield 2 fractions=2\nend\n", 2, "fractions \"2\""},
        BadDefinition{"FractionsOnACount", "form 1 federal F1\nfield 2 kind=count fractions=1\nend\n", 2,
                      "fractions belong to an amount (kind=N)"},
        BadDefinition{"FractionsOnADate", "form 1 federal F1\nfield 2 kind=D fractions=1\nend\n", 2,
                      "fractions belong to an amount"},
        BadDefinition{"BadDomain", "form 1 federal F1\nfield 2 domain=positive\nend\n", 2,
                      "domain \"positive\" is not one of"},
        BadDefinition{"NonNegativeText", "form 1 federal F1\nfield 2 kind=T domain=nonnegative\nend\n", 2,
                      "domain nonnegative belongs to an amount"},
        BadDefinition{"NonNegativeDate", "form 1 federal F1\nfield 2 kind=D domain=nonnegative\nend\n", 2,
                      "domain nonnegative belongs to an amount"},
        BadDefinition{"TaxYearOnAmount", "form 1 federal F1\nfield 2 domain=intaxyear\nend\n", 2,
                      "a tax-year domain belongs to a date"},
        BadDefinition{"ChoiceWithoutChoices", "form 1 federal F1\nfield 2 kind=choice\nend\n", 2,
                      "a choice (kind=choice) needs its choices"},
        BadDefinition{"ChoicesOnText", "form 1 federal F1\nfield 2 kind=T choices=A|B\nend\n", 2,
                      "choices belong to a kind=choice field"},
        BadDefinition{"EmptyChoice", "form 1 federal F1\nfield 2 kind=choice choices=A||B\nend\n", 2,
                      "hold an empty choice"},
        BadDefinition{"RangeOnText", "form 1 federal F1\nfield 2 kind=T range=1-4\nend\n", 2,
                      "a range belongs to a count"},
        BadDefinition{"RangeBackwards", "form 1 federal F1\nfield 2 kind=count range=4-1\nend\n", 2,
                      "range 4-1 goes backwards"},
        BadDefinition{"NonNegativeZip", "form 1 federal F1\nfield 2 kind=zip domain=nonnegative\nend\n", 2,
                      "domain nonnegative belongs to an amount"},
        BadDefinition{"BareWordAttribute", "form 1 federal F1\nfield 2 T\nend\n", 2, "unexpected \"T\""},
        BadDefinition{"WordsAfterEnd", "form 1 federal F1\nend F1\n", 2, "unexpected \"F1\" after end"},
        BadDefinition{"QuoteNotClosed", "form 1 federal F1 name=\"Form 1\nend\n", 1, "quoted text is not closed"},
        BadDefinition{"EmptyBusinessName", "form 1 federal F1 name=\"\"\nend\n", 1, "business name is empty"},
        BadDefinition{"EmptyLineLabel", "form 1 federal F1\nfield 2 line=\"\"\nend\n", 2, "line label is empty"}),
    [](const ::testing::TestParamInfo<BadDefinition>& info) { return std::string(info.param.name); });

TEST_F(FormDefinitionsTest, FormGivenInTwoFilesNamesBothPlaces) {
    const std::string a = writeFile("a.def", "form 70 state GA70\nfield 1\nend\n");
    const std::string b = writeFile("b.def", "\nform 70 state GA70x\nend\n");
    try {
        FormDefinitions::loadFiles({a, b});
        FAIL() << "a form given twice was accepted";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_EQ(e.getMessage().rfind(b + ":2: ", 0), 0u) << e.getMessage();
        EXPECT_NE(e.getMessage().find("first at " + a + ":1"), std::string::npos) << e.getMessage();
    }
    // The same number as a federal form is another form.
    const std::string c = writeFile("c.def", "form 70 federal F70\nend\n");
    const FormDefinitions::Library lib = FormDefinitions::loadFiles({a, c});
    EXPECT_EQ(lib.georgia->formCount(), 1u);
    EXPECT_EQ(lib.federal->formCount(), 1u);
}

TEST_F(FormDefinitionsTest, FailedLoadLeavesTheCallersLibraryAsItWas) {
    FormDefinitions::Library lib = FormDefinitions::loadDirectory(kSampleDir);
    const DataMgmt::TaxReturnDesc* georgia = lib.georgia.get();

    writeFile("a.def", "form 1 state ST1\nfield 1\nend\n");
    writeFile("b.def", "form 2 state ST2\nfield 1\nfield 1\nend\n");
    EXPECT_THROW(lib = FormDefinitions::loadDirectory(dir), Exceptions::QuarloException);
    EXPECT_EQ(lib.georgia.get(), georgia);
    EXPECT_TRUE(lib.georgia->findByDevName("ST1").isNull());
    EXPECT_EQ(lib.georgia->findByDevName("ST2")->getBusinessName(), "Georgia interest statement");
}

TEST_F(FormDefinitionsTest, DirectoryReadsOnlyDefFilesInNameOrder) {
    // b.def refers to nothing in a.def, but a form given in both must be
    // reported on the later file, which shows the reading order.
    writeFile("b.def", "form 5 state ST5\nend\n");
    writeFile("a.def", "form 5 state ST5\nend\n");
    writeFile("notes.txt", "this is not a definition\n");
    fs::create_directory(fs::path(dir) / "sub.def");
    try {
        FormDefinitions::loadDirectory(dir);
        FAIL() << "a form given twice was accepted";
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("b.def:1: "), std::string::npos) << e.getMessage();
    }
    fs::remove(fs::path(dir) / "a.def");
    const FormDefinitions::Library lib = FormDefinitions::loadDirectory(dir);
    EXPECT_EQ(lib.georgia->formCount(), 1u);
    EXPECT_EQ(lib.federal->formCount(), 0u);
}

TEST_F(FormDefinitionsTest, MissingFilesAndDirectoriesAreNamed) {
    const std::string missing = dir + "/missing.def";
    try {
        FormDefinitions::loadFiles({missing});
        FAIL();
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_EQ(e.getMessage().rfind(missing + ": cannot be read", 0), 0u) << e.getMessage();
    }
    try {
        FormDefinitions::loadDirectory(dir + "/nowhere");
        FAIL();
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("nowhere: not a directory"), std::string::npos) << e.getMessage();
    }
    try {
        FormDefinitions::loadDirectory(dir);
        FAIL();
    } catch (const Exceptions::QuarloException& e) {
        EXPECT_NE(e.getMessage().find("holds no form definitions"), std::string::npos) << e.getMessage();
    }
}

TEST_F(FormDefinitionsTest, DefaultDirectoryFollowsTheEnvironment) {
    const char* saved = std::getenv("GA_FORMS_DIR");
    const std::string savedValue = saved ? saved : "";

    ::setenv("GA_FORMS_DIR", dir.c_str(), 1);
    EXPECT_EQ(FormDefinitions::defaultDirectory(), dir);
    ::setenv("GA_FORMS_DIR", "", 1);
    EXPECT_EQ(FormDefinitions::defaultDirectory(), std::string(GA_BINARY_DIR) + "/forms");
    ::unsetenv("GA_FORMS_DIR");
    EXPECT_EQ(FormDefinitions::defaultDirectory(), std::string(GA_BINARY_DIR) + "/forms");

    if (saved) {
        ::setenv("GA_FORMS_DIR", savedValue.c_str(), 1);
    }
}
