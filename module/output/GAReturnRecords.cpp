// The Georgia e-file records that describe the return and its filers: the
// document list groups of the main form, the 1099-G records, the return
// header, the authentication header and the 8453 record.
#include <string>

#include "module/catalogues/Form165FieldIds.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm72FieldIds.h"
#include "module/catalogues/GAForm76FieldIds.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/TaxYearStrings.h"
#include "module/output/GATifFileWriter.h"
#include "platform/util/Utils.h"

namespace GATifWriteMgmt {

namespace {

constexpr const auto& f69 = kGAForm69FieldIds;
constexpr const auto& f72 = kGAForm72FieldIds;
constexpr const auto& f76 = kGAForm76FieldIds;
constexpr const auto& f92 = kForm92FieldIds;
constexpr const auto& f165 = kForm165FieldIds;

// Form 76 lists up to 25 documents in rows of four consecutive fields from
// field 9 (first name, last name, identifying number, relationship).
constexpr int kDocumentRows = 25;
constexpr int kDocumentRowWidth = 4;
static_assert(f76.f108.getNumber() == f76.f9.getNumber() + kDocumentRows * kDocumentRowWidth - 1);

constexpr const char* kDocumentKeys[kDocumentRowWidth] = {"04003.000.%03d", "04004.000.%03d", "04005.000.%03d",
                                                          "04006.000.%03d"};

// ---- 1099-G

enum class Line1099G {
    Field,
    CheckBox,      // "X" when the box is marked
    Recipient,     // "1" for the taxpayer's 1099-G, "2" for the spouse's
    RecipientId,   // the identifying number of that filer (form 69)
    PayerName,     // the payer's name parts joined, when the first is given
    PayerStreet,   // the street with its apartment
    YearWhenHeld,  // the tax year, when field 13 holds a value
    MarkWhenYes,   // "X" when field 20 is answered yes
};

struct Row1099G {
    const char* key;
    Line1099G kind;
    FieldId field = {};
};

// Both state rows are written, whichever of them holds Georgia.
constexpr Row1099G kLines1099G[] = {
    {"00005.000.001", Line1099G::Recipient, f165.f22},   {"00010.000.001", Line1099G::CheckBox, f165.f25},
    {"00020.000.001", Line1099G::Field, f165.f10},       {"00025.000.001", Line1099G::Field, f165.f29},
    {"00040.000.001", Line1099G::Field, f165.f30},       {"00045.000.001", Line1099G::Field, f165.f31},
    {"00050.000.001", Line1099G::Field, f165.f32},       {"00055.000.001", Line1099G::Field, f165.f33},
    {"00085.000.001", Line1099G::Field, f165.f34},       {"00095.000.001", Line1099G::Field, f165.f26},
    {"00100.000.001", Line1099G::RecipientId, f165.f22}, {"00105.000.001", Line1099G::PayerName},
    {"00110.000.001", Line1099G::PayerStreet},           {"00115.000.001", Line1099G::Field, f165.f37},
    {"00120.000.001", Line1099G::Field, f165.f38},       {"00125.000.001", Line1099G::Field, f165.f39},
    {"00155.000.001", Line1099G::Field, f165.f40},       {"00160.000.001", Line1099G::Field, f165.f11},
    {"00165.000.001", Line1099G::Field, f165.f13},       {"00170.000.001", Line1099G::YearWhenHeld, f165.f13},
    {"00175.000.001", Line1099G::Field, f165.f15},       {"00180.000.001", Line1099G::Field, f165.f24555},
    {"00185.000.001", Line1099G::Field, f165.f18},       {"00190.000.001", Line1099G::Field, f165.f19},
    {"00195.000.001", Line1099G::MarkWhenYes, f165.f20}, {"00200.000.001", Line1099G::Field, f165.f53595},
    {"00205.000.001", Line1099G::Field, f165.f12},       {"00215.000.001", Line1099G::Field, f165.f16},
    {"00220.000.001", Line1099G::Field, f165.f17},       {"00225.000.001", Line1099G::Field, f165.f28},
    {"00215.000.002", Line1099G::Field, f165.f144120},   {"00220.000.002", Line1099G::Field, f165.f144118},
    {"00225.000.002", Line1099G::Field, f165.f144119},
};

// The two state rows of a 1099-G: state code and state tax withheld.
struct StateRow1099G {
    FieldId code;
    FieldId withheld;
};
constexpr StateRow1099G kStateRows1099G[] = {{f165.f17, f165.f16}, {f165.f144118, f165.f144120}};

// ---- return header

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
    {"00595.000.001", LineKind::Field, kForm92ID, f92.f712, "", SpouseLines::Joint},
    {"00600.000.001", LineKind::Field, kForm92ID, f92.f734, "", SpouseLines::Joint},
    {"00680.000.001", LineKind::Text, {}, {}, "X", SpouseLines::Separate},
    {"00430.000.001", LineKind::Text, {}, {}, ""},
    {"00455.000.001", LineKind::MixedFieldText, kForm92ID, f92.f1},
    {"00460.000.001", LineKind::MixedFieldText, kForm92ID, f92.f477},
    {"00465.000.001", LineKind::MixedFieldText, kForm92ID, f92.f3},
    {"00470.000.001", LineKind::MixedFieldText, kForm92ID, f92.f5},
    {"00475.000.001", LineKind::Field, kForm92ID, f92.f7},
    {"00480.000.001", LineKind::Field, kForm92ID, f92.f9},
    {"00485.000.001", LineKind::Field, kForm92ID, f92.f557},
    {"00515.000.001", LineKind::Field, kForm92ID, f92.f711},
    {"00516.000.001", LineKind::Field, kForm92ID, f92.f734},
    {"00520.000.001", LineKind::MixedFieldText, kForm92ID, f92.f2, "", SpouseLines::JointOrSeparate},
    {"00525.000.001", LineKind::MixedFieldText, kForm92ID, f92.f478, "", SpouseLines::JointOrSeparate},
    {"00530.000.001", LineKind::MixedFieldText, kForm92ID, f92.f4, "", SpouseLines::JointOrSeparate},
    {"00535.000.001", LineKind::MixedFieldText, kForm92ID, f92.f6, "", SpouseLines::JointOrSeparate},
    {"00540.000.001", LineKind::Field, kForm92ID, f92.f8, "", SpouseLines::JointOrSeparate},
    {"00545.000.001", LineKind::Field, kForm92ID, f92.f10, "", SpouseLines::JointOrSeparate},
    {"00550.000.001", LineKind::Field, kForm92ID, f92.f558},
};

// The address of a filer at home, after the street and its apartment.
constexpr RecordLine kHomeAddressLines[] = {
    {"00635.000.001", LineKind::MixedFieldText, kForm92ID, f92.f22},
    {"00640.000.001", LineKind::Field, kForm92ID, f92.f23},
    {"00645.000.001", LineKind::Field, kForm92ID, f92.f24},
    {"00517.000.001", LineKind::Field, kForm92ID, f92.f671},
};

// The address of a filer abroad (field 545 answered yes), after the street.
constexpr RecordLine kForeignAddressLines[] = {
    {"00660.001.001", LineKind::MixedFieldText, kForm92ID, f92.f22},
    {"00665.002.001", LineKind::MixedFieldText, kForm92ID, f92.f81524},
    {"00670.000.001", LineKind::Field, kForm92ID, f92.f150739},
    {"00675.003.001", LineKind::Field, kForm92ID, f92.f81525},
    {"00517.000.001", LineKind::Field, kForm92ID, f92.f151513},
};

// ---- 8453

// A refund paid into the filers' bank account.
constexpr RecordLine kDirectDepositLines[] = {
    {"00024.000.001", LineKind::Text, {}, {}, "1"},
    {"00200.000.001", LineKind::Field, kGAForm72ID, f72.f22},
    {"00205.000.001", LineKind::Field, kGAForm72ID, f72.f23},
    {"00210.000.001", LineKind::CheckBox, kGAForm72ID, f72.f25, "X"},
    {"00215.000.001", LineKind::CheckBox, kGAForm72ID, f72.f24, "X"},
    {"04000.000.001", LineKind::Field, kGAForm72ID, f72.f16},
    {"04010.000.001", LineKind::Field, kGAForm72ID, f72.f20},
    {"04020.000.001", LineKind::Text, {}, {}, "X"},
};

// A balance due paid by withdrawal from the filers' bank account.
constexpr RecordLine kWithdrawalLines[] = {
    {"00024.000.001", LineKind::Text, {}, {}, "2"},
    {"00250.000.001", LineKind::Field, kGAForm69ID, f69.f187990},
    {"00260.000.001", LineKind::Field, kGAForm69ID, f69.f187989},
    {"04040.000.001", LineKind::CheckBox, kGAForm69ID, f69.f187985, "X"},
    {"04050.000.001", LineKind::CheckBox, kGAForm69ID, f69.f187986, "X"},
    {"04060.000.001", LineKind::Field, kGAForm69ID, f69.f187987},
    {"04070.000.001", LineKind::Field, kGAForm69ID, f69.f187988},
    {"04080.000.001", LineKind::Text, {}, {}, "X"},
};

}  // namespace

// ------------------------------------------------------------ document list

void GATifFileWriter::writeMainFormRepeatLines() {
    int occurrence = 1;
    for (int row = 0; row < kDocumentRows; ++row) {
        const int first = f76.f9.getNumber() + row * kDocumentRowWidth;
        if (!georgiaReturn->hasSigValue(kGAForm76ID, 1, FieldId(first))) {
            continue;
        }
        for (int column = 0; column < kDocumentRowWidth; ++column) {
            outputTifLine(occurrenceKey(kDocumentKeys[column], occurrence), kGAForm76ID, 1, FieldId(first + column),
                          false);
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
        for (const StateRow1099G& row : kStateRows1099G) {
            georgia =
                georgia || (Utils::QVStringUtils::stricmp(federal.formString(kForm165ID, copy, row.code), "GA") == 0 &&
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
                outputTifLine(row.key, kForm165ID, copy, row.field, false);
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
                outputTifLine(row.key, kGAForm69ID, 1, id, false);
                break;
            }
            case Line1099G::PayerName: {
                // The name parts joined by one blank; none without the first.
                std::string name = federal.formString(kForm165ID, copy, f165.f20719);
                if (name.empty()) break;
                for (const FieldId& part : {f165.f20720, f165.f20721, f165.f20722}) {
                    const std::string text = federal.formString(kForm165ID, copy, part);
                    if (!text.empty()) name += " " + text;
                }
                Utils::tifCleanNameString(name);
                outputTifLine(row.key, name, false);
                break;
            }
            case Line1099G::PayerStreet: {
                std::string street = federal.formString(kForm165ID, copy, f165.f35);
                federal.tifAppendAPTtoStreet(street, kForm165ID, copy, f165.f36);
                tifCleanAddressString(street);
                outputTifLine(row.key, street, false);
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
    const DataMgmt::TaxReturn& federal = *federalReturn();
    const std::string street = federal.formString(kForm92ID, 1, f92.f20);
    std::string withApartment = street;
    federal.tifAppendAPTtoStreet(withApartment, kForm92ID, 1, f92.f21);
    if (!federal.formYes(kForm92ID, 1, f92.f545)) {
        outputTifLineMixedCase("00625.000.001", street, false);
        // The apartment follows the street after one separator.
        if (withApartment.size() > street.size()) {
            outputTifLineMixedCase("00630.000.001", withApartment.substr(street.size() + 1), false);
        }
        writeRecordLines(kHomeAddressLines, 1);
    } else {
        outputTifLineMixedCase("00650.001.001", withApartment, false);
        writeRecordLines(kForeignAddressLines, 1);
    }
}

// ------------------------------------------------------------ authentication

void GATifFileWriter::writeAuthHeaderRecord() {
    outputTifSubHead("GAGAAUTHDR", 1, false);
    const StateTifWriteMgmt::AuthHeaderFields fields = {
        .routingNumber = f69.f79,
        .accountNumber = f69.f80,
        .directDepositBox = f69.f77,
        .licence = kForm69Lines.licence,
    };
    // A missing information form gives empty values and unmarked boxes: the
    // record is written without those lines.
    outputAuthHeaderRecord(georgiaReturn->getFormUVPtr(kGAForm69ID, 1, false), kGAForm69ID, fields,
                           static_cast<long>(georgiaReturn->getIN(kGAForm72ID, 1, f72.f20)),
                           stateReturn->getFilingStatusNumber() == FilingStatus::kJoint);
}

// ------------------------------------------------------------ 8453

void GATifFileWriter::write8453Record() {
    outputTifSubHead("GAGA8453", 1, false);
    outputRefundCodeLine("00240.000.001");
    if (georgiaReturn->greaterThanZero(kGAForm72ID, 1, f72.f20) && georgiaReturn->formYes(kGAForm69ID, 1, f69.f77)) {
        writeRecordLines(kDirectDepositLines, 1);
    } else if (georgiaReturn->greaterThanZero(kGAForm72ID, 1, f72.f21) &&
               georgiaReturn->formYes(kGAForm69ID, 1, f69.f187983)) {
        writeRecordLines(kWithdrawalLines, 1);
    }
}

}  // namespace GATifWriteMgmt
