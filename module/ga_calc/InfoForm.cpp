// Georgia form 69, the information form.
//
// The heading rows (names, numbers, address) and the federal form filed come
// from the federal return through the state layer; then the main form is
// calculated once on the values the information form had so far; then the
// residency boxes of both filers and of the return, the part-year period, the
// state rows of federal form 190, the main form and filing status, the
// version text of state form 14, the filing choices and their defaults, the
// bank and filing options, the withdrawal of the amount owed, the driver
// licence blocks and the two marks taken from the federal form 78 copies.

#include <string>

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form78Lines.h"
#include "module/catalogues/StateForm14Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/Managers.h"
#include "platform/util/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

const Form69Lines& lines = kForm69Lines;
const FieldId none = Primitives::kNullFieldID;

// One calculation of one copy of form 69, in the order the form fills.
class InfoFormCalculation {
public:
    InfoFormCalculation(GATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr handle, std::uint16_t copy)
        : engine_(engine), ga_(*engine.gaReturn()), handle_(handle), info_(*handle), copy_(copy) {}

    void run() {
        const auto& h = lines.heading;
        engine_.transferHeadingRows(handle_, engine_.getFederalForm(), kStateForm15ID, kStateForm14ID, h.rows, none,
                                    h.filedForm1, h.filedForm55, h.filedForm87);
        calculateMainFormFirst();
        fillFilerResidency();
        fillReturnResidency();
        fillResidencyPeriod();
        fillEstimatedPayments();
        fillFilingStatus();
        fillOptions();
        fillWithdrawal();
        fillChoiceDefaults();
        fillLicences();
        fillForm78Marks();
        ga_.setDataEntered(kGAForm69ID, copy_, true, false);
    }

private:
    void markOne(const FieldId& yes, const FieldId& no1, const FieldId& no2) {
        info_.setX(yes);
        info_.setXNo(no1);
        info_.setXNo(no2);
    }

    void calculateMainFormFirst();
    void fillFilerResidency();
    void fillReturnResidency();
    void fillResidencyPeriod();
    void fillEstimatedPayments();
    void fillFilingStatus();
    void fillOptions();
    void fillWithdrawal();
    void fillChoiceDefaults();
    void fillLicences();
    void fillForm78Marks();

    GATaxReturnCalcEngine& engine_;
    GADataMgmt::GATaxReturn& ga_;
    DataMgmt::TaxFormPtr handle_;
    DataMgmt::TaxForm& info_;
    const std::uint16_t copy_;
    int status_ = FilingStatus::kSingle;
};

// The main form is calculated first, on this form's values of the previous
// pass; its filing status then holds for this form.
void InfoFormCalculation::calculateMainFormFirst() {
    DataMgmt::TaxFormPtr mainForm = ga_.getFormUVPtr(kGAForm70ID, 1, true);
    if (!mainForm.isNull()) {
        engine_.calcFormCopy(kGAForm70ID, 1, 0, 0, 0, mainForm);
    }
    status_ = ga_.getFilingStatusNumber();
}

// Each filer's residency: an entered box stands; without one, the taxpayer
// takes the residency the federal return gives and the spouse follows the
// taxpayer.
void InfoFormCalculation::fillFilerResidency() {
    const auto& r = lines.residency;
    info_.setXNo(lines.filing.firstMark);
    info_.oneX(r.taxpayerFullYear, r.taxpayerPartYear, r.taxpayerNonresident);
    if (!info_.xMarked(r.taxpayerFullYear) && !info_.xMarked(r.taxpayerPartYear) &&
        !info_.xMarked(r.taxpayerNonresident)) {
        switch (engine_.getResidencyStatus(false)) {
            case Residency::kPartYear:
                info_.setX(r.taxpayerPartYear);
                break;
            case Residency::kNonresident:
                info_.setX(r.taxpayerNonresident);
                break;
            default:
                info_.setX(r.taxpayerFullYear);
                break;
        }
    }
    info_.oneX(r.spouseFullYear, r.spousePartYear, r.spouseNonresident);
    if (!info_.xMarked(r.spouseFullYear) && !info_.xMarked(r.spousePartYear) && !info_.xMarked(r.spouseNonresident)) {
        if (info_.xMarked(r.taxpayerFullYear)) {
            info_.setX(r.spouseFullYear);
        } else if (info_.xMarked(r.taxpayerPartYear)) {
            info_.setX(r.spousePartYear);
        } else {
            info_.setX(r.spouseNonresident);
        }
    }
    info_.oneX(r.thirdFullYear, r.thirdPartYear, r.thirdNonresident);
}

// The return's residency: full year, part year or nonresident. A joint
// return is full-year only when both filers are, nonresident only when both
// are; every other mix is part year.
void InfoFormCalculation::fillReturnResidency() {
    const auto& r = lines.residency;
    bool fullYear = info_.xMarked(r.taxpayerFullYear);
    bool nonresident = !fullYear && info_.xMarked(r.taxpayerNonresident);
    if (status_ == FilingStatus::kJoint) {
        fullYear = fullYear && info_.xMarked(r.spouseFullYear);
        nonresident = !fullYear && info_.xMarked(r.taxpayerNonresident) && info_.xMarked(r.spouseNonresident);
    }
    if (fullYear) {
        markOne(r.fullYear, r.partYear, r.nonresident);
    } else if (nonresident) {
        markOne(r.nonresident, r.partYear, r.fullYear);
    } else {
        markOne(r.partYear, r.fullYear, r.nonresident);
    }
}

// A part-year return's residency period, the whole year unless dates are
// entered; other returns have none.
void InfoFormCalculation::fillResidencyPeriod() {
    const auto& r = lines.residency;
    if (!info_.xMarked(r.partYear)) {
        info_.makeProtectedAndSetNull(r.periodTo);
        info_.makeProtectedAndSetNull(r.periodFrom);
        return;
    }
    info_.unProtect(r.periodFrom);
    info_.unProtect(r.periodTo);
    if (info_.isNull(r.periodFrom)) {
        info_.assignText(r.periodFrom, "01/01/" + std::to_string(TaxYear::kYear));
    }
    if (info_.isNull(r.periodTo)) {
        info_.assignText(r.periodTo, "12/31/" + std::to_string(TaxYear::kYear));
    }
}

// The estimated payments of the Georgia rows of federal form 190, and the
// marks of the amounts above 0 (a zero or negative amount leaves its mark as
// it was).
void InfoFormCalculation::fillEstimatedPayments() {
    const auto& paid = lines.estimatedPayments;
    engine_.transferStateRows(handle_, paid.undated, paid.datedTotal, paid.total, paid.amounts);
    if (info_.gtZero(paid.undated)) {
        info_.setX(paid.undatedMark);
    }
    if (info_.gtZero(paid.datedTotal)) {
        info_.setX(paid.datedTotalMark);
    }
    if (info_.gtZero(paid.further)) {
        info_.setX(paid.furtherMark);
    }
}

// The main form's number and the filing status, the product version on
// state form 14, and the filing choice.
void InfoFormCalculation::fillFilingStatus() {
    const auto& f = lines.filing;
    info_.assignIR(f.mainForm, engine_.getMainForm().getNumber());
    info_.assignIR(f.filingStatus, status_);
    DataMgmt::TaxFormPtr shared = ga_.getFormUVPtr(kStateForm14ID, 1, true);
    if (!shared.isNull()) {
        shared->assignText(kStateForm14Lines.version, BusinessMgmt::BusinessMgr::getInstance().getVersion());
    }
    Utils::handleFilingChoice(handle_, f.choiceA, f.choiceB);
}

// The bank and filing options, unless the return is filed on paper with no
// direct deposit; then the defaults of the choice pairs.
void InfoFormCalculation::fillOptions() {
    const auto& o = lines.options;
    for (const FieldId& x : {o.directDeposit, o.depositFromFederal, o.option83, o.option84}) {
        info_.unProtect(x);
    }
    if (!info_.xMarked(o.paperNoDeposit)) {
        engine_.transferFilingOptions(handle_, o.directDeposit, o.otherRefundChoice, o.depositFromFederal, none,
                                      o.depositRouting, o.depositAccount, o.depositChecking, o.depositSavings, none,
                                      none, none, none);
    } else {
        info_.makeProtectedAndSetNull(o.directDeposit);
        info_.makeProtectedAndSetNull(o.depositFromFederal);
        for (const FieldId& x : {o.depositRouting, o.depositAccount, o.depositChecking, o.depositSavings}) {
            info_.setNull(x);
        }
        info_.makeProtectedAndSetNull(o.option83);
        info_.makeProtectedAndSetNull(o.option84);
    }
}

// The withdrawal of the amount owed: its answers and account, and the
// amount (the summary's line 27).
void InfoFormCalculation::fillWithdrawal() {
    const auto& w = lines.withdrawal;
    engine_.protectHeadingFields(handle_, w.yes, w.no, w.fromFederal, none, w.routingNumber, w.accountNumber,
                                 w.checking, w.savings, none, none, none);
    info_.assignIR(w.amountOwed, static_cast<double>(
                                     ga_.getLineValue(engine_.getMainForm(), 1, GADataMgmt::SummaryLine::kAmountOwed)));
}

// The defaults of the choice pairs.
void InfoFormCalculation::fillChoiceDefaults() {
    for (const auto& [box, pairBox, byDefault] : lines.options.defaults) {
        Utils::setDefaultX(handle_, box, pairBox, byDefault);
    }
    info_.oneX(lines.options.choice33437, lines.options.choice33436, lines.options.choice33436);
}

// Names, addresses and the driver licence blocks; the issuing state stands
// beside a filled licence number only.
void InfoFormCalculation::fillLicences() {
    const auto& l = lines.licence;
    engine_.transferDriverLicenseInfo(handle_, l);
    info_.makeProtected(l.taxpayer.issuingState);
    info_.makeProtected(l.spouse.issuingState);
    for (const LicenceLines& filer : {l.taxpayer, l.spouse}) {
        if (info_.nonNull(filer.number)) {
            info_.assignText(filer.issuingState, ga_.getAbbreviation());
        } else {
            info_.setNull(filer.issuingState);
        }
    }
}

// Federal form 78: whether the return has any copy, and any copy with either
// of its two boxes marked.
void InfoFormCalculation::fillForm78Marks() {
    const auto& m = lines.form78;
    info_.setXNo(m.anyCopyMarked);
    info_.setXNo(m.anyCopy);
    for (DataMgmt::TaxFormIter it = engine_.federalReturn()->getForms(kForm78ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr form78 = it.getTaxForm();
        if (form78.isNull()) {
            continue;
        }
        info_.setX(m.anyCopy);
        const auto& boxes = kForm78Lines.reviewedBoxes;
        if (form78->xMarked(boxes[0]) || form78->xMarked(boxes[1])) {
            info_.setX(m.anyCopyMarked);
        }
    }
}

}  // namespace

void GATaxReturnCalcEngine::calcInfoForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    InfoFormCalculation(*this, handle, copy).run();
}

}  // namespace GACalculationMgmt
