// The form descriptions made from the tables that the build compiled in.
#include <cstdlib>

#include "platform/definitions/FormDefinitions.h"
#include "platform/definitions/FormTables.h"

namespace FormDefinitions {

Library compiledLibrary() {
    Library library = emptyLibrary();
    for (std::size_t i = 0; i < FormTables::kFormCount; ++i) {
        const FormTables::CompiledForm& f = FormTables::kForms[i];
        DataMgmt::CompiledFields fields{
            FormTables::kFields + f.firstField, f.fieldCount, FormTables::kNames, nullptr, nullptr,
            DataMgmt::detail::PlaceView{}};
        if (f.hasPlaces) {
            fields.order = FormTables::kFieldOrder + f.firstField;
            fields.traits = FormTables::kFieldTraits + f.firstField;
            fields.places = DataMgmt::detail::PlaceView{FormTables::kDense + f.denseFirst, f.denseSize,
                                                        FormTables::kPageOf + f.pageOfFirst, f.pageCount,
                                                        FormTables::kPages + f.pagesFirst};
        }
        DataMgmt::TaxFormDescPtr form(
            new DataMgmt::TaxFormDesc(Primitives::QVImmutableFormIdentifier(f.number, f.isState), f.devName,
                                      f.businessName, f.maxCopies, f.rank, fields));
        (f.isState ? library.georgia : library.federal)->addForm(form);
    }
    for (std::size_t i = 0; i < FormTables::kTifListCount; ++i) {
        const FormTables::CompiledTifList& l = FormTables::kTifLists[i];
        DataMgmt::TifFieldDescriptorList list;
        list.reserve(l.entryCount);
        for (std::uint32_t e = l.firstEntry; e < l.firstEntry + l.entryCount; ++e) {
            const FormTables::CompiledTifEntry& t = FormTables::kTifEntries[e];
            list.push_back(
                DataMgmt::TifFieldDescriptor{Primitives::QVImmutableFormIdentifier(t.formNumber, t.formIsState),
                                             Primitives::QVImmutableIdentifier(t.field), FormTables::kNames + t.key,
                                             FormTables::kNames + t.attributes, t.cleaning, t.formatCode});
        }
        (l.isState ? library.georgia : library.federal)
            ->setTifFieldDescriptors(Primitives::QVImmutableFormIdentifier(l.number, l.isState), std::move(list));
    }
    return library;
}

Library loadDefault() {
    const char* fromEnvironment = std::getenv("GA_FORMS_DIR");
    if (fromEnvironment != nullptr && fromEnvironment[0] != '\0') {
        return loadDirectory(fromEnvironment);
    }
    return compiledLibrary();
}

Library loadDirectoryOrDefault(const std::string& dir) { return dir.empty() ? loadDefault() : loadDirectory(dir); }

}  // namespace FormDefinitions
