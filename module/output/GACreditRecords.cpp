// The Georgia e-file records of the credits and the retirement exclusion:
// "GAGARETINC" (the filers' retirement income exclusion of form 189215),
// "GAGASCH2" (one per copy of the schedule 2 credit form 189216 in use) and
// "GAGAINDCR" (the IND-CR worksheets that take part in the return, and their
// summary, form 74).
#include <algorithm>
#include <string>
#include <vector>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form74Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GeorgiaForms.h"
#include "module/output/GATifFileWriter.h"

namespace GATifWriteMgmt {

namespace {

// ---- retirement income exclusion

// One line of a filer's exclusion worksheet, the taxpayer's field and the
// spouse's; a zero amount is written as "0" on the lines so marked.
struct RetirementLine {
    const char* taxpayerKey;
    FieldId taxpayer;
    const char* spouseKey;
    FieldId spouse;
    bool zeroWritten;
};

constexpr const Form189215Lines::RetirementWorksheet& kTaxpayer = kForm189215Lines.taxpayerRetirement;
constexpr const Form189215Lines::RetirementWorksheet& kSpouse = kForm189215Lines.spouseRetirement;

// The worksheet's lines in the order written: the earned income, the
// unearned income (the shared lines of interest, dividends, capital gains,
// rents and royalties and other income, the IRA distributions, the pensions
// and the last shared line), the total and its limit.
constexpr RetirementLine kRetirementLines[] = {
    {"00010.000.001", kTaxpayer.wages, "00170.000.001", kSpouse.wages, false},
    {"00020.000.001", kTaxpayer.otherEarned, "00180.000.001", kSpouse.otherEarned, false},
    {"00030.000.001", kTaxpayer.earnedIncome, "00190.000.001", kSpouse.earnedIncome, true},
    {"00040.000.001", kTaxpayer.earnedIncomeCounted, "00200.000.001", kSpouse.earnedIncomeCounted, true},
    {"00050.000.001", kTaxpayer.shared[0], "00210.000.001", kSpouse.shared[0], false},
    {"00060.000.001", kTaxpayer.shared[1], "00220.000.001", kSpouse.shared[1], false},
    {"00070.000.001", kTaxpayer.shared[2], "00230.000.001", kSpouse.shared[2], false},
    {"00080.000.001", kTaxpayer.shared[3], "00240.000.001", kSpouse.shared[3], false},
    {"00090.000.001", kTaxpayer.shared[4], "00250.000.001", kSpouse.shared[4], false},
    {"00100.000.001", kTaxpayer.iraDistributions, "00260.000.001", kSpouse.iraDistributions, false},
    {"00110.000.001", kTaxpayer.pensions, "00270.000.001", kSpouse.pensions, false},
    {"00120.000.001", kTaxpayer.shared[5], "00280.000.001", kSpouse.shared[5], false},
    {"00130.000.001", kTaxpayer.unearnedIncome, "00290.000.001", kSpouse.unearnedIncome, true},
    {"00140.000.001", kTaxpayer.total, "00300.000.001", kSpouse.total, true},
    {"00150.000.001", kTaxpayer.limit, "00310.000.001", kSpouse.limit, true},
    {"00160.000.001", kTaxpayer.totalWithinLimit, "00320.000.001", kSpouse.totalWithinLimit, true},
};

// ---- IND-CR

enum class IndCrLine {
    Value,           // the field's value
    PositiveOrZero,  // the amount when above zero, else "0"
    PersonWhenHeld,  // the row's text, when the worksheet holds the field
};

struct IndCrRow {
    const char* key;
    FormId form;
    FieldId field;
    IndCrLine how;
    const char* text = "";
};

// The worksheets' sections in the order written (IND-CR 201, 203, 204, 205,
// 207, 206, 202, 208, 209), each read from copy 1 of its worksheet and
// written when the worksheet takes part in the return; the summary of form 74
// always.
constexpr IndCrRow kIndCrRows[] = {
    // IND-CR 201
    {"00040.000.001", kGAForm190054ID, kIndCr201.carriedIn, IndCrLine::PositiveOrZero},
    {"00050.000.001", kGAForm190054ID, kIndCr201.total, IndCrLine::PositiveOrZero},
    {"00080.000.001", kGAForm190054ID, kIndCr201.credit, IndCrLine::PositiveOrZero},
    {"00085.000.001", kGAForm190054ID, kIndCr201.remaining, IndCrLine::PositiveOrZero},
    // IND-CR 203
    {"00090.000.001", kGAForm190056ID, kIndCr203.firstAmount, IndCrLine::PositiveOrZero},
    {"00095.000.001", kGAForm190056ID, kIndCr203.secondAmount, IndCrLine::PositiveOrZero},
    {"00100.000.001", kGAForm190056ID, kIndCr203.credit, IndCrLine::PositiveOrZero},
    {"00105.000.001", kGAForm190056ID, kIndCr203.remaining, IndCrLine::PositiveOrZero},
    // IND-CR 204: the first and the second qualifying family member (first
    // name, field 190173, last name, social security number, relationship, age
    // of 62 or over or date of disability, field 190178), then the expenses
    {"00150.001.001", kGAForm190057ID, kIndCr204.familyMembers[0].firstName, IndCrLine::Value},
    {"00150.002.001", kGAForm190057ID, kIndCr204.familyMembers[0].middleInitial, IndCrLine::Value},
    {"00150.003.001", kGAForm190057ID, kIndCr204.familyMembers[0].lastName, IndCrLine::Value},
    {"00155.000.001", kGAForm190057ID, kIndCr204.familyMembers[0].number, IndCrLine::Value},
    {"00160.000.001", kGAForm190057ID, kIndCr204.familyMembers[0].relationship, IndCrLine::Value},
    {"00165.000.001", kGAForm190057ID, kIndCr204.familyMembers[0].age, IndCrLine::Value},
    {"00170.000.001", kGAForm190057ID, kIndCr204.familyMembers[0].disabilityDate, IndCrLine::Value},
    {"00150.001.002", kGAForm190057ID, kIndCr204.familyMembers[1].firstName, IndCrLine::Value},
    {"00150.002.002", kGAForm190057ID, kIndCr204.familyMembers[1].middleInitial, IndCrLine::Value},
    {"00150.003.002", kGAForm190057ID, kIndCr204.familyMembers[1].lastName, IndCrLine::Value},
    {"00155.000.002", kGAForm190057ID, kIndCr204.familyMembers[1].number, IndCrLine::Value},
    {"00160.000.002", kGAForm190057ID, kIndCr204.familyMembers[1].relationship, IndCrLine::Value},
    {"00165.000.002", kGAForm190057ID, kIndCr204.familyMembers[1].age, IndCrLine::Value},
    {"00170.000.002", kGAForm190057ID, kIndCr204.familyMembers[1].disabilityDate, IndCrLine::Value},
    {"00175.000.001", kGAForm190057ID, kIndCr204.expenses, IndCrLine::PositiveOrZero},
    {"00180.000.001", kGAForm190057ID, kIndCr204.share, IndCrLine::PositiveOrZero},
    {"00185.000.001", kGAForm190057ID, kIndCr204.credit, IndCrLine::PositiveOrZero},
    {"00190.000.001", kGAForm190057ID, kIndCr204.allowed, IndCrLine::PositiveOrZero},
    // IND-CR 205: the first and the second qualifying child (driver training
    // school, first name, last name, birth date, social security number, date
    // of completion), then the amounts
    {"00200.000.001", kGAForm190058ID, kIndCr205.children[0].school, IndCrLine::Value},
    {"00203.000.001", kGAForm190058ID, kIndCr205.children[0].firstName, IndCrLine::Value},
    {"00206.000.001", kGAForm190058ID, kIndCr205.children[0].lastName, IndCrLine::Value},
    {"00210.000.001", kGAForm190058ID, kIndCr205.children[0].birthDate, IndCrLine::Value},
    {"00215.000.001", kGAForm190058ID, kIndCr205.children[0].number, IndCrLine::Value},
    {"00220.000.001", kGAForm190058ID, kIndCr205.children[0].completionDate, IndCrLine::Value},
    {"00200.000.002", kGAForm190058ID, kIndCr205.children[1].school, IndCrLine::Value},
    {"00203.000.002", kGAForm190058ID, kIndCr205.children[1].firstName, IndCrLine::Value},
    {"00206.000.002", kGAForm190058ID, kIndCr205.children[1].lastName, IndCrLine::Value},
    {"00210.000.002", kGAForm190058ID, kIndCr205.children[1].birthDate, IndCrLine::Value},
    {"00215.000.002", kGAForm190058ID, kIndCr205.children[1].number, IndCrLine::Value},
    {"00220.000.002", kGAForm190058ID, kIndCr205.children[1].completionDate, IndCrLine::Value},
    {"00225.000.001", kGAForm190058ID, kIndCr205.sum, IndCrLine::PositiveOrZero},
    {"00227.000.001", kGAForm190058ID, kIndCr205.limit, IndCrLine::PositiveOrZero},
    {"00229.000.001", kGAForm190058ID, kIndCr205.smaller, IndCrLine::PositiveOrZero},
    {"00230.000.001", kGAForm190058ID, kIndCr205.credit, IndCrLine::PositiveOrZero},
    // IND-CR 207: the taxpayer's and then the spouse's practice (county of
    // residence, county of practice, type of practice, start date, number of
    // beds), each under the filer's word when its county of residence is held
    {"00245.000.001", kGAForm190060ID, kIndCr207.taxpayerPractice.residenceCounty, IndCrLine::PersonWhenHeld,
     "Taxpayer"},
    {"00250.000.001", kGAForm190060ID, kIndCr207.taxpayerPractice.residenceCounty, IndCrLine::Value},
    {"00255.000.001", kGAForm190060ID, kIndCr207.taxpayerPractice.practiceCounty, IndCrLine::Value},
    {"00260.000.001", kGAForm190060ID, kIndCr207.taxpayerPractice.practiceType, IndCrLine::Value},
    {"00265.000.001", kGAForm190060ID, kIndCr207.taxpayerPractice.startDate, IndCrLine::Value},
    {"00270.000.001", kGAForm190060ID, kIndCr207.taxpayerPractice.beds, IndCrLine::Value},
    {"00245.000.002", kGAForm190060ID, kIndCr207.spousePractice.residenceCounty, IndCrLine::PersonWhenHeld, "Spouse"},
    {"00250.000.002", kGAForm190060ID, kIndCr207.spousePractice.residenceCounty, IndCrLine::Value},
    {"00255.000.002", kGAForm190060ID, kIndCr207.spousePractice.practiceCounty, IndCrLine::Value},
    {"00260.000.002", kGAForm190060ID, kIndCr207.spousePractice.practiceType, IndCrLine::Value},
    {"00265.000.002", kGAForm190060ID, kIndCr207.spousePractice.startDate, IndCrLine::Value},
    {"00270.000.002", kGAForm190060ID, kIndCr207.spousePractice.beds, IndCrLine::Value},
    {"00273.000.001", kGAForm190060ID, kIndCr207.limit, IndCrLine::PositiveOrZero},
    {"00275.000.001", kGAForm190060ID, kIndCr207.credit, IndCrLine::PositiveOrZero},
    // IND-CR 206: the agency that provided disaster assistance, the date it was
    // received, and the amounts
    {"00300.000.001", kGAForm190059ID, kIndCr206.disasterAgency, IndCrLine::Value},
    {"00303.000.001", kGAForm190059ID, kIndCr206.carriedIn, IndCrLine::PositiveOrZero},
    {"00305.000.001", kGAForm190059ID, kIndCr206.disasterDate, IndCrLine::Value},
    {"00310.000.001", kGAForm190059ID, kIndCr206.assistance, IndCrLine::PositiveOrZero},
    {"00312.000.001", kGAForm190059ID, kIndCr206.assistanceAllowed, IndCrLine::PositiveOrZero},
    {"00315.000.001", kGAForm190059ID, kIndCr206.credit, IndCrLine::PositiveOrZero},
    {"00320.000.001", kGAForm190059ID, kIndCr206.remaining, IndCrLine::PositiveOrZero},
    // IND-CR 202
    {"00350.000.001", kGAForm190055ID, kIndCr202.federalAmount, IndCrLine::PositiveOrZero},
    {"00352.000.001", kGAForm190055ID, kIndCr202.share, IndCrLine::PositiveOrZero},
    {"00355.000.001", kGAForm190055ID, kIndCr202.credit, IndCrLine::PositiveOrZero},
    // IND-CR 208
    {"00357.000.001", kGAForm190061ID, kIndCr208.carriedIn, IndCrLine::PositiveOrZero},
    {"00358.000.001", kGAForm190061ID, kIndCr208.amount, IndCrLine::PositiveOrZero},
    {"00360.000.001", kGAForm190061ID, kIndCr208.credit, IndCrLine::PositiveOrZero},
    {"00365.000.001", kGAForm190061ID, kIndCr208.remaining, IndCrLine::PositiveOrZero},
    // IND-CR 209
    {"00380.000.001", kGAForm190062ID, kIndCr209.base, IndCrLine::PositiveOrZero},
    {"00382.000.001", kGAForm190062ID, kIndCr209.share, IndCrLine::PositiveOrZero},
    {"00383.000.001", kGAForm190062ID, kIndCr209.available, IndCrLine::PositiveOrZero},
    {"00384.000.001", kGAForm190062ID, kIndCr209.allowed, IndCrLine::PositiveOrZero},
    {"00385.000.001", kGAForm190062ID, kIndCr209.credit, IndCrLine::PositiveOrZero},
    {"00390.000.001", kGAForm190062ID, kIndCr209.remaining, IndCrLine::PositiveOrZero},
    // the summary, form 74
    {"00425.000.001", kGAForm74ID, kForm74Lines.indCr201, IndCrLine::Value},
    {"00430.000.001", kGAForm74ID, kForm74Lines.indCr202, IndCrLine::Value},
    {"00435.000.001", kGAForm74ID, kForm74Lines.indCr203, IndCrLine::Value},
    {"00440.000.001", kGAForm74ID, kForm74Lines.indCr204, IndCrLine::Value},
    {"00445.000.001", kGAForm74ID, kForm74Lines.indCr205, IndCrLine::Value},
    {"00450.000.001", kGAForm74ID, kForm74Lines.indCr206, IndCrLine::Value},
    {"00455.000.001", kGAForm74ID, kForm74Lines.indCr207, IndCrLine::Value},
    {"00460.000.001", kGAForm74ID, kForm74Lines.indCr208, IndCrLine::Value},
    {"00465.000.001", kGAForm74ID, kForm74Lines.indCr209, IndCrLine::Value},
    {"00500.000.001", kGAForm74ID, kForm74Lines.total, IndCrLine::PositiveOrZero},
};

}  // namespace

// ------------------------------------------------------------ GAGARETINC

void GATifFileWriter::writeRetirementIncomeRecord() {
    const DataMgmt::TaxFormPtr schedule = georgiaReturn->getFormUVPtr(kGAForm189215ID, 1, false);
    if (schedule.isNull()) {
        return;
    }
    const bool taxpayer = schedule->nonZero(kTaxpayer.exclusion);
    const bool spouse = schedule->nonZero(kSpouse.exclusion);
    if (!taxpayer && !spouse) {
        return;
    }
    outputTifSubHead("GAGARETINC", 1, false);
    // The lines of each filer who has an exclusion: the amounts, and "0"
    // where a marked line holds none.
    const auto writeLine = [&](const char* key, const FieldId& field, bool zeroWritten) {
        if (schedule->nonZero(field)) {
            outputFieldLine(key, kGAForm189215ID, 1, field);
        } else if (zeroWritten) {
            outputTifLine(key, std::string("0"), false);
        }
    };
    if (taxpayer) {
        for (const RetirementLine& line : kRetirementLines) {
            writeLine(line.taxpayerKey, line.taxpayer, line.zeroWritten);
        }
    }
    if (spouse) {
        for (const RetirementLine& line : kRetirementLines) {
            writeLine(line.spouseKey, line.spouse, line.zeroWritten);
        }
    }
}

// ------------------------------------------------------------ GAGASCH2

void GATifFileWriter::writeSchedule2Record() {
    const auto& schedule = kForm189216Lines;
    // A record per copy that holds a total, numbered by its copy.
    for (const std::uint16_t copy : georgiaReturn->copyNumbers(kGAForm189216ID)) {
        if (!georgiaReturn->hasSigValue(kGAForm189216ID, copy, schedule.total)) {
            continue;
        }
        outputTifSubHead("GAGASCH2", copy, false);
        outputFieldLine("00005.000.001", kGAForm189216ID, copy, schedule.code);
        outputFieldLine("00010.000.001", kGAForm189216ID, copy, schedule.added);
        int occurrence = 1;
        for (const auto& row : schedule.rows) {
            if (!georgiaReturn->greaterThanZero(kGAForm189216ID, copy, row.rowTotal)) {
                continue;
            }
            outputFieldLine(occurrenceKey("00020.000.%03d", occurrence), kGAForm189216ID, copy, row.name);
            outputFieldLine(occurrenceKey("00025.000.%03d", occurrence), kGAForm189216ID, copy, row.amount);
            outputTifLine(occurrenceKey("00030.000.%03d", occurrence),
                          hundredthsText(georgiaReturn->getIN(kGAForm189216ID, copy, row.share)), false);
            // An employer number (kept as written: a '-' after its first two
            // digits) goes under 00035, any other number under 00037.
            const std::string id = georgiaReturn->formString(kGAForm189216ID, copy, row.payerId);
            const bool employerNumber = id.size() > 2 && id[2] == '-';
            outputFieldLine(occurrenceKey(employerNumber ? "00035.000.%03d" : "00037.000.%03d", occurrence),
                            kGAForm189216ID, copy, row.payerId);
            outputFieldLine(occurrenceKey("00040.000.%03d", occurrence), kGAForm189216ID, copy, row.rowTotal);
            ++occurrence;
        }
        outputFieldLine("00045.000.001", kGAForm189216ID, copy, schedule.total);
        outputFieldLine("00050.000.001", kGAForm189216ID, copy, schedule.firstUsed);
        outputFieldLine("00055.000.001", kGAForm189216ID, copy, schedule.creditUsed);
        outputFieldLine("00060.000.001", kGAForm189216ID, copy, schedule.remaining);
    }
}

// ------------------------------------------------------------ GAGAINDCR

void GATifFileWriter::writeIndividualCreditsRecord() {
    // The worksheets that the calculation marked as taking part.
    std::vector<FormId> calculated;
    for (const GAForms::GeorgiaForm& row : GAForms::kGeorgiaForms) {
        if (row.individualCredit && formCopyCalculated(georgiaReturn->getFormUVPtr(row.form, 1, false))) {
            calculated.push_back(row.form);
        }
    }
    if (calculated.empty()) {
        return;
    }
    outputTifSubHead("GAGAINDCR", 1, false);
    for (const IndCrRow& row : kIndCrRows) {
        const bool written =
            row.form == kGAForm74ID || std::find(calculated.begin(), calculated.end(), row.form) != calculated.end();
        if (!written) {
            continue;
        }
        switch (row.how) {
            case IndCrLine::Value:
                outputFieldLine(row.key, row.form, 1, row.field);
                break;
            case IndCrLine::PositiveOrZero:
                outputPositiveAmountLine(row.key, row.form, 1, row.field, false);
                break;
            case IndCrLine::PersonWhenHeld:
                if (!georgiaReturn->isNull(row.form, 1, row.field)) {
                    outputTifLineMixedCase(row.key, row.text, false);
                }
                break;
        }
    }
}

void GATifFileWriter::outputPositiveAmountLine(const std::string& key, const FormId& form, std::uint16_t copy,
                                               FieldId field, bool flag) {
    if (georgiaReturn->greaterThanZero(form, copy, field)) {
        outputFieldLine(key, form, copy, field, flag);
    } else {
        outputTifLine(key, std::string("0"), flag);
    }
}

bool GATifFileWriter::formCopyCalculated(DataMgmt::TaxFormPtr copy) { return !copy.isNull() && copy->calculatedFlag(); }

}  // namespace GATifWriteMgmt
