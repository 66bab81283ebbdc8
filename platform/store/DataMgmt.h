// The host's data store: returns, form copies and their fields.
//
// A field is addressed by form identifier, copy number (from 1) and field
// identifier. Every form and field must be in the return's description: an
// unknown form or field throws Exceptions::QuarloException naming it, on
// reads and writes alike, so that a misspelt identifier surfaces at once.
//
// Value model. A field slot holds exactly one of
//   - null (empty),
//   - a number (a double, stored unrounded, in the field's stored unit: an
//     amount with edit code 'H' is stored in hundredths),
//   - a text (dates are texts), or
//   - a box state: marked yes ("X") or marked no.
// A write stores what it is given, whatever the field's kind; a write whose
// kind disagrees with the description (a text into an amount field, a box
// into a text field, ...) is counted by the kind-mismatch counter below.
// Storing an empty text makes the field null.
//
// Reads of a whole number (getIN) round the number half away from zero
// (Utils::roundR); a text reads as its leading number (else 0); a box reads
// 1 when marked yes, else 0; null reads 0. getIR is the same without the
// rounding.
//
// Writes made by the calculation (every TaxForm write operation, the return's
// getII/getIIM/setXValue and Utils::maybeSetValue) leave a field that the user
// has overridden unchanged. Protection only tells the interview that the user
// may not type into the field; it never blocks a calculation's write. The
// host's own loading writes (setValue) ignore the override.
//
// Copies are numbered from 1 and keep their numbers: creating copy n makes
// exactly that copy, createForm takes the highest number + 1, deleting a copy
// does not renumber the others. Every copy carries the data-entered mark and
// the calculated flag (which is also the printer's print flag); both are
// false when the copy is made.
//
// Kinds of return. The federal return holds federal forms only, a state
// return state forms only. Reading a federal form through a state return is
// forwarded to the federal return it is attached to; writing a form through a
// return of the other kind throws, as does reading a state form through the
// federal return.
//
// Handles. A form copy is reached through a counted TaxFormPtr. The return
// keeps one handle per copy; a handle kept by a caller stays valid after the
// copy is deleted (it then belongs to no return). Calling an operation
// through an empty handle throws (see TaxFormPtr and requireForm).
//
// Caller buffers: every operation that writes a char buffer takes the
// buffer's capacity (terminating zero included) and cuts the text to fit; each
// also has a std::string form.
//
// The defaults of every seeded answer (filing status, common federal items,
// wages, ...) are listed in StateDataMgmt.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Exceptions.h"
#include "platform/Primitives.h"
#include "platform/Properties.h"
#include "platform/SessionProperties.h"
#include "platform/framework/PdfAttach.h"
#include "platform/store/Descriptions.h"
#include "platform/store/StringPool.h"

namespace TopicMgmt {

// Status of an interview topic or of an optional worksheet. The host gives
// the values their meaning; the store and the module pass them through.
enum TopicStatus : std::int32_t {
    kTopicStatusNeeded = 0,
    kTopicStatusPartial = 1,
    kTopicStatusNotNeeded = 2,
};

}  // namespace TopicMgmt

namespace DataMgmt {

using FieldID = Primitives::QVImmutableIdentifier;
using FormID = Primitives::QVImmutableFormIdentifier;

// How TaxReturn::getText places a text in its width. Only left (no padding)
// is used by the module; right pads with blanks on the left up to the width.
enum JustificationType : std::int32_t {
    kJustifyLeft = 0,
    kJustifyRight = 1,
};

// Decimal places that a field's edit code shifts an amount by: the stored
// number is the display amount times 10^places ('F', 'H', 'M': 2; 'G': 1;
// 'I': 3; 'J', 'N', 'O': 4; 'K': 5; 'L': 6; any other code: 0).
int editCodeDecimalPlaces(std::uint8_t editCode);

// The display text of a stored amount: the shortest plain decimal that reads
// back to exactly the stored number, with its point moved left by `places`
// digits on the text itself (1234 at 2 places is "12.34"); no separators, no
// exponent, no trailing zeros after the point, "0" for a zero of either sign.
// Empty for a number that is not finite.
std::string formatDisplayAmount(double stored, int places);

// The value of one field slot.
class FieldValue {
public:
    enum class Kind : std::uint8_t { Null, Number, Text, Box };

    FieldValue() = default;  // null
    static FieldValue null() { return FieldValue(); }
    static FieldValue number(double v);     // a non-finite number throws
    static FieldValue text(std::string t);  // an empty text is null
    static FieldValue box(bool yes);

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }
    bool isBox() const { return kind() == Kind::Box; }

    // the number; 0 for another kind
    double getNumber() const { return isNumber() ? *std::get_if<1>(&v_) : 0.0; }
    // the text; "" for another kind
    const std::string& getText() const { return isText() ? *std::get_if<2>(&v_) : emptyText(); }
    bool boxYes() const { return isBox() && std::get_if<3>(&v_)->yes; }  // a box marked yes
    bool boxNo() const { return isBox() && !std::get_if<3>(&v_)->yes; }  // a box marked no

    bool operator==(const FieldValue& other) const { return v_ == other.v_; }
    bool operator!=(const FieldValue& other) const { return !(v_ == other.v_); }

private:
    static const std::string& emptyText();

    struct Box {
        bool yes;
        bool operator==(const Box& o) const { return yes == o.yes; }
    };
    std::variant<std::monostate, double, std::string, Box> v_;
};

// ------------------------------------------------------------ kind check

// Number of calculation writes whose kind disagreed with the field's
// description since the counter was last reset (process-wide), and a
// description of the last one.
std::int64_t kindMismatchCount();
std::string lastKindMismatch();
void resetKindMismatchCount();

namespace detail {
struct CopyData;
struct ReturnState;
class Slot;
}  // namespace detail

class TaxForm;
class FormField;
class TaxReturn;

// Throws QuarloException("empty form handle" / "empty field handle").
[[noreturn]] void throwEmptyHandle(const char* what, const char* className);

// The handle of a form copy. Calling through an empty handle (operator->,
// operator*) throws QuarloException("empty form handle", "TaxFormPtr", ...)
// instead of crashing; get() and isNull() test it without throwing.
class TaxFormPtr : public SmartPointers::CountedPtr<TaxForm> {
public:
    explicit TaxFormPtr(TaxForm* obj = nullptr) : SmartPointers::CountedPtr<TaxForm>(obj) {}
    TaxFormPtr(const SmartPointers::CountedPtr<TaxForm>& other) : SmartPointers::CountedPtr<TaxForm>(other) {}
    TaxFormPtr(const TaxFormPtr&) = default;
    TaxFormPtr& operator=(const TaxFormPtr&) = default;
    ~TaxFormPtr() override = default;

    TaxForm* operator->() const {
        if (isNull()) {
            throwEmptyHandle("empty form handle", "TaxFormPtr");
        }
        return get();
    }
    TaxForm& operator*() const { return *operator->(); }
};

// The handle of one field of a copy; empty handles throw like TaxFormPtr.
class FormFieldPtr : public SmartPointers::CountedPtr<FormField> {
public:
    explicit FormFieldPtr(FormField* obj = nullptr) : SmartPointers::CountedPtr<FormField>(obj) {}
    FormFieldPtr(const SmartPointers::CountedPtr<FormField>& other) : SmartPointers::CountedPtr<FormField>(other) {}
    FormFieldPtr(const FormFieldPtr&) = default;
    FormFieldPtr& operator=(const FormFieldPtr&) = default;
    ~FormFieldPtr() override = default;

    FormField* operator->() const {
        if (isNull()) {
            throwEmptyHandle("empty field handle", "FormFieldPtr");
        }
        return get();
    }
    FormField& operator*() const { return *operator->(); }
};

SMARTPOINTERS_NAMED_HANDLE(TaxReturnPtr, TaxReturn);

// The form copy behind a handle; an empty handle throws
// QuarloException("empty form handle", className, operation).
TaxForm& requireForm(const TaxFormPtr& copy, const char* className, const char* operation);

// ------------------------------------------------------------ one field

// One field of one copy: its value token, its attributes and its
// description. It shares the copy's data, so it stays valid as long as the
// handle lives.
class FormField {
public:
    virtual ~FormField();
    FormField(const FormField&) = delete;
    FormField& operator=(const FormField&) = delete;

    const FieldID& getID() const { return id_; }

    // The value token: a number rounded to a whole number, a box 1 (yes) or 0
    // (no), null 0, and a text its key in the shared string pool (turned back
    // into text by TaxReturn::getText).
    std::int64_t getLongValue() const;

    FormFieldDescPtr getFieldDesc() const;

    // The value in display units: an amount as a plain decimal without
    // separators (the stored number shifted by the edit code's decimal
    // places), a box "X" (yes) or "" (no), a text unchanged, null "". The flag
    // is accepted for the host's call shape and does not change the text.
    Primitives::StringPtr getValueText(bool formatted = true) const;

    FieldValue getValue() const;

    // Attributes. "Calculated" is the description's attribute unless set here;
    // it is not the copy's calculated flag.
    bool isOverridden() const;
    void setOverridden(bool overridden);
    bool isTentative() const;
    void setTentative(bool tentative);
    bool isNoEntry() const;
    void setNoEntry(bool noEntry);
    bool isCalculated() const;
    void setCalculated(bool calculated);

private:
    friend class TaxForm;
    FormField(std::shared_ptr<detail::CopyData> copy, const FieldID& id, int place);

    std::shared_ptr<detail::CopyData> copy_;  // which keeps the form's description
    FieldID id_;
    int place_;                                          // in the copy's form
    mutable std::optional<FormFieldDescPtr> fieldDesc_;  // made when first asked for
};

// ------------------------------------------------------------ one form copy

// One copy of a form. Every operation names its target field first.
class TaxForm {
public:
    virtual ~TaxForm();
    TaxForm(const TaxForm&) = delete;
    TaxForm& operator=(const TaxForm&) = delete;

    // Identity
    std::uint16_t getCopyNumber() const;
    const FormID& getFormID() const;
    TaxFormDescPtr getTaxFormDescriptor() const;
    const TaxFormDesc& description() const;  // the same without a handle
    FormFieldPtr getField(const FieldID& x) const;
    // What getField(x) answers with getLongValue() and with its
    // description's getMaxLength(), without making the field's handle.
    std::int64_t getLongValue(const FieldID& x) const;
    std::uint16_t getMaxLength(const FieldID& x) const;
    bool calculatedFlag() const;
    void setCalculatedFlag(bool calculated);
    bool isDataEntered() const;
    // False once the copy has been deleted from its return.
    bool isAttached() const;

    // Reads
    double getIR(const FieldID& x) const;
    std::int64_t getIN(const FieldID& x) const;
    bool isNull(const FieldID& x) const;
    bool nonNull(const FieldID& x) const;  // a "no" box is not null
    bool xMarked(const FieldID& x) const;  // box marked yes
    bool gtZero(const FieldID& x) const;   // value > 0 (null counts as 0)
    bool ltZero(const FieldID& x) const;
    bool eqZero(const FieldID& x) const;
    // Number not 0, non-blank text, or box marked yes.
    bool nonZero(const FieldID& x) const;
    // Whole-number sums, kept within the 64-bit range (Utils::addSaturated).
    std::int64_t sumOf2(const FieldID& a, const FieldID& b) const;
    std::int64_t sumOf3(const FieldID& a, const FieldID& b, const FieldID& c) const;
    std::int64_t sumOf4(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) const;
    double minFnII(const FieldID& a, const FieldID& b) const;
    double minFnIR(const FieldID& a, double v) const;
    // The date text as the number yyyymmdd; 0 when empty or not a date.
    std::int64_t offsetUserDate(const FieldID& x) const;
    // The value as FormField::getValueText renders it. The form argument is
    // accepted for the host's call shape; the copy's own form is used.
    void valueString(char* buf, std::size_t cap, const FieldID& x, const FormID& form = FormID()) const;
    std::string valueString(const FieldID& x) const;
    bool noOverride(const FieldID& x) const;  // false when the user overrode it
    bool isProtected(const FieldID& x) const;

    // Writes (an overridden target stays unchanged)
    void assignIR(const FieldID& x, double v);                    // a non-finite v throws
    void assignII(const FieldID& target, const FieldID& source);  // copies any kind
    // Stores the text cut to the field's maximum length (without splitting
    // a UTF-8 character); a null or empty text makes the field null.
    void assignText(const FieldID& x, const char* text);
    void assignText(const FieldID& x, const std::string& text);
    void assignText(const FieldID& x, std::string_view text);
    void setNull(const FieldID& x);
    void zero(const FieldID& x);  // 0, not null
    void setX(const FieldID& x);
    void setXNo(const FieldID& x);
    void setYes(const FieldID& x);  // a yes/no field answered yes

    // Box groups. The first box marked yes in argument order stays marked and
    // the others of the group are set to "no"; when none is marked the group
    // is left alone, except that the ...AndDefault forms then mark their
    // first argument. Null identifiers are skipped and repeated ones count
    // once.
    void oneX(const FieldID& a, const FieldID& b, const FieldID& c = Primitives::kNullFieldID);
    void oneX9(const FieldID& a, const FieldID& b, const FieldID& c = Primitives::kNullFieldID,
               const FieldID& d = Primitives::kNullFieldID, const FieldID& e = Primitives::kNullFieldID,
               const FieldID& f = Primitives::kNullFieldID, const FieldID& g = Primitives::kNullFieldID,
               const FieldID& h = Primitives::kNullFieldID, const FieldID& i = Primitives::kNullFieldID);
    void oneX2AndDefault(const FieldID& a, const FieldID& b);
    void oneX4AndDefault(const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d);
    void oneXAndDefault(const FieldID& a, const FieldID& b, const FieldID& c = Primitives::kNullFieldID,
                        const FieldID& d = Primitives::kNullFieldID, const FieldID& e = Primitives::kNullFieldID,
                        const FieldID& f = Primitives::kNullFieldID, const FieldID& g = Primitives::kNullFieldID,
                        const FieldID& h = Primitives::kNullFieldID, const FieldID& i = Primitives::kNullFieldID,
                        const FieldID& j = Primitives::kNullFieldID);
    // oneX over the boxes pointed to; the list ends at a pointer to a null
    // identifier (callers pass &Primitives::kNullFieldID) or a null pointer.
    template <class... Ptrs>
    void setOptionGroupSelection(const FieldID* first, Ptrs... rest) {
        static_assert((std::is_convertible_v<Ptrs, const FieldID*> && ...),
                      "setOptionGroupSelection takes pointers to field identifiers");
        const FieldID* all[] = {first, static_cast<const FieldID*>(rest)...};
        FieldID group[sizeof...(Ptrs) + 1];
        std::size_t count = 0;
        for (const FieldID* p : all) {
            if (p == nullptr || p->isNullID()) {
                break;
            }
            group[count++] = *p;
        }
        applyGroup(group, count, false);
    }

    // Protection (never blocks a calculation's write)
    void makeProtected(const FieldID& x);
    void unProtect(const FieldID& x);
    void makeProtectedAndSetNull(const FieldID& x);
    // A protected field is unprotected and nulled; an unprotected one keeps
    // the user's entry.
    void unprotectAndMaybeSetNull(const FieldID& x);

    // Arithmetic: the first field is the target; the operands are read (as
    // getIR reads them) before the target is written, so the target may also
    // be an operand. A 0 result stores 0, not null.
    void plus2(const FieldID& t, const FieldID& a, const FieldID& b);
    void plus3(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c);
    void plus4(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d);
    void plus5(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
               const FieldID& e);
    void plus6(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
               const FieldID& e, const FieldID& f);
    void plus7(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
               const FieldID& e, const FieldID& f, const FieldID& g);
    void plusIR(const FieldID& t, const FieldID& a, double v);
    void minusII(const FieldID& t, const FieldID& a, const FieldID& b);
    void minusIR(const FieldID& t, const FieldID& a, double v);
    void minusIIge0(const FieldID& t, const FieldID& a, const FieldID& b);  // not below 0
    void minII(const FieldID& t, const FieldID& a, const FieldID& b);
    void maxII(const FieldID& t, const FieldID& a, const FieldID& b);
    void minIR(const FieldID& t, const FieldID& a, double v);
    void maxIR(const FieldID& t, const FieldID& a, double v);
    void timesII(const FieldID& t, const FieldID& a, const FieldID& b);
    void timesIR(const FieldID& t, const FieldID& a, double rate);
    void divIR(const FieldID& t, const FieldID& a, double divisor);  // divisor 0 gives 0
    // t = the sum of the fields up to the first null identifier; no fields
    // (or a null first field) give 0.
    template <class... Ids>
    void setValueToSumOf(const FieldID& t, const Ids&... fields) {
        static_assert((std::is_convertible_v<const Ids&, const FieldID&> && ...),
                      "setValueToSumOf takes field identifiers");
        sumInto(t, {static_cast<const FieldID&>(fields)...});
    }

    // Host and test surface: the slot itself, written as the host loads it
    // (ignores the override, counts no kind mismatch), and the attributes.
    FieldValue getValue(const FieldID& x) const;
    void setValue(const FieldID& x, const FieldValue& value);
    bool isOverridden(const FieldID& x) const;
    void setOverridden(const FieldID& x, bool overridden);
    bool isTentative(const FieldID& x) const;
    void setTentative(const FieldID& x, bool tentative);
    bool isNoEntry(const FieldID& x) const;
    void setNoEntry(const FieldID& x, bool noEntry);
    bool isFieldCalculated(const FieldID& x) const;
    void setFieldCalculated(const FieldID& x, bool calculated);
    // Fields that hold a value (not null), in the form's field order.
    std::vector<FieldID> fieldsWithValues() const;
    // Calls visit(field, value, overridden) for every field that holds a
    // value or is overridden, in the form's field order.
    void forEachSetField(const std::function<void(const FieldID&, const FieldValue&, bool)>& visit) const;

private:
    friend class TaxReturn;
    explicit TaxForm(std::shared_ptr<detail::CopyData> data);

    void applyGroup(const FieldID* group, std::size_t count, bool markFirstWhenNone);
    void sumInto(const FieldID& t, std::initializer_list<FieldID> fields);
    void storeNumber(const FieldID& t, double v, const char* operation);

    std::shared_ptr<detail::CopyData> data_;
};

// ------------------------------------------------------------ iterators

// The copies of one form in ascending copy number, as they were when the
// iterator was made (copies deleted meanwhile are still visited; their
// handles stay valid).
class TaxFormIter {
public:
    TaxFormIter() = default;
    explicit TaxFormIter(std::vector<TaxFormPtr> copies) : copies_(std::move(copies)) {}

    bool atEOL() const { return position_ >= copies_.size(); }
    TaxFormPtr getTaxForm() const;  // empty at the end
    void next();
    void begin() { position_ = 0; }
    std::size_t size() const { return copies_.size(); }

private:
    std::vector<TaxFormPtr> copies_;
    std::size_t position_ = 0;
};

// The forms of a return that have at least one copy, in ascending form
// number (federal before state), as they were when the iterator was made.
class TaxFormIterIter {
public:
    using Entry = std::pair<FormID, std::vector<TaxFormPtr>>;

    TaxFormIterIter() = default;
    explicit TaxFormIterIter(std::vector<Entry> forms) : forms_(std::move(forms)) {}

    bool atEOL() const { return position_ >= forms_.size(); }
    TaxFormIter getTaxFormIter() const;  // an empty iterator at the end
    FormID getFormID() const;            // form 0 at the end
    void next();
    void begin() { position_ = 0; }
    std::size_t size() const { return forms_.size(); }

private:
    std::vector<Entry> forms_;
    std::size_t position_ = 0;
};

// ------------------------------------------------------------ one return

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
    const CopyEntry* findCopy(int formIndex, std::uint16_t copy) const;
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
    const TaxFormDesc& formDescAt(int formIndex) const;
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

// ------------------------------------------------------------ the store

// The returns of a session, by type (1 federal, 12 Georgia).
class TaxDataStore {
public:
    TaxReturnPtr getTaxReturn(TaxReturnType type) const;  // empty when there is none
    bool hasTaxReturn(TaxReturnType type) const;
    void setTaxReturn(TaxReturnType type, const TaxReturnPtr& taxReturn);
    void removeTaxReturn(TaxReturnType type);

    // The register of the PDF attachments of this store's returns.
    PdfAttachMgr& getPdfAttachMgr() { return pdfAttachMgr_; }
    const PdfAttachMgr& getPdfAttachMgr() const { return pdfAttachMgr_; }

private:
    std::map<std::int32_t, TaxReturnPtr> returns_;
    PdfAttachMgr pdfAttachMgr_;
};

}  // namespace DataMgmt
