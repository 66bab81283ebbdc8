// The form descriptions compiled into the library are those that loading the
// build's definition files gives: every form, in order, with every field and
// every attribute, and the same e-file lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "platform/definitions/FormDefinitions.h"

namespace {

void expectSameTifList(const DataMgmt::TaxReturnDesc& loaded, const DataMgmt::TaxReturnDesc& compiled,
                       const Primitives::QVImmutableFormIdentifier& form) {
    EXPECT_EQ(compiled.hasFixedTifFieldDescriptors(form), loaded.hasFixedTifFieldDescriptors(form));
    const DataMgmt::TifFieldDescriptorListPtr l = loaded.getTifFieldDescriptors(form);
    const DataMgmt::TifFieldDescriptorListPtr c = compiled.getTifFieldDescriptors(form);
    ASSERT_EQ(c->size(), l->size());
    for (std::size_t i = 0; i < l->size(); ++i) {
        const DataMgmt::TifFieldDescriptor& a = (*l)[i];
        const DataMgmt::TifFieldDescriptor& b = (*c)[i];
        EXPECT_TRUE(a.form == b.form && a.field == b.field && a.key == b.key && a.attributes == b.attributes &&
                    a.cleaning == b.cleaning && a.formatCode == b.formatCode)
            << "e-file line " << i;
    }
}

void expectSameReturn(const DataMgmt::TaxReturnDesc& loaded, const DataMgmt::TaxReturnDesc& compiled) {
    ASSERT_EQ(compiled.formCount(), loaded.formCount());
    DataMgmt::TaxFormDescIter c = compiled.getTaxFormDescriptorsInDisplayOrder();
    for (DataMgmt::TaxFormDescIter l = loaded.getTaxFormDescriptorsInDisplayOrder(); !l.atEOL(); l.next(), c.next()) {
        const DataMgmt::TaxFormDescPtr lf = l.getTaxFormDescriptor();
        const DataMgmt::TaxFormDescPtr cf = c.getTaxFormDescriptor();
        ASSERT_FALSE(cf.isNull());
        SCOPED_TRACE(lf->getDevName());
        EXPECT_TRUE(cf->getTypeID() == lf->getTypeID());
        EXPECT_EQ(cf->getDevName(), lf->getDevName());
        EXPECT_EQ(cf->getBusinessName(), lf->getBusinessName());
        EXPECT_EQ(cf->getMaxCopies(), lf->getMaxCopies());
        EXPECT_EQ(cf->getRank(), lf->getRank());
        expectSameTifList(loaded, compiled, lf->getTypeID());
        ASSERT_EQ(cf->fieldCount(), lf->fieldCount());
        int largest = 0;
        DataMgmt::QVFieldIDIter cIt = cf->getFieldIDs();
        for (DataMgmt::QVFieldIDIter lIt = lf->getFieldIDs(); !lIt.atEOL(); lIt.next(), cIt.next()) {
            largest = std::max(largest, lIt.getFieldID().getNumber());
            const DataMgmt::FormFieldDescPtr lField = lf->getFieldDesc(lIt.getFieldID());
            const DataMgmt::FormFieldDescPtr cField = cf->getFieldDesc(cIt.getFieldID());
            ASSERT_FALSE(cField.isNull());
            EXPECT_TRUE(cField->attributes() == lField->attributes()) << lField->getSymbolicName();
            EXPECT_EQ(cField->getSymbolicName(), lField->getSymbolicName());
            EXPECT_EQ(cf->findField(lField->getSymbolicName()).get(), cField.get());
        }
        // The build's place tables answer every number as those made when
        // the files are read do, absent numbers included.
        for (int n = 0; n <= largest + 1; ++n) {
            if (cf->positionOf(n) != lf->positionOf(n)) {
                ADD_FAILURE() << "field number " << n;
                break;
            }
        }
    }
}

}  // namespace

TEST(CompiledForms, AreTheDefinitionsTheBuildWrote) {
    const FormDefinitions::Library loaded = FormDefinitions::loadDirectory(GA_BINARY_DIR "/forms");
    const FormDefinitions::Library compiled = FormDefinitions::compiledLibrary();
    expectSameReturn(*loaded.federal, *compiled.federal);
    expectSameReturn(*loaded.georgia, *compiled.georgia);
}

TEST(CompiledForms, ADirectoryNamedInTheEnvironmentComesFirst) {
    const char* saved = std::getenv("GA_FORMS_DIR");
    const std::string savedValue = saved == nullptr ? "" : saved;
    ::setenv("GA_FORMS_DIR", GA_SOURCE_DIR "/tests/data/forms", 1);
    const std::size_t sampleForms = FormDefinitions::loadDefault().georgia->formCount();
    ::setenv("GA_FORMS_DIR", "", 1);
    const std::size_t compiledForms = FormDefinitions::loadDefault().georgia->formCount();
    if (saved != nullptr) {
        ::setenv("GA_FORMS_DIR", savedValue.c_str(), 1);
    } else {
        ::unsetenv("GA_FORMS_DIR");
    }
    EXPECT_EQ(sampleForms, FormDefinitions::loadDirectory(GA_SOURCE_DIR "/tests/data/forms").georgia->formCount());
    EXPECT_EQ(compiledForms, FormDefinitions::compiledLibrary().georgia->formCount());
    EXPECT_NE(sampleForms, compiledForms);
}

TEST(CompiledForms, AFieldAddedToACompiledFormIsThatFormsAlone) {
    const Primitives::QVImmutableFormIdentifier ga70(70, true);
    const FormDefinitions::Library lib = FormDefinitions::compiledLibrary();
    const DataMgmt::TaxFormDescPtr form = lib.georgia->getTaxFormDescriptor(ga70);
    const DataMgmt::QVFieldIDIter before = form->getFieldIDs();
    const int count = static_cast<int>(form->fieldCount());
    const Primitives::QVImmutableIdentifier last = (before + (count - 1)).getFieldID();

    DataMgmt::FormFieldDesc::Attributes added;
    added.id = Primitives::QVImmutableIdentifier(999999);
    added.kind = DataMgmt::FieldKind::Text;
    form->addField(added);
    EXPECT_EQ(form->positionOf(added.id), count);
    EXPECT_EQ(form->positionOf(last), count - 1);
    EXPECT_TRUE(form->getFieldDesc(added.id)->isText());
    EXPECT_EQ(before.size(), static_cast<std::size_t>(count));  // an iterator keeps its list

    const DataMgmt::TaxFormDescPtr other = FormDefinitions::compiledLibrary().georgia->getTaxFormDescriptor(ga70);
    EXPECT_EQ(other->fieldCount(), static_cast<std::size_t>(count));
    EXPECT_FALSE(other->hasField(added.id));
}

namespace {

// What a line label names that has a form of its own: a date, a ZIP code, a
// state, an identifying, routing or account number, a code, a count, a
// residency.
const std::regex kNamesAKind(
    "\\bdate($| \\(|:|;|,| of (death|birth|disability|completion|successful))|\\bZIP code\\b|\\bstate code\\b|"
    "(^|: |'s |\\()state($|\\)| \\()|^State (of|that|from|where)\\b|social security number|identifying number|"
    "identification number|\\bSSN\\b|\\bFEIN\\b|\\bEIN\\b|routing number|account number|number (on page|line)|"
    "\\bcode\\b|(^|: )Number of\\b|copy number|people counted|counted for|^Dependents( \\(|$)|"
    ": dependents( not counted)?$|filers and dependents|filers 65 or over|^Residency\\b|residency code",
    std::regex::icase);
// Labels of texts of no fixed form: a state's own identification number, a
// licence number, an apartment, a foreign postal code or region, a code the
// calculation writes as it stands, a field whose value the e-file writer
// fills, prose that mentions a date.
const std::regex kNamesFreeText(
    "state identification number|state ID number|licence or state ID|foreign postal code|region of a filer abroad|"
    "apartment number|credit code|form code|refund code|common item|in the e-file's|without a date",
    std::regex::icase);

bool namesAKind(const std::string& label) {
    return std::regex_search(label, kNamesAKind) && !std::regex_search(label, kNamesFreeText);
}

}  // namespace

// A field whose line label names a number, a code, a date or a count has its
// kind, so that every value of it, entered or calculated, is read by that
// kind.
TEST(CompiledForms, EveryFieldThatHoldsANumberCodeDateOrCountHasItsKind) {
    for (const auto& [label, named] : std::vector<std::pair<std::string, bool>>{
             {"ZIP code (from form 69)", true},
             {"Withdrawal: routing number", true},
             {"State from which a refund was received", true},
             {"Number of installments remaining (1 to 4)", true},
             {"Deceased filer: date of death", true},
             {"Summary row: number line", true},
             {"Apartment number", false},
             {"ZIP code, or the foreign postal code of a filer abroad", false},
             {"Installment A: estimated tax paid, and the payments without a date (from form 69)", false},
             {"State tax withheld", false},
         }) {
        EXPECT_EQ(namesAKind(label), named) << label;
    }
    const FormDefinitions::Library library = FormDefinitions::compiledLibrary();
    std::string untyped;
    for (const DataMgmt::TaxReturnDesc* desc : {library.federal.get(), library.georgia.get()}) {
        for (DataMgmt::TaxFormDescIter forms = desc->getTaxFormDescriptors(); !forms.atEOL(); forms.next()) {
            const DataMgmt::TaxFormDescPtr form = forms.getTaxFormDescriptor();
            for (DataMgmt::QVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
                const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(it.getFieldID());
                const bool kind =
                    field->isBoolean() || field->isDate() || field->getContent() != DataMgmt::FieldContent::Any;
                if (!kind && namesAKind(field->getLineID())) {
                    untyped += form->getDevName() + " field " + std::to_string(field->getID().getNumber()) + ": " +
                               field->getLineID() + "\n";
                }
            }
        }
    }
    EXPECT_EQ(untyped, "");
}
