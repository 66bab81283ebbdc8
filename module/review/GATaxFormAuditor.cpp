// The Georgia audit dispatch and the information form's checks.

#include "module/review/GATaxFormAuditor.h"

#include <array>

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/GeorgiaForms.h"
#include "platform/Exceptions.h"

namespace GAAuditMgmt {

using namespace StateAuditMgmt;

namespace {

GADataMgmt::GATaxReturn* requireGeorgiaReturn(DataMgmt::TaxReturn& stateReturn) {
    auto* ga = dynamic_cast<GADataMgmt::GATaxReturn*>(&stateReturn);
    if (ga == nullptr) {
        throw Exceptions::QuarloException("the state return is not the Georgia return", "GATaxFormAuditor",
                                          "GATaxFormAuditor");
    }
    return ga;
}

// Forms the tax office does not accept yet, ended by form 0: none this year.
const std::array<FormID, 1> kNotFinalForms{{FormID(0, true)}};

const char* const kDeceasedText =
    "This program does not support electronic filing of returns for deceased taxpayers or spouses.";

}  // namespace

GATaxFormAuditor::GATaxFormAuditor(DataMgmt::TaxReturn* federalReturn, DataMgmt::TaxReturn& stateReturn,
                                   DataMgmt::QuarloConfiguration* configuration,
                                   CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                   TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : StateTaxFormAuditor(federalReturn, stateReturn, configuration, engine, printer),
      gaReturn(requireGeorgiaReturn(stateReturn)) {
    engine.release();
    printer.release();
}

GATaxFormAuditor::~GATaxFormAuditor() = default;

void GATaxFormAuditor::report(int messageClass, bool fires, char type, const FormID& form, std::uint16_t copy,
                              FieldID field, const std::string& text) {
    reportAuditMessage(AuditMgmt::kNoAuditHelpID, TopicID(0), false, messageClass, fires, type, form, copy, field, text,
                       kNoSentence);
}

void GATaxFormAuditor::auditStateForms(const std::string& helpId, TopicID topic, bool /*flag*/, const FormID& formType,
                                       DataMgmt::TaxFormPtr copyHandle, std::uint16_t copy) {
    auditFormCommon(helpId, topic, false, formType, copyHandle, copy);
    // Then the check of the form's row; a form of no row gets the shared
    // checks alone.
    if (const GAForms::GeorgiaForm* row = GAForms::findGeorgiaForm(formType)) {
        (this->*row->review)(copyHandle, copy);
    }
}

std::uint16_t GATaxFormAuditor::maxEFileCopies(const FormID& form) { return gaReturn->numFormCopies(form); }

void GATaxFormAuditor::auditNoChecks(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t /*copyNumber*/) {}

// ------------------------------------------------------------ the information form

// A part-year resident's period must not end before it begins (a return file
// gives only dates of the tax year; their order is the filer's to put right).
void GATaxFormAuditor::checkResidencyPeriod(const DataMgmt::TaxForm& copy, std::uint16_t copyNumber) {
    const Form69Lines::Residency& residency = kForm69Lines.residency;
    const std::string from = copy.valueString(residency.periodFrom);
    const std::string to = copy.valueString(residency.periodTo);
    const std::int64_t fromDay = Utils::strDateToNumber(from);
    const std::int64_t toDay = Utils::strDateToNumber(to);
    report(kClassBoth, fromDay > 0 && toDay > 0 && toDay < fromDay, kTypeInconsistent, kGAForm69ID, copyNumber,
           residency.periodTo,
           "Your Georgia residency period ends on " + to + ", before it begins on " + from +
               ". Correct the dates of your part-year residency.");
}

void GATaxFormAuditor::auditInfoForm(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const Form69Lines& f69 = kForm69Lines;
    const std::string& help = AuditMgmt::kNoAuditHelpID;
    const TopicID topic(0);

    if (kNotFinalForms[0].getNumber() > 0 && !configuration()->AllowAutoTest()) {
        auditNonFinalForms(kNotFinalForms);
    }
    auditResidencyAddress(help, topic, false, kGAForm69ID, f69.residency.taxpayerFullYear,
                          f69.residency.taxpayerNonresident, f69.heading.state);
    checkResidencyPeriod(*copy, copyNumber);

    // A deceased taxpayer or spouse keeps the return off e-file.
    const bool deceased = federalReturn->hasSigValue(kForm92ID, 1, kForm92Lines.taxpayerDeceased) ||
                          federalReturn->hasSigValue(kForm92ID, 1, kForm92Lines.spouseDeceased);
    reportEFileFailure(help, topic, false, kClassEFileRecorded, deceased, kTypeEFileBlocker, FormID(0), copyNumber,
                       FieldID(0), kDeceasedText, kStateOnlySentence);

    const bool refundPositive =
        gaReturn->getLineValue(gaReturn->getMainFormID(), 1, GADataMgmt::SummaryLine::kRefund) > 0;
    const Form69Lines::Options& o = f69.options;
    auditDirectDeposit(help, topic, false, kGAForm69ID, kClassEFile, refundPositive, o.directDeposit,
                       o.depositFromFederal, FieldID(0), o.depositRouting, o.depositAccount, o.depositChecking,
                       o.depositSavings, FieldID(0), FieldID(0), FieldID(0));

    // The W-2 state data matter only to an e-file.
    if (eFileCheckMode != 0) {
        constexpr std::uint16_t kGeorgiaWageChecks = 0x4B1;
        auditStateWageData(help, topic, false, kGAForm69ID, kGeorgiaWageChecks, false);
    }
    constexpr int kGeorgia1099GCopyLimit = 10;
    auditForm1099GEFile(help, topic, false, true, kGeorgia1099GCopyLimit, 0, 0, 1);
    constexpr std::uint16_t kPayerIdCheck = 16;
    auditForm1099GPayer(help, topic, false, kPayerIdCheck);
    constexpr int kCareOfOurProgram = 3;
    auditCareOf(help, topic, false, kCareOfOurProgram);
    checkBalanceDuePayment(kClassEFile);
    auditMissingStateInfo(static_cast<int>(copy->getIN(f69.residency.code)));
    auditDriverLicense(help, topic, false, kGAForm69ID, kClassEFile, kForm69Lines.licence);
}

}  // namespace GAAuditMgmt
