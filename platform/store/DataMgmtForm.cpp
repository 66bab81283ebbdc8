// One form copy (TaxForm): reads, writes, box groups, protection; its
// arithmetic is in DataMgmtFormArithmetic.cpp, its field handle (FormField)
// in DataMgmtField.cpp.
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/store/DataMgmt.h"
#include "platform/store/DataMgmtInternal.h"
#include "platform/util/Utils.h"

namespace DataMgmt {

namespace {

const detail::Slot kNullSlot;

std::string describeField(const detail::CopyData& data, const FieldID& x) {
    return "form " + data.desc->getDevName() + " copy " + std::to_string(data.copy) + " field " +
           std::to_string(x.getNumber());
}

// The refusals and the kind report are made out of line, so that the field
// accesses that never need them stay small; the accesses themselves are
// inlined into each operation.
[[noreturn, gnu::noinline, gnu::cold]] void refuseField(const detail::CopyData& data, const FieldID& x,
                                                        const char* operation) {
    throw Exceptions::QuarloException(
        "form " + data.desc->getDevName() + " has no field " + std::to_string(x.getNumber()), "TaxForm", operation);
}

// A write of a value that the field does not take: of another kind than the
// field's, or a text or count that its kind does not read. The store holds
// no such value, so that whatever a run saves reads back.
[[noreturn, gnu::noinline, gnu::cold]] void refuseKind(const detail::CopyData& data, const FieldID& x,
                                                       const FieldTraits& traits, FieldValue::Kind kind,
                                                       const char* operation) {
    throw Exceptions::QuarloException(describeField(data, x) + ": " + operation + " wrote " + detail::kindName(kind) +
                                          " into " + detail::fieldKindName(traits) + " field",
                                      "TaxForm", operation);
}

[[noreturn, gnu::noinline, gnu::cold]] void refuseContent(const detail::CopyData& data, const FieldID& x,
                                                          const FormFieldDesc& field, const std::string& value,
                                                          const char* operation) {
    throw Exceptions::QuarloException(describeField(data, x) + ": " + operation + " wrote \"" +
                                          Utils::QVStringUtils::escapeForMessage(value, 40) + "\", which is not " +
                                          fieldTakes(field),
                                      "TaxForm", operation);
}

// A box read of a field of another kind: a return file can never mark it.
[[gnu::noinline, gnu::cold]] void reportBoxRead(const detail::CopyData& data, const FieldID& x,
                                                const FieldTraits& traits, const char* operation) {
    detail::recordKindMismatch(describeField(data, x) + ": " + operation + " read " + detail::fieldKindName(traits) +
                               " field as a box");
}

// The place of a field that the form's tables do not answer for; a field the
// form does not have throws.
[[gnu::noinline]] int placeOutsideTables(const detail::CopyData& data, const FieldID& x, const char* operation) {
    const int place = data.desc->positionOf(x);
    if (place < 0) {
        refuseField(data, x, operation);
    }
    return place;
}

// The place of field x in the copy's form; a field the form does not have
// throws. The tables are read inline, the rest out of line, so that an
// access needs no call for the fields they hold.
[[gnu::always_inline]] inline int requireField(const detail::CopyData& data, const FieldID& x, const char* operation) {
    const int place = data.desc->tablePositionOf(x);
    return place >= 0 ? place : placeOutsideTables(data, x, operation);
}

// The slot of field x, or a null one when the copy has none yet.
[[gnu::always_inline]] inline const detail::Slot& readValue(const detail::CopyData& data, const FieldID& x,
                                                            const char* operation) {
    const detail::Slot* slot = data.readSlot(requireField(data, x, operation));
    return slot == nullptr ? kNullSlot : *slot;
}

[[gnu::always_inline]] inline const detail::Slot* findSlot(const detail::CopyData& data, const FieldID& x,
                                                           const char* operation) {
    return data.readSlot(requireField(data, x, operation));
}

[[gnu::always_inline]] inline detail::Slot& slotFor(detail::CopyData& data, const FieldID& x, const char* operation) {
    return data.writeSlot(requireField(data, x, operation));
}

// Stores into the slot and records the change in the return's log.
template <class Store>
[[gnu::noinline]] void logWrite(detail::CopyData& data, detail::Slot& slot, const FieldID& x, const char* operation,
                                Store store) {
    FieldValue before = slot.value();
    store(slot);
    data.returnState->writeLog->push_back({data.form, data.copy, x, operation, std::move(before), slot.value()});
}

// A write made by the calculation to field x at its place: an overridden
// field keeps its value, and a value of another kind than the field's is
// counted. `same` tells whether the slot already holds the value, `store`
// stores it. (The callers that have found the place already pass it, so that
// a field is looked up once a write.)
template <class Kind, class Same, class Store>
inline void writeAt(detail::CopyData& data, int place, const FieldID& x, const char* operation, Kind kind, Same same,
                    Store store) {
    detail::Slot& slot = data.writeSlot(place);
    if (slot.overridden) {
        return;
    }
    const FieldTraits& traits = data.desc->traitsAt(place);
    if (!detail::kindAgrees(traits, kind)) {
        refuseKind(data, x, traits, kind, operation);
    }
    if (!same(slot)) {
        if (data.returnState->writeLog != nullptr) {
            logWrite(data, slot, x, operation, store);
        } else {
            store(slot);
        }
        data.markChanged();
    }
}

template <class Kind, class Same, class Store>
inline void writeByCalculation(detail::CopyData& data, const FieldID& x, const char* operation, Kind kind, Same same,
                               Store store) {
    writeAt(data, requireField(data, x, operation), x, operation, kind, same, store);
}

// A text, as it is (an empty one is null), into field x at its place.
void writeTextAsIs(detail::CopyData& data, int place, const FieldID& x, std::string_view text, const char* operation) {
    writeAt(
        data, place, x, operation, text.empty() ? FieldValue::Kind::Null : FieldValue::Kind::Text,
        [text](const detail::Slot& old) { return text.empty() ? old.isNull() : old.isText() && old.getText() == text; },
        [text](detail::Slot& slot) { slot.setText(text); });
}

// A text into a field that holds more than free text (a number, a code, a
// name...): read by the field's kind and stored in its one form, as a return
// file's is. The calculation copies values read so; one the kind does not
// take is refused.
[[gnu::noinline]] void writeTextByContent(detail::CopyData& data, int place, const FieldID& x, std::string_view text,
                                          const char* operation) {
    const detail::Slot* held = data.readSlot(place);
    // The text that the field holds already is in its one form: most writes
    // of a calculation find what the one before wrote.
    if (held != nullptr && (held->overridden || (held->isText() && held->getText() == text))) return;
    const FormFieldDescPtr field = data.desc->getFieldDesc(x);
    const std::string trimmed = Utils::strip(text);
    const std::optional<std::string> read = trimmed.empty() ? std::string() : readByContent(*field, trimmed);
    if (!read) refuseContent(data, x, *field, std::string(text), operation);
    writeTextAsIs(data, place, x, detail::cutText(*read, data.desc->traitsAt(place).maxLength), operation);
}

// A text into field x at its place, read by what the field holds.
inline void writeText(detail::CopyData& data, int place, const FieldID& x, std::string_view text,
                      const char* operation) {
    const FieldTraits& traits = data.desc->traitsAt(place);
    if (traits.content != FieldContent::Any && traits.isText()) {
        writeTextByContent(data, place, x, text, operation);
    } else {
        writeTextAsIs(data, place, x, text, operation);
    }
}

// Null fits every kind of field, and a slot not yet made is null: most nulls
// the calculation writes find the field null already.
[[gnu::noinline]] void storeNull(detail::CopyData& data, const FieldID& x, const char* operation) {
    const int place = requireField(data, x, operation);
    const detail::Slot* slot = data.readSlot(place);
    if (slot == nullptr || slot->overridden || slot->isNull()) {
        return;
    }
    writeAt(
        data, place, x, operation, FieldValue::Kind::Null, [](const detail::Slot& old) { return old.isNull(); },
        [](detail::Slot& slot) { slot.setNull(); });
}

// The null found already is told here without a call, so that it needs no
// stack frame; anything else goes on to storeNull.
inline void writeNull(detail::CopyData& data, const FieldID& x, const char* operation) {
    const int place = data.desc->tablePositionOf(x);
    if (place >= 0) {
        const detail::Slot* slot = data.readSlot(place);
        if (slot == nullptr || slot->overridden || slot->isNull()) {
            return;
        }
    }
    storeNull(data, x, operation);
}

// An amount that the field does not hold: beyond the limit, outside its
// domain or range, or a count it does not take. The run stops here rather
// than save a return that would not read back.
[[noreturn, gnu::noinline, gnu::cold]] void refuseAmount(const detail::CopyData& data, const FormFieldDesc& field,
                                                         const std::string& why, const char* operation) {
    throw Exceptions::QuarloException("form " + data.desc->getDevName() + " copy " + std::to_string(data.copy) +
                                          " field " + field.describe() + ", as the calculation wrote it: " + why,
                                      "TaxForm", operation);
}

[[gnu::noinline, gnu::cold]] void noteRounding(const detail::CopyData& data, const FieldID& x, double v, int places,
                                               const char* operation) {
    detail::recordRoundedWrite(describeField(data, x) + ": " + operation + " wrote " + formatDisplayAmount(v, places) +
                               " (rounded to the cent)");
}

// The calculation's amount v (finite) as the field holds every amount: to
// the cent unless the field keeps fractions of a cent, within the limit of
// amounts, its domain and range, and in a count field a count the field
// takes; else the write is refused. A sum's binary noise is dropped; a true
// fraction of a cent is rounded, half away from zero, and counted, since a
// field where the calculation keeps fractions is marked so.
double heldAmount(const detail::CopyData& data, const FieldID& x, const FieldTraits& traits, double v,
                  const char* operation) {
    const int places = editCodeDecimalPlaces(traits.editCode);
    if (!traits.fractions) {
        v = withoutBinaryNoise(v, places);
        const double cents = roundedToTheCent(v, places);
        if (cents != v) {
            noteRounding(data, x, v, places, operation);
            v = cents;
        }
    }
    if (!withinTheAmountLimit(v, places) || (v < 0 && traits.domain == FieldDomain::NotNegative) || traits.ranged ||
        traits.content == FieldContent::Count) {
        const FormFieldDescPtr field = data.desc->getFieldDesc(x);
        const std::string why = amountRefusal(*field, v, formatDisplayAmount(v, places));
        if (!why.empty()) refuseAmount(data, *field, why, operation);
    }
    return v + 0.0;  // no negative zero
}

// v is finite; a field that holds amounts takes it as heldAmount holds it.
[[gnu::noinline]] void writeNumberFully(detail::CopyData& data, const FieldID& x, double v, const char* operation) {
    const int place = requireField(data, x, operation);
    const detail::Slot* held = data.readSlot(place);
    if (held != nullptr && held->overridden) return;
    const FieldTraits& traits = data.desc->traitsAt(place);
    if (traits.kind == FieldKind::Number) v = heldAmount(data, x, traits, v, operation);
    writeAt(
        data, place, x, operation, FieldValue::Kind::Number,
        [v](const detail::Slot& old) { return old.isNumber() && old.getNumber() == v + 0.0; },
        [v](detail::Slot& slot) { slot.setNumber(v); });
}

[[gnu::noinline]] void writeBoxFully(detail::CopyData& data, const FieldID& x, bool yes, const char* operation) {
    writeByCalculation(
        data, x, operation, FieldValue::Kind::Box,
        [yes](const detail::Slot& old) { return yes ? old.boxYes() : old.boxNo(); },
        [yes](detail::Slot& slot) { slot.setBox(yes); });
}

// Whether field x holds what a write would leave there (the value already,
// in a field of its kind, or anything in a field the user overrode): most
// writes of a calculation find what the one before wrote. Told without a
// call, so that such a write needs no stack frame.
template <class Same>
[[gnu::always_inline]] inline bool writeLeavesAsIs(const detail::CopyData& data, const FieldID& x, FieldKind kind,
                                                   Same same) {
    const int place = data.desc->tablePositionOf(x);
    const detail::Slot* held = place < 0 ? nullptr : data.readSlot(place);
    return held != nullptr && (held->overridden || (same(*held) && data.desc->traitsAt(place).kind == kind));
}

inline void writeNumber(detail::CopyData& data, const FieldID& x, double v, const char* operation) {
    if (!writeLeavesAsIs(data, x, FieldKind::Number,
                         [v](const detail::Slot& old) { return old.isNumber() && old.getNumber() == v + 0.0; })) {
        writeNumberFully(data, x, v, operation);
    }
}

inline void writeBox(detail::CopyData& data, const FieldID& x, bool yes, const char* operation) {
    if (!writeLeavesAsIs(data, x, FieldKind::Boolean,
                         [yes](const detail::Slot& old) { return yes ? old.boxYes() : old.boxNo(); })) {
        writeBoxFully(data, x, yes, operation);
    }
}

}  // namespace

// ---------------------------------------------------------------- TaxForm

TaxForm::TaxForm(std::shared_ptr<detail::CopyData> data) : data_(std::move(data)) {}

TaxForm::~TaxForm() = default;

std::uint16_t TaxForm::getCopyNumber() const { return data_->copy; }
const FormID& TaxForm::getFormID() const { return data_->form; }
TaxFormDescPtr TaxForm::getTaxFormDescriptor() const { return data_->descHandle; }
const TaxFormDesc& TaxForm::description() const { return *data_->desc; }

FormFieldPtr TaxForm::getField(const FieldID& x) const {
    const int place = requireField(*data_, x, "getField");
    return FormFieldPtr(new FormField(data_, x, place));
}

std::int64_t TaxForm::getLongValue(const FieldID& x) const {
    return detail::valueToken(*data_, findSlot(*data_, x, "getField"));
}

std::uint16_t TaxForm::getMaxLength(const FieldID& x) const {
    return data_->desc->traitsAt(requireField(*data_, x, "getField")).maxLength;
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
bool TaxForm::xMarked(const FieldID& x) const {
    const int place = requireField(*data_, x, "xMarked");
    if (!data_->desc->traitsAt(place).isBoolean()) {
        reportBoxRead(*data_, x, data_->desc->traitsAt(place), "xMarked");
    }
    const detail::Slot* slot = data_->readSlot(place);
    return slot != nullptr && slot->boxYes();
}
bool TaxForm::gtZero(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "gtZero")) > 0.0; }
bool TaxForm::ltZero(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "ltZero")) < 0.0; }
bool TaxForm::eqZero(const FieldID& x) const { return detail::numericValue(readValue(*data_, x, "eqZero")) == 0.0; }
bool TaxForm::nonZero(const FieldID& x) const { return detail::significant(readValue(*data_, x, "nonZero")); }

// The sums stay at the end of the 64-bit range rather than overflow.
std::int64_t TaxForm::sumOf2(const FieldID& a, const FieldID& b) const {
    return Utils::addSaturated(getIN(a), getIN(b));
}

std::int64_t TaxForm::sumOf3(const FieldID& a, const FieldID& b, const FieldID& c) const {
    return Utils::addSaturated(sumOf2(a, b), getIN(c));
}

std::int64_t TaxForm::sumOf4(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) const {
    return Utils::addSaturated(sumOf3(a, b, c), getIN(d));
}

double TaxForm::minFnII(const FieldID& a, const FieldID& b) const { return std::min(getIR(a), getIR(b)); }
double TaxForm::minFnIR(const FieldID& a, double v) const { return std::min(getIR(a), v); }

std::int64_t TaxForm::offsetUserDate(const FieldID& x) const {
    const detail::Slot& value = readValue(*data_, x, "offsetUserDate");
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
    const int place = requireField(*data_, x, "valueString");
    const detail::Slot* slot = data_->readSlot(place);
    return slot == nullptr ? std::string() : detail::renderValue(*slot, data_->desc->traitsAt(place).editCode);
}

bool TaxForm::noOverride(const FieldID& x) const { return !isOverridden(x); }

bool TaxForm::isProtected(const FieldID& x) const {
    const detail::Slot* slot = findSlot(*data_, x, "isProtected");
    return slot != nullptr && slot->protectedField;
}

// ---- writes

namespace {

[[noreturn, gnu::noinline, gnu::cold]] void refuseNumber(const detail::CopyData& data, const FieldID& t,
                                                         const char* operation) {
    throw Exceptions::QuarloException(describeField(data, t) + ": the result is not a finite number", "TaxForm",
                                      operation);
}

}  // namespace

void TaxForm::storeNumber(const FieldID& t, double v, const char* operation) {
    if (!std::isfinite(v)) {
        refuseNumber(*data_, t, operation);
    }
    writeNumber(*data_, t, v, operation);
}

void TaxForm::assignIR(const FieldID& x, double v) { storeNumber(x, v, "assignIR"); }

void TaxForm::assignII(const FieldID& target, const FieldID& source) {
    // A text is kept on the heap and stays where it is while the target is
    // written, even when the source is the target itself.
    const detail::Slot& from = readValue(*data_, source, "assignII");
    switch (from.kind()) {
        case FieldValue::Kind::Null:
            writeNull(*data_, target, "assignII");
            break;
        case FieldValue::Kind::Number:
            writeNumber(*data_, target, from.getNumber(), "assignII");
            break;
        case FieldValue::Kind::Text:
            writeText(*data_, requireField(*data_, target, "assignII"), target, from.getText(), "assignII");
            break;
        case FieldValue::Kind::Box:
            writeBox(*data_, target, from.boxYes(), "assignII");
            break;
    }
}

void TaxForm::assignText(const FieldID& x, const char* text) {
    assignText(x, text == nullptr ? std::string_view() : std::string_view(text));
}

void TaxForm::assignText(const FieldID& x, const std::string& text) { assignText(x, std::string_view(text)); }

void TaxForm::assignText(const FieldID& x, std::string_view text) {
    const int place = requireField(*data_, x, "assignText");
    const FieldTraits& traits = data_->desc->traitsAt(place);
    // Compared before it is copied: a text already stored costs no copy. A
    // text that its field's kind reads is cut once it is read; one written
    // into an amount or box field is refused whole.
    const bool cut = traits.isText() && traits.content == FieldContent::Any;
    writeText(*data_, place, x, cut ? detail::cutText(text, traits.maxLength) : text, "assignText");
}

void TaxForm::setNull(const FieldID& x) { writeNull(*data_, x, "setNull"); }
void TaxForm::zero(const FieldID& x) { writeNumber(*data_, x, 0.0, "zero"); }
void TaxForm::setX(const FieldID& x) { writeBox(*data_, x, true, "setX"); }
void TaxForm::setXNo(const FieldID& x) { writeBox(*data_, x, false, "setXNo"); }
void TaxForm::setYes(const FieldID& x) { writeBox(*data_, x, true, "setYes"); }

// ---- box groups

void TaxForm::applyGroup(const FieldID* group, std::size_t count, bool markFirstWhenNone) {
    // The boxes of the group: its identifiers without null ones and repeats.
    const auto isBox = [group](std::size_t i) {
        return !group[i].isNullID() && std::find(group, group + i, group[i]) == group + i;
    };
    std::size_t first = count;
    std::size_t winner = count;
    for (std::size_t i = 0; i < count && winner == count; ++i) {
        if (isBox(i)) {
            first = std::min(first, i);
            if (xMarked(group[i])) {
                winner = i;
            }
        }
    }
    if (winner == count) {
        if (markFirstWhenNone && first < count) {
            writeBox(*data_, group[first], true, "oneXAndDefault");
        }
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (isBox(i) && group[i] != group[winner]) {
            writeBox(*data_, group[i], false, "oneX");
        }
    }
}

void TaxForm::oneX(const FieldID& a, const FieldID& b, const FieldID& c) {
    const FieldID group[] = {a, b, c};
    applyGroup(group, 3, false);
}

void TaxForm::oneX9(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d, const FieldID& e,
                    const FieldID& f, const FieldID& g, const FieldID& h, const FieldID& i) {
    const FieldID group[] = {a, b, c, d, e, f, g, h, i};
    applyGroup(group, 9, false);
}

void TaxForm::oneX2AndDefault(const FieldID& a, const FieldID& b) {
    const FieldID group[] = {a, b};
    applyGroup(group, 2, true);
}

void TaxForm::oneX4AndDefault(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) {
    const FieldID group[] = {a, b, c, d};
    applyGroup(group, 4, true);
}

void TaxForm::oneXAndDefault(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d, const FieldID& e,
                             const FieldID& f, const FieldID& g, const FieldID& h, const FieldID& i, const FieldID& j) {
    const FieldID group[] = {a, b, c, d, e, f, g, h, i, j};
    applyGroup(group, 10, true);
}

// ---- protection

void TaxForm::makeProtected(const FieldID& x) { slotFor(*data_, x, "makeProtected").protectedField = true; }
void TaxForm::unProtect(const FieldID& x) { slotFor(*data_, x, "unProtect").protectedField = false; }

void TaxForm::makeProtectedAndSetNull(const FieldID& x) {
    slotFor(*data_, x, "makeProtectedAndSetNull").protectedField = true;
    writeNull(*data_, x, "makeProtectedAndSetNull");
}

void TaxForm::unprotectAndMaybeSetNull(const FieldID& x) {
    detail::Slot& slot = slotFor(*data_, x, "unprotectAndMaybeSetNull");
    if (!slot.protectedField) {
        return;
    }
    slot.protectedField = false;
    writeNull(*data_, x, "unprotectAndMaybeSetNull");
}

// ---- host and test surface

FieldValue TaxForm::getValue(const FieldID& x) const { return readValue(*data_, x, "getValue").value(); }

void TaxForm::setValue(const FieldID& x, const FieldValue& value) {
    const int place = requireField(*data_, x, "setValue");
    if (!detail::kindAgrees(data_->desc->traitsAt(place), value.kind())) {
        refuseKind(*data_, x, data_->desc->traitsAt(place), value.kind(), "setValue");
    }
    detail::Slot& slot = data_->writeSlot(place);
    if (!slot.holds(value)) {
        slot.set(value);
        data_->markChanged();
    }
}

bool TaxForm::isOverridden(const FieldID& x) const {
    const detail::Slot* slot = findSlot(*data_, x, "isOverridden");
    return slot != nullptr && slot->overridden;
}

void TaxForm::setOverridden(const FieldID& x, bool overridden) {
    detail::setFlag(*data_, slotFor(*data_, x, "setOverridden").overridden, overridden);
}

bool TaxForm::isTentative(const FieldID& x) const {
    const detail::Slot* slot = findSlot(*data_, x, "isTentative");
    return slot != nullptr && slot->tentative;
}

void TaxForm::setTentative(const FieldID& x, bool tentative) {
    detail::setFlag(*data_, slotFor(*data_, x, "setTentative").tentative, tentative);
}

bool TaxForm::isNoEntry(const FieldID& x) const {
    const detail::Slot* slot = findSlot(*data_, x, "isNoEntry");
    return slot != nullptr && slot->noEntry;
}

void TaxForm::setNoEntry(const FieldID& x, bool noEntry) { slotFor(*data_, x, "setNoEntry").noEntry = noEntry; }

bool TaxForm::isFieldCalculated(const FieldID& x) const {
    const int place = requireField(*data_, x, "getField");
    const detail::Slot* slot = data_->readSlot(place);
    if (slot != nullptr && slot->calculated >= 0) {
        return slot->calculated != 0;
    }
    return data_->desc->traitsAt(place).calculated;
}

void TaxForm::setFieldCalculated(const FieldID& x, bool calculated) {
    slotFor(*data_, x, "setFieldCalculated").calculated = calculated ? 1 : 0;
}

std::vector<FieldID> TaxForm::fieldsWithValues() const {
    std::vector<FieldID> out;
    forEachSetField([&out](const FieldID& id, const FieldValue& value, bool) {
        if (!value.isNull()) {
            out.push_back(id);
        }
    });
    return out;
}

void TaxForm::forEachSetField(const std::function<void(const FieldID&, const FieldValue&, bool)>& visit) const {
    const std::size_t count = std::min(data_->slots.size(), data_->desc->fieldCount());
    QVFieldIDIter it = data_->desc->getFieldIDs();
    for (std::size_t place = 0; place < count; ++place, it.next()) {
        const detail::Slot& slot = data_->slots[place];
        if (!slot.isNull() || slot.overridden) {
            visit(it.getFieldID(), slot.value(), slot.overridden);
        }
    }
}

}  // namespace DataMgmt
