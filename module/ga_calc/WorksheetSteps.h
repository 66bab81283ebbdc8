// Small steps that the credit worksheets share.
//
// An amount is stored and read back: a field that the user has overridden
// keeps its value, and the worksheet goes on from what the field holds.
// Input lines are opened for entry, or locked and emptied, as the worksheet's
// boxes and amounts allow.
#pragma once

#include <algorithm>
#include <initializer_list>

#include "module/catalogues/Form69Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/store/DataMgmt.h"

namespace GACalculationMgmt::worksheet {

using FieldId = Primitives::QVImmutableIdentifier;

// Stores the amount and gives what the field then holds.
inline double store(DataMgmt::TaxForm& sheet, const FieldId& x, double amount) {
    sheet.assignIR(x, amount);
    return sheet.getIR(x);
}

inline double atLeastZero(double amount) { return amount < 0.0 ? 0.0 : amount; }

// A credit used is never below 0: a negative one would raise the tax. A
// negative entry becomes 0 (an empty line stays empty); gives what the
// field then holds.
inline double creditNotBelowZero(DataMgmt::TaxForm& sheet, const FieldId& x) {
    if (sheet.getIR(x) < 0.0) {
        return store(sheet, x, 0.0);
    }
    return sheet.getIR(x);
}

// Whether a worksheet copy yields a credit: any of the given lines (its
// results, what it uses or leaves over) is above 0. Such a copy is marked
// entered and calculated, so that the credit index links a summary copy to
// it.
inline bool yieldsCredit(const DataMgmt::TaxForm& sheet, std::initializer_list<FieldId> lines) {
    return std::any_of(lines.begin(), lines.end(), [&sheet](const FieldId& x) { return sheet.getIR(x) > 0.0; });
}

template <class Fields>
void open(DataMgmt::TaxForm& sheet, const Fields& fields) {
    for (const FieldId& x : fields) {
        sheet.unProtect(x);
    }
}
inline void open(DataMgmt::TaxForm& sheet, std::initializer_list<FieldId> fields) {
    open<std::initializer_list<FieldId>>(sheet, fields);
}

// Protects and empties the fields.
template <class Fields>
void lock(DataMgmt::TaxForm& sheet, const Fields& fields) {
    for (const FieldId& x : fields) {
        sheet.makeProtectedAndSetNull(x);
    }
}
inline void lock(DataMgmt::TaxForm& sheet, std::initializer_list<FieldId> fields) {
    lock<std::initializer_list<FieldId>>(sheet, fields);
}

// Writes the value and protects the field: a line the worksheet fills
// itself.
inline void fix(DataMgmt::TaxForm& sheet, const FieldId& x, double amount) {
    sheet.assignIR(x, amount);
    sheet.makeProtected(x);
}
inline void fixText(DataMgmt::TaxForm& sheet, const FieldId& x, const char* text) {
    sheet.assignText(x, text);
    sheet.makeProtected(x);
}

// The taxpayer's identifying number of the information form, copied into
// the worksheet's heading.
inline void copyTaxpayerNumber(DataMgmt::TaxReturn& ga, DataMgmt::TaxFormPtr& sheet, const FieldId& heading) {
    ga.getII(kGAForm69ID, kForm69Lines.heading.taxpayerNumber, sheet, heading);
}

}  // namespace GACalculationMgmt::worksheet
