// The audit walk and the checks every state form shares: the Form 2555
// e-file block, the e-file copy limit, and overridden and tentative fields.

#include "module/review/StateTaxFormAuditor.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "module/frame/FormIdentifiers.h"
#include "platform/Exceptions.h"

namespace StateAuditMgmt {

namespace {

constexpr const char* kClassName = "StateTaxFormAuditor";

// Whether each state, by state number 1 to 37, refuses the e-file of a
// return whose federal return has a Form 2555 (foreign earned income).
constexpr std::array<bool, 37> kForm2555BlocksEFile{
    false, true,  true,  false, false, false, true,  true,  true,  true, true,  true,  true,
    false, true,  false, true,  true,  false, false, true,  false, true, false, false, true,
    true,  false, true,  true,  true,  false, true,  false, false, true, false,
};

StateDataMgmt::StateTaxReturn* requireStateReturn(DataMgmt::TaxReturn* federalReturn,
                                                  DataMgmt::TaxReturn& stateReturn) {
    if (federalReturn == nullptr) {
        throw Exceptions::QuarloException("the federal return is missing", kClassName, "StateTaxFormAuditor");
    }
    auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(&stateReturn);
    if (state == nullptr) {
        throw Exceptions::QuarloException("the state return is not a state return", kClassName, "StateTaxFormAuditor");
    }
    return state;
}

StateTaxFormPrintMgmt::StateTaxFormPrinter* requireStatePrinter(const TaxFormPrintMgmt::TaxFormPrinterPtr& printer) {
    auto* statePrinter = dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(printer.get());
    if (statePrinter == nullptr) {
        throw Exceptions::QuarloException("the printer is missing or not a state printer", kClassName,
                                          "StateTaxFormAuditor");
    }
    return statePrinter;
}

}  // namespace

StateTaxFormAuditor::StateTaxFormAuditor(DataMgmt::TaxReturn* federalReturn, DataMgmt::TaxReturn& stateReturn,
                                         DataMgmt::QuarloConfiguration*& configuration,
                                         CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                         TaxFormPrintMgmt::TaxFormPrinterPtr& printer)
    : AuditMgmt::TaxFormAuditor(stateReturn, configuration, engine),
      federalReturn(federalReturn),
      stateReturn(requireStateReturn(federalReturn, stateReturn)),
      printer(requireStatePrinter(printer)) {}

StateTaxFormAuditor::~StateTaxFormAuditor() = default;

std::string StateTaxFormAuditor::stateName() const {
    std::string name;
    stateReturn->getStateName(name);
    return name;
}

std::string StateTaxFormAuditor::stateCode() const {
    std::string code;
    stateReturn->getStateCode(code);
    return code;
}

// ------------------------------------------------------------ the walk

AuditMgmt::AuditReportPtr StateTaxFormAuditor::auditReturn(AuditMgmt::AuditType type) {
    auditType = type;
    createNewReport(type);

    // The printer's two counts add up to the number of entries to walk; the
    // walk never goes past the list, nor runs on a negative count.
    StateTaxFormPrintMgmt::FormIdList forms;
    signed char count = 0;
    signed char second = 0;
    printer->formsToAudit(forms, count, second);
    const int entries =
        std::clamp(static_cast<int>(count) + static_cast<int>(second), 0, static_cast<int>(forms.size()));

    for (int i = 0; i < entries; ++i) {
        for (DataMgmt::TaxFormIter copies = stateReturn->getForms(forms[static_cast<std::size_t>(i)]); !copies.atEOL();
             copies.next()) {
            DataMgmt::TaxFormPtr copy = copies.getTaxForm();
            if (copy.isNull()) {
                continue;
            }
            const FormID formType = copy->getTaxFormDescriptor()->getTypeID();
            auditStateForms(AuditMgmt::kNoAuditHelpID, TopicID(0), false, formType, copy, copy->getCopyNumber());
        }
    }
    return getAuditReport();
}

// ------------------------------------------------------------ shared checks

bool StateTaxFormAuditor::hasNonZeroKeyField(DataMgmt::TaxFormPtr copy) {
    constexpr FieldID kStateTaxWithheld(16);
    return copy->getIN(kStateTaxWithheld) != 0;
}

void StateTaxFormAuditor::auditFormCommon(const std::string& helpId, TopicID topic, bool /*flag*/,
                                          const FormID& formType, DataMgmt::TaxFormPtr copyHandle, std::uint16_t copy) {
    // The information form stands for the whole return: the Form 2555 block
    // is checked once there, and the list-mode count starts afresh.
    if (formType == stateReturn->getInfoForm()) {
        firedCount = 0;
        reportEFileFailure(helpId, topic, false, kClassEFile, stateBlocksForm2555EFile(), kTypeEFileBlocker, formType,
                           0, FieldID(0),
                           "You cannot electronically file your " + stateName() +
                               " return because you have filed a federal Form 2555 or 2555EZ",
                           kStateOnlySentence);
    }
    if (stateReturn->InElf()) {
        if (!copyHandle.isNull()) {
            if (copy == 1) {
                checkEFileCopyLimit(helpId, topic, false, formType);
            }
            overrideCheckOneForm(helpId, topic, false, copyHandle, formType, copy, kForm92ID);
        }
    } else if (messageClassMask == 0) {
        checkOverriddenFields(helpId, topic, false, formType, copy);
    }
}

bool StateTaxFormAuditor::stateBlocksForm2555EFile() {
    if (!federalReturn->isForm2555Present()) {
        return false;
    }
    const std::int32_t state = stateReturn->getStateNumber();
    if (state < 1 || state > static_cast<std::int32_t>(kForm2555BlocksEFile.size())) {
        return true;
    }
    return kForm2555BlocksEFile[static_cast<std::size_t>(state - 1)];
}

void StateTaxFormAuditor::checkEFileCopyLimit(const std::string& helpId, TopicID topic, bool flag, const FormID& form) {
    const int allowed = static_cast<std::int16_t>(maxEFileCopies(form));
    const int present = stateReturn->numFormCopies(form);
    if (present <= allowed) {
        return;
    }
    const std::string name = stateReturn->formName(form);
    std::string text;
    char type = kTypeCopyLimit;
    if (allowed == 0) {
        text = name + " may not be filed electronically.";
        type = kTypeNotEFileable;
    } else if (allowed == 1) {
        text = "Only 1 copy of " + name + "  may be filed electronically.";
    } else {
        text = "Only " + std::to_string(allowed) + " copies of " + name + " may be filed electronically.";
    }
    epFailMsg(helpId, topic, flag, true, type, 0, form, 1, FieldID(1), text.c_str());
}

void StateTaxFormAuditor::checkOverriddenFields(const std::string& helpId, TopicID topic, bool flag, const FormID& form,
                                                std::uint16_t copy) {
    const DataMgmt::TaxFormPtr handle = stateReturn->getForm(form, copy);
    if (handle.isNull()) {
        return;
    }
    std::vector<FieldID> fields;
    for (DataMgmt::QVFieldIDIter it = handle->getTaxFormDescriptor()->getFieldIDs(); !it.atEOL(); it.next()) {
        fields.push_back(it.getFieldID());
    }
    // Overridden fields first, then tentative ones, each with its value in
    // double quotes.
    for (const FieldID& field : fields) {
        if (!handle->noOverride(field)) {
            const std::string text = "\"" + handle->valueString(field) + "\"";
            showAuditMsg(helpId, topic, flag, true, kTypeOverridden, 0, form, copy, field, text.c_str());
        }
    }
    for (const FieldID& field : fields) {
        if (handle->getField(field)->isTentative()) {
            const std::string text = "\"" + handle->valueString(field) + "\"";
            showAuditMsg(helpId, topic, flag, true, kTypeTentative, 0, form, copy, field, text.c_str());
        }
    }
}

}  // namespace StateAuditMgmt
