// One return (TaxReturn, USTaxReturn), the iterators over its copies and the
// store of returns; the return's reads of fields are in DataMgmtReturnReads.cpp.
#include <algorithm>

#include "platform/Configuration.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/DataMgmtInternal.h"
#include "platform/util/Utils.h"

namespace DataMgmt {

namespace {

std::string formLabel(const FormID& f) {
    return std::string(f.isState() ? "state" : "federal") + " form " + std::to_string(f.getNumber());
}

// The refusals are made out of line, so that the accesses that never need
// them stay small.
[[noreturn, gnu::noinline, gnu::cold]] void refuseKind(const FormID& f, const TaxReturnDesc& desc, bool isState,
                                                       const char* verb, const char* operation) {
    throw Exceptions::QuarloException(formLabel(f) + " cannot be " + verb + " through the " + desc.getName() +
                                          " return, which holds " + (isState ? "state" : "federal") + " forms only",
                                      "TaxReturn", operation);
}

[[noreturn, gnu::noinline, gnu::cold]] void refuseForm(const FormID& f, const TaxReturnDesc& desc,
                                                       const char* operation) {
    throw Exceptions::QuarloException(formLabel(f) + " is not described in the " + desc.getName() + " return",
                                      "TaxReturn", operation);
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
    syncForms();
}

void TaxReturn::syncForms() {
    for (std::size_t index = forms_.size(); index < desc_->formCount(); ++index) {
        forms_.push_back(FormEntry{&desc_->formAt(static_cast<int>(index)), {}});
    }
}

TaxReturn::~TaxReturn() {
    // Handles that callers still hold outlive the return: mark them detached.
    for (FormEntry& form : forms_) {
        for (CopyEntry& copy : form.copies) {
            copy.data->attached = false;
        }
    }
}

// ---- kinds and descriptions

const TaxReturn& TaxReturn::readerFor(const FormID& f, const char* operation) const {
    if (f.isState() != isState_) {
        refuseKind(f, *desc_, isState_, "read", operation);
    }
    return *this;
}

[[noreturn]] void TaxReturn::refuseFormOf(const FormID& f, const char* operation) const {
    refuseForm(f, *desc_, operation);
}

int TaxReturn::requireWritable(const FormID& f, const char* operation) const {
    if (f.isState() != isState_) {
        refuseKind(f, *desc_, isState_, "written", operation);
    }
    return requireOwnForm(f, operation);
}

const TaxReturn::CopyEntry* TaxReturn::searchCopy(const Copies& copies, std::uint16_t copy) {
    const auto found = std::lower_bound(copies.begin(), copies.end(), copy,
                                        [](const CopyEntry& c, std::uint16_t n) { return c.number < n; });
    return found != copies.end() && found->number == copy ? &*found : nullptr;
}

TaxFormPtr TaxReturn::makeCopy(int formIndex, std::uint16_t copy) {
    syncForms();  // the description may have grown since the return was made
    const TaxFormDesc& formDesc = formDescAt(formIndex);
    auto data = std::make_shared<detail::CopyData>();
    data->returnState = state_;
    data->descHandle = desc_->getTaxFormDescriptor(formDesc.getTypeID());
    data->desc = &formDesc;
    data->form = formDesc.getTypeID();
    data->copy = copy;
    detail::CopyData* raw = data.get();
    TaxFormPtr handle(new TaxForm(std::move(data)));
    Copies& copies = forms_[static_cast<std::size_t>(formIndex)].copies;
    const auto later = std::upper_bound(copies.begin(), copies.end(), copy,
                                        [](std::uint16_t n, const CopyEntry& c) { return n < c.number; });
    copies.insert(later, CopyEntry{copy, raw, handle});
    markChanged();
    return handle;
}

void TaxReturn::markChanged() { state_->saveNeeded = true; }

// ---- copies and handles

// The stored handle of a copy, or the empty one (as ownField does for a
// field).
inline const TaxFormPtr& TaxReturn::handleOf(const FormID& f, std::uint16_t copy) const {
    return f.isState() == isState_ ? ownHandle(f, copy) : readerFor(f, "getForm").ownHandle(f, copy);
}

const TaxFormPtr& TaxReturn::ownHandle(const FormID& f, std::uint16_t copy) const {
    const CopyEntry* found = findCopy(requireOwnForm(f, "getForm"), copy);
    return found == nullptr ? noCopy_ : found->handle;
}

TaxFormPtr TaxReturn::getFormUVPtr(const FormID& f, std::uint16_t copy, bool create) {
    // The lookup alone is the common call; the rest is out of line.
    return create ? getOrMakeCopy(f, copy) : handleOf(f, copy);
}

TaxFormPtr TaxReturn::getOrMakeCopy(const FormID& f, std::uint16_t copy) {
    const int index = requireWritable(f, "getFormUVPtr");
    if (const CopyEntry* existing = findCopy(index, copy); existing != nullptr) {
        return existing->handle;
    }
    if (copy == 0 || copy > getMaxCopies(f)) {
        return noCopy_;
    }
    return makeCopy(index, copy);
}

TaxFormPtr TaxReturn::getForm(const FormID& f, std::uint16_t copy) const { return handleOf(f, copy); }

TaxFormPtr TaxReturn::getFormOrCreate(const FormID& f, std::uint16_t copy) { return getFormUVPtr(f, copy, true); }

bool TaxReturn::formExists(const FormID& f, std::uint16_t copy) const {
    const TaxReturn& reader = readerOf(f, "getForm");
    if (&reader != this) {
        return reader.formExists(f, copy);
    }
    return findCopy(requireOwnForm(f, "getForm"), copy) != nullptr;
}

TaxFormPtr TaxReturn::createForm(const FormID& f) {
    const int index = requireWritable(f, "createForm");
    const Copies* copies = copiesAt(index);
    const std::uint16_t highest = copies == nullptr || copies->empty() ? 0 : copies->back().number;
    if (highest >= getMaxCopies(f)) {
        return noCopy_;
    }
    return makeCopy(index, static_cast<std::uint16_t>(highest + 1));
}

void TaxReturn::deleteForm(const FormID& f, std::uint16_t copy) {
    const int index = requireWritable(f, "deleteForm");
    const CopyEntry* found = findCopy(index, copy);
    if (found == nullptr) {
        return;
    }
    Copies& copies = forms_[static_cast<std::size_t>(index)].copies;
    found->data->attached = false;
    copies.erase(copies.begin() + (found - copies.data()));
    markChanged();
}

std::uint16_t TaxReturn::getFormCount(const FormID& f) const {
    const TaxReturn& reader = readerOf(f, "getFormCount");
    if (&reader != this) {
        return reader.getFormCount(f);
    }
    const Copies* copies = copiesAt(requireOwnForm(f, "getFormCount"));
    return copies == nullptr ? 0 : static_cast<std::uint16_t>(copies->size());
}

std::uint16_t TaxReturn::numFormCopies(const FormID& f) const { return getFormCount(f); }

std::uint16_t TaxReturn::getMaxCopies(const FormID& f) const {
    const TaxReturn& reader = readerOf(f, "getMaxCopies");
    if (&reader != this) {
        return reader.getMaxCopies(f);
    }
    const std::uint16_t limit = formDescAt(requireOwnForm(f, "getMaxCopies")).getMaxCopies();
    return limit == 0 ? 99 : limit;
}

std::vector<std::uint16_t> TaxReturn::copyNumbers(const FormID& f) const {
    const TaxReturn& reader = readerOf(f, "copyNumbers");
    if (&reader != this) {
        return reader.copyNumbers(f);
    }
    std::vector<std::uint16_t> out;
    if (const Copies* copies = copiesAt(requireOwnForm(f, "copyNumbers")); copies != nullptr) {
        out.reserve(copies->size());
        for (const CopyEntry& c : *copies) {
            out.push_back(c.number);
        }
    }
    return out;
}

std::vector<TaxFormPtr> TaxReturn::handlesOf(const Copies* copies) {
    std::vector<TaxFormPtr> handles;
    if (copies != nullptr) {
        handles.reserve(copies->size());
        for (const CopyEntry& c : *copies) {
            handles.push_back(c.handle);
        }
    }
    return handles;
}

TaxFormIter TaxReturn::getForms(const FormID& f) const {
    const TaxReturn& reader = readerOf(f, "getForms");
    if (&reader != this) {
        return reader.getForms(f);
    }
    return TaxFormIter(handlesOf(copiesAt(requireOwnForm(f, "getForms"))));
}

TaxFormIterIter TaxReturn::getForms() const {
    std::vector<TaxFormIterIter::Entry> forms;
    for (int index : desc_->ascendingIndexes()) {
        const Copies* copies = copiesAt(index);
        if (copies != nullptr && !copies->empty()) {
            forms.emplace_back(formDescAt(index).getTypeID(), handlesOf(copies));
        }
    }
    return TaxFormIterIter(std::move(forms));
}

// ---- writes and marks

void TaxReturn::setXValue(const FormID& f, std::uint16_t c, const FieldID& x, bool on) {
    const CopyEntry* copy = findCopy(requireWritable(f, "setXValue"), c);
    if (copy == nullptr) {
        return;
    }
    if (on) {
        copy->handle->setX(x);
    } else {
        copy->handle->setXNo(x);
    }
}

void TaxReturn::setDataEntered(const FormID& f, std::uint16_t c, bool entered, bool fromImport) {
    const CopyEntry* copy = findCopy(requireWritable(f, "setDataEntered"), c);
    if (copy == nullptr) {
        return;
    }
    detail::CopyData& data = *copy->data;
    if (data.dataEntered != entered) {
        data.dataEntered = entered;
        markChanged();
    }
    data.dataEnteredFromImport = fromImport;
}

bool TaxReturn::isDataEntered(const FormID& f, std::uint16_t c) const {
    const TaxReturn& reader = readerOf(f, "getForm");
    if (&reader != this) {
        return reader.isDataEntered(f, c);
    }
    const CopyEntry* copy = findCopy(requireOwnForm(f, "getForm"), c);
    return copy != nullptr && copy->data->dataEntered;
}

bool TaxReturn::lastDataEnteredFromImport(const FormID& f, std::uint16_t c) const {
    TaxFormPtr copy = getForm(f, c);
    return !copy.isNull() && copy->data_->dataEnteredFromImport;
}

bool TaxReturn::isSaveNeeded() const { return state_->saveNeeded; }
void TaxReturn::clearSaveNeeded() { state_->saveNeeded = false; }
void TaxReturn::recordCalculationWrites(std::vector<CalculationWrite>* log) { state_->writeLog = log; }

// ---- identity

TaxFormDescPtr TaxReturn::getTaxFormDescriptor(const FormID& f) const {
    const TaxReturn& reader = readerOf(f, "getTaxFormDescriptor");
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
    const TaxReturn& reader = readerOf(f, "getLineID");
    if (&reader != this) {
        return reader.getLineID(f, x);
    }
    FormFieldDescPtr field = formDescAt(requireOwnForm(f, "getLineID")).getFieldDesc(x);
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
    const TaxReturn& reader = readerOf(f, "formName");
    if (&reader != this) {
        return reader.formName(f);
    }
    const TaxFormDesc& formDesc = formDescAt(requireOwnForm(f, "formName"));
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
