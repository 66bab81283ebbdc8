// Form 189215, the Georgia additions and subtractions: what the three parts
// of its calculation (additions, retirement income exclusion, subtractions)
// work with. Its lines are named in Form189215Lines. Internal to the
// calculation.
#pragma once

#include <cstdint>

#include "module/catalogues/Form189215Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt::adjustments {

inline const Form189215Lines& kLines = kForm189215Lines;

// What every step of the schedule works with: the engine, the Georgia return
// (federal forms are read through it), the copy being calculated and the
// facts of the return that the steps test.
struct Schedule {
    GATaxReturnCalcEngine& engine;
    GADataMgmt::GATaxReturn& ga;
    mutable DataMgmt::TaxFormPtr handle;  // the host passes it on by reference
    DataMgmt::TaxForm& form;
    std::uint16_t copy;
    int filingStatus;
    bool joint;     // married filing jointly
    bool fullYear;  // a full-year Georgia resident
    FormId federalForm;

    double line(const FieldId& x) const { return form.getIR(x); }
    double common(Utils::PCTypes item) const { return static_cast<double>(ga.pullCommon(federalForm, 1, item)); }
    double allCopies(const FormId& source, const FieldId& x) const {
        return static_cast<double>(ga.getAllCopies(source, x));
    }
    // The field added over the copies whose key field holds the key.
    double keyed(const FormId& source, const FieldId& x, const FieldId& key, std::int64_t value) const {
        return static_cast<double>(ga.maybeGetFromAllCopies(source, x, key, value));
    }
    // A field of copy 1 of a federal form.
    double federalLine(const FormId& source, const FieldId& x) const { return ga.getIR(source, 1, x); }
    void blankIfZero(const FieldId& x) const {
        if (form.nonNull(x) && form.getIR(x) == 0.0) {
            form.setNull(x);
        }
    }
    // An indicator line holds 1 while its test holds and is blank otherwise.
    void indicator(const FieldId& x, bool holds) const {
        if (holds) {
            form.assignIR(x, 1);
        } else {
            form.setNull(x);
        }
    }
    void markOrBlank(const FieldId& x, bool holds) const {
        if (holds) {
            form.setX(x);
        } else {
            form.setNull(x);
        }
    }
};

void calcAdditions(const Schedule& s);
void calcRetirementExclusion(const Schedule& s);
void calcSubtractions(const Schedule& s);

}  // namespace GACalculationMgmt::adjustments
