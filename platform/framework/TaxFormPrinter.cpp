#include "platform/framework/TaxFormPrinter.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>

#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/util/Utils.h"

namespace TaxFormPrintMgmt {

void TaxFormPrinter::adjustFTPrintedDate(char* text, std::size_t cap, std::uint8_t /*editCode*/) {
    if (text == nullptr || cap == 0) {
        return;
    }
    const std::size_t length = ::strnlen(text, cap);
    if (length != 10 || length == cap) {  // a full date has ten characters; an unterminated buffer is left alone
        return;
    }
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(std::string_view(text, length), year, month, day)) {
        return;
    }
    char shortDate[16];
    std::snprintf(shortDate, sizeof shortDate, "%02u/%02u/%02u", static_cast<unsigned>(month),
                  static_cast<unsigned>(day), static_cast<unsigned>(year % 100));
    if (std::strlen(shortDate) + 1 > cap) {
        return;
    }
    std::memcpy(text, shortDate, std::strlen(shortDate) + 1);
}

}  // namespace TaxFormPrintMgmt

namespace StateTaxFormPrintMgmt {

namespace {

signed char clampedCount(std::size_t size) {
    constexpr std::size_t most = std::numeric_limits<signed char>::max();
    return static_cast<signed char>(size < most ? size : most);
}

}  // namespace

StateTaxFormPrinter::StateTaxFormPrinter(StateDataMgmt::StateTaxReturn* stateReturn)
    : TaxFormPrintMgmt::TaxFormPrinter(static_cast<DataMgmt::TaxReturn*>(stateReturn)), stateReturn(stateReturn) {}

bool StateTaxFormPrinter::formShouldPrint(const Primitives::QVImmutableFormIdentifier& form) {
    return anyCopyShouldPrint(form);
}

bool StateTaxFormPrinter::shouldPrintCopy(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy,
                                          int /*purpose*/) {
    return isPrintFlagSet(form, copy);
}

void StateTaxFormPrinter::formsToPrint(FormIdList& forms, signed char& count, signed char& second, char purpose) {
    lastPurpose_ = purpose;
    collectForms(
        true, [this](const Primitives::QVImmutableFormIdentifier& form) { return anyCopyShouldPrint(form); }, forms,
        count, second);
}

bool StateTaxFormPrinter::anyCopyShouldPrint(const Primitives::QVImmutableFormIdentifier& form) {
    if (stateReturn == nullptr) {
        return false;
    }
    for (DataMgmt::TaxFormIter it = stateReturn->getForms(form); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (!copy.isNull() && shouldPrintCopy(form, copy->getCopyNumber(), 0)) {
            return true;
        }
    }
    return false;
}

void StateTaxFormPrinter::formatPrintField(std::string& /*text*/, const Primitives::QVImmutableFormIdentifier& /*form*/,
                                           std::uint16_t /*copy*/, const Primitives::QVImmutableIdentifier& /*field*/) {
}

void StateTaxFormPrinter::attachCreditPdfs(DataMgmt::TaxReturnType /*type*/) {}

void StateTaxFormPrinter::attachFormPdfs(DataMgmt::TaxReturnType /*type*/) {}

bool StateTaxFormPrinter::getNextPrintForm0(Primitives::QVImmutableFormIdentifier& /*form*/) { return false; }
bool StateTaxFormPrinter::getNextPrintForm1(Primitives::QVImmutableFormIdentifier& /*form*/) { return false; }
bool StateTaxFormPrinter::getNextPrintForm4(Primitives::QVImmutableFormIdentifier& /*form*/) { return false; }
bool StateTaxFormPrinter::getNextPrintForm5(Primitives::QVImmutableFormIdentifier& /*form*/) { return false; }

bool StateTaxFormPrinter::isPrintFlagSet(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy) const {
    if (stateReturn == nullptr) {
        return false;
    }
    const DataMgmt::TaxFormPtr formCopy = stateReturn->getForm(form, copy);
    return !formCopy.isNull() && formCopy->calculatedFlag();
}

void StateTaxFormPrinter::formsToAudit(FormIdList& forms, signed char& count, signed char& second) const {
    collectForms(
        false,
        [this](const Primitives::QVImmutableFormIdentifier& form) { return stateReturn->getFormCount(form) > 0; },
        forms, count, second);
}

void StateTaxFormPrinter::collectForms(bool displayOrder,
                                       const std::function<bool(const Primitives::QVImmutableFormIdentifier&)>& keep,
                                       FormIdList& forms, signed char& count, signed char& second) const {
    forms.clear();
    second = 0;
    const DataMgmt::TaxReturnDescPtr desc =
        stateReturn != nullptr ? stateReturn->getTaxReturnDesc() : DataMgmt::TaxReturnDescPtr();
    if (!desc.isNull()) {
        for (DataMgmt::TaxFormDescIter it = displayOrder ? desc->getTaxFormDescriptorsInDisplayOrder()
                                                         : desc->getTaxFormDescriptors();
             !it.atEOL(); it.next()) {
            const Primitives::QVImmutableFormIdentifier form = it.getTaxFormDescriptor()->getTypeID();
            if (keep(form)) {
                forms.push_back(form);
            }
        }
    }
    count = clampedCount(forms.size());
}

bool StateTaxFormPrinter::getNextForm(std::span<const Utils::printFormInfo> list,
                                      Primitives::QVImmutableFormIdentifier current,
                                      Primitives::QVImmutableFormIdentifier& next, char selector) const {
    lastSelector_ = selector;
    // Place of the entry to answer: after `current` when it is listed before
    // the end entry, else the first entry.
    std::size_t place = 0;
    if (current.getNumber() > 0) {
        for (std::size_t i = 0; i < list.size() && list[i].form.getNumber() > 0; ++i) {
            if (list[i].form == current) {
                place = i + 1;
                break;
            }
        }
    }
    if (place >= list.size() || list[place].form.getNumber() <= 0) {
        next = Primitives::QVImmutableFormIdentifier(0);
        return false;
    }
    next = list[place].form;
    return true;
}

}  // namespace StateTaxFormPrintMgmt
