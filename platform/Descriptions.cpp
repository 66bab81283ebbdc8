#include "platform/Descriptions.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/Utils.h"

namespace {

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
    : a_(std::move(attributes)), validator_(a_.editCode) {
    const std::string number = std::to_string(a_.id.getNumber());
    if (a_.shortName.empty()) {
        a_.shortName = "F" + number;
    }
    if (a_.lineID.empty()) {
        a_.lineID = number;
    }
    if (a_.maxLength == 0 && a_.kind == FieldKind::Text) {
        a_.maxLength = isDate() ? 10 : 80;
    }
    symbolicName_ = "k" + Utils::QVStringUtils::upperCased(devName) + "_" + a_.shortName;
}

bool FormFieldDesc::isDate() const { return a_.kind == FieldKind::Text && a_.editCode == Validation::kDateEditCode; }

// ---------------------------------------------------------------------------
// QVFieldIDIter

QVFieldIDIter::QVFieldIDIter()
    : fields_(std::make_shared<const FieldList>()), index_(std::make_shared<const FieldIndex>()), position_(0) {}

QVFieldIDIter::QVFieldIDIter(std::shared_ptr<const FieldList> fields, int position)
    : fields_(fields ? std::move(fields) : std::make_shared<const FieldList>()), position_(0) {
    auto index = std::make_shared<FieldIndex>();
    for (std::size_t i = 0; i < fields_->size(); ++i) {
        index->emplace((*fields_)[i].getNumber(), static_cast<int>(i));  // keeps the first place
    }
    index_ = std::move(index);
    moveTo(position);
}

QVFieldIDIter::QVFieldIDIter(std::shared_ptr<const FieldList> fields, std::shared_ptr<const FieldIndex> index,
                             int position)
    : fields_(std::move(fields)), index_(std::move(index)), position_(0) {
    moveTo(position);
}

int QVFieldIDIter::endPosition() const { return static_cast<int>(fields_->size()); }

void QVFieldIDIter::moveTo(long position) {
    position_ = (position < 0 || position >= endPosition()) ? endPosition() : static_cast<int>(position);
}

QVFieldIDIter& QVFieldIDIter::operator=(const Primitives::QVImmutableIdentifier& field) {
    const int place = positionOf(field);
    position_ = place < 0 ? endPosition() : place;
    return *this;
}

QVFieldIDIter QVFieldIDIter::operator+(int n) const {
    QVFieldIDIter moved(*this);
    moved += n;
    return moved;
}

QVFieldIDIter QVFieldIDIter::operator-(int n) const {
    QVFieldIDIter moved(*this);
    moved -= n;
    return moved;
}

QVFieldIDIter& QVFieldIDIter::operator+=(int n) {
    if (!atEOL()) {
        moveTo(static_cast<long>(position_) + n);
    }
    return *this;
}

QVFieldIDIter& QVFieldIDIter::operator-=(int n) {
    if (!atEOL()) {
        moveTo(static_cast<long>(position_) - n);
    }
    return *this;
}

void QVFieldIDIter::next() { *this += 1; }

bool QVFieldIDIter::operator<=(const Primitives::QVImmutableIdentifier& field) const {
    const int place = positionOf(field);
    return place >= 0 && position_ <= place;
}

bool QVFieldIDIter::operator<(const Primitives::QVImmutableIdentifier& field) const {
    const int place = positionOf(field);
    return place >= 0 && position_ < place;
}

bool QVFieldIDIter::operator>(const Primitives::QVImmutableIdentifier& field) const {
    const int place = positionOf(field);
    return place >= 0 && position_ > place;
}

bool QVFieldIDIter::operator>=(const Primitives::QVImmutableIdentifier& field) const {
    const int place = positionOf(field);
    return place >= 0 && position_ >= place;
}

bool QVFieldIDIter::operator<=(const QVFieldIDIter& other) const { return position_ <= other.position_; }
bool QVFieldIDIter::operator<(const QVFieldIDIter& other) const { return position_ < other.position_; }
bool QVFieldIDIter::operator>(const QVFieldIDIter& other) const { return position_ > other.position_; }
bool QVFieldIDIter::operator>=(const QVFieldIDIter& other) const { return position_ >= other.position_; }

int QVFieldIDIter::positionOf(const Primitives::QVImmutableIdentifier& field) const {
    if (field.isNullID()) {
        return -1;
    }
    const auto found = index_->find(field.getNumber());
    return found == index_->end() ? -1 : found->second;
}

Primitives::QVImmutableIdentifier QVFieldIDIter::getFieldID() const {
    return atEOL() ? Primitives::kNullFieldID : (*fields_)[static_cast<std::size_t>(position_)];
}

bool QVFieldIDIter::atEOL() const { return position_ >= endPosition(); }

std::size_t QVFieldIDIter::size() const { return fields_->size(); }

// ---------------------------------------------------------------------------
// TaxFormDesc

TaxFormDesc::TaxFormDesc(const Primitives::QVImmutableFormIdentifier& id, std::string devName, std::string businessName,
                         std::uint16_t maxCopies, int rank)
    : id_(id),
      devName_(std::move(devName)),
      businessName_(std::move(businessName)),
      maxCopies_(maxCopies),
      rank_(rank),
      order_(std::make_shared<QVFieldIDIter::FieldList>()),
      index_(std::make_shared<QVFieldIDIter::FieldIndex>()) {
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
}

void TaxFormDesc::addField(FormFieldDesc::Attributes attributes) {
    const std::int32_t number = attributes.id.getNumber();
    if (attributes.id.isNullID()) {
        refuse("field number " + std::to_string(number) + " is not a field", "TaxFormDesc", "addField");
    }
    if (index_->count(number) != 0) {
        refuse("field " + std::to_string(number) + " is given twice in form " + devName_, "TaxFormDesc", "addField");
    }
    if (!std::all_of(attributes.shortName.begin(), attributes.shortName.end(), isNameCharacter)) {
        refuse("short name \"" + attributes.shortName + "\" of field " + std::to_string(number) +
                   " may hold only letters, digits and '_'",
               "TaxFormDesc", "addField");
    }
    if (fields_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max() - 1)) {
        refuse("form " + devName_ + " has too many fields", "TaxFormDesc", "addField");
    }

    FormFieldDescPtr field(new FormFieldDesc(devName_, std::move(attributes)));
    const std::string shortKey = Utils::QVStringUtils::upperCased(field->getShortName());
    const std::string symbolicKey = Utils::QVStringUtils::upperCased(field->getSymbolicName());
    if (byName_.count(shortKey) != 0 || byName_.count(symbolicKey) != 0) {
        refuse("short name \"" + field->getShortName() + "\" of field " + std::to_string(number) +
                   " is used by another field of form " + devName_,
               "TaxFormDesc", "addField");
    }

    // Iterators already handed out keep the list they were made from.
    if (order_.use_count() > 1) {
        order_ = std::make_shared<QVFieldIDIter::FieldList>(*order_);
    }
    if (index_.use_count() > 1) {
        index_ = std::make_shared<QVFieldIDIter::FieldIndex>(*index_);
    }
    const std::size_t place = fields_.size();
    order_->reserve(place + 1);
    fields_.reserve(place + 1);
    index_->reserve(place + 1);
    byName_.reserve(byName_.size() + 4);
    // With room reserved, the inserts below leave the lists in step.
    order_->push_back(field->getID());
    index_->emplace(number, static_cast<int>(place));
    byName_.emplace(shortKey, place);
    byName_.emplace(symbolicKey, place);
    // A field with a short name of its own is still found by the names its
    // number gives ("F83", "kGA70_F83"), which files written before it had
    // one carry.
    const std::string byNumber = "F" + std::to_string(number);
    if (Utils::QVStringUtils::upperCased(byNumber) != shortKey) {
        byName_.emplace(Utils::QVStringUtils::upperCased(byNumber), place);
        byName_.emplace(Utils::QVStringUtils::upperCased("k" + devName_ + "_" + byNumber), place);
    }
    fields_.push_back(field);
}

QVFieldIDIter TaxFormDesc::getFieldIDs() const { return QVFieldIDIter(order_, index_, 0); }

FormFieldDescPtr TaxFormDesc::getFieldDesc(const Primitives::QVImmutableIdentifier& field) const {
    const int place = positionOf(field);
    return place < 0 ? FormFieldDescPtr() : fields_[static_cast<std::size_t>(place)];
}

bool TaxFormDesc::hasField(const Primitives::QVImmutableIdentifier& field) const { return positionOf(field) >= 0; }

int TaxFormDesc::positionOf(const Primitives::QVImmutableIdentifier& field) const {
    if (field.isNullID()) {
        return -1;
    }
    const auto found = index_->find(field.getNumber());
    return found == index_->end() ? -1 : found->second;
}

std::size_t TaxFormDesc::fieldCount() const { return fields_.size(); }

FormFieldDescPtr TaxFormDesc::findField(const std::string& name) const {
    const auto found = byName_.find(Utils::QVStringUtils::upperCased(name));
    return found == byName_.end() ? FormFieldDescPtr() : fields_[found->second];
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
    if (forms_.count(id) != 0) {
        refuse("form " + std::to_string(id.getNumber()) + " is given twice in the " + name_ + " return",
               "TaxReturnDesc", "addForm");
    }
    const std::string key = Utils::QVStringUtils::upperCased(form->getDevName());
    if (byDevName_.count(key) != 0) {
        refuse("dev name " + form->getDevName() + " is given twice in the " + name_ + " return", "TaxReturnDesc",
               "addForm");
    }
    auto inserted = forms_.emplace(id, form);
    try {
        byDevName_.emplace(key, id);
    } catch (...) {
        forms_.erase(inserted.first);
        throw;
    }
}

TaxFormDescPtr TaxReturnDesc::getTaxFormDescriptor(const Primitives::QVImmutableFormIdentifier& form) const {
    const auto found = forms_.find(form);
    return found == forms_.end() ? TaxFormDescPtr() : found->second;
}

TaxFormDescPtr TaxReturnDesc::findByDevName(const std::string& devName) const {
    const auto found = byDevName_.find(Utils::QVStringUtils::upperCased(devName));
    return found == byDevName_.end() ? TaxFormDescPtr() : getTaxFormDescriptor(found->second);
}

TaxFormDescIter TaxReturnDesc::getTaxFormDescriptors() const {
    // The map orders one kind of form by number, and a return holds one kind.
    std::vector<TaxFormDescPtr> forms;
    forms.reserve(forms_.size());
    for (const auto& entry : forms_) {
        forms.push_back(entry.second);
    }
    return TaxFormDescIter(std::move(forms));
}

TaxFormDescIter TaxReturnDesc::getTaxFormDescriptorsInDisplayOrder() const {
    std::vector<TaxFormDescPtr> forms;
    forms.reserve(forms_.size());
    for (const auto& entry : forms_) {
        forms.push_back(entry.second);
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

std::size_t TaxReturnDesc::formCount() const { return forms_.size(); }

TifFieldDescriptorList TaxReturnDesc::defaultTifFieldDescriptors(
    const Primitives::QVImmutableFormIdentifier& form) const {
    TifFieldDescriptorList list;
    const TaxFormDescPtr desc = getTaxFormDescriptor(form);
    if (desc.isNull()) {
        return list;
    }
    const std::string attributes = desc->getDevName() + " 0";
    long line = 0;
    for (QVFieldIDIter it = desc->getFieldIDs(); !it.atEOL(); it.next()) {
        const FormFieldDescPtr field = desc->getFieldDesc(it.getFieldID());
        line += 5;
        char key[32];
        std::snprintf(key, sizeof key, "%05ld.000.001", line);
        TifCleaning cleaning = TifCleaning::EditCode;
        if (field->isDate()) {
            cleaning = TifCleaning::Date;
        } else if (field->isText()) {
            cleaning = TifCleaning::String;
        } else if (field->isBoolean()) {
            cleaning = TifCleaning::None;
        }
        list.push_back(TifFieldDescriptor{form, field->getID(), key, attributes, cleaning, 0});
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
    if (forms_.find(form) == forms_.end()) {
        throw Exceptions::QuarloException(
            "form " + std::to_string(form.getNumber()) + " is not in the " + name_ + " return's description",
            "TaxReturnDesc", "setTifFieldDescriptors");
    }
    tifLists_[form] = std::move(list);
}

}  // namespace DataMgmt
