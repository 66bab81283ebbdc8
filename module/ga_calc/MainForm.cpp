// Georgia form 70, the main return form.
//
// Heading (filing status, residency, dates, names, address, dependents),
// exemptions and deductions, Georgia adjusted gross income, taxable income,
// the tax from the rate schedule, the low-income credit, the credits that
// reduce the tax, payments and withholding, the refund or the amount owed
// with the amounts applied from an overpayment, the deceased-filer block and
// the review mark. Every value is recomputed from its sources on each call.
//
// Reads of form 70's own results go to copy 1 through the Georgia return;
// writes go to the copy being calculated. An amount line marked "blank when
// 0" below is left empty rather than showing 0.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "module/catalogues/Form103FieldIds.h"
#include "module/catalogues/Form104FieldIds.h"
#include "module/catalogues/Form113FieldIds.h"
#include "module/catalogues/Form190FieldIds.h"
#include "module/catalogues/Form2FieldIds.h"
#include "module/catalogues/Form44FieldIds.h"
#include "module/catalogues/Form57FieldIds.h"
#include "module/catalogues/Form75FieldIds.h"
#include "module/catalogues/Form78FieldIds.h"
#include "module/catalogues/Form8FieldIds.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm189215FieldIds.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm71FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/catalogues/GAForm74FieldIds.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/UtilsMarks.h"

namespace GACalculationMgmt {

namespace {

constexpr int kTaxYear = 2018;

// Low-income credit per person by federal adjusted gross income.
double lowIncomeCreditPerPerson(double income) {
    if (income < 6000) {
        return 26;
    }
    if (income <= 7999) {
        return 20;
    }
    if (income <= 9999) {
        return 14;
    }
    if (income <= 14999) {
        return 8;
    }
    if (income <= 19999) {
        return 5;
    }
    return 0;
}

// The fields of a form from first to last, both included, in the form's
// field order; empty when either is not on the form.
std::vector<FieldId> fieldsFromTo(const DataMgmt::TaxForm& form, const FieldId& first, const FieldId& last) {
    std::vector<FieldId> fields;
    const DataMgmt::TaxFormDescPtr desc = form.getTaxFormDescriptor();
    if (desc.isNull() || desc->positionOf(first) < 0 || desc->positionOf(last) < 0) {
        return fields;
    }
    DataMgmt::QVFieldIDIter it = desc->getFieldIDs();
    for (it = first; !it.atEOL() && it <= last; it.next()) {
        fields.push_back(it.getFieldID());
    }
    return fields;
}

}  // namespace

void GATaxReturnCalcEngine::calcMainForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    DataMgmt::TaxForm& m = *handle;
    const auto& f = kGAForm70FieldIds;
    const auto& f69 = kGAForm69FieldIds;
    const auto& f92 = kForm92FieldIds;
    GADataMgmt::GATaxReturn& ga = *gaReturn_;
    const FormId federalForm = getFederalForm();
    auto common = [&](int item) { return ga.pullCommon(federalForm, 1, Utils::PCTypes{item}); };
    // Form 70's own lines, as copy 1 holds them.
    auto line = [&](const FieldId& x) { return ga.getIN(kGAForm70ID, 1, x); };
    auto blankIfZero = [&](const FieldId& x) {
        if (m.nonNull(x) && m.getIR(x) == 0.0) {
            m.setNull(x);
        }
    };
    auto assignOrBlank = [&](const FieldId& x, double v) {
        m.assignIR(x, v);
        blankIfZero(x);
    };
    auto clearRange = [&](const FieldId& first, const FieldId& last) {
        clearFieldRange(kGAForm70ID, copy, first, last);
    };

    // 1. Filing status from the federal return: single A, joint B,
    // separate C, head of household or widow(er) D.
    const double federalStatus = Utils::roundReal(static_cast<double>(common(1)));
    if (federalStatus >= 0 && federalStatus <= 9) {
        const char* letter = federalStatus <= 1 ? "A" : federalStatus == 2 ? "B" : federalStatus == 3 ? "C" : "D";
        m.assignText(f.f44, letter);
    }
    const int status = ga.getFilingStatusNumber();
    const char statusChar = static_cast<char>(status);
    m.assignIR(f.f185987, ga.getStateWages(statusChar));

    // 2. Names and identifying numbers.
    ga.getII(kGAForm69ID, f69.f193209, handle, f.f189480);
    ga.getII(kGAForm69ID, f69.f193210, handle, f.f189481);
    assignOwnerInfo(handle, kGAForm69ID, static_cast<std::int16_t>(status), f.f24, f.f25, f.f27, f.f28,
                    Primitives::kNullFieldID, f.f29, f.f30, f.f32, f.f33, Primitives::kNullFieldID,
                    Primitives::kNullFieldID, 0);
    ga.getII(kGAForm69ID, f69.f30, handle, f.f31);
    m.assignII(f.f3, f.f31);
    ga.getII(kGAForm69ID, f69.f25, handle, f.f26);

    // 3. Residency code: "1" full year, "2" part year, "3" nonresident.
    auto infoMarked = [&](const FieldId& x) { return ga.formYes(kGAForm69ID, 1, x); };
    const char* residency = "2";
    if (status == 2) {
        if (infoMarked(f69.f36) && infoMarked(f69.f96)) {
            residency = "1";
        } else if (infoMarked(f69.f38) || infoMarked(f69.f97)) {
            residency = "2";
        } else {
            residency = "3";
        }
    } else if (infoMarked(f69.f36)) {
        residency = "1";
    } else if (infoMarked(f69.f37)) {
        residency = "3";
    }
    m.assignText(f.f41, residency);

    // 4. Residency dates of a part-year return, as MM-DD-2018. A period date
    // that does not read as a date leaves its line blank.
    if (std::string(residency) != "2") {
        m.setNull(f.f42);
        m.setNull(f.f43);
    } else {
        ga.getII(kGAForm69ID, f69.f113, handle, f.f347);
        ga.getII(kGAForm69ID, f69.f114, handle, f.f348);
        auto writeDate = [&](const FieldId& source, const FieldId& target) {
            const short month = ga.dateParse(handle, source, Utils::kDateParseMonth);
            const short day = ga.dateParse(handle, source, Utils::kDateParseDay);
            if (month <= 0 || day <= 0) {
                m.setNull(target);
                return;
            }
            char text[32];
            std::snprintf(text, sizeof text, "%02d-%02d-%d", month, day, kTaxYear);
            m.assignText(target, text);
        };
        writeDate(f.f347, f.f42);
        writeDate(f.f348, f.f43);
    }

    // 5. Address and heading marks.
    ga.getII(kGAForm69ID, f69.f31, handle, f.f35);
    ga.getII(kGAForm69ID, f69.f32, handle, f.f36);
    if (ga.formYes(kForm92ID, 1, f92.f545)) {
        assignAddress(handle, f.f37, f.f38, f.f39, f.f40, f.f39, 1);
    } else {
        assignAddressFields(handle, f.f37, f.f38, f.f39, 1);
    }
    Utils::setDefaultX(handle, f.f208, f.f34, f.f34);
    auto markByText = [&](const FieldId& box, const FieldId& federalField) {
        if (!Utils::strip(ga.getFieldAsString(kForm92ID, 1, federalField)).empty()) {
            m.setX(box);
        } else {
            m.setXNo(box);
        }
    };
    markByText(f.f333, f92.f557);
    markByText(f.f209, f92.f558);
    if (ga.hasSigValue(kForm92ID, 1, f92.f843)) {
        m.makeProtected(f.f74354);
        m.assignText(f.f74354, ga.getFieldAsString(kForm92ID, 1, f92.f843));
    } else {
        m.unprotectAndMaybeSetNull(f.f74354);
    }

    // 6. Dependents: four rows of first name, last name, number and
    // relationship; from five dependents on, the list goes on the attached
    // worksheet (form 76).
    const std::int64_t dependents = common(4);
    if (dependents <= 4) {
        const std::vector<FieldId> area = fieldsFromTo(m, f.f45, f.f60);
        const auto& d = kForm113FieldIds;
        std::size_t row = 0;
        for (const std::uint16_t number : listedDependents(area.size() / 4)) {
            auto upper = [&](const FieldId& x) {
                std::string t = federalReturn()->getFieldAsString(kForm113ID, number, x);
                Utils::QVStringUtils::toUpperCase(t);
                return t;
            };
            m.assignText(area[row * 4], upper(d.f1103));
            m.assignText(area[row * 4 + 1], upper(d.f1105));
            federalReturn()->getIIM(kForm113ID, d.f1106, number, handle, area[row * 4 + 2]);
            m.assignText(area[row * 4 + 3], upper(d.f1108));
            ++row;
        }
        for (std::size_t k = row * 4; k < area.size(); ++k) {
            m.setNull(area[k]);
        }
    } else {
        clearRange(f.f45, f.f60);
        m.assignText(f.f45, "WORKSHEET");
        m.assignText(f.f49, "ATTACHED");
    }
    ga.getFormUVPtr(kGAForm76ID, 1, true);

    // 7. Exemption boxes: the taxpayer, and the spouse on a joint return or
    // on a separate return that claims the spouse.
    m.setX(f.f324);
    if (federalStatus == 2 || (federalStatus == 3 && ga.formYes(kForm92ID, 1, f92.f30))) {
        m.setX(f.f325);
        m.assignIR(f.f326, 2);
    } else {
        m.setXNo(f.f325);
        m.assignIR(f.f326, 1);
    }
    m.assignIR(f.f327, static_cast<double>(dependents));

    // 8. Standard deduction, with 1,300 more for each filer aged 65 or over
    // or blind.
    const std::int64_t itemizes = common(86);
    if (itemizes == 0) {
        m.assignIR(f.f65, status == 2 ? 6000 : status == 3 ? 3000 : 4600);
        pullCommonText(federalForm, kGAForm70ID, copy, f.f66, Utils::PCTypes{125});
        pullCommonText(federalForm, kGAForm70ID, copy, f.f67, Utils::PCTypes{126});
        if (status == 2) {
            pullCommonText(federalForm, kGAForm70ID, copy, f.f68, Utils::PCTypes{127});
            pullCommonText(federalForm, kGAForm70ID, copy, f.f69, Utils::PCTypes{128});
        } else {
            m.setXNo(f.f68);
            m.setXNo(f.f69);
        }
        double boxes = 0;
        for (const FieldId& box : {f.f66, f.f67, f.f68, f.f69}) {
            boxes += m.xMarked(box) ? 1 : 0;
        }
        storeScaledAmount(kGAForm70ID, copy, f.f70, boxes, 0);
        blankIfZero(f.f70);
        assignOrBlank(f.f71, boxes * 1300);
        m.plus2(f.f72, f.f65, f.f71);
        clearRange(f.f73, f.f79);
    }

    // 9. The taxpayer's number repeated on the later pages.
    for (const FieldId& x : {f.f80, f.f111, f.f173, f.f44953}) {
        m.assignII(x, f.f26);
    }

    // 10. Federal adjusted gross income.
    assignOrBlank(f.f62, static_cast<double>(common(80)));
    ga.getII(kForm2ID, kForm2FieldIds.f32, handle, f.f323);
    for (const FieldId& x : {f.f44948, f.f44949, f.f44950, f.f44951}) {
        m.setNull(x);
    }

    const bool fullYear = ga.formYes(kGAForm69ID, 1, f69.f110);
    if (!fullYear) {
        // 11. Part-year and nonresident returns take their taxable income
        // from their schedule.
        for (const FieldId& x : {f.f63, f.f64, f.f65}) {
            m.setNull(x);
        }
        for (const FieldId& x : {f.f66, f.f67, f.f68, f.f69}) {
            m.setXNo(x);
        }
        for (const FieldId& x :
             {f.f70, f.f71, f.f72, f.f79, f.f73, f.f74, f.f75, f.f77, f.f78, f.f81, f.f329, f.f82, f.f331, f.f332}) {
            m.setNull(x);
        }
        ga.getII(kGAForm189217ID, kGAForm189217FieldIds.f189474, handle, f.f83);
    } else {
        // 12. Georgia adjusted gross income: federal plus the adjustments.
        ga.getII(kGAForm189215ID, kGAForm189215FieldIds.f189418, handle, f.f63);
        blankIfZero(f.f63);
        m.plus2(f.f64, f.f62, f.f63);
        blankIfZero(f.f64);
        if (m.ltZero(f.f64)) {
            m.setX(f.f44949);
        }

        // 13. and 14. Itemized deductions, less the income tax deducted
        // federally that Georgia does not allow.
        if (itemizes == 1) {
            clearRange(f.f65, f.f72);
            m.assignIR(f.f73, static_cast<double>(common(85)));
            if (!ga.formYes(kForm2ID, 1, kForm2FieldIds.f14405)) {
                m.setNull(f.f74);
            } else {
                m.assignIR(f.f74, incomeTaxAdjustment(statusChar));
            }
            m.assignII(f.f77, f.f73);
            m.plus2(f.f78, f.f75, f.f74);
            m.minusIIge0(f.f79, f.f77, f.f78);
        }

        // 15. Income after deductions.
        m.assignIR(f.f81, m.getIR(f.f64) - (m.getIR(f.f72) + m.getIR(f.f79)));
        blankIfZero(f.f81);
        if (m.ltZero(f.f81)) {
            m.setX(f.f44950);
        }

        // 16. Exemptions: 2,700 a filer (3,700 on a joint or separate
        // return) and 3,000 a dependent.
        m.assignII(f.f329, f.f326);
        m.timesIR(f.f82, f.f329, status == 2 || status == 3 ? 3700 : 2700);
        m.assignII(f.f330, f.f327);
        m.timesIR(f.f331, f.f330, 3000);
        m.plus2(f.f332, f.f331, f.f82);

        // 17. Taxable income.
        m.minusII(f.f83, f.f81, f.f332);
        blankIfZero(f.f83);
        if (m.ltZero(f.f83)) {
            m.setX(f.f44951);
        }
    }

    // 18. Tax.
    const double tax = computeTaxFromRateSchedule(static_cast<double>(line(f.f83)), status);
    Utils::maybeSetValue(handle, f.f84, tax);
    double remainder = tax;
    auto takeFromRemainder = [&](double credit) {
        remainder -= credit;
        if (remainder < 0) {
            remainder = 0;
        }
    };

    // 19. Default marks, and whether the residency period runs to the end
    // of the year.
    Utils::setDefaultX(handle, f.f17406, f.f17406, f.f17405);
    Utils::setDefaultX(handle, f.f17408, f.f17408, f.f17407);
    m.setXNo(f.f6);
    if (m.offsetUserDate(f.f43) == kTaxYear * 10000 + 1231) {
        m.setX(f.f6);
    }

    // 20. Low-income credit: full-year residents, and part-year residents
    // who are residents at the end of the year.
    const bool lowIncomeConsidered =
        fullYear || (ga.formYes(kGAForm69ID, 1, f69.f111) && ga.formYes(kGAForm70ID, 1, f.f6));
    if (!lowIncomeConsidered) {
        clearRange(f.f89, f.f97);
    } else {
        m.assignIR(f.f89, static_cast<double>(common(80)));
        if (m.ltZero(f.f89)) {
            m.zero(f.f89);
        }
        if (m.getIR(f.f89) > 19999 || common(82) == 1 || m.xMarked(f.f17405) || m.xMarked(f.f17407)) {
            clearRange(f.f90, f.f97);
            m.setXNo(f.f6);
        } else {
            m.setX(f.f6);
            m.assignIR(f.f349, static_cast<double>(common(5)));
            m.minII(f.f350, f.f350, f.f349);
            m.assignIR(f.f90, static_cast<double>(line(f.f326)) + m.getIR(f.f349) - m.getIR(f.f350));
            double others = static_cast<double>(common(9));
            if (status == 2) {
                others += static_cast<double>(common(10));
            }
            m.assignIR(f.f91, others);
            m.plus2(f.f92, f.f90, f.f91);
            copyFieldOrNull(handle, f.f95, f.f92);
            m.assignIR(f.f93, lowIncomeCreditPerPerson(m.getIR(f.f89)));
            copyFieldOrNull(handle, f.f96, f.f93);
            m.timesII(f.f94, f.f92, f.f93);
            copyFieldOrNull(handle, f.f97, f.f94);
            if (m.nonNull(f.f97)) {
                m.minII(f.f97, f.f97, f.f84);
            }
            takeFromRemainder(m.getIR(f.f97));
        }
    }

    // 21. Credits against the tax, each up to what is left of it.
    const auto& f73 = kGAForm73FieldIds;
    const double otherState =
        static_cast<double>(ga.getIN(kGAForm73ID, 1, f73.f17) + ga.getIN(kGAForm73ID, 1, f73.f26));
    m.assignIR(f.f189482, std::min(otherState, remainder));
    takeFromRemainder(m.getIR(f.f189482));
    ga.getII(kGAForm74ID, kGAForm74FieldIds.f44, handle, f.f189483);
    m.minIR(f.f189483, f.f189483, remainder);
    takeFromRemainder(m.getIR(f.f189483));
    const double summary = static_cast<double>(ga.getAllCopies(kGAForm189216ID, kGAForm189216FieldIds.f189825));
    m.assignIR(f.f85, std::min(summary, remainder));
    m.plus4(f.f189484, f.f97, f.f189482, f.f189483, f.f85);
    if (m.getIR(f.f84) == 0.0) {
        clearRange(f.f89, f.f85);
    }
    m.setXNo(f.f195593);
    const double beforeCredits = m.getIR(f.f84) - m.getIR(f.f97) - m.getIR(f.f189482);
    if (beforeCredits > 0) {
        const double afterWorksheet =
            beforeCredits - static_cast<double>(ga.getIN(kGAForm74ID, 1, kGAForm74FieldIds.f44));
        if (afterWorksheet < 0) {
            m.setX(f.f195593);
        } else if (afterWorksheet - static_cast<double>(ga.getIN(kGAForm189216ID, 1, kGAForm189216FieldIds.f189825)) <
                   0) {
            m.setX(f.f195593);
        }
    }
    m.minII(f.f189484, f.f189484, f.f84);
    m.minusIIge0(f.f86, f.f84, f.f189484);
    blankIfZero(f.f86);

    // 22. Payments: Georgia tax withheld on the wage and information
    // statements, on form 70's own rows, and estimated tax paid.
    Utils::maybeSetValue(handle, f.f87, ga.getStateTaxWithheldNoLocal(statusChar));
    m.plus4(f.f245, f.f243, f.f244, f.f140462, f.f148018);
    m.assignII(f.f140463, f.f245);
    const SourceEntryFields entries[6] = {
        {f.f189485, f.f189486, f.f189487, f.f189494, f.f189495, f.f189496, f.f189503, f.f189504, f.f189509, f.f189512,
         f.f189515, f.f189518},
        {f.f189488, f.f189489, f.f189490, f.f189497, f.f189498, f.f189499, f.f189505, f.f189506, f.f189510, f.f189513,
         f.f189516, f.f189519},
        {f.f189491, f.f189492, f.f189493, f.f189500, f.f189501, f.f189502, f.f189507, f.f189508, f.f189511, f.f189514,
         f.f189517, f.f189520},
        {f.f189521, f.f189522, f.f189523, f.f189530, f.f189531, f.f189532, f.f189539, f.f189540, f.f189545, f.f189548,
         f.f189551, f.f189554},
        {f.f189524, f.f189525, f.f189526, f.f189533, f.f189534, f.f189535, f.f189541, f.f189542, f.f189546, f.f189549,
         f.f189552, f.f189555},
        {f.f189527, f.f189528, f.f189529, f.f189536, f.f189537, f.f189538, f.f189543, f.f189544, f.f189547, f.f189550,
         f.f189553, f.f189556},
    };
    const FieldId links[6] = {f.f190488, f.f190489, f.f190490, f.f190491, f.f190492, f.f190493};
    for (int k = 0; k < 6; ++k) {
        checkSourceLink(kGAForm70ID, copy, links[k], entries[k]);
    }
    Utils::maybeSetValue(handle, f.f88,
                         static_cast<double>(ga.getIN(kGAForm69ID, 1, f69.f75) + ga.getIN(kGAForm69ID, 1, f69.f76)));
    m.plus3(f.f98, f.f87, f.f140463, f.f88);
    blankIfZero(f.f98);

    // 23. Underpayment penalty from form 71.
    const auto& f71 = kGAForm71FieldIds;
    if (ga.formYes(kGAForm71ID, 1, f71.f7)) {
        ga.getII(kGAForm71ID, f71.f87, handle, f.f105);
        m.setX(f.f74353);
    } else {
        m.setNull(f.f105);
        m.setXNo(f.f74353);
    }

    // 24. Amounts applied from an overpayment (contributions and the like),
    // and the overpayment or the tax due.
    m.setValueToSumOf(f.f351, f.f104, f.f102, f.f103, f.f13471, f.f24014, f.f35452, f.f44952, f.f178308, f.f197058,
                      Primitives::kNullFieldID);
    m.minusIIge0(f.f99, f.f86, f.f98);
    blankIfZero(f.f99);
    m.minusIIge0(f.f100, f.f98, f.f86);
    blankIfZero(f.f100);
    for (const FieldId& x : {f.f132297, f.f132298, f.f132301, f.f132302}) {
        m.setNull(x);
    }

    // 25. Balance due (106) or refund (107).
    auto amount = [&](const FieldId& x) { return static_cast<double>(m.getIN(x)); };
    const double applied = amount(f.f102) + amount(f.f103) + amount(f.f104) + amount(f.f13471) + amount(f.f24014) +
                           amount(f.f35452) + amount(f.f44952) + amount(f.f178308) + amount(f.f197058);
    if (line(f.f99) > 0) {
        m.setNull(f.f107);
        m.makeProtectedAndSetNull(f.f101);
        m.assignIR(f.f106, amount(f.f99) + applied + amount(f.f105));
    } else if (line(f.f100) > 0) {
        m.setNull(f.f106);
        m.unProtect(f.f101);
        m.minIR(f.f101, f.f101, static_cast<double>(line(f.f100)));
        blankIfZero(f.f101);
        const double left = amount(f.f100) - (amount(f.f101) + applied + amount(f.f105));
        if (left < 0) {
            m.setNull(f.f107);
            m.assignIR(f.f106, -left);
        } else {
            m.setNull(f.f106);
            m.assignIR(f.f107, left);
            if (ga.hasSigValue(kGAForm69ID, 1, f69.f77)) {
                // Direct deposit of the refund.
                ga.getII(kGAForm69ID, f69.f81, handle, f.f132297);
                ga.getII(kGAForm69ID, f69.f82, handle, f.f132298);
                ga.getII(kGAForm69ID, f69.f79, handle, f.f132301);
                ga.getII(kGAForm69ID, f69.f80, handle, f.f132302);
            }
        }
    } else {
        m.setNull(f.f107);
        m.makeProtectedAndSetNull(f.f101);
        m.setNull(f.f105);
        assignOrBlank(f.f106, applied);
    }

    // 26. Federal field 671 when the federal return has it.
    if (ga.hasSigValue(kForm92ID, 1, f92.f671)) {
        ga.getII(kForm92ID, f92.f671, handle, f.f110);
    } else {
        m.unProtect(f.f110);
    }

    // 27. Deceased taxpayer, else deceased spouse: the date of death from
    // the federal return, "DECEASED", and that filer's first and last name.
    auto deceased = [&](const FieldId& dateOfDeath, const FieldId& firstName, const FieldId& lastName) {
        ga.getII(kForm92ID, dateOfDeath, handle, f.f18);
        if (m.isNull(f.f18)) {
            for (const FieldId& x : {f.f18, f.f17, f.f19, f.f20}) {
                m.setNull(x);
            }
            return false;
        }
        m.assignText(f.f17, "DECEASED");
        m.assignII(f.f19, firstName);
        m.assignII(f.f20, lastName);
        return true;
    };
    if (!deceased(f92.f557, f.f24, f.f27)) {
        deceased(f92.f558, f.f29, f.f32);
    }

    // 28. Review mark: the return needs a closer look.
    const auto& f104 = kForm104FieldIds;
    const auto& f57 = kForm57FieldIds;
    const auto& s215 = kGAForm189215FieldIds;
    const bool review =
        (ga.getIN(kGAForm189215ID, 1, s215.f189281) > 0 && ga.formNo(kGAForm69ID, 1, f69.f110)) ||
        (ga.getIN(kGAForm189215ID, 1, s215.f189266) > 0 && ga.formYes(kGAForm69ID, 1, f69.f111)) ||
        ga.hasSigValue(kForm104ID, 1, f104.f102) || ga.getIR(kForm8ID, 1, kForm8FieldIds.f69) < 0 ||
        ga.getIR(kForm8ID, 1, kForm8FieldIds.f142) < 0 || ga.getIR(kForm57ID, 1, f57.f100) < 0 ||
        ga.getIR(kForm44ID, 1, kForm44FieldIds.f19) > 0 || ga.getIR(kForm103ID, 1, kForm103FieldIds.f51) > 0 ||
        ga.getIR(kForm103ID, 1, kForm103FieldIds.f57) > 0 || ga.formYes(kGAForm69ID, 1, f69.f196259) ||
        ga.formYes(kForm104ID, 1, f104.f106) || ga.formYes(kForm104ID, 1, f104.f102) ||
        ga.formYes(kForm104ID, 1, f104.f114) || ga.formYes(kForm104ID, 1, f104.f118) ||
        ga.getIR(kForm75ID, 1, kForm75FieldIds.f66) != 0 || m.gtZero(f.f315) || m.gtZero(f.f316) ||
        ga.getIN(kForm57ID, 1, f57.f329) + ga.getIN(kForm57ID, 1, f57.f330) > 0 ||
        ga.formYes(kForm78ID, copy, kForm78FieldIds.f11981) || ga.formYes(kForm78ID, copy, kForm78FieldIds.f120);
    if (review) {
        m.setX(f.f33441);
    } else {
        m.setNull(f.f33441);
    }

    // 29.
    ga.setDataEntered(kGAForm70ID, copy, true, false);
    m.setCalculatedFlag(true);
}

// The part of the federal deduction for state and local income tax that is
// Georgia's own or another state's tax of the year: the income tax paid
// (estimated and extension payments, other states' withholding, Georgia
// withholding above what the federal return deducts) over the income tax
// deducted, applied to the federal deduction beyond its limit.
double GATaxReturnCalcEngine::incomeTaxAdjustment(char filingStatus) {
    GADataMgmt::GATaxReturn& ga = *gaReturn_;
    const auto& f190 = kForm190FieldIds;
    const auto& f2 = kForm2FieldIds;

    double otherStates = 0.0;
    double paid = 0.0;
    DataMgmt::TaxFormPtr form190 = ga.getFormUVPtr(kForm190ID, 1, false);
    if (!form190.isNull()) {
        const DataMgmt::TaxFormDescPtr desc = form190->getTaxFormDescriptor();
        const std::int64_t yearStart = Utils::dateToNumber(1, 1, kTaxYear);
        const std::int64_t yearEnd = Utils::dateToNumber(12, 31, kTaxYear);
        // Rows of (date, amount, state) whose date lies in the tax year, and
        // rows of (-, amount, state) whatever the date.
        auto addRows = [&](const FieldId& first, const FieldId& second, const FieldId& lastStart, bool dated) {
            DataMgmt::QVFieldIDIter row = desc->getFieldIDs();
            const int step = desc->positionOf(second) - desc->positionOf(first);
            if (desc->positionOf(first) < 0 || step <= 0) {
                return;
            }
            for (row = first; !row.atEOL() && row <= lastStart; row += step) {
                const FieldId dateField = row.getFieldID();
                const FieldId amountField = (row + 1).getFieldID();
                const FieldId stateField = (row + 2).getFieldID();
                if (amountField.isNullID() || stateField.isNullID()) {
                    break;
                }
                std::string state = ga.getFieldAsString(kForm190ID, 1, stateField);
                Utils::QVStringUtils::toUpperCase(state);
                if (Utils::QVStringUtils::stricmp(state, "GA") == 0) {
                    continue;
                }
                if (dated) {
                    const std::int64_t day = Utils::strDateToNumber(ga.getFieldAsString(kForm190ID, 1, dateField));
                    if (day < yearStart || day > yearEnd) {
                        continue;
                    }
                }
                otherStates += static_cast<double>(ga.getIN(kForm190ID, 1, amountField));
            }
        };
        addRows(f190.f10, f190.f13, f190.f37, true);
        addRows(f190.f98, f190.f101, f190.f107, false);
        paid = static_cast<double>(ga.getIN(kForm190ID, 1, f190.f71) + ga.getIN(kForm190ID, 1, f190.f84) +
                                   ga.getIN(kForm190ID, 1, f190.f97) + ga.getIN(kForm190ID, 1, f190.f123) -
                                   ga.getIN(kGAForm69ID, 1, kGAForm69FieldIds.f49));
    }

    const double withheld = ga.getStateTaxWithheld(filingStatus);
    const double deducted = static_cast<double>(ga.getIN(kForm2ID, 1, f2.f10));
    double allowedWithholding = std::min(withheld, deducted);
    if (deducted - allowedWithholding <= 5.0) {
        allowedWithholding = deducted;
    }
    const double incomeTax = paid + otherStates + deducted - allowedWithholding;
    const double base = static_cast<double>(ga.getIN(kForm2ID, 1, f2.f203981) - ga.getIN(kForm2ID, 1, f2.f17) -
                                            ga.getIN(kForm2ID, 1, f2.f188));
    return proportionalShare(incomeTax, deducted, base);
}

}  // namespace GACalculationMgmt
