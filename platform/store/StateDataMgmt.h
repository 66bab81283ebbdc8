// The host's state-return layer: the base of every state return.
//
// A state return is attached to the federal return it belongs to. Reads of
// federal forms through it are answered by that federal return; writes of
// federal forms through it throw. It supplies the services that derive state
// figures from the federal return (common items, W-2 wages, state
// withholding, e-file status) and declares the state's own contract as pure
// virtual operations, which the state module fills.
//
// Seeded answers and their defaults (the command-line host and the tests set
// them; this is the one list of them):
//
//   on every return (DataMgmt::TaxReturn)
//     getFilingStatusNumber  federal return: 1; a state return answers itself
//     isForm2555Present      false
//     getOfficeLocatorURL    the configured officeLocatorURL
//     session properties     none set
//   on the state return
//     pullCommon             0 for every (federal form, item type)
//     getFromW2              the field added over every copy of the form, all
//                            of it the taxpayer's, unless a split is seeded
//     getStateWages          the W-2 state wage lines whose state is this
//                            return's abbreviation, added (display units)
//     getAllStateWages       every W-2 state wage line, added
//     getStateTaxWithheld    state and local tax withheld on the lines of this
//                            state of every statement form with a state line
//                            (platform/store/StatementForms.h), added; a
//                            spouse's statement on a joint return only; each
//                            statement's tax withheld as the state's return
//                            lists it (listedStatementWithholding)
//     getStateTaxWithheldNoLocal  the same without the local tax
//     getEnabledType         1
//     InElf                  false
//     taxBalance             Georgia form 70 field 106, copy 1
//     getRefundCode          ""
//     eFileBlocked           0
//
// Amounts of the W-2 and 1099 defaults are read in display units: the stored
// number shifted by the field's edit code (hundredths on those forms). Forms
// or fields missing from the federal description add nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/store/DataMgmt.h"
#include "platform/util/Utils.h"

namespace StateDataMgmt {

// An entry that the e-file cannot carry as it is: the field a line of the
// e-file is written from (a null form when the line is not a field's), the
// line's key, the value as entered and what is wrong with it.
struct EFileWrongEntry {
    Primitives::QVImmutableFormIdentifier form;
    std::uint16_t copy = 1;
    Primitives::QVImmutableIdentifier field;
    std::string key;
    std::string value;
    std::string fault;
};

// What debugStateField reports: the form matched no row of the mapping (0),
// or the form matched but the field has no row (1).
enum typeDebugStateField : std::int32_t {
    kDebugNoFormMatch = 0,
    kDebugNoFieldRow = 1,
};

// One recorded call of debugStateField.
struct DebugStateFieldCall {
    Primitives::QVImmutableFormIdentifier form;
    Primitives::QVImmutableIdentifier field;
    typeDebugStateField kind;
    std::uint32_t place;
};

class StateTaxReturn : public DataMgmt::TaxReturn {
public:
    using FormID = Primitives::QVImmutableFormIdentifier;
    using FieldID = Primitives::QVImmutableIdentifier;

    // federal: the federal return this state return is attached to (kept by
    // a handle of its own; may be empty, then federal reads throw). pool: the
    // session's shared string pool.
    StateTaxReturn(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnDescPtr desc, Utils::StringPoolPtr pool);
    ~StateTaxReturn() override;

    // The attached federal return (null when none).
    DataMgmt::TaxReturn* getFederalReturn() const { return federal_.get(); }

    // ---- host operations with a base behaviour
    // Maps a field for the host: the base gives back the copy and field
    // unchanged.
    virtual void MapFormField(FormID& f, std::uint16_t copy, FieldID x, std::uint16_t& outCopy, FieldID& outField);
    // Diagnostic of the field mapping: records the call.
    void debugStateField(FormID f, FieldID x, typeDebugStateField kind, std::uint32_t place);
    const std::vector<DebugStateFieldCall>& debugStateFieldCalls() const { return debugCalls_; }
    void clearDebugStateFieldCalls() { debugCalls_.clear(); }
    // The amount as an amount field shows it: thousands separators, "-" for a
    // negative amount, no padding ("1,234", "-56"). The form, copy and field
    // are accepted for the host's call shape.
    void formatFieldString(char* buf, std::size_t cap, std::int64_t amount, const FormID& f, std::uint16_t c,
                           const FieldID& x) const;
    std::string formatFieldString(std::int64_t amount, const FormID& f, std::uint16_t c, const FieldID& x) const;
    // Optional worksheets of the interview: not needed.
    virtual TopicMgmt::TopicStatus isIntWks3Needed();
    virtual TopicMgmt::TopicStatus isDivWks3Needed();
    virtual TopicMgmt::TopicStatus isStallo3Needed();

    // ---- federal-derived services
    // A whole-number common item of the federal return by item type (seeded;
    // the copy is accepted for the call shape). A state form throws.
    std::int64_t pullCommon(const FormID& fedForm, std::uint16_t copy, Utils::PCTypes type);
    // Year (part 0), month (1) or day (2) of the date in field x of the copy;
    // 0 when the field is empty or not a date. Works on federal copies too.
    short dateParse(const DataMgmt::TaxFormPtr& copy, const FieldID& x, Utils::DATEPARSE_TYPE part) const;
    // The W-2 total of field x of form f for the taxpayer and the spouse.
    void getFromW2(const FormID& f, const FieldID& x, const FieldID& ownerField, bool flag, double& taxpayer,
                   double& spouse) const;
    // Wages and withholding; the filing status is accepted for the call shape.
    double getStateWages(char filingStatus) const;
    double getAllStateWages(char filingStatus) const;
    double getStateTaxWithheld(char filingStatus) const;
    double getStateTaxWithheldNoLocal(char filingStatus) const;
    int getEnabledType() const { return enabledType_; }
    // The amount of field x of a copy as the form shows it: the stored number
    // shifted by the field's edit code (hundredths on the W-2 and 1099
    // forms); 0 for a field the form does not have.
    double federalDisplayAmount(const DataMgmt::TaxForm& copy, std::int32_t field) const;
    // The field's text, as formString gives it.
    void textString(char* buf, std::size_t cap, const FormID& f, std::uint16_t c, const FieldID& x) const;
    std::string textString(const FormID& f, std::uint16_t c, const FieldID& x) const;
    // Whether this state return is being filed electronically.
    bool InElf() const { return inElf_; }
    // The balance due.
    virtual std::int64_t taxBalance();
    virtual void getRefundCode(char* buf, std::size_t cap);
    std::string refundCode() const { return refundCode_; }

    // Set to 1 by the review when the return cannot be e-filed.
    int eFileBlocked = 0;
    // What the last write of the e-file (its preparation included) found it
    // cannot carry as entered; the e-file check blocks while there is one.
    std::vector<EFileWrongEntry> eFileWrongEntries;

    // ---- the state's contract, filled by the state module
    std::int8_t getFilingStatusNumber() override = 0;
    virtual Primitives::QVImmutableFormIdentifier getMainForm() = 0;
    // The federal form the federal return was filed on, as the state return
    // records it; form 0 when the state does not say.
    virtual Primitives::QVImmutableFormIdentifier getFederalFormID() const {
        return Primitives::QVImmutableFormIdentifier(0);
    }
    // One statement's tax withheld for this state (its lines that count,
    // added) as the state's return lists it: the totals of tax withheld add
    // the statements so. The base lists it as it is.
    virtual double listedStatementWithholding(double withheld) const { return withheld; }
    virtual void setStateForm14Boxes(bool b) = 0;
    virtual void getStateCode(std::string& out) = 0;  // "GA"
    virtual void getStateName(std::string& out) = 0;  // "Georgia"
    virtual std::int32_t getStateNumber() = 0;
    virtual std::int32_t getModuleCode() = 0;
    virtual std::int32_t getModuleCodeAlt() = 0;
    virtual Primitives::QVImmutableFormIdentifier getInfoForm() = 0;
    virtual Primitives::QVImmutableIdentifier getTaxpayerFirstNameField() = 0;
    virtual Primitives::QVImmutableIdentifier getTaxpayerLastNameField() = 0;
    virtual Primitives::QVImmutableIdentifier getTaxpayerSuffixField() = 0;
    virtual Primitives::QVImmutableIdentifier getTaxpayerSsnField() = 0;
    virtual Primitives::QVImmutableIdentifier getSpouseFirstNameField() = 0;
    virtual Primitives::QVImmutableIdentifier getSpouseLastNameField() = 0;
    virtual Primitives::QVImmutableIdentifier getSpouseSuffixField() = 0;
    virtual Primitives::QVImmutableIdentifier getSpouseSsnField() = 0;
    virtual Primitives::QVImmutableIdentifier getInfoKeyField() = 0;
    // The receiving state form (for a field number <= 0) or state field of a
    // federal form's field; both answers 0 when there is none.
    virtual void mapFederalField(const FormID& federalForm, const FieldID& federalField, FormID& stateForm,
                                 FieldID& stateField) = 0;
    // Numbered e-file summary items: a text and an amount.
    virtual void getEFileInfo(std::string& text, long* amount, std::uint32_t item) = 0;
    // The address to mail the return to, by kind.
    virtual void getMailingAddress(std::string& out, std::int32_t kind) = 0;
    virtual TopicMgmt::TopicStatus isForm2Needed() = 0;
    virtual TopicMgmt::TopicStatus isForm3Needed() = 0;
    virtual TopicMgmt::TopicStatus isInfoBoxNeeded() = 0;
    // Rewrites the barcode text of a field (or of a keyword, when the form and
    // field numbers are 0 or less).
    virtual void formatBarcodeValue(DataMgmt::TaxFormPtr& copy, const FormID& form, std::uint16_t copyNumber,
                                    const FieldID& field, std::string& value) = 0;

    // ---- seeding (host and tests)
    void setPullCommon(const FormID& fedForm, Utils::PCTypes type, std::int64_t value);
    void clearPullCommon() { pullCommon_.clear(); }
    void setFromW2(const FormID& f, const FieldID& x, double taxpayer, double spouse);
    void setStateWages(std::optional<double> wages) { stateWages_ = wages; }
    void setAllStateWages(std::optional<double> wages) { allStateWages_ = wages; }
    void setStateTaxWithheld(std::optional<double> withheld) { stateTaxWithheld_ = withheld; }
    void setStateTaxWithheldNoLocal(std::optional<double> withheld) { stateTaxWithheldNoLocal_ = withheld; }
    void setEnabledType(int type) { enabledType_ = type; }
    void setInElf(bool inElf) { inElf_ = inElf; }
    void setTaxBalance(std::optional<std::int64_t> balance) { taxBalance_ = balance; }
    void setRefundCode(const std::string& code) { refundCode_ = code; }

protected:
    const DataMgmt::TaxReturn& readerFor(const FormID& f, const char* operation) const override;

private:
    // Adds up one column of the statement forms' state lines over every
    // copy, for the lines of this state only (thisStateOnly) or of any
    // state; wages are the state amounts of the W-2 lines only.
    double addStateLines(bool thisStateOnly, bool wages, bool withheld, bool local, char filingStatus) const;

    DataMgmt::TaxReturnPtr federal_;
    std::vector<DebugStateFieldCall> debugCalls_;
    std::map<std::pair<FormID, std::int32_t>, std::int64_t> pullCommon_;
    std::map<std::pair<FormID, std::int32_t>, std::pair<double, double>> w2Splits_;
    std::optional<double> stateWages_;
    std::optional<double> allStateWages_;
    std::optional<double> stateTaxWithheld_;
    std::optional<double> stateTaxWithheldNoLocal_;
    int enabledType_ = 1;
    bool inElf_ = false;
    std::optional<std::int64_t> taxBalance_;
    std::string refundCode_;
};

// A state return with no state module behind it: it holds the state's forms
// and the host's seeded answers, and answers the state's own questions with
// "unknown" (0, empty texts, no form, no field). The host uses it while no
// module is loaded; tests derive from it and answer only what they need.
class PlainStateTaxReturn : public StateTaxReturn {
public:
    using StateTaxReturn::StateTaxReturn;

    std::int8_t getFilingStatusNumber() override { return 0; }
    FormID getMainForm() override { return {}; }
    void setStateForm14Boxes(bool) override {}
    void getStateCode(std::string& out) override { out = getAbbreviation(); }
    void getStateName(std::string& out) override { out = getDisplayName(); }
    std::int32_t getStateNumber() override { return 0; }
    std::int32_t getModuleCode() override { return 0; }
    std::int32_t getModuleCodeAlt() override { return 0; }
    FormID getInfoForm() override { return {}; }
    FieldID getTaxpayerFirstNameField() override { return {}; }
    FieldID getTaxpayerLastNameField() override { return {}; }
    FieldID getTaxpayerSuffixField() override { return {}; }
    FieldID getTaxpayerSsnField() override { return {}; }
    FieldID getSpouseFirstNameField() override { return {}; }
    FieldID getSpouseLastNameField() override { return {}; }
    FieldID getSpouseSuffixField() override { return {}; }
    FieldID getSpouseSsnField() override { return {}; }
    FieldID getInfoKeyField() override { return {}; }
    void mapFederalField(const FormID&, const FieldID&, FormID& stateForm, FieldID& stateField) override {
        stateForm = FormID();
        stateField = FieldID();
    }
    void getEFileInfo(std::string& text, long* amount, std::uint32_t) override {
        text.clear();
        if (amount != nullptr) {
            *amount = 0;
        }
    }
    void getMailingAddress(std::string& out, std::int32_t) override { out.clear(); }
    TopicMgmt::TopicStatus isForm2Needed() override { return TopicMgmt::kTopicStatusNotNeeded; }
    TopicMgmt::TopicStatus isForm3Needed() override { return TopicMgmt::kTopicStatusNotNeeded; }
    TopicMgmt::TopicStatus isInfoBoxNeeded() override { return TopicMgmt::kTopicStatusNotNeeded; }
    void formatBarcodeValue(DataMgmt::TaxFormPtr&, const FormID&, std::uint16_t, const FieldID&,
                            std::string& value) override {
        value.clear();
    }
};

}  // namespace StateDataMgmt
