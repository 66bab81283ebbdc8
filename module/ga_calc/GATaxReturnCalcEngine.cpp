#include "module/ga_calc/GATaxReturnCalcEngine.h"

#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/StateForm32783Lines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/GeorgiaForms.h"
#include "platform/Configuration.h"

namespace GACalculationMgmt {

namespace {

std::uint16_t hostCopy(int copy) { return static_cast<std::uint16_t>(copy); }

}  // namespace

GATaxReturnCalcEngine::GATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, GADataMgmt::GATaxReturn* gaReturn,
                                             TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : StateCalculationMgmt::StateTaxReturnCalcEngine(federalReturn, gaReturn, printer), gaReturn_(gaReturn) {}

GATaxReturnCalcEngine::~GATaxReturnCalcEngine() = default;

// ------------------------------------------------------------ accessors

FormId GATaxReturnCalcEngine::getMainForm() { return gaReturn_->getMainFormID(); }

FormId GATaxReturnCalcEngine::getFederalForm() { return gaReturn_->getFederalFormID(); }

char GATaxReturnCalcEngine::getFilingStatus() { return static_cast<char>(gaReturn_->getFilingStatus(getMainForm())); }

// ------------------------------------------------------- whole return

void GATaxReturnCalcEngine::calcAllForms() {
    // The calculation's place in the order is forgotten when the walk ends,
    // also when a form throws. The statements built before the walk
    // calculate the information form, which heads the order: they count as
    // its first entry.
    struct ForgetPlace {
        std::optional<std::size_t>& entry;
        ~ForgetPlace() { entry.reset(); }
    } forget{orderEntry_};
    orderEntry_ = 0;
    buildIntDivSummaries(0, kGAForm69ID, kStateForm4ID, kStateForm2ID, kStateForm2Lines.statement.firstRowInfo,
                         kStateForm3ID, kStateForm3Lines.statement.firstRowInfo);

    for (const FormId& form : {kGAForm70ID, kGAForm77ID, kGAForm189215ID, kGAForm189216ID, kGAForm187982ID}) {
        gaReturn_->getFormUVPtr(form, 1, true);
    }
    // The part-year schedule exists only for a nonresident or part-year
    // resident.
    if (gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerNonresident) ||
        gaReturn_->formYes(kGAForm69ID, 1, kForm69Lines.residency.taxpayerPartYear)) {
        gaReturn_->getFormUVPtr(kGAForm189217ID, 1, true);
    }
    if (gaReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kFederalChildCareCredit) > 0) {
        gaReturn_->getFormUVPtr(kGAForm190055ID, 1, true);
    }
    gaReturn_->getFormUVPtr(kGAForm74ID, 1, true);

    for (std::size_t i = 0; i < GACalcOrder.size() && GACalcOrder[i].getNumber() > 0; ++i) {
        orderEntry_ = i;
        calculateAllCopies(GACalcOrder[i]);
    }
    orderEntry_.reset();

    if (DataMgmt::QuarloConfiguration::getInstance()->AllowAutoTest()) {
        runAutoTest();
        const Form69Lines::AutoTestMarks& marks = kForm69Lines.autoTest;
        runScrubberHook("GA", gaReturn_, kGAForm69ID, marks.done, marks.busy);
        runCfvDaemonHook("GA", gaReturn_, kGAForm69ID, marks.done, marks.busy);
    }
}

void GATaxReturnCalcEngine::calcFormCopy(const FormId& form, int copy, int markEntered, int passThrough, int /*unused*/,
                                         DataMgmt::TaxFormPtr handle) {
    // Each form of the Georgia return goes to the operation or routine of
    // its row; any other form to none.
    if (const GAForms::GeorgiaForm* row = GAForms::findGeorgiaForm(form)) {
        const GAForms::Calculation& calculation = row->calculation;
        if (calculation.operation != nullptr) {
            (this->*calculation.operation)(form, handle, copy, passThrough);
        } else {
            (this->*calculation.routine)(handle, hostCopy(copy), passThrough);
        }
    }
    // The mark goes to the Georgia return, which holds the Georgia forms.
    if (markEntered != 0) {
        gaReturn_->setDataEntered(form, hostCopy(copy), true, false);
    }
}

void GATaxReturnCalcEngine::calcGroupedForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                            int passThrough) {
    // The forms whose rows send them here, each to its row's routine.
    const GAForms::GeorgiaForm* row = GAForms::findGeorgiaForm(form);
    if (row != nullptr && row->calculation.operation == &GATaxReturnCalcEngine::calcGroupedForm &&
        row->calculation.routine != nullptr) {
        (this->*row->calculation.routine)(handle, hostCopy(copy), passThrough);
    }
}

// ------------------------------------------------ shared state worksheets

int GATaxReturnCalcEngine::residencyCode(DataMgmt::TaxFormPtr handle) {
    // The return's residency boxes give codes 1 to 3; the fourth box of the
    // group is one the information form marks no on every calculation.
    const Form69Lines& f69 = kForm69Lines;
    const Form69Lines::Residency& r = f69.residency;
    return getRadioGroupValue(handle, kGAForm69ID, r.fullYear, r.nonresident, r.partYear, f69.filing.firstMark);
}

void GATaxReturnCalcEngine::calcStateSharedForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                                int passThrough) {
    const std::uint16_t number = hostCopy(copy);
    if (form == kStateForm4ID) {
        calcStateForm4(handle, number, passThrough);
        return;
    }
    if (form != kStateForm2ID && form != kStateForm3ID) {
        return;
    }
    const std::int16_t filingStatus = gaReturn_->getFilingStatusNumber();
    const int residency = residencyCode(handle);
    const auto extra = static_cast<std::int16_t>(passThrough);
    if (form == kStateForm2ID) {
        buildInterestStatement(handle, number, extra, kGAForm69ID, filingStatus, 0, residency);
    } else {
        buildDividendStatement(handle, number, extra, kGAForm69ID, filingStatus, 0, residency);
    }
}

void GATaxReturnCalcEngine::calcStateForm4(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    const int residency = residencyCode(handle);
    allocateStateWages(handle, gaReturn_->getAbbreviation(), kGAForm69ID,
                       static_cast<std::uint16_t>(gaReturn_->getFilingStatusNumber()), residency, 0);
    sumAllCopies(handle, residency);
    pullCommonAmount(handle);
    DataMgmt::TaxFormPtr info = gaReturn_->getFormUVPtr(kGAForm69ID, 1, false);
    if (!info.isNull()) {
        info->assignIR(kForm69Lines.residency.code, residency);
    }
    gaReturn_->setDataEntered(kStateForm4ID, copy, true, false);
    DataMgmt::TaxFormPtr worksheet = gaReturn_->getForm(kStateForm4ID, copy);
    if (!worksheet.isNull()) {
        worksheet->setCalculatedFlag(true);
    }
}

void GATaxReturnCalcEngine::markEnteredAndCalculated(const FormId& form, std::uint16_t copy) {
    gaReturn_->setDataEntered(form, copy, true, false);
    DataMgmt::TaxFormPtr handle = gaReturn_->getForm(form, copy);
    if (!handle.isNull()) {
        handle->setCalculatedFlag(true);
    }
}

// ------------------------------------------------------------ empty hooks

void GATaxReturnCalcEngine::emptyFormHook(const FormId& /*form*/, DataMgmt::TaxFormPtr /*handle*/, int /*copy*/,
                                          int /*passThrough*/) {}

void GATaxReturnCalcEngine::spareFormHook1(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}
void GATaxReturnCalcEngine::spareFormHook2(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}
void GATaxReturnCalcEngine::spareFormHook3(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}
void GATaxReturnCalcEngine::spareFormHook4(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}
void GATaxReturnCalcEngine::spareFormHook5(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}
void GATaxReturnCalcEngine::spareFormHook6(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}
void GATaxReturnCalcEngine::spareFormHook7(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int pass) {
    emptyFormHook(form, handle, copy, pass);
}

// ------------------------------------------------ before and after the walk

void GATaxReturnCalcEngine::beforeCalc() {
    updateOtherStateRows();
    rebuildSourceLinks();
    gaReturn_->getFormUVPtr(kGAForm204111ID, 1, true);
}

void GATaxReturnCalcEngine::afterCalc() {
    DataMgmt::TaxFormPtr summary = gaReturn_->getFormUVPtr(kStateForm32783ID, 1, true);
    if (summary.isNull()) {
        return;
    }
    const StateForm32783Lines& s32783 = kStateForm32783Lines;
    const Form69Lines& f69 = kForm69Lines;
    const Form70Lines& f70 = kForm70Lines;
    gaReturn_->getII(kGAForm70ID, f70.result.overpaid, summary, s32783.overpaid);
    gaReturn_->getII(kGAForm70ID, f70.result.due, summary, s32783.due);
    gaReturn_->getII(kGAForm70ID, f70.result.credited, summary, s32783.credited);
    gaReturn_->getII(kGAForm69ID, f69.estimatedPayments.further, summary, s32783.furtherEstimated);

    const bool nonresident = gaReturn_->formYes(kGAForm69ID, 1, f69.residency.taxpayerNonresident);
    if (nonresident) {
        summary->assignText(s32783.residency, "Nonresident");
    } else if (gaReturn_->formYes(kGAForm69ID, 1, f69.residency.taxpayerPartYear)) {
        summary->assignText(s32783.residency, "Part-year resident");
    } else if (gaReturn_->formYes(kGAForm69ID, 1, f69.residency.taxpayerFullYear)) {
        summary->assignText(s32783.residency, "Full-year resident");
    } else {
        summary->setNull(s32783.residency);
    }

    if (nonresident) {
        gaReturn_->getII(kGAForm189217ID, kForm189217Lines.incomeAfterAdjustments.georgia, summary, s32783.income);
        gaReturn_->getII(kGAForm70ID, f70.credits.tax, summary, s32783.tax);
    } else {
        summary->setNull(s32783.income);
        summary->setNull(s32783.tax);
    }
    gaReturn_->setDataEntered(kStateForm32783ID, 1, true, false);
}

}  // namespace GACalculationMgmt
