// Common federal items that state forms take as they are: texts, numbers and
// boxes by common item number (pullCommonText), and the totals of the state
// wage worksheet (pullCommonAmount, sumAllCopies).
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/StateForm4Lines.h"
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

const FederalMainFormLines& linesOf(MainForm main) {
    return main == MainForm::Form1 ? kForm1Lines : main == MainForm::Form55 ? kForm55Lines : kForm87Lines;
}

MainForm mainFormOf(const FormId& federalForm) {
    return federalForm == kForm1ID ? MainForm::Form1 : federalForm == kForm55ID ? MainForm::Form55 : MainForm::Form87;
}

// Whether the return says that the taxpayer (the spouse) is 65 or over: the
// item taxpayer-aged-65 (spouse-aged-65), which the host answers from the
// box "65 or over" of the main form filed (form 1040's or 1040A's; form
// 1040EZ has none, where the item is given), checked against the filer's
// birth date.
bool aged65(StateDataMgmt::StateTaxReturn& state, const FormId& federalForm, bool spouse) {
    return state.pullCommon(federalForm, 1, spouse ? Item::kSpouseAged65 : Item::kTaxpayerAged65) == 1;
}

// A total of the state wages worksheet: the leading lines, then one column
// of the rows, added in that order.
template <class Column>
void sumColumn(DataMgmt::TaxForm& sheet, const FieldId& total, std::initializer_list<FieldId> leading,
               std::span<const StateForm4Lines::Row> rows, Column column) {
    std::vector<FieldId> fields(leading);
    for (const StateForm4Lines::Row& row : rows) {
        fields.push_back(column(row));
    }
    sheet.setValueToSumOf(total, fields);
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
    const FederalMainFormLines& mainLines() const { return linesOf(main_); }
    // A text or another line of the main form filed; the target is emptied
    // where that form does not have the line.
    void textOfMainForm(const FieldId& n) { n.isNullID() ? to_.setNull(target_) : copyText(n); }
    void lineOfMainForm(const FieldId& n) { n.isNullID() ? to_.setNull(target_) : copyField(source_, n); }
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
    const FederalMainFormLines::CommonItems& m = mainLines().commonItems;
    const Form92Lines::CommonItems& f92 = kForm92Lines.commonItems;
    const bool form87 = main_ == MainForm::Form87;
    switch (static_cast<int>(item)) {
        case 116:
            textOfMainForm(m.item116Text);
            break;
        case 117:
            if (form87) {
                to_.setNull(target_);
            } else {
                to_.assignText(target_, federal_.formString(kForm92ID, 1, f92.item117First) + " " +
                                            federal_.formString(kForm92ID, 1, f92.item117Second));
            }
            break;
        case 118:
            form87 ? to_.setNull(target_) : copyField(kForm92ID, f92.item118);
            break;
        case 120: {
            // The number is printed whole, however large.
            const std::int64_t value = form87 ? 0 : federal_.getIN(kForm92ID, 1, f92.item120Number);
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
            textOfMainForm(m.item121Text);
            break;
        case 123: {
            if (m.item123Lead.isNullID()) {
                to_.setNull(target_);
                break;
            }
            // A description and its amount: "text $amount".
            const std::string lead = fieldText(federal_, source_, m.item123Lead, 13);
            const std::int64_t amount = federal_.getIN(source_, 1, m.item123Amount);
            const std::string amountText = amount != 0 ? Utils::nStr(static_cast<double>(amount)) : std::string();
            to_.assignText(target_, amountText.empty() ? Utils::strip(lead + " ")
                                                       : Utils::strip(lead + " $" + Utils::strip(amountText)));
            break;
        }
        case 129:
            to_.makeProtected(target_);
            copyText(m.item129Text);
            break;
        default:  // 130
            copyText(m.item130Text);
            break;
    }
}

// Boxes of the federal main form, by the form filed; a return filed on form
// 87 has none of them.
void CommonText::fillBox(Item item) {
    const FederalMainFormLines& m = mainLines();
    const Form92Lines::CommonItems& f92 = kForm92Lines.commonItems;
    switch (static_cast<int>(item)) {
        case 119:
            lineOfMainForm(m.commonItems.item119Number);
            break;
        case 122:
            lineOfMainForm(m.commonItems.item122Number);
            break;
        case 124:
            if (yes(kForm92ID, f92.item124Box) ||
                (yes(kForm92ID, f92.item124BoxA) && yes(kForm92ID, f92.item124BoxB))) {
                to_.setX(target_);
            } else {
                to_.setXNo(target_);
            }
            break;
        case Item::kTaxpayerAged65Box:
            lineOfMainForm(m.taxpayerAged65);
            break;
        case Item::kTaxpayerBlindBox:
            lineOfMainForm(m.taxpayerBlind);
            break;
        case Item::kSpouseAged65Box:
            lineOfMainForm(m.spouseAged65);
            break;
        default:  // kSpouseBlindBox
            lineOfMainForm(m.spouseBlind);
            break;
    }
}

// Texts and boxes of federal form 92, whatever the main form.
void CommonText::fillFromForm92(Item item) {
    switch (static_cast<int>(item)) {
        case 141:
            protectOrRelease(form92Text(kForm92Lines.reference));
            break;
        case 142:
            to_.unProtect(target_);
            break;
        case 143:
            protectOrRelease(form92Text(kForm92Lines.referenceAbroad));
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
    const FederalMainFormLines::RefundAccount& a = mainLines().refundAccount;
    const Form92Lines::Deposit& deposit = kForm92Lines.deposit;
    const short length = routingNumber ? 9 : 17;
    std::string text;
    if (federal_.getIN(source_, 1, a.refund) > 0) {
        text = Utils::strip(fieldText(federal_, source_, routingNumber ? a.routingNumber : a.accountNumber, length));
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
    const FederalMainFormLines::RefundAccount& a = mainLines().refundAccount;
    const Form92Lines::Deposit& deposit = kForm92Lines.deposit;
    if (state_.textString(kForm92ID, 1, deposit.routingNumber).empty() ||
        state_.textString(kForm92ID, 1, deposit.accountNumber).empty()) {
        return 0;
    }
    // The boxes of form 1 count while it shows a refund; those of forms 55
    // and 87 whatever their refund line.
    int choice = 0;
    if (main_ != MainForm::Form1 || federal_.getIN(source_, 1, a.refund) > 0) {
        choice = yes(source_, a.checking) ? 1 : yes(source_, a.savings) ? 2 : 0;
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
    const MainForm main = mainFormOf(federalForm);
    const FormId source = main == MainForm::Form1 ? kForm1ID : main == MainForm::Form55 ? kForm55ID : kForm87ID;

    DataMgmt::TaxFormPtr targetCopy = stateReturn_->getFormUVPtr(targetForm, copy, false);
    if (targetCopy.isNull()) {
        return;
    }
    // A box "65 or over" is marked for a filer whom the item says is 65 or
    // over; for another it takes the main form's box, and is emptied where
    // the return holds no main form (no earlier mark stays).
    const bool agedBox = type == Item::kTaxpayerAged65Box || type == Item::kSpouseAged65Box;
    if (agedBox && aged65(*stateReturn_, source, type == Item::kSpouseAged65Box)) {
        targetCopy->setX(target);
        return;
    }
    if (federal.getFormUVPtr(source, 1, false).isNull()) {
        if (agedBox) targetCopy->setNull(target);
        return;
    }
    if (type < Item::kFirstTextItem || type > Item::kLastTextItem) {
        throw Exceptions::QuarloException("Invalid PCType", kClassName, "pullCommonText");
    }
    CommonText(federal, *stateReturn_, main, source, targetCopy, target).fill(type);
}

void StateTaxReturnCalcEngine::pullCommonAmount(DataMgmt::TaxFormPtr form) {
    DataMgmt::TaxForm& sheet = DataMgmt::requireForm(form, kClassName, "pullCommonAmount");
    const StateForm4Lines& s4 = kStateForm4Lines;
    using Row = StateForm4Lines::Row;

    // Wages plus the line below them, column by column; the column totals
    // include them.
    sheet.plus2(s4.wagesTotal.federal, s4.wages.federal, s4.otherWages.federal);
    sheet.plus2(s4.wagesTotal.resident, s4.wages.resident, s4.otherWages.resident);
    sheet.plus2(s4.wagesTotal.nonresident, s4.wages.nonresident, s4.otherWages.nonresident);
    auto federal = [](const Row& row) -> const FieldId& { return row.federal; };
    auto resident = [](const Row& row) -> const FieldId& { return row.resident; };
    auto nonresident = [](const Row& row) -> const FieldId& { return row.nonresident; };
    sumColumn(sheet, s4.incomeTotal.federal, {s4.wagesTotal.federal, s4.taxableInterest, s4.ordinaryDividends},
              s4.incomeLines, federal);
    sumColumn(sheet, s4.adjustmentTotal.federal, {}, s4.adjustmentLines, federal);
    sheet.assignIR(s4.federalAgi,
                   static_cast<double>(stateReturn_->pullCommon(getFederalForm(), 1, Utils::PCTypes::kFederalAgi)));
    sumColumn(sheet, s4.incomeTotal.resident, {s4.wagesTotal.resident}, s4.incomeLines, resident);
    sumColumn(sheet, s4.incomeTotal.nonresident, {s4.wagesTotal.nonresident}, s4.incomeLines, nonresident);
    sumColumn(sheet, s4.adjustmentTotal.nonresident, {}, s4.adjustmentLines, nonresident);
    sumColumn(sheet, s4.adjustmentTotal.resident, {}, s4.adjustmentLines, resident);

    stateReturn_->setDataEntered(kStateForm4ID, 1, true, false);
    sheet.setCalculatedFlag(true);
}

void StateTaxReturnCalcEngine::sumAllCopies(DataMgmt::TaxFormPtr form, int kind) {
    DataMgmt::TaxForm& sheet = DataMgmt::requireForm(form, kClassName, "sumAllCopies");
    const StateForm4Lines& s4 = kStateForm4Lines;
    // The interest statement's regular interest and its U.S. obligations
    // net of federal form 3; the dividend statement's regular dividends and
    // U.S. obligations.
    const StatementTotalLine& netInterest = kStateForm2Lines.netUsObligations;
    const StatementTotalLine& regularInterest = kStateForm2Lines.statement.regular;
    const StatementTotalLine& usDividends = kStateForm3Lines.statement.usObligations;
    const StatementTotalLine& regularDividends = kStateForm3Lines.statement.regular;
    const StateForm4Lines::Row& interestColumns = s4.interestStatements;
    const StateForm4Lines::Row& dividendColumns = s4.dividendStatements;
    for (const FieldId& field : {interestColumns.federal, interestColumns.resident, interestColumns.nonresident,
                                 dividendColumns.federal, dividendColumns.resident, dividendColumns.nonresident}) {
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
        sheet.assignIR(interestColumns.resident,
                       static_cast<double>(interest(netInterest.partYear, regularInterest.partYear)));
        sheet.assignIR(dividendColumns.resident,
                       static_cast<double>(dividends(usDividends.partYear, regularDividends.partYear)));
    };
    auto thirdColumn = [&] {
        sheet.assignIR(interestColumns.nonresident,
                       static_cast<double>(interest(netInterest.nonresident, regularInterest.nonresident)));
        sheet.assignIR(dividendColumns.nonresident,
                       static_cast<double>(dividends(usDividends.nonresident, regularDividends.nonresident)));
    };
    switch (kind) {
        case 1:
            sheet.assignIR(interestColumns.federal,
                           static_cast<double>(interest(netInterest.total, regularInterest.total)));
            sheet.assignIR(dividendColumns.federal,
                           static_cast<double>(dividends(usDividends.total, regularDividends.total)));
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
