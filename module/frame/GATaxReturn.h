// The Georgia state return as the host and the rest of the module see it.
//
// The host's state-return base owns the data (form copies and their fields);
// this class adds none. It answers the state layer's questions about Georgia:
// the state's code, name and number, the main and information forms and the
// information form's name fields, the filing status, the federal form that
// was filed, the summary lines, the mailing addresses, the optional
// worksheets, choice lists, the mapping of federal fields to Georgia fields,
// the e-file summary items and the 2-D barcode texts. Every answer that
// depends on the return is read from the store when asked; nothing is kept
// between calls.
#pragma once

#include <cstdint>
#include <string>

#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"

namespace GADataMgmt {

// The summary lines of the Georgia return, by the numbers getLineValue
// takes (line 17 holds nothing). For anyone but a full-year resident line 1
// comes from the state wage worksheet and lines 2 and 4 to 6 from the
// part-year schedule.
enum class SummaryLine : std::int32_t {
    kFederalAgi = 1,
    kGeorgiaAgi = 2,
    kTaxableIncome = 3,
    kGeorgiaShare = 4,  // the part-year ratio in ten-thousandths; 1 for a full year
    kDeductions = 5,
    kExemptions = 6,
    kDependents = 7,
    kRetirementExclusions = 8,  // the taxpayer's and the spouse's together
    kWithheld = 9,
    kCreditedToEstimatedTax = 10,
    kMunicipalInterest = 11,  // the additions: other states' municipal bonds
    kLumpSumDistributions = 12,
    kOtherAdditions = 13,
    kTaxpayerExclusion = 14,  // the subtractions: retirement exclusions
    kSpouseExclusion = 15,
    kSocialSecurity = 16,
    kUsObligations = 18,
    kOtherSubtractions = 19,
    kRemainingSubtractions = 20,  // the total less lines 16, 14 and 15
    kAdditions = 21,
    kSubtractions = 22,
    kTotalTax = 23,
    kNetTax = 24,
    kPayments = 25,
    kRefund = 26,
    kAmountOwed = 27,
};

class GATaxReturn : public StateDataMgmt::StateTaxReturn {
public:
    // The first handle is the federal return this Georgia return is attached
    // to; the base keeps what it needs of the three handles.
    GATaxReturn(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnDescPtr desc, Utils::StringPoolPtr pool);
    ~GATaxReturn() override;

    // ---- host operations
    // Georgia adds no mapping of its own: the host's answer.
    void MapFormField(FormID& f, std::uint16_t copy, FieldID x, std::uint16_t& outCopy, FieldID& outField) override;
    // 1 to 4 for filing status "A" to "D" in form 70 field 44.
    std::int8_t getFilingStatusNumber() override;
    Primitives::QVImmutableFormIdentifier getMainForm() override;  // form 70
    // The Georgia choice list of the field when it has one, else the host's.
    void getFieldDisplayValuePairs(DataMgmt::TaxFormPtr& copy, DataMgmt::FormFieldPtr& field,
                                   Properties::DisplayValuePairs& pairs) override;
    // The residency check boxes of state form 14, copy 1.
    void setStateForm14Boxes(bool b) override;

    // ---- the state's fixed answers
    void getStateCode(std::string& out) override;  // "GA"
    void getStateName(std::string& out) override;  // "Georgia"
    std::int32_t getStateNumber() override;        // 11
    // The module code: the four characters "QV0I", the first in the most
    // significant byte. Both operations give the same value.
    std::int32_t getModuleCode() override;
    std::int32_t getModuleCodeAlt() override;

    // ---- the information form and its name fields (form 69)
    Primitives::QVImmutableFormIdentifier getInfoForm() override;  // form 69
    Primitives::QVImmutableIdentifier getTaxpayerFirstNameField() override;
    Primitives::QVImmutableIdentifier getTaxpayerLastNameField() override;
    Primitives::QVImmutableIdentifier getTaxpayerSuffixField() override;
    Primitives::QVImmutableIdentifier getTaxpayerSsnField() override;
    Primitives::QVImmutableIdentifier getSpouseFirstNameField() override;
    Primitives::QVImmutableIdentifier getSpouseLastNameField() override;
    Primitives::QVImmutableIdentifier getSpouseSuffixField() override;
    Primitives::QVImmutableIdentifier getSpouseSsnField() override;
    Primitives::QVImmutableIdentifier getInfoKeyField() override;

    // ---- federal-to-Georgia field mapping
    // For a field number of 0 or less: the Georgia (or shared state) form
    // that receives the federal form. For a positive field number: the field
    // that receives it. Both answers are 0 when there is no counterpart; a
    // form or field outside the table is also reported to debugStateField.
    // Asking for federal form 131 field 72481 marks form 69 field 133617.
    void mapFederalField(const FormID& federalForm, const FieldID& federalField, FormID& stateForm,
                         FieldID& stateField) override;

    // ---- e-file summary items and the 2-D barcode
    // Item 0: the amount owed (positive) or the refund (negative), with its
    // text; item 1: the total tax; 2: the agency; 3: 0 when the yes-box
    // 197644 of form 69 is marked, else 1; 5: the record-keeping note; 10:
    // the deceased-taxpayer note; the others fixed answers; 14 and above an
    // empty text and 0.
    void getEFileInfo(std::string& text, long* amount, std::uint32_t item) override;
    // Where to mail the return. Kind 0: the refund-or-no-balance address
    // (box 740380), or the payment address (box 740399) when there is no
    // refund and an amount is owed; kind 2: the box 740323 address; any
    // other kind: the empty text.
    void getMailingAddress(std::string& out, std::int32_t kind) override;
    // Rewrites the barcode text of a field, or of a keyword ("TaxYear",
    // "Sch2pg2") when the form and field numbers are both 0 or less.
    void formatBarcodeValue(DataMgmt::TaxFormPtr& copy, const FormID& form, std::uint16_t copyNumber,
                            const FieldID& field, std::string& value) override;

    // ---- optional worksheets of the interview (0: needed, 2: not needed)
    TopicMgmt::TopicStatus isForm2Needed() override;
    TopicMgmt::TopicStatus isForm3Needed() override;
    TopicMgmt::TopicStatus isInfoBoxNeeded() override;

    // ---- plain operations used by the calculation, review and output
    Primitives::QVImmutableFormIdentifier getMainFormID() const;  // form 70
    // The filing-status number of form 70 field 44, copy 1: "A" 1, "B" 2,
    // "C" 3, "D" 4; a missing copy or any other text 1. The form argument is
    // not read.
    std::int8_t getFilingStatus(const FormID& form) const;
    // The federal form filed: 55 when form 69 box 47 is marked, else 87 when
    // box 48 is, else 1 (also without form 69).
    Primitives::QVImmutableFormIdentifier getFederalFormID() const override;
    // Form 70 lists each statement's Georgia tax withheld in whole dollars,
    // printed and e-filed (its withholding entries): the statement's amount
    // rounded half away from zero, so that the tax withheld that form 70
    // adds from the host is the sum of its list.
    double listedStatementWithholding(double withheld) const override;
    // Summary line 1 to 27 of the Georgia return, read from copy 1 of its
    // fixed forms; line 17 and any line outside 1 to 27 give 0. Form
    // 69 field 110 (full-year resident) selects the column of lines 1, 2, 4,
    // 5 and 6. The form and copy arguments are not read.
    long getLineValue(const FormID& form, std::uint16_t copy, std::int32_t line) const;
    long getLineValue(const FormID& form, std::uint16_t copy, SummaryLine line) const {
        return getLineValue(form, copy, static_cast<std::int32_t>(line));
    }

    // The texts of the mailing addresses.
    static const char* const kRefundAddress;
    static const char* const kPaymentAddress;
    static const char* const kKind2Address;

private:
    void formatKeyword(std::string& value);
    void formatFieldValue(DataMgmt::TaxFormPtr& copy, const FormID& form, std::uint16_t copyNumber,
                          const FieldID& field, std::string& value);
    // The barcode's form of a field of IND-CR 204, IND-CR 205, form 70 and
    // form 189219.
    void formatFamilyMemberValue(const FieldID& field, std::string& value) const;
    void formatChildValue(const FieldID& field, std::string& value) const;
    void formatMainFormValue(const FieldID& field, std::string& value) const;
    void formatAmendedValue(const FieldID& field, std::string& value) const;
    // value + " " + the text of field x of copy 1 of form f.
    void appendField(std::string& value, const FormID& f, const FieldID& x) const;
};

}  // namespace GADataMgmt
