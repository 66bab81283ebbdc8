// One return and its form copies (the state return, StateDataMgmt.h, builds
// on it).
//
// DataMgmt.h includes this header at its end, after the identifiers, values
// and handles that it uses: include DataMgmt.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace DataMgmt {

// How TaxReturn::getText places a text in its width. Only left (no padding)
// is used by the module; right pads with blanks on the left up to the width.
enum JustificationType : std::int32_t {
    kJustifyLeft = 0,
    kJustifyRight = 1,
};

class TaxReturn {
public:
    // A return of the described type. A null pool gets a pool of its own (a
    // session shares one pool between all its returns: pass it).
    TaxReturn(TaxReturnDescPtr desc, Utils::StringPoolPtr pool);
    virtual ~TaxReturn();
    TaxReturn(const TaxReturn&) = delete;
    TaxReturn& operator=(const TaxReturn&) = delete;

    // ---- copies and handles
    // The copy's handle, or an empty one. With create, a missing copy is made
    // (an empty handle when the copy number is 0 or above getMaxCopies).
    TaxFormPtr getFormUVPtr(const FormID& f, std::uint16_t copy, bool create = false);
    TaxFormPtr getForm(const FormID& f, std::uint16_t copy) const;
    TaxFormPtr getFormOrCreate(const FormID& f, std::uint16_t copy);
    bool formExists(const FormID& f, std::uint16_t copy) const;
    // A new copy numbered one above the highest (an empty handle past the
    // form's copy limit).
    virtual TaxFormPtr createForm(const FormID& f);
    // Removes one copy; the others keep their numbers. A missing copy is
    // ignored.
    virtual void deleteForm(const FormID& f, std::uint16_t copy);
    std::uint16_t getFormCount(const FormID& f) const;
    std::uint16_t numFormCopies(const FormID& f) const;
    std::uint16_t getMaxCopies(const FormID& f) const;  // from the description; 99 when it gives none
    // Copy numbers present, ascending.
    std::vector<std::uint16_t> copyNumbers(const FormID& f) const;
    // Calls visit(const TaxForm&) for every copy of form f that this return
    // holds, in ascending copy number, without making handles; a form of the
    // other kind or one not described has no copies here.
    template <class Visit>
    void forEachCopy(const FormID& f, Visit visit) const {
        const int index = f.isState() == isState_ ? desc_->formIndex(f) : -1;
        if (const Copies* copies = index < 0 ? nullptr : copiesAt(index); copies != nullptr) {
            for (const CopyEntry& copy : *copies) {
                visit(*copy.handle.get());
            }
        }
    }
    // Calls visit(TaxForm&) for every copy of every form this return holds,
    // without making handles (the order is the description's, not by form
    // number). The visit must not make or delete copies.
    template <class Visit>
    void forEachCopy(Visit visit) {
        for (FormEntry& form : forms_) {
            for (CopyEntry& copy : form.copies) {
                visit(*copy.handle.get());
            }
        }
    }
    TaxFormIter getForms(const FormID& f) const;
    TaxFormIterIter getForms() const;

    // ---- reads (a missing copy reads as null)
    std::int64_t getIN(const FormID& f, std::uint16_t c, const FieldID& x) const;
    double getIR(const FormID& f, std::uint16_t c, const FieldID& x) const;
    FieldValue getValue(const FormID& f, std::uint16_t c, const FieldID& x) const;
    // The field's text: "" when null, an amount in display units without
    // separators, a box "X" (yes) or "" (no).
    void formString(char* buf, std::size_t cap, const FormID& f, std::uint16_t c, const FieldID& x) const;
    std::string formString(const FormID& f, std::uint16_t c, const FieldID& x) const;
    std::string getFieldAsString(const FormID& f, std::uint16_t c, const FieldID& x) const;
    // Renders a value token of FormField::getLongValue: a text token gives
    // its text cut to width; a number its plain decimal, except that a number
    // from 0 to 999,999,999 asked at width 11 is written as an SSN
    // ("ddd-dd-dddd"). Returns buf.
    char* getText(char* buf, std::size_t cap, std::int64_t token, short width, JustificationType j) const;
    std::string getText(std::int64_t token, short width, JustificationType j = kJustifyLeft) const;
    // A box marked yes, or a yes/no text answered "Y"/"YES" (any case).
    bool formYes(const FormID& f, std::uint16_t c, const FieldID& x) const;
    // A box marked no, or a yes/no text answered "N"/"NO" (any case).
    bool formNo(const FormID& f, std::uint16_t c, const FieldID& x) const;
    // Not null, and a number not 0, a non-blank text or a box marked yes.
    bool hasSigValue(const FormID& f, std::uint16_t c, const FieldID& x) const;
    bool noSigValue(const FormID& f, std::uint16_t c, const FieldID& x) const;
    bool isNull(const FormID& f, std::uint16_t c, const FieldID& x) const;
    bool greaterThanZero(const FormID& f, std::uint16_t c, const FieldID& x) const;
    bool zeroVal(const FormID& f, std::uint16_t c, const FieldID& x) const;
    bool nonZeroVal(const FormID& f, std::uint16_t c, const FieldID& x) const;
    // The whole-number values of a field added over every copy, kept within
    // the 64-bit range (Utils::addSaturated).
    std::int64_t getAllCopies(const FormID& f, const FieldID& x) const;
    // The same over the copies whose key fields hold the given whole numbers;
    // a pair whose key field is null is not tested.
    std::int64_t maybeGetFromAllCopies(const FormID& f, const FieldID& value, const FieldID& k1, std::int64_t v1,
                                       const FieldID& k2 = Primitives::kNullFieldID, std::int64_t v2 = 0,
                                       const FieldID& k3 = Primitives::kNullFieldID, std::int64_t v3 = 0) const;
    bool dataEnteredOnAnyCopy(const FormID& f) const;
    // Whether someone born on the date in field birthDate of the given copy
    // (0 means copy 1) of form f is `age` years old by 31 December of the
    // configured tax year, i.e. birth date + age years - 1 day falls on or
    // before that day. An empty or unreadable date gives false. The last flag
    // is accepted for the host's call shape.
    bool reachedAge(int age, int copy, const FormID& f, const FieldID& birthDate, bool flag = false) const;

    // ---- writes and marks
    // Copies the field of copy 1 (getII) or of the given copy (getIIM) of
    // form srcForm of this return into the target copy, whatever its kind; a
    // missing source copy or null source makes the target null.
    void getII(const FormID& srcForm, const FieldID& srcField, TaxFormPtr& target, const FieldID& targetField) const;
    void getIIM(const FormID& srcForm, const FieldID& srcField, std::uint16_t srcCopy, TaxFormPtr& target,
                const FieldID& targetField) const;
    // Marks the box yes or no; a missing copy is ignored.
    void setXValue(const FormID& f, std::uint16_t c, const FieldID& x, bool on);
    // The copy's data-entered mark; the last argument (true from a field
    // import) is only recorded. A missing copy is ignored.
    void setDataEntered(const FormID& f, std::uint16_t c, bool entered, bool fromImport = false);
    bool isDataEntered(const FormID& f, std::uint16_t c) const;
    bool lastDataEnteredFromImport(const FormID& f, std::uint16_t c) const;
    // Whether anything in the return changed since clearSaveNeeded().
    bool isSaveNeeded() const;
    void clearSaveNeeded();
    // While a log is given, every calculation write that changes a field of
    // this return (see CalculationWrite) is added to it; null stops the
    // recording. The log must outlive the recording.
    void recordCalculationWrites(std::vector<CalculationWrite>* log);

    // ---- identity and descriptions
    TaxFormDescPtr getTaxFormDescriptor(const FormID& f) const;  // null for an unknown form
    TaxReturnDescPtr getTaxReturnDesc() const { return desc_; }
    const char* getAbbreviation() const;  // "GA", "US"
    TaxReturnType getReturnType() const;
    std::string getDisplayName() const;  // "Georgia", "Federal"
    bool isStateReturn() const { return isState_; }
    Utils::StringPoolPtr getStringPool() const;
    SessionPropertiesPtr getSessionProperties() const { return sessionProperties_; }

    // ---- answers of the host (seeded; see StateDataMgmt.h for defaults)
    virtual std::int8_t getFilingStatusNumber();
    virtual bool isForm2555Present();
    std::string getOfficeLocatorURL(TaxReturnType type) const;
    // The host's choice list of a field: left unchanged.
    virtual void getFieldDisplayValuePairs(TaxFormPtr& copy, FormFieldPtr& field, Properties::DisplayValuePairs& pairs);
    void setFilingStatusNumber(std::int8_t status) { filingStatus_ = status; }
    void setForm2555Present(bool present) { form2555Present_ = present; }
    void setOfficeLocatorURL(const std::string& url) { officeLocatorURL_ = url; }

    // ---- labels
    // The printed line label of a field (the description's; the field number
    // when it gives none).
    void getLineID(const FormID& f, const FieldID& x, char* buf, std::size_t cap) const;
    std::string getLineID(const FormID& f, const FieldID& x) const;
    // The printable form name: the form's business name ("Form NNN" when the
    // description gives none). The last arguments are accepted for the host's
    // call shape.
    void formName(char* buf, std::size_t cap, const FormID& f, char variant = 0) const;
    std::string formName(const FormID& f) const;
    void buildCleanFormName(char* buf, std::size_t cap, const FormID& f, int variant = 0) const;
    // Appends " " + the apartment text of field apt when it is not blank.
    void tifAppendAPTtoStreet(std::string& street, const FormID& f, std::uint16_t c, const FieldID& apt) const;

protected:
    // The return that answers reads of form f when the form is of the other
    // kind than this return's (a form of its own kind is always read from the
    // return itself). The base throws; a state return forwards federal forms
    // to its federal return.
    virtual const TaxReturn& readerFor(const FormID& f, const char* operation) const;
    // Throws unless form f is of this return's kind and described; gives the
    // form's index in the return's description.
    int requireWritable(const FormID& f, const char* operation) const;

private:
    // One copy as the return keeps it: its number and its data beside its
    // handle, so that a lookup reads no handle.
    struct CopyEntry {
        std::uint16_t number;
        detail::CopyData* data;
        TaxFormPtr handle;
    };
    // The copies of one form, ascending by copy number.
    using Copies = std::vector<CopyEntry>;

    const TaxReturn& readerOf(const FormID& f, const char* operation) const {
        return f.isState() == isState_ ? *this : readerFor(f, operation);
    }
    static std::vector<TaxFormPtr> handlesOf(const Copies* copies);

    // The form's index in the description; throws when it is not described.
    // The calculation asks about one form many times in a row: the form found
    // last is answered at once.
    int requireOwnForm(const FormID& f, const char* operation) const {
        if (f == lastForm_ && lastFormIndex_ >= 0) {  // none found yet: form 0 is no form
            return lastFormIndex_;
        }
        const int index = desc_->formIndex(f);
        if (index < 0) {
            refuseFormOf(f, operation);
        }
        lastForm_ = f;
        lastFormIndex_ = index;
        return index;
    }
    [[noreturn]] void refuseFormOf(const FormID& f, const char* operation) const;
    // Field x of copy c of form f, which this return or the one it forwards
    // to holds: its value (the slot itself, or a null value when the copy
    // does not exist) and its description's traits. An unknown form or field
    // throws.
    struct FieldRef {
        const detail::Slot* slot;
        const FieldTraits* traits;
    };
    FieldRef fieldOf(const FormID& f, std::uint16_t c, const FieldID& x, const char* operation) const;
    FieldRef ownField(const FormID& f, std::uint16_t c, const FieldID& x, const char* operation) const;
    [[gnu::noinline]] FieldRef anyOwnField(const FormID& f, std::uint16_t c, const FieldID& x,
                                           const char* operation) const;
    [[gnu::noinline]] FieldRef forwardedField(const FormID& f, std::uint16_t c, const FieldID& x,
                                              const char* operation) const;
    const TaxFormPtr& handleOf(const FormID& f, std::uint16_t copy) const;
    const TaxFormPtr& ownHandle(const FormID& f, std::uint16_t copy) const;
    [[gnu::noinline]] TaxFormPtr getOrMakeCopy(const FormID& f, std::uint16_t copy);
    const detail::Slot& valueOf(const FormID& f, std::uint16_t c, const FieldID& x, const char* operation) const;
    const Copies* copiesAt(int formIndex) const {
        const auto index = static_cast<std::size_t>(formIndex);
        return index < forms_.size() ? &forms_[index].copies : nullptr;
    }
    const CopyEntry* findCopy(int formIndex, std::uint16_t copy) const {
        const Copies* copies = copiesAt(formIndex);
        if (copies == nullptr || copy == 0) {
            return nullptr;
        }
        // Copies are usually numbered densely from 1: copy n sits at place
        // n - 1, and a number past the count is then no copy.
        const std::size_t count = copies->size();
        if (copy <= count && (*copies)[copy - 1u].number == copy) {
            return &(*copies)[copy - 1u];
        }
        if (count == 0 || copy > (*copies)[count - 1].number) {
            return nullptr;
        }
        return searchCopy(*copies, copy);
    }
    static const CopyEntry* searchCopy(const Copies& copies, std::uint16_t copy);
    TaxFormPtr makeCopy(int formIndex, std::uint16_t copy);
    void markChanged();

    TaxReturnDescPtr desc_;
    bool isState_;
    std::shared_ptr<detail::ReturnState> state_;
    SessionPropertiesPtr sessionProperties_;
    // What the return keeps of one form of its description: the description
    // itself and the copies.
    struct FormEntry {
        const TaxFormDesc* desc;
        Copies copies;
    };
    // Entries for the forms that the description holds (by index) and not
    // yet any form added to it since.
    void syncForms();
    const TaxFormDesc& formDescAt(int formIndex) const {
        const auto index = static_cast<std::size_t>(formIndex);
        return index < forms_.size() ? *forms_[index].desc : desc_->formAt(formIndex);
    }
    std::vector<FormEntry> forms_;  // by the form's index in the description
    // The empty handle that the lookups of a missing copy hand out: copies of
    // one handle, so that the many lookups of copies that do not exist cost
    // no allocation.
    TaxFormPtr noCopy_;
    // The form found last and its index (a form's index never changes).
    mutable FormID lastForm_;
    mutable int lastFormIndex_ = -1;
    std::int8_t filingStatus_ = 1;
    bool form2555Present_ = false;
    std::string officeLocatorURL_;
};

// The federal return: holds federal forms only. Only the host creates it.
class USTaxReturn : public TaxReturn {
public:
    USTaxReturn(TaxReturnDescPtr desc, Utils::StringPoolPtr pool);
    ~USTaxReturn() override;
};

}  // namespace DataMgmt
