// Read-only descriptions of a return type, a form and a field, and the field
// iterator that walks a form's fields in form order.
//
// Form descriptions are loaded from the form-definition files (see
// FormDefinitions.h); the field order of a description is the order of the
// form's field catalogue, which the positional walks of the calculation rely
// on.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Primitives.h"

namespace Validation {

// The field's edit code: how its values are scaled and formatted. 0 is none;
// 'D' marks a date; 'H' marks hundredths (the stored whole number is the amount
// times 100).
class Validator {
public:
    explicit Validator(std::uint8_t editCode = 0) : editCode_(editCode) {}
    std::uint8_t getEditCode() const { return editCode_; }

private:
    std::uint8_t editCode_;
};

}  // namespace Validation

namespace DataMgmt {

// Return types of the host's store (pass-through values).
enum TaxReturnType : std::int32_t {
    kFederalReturnType = 1,
    kGeorgiaReturnType = 12,
};

// Kind of a field: amount (number), text (dates are text), or check box.
enum class FieldKind : std::uint8_t { Number, Text, Boolean };

class FormFieldDesc {
public:
    struct Attributes {
        Primitives::QVImmutableIdentifier id;
        FieldKind kind = FieldKind::Number;
        std::uint16_t maxLength = 0;  // 0: the kind's default (80 for text, 10 for dates)
        std::uint8_t editCode = 0;
        std::uint16_t width = 0;      // 8 marks an 8-character date
        std::string shortName;        // default "F<number>"
        std::string lineID;           // default the field number
        bool calculated = false;
    };

    // devName is the form's dev name; the symbolic name is
    // "k" + UPPER(devName) + "_" + shortName.
    FormFieldDesc(const std::string& devName, Attributes attributes);

    const Primitives::QVImmutableIdentifier& getID() const { return a_.id; }
    FieldKind getKind() const { return a_.kind; }
    bool isText() const { return a_.kind == FieldKind::Text; }
    bool isBoolean() const { return a_.kind == FieldKind::Boolean; }
    bool isDate() const;  // text with the date edit code
    std::uint16_t getMaxLength() const { return a_.maxLength; }
    std::uint16_t getWidth() const { return a_.width; }
    const std::string& getShortName() const { return a_.shortName; }
    const std::string& getSymbolicName() const { return symbolicName_; }
    const std::string& getLineID() const { return a_.lineID; }
    bool isCalculated() const { return a_.calculated; }
    const Validation::Validator* getValidator() const { return &validator_; }

private:
    Attributes a_;
    std::string symbolicName_;
    Validation::Validator validator_;
};

SMARTPOINTERS_NAMED_HANDLE(FormFieldDescPtr, FormFieldDesc);

// Walks a form's fields by position. Assigning a field positions the iterator
// on it; moving past either end clamps to the end state, whose field is the
// null field. Comparisons compare places, not field numbers.
class QVFieldIDIter {
public:
    using FieldList = std::vector<Primitives::QVImmutableIdentifier>;

    QVFieldIDIter();
    explicit QVFieldIDIter(std::shared_ptr<const FieldList> fields, int position = 0);

    QVFieldIDIter& operator=(const Primitives::QVImmutableIdentifier& field);
    QVFieldIDIter(const QVFieldIDIter&) = default;
    QVFieldIDIter& operator=(const QVFieldIDIter&) = default;

    QVFieldIDIter operator+(int n) const;
    QVFieldIDIter operator-(int n) const;
    QVFieldIDIter& operator+=(int n);
    QVFieldIDIter& operator-=(int n);
    void next();

    bool operator<=(const Primitives::QVImmutableIdentifier& field) const;
    bool operator<(const Primitives::QVImmutableIdentifier& field) const;
    bool operator>(const Primitives::QVImmutableIdentifier& field) const;
    bool operator<=(const QVFieldIDIter& other) const;
    bool operator<(const QVFieldIDIter& other) const;

    // Place of a field in the form, or -1 when the form has no such field.
    int positionOf(const Primitives::QVImmutableIdentifier& field) const;
    int position() const { return position_; }  // size() in the end state

    operator Primitives::QVImmutableIdentifier() const { return getFieldID(); }  // NOLINT
    Primitives::QVImmutableIdentifier getFieldID() const;
    bool atEOL() const;
    std::size_t size() const;

private:
    void moveTo(long position);

    std::shared_ptr<const FieldList> fields_;
    int position_;
};

class TaxFormDesc {
public:
    TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                std::uint16_t maxCopies = 99, int rank = 0);

    // Appends a field in form order; a field number given twice is refused
    // with QuarloException.
    void addField(FormFieldDesc::Attributes attributes);

    const Primitives::QVImmutableFormIdentifier& getTypeID() const { return id_; }
    const std::string& getDevName() const { return devName_; }
    const std::string& getBusinessName() const { return businessName_; }
    std::uint16_t getMaxCopies() const { return maxCopies_; }
    int getRank() const { return rank_; }  // print and display order

    QVFieldIDIter getFieldIDs() const;  // positioned on the first field
    FormFieldDescPtr getFieldDesc(const Primitives::QVImmutableIdentifier& field) const;  // null when absent
    bool hasField(const Primitives::QVImmutableIdentifier& field) const;
    int positionOf(const Primitives::QVImmutableIdentifier& field) const;  // -1 when absent
    std::size_t fieldCount() const;
    // Field by symbolic name or short name (case-insensitive); null when absent.
    FormFieldDescPtr findField(const std::string& name) const;

private:
    Primitives::QVImmutableFormIdentifier id_;
    std::string devName_;
    std::string businessName_;
    std::uint16_t maxCopies_;
    int rank_;
    std::shared_ptr<QVFieldIDIter::FieldList> order_;
    std::vector<FormFieldDescPtr> fields_;
    std::unordered_map<std::int32_t, std::size_t> index_;
};

SMARTPOINTERS_NAMED_HANDLE(TaxFormDescPtr, TaxFormDesc);

// Walks a list of form descriptions.
class TaxFormDescIter {
public:
    explicit TaxFormDescIter(std::vector<TaxFormDescPtr> forms);
    bool atEOL() const;
    void next();
    TaxFormDescPtr getTaxFormDescriptor() const;  // null at the end

private:
    std::vector<TaxFormDescPtr> forms_;
    std::size_t position_ = 0;
};

class TaxReturnDesc {
public:
    TaxReturnDesc(std::string name, std::string abbreviation, TaxReturnType type);

    const std::string& getName() const { return name_; }
    const std::string& getAbbreviation() const { return abbreviation_; }
    TaxReturnType getReturnType() const { return type_; }

    // Adds a form; a form given twice is refused with QuarloException.
    void addForm(TaxFormDescPtr form);

    TaxFormDescPtr getTaxFormDescriptor(const Primitives::QVImmutableFormIdentifier& form) const;  // null when absent
    TaxFormDescPtr findByDevName(const std::string& devName) const;  // case-insensitive; null when absent
    TaxFormDescIter getTaxFormDescriptors() const;                   // ascending form number
    TaxFormDescIter getTaxFormDescriptorsInDisplayOrder() const;     // by rank, then number
    std::size_t formCount() const;

private:
    std::string name_;
    std::string abbreviation_;
    TaxReturnType type_;
    std::map<Primitives::QVImmutableFormIdentifier, TaxFormDescPtr> forms_;
};

SMARTPOINTERS_NAMED_HANDLE(TaxReturnDescPtr, TaxReturnDesc);

}  // namespace DataMgmt
