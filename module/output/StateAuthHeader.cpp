// The authentication header record of a state return: how a refund is
// paid, the filers' identity documents, and the preparer's and the device's
// data that the state's e-file system checks before it accepts the return.
#include <ctime>

#include "module/catalogues/Form131Lines.h"
#include "module/catalogues/Form183Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/StateTifFileWriter.h"
#include "platform/Managers.h"
#include "platform/util/Crt.h"
#include "platform/util/Utils.h"

namespace StateTifWriteMgmt {

namespace {

const Form92Lines::AuthenticationLines& auth = kForm92Lines.authentication;

// The keys of one identity document, by the kind of document marked.
struct DocumentKeys {
    const char* number;
    const char* issuingState;
    const char* expirationDate;
    const char* nonExpiring;  // when the document has no expiration date
    const char* issueDate;
};

// [taxpayer, spouse][first kind, second kind]. The spouse's first kind has
// its expiration date under 00065 and "Non-Expiring" under 00064.
constexpr DocumentKeys kDocumentKeys[2][2] = {
    {{"00035.000.001", "00040.000.001", "00045.000.001", "00046.000.001", "00050.000.001"},
     {"00037.000.001", "00042.000.001", "00047.000.001", "00048.000.001", "00052.000.001"}},
    {{"00055.000.001", "00060.000.001", "00065.000.001", "00064.000.001", "00070.000.001"},
     {"00057.000.001", "00062.000.001", "00067.000.001", "00068.000.001", "00072.000.001"}},
};
// Without a document: the third option marked, or none of the options.
constexpr const char* kThirdOptionKeys[2] = {"00033.000.001", "00054.000.001"};
constexpr const char* kNoDocumentKeys[2] = {"00034.000.001", "00053.000.001"};

// A document issued in Minnesota has its issue date written with the day 01.
constexpr const char* kMonthOnlyIssuer = "MN";

// The states whose e-file systems take the office values without leading
// zeros.
constexpr const char* kStatesWithoutLeadingZeros[] = {"AR", "AZ", "CT", "DC", "DE", "GA", "HI", "IA", "IL",
                                                      "KS", "LA", "MD", "MT", "NC", "NJ", "NM", "NY", "OH",
                                                      "OK", "OR", "PA", "SC", "UT", "VA", "VT", "WI", "WV"};

}  // namespace

std::string StateTifFileWriter::getUtcTimestamp() {
    std::tm utc{};
    if (!crt::gmtime(crt::now(), utc)) {
        return {};
    }
    char text[80];
    return std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) > 0 ? std::string(text) : std::string();
}

void StateTifFileWriter::outputAuthHeaderRecord(DataMgmt::TaxFormPtr infoCopy, const FormId& infoForm,
                                                const AuthHeaderFields& fields, long refundAmount, bool spouseWanted) {
    // How the refund is paid: none, into the bank account given, or by check.
    if (refundAmount <= 0) {
        outputTifLine("00009.000.001", std::string("0"), false);
    } else if (formFieldXMarked(infoCopy, fields.directDepositBox)) {
        outputFieldLine("00006.000.001", infoForm, 1, fields.routingNumber, false);
        outputFieldLine("00007.000.001", infoForm, 1, fields.accountNumber, false);
        outputTifLine("00008.000.001", getUtcTimestamp(), false);
        outputTifLine("00011.000.001", std::string("2"), false);
    } else {
        outputTifLine("00009.000.001", std::string("3"), false);
    }
    // An individual return, filed by the filers themselves.
    outputTifLine("00005.000.001", std::string("I"), false);
    outputTifLine("00021.000.001", std::string("0"), false);
    outputTifLine("00022.000.001", std::string("0"), false);

    outputIdentityDocument(infoCopy, infoForm, fields.licence.taxpayer, false);
    if (spouseWanted) {
        outputIdentityDocument(infoCopy, infoForm, fields.licence.spouse, true);
    }

    // The filers' personal and signature data of the federal return.
    const DataMgmt::TaxReturn& federal = *federalReturn();
    outputFieldLine("00123.000.001", kForm92ID, 1, auth.line00123, false);
    outputFieldLine("00142.000.001", kForm92ID, 1, kForm92Lines.signatureDate, false);
    outputFieldLine("00120.000.001", kForm92ID, 1, auth.line00120, false);
    outputFieldLine("00124.000.001", kForm92ID, 1, auth.line00124, false);
    outputFieldLine("00143.000.001", kForm92ID, 1, auth.line00143, false);
    outputFieldLine("00147.000.001", kForm92ID, 1, auth.line00147, false);

    // The machine the return is prepared on.
    std::string device;
    SystemMgmt::SystemMgr::getInstance().getIRSDeviceID(device);
    outputTifLine("00115.000.001", device, false);
    outputTifLineMixedCase("00116.000.001", "Desktop", false);
    outputTifLine("00135.000.001", device, false);
    outputTifLineMixedCase("00136.000.001", "Desktop", false);

    outputOfficeValues();
    outputTifLine("00200.000.001",
                  std::string(federal.formYes(kForm92ID, 1, kForm92Lines.authenticationAnswer) ? "1" : "0"), false);
    outputFieldLine("00245.000.001", kForm92ID, 1, auth.line00245, false);
    outputFieldLine("00246.000.001", kForm131ID, 1, kForm131Lines.authenticationValue, false);
    // Two more signature values of form 92, when it holds the first and
    // either its signature answer is no or form 183's is yes.
    if ((federal.formNo(kForm92ID, 1, kForm92Lines.signatureAnswer) ||
         federal.formYes(kForm183ID, 1, kForm183Lines.signatureAnswer)) &&
        federal.hasSigValue(kForm92ID, 1, kForm92Lines.furtherSignature[0])) {
        outputFieldLine("00247.000.001", kForm92ID, 1, kForm92Lines.furtherSignature[0], false);
        outputFieldLine("00248.000.001", kForm92ID, 1, kForm92Lines.furtherSignature[1], false);
    }
    outputTifLine("00250.000.001", std::string("2"), false);
    outputFieldLine("00255.000.001", kForm92ID, 1, auth.line00255, false);
}

void StateTifFileWriter::outputIdentityDocument(const DataMgmt::TaxFormPtr& infoCopy, const FormId& infoForm,
                                                const LicenceLines& document, bool spouse) {
    const int person = spouse ? 1 : 0;
    // The first kind marked wins over the second.
    const DocumentKeys* keys = nullptr;
    if (formFieldXMarked(infoCopy, document.firstIdBox)) {
        keys = &kDocumentKeys[person][0];
    } else if (formFieldXMarked(infoCopy, document.secondIdBox)) {
        keys = &kDocumentKeys[person][1];
    }
    if (keys == nullptr) {
        const bool thirdOption = formFieldXMarked(infoCopy, document.firstOtherAnswer);
        outputTifLine(thirdOption ? kThirdOptionKeys[person] : kNoDocumentKeys[person], std::string("X"), false);
        return;
    }
    outputFieldLine(keys->number, infoForm, 1, document.number, false);
    outputFieldLine(keys->issuingState, infoForm, 1, document.issuingState, false);
    const bool expires =
        document.expirationDate.getNumber() > 0 && !infoCopy.isNull() && infoCopy->nonZero(document.expirationDate);
    if (expires) {
        outputFieldLine(keys->expirationDate, infoForm, 1, document.expirationDate, false);
    } else {
        outputTifLineMixedCase(keys->nonExpiring, "Non-Expiring", false);
    }
    // The issue date in its e-file form, YYYY-MM-DD.
    const LineSource source(*this, infoForm, 1, document.issueDate);
    std::string issued = eFileValue(infoForm, 1, document.issueDate, keys->issueDate);
    if (infoCopy->valueString(document.issuingState) == kMonthOnlyIssuer && issued.size() == 10) {
        issued.replace(8, 2, "01");
    }
    outputTifLine(keys->issueDate, issued, false);
}

void StateTifFileWriter::outputOfficeValues() {
    const auto& office = kForm131Lines;
    std::string first = federalReturn()->formString(kForm131ID, 1, office.officeValue1);
    std::string second = federalReturn()->formString(kForm131ID, 1, office.officeValue2);
    const std::string code = stateCode();
    for (const char* state : kStatesWithoutLeadingZeros) {
        if (code == state) {
            stripLeadingZeros(first);
            stripLeadingZeros(second);
            break;
        }
    }
    outputTifLine("00145.000.001", first, false);
    outputTifLine("00146.000.001", second, false);
}

}  // namespace StateTifWriteMgmt
