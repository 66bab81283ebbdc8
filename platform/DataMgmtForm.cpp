// One form copy (TaxForm), one field (FormField) and the copy iterators.
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/DataMgmt.h"
#include "platform/DataMgmtInternal.h"
#include "platform/Utils.h"

namespace DataMgmt {

namespace {

std::string describeField(const detail::CopyData& data, const FieldID& x) {
    return "form " + data.desc->getDevName() + " copy " + std::to_string(data.copy) + " field " +
           std::to_string(x.getNumber());
}

// The description of field x of the copy; a field the form does not have
// throws.
FormFieldDescPtr requireField(const detail::CopyData& data, const FieldID& x, const char* operation) {
    FormFieldDescPtr desc = data.desc->getFieldDesc(x);
    if (desc.isNull()) {
        throw Exceptions::QuarloException(
            "form " + data.desc->getDevName() + " has no field " + std::to_string(x.getNumber()), "TaxForm", operation);
    }
    return desc;
}

FieldValue readValue(const detail::CopyData& data, const FieldID& x, const char* operation) {
    requireField(data, x, operation);
    const detail::Slot* slot = data.findSlot(x);
    return slot == nullptr ? FieldValue() : slot->value;
}

detail::Slot& slotFor(detail::CopyData& data, const FieldID& x, const char* operation) {
    requireField(data, x, operation);
    return data.slots[x.getNumber()];
}

// A write made by the calculation: an overridden field keeps its value, and a
// value of another kind than the field's is counted.
void writeByCalculation(detail::CopyData& data, const FieldID& x, const FieldValue& value, const char* operation) {
    FormFieldDescPtr desc = requireField(data, x, operation);
    detail::Slot& slot = data.slots[x.getNumber()];
    if (slot.overridden) {
        return;
    }
    if (!detail::kindAgrees(*desc, value)) {
        detail::recordKindMismatch(describeField(data, x) + ": " + operation + " wrote " +
                                   detail::kindName(value.kind()) + " into a " + detail::fieldKindName(*desc) +
                                   " field");
    }
    if (slot.value != value) {
        slot.value = value;
        data.markChanged();
    }
}

void setFlag(detail::CopyData& data, bool& flag, bool on) {
    if (flag != on) {
        flag = on;
        data.markChanged();
    }
}

}  // namespace

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

FormField::FormField(std::shared_ptr<detail::CopyData> copy, const FieldID& id, FormFieldDescPtr desc)
    : copy_(std::move(copy)), id_(id), desc_(std::move(desc)) {}

FormField::~FormField() = default;

std::int64_t FormField::getLongValue() const {
    FieldValue value = getValue();
    if (value.isText()) {
        return copy_->returnState->pool->intern(value.getText());
    }
    return detail::wholeValue(value);
}

FieldValue FormField::getValue() const {
    const detail::Slot* slot = copy_->findSlot(id_);
    return slot == nullptr ? FieldValue() : slot->value;
}

Primitives::StringPtr FormField::getValueText(bool) const {
    return Primitives::StringPtr(new std::string(detail::renderValue(getValue(), desc_.get())));
}

bool FormField::isOverridden() const {
    const detail::Slot* slot = copy_->findSlot(id_);
    return slot != nullptr && slot->overridden;
}

void FormField::setOverridden(bool overridden) {
    setFlag(*copy_, copy_->slots[id_.getNumber()].overridden, overridden);
}

bool FormField::isTentative() const {
    const detail::Slot* slot = copy_->findSlot(id_);
    return slot != nullptr && slot->tentative;
}

void FormField::setTentative(bool tentative) { setFlag(*copy_, copy_->slots[id_.getNumber()].tentative, tentative); }

bool FormField::isNoEntry() const {
    const detail::Slot* slot = copy_->findSlot(id_);
    return slot != nullptr && slot->noEntry;
}

void FormField::setNoEntry(bool noEntry) { copy_->slots[id_.getNumber()].noEntry = noEntry; }

bool FormField::isCalculated() const {
    const detail::Slot* slot = copy_->findSlot(id_);
    if (slot != nullptr && slot->calculated.has_value()) {
        return *slot->calculated;
    }
    return desc_->isCalculated();
}

void FormField::setCalculated(bool calculated) { copy_->slots[id_.getNumber()].calculated = calculated; }

// ---------------------------------------------------------------- TaxForm

TaxForm::TaxForm(std::shared_ptr<detail::CopyData> data) : data_(std::move(data)) {}

TaxForm::~TaxForm() = default;

std::uint16_t TaxForm::getCopyNumber() const { return data_->copy; }
const FormID& TaxForm::getFormID() const { return data_->form; }
TaxFormDescPtr TaxForm::getTaxFormDescriptor() const { return data_->desc; }

FormFieldPtr TaxForm::getField(const FieldID& x) const {
    FormFieldDescPtr desc = requireField(*data_, x, "getField");
    return FormFieldPtr(new FormField(data_, x, desc));
}

bool TaxForm::calculatedFlag() const { return data_->calculated; }
void TaxForm::setCalculatedFlag(bool calculated) { data_->calculated = calculated; }
bool TaxForm::isDataEntered() const { return data_->dataEntered; }
bool TaxForm::isAttached() const { return data_->attached; }

// ---- reads

double TaxForm::getIR(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "getIR")); }
std::int64_t TaxForm::getIN(const FieldID& x) const { return detail::wholeValue(readValue(*data_, x, "getIN")); }
bool TaxForm::isNull(const FieldID& x) const { return readValue(*data_, x, "isNull").isNull(); }
bool TaxForm::nonNull(const FieldID& x) const { return !readValue(*data_, x, "nonNull").isNull(); }
bool TaxForm::xMarked(const FieldID& x) const { return readValue(*data_, x, "xMarked").boxYes(); }
bool TaxForm::gtZero(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "gtZero")) > 0.0; }
bool TaxForm::ltZero(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "ltZero")) < 0.0; }
bool TaxForm::eqZero(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "eqZero")) == 0.0; }
bool TaxForm::nonZero(const FieldID& x) const { return detail::significant(readValue(*data_, x, "nonZero")); }

std::int64_t TaxForm::sumOf2(const FieldID& a, const FieldID& b) const { return getIN(a) + getIN(b); }

std::int64_t TaxForm::sumOf3(const FieldID& a, const FieldID& b, const FieldID& c) const {
    return getIN(a) + getIN(b) + getIN(c);
}

std::int64_t TaxForm::sumOf4(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) const {
    return getIN(a) + getIN(b) + getIN(c) + getIN(d);
}

double TaxForm::minFnII(const FieldID& a, const FieldID& b) const { return std::min(getIR(a), getIR(b)); }
double TaxForm::minFnIR(const FieldID& a, double v) const { return std::min(getIR(a), v); }

std::int64_t TaxForm::offsetUserDate(const FieldID& x) const {
    FieldValue value = readValue(*data_, x, "offsetUserDate");
    if (!value.isText()) {
        return 0;
    }
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(std::string_view(value.getText()), year, month, day)) {
        return 0;
    }
    return std::int64_t{year} * 10000 + month * 100 + day;
}

void TaxForm::valueString(char* buf, std::size_t cap, const FieldID& x, const FormID&) const {
    detail::copyToBuffer(buf, cap, valueString(x));
}

std::string TaxForm::valueString(const FieldID& x) const {
    FormFieldDescPtr desc = requireField(*data_, x, "valueString");
    const detail::Slot* slot = data_->findSlot(x);
    return slot == nullptr ? std::string() : detail::renderValue(slot->value, desc.get());
}

bool TaxForm::noOverride(const FieldID& x) const { return !isOverridden(x); }

bool TaxForm::isProtected(const FieldID& x) const {
    requireField(*data_, x, "isProtected");
    const detail::Slot* slot = data_->findSlot(x);
    return slot != nullptr && slot->protectedField;
}

// ---- writes

void TaxForm::storeNumber(const FieldID& t, double v, const char* operation) {
    if (!std::isfinite(v)) {
        throw Exceptions::QuarloException(describeField(*data_, t) + ": the result is not a finite number", "TaxForm",
                                          operation);
    }
    writeByCalculation(*data_, t, FieldValue::number(v), operation);
}

void TaxForm::assignIR(const FieldID& x, double v) { storeNumber(x, v, "assignIR"); }

void TaxForm::assignII(const FieldID& target, const FieldID& source) {
    FieldValue value = readValue(*data_, source, "assignII");
    writeByCalculation(*data_, target, value, "assignII");
}

void TaxForm::assignText(const FieldID& x, const char* text) {
    assignText(x, text == nullptr ? std::string() : std::string(text));
}

void TaxForm::assignText(const FieldID& x, const std::string& text) {
    FormFieldDescPtr desc = requireField(*data_, x, "assignText");
    std::size_t maxLength = desc->getMaxLength();
    if (maxLength == 0) {
        // An amount or box field has no text length of its own; the kind
        // check reports the write, and the text is kept within a text
        // field's default length.
        maxLength = 80;
    }
    writeByCalculation(*data_, x, FieldValue::text(detail::cutText(text, maxLength)), "assignText");
}

void TaxForm::setNull(const FieldID& x) { writeByCalculation(*data_, x, FieldValue(), "setNull"); }
void TaxForm::zero(const FieldID& x) { writeByCalculation(*data_, x, FieldValue::number(0.0), "zero"); }
void TaxForm::setX(const FieldID& x) { writeByCalculation(*data_, x, FieldValue::box(true), "setX"); }
void TaxForm::setXNo(const FieldID& x) { writeByCalculation(*data_, x, FieldValue::box(false), "setXNo"); }
void TaxForm::setYes(const FieldID& x) { writeByCalculation(*data_, x, FieldValue::box(true), "setYes"); }

// ---- box groups

void TaxForm::applyGroup(const std::vector<FieldID>& group, bool markFirstWhenNone) {
    std::vector<FieldID> boxes;
    for (const FieldID& id : group) {
        if (!id.isNullID() && std::find(boxes.begin(), boxes.end(), id) == boxes.end()) {
            boxes.push_back(id);
        }
    }
    if (boxes.empty()) {
        return;
    }
    auto winner = std::find_if(boxes.begin(), boxes.end(), [this](const FieldID& id) { return xMarked(id); });
    if (winner == boxes.end()) {
        if (markFirstWhenNone) {
            writeByCalculation(*data_, boxes.front(), FieldValue::box(true), "oneXAndDefault");
        }
        return;
    }
    for (const FieldID& id : boxes) {
        if (id != *winner) {
            writeByCalculation(*data_, id, FieldValue::box(false), "oneX");
        }
    }
}

void TaxForm::oneX(const FieldID& a, const FieldID& b, const FieldID& c) { applyGroup({a, b, c}, false); }

void TaxForm::oneX9(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d, const FieldID& e,
                    const FieldID& f, const FieldID& g, const FieldID& h, const FieldID& i) {
    applyGroup({a, b, c, d, e, f, g, h, i}, false);
}

void TaxForm::oneX2AndDefault(const FieldID& a, const FieldID& b) { applyGroup({a, b}, true); }

void TaxForm::oneX4AndDefault(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) {
    applyGroup({a, b, c, d}, true);
}

void TaxForm::oneXAndDefault(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d, const FieldID& e,
                             const FieldID& f, const FieldID& g, const FieldID& h, const FieldID& i, const FieldID& j) {
    applyGroup({a, b, c, d, e, f, g, h, i, j}, true);
}

// ---- protection

void TaxForm::makeProtected(const FieldID& x) { slotFor(*data_, x, "makeProtected").protectedField = true; }
void TaxForm::unProtect(const FieldID& x) { slotFor(*data_, x, "unProtect").protectedField = false; }

void TaxForm::makeProtectedAndSetNull(const FieldID& x) {
    slotFor(*data_, x, "makeProtectedAndSetNull").protectedField = true;
    writeByCalculation(*data_, x, FieldValue(), "makeProtectedAndSetNull");
}

void TaxForm::unprotectAndMaybeSetNull(const FieldID& x) {
    detail::Slot& slot = slotFor(*data_, x, "unprotectAndMaybeSetNull");
    if (!slot.protectedField) {
        return;
    }
    slot.protectedField = false;
    writeByCalculation(*data_, x, FieldValue(), "unprotectAndMaybeSetNull");
}

// ---- arithmetic

void TaxForm::plus2(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, getIR(a) + getIR(b), "plus2");
}

void TaxForm::plus3(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c), "plus3");
}

void TaxForm::plus4(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d), "plus4");
}

void TaxForm::plus5(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
                    const FieldID& e) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e), "plus5");
}

void TaxForm::plus6(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
                    const FieldID& e, const FieldID& f) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f), "plus6");
}

void TaxForm::plus7(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
                    const FieldID& e, const FieldID& f, const FieldID& g) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f) + getIR(g), "plus7");
}

void TaxForm::plusIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, getIR(a) + v, "plusIR"); }
void TaxForm::minusII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, getIR(a) - getIR(b), "minusII");
}
void TaxForm::minusIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, getIR(a) - v, "minusIR"); }

void TaxForm::minusIIge0(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, std::max(0.0, getIR(a) - getIR(b)), "minusIIge0");
}

void TaxForm::minII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, std::min(getIR(a), getIR(b)), "minII");
}

void TaxForm::maxII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, std::max(getIR(a), getIR(b)), "maxII");
}

void TaxForm::minIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, std::min(getIR(a), v), "minIR"); }
void TaxForm::maxIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, std::max(getIR(a), v), "maxIR"); }

void TaxForm::timesII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, getIR(a) * getIR(b), "timesII");
}

void TaxForm::timesIR(const FieldID& t, const FieldID& a, double rate) { storeNumber(t, getIR(a) * rate, "timesIR"); }

void TaxForm::divIR(const FieldID& t, const FieldID& a, double divisor) {
    const double value = getIR(a);
    storeNumber(t, divisor == 0.0 ? 0.0 : value / divisor, "divIR");
}

void TaxForm::sumInto(const FieldID& t, std::initializer_list<FieldID> fields) {
    double sum = 0.0;
    for (const FieldID& id : fields) {
        if (id.isNullID()) {
            break;
        }
        sum += getIR(id);
    }
    storeNumber(t, sum, "setValueToSumOf");
}

// ---- host and test surface

FieldValue TaxForm::getValue(const FieldID& x) const { return readValue(*data_, x, "getValue"); }

void TaxForm::setValue(const FieldID& x, const FieldValue& value) {
    detail::Slot& slot = slotFor(*data_, x, "setValue");
    if (slot.value != value) {
        slot.value = value;
        data_->markChanged();
    }
}

bool TaxForm::isOverridden(const FieldID& x) const {
    requireField(*data_, x, "isOverridden");
    const detail::Slot* slot = data_->findSlot(x);
    return slot != nullptr && slot->overridden;
}

void TaxForm::setOverridden(const FieldID& x, bool overridden) {
    setFlag(*data_, slotFor(*data_, x, "setOverridden").overridden, overridden);
}

bool TaxForm::isTentative(const FieldID& x) const {
    requireField(*data_, x, "isTentative");
    const detail::Slot* slot = data_->findSlot(x);
    return slot != nullptr && slot->tentative;
}

void TaxForm::setTentative(const FieldID& x, bool tentative) {
    setFlag(*data_, slotFor(*data_, x, "setTentative").tentative, tentative);
}

bool TaxForm::isNoEntry(const FieldID& x) const {
    requireField(*data_, x, "isNoEntry");
    const detail::Slot* slot = data_->findSlot(x);
    return slot != nullptr && slot->noEntry;
}

void TaxForm::setNoEntry(const FieldID& x, bool noEntry) { slotFor(*data_, x, "setNoEntry").noEntry = noEntry; }

bool TaxForm::isFieldCalculated(const FieldID& x) const { return getField(x)->isCalculated(); }

void TaxForm::setFieldCalculated(const FieldID& x, bool calculated) {
    slotFor(*data_, x, "setFieldCalculated").calculated = calculated;
}

std::vector<FieldID> TaxForm::fieldsWithValues() const {
    std::vector<FieldID> out;
    for (QVFieldIDIter it = data_->desc->getFieldIDs(); !it.atEOL(); it.next()) {
        const FieldID id = it.getFieldID();
        const detail::Slot* slot = data_->findSlot(id);
        if (slot != nullptr && !slot->value.isNull()) {
            out.push_back(id);
        }
    }
    return out;
}

// ---------------------------------------------------------------- iterators

TaxFormPtr TaxFormIter::getTaxForm() const { return atEOL() ? TaxFormPtr() : copies_[position_]; }

void TaxFormIter::next() {
    if (!atEOL()) {
        ++position_;
    }
}

TaxFormIter TaxFormIterIter::getTaxFormIter() const {
    return atEOL() ? TaxFormIter() : TaxFormIter(forms_[position_].second);
}

FormID TaxFormIterIter::getFormID() const { return atEOL() ? FormID() : forms_[position_].first; }

void TaxFormIterIter::next() {
    if (!atEOL()) {
        ++position_;
    }
}

}  // namespace DataMgmt
