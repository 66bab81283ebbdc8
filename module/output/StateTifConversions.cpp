// The conversions of the fields of federal forms 92 (personal information)
// and 131 (office information) in the office record and the state return
// record: values emptied, filled from other sources, an extra line, and keys
// renumbered.
#include <algorithm>
#include <array>

#include "module/catalogues/Form131Lines.h"
#include "module/catalogues/Form183Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/StateTifFileWriter.h"
#include "platform/Exceptions.h"
#include "platform/util/Utils.h"

namespace StateTifWriteMgmt {

namespace {

// Lines of federal form 92 that the return information writes only with
// another line: a pair that goes with the taxpayer's line 711, a pair that
// goes with the spouse's line 712 on a joint return; and a line the state
// return record leaves empty.
const Form92Lines::ReturnInformation& kCompanionLines = kForm92Lines.returnInformation;

// The preparer's identifier of the office record, written when federal form
// 92 names a preparer; and the heading block's yes box of federal form 183,
// which the information form receives.
struct PreparerLines {
    const FieldId& preparerNamed;
    const FieldId& preparerId;
    const FieldId& headingYesBox;
};
const PreparerLines kPreparerLines = {
    .preparerNamed = kForm92Lines.preparerNamed,
    .preparerId = kForm183Lines.preparerId,
    .headingYesBox = kForm183Lines.withdrawal.yes,
};

bool isOneOf(const FieldId& field, const std::array<FieldId, 2>& fields) {
    return field == fields[0] || field == fields[1];
}

// The getEFileInfo items: the balance due (positive) or refund (negative),
// and the item whose amount tells whether the refund may go to a bank.
constexpr std::uint32_t kBalanceOrRefundItem = 0;
constexpr std::uint32_t kDirectDepositItem = 9;
// The key of the line that carries form 131 field 325 in the state return
// record.
constexpr const char* kSignatureAnswerKey = "00070.000 001";
// The key of the extra line of the office record.
constexpr const char* kPreparerIdKey = "01115.000 001";

// Places (from 1) of a key's characters that name its line and sub-line.
constexpr std::size_t kLineDigit = 5;
constexpr std::size_t kSubLineDigit = 9;

struct KeyEdit {
    std::int32_t field;
    char lineDigit;     // 0: unchanged
    char subLineDigit;  // 0: unchanged
};

// The bank-account lines of form 131 move to the lines the state return
// record carries them on.
constexpr KeyEdit kKeyEdits[] = {
    {152846, '9', 0}, {152847, '7', '1'}, {152848, '8', '2'}, {152849, 0, '1'}, {152850, '8', '3'}, {152851, '0', 0},
};

long eFileAmount(StateDataMgmt::StateTaxReturn& state, std::uint32_t item) {
    std::string text;
    long amount = 0;
    state.getEFileInfo(text, &amount, item);
    return amount;
}

}  // namespace

void StateTifFileWriter::mappedFederalField(const FormId& federalForm, const FieldId& federalField, FormId& form,
                                            FieldId& field) {
    FormId unusedForm;
    FieldId unusedField;
    stateReturn->mapFederalField(federalForm, FieldId(0), form, unusedField);
    stateReturn->mapFederalField(federalForm, federalField, unusedForm, field);
}

void StateTifFileWriter::convertReturnInfoField(const FieldId& field, std::string& value) {
    const auto& address = kForm92Lines.address;
    const auto& result = kForm92Lines.stateResult;
    const Form92Lines::ReturnInformation& companion = kCompanionLines;
    DataMgmt::TaxReturn& federal = *federalReturn();
    if (field == address.street) {
        value = streetWithApartment(kForm92ID, 1, address.street, address.apartment, "");
    } else if (isOneOf(field, companion.withTaxpayerLine)) {
        if (federal.noSigValue(kForm92ID, 1, companion.taxpayerLine)) {
            value.clear();
        }
    } else if (isOneOf(field, companion.withSpouseLine)) {
        if (federal.getFilingStatusNumber() != FederalFilingStatus::kJoint ||
            !federal.hasSigValue(kForm92ID, 1, companion.spouseLine)) {
            value.clear();
        }
    } else if (inStateReturnRecord && (field == result.refund || field == result.balanceDue)) {
        // The refund or the balance due of the state return.
        const long amount = eFileAmount(*stateReturn, kBalanceOrRefundItem);
        const bool refundLine = field == result.refund;
        value = refundLine ? (amount < 0 ? std::to_string(Utils::negateSaturated(amount)) : std::string())
                           : (amount > 0 ? std::to_string(amount) : std::string());
    } else if (inStateReturnRecord && field == companion.emptiedInStateRecord) {
        value.clear();
    }
}

bool StateTifFileWriter::mappedAnswerHasValue() {
    return Utils::QVStringUtils::stricmp(federalReturn()->formString(kForm131ID, 1, kForm131Lines.mappedAnswer), "2") !=
               0 &&
           mappedAnswerHeld();
}

bool StateTifFileWriter::mappedAnswerHeld() {
    FormId form;
    FieldId field;
    try {
        mappedFederalField(kForm131ID, kForm131Lines.mappedAnswer, form, field);
    } catch (const Exceptions::QuarloException&) {
        field = FieldId();  // a mapping the return refuses holds nothing
    }
    return form.getNumber() > 0 && field.getNumber() > 0 && stateReturn->hasSigValue(form, 1, field);
}

void StateTifFileWriter::convertEfileInfoField(const FieldId& field, std::string& key, std::string& value) {
    const auto& office = kForm131Lines;
    // The office numbers, in both records.
    if (field == office.districtNumber) {
        tifGetDistrictNum(value);
        return;
    }
    if (field == office.officeNumber) {
        tifGetOfficeNum(value);
        return;
    }
    if (field == office.serviceCenter) {
        tifGetServiceCenter(value);
        return;
    }
    if (!inStateReturnRecord) {
        // The office record: the preparer's identifier from federal form 183
        // goes before its line when the return names one.
        const PreparerLines& preparer = kPreparerLines;
        if (field == office.preparerIdNext && federalReturn()->hasSigValue(kForm92ID, 1, preparer.preparerNamed)) {
            outputFieldLine(kPreparerIdKey, kForm183ID, 1, preparer.preparerId, false);
        }
        return;
    }
    if (field == office.stateCode) {
        value = stateCode();
    } else if (field == office.refundCode) {
        refundCode(value);
    } else if (field == office.infoFormAnswer) {
        FormId unusedForm;
        FieldId mapped;
        stateReturn->mapFederalField(kForm92ID, kCompanionLines.taxpayerLine, unusedForm, mapped);
        value = mapped.getNumber() != 0 && stateReturn->hasSigValue(stateReturn->getInfoForm(), 1, mapped) ? "Y" : "N";
    } else if (field == office.signatureAnswer) {
        if (mappedAnswerHasValue() && key.compare(0, 13, kSignatureAnswerKey) == 0) {
            value.clear();
        }
    } else if (field == office.directDeposit) {
        FormId form;
        FieldId mapped;
        mappedFederalField(kForm183ID, kPreparerLines.headingYesBox, form, mapped);
        const bool deposit = eFileAmount(*stateReturn, kDirectDepositItem) != 0 &&
                             eFileAmount(*stateReturn, kBalanceOrRefundItem) > 0 && form.getNumber() > 0 &&
                             mapped.getNumber() > 0 && stateReturn->hasSigValue(form, 1, mapped);
        value = deposit ? "Y" : "N";
    } else if (std::find(office.emptiedInStateRecord.begin(), office.emptiedInStateRecord.end(), field) !=
               office.emptiedInStateRecord.end()) {
        value.clear();
    } else if (field == office.mappedAnswer) {
        if (value == "1") {
            value = mappedAnswerHeld() ? "1" : "2";
        }
    } else if (key.size() > 12) {
        for (const KeyEdit& edit : kKeyEdits) {
            if (field.getNumber() == edit.field) {
                if (edit.lineDigit != 0) key[kLineDigit - 1] = edit.lineDigit;
                if (edit.subLineDigit != 0) key[kSubLineDigit - 1] = edit.subLineDigit;
            }
        }
    }
}

}  // namespace StateTifWriteMgmt
