#include "platform/store/Descriptions.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/util/Utils.h"

namespace {

// Room for one more element, growing by half again when full, so that a
// form built field by field moves its lists a few times, not once a field.
template <class T>
void reserveForOneMore(std::vector<T>& list) {
    if (list.size() == list.capacity()) {
        list.reserve(list.size() + list.size() / 2 + 8);
    }
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

[[noreturn]] void refuse(const std::string& message, const char* className, const char* operation) {
    throw Exceptions::QuarloException(message, className, operation);
}

}  // namespace

namespace DataMgmt {

// ---------------------------------------------------------------------------
// FormFieldDesc

FormFieldDesc::FormFieldDesc(const std::string& devName, Attributes attributes)
    : FormFieldDesc(std::move(attributes), symbolicNameOf(devName, std::string())) {}

FormFieldDesc::FormFieldDesc(Attributes attributes, const std::string& symbolicPrefix)
    : a_(std::move(attributes)), validator_(a_.editCode) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, a_.id.getNumber());
    const std::string_view number(digits, static_cast<std::size_t>(written.ptr - digits));
    if (a_.shortName.empty()) {
        a_.shortName.reserve(number.size() + 1);
        a_.shortName += 'F';
        a_.shortName += number;
    }
    if (a_.lineID.empty()) {
        a_.lineID = number;
    }
    a_.maxLength = effectiveMaxLength(a_.kind, a_.editCode, a_.maxLength);
    symbolicName_.reserve(symbolicPrefix.size() + a_.shortName.size());
    symbolicName_ += symbolicPrefix;
    symbolicName_ += a_.shortName;
}

bool FormFieldDesc::isDate() const { return a_.kind == FieldKind::Text && a_.editCode == Validation::kDateEditCode; }

std::string FormFieldDesc::describe() const { return std::to_string(a_.id.getNumber()) + " (" + symbolicName_ + ")"; }

std::uint16_t FormFieldDesc::effectiveMaxLength(FieldKind kind, std::uint8_t editCode, std::uint16_t maxLength) {
    if (maxLength != 0 || kind != FieldKind::Text) {
        return maxLength;
    }
    return editCode == Validation::kDateEditCode ? 10 : 80;
}

std::string FormFieldDesc::symbolicNameOf(const std::string& devName, const std::string& shortName) {
    return "k" + Utils::QVStringUtils::upperCased(devName) + "_" + shortName;
}

// ---------------------------------------------------------------------------
// FieldPlaces

namespace detail {

FieldPlaces::FieldPlaces(FieldList order) : order_(std::move(order)) {
    // The dense run ends after the largest number that still leaves the
    // numbers up to it at one field in four or more (with some room to
    // spare); only numbers below 4 places a field can. Their places are put
    // in an array that long first, then the run is cut to its end.
    dense_.assign(order_.size() * 4 + 64, -1);
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const auto n = static_cast<std::uint32_t>(order_[i].getNumber());
        if (n > 0 && n < dense_.size() && dense_[n] < 0) {
            dense_[n] = static_cast<std::int32_t>(i);
        }
    }
    std::size_t fields = 0;
    std::size_t end = 0;
    for (std::size_t n = 1; n < dense_.size(); ++n) {
        if (dense_[n] >= 0 && n < ++fields * 4 + 64) {
            end = n + 1;
        }
    }
    dense_.resize(end);
    refreshView();
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (static_cast<std::uint32_t>(order_[i].getNumber()) >= end) {
            makePage(order_[i].getNumber());
            place(order_[i].getNumber(), static_cast<int>(i));
        }
    }
}

FieldPlaces::FieldPlaces(const Primitives::QVImmutableIdentifier* order, std::size_t count, const PlaceView& places)
    : orderData_(order), orderSize_(count), borrowed_(true), view_(places) {}

FieldPlaces::FieldPlaces(const FieldPlaces& other)
    : order_(other.order_),
      orderData_(other.orderData_),
      orderSize_(other.orderSize_),
      borrowed_(other.borrowed_),
      dense_(other.dense_),
      pageOf_(other.pageOf_),
      pages_(other.pages_),
      large_(other.large_),
      view_(other.view_) {
    if (!borrowed_) {
        refreshView();
    }
}

std::size_t FieldPlaces::pageTotal() const {
    std::size_t pages = 0;
    for (std::size_t i = 0; i < view_.pageCount; ++i) {
        pages = std::max<std::size_t>(pages, view_.pageOf[i]);
    }
    return pages;
}

void FieldPlaces::own() {
    if (!borrowed_) {
        return;
    }
    FieldList order(orderData_, orderData_ + orderSize_);
    std::vector<std::int32_t> dense(view_.dense, view_.dense + view_.denseSize);
    std::vector<std::uint16_t> pageOf(view_.pageOf, view_.pageOf + view_.pageCount);
    std::vector<std::int32_t> pages(view_.pages, view_.pages + pageTotal() * PlaceView::kPageSize);
    order_.swap(order);
    dense_.swap(dense);
    pageOf_.swap(pageOf);
    pages_.swap(pages);
    borrowed_ = false;
    refreshView();
}

void FieldPlaces::reserveOneMore() {
    own();
    reserveForOneMore(order_);
}

void FieldPlaces::append(const Primitives::QVImmutableIdentifier& field) {
    own();
    makePage(field.getNumber());
    order_.push_back(field);
    refreshView();
    place(field.getNumber(), static_cast<int>(order_.size() - 1));
}

void FieldPlaces::makePage(std::int32_t number) {
    const auto n = static_cast<std::uint32_t>(number);
    if (number <= 0 || n >= PlaceView::kPagedLimit) {
        large_.reserve(large_.size() + 1);
        return;
    }
    if (n < dense_.size()) {
        return;
    }
    if (n < (order_.size() + 1) * 4 + 64) {
        // The dense run grows over the number; numbers placed in pages
        // before now are in the run from now on.
        const std::size_t end = dense_.size();
        dense_.resize(n + 1, -1);
        refreshView();
        for (std::size_t k = end; k < dense_.size(); ++k) {
            const std::size_t page = k / PlaceView::kPageSize;
            if (page < pageOf_.size() && pageOf_[page] != 0) {
                dense_[k] = pages_[(pageOf_[page] - 1u) * std::size_t{PlaceView::kPageSize} + k % PlaceView::kPageSize];
            }
        }
        return;
    }
    const std::size_t page = n / PlaceView::kPageSize;
    if (page < pageOf_.size() && pageOf_[page] != 0) {
        return;
    }
    if (pages_.size() / PlaceView::kPageSize >= 0xFFFF) {
        throw std::length_error("too many pages of field numbers");
    }
    if (page >= pageOf_.size()) {
        pageOf_.resize(page + 1, 0);
    }
    pages_.resize(pages_.size() + PlaceView::kPageSize, -1);
    pageOf_[page] = static_cast<std::uint16_t>(pages_.size() / PlaceView::kPageSize);
    refreshView();
}

void FieldPlaces::place(std::int32_t number, int place) {
    if (placeOf(number) >= 0) {
        return;  // listed before: the first place stays
    }
    const auto n = static_cast<std::uint32_t>(number);
    if (number > 0 && n < dense_.size()) {
        dense_[n] = place;
    } else if (number > 0 && n < PlaceView::kPagedLimit) {
        pages_[(pageOf_[n / PlaceView::kPageSize] - 1u) * std::size_t{PlaceView::kPageSize} +
               n % PlaceView::kPageSize] = place;
    } else {
        large_.insert(number, place);
    }
}

void FieldPlaces::refreshView() {
    view_ = PlaceView{dense_.data(), dense_.size(), pageOf_.data(), pageOf_.size(), pages_.data()};
    orderData_ = order_.data();
    orderSize_ = order_.size();
}

}  // namespace detail

// ---------------------------------------------------------------------------
// QVFieldIDIter

QVFieldIDIter::QVFieldIDIter(std::shared_ptr<const FieldList> fields, int position)
    : places_(fields ? new detail::FieldPlaces(*fields) : nullptr) {
    moveTo(position);
}

// ---------------------------------------------------------------------------
// TaxFormDesc

TaxFormDesc::TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                         std::uint16_t maxCopies, int rank)
    : TaxFormDesc(id, std::move(devName), std::move(businessName), maxCopies, rank, CompiledFields{}) {}

TaxFormDesc::TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                         std::uint16_t maxCopies, int rank, CompiledFields fields)
    : id_(id),
      devName_(std::move(devName)),
      businessName_(std::move(businessName)),
      maxCopies_(maxCopies),
      rank_(rank),
      compiled_(fields) {
    if (id_.isNullID()) {
        refuse("form number " + std::to_string(id_.getNumber()) + " is not a form", "TaxFormDesc", "TaxFormDesc");
    }
    if (devName_.empty()) {
        refuse("form " + std::to_string(id_.getNumber()) + " has no dev name", "TaxFormDesc", "TaxFormDesc");
    }
    if (maxCopies_ == 0) {
        refuse("form " + devName_ + " allows no copy", "TaxFormDesc", "TaxFormDesc");
    }
    if (businessName_.empty()) {
        businessName_ = "Form " + std::to_string(id_.getNumber());
    }
    if (compiled_.count == 0) {
        places_ = detail::PlacesRef(new detail::FieldPlaces());
    }
}

TaxFormDesc::~TaxFormDesc() = default;

void TaxFormDesc::readCompiledFields() const {
    if (compiled_.order != nullptr) {
        // The build laid the form out already.
        places_ = detail::PlacesRef(new detail::FieldPlaces(compiled_.order, compiled_.count, compiled_.places));
        view_ = places_->view();
        traitsData_ = compiled_.traits;
        return;
    }
    detail::FieldPlaces::FieldList order;
    order.reserve(compiled_.count);
    traits_.reserve(compiled_.count);
    for (std::size_t i = 0; i < compiled_.count; ++i) {
        const CompiledField& f = compiled_.fields[i];
        order.emplace_back(f.number);
        traits_.push_back(traitsOf(f, FormFieldDesc::effectiveMaxLength(f.kind, f.editCode, f.maxLength)));
    }
    places_ = detail::PlacesRef(new detail::FieldPlaces(std::move(order)));
    view_ = places_->view();
    traitsData_ = traits_.data();
}

int TaxFormDesc::positionOutsideDenseRun(const Primitives::QVImmutableIdentifier& field) const {
    return places().placeOf(field);
}

FormFieldDesc::Attributes TaxFormDesc::attributesAt(std::size_t place) const {
    if (compiled_.count == 0) {
        return added_[place];
    }
    const CompiledField& f = compiled_.fields[place];
    FormFieldDesc::Attributes a;
    a.id = Primitives::QVImmutableIdentifier(f.number);
    a.kind = f.kind;
    a.maxLength = f.maxLength;
    a.editCode = f.editCode;
    a.width = f.width;
    a.shortName = compiled_.names + f.shortName;
    a.lineID = compiled_.names + f.lineID;
    a.calculated = f.calculated;
    a.fractions = f.fractions;
    a.domain = f.domain;
    a.content = f.content;
    a.choices = compiled_.names + f.choices;
    a.countLow = f.countLow;
    a.countHigh = f.countHigh;
    return a;
}

void TaxFormDesc::addNames(std::unordered_map<std::string, std::size_t>& names, std::int32_t number,
                           const std::string& shortName, std::size_t place) const {
    names.emplace(Utils::QVStringUtils::upperCased(shortName), place);
    names.emplace(Utils::QVStringUtils::upperCased(FormFieldDesc::symbolicNameOf(devName_, shortName)), place);
    // A field with a short name of its own is still found by the names its
    // number gives ("F83", "kGA70_F83"), which files written before it had
    // one carry.
    const std::string byNumber = "F" + std::to_string(number);
    if (Utils::QVStringUtils::upperCased(byNumber) != Utils::QVStringUtils::upperCased(shortName)) {
        names.emplace(Utils::QVStringUtils::upperCased(byNumber), place);
        names.emplace(Utils::QVStringUtils::upperCased(FormFieldDesc::symbolicNameOf(devName_, byNumber)), place);
    }
}

void TaxFormDesc::readNames() const {
    if (namesRead_) {
        return;
    }
    const std::size_t count = fieldCount();
    std::unordered_map<std::string, std::size_t> names;
    names.reserve(count * 2);
    for (std::size_t place = 0; place < count; ++place) {
        const FormFieldDesc::Attributes a = attributesAt(place);
        const std::string shortName = a.shortName.empty() ? "F" + std::to_string(a.id.getNumber()) : a.shortName;
        addNames(names, a.id.getNumber(), shortName, place);
    }
    byName_ = std::move(names);
    namesRead_ = true;
}

void TaxFormDesc::addField(FormFieldDesc::Attributes attributes) {
    const std::int32_t number = attributes.id.getNumber();
    if (attributes.id.isNullID()) {
        refuse("field number " + std::to_string(number) + " is not a field", "TaxFormDesc", "addField");
    }
    if (hasField(attributes.id)) {
        refuse("field " + std::to_string(number) + " is given twice in form " + devName_, "TaxFormDesc", "addField");
    }
    if (!std::all_of(attributes.shortName.begin(), attributes.shortName.end(), isNameCharacter)) {
        refuse("short name \"" + attributes.shortName + "\" of field " + std::to_string(number) +
                   " may hold only letters, digits and '_'",
               "TaxFormDesc", "addField");
    }
    if (fieldCount() >= static_cast<std::size_t>(std::numeric_limits<int>::max() - 1)) {
        refuse("form " + devName_ + " has too many fields", "TaxFormDesc", "addField");
    }
    readNames();
    const std::string shortName = attributes.shortName.empty() ? "F" + std::to_string(number) : attributes.shortName;
    const std::string shortKey = Utils::QVStringUtils::upperCased(shortName);
    const std::string symbolicKey =
        Utils::QVStringUtils::upperCased(FormFieldDesc::symbolicNameOf(devName_, shortName));
    if (byName_.count(shortKey) != 0 || byName_.count(symbolicKey) != 0) {
        refuse("short name \"" + shortName + "\" of field " + std::to_string(number) +
                   " is used by another field of form " + devName_,
               "TaxFormDesc", "addField");
    }

    // A form read from the compiled tables keeps its fields as given fields
    // from now on.
    if (compiled_.count != 0) {
        added_.reserve(compiled_.count + 1);
        for (std::size_t place = 0; place < compiled_.count; ++place) {
            added_.push_back(attributesAt(place));
        }
        if (traits_.empty()) {
            traits_.assign(traitsData_, traitsData_ + compiled_.count);
            traitsData_ = traits_.data();
        }
        compiled_ = CompiledFields{};
    }
    // Iterators already handed out keep the list they were made from.
    if (places_.shared()) {
        places_ = detail::PlacesRef(new detail::FieldPlaces(*places_));
        view_ = places_->view();
    }
    const std::size_t place = added_.size();
    places_->reserveOneMore();
    reserveForOneMore(traits_);
    reserveForOneMore(added_);
    byName_.reserve(byName_.size() + 4);
    std::unordered_map<std::string, std::size_t> names;  // the field's own; may fail, nothing has changed yet
    addNames(names, number, shortName, place);
    const FieldTraits traits = traitsOf(
        attributes, FormFieldDesc::effectiveMaxLength(attributes.kind, attributes.editCode, attributes.maxLength));
    // With room reserved, the appends below leave the lists in step (the
    // place table may grow, which moves it).
    places_->append(attributes.id);
    view_ = places_->view();
    traits_.push_back(traits);
    traitsData_ = traits_.data();
    added_.push_back(std::move(attributes));
    byName_.merge(names);  // moves the entries without allocating (room is reserved)
}

QVFieldIDIter TaxFormDesc::getFieldIDs() const {
    places();
    return QVFieldIDIter(places_, 0);
}

FormFieldDescPtr TaxFormDesc::getFieldDesc(const Primitives::QVImmutableIdentifier& field) const {
    const int place = positionOf(field);
    if (place < 0) {
        return FormFieldDescPtr();
    }
    const auto at = static_cast<std::size_t>(place);
    if (made_.size() <= at / kMadePage) {
        made_.resize(fieldCount() / kMadePage + 1);
    }
    std::unique_ptr<MadePage>& page = made_[at / kMadePage];
    if (!page) {
        page = std::make_unique<MadePage>();
    }
    std::optional<FormFieldDescPtr>& made = (*page)[at % kMadePage];
    if (!made) {
        if (symbolicPrefix_.empty()) {
            symbolicPrefix_ = FormFieldDesc::symbolicNameOf(devName_, std::string());
        }
        made.emplace(new FormFieldDesc(attributesAt(static_cast<std::size_t>(place)), symbolicPrefix_));
    }
    return *made;
}

FormFieldDescPtr TaxFormDesc::findField(const std::string& name) const {
    readNames();
    const auto found = byName_.find(Utils::QVStringUtils::upperCased(name));
    return found == byName_.end() ? FormFieldDescPtr() : getFieldDesc(places().at(found->second));
}

// ---------------------------------------------------------------------------
// TaxFormDescIter

TaxFormDescIter::TaxFormDescIter(std::vector<TaxFormDescPtr> forms) : forms_(std::move(forms)) {}

bool TaxFormDescIter::atEOL() const { return position_ >= forms_.size(); }

void TaxFormDescIter::next() {
    if (!atEOL()) {
        ++position_;
    }
}

TaxFormDescPtr TaxFormDescIter::getTaxFormDescriptor() const { return atEOL() ? TaxFormDescPtr() : forms_[position_]; }

// ---------------------------------------------------------------------------
// TaxReturnDesc

TaxReturnDesc::TaxReturnDesc(std::string name, std::string abbreviation, TaxReturnType type)
    : name_(std::move(name)), abbreviation_(std::move(abbreviation)), type_(type) {}

void TaxReturnDesc::addForm(TaxFormDescPtr form) {
    if (form.isNull()) {
        refuse("no form description given", "TaxReturnDesc", "addForm");
    }
    const Primitives::QVImmutableFormIdentifier& id = form->getTypeID();
    const bool federalReturn = type_ == kFederalReturnType;
    if (id.isState() == federalReturn) {
        refuse(std::string(id.isState() ? "state" : "federal") + " form " + form->getDevName() +
                   " does not belong in the " + name_ + " return",
               "TaxReturnDesc", "addForm");
    }
    if (formIndex(id) >= 0) {
        refuse("form " + std::to_string(id.getNumber()) + " is given twice in the " + name_ + " return",
               "TaxReturnDesc", "addForm");
    }
    const std::string key = Utils::QVStringUtils::upperCased(form->getDevName());
    if (byDevName_.count(key) != 0) {
        refuse("dev name " + form->getDevName() + " is given twice in the " + name_ + " return", "TaxReturnDesc",
               "addForm");
    }
    // Room first, so that nothing below fails half-way.
    const int index = static_cast<int>(forms_.size());
    reserveForOneMore(forms_);
    reserveForOneMore(ascending_);
    index_.reserve(forms_.size() + 1);
    byDevName_.emplace(key, index);
    forms_.push_back(form);
    index_.insert(keyOf(id), index);
    const auto later =
        std::upper_bound(ascending_.begin(), ascending_.end(), id, [this](const auto& formId, int other) {
            return formId < forms_[static_cast<std::size_t>(other)]->getTypeID();
        });
    ascending_.insert(later, index);
}

TaxFormDescPtr TaxReturnDesc::getTaxFormDescriptor(const Primitives::QVImmutableFormIdentifier& form) const {
    const int index = formIndex(form);
    return index < 0 ? TaxFormDescPtr() : forms_[static_cast<std::size_t>(index)];
}

TaxFormDescPtr TaxReturnDesc::findByDevName(const std::string& devName) const {
    const auto found = byDevName_.find(Utils::QVStringUtils::upperCased(devName));
    return found == byDevName_.end() ? TaxFormDescPtr() : forms_[static_cast<std::size_t>(found->second)];
}

TaxFormDescIter TaxReturnDesc::getTaxFormDescriptors() const {
    // A return holds one kind of form, so this is ascending form number.
    std::vector<TaxFormDescPtr> forms;
    forms.reserve(forms_.size());
    for (int index : ascending_) {
        forms.push_back(forms_[static_cast<std::size_t>(index)]);
    }
    return TaxFormDescIter(std::move(forms));
}

TaxFormDescIter TaxReturnDesc::getTaxFormDescriptorsInDisplayOrder() const {
    std::vector<TaxFormDescPtr> forms;
    forms.reserve(forms_.size());
    for (int index : ascending_) {
        forms.push_back(forms_[static_cast<std::size_t>(index)]);
    }
    std::stable_sort(forms.begin(), forms.end(), [](const TaxFormDescPtr& a, const TaxFormDescPtr& b) {
        const bool rankedA = a->getRank() > 0;
        const bool rankedB = b->getRank() > 0;
        if (rankedA != rankedB) {
            return rankedA;
        }
        if (rankedA && a->getRank() != b->getRank()) {
            return a->getRank() < b->getRank();
        }
        return a->getTypeID().getNumber() < b->getTypeID().getNumber();
    });
    return TaxFormDescIter(std::move(forms));
}

TifFieldDescriptorList TaxReturnDesc::defaultTifFieldDescriptors(
    const Primitives::QVImmutableFormIdentifier& form) const {
    TifFieldDescriptorList list;
    const TaxFormDescPtr desc = getTaxFormDescriptor(form);
    if (desc.isNull()) {
        return list;
    }
    const std::string attributes = desc->getDevName() + " 0";
    list.reserve(desc->fieldCount());
    long line = 0;
    int place = 0;
    for (QVFieldIDIter it = desc->getFieldIDs(); !it.atEOL(); it.next(), ++place) {
        const FieldTraits& field = desc->traitsAt(place);
        line += 5;
        // "%05ld.000.001" of the line
        char digits[24];
        const char* end = std::to_chars(digits, digits + sizeof digits, line).ptr;
        const auto length = static_cast<std::size_t>(end - digits);
        std::string key(length < 5 ? 5 - length : 0, '0');
        key.append(digits, length).append(".000.001");
        TifCleaning cleaning = TifCleaning::EditCode;
        if (field.isText() && field.editCode == Validation::kDateEditCode) {
            cleaning = TifCleaning::Date;
        } else if (field.isText()) {
            cleaning = TifCleaning::String;
        } else if (field.isBoolean()) {
            cleaning = TifCleaning::None;
        }
        list.push_back(TifFieldDescriptor{form, it.getFieldID(), std::move(key), attributes, cleaning, 0});
    }
    return list;
}

TifFieldDescriptorListPtr TaxReturnDesc::getTifFieldDescriptors(
    const Primitives::QVImmutableFormIdentifier& form) const {
    const auto fixed = tifLists_.find(form);
    if (fixed != tifLists_.end()) {
        return TifFieldDescriptorListPtr(new TifFieldDescriptorList(fixed->second));
    }
    return TifFieldDescriptorListPtr(new TifFieldDescriptorList(defaultTifFieldDescriptors(form)));
}

void TaxReturnDesc::setTifFieldDescriptors(const Primitives::QVImmutableFormIdentifier& form,
                                           TifFieldDescriptorList list) {
    if (formIndex(form) < 0) {
        throw Exceptions::QuarloException(
            "form " + std::to_string(form.getNumber()) + " is not in the " + name_ + " return's description",
            "TaxReturnDesc", "setTifFieldDescriptors");
    }
    tifLists_[form] = std::move(list);
}

}  // namespace DataMgmt
