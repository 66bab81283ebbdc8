// The conversions of the fields of federal forms 92 (personal information)
// and 131 (office information) in the office record and the state return
// record: values emptied, filled from other sources, an extra line, and keys
// renumbered.
#include <cstdlib>

#include "module/catalogues/Form131FieldIds.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/StateTifFileWriter.h"
#include "platform/Exceptions.h"
#include "platform/util/Utils.h"

namespace StateTifWriteMgmt {

namespace {

// The federal filing-status number of a married couple filing jointly.
constexpr std::int8_t kFederalJointStatus = 2;
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
    const auto& f92 = kForm92FieldIds;
    DataMgmt::TaxReturn& federal = *federalReturn();
    if (field == f92.f20) {
        federal.tifAppendAPTtoStreet(value, kForm92ID, 1, f92.f21);
    } else if (field == f92.f789 || field == f92.f790) {
        if (federal.noSigValue(kForm92ID, 1, f92.f711)) {
            value.clear();
        }
    } else if (field == f92.f791 || field == f92.f792) {
        if (federal.getFilingStatusNumber() != kFederalJointStatus || !federal.hasSigValue(kForm92ID, 1, f92.f712)) {
            value.clear();
        }
    } else if (inStateReturnRecord && (field == f92.f17994 || field == f92.f17995)) {
        // The refund (17994) or the balance due (17995) of the state return.
        const long amount = eFileAmount(*stateReturn, kBalanceOrRefundItem);
        const bool refundLine = field == f92.f17994;
        value = refundLine ? (amount < 0 ? std::to_string(Utils::negateSaturated(amount)) : std::string())
                           : (amount > 0 ? std::to_string(amount) : std::string());
    } else if (inStateReturnRecord && field == f92.f715) {
        value.clear();
    }
}

bool StateTifFileWriter::mappedAnswerHasValue() {
    const auto& f131 = kForm131FieldIds;
    return Utils::QVStringUtils::stricmp(federalReturn()->formString(kForm131ID, 1, f131.f72481), "2") != 0 &&
           mappedAnswerHeld();
}

bool StateTifFileWriter::mappedAnswerHeld() {
    FormId form;
    FieldId field;
    try {
        mappedFederalField(kForm131ID, kForm131FieldIds.f72481, form, field);
    } catch (const Exceptions::QuarloException&) {
        field = FieldId();  // a mapping the return refuses holds nothing
    }
    return form.getNumber() > 0 && field.getNumber() > 0 && stateReturn->hasSigValue(form, 1, field);
}

void StateTifFileWriter::convertEfileInfoField(const FieldId& field, std::string& key, std::string& value) {
    const auto& f131 = kForm131FieldIds;
    // The office numbers, in both records.
    if (field == f131.f126) {
        tifGetDistrictNum(value);
        return;
    }
    if (field == f131.f127) {
        tifGetOfficeNum(value);
        return;
    }
    if (field == f131.f336) {
        tifGetServiceCenter(value);
        return;
    }
    if (!inStateReturnRecord) {
        // The office record: the preparer's identifier from federal form 183
        // goes before field 80 when the return names one.
        if (field == f131.f80 && federalReturn()->hasSigValue(kForm92ID, 1, kForm92FieldIds.f158035)) {
            outputTifLine(kPreparerIdKey, federalReturn()->formString(kForm183ID, 1, kForm183FieldIds.f158073), false);
        }
        return;
    }
    if (field == f131.f328) {
        value = stateCode();
    } else if (field == f131.f111) {
        refundCode(value);
    } else if (field == f131.f333) {
        FormId unusedForm;
        FieldId mapped;
        stateReturn->mapFederalField(kForm92ID, kForm92FieldIds.f711, unusedForm, mapped);
        value = mapped.getNumber() != 0 && stateReturn->hasSigValue(stateReturn->getInfoForm(), 1, mapped) ? "Y" : "N";
    } else if (field == f131.f325) {
        if (mappedAnswerHasValue() && key.compare(0, 13, kSignatureAnswerKey) == 0) {
            value.clear();
        }
    } else if (field == f131.f334) {
        FormId form;
        FieldId mapped;
        mappedFederalField(kForm183ID, kForm183FieldIds.f155, form, mapped);
        const bool deposit = eFileAmount(*stateReturn, kDirectDepositItem) != 0 &&
                             eFileAmount(*stateReturn, kBalanceOrRefundItem) > 0 && form.getNumber() > 0 &&
                             mapped.getNumber() > 0 && stateReturn->hasSigValue(form, 1, mapped);
        value = deposit ? "Y" : "N";
    } else if (field == f131.f370 || field == f131.f371 || field == f131.f372 || field == f131.f72480 ||
               field == f131.f140456) {
        value.clear();
    } else if (field == f131.f72481) {
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
