// How the test files name forms and fields.
//
// A test file names a form by the dev name of its description, in any case,
// and a field by its symbolic name ("k" + upper-case dev name + "_" + short
// name). The form-name map holds every form of the return's description
// under its dev name in upper case; of two descriptions with the same
// upper-case name the first, in the description's own order, is kept. The
// field-name map is filled form by form as forms are needed. A copy is named
// by its number, read as a return file reads a count.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"

namespace StateCalculationMgmt {

using FormNameMap = std::map<std::string, Primitives::QVImmutableFormIdentifier>;

// Fills the map with the forms of the return's description: key the dev
// name in upper case, value the form; an existing key keeps its form.
void buildFormNameMap(const DataMgmt::TaxReturn& taxReturn, FormNameMap& map);

// The description of a field of a form of the return's own kind; null when
// the form is empty, of the other kind or not described, or has no such
// field.
DataMgmt::FormFieldDescPtr describedField(const DataMgmt::TaxReturn& taxReturn,
                                          const Primitives::QVImmutableFormIdentifier& form,
                                          const Primitives::QVImmutableIdentifier& field);

// The copy a test file names by `text`, read by the return file's reader of
// amounts and counts (PersistanceMgmt::parseAmount): a whole number from 1
// to the form's copy limit ("2", " 2 ", "2.0"). None, with the reason in
// `problem`, for any other text ("2x", "1e3", "1.9", "0", "65536").
std::optional<std::uint16_t> readCopyNumber(const DataMgmt::TaxReturn& taxReturn,
                                            const Primitives::QVImmutableFormIdentifier& form, const std::string& text,
                                            std::string& problem);

// A test value that is not set, as a note through the host: "test
// facility: form GA69 copy 1 field 76 (kGA69_F76): <problem>; not set", the
// copy as the test file gives it.
void noteValueNotSet(const DataMgmt::TaxReturn& taxReturn, const Primitives::QVImmutableFormIdentifier& form,
                     const std::string& copy, const DataMgmt::FormFieldDesc& field, const std::string& problem);

// The name maps of one run of the import, the scrubber or the relation
// tester.
class TestFieldNames {
public:
    explicit TestFieldNames(const DataMgmt::TaxReturn& taxReturn);

    // The form whose dev name is the name in any case; null when none is.
    const Primitives::QVImmutableFormIdentifier* findForm(const std::string& name) const;
    // Adds the symbolic names of every field of the named form (any case),
    // the first time the form is asked for; an existing name keeps its
    // field. False when no form has that name.
    bool addFormFields(const std::string& formName);
    // The field of that symbolic name (case kept) among the forms added so
    // far; null when none has it.
    const Primitives::QVImmutableIdentifier* findField(const std::string& symbolicName) const;
    // The field key of the import and relation files: "k" + the form name
    // in upper case + "_" + the field name as written.
    static std::string fieldKey(const std::string& formName, const std::string& fieldName);

private:
    const DataMgmt::TaxReturn& taxReturn_;
    FormNameMap forms_;
    std::map<std::string, Primitives::QVImmutableIdentifier> fields_;
    std::set<std::string> addedForms_;
};

}  // namespace StateCalculationMgmt
