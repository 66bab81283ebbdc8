// The return file's staging model. Reading is in ReturnFileReader.cpp,
// ReturnFileForms.cpp and ReturnFileSeeds.cpp (the document's tree in
// ReturnFileTree.cpp and ReturnFilePlainXml.cpp), writing in
// ReturnFileWriter.cpp and AtomicWrite.cpp, the store in ReturnFileStore.cpp,
// times in UtcTime.cpp, text helpers in ReturnFileText.cpp.
#include "platform/returnfile/ReturnFile.h"

#include <algorithm>
#include <set>

namespace PersistanceMgmt {

bool CopyEntry::effectiveDataEntered() const {
    if (dataEntered) return *dataEntered;
    return std::any_of(fields.begin(), fields.end(), [](const FieldEntry& f) { return !f.value.isNull(); });
}

bool ReturnSeeds::empty() const {
    return !filingStatus && !form2555Present && !officeLocatorURL && sessionProperties.empty() && commonItems.empty() &&
           w2Splits.empty() && !stateWages && !allStateWages && !stateTaxWithheld && !stateTaxWithheldNoLocal &&
           !inElf && !enabledType && !taxBalance && !refundCode;
}

std::size_t ReturnPart::fieldCount() const {
    std::size_t n = 0;
    for (const CopyEntry& c : copies) {
        for (const FieldEntry& f : c.fields) n += f.value.isNull() ? 0 : 1;
    }
    return n;
}

std::size_t ReturnPart::formCount() const {
    std::set<Primitives::QVImmutableFormIdentifier> forms;
    for (const CopyEntry& c : copies) forms.insert(c.desc->getTypeID());
    return forms.size();
}

}  // namespace PersistanceMgmt
