// E-file field descriptors: for each form type, the list of fields that its
// e-file record carries, in record order, with the key of each line, the
// record name and flag, and how the host cleans the value before the
// writer's per-field hook sees it.
//
// A return description answers every form with a list: the form's fixed list
// when the form definitions give one, else the default list of one
// descriptor per field in form order (see TaxReturnDesc).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Primitives.h"

namespace DataMgmt {

// The cleaning the host applies to a value before the per-field hook: one of
// the writer's seven cleaning operations, the host's letters-digits-blank
// cleaning, or the value formatter with the descriptor's format code.
enum class TifCleaning : std::uint8_t {
    String,      // tifStringCleanDispatch
    Name,        // tifCleanNameStringDispatch
    Address,     // tifCleanAddressStringDispatch
    Date,        // tifReformatDateDispatch
    None,        // tifNoCleanDispatch
    EditCode,    // tifCleanByEditCodeDispatch
    Phone,       // tifReformatPhoneDispatch
    AlphaSpace,  // tifCleanAllAlphaSpaceStringDispatch
    Format,      // tifFormatValue with formatCode
};

// One field of an e-file record. The field's form may differ from the form
// whose record it belongs to (the office record carries fields of federal
// forms 131 and 92); such a field is read from copy 1 of its own form.
struct TifFieldDescriptor {
    Primitives::QVImmutableFormIdentifier form;
    Primitives::QVImmutableIdentifier field;
    std::string key;         // 13 characters, "00070.000 001" or "00070.000.001"
    std::string attributes;  // first word: the record name; second word: the record flag
    TifCleaning cleaning = TifCleaning::None;
    std::uint8_t formatCode = 0;  // for TifCleaning::Format

    const std::string& getFieldAttributes() const { return attributes; }
};

using TifFieldDescriptorList = std::vector<TifFieldDescriptor>;

SMARTPOINTERS_NAMED_HANDLE(TifFieldDescriptorListPtr, TifFieldDescriptorList);

}  // namespace DataMgmt
