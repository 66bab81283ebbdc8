// One field of a form copy (FormField), and the refusals of an empty handle.
#include "platform/store/DataMgmt.h"
#include "platform/store/DataMgmtInternal.h"

namespace DataMgmt {

void throwEmptyHandle(const char* what, const char* className) {
    throw Exceptions::QuarloException(what, className, "operator->");
}

TaxForm& requireForm(const TaxFormPtr& copy, const char* className, const char* operation) {
    if (copy.isNull()) {
        throw Exceptions::QuarloException("empty form handle", className, operation);
    }
    return *copy.get();
}

// ---------------------------------------------------------------- FormField

FormField::FormField(std::shared_ptr<detail::CopyData> copy, const FieldID& id, int place)
    : copy_(std::move(copy)), id_(id), place_(place) {}

FormFieldDescPtr FormField::getFieldDesc() const {
    if (!fieldDesc_) {
        fieldDesc_.emplace(copy_->desc->getFieldDesc(id_));
    }
    return *fieldDesc_;
}

FormField::~FormField() = default;

std::int64_t FormField::getLongValue() const { return detail::valueToken(*copy_, copy_->readSlot(place_)); }

FieldValue FormField::getValue() const {
    const detail::Slot* slot = copy_->readSlot(place_);
    return slot == nullptr ? FieldValue() : slot->value();
}

Primitives::StringPtr FormField::getValueText(bool) const {
    const detail::Slot* slot = copy_->readSlot(place_);
    return Primitives::StringPtr(new std::string(
        slot == nullptr ? std::string() : detail::renderValue(*slot, copy_->desc->traitsAt(place_).editCode)));
}

bool FormField::isOverridden() const {
    const detail::Slot* slot = copy_->readSlot(place_);
    return slot != nullptr && slot->overridden;
}

void FormField::setOverridden(bool overridden) {
    detail::setFlag(*copy_, copy_->writeSlot(place_).overridden, overridden);
}

bool FormField::isTentative() const {
    const detail::Slot* slot = copy_->readSlot(place_);
    return slot != nullptr && slot->tentative;
}

void FormField::setTentative(bool tentative) { detail::setFlag(*copy_, copy_->writeSlot(place_).tentative, tentative); }

bool FormField::isNoEntry() const {
    const detail::Slot* slot = copy_->readSlot(place_);
    return slot != nullptr && slot->noEntry;
}

void FormField::setNoEntry(bool noEntry) { copy_->writeSlot(place_).noEntry = noEntry; }

bool FormField::isCalculated() const {
    const detail::Slot* slot = copy_->readSlot(place_);
    if (slot != nullptr && slot->calculated >= 0) {
        return slot->calculated != 0;
    }
    return copy_->desc->traitsAt(place_).calculated;
}

void FormField::setCalculated(bool calculated) { copy_->writeSlot(place_).calculated = calculated ? 1 : 0; }

}  // namespace DataMgmt
