// The form descriptions compiled into the library are those that loading the
// build's definition files gives: every form, in order, with every field and
// every attribute, and the same e-file lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/FormDefinitions.h"

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
        DataMgmt::QVFieldIDIter cIt = cf->getFieldIDs();
        for (DataMgmt::QVFieldIDIter lIt = lf->getFieldIDs(); !lIt.atEOL(); lIt.next(), cIt.next()) {
            const DataMgmt::FormFieldDescPtr lField = lf->getFieldDesc(lIt.getFieldID());
            const DataMgmt::FormFieldDescPtr cField = cf->getFieldDesc(cIt.getFieldID());
            ASSERT_FALSE(cField.isNull());
            EXPECT_TRUE(cField->attributes() == lField->attributes()) << lField->getSymbolicName();
            EXPECT_EQ(cField->getSymbolicName(), lField->getSymbolicName());
            EXPECT_EQ(cf->findField(lField->getSymbolicName()).get(), cField.get());
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
