// Choice lists of the Georgia input fields that offer a drop-down: the two
// business-credit fields, which list the Georgia credits by code, and the
// entity-type field of the pass-through entity form.
#pragma once

#include <cstdint>
#include <string_view>

namespace DataMgmt {
class TaxFormPtr;
class FormFieldPtr;
}  // namespace DataMgmt

namespace Properties {
class DisplayValuePairs;
}  // namespace Properties

namespace GADataMgmt {
class GATaxReturn;
}  // namespace GADataMgmt

namespace FieldOptionsMgmt {

// One row of the Georgia credit-code table. Codes are texts, not numbers
// ("114J", "114M").
struct CreditCodeEntry {
    std::string_view code;
    std::string_view name;
};

// Number of credits in the table; the row at this index is the empty end row.
inline constexpr std::int16_t kCreditCodeCount = 41;

// Row `row` (from 0) of the credit-code table. The rows 0 to 40 are the
// credits; every other index, negative ones included, gives the empty end
// row, so a walk that stops at the first empty row always ends.
CreditCodeEntry getCreditCodeEntry(std::int16_t row);

// Builds the choice list of one field of one form copy, for one request of
// the Georgia return.
class GAFieldOptionsListFactory {
public:
    explicit GAFieldOptionsListFactory(GADataMgmt::GATaxReturn* taxReturn) : taxReturn_(taxReturn) {}
    virtual ~GAFieldOptionsListFactory() = default;

    GAFieldOptionsListFactory(const GAFieldOptionsListFactory&) = delete;
    GAFieldOptionsListFactory& operator=(const GAFieldOptionsListFactory&) = delete;

    // Empties `pairs`, then fills it and answers true for the credit-type
    // fields (form 189216 field 203018, form 203811 field 203840) and the
    // entity-type field (form 203639 field 203793). Any other field, or an
    // empty form or field handle, answers false with the list left empty.
    bool buildFieldOptions(DataMgmt::TaxFormPtr& form, DataMgmt::FormFieldPtr& field,
                           Properties::DisplayValuePairs& pairs);

    GADataMgmt::GATaxReturn* getTaxReturn() const { return taxReturn_; }

private:
    GADataMgmt::GATaxReturn* taxReturn_;  // not owned
};

}  // namespace FieldOptionsMgmt
