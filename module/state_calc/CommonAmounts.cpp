// Common federal items that state forms take as they are: texts, numbers and
// boxes by common item number (pullCommonText), and the totals of the state
// wage worksheet (pullCommonAmount, sumAllCopies).
#include <string>

#include "module/catalogues/Form1FieldIds.h"
#include "module/catalogues/Form55FieldIds.h"
#include "module/catalogues/Form87FieldIds.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/StateForm4FieldIds.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "module/state_calc/StatementLines.h"
#include "platform/Exceptions.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kClassName = "StateTaxReturnCalcEngine";

using Item = Utils::PCTypes;

// The federal main forms as the common items tell them apart: form 1, form
// 55, and every other form read as form 87.
enum class MainForm { Form1, Form55, Form87 };

// The text of field n of copy 1 of a federal form, at most width characters;
// an empty field or a missing copy gives "".
std::string fieldText(DataMgmt::TaxReturn& federal, const FormId& form, const FieldId& n, short width) {
    DataMgmt::TaxFormPtr copy = federal.getFormUVPtr(form, 1, false);
    if (copy.isNull()) {
        return std::string();
    }
    if (copy->isNull(n)) {
        return std::string();
    }
    return federal.getText(copy->getLongValue(n), width, DataMgmt::kJustifyLeft);
}

// One fill of one state field from a common text or box item, by the kind
// of item: a heading text, a box, a text of federal form 92, the refund's
// bank account.
class CommonText {
public:
    CommonText(DataMgmt::TaxReturn& federal, StateDataMgmt::StateTaxReturn& state, MainForm main, FormId source,
               DataMgmt::TaxFormPtr targetCopy, const FieldId& target)
        : federal_(federal),
          state_(state),
          main_(main),
          source_(source),
          targetCopy_(targetCopy),
          to_(*targetCopy),
          target_(target),
          width_(to_.getMaxLength(target)) {}

    void fill(Item item) {
        switch (static_cast<int>(item)) {
            case 116:
            case 117:
            case 118:
            case 120:
            case 121:
            case 123:
            case 129:
            case 130:
                fillHeadingText(item);
                break;
            case 119:
            case 122:
            case 124:
            case Item::kTaxpayerAged65Box:
            case Item::kTaxpayerBlindBox:
            case Item::kSpouseAged65Box:
            case Item::kSpouseBlindBox:
                fillBox(item);
                break;
            case 141:
            case 142:
            case 143:
            case Item::kTaxpayerDateOfDeath:
            case Item::kSpouseDateOfDeath:
            case Item::kDirectDepositBox:
                fillFromForm92(item);
                break;
            case Item::kRefundRoutingNumber:
            case Item::kRefundAccountNumber:
                fillAccountText(item == Item::kRefundRoutingNumber);
                break;
            case Item::kRefundToChecking:
            case Item::kRefundToSavings:
                fillAccountBox(item == Item::kRefundToChecking);
                break;
            default:
                // Items 131 to 140 only say that the field takes no entry.
                to_.setNoEntry(target_, true);
                break;
        }
    }

private:
    void copyText(const FieldId& n) {
        to_.assignText(target_, intdiv::cutText(fieldText(federal_, source_, n, 80), width_));
    }
    void copyField(const FormId& form, const FieldId& n) { federal_.getII(form, n, targetCopy_, target_); }
    std::string form92Text(const FieldId& n) const { return Utils::strip(federal_.formString(kForm92ID, 1, n)); }
    bool yes(const FormId& form, const FieldId& n) const { return federal_.formYes(form, 1, n); }
    // A text found is shown and closed to entry; without one the filer may
    // type it, and whatever stands stays.
    void protectOrRelease(const std::string& text) {
        if (!text.empty()) {
            to_.makeProtected(target_);
            to_.assignText(target_, text);
        } else {
            to_.unProtect(target_);
        }
    }

    void fillHeadingText(Item item);
    void fillBox(Item item);
    void fillFromForm92(Item item);
    void fillAccountText(bool routingNumber);
    void fillAccountBox(bool checking);
    int accountChoice() const;

    DataMgmt::TaxReturn& federal_;
    StateDataMgmt::StateTaxReturn& state_;
    const MainForm main_;
    const FormId source_;
    DataMgmt::TaxFormPtr targetCopy_;
    DataMgmt::TaxForm& to_;
    const FieldId& target_;
    const std::size_t width_;
};

// Texts of the federal main form's heading and of federal form 92; a return
// filed on form 87 has most of them not.
void CommonText::fillHeadingText(Item item) {
    const auto& f1 = kForm1FieldIds;
    const auto& f55 = kForm55FieldIds;
    const auto& f87 = kForm87FieldIds;
    const auto& f92 = kForm92FieldIds;
    const bool form87 = main_ == MainForm::Form87;
    switch (static_cast<int>(item)) {
        case 116:
            form87 ? to_.setNull(target_) : copyText(f1.f21);
            break;
        case 117:
            if (form87) {
                to_.setNull(target_);
            } else {
                to_.assignText(target_, federal_.formString(kForm92ID, 1, f92.f27) + " " +
                                            federal_.formString(kForm92ID, 1, f92.f13447));
            }
            break;
        case 118:
            form87 ? to_.setNull(target_) : copyField(kForm92ID, f92.f486);
            break;
        case 120: {
            // The number is printed whole, however large.
            const std::int64_t value = form87 ? 0 : federal_.getIN(kForm92ID, 1, f92.f28);
            if (value == 0) {
                to_.setNull(target_);
                break;
            }
            std::string text = std::to_string(value);
            if (text.size() > width_) {
                text = text.substr(text.size() - width_);
            }
            to_.assignText(target_, text);
            break;
        }
        case 121:
            main_ == MainForm::Form1 ? copyText(f1.f98) : to_.setNull(target_);
            break;
        case 123: {
            if (main_ != MainForm::Form1) {
                to_.setNull(target_);
                break;
            }
            // A description and its amount: "text $amount".
            const std::string lead = fieldText(federal_, kForm1ID, f1.f333, 13);
            const std::int64_t amount = federal_.getIN(kForm1ID, 1, f1.f334);
            const std::string amountText = amount != 0 ? Utils::nStr(static_cast<double>(amount)) : std::string();
            to_.assignText(target_, amountText.empty() ? Utils::strip(lead + " ")
                                                       : Utils::strip(lead + " $" + Utils::strip(amountText)));
            break;
        }
        case 129:
            to_.makeProtected(target_);
            copyText(main_ == MainForm::Form1 ? f1.f188 : main_ == MainForm::Form55 ? f55.f107 : f87.f48);
            break;
        default:  // 130
            copyText(main_ == MainForm::Form1 ? f1.f189 : main_ == MainForm::Form55 ? f55.f108 : f87.f64);
            break;
    }
}

// Boxes of the federal main form, by the form filed; a return filed on form
// 87 has none of them.
void CommonText::fillBox(Item item) {
    const auto& f1 = kForm1FieldIds;
    const auto& f55 = kForm55FieldIds;
    const auto& f92 = kForm92FieldIds;
    auto fromMainForm = [&](const FieldId& onForm1, const FieldId& onForm55) {
        if (main_ == MainForm::Form1) {
            copyField(kForm1ID, onForm1);
        } else if (main_ == MainForm::Form55) {
            copyField(kForm55ID, onForm55);
        } else {
            to_.setNull(target_);
        }
    };
    switch (static_cast<int>(item)) {
        case 119:
            fromMainForm(f1.f22, f55.f22);
            break;
        case 122:
            main_ == MainForm::Form1 ? copyField(kForm1ID, f1.f116) : to_.setNull(target_);
            break;
        case 124:
            if (yes(kForm92ID, f92.f29) || (yes(kForm92ID, f92.f493) && yes(kForm92ID, f92.f450))) {
                to_.setX(target_);
            } else {
                to_.setXNo(target_);
            }
            break;
        case Item::kTaxpayerAged65Box:
            fromMainForm(f1.f121, f55.f82);
            break;
        case Item::kTaxpayerBlindBox:
            fromMainForm(f1.f122, f55.f83);
            break;
        case Item::kSpouseAged65Box:
            fromMainForm(f1.f123, f55.f84);
            break;
        default:  // kSpouseBlindBox
            fromMainForm(f1.f124, f55.f85);
            break;
    }
}

// Texts and boxes of federal form 92, whatever the main form.
void CommonText::fillFromForm92(Item item) {
    const auto& f92 = kForm92FieldIds;
    switch (static_cast<int>(item)) {
        case 141:
            protectOrRelease(form92Text(f92.f671));
            break;
        case 142:
            to_.unProtect(target_);
            break;
        case 143:
            protectOrRelease(form92Text(f92.f151513));
            break;
        case Item::kTaxpayerDateOfDeath:
        case Item::kSpouseDateOfDeath: {
            const FieldId& n =
                item == Item::kTaxpayerDateOfDeath ? kForm92Lines.taxpayerDeceased : kForm92Lines.spouseDeceased;
            to_.assignText(target_, Utils::strip(fieldText(federal_, kForm92ID, n, 8)));
            break;
        }
        default:  // kDirectDepositBox
            if (yes(kForm92ID, kForm92Lines.deposit.wanted)) {
                to_.makeProtected(target_);
                to_.setX(target_);
            } else {
                to_.unProtect(target_);
            }
            break;
    }
}

// The refund's routing or account number: from the federal main form when
// it shows a refund, else from federal form 92.
void CommonText::fillAccountText(bool routingNumber) {
    const auto& f1 = kForm1FieldIds;
    const auto& f55 = kForm55FieldIds;
    const auto& f87 = kForm87FieldIds;
    const Form92Lines::Deposit& deposit = kForm92Lines.deposit;
    const short length = routingNumber ? 9 : 17;
    std::string text;
    if (main_ == MainForm::Form1) {
        if (federal_.getIN(kForm1ID, 1, f1.f184) > 0) {
            text = Utils::strip(fieldText(federal_, kForm1ID, routingNumber ? f1.f471 : f1.f474, length));
        }
    } else if (main_ == MainForm::Form55) {
        if (federal_.getIN(kForm55ID, 1, f55.f135) > 0) {
            text = Utils::strip(fieldText(federal_, kForm55ID, routingNumber ? f55.f216 : f55.f219, length));
        }
    } else if (federal_.getIN(kForm87ID, 1, f87.f27) > 0) {
        text = Utils::strip(fieldText(federal_, kForm87ID, routingNumber ? f87.f105 : f87.f108, length));
    }
    if (text.empty()) {
        text = Utils::strip(
            fieldText(federal_, kForm92ID, routingNumber ? deposit.routingNumber : deposit.accountNumber, length));
    }
    protectOrRelease(text);
}

// The account kind of the refund: 1 checking, 2 savings, 0 not known (or no
// routing and account number on federal form 92).
int CommonText::accountChoice() const {
    const auto& f1 = kForm1FieldIds;
    const auto& f55 = kForm55FieldIds;
    const auto& f87 = kForm87FieldIds;
    const Form92Lines::Deposit& deposit = kForm92Lines.deposit;
    if (state_.textString(kForm92ID, 1, deposit.routingNumber).empty() ||
        state_.textString(kForm92ID, 1, deposit.accountNumber).empty()) {
        return 0;
    }
    int choice = 0;
    if (main_ == MainForm::Form1) {
        if (federal_.getIN(kForm1ID, 1, f1.f184) > 0) {
            choice = yes(kForm1ID, f1.f472) ? 1 : yes(kForm1ID, f1.f473) ? 2 : 0;
        }
    } else if (main_ == MainForm::Form55) {
        choice = yes(kForm55ID, f55.f217) ? 1 : yes(kForm55ID, f55.f218) ? 2 : 0;
    } else {
        choice = yes(kForm87ID, f87.f106) ? 1 : yes(kForm87ID, f87.f107) ? 2 : 0;
    }
    if (choice == 0) {
        choice = yes(kForm92ID, deposit.checking) ? 1 : yes(kForm92ID, deposit.savings) ? 2 : 0;
    }
    return choice;
}

// The checking or the savings box: closed to entry once the kind is known,
// and marked when it is this box's kind.
void CommonText::fillAccountBox(bool checking) {
    const int choice = accountChoice();
    if (choice == 0) {
        to_.unProtect(target_);
        return;
    }
    to_.makeProtected(target_);
    if ((choice == 1) == checking) {
        to_.setX(target_);
    }
}

}  // namespace

void StateTaxReturnCalcEngine::pullCommonText(FormId federalForm, const FormId& targetForm, std::uint16_t copy,
                                              const FieldId& target, Utils::PCTypes type) {
    DataMgmt::TaxReturn& federal = *federalReturn();
    const MainForm main = federalForm == kForm1ID    ? MainForm::Form1
                          : federalForm == kForm55ID ? MainForm::Form55
                                                     : MainForm::Form87;
    const FormId source = main == MainForm::Form1 ? kForm1ID : main == MainForm::Form55 ? kForm55ID : kForm87ID;

    DataMgmt::TaxFormPtr targetCopy = stateReturn_->getFormUVPtr(targetForm, copy, false);
    if (targetCopy.isNull() || federal.getFormUVPtr(source, 1, false).isNull()) {
        return;
    }
    if (type < Item::kFirstTextItem || type > Item::kLastTextItem) {
        throw Exceptions::QuarloException("Invalid PCType", kClassName, "pullCommonText");
    }
    CommonText(federal, *stateReturn_, main, source, targetCopy, target).fill(type);
}

void StateTaxReturnCalcEngine::pullCommonAmount(DataMgmt::TaxFormPtr form) {
    DataMgmt::TaxForm& sheet = DataMgmt::requireForm(form, kClassName, "pullCommonAmount");
    const auto& s4 = kStateForm4FieldIds;
    const FieldId& end = Primitives::kNullFieldID;

    // Wages plus the line below them, column by column; the column totals
    // include them.
    sheet.plus2(s4.f32, s4.f26, s4.f29);
    sheet.plus2(s4.f33, s4.f27, s4.f30);
    sheet.plus2(s4.f34, s4.f28, s4.f31);
    sheet.setValueToSumOf(s4.f73, s4.f32, s4.f35, s4.f36, s4.f37, s4.f40, s4.f43, s4.f46, s4.f49, s4.f52, s4.f55,
                          s4.f58, s4.f61, s4.f64, s4.f67, s4.f70, end);
    sheet.setValueToSumOf(s4.f112, s4.f76, s4.f79, s4.f82, s4.f85, s4.f88, s4.f91, s4.f94, s4.f97, s4.f100, s4.f103,
                          s4.f106, s4.f109, s4.f116, s4.f10504, end);
    sheet.assignIR(s4.f115,
                   static_cast<double>(stateReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kFederalAgi)));
    sheet.setValueToSumOf(s4.f74, s4.f33, s4.f38, s4.f41, s4.f44, s4.f47, s4.f50, s4.f53, s4.f56, s4.f59, s4.f62,
                          s4.f65, s4.f68, s4.f71, end);
    sheet.setValueToSumOf(s4.f75, s4.f34, s4.f39, s4.f42, s4.f45, s4.f48, s4.f51, s4.f54, s4.f57, s4.f60, s4.f63,
                          s4.f66, s4.f69, s4.f72, end);
    sheet.setValueToSumOf(s4.f114, s4.f78, s4.f81, s4.f84, s4.f87, s4.f90, s4.f93, s4.f96, s4.f99, s4.f102, s4.f105,
                          s4.f108, s4.f111, s4.f118, s4.f10506, end);
    sheet.setValueToSumOf(s4.f113, s4.f77, s4.f80, s4.f83, s4.f86, s4.f89, s4.f92, s4.f95, s4.f98, s4.f101, s4.f104,
                          s4.f107, s4.f110, s4.f117, s4.f10505, end);

    stateReturn_->setDataEntered(kStateForm4ID, 1, true, false);
    sheet.setCalculatedFlag(true);
}

void StateTaxReturnCalcEngine::sumAllCopies(DataMgmt::TaxFormPtr form, int kind) {
    DataMgmt::TaxForm& sheet = DataMgmt::requireForm(form, kClassName, "sumAllCopies");
    const auto& s4 = kStateForm4FieldIds;
    // The interest statement's regular interest and its U.S. obligations
    // net of federal form 3; the dividend statement's regular dividends and
    // U.S. obligations.
    const StatementTotalLine& netInterest = kStateForm2Lines.netUsObligations;
    const StatementTotalLine& regularInterest = kStateForm2Lines.statement.regular;
    const StatementTotalLine& usDividends = kStateForm3Lines.statement.usObligations;
    const StatementTotalLine& regularDividends = kStateForm3Lines.statement.regular;
    for (const FieldId& field : {s4.f8, s4.f9, s4.f10, s4.f11, s4.f12, s4.f13}) {
        sheet.setNull(field);
    }
    auto interest = [&](const FieldId& a, const FieldId& b) {
        return Utils::addSaturated(stateReturn_->getAllCopies(kStateForm2ID, a),
                                   stateReturn_->getAllCopies(kStateForm2ID, b));
    };
    auto dividends = [&](const FieldId& a, const FieldId& b) {
        return Utils::addSaturated(stateReturn_->getAllCopies(kStateForm3ID, a),
                                   stateReturn_->getAllCopies(kStateForm3ID, b));
    };
    // Column 1 (kind 1), 2 (kind 2) or 3 (kind 3) of the statements' regular
    // and U.S.-obligation lines; any other kind takes columns 2 and 3.
    auto secondColumn = [&] {
        sheet.assignIR(s4.f9, static_cast<double>(interest(netInterest.partYear, regularInterest.partYear)));
        sheet.assignIR(s4.f12, static_cast<double>(dividends(usDividends.partYear, regularDividends.partYear)));
    };
    auto thirdColumn = [&] {
        sheet.assignIR(s4.f10, static_cast<double>(interest(netInterest.nonresident, regularInterest.nonresident)));
        sheet.assignIR(s4.f13, static_cast<double>(dividends(usDividends.nonresident, regularDividends.nonresident)));
    };
    switch (kind) {
        case 1:
            sheet.assignIR(s4.f8, static_cast<double>(interest(netInterest.total, regularInterest.total)));
            sheet.assignIR(s4.f11, static_cast<double>(dividends(usDividends.total, regularDividends.total)));
            break;
        case 2:
            secondColumn();
            break;
        case 3:
            thirdColumn();
            break;
        default:
            secondColumn();
            thirdColumn();
            break;
    }
}

}  // namespace StateCalculationMgmt
