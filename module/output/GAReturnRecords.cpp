// The Georgia e-file records that describe the return and its filers: the
// document list groups of the main form, the 1099-G records, the return
// header, the authentication header and the 8453 record.
#include <string>

#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form72Lines.h"
#include "module/catalogues/Form76Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/TaxYearStrings.h"
#include "module/output/GATifFileWriter.h"
#include "platform/util/Utils.h"

namespace GATifWriteMgmt {

namespace {

constexpr const auto& f92 = kForm92FieldIds;
constexpr const auto& f165 = kForm165FieldIds;

// Form 76 lists up to 25 documents in rows of four consecutive fields from
// its first document field (first name, last name, identifying number,
// relationship) to its last.
constexpr const FieldId& kFirstDocumentField = kForm76Lines.firstRow;
constexpr const FieldId& kLastDocumentField = kForm76Lines.rowsEnd;
constexpr int kDocumentRows = 25;
constexpr int kDocumentRowWidth = 4;
static_assert(kLastDocumentField.getNumber() ==
              kFirstDocumentField.getNumber() + kDocumentRows * kDocumentRowWidth - 1);

constexpr const char* kDocumentKeys[kDocumentRowWidth] = {"04003.000.%03d", "04004.000.%03d", "04005.000.%03d",
                                                          "04006.000.%03d"};

// ---- 1099-G

enum class Line1099G {
    Field,
    CheckBox,         // "X" when the box is marked
    Recipient,        // "1" for the taxpayer's 1099-G, "2" for the spouse's
    RecipientId,      // the identifying number of that filer (form 69)
    RecipientName,    // the recipient's name parts joined, when the first is given
    RecipientStreet,  // the recipient's street with its apartment
    YearWhenHeld,     // the tax year, when field 13 holds a value
    MarkWhenYes,      // "X" when field 20 is answered yes
};

struct Row1099G {
    const char* key;
    Line1099G kind;
    FieldId field = {};
};

// Both state rows are written, whichever of them holds Georgia. Lines the
// form gives no role keep its field numbers.
constexpr const auto& l165 = kForm165Lines;
constexpr Row1099G kLines1099G[] = {
    {"00005.000.001", Line1099G::Recipient, l165.taxpayersStatement},
    {"00010.000.001", Line1099G::CheckBox, f165.f25},
    {"00020.000.001", Line1099G::Field, l165.payerName},
    {"00025.000.001", Line1099G::Field, f165.f29},
    {"00040.000.001", Line1099G::Field, l165.payerStreet},
    {"00045.000.001", Line1099G::Field, l165.payerCity},
    {"00050.000.001", Line1099G::Field, l165.payerState},
    {"00055.000.001", Line1099G::Field, l165.payerZipCode},
    {"00085.000.001", Line1099G::Field, l165.payerTelephone},
    {"00095.000.001", Line1099G::Field, l165.payerId},
    {"00100.000.001", Line1099G::RecipientId, l165.taxpayersStatement},
    {"00105.000.001", Line1099G::RecipientName},
    {"00110.000.001", Line1099G::RecipientStreet},
    {"00115.000.001", Line1099G::Field, l165.recipientCity},
    {"00120.000.001", Line1099G::Field, l165.recipientState},
    {"00125.000.001", Line1099G::Field, l165.recipientZipCode},
    {"00155.000.001", Line1099G::Field, f165.f40},
    {"00160.000.001", Line1099G::Field, l165.unemployment},
    {"00165.000.001", Line1099G::Field, f165.f13},
    {"00170.000.001", Line1099G::YearWhenHeld, f165.f13},
    {"00175.000.001", Line1099G::Field, f165.f15},
    {"00180.000.001", Line1099G::Field, l165.grants[0]},
    {"00185.000.001", Line1099G::Field, l165.grants[1]},
    {"00190.000.001", Line1099G::Field, l165.grants[2]},
    {"00195.000.001", Line1099G::MarkWhenYes, f165.f20},
    {"00200.000.001", Line1099G::Field, f165.f53595},
    {"00205.000.001", Line1099G::Field, f165.f12},
    {"00215.000.001", Line1099G::Field, l165.stateRows[0].withheld},
    {"00220.000.001", Line1099G::Field, l165.stateRows[0].state},
    {"00225.000.001", Line1099G::Field, l165.stateRows[0].stateId},
    {"00215.000.002", Line1099G::Field, l165.stateRows[1].withheld},
    {"00220.000.002", Line1099G::Field, l165.stateRows[1].state},
    {"00225.000.002", Line1099G::Field, l165.stateRows[1].stateId},
};

// ---- return header

constexpr const auto& taxpayer = kForm92Lines.taxpayer;
constexpr const auto& spouse = kForm92Lines.spouse;
constexpr const auto& address = kForm92Lines.address;

constexpr RecordLine kReturnHeaderLines[] = {
    {"00010.000.001", LineKind::StateCode},
    {"00020.000.001", LineKind::TaxYearStart},
    {"00025.000.001", LineKind::TaxYearEnd},
    {"00030.000.001", LineKind::TaxYear},
    {"00060.000.001", LineKind::Field, kForm92ID, f92.f52011},
    {"00195.000.001", LineKind::MixedText, {}, {}, "OnlineFiler"},
    {"00360.000.001", LineKind::BuildNumber},
    {"00400.000.001", LineKind::MixedText, {}, {}, "Self-Select On-Line"},
    {"00410.000.001", LineKind::MixedText, {}, {}, "Taxpayer"},
    {"00420.000.001", LineKind::MixedText, {}, {}, "Taxpayer", SpouseLines::Joint},
    {"00595.000.001", LineKind::Field, kForm92ID, kForm92Lines.returnInformation.spouseLine, "", SpouseLines::Joint},
    {"00600.000.001", LineKind::Field, kForm92ID, f92.f734, "", SpouseLines::Joint},
    {"00680.000.001", LineKind::Text, {}, {}, "X", SpouseLines::Separate},
    {"00430.000.001", LineKind::Text, {}, {}, ""},
    {"00455.000.001", LineKind::MixedFieldText, kForm92ID, taxpayer.firstName},
    {"00460.000.001", LineKind::MixedFieldText, kForm92ID, taxpayer.middleName},
    {"00465.000.001", LineKind::MixedFieldText, kForm92ID, taxpayer.lastName},
    {"00470.000.001", LineKind::MixedFieldText, kForm92ID, taxpayer.suffix},
    {"00475.000.001", LineKind::Field, kForm92ID, taxpayer.number},
    {"00480.000.001", LineKind::Field, kForm92ID, taxpayer.birthDate},
    {"00485.000.001", LineKind::Field, kForm92ID, kForm92Lines.taxpayerDeceased},
    {"00515.000.001", LineKind::Field, kForm92ID, kForm92Lines.returnInformation.taxpayerLine},
    {"00516.000.001", LineKind::Field, kForm92ID, f92.f734},
    {"00520.000.001", LineKind::MixedFieldText, kForm92ID, spouse.firstName, "", SpouseLines::JointOrSeparate},
    {"00525.000.001", LineKind::MixedFieldText, kForm92ID, spouse.middleName, "", SpouseLines::JointOrSeparate},
    {"00530.000.001", LineKind::MixedFieldText, kForm92ID, spouse.lastName, "", SpouseLines::JointOrSeparate},
    {"00535.000.001", LineKind::MixedFieldText, kForm92ID, spouse.suffix, "", SpouseLines::JointOrSeparate},
    {"00540.000.001", LineKind::Field, kForm92ID, spouse.number, "", SpouseLines::JointOrSeparate},
    {"00545.000.001", LineKind::Field, kForm92ID, spouse.birthDate, "", SpouseLines::JointOrSeparate},
    {"00550.000.001", LineKind::Field, kForm92ID, kForm92Lines.spouseDeceased},
};

// The address of a filer at home, after the street and its apartment.
constexpr RecordLine kHomeAddressLines[] = {
    {"00635.000.001", LineKind::MixedFieldText, kForm92ID, address.city},
    {"00640.000.001", LineKind::Field, kForm92ID, address.state},
    {"00645.000.001", LineKind::Field, kForm92ID, address.zipCode},
    {"00517.000.001", LineKind::Field, kForm92ID, kForm92Lines.reference},
};

// The address of a filer abroad, after the street.
constexpr RecordLine kForeignAddressLines[] = {
    {"00660.001.001", LineKind::MixedFieldText, kForm92ID, address.city},
    {"00665.002.001", LineKind::MixedFieldText, kForm92ID, address.foreignProvince},
    {"00670.000.001", LineKind::Field, kForm92ID, address.fallbackRegion},
    {"00675.003.001", LineKind::Field, kForm92ID, address.foreignPostalCode},
    {"00517.000.001", LineKind::Field, kForm92ID, kForm92Lines.referenceAbroad},
};

// ---- 8453

// A refund paid into the filers' bank account.
constexpr const auto& form72 = kForm72Lines;
constexpr RecordLine kDirectDepositLines[] = {
    {"00024.000.001", LineKind::Text, {}, {}, "1"},
    {"00200.000.001", LineKind::Field, kGAForm72ID, form72.routingNumber},
    {"00205.000.001", LineKind::Field, kGAForm72ID, form72.accountNumber},
    {"00210.000.001", LineKind::CheckBox, kGAForm72ID, form72.checking, "X"},
    {"00215.000.001", LineKind::CheckBox, kGAForm72ID, form72.savings, "X"},
    {"04000.000.001", LineKind::Field, kGAForm72ID, form72.federalText},
    {"04010.000.001", LineKind::Field, kGAForm72ID, form72.refund},
    {"04020.000.001", LineKind::Text, {}, {}, "X"},
};

// A balance due paid by withdrawal from the filers' bank account, as the
// information form holds it: the date, the amount owed, the kind of account
// and the account.
constexpr const auto& withdrawal = kForm69Lines.withdrawal;
constexpr RecordLine kWithdrawalLines[] = {
    {"00024.000.001", LineKind::Text, {}, {}, "2"},
    {"00250.000.001", LineKind::Field, kGAForm69ID, withdrawal.date},
    {"00260.000.001", LineKind::Field, kGAForm69ID, withdrawal.amountOwed},
    {"04040.000.001", LineKind::CheckBox, kGAForm69ID, withdrawal.checking, "X"},
    {"04050.000.001", LineKind::CheckBox, kGAForm69ID, withdrawal.savings, "X"},
    {"04060.000.001", LineKind::Field, kGAForm69ID, withdrawal.routingNumber},
    {"04070.000.001", LineKind::Field, kGAForm69ID, withdrawal.accountNumber},
    {"04080.000.001", LineKind::Text, {}, {}, "X"},
};

}  // namespace

// ------------------------------------------------------------ document list

void GATifFileWriter::writeMainFormRepeatLines() {
    int occurrence = 1;
    for (int row = 0; row < kDocumentRows; ++row) {
        const int first = kFirstDocumentField.getNumber() + row * kDocumentRowWidth;
        if (!georgiaReturn->hasSigValue(kGAForm76ID, 1, FieldId(first))) {
            continue;
        }
        for (int column = 0; column < kDocumentRowWidth; ++column) {
            outputFieldLine(occurrenceKey(kDocumentKeys[column], occurrence), kGAForm76ID, 1, FieldId(first + column));
        }
        ++occurrence;
    }
}

// ------------------------------------------------------------ 1099-G

void GATifFileWriter::write1099GRecords() {
    const DataMgmt::TaxReturn& federal = *federalReturn();
    std::uint16_t number = 0;
    for (const std::uint16_t copy : federal.copyNumbers(kForm165ID)) {
        // A 1099-G with Georgia tax withheld in either of its state rows.
        bool georgia = false;
        for (const auto& row : kForm165Lines.stateRows) {
            georgia =
                georgia || (Utils::QVStringUtils::stricmp(federal.formString(kForm165ID, copy, row.state), "GA") == 0 &&
                            federal.hasSigValue(kForm165ID, copy, row.withheld));
        }
        if (georgia) {
            write1099GRecord(copy, ++number);
        }
    }
}

void GATifFileWriter::write1099GRecord(std::uint16_t copy, std::uint16_t number) {
    const DataMgmt::TaxReturn& federal = *federalReturn();
    outputTifSubHead("GAGA1099G", number, false);
    for (const Row1099G& row : kLines1099G) {
        switch (row.kind) {
            case Line1099G::Field:
                outputFieldLine(row.key, kForm165ID, copy, row.field);
                break;
            case Line1099G::CheckBox:
                outputTifLineCB(row.key, kForm165ID, copy, row.field, "X", false);
                break;
            case Line1099G::Recipient:
                outputTifLine(row.key, std::string(federal.formYes(kForm165ID, copy, row.field) ? "1" : "2"), false);
                break;
            case Line1099G::RecipientId: {
                const FieldId id = federal.formYes(kForm165ID, copy, row.field) ? georgiaReturn->getTaxpayerSsnField()
                                                                                : georgiaReturn->getSpouseSsnField();
                outputFieldLine(row.key, kGAForm69ID, 1, id);
                break;
            }
            case Line1099G::RecipientName: {
                // The name parts, each in its e-file form, joined by one
                // blank; none without the first.
                const auto& parts = kForm165Lines.recipientName;
                if (federal.isNull(kForm165ID, copy, parts[0])) break;
                std::string name;
                for (const FieldId& part : parts) {
                    const LineSource source(*this, kForm165ID, copy, part);
                    const std::string text = eFileValue(kForm165ID, copy, part, row.key);
                    if (!text.empty()) name += (name.empty() ? "" : " ") + text;
                }
                outputTifLine(row.key, name, false);
                break;
            }
            case Line1099G::RecipientStreet: {
                const LineSource source(*this, kForm165ID, copy, kForm165Lines.recipientStreet);
                outputTifLine(row.key,
                              streetWithApartment(kForm165ID, copy, kForm165Lines.recipientStreet,
                                                  kForm165Lines.recipientApartment, row.key),
                              false);
                break;
            }
            case Line1099G::YearWhenHeld:
                if (federal.hasSigValue(kForm165ID, copy, row.field)) {
                    outputTifLine(row.key, static_cast<std::int64_t>(std::stol(kTaxYear)), false);
                }
                break;
            case Line1099G::MarkWhenYes:
                if (federal.formYes(kForm165ID, copy, row.field)) {
                    outputTifLine(row.key, std::string("X"), false);
                }
                break;
        }
    }
}

// ------------------------------------------------------------ return header

void GATifFileWriter::writeReturnHeaderRecord() {
    outputTifSubHead("GAGARTNHDR", 1, false);
    writeRecordLines(kReturnHeaderLines, 1);
    writeReturnHeaderAddress();
}

void GATifFileWriter::writeReturnHeaderAddress() {
    if (!federalReturn()->formYes(kForm92ID, 1, address.abroad)) {
        // The street, and its apartment on a line of its own when it has one.
        {
            const LineSource source(*this, kForm92ID, 1, address.street);
            outputTifLineMixedCase("00625.000.001", eFileValue(kForm92ID, 1, address.street, "00625.000.001"), false);
        }
        {
            const LineSource source(*this, kForm92ID, 1, address.apartment);
            const std::string apartment = eFileValue(kForm92ID, 1, address.apartment, "00630.000.001");
            if (!apartment.empty()) outputTifLineMixedCase("00630.000.001", apartment, false);
        }
        writeRecordLines(kHomeAddressLines, 1);
    } else {
        {
            const LineSource source(*this, kForm92ID, 1, address.street);
            outputTifLineMixedCase(
                "00650.001.001", streetWithApartment(kForm92ID, 1, address.street, address.apartment, "00650.001.001"),
                false);
        }
        writeRecordLines(kForeignAddressLines, 1);
    }
}

// ------------------------------------------------------------ authentication

void GATifFileWriter::writeAuthHeaderRecord() {
    outputTifSubHead("GAGAAUTHDR", 1, false);
    const StateTifWriteMgmt::AuthHeaderFields fields = {
        .routingNumber = kForm69Lines.options.depositRouting,
        .accountNumber = kForm69Lines.options.depositAccount,
        .directDepositBox = kForm69Lines.options.directDeposit,
        .licence = kForm69Lines.licence,
    };
    // A missing information form gives empty values and unmarked boxes: the
    // record is written without those lines.
    outputAuthHeaderRecord(georgiaReturn->getFormUVPtr(kGAForm69ID, 1, false), kGAForm69ID, fields,
                           static_cast<long>(georgiaReturn->getIN(kGAForm72ID, 1, form72.refund)),
                           stateReturn->getFilingStatusNumber() == FilingStatus::kJoint);
}

// ------------------------------------------------------------ 8453

void GATifFileWriter::write8453Record() {
    outputTifSubHead("GAGA8453", 1, false);
    outputRefundCodeLine("00240.000.001");
    const auto& info = kForm69Lines;
    if (georgiaReturn->greaterThanZero(kGAForm72ID, 1, form72.refund) &&
        georgiaReturn->formYes(kGAForm69ID, 1, info.options.directDeposit)) {
        writeRecordLines(kDirectDepositLines, 1);
    } else if (georgiaReturn->greaterThanZero(kGAForm72ID, 1, form72.amountOwed) &&
               georgiaReturn->formYes(kGAForm69ID, 1, info.withdrawal.yes)) {
        writeRecordLines(kWithdrawalLines, 1);
    }
}

}  // namespace GATifWriteMgmt
