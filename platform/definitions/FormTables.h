// The form definitions compiled into the library: the build reads the
// generated definition files with the loader (forms/form_tables.cpp) and
// writes them out as these constant tables, so that a process has every form
// description without reading a file. FormDefinitions::compiledLibrary()
// makes the descriptions from them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/store/Descriptions.h"

namespace FormTables {

// One form: its identity and where its fields lie in kFields.
struct CompiledForm {
    std::int32_t number;
    bool isState;
    const char* devName;
    const char* businessName;
    std::uint16_t maxCopies;
    std::int32_t rank;
    std::uint32_t firstField;
    std::uint32_t fieldCount;
    // Where the form's place tables lie in kDense, kPageOf and kPages (none
    // when hasPlaces is false: the form lays itself out when first used).
    bool hasPlaces;
    std::uint32_t denseFirst;
    std::uint32_t denseSize;
    std::uint32_t pageOfFirst;
    std::uint32_t pageCount;
    std::uint32_t pagesFirst;
};

// The forms of both returns, in the order of the definition files.
extern const CompiledForm kForms[];
extern const std::size_t kFormCount;
// The fields of every form, form after form, each in form order; beside
// them their numbers and their traits, and the forms' place tables (see
// DataMgmt::detail::PlaceView).
extern const DataMgmt::CompiledField kFields[];
extern const Primitives::QVImmutableIdentifier kFieldOrder[];
extern const DataMgmt::FieldTraits kFieldTraits[];
extern const std::int32_t kDense[];
extern const std::uint16_t kPageOf[];
extern const std::int32_t kPages[];
// The names of the fields and the texts of the e-file lists, zero-terminated
// one after the other; the tables give their places. Place 0 holds the empty
// name (the default one).
extern const char kNames[];

// One line of a form's fixed e-file list (DataMgmt::TifFieldDescriptor), its
// texts as places in kNames.
struct CompiledTifEntry {
    std::int32_t formNumber;
    bool formIsState;
    std::int32_t field;
    std::uint32_t key;
    std::uint32_t attributes;
    DataMgmt::TifCleaning cleaning;
    std::uint8_t formatCode;
};

// The forms that have a fixed e-file list, and where their lines lie in
// kTifEntries.
struct CompiledTifList {
    std::int32_t number;
    bool isState;
    std::uint32_t firstEntry;
    std::uint32_t entryCount;
};

extern const CompiledTifList kTifLists[];
extern const std::size_t kTifListCount;
extern const CompiledTifEntry kTifEntries[];

}  // namespace FormTables
