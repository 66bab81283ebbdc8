// The machine-readable scan line of the Georgia payment vouchers.
//
// The line holds the document code, the filer's identification number with
// its own check digit, the voucher's period, year and voucher codes, the
// amount paid, and a final check digit over every digit of the line.
#include <array>
#include <string>

#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/util/Utils.h"

namespace GACalculationMgmt {

namespace {

// Weights of the nine digits of the identification number.
constexpr std::array<int, 9> kNumberWeights{4, 8, 1, 3, 5, 2, 5, 6, 9};

// Weights of the 49 digit positions of the line before its check digit:
// fourteen fixed weights, then 1 and 2 alternating from position 15.
constexpr std::array<int, 49> kLineWeights = [] {
    std::array<int, 49> w{4, 7, 4, 8, 1, 3, 5, 2, 5, 6, 9, 8, 6, 3};
    for (std::size_t i = 14; i < w.size(); ++i) {
        w[i] = (i % 2 == 0) ? 1 : 2;  // position i + 1: odd positions weigh 1
    }
    return w;
}();

int digitSum(int product) { return product / 10 + product % 10; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void GATaxReturnCalcEngine::computeSsnCheckDigit(std::string& number, std::string& digits, short& checkDigit) {
    digits.clear();
    checkDigit = 0;
    number = Utils::strip(number);
    if (number.empty()) {
        digits = "000000000";
        return;
    }
    bool valid = true;
    int sum = 0;
    for (char c : number) {
        if (c == '-') {
            continue;
        }
        if (!isDigit(c)) {
            valid = false;
            continue;
        }
        // A tenth digit makes the number unusable: it has no weight.
        if (digits.size() >= kNumberWeights.size()) {
            valid = false;
            continue;
        }
        sum += digitSum((c - '0') * kNumberWeights[digits.size()]);
        digits += c;
    }
    if (!valid) {
        digits = "000000000";
        checkDigit = 0;
        return;
    }
    checkDigit = static_cast<short>((10 - sum % 10) % 10);
}

void GATaxReturnCalcEngine::buildScanLine(DataMgmt::TaxFormPtr form, FieldId numberField, FieldId amountField,
                                          const char* documentCode, const char* filler, const char* periodCode,
                                          const char* yearCode, const char* voucherCode, FieldId resultField) {
    if (form.isNull()) {
        return;
    }
    auto text = [](const char* t) { return std::string(t == nullptr ? "" : t); };

    std::string number;
    if (!form->isNull(numberField)) {
        number = gaReturn_->getText(form->getLongValue(numberField), 11, DataMgmt::kJustifyLeft);
    }
    std::string digits;
    short numberCheck = 0;
    computeSsnCheckDigit(number, digits, numberCheck);

    const std::string amount = Utils::xstrPadLeftZeros(form->getIN(amountField), 8);

    std::string line = text(documentCode) + "00" + digits + std::to_string(numberCheck) + text(periodCode) +
                       text(yearCode) + text(voucherCode) + text(filler) + "075" + amount + "00";

    // Digits past the 49th have no weight and add nothing.
    int sum = 0;
    std::size_t position = 0;
    for (char c : line) {
        if (!isDigit(c)) {
            continue;
        }
        if (position < kLineWeights.size()) {
            sum += digitSum((c - '0') * kLineWeights[position]);
        }
        ++position;
    }
    const int remainder = sum % 11;
    const int check = (11 - remainder >= 10) ? 0 : 11 - remainder;
    line += std::to_string(check);
    form->assignText(resultField, line);
}

}  // namespace GACalculationMgmt
