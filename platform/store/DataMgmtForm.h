// One form copy: its reads, the calculation's writes, box groups, protection
// and arithmetic.
//
// DataMgmt.h includes this header at its end, after the identifiers, values
// and handles that it uses: include DataMgmt.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace DataMgmt {

// What the operations that take a list of fields accept: field identifiers,
// or the catalogue members that name them.
template <class T>
concept FieldIdentifier = std::is_convertible_v<const T&, const FieldID&>;

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

    // Writes (an overridden target stays unchanged). An amount is held as
    // the field holds every amount (DataMgmt::amountRefusal): to the cent
    // (rounded half away from zero) unless the field keeps fractions of a
    // cent; one beyond the limit of amounts, outside the field's domain or
    // range, or a count the field does not take throws.
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
    template <FieldIdentifier... Ids>
    void setValueToSumOf(const FieldID& t, const Ids&... fields) {
        const std::initializer_list<FieldID> list{static_cast<const FieldID&>(fields)...};
        sumInto(t, std::span<const FieldID>(list.begin(), list.size()));
    }
    // The same over a list of fields kept as a table.
    void setValueToSumOf(const FieldID& t, std::span<const FieldID> fields) { sumInto(t, fields); }

    // Host and test surface: the slot itself, written as the host loads it
    // (ignores the override; a value of another kind than the field's
    // throws), and the attributes.
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
    void sumInto(const FieldID& t, std::span<const FieldID> fields);
    void storeNumber(const FieldID& t, double v, const char* operation);

    std::shared_ptr<detail::CopyData> data_;
};

}  // namespace DataMgmt
