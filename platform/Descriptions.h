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
#include "platform/TifDescriptors.h"

namespace Validation {

// Edit code of a date field (a text field holding a date).
inline constexpr std::uint8_t kDateEditCode = 'D';

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
        std::uint16_t width = 0;  // 8 marks an 8-character date
        std::string shortName;    // default "F<number>"
        std::string lineID;       // default the field number
        bool calculated = false;
    };

    // devName is the form's dev name; the symbolic name is
    // "k" + UPPER(devName) + "_" + shortName. Attributes left at their empty
    // values take the defaults: short name "F<number>", line label the
    // number as text, maximum length 80 for a text field and 10 for a date.
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
    std::uint8_t getEditCode() const { return a_.editCode; }

private:
    Attributes a_;
    std::string symbolicName_;
    Validation::Validator validator_;
};

SMARTPOINTERS_NAMED_HANDLE(FormFieldDescPtr, FormFieldDesc);

// Walks a form's fields by position.
//
// The iterator stands on one place of the form's field list. Assigning a
// field positions it on that field (a field the form does not have puts it in
// the end state). Moving n places (+, -, +=, -=, next) that would leave the
// list at either end puts it in the end state instead: its field is the null
// field, atEOL() is true, and it stays there when moved further (only an
// assignment brings it back). The end state lies after every field, so a walk
// "while (it <= last)" always ends.
//
// Comparisons compare places, not field numbers. A comparison with a field
// the form does not have is false whichever operator is used, so a walk up to
// a missing field does nothing rather than run over the whole form.
//
// The iterator shares the field list it was made from; the list never changes
// under it (a description that grows gives later iterators a new list).
class QVFieldIDIter {
public:
    using FieldList = std::vector<Primitives::QVImmutableIdentifier>;

    QVFieldIDIter();  // over an empty list: always at the end
    // Over a list of fields, standing on the given place (a place outside the
    // list gives the end state). A field listed twice is found at its first
    // place.
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
    bool operator>=(const Primitives::QVImmutableIdentifier& field) const;
    bool operator<=(const QVFieldIDIter& other) const;
    bool operator<(const QVFieldIDIter& other) const;
    bool operator>(const QVFieldIDIter& other) const;
    bool operator>=(const QVFieldIDIter& other) const;

    // Place of a field in the form, or -1 when the form has no such field.
    int positionOf(const Primitives::QVImmutableIdentifier& field) const;
    int position() const { return position_; }  // size() in the end state

    operator Primitives::QVImmutableIdentifier() const { return getFieldID(); }  // NOLINT
    Primitives::QVImmutableIdentifier getFieldID() const;                        // the null field at the end
    bool atEOL() const;
    std::size_t size() const;

private:
    friend class TaxFormDesc;
    using FieldIndex = std::unordered_map<std::int32_t, int>;

    QVFieldIDIter(std::shared_ptr<const FieldList> fields, std::shared_ptr<const FieldIndex> index, int position);
    void moveTo(long position);
    int endPosition() const;

    std::shared_ptr<const FieldList> fields_;
    std::shared_ptr<const FieldIndex> index_;  // field number -> first place
    int position_;
};

// One form: its identity, copy limit, display rank and fields in form order.
class TaxFormDesc {
public:
    // Refuses (QuarloException) a null form number, an empty dev name and a
    // copy limit of 0. An empty business name becomes "Form <number>".
    TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                std::uint16_t maxCopies = 99, int rank = 0);

    // Appends a field in form order. Refused with QuarloException, leaving the
    // form unchanged: a null field number, a field number given twice, a short
    // name that is not made of letters, digits and '_', or one that another
    // field of the form already has (compared without regard to case).
    void addField(FormFieldDesc::Attributes attributes);

    const Primitives::QVImmutableFormIdentifier& getTypeID() const { return id_; }
    const std::string& getDevName() const { return devName_; }
    const std::string& getBusinessName() const { return businessName_; }
    std::uint16_t getMaxCopies() const { return maxCopies_; }
    int getRank() const { return rank_; }  // print and display order; 0 = unranked

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
    std::shared_ptr<QVFieldIDIter::FieldIndex> index_;  // field number -> place
    std::vector<FormFieldDescPtr> fields_;
    std::unordered_map<std::string, std::size_t> byName_;  // upper-case symbolic and short names -> place
};

SMARTPOINTERS_NAMED_HANDLE(TaxFormDescPtr, TaxFormDesc);

// Walks a list of form descriptions.
class TaxFormDescIter {
public:
    TaxFormDescIter() = default;
    explicit TaxFormDescIter(std::vector<TaxFormDescPtr> forms);
    bool atEOL() const;
    void next();
    TaxFormDescPtr getTaxFormDescriptor() const;  // null at the end

private:
    std::vector<TaxFormDescPtr> forms_;
    std::size_t position_ = 0;
};

// A return type and its forms. The federal return description holds federal
// forms only; every other return type holds state forms only.
class TaxReturnDesc {
public:
    TaxReturnDesc(std::string name, std::string abbreviation, TaxReturnType type);

    const std::string& getName() const { return name_; }
    const std::string& getAbbreviation() const { return abbreviation_; }
    TaxReturnType getReturnType() const { return type_; }

    // Adds a form. Refused with QuarloException, leaving the description
    // unchanged: an empty handle, a form of the other return's kind, a form
    // number given twice, or a dev name given twice (compared without regard
    // to case).
    void addForm(TaxFormDescPtr form);

    TaxFormDescPtr getTaxFormDescriptor(const Primitives::QVImmutableFormIdentifier& form) const;  // null when absent
    TaxFormDescPtr findByDevName(const std::string& devName) const;  // case-insensitive; null when absent
    TaxFormDescIter getTaxFormDescriptors() const;                   // ascending form number
    // Display order: the ranked forms (rank > 0) by rank, then number; then
    // the unranked forms by number.
    TaxFormDescIter getTaxFormDescriptorsInDisplayOrder() const;
    std::size_t formCount() const;

    // The e-file descriptors of a form, in record order, in a new list: the
    // form's fixed list when one is set, else the default list of one
    // descriptor per field in form order, record name the dev name and flag
    // "0", key "%05d.000.001" of (place + 1) * 5, cleaned by the field's kind
    // (amounts by their edit code, texts as strings, dates as dates, boxes
    // not at all). A form this description lacks gives an empty list.
    TifFieldDescriptorListPtr getTifFieldDescriptors(const Primitives::QVImmutableFormIdentifier& form) const;
    // Sets the fixed list of a form of this description (QuarloException for
    // a form it lacks).
    void setTifFieldDescriptors(const Primitives::QVImmutableFormIdentifier& form, TifFieldDescriptorList list);
    // The default list of a form of this description (empty for a form it
    // lacks).
    TifFieldDescriptorList defaultTifFieldDescriptors(const Primitives::QVImmutableFormIdentifier& form) const;

private:
    std::string name_;
    std::string abbreviation_;
    TaxReturnType type_;
    std::map<Primitives::QVImmutableFormIdentifier, TifFieldDescriptorList> tifLists_;
    std::map<Primitives::QVImmutableFormIdentifier, TaxFormDescPtr> forms_;
    std::map<std::string, Primitives::QVImmutableFormIdentifier> byDevName_;  // upper-case dev name
};

SMARTPOINTERS_NAMED_HANDLE(TaxReturnDescPtr, TaxReturnDesc);

}  // namespace DataMgmt
