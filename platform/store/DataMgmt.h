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
// A field holds values of its own kind only: a write of another kind (a text
// into an amount field, a box into a text field, ...) throws, and so does a
// calculation's write of a text or count that the field's kind does not
// take (FieldContent); a text the kind takes is stored in its one form.
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

#include <cstdint>
#include <map>
#include <string>
#include <variant>

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

// Decimal places that a field's edit code shifts an amount by: the stored
// number is the display amount times 10^places ('F', 'H', 'M': 2; 'G': 1;
// 'I': 3; 'J', 'N', 'O': 4; 'K': 5; 'L': 6; any other code: 0).
int editCodeDecimalPlaces(std::uint8_t editCode);

// A stored amount in display units (dollars): the stored number shifted
// back by the edit code's decimal places, in one division by an exact power
// of ten, so the quotient is correctly rounded (7 hundredths is 0.07, where
// dividing by 10 twice gives 0.06999999999999999).
double displayAmount(double stored, std::uint8_t editCode);

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

// One change that a calculation's write made to a field (a write that finds
// the value already there, or a field the user overrode, changes nothing):
// the field, the write operation ("assignIR", "oneX", "setNull", ...) and
// the values before and after it. TaxReturn::recordCalculationWrites keeps
// them.
struct CalculationWrite {
    FormID form;
    std::uint16_t copy = 0;
    FieldID field;
    const char* operation = "";
    FieldValue before;
    FieldValue after;
};

// ------------------------------------------------------------ kind check

// Number of box reads (xMarked, formYes, formNo) of a field that a return
// file cannot mark (an amount; for xMarked a text too), since the counter
// was last reset (process-wide), and a description of the last one.
std::int64_t kindMismatchCount();
std::string lastKindMismatch();
void resetKindMismatchCount();

// Number of amounts that the calculation wrote to more than the cent into a
// field that keeps cents (the store rounds them to the cent), since the
// counter was last reset (process-wide), and a description of the last one.
// A field where the calculation keeps fractions of a cent is marked so in
// the form definitions (fractions=1); elsewhere the calculation rounds
// where it divides, and this stays 0.
std::int64_t roundedWriteCount();
std::string lastRoundedWrite();
void resetRoundedWriteCount();

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

// The field, the form copy, the iterators and the return, each in a header
// of its own.
#include "platform/store/DataMgmtField.h"
#include "platform/store/DataMgmtForm.h"
#include "platform/store/DataMgmtIterators.h"
#include "platform/store/DataMgmtReturn.h"
