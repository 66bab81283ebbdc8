// Read-only descriptions of a return type, a form and a field, and the field
// iterator that walks a form's fields in form order.
//
// Form descriptions are loaded from the form-definition files (see
// FormDefinitions.h); the field order of a description is the order of the
// form's field catalogue, which the positional walks of the calculation rely
// on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Primitives.h"
#include "platform/efile/TifDescriptors.h"
#include "platform/store/FieldContent.h"
#include "platform/store/FieldTraits.h"
#include "platform/store/FlatIndex.h"

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
        // An amount in which the calculation keeps fractions of a cent (a
        // share, a ratio, interest to the day): it takes any decimals. Every
        // other amount is to the cent, whatever gives it.
        bool fractions = false;
        FieldDomain domain = FieldDomain::Any;
        FieldContent content = FieldContent::Any;
        // The named values of a choice, separated by '|', as the calculation
        // spells them; the range of a count (both 0: any count).
        std::string choices;
        std::uint16_t countLow = 0;
        std::uint16_t countHigh = 0;

        bool operator==(const Attributes&) const = default;
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
    // The field as a message names it, by the number and by the symbolic
    // name a return file may give it: "33 (kF52_StateWages1)".
    std::string describe() const;
    const std::string& getLineID() const { return a_.lineID; }
    bool isCalculated() const { return a_.calculated; }
    bool keepsFractions() const { return a_.fractions; }
    FieldDomain getDomain() const { return a_.domain; }
    FieldContent getContent() const { return a_.content; }
    const Validation::Validator* getValidator() const { return &validator_; }
    std::uint8_t getEditCode() const { return a_.editCode; }
    // Every attribute, the defaults applied.
    const Attributes& attributes() const { return a_; }

    // The maximum text length that a field of this kind, edit code and given
    // length takes (the defaults above applied).
    static std::uint16_t effectiveMaxLength(FieldKind kind, std::uint8_t editCode, std::uint16_t maxLength);
    // "k" + UPPER(devName) + "_" + shortName.
    static std::string symbolicNameOf(const std::string& devName, const std::string& shortName);

private:
    friend class TaxFormDesc;
    // The same with the symbolic name's "k" + UPPER(devName) + "_" given.
    FormFieldDesc(Attributes attributes, const std::string& symbolicPrefix);

    Attributes a_;
    std::string symbolicName_;
    Validation::Validator validator_;
};

SMARTPOINTERS_NAMED_HANDLE(FormFieldDescPtr, FormFieldDesc);

namespace detail {

// Where the field numbers of a form are found. The numbers of a form's dense
// run from 1 index an array of places; the others fall in pages of 128
// numbers, each an array of places indexed by the number, reached through a
// table of the pages that hold fields. A lookup reads one or two arrays,
// whatever the numbers. The view is what a reader keeps of the tables (valid
// until they change).
struct PlaceView {
    static constexpr std::uint32_t kPageSize = 128;
    // Numbers from here on (the tables allow any positive number) are kept
    // in a hash table instead, so that a stray large number costs no pages.
    static constexpr std::uint32_t kPagedLimit = 1u << 24;

    const std::int32_t* dense = nullptr;  // by number: the place, or -1
    std::size_t denseSize = 0;
    const std::uint16_t* pageOf = nullptr;  // by number / kPageSize: 1 + the page, 0 none
    std::size_t pageCount = 0;
    const std::int32_t* pages = nullptr;  // page after page: the place, or -1

    // The place of a number below kPagedLimit, or -1.
    int find(std::uint32_t number) const {
        if (number < denseSize) {
            return dense[number];
        }
        const std::size_t page = number / kPageSize;
        if (page >= pageCount || pageOf[page] == 0) {
            return -1;
        }
        return pages[(pageOf[page] - 1u) * std::size_t{kPageSize} + number % kPageSize];
    }
};

}  // namespace detail

// The fields of one compiled form, in form order, and the tables the build
// made of them: the field numbers, their traits and the places (all null when
// the build made none: the form then makes its own when first used).
struct CompiledFields {
    const CompiledField* fields = nullptr;
    std::size_t count = 0;
    const char* names = nullptr;
    const Primitives::QVImmutableIdentifier* order = nullptr;
    const FieldTraits* traits = nullptr;
    detail::PlaceView places;
};

namespace detail {

// A form's fields in form order and the table from field number to place
// (the first place of a number listed twice).
class FieldPlaces {
public:
    using FieldList = std::vector<Primitives::QVImmutableIdentifier>;

    FieldPlaces() = default;
    explicit FieldPlaces(FieldList order);
    // Over tables made at build time (which outlive it); they are copied
    // when a field is appended.
    FieldPlaces(const Primitives::QVImmutableIdentifier* order, std::size_t count, const PlaceView& places);
    FieldPlaces(const FieldPlaces& other);
    FieldPlaces& operator=(const FieldPlaces&) = delete;

    int placeOf(const Primitives::QVImmutableIdentifier& field) const {
        const auto number = static_cast<std::uint32_t>(field.getNumber());
        return number < PlaceView::kPagedLimit ? view_.find(number) : largePlaceOf(field.getNumber());
    }
    // The same for a number of kPagedLimit or more (or 0 or less: -1).
    int largePlaceOf(std::int32_t number) const { return large_.find(number); }
    const PlaceView& view() const { return view_; }
    std::size_t size() const { return orderSize_; }
    const Primitives::QVImmutableIdentifier& at(std::size_t place) const { return orderData_[place]; }
    // The number of pages the view reaches.
    std::size_t pageTotal() const;
    // Room for one more field (so that append cannot fail half-way).
    void reserveOneMore();
    // Adds a field at the end (a number already listed keeps its place).
    void append(const Primitives::QVImmutableIdentifier& field);

private:
    friend class PlacesRef;

    // Makes room for the number's place: if that fails, nothing has changed.
    void makePage(std::int32_t number);
    void place(std::int32_t number, int place);
    void refreshView();
    // Copies tables made at build time into its own.
    void own();

    FieldList order_;
    const Primitives::QVImmutableIdentifier* orderData_ = nullptr;  // order_'s, or the build's
    std::size_t orderSize_ = 0;
    bool borrowed_ = false;  // the tables are the build's
    std::vector<std::int32_t> dense_;
    std::vector<std::uint16_t> pageOf_;
    std::vector<std::int32_t> pages_;
    FlatIndex<std::int32_t> large_;
    PlaceView view_;
    mutable std::int32_t shares_ = 0;  // PlacesRef's count
};

// A share of a FieldPlaces, which lives as long as a share does. A form
// description and the iterators made from it share its places. Like the
// store's handles it counts without atomic operations: one thread uses a
// store. (GCC 12 reports a use after free inside the count, as it does for
// the counted handles; the count is read before the delete.)
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
class PlacesRef {
public:
    PlacesRef() = default;
    explicit PlacesRef(FieldPlaces* places) noexcept : places_(places) { take(); }
    PlacesRef(const PlacesRef& other) noexcept : places_(other.places_) { take(); }
    PlacesRef(PlacesRef&& other) noexcept : places_(other.places_) { other.places_ = nullptr; }
    PlacesRef& operator=(PlacesRef other) noexcept {
        std::swap(places_, other.places_);
        return *this;
    }
    ~PlacesRef() {
        if (places_ != nullptr && --places_->shares_ == 0) {
            delete places_;
        }
    }

    FieldPlaces* operator->() const { return places_; }
    FieldPlaces& operator*() const { return *places_; }
    explicit operator bool() const { return places_ != nullptr; }
    bool shared() const { return places_ != nullptr && places_->shares_ > 1; }

private:
    void take() noexcept {
        if (places_ != nullptr) {
            ++places_->shares_;
        }
    }

    FieldPlaces* places_ = nullptr;
};
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

}  // namespace detail

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
    using FieldList = detail::FieldPlaces::FieldList;

    QVFieldIDIter() = default;  // over an empty list: always at the end
    // Over a list of fields, standing on the given place (a place outside the
    // list gives the end state). A field listed twice is found at its first
    // place.
    explicit QVFieldIDIter(std::shared_ptr<const FieldList> fields, int position = 0);

    QVFieldIDIter& operator=(const Primitives::QVImmutableIdentifier& field) {
        const int place = positionOf(field);
        position_ = place < 0 ? endPosition() : place;
        return *this;
    }
    QVFieldIDIter(const QVFieldIDIter&) = default;
    QVFieldIDIter& operator=(const QVFieldIDIter&) = default;

    // The calculation walks fields with these on every step: they are inline.
    QVFieldIDIter operator+(int n) const {
        QVFieldIDIter moved(*this);
        moved += n;
        return moved;
    }
    QVFieldIDIter operator-(int n) const {
        QVFieldIDIter moved(*this);
        moved -= n;
        return moved;
    }
    QVFieldIDIter& operator+=(int n) {
        if (!atEOL()) {
            moveTo(static_cast<long>(position_) + n);
        }
        return *this;
    }
    QVFieldIDIter& operator-=(int n) {
        if (!atEOL()) {
            moveTo(static_cast<long>(position_) - n);
        }
        return *this;
    }
    void next() { *this += 1; }

    bool operator<=(const Primitives::QVImmutableIdentifier& field) const {
        const int place = positionOf(field);
        return place >= 0 && position_ <= place;
    }
    bool operator<(const Primitives::QVImmutableIdentifier& field) const {
        const int place = positionOf(field);
        return place >= 0 && position_ < place;
    }
    bool operator>(const Primitives::QVImmutableIdentifier& field) const {
        const int place = positionOf(field);
        return place >= 0 && position_ > place;
    }
    bool operator>=(const Primitives::QVImmutableIdentifier& field) const {
        const int place = positionOf(field);
        return place >= 0 && position_ >= place;
    }
    bool operator<=(const QVFieldIDIter& other) const { return position_ <= other.position_; }
    bool operator<(const QVFieldIDIter& other) const { return position_ < other.position_; }
    bool operator>(const QVFieldIDIter& other) const { return position_ > other.position_; }
    bool operator>=(const QVFieldIDIter& other) const { return position_ >= other.position_; }

    // Place of a field in the form, or -1 when the form has no such field.
    int positionOf(const Primitives::QVImmutableIdentifier& field) const {
        return places_ ? places_->placeOf(field) : -1;
    }
    int position() const { return position_; }  // size() in the end state

    operator Primitives::QVImmutableIdentifier() const { return getFieldID(); }  // NOLINT
    // The null field at the end.
    Primitives::QVImmutableIdentifier getFieldID() const {
        return atEOL() ? Primitives::kNullFieldID : places_->at(static_cast<std::size_t>(position_));
    }
    bool atEOL() const { return position_ >= endPosition(); }
    std::size_t size() const { return places_ ? places_->size() : 0; }

private:
    friend class TaxFormDesc;

    QVFieldIDIter(detail::PlacesRef places, int position) : places_(std::move(places)) { moveTo(position); }
    void moveTo(long position) {
        position_ = (position < 0 || position >= endPosition()) ? endPosition() : static_cast<int>(position);
    }
    int endPosition() const { return static_cast<int>(size()); }

    detail::PlacesRef places_;  // none: the empty list
    int position_ = 0;
};

// One form: its identity, copy limit, display rank and fields in form order.
//
// A form read from the compiled tables reads nothing of its fields until it
// is first asked about one; a field's description object is made when it is
// first asked for, and the same one is handed out from then on.
class TaxFormDesc {
public:
    // Refuses (QuarloException) a null form number, an empty dev name and a
    // copy limit of 0. An empty business name becomes "Form <number>".
    TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                std::uint16_t maxCopies = 99, int rank = 0);
    // The same, with the fields of a compiled table (which must outlive the
    // description).
    TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                std::uint16_t maxCopies, int rank, CompiledFields fields);
    ~TaxFormDesc();
    TaxFormDesc(const TaxFormDesc&) = delete;
    TaxFormDesc& operator=(const TaxFormDesc&) = delete;

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
    bool hasField(const Primitives::QVImmutableIdentifier& field) const { return positionOf(field) >= 0; }
    // -1 when absent. The dense run and the pages are read here; a form not
    // yet read and the large numbers out of line.
    [[gnu::always_inline]] int positionOf(const Primitives::QVImmutableIdentifier& field) const {
        const int place = tablePositionOf(field);
        return place == kNotInTables ? positionOutsideDenseRun(field) : place;
    }
    // The same from the dense run and the pages alone, without a call:
    // kNotInTables for a field they do not answer for.
    static constexpr int kNotInTables = -2;
    [[gnu::always_inline]] int tablePositionOf(const Primitives::QVImmutableIdentifier& field) const {
        const auto number = static_cast<std::uint32_t>(field.getNumber());
        if (number < view_.denseSize) {
            return view_.dense[number];
        }
        if (number < detail::PlaceView::kPagedLimit && view_.pageCount != 0) {
            return view_.find(number);
        }
        return kNotInTables;
    }
    std::size_t fieldCount() const { return places().size(); }
    // Field by symbolic name or short name (case-insensitive); null when absent.
    FormFieldDescPtr findField(const std::string& name) const;

    // The store's view of the field at a place (0 <= place < fieldCount()).
    const FieldTraits& traitsAt(int place) const { return traitsData_[place]; }

private:
    const detail::FieldPlaces& places() const {
        if (!places_) {
            readCompiledFields();
        }
        return *places_;
    }
    void readCompiledFields() const;
    int positionOutsideDenseRun(const Primitives::QVImmutableIdentifier& field) const;
    void readNames() const;
    // Adds the names by which a field is found: its short name, its symbolic
    // name, and those its number gives.
    void addNames(std::unordered_map<std::string, std::size_t>& names, std::int32_t number,
                  const std::string& shortName, std::size_t place) const;
    FormFieldDesc::Attributes attributesAt(std::size_t place) const;

    Primitives::QVImmutableFormIdentifier id_;
    std::string devName_;
    std::string businessName_;
    std::uint16_t maxCopies_;
    int rank_;
    CompiledFields compiled_;                       // no fields: a form built by addField
    std::vector<FormFieldDesc::Attributes> added_;  // the fields given to addField
    // Made on first use: the order and places (shared with the iterators),
    // the traits, the description objects handed out, the names.
    mutable detail::PlacesRef places_;
    mutable detail::PlaceView view_;  // of *places_
    mutable std::vector<FieldTraits> traits_;
    mutable const FieldTraits* traitsData_ = nullptr;  // traits_'s, or the build's
    // The field descriptions made so far, by place, in pages: a form of
    // many fields costs only the pages of the fields asked for.
    static constexpr std::size_t kMadePage = 32;
    using MadePage = std::array<std::optional<FormFieldDescPtr>, kMadePage>;
    mutable std::vector<std::unique_ptr<MadePage>> made_;
    mutable std::string symbolicPrefix_;                           // of the fields' symbolic names
    mutable std::unordered_map<std::string, std::size_t> byName_;  // upper-case symbolic and short names -> place
    mutable bool namesRead_ = false;
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
//
// Each form has an index, its place in the order the forms were added, which
// never changes; the store keeps its copies by that index.
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
    std::size_t formCount() const { return forms_.size(); }

    // The index of a form, or -1 when it is not described; the form at an
    // index (0 <= index < formCount()).
    int formIndex(const Primitives::QVImmutableFormIdentifier& form) const { return index_.find(keyOf(form)); }
    const TaxFormDesc& formAt(int index) const { return *forms_[static_cast<std::size_t>(index)].get(); }
    // The indexes of the forms in ascending form identifier order.
    const std::vector<int>& ascendingIndexes() const { return ascending_; }

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
    // Whether the form has a fixed list.
    bool hasFixedTifFieldDescriptors(const Primitives::QVImmutableFormIdentifier& form) const {
        return tifLists_.count(form) != 0;
    }
    // The default list of a form of this description (empty for a form it
    // lacks).
    TifFieldDescriptorList defaultTifFieldDescriptors(const Primitives::QVImmutableFormIdentifier& form) const;

private:
    static std::int64_t keyOf(const Primitives::QVImmutableFormIdentifier& form) {
        return form.getNumber() <= 0 ? 0 : (std::int64_t{form.getNumber()} << 1) | (form.isState() ? 1 : 0);
    }

    std::string name_;
    std::string abbreviation_;
    TaxReturnType type_;
    std::map<Primitives::QVImmutableFormIdentifier, TifFieldDescriptorList> tifLists_;
    std::vector<TaxFormDescPtr> forms_;  // by index
    std::vector<int> ascending_;
    detail::FlatIndex<std::int64_t> index_;           // form -> index
    std::unordered_map<std::string, int> byDevName_;  // upper-case dev name -> index
};

SMARTPOINTERS_NAMED_HANDLE(TaxReturnDescPtr, TaxReturnDesc);

}  // namespace DataMgmt
