#include "module/frame/GATaxReturn.h"

#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/catalogues/StateForm4FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/interview/FieldOptions.h"

namespace GADataMgmt {

const char* const GATaxReturn::kRefundAddress =
    "Processing Center\n"
    "Georgia Department of Revenue\n"
    "P.O. Box 740380\n"
    "Atlanta, GA  30374-0380";
const char* const GATaxReturn::kPaymentAddress =
    "Processing Center\n"
    "Georgia Department of Revenue\n"
    "P.O. Box 740399\n"
    "Atlanta, GA  30374-0399";
const char* const GATaxReturn::kKind2Address =
    "Processing Center\n"
    "Georgia Department of Revenue\n"
    "P.O. Box 740323\n"
    "Atlanta, GA  30374-0323";

GATaxReturn::GATaxReturn(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnDescPtr desc, Utils::StringPoolPtr pool)
    : StateDataMgmt::StateTaxReturn(federal, desc, pool) {
    // The base keeps what it needs; this constructor's own copies go now.
    federal.release();
    desc.release();
    pool.release();
}

GATaxReturn::~GATaxReturn() = default;

void GATaxReturn::MapFormField(FormID& f, std::uint16_t copy, FieldID x, std::uint16_t& outCopy, FieldID& outField) {
    StateDataMgmt::StateTaxReturn::MapFormField(f, copy, x, outCopy, outField);
}

std::int8_t GATaxReturn::getFilingStatusNumber() { return getFilingStatus(getMainFormID()); }

Primitives::QVImmutableFormIdentifier GATaxReturn::getMainForm() { return getMainFormID(); }

void GATaxReturn::getFieldDisplayValuePairs(DataMgmt::TaxFormPtr& copy, DataMgmt::FormFieldPtr& field,
                                            Properties::DisplayValuePairs& pairs) {
    FieldOptionsMgmt::GAFieldOptionsListFactory factory(this);
    if (!factory.buildFieldOptions(copy, field, pairs)) {
        StateDataMgmt::StateTaxReturn::getFieldDisplayValuePairs(copy, field, pairs);
    }
}

void GATaxReturn::setStateForm14Boxes(bool b) {
    if (b) {
        setXValue(kStateForm14ID, 1, kStateForm14FieldIds.f9015, false);
        setXValue(kStateForm14ID, 1, kStateForm14FieldIds.f14454, true);
    } else {
        setXValue(kStateForm14ID, 1, kStateForm14FieldIds.f9016, true);
        setXValue(kStateForm14ID, 1, kStateForm14FieldIds.f9015, false);
        setXValue(kStateForm14ID, 1, kStateForm14FieldIds.f14454, false);
    }
}

void GATaxReturn::getStateCode(std::string& out) { out = "GA"; }

void GATaxReturn::getStateName(std::string& out) { out = "Georgia"; }

std::int32_t GATaxReturn::getStateNumber() { return 11; }

std::int32_t GATaxReturn::getModuleCode() {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>('Q') << 24) | (static_cast<std::uint32_t>('V') << 16) |
                                     (static_cast<std::uint32_t>('0') << 8) | static_cast<std::uint32_t>('I'));
}

std::int32_t GATaxReturn::getModuleCodeAlt() { return getModuleCode(); }

Primitives::QVImmutableFormIdentifier GATaxReturn::getInfoForm() { return kGAForm69ID; }

Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerFirstNameField() { return kGAForm69FieldIds.f21; }
Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerLastNameField() { return kGAForm69FieldIds.f23; }
Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerSuffixField() { return kGAForm69FieldIds.f24; }
Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerSsnField() { return kGAForm69FieldIds.f25; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseFirstNameField() { return kGAForm69FieldIds.f26; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseLastNameField() { return kGAForm69FieldIds.f28; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseSuffixField() { return kGAForm69FieldIds.f29; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseSsnField() { return kGAForm69FieldIds.f30; }
Primitives::QVImmutableIdentifier GATaxReturn::getInfoKeyField() { return kGAForm69FieldIds.f7; }

void GATaxReturn::getMailingAddress(std::string& out, std::int32_t kind) {
    out.clear();
    if (kind == 0) {
        // A refund, or nothing owed, goes to the refund box; a balance due to
        // the payment box. The amount owed is read only when there is no
        // refund.
        const FormID main = getMainFormID();
        if (getLineValue(main, 1, SummaryLine::kRefund) > 0 || getLineValue(main, 1, SummaryLine::kAmountOwed) == 0) {
            out = kRefundAddress;
        } else {
            out = kPaymentAddress;
        }
    } else if (kind == 2) {
        out = kKind2Address;
    }
}

TopicMgmt::TopicStatus GATaxReturn::isForm2Needed() {
    const DataMgmt::TaxFormPtr copy = getFormUVPtr(kStateForm2ID, 1, false);
    return copy.isNull() ? TopicMgmt::kTopicStatusNotNeeded : TopicMgmt::kTopicStatusNeeded;
}

TopicMgmt::TopicStatus GATaxReturn::isForm3Needed() {
    const DataMgmt::TaxFormPtr copy = getFormUVPtr(kStateForm3ID, 1, false);
    return copy.isNull() ? TopicMgmt::kTopicStatusNotNeeded : TopicMgmt::kTopicStatusNeeded;
}

TopicMgmt::TopicStatus GATaxReturn::isInfoBoxNeeded() {
    if (formYes(kGAForm69ID, 1, kGAForm69FieldIds.f112) || formYes(kGAForm69ID, 1, kGAForm69FieldIds.f111)) {
        return TopicMgmt::kTopicStatusNeeded;
    }
    return TopicMgmt::kTopicStatusNotNeeded;
}

Primitives::QVImmutableFormIdentifier GATaxReturn::getMainFormID() const { return kGAForm70ID; }

std::int8_t GATaxReturn::getFilingStatus(const FormID& /*form*/) const {
    const DataMgmt::TaxFormPtr copy = getForm(kGAForm70ID, 1);
    if (copy.isNull()) {
        return 1;
    }
    const std::string status = formString(kGAForm70ID, 1, kGAForm70FieldIds.f44);
    if (status == "A") {
        return 1;
    }
    if (status == "B") {
        return 2;
    }
    if (status == "C") {
        return 3;
    }
    if (status == "D") {
        return 4;
    }
    return 1;
}

Primitives::QVImmutableFormIdentifier GATaxReturn::getFederalFormID() const {
    const DataMgmt::TaxFormPtr copy = getForm(kGAForm69ID, 1);
    if (!copy.isNull()) {
        if (copy->xMarked(kGAForm69FieldIds.f47)) {
            return kForm55ID;
        }
        if (copy->xMarked(kGAForm69FieldIds.f48)) {
            return kForm87ID;
        }
    }
    return kForm1ID;
}

long GATaxReturn::getLineValue(const FormID& /*form*/, std::uint16_t /*copy*/, std::int32_t line) const {
    // Full-year residents read the main form; part-year residents and
    // nonresidents read lines 1, 4, 5 and 6 from the state wage worksheet and
    // schedule 3 (form 189217).
    const bool fullYear = formYes(kGAForm69ID, 1, kGAForm69FieldIds.f110);
    const auto ga70 = [this](const FieldID& x) -> long { return getIN(kGAForm70ID, 1, x); };
    const auto ga189215 = [this](const FieldID& x) -> long { return getIN(kGAForm189215ID, 1, x); };
    const auto ga189217 = [this](const FieldID& x) -> long { return getIN(kGAForm189217ID, 1, x); };
    const auto& f70 = kGAForm70FieldIds;
    const auto& f189215 = kGAForm189215FieldIds;
    const auto& f189217 = kGAForm189217FieldIds;

    switch (line) {
        case 1:
            return fullYear ? ga70(f70.f62) : getIN(kStateForm4ID, 1, kStateForm4FieldIds.f115);
        case 2:
            return ga70(f70.f64);
        case 3:
            return ga70(f70.f83);
        case 4:
            return fullYear ? 1 : ga189217(f189217.f189453);
        case 5:
            if (fullYear) {
                const long line79 = ga70(f70.f79);
                return line79 + ga70(f70.f72);
            }
            return ga189217(f189217.f189460);
        case 6:
            return fullYear ? ga70(f70.f82) : ga189217(f189217.f189471);
        case 7:
            return ga70(f70.f327);
        case 8: {
            const long first = ga189215(f189215.f189338);
            return first + ga189215(f189215.f189334);
        }
        case 9:
            return ga70(f70.f87);
        case 10:
            return ga70(f70.f101);
        case 11:
            return ga189215(f189215.f189266);
        case 12:
            return ga189215(f189215.f189281);
        case 13:
            return ga189215(f189215.f189293);
        case 14:
            return ga189215(f189215.f189334);
        case 15:
            return ga189215(f189215.f189338);
        case 16:
            return ga189215(f189215.f189372);
        case 18:
            return ga189215(f189215.f189378);
        case 19:
            return ga189215(f189215.f189408);
        case 20: {
            long value = ga189215(f189215.f189417);
            value -= ga189215(f189215.f189372);
            value -= ga189215(f189215.f189334);
            value -= ga189215(f189215.f189338);
            return value;
        }
        case 23:
            return ga70(f70.f84);
        case 24:
            return ga70(f70.f86);
        case 25:
            return ga70(f70.f98);
        case 26:
            return ga70(f70.f107);
        case 27:
            return ga70(f70.f106);
        default:  // 17, 21, 22 name no field; anything outside 1 to 27
            return 0;
    }
}

}  // namespace GADataMgmt
