// One return (TaxReturn, USTaxReturn) and the store of returns.
#include <algorithm>
#include <cstdio>

#include "platform/Configuration.h"
#include "platform/DataMgmt.h"
#include "platform/DataMgmtInternal.h"
#include "platform/Utils.h"

namespace DataMgmt {

namespace {

std::string formLabel(const FormID& f) {
    return std::string(f.isState() ? "state" : "federal") + " form " + std::to_string(f.getNumber());
}

}  // namespace

// ---------------------------------------------------------------- TaxReturn

TaxReturn::TaxReturn(TaxReturnDescPtr desc, Utils::StringPoolPtr pool)
    : desc_(std::move(desc)),
      isState_(false),
      state_(std::make_shared<detail::ReturnState>()),
      sessionProperties_(new SessionProperties()) {
    if (desc_.isNull()) {
        throw Exceptions::QuarloException("a return needs a description", "TaxReturn", "TaxReturn");
    }
    isState_ = desc_->getReturnType() != kFederalReturnType;
    state_->pool = pool.isNull() ? Utils::StringPoolPtr(new Utils::StringPool()) : pool;
}

TaxReturn::~TaxReturn() {
    // Handles that callers still hold outlive the return: mark them detached.
    for (auto& [form, copies] : forms_) {
        for (auto& [number, copy] : copies) {
            copy->data_->attached = false;
        }
    }
}

// ---- kinds and descriptions

const TaxReturn& TaxReturn::readerFor(const FormID& f, const char* operation) const {
    if (f.isState() != isState_) {
        throw Exceptions::QuarloException(formLabel(f) + " cannot be read through the " + desc_->getName() +
                                              " return, which holds " + (isState_ ? "state" : "federal") +
                                              " forms only",
                                          "TaxReturn", operation);
    }
    return *this;
}

const TaxFormDesc* TaxReturn::describedForm(const FormID& f) const {
    TaxFormDescPtr formDesc = desc_->getTaxFormDescriptor(f);
    // The return description keeps its own handle, so the object outlives
    // this local one.
    return formDesc.get();
}

const TaxFormDesc& TaxReturn::requireOwnForm(const FormID& f, const char* operation) const {
    const TaxFormDesc* formDesc = describedForm(f);
    if (formDesc == nullptr) {
        throw Exceptions::QuarloException(formLabel(f) + " is not described in the " + desc_->getName() + " return",
                                          "TaxReturn", operation);
    }
    return *formDesc;
}

const TaxFormDesc& TaxReturn::requireWritable(const FormID& f, const char* operation) const {
    if (f.isState() != isState_) {
        throw Exceptions::QuarloException(formLabel(f) + " cannot be written through the " + desc_->getName() +
                                              " return, which holds " + (isState_ ? "state" : "federal") +
                                              " forms only",
                                          "TaxReturn", operation);
    }
    return requireOwnForm(f, operation);
}

TaxFormPtr TaxReturn::findCopy(const FormID& f, std::uint16_t copy) const {
    auto form = forms_.find(f);
    if (form == forms_.end()) {
        return TaxFormPtr();
    }
    auto found = form->second.find(copy);
    return found == form->second.end() ? TaxFormPtr() : found->second;
}

TaxFormPtr TaxReturn::makeCopy(const FormID& f, std::uint16_t copy, const TaxFormDesc& formDesc) {
    auto data = std::make_shared<detail::CopyData>();
    data->returnState = state_;
    data->desc = desc_->getTaxFormDescriptor(f);
    data->form = formDesc.getTypeID();
    data->copy = copy;
    TaxFormPtr handle(new TaxForm(std::move(data)));
    forms_[f][copy] = handle;
    markChanged();
    return handle;
}

void TaxReturn::markChanged() { state_->saveNeeded = true; }

// ---- copies and handles

TaxFormPtr TaxReturn::getFormUVPtr(const FormID& f, std::uint16_t copy, bool create) {
    if (!create) {
        return getForm(f, copy);
    }
    const TaxFormDesc& formDesc = requireWritable(f, "getFormUVPtr");
    TaxFormPtr existing = findCopy(f, copy);
    if (!existing.isNull()) {
        return existing;
    }
    if (copy == 0 || copy > getMaxCopies(f)) {
        return TaxFormPtr();
    }
    return makeCopy(f, copy, formDesc);
}

TaxFormPtr TaxReturn::getForm(const FormID& f, std::uint16_t copy) const {
    const TaxReturn& reader = readerFor(f, "getForm");
    if (&reader != this) {
        return reader.getForm(f, copy);
    }
    requireOwnForm(f, "getForm");
    return findCopy(f, copy);
}

TaxFormPtr TaxReturn::getFormOrCreate(const FormID& f, std::uint16_t copy) { return getFormUVPtr(f, copy, true); }

bool TaxReturn::formExists(const FormID& f, std::uint16_t copy) const { return !getForm(f, copy).isNull(); }

TaxFormPtr TaxReturn::createForm(const FormID& f) {
    const TaxFormDesc& formDesc = requireWritable(f, "createForm");
    std::uint16_t highest = 0;
    auto form = forms_.find(f);
    if (form != forms_.end() && !form->second.empty()) {
        highest = form->second.rbegin()->first;
    }
    if (highest >= getMaxCopies(f)) {
        return TaxFormPtr();
    }
    return makeCopy(f, static_cast<std::uint16_t>(highest + 1), formDesc);
}

void TaxReturn::deleteForm(const FormID& f, std::uint16_t copy) {
    requireWritable(f, "deleteForm");
    auto form = forms_.find(f);
    if (form == forms_.end()) {
        return;
    }
    auto found = form->second.find(copy);
    if (found == form->second.end()) {
        return;
    }
    found->second->data_->attached = false;
    form->second.erase(found);
    if (form->second.empty()) {
        forms_.erase(form);
    }
    markChanged();
}

std::uint16_t TaxReturn::getFormCount(const FormID& f) const {
    const TaxReturn& reader = readerFor(f, "getFormCount");
    if (&reader != this) {
        return reader.getFormCount(f);
    }
    requireOwnForm(f, "getFormCount");
    auto form = forms_.find(f);
    return form == forms_.end() ? 0 : static_cast<std::uint16_t>(form->second.size());
}

std::uint16_t TaxReturn::numFormCopies(const FormID& f) const { return getFormCount(f); }

std::uint16_t TaxReturn::getMaxCopies(const FormID& f) const {
    const TaxReturn& reader = readerFor(f, "getMaxCopies");
    if (&reader != this) {
        return reader.getMaxCopies(f);
    }
    const std::uint16_t limit = requireOwnForm(f, "getMaxCopies").getMaxCopies();
    return limit == 0 ? 99 : limit;
}

std::vector<std::uint16_t> TaxReturn::copyNumbers(const FormID& f) const {
    const TaxReturn& reader = readerFor(f, "copyNumbers");
    if (&reader != this) {
        return reader.copyNumbers(f);
    }
    requireOwnForm(f, "copyNumbers");
    std::vector<std::uint16_t> out;
    auto form = forms_.find(f);
    if (form != forms_.end()) {
        for (const auto& entry : form->second) {
            out.push_back(entry.first);
        }
    }
    return out;
}

TaxFormIter TaxReturn::getForms(const FormID& f) const {
    const TaxReturn& reader = readerFor(f, "getForms");
    if (&reader != this) {
        return reader.getForms(f);
    }
    requireOwnForm(f, "getForms");
    std::vector<TaxFormPtr> copies;
    auto form = forms_.find(f);
    if (form != forms_.end()) {
        for (const auto& entry : form->second) {
            copies.push_back(entry.second);
        }
    }
    return TaxFormIter(std::move(copies));
}

TaxFormIterIter TaxReturn::getForms() const {
    std::vector<TaxFormIterIter::Entry> forms;
    for (const auto& [id, copies] : forms_) {
        if (copies.empty()) {
            continue;
        }
        std::vector<TaxFormPtr> handles;
        for (const auto& entry : copies) {
            handles.push_back(entry.second);
        }
        forms.emplace_back(id, std::move(handles));
    }
    return TaxFormIterIter(std::move(forms));
}

// ---- reads

FieldValue TaxReturn::getValue(const FormID& f, std::uint16_t c, const FieldID& x) const {
    const TaxReturn& reader = readerFor(f, "getValue");
    if (&reader != this) {
        return reader.getValue(f, c, x);
    }
    const TaxFormDesc& formDesc = requireOwnForm(f, "getValue");
    if (!formDesc.hasField(x)) {
        throw Exceptions::QuarloException(formDesc.getDevName() + " has no field " + std::to_string(x.getNumber()),
                                          "TaxReturn", "getValue");
    }
    TaxFormPtr copy = findCopy(f, c);
    return copy.isNull() ? FieldValue() : copy->getValue(x);
}

std::int64_t TaxReturn::getIN(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return detail::wholeValue(getValue(f, c, x));
}

double TaxReturn::getIR(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return detail::numericValue(getValue(f, c, x));
}

std::string TaxReturn::formString(const FormID& f, std::uint16_t c, const FieldID& x) const {
    FieldValue value = getValue(f, c, x);  // checks the form and field, forwards federal reads
    if (value.isNull()) {
        return std::string();
    }
    TaxFormDescPtr formDesc = getTaxFormDescriptor(f);
    FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(x);
    return detail::renderValue(value, fieldDesc.get());
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
            text = detail::cutText(text, static_cast<std::size_t>(width));
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

bool TaxReturn::formYes(const FormID& f, std::uint16_t c, const FieldID& x) const {
    FieldValue value = getValue(f, c, x);
    if (value.isText()) {
        const std::string answer = Utils::QVStringUtils::upperCased(Utils::strip(value.getText()));
        return answer == "Y" || answer == "YES";
    }
    return value.boxYes();
}

bool TaxReturn::formNo(const FormID& f, std::uint16_t c, const FieldID& x) const {
    FieldValue value = getValue(f, c, x);
    if (value.isText()) {
        const std::string answer = Utils::QVStringUtils::upperCased(Utils::strip(value.getText()));
        return answer == "N" || answer == "NO";
    }
    return value.boxNo();
}

bool TaxReturn::hasSigValue(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return detail::significant(getValue(f, c, x));
}

bool TaxReturn::noSigValue(const FormID& f, std::uint16_t c, const FieldID& x) const { return !hasSigValue(f, c, x); }

bool TaxReturn::isNull(const FormID& f, std::uint16_t c, const FieldID& x) const { return getValue(f, c, x).isNull(); }

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
    getValue(f, 1, value);  // refuses an unknown form or value field even without copies
    std::int64_t sum = 0;
    for (TaxFormIter it = getForms(f); !it.atEOL(); it.next()) {
        TaxFormPtr copy = it.getTaxForm();
        const bool matches = (k1.isNullID() || copy->getIN(k1) == v1) && (k2.isNullID() || copy->getIN(k2) == v2) &&
                             (k3.isNullID() || copy->getIN(k3) == v3);
        if (matches) {
            sum += copy->getIN(value);
        }
    }
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
    FieldValue value = getValue(f, c, birthDate);
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

// ---- writes and marks

void TaxReturn::getII(const FormID& srcForm, const FieldID& srcField, TaxFormPtr& target,
                      const FieldID& targetField) const {
    getIIM(srcForm, srcField, 1, target, targetField);
}

void TaxReturn::getIIM(const FormID& srcForm, const FieldID& srcField, std::uint16_t srcCopy, TaxFormPtr& target,
                       const FieldID& targetField) const {
    TaxForm& to = requireForm(target, "TaxReturn", "getII");
    FieldValue value = getValue(srcForm, srcCopy, srcField);
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

void TaxReturn::setXValue(const FormID& f, std::uint16_t c, const FieldID& x, bool on) {
    requireWritable(f, "setXValue");
    TaxFormPtr copy = findCopy(f, c);
    if (copy.isNull()) {
        return;
    }
    if (on) {
        copy->setX(x);
    } else {
        copy->setXNo(x);
    }
}

void TaxReturn::setDataEntered(const FormID& f, std::uint16_t c, bool entered, bool fromImport) {
    requireWritable(f, "setDataEntered");
    TaxFormPtr copy = findCopy(f, c);
    if (copy.isNull()) {
        return;
    }
    detail::CopyData& data = *copy->data_;
    if (data.dataEntered != entered) {
        data.dataEntered = entered;
        markChanged();
    }
    data.dataEnteredFromImport = fromImport;
}

bool TaxReturn::isDataEntered(const FormID& f, std::uint16_t c) const {
    TaxFormPtr copy = getForm(f, c);
    return !copy.isNull() && copy->isDataEntered();
}

bool TaxReturn::lastDataEnteredFromImport(const FormID& f, std::uint16_t c) const {
    TaxFormPtr copy = getForm(f, c);
    return !copy.isNull() && copy->data_->dataEnteredFromImport;
}

bool TaxReturn::isSaveNeeded() const { return state_->saveNeeded; }
void TaxReturn::clearSaveNeeded() { state_->saveNeeded = false; }

// ---- identity

TaxFormDescPtr TaxReturn::getTaxFormDescriptor(const FormID& f) const {
    const TaxReturn& reader = readerFor(f, "getTaxFormDescriptor");
    if (&reader != this) {
        return reader.getTaxFormDescriptor(f);
    }
    return desc_->getTaxFormDescriptor(f);
}

const char* TaxReturn::getAbbreviation() const { return desc_->getAbbreviation().c_str(); }
TaxReturnType TaxReturn::getReturnType() const { return desc_->getReturnType(); }
std::string TaxReturn::getDisplayName() const { return desc_->getName(); }
Utils::StringPoolPtr TaxReturn::getStringPool() const { return state_->pool; }

std::int8_t TaxReturn::getFilingStatusNumber() { return filingStatus_; }
bool TaxReturn::isForm2555Present() { return form2555Present_; }

std::string TaxReturn::getOfficeLocatorURL(TaxReturnType) const {
    return officeLocatorURL_.empty() ? QuarloConfiguration::getInstance()->officeLocatorURL : officeLocatorURL_;
}

void TaxReturn::getFieldDisplayValuePairs(TaxFormPtr&, FormFieldPtr&, Properties::DisplayValuePairs&) {}

// ---- labels

std::string TaxReturn::getLineID(const FormID& f, const FieldID& x) const {
    const TaxReturn& reader = readerFor(f, "getLineID");
    if (&reader != this) {
        return reader.getLineID(f, x);
    }
    FormFieldDescPtr field = requireOwnForm(f, "getLineID").getFieldDesc(x);
    if (field.isNull()) {
        throw Exceptions::QuarloException(formLabel(f) + " has no field " + std::to_string(x.getNumber()), "TaxReturn",
                                          "getLineID");
    }
    return field->getLineID().empty() ? std::to_string(x.getNumber()) : field->getLineID();
}

void TaxReturn::getLineID(const FormID& f, const FieldID& x, char* buf, std::size_t cap) const {
    detail::copyToBuffer(buf, cap, getLineID(f, x));
}

std::string TaxReturn::formName(const FormID& f) const {
    const TaxReturn& reader = readerFor(f, "formName");
    if (&reader != this) {
        return reader.formName(f);
    }
    const TaxFormDesc& formDesc = requireOwnForm(f, "formName");
    return formDesc.getBusinessName().empty() ? "Form " + std::to_string(f.getNumber()) : formDesc.getBusinessName();
}

void TaxReturn::formName(char* buf, std::size_t cap, const FormID& f, char) const {
    detail::copyToBuffer(buf, cap, formName(f));
}

void TaxReturn::buildCleanFormName(char* buf, std::size_t cap, const FormID& f, int) const {
    detail::copyToBuffer(buf, cap, formName(f));
}

void TaxReturn::tifAppendAPTtoStreet(std::string& street, const FormID& f, std::uint16_t c, const FieldID& apt) const {
    const std::string text = Utils::strip(formString(f, c, apt));
    if (!text.empty()) {
        street += " ";
        street += text;
    }
}

// ---------------------------------------------------------------- USTaxReturn

USTaxReturn::USTaxReturn(TaxReturnDescPtr desc, Utils::StringPoolPtr pool)
    : TaxReturn(std::move(desc), std::move(pool)) {
    if (isStateReturn()) {
        throw Exceptions::QuarloException("the federal return needs the federal description", "USTaxReturn",
                                          "USTaxReturn");
    }
}

USTaxReturn::~USTaxReturn() = default;

// ---------------------------------------------------------------- TaxDataStore

TaxReturnPtr TaxDataStore::getTaxReturn(TaxReturnType type) const {
    auto found = returns_.find(type);
    return found == returns_.end() ? TaxReturnPtr() : found->second;
}

bool TaxDataStore::hasTaxReturn(TaxReturnType type) const {
    auto found = returns_.find(type);
    return found != returns_.end() && !found->second.isNull();
}

void TaxDataStore::setTaxReturn(TaxReturnType type, const TaxReturnPtr& taxReturn) {
    if (taxReturn.isNull()) {
        returns_.erase(type);
    } else {
        returns_.insert_or_assign(type, taxReturn);
    }
}

void TaxDataStore::removeTaxReturn(TaxReturnType type) { returns_.erase(type); }

}  // namespace DataMgmt
