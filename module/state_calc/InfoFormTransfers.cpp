// Transfers from the federal return into the heading of the state
// information form: the heading rows (names, numbers, address), the federal
// main form filed, the owner information and enabled type, the residency
// status, the filing options, the heading choice block taken from federal
// form 183, and the driver licence or state ID block.
//
// Each operation receives the information-form copy being calculated and the
// state's own fields; the federal fields are fixed. An optional field whose
// number is 0 or less is absent and every step that names it is skipped.
#include <array>
#include <string>

#include "module/catalogues/FieldTripleTable.h"
#include "module/catalogues/Form104FieldIds.h"
#include "module/catalogues/Form183FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/OwnerInfoFieldIds.h"
#include "module/catalogues/StateForm14FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/util/UtilsMarks.h"

namespace StateCalculationMgmt {

namespace {

// Whether the defaulting step of the filing options has run in this module
// life.
bool filingOptionsDefaulted = false;

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

void StateTaxReturnCalcEngine::rearmFilingOptionsDefaulting() { filingOptionsDefaulted = false; }

int StateTaxReturnCalcEngine::getResidencyStatus(bool spouse) {
    const std::string abbreviation = stateReturn_->getAbbreviation();
    const auto& f92 = kForm92FieldIds;
    struct ResidencyRow {
        FieldId state;
        FieldId taxpayer;
        FieldId spouse;
    };
    const std::array<ResidencyRow, 3> rows{{
        {f92.f675, f92.f43844, f92.f43845},
        {f92.f679, f92.f43846, f92.f43847},
        {f92.f683, f92.f43848, f92.f43849},
    }};
    for (const ResidencyRow& row : rows) {
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
        if (copy->xMarked(kForm104FieldIds.f183)) {
            return kForm87ID;
        }
        if (copy->xMarked(kForm104FieldIds.f181)) {
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
        taxReturn->getII(kForm92ID, kForm92FieldIds.f736, info, field736Target);
    }

    DataMgmt::TaxFormPtr owner = stateReturn_->getFormUVPtr(ownerInfoForm, 1, true);
    if (!owner.isNull()) {
        const auto& ownerInfo = kOwnerInfoFieldIds;
        assignOwnerInfo(owner, stateReturn_->getInfoForm(), 2, ownerInfo.f1, ownerInfo.f2, ownerInfo.f3, ownerInfo.f4,
                        ownerInfo.f5, ownerInfo.f6, ownerInfo.f7, ownerInfo.f8, ownerInfo.f9, ownerInfo.f10,
                        Primitives::kNullFieldID, 0);
        stateReturn_->setDataEntered(ownerInfoForm, 1, true, false);
        owner->setCalculatedFlag(true);
    }
    DataMgmt::TaxFormPtr enabled = stateReturn_->getFormUVPtr(enabledTypeForm, 1, true);
    if (!enabled.isNull()) {
        enabled->assignIR(kStateForm14FieldIds.f23, static_cast<double>(stateReturn_->getEnabledType()));
    }
}

void StateTaxReturnCalcEngine::transferFilingOptions(DataMgmt::TaxFormPtr info, FieldId choiceA, FieldId choiceB,
                                                     FieldId detailD, FieldId companionE, FieldId detail1,
                                                     FieldId detail2, FieldId detail3, FieldId detail4,
                                                     FieldId typeBox3, FieldId typeBox4, FieldId typeBox5,
                                                     FieldId choiceC) {
    if (info.isNull()) {
        return;
    }
    InfoCopy form{*info};
    const auto& f92 = kForm92FieldIds;
    auto federalYes = [&](FieldId field) { return taxReturn->formYes(kForm92ID, 1, field); };

    // Defaulting, once per module life, when no choice is marked.
    if (!filingOptionsDefaulted) {
        filingOptionsDefaulted = true;
        if (!form.marked(choiceA) && !form.marked(choiceB) && !form.marked(choiceC)) {
            if (federalYes(f92.f536) || federalYes(f92.f765)) {
                form.mark(choiceA);
                form.unmark(choiceB);
                form.unmark(choiceC);
                if (taxReturn->hasSigValue(kForm92ID, 1, f92.f392) && taxReturn->hasSigValue(kForm92ID, 1, f92.f391)) {
                    form.mark(detailD);
                }
            } else if (present(choiceC)) {
                form.unmark(choiceA);
                form.unmark(choiceB);
                form.mark(choiceC);
            } else {
                form.unmark(choiceA);
                form.mark(choiceB);
            }
        }
    }

    // One choice at most.
    if (present(choiceC)) {
        form.form.oneX(choiceA, choiceB, choiceC);
        if (form.marked(choiceA)) {
            form.protect(choiceC);
        } else {
            form.unprotect(choiceC);
        }
    } else {
        form.form.oneX(choiceA, choiceB, choiceB);
    }

    for (FieldId field : {detailD, companionE, detail1, detail2, detail3, detail4, typeBox3, typeBox4, typeBox5}) {
        form.protect(field);
    }
    if (!form.marked(choiceA)) {
        return;  // the detail stays protected with its values
    }

    form.unprotect(companionE);
    if (federalYes(f92.f70126)) {
        form.unmark(detailD);
    } else {
        form.unprotect(detailD);
    }

    if (form.marked(detailD)) {
        // The details come from the federal return and stay protected.
        form.text(detail1, taxReturn->formString(kForm92ID, 1, f92.f392));
        form.text(detail2, taxReturn->formString(kForm92ID, 1, f92.f391));
        if (present(detail3)) {
            taxReturn->getII(kForm92ID, f92.f393, info, detail3);
        }
        if (present(detail4)) {
            taxReturn->getII(kForm92ID, f92.f394, info, detail4);
        }
        form.unmark(typeBox3);
        form.unmark(typeBox4);
        form.unmark(typeBox5);
        return;
    }

    for (FieldId field : {detail1, detail2, detail3, detail4, typeBox3, typeBox4, typeBox5}) {
        form.unprotect(field);
    }
    if (!present(typeBox3)) {
        Utils::setDefaultX(info, detail3, detail4, detail4);
    } else if (!present(typeBox4)) {
        Utils::setDefaultX(info, detail3, detail4, typeBox3);
    } else if (!present(typeBox5)) {
        form.form.oneX4AndDefault(detail3, detail4, typeBox3, typeBox4);
    } else {
        form.form.oneXAndDefault(detail3, detail4, typeBox3, typeBox4, typeBox5);
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
        const auto& f183 = kForm183FieldIds;
        form.text(detailText1, taxReturn->formString(kForm183ID, 1, f183.f188832));
        form.protect(detailText1);
        form.text(detailText2, taxReturn->formString(kForm183ID, 1, f183.f188833));
        form.protect(detailText2);
        if (present(detail3)) {
            taxReturn->getII(kForm183ID, f183.f188834, info, detail3);
            form.protect(detail3);
        }
        if (present(detail4)) {
            taxReturn->getII(kForm183ID, f183.f188835, info, detail4);
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

// The federal form 92 sources of one filer's licence block, in the order of
// DriverLicenseFields' options 1-4, texts 1-4 and box.
struct LicenseSources {
    FieldId option1, option2, option3, option4;
    FieldId text1, text2, text3, text4;
    FieldId box;
};

}  // namespace

void StateTaxReturnCalcEngine::transferDriverLicenseInfo(DataMgmt::TaxFormPtr info, const DriverLicenseFields& taxpayer,
                                                         const DriverLicenseFields& spouse) {
    if (info.isNull()) {
        return;
    }
    InfoCopy form{*info};
    const auto& f92 = kForm92FieldIds;
    const LicenseSources taxpayerSources{f92.f195137, f92.f195138, f92.f195615, f92.f199001, f92.f184582,
                                         f92.f184584, f92.f184586, f92.f184588, f92.f195613};
    const LicenseSources spouseSources{f92.f195139, f92.f195140, f92.f195616, f92.f199002, f92.f184583,
                                       f92.f184585, f92.f184587, f92.f184589, f92.f195614};
    const int filingStatus = stateReturn_->getFilingStatusNumber();
    auto federalYes = [&](FieldId field) { return taxReturn->formYes(kForm92ID, 1, field); };

    // Steps shared by both filers. Returns whether option 3 or 4 (no licence
    // details) is marked.
    auto transferOne = [&](const DriverLicenseFields& t, const LicenseSources& s) {
        const std::array<FieldId, 4> options{t.option1, t.option2, t.option3, t.option4};
        const std::array<FieldId, 4> optionSources{s.option1, s.option2, s.option3, s.option4};
        const std::array<FieldId, 4> texts{t.text1, t.text2, t.text3, t.text4};
        const std::array<FieldId, 4> textSources{s.text1, s.text2, s.text3, s.text4};

        for (FieldId field : options) {
            form.unprotect(field);
        }
        for (FieldId field : texts) {
            form.unprotect(field);
        }
        bool anyOption = false;
        for (FieldId field : options) {
            anyOption = anyOption || form.marked(field);
        }
        if (!anyOption) {
            for (std::size_t i = 0; i < options.size(); ++i) {
                if (federalYes(optionSources[i])) {
                    form.mark(options[i]);
                    break;
                }
            }
        }
        // A text on the form is kept; an empty one is filled from the
        // federal return.
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string source = taxReturn->formString(kForm92ID, 1, textSources[i]);
            if (!source.empty() && present(texts[i]) && form.isNull(texts[i])) {
                form.text(texts[i], source);
            }
        }
        if (present(t.box) && form.isNull(t.box)) {
            if (federalYes(s.box)) {
                form.mark(t.box);
            } else {
                form.unmark(t.box);
            }
        }
        form.form.setOptionGroupSelection(&t.option1, &t.option2, &t.option3, &t.option4, &Primitives::kNullFieldID);
        const bool noDetails = form.marked(t.option3) || form.marked(t.option4);
        if (noDetails) {
            for (FieldId field : texts) {
                form.protectAndNull(field);
            }
            form.protectAndNull(t.box);
        } else {
            for (FieldId field : texts) {
                form.unprotect(field);
            }
        }
        return noDetails;
    };

    // Taxpayer. Without licence details the box stays emptied and protected.
    if (!transferOne(taxpayer, taxpayerSources)) {
        if (!form.isNull(taxpayer.text4)) {
            if (FilingStatus::carriesSpouseId(filingStatus)) {
                form.protectAndNull(taxpayer.box);
            } else {
                form.setNull(taxpayer.box);
            }
        } else {
            form.unprotect(taxpayer.box);
        }
    }

    // Spouse: only on a return that carries the spouse.
    if (!FilingStatus::carriesSpouseId(filingStatus)) {
        for (FieldId field : {spouse.option4, spouse.option3, spouse.text1, spouse.text2, spouse.text3, spouse.text4,
                              spouse.box, spouse.option1, spouse.option2}) {
            form.protectAndNull(field);
        }
        return;
    }
    if (!transferOne(spouse, spouseSources)) {
        if (!form.isNull(spouse.text4)) {
            form.setNull(spouse.box);
        } else {
            form.unprotect(spouse.box);
        }
    }
}

}  // namespace StateCalculationMgmt
