// Transfers from the federal return into the heading of the state
// information form: the heading rows (names, numbers, address), the federal
// main form filed, the owner information and enabled type, the residency
// status, the filing options, the heading choice block taken from federal
// form 183, and the driver licence or state ID block.
//
// Each operation receives the information-form copy being calculated and the
// state's own fields; the federal fields are fixed. An optional field whose
// number is 0 or less is absent and every step that names it is skipped.
#include <algorithm>
#include <array>
#include <string>

#include "module/catalogues/FieldTripleTable.h"
#include "module/catalogues/Form104Lines.h"
#include "module/catalogues/Form183Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/OwnerInfoLines.h"
#include "module/catalogues/StateForm14Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/util/UtilsMarks.h"

namespace StateCalculationMgmt {

namespace {

bool present(FieldId field) { return !field.isNullID(); }

// The form operations, each skipping an absent field.
struct InfoCopy {
    DataMgmt::TaxForm& form;

    bool marked(FieldId f) const { return present(f) && form.xMarked(f); }
    bool isNull(FieldId f) const { return !present(f) || form.isNull(f); }
    void mark(FieldId f) const {
        if (present(f)) form.setX(f);
    }
    void unmark(FieldId f) const {
        if (present(f)) form.setXNo(f);
    }
    void protect(FieldId f) const {
        if (present(f)) form.makeProtected(f);
    }
    void unprotect(FieldId f) const {
        if (present(f)) form.unProtect(f);
    }
    void protectAndNull(FieldId f) const {
        if (present(f)) form.makeProtectedAndSetNull(f);
    }
    void setNull(FieldId f) const {
        if (present(f)) form.setNull(f);
    }
    void text(FieldId f, const std::string& t) const {
        if (present(f)) form.assignText(f, t);
    }
};

}  // namespace

int StateTaxReturnCalcEngine::getResidencyStatus(bool spouse) {
    const std::string abbreviation = stateReturn_->getAbbreviation();
    for (const Form92Lines::ResidencyRow& row : kForm92Lines.residencyRows) {
        const std::string state = taxReturn->formString(kForm92ID, 1, row.state);
        if (Utils::QVStringUtils::stricmp(state, abbreviation) != 0) {
            continue;
        }
        const std::string status = taxReturn->formString(kForm92ID, 1, spouse ? row.spouse : row.taxpayer);
        if (Utils::QVStringUtils::stricmp(status, "Full-year resident") == 0) {
            return Residency::kFullYear;
        }
        if (Utils::QVStringUtils::stricmp(status, "Part-year resident") == 0) {
            return Residency::kPartYear;
        }
        if (Utils::QVStringUtils::stricmp(status, "Nonresident") == 0) {
            return Residency::kNonresident;
        }
    }
    // No federal row decides: the state of the home address does.
    const FieldId addressState = kFieldTripleTable[13 * kFieldTripleColumns + 3];
    std::string homeState;
    if (present(addressState)) {
        homeState = stateReturn_->formString(stateReturn_->getInfoForm(), 1, addressState);
    }
    return Utils::QVStringUtils::stricmp(homeState, abbreviation) == 0 ? Residency::kFullYear : Residency::kNonresident;
}

FormId StateTaxReturnCalcEngine::getCheckBoxStatus() {
    DataMgmt::TaxFormPtr copy = taxReturn->getFormUVPtr(kForm104ID, 1, false);
    if (!copy.isNull()) {
        if (copy->xMarked(kForm104Lines.filedOnForm87)) {
            return kForm87ID;
        }
        if (copy->xMarked(kForm104Lines.filedOnForm55)) {
            return kForm55ID;
        }
    }
    return kForm1ID;
}

void StateTaxReturnCalcEngine::transferHeadingRows(DataMgmt::TaxFormPtr info, FormId federalForm,
                                                   const FormId& ownerInfoForm, const FormId& enabledTypeForm,
                                                   const HeadingRowFields& rows, FieldId field736Target,
                                                   FieldId form1Box, FieldId form55Box, FieldId form87Box) {
    if (info.isNull()) {
        return;
    }
    InfoCopy form{*info};

    buildFieldTripleTable();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        kFieldTripleTable[r * kFieldTripleColumns + 3] = rows[r];
    }
    kFieldTripleTable[15 * kFieldTripleColumns + 3] = Primitives::kNullFieldID;

    // The federal main form: a box the user has fixed stands; otherwise the
    // federal return says which form was filed.
    form.unmark(form1Box);
    form.unmark(form55Box);
    form.unmark(form87Box);
    if (!form.marked(form1Box) && !form.marked(form55Box) && !form.marked(form87Box)) {
        federalForm = getCheckBoxStatus();
        if (federalForm == kForm87ID) {
            form.mark(form87Box);
        } else if (federalForm == kForm55ID) {
            form.mark(form55Box);
        } else {
            form.mark(form1Box);
        }
    }
    const std::size_t column = federalForm == kForm55ID ? 1 : federalForm == kForm87ID ? 2 : 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const FieldId target = rows[r];
        const FieldId source = kFieldTripleTable[r * kFieldTripleColumns + column];
        if (!present(target)) {
            continue;
        }
        if (present(source)) {
            taxReturn->getII(federalForm, source, info, target);
        } else {
            form.setNull(target);
        }
    }
    if (present(field736Target)) {
        taxReturn->getII(kForm92ID, kForm92Lines.careOf, info, field736Target);
    }

    DataMgmt::TaxFormPtr owner = stateReturn_->getFormUVPtr(ownerInfoForm, 1, true);
    if (!owner.isNull()) {
        const auto& o = kOwnerInfoLines;
        assignOwnerInfo(owner, stateReturn_->getInfoForm(), 2, o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8],
                        o[9], Primitives::kNullFieldID, 0);
        stateReturn_->setDataEntered(ownerInfoForm, 1, true, false);
        owner->setCalculatedFlag(true);
    }
    DataMgmt::TaxFormPtr enabled = stateReturn_->getFormUVPtr(enabledTypeForm, 1, true);
    if (!enabled.isNull()) {
        enabled->assignIR(kStateForm14Lines.enabledType, static_cast<double>(stateReturn_->getEnabledType()));
    }
}

namespace {

// The filing options of the information form: three choices (the third
// optional), the box that takes the details from the federal return, its
// companion, four details and up to three further kinds of account.
struct FilingOptionFields {
    FieldId choiceA, choiceB, choiceC;
    FieldId detailD, companionE;
    FieldId detail1, detail2, detail3, detail4;
    FieldId typeBox3, typeBox4, typeBox5;
};

// With no choice marked: the first when the federal return asks for the
// deposit (and the details come from it when it has the account's numbers),
// else the third where there is one, else the second.
void defaultFilingChoice(const DataMgmt::TaxReturn& federal, const InfoCopy& form, const FilingOptionFields& o) {
    if (form.marked(o.choiceA) || form.marked(o.choiceB) || form.marked(o.choiceC)) {
        return;
    }
    const Form92Lines::Deposit& deposit = kForm92Lines.deposit;
    if (federal.formYes(kForm92ID, 1, deposit.wanted) || federal.formYes(kForm92ID, 1, deposit.wantedToo)) {
        form.mark(o.choiceA);
        form.unmark(o.choiceB);
        form.unmark(o.choiceC);
        if (federal.hasSigValue(kForm92ID, 1, deposit.routingNumber) &&
            federal.hasSigValue(kForm92ID, 1, deposit.accountNumber)) {
            form.mark(o.detailD);
        }
    } else if (present(o.choiceC)) {
        form.unmark(o.choiceA);
        form.unmark(o.choiceB);
        form.mark(o.choiceC);
    } else {
        form.unmark(o.choiceA);
        form.mark(o.choiceB);
    }
}

// One choice at most; the third is closed while the first is marked.
void keepOneFilingChoice(const InfoCopy& form, const FilingOptionFields& o) {
    if (present(o.choiceC)) {
        form.form.oneX(o.choiceA, o.choiceB, o.choiceC);
        if (form.marked(o.choiceA)) {
            form.protect(o.choiceC);
        } else {
            form.unprotect(o.choiceC);
        }
    } else {
        form.form.oneX(o.choiceA, o.choiceB, o.choiceB);
    }
}

// The details taken from the federal return, closed to entry.
void copyFederalDetails(DataMgmt::TaxReturn& federal, DataMgmt::TaxFormPtr info, const InfoCopy& form,
                        const FilingOptionFields& o) {
    const Form92Lines::Deposit& deposit = kForm92Lines.deposit;
    form.text(o.detail1, federal.formString(kForm92ID, 1, deposit.routingNumber));
    form.text(o.detail2, federal.formString(kForm92ID, 1, deposit.accountNumber));
    if (present(o.detail3)) {
        federal.getII(kForm92ID, deposit.checking, info, o.detail3);
    }
    if (present(o.detail4)) {
        federal.getII(kForm92ID, deposit.savings, info, o.detail4);
    }
    form.unmark(o.typeBox3);
    form.unmark(o.typeBox4);
    form.unmark(o.typeBox5);
}

// The details open to entry, one kind of account marked.
void openDetails(DataMgmt::TaxFormPtr info, const InfoCopy& form, const FilingOptionFields& o) {
    for (FieldId field : {o.detail1, o.detail2, o.detail3, o.detail4, o.typeBox3, o.typeBox4, o.typeBox5}) {
        form.unprotect(field);
    }
    if (!present(o.typeBox3)) {
        Utils::setDefaultX(info, o.detail3, o.detail4, o.detail4);
    } else if (!present(o.typeBox4)) {
        Utils::setDefaultX(info, o.detail3, o.detail4, o.typeBox3);
    } else if (!present(o.typeBox5)) {
        form.form.oneX4AndDefault(o.detail3, o.detail4, o.typeBox3, o.typeBox4);
    } else {
        form.form.oneXAndDefault(o.detail3, o.detail4, o.typeBox3, o.typeBox4, o.typeBox5);
    }
}

}  // namespace

void StateTaxReturnCalcEngine::transferFilingOptions(DataMgmt::TaxFormPtr info, FieldId choiceA, FieldId choiceB,
                                                     FieldId detailD, FieldId companionE, FieldId detail1,
                                                     FieldId detail2, FieldId detail3, FieldId detail4,
                                                     FieldId typeBox3, FieldId typeBox4, FieldId typeBox5,
                                                     FieldId choiceC) {
    if (info.isNull()) {
        return;
    }
    const InfoCopy form{*info};
    const FilingOptionFields o{.choiceA = choiceA,
                               .choiceB = choiceB,
                               .choiceC = choiceC,
                               .detailD = detailD,
                               .companionE = companionE,
                               .detail1 = detail1,
                               .detail2 = detail2,
                               .detail3 = detail3,
                               .detail4 = detail4,
                               .typeBox3 = typeBox3,
                               .typeBox4 = typeBox4,
                               .typeBox5 = typeBox5};

    // The default is chosen at the engine's first calculation.
    if (!filingOptionsDefaulted_) {
        filingOptionsDefaulted_ = true;
        defaultFilingChoice(*taxReturn, form, o);
    }
    keepOneFilingChoice(form, o);

    for (FieldId field : {detailD, companionE, detail1, detail2, detail3, detail4, typeBox3, typeBox4, typeBox5}) {
        form.protect(field);
    }
    if (!form.marked(choiceA)) {
        return;  // the detail stays protected with its values
    }
    form.unprotect(companionE);
    if (taxReturn->formYes(kForm92ID, 1, kForm92Lines.deposit.federalOnly)) {
        form.unmark(detailD);
    } else {
        form.unprotect(detailD);
    }
    if (form.marked(detailD)) {
        copyFederalDetails(*taxReturn, info, form, o);
    } else {
        openDetails(info, form, o);
    }
}

void StateTaxReturnCalcEngine::protectHeadingFields(DataMgmt::TaxFormPtr info, FieldId yesBox, FieldId noBox,
                                                    FieldId detailBox, FieldId detailCompanion, FieldId detailText1,
                                                    FieldId detailText2, FieldId detail3, FieldId detail4,
                                                    FieldId optionBox5, FieldId optionBox6, FieldId optionBox7) {
    if (info.isNull()) {
        return;
    }
    InfoCopy form{*info};
    const std::array<FieldId, 3> options{optionBox5, optionBox6, optionBox7};

    if (form.marked(yesBox) && form.marked(noBox)) {
        form.unmark(noBox);
    }
    if (!form.marked(yesBox)) {
        for (FieldId field : {detailBox, detailCompanion, detailText1, detailText2, detail3, detail4}) {
            form.protect(field);
        }
        for (FieldId field : options) {
            form.protect(field);
        }
        return;
    }

    form.unprotect(detailBox);
    form.unprotect(detailCompanion);
    if (form.marked(detailBox)) {
        const auto& details = kForm183Lines.withdrawal.details;
        form.text(detailText1, taxReturn->formString(kForm183ID, 1, details[0]));
        form.protect(detailText1);
        form.text(detailText2, taxReturn->formString(kForm183ID, 1, details[1]));
        form.protect(detailText2);
        if (present(detail3)) {
            taxReturn->getII(kForm183ID, details[2], info, detail3);
            form.protect(detail3);
        }
        if (present(detail4)) {
            taxReturn->getII(kForm183ID, details[3], info, detail4);
            form.protect(detail4);
        }
        for (FieldId field : options) {
            form.unmark(field);
            form.protect(field);
        }
    } else {
        for (FieldId field : {detailText1, detailText2, detail3, detail4}) {
            form.unprotect(field);
        }
        for (FieldId field : options) {
            form.unprotect(field);
        }
    }
}

namespace {

// One filer's licence block, from the federal answers: an answer already
// marked on the form stands, else the first federal one marked; a text on
// the form is kept, an empty one is filled from the federal return; the
// no-expiration box follows the federal one while it is empty. Returns
// whether one of the other answers (no licence details) is marked, which
// empties and closes the details.
bool transferLicence(const DataMgmt::TaxReturn& federal, const InfoCopy& form, const LicenceLines& own,
                     const LicenceLines& fed) {
    const auto federalYes = [&](FieldId field) { return federal.formYes(kForm92ID, 1, field); };
    const std::array<FieldId, 4> answers{own.firstIdBox, own.secondIdBox, own.firstOtherAnswer, own.secondOtherAnswer};
    const std::array<FieldId, 4> federalAnswers{fed.firstIdBox, fed.secondIdBox, fed.firstOtherAnswer,
                                                fed.secondOtherAnswer};
    const std::array<FieldId, 4> texts{own.number, own.issuingState, own.issueDate, own.expirationDate};
    const std::array<FieldId, 4> federalTexts{fed.number, fed.issuingState, fed.issueDate, fed.expirationDate};

    for (FieldId field : answers) {
        form.unprotect(field);
    }
    for (FieldId field : texts) {
        form.unprotect(field);
    }
    const bool anyAnswer = std::any_of(answers.begin(), answers.end(), [&](FieldId f) { return form.marked(f); });
    for (std::size_t i = 0; !anyAnswer && i < answers.size(); ++i) {
        if (federalYes(federalAnswers[i])) {
            form.mark(answers[i]);
            break;
        }
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string source = federal.formString(kForm92ID, 1, federalTexts[i]);
        if (!source.empty() && present(texts[i]) && form.isNull(texts[i])) {
            form.text(texts[i], source);
        }
    }
    if (present(own.noExpirationBox) && form.isNull(own.noExpirationBox)) {
        if (federalYes(fed.noExpirationBox)) {
            form.mark(own.noExpirationBox);
        } else {
            form.unmark(own.noExpirationBox);
        }
    }
    form.form.setOptionGroupSelection(&own.firstIdBox, &own.secondIdBox, &own.firstOtherAnswer, &own.secondOtherAnswer,
                                      &Primitives::kNullFieldID);
    const bool noDetails = form.marked(own.firstOtherAnswer) || form.marked(own.secondOtherAnswer);
    for (FieldId field : texts) {
        if (noDetails) {
            form.protectAndNull(field);
        } else {
            form.unprotect(field);
        }
    }
    if (noDetails) {
        form.protectAndNull(own.noExpirationBox);
    }
    return noDetails;
}

}  // namespace

void StateTaxReturnCalcEngine::transferDriverLicenseInfo(DataMgmt::TaxFormPtr info, const FilerLicenceLines& own) {
    if (info.isNull()) {
        return;
    }
    const InfoCopy form{*info};
    const FilerLicenceLines& fed = kForm92Lines.licence;
    const bool carriesSpouse = FilingStatus::carriesSpouseId(stateReturn_->getFilingStatusNumber());

    // Taxpayer. Without licence details the box stays emptied and protected.
    if (!transferLicence(*taxReturn, form, own.taxpayer, fed.taxpayer)) {
        if (!form.isNull(own.taxpayer.expirationDate)) {
            if (carriesSpouse) {
                form.protectAndNull(own.taxpayer.noExpirationBox);
            } else {
                form.setNull(own.taxpayer.noExpirationBox);
            }
        } else {
            form.unprotect(own.taxpayer.noExpirationBox);
        }
    }

    // Spouse: only on a return that carries the spouse.
    const LicenceLines& spouse = own.spouse;
    if (!carriesSpouse) {
        for (FieldId field :
             {spouse.secondOtherAnswer, spouse.firstOtherAnswer, spouse.number, spouse.issuingState, spouse.issueDate,
              spouse.expirationDate, spouse.noExpirationBox, spouse.firstIdBox, spouse.secondIdBox}) {
            form.protectAndNull(field);
        }
        return;
    }
    if (!transferLicence(*taxReturn, form, spouse, fed.spouse)) {
        if (!form.isNull(spouse.expirationDate)) {
            form.setNull(spouse.noExpirationBox);
        } else {
            form.unprotect(spouse.noExpirationBox);
        }
    }
}

}  // namespace StateCalculationMgmt
