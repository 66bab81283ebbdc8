// Build step: reads the generated form definitions with the host's own loader
// and writes them out as the constant tables of
// platform/definitions/FormTables.h, so that the compiled descriptions are
// those that loading the files gives.
//
//   form_tables DEFINITIONS-DIR OUTPUT.cpp
//
// A definition the loader refuses stops the build with its "file:line: what".
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"

namespace {

// A C++ string literal of the text: printable ASCII as it is, every other
// byte (and the quote and backslash) as a three-digit octal escape.
std::string literal(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\' && c != '?') {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\%03o", byte);
            out += escaped;
        }
    }
    return out + "\"";
}

const char* kindName(DataMgmt::FieldKind kind) {
    switch (kind) {
        case DataMgmt::FieldKind::Text:
            return "Text";
        case DataMgmt::FieldKind::Boolean:
            return "Boolean";
        case DataMgmt::FieldKind::Number:
            break;
    }
    return "Number";
}

// The names of the fields, each once, zero-terminated one after the other.
class Names {
public:
    Names() { text_.push_back(""); }

    // The place of a name; the empty name is at place 0.
    std::uint32_t placeOf(const std::string& name) {
        if (name.empty()) {
            return 0;
        }
        const auto [it, added] = places_.emplace(name, size_);
        if (added) {
            text_.push_back(name);
            size_ += static_cast<std::uint32_t>(name.size()) + 1;
        }
        return it->second;
    }

    void write(std::ostream& out) const {
        out << "extern const char kNames[] =\n";
        for (const std::string& name : text_) {
            out << "    " << literal(name) << " \"\\000\"\n";
        }
        out << "    ;\n";
    }

private:
    std::vector<std::string> text_;
    std::map<std::string, std::uint32_t> places_;
    std::uint32_t size_ = 1;
};

const char* domainName(DataMgmt::FieldDomain domain) {
    switch (domain) {
        case DataMgmt::FieldDomain::NotNegative:
            return "NotNegative";
        case DataMgmt::FieldDomain::InTaxYear:
            return "InTaxYear";
        case DataMgmt::FieldDomain::NotAfterTaxYear:
            return "NotAfterTaxYear";
        case DataMgmt::FieldDomain::InPaymentPeriod:
            return "InPaymentPeriod";
        case DataMgmt::FieldDomain::Any:
            break;
    }
    return "Any";
}

const char* cleaningName(DataMgmt::TifCleaning cleaning) {
    switch (cleaning) {
        case DataMgmt::TifCleaning::String:
            return "String";
        case DataMgmt::TifCleaning::Name:
            return "Name";
        case DataMgmt::TifCleaning::Address:
            return "Address";
        case DataMgmt::TifCleaning::Date:
            return "Date";
        case DataMgmt::TifCleaning::None:
            return "None";
        case DataMgmt::TifCleaning::EditCode:
            return "EditCode";
        case DataMgmt::TifCleaning::Phone:
            return "Phone";
        case DataMgmt::TifCleaning::AlphaSpace:
            return "AlphaSpace";
        case DataMgmt::TifCleaning::Format:
            break;
    }
    return "Format";
}

// The fixed e-file lists of the forms that have one.
void writeTifLists(const DataMgmt::TaxReturnDesc& desc, std::ostream& lists, std::ostream& entries,
                   std::uint32_t& first, std::size_t& listCount, Names& names) {
    for (DataMgmt::TaxFormDescIter it = desc.getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const Primitives::QVImmutableFormIdentifier& id = it.getTaxFormDescriptor()->getTypeID();
        if (!desc.hasFixedTifFieldDescriptors(id)) {
            continue;
        }
        const DataMgmt::TifFieldDescriptorListPtr list = desc.getTifFieldDescriptors(id);
        for (const DataMgmt::TifFieldDescriptor& d : *list) {
            entries << "    {" << d.form.getNumber() << ", " << (d.form.isState() ? "true" : "false") << ", "
                    << d.field.getNumber() << ", " << names.placeOf(d.key) << ", " << names.placeOf(d.attributes)
                    << ", C::" << cleaningName(d.cleaning) << ", " << static_cast<int>(d.formatCode) << "},\n";
        }
        lists << "    {" << id.getNumber() << ", " << (id.isState() ? "true" : "false") << ", " << first << ", "
              << list->size() << "},\n";
        first += static_cast<std::uint32_t>(list->size());
        ++listCount;
    }
}

// The tables a form's fields are found by, as the host lays them out.
struct PlaceTables {
    std::ostringstream order;
    std::ostringstream traits;
    std::ostringstream dense;
    std::ostringstream pageOf;
    std::ostringstream pages;
    std::uint32_t denseSize = 0;
    std::uint32_t pageOfSize = 0;
    std::uint32_t pagesSize = 0;

    // Writes the form's tables and its CompiledForm members from hasPlaces
    // on; a form with a field number past the pages is left to lay itself
    // out.
    void add(const DataMgmt::TaxFormDesc& form, std::ostream& formLine) {
        DataMgmt::detail::FieldPlaces::FieldList numbers;
        for (DataMgmt::QVFieldIDIter f = form.getFieldIDs(); !f.atEOL(); f.next()) {
            numbers.push_back(f.getFieldID());
            order << f.getFieldID().getNumber() << ",";
            const DataMgmt::FieldTraits& t = form.traitsAt(static_cast<int>(numbers.size() - 1));
            traits << "{K::" << kindName(t.kind) << "," << static_cast<int>(t.editCode) << ","
                   << (t.calculated ? "true" : "false") << ",V(" << static_cast<int>(t.content) << ")," << t.maxLength
                   << ",D::" << domainName(t.domain) << "," << (t.fractions ? "true" : "false") << ","
                   << (t.ranged ? "true" : "false") << "},";
        }
        order << "\n";
        traits << "\n";
        const bool paged = std::all_of(numbers.begin(), numbers.end(), [](const auto& n) {
            return static_cast<std::uint32_t>(n.getNumber()) < DataMgmt::detail::PlaceView::kPagedLimit;
        });
        if (!paged) {
            formLine << "false, 0, 0, 0, 0, 0";
            return;
        }
        const DataMgmt::detail::FieldPlaces places(numbers);
        const DataMgmt::detail::PlaceView& v = places.view();
        const std::size_t pageTotal = places.pageTotal() * DataMgmt::detail::PlaceView::kPageSize;
        formLine << "true, " << denseSize << ", " << v.denseSize << ", " << pageOfSize << ", " << v.pageCount << ", "
                 << pagesSize;
        for (std::size_t i = 0; i < v.denseSize; ++i) dense << v.dense[i] << ",";
        for (std::size_t i = 0; i < v.pageCount; ++i) pageOf << v.pageOf[i] << ",";
        for (std::size_t i = 0; i < pageTotal; ++i) pages << v.pages[i] << ",";
        dense << "\n";
        pageOf << "\n";
        pages << "\n";
        denseSize += static_cast<std::uint32_t>(v.denseSize);
        pageOfSize += static_cast<std::uint32_t>(v.pageCount);
        pagesSize += static_cast<std::uint32_t>(pageTotal);
    }

    void write(std::ostream& out) const {
        // An array may not be empty: each ends in an element that no form
        // reaches.
        out << "extern const Primitives::QVImmutableIdentifier kFieldOrder[] = {\n"
            << order.str() << "0};\n\n"
            << "extern const DataMgmt::FieldTraits kFieldTraits[] = {\n"
            << traits.str() << "{}};\n\n"
            << "extern const std::int32_t kDense[] = {\n"
            << dense.str() << "-1};\n\n"
            << "extern const std::uint16_t kPageOf[] = {\n"
            << pageOf.str() << "0};\n\n"
            << "extern const std::int32_t kPages[] = {\n"
            << pages.str() << "-1};\n\n";
    }
};

void writeTables(const FormDefinitions::Library& library, std::ostream& out) {
    std::ostringstream forms;
    std::ostringstream fields;
    Names names;
    PlaceTables places;
    std::uint32_t first = 0;
    std::size_t formCount = 0;
    for (const DataMgmt::TaxReturnDesc* desc : {library.federal.get(), library.georgia.get()}) {
        for (DataMgmt::TaxFormDescIter it = desc->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
            const DataMgmt::TaxFormDescPtr form = it.getTaxFormDescriptor();
            const std::uint32_t count = static_cast<std::uint32_t>(form->fieldCount());
            forms << "    {" << form->getTypeID().getNumber() << ", "
                  << (form->getTypeID().isState() ? "true" : "false") << ", " << literal(form->getDevName()) << ", "
                  << literal(form->getBusinessName()) << ", " << form->getMaxCopies() << ", " << form->getRank() << ", "
                  << first << ", " << count << ", ";
            places.add(*form, forms);
            forms << "},\n";
            for (DataMgmt::QVFieldIDIter f = form->getFieldIDs(); !f.atEOL(); f.next()) {
                const DataMgmt::FormFieldDesc::Attributes& a = form->getFieldDesc(f.getFieldID())->attributes();
                const std::string number = std::to_string(a.id.getNumber());
                // A name that is the default one is left to the default.
                const std::uint32_t shortName = names.placeOf(a.shortName == "F" + number ? "" : a.shortName);
                const std::uint32_t lineID = names.placeOf(a.lineID == number ? "" : a.lineID);
                fields << "    {" << number << ", " << shortName << ", " << lineID << ", " << a.maxLength << ", "
                       << a.width << ", K::" << kindName(a.kind) << ", " << static_cast<int>(a.editCode) << ", "
                       << (a.calculated ? "true" : "false") << ", " << (a.fractions ? "true" : "false")
                       << ", D::" << domainName(a.domain) << ", V(" << static_cast<int>(a.content) << "), "
                       << names.placeOf(a.choices) << ", " << a.countLow << ", " << a.countHigh << "},\n";
            }
            first += count;
            ++formCount;
        }
    }
    std::ostringstream tifLists;
    std::ostringstream tifEntries;
    std::uint32_t firstEntry = 0;
    std::size_t tifListCount = 0;
    for (const DataMgmt::TaxReturnDesc* desc : {library.federal.get(), library.georgia.get()}) {
        writeTifLists(*desc, tifLists, tifEntries, firstEntry, tifListCount, names);
    }
    // An array may not be empty: a list of no forms ends in a line that no
    // count reaches.
    tifLists << "    {0, false, 0, 0},\n";
    tifEntries << "    {0, false, 0, 0, 0, C::None, 0},\n";
    out << "// Generated at build time from the form definitions by forms/form_tables.cpp.\n"
           "// Do not edit: change forms/ and build.\n"
           "#include \"platform/definitions/FormTables.h\"\n\n"
           "namespace FormTables {\n\n"
           "using K = DataMgmt::FieldKind;\n"
           "using C = DataMgmt::TifCleaning;\n"
           "using D = DataMgmt::FieldDomain;\n"
           "using V = DataMgmt::FieldContent;\n\n"
           "extern const CompiledForm kForms[] = {\n"
        << forms.str() << "};\n\nextern const std::size_t kFormCount = " << formCount
        << ";\n\nextern const DataMgmt::CompiledField kFields[] = {\n"
        << fields.str() << "};\n\n";
    places.write(out);
    out << "extern const CompiledTifList kTifLists[] = {\n"
        << tifLists.str() << "};\n\nextern const std::size_t kTifListCount = " << tifListCount
        << ";\n\nextern const CompiledTifEntry kTifEntries[] = {\n"
        << tifEntries.str() << "};\n\n";
    names.write(out);
    out << "\n}  // namespace FormTables\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: form_tables DEFINITIONS-DIR OUTPUT.cpp\n";
        return 2;
    }
    try {
        const FormDefinitions::Library library = FormDefinitions::loadDirectory(argv[1]);
        const std::string output = argv[2];
        const std::string temporary = output + ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            writeTables(library, out);
            if (!out.flush()) {
                std::cerr << temporary << ": cannot be written\n";
                return 1;
            }
        }
        if (std::rename(temporary.c_str(), output.c_str()) != 0) {
            std::cerr << output << ": cannot be written\n";
            return 1;
        }
    } catch (const Exceptions::QuarloException& e) {
        std::cerr << e.getMessage() << '\n';
        return 1;
    }
    return 0;
}
