// Reading fields through a return, and copying one into a form copy.
#include <cstdio>

#include "platform/Configuration.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/DataMgmtInternal.h"
#include "platform/util/Utils.h"

namespace DataMgmt {

namespace {

// Made out of line, so that the accesses that never need it stay small.
[[noreturn, gnu::noinline, gnu::cold]] void refuseField(const TaxFormDesc& form, const FieldID& x,
                                                        const char* operation) {
    throw Exceptions::QuarloException(form.getDevName() + " has no field " + std::to_string(x.getNumber()), "TaxReturn",
                                      operation);
}

const detail::Slot kNullSlot;

}  // namespace

// ---- reads

// Field access is the hot path of every calculation. A read of a form of
// this return's kind goes to ownField, which calls nothing on its way (so it
// needs no stack frame); a read forwarded to the other return goes through
// readerFor first.
inline TaxReturn::FieldRef TaxReturn::fieldOf(const FormID& f, std::uint16_t c, const FieldID& x,
                                              const char* operation) const {
    return f.isState() == isState_ ? ownField(f, c, x, operation) : forwardedField(f, c, x, operation);
}

TaxReturn::FieldRef TaxReturn::forwardedField(const FormID& f, std::uint16_t c, const FieldID& x,
                                              const char* operation) const {
    return readerFor(f, operation).ownField(f, c, x, operation);
}

TaxReturn::FieldRef TaxReturn::ownField(const FormID& f, std::uint16_t c, const FieldID& x,
                                        const char* operation) const {
    // The common case is answered here without a call, so that it needs no
    // stack frame: the form asked about last, a field its tables answer for,
    // and copy c at its usual place or past the last copy.
    if (f == lastForm_ && static_cast<std::size_t>(lastFormIndex_) < forms_.size()) {
        const FormEntry& form = forms_[static_cast<std::size_t>(lastFormIndex_)];
        const int place = form.desc->tablePositionOf(x);
        if (place >= 0) {
            const FieldTraits& traits = form.desc->traitsAt(place);
            const Copies& copies = form.copies;
            if (c != 0 && c <= copies.size() && copies[c - 1u].number == c) {
                const detail::Slot* slot = copies[c - 1u].data->readSlot(place);
                return FieldRef{slot == nullptr ? &kNullSlot : slot, &traits};
            }
            if (copies.empty() || c == 0 || c > copies.back().number) {
                return FieldRef{&kNullSlot, &traits};
            }
        }
    }
    return anyOwnField(f, c, x, operation);
}

TaxReturn::FieldRef TaxReturn::anyOwnField(const FormID& f, std::uint16_t c, const FieldID& x,
                                           const char* operation) const {
    const int index = requireOwnForm(f, operation);
    const TaxFormDesc& formDesc = formDescAt(index);
    const int place = formDesc.positionOf(x);
    if (place < 0) {
        refuseField(formDesc, x, operation);
    }
    const FieldTraits& traits = formDesc.traitsAt(place);
    const CopyEntry* copy = findCopy(index, c);
    if (copy == nullptr) {
        return FieldRef{&kNullSlot, &traits};
    }
    const detail::Slot* slot = copy->data->readSlot(place);
    return FieldRef{slot == nullptr ? &kNullSlot : slot, &traits};
}

FieldValue TaxReturn::getValue(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return valueOf(f, c, x, "getValue").value();
}

const detail::Slot& TaxReturn::valueOf(const FormID& f, std::uint16_t c, const FieldID& x,
                                       const char* operation) const {
    return *fieldOf(f, c, x, operation).slot;
}

std::int64_t TaxReturn::getIN(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return detail::wholeValue(valueOf(f, c, x, "getValue"));
}

double TaxReturn::getIR(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return detail::numericValue(valueOf(f, c, x, "getValue"));
}

std::string TaxReturn::formString(const FormID& f, std::uint16_t c, const FieldID& x) const {
    const FieldRef field = fieldOf(f, c, x, "getValue");  // checks the form and field, forwards federal reads
    return detail::renderValue(*field.slot, field.traits->editCode);
}

void TaxReturn::formString(char* buf, std::size_t cap, const FormID& f, std::uint16_t c, const FieldID& x) const {
    detail::copyToBuffer(buf, cap, formString(f, c, x));
}

std::string TaxReturn::getFieldAsString(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return formString(f, c, x);
}

std::string TaxReturn::getText(std::int64_t token, short width, JustificationType j) const {
    std::string text;
    if (state_->pool->contains(token)) {
        text = state_->pool->lookup(token);
        if (width > 0) {
            text = std::string(detail::cutText(text, static_cast<std::size_t>(width)));
        }
    } else if (width == 11 && token >= 0 && token <= 999999999) {
        char ssn[16];
        std::snprintf(ssn, sizeof ssn, "%03lld-%02lld-%04lld", static_cast<long long>(token / 1000000),
                      static_cast<long long>(token / 10000 % 100), static_cast<long long>(token % 10000));
        text = ssn;
    } else {
        text = std::to_string(token);
    }
    if (j == kJustifyRight && width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

char* TaxReturn::getText(char* buf, std::size_t cap, std::int64_t token, short width, JustificationType j) const {
    detail::copyToBuffer(buf, cap, getText(token, width, j));
    return buf;
}

namespace {

// A yes-or-no read of an amount field: a return file can never answer it.
[[gnu::noinline, gnu::cold]] void reportAnswerRead(const FormID& f, const FieldID& x, const FieldTraits& traits,
                                                   const char* operation) {
    detail::recordKindMismatch("form " + std::to_string(f.getNumber()) + " field " + std::to_string(x.getNumber()) +
                               ": " + operation + " read " + detail::fieldKindName(traits) + " field as an answer");
}

}  // namespace

bool TaxReturn::formYes(const FormID& f, std::uint16_t c, const FieldID& x) const {
    const FieldRef field = fieldOf(f, c, x, "getValue");
    if (!field.traits->isBoolean() && !field.traits->isText()) reportAnswerRead(f, x, *field.traits, "formYes");
    const detail::Slot& value = *field.slot;
    if (value.isText()) {
        const std::string answer = Utils::QVStringUtils::upperCased(Utils::strip(value.getText()));
        return answer == "Y" || answer == "YES";
    }
    return value.boxYes();
}

bool TaxReturn::formNo(const FormID& f, std::uint16_t c, const FieldID& x) const {
    const FieldRef field = fieldOf(f, c, x, "getValue");
    if (!field.traits->isBoolean() && !field.traits->isText()) reportAnswerRead(f, x, *field.traits, "formNo");
    const detail::Slot& value = *field.slot;
    if (value.isText()) {
        const std::string answer = Utils::QVStringUtils::upperCased(Utils::strip(value.getText()));
        return answer == "N" || answer == "NO";
    }
    return value.boxNo();
}

bool TaxReturn::hasSigValue(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return detail::significant(valueOf(f, c, x, "getValue"));
}

bool TaxReturn::noSigValue(const FormID& f, std::uint16_t c, const FieldID& x) const { return !hasSigValue(f, c, x); }

bool TaxReturn::isNull(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return valueOf(f, c, x, "getValue").isNull();
}

bool TaxReturn::greaterThanZero(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return getIR(f, c, x) > 0.0;
}

bool TaxReturn::zeroVal(const FormID& f, std::uint16_t c, const FieldID& x) const { return getIR(f, c, x) == 0.0; }

bool TaxReturn::nonZeroVal(const FormID& f, std::uint16_t c, const FieldID& x) const { return getIR(f, c, x) != 0.0; }

std::int64_t TaxReturn::getAllCopies(const FormID& f, const FieldID& x) const {
    return maybeGetFromAllCopies(f, x, Primitives::kNullFieldID, 0);
}

std::int64_t TaxReturn::maybeGetFromAllCopies(const FormID& f, const FieldID& value, const FieldID& k1, std::int64_t v1,
                                              const FieldID& k2, std::int64_t v2, const FieldID& k3,
                                              std::int64_t v3) const {
    valueOf(f, 1, value, "getValue");  // refuses an unknown form or value field even without copies
    // The copies are read where they are, without a list of their handles.
    std::int64_t sum = 0;
    readerOf(f, "getForms").forEachCopy(f, [&](const TaxForm& copy) {
        const bool matches = (k1.isNullID() || copy.getIN(k1) == v1) && (k2.isNullID() || copy.getIN(k2) == v2) &&
                             (k3.isNullID() || copy.getIN(k3) == v3);
        if (matches) {
            sum = Utils::addSaturated(sum, copy.getIN(value));
        }
    });
    return sum;
}

bool TaxReturn::dataEnteredOnAnyCopy(const FormID& f) const {
    for (TaxFormIter it = getForms(f); !it.atEOL(); it.next()) {
        if (it.getTaxForm()->isDataEntered()) {
            return true;
        }
    }
    return false;
}

bool TaxReturn::reachedAge(int age, int copy, const FormID& f, const FieldID& birthDate, bool) const {
    const std::uint16_t c = copy <= 0 ? 1 : static_cast<std::uint16_t>(copy);
    const detail::Slot& value = valueOf(f, c, birthDate, "getValue");
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!value.isText() || !Utils::convertDateStr(std::string_view(value.getText()), year, month, day)) {
        return false;
    }
    // The birthday of that age; born on 29 February, it falls on 1 March in a
    // common year (the day before it is 28 February either way).
    std::int64_t birthday = Utils::dateToNumber(month, day, std::int64_t{year} + age);
    if (birthday == 0 && month == 2 && day == 29) {
        birthday = Utils::dateToNumber(3, 1, std::int64_t{year} + age);
    }
    if (birthday == 0) {
        return false;
    }
    const int taxYear = QuarloConfiguration::getInstance()->taxYear;
    // birthday - 1 day <= 31 December of the tax year
    return birthday <= Utils::dateToNumber(1, 1, taxYear + 1);
}

// ---- copies of a field

void TaxReturn::getII(const FormID& srcForm, const FieldID& srcField, TaxFormPtr& target,
                      const FieldID& targetField) const {
    getIIM(srcForm, srcField, 1, target, targetField);
}

void TaxReturn::getIIM(const FormID& srcForm, const FieldID& srcField, std::uint16_t srcCopy, TaxFormPtr& target,
                       const FieldID& targetField) const {
    TaxForm& to = requireForm(target, "TaxReturn", "getII");
    // Each write below makes its value before it stores it, so the target
    // may be the source itself.
    const detail::Slot& value = valueOf(srcForm, srcCopy, srcField, "getValue");
    // Written as any calculation write: an overridden target keeps its value.
    switch (value.kind()) {
        case FieldValue::Kind::Null:
            to.setNull(targetField);
            break;
        case FieldValue::Kind::Number:
            to.assignIR(targetField, value.getNumber());
            break;
        case FieldValue::Kind::Text:
            to.assignText(targetField, value.getText());
            break;
        case FieldValue::Kind::Box:
            if (value.boxYes()) {
                to.setX(targetField);
            } else {
                to.setXNo(targetField);
            }
            break;
    }
}

}  // namespace DataMgmt
