#include "module/interview/GATopics.h"

#include <cstdint>

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/interview/TopicRows.h"

namespace GATopicMgmt {

using TopicMgmt::kTopicStatusNeeded;
using TopicMgmt::kTopicStatusNotNeeded;
using TopicMgmt::kTopicStatusPartial;

namespace {

constexpr std::uint16_t kFirstCopy = 1;
const auto& form69 = kForm69Lines;
const auto& form70 = kForm70Lines;

}  // namespace

// Every topic installs the module's script-query handler last.

extoftimTopicDesc::extoftimTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kExtoftimRow, store) {
    createScriptQueryHandler();
}
extoftimTopicDesc::~extoftimTopicDesc() = default;
TopicMgmt::TopicStatus extoftimTopicDesc::getTopicStatus() {
    // Needed while form 69's extension question is answered yes.
    const bool extension =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm69ID, kFirstCopy, form69.questions.extension);
    return extension ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

gaaddTopicDesc::gaaddTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaaddRow, store) {
    createScriptQueryHandler();
}
gaaddTopicDesc::~gaaddTopicDesc() = default;
TopicMgmt::TopicStatus gaaddTopicDesc::getTopicStatus() {
    // Needed while form 70's review mark holds a value.
    const bool additions =
        requireTaxReturn("getTopicStatus")->hasSigValue(kGAForm70ID, kFirstCopy, form70.review.reviewNeeded);
    return additions ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

gaamendTopicDesc::gaamendTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaamendRow, store) {
    createScriptQueryHandler();
}
gaamendTopicDesc::~gaamendTopicDesc() = default;
TopicMgmt::TopicStatus gaamendTopicDesc::getTopicStatus() {
    // Needed when form 69 says the return is amended.
    const bool amended = requireTaxReturn("getTopicStatus")->formYes(kGAForm69ID, kFirstCopy, form69.questions.amended);
    return amended ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

gacontribTopicDesc::gacontribTopicDesc(DataMgmt::TaxDataStore& store)
    : GATopicDesc(InterviewRows::kGacontribRow, store) {
    createScriptQueryHandler();
}
gacontribTopicDesc::~gacontribTopicDesc() = default;
TopicMgmt::TopicStatus gacontribTopicDesc::getTopicStatus() {
    // Needed while form 69's contributions question is answered yes.
    const bool contributes =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm69ID, kFirstCopy, form69.questions.contributes);
    return contributes ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

gacredsumTopicDesc::gacredsumTopicDesc(DataMgmt::TaxDataStore& store)
    : GATopicDesc(InterviewRows::kGacredsumRow, store) {
    createScriptQueryHandler();
}
gacredsumTopicDesc::~gacredsumTopicDesc() = default;

gadeductTopicDesc::gadeductTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGadeductRow, store) {
    createScriptQueryHandler();
}
gadeductTopicDesc::~gadeductTopicDesc() = default;

gaestTopicDesc::gaestTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaestRow, store) {
    createScriptQueryHandler();
}
gaestTopicDesc::~gaestTopicDesc() = default;
TopicMgmt::TopicStatus gaestTopicDesc::getTopicStatus() {
    // Needed while form 69's estimated-tax question is answered yes.
    const bool estimated =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm69ID, kFirstCopy, form69.questions.estimatedTax);
    return estimated ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

gaextpayTopicDesc::gaextpayTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaextpayRow, store) {
    createScriptQueryHandler();
}
gaextpayTopicDesc::~gaextpayTopicDesc() = default;

gagsTopicDesc::gagsTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGagsRow, store) {
    createScriptQueryHandler();
}
gagsTopicDesc::~gagsTopicDesc() = default;

gaincomeTopicDesc::gaincomeTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaincomeRow, store) {
    createScriptQueryHandler();
}
gaincomeTopicDesc::~gaincomeTopicDesc() = default;
TopicMgmt::TopicStatus gaincomeTopicDesc::getTopicStatus() {
    // Part-year and nonresident income is not asked of a full-year resident.
    const bool fullYear =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm69ID, kFirstCopy, form69.residency.fullYear);
    return fullYear ? kTopicStatusNotNeeded : kTopicStatusNeeded;
}

gaincsectionTopicDesc::gaincsectionTopicDesc(DataMgmt::TaxDataStore& store)
    : GATopicDesc(InterviewRows::kGaincsectionRow, store) {
    createScriptQueryHandler();
}
gaincsectionTopicDesc::~gaincsectionTopicDesc() = default;

gaincsumTopicDesc::gaincsumTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaincsumRow, store) {
    createScriptQueryHandler();
}
gaincsumTopicDesc::~gaincsumTopicDesc() = default;

gainfoTopicDesc::gainfoTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGainfoRow, store) {
    createScriptQueryHandler();
}
gainfoTopicDesc::~gainfoTopicDesc() = default;

gamiscTopicDesc::gamiscTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGamiscRow, store) {
    createScriptQueryHandler();
}
gamiscTopicDesc::~gamiscTopicDesc() = default;

gapaypensumTopicDesc::gapaypensumTopicDesc(DataMgmt::TaxDataStore& store)
    : GATopicDesc(InterviewRows::kGapaypensumRow, store) {
    createScriptQueryHandler();
}
gapaypensumTopicDesc::~gapaypensumTopicDesc() = default;

garefappTopicDesc::garefappTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGarefappRow, store) {
    createScriptQueryHandler();
}
garefappTopicDesc::~garefappTopicDesc() = default;
TopicMgmt::TopicStatus garefappTopicDesc::getTopicStatus() {
    // Needed only for an overpayment (form 70) that the filer chose, on
    // form 69, to apply; the choice is read only when there is one.
    const DataMgmt::TaxReturnPtr ga = requireTaxReturn("getTopicStatus");
    const bool applies = ga->getIN(kGAForm70ID, kFirstCopy, form70.result.overpaid) > 0 &&
                         ga->formYes(kGAForm69ID, kFirstCopy, form69.questions.appliesRefund);
    return applies ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

GASecondaryNavsTopicDesc::GASecondaryNavsTopicDesc(DataMgmt::TaxDataStore& store)
    : GATopicDesc(InterviewRows::kGASecondaryNavsRow, store) {
    createScriptQueryHandler();
}
GASecondaryNavsTopicDesc::~GASecondaryNavsTopicDesc() = default;

gastcrTopicDesc::gastcrTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGastcrRow, store) {
    createScriptQueryHandler();
}
gastcrTopicDesc::~gastcrTopicDesc() = default;
TopicMgmt::TopicStatus gastcrTopicDesc::getTopicStatus() {
    // The credit for tax paid to another state is not asked of a
    // nonresident.
    const bool nonresident =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm69ID, kFirstCopy, form69.residency.nonresident);
    return nonresident ? kTopicStatusNotNeeded : kTopicStatusNeeded;
}

gasubTopicDesc::gasubTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGasubRow, store) {
    createScriptQueryHandler();
}
gasubTopicDesc::~gasubTopicDesc() = default;

gaunderTopicDesc::gaunderTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kGaunderRow, store) {
    createScriptQueryHandler();
}
gaunderTopicDesc::~gaunderTopicDesc() = default;
TopicMgmt::TopicStatus gaunderTopicDesc::getTopicStatus() {
    // Partly done while form 70 shows an amount due; never needed in full.
    const bool due = requireTaxReturn("getTopicStatus")->getIN(kGAForm70ID, kFirstCopy, form70.result.due) > 0;
    return due ? kTopicStatusPartial : kTopicStatusNotNeeded;
}

lowinctcTopicDesc::lowinctcTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kLowinctcRow, store) {
    createScriptQueryHandler();
}
lowinctcTopicDesc::~lowinctcTopicDesc() = default;
TopicMgmt::TopicStatus lowinctcTopicDesc::getTopicStatus() {
    // Partly done while form 70's box of a resident at the end of the year
    // (which also marks a low-income credit taken) is answered yes; never
    // needed in full.
    const bool marked =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm70ID, kFirstCopy, form70.residency.residentAtYearEnd);
    return marked ? kTopicStatusPartial : kTopicStatusNotNeeded;
}

miscbusTopicDesc::miscbusTopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kMiscbusRow, store) {
    createScriptQueryHandler();
}
miscbusTopicDesc::~miscbusTopicDesc() = default;
TopicMgmt::TopicStatus miscbusTopicDesc::getTopicStatus() {
    // Needed while form 70's question on other credits is answered yes.
    const bool marked =
        requireTaxReturn("getTopicStatus")->formYes(kGAForm70ID, kFirstCopy, form70.questions.otherCredits);
    return marked ? kTopicStatusNeeded : kTopicStatusNotNeeded;
}

sched2TopicDesc::sched2TopicDesc(DataMgmt::TaxDataStore& store) : GATopicDesc(InterviewRows::kSched2Row, store) {
    createScriptQueryHandler();
}
sched2TopicDesc::~sched2TopicDesc() = default;

}  // namespace GATopicMgmt
