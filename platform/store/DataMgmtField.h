// One field of one form copy.
//
// DataMgmt.h includes this header at its end, after the identifiers, values
// and handles that it uses: include DataMgmt.h.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace DataMgmt {

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

}  // namespace DataMgmt
